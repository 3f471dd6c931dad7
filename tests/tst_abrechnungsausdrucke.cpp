// The open-invoice list and the appraiser control print-out: golden files,
// their messages, the closing of exactly the listed appraiser shares, a
// printer that fails; the message of "Mahnende Rechnungen drucken".
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "AbrechnungHilfe.h"
#include "billing/Ausdrucke.h"
#include "billing/Rechnungslauf.h"

using namespace talu;
using namespace talu::abrechnung;
using namespace talu::test;

namespace {

const QDate kHeute(2026, 3, 2);

qint64 anteil(const Datenbank& db, const QString& schluessel, const QVariant& betrag, const QDate& datum,
              const QVariant& offen = QStringLiteral("ja"), const QString& vorgang = QStringLiteral("Grundstücksdaten")) {
    Zeile z;
    z.benutzer = "anton";
    z.preis = 12.5;
    z.schluessel = schluessel;
    z.preisGutachter = betrag;
    z.offenGutachter = offen;
    z.datum = datum;
    z.vorgang = vorgang;
    return zeile(db, z);
}

void fuelleAnteile(const Datenbank& db) {
    anteil(db, "05315000", 5.0, QDate(2026, 2, 3));
    anteil(db, "03241001", 4.0, QDate(2026, 2, 1));
    anteil(db, "06412000", 10.0, QDate(2026, 2, 2));
    anteil(db, "03241001", 4.5, QDate(2026, 2, 5));
    // A market overview row: its share is not set and counts as 0.
    anteil(db, "05315000", QVariant(), QDate(2026, 2, 6), QStringLiteral("ja"), QStringLiteral("Marktübersichten"));
    anteil(db, "09162000", 123456.78, QDate(2026, 2, 7));
    // Settled shares and place rows (no flag) are not listed.
    anteil(db, "03241001", 99.0, QDate(2026, 1, 5), QStringLiteral("nein"));
    anteil(db, "03241001", QVariant(), QDate(2026, 1, 6), QVariant(), QStringLiteral("Ortsdaten"));
}


}  // namespace

