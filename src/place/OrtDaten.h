#pragma once
#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace talu {

class Datenbank;
class Recordset;
struct Publics;

// The texts of every box of the place form: array 1 is page "Ortsdaten"
// (text_1), 2 to 4 the zone pages, 5 the appraiser, 6 to 12 the pages of the
// regional tables, 13 the averages.
class OrtBoxen {
public:
    OrtBoxen();
    static int anzahl(int feld);  // boxes of array text_<feld>
    QString& operator()(int feld, int index) { return m_texte[feld][index]; }
    const QString& operator()(int feld, int index) const { return m_texte[feld][index]; }
    const QStringList& feld(int feld) const { return m_texte[feld]; }

private:
    QVector<QStringList> m_texte;
};

struct OrtAnzeige {
    OrtBoxen boxen;
    bool ortGefunden = false;        // a row in ortsnamen
    bool ortsdatenVorhanden = false; // a row in ortsdaten
    double ortId = 0;
    QString plz, ort;
    double idGutachter = 0;          // 0: none
    int anweisungen = 0;             // statements the load ran
};

struct GutachterZeile {
    bool gefunden = false;
    double id = 0;
    QString name, ort;
    QStringList boxen;  // the eight boxes of page "Gutachterdaten"
    // "Name, Ort", the separator also when the town is missing.
    QString anzeige() const { return name.trimmed() + ", " + ort.trimmed(); }
};

// Values of a new place that go into ortsnamen.
struct NeuerOrt {
    QString plz, ort, gemeindeschluessel;
    int typ = -1;
};

// All statements of the place form: the load of a place with its regional
// look-ups (each one an indexed look-up) and the save of its place data.
class OrtDaten {
public:
    explicit OrtDaten(const Datenbank& db) : m_db(db) {}

    OrtAnzeige lade(const QString& gemeindeschluessel) const;
    GutachterZeile gutachter(double id) const;
    // The appraisal committee that the place data of a municipality name
    // (the first ortsdaten row, as the place form shows it); not found
    // where they name none or a committee that is gone.
    GutachterZeile gutachterDesOrts(const QString& gemeindeschluessel) const;
    // The key of a district found by its name ("" when there is none).
    QString kreisKenn(const QString& kreisName) const;
    // District, region and state names of a key, for a new place.
    QStringList regionNamen(const QString& gemeindeschluessel) const;

    enum class Gespeichert { Geaendert, Angelegt };
    // Writes the editable values of the boxes into the place's ortsdaten row;
    // creates that row when the place has none yet.
    Gespeichert speichere(const QString& gemeindeschluessel, const OrtBoxen& boxen, double gutachterId) const;

    // Checks a new place; returns the problems in words (empty when fine).
    QStringList pruefeNeuenOrt(const NeuerOrt& o) const;
    // Creates the ortsnamen and ortsdaten rows of a new place in one transaction.
    void legeNeuenOrtAn(const NeuerOrt& o, const OrtBoxen& boxen, double gutachterId) const;

    // The columns the save writes, for the given boxes (in the order stored).
    static QList<QPair<QString, QVariant>> spaltenwerte(const OrtBoxen& boxen, double gutachterId);

private:
    // One pass of the load. While m_fehlt is set, a statement whose answer is
    // not yet in m_vorab is noted there instead of run, and the pass goes on
    // with an empty answer; lade() sends the noted statements together (one
    // round trip on PostgreSQL) and passes again until nothing is missing.
    OrtAnzeige ladeEinmal(const QString& gemeindeschluessel) const;
    Recordset lies(const QString& sql, const QVariantList& p, int& zaehler) const;
    Recordset liesVorab(const QString& sql, const QVariantList& p) const;
    void fuelleRegional(OrtAnzeige& a, const QString& schluessel) const;
    const Datenbank& m_db;
    mutable QHash<QString, Recordset>* m_vorab = nullptr;
    mutable QList<QPair<QString, QVariantList>>* m_fehlt = nullptr;
};

// The query-log row of a shown place: written once per lookup (OrtAbgerechnet)
// and only in the customer edition. A failed insert leaves OrtAbgerechnet
// unset and reports the server's text in *fehler.
enum class OrtAbrechnung { NichtNoetig, Geschrieben, Fehlgeschlagen };
OrtAbrechnung ProtokolliereOrt(const Datenbank& db, Publics& p, const QString& objekt, QString* fehler = nullptr);

}  // namespace talu
