// The averages and clean-ups of the maintenance tools store exactly what a
// plain pass row by row over the tables would store, on every backend, and a
// cancel or a failure leaves every table as it was.
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlRecord>
#include <QtTest>
#include <cmath>

#include "Fixture.h"
#include "plot/GrundstueckDaten.h"
#include "tools/Bereinigung.h"
#include "tools/Durchschnittswerte.h"

using namespace talu;
using namespace talu::pflege;

namespace {

// --- Generated data that hits every rule -------------------------------------

void erzeuge(const Datenbank& db, quint32 saat, int grundstuecke = 1500) {
    QRandomGenerator z(saat);
    auto wahl = [&](const QStringList& l) { return l.at(int(z.bounded(l.size()))); };
    Transaktion t(db);
    // Municipalities of the states 03 and 05 and a few others; some keys twice in ortsnamen.
    QStringList schluessel;
    for (int i = 0; i < 40; ++i) {
        const QString land = wahl({"03", "03", "05", "05", "09", "16"});
        schluessel << QString("%1%2%3%4").arg(land).arg(z.bounded(2, 4)).arg(z.bounded(1, 4), 2, 10, QChar('0'))
                          .arg(z.bounded(1, 30), 3, 10, QChar('0'));
    }
    schluessel.removeDuplicates();
    Anweisung ort = db.vorbereite("insert into ortsnamen (ort, plzneu, gemeindeschluessel, typ, wohn, misch, gewerbe) "
                                  "values (?, ?, ?, ?, ?, ?, ?)");
    int nr = 0;
    for (const QString& s : schluessel) {
        const int orte = z.bounded(10) < 3 ? 3 : 1;  // further places of one municipality
        for (int o = 0; o < orte; ++o)
            ort.fuehreAus({QString("Ort %1").arg(++nr), QString::number(10000 + nr), s, o == 0 ? 1 : 3, 77.0,
                           QVariant(), 5.5});
    }
    ort.fuehreAus({"Ohne Schluessel", "00000", QVariant(), 2, 1.0, 2.0, 3.0});
    ort.fuehreAus({"Ohne Grundstuecke", "00001", "09999999", 2, 1.0, 2.0, 3.0});
    // Regions: every prefix of the keys plus one without plots, each with old values.
    QStringList kreise, regbez, laender;
    for (const QString& s : schluessel) kreise << s.left(5), regbez << s.left(3), laender << s.left(2);
    kreise << "09999", regbez << "099", laender << "01";
    for (auto [tabelle, liste] : {std::pair{"kreis", &kreise}, std::pair{"regbez", &regbez},
                                  std::pair{"bundeslaender", &laender}}) {
        liste->removeDuplicates();
        Anweisung a = db.vorbereite(QString("insert into %1 (kenn, wohn, misch, gewerbe) values (?, ?, ?, ?)")
                                        .arg(QLatin1String(tabelle)));
        for (const QString& k : *liste) a.fuehreAus({k, 11.0, QVariant(), 33.0});
    }
    // Plots: few streets and numbers per municipality, so that equal neighbours occur.
    const QStringList nutzung{"wa", "wr", "WS", "w", "mi", "MK", "m", "ge", "gi", "G", "sonder", "x", ""};
    const QStringList strassen{"Hauptstraße", "Bahnhofstraße", "Am Markt", "am markt"};
    const QStringList nummern{"1", "2", "2", "12a", "7 b", "1 2", "12-14", "a1", ".5", "3\t4", "5\n6", " 8 ",
                              "-3", "1.5.2", "", "9999"};
    Anweisung p = db.vorbereite(
        "insert into grundstuecke (gemeindeschluessel, ortsteil, strassen_name, hausnummer, hausnummer_numerisch, "
        "richtwert_minimal, richtwert_durchschnitt, richtwert_maximal, richtwert_tatsaechlich, bauliche_nutzung, "
        "bemerkung, ausgefuellt, loeschen) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    auto wert = [&]() -> QVariant {
        const int r = int(z.bounded(10));
        if (r < 2) return QVariant();
        if (r < 4) return 0.0;
        return double(z.bounded(1, 4000)) / 4.0;
    };
    for (int i = 0; i < grundstuecke; ++i) {
        // A few municipalities whose plots all have a value of 0: a zero average.
        const QString s = schluessel.at(int(z.bounded(schluessel.size())));
        const bool null = s.endsWith('7');
        p.fuehreAus({z.bounded(50) == 0 ? QVariant() : QVariant(s),
                     z.bounded(4) == 0 ? QVariant() : QVariant(wahl({"Nord", "Süd"})),
                     z.bounded(30) == 0 ? QVariant() : QVariant(wahl(strassen)),
                     z.bounded(20) == 0 ? QVariant() : QVariant(wahl(nummern)),
                     z.bounded(3) == 0 ? QVariant() : QVariant(123.0), wert(), wert(), wert(),
                     null ? QVariant(0.0) : wert(),
                     z.bounded(12) == 0 ? QVariant() : QVariant(wahl(nutzung)),
                     [&] {
                         const QString b = wahl({"", "   ", "\t", " Lage "});
                         return b.isEmpty() ? QVariant() : QVariant(b);
                     }(),
                     z.bounded(5) == 0 ? QVariant() : QVariant(wahl({"j", "n"})),
                     wahl({"ja", "nein", "nein"})});
    }
    // Place data: runs of equal keys, Null keys between them.
    Anweisung od = db.vorbereite("insert into ortsdaten (ortsdaten_p_id, gemeindeschluessel) values (?, ?)");
    for (int i = 0; i < 300; ++i) {
        const int r = int(z.bounded(10));
        od.fuehreAus({int(z.bounded(1000)), r < 2 ? QVariant() : QVariant(schluessel.at(int(z.bounded(4))))});
    }
    t.bestaetige();
}

// --- The plain row-by-row passes ---------------------------------------------

QString klasseWie(const QString& k) {
    // "like 'w%'" as SQLite and SQL Server read it: the case of the letter does not count.
    return QString("(bauliche_nutzung like '%1%' or bauliche_nutzung like '%2%')").arg(k, k.toUpper());
}

void referenzOrte(const Datenbank& db) {
    QString vorher;
    bool erste = true;
    QVariant gemerkt[3];
    const QStringList spalten{"wohn", "misch", "gewerbe"};
    const Recordset rs = db.abfrage("select id, gemeindeschluessel from ortsnamen order by " +
                                    db.dialekt().nullZuerst("gemeindeschluessel") + ", id");
    for (const QSqlRecord& r : rs.zeilen()) {
        const QVariant schluessel = r.value(1);
        if (schluessel.isNull()) {
            db.ausfuehren("update ortsnamen set wohn = null, misch = null, gewerbe = null where id = ?", {r.value(0)});
            continue;
        }
        if (erste || schluessel.toString() != vorher) {
            erste = false;
            vorher = schluessel.toString();
            for (int i = 0; i < 3; ++i) {
                gemerkt[i] = db.wert("select avg(richtwert_tatsaechlich) from grundstuecke where " +
                                         klasseWie(QString("wmg").at(i)) + " and gemeindeschluessel = ?",
                                     {vorher});
                db.ausfuehren("update ortsnamen set " + spalten[i] + " = ? where id = ?", {gemerkt[i], r.value(0)});
            }
        } else {
            for (int i = 0; i < 3; ++i) {
                const QVariant v = !gemerkt[i].isNull() && gemerkt[i].toDouble() > 0 ? gemerkt[i] : QVariant();
                db.ausfuehren("update ortsnamen set " + spalten[i] + " = ? where id = ?", {v, r.value(0)});
            }
        }
    }
}

void referenzEbene(const Datenbank& db, Ebene e) {
    const EbenenAngaben& a = angaben(e);
    const QStringList spalten{"wohn", "misch", "gewerbe"};
    const Recordset rs = db.abfrage("select id, kenn from " + a.tabelle);
    for (const QSqlRecord& r : rs.zeilen())
        for (int i = 0; i < 3; ++i) {
            const QVariant v = db.wert("select avg(richtwert_tatsaechlich) from grundstuecke where " +
                                           klasseWie(QString("wmg").at(i)) + " and " +
                                           db.dialekt().teilText("gemeindeschluessel", 1, a.stellen) + " = ?",
                                       {r.value(1)});
            if (!v.isNull()) db.ausfuehren("update " + a.tabelle + " set " + spalten[i] + " = ? where id = ?", {v, r.value(0)});
        }
}

void referenzAusgefuellt(const Datenbank& db) {
    const Recordset rs = db.abfrage("select id, richtwert_minimal, richtwert_durchschnitt, richtwert_tatsaechlich, "
                                    "richtwert_maximal, bemerkung from grundstuecke");
    for (const QSqlRecord& r : rs.zeilen()) {
        bool voll = false;
        for (int i = 1; i <= 4; ++i) voll = voll || (!r.value(i).isNull() && r.value(i).toDouble() > 0);
        QString b = r.value(5).toString();
        while (b.startsWith(' ')) b.remove(0, 1);
        while (b.endsWith(' ')) b.chop(1);
        voll = voll || (!r.value(5).isNull() && !b.isEmpty());
        db.ausfuehren("update grundstuecke set ausgefuellt = ? where id = ?", {voll ? "j" : "n", r.value(0)});
    }
}

void referenzDoppelte(const Datenbank& db) {
    const Dialekt& d = db.dialekt();
    const Recordset rs = db.abfrage(
        "select id, gemeindeschluessel, strassen_name, hausnummer, ortsteil from grundstuecke where "
        "gemeindeschluessel like '03%' order by " + d.nullZuerst("gemeindeschluessel") + ", " +
        d.nullZuerst("strassen_name") + ", " + d.nullZuerst("hausnummer") + ", " + d.nullZuerst("ausgefuellt") + ", id");
    const auto& z = rs.zeilen();
    for (int i = 1; i < z.size(); ++i) {
        bool gleich = true;
        for (int s = 1; s <= 4; ++s)
            gleich = gleich && !z[i].value(s).isNull() && !z[i - 1].value(s).isNull() &&
                     z[i].value(s).toString() == z[i - 1].value(s).toString();
        db.ausfuehren("update grundstuecke set loeschen = ? where id = ?", {gleich ? "ja" : "nein", z[i].value(0)});
    }
}

QPair<qint64, qint64> referenzDupes(const Datenbank& db) {
    const Recordset rs = db.abfrage("select id, gemeindeschluessel from ortsdaten order by " +
                                    db.dialekt().nullZuerst("ortsdaten_p_id") + ", id");
    const auto& z = rs.zeilen();
    qint64 schluessel = 0, geloescht = 0;
    int i = 0;
    auto loesche = [&](int zeile) { db.ausfuehren("delete from ortsdaten where id = ?", {z[zeile].value(0)}); };
    while (i < z.size()) {
        while (i < z.size() && z[i].value(1).isNull()) loesche(i++);
        if (i >= z.size()) break;
        const QString gemerkt = z[i].value(1).toString();
        ++i;
        while (i < z.size() && !z[i].value(1).isNull() && z[i].value(1).toString() == gemerkt) {
            ++geloescht;
            loesche(i++);
        }
        ++schluessel;
    }
    return {schluessel, geloescht};
}

void referenzHausnummern(const Datenbank& db) {
    const Recordset rs = db.abfrage("select id, hausnummer from grundstuecke");
    for (const QSqlRecord& r : rs.zeilen())
        db.ausfuehren("update grundstuecke set hausnummer_numerisch = ? where id = ?",
                      {fuehrendeZahl(r.value(1).toString()), r.value(0)});
}

// --- Comparing whole tables --------------------------------------------------

QStringList tabelle(const Datenbank& db, const QString& sql) {
    QStringList zeilen;
    const Recordset rs = db.abfrage(sql);
    for (const QSqlRecord& r : rs.zeilen()) {
        QStringList felder;
        for (int i = 0; i < r.count(); ++i) {
            const QVariant v = r.value(i);
            if (v.isNull()) felder << "NULL";
            // Averages summed in another order may differ in the last bits only.
            else if (v.typeId() == QMetaType::Double) felder << QString::number(v.toDouble(), 'g', 12);
            else felder << v.toString();
        }
        zeilen << felder.join('|');
    }
    return zeilen;
}

const char* const kOrteSql = "select id, wohn, misch, gewerbe from ortsnamen order by id";

stapel::Ergebnis lauf(stapel::Auftrag& a, const Datenbank& db, std::function<bool()> abbruch = {}) {
    stapel::AnzeigeFunktion anzeige({}, std::move(abbruch));
    return stapel::fuehreAus(a, db, anzeige);
}

#define LAUF_OK(a, db)                                                                     \
    do {                                                                                   \
        const stapel::Ergebnis e_ = lauf(a, db);                                           \
        QVERIFY2(e_.status == stapel::Ergebnis::Status::Fertig,                            \
                 qPrintable(e_.meldung + " / " + e_.serverText));                          \
    } while (0)

}  // namespace

