#pragma once
#include <QString>

namespace talu {

enum class Backend { SQLite, PostgreSQL, SQLServer };

// Where the login form's server field points. The rule, also shown on the
// login form when a connection fails:
//   "sqlite"                      -> SQLite file; the database field is its path
//                                    (relative paths lie in the program directory)
//   "postgres:HOST[:PORT]"        -> PostgreSQL server (default port 5432)
//   "odbc:DSN"                    -> a configured ODBC data source (SQL Server)
//   anything else, "HOST[,PORT]"  -> SQL Server through FreeTDS (default port 1433)
struct Verbindungsziel {
    Backend backend = Backend::SQLite;
    QString host;
    int port = 0;
    QString datenbank;  // file path for SQLite, database name otherwise
    QString dsn;        // only for "odbc:"
    QString fehler;     // non-empty when the server field cannot be read
    bool anlegen = false;  // SQLite only: create the file if it is missing (schema tool)

    static Verbindungsziel ausEingabe(const QString& server, const QString& datenbank,
                                      const QString& basisVerzeichnis);
    // ODBC connection string for SQL Server (FreeTDS driver or DSN).
    QString odbcVerbindungstext(const QString& benutzer, const QString& passwort) const;
    QString qtTreiber() const;
};

QString backendName(Backend b);
QString serverRegelText();

}  // namespace talu
