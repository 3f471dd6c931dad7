#include "db/Datenbank.h"

#include "db/Schema.h"
#include "db/SqliteDirekt.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <optional>
#include <sys/vfs.h>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace talu {

namespace {
QAtomicInt g_zaehler;

QString fehlerText(const QSqlError& e) {
    QString t = e.databaseText().trimmed();
    const QString d = e.driverText().trimmed();
    if (t.isEmpty()) t = d;
    else if (!d.isEmpty() && !t.contains(d)) t = d + ": " + t;
    return t.isEmpty() ? QStringLiteral("Unbekannter Fehler") : t;
}

// libpq reports a refused encryption in English; the operator gets the reason
// in German before the library's own text.
QString tlsFehlerText(const Verbindungsziel& ziel, const QString& text) {
    const QString modus = ziel.option(QStringLiteral("sslmode"));
    QString grund;
    if (text.contains(QLatin1String("does not match host name")))
        grund = QStringLiteral("Das Zertifikat des Servers gilt nicht für den Servernamen „%1“; sslmode=%2 "
                               "verlangt, dass der Name im Zertifikat steht.")
                    .arg(ziel.host, modus);
    else if (text.contains(QLatin1String("server does not support SSL")))
        grund = QStringLiteral("Der Server bietet keine verschlüsselte Verbindung an, sslmode=%1 verlangt aber eine.")
                    .arg(modus);
    else if (text.contains(QLatin1String("root certificate file")))
        grund = QStringLiteral("Die Datei mit dem Stammzertifikat (sslrootcert) fehlt oder ist nicht lesbar; ohne sie "
                               "kann sslmode=%1 das Zertifikat des Servers nicht prüfen.")
                    .arg(modus);
    else if (text.contains(QLatin1String("certificate verify failed")))
        grund = QStringLiteral("Das Zertifikat des Servers ist nicht von der Zertifizierungsstelle unterschrieben, "
                               "der TALU vertraut (sslrootcert).");
    else if (text.contains(QLatin1String("no encryption")) && text.contains(QLatin1String("pg_hba.conf")))
        grund = QStringLiteral("Der Server nimmt diese Anmeldung nur über eine verschlüsselte Verbindung an "
                               "(sslmode=require oder strenger).");
    return grund.isEmpty() ? text : grund + "\n" + text;
}

bool istLesend(const QString& sql) {
    const QString t = sql.trimmed();
    return t.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
}
}  // namespace

Datenbank::Datenbank() : m_name(QString("talu_%1").arg(g_zaehler.fetchAndAddRelaxed(1))) {}

Datenbank::~Datenbank() { schliessen(); }

