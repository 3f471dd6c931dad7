#include "billing/ProtokollAnsicht.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include "kit/Formate.h"
#include "billing/Bediener.h"

namespace talu::abrechnung {

namespace {
// Share of matching customers from which the log is read in date order.
constexpr double kBreiterAnteil = 0.05;
}  // namespace

const QList<RasterSpalte>& protokollSpalten() {
    static const QList<RasterSpalte> s{
        {QStringLiteral("datum"), QStringLiteral("Datum:"), 1500, true},
        {QStringLiteral("uhrzeit"), QStringLiteral("Uhrzeit:"), 1000, true},
        {QStringLiteral("name"), QStringLiteral("Benutzer"), 2000, true},
        {QStringLiteral("objekt"), QStringLiteral("Objekt:"), 8000, true},
        {QStringLiteral("db_benutzer"), {}, 0, false},
        {QStringLiteral("benutzername"), {}, 0, false},
        {QStringLiteral("id"), {}, 0, false},
    };
    return s;
}

ProtokollModell::ProtokollModell(const Datenbank& db, QObject* eltern) : QAbstractTableModel(eltern), m_db(db) {}

QString ProtokollModell::sql(Filter f, const Dialekt& d, bool breit) {
    // "cross join" is the same join; SQLite keeps its order, the log first.
    // A log user matches its customer whatever the letter case, umlauts
    // included, as in the invoice run. The few customers are folded once, in
    // a grouped (so never merged) subquery that the engine can index for the
    // join, instead of once per pair of log row and customer.
    const QString kunden = QStringLiteral("(select name, benutzername, ") + d.ohneFall(QStringLiteral("benutzername")) +
                           QStringLiteral(" as klein from rechnungs_kunden group by id, name, benutzername) rechnungs_kunden");
    QString s = QStringLiteral("select datum,uhrzeit,name,objekt,db_benutzer,benutzername,abfrageprotokoll.id from ") +
                (breit ? QStringLiteral("abfrageprotokoll cross join ") : QStringLiteral("abfrageprotokoll, ")) + kunden +
                QStringLiteral(" where ") + d.ohneFall(QStringLiteral("abfrageprotokoll.db_benutzer")) +
                QStringLiteral(" = rechnungs_kunden.klein");
    switch (f) {
        case Filter::Alle: break;
        case Filter::Heute: s += QStringLiteral(" and datum = ?"); break;
        case Filter::Name: s += QStringLiteral(" and ") + d.likeOhneFall(QStringLiteral("rechnungs_kunden.name")); break;
    }
    return s + QStringLiteral(" order by datum,db_benutzer,abfrageprotokoll.id");
}

ProtokollModell::Seite ProtokollModell::lies(int nach) const {
    // The key of the last row read continues the order "datum, db_benutzer,
    // id"; rows without a date sort first on SQLite and last on PostgreSQL.
    const int ende = m_sql.lastIndexOf(QStringLiteral(" order by "));
    QString s = m_sql.left(ende);
    Parameter p = m_parameter;
    if (nach >= 0) {
        const QVariant datum = m_werte.at(nach * m_spalten + 0);
        const QVariant benutzer = m_werte.at(nach * m_spalten + 4);
        const QVariant id = m_werte.at(nach * m_spalten + 6);
        const bool nullZuerst = m_db.dialekt().backend() == Backend::SQLite;
        const QString danach = QStringLiteral("(db_benutzer > ? or (db_benutzer = ? and abfrageprotokoll.id > ?))");
        if (datum.isNull()) {
            s += nullZuerst ? QStringLiteral(" and (datum is not null or ") + danach + QLatin1Char(')')
                            : QStringLiteral(" and datum is null and ") + danach;
            p << benutzer << benutzer << id;
        } else {
            s += QStringLiteral(" and (datum > ? or (datum = ? and ") + danach + QLatin1Char(')') +
                 (nullZuerst ? QStringLiteral(")") : QStringLiteral(" or datum is null)"));
            p << datum << datum << benutzer << benutzer << id;
        }
    }
    s += m_sql.mid(ende) + QStringLiteral(" limit ?");
    p << kSeite + 1;

    QSqlQuery q(m_db.qt());
    q.setForwardOnly(true);
    if (!q.prepare(s))
        throw DbFehler(QStringLiteral("Die Anweisung konnte nicht vorbereitet werden"), q.lastError().text(), s);
    for (int i = 0; i < p.size(); ++i) q.bindValue(i, p.at(i));
    if (!q.exec()) throw DbFehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden"), q.lastError().text(), s);
    Seite seite;
    seite.record = q.record();
    const int spalten = seite.record.count();
    int n = 0;
    while (q.next()) {
        if (++n > kSeite) {
            seite.ende = false;
            break;
        }
        for (int i = 0; i < spalten; ++i) seite.werte << q.value(i);
    }
    if (q.lastError().isValid())
        throw DbFehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden"), q.lastError().text(), s);
    return seite;
}

void ProtokollModell::setze(Filter f, const Parameter& p, bool breit) {
    const QString vorher = m_sql;
    const Parameter vorherP = m_parameter;
    m_sql = sql(f, m_db.dialekt(), breit);
    m_parameter = p;
    Seite seite;
    try {
        seite = lies(-1);
    } catch (...) {
        // A failed filter keeps the rows shown.
        m_sql = vorher;
        m_parameter = vorherP;
        throw;
    }
    beginResetModel();
    m_record = seite.record;
    m_spalten = m_record.count();
    m_werte = std::move(seite.werte);
    m_ende = seite.ende;
    m_filter = f;
    endResetModel();
}

int ProtokollModell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() || m_spalten == 0 ? 0 : int(m_werte.size() / m_spalten);
}

