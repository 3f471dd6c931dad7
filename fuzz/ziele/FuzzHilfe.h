#pragma once
// Shared by the fuzz targets: a scratch directory for the file readers and a
// check that stops the run with the broken property, so that libFuzzer keeps
// the input as a crash.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define PRUEFE(bedingung)                                                                  \
    do {                                                                                   \
        if (!(bedingung)) {                                                                \
            std::fprintf(stderr, "Eigenschaft verletzt: %s (%s:%d)\n", #bedingung, __FILE__, \
                         __LINE__);                                                        \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace fuzz {

inline QString verzeichnis() {
    static QTemporaryDir dir;
    if (!dir.isValid()) std::abort();
    return dir.path();
}

inline QString pfad(const QString& name) { return verzeichnis() + QLatin1Char('/') + name; }

// Replaces the file name with the bytes and returns its path.
inline QString datei(const QString& name, const QByteArray& inhalt) {
    const QString p = pfad(name);
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(inhalt) != inhalt.size()) std::abort();
    return p;
}

inline QByteArray bytes(const uint8_t* d, size_t n) { return QByteArray(reinterpret_cast<const char*>(d), qsizetype(n)); }

// Text as a field would receive it: the bytes read as UTF-8, broken sequences replaced.
inline QString text(const uint8_t* d, size_t n) { return QString::fromUtf8(reinterpret_cast<const char*>(d), qsizetype(n)); }

inline bool hatSteuerzeichen(const QString& t) {
    for (const QChar c : t)
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

}  // namespace fuzz
