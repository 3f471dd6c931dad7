#include "BenchDaten.h"

#include <sys/resource.h>

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <charconv>
#include <exception>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "BenchZufall.h"
#include "ZeilenSchreiber.h"
#include "db/Datenbank.h"
#include "db/Dialekt.h"
#include "db/Schema.h"
#include "plot/GrundstueckDaten.h"

namespace talu::bench {

namespace {

// CPU time of this process: on a shared machine the rows per CPU second say
// what the generator does, the wall clock what the machine let it do.
double cpuSekunden() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

std::string u8(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), size_t(b.size()));
}

// A name with its folded form, as the search columns store it.
struct Name {
    std::string text, suche;
};
Name name(const QString& s) { return {u8(s), u8(Dialekt::falte(s))}; }

// Decimal text of an integer, zero-padded to a width.
std::string zahlText(long long z, int breite = 0) {
    char b[24];
    auto [e, ec] = std::to_chars(b, b + sizeof b, z);
    std::string s(b, e);
    if (int(s.size()) < breite) s.insert(0, size_t(breite - int(s.size())), '0');
    return s;
}

double runde(double w, double auf) { return std::round(w / auf) * auf; }

struct Gewichtet {
    const char* code;
    int gewicht;
};
const Gewichtet kNutzung[] = {{"wa", 30}, {"wr", 10}, {"w", 6},    {"ws", 3},   {"wb", 2},   {"md", 8},
                              {"mi", 12}, {"mk", 4},  {"gg", 3},   {"ge 1", 4}, {"ge 2", 3}, {"gi", 4},
                              {"gei", 2}, {"s", 2},   {"soe", 2},  {"sol", 1},  {"geb", 4}};
const Gewichtet kEntwicklung[] = {{"b", 85}, {"r", 8}, {"e", 7}};
const Gewichtet kBauweise[] = {{"o", 70}, {"g", 20}, {"a", 10}};
const Gewichtet kRichtwertTyp[] = {{"z", 80}, {"h", 12}, {"l", 8}};
const Gewichtet kAnfangEnd[] = {{"aw", 40}, {"ew", 40}, {"ka", 20}};
const Gewichtet kJaNein[] = {{"j", 30}, {"n", 70}};

template <size_t N>
const char* waehle(Zufall& z, const Gewichtet (&g)[N]) {
    int summe = 0;
    for (const auto& e : g) summe += e.gewicht;
    int r = int(z.bis(std::uint64_t(summe)));
    for (const auto& e : g) {
        if (r < e.gewicht) return e.code;
        r -= e.gewicht;
    }
    return g[0].code;
}

// --- Street names ---

const char* const kStamm[] = {
    "Haupt", "Bahnhof", "Schul", "Garten", "Dorf", "Berg", "Linden", "Kirch", "Mühlen", "Wald", "Goethe",
    "Schiller", "Friedhof", "Birken", "Wiesen", "Königs", "Jäger", "Brücken", "Rosen", "Tannen", "Buchen",
    "Eichen", "Ahorn", "Erlen", "Fichten", "Kiefern", "Ulmen", "Weiden", "Pappel", "Holunder", "Flieder",
    "Tulpen", "Nelken", "Veilchen", "Lilien", "Sonnen", "Mond", "Stern", "Markt", "Rathaus", "Post", "Kloster",
    "Burg", "Schloss", "Park", "See", "Teich", "Bach", "Wasser", "Brunnen", "Quellen", "Feld", "Acker", "Anger",
    "Heide", "Moor", "Au", "Hof", "Sand", "Stein", "Fels", "Hügel", "Tal", "Höhen", "Nord", "Süd", "Ost", "West",
    "Kreuz", "Kapellen", "Pfarr", "Schützen", "Turn", "Sport", "Industrie", "Gewerbe", "Hafen", "Handwerker",
    "Weber", "Schmiede", "Bäcker", "Fischer", "Jahn", "Lessing", "Herder", "Heine", "Uhland", "Eichendorff",
    "Fontane", "Kant", "Hegel", "Luther", "Beethoven", "Mozart", "Händel", "Wagner", "Brahms", "Bismarck",
    "Kaiser", "Friedrich", "Wilhelm", "Luisen", "Sophien", "Marien", "Annen", "Elisabeth", "Karl", "Ludwig",
    "Max", "Albert", "Humboldt", "Röntgen", "Diesel", "Benz", "Daimler", "Zeppelin", "Gutenberg", "Dürer",
    "Kolping", "Stauffenberg", "Adenauer", "Ebert", "Heuss", "Schumann", "Grimm", "Hölderlin", "Mörike",
    "Körner", "Storm", "Raabe", "Busch", "Zille", "Spitzweg", "Menzel", "Holbein", "Cranach", "Riemenschneider",
    "Gauß", "Leibniz", "Kepler", "Planck", "Einstein", "Hahn", "Koch", "Virchow", "Liebig", "Bunsen", "Siemens",
    "Krupp", "Thyssen", "Borsig", "Raiffeisen", "Schulze-Delitzsch", "Fröbel", "Pestalozzi", "Kneipp", "Melanchthon",
    "Zwingli", "Hus", "Franken", "Schwaben", "Sachsen", "Hessen", "Thüringer", "Pommern", "Schlesier", "Ostpreußen",
    "Ähren", "Öl", "Über", "Apfel", "Birnen", "Kirschen", "Pflaumen", "Hopfen", "Wein", "Reben", "Rüben",
    "Hafer", "Weizen", "Roggen", "Gersten", "Flachs", "Lerchen", "Finken", "Amsel", "Drossel", "Meisen", "Schwalben",
    "Falken", "Adler", "Eulen", "Raben", "Storchen", "Kranich", "Reiher", "Biber", "Fuchs", "Dachs", "Hasen",
    "Hirsch", "Reh"};
const char* const kEndung[] = {"straße", "weg", "gasse", "allee", "platz", "ring", "steig", "pfad", "damm", "ufer",
                               "chaussee"};
const char* const kStadtAdjektiv[] = {"Frankfurter", "Berliner", "Münchner", "Hamburger", "Kölner", "Mainzer",
                                      "Leipziger", "Dresdner", "Nürnberger", "Stuttgarter", "Bremer", "Würzburger",
                                      "Augsburger", "Regensburger", "Göttinger", "Lüneburger", "Kasseler",
                                      "Erfurter", "Potsdamer", "Schweriner", "Magdeburger", "Hallesche",
                                      "Darmstädter", "Offenbacher", "Düsseldorfer", "Essener", "Dortmunder",
                                      "Bochumer", "Münsteraner", "Osnabrücker"};
const char* const kAdjektivEndung[] = {" Straße", " Landstraße", " Weg", " Allee", " Chaussee"};
const char* const kPraeposition[] = {
    "Am Mühlbach", "An der Linde", "Im Winkel", "Auf dem Berg", "Zum Sportplatz", "Hinter den Gärten",
    "Unter den Linden", "In der Au", "Am Markt", "Am Anger", "An der Kirche", "Am Schloßpark", "Im Grund",
    "Auf der Höhe", "Zur Mühle", "Am Bahnhof", "An den Teichen", "Im Wiesengrund", "Am Hang", "Zum Wäldchen",
    "Am Graben", "An der Stadtmauer", "Im Eichholz", "Am Sonnenhang", "Auf der Heide", "Zur Schmiede",
    "Am Brückentor", "Vor dem Tore", "Hinter der Post", "Am Krümmel", "Über dem Bach", "Ölbergstraße",
    "Äußere Sulzbacher Straße", "Überseeallee", "Straße des 17. Juni", "Ülzener Weg"};
const char* const kLang[] = {"Bürgermeister-Dr.-Heinrich-Müller-Straße",
                             "Professor-Dr.-Ferdinand-Sauerbruch-Straße",
                             "Friedrich-Wilhelm-von-Steuben-Straße",
                             "Oberbürgermeister-Dr.-Ludwig-Landmann-Straße",
                             "Kardinal-Graf-von-Galen-Straße",
                             "Geschwister-Scholl-Straße",
                             "Graf-von-Stauffenberg-Straße",
                             "Hans-und-Sophie-Scholl-Platz",
                             "Karl-Liebknecht-Straße",
                             "Rosa-Luxemburg-Straße",
                             "Wilhelm-Leuschner-Straße",
                             "Ernst-Thälmann-Straße",
                             "Heinrich-Heine-Allee",
                             "Konrad-Adenauer-Ring",
                             "Prinzregent-Luitpold-Straße",
                             "Herzog-Georg-Wilhelm-von-Braunschweig-Lüneburg-Weg",
                             "Freiherr-vom-Stein-Straße",
                             "Johann-Sebastian-Bach-Straße",
                             "Wolfgang-Amadeus-Mozart-Straße",
                             "Gottfried-Wilhelm-Leibniz-Straße"};
const char* const kStadtteil[] = {"Altstadt", "Innenstadt", "Nordstadt", "Südstadt", "Weststadt", "Oststadt",
                                  "Neustadt", "Bahnhofsviertel", "Gründerzeitviertel", "Am Schloßpark",
                                  "Mühlenviertel", "Kreuzberg", "Hochfeld", "Lindenau", "Schönefeld", "Großzschocher",
                                  "Eimsbüttel", "Sülz", "Bockenheim", "Sachsenhausen-Nord", "Sankt Jürgen",
                                  "Überseequartier", "Ölberg", "Ährenfeld-Süd", "Gartenstadt", "Heide",
                                  "Industriegebiet Nord", "Königsviertel", "Fröttmaning", "Äußere Neustadt"};

std::vector<Name> strassenNamen() {
    std::vector<Name> l;
    auto dazu = [&](const QString& s) { l.push_back(name(s)); };
    for (const char* s : kLang) dazu(QString::fromUtf8(s));
    for (const char* s : kPraeposition) dazu(QString::fromUtf8(s));
    for (const char* a : kStadtAdjektiv)
        for (const char* e : kAdjektivEndung) dazu(QString::fromUtf8(a) + QString::fromUtf8(e));
    for (const char* s : kStamm) {
        const QString st = QString::fromUtf8(s);
        for (const char* e : kEndung) dazu(st + QString::fromUtf8(e));
        dazu("Alte " + st + "straße");
        dazu("Neue " + st + "straße");
        dazu("Obere " + st + "gasse");
        dazu("Untere " + st + "gasse");
        dazu("Am " + st + "hof");
    }
    return l;
}

// --- The generator ---

struct KreisD {
    QString kenn;
    QString name;     // as in the district list
    QString kurz;     // the name before the comma
    bool kreisfrei = false;
    qint64 einwohner = 0;
    double flaeche = 0;
    int ersteGemeinde = 0, gemeinden = 0;
    int gutachterId = 0;
    std::string quelle;  // source text of its plots
};

struct GemeindeD {
    QString schluessel;
    int kreis = 0;
    QString name;
    QString plz;
    int typ = 2;
    double gewicht = 0;  // share of the population
    int ortId = 0;       // the main place row
    int gutachterId = 0;
    int ersteStrasse = 0, strassen = 0;
    qint64 plots = 0;
    double wert = 100;   // typical land value
};

