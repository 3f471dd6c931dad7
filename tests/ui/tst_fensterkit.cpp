// The main window with the real child forms, keyed as an operator keys them:
// a form's own mnemonics beat the menu titles, the window's shortcuts work
// from every box, every form opens at its designed size within the window,
// and the new plot from the bookmark with its land-value boxes.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <optional>

#include "Bildvergleich.h"
#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "kit/ui/Geometrie.h"
#include "app/ui/TaluAnwendung.h"
#include "app/ui/frmMain.h"
#include "masterdata/ui/frmGutachter.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/Merker.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {

struct Form {
    const char* eintrag;  // the menu entry that opens it
    const char* name;
};
const QList<Form> kFormen = {
    {"mnuGrundstueckErfassen", "frmGrundstueckMaske"}, {"mnuGutachterErfassen", "frmGutachterMaske"},
    {"mnuBenutzerErfassen", "frmBenutzerMaske"},       {"mnuKreisErfassen", "frmKreisMaske"},
    {"mnuOrtErfassen", "frmStadtMaske"},               {"mnuOrtSuchen", "frmSuchen"},
    {"mnuGutachterSuchen", "frmGutachterSuchen"},      {"mnuBenutzerSuchen", "frmBenutzerSuchen"},
    {"mnuKreisSuchen", "frmKreisSuchen"},              {"mnuAbfrageProtokollZeigen", "frmAbfrageprotokoll"},
    {"mnuZugangsProtokollZeigen", "frmZugangsProtokoll"},
};

// The main window of the first edition with the internal menus shown.
class Haupt {
public:
    explicit Haupt(DialogAufzeichnung& boxen, QSize groesse = {1400, 1000}) {
        publics().Ausgabe = 1;
        m = new frmMain;
        m->laden();
        boxen.eingaben << hauptfenster::kPasswort;
        m->mnuInternAktivieren_Click();
        boxen.leeren();
        m->resize(groesse);
        QApplication::setActiveWindow(m);
        [[maybe_unused]] const bool aktiv = QTest::qWaitForWindowActive(m);
        QCoreApplication::processEvents();
    }
    ~Haupt() {
        formen::schliesseAlleKinder();
        delete m;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Opens the form through its menu entry and waits until its focus hand-over ran.
    QWidget* oeffne(const Form& f) {
        m->eintrag(f.eintrag)->trigger();
        QWidget* w = formen::vorhanden(f.name);
        if (w) QTest::qWait(20);
        return w;
    }
    frmMain* m;
};

// A control of a form that Alt plus a letter reaches.
struct Ziel {
    QKeySequence taste;
    QWidget* steuerung;
    int reiter = -1;  // the page of a tab bar
};
QList<Ziel> mnemoniken(QWidget* form) {
    QList<Ziel> l;
    auto nimm = [&](const QString& text, QWidget* w, int reiter = -1) {
        const QKeySequence t = QKeySequence::mnemonic(text);
        if (!t.isEmpty()) l << Ziel{t, w, reiter};
    };
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        if (auto* k = qobject_cast<QAbstractButton*>(w)) nimm(k->text(), k);
        if (auto* lab = qobject_cast<QLabel*>(w); lab && lab->buddy()) nimm(lab->text(), lab);
        if (auto* r = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < r->count(); ++i) nimm(r->tabText(i), r, i);
    }
    return l;
}

QStringList menueTasten(frmMain* m) {
    QStringList t;
    for (QAction* a : m->menuBar()->actions())
        if (a->isVisible()) t << QKeySequence::mnemonic(a->text()).toString();
    return t;
}

void druecke(const QKeySequence& taste) {
    QWidget* fokus = QApplication::focusWidget();
    QVERIFY(fokus);
    const QKeyCombination k = taste[0];
    QTest::keyClick(fokus, k.key(), k.keyboardModifiers());
}

// Puts the focus into the form where it is not yet.
void fokusIn(QWidget* form) {
    if (QApplication::focusWidget() && form->isAncestorOf(QApplication::focusWidget())) return;
    for (QWidget* w : form->findChildren<QWidget*>())
        if (w->isVisible() && w->isEnabled() && w->focusPolicy() & Qt::TabFocus) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}

const QString kKeinBetrag = QString::fromUtf8("Der Bodenrichtwert muss ein Betrag sein, zum Beispiel 125 oder 125,00 €!");

}  // namespace

class TestFensterkit : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup() { test::lookupAufraeumen(); }

    void mnemonikenDerForm_data() { test::backendZeilen(); }
    void mnemonikenDerForm();
    void kuerzelAusJedemFeld_data() { test::backendZeilen(); }
    void kuerzelAusJedemFeld();
    void groesseBeimOeffnen_data() { test::backendZeilen(); }
    void groesseBeimOeffnen();
    void neuesGrundstueckVomMerker_data() { test::backendZeilen(); }
    void neuesGrundstueckVomMerker();
};

