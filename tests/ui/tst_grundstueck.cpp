// The plot form: display conversions, the query-log row of every display,
// stepping to neighbouring house numbers, the place of a new plot and the
// form's behaviour in the customer and the editing editions.
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "lookup/SucheDaten.h"
#include "lookup/ui/frmAuswaehlen.h"
#include "kit/Anzeigeformate.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;
using L = GrundstueckMaskeLogik;

namespace {
const QString kSchluessel = "07777001";

// A place and a street of our own, so that every expected text is known.
void legeTestStrasseAn() {
    const Datenbank& db = publics().Verbindung;
    db.einfuegen("ortsnamen", {{"ort", " Testort  "}, {"plzneu", "77701"}, {"gemeindeschluessel", kSchluessel},
                               {"typ", 1}, {"preis", 12.5}, {"preis_gutachter_bodenwert", 5.0}});
    auto plot = [&](const QString& nr, QVariant maximal, const QString& loeschen = "nein") {
        return db.einfuegen("grundstuecke", {
            {"gemeindeschluessel", kSchluessel}, {"ortsteil", "Mitte"},
            {"strassen_name", QString::fromUtf8("Teststraße")}, {"hausnummer", nr},
            {"hausnummer_numerisch", fuehrendeZahl(nr)}, {"flurstueck", "Flur 1, 12/3"},
            {"richtwert_minimal", 125.0}, {"richtwert_durchschnitt", 12.5},
            {"richtwert_maximal", maximal}, {"richtwert_tatsaechlich", QVariant()},
            {"bauliche_nutzung", "wa"}, {"entwicklungszustand", "b"}, {"bauweise", "o"},
            {"richtwerttyp", "z"}, {"bemerkung", "Ecklage"}, {"quellenangabe", "GAA"},
            {"loeschen", loeschen}, {"geschossflaechenzahl", "0.8"}, {"anzahl_der_geschosse", "2"},
            {"beitragspflichtig", "j"}, {"grundstueckstiefe", QVariant()}, {"grundstuecksflaeche", "500"},
            {"sanierungsgebiet", "n"}, {"sananfangende", "aw"}, {"x_koordinate", "50.1"},
            {"y_koordinate", "8.6"}, {"umt_1", "3470000"}, {"umt_2", "5550000"}});
    };
    plot("12a", 100.0);
    plot("13", 0.0);
    plot("1", 200.0);
    plot("14", 300.0, "ja");  // marked deleted
    plot("9999", QVariant());
}

void waehle(const QString& hausnummer) { test::waehleGrundstueck(kSchluessel, hausnummer); }


}  // namespace

class TestGrundstueck : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        test::lookupAufraeumen();
    }

    void hausnummern_data();
    void hausnummern();
    void umwandlungen();
    void verlassen_data();
    void verlassen();
    void betragOderAbgewiesen_data();
    void betragOderAbgewiesen();
    void anzeige_data() { test::backendZeilen(); }
    void anzeige();
    void protokoll_data() { test::backendZeilen(); }
    void protokoll();
    void keinProtokollInBearbeitung_data() { test::backendZeilen(); }
    void keinProtokollInBearbeitung();
    void protokollFehler_data() { test::backendZeilen(); }
    void protokollFehler();
    void fehlenderOrt_data() { test::backendZeilen(); }
    void fehlenderOrt();
    void navigation_data() { test::backendZeilen(); }
    void navigation();
    void ortFuerNeuesGrundstueck_data() { test::backendZeilen(); }
    void ortFuerNeuesGrundstueck();
    void formularKunde_data() { test::backendZeilen(); }
    void formularKunde();
    void formularBearbeitung_data() { test::backendZeilen(); }
    void formularBearbeitung();
    void formularNeu_data() { test::backendZeilen(); }
    void formularNeu();
};

void TestGrundstueck::hausnummern_data() {
    QTest::addColumn<QString>("nummer");
    QTest::addColumn<double>("zahl");
    QTest::addColumn<QString>("vor");
    QTest::addColumn<QString>("zurueck");
    QTest::newRow("12a") << "12a" << 12.0 << "13" << "11";
    QTest::newRow("1") << "1" << 1.0 << "2" << "0";
    QTest::newRow("blanks") << " 7 " << 7.0 << "8" << "6";
    QTest::newRow("bereich") << "50-52" << 50.0 << "51" << "49";
    QTest::newRow("dezimal") << "12.5b" << 12.5 << "13.5" << "11.5";
    QTest::newRow("ohne zahl") << "a1" << 0.0 << "1" << "-1";
    QTest::newRow("leer") << "" << 0.0 << "1" << "-1";
    QTest::newRow("strasse") << "9999" << 9999.0 << "10000" << "9998";
}

