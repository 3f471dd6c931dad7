#include "db/SqliteDirekt.h"

#include <QDateTime>
#include <QSqlField>
#include <QTime>
#include <sqlite3.h>

namespace talu {

namespace {

// The column type as Qt's driver names it from the declared type.
QMetaType spaltenTyp(const char* deklariert, int gespeichert) {
    if (deklariert && *deklariert) {
        const QByteArray t = QByteArray(deklariert).toLower();
        if (t == "integer" || t == "int") return QMetaType(QMetaType::Int);
        if (t == "double" || t == "float" || t == "real" || t.startsWith("numeric")) return QMetaType(QMetaType::Double);
        if (t == "blob") return QMetaType(QMetaType::QByteArray);
        if (t == "boolean" || t == "bool") return QMetaType(QMetaType::Bool);
        return QMetaType(QMetaType::QString);
    }
    switch (gespeichert) {
        case SQLITE_INTEGER: return QMetaType(QMetaType::Int);
        case SQLITE_FLOAT: return QMetaType(QMetaType::Double);
        case SQLITE_BLOB: return QMetaType(QMetaType::QByteArray);
        case SQLITE_TEXT: return QMetaType(QMetaType::QString);
        default: return QMetaType();
    }
}

QString ohneAnfuehrung(const char* t) {
    QString s = QString::fromUtf8(t ? t : "");
    return s.remove(QLatin1Char('"'));
}

QSqlRecord kopfVon(sqlite3_stmt* s, bool mitZeile) {
    QSqlRecord kopf;
    const int n = sqlite3_column_count(s);
    for (int i = 0; i < n; ++i) {
        const int gespeichert = mitZeile ? sqlite3_column_type(s, i) : -1;
        QSqlField f(ohneAnfuehrung(sqlite3_column_name(s, i)), spaltenTyp(sqlite3_column_decltype(s, i), gespeichert),
                    ohneAnfuehrung(sqlite3_column_table_name(s, i)));
        f.setSqlType(gespeichert);
        kopf.append(f);
    }
    return kopf;
}

QVariant wertVon(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(s, i)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(s, i));
        case SQLITE_NULL: return QVariant(QMetaType::fromType<QString>());
        case SQLITE_BLOB: {
            const char* b = static_cast<const char*>(sqlite3_column_blob(s, i));
            return QVariant(QByteArray(b, sqlite3_column_bytes(s, i)));
        }
        default: {
            const char* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
            return QVariant(QString::fromUtf8(t, sqlite3_column_bytes(s, i)));
        }
    }
}

// Binds as Qt's driver does, so that a value compares the same on either road.
int binde(sqlite3_stmt* s, int i, const QVariant& v) {
    if (v.isNull()) return sqlite3_bind_null(s, i);
    switch (v.userType()) {
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            return sqlite3_bind_blob(s, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        }
        case QMetaType::Int:
        case QMetaType::Bool: return sqlite3_bind_int(s, i, v.toInt());
        case QMetaType::Double: return sqlite3_bind_double(s, i, v.toDouble());
        case QMetaType::UInt:
        case QMetaType::LongLong: return sqlite3_bind_int64(s, i, v.toLongLong());
        case QMetaType::QDateTime: {
            const QByteArray t = v.toDateTime().toString(Qt::ISODateWithMs).toUtf8();
            return sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        case QMetaType::QTime: {
            const QByteArray t = v.toTime().toString(QStringLiteral("hh:mm:ss.zzz")).toUtf8();
            return sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        default: {
            const QByteArray t = v.toString().toUtf8();
            return sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
    }
}

}  // namespace

SqliteLeser::~SqliteLeser() { leere(); }

void SqliteLeser::leere() {
    for (Anweisung& a : m_anweisungen) sqlite3_finalize(a.stmt);
    m_anweisungen.clear();
}

bool SqliteLeser::lies(const QString& sql, const QVariantList& werte, QSqlRecord& kopf, QVector<QSqlRecord>& zeilen,
                       QString* fehler, int maxZeilen) {
    auto scheitern = [&](const char* wo) {
        if (fehler) *fehler = QString::fromUtf8(wo) + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(m_handle));
        return false;
    };
    auto it = m_anweisungen.find(sql);
    if (it == m_anweisungen.end()) {
        // Texts that carry changing values would fill the cache without end.
        if (m_anweisungen.size() >= 256) leere();
        sqlite3_stmt* s = nullptr;
        const QByteArray text = sql.toUtf8();
        const char* rest = nullptr;
        if (sqlite3_prepare_v3(m_handle, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &s, &rest) !=
            SQLITE_OK) {
            sqlite3_finalize(s);
            return scheitern("Die Anweisung konnte nicht vorbereitet werden");
        }
        if (!s || (rest && QByteArray(rest).trimmed().size() > 0)) {
            sqlite3_finalize(s);
            if (fehler) *fehler = QStringLiteral("Es kann nur eine Anweisung auf einmal ausgeführt werden");
            return false;
        }
        ++m_vorbereitungen;
        it = m_anweisungen.insert(sql, Anweisung{s, {}, false});
    }
    sqlite3_stmt* s = it->stmt;
    // Reset at the end however the reading ends: a kept statement that is not
    // reset holds its read lock.
    struct Zuruecksetzen {
        sqlite3_stmt* s;
        ~Zuruecksetzen() {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    } zuruecksetzen{s};
    if (sqlite3_bind_parameter_count(s) != werte.size()) {
        if (fehler) *fehler = QStringLiteral("Die Zahl der Werte passt nicht zur Anweisung");
        return false;
    }
    for (int i = 0; i < werte.size(); ++i)
        if (binde(s, i + 1, werte.at(i)) != SQLITE_OK) return scheitern("Die Werte konnten nicht gebunden werden");
    zeilen.clear();
    int r = sqlite3_step(s);
    // SQLite prepares a statement again by itself after a schema change; the
    // heads follow when the columns changed.
    const int spalten = sqlite3_column_count(s);
    if (!it->kopfFertig || it->kopf.count() != spalten) {
        it->kopf = kopfVon(s, r == SQLITE_ROW);
        it->kopfFertig = r == SQLITE_ROW;  // without a row the stored types are unknown yet
    }
    kopf = it->kopf;
    for (; r == SQLITE_ROW; r = sqlite3_step(s)) {
        if (maxZeilen >= 0 && zeilen.size() >= maxZeilen) return true;
        QSqlRecord z = it->kopf;
        for (int i = 0; i < spalten; ++i) z.setValue(i, wertVon(s, i));
        zeilen.append(std::move(z));
    }
    if (r != SQLITE_DONE) {
        zeilen.clear();
        return scheitern("Die Zeile konnte nicht gelesen werden");
    }
    return true;
}

}  // namespace talu
