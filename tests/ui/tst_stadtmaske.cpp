// The place form's display: every conversion of the place page, the zone,
// appraiser and average pages, the pages of the regional tables, and the
// billing of a shown place.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "Fixture.h"
#include "kit/Dialoge.h"
#include "kit/Formate.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "place/OrtDaten.h"
#include "place/OrtFormate.h"
#include "place/ui/frmStadtMaske.h"

using namespace talu;

namespace {

const QVariant kNull;

qint64 legeOrt(const Datenbank& db, const QString& schluessel, const QString& plz, const QString& name, int typ,
           const Werte& daten = {}, bool mitOrtsdaten = true) {
    const qint64 id = db.einfuegen("ortsnamen", {{"ort", name}, {"plzneu", plz}, {"gemeindeschluessel", schluessel},
                                                 {"typ", typ}});
    if (mitOrtsdaten) {
        Werte w{{"gemeindeschluessel", schluessel}, {"ortsdaten_p_id", id}};
        w += daten;
        db.einfuegen("ortsdaten", w);
    }
    return id;
}

void vierTeile(Werte& w, const QString& l, const QString& r, const QString& k, const QString& g) {
    w.prepend({"gemeindesch", g});
    w.prepend({"kreissch", k});
    w.prepend({"rbsch", r});
    w.prepend({"landsch", l});
}

}  // namespace

class TestStadtMaske : public QObject {
    Q_OBJECT

private slots:
    void init() {
        publics().zuruecksetzen();
        talu::formen::schliesseAlleKinder();
    }
    void cleanup() {
        talu::formen::schliesseAlleKinder();
        publics().Verbindung.schliessen();
    }

    void schluesselTeile() {
        const ort::SchluesselTeile t = ort::zerlegeSchluessel("06533013");
        QCOMPARE(t.land, QString("06"));
        QCOMPARE(t.regbez, QString("5"));
        QCOMPARE(t.kreis, QString("33"));
        QCOMPARE(t.gemeinde, QString("013"));
        QCOMPARE(ort::dienststellenNummer("12345"), QString("123.45"));
    }

    void ortsdatenSeite_data() { test::backendZeilen(); }
    void ortsdatenSeite() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        auto fuelle = [&] {
            db.einfuegen("bundeslaender", {{"kenn", "06"}, {"bundesland", "Hessen"}});
            db.einfuegen("regbez", {{"kenn", "064"}, {"regbez", "Darmstadt"}});
            db.einfuegen("kreis", {{"kenn", "06412"}, {"kreis", "Frankfurt am Main"}});
            const qint64 g = db.einfuegen("gutachter", {{"name", " Gutachterausschuss Nord "}, {"ort", " Kassel "},
                                                         {"strasse", "Weg 1"}, {"plz", "34117"},
                                                         {"telefon", "0561 1"}, {"email", "ga@example.org"}});
            legeOrt(db, "06412000", "60311", "Frankfurt am Main", 0,
                {{"einw1000", 12.5}, {"einwohnerzahl", kNull}, {"flaeche", 1234}, {"laenge", "50065012"},
                 {"breite", "08405400"}, {"utmrechts", 3476500}, {"utmhoch", 5553400}, {"gruenland", 12.5},
                 {"ackerland", 0}, {"forstland", kNull}, {"id_gutachter", g}, {"est", QDate(2001, 12, 31)},
                 {"bemerkung", "Messestadt"}});
            // Region unknown, district unknown, state unknown, appraiser deleted.
            legeOrt(db, "09999001", "99999", "Nirgendwo", 5,
                {{"einw1000", kNull}, {"einwohnerzahl", 641076}, {"flaeche", 0}, {"laenge", kNull},
                 {"breite", "08405400"}, {"utmrechts", 3476500}, {"utmhoch", kNull}, {"gruenland", 0},
                 {"id_gutachter", 424242}});
            legeOrt(db, "06412001", "60312", "Dorf", 2, {{"id_gutachter", kNull}});
            // An appraiser without town keeps the separator of "Name, Ort".
            const qint64 ohneOrt = db.einfuegen("gutachter", {{"name", "Büro Lahn "}, {"ort", kNull}});
            legeOrt(db, "06412002", "60313", "Kleinstadt", 1, {{"id_gutachter", ohneOrt}});
            legeOrt(db, "06412003", "60314", "Ortsteil", 3);
        };
        TALU_DB_OK(fuelle());
        const OrtDaten d(db);
        OrtAnzeige a;
        TALU_DB_OK(a = d.lade("06412000"));
        QVERIFY(a.ortGefunden && a.ortsdatenVorhanden);
        const OrtBoxen& b = a.boxen;
        QCOMPARE(b(1, 0), QString("60311"));
        QCOMPARE(b(1, 1), QString("Frankfurt am Main"));
        QCOMPARE(b(1, 2), QString("Frankfurt am Main"));
        QCOMPARE(b(1, 3), QString("Darmstadt"));
        QCOMPARE(b(1, 4), QString("Hessen"));
        QCOMPARE(b(1, 5), QString("06412000"));
        QCOMPARE(b(1, 6), QString("12.500"));
        QCOMPARE(b(1, 7), QString());
        QCOMPARE(b(1, 8), QString("50° 06' 5012'' N - 08° 40' 5400'' E"));
        QCOMPARE(b(1, 9), QString("3476500 - 5553400"));
        QCOMPARE(b(1, 10), QString("Kreisfreie Stadt"));
        QCOMPARE(b(1, 11), QString("1.234 km²"));
        QCOMPARE(b(1, 12), QString("Messestadt"));
        QCOMPARE(b(1, 13), waehrung(12.5));
        QCOMPARE(b(1, 13), QString("12,50\u00a0€"));
        QCOMPARE(b(1, 14), QString());  // 0: currency only when non-zero
        QCOMPARE(b(1, 15), QString());  // Null
        QCOMPARE(b(1, 16), QString("Gutachterausschuss Nord, Kassel"));
        QCOMPARE(b(1, 17), QString("31.12.2001"));
        QCOMPARE(b(5, 0), QString("Gutachterausschuss Nord"));
        QCOMPARE(b(5, 1), QString("Weg 1"));
        QCOMPARE(b(5, 2), QString("34117"));
        QCOMPARE(b(5, 3), QString("Kassel"));
        QCOMPARE(b(5, 4), QString("0561 1"));
        QCOMPARE(b(5, 6), QString("ga@example.org"));
        QVERIFY(a.idGutachter > 0);

