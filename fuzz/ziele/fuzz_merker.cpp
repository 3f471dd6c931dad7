// The plot bookmark "merker.txt": whatever the file holds, only the boxes of
// the lines read change, in file order; a land value shows as a currency
// amount above 0 or empty; nothing holds a line break or control character;
// a bookmark read, written and read again fills the same boxes.
#include "FuzzHilfe.h"
#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"
#include "plot/Merker.h"

using namespace talu;

namespace {
// The boxes in file order (as the bookmark lists them).
struct Box {
    int feld, index;
};
constexpr Box kReihenfolge[kMerkerZeilen] = {{1, 6},  {1, 7},  {1, 8},  {1, 9},  {1, 10}, {1, 11},
                                             {1, 12}, {1, 13}, {1, 14}, {1, 15}, {2, 0},  {2, 1},
                                             {2, 2},  {2, 3},  {2, 4},  {2, 5},  {2, 6},  {1, 0}};
const QString kLeer = QStringLiteral("\x01");  // no box can receive a control character

const QString& box(const QStringList& t1, const QStringList& t2, int i) {
    return (kReihenfolge[i].feld == 1 ? t1 : t2)[kReihenfolge[i].index];
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    if (n < 1) return 0;
    const bool neu = d[0] & 1;
    const QString pfad = fuzz::datei(QStringLiteral("merker.txt"), fuzz::bytes(d + 1, n - 1));
    QStringList t1(16, kLeer), t2(11, kLeer);
    const MerkerLesen r = leseMerker(pfad, t1, t2, neu);
    PRUEFE(r != MerkerLesen::KeineDatei);
    PRUEFE(t1.size() == 16 && t2.size() == 11);
    const int zeilen = neu ? kMerkerZeilen : kMerkerZeilen - 1;
    int gefuellt = 0;
    for (int i = 0; i < kMerkerZeilen; ++i) {
        const QString& b = box(t1, t2, i);
        if (b == kLeer) continue;
        PRUEFE(gefuellt == i && i < zeilen);  // filled in file order, the postcode only for a new plot
        PRUEFE(!fuzz::hatSteuerzeichen(b));
        if (i < 4 && !b.isEmpty()) {
            const double betrag = anzeige::betrag(b);
            PRUEFE(betrag > 0 && anzeige::istBetrag(b));
            PRUEFE(waehrung(betrag) == b);
        }
        ++gefuellt;
    }
    PRUEFE((r == MerkerLesen::Gelesen) == (gefuellt == zeilen));
    for (int i = 0; i < 16; ++i) PRUEFE(i == 0 || (i >= 6 && i <= 15) || t1[i] == kLeer);
    for (int i = 7; i < 11; ++i) PRUEFE(t2[i] == kLeer);
    if (r != MerkerLesen::Gelesen) return 0;

    // Written and read again: the same boxes; an amount that shows as 0,00 € is stored as 0 and comes back empty.
    const QString pfad2 = fuzz::pfad(QStringLiteral("merker2.txt"));
    PRUEFE(schreibeMerker(pfad2, t1, t2));
    QStringList u1(16, kLeer), u2(11, kLeer);
    PRUEFE(leseMerker(pfad2, u1, u2, neu) == MerkerLesen::Gelesen);
    for (int i = 0; i < zeilen; ++i) {
        const QString& vorher = box(t1, t2, i);
        const QString& nachher = box(u1, u2, i);
        if (i < 4 && nachher.isEmpty() && anzeige::betrag(vorher) < 0.005) continue;
        PRUEFE(nachher == vorher);
    }
    return 0;
}
