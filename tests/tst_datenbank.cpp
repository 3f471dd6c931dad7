// The database layer on every backend: binding, ids, Null, case folding,
// LIKE escaping, transactions and error reporting.
#include <QSqlField>
#include <QSqlQuery>
#include <QtTest>

#include "Fixture.h"
#include "TestHilfe.h"
#include "db/Dialekt.h"
#include "db/Schema.h"

using namespace talu;

namespace {
Tabelle probeTabelle() {
    return Tabelle{"t_probe",
                   {{"id", Typ::Id, 0, {}}, {"name", Typ::Text, 60, {}}, {"zahl", Typ::Zahl, 0, {}},
                    {"tag", Typ::Datum, 0, {}}, {"flag", Typ::Text, 1, "'N'"}},
                   {{"ix_t_probe_name", {"name"}}}};
}

void legeProbeAn(const Datenbank& db) {
    for (const QString& a : ddl(probeTabelle(), db.dialekt())) db.ausfuehren(a);
}
}  // namespace

class TestDatenbank : public QObject {
    Q_OBJECT
private slots:
    void serverFeldRegel_data();
    void serverFeldRegel();
    void odbcText();
    void dialektUnterschiede();
    void likeEscape();

    void einfuegenLiefertEigeneId_data() { test::backendZeilen(); }
    void einfuegenLiefertEigeneId();
    void nullBleibtNull_data() { test::backendZeilen(); }
    void nullBleibtNull();
    void grossKleinOhneUnterschied_data() { test::backendZeilen(); }
    void grossKleinOhneUnterschied();
    void eingabeIstDaten_data() { test::backendZeilen(); }
    void eingabeIstDaten();
    void transaktionVerwirft_data() { test::backendZeilen(); }
    void transaktionVerwirft();
    void innereTransaktionVerwirftNurSich_data() { test::backendZeilen(); }
    void innereTransaktionVerwirftNurSich();
    void verschluckterFehlerVerhindertBestaetigen_data() { test::backendZeilen(); }
    void verschluckterFehlerVerhindertBestaetigen();
    void suchspaltenFolgenDemNamen_data() { test::backendZeilen(); }
    void suchspaltenFolgenDemNamen();
    void verloreneVerbindungKommtWieder();
    void fehlerTraegtServertext_data() { test::backendZeilen(); }
    void fehlerTraegtServertext();
    void recordsetNavigation_data() { test::backendZeilen(); }
    void recordsetNavigation();
    void sqliteLesenWieQtsTreiber();
    void begrenzteAbfrage_data() { test::backendZeilen(); }
    void begrenzteAbfrage();

    void anmeldungScheitertLesbar();
};

void TestDatenbank::serverFeldRegel_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("datenbank");
    QTest::addColumn<int>("backend");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<bool>("fehler");
    QTest::newRow("sqlite relativ") << "sqlite" << "demo.talu" << int(Backend::SQLite) << "" << 0 << "/prog/demo.talu" << false;
    QTest::newRow("sqlite absolut") << "SQLite" << "/var/x.db" << int(Backend::SQLite) << "" << 0 << "/var/x.db" << false;
    QTest::newRow("postgres port") << "postgres:db.example:6543" << "talu" << int(Backend::PostgreSQL) << "db.example" << 6543 << "talu" << false;
    QTest::newRow("postgres ohne port") << "postgres:127.0.0.1" << "talu" << int(Backend::PostgreSQL) << "127.0.0.1" << 5432 << "talu" << false;
    QTest::newRow("postgres falscher port") << "postgres:h:abc" << "talu" << int(Backend::PostgreSQL) << "h" << 5432 << "talu" << true;
    QTest::newRow("sql server") << "SQLSRV01" << "wqn" << int(Backend::SQLServer) << "SQLSRV01" << 1433 << "wqn" << false;
    QTest::newRow("sql server port") << "sqlsrv01, 1444" << "wqn" << int(Backend::SQLServer) << "sqlsrv01" << 1444 << "wqn" << false;
    QTest::newRow("odbc dsn") << "odbc:WQN" << "wqn" << int(Backend::SQLServer) << "" << 0 << "wqn" << false;
    QTest::newRow("odbc leer") << "odbc:" << "wqn" << int(Backend::SQLServer) << "" << 0 << "wqn" << true;
}

