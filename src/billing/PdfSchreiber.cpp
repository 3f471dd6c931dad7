#include "billing/PdfSchreiber.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QMap>
#include <QRawFont>
#include <array>
#include <cmath>
#include <mutex>
#include <vector>

#include "billing/PdfAusgabe.h"

namespace talu::druck {

namespace {

quint16 u16(const QByteArray& b, qsizetype o) {
    return o + 2 <= b.size() ? quint16((uchar(b[o]) << 8) | uchar(b[o + 1])) : 0;
}
qint16 s16(const QByteArray& b, qsizetype o) { return qint16(u16(b, o)); }
quint32 u32(const QByteArray& b, qsizetype o) { return (quint32(u16(b, o)) << 16) | u16(b, o + 2); }
void setze16(QByteArray& b, qsizetype o, quint16 v) {
    b[o] = char(v >> 8);
    b[o + 1] = char(v & 0xFF);
}
void setze32(QByteArray& b, qsizetype o, quint32 v) {
    setze16(b, o, quint16(v >> 16));
    setze16(b, o + 2, quint16(v & 0xFFFF));
}
void haenge16(QByteArray& b, quint16 v) {
    b.append(char(v >> 8));
    b.append(char(v & 0xFF));
}
void haenge32(QByteArray& b, quint32 v) {
    haenge16(b, quint16(v >> 16));
    haenge16(b, quint16(v & 0xFFFF));
}
quint32 pruefsumme(const QByteArray& b) {
    quint32 s = 0;
    for (qsizetype i = 0; i < b.size(); i += 4) {
        quint32 w = 0;
        for (int k = 0; k < 4; ++k) w = (w << 8) | (i + k < b.size() ? uchar(b[i + k]) : 0u);
        s += w;
    }
    return s;
}

// A number for the page description: at most three decimals, no trailing zeros.
QByteArray zahl(double v) {
    QByteArray t = QByteArray::number(std::round(v * 1000) / 1000, 'f', 3);
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
    if (t == "-0") t = "0";
    return t;
}

// zlib data for a FlateDecode stream (qCompress puts the length in front).
QByteArray flach(const QByteArray& roh) {
    const QByteArray c = qCompress(roh, 6);
    return c.mid(4);
}

using Glyphen = std::vector<bool>;

QByteArray hex4(quint16 v) {
    static const char z[] = "0123456789ABCDEF";
    const char t[4] = {z[v >> 12], z[(v >> 8) & 15], z[(v >> 4) & 15], z[v & 15]};
    return QByteArray(t, 4);
}

// One face of the print font, read once from the font Qt would print with.
class Schrift {
public:
    explicit Schrift(bool fett) {
        const QRawFont roh = QRawFont::fromFont(druckSchrift(fett));
        if (!roh.isValid()) return;
        for (const char* tag : {"head", "hhea", "maxp", "hmtx", "loca", "glyf", "cmap", "cvt ", "fpgm", "prep", "post", "OS/2"})
            m_tabellen.insert(QByteArray(tag), roh.fontTable(tag));
        const QByteArray& head = m_tabellen["head"];
        const QByteArray& hhea = m_tabellen["hhea"];
        const QByteArray& maxp = m_tabellen["maxp"];
        const QByteArray& loca = m_tabellen["loca"];
        if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6 || loca.isEmpty() || m_tabellen["glyf"].isEmpty() ||
            m_tabellen["hmtx"].isEmpty() || m_tabellen["cmap"].isEmpty())
            return;  // no TrueType outlines: Qt's writer handles such a font
        m_einheiten = u16(head, 18);
        if (m_einheiten == 0) return;
        const bool lang = s16(head, 50) == 1;
        m_glyphen = u16(maxp, 4);
        m_loca.resize(m_glyphen + 1);
        for (int g = 0; g <= m_glyphen; ++g) m_loca[g] = lang ? u32(loca, 4 * g) : 2u * u16(loca, 2 * g);
        if (m_loca.back() > quint32(m_tabellen["glyf"].size())) return;
        const int metriken = u16(hhea, 34);
        const QByteArray& hmtx = m_tabellen["hmtx"];
        if (metriken == 0 || hmtx.size() < 4 * metriken) return;
        m_bbox = {s16(head, 36), s16(head, 38), s16(head, 40), s16(head, 42)};
        m_aufstieg = s16(hhea, 4);
        m_abstieg = s16(hhea, 6);
        const QByteArray& post = m_tabellen["post"];
        m_neigung = post.size() >= 8 ? double(qint32(u32(post, 4))) / 65536.0 : 0;
        // Every character of the basic plane at once; surrogates and
        // controls get no glyph, so such a line goes to Qt's writer.
        std::vector<QChar> alle(0x10000);
        for (int c = 0; c < 0x10000; ++c) alle[c] = QChar(char16_t(c));
        std::vector<quint32> glyphen(0x10000, 0);
        int n = 0x10000;
        if (!roh.glyphIndexesForChars(alle.data(), 0x10000, glyphen.data(), &n)) return;
        m_glyph.assign(0x10000, 0);
        for (int c = 0x20; c < 0x10000; ++c) {
            if ((c >= 0x7F && c < 0xA0) || QChar::isSurrogate(char32_t(c))) continue;
            if (glyphen[c] > 0 && glyphen[c] < quint32(m_glyphen)) m_glyph[c] = quint16(glyphen[c]);
        }
        m_breiten.resize(m_glyphen);
        for (int g = 0; g < m_glyphen; ++g) m_breiten[g] = u16(hmtx, 4 * qMin(g, metriken - 1));
        m_unicode.assign(m_glyphen, 0);
        for (int c = 0xFFFF; c >= 0x20; --c)
            if (m_glyph[c]) m_unicode[m_glyph[c]] = char16_t(c);
        const QString familie = roh.familyName().remove(QLatin1Char(' '));
        m_name = (familie.isEmpty() ? QStringLiteral("Druckschrift") : familie).toLatin1() +
                 (fett ? "-BoldItalic" : "-Italic");
        m_fett = fett;
        m_gut = true;
    }

