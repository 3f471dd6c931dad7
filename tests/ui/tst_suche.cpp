// The place and street search: statements, stages, case folding, hostile
// input, the remembered terms and the search form.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "LookupHilfe.h"
#include "lookup/Merkdatei.h"
#include "lookup/SuchVorgang.h"
#include "lookup/SucheDaten.h"
#include "lookup/ui/frmSuchen.h"

using namespace talu;
using E = SuchVorgang::Ergebnis;

namespace {
QStringList orte(Recordset rs) {
    QStringList l;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) l << rs.text("plzneu") + " " + rs.text("ort");
    return l;
}
QByteArray dateiInhalt(const QString& name) {
    QFile f(programmDatei(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}
}  // namespace

class TestSuche : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void numerisch_data();
    void numerisch();
    void ortsSuche_data();
    void ortsSuche();
    void suchVorgangOrt_data() { test::backendZeilen(); }
    void suchVorgangOrt();
    void eingabePruefung_data() { test::backendZeilen(); }
    void eingabePruefung();
    void feindlicheEingaben_data() { test::backendZeilen(); }
    void feindlicheEingaben();
    void strassenSuche_data() { test::backendZeilen(); }
    void strassenSuche();
    void andereSuchArt_data() { test::backendZeilen(); }
    void andereSuchArt();
    void merkdateien();
    void formular_data() { test::backendZeilen(); }
    void formular();
};

void TestSuche::numerisch_data() {
    QTest::addColumn<QString>("begriff");
    QTest::addColumn<bool>("numerisch");
    QTest::newRow("plz") << "88662" << true;
    QTest::newRow("fuehrende null") << "01067" << true;
    QTest::newRow("schluessel") << "06412000" << true;
    QTest::newRow("tausender") << "1.234" << false;
    QTest::newRow("exponent") << "1e5" << false;
    QTest::newRow("komma") << "12,5" << false;
    QTest::newRow("name") << "frank" << false;
    QTest::newRow("gemischt") << "60311 frankfurt" << false;
    QTest::newRow("leer") << "" << false;
    QTest::newRow("arabisch-indische ziffern") << QString::fromUtf8("١٢٣٤٥") << false;
}

void TestSuche::numerisch() {
    QFETCH(QString, begriff);
    QFETCH(bool, numerisch);
    QCOMPARE(SucheDaten::istNumerisch(begriff), numerisch);
}

void TestSuche::ortsSuche_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("begriff");
    QTest::addColumn<int>("stufe");
    QTest::addColumn<QStringList>("treffer");
    using S = SucheDaten::Stufe;
    for (const test::TestBackend& b : test::backends()) {
        auto zeile = [&](const char* name, const QString& begriff, S stufe, const QStringList& treffer) {
            QTest::newRow(qPrintable(b.name + ": " + name)) << b.name << begriff << int(stufe) << treffer;
        };
        zeile("name genau", "überlingen", S::Genau, {"88662 Überlingen"});
        zeile("name in grossbuchstaben", QString::fromUtf8("ÜBERLINGEN"), S::Genau, {"88662 Überlingen"});
        zeile("anfang mit umlaut", QString::fromUtf8("Überl"), S::Anfang, {"88662 Überlingen"});
        zeile("punkt und blank", "st. peter", S::Genau, {"79271 St. Peter"});
        // Two rows of one city; the incorporated Frankfurt-Höchst (typ 3) is never found.
        zeile("anfang mehrere", "frankfurt", S::Anfang,
              {"15230 Frankfurt (Oder)", "60311 Frankfurt am Main", "60594 Frankfurt am Main"});
        zeile("teil", QString::fromUtf8("ießen"), S::Teil, {"35390 Gießen"});
        zeile("teil mit klammer", "(oder)", S::Teil, {"15230 Frankfurt (Oder)"});
        zeile("plz", "88662", S::Genau, {"88662 Überlingen"});
        zeile("plz mit null", "01067", S::Genau, {"01067 Dresden"});
        zeile("schluessel", "06412000", S::Genau, {"60311 Frankfurt am Main", "60594 Frankfurt am Main"});
        // Digits that are no postcode or key are still tried as part of a name.
        zeile("ziffern ohne treffer", "1234567", S::Keine, {});
        zeile("nichts", "xyzzy", S::Keine, {});
        // Typed pattern characters are characters: "frank%" and "frankfurt_am" would
        // find Frankfurt if they were wildcards.
        zeile("prozent", "frank%", S::Keine, {});
        zeile("nur prozent", "%%%", S::Keine, {});
        zeile("unterstrich", "frankfurt_am", S::Keine, {});
        zeile("backslash", "frank\\", S::Keine, {});
        zeile("anfuehrungszeichen", "o'brien", S::Keine, {});
    }
}

