#include "db/DemoDaten.h"
#include "db/Datenbank.h"

namespace talu {

void demoDatenOrt(const Datenbank&) {}

}  // namespace talu
