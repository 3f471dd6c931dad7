// The imports and fill tools store exactly what a plain pass row by row over
// their sources would store, count what it would count, on every backend;
// their edge cases on the demo data; a cancel leaves every table as it was.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlRecord>
#include <QtTest>

#include "Fixture.h"
#include "LookupHilfe.h"
#include "kit/ui/Formen.h"
#include "kit/ui/MenueAktionen.h"
#include "app/ui/frmMain.h"
#include "lookup/SucheDaten.h"
#include "plot/GrundstueckDaten.h"
#include "tools/Ausfuellen.h"
#include "tools/Importe.h"
#include "tools/ui/frmPflegeFormen.h"

using namespace talu;
using namespace talu::pflege;

namespace {

// --- Generated sources that reach every branch --------------------------------

const QStringList kNummern{"1", "007", "12a", "12.50", " 1 2", "-3", "-0", "abc", "", ".5", "5.", "3\t4", "+8 b"};

QVariant wahlOderNull(QRandomGenerator& z, const QStringList& l, int nullJe = 6) {
    if (z.bounded(nullJe) == 0) return QVariant();
    return l.at(int(z.bounded(l.size())));
}

void erzeuge(const Datenbank& db, quint32 saat) {
    QRandomGenerator z(saat);
    Transaktion t(db);
    const QStringList schluessel{"03452001", "03153017", "03153001", "03159016", "16051000", "16055000",
                                 "06531005", "06531001", "05111000", "08435059"};
    QList<qint64> orte;
    for (const QString& s : schluessel)
        for (int i = 0; i < 1 + int(z.bounded(2)); ++i)
            orte << db.einfuegen("ortsnamen", {{"ort", "Ort " + s}, {"gemeindeschluessel", s}, {"typ", 1}});
    orte << db.einfuegen("ortsnamen", {{"ort", "Ohne Schluessel"}, {"gemeindeschluessel", QVariant()}, {"typ", 2}});
    for (qint64 o : orte)
        for (int i = int(z.bounded(3)); i > 0; --i)
            db.einfuegen("ortsdaten", {{"ortsdaten_p_id", o}, {"gemeindeschluessel", "K" + QString::number(o)},
                                       {"id_gutachter", z.bounded(2) ? QVariant() : QVariant(99)}});
    // Districts: a name with a city and a district committee, names with ' % _,
    // a blank name, a name in capitals, a district twice.
    const QList<std::pair<QString, QVariant>> kreise{
        {"03153", "Goslar"}, {"03452", " Aurich "}, {"03159", QString::fromUtf8("GÖTTINGEN")}, {"16051", "O'Land"},
        {"06531", "50%_Kreis"}, {"05111", ""}, {"08435", QVariant()}, {"03153", "Zweiter"}};
    for (const auto& [k, name] : kreise) db.einfuegen("kreis", {{"kenn", k}, {"gemeindeschluessel", k}, {"kreis", name}});
    const QList<std::pair<QString, QString>> gutachter{
        {"Gutachterausschuss Landkreis Goslar", "03153"}, {"Gutachterausschuss Stadt Goslar", "03153017"},
        {"Stadt Aurich", "03452001"},                      {QString::fromUtf8("Stadt Göttingen"), "03159"},
        {"Kreis O'Land", "16051"},                         {"Landkreis 50%_Kreis", "06531"},
        {"Stadt Nirgendwo", "06531005"},                   {"Zweiter Stadt Goslar", "03452"}};
    for (const auto& [name, bereich] : gutachter) db.einfuegen("gutachter", {{"name", name}, {"bereich", bereich}});

    const QStringList strassen{QString::fromUtf8("Hauptstraße"), "Auf'm Berg", "Seltersweg", " seltersweg ",
                               "SELTERSWEG", QString::fromUtf8("Bürgerstraße")};
    const QStringList mosaic{"034520010001", "034520010002", "034520010003", "031530170004", "999990010005"};
    auto wert = [&]() -> QVariant {
        const int r = int(z.bounded(4));
        return r == 0 ? QVariant() : r == 1 ? QVariant(0.0) : QVariant(double(z.bounded(50, 900)));
    };
    for (int i = 0; i < 240; ++i) {
        const bool leer = z.bounded(2) == 0;  // plots without values, where the zones may go
        db.einfuegen("grundstuecke",
                     {{"gemeindeschluessel", wahlOderNull(z, schluessel, 15)},
                      {"strassen_name", wahlOderNull(z, strassen, 12)},
                      {"hausnummer", wahlOderNull(z, kNummern)},
                      {"richtwert_minimal", leer ? QVariant() : wert()},
                      {"richtwert_tatsaechlich", leer ? QVariant() : wert()},
                      {"bemerkung", leer ? wahlOderNull(z, {"", "   "}, 2) : wahlOderNull(z, {"x", "  "}, 2)},
                      {"mosaic_nummer", wahlOderNull(z, mosaic, 4)},
                      {"strassenschluessel", wahlOderNull(z, {"001", "002", "003"}, 5)},
                      {"sananfangende", "alt"},
                      {"id_orte", z.bounded(6) == 0 ? QVariant() : QVariant(orte.at(int(z.bounded(orte.size()))))}});
    }
    // Staging tables.
    const QString lang = QString("Sehr lange Straße mit einem Namen von über sechsundvierzig Zeichen").left(60);
    for (const QString& s : {QString("03159016"), QString("03452001")})
        for (const QString& ss : {QString("001"), QString("002")})
            db.einfuegen("str111", {{"gs", s}, {"ss", ss}, {"straßenname", ss == "001" ? lang : QString("Auf'm Berg")}});
    db.einfuegen("str111", {{"gs", "03159016"}, {"ss", "001"}, {"straßenname", "Zweitname"}});
    for (int i = 0; i < 40; ++i)
        db.einfuegen("geb111", {{"gs", wahlOderNull(z, {"03159016", "03452001", "05111000"}, 10)},
                                {"ss", wahlOderNull(z, {"001", "002", "009"}, 10)},
                                {"hausnummer", wahlOderNull(z, kNummern)},
                                {"zusatz", wahlOderNull(z, {"", " b ", "c", "abcdefg"}, 3)},
                                {"hochwert", "57112345678901234567890"}, {"rechtswert", QString::number(3563000 + i)}});
    for (int i = 0; i < 30; ++i)
        db.einfuegen("pogos", {{"gemeindeschluessel", wahlOderNull(z, {"03452001", "16051000", "06531005", "0345"}, 8)},
                               {"strassenname", wahlOderNull(z, {lang, "Anger'sche Gasse"})},
                               {"stadtteil", wahlOderNull(z, {"Mitte", "Nord"})}, {"cstaotk", QString::number(i)}});
    for (int i = 0; i < 40; ++i)
        db.einfuegen("mosaic", {{"haus_id", wahlOderNull(z, mosaic, 10)},
                                {"haus_strasse", wahlOderNull(z, {" Burgstraße ", "Auf'm Berg"})},
                                {"haus_hausnr", wahlOderNull(z, kNummern)},
                                {"haus_hausnr_zusatz", wahlOderNull(z, {"", " b ", "c"}, 3)},
                                {"haus_otl_name", wahlOderNull(z, {" Mitte ", "Nord"})}});
    for (int i = 0; i < 12; ++i)
        db.einfuegen("aurich", {{"haus_id", wahlOderNull(z, mosaic, 10)},
                                {"haus_bodenwert", wahlOderNull(z, {"135", "0,8", "abc", " 1 2", "170.50"})},
                                {"haus_gfz", wahlOderNull(z, {" 0,8 ", "1,2"})},
                                {"haus_bauweise", "o"},
                                {"haus_bemerkung", wahlOderNull(z, {" Zentrum ", ""})},
                                {"haus_wert", "z"},
                                {"haus_san_ae", wahlOderNull(z, {" E ", "a", "K", "x", ""}, 5)}});
    for (const auto& [ss, gs, name] : {std::tuple{"001", "03452001", QString("Erste Straße mit mehr als dreißig Zeichen")},
                                       std::tuple{"001", "03159016", QString("Zweite")},
                                       std::tuple{"002", "03452001", QString("Up'n Diek")},
                                       std::tuple{"003", "16051000", QString("Anger")}})
        db.einfuegen("strassen", {{"strassenschlüssel", ss}, {"gemeindeschlüssel", gs}, {"straßenname", name}});
    for (int i = 0; i < 40; ++i)
        db.einfuegen("gebäude", {{"gemeindeschlüssel", wahlOderNull(z, {"03452001", "03159016", "16051000", "99999999"}, 8)},
                                 {"strassenschlüssel", wahlOderNull(z, {"001", "002", "003", "009"}, 8)},
                                 {"hausnummer", wahlOderNull(z, {"1", "123456", "7a"})},
                                 {"hochwert", QString::number(5925000 + i)}, {"rechtswert", "25973401234567890123456"}});
    const QList<std::tuple<QVariant, QVariant, QVariant>> zonenStrassen{
        {" 06531005 ", "seltersweg ", 4}, {"06531005", "Seltersweg", 7}, {"03452001", QString::fromUtf8("HAUPTSTRASSE"), 1},
        {"03452001", QString::fromUtf8("hauptstraße"), 2}, {"03159016", "auf'm berg", 1}, {"03153017", "Seltersweg", QVariant()}};
    for (const auto& [s, name, nr] : zonenStrassen)
        db.einfuegen("import_11062002_1", {{"schlüssel", s}, {"strasse", name}, {"zonen_nr", nr}});
    for (const auto& [s, nr] : {std::pair{"06531005", 4}, std::pair{"06531005", 4}, std::pair{"03452001", 2},
                                std::pair{"03159016", 1}, std::pair{"06531005", 7}})
        db.einfuegen("import_11062002_2",
                     {{"gemeindesch", QString(s)}, {"zonen_nr", nr}, {"brw_minimal", double(z.bounded(100, 200))},
                      {"brw_tatsaechlich", double(z.bounded(200, 300))}, {"bauliche_nutzung", "mischgebiet"},
                      {"entwicklungszustand", "baureif"}, {"gfz", "0,8 bis 1,2 (Mittel)"},
                      {"anfangs_oder_endwert", "ew "}, {"bemerkung", QString(60, QChar('B'))}});
    t.bestaetige();
}

// --- The plain passes row by row ----------------------------------------------

QVariant erste(const QVariant& v, int n) { return v.isNull() ? QVariant() : QVariant(v.toString().left(n)); }

QString ohneBlanks(const QString& s) {
    qsizetype a = 0, b = s.size();
    while (a < b && s.at(a) == ' ') ++a;
    while (b > a && s.at(b - 1) == ' ') --b;
    return s.mid(a, b - a);
}
QVariant ohneBlanks(const QVariant& v) { return v.isNull() ? QVariant() : QVariant(ohneBlanks(v.toString())); }

QVariant nummerMitZusatz(const QVariant& nummer, const QVariant& zusatz, int n) {
    const QString t = ((nummer.isNull() ? QString() : fuehrendeZahlText(nummer.toString())) +
                       ohneBlanks(zusatz.toString())).left(n);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// The rows of a query, kept beyond the statement (a range-for over a temporary's rows would dangle).
QVector<QSqlRecord> alle(const Datenbank& db, const QString& sql) { return db.abfrage(sql).zeilen(); }

// The first row (lowest id) of a look-up with bound values.
QSqlRecord ersteZeile(const Datenbank& db, const QString& sql, const Parameter& p) {
    const Recordset rs = db.abfrage(sql + " order by id", p);
    return rs.leer() ? QSqlRecord() : rs.zeilen().first();
}

void neuerPlot(const Datenbank& db, const Werte& w) { db.einfuegen("grundstuecke", w); }

QList<qint64> refWqn(const Datenbank& db) {
    const Recordset rs = db.abfrage(QString::fromUtf8(
        "select g.gs, s.straßenname, g.hausnummer, g.zusatz, g.hochwert, g.rechtswert from geb111 g, str111 s "
        "where g.ss = s.ss and g.gs = s.gs order by g.id, s.id"));
    for (const QSqlRecord& r : rs.zeilen())
        neuerPlot(db, {{"gemeindeschluessel", erste(r.value(0), 8)}, {"strassen_name", erste(r.value(1), 46)},
                       {"hausnummer", nummerMitZusatz(r.value(2), r.value(3), 5)},
                       {"y_koordinate", erste(r.value(4), 20)}, {"x_koordinate", erste(r.value(5), 20)}});
    return {rs.anzahl()};
}

QList<qint64> refPogos(const Datenbank& db) {
    const Recordset rs = db.abfrage("select * from pogos where gemeindeschluessel not like '03%' order by id");
    for (const QSqlRecord& r : rs.zeilen())
        neuerPlot(db, {{"gemeindeschluessel", erste(r.value("gemeindeschluessel"), 8)},
                       {"strassen_name", erste(r.value("strassenname"), 46)}, {"ortsteil", r.value("stadtteil")},
                       {"hausnummer", "1"}, {"pogos", "ja"}, {"pogos_cstaotk", r.value("cstaotk")}});
    return {rs.anzahl()};
}

QList<qint64> refMosaic(const Datenbank& db) {
    qint64 gelesen = 0, gefunden = 0;
    for (const QSqlRecord& r : alle(db, "select * from mosaic order by id")) {
        ++gelesen;
        const QSqlRecord o = ersteZeile(db, "select gemeindeschluessel from ortsnamen where gemeindeschluessel = ?",
                                        {erste(r.value("haus_id"), 8)});
        if (o.isEmpty()) continue;
        ++gefunden;
        neuerPlot(db, {{"gemeindeschluessel", o.value(0)}, {"strassen_name", ohneBlanks(r.value("haus_strasse"))},
                       {"hausnummer", nummerMitZusatz(r.value("haus_hausnr"), r.value("haus_hausnr_zusatz"), 20)},
                       {"ortsteil", ohneBlanks(r.value("haus_otl_name"))},
                       {"mosaic_nummer", ohneBlanks(r.value("haus_id"))}});
    }
    return {gelesen, gefunden, gelesen - gefunden};
}

QList<qint64> refAurich(const Datenbank& db) {
    qint64 gelesen = 0, gefunden = 0;
    for (const QSqlRecord& p :
         alle(db, "select id, mosaic_nummer from grundstuecke where gemeindeschluessel = '03452001' order by id")) {
        ++gelesen;
        const QSqlRecord a = ersteZeile(db, "select * from aurich where haus_id = ?", {p.value(1)});
        if (a.isEmpty()) continue;
        ++gefunden;
        const QVariant wert = a.value("haus_bodenwert").isNull()
                                  ? QVariant()
                                  : QVariant(fuehrendeZahl(a.value("haus_bodenwert").toString()));
        Werte w{{"richtwert_tatsaechlich", wert}};
        for (const auto& [ziel, quelle] :
             {std::pair{"geschossflaechenzahl", "haus_gfz"}, std::pair{"bauweise", "haus_bauweise"},
              std::pair{"beitragspflichtig", "haus_beitragspflichtig"}, std::pair{"sanierungsgebiet", "haus_sanierungsgeb"},
              std::pair{"grundstueckstiefe", "haus_grundst_tiefe"},
              std::pair{"entwicklungszustand", "haus_entwicklungszustand"},
              std::pair{"grundstuecksflaeche", "haus_grundst_fläche"}, std::pair{"anzahl_der_geschosse", "haus_azdgeschosse"},
              std::pair{"bauliche_nutzung", "haus_bauliche_nutzung"}, std::pair{"bemerkung", "haus_bemerkung"},
              std::pair{"richtwerttyp", "haus_wert"}})
            w.append({QString::fromUtf8(ziel), ohneBlanks(a.value(QString::fromUtf8(quelle)))});
        const QString san = ohneBlanks(a.value("haus_san_ae").toString()).toLower();
        const QHash<QString, QString> kurz{{"a", "aw"}, {"e", "ew"}, {"k", "ka"}};
        if (kurz.contains(san)) w.append({"sananfangende", kurz.value(san)});
        db.aendern("grundstuecke", p.value(0).toLongLong(), w);
    }
    return {gelesen, gefunden, gelesen - gefunden};
}

QList<qint64> refNiedersachsen(const Datenbank& db, qint64 ueberspringen) {
    qint64 gelesen = 0, treffer = 0, nr = 0;
    for (const QSqlRecord& g : alle(db, QString::fromUtf8("select * from gebäude order by id"))) {
        if (++nr <= ueberspringen) continue;
        ++gelesen;
        const QSqlRecord s = ersteZeile(db, QString::fromUtf8("select straßenname from strassen where strassenschlüssel = ?"),
                                        {g.value(QString::fromUtf8("strassenschlüssel"))});
        if (s.isEmpty()) continue;
        ++treffer;
        neuerPlot(db, {{"strassen_name", erste(s.value(0), 46)}, {"hausnummer", erste(g.value("hausnummer"), 5)},
                       {"x_koordinate", erste(g.value("hochwert"), 20)}, {"y_koordinate", erste(g.value("rechtswert"), 20)},
                       {"gemeindeschluessel", erste(g.value(QString::fromUtf8("gemeindeschlüssel")), 8)},
                       {"strassenschluessel", erste(g.value(QString::fromUtf8("strassenschlüssel")), 5)}});
    }
    return {gelesen, treffer};
}

bool hatSchonWerte(const QSqlRecord& p) {
    for (const char* s : {"richtwert_minimal", "richtwert_maximal", "richtwert_durchschnitt", "richtwert_tatsaechlich"})
        if (!p.value(s).isNull() && p.value(s).toDouble() != 0) return true;
    return !p.value("bemerkung").isNull() && !ohneBlanks(p.value("bemerkung").toString()).isEmpty();
}

QList<qint64> refZonen(const Datenbank& db, qint64 ueberspringen) {
    qint64 gelesen = 0, nummer = 0, daten = 0, uebersprungen = 0, nr = 0;
    const QList<QSqlRecord> strassen = db.abfrage(QString::fromUtf8("select * from import_11062002_1 order by id")).zeilen();
    const QString ordnung = db.dialekt().nullZuerst("gemeindeschluessel");
    for (const QSqlRecord& p : alle(db, "select * from grundstuecke order by " + ordnung + ", id")) {
        if (++nr <= ueberspringen) continue;
        ++gelesen;
        const QVariant name = p.value("strassen_name");
        if (name.toString().contains('\'')) continue;
        QSqlRecord zs;
        for (const QSqlRecord& s : strassen) {
            if (s.value(QString::fromUtf8("schlüssel")).isNull() || p.value("gemeindeschluessel").isNull() || name.isNull() ||
                s.value("strasse").isNull())
                continue;
            if (ohneBlanks(s.value(QString::fromUtf8("schlüssel")).toString()) == p.value("gemeindeschluessel").toString() &&
                Dialekt::falte(ohneBlanks(s.value("strasse").toString())) == Dialekt::falte(ohneBlanks(name.toString()))) {
                zs = s;
                break;
            }
        }
        if (zs.isEmpty()) continue;
        ++nummer;
        const QSqlRecord zone = ersteZeile(db, "select * from import_11062002_2 where gemeindesch = ? and zonen_nr = ?",
                                           {p.value("gemeindeschluessel"), zs.value("zonen_nr")});
        if (zone.isEmpty()) continue;
        ++daten;
        if (hatSchonWerte(p)) {
            ++uebersprungen;
            continue;
        }
        db.aendern("grundstuecke", p.value("id").toLongLong(),
                   {{"richtwert_minimal", zone.value("brw_minimal")}, {"richtwert_maximal", zone.value("brw_maximal")},
                    {"richtwert_durchschnitt", zone.value("brw_durchschnittlich")},
                    {"richtwert_tatsaechlich", zone.value("brw_tatsaechlich")},
                    {"bauliche_nutzung", erste(zone.value("bauliche_nutzung"), 3)},
                    {"entwicklungszustand", erste(zone.value("entwicklungszustand"), 1)},
                    {"bauweise", erste(zone.value("bauweise"), 1)}, {"geschossflaechenzahl", erste(zone.value("gfz"), 10)},
                    {"anzahl_der_geschosse", erste(zone.value("anzahl_der_geschosse"), 10)},
                    {"grundstueckstiefe", erste(zone.value("grundstueckstiefe"), 10)},
                    {"grundstuecksflaeche", erste(zone.value("grundstuecksflaeche"), 10)},
                    {"beitragspflichtig", erste(zone.value("beitragspflichtig"), 4)},
                    {"sanierungsgebiet", erste(zone.value("sanierungsgebiet"), 4)},
                    {"sananfangende", erste(zone.value("anfangs_oder_endwert"), 2)},
                    {"richtwerttyp", erste(zone.value("richtwerttyp"), 1)}, {"bemerkung", erste(zone.value("bemerkung"), 50)}});
    }
    return {gelesen, nummer, daten, uebersprungen};
}

QList<qint64> refGebaeude(const Datenbank& db) {
    qint64 gelesen = 0, neu = 0;
    for (const QSqlRecord& g : alle(db, QString::fromUtf8("select * from gebäude order by id"))) {
        ++gelesen;
        const QSqlRecord o = ersteZeile(db, "select id from ortsnamen where gemeindeschluessel = ?",
                                        {g.value(QString::fromUtf8("gemeindeschlüssel"))});
        const QSqlRecord s = ersteZeile(db, QString::fromUtf8("select straßenname from strassen where strassenschlüssel = ?"),
                                        {g.value(QString::fromUtf8("strassenschlüssel"))});
        if (o.isEmpty() || s.isEmpty()) continue;
        ++neu;
        neuerPlot(db, {{"id_orte", o.value(0)}, {"strassen_name", erste(s.value(0), 30)},
                       {"hausnummer", erste(g.value("hausnummer"), 5)}, {"x_koordinate", erste(g.value("hochwert"), 20)},
                       {"y_koordinate", erste(g.value("rechtswert"), 20)}});
    }
    return {gelesen, neu};
}

QList<qint64> refGutachterKreis(const Datenbank& db) {
    qint64 aktuell = 0, sekundaer = 0, kreise = 0, gaKreis = 0, gaStadt = 0;
    const QList<QSqlRecord> gutachter = db.abfrage("select id, name from gutachter order by id").zeilen();
    auto suche = [&](const QString& wort, const QString& n) -> QVariant {
        for (const QSqlRecord& g : gutachter) {
            const QString name = Dialekt::falte(g.value(1).toString());
            if (name.contains(wort) && name.contains(n)) return g.value(0);
        }
        return {};
    };
    for (const QSqlRecord& o : alle(db, "select id, gemeindeschluessel from ortsnamen order by id")) {
        const QSqlRecord od = ersteZeile(db, "select id from ortsdaten where ortsdaten_p_id = ?", {o.value(0)});
        if (od.isEmpty()) continue;
        ++sekundaer;
        const QSqlRecord k = ersteZeile(db, "select kreis from kreis where gemeindeschluessel = ?", {erste(o.value(1), 5)});
        if (k.isEmpty()) continue;
        ++kreise;
        const QString n = Dialekt::falte(ohneBlanks(k.value(0).toString()));
        QVariant ga;
        if (!k.value(0).isNull() && !n.isEmpty()) {
            ga = suche("stadt", n);
            if (!ga.isNull()) ++gaStadt;
            else if (!(ga = suche("kreis", n)).isNull()) ++gaKreis;
        }
        if (!ga.isNull()) db.ausfuehren("update ortsdaten set id_gutachter = ? where id = ?", {ga, od.value(0)});
        ++aktuell;
    }
    return {aktuell, sekundaer, kreise, gaKreis, gaStadt};
}

// Start - 2 (genau) and Start - 4 (by district, only where none is set).
QList<qint64> refGutachterBereich(const Datenbank& db, bool nurLuecken) {
    qint64 orte = 0, zugeordnet = 0;
    for (const QSqlRecord& o : alle(db, "select id, gemeindeschluessel from ortsnamen order by id")) {
        if (o.value(1).isNull() || o.value(1).toString().startsWith("16")) continue;
        ++orte;
        const QSqlRecord od = ersteZeile(db, "select id, id_gutachter from ortsdaten where ortsdaten_p_id = ?", {o.value(0)});
        if (od.isEmpty() || (nurLuecken && !od.value(1).isNull())) continue;
        const QString bereich = nurLuecken ? o.value(1).toString().left(5) : o.value(1).toString();
        const QSqlRecord g = ersteZeile(db, "select id from gutachter where bereich = ?", {bereich});
        if (!g.isEmpty()) ++zugeordnet;
        if (g.isEmpty() && nurLuecken) continue;
        db.ausfuehren("update ortsdaten set id_gutachter = ? where id = ?", {g.isEmpty() ? QVariant() : g.value(0), od.value(0)});
    }
    return {orte, zugeordnet};
}

QList<qint64> refStrassennamen(const Datenbank& db) {
    const Recordset rs = db.abfrage("select id, strassenschluessel, gemeindeschluessel from grundstuecke order by id");
    for (const QSqlRecord& p : rs.zeilen()) {
        const QSqlRecord s = ersteZeile(
            db, QString::fromUtf8("select straßenname from strassen where strassenschlüssel = ? and gemeindeschlüssel = ?"),
            {p.value(1), p.value(2)});
        if (!s.isEmpty()) db.aendern("grundstuecke", p.value(0).toLongLong(), {{"strassen_name", s.value(0)}});
    }
    return {rs.anzahl()};
}

QList<qint64> refGemeindeschluessel(const Datenbank& db) {
    const Recordset rs = db.abfrage("select id, id_orte from grundstuecke order by id");
    for (const QSqlRecord& p : rs.zeilen()) {
        const QSqlRecord od = ersteZeile(db, "select gemeindeschluessel from ortsdaten where ortsdaten_p_id = ?", {p.value(1)});
        if (!od.isEmpty()) db.ausfuehren("update grundstuecke set gemeindeschluessel = ? where id = ?", {od.value(0), p.value(0)});
    }
    return {rs.anzahl()};
}

// --- Running and comparing ----------------------------------------------------

// Keeps the last counters a job reported.
class Zaehlerstand : public stapel::Anzeige {
public:
    QList<qint64> werte;
    QStringList namen, muster;
    std::function<bool()> abbruch;
    QStringList fragen;
    bool antwort = false;
    void melde(qint64 erledigt, qint64 gesamt, const QString&) override {
        if (gesamt < 0 || erledigt == gesamt) werte = {erledigt};
    }
    void zaehle(const QList<stapel::Zaehler>& zaehler, const QString&) override {
        werte.clear();
        namen.clear();
        muster.clear();
        for (const stapel::Zaehler& z : zaehler) werte << z.wert, namen << z.name, muster << z.muster;
    }
    bool abbruchGewuenscht() override { return abbruch && abbruch(); }
    bool frage(const QString& text) override {
        fragen << text;
        return antwort;
    }
};

QStringList tabelle(const Datenbank& db, const QString& sql) {
    QStringList zeilen;
    for (const QSqlRecord& r : alle(db, sql)) {
        QStringList felder;
        for (int i = 0; i < r.count(); ++i) {
            const QVariant v = r.value(i);
            felder << (v.isNull() ? QStringLiteral("NULL")
                       : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 12)
                                                         : v.toString());
        }
        zeilen << felder.join('|');
    }
    return zeilen;
}

const QString kPlots = QStringLiteral(
    "select id, id_orte, gemeindeschluessel, strassen_name, hausnummer, ortsteil, x_koordinate, y_koordinate, "
    "strassenschluessel, mosaic_nummer, pogos, pogos_cstaotk, richtwert_minimal, richtwert_maximal, "
    "richtwert_durchschnitt, richtwert_tatsaechlich, bauliche_nutzung, entwicklungszustand, bauweise, "
    "geschossflaechenzahl, anzahl_der_geschosse, grundstueckstiefe, grundstuecksflaeche, beitragspflichtig, "
    "sanierungsgebiet, sananfangende, richtwerttyp, bemerkung, loeschen from grundstuecke order by id");
const QString kOrtsdaten = QStringLiteral("select id, id_gutachter from ortsdaten order by id");

stapel::Ergebnis lauf(stapel::Auftrag& a, const Datenbank& db, Zaehlerstand& stand) {
    return stapel::fuehreAus(a, db, stand);
}

}  // namespace