bool Datenbank::oeffnen(const Verbindungsziel& ziel, const QString& benutzer, const QString& passwort,
                        QString* fehler) {
    schliessen();
    if (!ziel.fehler.isEmpty()) {
        if (fehler) *fehler = ziel.fehler;
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(ziel.qtTreiber())) {
        if (fehler) *fehler = "Der Datenbanktreiber " + ziel.qtTreiber() + " ist nicht installiert.";
        return false;
    }
    // Qt's SQLite driver would create a missing file (this Qt version ignores
    // the no-create option), so a mistyped path must be refused here.
    if (ziel.backend == Backend::SQLite && !ziel.anlegen && !QFileInfo(ziel.datenbank).isFile()) {
        if (fehler) *fehler = QStringLiteral("Die Datenbankdatei \"%1\" gibt es nicht.").arg(ziel.datenbank);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(ziel.qtTreiber(), m_name);
    switch (ziel.backend) {
        case Backend::SQLite:
            db.setDatabaseName(ziel.datenbank);
            // Never create an empty file by mistake: a login names an existing database.
            if (!ziel.anlegen) db.setConnectOptions("QSQLITE_OPEN_READWRITE_NO_CREATE");
            break;
        case Backend::PostgreSQL:
            db.setHostName(ziel.host);
            db.setPort(ziel.port);
            db.setDatabaseName(ziel.datenbank);
            db.setUserName(benutzer);
            db.setPassword(passwort);
            // The encryption options go with every connection opened from this target:
            // the login, a reconnect, a second connection of the same login.
            db.setConnectOptions(QStringLiteral("connect_timeout=10 ") + ziel.pgVerbindungsoptionen());
            break;
        case Backend::SQLServer:
            db.setDatabaseName(ziel.odbcVerbindungstext(benutzer, passwort));
            db.setConnectOptions("SQL_ATTR_LOGIN_TIMEOUT=10");
            break;
    }
    if (!db.open()) {
        if (fehler) {
            *fehler = fehlerText(db.lastError());
            if (ziel.backend == Backend::PostgreSQL) *fehler = tlsFehlerText(ziel, *fehler);
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    m_dialekt = Dialekt(ziel.backend);
    m_ziel = ziel;
    m_ziel.anlegen = false;  // a reconnect never creates a file
    m_benutzer = benutzer;
    m_passwort = passwort;
    m_gemerkt = true;
    if (ziel.backend == Backend::SQLite) {
        if (!registriereSqliteFunktionen(db)) {
            if (fehler) *fehler = "Die SQLite-Funktionen konnten nicht angemeldet werden.";
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            return false;
        }
        QSqlQuery q(db);
        q.exec("pragma foreign_keys = on");
        q.finish();
        richteSqliteJournalEin(db);
        sichereSqliteSuchspalten();
    }
    if (ziel.backend == Backend::PostgreSQL) {
        QSqlQuery q(db);
        q.exec("set client_encoding to 'UTF8'");
        const QVariant h = db.driver()->handle();
        if (h.isValid() && (qstrcmp(h.typeName(), "PGconn*") == 0 || qstrcmp(h.typeName(), "pg_conn*") == 0))
            if (PGconn* pg = *static_cast<PGconn* const*>(h.data())) m_pg = std::make_unique<PgSitzung>(pg);
    }
    return true;
}

namespace {
// Network file systems, on which SQLite's WAL index (shared memory) does not work.
bool aufNetzlaufwerk(const QString& pfad, QString* art) {
    struct statfs s {};
    if (statfs(QFile::encodeName(QFileInfo(pfad).absolutePath()).constData(), &s) != 0) return false;
    switch (static_cast<unsigned long>(s.f_type)) {
        case 0x6969UL: *art = QStringLiteral("NFS"); return true;
        case 0x517BUL: *art = QStringLiteral("SMB"); return true;
        case 0xFF534D42UL: *art = QStringLiteral("CIFS"); return true;
        case 0xFE534D42UL: *art = QStringLiteral("SMB2"); return true;
        case 0x65735546UL: *art = QStringLiteral("FUSE"); return true;
        case 0x564C7A21UL: *art = QStringLiteral("9P"); return true;
        case 0x01021997UL: *art = QStringLiteral("9P"); return true;
        default: return false;
    }
}
}  // namespace

void Datenbank::richteSqliteJournalEin(QSqlDatabase& db) {
    // WAL: a commit is one sequential append and readers never block the
    // writer; synchronous = full makes every commit durable. It needs the
    // -wal and -shm files beside the database and shared memory that network
    // file systems do not give: there the rollback journal stays.
    const QString datei = db.databaseName();
    QString grund;
    QString netz;
    const QFileInfo info(datei);
    if (datei.isEmpty() || datei == QLatin1String(":memory:")) grund = QStringLiteral("Datenbank im Speicher");
    else if (!info.isWritable()) grund = QStringLiteral("die Datei ist schreibgeschützt");
    else if (!QFileInfo(info.absolutePath()).isWritable()) grund = QStringLiteral("der Ordner ist schreibgeschützt");
    else if (aufNetzlaufwerk(datei, &netz)) grund = "die Datei liegt auf einem Netzlaufwerk (" + netz + ")";
    QSqlQuery q(db);
    if (grund.isEmpty()) {
        if (q.exec(QStringLiteral("pragma journal_mode = wal")) && q.next()) m_journal = q.value(0).toString().toLower();
        q.finish();
        if (m_journal != QLatin1String("wal"))
            grund = "SQLite lehnt den WAL-Modus ab (" + (m_journal.isEmpty() ? fehlerText(q.lastError()) : m_journal) + ")";
    } else {
        // A file another copy left in WAL mode goes back to the rollback journal where it can.
        if (q.exec(QStringLiteral("pragma journal_mode")) && q.next()) m_journal = q.value(0).toString().toLower();
        q.finish();
        if (m_journal == QLatin1String("wal") && q.exec(QStringLiteral("pragma journal_mode = delete")) && q.next())
            m_journal = q.value(0).toString().toLower();
        q.finish();
    }
    q.exec(QStringLiteral("pragma synchronous = full"));
    q.finish();
    if (!grund.isEmpty()) {
        // Said once per file and program run.
        static QSet<QString> gemeldet;
        const QString schluessel = info.absoluteFilePath();
        if (!gemeldet.contains(schluessel)) {
            gemeldet.insert(schluessel);
            qWarning("TALU: %s wird ohne WAL-Modus im Rollback-Journal (%s) geöffnet: %s.", qPrintable(datei),
                     qPrintable(m_journal.isEmpty() ? QStringLiteral("delete") : m_journal), qPrintable(grund));
        }
    }
}

QString Datenbank::journalModus() const { return m_journal; }

void Datenbank::schliessen() {
    leereCache();
    m_pg.reset();
    m_vorweg.clear();
    m_vorwegEbene.clear();
    if (!QSqlDatabase::contains(m_name)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        // The WAL folded into the file: a copy of the file alone is complete.
        // The last connection leaves it in the rollback-journal mode, so that
        // it opens anywhere, also in a read-only folder; with other
        // connections still open the switch fails and WAL stays.
        if (m_journal == QLatin1String("wal") && db.isOpen()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("pragma wal_checkpoint(truncate)"));
            q.finish();
            q.exec(QStringLiteral("pragma busy_timeout = 0"));  // closing: no waiting for the others
            q.finish();
            q.exec(QStringLiteral("pragma journal_mode = delete"));
            q.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_ebenen.clear();
    m_journal.clear();
}

bool Datenbank::istOffen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Datenbank::qt() const {
    // A connection that was lost with the server is opened again with the same
    // login, once per action, but never in the middle of a transaction.
    if (!istOffen()) {
        if (!m_gemerkt) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
        if (!m_ebenen.isEmpty())
            throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"),
                           QStringLiteral("Was dieser Schritt bis dahin geschrieben hatte, hat der Server verworfen. "
                                          "Sobald er wieder läuft, wiederholen Sie den Schritt; TALU meldet sich dann "
                                          "selbst wieder an."));
        QString grund;
        if (!verbindeNeu(&grund))
            throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"),
                           QStringLiteral("Der Datenbankserver ist nicht erreichbar. Sobald er wieder läuft, "
                                          "wiederholen Sie den letzten Schritt; TALU meldet sich dann selbst "
                                          "wieder an.\n\n") + grund);
    }
    return QSqlDatabase::database(m_name, false);
}

// --- The statement cache of Qt's drivers (SQLite, ODBC) ---

void Datenbank::leereCache() const {
    m_cache.clear();
    if (m_sqlite) m_vorbereitungen += m_sqlite->vorbereitungen();
    m_sqlite.reset();
    if (m_schemaAnfrage) sqlite3_finalize(m_schemaAnfrage);
    m_schemaAnfrage = nullptr;
    m_schemaStand = -1;
}

void Datenbank::pruefeSqliteSchema() const {
    if (!m_schemaAnfrage) {
        const QVariant h = QSqlDatabase::database(m_name, false).driver()->handle();
        if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return;
        sqlite3* handle = *static_cast<sqlite3* const*>(h.data());
        if (!handle || sqlite3_prepare_v2(handle, "pragma schema_version", -1, &m_schemaAnfrage, nullptr) != SQLITE_OK) {
            m_schemaAnfrage = nullptr;
            return;
        }
    }
    int stand = -1;
    if (sqlite3_step(m_schemaAnfrage) == SQLITE_ROW) stand = sqlite3_column_int(m_schemaAnfrage, 0);
    sqlite3_reset(m_schemaAnfrage);
    if (stand == m_schemaStand) return;
    // Statements in use stay with their holders; qtFertig() finds no entry for them.
    m_cache.clear();
    if (m_sqlite) m_sqlite->leere();
    m_schemaStand = stand;
    // The pragma reads the number without loading the new schema: a statement
    // prepared now would still see the old columns. A read of the schema
    // table loads it.
    sqlite3_exec(sqlite3_db_handle(m_schemaAnfrage), "select 1 from sqlite_master limit 1", nullptr, nullptr, nullptr);
}

SqliteLeser* Datenbank::sqliteLeser() const {
    const QSqlDatabase db = qt();
    pruefeSqliteSchema();
    if (!m_sqlite) {
        const QVariant h = db.driver()->handle();
        if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return nullptr;
        sqlite3* handle = *static_cast<sqlite3* const*>(h.data());
        if (!handle) return nullptr;
        m_sqlite = std::make_unique<SqliteLeser>(handle);
    }
    return m_sqlite.get();
}

std::shared_ptr<QSqlQuery> Datenbank::qtAnfrage(const QString& sql, const Parameter& p, bool* ausCache) const {
    QSqlDatabase db = qt();
    *ausCache = false;
    // Statements without values that are no reads (DDL, pragmas, several in
    // one text) run once as they are.
    if (p.isEmpty() && !istLesend(sql)) {
        auto q = std::make_shared<QSqlQuery>(db);
        q->setForwardOnly(true);
        if (!q->exec(sql)) throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(q->lastError()), sql);
        return q;
    }
    auto binde = [&](QSqlQuery& q) {
        for (int i = 0; i < p.size(); ++i) q.bindValue(i, p.at(i));
    };
    if (m_dialekt.backend() == Backend::SQLite) pruefeSqliteSchema();
    bool einstellen = true;
    auto it = m_cache.find(sql);
    if (it != m_cache.end()) {
        if (!it->belegt) {
            binde(*it->q);
            if (it->q->exec()) {
                it->belegt = true;
                *ausCache = true;
                return it->q;
            }
            // A statement that no longer fits its table (another program
            // changed it) or failed: it is prepared again below. A failed
            // statement changed nothing, so running it again is safe.
            it->q->finish();
            m_cache.erase(it);
        } else {
            einstellen = false;  // in use further up (a read inside a read): a query of its own
        }
    }
    auto q = std::make_shared<QSqlQuery>(db);
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        throw DbFehler("Die Anweisung konnte nicht vorbereitet werden", fehlerText(q->lastError()), sql);
    ++m_vorbereitungen;
    binde(*q);
    if (!q->exec()) throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(q->lastError()), sql);
    if (einstellen) {
        // Statements whose text carries changing values would fill it without end.
        if (m_cache.size() >= 256)
            for (auto i = m_cache.begin(); i != m_cache.end();) i = i->belegt ? std::next(i) : m_cache.erase(i);
        m_cache.insert(sql, Gecacht{q, true});
        *ausCache = true;
    }
    return q;
}

