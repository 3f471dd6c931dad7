#pragma once
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include "db/Datenbank.h"

namespace talu::test {

// A database backend the tests run on: SQLite always, PostgreSQL when the
// environment names a server (TALU_TEST_PG=host:port, user postgres).
struct TestBackend {
    QString name;
    Backend backend = Backend::SQLite;
    QString host;
    int port = 0;
};

QList<TestBackend> backends();
// Adds one data row per backend (column "backend", type QString) for data-driven tests.
void backendZeilen();
TestBackend backendNamens(const QString& name);
// Runs statements as postgres on a database of the PostgreSQL test server
// (administration beside TALU's connection: create, drop, templates).
bool pgBefehl(const TestBackend& b, const QString& datenbank, const QStringList& anweisungen, QString& fehler);

// Opens a fresh database with the schema (and the demo data if asked) on the
// backend; SQLite files live in a temporary directory owned by the fixture.
class FrischeDatenbank {
public:
    FrischeDatenbank(const TestBackend& b, bool demo);
    ~FrischeDatenbank();
    bool ok() const { return m_ok; }
    const QString& fehler() const { return m_fehler; }
    // Login values for the form: server field, database field, user, password.
    QString server, datenbank, benutzer, passwort;
    Verbindungsziel ziel;

private:
    bool m_ok = false;
    QString m_fehler;
    QTemporaryDir m_dir;
    TestBackend m_backend;
};

// Opens db on a fresh database; fails the calling test on error.
#define TALU_FRISCHE_DB(fixture, db, backendName, demo)                                  \
    talu::test::FrischeDatenbank fixture(talu::test::backendNamens(backendName), demo); \
    QVERIFY2(fixture.ok(), qPrintable(fixture.fehler()));                              \
    {                                                                                  \
        QString fehler_;                                                               \
        QVERIFY2(db.oeffnen(fixture.ziel, fixture.benutzer, fixture.passwort, &fehler_), \
                 qPrintable(fehler_));                                                 \
    }

// Runs a statement and fails the test with the server's text if it throws.
#define TALU_DB_OK(ausdruck)                                                 \
    do {                                                                     \
        try {                                                                \
            ausdruck;                                                        \
        } catch (const talu::DbFehler& e_) {                                 \
            QFAIL(qPrintable(e_.kurz() + ": " + e_.serverText() + " / " + e_.sql())); \
        }                                                                    \
    } while (0)

// A directory for the program's text files, cleaned up with the test.
QString programmVerzeichnisFuerTest(QTemporaryDir& dir);

}  // namespace talu::test
