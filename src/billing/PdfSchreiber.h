#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

#include "billing/Druckdokument.h"

class QIODevice;

namespace talu::druck {

// The geometry of the print font on a PDF page, in points; measured once
// with Qt's PDF device, so that both writers lay out the same pages.
struct PdfSeite {
    double breite = 0, hoehe = 0;  // the sheet
    double links = 0, oben = 0;    // the printable area's top-left corner
    double vorschub = 0;           // advance of one character
    double zeilenabstand = 0;
    double oberlaenge = 0;         // first baseline below the area's top edge
    Seitenmass mass;
};
const PdfSeite& pdfSeite();

// A PDF writer of its own for the printed lists: every line is one text
// command in the print font, each face is embedded as a subset with the
// table that gives the text back. That is several times faster than
// drawing glyph by glyph through Qt's writer, and the text reads back the same.
// Returns false without writing anything when a character has no glyph in
// the print font (or the font is no fixed-pitch TrueType font); the caller
// then takes Qt's writer, which falls back on other fonts.
bool schreibeEigenesPdf(const QList<Seite>& seiten, const QString& titel, QIODevice& ziel);

}  // namespace talu::druck