void TestGrundstueck::hausnummern() {
    QFETCH(QString, nummer);
    QFETCH(double, zahl);
    QFETCH(QString, vor);
    QFETCH(QString, zurueck);
    QCOMPARE(fuehrendeZahl(nummer), zahl);
    QCOMPARE(nachbarHausnummer(nummer, 1), vor);
    QCOMPARE(nachbarHausnummer(nummer, -1), zurueck);
}

void TestGrundstueck::umwandlungen() {
    QCOMPARE(anzeige::waehrungWennNichtNull(QVariant()), QString());
    QCOMPARE(anzeige::waehrungWennNichtNull(0.0), QString());
    QCOMPARE(anzeige::waehrungWennNichtNull(125.0), waehrung(125));
    QCOMPARE(anzeige::waehrungWennNichtNull(125.0), QString::fromUtf8("125,00\u00A0€"));
    QCOMPARE(anzeige::waehrungWennNichtNull(1234.5), QString::fromUtf8("1.234,50\u00A0€"));
    QCOMPARE(anzeige::waehrungWennNichtNull("kein betrag"), QString());

    QCOMPARE(L::protokollObjekt("35390 Gießen", "Seltersweg", "3"), QString::fromUtf8("35390 Gießen - Seltersweg 3"));
    QCOMPARE(L::protokollObjekt("35390 Gießen", "Seltersweg", "9999"), QString::fromUtf8("35390 Gießen - Seltersweg"));
    QCOMPARE(L::protokollObjekt("35390 Gießen", "Seltersweg", " 9999 "), QString::fromUtf8("35390 Gießen - Seltersweg"));
    QCOMPARE(L::protokollObjekt("35390 Gießen", "Seltersweg", ""), QString::fromUtf8("35390 Gießen - Seltersweg "));

    QVERIFY(L::PlzUngueltig("1234"));
    QVERIFY(L::PlzUngueltig("123456"));
    QVERIFY(!L::PlzUngueltig("12345"));
    QVERIFY(!L::PlzUngueltig(" 12345 "));
    QVERIFY(!L::PlzUngueltig(""));
    QVERIFY(!L::PlzUngueltig("   "));
}

void TestGrundstueck::betragOderAbgewiesen_data() {
    QTest::addColumn<int>("array");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("abgewiesen");
    QTest::newRow("zahl") << 1 << 6 << "125" << false;
    QTest::newRow("komma") << 1 << 7 << "12,5" << false;
    QTest::newRow("punkt") << 1 << 7 << "12.5" << false;
    QTest::newRow("gruppiert") << 1 << 8 << "1.250,00" << false;
    QTest::newRow("angezeigt") << 1 << 9 << waehrung(1250) << false;
    QTest::newRow("zeichen ohne blank") << 1 << 9 << QString::fromUtf8("125€") << false;
    QTest::newRow("zeichen vorn") << 1 << 9 << QString::fromUtf8("€ 125") << false;
    QTest::newRow("leer") << 1 << 6 << "" << false;
    QTest::newRow("blanks") << 1 << 6 << "   " << false;
    QTest::newRow("text") << 1 << 6 << "abc" << true;
    QTest::newRow("angehaengt") << 1 << 6 << waehrung(125) + "200" << true;
    QTest::newRow("nur zeichen") << 1 << 6 << QString::fromUtf8("€") << true;
    QTest::newRow("zwei zeichen") << 1 << 6 << QString::fromUtf8("€ 125 €") << true;
    QTest::newRow("zahl mit buchstabe") << 1 << 9 << "12a" << true;
    // Other boxes are no land values: their rules stay as they are.
    QTest::newRow("flurstueck") << 1 << 5 << "abc" << false;
    QTest::newRow("code") << 1 << 10 << "abc" << false;
    QTest::newRow("zweite seite") << 2 << 6 << "abc" << false;
}

