#include "db/Recordset.h"

#include "db/Datenbank.h"

namespace talu {

Recordset::Recordset(QSqlRecord kopf, QVector<QSqlRecord> zeilen)
    : m_kopf(std::move(kopf)), m_zeilen(std::move(zeilen)), m_pos(0), m_offen(true) {}

void Recordset::schliessen() {
    m_offen = false;
    m_zeilen.clear();
    m_kopf.clear();
    m_pos = 0;
}

QStringList Recordset::spalten() const {
    QStringList l;
    for (int i = 0; i < m_kopf.count(); ++i) l << m_kopf.fieldName(i);
    return l;
}

const QSqlRecord& Recordset::zeile() const {
    if (eof() || m_pos < 0)
        throw DbFehler("Kein aktueller Datensatz", "Der Datensatz ist am Anfang oder am Ende.");
    return m_zeilen[m_pos];
}

QVariant Recordset::feld(const QString& name) const {
    const QSqlRecord& z = zeile();
    const int i = z.indexOf(name);
    if (i < 0) throw DbFehler("Unbekannte Spalte", "Die Spalte \"" + name + "\" gibt es im Ergebnis nicht.");
    return z.value(i);
}

QString Recordset::text(const QString& name) const {
    const QVariant v = feld(name);
    return v.isNull() ? QString() : v.toString();
}

double Recordset::zahl(const QString& name) const {
    const QVariant v = feld(name);
    if (v.isNull()) return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : 0;
}

QDate Recordset::datum(const QString& name) const { return alsDatum(feld(name)); }

QDate alsDatum(const QVariant& v) {
    if (v.isNull()) return {};
    if (v.metaType().id() == QMetaType::QDate) return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime().date();
    const QString s = v.toString().trimmed();
    QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    if (!d.isValid()) d = QDate::fromString(s, "dd.MM.yyyy");
    return d;
}

}  // namespace talu
