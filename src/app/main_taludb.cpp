// talu-db: creates an empty TALU database with the schema on any backend,
// optionally filled with the demo data.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include "db/Datenbank.h"
#include "db/demo/DemoDaten.h"
#include "db/Kommandozeile.h"
#include "db/Schema.h"

using namespace talu;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("talu-db");
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser p;
    p.setApplicationDescription(
        "Legt eine TALU-Datenbank mit allen Tabellen an, auf Wunsch mit Demodaten.\n" + serverRegelText());
    standardOptionen(p);
    verbindungsOptionen(p);
    p.addOption({"demo", "Demodaten einfügen."});
    p.addOption({"ersetzen", "Eine vorhandene SQLite-Datei bzw. PostgreSQL-Datenbank vorher löschen."});
    p.addOption({"ddl", "Nur die CREATE-Anweisungen ausgeben (sqlite, postgres oder sqlserver).", "backend"});
    p.addOption({"suchspalten",
                 "In einer vorhandenen Datenbank die Suchspalten (ort_suche, strassen_name_suche) anlegen, "
                 "wo sie fehlen, und neu berechnen, z. B. nach Änderungen mit anderen Programmen."});
    verarbeite(p);

    if (p.isSet("ddl")) {
        const QString b = p.value("ddl").toLower();
        const Backend be = b.startsWith("post") ? Backend::PostgreSQL
                           : b.startsWith("sqlserver") || b.startsWith("mssql") ? Backend::SQLServer
                                                                                 : Backend::SQLite;
        for (const QString& a : ddl(Dialekt(be))) out << a << ";\n";
        return 0;
    }
    if (!p.isSet("server") || !p.isSet("datenbank")) {
        err << "Bitte --server und --datenbank angeben (siehe --help).\n";
        return 2;
    }
    Verbindungsziel ziel = Verbindungsziel::ausEingabe(p.value("server"), p.value("datenbank"), QDir::currentPath());
    if (!ziel.fehler.isEmpty()) {
        err << ziel.fehler << "\n";
        return 2;
    }
    const QString benutzer = p.value("benutzer");
    const QString passwort = p.value("passwort");

    if (p.isSet("suchspalten")) {
        Datenbank db;
        QString fehler;
        if (!db.oeffnen(ziel, benutzer, passwort, &fehler)) {
            err << "Keine Verbindung: " << fehler << "\n";
            return 1;
        }
        try {
            const qint64 n = db.erneuereSuchspalten([&err](const QString& tabelle, qint64 zeilen) {
                err << "\r" << tabelle << ": " << zeilen << " Zeilen" << Qt::flush;
            });
            err << "\n";
            out << "Suchspalten neu berechnet: " << n << " Zeilen.\n";
        } catch (const DbFehler& e) {
            err << "\n" << e.kurz() << ": " << e.serverText() << "\n" << e.sql() << "\n";
            return 1;
        }
        return 0;
    }

    if (ziel.backend == Backend::SQLite) {
        if (QFile::exists(ziel.datenbank)) {
            if (!p.isSet("ersetzen")) {
                err << "Die Datei " << ziel.datenbank << " gibt es schon (--ersetzen löscht sie).\n";
                return 1;
            }
            QFile::remove(ziel.datenbank);
        }
        ziel.anlegen = true;
    } else if (ziel.backend == Backend::PostgreSQL) {
        // The database itself is made on the server's maintenance database, in
        // UTF-8 with a Unicode-aware character classification for lower().
        Verbindungsziel wartung = ziel;
        wartung.datenbank = "postgres";
        Datenbank w;
        QString fehler;
        if (!w.oeffnen(wartung, benutzer, passwort, &fehler)) {
            err << "Keine Verbindung zum PostgreSQL-Server: " << fehler << "\n";
            return 1;
        }
        try {
            const bool da = !w.abfrage("select 1 from pg_database where datname = ?", {ziel.datenbank}).leer();
            // Database names cannot be bound; allow only plain identifiers.
            static const QRegularExpression plain("^[A-Za-z_][A-Za-z0-9_]*$");
            if (!plain.match(ziel.datenbank).hasMatch()) {
                err << "Ungültiger Datenbankname: " << ziel.datenbank << "\n";
                return 2;
            }
            if (da && !p.isSet("ersetzen")) {
                err << "Die Datenbank " << ziel.datenbank << " gibt es schon (--ersetzen löscht sie).\n";
                return 1;
            }
            // Quoted, so that the name keeps its letter case as the connection uses it.
            const QString name = "\"" + ziel.datenbank + "\"";
            if (da) w.ausfuehren("drop database " + name + " with (force)");
            w.ausfuehren("create database " + name +
                         " template template0 encoding 'UTF8' lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'");
        } catch (const DbFehler& e) {
            err << e.kurz() << ": " << e.serverText() << "\n";
            return 1;
        }
    }

    Datenbank db;
    QString fehler;
    if (!db.oeffnen(ziel, benutzer, passwort, &fehler)) {
        err << "Keine Verbindung: " << fehler << "\n";
        return 1;
    }
    try {
        legeSchemaAn(db);
        out << "Tabellen angelegt: " << schema().size() << "\n";
        if (p.isSet("demo")) {
            fuelleDemoDaten(db);
            out << "Demodaten eingefügt.\n";
        }
    } catch (const DbFehler& e) {
        err << e.kurz() << ": " << e.serverText() << "\n" << e.sql() << "\n";
        return 1;
    }
    return 0;
}
