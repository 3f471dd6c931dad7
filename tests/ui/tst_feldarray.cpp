#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "kit/ui/FeldArray.h"

using talu::FeldArray;

namespace {
// A form with n fields and a button outside the array (to leave by click).
struct Form {
    QWidget w;
    QVector<QLineEdit*> felder;
    QPushButton* knopf;
    FeldArray* array = nullptr;
    explicit Form(int n, int jaNein = FeldArray::StandardJaNeinFeld) {
        auto* l = new QVBoxLayout(&w);
        for (int i = 0; i < n; ++i) {
            auto* f = new QLineEdit(&w);
            f->setObjectName(QStringLiteral("text_%1").arg(i));
            f->setText(QStringLiteral("wert %1").arg(i));
            l->addWidget(f);
            felder << f;
        }
        knopf = new QPushButton(QStringLiteral("Knopf"), &w);
        l->addWidget(knopf);
        array = new FeldArray(felder, &w, jaNein);
        w.show();
        QApplication::setActiveWindow(&w);
        [[maybe_unused]] bool aktiv = QTest::qWaitForWindowActive(&w);
    }
    // The array goes first, so that no hook runs while the fields are torn down.
    ~Form() { delete array; }
    QWidget* fokus() const { return QApplication::focusWidget(); }
    void fokussiere(int i) {
        felder[i]->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
    }
};

bool hatFokusFarben(QLineEdit* f) {
    return f->palette().color(QPalette::Active, QPalette::Base) == QColor(0, 0, 128) &&
           f->palette().color(QPalette::Active, QPalette::Text) == QColor(255, 255, 255);
}
bool hatNormalFarben(QLineEdit* f) {
    return f->palette().color(QPalette::Active, QPalette::Base) == QColor(255, 255, 255) &&
           f->palette().color(QPalette::Active, QPalette::Text) == QColor(0, 0, 128);
}
}  // namespace

class TstFeldArray : public QObject {
    Q_OBJECT
private slots:
    void qbFarben();
    void fokusFaerbtUndMarkiert();
    void nurDasFokusfeldZeigtMarkierung();
    void tastenMitUmlauf();
    void einFeldBehaeltFokus();
    void enterErreichtWederFeldNochStandardknopf();
    void jaNeinFeld_data();
    void jaNeinFeld();
    void jaNeinNurImFeld11();
    void verlassenPerKlickWieMitTaste();
    void ohneJaNeinFeld();
    void hooks();
    void unerreichbareFelderUebersprungen();
    void keineHooksWaehrendDieFormZerfaellt();
};

void TstFeldArray::qbFarben() {
    QCOMPARE(FeldArray::qbColor(1), QColor(0, 0, 128));
    QCOMPARE(FeldArray::qbColor(15), QColor(255, 255, 255));
    QCOMPARE(FeldArray::jaNeinText("J"), QStringLiteral("Ja"));
    QCOMPARE(FeldArray::jaNeinText("n"), QStringLiteral("Nein"));
    QCOMPARE(FeldArray::jaNeinText("ja"), QStringLiteral("ja"));
    QCOMPARE(FeldArray::jaNeinText(""), QString());
}

void TstFeldArray::fokusFaerbtUndMarkiert() {
    Form f(3);
    // Before any focus: dark blue on white.
    QVERIFY(hatNormalFarben(f.felder[2]));
    f.fokussiere(1);
    QVERIFY(hatFokusFarben(f.felder[1]));
    QCOMPARE(f.felder[1]->selectedText(), QStringLiteral("wert 1"));
    QTest::keyClick(f.felder[1], Qt::Key_Return);
    QCOMPARE(f.fokus(), f.felder[2]);
    QVERIFY(hatNormalFarben(f.felder[1]));
    QVERIFY(hatFokusFarben(f.felder[2]));
    QCOMPARE(f.felder[2]->selectedText(), QStringLiteral("wert 2"));
}

// A field that is left keeps its text selected, but only the focused field
// shows a selection: on screen one field at a time looks selected.
void TstFeldArray::nurDasFokusfeldZeigtMarkierung() {
    Form f(3);
    const QColor markierung = QApplication::palette(f.felder[0]).color(QPalette::Active, QPalette::Highlight);
    QVERIFY(markierung != FeldArray::qbColor(1) && markierung != FeldArray::qbColor(15));
    auto markiertePunkte = [&](QLineEdit* feld) {
        const QImage bild = feld->grab().toImage();
        int n = 0;
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) n += QColor(bild.pixel(x, y)) == markierung;
        return n;
    };
    f.fokussiere(0);
    QVERIFY(markiertePunkte(f.felder[0]) > 0);
    QTest::keyClick(f.felder[0], Qt::Key_Return);
    QTest::keyClick(f.felder[1], Qt::Key_Down);
    QCOMPARE(f.fokus(), f.felder[2]);
    for (int i : {0, 1}) {
        QCOMPARE(f.felder[i]->selectedText(), QStringLiteral("wert %1").arg(i));
        QCOMPARE(markiertePunkte(f.felder[i]), 0);
    }
    QVERIFY(markiertePunkte(f.felder[2]) > 0);
    // Leaving by click: the same.
    QTest::mouseClick(f.knopf, Qt::LeftButton);
    QCOMPARE(markiertePunkte(f.felder[2]), 0);
    // Back in a field, its selection shows again.
    f.fokussiere(1);
    QVERIFY(markiertePunkte(f.felder[1]) > 0);
}

