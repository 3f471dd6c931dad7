#include "db/Schema.h"

namespace talu {

QList<Tabelle> tabellenMarkt() {
    return {};
}

}  // namespace talu