void TestDatenbank::serverFeldRegel() {
    QFETCH(QString, server);
    QFETCH(QString, datenbank);
    QFETCH(int, backend);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, ziel);
    QFETCH(bool, fehler);
    const Verbindungsziel z = Verbindungsziel::ausEingabe(server, datenbank, "/prog");
    QCOMPARE(int(z.backend), backend);
    QCOMPARE(z.host, host);
    QCOMPARE(z.port, port);
    QCOMPARE(z.datenbank, ziel);
    QCOMPARE(!z.fehler.isEmpty(), fehler);
}

void TestDatenbank::odbcText() {
    const Verbindungsziel z = Verbindungsziel::ausEingabe("sqlsrv01,1444", "wqn", {});
    const QString s = z.odbcVerbindungstext("sa", "ge;heim}");
    QVERIFY(s.startsWith("DRIVER={FreeTDS};SERVER=sqlsrv01;PORT=1444;"));
    QVERIFY(s.contains("DATABASE=wqn;"));
    // A semicolon or brace in the password must not end the value early.
    QVERIFY2(s.contains("PWD={ge;heim}}};"), qPrintable(s));
    const Verbindungsziel d = Verbindungsziel::ausEingabe("odbc:WQN Live", "wqn", {});
    QVERIFY(d.odbcVerbindungstext("u", "p").startsWith("DSN=WQN Live;"));
    QCOMPARE(z.qtTreiber(), QString("QODBC"));
}

void TestDatenbank::dialektUnterschiede() {
    const Dialekt ms(Backend::SQLServer), pg(Backend::PostgreSQL), lite(Backend::SQLite);
    QCOMPARE(ms.begrenze("select * from grundstuecke order by id desc", 1),
             QString("select top 1 * from grundstuecke order by id desc"));
    QCOMPARE(ms.begrenze("SELECT DISTINCT ort from ortsnamen", 5), QString("select distinct top 5 ort from ortsnamen"));
    QCOMPARE(pg.begrenze("select * from t", 1), QString("select * from t limit 1"));
    QCOMPARE(ms.einfuegenMitId("t", {"a", "b"}), QString("insert into t (a, b) output inserted.id values (?, ?)"));
    QCOMPARE(lite.einfuegenMitId("t", {"a"}), QString("insert into t (a) values (?) returning id"));
    QCOMPARE(ms.heute(), QString("cast(getdate() as date)"));
    // SQL Server ignores case by its collation: the bare column keeps its index usable.
    QCOMPARE(ms.gleichOhneFall("name"), QString("name = ?"));
    QCOMPARE(ms.likeOhneFall("name"), QString("name like ? escape '\\'"));
    QCOMPARE(pg.gleichOhneFall("name"), QString("lower(name) = lower(?)"));
    // SQLite folds through its own function; the built-in lower() is left as every client knows it.
    QCOMPARE(lite.gleichOhneFall("name"), QString("talu_klein(name) = talu_klein(?)"));
    QCOMPARE(ms.sicherungspunkt(2), QString("save transaction talu_sp2"));
    QCOMPARE(ms.sicherungspunktZurueck(2), QStringList{"rollback transaction talu_sp2"});
    QVERIFY(ms.sicherungspunktFreigeben(1).isEmpty());
    QCOMPARE(lite.sicherungspunktZurueck(1),
             (QStringList{"rollback to savepoint talu_sp1", "release savepoint talu_sp1"}));
    // No index of any backend is built on a function.
    for (const Dialekt* d : {&ms, &pg, &lite})
        for (const QString& a : ddl(*d))
            if (a.startsWith("create index") || a.startsWith("create unique index"))
                QVERIFY2(!a.contains("lower(") && !a.contains("talu_klein("), qPrintable(a));
    const QStringList msSchema = ddl(ms);
    QVERIFY(msSchema.contains("create index ix_ortsnamen_ort on ortsnamen (ort_suche)"));
    QVERIFY(ddl(pg).contains("create index ix_ortsnamen_ort on ortsnamen (ort_suche varchar_pattern_ops)"));
    const QStringList msDdl = ddl(probeTabelle(), ms);
    QVERIFY(msDdl.first().contains("id int identity(1,1) primary key"));
    QVERIFY(msDdl.first().contains("name nvarchar(60)"));
    QVERIFY(msDdl.first().contains("flag nvarchar(1) default 'N'"));
}

