#pragma once
#include <QString>

namespace talu {

struct Publics;

// What frmInformationsGruppen shows for the current place, and where each
// choice leads, without the widgets.
struct InformationsGruppen {
    bool ortGefunden = false;
    QString label2;                 // "Informationsgruppen von <ort>"
    QString bodenrichtwerteCaption; // "&Bodenrichtwerte" with the price where there is one

    enum Gruppe { Ortsinformationen = 0, Bodenrichtwerte = 1, Marktuebersichten = 2, Keine = -1 };

    // Opens the current place's row into RsSuche, sets AktOrtAnzeige and the
    // land-value prices. Database errors propagate as DbFehler.
    static InformationsGruppen lade(Publics& p);

    // The form that follows the choice (or no choice) when the group form
    // unloads; sets SuchArt where the search form follows.
    enum class Folge { Suche, Ortsform, Marktauswahl };
    static Folge folge(Publics& p, Gruppe gewaehlt);
};

}  // namespace talu
