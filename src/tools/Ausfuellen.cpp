#include "tools/Ausfuellen.h"

#include <QSqlRecord>

#include "db/Datenbank.h"

namespace talu::pflege {

namespace {
// The counters of the places outside the keys beginning with 16 are shown as plain numbers.
const QString kSchlicht = QStringLiteral("0");
const QString kOhne16 = QStringLiteral("16%");

// Each place with the first row of its place data.
QString orteMitDaten() {
    return "ortsnamen o join " + ersteJe(QStringLiteral("ortsdaten"), QStringLiteral("ortsdaten_p_id")) +
           " od on od.schluessel = o.id";
}

// Runs an update of the plots of a range (bound as its two ids) over all
// plots, counting the plots in the form's one counter.
void ueberAlleGrundstuecke(stapel::Kontext& k, const QString& sql, const QString& zaehler) {
    qint64 gelesen = 0;
    stapel::inIdBereichen(k, QStringLiteral("grundstuecke"), {}, {}, kImportBereich,
                          [&](qint64 nach, qint64 bis, qint64 anzahl) {
                              k.db().ausfuehren(sql, {nach, bis});
                              gelesen += anzahl;
                              k.zaehle({{zaehler, gelesen}});
                          });
    k.zaehle({{zaehler, gelesen}}, {}, true);
}
}  // namespace

Zaehlerform gutachterForm() {
    return {QString::fromUtf8("Gutachter ausfüllen"),
            {QStringLiteral("Aktuell:"), QString::fromUtf8("Sekundär:"), QStringLiteral("Kreis:"),
             QStringLiteral("GA-Kreis:"), QStringLiteral("GA-Stadt:"), QStringLiteral("GA-Gesamt:")}};
}

Zaehlerform ausfuellenForm() { return {QString::fromUtf8("Modul Ausfüllen"), {QStringLiteral("Aktuell:")}}; }

Zaehlerform schluesselForm() {
    return {QString::fromUtf8("Gemeindeschlüssel importieren"), {QStringLiteral("Aktueller Datensatz:")}};
}

void GebaeudeAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    const QString name = d.teilText(QString::fromUtf8("s.straßenname"), 1, 30);
    const QString sql =
        "insert into grundstuecke (id_orte, strassen_name, hausnummer, x_koordinate, y_koordinate" +
        suchspalteListe(db) + ") select o.erste, " + name + ", " + d.teilText("g.hausnummer", 1, 5) + ", " +
        d.teilText("g.hochwert", 1, 20) + ", " + d.teilText("g.rechtswert", 1, 20) + suchspalteWert(db, name) +
        QString::fromUtf8(" from gebäude g left join ") +
        ersteJe(QStringLiteral("ortsnamen"), QStringLiteral("gemeindeschluessel")) +
        QString::fromUtf8(" o on o.schluessel = g.gemeindeschlüssel left join ") +
        ersteJe(QStringLiteral("strassen"), QString::fromUtf8("strassenschlüssel")) +
        QString::fromUtf8(" e on e.schluessel = g.strassenschlüssel left join strassen s on s.id = e.erste "
                          "where g.id > ? and g.id <= ? and o.erste is not null and s.id is not null order by g.id");
    const QStringList z = gutachterForm().zaehler;
    qint64 gelesen = 0, neu = 0;
    auto zeige = [&](bool letzte) { k.zaehle({{z[0], gelesen}, {z[1], neu}}, {}, letzte); };
    stapel::inIdBereichen(k, QString::fromUtf8("gebäude"), {}, {}, kImportBereich,
                          [&](qint64 nach, qint64 bis, qint64 anzahl) {
                              neu += db.ausfuehren(sql, {nach, bis});
                              gelesen += anzahl;
                              zeige(false);
                          });
    zeige(true);
}

