#include "billing/RechnungsLayout.h"

#include "kit/Formate.h"

namespace talu::abrechnung {

using druck::Druckdokument;
using druck::MitBetrag;
using druck::Money;
using druck::Pad;

namespace {

const QString kKopfZeile1 = QStringLiteral("Datum:     Zeit:   Modus:           Schlüssel:   Einzelpreis:");
const QString kKopfZeile2 = QStringLiteral("ID:                Objekt:");

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

// Left part of the total lines: 34 blanks and the label.
QString summenZeile(const QString& etikett, double betrag) {
    return MitBetrag(blanks(34) + etikett, Money(betrag), 10);
}

void postenZeilen(Druckdokument& d, const Posten& p) {
    d.zeile(datumText(p.datum) + QLatin1Char(' ') + p.uhrzeit + QStringLiteral(" h ") + Pad(p.vorgang, 17) +
            p.gemeindeschluessel + blanks(11) + Money(p.preis));
    d.zeile(Pad(QString::number(p.id), 19) + p.objekt.left(33));
    d.zeile();
}

}  // namespace

const Aussteller& aussteller() {
    static const Aussteller a{QStringLiteral("TALU Bodenwert-Informationsdienst GmbH"), QStringLiteral("Am Marstall 18"),
                              QStringLiteral("30159 Hannover")};
    return a;
}

QString gleichheitsLinie() { return QString(61, QLatin1Char('=')); }

double nettoSumme(const QList<Posten>& posten) {
    double s = 0;
    for (const Posten& p : posten) s += p.preis;
    return s;
}

void setzeRechnung(Druckdokument& d, const Kunde& k, qint64 nummer, const QDate& heute, const QList<Posten>& posten,
                   bool letzterPostenIstProtokollEnde) {
    setzeRechnung(d, k, nummer, heute, heute.addDays(14), posten, letzterPostenIstProtokollEnde);
}

void setzeRechnung(Druckdokument& d, const Kunde& k, qint64 nummer, const QDate& heute, const QDate& zahlungsziel,
                   const QList<Posten>& posten, bool letzterPostenIstProtokollEnde) {
    const double netto = nettoSumme(posten);
    d.setzeFettdruck(false);
    d.leer(5);
    d.setzeFettdruck(true);
    d.zeile(aussteller().name);
    d.zeile(aussteller().strasse);
    d.leer();
    d.zeile(aussteller().plzOrt);
    d.setzeFettdruck(false);
    d.leer(3);

    d.zeile(Pad(k.name, 34) + QStringLiteral("Rechnungs-Nr.  : ") + QString::number(nummer));
    if (!k.zusatz.isEmpty()) d.zeile(Pad(k.zusatz, 34));
    d.zeile(Pad(k.strasse, 34) + QStringLiteral("Rechungs-Datum : ") + datumText(heute));
    d.zeile(blanks(34) + QStringLiteral("Kunden-Nummer  : ") + QString::number(k.id));
    d.zeile(k.plz + QLatin1Char(' ') + k.ort);
    d.leer(3);

    d.setzeFettdruck(true);
    d.zeile(kKopfZeile1);
    d.zeile(kKopfZeile2);
    d.setzeFettdruck(false);
    d.zeile(gleichheitsLinie());
    d.leer();

    int aufSeite = 0;
    for (int i = 0; i < posten.size(); ++i) {
        postenZeilen(d, posten.at(i));
        ++aufSeite;
        const bool mehrZeilen = i + 1 < posten.size() || !letzterPostenIstProtokollEnde;
        if (mehrZeilen && aufSeite == kPostenJeSeite) {
            d.neueSeite();
            d.leer(5);
            d.setzeFettdruck(true);
            d.zeile(kKopfZeile1);
            d.zeile(kKopfZeile2 + blanks(29));
            d.setzeFettdruck(false);
            d.zeile(gleichheitsLinie());
            d.leer();
            aufSeite = 0;
        }
    }
    // Exactly ten, as the layout was made for: the totals would not fit below.
    if (aufSeite == 10) {
        d.neueSeite();
        d.leer(5);
    }

    d.zeile(gleichheitsLinie());
    d.zeile(summenZeile(QStringLiteral("Preis (Netto)  : "), netto));
    d.zeile(summenZeile(QStringLiteral("Steuer         : "), netto * kSteuersatz));
    d.setzeFettdruck(true);
    d.zeile(summenZeile(QStringLiteral("Preis (Brutto) : "), netto * kBruttoFaktor));
    d.zeile(gleichheitsLinie());
    d.leer();
    d.zeile(QStringLiteral("Bitte überweisen Sie den Betrag bis zum ") + datumText(zahlungsziel) +
            QStringLiteral(" auf eines"));
    d.zeile(QStringLiteral("unserer u. a. Konten."));
    d.setzeFettdruck(false);
    d.auftragEnde();
}

Druckdokument rechnungsDokument(const Kunde& k, qint64 nummer, const QDate& heute, const QList<Posten>& posten,
                                bool letzterPostenIstProtokollEnde) {
    return rechnungsDokument(k, nummer, heute, heute.addDays(14), posten, letzterPostenIstProtokollEnde);
}

Druckdokument rechnungsDokument(const Kunde& k, qint64 nummer, const QDate& datum, const QDate& zahlungsziel,
                                const QList<Posten>& posten, bool letzterPostenIstProtokollEnde) {
    Druckdokument d(QStringLiteral("Rechnung"), QString::number(nummer), datum);
    for (int kopie = 1; kopie <= 2; ++kopie)
        setzeRechnung(d, k, nummer, datum, zahlungsziel, posten, letzterPostenIstProtokollEnde);
    return d;
}

Druckdokument rechnungslisteDokument(const QList<OffeneRechnung>& rechnungen, const QDate& heute) {
    Druckdokument d(QStringLiteral("Offene-Rechnungen"), {}, heute);
    d.leer(5);
    d.setzeFettdruck(true);
    d.zeile(QStringLiteral("Liste der offenen Rechnungen ") + datumText(heute));
    d.setzeFettdruck(false);
    d.leer(3);
    d.setzeFettdruck(true);
    d.zeile(QStringLiteral("Nummer: Datum:     Kunden-Name:                 Bruttobetrag:"));
    d.setzeFettdruck(false);
    d.zeile(gleichheitsLinie());
    double summe = 0;
    for (const OffeneRechnung& r : rechnungen) {
        d.zeile(MitBetrag(Pad(QString::number(r.nummer), 8) + datumText(r.datum) + QLatin1Char(' ') +
                              Pad(r.kundenName, 32),
                          Money(r.brutto).trimmed(), 10));
        summe += r.brutto;
    }
    d.zeile(gleichheitsLinie());
    d.zeile(MitBetrag(blanks(34 + 17), Money(summe), 10));
    d.zeile(gleichheitsLinie());
    d.leer();
    d.auftragEnde();
    return d;
}

QStringList gutachterLaender() { return {QStringLiteral("03"), QStringLiteral("05"), QStringLiteral("12")}; }

Druckdokument gutachterDokument(const QList<GutachterAnteil>& anteile, const QDate& heute) {
    Druckdokument d(QStringLiteral("Gutachter-Kontroll-Ausdruck"), {}, heute);
    d.leer(5);
    d.setzeFettdruck(true);
    d.zeile(QStringLiteral("Gutachter-Kontroll-Ausdruck vom ") + datumText(heute));
    d.setzeFettdruck(false);
    d.leer(3);
    d.setzeFettdruck(true);
    d.zeile(QStringLiteral("Nummer: Datum:     Schlüssel:                   Bruttobetrag:"));
    d.setzeFettdruck(false);
    d.zeile(gleichheitsLinie());
    const QStringList laender = gutachterLaender();
    QList<double> teilsummen(laender.size(), 0.0);
    double summe = 0;
    for (const GutachterAnteil& a : anteile) {
        d.zeile(MitBetrag(Pad(QString::number(a.id), 8) + datumText(a.datum) + QLatin1Char(' ') + a.gemeindeschluessel,
                          Money(a.betrag).trimmed(), 34));
        summe += a.betrag;
        for (int i = 0; i < laender.size(); ++i)
            if (a.gemeindeschluessel.startsWith(laender.at(i))) teilsummen[i] += a.betrag;
    }
    d.zeile(gleichheitsLinie());
    d.zeile(MitBetrag(blanks(34 + 17), Money(summe), 10));
    d.zeile(gleichheitsLinie());
    // A state without open shares prints 0 in the currency format.
    for (int i = 0; i < laender.size(); ++i)
        d.zeile(MitBetrag(QStringLiteral("Gruppierungen nach %1:").arg(laender.at(i)), Money(teilsummen.at(i)), 39));
    d.zeile(gleichheitsLinie());
    d.auftragEnde();
    return d;
}

}  // namespace talu::abrechnung
