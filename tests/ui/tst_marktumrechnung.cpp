// Conversion of the former DM amounts of the market tables into euro.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressDialog>
#include <QTimer>
#include <QtTest>

#include "Fixture.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "market/MarktDaten.h"
#include "market/DmUmrechnung.h"
#include "market/MarktModell.h"
#include "market/ui/frmMarktUebersichten.h"

using namespace talu;

namespace {

const QVariant N;  // Null

qint64 preisZeile(const Datenbank& db, const QString& tabelle, QVariant min, QVariant mit, QVariant max,
                  QVariant minDm, QVariant mitDm, QVariant maxDm, int nr = 1) {
    return db.einfuegen(tabelle, {{"landsch", "06"},
                                  {"rbsch", "4"},
                                  {"kreissch", "12"},
                                  {"gemeindesch", "000"},
                                  {"ueberschrift", "Prüftabelle"},
                                  {"tabellennr", 1},
                                  {"datensatznr", nr},
                                  {"stadt_oder_landkreis", "Frankfurt am Main"},
                                  {"quellenangabe", "Quelle"},
                                  {"copyright", "Rechte"},
                                  {"kaufjahr", "2000"},
                                  {"minimal", min},
                                  {"durchschnitt", mit},
                                  {"maximal", max},
                                  {"minimal_dm", minDm},
                                  {"durchschnitt_dm", mitDm},
                                  {"maximal_dm", maxDm}});
}

qint64 geldZeile(const Datenbank& db, QVariant euro, QVariant dm, int nr) {
    return db.einfuegen("geldumsatz", {{"landsch", "06"},
                                       {"rbsch", "4"},
                                       {"kreissch", "12"},
                                       {"gemeindesch", "000"},
                                       {"ueberschrift", "Geldumsatz"},
                                       {"tabellennr", 1},
                                       {"datensatznr", nr},
                                       {"jahr", "2000"},
                                       {"geldumsatz_in_mio_euro", euro},
                                       {"geldumsatz_in_mio_dm", dm}});
}

QVariantList betraege(const Datenbank& db, const QString& tabelle, qint64 id) {
    const Recordset rs = db.abfrage("select minimal, durchschnitt, maximal from " + tabelle + " where id = ?", {id});
    return {rs.feld("minimal"), rs.feld("durchschnitt"), rs.feld("maximal")};
}

// Null stays Null; amounts are compared to the cent fraction.
void pruefe(const QVariantList& ist, const QVariantList& soll, const char* wo) {
    QVERIFY2(ist.size() == soll.size(), wo);
    for (int i = 0; i < ist.size(); ++i) {
        QVERIFY2(ist[i].isNull() == soll[i].isNull(),
                 qPrintable(QString("%1 [%2]: %3 statt %4").arg(wo).arg(i).arg(ist[i].toString(), soll[i].toString())));
        if (!soll[i].isNull())
            QVERIFY2(qAbs(ist[i].toDouble() - soll[i].toDouble()) < 1e-9,
                     qPrintable(QString("%1 [%2]: %3 statt %4").arg(wo).arg(i).arg(ist[i].toDouble()).arg(soll[i].toDouble())));
    }
}

}  // namespace

class tst_marktumrechnung : public QObject {
    Q_OBJECT
private slots:
    void init() {
        formen::schliesseAlleKinder();
        publics().Verbindung.schliessen();
        publics().zuruecksetzen();
    }
    void cleanup() {
        formen::schliesseAlleKinder();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        publics().Verbindung.schliessen();
    }

    // The rules of a price table, row by row.
    void preisTabelle_data() { test::backendZeilen(); }
    void preisTabelle() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        const QString t = "kaufpreise_fuer_reihenhaeuser";
        const double k = markt::DmJeEuro;
        qint64 nurDm = 0, euroDa = 0, euroMitNull = 0, nullenMitDm = 0, teilweiseDm = 0, leer = 0, negativ = 0;
        TALU_DB_OK({
            nurDm = preisZeile(db, t, N, N, N, 195583.0, 391166.0, 586749.0, 1);
            euroDa = preisZeile(db, t, 100000.0, 150000.0, 200000.0, 1.0, 2.0, 3.0, 2);
            euroMitNull = preisZeile(db, t, 0.0, 150000.0, 0.0, 1.0, 2.0, 3.0, 3);
            nullenMitDm = preisZeile(db, t, 0.0, 0.0, 0.0, 1955.83, N, 0.0, 4);
            teilweiseDm = preisZeile(db, t, N, N, N, N, 391166.0, N, 5);
            leer = preisZeile(db, t, N, N, N, N, N, N, 6);
            negativ = preisZeile(db, t, -1.0, N, N, 100.0, 200.0, 300.0, 7);
        });
        markt::Umrechnung u;
        TALU_DB_OK(u = markt::rechneDmUm(db, t));
        QVERIFY(u.hatDmSpalten);
        QCOMPARE(u.geaendert, 5);  // all but the filled euro row and the empty one
        pruefe(betraege(db, t, nurDm), {100000.0, 200000.0, 300000.0}, "nur DM");
        // Euro amounts present: DM is not taken over.
        pruefe(betraege(db, t, euroDa), {100000.0, 150000.0, 200000.0}, "Euro vorhanden");
        // Only the zero amounts become Null.
        pruefe(betraege(db, t, euroMitNull), {N, 150000.0, N}, "Euro mit Null");
        // Converted where DM is there; a zero result and a missing DM amount end as Null.
        pruefe(betraege(db, t, nullenMitDm), {1000.0, N, N}, "Nullen mit DM");
        pruefe(betraege(db, t, teilweiseDm), {N, 200000.0, N}, "teilweise DM");
        pruefe(betraege(db, t, leer), {N, N, N}, "leer");
        // A negative amount counts as none: the DM amounts are taken over.
        pruefe(betraege(db, t, negativ), {100.0 / k, 200.0 / k, 300.0 / k}, "negativ");

