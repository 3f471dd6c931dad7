// Rows that other programs write or rename with plain SQL (the engine's own
// client, a copy from another server, an administrator's update) are found by
// the place and street searches like rows TALU wrote itself, and the file
// stays valid for every SQLite client.
#include <QProcess>
#include <QtTest>

#include "Fixture.h"
#include "plot/WerteKopieren.h"
#include "db/Schema.h"
#include "lookup/SucheDaten.h"
#include "plot/GrundstueckDaten.h"

using namespace talu;

namespace {

// Runs SQL through the engine's own command-line client, which knows none of
// TALU's functions. Returns its output; a failure fails with its error text.
QString fremd(const test::FrischeDatenbank& fx, const QString& sql, QString* fehler = nullptr) {
    QProcess p;
    if (fx.ziel.backend == Backend::SQLite) {
        p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), fx.ziel.datenbank});
    } else {
        p.start(QStringLiteral("psql"), {"-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", fx.ziel.host, "-p",
                                         QString::number(fx.ziel.port), "-U", "postgres", "-d", fx.ziel.datenbank});
    }
    if (!p.waitForStarted(10000)) {
        if (fehler) *fehler = QStringLiteral("Client startet nicht");
        return {};
    }
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    if (fehler) *fehler = p.exitCode() == 0 && err.isEmpty() ? QString() : err + " (exit " + QString::number(p.exitCode()) + ")";
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

#define FREMD(fx, sql)                                       \
    do {                                                     \
        QString fehler_;                                     \
        fremd(fx, sql, &fehler_);                            \
        QVERIFY2(fehler_.isEmpty(), qPrintable(fehler_));    \
    } while (0)

QStringList orte(const Recordset& rs) {
    QStringList l;
    Recordset r = rs;
    for (r.moveFirst(); !r.eof(); r.moveNext()) l << r.text("ort");
    return l;
}

QStringList strassen(const Recordset& rs) {
    QStringList l;
    Recordset r = rs;
    for (r.moveFirst(); !r.eof(); r.moveNext()) l << r.text("strassen_name") + " " + r.text("hausnummer");
    return l;
}

// Places and plots as another program writes them: no search column, then renames.
const char* const kFremdeZeilen =
    "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ) values ('Überlingen', '88662', '08435059', 1);\n"
    "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ) values ('Großbottwar', '71723', '08118079', 1);\n"
    "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ) values ('Altdorf', '99998', '09999998', 2);\n"
    "insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, hausnummer_numerisch, loeschen) "
    "values ('08435059', 'Münsterstraße', '1', 1, 'nein'), ('08435059', 'Münsterstraße', '2', 2, 'nein'), "
    "('08435059', 'Seestraße', '5', 5, 'nein'), ('08118079', 'Münsterstraße', '9', 9, 'nein');\n"
    "update ortsnamen set ort = 'Äpfelbach' where gemeindeschluessel = '09999998';\n"
    "update grundstuecke set strassen_name = 'Äußere Seestraße' where strassen_name = 'Seestraße';\n";

}  // namespace

class TestFremdeSchreiber : public QObject {
    Q_OBJECT
private slots:
    void suchenFindenFremdeZeilen_data() { test::backendZeilen(); }
    void suchenFindenFremdeZeilen();
    void eigeneNamenMitFremdenGrossbuchstaben_data() { test::backendZeilen(); }
    void eigeneNamenMitFremdenGrossbuchstaben();
    void dateiBleibtFuerAndereGueltig();
    void aeltereDateiWirdBeimAnmeldenNachgezogen();
    void serverSpalteAelterenSchemasWirdErsetzt();
};

