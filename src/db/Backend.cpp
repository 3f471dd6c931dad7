#include "db/Backend.h"

#include <QDir>

namespace talu {

namespace {
// ODBC connection-string values containing ';' or braces must be braced.
QString odbcWert(const QString& w) {
    if (w.contains(';') || w.contains('{') || w.contains('}') || w.startsWith(' ') || w.endsWith(' ')) {
        QString e = w;
        e.replace("}", "}}");
        return "{" + e + "}";
    }
    return w;
}
}  // namespace

Verbindungsziel Verbindungsziel::ausEingabe(const QString& serverRoh, const QString& datenbankRoh,
                                            const QString& basisVerzeichnis) {
    Verbindungsziel z;
    const QString server = serverRoh.trimmed();
    z.datenbank = datenbankRoh.trimmed();
    const QString klein = server.toLower();
    if (klein == "sqlite") {
        z.backend = Backend::SQLite;
        if (QDir::isRelativePath(z.datenbank) && !basisVerzeichnis.isEmpty())
            z.datenbank = QDir(basisVerzeichnis).filePath(z.datenbank);
        return z;
    }
    if (klein.startsWith("postgres:") || klein.startsWith("postgresql:")) {
        z.backend = Backend::PostgreSQL;
        QString rest = server.mid(server.indexOf(':') + 1);
        z.port = 5432;
        const int dp = rest.lastIndexOf(':');
        if (dp >= 0) {
            bool ok = false;
            const int p = rest.mid(dp + 1).toInt(&ok);
            if (!ok || p <= 0 || p > 65535) {
                z.fehler = QString("Ungültiger Port \"%1\"").arg(rest.mid(dp + 1));
            } else {
                z.port = p;
            }
            rest = rest.left(dp);
        }
        z.host = rest.isEmpty() ? QStringLiteral("localhost") : rest;
        return z;
    }
    if (klein.startsWith("odbc:")) {
        z.backend = Backend::SQLServer;
        z.dsn = server.mid(5).trimmed();
        if (z.dsn.isEmpty()) z.fehler = "Kein ODBC-Datenquellenname angegeben";
        return z;
    }
    z.backend = Backend::SQLServer;
    z.port = 1433;
    QString host = server;
    const int komma = host.lastIndexOf(',');
    if (komma >= 0) {
        bool ok = false;
        const int p = host.mid(komma + 1).trimmed().toInt(&ok);
        if (!ok || p <= 0 || p > 65535)
            z.fehler = QString("Ungültiger Port \"%1\"").arg(host.mid(komma + 1));
        else
            z.port = p;
        host = host.left(komma).trimmed();
    }
    z.host = host;
    return z;
}

QString Verbindungsziel::odbcVerbindungstext(const QString& benutzer, const QString& passwort) const {
    QString s;
    if (!dsn.isEmpty()) {
        s = "DSN=" + odbcWert(dsn) + ";";
    } else {
        s = "DRIVER={FreeTDS};SERVER=" + odbcWert(host) + ";PORT=" + QString::number(port) +
            ";TDS_Version=7.4;ClientCharset=UTF-8;";
    }
    if (!datenbank.isEmpty()) s += "DATABASE=" + odbcWert(datenbank) + ";";
    s += "UID=" + odbcWert(benutzer) + ";PWD=" + odbcWert(passwort) + ";";
    return s;
}

QString Verbindungsziel::qtTreiber() const {
    switch (backend) {
        case Backend::SQLite: return "QSQLITE";
        case Backend::PostgreSQL: return "QPSQL";
        case Backend::SQLServer: return "QODBC";
    }
    return {};
}

QString backendName(Backend b) {
    switch (b) {
        case Backend::SQLite: return "SQLite";
        case Backend::PostgreSQL: return "PostgreSQL";
        case Backend::SQLServer: return "SQL Server";
    }
    return {};
}

QString serverRegelText() {
    return QStringLiteral(
        "Server: \"sqlite\" (Datenbank = Dateipfad), \"postgres:HOST[:PORT]\", "
        "\"odbc:DSN\" oder ein SQL-Server-Name \"HOST[,PORT]\"");
}

}  // namespace talu