// Alt plus each letter a form uses reaches the form's control, also where a
// menu title has the same letter ("&Speichern" and "&Suchen"); a menu letter
// the form does not use still opens its menu.
void TestFensterkit::mnemonikenDerForm() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Haupt h(boxen);
    const QStringList menues = menueTasten(h.m);
    QCOMPARE(menues, (QStringList{"Alt+P", "Alt+E", "Alt+S", "Alt+R", "Alt+S"}));
    int gleicheWieMenue = 0;
    for (const Form& f : kFormen) {
        QWidget* form = h.oeffne(f);
        QVERIFY2(form, f.name);
        const QList<Ziel> ziele = mnemoniken(form);
        QVERIFY2(!ziele.isEmpty(), f.name);
        QSet<QString> benutzt;
        for (const Ziel& z : ziele) {
            const QString was = QString("%1 %2").arg(f.name, z.taste.toString());
            benutzt << z.taste.toString();
            gleicheWieMenue += menues.contains(z.taste.toString());
            fokusIn(form);
            auto* knopf = qobject_cast<QAbstractButton*>(z.steuerung);
            std::optional<QSignalSpy> gedrueckt;
            if (knopf) gedrueckt.emplace(knopf, &QAbstractButton::pressed);
            druecke(z.taste);
            QVERIFY2(!QApplication::activePopupWidget(), qPrintable(was + " opened a menu"));
            if (knopf) {
                QVERIFY2(gedrueckt->count() == 1, qPrintable(was));
                // The click that follows must not save or close anything here.
                knopf->blockSignals(true);
                QTRY_VERIFY(!knopf->isDown());
                knopf->blockSignals(false);
            } else if (auto* lab = qobject_cast<QLabel*>(z.steuerung)) {
                QVERIFY2(QApplication::focusWidget() == lab->buddy(), qPrintable(was));
            } else {
                QVERIFY2(static_cast<QTabBar*>(z.steuerung)->currentIndex() == z.reiter, qPrintable(was));
            }
        }
        QVERIFY(formen::vorhanden(f.name));
        // A menu letter the form leaves alone opens the menu from inside the form.
        for (const QString& menue : {QString("Alt+P"), QString("Alt+R"), QString("Alt+E")}) {
            if (benutzt.contains(menue)) continue;
            fokusIn(form);
            druecke(QKeySequence(menue));
            QTRY_VERIFY2(qobject_cast<QMenu*>(QApplication::activePopupWidget()), qPrintable(f.name + (" " + menue)));
            QApplication::activePopupWidget()->close();
            QTRY_VERIFY(!QApplication::activePopupWidget());
            break;
        }
    }
    // "&Speichern", "&Suche starten" and the like: the clash is real.
    QVERIFY(gleicheWieMenue >= 5);
    // Only the plot form's note that there is no bookmark yet.
    QCOMPARE(boxen.texte(), QStringList{"Ich habe leider keine Merker-Datei gefunden!"});
}

// The window's shortcuts, listed, work whatever box has the focus: a text
// box's own Ctrl+E (end of line) and Ctrl+A (select all) give way.
void TestFensterkit::kuerzelAusJedemFeld() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Haupt h(boxen);
    QMap<QString, QString> kuerzel;
    for (QAction* a : h.m->findChildren<QAction*>())
        if (!a->shortcut().isEmpty()) kuerzel[a->objectName()] = a->shortcut().toString();
    const QMap<QString, QString> erwartet = {{"mnuGrundstueckErfassen", "Ctrl+E"},
                                             {"mnuOrtSuchen", "Ctrl+S"},
                                             {"mnuAurichImportieren", "Ctrl+A"},
                                             {"kuerzelInternAktivieren", "Ctrl+Shift+I"},
                                             {"kuerzelEditiermodusAktivieren", "Ctrl+Shift+E"}};
    QCOMPARE(kuerzel, erwartet);

    struct Box {
        Form form;
        std::function<QWidget*(QWidget*)> box;
    };
    const QList<Box> boxen_ = {
        {kFormen[0], [](QWidget* f) { return static_cast<frmGrundstueckMaske*>(f)->text_1[3]; }},
        {kFormen[0], [](QWidget* f) { return static_cast<frmGrundstueckMaske*>(f)->text_1[0]; }},
        {kFormen[1], [](QWidget* f) { return static_cast<frmGutachterMaske*>(f)->text[0]; }},
        {kFormen[4], [](QWidget* f) { return static_cast<frmStadtMaske*>(f)->box(1, 1); }},
        {kFormen[5], [](QWidget* f) { return f->findChild<QLineEdit*>(); }},
        {kFormen[9], [](QWidget* f) { return f->findChild<QTableView*>(); }},
    };
    for (const Box& b : boxen_)
        for (auto it = erwartet.begin(); it != erwartet.end(); ++it) {
            QWidget* form = h.oeffne(b.form);
            QVERIFY(form);
            QWidget* box = b.box(form);
            QVERIFY(box);
            box->setFocus(Qt::OtherFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(), box);
            QAction* a = h.m->findChild<QAction*>(it.key());
            QSignalSpy ausgeloest(a, &QAction::triggered);
            druecke(QKeySequence(it.value()));
            QVERIFY2(ausgeloest.count() == 1, qPrintable(QString("%1 in %2 of %3").arg(it.value(), box->objectName(), b.form.name)));
        }
    // Ctrl+E opened the plot form each time; the password switches asked.
    QCOMPARE(boxen.aufforderungen.size(), 2 * int(boxen_.size()));
}

