#include "masterdata/MaskenDaten.h"

#include "db/Datenbank.h"

namespace talu {

QString nullAlsLeerText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

QStringList MaskenDaten::lade(double id, bool* gefunden) const {
    QStringList texte(m_felder);
    // Table names cannot be bound; m_tabelle is one of the program's own names.
    const Recordset rs = m_db.abfrage("select * from " + m_tabelle + " where id = ?", {qint64(id)});
    if (gefunden) *gefunden = !rs.eof();
    if (rs.eof()) return texte;
    QString leer;
    m_bindungen.zeige([&](const QString& spalte) { return rs.feld(spalte); },
                      [&](BoxPlatz b) -> QString& {
                          return b.index >= 0 && b.index < texte.size() ? texte[b.index] : leer;
                      });
    return texte;
}

QString MaskenDaten::fehltText(double id) const {
    return QStringLiteral("Den Datensatz mit der Nummer %1 gibt es nicht mehr; es wurde nichts gespeichert.")
        .arg(qint64(id));
}

double MaskenDaten::speichere(double id, const QStringList& texte) const {
    const Werte w = m_bindungen.werte(
        [&](BoxPlatz b) { return b.index >= 0 && b.index < texte.size() ? texte[b.index] : QString(); });
    if (qint64(id) == 0) return double(m_db.einfuegen(m_tabelle, w));
    if (m_db.aendern(m_tabelle, qint64(id), w) == 0)
        throw DbFehler(QStringLiteral("Datensatz nicht gefunden"), fehltText(id));
    return id;
}

}  // namespace talu
