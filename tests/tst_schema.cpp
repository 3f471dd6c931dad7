// The schema on every backend: it creates, its defaults and types hold what
// the forms rely on, the name searches fold case and treat input as data, and
// the street search runs on an index.
#include <QtTest>

#include "Fixture.h"
#include "lookup/SucheDaten.h"
#include "db/Dialekt.h"
#include "db/Schema.h"

using namespace talu;

namespace {

qint64 neuerOrt(const Datenbank& db, const QString& ort, const QString& plz, const QString& schluessel,
                int typ = 1) {
    return db.einfuegen("ortsnamen",
                        {{"ort", ort}, {"plzneu", plz}, {"gemeindeschluessel", schluessel}, {"typ", typ}});
}

qint64 neuesGrundstueck(const Datenbank& db, const QString& schluessel, const QString& strasse,
                        const QString& nr, const QString& loeschen = "nein") {
    return db.einfuegen("grundstuecke", {{"gemeindeschluessel", schluessel},
                                         {"strassen_name", strasse},
                                         {"hausnummer", nr},
                                         {"loeschen", loeschen}});
}

QStringList alleOrte(const Recordset& rs) {
    QStringList l;
    for (const QSqlRecord& z : rs.zeilen()) l << z.value("ort").toString();
    return l;
}

// The query plan as text, one detail line per row. The values stay bound: on
// PostgreSQL a prepared EXPLAIN is not allowed, so a small function runs it
// with the values as parameters, and the planner sees them as for a real query.
QString plan(const Datenbank& db, const QString& sql, const Parameter& p) {
    Recordset rs;
    if (db.backend() == Backend::SQLite) {
        rs = db.abfrage("explain query plan " + sql, p);
    } else {
        db.ausfuehren(
            "create or replace function talu_plan(anweisung text, a text, b text, c text) returns setof text "
            "language plpgsql as $$ declare z record; begin "
            "for z in execute 'explain ' || anweisung using a, b, c loop return next z.\"QUERY PLAN\"; end loop; "
            "end $$");
        QString mitNummern = sql;
        for (int i = 1; mitNummern.contains('?'); ++i)
            mitNummern.replace(mitNummern.indexOf('?'), 1, "$" + QString::number(i));
        Parameter werte = {mitNummern};
        for (int i = 0; i < 3; ++i) werte << (i < p.size() ? p.at(i).toString() : QString());
        rs = db.abfrage("select * from talu_plan(?, ?, ?, ?)", werte);
    }
    QStringList zeilen;
    for (const QSqlRecord& z : rs.zeilen()) {
        QStringList teile;
        for (int i = 0; i < z.count(); ++i) teile << z.value(i).toString();
        zeilen << teile.join(' ');
    }
    return zeilen.join('\n');
}

const char* const kStrassensuche =
    "select * from grundstuecke where gemeindeschluessel = ? and strassen_name_suche like ? "
    "escape '\\' and loeschen = 'nein' order by ortsteil,strassen_name,hausnummer_numerisch";

}  // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void schemaEntstehtVollstaendig_data() { test::backendZeilen(); }
    void schemaEntstehtVollstaendig();
    void sqlServerDdl();
    void postgresDdl();
    void tabellenNamenEindeutig();

    void neueProtokollZeileIstUnabgerechnet_data() { test::backendZeilen(); }
    void neueProtokollZeileIstUnabgerechnet();
    void datumSortiertChronologisch_data() { test::backendZeilen(); }
    void datumSortiertChronologisch();
    void ortssucheOhneGrossKlein_data() { test::backendZeilen(); }
    void ortssucheOhneGrossKlein();
    void strassensucheMitPraefix_data() { test::backendZeilen(); }
    void strassensucheMitPraefix();
    void einfuegenLiefertIdDieserZeile_data() { test::backendZeilen(); }
    void einfuegenLiefertIdDieserZeile();
    void abgebrocheneTransaktionHinterlaesstNichts_data() { test::backendZeilen(); }
    void abgebrocheneTransaktionHinterlaesstNichts();
    void umlautSpaltenBenutzbar_data() { test::backendZeilen(); }
    void umlautSpaltenBenutzbar();
    void rechnungsnummerEindeutig_data() { test::backendZeilen(); }
    void rechnungsnummerEindeutig();
    void strassensucheNutztIndex_data() { test::backendZeilen(); }
    void strassensucheNutztIndex();
};