// Each form opens at the size it was designed for, never squeezed below what
// its layout needs, and no larger than the main window's area.
void TestFensterkit::groesseBeimOeffnen() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    {
        Haupt h(boxen, {1400, 1000});
        const QSize flaeche = h.m->mdi()->viewport()->size();
        QVERIFY2(flaeche.width() > twips(13200) + 20 && flaeche.height() > twips(6600) + 40, "main window too small");
        for (const Form& f : kFormen) {
            QWidget* form = h.oeffne(f);
            QVERIFY(form);
            const QString name = f.name;
            if (name == "frmAbfrageprotokoll")
                QCOMPARE(form->size(), QSize(twips(13200), twips(6600)));  // 880 x 440, its objects in view
            else if (name == "frmGrundstueckMaske")
                QCOMPARE(form->size(), QSize(twips(11400), twips(5400)));
            // The record masks and the access log: all their fields in view.
            QVERIFY2(form->width() >= form->sizeHint().width() && form->height() >= form->sizeHint().height(),
                     qPrintable(name));
            auto* rahmen = qobject_cast<QMdiSubWindow*>(form->parentWidget());
            QVERIFY(rahmen);
            QVERIFY2(QRect(QPoint(), flaeche).contains(rahmen->geometry()), qPrintable(name));
        }
    }
    {
        // A small main window: the grid viewer is cut to the area, every form stays inside it.
        Haupt h(boxen, {860, 540});
        const QSize flaeche = h.m->mdi()->viewport()->size();
        QVERIFY(flaeche.width() < twips(13200));
        for (const Form& f : kFormen) {
            QWidget* form = h.oeffne(f);
            QVERIFY(form);
            auto* rahmen = qobject_cast<QMdiSubWindow*>(form->parentWidget());
            QVERIFY2(QRect(QPoint(), flaeche).contains(rahmen->geometry()), f.name);
            if (QString(f.name) == "frmAbfrageprotokoll") {
                const QSize zugabe = rahmen->size() - form->size();
                QCOMPARE(rahmen->size(), (QSize(twips(13200), twips(6600)) + zugabe).boundedTo(flaeche));
            }
        }
    }
    // Only the plot form's note that there is no bookmark yet.
    for (const QString& t : boxen.texte()) QCOMPARE(t, QString("Ich habe leider keine Merker-Datei gefunden!"));
}