void Datenbank::qtFertig(const QString& sql, const std::shared_ptr<QSqlQuery>& q, bool ausCache) const {
    // Reset at once: a kept SQLite statement that is not reset holds its read lock.
    q->finish();
    if (!ausCache) return;
    auto it = m_cache.find(sql);
    if (it != m_cache.end() && it->q == q) it->belegt = false;
}

namespace {
// Hands the query back to the cache however the reading ends.
struct Zurueckgabe {
    std::function<void()> f;
    ~Zurueckgabe() {
        if (f) f();
    }
};
}  // namespace

// --- PostgreSQL through libpq ---

QList<PgErgebnis> Datenbank::pgStapel(const QList<Anfrage>& anfragen) const {
    qt();  // opens a lost connection again where allowed
    if (!m_pg) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
    QStringList steuerung = m_vorweg;
    // The whole transaction so far is in this pipeline: a stale statement can be repeated with it.
    const bool transaktionHier = !m_vorwegEbene.isEmpty() && m_vorwegEbene.first() == 0;
    m_vorweg.clear();
    m_vorwegEbene.clear();
    QList<PgErgebnis> e;
    PgFehler f;
    for (int versuch = 0;; ++versuch) {
        if (m_pg->fuehreAus(steuerung, anfragen, e, &f)) return e;
        const QString sql = f.anfrage >= 0 && f.anfrage < anfragen.size() ? anfragen[f.anfrage].sql
                            : anfragen.isEmpty()                           ? steuerung.join("; ")
                                                                           : anfragen.first().sql;
        if (versuch == 0 && f.veralteterPlan() && f.anfrage >= 0 && (m_ebenen.isEmpty() || transaktionHier)) {
            m_pg->vergiss(sql);
            if (transaktionHier) steuerung.prepend(QStringLiteral("rollback"));
            continue;
        }
        throw DbFehler("Die Anweisung ist fehlgeschlagen", f.text, sql);
    }
}

