// The writing side of the plot form: the save with its checks and stored
// columns, the bookmark file, copying a plot's values to its street or place,
// deleting a plot or a street, and the form's questions and messages.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "lookup/SucheDaten.h"
#include "plot/WerteKopieren.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"
#include "plot/Merker.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;
using L = GrundstueckMaskeLogik;

namespace {
const QString kSchluessel = "07777001";
const QString kNachbarort = "07777002";
const QString kStrasse = QString::fromUtf8("Teststraße");

const Datenbank& db() { return publics().Verbindung; }

void legeOrteAn() {
    db().einfuegen("ortsnamen", {{"ort", "Testort"}, {"plzneu", "77701"}, {"gemeindeschluessel", kSchluessel}, {"typ", 1}});
    db().einfuegen("ortsnamen", {{"ort", "Nachbarort"}, {"plzneu", "77702"}, {"gemeindeschluessel", kNachbarort}, {"typ", 2}});
}

// A plot whose every column differs from the other plots'.
qint64 plot(const QString& schluessel, const QString& strasse, const QString& nr, double wert,
            const QString& ortsteil = "Mitte") {
    return db().einfuegen("grundstuecke", {
        {"gemeindeschluessel", schluessel}, {"ortsteil", ortsteil}, {"strassen_name", strasse},
        {"hausnummer", nr}, {"hausnummer_numerisch", fuehrendeZahl(nr)}, {"flurstueck", "Flur " + nr},
        {"richtwert_minimal", wert}, {"richtwert_durchschnitt", wert + 1}, {"richtwert_maximal", wert + 2},
        {"richtwert_tatsaechlich", wert > 100 ? QVariant() : QVariant(wert + 3)},
        {"bauliche_nutzung", "mi"}, {"entwicklungszustand", "r"}, {"bauweise", "g"}, {"richtwerttyp", "l"},
        {"bemerkung", "Bemerkung " + nr}, {"quellenangabe", "Quelle " + nr}, {"loeschen", "nein"},
        {"geschossflaechenzahl", "0." + nr}, {"anzahl_der_geschosse", nr}, {"beitragspflichtig", "n"},
        {"grundstueckstiefe", "3" + nr}, {"grundstuecksflaeche", "4" + nr}, {"sanierungsgebiet", "j"},
        {"sananfangende", "ew"}, {"x_koordinate", "x" + nr}, {"y_koordinate", "y" + nr},
        {"umt_1", "u" + nr}, {"umt_2", "v" + nr}});
}

// The whole table, row by row, for before/after comparisons.
QStringList tabelle() {
    QStringList zeilen;
    const Recordset rs = db().abfrage("select * from grundstuecke order by id");
    Recordset r = rs;
    for (r.moveFirst(); !r.eof(); r.moveNext()) {
        QStringList z;
        for (const char* s : {"id", "gemeindeschluessel", "ortsteil", "strassen_name", "hausnummer", "flurstueck",
                                 "richtwert_minimal", "richtwert_durchschnitt", "richtwert_maximal",
                                 "richtwert_tatsaechlich", "bauliche_nutzung", "entwicklungszustand", "bauweise",
                                 "richtwerttyp", "bemerkung", "quellenangabe", "geschossflaechenzahl",
                                 "anzahl_der_geschosse", "beitragspflichtig", "grundstueckstiefe",
                                 "grundstuecksflaeche", "sanierungsgebiet", "sananfangende", "x_koordinate",
                                 "y_koordinate", "umt_1", "umt_2"}) {
            const QVariant v = r.feld(s);
            z << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        zeilen << z.join('|');
    }
    return zeilen;
}

// Six plots of the street, one more under the same name in capitals, two of
// another street, one of the same street name in the neighbouring place.
struct Strasse {
    QList<qint64> ids;  // the seven plots of the street
    qint64 quelle = 0;
};
Strasse legeStrasseAn() {
    legeOrteAn();
    Strasse s;
    for (int i = 1; i <= 6; ++i) s.ids << plot(kSchluessel, kStrasse, QString::number(i), 100 + i, "Ort" + QString::number(i));
    s.ids << plot(kSchluessel, QString::fromUtf8("TESTSTRAßE"), "7", 107, "Nord");
    plot(kSchluessel, "Andere Gasse", "1", 50);
    plot(kSchluessel, "Andere Gasse", "2", 51);
    plot(kNachbarort, kStrasse, "1", 60);
    s.quelle = s.ids[2];
    db().aendern("grundstuecke", s.quelle, {{"richtwert_minimal", 222.5}, {"richtwert_tatsaechlich", QVariant()},
                                              {"bemerkung", QString::fromUtf8("Übertragen")}, {"bauliche_nutzung", "wa"}});
    return s;
}

// The copy as a plain loop over the plots, one update per row.
void kopiereReferenz(qint64 quelleId, GrundstueckDaten::Bereich bereich) {
    Recordset q = db().abfrage("select * from grundstuecke where id = ?", {quelleId});
    q.moveFirst();
    Werte werte;
    for (const QString& s : GrundstueckDaten::kopierSpalten(bereich)) werte << qMakePair(s, q.feld(s));
    Recordset ziele = db().abfrage("select * from grundstuecke where gemeindeschluessel = ?", {q.feld("gemeindeschluessel")});
    for (ziele.moveFirst(); !ziele.eof(); ziele.moveNext()) {
        if (bereich == GrundstueckDaten::Bereich::Strasse &&
            ziele.text("strassen_name").toLower() != q.text("strassen_name").toLower())
            continue;
        db().aendern("grundstuecke", ziele.zahl("id"), werte);
    }
}

// Makes the update of one plot fail inside the server.
void fehlerBeiAenderung(qint64 id) {
    if (db().backend() == Backend::SQLite) {
        db().ausfuehren(QString("create trigger t_fehler before update on grundstuecke when old.id = %1 "
                                "begin select raise(abort, 'eingeschleuster Fehler'); end").arg(id));
    } else {
        db().ausfuehren("create function t_fehler() returns trigger language plpgsql as "
                        "$$ begin raise exception 'eingeschleuster Fehler'; end $$");
        db().ausfuehren(QString("create trigger t_fehler before update on grundstuecke for each row "
                                "when (old.id = %1) execute function t_fehler()").arg(id));
    }
}

// Another client's plot, inserted right after each plot of "Neue Straße".
void fremdeEinfuegungDazwischen() {
    if (db().backend() == Backend::SQLite) {
        db().ausfuehren(QString::fromUtf8(
            "create trigger t_dazwischen after insert on grundstuecke when new.strassen_name = 'Neue Straße' "
            "begin insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, loeschen) "
            "values (new.gemeindeschluessel, 'Fremde Straße', '1', 'nein'); end"));
    } else {
        db().ausfuehren(QString::fromUtf8(
            "create function t_dazwischen() returns trigger language plpgsql as $$ begin "
            "if new.strassen_name = 'Neue Straße' then insert into grundstuecke "
            "(gemeindeschluessel, strassen_name, hausnummer, loeschen) "
            "values (new.gemeindeschluessel, 'Fremde Straße', '1', 'nein'); end if; return null; end $$"));
        db().ausfuehren("create trigger t_dazwischen after insert on grundstuecke for each row "
                        "execute function t_dazwischen()");
    }
}

// The boxes of a new plot as an operator fills them.
L neuesGrundstueck() {
    L l;
    l.text_1[0] = "77701";
    l.text_1[1] = "Testort";
    l.text_1[2] = QString::fromUtf8("Süd");
    l.text_1[3] = QString::fromUtf8("Neue Straße");
    l.text_1[4] = "12a";
    l.text_1[5] = "Flur 3, 7/1";
    l.text_1[6] = waehrung(125);
    l.text_1[7] = "";
    l.text_1[8] = waehrung(1234.5);
    l.text_1[9] = "  ";
    l.text_1[10] = "Allgemeines Wohngebiet";
    l.text_1[11] = "Rohbauland";
    l.text_1[12] = "o";  // a code typed and not yet translated
    l.text_1[13] = "Unbekannter Typ";
    l.text_1[14] = QString(120, 'x');
    l.text_1[15] = QString::fromUtf8("Gutachterausschuß");
    l.text_2[0] = "0,8";
    l.text_2[1] = "III";
    l.text_2[2] = "25 m";
    l.text_2[3] = QString::fromUtf8("500 m²");
    l.text_2[4] = "Ja";
    l.text_2[5] = "Nein";
    l.text_2[6] = "Anfangswert";
    l.text_2[7] = "50.1";
    l.text_2[8] = "8.6";
    l.text_2[9] = "3470000";
    l.text_2[10] = "5550000";
    return l;
}

void ortGewaehlt() {
    Publics& p = publics();
    p.AktGemeindeschluessel = kSchluessel;
    p.AktOrtId = db().wert("select id from ortsnamen where gemeindeschluessel = ?", {kSchluessel}).toDouble();
}

QString merkerPfad() { return programmDatei("merker.txt"); }

void schreibeDatei(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(inhalt);
}

}  // namespace

class TestGrundstueckSchreiben : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void pruefungen_data() { test::backendZeilen(); }
    void pruefungen();
    void gespeicherteSpalten_data() { test::backendZeilen(); }
    void gespeicherteSpalten();
    void neueIdTrotzFremderEinfuegung_data() { test::backendZeilen(); }
    void neueIdTrotzFremderEinfuegung();
    void aenderungOhneZeile_data() { test::backendZeilen(); }
    void aenderungOhneZeile();
    void merker();
    void merkerBeschaedigt();
    void kopierenWieReferenz_data();
    void kopierenWieReferenz();
    void kopierenFehlerAendertNichts_data() { test::backendZeilen(); }
    void kopierenFehlerAendertNichts();
    void loeschen_data() { test::backendZeilen(); }
    void loeschen();
    void formular_data() { test::backendZeilen(); }
    void formular();
    void neuesGrundstueckImFormular_data() { test::backendZeilen(); }
    void neuesGrundstueckImFormular();
};

