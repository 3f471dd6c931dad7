// The maintenance commands from the "Sonstiges" menu: they run beside the
// window on a connection of their own, end with their message (OK only, no
// icon, empty title), and "Dupes zählen" leaves its counters in the status bar.
#include <QLabel>
#include <QtTest>

#include "LookupHilfe.h"
#include "kit/ui/MenueAktionen.h"
#include "app/ui/frmMain.h"
#include "tools/Pflegebefehle.h"

using namespace talu;

class TestPflegeMenue : public QObject {
    Q_OBJECT
private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }
    void befehleAusDemMenue_data() { test::backendZeilen(); }
    void befehleAusDemMenue();
};

void TestPflegeMenue::befehleAusDemMenue() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    const Datenbank& db = publics().Verbindung;
    // Every command of the list has its menu entry.
    for (const pflege::Pflegebefehl& b : pflege::pflegebefehle())
        if (!b.menue.isEmpty()) QVERIFY2(menue::istRegistriert(b.menue), qPrintable(b.menue));

    TALU_DB_OK(db.ausfuehren("update ortsnamen set wohn = null, misch = null, gewerbe = null"));
    TALU_DB_OK(db.ausfuehren("update grundstuecke set hausnummer_numerisch = -1"));
    DialogAufzeichnung dlg;
    QVERIFY(menue::fuehreAus("mnuDurchschnittswerteOrte", nullptr));
    QVERIFY(menue::fuehreAus("mnuNumerischeHausnummernAusfuellen", nullptr));
    QCOMPARE(dlg.texte(), (QStringList{"Fertig!", "Fertig"}));
    for (const auto& m : dlg.meldungen) {
        QCOMPARE(int(m.symbol), int(Dialoge::Symbol::Keins));
        QVERIFY(m.titel.isEmpty());
    }
    // Written through the job's own connection and visible on the program's.
    QVERIFY(db.wert("select count(*) from ortsnamen where wohn > 0").toInt() > 0);
    QCOMPARE(db.wert("select count(*) from grundstuecke where hausnummer_numerisch = -1").toInt(), 0);

    // "Dupes zählen": no message, its counters in panel 7.
    frmMain haupt;
    TALU_DB_OK(db.ausfuehren("delete from ortsdaten"));
    for (auto [p, s] : {std::pair{1, "05111000"}, std::pair{2, "05111000"}, std::pair{3, "05111001"}})
        TALU_DB_OK(db.einfuegen("ortsdaten", {{"ortsdaten_p_id", p}, {"gemeindeschluessel", QString(s)}}));
    dlg.leeren();
    QVERIFY(menue::fuehreAus("mnuDupesZaehlen", &haupt));
    QVERIFY(dlg.meldungen.isEmpty());
    QCOMPARE(haupt.panel(7)->text(), QStringLiteral(" 2 /  1"));
    QCOMPARE(db.wert("select count(*) from ortsdaten").toInt(), 2);

    // A failure names the command and keeps the server's text in the details.
    TALU_DB_OK(db.ausfuehren("drop table regbez"));
    dlg.leeren();
    QVERIFY(menue::fuehreAus("mnuDurchschnittswerteRegierungsbezirke", nullptr));
    QCOMPARE(dlg.meldungen.size(), 1);
    QCOMPARE(int(dlg.meldungen[0].symbol), int(Dialoge::Symbol::Kritisch));
    QVERIFY2(dlg.meldungen[0].text.contains("Durchschnittswerte: Regierungsbezirke"), qPrintable(dlg.meldungen[0].text));
    QVERIFY2(dlg.meldungen[0].details.contains("regbez"), qPrintable(dlg.meldungen[0].details));
}

QTEST_MAIN(TestPflegeMenue)
#include "tst_pflegemenue.moc"
