// Market overview choice and grid: categories and prices, municipality and
// district level, headline switching, billing, the no-overview case.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QStyle>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>

#include "Fixture.h"
#include "TestHilfe.h"
#include "kit/Formate.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "db/Schema.h"
#include "market/MarktDaten.h"
#include "market/MarktModell.h"
#include "market/ui/frmMarktUebersichten.h"
#include "market/ui/frmMarktUebersichtenAuswahl.h"

using namespace talu;

namespace {

const QString kFfm = "06412000";
const QString kGiessen = "06531005";
const QString kMuenchen = "09162000";
const QString kDarmstadt = "06411000";

// Answers every message box that opens while it lives and remembers it.
class BoxFaenger {
public:
    struct Box {
        QMessageBox::Icon icon;
        QString titel, text;
    };
    BoxFaenger() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxen << Box{b->icon(), b->windowTitle(), b->text()};
                b->done(QMessageBox::Ok);
            }
        });
        m_timer.start(10);
    }
    QList<Box> boxen;

private:
    QTimer m_timer;
};

// The place as the information-group form leaves it.
void waehleOrt(const QString& schluessel) {
    Publics& p = publics();
    p.AktGemeindeschluessel = schluessel;
    p.RsSuche = p.Verbindung.abfrage("select * from ortsnamen where gemeindeschluessel = ?", {schluessel});
    p.AktOrtAnzeige = p.RsSuche.text("plzneu") + " " + p.RsSuche.text("ort");
}

// A different price per category so that a wrong price column shows.
QHash<QString, double> setzePreise(const QString& schluessel) {
    QHash<QString, double> h;
    double preis = 1.5;
    QStringList teile;
    Parameter werte;
    for (const markt::Kategorie& k : markt::kategorien()) {
        h.insert(k.tabelle, preis);
        teile << k.preisSpalte + " = ?";
        werte << preis;
        preis += 1.25;
    }
    werte << schluessel;
    publics().Verbindung.ausfuehren("update ortsnamen set " + teile.join(", ") + " where gemeindeschluessel = ?",
                                    werte);
    return h;
}


Recordset letzteBuchung() {
    return publics().Verbindung.abfrage(
        "select * from abfrageprotokoll where vorgang = ? order by id desc", {"Marktübersichten"});
}

frmMarktUebersichten* oeffneGrid(const QString& tabelle) {
    const markt::Kategorie* k = markt::kategorie(tabelle);
    publics().MarktTabelle = k->tabelle;
    publics().MarktTitel = k->titel;
    return formen::zeige<frmMarktUebersichten>();
}

QStringList comboEintraege(QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
    return l;
}

QStringList spaltenWerte(const markt::MarktModell* m, const QString& spalte) {
    QStringList l;
    for (int r = 0; r < m->rowCount(); ++r) l << m->wert(r, spalte).toString();
    return l;
}

}  // namespace

class tst_markt : public QObject {
    Q_OBJECT
private slots:
    void init() {
        formen::schliesseAlleKinder();
        publics().Verbindung.schliessen();
        publics().zuruecksetzen();
        publics().PcName = "PRUEFPLATZ";
        publics().PcBenutzer = "Pruefer";
        publics().DbBenutzer = "tester";
    }
    void cleanup() {
        formen::schliesseAlleKinder();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        publics().RsSuche.schliessen();
        publics().Verbindung.schliessen();
    }

