#include "billing/Bediener.h"

#include "app/Dialoge.h"
#include "tools/Stapelauftrag.h"

namespace talu::abrechnung {

bool Bediener::fortschritt(int, int, const QString&) { return true; }

void DialogBediener::info(const QString& text) { meldeInfo(m_eltern, text); }

void DialogBediener::fehler(const QString& text, const QString& details) {
    meldeKritisch(m_eltern, text, {}, details);
}

bool DialogBediener::frage(const QString& text) { return dialoge().frageJaNein(m_eltern, {}, text); }

QString DialogBediener::eingabe(const QString& aufforderung) {
    return dialoge().eingabe(m_eltern, aufforderung, {}, {});
}

bool DialogBediener::fortschritt(int nr, int anzahl, const QString& kunde) {
    if (!m_anzeige) return true;
    m_anzeige->melde(nr - 1, anzahl, QStringLiteral("Rechnung für „%1“").arg(kunde));
    return !m_anzeige->abbruchGewuenscht();
}

}  // namespace talu::abrechnung
