#include "lookup/Merkdatei.h"

#include "kit/KleineDatei.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace talu::lookup {

namespace {
// A remembered term is one search term; anything longer is no file of ours.
constexpr qint64 kHoechstens = 4096;
}  // namespace

QString leseMerkbegriff(const QString& pfad) {
    QByteArray roh;
    if (leseKleineDatei(pfad, kHoechstens, roh) != KleineDateiLesen::Gelesen) return {};
    if (roh.isEmpty() || roh.contains('\0')) return {};
    qsizetype ende = roh.indexOf('\n');
    if (ende < 0) ende = roh.size();
    QByteArray zeile = roh.left(ende);
    if (zeile.endsWith('\r')) zeile.chop(1);
    if (zeile.startsWith("\xEF\xBB\xBF")) zeile.remove(0, 3);
    // The one byte order mark is gone; a second one is part of the term.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(zeile);
    if (utf8.hasError()) return {};
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control) return {};
    // Longer than the search field holds: the field would cut it, possibly inside a character.
    if (text.trimmed().size() > kHoechstZeichen) return {};
    return text.trimmed();
}

bool schreibeMerkbegriff(const QString& pfad, const QString& begriff) {
    QSaveFile f(pfad);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QString zeile = begriff;
    // One line per file: a line break typed into the term would split it.
    zeile.replace('\r', ' ').replace('\n', ' ');
    // A term that begins with U+FEFF gets a byte order mark before it, which
    // the reader takes off, so that the term's own one survives.
    const QByteArray bom = zeile.startsWith(QChar(0xFEFF)) ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    const QByteArray daten = bom + zeile.toUtf8() + "\r\n";
    if (f.write(daten) != daten.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

}  // namespace talu::lookup
