#pragma once
#include <QString>

#include "BenchDaten.h"
#include "db/Backend.h"

namespace talu {
class Datenbank;
}

namespace talu::bench {

// Where a benchmark database lives: an SQLite file or a database on a
// PostgreSQL server. Its login works in TALU's login form too.
struct BenchZiel {
    Backend backend = Backend::SQLite;
    QString datei;               // SQLite
    QString host;                // PostgreSQL
    int port = 5432;
    QString name;                // PostgreSQL database name
    QString benutzer = QStringLiteral("postgres");
    QString passwort = QStringLiteral("talu");
    QString optionen;            // PostgreSQL: the encryption options, "?sslmode=..." as in the server field

    // "sqlite" or "postgres:HOST:PORT[?OPTIONEN]", as the login form's server field takes it.
    QString serverFeld() const;
    QString datenbankFeld() const;
    QString beschreibung() const;
    Verbindungsziel ziel(bool anlegen = false) const;

    // server: "sqlite" or "postgres:HOST[:PORT]"; datenbank empty: the
    // default for the size (talu-bench-<plots>.talu beside the program, or
    // database talu_bench_<plots>).
    static BenchZiel aus(const QString& server, const QString& datenbank, qint64 grundstuecke,
                         const QString& standardVerzeichnis);
};

// Opens the benchmark database; false with the reason in *fehler.
bool oeffneBenchDatenbank(Datenbank& db, const BenchZiel& z, QString* fehler = nullptr);

// True when the database exists, is complete and was made by this
// generator version for this size; otherwise *grund says why not.
bool benchDatenbankFertig(const BenchZiel& z, qint64 grundstuecke, QString* grund = nullptr);

// Replaces any database at z with a new, empty one and fills it; marks it
// complete at the end, so that an interrupted build is never mistaken for
// a finished one. Throws DbFehler.
Erzeugt baueBenchDatenbank(const BenchZiel& z, const Umfang& u, const Referenzdaten& ref,
                           const FortschrittsMeldung& meldung = {});

// Removes the database (file or server database).
bool entferneBenchDatenbank(const BenchZiel& z, QString* fehler = nullptr);

}  // namespace talu::bench
