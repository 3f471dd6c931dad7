#include <cmath>
#include "plot/Merker.h"

#include <QSaveFile>
#include <QStringDecoder>

#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"
#include "kit/KleineDatei.h"

namespace talu {

namespace {
// Eighteen short lines; anything larger is no bookmark of ours.
constexpr qint64 kHoechstens = 64 * 1024;

QString betragsZeile(const QString& box) {
    QLocale l = regionalLocale();
    // Without grouping, so that the line reads back as the same number.
    l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    return l.toString(anzeige::betrag(box), 'f', QLocale::FloatingPointShortest);
}

// The box of each line, in file order: the four land values, codes, remark
// and source, the seven boxes of the second page, the postcode.
struct Zeilenbox {
    int feld, index;
};
constexpr Zeilenbox kZeilen[kMerkerZeilen] = {{1, 6},  {1, 7},  {1, 8},  {1, 9},  {1, 10}, {1, 11},
                                               {1, 12}, {1, 13}, {1, 14}, {1, 15}, {2, 0},  {2, 1},
                                               {2, 2},  {2, 3},  {2, 4},  {2, 5},  {2, 6},  {1, 0}};
constexpr int kBetragsZeilen = 4;

QString ohneUmbruch(QString t) { return t.replace('\r', ' ').replace('\n', ' '); }

QStringList zeilenAus(const QByteArray& roh) {
    QByteArray daten = roh;
    if (daten.startsWith("\xEF\xBB\xBF")) daten.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(daten);
    // Not UTF-8: a file written in the regional code page by an older program.
    if (utf8.hasError()) text = QString::fromLatin1(daten);
    QStringList zeilen = text.split('\n');
    // The last line break ends the last line; it starts no empty nineteenth one.
    if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
    for (QString& z : zeilen) {
        if (z.endsWith('\r')) z.chop(1);
        // Control characters have no place in a box.
        for (QChar& c : z)
            if (c.category() == QChar::Other_Control) c = ' ';
    }
    return zeilen;
}
}  // namespace

bool schreibeMerker(const QString& pfad, const QStringList& text1, const QStringList& text2) {
    QSaveFile f(pfad);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray daten;
    for (int i = 0; i < kMerkerZeilen; ++i) {
        const QString& box = (kZeilen[i].feld == 1 ? text1 : text2).value(kZeilen[i].index);
        daten += (i < kBetragsZeilen ? betragsZeile(box) : ohneUmbruch(box)).toUtf8() + "\r\n";
    }
    if (f.write(daten) != daten.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

MerkerLesen leseMerker(const QString& pfad, QStringList& text1, QStringList& text2, bool neuesGrundstueck) {
    QByteArray roh;
    switch (leseKleineDatei(pfad, kHoechstens, roh)) {
        case KleineDateiLesen::KeineDatei: return MerkerLesen::KeineDatei;
        case KleineDateiLesen::Fehler: return MerkerLesen::Abgebrochen;
        case KleineDateiLesen::Gelesen: break;
    }
    // Binary content is a damaged file: nothing of it goes into the boxes.
    if (roh.contains('\0')) return MerkerLesen::Abgebrochen;
    const QStringList zeilen = zeilenAus(roh);
    // The postcode is the last line.
    const int n = neuesGrundstueck ? kMerkerZeilen : kMerkerZeilen - 1;
    for (int i = 0; i < n; ++i) {
        if (i >= zeilen.size()) return MerkerLesen::Abgebrochen;
        QString& box = (kZeilen[i].feld == 1 ? text1 : text2)[kZeilen[i].index];
        if (i < kBetragsZeilen) {
            const double d = anzeige::betrag(zeilen[i]);
            // Shown in whole cents: an amount that rounds to nothing stays empty, never "0,00 €".
            box = d > 0 && std::llround(d * 100) > 0 ? waehrung(d) : QString();
        } else {
            box = zeilen[i];
        }
    }
    return MerkerLesen::Gelesen;
}

}  // namespace talu