    bool gut() const { return m_gut; }
    // The glyph of c, 0 when the face has none.
    quint16 glyph(QChar c) const { return m_glyph.empty() ? 0 : m_glyph[c.unicode()]; }
    int breite(quint16 glyph) const { return m_breiten[glyph]; }  // in font units
    int einheiten() const { return m_einheiten; }
    // The width as readers take it: whole thousandths of the size.
    int breite1000(quint16 glyph) const { return int(std::lround(m_breiten[glyph] * 1000.0 / m_einheiten)); }
    int glyphen() const { return m_glyphen; }

    // The font objects as numbers erster to erster + 4: descriptor, file,
    // glyph font, composite font (the one pages name), text table.
    void objekte(int erster, const Glyphen& benutzt, QList<qint64>& orte, QByteArray& aus) const {
        const Teil& t = teil(benutzt);
        const double f = 1000.0 / m_einheiten;
        orte[erster] = aus.size();
        aus += QByteArray::number(erster) + " 0 obj\n<< /Type /FontDescriptor /FontName /" + t.name +
               " /Flags " + QByteArray::number(1 + 32 + 64) + " /FontBBox [" + zahl(m_bbox[0] * f) + ' ' +
               zahl(m_bbox[1] * f) + ' ' + zahl(m_bbox[2] * f) + ' ' + zahl(m_bbox[3] * f) + "] /ItalicAngle " +
               zahl(m_neigung) + " /Ascent " + zahl(m_aufstieg * f) + " /Descent " + zahl(m_abstieg * f) +
               " /CapHeight " + zahl(m_aufstieg * f) + " /StemV " + (m_fett ? "120" : "80") + " /FontFile2 " +
               QByteArray::number(erster + 1) + " 0 R >>\nendobj\n";
        orte[erster + 1] = aus.size();
        aus += QByteArray::number(erster + 1) + " 0 obj\n<< /Length " + QByteArray::number(t.datei.size()) +
               " /Length1 " + QByteArray::number(t.laenge1) + " /Filter /FlateDecode >>\nstream\n";
        aus += t.datei;
        aus += "\nendstream\nendobj\n";
        orte[erster + 2] = aus.size();
        aus += QByteArray::number(erster + 2) + " 0 obj\n<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + t.name +
               " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor " +
               QByteArray::number(erster) + " 0 R /CIDToGIDMap /Identity /DW " + QByteArray::number(breite1000(0));
        // Widths that differ from the default, glyph by glyph.
        QByteArray w;
        for (int g = 1; g < m_glyphen; ++g)
            if (benutzt[g] && m_breiten[g] != m_breiten[0])
                w += QByteArray::number(g) + " [" + QByteArray::number(breite1000(g)) + "] ";
        if (!w.isEmpty()) aus += " /W [" + w + ']';
        aus += " >>\nendobj\n";
        orte[erster + 3] = aus.size();
        aus += QByteArray::number(erster + 3) + " 0 obj\n<< /Type /Font /Subtype /Type0 /BaseFont /" + t.name +
               " /Encoding /Identity-H /DescendantFonts [" + QByteArray::number(erster + 2) + " 0 R] /ToUnicode " +
               QByteArray::number(erster + 4) + " 0 R >>\nendobj\n";
        orte[erster + 4] = aus.size();
        aus += QByteArray::number(erster + 4) + " 0 obj\n<< /Length " + QByteArray::number(t.text.size()) +
               " /Filter /FlateDecode >>\nstream\n" + t.text + "\nendstream\nendobj\n";
    }

private:
    struct Teil {
        QByteArray name;   // with the subset's tag
        QByteArray datei;  // compressed
        qsizetype laenge1 = 0;
        QByteArray text;   // glyphs to characters, compressed
    };

