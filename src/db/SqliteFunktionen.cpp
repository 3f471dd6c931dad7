#include <sqlite3.h>

#include <QSqlDriver>
#include <QString>

#include "db/Datenbank.h"

namespace talu {

namespace {
// Lower case for every letter; SQLite's own lower() folds ASCII only, so
// "ÜBERLINGEN" would not find "Überlingen". The same rule as Dialekt::falte().
void unicodeLower(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int n = sqlite3_value_bytes(argv[0]);
    const QByteArray klein = Dialekt::falte(QString::fromUtf8(text, n)).toUtf8();
    sqlite3_result_text(ctx, klein.constData(), int(klein.size()), SQLITE_TRANSIENT);
}
}  // namespace

bool registriereSqliteFunktionen(QSqlDatabase& db) {
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return false;
    sqlite3* handle = *static_cast<sqlite3* const*>(h.data());
    if (!handle) return false;
    return sqlite3_create_function_v2(handle, "talu_klein", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      &unicodeLower, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace talu
