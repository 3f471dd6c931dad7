// Statements prepared once per connection, round trips per user action on
// PostgreSQL (counted from the protocol), and SQLite files in WAL mode.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include "LookupHilfe.h"
#include "lookup/AbfrageProtokoll.h"
#include "lookup/AuswahlListe.h"
#include "lookup/SucheDaten.h"
#include "market/MarktDaten.h"
#include "place/OrtDaten.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"
#include "db/Schema.h"

using namespace talu;

namespace {

// Counts the round trips of one connection from libpq's own trace of the
// protocol: every Sync (end of a pipeline or an extended-protocol statement)
// and every simple Query is one wait for the server.
class Protokollspur {
public:
    explicit Protokollspur(const Datenbank& db) {
        const QVariant h = db.qt().driver()->handle();
        m_pg = *static_cast<PGconn* const*>(h.data());
        m_datei = open_memstream(&m_puffer, &m_laenge);
        PQtrace(m_pg, m_datei);
        PQsetTraceFlags(m_pg, PQTRACE_SUPPRESS_TIMESTAMPS);
    }
    ~Protokollspur() {
        beende();
        free(m_puffer);
    }
    int rundreisen() {
        beende();
        int n = 0;
        for (const QByteArray& z : QByteArray(m_puffer, qsizetype(m_laenge)).split('\n')) {
            const QList<QByteArray> teile = z.split('\t');
            if (teile.size() >= 3 && teile[0] == "F" && (teile[2] == "Sync" || teile[2] == "Query")) ++n;
        }
        return n;
    }

private:
    void beende() {
        if (!m_datei) return;
        PQuntrace(m_pg);
        fclose(m_datei);
        m_datei = nullptr;
    }
    PGconn* m_pg = nullptr;
    FILE* m_datei = nullptr;
    char* m_puffer = nullptr;
    size_t m_laenge = 0;
};

QString schreiberUmgebung() { return QStringLiteral("TALU_TEST_WAL_SCHREIBER"); }
QString leserUmgebung() { return QStringLiteral("TALU_TEST_WAL_LESER"); }

// The first column of the first row, read by another SQLite client (read-only):
// as a number, and as text; -1 when there is no row.
int sqliteZaehle(const QString& datei, const char* sql, QString* text = nullptr) {
    const QStringList z = test::fremderClient(datei, QString::fromUtf8(sql), true);
    if (z.isEmpty() || z.first().startsWith(QLatin1String("error: ")) || z.first() == QLatin1String("open failed")) return -1;
    if (text) *text = z.first();
    return z.first().toInt();
}

// The child processes of the WAL tests: a writer that is killed, a reader in a read-only folder.
int kindProzess(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Verbindungsziel z;
    z.datenbank = qEnvironmentVariable(qPrintable(qEnvironmentVariableIsSet(qPrintable(schreiberUmgebung()))
                                                      ? schreiberUmgebung()
                                                      : leserUmgebung()));
    if (qEnvironmentVariableIsSet(qPrintable(leserUmgebung()))) {
        static int warnungen = 0;
        qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
            if (t == QtWarningMsg && m.contains(QLatin1String("Rollback-Journal"))) ++warnungen;
        });
        for (int i = 0; i < 2; ++i) {
            Datenbank db;
            QString fehler;
            if (!db.oeffnen(z, {}, {}, &fehler)) {
                printf("fehler %s\n", qPrintable(fehler));
                return 1;
            }
            printf("%s %d\n", qPrintable(db.journalModus()), db.wert("select count(*) from probe").toInt());
        }
        printf("warnungen %d\n", warnungen);
        return 0;
    }
    Datenbank db;
    QString fehler;
    if (!db.oeffnen(z, {}, {}, &fehler)) {
        printf("fehler %s\n", qPrintable(fehler));
        return 1;
    }
    for (int i = 1;; ++i) {
        Transaktion t(db);
        for (int k = 0; k < 20; ++k)
            db.ausfuehren("insert into probe (name) values (?)", {QStringLiteral("Zeile %1/%2").arg(i).arg(k)});
        t.bestaetige();
        printf("%d\n", i * 20);
        fflush(stdout);
    }
}

}  // namespace

