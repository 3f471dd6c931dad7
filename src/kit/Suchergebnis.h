#pragma once
#include <QList>
#include <QString>

namespace talu {

// What a record search (districts, users, appraisers) found for a term: the
// data classes return it without a screen, the search form acts on it.
struct Treffer {
    QString text;
    double id = 0;
};

struct Suchergebnis {
    enum Art { Leer, KeinTreffer, EinTreffer, MehrereTreffer };
    Art art = Leer;
    double id = 0;           // EinTreffer
    QList<Treffer> treffer;  // MehrereTreffer (and EinTreffer)
    QString meldung;         // Leer, KeinTreffer: the message for the operator
};

}  // namespace talu
