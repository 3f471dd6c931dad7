#pragma once
#include <QString>

#include "tools/stapel/Stapelauftrag.h"

namespace talu::pflege {

// The four levels of the regional average land values.
enum class Ebene { Orte, Kreise, Regierungsbezirke, Bundeslaender };

struct EbenenAngaben {
    QString menue;      // the menu caption, also the job's title
    QString tabelle;    // region table
    QString schluessel; // its key column
    int stellen = 8;    // leading digits of the municipality key matched
};
const EbenenAngaben& angaben(Ebene e);

// The class of a plot's use by the first letter of its code: "w" residential,
// "m" mixed, "g" commercial. Upper-case letters count like lower-case ones,
// on every backend the same, so that all backends store the same averages.
QString nutzungsklasse(const Dialekt& d);

// Computes the residential, mixed and commercial averages of richtwert_tatsaechlich
// for every region of a level and stores them in wohn, misch and gewerbe,
// in one grouped pass over the plots and one set-based update, all or nothing.
//
// Municipalities: the first place of a key (the lowest id) takes the averages as
// computed, Null included, which clears an old value; further places of the key
// take them only where greater than 0, else Null. A place without a key gets Null.
// Districts, regions, states: only a non-Null average is stored; a class without
// plots keeps its old value.
class DurchschnittAuftrag : public stapel::Auftrag {
public:
    explicit DurchschnittAuftrag(Ebene e) : m_ebene(e) {}
    QString titel() const override { return angaben(m_ebene).menue; }
    void fuehreAus(stapel::Kontext& k) override;

private:
    Ebene m_ebene;
};

// The end message of each level.
QString durchschnittFertigText();

}  // namespace talu::pflege
