#include <sqlite3.h>

#include <QSqlDriver>
#include <QString>
#include <functional>

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

using Funktion = std::function<QVariant(const QVariant&)>;

void rufeFunktion(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto* f = static_cast<const Funktion*>(sqlite3_user_data(ctx));
    QVariant arg;
    if (argc == 1) {
        switch (sqlite3_value_type(argv[0])) {
            case SQLITE_NULL: break;
            case SQLITE_INTEGER: arg = qint64(sqlite3_value_int64(argv[0])); break;
            case SQLITE_FLOAT: arg = sqlite3_value_double(argv[0]); break;
            default:
                arg = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                        sqlite3_value_bytes(argv[0]));
        }
    }
    const QVariant r = (*f)(arg);
    if (r.isNull()) sqlite3_result_null(ctx);
    else if (r.typeId() == QMetaType::Double) sqlite3_result_double(ctx, r.toDouble());
    else if (r.typeId() == QMetaType::Int || r.typeId() == QMetaType::LongLong) sqlite3_result_int64(ctx, r.toLongLong());
    else {
        const QByteArray t = r.toString().toUtf8();
        sqlite3_result_text(ctx, t.constData(), int(t.size()), SQLITE_TRANSIENT);
    }
}

void loescheFunktion(void* p) { delete static_cast<Funktion*>(p); }

sqlite3* sqliteHandle(const QSqlDatabase& db) {
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}
}  // namespace

bool registriereSqliteFunktion(const Datenbank& db, const char* name, std::function<QVariant(const QVariant&)> funktion) {
    if (db.backend() != Backend::SQLite) return false;
    sqlite3* handle = sqliteHandle(db.qt());
    if (!handle) return false;
    // Only names of our own: a function SQLite or another client knows stays theirs.
    if (!QByteArray(name).startsWith("talu_")) return false;
    return sqlite3_create_function_v2(handle, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                      new Funktion(std::move(funktion)), &rufeFunktion, nullptr, nullptr,
                                      &loescheFunktion) == SQLITE_OK;
}

bool registriereSqliteFunktionen(QSqlDatabase& db) {
    sqlite3* handle = sqliteHandle(db);
    if (!handle) return false;
    return sqlite3_create_function_v2(handle, "talu_klein", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                      &unicodeLower, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace talu
