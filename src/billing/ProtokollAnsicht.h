#pragma once
#include <QDate>
#include <QList>
#include <QSqlQueryModel>
#include <QString>

#include "db/Datenbank.h"

namespace talu::abrechnung {

class Bediener;

// A column of the query-log viewer's grid, by position.
struct ProtokollSpalte {
    QString name;
    QString titel;     // empty: the grid keeps the column name
    int breiteTwips = 0;  // 0: unchanged
    bool sichtbar = true;
};
// datum, uhrzeit, name, objekt visible; db_benutzer, benutzername, id hidden.
const QList<ProtokollSpalte>& protokollSpalten();

// The rows of the query-log viewer: log rows of invoice customers with the
// customer's name, ordered by date, user and id; read-only. Each filter asks
// the database for its rows (values bound), and the grid fetches them as it
// scrolls, so that a log of any size opens at once.
class ProtokollModell : public QSqlQueryModel {
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

    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

private:
    void setze(Filter f, const Parameter& p, bool breit = false);

    const Datenbank& m_db;
    Filter m_filter = Filter::Alle;
};

}  // namespace talu::abrechnung
