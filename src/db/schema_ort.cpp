#include "db/Schema.h"

namespace talu {

namespace {

Spalte id() { return {"id", Typ::Id, 0, {}}; }
Spalte text(const QString& n, int laenge = 0) { return {n, Typ::Text, laenge, {}}; }
Spalte ganz(const QString& n) { return {n, Typ::Ganzzahl, 0, {}}; }
Spalte zahl(const QString& n) { return {n, Typ::Zahl, 0, {}}; }
Spalte datum(const QString& n) { return {n, Typ::Datum, 0, {}}; }

// The regional tables are keyed by the four parts of the municipality key;
// every look-up of the place form names all four, so one index covers it.
// Region and district part are equally wide: some rows hold them exchanged.
QList<Spalte> schluesselTeile(const QString& l, const QString& r, const QString& k, const QString& g) {
    return {text(l, 2), text(r, 2), text(k, 2), text(g, 3)};
}

Tabelle nachOrt(const QString& name, const QList<Spalte>& weitere,
                const QStringList& teile = {"landsch", "rbsch", "kreissch", "gemeindesch"}) {
    Tabelle t;
    t.name = name;
    t.spalten << id() << schluesselTeile(teile[0], teile[1], teile[2], teile[3]) << weitere;
    t.indexe << Index{"ix_" + name + "_schluessel", teile};
    return t;
}

// An office or court row, found by its number.
Tabelle nachNummer(const QString& name, const Spalte& nummer, const QList<Spalte>& weitere) {
    Tabelle t;
    t.name = name;
    t.spalten << id() << nummer << weitere;
    t.indexe << Index{"ix_" + name + "_nr", {nummer.name}};
    return t;
}

QList<Spalte> anschrift() {
    return {text("plz_und_ort", 60), text("strasse_und_hausnr", 60), text("telefon", 30), text("telefax", 30)};
}

Tabelle ortsdaten() {
    Tabelle t;
    t.name = "ortsdaten";
    t.spalten << id() << ganz("ortsdaten_p_id") << text("gemeindeschluessel", 8) << ganz("id_gutachter")
              << zahl("einw1000") << zahl("einwohnerzahl") << text("laenge", 8) << text("breite", 8)
              << ganz("utmrechts") << ganz("utmhoch") << zahl("flaeche") << text("bemerkung", 100)
              << zahl("gruenland") << zahl("ackerland") << zahl("forstland") << datum("est");
    const QStringList worte{"wohn", "misch", "gewerbe"};
    for (int n = 1; n <= 3; ++n) {
        const QString s = QString::number(n);
        t.spalten << text("bauliche_nutzung_" + s, 10) << text("entwicklungszustand_" + s, 1)
                  << text("bauweise_" + s, 1) << text("geschossflaechenzahl_" + s, 20)
                  << text("anzahl_der_geschosse_" + s, 20) << text("grundstueckstiefe_" + s, 20)
                  << text("grundstuecksflaeche_" + s, 20) << text("beitragspflichtig_" + s, 1)
                  << zahl("brw_minimal_" + s) << zahl("brw_durchschnitt_" + s) << zahl("brw_maximal_" + s)
                  << zahl("brw_tatsaechlich_" + s) << text("bemerkung_" + s, 100);
    }
    for (const QString& w : worte)
        t.spalten << datum("est" + w) << text("richtwerttyp" + w, 2) << text("quellenangabe" + w, 255);
    t.indexe << Index{"ix_ortsdaten_gemeindeschluessel", {"gemeindeschluessel"}}
             << Index{"ix_ortsdaten_p_id", {"ortsdaten_p_id"}};
    return t;
}

}  // namespace

QList<Tabelle> tabellenOrt() {
    QList<Tabelle> l;
    l << ortsdaten();

    // Offices: which ones serve a municipality, and their addresses.
    l << nachOrt("stadt_und_gemeinde", {text("stadt_gemeinde", 60), ganz("nr_des_bauamtes"), ganz("nr_der_ihk"),
                                        ganz("nr_des_katasteramtes"), ganz("nr_des_landratamtes"),
                                        ganz("nr_des_liegenschaftsamtes")});
    l << nachNummer("bauamt", ganz("nr_des_bauamtes"), anschrift() << text("bemerkung", 255));
    l << nachNummer("liegenschaftsamt", ganz("nr_des_liegenschaftsamtes"), anschrift() << text("bemerkung", 255));
    l << nachNummer("katasteramt", ganz("nr_des_katasteramtes"), anschrift() << text("bemerkung", 255));
    l << nachNummer("landratsamt", ganz("nr_des_landratamtes"),
                    QList<Spalte>{text("landratsamt", 100)} << anschrift() << text("mail", 100));
    l << nachNummer("ihk", ganz("nr_der_ihk"), QList<Spalte>{text("ihk", 100)} << anschrift());

    // Courts: an assignment table per instance and the courts themselves.
    l << nachOrt("amtsgerichte_orte", {ganz("id_amtsgericht")});
    l << nachNummer("amtsgerichte", ganz("id_amtsgericht"), {text("amtsgericht", 100), text("adresse", 255)});
    l << nachOrt("landgerichte_orte", {ganz("id_landgericht")});
    l << nachNummer("landgericht", ganz("id_landgericht"), {text("landgericht", 100), text("adresse", 255)});
    l << nachOrt("oberlandgerichte_orte", {ganz("id_oberlandgericht")});
    l << nachNummer("oberlandgerichte", ganz("id_oberlandgericht"),
                    {text("oberlandgericht", 100), text("adresse", 255)});
    l << nachOrt("verwaltungsgerichte_orte", {ganz("id_verwaltungsgericht")});
    l << nachNummer("verwaltungsgerichte", ganz("id_verwaltungsgerichte"),
                    {text("verwaltungsgerichte", 100), text("adresse", 255), text("tel_nummer", 60)});

    // Labour office: assigned by the whole key; its address by the office number "123.45".
    {
        Tabelle t;
        t.name = "arbeitsamt";
        t.spalten << id() << text("gemschl", 8) << text("plz_arbeitsamt", 5) << text("zust_arbeitsamt", 60)
                  << text("geschaeftsstelle", 60) << text("dstnr", 5);
        t.indexe << Index{"ix_arbeitsamt_gemschl", {"gemschl"}};
        l << t;
    }
    l << nachNummer("arbeitsamtadressen", text("dstnr", 6),
                    {text("plz_geb", 5), text("postfachadresse", 100), text("dienstgebäude", 100),
                     text("vorwahl", 10), text("tel", 30), text("fax", 30)});

    l << nachOrt("gemeindeadressen",
                 {text("plz", 5), text("stadt_gemeinde", 60), text("strasse_und_hausnr", 60), text("tel", 30),
                  text("fax", 30), text("mail", 100), text("bemerkung", 255)},
                 {"lsch", "rsch", "ksch", "gsch"});

    // Business figures.
    l << nachOrt("hebesatz_gewerbe", {ganz("jahr"), zahl("hebesatz_für_gewerbe"), zahl("grundsteuer_a"),
                                      zahl("grundsteuer_b"), text("quellenangabe", 255)});
    l << nachOrt("pendler", {zahl("einpendler_2000"), zahl("auspendler_2000"), text("quellenangabe", 255)});
    l << nachOrt("arbeitslose", {text("ueberschrift", 100), text("bemerkung", 255),
                                 zahl("arbeitslosenquote_10_2001"), text("quellenangabe", 255)});

    // Infrastructure: names of the nearest facilities and their distances in km.
    l << nachOrt("ortsinfo",
                 {text("naechste_stadt", 60), zahl("entf_km_n_stadt"), text("bundesstr", 60), zahl("km_bundes"),
                  text("bab", 60), zahl("km_bab"), text("bahnh", 60), zahl("km_bahnh"), text("ice_bahnh", 60),
                  zahl("km_ice"), text("flugh", 60), zahl("km_flugh"), text("naechste_krankenh", 60),
                  zahl("km_entf_krankenh"), text("naechstes_altersheim", 60), zahl("entf_altersheim"),
                  text("hallen_freibad", 60), zahl("entf_hallen_freib"),
                  text("naechste_senior_gerechte_wohnanl", 60), zahl("entf_gerecht_wohna"), zahl("kindergarten"),
                  zahl("schule"), zahl("gewerbe_an"), zahl("gewerbe_ab"), zahl("waldfl_in_gemeinde")},
                 {"lsch", "rsch", "ksch", "gesch"});
    return l;
}

}  // namespace talu
