// The query-log viewer's rows: only invoice customers, the three filters,
// the name filter by the beginning of the name in any letter case with
// ' % _ as ordinary characters, the column layout after every filter.
#include <QSqlRecord>
#include <QtTest>
#include <algorithm>
#include <random>

#include "AbrechnungHilfe.h"
#include "kit/Formate.h"
#include "billing/ProtokollAnsicht.h"

using namespace talu;
using namespace talu::abrechnung;
using namespace talu::test;

namespace {

const QDate kTag(2026, 2, 16);

void fuelle(const Datenbank& db) {
    kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
    kunde(db, "mueller2", QStringLiteral("MÜLLER & SÖHNE OHG"));
    kunde(db, "mueller3", QStringLiteral("Mueller Bau"));
    kunde(db, "obrien", QStringLiteral("O'Brien Grundbesitz KG"));
    kunde(db, "hundert", QStringLiteral("100%_Bau GmbH"));
    kunde(db, "tausend", QStringLiteral("1000 Wohnungen GmbH"));
    // User and days before kTag; "gast" is no customer.
    const QList<QPair<const char*, int>> zeilen{{"mueller", 0},  {"gast", 0},    {"mueller2", 2}, {"mueller3", 0},
                                                {"obrien", 4},   {"hundert", 5}, {"tausend", 6},  {"gast", 7},
                                                {"mueller", 9},  {"hundert", 1}};
    int i = 0;
    for (const auto& [benutzer, tage] : zeilen) {
        Zeile z;
        z.benutzer = benutzer;
        z.preis = 12.5;
        z.datum = kTag.addDays(-tage);
        z.objekt = QStringLiteral("Objekt %1").arg(++i);
        zeile(db, z);
    }
}

QStringList spalte(ProtokollModell& m, int nr) {
    while (m.canFetchMore()) m.fetchMore();
    QStringList l;
    for (int r = 0; r < m.rowCount(); ++r) l << m.data(m.index(r, nr)).toString();
    return l;
}

QStringList namen(ProtokollModell& m) {
    QStringList l = spalte(m, 2);
    l.removeDuplicates();
    l.sort();
    return l;
}

// The grid lays its columns out by position: each filter keeps them.
void pruefeSpalten(ProtokollModell& m) {
    QCOMPARE(m.columnCount(), 7);
    for (int i = 0; i < 7; ++i)
        QCOMPARE(m.record().fieldName(i).toLower(), protokollSpalten().at(i).name);
    QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Datum:"));
    QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Uhrzeit:"));
    QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Benutzer"));
    QCOMPARE(m.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Objekt:"));
    // Nothing but customers, whatever the filter.
    QVERIFY(!spalte(m, 4).contains("gast"));
}

// n rows of ten days for two customers and a guest, and three rows without
// a date, which sort first or last by backend.
void fuelleViele(const Datenbank& db, int n) {
    kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
    kunde(db, "becker", QStringLiteral("Becker Wohnbau"));
    Transaktion t(db);
    for (int i = 0; i < n; ++i) {
        Zeile z;
        // A quarter guests, three eighths each "becker" and "mueller".
        const int k = i % 8;
        z.benutzer = k < 2 ? "gast" : (k < 5 ? "becker" : "mueller");
        z.preis = 1.0;
        z.datum = kTag.addDays(-2 * (i % 10));  // ten days, every other one
        zeile(db, z);
    }
    for (const char* b : {"mueller", "becker", "mueller"})
        db.einfuegen("abfrageprotokoll", {{"db_benutzer", QString::fromLatin1(b)}, {"offen", "ja"}});
    t.bestaetige();
}

// The ids of a filter's rows, read whole and plainly.
QList<qint64> alleIds(const Datenbank& db, ProtokollModell::Filter f, const Parameter& p) {
    QList<qint64> ids;
    const Recordset rs = db.abfrage(ProtokollModell::sql(f, db.dialekt()), p);
    for (const QSqlRecord& r : rs.zeilen()) ids << r.value(6).toLongLong();
    return ids;
}

}  // namespace

class TstProtokollAnsicht : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(g_deutscheZahlen); }

    void filter_data() { backendZeilen(); }
    void filter() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelle(db));
        ProtokollModell m(db);

        TALU_DB_OK(m.zeigeAlle());
        pruefeSpalten(m);
        QCOMPARE(m.rowCount(), 8);
        // By date, then user, then id; the date as the operator reads it.
        const QStringList daten = spalte(m, 0);
        QCOMPARE(daten.first(), kTag.addDays(-9).toString("dd.MM.yyyy"));
        QCOMPARE(daten.last(), kTag.toString("dd.MM.yyyy"));
        QCOMPARE(spalte(m, 6).size(), 8);

        TALU_DB_OK(m.zeigeHeute(kTag));
        pruefeSpalten(m);
        QCOMPARE(spalte(m, 3), (QStringList{"Objekt 1", "Objekt 4"}));  // "Objekt 2" is a guest's
        QCOMPARE(m.filter(), ProtokollModell::Filter::Heute);

        // A day without queries: no rows, the columns and captions stay.
        TALU_DB_OK(m.zeigeHeute(QDate(2026, 3, 1)));
        QCOMPARE(m.rowCount(), 0);
        pruefeSpalten(m);

        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("Mü")));
        pruefeSpalten(m);
        QCOMPARE(namen(m), (QStringList{"MÜLLER & SÖHNE OHG", "Müller Immobilien GmbH"}));
        // Both roads of the name filter give the same rows in the same order.
        for (const QString& anfang : {QStringLiteral("Mü"), QStringLiteral("1"), QString()}) {
            QList<qint64> ids[2];
            for (bool breit : {false, true}) {
                Recordset rs;
                TALU_DB_OK(rs = db.abfrage(ProtokollModell::sql(ProtokollModell::Filter::Name, db.dialekt(), breit),
                                           {Dialekt::beginntMit(anfang)}));
                for (const QSqlRecord& r : rs.zeilen()) ids[breit] << r.value(6).toLongLong();
            }
            QCOMPARE(ids[0], ids[1]);
            QVERIFY(!ids[0].isEmpty());
        }
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("mÜ")));
        QCOMPARE(namen(m).size(), 2);
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("o'")));
        QCOMPARE(namen(m), QStringList{"O'Brien Grundbesitz KG"});
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("100%")));
        QCOMPARE(namen(m), QStringList{"100%_Bau GmbH"});  // % is no wildcard: "1000 ..." stays out
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("100_")));
        QCOMPARE(m.rowCount(), 0);  // _ is no wildcard either
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("%")));
        QCOMPARE(m.rowCount(), 0);
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("'; drop table abfrageprotokoll; --")));
        QCOMPARE(m.rowCount(), 0);
        pruefeSpalten(m);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll").toInt(), 10);
    }

    // A log user is shown with its customer whatever the letter case of
    // either, umlauts included.
    void grossKleinschreibung_data() { backendZeilen(); }
    void grossKleinschreibung() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "Meier", QStringLiteral("Meier KG")); kunde(db, QStringLiteral("ÜBERLINGER"), "Überlinger Bau");
                   zeile(db, "meier", 5.0); zeile(db, "MEIER", 2.5); zeile(db, "gast", 1.0);
                   zeile(db, QStringLiteral("überlinger"), 1.0));
        ProtokollModell m(db);
        TALU_DB_OK(m.zeigeAlle());
        QCOMPARE(m.rowCount(), 3);
        QCOMPARE(namen(m), (QStringList{"Meier KG", QStringLiteral("Überlinger Bau")}));
        QStringList benutzer = spalte(m, 4);
        benutzer.sort();
        QCOMPARE(benutzer, (QStringList{"MEIER", "meier", QStringLiteral("überlinger")}));
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("mei")));
        QCOMPARE(m.rowCount(), 2);
    }

    // "Benutzer": an empty answer keeps the filter that was set.
    void namensFrage_data() { backendZeilen(); }
    void namensFrage() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelle(db));
        ProtokollModell m(db);
        TALU_DB_OK(m.zeigeHeute(kTag));
        TestBediener b;
        bool neu = true;
        TALU_DB_OK(neu = m.frageNachName(b));
        QVERIFY(!neu);
        QCOMPARE(b.aufforderungen, QStringList{ProtokollModell::namensFrage()});
        QCOMPARE(m.filter(), ProtokollModell::Filter::Heute);
        QCOMPARE(m.rowCount(), 2);

        b.eingaben << QStringLiteral("Mü");
        TALU_DB_OK(neu = m.frageNachName(b));
        QVERIFY(neu);
        QCOMPARE(m.filter(), ProtokollModell::Filter::Name);
        QCOMPARE(m.rowCount(), 3);
        pruefeSpalten(m);
    }

    // More rows than a page: the pages read by the key of their last row give
    // exactly the rows of the whole statement, in its order, also where one
    // day and one user run across page ends and where rows lack a date.
    void seiten_data() { backendZeilen(); }
    void seiten() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        const int n = ProtokollModell::kSeite * 3 + 37;
        const auto fuelleViele = [&] {
            kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
            kunde(db, "becker", QStringLiteral("Becker Wohnbau"));
            for (int i = 0; i < n; ++i) {
                Zeile z;
                z.benutzer = i % 7 == 0 ? "gast" : (i % 3 == 0 ? "becker" : "mueller");
                z.preis = 1.0;
                z.datum = kTag.addDays(-(i % 2));  // two days, hundreds of rows each
                zeile(db, z);
            }
            // Rows without a date sort first or last, by backend.
            for (const char* b : {"mueller", "becker", "mueller"})
                db.einfuegen("abfrageprotokoll", {{"db_benutzer", QString::fromLatin1(b)}, {"offen", "ja"}});
        };
        TALU_DB_OK(fuelleViele());
        // A failing statement throws, which fails the test.
        const auto alleIds = [&](ProtokollModell::Filter f, const Parameter& p) {
            QList<qint64> ids;
            const Recordset rs = db.abfrage(ProtokollModell::sql(f, db.dialekt()), p);
            for (const QSqlRecord& r : rs.zeilen()) ids << r.value(6).toLongLong();
            return ids;
        };
        const auto modellIds = [](ProtokollModell& m) {
            int seiten = 1;
            while (m.canFetchMore()) {
                m.fetchMore();
                ++seiten;
            }
            QList<qint64> ids;
            for (int r = 0; r < m.rowCount(); ++r) ids << m.data(m.index(r, 6)).toLongLong();
            return qMakePair(ids, seiten);
        };
        ProtokollModell m(db);
        TALU_DB_OK(m.zeigeAlle());
        QCOMPARE(m.gehalteneZeilen(), qint64(ProtokollModell::kSeite));  // one page read at first
        auto [ids, seiten] = modellIds(m);
        seiten = m.seitenGelesen();
        const QList<qint64> soll = alleIds(ProtokollModell::Filter::Alle, {});
        QCOMPARE(soll.size(), n - (n + 6) / 7 + 3);
        QCOMPARE(ids, soll);
        QVERIFY(seiten >= 3);
        pruefeSpalten(m);

        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("mü")));
        ids = modellIds(m).first;
        QCOMPARE(ids, alleIds(ProtokollModell::Filter::Name, {Dialekt::beginntMit(QStringLiteral("mü"))}));
        QVERIFY(ids.size() > ProtokollModell::kSeite);

        TALU_DB_OK(m.zeigeHeute(kTag));
        ids = modellIds(m).first;
        QCOMPARE(ids, alleIds(ProtokollModell::Filter::Heute, {kTag}));

        // A later page that cannot be read empties the grid with one report.
        TALU_DB_OK(m.zeigeAlle());
        QStringList fehler;
        connect(&m, &ProtokollModell::leseFehler, this, [&](const QString& kurz, const QString&) { fehler << kurz; });
        TALU_DB_OK(db.ausfuehren("drop table rechnungs_kunden"));
        QVERIFY(!m.data(m.index(m.rowCount() - 1, 6)).isValid());
        QVERIFY(!m.data(m.index(ProtokollModell::kSeite * 2, 6)).isValid());
        QCoreApplication::processEvents();
        QCOMPARE(fehler.size(), 1);
        QCOMPARE(m.rowCount(), 0);
        QVERIFY(!m.canFetchMore());
    }

    // The windowed grid: the row at any position is the row a plain read of
    // the whole statement has there, reached forwards, backwards and by
    // jumps, under each filter, while the rows held stay under a cap.
    void fenster_data() { backendZeilen(); }
    void fenster() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        // The name filter's rows reach far beyond a page from both ends.
        const int n = ProtokollModell::kSeite * 20;
        TALU_DB_OK(fuelleViele(db, n));
        const qint64 deckel = qint64(ProtokollModell::kSeite) * ProtokollModell::kSeitenGehalten;
        ProtokollModell m(db);
        const auto pruefe = [&](const QList<qint64>& soll) {
            QCOMPARE(m.rowCount(), int(soll.size()));
            const auto id = [&](int r) { return m.data(m.index(r, 6)).toLongLong(); };
            // Jumps first, as the scroll bar makes them on a grid just
            // opened (far from every page held), each row checked at once.
            QList<int> stellen;
            for (int r = 0; r < soll.size(); r += 97) stellen << r;
            std::shuffle(stellen.begin(), stellen.end(), std::mt19937(7));
            if (!soll.isEmpty()) stellen.prepend(int(soll.size()) / 2);
            for (int r : stellen) {
                QCOMPARE(id(r), soll.at(r));
                QVERIFY(m.gehalteneZeilen() <= deckel);
            }
            // Forwards, every row; then backwards from the end (Ctrl+End).
            for (int r = 0; r < soll.size(); ++r) QCOMPARE(id(r), soll.at(r));
            QVERIFY(m.gehalteneZeilen() <= deckel);
            for (int r = int(soll.size()) - 1; r >= 0; --r) QCOMPARE(id(r), soll.at(r));
            // The shown text too: the date as the operator reads it.
            if (!soll.isEmpty()) {
                const QVariant d = m.data(m.index(int(soll.size()) - 1, 0), Qt::EditRole);
                QCOMPARE(m.data(m.index(int(soll.size()) - 1, 0)).toString(),
                         d.isNull() ? QString() : datumText(alsDatum(d)));
            }
        };
        TALU_DB_OK(m.zeigeAlle());
        pruefe(alleIds(db, ProtokollModell::Filter::Alle, {}));
        QVERIFY(m.rowCount() > int(deckel));
        TALU_DB_OK(m.zeigeNamensAnfang(QStringLiteral("mü")));
        pruefe(alleIds(db, ProtokollModell::Filter::Name, {Dialekt::beginntMit(QStringLiteral("mü"))}));
        TALU_DB_OK(m.zeigeHeute(kTag));
        pruefe(alleIds(db, ProtokollModell::Filter::Heute, {kTag}));
        // A page read by position does not read every page before it.
        TALU_DB_OK(m.zeigeAlle());
        m.data(m.index(m.rowCount() / 2, 6));
        m.data(m.index(m.rowCount() - 1, 6));
        QCOMPARE(m.seitenGelesen(), 3);
    }

    // Another program writes a row that sorts into the middle, ahead of the
    // rows read, while the grid is scrolled: the grid goes on without a wrong
    // or doubled row, counts again when it reaches the end, and then shows
    // the new row in its place.
    void fremdeZeileBeimBlaettern_data() { backendZeilen(); }
    void fremdeZeileBeimBlaettern() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelleViele(db, ProtokollModell::kSeite * (ProtokollModell::kSeitenGehalten + 4)));
        ProtokollModell m(db);
        TALU_DB_OK(m.zeigeAlle());
        const int vorher = m.rowCount();
        for (int r = 0; r < 30; ++r) m.data(m.index(r, 6));

        Datenbank andere;
        QString fehler;
        QVERIFY2(andere.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
        Zeile z;
        z.benutzer = "mueller";
        z.datum = kTag.addDays(-1);  // between the two days of the log
        z.objekt = QStringLiteral("Fremd");
        TALU_DB_OK(zeile(andere, z));
        const QList<qint64> danach = alleIds(db, ProtokollModell::Filter::Alle, {});
        QCOMPARE(danach.size(), vorher + 1);

        // On to the end: every row read is a real row, in the order, once.
        QList<qint64> gelesen;
        for (int r = 0; r < vorher; ++r) gelesen << m.data(m.index(r, 6)).toLongLong();
        int zuletzt = -1;
        for (qint64 id : gelesen) {
            const int stelle = int(danach.indexOf(id));
            QVERIFY2(stelle > zuletzt, qPrintable(QString::number(id)));
            zuletzt = stelle;
        }
        QCoreApplication::processEvents();
        QCOMPARE(m.rowCount(), vorher + 1);
        for (int r = m.rowCount() - 1; r >= 0; --r) QCOMPARE(m.data(m.index(r, 6)).toLongLong(), danach.at(r));
        // A row deleted by another program on a page not held (the grid holds
        // the first pages now): the grid shrinks the same way.
        QVERIFY(m.gehalteneZeilen() < m.rowCount() - ProtokollModell::kSeite);
        TALU_DB_OK(andere.ausfuehren("delete from abfrageprotokoll where id = ?", {danach.last()}));
        for (int r = 0; r < m.rowCount(); ++r) m.data(m.index(r, 6));
        QCoreApplication::processEvents();
        QCOMPARE(m.rowCount(), vorher);
        QCOMPARE(m.data(m.index(vorher - 1, 6)).toLongLong(), danach.at(vorher - 1));
    }
};

QTEST_MAIN(TstProtokollAnsicht)
#include "tst_protokollansicht.moc"
