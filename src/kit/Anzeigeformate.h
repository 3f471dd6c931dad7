#pragma once
#include <QString>
#include <QVariant>

// The display texts of the record forms, one function per rule: what a box
// shows for a stored value, what it makes of typed text when it is left, and
// what the save stores for a box text. The place and the plot form share them.
namespace talu::anzeige {

// The four parts of a municipality key "06533013": 06 | 5 | 33 | 013.
struct SchluesselTeile {
    QString land, regbez, kreis, gemeinde;
};
SchluesselTeile zerlegeSchluessel(const QString& gemeindeschluessel);

// The labour office number of a "dstnr": "12345" -> "123.45".
QString dienststellenNummer(const QString& dstnr);

// --- What the boxes show for a stored value ---

// The pattern "###,###": a whole number grouped by the regional separator;
// 0 and Null give an empty text, as the pattern has no mandatory digit.
QString muster(const QVariant& wert);
// The patterns "### m" and "### m²": the whole number without grouping,
// followed by the unit ("1200 m²"); 0 and Null give an empty text.
QString mitEinheit(const QVariant& wert, const QString& einheit);
// 0 "Kreisfreie Stadt", 1 "Stadt", 2 "Gemeinde", 3 and more "Eingemeindet".
QString ortstypText(const QVariant& typ);
// "50° 06' 3512'' N - 08° 40' 1234'' E", only when both are set.
QString gradText(const QVariant& laenge, const QVariant& breite);
QString utmText(const QVariant& rechts, const QVariant& hoch);
// Currency only for a number other than 0, else empty.
QString waehrungWennNichtNull(const QVariant& wert);
// Currency; Null shows empty.
QString waehrungOderLeer(const QVariant& wert);
// Code of the plot vocabularies to its display text.
QString codeText(const QVariant& wert);
// A statistics value in the regional format ("9,8", "12.500"); text is trimmed.
QString zahlText(const QVariant& wert, bool gruppieren = true);
// A date column as "dd.mm.yyyy".
QString datumsText(const QVariant& wert);
// Trim(column): the column's text without outer blanks, Null as ""; a number
// as its plain text in the regional format, not grouped ("12500", "9,8").
QString trimText(const QVariant& wert);
// Trim(a) + ", " + Trim(b) (or another separator); the separator stays when a
// part is empty, so the box always has the same shape.
QString paar(const QString& a, const QString& b, const QString& trenner = QStringLiteral(", "));

// --- What a box does with typed text when it is left ---

// A number typed as "12500" or "12.500" becomes "12.500" + unit; a text that
// is no number stays as typed.
QString formatiereMuster(const QString& text, const QString& einheit = {});
// A typed number becomes currency ("1250" -> "1.250,00 €"); other text stays.
QString formatiereBetrag(const QString& text);
// The patterns "### m" / "### m²" for typed text: a number becomes the whole
// number without grouping and the unit; other text stays.
QString formatiereGanzzahl(const QString& text, const QString& einheit);
// A code of at most four characters becomes its display text ("wa" ->
// "Allgemeines Wohngebiet"); longer text stays, and so does a short text
// that is no code: leaving a box must not erase what was typed.
QString formatiereCode(const QString& text);

// --- What the save makes of a box text ---

// True when the text is empty or one amount: a number, with the currency sign
// before or after it at most ("125", "125,5", "1.250,00 €"). "125,00 €200" is none.
bool istBetrag(const QString& text);
// The number of a box, currency sign and units allowed; empty or unreadable gives 0.
double betrag(const QString& text);
// A number for a count or area column: Null when empty or unreadable.
QVariant zahlOderLeer(const QString& text);
// A date when the text is one ("1.5.2001", "01.05.2001", ISO), else Null.
QVariant datumOderNull(const QString& text);
// The code to store for a box that shows a display text or still a typed code.
QString code(const QString& text);
// Depth/area rule: the text before the unit when the trimmed text ends in it
// (any case), a bare number as it is, otherwise "".
QString ohneEinheit(const QString& text, const QString& einheit);
// Place area: the number before "km²"; hat = false when the box does not end in it.
QVariant flaecheAusText(const QString& text, bool* hat);
// Place type typed as text or number; -1 when unknown.
int ortstypAusText(const QString& text);

}  // namespace talu::anzeige
