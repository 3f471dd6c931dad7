// Demo content of the place data and the regional reference tables: every
// demo place but one ("St. Peter", 08315099) has its place data with all three
// zones; the regional tables hold rows for the places' keys, with a few
// deliberate gaps (no chamber for Wetzlar, commuters of Gießen stored with
// region and district part exchanged, no regional rows at all for Mainz).
// Written by hand; builds on the places, districts and appraisers of the basis.
#include <QDate>
#include <QVariant>

#include "db/Datenbank.h"
#include "db/demo/DemoDaten.h"

namespace talu {

namespace {

const QVariant kNull;

struct Ort {
    const char* schluessel;
    const char* name;     // for the names of offices and facilities
    const char* plz;
    double einw1000;      // inhabitants 1980 in thousands
    QVariant einwohner;   // inhabitants 2001
    QVariant flaeche;     // km²
    const char* laenge;   // "DDMMSSss"
    const char* breite;
    int utmRechts, utmHoch;
    const char* gutachter;  // appraiser name, or nullptr for none
    double wohn;            // base land value of the residential zone
};

const Ort kOrte[] = {
    {"06412000", "Frankfurt am Main", "60311", 629.4, 641076, 248.31, "50065012", "08405400", 3476500, 5553400,
     "Gutachterausschuss Stadt Frankfurt am Main", 780},
    {"06411000", "Darmstadt", "64283", 137.0, 138457, 122.07, "49523100", "08393700", 3476800, 5526900, nullptr, 420},
    {"06414000", "Wiesbaden", "65183", 272.0, 270109, 203.87, "50044900", "08143800", 3446100, 5549200, nullptr, 510},
    {"06531005", "Gießen", "35390", 74.2, 73076, 72.56, "50350000", "08400000", 3476100, 5605500,
     "Gutachterausschuss Landkreis Gießen", 260},
    {"06534014", "Marburg", "35037", 76.3, 78511, 124.50, "50485000", "08460000", 3480300, 5629800, nullptr, 240},
    {"06532023", "Wetzlar", "35578", 51.4, 52955, 75.67, "50333000", "08302000", 3466200, 5602600, nullptr, 180},
    // Kassel points to an appraiser that no longer exists (id 999999).
    {"06611000", "Kassel", "34117", 191.3, 194748, 106.78, "51190000", "09300000", 3534300, 5684600, "-", 230},
    {"07315000", "Mainz", "55116", 186.0, 185532, 97.75, "49595000", "08163000", 3448400, 5536900, nullptr, 450},
    {"03241001", "Hannover", "30159", 534.6, 516160, 204.14, "52224300", "09435100", 3550800, 5805500, nullptr, 330},
    {"03101000", "Braunschweig", "38100", 262.0, 245516, 192.13, "52161000", "10312000", 3604100, 5792400, nullptr,
     210},
    {"03159016", "Göttingen", "37073", 130.0, 122364, 116.89, "51320000", "09560000", 3564100, 5708500, nullptr, 200},
    {"03153017", "Goslar", "38640", 52.0, 43300, 92.58, "51543000", "10253000", 3602100, 5753700,
     "Gutachterausschuss Stadt Goslar", 120},
    {"03452001", "Aurich", "26603", 35.0, 40500, 197.21, "53280000", "07290000", 2613600, 5927700, nullptr, 95},
    {"03355022", "Lüneburg", "21335", 61.0, 68600, 70.34, "53150000", "10240000", 3592400, 5902300, nullptr, 190},
    {"03404000", "Osnabrück", "49074", 158.0, 164200, 119.80, "52163000", "08025000", 3435100, 5793100, nullptr, 220},
    {"05111000", "Düsseldorf", "40213", 590.5, 570765, 217.41, "51135000", "06464000", 3344000, 5679800, nullptr,
     690},
    {"05315000", "Köln", "50667", 976.1, 967940, 405.15, "50562000", "06570000", 3356400, 5645700, nullptr, 640},
    {"05515000", "Münster", "48143", 267.4, 267197, 302.91, "51574000", "07373000", 3405300, 5759300, nullptr, 380},
    {"08111000", "Stuttgart", "70173", 580.6, 587152, 207.36, "48464000", "09105000", 3513300, 5404700, nullptr, 890},
    {"08212000", "Karlsruhe", "76133", 271.4, 279578, 173.46, "49003000", "08242000", 3456400, 5429800, nullptr, 520},
    {"08311000", "Freiburg im Breisgau", "79098", 175.4, 208294, 153.07, "47595000", "07510000", 3413900,
     5318300, nullptr, 610},
    {"08315074", "Müllheim", "79379", 15.0, 18000, 57.91, "47482000", "07378000", 3397400, 5296700, nullptr, 210},
    {"08435059", "Überlingen", "88662", 19.1, 21200, 58.62, "47460000", "09095000", 3511500, 5293200,
     "Gutachterausschuss Stadt Überlingen", 340},
    {"08435016", "Friedrichshafen", "88045", 51.3, 57500, 69.91, "47393000", "09284000", 3535200, 5279700,
     "Gutachterausschuss Bodenseekreis", 300},
    {"08326074", "Villingen-Schwenningen", "78050", 76.0, 81400, 165.49, "48035000", "08274000", 3460400, 5322400,
     nullptr, 190},
    {"09162000", "München", "80331", 1299.7, 1227958, 310.43, "48082000", "11345000", 4691700, 5334800, nullptr,
     1250},
    {"09562000", "Erlangen", "91052", 100.7, 101450, 76.96, "49360000", "11003000", 4427400, 5494200, nullptr, 360},
    {"09563000", "Fürth", "90762", 101.6, 110477, 63.35, "49283000", "10590000", 4424300, 5481400,
     "Gutachterausschuss Stadt Fürth", 330},
    {"09564000", "Nürnberg", "90402", 484.4, 490000, 186.38, "49273000", "11046000", 4432100, 5478600, nullptr, 450},
    {"09663000", "Würzburg", "97070", 128.0, 128000, 87.63, "49474000", "09555000", 3566600, 5513900, nullptr, 350},
    {"12054000", "Potsdam", "14467", 132.0, 130400, 187.53, "52240000", "13040000", 3367800, 5807700, nullptr, 310},
    {"12052000", "Cottbus", "03046", 116.0, 108500, 165.15, "51454000", "14200000", 3454600, 5734400, nullptr, 90},
    {"12053000", "Frankfurt (Oder)", "15230", 81.0, 68900, 147.85, "52204000", "14330000", 3475700, 5801200, nullptr,
     70},
    {"14612000", "Dresden", "01067", 520.0, 478600, 328.31, "51030000", "13440000", 3411300, 5656300, nullptr, 260},
    // Görlitz without inhabitants 2001, area and coordinates: the boxes stay empty.
    {"14626110", "Görlitz", "02826", 77.0, kNull, kNull, nullptr, "14590000", 0, 0,
     "Gutachterausschuss Görlitz", 70},
    {"14713000", "Leipzig", "04109", 558.0, 493200, 297.36, "51202000", "12223000", 3316300, 5690500, nullptr, 240},
};

const char* const kNutzung[3][3] = {{"wa", "wr", "ws"}, {"mi", "md", "mk"}, {"ge 1", "gi", "gei"}};
const char* const kWort[3] = {"wohn", "misch", "gewerbe"};

class Demo {
public:
    explicit Demo(const Datenbank& db) : m_db(db) {}