class TestPflege : public QObject {
    Q_OBJECT
private slots:
    void gleichDerReferenz_data();
    void gleichDerReferenz();
    void durchschnittRandfaelle_data() { test::backendZeilen(); }
    void durchschnittRandfaelle();
    void bereinigungRandfaelle_data() { test::backendZeilen(); }
    void bereinigungRandfaelle();
    void abbruchUndFehlerAendernNichts_data() { test::backendZeilen(); }
    void abbruchUndFehlerAendernNichts();
    void kommandozeile_data() { test::backendZeilen(); }
    void kommandozeile();
};

void TestPflege::gleichDerReferenz_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<quint32>("saat");
    for (const test::TestBackend& b : test::backends())
        for (quint32 saat : {1u, 2u}) QTest::newRow(qPrintable(b.name + QString::number(saat))) << b.name << saat;
}

void TestPflege::gleichDerReferenz() {
    QFETCH(QString, backend);
    QFETCH(quint32, saat);
    Datenbank schnell, referenz;
    TALU_FRISCHE_DB(fs, schnell, backend, false);
    TALU_FRISCHE_DB(fr, referenz, backend, false);
    TALU_DB_OK(erzeuge(schnell, saat));
    TALU_DB_OK(erzeuge(referenz, saat));

    for (Ebene e : {Ebene::Orte, Ebene::Kreise, Ebene::Regierungsbezirke, Ebene::Bundeslaender}) {
        DurchschnittAuftrag a(e);
        LAUF_OK(a, schnell);
        TALU_DB_OK(e == Ebene::Orte ? referenzOrte(referenz) : referenzEbene(referenz, e));
        const QString sql = "select id, kenn, wohn, misch, gewerbe from " + angaben(e).tabelle + " order by id";
        QCOMPARE(tabelle(schnell, e == Ebene::Orte ? QString(kOrteSql) : sql),
                 tabelle(referenz, e == Ebene::Orte ? QString(kOrteSql) : sql));
    }
    const QString plots = "select id, ausgefuellt, loeschen, hausnummer_numerisch from grundstuecke order by id";
    AusgefuelltAuftrag ausgefuellt;
    LAUF_OK(ausgefuellt, schnell);
    TALU_DB_OK(referenzAusgefuellt(referenz));
    QCOMPARE(tabelle(schnell, plots), tabelle(referenz, plots));
    // Duplicates after the flags, as an operator runs them; the flag is part of the order.
    DoppelteAuftrag doppelte;
    LAUF_OK(doppelte, schnell);
    TALU_DB_OK(referenzDoppelte(referenz));
    QCOMPARE(tabelle(schnell, plots), tabelle(referenz, plots));
    HausnummernAuftrag hausnummern;
    LAUF_OK(hausnummern, schnell);
    TALU_DB_OK(referenzHausnummern(referenz));
    QCOMPARE(tabelle(schnell, plots), tabelle(referenz, plots));
    DupesAuftrag dupes;
    LAUF_OK(dupes, schnell);
    QPair<qint64, qint64> zahlen;
    TALU_DB_OK(zahlen = referenzDupes(referenz));
    const QString od = "select id, ortsdaten_p_id, gemeindeschluessel from ortsdaten order by id";
    QCOMPARE(tabelle(schnell, od), tabelle(referenz, od));
    QCOMPARE(dupes.schluessel(), zahlen.first);
    QCOMPARE(dupes.geloescht(), zahlen.second);
    QVERIFY(zahlen.second > 0);
}

