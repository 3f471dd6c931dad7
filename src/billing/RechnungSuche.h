#pragma once
#include "billing/Bediener.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace talu {
class Datenbank;
}

namespace talu::abrechnung {


// "Rechnungen suchen": asks for an invoice number. Returns it when an
// invoice has it; otherwise nothing, after the message that says why (an
// empty answer ends silently). A number with a fractional part matches no
// invoice, as invoice numbers are whole.
std::optional<double> sucheRechnung(const Datenbank& db, Bediener& bediener);

// The data of frmRechnungen: one invoice, shown in eight boxes, whose open
// flag the operator switches between "ja" and "nein".
class RechnungsAnzeige {
public:
    // False when no invoice has this number.
    bool lade(const Datenbank& db, double nummer);
    bool geladen() const { return m_id != 0; }

    static QStringList beschriftungen();  // the labels of the eight boxes
    QStringList texte() const;            // the eight boxes, in their order
    const QString& offen() const { return m_offen; }
    // The button always offers the opposite of the current state: "Öffnen"
    // for a closed invoice, otherwise the design caption "&Schliessen" until
    // the first click, "Schliessen" after it.
    QString knopfText() const;

    // Stores the opposite state in exactly this row and returns it.
    QString schalteUm(const Datenbank& db);

private:
    qint64 m_id = 0;
    qint64 m_nummer = 0;
    QString m_kunde, m_offen;
    QDate m_datum, m_ziel;
    double m_netto = 0, m_steuer = 0, m_brutto = 0;
    bool m_umgeschaltet = false;
};

}  // namespace talu::abrechnung
