#pragma once
#include <QString>

#include "db/Recordset.h"

namespace talu {

class Datenbank;

// Statements of the plot form that touch grundstuecke.
class GrundstueckDaten {
public:
    explicit GrundstueckDaten(const Datenbank& db) : m_db(db) {}

    // The kept plot with exactly this house number in the street; the
    // neighbour that the navigation steps to. The lowest id comes first.
    Recordset nachHausnummer(const QString& gemeindeschluessel, const QString& strasse,
                             const QString& hausnummer) const;
    // Its statement; values: key, street, house number, "nein".
    static QString nachbarSql();

private:
    const Datenbank& m_db;
};

// The leading number of a house number as a decimal reading that stops at the
// first character that cannot continue a number: "12a" is 12, "7-9" is 7,
// "a1" is 0. Blanks are skipped.
double fuehrendeZahl(const QString& text);

// The house number one step forward (+1) or back (-1): "12a" -> "13", "1" -> "0".
QString nachbarHausnummer(const QString& hausnummer, int schritt);

}  // namespace talu
