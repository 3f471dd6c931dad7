#include "db/DemoDaten.h"
#include "db/Datenbank.h"

namespace talu {

void demoDatenBasis(const Datenbank&) {}

}  // namespace talu
