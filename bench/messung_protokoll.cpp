// The query-log viewer on the full log: opening it and each of its filters,
// through the viewer's own model, up to the first screen of rows.
#include <memory>

#include "BenchDaten.h"
#include "BenchLauf.h"
#include "billing/ProtokollAnsicht.h"
#include "db/Datenbank.h"

namespace talu::bench {

namespace {

// What a grid shows at first: its model fetches a batch of rows; a screen
// reads the cells of its first lines.
constexpr int kErsteZeilen = 256;
constexpr int kBildschirm = 30;

void ersterBildschirm(const abrechnung::ProtokollModell& m) {
    const int zeilen = qMin(kBildschirm, m.rowCount());
    for (int r = 0; r < zeilen; ++r)
        for (int c = 0; c < m.columnCount(); ++c) m.data(m.index(r, c));
}

QList<Messung> protokollAnsicht() {
    Messung oeffnen;
    oeffnen.kennung = "P7a";
    oeffnen.arbeit = "Abfrageprotokoll öffnen (alle Zeilen, erster Bildschirm)";
    oeffnen.ziel = "p50 < 0,5 s";
    oeffnen.zielP50Ms = 500;
    oeffnen.eingaben = 1;
    oeffnen.wiederholungen = 30;
    oeffnen.rohZeilen = kErsteZeilen;
    oeffnen.talu = [](Kontext& k, int) {
        abrechnung::ProtokollModell m(k.db());
        m.zeigeAlle();
        ersterBildschirm(m);
        if (m.rowCount() == 0) throw DbFehler("P7a", "Das Abfrageprotokoll zeigt keine Zeile.");
    };

    // The filters work on an open viewer: the model is kept between them.
    auto modell = std::make_shared<std::unique_ptr<abrechnung::ProtokollModell>>();
    auto offen = [modell](Kontext& k) -> abrechnung::ProtokollModell& {
        if (!*modell) {
            *modell = std::make_unique<abrechnung::ProtokollModell>(k.db());
            (*modell)->zeigeAlle();
        }
        return **modell;
    };
    auto schliessen = [modell](Kontext&) { modell->reset(); };

    Messung heute;
    heute.kennung = "P7b";
    heute.arbeit = "Filter „Heute“ (ein Tag mit Abfragen)";
    heute.ziel = "p50 < 0,3 s";
    heute.zielP50Ms = 300;
    heute.eingaben = 1;
    heute.wiederholungen = 50;
    heute.rohZeilen = kErsteZeilen;
    heute.talu = [offen](Kontext& k, int) {
        abrechnung::ProtokollModell& m = offen(k);
        // The last day of the generated log stands for today.
        m.zeigeHeute(protokollEnde());
        ersterBildschirm(m);
    };
    heute.vorbereiten = [offen](Kontext& k) { offen(k); };
    heute.aufraeumen = schliessen;

    Messung name;
    name.kennung = "P7c";
    name.arbeit = "Filter „Benutzer“ (Namensanfang, ohne Groß/Klein)";
    name.ziel = "p50 < 0,3 s";
    name.zielP50Ms = 300;
    name.eingaben = 4;
    name.wiederholungen = 40;
    name.rohZeilen = kErsteZeilen;
    name.talu = [offen](Kontext& k, int i) {
        static const QStringList anfaenge{"mü", "ÖFF", "Spar", "volks"};
        abrechnung::ProtokollModell& m = offen(k);
        m.zeigeNamensAnfang(anfaenge[i % anfaenge.size()]);
        ersterBildschirm(m);
    };
    name.vorbereiten = [offen](Kontext& k) { offen(k); };
    name.aufraeumen = schliessen;

    // One customer by his whole name: few rows among all, the case a user
    // checking one customer's queries meets.
    auto kunde = std::make_shared<QString>();
    Messung einer;
    einer.kennung = "P7e";
    einer.arbeit = "Filter „Benutzer“ mit dem ganzen Namen eines Kunden";
    einer.ziel = "p50 < 0,3 s";
    einer.zielP50Ms = 300;
    einer.eingaben = 1;
    einer.wiederholungen = 30;
    einer.rohZeilen = kErsteZeilen;
    einer.vorbereiten = [offen, kunde](Kontext& k) {
        offen(k);
        // A customer of middling activity.
        *kunde = k.db()
                     .wert(k.db().dialekt().begrenze(
                         "select k.name from rechnungs_kunden k where exists (select 1 from abfrageprotokoll a where "
                         "a.db_benutzer = k.benutzername) order by k.id",
                         1))
                     .toString();
        const qint64 kunden = k.db().wert("select count(*) from rechnungs_kunden").toLongLong();
        const QVariant mitte = k.db().wert("select name from rechnungs_kunden where id = ?", {kunden / 2});
        if (!mitte.isNull()) *kunde = mitte.toString();
    };
    einer.talu = [offen, kunde](Kontext& k, int) {
        abrechnung::ProtokollModell& m = offen(k);
        m.zeigeNamensAnfang(*kunde);
        ersterBildschirm(m);
    };
    einer.aufraeumen = schliessen;

    Messung alle;
    alle.kennung = "P7d";
    alle.arbeit = "Filter „Alle“ nach einem Filter";
    alle.ziel = "p50 < 0,3 s";
    alle.zielP50Ms = 300;
    alle.eingaben = 1;
    alle.wiederholungen = 30;
    alle.rohZeilen = kErsteZeilen;
    alle.talu = [offen](Kontext& k, int) {
        abrechnung::ProtokollModell& m = offen(k);
        m.zeigeAlle();
        ersterBildschirm(m);
    };
    alle.vorbereiten = [offen](Kontext& k) { offen(k); };
    alle.aufraeumen = schliessen;
    return {oeffnen, heute, name, einer, alle};
}

const bool registriert = registriereMessungen(70, protokollAnsicht);

}  // namespace

}  // namespace talu::bench