    // The subset for these codes; kept, because a run's documents mostly use
    // the same characters.
    const Teil& teil(const Glyphen& benutzt) const {
        QByteArray schluessel((m_glyphen + 7) / 8, '\0');
        for (int g = 0; g < m_glyphen; ++g)
            if (benutzt[g]) schluessel[g / 8] = char(uchar(schluessel[g / 8]) | (1 << (g % 8)));
        std::lock_guard<std::mutex> sperre(m_sperre);
        const auto it = m_teile.constFind(schluessel);
        if (it != m_teile.cend()) return *it;
        if (m_teile.size() > 64) m_teile.clear();
        Teil t;
        const QByteArray font = baueTeil(benutzt);
        t.laenge1 = font.size();
        t.datei = flach(font);
        t.text = flach(textTabelle(benutzt));
        const QByteArray h = QCryptographicHash::hash(schluessel + m_name, QCryptographicHash::Sha1);
        QByteArray tag;
        for (int i = 0; i < 6; ++i) tag += char('A' + uchar(h[i]) % 26);
        t.name = tag + '+' + m_name;
        return *m_teile.insert(schluessel, t);
    }

    // The font with the glyphs of these codes (and their parts) only; the
    // others keep their numbers but lose their outlines.
    // The text-extraction table: each glyph used stands for one character.
    QByteArray textTabelle(const Glyphen& benutzt) const {
        QList<QByteArray> paare;
        for (int g = 1; g < m_glyphen; ++g)
            if (benutzt[g] && m_unicode[g])
                paare << '<' + hex4(quint16(g)) + "> <" + hex4(m_unicode[g]) + ">\n";
        QByteArray t =
            "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo << /Registry (Adobe) "
            "/Ordering (UCS) /Supplement 0 >> def\n/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
        for (qsizetype i = 0; i < paare.size(); i += 100) {
            const qsizetype n = qMin<qsizetype>(100, paare.size() - i);
            t += QByteArray::number(n) + " beginbfchar\n";
            for (qsizetype k = i; k < i + n; ++k) t += paare.at(k);
            t += "endbfchar\n";
        }
        return t + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    }