void TestGrundstueckSchreiben::pruefungen() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeOrteAn();
    Publics& p = publics();
    p.Modus = "erfassen";
    const QString muss = QStringLiteral("' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt keine Speicherung des Datensatzes.");
    struct Fall {
        QString strasse, nummer;
        bool ort;
        QString text;
        int fokus;
    };
    const QList<Fall> faelle = {
        {"  ", "1", true, "Das Datenfeld 'Strasse" + muss, 3},
        {"Weg", " ", true, "Das Datenfeld 'hausnummer" + muss, 4},
        // Street and house number but no place chosen.
        {"Weg", "1", false,
         "Sie haben keinen Ort ausgewaehlt!Ohne dass ein Ort ausgewaehlt ist, erfolgt keine Speicherung des Datensatzes.", 0},
        // A land value that is no amount is refused, not stored as 0 or as a part of it.
        {"Weg", "1", true, QString::fromUtf8("Der Bodenrichtwert muss ein Betrag sein, zum Beispiel 125 oder 125,00 €!"), 9},
    };
    for (const Fall& f : faelle) {
        L l = neuesGrundstueck();
        l.text_1[3] = f.strasse;
        l.text_1[4] = f.nummer;
        if (f.fokus == 9) l.text_1[9] = waehrung(125) + "200";
        p.AktOrtId = 0;
        if (f.ort) ortGewaehlt();
        bool gespeichert = true;
        int fokus = -1;
        const QList<Meldung> m = l.Speichern(p, merkerPfad(), &gespeichert, &fokus);
        QVERIFY(!gespeichert);
        QCOMPARE(m.size(), 1);
        QCOMPARE(m[0].text, f.text);
        QCOMPARE(m[0].titel, "Information");
        QCOMPARE(m[0].art, Meldung::Information);
        QCOMPARE(fokus, f.fokus);
        QCOMPARE(test::zaehle("select count(*) from grundstuecke"), 0);
        QCOMPARE(p.Modus, "erfassen");
        QVERIFY(!QFile::exists(merkerPfad()));
    }
}

