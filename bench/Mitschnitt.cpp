#include "Mitschnitt.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <QSqlDriver>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "BenchDatenbank.h"
#include "db/Datenbank.h"
#include "db/Dialekt.h"

#ifdef TALU_BENCH_LIBPQ
#include <libpq-fe.h>
#endif

namespace talu::bench {

bool Aufruf::liest() const {
    const QByteArray t = sql.trimmed().left(6).toLower();
    return t == "select" || t.startsWith("with");
}

QByteArray mitEingebautemLower(const QByteArray& sql) {
    QByteArray s = sql;
    return s.replace("talu_klein(", "lower(");
}

// --- Reading values back ---

namespace {

// A quoted SQL text literal at pos (which holds the opening quote); '' is one quote.
bool leseText(const QByteArray& s, qsizetype& pos, QByteArray& text) {
    if (pos >= s.size() || s[pos] != '\'') return false;
    text.clear();
    for (qsizetype i = pos + 1; i < s.size(); ++i) {
        if (s[i] == '\'') {
            if (i + 1 < s.size() && s[i + 1] == '\'') {
                text += '\'';
                ++i;
                continue;
            }
            pos = i + 1;
            return true;
        }
        text += s[i];
    }
    return false;
}

bool leseZahl(const QByteArray& s, qsizetype& pos, Wert& w) {
    qsizetype i = pos;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    bool komma = false;
    while (i < s.size()) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            ++i;
        } else if (c == '.' || c == 'e' || c == 'E') {
            komma = true;
            ++i;
            if ((c == 'e' || c == 'E') && i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        } else {
            break;
        }
    }
    if (i == pos) return false;
    const QByteArray t = s.mid(pos, i - pos);
    bool ok = false;
    if (komma) {
        w.art = Wert::Zahl;
        w.zahl = t.toDouble(&ok);
    } else {
        w.art = Wert::Ganz;
        w.ganz = t.toLongLong(&ok);
    }
    pos = i;
    return ok;
}

bool leseWort(const QByteArray& s, qsizetype& pos, const char* wort) {
    const qsizetype n = qsizetype(qstrlen(wort));
    if (s.mid(pos, n).compare(wort, Qt::CaseInsensitive) != 0) return false;
    pos += n;
    return true;
}

// One literal of SQLite's expansion or Qt's EXECUTE list.
bool leseWert(const QByteArray& s, qsizetype& pos, Wert& w) {
    w = Wert();
    if (pos >= s.size()) return false;
    if (s[pos] == '\'') {
        w.art = Wert::Text;
        return leseText(s, pos, w.text);
    }
    if ((s[pos] == 'x' || s[pos] == 'X') && pos + 1 < s.size() && s[pos + 1] == '\'') {
        ++pos;
        QByteArray hex;
        if (!leseText(s, pos, hex)) return false;
        w.art = Wert::Blob;
        w.text = QByteArray::fromHex(hex);
        return true;
    }
    if (leseWort(s, pos, "NULL")) return true;
    if (leseWort(s, pos, "TRUE")) {
        w.art = Wert::Ganz;
        w.ganz = 1;
        return true;
    }
    if (leseWort(s, pos, "FALSE")) {
        w.art = Wert::Ganz;
        return true;
    }
    return leseZahl(s, pos, w);
}

}  // namespace

bool werteAusErweitert(const QByteArray& original, const QByteArray& erweitert, QList<Wert>& werte) {
    werte.clear();
    QList<QByteArray> namen;
    qsizetype i = 0, j = 0;
    char quote = 0;  // inside '...' or "..." of the original text
    while (i < original.size()) {
        const char c = original[i];
        if (quote) {
            if (j >= erweitert.size() || erweitert[j] != c) return false;
            if (c == quote) quote = 0;
            ++i, ++j;
            continue;
        }
        // A parameter: "?", "?NNN", or a name (Qt's SQLite driver turns "?" into ":0", ":1", ...).
        const bool name = (c == ':' || c == '@' || c == '$') && i + 1 < original.size() &&
                          (std::isalnum(static_cast<unsigned char>(original[i + 1])) || original[i + 1] == '_');
        if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?' || name) {
            Wert w;
            if (!leseWert(erweitert, j, w)) return false;
            const qsizetype anfang = i++;
            while (i < original.size() && (std::isalnum(static_cast<unsigned char>(original[i])) || original[i] == '_')) ++i;
            // A name used twice is one parameter.
            const QByteArray n = original.mid(anfang, i - anfang);
            if (n == "?" || !namen.contains(n)) {
                werte << w;
                namen << n;
            }
            continue;
        }
        if (j >= erweitert.size() || erweitert[j] != c) return false;
        ++i, ++j;
    }
    return j == erweitert.size();
}

