// A SQLite database written by TALU stays a plain file that every SQLite
// client can check, rebuild and write, and the name searches still find
// umlauts by their index afterwards.
#include <sqlite3.h>

#include <QtTest>

#include "Fixture.h"
#include "TestHilfe.h"
#include "db/demo/DemoDaten.h"
#include "db/Schema.h"
#include "lookup/SucheDaten.h"

using namespace talu;


class TestSqliteDatei : public QObject {
    Q_OBJECT
private slots:
    void demoDateiIstGueltig();
    void sucheNachFremdemReindex();
    void fremdGeschriebeneZeilenOhneReparatur();
};

void TestSqliteDatei::demoDateiIstGueltig() {
    QTemporaryDir dir;
    Datenbank db;
    Verbindungsziel z;
    z.datenbank = dir.filePath("demo.talu");
    z.anlegen = true;
    QString fehler;
    QVERIFY2(db.oeffnen(z, {}, {}, &fehler), qPrintable(fehler));
    TALU_DB_OK(legeSchemaAn(db));
    TALU_DB_OK(fuelleDemoDaten(db));
    db.schliessen();
    QCOMPARE(test::fremderClient(z.datenbank, "pragma integrity_check"), QStringList{"ok"});
    // The schema names no function that only TALU knows; indexes hold plain columns.
    const QStringList sql = test::fremderClient(z.datenbank, "select sql from sqlite_master where sql is not null");
    QVERIFY(!sql.isEmpty());
    for (const QString& s : sql) {
        QVERIFY2(!s.contains("talu_"), qPrintable(s));
        if (s.startsWith("create index", Qt::CaseInsensitive)) QVERIFY2(!s.contains("lower("), qPrintable(s));
    }
}

void TestSqliteDatei::sucheNachFremdemReindex() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "sqlite", true);
    db.schliessen();
    QCOMPARE(test::fremderClient(fx.ziel.datenbank, "reindex; vacuum; pragma integrity_check"), QStringList{"ok"});
    QVERIFY(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    SucheDaten suche(db);
    SucheDaten::Stufe stufe = SucheDaten::Stufe::Keine;
    Recordset rs;
    TALU_DB_OK(rs = suche.sucheOrt(QString::fromUtf8("überlingen"), &stufe));
    QCOMPARE(stufe, SucheDaten::Stufe::Genau);
    QCOMPARE(rs.anzahl(), 1);
    QCOMPARE(rs.text("ort"), QString::fromUtf8("Überlingen"));
    TALU_DB_OK(rs = suche.sucheOrt(QString::fromUtf8("ÜBERL"), &stufe));
    QCOMPARE(stufe, SucheDaten::Stufe::Anfang);
    QCOMPARE(rs.text("ort"), QString::fromUtf8("Überlingen"));
    // The exact stage reads the index, not the whole table.
    sqlite3* h = nullptr;
    QCOMPARE(sqlite3_open_v2(fx.ziel.datenbank.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(h, "explain query plan select * from ortsnamen where ort_suche = ?1 and typ < 3",
                                -1, &st, nullptr),
             SQLITE_OK);
    QString detail;
    while (sqlite3_step(st) == SQLITE_ROW) detail += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
    sqlite3_finalize(st);
    sqlite3_close(h);
    QVERIFY2(detail.contains("USING INDEX ix_ortsnamen_ort"), qPrintable(detail));
}

void TestSqliteDatei::fremdGeschriebeneZeilenOhneReparatur() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "sqlite", true);
    db.schliessen();
    // Another client adds a place; it does not know the search column.
    QVERIFY(test::fremderClient(fx.ziel.datenbank,
                          "insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ) "
                          "values ('Ödland', '99999', '09999999', 2)")
                .isEmpty());
    QVERIFY(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    SucheDaten suche(db);
    SucheDaten::Stufe stufe;
    Recordset rs;
    TALU_DB_OK(rs = suche.sucheOrt(QString::fromUtf8("ÖDLAND"), &stufe));
    QCOMPARE(stufe, SucheDaten::Stufe::Genau);
    QCOMPARE(rs.anzahl(), 1);
    // The repair of the schema tool recomputes every row and changes nothing found.
    TALU_DB_OK(db.erneuereSuchspalten());
    TALU_DB_OK(rs = suche.sucheOrt(QString::fromUtf8("ödland"), &stufe));
    QCOMPARE(stufe, SucheDaten::Stufe::Genau);
    QCOMPARE(rs.anzahl(), 1);
    db.schliessen();
    QCOMPARE(test::fremderClient(fx.ziel.datenbank, "pragma integrity_check"), QStringList{"ok"});
}

QTEST_GUILESS_MAIN(TestSqliteDatei)
#include "tst_sqlitedatei.moc"
