// Encrypted connections: the options of the server field and what they make
// of the PostgreSQL and SQL Server connections, against a server of the
// test's own with a self-signed certificate for "localhost".
#include <QDir>
#include <QProcess>
#include <QtTest>
#include <libpq-fe.h>

#include "EigenerPgServer.h"
#include "Fixture.h"
#include "db/Datenbank.h"

using namespace talu;

namespace {

// Whether the server sees this connection as encrypted.
bool verschluesselt(const Datenbank& db) {
    return db.wert("select ssl from pg_stat_ssl where pid = pg_backend_pid()").toBool();
}

}  // namespace

class TestTls : public QObject {
    Q_OBJECT
private slots:
    void serverFeld_data();
    void serverFeld();
    void sqlServerText();
    void postgres();
};

void TestTls::serverFeld_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("optionen");  // libpq's pairs, or the start of the message
    QTest::addColumn<bool>("fehler");
    QTest::newRow("ohne") << "postgres:db.example:6543" << "" << false;
    QTest::newRow("require") << "postgres:db.example:6543?sslmode=require" << "sslmode='require'" << false;
    QTest::newRow("gross, leerzeichen") << "postgres:db.example ? SSLMode = Verify-Full " << "sslmode='verify-full'"
                                        << false;
    QTest::newRow("wurzel relativ") << "postgres:h?sslmode=verify-ca&sslrootcert=certs/ca.crt"
                                    << "sslmode='verify-ca' sslrootcert='/prog/certs/ca.crt'" << false;
    QTest::newRow("wurzel quote") << "postgres:h?sslrootcert=/a b/it's\\x.crt&sslmode=verify-full"
                                  << "sslrootcert='/a b/it\\'s\\\\x.crt' sslmode='verify-full'" << false;
    QTest::newRow("unbekannter modus") << "postgres:h:5432?sslmode=requre" << "Unbekannter Wert \"requre\" für sslmode"
                                       << true;
    QTest::newRow("unbekannte option") << "postgres:h?sslmode=require&sslcompression=1"
                                       << "Unbekannte Verbindungsoption \"sslcompression\" für PostgreSQL" << true;
    QTest::newRow("ohne wert") << "postgres:h?sslmode" << "Die Verbindungsoption \"sslmode\" hat keinen Wert" << true;
    QTest::newRow("doppelt") << "postgres:h?sslmode=require&sslmode=disable"
                             << "Die Verbindungsoption \"sslmode\" ist doppelt angegeben" << true;
    QTest::newRow("leer") << "postgres:h?" << "Nach \"?\" bzw. \"&\" fehlt eine Verbindungsoption" << true;
    QTest::newRow("semikolon") << "postgres:h?sslrootcert=/a;b" << "Der Pfad in sslrootcert darf kein Semikolon" << true;
    QTest::newRow("sqlserver option bei pg") << "postgres:h?encryption=require"
                                             << "Unbekannte Verbindungsoption \"encryption\" für PostgreSQL" << true;
    QTest::newRow("pg option bei sqlserver") << "sqlsrv01,1444?sslmode=require"
                                             << "Unbekannte Verbindungsoption \"sslmode\" für SQL Server" << true;
    QTest::newRow("sqlserver stufe") << "sqlsrv01,1444?encryption=mandatory" << "Unbekannter Wert \"mandatory\" für encryption"
                                     << true;
    QTest::newRow("sqlite") << "sqlite?sslmode=require" << "Eine SQLite-Datei hat keine Verbindungsoptionen" << true;
}

// The options are read strictly: a typo never falls back to libpq's default
// (which would connect unencrypted where the server allows it).
void TestTls::serverFeld() {
    QFETCH(QString, server);
    QFETCH(QString, optionen);
    QFETCH(bool, fehler);
    const Verbindungsziel z = Verbindungsziel::ausEingabe(server, "talu", "/prog");
    if (fehler) {
        QVERIFY2(z.fehler.startsWith(optionen), qPrintable(z.fehler));
        return;
    }
    QVERIFY2(z.fehler.isEmpty(), qPrintable(z.fehler));
    QCOMPARE(int(z.backend), int(Backend::PostgreSQL));
    QCOMPARE(z.host, server.contains("db.example") ? QString("db.example") : QString("h"));
    QCOMPARE(z.port, server.contains("6543") ? 6543 : 5432);
    QCOMPARE(z.pgVerbindungsoptionen(), optionen);
    // A server field rebuilt from host, port and options reads the same.
    const Verbindungsziel wieder =
        Verbindungsziel::ausEingabe(QString("postgres:%1:%2").arg(z.host).arg(z.port) + z.optionenText(), "talu", "/x");
    QCOMPARE(wieder.pgVerbindungsoptionen(), optionen);
}

