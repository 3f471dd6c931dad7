#include "billing/AuskunftLayout.h"

#include "kit/Formate.h"
#include "billing/RechnungsLayout.h"

namespace talu::auskunft {

using druck::Druckdokument;
using druck::Pad;
using druck::umbrechen;

namespace {

// The width of a line after the margin: A4 in the print font holds 74 characters.
constexpr int kZeilenBreite = 66;
// The gap between two boxes printed side by side.
constexpr int kLuecke = 2;

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// Trailing blanks are not printed; amounts keep their blank before the sign
// as an ordinary one, as on the invoice.
void setze(Druckdokument& d, QString text) {
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    text.replace(QChar(0x202F), QLatin1Char(' '));
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    d.zeile(text);
}

void absatz(Druckdokument& d, const QString& text) {
    for (const QString& z : umbrechen(text, kZeilenBreite)) setze(d, z);
}

// A row: the caption, then its boxes side by side in equal columns when every
// text fits its column; otherwise one box under the other, each wrapped in
// the value column. An empty box prints nothing where it stands.
void feldzeile(Druckdokument& d, const Feldzeile& z) {
    QString kopf = Pad(z.caption, kWertSpalte);
    if (z.caption.size() >= kWertSpalte) {
        // A caption as wide as the column is never cut: it takes a line of its own.
        setze(d, z.caption);
        kopf = blanks(kWertSpalte);
    }
    QStringList werte;
    for (const QString& w : z.werte) werte << w.trimmed();
    const int n = int(werte.size());
    if (n == 0) {
        setze(d, kopf);
        return;
    }
    const int breite = (kWertBreite - (n - 1) * kLuecke) / n;
    const int letzte = kWertBreite - (n - 1) * (breite + kLuecke);
    bool passt = true;
    for (int i = 0; i < n; ++i)
        if (werte.at(i).size() > (i + 1 < n ? breite : letzte) || werte.at(i).contains(QLatin1Char('\n')))
            passt = false;
    if (passt) {
        QString t = kopf;
        for (int i = 0; i < n; ++i) t += i + 1 < n ? Pad(werte.at(i), breite) + blanks(kLuecke) : werte.at(i);
        setze(d, t);
        return;
    }
    bool erste = true;
    for (const QString& w : werte)
        for (const QString& teil : umbrechen(w, kWertBreite)) {
            setze(d, (erste ? kopf : blanks(kWertSpalte)) + teil);
            erste = false;
        }
}

void gutachterBlock(Druckdokument& d, const Gutachterausschuss& g) {
    d.setzeFettdruck(true);
    setze(d, QStringLiteral("Zuständiger Gutachterausschuss:"));
    d.setzeFettdruck(false);
    absatz(d, g.name.trimmed());
    if (!g.strasse.trimmed().isEmpty()) absatz(d, g.strasse.trimmed());
    const QString plzOrt = (g.plz.trimmed() + QLatin1Char(' ') + g.ort.trimmed()).trimmed();
    if (!plzOrt.isEmpty()) absatz(d, plzOrt);
    // The contact data that the committee has, under the place form's
    // captions, reduced to the parts present.
    auto kontakt = [&d](const QList<QPair<QString, QString>>& teile) {
        Feldzeile z;
        QStringList namen;
        for (const auto& [name, wert] : teile)
            if (!wert.trimmed().isEmpty()) {
                namen << name;
                z.werte << wert;
            }
        if (namen.isEmpty()) return;
        z.caption = namen.join(QStringLiteral(" / ")) + QLatin1Char(':');
        feldzeile(d, z);
    };
    kontakt({{QStringLiteral("Telefon"), g.telefon}, {QStringLiteral("Telefax"), g.telefax}});
    kontakt({{QStringLiteral("E-Mail"), g.email}, {QStringLiteral("Internet"), g.internet}});
}

}  // namespace

QString referenzText(qint64 protokollId) {
    return QStringLiteral("Auskunft Nr.: ") + (protokollId > 0 ? QString::number(protokollId) : QStringLiteral("–"));
}

QString schlussText(const QDate& tag) {
    return QStringLiteral("Die angegebenen Werte sind die Bodenrichtwerte der Datenbank am %1. "
                          "Sie sind keine Bewertung des Grundstücks.")
        .arg(datumText(tag));
}

Druckdokument auskunftDokument(const Auskunft& a) {
    Druckdokument d(QStringLiteral("Bodenrichtwertauskunft"),
                    a.protokollId > 0 ? QString::number(a.protokollId) : QString(), a.angezeigt.date());
    const abrechnung::Aussteller& aus = abrechnung::aussteller();
    d.leer(3);
    d.setzeFettdruck(true);
    setze(d, aus.name);
    setze(d, aus.strasse);
    d.leer();
    setze(d, aus.plzOrt);
    d.setzeFettdruck(false);
    d.leer(2);

    d.setzeFettdruck(true);
    setze(d, QStringLiteral("Bodenrichtwertauskunft"));
    d.setzeFettdruck(false);
    setze(d, QStringLiteral("Anzeige vom ") + datumText(a.angezeigt.date()) + QStringLiteral(", ") +
                 zeitText(a.angezeigt.time()) + QStringLiteral(" Uhr"));
    setze(d, referenzText(a.protokollId));
    setze(d, abrechnung::gleichheitsLinie());

    for (const Formularseite& s : a.seiten) {
        d.leer();
        d.setzeFettdruck(true);
        setze(d, s.titel);
        d.setzeFettdruck(false);
        for (const Feldzeile& z : s.zeilen) feldzeile(d, z);
    }
    if (a.gutachter) {
        d.leer();
        gutachterBlock(d, *a.gutachter);
    }
    d.leer();
    setze(d, abrechnung::gleichheitsLinie());
    absatz(d, schlussText(a.angezeigt.date()));
    d.auftragEnde();
    return d;
}

}  // namespace talu::auskunft
