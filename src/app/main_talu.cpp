// talu, talu-intern, talu-erfassung: one source, the edition fixed per
// executable (TALU_AUSGABE; 3 is the customer edition as delivered).
#include <QCommandLineParser>
#include <QCoreApplication>

#include "app/ui/modStart.h"
#include "db/Kommandozeile.h"

namespace {

struct Edition {
    const char* programm;
    const char* name;
    const char* inhalt;
};

constexpr Edition edition() {
    switch (TALU_AUSGABE) {
        case 1: return {"talu-intern", "interne Ausgabe", "Abfrage, Erfassen, Rechnungswesen und Sonstiges"};
        case 2: return {"talu-erfassung", "Erfassungsausgabe", "Abfrage und Erfassen"};
        default: return {"talu", "Kundenausgabe", "nur die Abfrage; jede kostenpflichtige Anzeige wird abgerechnet"};
    }
}

// --help and --version with a QCoreApplication, which needs no screen; they end
// the program.
void hilfeOderVersion(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr Edition e = edition();
    QCoreApplication::setApplicationName(QString::fromUtf8(e.programm));
    const QString ausgabe = QStringLiteral("%1 (Ausgabe %2)").arg(QString::fromUtf8(e.name)).arg(TALU_AUSGABE);
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("TALU – Bodenrichtwert- und Standortdatenbank, %1: %2.\n"
                       "Startet mit dem Anmeldeformular; dessen Felder (Server, Datenbank, Benutzer,\n"
                       "Passwort) merkt sich das Programm in der Datei zugang.dat.")
            .arg(ausgabe, QString::fromUtf8(e.inhalt)));
    talu::standardOptionen(p);
    // The other options are Qt's own (-platform, -style, ...): QApplication takes them.
    talu::verarbeite(p, ausgabe, true);
}

}  // namespace

int main(int argc, char** argv) {
    if (talu::fragtHilfeOderVersion(argc, argv)) hilfeOderVersion(argc, argv);
    return talu::Start(argc, argv, TALU_AUSGABE);
}