struct OrtD {
    int gemeinde = 0;
    QString name, plz;
    int typ = 2;
};

struct StrasseD {
    int gemeinde = 0;
    int name = 0;       // index into the street-name list
    int ortsteil = -1;  // -1 none, -2 empty text
    int plots = 0;
    qint64 erste = 0;   // id of its first plot
};

class Generator {
public:
    Generator(const Datenbank& db, const Umfang& u, const Referenzdaten& ref, const FortschrittsMeldung& m)
        : m_db(db), m_u(u), m_ref(ref), m_meldung(m), m_z(20240601) {
        m_schreiber = ZeilenSchreiber::fuer(db);
        m_e.art = m_schreiber->art();
        m_e.echteNamen = ref.echt;
        m_strassenNamen = strassenNamen();
    }

    Erzeugt lauf() {
        QElapsedTimer uhr;
        uhr.start();
        const double cpuAnfang = cpuSekunden();
        m_uhr.start();
        legeTabellenAn();
        plane();
        {
            // PostgreSQL: every COPY in one transaction, one durable commit at the end.
            std::unique_ptr<Transaktion> t;
            if (m_db.backend() == Backend::PostgreSQL) t = std::make_unique<Transaktion>(m_db);
            regionen();
            orte();
            ortsdaten();
            regionaltabellen();
            grundstuecke();
            markt();
            abrechnung();
            staging();
            if (t) t->bestaetige();
        }
        m_e.sekundenZeilen = uhr.nsecsElapsed() / 1e9;
        m_e.cpuSekundenZeilen = cpuSekunden() - cpuAnfang;
        QElapsedTimer i;
        i.start();
        meldeText(QStringLiteral("Indexe und Statistik"));
        indexe();
        m_e.sekundenIndexe = i.nsecsElapsed() / 1e9;
        return m_e;
    }

private:
    // --- Writing ---

    class Lauf {
    public:
        Lauf(Generator& g, const QString& tabelle, const QStringList& spalten, qint64 erwartet)
            : m_g(g), m_tabelle(tabelle), m_erwartet(erwartet) {
            m_start = g.m_schreiber->zeilen();
            g.m_schreiber->beginne(tabelle, spalten);
        }
        ZeilenSchreiber& w() { return *m_g.m_schreiber; }
        void fertig() {
            w().zeileFertig();
            const qint64 n = w().zeilen() - m_start;
            if (n % 50000 == 0) m_g.melde(m_tabelle, n, m_erwartet);
        }
        ~Lauf() noexcept(false) {
            // While an error unwinds, the writer is left to its own clean-up.
            if (std::uncaught_exceptions() > m_ausnahmen) return;
            m_g.m_schreiber->ende();
            const qint64 n = m_g.m_schreiber->zeilen() - m_start;
            m_g.m_e.zeilen[m_tabelle] += n;
            m_g.melde(m_tabelle, n, n);
        }

    private:
        Generator& m_g;
        QString m_tabelle;
        qint64 m_erwartet, m_start = 0;
        int m_ausnahmen = std::uncaught_exceptions();
    };

    void melde(const QString& tabelle, qint64 fertig, qint64 gesamt) {
        if (!m_meldung) return;
        m_meldung(Fortschritt{tabelle, fertig, gesamt, m_schreiber->zeilen(), m_uhr.nsecsElapsed() / 1e9});
    }
    void meldeText(const QString& was) {
        if (m_meldung) m_meldung(Fortschritt{was, 0, 0, m_schreiber->zeilen(), m_uhr.nsecsElapsed() / 1e9});
    }

    void legeTabellenAn() {
        // Tables first, indexes after the rows: building an index once is far
        // cheaper than keeping it sorted through millions of inserts.
        Transaktion t(m_db);
        for (Tabelle tab : schema()) {
            tab.indexe.clear();
            for (const QString& sql : ddl(tab, m_db.dialekt())) m_db.ausfuehren(sql);
        }
        t.bestaetige();
        if (m_db.backend() == Backend::SQLite) {
            // The file is only of use once complete; the caller marks it so.
            m_db.ausfuehren("pragma synchronous = off");
            m_db.ausfuehren("pragma journal_mode = off");
            m_db.ausfuehren("pragma locking_mode = exclusive");
            m_db.ausfuehren("pragma cache_size = -262144");
        }
    }

    void indexe() {
        // One transaction: one durable commit instead of one per index.
        Transaktion t(m_db);
        for (const Tabelle& tab : schema()) {
            for (const QString& sql : indexDdl(tab, m_db.dialekt())) m_db.ausfuehren(sql);
            if (m_db.backend() == Backend::PostgreSQL && tab.spalte("id") && tab.spalte("id")->typ == Typ::Id) {
                // Rows came with their ids: the identity continues after the highest.
                m_db.ausfuehren("select setval(pg_get_serial_sequence('" + tab.name + "', 'id'), "
                                "coalesce((select max(id) from " + tab.name + "), 0) + 1, false)");
            }
        }
        t.bestaetige();
        m_db.ausfuehren(m_db.backend() == Backend::PostgreSQL ? "vacuum analyze" : "analyze");
        if (m_db.backend() == Backend::SQLite) {
            m_db.ausfuehren("pragma journal_mode = delete");
            m_db.ausfuehren("pragma locking_mode = normal");
            m_db.ausfuehren("pragma synchronous = full");
        }
    }

    // --- Plan: districts, municipalities, places, streets in memory ---