void Datenbank::pgSteuerung(const QString& sql) const {
    QList<PgErgebnis> e;
    PgFehler f;
    if (!m_pg || !m_pg->fuehreAus({sql}, {}, e, &f))
        throw DbFehler("Die Transaktion konnte nicht gesteuert werden", m_pg ? f.text : QStringLiteral("Keine Verbindung"),
                       sql);
}

// --- Every statement ---

void Datenbank::versuche(const QString& sql, Art art, const std::function<void()>& versuch) const {
    try {
        versuch();
    } catch (const DbFehler& f) {
        if (!m_ebenen.isEmpty()) {
            // The level must not be committed as if nothing had failed.
            m_ebenen.last() = true;
            if (m_dialekt.backend() == Backend::SQLite || !verbindungWeg()) throw;
            // The server took the transaction with it; nothing of it is stored.
            vergissVerbindung();
            throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"),
                           QStringLiteral("Was dieser Schritt bis dahin geschrieben hatte, hat der Server verworfen. "
                                          "Sobald er wieder läuft, wiederholen Sie den Schritt; TALU meldet sich dann "
                                          "selbst wieder an.\n\n") + f.serverText(),
                           sql);
        }
        if (m_dialekt.backend() == Backend::SQLite || verbindungLebt()) throw;
        // The server went away. Reconnect once; repeat only what cannot have written anything.
        const bool wieder = verbindeNeu();
        if (!wieder)
            throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"),
                           QStringLiteral("Der Datenbankserver ist nicht erreichbar. Sobald er wieder läuft, "
                                          "wiederholen Sie den letzten Schritt; TALU meldet sich dann selbst "
                                          "wieder an.\n\n") + f.serverText(),
                           sql);
        if (art == Art::Lesen) {
            versuch();
            return;
        }
        throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank war unterbrochen"),
                       QStringLiteral("TALU hat sich wieder angemeldet. Der letzte Schritt ist nicht sicher "
                                      "gespeichert und wurde nicht wiederholt: bitte wiederholen Sie ihn.\n\n") +
                           f.serverText(),
                       sql);
    }
}