void TestGrundstueckSchreiben::gespeicherteSpalten() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeOrteAn();
    Publics& p = publics();
    p.Modus = "erfassen";
    ortGewaehlt();
    L l = neuesGrundstueck();
    bool gespeichert = false;
    int fokus = -1;
    QList<Meldung> m;
    TALU_DB_OK(m = l.Speichern(p, merkerPfad(), &gespeichert, &fokus));
    QVERIFY(gespeichert);
    QCOMPARE(m.size(), 1);
    QCOMPARE(m[0].text, "Der Datensatz wurde gespeichert!");
    QCOMPARE(fokus, 9);
    QCOMPARE(p.Modus, "aendern");
    // The form now shows the stored row.
    QVERIFY(!p.RsSuche.eof());
    QCOMPARE(p.RsSuche.zahl("id"), l.GrundstueckId);

    Recordset r = db().abfrage("select * from grundstuecke where id = ?", {l.GrundstueckId});
    r.moveFirst();
    QCOMPARE(r.zahl("id_orte"), p.AktOrtId);
    QCOMPARE(r.text("gemeindeschluessel"), kSchluessel);
    QCOMPARE(r.text("ortsteil"), QString::fromUtf8("Süd"));
    QCOMPARE(r.text("hausnummer"), "12a");
    QCOMPARE(r.zahl("hausnummer_numerisch"), 12.0);
    QCOMPARE(r.zahl("richtwert_minimal"), 125.0);
    QCOMPARE(r.zahl("richtwert_durchschnitt"), 0.0);  // empty box
    QCOMPARE(r.zahl("richtwert_maximal"), 1234.5);
    QCOMPARE(r.zahl("richtwert_tatsaechlich"), 0.0);  // blanks only
    QCOMPARE(r.text("bauliche_nutzung"), "wa");
    QCOMPARE(r.text("entwicklungszustand"), "r");
    QCOMPARE(r.text("bauweise"), "o");
    QCOMPARE(r.text("richtwerttyp"), "");  // no known code or text
    QCOMPARE(r.text("bemerkung"), QString(100, 'x'));
    QCOMPARE(r.text("quellenangabe"), QString::fromUtf8("Gutachterausschuß"));
    QCOMPARE(r.text("loeschen"), "nein");
    QCOMPARE(r.text("geschossflaechenzahl"), "0,8");
    QCOMPARE(r.text("grundstueckstiefe"), "25");
    QCOMPARE(r.text("grundstuecksflaeche"), "500");
    QCOMPARE(r.text("beitragspflichtig"), "Ja");
    QCOMPARE(r.text("sanierungsgebiet"), "Nein");
    QCOMPARE(r.text("sananfangende"), "aw");
    QCOMPARE(r.text("umt_2"), "5550000");
    // The street is found by the search like any other.
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where strassen_name_suche = ?",
                          {QString::fromUtf8("neue straße")}),
             1);

    // Shown again, the stored values give the same texts (amounts, codes, units).
    QStringList t1 = l.text_1, t2 = l.text_2;
    L::fuelleAusZeile(r, t1, t2);
    QCOMPARE(t1[6], waehrung(125));
    QCOMPARE(t1[8], waehrung(1234.5));
    QCOMPARE(t1[12], "Offene Bauweise");
    QCOMPARE(t2[2], "25 m");
    QCOMPARE(t2[3], QString::fromUtf8("500 m²"));

    // Depth rules: the unit is taken off; text without it stores nothing.
    struct Tiefe {
        QString box, gespeichert;
    };
    for (const Tiefe& t : QList<Tiefe>{{"30 M", "30"}, {"tief", ""}, {"", ""}, {"25m", "25"}}) {
        l.text_2[2] = t.box;
        TALU_DB_OK(l.Speichern(p, merkerPfad(), &gespeichert, &fokus));
        QCOMPARE(db().wert("select grundstueckstiefe from grundstuecke where id = ?", {l.GrundstueckId}).toString(),
                 t.gespeichert);
    }
    // Changing stores into the same row.
    QCOMPARE(test::zaehle("select count(*) from grundstuecke"), 1);
}

