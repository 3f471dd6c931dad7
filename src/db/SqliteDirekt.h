#pragma once
#include <QHash>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

typedef struct sqlite3 sqlite3;
typedef struct sqlite3_stmt sqlite3_stmt;

namespace talu {

// Reads on the SQLite handle of Qt's connection, with statements prepared
// once and kept by their text. Qt's driver reads every value as UTF-16 into
// a cache of its own and describes the columns again on every execution;
// here the column heads are made once per statement and each value goes
// once into its row. Rows carry the types Qt's driver gives: integer as
// qlonglong, real as double, text as QString, blob as QByteArray, Null as a
// null QString.
class SqliteLeser {
public:
    explicit SqliteLeser(sqlite3* handle) : m_handle(handle) {}
    ~SqliteLeser();
    SqliteLeser(const SqliteLeser&) = delete;
    SqliteLeser& operator=(const SqliteLeser&) = delete;

    // Runs a read with its values bound; at most maxZeilen rows (-1: all).
    // On failure returns false with SQLite's text in *fehler.
    bool lies(const QString& sql, const QVariantList& werte, QSqlRecord& kopf, QVector<QSqlRecord>& zeilen,
              QString* fehler, int maxZeilen = -1);
    // Every kept statement finalized (before the connection closes, and after
    // another program changed the schema).
    void leere();
    int anzahl() const { return int(m_anweisungen.size()); }
    qint64 vorbereitungen() const { return m_vorbereitungen; }

private:
    struct Anweisung {
        sqlite3_stmt* stmt = nullptr;
        QSqlRecord kopf;
        bool kopfFertig = false;
    };
    sqlite3* m_handle;
    QHash<QString, Anweisung> m_anweisungen;
    qint64 m_vorbereitungen = 0;
};

}  // namespace talu