bool Datenbank::verbindungLebt() const {
    if (!istOffen()) return false;
    if (m_pg) {
        PgErgebnis e;
        return m_pg->fuehreEinfachAus(QStringLiteral("select 1"), e, nullptr);
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(QStringLiteral("select 1")) && q.next();
}

bool Datenbank::verbindungWeg() const {
    if (!istOffen()) return true;
    if (m_pg) return PQstatus(m_pg->handle()) == CONNECTION_BAD;
    if (m_dialekt.backend() == Backend::SQLite) return false;
    return !verbindungLebt();
}

void Datenbank::vergissVerbindung() const {
    const QList<bool> ebenen(m_ebenen.size(), true);
    const_cast<Datenbank*>(this)->schliessen();
    m_ebenen = ebenen;
}

bool Datenbank::verbindeNeu(QString* grund) const {
    if (!m_gemerkt) return false;
    // oeffnen() is the one place that opens a connection; it replaces the lost one.
    auto* selbst = const_cast<Datenbank*>(this);
    const Verbindungsziel ziel = m_ziel;
    const QString benutzer = m_benutzer, passwort = m_passwort;
    return selbst->oeffnen(ziel, benutzer, passwort, grund);
}

Recordset Datenbank::abfrage(const QString& sql, const Parameter& p) const {
    const Art art = istLesend(sql) ? Art::Lesen : Art::Schreiben;
    QSqlRecord kopf;
    QVector<QSqlRecord> zeilen;
    versuche(sql, art, [&] {
        zeilen.clear();
        if (m_dialekt.backend() == Backend::PostgreSQL) {
            PgErgebnis e = pgStapel({{sql, p}}).first();
            kopf = e.kopf;
            zeilen = std::move(e.zeilen);
            return;
        }
        if (art == Art::Lesen && m_dialekt.backend() == Backend::SQLite)
            if (SqliteLeser* l = sqliteLeser()) {
                QString f;
                if (!l->lies(sql, p, kopf, zeilen, &f)) throw DbFehler("Die Anweisung ist fehlgeschlagen", f, sql);
                return;
            }
        bool ausCache = false;
        const auto q = qtAnfrage(sql, p, &ausCache);
        Zurueckgabe z{[&] { qtFertig(sql, q, ausCache); }};
        while (q->next()) zeilen.append(q->record());
        kopf = q->record();
    });
    return Recordset(kopf, std::move(zeilen));
}

QVariant Datenbank::wert(const QString& sql, const Parameter& p) const {
    QVariant w;
    versuche(sql, istLesend(sql) ? Art::Lesen : Art::Schreiben, [&] {
        w = QVariant();
        if (m_dialekt.backend() == Backend::PostgreSQL) {
            const PgErgebnis e = pgStapel({{sql, p}}).first();
            if (!e.zeilen.isEmpty()) w = e.zeilen.first().value(0);
            return;
        }
        if (m_dialekt.backend() == Backend::SQLite && istLesend(sql))
            if (SqliteLeser* l = sqliteLeser()) {
                QString f;
                QSqlRecord kopf;
                QVector<QSqlRecord> zeilen;
                if (!l->lies(sql, p, kopf, zeilen, &f, 1)) throw DbFehler("Die Anweisung ist fehlgeschlagen", f, sql);
                if (!zeilen.isEmpty()) w = zeilen.first().value(0);
                return;
            }
        bool ausCache = false;
        const auto q = qtAnfrage(sql, p, &ausCache);
        Zurueckgabe z{[&] { qtFertig(sql, q, ausCache); }};
        if (q->next()) w = q->value(0);
    });
    return w;
}

int Datenbank::ausfuehren(const QString& sql, const Parameter& p) const {
    int n = 0;
    versuche(sql, istLesend(sql) ? Art::Lesen : Art::Schreiben, [&] {
        if (m_dialekt.backend() == Backend::PostgreSQL) {
            if (p.isEmpty() && !istLesend(sql)) {
                // DDL and texts of several statements: the simple protocol, after the pending BEGIN.
                qt();
                if (!m_pg) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
                if (!m_vorweg.isEmpty()) pgStapel({});
                PgErgebnis e;
                PgFehler f;
                if (!m_pg->fuehreEinfachAus(sql, e, &f)) throw DbFehler("Die Anweisung ist fehlgeschlagen", f.text, sql);
                n = e.betroffen;
                return;
            }
            n = pgStapel({{sql, p}}).first().betroffen;
            return;
        }
        bool ausCache = false;
        const auto q = qtAnfrage(sql, p, &ausCache);
        Zurueckgabe z{[&] { qtFertig(sql, q, ausCache); }};
        n = q->numRowsAffected();
    });
    return n;
}

void Datenbank::durchlaufe(const QString& sql, const Parameter& p,
                           const std::function<bool(const QSqlRecord&)>& zeile) const {
    const Art art = istLesend(sql) ? Art::Lesen : Art::Schreiben;
    if (m_dialekt.backend() == Backend::PostgreSQL) {
        // Once rows were handed on, a failure is not repeated (they would come twice).
        std::optional<DbFehler> spaet;
        versuche(sql, art, [&] {
            qt();
            if (!m_pg) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
            if (!m_vorweg.isEmpty()) pgStapel({});
            PgFehler f;
            bool begonnen = false;
            if (m_pg->durchlaufe({sql, p}, zeile, &f, &begonnen)) return;
            if (!begonnen) throw DbFehler("Die Anweisung ist fehlgeschlagen", f.text, sql);
            spaet.emplace("Die Anweisung ist fehlgeschlagen", f.text, sql);
        });
        if (spaet) {
            if (!m_ebenen.isEmpty()) m_ebenen.last() = true;
            throw *spaet;
        }
        return;
    }
    std::shared_ptr<QSqlQuery> q;
    bool ausCache = false;
    versuche(sql, art, [&] { q = qtAnfrage(sql, p, &ausCache); });
    Zurueckgabe z{[&] { qtFertig(sql, q, ausCache); }};
    while (q->next())
        if (!zeile(q->record())) break;
}

Anfrage Datenbank::einfuegeAnfrage(const QString& tabelle, const Werte& werte) const {
    QStringList spalten;
    Parameter p;
    for (const auto& [s, v] : mitSuchspalten(tabelle, werte)) {
        spalten << s;
        p << v;
    }
    return {m_dialekt.einfuegenMitId(tabelle, spalten), p};
}

qint64 Datenbank::einfuegen(const QString& tabelle, const Werte& werte) const {
    const Anfrage a = einfuegeAnfrage(tabelle, werte);
    QVariant id;
    versuche(a.sql, Art::Schreiben, [&] {
        if (m_dialekt.backend() == Backend::PostgreSQL) {
            const PgErgebnis e = pgStapel({a}).first();
            if (!e.zeilen.isEmpty()) id = e.zeilen.first().value(0);
            return;
        }
        bool ausCache = false;
        const auto q = qtAnfrage(a.sql, a.werte, &ausCache);
        Zurueckgabe z{[&] { qtFertig(a.sql, q, ausCache); }};
        if (q->next()) id = q->value(0);
    });
    if (!id.isValid())
        throw DbFehler("Einfügen ohne Schlüssel", "Der Server hat keine neue id zurückgegeben.");
    return id.toLongLong();
}

int Datenbank::aendern(const QString& tabelle, qint64 id, const Werte& werte) const {
    if (werte.isEmpty()) return 0;
    QStringList teile;
    Parameter p;
    for (const auto& [s, v] : mitSuchspalten(tabelle, werte)) {
        teile << s + " = ?";
        p << v;
    }
    p << id;
    return ausfuehren("update " + tabelle + " set " + teile.join(", ") + " where id = ?", p);
}

QList<Recordset> Datenbank::abfragen(const QList<Anfrage>& anfragen) const {
    QList<Recordset> l;
    if (anfragen.isEmpty()) return l;
    if (m_dialekt.backend() != Backend::PostgreSQL) {
        for (const Anfrage& a : anfragen) l << abfrage(a.sql, a.werte);
        return l;
    }
    bool lesend = true;
    for (const Anfrage& a : anfragen) lesend = lesend && istLesend(a.sql);
    versuche(anfragen.first().sql, lesend ? Art::Lesen : Art::Schreiben, [&] {
        l.clear();
        for (PgErgebnis& e : pgStapel(anfragen)) l << Recordset(e.kopf, std::move(e.zeilen));
    });
    return l;
}

int Datenbank::vorbereiteteAnweisungen() const {
    return m_pg ? m_pg->vorbereitet() : int(m_cache.size()) + (m_sqlite ? m_sqlite->anzahl() : 0);
}

qint64 Datenbank::vorbereitungen() const {
    return m_pg ? m_pg->vorbereitungen() : m_vorbereitungen + (m_sqlite ? m_sqlite->vorbereitungen() : 0);
}

qint64 Datenbank::rundreisen() const { return m_pg ? m_pg->rundreisen() : 0; }

QString Datenbank::vorbereiteterText(const QByteArray& name) const { return m_pg ? m_pg->textVon(name) : QString(); }

Anweisung Datenbank::vorbereite(const QString& sql) const {
    Anweisung a;
    a.m_db = this;
    a.m_sql = sql;
    if (m_dialekt.backend() == Backend::PostgreSQL) {
        // Prepared at its first use and kept with the connection's other statements.
        qt();
        a.m_direkt = true;
        return a;
    }
    a.m_q = QSqlQuery(qt());
    a.m_q.setForwardOnly(true);
    if (!a.m_q.prepare(sql)) {
        if (!m_ebenen.isEmpty()) m_ebenen.last() = true;
        throw DbFehler("Die Anweisung konnte nicht vorbereitet werden", fehlerText(a.m_q.lastError()), sql);
    }
    return a;
}

int Anweisung::fuehreAus(const Parameter& werte) {
    if (!m_db) throw DbFehler("Die Anweisung ist fehlgeschlagen", "Die Anweisung ist nicht vorbereitet.");
    if (m_direkt) return m_db->ausfuehren(m_sql, werte);
    for (int i = 0; i < werte.size(); ++i) m_q.bindValue(i, werte.at(i));
    if (!m_q.exec()) {
        if (!m_db->m_ebenen.isEmpty()) m_db->m_ebenen.last() = true;
        throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(m_q.lastError()), m_sql);
    }
    const int n = m_q.numRowsAffected();
    m_q.finish();
    return n;
}

