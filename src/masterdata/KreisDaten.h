#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "kit/Suchergebnis.h"
#include "db/Recordset.h"

namespace talu {

class Datenbank;
class Dialekt;


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

// Runs the search on RsKreise. In the place form's pick (AuswahlFuerStadtMaske)
// even one hit goes to the list, so that the choice is confirmed there; a pick
// whose place form is no longer open ends.
Suchergebnis sucheKreis(const QString& text, bool stadtMaskeOffen = false);

}  // namespace talu
