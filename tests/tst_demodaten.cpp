// The demo content of the core tables: enough and consistent data for every
// form and tool to show something real, with the awkward cases present.
#include <QRegularExpression>
#include <QtTest>

#include "Fixture.h"
#include "db/Dialekt.h"

using namespace talu;

namespace {

int zahl(const Datenbank& db, const QString& sql, const Parameter& p = {}) {
    return db.wert(sql, p).toInt();
}

QSet<QString> spaltenwerte(const Datenbank& db, const QString& sql) {
    QSet<QString> s;
    const Recordset rs = db.abfrage(sql);
    for (const QSqlRecord& z : rs.zeilen()) s.insert(z.value(0).toString());
    return s;
}

// Upper case letter by letter: ß has no single upper-case letter and stays.
QString gross(const QString& s) {
    QString g = s;
    for (QChar& c : g) c = c.toUpper();
    return g;
}

QSet<QString> menge(std::initializer_list<const char*> l) {
    QSet<QString> s;
    for (const char* c : l) s.insert(QString::fromUtf8(c));
    return s;
}

}  // namespace

class TestDemodaten : public QObject {
    Q_OBJECT
private slots:
    void regionen_data() { test::backendZeilen(); }
    void regionen();
    void orte_data() { test::backendZeilen(); }
    void orte();
    void grundstuecke_data() { test::backendZeilen(); }
    void grundstuecke();
    void codesAllerGruppen_data() { test::backendZeilen(); }
    void codesAllerGruppen();
    void gutachterUndBenutzer_data() { test::backendZeilen(); }
    void gutachterUndBenutzer();
    void abrechnung_data() { test::backendZeilen(); }
    void abrechnung();
    void zugangsprotokoll_data() { test::backendZeilen(); }
    void zugangsprotokoll();
    void importTabellen_data() { test::backendZeilen(); }
    void importTabellen();
};

void TestDemodaten::regionen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QVERIFY(zahl(db, "select count(*) from bundeslaender") >= 3);
    QVERIFY(zahl(db, "select count(*) from regbez") >= 3);
    QVERIFY(zahl(db, "select count(*) from kreis") >= 5);
    QCOMPARE(db.wert("select bundesland from bundeslaender where kenn = ?", {"08"}).toString(),
             QString::fromUtf8("Baden-Württemberg"));
    QCOMPARE(db.wert("select kreis from kreis where kenn = ?", {"06531"}).toString(), QString::fromUtf8("Gießen"));
    // Keys have their fixed lengths, and every district lies in a known region and state.
    QCOMPARE(zahl(db, "select count(*) from bundeslaender where length(kenn) <> 2"), 0);
    QCOMPARE(zahl(db, "select count(*) from regbez where length(kenn) <> 3"), 0);
    QCOMPARE(zahl(db, "select count(*) from kreis where length(kenn) <> 5 or gemeindeschluessel <> kenn"), 0);
    QCOMPARE(zahl(db, "select count(*) from kreis where substring(kenn, 1, 3) not in (select kenn from regbez)"), 0);
    QCOMPARE(zahl(db, "select count(*) from regbez where substring(kenn, 1, 2) not in (select kenn from bundeslaender)"), 0);
    // The district search hands a kreise id to the mask, which reads kreis.
    QCOMPARE(zahl(db, "select count(*) from kreise"), zahl(db, "select count(*) from kreis"));
    QCOMPARE(zahl(db, "select count(*) from kreise, kreis where kreise.id = kreis.id and kreise.kreis = kreis.kreis"),
             zahl(db, "select count(*) from kreis"));
    // "Start" of the fill tool: a city committee and a district committee of Goslar.
    QCOMPARE(zahl(db, "select count(*) from gutachter where name like ? and name like ?", {"%Stadt%", "%Goslar%"}), 1);
    QCOMPARE(zahl(db, "select count(*) from gutachter where name like ? and name like ?", {"%kreis%", "%Goslar%"}), 1);
}

