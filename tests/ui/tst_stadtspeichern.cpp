// The place form's entry and save: the formatting of a box when it is left,
// every stored column with its unit and date rules, the appraiser link, a
// place without place data, and a new place.
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "Fixture.h"
#include "LookupHilfe.h"
#include "kit/Dialoge.h"
#include "kit/Formate.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "masterdata/ui/frmGutachterAuswahl.h"
#include "place/OrtDaten.h"
#include "place/OrtFormate.h"
#include "place/ui/frmStadtMaske.h"

using namespace talu;

namespace {

qint64 legeOrt(const Datenbank& db, const QString& schluessel, const QString& plz, const QString& name,
               const Werte& daten = {}, bool mitOrtsdaten = true) {
    const qint64 id = db.einfuegen("ortsnamen", {{"ort", name}, {"plzneu", plz}, {"gemeindeschluessel", schluessel},
                                                 {"typ", 1}});
    if (mitOrtsdaten) {
        Werte w{{"gemeindeschluessel", schluessel}, {"ortsdaten_p_id", id}};
        w += daten;
        db.einfuegen("ortsdaten", w);
    }
    return id;
}

// Leaves a box the way the operator does: focus in, type, focus out.
QString verlasse(QLineEdit* le, const QString& text) {
    QFocusEvent rein(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(le, &rein);
    le->setText(text);
    QFocusEvent raus(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(le, &raus);
    return le->text();
}

Recordset zeile(const Datenbank& db, const QString& schluessel) {
    return db.abfrage("select * from ortsdaten where gemeindeschluessel = ? order by id", {schluessel});
}

}  // namespace

class TestStadtSpeichern : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    // The rules on their own, with German number formats.
    void formatRegeln_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("einwohner") << "muster" << "12500" << "12.500";
        QTest::newRow("einwohner gruppiert") << "muster" << "12.500" << "12.500";
        QTest::newRow("einwohner 0") << "muster" << "0" << "";
        QTest::newRow("einwohner text") << "muster" << "viele" << "viele";
        QTest::newRow("flaeche") << "km2" << "1234" << "1.234 km²";
        QTest::newRow("flaeche erneut") << "km2" << "1.234 km²" << "1.234 km²";
        QTest::newRow("tiefe") << "m" << "25" << "25 m";
        QTest::newRow("zonenflaeche") << "m2" << "1200,4" << "1.200 m²";
        QTest::newRow("betrag") << "betrag" << "1250" << "1.250,00\u00a0€";
        QTest::newRow("betrag komma") << "betrag" << "12,5" << "12,50\u00a0€";
        QTest::newRow("betrag schon") << "betrag" << "12,50\u00a0€" << "12,50\u00a0€";
        QTest::newRow("betrag text") << "betrag" << "abc" << "abc";
        QTest::newRow("betrag leer") << "betrag" << "" << "";
        QTest::newRow("code wa") << "code" << " WA " << "Allgemeines Wohngebiet";
        QTest::newRow("code ge 1") << "code" << "ge 1" << "Gewerbegebiet (prod. Gewerbe)";
        QTest::newRow("code j") << "code" << "j" << "Ja";
        QTest::newRow("code z") << "code" << "z" << "Zonenrichtwert";
        QTest::newRow("code lang") << "code" << "Mischgebiet" << "Mischgebiet";
        QTest::newRow("code unbekannt") << "code" << "xy" << "xy";
    }
    void formatRegeln() {
        QFETCH(QString, regel);
        QFETCH(QString, eingabe);
        QFETCH(QString, erwartet);
        QString ist;
        if (regel == "muster") ist = ort::formatiereMuster(eingabe);
        else if (regel == "km2") ist = ort::formatiereMuster(eingabe, " km²");
        else if (regel == "m") ist = ort::formatiereMuster(eingabe, " m");
        else if (regel == "m2") ist = ort::formatiereMuster(eingabe, " m²");
        else if (regel == "betrag") ist = ort::formatiereBetrag(eingabe);
        else ist = ort::formatiereCode(eingabe);
        QCOMPARE(ist, erwartet);
    }