class TestAnweisungen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void rundreisenJeAktion();
    void einmalVorbereitet_data() { test::backendZeilen(); }
    void einmalVorbereitet();
    void wertePostgres();
    void walAndererLeserSiehtAlles();
    void walNachAbgebrochenemProzess();
    void walSchreibgeschuetzterOrdner();
};

void TestAnweisungen::rundreisenJeAktion() {
    if (test::backendNamens(QStringLiteral("postgres")).backend != Backend::PostgreSQL)
        QSKIP("TALU_TEST_PG nicht gesetzt");
    TALU_LOOKUP_DB(fx, QStringLiteral("postgres"), true);
    Publics& p = publics();
    const Datenbank& db = p.Verbindung;
    p.Ausgabe = 3;
    auto zaehle = [&](const std::function<void()>& aktion) {
        const qint64 eigene = db.rundreisen();
        Protokollspur spur(db);
        aktion();
        const int n = spur.rundreisen();
        // The layer's own count agrees with the protocol.
        if (db.rundreisen() - eigene != n) qWarning("Zählung der Schicht %lld, Protokoll %d", db.rundreisen() - eigene, n);
        return n;
    };
    const QString ueberlingen = QStringLiteral("08435059");
    // Warm: the statements are prepared on this connection (cold, the counts are the same:
    // preparing goes in the same pipeline).
    for (int runde = 0; runde < 2; ++runde) {
        // Street search and each stage of the place search: one round trip each.
        QCOMPARE(zaehle([&] { QVERIFY(!SucheDaten(db).sucheStrasse(ueberlingen, QStringLiteral("mün")).leer()); }), 1);
        SucheDaten::Stufe s;
        QCOMPARE(zaehle([&] { SucheDaten(db).sucheOrt(QString::fromUtf8("überlingen"), &s); }), 1);
        QCOMPARE(s, SucheDaten::Stufe::Genau);
        QCOMPARE(zaehle([&] { SucheDaten(db).sucheOrt(QString::fromUtf8("überl"), &s); }), 2);
        QCOMPARE(s, SucheDaten::Stufe::Anfang);
        QCOMPARE(zaehle([&] { SucheDaten(db).sucheOrt(QString::fromUtf8("berling"), &s); }), 3);
        QCOMPARE(s, SucheDaten::Stufe::Teil);

        // Plot display (the chosen row, its place, the log row): at most 2.
        const Recordset ort = SucheDaten(db).ortNachSchluessel(ueberlingen);
        p.AktGemeindeschluessel = ueberlingen;
        p.AktOrtId = ort.zahl("id");
        p.AktOrtAnzeige = QString::fromUtf8("88662 Überlingen");
        p.PreisBodenrichtwert = 12.5;
        p.PreisGutachter = 5;
        const Recordset plots = db.abfrage(
            "select id, strassen_name, hausnummer from grundstuecke where gemeindeschluessel = ? and loeschen = ? order by id",
            {ueberlingen, QStringLiteral("nein")});
        QVERIFY(!plots.leer());
        const qint64 plotId = plots.zeilen().first().value(0).toLongLong();
        const int logVorher = db.wert("select count(*) from abfrageprotokoll").toInt();
        GrundstueckMaskeLogik l;
        QCOMPARE(zaehle([&] {
                     QCOMPARE(waehleAus(p, QStringLiteral("suche nach grundstück"), plotId), AuswahlFolge::Grundstueck);
                     QVERIFY(l.LadeGrundstueck(p).isEmpty());
                 }),
                 2);
        QVERIFY(l.angezeigt);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll").toInt(), logVorher + 1);

        // Neighbour step with its log row: at most 2.
        qint64 mitNachbar = 0;
        for (const QSqlRecord& r : plots.zeilen()) {
            if (!GrundstueckDaten(db)
                     .nachHausnummer(ueberlingen, r.value(1).toString(), nachbarHausnummer(r.value(2).toString(), 1))
                     .leer()) {
                mitNachbar = r.value(0).toLongLong();
                break;
            }
        }
        QVERIFY(mitNachbar > 0);
        p.RsSuche = SucheDaten(db).grundstueckNachId(mitNachbar);
        GrundstueckMaskeLogik n;
        n.SchrittVor = true;
        QVERIFY(zaehle([&] { QVERIFY(n.LadeGrundstueck(p).isEmpty()); }) <= 2);
        QVERIFY(n.angezeigt);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll").toInt(), logVorher + 2);

        // Place form, all pages and the log row: at most 3.
        p.OrtAbgerechnet = false;
        OrtAnzeige a;
        QVERIFY(zaehle([&] {
                    a = OrtDaten(db).lade(ueberlingen);
                    QCOMPARE(ProtokolliereOrt(db, p, a.boxen(1, 0) + " " + a.boxen(1, 1)), OrtAbrechnung::Geschrieben);
                }) <= 3);
        QVERIFY(a.ortGefunden);
        // The same boxes as one statement after the other (a connection of Qt's own driver would give).
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll").toInt(), logVorher + 3);

        // Market grid with its log row: at most 3 (municipality and district level).
        for (const QString& schluessel : {QStringLiteral("06412000"), QStringLiteral("06531005")}) {
            p.AktGemeindeschluessel = schluessel;
            p.RsSuche = db.abfrage("select * from ortsnamen where gemeindeschluessel = ?", {schluessel});
            p.AktOrtAnzeige = p.RsSuche.text("plzneu") + " " + p.RsSuche.text("ort");
            const QString tabelle = QStringLiteral("kaufpreise_fuer_freistehende_einfamilienhaeuser");
            const markt::Kategorie* k = markt::kategorie(tabelle);
            QVERIFY(k);
            markt::MarktUebersicht u;
            bool gefunden = false;
            QVERIFY(zaehle([&] {
                        gefunden = u.lade(db, schluessel, tabelle);
                        if (gefunden)
                            u.bucheAbfrage(db, p, k->titel,
                                           markt::preisAusOrt(db, p.RsSuche, k->preisSpalte, schluessel));
                    }) <= 3);
            if (schluessel == QStringLiteral("06412000")) QVERIFY(gefunden);
        }
    }
}