    // Every category names an existing table, reads only its columns, lays
    // out the captions, widths and alignments of the grid, and is priced by
    // the column its own button shows.
    void kategorienUndAufbau() {
        QCOMPARE(markt::kategorien().size(), 14);
        const QHash<QString, QString> preisSpalte{
            {"anzahl_der_vertraege", "preis_adv"},
            {"baupreisindex", "preis_bpi"},
            {"flaechenumsatz", "preis_fu"},
            {"geldumsatz", "preis_gu"},
            {"kaufpreise_fuer_doppelhaushaelften", "preis_kp_dhh"},
            {"kaufpreise_fuer_eigentumswohnungen", "preis_kp_etw"},
            {"kaufpreise_fuer_freistehende_einfamilienhaeuser", "preis_kp_efh"},
            {"kaufpreise_fuer_mehrfamilienhaeuser", "preis_kp_mfh"},
            {"kaufpreise_fuer_reihenhaeuser", "preis_kp_rh"},
            {"liegenschaftszins", "preis_lz"},
            {"mietwerte_fuer_gewerbe", "preis_mw_gewerbe"},
            {"mietwerte_fuer_wohnraum", "preis_mw_wohn"},
            {"sonstige_indizes", "preis_si"},
            {"umrechnungskoeffizienten", "preis_uk"},
        };
        // nr caption width flags (r = right, c = currency)
        const QString haus = "0|Kaufjahr|1500|r;1|Preis-Minimal|1500|rc;2|Preis-Durchschnitt|1500|rc;"
                             "3|Preis-Maximal|1500|rc;4|Stadtteil|3000|;5|Baujahr|1500|;";
        const QString miete = "0|Kaufjahr|1500|r;1|Preis-Minimal|1500|rc;2|Preis-Durchschnitt|1500|rc;"
                              "3|Preis-Maximal|1500|rc;4|Baujahr|3000|;";
        const QHash<QString, QString> layout{
            {"kaufpreise_fuer_freistehende_einfamilienhaeuser",
             haus + "6|Grösse|1500|r;7|Wohnfläche|1500|;8|Bemerkung|3000|"},
            {"kaufpreise_fuer_doppelhaushaelften", haus + "6|Grösse|1500|r;7|Wohnfläche|1500|;8|Bemerkung|3000|"},
            {"kaufpreise_fuer_reihenhaeuser", haus + "6|Grösse|1500|r;7|Wohnfläche|1500|;8|Bemerkung|3000|"},
            {"kaufpreise_fuer_mehrfamilienhaeuser",
             haus + "6|Wohneinheiten|1500|r;7|Wohnfläche|1500|;8|Bemerkung|3000|"},
            {"kaufpreise_fuer_eigentumswohnungen", haus + "6|Wohnfläche|1500|r;7|Bemerkung|1500|"},
            {"mietwerte_fuer_wohnraum",
             miete + "5|Wohnfläche|3000|;6|Bemerkung|3000|;7|Ausstattung|3000|;8|Lage|3000|"},
            {"mietwerte_fuer_gewerbe", miete + "5|Nutzfläche|3000|;6|Bemerkung|3000|;7|Ausstattung|3000|"},
            {"sonstige_indizes", "0|Jahr|1500|;1|Index|1500|;2|Basisjahr|7800|"},
            {"umrechnungskoeffizienten",
             "0|Koeffizient|1500|r;1|Umrechnungsfaktor|1500|r;2|Art des Koeffizienten|7800|"},
            {"flaechenumsatz",
             "0|Jahr|1500|r;1|Flächenumsatz ha|1500|r;2|Teilmarkt oder insgesamt|3000|;3|Bemerkung|4800|"},
            {"geldumsatz", "0|Jahr|1500|r;1|Geldumsatz|3000|rc;2|Teilmarkt oder insgesamt|3000|;3|Bemerkung|3300|"},
            {"anzahl_der_vertraege",
             "0|Jahr|1500|r;1|Verträge|1500|r;2|Teilmarkt oder insgesamt|3000|;3|Bemerkung|4800|"},
            {"liegenschaftszins",
             "0|Jahr|1500|r;1|LGZ für|3000|;2|Baujahr|1500|r;3|Lage|3000|;4|Zins|3000|;5|Bemerkung|3000|"},
            {"baupreisindex", "0|Jahr|1500|r;1|Index|1500|r;2|Basisjahr|1500|r;3|Bauwerksart|3000|;4|Bemerkung|3000|"},
        };
        const Tabelle* ort = findeTabelle("ortsnamen");
        QVERIFY(ort);
        for (const markt::Kategorie& k : markt::kategorien()) {
            QCOMPARE(k.preisSpalte, preisSpalte.value(k.tabelle));
            QVERIFY2(ort->spalte(k.preisSpalte), qPrintable(k.preisSpalte));
            const Tabelle* t = findeTabelle(k.tabelle);
            QVERIFY2(t, qPrintable(k.tabelle));
            const markt::Aufbau* a = markt::aufbau(k.tabelle);
            QVERIFY2(a, qPrintable(k.tabelle));
            for (const QString& s : a->spalten) QVERIFY2(t->spalte(s), qPrintable(k.tabelle + "." + s));
            QCOMPARE(a->spalten.contains("bemerkung_tabelle"), a->mitBemerkungTabelle);
            QStringList ist;
            for (const markt::GridSpalte& g : a->sichtbar)
                ist << QString("%1|%2|%3|%4%5")
                           .arg(g.nr)
                           .arg(g.titel)
                           .arg(g.breite)
                           .arg(g.rechts ? "r" : "")
                           .arg(g.waehrung ? "c" : "");
            QCOMPARE(ist.join(';'), layout.value(k.tabelle));
            // The filter column is always read.
            QVERIFY(a->spalten.contains("ueberschrift"));
        }
        // Title and caption differ only for the house and flat categories.
        QCOMPARE(markt::kategorie("kaufpreise_fuer_freistehende_einfamilienhaeuser")->titel,
                 QString("Kaufpreise für freistehende EFHs"));
        QCOMPARE(markt::kategorie("kaufpreise_fuer_doppelhaushaelften")->knopf, QString("Kaufpreise für DHHs"));
        QVERIFY(!markt::kategorie("ortsnamen"));
    }

