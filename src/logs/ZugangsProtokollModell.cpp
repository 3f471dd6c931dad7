#include "logs/ZugangsProtokollModell.h"

#include <QSqlError>
#include <QSqlQuery>

#include "kit/Formate.h"

namespace talu {

GitterModell::GitterModell(const Datenbank& db, const QList<RasterSpalte>& spalten, QObject* eltern)
    : QSqlQueryModel(eltern), m_db(db), m_spalten(spalten) {}

void GitterModell::setze(const QString& sql, const Parameter& werte) {
    QSqlQuery q(m_db.qt());
    q.setForwardOnly(false);
    if (!q.prepare(sql))
        throw DbFehler(QStringLiteral("Die Anweisung konnte nicht vorbereitet werden"), q.lastError().text(), sql);
    for (int i = 0; i < werte.size(); ++i) q.bindValue(i, werte.at(i));
    if (!q.exec()) throw DbFehler(QStringLiteral("Die Anweisung ist fehlgeschlagen"), q.lastError().text(), sql);
    setQuery(std::move(q));
    if (lastError().isValid())
        throw DbFehler(QStringLiteral("Die Zeilen konnten nicht gelesen werden"), lastError().text(), sql);
}

QVariant GitterModell::data(const QModelIndex& index, int rolle) const {
    const QVariant v = QSqlQueryModel::data(index, rolle);
    if (rolle == Qt::DisplayRole && m_datumsspalten.contains(index.column()) && !v.isNull()) {
        const QDate d = alsDatum(v);
        if (d.isValid()) return datumText(d);
    }
    return v;
}

QVariant GitterModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole && abschnitt >= 0 && abschnitt < m_spalten.size())
        return m_spalten.at(abschnitt).titel;
    return QSqlQueryModel::headerData(abschnitt, richtung, rolle);
}

ZugangsProtokollModell::ZugangsProtokollModell(const Datenbank& db, QObject* eltern)
    : GitterModell(db, zugangsprotokoll::spalten(), eltern) {
    setzeDatumsspalte(2);
}

void ZugangsProtokollModell::zeige(zugangsprotokoll::Filter f, const QDate& heute) {
    const zugangsprotokoll::Anweisung a = zugangsprotokoll::anweisung(f, m_db.dialekt(), heute);
    setze(a.sql, a.werte);
    m_filter = f;
}

}  // namespace talu
