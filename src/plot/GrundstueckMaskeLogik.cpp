#include "plot/GrundstueckMaskeLogik.h"

#include <cmath>

#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"
#include "kit/modPublics.h"
#include "billing/PdfAusgabe.h"
#include "db/Datenbank.h"
#include "db/Schema.h"
#include "lookup/AbfrageProtokoll.h"
#include "lookup/AuswahlListe.h"
#include "lookup/SucheDaten.h"
#include "kit/Vokabular.h"
#include "place/OrtDaten.h"
#include "plot/GrundstueckDaten.h"
#include "plot/Merker.h"

namespace talu {

namespace {
// The width of a text column of grundstuecke; 0 for none or no limit.
int spaltenBreite(const QString& spalte) {
    static const Tabelle* t = findeTabelle(QStringLiteral("grundstuecke"));
    const Spalte* s = t ? t->spalte(spalte) : nullptr;
    return s ? s->laenge : 0;
}

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
        // What the save stores for a box's text.
        using V = std::optional<QVariant>;
        auto alsText = [](const QString& t) -> V { return QVariant(t); };
        auto alsBetrag = [](const QString& t) -> V { return QVariant(anzeige::betrag(t)); };
        auto alsCode = [](int zeichen) {
            return [zeichen](const QString& t) -> V {
                const QString c = anzeige::code(t);
                return QVariant(zeichen > 0 ? c.left(zeichen) : c);
            };
        };
        auto ohne = [](const QString& e) { return [e](const QString& t) -> V { return QVariant(anzeige::ohneEinheit(t, e)); }; };
        return Bindungen{
            {{1, 2}, "ortsteil", roh, alsText},
            {{1, 3}, "strassen_name", roh, alsText},
            {{1, 4}, "hausnummer", roh, alsText},
            {{1, 5}, "flurstueck", roh, alsText},
            {{1, 6}, "richtwert_minimal", geld, alsBetrag},
            {{1, 7}, "richtwert_durchschnitt", geld, alsBetrag},
            {{1, 8}, "richtwert_maximal", geld, alsBetrag},
            {{1, 9}, "richtwert_tatsaechlich", geld, alsBetrag},
            {{1, 10}, "bauliche_nutzung", code, alsCode(0)},
            // The development state is one letter, the start/end value two.
            {{1, 11}, "entwicklungszustand", code, alsCode(1)},
            {{1, 12}, "bauweise", code, alsCode(0)},
            {{1, 13}, "richtwerttyp", code, alsCode(0)},
            {{1, 14}, "bemerkung", roh, [](const QString& t) -> V { return QVariant(t.left(100)); }},
            {{1, 15}, "quellenangabe", roh, alsText},
            {{2, 0}, "geschossflaechenzahl", roh, alsText},
            {{2, 1}, "anzahl_der_geschosse", roh, alsText},
            {{2, 2}, "grundstueckstiefe", einheit(QStringLiteral(" m")), ohne(QStringLiteral("m"))},
            {{2, 3}, "grundstuecksflaeche", einheit(QStringLiteral(" m²")), ohne(QStringLiteral("m²"))},
            {{2, 4}, "beitragspflichtig", code, alsCode(0)},
            {{2, 5}, "sanierungsgebiet", code, alsCode(0)},
            {{2, 6}, "sananfangende", code, alsCode(2)},
            {{2, 7}, "x_koordinate", roh, alsText},
            {{2, 8}, "y_koordinate", roh, alsText},
            {{2, 9}, "umt_1", roh, alsText},
            {{2, 10}, "umt_2", roh, alsText},
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
    // The plot shown again because its neighbour is missing keeps its display.
    std::optional<Anzeige> vorher = std::move(gezeigt);
    gezeigt.reset();

    const bool navigation = SchrittVor || SchrittZurueck;
    if (!navigation) {
        p.OrtsAbfrage = QStringLiteral("select * from ortsnamen where gemeindeschluessel = ?");
        // The place row read with the chosen plot, if it is the current place's.
        if (p.RsOrtVorab.istOffen() && p.OrtVorabSchluessel == p.AktGemeindeschluessel && p.OrtVorabId == p.AktOrtId) {
            p.RsOrtsdaten = p.RsOrtVorab;
            p.RsOrtsdaten.moveFirst();
        } else {
            p.RsOrtsdaten = SucheDaten(p.Verbindung).ortNachSchluessel(p.AktGemeindeschluessel, qint64(p.AktOrtId));
        }
        p.RsOrtVorab.schliessen();
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
    const QDateTime zeitpunkt = QDateTime::currentDateTime();
    qint64 protokollId = 0;
    if (p.Ausgabe == 3 && neuerPlot) {
        try {
            protokollId = SchreibeAbfrageProtokoll(p.Verbindung, p, AbfrageArt::Grundstuecksdaten,
                                                   protokollObjekt(p.AktOrtAnzeige, t1[3], t1[4]),
                                                   p.PreisBodenrichtwert, p.PreisGutachter, zeitpunkt);
        } catch (const DbFehler& e) {
            meldungen << nichtProtokolliert(AbfrageArt::Grundstuecksdaten, e);
            return meldungen;
        }
    }
    text_1 = t1;
    text_2 = t2;
    GrundstueckId = id;
    angezeigt = true;
    if (neuerPlot || !vorher)
        gezeigt = Anzeige{t1, t2, p.AktGemeindeschluessel, zeitpunkt, protokollId};
    else
        gezeigt = std::move(vorher);
    return meldungen;
}

const QList<GrundstueckMaskeLogik::Zeile>& GrundstueckMaskeLogik::zeilen() {
    static const QList<Zeile> z = {
        {0, QStringLiteral("PLZ / Stadt / Stadtteil:"), 1, {0, 1, 2}},
        {2, strassenCaption(false), 1, {3, 4}},
        {1, QStringLiteral("Flurstück:"), 1, {5}},
        {3, QStringLiteral("BRW-Minimal / Durchschn.:"), 1, {6, 7}},
        {4, QStringLiteral("BRW-Maximal / Tats.:"), 1, {8, 9}},
        {5, QStringLiteral("Baul. Nutz. / Entw.-Zust.:"), 1, {10, 11}},
        {6, QStringLiteral("Bauweise / Richtwertyp:"), 1, {12, 13}},
        {7, QStringLiteral("Bemerkung:"), 1, {14}},
        {8, QStringLiteral("Quellenangabe:"), 1, {15}},
        {9, QStringLiteral("GFZ / ADG:"), 2, {0, 1}},
        {10, QStringLiteral("Tiefe / Fläche / Beitragspfl.:"), 2, {2, 3, 4}},
        {11, QStringLiteral("San.-Geb., Anfang, Ende:"), 2, {5, 6}},
        {12, QStringLiteral("Grad. Notation:"), 2, {7, 8}},
        {13, QStringLiteral("UMT-Koordinaten:"), 2, {9, 10}},
    };
    return z;
}

QString GrundstueckMaskeLogik::caption(int label) {
    for (const Zeile& z : zeilen())
        if (z.label == label) return z.caption;
    return {};
}

QString GrundstueckMaskeLogik::seitenTitel(int feld) {
    return feld == 1 ? QStringLiteral("Grunddaten") : QStringLiteral("Zusatzdaten");
}

QString GrundstueckMaskeLogik::strassenCaption(bool strassenEintrag) {
    return strassenEintrag ? QStringLiteral("Strasse:") : QStringLiteral("Strasse / Hausnummer:");
}

std::optional<auskunft::Auskunft> GrundstueckMaskeLogik::auskunftDaten(const Datenbank& db) const {
    if (!gezeigt) return std::nullopt;
    const Anzeige& g = *gezeigt;
    auskunft::Auskunft a;
    a.angezeigt = g.zeitpunkt;
    a.protokollId = g.protokollId;
    a.seiten = {{seitenTitel(1), {}}, {seitenTitel(2), {}}};
    const bool strassenEintrag = lookup::istStrassenEintrag(g.text_1.value(4));
    for (const Zeile& z : zeilen()) {
        auskunft::Feldzeile f{z.caption, {}};
        QList<int> boxen = z.boxen;
        // A street record: the street alone, as the form shows it.
        if (z.label == 2 && strassenEintrag) {
            f.caption = strassenCaption(true);
            boxen = {3};
        }
        for (int b : boxen) f.werte << (z.feld == 1 ? g.text_1.value(b) : g.text_2.value(b));
        QList<auskunft::Feldzeile>& ziel = a.seiten[z.feld - 1].zeilen;
        ziel << f;
        if (z.label == 0) ziel << auskunft::Feldzeile{QStringLiteral("Gemeindeschlüssel:"), {g.gemeindeschluessel}};
    }
    const GutachterZeile gz = OrtDaten(db).gutachterDesOrts(g.gemeindeschluessel);
    if (gz.gefunden) {
        const QStringList& b = gz.boxen;
        a.gutachter = auskunft::Gutachterausschuss{b.value(0), b.value(1), b.value(2), b.value(3),
                                                   b.value(4), b.value(5), b.value(6), b.value(7)};
    }
    return a;
}

Meldung GrundstueckMaskeLogik::AuskunftDrucken(const Datenbank& db, druck::Druckziel& ziel,
                                               druck::DruckErgebnis* ergebnis) const {
    const std::optional<auskunft::Auskunft> a = auskunftDaten(db);
    if (!a)
        return {Meldung::Information, QStringLiteral("Information"),
                QStringLiteral("Es wird kein gespeichertes Grundstück angezeigt; es gibt keine Auskunft zu drucken.")};
    druck::DruckErgebnis e;
    try {
        e = ziel.gibAus(auskunft::auskunftDokument(*a));
    } catch (const druck::DruckFehler& f) {
        return {Meldung::Kritisch, QString(),
                QStringLiteral("Die Bodenrichtwertauskunft konnte nicht ausgegeben werden:\n") + f.text()};
    }
    if (ergebnis) *ergebnis = e;
    if (e.gedruckt)
        return {Meldung::Information, QString(),
                QStringLiteral("Die Bodenrichtwertauskunft wurde auf dem Drucker \"%1\" gedruckt!").arg(e.drucker)};
    return {Meldung::Information, QString(),
            QStringLiteral("Die Bodenrichtwertauskunft wurde als PDF-Datei gespeichert:\n") + e.pdfPfad};
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

int GrundstueckMaskeLogik::hoechstLaenge(int arrayNr, int index) {
    if (arrayNr == 1 && index == 0) return 5;
    if (arrayNr == 1 && index == 14) return 100;
    if (arrayNr == 1 && index == 15) return 50;
    const Bindung* b = bindungen().von({arrayNr, index});
    if (!b) return 0;
    // Amounts and codes are converted on saving; their boxes take any text.
    if ((arrayNr == 1 && index >= 6 && index <= 13) || (arrayNr == 2 && index >= 2 && index <= 6)) return 0;
    return spaltenBreite(b->spalte);
}

QString GrundstueckMaskeLogik::betragFehler(int arrayNr, int index, const QString& text) {
    if (arrayNr != 1 || index < 6 || index > 9 || anzeige::istBetrag(text)) return {};
    // A land value is stored as a number: a text that is none would be
    // stored as 0, or as a part of it, without a word.
    return QStringLiteral("Der Bodenrichtwert muss ein Betrag sein, zum Beispiel 125 oder 125,00 €!");
}

std::optional<GrundstueckMaskeLogik::Pruefung> GrundstueckMaskeLogik::pruefeSpeichern(const Publics& p) const {
    auto fehlt = [](const QString& feld) {
        return Meldung{Meldung::Information, QStringLiteral("Information"),
                       "Das Datenfeld '" + feld +
                           "' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt keine Speicherung des Datensatzes."};
    };
    if (text_1[3].trimmed().isEmpty()) return Pruefung{fehlt(QStringLiteral("Strasse")), 3};
    if (text_1[4].trimmed().isEmpty()) return Pruefung{fehlt(QStringLiteral("hausnummer")), 4};
    if (p.AktOrtId == 0)
        return Pruefung{Meldung{Meldung::Information, QStringLiteral("Information"),
                                QStringLiteral("Sie haben keinen Ort ausgewaehlt!Ohne dass ein Ort ausgewaehlt ist, "
                                               "erfolgt keine Speicherung des Datensatzes.")},
                        0};
    for (int i = 6; i <= 9; ++i)
        if (const QString fehler = betragFehler(1, i, text_1[i]); !fehler.isEmpty())
            return Pruefung{Meldung{Meldung::Information, QStringLiteral("Information"), fehler}, i};
    return std::nullopt;
}

Werte GrundstueckMaskeLogik::spaltenwerte(const Publics& p) const {
    Werte w;
    w << qMakePair(QStringLiteral("id_orte"), QVariant(qint64(p.AktOrtId)))
      << qMakePair(QStringLiteral("gemeindeschluessel"), QVariant(p.AktGemeindeschluessel))
      << qMakePair(QStringLiteral("hausnummer_numerisch"), QVariant(fuehrendeZahl(text_1[4])))
      << qMakePair(QStringLiteral("loeschen"), QVariant(QStringLiteral("nein")));
    w << bindungen().werte([this](BoxPlatz b) { return b.feld == 1 ? text_1[b.index] : text_2[b.index]; });
    // A text longer than its column would be refused by a server that checks
    // the width; the boxes hold no more, but a bookmark or a paste might.
    for (auto& [spalte, wert] : w)
        if (const int n = spaltenBreite(spalte); n > 0 && wert.typeId() == QMetaType::QString)
            wert = wert.toString().left(n);
    return w;
}

QList<Meldung> GrundstueckMaskeLogik::Speichern(Publics& p, const QString& merkerPfad, bool* gespeichert,
                                               int* fokus) {
    *gespeichert = false;
    if (const auto fehler = pruefeSpeichern(p)) {
        *fokus = fehler->fokus;
        return {fehler->meldung};
    }
    const GrundstueckDaten daten(p.Verbindung);
    const bool neu = p.Modus == QStringLiteral("erfassen");
    // The id is the one the server gave exactly this insert, never "the
    // highest id", which another client's insert could have taken meanwhile.
    const qint64 id = daten.speichere(neu ? 0 : qint64(GrundstueckId), spaltenwerte(p));
    GrundstueckId = double(id);
    p.Modus = QStringLiteral("aendern");
    p.RsSuche.schliessen();
    p.RsSuche = SucheDaten(p.Verbindung).grundstueckNachId(id);
    // From now on the extract documents the stored plot.
    if (!p.RsSuche.eof()) {
        QStringList t1 = text_1, t2 = text_2;
        fuelleAusZeile(p.RsSuche, t1, t2);
        gezeigt = Anzeige{t1, t2, p.AktGemeindeschluessel, QDateTime::currentDateTime(), 0};
    }
    *gespeichert = true;
    *fokus = 9;
    QList<Meldung> m;
    if (const auto merkerFehler = SchreibeMerker(merkerPfad)) m << *merkerFehler;
    m << Meldung{Meldung::Information, QStringLiteral("Information"), QStringLiteral("Der Datensatz wurde gespeichert!")};
    return m;
}

std::optional<Meldung> GrundstueckMaskeLogik::SchreibeMerker(const QString& pfad) const {
    if (schreibeMerker(pfad, text_1, text_2)) return std::nullopt;
    return Meldung{Meldung::Kritisch, QString(), QStringLiteral("Beim Speichern des 'Merkers' ist ein Fehler passiert!")};
}

std::optional<Meldung> GrundstueckMaskeLogik::WerteKopieren(const QString& pfad, bool neuesGrundstueck) {
    QStringList t1 = text_1, t2 = text_2;
    if (leseMerker(pfad, t1, t2, neuesGrundstueck) == MerkerLesen::KeineDatei)
        return Meldung{Meldung::Information, QString(), QStringLiteral("Ich habe leider keine Merker-Datei gefunden!")};
    // What the boxes would cut anyway.
    for (int i = 0; i < kText1; ++i)
        if (const int n = hoechstLaenge(1, i)) t1[i] = t1[i].left(n);
    for (int i = 0; i < kText2; ++i)
        if (const int n = hoechstLaenge(2, i)) t2[i] = t2[i].left(n);
    text_1 = t1;
    text_2 = t2;
    return std::nullopt;
}

}  // namespace talu
