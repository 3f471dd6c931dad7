#pragma once
#include <QString>

namespace talu {

// One column of a grid, found by its name in the rows: its caption (empty:
// the rows' own), its width in twips (0: the grid's own) and whether it is
// shown. The viewers' data classes name their columns with it, the grid
// viewer applies them.
struct RasterSpalte {
    QString name;
    QString titel;
    int breiteTwips = 0;
    bool sichtbar = true;
};

}  // namespace talu
