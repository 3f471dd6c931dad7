#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace talu {
class Datenbank;
}

namespace talu::bench {

struct BenchZiel;

// A value bound to a statement, as the engine received it.
struct Wert {
    enum Art { Null, Ganz, Zahl, Text, Blob };
    Art art = Null;
    qint64 ganz = 0;
    double zahl = 0;
    QByteArray text;  // UTF-8 text or blob bytes
    bool operator==(const Wert&) const = default;
};

// One statement as TALU sent it to the engine: its text and its values.
struct Aufruf {
    QByteArray sql;
    QList<Wert> werte;
    int zeilen = -1;  // rows TALU read (-1 unknown)
    bool liest() const;  // a select (the others are not planned)
};
using Aufrufe = QList<Aufruf>;

// Records the statements that run on one TALU connection while it lives:
// SQLite through sqlite3_trace_v2 on the connection's handle (the values
// read back from the expanded statement), PostgreSQL through libpq's trace
// of the same connection (Qt's PREPARE / EXECUTE pairs put back together).
// So the raw side repeats exactly what TALU did, with the same values.
class Mitschnitt {
public:
    virtual ~Mitschnitt() = default;
    virtual Aufrufe ergebnis() = 0;  // ends the recording
    // PostgreSQL: the round trips of the recording, counted from the
    // protocol (each Sync and each simple Query waits for the server); -1 elsewhere.
    virtual int rundreisen() const { return -1; }
    // Null when the backend or build offers no recording.
    static std::unique_ptr<Mitschnitt> starte(const Datenbank& db);
};

// The values of an SQLite statement: its text with "?" and the text SQLite
// expands with the bound values in their places. False when they do not
// match up.
bool werteAusErweitert(const QByteArray& original, const QByteArray& erweitert, QList<Wert>& werte);
// The values of Qt's "EXECUTE name (v1, v2, ...)" list: quoted texts, NULL,
// numbers, TRUE/FALSE.
bool werteAusExecute(const QByteArray& liste, QList<Wert>& werte);
// One "Query" message of libpq's trace (without timestamps), "" if the line is none.
QByteArray abfrageAusSpur(const QByteArray& zeile);

// A connection through the engine's own C library (sqlite3 / libpq), not Qt.
class RohVerbindung {
public:
    virtual ~RohVerbindung() = default;
    // Runs the statement with its values and reads every column of every row
    // (SQLite: at most zeilen rows when zeilen >= 0, as Qt's SQLite driver
    // fetches rows as they are asked for; PostgreSQL: always the whole
    // result, as Qt's driver receives it); returns the rows read; throws DbFehler.
    virtual int fuehreAus(const Aufruf& a, int zeilen = -1) = 0;
    // The engine's plan of a read, one line per step.
    virtual QStringList plan(const Aufruf& a) = 0;
    virtual QString version() = 0;

    // SQLite: talu_klein() registered through the C API as TALU does
    // (like for like), or not registered and replaced by the built-in
    // lower() (the engine's plain comparison, ASCII only).
    enum class Klein { Registriert, EingebautesLower };
    static std::unique_ptr<RohVerbindung> oeffne(const BenchZiel& z, Klein k, QString* fehler = nullptr);
};

// The statement text with talu_klein( replaced by lower(.
QByteArray mitEingebautemLower(const QByteArray& sql);

// "SCAN grundstuecke", "Seq Scan on abfrageprotokoll": the tables a plan
// reads whole, of those given. A limited read (begrenzt) counts only when its
// plan sorts all rows before the first.
QStringList ganzGelesen(const QStringList& plan, const QStringList& tabellen, bool begrenzt = false);

}  // namespace talu::bench