void TestAnweisungen::einmalVorbereitet() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(db.ausfuehren("create table probe_anw (id integer primary key, name varchar(20))"));
    TALU_DB_OK(db.ausfuehren("insert into probe_anw (id, name) values (?, ?)", {1, QStringLiteral("eins")}));
    TALU_DB_OK(db.ausfuehren("insert into probe_anw (id, name) values (?, ?)", {2, QStringLiteral("zwei")}));
    const QString sql = QStringLiteral("select * from probe_anw where id = ?");

    // Reuse: prepared at the first run only.
    qint64 vorher = db.vorbereitungen();
    for (int i = 0; i < 5; ++i) TALU_DB_OK(QCOMPARE(db.abfrage(sql, {1 + i % 2}).anzahl(), 1));
    QCOMPARE(db.vorbereitungen() - vorher, qint64(1));

    // Another program changes the table in between: the statement is prepared anew, not failed.
    std::unique_ptr<Datenbank> andere = db.zweiteVerbindung();
    QVERIFY(andere);
    TALU_DB_OK(andere->ausfuehren("alter table probe_anw add neu integer"));
    TALU_DB_OK(andere->ausfuehren("update probe_anw set neu = ?", {7}));
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage(sql, {1}));
    QVERIFY(rs.hatSpalte("neu"));
    QCOMPARE(rs.feld("neu").toInt(), 7);
    // ... also as the first statement of a transaction, and for a write.
    TALU_DB_OK(andere->ausfuehren("alter table probe_anw add neu2 integer"));
    TALU_DB_OK({
        Transaktion t(db);
        rs = db.abfrage(sql, {2});
        db.ausfuehren("update probe_anw set name = ? where id = ?", {QStringLiteral("zwo"), 2});
        t.bestaetige();
    });
    QVERIFY(rs.hatSpalte("neu2"));
    TALU_DB_OK(andere->ausfuehren("alter table probe_anw add neu3 integer"));
    TALU_DB_OK(db.ausfuehren("update probe_anw set name = ? where id = ?", {QStringLiteral("zwei"), 2}));
    TALU_DB_OK(QCOMPARE(db.wert("select name from probe_anw where id = ?", {2}).toString(), QStringLiteral("zwei")));

    // A new connection starts without prepared statements.
    QVERIFY(db.vorbereiteteAnweisungen() > 0);
    if (db.backend() == Backend::PostgreSQL) {
        // The server ends the session (as a restart would): TALU logs in again once and repeats the read.
        const QVariant pid = db.wert("select pg_backend_pid()");
        TALU_DB_OK(andere->wert("select pg_terminate_backend(?)", {pid}));
        QTest::qWait(200);
        TALU_DB_OK(QCOMPARE(db.abfrage(sql, {1}).anzahl(), 1));
        QVERIFY(db.wert("select pg_backend_pid()") != pid);
        QCOMPARE(db.vorbereiteteAnweisungen(), 2);
        QCOMPARE(db.vorbereitungen(), qint64(2));
    } else {
        db.schliessen();
        QString fehler;
        QVERIFY2(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
        // Opening itself may prepare its own checks; the statement of before is not among them.
        const qint64 nachOeffnen = db.vorbereitungen();
        TALU_DB_OK(QCOMPARE(db.abfrage(sql, {1}).anzahl(), 1));
        QCOMPARE(db.vorbereitungen(), nachOeffnen + 1);
        TALU_DB_OK(QCOMPARE(db.abfrage(sql, {2}).anzahl(), 1));
        QCOMPARE(db.vorbereitungen(), nachOeffnen + 1);
    }
}

