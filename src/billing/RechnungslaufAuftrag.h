#pragma once
#include "billing/Rechnungslauf.h"
#include "tools/stapel/Stapelauftrag.h"

namespace talu::abrechnung {

// The invoice run as a long command of the job layer. Each invoice is a
// transaction of its own, as the run keeps them: a stop or a failure leaves
// the invoices finished so far, which the result names.
class RechnungslaufAuftrag : public stapel::Auftrag {
public:
    // archiv: where invoices put out on paper are kept as PDF (none: the target is its own archive).
    explicit RechnungslaufAuftrag(druck::Druckziel& ziel, druck::Druckziel* archiv = nullptr)
        : m_ziel(ziel), m_archiv(archiv) {}
    QString titel() const override { return QStringLiteral("Rechnungen drucken"); }
    stapel::Schreiben schreiben() const override { return stapel::Schreiben::Stueckweise; }
    void fuehreAus(stapel::Kontext& k) override;
    // The day of the run (tests).
    void setzeHeute(const QDate& heute) { m_heute = heute; }
    const LaufErgebnis& ergebnis() const { return m_ergebnis; }

private:
    druck::Druckziel& m_ziel;
    druck::Druckziel* m_archiv;
    QDate m_heute = QDate::currentDate();
    LaufErgebnis m_ergebnis;
};

}  // namespace talu::abrechnung