std::unique_ptr<Datenbank> Datenbank::zweiteVerbindung(QString* fehler) const {
    if (!m_gemerkt) {
        if (fehler) *fehler = QStringLiteral("Es besteht keine Verbindung zur Datenbank.");
        return nullptr;
    }
    auto db = std::make_unique<Datenbank>();
    if (!db->oeffnen(m_ziel, m_benutzer, m_passwort, fehler)) return nullptr;
    return db;
}

void Datenbank::steuerAnweisung(const QString& sql) const {
    if (m_pg) {
        pgSteuerung(sql);
        return;
    }
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (!q.exec(sql)) throw DbFehler("Die Transaktion konnte nicht gesteuert werden", fehlerText(q.lastError()), sql);
}

void Datenbank::beginne() const {
    if (m_ebenen.isEmpty()) {
        QSqlDatabase db = qt();
        if (m_pg) {
            // BEGIN goes out with the first statement of the transaction.
            m_vorweg = QStringList{QStringLiteral("begin")};
            m_vorwegEbene = QList<int>{0};
        } else if (!db.transaction()) {
            throw DbFehler("Transaktion nicht begonnen", fehlerText(db.lastError()));
        }
    } else {
        if (!istOffen()) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
        if (m_pg) {
            m_vorweg << m_dialekt.sicherungspunkt(int(m_ebenen.size()));
            m_vorwegEbene << int(m_ebenen.size());
        } else {
            steuerAnweisung(m_dialekt.sicherungspunkt(int(m_ebenen.size())));
        }
    }
    m_ebenen.append(false);
}

