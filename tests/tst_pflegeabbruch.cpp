// Every maintenance command of talu-pflege killed with SIGKILL at seeded
// random moments on a generated database big enough that the kill mostly
// lands inside the command. After each kill the SQLite file passes its
// integrity check, the tables are exactly as before the command or exactly
// as after one whole run (each command is one transaction), and running the
// command again gives what one uninterrupted run gives. On SQLite and, with
// TALU_TEST_PG, on PostgreSQL. Label "zuverlaessigkeit"; TALU_ABBRUCH_SAAT=N
// changes the seed, TALU_PFLEGE_TOETUNGEN=N the kills per command.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <memory>
#include <random>

#include "BenchDaten.h"
#include "BenchDatenbank.h"
#include "Fixture.h"
#include "TestHilfe.h"
#include <sqlite3.h>
#include "db/Schema.h"
#include "tools/Pflegebefehle.h"

using namespace talu;
using namespace talu::test;

namespace {

// Plots of the generated database: each command then takes some tenths of a second.
constexpr qint64 kGrundstuecke = 12000;
constexpr int kToetungen = 30;

QString werkzeug() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-pflege");
}

int toetungen() {
    return qEnvironmentVariableIsSet("TALU_PFLEGE_TOETUNGEN") ? qMax(1, qEnvironmentVariableIntValue("TALU_PFLEGE_TOETUNGEN"))
                                                              : kToetungen;
}

// The contents of every table, one digest per table: every row in id order
// with every column but the id, which a server's sequence hands out anew
// after a rolled-back insert, and the row count.
using Stand = QMap<QString, QByteArray>;

// sqliteDatei: the file on SQLite (read through the plain library).
Stand stand(const Datenbank& db, const QString& sqliteDatei, const QStringList& nur = {}) {
    Stand s;
    const bool pg = db.backend() == Backend::PostgreSQL;
    sqlite3* h = nullptr;
    if (!pg && sqlite3_open_v2(sqliteDatei.toUtf8().constData(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(h);
        h = nullptr;
    }
    for (const Tabelle& t : schema()) {
        if (!nur.isEmpty() && !nur.contains(t.name)) continue;
        QStringList spalten;
        bool mitId = false;
        for (const Spalte& c : t.spalten) {
            if (c.name == QLatin1String("id")) mitId = true;
            else spalten << c.name;
        }
        if (pg) {
            // The server digests its rows itself: one row each, as text, in id order.
            const Recordset rs = db.abfrage(
                "select count(*) as n, md5(coalesce(string_agg(md5(row(" + spalten.join(", ") + ")::text), ''" +
                (mitId ? QStringLiteral(" order by id") : QStringLiteral(" order by md5(row(") + spalten.join(", ") + ")::text)") +
                "), '')) as summe from " + t.name);
            s.insert(t.name, rs.feld("n").toString().toUtf8() + ":" + rs.feld("summe").toString().toUtf8());
            continue;
        }
        // SQLite: the stored bytes of every column, read as another client would.
        QList<QByteArray> zeilen;
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = ("select " + spalten.join(", ") + " from \"" + t.name + "\"" +
                                (mitId ? " order by id" : "")).toUtf8();
        if (h && sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                QByteArray z;
                for (int i = 0; i < sqlite3_column_count(st); ++i) {
                    const int typ = sqlite3_column_type(st, i);
                    z += char('0' + typ);
                    if (typ == SQLITE_FLOAT) z += QByteArray::number(sqlite3_column_double(st, i), 'g', 17);
                    else if (typ != SQLITE_NULL)
                        z += QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i));
                    z += '\0';
                }
                zeilen << z;
            }
        } else {
            zeilen << QByteArray("Fehler: ") + (h ? sqlite3_errmsg(h) : "nicht geöffnet");
        }
        sqlite3_finalize(st);
        // Without an id the rows have no order of their own.
        if (!mitId) std::sort(zeilen.begin(), zeilen.end());
        QCryptographicHash hash(QCryptographicHash::Sha1);
        for (const QByteArray& z : zeilen) hash.addData(z);
        s.insert(t.name, QByteArray::number(zeilen.size()) + ":" + hash.result().toHex());
    }
    sqlite3_close(h);
    return s;
}

QStringList verschieden(const Stand& a, const Stand& b) {
    QStringList l;
    for (auto it = a.cbegin(); it != a.cend(); ++it)
        if (b.value(it.key()) != it.value()) l << it.key();
    return l;
}

