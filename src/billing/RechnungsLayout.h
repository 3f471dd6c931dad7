#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include "billing/Druckdokument.h"

namespace talu::abrechnung {

// The issuer's name and postal address, the first lines of every invoice.
struct Aussteller {
    QString name, strasse, plzOrt;
};
const Aussteller& aussteller();

// An invoice customer (a row of rechnungs_kunden).
struct Kunde {
    qint64 id = 0;
    QString benutzername;
    QString name;
    QString zusatz;  // Null reads as empty: no line then
    QString strasse, plz, ort;
};

// One billed query-log row.
struct Posten {
    qint64 id = 0;
    QDate datum;  // invalid for Null: prints as empty text
    QString uhrzeit, vorgang, gemeindeschluessel, objekt;
    double preis = 0;
};

// One line of the open-invoice list.
struct OffeneRechnung {
    qint64 nummer = 0;
    QDate datum;
    QString kundenName;
    double brutto = 0;
};

// One open appraiser share.
struct GutachterAnteil {
    qint64 id = 0;
    QDate datum;
    QString gemeindeschluessel;
    double betrag = 0;  // preis_gutachter; Null counts as 0
};

constexpr double kSteuersatz = 0.16;
constexpr double kBruttoFaktor = 1.16;
constexpr int kPostenJeSeite = 12;

QString gleichheitsLinie();  // the 61 equals signs

double nettoSumme(const QList<Posten>& posten);

// Appends one copy of an invoice as one print job. More log rows follow the
// last item unless it is the last row of the log; this decides whether a full
// page of 12 items is followed by a new page before the totals.
void setzeRechnung(druck::Druckdokument& d, const Kunde& k, qint64 nummer, const QDate& heute,
                   const QList<Posten>& posten, bool letzterPostenIstProtokollEnde);
void setzeRechnung(druck::Druckdokument& d, const Kunde& k, qint64 nummer, const QDate& datum,
                   const QDate& zahlungsziel, const QList<Posten>& posten, bool letzterPostenIstProtokollEnde);
// The whole invoice as printed: copy 1 and copy 2.
druck::Druckdokument rechnungsDokument(const Kunde& k, qint64 nummer, const QDate& heute,
                                       const QList<Posten>& posten, bool letzterPostenIstProtokollEnde);
// The same with the invoice date and payment term of a stored invoice, for
// printing it again exactly as it was.
druck::Druckdokument rechnungsDokument(const Kunde& k, qint64 nummer, const QDate& datum, const QDate& zahlungsziel,
                                       const QList<Posten>& posten, bool letzterPostenIstProtokollEnde);

// The list of open invoices with the sum of the listed gross amounts.
druck::Druckdokument rechnungslisteDokument(const QList<OffeneRechnung>& rechnungen, const QDate& heute);

// The appraiser control print-out: the shares, their total and the subtotals
// of the states 03, 05 and 12 (first two digits of the municipality key).
druck::Druckdokument gutachterDokument(const QList<GutachterAnteil>& anteile, const QDate& heute);
// The states whose subtotals the print-out shows, in its order.
QStringList gutachterLaender();

}  // namespace talu::abrechnung