void TstFeldArray::tastenMitUmlauf() {
    Form f(4);
    f.fokussiere(0);
    QTest::keyClick(f.felder[0], Qt::Key_Down);
    QCOMPARE(f.fokus(), f.felder[1]);
    QTest::keyClick(f.felder[1], Qt::Key_Enter);  // keypad Enter as well
    QCOMPARE(f.fokus(), f.felder[2]);
    QTest::keyClick(f.felder[2], Qt::Key_Return);
    QCOMPARE(f.fokus(), f.felder[3]);
    QTest::keyClick(f.felder[3], Qt::Key_Return);  // last -> first
    QCOMPARE(f.fokus(), f.felder[0]);
    QTest::keyClick(f.felder[0], Qt::Key_Up);  // first -> last
    QCOMPARE(f.fokus(), f.felder[3]);
    QTest::keyClick(f.felder[3], Qt::Key_Up);
    QCOMPARE(f.fokus(), f.felder[2]);
    // Shift does not change the rule.
    QTest::keyClick(f.felder[2], Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(f.fokus(), f.felder[3]);
    // Other keys stay in the field.
    QTest::keyClick(f.felder[3], Qt::Key_Left);
    QCOMPARE(f.fokus(), f.felder[3]);
}

void TstFeldArray::einFeldBehaeltFokus() {
    Form f(1);
    f.fokussiere(0);
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Up}) {
        QTest::keyClick(f.felder[0], k);
        QCOMPARE(f.fokus(), f.felder[0]);
        QVERIFY(hatFokusFarben(f.felder[0]));
        QCOMPARE(f.felder[0]->selectedText(), QStringLiteral("wert 0"));
    }
}

void TstFeldArray::enterErreichtWederFeldNochStandardknopf() {
    Form f(2);
    f.knopf->setDefault(true);
    QSignalSpy geklickt(f.knopf, &QPushButton::clicked);
    QSignalSpy enter(f.felder[0], &QLineEdit::returnPressed);
    f.fokussiere(0);
    QTest::keyClick(f.felder[0], Qt::Key_Return);
    QCOMPARE(enter.count(), 0);
    QCOMPARE(geklickt.count(), 0);
    QCOMPARE(f.felder[0]->text(), QStringLiteral("wert 0"));
}

void TstFeldArray::jaNeinFeld_data() {
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("danach");
    QTest::newRow("J") << "J" << "Ja";
    QTest::newRow("j") << "j" << "Ja";
    QTest::newRow("N") << "N" << "Nein";
    QTest::newRow("n") << "n" << "Nein";
    QTest::newRow("ja bleibt") << "ja" << "ja";
    QTest::newRow("Nein bleibt") << "Nein" << "Nein";
    QTest::newRow("x bleibt") << "x" << "x";
    QTest::newRow("leer bleibt") << "" << "";
    QTest::newRow("j mit blank bleibt") << "j " << "j ";
}

void TstFeldArray::jaNeinFeld() {
    QFETCH(QString, getippt);
    QFETCH(QString, danach);
    Form f(12);
    f.fokussiere(11);
    f.felder[11]->clear();
    QTest::keyClicks(f.felder[11], getippt);
    QTest::keyClick(f.felder[11], Qt::Key_Return);
    QCOMPARE(f.fokus(), f.felder[0]);
    QCOMPARE(f.felder[11]->text(), danach);
}

void TstFeldArray::jaNeinNurImFeld11() {
    Form f(12);
    f.fokussiere(10);
    f.felder[10]->setText(QStringLiteral("j"));
    QTest::keyClick(f.felder[10], Qt::Key_Down);
    QCOMPARE(f.felder[10]->text(), QStringLiteral("j"));
    QCOMPARE(f.fokus(), f.felder[11]);
}

void TstFeldArray::verlassenPerKlickWieMitTaste() {
    Form f(12);
    f.fokussiere(11);
    f.felder[11]->setText(QStringLiteral("n"));
    QTest::mouseClick(f.felder[3], Qt::LeftButton);
    QCOMPARE(f.fokus(), f.felder[3]);
    QCOMPARE(f.felder[11]->text(), QStringLiteral("Nein"));
    QVERIFY(hatNormalFarben(f.felder[11]));
    QVERIFY(hatFokusFarben(f.felder[3]));
    // And to a control outside the array.
    f.felder[3]->setText(QStringLiteral("j"));
    f.fokussiere(11);
    f.felder[11]->setText(QStringLiteral("J"));
    f.knopf->setFocus(Qt::MouseFocusReason);
    QCOMPARE(f.felder[11]->text(), QStringLiteral("Ja"));
    QVERIFY(hatNormalFarben(f.felder[11]));
}