    QByteArray baueTeil(const Glyphen& benutzt) const {
        const QByteArray& glyf = m_tabellen["glyf"];
        std::vector<bool> noetig(m_glyphen, false);
        std::vector<quint16> offen{0};
        for (int g = 1; g < m_glyphen; ++g)
            if (benutzt[g]) offen.push_back(quint16(g));
        while (!offen.empty()) {
            const quint16 g = offen.back();
            offen.pop_back();
            if (g >= m_glyphen || noetig[g]) continue;
            noetig[g] = true;
            const qsizetype a = m_loca[g], e = m_loca[g + 1];
            if (e - a < 10 || s16(glyf, a) >= 0) continue;
            // A composite glyph: its parts are needed too.
            qsizetype o = a + 10;
            while (o + 4 <= e) {
                const quint16 flags = u16(glyf, o);
                offen.push_back(u16(glyf, o + 2));
                o += 4 + ((flags & 0x0001) ? 4 : 2);
                if (flags & 0x0008) o += 2;
                else if (flags & 0x0040) o += 4;
                else if (flags & 0x0080) o += 8;
                if (!(flags & 0x0020)) break;
            }
        }
        QByteArray neuGlyf, neuLoca;
        for (int g = 0; g < m_glyphen; ++g) {
            haenge32(neuLoca, quint32(neuGlyf.size()));
            if (!noetig[g]) continue;
            neuGlyf += glyf.mid(m_loca[g], m_loca[g + 1] - m_loca[g]);
            while (neuGlyf.size() % 4) neuGlyf.append('\0');
        }
        haenge32(neuLoca, quint32(neuGlyf.size()));

        QMap<QByteArray, QByteArray> tabellen;
        for (auto it = m_tabellen.cbegin(); it != m_tabellen.cend(); ++it)
            if (!it.value().isEmpty()) tabellen.insert(it.key(), it.value());
        tabellen["glyf"] = neuGlyf;
        tabellen["loca"] = neuLoca;
        QByteArray head = tabellen["head"];
        setze32(head, 8, 0);
        setze16(head, 50, 1);  // long offsets in loca
        tabellen["head"] = head;
        if (tabellen.contains("post") && tabellen["post"].size() >= 32) {
            QByteArray post = tabellen["post"].left(32);
            setze32(post, 0, 0x00030000);  // no glyph names
            tabellen["post"] = post;
        }

        // The font file: directory, then the tables in the order of their tags.
        const int n = int(tabellen.size());
        int hoch = 1, stufe = 0;
        while (hoch * 2 <= n) hoch *= 2, ++stufe;
        QByteArray aus;
        haenge32(aus, 0x00010000);
        haenge16(aus, quint16(n));
        haenge16(aus, quint16(hoch * 16));
        haenge16(aus, quint16(stufe));
        haenge16(aus, quint16(n * 16 - hoch * 16));
        quint32 ort = 12 + 16 * n;
        qsizetype headOrt = 0;
        QByteArray daten;
        for (auto it = tabellen.cbegin(); it != tabellen.cend(); ++it) {
            aus += it.key();
            haenge32(aus, pruefsumme(it.value()));
            haenge32(aus, ort);
            haenge32(aus, quint32(it.value().size()));
            if (it.key() == "head") headOrt = 12 + 16 * n + daten.size();
            daten += it.value();
            while (daten.size() % 4) daten.append('\0');
            ort = quint32(12 + 16 * n + daten.size());
        }
        aus += daten;
        setze32(aus, headOrt + 8, 0xB1B0AFBAu - pruefsumme(aus));
        return aus;
    }

    bool m_gut = false;
    bool m_fett = false;
    QByteArray m_name;
    QMap<QByteArray, QByteArray> m_tabellen;
    int m_einheiten = 0;
    int m_glyphen = 0;
    std::vector<quint32> m_loca;
    std::array<int, 4> m_bbox{};
    int m_aufstieg = 0, m_abstieg = 0;
    double m_neigung = 0;
    std::vector<quint16> m_glyph;     // by character of the basic plane
    std::vector<int> m_breiten;       // by glyph
    std::vector<char16_t> m_unicode;  // by glyph: the character it stands for
    mutable std::mutex m_sperre;
    mutable QHash<QByteArray, Teil> m_teile;
};

const Schrift& schrift(bool fett) {
    static const Schrift normal(false);
    static const Schrift dick(true);
    return fett ? dick : normal;
}

// A line as one text command: its runs of glyphs as strings of two bytes per
// glyph, the gaps between them as moves of the pen (luecken[n]: n blanks).
// Blanks (glyph 0 here) are no glyphs, as in Qt's writer, so that text
// extraction sees the same words at the same places.
void haengeZeile(QByteArray& aus, const std::vector<quint16>& glyphen, const std::vector<QByteArray>& luecken) {
    auto byte = [&aus](char c) {
        if (c == '(' || c == ')' || c == '\\') aus += '\\';
        if (c == '\r') aus += "\\r";
        else aus += c;
    };
    aus += "[(";
    for (size_t i = 0; i < glyphen.size(); ++i) {
        const quint16 g = glyphen[i];
        if (g == 0) {
            size_t n = 1;
            while (glyphen[i + n] == 0) ++n;  // never the last: lines end in a glyph
            aus += ")-";
            aus += n < luecken.size() ? luecken[n] : zahl(luecken[1].toDouble() * double(n));
            aus += '(';
            i += n - 1;
            continue;
        }
        byte(char(g >> 8));
        byte(char(g & 0xFF));
    }
    aus += ")]TJ\n";
}

QByteArray pdfDatum(const QDateTime& t) {
    const QDateTime u = t.toUTC();
    return "D:" + u.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + 'Z';
}

// A text string of the document information, as UTF-16 with its mark.
QByteArray infoText(const QString& s) {
    QByteArray h = "<FEFF";
    for (QChar c : s) h += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return h + '>';
}

}  // namespace