    void speicherRegeln() {
        QCOMPARE(ort::ohneEinheit(" 25 m ", "m"), QString("25"));
        QCOMPARE(ort::ohneEinheit("25 M", "m"), QString("25"));
        QCOMPARE(ort::ohneEinheit("", "m"), QString());
        QCOMPARE(ort::ohneEinheit("tief", "m"), QString());
        QCOMPARE(ort::ohneEinheit("1.200 m²", "m²"), QString("1.200"));
        QCOMPARE(ort::betrag("12,50\u00a0€"), 12.5);
        QCOMPARE(ort::betrag(""), 0.0);
        QCOMPARE(ort::betrag("abc"), 0.0);
        QCOMPARE(ort::datumOderNull("01.05.2001").toDate(), QDate(2001, 5, 1));
        QCOMPARE(ort::datumOderNull("1.5.01").toDate(), QDate(2001, 5, 1));
        QVERIFY(ort::datumOderNull("31.02.2001").isNull());
        QVERIFY(ort::datumOderNull("bald").isNull());
        QCOMPARE(ort::code("Zonenrichtwert"), QString("z"));
        QCOMPARE(ort::code("wa"), QString("wa"));  // a code left as typed is stored as code
        QCOMPARE(ort::code("Baureifes Land"), QString("b"));
        bool hat = false;
        QCOMPARE(ort::flaecheAusText("1.234 KM²", &hat).toDouble(), 1234.0);
        QVERIFY(hat);
        QVERIFY(ort::flaecheAusText("abc km²", &hat).isNull());
        QVERIFY(hat);
        ort::flaecheAusText("1234", &hat);
        QVERIFY(!hat);
        QCOMPARE(ort::ortstypAusText("Kreisfreie Stadt"), 0);
        QCOMPARE(ort::ortstypAusText("gemeinde"), 2);
        QCOMPARE(ort::ortstypAusText("Dorf"), -1);
    }

    // Leaving boxes of the form applies the rules; the customer edition leaves text alone.
    void verlassenFormatiert_data() { test::backendZeilen(); }
    void verlassenFormatiert() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main"));
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(verlasse(f->box(1, 13), "1250"), QString("1.250,00\u00a0€"));
        QCOMPARE(verlasse(f->box(1, 15), "abc"), QString("abc"));
        QCOMPARE(verlasse(f->box(2, 0), "wa"), QString("Allgemeines Wohngebiet"));
        QCOMPARE(verlasse(f->box(4, 0), "ge 1"), QString("Gewerbegebiet (prod. Gewerbe)"));
        QCOMPARE(verlasse(f->box(3, 1), "r"), QString("Rohbauland"));
        QCOMPARE(verlasse(f->box(3, 2), "g"), QString("Geschlossene Bauweise"));
        QCOMPARE(verlasse(f->box(3, 7), "n"), QString("Nein"));
        QCOMPARE(verlasse(f->box(4, 14), "z"), QString("Zonenrichtwert"));
        QCOMPARE(verlasse(f->box(2, 5), "25"), QString("25 m"));
        QCOMPARE(verlasse(f->box(2, 6), "1200"), QString("1.200 m²"));
        QCOMPARE(verlasse(f->box(2, 8), "350"), QString("350,00\u00a0€"));
        QCOMPARE(verlasse(f->box(2, 3), "0,8"), QString("0,8"));  // no rule for the GFZ
        // Locked boxes of a loaded place are not reformatted.
        QCOMPARE(verlasse(f->box(1, 7), "12500"), QString("12500"));
        formen::schliesseAlleKinder();

        // A new place: inhabitants and area are open and formatted.
        p.Modus = "erfassen";
        f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(verlasse(f->box(1, 7), "12500"), QString("12.500"));
        QCOMPARE(verlasse(f->box(1, 11), "1234"), QString("1.234 km²"));
        formen::schliesseAlleKinder();