// A land value box takes an amount or nothing; anything else is refused
// with the same message when it is left and when the plot is saved.
void TestGrundstueck::betragOderAbgewiesen() {
    QFETCH(int, array);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, abgewiesen);
    const QString m = L::betragFehler(array, index, text);
    QCOMPARE(!m.isEmpty(), abgewiesen);
    if (abgewiesen) QCOMPARE(m, QString::fromUtf8("Der Bodenrichtwert muss ein Betrag sein, zum Beispiel 125 oder 125,00 €!"));
    // What is accepted is stored as the amount it shows.
    if (!abgewiesen && array == 1 && index >= 6 && index <= 9 && !text.trimmed().isEmpty())
        QVERIFY(anzeige::betrag(text) > 0);
}

void TestGrundstueck::verlassen_data() {
    QTest::addColumn<int>("array");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ergebnis");
    QTest::newRow("betrag") << 1 << 6 << "125" << waehrung(125);
    QTest::newRow("betrag mit komma") << 1 << 9 << "12,5" << waehrung(12.5);
    QTest::newRow("betrag schon formatiert") << 1 << 7 << waehrung(12.5) << waehrung(12.5);
    QTest::newRow("betrag leer") << 1 << 8 << "" << "";
    QTest::newRow("betrag text") << 1 << 8 << "abc" << "abc";
    QTest::newRow("code") << 1 << 10 << "wa" << "Allgemeines Wohngebiet";
    QTest::newRow("code gross") << 1 << 12 << " O " << "Offene Bauweise";
    QTest::newRow("langtext bleibt") << 1 << 10 << "Allgemeines Wohngebiet" << "Allgemeines Wohngebiet";
    // The place form keeps an unknown code as typed; the plot form follows the same rule.
    QTest::newRow("unbekannter code bleibt") << 1 << 11 << "xq" << "xq";
    QTest::newRow("ja") << 2 << 4 << "j" << "Ja";
    QTest::newRow("anfangswert") << 2 << 6 << "aw" << "Anfangswert";
    QTest::newRow("tiefe") << 2 << 2 << "25" << "25 m";
    QTest::newRow("flaeche") << 2 << 3 << "0500" << QString::fromUtf8("500 m²");
    QTest::newRow("flaeche mit einheit") << 2 << 3 << QString::fromUtf8("500 m²") << QString::fromUtf8("500 m²");
    QTest::newRow("strasse frei") << 1 << 3 << "wa" << "wa";
    QTest::newRow("gfz frei") << 2 << 0 << "0,8" << "0,8";
}

void TestGrundstueck::verlassen() {
    QFETCH(int, array);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, ergebnis);
    QCOMPARE(L::textNachVerlassen(array, index, text), ergebnis);
}

void TestGrundstueck::anzeige() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    waehle("12a");
    L l;
    QList<Meldung> m;
    TALU_DB_OK(m = l.LadeGrundstueck(publics()));
    QVERIFY(m.isEmpty());
    QVERIFY(l.angezeigt);
    const QStringList t1 = {"77701", "Testort", "Mitte", QString::fromUtf8("Teststraße"), "12a", "Flur 1, 12/3",
                            waehrung(125), waehrung(12.5), waehrung(100), "",
                            "Allgemeines Wohngebiet", "Baureifes Land", "Offene Bauweise", "Zonenrichtwert",
                            "Ecklage", "GAA"};
    QCOMPARE(l.text_1, t1);
    // Null depth stays empty, the area gets its unit; codes read as German texts.
    const QStringList t2 = {"0.8", "2", "", QString::fromUtf8("500 m²"), "Ja", "Nein", "Anfangswert",
                            "50.1", "8.6", "3470000", "5550000"};
    QCOMPARE(l.text_2, t2);
    QCOMPARE(qint64(l.GrundstueckId), qint64(publics().RsSuche.zahl("id")));
    QCOMPARE(publics().AktPlz, "77701");
    QCOMPARE(publics().AktOrt, " Testort  ");
}

