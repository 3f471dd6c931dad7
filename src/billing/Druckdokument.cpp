#include "billing/Druckdokument.h"

#include "kit/Formate.h"

namespace talu::druck {

QString Pad(const QString& x, int n) {
    if (n <= 0) return {};
    return x.leftJustified(n, QLatin1Char(' '), true);
}

QString Right(const QString& x, int n) { return x.rightJustified(n, QLatin1Char(' '), false); }

QString Money(double betrag) {
    QString t = waehrung(betrag);
    t.replace(QChar(0x00A0), QLatin1Char(' '));
    t.replace(QChar(0x202F), QLatin1Char(' '));
    return t;
}

QString MitBetrag(const QString& vorne, const QString& betrag, int n) {
    const int zuViel = int(betrag.size()) - n;
    if (zuViel <= 0) return vorne + Right(betrag, n);
    // Blanks at the end of vorne that the amount may take; the first blank
    // after text stays as a separator.
    int blanks = 0;
    while (blanks < vorne.size() && vorne.at(vorne.size() - 1 - blanks) == QLatin1Char(' ')) ++blanks;
    if (blanks == vorne.size()) return vorne.left(vorne.size() - qMin(blanks, zuViel)) + betrag;
    if (blanks == 0) return vorne + QLatin1Char(' ') + betrag;
    return vorne.left(vorne.size() - qMin(blanks - 1, zuViel)) + betrag;
}

QStringList umbrechen(const QString& text, int breite) {
    breite = qMax(1, breite);
    QStringList zeilen;
    for (const QString& absatz : text.split(QLatin1Char('\n'))) {
        QString zeile;
        for (QString wort : absatz.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!zeile.isEmpty() && zeile.size() + 1 + wort.size() <= breite) {
                zeile += QLatin1Char(' ') + wort;
                continue;
            }
            if (!zeile.isEmpty()) zeilen << zeile;
            while (wort.size() > breite) {
                zeilen << wort.left(breite);
                wort = wort.mid(breite);
            }
            zeile = wort;
        }
        zeilen << zeile;
    }
    return zeilen;
}

QString rand() { return QString(kRandBreite, QLatin1Char(' ')); }

Druckdokument::Druckdokument(const QString& art, const QString& nummer, const QDate& datum)
    : m_art(art), m_nummer(nummer), m_datum(datum) {}

void Druckdokument::zeile(const QString& text) {
    m_elemente.append({Element::Art::Zeile, rand() + text, m_fett});
}

void Druckdokument::leer(int anzahl) {
    for (int i = 0; i < anzahl; ++i) zeile();
}

void Druckdokument::neueSeite() { m_elemente.append({Element::Art::Seitenumbruch, {}, false}); }

void Druckdokument::auftragEnde() {
    m_elemente.append({Element::Art::Auftragsende, {}, false});
    m_fett = false;
}

int Druckdokument::zeilenAnzahl() const {
    int n = 0;
    for (const Element& e : m_elemente)
        if (e.art == Element::Art::Zeile) ++n;
    return n;
}

QString Druckdokument::dateiName() const {
    QString name = m_art.isEmpty() ? QStringLiteral("Ausdruck") : m_art;
    if (!m_nummer.isEmpty()) name += QLatin1Char('_') + m_nummer;
    if (m_datum.isValid()) name += QLatin1Char('_') + m_datum.toString(Qt::ISODate);
    // Only characters that every file system takes.
    for (QChar& c : name)
        if (c == QLatin1Char(' ') || c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':'))
            c = QLatin1Char('-');
    return name + QStringLiteral(".pdf");
}

QString seitenumbruchMarke() { return QStringLiteral("--- neue Seite ---"); }
QString auftragsendeMarke() { return QStringLiteral("=== Ende des Druckauftrags ==="); }

QString alsText(const Druckdokument& d) {
    QString t;
    for (const Element& e : d.elemente()) {
        switch (e.art) {
            case Element::Art::Zeile:
                t += (e.fett ? QStringLiteral("F|") : QStringLiteral(" |")) + e.text + QStringLiteral("|\n");
                break;
            case Element::Art::Seitenumbruch: t += seitenumbruchMarke() + QLatin1Char('\n'); break;
            case Element::Art::Auftragsende: t += auftragsendeMarke() + QLatin1Char('\n'); break;
        }
    }
    return t;
}

QList<Seite> seitenAufteilen(const Druckdokument& d, const Seitenmass& mass) {
    const int breite = qMax(kRandBreite + 1, mass.zeichenJeZeile);
    const int hoehe = qMax(1, mass.zeilenJeSeite);
    QList<Seite> seiten;
    int auftrag = 0;
    // A new page is opened only when a line needs it, so breaks never leave
    // an empty page behind.
    bool neueNoetig = true;
    auto setze = [&](const QString& text, bool fett) {
        if (neueNoetig || seiten.last().zeilen.size() >= hoehe) {
            seiten.append(Seite{auftrag, {}});
            neueNoetig = false;
        }
        seiten.last().zeilen.append({text, fett});
    };
    for (const Element& e : d.elemente()) {
        switch (e.art) {
            case Element::Art::Seitenumbruch: neueNoetig = true; break;
            case Element::Art::Auftragsende:
                if (!seiten.isEmpty() && seiten.last().auftrag == auftrag) ++auftrag;
                neueNoetig = true;
                break;
            case Element::Art::Zeile: {
                QString rest = e.text;
                while (rest.endsWith(QLatin1Char(' '))) rest.chop(1);
                setze(rest.left(breite), e.fett);
                rest = rest.mid(breite);
                // The part beyond the right edge continues after the margin.
                while (!rest.isEmpty()) {
                    setze(rand() + rest.left(breite - kRandBreite), e.fett);
                    rest = rest.mid(breite - kRandBreite);
                }
                break;
            }
        }
    }
    return seiten;
}

}  // namespace talu::druck