void Datenbank::bestaetige() const {
    if (m_ebenen.isEmpty()) return;
    const int ebene = int(m_ebenen.size()) - 1;
    if (m_ebenen.last()) {
        verwerfe();
        throw DbFehler("Transaktion nicht abgeschlossen",
                       "Eine Anweisung der Transaktion ist fehlgeschlagen; ihre Änderungen wurden verworfen.");
    }
    // A level that sent no statement ends without a word to the server.
    if (!m_vorwegEbene.isEmpty() && m_vorwegEbene.last() == ebene) {
        m_vorweg.removeLast();
        m_vorwegEbene.removeLast();
        m_ebenen.removeLast();
        return;
    }
    if (ebene > 0) {
        try {
            for (const QString& sql : m_dialekt.sicherungspunktFreigeben(ebene)) steuerAnweisung(sql);
        } catch (const DbFehler&) {
            verwerfe();
            m_ebenen.last() = true;
            throw;
        }
        m_ebenen.removeLast();
        return;
    }
    if (m_pg) {
        QList<PgErgebnis> e;
        PgFehler f;
        if (!m_pg->fuehreAus({QStringLiteral("commit")}, {}, e, &f)) {
            if (PQstatus(m_pg->handle()) == CONNECTION_BAD) {
                // Whether the server still committed cannot be known.
                vergissVerbindung();
                m_ebenen.clear();
                throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist beim Abschluss abgerissen"),
                               QStringLiteral("Ob der Server den Schritt noch gespeichert hat, ist nicht sicher: bitte "
                                              "prüfen Sie es, sobald er wieder läuft.\n\n") + f.text);
            }
            if (PQtransactionStatus(m_pg->handle()) != PQTRANS_IDLE) {
                QList<PgErgebnis> r;
                m_pg->fuehreAus({QStringLiteral("rollback")}, {}, r, nullptr);
            }
            m_ebenen.clear();
            throw DbFehler("Transaktion nicht abgeschlossen", f.text);
        }
        m_ebenen.clear();
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.commit()) {
        const QString t = fehlerText(db.lastError());
        db.rollback();
        m_ebenen.clear();
        throw DbFehler("Transaktion nicht abgeschlossen", t);
    }
    m_ebenen.clear();
}

void Datenbank::verwerfe() const noexcept {
    if (m_ebenen.isEmpty()) return;
    const int ebene = int(m_ebenen.size()) - 1;
    m_ebenen.removeLast();
    if (!m_vorwegEbene.isEmpty() && m_vorwegEbene.last() == ebene) {
        // Never sent: nothing to undo.
        m_vorweg.removeLast();
        m_vorwegEbene.removeLast();
        return;
    }
    // The connection went away with the transaction: the outer levels are
    // marked failed, so that none of them commits as if all had gone well;
    // the outermost one's end opens the way to a new connection.
    if (!istOffen()) {
        for (bool& gescheitert : m_ebenen) gescheitert = true;
        return;
    }
    try {
        if (ebene > 0) {
            for (const QString& sql : m_dialekt.sicherungspunktZurueck(ebene)) steuerAnweisung(sql);
        } else if (m_pg) {
            QList<PgErgebnis> e;
            m_pg->fuehreAus({QStringLiteral("rollback")}, {}, e, nullptr);
        } else {
            QSqlDatabase::database(m_name, false).rollback();
        }
    } catch (...) {
        // Without its savepoint the level cannot be undone alone: the whole
        // transaction must not be committed any more.
        if (!m_ebenen.isEmpty()) m_ebenen.last() = true;
    }
}

Werte Datenbank::mitSuchspalten(const QString& tabelle, const Werte& werte) const {
    if (m_dialekt.fuelltSuchspalten()) return werte;
    Werte w = werte;
    for (const Suchspalte& s : suchspalten()) {
        if (s.tabelle.compare(tabelle, Qt::CaseInsensitive) != 0) continue;
        for (const auto& [spalte, wert] : werte)
            if (spalte.compare(s.quelle, Qt::CaseInsensitive) == 0)
                w.append({s.ziel, wert.isNull() ? QVariant() : QVariant(Dialekt::falte(wert.toString()))});
    }
    return w;
}

const QList<Datenbank::Suchspalte>& Datenbank::suchspalten() {
    static const QList<Suchspalte> s{
        {QStringLiteral("ortsnamen"), QStringLiteral("ort"), QStringLiteral("ort_suche")},
        {QStringLiteral("grundstuecke"), QStringLiteral("strassen_name"), QStringLiteral("strassen_name_suche")},
    };
    return s;
}

void Datenbank::folgeSuchspalten(const QString& tabelle) const {
    if (m_dialekt.fuelltSuchspalten()) return;
    for (const Suchspalte& s : suchspalten()) {
        if (s.tabelle.compare(tabelle, Qt::CaseInsensitive) != 0) continue;
        // The partial index of marked rows answers this at once when there are none.
        const QString markiert = "select id, " + s.quelle + " from " + s.tabelle + " where " + s.ziel +
                                 " is null and " + s.quelle + " is not null";
        try {
            if (abfrage(markiert).leer()) continue;
            Transaktion t(*this);
            const Recordset rs = abfrage(markiert);
            Anweisung a = vorbereite("update " + s.tabelle + " set " + s.ziel + " = ? where id = ?");
            for (const QSqlRecord& z : rs.zeilen())
                a.fuehreAus({Dialekt::falte(z.value(1).toString()), z.value(0)});
            t.bestaetige();
        } catch (const DbFehler&) {
            // Another program holds the file for writing: the rows stay marked
            // and are folded before the next search.
        }
    }
}

