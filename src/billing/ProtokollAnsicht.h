#pragma once
#include <QDate>
#include <QList>
#include <QSqlRecord>
#include <QVector>
#include <QString>

#include "billing/Bediener.h"
#include "kit/FensterModell.h"
#include "kit/RasterSpalte.h"
#include "db/Datenbank.h"

namespace talu::abrechnung {


// datum, uhrzeit, name, objekt visible; db_benutzer, benutzername, id hidden.
const QList<RasterSpalte>& protokollSpalten();

// The rows of the query-log viewer: log rows of invoice customers (matched
// whatever the letter case of the login) with the customer's name, ordered
// by date, user and id; read-only. Each filter counts its rows and reads the
// first page (values bound); the grid then reads only the pages it shows,
// by the key (date, user, id) of a neighbouring page in either direction or
// by position for a jump, so that a log of any size opens, scrolls and
// jumps to its end at once on every backend.
class ProtokollModell : public FensterModell {
    Q_OBJECT
public:
    // Keiner: a name that no customer's name can begin with (Dialekt::suchbar).
    enum class Filter { Alle, Heute, Name, Keiner };

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
    // The number of its rows, with the same values bound.
    static QString zaehlSql(Filter f, const Dialekt& d);

    // Shown: the date as the operator reads it. Qt::UserRole of a column
    // header: the column's name.
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

private:
    void setze(Filter f, const Parameter& p, bool breit = false);

    const Datenbank& m_db;
    Filter m_filter = Filter::Alle;
};

}  // namespace talu::abrechnung
