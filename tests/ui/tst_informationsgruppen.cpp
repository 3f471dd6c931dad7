// The information-group form: the current place's row, the price on the
// land-value button, the prices handed to the plot form, and where each
// choice leads.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "lookup/InformationsGruppen.h"
#include "lookup/ui/frmInformationsGruppen.h"

using namespace talu;

namespace {
void setzeOrt(const QString& plz) {
    Publics& p = publics();
    const Recordset rs = p.Verbindung.abfrage("select * from ortsnamen where plzneu = ?", {plz});
    p.AktPlz = rs.text("plzneu");
    p.AktOrt = rs.text("ort");
    p.AktOrtId = rs.zahl("id");
    p.AktGemeindeschluessel = rs.text("gemeindeschluessel");
}
}  // namespace

class TestInformationsGruppen : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void preise_data();
    void preise();
    void gemeinsamerSchluessel_data() { test::backendZeilen(); }
    void gemeinsamerSchluessel();
    void fehlenderOrt_data() { test::backendZeilen(); }
    void fehlenderOrt();
    void folgen();
    void formular_data() { test::backendZeilen(); }
    void formular();
};

void TestInformationsGruppen::preise_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("plz");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("preis");
    QTest::addColumn<double>("gutachter");
    for (const test::TestBackend& b : test::backends()) {
        const QString n = b.name + ": ";
        QTest::newRow(qPrintable(n + "12,50")) << b.name << "35390" << "&Bodenrichtwerte (" + waehrung(12.5) + ")" << 12.5 << 5.0;
        QTest::newRow(qPrintable(n + "25")) << b.name << "60311" << "&Bodenrichtwerte (" + waehrung(25) + ")" << 25.0 << 10.0;
        QTest::newRow(qPrintable(n + "preis 0")) << b.name << "34117" << "&Bodenrichtwerte" << 0.0 << 0.0;
        QTest::newRow(qPrintable(n + "preis null")) << b.name << "55116" << "&Bodenrichtwerte" << 0.0 << 0.0;
    }
}

void TestInformationsGruppen::preise() {
    QFETCH(QString, backend);
    QFETCH(QString, plz);
    QFETCH(QString, caption);
    QFETCH(double, preis);
    QFETCH(double, gutachter);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    setzeOrt(plz);
    // Prices of an earlier place never carry over.
    p.PreisBodenrichtwert = 99;
    p.PreisGutachter = 33;
    InformationsGruppen g;
    TALU_DB_OK(g = InformationsGruppen::lade(p));
    QVERIFY(g.ortGefunden);
    QCOMPARE(g.bodenrichtwerteCaption, caption);
    QCOMPARE(p.PreisBodenrichtwert, preis);
    QCOMPARE(p.PreisGutachter, gutachter);
    QCOMPARE(p.AktOrtAnzeige, plz + " " + p.AktOrt);
    QCOMPARE(g.label2, "Informationsgruppen von " + p.AktOrt);
    QCOMPARE(p.RsSuche.text("gemeindeschluessel"), p.AktGemeindeschluessel);
    if (plz == "35390") {
        // The German currency text: comma, two decimals, a no-break space before the sign.
        QCOMPARE(caption, QString::fromUtf8("&Bodenrichtwerte (12,50\u00A0€)"));
    }
}

void TestInformationsGruppen::gemeinsamerSchluessel() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    // Frankfurt am Main has two postcodes under one key: the chosen one is shown and billed.
    setzeOrt("60594");
    InformationsGruppen::lade(p);
    QCOMPARE(p.AktOrtAnzeige, "60594 Frankfurt am Main");
    setzeOrt("60311");
    InformationsGruppen::lade(p);
    QCOMPARE(p.AktOrtAnzeige, "60311 Frankfurt am Main");

    // A price without an appraiser share gives the appraisers nothing.
    TALU_DB_OK(p.Verbindung.einfuegen("ortsnamen", {{"ort", "Ohneanteil"}, {"plzneu", "99999"},
                                                    {"gemeindeschluessel", "09999999"}, {"typ", 2},
                                                    {"preis", 7.5}, {"preis_gutachter_bodenwert", QVariant()}}));
    setzeOrt("99999");
    const InformationsGruppen g = InformationsGruppen::lade(p);
    QCOMPARE(p.PreisBodenrichtwert, 7.5);
    QCOMPARE(p.PreisGutachter, 0.0);
    QCOMPARE(g.bodenrichtwerteCaption, "&Bodenrichtwerte (" + waehrung(7.5) + ")");
}

