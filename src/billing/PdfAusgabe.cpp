#include "billing/PdfAusgabe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QPainter>
#include <QBuffer>
#include <QPdfWriter>
#include <QSaveFile>
#include <QUuid>
#include <array>
#include <cmath>
#include <filesystem>
#include <mutex>
#include <system_error>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "billing/PdfSchreiber.h"
#include "kit/modPublics.h"

namespace talu::druck {

namespace {

// From this many blanks on, a gap is skipped rather than drawn (on the road
// through the painter's text layout).
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

// Qt's PDF writer compresses every page through two fresh buffers of 10 MB
// and a fresh compressor. With glibc's defaults each of them comes from the
// kernel and goes back to it, so every page faults in new memory: that was
// two thirds of the writing time. Kept in the process, the buffers are
// reused; only the few pages actually written stay resident.
void behaltePuffer() {
#ifdef __GLIBC__
    static std::once_flag einmal;
    std::call_once(einmal, [] {
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    });
#endif
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

namespace {

// One face of the print font as glyphs: every line becomes one glyph run
// at the columns of its characters, blanks left out. Qt then neither lays
// the text out again for each piece nor writes a glyph for a blank, and a
// line costs one call instead of one per piece between gaps.
class Glyphenlauf {
public:
    Glyphenlauf(const QFont& schrift, QPagedPaintDevice& geraet, double vorschub)
        : m_roh(QRawFont::fromFont(QFont(schrift, &geraet))), m_vorschub(vorschub) {
        m_lauf.setRawFont(m_roh);
        m_latin1.fill(kUnbekannt);
    }

    // False when a character has no glyph in this face (the painter's own
    // text layout then finds it in another font).
    bool setze(const QString& text, double y) {
        m_glyphen.clear();
        m_orte.clear();
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char(' ')) continue;
            const quint32 g = glyph(c);
            if (g == 0) return false;
            m_glyphen.append(g);
            m_orte.append(QPointF(i * m_vorschub, y));
        }
        m_lauf.setGlyphIndexes(m_glyphen);
        m_lauf.setPositions(m_orte);
        return true;
    }
    const QGlyphRun& lauf() const { return m_lauf; }
    bool leer() const { return m_glyphen.isEmpty(); }
    bool gueltig() const { return m_roh.isValid(); }

private:
    static constexpr quint32 kUnbekannt = 0xFFFFFFFF;
    quint32 glyph(QChar c) {
        const char16_t u = c.unicode();
        if (u < 256 && m_latin1[u] != kUnbekannt) return m_latin1[u];
        if (u >= 256) {
            const auto it = m_weitere.constFind(u);
            if (it != m_weitere.cend()) return *it;
        }
        quint32 g = 0;
        int n = 1;
        // A surrogate half alone has no glyph: such a line takes the text road.
        if (!c.isSurrogate() && !m_roh.glyphIndexesForChars(&c, 1, &g, &n)) g = 0;
        if (u < 256) m_latin1[u] = g;
        else m_weitere.insert(u, g);
        return g;
    }

    QRawFont m_roh;
    double m_vorschub;
    QGlyphRun m_lauf;
    QList<quint32> m_glyphen;
    QList<QPointF> m_orte;
    std::array<quint32, 256> m_latin1{};
    QHash<char16_t, quint32> m_weitere;
};

// The old road for a line with a character the face lacks: pieces between
// longer runs of blanks, each at its own column, through the painter's text
// layout with its font fallback.
void zeichneStueckweise(QPainter& maler, const QString& t, double y, double vorschub) {
    int i = 0;
    while (true) {
        while (i < t.size() && t.at(i) == QLatin1Char(' ')) ++i;
        if (i >= t.size()) break;
        int ende = i;
        int blanks = 0;
        for (int j = i; j < t.size() && blanks < kLuecke; ++j) {
            blanks = t.at(j) == QLatin1Char(' ') ? blanks + 1 : 0;
            if (blanks == 0) ende = j + 1;
        }
        maler.drawText(QPointF(i * vorschub, y), t.mid(i, ende - i));
        i = ende;
    }
}

}  // namespace

void malePages(QPainter& maler, QPagedPaintDevice& geraet, const QList<Seite>& seiten) {
    const Masse m = miss(geraet);
    const QFont normal = druckSchrift(false);
    const QFont fett = druckSchrift(true);
    Glyphenlauf laufNormal(normal, geraet, m.vorschub);
    Glyphenlauf laufFett(fett, geraet, m.vorschub);
    bool fettGesetzt = false;
    maler.setFont(normal);
    maler.setPen(Qt::black);
    for (int s = 0; s < seiten.size(); ++s) {
        if (s > 0 && !geraet.newPage()) throw DruckFehler(QStringLiteral("Es konnte keine neue Seite begonnen werden."));
        const QList<Seitenzeile>& zeilen = seiten.at(s).zeilen;
        for (int z = 0; z < zeilen.size(); ++z) {
            const Seitenzeile& zeile = zeilen.at(z);
            const double y = z * m.zeilenabstand + m.oberlaenge;
            Glyphenlauf& lauf = zeile.fett ? laufFett : laufNormal;
            if (lauf.gueltig() && lauf.setze(zeile.text, y)) {
                if (!lauf.leer()) maler.drawGlyphRun(QPointF(0, 0), lauf.lauf());
                continue;
            }
            if (zeile.text.trimmed().isEmpty()) continue;
            if (zeile.fett != fettGesetzt) {
                maler.setFont(zeile.fett ? fett : normal);
                fettGesetzt = zeile.fett;
            }
            zeichneStueckweise(maler, zeile.text, y, m.vorschub);
        }
    }
}

const PdfSeite& pdfSeite() {
    static const PdfSeite seite = [] {
        QBuffer puffer;
        puffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&puffer);
        pdf.setPageLayout(seitenLayout());
        const Masse m = miss(pdf);
        const double f = 72.0 / pdf.resolution();
        PdfSeite p;
        const QRectF voll = pdf.pageLayout().fullRect(QPageLayout::Point);
        const QRectF innen = pdf.pageLayout().paintRect(QPageLayout::Point);
        p.breite = voll.width();
        p.hoehe = voll.height();
        p.links = innen.left();
        p.oben = innen.top();
        p.vorschub = m.vorschub * f;
        p.zeilenabstand = m.zeilenabstand * f;
        p.oberlaenge = m.oberlaenge * f;
        p.mass = seitenmass(pdf);
        return p;
    }();
    return seite;
}