void TestPflege::durchschnittRandfaelle() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    auto ort = [&](const QString& s) {
        return db.einfuegen("ortsnamen", {{"ort", "O"}, {"gemeindeschluessel", s}, {"typ", 1}, {"wohn", 9.0},
                                          {"misch", 9.0}, {"gewerbe", 9.0}});
    };
    auto plot = [&](const QString& s, const QString& nutzung, const QVariant& wert) {
        db.einfuegen("grundstuecke", {{"gemeindeschluessel", s}, {"bauliche_nutzung", nutzung},
                                      {"richtwert_tatsaechlich", wert}});
    };
    qint64 nurWohnen1 = 0, nurWohnen2 = 0, null1 = 0, null2 = 0;
    TALU_DB_OK(nurWohnen1 = ort("05111000"));
    TALU_DB_OK(nurWohnen2 = ort("05111000"));
    TALU_DB_OK(null1 = ort("05111001"));
    TALU_DB_OK(null2 = ort("05111001"));
    TALU_DB_OK(plot("05111000", "wa", 100.0));
    TALU_DB_OK(plot("05111000", "WR", 200.0));  // an upper-case code counts as residential
    TALU_DB_OK(plot("05111000", "wa", QVariant()));
    TALU_DB_OK(plot("05111001", "mi", 0.0));
    TALU_DB_OK(db.einfuegen("kreis", {{"kenn", "05111"}, {"wohn", 1.0}, {"misch", 2.0}, {"gewerbe", 3.0}}));
    DurchschnittAuftrag orte(Ebene::Orte), kreise(Ebene::Kreise);
    LAUF_OK(orte, db);
    LAUF_OK(kreise, db);
    auto werte = [&](qint64 id) {
        return tabelle(db, QString("select wohn, misch, gewerbe from ortsnamen where id = %1").arg(id)).join(';');
    };
    // Residential only, on the first and the further place; the Null value is ignored.
    QCOMPARE(werte(nurWohnen1), QStringLiteral("150|NULL|NULL"));
    QCOMPARE(werte(nurWohnen2), QStringLiteral("150|NULL|NULL"));
    // An average of 0 stays on the first place and is Null on the further one.
    QCOMPARE(werte(null1), QStringLiteral("NULL|0|NULL"));
    QCOMPARE(werte(null2), QStringLiteral("NULL|NULL|NULL"));
    // The district without commercial plots keeps its value.
    QCOMPARE(tabelle(db, "select wohn, misch, gewerbe from kreis").join(';'), QStringLiteral("150|0|3"));
}