void TestSchema::schemaEntstehtVollstaendig() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    // Every table and every column of the definition can be read.
    for (const Tabelle& t : tabellenBasis()) {
        QStringList spalten;
        for (const Spalte& s : t.spalten) spalten << s.name;
        Recordset rs;
        TALU_DB_OK(rs = db.abfrage("select " + spalten.join(", ") + " from " + t.name));
        QVERIFY2(rs.leer(), qPrintable(t.name));
        QCOMPARE(rs.spalten().size(), spalten.size());
        QCOMPARE(t.spalten.first().name, QString("id"));
        QCOMPARE(t.spalten.first().typ, Typ::Id);
    }
    // The tables that other modules join or look up exist under their names.
    for (const char* name : {"ortsnamen", "grundstuecke", "abfrageprotokoll", "rechnungen", "rechnungs_kunden",
                             "protokoll", "gutachter", "benutzer", "kreis", "kreise", "regbez", "bundeslaender",
                             "geb111", "str111", "pogos", "mosaic", "aurich", "gebäude", "strassen",
                             "import_11062002_1", "import_11062002_2"})
        QVERIFY2(findeTabelle(QString::fromUtf8(name)), name);
}

void TestSchema::sqlServerDdl() {
    const Dialekt d(Backend::SQLServer);
    const QStringList anweisungen = ddl(d);
    const QString alles = anweisungen.join('\n');
    QVERIFY(alles.contains("create table abfrageprotokoll (id int identity(1,1) primary key"));
    QVERIFY(alles.contains("computername nvarchar(50)"));
    QVERIFY(alles.contains("abgerechnet_eigen nvarchar(1) default 'N'"));
    QVERIFY(alles.contains("datum date"));
    QVERIFY(!alles.contains("autoincrement"));
    QVERIFY(!alles.contains("text_pattern_ops"));
    QVERIFY(!alles.contains("double precision"));
    QVERIFY(!alles.contains(" text,") && !alles.contains(" text)"));
    // SQL Server compares case-insensitively by collation: the name indexes are plain.
    QVERIFY(alles.contains("create index ix_ortsnamen_ort on ortsnamen (ort_suche)"));
    QVERIFY(alles.contains(QString::fromUtf8("create table gebäude (")));
    // An nvarchar(max) column cannot be indexed on SQL Server: every indexed
    // text column must have a length of at most 450 characters.
    for (const Tabelle& t : schema()) {
        for (const Index& i : t.indexe) {
            for (const QString& a : i.ausdruecke) {
                const Spalte* s = t.spalte(a);
                QVERIFY2(s, qPrintable(t.name + "." + a));
                if (s->typ == Typ::Text || s->typ == Typ::Suchtext)
                    QVERIFY2(s->laenge > 0 && s->laenge <= 450, qPrintable(t.name + "." + a));
            }
        }
    }
    // The newest plot: "top 1" instead of "limit".
    QCOMPARE(d.begrenze("select * from grundstuecke order by id desc", 1),
             QString("select top 1 * from grundstuecke order by id desc"));
    QVERIFY(!d.begrenze("select * from grundstuecke order by id desc", 1).contains("limit"));
}

void TestSchema::postgresDdl() {
    const QString alles = ddl(Dialekt(Backend::PostgreSQL)).join('\n');
    // Prefix LIKE on the search columns needs the pattern operator class.
    QVERIFY(alles.contains("(ort_suche varchar_pattern_ops)"));
    QVERIFY(alles.contains("(gemeindeschluessel, strassen_name_suche varchar_pattern_ops)"));
    QVERIFY(alles.contains("generated by default as identity primary key"));
    QVERIFY(alles.contains("preis double precision"));
    QVERIFY(alles.contains("loeschen varchar(4) default 'nein'"));
}

