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

// The open log rows as the invoice run reads them: consecutive rows of one
// database user, matched to their invoice customer by the database's own
// comparison (so the items of a customer end where the look-up says).
struct ProtokollGruppe {
    qint64 kundeId = 0;  // 0: the user is no invoice customer
    QString dbBenutzer;
    QList<qint64> ids;   // in the order of the log
};
// Reads every row with offen = 'ja' ordered by db_benutzer and id; only ids
// are kept, so that a large log costs a few bytes per row.
QList<ProtokollGruppe> leseOffeneGruppen(const Datenbank& db);

Kunde ladeKunde(const Datenbank& db, qint64 kundeId);
// The rows with these ids that are still open, in the order of ids.
QList<Posten> ladePosten(const Datenbank& db, const QList<qint64>& ids);

// Inside the caller's transaction: locks the invoice table against other
// runs, hands out the next number (the year × 1000 + 1 on an empty table,
// otherwise the highest number + 1, also in a new year) and stores the
// complete invoice row. The unique index on rechnungsnummer refuses a
// number twice should anyone write without the lock.
qint64 legeRechnungAn(const Datenbank& db, const QDate& heute, const QString& kundenName, double netto);
qint64 naechsteRechnungsnummer(const Datenbank& db, const QDate& heute);
// Writes the invoice number into these log rows.
void nummeriere(const Datenbank& db, qint64 nummer, const QList<qint64>& ids);

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