void TestSuche::ortsSuche() {
    QFETCH(QString, backend);
    QFETCH(QString, begriff);
    QFETCH(int, stufe);
    QFETCH(QStringList, treffer);
    TALU_LOOKUP_DB(fx, backend, true);
    SucheDaten::Stufe gefunden{};
    Recordset rs;
    TALU_DB_OK(rs = SucheDaten(publics().Verbindung).sucheOrt(begriff, &gefunden));
    QCOMPARE(orte(rs), treffer);
    QCOMPARE(int(gefunden), stufe);
}

void TestSuche::suchVorgangOrt() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    p.SuchArt = "suche nach ort";

    // One hit: the current place is set and the information groups follow.
    p.OrtAbgerechnet = true;
    QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("  ÜBERLINGEN ")), E::EinOrt);
    QCOMPARE(p.AktOrt, QString::fromUtf8("Überlingen"));
    QCOMPARE(p.AktPlz, "88662");
    QCOMPARE(p.AktGemeindeschluessel, "08435059");
    QVERIFY(p.AktOrtId > 0);
    QCOMPARE(p.Modus, "aendern");
    QVERIFY(!p.OrtAbgerechnet);
    QCOMPARE(p.RsSuche.anzahl(), 1);
    QVERIFY(!p.RsSuche.eof());
    // The term is remembered trimmed, in lower case, UTF-8, CR LF.
    QCOMPARE(dateiInhalt("letzterort.txt"), QByteArray("\xC3\xBC" "berlingen\r\n"));
    QCOMPARE(SuchVorgang::gemerkterBegriff("suche nach ort"), QString::fromUtf8("überlingen"));

    // Several hits go to the list, standing on the first row; the current place stays.
    QCOMPARE(SuchVorgang::starte(p, "Frankfurt"), E::MehrereOrte);
    QCOMPARE(p.RsSuche.anzahl(), 3);
    QCOMPARE(p.RsSuche.position(), 0);
    QCOMPARE(p.AktOrt, QString::fromUtf8("Überlingen"));

    // A single place for a plot being entered: the flag is used up, no group form.
    p.OrtFuerNeuesGrundstueck = true;
    p.Modus = "erfassen";
    QCOMPARE(SuchVorgang::starte(p, "kassel"), E::EinOrtFuerNeuesGrundstueck);
    QVERIFY(!p.OrtFuerNeuesGrundstueck);
    QCOMPARE(p.AktOrt, "Kassel");
    QCOMPARE(p.Modus, "erfassen");

    QCOMPARE(SuchVorgang::starte(p, "keinort"), E::KeinOrt);
    QVERIFY(p.RsSuche.eof());
    QCOMPARE(SuchVorgang::meldung(E::KeinOrt), "Es wurde kein passender Ort gefunden!");
    QCOMPARE(dateiInhalt("letzterort.txt"), QByteArray("keinort\r\n"));
}

void TestSuche::eingabePruefung() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    for (const QString& modus : {QStringLiteral("suche nach ort"), QStringLiteral("suche nach grundstück")}) {
        p.SuchArt = modus;
        QCOMPARE(SuchVorgang::starte(p, ""), E::KeinBegriff);
        QCOMPARE(SuchVorgang::starte(p, "      "), E::KeinBegriff);
        QCOMPARE(SuchVorgang::starte(p, "\t "), E::KeinBegriff);
        // Blanks around do not count: two letters are refused.
        QCOMPARE(SuchVorgang::starte(p, "  ab  "), E::ZuKurz);
        // Characters are counted, not bytes: two umlauts are two characters.
        QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("äö")), E::ZuKurz);
        // Nor UTF-16 units: two emoji are two characters in four units.
        QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("😀😀")), E::ZuKurz);
        QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8(" 😀a ")), E::ZuKurz);
    }
    // Nothing was remembered for refused terms.
    QVERIFY(!QFile::exists(programmDatei("letzterort.txt")));
    QCOMPARE(SuchVorgang::meldung(E::KeinBegriff), "Sie haben keinen Suchbegriff eingegeben!");
    QCOMPARE(SuchVorgang::meldung(E::ZuKurz), "Der Suchbegriff muss mindestens drei Zeichen lang sein!");
    // Three umlauts are enough.
    p.SuchArt = "suche nach ort";
    QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("äöü")), E::KeinOrt);
    // Three emoji are three characters: searched, and nothing found.
    QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("😀😀😀")), E::KeinOrt);
}

