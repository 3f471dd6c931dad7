#pragma once
#include <QString>
#include <functional>

#include "kit/Suchergebnis.h"
#include "db/Recordset.h"

namespace talu {

// Runs a record search on the shared recordset rs: a term of blanks only is
// refused with mussfeldMeldung and reaches no statement; without a hit the
// recordset is closed again; with hits it stays open on the first row for
// the list or the mask. The term goes to suche untrimmed.
Suchergebnis sucheDatensaetze(Recordset& rs, const QString& text, const QString& mussfeldMeldung,
                                       const std::function<Recordset(const QString&)>& suche);

// A line of the choice list: each value padded with blanks or cut to its
// width, separated by one blank.
QString listenZeile(const QStringList& werte, const QList<int>& breiten);

}  // namespace talu