int ProtokollModell::columnCount(const QModelIndex& eltern) const { return eltern.isValid() ? 0 : m_spalten; }

bool ProtokollModell::canFetchMore(const QModelIndex& eltern) const { return !eltern.isValid() && !m_ende; }

void ProtokollModell::fetchMore(const QModelIndex& eltern) {
    if (!canFetchMore(eltern)) return;
    const int zeilen = rowCount();
    Seite seite;
    try {
        seite = lies(zeilen - 1);
    } catch (const DbFehler& f) {
        m_ende = true;
        emit leseFehler(f.kurz(), f.serverText());
        return;
    }
    m_ende = seite.ende;
    if (seite.werte.isEmpty()) return;
    beginInsertRows({}, zeilen, zeilen + int(seite.werte.size() / m_spalten) - 1);
    m_werte += seite.werte;
    endInsertRows();
}

void ProtokollModell::zeigeAlle() { setze(Filter::Alle, {}); }

void ProtokollModell::zeigeHeute(const QDate& heute) { setze(Filter::Heute, {heute}); }

void ProtokollModell::zeigeNamensAnfang(const QString& anfang) {
    const QString muster = Dialekt::beginntMit(anfang);
    // How many of the customers match decides the cheaper road: their rows
    // sorted when few match, the log in date order when many do.
    const Recordset anteil = m_db.abfrage(
        "select count(*) as alle, sum(case when " + m_db.dialekt().likeOhneFall(QStringLiteral("name")) +
            " then 1 else 0 end) as treffer from rechnungs_kunden",
        {muster});
    const double alle = anteil.zahl(QStringLiteral("alle"));
    const bool breit = alle > 0 && anteil.zahl(QStringLiteral("treffer")) / alle > kBreiterAnteil;
    setze(Filter::Name, {muster}, breit);
}

QString ProtokollModell::namensFrage() {
    return QStringLiteral("Geben Sie bitte den Anfang des Kunden-Namens ein!");
}

bool ProtokollModell::frageNachName(Bediener& bediener) {
    const QString anfang = bediener.eingabe(namensFrage());
    if (anfang.isEmpty()) return false;
    zeigeNamensAnfang(anfang);
    return true;
}

QVariant ProtokollModell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= m_spalten) return {};
    if (rolle != Qt::DisplayRole && rolle != Qt::EditRole) return {};
    const QVariant v = m_werte.at(index.row() * m_spalten + index.column());
    // The date column reads back as a date or as ISO text, by backend.
    if (rolle == Qt::DisplayRole && index.column() == 0 && !v.isNull()) return datumText(alsDatum(v));
    return v;
}

QVariant ProtokollModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung == Qt::Horizontal && abschnitt >= 0 && abschnitt < m_spalten) {
        if (rolle == Qt::UserRole) return m_record.fieldName(abschnitt);
        if (rolle == Qt::DisplayRole) {
            if (abschnitt < protokollSpalten().size() && !protokollSpalten().at(abschnitt).titel.isEmpty())
                return protokollSpalten().at(abschnitt).titel;
            return m_record.fieldName(abschnitt);
        }
    }
    return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
}

}  // namespace talu::abrechnung