bool schreibeEigenesPdf(const QList<Seite>& seiten, const QString& titel, QIODevice& ziel) {
    const PdfSeite& ps = pdfSeite();
    const Schrift* faces[2] = {&schrift(false), &schrift(true)};
    // Every line as glyphs first: a character the face lacks, or a face
    // whose glyphs differ in width, leaves the document to Qt's writer.
    Glyphen benutzt[2];
    for (int f = 0; f < 2; ++f)
        if (faces[f]->gut()) benutzt[f].assign(faces[f]->glyphen(), false);
    bool verwendet[2] = {false, false};
    // Every glyph must advance by one column, as a blank does.
    int blankBreite[2] = {0, 0};
    for (int f = 0; f < 2; ++f)
        if (faces[f]->gut()) blankBreite[f] = faces[f]->breite(faces[f]->glyph(QLatin1Char(' ')));
    std::vector<std::vector<std::vector<quint16>>> zeilen(seiten.size());
    std::vector<std::vector<int>> einzug(seiten.size());
    for (qsizetype s = 0; s < seiten.size(); ++s) {
        for (const Seitenzeile& z : seiten.at(s).zeilen) {
            const Schrift& f = *faces[z.fett];
            qsizetype a = 0, e = z.text.size();
            while (a < e && z.text.at(a) == QLatin1Char(' ')) ++a;
            while (e > a && z.text.at(e - 1) == QLatin1Char(' ')) --e;
            std::vector<quint16> g;
            g.reserve(e - a);
            if (e > a && !f.gut()) return false;
            for (qsizetype i = a; i < e; ++i) {
                const QChar c = z.text.at(i);
                if (c == QLatin1Char(' ')) {
                    g.push_back(0);
                    continue;
                }
                const quint16 n = f.glyph(c);
                if (n == 0 || f.breite(n) != blankBreite[z.fett]) return false;
                benutzt[z.fett][n] = true;
                g.push_back(n);
            }
            if (!g.empty()) verwendet[z.fett] = true;
            zeilen[s].push_back(std::move(g));
            einzug[s].push_back(int(a));
        }
    }

    QByteArray aus;
    aus.reserve(64 * 1024);
    aus += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    const int anzahlSeiten = qMax(1, int(seiten.size()));
    // Objects: 1 catalog, 2 page tree, 3 information, three per face used,
    // then page and content for each page.
    int naechstes = 4;
    int fontObjekt[2] = {0, 0};
    for (int f = 0; f < 2; ++f)
        if (verwendet[f]) fontObjekt[f] = naechstes, naechstes += 5;
    const int ersteSeite = naechstes;
    const int objekte = ersteSeite + 2 * anzahlSeiten;
    QList<qint64> orte(objekte, 0);

    orte[1] = aus.size();
    aus += "1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n";
    orte[2] = aus.size();
    aus += "2 0 obj\n<< /Type /Pages /Count " + QByteArray::number(anzahlSeiten) + " /Kids [";
    for (int s = 0; s < anzahlSeiten; ++s) aus += (s ? " " : "") + QByteArray::number(ersteSeite + 2 * s) + " 0 R";
    aus += "] >>\nendobj\n";
    orte[3] = aus.size();
    const QByteArray jetzt = pdfDatum(QDateTime::currentDateTime());
    aus += "3 0 obj\n<< /Title " + infoText(titel) + " /Creator (TALU) /Producer (TALU) /CreationDate (" + jetzt +
           ") >>\nendobj\n";
    QByteArray ressourcen = "<< /Font << ";
    for (int f = 0; f < 2; ++f) {
        if (!verwendet[f]) continue;
        faces[f]->objekte(fontObjekt[f], benutzt[f], orte, aus);
        ressourcen += "/F" + QByteArray::number(f + 1) + ' ' + QByteArray::number(fontObjekt[f] + 3) + " 0 R ";
    }
    ressourcen += ">> >>";

    // Positions as text, made once: the baseline of each line of a page and
    // the left edge of each column.
    const double punkt = 12.0;
    std::vector<QByteArray> yText(ps.mass.zeilenJeSeite + 1);
    for (int z = 0; z <= ps.mass.zeilenJeSeite; ++z)
        yText[z] = zahl(ps.hoehe - (ps.oben + z * ps.zeilenabstand + ps.oberlaenge));
    std::vector<QByteArray> xText;
    auto x = [&](int spalte) -> const QByteArray& {
        while (int(xText.size()) <= spalte) xText.push_back(zahl(ps.links + int(xText.size()) * ps.vorschub));
        return xText[spalte];
    };
    // The character spacing that puts each glyph on its column exactly.
    QByteArray abstand[2];
    for (int f = 0; f < 2; ++f)
        if (faces[f]->gut() && faces[f]->einheiten())
            abstand[f] = QByteArray::number(
                ps.vorschub - punkt * faces[f]->breite1000(faces[f]->glyph(QLatin1Char(' '))) / 1000.0, 'f', 5);
    // One blank: the pen moves on by one column (thousandths of the size).
    std::vector<QByteArray> luecken(ps.mass.zeichenJeZeile + 1);
    for (size_t n = 1; n < luecken.size(); ++n) luecken[n] = zahl(double(n) * ps.vorschub * 1000.0 / punkt);
    const QByteArray kasten = "[0 0 " + zahl(ps.breite) + ' ' + zahl(ps.hoehe) + ']';

    QByteArray inhalt;
    for (int s = 0; s < anzahlSeiten; ++s) {
        inhalt.clear();
        if (s < seiten.size()) {
            const QList<Seitenzeile>& l = seiten.at(s).zeilen;
            int gesetzt = -1;
            bool offen = false;
            for (qsizetype z = 0; z < l.size(); ++z) {
                const std::vector<quint16>& t = zeilen[s][z];
                if (t.empty()) continue;
                if (!offen) inhalt += "BT\n", offen = true;
                const int f = l.at(z).fett ? 1 : 0;
                if (f != gesetzt) {
                    inhalt += "/F" + QByteArray::number(f + 1) + " 12 Tf " + abstand[f] + " Tc\n";
                    gesetzt = f;
                }
                inhalt += "1 0 0 1 ";
                inhalt += x(einzug[s][z]);
                inhalt += ' ';
                inhalt += z < qsizetype(yText.size()) ? yText[z]
                                                      : zahl(ps.hoehe - (ps.oben + z * ps.zeilenabstand + ps.oberlaenge));
                inhalt += " Tm ";
                haengeZeile(inhalt, t, luecken);
            }
            if (offen) inhalt += "ET\n";
        }
        const QByteArray daten = flach(inhalt);
        const int seite = ersteSeite + 2 * s;
        orte[seite] = aus.size();
        aus += QByteArray::number(seite) + " 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox " + kasten +
               " /Resources " + ressourcen + " /Contents " + QByteArray::number(seite + 1) + " 0 R >>\nendobj\n";
        orte[seite + 1] = aus.size();
        aus += QByteArray::number(seite + 1) + " 0 obj\n<< /Length " + QByteArray::number(daten.size()) +
               " /Filter /FlateDecode >>\nstream\n";
        aus += daten;
        aus += "\nendstream\nendobj\n";
    }

    const qint64 xref = aus.size();
    aus += "xref\n0 " + QByteArray::number(objekte) + "\n0000000000 65535 f \n";
    for (int i = 1; i < objekte; ++i) aus += QByteArray::number(orte[i]).rightJustified(10, '0') + " 00000 n \n";
    aus += "trailer\n<< /Size " + QByteArray::number(objekte) + " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    if (ziel.write(aus) != aus.size())
        throw DruckFehler(QStringLiteral("Die PDF-Datei kann nicht geschrieben werden: %1").arg(ziel.errorString()));
    return true;
}

}  // namespace talu::druck
