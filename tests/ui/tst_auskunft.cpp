// The land-value extract of the plot form: its text (golden files), the PDF
// read back, that printing writes no log row, and the button and F8 in the
// customer and the editing edition.
#include <QDir>
#include <QLineEdit>
#include <QPdfWriter>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "AbrechnungHilfe.h"
#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "billing/AuskunftLayout.h"
#include "billing/PdfAusgabe.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;
using L = GrundstueckMaskeLogik;

namespace {

const QString kSchluessel = "07777001";
// Every golden file shows this display; the real time and id are checked apart.
const QDateTime kAnzeige(QDate(2026, 3, 2), QTime(9, 15));
constexpr qint64 kNummer = 4711;

// As long as the column takes, with a word wider than the value column.
const QString kLangeBemerkung = QString::fromUtf8(
    "Überschwemmungsgebiet der Großen Aue; Grundstücke südlich der Bahn nur eingeschränkt bebaubar. "
    "Maßgeblich ist die Satzung über Erschließungsbeiträge, Flächen ohne Gewähr. "
    "Außenbereich: Bodenrichtwertgrundstücksbeschaffenheitsmerkmalsübersicht.");

// A place of our own with its committee; the plots are added per case.
void legeOrtAn(bool mitGutachter) {
    const Datenbank& db = publics().Verbindung;
    db.einfuegen("ortsnamen", {{"ort", " Testort  "}, {"plzneu", "77701"}, {"gemeindeschluessel", kSchluessel},
                               {"typ", 1}, {"preis", 12.5}, {"preis_gutachter_bodenwert", 5.0}});
    QVariant gid;
    if (mitGutachter)
        gid = db.einfuegen("gutachter", {{"name", QString::fromUtf8("Gutachterausschuss für Grundstückswerte Testkreis")},
                                         {"strasse", QString::fromUtf8("Schloßplatz 3")}, {"plz", "77700"},
                                         {"ort", "Kreisstadt"}, {"telefon", "07771 123-0"},
                                         {"email", "gaa@testkreis.example.org"}});
    db.einfuegen("ortsdaten", {{"gemeindeschluessel", kSchluessel}, {"id_gutachter", gid}});
}

Werte vollerPlot(const QString& nr) {
    return {{"gemeindeschluessel", kSchluessel}, {"ortsteil", "Mitte"},
            {"strassen_name", QString::fromUtf8("Teststraße")}, {"hausnummer", nr},
            {"hausnummer_numerisch", fuehrendeZahl(nr)}, {"flurstueck", "Flur 1, 12/3"},
            {"richtwert_minimal", 125.0}, {"richtwert_durchschnitt", 1234.5},
            {"richtwert_maximal", 100000.0}, {"richtwert_tatsaechlich", 99.99},
            {"bauliche_nutzung", "ge 2"}, {"entwicklungszustand", "b"}, {"bauweise", "o"},
            {"richtwerttyp", "z"}, {"bemerkung", "Ecklage"}, {"quellenangabe", "GAA"},
            {"loeschen", "nein"}, {"geschossflaechenzahl", "0.8"}, {"anzahl_der_geschosse", "2"},
            {"beitragspflichtig", "j"}, {"grundstueckstiefe", "35"}, {"grundstuecksflaeche", "500"},
            {"sanierungsgebiet", "n"}, {"sananfangende", "aw"}, {"x_koordinate", "50.1"},
            {"y_koordinate", "8.6"}, {"umt_1", "3470000"}, {"umt_2", "5550000"}};
}

// The plot of one golden case.
void legeFallAn(const QString& fall, const QString& hausnummer) {
    legeOrtAn(fall == "voll" || fall == "umlaute");
    Werte w = vollerPlot(hausnummer);
    if (fall == "leer") {
        // Only the address: every value box stays empty, a value of 0 too.
        w = {{"gemeindeschluessel", kSchluessel}, {"strassen_name", "Am Anger"}, {"hausnummer", hausnummer},
             {"richtwert_minimal", 0.0}, {"loeschen", "nein"}};
    } else if (fall == "umlaute") {
        for (auto& [spalte, wert] : w) {
            if (spalte == "bemerkung") wert = kLangeBemerkung;
            if (spalte == "ortsteil") wert = QString::fromUtf8("Groß Düngen-Süd");
            if (spalte == "strassen_name") wert = QString::fromUtf8("Über der Königsbreite");
            if (spalte == "bauliche_nutzung") wert = QStringLiteral("gei");
        }
    }
    publics().Verbindung.einfuegen("grundstuecke", w);
}

void waehle(const QString& hausnummer) { test::waehleGrundstueck(kSchluessel, hausnummer); }

int protokollZeilen() { return test::zaehle("select count(*) from abfrageprotokoll"); }
qint64 letzteProtokollId() { return publics().Verbindung.wert("select max(id) from abfrageprotokoll").toLongLong(); }

// Keeps the document; on paper at a named printer.
class Drucker : public druck::Druckziel {
public:
    druck::DruckErgebnis gibAus(const druck::Druckdokument& d) override {
        dokumente << d;
        return {true, {}, QString::fromUtf8("Büro 2. OG")};
    }
    bool druckt() const override { return true; }
    QList<druck::Druckdokument> dokumente;
};

QString pdfText(const QString& pfad) {
    QProcess p;
    p.start("pdftotext", {"-layout", "-enc", "UTF-8", pfad, "-"});
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class TstAuskunft : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(test::g_deutscheZahlen); }
    void cleanup() { test::lookupAufraeumen(); }

