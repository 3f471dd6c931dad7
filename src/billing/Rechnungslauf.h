#pragma once
#include "billing/Bediener.h"
#include <QDate>
#include <QList>
#include <QString>

namespace talu {
class Datenbank;
}
namespace talu::druck {
class Druckziel;
}

namespace talu::abrechnung {


// One invoice that a run completed: printed or written, stored, its log
// rows numbered.
struct ErstellteRechnung {
    qint64 nummer = 0;
    QString kunde;
    int posten = 0;
    double netto = 0;
    bool gedruckt = false;
    QString pdfPfad;  // the PDF it went to, or its archive copy
    bool erneut = false;  // stored by an earlier run, its rows still open: put out again under its number
};

struct LaufErgebnis {
    bool keineOffenen = false;  // no open log row: nothing printed, nothing asked
    int gelesen = 0;            // open log rows read
    QList<ErstellteRechnung> rechnungen;
    bool abgebrochen = false;   // a failure or the operator stopped the run
    bool belegt = false;        // another run was going: nothing read, nothing written
    QString fehler;
    bool gefragt = false;       // the closing question was asked
    int geschlossen = 0;        // log rows closed on Yes
};

// The invoice run: one invoice per invoice customer with open log rows,
// printed twice, stored in rechnungen and linked to the rows it bills; then
// the question whether the rows read are to be closed.
//
// A charge is billed once, whatever was interrupted, answered or started
// twice:
// - One run at a time (Laufsperre); a second one is refused with a message.
// - Each new invoice is one transaction: its number, its row and the numbers
//   in its log rows (every row it read, the passed-over ones included) are
//   committed together, and only rows that are on no stored invoice get one.
// - A stored invoice whose rows are still open (the run was interrupted, or
//   the closing question answered No) is put out again under its own number
//   and date by the next run; only rows without a number are billed anew.
//   So an open invoice always has exactly its rows, and the open-invoice
//   list never shows a charge twice.
// - Documents are put out only for what is committed: a file is written
//   under a temporary name and takes its own name after the commit; paper is
//   printed after the commit. Provisional files of an interrupted run are
//   cleared when the next run starts.
class Rechnungslauf {
public:
    Rechnungslauf(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener);

    // Where invoices put out on paper are kept as PDF, one per number. A
    // target that writes PDF files is its own archive.
    void setzeArchiv(druck::Druckziel* archiv) { m_archiv = archiv; }
    // The day of the run (invoice date, payment term, year of the first number).
    void setzeHeute(const QDate& heute) { m_heute = heute; }

    LaufErgebnis fuehreAus();

    static QString frageGedruckt();  // the closing question after printing
    static QString keineOffenenText();
    static QString zurueckgesetztText();

private:
    class Schritte;

    const Datenbank& m_db;
    druck::Druckziel& m_ziel;
    Bediener& m_bediener;
    druck::Druckziel* m_archiv = nullptr;
    QDate m_heute = QDate::currentDate();
};

// "2026001 bis 2026003, 2026007": the numbers, consecutive ones as ranges.
QString nummernListe(const QList<qint64>& nummern);

}  // namespace talu::abrechnung
