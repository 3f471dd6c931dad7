#pragma once
#include <QAbstractTableModel>
#include <QSqlRecord>
#include <QStringList>
#include <QVector>

#include "market/MarktDaten.h"

namespace talu::markt {

// Read-only table model over the rows a market overview has loaded. It shows
// the rows of one headline at a time; switching the headline filters the rows
// already in memory and runs no statement.
class MarktModell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MarktModell(QObject* parent = nullptr);

    void setzeDaten(const MarktUebersicht& daten);
    void setzeUeberschrift(const QString& ueberschrift);
    const QString& ueberschrift() const { return m_ueberschrift; }

    // The column's position in the column list, -1 when unknown.
    int spalte(const QString& name) const;
    // The stored value of a visible row, Null kept.
    QVariant wert(int zeile, const QString& name) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void filtere();

    Aufbau m_aufbau;
    QStringList m_spalten;
    QVector<QSqlRecord> m_alle;
    QVector<int> m_sichtbar;  // indexes into m_alle of the current headline's rows
    QString m_ueberschrift;
};

}  // namespace talu::markt