bool werteAusExecute(const QByteArray& liste, QList<Wert>& werte) {
    werte.clear();
    qsizetype pos = 0;
    auto leer = [&] {
        while (pos < liste.size() && liste[pos] == ' ') ++pos;
    };
    leer();
    if (pos >= liste.size()) return true;
    for (;;) {
        Wert w;
        leer();
        if (!leseWert(liste, pos, w)) return false;
        leer();
        // A type cast Qt may append ("'...'::bytea") is not a value of its own.
        if (liste.mid(pos, 2) == "::") {
            pos += 2;
            while (pos < liste.size() && liste[pos] != ',' && liste[pos] != ' ') ++pos;
            leer();
        }
        werte << w;
        if (pos >= liste.size()) return true;
        if (liste[pos] != ',') return false;
        ++pos;
    }
}

QByteArray abfrageAusSpur(const QByteArray& zeile) {
    // "F\t<length>\tQuery\t \"<text>\""; bytes that are not printable come as \xNN.
    const qsizetype q = zeile.indexOf("\tQuery\t");
    if (!zeile.startsWith("F\t") || q < 0) return {};
    const qsizetype a = zeile.indexOf('"', q);
    const qsizetype e = zeile.lastIndexOf('"');
    if (a < 0 || e <= a) return {};
    const QByteArray roh = zeile.mid(a + 1, e - a - 1);
    QByteArray t;
    t.reserve(roh.size());
    for (qsizetype i = 0; i < roh.size(); ++i) {
        if (roh[i] == '\\' && i + 3 < roh.size() && roh[i + 1] == 'x') {
            // libpq prints a byte >= 0x80 from a signed char: "\xffffffc3" or "\xc3".
            qsizetype n = roh.mid(i + 2, 6) == "ffffff" ? 8 : 2;
            bool ok = false;
            const int b = roh.mid(i + 2 + n - 2, 2).toInt(&ok, 16);
            if (ok) {
                t += char(b);
                i += 1 + n;
                continue;
            }
        }
        t += roh[i];
    }
    return t;
}

QStringList ganzGelesen(const QStringList& plan, const QStringList& tabellen, bool begrenzt) {
    // A limited read whose order needs no sort of all rows stops after its
    // rows: its scan does not read the table whole.
    bool sortiert = false;
    for (const QString& z : plan) {
        QString knoten = z.trimmed();
        if (knoten.startsWith(QLatin1String("->"))) knoten = knoten.mid(2).trimmed();
        sortiert = sortiert || knoten == QLatin1String("USE TEMP B-TREE FOR ORDER BY") ||
                   knoten.startsWith(QLatin1String("Sort "));
    }
    if (begrenzt && !sortiert) return {};
    QStringList l;
    for (const QString& z : plan) {
        for (const QString& t : tabellen) {
            // SQLite: "SCAN t" (also "SCAN t USING INDEX i": every row in index order);
            // PostgreSQL: "Seq Scan on t".
            const QRegularExpression re("(^|\\s)(SCAN|Seq Scan on|Parallel Seq Scan on) " + QRegularExpression::escape(t) +
                                        "(\\s|$)");
            // The index of marked rows is partial: its scan reads only the rows it holds.
            static const QRegularExpression teilIndex("INDEX ix_\\w+_offen(\\s|$)");
            if (re.match(z).hasMatch() && !teilIndex.match(z).hasMatch() && !l.contains(t)) l << t;
        }
    }
    return l;
}

// --- Recording ---

