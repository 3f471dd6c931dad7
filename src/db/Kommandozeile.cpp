#include "db/Kommandozeile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include "db/Datenbank.h"

namespace talu {

void verbindungsOptionen(QCommandLineParser& p) {
    p.addOption({"server", "Server wie im Anmeldeformular (sqlite, postgres:HOST[:PORT], HOST[,PORT], odbc:DSN).", "server"});
    p.addOption({"datenbank", "Datenbankname bzw. Dateipfad bei SQLite.", "name"});
    p.addOption({"benutzer", "Datenbankbenutzer.", "benutzer", ""});
    p.addOption({"passwort", "Passwort.", "passwort", ""});
}

int oeffneAusOptionen(const QCommandLineParser& p, Datenbank& db) {
    QTextStream err(stderr);
    const Verbindungsziel ziel = Verbindungsziel::ausEingabe(p.value("server"), p.value("datenbank"), QDir::currentPath());
    if (!ziel.fehler.isEmpty()) {
        err << ziel.fehler << "\n";
        return 2;
    }
    QString fehler;
    if (!db.oeffnen(ziel, p.value("benutzer"), p.value("passwort"), &fehler)) {
        err << "Keine Verbindung: " << fehler << "\n";
        return 1;
    }
    return 0;
}

}  // namespace talu
