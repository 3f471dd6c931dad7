#include "login/ZugangsDatei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "kit/KleineDatei.h"
#include "kit/modPublics.h"
#include "db/Backend.h"

namespace talu {

ZugangsDatei::ZugangsDatei() : m_pfad(programmDatei(QStringLiteral("zugang.dat"))) {}
ZugangsDatei::ZugangsDatei(const QString& pfad) : m_pfad(pfad) {}

bool ZugangsDatei::vorhanden() const { return QFileInfo::exists(m_pfad); }

ZugangsDatei::Lesen ZugangsDatei::lese(Anmeldedaten& daten, QString* grund) const {
    QByteArray roh;
    switch (leseKleineDatei(m_pfad, kHoechstBytes, roh, grund)) {
        case KleineDateiLesen::KeineDatei: return Lesen::KeineDatei;
        case KleineDateiLesen::Fehler: return Lesen::Fehler;
        case KleineDateiLesen::Gelesen: break;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(roh);
    if (utf8.hasError()) {
        if (grund) *grund = QStringLiteral("Die Datei ist kein UTF-8-Text.");
        return Lesen::Fehler;
    }
    QStringList zeilen = text.split(QLatin1Char('\n'));
    // The last line ends with a line break, so the text after it is empty.
    if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
    for (QString& z : zeilen)
        if (z.endsWith(QLatin1Char('\r'))) z.chop(1);
    if (zeilen.size() < 4) {
        if (grund) *grund = QStringLiteral("Die Datei hat %1 statt 4 Zeilen.").arg(zeilen.size());
        return Lesen::Fehler;
    }
    // A value longer than its field would be cut by the form and written back cut.
    for (int i = 0; i < 4; ++i)
        if (zeilen[i].size() > kHoechstZeichen) {
            if (grund) *grund = QStringLiteral("Zeile %1 ist länger als %2 Zeichen.").arg(i + 1).arg(kHoechstZeichen);
            return Lesen::Fehler;
        }
    daten = {zeilen[0], zeilen[1], zeilen[2], zeilen[3]};
    return Lesen::Gelesen;
}

bool ZugangsDatei::schreibe(const Anmeldedaten& daten, QString* fehler) const {
    const QFileInfo info(m_pfad);
    QDir().mkpath(info.absolutePath());
    // A new file in the same directory, made owner-only before anything is
    // written into it, whatever the umask and whatever permissions the old file
    // had; renamed over the old one when it is complete and on the disk. So the
    // password is never readable by others, a reader sees the old file or the
    // new one and never half of one, and a failed write or a crash leaves the
    // previous file intact. rename() replaces a symbolic link named zugang.dat
    // itself and writes nothing where it points.
    QTemporaryFile tmp(info.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!tmp.open()) {
        if (fehler) *fehler = tmp.errorString();
        return false;
    }
    if (::fchmod(tmp.handle(), S_IRUSR | S_IWUSR) != 0) {
        if (fehler) *fehler = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QByteArray inhalt;
    for (const QString* w : {&daten.server, &daten.datenbank, &daten.benutzer, &daten.passwort})
        inhalt += w->toUtf8() + "\r\n";
    if (tmp.write(inhalt) != inhalt.size() || !tmp.flush()) {
        if (fehler) *fehler = tmp.errorString();
        return false;
    }
    if (::fsync(tmp.handle()) != 0) {
        if (fehler) *fehler = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    tmp.close();
    const QByteArray von = QFile::encodeName(tmp.fileName());
    const QByteArray nach = QFile::encodeName(info.absoluteFilePath());
    if (std::rename(von.constData(), nach.constData()) != 0) {
        if (fehler) *fehler = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    tmp.setAutoRemove(false);
    // The new name on the disk as well (best effort: the file is complete either way).
    const int verzeichnis = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (verzeichnis >= 0) {
        ::fsync(verzeichnis);
        ::close(verzeichnis);
    }
    return true;
}

bool ZugangsDatei::loesche(QString* fehler) const {
    QFile f(m_pfad);
    if (!f.exists()) return true;
    if (f.remove()) return true;
    if (fehler) *fehler = f.errorString();
    return false;
}

namespace anmeldung {

bool eingabenVollstaendig(const Anmeldedaten& d) {
    // Only blanks are trimmed, as the form always did.
    auto leer = [](const QString& s) {
        for (QChar c : s)
            if (c != QLatin1Char(' ')) return false;
        return true;
    };
    return !leer(d.server) && !leer(d.datenbank) && !leer(d.benutzer) && !leer(d.passwort);
}

void uebernehme(const Anmeldedaten& d, Publics& p) {
    p.ServerName = d.server;
    p.DatenbankName = d.datenbank;
    p.DbBenutzer = d.benutzer;
    p.DbPasswort = d.passwort;
}

bool verbinden(Publics& p, const QString& modus, QString* fehler) {
    const Verbindungsziel ziel = Verbindungsziel::ausEingabe(p.ServerName, p.DatenbankName, programmVerzeichnis());
    if (modus == QLatin1String("nt")) return p.Verbindung.oeffnen(ziel, QString(), QString(), fehler);
    return p.Verbindung.oeffnen(ziel, p.DbBenutzer, p.DbPasswort, fehler);
}

QString fehlerDetails(const QString& serverText) {
    QString t = serverText.simplified();  // drivers indent their continuation lines
    if (t.isEmpty()) t = QStringLiteral("(keine Meldung des Servers)");
    return QStringLiteral("Meldung des Servers:\n") + t + QStringLiteral("\n\n") + serverRegelText();
}

}  // namespace anmeldung

}  // namespace talu