void TestSuche::feindlicheEingaben() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    const QString lang = QString(5000, QChar('x'));
    const QStringList boese = {"'; drop table ortsnamen; --", "o'brien", "\\\\\\", "%_%", "a\"b",
                               lang, QString::fromUtf8("ü'%_\\")};
    for (const QString& modus : {QStringLiteral("suche nach ort"), QStringLiteral("suche nach grundstück")}) {
        p.SuchArt = modus;
        p.AktGemeindeschluessel = "06611000";
        for (const QString& t : boese) {
            E e{};
            TALU_DB_OK(e = SuchVorgang::starte(p, t));
            QCOMPARE(e, modus == "suche nach ort" ? E::KeinOrt : E::KeineStrasse);
        }
    }
    QCOMPARE(test::zaehle("select count(*) from ortsnamen"), 40);
    // The long term was remembered and is offered again as typed.
    QCOMPARE(SuchVorgang::gemerkterBegriff("suche nach grundstück"), QString::fromUtf8("ü'%_\\"));
}

void TestSuche::strassenSuche() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    p.SuchArt = "suche nach grundstück";
    p.AktGemeindeschluessel = "06611000";  // Kassel
    p.StrassenEintrag = true;

    const int erwartet = test::zaehle(
        "select count(*) from grundstuecke where gemeindeschluessel = ? and strassen_name in (?, ?) and loeschen = 'nein'",
        {"06611000", QString::fromUtf8("Am Königsplatz"), QString::fromUtf8("Am Königsplatz-Nord")});
    QVERIFY(erwartet > 10);
    for (const QString& begriff : {QStringLiteral("am kö"), QStringLiteral("AM KÖ"), QStringLiteral("  Am Kö ")}) {
        QCOMPARE(SuchVorgang::starte(p, begriff), E::Grundstuecke);
        QCOMPARE(p.RsSuche.anzahl(), erwartet);
        QVERIFY(!p.StrassenEintrag);
    }
    // Sorted by town district, street and numeric house number; no plot marked deleted.
    QStringList reihe;
    QString vorigeStrasse;
    double vorigeNummer = -1;
    for (Recordset rs = p.RsSuche; !rs.eof(); rs.moveNext()) {
        QCOMPARE(rs.text("loeschen"), "nein");
        const QString strasse = rs.text("strassen_name");
        QVERIFY(strasse.startsWith(QString::fromUtf8("Am Königsplatz")));
        QVERIFY(strasse >= vorigeStrasse);
        if (strasse != vorigeStrasse) vorigeNummer = -1;
        QVERIFY2(rs.zahl("hausnummer_numerisch") >= vorigeNummer, qPrintable(rs.text("hausnummer")));
        vorigeStrasse = strasse;
        vorigeNummer = rs.zahl("hausnummer_numerisch");
        reihe << strasse + "|" + rs.text("hausnummer");
    }
    // Numeric order: 2 before 10, which text order would reverse.
    QVERIFY(reihe.indexOf(QString::fromUtf8("Am Königsplatz|2")) < reihe.indexOf(QString::fromUtf8("Am Königsplatz|10")));
    QVERIFY(reihe.contains(QString::fromUtf8("Am Königsplatz|9999")));
    QVERIFY(reihe.indexOf(QString::fromUtf8("Am Königsplatz|9999")) < reihe.indexOf(QString::fromUtf8("Am Königsplatz-Nord|1")));
    QCOMPARE(dateiInhalt("letztesgrundstück.txt"), QByteArray("am k\xC3\xB6\r\n"));

    // A prefix, not any part: "königs" finds Königsstraße, not Am Königsplatz.
    QCOMPARE(SuchVorgang::starte(p, QString::fromUtf8("KÖNIGS")), E::Grundstuecke);
    for (Recordset rs = p.RsSuche; !rs.eof(); rs.moveNext())
        QCOMPARE(rs.text("strassen_name"), QString::fromUtf8("Königsstraße"));

    // Only plots of the current place.
    p.AktGemeindeschluessel = "06412000";
    QCOMPARE(SuchVorgang::starte(p, "am kö"), E::KeineStrasse);
    QCOMPARE(SuchVorgang::meldung(E::KeineStrasse), "Mit dieser Bezeichnung ist keine Strasse vorhanden!");
    QVERIFY(p.RsSuche.eof());
    // Wildcards typed are characters.
    p.AktGemeindeschluessel = "06611000";
    QCOMPARE(SuchVorgang::starte(p, "am%"), E::KeineStrasse);
    QCOMPARE(SuchVorgang::starte(p, "am_k"), E::KeineStrasse);
}