class TestImporte : public QObject {
    Q_OBJECT
private slots:
    void hausnummerAlsText();
    void gleichDerReferenz_data() { test::backendZeilen(); }
    void gleichDerReferenz();
    void randfaelleDerDemodaten_data() { test::backendZeilen(); }
    void randfaelleDerDemodaten();
    void abbruchUndLoeschenAendernNichts_data() { test::backendZeilen(); }
    void abbruchUndLoeschenAendernNichts();
    void formenUndKommandozeile();
};

void TestImporte::hausnummerAlsText() {
    // The text form keeps every digit the reading takes and no more; both the
    // number and the text read the same characters.
    const QList<std::pair<QString, QString>> faelle{
        {"12a", "12"}, {"007", "7"}, {"12.50", "12.5"}, {" 1 2", "12"}, {"-3", "-3"}, {"-0", "0"}, {"abc", "0"},
        {"", "0"}, {".5", "0.5"}, {"5.", "5"}, {"3\t4", "34"}, {"+8 b", "8"}, {"-.0", "0"}, {"1.5.2", "1.5"},
        {"12345678901234567890", "12345678901234567890"}, {"00.000", "0"}, {"-007.10x", "-7.1"}};
    for (const auto& [ein, aus] : faelle) {
        QCOMPARE(fuehrendeZahlText(ein), aus);
        QCOMPARE(fuehrendeZahl(ein), aus.toDouble());
    }
    // The database's own reading gives the same text on every backend.
    for (const test::TestBackend& b : test::backends()) {
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, b.name, false);
        TALU_DB_OK(meldeImportFunktionenAn(db));
        const QString sql = "select " + db.dialekt().hausnummerText("t.h") + " from (select cast(? as varchar(100)) as h) t";
        for (const auto& [ein, aus] : faelle) QCOMPARE(db.wert(sql, {ein}).toString(), aus);
        QVERIFY(db.wert(sql, {QVariant(QMetaType(QMetaType::QString))}).isNull());
    }
}

