#include "market/MarktModell.h"

#include "kit/Formate.h"

namespace talu::markt {

MarktModell::MarktModell(QObject* parent) : QAbstractTableModel(parent) {}

void MarktModell::setzeDaten(const MarktUebersicht& daten) {
    beginResetModel();
    m_aufbau = daten.aufbau();
    m_spalten = daten.spalten();
    m_alle = daten.zeilen();
    filtere();
    endResetModel();
}

void MarktModell::setzeUeberschrift(const QString& ueberschrift) {
    beginResetModel();
    m_ueberschrift = ueberschrift;
    filtere();
    endResetModel();
}

void MarktModell::filtere() {
    m_sichtbar.clear();
    for (int i = 0; i < m_alle.size(); ++i) {
        const QVariant v = m_alle[i].value("ueberschrift");
        // The headline is compared as data, so quotes in it need no escaping.
        if ((v.isNull() ? QString() : v.toString()) == m_ueberschrift) m_sichtbar << i;
    }
}

int MarktModell::spalte(const QString& name) const {
    for (int i = 0; i < m_spalten.size(); ++i)
        if (m_spalten[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant MarktModell::wert(int zeile, const QString& name) const {
    if (zeile < 0 || zeile >= m_sichtbar.size()) return {};
    return m_alle[m_sichtbar[zeile]].value(name);
}

int MarktModell::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_sichtbar.size()); }

int MarktModell::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_spalten.size()); }

QVariant MarktModell::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_sichtbar.size() || index.column() >= m_spalten.size()) return {};
    const GridSpalte* g = m_aufbau.sichtbareSpalte(index.column());
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment a = (g && g->rechts ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        return QVariant::fromValue(a);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const QVariant v = m_alle[m_sichtbar[index.row()]].value(index.column());
    if (v.isNull()) return QString();
    const int typ = v.metaType().id();
    const bool zahl = typ == QMetaType::Double || typ == QMetaType::Float || typ == QMetaType::Int ||
                      typ == QMetaType::LongLong || typ == QMetaType::UInt || typ == QMetaType::ULongLong;
    if (g && g->waehrung) {
        bool ok = false;
        const double d = v.toDouble(&ok);
        return ok ? waehrung(d) : v.toString();
    }
    if (zahl) {
        if (typ == QMetaType::Double || typ == QMetaType::Float)
            return regionalLocale().toString(v.toDouble(), 'f', QLocale::FloatingPointShortest);
        return v.toString();
    }
    return v.toString();
}

QVariant MarktModell::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal) return QAbstractTableModel::headerData(section, o, role);
    if (section < 0 || section >= m_spalten.size()) return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const GridSpalte* g = m_aufbau.sichtbareSpalte(section);
        return g ? g->titel : m_spalten[section];
    }
    return {};
}

Qt::ItemFlags MarktModell::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

}  // namespace talu::markt