namespace {

sqlite3* sqliteHandle(const Datenbank& db) {
    const QVariant h = db.qt().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

class SqliteMitschnitt : public Mitschnitt {
public:
    explicit SqliteMitschnitt(sqlite3* db) : m_db(db) {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT | SQLITE_TRACE_ROW, &SqliteMitschnitt::spur, this);
    }
    ~SqliteMitschnitt() override { beende(); }
    Aufrufe ergebnis() override {
        beende();
        if (!m_fehler.isEmpty())
            throw DbFehler("Mitschnitt unvollständig", "Die Werte der Anweisung ließen sich nicht lesen.", m_fehler);
        return m_aufrufe;
    }

private:
    void beende() {
        if (m_db) sqlite3_trace_v2(m_db, 0, nullptr, nullptr);
        m_db = nullptr;
    }
    static int spur(unsigned art, void* ctx, void* p, void* x) {
        auto* selbst = static_cast<SqliteMitschnitt*>(ctx);
        auto* stmt = static_cast<sqlite3_stmt*>(p);
        if (art == SQLITE_TRACE_ROW) {
            // The rows TALU read, to check the raw side reads the same.
            for (qsizetype i = selbst->m_stmts.size() - 1; i >= 0; --i)
                if (selbst->m_stmts[i] == stmt) {
                    ++selbst->m_aufrufe[i].zeilen;
                    break;
                }
            return 0;
        }
        if (art != SQLITE_TRACE_STMT) return 0;
        const char* text = static_cast<const char*>(x);
        if (text && text[0] == '-' && text[1] == '-') return 0;  // a trigger's statement
        Aufruf a;
        a.sql = QByteArray(sqlite3_sql(stmt));
        a.zeilen = 0;
        if (char* e = sqlite3_expanded_sql(stmt)) {
            if (!werteAusErweitert(a.sql, QByteArray(e), a.werte)) selbst->m_fehler = QString::fromUtf8(e);
            sqlite3_free(e);
        }
        selbst->m_aufrufe << a;
        selbst->m_stmts << stmt;
        return 0;
    }
    sqlite3* m_db;
    Aufrufe m_aufrufe;
    QList<sqlite3_stmt*> m_stmts;
    QString m_fehler;
};

#ifdef TALU_BENCH_LIBPQ
PGconn* pgHandle(const Datenbank& db) {
    const QVariant h = db.qt().driver()->handle();
    if (!h.isValid() || (qstrcmp(h.typeName(), "PGconn*") != 0 && qstrcmp(h.typeName(), "pg_conn*") != 0)) return nullptr;
    return *static_cast<PGconn* const*>(h.data());
}

// One logical byte of libpq's trace text: printable bytes as they are,
// others as \xNN (from a signed char also \xffffffNN).
char spurZeichen(const QByteArray& z, qsizetype& i) {
    if (z[i] == '\\' && i + 3 < z.size() && z[i + 1] == 'x') {
        const qsizetype n = z.mid(i + 2, 6) == "ffffff" ? 8 : 2;
        bool ok = false;
        const int b = z.mid(i + 2 + n - 2, 2).toInt(&ok, 16);
        if (ok) {
            i += 2 + n;
            return char(b);
        }
    }
    return z[i++];
}

// Reads the fields of one traced message: "name" strings, numbers and 'data' of a given length.
struct SpurLeser {
    const QByteArray& z;
    qsizetype i = 0;
    void leer() {
        while (i < z.size() && (z[i] == ' ' || z[i] == '\t')) ++i;
    }
    bool text(QByteArray& t) {
        leer();
        if (i >= z.size() || z[i] != '"') return false;
        const qsizetype e = z.indexOf('"', i + 1);
        if (e < 0) return false;
        QByteArray roh = z.mid(i + 1, e - i - 1);
        t.clear();
        for (qsizetype k = 0; k < roh.size();) t += spurZeichen(roh, k);
        i = e + 1;
        return true;
    }
    bool zahl(int& n) {
        leer();
        const qsizetype a = i;
        if (i < z.size() && z[i] == '-') ++i;
        while (i < z.size() && z[i] >= '0' && z[i] <= '9') ++i;
        bool ok = false;
        n = z.mid(a, i - a).toInt(&ok);
        return ok;
    }
    bool daten(int laenge, QByteArray& t) {
        leer();
        if (i >= z.size() || z[i] != '\'') return false;
        ++i;
        t.clear();
        for (int k = 0; k < laenge && i < z.size(); ++k) t += spurZeichen(z, i);
        if (i >= z.size() || z[i] != '\'') return false;
        ++i;
        return true;
    }
};

class PgMitschnitt : public Mitschnitt {
public:
    PgMitschnitt(PGconn* pg, const Datenbank& db) : m_pg(pg), m_db(db) {
        m_datei = open_memstream(&m_puffer, &m_laenge);
        if (!m_datei) return;
        PQtrace(m_pg, m_datei);
        PQsetTraceFlags(m_pg, PQTRACE_SUPPRESS_TIMESTAMPS);
    }
    ~PgMitschnitt() override {
        beende();
        free(m_puffer);
    }
    int rundreisen() const override { return m_rundreisen; }
    Aufrufe ergebnis() override {
        beende();
        Aufrufe l;
        // Statements TALU prepared before the recording began: their text from its cache.
        QHash<QByteArray, QByteArray> vorbereitet;
        QList<qsizetype> offen;  // statements whose answer is still to come, in order
        m_rundreisen = 0;
        const QList<QByteArray> zeilen = QByteArray(m_puffer ? m_puffer : "", qsizetype(m_laenge)).split('\n');
        for (const QByteArray& z : zeilen) {
            const QList<QByteArray> teile = z.split('\t');
            if (teile.size() < 3) continue;
            const QByteArray& art = teile[2];
            if (teile[0] == "B") {
                if (art == "DataRow" && !offen.isEmpty()) ++l[offen.first()].zeilen;
                else if ((art == "CommandComplete" || art == "ErrorResponse" || art == "EmptyQueryResponse") &&
                         !offen.isEmpty())
                    offen.removeFirst();
                continue;
            }
            if (teile[0] != "F") continue;
            if (art == "Sync") {
                ++m_rundreisen;
                continue;
            }
            if (art == "Query") {
                ++m_rundreisen;
                const QByteArray q = abfrageAusSpur(z);
                if (q.isEmpty()) continue;
                l << Aufruf{q, {}, 0};
                offen << l.size() - 1;
                continue;
            }
            const qsizetype start = z.indexOf('\t' + art + '\t');
            if (start < 0) continue;
            SpurLeser r{z, start + art.size() + 2};
            if (art == "Parse") {
                QByteArray name, sql;
                if (r.text(name) && r.text(sql)) vorbereitet[name] = sql;
                continue;
            }
            if (art == "Bind") {
                QByteArray portal, name;
                int formate = 0, anzahl = 0;
                if (!r.text(portal) || !r.text(name) || !r.zahl(formate))
                    throw DbFehler("Mitschnitt unvollständig", "Bind ließ sich nicht lesen.", QString::fromUtf8(z));
                for (int f = 0, x = 0; f < formate; ++f) r.zahl(x);
                r.zahl(anzahl);
                Aufruf a;
                a.sql = vorbereitet.value(name);
                if (a.sql.isEmpty()) a.sql = PgSitzung::mitNummern(m_db.vorbereiteterText(name));
                for (int w = 0; w < anzahl; ++w) {
                    int laenge = 0;
                    r.zahl(laenge);
                    Wert v;
                    if (laenge >= 0) {
                        v.art = Wert::Text;
                        if (!r.daten(laenge, v.text))
                            throw DbFehler("Mitschnitt unvollständig", "Die Werte der Anweisung ließen sich nicht lesen.",
                                           QString::fromUtf8(z));
                    }
                    a.werte << v;
                }
                if (a.sql.isEmpty())
                    throw DbFehler("Mitschnitt unvollständig", "Unbekannte Anweisung " + QString::fromUtf8(name),
                                   QString::fromUtf8(z));
                a.zeilen = 0;
                l << a;
                offen << l.size() - 1;
            }
        }
        return l;
    }

private:
    void beende() {
        if (!m_datei) return;
        PQuntrace(m_pg);
        fclose(m_datei);
        m_datei = nullptr;
    }
    PGconn* m_pg;
    const Datenbank& m_db;
    FILE* m_datei = nullptr;
    char* m_puffer = nullptr;
    size_t m_laenge = 0;
    int m_rundreisen = -1;
};
#endif

}  // namespace

