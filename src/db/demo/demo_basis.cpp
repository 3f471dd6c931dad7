// Demo content of the core tables: states, regions, districts, places with
// their prices, plots with land values, appraisers, customers, users, the
// access log, the query log with two earlier invoices, and small samples of
// the import staging tables. Written by hand; keys and postcodes are real.
#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

#include "db/Datenbank.h"
#include "db/demo/DemoDaten.h"

namespace talu {

namespace {

const QVariant kNull;  // a Null column value

struct Land {
    const char* kenn;
    const char* name;
};

struct Bezirk {
    const char* kenn;
    const char* name;
};

struct Kreis {
    const char* kenn;
    const char* name;
};

struct Ort {
    const char* ort;
    const char* plz;
    const char* schluessel;
    int typ;
    QVariant preis;             // Null, 0 or an amount
    QVariant preisGutachter;
    bool marktpreise;           // prices of the market overview categories
};

const Land kLaender[] = {
    {"03", "Niedersachsen"},
    {"05", "Nordrhein-Westfalen"},
    {"06", "Hessen"},
    {"07", "Rheinland-Pfalz"},
    {"08", "Baden-Württemberg"},
    {"09", "Bayern"},
    {"12", "Brandenburg"},
    {"14", "Sachsen"},
};

const Bezirk kBezirke[] = {
    {"031", "Braunschweig"},   {"032", "Hannover"},          {"033", "Lüneburg"},
    {"034", "Weser-Ems"},      {"051", "Düsseldorf"},        {"053", "Köln"},
    {"055", "Münster"},        {"064", "Darmstadt"},         {"065", "Gießen"},
    {"066", "Kassel"},         {"073", "Rheinhessen-Pfalz"}, {"081", "Stuttgart"},
    {"082", "Karlsruhe"},      {"083", "Freiburg"},          {"084", "Tübingen"},
    {"091", "Oberbayern"},     {"095", "Mittelfranken"},     {"096", "Unterfranken"},
    {"120", "Brandenburg"},    {"146", "Dresden"},           {"147", "Leipzig"},
};

const Kreis kKreise[] = {
    {"03101", "Braunschweig"},
    {"03153", "Goslar"},
    {"03159", "Göttingen"},
    {"03241", "Region Hannover"},
    {"03355", "Lüneburg"},
    {"03404", "Osnabrück"},
    {"03452", "Aurich"},
    {"05111", "Düsseldorf"},
    {"05315", "Köln"},
    {"05515", "Münster"},
    {"06411", "Darmstadt"},
    {"06412", "Frankfurt am Main"},
    {"06414", "Wiesbaden"},
    {"06531", "Gießen"},
    {"06532", "Lahn-Dill-Kreis"},
    {"06534", "Marburg-Biedenkopf"},
    {"06611", "Kassel"},
    {"07315", "Mainz"},
    {"08111", "Stuttgart"},
    {"08212", "Karlsruhe"},
    {"08311", "Freiburg im Breisgau"},
    {"08315", "Breisgau-Hochschwarzwald"},
    {"08326", "Schwarzwald-Baar-Kreis"},
    {"08435", "Bodenseekreis"},
    {"09162", "München"},
    {"09562", "Erlangen"},
    {"09563", "Fürth"},
    {"09564", "Nürnberg"},
    {"09663", "Würzburg"},
    {"12052", "Cottbus"},
    {"12053", "Frankfurt (Oder)"},
    {"12054", "Potsdam"},
    {"14612", "Dresden"},
    {"14626", "Görlitz"},
    {"14713", "Leipzig"},
};

// Place types: 0 kreisfreie Stadt, 1 Stadt, 2 Gemeinde, 3 eingemeindet (not searchable).
const Ort kOrte[] = {
    {"Frankfurt am Main", "60311", "06412000", 0, 25.0, 10.0, true},
    {"Frankfurt am Main", "60594", "06412000", 0, 25.0, 10.0, true},
    {"Frankfurt-Höchst", "65929", "06412000", 3, 25.0, 10.0, false},
    {"Frankfurt (Oder)", "15230", "12053000", 0, 10.0, 4.0, false},
    {"Darmstadt", "64283", "06411000", 0, 15.0, 6.0, true},
    {"Wiesbaden", "65183", "06414000", 0, 15.0, 6.0, false},
    {"Gießen", "35390", "06531005", 1, 12.5, 5.0, true},
    {"Gießen-Kleinlinden", "35398", "06531005", 3, 12.5, 5.0, false},
    {"Marburg", "35037", "06534014", 1, 12.5, 5.0, false},
    {"Wetzlar", "35578", "06532023", 1, 12.5, 5.0, false},
    {"Kassel", "34117", "06611000", 0, 0.0, 0.0, false},
    {"Mainz", "55116", "07315000", 0, kNull, kNull, false},
    {"Hannover", "30159", "03241001", 1, 20.0, 8.0, true},
    {"Braunschweig", "38100", "03101000", 0, 15.0, 6.0, false},
    {"Göttingen", "37073", "03159016", 1, 12.5, 5.0, false},
    {"Goslar", "38640", "03153017", 1, 10.0, 4.0, false},
    {"Aurich", "26603", "03452001", 1, 10.0, 4.0, false},
    {"Lüneburg", "21335", "03355022", 1, 12.5, 5.0, false},
    {"Osnabrück", "49074", "03404000", 0, 15.0, 6.0, false},
    {"Düsseldorf", "40213", "05111000", 0, 20.0, 8.0, true},
    {"Köln", "50667", "05315000", 0, 20.0, 8.0, true},
    {"Münster", "48143", "05515000", 0, 15.0, 6.0, false},
    {"Stuttgart", "70173", "08111000", 0, 20.0, 8.0, true},
    {"Karlsruhe", "76133", "08212000", 0, 15.0, 6.0, false},
    {"Freiburg im Breisgau", "79098", "08311000", 0, 15.0, 6.0, true},
    {"Müllheim", "79379", "08315074", 1, 12.5, 5.0, false},
    {"St. Peter", "79271", "08315099", 2, 7.5, 3.0, false},
    {"Überlingen", "88662", "08435059", 1, 12.5, 5.0, true},
    {"Friedrichshafen", "88045", "08435016", 1, 12.5, 5.0, false},
    {"Villingen-Schwenningen, Große Kreisstadt", "78050", "08326074", 1, 12.5, 5.0, false},
    {"München", "80331", "09162000", 0, 30.0, 12.0, true},
    {"Erlangen", "91052", "09562000", 0, 15.0, 6.0, false},
    {"Fürth", "90762", "09563000", 0, 12.5, 5.0, true},
    {"Nürnberg", "90402", "09564000", 0, 20.0, 8.0, false},
    {"Würzburg", "97070", "09663000", 0, 15.0, 6.0, false},
    {"Potsdam", "14467", "12054000", 0, 15.0, 6.0, false},
    {"Cottbus", "03046", "12052000", 0, 10.0, 4.0, false},
    {"Dresden", "01067", "14612000", 0, 15.0, 6.0, true},
    {"Görlitz", "02826", "14626110", 1, 10.0, 4.0, false},
    {"Leipzig", "04109", "14713000", 0, 15.0, 6.0, true},
};

// The fourteen market category price columns with the demo prices.
const QPair<const char*, double> kMarktpreise[] = {
    {"preis_kp_dhh", 15.0}, {"preis_kp_efh", 15.0},    {"preis_kp_rh", 15.0},
    {"preis_kp_mfh", 20.0}, {"preis_kp_etw", 15.0},    {"preis_mw_wohn", 10.0},
    {"preis_mw_gewerbe", 10.0}, {"preis_bpi", 7.5},    {"preis_si", 7.5},
    {"preis_uk", 5.0},      {"preis_fu", 5.0},         {"preis_gu", 5.0},
    {"preis_adv", 12.5},    {"preis_lz", 5.0},
};

// Code vocabularies of the plot attributes; the demo cycles through every code.
const char* const kNutzung[] = {"wa", "wr", "w", "ws", "wb", "md", "mi", "mk", "gg",
                                "ge 1", "ge 2", "gi", "gei", "s", "soe", "sol", "geb"};
const char* const kBauweise[] = {"o", "g", "a"};
const char* const kZustand[] = {"b", "r", "e"};
const char* const kJaNein[] = {"j", "n"};
const char* const kAnfangEnde[] = {"aw", "ew", "ka"};
const char* const kRichtwerttyp[] = {"z", "h", "l"};

template <typename T, size_t N>
constexpr int anzahlVon(const T (&)[N]) {
    return int(N);
}

// The leading number of a house number ("12a" -> 12).
double fuehrendeZahl(const QString& hausnummer) {
    static const QRegularExpression re("^\\s*(\\d+(\\.\\d+)?)");
    const auto m = re.match(hausnummer);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

// One street of demo plots.
struct Strasse {
    const char* schluessel;
    const char* name;
    QStringList hausnummern;
    const char* ortsteil;     // nullptr = no part of town
    double richtwert;         // typical land value in euro per square metre
    bool strassenEintrag;     // add the street record "9999"
};

QStringList nummern(int von, int bis) {
    QStringList l;
    for (int i = von; i <= bis; ++i) l << QString::number(i);
    return l;
}

class Demo {
public:
    explicit Demo(const Datenbank& db) : m_db(db) {}

    void regionen() {
        for (const Land& l : kLaender)
            m_db.einfuegen("bundeslaender", {{"kenn", l.kenn}, {"bundesland", QString::fromUtf8(l.name)}});
        for (const Bezirk& b : kBezirke)
            m_db.einfuegen("regbez", {{"kenn", b.kenn}, {"regbez", QString::fromUtf8(b.name)}});
        // kreise feeds the district search, kreis the district mask: the search
        // hands its id to the mask, so both get the districts in the same order.
        for (const Kreis& k : kKreise) {
            const QString name = QString::fromUtf8(k.name);
            const qint64 idKreis = m_db.einfuegen(
                "kreis", {{"kenn", k.kenn}, {"kreis", name}, {"gemeindeschluessel", k.kenn}});
            const qint64 idKreise = m_db.einfuegen("kreise", {{"kreis", name}, {"kenn", k.kenn}});
            if (idKreis != idKreise)
                throw DbFehler("Demodaten", "Die Kreis-Nummern von kreis und kreise laufen auseinander.");
        }
    }

    void orte() {
        for (const Ort& o : kOrte) {
            Werte w = {
                {"ort", QString::fromUtf8(o.ort)},
                {"plzneu", o.plz},
                {"gemeindeschluessel", o.schluessel},
                {"typ", o.typ},
                {"kenn", QString(o.schluessel).left(5)},
                {"preis", o.preis},
                {"preis_gutachter_bodenwert", o.preisGutachter},
            };
            for (const auto& p : kMarktpreise)
                w.append({p.first, o.marktpreise ? QVariant(p.second) : kNull});
            const qint64 id = m_db.einfuegen("ortsnamen", w);
            // The first row of a key is the place that new plots belong to.
            if (!m_ortId.contains(o.schluessel)) m_ortId.insert(o.schluessel, id);
        }
    }

    void grundstuecke() {
        const Strasse strassen[] = {
            // Frankfurt: a long street through two parts of town, with a street record.
            {"06412000", "Mainzer Landstraße", nummern(1, 36) << "12a" << "12b" << "50-52", "Gallus", 2400, true},
            {"06412000", "Mainzer Landstraße", nummern(37, 44), "Westend-Süd", 3800, false},
            {"06412000", "Zeil", nummern(1, 12), "Innenstadt", 9500, true},
            {"06412000", "Berger Straße", nummern(1, 30) << "7a", "Bornheim", 1900, true},
            {"06412000", "Mainzer Straße", nummern(1, 4), "Höchst", 650, false},
            {"06611000", "Am Königsplatz", nummern(1, 14), "Mitte", 1200, true},
            {"06611000", "Am Königsplatz-Nord", nummern(1, 3), "Mitte", 900, false},
            {"06611000", "Königsstraße", nummern(1, 10), "Mitte", 1100, false},
            {"06531005", "Seltersweg", nummern(1, 20), nullptr, 520, true},
            {"06531005", "Frankfurter Straße", nummern(100, 112), "Kleinlinden", 310, false},
            {"08435059", "Münsterstraße", nummern(1, 18), nullptr, 640, true},
            {"08435059", "Christophstraße", nummern(1, 6), nullptr, 560, false},
            {"14626110", "Berliner Straße", nummern(1, 31), "Innenstadt", 180, true},
            {"14626110", "Straßburgplatz", nummern(1, 4), "Innenstadt", 160, false},
            {"09563000", "Königstraße", nummern(1, 16) << "3a", "Altstadt", 690, true},
            {"08315074", "Werderstraße", nummern(1, 12), nullptr, 290, false},
            {"08315099", "Klosterhof", nummern(1, 5), nullptr, 150, true},
            {"03452001", "Marktplatz", nummern(1, 8), nullptr, 140, true},
            {"03159016", "Weender Straße", nummern(1, 10), "Innenstadt", 900, false},
            {"03153017", "Marktstraße", nummern(1, 6), "Altstadt", 260, false},
            {"05315000", "Hohe Straße", nummern(1, 8), "Altstadt-Nord", 6500, false},
            {"14612000", "Prager Straße", nummern(1, 6), "Seevorstadt", 1800, false},
            {"14713000", "Grimmaische Straße", nummern(1, 6), "Zentrum", 2100, false},
            {"12054000", "Brandenburger Straße", nummern(1, 6), "Innenstadt", 950, false},
            {"09162000", "Kaufingerstraße", nummern(1, 6), "Altstadt", 15000, false},
        };
        int n = 0;
        for (const Strasse& s : strassen) {
            QStringList hausnummern = s.hausnummern;
            if (s.strassenEintrag) hausnummern << "9999";
            for (const QString& nr : hausnummern) plot(s, nr, n++);
        }
        // Two plots entered twice in a municipality beginning with 03, as the
        // duplicate search of the clean-up finds them.
        const Strasse doppelt = {"03159016", "Weender Straße", {}, "Innenstadt", 900, false};
        plot(doppelt, "3", 7);
        plot(doppelt, "4", 8);
    }

    void gutachter() {
        struct G {
            const char *name, *strasse, *plz, *ort, *telefon, *bereich;
        };
        const G liste[] = {
            {"Gutachterausschuss Stadt Frankfurt am Main", "Kurt-Schumacher-Str. 10", "60311",
             "Frankfurt am Main", "069 212-34800", "06412000"},
            {"Gutachterausschuss Landkreis Gießen", "Riversplatz 1-9", "35394", "Gießen",
             "0641 9390-0", "06531"},
            {"Gutachterausschuss Stadt Goslar", "Charley-Jacob-Str. 3", "38640", "Goslar",
             "05321 704-0", "03153017"},
            {"Gutachterausschuss Landkreis Goslar", "Klubgartenstr. 6", "38640", "Goslar",
             "05321 76-0", "03153"},
            {"Gutachterausschuss Bodenseekreis", "Albrechtstr. 75", "88045", "Friedrichshafen",
             "07541 204-0", "08435"},
            {"Gutachterausschuss Stadt Überlingen", "Bahnhofstr. 4", "88662", "Überlingen",
             "07551 99-0", "08435059"},
            {"Gutachterausschuss Görlitz", "Bahnhofstr. 24", "02826", "Görlitz", "03581 663-0",
             "14626"},
            {"Gutachterausschuss Stadt Fürth", "Königsplatz 2", "90762", "Fürth", "0911 974-0",
             "09563000"},
            {"Gutachterausschuss Stadt Kassel", "Obere Königsstr. 8", "34117", "Kassel",
             "0561 787-0", "06611000"},
        };
        for (const G& g : liste) {
            m_db.einfuegen("gutachter", {
                {"name", QString::fromUtf8(g.name)},
                {"strasse", QString::fromUtf8(g.strasse)},
                {"plz", g.plz},
                {"ort", QString::fromUtf8(g.ort)},
                {"telefon", g.telefon},
                {"telefax", kNull},
                {"email", "gutachter@" + QString(g.bereich) + ".example.org"},
                {"internet", kNull},
                {"abrechnungsmodus", "1"},
                {"bereich", g.bereich},
            });
        }
        // An appraiser whose columns are Null apart from the name.
        m_db.einfuegen("gutachter", {{"name", "Sachverständigenbüro Weiß"}});
    }

    void kundenUndBenutzer() {
        struct K {
            const char *login, *name, *zusatz, *strasse, *plz, *ort;
        };
        const K kunden[] = {
            {"mueller", "Müller Immobilien GmbH", "z. Hd. Frau Müller", "Kaiserstraße 12", "60311",
             "Frankfurt am Main"},
            {"schmidt", "Schmidt & Partner Sachverständige", nullptr, "Seltersweg 40", "35390", "Gießen"},
            {"sparkasse", "Sparkasse Bodensee", "", "Münsterstraße 7", "88662", "Überlingen"},
            {"o_brien", "O'Brien Grundbesitz KG", "Abteilung Bewertung", "Königstraße 80", "90762",
             "Fürth"},
        };
        for (const K& k : kunden) {
            m_db.einfuegen("rechnungs_kunden", {
                {"benutzername", k.login},
                {"name", QString::fromUtf8(k.name)},
                {"zusatz", k.zusatz ? QVariant(QString::fromUtf8(k.zusatz)) : kNull},
                {"strasse", QString::fromUtf8(k.strasse)},
                {"plz", k.plz},
                {"ort", QString::fromUtf8(k.ort)},
            });
        }

        struct B {
            const char *name, *strasse, *plz, *ort, *telefon, *partner, *modus, *account, *schreib;
        };
        const B benutzer[] = {
            {"Müller Immobilien GmbH", "Kaiserstraße 12", "60311", "Frankfurt am Main", "069 123456",
             "Frau Müller", "1", "mueller", "N"},
            {"Schmidt & Partner Sachverständige", "Seltersweg 40", "35390", "Gießen", "0641 98765",
             "Herr Schmidt", "1", "schmidt", "N"},
            {"Sparkasse Bodensee", "Münsterstraße 7", "88662", "Überlingen", "07551 8080",
             "Herr Weiß", "2", "sparkasse", "N"},
            {"Datenerfassung Hessen", "Berger Straße 5", "60316", "Frankfurt am Main", "069 445566",
             "Frau Schäfer", "0", "erfassung", "J"},
            {"Verwaltung Görlitz", "Berliner Straße 3", "02826", "Görlitz", "03581 1234",
             "Herr Großmann", "0", "goerlitz", "J"},
        };
        for (const B& b : benutzer) {
            m_db.einfuegen("benutzer", {
                {"name", QString::fromUtf8(b.name)},
                {"strasse", QString::fromUtf8(b.strasse)},
                {"plz", b.plz},
                {"ort", QString::fromUtf8(b.ort)},
                {"telefon", b.telefon},
                {"telefax", kNull},
                {"email", QString(b.account) + "@example.org"},
                {"ansprechpartner", QString::fromUtf8(b.partner)},
                {"durchwahl", "-0"},
                {"abrechnungsmodus", b.modus},
                {"account", b.account},
                {"schreibmodus", b.schreib},
            });
        }
    }

    void zugangsprotokoll() {
        const QDate heute = QDate::currentDate();
        struct Z {
            const char* name;
            int tageZurueck;
            const char *zeit, *vorgang;
        };
        const Z liste[] = {
            {"mueller", 9, "08:02", "Login"},   {"mueller", 9, "09:40", "Logout"},
            {"schmidt", 7, "10:15", "Login"},   {"schmidt", 7, "11:03", "Logout"},
            {"sparkasse", 3, "13:30", "Login"}, {"sparkasse", 3, "13:58", "Logout"},
            {"erfassung", 1, "07:45", "Login"}, {"erfassung", 1, "16:20", "Logout"},
            {"mueller", 0, "08:10", "Login"},   {"schmidt", 0, "09:05", "Login"},
            {"schmidt", 0, "09:31", "Logout"},
        };
        for (const Z& z : liste) {
            m_db.einfuegen("protokoll", {
                {"name", z.name},
                {"datum", heute.addDays(-z.tageZurueck)},
                {"zeit", z.zeit},
                {"vorgang", z.vorgang},
            });
        }
    }

    void abfragenUndRechnungen() {
        const QDate heute = QDate::currentDate();
        const QDate frueher = heute.addDays(-40);
        // Two invoices of an earlier run: one paid, one still open.
        const int nr1 = frueher.year() * 1000 + 1;
        const int nr2 = nr1 + 1;
        m_db.einfuegen("rechnungen", {
            {"rechnungsnummer", nr1}, {"rechnungsdatum", frueher}, {"kundenname", "Müller Immobilien GmbH"},
            {"nettobetrag", 50.0}, {"steuer", 50.0 * 0.16}, {"bruttobetrag", 50.0 * 1.16},
            {"offen", "nein"}, {"zahlungsziel", frueher.addDays(14)},
        });
        m_db.einfuegen("rechnungen", {
            {"rechnungsnummer", nr2}, {"rechnungsdatum", frueher},
            {"kundenname", "Schmidt & Partner Sachverständige"},
            {"nettobetrag", 15.0}, {"steuer", 15.0 * 0.16}, {"bruttobetrag", 15.0 * 1.16},
            {"offen", "ja"}, {"zahlungsziel", frueher.addDays(14)},
        });

        struct A {
            int tageZurueck;
            const char *uhrzeit, *vorgang, *db, *objekt, *schluessel;
            double preis;
            QVariant preisGutachter;
            bool offen;
            int rechnung;  // 0 none, 1 or 2
        };
        const A liste[] = {
            {41, "09:12", "Grundstücksdaten", "mueller", "60311 Frankfurt am Main - Mainzer Landstraße 12a",
             "06412000", 25.0, 10.0, false, 1},
            {41, "09:20", "Marktübersichten", "mueller", "60311 Frankfurt am Main - Kaufpreise Einfamilienhäuser",
             "06412000", 15.0, kNull, false, 1},
            {41, "09:31", "Ortsdaten", "mueller", "60311 Frankfurt am Main", "06412000", 2.5, kNull, false, 1},
            {41, "10:02", "Grundstücksdaten", "schmidt", "35390 Gießen - Seltersweg 4", "06531005", 12.5, 5.0,
             false, 2},
            {41, "10:05", "Ortsdaten", "schmidt", "35390 Gießen", "06531005", 2.5, kNull, false, 2},
            {5, "14:40", "Grundstücksdaten", "schmidt", "35390 Gießen - Seltersweg", "06531005", 12.5, 5.0, true, 0},
            {5, "14:44", "Grundstücksdaten", "schmidt", "35390 Gießen - Seltersweg 5", "06531005", 12.5, 5.0, true, 0},
            {3, "13:35", "Grundstücksdaten", "sparkasse", "88662 Überlingen - Münsterstraße 3", "08435059", 12.5,
             5.0, true, 0},
            {3, "13:41", "Ortsdaten", "sparkasse", "88662 Überlingen", "08435059", 2.5, kNull, true, 0},
            {2, "11:00", "Grundstücksdaten", "gast", "02826 Görlitz - Berliner Straße 7", "14626110", 10.0, 4.0,
             true, 0},
            {1, "15:10", "Grundstücksdaten", "o_brien", "90762 Fürth - Königstraße 3a", "09563000", 12.5, 5.0,
             true, 0},
            {1, "15:12", "Grundstücksdaten", "o_brien", "34117 Kassel - Am Königsplatz 2", "06611000", 0.0, 0.0,
             true, 0},
            {0, "08:15", "Grundstücksdaten", "mueller", "60311 Frankfurt am Main - Zeil 5", "06412000", 25.0,
             10.0, true, 0},
            {0, "08:21", "Marktübersichten", "mueller", "60311 Frankfurt am Main - Liegenschaftszinssätze",
             "06412000", 5.0, kNull, true, 0},
            {0, "08:30", "Ortsdaten", "mueller", "79271 St. Peter", "08315099", 2.5, kNull, true, 0},
        };
        for (const A& a : liste) {
            const bool grundstueck = QString::fromUtf8(a.vorgang) == QString::fromUtf8("Grundstücksdaten");
            const bool markt = QString::fromUtf8(a.vorgang) == QString::fromUtf8("Marktübersichten");
            const bool ort = !grundstueck && !markt;
            Werte w = {
                {"datum", heute.addDays(-a.tageZurueck)},
                {"uhrzeit", a.uhrzeit},
                {"vorgang", QString::fromUtf8(a.vorgang)},
                {"pc_benutzer", QString(a.db).toUpper()},
                {"db_benutzer", a.db},
                {"objekt", QString::fromUtf8(a.objekt)},
                {"gemeindeschluessel", a.schluessel},
                {"computername", "PC-" + QString(a.db).toUpper()},
                {"offen", a.offen ? "ja" : "nein"},
                {"preis", a.preis},
                {"preis_gutachter", a.preisGutachter},
                {"offen_gutachter", ort ? kNull : QVariant(a.rechnung ? "nein" : "ja")},
                {"version", ort ? QVariant("1.079") : kNull},
                {"rechnungsnummer", a.rechnung == 1 ? QVariant(nr1) : a.rechnung == 2 ? QVariant(nr2) : kNull},
            };
            if (a.rechnung) {
                w.append(qMakePair(QStringLiteral("abgerechnet_eigen"), QVariant("J")));
                w.append(qMakePair(QStringLiteral("abgerechnet_gutachter"), QVariant("J")));
            }
            m_db.einfuegen("abfrageprotokoll", w);
        }
    }

    void importDaten() {
        // WQN: buildings and streets of Göttingen, joined by street and municipality key.
        m_db.einfuegen("str111", {{"gs", "03159016"}, {"ss", "01234"}, {"straßenname", "Groner Landstraße"}});
        m_db.einfuegen("str111", {{"gs", "03159016"}, {"ss", "01235"}, {"straßenname", "Bürgerstraße"}});
        m_db.einfuegen("str111", {{"gs", "03159016"}, {"ss", "01236"}, {"straßenname", "Auf'm Kampe"}});
        const char* const wqn[][4] = {{"01234", "9", "a", "5711234.50"},
                                      {"01234", "11", "", "5711240.10"},
                                      {"01235", "2", " b ", "5711410.00"}};
        for (const auto& g : wqn) {
            m_db.einfuegen("geb111", {{"gs", "03159016"}, {"ss", g[0]}, {"hausnummer", g[1]},
                                       {"zusatz", g[2]}, {"hochwert", g[3]}, {"rechtswert", "3563120.00"}});
        }
        // Without a number; in the apostrophe street; of a street str111 does not know.
        m_db.einfuegen("geb111", {{"gs", "03159016"}, {"ss", "01234"}, {"hausnummer", kNull}, {"zusatz", "c"},
                                   {"hochwert", "5711250.00"}, {"rechtswert", "3563130.00"}});
        m_db.einfuegen("geb111", {{"gs", "03159016"}, {"ss", "01236"}, {"hausnummer", "04"}, {"zusatz", kNull},
                                   {"hochwert", "5711300.00"}, {"rechtswert", "3563200.00"}});
        m_db.einfuegen("geb111", {{"gs", "03159016"}, {"ss", "09999"}, {"hausnummer", "1"}, {"zusatz", kNull},
                                   {"hochwert", "5711000.00"}, {"rechtswert", "3563000.00"}});
        // POGOS: the 03 row is never imported.
        m_db.einfuegen("pogos", {{"gemeindeschluessel", "06531005"}, {"strassenname", "Ludwigstraße"},
                                 {"stadtteil", "Innenstadt"}, {"cstaotk", "0653100501"}});
        m_db.einfuegen("pogos", {{"gemeindeschluessel", "08435059"}, {"strassenname", "Hafenstraße"},
                                 {"stadtteil", kNull}, {"cstaotk", "0843505902"}});
        m_db.einfuegen("pogos", {{"gemeindeschluessel", "16051000"}, {"strassenname", "Anger'sche Gasse"},
                                 {"stadtteil", "Altstadt"}, {"cstaotk", "1605100004"}});
        m_db.einfuegen("pogos", {{"gemeindeschluessel", "03452001"}, {"strassenname", "Osterstraße"},
                                 {"stadtteil", kNull}, {"cstaotk", "0345200103"}});
        // Mosaic: two buildings in Aurich, one in a municipality unknown to ortsnamen.
        m_db.einfuegen("mosaic", {{"haus_id", "034520010001"}, {"haus_strasse", " Burgstraße "},
                                  {"haus_hausnr", "14"}, {"haus_hausnr_zusatz", "a"}, {"haus_otl_name", "Mitte"}});
        m_db.einfuegen("mosaic", {{"haus_id", "034520010002"}, {"haus_strasse", "Burgstraße"},
                                  {"haus_hausnr", "16"}, {"haus_hausnr_zusatz", ""}, {"haus_otl_name", "Mitte"}});
        m_db.einfuegen("mosaic", {{"haus_id", "999990010001"}, {"haus_strasse", "Nirgendweg"},
                                  {"haus_hausnr", "1"}, {"haus_hausnr_zusatz", ""}, {"haus_otl_name", kNull}});
        m_db.einfuegen("mosaic", {{"haus_id", "031590160007"}, {"haus_strasse", "Auf'm Kampe"},
                                  {"haus_hausnr", kNull}, {"haus_hausnr_zusatz", " b "}, {"haus_otl_name", " Weende "}});
        // Aurich land values by Mosaic number; the first plot of the Marktplatz carries it.
        m_db.einfuegen("aurich", {
            {"haus_id", "034520010101"}, {"haus_bodenwert", "135"}, {"haus_gfz", "0,8"},
            {"haus_bauweise", "o"}, {"haus_beitragspflichtig", "n"}, {"haus_sanierungsgeb", "n"},
            {"haus_grundst_tiefe", "35"}, {"haus_entwicklungszustand", "b"}, {"haus_grundst_fläche", "600"},
            {"haus_azdgeschosse", "II"}, {"haus_bauliche_nutzung", "mi"}, {"haus_bemerkung", " Zentrum "},
            {"haus_wert", "z"}, {"haus_san_ae", " E "},
        });
        // No value delivered; the house of the plot without values; a second row of one house id.
        m_db.einfuegen("aurich", {{"haus_id", "034520010107"}, {"haus_bodenwert", kNull}, {"haus_bemerkung", kNull},
                                  {"haus_san_ae", "a"}});
        m_db.einfuegen("aurich", {{"haus_id", "034520010108"}, {"haus_bodenwert", "170,50"}, {"haus_san_ae", "k"},
                                  {"haus_wert", "z"}});
        m_db.einfuegen("aurich", {{"haus_id", "034520010108"}, {"haus_bodenwert", "999"}, {"haus_san_ae", "x"}});
        // Lower Saxony buildings and streets.
        m_db.einfuegen("strassen", {{"strassenschlüssel", "00417"}, {"gemeindeschlüssel", "03452001"},
                                    {"straßenname", "Fockenbollwerkstraße"}});
        m_db.einfuegen("gebäude", {{"gemeindeschlüssel", "03452001"}, {"strassenschlüssel", "00417"},
                                   {"hausnummer", "3"}, {"hochwert", "5925140.2"}, {"rechtswert", "2597310.8"}});
        m_db.einfuegen("gebäude", {{"gemeindeschlüssel", "03452001"}, {"strassenschlüssel", "00999"},
                                   {"hausnummer", "5"}, {"hochwert", "5925160.0"}, {"rechtswert", "2597330.0"}});
        // A later street of key 00417 elsewhere (the first one counts), an apostrophe street, a building in 16.
        m_db.einfuegen("strassen", {{"strassenschlüssel", "00417"}, {"gemeindeschlüssel", "03159016"},
                                    {"straßenname", "Groner Tor"}});
        m_db.einfuegen("strassen", {{"strassenschlüssel", "00418"}, {"gemeindeschlüssel", "03452001"},
                                    {"straßenname", "Up'n Diek"}});
        m_db.einfuegen("strassen", {{"strassenschlüssel", "00419"}, {"gemeindeschlüssel", "16051000"},
                                    {"straßenname", "Anger"}});
        m_db.einfuegen("gebäude", {{"gemeindeschlüssel", "03452001"}, {"strassenschlüssel", "00418"},
                                   {"hausnummer", "7"}, {"hochwert", "5925170.0"}, {"rechtswert", "2597340.0"}});
        m_db.einfuegen("gebäude", {{"gemeindeschlüssel", "03452001"}, {"strassenschlüssel", "00417"},
                                   {"hausnummer", kNull}, {"hochwert", "5925180.0"}, {"rechtswert", "2597350.0"}});
        m_db.einfuegen("gebäude", {{"gemeindeschlüssel", "16051000"}, {"strassenschlüssel", "00419"},
                                   {"hausnummer", "2"}, {"hochwert", "5650000.0"}, {"rechtswert", "4420000.0"}});
        // Zone data: street of zone 4 in Gießen (key delivered with blanks) and its values.
        m_db.einfuegen("import_11062002_1", {{"schlüssel", " 06531005 "}, {"strasse", "seltersweg "},
                                             {"zonen_nr", 4}});
        // A later row of the same street (the first counts), a zone without values, the apostrophe street.
        m_db.einfuegen("import_11062002_1", {{"schlüssel", "06531005"}, {"strasse", "Seltersweg"}, {"zonen_nr", 7}});
        m_db.einfuegen("import_11062002_1", {{"schlüssel", "06531005"}, {"strasse", "frankfurter STRAßE "},
                                             {"zonen_nr", 5}});
        m_db.einfuegen("import_11062002_1", {{"schlüssel", "03159016"}, {"strasse", "auf'm kampe"}, {"zonen_nr", 1}});
        m_db.einfuegen("import_11062002_2", {{"gemeindesch", "03159016"}, {"zonen_nr", 1}, {"brw_tatsaechlich", 210.0},
                                             {"bemerkung", "Zone 1"}});
        m_db.einfuegen("import_11062002_2", {
            {"gemeindesch", "06531005"}, {"zonen_nr", 4}, {"brw_minimal", 480.0}, {"brw_maximal", 560.0},
            {"brw_durchschnittlich", 520.0}, {"brw_tatsaechlich", 520.0}, {"bauliche_nutzung", "mk"},
            {"entwicklungszustand", "b"}, {"bauweise", "g"}, {"gfz", "2,0"}, {"anzahl_der_geschosse", "IV"},
            {"grundstueckstiefe", "30"}, {"grundstuecksflaeche", "400"}, {"beitragspflichtig", "n"},
            {"sanierungsgebiet", "j"}, {"anfangs_oder_endwert", "ew"}, {"richtwerttyp", "z"},
            {"bemerkung", "Zone 4 Innenstadt"},
        });
    }

private:
    // One plot; n varies the codes so that every code of every group occurs.
    void plot(const Strasse& s, const QString& nr, int n) {
        const bool strassenEintrag = nr == "9999";
        // Every seventh plot carries no land value; some of those only a remark.
        const bool ohneWert = n % 7 == 3;
        const double basis = s.richtwert * (1.0 + (n % 5) * 0.05);
        const QVariant tatsaechlich = ohneWert ? (n % 2 ? QVariant(0.0) : kNull) : QVariant(basis);
        const QString bemerkung = ohneWert && n % 2 ? QStringLiteral("Keine Bodenrichtwertangabe vom GAG")
                                : n % 11 == 0     ? QStringLiteral("Ecklage")
                                                  : QString();
        const bool ausgefuellt = !ohneWert || !bemerkung.trimmed().isEmpty();
        Werte w = {
            {"id_orte", m_ortId.value(s.schluessel)},
            {"gemeindeschluessel", s.schluessel},
            {"ortsteil", s.ortsteil ? QVariant(QString::fromUtf8(s.ortsteil)) : kNull},
            {"strassen_name", QString::fromUtf8(s.name)},
            {"hausnummer", nr},
            {"hausnummer_numerisch", fuehrendeZahl(nr)},
            {"flurstueck", strassenEintrag ? kNull : QVariant(QString("Flur %1, %2/%3").arg(n % 9 + 1).arg(100 + n).arg(n % 4 + 1))},
            {"richtwert_minimal", ohneWert ? kNull : QVariant(basis * 0.8)},
            {"richtwert_durchschnitt", ohneWert ? kNull : QVariant(basis)},
            {"richtwert_maximal", ohneWert ? QVariant(0.0) : QVariant(basis * 1.25)},
            {"richtwert_tatsaechlich", tatsaechlich},
            {"bauliche_nutzung", kNutzung[n % anzahlVon(kNutzung)]},
            {"entwicklungszustand", kZustand[n % anzahlVon(kZustand)]},
            {"bauweise", kBauweise[n % anzahlVon(kBauweise)]},
            {"richtwerttyp", kRichtwerttyp[n % anzahlVon(kRichtwerttyp)]},
            {"bemerkung", bemerkung.isEmpty() ? kNull : QVariant(bemerkung)},
            {"quellenangabe", "Gutachterausschuss, Bodenrichtwertkarte"},
            // A few plots are marked as duplicates and stay out of every search.
            {"loeschen", n % 13 == 6 ? "ja" : "nein"},
            {"ausgefuellt", ausgefuellt ? "j" : "n"},
            {"geschossflaechenzahl", QString::number(0.4 + (n % 6) * 0.2, 'f', 1)},
            {"anzahl_der_geschosse", QString::number(n % 5 + 1)},
            {"beitragspflichtig", kJaNein[n % 2]},
            {"grundstueckstiefe", n % 4 == 1 ? kNull : QVariant(QString::number(25 + n % 20))},
            {"grundstuecksflaeche", QString::number(300 + (n % 12) * 50)},
            {"sanierungsgebiet", kJaNein[(n / 2) % 2]},
            {"sananfangende", kAnfangEnde[n % anzahlVon(kAnfangEnde)]},
            {"x_koordinate", QString("50%1").arg(100000 + n * 37)},
            {"y_koordinate", QString("08%1").arg(600000 + n * 53)},
            {"umt_1", QString::number(3470000 + n * 11)},
            {"umt_2", QString::number(5550000 + n * 13)},
        };
        // The plots of Aurich's market square carry Mosaic numbers for the Aurich import.
        if (QString(s.schluessel) == "03452001")
            w.append({"mosaic_nummer", QString("0345200101%1").arg(nr.left(2).rightJustified(2, '0'))});
        m_db.einfuegen("grundstuecke", w);
    }

    const Datenbank& m_db;
    QHash<QString, qint64> m_ortId;
};

}  // namespace

void demoDatenBasis(const Datenbank& db) {
    Demo d(db);
    d.regionen();
    d.orte();
    d.grundstuecke();
    d.gutachter();
    d.kundenUndBenutzer();
    d.zugangsprotokoll();
    d.abfragenUndRechnungen();
    d.importDaten();
}

}  // namespace talu