        p.Ausgabe = 3;
        p.Modus = "aendern";
        f = formen::zeige<frmStadtMaske>();
        QCOMPARE(verlasse(f->box(2, 0), "wa"), QString("wa"));
    }

    // Every column the save writes, from what the boxes show.
    void speichernSpalten_data() { test::backendZeilen(); }
    void speichernSpalten() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 gid = 0;
        auto fuelle = [&] {
            gid = p.Verbindung.einfuegen("gutachter", {{"name", "GA Süd"}, {"ort", "Ulm"}});
            legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main",
                    {{"id_gutachter", gid}, {"einwohnerzahl", 641076}, {"flaeche", 248}, {"gruenland", 3.0}});
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(f->box(1, 7)->text(), QString("641.076"));
        QCOMPARE(p.GewaehlteGutachterId, double(gid));
        f->box(1, 12)->setText("Neue Bemerkung mit 'Apostroph'");
        f->box(1, 13)->setText(waehrung(12.5));
        f->box(1, 14)->setText("");
        f->box(1, 15)->setText("abc");
        f->box(1, 17)->setText("01.05.2001");
        const QString lang(150, QChar('x'));
        for (int z = 0; z < 3; ++z) {
            const int b = z + 2;
            f->box(b, 0)->setText(z == 2 ? "ge 1" : "Allgemeines Wohngebiet");
            f->box(b, 1)->setText("Baureifes Land");
            f->box(b, 2)->setText("Offene Bauweise");
            f->box(b, 3)->setText("0,8");
            f->box(b, 4)->setText("II");
            f->box(b, 5)->setText(z == 1 ? "" : "25 m");
            f->box(b, 6)->setText("1.200 m²");
            f->box(b, 7)->setText(z == 1 ? "Nein" : "Ja");
            f->box(b, 8)->setText(waehrung(100));
            f->box(b, 9)->setText("");
            f->box(b, 10)->setText("x");
            f->box(b, 11)->setText("1.234,5");
            f->box(b, 12)->setText(lang.left(99));
            f->box(b, 13)->setText(z == 0 ? "kein Datum" : "02.01.2002");
            f->box(b, 14)->setText(z == 2 ? "Zonenrichtwert" : "Listenrichtwert");
            f->box(b, 15)->setText("Quelle " + QString::number(z));
        }
        f->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QCOMPARE(dialoge.meldungen[0].titel, QString("Information"));

        Recordset r;
        TALU_DB_OK(r = zeile(p.Verbindung, "06412000"));
        QCOMPARE(r.anzahl(), 1);
        QCOMPARE(r.zahl("gruenland"), 12.5);
        QCOMPARE(r.zahl("ackerland"), 0.0);
        QCOMPARE(r.zahl("forstland"), 0.0);
        QCOMPARE(r.zahl("id_gutachter"), double(gid));  // unchanged without a pick
        QCOMPARE(r.zahl("einwohnerzahl"), 641076.0);     // "641.076" read back as number
        QCOMPARE(r.zahl("flaeche"), 248.0);              // "248 km²"
        QCOMPARE(r.text("bemerkung"), QString("Neue Bemerkung mit 'Apostroph'"));
        QCOMPARE(r.datum("est"), QDate(2001, 5, 1));
        for (int z = 1; z <= 3; ++z) {
            const QString n = QString::number(z);
            QCOMPARE(r.text("bauliche_nutzung_" + n), QString(z == 3 ? "ge 1" : "wa"));
            QCOMPARE(r.text("entwicklungszustand_" + n), QString("b"));
            QCOMPARE(r.text("bauweise_" + n), QString("o"));
            QCOMPARE(r.text("geschossflaechenzahl_" + n), QString("0,8"));
            QCOMPARE(r.text("anzahl_der_geschosse_" + n), QString("II"));
            QCOMPARE(r.text("grundstueckstiefe_" + n), QString(z == 2 ? "" : "25"));
            QVERIFY(!r.istNull("grundstueckstiefe_" + n));
            QCOMPARE(r.text("grundstuecksflaeche_" + n), QString("1.200"));
            QCOMPARE(r.text("beitragspflichtig_" + n), QString(z == 2 ? "n" : "j"));
            QCOMPARE(r.zahl("brw_minimal_" + n), 100.0);
            QCOMPARE(r.zahl("brw_durchschnitt_" + n), 0.0);
            QCOMPARE(r.zahl("brw_maximal_" + n), 0.0);
            QCOMPARE(r.zahl("brw_tatsaechlich_" + n), 1234.5);
            QCOMPARE(r.text("bemerkung_" + n).size(), 99);
        }
        QVERIFY(r.istNull("estwohn"));
        QCOMPARE(r.datum("estmisch"), QDate(2002, 1, 2));
        QCOMPARE(r.text("richtwerttypgewerbe"), QString("z"));
        QCOMPARE(r.text("richtwerttypwohn"), QString("l"));
        QCOMPARE(r.text("quellenangabemisch"), QString("Quelle 1"));

        // Unreadable numbers never stop the save: inhabitants and area become Null.
        p.Modus = "erfassen";  // unlock the boxes for this check
        formen::schliesseAlleKinder();
        OrtBoxen b;
        b(1, 7) = "viele";
        b(1, 11) = "groß km²";
        TALU_DB_OK(OrtDaten(p.Verbindung).speichere("06412000", b, 0));
        TALU_DB_OK(r = zeile(p.Verbindung, "06412000"));
        QVERIFY(r.istNull("einwohnerzahl"));
        QVERIFY(r.istNull("flaeche"));
        QVERIFY(r.istNull("id_gutachter"));  // no appraiser: Null
        // An area box without "km²" leaves the stored area alone.
        TALU_DB_OK(p.Verbindung.ausfuehren("update ortsdaten set flaeche = 77"));
        b(1, 11) = "";
        TALU_DB_OK(OrtDaten(p.Verbindung).speichere("06412000", b, 0));
        TALU_DB_OK(r = zeile(p.Verbindung, "06412000"));
        QCOMPARE(r.zahl("flaeche"), 77.0);
    }

    // The appraiser pick: search by part of the name, the choice is saved.
    void gutachterWahl_data() { test::backendZeilen(); }
    void gutachterWahl() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 alt = 0, neu = 0;
        auto fuelle = [&] {
            alt = p.Verbindung.einfuegen("gutachter", {{"name", "Gutachterausschuss Alt"}, {"ort", "A"}});
            neu = p.Verbindung.einfuegen("gutachter", {{"name", " Büro O'Neill "}, {"ort", " Überlingen "}});
            p.Verbindung.einfuegen("gutachter", {{"name", "100% Gutachten"}, {"ort", "B"}});
            legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main", {{"id_gutachter", alt}});
            legeOrt(p.Verbindung, "06412001", "60312", "Ohne", {});
        };
        TALU_DB_OK(fuelle());
        QList<GutachterTreffer> t;
        TALU_DB_OK(t = sucheGutachter(p.Verbindung, "o'neill"));
        QCOMPARE(t.size(), 1);
        QCOMPARE(t[0].anzeige(), QString("Büro O'Neill, Überlingen"));
        TALU_DB_OK(t = sucheGutachter(p.Verbindung, "BÜRO"));
        QCOMPARE(t.size(), 1);
        TALU_DB_OK(t = sucheGutachter(p.Verbindung, "%"));
        QCOMPARE(t.size(), 1);  // % is a character, not a pattern
        TALU_DB_OK(t = sucheGutachter(p.Verbindung, ""));
        QCOMPARE(t.size(), 3);
        // A pick of an appraiser without town reads as the load shows it: "Name, ".
        waehleGutachterFuerOrt(p, GutachterTreffer{7, " Büro Lahn ", QString()});
        QCOMPARE(p.GewaehlterGutachter, QString("Büro Lahn, "));
        QCOMPARE(p.GewaehlteGutachterId, 7.0);
        p.GewaehlterGutachter.clear();
        p.GewaehlteGutachterId = 0;

        DialogAufzeichnung dialoge;
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QCOMPARE(f->box(1, 16)->text(), QString("Gutachterausschuss Alt, A"));
        f->cmdGutachter->click();
        QVERIFY(p.AuswahlFuerStadtMaske);
        QCOMPARE(p.SuchArt, QString("Gutachter mit Ort verknüpfen"));
        QVERIFY(!f->isVisible());
        auto* w = formen::vorhanden<frmGutachterAuswahl>("frmGutachterAuswahl");
        QVERIFY(w);
        QCOMPARE(w->treffer().size(), 3);
        w->text0->setText("neill");
        w->cmdSuchen->click();
        QCOMPARE(w->treffer().size(), 1);
        w->cmdAuswaehlen->click();
        QVERIFY(!formen::vorhanden("frmGutachterAuswahl"));
        QVERIFY(f->isVisible());
        QVERIFY(!p.AuswahlFuerStadtMaske);
        QCOMPARE(p.GewaehlteGutachterId, double(neu));
        QCOMPARE(f->box(1, 16)->text(), QString("Büro O'Neill, Überlingen"));
        QCOMPARE(f->box(5, 0)->text(), QString("Büro O'Neill"));
        f->cmdSpeichern->click();
        QCOMPARE(p.Verbindung.wert("select id_gutachter from ortsdaten where gemeindeschluessel = '06412000'").toLongLong(),
                 neu);

        // Cancelling the pick brings the form back and keeps the appraiser.
        f->cmdGutachter->click();
        formen::vorhanden<frmGutachterAuswahl>("frmGutachterAuswahl")->cmdAbbrechen->click();
        QVERIFY(f->isVisible());
        QCOMPARE(p.GewaehlteGutachterId, double(neu));
        formen::schliesseAlleKinder();

        // A place without appraiser keeps none.
        p.AktGemeindeschluessel = "06412001";
        f = formen::zeige<frmStadtMaske>();
        QCOMPARE(f->box(1, 16)->text(), QString("Kein Gutachter eingetragen"));
        f->cmdSpeichern->click();
        QVERIFY(p.Verbindung.wert("select id_gutachter from ortsdaten where gemeindeschluessel = '06412001'").isNull());
    }

    // A place with no ortsdaten row: the save creates it.
    void ohneOrtsdaten_data() { test::backendZeilen(); }
    void ohneOrtsdaten() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        TALU_DB_OK(id = legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main", {}, false));
        DialogAufzeichnung dialoge;
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = "06412000";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f);
        QVERIFY(dialoge.meldungen.isEmpty());
        QCOMPARE(f->box(1, 1)->text(), QString("Frankfurt am Main"));
        QCOMPARE(f->box(2, 0)->text(), QString());
        verlasse(f->box(2, 0), "wa");
        f->box(1, 12)->setText("neu");
        f->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        Recordset r;
        TALU_DB_OK(r = zeile(p.Verbindung, "06412000"));
        QCOMPARE(r.anzahl(), 1);
        QCOMPARE(r.zahl("ortsdaten_p_id"), double(id));
        QCOMPARE(r.text("bauliche_nutzung_1"), QString("wa"));
        QCOMPARE(r.text("bemerkung"), QString("neu"));
        // Saving again changes that row, it does not add another.
        f->cmdSpeichern->click();
        TALU_DB_OK(r = zeile(p.Verbindung, "06412000"));
        QCOMPARE(r.anzahl(), 1);

        // A key with no place at all is refused with the reason.
        OrtBoxen b;
        bool geworfen = false;
        try {
            OrtDaten(p.Verbindung).speichere("99999999", b, 0);
        } catch (const DbFehler& e) {
            geworfen = e.kurz() == "Ort nicht gefunden";
        }
        QVERIFY(geworfen);
        QCOMPARE(p.Verbindung.wert("select count(*) from ortsdaten").toInt(), 1);
    }

    // "Ort erfassen": the save creates the place and its data, or says why not.
    void neuerOrt_data() { test::backendZeilen(); }
    void neuerOrt() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        auto fuelle = [&] {
            p.Verbindung.einfuegen("kreis", {{"kenn", "06533"}, {"kreis", "Limburg-Weilburg"}});
            p.Verbindung.einfuegen("regbez", {{"kenn", "065"}, {"regbez", "Gießen"}});
            p.Verbindung.einfuegen("bundeslaender", {{"kenn", "06"}, {"bundesland", "Hessen"}});
            legeOrt(p.Verbindung, "06412000", "60311", "Frankfurt am Main");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "erfassen";
        auto* f = formen::zeige<frmStadtMaske>();
        QVERIFY(f && f->istNeuerOrt());
        QVERIFY(f->cmdKreis->isVisibleTo(f));
        for (int i : {0, 1, 5, 6, 7, 10, 11, 12}) QVERIFY(!f->box(1, i)->isReadOnly());
        for (int i : {2, 3, 4, 8, 9, 16}) QVERIFY(f->box(1, i)->isReadOnly());

        // Nothing typed: nothing written, and the operator learns why.
        f->cmdSpeichern->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].text.contains("fünf Ziffern"));
        QVERIFY(dialoge.meldungen[0].text.contains("acht Ziffern"));
        QCOMPARE(p.Verbindung.wert("select count(*) from ortsnamen").toInt(), 1);

        // A key that already has place data is refused.
        dialoge.leeren();
        f->box(1, 0)->setText("60599");
        f->box(1, 1)->setText("Neu-Frankfurt");
        f->box(1, 5)->setText("06412000");
        f->box(1, 10)->setText("Stadt");
        f->cmdSpeichern->click();
        QVERIFY(dialoge.texte().join("").contains("bereits Ortsdaten"));
        QCOMPARE(p.Verbindung.wert("select count(*) from ortsnamen").toInt(), 1);

        dialoge.leeren();
        f->box(1, 0)->setText("35781");
        f->box(1, 1)->setText("Weilburg");
        verlasse(f->box(1, 5), "06533013");
        QCOMPARE(f->box(1, 2)->text(), QString("Limburg-Weilburg"));
        QCOMPARE(f->box(1, 3)->text(), QString("Gießen"));
        QCOMPARE(f->box(1, 4)->text(), QString("Hessen"));
        verlasse(f->box(1, 6), "13500");
        verlasse(f->box(1, 7), "12800");
        verlasse(f->box(1, 11), "55");
        f->box(1, 10)->setText("Gemeinde");
        verlasse(f->box(2, 0), "wr");
        f->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QVERIFY(!f->istNeuerOrt());
        QCOMPARE(p.AktGemeindeschluessel, QString("06533013"));
        QVERIFY(f->box(1, 5)->isReadOnly());
        Recordset o;
        TALU_DB_OK(o = p.Verbindung.abfrage("select * from ortsnamen where gemeindeschluessel = '06533013'"));
        QCOMPARE(o.anzahl(), 1);
        QCOMPARE(o.text("ort"), QString("Weilburg"));
        QCOMPARE(o.text("plzneu"), QString("35781"));
        QCOMPARE(o.zahl("typ"), 2.0);
        Recordset r;
        TALU_DB_OK(r = zeile(p.Verbindung, "06533013"));
        QCOMPARE(r.anzahl(), 1);
        QCOMPARE(r.zahl("ortsdaten_p_id"), o.zahl("id"));
        QCOMPARE(r.zahl("einw1000"), 13.5);
        QCOMPARE(r.zahl("einwohnerzahl"), 12800.0);
        QCOMPARE(r.zahl("flaeche"), 55.0);
        QCOMPARE(r.text("bauliche_nutzung_1"), QString("wr"));
        // The new place loads like any other.
        OrtAnzeige a;
        TALU_DB_OK(a = OrtDaten(p.Verbindung).lade("06533013"));
        QCOMPARE(a.boxen(1, 7), QString("12.800"));
        QCOMPARE(a.boxen(1, 6), QString("13.500"));
        QCOMPARE(a.boxen(1, 11), QString("55 km²"));
        // A second save now changes the place data instead of creating another place.
        f->cmdSpeichern->click();
        QCOMPARE(p.Verbindung.wert("select count(*) from ortsnamen where gemeindeschluessel = '06533013'").toInt(), 1);
    }
};

QTEST_MAIN(TestStadtSpeichern)
#include "tst_stadtspeichern.moc"
