#pragma once
#include <QDateTime>
#include <QString>

namespace talu {

class Datenbank;
struct Publics;

// The three kinds of chargeable display.
enum class AbfrageArt { Grundstuecksdaten, Ortsdaten, Marktuebersichten };

QString vorgangText(AbfrageArt art);

// Writes the one priced row of a chargeable display into abfrageprotokoll.
// Only the customer edition (Ausgabe 3) bills; the others write nothing and
// get 0. Returns the new row's id; a failing insert throws DbFehler, so the
// caller can tell the operator that the display was not billed.
// preisGutachter is used for plot data only.
qint64 SchreibeAbfrageProtokoll(const Datenbank& db, const Publics& p, AbfrageArt art,
                                const QString& objekt, double preis, double preisGutachter = 0,
                                const QDateTime& zeitpunkt = QDateTime::currentDateTime());

}  // namespace talu
