#pragma once
// Small helpers the tests share: counts, the query-log rows and invoices
// written straight into the tables. No widgets, so core-only tests use it too.
#include <QDate>
#include <QString>
#include <QVariantList>
#include <sqlite3.h>

#include "db/Datenbank.h"
#include "kit/modPublics.h"

namespace talu::test {

// Runs statements through the plain SQLite library, as the sqlite3 shell or a
// backup tool would: none of the program's functions are known there. Every
// row's first column; a failure as a line beginning "error: " or "open failed".
inline QStringList fremderClient(const QString& pfad, const QString& sql, bool nurLesen = false) {
    sqlite3* h = nullptr;
    QStringList zeilen;
    if (sqlite3_open_v2(pfad.toUtf8().constData(), &h, nurLesen ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        zeilen << QStringLiteral("open failed");
        sqlite3_close(h);
        return zeilen;
    }
    const QByteArray text = sql.toUtf8();
    const char* rest = text.constData();
    while (rest && *rest) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(h, rest, -1, &st, &rest) != SQLITE_OK) {
            zeilen << QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(h));
            break;
        }
        if (!st) continue;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            zeilen << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (rc != SQLITE_DONE) zeilen << QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(h));
        sqlite3_finalize(st);
    }
    sqlite3_close(h);
    return zeilen;
}

// The first column of the first row as a number, e.g. a count(*).
inline int anzahl(const Datenbank& db, const QString& sql, const QVariantList& p = {}) {
    return db.wert(sql, p).toInt();
}

// The same on the shared connection of the forms.
inline int zaehle(const QString& sql, const QVariantList& p = {}) { return anzahl(publics().Verbindung, sql, p); }

// Rows in the query log, of one kind of display (vorgang) or of every kind.
inline int protokollZeilen(const Datenbank& db, const QString& vorgang = {}) {
    return vorgang.isEmpty() ? anzahl(db, QStringLiteral("select count(*) from abfrageprotokoll"))
                             : anzahl(db, QStringLiteral("select count(*) from abfrageprotokoll where vorgang = ?"),
                                      {vorgang});
}
inline int protokollZeilen(const QString& vorgang = {}) { return protokollZeilen(publics().Verbindung, vorgang); }

// An invoice row with 16 % tax, due after 14 days.
inline void rechnung(const Datenbank& db, qint64 nr, const QDate& datum, const QString& kunde, double netto,
                     const QString& offen = QStringLiteral("ja")) {
    db.einfuegen("rechnungen", {{"rechnungsnummer", nr},
                                {"rechnungsdatum", datum},
                                {"kundenname", kunde},
                                {"nettobetrag", netto},
                                {"steuer", netto * 0.16},
                                {"bruttobetrag", netto * 1.16},
                                {"offen", offen},
                                {"zahlungsziel", datum.addDays(14)}});
}
// An invoice of 10 EUR to the demo customer of 27 February 2026.
inline void rechnung(const Datenbank& db, qint64 nr, const QString& offen) {
    rechnung(db, nr, QDate(2026, 2, 27), QStringLiteral("Müller Immobilien GmbH"), 10.0, offen);
}

}  // namespace talu::test