// Values and results on PostgreSQL's own client: a whole double fits an
// integer column (also a large one, which a shortest text would write with an
// exponent); after a read that streamed its rows, the next statement's rows
// arrive whole (the streaming mode must not carry over to it).
void TestAnweisungen::wertePostgres() {
    if (test::backendNamens(QStringLiteral("postgres")).backend != Backend::PostgreSQL)
        QSKIP("Kein PostgreSQL-Testserver (TALU_TEST_PG)");
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, QStringLiteral("postgres"), false);
    TALU_DB_OK(db.ausfuehren("create table probe_int (id integer primary key, n integer)"));
    for (double d : {1.0, 1000000.0, 20000000.0, -3000.0})
        TALU_DB_OK(db.ausfuehren("insert into probe_int (id, n) values (?, ?)", {qint64(db.wert("select count(*) from probe_int").toInt() + 1), d}));
    TALU_DB_OK(QCOMPARE(db.wert("select sum(n) from probe_int").toLongLong(), 20997001LL));
    TALU_DB_OK(QCOMPARE(db.wert("select count(*) from probe_int where n = ?", {1e6}).toInt(), 1));

    int gelesen = 0;
    TALU_DB_OK(db.durchlaufe("select id from probe_int order by id", {}, [&](const QSqlRecord&) { return ++gelesen > 0; }));
    QCOMPARE(gelesen, 4);
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage("select id, n from probe_int where id <= ? order by id", {3}));
    QCOMPARE(rs.anzahl(), 3);
    qint64 id = 0;
    TALU_DB_OK(db.durchlaufe("select id from probe_int where id = ?", {1}, [](const QSqlRecord&) { return true; }));
    TALU_DB_OK(id = db.einfuegen("abfrageprotokoll", {{"vorgang", QStringLiteral("Probe")}}));
    QVERIFY(id > 0);
    TALU_DB_OK(QCOMPARE(db.wert("select vorgang from abfrageprotokoll where id = ?", {id}).toString(), QStringLiteral("Probe")));
}

void TestAnweisungen::walAndererLeserSiehtAlles() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, QStringLiteral("sqlite"), false);
    QCOMPARE(db.journalModus(), QStringLiteral("wal"));
    QCOMPARE(db.wert("pragma synchronous").toInt(), 2);  // full
    const QString datei = fx.ziel.datenbank;
    TALU_DB_OK(db.ausfuehren("create table probe (id integer primary key, name varchar(40))"));
    for (int i = 1; i <= 60; ++i) {
        TALU_DB_OK(db.einfuegen("probe", {{"name", QStringLiteral("Zeile %1").arg(i)}}));
        // Every committed row, read by another SQLite client while TALU's connection is open.
        if (i % 10 == 0) QCOMPARE(sqliteZaehle(datei, "select count(*) from probe"), i);
    }
    // The reader is not blocked by the open write, and sees only what is committed.
    {
        Transaktion t(db);
        TALU_DB_OK(db.einfuegen("probe", {{"name", QStringLiteral("offen")}}));
        QCOMPARE(sqliteZaehle(datei, "select count(*) from probe"), 60);
        t.bestaetige();
    }
    QCOMPARE(sqliteZaehle(datei, "select count(*) from probe"), 61);
    QString ok;
    sqliteZaehle(datei, "pragma integrity_check", &ok);
    QCOMPARE(ok, QStringLiteral("ok"));
    // Closed: the WAL is folded into the file, which is complete alone.
    db.schliessen();
    QVERIFY(!QFile::exists(datei + "-wal") || QFileInfo(datei + "-wal").size() == 0);
    QCOMPARE(sqliteZaehle(datei, "pragma journal_mode", &ok), 0);
    QCOMPARE(ok, QStringLiteral("delete"));
}

