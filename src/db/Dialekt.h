#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QList>

#include "db/Backend.h"

namespace talu {

// What a backend runs around an insert that brings its own value for the id
// column the server numbers. SQL Server refuses such a value unless
// IDENTITY_INSERT is on for the table, and only one table per session may
// have it on: it is switched off again whether the insert worked or not.
// PostgreSQL takes the value but leaves the column's sequence behind, which
// is moved past it so that rows numbered by the server do not collide later.
// SQLite moves its counter by itself.
struct EigeneId {
    struct Anweisung {
        QString sql;
        QVariantList werte;
    };
    QStringList vorher;       // before the insert
    QList<Anweisung> danach;  // after a successful insert
    QStringList immer;        // after the insert, also when it failed
};

// The only place where the SQL of the three backends differs.
class Dialekt {
public:
    explicit Dialekt(Backend b = Backend::SQLite) : m_backend(b) {}
    Backend backend() const { return m_backend; }

    // "select ..." limited to its first n rows.
    QString begrenze(const QString& select, int n) const;
    // Case-insensitive comparison for every letter, umlauts included, of a
    // column without a search column: both sides are folded (SQLite through
    // the connection's talu_klein(), PostgreSQL by lower() in its UTF-8
    // locale); SQL Server's collation already ignores case, so the bare
    // column is compared and its index stays usable.
    QString ohneFall(const QString& ausdruck) const;
    QString gleichOhneFall(const QString& spalte) const;   // "lower(x) = lower(?)"
    QString likeOhneFall(const QString& spalte) const;     // "lower(x) like lower(?) escape '\'"
    // The same for a folded search column: its value is already folded, so is
    // the bound value (falte()), and a plain index serves both. PostgreSQL
    // folds the bound value once more with the lower() that fills its column,
    // so that both sides follow one rule for every letter.
    QString suchGleich(const QString& suchspalte) const;
    QString suchLike(const QString& suchspalte) const;
    // The folded form that the search columns store and compare.
    static QString falte(const QString& text) { return text.toLower(); }

    // Savepoints of nested transaction levels (level >= 1).
    QString sicherungspunkt(int ebene) const;
    QStringList sicherungspunktFreigeben(int ebene) const;
    QStringList sicherungspunktZurueck(int ebene) const;
    QString loescheIndex(const QString& name, const QString& tabelle) const;
    // Inside a transaction: the statements that keep every other writer of the
    // table out until the commit, taken before a "highest number + 1" is read.
    // spalte is any column of the table (SQLite takes its write lock with a
    // write that changes nothing).
    QStringList schreibsperre(const QString& tabelle, const QString& spalte) const;
    // Appended to the FROM of that read: SQL Server takes the lock with the read itself.
    QString sperrendesLesen() const;

    QString teilText(const QString& ausdruck, int start, int laenge) const;
    QString heute() const;
    // Insert statement that hands back the generated id as its only row.
    QString einfuegenMitId(const QString& tabelle, const QStringList& spalten,
                           const QString& idSpalte = "id") const;

    // Typed column and index DDL.
    QString idSpalte() const;
    QString textTyp(int laenge) const;
    QString ganzzahlTyp() const;
    QString zahlTyp() const;
    QString datumTyp() const;
    // The search column folding the column quelle: PostgreSQL and SQL Server
    // keep it themselves as a generated column, whoever writes the row.
    QString suchtextTyp(int laenge, const QString& quelle) const;
    // Whether the database fills the search columns itself; otherwise (SQLite)
    // the data layer writes them and folds the rows that triggers marked.
    bool fuelltSuchspalten() const { return m_backend != Backend::SQLite; }
    // SQLite: triggers using only built-in functions mark a row (search
    // column Null) whose name another program wrote or changed, and a partial
    // index finds the marked rows. Nothing on the other backends.
    QStringList suchspaltenPflege(const QString& tabelle, const QString& quelle, const QString& ziel) const;
    static QString markierteIndexName(const QString& tabelle, const QString& ziel);
    // Counts (0 or 1) whether column ? of table ? is computed by the server.
    QString generierteSpalteSql() const;

    // An ascending sort term with Null first, as SQLite and SQL Server sort by themselves.
    QString nullZuerst(const QString& ausdruck) const;
    // The leading number of a house number computed by the database itself
    // (the same reading as fuehrendeZahl(): blanks, tabs and line feeds
    // skipped, an optional sign, digits with "." as decimal point, 0 without
    // a digit and for Null); empty where the backend cannot, and the caller
    // computes it row by row. On SQLite the connection must have the function
    // kHausnummerFunktion registered.
    QString hausnummerZahl(const QString& ausdruck) const;
    static constexpr const char* kHausnummerFunktion = "talu_hausnummer";
    // The same leading number as text in plain decimal form (fuehrendeZahlText():
    // no sign for zero, no leading or trailing zeros, "0" without a digit),
    // Null for Null. On SQLite the connection must have kHausnummerTextFunktion.
    QString hausnummerText(const QString& ausdruck) const;
    static constexpr const char* kHausnummerTextFunktion = "talu_hausnummer_text";
    // The leading number of a text as a number, Null for Null (a delivered value).
    QString zahlAusText(const QString& ausdruck) const;
    // Both texts joined; a Null part counts as empty.
    QString verbinde(const QString& a, const QString& b) const;
    // Whether teil occurs in text (an empty part occurs everywhere).
    QString enthaeltText(const QString& text, const QString& teil) const;
    // A select limited to its row after the first n of its order (the select has its order by).
    QString zeileNach(const QString& select, qint64 n) const;
    // A search column in an index; PostgreSQL needs the pattern operators for a prefix LIKE.
    QString suchIndexSpalte(const QString& spalte) const;

    // Whether a search term can be compared at all: a NUL ends a LIKE pattern
    // on SQLite and cannot be sent to PostgreSQL (its texts cannot hold one),
    // so the term would silently be cut there and find the wrong rows. No
    // text the program stores holds a NUL (its boxes drop them), so such a
    // term finds nothing.
    static bool suchbar(const QString& text) { return !text.contains(QChar(0)); }
    // LIKE patterns: the operator's characters are data, so % _ and \ are escaped.
    static QString escapeLike(const QString& text);
    static QString beginntMit(const QString& text) { return escapeLike(text) + "%"; }
    static QString enthaelt(const QString& text) { return "%" + escapeLike(text) + "%"; }

private:
    Backend m_backend;
};

EigeneId eigeneIdAnweisungen(const Dialekt& d, const QString& tabelle);

}  // namespace talu