void TestDemodaten::orte() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    const Dialekt& d = db.dialekt();
    QVERIFY(zahl(db, "select count(*) from ortsnamen") >= 25);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where typ < 3") >= 25);
    // Real 8-digit keys and 5-digit postcodes, each inside a known district.
    const Recordset rs = db.abfrage("select * from ortsnamen");
    static const QRegularExpression acht("^\\d{8}$"), fuenf("^\\d{5}$");
    for (const QSqlRecord& z : rs.zeilen()) {
        QVERIFY2(acht.match(z.value("gemeindeschluessel").toString()).hasMatch(), qPrintable(z.value("ort").toString()));
        QVERIFY2(fuenf.match(z.value("plzneu").toString()).hasMatch(), qPrintable(z.value("ort").toString()));
    }
    QCOMPARE(zahl(db, "select count(*) from ortsnamen where substring(gemeindeschluessel, 1, 5) not in "
                      "(select kenn from kreis)"), 0);
    for (const char* ort : {"Überlingen", "Gießen", "Görlitz", "Fürth", "Müllheim", "St. Peter"})
        QVERIFY2(zahl(db, "select count(*) from ortsnamen where " + d.gleichOhneFall("ort") + " and typ < 3",
                      {gross(QString::fromUtf8(ort))}) == 1, ort);
    // A searchable place whose name does not fit the 30 characters of the list.
    QVERIFY(zahl(db, "select count(*) from ortsnamen where length(ort) > 30 and typ < 3") >= 1);
    // Places that share one key: several postcodes of a city, incorporated places.
    QVERIFY(zahl(db, "select count(*) from (select gemeindeschluessel from ortsnamen group by gemeindeschluessel "
                     "having count(*) > 1) x") >= 2);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where typ >= 3") >= 1);
    QCOMPARE(zahl(db, "select count(*) from ortsnamen where typ < 3 and " + d.likeOhneFall("ort"),
                  {Dialekt::beginntMit("frankfurt")}), 3);
    // Prices: missing, zero, 12.5, and market prices.
    QVERIFY(zahl(db, "select count(*) from ortsnamen where preis is null") >= 1);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where preis = 0") >= 1);
    QCOMPARE(db.wert("select preis from ortsnamen where gemeindeschluessel = ?", {"08435059"}).toDouble(), 12.5);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where preis > 0 and preis_gutachter_bodenwert is null") == 0);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where preis_kp_efh > 0 and preis_lz > 0") >= 3);
    QVERIFY(zahl(db, "select count(*) from ortsnamen where preis_kp_efh is null") >= 3);
}

void TestDemodaten::grundstuecke() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    const Dialekt& d = db.dialekt();
    // Every plot belongs to a place of its own key (the plot form looks it up).
    QCOMPARE(zahl(db, "select count(*) from grundstuecke where gemeindeschluessel not in "
                      "(select gemeindeschluessel from ortsnamen)"), 0);
    QCOMPARE(zahl(db, "select count(*) from grundstuecke g where not exists (select 1 from ortsnamen o "
                      "where o.id = g.id_orte and o.gemeindeschluessel = g.gemeindeschluessel)"), 0);
    // A street with 30 and more plots that the street search lists.
    QVERIFY(zahl(db, "select max(n) from (select count(*) as n from grundstuecke where loeschen = 'nein' "
                     "group by gemeindeschluessel, strassen_name) x") >= 30);
    const QString strasse = "select count(*) from grundstuecke where gemeindeschluessel = ? and " +
                            d.likeOhneFall("strassen_name") + " and loeschen = 'nein'";
    QVERIFY(zahl(db, strasse, {"06412000", Dialekt::beginntMit("MAINZER")}) >= 30);
    QVERIFY(zahl(db, strasse, {"06611000", Dialekt::beginntMit(QString::fromUtf8("am königsplatz"))}) >= 2);
    // House numbers with letters, the street records and the numeric house number.
    QCOMPARE(db.wert("select hausnummer_numerisch from grundstuecke where gemeindeschluessel = ? and "
                     "strassen_name = ? and hausnummer = ?",
                     {"06412000", QString::fromUtf8("Mainzer Landstraße"), "12a"}).toDouble(), 12.0);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where hausnummer = '9999'") >= 5);
    // Stepping forward from 12a finds 13 in the same street.
    QCOMPARE(zahl(db, "select count(*) from grundstuecke where gemeindeschluessel = ? and strassen_name = ? and "
                      "hausnummer = ?", {"06412000", QString::fromUtf8("Mainzer Landstraße"), "13"}), 1);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where ortsteil is not null and ortsteil <> ''") > 0);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where ortsteil is null") > 0);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where loeschen <> 'nein'") > 0);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where gemeindeschluessel = ? and loeschen = 'nein'",
                 {"08315099"}) > 0);
    // Land values: present, zero and missing; the filled flag agrees with them.
    QVERIFY(zahl(db, "select count(*) from grundstuecke where richtwert_tatsaechlich > 0") > 100);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where richtwert_tatsaechlich is null") > 0);
    QVERIFY(zahl(db, "select count(*) from grundstuecke where richtwert_maximal = 0") > 0);
    QCOMPARE(zahl(db, "select count(*) from grundstuecke where ausgefuellt = 'n' and "
                      "(richtwert_tatsaechlich > 0 or richtwert_maximal > 0 or richtwert_minimal > 0 or "
                      "richtwert_durchschnitt > 0)"), 0);
    // Duplicates in a municipality beginning with 03 for the clean-up tool.
    QVERIFY(zahl(db, "select count(*) from (select 1 as x from grundstuecke where gemeindeschluessel like '03%' "
                     "group by gemeindeschluessel, strassen_name, hausnummer, ortsteil having count(*) > 1) y") >= 1);
    // Residential, mixed and commercial plots for the averages.
    for (const char* klasse : {"w%", "m%", "g%"})
        QVERIFY(zahl(db, "select count(*) from grundstuecke where bauliche_nutzung like ? and richtwert_tatsaechlich > 0",
                     {klasse}) > 5);
}