void TestAnweisungen::walNachAbgebrochenemProzess() {
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, QStringLiteral("sqlite"), false);
    TALU_DB_OK(db.ausfuehren("create table probe (id integer primary key, name varchar(40))"));
    db.schliessen();
    QProcess kind;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(schreiberUmgebung(), fx.ziel.datenbank);
    kind.setProcessEnvironment(env);
    kind.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(kind.waitForStarted());
    int bestaetigt = 0;
    QElapsedTimer uhr;
    uhr.start();
    while (bestaetigt < 400 && uhr.elapsed() < 60000) {
        kind.waitForReadyRead(1000);
        while (kind.canReadLine()) bestaetigt = qMax(bestaetigt, kind.readLine().trimmed().toInt());
    }
    QVERIFY2(bestaetigt >= 400, qPrintable(kind.readAllStandardError()));
    kind.kill();  // SIGKILL in the middle of its writing
    QVERIFY(kind.waitForFinished());
    while (kind.canReadLine()) bestaetigt = qMax(bestaetigt, kind.readLine().trimmed().toInt());
    QString ok;
    QVERIFY(sqliteZaehle(fx.ziel.datenbank, "pragma integrity_check", &ok) >= -1);
    QCOMPARE(ok, QStringLiteral("ok"));
    // Every transaction it reported committed is there, whole.
    const int n = sqliteZaehle(fx.ziel.datenbank, "select count(*) from probe");
    QVERIFY2(n >= bestaetigt && n % 20 == 0, qPrintable(QStringLiteral("%1 Zeilen, %2 bestätigt").arg(n).arg(bestaetigt)));
    QString fehler;
    QVERIFY2(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
    TALU_DB_OK(QCOMPARE(db.wert("select count(*) from probe").toInt(), n));
}

void TestAnweisungen::walSchreibgeschuetzterOrdner() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString datei = dir.filePath("lesen.talu");
    {
        Verbindungsziel z;
        z.datenbank = datei;
        z.anlegen = true;
        Datenbank db;
        QString fehler;
        QVERIFY2(db.oeffnen(z, {}, {}, &fehler), qPrintable(fehler));
        TALU_DB_OK(db.ausfuehren("create table probe (id integer primary key, name varchar(40))"));
        for (int i = 0; i < 5; ++i) TALU_DB_OK(db.einfuegen("probe", {{"name", QStringLiteral("x")}}));
    }
    QFile::setPermissions(datei, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther |
                                     QFileDevice::WriteOther | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                          QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    // root writes into any folder: the reader then runs as nobody.
    QProcess kind;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(leserUmgebung(), datei);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    kind.setProcessEnvironment(env);
    if (geteuid() == 0)
        kind.start(QStringLiteral("runuser"), {"-u", "nobody", "--", QCoreApplication::applicationFilePath()});
    else
        kind.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(kind.waitForFinished(60000));
    const QString aus = QString::fromUtf8(kind.readAllStandardOutput());
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY2(kind.exitCode() == 0, qPrintable(aus + kind.readAllStandardError()));
    // Opened twice in the rollback journal, read all rows, said so once.
    QCOMPARE(aus, QStringLiteral("delete 5\ndelete 5\nwarnungen 1\n"));
    QVERIFY(!QFile::exists(datei + "-wal"));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("TALU_TEST_WAL_SCHREIBER") || qEnvironmentVariableIsSet("TALU_TEST_WAL_LESER"))
        return kindProzess(argc, argv);
    QApplication app(argc, argv);
    TestAnweisungen t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_anweisungen.moc"
