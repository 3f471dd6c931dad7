#include "tools/Pflegebefehle.h"

#include "tools/Bereinigung.h"
#include "tools/Durchschnittswerte.h"

namespace talu::pflege {

namespace {
template <class T, class... A>
std::function<std::unique_ptr<stapel::Auftrag>()> baue(A... a) {
    return [=] { return std::unique_ptr<stapel::Auftrag>(new T(a...)); };
}
}  // namespace

const QList<Pflegebefehl>& pflegebefehle() {
    static const QList<Pflegebefehl> l{
        {"durchschnitt-orte", "mnuDurchschnittswerteOrte", baue<DurchschnittAuftrag>(Ebene::Orte),
         durchschnittFertigText(), {}},
        {"durchschnitt-kreise", "mnuDurchschnittswerteKreise", baue<DurchschnittAuftrag>(Ebene::Kreise),
         durchschnittFertigText(), {}},
        {"durchschnitt-regierungsbezirke", "mnuDurchschnittswerteRegierungsbezirke",
         baue<DurchschnittAuftrag>(Ebene::Regierungsbezirke), durchschnittFertigText(), {}},
        {"durchschnitt-bundeslaender", "mnuDurchschnittswerteBundeslaender",
         baue<DurchschnittAuftrag>(Ebene::Bundeslaender), durchschnittFertigText(), {}},
        {"ausgefuellt-merker", "mnuAusgefuelltMerkerSetzen", baue<AusgefuelltAuftrag>(), bereinigungFertigText(), {}},
        {"doppelte-grundstuecke", "mnuDoppelteGrundStueckeLoeschen", baue<DoppelteAuftrag>(),
         bereinigungFertigText(), {}},
        {"dupes-zaehlen", "mnuDupesZaehlen", baue<DupesAuftrag>(), QString(),
         [](const stapel::Auftrag& a) {
             const auto& d = static_cast<const DupesAuftrag&>(a);
             return DupesAuftrag::text(d.schluessel(), d.geloescht());
         }},
        {"hausnummern", "mnuNumerischeHausnummernAusfuellen", baue<HausnummernAuftrag>(), hausnummernFertigText(), {}},
    };
    return l;
}

const Pflegebefehl* findeBefehl(const QString& name) {
    for (const Pflegebefehl& b : pflegebefehle())
        if (b.name == name) return &b;
    return nullptr;
}

const Pflegebefehl* findeMenueBefehl(const QString& menue) {
    for (const Pflegebefehl& b : pflegebefehle())
        if (b.menue == menue) return &b;
    return nullptr;
}

}  // namespace talu::pflege