    void plane() {
        // Districts.
        for (const KreisQuelle& q : m_ref.kreise) {
            KreisD k;
            k.kenn = q.kenn;
            k.name = q.name;
            k.kurz = q.name.section(',', 0, 0).trimmed();
            k.kreisfrei = q.kreisfrei;
            k.einwohner = qMax<qint64>(q.einwohner, 1000);
            k.flaeche = qMax(q.flaeche, 1.0);
            m_kreise.push_back(k);
        }
        const int kreisfreie = int(std::count_if(m_kreise.begin(), m_kreise.end(), [](const KreisD& k) { return k.kreisfrei; }));
        const int landkreise = int(m_kreise.size()) - kreisfreie;
        // Municipalities of the rural districts by area, at least one each.
        const int uebrig = qMax(landkreise, m_u.gemeinden - kreisfreie);
        double flaecheSumme = 0;
        for (const KreisD& k : m_kreise)
            if (!k.kreisfrei) flaecheSumme += k.flaeche;
        std::vector<int> anzahl(m_kreise.size(), 1);
        {
            int vergeben = landkreise;
            std::vector<std::pair<double, int>> rest;
            for (size_t i = 0; i < m_kreise.size(); ++i) {
                if (m_kreise[i].kreisfrei) continue;
                const double soll = (uebrig - landkreise) * m_kreise[i].flaeche / flaecheSumme;
                anzahl[i] += int(soll);
                vergeben += int(soll);
                rest.push_back({soll - int(soll), int(i)});
            }
            std::sort(rest.begin(), rest.end(), [](auto a, auto b) { return a.first > b.first || (a.first == b.first && a.second < b.second); });
            for (size_t j = 0; vergeben < uebrig && j < rest.size(); ++j, ++vergeben) ++anzahl[size_t(rest[j].second)];
        }

        // Place names: each municipality takes a name of its own; a city keeps its real name.
        QHash<QString, QList<int>> nachName;  // name -> indexes into ref.orte
        QStringList namenReihe;
        for (int i = 0; i < m_ref.orte.size(); ++i) {
            const QString& n = m_ref.orte[i].ort;
            if (!nachName.contains(n)) namenReihe << n;
            nachName[n] << i;
        }
        // Postcodes do not follow the keys, but their first digit points to a
        // few states: a municipality takes a name from its state's postcode
        // region while there are any, so that the names fit the region.
        static const QHash<QChar, QStringList> laenderJeZiffer{
            {'0', {"14", "16", "15", "12"}}, {'1', {"11", "12", "13"}}, {'2', {"01", "02", "03", "04", "13"}},
            {'3', {"03", "05", "06", "16", "15"}}, {'4', {"05", "03"}}, {'5', {"05", "07", "06"}},
            {'6', {"06", "07", "08", "10", "09"}}, {'7', {"08"}}, {'8', {"09", "08"}}, {'9', {"09", "16", "14"}}};
        QHash<QString, QStringList> namenJeLand;
        for (const QString& n : namenReihe)
            for (const QString& land : laenderJeZiffer.value(m_ref.orte[nachName.value(n).first()].plz.at(0)))
                namenJeLand[land] << n;
        QHash<QString, int> naechsterJeLand;
        QSet<QString> vergeben;
        int naechsterName = 0;
        auto freierName = [&](const QString& land) -> QString {
            const QStringList& l = namenJeLand[land];
            int& i = naechsterJeLand[land];
            while (i < l.size())
                if (!vergeben.contains(l[i++])) return l[i - 1];
            while (naechsterName < namenReihe.size()) {
                const QString n = namenReihe[naechsterName++];
                if (!vergeben.contains(n)) return n;
            }
            return QString("Neudorf %1").arg(++naechsterName);
        };
        auto plzZu = [&](const QString& n, int nr) -> QString {
            const QList<int> l = nachName.value(n);
            if (l.isEmpty()) return QString("%1").arg(10000 + (nr * 7919) % 89999, 5, 10, QChar('0'));
            return m_ref.orte[l[nr % l.size()]].plz;
        };

        for (size_t ki = 0; ki < m_kreise.size(); ++ki) {
            KreisD& k = m_kreise[ki];
            k.ersteGemeinde = int(m_gemeinden.size());
            if (k.kreisfrei) {
                GemeindeD g;
                g.schluessel = k.kenn + "000";
                g.kreis = int(ki);
                g.name = k.kurz;
                vergeben.insert(g.name);
                g.plz = plzZu(g.name, 0);
                g.typ = 0;
                g.gewicht = double(k.einwohner);
                m_gemeinden.push_back(g);
                k.gemeinden = 1;
                continue;
            }
            const int n = anzahl[ki];
            double zipf = 0;
            for (int i = 0; i < n; ++i) zipf += 1.0 / std::pow(i + 1.0, 0.9);
            for (int i = 0; i < n; ++i) {
                GemeindeD g;
                g.schluessel = k.kenn + QString("%1").arg(i + 1, 3, 10, QChar('0'));
                g.kreis = int(ki);
                g.name = freierName(k.kenn.left(2));
                vergeben.insert(g.name);
                g.plz = plzZu(g.name, 0);
                g.typ = (i == 0 || m_z.prozent(15)) ? 1 : 2;
                g.gewicht = double(k.einwohner) / std::pow(i + 1.0, 0.9) / zipf;
                m_gemeinden.push_back(g);
            }
            k.gemeinden = n;
        }

        // Places: one per municipality, then the further places sharing a key:
        // further postcodes of the cities, then incorporated places.
        for (size_t gi = 0; gi < m_gemeinden.size(); ++gi) {
            GemeindeD& g = m_gemeinden[gi];
            m_orte.push_back(OrtD{int(gi), g.name, g.plz, g.typ});
            g.ortId = int(m_orte.size());
        }
        const int weitere = qMax(0, m_u.orte - int(m_orte.size()));
        int zusatz = 0;
        for (size_t gi = 0; gi < m_gemeinden.size() && zusatz < weitere / 3; ++gi) {
            const GemeindeD& g = m_gemeinden[gi];
            if (g.typ != 0) continue;
            const int plzAnzahl = int(nachName.value(g.name).size());
            for (int j = 1; j < qMin(plzAnzahl, 12) && zusatz < weitere / 3; ++j, ++zusatz)
                m_orte.push_back(OrtD{int(gi), g.name, plzZu(g.name, j), 0});
        }
        while (zusatz < weitere) {
            const int gi = int(m_z.bis(m_gemeinden.size()));
            const GemeindeD& g = m_gemeinden[size_t(gi)];
            const QString eigener = freierName(g.schluessel.left(2));
            vergeben.insert(eigener);
            // Incorporated places carry the municipality in their name now and then: long names.
            const bool lang = m_z.prozent(20);
            const QString n = lang ? eigener + " (" + g.name + ")" : eigener;
            const int typ = m_z.prozent(25) ? 2 : 3 + int(m_z.bis(3));
            m_orte.push_back(OrtD{gi, n, plzZu(eigener, 0), typ});
            ++zusatz;
        }

        // Plots by population; streets by plots.
        double summe = 0;
        for (const GemeindeD& g : m_gemeinden) summe += g.gewicht;
        qint64 plotsVergeben = 0;
        for (GemeindeD& g : m_gemeinden) g.gewicht /= summe;
        // Streets: one each, the rest by weight (largest remainders), so the total is exact.
        {
            const int rest = qMax(0, m_u.strassen - int(m_gemeinden.size()));
            std::vector<std::pair<double, int>> reste;
            int vergeben = 0;
            for (size_t i = 0; i < m_gemeinden.size(); ++i) {
                const double soll = rest * m_gemeinden[i].gewicht;
                m_gemeinden[i].strassen = 1 + int(soll);
                vergeben += int(soll);
                reste.push_back({soll - int(soll), int(i)});
            }
            std::sort(reste.begin(), reste.end(), [](auto a, auto b) { return a.first > b.first || (a.first == b.first && a.second < b.second); });
            for (size_t j = 0; vergeben < rest && j < reste.size(); ++j, ++vergeben) ++m_gemeinden[size_t(reste[j].second)].strassen;
        }
        for (GemeindeD& g : m_gemeinden) {
            g.plots = qMax<qint64>(qint64(g.strassen) * 2, std::llround(double(m_u.grundstuecke) * g.gewicht));
            plotsVergeben += g.plots;
            // Land values: cities dearer than villages.
            g.wert = runde(40 + 4000 * std::sqrt(g.gewicht) * (0.6 + m_z.anteil()), 5);
        }
        // The exact number of plots: the difference goes to or comes from the largest municipalities.
        std::vector<int> reihe(m_gemeinden.size());
        std::iota(reihe.begin(), reihe.end(), 0);
        std::sort(reihe.begin(), reihe.end(), [&](int a, int b) { return m_gemeinden[size_t(a)].plots > m_gemeinden[size_t(b)].plots; });
        qint64 diff = m_u.grundstuecke - plotsVergeben;
        size_t ohneSchritt = 0;
        for (size_t j = 0; diff != 0 && ohneSchritt < reihe.size(); j = (j + 1) % reihe.size()) {
            GemeindeD& g = m_gemeinden[size_t(reihe[j])];
            const qint64 schritt =
                diff > 0 ? qMax<qint64>(1, diff / 8)
                         : -qMin<qint64>(g.plots - qint64(g.strassen) * 2, qMax<qint64>(1, -diff / 8));
            ohneSchritt = schritt == 0 ? ohneSchritt + 1 : 0;
            g.plots += schritt;
            diff -= schritt;
        }

        // Streets: distinct names per municipality, some with town districts.
        const int pool = int(m_strassenNamen.size());
        qint64 plotId = 1;
        for (size_t gi = 0; gi < m_gemeinden.size(); ++gi) {
            GemeindeD& g = m_gemeinden[gi];
            g.ersteStrasse = int(m_strassen.size());
            const int start = int(m_z.bis(std::uint64_t(pool)));
            int schritt = 1 + int(m_z.bis(std::uint64_t(pool - 1)));
            while (std::gcd(schritt, pool) != 1) ++schritt;
            const bool mitOrtsteilen = g.plots >= 3000;
            qint64 rest = g.plots;
            for (int s = 0; s < g.strassen; ++s) {
                StrasseD st;
                st.gemeinde = int(gi);
                st.name = int((start + qint64(s) * schritt) % pool);
                if (s >= pool) st.name = -1 - s;  // more streets than names: numbered
                if (mitOrtsteilen) st.ortsteil = int(m_z.bis(std::size(kStadtteil)));
                else if (m_z.prozent(2)) st.ortsteil = -2;
                const qint64 uebrigeStrassen = g.strassen - s;
                const qint64 mittel = rest / uebrigeStrassen;
                qint64 n = s + 1 == g.strassen ? rest : qMax<qint64>(2, mittel / 2 + qint64(m_z.bis(std::uint64_t(mittel + 1))));
                n = qMin(n, rest - (uebrigeStrassen - 1) * 2);
                st.plots = int(n);
                st.erste = plotId;
                plotId += n;
                rest -= n;
                m_strassen.push_back(st);
            }
        }
    }

    QString strassenName(const StrasseD& s) const {
        if (s.name >= 0) return QString::fromStdString(m_strassenNamen[size_t(s.name)].text);
        return QString("Straße %1").arg(-s.name);
    }

    // --- States, regions, districts, appraisers ---

    void regionen() {
        {
            Lauf l(*this, "bundeslaender", {"id", "kenn", "bundesland", "wohn", "misch", "gewerbe"}, 16);
            for (int i = 1; i <= 16; ++i) {
                const QString kenn = QString("%1").arg(i, 2, 10, QChar('0'));
                l.w().ganz(i);
                l.w().text(kenn);
                l.w().text(landName(kenn));
                l.w().zahl(runde(80 + m_z.bis(300), 0.5));
                l.w().zahl(runde(70 + m_z.bis(250), 0.5));
                l.w().zahl(runde(30 + m_z.bis(120), 0.5));
                l.fertig();
            }
        }
        {
            QStringList praefixe;
            for (const KreisD& k : m_kreise)
                if (!praefixe.contains(k.kenn.left(3))) praefixe << k.kenn.left(3);
            Lauf l(*this, "regbez", {"id", "kenn", "regbez", "wohn", "misch", "gewerbe"}, praefixe.size());
            int id = 0;
            for (const QString& p : praefixe) {
                l.w().ganz(++id);
                l.w().text(p);
                l.w().text(regbezName(p));
                l.w().zahl(runde(80 + m_z.bis(300), 0.5));
                l.w().zahl(runde(70 + m_z.bis(250), 0.5));
                // Now and then a region without commercial average.
                if (id % 9 == 0) l.w().null();
                else l.w().zahl(runde(30 + m_z.bis(120), 0.5));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "kreis", {"id", "kenn", "kreis", "gemeindeschluessel", "wohn", "misch", "gewerbe"},
                   qint64(m_kreise.size()));
            int id = 0;
            for (const KreisD& k : m_kreise) {
                l.w().ganz(++id);
                l.w().text(k.kenn);
                l.w().text(k.name);
                l.w().text(k.kenn);
                l.w().zahl(runde(60 + m_z.bis(500), 0.5));
                l.w().zahl(runde(50 + m_z.bis(400), 0.5));
                l.w().zahl(runde(20 + m_z.bis(200), 0.5));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "kreise", {"id", "kreis", "kenn"}, qint64(m_kreise.size()));
            int id = 0;
            for (const KreisD& k : m_kreise) {
                l.w().ganz(++id);
                l.w().text(k.name);
                l.w().text(k.kenn);
                l.fertig();
            }
        }
        // Appraisal committees: one per district, one more for every large town of a rural district.
        {
            Lauf l(*this, "gutachter",
                   {"id", "name", "strasse", "plz", "ort", "telefon", "telefax", "email", "internet",
                    "abrechnungsmodus", "bereich"},
                   qint64(m_kreise.size()) + 200);
            int id = 0;
            auto eintrag = [&](const QString& name, const GemeindeD& sitz, const QString& bereich) {
                l.w().ganz(++id);
                l.w().text(name.left(50));
                l.w().text(QString("Rathausplatz %1").arg(1 + id % 40).left(30));
                l.w().text(sitz.plz);
                l.w().text(sitz.name.left(30));
                l.w().text(QString("0%1 %2").arg(300 + id % 700).arg(100000 + id * 37 % 900000));
                l.w().text(QString("0%1 %2-9").arg(300 + id % 700).arg(100000 + id * 37 % 900000));
                l.w().text(QString("gutachterausschuss%1@example.de").arg(id));
                l.w().text(QString("www.gutachter-%1.example.de").arg(id));
                l.w().text(id % 3 ? "M" : "Q");
                l.w().text(bereich);
                l.fertig();
                return id;
            };
            for (KreisD& k : m_kreise) {
                const GemeindeD& sitz = m_gemeinden[size_t(k.ersteGemeinde)];
                k.gutachterId = eintrag((k.kreisfrei ? "Gutachterausschuss Stadt " : "Gutachterausschuss Landkreis ") + k.kurz.replace("Landkreis ", ""),
                                        sitz, k.kenn);
                k.quelle = u8("Gutachterausschuss " + k.kurz);
            }
            for (GemeindeD& g : m_gemeinden) {
                const KreisD& k = m_kreise[size_t(g.kreis)];
                g.gutachterId = k.gutachterId;
                if (!k.kreisfrei && g.gewicht > 0.0009 && id < int(m_kreise.size()) + 200)
                    g.gutachterId = eintrag("Gutachterausschuss Stadt " + g.name, g, g.schluessel);
            }
        }
    }

    // --- Places ---