void TestGrundstueck::protokoll() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    Publics& p = publics();
    p.PcName = QString(60, 'P');
    QCOMPARE(p.Ausgabe, short(3));
    waehle("12a");
    L l;
    QVERIFY(l.LadeGrundstueck(p).isEmpty());
    QCOMPARE(test::protokollZeilen(), 1);
    const Recordset r = p.Verbindung.abfrage("select * from abfrageprotokoll");
    QCOMPARE(alsDatum(r.feld("datum")), QDate::currentDate());
    QVERIFY(QTime::fromString(r.text("uhrzeit"), "hh:mm").isValid());
    QCOMPARE(r.text("vorgang"), QString::fromUtf8("Grundstücksdaten"));
    QCOMPARE(r.text("pc_benutzer"), "tester");
    QCOMPARE(r.text("db_benutzer"), fx.benutzer);
    QCOMPARE(r.text("objekt"), QString::fromUtf8("77701  Testort   - Teststraße 12a"));
    QCOMPARE(r.text("gemeindeschluessel"), kSchluessel);
    QCOMPARE(r.text("computername"), QString(50, 'P'));
    QCOMPARE(r.text("offen"), "ja");
    QCOMPARE(r.zahl("preis"), 12.5);
    QCOMPARE(r.zahl("preis_gutachter"), 5.0);
    QCOMPARE(r.text("offen_gutachter"), "ja");
    QVERIFY(r.istNull("version"));
    QCOMPARE(r.text("abgerechnet_eigen"), "N");
    QCOMPARE(r.text("abgerechnet_gutachter"), "N");

    // A street record names the street only.
    waehle("9999");
    QVERIFY(l.LadeGrundstueck(p).isEmpty());
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll where objekt = ?",
                          {QString::fromUtf8("77701  Testort   - Teststraße")}),
             1);
    // Three plots one after the other: three rows. A place without price bills 0.
    p.PreisBodenrichtwert = 0;
    p.PreisGutachter = 0;
    p.RsSuche = p.Verbindung.abfrage("select * from grundstuecke where hausnummer = '1'");
    QVERIFY(l.LadeGrundstueck(p).isEmpty());
    QCOMPARE(test::protokollZeilen(), 3);
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll where preis = 0 and preis_gutachter = 0"), 1);
}

void TestGrundstueck::keinProtokollInBearbeitung() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    Publics& p = publics();
    for (short ausgabe : {short(1), short(2)}) {
        p.Ausgabe = ausgabe;
        waehle("12a");
        L l;
        QVERIFY(l.LadeGrundstueck(p).isEmpty());
        QVERIFY(l.angezeigt);
        l.SchrittVor = true;
        QVERIFY(l.LadeGrundstueck(p).isEmpty());
        QCOMPARE(l.text_1[4], "13");
    }
    QCOMPARE(test::protokollZeilen(), 0);
}

void TestGrundstueck::protokollFehler() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    Publics& p = publics();
    waehle("12a");
    TALU_DB_OK(p.Verbindung.ausfuehren("drop table abfrageprotokoll"));
    L l;
    QList<Meldung> m;
    TALU_DB_OK(m = l.LadeGrundstueck(p));
    // The operator is told, with the server's text, and sees no unbilled values.
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].art, Meldung::Kritisch);
    QVERIFY2(m[0].text.startsWith("Die Abfrage konnte nicht im Abfrageprotokoll vermerkt werden. "
                                  "Die Grundstücksdaten werden deshalb nicht angezeigt.\n\n"),
             qPrintable(m[0].text));
    QVERIFY2(m[0].text.contains("abfrageprotokoll", Qt::CaseSensitive), qPrintable(m[0].text));
    QVERIFY(!l.angezeigt);
    QCOMPARE(l.text_1[3], QString());
    QCOMPARE(l.text_1[6], QString());
    QCOMPARE(l.text_2[3], QString());

    // The form shows the message and stays empty.
    DialogAufzeichnung boxen;
    auto* f = formen::zeige<frmGrundstueckMaske>();
    QCOMPARE(boxen.meldungen.size(), 1);
    QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Kritisch);
    QCOMPARE(f->text_1[9]->text(), QString());
    QCOMPARE(f->text_1[3]->text(), QString());
}

