// The invoice run: every printed line against golden files, numbering across
// runs and years, stored amounts, closing exactly the rows read, a failure
// in the middle of a run, the case rule of the customer match, numbers
// handed out by two connections at once. On SQLite and, with TALU_TEST_PG,
// on PostgreSQL.
#include <QDir>
#include <algorithm>
#include <memory>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "AbrechnungHilfe.h"
#include "kit/Dialoge.h"
#include "billing/AbrechnungsDaten.h"
#include "billing/Laufsperre.h"
#include "tools/stapel/Stapelauftrag.h"
#include "billing/Rechnungslauf.h"

using namespace talu;
using namespace talu::abrechnung;
using namespace talu::test;

namespace {

const QDate kHeute(2026, 3, 2);

// The i-th item of a customer (counting from 1): the three kinds of query in
// turn, one wide price, dates and times that differ.
Zeile posten(const QString& benutzer, int i) {
    Zeile z;
    z.benutzer = benutzer;
    z.datum = QDate(2026, 2, i);
    z.uhrzeit = QStringLiteral("%1:%2").arg(8 + i % 10, 2, 10, QChar('0')).arg(i * 7 % 60, 2, 10, QChar('0'));
    switch (i % 3) {
        case 1:
            z.vorgang = QStringLiteral("Grundstücksdaten");
            z.objekt = QStringLiteral("60311 Frankfurt am Main - Kaiserstraße %1").arg(i);
            z.preis = 25.0;
            break;
        case 2:
            z.vorgang = QStringLiteral("Marktübersichten");
            z.objekt = QStringLiteral("60311 Frankfurt am Main - Kaufpreise Einfamilienhäuser");
            z.schluessel = QStringLiteral("06412000");
            z.preis = 15.0;
            break;
        default:
            z.vorgang = QStringLiteral("Ortsdaten");
            z.objekt = QStringLiteral("88662 Überlingen");
            z.schluessel = QStringLiteral("08435059");
            z.preis = 2.5;
            break;
    }
    if (i == 3) z.preis = 1234.5;
    return z;
}

// Writes the rows of one golden case; the customer "mueller" has id 1.
void fuelleFall(const Datenbank& db, const QString& fall) {
    const bool ohneZusatz = fall == "rechnung_00" || fall == "rechnung_11" || fall == "rechnung_13";
    const QVariant zusatz = fall == "rechnung_10"  ? QVariant(QString())  // empty counts as none
                            : ohneZusatz           ? QVariant()
                                                   : QVariant(QStringLiteral("z. Hd. Frau Müller"));
    kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"), zusatz);
    auto nullZeile = [&](const QVariant& preis) {
        Zeile z = posten("mueller", 9);
        z.preis = preis;
        zeile(db, z);
    };
    auto gast = [&] { zeile(db, "zz_gast", 10.0); };  // a user who is no customer
    auto items = [&](int n, int nullNach = 0) {
        for (int i = 1; i <= n; ++i) {
            Zeile z = posten("mueller", i);
            if (fall == "rechnung_13" && i == 5) {
                z.objekt = QVariant();
                z.uhrzeit = QVariant();
            }
            zeile(db, z);
            if (i == nullNach) nullZeile(0.0);
        }
    };
    if (fall == "rechnung_00") {
        nullZeile(0.0);
        nullZeile(QVariant());
    } else if (fall == "rechnung_01") {
        items(1);
        gast();
    } else if (fall == "rechnung_10") {
        items(10, 4);
        gast();
    } else if (fall == "rechnung_11") {
        items(11);
    } else if (fall == "rechnung_12_folgt") {
        items(12);
        gast();
    } else if (fall == "rechnung_12_ende") {
        items(12);
    } else if (fall == "rechnung_12_nullzeile") {
        items(12);
        nullZeile(QVariant());
    } else if (fall == "rechnung_13") {
        items(13);
    }
}


LaufErgebnis lauf(const Datenbank& db, druck::Druckziel& ziel, TestBediener& b, const QDate& heute = kHeute,
                  druck::Druckziel* archiv = nullptr) {
    Rechnungslauf l(db, ziel, b);
    l.setzeHeute(heute);
    l.setzeArchiv(archiv);
    const QVariant puffer = db.backend() == Backend::SQLite ? db.wert("pragma cache_size") : QVariant();
    const LaufErgebnis e = l.fuehreAus();
    // The run's larger page cache ends with it.
    if (puffer.isValid() && db.wert("pragma cache_size").toLongLong() != puffer.toLongLong())
        QTest::qFail("Der Seitenpuffer der Verbindung blieb vergrößert.", __FILE__, __LINE__);
    return e;
}

}  // namespace