void TestGrundstueckSchreiben::neueIdTrotzFremderEinfuegung() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeOrteAn();
    fremdeEinfuegungDazwischen();
    Publics& p = publics();
    p.Modus = "erfassen";
    ortGewaehlt();
    L l = neuesGrundstueck();
    bool gespeichert = false;
    int fokus = -1;
    TALU_DB_OK(l.Speichern(p, merkerPfad(), &gespeichert, &fokus));
    QVERIFY(gespeichert);
    // The other client's plot has the highest id; ours is the one shown.
    QCOMPARE(test::zaehle("select count(*) from grundstuecke"), 2);
    const double hoechste = db().wert("select max(id) from grundstuecke").toDouble();
    QVERIFY(l.GrundstueckId < hoechste);
    QCOMPARE(p.RsSuche.text("strassen_name"), QString::fromUtf8("Neue Straße"));
    QCOMPARE(db().wert("select strassen_name from grundstuecke where id = ?", {l.GrundstueckId}).toString(),
             QString::fromUtf8("Neue Straße"));
}

void TestGrundstueckSchreiben::aenderungOhneZeile() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeOrteAn();
    const qint64 id = plot(kSchluessel, kStrasse, "5", 10);
    Publics& p = publics();
    p.Modus = "aendern";
    ortGewaehlt();
    L l = neuesGrundstueck();
    l.GrundstueckId = double(id);
    db().ausfuehren("delete from grundstuecke where id = ?", {id});
    bool gespeichert = false;
    int fokus = -1;
    try {
        l.Speichern(p, merkerPfad(), &gespeichert, &fokus);
        QFAIL("Ein gelöschtes Grundstück wurde gespeichert.");
    } catch (const DbFehler& e) {
        QVERIFY(e.serverText().contains("nicht mehr in der Datenbank"));
    }
    QVERIFY(!gespeichert);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke"), 0);
}

