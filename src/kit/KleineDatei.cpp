#include "kit/KleineDatei.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace talu {

KleineDateiLesen leseKleineDatei(const QString& pfad, qint64 hoechstens, QByteArray& inhalt, QString* grund) {
    auto fehler = [grund](const QString& t) {
        if (grund) *grund = t;
        return KleineDateiLesen::Fehler;
    };
    const QFileInfo info(pfad);
    if (!info.exists() && !info.isSymLink()) return KleineDateiLesen::KeineDatei;
#ifdef Q_OS_UNIX
    // Opened without blocking, so that a pipe cannot stall the open itself; the
    // type is checked on the opened file, not on the name, to leave no gap
    // between check and read.
    const QByteArray name = QFile::encodeName(pfad);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return KleineDateiLesen::KeineDatei;
        return fehler(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fehler(QStringLiteral("Die Datei ist keine gewöhnliche Datei."));
    }
    if (st.st_size > hoechstens) {
        ::close(fd);
        return fehler(QStringLiteral("Die Datei ist größer als %1 Bytes.").arg(hoechstens));
    }
    QByteArray daten(qsizetype(hoechstens + 1), Qt::Uninitialized);
    qsizetype gelesen = 0;
    while (gelesen < daten.size()) {
        const ssize_t n = ::read(fd, daten.data() + gelesen, size_t(daten.size() - gelesen));
        if (n < 0) {
            if (errno == EINTR) continue;
            const QString t = QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            return fehler(t);
        }
        if (n == 0) break;
        gelesen += n;
    }
    ::close(fd);
    // The file may have grown since fstat.
    if (gelesen > hoechstens) return fehler(QStringLiteral("Die Datei ist größer als %1 Bytes.").arg(hoechstens));
    daten.truncate(gelesen);
    inhalt = daten;
    return KleineDateiLesen::Gelesen;
#else
    if (!info.isFile()) return fehler(QStringLiteral("Die Datei ist keine gewöhnliche Datei."));
    if (info.size() > hoechstens) return fehler(QStringLiteral("Die Datei ist größer als %1 Bytes.").arg(hoechstens));
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return fehler(f.errorString());
    const QByteArray daten = f.read(hoechstens + 1);
    if (f.error() != QFileDevice::NoError) return fehler(f.errorString());
    if (daten.size() > hoechstens) return fehler(QStringLiteral("Die Datei ist größer als %1 Bytes.").arg(hoechstens));
    inhalt = daten;
    return KleineDateiLesen::Gelesen;
#endif
}

}  // namespace talu