    void ortsdaten() {
        int i = 0;
        for (const Ort& o : kOrte) {
            const QString s = QString::fromLatin1(o.schluessel);
            const QVariant ortId = m_db.wert(
                m_db.dialekt().begrenze("select id from ortsnamen where gemeindeschluessel = ? order by typ, ort", 1),
                {s});
            QVariant gutachterId{QMetaType::fromType<qlonglong>()};
            if (o.gutachter && QByteArray(o.gutachter) == "-") {
                gutachterId = qlonglong(999999);
            } else if (o.gutachter) {
                gutachterId = m_db.wert("select id from gutachter where name = ?", {QString::fromUtf8(o.gutachter)});
            }
            Werte w{{"ortsdaten_p_id", ortId},
                    {"gemeindeschluessel", s},
                    {"id_gutachter", gutachterId},
                    {"einw1000", o.einw1000},
                    {"einwohnerzahl", o.einwohner},
                    {"laenge", o.laenge ? QVariant(QString::fromLatin1(o.laenge)) : kNull},
                    {"breite", QString::fromLatin1(o.breite)},
                    {"utmrechts", o.utmRechts ? QVariant(o.utmRechts) : kNull},
                    {"utmhoch", o.utmHoch ? QVariant(o.utmHoch) : kNull},
                    {"flaeche", o.flaeche},
                    {"bemerkung", i % 3 == 0 ? QVariant("Angaben der Gemeindeverwaltung, Stand 2001") : kNull},
                    {"gruenland", 1.5 + (i % 4) * 0.25},
                    {"ackerland", 2.0 + (i % 5) * 0.5},
                    {"forstland", i % 6 == 0 ? 0.0 : 0.8 + (i % 3) * 0.1},
                    {"est", QDate(2001, 12, 31)}};
            for (int z = 0; z < 3; ++z) {
                const QString n = QString::number(z + 1);
                const double basis = o.wohn * (z == 0 ? 1.0 : z == 1 ? 0.8 : 0.45);
                w << qMakePair("bauliche_nutzung_" + n, QVariant(kNutzung[z][i % 3]))
                  << qMakePair("entwicklungszustand_" + n, QVariant(z == 2 && i % 4 == 1 ? "r" : "b"))
                  << qMakePair("bauweise_" + n, QVariant(z == 1 ? "g" : "o"))
                  << qMakePair("geschossflaechenzahl_" + n, QVariant(z == 0 ? "0,8" : z == 1 ? "1,2" : "2,0"))
                  << qMakePair("anzahl_der_geschosse_" + n, QVariant(z == 0 ? "II" : z == 1 ? "III" : "IV"))
                  << qMakePair("grundstueckstiefe_" + n, QVariant(QString::number(25 + 5 * z + i % 10)))
                  << qMakePair("grundstuecksflaeche_" + n, QVariant(QString::number(500 + 350 * z + 25 * (i % 8))))
                  << qMakePair("beitragspflichtig_" + n, QVariant(z == 1 ? "n" : "j"))
                  << qMakePair("brw_minimal_" + n, QVariant(basis * 0.7))
                  << qMakePair("brw_durchschnitt_" + n, QVariant(basis))
                  << qMakePair("brw_maximal_" + n, QVariant(basis * 1.4))
                  << qMakePair("brw_tatsaechlich_" + n, QVariant(i % 5 == 2 ? 0.0 : basis * 1.05))
                  << qMakePair("bemerkung_" + n, QVariant(z == 0 ? "Erschließungsbeitragsfrei" : "Lagewert"))
                  << qMakePair(QString("est") + kWort[z], QVariant(QDate(2002, 1, 1)))
                  << qMakePair(QString("richtwerttyp") + kWort[z], QVariant(z == 2 ? "h" : "z"))
                  << qMakePair(QString("quellenangabe") + kWort[z],
                               QVariant("Gutachterausschuss, Bodenrichtwertkarte 2002"));
            }
            m_db.einfuegen("ortsdaten", w);
            ++i;
        }
    }