void TestDatenbank::likeEscape() {
    QCOMPARE(Dialekt::escapeLike("50%_a\\b"), QString("50\\%\\_a\\\\b"));
    QCOMPARE(Dialekt::beginntMit("am kö"), QString("am kö%"));
    QCOMPARE(Dialekt::enthaelt("o'h"), QString("%o'h%"));
}

void TestDatenbank::einfuegenLiefertEigeneId() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    qint64 a = 0, b = 0;
    TALU_DB_OK(a = db.einfuegen("t_probe", {{"name", "erste"}}));
    TALU_DB_OK(b = db.einfuegen("t_probe", {{"name", "zweite"}}));
    QVERIFY(a > 0);
    QVERIFY(b != a);
    QCOMPARE(db.wert("select name from t_probe where id = ?", {b}).toString(), QString("zweite"));
    QCOMPARE(db.wert("select flag from t_probe where id = ?", {a}).toString(), QString("N"));
    QCOMPARE(db.aendern("t_probe", a, {{"name", "geändert"}}), 1);
    QCOMPARE(db.wert("select name from t_probe where id = ?", {a}).toString(), QString("geändert"));
}

void TestDatenbank::nullBleibtNull() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", QVariant(QMetaType(QMetaType::QString))}, {"zahl", 0.0}}));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", QString("")}, {"tag", QDate(2002, 9, 20)}}));
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage("select * from t_probe order by id"));
    QCOMPARE(rs.anzahl(), 2);
    QVERIFY(rs.istNull("name"));
    QVERIFY(!rs.istNull("zahl"));
    QCOMPARE(rs.zahl("zahl"), 0.0);
    QVERIFY(rs.istNull("tag"));
    rs.moveNext();
    QVERIFY(!rs.istNull("name"));
    QCOMPARE(rs.text("name"), QString());
    QCOMPARE(rs.datum("tag"), QDate(2002, 9, 20));
    QVERIFY(rs.istNull("zahl"));
    QCOMPARE(rs.zahl("zahl"), 0.0);
}

