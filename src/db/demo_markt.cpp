#include "db/DemoDaten.h"
#include "db/Datenbank.h"

namespace talu {

void demoDatenMarkt(const Datenbank&) {}

}  // namespace talu