    void orte() {
        // A server computes the search columns itself; SQLite gets them with the rows.
        const bool falten = !m_db.dialekt().fuelltSuchspalten();
        QStringList spalten{"id", "ort", "ort_suche", "plzneu", "gemeindeschluessel", "typ", "kenn", "preis",
                            "preis_gutachter_bodenwert"};
        if (!falten) spalten.removeAll(QStringLiteral("ort_suche"));
        const QStringList preise{"preis_kp_dhh", "preis_kp_efh", "preis_kp_rh", "preis_kp_mfh", "preis_kp_etw",
                                 "preis_mw_wohn", "preis_mw_gewerbe", "preis_bpi", "preis_si", "preis_uk",
                                 "preis_fu", "preis_gu", "preis_adv", "preis_lz"};
        spalten << preise << "wohn" << "misch" << "gewerbe";
        Lauf l(*this, "ortsnamen", spalten, qint64(m_orte.size()));
        int id = 0;
        for (const OrtD& o : m_orte) {
            const GemeindeD& g = m_gemeinden[size_t(o.gemeinde)];
            ++id;
            l.w().ganz(id);
            l.w().text(o.name);
            if (falten) l.w().text(Dialekt::falte(o.name));
            l.w().text(o.plz);
            l.w().text(g.schluessel);
            l.w().ganz(o.typ);
            l.w().text(g.schluessel.left(5));
            // Land-value price: mostly 12.50, some places free or without price.
            const int art = int(m_z.bis(100));
            if (art < 4) l.w().null(), l.w().null();
            else if (art < 7) l.w().zahl(0), l.w().zahl(0);
            else l.w().zahl(art < 80 ? 12.5 : 15.0), l.w().zahl(5.0);
            for (int p = 0; p < preise.size(); ++p) {
                if (m_z.prozent(5)) l.w().null();
                else l.w().zahl(p < 7 ? 10.0 : 7.5);
            }
            if (m_z.prozent(10)) {
                l.w().null(), l.w().null(), l.w().null();
            } else {
                l.w().zahl(runde(g.wert, 0.01));
                l.w().zahl(runde(g.wert * 0.85, 0.01));
                l.w().zahl(runde(g.wert * 0.4, 0.01));
            }
            l.fertig();
        }
    }

    void ortsdaten() {
        QStringList spalten{"id", "ortsdaten_p_id", "gemeindeschluessel", "id_gutachter", "einw1000", "einwohnerzahl",
                            "laenge", "breite", "utmrechts", "utmhoch", "flaeche", "bemerkung", "gruenland",
                            "ackerland", "forstland", "est"};
        for (int n = 1; n <= 3; ++n) {
            const QString s = QString::number(n);
            spalten << "bauliche_nutzung_" + s << "entwicklungszustand_" + s << "bauweise_" + s
                    << "geschossflaechenzahl_" + s << "anzahl_der_geschosse_" + s << "grundstueckstiefe_" + s
                    << "grundstuecksflaeche_" + s << "beitragspflichtig_" + s << "brw_minimal_" + s
                    << "brw_durchschnitt_" + s << "brw_maximal_" + s << "brw_tatsaechlich_" + s << "bemerkung_" + s;
        }
        for (const QString w : {"wohn", "misch", "gewerbe"})
            spalten << "est" + w << "richtwerttyp" + w << "quellenangabe" + w;
        Lauf l(*this, "ortsdaten", spalten, qint64(m_gemeinden.size()));
        const char* const zonenNutzung[3][3] = {{"wa", "wr", "ws"}, {"mi", "md", "mk"}, {"ge 1", "gi", "geb"}};
        int id = 0;
        for (const GemeindeD& g : m_gemeinden) {
            const qint64 einwohner = qMax<qint64>(50, std::llround(g.gewicht * 83e6));
            l.w().ganz(++id);
            l.w().ganz(g.ortId);
            l.w().text(g.schluessel);
            // Some places without committee, a few pointing at one that was deleted.
            if (id % 37 == 0) l.w().null();
            else if (id % 211 == 0) l.w().ganz(900000 + id);
            else l.w().ganz(g.gutachterId);
            l.w().zahl(einwohner * (0.8 + m_z.anteil() * 0.3) / 1000.0);
            if (id % 53 == 0) l.w().null();
            else l.w().zahl(double(einwohner));
            l.w().text(zahlText(47 + qint64(m_z.bis(8)), 2) + zahlText(qint64(m_z.bis(60)), 2) + zahlText(qint64(m_z.bis(6000)), 4));
            l.w().text(zahlText(6 + qint64(m_z.bis(9)), 2) + zahlText(qint64(m_z.bis(60)), 2) + zahlText(qint64(m_z.bis(6000)), 4));
            l.w().ganz(3300000 + qint64(m_z.bis(600000)));
            l.w().ganz(5200000 + qint64(m_z.bis(900000)));
            l.w().zahl(runde(2 + m_z.anteil() * 150, 0.01));
            l.w().textOderNull(id % 7 == 0 ? "Stand der Daten: 31.12.2001" : "");
            l.w().zahl(runde(1 + m_z.anteil() * 4, 0.01));
            l.w().zahl(runde(1 + m_z.anteil() * 3, 0.01));
            if (id % 5 == 0) l.w().zahl(0);
            else l.w().zahl(runde(0.5 + m_z.anteil() * 2, 0.01));
            l.w().text(QDate(2001, 1, 1).addDays(qint64(m_z.bis(800))).toString(Qt::ISODate));
            for (int z = 0; z < 3; ++z) {
                const double basis = g.wert * (z == 0 ? 1.0 : z == 1 ? 0.85 : 0.45);
                l.w().text(zonenNutzung[z][m_z.bis(3)]);
                l.w().text(waehle(m_z, kEntwicklung));
                l.w().text(waehle(m_z, kBauweise));
                l.w().text(z == 2 ? "2,0" : "0,8");
                l.w().text(z == 2 ? "IV" : "II");
                l.w().text(zahlText(25 + qint64(m_z.bis(20))));
                l.w().text(zahlText(300 + qint64(m_z.bis(900))));
                l.w().text(waehle(m_z, kJaNein));
                l.w().zahl(runde(basis * 0.8, 1));
                l.w().zahl(runde(basis, 1));
                l.w().zahl(runde(basis * 1.25, 1));
                if (z == 2 && id % 4 == 0) l.w().zahl(0);
                else l.w().zahl(runde(basis, 5));
                l.w().textOderNull(id % 11 == z ? "Richtwertzone am Ortsrand" : "");
            }
            for (int z = 0; z < 3; ++z) {
                l.w().text(QDate(2001, 12, 31).toString(Qt::ISODate));
                l.w().text(waehle(m_z, kRichtwertTyp));
                l.w().text(m_kreise[size_t(g.kreis)].quelle);
            }
            l.fertig();
        }
    }

    // --- Regional reference tables of the place form ---

    struct Teile {
        QString l, r, k, g;
    };
    static Teile teile(const QString& s) { return {s.mid(0, 2), s.mid(2, 1), s.mid(3, 2), s.mid(5, 3)}; }

