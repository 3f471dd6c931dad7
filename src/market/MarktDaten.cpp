#include "market/MarktDaten.h"

#include <QSqlField>

#include "kit/Formate.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/AbfrageProtokoll.h"

namespace talu::markt {

namespace {

const QString kSchluessel = QStringLiteral("tabellennr,datensatznr,ueberschrift,stadt_oder_landkreis,quellenangabe,copyright");

GridSpalte sp(int nr, const QString& titel, int breite, bool rechts = false, bool waehrung = false) {
    return {nr, titel, breite, rechts, waehrung};
}

QList<GridSpalte> preisSpalten(const QString& jahrTitel) {
    return {sp(0, jahrTitel, 1500, true), sp(1, "Preis-Minimal", 1500, true, true),
            sp(2, "Preis-Durchschnitt", 1500, true, true), sp(3, "Preis-Maximal", 1500, true, true)};
}

QHash<QString, Aufbau> baueAufbauten() {
    QHash<QString, Aufbau> h;
    Aufbau haus;
    haus.spalten = QString("kaufjahr,minimal,durchschnitt,maximal,stadtteil,baujahr,grundstuecksgroesse,"
                           "wohnflaeche,bemerkung_datensatz," + kSchluessel + ",bemerkung_tabelle")
                       .split(',');
    haus.sichtbar = preisSpalten("Kaufjahr");
    haus.sichtbar << sp(4, "Stadtteil", 3000) << sp(5, "Baujahr", 1500) << sp(6, "Grösse", 1500, true)
                  << sp(7, "Wohnfläche", 1500) << sp(8, "Bemerkung", 3000);
    h.insert("kaufpreise_fuer_freistehende_einfamilienhaeuser", haus);
    h.insert("kaufpreise_fuer_doppelhaushaelften", haus);
    h.insert("kaufpreise_fuer_reihenhaeuser", haus);

    Aufbau mfh;
    mfh.spalten = QString("kaufjahr,minimal,durchschnitt,maximal,stadtteil,baujahr,anzahl_der_wohneinheiten,"
                          "wohnflaeche,bemerkung_datensatz," + kSchluessel + ",bemerkung_tabelle")
                      .split(',');
    mfh.sichtbar = preisSpalten("Kaufjahr");
    mfh.sichtbar << sp(4, "Stadtteil", 3000) << sp(5, "Baujahr", 1500) << sp(6, "Wohneinheiten", 1500, true)
                 << sp(7, "Wohnfläche", 1500) << sp(8, "Bemerkung", 3000);
    h.insert("kaufpreise_fuer_mehrfamilienhaeuser", mfh);

    Aufbau etw;
    etw.spalten = QString("kaufjahr,minimal,durchschnitt,maximal,stadtteil,baujahr,wohnflaeche,"
                          "bemerkung_datensatz," + kSchluessel + ",bemerkung_tabelle")
                      .split(',');
    etw.sichtbar = preisSpalten("Kaufjahr");
    etw.sichtbar << sp(4, "Stadtteil", 3000) << sp(5, "Baujahr", 1500) << sp(6, "Wohnfläche", 1500, true)
                 << sp(7, "Bemerkung", 1500);
    h.insert("kaufpreise_fuer_eigentumswohnungen", etw);

    // The rent tables keep the caption "Kaufjahr" for their year column.
    Aufbau wohn;
    wohn.spalten = QString("jahr,minimal,durchschnitt,maximal,baujahr,flaeche,bemerkung_datensatz,ausstattung,"
                           "lage," + kSchluessel + ",bemerkung_tabelle")
                       .split(',');
    wohn.sichtbar = preisSpalten("Kaufjahr");
    wohn.sichtbar << sp(4, "Baujahr", 3000) << sp(5, "Wohnfläche", 3000) << sp(6, "Bemerkung", 3000)
                  << sp(7, "Ausstattung", 3000) << sp(8, "Lage", 3000);
    h.insert("mietwerte_fuer_wohnraum", wohn);

    Aufbau gewerbe;
    gewerbe.spalten = QString("jahr,minimal,durchschnitt,maximal,baujahr,flaeche,bemerkung_datensatz,ausstattung," +
                              kSchluessel + ",bemerkung_tabelle")
                          .split(',');
    gewerbe.sichtbar = preisSpalten("Kaufjahr");
    gewerbe.sichtbar << sp(4, "Baujahr", 3000) << sp(5, "Nutzfläche", 3000) << sp(6, "Bemerkung", 3000)
                     << sp(7, "Ausstattung", 3000);
    h.insert("mietwerte_fuer_gewerbe", gewerbe);

    Aufbau si;
    si.spalten = QString("jahr,indexwert,basisjahr," + kSchluessel + ",bemerkung_tabelle").split(',');
    si.sichtbar << sp(0, "Jahr", 1500) << sp(1, "Index", 1500) << sp(2, "Basisjahr", 7800);
    h.insert("sonstige_indizes", si);

    // The building price index is laid out like the other indices, with the
    // kind of building it measures and a row remark.
    Aufbau bpi;
    bpi.spalten = QString("jahr,indexwert,basisjahr,bauwerksart,bemerkung_datensatz," + kSchluessel +
                          ",bemerkung_tabelle")
                      .split(',');
    bpi.sichtbar << sp(0, "Jahr", 1500, true) << sp(1, "Index", 1500, true) << sp(2, "Basisjahr", 1500, true)
                 << sp(3, "Bauwerksart", 3000) << sp(4, "Bemerkung", 3000);
    h.insert("baupreisindex", bpi);

    Aufbau uk;
    uk.spalten = QString("koeffizient,umrechnungsfaktor,art_des_koeffizients," + kSchluessel + ",bemerkung_tabelle")
                     .split(',');
    uk.sichtbar << sp(0, "Koeffizient", 1500, true) << sp(1, "Umrechnungsfaktor", 1500, true)
                << sp(2, "Art des Koeffizienten", 7800);
    h.insert("umrechnungskoeffizienten", uk);

    Aufbau fu;
    fu.spalten = QString("jahr,flaechenumsatz_in_ha,teilmarkt_oder_insgesamt,bemerkung," + kSchluessel).split(',');
    fu.sichtbar << sp(0, "Jahr", 1500, true) << sp(1, "Flächenumsatz ha", 1500, true)
                << sp(2, "Teilmarkt oder insgesamt", 3000) << sp(3, "Bemerkung", 4800);
    fu.mitBemerkungTabelle = false;
    h.insert("flaechenumsatz", fu);

    Aufbau gu;
    gu.spalten = QString("jahr,geldumsatz_in_mio_euro,teilmarkt_oder_insgesamt,bemerkung," + kSchluessel).split(',');
    gu.sichtbar << sp(0, "Jahr", 1500, true) << sp(1, "Geldumsatz", 3000, true, true)
                << sp(2, "Teilmarkt oder insgesamt", 3000) << sp(3, "Bemerkung", 3300);
    gu.mitBemerkungTabelle = false;
    h.insert("geldumsatz", gu);

    Aufbau adv;
    adv.spalten = QString("jahr,vertraege,teilmarkt_oder_insgesamt,bemerkung," + kSchluessel).split(',');
    adv.sichtbar << sp(0, "Jahr", 1500, true) << sp(1, "Verträge", 1500, true)
                 << sp(2, "Teilmarkt oder insgesamt", 3000) << sp(3, "Bemerkung", 4800);
    adv.mitBemerkungTabelle = false;
    h.insert("anzahl_der_vertraege", adv);

    Aufbau lz;
    lz.spalten = QString("jahr,lgz_fuer,baujahr,lage,zins_in_prozent,bemerkung_datensatz,ueberschrift,"
                         "stadt_oder_landkreis,quellenangabe,copyright,bemerkung_tabelle")
                     .split(',');
    lz.sichtbar << sp(0, "Jahr", 1500, true) << sp(1, "LGZ für", 3000) << sp(2, "Baujahr", 1500, true)
                << sp(3, "Lage", 3000) << sp(4, "Zins", 3000) << sp(5, "Bemerkung", 3000);
    h.insert("liegenschaftszins", lz);
    return h;
}

}  // namespace

bool istPositiv(const QVariant& v) {
    if (v.isNull()) return false;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && d > 0;
}

bool istNullWert(const QVariant& v) {
    if (v.isNull()) return false;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && d == 0;
}

QVariant nullZahl() { return QVariant(QMetaType::fromType<double>()); }

bool gleich(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    return a.toDouble() == b.toDouble();
}

QString feldText(const QSqlRecord& r, const QString& name) {
    const int i = r.indexOf(name);
    if (i < 0) return {};
    const QVariant v = r.value(i);
    return v.isNull() ? QString() : v.toString();
}


const QList<Kategorie>& kategorien() {
    // Each house category is charged at the price its own button shows.
    static const QList<Kategorie> k{
        {"Anzahl der Verträge", "anzahl_der_vertraege", "Anzahl der Verträge", "preis_adv"},
        {"Baupreisindex", "baupreisindex", "Baupreisindex", "preis_bpi"},
        {"Flächenumsatz", "flaechenumsatz", "Flächenumsatz", "preis_fu"},
        {"Geldumsatz", "geldumsatz", "Geldumsatz", "preis_gu"},
        {"Kaufpreise für DHHs", "kaufpreise_fuer_doppelhaushaelften", "Kaufpreise für Doppelhaushälften",
         "preis_kp_dhh"},
        {"Kaufpreise für ETWs", "kaufpreise_fuer_eigentumswohnungen", "Kaufpreise für Eigentumswohnungen",
         "preis_kp_etw"},
        {"Kaufpreise für EFHs", "kaufpreise_fuer_freistehende_einfamilienhaeuser", "Kaufpreise für freistehende EFHs",
         "preis_kp_efh"},
        {"Kaufpreise für MFHs", "kaufpreise_fuer_mehrfamilienhaeuser", "Kaufpreise für Mehrfamilienhäuser",
         "preis_kp_mfh"},
        {"Kaufpreise für RHs", "kaufpreise_fuer_reihenhaeuser", "Kaufpreise für Reihenhäuser", "preis_kp_rh"},
        {"Liegenschaftszins", "liegenschaftszins", "Liegenschaftszins", "preis_lz"},
        {"Mietwerte für Gewerbe", "mietwerte_fuer_gewerbe", "Mietwerte für Gewerbe", "preis_mw_gewerbe"},
        {"Mietwerte für Wohnraum", "mietwerte_fuer_wohnraum", "Mietwerte für Wohnraum", "preis_mw_wohn"},
        {"Sonstige Indizes", "sonstige_indizes", "Sonstige Indizes", "preis_si"},
        {"Umrechnungskoeffizienten", "umrechnungskoeffizienten", "Umrechnungskoeffizienten", "preis_uk"},
    };
    return k;
}

const Kategorie* kategorie(const QString& tabelle) {
    for (const Kategorie& k : kategorien())
        if (k.tabelle.compare(tabelle, Qt::CaseInsensitive) == 0) return &k;
    return nullptr;
}

const GridSpalte* Aufbau::sichtbareSpalte(int nr) const {
    for (const GridSpalte& g : sichtbar)
        if (g.nr == nr) return &g;
    return nullptr;
}

const Aufbau* aufbau(const QString& tabelle) {
    static const QHash<QString, Aufbau> alle = baueAufbauten();
    const auto it = alle.constFind(tabelle.toLower());
    return it == alle.constEnd() ? nullptr : &*it;
}

QString spaltenListe(const Aufbau& a, const QString& tabelle) {
    return "select " + a.spalten.join(',') + " from " + tabelle;
}

double preisAusOrt(const Datenbank& db, const Recordset& ort, const QString& spalte,
                   const QString& gemeindeschluessel) {
    if (ort.istOffen() && !ort.eof() && ort.position() >= 0 && ort.hatSpalte(spalte) &&
        ort.hatSpalte("gemeindeschluessel") && ort.text("gemeindeschluessel").trimmed() == gemeindeschluessel)
        return ort.zahl(spalte);
    // The column name is one of the fixed price columns, never user input.
    const QVariant v = db.wert("select " + spalte + " from ortsnamen where gemeindeschluessel = ?",
                               {gemeindeschluessel});
    bool ok = false;
    const double d = v.toDouble(&ok);
    return v.isNull() || !ok ? 0 : d;
}

QHash<QString, double> preiseAusOrt(const Datenbank& db, const Recordset& ort, const QString& gemeindeschluessel) {
    QHash<QString, double> h;
    bool alleImOrt = ort.istOffen() && !ort.eof() && ort.position() >= 0 && ort.hatSpalte("gemeindeschluessel") &&
                     ort.text("gemeindeschluessel").trimmed() == gemeindeschluessel;
    for (const Kategorie& k : kategorien()) alleImOrt = alleImOrt && ort.hatSpalte(k.preisSpalte);
    if (alleImOrt) {
        for (const Kategorie& k : kategorien()) h.insert(k.preisSpalte, ort.zahl(k.preisSpalte));
        return h;
    }
    QStringList spalten;
    for (const Kategorie& k : kategorien()) spalten << k.preisSpalte;
    const Recordset rs =
        db.abfrage("select " + spalten.join(',') + " from ortsnamen where gemeindeschluessel = ?", {gemeindeschluessel});
    for (const Kategorie& k : kategorien()) h.insert(k.preisSpalte, rs.eof() ? 0.0 : rs.zahl(k.preisSpalte));
    return h;
}

QString knopfText(const Kategorie& k, double preis) {
    return preis > 0 ? k.knopf + " (" + waehrung(preis) + ")" : k.knopf;
}

QString MarktUebersicht::keineDatenText() {
    return QStringLiteral("In diesem Bereich sind keine Marktübersichten über diesen Ort vorhanden!");
}

bool MarktUebersicht::lade(const Datenbank& db, const QString& gemeindeschluessel, const QString& tabelle) {
    const Kategorie* k = kategorie(tabelle);
    const Aufbau* a = markt::aufbau(tabelle);
    // The table name goes into the statement, so only the known categories pass.
    if (!k || !a)
        throw DbFehler("Unbekannte Marktübersicht", "Die Tabelle \"" + tabelle + "\" ist keine Marktübersicht.");
    m_tabelle = k->tabelle;
    m_aufbau = a;
    m_land = gemeindeschluessel.mid(0, 2);
    m_rb = gemeindeschluessel.mid(2, 1);
    m_kreis = gemeindeschluessel.mid(3, 2);
    m_gemeinde = gemeindeschluessel.mid(5);
    m_kreisEbene = false;
    m_ueberschriften.clear();
    m_zeilen.clear();
    m_spalten.clear();

    // The headings and the rows of the municipality in one round trip; the
    // district's only when the municipality has none.
    auto ueberschriften = [&](bool kreis) {
        return kreis ? Anfrage{"select distinct ueberschrift from " + m_tabelle +
                                   " where landsch = ? and kreissch = ? and rbsch = ?",
                               {m_land, m_kreis, m_rb}}
                     : Anfrage{"select distinct ueberschrift,tabellennr from " + m_tabelle +
                                   " where landsch = ? and kreissch = ? and rbsch = ? and gemeindesch = ?"
                                   " order by tabellennr",
                               {m_land, m_kreis, m_rb, m_gemeinde}};
    };
    QList<Recordset> rs = db.abfragen({ueberschriften(false), zeilenAnfrage()});
    if (rs[0].leer()) {
        m_kreisEbene = true;
        rs = db.abfragen({ueberschriften(true), zeilenAnfrage()});
        if (rs[0].leer()) {
            m_kreisEbene = false;
            return false;
        }
    }
    for (rs[0].moveFirst(); !rs[0].eof(); rs[0].moveNext()) m_ueberschriften << rs[0].text("ueberschrift");
    m_spalten = rs[1].spalten();
    m_zeilen = rs[1].zeilen();
    return true;
}

Anfrage MarktUebersicht::zeilenAnfrage() const {
    QString sql = spaltenListe(*m_aufbau, m_tabelle) + " where landsch = ? and kreissch = ? and rbsch = ?";
    Parameter p{m_land, m_kreis, m_rb};
    if (!m_kreisEbene) {
        sql += " and gemeindesch = ?";
        p << m_gemeinde;
    }
    sql += " order by tabellennr,datensatznr";
    return {sql, p};
}

void MarktUebersicht::ladeZeilen(const Datenbank& db) {
    if (!m_aufbau) return;
    const Anfrage a = zeilenAnfrage();
    const Recordset rs = db.abfrage(a.sql, a.werte);
    m_spalten = rs.spalten();
    m_zeilen = rs.zeilen();
}

QVector<QSqlRecord> MarktUebersicht::zeilenZu(const QString& ueberschrift) const {
    QVector<QSqlRecord> l;
    for (const QSqlRecord& r : m_zeilen)
        if (feldText(r, "ueberschrift") == ueberschrift) l << r;
    return l;
}

QString MarktUebersicht::bereichText() const {
    if (m_ueberschriften.isEmpty()) return {};
    const QVector<QSqlRecord> z = zeilenZu(m_ueberschriften.first());
    if (z.isEmpty()) return {};
    const QSqlRecord& r = z.first();
    return feldText(r, "stadt_oder_landkreis").trimmed() + " / " + feldText(r, "copyright").trimmed() + " / " +
           feldText(r, "quellenangabe").trimmed();
}

QString MarktUebersicht::hinweisText() const {
    if (!m_aufbau || !m_aufbau->mitBemerkungTabelle || m_ueberschriften.isEmpty()) return {};
    const QVector<QSqlRecord> z = zeilenZu(m_ueberschriften.first());
    if (z.isEmpty()) return {};
    return feldText(z.first(), "bemerkung_tabelle").trimmed();
}

qint64 MarktUebersicht::bucheAbfrage(const Datenbank& db, const Publics& p, const QString& titel,
                                     double preis) const {
    return SchreibeAbfrageProtokoll(db, p, AbfrageArt::Marktuebersichten, p.AktOrtAnzeige + " - " + titel, preis);
}

}  // namespace talu::markt
