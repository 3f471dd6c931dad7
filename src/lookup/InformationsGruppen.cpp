#include "lookup/InformationsGruppen.h"

#include "kit/Formate.h"
#include "kit/modPublics.h"
#include "lookup/SucheDaten.h"

namespace talu {

InformationsGruppen InformationsGruppen::lade(Publics& p) {
    InformationsGruppen g;
    g.bodenrichtwerteCaption = QStringLiteral("&Bodenrichtwerte");
    p.PreisBodenrichtwert = 0;
    p.PreisGutachter = 0;

    p.RsSuche.schliessen();
    p.OrtsAbfrage = QStringLiteral("select * from ortsnamen where gemeindeschluessel = ?");
    p.RsSuche = SucheDaten(p.Verbindung).ortNachSchluessel(p.AktGemeindeschluessel, qint64(p.AktOrtId));
    if (p.RsSuche.eof()) {
        // Nothing to bill against: no place, no price, and no stale display text.
        p.AktOrtAnzeige.clear();
        g.label2 = QStringLiteral("Informationsgruppen wählen");
        return g;
    }
    g.ortGefunden = true;
    p.AktOrtAnzeige = p.RsSuche.text("plzneu") + " " + p.RsSuche.text("ort");
    g.label2 = "Informationsgruppen von " + p.RsSuche.text("ort");

    const QVariant preis = p.RsSuche.feld("preis");
    if (!preis.isNull() && preis.toDouble() > 0) {
        p.PreisBodenrichtwert = preis.toDouble();
        // A price without a stated appraiser share gives them nothing.
        p.PreisGutachter = p.RsSuche.zahl("preis_gutachter_bodenwert");
        g.bodenrichtwerteCaption = "&Bodenrichtwerte (" + waehrung(p.PreisBodenrichtwert) + ")";
    }
    return g;
}

InformationsGruppen::Folge InformationsGruppen::folge(Publics& p, Gruppe gewaehlt) {
    switch (gewaehlt) {
        case Ortsinformationen: return Folge::Ortsform;
        case Bodenrichtwerte:
            p.SuchArt = QStringLiteral("suche nach grundstück");
            return Folge::Suche;
        case Marktuebersichten: return Folge::Marktauswahl;
        case Keine: break;
    }
    p.SuchArt = QStringLiteral("suche nach ort");
    return Folge::Suche;
}

}  // namespace talu
