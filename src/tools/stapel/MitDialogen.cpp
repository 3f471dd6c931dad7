#include "tools/stapel/MitDialogen.h"

#include "kit/Dialoge.h"

namespace talu::stapel {

void MitDialogen::melde(qint64 erledigt, qint64 gesamt, const QString& text) {
    if (m_anzeige) m_anzeige->melde(erledigt, gesamt, text);
}

void MitDialogen::zaehle(const QList<Zaehler>& zaehler, const QString& text) {
    if (m_anzeige) m_anzeige->zaehle(zaehler, text);
}

bool MitDialogen::abbruchGewuenscht() { return m_anzeige && m_anzeige->abbruchGewuenscht(); }

void MitDialogen::beiseite() {
    if (m_anzeige) m_anzeige->beiseite();
}

void MitDialogen::info(const QString& text) {
    beiseite();
    meldeInfo(m_eltern, text);
}

void MitDialogen::fehler(const QString& text, const QString& details) {
    beiseite();
    meldeKritisch(m_eltern, text, {}, details);
}

bool MitDialogen::frage(const QString& text) {
    beiseite();
    return dialoge().frageJaNein(m_eltern, {}, text, Dialoge::Symbol::Keins);
}

QString MitDialogen::eingabe(const QString& aufforderung) {
    beiseite();
    return dialoge().eingabe(m_eltern, aufforderung, {}, {});
}

}  // namespace talu::stapel
