#pragma once
#include <QString>
#include <QStringList>

#include "kit/Bindung.h"
#include "db/Recordset.h"
#include "masterdata/DatensatzSuche.h"

namespace talu {

class Datenbank;

// The appraiser records of table gutachter: the mask's ten boxes, the
// lengths a save keeps of them, and the search by a part of the name.
class GutachterDaten {
public:
    static constexpr int kFelder = 10;
    explicit GutachterDaten(const Datenbank& db) : m_db(db) {}

    // text(0) .. text(9) <-> name, strasse, plz, ort, telefon, telefax, email,
    // internet, abrechnungsmodus, bereich; a save keeps each text's leading
    // characters up to the stored length (longer input is cut, not refused).
    static const Bindungen& bindungen();
    static const QStringList& feldTexte();

    // Appraisers whose name contains the term as typed, in any letter case;
    // ' % and _ are plain characters. Ordered by name.
    Recordset suche(const QString& teil) const;
    QStringList lade(double id, bool* gefunden = nullptr) const;
    double speichere(double id, const QStringList& texte) const;

    // The line of the choice list: name, postcode, town, telephone.
    static QString listenZeile(const Recordset& rs);

private:
    const Datenbank& m_db;
};

// The appraiser search on RsGutachter.
Suchergebnis sucheGutachterDatensatz(const QString& text);

}  // namespace talu