void TestPflege::bereinigungRandfaelle() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    auto plot = [&](const Werte& w) { return db.einfuegen("grundstuecke", w); };
    qint64 leer = 0, maximal = 0;
    TALU_DB_OK(leer = plot({{"richtwert_minimal", 0.0}, {"bemerkung", "   "}, {"gemeindeschluessel", "09000000"}}));
    TALU_DB_OK(maximal = plot({{"richtwert_maximal", 5.0}, {"bemerkung", "   "}, {"gemeindeschluessel", "09000000"}}));
    QList<qint64> drei;
    for (int i = 0; i < 3; ++i)
        TALU_DB_OK(drei << plot({{"gemeindeschluessel", "03101000"}, {"strassen_name", "Weg"}, {"hausnummer", "1"},
                                 {"ortsteil", "Nord"}, {"loeschen", "ja"}}));
    qint64 danach = 0, fuenf = 0, fuenfDoppelt = 0;
    TALU_DB_OK(danach = plot({{"gemeindeschluessel", "03101000"}, {"strassen_name", "Weg"}, {"hausnummer", "2"},
                              {"ortsteil", "Nord"}, {"loeschen", "ja"}}));
    TALU_DB_OK(fuenf = plot({{"gemeindeschluessel", "05101000"}, {"strassen_name", "Weg"}, {"hausnummer", "1"},
                             {"loeschen", "x"}}));
    TALU_DB_OK(fuenfDoppelt = plot({{"gemeindeschluessel", "05101000"}, {"strassen_name", "Weg"}, {"hausnummer", "1"},
                                    {"loeschen", "x"}}));
    AusgefuelltAuftrag ausgefuellt;
    DoppelteAuftrag doppelte;
    LAUF_OK(ausgefuellt, db);
    LAUF_OK(doppelte, db);
    auto feld = [&](const char* spalte, qint64 id) {
        return db.wert(QString("select %1 from grundstuecke where id = ?").arg(QLatin1String(spalte)), {id}).toString();
    };
    QCOMPARE(feld("ausgefuellt", leer), QStringLiteral("n"));
    QCOMPARE(feld("ausgefuellt", maximal), QStringLiteral("j"));
    // The first of three equal plots is the first of the selection: never written.
    QCOMPARE(feld("loeschen", drei[0]), QStringLiteral("ja"));
    QCOMPARE(feld("loeschen", drei[1]), QStringLiteral("ja"));
    QCOMPARE(feld("loeschen", drei[2]), QStringLiteral("ja"));
    QCOMPARE(feld("loeschen", danach), QStringLiteral("nein"));
    QCOMPARE(feld("loeschen", fuenf), QStringLiteral("x"));
    QCOMPARE(feld("loeschen", fuenfDoppelt), QStringLiteral("x"));

    // A, A, Null, B in ortsdaten_p_id order (the ids run the other way).
    for (auto [p, s] : {std::pair{4, QVariant("B")}, std::pair{3, QVariant()}, std::pair{2, QVariant("A")},
                        std::pair{1, QVariant("A")}})
        TALU_DB_OK(db.einfuegen("ortsdaten", {{"ortsdaten_p_id", p}, {"gemeindeschluessel", s}}));
    DupesAuftrag dupes;
    LAUF_OK(dupes, db);
    QCOMPARE(tabelle(db, "select ortsdaten_p_id, gemeindeschluessel from ortsdaten order by ortsdaten_p_id"),
             (QStringList{"1|A", "4|B"}));
    QCOMPARE(dupes.geloescht(), qint64(1));
    QCOMPARE(dupes.schluessel(), qint64(2));
    QCOMPARE(DupesAuftrag::text(2, 1), QStringLiteral(" 2 /  1"));

    // House numbers: blanks, tabs and line feeds inside, a letter first, no number at all.
    QList<QPair<QVariant, double>> nummern{{"7 b", 7}, {"1 2", 12}, {"12-14", 12}, {"a1", 0}, {"3\t4", 34},
                                           {"5\n6", 56}, {QVariant(), 0}, {"", 0}, {"1.5.2", 1.5}};
    QList<qint64> ids;
    for (const auto& n : nummern) TALU_DB_OK(ids << plot({{"hausnummer", n.first}, {"hausnummer_numerisch", 99.0}}));
    HausnummernAuftrag hausnummern;
    LAUF_OK(hausnummern, db);
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(db.wert("select hausnummer_numerisch from grundstuecke where id = ?", {ids[i]}).toDouble(),
                 nummern[i].second);
}