// Reads on SQLite go past Qt's driver: every value, its type, Null and the
// column heads must be what Qt's own query gives, also after another
// program added a column, and a bound value must compare the same.
void TestDatenbank::sqliteLesenWieQtsTreiber() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, QStringLiteral("sqlite"), false);
    TALU_DB_OK(legeProbeAn(db));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", QString::fromUtf8("Ölmühle \u00e4ß ' %")}, {"zahl", 2.5},
                                        {"tag", QDate(2002, 9, 20)}}));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", QVariant(QMetaType(QMetaType::QString))}, {"zahl", 7.0}}));
    TALU_DB_OK(db.ausfuehren("insert into t_probe (name, zahl) values (?, ?)", {QString(), qlonglong(1) << 40}));
    const QString sql = "select id, name, zahl, tag, flag, zahl * 2 as doppelt, x'00ff' as roh, "
                        "case when name is null then null else length(name) end as laenge "
                        "from t_probe where zahl >= ? or name = ? order by id";
    const QVariantList werte{2.5, QString::fromUtf8("Ölmühle \u00e4ß ' %")};
    auto vergleiche = [&] {
        Recordset rs;
        TALU_DB_OK(rs = db.abfrage(sql, werte));
        QSqlQuery q(db.qt());
        QVERIFY(q.prepare(sql));
        for (int i = 0; i < werte.size(); ++i) q.bindValue(i, werte.at(i));
        QVERIFY(q.exec());
        int n = 0;
        while (q.next()) {
            QVERIFY(n < rs.anzahl());
            const QSqlRecord erwartet = q.record();
            const QSqlRecord ist = rs.zeilen().at(n);
            QCOMPARE(ist.count(), erwartet.count());
            for (int i = 0; i < erwartet.count(); ++i) {
                QCOMPARE(ist.fieldName(i), erwartet.fieldName(i));
                QCOMPARE(ist.value(i).isNull(), erwartet.value(i).isNull());
                QCOMPARE(ist.value(i).typeId(), erwartet.value(i).typeId());
                QCOMPARE(ist.value(i), erwartet.value(i));
                QCOMPARE(ist.field(i).metaType(), erwartet.field(i).metaType());
            }
            ++n;
        }
        QCOMPARE(n, rs.anzahl());
        QCOMPARE(n, 3);
        QCOMPARE(db.wert(sql, werte), rs.zeilen().first().value(0));
    };
    vergleiche();
    const qint64 vorbereitet = db.vorbereitungen();
    vergleiche();
    QCOMPARE(db.vorbereitungen(), vorbereitet);  // the second time from the cache
    // Another program changes the table: the statement sees the new column.
    {
        const QString datei = db.qt().databaseName();
        const QStringList aus = test::fremderClient(datei, "alter table t_probe add column neu text default 'n'");
        QVERIFY2(aus.filter("error").isEmpty(), qPrintable(aus.join('\n')));
    }
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage("select * from t_probe order by id"));
    QVERIFY(rs.hatSpalte("neu"));
    QCOMPARE(rs.text("neu"), QStringLiteral("n"));
    vergleiche();
    // A failed read says what SQLite said.
    try {
        db.abfrage("select nichtda from t_probe");
        QFAIL("no error");
    } catch (const DbFehler& f) {
        QVERIFY2(f.serverText().contains("nichtda"), qPrintable(f.serverText()));
    }
}

void TestDatenbank::grossKleinOhneUnterschied() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    for (const char* n : {"Überlingen", "Mainzer Landstraße", "Am Königsplatz", "Öhringen"})
        TALU_DB_OK(db.einfuegen("t_probe", {{"name", QString::fromUtf8(n)}}));
    const Dialekt& d = db.dialekt();
    auto anzahl = [&](const QString& bedingung, const QString& wert) {
        return db.abfrage("select * from t_probe where " + bedingung, {wert}).anzahl();
    };
    QCOMPARE(anzahl(d.gleichOhneFall("name"), "überlingen"), 1);
    QCOMPARE(anzahl(d.gleichOhneFall("name"), "ÜBERLINGEN"), 1);
    QCOMPARE(anzahl(d.likeOhneFall("name"), Dialekt::beginntMit("Überl")), 1);
    QCOMPARE(anzahl(d.likeOhneFall("name"), Dialekt::beginntMit("MAINZER")), 1);
    QCOMPARE(anzahl(d.likeOhneFall("name"), Dialekt::beginntMit("am kö")), 1);
    QCOMPARE(anzahl(d.likeOhneFall("name"), Dialekt::enthaelt("KÖNIG")), 1);
    QCOMPARE(anzahl(d.gleichOhneFall("name"), "öhringen"), 1);
    QCOMPARE(anzahl(d.gleichOhneFall("name"), "ohringen"), 0);
}

