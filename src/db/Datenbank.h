#pragma once
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <functional>
#include <QHash>
#include <memory>
#include <stdexcept>

#include "db/Backend.h"
#include "db/Dialekt.h"
#include "db/PgDirekt.h"
#include "db/Recordset.h"

namespace talu {

class SqliteLeser;

// A failed statement or connection; carries the server's own text so that the
// operator learns what to fix.
class DbFehler : public std::runtime_error {
public:
    DbFehler(const QString& kurz, const QString& serverText, const QString& sql = {})
        : std::runtime_error((kurz + ": " + serverText).toStdString()),
          m_kurz(kurz), m_serverText(serverText), m_sql(sql) {}
    const QString& kurz() const { return m_kurz; }
    const QString& serverText() const { return m_serverText; }
    const QString& sql() const { return m_sql; }

private:
    QString m_kurz, m_serverText, m_sql;
};

using Parameter = QVariantList;
using Werte = QList<QPair<QString, QVariant>>;  // column name and value, in order

class Datenbank;

// A statement prepared once and run for many rows (batch writes).
class Anweisung {
public:
    Anweisung() = default;
    // Binds the values and runs the statement; returns the rows affected.
    int fuehreAus(const Parameter& werte);
    const QString& sql() const { return m_sql; }

private:
    friend class Datenbank;
    const Datenbank* m_db = nullptr;
    QSqlQuery m_q;
    QString m_sql;
    bool m_direkt = false;  // PostgreSQL: through the connection's statement cache
};

// The one connection and every statement's execution. Values are always bound.
class Datenbank {
public:
    Datenbank();
    ~Datenbank();
    Datenbank(const Datenbank&) = delete;
    Datenbank& operator=(const Datenbank&) = delete;

    // Opens the connection; on failure returns false and leaves the driver's text in *fehler.
    bool oeffnen(const Verbindungsziel& ziel, const QString& benutzer, const QString& passwort,
                 QString* fehler = nullptr);
    void schliessen();
    bool istOffen() const;
    Backend backend() const { return m_dialekt.backend(); }
    const Dialekt& dialekt() const { return m_dialekt; }
    QSqlDatabase qt() const;

    Recordset abfrage(const QString& sql, const Parameter& p = {}) const;
    // First column of the first row, or a null QVariant without rows.
    QVariant wert(const QString& sql, const Parameter& p = {}) const;
    // Statements without rows; returns the number of rows affected.
    int ausfuehren(const QString& sql, const Parameter& p = {}) const;
    // Reads large results row by row without holding them; the callback returns false to stop.
    void durchlaufe(const QString& sql, const Parameter& p,
                    const std::function<bool(const QSqlRecord&)>& zeile) const;
    // Adds one row and returns the id that the server assigned to exactly this insert.
    qint64 einfuegen(const QString& tabelle, const Werte& werte) const;
    // Changes the row with the given id.
    int aendern(const QString& tabelle, qint64 id, const Werte& werte) const;
    // Prepares a statement for repeated use within this connection.
    Anweisung vorbereite(const QString& sql) const;

    // Several statements (reads, or writes that do not depend on an earlier
    // answer) in one round trip: PostgreSQL sends them in one pipeline with
    // one Sync, the other backends run them one after another. The rows of
    // each in order (a write: the rows it returns, else none). The first
    // failure throws; on PostgreSQL the statements after it are not run and,
    // outside a transaction, the ones before it are undone with it. Reads
    // alone are repeated once after a lost connection, as abfrage().
    QList<Recordset> abfragen(const QList<Anfrage>& anfragen) const;
    // The statement of einfuegen() for abfragen(): its one row holds the new id.
    Anfrage einfuegeAnfrage(const QString& tabelle, const Werte& werte) const;

    // Every statement is prepared once per connection and kept by its text
    // (PostgreSQL: named statements of the server; SQLite and ODBC: prepared
    // queries of Qt's driver); a new connection starts without. A statement
    // whose table another program changed in between is prepared again.
    int vorbereiteteAnweisungen() const;
    // Statements prepared since the connection was opened (PostgreSQL: Parse
    // messages; elsewhere: preparations of the cache).
    qint64 vorbereitungen() const;
    // Round trips to the server since the connection was opened (PostgreSQL:
    // each Sync or simple query that TALU waited for; 0 elsewhere).
    qint64 rundreisen() const;
    // PostgreSQL: the SQL text of a statement this connection prepared under
    // the name (for recording what it sent); empty when unknown.
    QString vorbereiteterText(const QByteArray& name) const;
    // SQLite: the journal mode of the open file ("wal", or "delete" where WAL
    // cannot be used); empty on the servers.
    QString journalModus() const;
    // A second connection with the same login, e.g. for a read that must not
    // share the writing connection. Null when it cannot be opened.
    std::unique_ptr<Datenbank> zweiteVerbindung(QString* fehler = nullptr) const;

    // Transactions nest: the outermost level is the server's transaction, every
    // inner level a savepoint. verwerfe() undoes only the innermost level; a
    // failed statement that no inner level has rolled back makes the commit of
    // its level throw (after rolling that level back), so work after a swallowed
    // failure is never committed as if all had gone well.
    void beginne() const;
    void bestaetige() const;
    void verwerfe() const noexcept;
    bool inTransaktion() const { return !m_ebenen.isEmpty(); }
    int transaktionsTiefe() const { return int(m_ebenen.size()); }