    // Averages as the averages tool would have stored them, for a few regions.
    void durchschnitte() {
        auto setze = [&](const QString& tabelle, const QString& spalte, const QString& kenn, double wohn,
                         double misch, double gewerbe) {
            m_db.ausfuehren("update " + tabelle + " set wohn = ?, misch = ?, gewerbe = ? where " + spalte + " = ?",
                            {wohn, misch, gewerbe, kenn});
        };
        setze("ortsnamen", "gemeindeschluessel", "06412000", 745.5, 610.25, 355.0);
        setze("ortsnamen", "gemeindeschluessel", "06531005", 255.0, 210.0, 95.5);
        setze("kreis", "kenn", "06412", 745.5, 610.25, 355.0);
        setze("kreis", "kenn", "06531", 180.0, 150.0, 70.0);
        setze("regbez", "kenn", "064", 520.0, 430.0, 210.0);
        setze("regbez", "kenn", "065", 165.0, 140.0, 65.0);
        setze("bundeslaender", "kenn", "06", 310.0, 260.0, 120.0);
    }

    void regionaleTabellen() {
        int i = 0;
        for (const Ort& o : kOrte) {
            const QString s = QString::fromLatin1(o.schluessel);
            if (s == "07315000") {  // Mainz: no regional rows
                ++i;
                continue;
            }
            const QString name = QString::fromUtf8(o.name);
            const QString plz = QString::fromLatin1(o.plz);
            const QString l = s.mid(0, 2), r = s.mid(2, 1), k = s.mid(3, 2), g = s.mid(5, 3);
            const int nr = i + 1;
            const QString vorwahl = "0" + plz.left(3);

            // Offices, one of each per place; Wetzlar has no chamber assigned.
            const bool ohneIhk = s == "06532023";
            m_db.einfuegen("stadt_und_gemeinde",
                           {{"landsch", l}, {"rbsch", r}, {"kreissch", k}, {"gemeindesch", g}, {"stadt_gemeinde", name},
                            {"nr_des_bauamtes", nr}, {"nr_der_ihk", ohneIhk ? kNull : QVariant(100 + nr)},
                            {"nr_des_katasteramtes", 200 + nr}, {"nr_des_landratamtes", 300 + nr},
                            {"nr_des_liegenschaftsamtes", 400 + nr}});
            auto amt = [&](const QString& tabelle, const QString& nrSpalte, int nummer, const QString& strasse,
                           const QString& tel, bool mitBemerkung) {
                Werte w{{nrSpalte, nummer},
                        {"plz_und_ort", plz + " " + name},
                        {"strasse_und_hausnr", strasse},
                        {"telefon", vorwahl + " " + tel},
                        {"telefax", vorwahl + " " + tel + "9"}};
                if (mitBemerkung) w << qMakePair(QString("bemerkung"), QVariant("Sprechzeiten Mo-Fr 8-12 Uhr"));
                m_db.einfuegen(tabelle, w);
            };
            amt("bauamt", "nr_des_bauamtes", nr, "Rathausplatz 1", "1001", true);
            amt("liegenschaftsamt", "nr_des_liegenschaftsamtes", 400 + nr, "Rathausplatz 3", "1003", true);
            amt("katasteramt", "nr_des_katasteramtes", 200 + nr, "Vermessungsweg 7", "2007", true);
            m_db.einfuegen("landratsamt", {{"nr_des_landratamtes", 300 + nr},
                                           {"landratsamt", "Kreisverwaltung " + name},
                                           {"plz_und_ort", plz + " " + name},
                                           {"strasse_und_hausnr", "Kreishausstr. 2"},
                                           {"telefon", vorwahl + " 3000"},
                                           {"telefax", vorwahl + " 3009"},
                                           {"mail", "poststelle@kreis-" + plz + ".example.org"}});
            m_db.einfuegen("ihk", {{"nr_der_ihk", 100 + nr},
                                   {"ihk", "IHK " + name},
                                   {"plz_und_ort", plz + " " + name},
                                   {"strasse_und_hausnr", "Börsenplatz 4"},
                                   {"telefon", vorwahl + " 4000"},
                                   {"telefax", vorwahl + " 4009"}});

            // Courts.
            auto gericht = [&](const QString& zuordnung, const QString& idOrt, const QString& tabelle,
                               const QString& idGericht, const QString& spalte, const QString& art, int nummer) {
                m_db.einfuegen(zuordnung, {{"landsch", l}, {"rbsch", r}, {"kreissch", k}, {"gemeindesch", g},
                                           {idOrt, nummer}});
                m_db.einfuegen(tabelle, {{idGericht, nummer},
                                         {spalte, art + " " + name},
                                         {"adresse", "Tel. " + vorwahl + " 5" + QString::number(nummer) +
                                                         ", Fax " + vorwahl + " 59"}});
            };
            gericht("amtsgerichte_orte", "id_amtsgericht", "amtsgerichte", "id_amtsgericht", "amtsgericht",
                    "Amtsgericht", 500 + nr);
            gericht("landgerichte_orte", "id_landgericht", "landgericht", "id_landgericht", "landgericht",
                    "Landgericht", 600 + nr);
            gericht("oberlandgerichte_orte", "id_oberlandgericht", "oberlandgerichte", "id_oberlandgericht",
                    "oberlandgericht", "Oberlandesgericht", 700 + nr);
            m_db.einfuegen("verwaltungsgerichte_orte", {{"landsch", l}, {"rbsch", r}, {"kreissch", k},
                                                        {"gemeindesch", g}, {"id_verwaltungsgericht", 800 + nr}});
            m_db.einfuegen("verwaltungsgerichte", {{"id_verwaltungsgerichte", 800 + nr},
                                                   {"verwaltungsgerichte", "Verwaltungsgericht " + name},
                                                   {"adresse", "Justizplatz " + QString::number(1 + i % 9)},
                                                   {"tel_nummer", vorwahl + " 8000"}});

            // Labour office: "12345" is the office "123.45".
            const QString dst = QString::number(10000 + 111 * nr);
            m_db.einfuegen("arbeitsamt", {{"gemschl", s},
                                          {"plz_arbeitsamt", plz},
                                          {"zust_arbeitsamt", "Arbeitsamt " + name},
                                          {"geschaeftsstelle", "Geschäftsstelle " + name + "-Mitte"},
                                          {"dstnr", dst}});
            m_db.einfuegen("arbeitsamtadressen", {{"dstnr", dst.left(3) + "." + dst.right(2)},
                                                  {"plz_geb", plz},
                                                  {"postfachadresse", "Postfach " + QString::number(1000 + nr)},
                                                  {"dienstgebäude", "Agenturstr. " + QString::number(nr)},
                                                  {"vorwahl", vorwahl},
                                                  {"tel", "6000"},
                                                  {"fax", "6009"}});

            m_db.einfuegen("gemeindeadressen", {{"lsch", l}, {"rsch", r}, {"ksch", k}, {"gsch", g},
                                                {"plz", plz}, {"stadt_gemeinde", "Stadtverwaltung " + name},
                                                {"strasse_und_hausnr", "Rathausplatz 1"},
                                                {"tel", vorwahl + " 1000"}, {"fax", vorwahl + " 1009"},
                                                {"mail", "rathaus@" + plz + ".example.org"},
                                                {"bemerkung", "Bürgerbüro auch samstags geöffnet"}});
            m_db.einfuegen("hebesatz_gewerbe", {{"landsch", l}, {"rbsch", r}, {"kreissch", k}, {"gemeindesch", g},
                                                {"jahr", 2001},
                                                {"hebesatz_für_gewerbe", 360 + 10 * (i % 10)},
                                                {"grundsteuer_a", 280 + 5 * (i % 7)},
                                                {"grundsteuer_b", 400 + 10 * (i % 8)},
                                                {"quellenangabe", "Statistisches Landesamt"}});
            // Gießen's commuters are stored with region and district part exchanged.
            const bool getauscht = s == "06531005";
            m_db.einfuegen("pendler", {{"landsch", l},
                                       {"rbsch", getauscht ? k : r},
                                       {"kreissch", getauscht ? r : k},
                                       {"gemeindesch", g},
                                       {"einpendler_2000", 1500 + 997 * nr},
                                       {"auspendler_2000", 1200 + 613 * nr},
                                       {"quellenangabe", "Bundesanstalt für Arbeit"}});
            m_db.einfuegen("arbeitslose", {{"landsch", l}, {"rbsch", r}, {"kreissch", k}, {"gemeindesch", g},
                                           {"ueberschrift", "Arbeitslose im Oktober 2001"},
                                           {"bemerkung", "Quote bezogen auf alle zivilen Erwerbspersonen"},
                                           {"arbeitslosenquote_10_2001", s == "06412000" ? 9.8 : 5.5 + (i % 9) * 0.7},
                                           {"quellenangabe", "Arbeitsamt " + name}});
            m_db.einfuegen("ortsinfo", {{"lsch", l}, {"rsch", r}, {"ksch", k}, {"gesch", g},
                                        {"naechste_stadt", name},
                                        {"entf_km_n_stadt", 0},
                                        {"bundesstr", "B " + QString::number(3 + i)},
                                        {"km_bundes", 1.5 + i % 4},
                                        {"bab", "A " + QString::number(5 + i % 7)},
                                        {"km_bab", 4 + i % 9},
                                        {"bahnh", name + " Hbf"},
                                        {"km_bahnh", 1.2},
                                        {"ice_bahnh", name + " Hbf"},
                                        {"km_ice", 2 + i % 30},
                                        {"flugh", "Frankfurt am Main"},
                                        {"km_flugh", 12 + 7 * i},
                                        {"naechste_krankenh", "Klinikum " + name},
                                        {"km_entf_krankenh", 2.5},
                                        {"naechstes_altersheim", "Seniorenheim am Park"},
                                        {"entf_altersheim", 1.8},
                                        {"hallen_freibad", "Stadtbad " + name},
                                        {"entf_hallen_freib", 3.1},
                                        {"naechste_senior_gerechte_wohnanl", "Wohnanlage Lindenhof"},
                                        {"entf_gerecht_wohna", 2.2},
                                        {"kindergarten", 12 + i},
                                        {"schule", 6 + i % 11},
                                        {"gewerbe_an", 850 + 31 * i},
                                        {"gewerbe_ab", 640 + 27 * i},
                                        {"waldfl_in_gemeinde", 1234 + 50 * i}});
            ++i;
        }
    }

private:
    const Datenbank& m_db;
};

}  // namespace

void demoDatenOrt(const Datenbank& db) {
    Demo d(db);
    d.ortsdaten();
    d.durchschnitte();
    d.regionaleTabellen();
}

}  // namespace talu
