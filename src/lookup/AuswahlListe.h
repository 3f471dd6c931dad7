#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

namespace talu {

class Recordset;
struct Publics;

namespace lookup {
// A street record stands for the whole street; its house number is this.
inline const QString kStrassenHausnummer = QStringLiteral("9999");
bool istStrassenEintrag(const QString& hausnummer);
}  // namespace lookup

// The entries of the selection list, counted in characters so that they line
// up in a fixed-pitch font whatever umlauts the names contain.
QString ortEintrag(const QString& plz, const QString& ort);
QString grundstueckEintrag(const QString& strasse, const QString& hausnummer, const QString& ortsteil);

// The list of frmAuswaehlen: one entry and one row id per found row.
struct AuswahlListe {
    QStringList eintraege;
    QVector<qint64> ListenIds;
    QString titel;   // form caption
    QString label;   // count line
    bool ortsModus = false;

    // Reads rs from its current row to the end.
    static AuswahlListe aus(Recordset& rs, const QString& suchArt);
};

// What choosing an entry leads to.
enum class AuswahlFolge {
    Nichts,               // no entry selected, or the row is gone
    Informationsgruppen,  // a place of a lookup
    OrtFuerNeuesGrundstueck,
    Grundstueck,
};

// Loads the chosen row into RsSuche and sets the current place or plot.
AuswahlFolge waehleAus(Publics& p, const QString& suchArt, qint64 id);

}  // namespace talu