void TestGrundstueckSchreiben::merker() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath("merker.txt");
    L l = neuesGrundstueck();
    l.text_1[14] = QString::fromUtf8("Ecke Bahnhofstraße, ruhig");
    l.text_1[7] = waehrung(0.5);
    l.text_1[9] = waehrung(1234567.89);
    QVERIFY(!l.SchreibeMerker(pfad));

    // Lines 1-4 are numbers in the regional format, without grouping.
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList zeilen = QString::fromUtf8(f.readAll()).split("\r\n");
    QCOMPARE(zeilen.size(), kMerkerZeilen + 1);  // the last line ends with CR LF too
    QCOMPARE(zeilen.mid(0, 4), (QStringList{"125", "0,5", "1234,5", "1234567,89"}));
    QCOMPARE(zeilen[8], QString::fromUtf8("Ecke Bahnhofstraße, ruhig"));
    QCOMPARE(zeilen[17], "77701");

    // A new plot gets every value; the postcode only when it is new.
    L neu;
    QVERIFY(!neu.WerteKopieren(pfad, true));
    QCOMPARE(neu.text_1[6], waehrung(125));
    QCOMPARE(neu.text_1[7], waehrung(0.5));
    QCOMPARE(neu.text_1[8], waehrung(1234.5));
    QCOMPARE(neu.text_1[9], waehrung(1234567.89));
    QCOMPARE(neu.text_1[14], QString::fromUtf8("Ecke Bahnhofstraße, ruhig"));
    QCOMPARE(neu.text_1[15], QString::fromUtf8("Gutachterausschuß"));
    for (int i = 10; i <= 13; ++i) QCOMPARE(neu.text_1[i], l.text_1[i]);
    for (int i = 0; i <= 6; ++i) QCOMPARE(neu.text_2[i], l.text_2[i]);
    QCOMPARE(neu.text_2[7], QString());  // coordinates are no bookmark values
    QCOMPARE(neu.text_1[0], "77701");
    QCOMPARE(neu.text_1[3], QString());
    L alt;
    alt.text_1[0] = "11111";
    QVERIFY(!alt.WerteKopieren(pfad, false));
    QCOMPARE(alt.text_1[0], "11111");
    QCOMPARE(alt.text_1[6], waehrung(125));

    // Blanks around the numbers are ignored; 0 and text leave the box empty.
    QByteArray daten = " 12,5 \r\n0\r\nkeine\r\n-3\r\n";
    for (int i = 4; i < kMerkerZeilen; ++i) daten += "z" + QByteArray::number(i) + "\r\n";
    schreibeDatei(pfad, daten);
    L zahlen;
    zahlen.text_1[7] = "alt";
    QVERIFY(!zahlen.WerteKopieren(pfad, true));
    QCOMPARE(zahlen.text_1[6], waehrung(12.5));
    QCOMPARE(zahlen.text_1[7], QString());
    QCOMPARE(zahlen.text_1[8], QString());
    QCOMPARE(zahlen.text_1[9], QString());
    QCOMPARE(zahlen.text_1[0], "z17");

    // Without a file: the message, and the boxes stay as they are.
    QFile::remove(pfad);
    L ohne;
    ohne.text_1[6] = "x";
    const auto m = ohne.WerteKopieren(pfad, true);
    QVERIFY(m);
    QCOMPARE(m->text, "Ich habe leider keine Merker-Datei gefunden!");
    QCOMPARE(m->titel, QString());
    QCOMPARE(ohne.text_1[6], "x");

    // A bookmark that cannot be written: the critical message, nothing half-written.
    const auto fehler = l.SchreibeMerker(dir.filePath("fehlt/merker.txt"));
    QVERIFY(fehler);
    QCOMPARE(fehler->art, Meldung::Kritisch);
    QCOMPARE(fehler->text, "Beim Speichern des 'Merkers' ist ein Fehler passiert!");
}

void TestGrundstueckSchreiben::merkerBeschaedigt() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath("merker.txt");
    // A short file fills what it has and stops without a message.
    schreibeDatei(pfad, "100\r\n200\r\n");
    L kurz;
    kurz.text_1[8] = "bleibt";
    QVERIFY(!kurz.WerteKopieren(pfad, true));
    QCOMPARE(kurz.text_1[6], waehrung(100));
    QCOMPARE(kurz.text_1[7], waehrung(200));
    QCOMPARE(kurz.text_1[8], "bleibt");

    // Binary content fills nothing.
    schreibeDatei(pfad, QByteArray("100\r\n\0\0\xff\xfe", 9));
    L binaer;
    QVERIFY(!binaer.WerteKopieren(pfad, true));
    QCOMPARE(binaer.text_1[6], QString());

    // A file in the regional code page of an older program is read as such;
    // overlong lines are cut to what the boxes hold.
    QByteArray latin;
    for (int i = 0; i < 4; ++i) latin += "1\n";
    latin += "Mischgebiet\n\n\n\n" + QByteArray(300, 'b') + "\n" + QString::fromUtf8("Gutachterausschuß").toLatin1() + "\n";
    for (int i = 0; i < 7; ++i) latin += "\n";
    latin += "1234567\n";
    schreibeDatei(pfad, latin);
    L alt;
    QVERIFY(!alt.WerteKopieren(pfad, true));
    QCOMPARE(alt.text_1[10], "Mischgebiet");
    QCOMPARE(alt.text_1[14], QString(100, 'b'));
    QCOMPARE(alt.text_1[15], QString::fromUtf8("Gutachterausschuß"));
    QCOMPARE(alt.text_1[0], "12345");

    // A directory or an endless device in its place: nothing read, no hang.
    QFile::remove(pfad);
    QVERIFY(QDir(dir.path()).mkdir("merker.txt"));
    L verzeichnis;
    QVERIFY(!verzeichnis.WerteKopieren(pfad, true));
    QCOMPARE(verzeichnis.text_1[6], QString());
    QVERIFY(QDir(dir.path()).rmdir("merker.txt"));
    QVERIFY(QFile::link("/dev/zero", pfad));
    L geraet;
    QVERIFY(!geraet.WerteKopieren(pfad, true));
    QCOMPARE(geraet.text_1[6], QString());
}

