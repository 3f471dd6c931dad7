#pragma once
#include <QList>
#include <QString>

namespace talu::bench {

// A district or district-free city: its five-digit key and name.
struct KreisQuelle {
    QString kenn;  // "09162"
    QString name;  // "München, Landeshauptstadt"
    bool kreisfrei = false;
    double flaeche = 0;     // km²
    qint64 einwohner = 0;
};

// A postcode with a place name.
struct PlzOrt {
    QString plz;
    QString ort;
};

// The names and keys the generated database is made of. Read from the real
// reference files when a directory holds them, otherwise synthesized with
// the same counts and the same key structure (16 states, 38 key prefixes of
// administrative regions, 401 districts; 12,883 postcode-place pairs).
struct Referenzdaten {
    QList<KreisQuelle> kreise;
    QList<PlzOrt> orte;
    bool echt = false;  // read from files

    static constexpr int kKreise = 401;
    static constexpr int kPlzOrte = 12883;

    // verzeichnis empty: synthesized.
    static Referenzdaten lade(const QString& verzeichnis);
    static Referenzdaten synthetisch();

    // The directory of the real files when it exists: TALU_BENCH_DATEN,
    // TALU_TEST_DATA, or ../shared/data beside the checkout.
    static QString standardVerzeichnis();
};

// Names of the 16 states by their two-digit key ("01" .. "16").
QString landName(const QString& kenn2);
// Name of an administrative region by its three-digit key; a key ending in 0
// (a state without regions) gives the state's name.
QString regbezName(const QString& kenn3);

}  // namespace talu::bench
