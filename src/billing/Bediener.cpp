#include "billing/Bediener.h"

#include "app/Dialoge.h"
#include "tools/Stapelauftrag.h"

namespace talu::abrechnung {

bool Bediener::fortschritt(int, int, const QString&) { return true; }

void DialogBediener::beiseite() {
    if (m_anzeige) m_anzeige->beiseite();
}

void DialogBediener::info(const QString& text) {
    beiseite();
    meldeInfo(m_eltern, text);
}

void DialogBediener::fehler(const QString& text, const QString& details) {
    beiseite();
    meldeKritisch(m_eltern, text, {}, details);
}

// The closing questions show no icon.
bool DialogBediener::frage(const QString& text) {
    beiseite();
    return dialoge().frageJaNein(m_eltern, {}, text, Dialoge::Symbol::Keins);
}

QString DialogBediener::eingabe(const QString& aufforderung) {
    beiseite();
    return dialoge().eingabe(m_eltern, aufforderung, {}, {});
}

bool DialogBediener::fortschritt(int nr, int anzahl, const QString& kunde) {
    if (!m_anzeige) return true;
    // The count names the document being written: "4 von 4" for the last.
    m_anzeige->melde(nr, anzahl, kunde);
    return !m_anzeige->abbruchGewuenscht();
}

}  // namespace talu::abrechnung
