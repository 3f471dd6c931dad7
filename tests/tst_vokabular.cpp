#include <QDate>
#include <QLocale>
#include <QMetaType>
#include <QTest>

#include "kit/Formate.h"
#include "kit/Vokabular.h"

using talu::NullAlsLeer;
using talu::Uebersetze;
using talu::ZahlOderNull;

class TstVokabular : public QObject {
    Q_OBJECT
private slots:
    void uebersetze_data();
    void uebersetze();
    void uebersetzeNormalisiertDieVariable();
    void uebersetzeNull();
    void jedeZeileHinUndZurueck_data();
    void jedeZeileHinUndZurueck();
    void zahlOderNull_data();
    void zahlOderNull();
    void zahlOderNullDeutsch();
    void nullAlsLeer();
};

void TstVokabular::uebersetze_data() {
    QTest::addColumn<QVariant>("eingabe");
    QTest::addColumn<QString>("erwartet");
    QTest::addColumn<QString>("danach");
    QTest::newRow("code mit blanks und gross") << QVariant(" WA ") << "Allgemeines Wohngebiet" << "wa";
    QTest::newRow("text zu code") << QVariant("Mischgebiet") << "mi" << "mischgebiet";
    QTest::newRow("text mit umlaut") << QVariant("WOHNBAUFLÄCHEN") << "w" << "wohnbauflächen";
    QTest::newRow("code mit blank im code") << QVariant("ge 2") << "Gewerbegebiet (Dienstleistungen)" << "ge 2";
    QTest::newRow("gei nicht ge") << QVariant("gei") << "Gewerbegebiet / Industriegebiet" << "gei";
    QTest::newRow("gewerbegebiet text") << QVariant("Gewerbegebiet") << "geb" << "gewerbegebiet";
    QTest::newRow("Ja") << QVariant("Ja") << "Ja" << "ja";
    QTest::newRow("ja") << QVariant("ja") << "Ja" << "ja";
    QTest::newRow("j allein") << QVariant("j") << "Ja" << "j";
    QTest::newRow("nein") << QVariant("nein") << "Nein" << "nein";
    QTest::newRow("n... erstes zeichen") << QVariant("nix") << "Nein" << "nix";
    QTest::newRow("ja-text kommt nicht zurueck") << QVariant("jawohl") << "Ja" << "jawohl";
    QTest::newRow("bauweise") << QVariant("g") << "Geschlossene Bauweise" << "g";
    QTest::newRow("bauweise text") << QVariant("Offene Bauweise") << "o" << "offene bauweise";
    QTest::newRow("entwicklung") << QVariant("E") << "Bauerwartungsland" << "e";
    QTest::newRow("entwicklung text") << QVariant("rohbauland") << "r" << "rohbauland";
    QTest::newRow("anfangswert") << QVariant("ka") << "Keine Angabe" << "ka";
    QTest::newRow("endwert text") << QVariant("Endwert") << "ew" << "endwert";
    QTest::newRow("richtwertart") << QVariant("h") << "Herangezogener Richtwert" << "h";
    QTest::newRow("richtwertart text") << QVariant("Listenrichtwert") << "l" << "listenrichtwert";
    QTest::newRow("unbekannt") << QVariant("xyz") << "" << "xyz";
    QTest::newRow("leer") << QVariant("") << "" << "";
    QTest::newRow("nur blanks") << QVariant("   ") << "" << "";
    QTest::newRow("zahl") << QVariant(7) << "" << "7";
}

void TstVokabular::uebersetze() {
    QFETCH(QVariant, eingabe);
    QFETCH(QString, erwartet);
    QFETCH(QString, danach);
    QVariant v = eingabe;
    QCOMPARE(Uebersetze(v), erwartet);
    QCOMPARE(v.toString(), danach);
}

void TstVokabular::uebersetzeNormalisiertDieVariable() {
    QVariant v(QStringLiteral(" WA "));
    QCOMPARE(Uebersetze(v), QStringLiteral("Allgemeines Wohngebiet"));
    QCOMPARE(v.typeId(), int(QMetaType::QString));
    QCOMPARE(v.toString(), QStringLiteral("wa"));
    // A second call on the normalised value gives the same text.
    QCOMPARE(Uebersetze(v), QStringLiteral("Allgemeines Wohngebiet"));
}

void TstVokabular::uebersetzeNull() {
    QVariant leer;
    QCOMPARE(Uebersetze(leer), QString());
    QVERIFY(!leer.isValid());
    // A database Null: a typed null value.
    QVariant dbNull = QVariant(QMetaType(QMetaType::QString));
    QVERIFY(dbNull.isNull());
    QCOMPARE(Uebersetze(dbNull), QString());
    QVERIFY(dbNull.isNull());
}

