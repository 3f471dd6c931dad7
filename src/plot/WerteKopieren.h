#pragma once
#include "db/Datenbank.h"
#include "plot/GrundstueckDaten.h"
#include "tools/stapel/Stapelauftrag.h"

namespace talu {

// Copies the stored values of plot quelleId to every plot of its street or
// its place, the plot itself included, in one transaction: all or none. One
// update statement per run of plots in id order: set-based, yet the count
// grows while it runs.
class WerteKopierenAuftrag : public stapel::Auftrag {
public:
    WerteKopierenAuftrag(qint64 quelleId, GrundstueckDaten::Bereich bereich, int stueck)
        : m_quelleId(quelleId), m_bereich(bereich), m_stueck(qMax(1, stueck)) {}
    QString titel() const override { return QStringLiteral("Werte kopieren"); }
    bool abbrechbar() const override { return false; }
    void fuehreAus(stapel::Kontext& k) override;
    qint64 anzahl() const { return m_anzahl; }

private:
    qint64 m_quelleId;
    GrundstueckDaten::Bereich m_bereich;
    int m_stueck;
    qint64 m_anzahl = 0;
    Anweisung m_update;
};

// Runs the copy; *anzahl gets the plots changed; progress goes to anzeige.
// stueck is the number of plots per update statement.
stapel::Ergebnis kopiereWerte(const Datenbank& db, qint64 quelleId, GrundstueckDaten::Bereich bereich,
                              stapel::Anzeige& anzeige, qint64* anzahl, int stueck = 500);

}  // namespace talu
