#include "ZeilenSchreiber.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>
#include <charconv>
#include <string>
#include <vector>

#include "db/Datenbank.h"

#ifdef TALU_BENCH_LIBPQ
#include <libpq-fe.h>
#endif

namespace talu::bench {

namespace {

QString platzhalter(int n) {
    QStringList p;
    for (int i = 0; i < n; ++i) p << QStringLiteral("?");
    return "(" + p.join(", ") + ")";
}

// SQLite: one prepared insert, bound value by value, committed every kStueck rows.
class SqliteSchreiber : public ZeilenSchreiber {
public:
    explicit SqliteSchreiber(const Datenbank& db) {
        const QVariant h = db.qt().driver()->handle();
        if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
            throw DbFehler("Kein SQLite-Handle", "Der Treiber liefert keinen sqlite3-Zeiger.");
        m_db = *static_cast<sqlite3* const*>(h.data());
    }
    ~SqliteSchreiber() override {
        if (m_stmt) sqlite3_finalize(m_stmt);
        if (m_offen) sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
    }
    QString art() const override { return QStringLiteral("SQLite: vorbereitete Anweisung, Transaktionen je 100.000 Zeilen"); }

    void beginne(const QString& tabelle, const QStringList& spalten) override {
        m_tabelle = tabelle;
        const QByteArray sql =
            ("insert into " + tabelle + " (" + spalten.join(", ") + ") values " + platzhalter(int(spalten.size())))
                .toUtf8();
        pruefe(sqlite3_prepare_v3(m_db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr),
               sql);
        steuer("begin");
        m_offen = true;
        m_werte.clear();
        m_texte.clear();
        m_inStueck = 0;
    }
    // Values are gathered for the row and bound when it is complete: texts
    // then lie in one buffer that stays put until the step (no copy per text).
    void null() override { m_werte.push_back({Art::Null, 0, 0, 0, 0}); }
    void ganz(long long w) override { m_werte.push_back({Art::Ganz, w, 0, 0, 0}); }
    void zahl(double w) override { m_werte.push_back({Art::Zahl, 0, w, 0, 0}); }
    void text(std::string_view t) override {
        m_werte.push_back({Art::Text, 0, 0, m_texte.size(), t.size()});
        m_texte.append(t);
    }
    using ZeilenSchreiber::text;
    void zeileFertig() override {
        for (size_t i = 0; i < m_werte.size(); ++i) {
            const Wert& w = m_werte[i];
            const int n = int(i) + 1;
            switch (w.art) {
                case Art::Null: sqlite3_bind_null(m_stmt, n); break;
                case Art::Ganz: sqlite3_bind_int64(m_stmt, n, w.ganz); break;
                case Art::Zahl: sqlite3_bind_double(m_stmt, n, w.zahl); break;
                case Art::Text: sqlite3_bind_text(m_stmt, n, m_texte.data() + w.von, int(w.laenge), SQLITE_STATIC); break;
            }
        }
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_DONE) pruefe(rc, "insert into " + m_tabelle.toUtf8());
        sqlite3_reset(m_stmt);
        m_werte.clear();
        m_texte.clear();
        ++m_zeilen;
        if (++m_inStueck >= kStueck) {
            steuer("commit");
            steuer("begin");
            m_inStueck = 0;
        }
    }
    void ende() override {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        steuer("commit");
        m_offen = false;
    }

private:
    static constexpr int kStueck = 100000;
    void steuer(const char* sql) { pruefe(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr), sql); }
    void pruefe(int rc, const QByteArray& sql) {
        if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
        throw DbFehler("Schreiben fehlgeschlagen", QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sql));
    }
    enum class Art { Null, Ganz, Zahl, Text };
    struct Wert {
        Art art;
        long long ganz;
        double zahl;
        size_t von, laenge;
    };
    std::vector<Wert> m_werte;
    std::string m_texte;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_tabelle;
    int m_inStueck = 0;
    bool m_offen = false;
};

#ifdef TALU_BENCH_LIBPQ
// PostgreSQL: COPY ... FROM STDIN in text format on the connection's own handle.
class PgCopySchreiber : public ZeilenSchreiber {
public:
    explicit PgCopySchreiber(const Datenbank& db) {
        const QVariant h = db.qt().driver()->handle();
        if (!h.isValid() || (qstrcmp(h.typeName(), "PGconn*") != 0 && qstrcmp(h.typeName(), "pg_conn*") != 0))
            throw DbFehler("Kein libpq-Handle", "Der Treiber liefert keinen PGconn-Zeiger.");
        m_pg = *static_cast<PGconn* const*>(h.data());
        m_puffer.reserve(kPuffer + 4096);
    }
    QString art() const override { return QStringLiteral("PostgreSQL: COPY über libpq"); }