void TestDatenbank::eingabeIstDaten() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    const QStringList namen{"O'Brien", "100% Bio", "a_b", "c:\\pfad", "x'; drop table probe; --"};
    for (const QString& n : namen) TALU_DB_OK(db.einfuegen("t_probe", {{"name", n}}));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", "100 Bio"}}));
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", "axb"}}));
    const Dialekt& d = db.dialekt();
    for (const QString& n : namen) {
        QCOMPARE(db.abfrage("select * from t_probe where " + d.gleichOhneFall("name"), {n}).anzahl(), 1);
        QCOMPARE(db.abfrage("select * from t_probe where " + d.likeOhneFall("name"), {Dialekt::beginntMit(n)}).anzahl(), 1);
    }
    // "%" and "_" typed by the operator are characters, not wildcards.
    QCOMPARE(db.abfrage("select * from t_probe where " + d.likeOhneFall("name"), {Dialekt::enthaelt("%")}).anzahl(), 1);
    QCOMPARE(db.abfrage("select * from t_probe where " + d.likeOhneFall("name"), {Dialekt::enthaelt("_")}).anzahl(), 1);
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 7);
}

void TestDatenbank::transaktionVerwirft() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    try {
        Transaktion t(db);
        db.einfuegen("t_probe", {{"name", "halb"}});
        db.ausfuehren("insert into gibt_es_nicht (x) values (?)", {1});
        t.bestaetige();
        QFAIL("the second statement should have failed");
    } catch (const DbFehler&) {
    }
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 0);
    {
        Transaktion t(db);
        db.einfuegen("t_probe", {{"name", "ganz"}});
        t.bestaetige();
    }
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 1);
    QVERIFY(!db.inTransaktion());
}

void TestDatenbank::innereTransaktionVerwirftNurSich() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    try {
        Transaktion aussen(db);
        db.einfuegen("t_probe", {{"name", "vorher"}});
        try {
            Transaktion innen(db);
            db.einfuegen("t_probe", {{"name", "innen"}});
            db.ausfuehren("insert into gibt_es_nicht (x) values (?)", {1});
            innen.bestaetige();
            QFAIL("the inner statement should have failed");
        } catch (const DbFehler&) {
        }
        QCOMPARE(db.transaktionsTiefe(), 1);
        db.einfuegen("t_probe", {{"name", "nachher"}});
        {
            Transaktion innen(db);
            db.einfuegen("t_probe", {{"name", "zweite innen"}});
            innen.bestaetige();
        }
        aussen.bestaetige();
    } catch (const DbFehler& e) {
        QFAIL(qPrintable(e.kurz() + ": " + e.serverText()));
    }
    QVERIFY(!db.inTransaktion());
    const Recordset rs = db.abfrage("select name from t_probe order by id");
    QStringList namen;
    for (const QSqlRecord& r : rs.zeilen()) namen << r.value(0).toString();
    QCOMPARE(namen, (QStringList{"vorher", "nachher", "zweite innen"}));
}

void TestDatenbank::verschluckterFehlerVerhindertBestaetigen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    // A failure caught inside the level itself, without an inner level to undo it.
    bool geworfen = false;
    {
        Transaktion t(db);
        db.einfuegen("t_probe", {{"name", "erste"}});
        try {
            db.ausfuehren("insert into gibt_es_nicht (x) values (?)", {1});
        } catch (const DbFehler&) {
        }
        try {
            t.bestaetige();
        } catch (const DbFehler&) {
            geworfen = true;
        }
    }
    QVERIFY(geworfen);
    QVERIFY(!db.inTransaktion());
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 0);

    // The same one level deeper: the inner commit throws, the outer one then too.
    int wuerfe = 0;
    {
        Transaktion aussen(db);
        db.einfuegen("t_probe", {{"name", "aussen"}});
        {
            Transaktion innen(db);
            try {
                db.ausfuehren("insert into gibt_es_nicht (x) values (?)", {1});
            } catch (const DbFehler&) {
            }
            try {
                innen.bestaetige();
            } catch (const DbFehler&) {
                ++wuerfe;
            }
        }
        // The inner level was undone as a whole, so the outer work is sound.
        try {
            aussen.bestaetige();
        } catch (const DbFehler&) {
            ++wuerfe;
        }
    }
    QCOMPARE(wuerfe, 1);
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 1);
    // The connection is usable afterwards.
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", "danach"}}));
    QCOMPARE(db.wert("select count(*) from t_probe").toInt(), 2);
}

