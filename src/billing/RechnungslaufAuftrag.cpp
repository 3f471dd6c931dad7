#include "billing/RechnungslaufAuftrag.h"

namespace talu::abrechnung {

void RechnungslaufAuftrag::fuehreAus(stapel::Kontext& k) {
    // The operator of the job answers the run's questions and sees its progress.
    Rechnungslauf lauf(k.db(), m_ziel, k.anzeige());
    if (m_archiv) lauf.setzeArchiv(m_archiv);
    lauf.setzeHeute(m_heute);
    m_ergebnis = lauf.fuehreAus();
}

}  // namespace talu::abrechnung
