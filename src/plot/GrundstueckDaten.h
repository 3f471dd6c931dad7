#pragma once
#include <QString>
#include <QStringList>

#include "db/Datenbank.h"
#include "db/Recordset.h"

namespace talu {

// Statements of the plot form that touch grundstuecke.
class GrundstueckDaten {
public:
    explicit GrundstueckDaten(const Datenbank& db) : m_db(db) {}

    // The kept plot with exactly this house number in the street; the
    // neighbour that the navigation steps to. The lowest id comes first.
    Recordset nachHausnummer(const QString& gemeindeschluessel, const QString& strasse,
                             const QString& hausnummer) const;
    // Its statement; values: key, street, house number, "nein".
    static QString nachbarSql();

    // Stores a plot: id 0 adds a row and returns the id the server assigned
    // to exactly this insert; otherwise the row is changed and its id
    // returned. A row that is gone is not added again: DbFehler, nothing written.
    qint64 speichere(qint64 id, const Werte& werte) const;

    // Copying the values of one plot to every plot of its street or place.
    enum class Bereich { Strasse, Ort };
    // The columns copied; the town district only within a street.
    static QStringList kopierSpalten(Bereich bereich);
    // The plots of the source's street (same municipality key, street name
    // compared without case) or its place, as a condition with its values.
    struct Auswahl {
        QString bedingung;
        Parameter werte;
    };
    static Auswahl auswahlVon(const Datenbank& db, const Recordset& quelle, Bereich bereich);

    // Deletes one plot; returns the rows deleted (0 when it was gone already).
    int loesche(qint64 id) const;
    // Deletes every plot of the street of plot id in one statement; returns their number.
    int loescheStrasseVon(qint64 id) const;

private:
    const Datenbank& m_db;
};

// The leading number of a house number as a decimal reading that stops at the
// first character that cannot continue a number: "12a" is 12, "7-9" is 7,
// "a1" is 0. Blanks, tabs and line feeds are skipped anywhere ("1 2" is 12);
// an empty text gives 0. The maintenance tools read house numbers the same way.
double fuehrendeZahl(const QString& text);
// The same number as text in plain decimal form, every digit kept: "007b" gives
// "7", "12.50" gives "12.5", "-0" gives "0", a text without digits "0".
QString fuehrendeZahlText(const QString& text);

// The house number one step forward (+1) or back (-1): "12a" -> "13", "1" -> "0".
QString nachbarHausnummer(const QString& hausnummer, int schritt);

}  // namespace talu
