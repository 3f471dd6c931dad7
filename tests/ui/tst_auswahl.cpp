// The selection list: entry formats in characters, counts, the choice of a
// place or plot, and the form with many entries.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "LookupHilfe.h"
#include "lookup/AuswahlListe.h"
#include "lookup/SuchVorgang.h"
#include "lookup/SucheDaten.h"
#include "lookup/ui/frmAuswaehlen.h"

using namespace talu;

class TestAuswahl : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void ortEintraege();
    void grundstueckEintraege_data();
    void grundstueckEintraege();
    void listeAusOrten_data() { test::backendZeilen(); }
    void listeAusOrten();
    void listeAusGrundstuecken_data() { test::backendZeilen(); }
    void listeAusGrundstuecken();
    void auswahl_data() { test::backendZeilen(); }
    void auswahl();
    void formular_data() { test::backendZeilen(); }
    void formular();
    void tastenInOffenerListe_data() { test::backendZeilen(); }
    void tastenInOffenerListe();
    void vieleGrundstuecke_data() { test::backendZeilen(); }
    void vieleGrundstuecke();
    void schrift();
};

void TestAuswahl::ortEintraege() {
    QCOMPARE(ortEintrag("88662", QString::fromUtf8("Überlingen")), QString::fromUtf8("88662 Überlingen "));
    // Cut at 30 characters, umlauts counting one each.
    const QString lang = QString::fromUtf8("Villingen-Schwenningen, Große Kreisstadt");
    const QString e = ortEintrag("78050", lang);
    QCOMPARE(e, QString::fromUtf8("78050 Villingen-Schwenningen, Große ").left(6 + 30) + " ");
    QCOMPARE(e.size(), 6 + 30 + 1);
    const QString umlaute = QString(40, QChar(0x00FC));  // ü x 40
    QCOMPARE(ortEintrag("12345", umlaute), "12345 " + QString(30, QChar(0x00FC)) + " ");
    // Exactly 30 characters are kept whole; Null reads as empty.
    QCOMPARE(ortEintrag("", QString(30, 'a')), " " + QString(30, 'a') + " ");
}

void TestAuswahl::grundstueckEintraege_data() {
    QTest::addColumn<QString>("strasse");
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<QString>("ortsteil");
    QTest::addColumn<QString>("eintrag");
    QTest::newRow("ohne ortsteil") << "  Seltersweg " << "12" << "" << "Seltersweg 12";
    QTest::newRow("strasseneintrag") << "Seltersweg" << "9999" << "" << "Seltersweg ";
    QTest::newRow("ortsteil nur blanks") << "Seltersweg" << "3" << "   " << "Seltersweg 3";
    QTest::newRow("mit ortsteil") << "Berger Straße" << "7a" << "Bornheim"
                                  << QString::fromUtf8("Berger Straße 7a") + QString(14, ' ') + " - Bornheim";
    QTest::newRow("strasseneintrag mit ortsteil") << "Zeil" << "9999" << "Innenstadt"
                                                  << "Zeil " + QString(25, ' ') + " - Innenstadt";
    QTest::newRow("lange strasse gekuerzt") << QString::fromUtf8("Große Ülmenstraße am Königsgarten Nord") << "1"
                                           << QString::fromUtf8("Frankfurt-Höchst-Unterliederbach")
                                           << QString::fromUtf8("Große Ülmenstraße am Königsgar - Frankfurt-Höch");
}

void TestAuswahl::grundstueckEintraege() {
    QFETCH(QString, strasse);
    QFETCH(QString, nummer);
    QFETCH(QString, ortsteil);
    QFETCH(QString, eintrag);
    const QString e = grundstueckEintrag(strasse, nummer, ortsteil);
    QCOMPARE(e, eintrag);
    if (!ortsteil.trimmed().isEmpty()) {
        // " - " stands at character positions 31 to 33 (counted from 1).
        QCOMPARE(e.mid(30, 3), " - ");
    }
}

void TestAuswahl::listeAusOrten() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Recordset rs = SucheDaten(publics().Verbindung).sucheOrt("frankfurt");
    const AuswahlListe l = AuswahlListe::aus(rs, "suche nach ort");
    QCOMPARE(l.eintraege, (QStringList{"15230 Frankfurt (Oder) ", "60311 Frankfurt am Main ", "60594 Frankfurt am Main "}));
    QCOMPARE(l.ListenIds.size(), 3);
    QCOMPARE(l.titel, "Auswahl der gefundenen Orte");
    QCOMPARE(l.label, QString::fromUtf8("Ort auswählen - 3 Treffer"));
    // Each id belongs to its entry.
    for (int i = 0; i < l.ListenIds.size(); ++i)
        QCOMPARE(test::zaehle("select count(*) from ortsnamen where id = ? and plzneu = ?",
                              {l.ListenIds[i], l.eintraege[i].left(5)}),
                 1);
    // Two places read "2 Treffer"; the list starts at the current row.
    rs.moveFirst();
    rs.moveNext();
    QCOMPARE(AuswahlListe::aus(rs, "suche nach ort").label, QString::fromUtf8("Ort auswählen - 2 Treffer"));
}