void TestDemodaten::codesAllerGruppen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QCOMPARE(spaltenwerte(db, "select distinct bauliche_nutzung from grundstuecke"),
             menge({"wa", "wr", "w", "ws", "wb", "md", "mi", "mk", "gg", "ge 1", "ge 2", "gi", "gei", "s", "soe",
                    "sol", "geb"}));
    QCOMPARE(spaltenwerte(db, "select distinct bauweise from grundstuecke"), menge({"o", "g", "a"}));
    QCOMPARE(spaltenwerte(db, "select distinct entwicklungszustand from grundstuecke"), menge({"b", "r", "e"}));
    QCOMPARE(spaltenwerte(db, "select distinct beitragspflichtig from grundstuecke"), menge({"j", "n"}));
    QCOMPARE(spaltenwerte(db, "select distinct sanierungsgebiet from grundstuecke"), menge({"j", "n"}));
    QCOMPARE(spaltenwerte(db, "select distinct sananfangende from grundstuecke"), menge({"aw", "ew", "ka"}));
    QCOMPARE(spaltenwerte(db, "select distinct richtwerttyp from grundstuecke"), menge({"z", "h", "l"}));
    QCOMPARE(spaltenwerte(db, "select distinct loeschen from grundstuecke"), menge({"ja", "nein"}));
}

void TestDemodaten::gutachterUndBenutzer() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QVERIFY(zahl(db, "select count(*) from gutachter") >= 3);
    // An appraiser for a municipality key and one for a district key.
    QVERIFY(zahl(db, "select count(*) from gutachter where bereich = ?", {"08435059"}) == 1);
    QVERIFY(zahl(db, "select count(*) from gutachter where bereich = ?", {"06531"}) == 1);
    QVERIFY(zahl(db, "select count(*) from gutachter where strasse is null and name is not null") >= 1);
    QVERIFY(zahl(db, "select count(*) from benutzer") >= 3);
    QCOMPARE(spaltenwerte(db, "select distinct schreibmodus from benutzer"), menge({"J", "N"}));
    QVERIFY(zahl(db, "select count(*) from benutzer where " + db.dialekt().likeOhneFall("name"),
                 {Dialekt::enthaelt(QString::fromUtf8("MÜLLER"))}) >= 1);
}