    void regionaltabellen() {
        const int kreise = int(m_kreise.size());
        auto adresse = [&](ZeilenSchreiber& w, int nr, const QString& ort, const QString& plz) {
            w.text(plz + " " + ort);
            w.text(QString("Amtsstraße %1").arg(1 + nr % 90));
            w.text(QString("0%1 %2").arg(300 + nr % 700).arg(200000 + nr * 91 % 700000));
            w.text(QString("0%1 %2-99").arg(300 + nr % 700).arg(200000 + nr * 91 % 700000));
        };
        const int ihks = qMin(79, kreise);
        const int amtsgerichte = qMin(640, int(m_gemeinden.size()));
        const int landgerichte = qMin(115, kreise);
        const int olgs = 24, vgs = 51, arbeitsaemter = qMin(176, kreise);

        {
            Lauf l(*this, "stadt_und_gemeinde",
                   {"id", "landsch", "rbsch", "kreissch", "gemeindesch", "stadt_gemeinde", "nr_des_bauamtes", "nr_der_ihk",
                    "nr_des_katasteramtes", "nr_des_landratamtes", "nr_des_liegenschaftsamtes"},
                   qint64(m_gemeinden.size()));
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                l.w().ganz(++id);
                l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                l.w().text(g.name.left(60));
                l.w().ganz(g.kreis + 1);
                l.w().ganz(g.kreis * ihks / kreise + 1);
                l.w().ganz(g.kreis + 1);
                if (m_kreise[size_t(g.kreis)].kreisfrei) l.w().null();
                else l.w().ganz(g.kreis + 1);
                l.w().ganz(g.kreis + 1);
                l.fertig();
            }
        }
        for (const auto& [tabelle, nummer, titel] :
             {std::tuple{"bauamt", "nr_des_bauamtes", "Bauamt"},
              std::tuple{"liegenschaftsamt", "nr_des_liegenschaftsamtes", "Liegenschaftsamt"},
              std::tuple{"katasteramt", "nr_des_katasteramtes", "Katasteramt"}}) {
            Lauf l(*this, tabelle,
                   {"id", nummer, "plz_und_ort", "strasse_und_hausnr", "telefon", "telefax", "bemerkung"}, kreise);
            for (int i = 0; i < kreise; ++i) {
                const GemeindeD& sitz = m_gemeinden[size_t(m_kreise[size_t(i)].ersteGemeinde)];
                l.w().ganz(i + 1);
                l.w().ganz(i + 1);
                adresse(l.w(), i, sitz.name, sitz.plz);
                l.w().textOderNull(i % 4 == 0 ? u8(QString(titel) + " " + m_kreise[size_t(i)].kurz) : "");
                l.fertig();
            }
        }
        {
            Lauf l(*this, "landratsamt",
                   {"id", "nr_des_landratamtes", "landratsamt", "plz_und_ort", "strasse_und_hausnr", "telefon", "telefax",
                    "mail"},
                   kreise);
            int id = 0;
            for (int i = 0; i < kreise; ++i) {
                const KreisD& k = m_kreise[size_t(i)];
                if (k.kreisfrei) continue;
                const GemeindeD& sitz = m_gemeinden[size_t(k.ersteGemeinde)];
                l.w().ganz(++id);
                l.w().ganz(i + 1);
                l.w().text(("Landratsamt " + k.kurz).left(100));
                adresse(l.w(), i, sitz.name, sitz.plz);
                l.w().text(QString("poststelle@lra-%1.example.de").arg(k.kenn));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "ihk", {"id", "nr_der_ihk", "ihk", "plz_und_ort", "strasse_und_hausnr", "telefon", "telefax"}, ihks);
            for (int i = 0; i < ihks; ++i) {
                const KreisD& k = m_kreise[size_t(i * kreise / ihks)];
                const GemeindeD& sitz = m_gemeinden[size_t(k.ersteGemeinde)];
                l.w().ganz(i + 1);
                l.w().ganz(i + 1);
                l.w().text("Industrie- und Handelskammer " + sitz.name);
                adresse(l.w(), i, sitz.name, sitz.plz);
                l.fertig();
            }
        }
        // Courts: assignment per municipality, the courts themselves by number.
        struct Gericht {
            const char* zuordnung;
            const char* idOrt;
            const char* tabelle;
            const char* idGericht;
            const char* name;
            const char* titel;
            int anzahl;
            bool telefon;
        };
        const Gericht gerichte[] = {
            {"amtsgerichte_orte", "id_amtsgericht", "amtsgerichte", "id_amtsgericht", "amtsgericht", "Amtsgericht",
             amtsgerichte, false},
            {"landgerichte_orte", "id_landgericht", "landgericht", "id_landgericht", "landgericht", "Landgericht",
             landgerichte, false},
            {"oberlandgerichte_orte", "id_oberlandgericht", "oberlandgerichte", "id_oberlandgericht", "oberlandgericht",
             "Oberlandesgericht", olgs, false},
            {"verwaltungsgerichte_orte", "id_verwaltungsgericht", "verwaltungsgerichte", "id_verwaltungsgerichte",
             "verwaltungsgerichte", "Verwaltungsgericht", vgs, true},
        };
        const int gemeinden = int(m_gemeinden.size());
        for (const Gericht& ge : gerichte) {
            {
                Lauf l(*this, ge.zuordnung, {"id", "landsch", "rbsch", "kreissch", "gemeindesch", ge.idOrt}, gemeinden);
                int id = 0;
                for (int gi = 0; gi < gemeinden; ++gi) {
                    const Teile t = teile(m_gemeinden[size_t(gi)].schluessel);
                    l.w().ganz(++id);
                    l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                    // A few municipalities are assigned to a court that is not on file.
                    if (gi % 997 == 500) l.w().ganz(ge.anzahl + 1000);
                    else l.w().ganz(qint64(gi) * ge.anzahl / gemeinden + 1);
                    l.fertig();
                }
            }
            QStringList spalten{"id", ge.idGericht, ge.name, "adresse"};
            if (ge.telefon) spalten << "tel_nummer";
            Lauf l(*this, ge.tabelle, spalten, ge.anzahl);
            for (int i = 0; i < ge.anzahl; ++i) {
                const GemeindeD& sitz = m_gemeinden[size_t(qint64(i) * gemeinden / ge.anzahl)];
                l.w().ganz(i + 1);
                l.w().ganz(i + 1);
                l.w().text(QString::fromUtf8(ge.titel) + " " + sitz.name);
                l.w().text(sitz.plz + " " + sitz.name + ", Gerichtsstraße " + QString::number(1 + i % 30));
                if (ge.telefon) l.w().text(QString("0%1 %2-0").arg(300 + i % 700).arg(300000 + i * 13));
                l.fertig();
            }
        }
        // Labour office: by the whole key; its address under "123.45".
        auto dstnr = [&](int amt) { return QString("%1").arg(100 + amt, 3, 10, QChar('0')) + QString("%1").arg(amt % 100, 2, 10, QChar('0')); };
        {
            Lauf l(*this, "arbeitsamt", {"id", "gemschl", "plz_arbeitsamt", "zust_arbeitsamt", "geschaeftsstelle", "dstnr"},
                   gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const int amt = g.kreis * arbeitsaemter / kreise;
                const GemeindeD& sitz = m_gemeinden[size_t(m_kreise[size_t(amt * kreise / arbeitsaemter)].ersteGemeinde)];
                l.w().ganz(++id);
                l.w().text(g.schluessel);
                l.w().text(sitz.plz);
                l.w().text(("Agentur für Arbeit " + sitz.name).left(60));
                l.w().text(("Geschäftsstelle " + g.name).left(60));
                if (id % 101 == 0) l.w().null();
                else l.w().text(dstnr(amt));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "arbeitsamtadressen",
                   {"id", "dstnr", "plz_geb", "postfachadresse", "dienstgebäude", "vorwahl", "tel", "fax"}, arbeitsaemter);
            for (int amt = 0; amt < arbeitsaemter; ++amt) {
                const GemeindeD& sitz = m_gemeinden[size_t(m_kreise[size_t(amt * kreise / arbeitsaemter)].ersteGemeinde)];
                const QString d = dstnr(amt);
                l.w().ganz(amt + 1);
                l.w().text(d.left(3) + "." + d.right(2));
                l.w().text(sitz.plz);
                l.w().text(QString("Postfach %1, %2 %3").arg(10000 + amt * 7).arg(sitz.plz, sitz.name).left(100));
                l.w().text(QString("Arbeitsamtsweg %1, %2").arg(1 + amt % 20).arg(sitz.name).left(100));
                l.w().text(QString("0%1").arg(300 + amt % 700));
                l.w().text(QString::number(400000 + amt * 31));
                l.w().text(QString::number(400099 + amt * 31));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "gemeindeadressen",
                   {"id", "lsch", "rsch", "ksch", "gsch", "plz", "stadt_gemeinde", "strasse_und_hausnr", "tel", "fax", "mail",
                    "bemerkung"},
                   gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                l.w().ganz(++id);
                l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                l.w().text(g.plz);
                l.w().text(((g.typ == 2 ? "Gemeinde " : "Stadt ") + g.name).left(60));
                l.w().text(QString("Rathausplatz %1").arg(1 + id % 12));
                l.w().text(QString("0%1 %2").arg(300 + id % 700).arg(1000 + id));
                l.w().text(QString("0%1 %2-9").arg(300 + id % 700).arg(1000 + id));
                l.w().text(QString("rathaus@gemeinde-%1.example.de").arg(g.schluessel));
                l.w().textOderNull(id % 9 == 0 ? "Sprechzeiten Mo-Fr 8-12 Uhr" : "");
                l.fertig();
            }
        }
        {
            Lauf l(*this, "hebesatz_gewerbe",
                   {"id", "landsch", "rbsch", "kreissch", "gemeindesch", "jahr", "hebesatz_für_gewerbe", "grundsteuer_a",
                    "grundsteuer_b", "quellenangabe"},
                   gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                l.w().ganz(++id);
                l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                l.w().ganz(2001);
                l.w().zahl(double(300 + m_z.bis(200)));
                l.w().zahl(double(250 + m_z.bis(150)));
                l.w().zahl(double(300 + m_z.bis(250)));
                l.w().text("Statistisches Landesamt " + landName(t.l));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "pendler",
                   {"id", "landsch", "rbsch", "kreissch", "gemeindesch", "einpendler_2000", "auspendler_2000",
                    "quellenangabe"},
                   gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                l.w().ganz(++id);
                // Some rows hold region and district part exchanged, as delivered.
                const bool vertauscht = id % 29 == 0;
                l.w().text(t.l);
                l.w().text(vertauscht ? t.k : t.r);
                l.w().text(vertauscht ? t.r : t.k);
                l.w().text(t.g);
                const double e = std::round(g.gewicht * 83e6 * (0.1 + m_z.anteil() * 0.4));
                l.w().zahl(e);
                l.w().zahl(std::round(e * (0.5 + m_z.anteil())));
                l.w().text("Bundesagentur für Arbeit, Pendlerstatistik 2000");
                l.fertig();
            }
        }
        {
            Lauf l(*this, "arbeitslose",
                   {"id", "landsch", "rbsch", "kreissch", "gemeindesch", "ueberschrift", "bemerkung",
                    "arbeitslosenquote_10_2001", "quellenangabe"},
                   gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                l.w().ganz(++id);
                l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                l.w().text("Arbeitslosenquote im Oktober 2001");
                l.w().textOderNull(id % 13 == 0 ? "Bezirk der Geschäftsstelle" : "");
                l.w().zahl(runde(3 + m_z.anteil() * 17, 0.1));
                l.w().text("Bundesanstalt für Arbeit");
                l.fertig();
            }
        }
        {
            const QStringList namen{"naechste_stadt", "bundesstr", "bab", "bahnh", "ice_bahnh", "flugh",
                                    "naechste_krankenh", "naechstes_altersheim", "hallen_freibad",
                                    "naechste_senior_gerechte_wohnanl"};
            const QStringList km{"entf_km_n_stadt", "km_bundes", "km_bab", "km_bahnh", "km_ice", "km_flugh",
                                 "km_entf_krankenh", "entf_altersheim", "entf_hallen_freib", "entf_gerecht_wohna"};
            QStringList spalten{"id", "lsch", "rsch", "ksch", "gesch"};
            for (int i = 0; i < namen.size(); ++i) spalten << namen[i] << km[i];
            spalten << "kindergarten" << "schule" << "gewerbe_an" << "gewerbe_ab" << "waldfl_in_gemeinde";
            Lauf l(*this, "ortsinfo", spalten, gemeinden);
            int id = 0;
            for (const GemeindeD& g : m_gemeinden) {
                const Teile t = teile(g.schluessel);
                const GemeindeD& nachbar = m_gemeinden[size_t(m_kreise[size_t(g.kreis)].ersteGemeinde)];
                l.w().ganz(++id);
                l.w().text(t.l), l.w().text(t.r), l.w().text(t.k), l.w().text(t.g);
                for (int i = 0; i < namen.size(); ++i) {
                    if (id % 17 == i) {
                        l.w().null(), l.w().null();
                        continue;
                    }
                    l.w().text(i == 1 ? QString("B %1").arg(1 + id % 500) : i == 2 ? QString("A %1").arg(1 + id % 99) : nachbar.name.left(60));
                    l.w().zahl(runde(m_z.anteil() * 60, 0.5));
                }
                l.w().zahl(double(1 + m_z.bis(12)));
                l.w().zahl(double(1 + m_z.bis(8)));
                l.w().zahl(double(m_z.bis(200)));
                l.w().zahl(double(m_z.bis(150)));
                l.w().zahl(runde(m_z.anteil() * 40, 0.1));
                l.fertig();
            }
        }
    }

    // --- Plots ---

    void grundstuecke() {
        const bool falten = !m_db.dialekt().fuelltSuchspalten();
        QStringList spalten{
            "id", "id_orte", "gemeindeschluessel", "ortsteil", "strassen_name", "strassen_name_suche", "hausnummer",
            "hausnummer_numerisch", "flurstueck", "richtwert_minimal", "richtwert_durchschnitt", "richtwert_maximal",
            "richtwert_tatsaechlich", "bauliche_nutzung", "entwicklungszustand", "bauweise", "richtwerttyp", "bemerkung",
            "quellenangabe", "loeschen", "ausgefuellt", "geschossflaechenzahl", "anzahl_der_geschosse",
            "beitragspflichtig", "grundstueckstiefe", "grundstuecksflaeche", "sanierungsgebiet", "sananfangende",
            "x_koordinate", "y_koordinate", "umt_1", "umt_2", "strassenschluessel", "mosaic_nummer", "pogos",
            "pogos_cstaotk"};
        if (!falten) spalten.removeAll(QStringLiteral("strassen_name_suche"));
        std::vector<Name> teilNamen;
        for (const char* s : kStadtteil) teilNamen.push_back(name(QString::fromUtf8(s)));
        const char* const bemerkungen[] = {"Keine Bodenrichtwertangabe vom GAG", "Erschließungsbeitragsfrei",
                                           "Lage im Überschwemmungsgebiet", "Richtwert für Ecklage ± 10 %",
                                           "Baulücke"};
        const char* const geschosse[] = {"I", "II", "III", "IV", "I-II", "II-III"};
        const char* const gfz[] = {"0,4", "0,6", "0,8", "1,0", "1,2", "2,0"};

        Lauf l(*this, "grundstuecke", spalten, m_u.grundstuecke);
        ZeilenSchreiber& w = l.w();
        qint64 id = 0;
        std::string nr, zahlPuffer;
        for (size_t si = 0; si < m_strassen.size(); ++si) {
            const StrasseD& s = m_strassen[si];
            const GemeindeD& g = m_gemeinden[size_t(s.gemeinde)];
            const std::string schluessel = u8(g.schluessel);
            const Name strasse = s.name >= 0 ? m_strassenNamen[size_t(s.name)] : name(strassenName(s));
            const std::string& quelle = m_kreise[size_t(g.kreis)].quelle;
            const std::string strassenSchluessel = zahlText(qint64(si % 100000), 5);
            // A street lies in one zone: its codes and value.
            const double wert = runde(g.wert * (0.6 + m_z.anteil() * 0.8), 5);
            const bool ohneWerte = m_z.prozent(18);
            const char* nutzung = waehle(m_z, kNutzung);
            const char* entwicklung = waehle(m_z, kEntwicklung);
            const char* bauweise = waehle(m_z, kBauweise);
            const char* typ = waehle(m_z, kRichtwertTyp);
            const bool saniert = m_z.prozent(6);
            const long long hoch = 5200000 + (long long)m_z.bis(900000), rechts = 3300000 + (long long)m_z.bis(600000);
            int haus = 0;
            for (int p = 0; p < s.plots; ++p) {
                ++id;
                // House number: the street record first, then 1, 2, 3 ... with "12a", "7 b" and "1 2"
                // among them; the numeric value as the maintenance tool reads it (blanks skipped).
                double numerisch = 0;
                if (p == 0) {
                    nr = "9999";
                    numerisch = 9999;
                } else {
                    const int r = int(m_z.bis(1000));
                    if (r < 50 && haus > 0) {
                        nr = zahlText(haus) + char('a' + m_z.bis(3));
                    } else if (r < 60 && haus > 0) {
                        nr = zahlText(haus) + " " + char('b' + m_z.bis(2));
                    } else if (r < 63 && haus >= 10) {
                        nr = zahlText(haus / 10) + " " + zahlText(haus % 10);
                        ++haus;
                        numerisch = haus - 1;
                    } else {
                        nr = zahlText(++haus);
                    }
                    if (numerisch == 0) numerisch = haus;
                }
                w.ganz(id);
                w.ganz(g.ortId);
                w.text(schluessel);
                if (s.ortsteil >= 0) w.text(teilNamen[size_t(s.ortsteil)].text);
                else if (s.ortsteil == -2) w.text("");
                else w.null();
                w.text(strasse.text);
                if (falten) w.text(strasse.suche);
                w.text(nr);
                w.zahl(numerisch);
                w.text(zahlText(1 + qint64(m_z.bis(900))) + "/" + zahlText(1 + qint64(m_z.bis(30))));
                const bool leer = ohneWerte || m_z.prozent(3);
                if (leer) {
                    w.null(), w.null(), w.null(), w.null();
                } else {
                    w.zahl(runde(wert * 0.8, 1));
                    w.zahl(wert);
                    // A maximum of 0 shows empty, as a missing one does.
                    if (id % 97 == 0) w.zahl(0);
                    else w.zahl(runde(wert * 1.25, 1));
                    w.zahl(id % 89 == 0 ? 0.0 : wert);
                }
                // The first plots take every code in turn, so that every group is complete at any size.
                w.text(id <= qint64(std::size(kNutzung)) ? kNutzung[id - 1].code : nutzung);
                w.text(id <= 3 ? kEntwicklung[id - 1].code : entwicklung);
                w.text(id <= 3 ? kBauweise[id - 1].code : bauweise);
                w.text(id <= 3 ? kRichtwertTyp[id - 1].code : typ);
                const bool mitBemerkung = m_z.prozent(4);
                if (mitBemerkung) w.text(bemerkungen[m_z.bis(std::size(bemerkungen))]);
                else w.null();
                w.text(quelle);
                w.text(m_z.prozent(2) ? "ja" : "nein");
                w.text(!leer || mitBemerkung ? "j" : "n");
                w.text(gfz[m_z.bis(std::size(gfz))]);
                w.text(geschosse[m_z.bis(std::size(geschosse))]);
                w.text(id <= 2 ? kJaNein[id - 1].code : waehle(m_z, kJaNein));
                if (m_z.prozent(10)) w.null();
                else w.text(zahlText(20 + qint64(m_z.bis(30))));
                w.text(zahlText(200 + qint64(m_z.bis(1200))));
                w.text(saniert || id == 1 ? "j" : "n");
                if (saniert || id <= 3) w.text(id <= 3 ? kAnfangEnd[id - 1].code : waehle(m_z, kAnfangEnd));
                else w.null();
                w.text(zahlText(hoch + p * 7));
                w.text(zahlText(rechts + p * 5));
                w.text(zahlText(32000000 + rechts));
                w.text(zahlText(hoch));
                w.text(strassenSchluessel);
                if (m_z.prozent(30)) w.text(schluessel + zahlText(qint64(si * 100 + p % 100), 8));
                else w.null();
                if (m_z.prozent(2)) {
                    w.text("ja");
                    w.text(zahlText(qint64(m_z.bis(99999999)), 8));
                } else {
                    w.null(), w.null();
                }
                l.fertig();
            }
        }
    }

    // --- Market overviews: rows at municipality and at district level ---

    void markt() {
        const int gemeindeTabellen = qMax(1, int(m_gemeinden.size()) / 10);
        for (const Tabelle& t : tabellenMarkt()) {
            QStringList spalten;
            for (const Spalte& s : t.spalten) spalten << s.name;
            Lauf l(*this, t.name, spalten, 0);
            qint64 id = 0;
            int tabellenNr = 0;
            auto tabelle = [&](const QString& schluessel, const QString& gemeindesch, const QString& gebiet, int zeilen) {
                const Teile k = teile(schluessel);
                const int jahr = 1998 + int(m_z.bis(5));
                // Two headlines per table now and then; one headline under two numbers too.
                const int ueberschriften = m_z.prozent(30) ? 2 : 1;
                for (int u = 0; u < ueberschriften; ++u) {
                    ++tabellenNr;
                    const QString ueb = "Marktbericht " + QString::number(jahr + u) + ": " + gebiet +
                                        (u ? " (Nachtrag)" : "");
                    for (int r = 1; r <= zeilen; ++r) {
                        l.w().ganz(++id);
                        for (const Spalte& s : t.spalten) {
                            if (s.name == "id") continue;
                            fuelleMarkt(l.w(), s, k, gemeindesch, ueb, tabellenNr, r, gebiet, jahr);
                        }
                        l.fertig();
                    }
                }
            };
            // District level: every district (row key part "000" names no municipality of a rural district).
            for (const KreisD& kr : m_kreise) tabelle(kr.kenn + "000", "000", kr.name, 3 + int(m_z.bis(4)));
            // Municipality level: the larger towns of rural districts.
            int n = 0;
            for (const GemeindeD& g : m_gemeinden) {
                if (m_kreise[size_t(g.kreis)].kreisfrei || g.typ != 1) continue;
                if (++n > gemeindeTabellen) break;
                tabelle(g.schluessel, g.schluessel.mid(5, 3), g.name, 3 + int(m_z.bis(4)));
            }
        }
    }

    void fuelleMarkt(ZeilenSchreiber& w, const Spalte& s, const Teile& k, const QString& gemeindesch,
                     const QString& ueb, int tabellenNr, int zeile, const QString& gebiet, int jahr) {
        const QString& n = s.name;
        if (n == "landsch") return w.text(k.l);
        if (n == "rbsch") return w.text(k.r);
        if (n == "kreissch") return w.text(k.k);
        if (n == "gemeindesch") return w.text(gemeindesch);
        if (n == "ueberschrift") return w.text(ueb);
        if (n == "tabellennr") return w.ganz(tabellenNr);
        if (n == "datensatznr") return w.ganz(zeile);
        if (n == "stadt_oder_landkreis") return w.text(gebiet.left(100));
        if (n == "quellenangabe") return w.text("Grundstücksmarktbericht " + QString::number(jahr));
        if (n == "copyright") return w.text("© Gutachterausschuss " + gebiet.section(',', 0, 0));
        if (n == "bemerkung_tabelle") return zeile % 2 ? w.text("Preise in Euro, ohne Nebenkosten") : w.null();
        if (n == "kaufjahr" || n == "jahr") return w.text(QString::number(jahr));
        if (n == "baujahr") return w.text(QString("%1-%2").arg(1950 + zeile * 10).arg(1959 + zeile * 10));
        if (n == "basisjahr") return w.text("1995");
        if (n == "lgz_fuer") return w.text(zeile % 2 ? "Einfamilienhäuser" : "Mehrfamilienhäuser");
        if (n == "teilmarkt_oder_insgesamt") return w.text(zeile == 1 ? "insgesamt" : "unbebaute Grundstücke");
        // Euro amounts missing where only the former DM amounts were delivered.
        const bool nurDm = zeile == 3;
        const double basis = 50000 + 10000 * zeile + double(m_z.bis(50000));
        if (n == "minimal") return nurDm ? w.null() : w.zahl(runde(basis * 0.8, 100));
        if (n == "durchschnitt") return nurDm ? w.null() : w.zahl(runde(basis, 100));
        if (n == "maximal") return nurDm ? w.null() : w.zahl(zeile == 4 ? 0 : runde(basis * 1.3, 100));
        if (n == "minimal_dm") return w.zahl(runde(basis * 0.8 * 1.95583, 100));
        if (n == "durchschnitt_dm") return w.zahl(runde(basis * 1.95583, 100));
        if (n == "maximal_dm") return w.zahl(runde(basis * 1.3 * 1.95583, 100));
        if (n == "geldumsatz_in_mio_euro") return nurDm ? w.null() : w.zahl(runde(basis / 1000, 0.1));
        if (n == "geldumsatz_in_mio_dm") return w.zahl(runde(basis / 1000 * 1.95583, 0.1));
        if (s.typ == Typ::Zahl) return w.zahl(runde(1 + m_z.anteil() * 120, 0.01));
        if (s.typ == Typ::Ganzzahl) return w.ganz(qint64(10 + m_z.bis(900)));
        if (s.typ == Typ::Datum) return w.text(QDate(jahr, 12, 31).toString(Qt::ISODate));
        static const QHash<QString, QString> texte{
            {"stadtteil", "Innenstadt"}, {"grundstuecksgroesse", "300-600 m²"}, {"wohnflaeche", "100-140 m²"},
            {"anzahl_der_wohneinheiten", "3-6"}, {"flaeche", "60-90 m²"}, {"ausstattung", "mittel"},
            {"lage", "gute Wohnlage"}, {"bauwerksart", "Wohngebäude"}, {"koeffizient", "GFZ 0,8"},
            {"art_des_koeffizients", "Umrechnung nach Geschossflächenzahl"}};
        if (n.startsWith("bemerkung")) return zeile % 3 ? w.null() : w.text("Auswertung über 12 Kauffälle");
        return w.text(texte.value(n, QStringLiteral("k. A.")));
    }

    // --- Users, customers, invoices, the query log, the access log ---

    void abrechnung() {
        const char* const firmen[] = {"Müller Immobilien GmbH", "Sparkasse", "Volksbank Raiffeisenbank eG",
                                      "Öffentliche Versicherung", "Bauträger Schäfer & Söhne",
                                      "Landesbausparkasse Süd", "Ingenieurbüro Weiß", "Grundstücksbörse Köhler",
                                      "Sachverständigenbüro Dr. Groß", "Wohnungsbaugesellschaft Überlingen mbH"};
        const int kunden = m_u.kunden;
        struct Kunde {
            QString login, name;
        };
        std::vector<Kunde> k;
        for (int i = 0; i < kunden; ++i) {
            const GemeindeD& g = m_gemeinden[size_t(i * 7919 % int(m_gemeinden.size()))];
            k.push_back({QString("kunde%1").arg(i + 1, 4, 10, QChar('0')),
                         (QString::fromUtf8(firmen[i % std::size(firmen)]) + " " + g.name).left(100)});
        }
        {
            Lauf l(*this, "benutzer",
                   {"id", "name", "strasse", "plz", "ort", "telefon", "telefax", "email", "ansprechpartner", "durchwahl",
                    "abrechnungsmodus", "account", "schreibmodus"},
                   kunden + 20);
            for (int i = 0; i < kunden + 20; ++i) {
                const GemeindeD& g = m_gemeinden[size_t(i * 7919 % int(m_gemeinden.size()))];
                l.w().ganz(i + 1);
                l.w().text(i < kunden ? k[size_t(i)].name : QString("Interner Benutzer %1").arg(i - kunden + 1));
                l.w().text(QString("Geschäftsstraße %1").arg(1 + i % 80));
                l.w().text(g.plz);
                l.w().text(g.name);
                l.w().text(QString("0%1 %2").arg(300 + i % 700).arg(50000 + i));
                l.w().text(QString("0%1 %2-1").arg(300 + i % 700).arg(50000 + i));
                l.w().text(QString("kontakt%1@example.de").arg(i + 1));
                l.w().text(i % 3 ? "Frau Schröder" : "Herr Weißmann");
                l.w().text(QString::number(10 + i % 90));
                l.w().text(i % 4 ? "M" : "Q");
                l.w().text(i < kunden ? k[size_t(i)].login : QString("intern%1").arg(i - kunden + 1));
                l.w().text(i % 5 ? "N" : "J");
                l.fertig();
            }
        }
        {
            Lauf l(*this, "rechnungs_kunden", {"id", "benutzername", "name", "zusatz", "strasse", "plz", "ort"}, kunden);
            for (int i = 0; i < kunden; ++i) {
                const GemeindeD& g = m_gemeinden[size_t(i * 7919 % int(m_gemeinden.size()))];
                l.w().ganz(i + 1);
                l.w().text(k[size_t(i)].login);
                l.w().text(k[size_t(i)].name);
                if (i % 3 == 0) l.w().null();
                else if (i % 3 == 1) l.w().text("");
                else l.w().text("z. Hd. Buchhaltung");
                l.w().text(QString("Geschäftsstraße %1").arg(1 + i % 80));
                l.w().text(g.plz);
                l.w().text(g.name);
                l.fertig();
            }
        }

        // The log: rows by day over two years; invoiced monthly, the last weeks still open.
        const QDate ende = protokollEnde();
        const QDate anfang = ende.addYears(-2).addDays(1);
        const qint64 tage = anfang.daysTo(ende) + 1;
        const QDate offenAb = QDate(ende.year(), ende.month(), 1).addMonths(-1);  // last run: start of last month
        const QDate gutachterOffenAb = QDate(ende.year(), ((ende.month() - 1) / 3) * 3 + 1, 1);
        struct Zeile {
            int tag;
            int benutzer;  // customers first; >= kunden: not a customer
            int art;       // 0 plot, 1 place, 2 market
        };
        std::vector<Zeile> zeilen(size_t(m_u.protokoll));
        for (int i = 0; i < m_u.protokoll; ++i) {
            Zeile& z = zeilen[size_t(i)];
            z.tag = int(qint64(i) * tage / m_u.protokoll);
            // Busy customers query more: a skewed choice; some rows from logins without a customer record.
            z.benutzer = m_z.prozent(5) ? kunden + int(m_z.bis(8))
                                        : int(std::pow(m_z.anteil(), 1.8) * kunden) % kunden;
            const int r = int(m_z.bis(100));
            z.art = r < 60 ? 0 : r < 85 ? 1 : 2;
        }
        const double preise[3] = {12.5, 2.5, 10.0};
        // Invoices: one per customer and month with priced rows, numbered in run order.
        QMap<QPair<int, int>, qint64> rechnung;  // (month index, customer) -> number
        QMap<qint64, double> netto;
        QMap<qint64, QDate> laufTag;
        {
            QMap<int, QSet<int>> jeMonat;
            for (const Zeile& z : zeilen) {
                const QDate d = anfang.addDays(z.tag);
                if (d >= offenAb || z.benutzer >= kunden) continue;
                jeMonat[d.year() * 12 + d.month() - 1].insert(z.benutzer);
            }
            qint64 nummer = 0;
            for (auto it = jeMonat.cbegin(); it != jeMonat.cend(); ++it) {
                const QDate lauf = QDate(it.key() / 12, it.key() % 12 + 1, 1).addMonths(1);
                if (nummer == 0) nummer = qint64(lauf.year()) * 1000;
                QList<int> l = it.value().values();
                std::sort(l.begin(), l.end());  // the run goes through the log by user
                for (int b : l) {
                    rechnung[{it.key(), b}] = ++nummer;
                    laufTag[nummer] = lauf;
                }
            }
        }
        const QString version = QString("%1.%2%3").arg(TALU_VERSION_MAJOR).arg(TALU_VERSION_MINOR).arg(TALU_VERSION_REVISION);
        {
            Lauf l(*this, "abfrageprotokoll",
                   {"id", "datum", "uhrzeit", "vorgang", "pc_benutzer", "db_benutzer", "objekt", "gemeindeschluessel",
                    "computername", "offen", "preis", "preis_gutachter", "offen_gutachter", "version", "rechnungsnummer",
                    "abgerechnet_eigen", "abgerechnet_gutachter"},
                   m_u.protokoll);
            const std::string vorgang[3] = {u8("Grundstücksdaten"), "Ortsdaten", u8("Marktübersichten")};
            const char* const marktTitel[] = {"Kaufpreise für Doppelhaushälften", "Mietwerte für Wohnraum",
                                              "Liegenschaftszins", "Bodenpreisindex"};
            qint64 id = 0;
            for (const Zeile& z : zeilen) {
                const QDate d = anfang.addDays(z.tag);
                const int monat = d.year() * 12 + d.month() - 1;
                const OrtD& o = m_orte[size_t(m_z.bis(m_orte.size()))];
                const GemeindeD& g = m_gemeinden[size_t(o.gemeinde)];
                const QString ortAnzeige = o.plz + " " + o.name;
                const bool kunde = z.benutzer < kunden;
                const bool offen = d >= offenAb;
                // A few plot queries of places without price.
                const double preis = z.art == 0 && id % 41 == 0 ? 0.0 : preise[z.art];
                const qint64 nr = kunde && !offen && preis > 0 ? rechnung.value({monat, z.benutzer}) : 0;
                if (nr) netto[nr] += preis;
                ++id;
                l.w().ganz(id);
                l.w().text(d.toString(Qt::ISODate));
                l.w().text(zahlText(7 + int(id % 11), 2) + ":" + zahlText(id * 7 % 60, 2));
                l.w().text(vorgang[z.art]);
                l.w().text(QString("nutzer%1").arg(z.benutzer % 50));
                l.w().text(kunde ? k[size_t(z.benutzer)].login : QString("intern%1").arg(z.benutzer - kunden + 1));
                if (z.art == 0) {
                    const StrasseD& s = m_strassen[size_t(g.ersteStrasse)];
                    l.w().text(ortAnzeige + " - " + strassenName(s) + (id % 7 ? " " + QString::number(1 + id % 60) : QString()));
                } else if (z.art == 1) {
                    l.w().text(ortAnzeige);
                } else {
                    l.w().text(ortAnzeige + " - " + QString::fromUtf8(marktTitel[id % std::size(marktTitel)]));
                }
                l.w().text(g.schluessel);
                l.w().text(QString("PC-%1").arg(z.benutzer % 300, 3, 10, QChar('0')));
                l.w().text(offen ? "ja" : "nein");
                l.w().zahl(preis);
                if (z.art == 0) l.w().zahl(preis > 0 ? 5.0 : 0.0);
                else l.w().null();
                const bool gutachterOffen = d >= gutachterOffenAb;
                if (z.art == 1) l.w().null();
                else l.w().text(gutachterOffen ? "ja" : "nein");
                if (z.art == 1) l.w().text(version);
                else l.w().null();
                if (nr) l.w().ganz(nr);
                else l.w().null();
                l.w().text(kunde && !offen ? "J" : "N");
                l.w().text(z.art != 1 && !gutachterOffen ? "J" : "N");
                l.fertig();
            }
        }
        {
            Lauf l(*this, "rechnungen",
                   {"id", "rechnungsnummer", "rechnungsdatum", "kundenname", "nettobetrag", "steuer", "bruttobetrag",
                    "offen", "zahlungsziel"},
                   rechnung.size());
            // Which customer an invoice belongs to.
            QHash<qint64, int> kundeVon;
            for (auto it = rechnung.cbegin(); it != rechnung.cend(); ++it) kundeVon[it.value()] = it.key().second;
            qint64 id = 0;
            QList<qint64> nummern = kundeVon.keys();
            std::sort(nummern.begin(), nummern.end());
            const QDate letzterLauf = nummern.isEmpty() ? QDate() : laufTag.value(nummern.last());
            for (qint64 nr : nummern) {
                const QDate lauf = laufTag.value(nr);
                const double n = netto.value(nr);
                l.w().ganz(++id);
                l.w().ganz(nr);
                l.w().text(lauf.toString(Qt::ISODate));
                l.w().text(k[size_t(kundeVon.value(nr))].name);
                l.w().zahl(n);
                l.w().zahl(n * 0.16);
                l.w().zahl(n * 1.16);
                // The invoices of the last run and a few older ones are still unpaid.
                l.w().text(lauf == letzterLauf || id % 50 == 0 ? "ja" : "nein");
                l.w().text(lauf.addDays(14).toString(Qt::ISODate));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "protokoll", {"id", "name", "datum", "zeit", "vorgang"}, m_u.zugangsprotokoll);
            for (int i = 0; i < m_u.zugangsprotokoll; ++i) {
                l.w().ganz(i + 1);
                l.w().text(k[size_t(i * 31 % kunden)].login);
                l.w().text(anfang.addDays(qint64(i) * tage / m_u.zugangsprotokoll).toString(Qt::ISODate));
                l.w().text(zahlText(7 + i % 11, 2) + ":" + zahlText(i * 13 % 60, 2));
                l.w().text(i % 2 ? "Abmeldung" : "Anmeldung");
                l.fertig();
            }
        }
    }

    // --- Staging tables of the imports ---

    void staging() {
        const int strassen = m_u.stagingStrassen;
        // Street keys: the plot streets first (so imports find matches), then more.
        auto strasseNr = [&](int i) -> const StrasseD& { return m_strassen[size_t(i % int(m_strassen.size()))]; };
        auto strassenKey = [&](int i) { return zahlText(i % 100000, 5); };
        for (const auto& [tabelle, spalten] :
             {std::pair{"str111", QStringList{"id", "gs", "ss", "straßenname"}},
              std::pair{"strassen", QStringList{"id", "strassenschlüssel", "gemeindeschlüssel", "straßenname"}}}) {
            const bool str111 = QLatin1String(tabelle) == QLatin1String("str111");
            Lauf l(*this, tabelle, spalten, strassen);
            for (int i = 0; i < strassen; ++i) {
                const StrasseD& s = strasseNr(i);
                const QString key = m_gemeinden[size_t(s.gemeinde)].schluessel;
                l.w().ganz(i + 1);
                if (str111) {
                    l.w().text(key);
                    l.w().text(strassenKey(i));
                } else {
                    l.w().text(strassenKey(i));
                    l.w().text(key);
                }
                l.w().text(i < int(m_strassen.size()) ? strassenName(s) : strassenName(s) + " " + QString::number(i / int(m_strassen.size()) + 1));
                l.fertig();
            }
        }
        for (const auto& [tabelle, spalten] :
             {std::pair{"geb111", QStringList{"id", "gs", "ss", "hausnummer", "zusatz", "hochwert", "rechtswert"}},
              std::pair{"gebäude", QStringList{"id", "gemeindeschlüssel", "strassenschlüssel", "hausnummer", "hochwert", "rechtswert"}}}) {
            const bool geb111 = QLatin1String(tabelle) == QLatin1String("geb111");
            Lauf l(*this, tabelle, spalten, m_u.gebaeude);
            for (int i = 0; i < m_u.gebaeude; ++i) {
                // Buildings of about 40 per street; some of streets that are not on file.
                const int strasse = m_z.prozent(4) ? strassen + int(m_z.bis(1000)) : int(qint64(i) * strassen / qMax(1, m_u.gebaeude));
                const StrasseD& s = strasseNr(strasse);
                l.w().ganz(i + 1);
                l.w().text(m_gemeinden[size_t(s.gemeinde)].schluessel);
                l.w().text(strassenKey(strasse));
                l.w().text(zahlText(1 + i % 40));
                if (geb111) {
                    if (i % 9 == 0) l.w().text(QString(QChar('a' + i % 3)));
                    else l.w().null();
                }
                l.w().text(zahlText(5200000 + qint64(m_z.bis(900000))));
                l.w().text(zahlText(3300000 + qint64(m_z.bis(600000))));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "pogos", {"id", "gemeindeschluessel", "strassenname", "stadtteil", "cstaotk"}, m_u.pogos);
            for (int i = 0; i < m_u.pogos; ++i) {
                const StrasseD& s = strasseNr(int(m_z.bis(m_strassen.size())));
                l.w().ganz(i + 1);
                l.w().text(m_gemeinden[size_t(s.gemeinde)].schluessel);
                l.w().text(strassenName(s));
                if (s.ortsteil >= 0) l.w().text(kStadtteil[s.ortsteil]);
                else l.w().null();
                l.w().text(zahlText(qint64(m_z.bis(99999999)), 8));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "mosaic", {"id", "haus_id", "haus_strasse", "haus_hausnr", "haus_hausnr_zusatz", "haus_otl_name"},
                   m_u.mosaic);
            for (int i = 0; i < m_u.mosaic; ++i) {
                const StrasseD& s = strasseNr(int(m_z.bis(m_strassen.size())));
                // A few rows name a municipality that is not on file.
                const QString key = i % 37 == 0 ? QString("99999%1").arg(i % 1000, 3, 10, QChar('0')) : m_gemeinden[size_t(s.gemeinde)].schluessel;
                l.w().ganz(i + 1);
                l.w().text(key + QString::number(1000000000LL + i));
                l.w().text(strassenName(s));
                l.w().text(zahlText(1 + i % 80));
                if (i % 11 == 0) l.w().text("a");
                else l.w().null();
                if (s.ortsteil >= 0) l.w().text(kStadtteil[s.ortsteil]);
                else l.w().null();
                l.fertig();
            }
        }
        {
            // One municipality's delivery, keyed by its house ids.
            const GemeindeD& g = m_gemeinden[size_t(m_z.bis(m_gemeinden.size()))];
            const char* const sanAe[] = {"a", " E ", "k", "x", ""};
            Lauf l(*this, "aurich",
                   {"id", "haus_id", "haus_bodenwert", "haus_gfz", "haus_bauweise", "haus_beitragspflichtig",
                    "haus_sanierungsgeb", "haus_grundst_tiefe", "haus_entwicklungszustand", "haus_grundst_fläche",
                    "haus_azdgeschosse", "haus_bauliche_nutzung", "haus_bemerkung", "haus_wert", "haus_san_ae"},
                   m_u.aurich);
            for (int i = 0; i < m_u.aurich; ++i) {
                l.w().ganz(i + 1);
                l.w().text(g.schluessel + QString::number(1000000000LL + i));
                l.w().text(QString::number(60 + i % 140));
                l.w().text("0,8");
                l.w().text(waehle(m_z, kBauweise));
                l.w().text(waehle(m_z, kJaNein));
                l.w().text(i % 20 ? "n" : "j");
                l.w().text(zahlText(25 + i % 20));
                l.w().text(waehle(m_z, kEntwicklung));
                l.w().text(zahlText(400 + i % 800));
                l.w().text("II");
                l.w().text(waehle(m_z, kNutzung));
                if (i % 10 == 0) l.w().text("Ecklage");
                else l.w().null();
                l.w().text(waehle(m_z, kRichtwertTyp));
                l.w().text(sanAe[i % std::size(sanAe)]);
                l.fertig();
            }
        }
        {
            Lauf l(*this, "import_11062002_1", {"id", "schlüssel", "strasse", "zonen_nr"}, m_u.zonenStrassen);
            for (int i = 0; i < m_u.zonenStrassen; ++i) {
                const StrasseD& s = strasseNr(i);
                l.w().ganz(i + 1);
                // Keys as delivered: some with blanks around them; names in any case.
                const QString key = m_gemeinden[size_t(s.gemeinde)].schluessel;
                l.w().text(i % 5 == 0 ? " " + key + " " : key);
                const QString n = strassenName(s);
                l.w().text(i % 3 == 0 ? n.toUpper() : n);
                l.w().ganz(1 + i % qMax(1, m_u.zonen / qMax(1, int(m_gemeinden.size())) + 3));
                l.fertig();
            }
        }
        {
            Lauf l(*this, "import_11062002_2",
                   {"id", "gemeindesch", "zonen_nr", "brw_minimal", "brw_maximal", "brw_durchschnittlich",
                    "brw_tatsaechlich", "bauliche_nutzung", "entwicklungszustand", "bauweise", "gfz",
                    "anzahl_der_geschosse", "grundstueckstiefe", "grundstuecksflaeche", "beitragspflichtig",
                    "sanierungsgebiet", "anfangs_oder_endwert", "richtwerttyp", "bemerkung"},
                   m_u.zonen);
            const int jeGemeinde = qMax(1, m_u.zonen / qMax(1, int(m_gemeinden.size())) + 3);
            for (int i = 0; i < m_u.zonen; ++i) {
                const GemeindeD& g = m_gemeinden[size_t((i / jeGemeinde) % int(m_gemeinden.size()))];
                const double w = runde(g.wert * (0.6 + m_z.anteil() * 0.8), 5);
                l.w().ganz(i + 1);
                l.w().text(g.schluessel);
                l.w().ganz(1 + i % jeGemeinde);
                l.w().zahl(runde(w * 0.8, 1));
                l.w().zahl(runde(w * 1.25, 1));
                l.w().zahl(w);
                l.w().zahl(w);
                l.w().text(waehle(m_z, kNutzung));
                l.w().text(waehle(m_z, kEntwicklung));
                l.w().text(waehle(m_z, kBauweise));
                l.w().text("0,8");
                l.w().text("II");
                l.w().text("35");
                l.w().text("600");
                l.w().text(waehle(m_z, kJaNein));
                l.w().text("n");
                l.w().text(waehle(m_z, kAnfangEnd));
                l.w().text(waehle(m_z, kRichtwertTyp));
                if (i % 6 == 0) l.w().text("Zone am Ortsrand");
                else l.w().null();
                l.fertig();
            }
        }
    }

    const Datenbank& m_db;
    Umfang m_u;
    const Referenzdaten& m_ref;
    FortschrittsMeldung m_meldung;
    Zufall m_z;
    std::unique_ptr<ZeilenSchreiber> m_schreiber;
    Erzeugt m_e;
    QElapsedTimer m_uhr;
    std::vector<Name> m_strassenNamen;
    std::vector<KreisD> m_kreise;
    std::vector<GemeindeD> m_gemeinden;
    std::vector<OrtD> m_orte;
    std::vector<StrasseD> m_strassen;
};

}  // namespace