void TestFremdeSchreiber::suchenFindenFremdeZeilen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    FREMD(fx, QString::fromUtf8(kFremdeZeilen));
    const SucheDaten suche(db);
    SucheDaten::Stufe stufe = SucheDaten::Stufe::Keine;

    // Exact name, in any letter case.
    for (const char* t : {"überlingen", "ÜBERLINGEN"}) {
        Recordset rs;
        TALU_DB_OK(rs = suche.sucheOrt(QString::fromUtf8(t), &stufe));
        QCOMPARE(stufe, SucheDaten::Stufe::Genau);
        QCOMPARE(orte(rs), QStringList{QString::fromUtf8("Überlingen")});
    }
    // Beginning and part of a name.
    QCOMPARE(orte(suche.sucheOrt(QString::fromUtf8("GROSSB"), &stufe)), QStringList{});
    QCOMPARE(orte(suche.sucheOrt(QString::fromUtf8("großb"), &stufe)), QStringList{QString::fromUtf8("Großbottwar")});
    QCOMPARE(stufe, SucheDaten::Stufe::Anfang);
    QCOMPARE(orte(suche.sucheOrt(QString::fromUtf8("PFELB"), &stufe)), QStringList{QString::fromUtf8("Äpfelbach")});
    QCOMPARE(stufe, SucheDaten::Stufe::Teil);
    // The renamed place is found under its new name only.
    QCOMPARE(orte(suche.sucheOrt(QStringLiteral("altdorf"), &stufe)), QStringList{});
    QCOMPARE(stufe, SucheDaten::Stufe::Keine);
    QCOMPARE(orte(suche.sucheOrt(QString::fromUtf8("äpfelbach"), &stufe)), QStringList{QString::fromUtf8("Äpfelbach")});

    // The postcode path: the place by its postcode, then its streets.
    Recordset ort;
    TALU_DB_OK(ort = suche.sucheOrt(QStringLiteral("88662"), &stufe));
    QCOMPARE(orte(ort), QStringList{QString::fromUtf8("Überlingen")});
    const QString schluessel = ort.text("gemeindeschluessel");
    QCOMPARE(strassen(suche.sucheStrasse(schluessel, QString::fromUtf8("MÜNSTER"))),
             (QStringList{QString::fromUtf8("Münsterstraße 1"), QString::fromUtf8("Münsterstraße 2")}));
    QCOMPARE(strassen(suche.sucheStrasse(schluessel, QString::fromUtf8("äußere")))
             , QStringList{QString::fromUtf8("Äußere Seestraße 5")});
    QCOMPARE(strassen(suche.sucheStrasse(schluessel, QStringLiteral("seestr"))), QStringList{});
    // A new plot's place by the beginning of its name.
    QCOMPARE(orte(suche.sucheOrtFuerNeuesGrundstueck(QString::fromUtf8("ÜBERL"))), QStringList{QString::fromUtf8("Überlingen")});

    // A rename back by another program after TALU has folded the rows.
    FREMD(fx, QString::fromUtf8("update grundstuecke set strassen_name = 'ÖDE GASSE' where hausnummer = '2';\n"));
    QCOMPARE(strassen(suche.sucheStrasse(schluessel, QString::fromUtf8("öde"))), QStringList{QString::fromUtf8("ÖDE GASSE 2")});
    QCOMPARE(strassen(suche.sucheStrasse(schluessel, QString::fromUtf8("Münster"))),
             QStringList{QString::fromUtf8("Münsterstraße 1")});

    // Copying onto the street reaches the plots another program wrote into it.
    qint64 quelle = 0;
    TALU_DB_OK(quelle = db.einfuegen("grundstuecke", {{"gemeindeschluessel", schluessel},
                                                       {"strassen_name", QString::fromUtf8("Münsterstraße")},
                                                       {"hausnummer", "3"},
                                                       {"richtwert_tatsaechlich", 240.0},
                                                       {"loeschen", "nein"}}));
    FREMD(fx, QString::fromUtf8("insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, loeschen) "
                                "values ('08435059', 'MÜNSTERSTRASSE', '4', 'nein'), "
                                "('08435059', 'Münsterstraße', '7', 'nein');\n"));
    stapel::AnzeigeFunktion still({});
    qint64 kopiert = 0;
    TALU_DB_OK(kopiereWerte(db, quelle, GrundstueckDaten::Bereich::Strasse, still, &kopiert));
    QCOMPARE(kopiert, qint64(3));
    QCOMPARE(db.wert("select count(*) from grundstuecke where gemeindeschluessel = ? and richtwert_tatsaechlich = ?",
                     {schluessel, 240.0})
                 .toInt(),
             3);
}

void TestFremdeSchreiber::eigeneNamenMitFremdenGrossbuchstaben() {
    // Capitals beyond the German ones are folded by TALU before the search;
    // the row must stay found search after search, not be marked again.
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(db.einfuegen("ortsnamen", {{"ort", QString::fromUtf8("École-Łódź")},
                                          {"plzneu", "11111"},
                                          {"gemeindeschluessel", "01111111"},
                                          {"typ", 1}}));
    const SucheDaten suche(db);
    SucheDaten::Stufe stufe;
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(orte(suche.sucheOrt(QString::fromUtf8("ÉCOLE-ŁÓDŹ"), &stufe)), QStringList{QString::fromUtf8("École-Łódź")});
        QCOMPARE(stufe, SucheDaten::Stufe::Genau);
        QCOMPARE(db.wert("select count(*) from ortsnamen where ort_suche is null").toInt(), 0);
    }
}