namespace {

QString titelVon(const Druckdokument& d) {
    return d.nummer().isEmpty() ? d.art() : d.art() + QLatin1Char(' ') + d.nummer();
}

// Qt's writer: for documents with characters beyond the code page of the
// own writer, drawn glyph run by glyph run with the painter's font fallback.
void schreibeMitQt(const Druckdokument& d, QIODevice& datei, const QString& pfad) {
    behaltePuffer();
    QPdfWriter pdf(&datei);
    pdf.setPageLayout(seitenLayout());
    pdf.setCreator(QStringLiteral("TALU"));
    pdf.setTitle(titelVon(d));
    const QList<Seite> seiten = seitenAufteilen(d, seitenmass(pdf));
    QPainter maler;
    if (!maler.begin(&pdf))
        throw DruckFehler(QStringLiteral("Die PDF-Datei \"%1\" kann nicht begonnen werden.").arg(pfad));
    malePages(maler, pdf, seiten);
    if (!maler.end()) throw DruckFehler(QStringLiteral("Die PDF-Datei \"%1\" wurde nicht fertig.").arg(pfad));
}

}  // namespace

void schreibePdf(const Druckdokument& d, const QString& pfad, PdfWeg weg) {
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        throw DruckFehler(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, datei.errorString()));
    bool fertig = false;
    if (weg != PdfWeg::NurQt) {
        try {
            fertig = schreibeEigenesPdf(seitenAufteilen(d, pdfSeite().mass), titelVon(d), datei);
        } catch (const DruckFehler& f) {
            throw DruckFehler(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2").arg(pfad, f.text()));
        }
    }
    if (!fertig) schreibeMitQt(d, datei, pfad);
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