void TestTls::sqlServerText() {
    const Verbindungsziel ohne = Verbindungsziel::ausEingabe("sqlsrv01,1444", "wqn", {});
    QVERIFY(!ohne.odbcVerbindungstext("sa", "x").contains("Encryption"));
    const Verbindungsziel z = Verbindungsziel::ausEingabe("sqlsrv01,1444?Encryption=REQUIRE", "wqn", {});
    QVERIFY2(z.fehler.isEmpty(), qPrintable(z.fehler));
    QCOMPARE(z.host, QString("sqlsrv01"));
    QCOMPARE(z.port, 1444);
    QCOMPARE(z.odbcVerbindungstext("sa", "ge;heim"),
             QString("DRIVER={FreeTDS};SERVER=sqlsrv01;PORT=1444;TDS_Version=7.4;ClientCharset=UTF-8;"
                     "Encryption=require;DATABASE=wqn;UID=sa;PWD={ge;heim};"));
    const Verbindungsziel s = Verbindungsziel::ausEingabe("sqlsrv01?encryption=strict", "wqn", {});
    QVERIFY(s.odbcVerbindungstext("u", "p").contains(";PORT=1433;TDS_Version=7.4;ClientCharset=UTF-8;Encryption=strict;"));
    const Verbindungsziel d = Verbindungsziel::ausEingabe("odbc:WQN Live?encryption=off", "wqn", {});
    QCOMPARE(d.dsn, QString("WQN Live"));
    QVERIFY2(d.odbcVerbindungstext("u", "p").startsWith("DSN=WQN Live;Encryption=off;"), qPrintable(d.odbcVerbindungstext("u", "p")));
    // The rule on the login form and in --help names the options.
    QVERIFY(serverRegelText().contains("?sslmode=") && serverRegelText().contains("verify-full") &&
            serverRegelText().contains("?encryption="));
}