void TestFremdeSchreiber::dateiBleibtFuerAndereGueltig() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "sqlite", true);
    db.schliessen();
    // The sqlite3 program writes through the triggers with its built-in functions only.
    FREMD(fx, QString::fromUtf8(kFremdeZeilen));
    QCOMPARE(fremd(fx, "pragma integrity_check;"), QStringLiteral("ok"));
    const QString schema = fremd(fx, "select sql from sqlite_master where sql is not null;");
    QVERIFY(schema.contains("create trigger", Qt::CaseInsensitive));
    QVERIFY2(!schema.contains("talu_"), qPrintable(schema));
    // TALU folds the marked rows; the file stays valid, also after a rebuild by the other client.
    QVERIFY(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    SucheDaten::Stufe stufe;
    // The demo's Überlingen and the one the other client added.
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QString::fromUtf8("überlingen"), &stufe)).size(), 2);
    QCOMPARE(db.wert("select count(*) from ortsnamen where ort_suche is null and ort is not null").toInt(), 0);
    db.schliessen();
    QCOMPARE(fremd(fx, "reindex; vacuum; pragma integrity_check;"), QStringLiteral("ok"));
    // The marked rows are found through an index, never by reading the table whole.
    for (const char* sql : {"explain query plan select id, ort from ortsnamen where ort_suche is null and ort is not null;",
                            "explain query plan select id, strassen_name from grundstuecke where strassen_name_suche "
                            "is null and strassen_name is not null;"}) {
        const QString plan = fremd(fx, QString::fromLatin1(sql));
        QVERIFY2(plan.contains("USING INDEX") || plan.contains("USING COVERING INDEX"), qPrintable(plan));
    }
    QVERIFY(fremd(fx, "explain query plan select id, strassen_name from grundstuecke where strassen_name_suche is null "
                      "and strassen_name is not null;")
                .contains("ix_grundstuecke_strassen_name_suche_offen"));
}

void TestFremdeSchreiber::aeltereDateiWirdBeimAnmeldenNachgezogen() {
    // A file of a version without the triggers, whose search columns other
    // programs left stale: the first login installs what keeps them right.
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "sqlite", true);
    db.schliessen();
    FREMD(fx, "drop trigger tr_ortsnamen_ort_suche_neu; drop trigger tr_ortsnamen_ort_suche_geaendert;"
              "drop index ix_ortsnamen_ort_suche_offen;"
              "update ortsnamen set ort_suche = 'veraltet' where ort like '%lingen';"
              "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ) values ('Neudorf', '12399', '09999991', 2);");
    QVERIFY(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    SucheDaten::Stufe stufe;
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QString::fromUtf8("ÜBERLINGEN"), &stufe)), QStringList{QString::fromUtf8("Überlingen")});
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QStringLiteral("neudorf"), &stufe)), QStringList{QStringLiteral("Neudorf")});
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QStringLiteral("veraltet"), &stufe)), QStringList{});
    db.schliessen();
    FREMD(fx, "update ortsnamen set ort = 'Neustadt' where ort = 'Neudorf';");
    QVERIFY(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QStringLiteral("NEUSTADT"), &stufe)), QStringList{QStringLiteral("Neustadt")});
    db.schliessen();
    QCOMPARE(fremd(fx, "pragma integrity_check;"), QStringLiteral("ok"));
}

void TestFremdeSchreiber::serverSpalteAelterenSchemasWirdErsetzt() {
    // A server database of a version whose search column TALU wrote itself:
    // the schema tool turns it into the column the server computes.
    if (test::backends().size() < 2) QSKIP("Kein PostgreSQL-Testserver");
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "postgres", true);
    for (const char* sql : {"drop index ix_ortsnamen_ort", "alter table ortsnamen drop column ort_suche",
                            "alter table ortsnamen add ort_suche varchar(100)",
                            "update ortsnamen set ort_suche = 'veraltet'"})
        TALU_DB_OK(db.ausfuehren(QString::fromLatin1(sql)));
    qint64 n = -1;
    TALU_DB_OK(n = db.erneuereSuchspalten());
    QCOMPARE(n, qint64(0));  // nothing for TALU to write: the server fills the column
    QCOMPARE(db.wert(db.dialekt().generierteSpalteSql(), {"ortsnamen", "ort_suche"}).toInt(), 1);
    SucheDaten::Stufe stufe;
    QCOMPARE(orte(SucheDaten(db).sucheOrt(QString::fromUtf8("ÜBERLINGEN"), &stufe)), QStringList{QString::fromUtf8("Überlingen")});
    // A second run finds nothing to change.
    TALU_DB_OK(n = db.erneuereSuchspalten());
    QCOMPARE(db.wert("select count(*) from pg_indexes where indexname = 'ix_ortsnamen_ort'").toInt(), 1);
}

QTEST_GUILESS_MAIN(TestFremdeSchreiber)
#include "tst_fremdeschreiber.moc"
