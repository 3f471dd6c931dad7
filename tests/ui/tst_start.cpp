#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>
#include <QVBoxLayout>
#include <memory>
#include <pwd.h>
#include <stdexcept>
#include <unistd.h>

#include "kit/Dialoge.h"
#include "app/ui/TaluAnwendung.h"
#include "app/ui/modStart.h"
#include "db/Datenbank.h"

using namespace talu;

namespace {
// An object whose event handler fails the way a form's handler can.
class Werfer : public QObject {
public:
    enum Art { Db, Std, Nichts };
    Art art = Nichts;
    int behandelt = 0;
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        if (art == Db) throw DbFehler("Abfrage fehlgeschlagen", "relation \"ortsnamen\" does not exist", "select 1");
        if (art == Std) throw std::runtime_error("kaputt");
        ++behandelt;
        return true;
    }
};
}  // namespace

class TstStart : public QObject {
    Q_OBJECT
private slots:
    void benutzernamenFilter_data();
    void benutzernamenFilter();
    void benutzername();
    void computername();
    void fehlerImHandlerBeendetNichts();
    void standardFehlerImHandler();
    void nurEineMeldungProFehlerschwall();
    void altBuchstabeOhneZielTipptNichts();
    void qtTexteDeutsch();
};

void TstStart::benutzernamenFilter_data() {
    QTest::addColumn<QString>("roh");
    QTest::addColumn<QString>("gefiltert");
    QTest::newRow("Müller_01") << QStringLiteral("Müller_01") << QStringLiteral("Mller_");
    QTest::newRow("grenzen") << QStringLiteral("@AZaz{") << QStringLiteral("AZaz");
    QTest::newRow("zeichen zwischen Z und a") << QStringLiteral("[\\]^_`") << QStringLiteral("[\\]^_`");
    QTest::newRow("punkt minus blank") << QStringLiteral("a.b-c d") << QStringLiteral("abcd");
    QTest::newRow("nur verworfene") << QStringLiteral("123 .-äöü") << QString();
    QTest::newRow("leer") << QString() << QString();
    QTest::newRow("nullzeichen") << QString::fromLatin1("ab\0\0  ", 6) << QStringLiteral("ab");
}

void TstStart::benutzernamenFilter() {
    QFETCH(QString, roh);
    QFETCH(QString, gefiltert);
    QCOMPARE(filtereBenutzername(roh), gefiltert);
}

void TstStart::benutzername() {
    const passwd* pw = getpwuid(geteuid());
    QVERIFY(pw);
    QCOMPARE(ErmittleBenutzername(), filtereBenutzername(QString::fromLocal8Bit(pw->pw_name)));
    for (QChar c : ErmittleBenutzername()) QVERIFY(c.unicode() >= 65 && c.unicode() <= 122);
}

void TstStart::computername() {
    const QString name = ErmittleComputername();
    QVERIFY(!name.isEmpty());
    if (QSysInfo::machineHostName().isEmpty()) {
        QCOMPARE(name, QStringLiteral("Nicht erkannt"));
    } else {
        QCOMPARE(name, QSysInfo::machineHostName());
        QVERIFY(!name.endsWith(' '));
        QVERIFY(!name.contains(QChar(0)));
    }
}

void TstStart::fehlerImHandlerBeendetNichts() {
    DialogAufzeichnung dialoge;
    QVERIFY(qobject_cast<TaluAnwendung*>(qApp));
    Werfer w;
    w.art = Werfer::Db;
    QEvent e(QEvent::User);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ortsnamen"));
    QCOMPARE(QCoreApplication::sendEvent(&w, &e), false);
    QTRY_COMPARE(dialoge.meldungen.size(), 1);
    const auto m = dialoge.meldungen.first();
    QCOMPARE(int(m.symbol), int(Dialoge::Symbol::Kritisch));
    QVERIFY(m.text.contains("Abfrage fehlgeschlagen"));
    QVERIFY(m.text.contains("relation \"ortsnamen\" does not exist"));
    QCOMPARE(m.details, QStringLiteral("select 1"));
    // The program carries on: the next event is handled normally.
    w.art = Werfer::Nichts;
    QVERIFY(QCoreApplication::sendEvent(&w, &e));
    QCOMPARE(w.behandelt, 1);
}

void TstStart::standardFehlerImHandler() {
    DialogAufzeichnung dialoge;
    Werfer w;
    w.art = Werfer::Std;
    QEvent e(QEvent::User);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("kaputt"));
    QCoreApplication::sendEvent(&w, &e);
    QTRY_COMPARE(dialoge.meldungen.size(), 1);
    QVERIFY(dialoge.meldungen.first().text.contains("kaputt"));
    // A posted event that throws is caught the same way.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("kaputt"));
    QCoreApplication::postEvent(&w, new QEvent(QEvent::User));
    QTRY_COMPARE(dialoge.meldungen.size(), 2);
}

