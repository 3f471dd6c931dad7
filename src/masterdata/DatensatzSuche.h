#pragma once
#include <QString>
#include <functional>

#include "db/Recordset.h"

namespace talu {

// What a record search (users, appraisers) does with a term, without a screen.
// The kinds are in the order of the search form's own result kinds.
struct DatensatzSuchErgebnis {
    enum Art { Leer, KeinTreffer, EinTreffer, MehrereTreffer } art = Leer;
    double id = 0;    // the one hit
    QString meldung;  // the message for Leer and KeinTreffer
};

// Runs a record search on the shared recordset rs: a term of blanks only is
// refused with mussfeldMeldung and reaches no statement; without a hit the
// recordset is closed again; with hits it stays open on the first row for
// the list or the mask. The term goes to suche untrimmed.
DatensatzSuchErgebnis sucheDatensaetze(Recordset& rs, const QString& text, const QString& mussfeldMeldung,
                                       const std::function<Recordset(const QString&)>& suche);

// A line of the choice list: each value padded with blanks or cut to its
// width, separated by one blank.
QString listenZeile(const QStringList& werte, const QList<int>& breiten);

}  // namespace talu
