#pragma once
#include <QString>

#include "db/Recordset.h"

namespace talu {

class Datenbank;
class Dialekt;

// The statements of the lookup road: places by name, postcode or key, the
// plots of a street, and the single rows chosen from a list. Every value the
// operator typed is bound; name comparisons ignore case for all letters.
class SucheDaten {
public:
    explicit SucheDaten(const Datenbank& db) : m_db(db) {}

    // Which of the three place-search stages found the rows.
    enum class Stufe { Genau, Anfang, Teil, Keine };

    // A term counts as numeric when it consists of digits only. Postcodes and
    // municipality keys are digit strings; a term with a thousands separator
    // or an exponent ("1.234", "1e5") is no plausible postcode or key, so it
    // is searched as a name, which the later stages do for every term anyway.
    static bool istNumerisch(const QString& begriff);

    // Places (typ < 3) for a lower-case term: exact name, postcode (five
    // digits) or key (other digit strings); then names beginning with the
    // term; then names containing it. Ordered by postcode and name.
    Recordset sucheOrt(const QString& begriff, Stufe* stufe = nullptr) const;

    // Plots not marked as deleted of one municipality whose street name
    // begins with the term, ordered by town district, street and house number.
    Recordset sucheStrasse(const QString& gemeindeschluessel, const QString& strasse) const;
    // Its statement; values: key, LIKE pattern, "nein".
    static QString strassenSql(const Dialekt& d);

    // Places (typ <= 2) whose postcode (numeric term) or name begins with the
    // term: the place of a new plot.
    Recordset sucheOrtFuerNeuesGrundstueck(const QString& begriff) const;

    Recordset ortNachId(qint64 id) const;
    Recordset grundstueckNachId(qint64 id) const;
    // The plot and the place row of ortNachSchluessel() in one round trip.
    Recordset grundstueckMitOrt(qint64 id, const QString& gemeindeschluessel, qint64 bevorzugteId,
                                Recordset* ort) const;
    // The place row of a municipality key. Several places may share a key;
    // the row with bevorzugteId (the place the operator chose) comes first.
    Recordset ortNachSchluessel(const QString& gemeindeschluessel, qint64 bevorzugteId = 0) const;

private:
    const Datenbank& m_db;
};

}  // namespace talu
