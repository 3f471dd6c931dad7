#pragma once
#include <QFont>
#include <QPageLayout>
#include <QString>

#include "billing/Druckdokument.h"

class QPainter;
class QPagedPaintDevice;

namespace talu::druck {

// The print set-up of every document: Courier New, 12 points, italic, bold
// where the line says so. With Debian's fonts-liberation, Liberation Mono
// stands in with Courier New's metrics.
QFont druckSchrift(bool fett);
// A4 portrait; narrow top and bottom margins, because the documents set
// their own top margin of five empty lines.
QPageLayout seitenLayout();
// Characters per line and lines per page, measured with the real font on the
// device's printable area.
Seitenmass seitenmass(QPagedPaintDevice& geraet);
// Paints the pages of one print job; the painter is active on geraet, which
// starts a new page between two pages.
void malePages(QPainter& maler, QPagedPaintDevice& geraet, const QList<Seite>& seiten);

// Which writer makes a PDF file: the own one where it can set every
// character, else Qt's; or Qt's in any case (for comparisons).
enum class PdfWeg { Schnell, NurQt };

// Writes the document as a PDF file (all print jobs one after the other);
// throws DruckFehler when the file cannot be written. The file appears whole
// or not at all.
void schreibePdf(const Druckdokument& d, const QString& pfad, PdfWeg weg = PdfWeg::Schnell);

// Where a document went.
struct DruckErgebnis {
    bool gedruckt = false;  // sent to a printer
    QString pdfPfad;        // written as this PDF file
    QString drucker = {};   // the printer's name, when printed
};

// A document put out provisionally by Druckziel::vorbereite().
struct Vorlaeufig {
    Druckdokument dokument;
    QString teilPfad;  // its file under a temporary name, if the target writes one
};

// A destination for printed documents.
class Druckziel {
public:
    virtual ~Druckziel() = default;
    // Throws DruckFehler when the document could not be put out.
    virtual DruckErgebnis gibAus(const Druckdokument& d) = 0;
    // True when documents go to paper (and so need a PDF copy for the archive).
    virtual bool druckt() const = 0;
    // True when documents may be put out ahead, from worker threads, and
    // taken back (files, not paper): the invoice run then writes several
    // invoices at once.
    virtual bool imVoraus() const { return false; }
    // Takes back a document put out ahead that is not to stand.
    virtual void zurueckziehen(const DruckErgebnis&) {}

    // Two steps for a document that must not stand before its data are
    // committed. vorbereite() puts it out provisionally: a file under a
    // temporary name (from a worker thread where imVoraus()), or nothing yet
    // for paper. uebernimm() makes it final: the file takes its own name,
    // replacing an older file of that name, or the paper is printed.
    // verwirf() takes a provisional document back.
    virtual Vorlaeufig vorbereite(const Druckdokument& d) { return {d, {}}; }
    virtual DruckErgebnis uebernimm(const Vorlaeufig& v) { return gibAus(v.dokument); }
    virtual void verwirf(const Vorlaeufig&) {}
    // Removes the provisional files that an interrupted run left behind.
    virtual void raeumeAuf() {}
};

// The ending of provisional files: never a document of its own.
QString teilEndung();

// Writes every document as a PDF file into a folder, named by kind, number
// and date; an existing file is never overwritten (a suffix "_2", "_3", ...
// is added instead).
class PdfAblage : public Druckziel {
public:
    explicit PdfAblage(const QString& ordner);
    DruckErgebnis gibAus(const Druckdokument& d) override;
    bool druckt() const override { return false; }
    bool imVoraus() const override { return true; }
    void zurueckziehen(const DruckErgebnis& e) override;
    // Provisional files are "<own name>.<random>.teil" in the folder; the own
    // name is taken by renaming, so that a file of that name is always whole
    // and always the latest document of its number.
    Vorlaeufig vorbereite(const Druckdokument& d) override;
    DruckErgebnis uebernimm(const Vorlaeufig& v) override;
    void verwirf(const Vorlaeufig& v) override;
    void raeumeAuf() override;
    const QString& ordner() const { return m_ordner; }

private:
    QString m_ordner;
};

// The folder for PDF documents and the invoice archive: "Ausdrucke" in the
// program's directory (see programmVerzeichnis()).
QString standardAblage();

}  // namespace talu::druck
