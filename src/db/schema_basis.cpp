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

// Key columns are sized so that SQL Server can index them (nvarchar up to 450).
constexpr int kSchluessel = 12;  // municipality key: 8 digits, room for stray input
constexpr int kName = 100;

Tabelle ortsnamen() {
    Tabelle t;
    t.name = "ortsnamen";
    t.spalten = {
        id(),
        text("ort", kName),
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
        {"ix_ortsnamen_ort", {"lower(ort)"}},
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
        {"ix_grundstuecke_strasse", {"gemeindeschluessel", "lower(strassen_name)"}},
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

}  // namespace

QList<Tabelle> tabellenBasis() {
    return {
        ortsnamen(),
        grundstuecke(),
        abfrageprotokoll(),
    };
}

}  // namespace talu