    void knopfText_data() {
        QTest::addColumn<double>("preis");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("ohne") << 0.0 << "Liegenschaftszins";
        QTest::newRow("negativ") << -5.0 << "Liegenschaftszins";
        QTest::newRow("preis") << 12.5 << QString("Liegenschaftszins (%1)").arg(waehrung(12.5));
    }
    void knopfText() {
        QFETCH(double, preis);
        QFETCH(QString, erwartet);
        QCOMPARE(markt::knopfText(*markt::kategorie("liegenschaftszins"), preis), erwartet);
    }

    // A statement with a table that is no category never reaches the server.
    void unbekannteTabelle() {
        markt::MarktUebersicht u;
        Datenbank db;
        QVERIFY_THROWS_EXCEPTION(DbFehler, u.lade(db, kFfm, "ortsnamen; drop table ortsnamen"));
    }

    void gemeindeEbene_data() { test::backendZeilen(); }
    void gemeindeEbene() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        markt::MarktUebersicht u;
        TALU_DB_OK(QVERIFY(u.lade(publics().Verbindung, kFfm, "kaufpreise_fuer_freistehende_einfamilienhaeuser")));
        QVERIFY(!u.kreisEbene());
        // Ordered by table number; the headline of tables 1 and 2 is listed twice.
        const QString weiter = "Freistehende Einfamilienhäuser - Weiterverkäufe";
        QCOMPARE(u.ueberschriften(),
                 QStringList({weiter, weiter, "Freistehende Einfamilienhäuser - Neubau (Erstverkauf)"}));
        QCOMPARE(u.zeilen().size(), 6);
        // The headline's rows of both tables, in table and row order.
        const auto zeilen = u.zeilenZu(weiter);
        QCOMPARE(zeilen.size(), 5);
        QCOMPARE(zeilen.first().value("stadtteil").toString(), QString("Nordend"));
        QCOMPARE(zeilen.at(3).value("tabellennr").toInt(), 2);
        QCOMPARE(u.bereichText(), QString("Frankfurt am Main / Gutachterausschuss für Immobilienwerte Frankfurt am "
                                          "Main / Immobilienmarktbericht Frankfurt am Main 2003"));
        QCOMPARE(u.hinweisText(), QString("Preise in Euro je Objekt einschließlich Grundstück."));
        // Only this municipality's rows: Gießen's district rows are not among them.
        for (const QSqlRecord& r : u.zeilen()) QCOMPARE(r.value("stadt_oder_landkreis").toString(), QString("Frankfurt am Main"));
    }

    void kreisEbene_data() { test::backendZeilen(); }
    void kreisEbene() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        const auto preise = setzePreise(kGiessen);
        waehleOrt(kGiessen);
        const int vorher = test::protokollZeilen(QStringLiteral("Marktübersichten"));
        auto* f = oeffneGrid("kaufpreise_fuer_freistehende_einfamilienhaeuser");
        QVERIFY(f && f->hatDaten());
        QVERIFY(f->daten().kreisEbene());
        // The district's headlines, in no particular order and without table numbers.
        QStringList ueb = comboEintraege(f->Combo1);
        ueb.sort();
        QCOMPARE(ueb, QStringList({"Einfamilienhäuser im Landkreis", "Einfamilienhäuser im Landkreis 2000 (DM)"}));
        QCOMPARE(f->daten().zeilen().size(), 3);
        QCOMPARE(f->modell()->rowCount(), int(f->daten().zeilenZu(f->Combo1->currentText()).size()));
        QCOMPARE(f->Text1->text().section(" / ", 0, 0), QString("Landkreis Gießen"));
        // The log row names the municipality, not the district.
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher + 1);
        const Recordset b = letzteBuchung();
        QCOMPARE(b.text("gemeindeschluessel"), kGiessen);
        QCOMPARE(b.text("objekt"), publics().AktOrtAnzeige + " - Kaufpreise für freistehende EFHs");
        QCOMPARE(b.zahl("preis"), preise.value("kaufpreise_fuer_freistehende_einfamilienhaeuser"));
        QCOMPARE(b.text("offen"), QString("ja"));
        QCOMPARE(b.text("offen_gutachter"), QString("ja"));
        QCOMPARE(b.text("pc_benutzer"), QString("Pruefer"));
        QCOMPARE(b.text("computername"), QString("PRUEFPLATZ"));
        QVERIFY(b.istNull("preis_gutachter"));
    }

    // Each category opens on demo data, shows its visible columns with their
    // captions and widths, hides the rest, and books the price its button shows.
    void jedeKategorie_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("tabelle");
        for (const test::TestBackend& b : test::backends())
            for (const markt::Kategorie& k : markt::kategorien())
                QTest::newRow(qPrintable(b.name + ":" + k.tabelle)) << b.name << k.tabelle;
    }
    void jedeKategorie() {
        QFETCH(QString, backend);
        QFETCH(QString, tabelle);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        const auto preise = setzePreise(kFfm);
        waehleOrt(kFfm);
        const int vorher = test::protokollZeilen(QStringLiteral("Marktübersichten"));
        auto* f = oeffneGrid(tabelle);
        QVERIFY(f && f->hatDaten());
        QVERIFY(!f->daten().kreisEbene());
        QVERIFY(f->modell()->rowCount() > 0);
        QCOMPARE(f->preis(), preise.value(tabelle));
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher + 1);
        QCOMPARE(letzteBuchung().zahl("preis"), preise.value(tabelle));
        const markt::Aufbau* a = markt::aufbau(tabelle);
        QCOMPARE(f->modell()->columnCount(), int(a->spalten.size()));
        for (int c = 0; c < f->modell()->columnCount(); ++c) {
            const markt::GridSpalte* g = a->sichtbareSpalte(c);
            QCOMPARE(f->DataGrid1->isColumnHidden(c), g == nullptr);
            if (!g) continue;
            // The designed width, widened where the caption would be cut.
            const int kopf = f->DataGrid1->horizontalHeader()->sectionSizeHint(c);
            QCOMPARE(f->DataGrid1->columnWidth(c), qMax(twips(g->breite), kopf));
            QVERIFY2(f->DataGrid1->horizontalHeader()->fontMetrics().horizontalAdvance(g->titel) <
                         f->DataGrid1->columnWidth(c),
                     qPrintable(g->titel));
            QCOMPARE(f->modell()->headerData(c, Qt::Horizontal).toString(), g->titel);
            const auto ausrichtung = f->modell()->data(f->modell()->index(0, c), Qt::TextAlignmentRole)
                                         .value<Qt::Alignment>();
            QCOMPARE(bool(ausrichtung & Qt::AlignRight), g->rechts);
            if (g->waehrung) {
                const QVariant v = f->modell()->wert(0, a->spalten.at(c));
                if (!v.isNull())
                    QCOMPARE(f->modell()->data(f->modell()->index(0, c)).toString(), waehrung(v.toDouble()));
            }
        }
        // Read-only: no cell can be edited.
        QVERIFY(!(f->modell()->flags(f->modell()->index(0, 0)) & Qt::ItemIsEditable));
        QCOMPARE(f->DataGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(f->DataGrid1->model() == f->modell());
        // The turnover tables have no table remark.
        if (!a->mitBemerkungTabelle) QVERIFY(f->Text2->toPlainText().isEmpty());
    }

    // Switching headlines filters the loaded rows, leaves Text1 and Text2 as
    // loaded and books nothing; a headline with an apostrophe works.
    void ueberschriftWechseln_data() { test::backendZeilen(); }
    void ueberschriftWechseln() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kMuenchen);
        const int vorher = test::protokollZeilen(QStringLiteral("Marktübersichten"));
        auto* f = oeffneGrid("kaufpreise_fuer_eigentumswohnungen");
        QVERIFY(f && f->hatDaten());
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher + 1);
        QCOMPARE(comboEintraege(f->Combo1), QStringList({"Eigentumswohnungen im Erstverkauf ('Neubau')",
                                                         "Eigentumswohnungen im Weiterverkauf 1999"}));
        QCOMPARE(spaltenWerte(f->modell(), "stadtteil"), QStringList({"Altstadt-Lehel", "Schwabing", "Pasing"}));
        const QString text1 = f->Text1->text();
        // Trimmed remark of the first headline's first row.
        QCOMPARE(f->Text2->toPlainText(), QString("Preise in Euro je m² Wohnfläche ohne Stellplatz."));
        QCOMPARE(text1, QString("Landeshauptstadt München / Gutachterausschuss im Bereich der Landeshauptstadt "
                                "München / Jahresbericht des Gutachterausschusses München 2002"));

        f->Combo1->setCurrentIndex(1);
        QCOMPARE(spaltenWerte(f->modell(), "stadtteil"), QStringList({"Schwabing", "Pasing"}));
        QCOMPARE(spaltenWerte(f->modell(), "kaufjahr"), QStringList({"1999", "1999"}));
        // Euro amounts not yet converted show empty.
        QCOMPARE(f->modell()->data(f->modell()->index(0, 1)).toString(), QString());
        QCOMPARE(f->Text1->text(), text1);
        QCOMPARE(f->Text2->toPlainText(), QString("Preise in Euro je m² Wohnfläche ohne Stellplatz."));

        // "Aktualisieren" shows the chosen headline again; back to the first.
        f->Combo1->blockSignals(true);
        f->Combo1->setCurrentIndex(0);
        f->Combo1->blockSignals(false);
        QCOMPARE(f->modell()->rowCount(), 2);
        QTest::mouseClick(f->cmdAktualisieren, Qt::LeftButton);
        QCOMPARE(f->modell()->rowCount(), 3);
        QCOMPARE(f->modell()->data(f->modell()->index(0, 1)).toString(), waehrung(4800));
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher + 1);
    }

    // Gießen's district shows no remark for a turnover table, Text2 empty;
    // the rent table's year column keeps the caption "Kaufjahr".
    void mietenUndUmsatz_data() { test::backendZeilen(); }
    void mietenUndUmsatz() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        auto* f = oeffneGrid("mietwerte_fuer_wohnraum");
        QVERIFY(f && f->hatDaten());
        QCOMPARE(f->modell()->headerData(0, Qt::Horizontal).toString(), QString("Kaufjahr"));
        QCOMPARE(f->modell()->headerData(5, Qt::Horizontal).toString(), QString("Wohnfläche"));
        QCOMPARE(f->modell()->data(f->modell()->index(0, 1)).toString(), waehrung(6.2));
        formen::entlade(f);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f = oeffneGrid("geldumsatz");
        QVERIFY(f && f->hatDaten());
        QVERIFY(f->Text2->toPlainText().isEmpty());
        QVERIFY(!f->Text1->text().isEmpty());
        QCOMPARE(f->modell()->data(f->modell()->index(1, 1)).toString(), waehrung(2870));
    }

    // No overviews for the place nor its district: the message, nothing
    // booked, and the choice comes back.
    void keineUebersichten_data() { test::backendZeilen(); }
    void keineUebersichten() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kDarmstadt);
        markt::MarktUebersicht u;
        TALU_DB_OK(QVERIFY(!u.lade(publics().Verbindung, kDarmstadt, "liegenschaftszins")));
        // No place at all: nothing found either, no error.
        TALU_DB_OK(QVERIFY(!u.lade(publics().Verbindung, QString(), "liegenschaftszins")));

        const int vorher = test::protokollZeilen(QStringLiteral("Marktübersichten"));
        auto* wahl = formen::zeige<frmMarktUebersichtenAuswahl>();
        QVERIFY(wahl);
        BoxFaenger faenger;
        QTest::mouseClick(wahl->command(10), Qt::LeftButton);  // Liegenschaftszins
        QTRY_VERIFY(!formen::vorhanden("frmMarktUebersichten"));
        QCOMPARE(faenger.boxen.size(), 1);
        QCOMPARE(faenger.boxen.first().text, markt::MarktUebersicht::keineDatenText());
        QCOMPARE(faenger.boxen.first().icon, QMessageBox::Information);
        QVERIFY(faenger.boxen.first().titel.trimmed().isEmpty());
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher);
        QTRY_VERIFY(wahl->isVisible());
        QCOMPARE(wahl->cursor().shape(), Qt::ArrowCursor);
    }

    // The choice: prices on the buttons, hidden while the grid is open, the
    // same captions afterwards.
    void auswahl_data() { test::backendZeilen(); }
    void auswahl() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        publics().Verbindung.ausfuehren(
            "update ortsnamen set preis_kp_efh = ?, preis_kp_rh = ?, preis_kp_dhh = ?, preis_lz = ?, preis_si = ? "
            "where gemeindeschluessel = ?",
            {22.5, 0.0, QVariant(QMetaType::fromType<double>()), -3.0, 7.0, kFfm});
        waehleOrt(kFfm);
        auto* wahl = formen::zeige<frmMarktUebersichtenAuswahl>();
        QVERIFY(wahl);
        QCOMPARE(wahl->command(7)->text(), "Kaufpreise für EFHs (" + waehrung(22.5) + ")");
        QCOMPARE(wahl->command(9)->text(), QString("Kaufpreise für RHs"));
        QCOMPARE(wahl->command(5)->text(), QString("Kaufpreise für DHHs"));
        QCOMPARE(wahl->command(10)->text(), QString("Liegenschaftszins"));
        QCOMPARE(wahl->command(13)->text(), "Sonstige Indizes (" + waehrung(7) + ")");
        QCOMPARE(wahl->command(15)->text(), QString("Zurück"));
        for (int i = 1; i <= 15; ++i) QVERIFY(wahl->command(i)->isEnabled());
        QStringList vorher;
        for (int i = 1; i <= 15; ++i) vorher << wahl->command(i)->text();

        QTest::mouseClick(wahl->command(7), Qt::LeftButton);
        auto* f = formen::vorhanden<frmMarktUebersichten>();
        QVERIFY(f && f->hatDaten());
        QVERIFY(!wahl->isVisible());
        QCOMPARE(publics().MarktTabelle, QString("kaufpreise_fuer_freistehende_einfamilienhaeuser"));
        QCOMPARE(publics().MarktTitel, QString("Kaufpreise für freistehende EFHs"));
        // The headline of tables 1 and 2 appears twice in the list.
        QCOMPARE(f->Combo1->count(), 3);
        QCOMPARE(f->Combo1->itemText(0), f->Combo1->itemText(1));
        QCOMPARE(f->modell()->rowCount(), 5);
        // Charged at the detached-house price its button shows.
        QCOMPARE(letzteBuchung().zahl("preis"), 22.5);

        QTest::mouseClick(f->cmdZurueck, Qt::LeftButton);
        QTRY_VERIFY(!formen::vorhanden("frmMarktUebersichten"));
        QVERIFY(wahl->isVisible());
        QCOMPARE(wahl->cursor().shape(), Qt::ArrowCursor);
        QStringList nachher;
        for (int i = 1; i <= 15; ++i) nachher << wahl->command(i)->text();
        QCOMPARE(nachher, vorher);

        // The terraced-house category with a price of 0 books 0, not the
        // detached-house price.
        QTest::mouseClick(wahl->command(9), Qt::LeftButton);
        QVERIFY(formen::vorhanden("frmMarktUebersichten"));
        QCOMPARE(letzteBuchung().zahl("preis"), 0.0);
        QCOMPARE(letzteBuchung().text("objekt"), publics().AktOrtAnzeige + " - Kaufpreise für Reihenhäuser");
    }

    // Only the customer edition books.
    void internBuchtNicht_data() { test::backendZeilen(); }
    void internBuchtNicht() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        publics().Ausgabe = 1;
        const int vorher = test::protokollZeilen(QStringLiteral("Marktübersichten"));
        auto* f = oeffneGrid("liegenschaftszins");
        QVERIFY(f && f->hatDaten());
        QCOMPARE(test::protokollZeilen(QStringLiteral("Marktübersichten")), vorher);
    }

    // A log row that cannot be written: the operator is told, the overview
    // is not shown, and the choice comes back.
    void buchungScheitert_data() { test::backendZeilen(); }
    void buchungScheitert() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        publics().Verbindung.ausfuehren("drop table abfrageprotokoll");
        auto* wahl = formen::zeige<frmMarktUebersichtenAuswahl>();
        BoxFaenger faenger;
        QTest::mouseClick(wahl->command(10), Qt::LeftButton);
        QTRY_VERIFY(!formen::vorhanden("frmMarktUebersichten"));
        QCOMPARE(faenger.boxen.size(), 1);
        QCOMPARE(faenger.boxen.first().icon, QMessageBox::Critical);
        QVERIFY2(faenger.boxen.first().text.startsWith("Die Abfrage konnte nicht im Abfrageprotokoll vermerkt werden. "
                                                       "Die Marktübersicht wird deshalb nicht angezeigt."),
                 qPrintable(faenger.boxen.first().text));
        QTRY_VERIFY(wahl->isVisible());
    }

    // Under the main window: the choice and the grid open with the focus on
    // "Zurück", and the choice has it again when the grid closes. Every grid
    // is wide enough for its region line.
    void fokusUndBereich_data() { test::backendZeilen(); }
    void fokusUndBereich() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        QMainWindow haupt;
        auto* mdi = new QMdiArea;
        haupt.setCentralWidget(mdi);
        haupt.resize(1500, 950);
        haupt.show();
        QApplication::setActiveWindow(&haupt);
        QVERIFY(QTest::qWaitForWindowActive(&haupt));
        formen::setzeHauptfenster(mdi);
        struct Ende {
            ~Ende() {
                formen::schliesseAlleKinder();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                formen::setzeHauptfenster(nullptr);
            }
        } ende;
        // The focus must also stay there once pending hand-overs have run.
        auto fokusBleibt = [](QWidget* w) {
            QTRY_COMPARE(QApplication::focusWidget(), w);
            QTest::qWait(30);
            QCOMPARE(QApplication::focusWidget(), w);
        };

        auto* wahl = formen::zeige<frmMarktUebersichtenAuswahl>();
        QVERIFY(wahl);
        fokusBleibt(wahl->command(15));
        if (QTest::currentTestFailed()) return;
        // Tab leaves "Zurück" for the other buttons and Shift+Tab comes back:
        // the focus hand-over does not trap Tab on the last control.
        QTest::keyClick(wahl->command(15), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != wahl->command(15));
        QVERIFY(wahl->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), wahl->command(15));
        // Both button columns equally wide, every caption whole.
        QCOMPARE(wahl->command(1)->width(), wahl->command(8)->width());
        for (int i = 1; i <= 15; ++i) QVERIFY(wahl->command(i)->width() >= wahl->command(i)->sizeHint().width());
        for (const markt::Kategorie& k : markt::kategorien()) {
            const int nr = int(&k - &markt::kategorien().front()) + 1;
            wahl->command(nr)->click();
            auto* f = formen::vorhanden<frmMarktUebersichten>();
            if (!f || !f->hatDaten()) {
                QTRY_VERIFY(!formen::vorhanden("frmMarktUebersichten"));
                QTRY_VERIFY(wahl->isVisible());
                continue;
            }
            fokusBleibt(f->cmdZurueck);
            if (QTest::currentTestFailed()) return;
            QTest::keyClick(f->cmdZurueck, Qt::Key_Tab);
            QVERIFY(QApplication::focusWidget() != f->cmdZurueck);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), f->cmdZurueck);
            // The whole region text is in view, not cut at the box's edge.
            const int rand = 2 * f->Text1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, f->Text1) + 4;
            QVERIFY2(f->Text1->fontMetrics().horizontalAdvance(f->Text1->text()) + rand <= f->Text1->width(),
                     qPrintable(k.tabelle + ": " + f->Text1->text()));
            QVERIFY(!f->Text1->text().isEmpty());
            // Every visible column is inside the grid's view.
            int spalten = 0;
            for (int c = 0; c < f->modell()->columnCount(); ++c)
                if (!f->DataGrid1->isColumnHidden(c)) spalten += f->DataGrid1->columnWidth(c);
            QVERIFY2(spalten <= f->DataGrid1->viewport()->width(), qPrintable(k.tabelle));
            QTest::keyClick(f->cmdZurueck, Qt::Key_Space);
            QTRY_VERIFY(!formen::vorhanden("frmMarktUebersichten"));
            fokusBleibt(wahl->command(15));
            if (QTest::currentTestFailed()) return;
        }
    }

    // Closing every form for a menu action does not reopen the choice or
    // the information groups.
    void alleSchliessen_data() { test::backendZeilen(); }
    void alleSchliessen() {
        QFETCH(QString, backend);
        TALU_FRISCHE_DB(fx, publics().Verbindung, backend, true);
        waehleOrt(kFfm);
        auto* wahl = formen::zeige<frmMarktUebersichtenAuswahl>();
        QTest::mouseClick(wahl->command(1), Qt::LeftButton);
        QVERIFY(formen::vorhanden("frmMarktUebersichten"));
        formen::schliesseAlleKinder();
        QCOMPARE(formen::geladene(), QStringList());
    }
};

QTEST_MAIN(tst_markt)
#include "tst_markt.moc"
