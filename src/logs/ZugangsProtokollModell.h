#pragma once
#include <QList>
#include <QSet>
#include <QSqlQueryModel>

#include "db/Datenbank.h"
#include "logs/ZugangsProtokoll.h"

namespace talu {

// A read-only grid of a statement's rows: the statement runs with its values
// bound, the rows are fetched as the grid scrolls, the first columns take
// captions by position, and date columns show as "dd.mm.yyyy" whatever type
// the backend returns them in.
class GitterModell : public QSqlQueryModel {
    Q_OBJECT
public:
    GitterModell(const Datenbank& db, const QList<RasterSpalte>& spalten, QObject* eltern = nullptr);
    // Runs the statement; throws DbFehler and keeps the former rows when it fails.
    void setze(const QString& sql, const Parameter& werte);
    void setzeDatumsspalte(int spalte) { m_datumsspalten.insert(spalte); }
    const QList<RasterSpalte>& spalten() const { return m_spalten; }

    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

protected:
    const Datenbank& m_db;

private:
    QList<RasterSpalte> m_spalten;
    QSet<int> m_datumsspalten;
};

// The rows of the access log under one of its filters.
class ZugangsProtokollModell : public GitterModell {
    Q_OBJECT
public:
    explicit ZugangsProtokollModell(const Datenbank& db, QObject* eltern = nullptr);
    void zeige(zugangsprotokoll::Filter f, const QDate& heute = QDate::currentDate());
    zugangsprotokoll::Filter filter() const { return m_filter; }

private:
    zugangsprotokoll::Filter m_filter = zugangsprotokoll::Filter::Alle;
};

}  // namespace talu