Umfang Umfang::fuer(qint64 grundstuecke) {
    Umfang u;
    u.grundstuecke = qMax(kKleinste, grundstuecke);
    const double f = double(u.grundstuecke) / double(kDeutschland);
    auto teil = [&](double voll, int mindestens) { return qMax(mindestens, int(std::lround(voll * f))); };
    u.gemeinden = teil(11000, Referenzdaten::kKreise);
    u.orte = u.gemeinden + teil(2000, 100);
    u.strassen = qMin<qint64>(u.grundstuecke / 4, teil(60000, u.gemeinden));
    u.strassen = qMax(u.strassen, u.gemeinden);
    u.protokoll = teil(500000, 1000);
    u.kunden = teil(1000, 20);
    u.gebaeude = teil(1000000, 100);
    u.stagingStrassen = teil(100000, 100);
    u.pogos = teil(100000, 100);
    u.mosaic = teil(200000, 100);
    u.aurich = teil(50000, 50);
    u.zonenStrassen = teil(100000, 100);
    u.zonen = teil(20000, 50);
    u.zugangsprotokoll = teil(20000, 100);
    return u;
}

qint64 Erzeugt::summe() const {
    qint64 s = 0;
    for (qint64 n : zeilen) s += n;
    return s;
}

QDate protokollEnde() { return QDate(2025, 6, 30); }

Erzeugt erzeugeBenchDaten(const Datenbank& db, const Umfang& u, const Referenzdaten& ref,
                          const FortschrittsMeldung& meldung) {
    Generator g(db, u, ref, meldung);
    return g.lauf();
}

}  // namespace talu::bench