        TALU_DB_OK(a = d.lade("09999001"));
        const OrtBoxen& c = a.boxen;
        QCOMPARE(c(1, 2), QString("Unbekannt"));
        QCOMPARE(c(1, 3), QString("Unbekannt"));
        QCOMPARE(c(1, 4), QString());  // no state row: empty
        QCOMPARE(c(1, 6), QString());
        QCOMPARE(c(1, 7), QString("641.076"));
        QCOMPARE(c(1, 8), QString());  // laenge Null, breite set
        QCOMPARE(c(1, 9), QString());  // one UTM value missing
        QCOMPARE(c(1, 10), QString("Eingemeindet"));
        QCOMPARE(c(1, 11), QString());  // area 0
        QCOMPARE(c(1, 13), QString());
        QCOMPARE(c(1, 16), QString("Kein Gutachter eingetragen"));  // deleted appraiser
        for (int i = 0; i < 8; ++i) QCOMPARE(c(5, i), QString());

        TALU_DB_OK(a = d.lade("06412001"));
        QCOMPARE(a.boxen(1, 10), QString("Gemeinde"));
        QCOMPARE(a.boxen(1, 16), QString("Kein Gutachter eingetragen"));
        QCOMPARE(a.idGutachter, 0.0);
        TALU_DB_OK(a = d.lade("06412002"));
        QCOMPARE(a.boxen(1, 10), QString("Stadt"));
        QCOMPARE(a.boxen(1, 16), QString("Büro Lahn, "));
        QCOMPARE(a.boxen(5, 0), QString("Büro Lahn"));
        TALU_DB_OK(a = d.lade("06412003"));
        QCOMPARE(a.boxen(1, 10), QString("Eingemeindet"));
    }

    void zonenUndDurchschnitt_data() { test::backendZeilen(); }
    void zonenUndDurchschnitt() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        Werte w;
        const char* wort[] = {"wohn", "misch", "gewerbe"};
        const char* nutzung[] = {"wa", "mi", "ge 1"};
        const char* typ[] = {"z", "h", "l"};
        // Depth and area are text columns; a saved box may have left them grouped.
        const char* tiefe[] = {"25", "1250,6", "1.500"};
        const char* flaeche[] = {"1200", "12500", "640"};
        const QStringList tiefeText{"25 m", "1251 m", "1500 m"};
        const QStringList flaecheText{"1200 m²", "12500 m²", "640 m²"};
        for (int z = 0; z < 3; ++z) {
            const QString n = QString::number(z + 1);
            w << qMakePair("bauliche_nutzung_" + n, QVariant(nutzung[z]))
              << qMakePair("entwicklungszustand_" + n, QVariant(z == 1 ? "r" : "b"))
              << qMakePair("bauweise_" + n, QVariant(z == 1 ? "g" : "o"))
              << qMakePair("geschossflaechenzahl_" + n, QVariant("0," + QString::number(z + 5)))
              << qMakePair("anzahl_der_geschosse_" + n, QVariant(QString::number(z + 2)))
              << qMakePair("grundstueckstiefe_" + n, QVariant(tiefe[z]))
              << qMakePair("grundstuecksflaeche_" + n, QVariant(flaeche[z]))
              << qMakePair("beitragspflichtig_" + n, QVariant(z == 1 ? "n" : "j"))
              << qMakePair("brw_minimal_" + n, QVariant(100.0 * (z + 1)))
              << qMakePair("brw_durchschnitt_" + n, QVariant(0.0))
              << qMakePair("brw_maximal_" + n, QVariant(kNull))
              << qMakePair("brw_tatsaechlich_" + n, QVariant(12.5 + z))
              << qMakePair("bemerkung_" + n, QVariant("Zone " + n))
              << qMakePair(QString("est") + wort[z], QVariant(QDate(2002, 1, z + 1)))
              << qMakePair(QString("richtwerttyp") + wort[z], QVariant(typ[z]))
              << qMakePair(QString("quellenangabe") + wort[z], QVariant(QString("Quelle ") + wort[z]));
        }
        auto fuelle = [&] {
            legeOrt(db, "06412000", "60311", "Frankfurt am Main", 0, w);
            db.ausfuehren("update ortsnamen set wohn = 745.5, misch = 610.25, gewerbe = null");
            db.einfuegen("kreis", {{"kenn", "06412"}, {"kreis", "F"}, {"wohn", 1.0}, {"misch", 2.0}, {"gewerbe", 3.0}});
            db.einfuegen("regbez", {{"kenn", "064"}, {"regbez", "D"}, {"wohn", 4.0}, {"misch", 0.0}, {"gewerbe", 6.0}});
            db.einfuegen("bundeslaender", {{"kenn", "06"}, {"bundesland", "H"}, {"wohn", 7.0}, {"misch", 8.0},
                                           {"gewerbe", 9.0}});
        };
        TALU_DB_OK(fuelle());
        OrtAnzeige a;
        TALU_DB_OK(a = OrtDaten(db).lade("06412000"));
        const OrtBoxen& b = a.boxen;
        const QStringList nutzText{"Allgemeines Wohngebiet", "Mischgebiet", "Gewerbegebiet (prod. Gewerbe)"};
        const QStringList typText{"Zonenrichtwert", "Herangezogener Richtwert", "Listenrichtwert"};
        for (int z = 0; z < 3; ++z) {
            const int f = z + 2;
            QCOMPARE(b(f, 0), nutzText[z]);
            QCOMPARE(b(f, 1), QString(z == 1 ? "Rohbauland" : "Baureifes Land"));
            QCOMPARE(b(f, 2), QString(z == 1 ? "Geschlossene Bauweise" : "Offene Bauweise"));
            QCOMPARE(b(f, 3), "0," + QString::number(z + 5));
            QCOMPARE(b(f, 4), QString::number(z + 2));
            QCOMPARE(b(f, 5), tiefeText[z]);  // "### m": whole number, not grouped
            QCOMPARE(b(f, 6), flaecheText[z]);
            QCOMPARE(b(f, 7), QString(z == 1 ? "Nein" : "Ja"));
            QCOMPARE(b(f, 8), waehrung(100.0 * (z + 1)));
            QCOMPARE(b(f, 9), QString());   // 0
            QCOMPARE(b(f, 10), QString());  // Null
            QCOMPARE(b(f, 11), waehrung(12.5 + z));
            QCOMPARE(b(f, 12), "Zone " + QString::number(z + 1));
            QCOMPARE(b(f, 13), QString("0%1.01.2002").arg(z + 1));
            QCOMPARE(b(f, 14), typText[z]);
            QCOMPARE(b(f, 15), QString("Quelle ") + wort[z]);
        }
        // Averages: place, district, region, state; Null empty, 0 shown.
        QCOMPARE(b(13, 0), waehrung(745.5));
        QCOMPARE(b(13, 1), waehrung(610.25));
        QCOMPARE(b(13, 2), QString());
        QCOMPARE(b(13, 3), waehrung(1));
        QCOMPARE(b(13, 5), waehrung(3));
        QCOMPARE(b(13, 6), waehrung(4));
        QCOMPARE(b(13, 7), waehrung(0));
        QCOMPARE(b(13, 11), waehrung(9));
    }

    void regionaleSeiten_data() { test::backendZeilen(); }
    void regionaleSeiten() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        auto fuelle = [&] {
            legeOrt(db, "06533013", "35781", "Weilburg", 1);
            legeOrt(db, "06533014", "35789", "Weilmünster", 2);
            Werte s{{"nr_des_bauamtes", 7}, {"nr_der_ihk", kNull}, {"nr_des_katasteramtes", 8},
                    {"nr_des_landratamtes", 9}, {"nr_des_liegenschaftsamtes", 10}};
            vierTeile(s, "06", "5", "33", "013");
            db.einfuegen("stadt_und_gemeinde", s);
            db.einfuegen("bauamt", {{"nr_des_bauamtes", 7}, {"plz_und_ort", " 35781 Weilburg "},
                                    {"strasse_und_hausnr", "Mauerstr. 6"}, {"telefon", "06471 1"},
                                    {"telefax", kNull}, {"bemerkung", "  offen  "}});
            // A chamber exists but the municipality names none.
            db.einfuegen("ihk", {{"nr_der_ihk", 0}, {"plz_und_ort", "35390 Gießen"}});
            db.einfuegen("katasteramt", {{"nr_des_katasteramtes", 8}, {"plz_und_ort", "35781 Weilburg"},
                                         {"strasse_und_hausnr", "Am Amt 2"}});
            db.einfuegen("landratsamt", {{"nr_des_landratamtes", 9}, {"landratsamt", "Kreisverwaltung"},
                                         {"plz_und_ort", "35781 Weilburg"}, {"strasse_und_hausnr", "Schloss 1"},
                                         {"telefon", "1"}, {"telefax", "2"}, {"mail", " lra@example.org "}});
            // Office 10 does not exist: its boxes stay empty.
            Werte ag{{"id_amtsgericht", 3}};
            vierTeile(ag, "06", "5", "33", "013");
            db.einfuegen("amtsgerichte_orte", ag);
            db.einfuegen("amtsgerichte", {{"id_amtsgericht", 3}, {"amtsgericht", "AG Weilburg"},
                                          {"adresse", "Tel. 06471 2"}});
            Werte lg{{"id_landgericht", 4}};
            vierTeile(lg, "06", "5", "33", "013");
            db.einfuegen("landgerichte_orte", lg);
            db.einfuegen("landgericht", {{"id_landgericht", 4}, {"landgericht", "LG Limburg"}, {"adresse", "Tel. 3"}});
            Werte vg{{"id_verwaltungsgericht", 5}};
            vierTeile(vg, "06", "5", "33", "013");
            db.einfuegen("verwaltungsgerichte_orte", vg);
            db.einfuegen("verwaltungsgerichte", {{"id_verwaltungsgerichte", 5}, {"verwaltungsgerichte", "VG Gießen"},
                                                 {"adresse", "Marburger Str. 4"}, {"tel_nummer", " 0641 9 "}});
            db.einfuegen("arbeitsamt", {{"gemschl", "06533013"}, {"plz_arbeitsamt", "35781"},
                                        {"zust_arbeitsamt", "Limburg"}, {"geschaeftsstelle", "Weilburg"},
                                        {"dstnr", "12345"}});
            db.einfuegen("arbeitsamtadressen", {{"dstnr", "123.45"}, {"plz_geb", "65549"}, {"postfachadresse", "Postfach 1"},
                                                {"dienstgebäude", "Ste-Foy-Str. 23"}, {"vorwahl", "06431"},
                                                {"tel", "2090"}, {"fax", "209111"}});
            db.einfuegen("gemeindeadressen", {{"lsch", "06"}, {"rsch", "5"}, {"ksch", "33"}, {"gsch", "013"},
                                              {"plz", "35781"}, {"stadt_gemeinde", "Stadt Weilburg"},
                                              {"strasse_und_hausnr", "Mauerstr. 6"}, {"tel", "06471 3"},
                                              {"fax", "06471 4"}, {"mail", "info@weilburg.example"},
                                              {"bemerkung", "Rathaus"}});
            Werte hs{{"jahr", 2001}, {"hebesatz_für_gewerbe", 380}, {"grundsteuer_a", 290.5},
                     {"grundsteuer_b", 12500}, {"quellenangabe", "Landesamt"}};
            vierTeile(hs, "06", "5", "33", "013");
            db.einfuegen("hebesatz_gewerbe", hs);
            // Commuters: one row in order, one with region and district exchanged.
            Werte p1{{"einpendler_2000", 12500}, {"auspendler_2000", 800}, {"quellenangabe", "BA"}};
            vierTeile(p1, "06", "5", "33", "013");
            db.einfuegen("pendler", p1);
            Werte p2{{"einpendler_2000", 11}, {"auspendler_2000", 22}, {"quellenangabe", "nicht zeigen"}};
            vierTeile(p2, "06", "33", "5", "014");
            db.einfuegen("pendler", p2);
            Werte al{{"ueberschrift", " Oktober 2001 "}, {"bemerkung", "zivile Erwerbspersonen"},
                     {"arbeitslosenquote_10_2001", 9.8}, {"quellenangabe", "Arbeitsamt"}};
            vierTeile(al, "06", "5", "33", "013");
            db.einfuegen("arbeitslose", al);
            db.einfuegen("ortsinfo", {{"lsch", "06"}, {"rsch", "5"}, {"ksch", "33"}, {"gesch", "013"},
                                      {"naechste_stadt", "Limburg"}, {"entf_km_n_stadt", 22.5},
                                      {"bundesstr", "B 49"}, {"km_bundes", 0}, {"kindergarten", 7},
                                      {"waldfl_in_gemeinde", 1234}});

            // The neighbour: rows with one part of each joined text missing.
            Werte s2{{"nr_des_bauamtes", 11}, {"nr_der_ihk", 12}};
            vierTeile(s2, "06", "5", "33", "014");
            db.einfuegen("stadt_und_gemeinde", s2);
            db.einfuegen("bauamt", {{"nr_des_bauamtes", 11}, {"plz_und_ort", kNull}, {"strasse_und_hausnr", " Am Markt 1 "},
                                    {"telefon", "  "}, {"telefax", "06472 9"}});
            db.einfuegen("ihk", {{"nr_der_ihk", 12}, {"plz_und_ort", "65549 Limburg"}, {"strasse_und_hausnr", kNull},
                                 {"telefon", "06431 1"}, {"telefax", ""}});
            Werte vg2{{"id_verwaltungsgericht", 6}};
            vierTeile(vg2, "06", "5", "33", "014");
            db.einfuegen("verwaltungsgerichte_orte", vg2);
            db.einfuegen("verwaltungsgerichte", {{"id_verwaltungsgerichte", 6}, {"verwaltungsgerichte", "VG Wiesbaden"},
                                                 {"adresse", kNull}});
            db.einfuegen("arbeitsamt", {{"gemschl", "06533014"}, {"plz_arbeitsamt", kNull},
                                        {"zust_arbeitsamt", "Limburg"}, {"dstnr", "12399"}});
            db.einfuegen("arbeitsamtadressen", {{"dstnr", "123.99"}, {"plz_geb", "65549"}, {"postfachadresse", kNull},
                                                {"vorwahl", "06431"}, {"tel", kNull}, {"fax", kNull}});
            db.einfuegen("gemeindeadressen", {{"lsch", "06"}, {"rsch", "5"}, {"ksch", "33"}, {"gsch", "014"},
                                              {"plz", kNull}, {"stadt_gemeinde", "Gemeinde Weilmünster"},
                                              {"strasse_und_hausnr", kNull}, {"tel", "06472 1"}, {"fax", kNull}});
            Werte al2{{"ueberschrift", "Oktober 2001"}, {"arbeitslosenquote_10_2001", kNull}};
            vierTeile(al2, "06", "5", "33", "014");
            db.einfuegen("arbeitslose", al2);
            db.einfuegen("ortsinfo", {{"lsch", "06"}, {"rsch", "5"}, {"ksch", "33"}, {"gesch", "014"},
                                      {"naechste_stadt", "Weilburg"}, {"entf_km_n_stadt", kNull},
                                      {"bab", kNull}, {"km_bab", 12}});
        };
        TALU_DB_OK(fuelle());
        OrtAnzeige a;
        TALU_DB_OK(a = OrtDaten(db).lade("06533013"));
        const OrtBoxen& b = a.boxen;
        QCOMPARE(b(6, 0), QString("35781 Weilburg, Mauerstr. 6"));
        QCOMPARE(b(6, 1), QString("06471 1, "));  // no fax: the separator stays
        QCOMPARE(b(6, 2), QString("offen"));
        QCOMPARE(b(6, 3), QString());  // office 10 missing
        QCOMPARE(b(6, 6), QString("35781 Weilburg, Am Amt 2"));
        QCOMPARE(b(6, 7), QString(", "));  // no phone numbers at all
        QCOMPARE(b(7, 0), QString("Kreisverwaltung"));
        QCOMPARE(b(7, 1), QString("35781 Weilburg, Schloss 1"));
        QCOMPARE(b(7, 2), QString("1, 2"));
        QCOMPARE(b(7, 3), QString("lra@example.org"));
        QCOMPARE(b(7, 4), QString("35781 Stadt Weilburg, Mauerstr. 6"));
        QCOMPARE(b(7, 5), QString("06471 3 06471 4"));
        QCOMPARE(b(7, 6), QString("info@weilburg.example"));
        QCOMPARE(b(7, 7), QString("Rathaus"));
        QCOMPARE(b(9, 0), QString());  // empty chamber number
        QCOMPARE(b(9, 1), QString());
        QCOMPARE(b(8, 0), QString("AG Weilburg"));
        QCOMPARE(b(8, 1), QString("Tel. 06471 2"));
        QCOMPARE(b(8, 2), QString("LG Limburg"));
        QCOMPARE(b(8, 4), QString());  // no higher regional court assigned
        QCOMPARE(b(8, 6), QString("VG Gießen, Marburger Str. 4"));
        QCOMPARE(b(8, 7), QString("0641 9"));
        QCOMPARE(b(9, 2), QString("35781 Limburg"));
        QCOMPARE(b(9, 3), QString("Weilburg"));
        QCOMPARE(b(9, 4), QString("65549 Postfach 1"));  // dstnr 12345 -> 123.45
        QCOMPARE(b(9, 5), QString("Ste-Foy-Str. 23"));
        QCOMPARE(b(9, 6), QString("06431 2090 Fax: 209111"));
        QCOMPARE(b(10, 0), QString("12500"));  // the column's text, not grouped
        QCOMPARE(b(10, 1), QString("800"));
        QCOMPARE(b(10, 2), QString("2000"));
        QCOMPARE(b(10, 8), QString("BA"));
        QCOMPARE(b(10, 3), QString("380"));
        QCOMPARE(b(10, 4), QString("290,5"));
        QCOMPARE(b(10, 5), QString("12500"));
        QCOMPARE(b(10, 6), QString("2001"));
        QCOMPARE(b(10, 7), QString("Landesamt"));
        QCOMPARE(b(11, 0), QString("Oktober 2001"));
        QCOMPARE(b(11, 2), QString("9,8 % "));
        QCOMPARE(b(11, 3), QString("Arbeitsamt"));
        QCOMPARE(b(12, 0), QString("Limburg - 22,5 km"));
        QCOMPARE(b(12, 1), QString("B 49 - 0 km"));
        QCOMPARE(b(12, 2), QString(" -  km"));  // neither name nor distance
        QCOMPARE(b(12, 10), QString("7"));
        QCOMPARE(b(12, 14), QString("1234"));
        QVERIFY2(a.anweisungen <= 20, qPrintable(QString::number(a.anweisungen)));

        // The neighbour finds only the exchanged commuter row: numbers without source.
        TALU_DB_OK(a = OrtDaten(db).lade("06533014"));
        QCOMPARE(a.boxen(10, 0), QString("11"));
        QCOMPARE(a.boxen(10, 1), QString("22"));
        QCOMPARE(a.boxen(10, 8), QString());
        // Joined texts keep every separator when a part is empty.
        const OrtBoxen& n = a.boxen;
        QCOMPARE(n(6, 0), QString(", Am Markt 1"));
        QCOMPARE(n(6, 1), QString(", 06472 9"));
        QCOMPARE(n(6, 3), QString());  // no land office named: no row, no separator
        QCOMPARE(n(9, 0), QString("65549 Limburg, "));
        QCOMPARE(n(9, 1), QString("06431 1, "));
        QCOMPARE(n(8, 6), QString("VG Wiesbaden, "));
        QCOMPARE(n(9, 2), QString(" Limburg"));
        QCOMPARE(n(9, 4), QString("65549 "));
        QCOMPARE(n(9, 6), QString("06431  Fax: "));
        QCOMPARE(n(7, 4), QString(" Gemeinde Weilmünster, "));
        QCOMPARE(n(7, 5), QString("06472 1 "));
        QCOMPARE(n(11, 2), QString(" % "));
        QCOMPARE(n(12, 0), QString("Weilburg -  km"));
        QCOMPARE(n(12, 2), QString(" - 12 km"));
    }

    // A place without place data shows its ortsnamen values and empty zone pages.
    void demoOrtOhneOrtsdaten_data() { test::backendZeilen(); }
    void demoOrtOhneOrtsdaten() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, true);
        OrtAnzeige a;
        TALU_DB_OK(a = OrtDaten(db).lade("08315099"));
        QVERIFY(a.ortGefunden);
        QVERIFY(!a.ortsdatenVorhanden);
        QCOMPARE(a.boxen(1, 0), QString("79271"));
        QCOMPARE(a.boxen(1, 1), QString("St. Peter"));
        QCOMPARE(a.boxen(1, 10), QString("Gemeinde"));
        QCOMPARE(a.boxen(1, 2), QString("Breisgau-Hochschwarzwald"));
        QCOMPARE(a.boxen(1, 16), QString("Kein Gutachter eingetragen"));
        for (int f = 2; f <= 4; ++f)
            for (int i = 0; i < 16; ++i) QVERIFY(a.boxen(f, i).isEmpty());

        // Frankfurt in the demo: every page has something to show.
        TALU_DB_OK(a = OrtDaten(db).lade("06412000"));
        QVERIFY(a.ortsdatenVorhanden);
        for (int f = 1; f <= 13; ++f) {
            bool etwas = false;
            for (const QString& t : a.boxen.feld(f)) etwas = etwas || !t.isEmpty();
            QVERIFY2(etwas, qPrintable(QString("Seite text_%1 ist leer").arg(f)));
        }
        QCOMPARE(a.boxen(11, 2), QString("9,8 % "));
        QVERIFY2(a.anweisungen <= 20, qPrintable(QString::number(a.anweisungen)));
        // Gießen's commuters are stored exchanged and still found.
        TALU_DB_OK(a = OrtDaten(db).lade("06531005"));
        QVERIFY(!a.boxen(10, 0).isEmpty());
        QCOMPARE(a.boxen(10, 8), QString());
    }

    // One query-log row per lookup, only in the customer edition; a failed
    // insert is reported and leaves the lookup unbilled.
    void abrechnung_data() { test::backendZeilen(); }
    void abrechnung() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main", 0));
        DialogAufzeichnung dialoge;
        p.Ausgabe = 3;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        p.PcName = "PC1";
        p.PcBenutzer = "anna";
        p.DbBenutzer = "kunde";
        auto zeilen = [&] { return p.Verbindung.wert("select count(*) from abfrageprotokoll").toInt(); };

        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(f->box(1, 1)->text(), QString("Frankfurt am Main"));
        QCOMPARE(zeilen(), 1);
        QVERIFY(p.OrtAbgerechnet);
        Recordset rs;
        TALU_DB_OK(rs = p.Verbindung.abfrage("select * from abfrageprotokoll"));
        QCOMPARE(rs.text("vorgang"), QString("Ortsdaten"));
        QCOMPARE(rs.text("objekt"), QString("60311 Frankfurt am Main"));
        QCOMPARE(rs.zahl("preis"), 2.5);
        QCOMPARE(rs.text("gemeindeschluessel"), QString("06412000"));
        QVERIFY(rs.istNull("preis_gutachter"));
        QCOMPARE(rs.text("version"), versionsText());
        QVERIFY(f->box(1, 12)->isReadOnly());  // customer edition: nothing to type
        QVERIFY(!f->cmdSpeichern->isVisibleTo(f));
        formen::schliesseAlleKinder();

        // Opened a second time in the same lookup: no second row.
        QVERIFY(formen::zeige<frmStadtMaske>());
        QCOMPARE(zeilen(), 1);
        formen::schliesseAlleKinder();

        // A new lookup bills again; the internal edition never does.
        p.OrtAbgerechnet = false;
        p.Ausgabe = 1;
        QVERIFY(formen::zeige<frmStadtMaske>());
        QCOMPARE(zeilen(), 1);
        QVERIFY(!p.OrtAbgerechnet);
        formen::schliesseAlleKinder();

        // The log cannot be written: the operator is told, with the server's
        // text, the lookup stays unbilled, and the place data is not shown.
        p.Ausgabe = 3;
        TALU_DB_OK(p.Verbindung.ausfuehren("alter table abfrageprotokoll rename to abfrageprotokoll_weg"));
        dialoge.leeren();
        f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Kritisch);
        QVERIFY2(dialoge.meldungen[0].text.startsWith("Die Abfrage konnte nicht im Abfrageprotokoll vermerkt werden. "
                                                      "Die Ortsdaten werden deshalb nicht angezeigt.\n\n"),
                 qPrintable(dialoge.meldungen[0].text));
        QVERIFY2(dialoge.meldungen[0].text.contains("abfrageprotokoll", Qt::CaseSensitive),
                 qPrintable(dialoge.meldungen[0].text));
        QVERIFY(!p.OrtAbgerechnet);
        for (int feld = 1; feld <= 13; ++feld)
            for (int i = 0; i < OrtBoxen::anzahl(feld); ++i)
                if (feld != 10 || i != 2)  // the commuters' year is a fixed caption, not place data
                    QVERIFY2(f->box(feld, i)->text().isEmpty(),
                             qPrintable(QString("text_%1(%2): %3").arg(feld).arg(i).arg(f->box(feld, i)->text())));
        formen::schliesseAlleKinder();

        // Once the log can be written again, the same lookup is billed and shown.
        TALU_DB_OK(p.Verbindung.ausfuehren("alter table abfrageprotokoll_weg rename to abfrageprotokoll"));
        dialoge.leeren();
        f = formen::zeige<frmStadtMaske>();
        QVERIFY(dialoge.meldungen.isEmpty());
        QCOMPARE(f->box(1, 1)->text(), QString("Frankfurt am Main"));
        QCOMPARE(zeilen(), 2);
        QVERIFY(p.OrtAbgerechnet);
    }

    // The form in the internal edition: boxes 0-11 of a loaded place locked, 12-17 open.
    void sperrenUndKnoepfe_data() { test::backendZeilen(); }
    void sperrenUndKnoepfe() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main", 0));
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(f->SSTab1->count(), 13);
        QCOMPARE(f->SSTab1->tabText(12), QString("Durchsch."));
        QCOMPARE(f->windowTitle(), QString(" "));
        for (int i = 0; i <= 11; ++i) QVERIFY(f->box(1, i)->isReadOnly());
        for (int i = 12; i <= 17; ++i) QCOMPARE(f->box(1, i)->isReadOnly(), i == 16);
        QVERIFY(!f->box(2, 0)->isReadOnly());
        QVERIFY(f->box(6, 0)->isReadOnly());
        QVERIFY(f->cmdSpeichern->isVisibleTo(f) && f->cmdSpeichern->isEnabled());
        QVERIFY(f->cmdGutachter->isVisibleTo(f));
        QVERIFY(!f->cmdKreis->isVisibleTo(f));  // the district pick is for new places
        QCOMPARE(f->box(10, 2)->text(), QString("2000"));
        // Only the boxes of the page shown are in the tab order.
        f->SSTab1->setCurrentIndex(2);
        QCOMPARE(f->box(3, 5)->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(f->box(2, 5)->focusPolicy(), Qt::ClickFocus);
        QCOMPARE(f->box(1, 12)->focusPolicy(), Qt::ClickFocus);
        f->SSTab1->setCurrentIndex(0);
        QCOMPARE(f->box(1, 12)->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(p.StrassenPlz, QString("60311"));
        QCOMPARE(p.StrassenStadt, QString("Frankfurt am Main"));
    }
};

QTEST_MAIN(TestStadtMaske)
#include "tst_stadtmaske.moc"
