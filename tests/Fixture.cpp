#include "Fixture.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "kit/modPublics.h"
#include "db/demo/DemoDaten.h"
#include "db/Schema.h"

namespace talu::test {

namespace {
QAtomicInt g_nr;

// SQLite templates (schema, schema + demo) are built once per process and copied.
QString sqliteVorlage(bool demo, QString& fehler) {
    static QTemporaryDir vorlagen;
    const QString pfad = vorlagen.filePath(demo ? "demo.talu" : "leer.talu");
    if (QFile::exists(pfad)) return pfad;
    Datenbank db;
    Verbindungsziel z;
    z.backend = Backend::SQLite;
    z.datenbank = pfad;
    z.anlegen = true;
    if (!db.oeffnen(z, {}, {}, &fehler)) return {};
    try {
        legeSchemaAn(db);
        if (demo) fuelleDemoDaten(db);
    } catch (const DbFehler& e) {
        fehler = e.kurz() + ": " + e.serverText() + " / " + e.sql();
        db.schliessen();
        QFile::remove(pfad);
        return {};
    }
    db.schliessen();
    return pfad;
}
}  // namespace

QList<TestBackend> backends() {
    QList<TestBackend> l;
    l << TestBackend{"sqlite", Backend::SQLite, {}, 0};
    const QString pg = qEnvironmentVariable("TALU_TEST_PG");
    if (!pg.isEmpty()) {
        const int dp = pg.lastIndexOf(':');
        l << TestBackend{"postgres", Backend::PostgreSQL, pg.left(dp), pg.mid(dp + 1).toInt()};
    }
    return l;
}

void backendZeilen() {
    QTest::addColumn<QString>("backend");
    for (const TestBackend& b : backends()) QTest::newRow(qPrintable(b.name)) << b.name;
}

TestBackend backendNamens(const QString& name) {
    for (const TestBackend& b : backends())
        if (b.name == name) return b;
    return backends().first();
}

FrischeDatenbank::FrischeDatenbank(const TestBackend& b, bool demo) : m_backend(b) {
    benutzer = "tester";
    passwort = "geheim";
    if (b.backend == Backend::SQLite) {
        const QString vorlage = sqliteVorlage(demo, m_fehler);
        if (vorlage.isEmpty()) return;
        const QString ziel = m_dir.filePath("test.talu");
        if (!QFile::copy(vorlage, ziel)) {
            m_fehler = "Vorlage nicht kopiert";
            return;
        }
        QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner);
        server = "sqlite";
        datenbank = ziel;
        this->ziel = Verbindungsziel::ausEingabe(server, datenbank, {});
        m_ok = true;
        return;
    }
    // PostgreSQL: a new database per fixture, made from a per-process template.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const QString vorlage = QString("talu_tpl_%1_%2").arg(pid, demo ? "d" : "l");
    static QStringList fertig;
    if (!fertig.contains(vorlage)) {
        if (!pgBefehl(b, "postgres",
                      {"drop database if exists " + vorlage,
                       "create database " + vorlage + " template template0 encoding 'UTF8' lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'"},
                      m_fehler))
            return;
        Datenbank db;
        Verbindungsziel z;
        z.backend = Backend::PostgreSQL;
        z.host = b.host;
        z.port = b.port;
        z.datenbank = vorlage;
        if (!db.oeffnen(z, "postgres", {}, &m_fehler)) return;
        try {
            legeSchemaAn(db);
            if (demo) fuelleDemoDaten(db);
        } catch (const DbFehler& e) {
            m_fehler = e.kurz() + ": " + e.serverText() + " / " + e.sql();
            return;
        }
        db.schliessen();
        fertig << vorlage;
    }
    const QString name = QString("talu_t_%1_%2").arg(pid).arg(g_nr.fetchAndAddRelaxed(1));
    if (!pgBefehl(b, "postgres", {"drop database if exists " + name, "create database " + name + " template " + vorlage},
                  m_fehler))
        return;
    server = QString("postgres:%1:%2").arg(b.host).arg(b.port);
    datenbank = name;
    benutzer = "postgres";
    passwort = "x";
    ziel = Verbindungsziel::ausEingabe(server, datenbank, {});
    m_ok = true;
}

FrischeDatenbank::~FrischeDatenbank() {
    if (m_ok && m_backend.backend == Backend::PostgreSQL) {
        QString f;
        pgBefehl(m_backend, "postgres", {"drop database if exists " + datenbank + " with (force)"}, f);
    }
}

QString programmVerzeichnisFuerTest(QTemporaryDir& dir) {
    setzeProgrammVerzeichnis(dir.path());
    return dir.path();
}

bool pgBefehl(const TestBackend& b, const QString& datenbank, const QStringList& anweisungen, QString& fehler) {
    const QString name = QString("talu_pg_admin_%1").arg(g_nr.fetchAndAddRelaxed(1));
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name);
        db.setHostName(b.host);
        db.setPort(b.port);
        db.setUserName("postgres");
        db.setDatabaseName(datenbank);
        if (!db.open()) {
            fehler = db.lastError().text();
            ok = false;
        } else {
            for (const QString& a : anweisungen) {
                QSqlQuery q(db);
                if (!q.exec(a)) {
                    fehler = a + ": " + q.lastError().text();
                    ok = false;
                    break;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace talu::test
