#include "db/Kommandozeile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <QTranslator>
#include <cstdlib>
#include <cstring>

#include "db/Datenbank.h"

namespace talu {

namespace {

// Qt's texts of QCommandLineParser in German. Installed as a translator of its
// own, so that they do not depend on qt6-translations-l10n or the locale.
class DeutscheParserTexte : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* kontext, const char* quelle, const char*, int) const override {
        if (!kontext || !quelle || std::strcmp(kontext, "QCommandLineParser") != 0) return QString();
        static const struct {
            const char* englisch;
            const char* deutsch;
        } texte[] = {
            {"Usage: %1", "Aufruf: %1"},
            {"[options]", "[Optionen]"},
            {"Options:", "Optionen:"},
            {"Arguments:", "Argumente:"},
            {"Displays help on commandline options.", "Zeigt diese Hilfe an."},
            {"Displays help including Qt specific options.", "Zeigt die Hilfe samt den Optionen von Qt an."},
            {"Displays version information.", "Zeigt Programmname und Version an."},
            {"Unknown option '%1'.", "Unbekannte Option „%1“."},
            {"Unknown options: %1.", "Unbekannte Optionen: %1."},
            {"Missing value after '%1'.", "Nach „%1“ fehlt ein Wert."},
            {"Unexpected value after '%1'.", "Unerwarteter Wert nach „%1“."},
        };
        for (const auto& t : texte)
            if (std::strcmp(quelle, t.englisch) == 0) return QString::fromUtf8(t.deutsch);
        return QString();
    }
};

void installiereDeutscheParserTexte() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->property("talu_deutsche_parsertexte").toBool()) return;
    QCoreApplication::installTranslator(new DeutscheParserTexte(app));
    app->setProperty("talu_deutsche_parsertexte", true);
}

const char* const kHilfe[] = {"h", "help"};
const char* const kVersion[] = {"v", "version"};

}  // namespace

QString projektVersion() {
    return QStringLiteral("%1.%2.%3").arg(TALU_VERSION_MAJOR).arg(TALU_VERSION_MINOR).arg(TALU_VERSION_REVISION);
}

QString versionsZeile(const QString& programm, const QString& zusatz) {
    QString z = programm + QStringLiteral(" (TALU) ") + projektVersion();
    if (!zusatz.isEmpty()) z += QStringLiteral(" – ") + zusatz;
    return z;
}

void standardOptionen(QCommandLineParser& p) {
    p.addOption({{kHilfe[0], kHilfe[1]}, QStringLiteral("Zeigt diese Hilfe an.")});
    p.addOption({{kVersion[0], kVersion[1]}, QStringLiteral("Zeigt Programmname und Version an.")});
}

void verarbeite(QCommandLineParser& p, const QString& versionsZusatz, bool unbekannteZulassen) {
    installiereDeutscheParserTexte();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString name = QCoreApplication::applicationName();
    const bool gelesen = p.parse(QCoreApplication::arguments());
    if (p.isSet(QLatin1String(kHilfe[1]))) {
        out << p.helpText() << Qt::flush;
        std::exit(0);
    }
    if (p.isSet(QLatin1String(kVersion[1]))) {
        out << versionsZeile(name, versionsZusatz) << "\n" << Qt::flush;
        std::exit(0);
    }
    if (!gelesen && !(unbekannteZulassen && !p.unknownOptionNames().isEmpty())) {
        err << name << ": " << p.errorText() << "\n"
            << "Hilfe: " << name << " --help\n"
            << Qt::flush;
        std::exit(2);
    }
}

bool fragtHilfeOderVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!std::strcmp(a, "--")) return false;
        for (const char* const* namen : {kHilfe, kVersion})
            if ((a[0] == '-' && a[1] && !std::strcmp(a + 1, namen[0])) ||
                (!std::strncmp(a, "--", 2) && !std::strcmp(a + 2, namen[1])))
                return true;
    }
    return false;
}

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
