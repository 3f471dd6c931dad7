// The print layer: layout helpers, page layout, the text form for golden
// files, PDF files read back with pdftotext, the PDF folder.
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "billing/Druckdokument.h"
#include "billing/ui/DruckerAusgabe.h"
#include "billing/PdfAusgabe.h"
#include "billing/RechnungsLayout.h"

using namespace talu;
using namespace talu::druck;

namespace {

// Amounts as a German office prints them, whatever the machine's locale.
const bool g_deutsch = [] {
    qputenv("LC_ALL", "de_DE.UTF-8");
    return true;
}();

// pdftotext -layout of a PDF: the text lines, pages separated by form feeds.
QString pdfText(const QString& pfad, QString* fehler) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                           pfad, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        *fehler = QString::fromUtf8(p.readAllStandardError()) + p.errorString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Blanks are positions in a PDF; pdftotext gives them back only roughly.
QString ohneBlanks(QString s) {
    static const QRegularExpression ws(QStringLiteral("\\s+"));
    return s.replace(ws, QString());
}

// A document back from its golden text form (see alsText).
Druckdokument ausGolden(const QString& text) {
    Druckdokument d("Golden");
    for (const QString& z : text.split('\n')) {
        if (z == seitenumbruchMarke()) d.neueSeite();
        else if (z == auftragsendeMarke()) d.auftragEnde();
        else if (z.size() >= 2 + kRandBreite + 1) {
            d.setzeFettdruck(z.startsWith('F'));
            d.zeile(z.mid(2 + kRandBreite, z.size() - 3 - kRandBreite));
        }
    }
    return d;
}

QString leseDatei(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList textZeilen(const Druckdokument& d) {
    QStringList l;
    for (const Element& e : d.elemente())
        if (e.art == Element::Art::Zeile && !e.text.trimmed().isEmpty()) l << e.text;
    return l;
}

}  // namespace

class TstDruckdokument : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(g_deutsch);
        QCOMPARE(Money(12.5), QStringLiteral("12,50 €"));
    }

    void helfer_data() {
        QTest::addColumn<QString>("ist");
        QTest::addColumn<QString>("soll");
        QTest::newRow("Pad füllt") << Pad("abc", 6) << "abc   ";
        QTest::newRow("Pad schneidet") << Pad("Grundstücksdaten-Langform", 17) << "Grundstücksdaten-";
        QTest::newRow("Pad leer") << Pad(QString(), 3) << "   ";
        QTest::newRow("Right füllt vorn") << Right("5,00 €", 10) << "    5,00 €";
        QTest::newRow("Right behält jede Ziffer") << Right("1.234.567,89 €", 10) << "1.234.567,89 €";
        QTest::newRow("Money Tausender") << Money(1234.5) << "1.234,50 €";
        QTest::newRow("Money rundet nur die Anzeige") << Money(10 * 0.16) << "1,60 €";
        QTest::newRow("Money negativ") << Money(-2.5) << "-2,50 €";
        // The field ends in column 60 while the amount fits ...
        QTest::newRow("Betrag passt") << MitBetrag(QString(34, ' ') + "Preis (Netto)  : ", "32,50 €", 10)
                                      << QString(34, ' ') + "Preis (Netto)  :    32,50 €";
        // ... and widens to the left into the blanks before it, keeping its end ...
        QTest::newRow("Betrag breiter, Blanks davor") << MitBetrag(QString(51, ' '), "12.345.678,90 €", 10)
                                                      << QString(46, ' ') + "12.345.678,90 €";
        QTest::newRow("Betrag breiter, Name davor")
            << MitBetrag("2026001 02.03.2026 " + Pad("Müller", 32), "1.234.567,00 €", 10)
            << "2026001 02.03.2026 Müller" + QString(22, ' ') + "1.234.567,00 €";
        // ... but never into the text: one blank stays, the line grows.
        QTest::newRow("Betrag breiter, Etikett davor")
            << MitBetrag("Preis (Netto)  : ", "12.345.678,90 €", 10) << "Preis (Netto)  : 12.345.678,90 €";
        QTest::newRow("Betrag breiter, voller Name")
            << MitBetrag(Pad("Schmidt & Partner Sachverständige GmbH", 32), "1.234.567,00 €", 10)
            << "Schmidt & Partner Sachverständig 1.234.567,00 €";
    }
    void helfer() {
        QFETCH(QString, ist);
        QFETCH(QString, soll);
        QCOMPARE(ist, soll);
    }

    void dokumentUndTextform() {
        Druckdokument d("Rechnung", "2026001", QDate(2026, 3, 2));
        d.zeile("normal");
        d.setzeFettdruck(true);
        d.zeile("fett  ");
        d.neueSeite();
        d.leer();
        d.auftragEnde();
        QVERIFY(!d.fettdruck());  // a new job begins with bold off
        d.zeile("zweiter Auftrag");
        QCOMPARE(d.zeilenAnzahl(), 4);
        QCOMPARE(alsText(d), QStringLiteral(" |        normal|\n"
                                            "F|        fett  |\n"
                                            "--- neue Seite ---\n"
                                            "F|        |\n"
                                            "=== Ende des Druckauftrags ===\n"
                                            " |        zweiter Auftrag|\n"));
        QCOMPARE(d.dateiName(), QStringLiteral("Rechnung_2026001_2026-03-02.pdf"));
        QCOMPARE(Druckdokument("Offene Rechnungen", {}, QDate(2026, 3, 2)).dateiName(),
                 QStringLiteral("Offene-Rechnungen_2026-03-02.pdf"));
    }

    void seitenAufteilung() {
        Druckdokument d;
        for (int i = 1; i <= 6; ++i) d.zeile(QString("Zeile %1").arg(i));  // 3 per page: a full page continues
        d.neueSeite();  // right after a full page: no empty page between
        d.zeile("nach Umbruch");
        d.neueSeite();
        d.neueSeite();  // two breaks in a row: one new page
        d.setzeFettdruck(true);
        d.zeile(QString(30, 'x'));  // wider than 20 characters: continues after the margin
        d.auftragEnde();
        d.zeile("Auftrag 2   ");
        const QList<Seite> s = seitenAufteilen(d, Seitenmass{20, 3});
        QCOMPARE(s.size(), 5);
        QCOMPARE(s[0].zeilen.size(), 3);
        QCOMPARE(s[1].zeilen.size(), 3);
        QCOMPARE(s[1].zeilen[0].text, QStringLiteral("        Zeile 4"));
        QCOMPARE(s[2].zeilen.size(), 1);
        QCOMPARE(s[2].zeilen[0].text, QStringLiteral("        nach Umbruch"));
        // 8 + 30 characters on lines of 20: 20, then 8 + 12, then 8 + 6.
        QCOMPARE(s[3].zeilen.size(), 3);
        QCOMPARE(s[3].zeilen[0].text, QStringLiteral("        xxxxxxxxxxxx"));
        QCOMPARE(s[3].zeilen[1].text, QStringLiteral("        xxxxxxxxxxxx"));
        QCOMPARE(s[3].zeilen[2].text, QStringLiteral("        xxxxxx"));
        QVERIFY(s[3].zeilen[2].fett);
        QCOMPARE(s[3].auftrag, 0);
        QCOMPARE(s[4].auftrag, 1);
        QCOMPARE(s[4].zeilen[0].text, QStringLiteral("        Auftrag 2"));  // trailing blanks not printed
        QVERIFY(!s[4].zeilen[0].fett);
    }

    void schriftUndSeitenmass() {
        const QFontInfo fi(druckSchrift(true));
        QVERIFY2(fi.fixedPitch(), qPrintable(fi.family()));
        QVERIFY(fi.italic());
        QVERIFY(fi.bold());
        QTemporaryDir dir;
        QPdfWriter pdf(dir.filePath("mass.pdf"));
        pdf.setPageLayout(seitenLayout());
        const Seitenmass m = seitenmass(pdf);
        // Courier New 12 pt advances 7.2 pt: a 61-column layout with its
        // 8-blank margin and wide amounts fits across A4.
        QVERIFY2(m.zeichenJeZeile >= 72 && m.zeichenJeZeile <= 76, qPrintable(QString::number(m.zeichenJeZeile)));
        if (fi.family() == QLatin1String("Liberation Mono")) QCOMPARE(m.zeilenJeSeite, 60);
    }

    // One invoice rendered to PDF and read back: every line, in order, on
    // the pages the layout says.
    void pdfZurueckgelesen() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) fehlt");
        abrechnung::Kunde k{7, "mueller", "Müller Immobilien GmbH", "z. Hd. Frau Müller", "Kaiserstraße 12", "60311",
                            "Frankfurt am Main"};
        QList<abrechnung::Posten> posten;
        for (int i = 0; i < 14; ++i)
            posten << abrechnung::Posten{100 + i, QDate(2026, 2, 1 + i), "09:1" + QString::number(i % 10),
                                         "Grundstücksdaten", "06412000",
                                         "60311 Frankfurt am Main - Zeil " + QString::number(i + 1), 12.5 + i};
        const Druckdokument d = abrechnung::rechnungsDokument(k, 2026001, QDate(2026, 3, 2), posten, true);
        QTemporaryDir dir;
        const QString pfad = dir.filePath(d.dateiName());
        schreibePdf(d, pfad);
        QString fehler;
        const QString text = pdfText(pfad, &fehler);
        QVERIFY2(!text.isEmpty(), qPrintable(fehler));

        QStringList gelesen;
        for (const QString& z : text.split('\n'))
            if (!z.trimmed().isEmpty()) gelesen << ohneBlanks(z);
        const QStringList soll = textZeilen(d);
        QCOMPARE(gelesen.size(), soll.size());
        for (int i = 0; i < soll.size(); ++i) QCOMPARE(gelesen.at(i), ohneBlanks(soll.at(i)));

        // Columns survive: the price stands right of the key on line A.
        QVERIFY(text.contains(QRegularExpression("06412000 +12,50 €")));
        // Pages: as laid out for this page size with the real font.
        QPdfWriter mass(dir.filePath("mass.pdf"));
        mass.setPageLayout(seitenLayout());
        const int seiten = int(seitenAufteilen(d, seitenmass(mass)).size());
        QCOMPARE(int(text.count(QChar('\f'))), seiten);
        QVERIFY(seiten >= 4);  // two copies of two pages each at least
    }

    // The printed pages of the golden documents, read back with pdftotext
    // -layout, are character for character what the PDF writer gave before
    // it drew lines as glyph runs (files daten/pdf/*, written by that
    // writer), and every font is embedded. TALU_GOLDEN_AUSGABE=DIR writes the
    // text read back there.
    void pdfSeitenWieBisher_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"rechnung_13.txt", "rechnung_12_folgt.txt", "offene_rechnungen.txt", "gutachter.txt"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }
    void pdfSeitenWieBisher() {
        QFETCH(QString, name);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() || QStandardPaths::findExecutable("pdffonts").isEmpty())
            QSKIP("pdftotext/pdffonts (poppler-utils) fehlen");
        if (QFontInfo(druckSchrift(false)).family() != QLatin1String("Liberation Mono"))
            QSKIP("Die Vergleichstexte sind mit Liberation Mono (fonts-liberation) geschrieben");
        const QString golden = leseDatei(QFINDTESTDATA("daten/" + name));
        QVERIFY(!golden.isEmpty());
        const Druckdokument d = ausGolden(golden);
        QCOMPARE(alsText(d), golden);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("d.pdf");
        schreibePdf(d, pfad);
        QString fehler;
        const QString text = pdfText(pfad, &fehler);
        QVERIFY2(!text.isEmpty(), qPrintable(fehler));
        const QString ausgabe = qEnvironmentVariable("TALU_GOLDEN_AUSGABE");
        if (!ausgabe.isEmpty()) {
            QDir().mkpath(ausgabe + "/pdf");
            QFile f(ausgabe + "/pdf/" + name);
            if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
        }
        const QStringList soll = leseDatei(QFINDTESTDATA("daten/pdf/" + name)).split('\n');
        const QStringList ist = text.split('\n');
        for (int i = 0; i < qMin(soll.size(), ist.size()); ++i)
            QVERIFY2(soll.at(i) == ist.at(i), qPrintable(QString("Zeile %1:\n  soll: %2\n  ist:  %3").arg(i + 1).arg(soll.at(i), ist.at(i))));
        QCOMPARE(ist.size(), soll.size());

        // Both faces, embedded.
        QProcess p;
        p.start(QStringLiteral("pdffonts"), {pfad});
        QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
        // The column "emb" found by the dashes under the header.
        const QStringList zeilen = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(zeilen.size() >= 3);
        const QRegularExpression spalte(QStringLiteral("-+"));
        QList<QPair<int, int>> spalten;
        for (auto it = spalte.globalMatch(zeilen.at(1)); it.hasNext();) {
            const auto m = it.next();
            spalten << qMakePair(int(m.capturedStart()), int(m.capturedLength()));
        }
        QVERIFY(spalten.size() > 3);
        QCOMPARE(zeilen.at(0).mid(spalten[3].first, spalten[3].second).trimmed(), QStringLiteral("emb"));
        for (const QString& f : zeilen.mid(2))
            QVERIFY2(f.mid(spalten[3].first, spalten[3].second).trimmed() == QLatin1String("yes"), qPrintable(f));
    }

    // The own PDF writer against Qt's on a document with every printable
    // Latin-1 character, typographic marks, PDF's special characters and
    // both faces over several pages: the same text read back, the same
    // picture of the page (so the embedded subsets hold every glyph drawn,
    // composite ones included), and no complaint from the reader.
    void eigenerSchreiberWieQt() {
        for (const char* p : {"pdftotext", "pdftoppm"})
            if (QStandardPaths::findExecutable(p).isEmpty()) QSKIP("poppler-utils fehlen");
        Druckdokument d("Rechnung", "2026042", QDate(2026, 3, 2));
        QString alle;
        for (char16_t c = 0x21; c < 0x7F; ++c) alle += QChar(c);
        for (char16_t c = 0xA1; c <= 0xFF; ++c) alle += QChar(c);
        alle += QString::fromUtf8("€„“”‚‘’–—…•™ŠšŒœŽžŸ");
        for (int seite = 0; seite < 3; ++seite) {
            for (int i = 0; i < alle.size(); i += 40) {
                d.setzeFettdruck(i % 80 == 0);
                d.zeile(alle.mid(i, 40));
                d.zeile(QStringLiteral("(Klammer) \\ Rück\\strich    ( )   Ende)"));
            }
            d.zeile(Pad("Müller & Söhne GmbH", 34) + "Rechnungs-Nr.  : 2026042");
            d.zeile(QString(50, ' ') + "12.345,67 €");
            d.neueSeite();
        }
        QTemporaryDir dir;
        const QString eigen = dir.filePath("eigen.pdf"), qt = dir.filePath("qt.pdf");
        schreibePdf(d, eigen);
        schreibePdf(d, qt, PdfWeg::NurQt);
        // Each file came from the writer it should.
        QVERIFY(leseDatei(eigen).contains("/Producer (TALU)"));
        QVERIFY(!leseDatei(qt).contains("/Producer (TALU)"));

        auto lauf = [](const QString& prog, const QStringList& args, QByteArray* fehler) {
            QProcess p;
            p.start(prog, args);
            if (!p.waitForFinished(30000) || p.exitCode() != 0) return QByteArray();
            *fehler = p.readAllStandardError();
            return p.readAllStandardOutput();
        };
        QByteArray fehlerEigen, fehlerQt;
        const QByteArray textEigen = lauf("pdftotext", {"-layout", "-enc", "UTF-8", eigen, "-"}, &fehlerEigen);
        const QByteArray textQt = lauf("pdftotext", {"-layout", "-enc", "UTF-8", qt, "-"}, &fehlerQt);
        QVERIFY(!textEigen.isEmpty());
        QVERIFY2(fehlerEigen.isEmpty(), fehlerEigen.constData());
        QCOMPARE(QString::fromUtf8(textEigen), QString::fromUtf8(textQt));
        QVERIFY(QString::fromUtf8(textEigen).contains(QString::fromUtf8("Müller & Söhne GmbH")));

        // Both pages drawn at 60 dpi in grey: dark pixels where Qt has them.
        for (int seite : {1, 3}) {
            QImage bild[2];
            int i = 0;
            for (const QString& pfad : {eigen, qt}) {
                QByteArray fehler;
                const QString stamm = pfad + ".seite";
                lauf("pdftoppm", {"-r", "60", "-gray", "-singlefile", "-f", QString::number(seite), "-l",
                                  QString::number(seite), pfad, stamm},
                     &fehler);
                QVERIFY2(fehler.isEmpty(), fehler.constData());
                QVERIFY(bild[i++].load(stamm + ".pgm"));
            }
            QCOMPARE(bild[0].size(), bild[1].size());
            int dunkel = 0, anders = 0;
            for (int y = 0; y < bild[0].height(); ++y)
                for (int x = 0; x < bild[0].width(); ++x) {
                    const int a = qGray(bild[0].pixel(x, y)), b = qGray(bild[1].pixel(x, y));
                    dunkel += b < 128;
                    anders += qAbs(a - b) > 96;
                }
            QVERIFY(dunkel > 2000);
            QVERIFY2(anders * 50 < dunkel, qPrintable(QString("%1 von %2 dunklen Punkten anders").arg(anders).arg(dunkel)));
        }
    }

    // A character the print font lacks sends the document to Qt's writer,
    // which finds it in another font; the rest reads back as ever.
    void fremdeZeichenNimmtQt() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) fehlt");
        Druckdokument d("Test");
        d.zeile(QString::fromUtf8("Straße 1 – 漢字 ") + QString::fromUcs4(U"\U0001F600"));
        d.zeile("Zweite Zeile");
        QTemporaryDir dir;
        const QString pfad = dir.filePath("fremd.pdf");
        schreibePdf(d, pfad);
        QVERIFY(!leseDatei(pfad).contains("/Producer (TALU)"));
        QString fehler;
        const QString text = pdfText(pfad, &fehler);
        QVERIFY2(text.contains(QString::fromUtf8("Straße")) && text.contains("Zweite Zeile"), qPrintable(text + fehler));
    }

    void pdfLangeZeileGehtWeiter() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) fehlt");
        Druckdokument d("Test");
        const QString lang = "Anfang" + QString(60, '-') + "MitteXY" + QString(20, '-') + "Ende";
        d.zeile(lang);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("lang.pdf");
        schreibePdf(d, pfad);
        QString fehler;
        const QStringList zeilen = pdfText(pfad, &fehler).split('\n', Qt::SkipEmptyParts);
        QStringList nichtLeer;
        for (const QString& z : zeilen)
            if (!z.trimmed().isEmpty() && z.trimmed() != "\f") nichtLeer << z.trimmed();
        QCOMPARE(nichtLeer.size(), 2);
        QVERIFY(nichtLeer[0].startsWith("Anfang"));
        QVERIFY(nichtLeer[1].endsWith("Ende"));
        QCOMPARE(ohneBlanks(nichtLeer.join(QString())), lang);
    }

    void ablageBenenntUndUeberschreibtNicht() {
        QTemporaryDir dir;
        PdfAblage ablage(dir.filePath("neu/ordner"));
        QVERIFY(!ablage.druckt());
        Druckdokument d("Rechnung", "2026005", QDate(2026, 3, 2));
        d.zeile("eins");
        const DruckErgebnis a = ablage.gibAus(d);
        const DruckErgebnis b = ablage.gibAus(d);
        QVERIFY(!a.gedruckt);
        QCOMPARE(QFileInfo(a.pdfPfad).fileName(), QStringLiteral("Rechnung_2026005_2026-03-02.pdf"));
        QCOMPARE(QFileInfo(b.pdfPfad).fileName(), QStringLiteral("Rechnung_2026005_2026-03-02_2.pdf"));
        QFile f(a.pdfPfad);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        QCOMPARE(QDir(ablage.ordner()).entryList(QDir::Files).size(), 2);
    }

    // Without a default printer the printer target writes PDF files into its
    // folder and never reports them as printed.
    void ohneDruckerInsPdf() {
        if (DruckerZiel::druckerVorhanden()) QSKIP("Dieses System hat einen Standarddrucker");
        QTemporaryDir dir;
        DruckerZiel ziel(dir.filePath("Ausdrucke"));
        QVERIFY(!ziel.druckt());
        QVERIFY(ziel.imVoraus());
        Druckdokument d("Offene-Rechnungen", {}, QDate(2026, 3, 2));
        d.zeile("Liste");
        const DruckErgebnis e = ziel.gibAus(d);
        QVERIFY(!e.gedruckt);
        QCOMPARE(e.pdfPfad, QDir(dir.filePath("Ausdrucke")).absoluteFilePath("Offene-Rechnungen_2026-03-02.pdf"));
        QVERIFY(QFileInfo::exists(e.pdfPfad));
        ziel.zurueckziehen(e);
        QVERIFY(!QFileInfo::exists(e.pdfPfad));
    }

    void ablageUnbeschreibbarMeldetFehler() {
        QTemporaryDir dir;
        QFile datei(dir.filePath("keinOrdner"));
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.close();
        PdfAblage ablage(dir.filePath("keinOrdner/unter"));  // a file stands where the folder should be
        Druckdokument d("Rechnung", "1");
        d.zeile("x");
        bool geworfen = false;
        try {
            ablage.gibAus(d);
        } catch (const DruckFehler& f) {
            geworfen = true;
            QVERIFY(f.text().contains("keinOrdner"));
        }
        QVERIFY(geworfen);
    }
};

QTEST_MAIN(TstDruckdokument)
#include "tst_druckdokument.moc"