void TestPflege::abbruchUndFehlerAendernNichts() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(erzeuge(db, 7, 600));
    const QString alles = "select id, wohn, misch, gewerbe from ortsnamen order by id";
    const QStringList vorher = tabelle(db, alles);
    const QStringList plotsVorher = tabelle(db, "select id, ausgefuellt from grundstuecke order by id");
    // Cancelled after its first statement: the update already made is undone.
    DurchschnittAuftrag orte(Ebene::Orte);
    const stapel::Ergebnis e = lauf(orte, db, [] { return true; });
    QCOMPARE(int(e.status), int(stapel::Ergebnis::Status::Abgebrochen));
    QCOMPARE(tabelle(db, alles), vorher);
    AusgefuelltAuftrag ausgefuellt;
    QCOMPARE(int(lauf(ausgefuellt, db, [] { return true; }).status), int(stapel::Ergebnis::Status::Abgebrochen));
    QCOMPARE(tabelle(db, "select id, ausgefuellt from grundstuecke order by id"), plotsVorher);

    // A failure in the second statement: the first one's rows are as before too.
    if (db.backend() == Backend::SQLite) {
        TALU_DB_OK(db.ausfuehren("create trigger stoerung before update on ortsnamen when new.gemeindeschluessel "
                                 "is null begin select raise(abort, 'Stoerung'); end"));
    } else {
        TALU_DB_OK(db.ausfuehren("create function stoerung() returns trigger language plpgsql as $$ begin "
                                 "raise exception 'Stoerung'; end $$"));
        TALU_DB_OK(db.ausfuehren("create trigger stoerung before update on ortsnamen for each row when "
                                 "(new.gemeindeschluessel is null) execute function stoerung()"));
    }
    const stapel::Ergebnis f = lauf(orte, db);
    QCOMPARE(int(f.status), int(stapel::Ergebnis::Status::Fehler));
    QVERIFY2(f.serverText.contains("Stoerung"), qPrintable(f.serverText));
    QVERIFY2(f.meldung.contains("Durchschnittswerte: Orte") && f.meldung.contains("unverändert"), qPrintable(f.meldung));
    QCOMPARE(tabelle(db, alles), vorher);
}

