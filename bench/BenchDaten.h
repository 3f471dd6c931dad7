#pragma once
#include <QDate>
#include <QMap>
#include <QString>
#include <functional>

#include "Referenzdaten.h"

namespace talu {
class Datenbank;
}

namespace talu::bench {

// How many rows a generated database gets. Everything follows the number of
// plots: 2,000,000 is the size of Germany (about 11,000 municipalities,
// 13,000 places, 60,000 streets, 500,000 query-log rows of 1,000 customers).
// The 16 states, 38 region keys and 401 districts never shrink; every
// district keeps at least one municipality.
struct Umfang {
    qint64 grundstuecke = 2000000;
    int gemeinden = 0;
    int orte = 0;  // rows of ortsnamen; several share one municipality key
    int strassen = 0;
    int protokoll = 0;  // query-log rows
    int kunden = 0;     // invoice customers
    int gebaeude = 0;   // rows of geb111 and of gebäude each
    int stagingStrassen = 0;  // rows of str111 and of strassen each
    int pogos = 0, mosaic = 0, aurich = 0;
    int zonenStrassen = 0, zonen = 0;  // import_11062002_1 and _2
    int zugangsprotokoll = 0;

    static constexpr qint64 kDeutschland = 2000000;
    static constexpr qint64 kKleinste = 1000;
    static Umfang fuer(qint64 grundstuecke);
};

// What the generator wrote.
struct Erzeugt {
    QMap<QString, qint64> zeilen;  // rows per table
    qint64 summe() const;
    double sekundenZeilen = 0;   // writing the rows
    double cpuSekundenZeilen = 0;  // CPU time of this process meanwhile (the engine's work on SQLite included)
    double sekundenIndexe = 0;   // indexes and statistics afterwards
    QString art;                 // how the rows were written
    bool echteNamen = false;     // names and keys from the reference files
    double zeilenJeSekunde() const { return sekundenZeilen > 0 ? summe() / sekundenZeilen : 0; }
    double zeilenJeCpuSekunde() const { return cpuSekundenZeilen > 0 ? summe() / cpuSekundenZeilen : 0; }
};

struct Fortschritt {
    QString tabelle;
    qint64 tabelleFertig = 0, tabelleGesamt = 0;
    qint64 alleFertig = 0;  // rows of all tables so far
    double sekunden = 0;
};
using FortschrittsMeldung = std::function<void(const Fortschritt&)>;

// The last day of the generated query log; the log covers the two years up to it.
QDate protokollEnde();

// The generator's version: a database made by another version is rebuilt.
constexpr int kGeneratorVersion = 1;

// Creates the schema in an empty database, fills every table with rows of
// size u (deterministic: the same size gives the same rows on every backend)
// and builds the indexes afterwards. Throws DbFehler.
Erzeugt erzeugeBenchDaten(const Datenbank& db, const Umfang& u, const Referenzdaten& ref,
                          const FortschrittsMeldung& meldung = {});

}  // namespace talu::bench
