#pragma once
#include "db/Datenbank.h"
#include "tools/stapel/Stapelauftrag.h"
#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVector>

namespace talu {

class Datenbank;
class DbFehler;
class Recordset;
struct Publics;

namespace markt {

// One market overview category: the button of the choice form, the table
// that holds its overviews, the title that goes into the query log and the
// price column of the place row that the button shows and the grid charges.
struct Kategorie {
    QString knopf;
    QString tabelle;
    QString titel;
    QString preisSpalte;
};

// The fourteen categories in the order of the choice form's buttons.
const QList<Kategorie>& kategorien();
const Kategorie* kategorie(const QString& tabelle);

// A visible grid column: position in the column list, caption, width in
// twips, right-aligned, shown as currency.
struct GridSpalte {
    int nr = 0;
    QString titel;
    int breite = 0;
    bool rechts = false;
    bool waehrung = false;
};

// How the grid reads and lays out one category. Columns of the list that are
// not among the visible ones are hidden.
struct Aufbau {
    QStringList spalten;
    QList<GridSpalte> sichtbar;
    bool mitBemerkungTabelle = true;  // the turnover tables have no table remark
    const GridSpalte* sichtbareSpalte(int nr) const;
};
const Aufbau* aufbau(const QString& tabelle);

// "select <column list> from <table>"
QString spaltenListe(const Aufbau& a, const QString& tabelle);

// Price of a category for the current place: from the place row that the
// lookup left open when it carries the column, otherwise read from ortsnamen.
// Null reads as 0.
double preisAusOrt(const Datenbank& db, const Recordset& ort, const QString& spalte,
                   const QString& gemeindeschluessel);
// All fourteen prices at once (the choice form's captions), keyed by column.
QHash<QString, double> preiseAusOrt(const Datenbank& db, const Recordset& ort,
                                    const QString& gemeindeschluessel);

// Caption of a category button: the price is appended when it is above 0.
QString knopfText(const Kategorie& k, double preis);

// The overviews of one category for one municipality, with the district's
// overviews as fallback when the municipality has none of its own.
class MarktUebersicht {
public:
    static QString keineDatenText();

    // Reads headlines and rows; false when neither the municipality nor its
    // district has overviews of this category. Throws DbFehler on database
    // errors and for a table that is no market overview category.
    bool lade(const Datenbank& db, const QString& gemeindeschluessel, const QString& tabelle);
    // Reads the rows again (after the DM conversion), without the headlines.
    void ladeZeilen(const Datenbank& db);
    // The statement of ladeZeilen() for the current level.
    Anfrage zeilenAnfrage() const;

    const QString& tabelle() const { return m_tabelle; }
    const Aufbau& aufbau() const { return *m_aufbau; }
    bool kreisEbene() const { return m_kreisEbene; }
    const QStringList& ueberschriften() const { return m_ueberschriften; }
    const QStringList& spalten() const { return m_spalten; }
    const QVector<QSqlRecord>& zeilen() const { return m_zeilen; }
    // Rows of one headline, in table and row order.
    QVector<QSqlRecord> zeilenZu(const QString& ueberschrift) const;

    // Region / copyright / source and the table remark, from the first row of
    // the first headline.
    QString bereichText() const;
    QString hinweisText() const;

    // One billable query-log row for this look (customer edition only).
    // Throws DbFehler when it cannot be written.
    qint64 bucheAbfrage(const Datenbank& db, const Publics& p, const QString& titel, double preis) const;

private:
    QString m_tabelle;
    const Aufbau* m_aufbau = nullptr;
    QString m_land, m_rb, m_kreis, m_gemeinde;
    bool m_kreisEbene = false;
    QStringList m_ueberschriften;
    QStringList m_spalten;
    QVector<QSqlRecord> m_zeilen;
};

// The value rules of the market tables, shared with the DM conversion.
bool istPositiv(const QVariant& v);
bool istNullWert(const QVariant& v);
QVariant nullZahl();  // a Null of a number column
bool gleich(const QVariant& a, const QVariant& b);

}  // namespace markt
}  // namespace talu
