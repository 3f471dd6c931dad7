// talu-bench: builds the Germany-sized benchmark database once (kept between
// runs), then measures every figure of the program against the raw engine and
// writes the table into bench/README.md.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

#include "BenchDatenbank.h"
#include "BenchLauf.h"
#include "ZeilenSchreiber.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "db/Kommandozeile.h"

using namespace talu;
using namespace talu::bench;

namespace {

QString tausend(double n) { return QLocale(QLocale::German).toString(qint64(std::llround(n))); }

// One progress line on stderr, rewritten in place.
void fortschritt(const Fortschritt& f) {
    QString t;
    if (f.tabelleGesamt > 0)
        t = QString("%1: %2 / %3").arg(f.tabelle, tausend(double(f.tabelleFertig)), tausend(double(f.tabelleGesamt)));
    else
        t = f.tabelle;
    t += QString(" – %1 Zeilen, %2 s, %3 Zeilen/s")
             .arg(tausend(double(f.alleFertig)), QString::number(f.sekunden, 'f', 1),
                  tausend(f.sekunden > 0 ? double(f.alleFertig) / f.sekunden : 0));
    std::fprintf(stderr, "\r%-110s", t.toUtf8().constData());
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("talu-bench");
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser p;
    p.setApplicationDescription(
        "Erzeugt eine Datenbank in der Größe Deutschlands (einmal, sie bleibt erhalten) und misst jede "
        "Zahl von TALU gegen die Datenbank selbst.");
    standardOptionen(p);
    const QCommandLineOption server("server", "sqlite oder postgres:HOST[:PORT]", "server", "sqlite");
    const QCommandLineOption datenbank("datenbank", "Datei bzw. Datenbankname (Vorgabe nach Größe)", "name");
    const QCommandLineOption groesse("grundstuecke", "Größe: Zahl der Grundstücke (Vorgabe 2000000)", "n", "2000000");
    const QCommandLineOption benutzer("benutzer", "Benutzer (PostgreSQL)", "name", "postgres");
    const QCommandLineOption passwort("passwort", "Passwort (PostgreSQL)", "text", "talu");
    const QCommandLineOption neu("neu", "Datenbank neu erzeugen, auch wenn sie fertig ist");
    const QCommandLineOption nurErzeugen("nur-erzeugen", "nur die Datenbank erzeugen, nichts messen");
    const QCommandLineOption runden("wiederholungen", "Wiederholungen je Messung (Vorgabe 200)", "n", "200");
    const QCommandLineOption nur("nur", "nur diese Messungen, z. B. P1,P7a", "liste");
    const QCommandLineOption relais("relais",
                                    "der Server wird über ein Relais mit MS Verzögerung je Richtung erreicht "
                                    "(latenz-proxy.py); die Tabelle steht in einem eigenen Abschnitt",
                                    "ms");
    const QCommandLineOption readme("readme", "Tabelle in diese Datei schreiben", "pfad",
                                    QStringLiteral(TALU_BENCH_QUELLVERZEICHNIS "/bench/README.md"));
    const QCommandLineOption ohneReadme("ohne-readme", "die README nicht ändern");
    const QCommandLineOption knapp("knapp", "Kurzlauf: 2 Wiederholungen, ohne Startmessung (Probe)");
    const QCommandLineOption talu("talu", "das zu startende talu-Programm", "pfad", QStringLiteral(TALU_BENCH_TALU_EXE));
    const QCommandLineOption daten("daten", "Verzeichnis der Referenzdaten (kreise.csv, postleitzahlen_orte.tsv)", "pfad");
    p.addOptions({server, datenbank, groesse, benutzer, passwort, neu, nurErzeugen, runden, nur, relais, readme, ohneReadme, knapp,
                  talu, daten});
    verarbeite(p);

    const Umfang u = Umfang::fuer(p.value(groesse).toLongLong());
    BenchZiel ziel = BenchZiel::aus(p.value(server), p.value(datenbank), u.grundstuecke,
                                   QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
    ziel.benutzer = p.value(benutzer);
    ziel.passwort = p.value(passwort);
    QString abschnitt = ziel.backend == Backend::SQLite ? "sqlite" : "postgres";
    if (p.isSet(relais) && ziel.backend != Backend::SQLite) abschnitt += "-relais";

    QList<Ergebnis> ergebnisse;
    try {
        QString grund;
        if (p.isSet(neu) || !benchDatenbankFertig(ziel, u.grundstuecke, &grund)) {
            if (!p.isSet(neu)) err << "Erzeuge " << ziel.beschreibung() << ": " << grund << "\n";
            err.flush();
            const QString dir = p.isSet(daten) ? p.value(daten) : Referenzdaten::standardVerzeichnis();
            const Referenzdaten ref = Referenzdaten::lade(dir);
            const Erzeugt e = baueBenchDatenbank(ziel, u, ref, fortschritt);
            std::fprintf(stderr, "\n");
            const double gesamt = e.sekundenZeilen + e.sekundenIndexe;
            out << "Erzeugt: " << tausend(double(e.summe())) << " Zeilen in " << QString::number(e.sekundenZeilen, 'f', 1)
                << " s (" << tausend(e.zeilenJeSekunde()) << " Zeilen/s; " << tausend(e.zeilenJeCpuSekunde())
                << " Zeilen je CPU-Sekunde), Indexe und Statistik "
                << QString::number(e.sekundenIndexe, 'f', 1) << " s; " << e.art << "; Namen "
                << (e.echteNamen ? "aus den Referenzdaten" : "erzeugt") << "\n";
            for (auto it = e.zeilen.cbegin(); it != e.zeilen.cend(); ++it)
                out << "  " << it.key() << ": " << tausend(double(it.value())) << "\n";
            Ergebnis g;
            g.kennung = "G1";
            g.arbeit = "Datenbank erzeugen (" + tausend(double(e.summe())) + " Zeilen, mit Indexen)";
            g.ziel = ziel.backend == Backend::SQLite && u.grundstuecke == Umfang::kDeutschland
                         ? "≥ 200.000 Zeilen/s, < 2 min"
                         : "–";
            g.einheit = "s";
            g.p50 = gesamt;
            g.wiederholungen = 1;
            g.anmerkung = tausend(e.zeilenJeSekunde()) + " Zeilen/s beim Schreiben (" + tausend(e.zeilenJeCpuSekunde()) +
                          " je CPU-Sekunde), " + tausend(e.summe() / gesamt) + " Zeilen/s mit Indexen";
            // The targets are those of the full size; smaller databases pay the fixed costs more.
            if (ziel.backend == Backend::SQLite && u.grundstuecke == Umfang::kDeutschland)
                g.stand = e.zeilenJeSekunde() >= 200000 && gesamt < 120 ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
            ergebnisse << g;
        } else {
            out << "Vorhanden: " << ziel.beschreibung() << " (" << tausend(double(u.grundstuecke)) << " Grundstücke)\n";
        }
    } catch (const DbFehler& f) {
        std::fprintf(stderr, "\n");
        err << f.kurz() << ": " << f.serverText() << "\n" << f.sql() << "\n";
        return 1;
    }
    out.flush();
    if (p.isSet(nurErzeugen)) return 0;

    Publics& pub = publics();
    QString fehler;
    if (!oeffneBenchDatenbank(pub.Verbindung, ziel, &fehler)) {
        err << "Keine Verbindung: " << fehler << "\n";
        return 1;
    }
    Kontext k{pub, ziel, u, p.value(talu), qMax(3, p.value(runden).toInt()), p.isSet(knapp)};
    const QString rechner = rechnerText(k);
    out << "Rechner: " << rechner << "\n";
    out << "Messungen (" << k.wiederholungen << " Wiederholungen, TALU und Rohseite abwechselnd):\n";
    out.flush();
    QStringList auswahl;
    if (p.isSet(nur)) auswahl = p.value(nur).split(',', Qt::SkipEmptyParts);
    ergebnisse += messe(k, out, auswahl);

    out << "\n" << tabelle(ergebnisse) << "\nAbfragepläne:\n" << planText(ergebnisse);
    out.flush();

    if (!p.isSet(ohneReadme)) {
        const QString ueber = p.isSet(relais) && ziel.backend != Backend::SQLite
                                  ? QStringLiteral(" über ein Relais mit %1 ms Verzögerung je Richtung").arg(p.value(relais))
                                  : QString();
        const QString kopf =
            QString("### `talu-bench`: %1%7, %2 Grundstücke\n\n"
                    "TALU gegen die Datenbank selbst: dieselben Anweisungen mit denselben Werten über die "
                    "C-Bibliothek der Datenbank, abwechselnd im selben Lauf; Median (p50) und 95. Perzentil. "
                    "Zuletzt gemessen am %3 mit `talu-bench --server %4` auf: %5.%6")
                .arg(ziel.backend == Backend::SQLite ? "SQLite" : "PostgreSQL", tausend(double(u.grundstuecke)),
                     QDateTime::currentDateTime().toString("dd.MM.yyyy hh:mm"),
                     ziel.backend == Backend::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgres:HOST:PORT"),
                     rechner,
                     ziel.backend == Backend::SQLite
                         ? QStringLiteral(
                               "\n\nWo TALU Namen ohne Groß/Klein mit `talu_klein()` vergleicht, hat die Rohseite dieselbe "
                               "Funktion über die C-Schnittstelle angemeldet: diese Zahl ist der Vergleich von Gleichem mit "
                               "Gleichem. In Klammern steht die Rohseite mit SQLites eingebautem `lower()`, das nur ASCII "
                               "faltet (Ü bleibt Ü), und das Verhältnis dazu: so viel kostet die Unicode-Faltung selbst.")
                         : QString())
                .arg(ueber);
        // A partial run says which rows it measured; the others stay from before.
        QStringList gemessen;
        for (const Ergebnis& e : ergebnisse) gemessen << e.kennung;
        const QString teil = auswahl.isEmpty() ? QString()
                                               : " In diesem Lauf gemessen: " + gemessen.join(", ") +
                                                     "; die übrigen Zeilen stammen aus früheren Läufen.";
        QStringList ganz;
        for (const Ergebnis& e : ergebnisse)
            for (const Ergebnis::Plan& pl : e.plaene)
                for (const QString& t : pl.ganzGelesen) ganz << e.kennung + ": " + t;
        ganz.removeDuplicates();
        const QString fuss = (ganz.isEmpty() ? QStringLiteral("Kein Abfrageplan liest eine große Tabelle ganz.")
                                             : "Pläne, die eine große Tabelle ganz lesen: " + ganz.join("; ") + ".") +
                             teil;
        if (!schreibeReadme(p.value(readme), abschnitt, kopf, ergebnisse, fuss, &fehler)) {
            err << "README nicht geschrieben: " << fehler << "\n";
            return 1;
        }
        out << "Tabelle geschrieben: " << p.value(readme) << "\n";
    }
    return 0;
}