void TestGrundstueck::fehlenderOrt() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    Publics& p = publics();
    waehle("12a");
    p.AktGemeindeschluessel = "00000000";
    L l;
    const QList<Meldung> m = l.LadeGrundstueck(p);
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].art, Meldung::Kritisch);
    QCOMPARE(m[0].titel, "Information");
    QCOMPARE(m[0].text, "Es liegt ein Fehler in der Referentiellen Integritaet vor. Keine Ortsinformationen zu dieser Strasse vorhanden.");
    QVERIFY(!l.angezeigt);
    for (const QString& t : l.text_1) QVERIFY(t.isEmpty());
    QCOMPARE(test::protokollZeilen(), 0);
}

void TestGrundstueck::navigation() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    Publics& p = publics();
    waehle("12a");
    L l;
    QVERIFY(l.LadeGrundstueck(p).isEmpty());
    QCOMPARE(l.text_1[8], waehrung(100));
    const double erste = l.GrundstueckId;

    // Forward from 12a is 13; its maximum of 0 does not keep the 100 shown before.
    l.SchrittVor = true;
    QVERIFY(l.LadeGrundstueck(p).isEmpty());
    QCOMPARE(l.text_1[4], "13");
    QCOMPARE(l.text_1[8], QString());
    QCOMPARE(p.RsSuche.text("hausnummer"), "13");
    QVERIFY(l.GrundstueckId != erste);
    // Postcode and place stay from the first display.
    QCOMPARE(l.text_1[0], "77701");
    QCOMPARE(test::protokollZeilen(), 2);

    // 14 is marked deleted: the message, and 13 stays (billed once only).
    QList<Meldung> m = l.LadeGrundstueck(p);
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].art, Meldung::Information);
    QCOMPARE(m[0].text, QString::fromUtf8("Das Grundstück 'Teststraße 14' ist nicht vorhanden!"));
    QCOMPARE(l.text_1[4], "13");
    QCOMPARE(p.RsSuche.text("hausnummer"), "13");
    QCOMPARE(test::protokollZeilen(), 2);

    // Backward from 1 looks for 0.
    waehle("1");
    l.SchrittVor = false;
    l.SchrittZurueck = true;
    m = l.LadeGrundstueck(p);
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].text, QString::fromUtf8("Das Grundstück 'Teststraße 0' ist nicht vorhanden!"));
    QCOMPARE(l.text_1[4], "1");
    QCOMPARE(l.text_1[8], waehrung(200));
}

void TestGrundstueck::ortFuerNeuesGrundstueck() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    L l;
    Meldung m;
    QCOMPARE(l.OrtFuerNeuesGrundstueckSuchen(p, &m), L::OrtSuche::KeineEingabe);
    QVERIFY(p.OrtFuerNeuesGrundstueck);
    QCOMPARE(m.text, QString::fromUtf8("Sie müssen zur Suche entweder die PLZ oder den Namen des Ortes angeben!"));
    QCOMPARE(m.titel, "Information");

    // The postcode is a prefix; the incorporated Gießen-Kleinlinden (typ 3) is left out.
    l.text_1[0] = " 3539 ";
    l.text_1[1] = "Marburg";
    QCOMPARE(l.OrtFuerNeuesGrundstueckSuchen(p, &m), L::OrtSuche::EinTreffer);
    QCOMPARE(l.text_1[0], "35390");
    QCOMPARE(l.text_1[1], QString::fromUtf8("Gießen"));
    QCOMPARE(p.AktGemeindeschluessel, "06531005");
    QCOMPARE(p.AktPlz, "35390");
    QVERIFY(p.AktOrtId > 0);

    l.text_1[0] = "35";
    QCOMPARE(l.OrtFuerNeuesGrundstueckSuchen(p, &m), L::OrtSuche::MehrereTreffer);
    QCOMPARE(p.SuchArt, "suche nach ort");
    QCOMPARE(p.RsSuche.anzahl(), 3);
    QCOMPARE(p.RsSuche.position(), 0);

    // Without a postcode the name, case-insensitively, as a prefix.
    l.text_1[0] = "";
    l.text_1[1] = QString::fromUtf8("ÜBER");
    QCOMPARE(l.OrtFuerNeuesGrundstueckSuchen(p, &m), L::OrtSuche::EinTreffer);
    QCOMPARE(l.text_1[1], QString::fromUtf8("Überlingen"));

    for (const QString& boese : {QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("o'b"), QStringLiteral("\\")}) {
        l.text_1[0] = "";
        l.text_1[1] = boese;
        QCOMPARE(l.OrtFuerNeuesGrundstueckSuchen(p, &m), L::OrtSuche::KeinTreffer);
        QCOMPARE(m.text, "Kein Treffer mit diesem Namen in der Datenbank!");
    }
}