void TestGrundstueckSchreiben::kopierenWieReferenz_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("ganzerOrt");
    QTest::addColumn<int>("stueck");
    QTest::addColumn<int>("anzahl");
    for (const test::TestBackend& b : test::backends()) {
        QTest::newRow(qPrintable(b.name + " strasse")) << b.name << false << 3 << 7;
        QTest::newRow(qPrintable(b.name + " strasse am stueck")) << b.name << false << 500 << 7;
        QTest::newRow(qPrintable(b.name + " ort")) << b.name << true << 2 << 9;
    }
}

void TestGrundstueckSchreiben::kopierenWieReferenz() {
    QFETCH(QString, backend);
    QFETCH(bool, ganzerOrt);
    QFETCH(int, stueck);
    QFETCH(int, anzahl);
    TALU_LOOKUP_DB(fx, backend, false);
    const Strasse s = legeStrasseAn();
    const auto bereich = ganzerOrt ? GrundstueckDaten::Bereich::Ort : GrundstueckDaten::Bereich::Strasse;
    const QStringList vorher = tabelle();

    QStringList erwartet;
    {
        Transaktion t(db());
        kopiereReferenz(s.quelle, bereich);
        erwartet = tabelle();
    }  // rolled back
    QCOMPARE(tabelle(), vorher);
    QVERIFY(erwartet != vorher);

    QList<qint64> gemeldet;
    stapel::AnzeigeFunktion zaehler([&](qint64 n, qint64, const QString&) { gemeldet << n; });
    qint64 n = 0;
    const stapel::Ergebnis e = kopiereWerte(db(), s.quelle, bereich, zaehler, &n, stueck);
    QCOMPARE(int(e.status), int(stapel::Ergebnis::Status::Fertig));
    QCOMPARE(n, qint64(anzahl));
    QCOMPARE(tabelle(), erwartet);
    QVERIFY(!gemeldet.isEmpty());
    QVERIFY(gemeldet.last() > 0 && gemeldet.last() <= anzahl);
    // The town district goes with the street only.
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where ortsteil = 'Ort3'"), ganzerOrt ? 1 : 7);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where richtwert_minimal = 222.5"), anzahl);
}

void TestGrundstueckSchreiben::kopierenFehlerAendertNichts() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    const Strasse s = legeStrasseAn();
    // The fourth plot of the street fails after three were updated.
    fehlerBeiAenderung(s.ids[3]);
    const QStringList vorher = tabelle();
    stapel::AnzeigeFunktion still({});
    qint64 n = -1;
    const stapel::Ergebnis e =
        kopiereWerte(db(), s.quelle, GrundstueckDaten::Bereich::Strasse, still, &n, 1);
    QCOMPARE(int(e.status), int(stapel::Ergebnis::Status::Fehler));
    QVERIFY2(e.serverText.contains("eingeschleuster Fehler"), qPrintable(e.serverText));
    QVERIFY(e.meldung.contains(QString::fromUtf8("unverändert")));
    QCOMPARE(n, qint64(0));
    QCOMPARE(tabelle(), vorher);

    // A plot gone meanwhile has nothing to copy.
    const qint64 weg = plot(kSchluessel, "Weg", "1", 1);
    db().ausfuehren("delete from grundstuecke where id = ?", {weg});
    const stapel::Ergebnis leer = kopiereWerte(db(), weg, GrundstueckDaten::Bereich::Ort, still, &n);
    QCOMPARE(int(leer.status), int(stapel::Ergebnis::Status::Fertig));
    QCOMPARE(n, qint64(0));
    QCOMPARE(tabelle(), vorher);
}

