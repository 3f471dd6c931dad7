// The shared progress form of the maintenance commands: its counters in the
// command's number format, a command run from it beside the window, and
// "Zurück" that stops a running command before it closes the form.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include "LookupHilfe.h"
#include "tools/ui/ZaehlerFormular.h"
#include "tools/Zaehlerformat.h"

using namespace talu;

namespace {
// Counts three counters over n rows, slowly enough to be stopped.
class DreiZaehler : public stapel::Auftrag {
public:
    int n = 50;
    QString titel() const override { return "Drei Zähler"; }
    void fuehreAus(stapel::Kontext& k) override {
        for (int i = 1; i <= n; ++i) {
            k.pruefeAbbruch();
            QThread::msleep(5);
            k.db().ausfuehren("update ortsnamen set wohn = ? where id = (select min(id) from ortsnamen)", {double(i)});
            k.zaehle({{"Aktueller Datensatz:", i * 1000}, {"Daten gefunden:", i}, {QString::fromUtf8("Übersprungen:"), 0}},
                     {}, i == n);
        }
        k.anzeige().info("Fertig");
    }
};
}  // namespace

class TestZaehlerFormular : public QObject {
    Q_OBJECT
private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }
    void zahlenformat_data();
    void zahlenformat();
    void befehlLaeuftImFormular();
};

void TestZaehlerFormular::zahlenformat_data() {
    QTest::addColumn<double>("wert");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<QString>("text");
    QTest::newRow("null gruppiert") << 0.0 << "###,###" << "";
    QTest::newRow("klein") << 7.0 << "###,###" << "7";
    QTest::newRow("tausend") << 1234567.0 << "###,###" << "1.234.567";
    QTest::newRow("null mit Komma") << 0.0 << "###.###" << ",";
    QTest::newRow("ganz mit Komma") << 12345.0 << "###.###" << "12345,";
    QTest::newRow("Bruch") << 2.5 << "###.###" << "2,5";
}

void TestZaehlerFormular::zahlenformat() {
    QFETCH(double, wert);
    QFETCH(QString, muster);
    QFETCH(QString, text);
    QCOMPARE(stapel::zaehlerText(wert, muster), text);
}

void TestZaehlerFormular::befehlLaeuftImFormular() {
    TALU_LOOKUP_DB(fx, "sqlite", true);
    DialogAufzeichnung dlg;
    ZaehlerFormular f({QStringLiteral("Zonendaten importieren"),
                       {"Aktueller Datensatz:", "Nummer gefunden:", "Daten gefunden:", QString::fromUtf8("Übersprungen:")}});
    f.show();
    QCOMPARE(f.lblKopf->text(), QStringLiteral("Zonendaten importieren"));
    QCOMPARE(f.label.size(), 4);
    QCOMPARE(f.text[0]->text(), QString());  // 0 shows as nothing
    QVERIFY(f.text[0]->isReadOnly());

    DreiZaehler a;
    stapel::Ergebnis e;
    connect(&f, &ZaehlerFormular::startGeklickt, &f, [&] { e = f.starte(a); });
    QTest::mouseClick(f.cmdStart, Qt::LeftButton);
    QCOMPARE(e.status, stapel::Ergebnis::Status::Fertig);
    // Each counter in its box by caption; the one the command does not name keeps its value.
    QCOMPARE(f.text[0]->text(), QStringLiteral("50.000"));
    QCOMPARE(f.text[1]->text(), QString());
    QCOMPARE(f.text[2]->text(), QStringLiteral("50"));
    QCOMPARE(f.text[3]->text(), QString());
    QCOMPARE(dlg.texte(), QStringList{"Fertig"});
    QVERIFY(f.cmdStart->isEnabled());

    // "Zurück" while it runs stops it; all or nothing, the form stays open.
    const QVariant vorher = publics().Verbindung.wert("select wohn from ortsnamen where id = (select min(id) from ortsnamen)");
    a.n = 400;
    QTimer::singleShot(150, &f, [&] {
        QVERIFY(!f.cmdStart->isEnabled());
        QTest::mouseClick(f.cmdZurueck, Qt::LeftButton);
    });
    QTest::mouseClick(f.cmdStart, Qt::LeftButton);
    QCOMPARE(e.status, stapel::Ergebnis::Status::Abgebrochen);
    QVERIFY(f.isVisible());
    QCOMPARE(publics().Verbindung.wert("select wohn from ortsnamen where id = (select min(id) from ortsnamen)"), vorher);
}

QTEST_MAIN(TestZaehlerFormular)
#include "tst_zaehlerformular.moc"
