// Street search and plot display on a full-size plot table: generates plots
// (default 500,000) in 2,000 municipalities of a temporary SQLite database
// (or a PostgreSQL database when TALU_BENCH_PG=host:port names a server),
// prints the query plan of every plot statement of the lookup road and the
// time per street search, neighbour step and plot display.
// Goal: each well under 50 ms; no statement reads grundstuecke whole.
// Usage: bench_strassensuche [plots] [searches]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include "db/Datenbank.h"
#include "db/Schema.h"
#include "lookup/SucheDaten.h"
#include "plot/GrundstueckDaten.h"

using namespace talu;

namespace {
QTextStream out(stdout);

const char* const kStrassen[] = {"Hauptstraße", "Bahnhofstraße", "Schulstraße", "Gartenstraße", "Dorfstraße",
                                 "Bergstraße", "Lindenstraße", "Kirchstraße", "Am Königsplatz", "Überweg",
                                 "Mühlenweg", "Waldstraße", "Ringstraße", "Goethestraße", "Schillerstraße",
                                 "Friedhofstraße", "Birkenweg", "Wiesenstraße", "Mainzer Landstraße", "Zeil"};
constexpr int kGemeinden = 2000;

QString schluessel(int g) { return QString("%1").arg(1000000 + g, 8, 10, QChar('0')); }

bool fuelle(const Datenbank& db, int plots) {
    // The folded search columns are written with the names, as the data layer
    // does where the database does not compute them itself.
    const bool falten = !db.dialekt().fuelltSuchspalten();
    QSqlQuery ort(db.qt());
    ort.prepare(falten ? "insert into ortsnamen (ort, ort_suche, plzneu, gemeindeschluessel, typ, preis) "
                         "values (?, ?, ?, ?, 1, 12.5)"
                       : "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ, preis) values (?, ?, ?, 1, 12.5)");
    QSqlQuery q(db.qt());
    q.prepare(QString("insert into grundstuecke (gemeindeschluessel, ortsteil, strassen_name, %1hausnummer, "
                      "hausnummer_numerisch, richtwert_tatsaechlich, bauliche_nutzung, loeschen) "
                      "values (?, ?, ?, %2?, ?, ?, ?, ?)")
                  .arg(falten ? "strassen_name_suche, " : "", falten ? "?, " : ""));
    const int jeGemeinde = qMax(1, plots / kGemeinden);
    int n = 0;
    for (int g = 0; g < kGemeinden && n < plots; ++g) {
        Transaktion t(db);
        ort.addBindValue(QString("Ort %1").arg(g));
        if (falten) ort.addBindValue(Dialekt::falte(QString("Ort %1").arg(g)));
        ort.addBindValue(QString::number(10000 + g));
        ort.addBindValue(schluessel(g));
        if (!ort.exec()) return false;
        for (int i = 0; i < jeGemeinde && n < plots; ++i, ++n) {
            const int strasse = i % 20;
            const int nr = i / 20 + 1;
            q.addBindValue(schluessel(g));
            q.addBindValue(g % 3 ? QVariant(QString("Teil %1").arg(strasse % 4)) : QVariant());
            q.addBindValue(QString::fromUtf8(kStrassen[strasse]));
            if (falten) q.addBindValue(Dialekt::falte(QString::fromUtf8(kStrassen[strasse])));
            q.addBindValue(QString::number(nr));
            q.addBindValue(nr);
            q.addBindValue(100.0 + (n % 500));
            q.addBindValue("wa");
            q.addBindValue(n % 13 == 6 ? "ja" : "nein");
            if (!q.exec()) {
                out << q.lastError().text() << "\n";
                return false;
            }
        }
        t.bestaetige();
    }
    return true;
}

QString mitWerten(QString sql, const QStringList& werte) {
    for (const QString& w : werte) sql.replace(sql.indexOf('?'), 1, "'" + w + "'");
    return sql;
}

void plan(const Datenbank& db, const QString& name, const QString& sql) {
    const bool pg = db.backend() == Backend::PostgreSQL;
    const Recordset rs = db.abfrage((pg ? "explain " : "explain query plan ") + sql);
    out << "  " << name << ":\n";
    for (const QSqlRecord& r : rs.zeilen()) out << "    " << r.value(pg ? 0 : 3).toString() << "\n";
}

template <class F>
double messe(int runden, F f) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < runden; ++i) f(i);
    return t.nsecsElapsed() / 1e6 / runden;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int plots = argc > 1 ? QString(argv[1]).toInt() : 500000;
    const int runden = argc > 2 ? QString(argv[2]).toInt() : 200;

    QTemporaryDir dir;
    Datenbank db;
    Verbindungsziel z;
    QString fehler;
    const QString pg = qEnvironmentVariable("TALU_BENCH_PG");
    const QString pgName = QString("talu_bench_%1").arg(QCoreApplication::applicationPid());
    if (pg.isEmpty()) {
        z.backend = Backend::SQLite;
        z.datenbank = dir.filePath("bench.talu");
        z.anlegen = true;
        if (!db.oeffnen(z, {}, {}, &fehler)) return out << fehler << "\n", 1;
    } else {
        Datenbank verwaltung;
        if (!verwaltung.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, "postgres", {}), "postgres", {}, &fehler))
            return out << fehler << "\n", 1;
        verwaltung.ausfuehren("create database " + pgName + " template template0 encoding 'UTF8' "
                              "lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'");
        if (!db.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, pgName, {}), "postgres", {}, &fehler))
            return out << fehler << "\n", 1;
    }
    out << "Backend: " << backendName(db.backend()) << ", Grundstücke: " << plots << "\n";
    try {
        QElapsedTimer t;
        t.start();
        legeSchemaAn(db);
        if (!fuelle(db, plots)) return 1;
        // Fresh statistics, as a maintained database has them.
        db.ausfuehren("analyze");
        out << "Erzeugt in " << t.elapsed() / 1000.0 << " s\n";

        out << "Abfragepläne:\n";
        plan(db, "Strassensuche", mitWerten(SucheDaten::strassenSql(db.dialekt()), {schluessel(7), "am k%", "nein"}));
        plan(db, "Nachbar", mitWerten(GrundstueckDaten::nachbarSql(), {schluessel(7), "Hauptstraße", "3", "nein"}));
        plan(db, "Anzeige", "select * from grundstuecke where id = 4711");

        const SucheDaten suche(db);
        const GrundstueckDaten daten(db);
        auto* zufall = QRandomGenerator::global();
        int gefunden = 0;
        const double msSuche = messe(runden, [&](int i) {
            const Recordset rs = suche.sucheStrasse(schluessel(int(zufall->bounded(kGemeinden))),
                                                    i % 2 ? QStringLiteral("AM KÖ") : QStringLiteral("haupt"));
            gefunden += rs.anzahl();
        });
        const double msNachbar = messe(runden, [&](int) {
            daten.nachHausnummer(schluessel(int(zufall->bounded(kGemeinden))), QString::fromUtf8("Schulstraße"),
                                 QString::number(zufall->bounded(1, 12)));
        });
        const double msAnzeige = messe(runden, [&](int) { suche.grundstueckNachId(zufall->bounded(1, plots)); });
        out << "Strassensuche: " << msSuche << " ms je Suche (" << double(gefunden) / runden << " Treffer im Mittel)\n";
        out << "Nachbar:       " << msNachbar << " ms je Schritt\n";
        out << "Anzeige:       " << msAnzeige << " ms je Grundstück\n";
    } catch (const DbFehler& e) {
        out << e.kurz() << ": " << e.serverText() << "\n" << e.sql() << "\n";
        return 1;
    }
    if (!pg.isEmpty()) {
        db.schliessen();
        Datenbank verwaltung;
        verwaltung.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, "postgres", {}), "postgres", {}, &fehler);
        verwaltung.ausfuehren("drop database if exists " + pgName + " with (force)");
    }
    return 0;
}
