#include "kit/modPublics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace talu {

namespace {
QString g_programmVerzeichnis;

bool beschreibbar(const QString& dir) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(QDir(dir).filePath("talu_probe_XXXXXX"));
    return probe.open();
}
}  // namespace

void Publics::zuruecksetzen() {
    ServerName.clear(); DatenbankName.clear(); DbBenutzer.clear(); DbPasswort.clear();
    RsSuche.schliessen(); RsGutachter.schliessen(); RsBenutzer.schliessen();
    RsKreise.schliessen(); RsOrtsdaten.schliessen(); RsKunden.schliessen();
    Modus.clear(); SuchArt.clear();
    AktPlz.clear(); AktOrt.clear(); AktGemeindeschluessel.clear(); AktOrtAnzeige.clear();
    AktOrtId = 0;
    OrtsAbfrage.clear();
    RsOrtVorab.schliessen(); OrtVorabSchluessel.clear(); OrtVorabId = 0;
    OrtFuerNeuesGrundstueck = StrassenEintrag = OrtAbgerechnet = false;
    PreisBodenrichtwert = PreisGutachter = 0;
    AuswahlFuerStadtMaske = false;
    GewaehlterKreis.clear(); GewaehlteKreisId = 0;
    GewaehlterGutachter.clear(); GewaehlteGutachterId = 0;
    StrassenPlz.clear(); StrassenStadt.clear(); StrassenStadtteil.clear(); StrassenOrtId = 0;
    MarktTabelle.clear(); MarktTitel.clear();
    Editiermodus = false;
    Ausgabe = 3;
}

Publics& publics() {
    // Qt's table of connections must outlive the shared connection, or closing
    // it at program end touches a destroyed table: create that table first.
    [[maybe_unused]] static const bool sqlTabelle = QSqlDatabase::contains(QString());
    static Publics p;
    return p;
}

QString versionsText() {
    return QString("%1.%2%3").arg(TALU_VERSION_MAJOR).arg(TALU_VERSION_MINOR).arg(TALU_VERSION_REVISION);
}

void setzeProgrammVerzeichnis(const QString& pfad) { g_programmVerzeichnis = pfad; }

QString programmVerzeichnis() {
    if (!g_programmVerzeichnis.isEmpty()) return g_programmVerzeichnis;
    const QString exeDir = QCoreApplication::applicationDirPath();
    // An installed program lies in a system folder, which root could write
    // to: its files still go to the user's folder, never into /usr/bin.
    const bool systemOrdner = exeDir.startsWith(QLatin1String("/usr/")) || exeDir == QLatin1String("/bin") ||
                              exeDir == QLatin1String("/sbin");
    if (!systemOrdner && beschreibbar(exeDir)) {
        g_programmVerzeichnis = exeDir;
    } else {
        // One folder for every edition and the command-line tools, whatever
        // name each program gives itself.
        QString d = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        d = d.isEmpty() ? QDir::homePath() + "/.local/share/WQN/talu" : d + "/WQN/talu";
        QDir().mkpath(d);
        g_programmVerzeichnis = d;
    }
    return g_programmVerzeichnis;
}

QString programmDatei(const QString& name) { return QDir(programmVerzeichnis()).filePath(name); }

QString verbindungsText(const Publics& p) {
    return p.ServerName + QStringLiteral(" / ") + p.DatenbankName.toUpper() + QStringLiteral(" / ") +
           p.PcBenutzer.toUpper();
}

}  // namespace talu