void TestGrundstueckSchreiben::loeschen() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    const Strasse s = legeStrasseAn();
    // Characters with a meaning in SQL or LIKE are plain characters of a name.
    const QString sonder = "O'Brien_Weg 100%";
    const qint64 a = plot(kSchluessel, sonder, "1", 1);
    plot(kSchluessel, "O'BrienXWeg 100%", "1", 1);
    plot(kSchluessel, "O'Brien_Weg 1000", "1", 1);
    const GrundstueckDaten daten(db());
    int n = -1;
    TALU_DB_OK(n = daten.loescheStrasseVon(a));
    QCOMPARE(n, 1);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where strassen_name like 'O''Brien%'"), 2);

    TALU_DB_OK(n = daten.loescheStrasseVon(s.ids[0]));
    QCOMPARE(n, 7);  // the name in capitals is the same street
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where gemeindeschluessel = ?", {kSchluessel}), 4);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where gemeindeschluessel = ?", {kNachbarort}), 1);
    const qint64 eins = db().wert("select min(id) from grundstuecke where strassen_name = 'Andere Gasse'").toLongLong();
    QCOMPARE(daten.loesche(eins), 1);
    QCOMPARE(daten.loesche(eins), 0);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where strassen_name = 'Andere Gasse'"), 1);
}

void TestGrundstueckSchreiben::formular() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    const Strasse s = legeStrasseAn();
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.Ausgabe = 1;
    p.Modus = "aendern";
    p.AktGemeindeschluessel = kSchluessel;
    p.RsSuche = db().abfrage("select * from grundstuecke where id = ?", {s.quelle});
    auto* f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    QCOMPARE(f->text_1[4]->text(), "3");
    const QStringList vorher = tabelle();

    // No to each question changes nothing.
    f->text_1[9]->setFocus();
    for (int taste : {Qt::Key_F2, Qt::Key_F10, Qt::Key_F12}) QTest::keyClick(f->text_1[9], Qt::Key(taste));
    f->cmdLoeschen->click();
    QCOMPARE(boxen.fragen,
             (QStringList{QString::fromUtf8("Wollen Sie wirklich die Werte dieses Grundstücks auf alle Grundstücke dieser Strasse kopieren?"),
                          QString::fromUtf8("Wollen Sie wirklich die Werte dieses Grundstücks auf alle Grundstücke dieses Ortes kopieren?"),
                          QString::fromUtf8("Wollen Sie wirklich alle Grundstücke dieser Strasse löschen?"),
                          QString::fromUtf8("Sind Sie sicher, dass die aktuellen Grundstücksdaten gelöscht werden soll?")}));
    QCOMPARE(boxen.fragenSymbole, (QList<Dialoge::Symbol>{Dialoge::Symbol::Frage, Dialoge::Symbol::Frage,
                                                         Dialoge::Symbol::Frage, Dialoge::Symbol::Keins}));
    QVERIFY(boxen.meldungen.isEmpty());
    QCOMPARE(tabelle(), vorher);
    QVERIFY(f->isVisible());

    // Yes to F2: the stored values go to the seven plots of the street.
    boxen.leeren();
    f->text_1[6]->setText(waehrung(999));  // not saved: the stored value is copied
    boxen.jaAntworten = {true};
    QTest::keyClick(f->text_1[9], Qt::Key_F2);
    QCOMPARE(boxen.texte(), QStringList{QString::fromUtf8("Der Kopiervorgang ist abgeschlossen, es wurden 7 Grundstücke ausgefüllt!")});
    QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Information);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where richtwert_minimal = 222.5"), 7);

    // Yes to F12: the street is gone, the form stays.
    boxen.leeren();
    boxen.jaAntworten = {true};
    QTest::keyClick(f->text_1[9], Qt::Key_F12);
    QCOMPARE(boxen.texte(), QStringList{QString::fromUtf8("Der Löschbefehl wurde an den Server geschickt!")});
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where gemeindeschluessel = ?", {kSchluessel}), 2);
    QVERIFY(f->isVisible());

    // Deleting one plot closes the form; the lookup gets back its information groups.
    boxen.leeren();
    formen::entlade(f);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    p.RsSuche = db().abfrage("select * from grundstuecke where strassen_name = 'Andere Gasse' order by id");
    p.Modus = "aendern";
    f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    QCOMPARE(f->text_1[3]->text(), "Andere Gasse");
    boxen.jaAntworten = {true};
    f->cmdLoeschen->click();
    QCOMPARE(boxen.texte(), QStringList{QString::fromUtf8(
                                "Die aktuelle Strasse wurde gelöscht! Aus Gründen der Datenbank-Aktualisierung wird "
                                "dieses Fenster nun geschlossen!")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!formen::vorhanden<frmGrundstueckMaske>());
    QCOMPARE(test::zaehle("select count(*) from grundstuecke where strassen_name = 'Andere Gasse'"), 1);
}