void TestGrundstueck::formularKunde() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    DialogAufzeichnung boxen;
    waehle("9999");
    auto* f = formen::zeige<frmGrundstueckMaske>();
    QVERIFY(f);
    QVERIFY(boxen.meldungen.isEmpty());
    QCOMPARE(f->windowTitle(), " ");
    QCOMPARE(f->SSTab1->tabText(0), "Grunddaten");
    QCOMPARE(f->SSTab1->tabText(1), "Zusatzdaten");
    // A street record: the street spreads over the house-number position.
    QCOMPARE(f->label[2]->text(), "Strasse:");
    QVERIFY(!f->text_1[4]->isVisibleTo(f));
    QCOMPARE(f->text_1[3]->text(), QString::fromUtf8("Teststraße"));
    // Read-only and out of the tab order; only "&Zurück" among the buttons.
    for (QLineEdit* e : f->text_1 + f->text_2) {
        QVERIFY(e->isReadOnly());
        QCOMPARE(e->focusPolicy(), Qt::NoFocus);
    }
    for (QPushButton* b : {f->cmdRueckwaerts, f->cmdVorwaerts, f->cmdOrte, f->cmdWerteKopieren, f->cmdLoeschen, f->cmdSpeichern})
        QVERIFY(!b->isVisibleTo(f));
    QVERIFY(f->cmdZurueck->isVisibleTo(f));
    QCOMPARE(f->cmdZurueck->toolTip(), "Schliessen dieses Fensters");
    QCOMPARE(test::protokollZeilen(), 1);

    // Closing returns to the information groups.
    f->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmInformationsGruppen"});
}

void TestGrundstueck::formularBearbeitung() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeTestStrasseAn();
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.Ausgabe = 1;
    waehle("12a");
    auto* f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    QCOMPARE(f->label[2]->text(), "Strasse / Hausnummer:");
    QVERIFY(f->cmdVorwaerts->isVisibleTo(f));
    QVERIFY(f->cmdRueckwaerts->isVisibleTo(f));
    QVERIFY(!f->cmdOrte->isVisibleTo(f));
    QVERIFY(f->cmdSpeichern->isVisibleTo(f));
    QCOMPARE(f->cmdSpeichern->toolTip(), "Abspeichern der Daten");
    for (int i = 0; i <= 2; ++i) QVERIFY(f->text_1[i]->isReadOnly());
    QVERIFY(!f->text_1[9]->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), f->text_1[9]);

    f->cmdVorwaerts->click();
    QCOMPARE(f->text_1[4]->text(), "13");
    QCOMPARE(f->text_1[8]->text(), QString());
    QCOMPARE(QApplication::focusWidget(), f->text_1[9]);
    // Back from 13 is 12, which does not exist (12a is no 12): the plot stays.
    f->cmdRueckwaerts->click();
    QCOMPARE(boxen.texte(), QStringList{QString::fromUtf8("Das Grundstück 'Teststraße 12' ist nicht vorhanden!")});
    QCOMPARE(f->text_1[4]->text(), "13");
    QCOMPARE(test::protokollZeilen(), 0);

    // Entry: amounts and codes are formatted when a box is left.
    f->text_1[6]->setFocus();
    f->text_1[6]->setText("99");
    QTest::keyClick(f->text_1[6], Qt::Key_Return);
    QCOMPARE(f->text_1[6]->text(), waehrung(99));
    QCOMPARE(QApplication::focusWidget(), f->text_1[7]);
    f->text_1[10]->setFocus();
    f->text_1[10]->setText("mi");
    QTest::keyClick(f->text_1[10], Qt::Key_Down);
    QCOMPARE(f->text_1[10]->text(), "Mischgebiet");
    // F4 notes the missing value, Up from the first row wraps to the last box.
    QTest::keyClick(f->text_1[10], Qt::Key_F4);
    QCOMPARE(f->text_1[14]->text(), "Keine Bodenrichtwertangabe vom GAG");
    f->text_1[1]->setFocus();
    QTest::keyClick(f->text_1[1], Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), f->text_1[15]);
    // The writing side is reached through its key and button: F2 asks first
    // (No changes nothing), the save stores the changed plot 13.
    boxen.leeren();
    QTest::keyClick(f->text_1[15], Qt::Key_F2);
    QCOMPARE(boxen.fragen, QStringList{QString::fromUtf8(
                               "Wollen Sie wirklich die Werte dieses Grundstücks auf alle Grundstücke dieser Strasse kopieren?")});
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where richtwert_minimal = 99"), 0);
    f->cmdSpeichern->click();
    QCOMPARE(boxen.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where richtwert_minimal = 99 and hausnummer = '13'"), 1);
    QCOMPARE(QApplication::focusWidget(), f->text_1[9]);
    // The second page: its first box takes the focus.
    f->SSTab1->setCurrentIndex(1);
    QCOMPARE(QApplication::focusWidget(), f->text_2[0]);
    f->text_2[3]->setFocus();
    f->text_2[3]->setText("750");
    f->text_2[4]->setFocus();
    QCOMPARE(f->text_2[3]->text(), QString::fromUtf8("750 m²"));
}

