#pragma once
#include <QString>
#include <QStringList>

#include "kit/Bindung.h"
#include "db/Recordset.h"
#include "masterdata/DatensatzSuche.h"

namespace talu {

class Datenbank;

// The user and customer records of table benutzer: the mask's twelve boxes
// and the search by a part of the name.
class BenutzerDaten {
public:
    static constexpr int kFelder = 12;
    explicit BenutzerDaten(const Datenbank& db) : m_db(db) {}

    // text(0) .. text(10) stored whole; text(11) is the write permission:
    // stored as its first character in upper case, shown as "Ja" for "j",
    // "Nein" for "n" and empty for anything else.
    static const Bindungen& bindungen();
    static const QStringList& feldTexte();
    static QString schreibmodusAnzeige(const QVariant& gespeichert);
    static QString schreibmodusSpeichern(const QString& text);

    // Users whose name contains the term as typed (leading blanks included),
    // in any letter case; ' % and _ are plain characters. Ordered by name.
    Recordset suche(const QString& teil) const;
    QStringList lade(double id, bool* gefunden = nullptr) const;
    double speichere(double id, const QStringList& texte) const;

    // The line of the choice list: name, postcode, town, telephone.
    static QString listenZeile(const Recordset& rs);

private:
    const Datenbank& m_db;
};

// The user search on RsBenutzer.
Suchergebnis sucheBenutzerDatensatz(const QString& text);

}  // namespace talu