void TstFeldArray::ohneJaNeinFeld() {
    Form f(12, FeldArray::KeinJaNeinFeld);
    f.fokussiere(11);
    f.felder[11]->setText(QStringLiteral("j"));
    QTest::keyClick(f.felder[11], Qt::Key_Return);
    QCOMPARE(f.felder[11]->text(), QStringLiteral("j"));
    // Another index can be chosen.
    f.array->setzeJaNeinFeld(2);
    f.fokussiere(2);
    f.felder[2]->setText(QStringLiteral("n"));
    QTest::keyClick(f.felder[2], Qt::Key_Up);
    QCOMPARE(f.felder[2]->text(), QStringLiteral("Nein"));
}

void TstFeldArray::hooks() {
    Form f(3);
    QSignalSpy betreten(f.array, &FeldArray::feldBetreten);
    QSignalSpy verlassen(f.array, &FeldArray::feldVerlassen);
    // A form's own rule on leaving a field sees the field already in its normal colours.
    bool farbenSchonZurueck = false;
    connect(f.array, &FeldArray::feldVerlassen, f.array, [&](int i) {
        farbenSchonZurueck = hatNormalFarben(f.felder[i]);
        f.felder[i]->setText(f.felder[i]->text().toUpper());
    });
    f.fokussiere(0);
    QTest::keyClick(f.felder[0], Qt::Key_Return);
    QCOMPARE(verlassen.count(), 1);
    QCOMPARE(verlassen.first().first().toInt(), 0);
    QCOMPARE(betreten.last().first().toInt(), 1);
    QVERIFY(farbenSchonZurueck);
    QCOMPARE(f.felder[0]->text(), QStringLiteral("WERT 0"));

    // A key hook takes Enter in field 1; the shared navigation does not run.
    int gesehen = -1;
    f.array->setzeTastenHook([&](int index, QKeyEvent* e) {
        if (index == 1 && e->key() == Qt::Key_Return) {
            gesehen = index;
            return true;
        }
        return false;
    });
    QTest::keyClick(f.felder[1], Qt::Key_Return);
    QCOMPARE(gesehen, 1);
    QCOMPARE(f.fokus(), f.felder[1]);
    QTest::keyClick(f.felder[1], Qt::Key_Down);
    QCOMPARE(f.fokus(), f.felder[2]);
}

void TstFeldArray::unerreichbareFelderUebersprungen() {
    Form f(4);
    f.felder[1]->setEnabled(false);
    f.felder[3]->hide();
    f.fokussiere(0);
    QTest::keyClick(f.felder[0], Qt::Key_Return);
    QCOMPARE(f.fokus(), f.felder[2]);
    QTest::keyClick(f.felder[2], Qt::Key_Return);
    QCOMPARE(f.fokus(), f.felder[0]);
    QTest::keyClick(f.felder[0], Qt::Key_Up);
    QCOMPARE(f.fokus(), f.felder[2]);
    // Read-only fields still take part (edition 3 shows the records read-only).
    f.felder[1]->setEnabled(true);
    f.felder[1]->setReadOnly(true);
    QTest::keyClick(f.felder[2], Qt::Key_Up);
    QCOMPARE(f.fokus(), f.felder[1]);
}

namespace {
// A form whose own rule on leaving a field uses its members.
class Maske : public QWidget {
    Q_OBJECT
public:
    QVector<QLineEdit*> felder;
    QStringList verlassen;
    int* aufrufe;
    explicit Maske(int* zaehler) : aufrufe(zaehler) {
        auto* l = new QVBoxLayout(this);
        for (int i = 0; i < 3; ++i) {
            felder << new QLineEdit(this);
            l->addWidget(felder.last());
        }
        auto* array = new FeldArray(felder, this);
        connect(array, &FeldArray::feldVerlassen, this, [this](int i) {
            ++*aufrufe;
            verlassen << felder[i]->text();
        });
    }
};
}  // namespace

void TstFeldArray::keineHooksWaehrendDieFormZerfaellt() {
    int aufrufe = 0;
    auto* m = new Maske(&aufrufe);
    m->show();
    QApplication::setActiveWindow(m);
    QVERIFY(QTest::qWaitForWindowActive(m));
    m->felder[0]->setFocus();
    QTest::keyClick(m->felder[0], Qt::Key_Return);
    QCOMPARE(aufrufe, 1);
    // Destroyed while a field has the focus: the field loses it, the hook stays silent.
    QCOMPARE(QApplication::focusWidget(), m->felder[1]);
    delete m;
    QCOMPARE(aufrufe, 1);
}

QTEST_MAIN(TstFeldArray)
#include "tst_feldarray.moc"