void GutachterNachKreis::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    // Per district (its first row per key): the first committee whose name
    // holds "stadt" and the district's name, and the first with "kreis". A
    // blank district name names no committee.
    const QString kreisName = d.ohneFall(ohneRand("k.kreis"));
    auto gutachter = [&](const char* wort) {
        return "(select min(g.id) from gutachter g where " + ohneRand("k.kreis") + " <> '' and " +
               d.enthaeltText(d.ohneFall("g.name"), "'" + QLatin1String(wort) + "'") + " and " +
               d.enthaeltText(d.ohneFall("g.name"), kreisName) + ")";
    };
    const QString kreise = "(select k.gemeindeschluessel as schluessel, " + gutachter("stadt") + " as stadt, " +
                           gutachter("kreis") + " as landkreis from kreis k join " +
                           ersteJe(QStringLiteral("kreis"), QStringLiteral("gemeindeschluessel")) +
                           " ek on ek.erste = k.id)";
    const QString orte = orteMitDaten() + " left join " + kreise + " kk on kk.schluessel = " +
                         d.teilText("o.gemeindeschluessel", 1, 5);
    k.melde(0, 1, titel());
    const QSqlRecord r =
        db.abfrage("select count(*), count(kk.schluessel), count(kk.stadt), sum(case when kk.stadt is null and "
                   "kk.landkreis is not null then 1 else 0 end) from " + orte)
            .zeilen()
            .value(0);
    db.ausfuehren("update ortsdaten set id_gutachter = v.ga from (select od.erste as odid, coalesce(kk.stadt, "
                  "kk.landkreis) as ga from " + orte + ") v where ortsdaten.id = v.odid and v.ga is not null");
    const QStringList z = gutachterForm().zaehler;
    const qint64 kreis = r.value(1).toLongLong();
    k.zaehle({{z[0], kreis},
              {z[1], r.value(0).toLongLong()},
              {z[2], kreis},
              {z[3], r.value(3).toLongLong()},
              {z[4], r.value(2).toLongLong()}},
             {}, true);
}

void GutachterNachBereich::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    k.melde(0, 1, titel());
    const qint64 orte = db.wert("select count(*) from ortsnamen where gemeindeschluessel not like ?", {kOhne16})
                            .toLongLong();
    const QString daten = "select od.erste as odid, (select min(g.id) from gutachter g where g.bereich = "
                          "o.gemeindeschluessel) as ga from " + orteMitDaten() +
                          " where o.gemeindeschluessel not like ?";
    const qint64 zugeordnet = db.wert("select count(ga) from (" + daten + ") v", {kOhne16}).toLongLong();
    // Without a committee of the exact key the link is cleared.
    db.ausfuehren("update ortsdaten set id_gutachter = v.ga from (" + daten + ") v where ortsdaten.id = v.odid",
                  {kOhne16});
    const QStringList z = gutachterForm().zaehler;
    k.zaehle({{z[0], orte, kSchlicht}, {z[1], zugeordnet, kSchlicht}}, {}, true);
}

void GutachterLueckenFuellen::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    k.melde(0, 1, titel());
    const qint64 orte = db.wert("select count(*) from ortsnamen where gemeindeschluessel not like ?", {kOhne16})
                            .toLongLong();
    const qint64 zugeordnet = db.ausfuehren(
        "update ortsdaten set id_gutachter = v.ga from (select od.erste as odid, (select min(g.id) from gutachter g "
        "where g.bereich = " + d.teilText("o.gemeindeschluessel", 1, 5) + ") as ga from " + orteMitDaten() +
            " join ortsdaten dd on dd.id = od.erste where o.gemeindeschluessel not like ? and dd.id_gutachter is "
            "null) v where ortsdaten.id = v.odid and v.ga is not null",
        {kOhne16});
    const QStringList z = gutachterForm().zaehler;
    k.zaehle({{z[0], orte, kSchlicht}, {z[1], zugeordnet, kSchlicht}}, {}, true);
}

void StrassennamenAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const QString suche = db.dialekt().fuelltSuchspalten()
                              ? QString()
                              : ", strassen_name_suche = " + db.dialekt().ohneFall(QStringLiteral("v.name"));
    const QString sql = "update grundstuecke set strassen_name = v.name" + suche +
                        QString::fromUtf8(" from (select p.id as pid, s.straßenname as name from grundstuecke p left join "
                                          "(select strassenschlüssel, gemeindeschlüssel, min(id) as erste from "
                                          "strassen group by strassenschlüssel, gemeindeschlüssel) e on "
                                          "e.strassenschlüssel = p.strassenschluessel and e.gemeindeschlüssel = "
                                          "p.gemeindeschluessel left join strassen s on s.id = e.erste where p.id > ? and "
                                          "p.id <= ? and s.id is not null) v where grundstuecke.id = v.pid");
    ueberAlleGrundstuecke(k, sql, ausfuellenForm().zaehler.first());
}

void GemeindeschluesselAuftrag::fuehreAus(stapel::Kontext& k) {
    // id_orte names the place: its data is the first row whose ortsdaten_p_id is that place.
    const QString sql = "update grundstuecke set gemeindeschluessel = v.schluessel from (select p.id as pid, "
                        "d.gemeindeschluessel as schluessel from grundstuecke p left join " +
                        ersteJe(QStringLiteral("ortsdaten"), QStringLiteral("ortsdaten_p_id")) +
                        " od on od.schluessel = p.id_orte left join ortsdaten d on d.id = od.erste where p.id > ? and "
                        "p.id <= ? and d.id is not null) v where grundstuecke.id = v.pid";
    ueberAlleGrundstuecke(k, sql, schluesselForm().zaehler.first());
}

}  // namespace talu::pflege