// "Grundstück erfassen" with a bookmark: the postcode is offered, selected,
// and nothing is searched or locked until the operator leaves the box. Typed
// over, the other place is found and the plot stored under it. A land value
// entered by a click is replaced by what is typed; a text that is no amount
// is refused and keeps the focus. Only the focused box shows a caret.
void TestFensterkit::neuesGrundstueckVomMerker() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    const Datenbank& db = publics().Verbindung;
    TALU_DB_OK(db.einfuegen("ortsnamen", {{"ort", "Testort"}, {"plzneu", "77701"}, {"gemeindeschluessel", "07777001"}, {"typ", 1}}));
    TALU_DB_OK(db.einfuegen("ortsnamen", {{"ort", "Nachbarort"}, {"plzneu", "77702"}, {"gemeindeschluessel", "07777002"}, {"typ", 2}}));
    QStringList t1(16), t2(11);
    t1[0] = "77701";
    t1[6] = waehrung(125);
    QVERIFY(schreibeMerker(programmDatei("merker.txt"), t1, t2));
    DialogAufzeichnung boxen;
    Haupt h(boxen);
    QTest::keyClick(h.m, Qt::Key_E, Qt::ControlModifier);
    auto* f = formen::vorhanden<frmGrundstueckMaske>();
    QVERIFY(f);
    QTRY_COMPARE(QApplication::focusWidget(), f->text_1[0]);
    QTest::qWait(30);
    QCOMPARE(QApplication::focusWidget(), f->text_1[0]);
    QVERIFY(f->text_1[0]->isEnabled() && f->text_1[1]->isEnabled());
    QCOMPARE(f->text_1[0]->selectedText(), QString("77701"));
    QCOMPARE(f->text_1[1]->text(), QString());
    QCOMPARE(f->text_1[6]->text(), waehrung(125));
    QVERIFY(boxen.meldungen.isEmpty());

    QTest::keyClicks(f->text_1[0], "77702");
    QTest::keyClick(f->text_1[0], Qt::Key_Tab);
    QTRY_COMPARE(f->text_1[1]->text(), QString("Nachbarort"));
    QCOMPARE(f->text_1[0]->text(), QString("77702"));
    QTRY_COMPARE(QApplication::focusWidget(), f->text_1[2]);
    QVERIFY(boxen.meldungen.isEmpty());
    QTest::keyClicks(f->text_1[2], "Nord");
    QTest::keyClick(f->text_1[2], Qt::Key_Return);
    QTest::keyClicks(f->text_1[3], "Lindenweg");
    QTest::keyClick(f->text_1[3], Qt::Key_Return);
    QTest::keyClicks(f->text_1[4], "7");
    QTest::keyClick(f->text_1[4], Qt::Key_Return);
    for (int i : {2, 3}) QVERIFY2(test::siehtUnberuehrtAus(f->text_1[i]), qPrintable(f->text_1[i]->text()));

    // Clicked at its end, the land value is selected whole: 200 replaces 125.
    const QRect r = f->text_1[6]->rect();
    QTest::mouseClick(f->text_1[6], Qt::LeftButton, {}, QPoint(r.right() - 3, r.center().y()));
    QCOMPARE(QApplication::focusWidget(), f->text_1[6]);
    QTest::keyClicks(f->text_1[6], "200");
    QTest::keyClick(f->text_1[6], Qt::Key_Tab);
    QCOMPARE(f->text_1[6]->text(), waehrung(200));
    QCOMPARE(QApplication::focusWidget(), f->text_1[7]);

    // Text that is no amount: refused with a message, the focus stays, the text selected for retyping.
    for (const QString& falsch : {QString("abc"), waehrung(125) + "200"}) {
        boxen.leeren();
        f->text_1[7]->setText(falsch);
        QTest::keyClick(f->text_1[7], Qt::Key_Tab);
        QCOMPARE(boxen.texte(), QStringList{kKeinBetrag});
        QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Information);
        QCOMPARE(QApplication::focusWidget(), f->text_1[7]);
        QCOMPARE(f->text_1[7]->text(), falsch);
        QCOMPARE(f->text_1[7]->selectedText(), falsch);
    }
    // By mouse as well, and on the other page.
    boxen.leeren();
    QTest::mouseClick(f->text_1[5], Qt::LeftButton);
    QCOMPARE(boxen.texte(), QStringList{kKeinBetrag});
    QCOMPARE(QApplication::focusWidget(), f->text_1[7]);
    boxen.leeren();
    f->SSTab1->setCurrentIndex(1);
    QTRY_COMPARE(boxen.texte(), QStringList{kKeinBetrag});
    QCOMPARE(f->SSTab1->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), f->text_1[7]);
    // Saving with the refused text still in the box stores nothing.
    boxen.leeren();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(boxen.texte(), QStringList{kKeinBetrag});
    QTRY_COMPARE(QApplication::focusWidget(), f->text_1[7]);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where strassen_name = 'Lindenweg'"), 0);

    boxen.leeren();
    QTest::keyClicks(f->text_1[7], "12,5");
    QTest::keyClick(f->text_1[7], Qt::Key_Tab);
    QVERIFY(boxen.meldungen.isEmpty());
    QCOMPARE(f->text_1[7]->text(), waehrung(12.5));
    for (int i : {6, 7}) QVERIFY2(test::siehtUnberuehrtAus(f->text_1[i]), qPrintable(f->text_1[i]->text()));

    // Alt+S saves (the "Suchen" menu stays shut): stored under the place typed.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(boxen.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
    QVERIFY(!QApplication::activePopupWidget());
    Recordset rs = db.abfrage("select * from grundstuecke where strassen_name = 'Lindenweg'");
    QCOMPARE(rs.anzahl(), 1);
    rs.moveFirst();
    QCOMPARE(rs.text("gemeindeschluessel"), QString("07777002"));
    QCOMPARE(rs.text("ortsteil"), QString("Nord"));
    QCOMPARE(rs.zahl("richtwert_minimal"), 200.0);
    QCOMPARE(rs.zahl("richtwert_durchschnitt"), 12.5);
}

// The tests run inside the program's own application object, which keeps
// Alt plus a letter from typing it.
int main(int argc, char** argv) {
    TaluAnwendung app(argc, argv);
    TestFensterkit t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_fensterkit.moc"
