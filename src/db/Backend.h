#pragma once
#include <QList>
#include <QPair>
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
// A server may be followed by "?NAME=WERT&NAME=WERT" for the encryption of
// the connection: PostgreSQL takes libpq's sslmode and sslrootcert, SQL
// Server FreeTDS's encryption. An option that is not known, or a value that
// is not, makes the field unreadable: never a silent default.
struct Verbindungsziel {
    Backend backend = Backend::SQLite;
    QString host;
    int port = 0;
    QString datenbank;  // file path for SQLite, database name otherwise
    QString dsn;        // only for "odbc:"
    QString fehler;     // non-empty when the server field cannot be read
    bool anlegen = false;  // SQLite only: create the file if it is missing (schema tool)
    // The checked options, names in lower case, in the order given.
    QList<QPair<QString, QString>> optionen;

    static Verbindungsziel ausEingabe(const QString& server, const QString& datenbank,
                                      const QString& basisVerzeichnis);
    // ODBC connection string for SQL Server (FreeTDS driver or DSN).
    QString odbcVerbindungstext(const QString& benutzer, const QString& passwort) const;
    // PostgreSQL: the options as libpq's keyword=value pairs, separated by
    // blanks, for the connect options of Qt's driver; empty without options.
    QString pgVerbindungsoptionen() const;
    // The options as they follow the server in the field ("?sslmode=require"),
    // so that a server field built from host and port keeps them.
    QString optionenText() const;
    // The value of an option, or an empty text.
    QString option(const QString& name) const;
    QString qtTreiber() const;
};

QString backendName(Backend b);
QString serverRegelText();

}  // namespace talu
