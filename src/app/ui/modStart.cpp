#include <QIcon>
#include "app/ui/modStart.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTranslator>
#include <pwd.h>
#include <unistd.h>

#include "app/ui/TaluAnwendung.h"
#include "app/ui/frmMain.h"
#include "kit/modPublics.h"
#include "login/ui/frmLoginDaten.h"

namespace talu {

QString ErmittleComputername() {
    const QString name = QSysInfo::machineHostName().trimmed();
    return name.isEmpty() ? QStringLiteral("Nicht erkannt") : name;
}

QString filtereBenutzername(const QString& roh) {
    QString ergebnis;
    for (QChar c : roh)
        if (c.unicode() >= 65 && c.unicode() <= 122) ergebnis += c;
    return ergebnis;
}

QString ErmittleBenutzername() {
    // The account the program runs under; the environment only when the
    // account database has no entry for it.
    QString roh;
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name) roh = QString::fromLocal8Bit(pw->pw_name);
    if (roh.isEmpty()) roh = qEnvironmentVariable("USER");
    if (roh.isEmpty()) roh = qEnvironmentVariable("LOGNAME");
    return filtereBenutzername(roh);
}

bool LadeQtUebersetzung() {
    if (!qApp) return false;
    auto* qtDeutsch = new QTranslator(qApp);
    if (!qtDeutsch->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtDeutsch;
        return false;
    }
    return QCoreApplication::installTranslator(qtDeutsch);
}

int Start(int argc, char** argv, int ausgabe) {
    TaluAnwendung app(argc, argv);
    TaluAnwendung::setApplicationName(QStringLiteral("talu"));
    TaluAnwendung::setOrganizationName(QStringLiteral("WQN"));
    // The desktop entry of this edition, so that a task bar groups and shows each edition apart.
    TaluAnwendung::setDesktopFileName(ausgabe == 1 ? QStringLiteral("talu-intern")
                                      : ausgabe == 2 ? QStringLiteral("talu-erfassung")
                                                     : QStringLiteral("talu"));
    // The installed icon where there is one; the drawn one otherwise.
    if (const QIcon thema = QIcon::fromTheme(QStringLiteral("talu")); !thema.isNull()) app.setWindowIcon(thema);

    if (!LadeQtUebersetzung())
        qWarning("Qt-Übersetzung qtbase_de.qm nicht gefunden in %s (Paket qt6-translations-l10n): "
                 "Qt-eigene Texte bleiben englisch.",
                 qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));

    Publics& p = publics();
    p.Ausgabe = short(ausgabe);
    p.PcName = ErmittleComputername();
    p.PcBenutzer = ErmittleBenutzername();

    {
        frmLoginDaten login;
        if (login.exec() != QDialog::Accepted) return 0;  // cancelled or closed: the program ends
    }

    auto* haupt = new frmMain;
    haupt->laden();
    return TaluAnwendung::exec();
}

}  // namespace talu
