// The keyboard road through the tabbed record forms under the main window:
// every page of the place and the plot form by Ctrl+Tab / Ctrl+Shift+Tab and
// Ctrl+PgDown / Ctrl+PgUp, in the customer and the editing editions, and the
// focus the place form opens with.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "LookupHilfe.h"
#include "kit/ui/FeldArray.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {

const QString kFfm = QStringLiteral("06412000");

// The main window's MDI area as the program has it: Ctrl+Tab is its key for
// switching child windows, so the forms must win it for their pages.
class Hauptfenster {
public:
    Hauptfenster() {
        m_fenster.setCentralWidget(m_mdi = new QMdiArea);
        m_fenster.resize(1500, 950);
        m_fenster.show();
        QApplication::setActiveWindow(&m_fenster);
        [[maybe_unused]] const bool aktiv = QTest::qWaitForWindowActive(&m_fenster);
        formen::setzeHauptfenster(m_mdi);
    }
    ~Hauptfenster() {
        formen::schliesseAlleKinder();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        formen::setzeHauptfenster(nullptr);
    }

private:
    QMainWindow m_fenster;
    QMdiArea* m_mdi = nullptr;
};

// A key as the operator presses it: to whatever has the focus.
void taste(Qt::Key k, Qt::KeyboardModifiers m) {
    QWidget* ziel = QApplication::focusWidget();
    QVERIFY(ziel);
    QTest::keyClick(ziel, k, m);
}

const Qt::KeyboardModifiers kStrg = Qt::ControlModifier;
const Qt::KeyboardModifiers kStrgUmsch = Qt::ControlModifier | Qt::ShiftModifier;

// Forward through every page and round to the first; back across the start
// to the last; both key pairs.
void alleSeiten(QTabWidget* seiten) {
    const int n = seiten->count();
    QCOMPARE(seiten->currentIndex(), 0);
    for (int i = 1; i <= n; ++i) {
        taste(Qt::Key_Tab, kStrg);
        QCOMPARE(seiten->currentIndex(), i % n);
    }
    taste(Qt::Key_Backtab, kStrgUmsch);
    QCOMPARE(seiten->currentIndex(), n - 1);
    taste(Qt::Key_PageDown, kStrg);
    QCOMPARE(seiten->currentIndex(), 0);
    taste(Qt::Key_PageUp, kStrg);
    QCOMPARE(seiten->currentIndex(), n - 1);
    for (int i = n - 2; i >= 0; --i) {
        taste(Qt::Key_PageUp, kStrg);
        QCOMPARE(seiten->currentIndex(), i);
    }
    // The focus stays inside the form all the way.
    QVERIFY(QApplication::focusWidget() && seiten->window()->isAncestorOf(QApplication::focusWidget()));
}

// Tab from the last control of the form goes on and Shift+Tab comes back:
// the focus hand-over of the form does not trap Tab on that control.
void tabVerlaesst(QWidget* letztes) {
    letztes->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), letztes);
    QTest::keyClick(letztes, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != letztes);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), letztes);
}

void waehleGrundstueck() {
    Publics& p = publics();
    const Recordset ort = p.Verbindung.abfrage("select * from ortsnamen where gemeindeschluessel = ?", {kFfm});
    p.AktGemeindeschluessel = kFfm;
    p.AktOrtAnzeige = ort.text("plzneu") + " " + ort.text("ort");
    p.RsSuche = p.Verbindung.abfrage(
        "select * from grundstuecke where gemeindeschluessel = ? and hausnummer = ? and loeschen = ?",
        {kFfm, "12", "nein"});
    QVERIFY(!p.RsSuche.leer());
    p.StrassenEintrag = false;
    p.Modus = QStringLiteral("aendern");
}

}  // namespace

class TestTastaturweg : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void ortSeiten_data();
    void ortSeiten();
    void grundstueckSeiten_data();
    void grundstueckSeiten();
};

void TestTastaturweg::ortSeiten_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("ausgabe");
    for (const test::TestBackend& b : test::backends())
        for (int ausgabe : {1, 3}) QTest::newRow(qPrintable(b.name + QString(":%1").arg(ausgabe))) << b.name << ausgabe;
}

void TestTastaturweg::ortSeiten() {
    QFETCH(QString, backend);
    QFETCH(int, ausgabe);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Hauptfenster haupt;
    Publics& p = publics();
    p.Ausgabe = short(ausgabe);
    p.Modus = QStringLiteral("aendern");
    p.AktGemeindeschluessel = kFfm;
    auto* f = formen::zeige<frmStadtMaske>();
    QVERIFY(f);
    QCOMPARE(f->SSTab1->count(), 13);
    // The form opens with the postcode box focused, selected and in the focus
    // colour (customer edition: "Zurück"), and keeps it once the hand-overs
    // of the form registry have run.
    QWidget* erwartet = ausgabe == 3 ? static_cast<QWidget*>(f->cmdZurueck) : f->box(1, 0);
    QTRY_COMPARE(QApplication::focusWidget(), erwartet);
    QTest::qWait(30);
    QCOMPARE(QApplication::focusWidget(), erwartet);
    if (ausgabe == 1) {
        QCOMPARE(f->box(1, 0)->selectedText(), QString("60311"));
        QCOMPARE(f->box(1, 0)->palette().color(QPalette::Active, QPalette::Base), FeldArray::qbColor(1));
        QCOMPARE(f->box(1, 0)->palette().color(QPalette::Active, QPalette::Text), FeldArray::qbColor(15));
        QCOMPARE(f->box(1, 1)->palette().color(QPalette::Active, QPalette::Base), FeldArray::qbColor(15));
    }
    alleSeiten(f->SSTab1);
    if (ausgabe == 1) {
        // An entry page shown by keyboard takes the focus in its first box.
        taste(Qt::Key_Tab, kStrg);
        QCOMPARE(f->SSTab1->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), f->box(2, 0));
    } else {
        QCOMPARE(QApplication::focusWidget(), f->cmdZurueck);
    }
    tabVerlaesst(f->cmdZurueck);
    QVERIFY(boxen.meldungen.isEmpty());
}

void TestTastaturweg::grundstueckSeiten_data() { ortSeiten_data(); }

void TestTastaturweg::grundstueckSeiten() {
    QFETCH(QString, backend);
    QFETCH(int, ausgabe);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Hauptfenster haupt;
    Publics& p = publics();
    p.Ausgabe = short(ausgabe);
    waehleGrundstueck();
    auto* f = formen::zeige<frmGrundstueckMaske>();
    QVERIFY(f);
    QCOMPARE(f->SSTab1->tabText(1), QString("Zusatzdaten"));
    QTRY_VERIFY(QApplication::focusWidget() && f->isAncestorOf(QApplication::focusWidget()));
    alleSeiten(f->SSTab1);
    // "Zusatzdaten" by keyboard; in the editing editions its first box takes the focus.
    taste(Qt::Key_Tab, kStrg);
    QCOMPARE(f->SSTab1->currentIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), ausgabe == 3 ? static_cast<QWidget*>(f->cmdZurueck) : f->text_2[0]);
    taste(Qt::Key_Backtab, kStrgUmsch);
    QCOMPARE(f->SSTab1->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), ausgabe == 3 ? static_cast<QWidget*>(f->cmdZurueck) : f->text_1[0]);
    tabVerlaesst(f->cmdZurueck);
    QVERIFY(boxen.meldungen.isEmpty());
}

QTEST_MAIN(TestTastaturweg)
#include "tst_tastaturweg.moc"