        // A second run finds nothing left to do.
        TALU_DB_OK(u = markt::rechneDmUm(db, t));
        QCOMPARE(u.geaendert, 0);
    }

    void geldumsatz_data() { test::backendZeilen(); }
    void geldumsatz() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        qint64 nurDm = 0, da = 0, null = 0, nullOhneDm = 0, beides = 0;
        TALU_DB_OK({
            nurDm = geldZeile(db, N, 3911.66, 1);
            da = geldZeile(db, 2000.0, 9999.0, 2);
            null = geldZeile(db, 0.0, 195.583, 3);
            nullOhneDm = geldZeile(db, 0.0, N, 4);
            beides = geldZeile(db, N, N, 5);
        });
        markt::Umrechnung u;
        TALU_DB_OK(u = markt::rechneDmUm(db, "geldumsatz"));
        QVERIFY(u.hatDmSpalten);
        QCOMPARE(u.geaendert, 3);
        auto euro = [&](qint64 id) {
            return db.wert("select geldumsatz_in_mio_euro from geldumsatz where id = ?", {id});
        };
        pruefe({euro(nurDm)}, {2000.0}, "nur DM");
        pruefe({euro(da)}, {2000.0}, "Euro vorhanden");
        pruefe({euro(null)}, {100.0}, "Null mit DM");
        pruefe({euro(nullOhneDm)}, {N}, "Null ohne DM");
        pruefe({euro(beides)}, {N}, "beides leer");
        // The DM amounts themselves stay.
        pruefe({db.wert("select geldumsatz_in_mio_dm from geldumsatz where id = ?", {nurDm})}, {3911.66}, "DM bleibt");
    }

    // Tables without DM columns are left alone.
    void ohneDmSpalten_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("tabelle");
        for (const test::TestBackend& b : test::backends())
            for (const char* t : {"sonstige_indizes", "liegenschaftszins", "flaechenumsatz", "baupreisindex",
                                     "anzahl_der_vertraege", "umrechnungskoeffizienten"})
                QTest::newRow(qPrintable(b.name + ":" + t)) << b.name << QString(t);
    }
    void ohneDmSpalten() {
        QFETCH(QString, backend);
        QFETCH(QString, tabelle);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, true);
        const int vorher = db.wert("select count(*) from " + tabelle).toInt();
        markt::Umrechnung u;
        TALU_DB_OK(u = markt::rechneDmUm(db, tabelle));
        QVERIFY(!u.hatDmSpalten);
        QCOMPARE(u.geaendert, 0);
        QCOMPARE(db.wert("select count(*) from " + tabelle).toInt(), vorher);
        QVERIFY_THROWS_EXCEPTION(DbFehler, markt::rechneDmUm(db, "ortsnamen"));
    }

    // A failure part way leaves every row as it was.
    void eineTransaktion() {
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, "sqlite", false);
        qint64 a = 0, b = 0;
        TALU_DB_OK({
            a = geldZeile(db, N, 195.583, 1);
            b = geldZeile(db, N, 391.166, 2);
            db.ausfuehren("create trigger sperre before update on geldumsatz when old.datensatznr = 2 "
                          "begin select raise(abort, 'gesperrt'); end");
        });
        QVERIFY_THROWS_EXCEPTION(DbFehler, markt::rechneDmUm(db, "geldumsatz"));
        QVERIFY(db.wert("select geldumsatz_in_mio_euro from geldumsatz where id = ?", {a}).isNull());
        QVERIFY(db.wert("select geldumsatz_in_mio_euro from geldumsatz where id = ?", {b}).isNull());
        QVERIFY(!db.inTransaktion());
    }

    // Only the internal edition offers the conversion, on the labels of the
    // grid; it reports the rows changed and the grid shows the new amounts.
    void nurIntern_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<int>("ausgabe");
        for (const test::TestBackend& b : test::backends())
            for (int a : {1, 2, 3}) QTest::newRow(qPrintable(QString("%1:%2").arg(b.name).arg(a))) << b.name << a;
    }
    void nurIntern() {
        QFETCH(QString, backend);
        QFETCH(int, ausgabe);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, true);
        p.Ausgabe = short(ausgabe);
        p.AktGemeindeschluessel = "09162000";
        p.AktOrtAnzeige = "80331 München";
        p.MarktTabelle = "mietwerte_fuer_wohnraum";
        p.MarktTitel = "Mietwerte für Wohnraum";
        auto* f = formen::zeige<frmMarktUebersichten>();
        QVERIFY(f && f->hatDaten());
        // Second headline of the demo data: the 1998 rents in DM.
        f->Combo1->setCurrentIndex(1);
        QVERIFY(f->modell()->wert(0, "minimal").isNull());

        DialogAufzeichnung boxen;
        QTest::mouseClick(f->label[1], Qt::LeftButton);
        const int n = p.Verbindung.wert("select count(*) from mietwerte_fuer_wohnraum where minimal is null").toInt();
        if (ausgabe != 1) {
            QVERIFY(boxen.meldungen.isEmpty());
            QVERIFY(n > 0);
            QCOMPARE(f->rechneDmUm(), -1);
            return;
        }
        QCOMPARE(boxen.meldungen.size(), 1);
        // "Fertig" without an icon under the program's own title.
        QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Keins);
        QCOMPARE(boxen.meldungen[0].titel, QCoreApplication::applicationName());
        // Demo München rents: the two DM rows and the zero maximum.
        QCOMPARE(boxen.meldungen[0].text, QString("Fertig\n\n3 Datensätze geändert."));
        QVERIFY(!f->findChild<QProgressDialog*>());
        QCOMPARE(f->modell()->rowCount(), 2);
        QCOMPARE(f->modell()->ueberschrift(), f->Combo1->currentText());
        QVERIFY(qAbs(f->modell()->wert(0, "minimal").toDouble() - 14.50 / markt::DmJeEuro) < 1e-9);
        // Null where the DM amount was missing.
        QVERIFY(f->modell()->wert(1, "maximal").isNull());
    }

    // "Abbrechen" in the progress dialog of the conversion: the table and the
    // grid stay as they were and the operator is told so.
    void abbrechen_data() { test::backendZeilen(); }
    void abbrechen() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, true);
        p.Ausgabe = 1;
        p.AktGemeindeschluessel = "09162000";
        p.AktOrtAnzeige = "80331 München";
        p.MarktTabelle = "mietwerte_fuer_wohnraum";
        p.MarktTitel = "Mietwerte für Wohnraum";
        auto* f = formen::zeige<frmMarktUebersichten>();
        QVERIFY(f && f->hatDaten());
        f->Combo1->setCurrentIndex(1);
        auto summe = [&] {
            return p.Verbindung.wert("select sum(coalesce(minimal, -1) + coalesce(durchschnitt, -1) + "
                                     "coalesce(maximal, -1)) from mietwerte_fuer_wohnraum").toDouble();
        };
        const double vorher = summe();

        DialogAufzeichnung boxen;
        // The operator presses "Abbrechen" as soon as the progress dialog asks.
        int dialoge = 0;
        QTimer abbruch;
        QObject::connect(&abbruch, &QTimer::timeout, [&] {
            if (auto* d = f->findChild<QProgressDialog*>()) {
                ++dialoge;
                QCOMPARE(d->windowTitle(), QString("DM-Beträge umrechnen"));
                d->cancel();
            }
        });
        abbruch.start(0);
        QCOMPARE(f->rechneDmUm(), 0);
        abbruch.stop();
        QVERIFY(dialoge > 0);
        QCOMPARE(boxen.texte(), QStringList{"Die Umrechnung wurde abgebrochen; es wurde nichts geändert."});
        QCOMPARE(summe(), vorher);
        QVERIFY(f->modell()->wert(0, "minimal").isNull());
        QVERIFY(!f->findChild<QProgressDialog*>());

        // Run again without cancelling, it converts.
        boxen.leeren();
        QCOMPARE(f->rechneDmUm(), 3);
        QVERIFY(summe() != vorher);
        QVERIFY(!f->modell()->wert(0, "minimal").isNull());
    }
};

QTEST_MAIN(tst_marktumrechnung)
#include "tst_marktumrechnung.moc"
