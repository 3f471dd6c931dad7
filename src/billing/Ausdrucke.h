#pragma once
#include "billing/Bediener.h"
#include <QDate>
#include <QString>

namespace talu {
class Datenbank;
}
namespace talu::druck {
class Druckziel;
}

namespace talu::abrechnung {


struct AusdruckErgebnis {
    bool leer = false;       // nothing to print: the message said so
    bool ausgegeben = false; // printed or written
    bool gedruckt = false;
    QString pdfPfad;
    int zeilen = 0;          // rows listed
    bool gefragt = false;
    int geschlossen = 0;     // rows closed on Yes (appraiser print-out)
    QString fehler;
};

// "Offene Rechnungen drucken": the list of open invoices and their sum.
AusdruckErgebnis druckeRechnungsliste(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener,
                                      const QDate& heute = QDate::currentDate());

// "Gutachter-Kontroll-Ausdruck": the open appraiser shares with their total
// and the subtotals by state; then the question whether exactly the rows
// listed are settled.
AusdruckErgebnis gutachterKontrollAusdruck(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener,
                                           const QDate& heute = QDate::currentDate());

// "Mahnende Rechnungen drucken" has no function yet and says so.
void mahnendeRechnungenDrucken(Bediener& bediener);
QString nochNichtRealisiertText();

}  // namespace talu::abrechnung