void TestGrundstueckSchreiben::neuesGrundstueckImFormular() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, false);
    legeOrteAn();
    DialogAufzeichnung boxen;
    Publics& p = publics();
    p.Ausgabe = 2;
    p.Modus = "erfassen";
    p.OrtFuerNeuesGrundstueck = true;
    auto* f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    boxen.leeren();

    // Saving without a place: the message, the focus on the postcode, nothing stored.
    f->text_1[3]->setText(QString::fromUtf8("Lindenstraße"));
    f->text_1[4]->setText("4");
    f->cmdSpeichern->click();
    QCOMPARE(boxen.texte(), QStringList{"Sie haben keinen Ort ausgewaehlt!Ohne dass ein Ort ausgewaehlt ist, erfolgt "
                                        "keine Speicherung des Datensatzes."});
    QVERIFY(f->isVisible());
    // The form stepped aside for the message; back, the postcode has the focus.
    test::warteAufFenster(f);
    QTRY_COMPARE(QApplication::focusWidget(), f->text_1[0]);
    QCOMPARE(test::zaehle("select count(*) from grundstuecke"), 0);

    // The place by its postcode, then the values, then the save.
    boxen.leeren();
    f->text_1[0]->setText("77701");
    f->cmdOrte->click();
    QCOMPARE(f->text_1[1]->text(), "Testort");
    // Before its first save a new plot has nothing stored to copy or delete.
    for (int taste : {Qt::Key_F2, Qt::Key_F10, Qt::Key_F12}) QTest::keyClick(f->text_1[5], Qt::Key(taste));
    QVERIFY(boxen.fragen.isEmpty());
    f->text_1[6]->setText("125");
    f->text_1[10]->setText("wa");
    f->text_2[2]->setText("25");
    f->text_2[3]->setText("500");
    // Leaving the boxes formats them as an operator sees it.
    for (QLineEdit* e : {f->text_1[6], f->text_1[10]}) {
        e->setFocus();
        f->text_1[14]->setFocus();
    }
    f->SSTab1->setCurrentIndex(1);
    for (QLineEdit* e : {f->text_2[2], f->text_2[3]}) {
        e->setFocus();
        f->text_2[0]->setFocus();
    }
    QCOMPARE(f->text_2[2]->text(), "25 m");
    f->SSTab1->setCurrentIndex(0);
    f->cmdSpeichern->click();
    QCOMPARE(boxen.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
    QVERIFY(!f->cmdOrte->isVisibleTo(f));
    QCOMPARE(QApplication::focusWidget(), f->text_1[9]);
    QCOMPARE(p.Modus, "aendern");
    Recordset r = db().abfrage("select * from grundstuecke");
    r.moveFirst();
    QCOMPARE(r.zahl("id"), f->GrundstueckId());
    QCOMPARE(r.zahl("richtwert_minimal"), 125.0);
    QCOMPARE(r.text("bauliche_nutzung"), "wa");
    QCOMPARE(r.text("grundstueckstiefe"), "25");
    QCOMPARE(r.text("grundstuecksflaeche"), "500");
    QVERIFY(QFile::exists(merkerPfad()));
    // The street search of the lookup finds the new plot.
    Recordset strasse = SucheDaten(db()).sucheStrasse(kSchluessel, QString::fromUtf8("lindenstr"));
    QCOMPARE(strasse.anzahl(), 1);
    QCOMPARE(strasse.zahl("id"), f->GrundstueckId());

    // The next new plot starts from the saved one's values and postcode.
    f->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    boxen.leeren();
    p.Modus = "erfassen";
    p.OrtFuerNeuesGrundstueck = true;
    f = formen::zeige<frmGrundstueckMaske>();
    test::warteAufFenster(f);
    QVERIFY(boxen.meldungen.isEmpty());
    QCOMPARE(f->text_1[0]->text(), "77701");
    QCOMPARE(f->text_1[6]->text(), waehrung(125));
    QCOMPARE(f->text_1[10]->text(), "Allgemeines Wohngebiet");
    QCOMPARE(f->text_2[3]->text(), QString::fromUtf8("500 m²"));
    QCOMPARE(f->text_1[3]->text(), QString());
}

QTEST_MAIN(TestGrundstueckSchreiben)
#include "tst_grundstueckschreiben.moc"