void TestImporte::gleichDerReferenz() {
    QFETCH(QString, backend);
    Datenbank schnell, referenz;
    TALU_FRISCHE_DB(fs, schnell, backend, false);
    TALU_FRISCHE_DB(fr, referenz, backend, false);
    TALU_DB_OK(erzeuge(schnell, 7));
    TALU_DB_OK(erzeuge(referenz, 7));
    TALU_DB_OK(meldeImportFunktionenAn(schnell));

    struct Schritt {
        const char* name;
        std::function<std::unique_ptr<stapel::Auftrag>()> auftrag;
        std::function<QList<qint64>(const Datenbank&)> referenz;
    };
    // In the order an operator would run them; small skip counts pass over a part of the sources.
    const QList<Schritt> schritte{
        {"wqn", [] { return std::make_unique<WqnImport>(); }, refWqn},
        {"pogos", [] { return std::make_unique<PogosImport>(); }, refPogos},
        {"mosaic", [] { return std::make_unique<MosaicImport>(); }, refMosaic},
        {"aurich", [] { return std::make_unique<AurichImport>(); }, refAurich},
        {"niedersachsen", [] { return std::make_unique<NiedersachsenImport>(11); },
         [](const Datenbank& db) { return refNiedersachsen(db, 11); }},
        {"gebaeude", [] { return std::make_unique<GebaeudeAuftrag>(); }, refGebaeude},
        {"zonen", [] { return std::make_unique<ZonenImport>(37); }, [](const Datenbank& db) { return refZonen(db, 37); }},
        {"zonen ohne Sprung", [] { return std::make_unique<ZonenImport>(0); },
         [](const Datenbank& db) { return refZonen(db, 0); }},
        {"strassennamen", [] { return std::make_unique<StrassennamenAuftrag>(); }, refStrassennamen},
        {"gemeindeschluessel", [] { return std::make_unique<GemeindeschluesselAuftrag>(); }, refGemeindeschluessel},
        {"start", [] { return std::make_unique<GutachterNachKreis>(); }, refGutachterKreis},
        {"start 4", [] { return std::make_unique<GutachterLueckenFuellen>(); },
         [](const Datenbank& db) { return refGutachterBereich(db, true); }},
        {"start 2", [] { return std::make_unique<GutachterNachBereich>(); },
         [](const Datenbank& db) { return refGutachterBereich(db, false); }},
    };
    for (const Schritt& s : schritte) {
        std::unique_ptr<stapel::Auftrag> a = s.auftrag();
        Zaehlerstand stand;
        const stapel::Ergebnis e = lauf(*a, schnell, stand);
        QVERIFY2(e.status == stapel::Ergebnis::Status::Fertig, qPrintable(QString(s.name) + ": " + e.meldung + e.serverText));
        QList<qint64> erwartet;
        TALU_DB_OK(erwartet = s.referenz(referenz));
        // "Start" shows "Aktuell" before "Sekundär": the reference lists them as the form does.
        QCOMPARE(stand.werte, erwartet);
        QCOMPARE(tabelle(schnell, kPlots), tabelle(referenz, kPlots));
        QCOMPARE(tabelle(schnell, kOrtsdaten), tabelle(referenz, kOrtsdaten));
    }
    // Every branch was taken: something was found, not found, skipped and cleared.
    QVERIFY(schnell.wert("select count(*) from grundstuecke where pogos = 'ja'").toInt() > 0);
    QVERIFY(schnell.wert("select count(*) from grundstuecke where richtwert_tatsaechlich is not null and "
                         "bemerkung = 'BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB'").toInt() > 0);
    QVERIFY(schnell.wert("select count(*) from grundstuecke where sananfangende = 'ew'").toInt() > 0);
    QVERIFY(schnell.wert("select count(*) from ortsdaten where id_gutachter is null").toInt() > 0);
    QVERIFY(schnell.wert("select count(*) from ortsdaten where id_gutachter is not null").toInt() > 0);
}

