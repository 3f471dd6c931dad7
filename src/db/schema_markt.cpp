#include "db/Schema.h"

namespace talu {

namespace {

Spalte text(const QString& n, int laenge = 0) { return {n, Typ::Text, laenge, {}}; }
Spalte zahl(const QString& n) { return {n, Typ::Zahl, 0, {}}; }
Spalte ganz(const QString& n) { return {n, Typ::Ganzzahl, 0, {}}; }

// Every market overview table starts with its key parts and the description
// of the published table a row belongs to, then the category's own columns.
Tabelle marktTabelle(const QString& name, const QList<Spalte>& eigene, bool mitBemerkungTabelle) {
    Tabelle t;
    t.name = name;
    t.spalten = {
        {"id", Typ::Id, 0, {}},
        text("landsch", 2),
        text("rbsch", 1),
        text("kreissch", 2),
        text("gemeindesch", 3),
        text("ueberschrift", 255),
        ganz("tabellennr"),
        ganz("datensatznr"),
        text("stadt_oder_landkreis", 100),
        text("quellenangabe", 255),
        text("copyright", 255),
    };
    if (mitBemerkungTabelle) t.spalten << text("bemerkung_tabelle");
    t.spalten += eigene;
    // Municipality look-up (and its order), district fallback (and its
    // order), and the headline lists of both levels.
    t.indexe = {
        {"ix_" + name + "_gem", {"landsch", "rbsch", "kreissch", "gemeindesch", "tabellennr", "datensatznr"}},
        {"ix_" + name + "_krs", {"landsch", "rbsch", "kreissch", "tabellennr", "datensatznr"}},
        {"ix_" + name + "_ueb", {"landsch", "rbsch", "kreissch", "gemeindesch", "ueberschrift"}},
    };
    return t;
}

// Euro amounts, and the former DM amounts kept for the conversion.
QList<Spalte> preise() {
    return {zahl("minimal"),    zahl("durchschnitt"),    zahl("maximal"),
            zahl("minimal_dm"), zahl("durchschnitt_dm"), zahl("maximal_dm")};
}

QList<Spalte> hauspreise() {
    QList<Spalte> s{text("kaufjahr", 20)};
    s += preise();
    s << text("stadtteil", 100) << text("baujahr", 50) << text("grundstuecksgroesse", 50)
      << text("wohnflaeche", 50) << text("bemerkung_datensatz", 255);
    return s;
}

}  // namespace

QList<Tabelle> tabellenMarkt() {
    QList<Tabelle> l;
    l << marktTabelle("kaufpreise_fuer_freistehende_einfamilienhaeuser", hauspreise(), true);
    l << marktTabelle("kaufpreise_fuer_doppelhaushaelften", hauspreise(), true);
    l << marktTabelle("kaufpreise_fuer_reihenhaeuser", hauspreise(), true);
    {
        QList<Spalte> s{text("kaufjahr", 20)};
        s += preise();
        s << text("stadtteil", 100) << text("baujahr", 50) << text("anzahl_der_wohneinheiten", 50)
          << text("wohnflaeche", 50) << text("bemerkung_datensatz", 255);
        l << marktTabelle("kaufpreise_fuer_mehrfamilienhaeuser", s, true);
    }
    {
        QList<Spalte> s{text("kaufjahr", 20)};
        s += preise();
        s << text("stadtteil", 100) << text("baujahr", 50) << text("wohnflaeche", 50)
          << text("bemerkung_datensatz", 255);
        l << marktTabelle("kaufpreise_fuer_eigentumswohnungen", s, true);
    }
    {
        QList<Spalte> s{text("jahr", 20)};
        s += preise();
        s << text("baujahr", 50) << text("flaeche", 50) << text("bemerkung_datensatz", 255)
          << text("ausstattung", 100) << text("lage", 100);
        l << marktTabelle("mietwerte_fuer_wohnraum", s, true);
    }
    {
        QList<Spalte> s{text("jahr", 20)};
        s += preise();
        s << text("baujahr", 50) << text("flaeche", 50) << text("bemerkung_datensatz", 255)
          << text("ausstattung", 100);
        l << marktTabelle("mietwerte_fuer_gewerbe", s, true);
    }
    l << marktTabelle("sonstige_indizes", {text("jahr", 20), zahl("indexwert"), text("basisjahr", 20)}, true);
    l << marktTabelle("baupreisindex",
                      {text("jahr", 20), zahl("indexwert"), text("basisjahr", 20), text("bauwerksart", 100),
                       text("bemerkung_datensatz", 255)},
                      true);
    l << marktTabelle("umrechnungskoeffizienten",
                      {text("koeffizient", 50), zahl("umrechnungsfaktor"), text("art_des_koeffizients", 255)}, true);
    l << marktTabelle("flaechenumsatz",
                      {text("jahr", 20), zahl("flaechenumsatz_in_ha"), text("teilmarkt_oder_insgesamt", 100),
                       text("bemerkung", 255)},
                      false);
    l << marktTabelle("geldumsatz",
                      {text("jahr", 20), zahl("geldumsatz_in_mio_euro"), zahl("geldumsatz_in_mio_dm"),
                       text("teilmarkt_oder_insgesamt", 100), text("bemerkung", 255)},
                      false);
    l << marktTabelle("anzahl_der_vertraege",
                      {text("jahr", 20), ganz("vertraege"), text("teilmarkt_oder_insgesamt", 100),
                       text("bemerkung", 255)},
                      false);
    l << marktTabelle("liegenschaftszins",
                      {text("jahr", 20), text("lgz_fuer", 100), text("baujahr", 50), text("lage", 100),
                       zahl("zins_in_prozent"), text("bemerkung_datensatz", 255)},
                      true);
    return l;
}

}  // namespace talu