class TstAbrechnungsausdrucke : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(g_deutscheZahlen); }

    void offeneRechnungen_data() { backendZeilen(); }
    void offeneRechnungen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(rechnung(db, 2026003, QDate(2026, 2, 27), "Sparkasse Bodensee", 15.0);
                   rechnung(db, 2025117, QDate(2025, 12, 30), "Schmidt & Partner Sachverständige GmbH & Co. KG", 2.5);
                   rechnung(db, 2026001, QDate(2026, 2, 27), "Müller Immobilien GmbH", 50.0, "nein");
                   rechnung(db, 2026002, QDate(2026, 2, 27), "O'Brien Grundbesitz KG", 1234567.0));
        Sammler s;
        TestBediener b;
        const AusdruckErgebnis e = druckeRechnungsliste(db, s, b, kHeute);
        QCOMPARE(e.zeilen, 3);
        QVERIFY(e.gedruckt);
        QCOMPARE(b.infos, QStringList{"Die Liste der Rechnungen wurde gedruckt!"});
        QCOMPARE(s.dokumente.size(), 1);
        TALU_GOLDEN(s.dokumente[0], QStringLiteral("offene_rechnungen.txt"));

        // Without a printer the list becomes a PDF file, and the message says where.
        QTemporaryDir dir;
        druck::PdfAblage pdf(dir.path());
        TestBediener b2;
        const AusdruckErgebnis e2 = druckeRechnungsliste(db, pdf, b2, kHeute);
        QVERIFY(!e2.gedruckt);
        QVERIFY(QFileInfo::exists(e2.pdfPfad));
        QCOMPARE(QFileInfo(e2.pdfPfad).fileName(), QStringLiteral("Offene-Rechnungen_2026-03-02.pdf"));
        QCOMPARE(b2.infos.size(), 1);
        QVERIFY(!b2.infos[0].contains("gedruckt"));
        QVERIFY(b2.infos[0].contains(e2.pdfPfad));
    }

    void keineOffenenRechnungen_data() { backendZeilen(); }
    void keineOffenenRechnungen() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(rechnung(db, 2026001, kHeute, "Müller Immobilien GmbH", 50.0, "nein"));
        Sammler s;
        TestBediener b;
        const AusdruckErgebnis e = druckeRechnungsliste(db, s, b, kHeute);
        QVERIFY(e.leer);
        QCOMPARE(b.infos, QStringList{"Es sind keine offenen Rechnungen vorhanden!"});
        QVERIFY(s.dokumente.isEmpty());
    }

    void listeDruckerfehler_data() { backendZeilen(); }
    void listeDruckerfehler() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(rechnung(db, 2026001, kHeute, "Müller Immobilien GmbH", 50.0));
        Sammler s;
        s.fehlerBei = 1;
        TestBediener b;
        const AusdruckErgebnis e = druckeRechnungsliste(db, s, b, kHeute);
        QVERIFY(!e.ausgegeben);
        QVERIFY(b.infos.isEmpty());  // never "gedruckt" when nothing was printed
        QCOMPARE(b.fehlerTexte.size(), 1);
        QVERIFY(b.fehlerTexte[0].contains("Papierstau"));
    }

    void gutachter_data() { backendZeilen(); }
    void gutachter() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelleAnteile(db));
        Sammler s;
        TestBediener b;
        const AusdruckErgebnis e = gutachterKontrollAusdruck(db, s, b, kHeute);
        QCOMPARE(e.zeilen, 6);
        QCOMPARE(b.fragen, QStringList{Rechnungslauf::frageGedruckt()});
        QCOMPARE(e.geschlossen, 0);  // answered No
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen_gutachter = 'ja'"), 6);
        TALU_GOLDEN(s.dokumente[0], QStringLiteral("gutachter.txt"));
    }

    // Yes settles exactly the listed shares: a share logged while the
    // question is open stays open, and the customers' flags are untouched.
    void gutachterAbschluss_data() { backendZeilen(); }
    void gutachterAbschluss() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelleAnteile(db));
        qint64 spaet = 0;
        Sammler s;
        TestBediener b;
        b.antworten << true;
        b.beiFrage = [&] { spaet = anteil(db, "12054000", 3.0, kHeute); };
        const AusdruckErgebnis e = gutachterKontrollAusdruck(db, s, b, kHeute);
        QCOMPARE(e.geschlossen, 6);
        QCOMPARE(b.infos, QStringList{Rechnungslauf::zurueckgesetztText()});
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen_gutachter = 'ja'"), 1);
        QCOMPARE(db.wert("select offen_gutachter from abfrageprotokoll where id = ?", {spaet}).toString(),
                 QStringLiteral("ja"));
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen = 'ja'"), 9);

        // The next print-out lists the late share alone; after it, nothing is open.
        Sammler s2;
        TestBediener b2;
        b2.antworten << true;
        const AusdruckErgebnis e2 = gutachterKontrollAusdruck(db, s2, b2, kHeute);
        QCOMPARE(e2.zeilen, 1);
        QVERIFY(druck::alsText(s2.dokumente[0]).contains("Gruppierungen nach 12:                                 3,00 €|"));
        TestBediener b3;
        const AusdruckErgebnis e3 = gutachterKontrollAusdruck(db, s2, b3, kHeute);
        QVERIFY(e3.leer);
        QCOMPARE(b3.infos, QStringList{"Es sind keine offenen Gutachter-Überweisungen vorhanden!"});
        QVERIFY(b3.fragen.isEmpty());
    }

    // The flags compare without regard to case, as SQL Server compares
    // them: a share flagged "JA" by another program is listed and settled,
    // one flagged "Nein" is not listed.
    void gutachterFlaggeOhneFall_data() { backendZeilen(); }
    void gutachterFlaggeOhneFall() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        qint64 gross = 0;
        TALU_DB_OK(gross = anteil(db, "03241001", 4.0, QDate(2026, 2, 1), QStringLiteral("JA"));
                   anteil(db, "05315000", 5.0, QDate(2026, 2, 2), QStringLiteral("Ja"));
                   anteil(db, "05315000", 7.0, QDate(2026, 2, 3), QStringLiteral("Nein")));
        Sammler s;
        TestBediener b;
        b.antworten << true;
        const AusdruckErgebnis e = gutachterKontrollAusdruck(db, s, b, kHeute);
        QCOMPARE(e.zeilen, 2);
        QCOMPARE(e.geschlossen, 2);
        QVERIFY(druck::alsText(s.dokumente[0]).contains("Gruppierungen nach 05:                                 5,00 €|"));
        QCOMPARE(db.wert("select offen_gutachter from abfrageprotokoll where id = ?", {gross}).toString(),
                 QStringLiteral("nein"));
    }

    // A print-out that did not come out is neither claimed nor closed.
    void gutachterDruckerfehler_data() { backendZeilen(); }
    void gutachterDruckerfehler() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(fuelleAnteile(db));
        Sammler s;
        s.fehlerBei = 1;
        TestBediener b;
        b.antworten << true;
        const AusdruckErgebnis e = gutachterKontrollAusdruck(db, s, b, kHeute);
        QVERIFY(!e.ausgegeben);
        QVERIFY(b.fragen.isEmpty());
        QCOMPARE(b.fehlerTexte.size(), 1);
        QCOMPARE(anzahl(db, "select count(*) from abfrageprotokoll where offen_gutachter = 'ja'"), 6);

        // As a PDF file, the question names the file instead of the printer.
        QTemporaryDir dir;
        druck::PdfAblage pdf(dir.path());
        TestBediener b2;
        const AusdruckErgebnis e2 = gutachterKontrollAusdruck(db, pdf, b2, kHeute);
        QCOMPARE(b2.fragen.size(), 1);
        QVERIFY(!b2.fragen[0].contains("Drucker"));
        QVERIFY(b2.fragen[0].contains(e2.pdfPfad));
    }

    void mahnendeRechnungen() {
        TestBediener b;
        mahnendeRechnungenDrucken(b);
        QCOMPARE(b.infos, QStringList{"Diese Funktion ist noch nicht realisiert!"});
    }
};

QTEST_MAIN(TstAbrechnungsausdrucke)
#include "tst_abrechnungsausdrucke.moc"
