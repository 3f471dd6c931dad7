// Inputs the fuzz targets found, each of which once broke a rule of the
// amount and unit formats.
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"
#include "lookup/Merkdatei.h"
#include "plot/Merker.h"

using namespace talu;

class TstFuzzfunde : public QObject {
    Q_OBJECT
private slots:
    void betragKnappUnterNull();
    void ganzzahlJenseits64Bit_data();
    void ganzzahlJenseits64Bit();
    void merkbegriffMitZweiBoms();
    void merkerBetragOhneCent();
};

// A negative amount that rounds to no cent shows as 0,00 €, so that the box
// reads and formats as the same amount again.
void TstFuzzfunde::betragKnappUnterNull() {
    for (const double d : {-8.899483697601299e-295, -0.004, -0.0}) {
        QCOMPARE(waehrung(d), waehrung(0));
        QCOMPARE(anzeige::formatiereBetrag(waehrung(d)), waehrung(d));
    }
    QVERIFY(waehrung(-0.006).startsWith('-'));
    QCOMPARE(anzeige::betrag(waehrung(-0.006)), -0.01);
}

void TstFuzzfunde::ganzzahlJenseits64Bit_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("43 Stellen") << QStringLiteral("0333333333333333333333333333333333333333333");
    QTest::newRow("Exponent") << QStringLiteral("1e30");
    QTest::newRow("negativ") << QStringLiteral("-9,3e18");
}

// A number that no 64-bit whole number holds stays as typed: it used to turn
// into an arbitrary negative number of metres.
void TstFuzzfunde::ganzzahlJenseits64Bit() {
    QFETCH(QString, text);
    QCOMPARE(anzeige::formatiereGanzzahl(text, QStringLiteral(" m")), text);
    QCOMPARE(anzeige::formatiereGanzzahl(text + QStringLiteral(" m²"), QStringLiteral(" m²")), text + QStringLiteral(" m²"));
    QCOMPARE(anzeige::formatiereMuster(text), text);
    const double wert = leseZahl(text);
    QVERIFY(std::fabs(wert) > 9.2e18);
    // A stored value that large shows as its plain text, with its sign.
    QCOMPARE(anzeige::mitEinheit(QVariant(wert), QStringLiteral(" m")).startsWith('-'), wert < 0);
    QCOMPARE(anzeige::muster(QVariant(wert)).startsWith('-'), wert < 0);
    // Just inside the range the unit formats as before.
    QCOMPARE(anzeige::formatiereGanzzahl(QStringLiteral("9000000000000000000"), QStringLiteral(" m")),
             QStringLiteral("9000000000000000000 m"));
}

// The remembered term's file starts with at most one byte order mark; a
// term that itself begins with U+FEFF comes back whole.
void TstFuzzfunde::merkbegriffMitZweiBoms() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("letzterort.txt"));
    const QString bom(QChar(0xFEFF));
    for (const QString& begriff : {bom + bom + QStringLiteral("\""), bom + QStringLiteral("22") + bom + bom}) {
        QVERIFY(lookup::schreibeMerkbegriff(pfad, begriff));
        QCOMPARE(lookup::leseMerkbegriff(pfad), begriff);
    }
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF\xEF\xBB\xBF" "abc\r\n");
    f.close();
    QCOMPARE(lookup::leseMerkbegriff(pfad), bom + QStringLiteral("abc"));
    QVERIFY(lookup::schreibeMerkbegriff(pfad, QStringLiteral("frankfurt")));
    QCOMPARE(lookup::leseMerkbegriff(pfad), QStringLiteral("frankfurt"));
}

// A remembered amount that rounds to no cent leaves its box empty instead of
// showing "0,00 €", which would not read back as an amount.
void TstFuzzfunde::merkerBetragOhneCent() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("merker.txt"));
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray inhalt = "17e-31\r\n0,004\r\n12,5\r\n";
    for (int i = 3; i < kMerkerZeilen; ++i) inhalt += "x\r\n";
    f.write(inhalt);
    f.close();
    QStringList t1(16), t2(11);
    leseMerker(pfad, t1, t2, true);
    const QStringList alle = t1 + t2;
    QVERIFY(!alle.contains(waehrung(0)));
    QVERIFY(alle.contains(waehrung(12.5)));
}

QTEST_MAIN(TstFuzzfunde)
#include "tst_fuzzfunde.moc"