void TestGrundstueck::formularNeu() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.Ausgabe = 2;
    p.Modus = "erfassen";
    p.OrtFuerNeuesGrundstueck = true;
    // Choosing the place of a new plot is no chargeable display.
    const int protokollVorher = test::protokollZeilen();
    auto* f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    // A new plot starts from the bookmark, which this program directory lacks.
    QCOMPARE(boxen.texte(), QStringList{"Ich habe leider keine Merker-Datei gefunden!"});
    boxen.leeren();
    QVERIFY(f->cmdOrte->isVisibleTo(f));
    QVERIFY(!f->cmdVorwaerts->isVisibleTo(f));
    QCOMPARE(QApplication::focusWidget(), f->text_1[0]);

    // An empty postcode runs nothing; four digits give the five-digit message.
    QTest::keyClick(f->text_1[0], Qt::Key_Return);
    QVERIFY(boxen.meldungen.isEmpty());
    f->text_1[0]->setFocus();
    QTest::keyClicks(f->text_1[0], "3539");
    QTest::keyClick(f->text_1[0], Qt::Key_Return);
    QCOMPARE(boxen.texte(), QStringList{"Die PLZ muss exakt fuenfstellig sein!"});
    QCOMPARE(boxen.meldungen[0].titel, "Information");
    QCOMPARE(QApplication::focusWidget(), f->text_1[0]);
    QCOMPARE(p.AktOrtId, 0.0);

    // Five digits: the place is found and both boxes are locked.
    f->text_1[0]->setText("35390");
    QTest::keyClick(f->text_1[0], Qt::Key_Return);
    QCOMPARE(boxen.meldungen.size(), 1);
    QCOMPARE(f->text_1[1]->text(), QString::fromUtf8("Gießen"));
    QCOMPARE(p.AktGemeindeschluessel, "06531005");
    QVERIFY(!f->text_1[0]->isEnabled());
    QVERIFY(!f->text_1[1]->isEnabled());
    QCOMPARE(QApplication::focusWidget(), f->text_1[2]);
    QCOMPARE(test::protokollZeilen(), protokollVorher);

    // Closing the entry form clears the flag and opens nothing.
    f->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(formen::geladene().isEmpty());
    QVERIFY(!p.OrtFuerNeuesGrundstueck);

    // A name with several places goes through the selection list, which fills the place in.
    p.Modus = "erfassen";
    p.OrtFuerNeuesGrundstueck = true;
    f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    f->text_1[1]->setText("frankfurt");
    f->cmdOrte->click();
    QCOMPARE(formen::geladene(), (QStringList{"frmGrundstueckMaske", "frmAuswaehlen"}));
    QVERIFY(!f->isVisible());
    auto* liste = formen::vorhanden<frmAuswaehlen>();
    QVERIFY(liste);
    liste->cmdAuswaehlen->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(formen::geladene(), QStringList{"frmGrundstueckMaske"});
    QVERIFY(f->isVisible());
    QCOMPARE(f->text_1[0]->text(), "15230");
    QCOMPARE(f->text_1[1]->text(), "Frankfurt (Oder)");
    QVERIFY(!p.OrtFuerNeuesGrundstueck);
}

QTEST_MAIN(TestGrundstueck)
#include "tst_grundstueck.moc"
