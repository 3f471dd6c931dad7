#include "masterdata/GutachterAuswahl.h"

#include "kit/modPublics.h"
#include "db/Datenbank.h"

namespace talu {

QList<GutachterTreffer> sucheGutachter(const Datenbank& db, const QString& teil) {
    if (!Dialekt::suchbar(teil)) return {};
    const Dialekt& d = db.dialekt();
    const QString sql = d.begrenze("select id, name, ort from gutachter where " + d.likeOhneFall("name") +
                                       " order by name, ort, id",
                                   500);
    const Recordset rs = db.abfrage(sql, {Dialekt::enthaelt(teil.trimmed())});
    QList<GutachterTreffer> l;
    for (const QSqlRecord& z : rs.zeilen())
        l << GutachterTreffer{z.value("id").toDouble(), z.value("name").toString(), z.value("ort").toString()};
    return l;
}

void waehleGutachterFuerOrt(Publics& p, const GutachterTreffer& g) {
    p.GewaehlterGutachter = g.anzeige();
    p.GewaehlteGutachterId = g.id;
    p.AuswahlFuerStadtMaske = false;
}

}  // namespace talu
