#pragma once
#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

namespace talu {

// A read result held on the client: step through it, read columns by name
// (case-insensitive, Null kept distinct from empty text), count and reposition.
class Recordset {
public:
    Recordset() = default;
    Recordset(QSqlRecord kopf, QVector<QSqlRecord> zeilen);

    bool istOffen() const { return m_offen; }
    void schliessen();

    int anzahl() const { return int(m_zeilen.size()); }
    bool eof() const { return !m_offen || m_pos >= m_zeilen.size(); }
    bool bof() const { return !m_offen || m_pos < 0 || m_zeilen.isEmpty(); }
    bool leer() const { return m_zeilen.isEmpty(); }
    int position() const { return m_pos; }

    void moveFirst() { m_pos = 0; }
    void moveNext() { if (m_pos < m_zeilen.size()) ++m_pos; }
    void movePrevious() { if (m_pos >= 0) --m_pos; }
    void moveLast() { m_pos = int(m_zeilen.size()) - 1; }
    void gehe(int pos) { m_pos = pos; }

    bool hatSpalte(const QString& name) const { return m_kopf.indexOf(name) >= 0; }
    // The columns as a record without values, also when there is no row.
    const QSqlRecord& kopf() const { return m_kopf; }
    QStringList spalten() const;
    // The value of the current row; an unknown column or no current row throws DbFehler.
    QVariant feld(const QString& name) const;
    bool istNull(const QString& name) const { return feld(name).isNull(); }
    QString text(const QString& name) const;  // Null reads as ""
    double zahl(const QString& name) const;   // Null or non-numeric reads as 0
    QDate datum(const QString& name) const;   // date column, whatever the backend returns

    const QSqlRecord& zeile() const;
    const QVector<QSqlRecord>& zeilen() const { return m_zeilen; }

private:
    QSqlRecord m_kopf;
    QVector<QSqlRecord> m_zeilen;
    int m_pos = 0;
    bool m_offen = false;
};

// Reads a date column value: QDate, ISO text "yyyy-MM-dd" or German "dd.MM.yyyy".
QDate alsDatum(const QVariant& v);

}  // namespace talu
