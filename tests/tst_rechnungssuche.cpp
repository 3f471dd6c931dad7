// Invoice search and the open/close toggle of frmRechnungen's data.
#include <QtTest>

#include "AbrechnungHilfe.h"
#include "billing/RechnungSuche.h"

using namespace talu;
using namespace talu::abrechnung;
using namespace talu::test;

namespace {


}  // namespace

class TstRechnungssuche : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(g_deutscheZahlen); }

    void suche_data() { backendZeilen(); }
    void suche() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(rechnung(db, 2026001, "ja"));
        TestBediener b;
        b.eingaben << "" << "zwei" << "2026009" << "2026001,5" << "2026000,5" << " 2026001 ";
        QVERIFY(!sucheRechnung(db, b));  // empty: silently nothing
        QVERIFY(b.infos.isEmpty());
        QCOMPARE(b.aufforderungen, QStringList{"Geben Sie bitte die Rechnungs-Nummer ein!"});
        QVERIFY(!sucheRechnung(db, b));
        QCOMPARE(b.infos.last(), QStringLiteral("Ihre Eingabe ist nicht numerisch!"));
        QVERIFY(!sucheRechnung(db, b));
        QCOMPARE(b.infos.last(), QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
        QVERIFY(!sucheRechnung(db, b));  // invoice numbers are whole
        QCOMPARE(b.infos.last(), QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
        QVERIFY(!sucheRechnung(db, b));  // never rounded to the next whole number
        QCOMPARE(b.infos.last(), QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
        const std::optional<double> nr = sucheRechnung(db, b);
        QVERIFY(nr.has_value());
        QCOMPARE(*nr, 2026001.0);
        QCOMPARE(b.infos.size(), 4);
        QVERIFY(b.fehlerTexte.isEmpty());
    }

    // A non-numeric answer is refused before any statement: it works
    // without a connection.
    void nichtNumerischOhneAnweisung() {
        Datenbank ohne;
        TestBediener b;
        b.eingaben << "12a";
        QVERIFY(!sucheRechnung(ohne, b));
        QCOMPARE(b.infos, QStringList{"Ihre Eingabe ist nicht numerisch!"});
        QVERIFY(b.fehlerTexte.isEmpty());
    }

    void umschalten_data() { backendZeilen(); }
    void umschalten() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(rechnung(db, 2026001, "nein"); rechnung(db, 2026002, "nein"));
        RechnungsAnzeige a;
        QVERIFY(!a.lade(db, 2026005));
        QVERIFY(a.lade(db, 2026001));
        QCOMPARE(RechnungsAnzeige::beschriftungen().size(), 8);
        QCOMPARE(RechnungsAnzeige::beschriftungen().at(2), QStringLiteral("Rechungs-Datum:"));
        QCOMPARE(a.texte(), (QStringList{"2026001", "Müller Immobilien GmbH", "27.02.2026", "10,00\u00A0€",
                                         "1,60\u00A0€", "11,60\u00A0€", "nein", "13.03.2026"}));
        QCOMPARE(a.knopfText(), QStringLiteral("Öffnen"));

        QCOMPARE(a.schalteUm(db), QStringLiteral("ja"));
        QCOMPARE(a.texte().at(6), QStringLiteral("ja"));
        QCOMPARE(a.knopfText(), QStringLiteral("Schliessen"));
        QCOMPARE(db.wert("select offen from rechnungen where rechnungsnummer = 2026001").toString(), QStringLiteral("ja"));
        QCOMPARE(a.schalteUm(db), QStringLiteral("nein"));
        QCOMPARE(a.knopfText(), QStringLiteral("Öffnen"));
        QCOMPARE(db.wert("select offen from rechnungen where rechnungsnummer = 2026001").toString(), QStringLiteral("nein"));
        QCOMPARE(a.schalteUm(db), QStringLiteral("ja"));
        // Only this invoice changes.
        QCOMPARE(db.wert("select offen from rechnungen where rechnungsnummer = 2026002").toString(), QStringLiteral("nein"));

        // An open invoice offers closing with the form's design caption.
        RechnungsAnzeige b;
        QVERIFY(b.lade(db, 2026001));
        QCOMPARE(b.knopfText(), QStringLiteral("&Schliessen"));
    }
};

QTEST_MAIN(TstRechnungssuche)
#include "tst_rechnungssuche.moc"
