// talu-abrechnung: the invoice run, the list of open invoices and the
// appraiser control print-out without an operator, written as PDF files.
// The same code as the menu entries of the internal edition; the closing
// question is answered Yes only with --abschliessen.
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "billing/Ausdrucke.h"
#include "billing/Bediener.h"
#include "billing/PdfAusgabe.h"
#include "billing/Rechnungslauf.h"
#include "db/Datenbank.h"
#include "db/Kommandozeile.h"
#include "billing/RechnungslaufAuftrag.h"
#include "tools/stapel/Stapelauftrag.h"

using namespace talu;
using namespace talu::abrechnung;

int main(int argc, char** argv) {
    // Fonts and PDF need the GUI library, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("talu-abrechnung");
    QTextStream err(stderr);

    QCommandLineParser p;
    p.setApplicationDescription(
        "Rechnungslauf, Liste der offenen Rechnungen und Gutachter-Kontroll-Ausdruck ohne Bediener;\n"
        "jedes Dokument wird als PDF-Datei geschrieben. Ohne --abschliessen wird nichts als\n"
        "abgeschlossen markiert.\n" +
        serverRegelText());
    standardOptionen(p);
    verbindungsOptionen(p);
    p.addOption({"rechnungen", "Rechnungslauf: je Rechnungskunde mit offenen Abfragen eine Rechnung."});
    p.addOption({"offene", "Liste der offenen Rechnungen."});
    p.addOption({"gutachter", "Gutachter-Kontroll-Ausdruck."});
    p.addOption({"abschliessen",
                 "Die Schlussfrage mit Ja beantworten: die gelesenen Abfragen (Rechnungslauf) bzw. Gutachter-Anteile "
                 "als abgeschlossen markieren."});
    p.addOption({"ordner", "Ordner der PDF-Dateien (Vorgabe: " + druck::standardAblage() + ").", "ordner"});
    p.addOption({"leise", "Keinen Fortschritt je Kunde ausgeben."});
    verarbeite(p);

    if (!p.isSet("server") || !p.isSet("datenbank")) {
        err << "Bitte --server und --datenbank angeben (siehe --help).\n";
        return 2;
    }
    if (!p.isSet("rechnungen") && !p.isSet("offene") && !p.isSet("gutachter")) {
        err << "Bitte --rechnungen, --offene und/oder --gutachter angeben (siehe --help).\n";
        return 2;
    }
    Datenbank db;
    if (const int code = oeffneAusOptionen(p, db)) return code;

    druck::PdfAblage ablage(p.isSet("ordner") ? QDir(p.value("ordner")).absolutePath() : druck::standardAblage());
    // Progress on standard error, messages on standard output; the closing
    // question is answered as the command line says.
    stapel::AnzeigeStderr bediener(p.isSet("leise"));
    bediener.setzeAntwort(p.isSet("abschliessen"), p.isSet("abschliessen")
                                                       ? QStringLiteral("Antwort: Ja (--abschliessen)")
                                                       : QStringLiteral("Antwort: Nein (ohne --abschliessen wird "
                                                                        "nichts abgeschlossen)"));
    bool gut = true;
    if (p.isSet("rechnungen")) {
        RechnungslaufAuftrag lauf(ablage);
        stapel::fuehreAus(lauf, db, bediener);
        const LaufErgebnis& e = lauf.ergebnis();
        for (const ErstellteRechnung& r : e.rechnungen)
            QTextStream(stdout) << "Rechnung " << r.nummer << (r.erneut ? " (noch einmal ausgegeben)" : "") << ": "
                                << r.pdfPfad << "\n";
        gut = gut && !e.abgebrochen && e.fehler.isEmpty();
    }
    if (p.isSet("offene")) {
        const AusdruckErgebnis e = druckeRechnungsliste(db, ablage, bediener);
        gut = gut && e.fehler.isEmpty();
    }
    if (p.isSet("gutachter")) {
        const AusdruckErgebnis e = gutachterKontrollAusdruck(db, ablage, bediener);
        gut = gut && e.fehler.isEmpty();
    }
    return gut && bediener.fehlerAnzahl() == 0 ? 0 : 1;
}
