// talu-pflege: the maintenance commands of the "Sonstiges" menu without an
// operator, e.g. for an administrator's nightly job. Progress goes to standard
// error, the end message to standard output; the exit code is 0 only when
// every command named ran to its end.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "db/Datenbank.h"
#include "db/Kommandozeile.h"
#include "tools/Pflegebefehle.h"

using namespace talu;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("talu-pflege");
    QTextStream err(stderr);
    QTextStream out(stdout);

    QStringList namen;
    for (const pflege::Pflegebefehl& b : pflege::pflegebefehle()) namen << "  " + b.name;
    QCommandLineParser p;
    p.setApplicationDescription("Führt Pflegebefehle der TALU-Datenbank aus, nacheinander in der angegebenen "
                                "Reihenfolge; jeder Befehl ist eine Transaktion.\nBefehle:\n" +
                                namen.join('\n') + "\n" + serverRegelText());
    standardOptionen(p);
    verbindungsOptionen(p);
    p.addOption({"leise", "Kein Fortschritt auf der Fehlerausgabe."});
    p.addOption({"ja", QString::fromUtf8("Rückfragen mit Ja beantworten (z. B. vor dem Löschen aller Grundstücke); "
                                         "ohne diese Angabe gilt Nein.")});
    p.addPositionalArgument("befehl", "Ein oder mehrere Befehle (siehe oben).", "befehl...");
    verarbeite(p);

    const QStringList befehle = p.positionalArguments();
    if (!p.isSet("server") || !p.isSet("datenbank") || befehle.isEmpty()) {
        err << "Bitte --server, --datenbank und mindestens einen Befehl angeben (siehe --help).\n";
        return 2;
    }
    for (const QString& b : befehle)
        if (!pflege::findeBefehl(b)) {
            err << "Unbekannter Befehl: " << b << " (siehe --help).\n";
            return 2;
        }
    Datenbank db;
    if (const int code = oeffneAusOptionen(p, db)) return code;
    for (const QString& name : befehle) {
        const pflege::Pflegebefehl* b = pflege::findeBefehl(name);
        std::unique_ptr<stapel::Auftrag> auftrag = b->erzeuge();
        stapel::Ergebnis e;
        QString zaehler;
        {
            stapel::AnzeigeStderr anzeige(p.isSet("leise"));
            if (p.isSet("ja")) anzeige.setzeAntwort(true, QStringLiteral("--ja: Ja."));
            else anzeige.setzeAntwort(false, QStringLiteral("Nein (ohne --ja)."));
            e = stapel::fuehreAus(*auftrag, db, anzeige);
            zaehler = anzeige.zaehlerstand();
        }
        if (e.status != stapel::Ergebnis::Status::Fertig) {
            err << e.meldung << "\n";
            if (!e.serverText.isEmpty()) err << e.serverText << "\n";
            return 1;
        }
        // The command's status text, else its counters; then its end message.
        QStringList zeile;
        if (b->statusText) zeile << b->statusText(*auftrag);
        else if (!zaehler.isEmpty()) zeile << zaehler;
        const QString ende = pflege::endText(*b, *auftrag);
        if (!ende.isEmpty()) zeile << ende;
        out << auftrag->titel() << ": " << zeile.join(' ') << "\n" << Qt::flush;
    }
    return 0;
}