void TestImporte::randfaelleDerDemodaten() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    const qint64 vorher = db.wert("select max(id) from grundstuecke").toLongLong();
    auto neue = [&](const QString& spalten, const QString& bedingung = QStringLiteral("1 = 1")) {
        return tabelle(db, "select " + spalten + " from grundstuecke where id > " + QString::number(vorher) + " and " +
                               bedingung + " order by id");
    };
    // The street search finds what an import added at once.
    auto findet = [&](const QString& schluessel, const QString& strasse) {
        SucheDaten suche(db);
        return suche.sucheStrasse(schluessel, strasse).anzahl();
    };
    Zaehlerstand stand;
    WqnImport wqn;
    QCOMPARE(lauf(wqn, db, stand).status, stapel::Ergebnis::Status::Fertig);
    // hochwert goes to y, rechtswert to x; a Null number leaves its addition; 04 is 4.
    QCOMPARE(neue("hausnummer, x_koordinate, y_koordinate", "hausnummer in ('9a', 'c', '4')"),
             (QStringList{"9a|3563120.00|5711234.50", "c|3563130.00|5711250.00", "4|3563200.00|5711300.00"}));
    QCOMPARE(wqn.gelesen(), qint64(5));
    QCOMPARE(gelesenText(wqn.gelesen()), QStringLiteral(" 5"));
    QCOMPARE(findet("03159016", "auf'm"), 1);

    const qint64 nachWqn = db.wert("select max(id) from grundstuecke").toLongLong();
    PogosImport pogos;
    QCOMPARE(lauf(pogos, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(tabelle(db, "select gemeindeschluessel, hausnummer, pogos from grundstuecke where id > " +
                             QString::number(nachWqn) + " order by id"),
             (QStringList{"06531005|1|ja", "08435059|1|ja", "16051000|1|ja"}));
    QCOMPARE(findet("16051000", "Anger'sche"), 1);

    MosaicImport mosaic;
    QCOMPARE(lauf(mosaic, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(stand.werte, (QList<qint64>{4, 3, 1}));  // the unknown municipality only counts
    QCOMPARE(neue("strassen_name, hausnummer, ortsteil, mosaic_nummer", "mosaic_nummer is not null"),
             (QStringList{QString::fromUtf8("Burgstraße|14a|Mitte|034520010001"),
                          QString::fromUtf8("Burgstraße|16|Mitte|034520010002"), "Auf'm Kampe|b|Weende|031590160007"}));

    AurichImport aurich;
    QCOMPARE(lauf(aurich, db, stand).status, stapel::Ergebnis::Status::Fertig);
    // " E " gives "ew"; no delivered value gives Null; of two rows of a house the first counts.
    QCOMPARE(tabelle(db, "select mosaic_nummer, richtwert_tatsaechlich, sananfangende, bemerkung from grundstuecke "
                         "where mosaic_nummer in ('034520010101', '034520010107', '034520010108') order by id"),
             (QStringList{"034520010101|135|ew|Zentrum", "034520010107|NULL|aw|NULL", "034520010108|170|ka|NULL"}));

    // The demo's sources are far shorter than the skip counts: nothing is read, and the end says so.
    NiedersachsenImport nds;
    ZonenImport zonen;
    const QStringList alle = tabelle(db, kPlots);
    QCOMPARE(lauf(nds, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(stand.werte, (QList<qint64>{0, 0}));
    QVERIFY2(nds.hinweis().contains("571.098") && nds.hinweis().contains("keine Zeile"), qPrintable(nds.hinweis()));
    QCOMPARE(lauf(zonen, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QVERIFY2(zonen.hinweis().contains("1.400.000"), qPrintable(zonen.hinweis()));
    QCOMPARE(tabelle(db, kPlots), alle);

    // Niedersachsen without the skip: the first street of a key, the apostrophe street, x from hochwert.
    const qint64 nachAurich = db.wert("select max(id) from grundstuecke").toLongLong();
    NiedersachsenImport ganz(0);
    QCOMPARE(lauf(ganz, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(stand.werte, (QList<qint64>{5, 4}));
    QCOMPARE(tabelle(db, "select strassen_name, hausnummer, x_koordinate, gemeindeschluessel, strassenschluessel from "
                         "grundstuecke where id > " + QString::number(nachAurich) + " order by id"),
             (QStringList{QString::fromUtf8("Fockenbollwerkstraße|3|5925140.2|03452001|00417"),
                          "Up'n Diek|7|5925170.0|03452001|00418",
                          QString::fromUtf8("Fockenbollwerkstraße|NULL|5925180.0|03452001|00417"),
                          "Anger|2|5650000.0|16051000|00419"}));
    QCOMPARE(findet("03452001", "up'n"), 1);

    // Zones without the skip: the apostrophe street is passed over uncounted; a
    // plot whose remark is blanks gets the values; the first street row counts.
    TALU_DB_OK(db.ausfuehren("update grundstuecke set richtwert_minimal = null, richtwert_maximal = null, "
                             "richtwert_durchschnitt = null, richtwert_tatsaechlich = 0, bemerkung = '   ' where "
                             "gemeindeschluessel = '06531005' and strassen_name = 'Seltersweg' and hausnummer = '1'"));
    ZonenImport zonenGanz(0);
    QCOMPARE(lauf(zonenGanz, db, stand).status, stapel::Ergebnis::Status::Fertig);
    const qint64 seltersweg = db.wert("select count(*) from grundstuecke where gemeindeschluessel = '06531005' and "
                                      "strassen_name in ('Seltersweg', 'Frankfurter Straße')").toLongLong();
    QCOMPARE(stand.werte.value(1), seltersweg);  // the apostrophe street of Göttingen is not counted
    QCOMPARE(stand.werte.value(2), db.wert("select count(*) from grundstuecke where gemeindeschluessel = '06531005' "
                                           "and strassen_name = 'Seltersweg'").toLongLong());
    QCOMPARE(tabelle(db, "select richtwert_tatsaechlich, bemerkung, sananfangende from grundstuecke where "
                         "gemeindeschluessel = '06531005' and strassen_name = 'Seltersweg' and hausnummer = '1'"),
             QStringList{"520|Zone 4 Innenstadt|ew"});
    QCOMPARE(db.wert("select count(*) from grundstuecke where strassen_name like '%''%' and bemerkung = 'Zone 1'").toInt(), 0);

    // Goslar: the city's committee before the district's; "Start - 2" clears
    // without an exact committee and leaves the 16 places; "Start - 4" never overwrites.
    const QVariant goslar = db.wert("select id from ortsnamen where gemeindeschluessel = '03153017'");
    TALU_DB_OK(db.ausfuehren("update ortsdaten set id_gutachter = null"));
    GutachterNachKreis start;
    QCOMPARE(lauf(start, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(db.wert("select g.name from ortsdaten d join gutachter g on g.id = d.id_gutachter where d.ortsdaten_p_id = ?",
                     {goslar}).toString(),
             QStringLiteral("Gutachterausschuss Stadt Goslar"));
    GutachterLueckenFuellen start4;
    const QStringList vor4 = tabelle(db, "select id, id_gutachter from ortsdaten where id_gutachter is not null order by id");
    QCOMPARE(lauf(start4, db, stand).status, stapel::Ergebnis::Status::Fertig);
    for (const QString& z : vor4)
        QVERIFY2(tabelle(db, kOrtsdaten).contains(z), qPrintable(z));
    QCOMPARE(stand.muster, (QStringList{"0", "0"}));
    GutachterNachBereich start2;
    QCOMPARE(lauf(start2, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(db.wert("select g.name from ortsdaten d join gutachter g on g.id = d.id_gutachter where d.ortsdaten_p_id = ?",
                     {goslar}).toString(),
             QStringLiteral("Gutachterausschuss Stadt Goslar"));  // its area is Goslar's key
    QCOMPARE(db.wert("select count(*) from ortsdaten d join ortsnamen o on o.id = d.ortsdaten_p_id where "
                     "o.gemeindeschluessel = '06531005' and d.id_gutachter is not null").toInt(), 0);

    // A building whose street is unknown adds nothing and counts.
    GebaeudeAuftrag gebaeude;
    QCOMPARE(lauf(gebaeude, db, stand).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(stand.werte, (QList<qint64>{5, 3}));
}

void TestImporte::abbruchUndLoeschenAendernNichts() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(erzeuge(db, 3));
    const QStringList vorher = tabelle(db, kPlots);
    // Cancelled after its first range: the whole import is undone.
    for (auto* a : std::initializer_list<stapel::Auftrag*>{new MosaicImport, new ZonenImport(0), new WqnImport}) {
        std::unique_ptr<stapel::Auftrag> auftrag(a);
        Zaehlerstand stand;
        stand.abbruch = [] { return true; };
        QCOMPARE(lauf(*auftrag, db, stand).status, stapel::Ergebnis::Status::Abgebrochen);
        QCOMPARE(tabelle(db, kPlots), vorher);
    }
    // Deleting every plot asks first, naming the count; No keeps them all.
    GrundstueckeLoeschen loeschen;
    Zaehlerstand nein;
    QCOMPARE(lauf(loeschen, db, nein).status, stapel::Ergebnis::Status::Abgebrochen);
    QCOMPARE(nein.fragen, QStringList{QString::fromUtf8("Sollen wirklich alle 240 Grundstücke gelöscht werden?")});
    QCOMPARE(tabelle(db, kPlots), vorher);
    Zaehlerstand ja;
    ja.antwort = true;
    QCOMPARE(lauf(loeschen, db, ja).status, stapel::Ergebnis::Status::Fertig);
    QCOMPARE(db.wert("select count(*) from grundstuecke").toInt(), 0);
}

void TestImporte::formenUndKommandozeile() {
    TALU_LOOKUP_DB(fx, "sqlite", true);
    const Datenbank& db = publics().Verbindung;
    DialogAufzeichnung dlg;
    const QString bilder = qEnvironmentVariable("TALU_BILDER");
    auto bild = [&](QWidget* w, const QString& name) {
        if (!bilder.isEmpty()) w->grab().save(QDir(bilder).filePath(name + ".png"));
    };
    // Each form with its title, captions and boxes; Start runs its command and the counters show the result.
    struct Fall {
        QString form;
        QStringList knoepfe;
        QStringList erwartet;  // the boxes after the run
        QStringList meldungen;
    };
    const QList<Fall> faelle{
        {"frmMosaicDatenImportieren", {"cmdStart"}, {"4,", "3,", "1,"}, {}},
        {"frmAurichImportieren", {"cmdStart"}, {"11", "3", "8"}, {}},
        {"frmNiedersachsenImportieren", {"cmdStart"}, {"", ""}, {}},
        {"frmZonenDatenImportieren", {"cmdStart"}, {"", "", "", ""}, {}},
        {"frmGutachterAusfuellen", {"cmdStart2"}, {"40", "5", "", "", "", ""}, {}},
        {"frmAusfuellen", {"cmdStart"}, {"318"}, {}},
        {"frmGemeindeSchluesselAusfuellen", {"cmdStart"}, {"318"}, {}},
    };
    for (const Fall& f : faelle) {
        auto* form = formen::zeige<ZaehlerFormular>(f.form);
        QVERIFY2(form, qPrintable(f.form));
        QCOMPARE(form->lblKopf->font().family(), QStringLiteral("Arial"));
        bild(form, f.form + "_vorher");
        dlg.leeren();
        for (const QString& k : f.knoepfe) QTest::mouseClick(form->findChild<QPushButton*>(k), Qt::LeftButton);
        QStringList texte;
        for (QLineEdit* t : form->text) texte << t->text();
        QCOMPARE(texte, f.erwartet);
        bild(form, f.form + "_nachher");
        formen::entlade(form);
    }
    // The Niedersachsen end message says that the skip passed over the whole table.
    auto* nds = formen::zeige<frmNiedersachsenImportieren>();
    dlg.leeren();
    QTest::mouseClick(nds->cmdStart, Qt::LeftButton);
    QCOMPARE(dlg.meldungen.size(), 1);
    QVERIFY(dlg.meldungen[0].text.startsWith("Fertig\n\n"));
    // "Löschen" asks; No deletes nothing.
    const int plots = db.wert("select count(*) from grundstuecke").toInt();
    dlg.leeren();
    dlg.jaAntworten = {false};
    QTest::mouseClick(nds->cmdLoeschen, Qt::LeftButton);
    QCOMPARE(db.wert("select count(*) from grundstuecke").toInt(), plots);
    QCOMPARE(dlg.fragen, QStringList{GrundstueckeLoeschen::frageText(plots)});
    QVERIFY(dlg.fragen.value(0).contains(QString::number(plots)));
    // The Gutachter form's labels and boxes; "Start - 3" does nothing.
    auto* ga = formen::zeige<frmGutachterAusfuellen>();
    QCOMPARE(ga->label.size(), 6);
    QCOMPARE(ga->label[5]->text(), QStringLiteral("GA-Gesamt:"));
    QVERIFY(ga->findChild<QLineEdit*>("Text6"));
    const QStringList vorher = tabelle(db, kOrtsdaten);
    dlg.leeren();
    QTest::mouseClick(ga->cmdStart3, Qt::LeftButton);
    QVERIFY(dlg.meldungen.isEmpty());
    QCOMPARE(tabelle(db, kOrtsdaten), vorher);
    bild(ga, "frmGutachterAusfuellen_start3");

    // The two direct imports from the menu: the rows read in status panel 7; POGOS with its end message.
    {
        frmMain haupt;
        const QVariant letzte = db.wert("select max(id) from grundstuecke");
        dlg.leeren();
        QVERIFY(menue::fuehreAus("mnuwqndatenimportieren", &haupt));
        QCOMPARE(haupt.panel(7)->text(), QStringLiteral(" 5"));
        QVERIFY(dlg.meldungen.isEmpty());
        QVERIFY(menue::fuehreAus("mnuPogosDatenImportieren", &haupt));
        QCOMPARE(haupt.panel(7)->text(), QStringLiteral(" 3"));
        QCOMPARE(dlg.texte(), QStringList{PogosImport::fertigText()});
        TALU_DB_OK(db.ausfuehren("delete from grundstuecke where id > ?", {letzte}));
    }

    // The command line: the imports unattended; deleting all plots only with --ja.
    const QString pflege = QCoreApplication::applicationDirPath() + "/../src/talu-pflege";
    QVERIFY(QFileInfo::exists(pflege));
    const QStringList verbindung{"--server", "sqlite", "--datenbank", db.qt().databaseName(), "--leise"};
    publics().Verbindung.schliessen();
    QProcess p;
    p.start(pflege, verbindung + QStringList{"pogos-import", "mosaic-import"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QString aus = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(aus.contains(PogosImport::fertigText()) && aus.contains("Anzahl der gefundenen Orte: 3"), qPrintable(aus));
    p.start(pflege, verbindung + QStringList{"grundstuecke-loeschen"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    Datenbank nachher;
    QString fehler;
    QVERIFY(nachher.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler));
    QCOMPARE(nachher.wert("select count(*) from grundstuecke").toInt(), plots + 3 + 3);
    p.start(pflege, verbindung + QStringList{"--ja", "grundstuecke-loeschen"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(nachher.wert("select count(*) from grundstuecke").toInt(), 0);
}

QTEST_MAIN(TestImporte)
#include "tst_importe.moc"
