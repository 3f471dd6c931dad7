#include "masterdata/DatensatzSuche.h"

#include <QStringList>

namespace talu {

DatensatzSuchErgebnis sucheDatensaetze(Recordset& rs, const QString& text, const QString& mussfeldMeldung,
                                       const std::function<Recordset(const QString&)>& suche) {
    DatensatzSuchErgebnis e;
    rs.schliessen();
    if (text.trimmed().isEmpty()) {
        e.art = DatensatzSuchErgebnis::Leer;
        e.meldung = mussfeldMeldung;
        return e;
    }
    rs = suche(text);
    if (rs.leer()) {
        rs.schliessen();
        e.art = DatensatzSuchErgebnis::KeinTreffer;
        e.meldung = QStringLiteral("Kein Treffer mit diesem Namen in der Datenbank!");
        return e;
    }
    rs.moveFirst();
    if (rs.anzahl() == 1) {
        e.art = DatensatzSuchErgebnis::EinTreffer;
        e.id = rs.zahl(QStringLiteral("id"));
        return e;
    }
    e.art = DatensatzSuchErgebnis::MehrereTreffer;
    return e;
}

QString listenZeile(const QStringList& werte, const QList<int>& breiten) {
    QStringList teile;
    for (int i = 0; i < werte.size() && i < breiten.size(); ++i)
        teile << werte[i].left(breiten[i]).leftJustified(breiten[i], QLatin1Char(' '));
    return teile.join(QLatin1Char(' '));
}

}  // namespace talu
