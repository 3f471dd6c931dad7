#include "billing/PdfAusgabe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QUuid>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "kit/modPublics.h"

namespace talu::druck {

namespace {

// From this many blanks on, a gap is skipped rather than drawn.
constexpr int kLuecke = 4;

struct Masse {
    double vorschub = 0;   // advance of one character
    double zeilenabstand = 0;
    double oberlaenge = 0;  // ascent: the first baseline below the top edge
};

Masse miss(QPagedPaintDevice& geraet) {
    Masse m;
    for (bool fett : {false, true}) {
        const QFontMetricsF fm(druckSchrift(fett), &geraet);
        m.vorschub = qMax(m.vorschub, qMax(fm.horizontalAdvance(QLatin1Char('M')), fm.horizontalAdvance(QLatin1Char('0'))));
        m.zeilenabstand = qMax(m.zeilenabstand, fm.lineSpacing());
        m.oberlaenge = qMax(m.oberlaenge, fm.ascent());
    }
    return m;
}

}  // namespace

QFont druckSchrift(bool fett) {
    QFont f(QStringLiteral("Courier New"));
    // Where Courier New is missing, a fixed-pitch face keeps the columns.
    f.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    f.setFixedPitch(true);
    f.setPointSizeF(12);
    f.setItalic(true);
    f.setBold(fett);
    f.setKerning(false);
    // A fixed-pitch face without ligatures needs no shaping; skipping it
    // makes long documents markedly faster and keeps every column.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QPageLayout seitenLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 4, 10, 4),
                       QPageLayout::Millimeter);
}

Seitenmass seitenmass(QPagedPaintDevice& geraet) {
    const Masse m = miss(geraet);
    Seitenmass s;
    // A hair of tolerance, so that a line that fits exactly is not pushed on.
    s.zeichenJeZeile = int(std::floor(geraet.width() / m.vorschub + 1e-6));
    s.zeilenJeSeite = int(std::floor(geraet.height() / m.zeilenabstand + 1e-6));
    return s;
}

void malePages(QPainter& maler, QPagedPaintDevice& geraet, const QList<Seite>& seiten) {
    const Masse m = miss(geraet);
    const QFont normal = druckSchrift(false);
    const QFont fett = druckSchrift(true);
    bool fettGesetzt = false;
    maler.setFont(normal);
    maler.setPen(Qt::black);
    for (int s = 0; s < seiten.size(); ++s) {
        if (s > 0 && !geraet.newPage()) throw DruckFehler(QStringLiteral("Es konnte keine neue Seite begonnen werden."));
        const QList<Seitenzeile>& zeilen = seiten.at(s).zeilen;
        for (int z = 0; z < zeilen.size(); ++z) {
            const Seitenzeile& zeile = zeilen.at(z);
            if (zeile.text.trimmed().isEmpty()) continue;
            if (zeile.fett != fettGesetzt) {
                maler.setFont(zeile.fett ? fett : normal);
                fettGesetzt = zeile.fett;
            }
            // Runs of blanks are positions, not glyphs: the text is drawn in
            // pieces between longer runs, each at its own column.
            const double y = z * m.zeilenabstand + m.oberlaenge;
            const QString& t = zeile.text;
            int i = 0;
            while (true) {
                while (i < t.size() && t.at(i) == QLatin1Char(' ')) ++i;
                if (i >= t.size()) break;
                // The piece ends after its last character before a gap.
                int ende = i;
                int blanks = 0;
                for (int j = i; j < t.size() && blanks < kLuecke; ++j) {
                    blanks = t.at(j) == QLatin1Char(' ') ? blanks + 1 : 0;
                    if (blanks == 0) ende = j + 1;
                }
                maler.drawText(QPointF(i * m.vorschub, y), t.mid(i, ende - i));
                i = ende;
            }
        }
    }
}

void schreibePdf(const Druckdokument& d, const QString& pfad) {
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        throw DruckFehler(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, datei.errorString()));
    {
        QPdfWriter pdf(&datei);
        pdf.setPageLayout(seitenLayout());
        pdf.setCreator(QStringLiteral("TALU"));
        pdf.setTitle(d.nummer().isEmpty() ? d.art() : d.art() + QLatin1Char(' ') + d.nummer());
        const QList<Seite> seiten = seitenAufteilen(d, seitenmass(pdf));
        QPainter maler;
        if (!maler.begin(&pdf))
            throw DruckFehler(QStringLiteral("Die PDF-Datei \"%1\" kann nicht begonnen werden.").arg(pfad));
        malePages(maler, pdf, seiten);
        if (!maler.end()) throw DruckFehler(QStringLiteral("Die PDF-Datei \"%1\" wurde nicht fertig.").arg(pfad));
    }
    if (!datei.commit())
        throw DruckFehler(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, datei.errorString()));
}

PdfAblage::PdfAblage(const QString& ordner) : m_ordner(ordner) {}

DruckErgebnis PdfAblage::gibAus(const Druckdokument& d) {
    if (!QDir().mkpath(m_ordner))
        throw DruckFehler(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(m_ordner));
    const QDir dir(m_ordner);
    const QString name = d.dateiName();
    QString pfad = dir.absoluteFilePath(name);
    const QString stamm = QFileInfo(name).completeBaseName();
    for (int n = 2; QFileInfo::exists(pfad); ++n)
        pfad = dir.absoluteFilePath(QStringLiteral("%1_%2.pdf").arg(stamm).arg(n));
    schreibePdf(d, pfad);
    return {false, pfad};
}

void PdfAblage::zurueckziehen(const DruckErgebnis& e) {
    if (!e.pdfPfad.isEmpty()) QFile::remove(e.pdfPfad);
}

QString teilEndung() { return QStringLiteral(".teil"); }

Vorlaeufig PdfAblage::vorbereite(const Druckdokument& d) {
    if (!QDir().mkpath(m_ordner))
        throw DruckFehler(QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden.").arg(m_ordner));
    // Unique, so that two provisional copies of one number never meet.
    const QString teil = QDir(m_ordner).absoluteFilePath(
        d.dateiName() + QLatin1Char('.') + QUuid::createUuid().toString(QUuid::Id128).left(12) + teilEndung());
    schreibePdf(d, teil);
    return {d, teil};
}

DruckErgebnis PdfAblage::uebernimm(const Vorlaeufig& v) {
    if (v.teilPfad.isEmpty()) return gibAus(v.dokument);
    const QString pfad = QDir(m_ordner).absoluteFilePath(v.dokument.dateiName());
    // One step that replaces an older file: the name never shows a half
    // document, and a document printed again keeps its one file.
    std::error_code fehler;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(v.teilPfad).toStdString()),
                            std::filesystem::path(QFile::encodeName(pfad).toStdString()), fehler);
    if (fehler)
        throw DruckFehler(QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2")
                              .arg(pfad, QString::fromLocal8Bit(fehler.message().c_str())));
    return {false, pfad};
}

void PdfAblage::verwirf(const Vorlaeufig& v) {
    if (!v.teilPfad.isEmpty()) QFile::remove(v.teilPfad);
}

void PdfAblage::raeumeAuf() {
    const QDir dir(m_ordner);
    for (const QString& name : dir.entryList({QLatin1Char('*') + teilEndung()}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.absoluteFilePath(name));
}

QString standardAblage() { return programmDatei(QStringLiteral("Ausdrucke")); }

}  // namespace talu::druck
