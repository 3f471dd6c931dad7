#pragma once
#include <QDateTime>
#include <QString>

#include "kit/Dialoge.h"

namespace talu {

class Datenbank;
class DbFehler;
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

// The one policy of all three writers when their row cannot be written: the
// operator is told, and the chargeable data is not shown, so nothing leaves
// the program unbilled. This is the message; fehler is the server's account.
Meldung nichtProtokolliert(AbfrageArt art, const QString& fehler);
Meldung nichtProtokolliert(AbfrageArt art, const DbFehler& e);

}  // namespace talu
