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

using lookup::Meldung;

namespace {
QString alsText(const Recordset& rs, const char* spalte) {
    const QVariant v = rs.feld(QLatin1String(spalte));
    return v.isNull() ? QString() : v.toString();
}
QString codeText(const Recordset& rs, const char* spalte) { return anzeige::codeText(rs.feld(QLatin1String(spalte))); }
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

void GrundstueckMaskeLogik::fuelleAusZeile(const Recordset& rs, QStringList& t1, QStringList& t2) {
    t1[2] = alsText(rs, "ortsteil");
    t1[3] = alsText(rs, "strassen_name");
    t1[4] = alsText(rs, "hausnummer");
    t1[5] = alsText(rs, "flurstueck");
    t1[6] = anzeige::waehrungWennNichtNull(rs.feld("richtwert_minimal"));
    t1[7] = anzeige::waehrungWennNichtNull(rs.feld("richtwert_durchschnitt"));
    t1[8] = anzeige::waehrungWennNichtNull(rs.feld("richtwert_maximal"));
    t1[9] = anzeige::waehrungWennNichtNull(rs.feld("richtwert_tatsaechlich"));
    t1[10] = codeText(rs, "bauliche_nutzung");
    t1[11] = codeText(rs, "entwicklungszustand");
    t1[12] = codeText(rs, "bauweise");
    t1[13] = codeText(rs, "richtwerttyp");
    t1[14] = alsText(rs, "bemerkung");
    t1[15] = alsText(rs, "quellenangabe");

    t2[0] = alsText(rs, "geschossflaechenzahl");
    t2[1] = alsText(rs, "anzahl_der_geschosse");
    t2[4] = codeText(rs, "beitragspflichtig");
    t2[2] = mitEinheit(alsText(rs, "grundstueckstiefe"), QStringLiteral(" m"));
    t2[3] = mitEinheit(alsText(rs, "grundstuecksflaeche"), QStringLiteral(" m²"));
    t2[5] = codeText(rs, "sanierungsgebiet");
    t2[6] = codeText(rs, "sananfangende");
    t2[7] = alsText(rs, "x_koordinate");
    t2[8] = alsText(rs, "y_koordinate");
    t2[9] = alsText(rs, "umt_1");
    t2[10] = alsText(rs, "umt_2");
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
            meldungen << Meldung{Meldung::Kritisch, QString(),
                                 QStringLiteral("Die Abfrage konnte nicht im Abfrageprotokoll vermerkt "
                                                "werden. Die Grundstücksdaten werden deshalb nicht "
                                                "angezeigt.\n\n") +
                                     e.kurz() + "\n" + e.serverText()};
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
