#include "Referenzdaten.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextStream>

#include "BenchZufall.h"

namespace talu::bench {

namespace {

const char* const kLaender[] = {"Schleswig-Holstein", "Hamburg",        "Niedersachsen",       "Bremen",
                                "Nordrhein-Westfalen", "Hessen",        "Rheinland-Pfalz",     "Baden-Württemberg",
                                "Bayern",              "Saarland",      "Berlin",              "Brandenburg",
                                "Mecklenburg-Vorpommern", "Sachsen",    "Sachsen-Anhalt",      "Thüringen"};

struct Bezirk {
    const char* kenn;
    const char* name;
    int kreise;  // districts under this prefix, as in the real key list
};
// The 38 prefixes of the district keys; a prefix ending in 0 is a state without regions.
const Bezirk kBezirke[] = {
    {"010", nullptr, 15},          {"020", nullptr, 1},        {"031", "Braunschweig", 10},
    {"032", "Hannover", 7},        {"033", "Lüneburg", 11},    {"034", "Weser-Ems", 17},
    {"040", nullptr, 2},           {"051", "Düsseldorf", 15},  {"053", "Köln", 11},
    {"055", "Münster", 8},         {"057", "Detmold", 7},      {"059", "Arnsberg", 12},
    {"064", "Darmstadt", 14},      {"065", "Gießen", 5},       {"066", "Kassel", 7},
    {"071", "Koblenz", 11},        {"072", "Trier", 5},        {"073", "Rheinhessen-Pfalz", 20},
    {"081", "Stuttgart", 13},      {"082", "Karlsruhe", 12},   {"083", "Freiburg", 10},
    {"084", "Tübingen", 9},        {"091", "Oberbayern", 23},  {"092", "Niederbayern", 12},
    {"093", "Oberpfalz", 10},      {"094", "Oberfranken", 13}, {"095", "Mittelfranken", 12},
    {"096", "Unterfranken", 12},   {"097", "Schwaben", 14},    {"100", nullptr, 6},
    {"110", nullptr, 1},           {"120", nullptr, 18},       {"130", nullptr, 8},
    {"145", "Chemnitz", 5},        {"146", "Dresden", 5},      {"147", "Leipzig", 3},
    {"150", nullptr, 14},          {"160", nullptr, 23},
};

// Syllables of synthesized names; umlauts and ß on purpose.
const char* const kAnfang[] = {"Ober", "Unter", "Groß", "Klein", "Alt", "Neu", "Hohen", "Nieder", "Bad ", "Markt ",
                               "Sankt ", "Königs", "Mühl", "Wald", "Kirch", "Weiß", "Schön", "Rot", "Lieben", "Frauen"};
const char* const kMitte[] = {"berg", "au", "feld", "bach", "brück", "hausen", "stein", "dorf", "heim", "ried",
                              "wald", "see", "münde", "furt", "burg", "roda", "grün", "wöhrden", "büttel", "leben"};
const char* const kEnde[] = {"", "", "", "", "er Heide", " am Main", " an der Fulda", " im Spreewald",
                             " bei Straßburg", " (Oberlausitz)"};

QString silbenName(Zufall& z) {
    QString n = QString::fromUtf8(kAnfang[z.bis(std::size(kAnfang))]);
    QString mitte = QString::fromUtf8(kMitte[z.bis(std::size(kMitte))]);
    if (!n.endsWith(' ')) mitte = mitte.toLower();
    else mitte[0] = mitte[0].toUpper();
    n += mitte;
    if (z.bis(100) < 12) n += QString::fromUtf8(kEnde[z.bis(std::size(kEnde))]);
    return n;
}

}  // namespace

QString landName(const QString& kenn2) {
    const int n = kenn2.toInt();
    return n >= 1 && n <= 16 ? QString::fromUtf8(kLaender[n - 1]) : QString();
}

QString regbezName(const QString& kenn3) {
    for (const Bezirk& b : kBezirke)
        if (kenn3 == QLatin1String(b.kenn)) return b.name ? QString::fromUtf8(b.name) : landName(kenn3.left(2));
    return kenn3.endsWith('0') ? landName(kenn3.left(2)) : "Regierungsbezirk " + kenn3;
}

QString Referenzdaten::standardVerzeichnis() {
    QStringList kandidaten;
    for (const char* v : {"TALU_BENCH_DATEN", "TALU_TEST_DATA"})
        if (qEnvironmentVariableIsSet(v)) kandidaten << qEnvironmentVariable(v);
#ifdef TALU_BENCH_QUELLVERZEICHNIS
    kandidaten << QStringLiteral(TALU_BENCH_QUELLVERZEICHNIS "/../shared/data");
#endif
    for (const QString& k : kandidaten)
        if (QFile::exists(QDir(k).filePath("kreise.csv")) && QFile::exists(QDir(k).filePath("postleitzahlen_orte.tsv")))
            return QDir(k).absolutePath();
    return {};
}

Referenzdaten Referenzdaten::lade(const QString& verzeichnis) {
    if (verzeichnis.isEmpty()) return synthetisch();
    Referenzdaten r;
    QFile k(QDir(verzeichnis).filePath("kreise.csv"));
    QFile o(QDir(verzeichnis).filePath("postleitzahlen_orte.tsv"));
    if (!k.open(QIODevice::ReadOnly) || !o.open(QIODevice::ReadOnly)) return synthetisch();
    QTextStream ks(&k);
    ks.setEncoding(QStringConverter::Utf8);
    ks.readLine();  // header
    while (!ks.atEnd()) {
        const QStringList f = ks.readLine().split(';');
        if (f.size() < 6 || f[0].size() != 5) continue;
        r.kreise << KreisQuelle{f[0], f[2], f[1] == QLatin1String("Kreisfreie Stadt") || f[1] == QLatin1String("Stadtkreis"),
                                f[4].toDouble(), f[5].toLongLong()};
    }
    QTextStream os(&o);
    os.setEncoding(QStringConverter::Utf8);
    os.readLine();
    while (!os.atEnd()) {
        const QStringList f = os.readLine().split('\t');
        if (f.size() < 2 || f[0].size() != 5 || f[1].trimmed().isEmpty()) continue;
        r.orte << PlzOrt{f[0], f[1].trimmed()};
    }
    // A damaged or partial file must not change the shape of the database.
    if (r.kreise.size() != kKreise || r.orte.size() < 1000) return synthetisch();
    r.echt = true;
    return r;
}

Referenzdaten Referenzdaten::synthetisch() {
    Referenzdaten r;
    Zufall z(4711);
    QSet<QString> vergeben;
    int nummer = 0;
    auto neuerName = [&]() {
        // A few tries for a new combination, then a numbered one: the syllables run out.
        for (int versuch = 0; versuch < 20; ++versuch) {
            const QString n = silbenName(z);
            if (!vergeben.contains(n)) {
                vergeben.insert(n);
                return n;
            }
        }
        return silbenName(z) + " " + QString::number(++nummer);
    };
    for (const Bezirk& b : kBezirke) {
        for (int i = 1; i <= b.kreise; ++i) {
            KreisQuelle k;
            // City states are one district-free city; elsewhere about a quarter are.
            const bool stadtstaat = b.kreise == 1;
            k.kreisfrei = stadtstaat || i <= (b.kreise + 3) / 4;
            k.kenn = QString::fromLatin1(b.kenn) + QString("%1").arg(k.kreisfrei ? i : 50 + i, 2, 10, QChar('0'));
            if (stadtstaat) k.kenn = QString::fromLatin1(b.kenn) + "00";
            const QString name = neuerName();
            k.name = k.kreisfrei ? name + ", Stadt" : "Landkreis " + name;
            k.flaeche = k.kreisfrei ? 50 + z.bis(300) : 500 + z.bis(2500);
            k.einwohner = k.kreisfrei ? 40000 + z.bis(600000) : 60000 + z.bis(300000);
            r.kreise << k;
        }
    }
    int plz = 1067;
    for (int i = 0; i < kPlzOrte; ++i) {
        plz += 1 + int(z.bis(7));
        // About one place in six has several postcodes, as large towns do.
        const QString ort = (i > 0 && z.bis(6) == 0) ? r.orte.last().ort : neuerName();
        r.orte << PlzOrt{QString("%1").arg(plz % 100000, 5, 10, QChar('0')), ort};
    }
    return r;
}

}  // namespace talu::bench
