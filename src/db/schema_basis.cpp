// Tables of places, plots, the query log, billing, the access log, the master
// data and the staging tables of the imports.
#include "db/Schema.h"

namespace talu {

namespace {

Spalte id() { return {"id", Typ::Id, 0, {}}; }
Spalte text(const QString& name, int laenge = 0, const QString& vorgabe = {}) {
    return {name, Typ::Text, laenge, vorgabe};
}
Spalte ganz(const QString& name, const QString& vorgabe = {}) { return {name, Typ::Ganzzahl, 0, vorgabe}; }
Spalte zahl(const QString& name, const QString& vorgabe = {}) { return {name, Typ::Zahl, 0, vorgabe}; }
Spalte datum(const QString& name) { return {name, Typ::Datum, 0, {}}; }
// The folded form of a searched name, kept by the database or the data layer.
Spalte suchtext(const QString& name, const QString& quelle, int laenge) {
    return {name, Typ::Suchtext, laenge, {}, quelle};
}

// Key columns are sized so that SQL Server can index them (nvarchar up to 450).
constexpr int kSchluessel = 12;  // municipality key: 8 digits, room for stray input
constexpr int kName = 100;

Tabelle ortsnamen() {
    Tabelle t;
    t.name = "ortsnamen";
    t.spalten = {
        id(),
        text("ort", kName),
        suchtext("ort_suche", "ort", kName),
        text("plzneu", 10),
        text("gemeindeschluessel", kSchluessel),
        ganz("typ"),  // 0 kreisfreie Stadt, 1 Stadt, 2 Gemeinde, 3+ eingemeindet
        text("kenn", 20),
        // Price of a land-value query here and the appraisers' share of it.
        zahl("preis"),
        zahl("preis_gutachter_bodenwert"),
        // Prices of the fourteen market overview categories.
        zahl("preis_kp_dhh"),
        zahl("preis_kp_efh"),
        zahl("preis_kp_rh"),
        zahl("preis_kp_mfh"),
        zahl("preis_kp_etw"),
        zahl("preis_mw_wohn"),
        zahl("preis_mw_gewerbe"),
        zahl("preis_bpi"),
        zahl("preis_si"),
        zahl("preis_uk"),
        zahl("preis_fu"),
        zahl("preis_gu"),
        zahl("preis_adv"),
        zahl("preis_lz"),
        // Average land values of the municipality by use class.
        zahl("wohn"),
        zahl("misch"),
        zahl("gewerbe"),
    };
    t.indexe = {
        {"ix_ortsnamen_ort", {"ort_suche"}},
        {"ix_ortsnamen_plzneu", {"plzneu"}},
        {"ix_ortsnamen_gemeindeschluessel", {"gemeindeschluessel"}},
    };
    return t;
}

Tabelle grundstuecke() {
    Tabelle t;
    t.name = "grundstuecke";
    t.spalten = {
        id(),
        ganz("id_orte"),  // id of the place in ortsnamen
        text("gemeindeschluessel", kSchluessel),
        text("ortsteil", kName),
        text("strassen_name", kName),
        suchtext("strassen_name_suche", "strassen_name", kName),
        text("hausnummer", 20),
        zahl("hausnummer_numerisch"),
        text("flurstueck", 50),
        zahl("richtwert_minimal"),
        zahl("richtwert_durchschnitt"),
        zahl("richtwert_maximal"),
        zahl("richtwert_tatsaechlich"),
        text("bauliche_nutzung", 10),
        text("entwicklungszustand", 10),
        text("bauweise", 10),
        text("richtwerttyp", 10),
        text("bemerkung", 255),
        text("quellenangabe", kName),
        // Plots marked for deletion ("ja") never show in a search; imports add
        // plots without touching the mark, so new rows must count as kept.
        text("loeschen", 4, "'nein'"),
        text("ausgefuellt", 1),
        text("geschossflaechenzahl", 20),
        text("anzahl_der_geschosse", 20),
        text("beitragspflichtig", 10),
        text("grundstueckstiefe", 20),
        text("grundstuecksflaeche", 20),
        text("sanierungsgebiet", 10),
        text("sananfangende", 10),
        text("x_koordinate", 30),
        text("y_koordinate", 30),
        text("umt_1", 30),
        text("umt_2", 30),
        text("strassenschluessel", 20),
        text("mosaic_nummer", 30),
        text("pogos", 4),
        text("pogos_cstaotk", 20),
    };
    t.indexe = {
        // Street search: plots of one municipality whose street begins with the term.
        {"ix_grundstuecke_strasse", {"gemeindeschluessel", "strassen_name_suche"}},
        // Stepping to the neighbouring house number, copying to and deleting a street.
        {"ix_grundstuecke_hausnummer", {"gemeindeschluessel", "strassen_name", "hausnummer"}},
        {"ix_grundstuecke_mosaic", {"mosaic_nummer"}},
    };
    return t;
}

Tabelle abfrageprotokoll() {
    Tabelle t;
    t.name = "abfrageprotokoll";
    t.spalten = {
        id(),
        datum("datum"),
        text("uhrzeit", 10),
        text("vorgang", 50),
        text("pc_benutzer", kName),
        text("db_benutzer", kName),
        text("objekt", 255),
        text("gemeindeschluessel", kSchluessel),
        text("computername", 50),
        text("offen", 4),
        zahl("preis"),
        zahl("preis_gutachter"),
        text("offen_gutachter", 4),
        text("version", 20),
        // Set by the invoice run: the invoice that billed this row.
        ganz("rechnungsnummer"),
        // A new row is not yet settled with the customer nor with the appraiser.
        text("abgerechnet_eigen", 1, "'N'"),
        text("abgerechnet_gutachter", 1, "'N'"),
    };
    t.indexe = {
        {"ix_abfrageprotokoll_offen", {"offen", "db_benutzer"}},
        {"ix_abfrageprotokoll_db_benutzer", {"db_benutzer"}},
        {"ix_abfrageprotokoll_offen_gutachter", {"offen_gutachter", "gemeindeschluessel"}},
        {"ix_abfrageprotokoll_datum", {"datum"}},
    };
    return t;
}

Tabelle rechnungen() {
    Tabelle t;
    t.name = "rechnungen";
    t.spalten = {
        id(),
        ganz("rechnungsnummer"),
        datum("rechnungsdatum"),
        text("kundenname", kName),
        zahl("nettobetrag"),
        zahl("steuer"),
        zahl("bruttobetrag"),
        text("offen", 4),
        datum("zahlungsziel"),
    };
    t.indexe = {
        // Every invoice number is handed out once.
        {"ix_rechnungen_rechnungsnummer", {"rechnungsnummer"}, true},
        {"ix_rechnungen_offen", {"offen", "rechnungsnummer"}},
    };
    return t;
}

Tabelle rechnungsKunden() {
    Tabelle t;
    t.name = "rechnungs_kunden";
    t.spalten = {
        id(),
        text("benutzername", kName),  // database login as written into the query log
        text("name", kName),
        text("zusatz", kName),
        text("strasse", kName),
        text("plz", 10),
        text("ort", kName),
    };
    t.indexe = {{"ix_rechnungs_kunden_benutzername", {"benutzername"}}};
    return t;
}

// Access log: one row per login or logout, written by the server side.
Tabelle protokoll() {
    Tabelle t;
    t.name = "protokoll";
    t.spalten = {
        id(),
        text("name", kName),
        datum("datum"),
        text("zeit", 10),
        text("vorgang", 20),
    };
    t.indexe = {{"ix_protokoll_datum", {"datum"}}};
    return t;
}

// Appraisers and valuation committees; lengths are those the form cuts to.
Tabelle gutachter() {
    Tabelle t;
    t.name = "gutachter";
    t.spalten = {
        id(),
        text("name", 50),
        text("strasse", 30),
        text("plz", 5),
        text("ort", 30),
        text("telefon", 30),
        text("telefax", 30),
        text("email", 100),
        text("internet", 100),
        text("abrechnungsmodus", 5),
        text("bereich", 20),  // key of the area served: municipality or district key
    };
    t.indexe = {{"ix_gutachter_bereich", {"bereich"}}};
    return t;
}

// Users and customers; the form stores every field whole.
Tabelle benutzer() {
    Tabelle t;
    t.name = "benutzer";
    t.spalten = {
        id(),
        text("name"),
        text("strasse"),
        text("plz"),
        text("ort"),
        text("telefon"),
        text("telefax"),
        text("email"),
        text("ansprechpartner"),
        text("durchwahl"),
        text("abrechnungsmodus"),
        text("account"),
        text("schreibmodus", 5),  // "J" or "N"
    };
    return t;
}

// Regions with the average land values by use class.
Tabelle region(const QString& name, const QString& namensSpalte, int kennLaenge) {
    Tabelle t;
    t.name = name;
    t.spalten = {
        id(),
        text("kenn", kennLaenge),
        text(namensSpalte, kName),
        zahl("wohn"),
        zahl("misch"),
        zahl("gewerbe"),
    };
    t.indexe = {{"ix_" + name + "_kenn", {"kenn"}}};
    return t;
}

Tabelle kreis() {
    Tabelle t = region("kreis", "kreis", 5);
    // The district key once more, under the name the fill tools use.
    t.spalten.insert(3, text("gemeindeschluessel", kSchluessel));
    t.indexe << Index{"ix_kreis_gemeindeschluessel", {"gemeindeschluessel"}, false};
    return t;
}

// The district names as the district search lists them; ids match table kreis.
Tabelle kreise() {
    Tabelle t;
    t.name = "kreise";
    t.spalten = {
        id(),
        text("kreis", kName),
        text("kenn", 5),
    };
    return t;
}

// Staging tables of the imports, filled from outside the program.

Tabelle geb111() {
    Tabelle t;
    t.name = "geb111";
    t.spalten = {
        id(),
        text("gs", kSchluessel),  // municipality key
        text("ss", 20),           // street key
        text("hausnummer", 20),
        text("zusatz", 20),
        text("hochwert", 30),
        text("rechtswert", 30),
    };
    t.indexe = {{"ix_geb111_strasse", {"ss", "gs"}}};
    return t;
}

Tabelle str111() {
    Tabelle t;
    t.name = "str111";
    t.spalten = {
        id(),
        text("gs", kSchluessel),
        text("ss", 20),
        text("straßenname", kName),
    };
    t.indexe = {{"ix_str111_strasse", {"ss", "gs"}}};
    return t;
}

Tabelle pogos() {
    Tabelle t;
    t.name = "pogos";
    t.spalten = {
        id(),
        text("gemeindeschluessel", kSchluessel),
        text("strassenname", kName),
        text("stadtteil", kName),
        text("cstaotk", 20),
    };
    t.indexe = {{"ix_pogos_gemeindeschluessel", {"gemeindeschluessel"}}};
    return t;
}

Tabelle mosaic() {
    Tabelle t;
    t.name = "mosaic";
    t.spalten = {
        id(),
        text("haus_id", 30),  // begins with the municipality key
        text("haus_strasse", kName),
        text("haus_hausnr", 20),
        text("haus_hausnr_zusatz", 20),
        text("haus_otl_name", kName),
    };
    return t;
}

Tabelle aurich() {
    Tabelle t;
    t.name = "aurich";
    t.spalten = {
        id(),
        text("haus_id", 30),
        text("haus_bodenwert", 20),
        text("haus_gfz", 20),
        text("haus_bauweise", 10),
        text("haus_beitragspflichtig", 10),
        text("haus_sanierungsgeb", 10),
        text("haus_grundst_tiefe", 20),
        text("haus_entwicklungszustand", 10),
        text("haus_grundst_fläche", 20),
        text("haus_azdgeschosse", 20),
        text("haus_bauliche_nutzung", 10),
        text("haus_bemerkung", 255),
        text("haus_wert", 10),
        text("haus_san_ae", 10),
    };
    t.indexe = {{"ix_aurich_haus_id", {"haus_id"}}};
    return t;
}

Tabelle gebaeude() {
    Tabelle t;
    t.name = "gebäude";
    t.spalten = {
        id(),
        text("gemeindeschlüssel", kSchluessel),
        text("strassenschlüssel", 20),
        text("hausnummer", 20),
        text("hochwert", 30),
        text("rechtswert", 30),
    };
    return t;
}

Tabelle strassen() {
    Tabelle t;
    t.name = "strassen";
    t.spalten = {
        id(),
        text("strassenschlüssel", 20),
        text("gemeindeschlüssel", kSchluessel),
        text("straßenname", kName),
    };
    t.indexe = {{"ix_strassen_schluessel", {"strassenschlüssel", "gemeindeschlüssel"}}};
    return t;
}

// Street names of the land-value zones.
Tabelle import1() {
    Tabelle t;
    t.name = "import_11062002_1";
    t.spalten = {
        id(),
        text("schlüssel", 20),  // municipality key, as delivered (may carry blanks)
        text("strasse", kName),
        ganz("zonen_nr"),
    };
    return t;
}

// Land values of the zones.
Tabelle import2() {
    Tabelle t;
    t.name = "import_11062002_2";
    t.spalten = {
        id(),
        text("gemeindesch", kSchluessel),
        ganz("zonen_nr"),
        zahl("brw_minimal"),
        zahl("brw_maximal"),
        zahl("brw_durchschnittlich"),
        zahl("brw_tatsaechlich"),
        text("bauliche_nutzung", 20),
        text("entwicklungszustand", 20),
        text("bauweise", 20),
        text("gfz", 20),
        text("anzahl_der_geschosse", 20),
        text("grundstueckstiefe", 20),
        text("grundstuecksflaeche", 20),
        text("beitragspflichtig", 20),
        text("sanierungsgebiet", 20),
        text("anfangs_oder_endwert", 20),
        text("richtwerttyp", 20),
        text("bemerkung", 255),
    };
    t.indexe = {{"ix_import_11062002_2_zone", {"gemeindesch", "zonen_nr"}}};
    return t;
}

}  // namespace

QList<Tabelle> tabellenBasis() {
    return {
        ortsnamen(),
        grundstuecke(),
        abfrageprotokoll(),
        rechnungen(),
        rechnungsKunden(),
        protokoll(),
        gutachter(),
        benutzer(),
        kreis(),
        kreise(),
        region("regbez", "regbez", 3),
        region("bundeslaender", "bundesland", 2),
        geb111(),
        str111(),
        pogos(),
        mosaic(),
        aurich(),
        gebaeude(),
        strassen(),
        import1(),
        import2(),
    };
}

}  // namespace talu
