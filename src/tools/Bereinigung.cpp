#include "tools/Bereinigung.h"

#include <QSqlRecord>

#include "db/Datenbank.h"
#include "plot/GrundstueckDaten.h"

namespace talu::pflege {

QString bereinigungFertigText() { return QStringLiteral("Fertig!"); }
QString hausnummernFertigText() { return QStringLiteral("Fertig"); }

void AusgefuelltAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    k.melde(0, 1, titel());
    // "Trimming blanks" removes spaces only: a remark of tabs counts as filled.
    // Null > 0 is not true, so a Null value counts as empty. Only rows whose flag
    // changes are written; the result is that of writing every row.
    const QString gefuellt =
        "case when richtwert_minimal > 0 or richtwert_durchschnitt > 0 or richtwert_tatsaechlich > 0 or "
        "richtwert_maximal > 0 or replace(bemerkung, ' ', '') <> '' then 'j' else 'n' end";
    db.ausfuehren("update grundstuecke set ausgefuellt = " + gefuellt + " where ausgefuellt is null or ausgefuellt <> " +
                  gefuellt);
    k.pruefeAbbruch();
    k.melde(1, 1, titel());
}

QString DoppelteAuftrag::naechsterPraefix() {
    // The keys that begin with the prefix are exactly those in this range (keys
    // compare character by character), and the key's index reads the range.
    QString p = praefix();
    p[p.size() - 1] = QChar(p.at(p.size() - 1).unicode() + 1);
    return p;
}

void DoppelteAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    k.melde(0, 1, titel());
    const QString reihe = QString("over (order by %1, %2, %3, %4, id)")
                              .arg(d.nullZuerst("gemeindeschluessel"), d.nullZuerst("strassen_name"),
                                   d.nullZuerst("hausnummer"), d.nullZuerst("ausgefuellt"));
    auto gleich = [&](const char* spalte) {
        return QString("%1 = lag(%1) %2").arg(QLatin1String(spalte), reihe);
    };
    db.ausfuehren("update grundstuecke set loeschen = case when v.doppelt = 1 then ? else ? end from "
                  "(select id, row_number() " + reihe + " as nr, case when " + gleich("gemeindeschluessel") +
                      " and " + gleich("strassen_name") + " and " + gleich("hausnummer") + " and " +
                      gleich("ortsteil") +
                      " then 1 else 0 end as doppelt from grundstuecke where gemeindeschluessel >= ? and "
                      "gemeindeschluessel < ?) v where grundstuecke.id = v.id and v.nr > 1",
                  {QStringLiteral("ja"), QStringLiteral("nein"), praefix(), naechsterPraefix()});
    k.pruefeAbbruch();
    k.melde(1, 1, titel());
}

QString DupesAuftrag::text(qint64 schluessel, qint64 geloescht) {
    auto zahl = [](qint64 n) { return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n); };
    return zahl(schluessel) + " / " + zahl(geloescht);
}

void DupesAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    // Each row beside the key of the row before it, in the order the rows are walked.
    const QString nachbarn = "select id, gemeindeschluessel, lag(gemeindeschluessel) over (order by " +
                             d.nullZuerst("ortsdaten_p_id") + ", id) as vorher from ortsdaten";
    // The counters follow from the rows deleted: every deleted row with a key
    // was counted, every other row with a key began a run of its key.
    const Recordset vorher = db.abfrage(
        QStringLiteral("select count(*) - count(gemeindeschluessel), count(gemeindeschluessel) from ortsdaten"));
    const qint64 ohneSchluessel = vorher.zeilen().value(0).value(0).toLongLong();
    const qint64 mitSchluessel = vorher.zeilen().value(0).value(1).toLongLong();
    k.melde(0, 1, text(0, 0));
    // One set, chosen before the first row goes: SQLite deletes while it scans,
    // and a neighbour that went first must not change what follows.
    const qint64 weg = db.ausfuehren("delete from ortsdaten where id in (select id from (" + nachbarn +
                                     ") n where gemeindeschluessel is null or gemeindeschluessel = vorher)");
    m_geloescht = weg - ohneSchluessel;
    m_schluessel = mitSchluessel - m_geloescht;
    k.pruefeAbbruch();
    k.melde(1, 1, text(m_schluessel, m_geloescht));
}

void HausnummernAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    auto zahl = [](const QVariant& v) -> QVariant { return fuehrendeZahl(v.isNull() ? QString() : v.toString()); };
    if (db.backend() == Backend::SQLite &&
        !registriereSqliteFunktion(db, Dialekt::kHausnummerFunktion, zahl))
        throw DbFehler(QStringLiteral("Die Hausnummern konnten nicht gelesen werden"),
                       QStringLiteral("Die Funktion für die Hausnummern ließ sich nicht anmelden."));
    const QString ausdruck = d.hausnummerZahl(QStringLiteral("hausnummer"));
    k.melde(0, 1, titel());
    if (!ausdruck.isEmpty()) {
        // Only rows whose number changes are written; the result is that of writing every row.
        db.ausfuehren("update grundstuecke set hausnummer_numerisch = " + ausdruck +
                      " where hausnummer_numerisch is null or hausnummer_numerisch <> " + ausdruck);
    } else {
        // A backend without the reading in SQL: row by row through one prepared statement.
        Anweisung a = db.vorbereite(QStringLiteral("update grundstuecke set hausnummer_numerisch = ? where id = ?"));
        qint64 n = 0;
        stapel::seitenweise(db, QStringLiteral("select id, hausnummer, hausnummer_numerisch from grundstuecke"), {},
                            5000, [&](const QSqlRecord& r) {
                                const QVariant neu = zahl(r.value(1));
                                if (r.value(2).isNull() || r.value(2).toDouble() != neu.toDouble())
                                    a.fuehreAus({neu, r.value(0)});
                                if (++n % 5000 == 0) k.pruefeAbbruch();
                                k.melde(n, -1, titel());
                            });
    }
    k.pruefeAbbruch();
    k.melde(1, 1, titel());
}

}  // namespace talu::pflege