void Datenbank::sichereSqliteSuchspalten() const {
    try {
        for (const Suchspalte& s : suchspalten()) {
            const Tabelle* t = findeTabelle(s.tabelle);
            if (!t || !qt().record(s.tabelle).contains(s.ziel)) continue;
            if (wert("select count(*) from sqlite_master where type = 'index' and name = ?",
                     {Dialekt::markierteIndexName(s.tabelle, s.ziel)})
                    .toInt() > 0)
                continue;
            Transaktion tr(*this);
            for (const QString& sql : suchspaltenPflegeDdl(*t, m_dialekt)) ausfuehren(sql);
            // A one-off statement: talu_klein() is ours, but nothing stored in the file calls it.
            ausfuehren("update " + s.tabelle + " set " + s.ziel + " = talu_klein(" + s.quelle + ") where " + s.ziel +
                       " is not talu_klein(" + s.quelle + ")");
            tr.bestaetige();
        }
    } catch (const DbFehler&) {
        // A read-only file or a busy writer: the searches still work on what the file has.
    }
}

qint64 Datenbank::erneuereSuchspalten(const std::function<void(const QString&, qint64)>& fortschritt) const {
    qint64 gesamt = 0;
    for (const Suchspalte& s : suchspalten()) {
        const Tabelle* tab = findeTabelle(s.tabelle);
        const Spalte* sp = tab ? tab->spalte(s.ziel) : nullptr;
        const bool vorhanden = qt().record(s.tabelle).indexOf(s.ziel) >= 0;
        if (m_dialekt.fuelltSuchspalten()) {
            // The server computes the column; a plain one of an older version is replaced.
            if (vorhanden && wert(m_dialekt.generierteSpalteSql(), {s.tabelle, s.ziel}).toInt() > 0) continue;
            Transaktion t(*this);
            if (vorhanden) {
                if (tab)
                    for (const Index& i : tab->indexe)
                        if (i.ausdruecke.contains(s.ziel)) ausfuehren(m_dialekt.loescheIndex(i.name, s.tabelle));
                ausfuehren("alter table " + s.tabelle + " drop column " + s.ziel);
            }
            ausfuehren("alter table " + s.tabelle + " add " + s.ziel + " " +
                       m_dialekt.suchtextTyp(sp ? sp->laenge : 100, s.quelle));
            t.bestaetige();
            continue;
        }
        // Databases made before the column existed get it here.
        if (!vorhanden) ausfuehren("alter table " + s.tabelle + " add " + s.ziel + " " + m_dialekt.suchtextTyp(100, s.quelle));
        // The rows are read by id ranges, so the writes never run under an open read.
        constexpr int kStueck = 5000;
        qint64 abId = -1;
        for (;;) {
            Transaktion t(*this);
            const Recordset rs = abfrage(m_dialekt.begrenze("select id, " + s.quelle + " from " + s.tabelle +
                                                                " where id > ? order by id",
                                                            kStueck),
                                         {abId});
            if (rs.leer()) break;
            Anweisung a = vorbereite("update " + s.tabelle + " set " + s.ziel + " = ? where id = ?");
            for (const QSqlRecord& z : rs.zeilen()) {
                const QVariant wert = z.value(1);
                a.fuehreAus({wert.isNull() ? QVariant() : QVariant(Dialekt::falte(wert.toString())), z.value(0)});
                abId = z.value(0).toLongLong();
                ++gesamt;
            }
            t.bestaetige();
            if (fortschritt) fortschritt(s.tabelle, gesamt);
        }
    }
    // Indexes of an older program version were built on an expression; they
    // are replaced by the plain ones on the search columns.
    for (const Suchspalte& s : suchspalten()) {
        const Tabelle* t = findeTabelle(s.tabelle);
        if (!t) continue;
        Tabelle nur = *t;
        nur.indexe.clear();
        for (const Index& i : t->indexe)
            if (i.ausdruecke.contains(s.ziel)) nur.indexe << i;
        Transaktion tr(*this);
        for (const Index& i : nur.indexe) ausfuehren(m_dialekt.loescheIndex(i.name, s.tabelle));
        for (const QString& sql : indexDdl(nur, m_dialekt)) ausfuehren(sql);
        for (const QString& sql : suchspaltenPflegeDdl(nur, m_dialekt)) ausfuehren(sql);
        tr.bestaetige();
    }
    legePostgresIndexeAn(*this);
    return gesamt;
}

Transaktion::Transaktion(const Datenbank& db) : m_db(db) { m_db.beginne(); }

Transaktion::~Transaktion() {
    if (m_offen) m_db.verwerfe();
}

void Transaktion::bestaetige() {
    m_offen = false;
    m_db.bestaetige();
}

}  // namespace talu
