#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "billing/Druckdokument.h"

namespace talu::auskunft {

// One row of a form as printed: its caption and the texts of its boxes, left
// to right, exactly as the form shows them.
struct Feldzeile {
    QString caption;
    QStringList werte;
};

// A page of the form: its tab caption and its rows, top to bottom.
struct Formularseite {
    QString titel;
    QList<Feldzeile> zeilen;
};

// The appraisal committee responsible for the place.
struct Gutachterausschuss {
    QString name, strasse, plz, ort, telefon, telefax, email, internet;
};

// What a land-value extract holds: the display it documents and the values
// that display showed.
struct Auskunft {
    QDateTime angezeigt;     // when the plot was displayed
    qint64 protokollId = 0;  // the query-log row of that display; 0 when none was written
    QList<Formularseite> seiten;
    std::optional<Gutachterausschuss> gutachter;
};

// The text of the extract, one print job: the issuer's lines as on the
// invoice, the title with the time of the display and the reference, every
// row of the pages (boxes side by side where they fit, else one under the
// other; long texts wrapped, never cut; empty boxes stay empty), the
// committee and the closing words.
druck::Druckdokument auskunftDokument(const Auskunft& a);

// "Auskunft Nr.: 4711", or with a dash where the display wrote no log row.
QString referenzText(qint64 protokollId);
// The closing words: what the values are and what they are not.
QString schlussText(const QDate& tag);

// Where the values of a row begin, counted from the margin, and how wide
// they may be.
constexpr int kWertSpalte = 31;
constexpr int kWertBreite = 35;

}  // namespace talu::auskunft
