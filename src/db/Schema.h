#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace talu {

class Dialekt;
class Datenbank;

// One definition of every table; each backend's DDL is generated from it.
enum class Typ {
    Id,        // generated integer key
    Text,      // laenge 0 = unlimited
    Ganzzahl,
    Zahl,      // double precision
    Datum,     // calendar date; sorts chronologically on every backend
    Suchtext,  // folded copy of a name, compared by equality and prefix through a plain index
};

struct Spalte {
    QString name;
    Typ typ = Typ::Text;
    int laenge = 0;
    QString vorgabe;  // SQL literal for the default, e.g. "'N'" or "0"; empty = none
    QString quelle;   // Suchtext: the name column whose folded form it holds
};

// An index lists plain columns only: an expression index would record the
// values of a function that other clients of the file may compute differently.
struct Index {
    QString name;
    QStringList ausdruecke;
    bool eindeutig = false;
};

struct Tabelle {
    QString name;
    QList<Spalte> spalten;
    QList<Index> indexe;
    const Spalte* spalte(const QString& name) const;
};

// The tables, grouped by the module that owns their data.
QList<Tabelle> tabellenBasis();   // places, plots, query log, billing, access log, master data, staging
QList<Tabelle> tabellenOrt();     // place data and the regional reference tables
QList<Tabelle> tabellenMarkt();   // the market overview tables

QList<Tabelle> schema();
const Tabelle* findeTabelle(const QString& name);

QStringList ddl(const Tabelle& t, const Dialekt& d);
QStringList ddl(const Dialekt& d);
// The create-index statements of one table.
QStringList indexDdl(const Tabelle& t, const Dialekt& d);
// The statements that keep a table's search columns right for rows that other
// programs write (SQLite's triggers and the index of marked rows).
QStringList suchspaltenPflegeDdl(const Tabelle& t, const Dialekt& d);
// Creates every table and index in one transaction.
void legeSchemaAn(const Datenbank& db);
// PostgreSQL: the indexes of server functions. The customers by their
// folded login (the query log's join), the query log in the order of its
// grid, and the trigram index of the place
// names (extension pg_trgm) that the search for a part of a name ("%teil%")
// uses instead of reading ortsnamen whole. Returns whether the trigram index
// stands; false, and nothing changed for it, where the server does not offer
// the extension or the user may not create it.
bool legePostgresIndexeAn(const Datenbank& db);

}  // namespace talu