std::unique_ptr<Mitschnitt> Mitschnitt::starte(const Datenbank& db) {
    if (db.backend() == Backend::SQLite) {
        if (sqlite3* h = sqliteHandle(db)) return std::make_unique<SqliteMitschnitt>(h);
    }
#ifdef TALU_BENCH_LIBPQ
    if (db.backend() == Backend::PostgreSQL) {
        if (PGconn* h = pgHandle(db)) return std::make_unique<PgMitschnitt>(h, db);
    }
#endif
    return nullptr;
}

// --- Raw connections ---

namespace {

// Every value read goes here, so that no read can be optimised away.
volatile long long g_senke = 0;

// The same rule as the program's talu_klein(): Unicode lower case.
void kleinFunktion(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QByteArray klein = Dialekt::falte(QString::fromUtf8(text, sqlite3_value_bytes(argv[0]))).toUtf8();
    sqlite3_result_text(ctx, klein.constData(), int(klein.size()), SQLITE_TRANSIENT);
}

class RohSqlite : public RohVerbindung {
public:
    RohSqlite(sqlite3* db, Klein k) : m_db(db), m_klein(k) {}
    ~RohSqlite() override { sqlite3_close_v2(m_db); }

    int fuehreAus(const Aufruf& a, int zeilen) override {
        sqlite3_stmt* s = bereite(a, "");
        int n = 0;
        int rc;
        long long summe = 0;
        while ((zeilen < 0 || n < zeilen) && (rc = sqlite3_step(s)) == SQLITE_ROW) {
            ++n;
            const int spalten = sqlite3_column_count(s);
            for (int c = 0; c < spalten; ++c) {
                switch (sqlite3_column_type(s, c)) {
                    case SQLITE_INTEGER: summe += sqlite3_column_int64(s, c); break;
                    case SQLITE_FLOAT: summe += (long long)sqlite3_column_double(s, c); break;
                    case SQLITE_TEXT: summe += sqlite3_column_bytes(s, c) + (sqlite3_column_text(s, c) ? 1 : 0); break;
                    case SQLITE_BLOB: summe += sqlite3_column_bytes(s, c); break;
                    default: break;
                }
            }
        }
        g_senke = summe;
        if (zeilen >= 0 && n >= zeilen) rc = SQLITE_DONE;
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE) throw DbFehler("Roh: Anweisung fehlgeschlagen", QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(a.sql));
        return n;
    }