// Every code gives its text and every text its code: no row shadows another.
void TstVokabular::jedeZeileHinUndZurueck_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("text");
    const QList<QPair<QString, QString>> zeilen = {
        {"wa", "Allgemeines Wohngebiet"}, {"wr", "Reines Wohngebiet"}, {"w", "Wohnbauflächen"},
        {"ws", "Kleinsiedlungsgebiet"}, {"wb", "Besonderes Wohngebiet"}, {"md", "Dorfgebiet"},
        {"mi", "Mischgebiet"}, {"mk", "Kerngebiet"}, {"gg", "Gewerbliche Baufläche"},
        {"ge 1", "Gewerbegebiet (prod. Gewerbe)"}, {"ge 2", "Gewerbegebiet (Dienstleistungen)"},
        {"gi", "Industriegebiet"}, {"gei", "Gewerbegebiet / Industriegebiet"}, {"s", "Sonderbauflächen"},
        {"soe", "Sondergebiet (Erholung)"}, {"sol", "Sondergebiet (Landwirtschaft)"}, {"geb", "Gewerbegebiet"},
        {"o", "Offene Bauweise"}, {"g", "Geschlossene Bauweise"}, {"a", "Abweichende Bauweise"},
        {"b", "Baureifes Land"}, {"r", "Rohbauland"}, {"e", "Bauerwartungsland"},
        {"aw", "Anfangswert"}, {"ew", "Endwert"}, {"ka", "Keine Angabe"},
        {"z", "Zonenrichtwert"}, {"h", "Herangezogener Richtwert"}, {"l", "Listenrichtwert"}};
    for (const auto& [c, t] : zeilen) QTest::newRow(qPrintable(c)) << c << t;
}

void TstVokabular::jedeZeileHinUndZurueck() {
    QFETCH(QString, code);
    QFETCH(QString, text);
    QVariant v(code);
    QCOMPARE(Uebersetze(v), text);
    QVariant t(text);
    QCOMPARE(Uebersetze(t), code);
}

void TstVokabular::zahlOderNull_data() {
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<double>("erwartet");
    QTest::newRow("null") << QVariant() << 0.0;
    QTest::newRow("db-null") << QVariant(QMetaType(QMetaType::Double)) << 0.0;
    QTest::newRow("ganzzahl") << QVariant(42) << 42.0;
    QTest::newRow("double") << QVariant(3.25) << 3.25;
    QTest::newRow("negativ") << QVariant(-1.5) << -1.5;
    QTest::newRow("text zahl") << QVariant(" 17 ") << 17.0;
    QTest::newRow("keine zahl") << QVariant("abc") << 0.0;
    QTest::newRow("leerer text") << QVariant("") << 0.0;
    QTest::newRow("blanks") << QVariant("   ") << 0.0;
    QTest::newRow("datum") << QVariant(QDate(2002, 9, 20)) << 0.0;
}

void TstVokabular::zahlOderNull() {
    QFETCH(QVariant, wert);
    QFETCH(double, erwartet);
    QCOMPARE(ZahlOderNull(wert), erwartet);
}

void TstVokabular::zahlOderNullDeutsch() {
    if (talu::regionalLocale().decimalPoint() != QStringLiteral(","))
        QSKIP("Die regionalen Einstellungen sind nicht deutsch.");
    QCOMPARE(ZahlOderNull(QVariant("12,5")), 12.5);
    QCOMPARE(ZahlOderNull(QVariant(" 0,75 ")), 0.75);
    QCOMPARE(ZahlOderNull(QVariant("12,5 m")), 0.0);
}

void TstVokabular::nullAlsLeer() {
    const QVariant ausNull = NullAlsLeer(QVariant());
    QCOMPARE(ausNull.typeId(), int(QMetaType::QString));
    QCOMPARE(ausNull.toString(), QString());
    const QVariant ausDbNull = NullAlsLeer(QVariant(QMetaType(QMetaType::Int)));
    QCOMPARE(ausDbNull.typeId(), int(QMetaType::QString));
    QVERIFY(ausDbNull.toString().isEmpty());

    const QVariant sieben = NullAlsLeer(QVariant(7));
    QCOMPARE(sieben.typeId(), int(QMetaType::Int));
    QCOMPARE(sieben.toInt(), 7);
    const QVariant text = NullAlsLeer(QVariant(QStringLiteral(" x ")));
    QCOMPARE(text.toString(), QStringLiteral(" x "));
    const QVariant datum = NullAlsLeer(QVariant(QDate(2002, 9, 20)));
    QCOMPARE(datum.typeId(), int(QMetaType::QDate));
}

QTEST_GUILESS_MAIN(TstVokabular)
#include "tst_vokabular.moc"