void TestDatenbank::suchspaltenFolgenDemNamen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    qint64 id = 0;
    TALU_DB_OK(id = db.einfuegen("ortsnamen", {{"ort", QString::fromUtf8("ÜBERLINGEN")}, {"typ", 1}}));
    QCOMPARE(db.wert("select ort_suche from ortsnamen where id = ?", {id}).toString(), QString::fromUtf8("überlingen"));
    TALU_DB_OK(db.aendern("ortsnamen", id, {{"ort", QString::fromUtf8("Öhringen")}}));
    QCOMPARE(db.wert("select ort_suche from ortsnamen where id = ?", {id}).toString(), QString::fromUtf8("öhringen"));
    TALU_DB_OK(db.aendern("ortsnamen", id, {{"ort", QVariant()}}));
    QVERIFY(db.wert("select ort_suche from ortsnamen where id = ?", {id}).isNull());
    // Rows written with plain SQL: the server folds them itself, SQLite marks
    // them and the repair of the schema tool recomputes them.
    TALU_DB_OK(db.ausfuehren("insert into grundstuecke (gemeindeschluessel, strassen_name) values (?, ?)",
                             {"08435059", QString::fromUtf8("STRAẞE DES ÄRGERS")}));
    TALU_DB_OK(db.ausfuehren("update ortsnamen set ort = ? where id = ?", {QString::fromUtf8("Ütersen"), id}));
    qint64 n = 0;
    TALU_DB_OK(n = db.erneuereSuchspalten());
    QCOMPARE(n, qint64(db.dialekt().fuelltSuchspalten() ? 0 : 2));
    QCOMPARE(db.wert("select ort_suche from ortsnamen where id = ?", {id}).toString(), QString::fromUtf8("ütersen"));
    QCOMPARE(db.wert("select count(*) from grundstuecke where " + db.dialekt().suchLike("strassen_name_suche"),
                     {Dialekt::beginntMit(Dialekt::falte(QString::fromUtf8("straße des ä")))})
                 .toInt(),
             1);
}

void TestDatenbank::verloreneVerbindungKommtWieder() {
    const test::TestBackend b = test::backendNamens("postgres");
    if (b.backend != Backend::PostgreSQL) QSKIP("needs a PostgreSQL server (TALU_TEST_PG)");
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, "postgres", false);
    TALU_DB_OK(legeProbeAn(db));
    Datenbank zweite;
    QVERIFY(zweite.oeffnen(fx.ziel, fx.benutzer, fx.passwort));
    const QVariant pid = db.wert("select pg_backend_pid()");
    // The server ends the session, as when it restarts: the next read is repeated after a new login.
    auto trennen = [&] {
        zweite.wert("select pg_terminate_backend(?)", {db.wert("select pg_backend_pid()").toInt()});
        QTest::qWait(100);
    };
    TALU_DB_OK(trennen());
    int n = -1;
    TALU_DB_OK(n = db.wert("select count(*) from t_probe").toInt());
    QCOMPARE(n, 0);
    QVERIFY(db.wert("select pg_backend_pid()") != pid);
    // A write is never repeated: the operator is told in German, and nothing is written twice.
    TALU_DB_OK(trennen());
    try {
        db.einfuegen("t_probe", {{"name", "log"}});
        QFAIL("a write over a lost connection must not report success");
    } catch (const DbFehler& e) {
        QVERIFY2(e.kurz().contains("Verbindung zur Datenbank"), qPrintable(e.kurz()));
        QVERIFY(e.serverText().contains("wiederholen"));
    }
    QCOMPARE(zweite.wert("select count(*) from t_probe").toInt(), 0);
    // The next action works again.
    TALU_DB_OK(db.einfuegen("t_probe", {{"name", "log"}}));
    QCOMPARE(zweite.wert("select count(*) from t_probe").toInt(), 1);
    // Lost inside a transaction: no reconnect halfway, nothing committed, then usable again.
    try {
        Transaktion t(db);
        db.einfuegen("t_probe", {{"name", "halb"}});
        trennen();
        db.einfuegen("t_probe", {{"name", "halb 2"}});
        t.bestaetige();
        QFAIL("the transaction must fail");
    } catch (const DbFehler&) {
    }
    QVERIFY(!db.inTransaktion());
    QCOMPARE(zweite.wert("select count(*) from t_probe").toInt(), 1);
    TALU_DB_OK(n = db.wert("select count(*) from t_probe").toInt());
    QCOMPARE(n, 1);
}