void TestSchema::tabellenNamenEindeutig() {
    QSet<QString> tabellen, indexe;
    for (const Tabelle& t : schema()) {
        QVERIFY2(!tabellen.contains(t.name.toLower()), qPrintable(t.name));
        tabellen.insert(t.name.toLower());
        QSet<QString> spalten;
        for (const Spalte& s : t.spalten) {
            // Column names are lower case: PostgreSQL folds unquoted names.
            QCOMPARE(s.name, s.name.toLower());
            QVERIFY2(!spalten.contains(s.name), qPrintable(t.name + "." + s.name));
            spalten.insert(s.name);
        }
        for (const Index& i : t.indexe) {
            QVERIFY2(!indexe.contains(i.name), qPrintable(i.name));
            indexe.insert(i.name);
        }
    }
}

void TestSchema::neueProtokollZeileIstUnabgerechnet() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    qint64 id = 0;
    // The columns a plot display writes; the billing flags are left to the table.
    TALU_DB_OK(id = db.einfuegen("abfrageprotokoll", {{"datum", QDate(2026, 3, 1)},
                                                      {"uhrzeit", "09:15"},
                                                      {"vorgang", QString::fromUtf8("Grundstücksdaten")},
                                                      {"pc_benutzer", "MEIER"},
                                                      {"db_benutzer", "meier"},
                                                      {"objekt", "60311 Frankfurt am Main - Zeil 5"},
                                                      {"gemeindeschluessel", "06412000"},
                                                      {"computername", QString(50, 'X')},
                                                      {"offen", "ja"},
                                                      {"preis", 12.5},
                                                      {"preis_gutachter", 5.0},
                                                      {"offen_gutachter", "ja"}}));
    Recordset rs = db.abfrage("select * from abfrageprotokoll where id = ?", {id});
    QCOMPARE(rs.anzahl(), 1);
    QCOMPARE(rs.text("abgerechnet_eigen"), QString("N"));
    QCOMPARE(rs.text("abgerechnet_gutachter"), QString("N"));
    QCOMPARE(rs.zahl("preis"), 12.5);
    QCOMPARE(rs.datum("datum"), QDate(2026, 3, 1));
    QVERIFY(rs.istNull("version"));
    QVERIFY(rs.istNull("rechnungsnummer"));
    // The viewer's filter finds it.
    QCOMPARE(db.wert("select count(*) from abfrageprotokoll where abgerechnet_eigen = 'N' and "
                     "abgerechnet_gutachter = 'N'").toInt(), 1);

    // A new plot is not marked as deleted, so the street search lists it.
    const qint64 g = db.einfuegen("grundstuecke", {{"gemeindeschluessel", "06412000"},
                                                   {"strassen_name", "Zeil"}, {"hausnummer", "5"}});
    QCOMPARE(db.wert("select loeschen from grundstuecke where id = ?", {g}).toString(), QString("nein"));
}

void TestSchema::datumSortiertChronologisch() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    // As "dd.mm.yyyy" text these would sort 01.02., 05.01., 20.12.
    const QList<QDate> tage = {QDate(2026, 1, 5), QDate(2025, 12, 20), QDate(2026, 2, 1), QDate(2024, 2, 29)};
    for (const QDate& t : tage)
        db.einfuegen("abfrageprotokoll", {{"datum", t}, {"uhrzeit", "10:00"}, {"offen", "ja"}});
    Recordset rs = db.abfrage("select datum from abfrageprotokoll order by datum");
    QList<QDate> gelesen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) gelesen << rs.datum("datum");
    QCOMPARE(gelesen, (QList<QDate>{QDate(2024, 2, 29), QDate(2025, 12, 20), QDate(2026, 1, 5),
                                    QDate(2026, 2, 1)}));
    // A date range and today's rows are found by comparison, not by text.
    QCOMPARE(db.wert("select count(*) from abfrageprotokoll where datum >= ? and datum < ?",
                     {QDate(2025, 12, 1), QDate(2026, 2, 1)}).toInt(), 2);
    db.einfuegen("protokoll", {{"name", "meier"}, {"datum", QDate::currentDate()}, {"zeit", "08:00"},
                               {"vorgang", "Login"}});
    QCOMPARE(db.wert("select count(*) from protokoll where datum = " + db.dialekt().heute()).toInt(), 1);
}

