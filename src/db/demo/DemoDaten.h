#pragma once

namespace talu {

class Datenbank;

// Fills an empty database with demo content for every form, in one transaction.
void fuelleDemoDaten(const Datenbank& db);

// The parts, by the module that owns the data; called in this order.
void demoDatenBasis(const Datenbank& db);
void demoDatenOrt(const Datenbank& db);
void demoDatenMarkt(const Datenbank& db);

}  // namespace talu
