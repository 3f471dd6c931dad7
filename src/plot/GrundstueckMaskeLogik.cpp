#include "plot/GrundstueckMaskeLogik.h"

#include <cmath>

#include "app/Anzeigeformate.h"
#include "app/Formate.h"
#include "app/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/AbfrageProtokoll.h"
#include "lookup/AuswahlListe.h"
#include "lookup/SucheDaten.h"
#include "lookup/Vokabular.h"
#include "plot/GrundstueckDaten.h"

namespace talu {

namespace {
QString mitEinheit(const QString& text, const QString& einheit) {
    const QString t = text.trimmed();
    return t.isEmpty() ? t : t + einheit;
}
}  // namespace

GrundstueckMaskeLogik::GrundstueckMaskeLogik() {
    for (int i = 0; i < kText1; ++i) text_1 << QString();
    for (int i = 0; i < kText2; ++i) text_2 << QString();
}

void GrundstueckMaskeLogik::FelderLeeren() {
    for (int i = 2; i < kText1; ++i) text_1[i].clear();
    for (int i = 0; i < kText2; ++i) text_2[i].clear();
    angezeigt = false;
}

const Bindungen& GrundstueckMaskeLogik::bindungen() {
    static const Bindungen tabelle = [] {
        auto roh = [](const QVariant& v) { return v.isNull() ? QString() : v.toString(); };
        auto geld = [](const QVariant& v) { return anzeige::waehrungWennNichtNull(v); };
        auto code = [](const QVariant& v) { return anzeige::codeText(v); };
        auto einheit = [roh](const QString& e) {
            return [roh, e](const QVariant& v) { return mitEinheit(roh(v), e); };
        };
        return Bindungen{
            {{1, 2}, "ortsteil", roh, {}},
            {{1, 3}, "strassen_name", roh, {}},
            {{1, 4}, "hausnummer", roh, {}},
            {{1, 5}, "flurstueck", roh, {}},
            {{1, 6}, "richtwert_minimal", geld, {}},
            {{1, 7}, "richtwert_durchschnitt", geld, {}},
            {{1, 8}, "richtwert_maximal", geld, {}},
            {{1, 9}, "richtwert_tatsaechlich", geld, {}},
            {{1, 10}, "bauliche_nutzung", code, {}},
            {{1, 11}, "entwicklungszustand", code, {}},
            {{1, 12}, "bauweise", code, {}},
            {{1, 13}, "richtwerttyp", code, {}},
            {{1, 14}, "bemerkung", roh, {}},
            {{1, 15}, "quellenangabe", roh, {}},
            {{2, 0}, "geschossflaechenzahl", roh, {}},
            {{2, 1}, "anzahl_der_geschosse", roh, {}},
            {{2, 2}, "grundstueckstiefe", einheit(QStringLiteral(" m")), {}},
            {{2, 3}, "grundstuecksflaeche", einheit(QStringLiteral(" m²")), {}},
            {{2, 4}, "beitragspflichtig", code, {}},
            {{2, 5}, "sanierungsgebiet", code, {}},
            {{2, 6}, "sananfangende", code, {}},
            {{2, 7}, "x_koordinate", roh, {}},
            {{2, 8}, "y_koordinate", roh, {}},
            {{2, 9}, "umt_1", roh, {}},
            {{2, 10}, "umt_2", roh, {}},
        };
    }();
    return tabelle;
}

void GrundstueckMaskeLogik::fuelleAusZeile(const Recordset& rs, QStringList& t1, QStringList& t2) {
    bindungen().zeige([&](const QString& spalte) { return rs.feld(spalte); },
                      [&](BoxPlatz p) -> QString& { return p.feld == 1 ? t1[p.index] : t2[p.index]; });
}

QString GrundstueckMaskeLogik::protokollObjekt(const QString& aktOrtAnzeige, const QString& strasse,
                                               const QString& hausnummer) {
    if (lookup::istStrassenEintrag(hausnummer)) return aktOrtAnzeige + " - " + strasse;
    return aktOrtAnzeige + " - " + strasse + " " + hausnummer;
}

QList<Meldung> GrundstueckMaskeLogik::LadeGrundstueck(Publics& p) {
    QList<Meldung> meldungen;
    FelderLeeren();

    const bool navigation = SchrittVor || SchrittZurueck;
    if (!navigation) {
        p.OrtsAbfrage = QStringLiteral("select * from ortsnamen where gemeindeschluessel = ?");
        p.RsOrtsdaten = SucheDaten(p.Verbindung).ortNachSchluessel(p.AktGemeindeschluessel, qint64(p.AktOrtId));
        if (p.RsOrtsdaten.eof()) {
            p.RsOrtsdaten.schliessen();
            meldungen << Meldung{Meldung::Kritisch, QStringLiteral("Information"),
                                 QStringLiteral("Es liegt ein Fehler in der Referentiellen Integritaet vor. "
                                                "Keine Ortsinformationen zu dieser Strasse vorhanden.")};
            return meldungen;
        }
        p.AktPlz = p.RsOrtsdaten.text("plzneu");
        p.AktOrt = p.RsOrtsdaten.text("ort");
        p.AktOrtId = p.RsOrtsdaten.zahl("id");
        text_1[0] = p.AktPlz;
        text_1[1] = p.AktOrt.trimmed();
        p.RsOrtsdaten.schliessen();
    }

    if (p.RsSuche.eof()) return meldungen;  // no plot row to show

    bool neuerPlot = true;
    if (navigation) {
        const QString schluessel = p.RsSuche.text("gemeindeschluessel");
        const QString strasse = p.RsSuche.text("strassen_name");
        const QString ziel = nachbarHausnummer(p.RsSuche.text("hausnummer"), SchrittVor ? 1 : -1);
        Recordset nachbar = GrundstueckDaten(p.Verbindung).nachHausnummer(schluessel, strasse, ziel);
        if (!nachbar.eof()) {
            p.RsSuche.schliessen();
            p.RsSuche = nachbar;
        } else {
            meldungen << Meldung{Meldung::Information, QString(),
                                 "Das Grundstück '" + strasse + " " + ziel + "' ist nicht vorhanden!"};
            neuerPlot = false;
        }
    }

    QStringList t1 = text_1, t2 = text_2;
    fuelleAusZeile(p.RsSuche, t1, t2);
    const double id = p.RsSuche.zahl("id");

    // The customer edition bills every plot shown. The same plot shown again
    // because its neighbour is missing was billed already.
    if (p.Ausgabe == 3 && neuerPlot) {
        try {
            SchreibeAbfrageProtokoll(p.Verbindung, p, AbfrageArt::Grundstuecksdaten,
                                     protokollObjekt(p.AktOrtAnzeige, t1[3], t1[4]), p.PreisBodenrichtwert,
                                     p.PreisGutachter);
        } catch (const DbFehler& e) {
            meldungen << nichtProtokolliert(AbfrageArt::Grundstuecksdaten, e);
            return meldungen;
        }
    }
    text_1 = t1;
    text_2 = t2;
    GrundstueckId = id;
    angezeigt = true;
    return meldungen;
}

GrundstueckMaskeLogik::OrtSuche GrundstueckMaskeLogik::OrtFuerNeuesGrundstueckSuchen(Publics& p,
                                                                                   Meldung* meldung) {
    p.OrtFuerNeuesGrundstueck = true;
    QString begriff = text_1[0].trimmed();
    if (begriff.isEmpty()) begriff = text_1[1].trimmed();
    if (begriff.isEmpty()) {
        if (meldung)
            *meldung = {Meldung::Information, QStringLiteral("Information"),
                        QStringLiteral("Sie müssen zur Suche entweder die PLZ oder den Namen des Ortes angeben!")};
        return OrtSuche::KeineEingabe;
    }
    begriff = begriff.toLower();
    p.RsSuche.schliessen();
    p.RsSuche = SucheDaten(p.Verbindung).sucheOrtFuerNeuesGrundstueck(begriff);
    if (p.RsSuche.leer()) {
        if (meldung)
            *meldung = {Meldung::Information, QStringLiteral("Information"),
                        QStringLiteral("Kein Treffer mit diesem Namen in der Datenbank!")};
        return OrtSuche::KeinTreffer;
    }
    p.RsSuche.moveFirst();
    if (p.RsSuche.anzahl() > 1) {
        p.SuchArt = QStringLiteral("suche nach ort");
        return OrtSuche::MehrereTreffer;
    }
    p.AktPlz = p.RsSuche.text("plzneu");
    p.AktOrt = p.RsSuche.text("ort");
    p.AktOrtId = p.RsSuche.zahl("id");
    p.AktGemeindeschluessel = p.RsSuche.text("gemeindeschluessel");
    OrtUebernehmen(p);
    return OrtSuche::EinTreffer;
}

void GrundstueckMaskeLogik::OrtUebernehmen(const Publics& p) {
    text_1[0] = p.AktPlz;
    text_1[1] = p.AktOrt;
}

bool GrundstueckMaskeLogik::PlzUngueltig(const QString& text) {
    const int n = int(text.trimmed().size());
    return n != 5 && n != 0;
}

QString GrundstueckMaskeLogik::textNachVerlassen(int arrayNr, int index, const QString& text) {
    if (arrayNr == 1 && index >= 6 && index <= 9) return anzeige::formatiereBetrag(text);
    const bool codeFeld = (arrayNr == 1 && index >= 10 && index <= 13) || (arrayNr == 2 && index >= 4 && index <= 6);
    if (codeFeld) return anzeige::formatiereCode(text);
    if (arrayNr == 2 && index == 2) return anzeige::formatiereGanzzahl(text, QStringLiteral(" m"));
    if (arrayNr == 2 && index == 3) return anzeige::formatiereGanzzahl(text, QStringLiteral(" m²"));
    return text;
}

}  // namespace talu