void TestSchema::ortssucheOhneGrossKlein() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    const Dialekt& d = db.dialekt();
    neuerOrt(db, QString::fromUtf8("Überlingen"), "88662", "08435059");
    neuerOrt(db, QString::fromUtf8("Gießen"), "35390", "06531005");
    neuerOrt(db, "St. Peter", "79271", "08315099", 2);
    neuerOrt(db, "O'Brien", "12345", "09999999");
    neuerOrt(db, "100% Dorf", "12346", "09999998");
    neuerOrt(db, "1000 Dorf", "12347", "09999997");

    // Through the search column, as the place search compares: the term folded like the column.
    const QString gleichSql = "select * from ortsnamen where " + db.dialekt().suchGleich("ort_suche") +
                              " and typ < 3 order by plzneu,ort";
    const QString beginntSql = "select * from ortsnamen where " + db.dialekt().suchLike("ort_suche") +
                               " and typ < 3 order by plzneu,ort";
    auto gleich = [&](const QString& begriff) { return db.abfrage(gleichSql, {Dialekt::falte(begriff)}); };
    auto beginnt = [&](const QString& muster) { return db.abfrage(beginntSql, {Dialekt::falte(muster)}); };
    for (const char* eingabe : {"überlingen", "ÜBERLINGEN", "Überlingen"}) {
        const Recordset rs = gleich(QString::fromUtf8(eingabe));
        QCOMPARE(alleOrte(rs), QStringList{QString::fromUtf8("Überlingen")});
    }
    QCOMPARE(alleOrte(gleich(QString::fromUtf8("GIESSEN"))), QStringList{});
    QCOMPARE(alleOrte(gleich(QString::fromUtf8("gießen"))), QStringList{QString::fromUtf8("Gießen")});
    // A quote is part of the name, not of the statement.
    QCOMPARE(alleOrte(gleich("O'BRIEN")), QStringList{"O'Brien"});
    QCOMPARE(alleOrte(gleich("x' or '1'='1")), QStringList{});

    QCOMPARE(alleOrte(beginnt(Dialekt::beginntMit(QString::fromUtf8("übER")))), QStringList{QString::fromUtf8("Überlingen")});
    // A typed % or _ is a literal character, not a wildcard.
    QCOMPARE(alleOrte(beginnt(Dialekt::beginntMit("100%"))), QStringList{"100% Dorf"});
    QCOMPARE(alleOrte(beginnt(Dialekt::beginntMit("10_0"))), QStringList{});
    QCOMPARE(alleOrte(beginnt(Dialekt::beginntMit("ST."))), QStringList{"St. Peter"});
    QCOMPARE(alleOrte(beginnt(Dialekt::beginntMit("o'"))), QStringList{"O'Brien"});
    QCOMPARE(alleOrte(beginnt(Dialekt::enthaelt("LINGEN"))), QStringList{QString::fromUtf8("Überlingen")});
    // Columns without a search column fold on both sides in the statement.
    QCOMPARE(alleOrte(db.abfrage("select * from ortsnamen where " + d.gleichOhneFall("ort"), {QString::fromUtf8("ÜBERLINGEN")})),
             QStringList{QString::fromUtf8("Überlingen")});
}

void TestSchema::strassensucheMitPraefix() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    neuesGrundstueck(db, "06412000", QString::fromUtf8("Mainzer Landstraße"), "12a");
    neuesGrundstueck(db, "06412000", QString::fromUtf8("Mainzer Landstraße"), "3");
    neuesGrundstueck(db, "06412000", QString::fromUtf8("Mainzer Landstraße"), "4", "ja");
    neuesGrundstueck(db, "06412000", "Zeil", "1");
    neuesGrundstueck(db, "07315000", QString::fromUtf8("Mainzer Straße"), "1");
    neuesGrundstueck(db, "06611000", QString::fromUtf8("Am Königsplatz"), "1");

    auto treffer = [&](const QString& schluessel, const QString& eingabe) {
        return db.abfrage(kStrassensuche, {schluessel, Dialekt::beginntMit(Dialekt::falte(eingabe))}).anzahl();
    };
    QCOMPARE(treffer("06412000", "MAINZER"), 2);  // the deleted plot stays out
    QCOMPARE(treffer("06412000", "mainzer landstrasse"), 0);
    QCOMPARE(treffer("06412000", QString::fromUtf8("MAINZER LANDSTRASSE").left(8)), 2);
    QCOMPARE(treffer("07315000", "mainzer"), 1);  // only the current municipality
    QCOMPARE(treffer("06611000", QString::fromUtf8("am kÖnigsplatz")), 1);
    QCOMPARE(treffer("06412000", "%"), 0);
    QCOMPARE(treffer("06412000", "Zeil' or '1'='1"), 0);
}