    QStringList plan(const Aufruf& a) override {
        sqlite3_stmt* s = bereite(a, "explain query plan ");
        QStringList l;
        while (sqlite3_step(s) == SQLITE_ROW)
            l << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
        sqlite3_finalize(s);
        return l;
    }
    QString version() override { return QStringLiteral("SQLite %1").arg(QString::fromLatin1(sqlite3_libversion())); }

private:
    sqlite3_stmt* bereite(const Aufruf& a, const QByteArray& vorsatz) {
        // Prepared for each run, as the program prepares each statement it runs.
        const QByteArray sql = vorsatz + (m_klein == Klein::EingebautesLower ? mitEingebautemLower(a.sql) : a.sql);
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &s, nullptr) != SQLITE_OK)
            throw DbFehler("Roh: Anweisung nicht vorbereitet", QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sql));
        for (int i = 0; i < a.werte.size(); ++i) {
            const Wert& w = a.werte[i];
            switch (w.art) {
                case Wert::Null: sqlite3_bind_null(s, i + 1); break;
                case Wert::Ganz: sqlite3_bind_int64(s, i + 1, w.ganz); break;
                case Wert::Zahl: sqlite3_bind_double(s, i + 1, w.zahl); break;
                case Wert::Text: sqlite3_bind_text(s, i + 1, w.text.constData(), int(w.text.size()), SQLITE_STATIC); break;
                case Wert::Blob: sqlite3_bind_blob(s, i + 1, w.text.constData(), int(w.text.size()), SQLITE_STATIC); break;
            }
        }
        return s;
    }
    sqlite3* m_db;
    Klein m_klein;
};

#ifdef TALU_BENCH_LIBPQ
class RohPg : public RohVerbindung {
public:
    explicit RohPg(PGconn* pg) : m_pg(pg) {}
    ~RohPg() override { PQfinish(m_pg); }

    int fuehreAus(const Aufruf& a, int) override {
        // The whole result, as Qt's driver fetches it for every query: a row
        // limit would need a cancel, which costs a connection of its own.
        QList<QByteArray> texte;
        std::vector<const char*> werte;
        parameter(a, texte, werte);
        PGresult* r = PQexecParams(m_pg, a.sql.constData(), int(werte.size()), nullptr, werte.data(), nullptr, nullptr, 0);
        pruefe(r, a);
        const int n = lies(r);
        PQclear(r);
        return n;
    }

