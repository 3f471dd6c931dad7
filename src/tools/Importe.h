#pragma once
#include <QString>
#include <QStringList>

#include "tools/stapel/Stapelauftrag.h"

namespace talu::pflege {

// The imports of delivered building, street and land-value data from their
// staging tables into the plot table. Each is one transaction and stores what
// a pass row by row over its source would store; the source is worked on in
// ranges of ids, one statement per range, so that the counters follow and a
// cancel is honoured between ranges. Where a row finds several matches, the
// one with the lowest id counts, so that every backend stores the same.

// The texts of a progress form: its title, the captions of its counters and their format.
struct Zaehlerform {
    QString titel;
    QStringList zaehler;
    QString muster = QStringLiteral("###,###");
};

// Rows worked on per statement.
constexpr int kImportBereich = 50000;

// "WQN-Daten-Importieren": a plot per building of geb111 joined with its street of str111.
class WqnImport : public stapel::Auftrag {
public:
    QString titel() const override { return QStringLiteral("WQN-Daten-Importieren"); }
    void fuehreAus(stapel::Kontext& k) override;
    qint64 gelesen() const { return m_gelesen; }

private:
    qint64 m_gelesen = 0;
};

// "POGOS-Daten importieren": a street row (house number 1) per pogos row
// whose key does not begin with 03.
class PogosImport : public stapel::Auftrag {
public:
    QString titel() const override { return QStringLiteral("POGOS-Daten importieren"); }
    void fuehreAus(stapel::Kontext& k) override;
    qint64 gelesen() const { return m_gelesen; }
    static QString fertigText();

private:
    qint64 m_gelesen = 0;
};

// The status panel's text of the two direct imports: the rows read, with a leading blank.
QString gelesenText(qint64 gelesen);

// "Mosaic-Daten importieren": a plot per mosaic row whose municipality is in ortsnamen.
class MosaicImport : public stapel::Auftrag {
public:
    static Zaehlerform form();
    QString titel() const override { return form().titel; }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Aurich importieren": the land values of the plots of one municipality by their Mosaic number.
class AurichImport : public stapel::Auftrag {
public:
    static Zaehlerform form();
    static QString gemeinde() { return QStringLiteral("03452001"); }
    QString titel() const override { return form().titel; }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Niedersachsen importieren": a plot per building of gebäude after the
// first rows in id order, with the first street of its street key.
class NiedersachsenImport : public stapel::Auftrag {
public:
    static Zaehlerform form();
    static constexpr qint64 kUeberspringen = 571098;  // the import resumes there
    explicit NiedersachsenImport(qint64 ueberspringen = kUeberspringen) : m_ueberspringen(ueberspringen) {}
    QString titel() const override { return form().titel; }
    void fuehreAus(stapel::Kontext& k) override;
    QString hinweis() const override { return m_hinweis; }

private:
    qint64 m_ueberspringen;
    QString m_hinweis;
};

// "Löschen" of the Niedersachsen form: every plot, after the operator said Yes.
class GrundstueckeLoeschen : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Alle Grundstücke löschen"); }
    void fuehreAus(stapel::Kontext& k) override;
    static QString frageText(qint64 anzahl);
    static QString fertigText() { return QString::fromUtf8("Die Datensätze wurden gelöscht!"); }
};

// "Zonendaten importieren": the land values of a zone for every plot after
// the first ones in the order of their key (Null first, then id) whose
// municipality and street name a zone's street row names, unless the plot
// already carries values or its street name holds an apostrophe.
class ZonenImport : public stapel::Auftrag {
public:
    static Zaehlerform form();
    static constexpr qint64 kUeberspringen = 1400000;
    explicit ZonenImport(qint64 ueberspringen = kUeberspringen) : m_ueberspringen(ueberspringen) {}
    QString titel() const override { return form().titel; }
    void fuehreAus(stapel::Kontext& k) override;
    QString hinweis() const override { return m_hinweis; }

private:
    qint64 m_ueberspringen;
    QString m_hinweis;
};

// The end message's addition when a skip count passed over the whole source.
QString nichtsGelesenText(const QString& tabelle, qint64 zeilen, qint64 ueberspringen);

// Pieces of the statements: a text without surrounding blanks; the first row
// of each key of a table as (schluessel, erste).
QString ohneRand(const QString& ausdruck);
QString ersteJe(const QString& tabelle, const QString& schluessel);
// Registers the functions the imports' statements call on a SQLite connection.
void meldeImportFunktionenAn(const Datenbank& db);
// The columns and values that keep a plot's search column right when a
// statement writes strassen_name from the expression name (SQLite only).
QString suchspalteListe(const Datenbank& db);
QString suchspalteWert(const Datenbank& db, const QString& name);

}  // namespace talu::pflege
