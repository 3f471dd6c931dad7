#pragma once
#include <QString>
#include <QStringList>

#include "kit/Bindung.h"
#include "db/Recordset.h"
#include "masterdata/DatensatzSuche.h"

namespace talu {

class Datenbank;

// The invoice customers of table rechnungs_kunden: the database user whose
// query-log rows are billed, the address printed on the invoice, and the
// row's id, printed as the customer number. A user name belongs to one
// customer at most, compared as the invoice run matches it (any letter case,
// umlauts included): the run takes the first match, so a second customer
// with that user name would never be billed.
class KundenDaten {
public:
    static constexpr int kFelder = 6;
    explicit KundenDaten(const Datenbank& db) : m_db(db) {}

    // text(0) .. text(5) <-> benutzername, name, zusatz, strasse, plz, ort;
    // a save keeps each text's leading characters up to its column's length.
    static const Bindungen& bindungen();
    static const QStringList& feldTexte();

    // Customers whose name or user name contains the term as typed, in any
    // letter case; ' % and _ are plain characters. Ordered by name.
    Recordset suche(const QString& teil) const;
    QStringList lade(double id, bool* gefunden = nullptr) const;
    // Stores the texts under the id, or as a new customer when id is 0, and
    // returns the id. Throws Abgelehnt for an empty user name and for one
    // that another customer already has; the check and the write share one
    // transaction that keeps other writers of the table out.
    double speichere(double id, const QStringList& texte) const;
    // Deletes the customer; throws Abgelehnt while an invoice or an open
    // query-log row refers to its user name, or when it is gone.
    void loesche(double id) const;

    // The line of the choice list: name, user name, postcode, town.
    static QString listenZeile(const Recordset& rs);

private:
    const Datenbank& m_db;
};

// The customer search on RsKunden.
Suchergebnis sucheKundenDatensatz(const QString& text);

}  // namespace talu
