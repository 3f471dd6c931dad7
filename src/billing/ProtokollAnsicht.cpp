#include "billing/ProtokollAnsicht.h"

#include <QSqlError>
#include <QSqlQuery>

#include "app/Formate.h"
#include "billing/Bediener.h"

namespace talu::abrechnung {

namespace {
// Share of matching customers from which the log is read in date order.
constexpr double kBreiterAnteil = 0.05;
}  // namespace

const QList<ProtokollSpalte>& protokollSpalten() {
    static const QList<ProtokollSpalte> s{
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

ProtokollModell::ProtokollModell(const Datenbank& db, QObject* eltern) : QSqlQueryModel(eltern), m_db(db) {}

QString ProtokollModell::sql(Filter f, const Dialekt& d, bool breit) {
    // "cross join" is the same join; SQLite keeps its order, the log first.
    QString s = QStringLiteral("select datum,uhrzeit,name,objekt,db_benutzer,benutzername,abfrageprotokoll.id from ") +
                (breit ? QStringLiteral("abfrageprotokoll cross join rechnungs_kunden")
                       : QStringLiteral("abfrageprotokoll,rechnungs_kunden")) +
                QStringLiteral(" where abfrageprotokoll.db_benutzer = rechnungs_kunden.benutzername");
    switch (f) {
        case Filter::Alle: break;
        case Filter::Heute: s += QStringLiteral(" and datum = ?"); break;
        case Filter::Name: s += QStringLiteral(" and ") + d.likeOhneFall(QStringLiteral("rechnungs_kunden.name")); break;
    }
    return s + QStringLiteral(" order by datum,db_benutzer,abfrageprotokoll.id");
}

void ProtokollModell::setze(Filter f, const Parameter& p, bool breit) {
    QSqlQuery q(m_db.qt());
    if (!q.prepare(sql(f, m_db.dialekt(), breit)))
        throw DbFehler(QStringLiteral("Die Anweisung konnte nicht vorbereitet werden"), q.lastError().text(), q.lastQuery());
    for (int i = 0; i < p.size(); ++i) q.bindValue(i, p.at(i));
    if (!q.exec()) throw DbFehler(QStringLiteral("Die Anweisung ist fehlgeschlagen"), q.lastError().text(), q.lastQuery());
    setQuery(std::move(q));
    if (lastError().isValid())
        throw DbFehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden"), lastError().text());
    m_filter = f;
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
    const QVariant v = QSqlQueryModel::data(index, rolle);
    // The date column reads back as a date or as ISO text, by backend.
    if (rolle == Qt::DisplayRole && index.column() == 0 && !v.isNull()) return datumText(alsDatum(v));
    return v;
}

QVariant ProtokollModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole && abschnitt >= 0 &&
        abschnitt < protokollSpalten().size() && !protokollSpalten().at(abschnitt).titel.isEmpty())
        return protokollSpalten().at(abschnitt).titel;
    return QSqlQueryModel::headerData(abschnitt, richtung, rolle);
}

}  // namespace talu::abrechnung
