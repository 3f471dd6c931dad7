// The form kit: the search-list-mask loop with its Unload run once, Escape and
// Enter that leave an open drop-down list alone, the start field without a
// Tab trap, and database failures turned into a German message.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "Fixture.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/SucheListeMaske.h"

using namespace talu;

namespace {
int g_ohneTreffer = 0, g_ohneWahl = 0;
double g_gewaehlt = 0, g_einTreffer = 0;
QList<Treffer> g_liste;

class frmTestSuchen : public SuchFormular {
    Q_OBJECT
public:
    frmTestSuchen() : SuchFormular("Test suchen", "Suche", "Name:") {}

protected:
    Suchergebnis suche(const QString& b) override {
        Suchergebnis e;
        if (b == "kaputt") throw DbFehler("Die Anweisung ist fehlgeschlagen", "server sagt nein");
        if (b.trimmed().isEmpty()) {
            e.meldung = "Bitte einen Namen eingeben";
        } else if (b == "eins") {
            e.art = Suchergebnis::EinTreffer;
            e.id = 7;
        } else if (b == "viele") {
            e.art = Suchergebnis::MehrereTreffer;
            e.treffer = {{"Alpha", 1}, {"Beta", 2}, {"Gamma", 3}};
        } else {
            e.art = Suchergebnis::KeinTreffer;
            e.meldung = "Nichts gefunden";
        }
        return e;
    }
    void einTreffer(const Suchergebnis& e) override { g_einTreffer = e.id; }
    void mehrereTreffer(const Suchergebnis& e) override {
        g_liste = e.treffer;
        formen::zeige(QStringLiteral("frmTestListe"));
    }
    void ohneTreffer() override { ++g_ohneTreffer; }
};

class frmTestListe : public ListenFormular {
    Q_OBJECT
public:
    frmTestListe() : ListenFormular("Test auswählen", "Wählen Sie bitte aus") {
        fuelle(g_liste);
        escapeDrueckt(cmdAbbrechen);
        enterDrueckt(cmdAuswaehlen);
    }

protected:
    bool gewaehlt(double id) override {
        if (id == 2) return false;  // refused: the list stays
        g_gewaehlt = id;
        entlade();
        return true;
    }
    void ohneWahl() override { ++g_ohneWahl; }
};

formen::Registrierung regSuchen("frmTestSuchen", [] { return new frmTestSuchen; });
formen::Registrierung regListe("frmTestListe", [] { return new frmTestListe; });

void warte(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w->window());
    [[maybe_unused]] const bool aktiv = QTest::qWaitForWindowActive(w->window());
    QCoreApplication::processEvents();
}
}  // namespace

class TestFormular : public QObject {
    Q_OBJECT
private slots:
    void init() {
        g_ohneTreffer = g_ohneWahl = 0;
        g_gewaehlt = g_einTreffer = 0;
        formen::schliesseAlleKinder();
    }
    void sucheListeMaske();
    void tastenUndFokus();
};

void TestFormular::sucheListeMaske() {
    DialogAufzeichnung boxen;
    auto* s = formen::zeige<frmTestSuchen>(QStringLiteral("frmTestSuchen"));
    QVERIFY(s);
    // Messages keep the form open; a database failure becomes a German message with the server's text.
    s->cmdSucheStarten->click();
    QCOMPARE(boxen.texte(), QStringList{"Bitte einen Namen eingeben"});
    s->text0->setText("kaputt");
    s->cmdSucheStarten->click();
    QCOMPARE(boxen.meldungen.size(), 2);
    QCOMPARE(boxen.meldungen[1].symbol, Dialoge::Symbol::Kritisch);
    QVERIFY(boxen.meldungen[1].text.startsWith("Die Suche ist fehlgeschlagen."));
    QVERIFY(boxen.meldungen[1].text.contains("server sagt nein"));
    QVERIFY(formen::vorhanden("frmTestSuchen"));
    // One hit: the search goes, and its Unload does not count as leaving without a hit.
    s->text0->setText("eins");
    s->cmdSucheStarten->click();
    QCOMPARE(g_einTreffer, 7.0);
    QVERIFY(!formen::vorhanden("frmTestSuchen"));
    QCOMPARE(g_ohneTreffer, 0);
    // Several: the list holds them by id; a refused choice keeps the list.
    s = formen::zeige<frmTestSuchen>(QStringLiteral("frmTestSuchen"));
    s->text0->setText("viele");
    s->cmdSucheStarten->click();
    auto* l = formen::vorhanden<frmTestListe>(QStringLiteral("frmTestListe"));
    QVERIFY(l);
    QCOMPARE(l->Combo1->count(), 3);
    QCOMPARE(l->ListenIds, (QVector<double>{1, 2, 3}));
    l->Combo1->setCurrentIndex(1);
    l->cmdAuswaehlen->click();
    QVERIFY(formen::vorhanden("frmTestListe"));
    QCOMPARE(g_gewaehlt, 0.0);
    l->Combo1->setCurrentIndex(2);
    l->cmdAuswaehlen->click();
    QCOMPARE(g_gewaehlt, 3.0);
    QVERIFY(!formen::vorhanden("frmTestListe"));
    QCOMPARE(g_ohneWahl, 0);
    // Leaving without a choice runs the Unload once, however often the form is closed.
    s = formen::zeige<frmTestSuchen>(QStringLiteral("frmTestSuchen"));
    s->close();
    s->close();
    QCOMPARE(g_ohneTreffer, 1);
}

void TestFormular::tastenUndFokus() {
    g_liste = {{"Alpha", 1}, {"Beta", 4}};
    auto* l = formen::zeige<frmTestListe>(QStringLiteral("frmTestListe"));
    warte(l);
    // The start field takes the focus, and Tab still leaves it and the last button.
    QCOMPARE(QApplication::focusWidget(), l->Combo1);
    l->cmdAbbrechen->setFocus();
    QTest::keyClick(l->cmdAbbrechen, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != l->cmdAbbrechen);
    // Escape in the open list closes the list only.
    l->Combo1->setFocus();
    l->Combo1->showPopup();
    QTRY_VERIFY(l->Combo1->view()->isVisible());
    QTest::keyClick(l->Combo1->view(), Qt::Key_Escape);
    QTRY_VERIFY(!l->Combo1->view()->isVisible());
    QVERIFY(formen::vorhanden("frmTestListe"));
    QCOMPARE(g_ohneWahl, 0);
    // Enter in the open list takes the entry, without choosing yet.
    l->Combo1->showPopup();
    QTRY_VERIFY(l->Combo1->view()->isVisible());
    QTest::keyClick(l->Combo1->view(), Qt::Key_Down);
    QTest::keyClick(l->Combo1->view(), Qt::Key_Return);
    QTRY_VERIFY(!l->Combo1->view()->isVisible());
    QCOMPARE(l->Combo1->currentIndex(), 1);
    QCOMPARE(g_gewaehlt, 0.0);
    // With the list closed, Enter chooses and Escape leaves.
    QTest::keyClick(l->Combo1, Qt::Key_Return);
    QCOMPARE(g_gewaehlt, 4.0);
    l = formen::zeige<frmTestListe>(QStringLiteral("frmTestListe"));
    warte(l);
    QTest::keyClick(l->Combo1, Qt::Key_Escape);
    QVERIFY(!formen::vorhanden("frmTestListe"));
    QCOMPARE(g_ohneWahl, 1);
}

QTEST_MAIN(TestFormular)
#include "tst_formular.moc"