void TestAuswahl::listeAusGrundstuecken() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Recordset rs = SucheDaten(publics().Verbindung).sucheStrasse("06531005", "selters");
    const int n = rs.anzahl();
    QVERIFY(n > 5);
    const AuswahlListe l = AuswahlListe::aus(rs, QString::fromUtf8("suche nach grundstück"));
    QCOMPARE(l.eintraege.size(), n);
    QCOMPARE(l.titel, QString::fromUtf8("Auswahl der gefundenen Grundstücke"));
    QCOMPARE(l.label, QString::fromUtf8("Grundstück auswählen - %1 Treffer").arg(n));
    // Gießen's Seltersweg has no town district and a street record.
    QVERIFY(l.eintraege.contains("Seltersweg "));
    QVERIFY(l.eintraege.contains("Seltersweg 1") || l.eintraege.contains("Seltersweg 2"));

    // Frankfurt's Berger Straße lies in Bornheim: two columns.
    rs = SucheDaten(publics().Verbindung).sucheStrasse("06412000", "berger");
    const AuswahlListe b = AuswahlListe::aus(rs, QString::fromUtf8("suche nach grundstück"));
    QVERIFY(!b.eintraege.isEmpty());
    for (const QString& e : b.eintraege) {
        QCOMPARE(e.mid(30, 3), " - ");
        QCOMPARE(e.mid(33), "Bornheim");
    }
}

void TestAuswahl::auswahl() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    const QString ort = "suche nach ort", grundstueck = QString::fromUtf8("suche nach grundstück");

    const qint64 oder = test::zaehle("select id from ortsnamen where plzneu = '15230'");
    QCOMPARE(waehleAus(p, ort, oder), AuswahlFolge::Informationsgruppen);
    QCOMPARE(p.AktOrt, "Frankfurt (Oder)");
    QCOMPARE(p.AktPlz, "15230");
    QCOMPARE(p.AktGemeindeschluessel, "12053000");
    QCOMPARE(qint64(p.AktOrtId), oder);
    QCOMPARE(p.Modus, "aendern");
    QCOMPARE(p.RsSuche.anzahl(), 1);

    // For a plot being entered the flag is used up and the plot form follows.
    p.OrtFuerNeuesGrundstueck = true;
    p.Modus = "erfassen";
    QCOMPARE(waehleAus(p, ort, oder), AuswahlFolge::OrtFuerNeuesGrundstueck);
    QVERIFY(!p.OrtFuerNeuesGrundstueck);
    QCOMPARE(p.Modus, "erfassen");

    const qint64 strasse = test::zaehle(
        "select id from grundstuecke where strassen_name = 'Seltersweg' and hausnummer = '9999'");
    const qint64 platz = test::zaehle(
        "select min(id) from grundstuecke where strassen_name = 'Seltersweg' and hausnummer <> '9999'");
    QCOMPARE(waehleAus(p, grundstueck, strasse), AuswahlFolge::Grundstueck);
    QVERIFY(p.StrassenEintrag);
    QCOMPARE(p.RsSuche.text("hausnummer"), "9999");
    QCOMPARE(waehleAus(p, grundstueck, platz), AuswahlFolge::Grundstueck);
    QVERIFY(!p.StrassenEintrag);
    QCOMPARE(qint64(p.RsSuche.zahl("id")), platz);

    // A row deleted meanwhile leads nowhere.
    QCOMPARE(waehleAus(p, grundstueck, 987654), AuswahlFolge::Nichts);
    QCOMPARE(waehleAus(p, ort, 987654), AuswahlFolge::Nichts);
}

void TestAuswahl::formular() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.SuchArt = "suche nach ort";
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), SuchVorgang::Ergebnis::MehrereOrte);
    auto* f = formen::zeige<frmAuswaehlen>();
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), "Auswahl der gefundenen Orte");
    QCOMPARE(f->Label1->text(), QString::fromUtf8("Ort auswählen - 3 Treffer"));
    QCOMPARE(f->Combo1->count(), 3);
    QCOMPARE(f->Combo1->currentIndex(), 0);
    QCOMPARE(f->Combo1->itemText(1), "60311 Frankfurt am Main ");
    QCOMPARE(f->cmdAuswaehlen->text(), QString::fromUtf8("&Auswählen"));

    // "&Zurück" opens the search again in the same mode.
    f->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    QCOMPARE(p.SuchArt, "suche nach ort");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Choosing the second entry leads to the information groups of that place.
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), SuchVorgang::Ergebnis::MehrereOrte);
    f = formen::zeige<frmAuswaehlen>();
    f->Combo1->setCurrentIndex(2);
    f->cmdAuswaehlen->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmInformationsGruppen"});
    QCOMPARE(p.AktPlz, "60594");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // An empty list: "&Auswählen" does nothing.
    p.RsSuche = SucheDaten(p.Verbindung).sucheOrt("xyzzy");
    f = formen::zeige<frmAuswaehlen>();
    QCOMPARE(f->Combo1->count(), 0);
    QCOMPARE(f->Label1->text(), QString::fromUtf8("Ort auswählen - 0 Treffer"));
    f->cmdAuswaehlen->click();
    QCOMPARE(formen::geladene(), QStringList{"frmAuswaehlen"});
    QVERIFY(boxen.meldungen.isEmpty());
}

