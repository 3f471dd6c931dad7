#pragma once
#include <QDate>
#include <QList>
#include <QAbstractTableModel>
#include <QSqlRecord>
#include <QVector>
#include <QString>

#include "billing/Bediener.h"
#include "kit/RasterSpalte.h"
#include "db/Datenbank.h"

namespace talu::abrechnung {


// datum, uhrzeit, name, objekt visible; db_benutzer, benutzername, id hidden.
const QList<RasterSpalte>& protokollSpalten();

// The rows of the query-log viewer: log rows of invoice customers (matched
// whatever the letter case of the login) with the customer's name, ordered by date, user and id; read-only. Each filter asks
// the database for its first page of rows (values bound); the grid fetches
// the next pages as it scrolls, each by the key of the last row read, so that
// a log of any size opens at once on every backend.
class ProtokollModell : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Filter { Alle, Heute, Name };

    explicit ProtokollModell(const Datenbank& db, QObject* eltern = nullptr);

    // Every filter throws DbFehler when the statement fails.
    void zeigeAlle();
    void zeigeHeute(const QDate& heute = QDate::currentDate());
    // Customers whose name begins with anfang, in any letter case, umlauts
    // included; ' % _ and \ are ordinary characters.
    void zeigeNamensAnfang(const QString& anfang);
    // "Benutzer": asks for the beginning of a name; an empty answer (or
    // Cancel) keeps the current filter. True when a new filter was applied.
    bool frageNachName(Bediener& bediener);
    static QString namensFrage();

    Filter filter() const { return m_filter; }

    // The statement of a filter; its values are bound in this order. breit:
    // the name filter matches many customers, so the log is read in date
    // order (the first rows come at once) rather than customer by customer
    // and sorted afterwards (best when few match).
    static QString sql(Filter f, const Dialekt& d, bool breit = false);

    // Rows per page read from the database.
    static constexpr int kSeite = 256;

    // The result's column names (also without rows).
    const QSqlRecord& record() const { return m_record; }
    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    bool canFetchMore(const QModelIndex& eltern = {}) const override;
    // A failure while reading a later page ends the rows there and is
    // reported through leseFehler.
    void fetchMore(const QModelIndex& eltern = {}) override;
    // Shown: the date as the operator reads it. Qt::UserRole of a column
    // header: the column's name.
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

signals:
    void leseFehler(const QString& kurz, const QString& serverText);

private:
    struct Seite {
        QSqlRecord record;
        QVector<QVariant> werte;  // row by row
        bool ende = true;
    };
    // The page after the row nach (-1: the first page).
    Seite lies(int nach) const;
    void setze(Filter f, const Parameter& p, bool breit = false);

    const Datenbank& m_db;
    Filter m_filter = Filter::Alle;
    QString m_sql;
    Parameter m_parameter;
    QSqlRecord m_record;
    QVector<QVariant> m_werte;
    int m_spalten = 0;
    bool m_ende = true;
};

}  // namespace talu::abrechnung