void TestDatenbank::fehlerTraegtServertext() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    try {
        db.abfrage("select nichtda from auch_nicht_da");
        QFAIL("no error raised");
    } catch (const DbFehler& e) {
        QVERIFY2(e.serverText().contains("auch_nicht_da"), qPrintable(e.serverText()));
        QCOMPARE(e.sql(), QString("select nichtda from auch_nicht_da"));
    }
    // The connection stays usable after a failed statement.
    QCOMPARE(db.wert("select 1").toInt(), 1);
}

void TestDatenbank::recordsetNavigation() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    Recordset leer;
    TALU_DB_OK(leer = db.abfrage("select * from t_probe"));
    QVERIFY(leer.istOffen());
    QVERIFY(leer.eof() && leer.bof());
    QVERIFY_THROWS_EXCEPTION(DbFehler, leer.feld("name"));
    for (int i = 1; i <= 3; ++i) TALU_DB_OK(db.einfuegen("t_probe", {{"name", QString("n%1").arg(i)}}));
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage("select * from t_probe order by id"));
    QCOMPARE(rs.anzahl(), 3);
    QCOMPARE(rs.text("NAME"), QString("n1"));  // column names ignore case
    rs.moveNext();
    rs.moveNext();
    QCOMPARE(rs.text("name"), QString("n3"));
    rs.moveNext();
    QVERIFY(rs.eof());
    rs.moveFirst();
    QCOMPARE(rs.text("name"), QString("n1"));
    rs.moveLast();
    QCOMPARE(rs.text("name"), QString("n3"));
    QVERIFY_THROWS_EXCEPTION(DbFehler, rs.feld("gibtsnicht"));
    rs.schliessen();
    QVERIFY(!rs.istOffen());
    QVERIFY(rs.eof());
}

void TestDatenbank::begrenzteAbfrage() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeProbeAn(db));
    for (int i = 1; i <= 4; ++i) TALU_DB_OK(db.einfuegen("t_probe", {{"name", QString("n%1").arg(i)}}));
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage(db.dialekt().begrenze("select * from t_probe order by id desc", 1)));
    QCOMPARE(rs.anzahl(), 1);
    QCOMPARE(rs.text("name"), QString("n4"));
}

void TestDatenbank::anmeldungScheitertLesbar() {
    Datenbank db;
    QString fehler;
    // A missing SQLite file is refused rather than silently created.
    QVERIFY(!db.oeffnen(Verbindungsziel::ausEingabe("sqlite", "/nonexistent/dir/x.talu", {}), {}, {}, &fehler));
    QVERIFY(!fehler.isEmpty());
    QVERIFY(!db.istOffen());
    fehler.clear();
    QVERIFY(!db.oeffnen(Verbindungsziel::ausEingabe("postgres:127.0.0.1:1", "x", {}), "u", "p", &fehler));
    QVERIFY2(!fehler.isEmpty(), "the driver's text must reach the operator");
    fehler.clear();
    QVERIFY(!db.oeffnen(Verbindungsziel::ausEingabe("postgres:h:abc", "x", {}), "u", "p", &fehler));
    QVERIFY(fehler.contains("Port"));
}

QTEST_GUILESS_MAIN(TestDatenbank)
#include "tst_datenbank.moc"
