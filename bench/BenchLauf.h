#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <limits>
#include <memory>

#include "BenchDatenbank.h"

namespace talu {
struct Publics;
class Datenbank;
}  // namespace talu

namespace talu::bench {

// What every figure works on: the program's shared state with the open
// connection to the benchmark database (customer edition, a benchmark
// user), the database's location and size.
struct Kontext {
    Publics& p;
    const BenchZiel& ziel;
    const Umfang& umfang;
    QString taluProgramm;  // the talu executable, for the start-up figure
    int wiederholungen = 200;
    bool knapp = false;  // smoke run: few repetitions, nothing external
    const Datenbank& db() const;
};

// One row of the table.
struct Ergebnis {
    QString kennung, arbeit, ziel;
    QString einheit = QStringLiteral("ms");
    double p50 = std::numeric_limits<double>::quiet_NaN();
    double p95 = std::numeric_limits<double>::quiet_NaN();
    double rohP50 = std::numeric_limits<double>::quiet_NaN();          // like for like
    double rohP50Einfach = std::numeric_limits<double>::quiet_NaN();   // SQLite with the built-in lower()
    int wiederholungen = 0;
    enum class Stand { Erfuellt, Verfehlt, Offen };
    Stand stand = Stand::Offen;
    QString anmerkung;
    // The plans of its reads: statement, plan lines, tables read whole.
    struct Plan {
        QString sql;
        QStringList zeilen;
        QStringList ganzGelesen;
    };
    QList<Plan> plaene;
    double verhaeltnis() const { return p50 / rohP50; }
    double verhaeltnisEinfach() const { return p50 / rohP50Einfach; }
};

// A figure: one operation of the program, measured against the raw engine
// doing the statements the operation sent, with the same values.
struct Messung {
    QString kennung;  // "P1"; figures added later use their own ("R1", "W1", ...)
    QString arbeit;   // what is measured, in German
    QString ziel;     // the target as text
    double zielP50Ms = 0;     // 0: no limit
    double zielFaktor = 0;    // TALU p50 / raw p50; 0: no limit
    int eingaben = 32;        // distinct inputs, used in turn
    int wiederholungen = 0;   // 0: the run's setting
    int rohZeilen = -1;       // the raw side reads at most this many rows of each read
    // Picks the inputs from the database; optional.
    std::function<void(Kontext&)> vorbereiten;
    // One operation of the program on input i (0 <= i < eingaben).
    std::function<void(Kontext&, int)> talu;
    // After the figure (for example rows it wrote); optional.
    std::function<void(Kontext&)> aufraeumen;
    // After the figure: adds to its row (notes, a target of its own); optional.
    std::function<void(Kontext&, Ergebnis&)> nachher;
    // A figure measured its own way (the start-up): replaces talu and the raw side.
    std::function<QList<Ergebnis>(Kontext&)> eigen;
};

// Figures register themselves from their own file (messung_*.cpp):
//   static const bool r = registriereMessungen(30, [] { return QList<Messung>{...}; });
// Order decides their place in the table.
bool registriereMessungen(int reihenfolge, std::function<QList<Messung>()> erzeuger);
QList<Messung> alleMessungen();

// The large tables: a plan that reads one of them whole is flagged.
const QStringList& grosseTabellen();

// Measures the figures (all, or those whose id is in nur) on the open
// connection in k.p.Verbindung; writes progress and plans to log.
QList<Ergebnis> messe(Kontext& k, QTextStream& log, const QStringList& nur = {});

// The table as Markdown, the plans as text.
QString tabelle(const QList<Ergebnis>& e);
QString planText(const QList<Ergebnis>& e);
// Machine, system and engine the figures were taken on.
QString rechnerText(const Kontext& k);

// Replaces this backend's section of the README with the table; rows of
// other figures already in that section (added by hand or by other
// commands) are kept.
QString fuegeInReadmeEin(const QString& readme, const QString& abschnitt, const QString& kopf,
                         const QList<Ergebnis>& e, const QString& fuss);
bool schreibeReadme(const QString& pfad, const QString& abschnitt, const QString& kopf, const QList<Ergebnis>& e,
                    const QString& fuss, QString* fehler = nullptr);

// Median and 95th percentile (nearest rank) of the samples.
double median(QList<double> werte);
double perzentil(QList<double> werte, double p);

// The user name every benchmark query-log row carries, so they can be removed.
inline const QString kBenchBenutzer = QStringLiteral("talu_bench");

}  // namespace talu::bench
