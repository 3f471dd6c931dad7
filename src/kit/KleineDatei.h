#pragma once
#include <QByteArray>
#include <QString>

namespace talu {

// The program's own small text files (login data, remembered search terms,
// the plot bookmark). Only a regular file up to a size cap is read: a link to
// a device or a named pipe in their place must neither hang the program nor
// eat its memory, and counts as a damaged file.
enum class KleineDateiLesen { Gelesen, KeineDatei, Fehler };

KleineDateiLesen leseKleineDatei(const QString& pfad, qint64 hoechstens, QByteArray& inhalt,
                                 QString* grund = nullptr);

}  // namespace talu
