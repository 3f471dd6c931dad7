#include "tools/Pflegebefehle.h"

#include "tools/Ausfuellen.h"
#include "tools/Bereinigung.h"
#include "tools/Importe.h"
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
        {"wqn-import", "mnuwqndatenimportieren", baue<WqnImport>(), QString(),
         [](const stapel::Auftrag& a) { return gelesenText(static_cast<const WqnImport&>(a).gelesen()); }},
        {"pogos-import", "mnuPogosDatenImportieren", baue<PogosImport>(), PogosImport::fertigText(),
         [](const stapel::Auftrag& a) { return gelesenText(static_cast<const PogosImport&>(a).gelesen()); }},
        // The commands of the progress forms: their forms start them, the command line by name.
        {"mosaic-import", {}, baue<MosaicImport>(), QString(), {}},
        {"aurich-import", {}, baue<AurichImport>(), QString(), {}},
        {"niedersachsen-import", {}, baue<NiedersachsenImport>(), QStringLiteral("Fertig"), {}},
        {"grundstuecke-loeschen", {}, baue<GrundstueckeLoeschen>(), GrundstueckeLoeschen::fertigText(), {}},
        {"zonen-import", {}, baue<ZonenImport>(), QStringLiteral("Fertig"), {}},
        {"gutachter-gebaeude", {}, baue<GebaeudeAuftrag>(), QString(), {}},
        {"gutachter-kreis", {}, baue<GutachterNachKreis>(), QString(), {}},
        {"gutachter-bereich", {}, baue<GutachterNachBereich>(), QString(), {}},
        {"gutachter-luecken", {}, baue<GutachterLueckenFuellen>(), QString(), {}},
        {"strassennamen", {}, baue<StrassennamenAuftrag>(), QString(), {}},
        {"gemeindeschluessel", {}, baue<GemeindeschluesselAuftrag>(), QString(), {}},
    };
    return l;
}

const Pflegebefehl* findeBefehl(const QString& name) {
    for (const Pflegebefehl& b : pflegebefehle())
        if (b.name == name) return &b;
    return nullptr;
}

QString endText(const Pflegebefehl& b, const stapel::Auftrag& a) {
    const QString hinweis = a.hinweis();
    if (hinweis.isEmpty()) return b.fertig;
    return b.fertig.isEmpty() ? hinweis : b.fertig + "\n\n" + hinweis;
}

const Pflegebefehl* findeMenueBefehl(const QString& menue) {
    if (menue.isEmpty()) return nullptr;
    for (const Pflegebefehl& b : pflegebefehle())
        if (b.menue == menue) return &b;
    return nullptr;
}

}  // namespace talu::pflege
