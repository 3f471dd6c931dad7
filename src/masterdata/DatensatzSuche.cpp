#include "masterdata/DatensatzSuche.h"

#include <QStringList>

namespace talu {

Suchergebnis sucheDatensaetze(Recordset& rs, const QString& text, const QString& mussfeldMeldung,
                                       const std::function<Recordset(const QString&)>& suche) {
    Suchergebnis e;
    rs.schliessen();
    if (text.trimmed().isEmpty()) {
        e.art = Suchergebnis::Leer;
        e.meldung = mussfeldMeldung;
        return e;
    }
    rs = suche(text);
    if (rs.leer()) {
        rs.schliessen();
        e.art = Suchergebnis::KeinTreffer;
        e.meldung = QStringLiteral("Kein Treffer mit diesem Namen in der Datenbank!");
        return e;
    }
    rs.moveFirst();
    if (rs.anzahl() == 1) {
        e.art = Suchergebnis::EinTreffer;
        e.id = rs.zahl(QStringLiteral("id"));
        return e;
    }
    e.art = Suchergebnis::MehrereTreffer;
    return e;
}

QString listenZeile(const QStringList& werte, const QList<int>& breiten) {
    QStringList teile;
    for (int i = 0; i < werte.size() && i < breiten.size(); ++i)
        teile << werte[i].left(breiten[i]).leftJustified(breiten[i], QLatin1Char(' '));
    return teile.join(QLatin1Char(' '));
}

}  // namespace talu
