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

const QStringList& sslModi() {
    static const QStringList m{"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
    return m;
}

// FreeTDS's levels; "strict" (TLS before the login, TDS 8.0) needs FreeTDS 1.4 or later.
const QStringList& verschluesselungsStufen() {
    static const QStringList s{"off", "request", "require", "strict"};
    return s;
}

// Reads "NAME=WERT&NAME=WERT" after the "?" of the server field into z.optionen;
// returns the reason when something in it is not known.
QString leseOptionen(const QString& text, const QString& basisVerzeichnis, Verbindungsziel& z) {
    const bool pg = z.backend == Backend::PostgreSQL;
    const QStringList namen = pg ? QStringList{"sslmode", "sslrootcert"} : QStringList{"encryption"};
    for (const QString& teil : text.split('&')) {
        const QString t = teil.trimmed();
        const int gleich = t.indexOf('=');
        const QString name = (gleich < 0 ? t : t.left(gleich)).trimmed().toLower();
        QString wert = gleich < 0 ? QString() : t.mid(gleich + 1).trimmed();
        if (name.isEmpty())
            return QStringLiteral("Nach \"?\" bzw. \"&\" fehlt eine Verbindungsoption (NAME=WERT)");
        if (!namen.contains(name))
            return QStringLiteral("Unbekannte Verbindungsoption \"%1\" für %2 (möglich: %3)")
                .arg(name, backendName(z.backend), namen.join(", "));
        if (wert.isEmpty()) return QStringLiteral("Die Verbindungsoption \"%1\" hat keinen Wert").arg(name);
        for (const auto& [n, w] : std::as_const(z.optionen))
            if (n == name) return QStringLiteral("Die Verbindungsoption \"%1\" ist doppelt angegeben").arg(name);
        if (name == QLatin1String("sslmode") || name == QLatin1String("encryption")) {
            const QStringList& erlaubt = pg ? sslModi() : verschluesselungsStufen();
            wert = wert.toLower();
            if (!erlaubt.contains(wert))
                return QStringLiteral("Unbekannter Wert \"%1\" für %2 (möglich: %3)").arg(wert, name, erlaubt.join(", "));
        } else if (name == QLatin1String("sslrootcert")) {
            // Qt's driver turns a semicolon into a separator of the options.
            if (wert.contains(';'))
                return QStringLiteral("Der Pfad in sslrootcert darf kein Semikolon enthalten");
            // Relative like an SQLite file; "system" is libpq's name for the system's certificates.
            if (wert != QLatin1String("system") && QDir::isRelativePath(wert) && !basisVerzeichnis.isEmpty())
                wert = QDir(basisVerzeichnis).filePath(wert);
        }
        z.optionen.append({name, wert});
    }
    return {};
}

// A server field without its options: backend, host and port or DSN.
void leseServer(const QString& server, Verbindungsziel& z) {
    const QString klein = server.toLower();
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
        return;
    }
    if (klein.startsWith("odbc:")) {
        z.backend = Backend::SQLServer;
        z.dsn = server.mid(5).trimmed();
        if (z.dsn.isEmpty()) z.fehler = "Kein ODBC-Datenquellenname angegeben";
        return;
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
}

}  // namespace

Verbindungsziel Verbindungsziel::ausEingabe(const QString& serverRoh, const QString& datenbankRoh,
                                            const QString& basisVerzeichnis) {
    Verbindungsziel z;
    QString server = serverRoh.trimmed();
    z.datenbank = datenbankRoh.trimmed();
    // The encryption options follow the server after a "?".
    const int frage = server.indexOf('?');
    const QString optionen = frage < 0 ? QString() : server.mid(frage + 1);
    if (frage >= 0) server = server.left(frage).trimmed();
    const QString klein = server.toLower();
    if (klein == "sqlite") {
        z.backend = Backend::SQLite;
        if (QDir::isRelativePath(z.datenbank) && !basisVerzeichnis.isEmpty())
            z.datenbank = QDir(basisVerzeichnis).filePath(z.datenbank);
        if (frage >= 0)
            z.fehler = QStringLiteral("Eine SQLite-Datei hat keine Verbindungsoptionen (\"?%1\")").arg(optionen);
        return z;
    }
    leseServer(server, z);
    if (frage >= 0 && z.fehler.isEmpty()) z.fehler = leseOptionen(optionen, basisVerzeichnis, z);
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
    // FreeTDS's own attribute; a DSN of another driver sets its encryption in the DSN.
    const QString stufe = option(QStringLiteral("encryption"));
    if (!stufe.isEmpty()) s += "Encryption=" + stufe + ";";
    if (!datenbank.isEmpty()) s += "DATABASE=" + odbcWert(datenbank) + ";";
    s += "UID=" + odbcWert(benutzer) + ";PWD=" + odbcWert(passwort) + ";";
    return s;
}

QString Verbindungsziel::option(const QString& name) const {
    for (const auto& [n, w] : optionen)
        if (n == name) return w;
    return {};
}

QString Verbindungsziel::pgVerbindungsoptionen() const {
    QStringList teile;
    for (const auto& [n, w] : optionen) {
        // libpq's quoting: a value in single quotes, backslash and quote escaped.
        QString q = w;
        q.replace(QLatin1String("\\"), QLatin1String("\\\\"));
        q.replace(QLatin1String("'"), QLatin1String("\\'"));
        teile << n + "='" + q + "'";
    }
    return teile.join(' ');
}

QString Verbindungsziel::optionenText() const {
    QStringList teile;
    for (const auto& [n, w] : optionen) teile << n + "=" + w;
    return teile.isEmpty() ? QString() : "?" + teile.join('&');
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
        "\"odbc:DSN\" oder ein SQL-Server-Name \"HOST[,PORT]\". "
        "Verschlüsselung: PostgreSQL mit \"?sslmode=MODUS\" (disable, allow, prefer, require, "
        "verify-ca, verify-full), dazu \"&sslrootcert=DATEI\" für die eigene Zertifizierungsstelle; "
        "SQL Server mit \"?encryption=STUFE\" (off, request, require, strict)");
}

}  // namespace talu
