#pragma once
#include <QString>

namespace talu {
class Datenbank;
}

namespace talu::abrechnung {

// Keeps a second invoice run out while one is going, on every computer that
// uses the database. Each backend has a lock that the system itself lets go
// when the holder ends, however it ends (a kill, a lost connection), so that
// an interrupted run never blocks the next one and nobody has to judge from
// a clock whether a holder is still alive:
// - PostgreSQL: a session advisory lock;
// - SQL Server: an application lock owned by the session (sp_getapplock);
// - SQLite: an exclusive lock on a small SQLite file beside the database,
//   held by its own connection, so the database itself stays writable for
//   the lookups that log queries while the run goes on.
// A lock taken in a transaction of the database would do the same on the
// servers, but on SQLite it would stop every other writer for the whole run
// (the closing question included).
class Laufsperre {
public:
    explicit Laufsperre(const Datenbank& db);
    ~Laufsperre();
    Laufsperre(const Laufsperre&) = delete;
    Laufsperre& operator=(const Laufsperre&) = delete;

    // True when taken; false when another run holds it. Throws DbFehler when
    // the lock cannot be asked for.
    bool nimm();
    // False when the lock was lost on the way (the server's session ended).
    bool haeltNoch() const;
    void gibFrei() noexcept;

    static QString belegtText();

private:
    const Datenbank& m_db;
    QString m_verbindung;  // SQLite: the connection to the lock file
    bool m_gehalten = false;
};

}  // namespace talu::abrechnung