void TestSchema::einfuegenLiefertIdDieserZeile() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    QHash<qint64, QString> ids;
    for (const char* ort : {"Fürth", "Görlitz", "Müllheim", "Gießen"}) {
        const qint64 id = neuerOrt(db, QString::fromUtf8(ort), "00000", "00000000");
        QVERIFY(id > 0);
        QVERIFY(!ids.contains(id));
        ids.insert(id, QString::fromUtf8(ort));
    }
    // A deleted newest row does not make the next id repeat an old one.
    const qint64 letzte = db.wert(db.dialekt().begrenze("select id from ortsnamen order by id desc", 1)).toLongLong();
    db.ausfuehren("delete from ortsnamen where id = ?", {letzte});
    const qint64 neu = neuerOrt(db, "Neuort", "00000", "00000000");
    QVERIFY(!ids.contains(neu));
    ids.insert(neu, "Neuort");
    ids.remove(letzte);
    for (auto it = ids.cbegin(); it != ids.cend(); ++it)
        QCOMPARE(db.wert("select ort from ortsnamen where id = ?", {it.key()}).toString(), it.value());
}

void TestSchema::abgebrocheneTransaktionHinterlaesstNichts() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    try {
        Transaktion t(db);
        for (int i = 0; i < 20; ++i) neuesGrundstueck(db, "06412000", "Zeil", QString::number(i));
        throw std::runtime_error("Abbruch mitten im Import");
    } catch (const std::runtime_error&) {
    }
    QCOMPARE(db.wert("select count(*) from grundstuecke").toInt(), 0);

    // A failing statement in the middle of a batch rolls back the rows before it.
    bool fehler = false;
    try {
        Transaktion t(db);
        neuesGrundstueck(db, "06412000", "Zeil", "1");
        db.ausfuehren("insert into grundstuecke (gibtsnicht) values (?)", {1});
        t.bestaetige();
    } catch (const DbFehler& e) {
        fehler = !e.serverText().isEmpty();
    }
    QVERIFY(fehler);
    QCOMPARE(db.wert("select count(*) from grundstuecke").toInt(), 0);

    // A completed batch stays.
    {
        Transaktion t(db);
        neuesGrundstueck(db, "06412000", "Zeil", "1");
        neuesGrundstueck(db, "06412000", "Zeil", "2");
        t.bestaetige();
    }
    QCOMPARE(db.wert("select count(*) from grundstuecke").toInt(), 2);
}

void TestSchema::umlautSpaltenBenutzbar() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(db.einfuegen(QString::fromUtf8("strassen"), {{QString::fromUtf8("strassenschlüssel"), "00417"},
                                                           {QString::fromUtf8("gemeindeschlüssel"), "03452001"},
                                                           {QString::fromUtf8("straßenname"), "Fockenbollwerk"}}));
    TALU_DB_OK(db.einfuegen(QString::fromUtf8("gebäude"), {{QString::fromUtf8("gemeindeschlüssel"), "03452001"},
                                                          {QString::fromUtf8("strassenschlüssel"), "00417"},
                                                          {"hausnummer", "3"}}));
    // The fill tools name the columns in mixed case.
    Recordset rs;
    TALU_DB_OK(rs = db.abfrage(QString::fromUtf8("select GemeindeSchlüssel, StrassenSchlüssel from gebäude")));
    QCOMPARE(rs.anzahl(), 1);
    TALU_DB_OK(rs = db.abfrage(QString::fromUtf8("select straßenname from strassen where strassenschlüssel = ? "
                                                 "and gemeindeschlüssel = ?"),
                               {"00417", "03452001"}));
    QCOMPARE(rs.text(QString::fromUtf8("straßenname")), QString("Fockenbollwerk"));
    TALU_DB_OK(db.einfuegen("aurich", {{"haus_id", "1"}, {QString::fromUtf8("haus_grundst_fläche"), "600"}}));
    QCOMPARE(db.wert(QString::fromUtf8("select haus_grundst_fläche from aurich")).toString(), QString("600"));
}