    QStringList plan(const Aufruf& a) override {
        QList<QByteArray> texte;
        std::vector<const char*> werte;
        parameter(a, texte, werte);
        const QByteArray sql = "explain " + a.sql;
        PGresult* r = PQexecParams(m_pg, sql.constData(), int(werte.size()), nullptr, werte.data(), nullptr, nullptr, 0);
        pruefe(r, a);
        QStringList l;
        for (int i = 0; i < PQntuples(r); ++i) l << QString::fromUtf8(PQgetvalue(r, i, 0));
        PQclear(r);
        return l;
    }
    QString version() override {
        const int v = PQserverVersion(m_pg);
        return QString("PostgreSQL %1.%2 (libpq %3)").arg(v / 10000).arg(v % 10000).arg(PQlibVersion() / 10000);
    }

private:
    static void parameter(const Aufruf& a, QList<QByteArray>& texte, std::vector<const char*>& werte) {
        texte.clear();
        werte.clear();
        for (const Wert& w : a.werte) {
            switch (w.art) {
                case Wert::Null: texte << QByteArray(); break;
                case Wert::Ganz: texte << QByteArray::number(w.ganz); break;
                case Wert::Zahl: texte << QByteArray::number(w.zahl, 'g', 17); break;
                case Wert::Text:
                case Wert::Blob: texte << w.text; break;
            }
        }
        for (int i = 0; i < a.werte.size(); ++i)
            werte.push_back(a.werte[i].art == Wert::Null ? nullptr : texte[i].constData());
    }
    void pruefe(PGresult* r, const Aufruf& a) {
        const auto s = PQresultStatus(r);
        if (s == PGRES_TUPLES_OK || s == PGRES_COMMAND_OK) return;
        const QString t = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        throw DbFehler("Roh: Anweisung fehlgeschlagen", t, QString::fromUtf8(a.sql));
    }
    static int lies(PGresult* r) {
        long long summe = 0;
        const int zeilen = PQntuples(r), spalten = PQnfields(r);
        for (int i = 0; i < zeilen; ++i)
            for (int c = 0; c < spalten; ++c) summe += PQgetlength(r, i, c) + (PQgetvalue(r, i, c)[0] ? 1 : 0);
        g_senke = summe;
        return zeilen;
    }
    PGconn* m_pg;
};
#endif

}  // namespace

std::unique_ptr<RohVerbindung> RohVerbindung::oeffne(const BenchZiel& z, Klein k, QString* fehler) {
    if (z.backend == Backend::SQLite) {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(z.datei.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            if (fehler) *fehler = QString::fromUtf8(sqlite3_errmsg(db));
            sqlite3_close_v2(db);
            return nullptr;
        }
        // The same settings as the program's connection through Qt.
        sqlite3_busy_timeout(db, 5000);
        sqlite3_exec(db, "pragma foreign_keys = on", nullptr, nullptr, nullptr);
        if (k == Klein::Registriert)
            sqlite3_create_function_v2(db, "talu_klein", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &kleinFunktion,
                                       nullptr, nullptr, nullptr);
        return std::make_unique<RohSqlite>(db, k);
    }
#ifdef TALU_BENCH_LIBPQ
    // The same encryption options as the program's connection.
    const QByteArray info = QString("host=%1 port=%2 dbname=%3 user=%4 password=%5 connect_timeout=10 %6")
                                .arg(z.host).arg(z.port).arg(z.name, z.benutzer, z.passwort, z.ziel().pgVerbindungsoptionen())
                                .toUtf8();
    PGconn* pg = PQconnectdb(info.constData());
    if (PQstatus(pg) != CONNECTION_OK) {
        if (fehler) *fehler = QString::fromUtf8(PQerrorMessage(pg));
        PQfinish(pg);
        return nullptr;
    }
    PQclear(PQexec(pg, "set client_encoding to 'UTF8'"));
    return std::make_unique<RohPg>(pg);
#else
    if (fehler) *fehler = QStringLiteral("ohne libpq gebaut");
    return nullptr;
#endif
}

}  // namespace talu::bench
