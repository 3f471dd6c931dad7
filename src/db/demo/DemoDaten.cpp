#include "db/demo/DemoDaten.h"

#include "db/Datenbank.h"

namespace talu {

void fuelleDemoDaten(const Datenbank& db) {
    Transaktion t(db);
    demoDatenBasis(db);
    demoDatenOrt(db);
    demoDatenMarkt(db);
    t.bestaetige();
}

}  // namespace talu
