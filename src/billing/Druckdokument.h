#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <stdexcept>

namespace talu::druck {

// Layout helpers of every printed list; columns count characters of a
// fixed-pitch font.

// x left-aligned, filled with blanks and cut to exactly n characters.
QString Pad(const QString& x, int n);
// x right-aligned in n characters (blanks in front). A longer x is kept whole:
// amounts never lose digits.
QString Right(const QString& x, int n);
// The amount as the currency text of the regional settings ("12,50 €"); the
// no-break space before the sign prints as an ordinary blank.
QString Money(double betrag);
// vorne followed by betrag right-aligned in a field of n characters. A wider
// amount widens its field to the left, into the blanks that end vorne (one
// blank stays after its text), so it keeps its right edge where it can and
// grows the line only where it must.
QString MitBetrag(const QString& vorne, const QString& betrag, int n);

// The text in lines of at most breite characters, broken at blanks; a word
// longer than a line is broken inside. Nothing is cut: the lines hold every
// character but the blanks (a run of blanks counts as one break). Line breaks
// in the text are kept; an empty text gives one empty line.
QStringList umbrechen(const QString& text, int breite);

// Every printed line begins with this margin.
constexpr int kRandBreite = 8;
QString rand();

// One piece of a printed document.
struct Element {
    enum class Art { Zeile, Seitenumbruch, Auftragsende };
    Art art = Art::Zeile;
    QString text;  // the whole line, margin included
    bool fett = false;
};

// A printed document, built once as data and then handed to a printer, a PDF
// file or a text for comparison. Every line carries its face; page breaks
// and the ends of print jobs are explicit.
class Druckdokument {
public:
    // art and nummer name the document ("Rechnung", "2026001") and its file.
    explicit Druckdokument(const QString& art = {}, const QString& nummer = {}, const QDate& datum = {});

    // The margin and text, in the current face.
    void zeile(const QString& text = {});
    void leer(int anzahl = 1);
    void setzeFettdruck(bool an) { m_fett = an; }
    bool fettdruck() const { return m_fett; }
    void neueSeite();
    // Ends one print job; the next line begins a new job on a new page with
    // bold off.
    void auftragEnde();

    const QList<Element>& elemente() const { return m_elemente; }
    int zeilenAnzahl() const;
    bool leer() const { return m_elemente.isEmpty(); }

    const QString& art() const { return m_art; }
    const QString& nummer() const { return m_nummer; }
    const QDate& datum() const { return m_datum; }
    // "Rechnung_2026001_2026-12-08.pdf": kind, number (if any) and date.
    QString dateiName() const;

private:
    QString m_art, m_nummer;
    QDate m_datum;
    QList<Element> m_elemente;
    bool m_fett = false;
};

// The document as text for comparisons: every line as "F|text|" (bold) or
// " |text|", the bars showing where the line begins and ends; page breaks as
// "--- neue Seite ---" and the ends of print jobs as "=== Ende des Druckauftrags ===".
QString alsText(const Druckdokument& d);
QString seitenumbruchMarke();
QString auftragsendeMarke();

// How much of the font fits on one page.
struct Seitenmass {
    int zeichenJeZeile = 80;
    int zeilenJeSeite = 60;
};

struct Seitenzeile {
    QString text;
    bool fett = false;
};

struct Seite {
    int auftrag = 0;  // 0 for the first print job of the document
    QList<Seitenzeile> zeilen;
};

// The physical pages: explicit breaks and job ends start a new page, a page
// that is full continues on the next one, and a line wider than the page
// continues on the next line after the margin. Trailing blanks are not printed.
QList<Seite> seitenAufteilen(const Druckdokument& d, const Seitenmass& mass);

// A printer or file that could not take a document; the text is for the operator.
class DruckFehler : public std::runtime_error {
public:
    explicit DruckFehler(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

}  // namespace talu::druck