    void beginne(const QString& tabelle, const QStringList& spalten) override {
        m_sql = ("copy " + tabelle + " (" + spalten.join(", ") + ") from stdin").toUtf8();
        PGresult* r = PQexec(m_pg, m_sql.constData());
        const bool ok = PQresultStatus(r) == PGRES_COPY_IN;
        const QString fehler = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        if (!ok) throw DbFehler("COPY nicht begonnen", fehler, QString::fromUtf8(m_sql));
        m_erste = true;
    }
    void null() override { trenne(), m_puffer += "\\N"; }
    void ganz(long long w) override {
        trenne();
        char b[24];
        auto [e, ec] = std::to_chars(b, b + sizeof b, w);
        m_puffer.append(b, e);
    }
    void zahl(double w) override {
        trenne();
        char b[32];
        auto [e, ec] = std::to_chars(b, b + sizeof b, w);
        m_puffer.append(b, e);
    }
    void text(std::string_view t) override {
        trenne();
        for (const char c : t) {
            switch (c) {
                case '\\': m_puffer += "\\\\"; break;
                case '\t': m_puffer += "\\t"; break;
                case '\n': m_puffer += "\\n"; break;
                case '\r': m_puffer += "\\r"; break;
                default: m_puffer += c;
            }
        }
    }
    using ZeilenSchreiber::text;
    void zeileFertig() override {
        m_puffer += '\n';
        m_erste = true;
        ++m_zeilen;
        if (m_puffer.size() >= kPuffer) sende();
    }
    void ende() override {
        sende();
        if (PQputCopyEnd(m_pg, nullptr) != 1) fehler("COPY nicht abgeschlossen");
        bool ok = true;
        QString text;
        while (PGresult* r = PQgetResult(m_pg)) {
            if (PQresultStatus(r) != PGRES_COMMAND_OK) {
                ok = false;
                text = QString::fromUtf8(PQresultErrorMessage(r));
            }
            PQclear(r);
        }
        if (!ok) throw DbFehler("COPY fehlgeschlagen", text, QString::fromUtf8(m_sql));
    }

private:
    static constexpr size_t kPuffer = 1 << 20;
    void trenne() {
        if (!m_erste) m_puffer += '\t';
        m_erste = false;
    }
    void sende() {
        if (m_puffer.empty()) return;
        if (PQputCopyData(m_pg, m_puffer.data(), int(m_puffer.size())) != 1) fehler("COPY-Daten nicht gesendet");
        m_puffer.clear();
    }
    [[noreturn]] void fehler(const QString& kurz) {
        throw DbFehler(kurz, QString::fromUtf8(PQerrorMessage(m_pg)), QString::fromUtf8(m_sql));
    }
    PGconn* m_pg = nullptr;
    QByteArray m_sql;
    std::string m_puffer;
    bool m_erste = true;
};
#endif

// Without libpq: rows gathered into multi-row inserts, prepared once per
// statement size and run through the data layer in transactions.
class MehrzeilenSchreiber : public ZeilenSchreiber {
public:
    explicit MehrzeilenSchreiber(const Datenbank& db) : m_db(db) {}
    ~MehrzeilenSchreiber() override {
        if (m_offen) m_db.verwerfe();
    }
    QString art() const override { return QStringLiteral("mehrzeilige insert-Anweisungen über Qt (ohne libpq gebaut)"); }

    void beginne(const QString& tabelle, const QStringList& spalten) override {
        m_tabelle = tabelle;
        m_spalten = spalten;
        m_werte.clear();
        m_zeilenImPuffer = 0;
        m_voll = Anweisung();
        m_db.beginne();
        m_offen = true;
    }
    void null() override { m_werte << QVariant(); }
    void ganz(long long w) override { m_werte << QVariant(w); }
    void zahl(double w) override { m_werte << QVariant(w); }
    void text(std::string_view t) override { m_werte << QVariant(QString::fromUtf8(t.data(), qsizetype(t.size()))); }
    using ZeilenSchreiber::text;
    void zeileFertig() override {
        ++m_zeilen;
        if (++m_zeilenImPuffer == kJeAnweisung) {
            if (m_voll.sql().isEmpty()) m_voll = m_db.vorbereite(sql(kJeAnweisung));
            m_voll.fuehreAus(m_werte);
            m_werte.clear();
            m_zeilenImPuffer = 0;
            if ((m_zeilen / kJeAnweisung) % 500 == 0) {
                m_db.bestaetige();
                m_db.beginne();
            }
        }
    }
    void ende() override {
        if (m_zeilenImPuffer > 0) m_db.ausfuehren(sql(m_zeilenImPuffer), m_werte);
        m_werte.clear();
        m_zeilenImPuffer = 0;
        m_offen = false;
        m_db.bestaetige();
    }

private:
    static constexpr int kJeAnweisung = 100;
    QString sql(int zeilen) const {
        QStringList z;
        const QString eine = platzhalter(int(m_spalten.size()));
        for (int i = 0; i < zeilen; ++i) z << eine;
        return "insert into " + m_tabelle + " (" + m_spalten.join(", ") + ") values " + z.join(", ");
    }
    const Datenbank& m_db;
    QString m_tabelle;
    QStringList m_spalten;
    QVariantList m_werte;
    Anweisung m_voll;
    int m_zeilenImPuffer = 0;
    bool m_offen = false;
};

}  // namespace

bool mitLibpq() {
#ifdef TALU_BENCH_LIBPQ
    return true;
#else
    return false;
#endif
}

std::unique_ptr<ZeilenSchreiber> ZeilenSchreiber::fuer(const Datenbank& db) {
    switch (db.backend()) {
        case Backend::SQLite: return std::make_unique<SqliteSchreiber>(db);
#ifdef TALU_BENCH_LIBPQ
        case Backend::PostgreSQL: return std::make_unique<PgCopySchreiber>(db);
#endif
        default: return std::make_unique<MehrzeilenSchreiber>(db);
    }
}

}  // namespace talu::bench