// One server with TLS (only encrypted logins over TCP), then without.
void TestTls::postgres() {
    test::EigenerPgServer pg;
    if (!pg.vorhanden()) QSKIP("Keine PostgreSQL-Programme gefunden");
    QVERIFY2(pg.legeAn({"hostssl all all 127.0.0.1/32 trust"}), qPrintable(pg.fehler()));
    QVERIFY2(pg.zertifikat(), qPrintable(pg.fehler()));
    QVERIFY2(pg.stelleEin({"ssl = on"}), qPrintable(pg.fehler()));
    QVERIFY2(pg.starte(), qPrintable(pg.fehler() + pg.protokoll()));
    // The certificate as the client's root certificate, in a folder whose name needs quoting.
    QVERIFY(QDir().mkpath(pg.datei("mit leer")));
    const QString wurzel = pg.datei("mit leer/wurzel.crt");
    QVERIFY(QFile::copy(pg.zertifikatDatei(), wurzel));
    const QString port = QString::number(pg.port());
    auto ziel = [&](const QString& host, const QString& optionen) {
        return Verbindungsziel::ausEingabe("postgres:" + host + ":" + port + optionen, "postgres", {});
    };
    QString fehler;
    {
        Datenbank db;
        QVERIFY2(db.oeffnen(ziel("127.0.0.1", "?sslmode=require"), "postgres", {}, &fehler), qPrintable(fehler));
        TALU_DB_OK(QVERIFY(verschluesselt(db)));
        // A second connection of the same login and the one opened after the
        // server dropped this one are encrypted too.
        auto zweite = db.zweiteVerbindung(&fehler);
        QVERIFY2(zweite, qPrintable(fehler));
        TALU_DB_OK(QVERIFY(verschluesselt(*zweite)));
        TALU_DB_OK(zweite->wert("select pg_terminate_backend(?)", {db.wert("select pg_backend_pid()")}));
        TALU_DB_OK(QVERIFY(verschluesselt(db)));
    }
    {
        // The name in the certificate is "localhost", not the address.
        Datenbank db;
        QVERIFY(!db.oeffnen(ziel("127.0.0.1", "?sslmode=verify-full&sslrootcert=" + wurzel), "postgres", {}, &fehler));
        QVERIFY2(fehler.startsWith(QString::fromUtf8("Das Zertifikat des Servers gilt nicht für den Servernamen „127.0.0.1“")),
                 qPrintable(fehler));
        QVERIFY(!db.istOffen());
        // verify-ca checks the signature only.
        QVERIFY2(db.oeffnen(ziel("127.0.0.1", "?sslmode=verify-ca&sslrootcert=" + wurzel), "postgres", {}, &fehler),
                 qPrintable(fehler));
        TALU_DB_OK(QVERIFY(verschluesselt(db)));
        QVERIFY2(db.oeffnen(ziel("localhost", "?sslmode=verify-full&sslrootcert=" + wurzel), "postgres", {}, &fehler),
                 qPrintable(fehler));
        TALU_DB_OK(QVERIFY(verschluesselt(db)));
        // Without the root certificate verify-full cannot check anything.
        QVERIFY(!db.oeffnen(ziel("localhost", "?sslmode=verify-full&sslrootcert=" + pg.datei("fehlt.crt")), "postgres",
                            {}, &fehler));
        QVERIFY2(fehler.startsWith("Die Datei mit dem Stammzertifikat (sslrootcert) fehlt"), qPrintable(fehler));
        // The server takes no unencrypted login.
        QVERIFY(!db.oeffnen(ziel("127.0.0.1", "?sslmode=disable"), "postgres", {}, &fehler));
        QVERIFY2(fehler.startsWith("Der Server nimmt diese Anmeldung nur über eine verschlüsselte Verbindung an"),
                 qPrintable(fehler));
    }
    // The command-line tools read the same field.
    const QString programm = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-db");
    if (QFileInfo(programm).isExecutable()) {
        auto taluDb = [&](const QString& server, QString* err) {
            QProcess p;
            p.start(programm, {"--server", server, "--datenbank", "talu_tls", "--benutzer", "postgres", "--ersetzen"});
            p.waitForFinished(120000);
            *err = QString::fromUtf8(p.readAllStandardError());
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QString err;
        QCOMPARE(taluDb("postgres:127.0.0.1:" + port + "?sslmode=verify-full&sslrootcert=" + wurzel, &err), 1);
        QVERIFY2(err.contains(QString::fromUtf8("Das Zertifikat des Servers gilt nicht für den Servernamen „127.0.0.1“")),
                 qPrintable(err));
        QCOMPARE(taluDb("postgres:127.0.0.1:" + port + "?sslmode=verify-fully", &err), 2);
        QVERIFY2(err.startsWith(QString::fromUtf8("Unbekannter Wert \"verify-fully\" für sslmode")), qPrintable(err));
        QCOMPARE(taluDb("postgres:localhost:" + port + "?sslmode=verify-full&sslrootcert=" + wurzel, &err), 0);
        Datenbank db;
        QVERIFY2(db.oeffnen(Verbindungsziel::ausEingabe("postgres:127.0.0.1:" + port + "?sslmode=require", "talu_tls", {}),
                            "postgres", {}, &fehler),
                 qPrintable(fehler));
        TALU_DB_OK(QVERIFY(db.wert("select count(*) from ortsnamen").isValid()));
    }
    // The same server without TLS (a reload suffices): require refuses, prefer goes unencrypted.
    {
        QFile hba(pg.daten() + "/pg_hba.conf");
        QVERIFY(hba.open(QIODevice::WriteOnly | QIODevice::Truncate));
        hba.write("local all all trust\nhost all all 127.0.0.1/32 trust\n");
    }
    {
        Datenbank db;
        QVERIFY2(db.oeffnen(ziel("127.0.0.1", "?sslmode=require"), "postgres", {}, &fehler), qPrintable(fehler));
        TALU_DB_OK(db.ausfuehren("alter system set ssl = off"));
        TALU_DB_OK(db.wert("select pg_reload_conf()"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!Datenbank().oeffnen(ziel("127.0.0.1", "?sslmode=require"), "postgres", {}, &fehler), 20000);
    QVERIFY2(fehler.startsWith("Der Server bietet keine verschlüsselte Verbindung an, sslmode=require verlangt aber eine."),
             qPrintable(fehler));
    Datenbank db;
    QVERIFY2(db.oeffnen(ziel("127.0.0.1", "?sslmode=prefer"), "postgres", {}, &fehler), qPrintable(fehler));
    TALU_DB_OK(QVERIFY(!verschluesselt(db)));
}

QTEST_GUILESS_MAIN(TestTls)
#include "tst_tls.moc"
