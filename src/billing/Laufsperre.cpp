#include "billing/Laufsperre.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "db/Datenbank.h"

namespace talu::abrechnung {

namespace {

// The key of the run's lock ("TALU", invoice run).
constexpr int kKlasse = 0x54414c55;
constexpr int kSchluessel = 1;
const QString kName = QStringLiteral("talu_rechnungslauf");

QAtomicInt g_zaehler;

}  // namespace

Laufsperre::Laufsperre(const Datenbank& db) : m_db(db) {}

Laufsperre::~Laufsperre() { gibFrei(); }

QString Laufsperre::belegtText() {
    return QStringLiteral(
        "Ein anderer Rechnungslauf ist gerade in Arbeit. Es wurde keine Rechnung erstellt.\n"
        "Bitte warten Sie, bis er beendet ist (auch seine Schlussfrage), und starten Sie den Rechnungslauf dann "
        "erneut.");
}

bool Laufsperre::nimm() {
    if (m_gehalten) return true;
    switch (m_db.backend()) {
        case Backend::PostgreSQL:
            m_gehalten = m_db.wert("select pg_try_advisory_lock(?, ?)", {kKlasse, kSchluessel}).toBool();
            break;
        case Backend::SQLServer:
            m_db.ausfuehren("exec sp_getapplock @Resource = ?, @LockMode = 'Exclusive', @LockOwner = 'Session', "
                            "@LockTimeout = 0",
                            {kName});
            m_gehalten = haeltNoch();
            break;
        case Backend::SQLite: {
            const QFileInfo datei(m_db.qt().databaseName());
            const QString pfad =
                (datei.exists() ? datei.canonicalFilePath() : datei.absoluteFilePath()) + QStringLiteral("-rechnungslauf");
            m_verbindung = QStringLiteral("talu_laufsperre_%1").arg(g_zaehler.fetchAndAddRelaxed(1));
            bool frei = false;
            QString fehler;
            {
                QSqlDatabase s = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
                s.setDatabaseName(pfad);
                // A held lock is a refusal, not a wait; but two runs started
                // together touch the file for an instant each, and without
                // any patience both were refused although neither ran. A few
                // milliseconds ride that out; a real run holds it far longer.
                s.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=25"));
                if (!s.open()) {
                    fehler = s.lastError().text();
                } else {
                    QSqlQuery q(s);
                    frei = q.exec(QStringLiteral("begin exclusive"));
                    if (!frei && !q.lastError().text().contains(QLatin1String("locked"), Qt::CaseInsensitive))
                        fehler = q.lastError().text();
                    if (!frei) s.close();
                }
            }
            if (!frei) {
                QSqlDatabase::removeDatabase(m_verbindung);
                m_verbindung.clear();
                if (!fehler.isEmpty())
                    throw DbFehler(QStringLiteral("Die Sperrdatei des Rechnungslaufs kann nicht benutzt werden"),
                                   pfad + QStringLiteral(": ") + fehler);
            }
            m_gehalten = frei;
            break;
        }
    }
    return m_gehalten;
}

bool Laufsperre::haeltNoch() const {
    switch (m_db.backend()) {
        case Backend::PostgreSQL:
            return m_db
                       .wert("select count(*) from pg_locks where locktype = 'advisory' and granted and pid = "
                             "pg_backend_pid() and classid = ? and objid = ? and objsubid = 2",
                             {kKlasse, kSchluessel})
                       .toInt() > 0;
        case Backend::SQLServer:
            return m_db.wert("select applock_mode('public', ?, 'Session')", {kName}).toString() ==
                   QLatin1String("Exclusive");
        case Backend::SQLite:
            // The lock file's connection is this process's own.
            return m_gehalten;
    }
    return false;
}

void Laufsperre::gibFrei() noexcept {
    if (!m_gehalten) return;
    m_gehalten = false;
    try {
        switch (m_db.backend()) {
            case Backend::PostgreSQL:
                if (m_db.istOffen()) m_db.wert("select pg_advisory_unlock(?, ?)", {kKlasse, kSchluessel});
                break;
            case Backend::SQLServer:
                if (m_db.istOffen())
                    m_db.ausfuehren("exec sp_releaseapplock @Resource = ?, @LockOwner = 'Session'", {kName});
                break;
            case Backend::SQLite:
                break;
        }
    } catch (...) {
        // The server lets go of the lock with the session anyway.
    }
    if (!m_verbindung.isEmpty()) {
        {
            QSqlDatabase s = QSqlDatabase::database(m_verbindung, false);
            QSqlQuery(s).exec(QStringLiteral("rollback"));
            s.close();
        }
        QSqlDatabase::removeDatabase(m_verbindung);
        m_verbindung.clear();
    }
}

}  // namespace talu::abrechnung
