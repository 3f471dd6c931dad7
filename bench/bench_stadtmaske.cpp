// Load time of the place form's data on the demo database: every demo place
// is loaded repeatedly; prints the statements per load and the time per load.
// Goal: well under 0.1 s per place. Usage: bench_stadtmaske [runden]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include "db/Datenbank.h"
#include "db/demo/DemoDaten.h"
#include "db/Schema.h"
#include "place/OrtDaten.h"

using namespace talu;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int runden = argc > 1 ? QString(argv[1]).toInt() : 20;

    QTemporaryDir dir;
    Datenbank db;
    Verbindungsziel z;
    z.backend = Backend::SQLite;
    z.datenbank = dir.filePath("bench.talu");
    z.anlegen = true;
    QString fehler;
    if (!db.oeffnen(z, {}, {}, &fehler)) {
        out << "Keine Datenbank: " << fehler << "\n";
        return 1;
    }
    QStringList schluessel;
    try {
        legeSchemaAn(db);
        fuelleDemoDaten(db);
        const Recordset rs = db.abfrage("select distinct gemeindeschluessel from ortsnamen order by gemeindeschluessel");
        for (const QSqlRecord& r : rs.zeilen()) schluessel << r.value(0).toString();
    } catch (const DbFehler& e) {
        out << e.kurz() << ": " << e.serverText() << "\n";
        return 1;
    }

    const OrtDaten daten(db);
    int anweisungen = 0, maxAnweisungen = 0, laeufe = 0;
    qint64 maxNs = 0;
    QElapsedTimer gesamt;
    gesamt.start();
    for (int r = 0; r < runden; ++r)
        for (const QString& s : schluessel) {
            QElapsedTimer t;
            t.start();
            const OrtAnzeige a = daten.lade(s);
            maxNs = qMax(maxNs, t.nsecsElapsed());
            anweisungen += a.anweisungen;
            maxAnweisungen = qMax(maxAnweisungen, a.anweisungen);
            ++laeufe;
        }
    const double msJe = gesamt.nsecsElapsed() / 1e6 / laeufe;
    out << "Orte: " << schluessel.size() << ", Ladevorgänge: " << laeufe << "\n";
    out << "Anweisungen je Ort: " << double(anweisungen) / laeufe << " (höchstens " << maxAnweisungen << ")\n";
    out << "Zeit je Ort: " << QString::number(msJe, 'f', 3) << " ms (langsamster " << QString::number(maxNs / 1e6, 'f', 3)
        << " ms, Ziel < 100 ms)\n";
    return msJe < 100 ? 0 : 2;
}