void TestPflege::kommandozeile() {
    QFETCH(QString, backend);
    const QString programm = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-pflege");
    if (!QFileInfo(programm).isExecutable()) QSKIP("talu-pflege ist nicht gebaut");
    Datenbank db, referenz;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_FRISCHE_DB(fr, referenz, backend, false);
    TALU_DB_OK(erzeuge(db, 11, 400));
    TALU_DB_OK(erzeuge(referenz, 11, 400));
    auto starte = [&](const QStringList& befehle, QString* aus = nullptr, QString* fehler = nullptr) {
        QProcess p;
        p.start(programm, QStringList{"--server", fx.server, "--datenbank", fx.datenbank, "--benutzer", fx.benutzer,
                                      "--passwort", fx.passwort} + befehle);
        p.waitForFinished(120000);
        if (aus) *aus = QString::fromUtf8(p.readAllStandardOutput());
        if (fehler) *fehler = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    QString aus, fehler;
    QCOMPARE(starte({"gibt-es-nicht"}, &aus, &fehler), 2);
    QVERIFY(fehler.contains("Unbekannter Befehl"));
    // Every command in one call; the results are those of the plain passes.
    QCOMPARE(starte({"durchschnitt-orte", "durchschnitt-kreise", "ausgefuellt-merker", "dupes-zaehlen", "hausnummern"},
                    &aus, &fehler),
             0);
    QVERIFY2(aus.contains("Durchschnittswerte: Orte: Fertig!") && aus.contains("Numerische Hausnummern ausfüllen: Fertig\n"),
             qPrintable(aus));
    TALU_DB_OK(referenzOrte(referenz));
    TALU_DB_OK(referenzEbene(referenz, Ebene::Kreise));
    TALU_DB_OK(referenzAusgefuellt(referenz));
    QPair<qint64, qint64> zahlen;
    TALU_DB_OK(zahlen = referenzDupes(referenz));
    TALU_DB_OK(referenzHausnummern(referenz));
    QVERIFY2(aus.contains("Dupes zählen: " + DupesAuftrag::text(zahlen.first, zahlen.second)), qPrintable(aus));
    for (const char* sql : {kOrteSql, "select id, wohn, misch, gewerbe from kreis order by id",
                            "select id, ausgefuellt, hausnummer_numerisch from grundstuecke order by id",
                            "select id, gemeindeschluessel from ortsdaten order by id"})
        QCOMPARE(tabelle(db, QString::fromLatin1(sql)), tabelle(referenz, QString::fromLatin1(sql)));
    // A failing command ends the call with 1 and the server's text; the commands before it stay done.
    TALU_DB_OK(db.ausfuehren("drop table regbez"));
    QCOMPARE(starte({"ausgefuellt-merker", "durchschnitt-regierungsbezirke", "durchschnitt-bundeslaender"}, &aus, &fehler), 1);
    QVERIFY2(fehler.contains("Durchschnittswerte: Regierungsbezirke") && fehler.contains("regbez"), qPrintable(fehler));
    QVERIFY(aus.contains("Ausgefüllt-Merker setzen: Fertig!"));
    QVERIFY(!aus.contains("Bundesländer"));
}

QTEST_GUILESS_MAIN(TestPflege)
#include "tst_pflege.moc"
