#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;
typedef struct sqlite3_stmt sqlite3_stmt;

namespace talu {

// A statement of this layer: SQL text with "?" placeholders and its values.
struct Anfrage {
    QString sql;
    QVariantList werte;
};

// What one statement gave back: its columns, its rows (Qt's types, as Qt's
// PostgreSQL driver gives them) and the rows it changed.
struct PgErgebnis {
    QSqlRecord kopf;
    QVector<QSqlRecord> zeilen;
    int betroffen = 0;
};

// A failure of this layer: the server's text, its SQLSTATE and whether the
// connection is gone.
struct PgFehler {
    QString text;
    QByteArray sqlstate;
    bool verbindungWeg = false;
    int anfrage = -1;  // the statement that failed (-1: a control statement or the link)
    bool veralteterPlan() const;  // "cached plan must not change result type" and the like
};

// The statements of one PostgreSQL connection through libpq on the handle
// that Qt's driver opened (no second connection): every statement is
// prepared once under a name of its own and then only bound and executed,
// and the statements of one call go out in one pipeline, so that a call costs
// one round trip however many statements it carries. Qt's driver would send
// PREPARE, EXECUTE and DEALLOCATE for each: three round trips.
class PgSitzung {
public:
    explicit PgSitzung(PGconn* pg) : m_pg(pg) {}
    PgSitzung(const PgSitzung&) = delete;
    PgSitzung& operator=(const PgSitzung&) = delete;

    PGconn* handle() const { return m_pg; }

    // Runs the control statements (BEGIN, SAVEPOINT ...) and then the
    // statements in one pipeline with one Sync: one round trip. The results
    // in order; false and *fehler on the first failure (the pipeline's later
    // statements are not run).
    bool fuehreAus(const QStringList& steuerung, const QList<Anfrage>& anfragen, QList<PgErgebnis>& ergebnisse,
                   PgFehler* fehler);
    // One statement without values by the simple protocol (DDL, several
    // statements in one text): one round trip.
    bool fuehreEinfachAus(const QString& sql, PgErgebnis& ergebnis, PgFehler* fehler);
    // Reads a large result row by row (single-row mode) without holding it;
    // the callback returns false to stop. beginn is called once the first
    // answer came (the statement runs); failures before it leave nothing read.
    bool durchlaufe(const Anfrage& a, const std::function<bool(const QSqlRecord&)>& zeile, PgFehler* fehler,
                    bool* begonnen);

    // Forgets a prepared statement (its plan no longer fits the table); it is
    // prepared again at its next use.
    void vergiss(const QString& sql);
    int vorbereitet() const { return int(m_namen.size()); }
    QString textVon(const QByteArray& name) const { return m_namen.key(name); }
    // Round trips this layer made (each Sync or simple query waited for).
    qint64 rundreisen() const { return m_rundreisen; }
    // Statements prepared (Parse messages) since the connection was opened.
    qint64 vorbereitungen() const { return m_vorbereitungen; }

    // "?" placeholders outside quotes as $1, $2, ...
    static QByteArray mitNummern(const QString& sql);
    // The text form of a value as libpq sends it; false for Null.
    static bool alsText(const QVariant& v, QByteArray& text);

private:
    void leereAnstehendes();
    PgFehler fehlerAus(PGresult* r, int anfrage) const;
    PgFehler verbindungsFehler() const;
    QSqlRecord kopfVon(PGresult* r) const;
    void leseZeilen(PGresult* r, const QSqlRecord& kopf, QVector<QSqlRecord>& zeilen) const;

    PGconn* m_pg;
    QHash<QString, QByteArray> m_namen;  // SQL text -> prepared statement name
    QList<QByteArray> m_freizugeben;     // names to deallocate at the next call
    int m_naechsteNummer = 0;
    qint64 m_rundreisen = 0;
    qint64 m_vorbereitungen = 0;
};

// Decodes one column value as Qt's PostgreSQL driver does (type by OID).
QMetaType pgQtTyp(unsigned oid);
QVariant pgWert(const char* text, unsigned oid);

}  // namespace talu
