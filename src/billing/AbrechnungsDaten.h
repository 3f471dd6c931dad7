#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

#include "billing/RechnungsLayout.h"

namespace talu {
class Datenbank;
}

namespace talu::abrechnung {

// The statements of billing over abfrageprotokoll, rechnungen and
// rechnungs_kunden. Every value is bound; failures throw DbFehler.

// The log's yes/no flags ("ja"/"nein") compared without regard to case, as
// SQL Server compares them: "Ja" or "JA" written by another program counts as
// "ja" on every backend. The four spellings are named, so that the index on
// the flag stays usable.
QString istJa(const QString& spalte);

// One open log row as the invoice run reads it.
struct OffeneZeile {
    qint64 id = 0;
    bool bepreist = false;      // preis neither 0 nor Null
    qint64 rechnung = 0;        // the invoice it is on; 0: no number, or no such invoice
    bool rechnungOffen = false; // that invoice is still open: it is printed again
};

// The open log rows of one invoice customer (or of one user who is none),
// consecutive in the log's order. A log user matches its customer by a
// comparison that ignores letter case, umlauts included, on every backend;
// the same comparison orders the log, so that all rows of a customer follow
// each other whichever case each was logged in. A user with two customer
// rows takes the first.
struct ProtokollGruppe {
    qint64 kundeId = 0;  // 0: the user is no invoice customer
    QString dbBenutzer;
    QList<OffeneZeile> zeilen;  // in the order of the log
};
// Reads every open row; a large log costs a few bytes per row.
QList<ProtokollGruppe> leseOffeneGruppen(const Datenbank& db);

Kunde ladeKunde(const Datenbank& db, qint64 kundeId);
// The rows with these ids that are still open, in the order of ids, priced
// or not.
QList<Posten> ladePosten(const Datenbank& db, const QList<qint64>& ids);

// A stored invoice row.
struct GespeicherteRechnung {
    qint64 nummer = 0;
    QDate datum, zahlungsziel;
    QString kundenName;
    double netto = 0;
    bool offen = false;
    bool gefunden = false;
};
GespeicherteRechnung ladeRechnung(const Datenbank& db, qint64 nummer);

// Inside the caller's transaction: locks the invoice table against other
// writers, hands out the next number (the year × 1000 + 1 on an empty table,
// otherwise the highest number + 1, also in a new year) and stores the
// complete invoice row. The unique index on rechnungsnummer refuses a
// number twice should anyone write without the lock.
qint64 legeRechnungAn(const Datenbank& db, const QDate& heute, const QString& kundenName, double netto);
qint64 naechsteRechnungsnummer(const Datenbank& db, const QDate& heute);
// Writes the invoice number into those of these log rows that are still
// open and on no stored invoice; returns how many it wrote. Fewer than asked
// means that someone else billed or closed rows meanwhile.
int nummeriere(const Datenbank& db, qint64 nummer, const QList<qint64>& ids);

// Sets the flag column ("offen" or "offen_gutachter") to 'nein' in exactly
// these rows, where it is still 'ja'; one transaction. Returns the rows changed.
int schliesseZeilen(const Datenbank& db, const QString& flagSpalte, const QList<qint64>& ids);

// Rows of rechnungen with offen = 'ja', by number.
QList<OffeneRechnung> leseOffeneRechnungen(const Datenbank& db);
// Log rows with offen_gutachter = 'ja' by municipality key (then id).
QList<GutachterAnteil> leseGutachterAnteile(const Datenbank& db);

// Runs f on consecutive pieces of ids, small enough for every server's
// limit on bound values.
void inBloecken(const QList<qint64>& ids, const std::function<void(const QList<qint64>&)>& f);
// "?, ?, ?" for n values.
QString platzhalter(int n);

}  // namespace talu::abrechnung