void TestInformationsGruppen::fehlenderOrt() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    p.AktGemeindeschluessel = "00000000";
    p.AktOrtAnzeige = "alt";
    p.PreisBodenrichtwert = 5;
    const InformationsGruppen g = InformationsGruppen::lade(p);
    QVERIFY(!g.ortGefunden);
    QVERIFY(p.AktOrtAnzeige.isEmpty());
    QCOMPARE(p.PreisBodenrichtwert, 0.0);
    QCOMPARE(g.bodenrichtwerteCaption, "&Bodenrichtwerte");

    DialogAufzeichnung boxen;
    auto* f = formen::zeige<frmInformationsGruppen>();
    QCOMPARE(boxen.meldungen.size(), 1);
    QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Kritisch);
    for (QPushButton* b : f->cmdAuswahl) QVERIFY(!b->isEnabled());
    QVERIFY(f->cmdAbbruch->isEnabled());
}

void TestInformationsGruppen::folgen() {
    Publics& p = publics();
    p.SuchArt = "x";
    using F = InformationsGruppen::Folge;
    QCOMPARE(InformationsGruppen::folge(p, InformationsGruppen::Ortsinformationen), F::Ortsform);
    QCOMPARE(p.SuchArt, "x");
    QCOMPARE(InformationsGruppen::folge(p, InformationsGruppen::Marktuebersichten), F::Marktauswahl);
    QCOMPARE(p.SuchArt, "x");
    QCOMPARE(InformationsGruppen::folge(p, InformationsGruppen::Bodenrichtwerte), F::Suche);
    QCOMPARE(p.SuchArt, QString::fromUtf8("suche nach grundstück"));
    QCOMPARE(InformationsGruppen::folge(p, InformationsGruppen::Keine), F::Suche);
    QCOMPARE(p.SuchArt, "suche nach ort");
}

void TestInformationsGruppen::formular() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Publics& p = publics();
    const int protokoll = test::zaehle("select count(*) from abfrageprotokoll");
    setzeOrt("35390");
    auto* f = formen::zeige<frmInformationsGruppen>();
    QCOMPARE(f->Label2->text(), QString::fromUtf8("Informationsgruppen von Gießen"));
    QCOMPARE(f->cmdAuswahl[0]->text(), QString::fromUtf8("&Ortsinformationen (2,50 €)"));
    QCOMPARE(f->cmdAuswahl[1]->text(), "&Bodenrichtwerte (" + waehrung(12.5) + ")");
    QCOMPARE(f->cmdAuswahl[2]->text(), QString::fromUtf8("&Marktübersichten"));
    QCOMPARE(f->cmdAbbrechen->text(), QString::fromUtf8("&Zurück"));
    QCOMPARE(f->cmdAbbruch->text(), "Abbrechen");
    QVERIFY(boxen.meldungen.isEmpty());

    // "Abbrechen": back to the place search, nothing billed.
    f->cmdAbbruch->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    QCOMPARE(p.SuchArt, "suche nach ort");
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll"), protokoll);
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // "&Zurück" likewise.
    f = formen::zeige<frmInformationsGruppen>();
    f->cmdAbbrechen->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Escape on a group button presses "Abbrechen", not the group.
    f = formen::zeige<frmInformationsGruppen>();
    QTest::keyClick(f->cmdAuswahl[0], Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    QCOMPARE(p.SuchArt, "suche nach ort");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Land values: the street search of this place.
    f = formen::zeige<frmInformationsGruppen>();
    f->cmdAuswahl[1]->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    QCOMPARE(p.SuchArt, QString::fromUtf8("suche nach grundstück"));
    QCOMPARE(p.AktGemeindeschluessel, "06531005");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Closing all children (a menu action) opens nothing.
    formen::zeige("frmInformationsGruppen");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(formen::geladene().isEmpty());

    // The other two groups open their forms where those are built.
    for (int i : {0, 2}) {
        const QString ziel = i == 0 ? "frmStadtMaske" : "frmMarktUebersichtenAuswahl";
        if (!formen::istRegistriert(ziel)) continue;
        f = formen::zeige<frmInformationsGruppen>();
        f->cmdAuswahl[i]->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(formen::geladene().contains(ziel), qPrintable(formen::geladene().join(",")));
        QVERIFY(!formen::geladene().contains("frmInformationsGruppen"));
        formen::schliesseAlleKinder();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QTEST_MAIN(TestInformationsGruppen)
#include "tst_informationsgruppen.moc"
