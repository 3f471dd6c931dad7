#include "billing/Bediener.h"

#include "app/Dialoge.h"

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

}  // namespace talu::abrechnung