void TstStart::nurEineMeldungProFehlerschwall() {
    DialogAufzeichnung dialoge;
    Werfer w;
    w.art = Werfer::Db;
    QEvent e(QEvent::User);
    for (int i = 0; i < 3; ++i) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ortsnamen"));
        QCoreApplication::sendEvent(&w, &e);
    }
    QTest::qWait(50);
    QCOMPARE(dialoge.meldungen.size(), 1);
    // Once that box is answered, the next fault is reported again.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("ortsnamen"));
    QCoreApplication::sendEvent(&w, &e);
    QTRY_COMPARE(dialoge.meldungen.size(), 2);
}

// Alt plus a letter is a mnemonic: the control that carries it is pressed;
// a letter no control uses types nothing into the focused box.
void TstStart::altBuchstabeOhneZielTipptNichts() {
    QWidget form;
    auto* box = new QLineEdit(&form);
    auto* starten = new QPushButton(QStringLiteral("&Starten"), &form);
    auto* liste = new QComboBox(&form);
    liste->addItems({QStringLiteral("anton"), QStringLiteral("berta"), QStringLiteral("caesar")});
    auto* raster = new QVBoxLayout(&form);
    raster->addWidget(box);
    raster->addWidget(liste);
    raster->addWidget(starten);
    QSignalSpy gedrueckt(starten, &QPushButton::clicked);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    box->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), box);

    QTest::keyClicks(box, QStringLiteral("fra"));
    QTest::keyClick(box, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(box, Qt::Key_Q, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_5, Qt::AltModifier);
    QCOMPARE(box->text(), QStringLiteral("fra"));
    QCOMPARE(gedrueckt.count(), 0);
    // The button's own letter presses it and types nothing either.
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(gedrueckt.count(), 1);  // a mnemonic clicks animated, a moment later
    QCOMPARE(box->text(), QStringLiteral("fra"));
    // Letters without Alt still type; AltGr (Ctrl+Alt on some systems) still gives "@".
    QTest::keyClick(box, Qt::Key_N, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Q, QStringLiteral("@"), Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(box->text(), QStringLiteral("fran@"));
    // A list does not jump to an entry by the letter either.
    liste->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), liste);
    QTest::keyClick(liste, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(liste->currentIndex(), 0);
    QTest::keyClick(liste, Qt::Key_C);
    QCOMPARE(liste->currentIndex(), 2);
}

// Qt's own texts are German: shortcut names in the menus, standard buttons,
// the context menu of a text box. Without the translation file they are
// English, and this test fails; it is skipped only when the file is missing.
void TstStart::qtTexteDeutsch() {
    const QString verzeichnis = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(verzeichnis + QStringLiteral("/qtbase_de.qm")))
        QSKIP(qPrintable("qtbase_de.qm fehlt in " + verzeichnis +
                         ": das Paket qt6-translations-l10n ist nicht installiert (scripts/install-deps.sh)"));
    QVERIFY(LadeQtUebersetzung());

    QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_S).toString(QKeySequence::NativeText), QStringLiteral("Strg+S"));
    QCOMPARE(QKeySequence(Qt::CTRL | Qt::Key_E).toString(QKeySequence::NativeText), QStringLiteral("Strg+E"));
    QDialogButtonBox knoepfe(QDialogButtonBox::Cancel | QDialogButtonBox::Yes | QDialogButtonBox::No);
    QCOMPARE(knoepfe.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(knoepfe.button(QDialogButtonBox::Yes)->text().remove('&'), QStringLiteral("Ja"));
    QCOMPARE(knoepfe.button(QDialogButtonBox::No)->text().remove('&'), QStringLiteral("Nein"));

    // The details button of an error box.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), QStringLiteral("Text"), QMessageBox::Ok);
    box.setDetailedText(QStringLiteral("select 1"));
    QStringList texte;
    for (QAbstractButton* b : box.buttons()) texte << b->text();
    QVERIFY2(texte.contains(QStringLiteral("Details einblenden...")), qPrintable(texte.join(" | ")));

    // The context menu of every text box.
    QLineEdit zeile;
    std::unique_ptr<QMenu> menue(zeile.createStandardContextMenu());
    QStringList eintraege;
    for (QAction* a : menue->actions())
        if (!a->isSeparator()) eintraege << a->text().remove('&').section('\t', 0, 0);
    QVERIFY2(eintraege.contains(QStringLiteral("Rückgängig")), qPrintable(eintraege.join(" | ")));
    QVERIFY2(eintraege.contains(QStringLiteral("Einfügen")), qPrintable(eintraege.join(" | ")));
    QVERIFY2(!eintraege.contains(QStringLiteral("Paste")), qPrintable(eintraege.join(" | ")));
}

// The tests run inside the program's own application object.
int main(int argc, char** argv) {
    TaluAnwendung app(argc, argv);
    TstStart t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_start.moc"