    // The extract's text for the kinds of plot, each against its golden file.
    void golden_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("fall");
        for (const test::TestBackend& b : test::backends())
            for (const char* fall : {"voll", "strasse", "leer", "umlaute", "ausgabe1"})
                QTest::newRow(qPrintable(b.name + "/" + fall)) << b.name << QString::fromLatin1(fall);
    }
    void golden() {
        QFETCH(QString, backend);
        QFETCH(QString, fall);
        TALU_LOOKUP_DB(fx, backend, false);
        Publics& p = publics();
        const Datenbank& db = p.Verbindung;
        const QString hausnummer = fall == "strasse" ? "9999" : "12a";
        TALU_DB_OK(legeFallAn(fall, hausnummer));
        if (fall == "ausgabe1") p.Ausgabe = 1;
        waehle(hausnummer);

        L l;
        const QDateTime vorher = QDateTime::currentDateTime().addSecs(-1);
        QList<Meldung> m;
        TALU_DB_OK(m = l.LadeGrundstueck(p));
        QVERIFY(m.isEmpty());
        QVERIFY(l.gezeigt);
        // The reference is the display's own log row; editions 1 and 2 write none.
        QCOMPARE(protokollZeilen(), fall == "ausgabe1" ? 0 : 1);
        QCOMPARE(l.gezeigt->protokollId, fall == "ausgabe1" ? 0 : letzteProtokollId());
        QVERIFY(l.gezeigt->zeitpunkt >= vorher && l.gezeigt->zeitpunkt <= QDateTime::currentDateTime());
        if (fall != "ausgabe1")
            QCOMPARE(db.wert("select uhrzeit from abfrageprotokoll").toString(), zeitText(l.gezeigt->zeitpunkt.time()));

        l.gezeigt->zeitpunkt = kAnzeige;
        if (l.gezeigt->protokollId) l.gezeigt->protokollId = kNummer;
        Drucker drucker;
        Meldung ende;
        TALU_DB_OK(ende = l.AuskunftDrucken(db, drucker));
        QCOMPARE(ende.text, QString::fromUtf8("Die Bodenrichtwertauskunft wurde auf dem Drucker \"Büro 2. OG\" gedruckt!"));
        QCOMPARE(drucker.dokumente.size(), 1);
        const druck::Druckdokument& d = drucker.dokumente[0];
        TALU_GOLDEN(d, "auskunft_" + fall + ".txt");
        // Printing is free: no further log row.
        QCOMPARE(protokollZeilen(), fall == "ausgabe1" ? 0 : 1);

        // One page, whatever the plot holds.
        QTemporaryDir dir;
        QPdfWriter messer(dir.filePath("mass.pdf"));
        messer.setPageLayout(druck::seitenLayout());
        QCOMPARE(druck::seitenAufteilen(d, druck::seitenmass(messer)).size(), 1);

        if (fall == "umlaute") {
            // Wrapped, never cut: every word of the remark is printed, in order.
            const QString text = druck::alsText(d);
            qsizetype ab = text.indexOf("Bemerkung:");
            QVERIFY(ab > 0);
            for (const QString& wort : kLangeBemerkung.split(' ', Qt::SkipEmptyParts)) {
                // A word longer than the value column continues on the next line.
                const QString anfang = wort.left(auskunft::kWertBreite);
                const qsizetype pos = text.indexOf(anfang, ab);
                QVERIFY2(pos > 0, qPrintable(wort));
                ab = pos + anfang.size();
            }
        }
    }

    // The PDF where there is no printer: its name, the message, the text read back.
    void pdf_data() { test::backendZeilen(); }
    void pdf() {
        QFETCH(QString, backend);
        TALU_LOOKUP_DB(fx, backend, false);
        const Datenbank& db = publics().Verbindung;
        TALU_DB_OK(legeOrtAn(true); db.einfuegen("grundstuecke", vollerPlot("12a")));
        waehle("12a");
        L l;
        TALU_DB_OK(l.LadeGrundstueck(publics()));
        const qint64 nr = letzteProtokollId();
        QVERIFY(nr > 0);

        QTemporaryDir dir;
        druck::PdfAblage ablage(dir.path());
        druck::DruckErgebnis e;
        Meldung ende;
        TALU_DB_OK(ende = l.AuskunftDrucken(db, ablage, &e));
        QVERIFY(!e.gedruckt);
        QCOMPARE(QFileInfo(e.pdfPfad).fileName(),
                 QStringLiteral("Bodenrichtwertauskunft_%1_%2.pdf").arg(nr).arg(QDate::currentDate().toString(Qt::ISODate)));
        QCOMPARE(ende.text, "Die Bodenrichtwertauskunft wurde als PDF-Datei gespeichert:\n" + e.pdfPfad);
        QCOMPARE(protokollZeilen(), 1);

        const QString text = pdfText(e.pdfPfad);
        QVERIFY2(!text.isEmpty(), "pdftotext fehlt oder liest nichts");
        QCOMPARE(text.count('\f'), 1);  // one page
        QStringList zeilen;
        for (const QString& z : text.split('\n')) zeilen << z.simplified();
        for (const QString& erwartet :
             {QStringLiteral("TALU Bodenwert-Informationsdienst GmbH"), QStringLiteral("Bodenrichtwertauskunft"),
              "Anzeige vom " + datumText(l.gezeigt->zeitpunkt.date()) + ", " + zeitText(l.gezeigt->zeitpunkt.time()) + " Uhr",
              QStringLiteral("Auskunft Nr.: %1").arg(nr),
              QString::fromUtf8("Strasse / Hausnummer: Teststraße 12a"),
              QString::fromUtf8("BRW-Maximal / Tats.: 100.000,00 € 99,99 €"),
              QString::fromUtf8("Baul. Nutz. / Entw.-Zust.: Gewerbegebiet (Dienstleistungen)"),
              QString::fromUtf8("Tiefe / Fläche / Beitragspfl.: 35 m 500 m² Ja"),
              QString::fromUtf8("Gutachterausschuss für Grundstückswerte Testkreis"),
              QString::fromUtf8("Schloßplatz 3"), QStringLiteral("77700 Kreisstadt")})
            QVERIFY2(zeilen.contains(erwartet), qPrintable(erwartet + "\n---\n" + text));
        QVERIFY(text.simplified().contains(auskunft::schlussText(l.gezeigt->zeitpunkt.date())));

        // The page as an image, to look at.
        const QString bilder = qEnvironmentVariable("TALU_BILDER");
        if (!bilder.isEmpty())
            QCOMPARE(QProcess::execute("pdftoppm", {"-png", "-r", "80", e.pdfPfad, bilder + "/auskunft"}), 0);
    }

    // The button and F8 in the customer edition and an editing edition: the
    // PDF in the print folder, the message naming it, no log row for it.
    void formular_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<int>("ausgabe");
        for (const test::TestBackend& b : test::backends())
            for (int a : {3, 1}) QTest::newRow(qPrintable(b.name + "/" + QString::number(a))) << b.name << a;
    }
    void formular() {
        QFETCH(QString, backend);
        QFETCH(int, ausgabe);
        TALU_LOOKUP_DB(fx, backend, false);
        TALU_DB_OK(legeOrtAn(true); publics().Verbindung.einfuegen("grundstuecke", vollerPlot("12a")));
        DialogAufzeichnung boxen;
        publics().Ausgabe = short(ausgabe);
        waehle("12a");
        auto* f = formen::zeige<frmGrundstueckMaske>();
        QVERIFY(f);
        test::warteAufFenster(f);
        const int zeilenNachAnzeige = protokollZeilen();
        QCOMPARE(zeilenNachAnzeige, ausgabe == 3 ? 1 : 0);
        QVERIFY(f->cmdAuskunftDrucken->isVisibleTo(f));
        QCOMPARE(f->cmdAuskunftDrucken->text(), "Auskunft &drucken");

        const QString bilder = qEnvironmentVariable("TALU_BILDER");
        if (!bilder.isEmpty()) f->grab().save(bilder + QStringLiteral("/grundstueck_ausgabe%1.png").arg(ausgabe));

        const QDir ablage(druck::standardAblage());
        f->cmdAuskunftDrucken->click();
        QCOMPARE(boxen.meldungen.size(), 1);
        QStringList dateien = ablage.entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(dateien.size(), 1);
        QCOMPARE(boxen.meldungen[0].text,
                 "Die Bodenrichtwertauskunft wurde als PDF-Datei gespeichert:\n" + ablage.absoluteFilePath(dateien[0]));
        QVERIFY(pdfText(ablage.absoluteFilePath(dateien[0]))
                    .contains(ausgabe == 3 ? QStringLiteral("Auskunft Nr.: %1").arg(letzteProtokollId())
                                           : QString::fromUtf8("Auskunft Nr.: –")));

        // F8 from wherever the focus is in the form: a second file beside the first.
        QWidget* fokus = QApplication::focusWidget();
        QVERIFY(fokus && f->isAncestorOf(fokus));
        QTest::keyClick(fokus, Qt::Key_F8);
        QCOMPARE(boxen.meldungen.size(), 2);
        dateien = ablage.entryList({"*.pdf"}, QDir::Files);
        QCOMPARE(dateien.size(), 2);
        QVERIFY(boxen.meldungen[1].text.endsWith(".pdf"));
        QVERIFY(boxen.meldungen[1].text != boxen.meldungen[0].text);
        QCOMPARE(protokollZeilen(), zeilenNachAnzeige);

        if (ausgabe == 1) {
            // A plot edited but not saved: the extract documents the stored values.
            f->text_1[14]->setText("ungespeichert");
            QTest::keyClick(f->text_1[14], Qt::Key_F8);
            dateien = ablage.entryList({"*.pdf"}, QDir::Files);
            QCOMPARE(dateien.size(), 3);
            const QString text = pdfText(boxen.meldungen.last().text.section('\n', 1));
            QVERIFY(text.contains("Ecklage"));
            QVERIFY(!text.contains("ungespeichert"));
            // Once saved, the extract shows the stored change.
            f->cmdSpeichern->click();
            QCOMPARE(boxen.meldungen.last().text, "Der Datensatz wurde gespeichert!");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
            QCOMPARE(ablage.entryList({"*.pdf"}, QDir::Files).size(), 4);
            QVERIFY(pdfText(boxen.meldungen.last().text.section('\n', 1)).contains("ungespeichert"));
        }
    }
};

QTEST_MAIN(TstAuskunft)
#include "tst_auskunft.moc"