    // The folded search columns: for a name column that the lookup finds
    // case-insensitively, the column that holds its folded form. PostgreSQL
    // and SQL Server compute them themselves. On SQLite einfuegen() and
    // aendern() write them, triggers mark the rows that other programs wrote
    // or renamed, and folgeSuchspalten() folds those before a search.
    struct Suchspalte {
        QString tabelle, quelle, ziel;
    };
    static const QList<Suchspalte>& suchspalten();
    // Brings the search columns of the table up to date for every row, whoever
    // wrote it; cheap when no row is marked. A failure (another writer holds
    // the file) leaves the marked rows for the next search.
    void folgeSuchspalten(const QString& tabelle) const;
    // Adds a missing search column with its index (on the server: turns it into
    // a generated column), installs what keeps it right, then recomputes every
    // value; returns the number of rows rewritten.
    qint64 erneuereSuchspalten(const std::function<void(const QString&, qint64)>& fortschritt = {}) const;

private:
    friend class Anweisung;
    enum class Art { Lesen, Schreiben };
    struct QtAnfrage;
    // Runs versuch; a lost server connection outside a transaction is opened
    // again once, and a read is then repeated.
    void versuche(const QString& sql, Art art, const std::function<void()>& versuch) const;
    // PostgreSQL: the statements with the pending control statements in one pipeline.
    QList<PgErgebnis> pgStapel(const QList<Anfrage>& anfragen) const;
    void pgSteuerung(const QString& sql) const;
    // SQLite/ODBC: the executed query of the cache (or a fresh one).
    std::shared_ptr<QSqlQuery> qtAnfrage(const QString& sql, const Parameter& p, bool* ausCache) const;
    void qtFertig(const QString& sql, const std::shared_ptr<QSqlQuery>& q, bool ausCache) const;
    void leereCache() const;
    // SQLite: empties the cache when the schema changed since its statements
    // were prepared (another program altered a table): SQLite would prepare
    // them again inside Qt's driver, which keeps the old number of columns.
    void pruefeSqliteSchema() const;
    void richteSqliteJournalEin(QSqlDatabase& db);
    bool verbindungLebt() const;
    // The server is gone (PostgreSQL: libpq says so; a statement is never
    // sent for it, which would fail in an aborted transaction anyway).
    bool verbindungWeg() const;
    // Lets go of a connection the server dropped in the middle of a
    // transaction: the open levels can only fail now, and the first statement
    // after them opens a new connection.
    void vergissVerbindung() const;
    bool verbindeNeu(QString* grund = nullptr) const;
    void steuerAnweisung(const QString& sql) const;
    Werte mitSuchspalten(const QString& tabelle, const Werte& werte) const;
    // A file of an older version gets the triggers and marked-row indexes at
    // the first login; its rows are folded once.
    void sichereSqliteSuchspalten() const;

    QString m_name;
    Dialekt m_dialekt;
    // One entry per open level: whether a statement failed on it.
    mutable QList<bool> m_ebenen;
    // The login of the open connection, for one reconnect after the server was lost.
    Verbindungsziel m_ziel;
    QString m_benutzer, m_passwort;
    bool m_gemerkt = false;
    // PostgreSQL: libpq on the handle of Qt's connection.
    std::unique_ptr<PgSitzung> m_pg;
    // PostgreSQL: BEGIN and SAVEPOINT wait for the next statement and go out
    // in its round trip; a level that sent nothing ends without a round trip.
    mutable QStringList m_vorweg;
    mutable QList<int> m_vorwegEbene;
    // SQLite/ODBC: the prepared queries by SQL text; belegt while in use.
    struct Gecacht {
        std::shared_ptr<QSqlQuery> q;
        bool belegt = false;
    };
    mutable QHash<QString, Gecacht> m_cache;
    mutable qint64 m_vorbereitungen = 0;
    mutable ::sqlite3_stmt* m_schemaAnfrage = nullptr;
    // SQLite: reads on the connection's handle (see SqliteLeser).
    mutable std::unique_ptr<SqliteLeser> m_sqlite;
    SqliteLeser* sqliteLeser() const;
    mutable int m_schemaStand = -1;
    QString m_journal;
};

// Scope-bound transaction: rolls back unless bestaetige() was called.
class Transaktion {
public:
    explicit Transaktion(const Datenbank& db);
    ~Transaktion();
    void bestaetige();

private:
    const Datenbank& m_db;
    bool m_offen = true;
};

// A scalar function of one argument on an open SQLite connection, for one-off
// statements of this connection only: nothing stored in the file may call it.
// Never replaces a built-in function. False on other backends or on failure.
bool registriereSqliteFunktion(const Datenbank& db, const char* name,
                               std::function<QVariant(const QVariant&)> funktion);

// Installs talu_klein(), the Unicode-aware lower case, on an open SQLite
// connection. It has its own name: SQLite's built-in lower() stays as every
// other client knows it, and no index or schema object uses talu_klein().
bool registriereSqliteFunktionen(QSqlDatabase& db);

}  // namespace talu