void TestDemodaten::abrechnung() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QVERIFY(zahl(db, "select count(*) from rechnungs_kunden") >= 2);
    // The viewer joins the log to the customers; a non-customer's rows stay out.
    const int alle = zahl(db, "select count(*) from abfrageprotokoll");
    const int kunden = zahl(db, "select count(*) from abfrageprotokoll, rechnungs_kunden "
                                "where abfrageprotokoll.db_benutzer = rechnungs_kunden.benutzername");
    QVERIFY(kunden >= 5);
    QVERIFY(kunden < alle);
    QVERIFY(zahl(db, "select count(*) from rechnungs_kunden where name like ?", {QString::fromUtf8("Mü%")}) >= 1);
    QVERIFY(zahl(db, "select count(*) from rechnungs_kunden where zusatz is null or zusatz = ''") >= 1);
    // Open rows to invoice and open appraiser shares, also one with price 0.
    QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where offen = 'ja'") >= 5);
    QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where offen = 'ja' and preis = 0") >= 1);
    QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where offen_gutachter = 'ja'") >= 3);
    QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where abgerechnet_eigen = 'N'") >= 5);
    QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where datum = " + db.dialekt().heute()) >= 1);
    for (const char* vorgang : {"Grundstücksdaten", "Ortsdaten", "Marktübersichten"})
        QVERIFY(zahl(db, "select count(*) from abfrageprotokoll where vorgang = ?", {QString::fromUtf8(vorgang)}) >= 1);
    // Billed rows name an existing invoice; invoice numbers are year * 1000 + n.
    QCOMPARE(zahl(db, "select count(*) from abfrageprotokoll where rechnungsnummer is not null and "
                      "rechnungsnummer not in (select rechnungsnummer from rechnungen)"), 0);
    QVERIFY(zahl(db, "select count(*) from rechnungen where offen = 'ja'") >= 1);
    QVERIFY(zahl(db, "select count(*) from rechnungen where offen = 'nein'") >= 1);
    const Recordset r = db.abfrage("select * from rechnungen order by rechnungsnummer");
    for (const QSqlRecord& z : r.zeilen()) {
        const qint64 nr = z.value("rechnungsnummer").toLongLong();
        QCOMPARE(nr / 1000, qint64(z.value("rechnungsdatum").toDate().isValid()
                                       ? z.value("rechnungsdatum").toDate().year()
                                       : alsDatum(z.value("rechnungsdatum")).year()));
        QVERIFY(qAbs(z.value("bruttobetrag").toDouble() - z.value("nettobetrag").toDouble() * 1.16) < 1e-9);
    }
}

void TestDemodaten::zugangsprotokoll() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QCOMPARE(spaltenwerte(db, "select distinct vorgang from protokoll"), menge({"Login", "Logout"}));
    QVERIFY(zahl(db, "select count(*) from protokoll where datum = ?", {QDate::currentDate()}) >= 2);
    QVERIFY(zahl(db, "select count(*) from protokoll where datum < ?", {QDate::currentDate()}) >= 2);
    // The grid shows the first five columns as ID, Name, Datum, Zeit, Vorgang.
    const Recordset rs = db.abfrage("select * from protokoll order by id");
    QCOMPARE(rs.spalten().mid(0, 5), (QStringList{"id", "name", "datum", "zeit", "vorgang"}));
}

void TestDemodaten::importTabellen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    QVERIFY(zahl(db, "select count(*) from geb111, str111 where geb111.ss = str111.ss and geb111.gs = str111.gs") >= 2);
    QVERIFY(zahl(db, "select count(*) from pogos where gemeindeschluessel not like '03%'") >= 1);
    QVERIFY(zahl(db, "select count(*) from pogos where gemeindeschluessel like '03%'") >= 1);
    // One Mosaic building lies in a known municipality, one does not.
    QVERIFY(zahl(db, "select count(*) from mosaic where substring(haus_id, 1, 8) in (select gemeindeschluessel "
                     "from ortsnamen)") >= 1);
    QVERIFY(zahl(db, "select count(*) from mosaic where substring(haus_id, 1, 8) not in (select gemeindeschluessel "
                     "from ortsnamen)") >= 1);
    // The Aurich values belong to a plot of Aurich by its Mosaic number.
    QCOMPARE(zahl(db, "select count(distinct grundstuecke.id) from grundstuecke, aurich where grundstuecke.gemeindeschluessel = '03452001' "
                      "and aurich.haus_id = grundstuecke.mosaic_nummer"), 3);
    QVERIFY(zahl(db, QString::fromUtf8("select count(*) from gebäude, strassen where "
                                       "gebäude.strassenschlüssel = strassen.strassenschlüssel")) >= 1);
    QVERIFY(zahl(db, "select count(*) from import_11062002_1, import_11062002_2 where "
                     "import_11062002_2.zonen_nr = import_11062002_1.zonen_nr") >= 1);
}

QTEST_GUILESS_MAIN(TestDemodaten)
#include "tst_demodaten.moc"