// A prepared database and fresh copies of it: a file copy on SQLite, a
// database made from it as template on PostgreSQL.
class Vorrat {
public:
    explicit Vorrat(const TestBackend& b) : m_b(b) {
        const QString pid = QString::number(QCoreApplication::applicationPid());
        if (b.backend == Backend::SQLite) {
            m_basis = bench::BenchZiel::aus("sqlite", m_dir.filePath("basis.talu"), kGrundstuecke, m_dir.path());
        } else {
            m_basis = bench::BenchZiel::aus(QString("postgres:%1:%2").arg(b.host).arg(b.port),
                                            "talu_pa_basis_" + pid, kGrundstuecke, {});
            m_kopieName = "talu_pa_kopie_" + pid;
        }
        try {
            bench::baueBenchDatenbank(m_basis, bench::Umfang::fuer(kGrundstuecke), bench::Referenzdaten::synthetisch());
            m_ok = true;
        } catch (const DbFehler& e) {
            m_fehler = e.kurz() + ": " + e.serverText() + " / " + e.sql();
        }
    }
    ~Vorrat() {
        if (m_b.backend == Backend::PostgreSQL) {
            QString f;
            admin({"drop database if exists " + m_kopieName + " with (force)"}, f);
        }
        bench::entferneBenchDatenbank(m_basis);
    }
    bool ok() const { return m_ok; }
    QString fehler() const { return m_fehler; }

    // A copy as the prepared database; its server and database fields.
    bool frisch(QString& server, QString& datenbank, QString& fehler) {
        if (m_b.backend == Backend::SQLite) {
            const QString ziel = m_dir.filePath("kopie.talu");
            for (const char* endung : {"", "-wal", "-shm", "-journal"}) QFile::remove(ziel + endung);
            if (!QFile::copy(m_basis.datei, ziel)) {
                fehler = "Kopie gescheitert";
                return false;
            }
            QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner);
            server = "sqlite";
            datenbank = ziel;
            return true;
        }
        server = m_basis.serverFeld();
        datenbank = m_kopieName;
        return admin({"drop database if exists " + m_kopieName + " with (force)",
                      "create database " + m_kopieName + " template " + m_basis.name},
                     fehler);
    }
    bool oeffne(Datenbank& db, QString& fehler) {
        QString server, datenbank;
        if (m_b.backend == Backend::SQLite) {
            server = "sqlite";
            datenbank = m_dir.filePath("kopie.talu");
        } else {
            server = m_basis.serverFeld();
            datenbank = m_kopieName;
        }
        return db.oeffnen(Verbindungsziel::ausEingabe(server, datenbank, {}), m_basis.benutzer, m_basis.passwort,
                          &fehler);
    }
    bool oeffneBasis(Datenbank& db, QString& fehler) {
        return db.oeffnen(m_basis.ziel(), m_basis.benutzer, m_basis.passwort, &fehler);
    }
    QString kopieDatei() const { return m_dir.filePath("kopie.talu"); }
    const bench::BenchZiel& basis() const { return m_basis; }

private:
    bool admin(const QStringList& anweisungen, QString& fehler) {
        return pgBefehl(m_b, QStringLiteral("postgres"), anweisungen, fehler);
    }

    TestBackend m_b;
    QTemporaryDir m_dir;
    bench::BenchZiel m_basis;
    QString m_kopieName;
    bool m_ok = false;
    QString m_fehler;
};

struct Lauf {
    bool beendet = false;  // ended by itself (not killed)
    int code = -1;
    QString aus, fehler;
};

QStringList argumente(const QString& server, const QString& datenbank, const bench::BenchZiel& z,
                      const QString& befehl) {
    // --ja: the clean-up that deletes every plot asks first.
    return {"--server", server, "--datenbank", datenbank, "--benutzer", z.benutzer, "--passwort", z.passwort, "--ja",
            befehl};
}

Lauf ganzerLauf(const QStringList& a) {
    Lauf l;
    QProcess p;
    p.start(werkzeug(), a);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        return l;
    }
    l.beendet = true;
    l.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    l.aus = QString::fromUtf8(p.readAllStandardOutput());
    l.fehler = QString::fromUtf8(p.readAllStandardError());
    return l;
}

}  // namespace

