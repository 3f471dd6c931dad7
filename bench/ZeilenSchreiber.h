#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <string_view>

namespace talu {
class Datenbank;
}

namespace talu::bench {

// Writes many rows into one table at a time, as fast as the backend takes
// them: SQLite through one prepared insert on the connection's own handle in
// chunked transactions; PostgreSQL through COPY on the connection's handle
// (libpq), or, without libpq at build time, multi-row inserts through Qt.
// Values are given column by column in the order of beginne(); every text is
// UTF-8. A failure throws DbFehler.
class ZeilenSchreiber {
public:
    virtual ~ZeilenSchreiber() = default;

    virtual void beginne(const QString& tabelle, const QStringList& spalten) = 0;
    virtual void null() = 0;
    virtual void ganz(long long wert) = 0;
    virtual void zahl(double wert) = 0;
    virtual void text(std::string_view utf8) = 0;
    void text(const QString& wert) {
        const QByteArray b = wert.toUtf8();
        text(std::string_view(b.constData(), size_t(b.size())));
    }
    void text(const char* utf8) { text(std::string_view(utf8)); }
    // Null for an empty view: most optional text columns are either set or Null.
    void textOderNull(std::string_view utf8) { utf8.empty() ? null() : text(utf8); }
    virtual void zeileFertig() = 0;
    // Ends the table's rows and makes them durable.
    virtual void ende() = 0;

    long long zeilen() const { return m_zeilen; }
    // Which road the rows take, for the report.
    virtual QString art() const = 0;

    static std::unique_ptr<ZeilenSchreiber> fuer(const Datenbank& db);

protected:
    long long m_zeilen = 0;  // rows of all tables so far
};

// True when this build writes PostgreSQL rows through libpq's COPY.
bool mitLibpq();

}  // namespace talu::bench