void TestSchema::rechnungsnummerEindeutig() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    // The invoice run carries the number as a double.
    db.einfuegen("rechnungen", {{"rechnungsnummer", 2026001.0}, {"rechnungsdatum", QDate(2026, 1, 3)},
                                {"offen", "ja"}});
    QCOMPARE(db.wert("select rechnungsnummer from rechnungen where rechnungsnummer = ?", {2026001.0}).toLongLong(),
             2026001LL);
    bool abgelehnt = false;
    try {
        db.einfuegen("rechnungen", {{"rechnungsnummer", 2026001}, {"offen", "ja"}});
    } catch (const DbFehler&) {
        abgelehnt = true;
    }
    QVERIFY2(abgelehnt, "a second invoice with the same number was stored");
}

void TestSchema::strassensucheNutztIndex() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    // Enough plots in enough municipalities that a full scan costs more than the index.
    {
        Transaktion t(db);
        const QStringList strassen = {"Zeil", "Berger Straße", "Mainzer Landstraße", "Hauptstraße", "Am Markt",
                                      "Bahnhofstraße", "Schillerstraße", "Goethestraße"};
        for (int g = 0; g < 60; ++g) {
            const QString schluessel = QString("0641%1").arg(g, 4, 10, QChar('0'));
            for (const QString& s : strassen)
                for (int nr = 1; nr <= 25; ++nr) neuesGrundstueck(db, schluessel, s, QString::number(nr));
        }
        for (int i = 0; i < 3000; ++i)
            neuerOrt(db, QString("Ort %1").arg(i), QString::number(10000 + i), QString("0%1").arg(1000000 + i));
        t.bestaetige();
    }
    if (db.backend() == Backend::PostgreSQL) {
        db.ausfuehren("analyze grundstuecke");
        db.ausfuehren("analyze ortsnamen");
        // The query log finds each row's customer by the folded login.
        QCOMPARE(db.wert("select count(*) from pg_indexes where indexname = ?", {"ix_rechnungs_kunden_klein"}).toInt(), 1);
        // The query-log grid reads a page after a jump along its order.
        QCOMPARE(db.wert("select indexdef from pg_indexes where indexname = ?", {"ix_abfrageprotokoll_raster"}).toString(),
                 QStringLiteral("CREATE INDEX ix_abfrageprotokoll_raster ON public.abfrageprotokoll USING btree (datum, "
                                "db_benutzer, id)"));
    }
    // The statement the street search sends, with the folding of the bound value on PostgreSQL.
    const QString p = plan(db, SucheDaten::strassenSql(db.dialekt()), {"06410007", Dialekt::beginntMit("mainzer"), "nein"});
    if (db.backend() == Backend::SQLite) {
        QVERIFY2(p.contains("USING INDEX ix_grundstuecke_strasse") || p.contains("USING INDEX ix_grundstuecke_hausnummer"), qPrintable(p));
        QVERIFY2(!p.contains("SCAN grundstuecke"), qPrintable(p));
    } else {
        QVERIFY2(p.contains("ix_grundstuecke_strasse"), qPrintable(p));
        QVERIFY2(!p.contains("Seq Scan on grundstuecke"), qPrintable(p));
    }
    // Stepping to the neighbouring house number looks the plot up by key, street and number.
    const QString nachbar = plan(db, "select * from grundstuecke where gemeindeschluessel = ? and strassen_name = ? "
                                     "and hausnummer = ?", {"06410007", "Zeil", "13"});
    QVERIFY2(nachbar.contains("ix_grundstuecke_hausnummer"), qPrintable(nachbar));
    // The place search by name, postcode and key.
    for (const QString& sql : {"select * from ortsnamen where " + db.dialekt().suchGleich("ort_suche"),
                               QString("select * from ortsnamen where plzneu = ?"),
                               QString("select * from ortsnamen where gemeindeschluessel = ?")}) {
        const QString o = plan(db, sql, {"x"});
        QVERIFY2(o.contains("ix_ortsnamen_"), qPrintable(sql + "\n" + o));
    }
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