class TstPflegeAbbruch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(werkzeug()).isExecutable(), qPrintable(werkzeug()));
        QVERIFY(pflege::pflegebefehle().size() >= 20);
    }

    // One row per backend and command, each under the test function's time
    // limit; the prepared database and its state are made once per backend.
    void getoetet_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("befehlName");
        for (const TestBackend& b : backends())
            for (const pflege::Pflegebefehl& p : pflege::pflegebefehle())
                QTest::newRow(qPrintable(b.name + ": " + p.name)) << b.name << p.name;
    }
    void getoetet() {
        QFETCH(QString, backend);
        QFETCH(QString, befehlName);
        const TestBackend b = backendNamens(backend);
        if (m_backend != backend) {
            m_vorrat.reset();
            m_backend = backend;
            const unsigned saat = qEnvironmentVariableIsSet("TALU_ABBRUCH_SAAT")
                                      ? unsigned(qEnvironmentVariableIntValue("TALU_ABBRUCH_SAAT"))
                                      : 31u + unsigned(backend.size());
            qInfo() << "Saat" << saat << "(TALU_ABBRUCH_SAAT)";
            m_zufall.seed(saat);
            m_vorrat = std::make_unique<Vorrat>(b);
            QVERIFY2(m_vorrat->ok(), qPrintable(m_vorrat->fehler()));
            Datenbank db;
            QString f;
            QVERIFY2(m_vorrat->oeffneBasis(db, f), qPrintable(f));
            m_vorher = stand(db, m_vorrat->basis().datei);
        }
        QVERIFY2(m_vorrat && m_vorrat->ok(), "keine vorbereitete Datenbank");
        Vorrat& vorrat = *m_vorrat;
        std::mt19937& zufall = m_zufall;
        const Stand& vorher = m_vorher;
        auto standDerKopie = [&](const QStringList& nur) {
            Datenbank db;
            QString f;
            if (!vorrat.oeffne(db, f)) qWarning() << f;
            return stand(db, vorrat.kopieDatei(), nur);
        };

        const pflege::Pflegebefehl* gefunden = pflege::findeBefehl(befehlName);
        QVERIFY(gefunden);
        {
            const pflege::Pflegebefehl& befehl = *gefunden;
            // One whole run: the state after it, which tables it writes, its
            // duration; and a second run on top, for a kill after the commit.
            QString server, datenbank, f;
            QVERIFY2(vorrat.frisch(server, datenbank, f), qPrintable(f));
            const QStringList a = argumente(server, datenbank, vorrat.basis(), befehl.name);
            // The whole run once, timed: when its first progress line came (the
            // program is up and the command at work) and when it ended.
            QElapsedTimer uhr;
            int beginn = -1;
            Lauf l;
            {
                QProcess p;
                p.setReadChannel(QProcess::StandardError);
                uhr.start();
                p.start(werkzeug(), a);
                QByteArray fehlerText;
                while (p.state() != QProcess::NotRunning || p.bytesAvailable() > 0) {
                    if (p.bytesAvailable() == 0 && !p.waitForReadyRead(300000)) break;
                    fehlerText += p.readAllStandardError();
                    if (beginn < 0 && fehlerText.contains('\r')) beginn = int(uhr.elapsed());
                }
                p.waitForFinished(300000);
                l.beendet = p.exitStatus() == QProcess::NormalExit;
                l.code = p.exitCode();
                l.aus = QString::fromUtf8(p.readAllStandardOutput());
                l.fehler = QString::fromUtf8(fehlerText + p.readAllStandardError());
            }
            const int dauer = int(uhr.elapsed());
            if (beginn < 0) beginn = 0;
            QVERIFY2(l.beendet && l.code == 0, qPrintable(befehl.name + ": " + l.aus + l.fehler));
            const Stand nachher = standDerKopie({});
            QStringList geschrieben = verschieden(vorher, nachher);
            // A command with nothing to do on these data is still killed and checked, on every table.
            if (geschrieben.isEmpty()) {
                qInfo().noquote() << befehl.name << "ändert an den erzeugten Daten nichts";
                geschrieben = vorher.keys();
            }
            const Stand vorherT = [&] {
                Stand s;
                for (const QString& t : geschrieben) s.insert(t, vorher.value(t));
                return s;
            }();
            Stand nachherT;
            for (const QString& t : geschrieben) nachherT.insert(t, nachher.value(t));
            l = ganzerLauf(a);
            QVERIFY2(l.beendet && l.code == 0, qPrintable(befehl.name + " (zweiter Lauf): " + l.aus + l.fehler));
            const Stand zweimal = standDerKopie(geschrieben);

            int getoetet = 0, drin = 0, davor = 0, danach = 0, angewandt = 0;
            QElapsedTimer phase;
            phase.start();
            for (int versuch = 0; versuch < toetungen(); ++versuch) {
                QVERIFY2(vorrat.frisch(server, datenbank, f), qPrintable(f));
                // Mostly while the command works; now and then before or after it.
                const int nach = beginn * 3 / 4 + int(zufall() % unsigned(dauer - beginn * 3 / 4 + dauer / 10 + 1));
                QProcess p;
                p.start(werkzeug(), argumente(server, datenbank, vorrat.basis(), befehl.name));
                QVERIFY(p.waitForStarted(10000));
                const bool getoetetHier = !p.waitForFinished(nach);
                if (getoetetHier) {
                    p.kill();  // SIGKILL
                    ++getoetet;
                }
                p.waitForFinished(30000);
                // The command began its work when it reported progress (a line begun with CR).
                const bool begonnen = p.readAllStandardError().contains('\r');
                if (!getoetetHier) ++danach;
                else if (begonnen) ++drin;
                else ++davor;

                const QString wo = QStringLiteral("%1, Versuch %2, nach %3 ms").arg(befehl.name).arg(versuch).arg(nach);
                if (b.backend == Backend::SQLite) {
                    const QStringList pruefung = fremderClient(vorrat.kopieDatei(), "pragma integrity_check");
                    QVERIFY2(pruefung == QStringList{"ok"}, qPrintable(wo + ": " + pruefung.join('\n')));
                }
                const Stand jetzt = standDerKopie(geschrieben);
                const bool unveraendert = jetzt == vorherT, ganz = jetzt == nachherT;
                QVERIFY2(unveraendert || ganz,
                         qPrintable(wo + ": weder vorher noch nachher, abweichend: " +
                                    verschieden(jetzt, nachherT).join(", ")));
                if (ganz) ++angewandt;
                if (!getoetetHier) QVERIFY2(ganz, qPrintable(wo + ": beendet, aber nicht angewandt"));

                // Again, to its end: as one run (or, if the first was already
                // committed, as two runs one after the other).
                l = ganzerLauf(argumente(server, datenbank, vorrat.basis(), befehl.name));
                QVERIFY2(l.beendet && l.code == 0, qPrintable(wo + ", neuer Lauf: " + l.aus + l.fehler));
                const Stand wieder = standDerKopie(geschrieben);
                QVERIFY2(wieder == (ganz ? zweimal : nachherT),
                         qPrintable(wo + ", neuer Lauf weicht ab: " +
                                    verschieden(wieder, ganz ? zweimal : nachherT).join(", ")));
            }
            const QString zeile = QStringLiteral("%1: %2 ms (Arbeit ab %9 ms), %3 Tabelle(n); %4 Abbrüche: %5 mitten im Befehl, %6 vor "
                                                 "seinem Beginn, %7 Läufe schon zu Ende; %8-mal angewandt vorgefunden")
                                      .arg(befehl.name)
                                      .arg(dauer)
                                      .arg(geschrieben.size())
                                      .arg(toetungen())
                                      .arg(drin)
                                      .arg(davor)
                                      .arg(danach)
                                      .arg(angewandt)
                                      .arg(beginn) +
                                  QStringLiteral(" (%1 ms je Versuch)").arg(phase.elapsed() / qMax(1, toetungen()));
            qInfo().noquote() << zeile;
            m_getoetet[backend] += getoetet;
            m_drin[backend] += drin;
        }
    }

    // A good part of the kills must land inside the commands, or the test
    // tests little (the shortest commands work for a few ten milliseconds
    // after the program's start).
    void mittendrin() {
        m_vorrat.reset();
        for (auto it = m_getoetet.cbegin(); it != m_getoetet.cend(); ++it) {
            qInfo().noquote() << QStringLiteral("%1: %2 Befehle, %3 getötet, davon %4 mitten im Befehl")
                                     .arg(it.key())
                                     .arg(pflege::pflegebefehle().size())
                                     .arg(it.value())
                                     .arg(m_drin.value(it.key()));
            QVERIFY(m_drin.value(it.key()) * 3 > it.value());
        }
    }

private:
    QString m_backend;
    std::unique_ptr<Vorrat> m_vorrat;
    std::mt19937 m_zufall;
    Stand m_vorher;
    QMap<QString, int> m_getoetet, m_drin;
};

QTEST_MAIN(TstPflegeAbbruch)
#include "tst_pflegeabbruch.moc"