class TstRechnungslauf : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(g_deutscheZahlen); }

    void golden_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("fall");
        for (const TestBackend& b : backends())
            for (const char* f : {"rechnung_00", "rechnung_01", "rechnung_10", "rechnung_11", "rechnung_12_folgt",
                                  "rechnung_12_ende", "rechnung_12_nullzeile", "rechnung_13"})
                QTest::newRow(qPrintable(b.name + "/" + f)) << b.name << QString(f);
    }
    // Every line, its face and every page break of both copies as laid out.
    void golden() {
        QFETCH(QString, backend);
        QFETCH(QString, fall);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelleFall(db, fall));
        Sammler s;
        TestBediener b;
        const LaufErgebnis e = lauf(db, s, b);
        QVERIFY2(!e.abgebrochen, qPrintable(b.fehlerTexte.join('\n')));
        QCOMPARE(s.dokumente.size(), 1);
        QCOMPARE(e.rechnungen.size(), 1);
        QCOMPARE(e.rechnungen[0].nummer, qint64(2026001));
        TALU_GOLDEN(s.dokumente[0], fall + ".txt");
    }

    void nummernUeberLaeufeUndJahre_data() { backendZeilen(); }
    void nummernUeberLaeufeUndJahre() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        qint64 a = 0;
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG");
                   a = zeile(db, "anton", 12.5); zeile(db, "berta", 2.5));
        Sammler s;
        TestBediener b;
        LaufErgebnis e = lauf(db, s, b, QDate(2025, 12, 31));
        QCOMPARE(e.rechnungen.size(), 2);
        QCOMPARE(e.rechnungen[0].nummer, qint64(2025001));  // empty table: year × 1000 + 1
        QCOMPARE(e.rechnungen[1].nummer, qint64(2025002));  // the next customer: + 1
        QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {a}).toLongLong(), qint64(2025001));
        // Answered No. The next run, in a new year, puts both invoices out
        // again under their numbers and dates; anton's new query gets a new
        // number that goes on from the last one.
        qint64 spaet = 0;
        TALU_DB_OK(spaet = zeile(db, "anton", 5.0));
        s.dokumente.clear();
        e = lauf(db, s, b, QDate(2026, 1, 2));
        QCOMPARE(e.rechnungen.size(), 3);
        QCOMPARE(e.rechnungen[0].nummer, qint64(2025001));
        QVERIFY(e.rechnungen[0].erneut);
        QCOMPARE(e.rechnungen[0].netto, 12.5);
        QCOMPARE(e.rechnungen[1].nummer, qint64(2025003));
        QVERIFY(!e.rechnungen[1].erneut);
        QCOMPARE(e.rechnungen[1].netto, 5.0);
        QCOMPARE(e.rechnungen[2].nummer, qint64(2025002));
        QVERIFY(e.rechnungen[2].erneut);
        QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {a}).toLongLong(), qint64(2025001));
        QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {spaet}).toLongLong(),
                 qint64(2025003));
        QCOMPARE(anzahl(db, "select count(*) from rechnungen"), 3);
        QCOMPARE(anzahl(db, "select count(*) from rechnungen where rechnungsdatum = ?", {QDate(2025, 12, 31)}), 2);
        // Printed again as stored: the old date and payment term.
        const QString text = druck::alsText(s.dokumente[0]);
        QVERIFY2(text.contains("Rechungs-Datum : 31.12.2025") && text.contains("bis zum 14.01.2026 auf eines"),
                 qPrintable(text));
    }

    void betraegeUngerundet_data() { backendZeilen(); }
    void betraegeUngerundet() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); zeile(db, "anton", 10.0);
                   zeile(db, "berta", 12.345); zeile(db, "berta", 0.005));
        Sammler s;
        TestBediener b;
        const LaufErgebnis e = lauf(db, s, b);
        QCOMPARE(e.rechnungen.size(), 2);
        const QString text = druck::alsText(s.dokumente[0]);
        QVERIFY(text.contains("Preis (Netto)  :    10,00 €|"));
        QVERIFY(text.contains("Steuer         :     1,60 €|"));
        QVERIFY(text.contains("Preis (Brutto) :    11,60 €|"));

        const Recordset r = db.abfrage("select * from rechnungen order by rechnungsnummer");
        QCOMPARE(r.anzahl(), 2);
        QCOMPARE(r.text("kundenname"), QStringLiteral("Anton AG"));
        QCOMPARE(r.zahl("nettobetrag"), 10.0);
        QCOMPARE(r.zahl("steuer"), 10.0 * 0.16);
        QCOMPARE(r.zahl("bruttobetrag"), 10.0 * 1.16);
        QCOMPARE(r.text("offen"), QStringLiteral("ja"));
        QCOMPARE(r.datum("rechnungsdatum"), kHeute);
        QCOMPARE(r.datum("zahlungsziel"), kHeute.addDays(14));
        Recordset r2 = r;
        r2.moveNext();
        // 12.35 net: the products are stored as they are, not rounded to cents.
        const double netto = 12.345 + 0.005;
        QCOMPARE(r2.zahl("nettobetrag"), netto);
        QCOMPARE(r2.zahl("steuer"), netto * 0.16);
        QVERIFY(qAbs(r2.zahl("steuer") - 1.976) < 1e-9);
        QVERIFY(qAbs(r2.zahl("bruttobetrag") - 14.326) < 1e-9);
        QVERIFY(druck::alsText(s.dokumente[1]).contains("Steuer         :     1,98 €|"));
    }

    void jaSchliesstGenauDieGelesenenZeilen_data() { backendZeilen(); }
    void jaSchliesstGenauDieGelesenenZeilen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        qint64 geschlossen = 0, nachher = 0;
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); zeile(db, "anton", 12.5); zeile(db, "anton", 0.0);
                   zeile(db, "gast", 10.0); zeile(db, QString(), 5.0);
                   Zeile z; z.benutzer = "anton"; z.preis = 7.5; z.offen = "nein"; geschlossen = zeile(db, z));
        Sammler s;
        TestBediener b;
        b.antworten << true;
        // Another operator's query logged while the question is open.
        b.beiFrage = [&] { nachher = zeile(db, "anton", 25.0); };
        const LaufErgebnis e = lauf(db, s, b);
        QCOMPARE(b.fragen.size(), 1);
        QCOMPARE(b.fragen[0], Rechnungslauf::frageGedruckt());
        QCOMPARE(e.gelesen, 4);  // the passed-over row and the non-customers' rows included
        QCOMPARE(e.geschlossen, 4);
        QCOMPARE(b.infos.last(), Rechnungslauf::zurueckgesetztText());
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen = 'ja'"), 1);
        QCOMPARE(db.wert("select offen from abfrageprotokoll where id = ?", {nachher}).toString(), QStringLiteral("ja"));
        QCOMPARE(db.wert("select offen from abfrageprotokoll where id = ?", {geschlossen}).toString(),
                 QStringLiteral("nein"));
        QVERIFY(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {geschlossen}).isNull());
        // The passed-over row is closed and carries the number of the
        // invoice that read it (so that it is never billed by another one).
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where rechnungsnummer is not null"), 2);

        // The late row is billed by the next run.
        Sammler s2;
        TestBediener b2;
        const LaufErgebnis e2 = lauf(db, s2, b2);
        QCOMPARE(e2.gelesen, 1);
        QCOMPARE(e2.rechnungen.size(), 1);
        QCOMPARE(e2.rechnungen[0].netto, 25.0);
    }

    void neinLaesstAllesOffen_data() { backendZeilen(); }
    void neinLaesstAllesOffen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); zeile(db, "anton", 12.5); zeile(db, "gast", 10.0));
        Sammler s;
        TestBediener b;
        b.antworten << false;
        const LaufErgebnis e = lauf(db, s, b);
        QCOMPARE(b.fragen.size(), 1);
        QCOMPARE(e.geschlossen, 0);
        QVERIFY(!b.infos.contains(Rechnungslauf::zurueckgesetztText()));
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen = 'ja'"), 2);
        QCOMPARE(anzahl(db, "select count(*) from rechnungen"), 1);
    }

    void keineOffenenZeilen_data() { backendZeilen(); }
    void keineOffenenZeilen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); Zeile z; z.benutzer = "anton"; z.preis = 5.0; z.offen = "nein";
                   zeile(db, z));
        Sammler s;
        TestBediener b;
        const LaufErgebnis e = lauf(db, s, b);
        QVERIFY(e.keineOffenen);
        QCOMPARE(b.infos, QStringList{Rechnungslauf::keineOffenenText()});
        QVERIFY(b.fragen.isEmpty());
        QVERIFY(s.dokumente.isEmpty());
    }

    // Open rows of users who are no customers: nothing printed, but the
    // question is asked (without claiming anything went to the printer).
    void nurNichtKunden_data() { backendZeilen(); }
    void nurNichtKunden() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); zeile(db, "gast", 10.0); zeile(db, "gast", 2.5));
        Sammler s;
        TestBediener b;
        b.antworten << true;
        const LaufErgebnis e = lauf(db, s, b);
        QVERIFY(s.dokumente.isEmpty());
        QCOMPARE(b.fragen.size(), 1);
        QVERIFY(!b.fragen[0].contains("Drucker"));
        QCOMPARE(e.geschlossen, 2);
    }

    // A printer failure on the second customer. Paper is printed after the
    // commit, so the second invoice is stored and archived but not on paper;
    // the third customer's rows are not numbered, nothing is closed, and the
    // message says what the next run does: it prints the two stored
    // invoices again under their numbers and bills the third customer anew.
    void fehlerBeimZweitenKunden_data() { backendZeilen(); }
    void fehlerBeimZweitenKunden() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); kunde(db, "cesar", "Cäsar GmbH");
                   zeile(db, "anton", 12.5); zeile(db, "anton", 2.5); zeile(db, "berta", 25.0); zeile(db, "berta", 5.0);
                   zeile(db, "cesar", 5.0));
        QTemporaryDir dir;
        druck::PdfAblage archiv(dir.path());
        Sammler s;
        s.fehlerBei = 2;
        TestBediener b;
        const LaufErgebnis e = lauf(db, s, b, kHeute, &archiv);
        QVERIFY(e.abgebrochen);
        QCOMPARE(e.rechnungen.size(), 1);
        QVERIFY(b.fragen.isEmpty());
        QCOMPARE(b.fehlerTexte.size(), 1);
        const QString text = b.fehlerTexte[0];
        QVERIFY2(text.contains("Berta KG") && text.contains("Papierstau") && text.contains("2026001") &&
                     text.contains("Die Rechnung 2026002 ist gespeichert") &&
                     text.contains("unter ihrer Nummer noch einmal aus"),
                 qPrintable(text));

        const Recordset r = db.abfrage("select * from rechnungen order by rechnungsnummer");
        QCOMPARE(r.anzahl(), 2);
        QCOMPARE(r.zahl("nettobetrag"), 15.0);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where rechnungsnummer = 2026001"), 2);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where rechnungsnummer = 2026002"), 2);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where db_benutzer = 'cesar' and rechnungsnummer is null"), 1);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen = 'ja'"), 5);
        // The archive holds the stored invoices only, each complete under its name.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"Rechnung_2026001_2026-03-02.pdf", "Rechnung_2026002_2026-03-02.pdf"}));

        // After the fault is mended: the same two invoices again, then the third.
        Sammler s2;
        TestBediener b2;
        const LaufErgebnis e2 = lauf(db, s2, b2, kHeute, &archiv);
        QCOMPARE(e2.rechnungen.size(), 3);
        QCOMPARE(e2.rechnungen[0].nummer, qint64(2026001));
        QCOMPARE(e2.rechnungen[1].nummer, qint64(2026002));
        QCOMPARE(e2.rechnungen[1].kunde, QStringLiteral("Berta KG"));
        QCOMPARE(e2.rechnungen[1].netto, 30.0);
        QVERIFY(e2.rechnungen[1].erneut);
        QCOMPARE(e2.rechnungen[2].nummer, qint64(2026003));
        QCOMPARE(e2.rechnungen[2].kunde, QStringLiteral("Cäsar GmbH"));
        QCOMPARE(anzahl(db, "select count(*) from rechnungen"), 3);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    }

    // Every invoice put out on paper is archived as one PDF per number; a
    // target that writes PDF files says so in the closing question.
    void archivUndPdfZiel_data() { backendZeilen(); }
    void archivUndPdfZiel() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); zeile(db, "anton", 12.5);
                   zeile(db, "berta", 25.0));
        QTemporaryDir dir;
        druck::PdfAblage archiv(dir.filePath("archiv"));
        Sammler papier;
        TestBediener b;
        LaufErgebnis e = lauf(db, papier, b, kHeute, &archiv);
        QCOMPARE(e.rechnungen.size(), 2);
        QVERIFY(e.rechnungen[0].gedruckt);
        QCOMPARE(QFileInfo(e.rechnungen[0].pdfPfad).fileName(), QStringLiteral("Rechnung_2026001_2026-03-02.pdf"));
        QCOMPARE(QDir(archiv.ordner()).entryList(QDir::Files).size(), 2);

        druck::PdfAblage pdf(dir.filePath("pdf"));
        TestBediener b2;
        e = lauf(db, pdf, b2, kHeute, &archiv);
        QCOMPARE(e.rechnungen.size(), 2);
        QVERIFY(!e.rechnungen[0].gedruckt);
        QVERIFY(QFileInfo::exists(e.rechnungen[1].pdfPfad));
        QCOMPARE(QDir(archiv.ordner()).entryList(QDir::Files).size(), 2);  // a PDF is its own archive copy
        QCOMPARE(b2.fragen.size(), 1);
        QVERIFY(!b2.fragen[0].contains("Drucker"));
        QVERIFY(b2.fragen[0].contains(pdf.ordner()));
    }

    // Written as files, the next invoices are produced ahead while one
    // customer's transaction runs. A number taken meanwhile by another run
    // is not used twice: the invoices ahead are written again under the
    // numbers now free, and no stray file stays behind.
    void pdfImVorausFremdeNummer_data() { backendZeilen(); }
    void pdfImVorausFremdeNummer() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(for (int i = 1; i <= 5; ++i) {
            kunde(db, QString("k%1").arg(i), QString("Kunde %1").arg(i));
            zeile(db, QString("k%1").arg(i), 10.0 * i);
        });
        QTemporaryDir dir;
        druck::PdfAblage pdf(dir.path());
        TestBediener b;
        b.beiFortschritt = [&](int nr) {
            if (nr == 3) db.einfuegen("rechnungen", {{"rechnungsnummer", 2026003}, {"offen", "nein"}});
        };
        const LaufErgebnis e = lauf(db, pdf, b);
        QVERIFY2(!e.abgebrochen, qPrintable(b.fehlerTexte.join('\n')));
        QList<qint64> nummern;
        for (const ErstellteRechnung& r : e.rechnungen) nummern << r.nummer;
        QCOMPARE(nummern, (QList<qint64>{2026001, 2026002, 2026004, 2026005, 2026006}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"Rechnung_2026001_2026-03-02.pdf", "Rechnung_2026002_2026-03-02.pdf",
                              "Rechnung_2026004_2026-03-02.pdf", "Rechnung_2026005_2026-03-02.pdf",
                              "Rechnung_2026006_2026-03-02.pdf"}));
        QCOMPARE(e.rechnungen[2].kunde, QStringLiteral("Kunde 3"));
        QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where db_benutzer = 'k3'").toLongLong(),
                 qint64(2026004));
        QCOMPARE(db.wert("select kundenname from rechnungen where rechnungsnummer = 2026005").toString(),
                 QStringLiteral("Kunde 4"));
        // The file carries the number that was stored.
        if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            QProcess p;
            p.start("pdftotext", {"-layout", e.rechnungen[2].pdfPfad, "-"});
            QVERIFY(p.waitForFinished(30000));
            const QString text = QString::fromUtf8(p.readAllStandardOutput());
            QVERIFY2(text.contains(QRegularExpression("Kunde 3 +Rechnungs-Nr\\. +: 2026004")), qPrintable(text));
        }
    }

    // A file that cannot be written stops the run; the invoices written
    // ahead of it are withdrawn.
    void pdfImVorausFehler_data() { backendZeilen(); }
    void pdfImVorausFehler() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(for (int i = 1; i <= 6; ++i) {
            kunde(db, QString("k%1").arg(i), QString("Kunde %1").arg(i));
            zeile(db, QString("k%1").arg(i), 10.0 * i);
        });
        class VolleAblage : public druck::PdfAblage {
        public:
            using druck::PdfAblage::PdfAblage;
            druck::Vorlaeufig vorbereite(const druck::Druckdokument& d) override {
                if (d.nummer() == "2026002") throw druck::DruckFehler("Kein Platz mehr auf dem Datenträger");
                return druck::PdfAblage::vorbereite(d);
            }
        };
        QTemporaryDir dir;
        VolleAblage pdf(dir.path());
        TestBediener b;
        const LaufErgebnis e = lauf(db, pdf, b);
        QVERIFY(e.abgebrochen);
        QCOMPARE(e.rechnungen.size(), 1);
        QCOMPARE(b.fehlerTexte.size(), 1);
        QVERIFY(b.fehlerTexte[0].contains("Kunde 2") && b.fehlerTexte[0].contains("Kein Platz"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Rechnung_2026001_2026-03-02.pdf"});
        QCOMPARE(db.wert("select count(*) from rechnungen").toInt(), 1);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where rechnungsnummer is not null").toInt(), 1);

        // Stopped by the operator before the third customer: the same.
        QTemporaryDir dir2;
        druck::PdfAblage pdf2(dir2.path());
        TestBediener b2;
        b2.anhaltenBei = 3;
        const LaufErgebnis e2 = lauf(db, pdf2, b2);
        QCOMPARE(e2.rechnungen.size(), 2);
        QCOMPARE(QDir(dir2.path()).entryList(QDir::Files).size(), 2);
    }

    // A log user matches its customer whatever the letter case, umlauts
    // included, on every backend: one invoice per customer with all its
    // rows, whichever case each row was logged in, and rows logged in
    // between by others do not split it.
    void grossKleinschreibung_data() { backendZeilen(); }
    void grossKleinschreibung() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        QList<qint64> meier, mueller;
        TALU_DB_OK(kunde(db, "Meier", "Meier KG"); kunde(db, QStringLiteral("ÜBERLINGER"), "Überlinger Bau");
                   kunde(db, "mueller", "Müller Immobilien GmbH");
                   meier << zeile(db, "meier", 5.0); zeile(db, "gast", 3.0);
                   mueller << zeile(db, "MUELLER", 7.5);
                   meier << zeile(db, "MEIER", 12.5);
                   mueller << zeile(db, "Mueller", 2.5);
                   const qint64 u1 = zeile(db, QStringLiteral("überlinger"), 10.0);
                   const qint64 u2 = zeile(db, QStringLiteral("Überlinger"), 20.0);
                   meier << zeile(db, "Meier", 1.0) << u1 << u2);
        const QList<qint64> ueber{meier.takeLast(), meier.takeLast()};
        Sammler s;
        TestBediener b;
        b.antworten << true;
        const LaufErgebnis e = lauf(db, s, b);
        QVERIFY2(!e.abgebrochen, qPrintable(b.fehlerTexte.join('\n')));
        QCOMPARE(e.rechnungen.size(), 3);
        QMap<QString, ErstellteRechnung> je;
        for (const ErstellteRechnung& r : e.rechnungen) je.insert(r.kunde, r);
        QCOMPARE(je.value("Meier KG").posten, 3);
        QCOMPARE(je.value("Meier KG").netto, 18.5);
        QCOMPARE(je.value("Müller Immobilien GmbH").posten, 2);
        QCOMPARE(je.value("Überlinger Bau").posten, 2);
        QCOMPARE(je.value("Überlinger Bau").netto, 30.0);
        for (qint64 id : meier)
            QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {id}).toLongLong(),
                     je.value("Meier KG").nummer);
        for (qint64 id : ueber)
            QCOMPARE(db.wert("select rechnungsnummer from abfrageprotokoll where id = ?", {id}).toLongLong(),
                     je.value("Überlinger Bau").nummer);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where rechnungsnummer is null"), 1);  // the guest
        QCOMPARE(e.geschlossen, 8);
    }

    // The run's progress reaches a batch display (the progress dialog of the
    // program); its cancel button stops the run before the next customer.
    void fortschrittsAnzeige_data() { backendZeilen(); }
    void fortschrittsAnzeige() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); kunde(db, "cesar", "Cäsar GmbH");
                   zeile(db, "anton", 12.5); zeile(db, "berta", 25.0); zeile(db, "cesar", 5.0));
        QStringList gemeldet;
        bool abbrechen = false;
        stapel::AnzeigeFunktion anzeige(
            [&](qint64 erledigt, qint64 gesamt, const QString& text) {
                gemeldet << QStringLiteral("%1/%2 %3").arg(erledigt).arg(gesamt).arg(text);
                abbrechen = erledigt == 2;  // the operator cancels while the second customer shows
            },
            [&] { return abbrechen; });
        DialogAufzeichnung boxen;
        DialogBediener bediener(nullptr, &anzeige);
        Sammler s;
        Rechnungslauf lauf(db, s, bediener);
        lauf.setzeHeute(kHeute);
        const LaufErgebnis e = lauf.fuehreAus();
        // The count names the invoice being written.
        QCOMPARE(gemeldet, (QStringList{"1/3 Rechnung für „Anton AG“", "2/3 Rechnung für „Berta KG“"}));
        QVERIFY(e.abgebrochen);
        QCOMPARE(e.rechnungen.size(), 1);
        QCOMPARE(boxen.meldungen.size(), 1);
        QVERIFY(boxen.meldungen[0].text.contains("Berta KG"));
        QVERIFY(boxen.meldungen[0].text.contains("Der nächste Rechnungslauf"));
        QVERIFY(boxen.fragen.isEmpty());
    }

    // Answered No, then a second run: the same invoices under the same
    // numbers, dates and files, no new number; an invoice already marked
    // paid is left alone, and a customer whose rows are all passed over gets
    // no second invoice of 0,00 €. A stored invoice that no longer matches
    // its rows is not printed again: the run stops and says why.
    void neinDannZweiterLauf_data() { backendZeilen(); }
    void neinDannZweiterLauf() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); kunde(db, "null", "Null OHG");
                   zeile(db, "anton", 12.5); zeile(db, "anton", 0.0); zeile(db, "berta", 25.0); zeile(db, "null", 0.0);
                   zeile(db, "Anton", 2.5));
        QTemporaryDir dir;
        druck::PdfAblage pdf(dir.path());
        TestBediener b;
        const LaufErgebnis e1 = lauf(db, pdf, b);
        QCOMPARE(e1.rechnungen.size(), 3);
        const QStringList dateien = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(dateien.size(), 3);
        const Recordset vorher = db.abfrage("select * from rechnungen order by rechnungsnummer");
        const Recordset zeilenVorher = db.abfrage("select id, rechnungsnummer from abfrageprotokoll order by id");

        Sammler s;
        TestBediener b2;
        const LaufErgebnis e2 = lauf(db, s, b2, kHeute.addDays(3));
        QVERIFY2(!e2.abgebrochen, qPrintable(b2.fehlerTexte.join('\n')));
        QCOMPARE(e2.rechnungen.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(e2.rechnungen[i].nummer, e1.rechnungen[i].nummer);
            QCOMPARE(e2.rechnungen[i].netto, e1.rechnungen[i].netto);
            QVERIFY(e2.rechnungen[i].erneut);
            // Word for word the first run's document, dated as stored.
            QCOMPARE(s.dokumente[i].dateiName(), dateien[i]);
        }
        QVERIFY(druck::alsText(s.dokumente[0]).contains("Rechungs-Datum : 02.03.2026"));
        QCOMPARE(db.abfrage("select * from rechnungen order by rechnungsnummer").zeilen().size(), vorher.zeilen().size());
        QCOMPARE(db.wert("select max(rechnungsnummer) from rechnungen").toLongLong(), e1.rechnungen.last().nummer);
        const Recordset zeilenNachher = db.abfrage("select id, rechnungsnummer from abfrageprotokoll order by id");
        for (int i = 0; i < zeilenVorher.zeilen().size(); ++i)
            QCOMPARE(zeilenNachher.zeilen()[i].value(1), zeilenVorher.zeilen()[i].value(1));

        // Berta has paid: her invoice is closed, her row still open.
        TALU_DB_OK(db.ausfuehren("update rechnungen set offen = 'nein' where kundenname = 'Berta KG'"));
        Sammler s3;
        TestBediener b3;
        const LaufErgebnis e3 = lauf(db, s3, b3);
        QCOMPARE(e3.rechnungen.size(), 2);
        for (const ErstellteRechnung& r : e3.rechnungen) QVERIFY(r.kunde != QStringLiteral("Berta KG"));

        // Tampered: the stored amount no longer matches the rows.
        TALU_DB_OK(db.ausfuehren("update rechnungen set nettobetrag = 99 where kundenname = 'Anton AG'"));
        Sammler s4;
        TestBediener b4;
        const LaufErgebnis e4 = lauf(db, s4, b4);
        QVERIFY(e4.abgebrochen);
        QVERIFY(s4.dokumente.isEmpty());
        QCOMPARE(b4.fehlerTexte.size(), 1);
        QVERIFY2(b4.fehlerTexte[0].contains("stimmt nicht mit ihren offenen Abfragen"), qPrintable(b4.fehlerTexte[0]));
    }

    // A run while another holds the run's lock is refused with a message
    // and reads, writes and asks nothing; once the other is done it goes.
    void zweiterLaufAbgewiesen_data() { backendZeilen(); }
    void zweiterLaufAbgewiesen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); zeile(db, "anton", 12.5));
        Datenbank andere;
        QString fehler;
        QVERIFY2(andere.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
        {
            Laufsperre erster(andere);
            bool genommen = false;
            TALU_DB_OK(genommen = erster.nimm());
            QVERIFY(genommen);
            Sammler s;
            TestBediener b;
            const LaufErgebnis e = lauf(db, s, b);
            QVERIFY(e.belegt);
            QCOMPARE(b.infos, QStringList{Laufsperre::belegtText()});
            QVERIFY(b.fragen.isEmpty());
            QVERIFY(s.dokumente.isEmpty());
            QCOMPARE(anzahl(db, "select count(*) from rechnungen"), 0);
        }
        Sammler s;
        TestBediener b;
        const LaufErgebnis e = lauf(db, s, b);
        QVERIFY(!e.belegt);
        QCOMPARE(e.rechnungen.size(), 1);
    }

    // Two connections handing out numbers at the same time never get the
    // same one; the unique index refuses a duplicate written without the lock.
    void zweiVerbindungen_data() { backendZeilen(); }
    void zweiVerbindungen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        constexpr int kJe = 15;
        QList<qint64> nummern[2];
        QString fehler[2];
        auto arbeite = [&](int t) {
            Datenbank eigene;
            if (!eigene.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler[t])) return;
            try {
                for (int i = 0; i < kJe; ++i) {
                    Transaktion tx(eigene);
                    nummern[t] << legeRechnungAn(eigene, kHeute, QStringLiteral("Kunde %1").arg(t), 10.0);
                    QThread::msleep(2);  // the other connection tries meanwhile
                    tx.bestaetige();
                }
            } catch (const DbFehler& e) {
                fehler[t] = e.kurz() + ": " + e.serverText();
            }
        };
        std::unique_ptr<QThread> a(QThread::create(arbeite, 0));
        std::unique_ptr<QThread> c(QThread::create(arbeite, 1));
        a->start();
        c->start();
        QVERIFY(a->wait(120000));
        QVERIFY(c->wait(120000));
        QVERIFY2(fehler[0].isEmpty(), qPrintable(fehler[0]));
        QVERIFY2(fehler[1].isEmpty(), qPrintable(fehler[1]));
        QList<qint64> alle = nummern[0] + nummern[1];
        std::sort(alle.begin(), alle.end());
        QCOMPARE(alle.size(), 2 * kJe);
        for (int i = 0; i < alle.size(); ++i) QCOMPARE(alle[i], qint64(2026001 + i));

        bool abgewiesen = false;
        try {
            db.einfuegen("rechnungen", {{"rechnungsnummer", 2026001}, {"offen", "ja"}});
        } catch (const DbFehler&) {
            abgewiesen = true;
        }
        QVERIFY(abgewiesen);
    }
};

QTEST_MAIN(TstRechnungslauf)
#include "tst_rechnungslauf.moc"
