#include "plot/GrundstueckDaten.h"

#include "db/Datenbank.h"

namespace talu {

QString GrundstueckDaten::nachbarSql() {
    // Plots marked as deleted are no neighbours: the street search hides them too.
    return QStringLiteral("select * from grundstuecke where gemeindeschluessel = ? and strassen_name = ? "
                          "and hausnummer = ? and loeschen = ? order by id");
}

Recordset GrundstueckDaten::nachHausnummer(const QString& gemeindeschluessel, const QString& strasse,
                                           const QString& hausnummer) const {
    Recordset rs = m_db.abfrage(nachbarSql(), {gemeindeschluessel, strasse, hausnummer, QStringLiteral("nein")});
    rs.moveFirst();
    return rs;
}

double fuehrendeZahl(const QString& text) {
    QString zahl;
    bool ziffer = false, komma = false;
    for (const QChar c : text) {
        if (c == ' ' || c == '\t') continue;
        if (zahl.isEmpty() && !ziffer && (c == '+' || c == '-')) {
            zahl += c;
        } else if (c >= '0' && c <= '9') {
            zahl += c;
            ziffer = true;
        } else if (c == '.' && !komma) {
            zahl += c;
            komma = true;
        } else {
            break;
        }
    }
    if (!ziffer) return 0;
    bool ok = false;
    const double v = zahl.toDouble(&ok);
    return ok ? v : 0;
}

QString nachbarHausnummer(const QString& hausnummer, int schritt) {
    return QString::number(fuehrendeZahl(hausnummer) + schritt, 'g', 15);
}

}  // namespace talu
