#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "db/Recordset.h"

namespace talu {

class Datenbank;
class Dialekt;

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
EigeneId eigeneIdAnweisungen(const Dialekt& d, const QString& tabelle);

// The district records: the search and the list read the district names of
// table kreise, the mask reads and writes table kreis under the same id.
class KreisDaten {
public:
    explicit KreisDaten(const Datenbank& db) : m_db(db) {}

    // Districts whose name contains the term (as typed, any case; % and _ are plain characters).
    Recordset suche(const QString& teil) const;
    // One row of kreise (id, kreis), for the list's choice.
    Recordset kreiseZeile(double id) const;
    // The name stored in kreis; found = false when the id has no row.
    QString name(double id, bool* gefunden = nullptr) const;
    // Stores the name under the id, or as a new district when id is 0; keeps
    // kreise in step so that the search finds it. Returns the id. Throws
    // DbFehler for a name that nameFehlt() refuses.
    double speichere(double id, const QString& name) const;

    // The refusal of an empty name ("" when the name can be stored): a
    // district without a name could never be found again, as the search
    // refuses an empty term and no search term matches an empty name.
    static QString nameFehlt(const QString& name);

private:
    // Adds the kreise row of a district under the id of its kreis row.
    void kreiseZeileAnlegen(qint64 id, const QString& name) const;
    const Datenbank& m_db;
};

// What the district search does with a term, without a screen.
struct KreisSuchErgebnis {
    enum Art { Leer, KeinTreffer, EinTreffer, MehrereTreffer } art = Leer;
    double id = 0;        // the one hit
    QString meldung;      // the message for Leer and KeinTreffer
};
// Runs the search on RsKreise. In the place form's pick (AuswahlFuerStadtMaske)
// even one hit goes to the list, so that the choice is confirmed there; a pick
// whose place form is no longer open ends.
KreisSuchErgebnis sucheKreis(const QString& text, bool stadtMaskeOffen = false);

}  // namespace talu
