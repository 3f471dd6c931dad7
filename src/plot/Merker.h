#pragma once
#include <QString>
#include <QStringList>

namespace talu {

// The plot bookmark "merker.txt": the values of the last saved plot, which a
// new plot starts from. Eighteen lines: the four land values as numbers in
// the regional format, the codes, remark and source as shown, the seven
// boxes of the second page, the postcode.
inline constexpr int kMerkerZeilen = 18;

// text1 and text2 are the texts of the two box arrays ("Grunddaten" 0-15,
// "Zusatzdaten" 0-10).
// Replaces the file in one step (a crash leaves the old file or the new
// one, never half of one), UTF-8 with CR LF. False when it could not be written.
bool schreibeMerker(const QString& pfad, const QStringList& text1, const QStringList& text2);

enum class MerkerLesen {
    Gelesen,     // all eighteen lines (the postcode only for a new plot)
    KeineDatei,  // nothing changed
    Abgebrochen  // a short or damaged file: the lines before the fault are filled
};

// Fills the boxes from the file. A land value shows as currency when it is
// greater than 0, else the box is emptied; the other lines go in unchanged;
// the postcode (line 18) only for a new plot.
MerkerLesen leseMerker(const QString& pfad, QStringList& text1, QStringList& text2, bool neuesGrundstueck);

}  // namespace talu