void TestSuche::andereSuchArt() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    Publics& p = publics();
    p.SuchArt = "Gutachter mit Ort verknüpfen";
    p.AktOrt = "vorher";
    QCOMPARE(SuchVorgang::starte(p, "frankfurt"), E::Nichts);
    QCOMPARE(p.AktOrt, "vorher");
    QVERIFY(!QFile::exists(programmDatei("letzterort.txt")));
    QCOMPARE(suchModus(p.SuchArt).label, "Geben Sie bitte den Suchbegriff ein:");
    QVERIFY(suchModus(p.SuchArt).hinweis.isEmpty());

    // A module may give its mode a search; it receives the trimmed term.
    QString erhalten;
    SuchVorgang::registriere("Suche nach Gutachter", [&](const QString& t) { erhalten = t; });
    p.SuchArt = "Suche nach Gutachter";
    QCOMPARE(SuchVorgang::starte(p, "  Weiß  "), E::Nichts);
    QCOMPARE(erhalten, QString::fromUtf8("Weiß"));
    SuchVorgang::registriere("Suche nach Gutachter", {});
}

void TestSuche::merkdateien() {
    QTemporaryDir dir;
    auto pfad = [&](const char* n) { return dir.filePath(QString::fromUtf8(n)); };
    auto schreibe = [&](const char* n, const QByteArray& inhalt) {
        QFile f(pfad(n));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    };
    QCOMPARE(lookup::leseMerkbegriff(pfad("fehlt.txt")), QString());
    schreibe("leer.txt", "");
    QCOMPARE(lookup::leseMerkbegriff(pfad("leer.txt")), QString());
    schreibe("binaer.txt", QByteArray("ab\0cd\r\n", 7));
    QCOMPARE(lookup::leseMerkbegriff(pfad("binaer.txt")), QString());
    schreibe("latin1.txt", "M\xFCnchen\r\n");
    QCOMPARE(lookup::leseMerkbegriff(pfad("latin1.txt")), QString());
    schreibe("riesig.txt", QByteArray(100000, 'a'));
    QCOMPARE(lookup::leseMerkbegriff(pfad("riesig.txt")), QString());
    // The first line counts; without a line end the whole (short) file.
    schreibe("zwei.txt", "erste zeile\r\nzweite\r\n");
    QCOMPARE(lookup::leseMerkbegriff(pfad("zwei.txt")), "erste zeile");
    schreibe("ohne.txt", "frank");
    QCOMPARE(lookup::leseMerkbegriff(pfad("ohne.txt")), "frank");
    schreibe("lf.txt", "g\xC3\xB6rlitz\n");
    QCOMPARE(lookup::leseMerkbegriff(pfad("lf.txt")), QString::fromUtf8("görlitz"));
    // A directory in place of the file is unreadable.
    QVERIFY(QDir(dir.path()).mkdir("verz.txt"));
    QCOMPARE(lookup::leseMerkbegriff(pfad("verz.txt")), QString());

    // Written as one UTF-8 line with CR LF, read back unchanged, commas included.
    QVERIFY(lookup::schreibeMerkbegriff(pfad("letzterort.txt"), QString::fromUtf8("halle, saale ä")));
    QFile f(pfad("letzterort.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("halle, saale \xC3\xA4\r\n"));
    QCOMPARE(lookup::leseMerkbegriff(pfad("letzterort.txt")), QString::fromUtf8("halle, saale ä"));
    // A line break in the term cannot split the file.
    QVERIFY(lookup::schreibeMerkbegriff(pfad("umbruch.txt"), "a\r\nb"));
    QCOMPARE(lookup::leseMerkbegriff(pfad("umbruch.txt")), "a  b");
    // An unwritable place reports failure instead of throwing.
    QVERIFY(!lookup::schreibeMerkbegriff(dir.filePath("gibtsnicht/x.txt"), "abc"));
}

void TestSuche::formular() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    Publics& p = publics();

    // Street mode with a remembered term.
    QVERIFY(lookup::schreibeMerkbegriff(programmDatei("letztesgrundstück.txt"), QString::fromUtf8("am kö")));
    p.SuchArt = "suche nach grundstück";
    auto* f = formen::zeige<frmSuchen>();
    QVERIFY(f);
    QCOMPARE(f->Label1->text(), "Geben Sie bitte den Strassennamen ein:");
    QCOMPARE(f->Text1->text(), QString::fromUtf8("am kö"));
    QCOMPARE(f->cmdStarten->text(), "&Starten");
    QCOMPARE(f->cmdZurueck->text(), "&Zurück");
    f->cmdHinweis_Click();
    QCOMPARE(boxen.meldungen.size(), 1);
    QVERIFY(boxen.meldungen[0].text.contains("'Mainzer Landstrasse.'"));
    QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Information);
    QCOMPARE(boxen.meldungen[0].titel, QString());
    formen::entlade(f);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Leaving the street search walks back to the information groups.
    QVERIFY(formen::vorhanden("frmInformationsGruppen"));
    formen::schliesseAlleKinder();
    boxen.leeren();

    // Place mode: an unreadable remembered file leaves the box empty.
    QFile bin(programmDatei("letzterort.txt"));
    QVERIFY(bin.open(QIODevice::WriteOnly));
    bin.write(QByteArray("\0\1\2", 3));
    bin.close();
    p.SuchArt = "suche nach ort";
    f = formen::zeige<frmSuchen>();
    QCOMPARE(f->Label1->text(), "Geben Sie bitte den Ortsnamen oder die PLZ ein:");
    QCOMPARE(f->Text1->text(), QString());
    // Two letters: the message, and the form stays.
    QTest::keyClicks(f->Text1, " ab ");
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(boxen.texte(), QStringList{"Der Suchbegriff muss mindestens drei Zeichen lang sein!"});
    QCOMPARE(formen::vorhanden("frmSuchen"), f);
    // One place: on to the information groups, and the search form is gone.
    f->Text1->setText(QString::fromUtf8("ÜBERLINGEN"));
    f->cmdStarten->click();
    QCOMPARE(formen::vorhanden("frmSuchen"), nullptr);
    QVERIFY(formen::vorhanden("frmInformationsGruppen"));
    QCOMPARE(p.AktOrt, QString::fromUtf8("Überlingen"));
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The next search form offers the term in lower case.
    f = formen::zeige<frmSuchen>();
    QCOMPARE(f->Text1->text(), QString::fromUtf8("überlingen"));
    // Several places: the selection list.
    f->Text1->setText("frankfurt");
    f->cmdStarten->click();
    QVERIFY(formen::vorhanden("frmAuswaehlen"));
    QCOMPARE(formen::vorhanden("frmSuchen"), nullptr);
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // No place: the message; the term stays for correction.
    boxen.leeren();
    f = formen::zeige<frmSuchen>();
    f->Text1->setText("xyzzy");
    f->cmdStarten->click();
    QCOMPARE(boxen.texte(), QStringList{"Es wurde kein passender Ort gefunden!"});
    QCOMPARE(f->Text1->text(), "xyzzy");
    // "&Zurück" in place mode just closes the form.
    f->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(formen::geladene().isEmpty());
}

QTEST_MAIN(TestSuche)
#include "tst_suche.moc"