// Escape and Enter act on the open drop-down list first: Escape closes it,
// Enter takes the entry; only with the list closed do they press the buttons.
void TestAuswahl::tastenInOffenerListe() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.SuchArt = "suche nach ort";
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), SuchVorgang::Ergebnis::MehrereOrte);
    auto* f = formen::zeige<frmAuswaehlen>();
    QVERIFY(f);
    QApplication::setActiveWindow(f->window());
    QVERIFY(QTest::qWaitForWindowActive(f->window()));
    QTRY_COMPARE(QApplication::focusWidget(), f->Combo1);
    QWidget* liste = f->Combo1->view();

    // Escape in the open list closes the list; the form and its choice stay.
    f->Combo1->showPopup();
    QTRY_VERIFY(liste->isVisible());
    QTest::keyClick(liste, Qt::Key_Escape);
    QTRY_VERIFY(!liste->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmAuswaehlen"});
    QCOMPARE(f->Combo1->currentIndex(), 0);

    // Enter in the open list takes the entry and closes the list, nothing more.
    f->Combo1->showPopup();
    QTRY_VERIFY(liste->isVisible());
    QTest::keyClick(liste, Qt::Key_Down);
    QTest::keyClick(liste, Qt::Key_Return);
    QTRY_VERIFY(!liste->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmAuswaehlen"});
    QCOMPARE(f->Combo1->currentIndex(), 1);

    // With the list closed Enter presses "&Auswählen" for the entry shown.
    QTRY_COMPARE(QApplication::focusWidget(), f->Combo1);
    QTest::keyClick(f->Combo1, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmInformationsGruppen"});
    QCOMPARE(p.AktPlz, "60311");
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // ... and Escape presses "&Zurück".
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), SuchVorgang::Ergebnis::MehrereOrte);
    f = formen::zeige<frmAuswaehlen>();
    QApplication::setActiveWindow(f->window());
    QTRY_COMPARE(QApplication::focusWidget(), f->Combo1);
    QTest::keyClick(f->Combo1, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Enter on the focused "&Zurück" presses that button, not the default one.
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), SuchVorgang::Ergebnis::MehrereOrte);
    f = formen::zeige<frmAuswaehlen>();
    QApplication::setActiveWindow(f->window());
    f->cmdZurueck->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), f->cmdZurueck);
    QTest::keyClick(f->cmdZurueck, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    QVERIFY(boxen.meldungen.isEmpty());
}

void TestAuswahl::vieleGrundstuecke() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    Publics& p = publics();
    const Datenbank& db = p.Verbindung;
    TALU_DB_OK(db.einfuegen("ortsnamen", {{"ort", "Lange"}, {"plzneu", "11111"}, {"gemeindeschluessel", "01001001"}, {"typ", 1}}));
    {
        Transaktion t(db);
        for (int i = 1; i <= 3000; ++i)
            TALU_DB_OK(db.einfuegen("grundstuecke", {{"gemeindeschluessel", "01001001"},
                                                     {"strassen_name", QString::fromUtf8("Lange Straße")},
                                                     {"hausnummer", QString::number(i)},
                                                     {"hausnummer_numerisch", i},
                                                     {"ortsteil", i % 2 ? QVariant("Nord") : QVariant()},
                                                     {"loeschen", "nein"}}));
        t.bestaetige();
    }
    p.SuchArt = QString::fromUtf8("suche nach grundstück");
    p.AktGemeindeschluessel = "01001001";
    QCOMPARE(SuchVorgang::starte(p, "lange"), SuchVorgang::Ergebnis::Grundstuecke);
    auto* f = formen::zeige<frmAuswaehlen>();
    QCOMPARE(f->Combo1->count(), 3000);
    QCOMPARE(f->Label1->text(), QString::fromUtf8("Grundstück auswählen - 3000 Treffer"));
    QCOMPARE(f->ListenIds.size(), 3000);
    // Plots without a district first (a Null district sorts as empty), then "Nord".
    QCOMPARE(f->Combo1->itemText(0), QString::fromUtf8("Lange Straße 2"));
    QCOMPARE(f->Combo1->itemText(1500), QString::fromUtf8("Lange Straße 1") + QString(16, ' ') + " - Nord");
    QVERIFY(f->Combo1->maxVisibleItems() <= 30);
    // The last entry can be chosen.
    f->Combo1->setCurrentIndex(2999);
    f->cmdAuswaehlen->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(p.RsSuche.text("hausnummer"), "2999");
    QVERIFY(formen::vorhanden("frmGrundstueckMaske"));
}

void TestAuswahl::schrift() {
    const QFont f = frmAuswaehlen::listenSchrift();
    QVERIFY2(QFontInfo(f).fixedPitch(), qPrintable(QFontInfo(f).family()));
    QVERIFY(QFontInfo(f).family() != "Fixedsys");
}

QTEST_MAIN(TestAuswahl)
#include "tst_auswahl.moc"
