// The billing forms and menu commands: the query-log viewer's grid (captions,
// hidden columns after every filter, the three filters, a failing database),
// frmRechnungen with its open/close toggle, and the invoice run, the
// open-invoice list and the appraiser print-out started from the menu with
// scripted answers, writing PDF files.
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "AbrechnungHilfe.h"
#include "LookupHilfe.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/ui/MenueAktionen.h"
#include "kit/modPublics.h"
#include "billing/ui/DruckerAusgabe.h"
#include "billing/PdfAusgabe.h"
#include "billing/ProtokollAnsicht.h"
#include "billing/Rechnungslauf.h"
#include "billing/ui/frmAbfrageprotokoll.h"
#include "billing/ui/frmRechnungen.h"

using namespace talu;
using namespace talu::test;

namespace {

const QDate kTag(2026, 2, 16);

void fuelleProtokoll(const Datenbank& db) {
    kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
    kunde(db, "mueller2", QStringLiteral("MÜLLER & SÖHNE OHG"));
    kunde(db, "obrien", QStringLiteral("O'Brien Grundbesitz KG"));
    kunde(db, "becker", QStringLiteral("Becker Wohnbau"));
    const QList<QPair<const char*, int>> zeilen{{"mueller", 0}, {"gast", 0},   {"mueller2", 2},
                                                {"obrien", 3},  {"becker", 4}, {"gast", 5}};
    int i = 0;
    for (const auto& [benutzer, tage] : zeilen) {
        Zeile z;
        z.benutzer = benutzer;
        z.preis = 12.5;
        z.datum = kTag.addDays(-tage);
        z.objekt = QStringLiteral("Objekt %1").arg(++i);
        zeile(db, z);
    }
}

// n log rows of three customers over a year.
void fuelleViele(const Datenbank& db, int n) {
    kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
    kunde(db, "becker", QStringLiteral("Becker Wohnbau"));
    kunde(db, "obrien", QStringLiteral("O'Brien Grundbesitz KG"));
    const char* const benutzer[] = {"mueller", "becker", "obrien"};
    Transaktion t(db);
    for (int i = 0; i < n; ++i) {
        Zeile z;
        z.benutzer = QString::fromLatin1(benutzer[i % 3]);
        z.preis = 12.5;
        z.datum = kTag.addDays(-(i % 365));
        z.objekt = QStringLiteral("Objekt %1").arg(i + 1);
        zeile(db, z);
    }
    t.bestaetige();
}

int zeilenImRaster(frmAbfrageprotokoll* f) {
    while (f->modell()->canFetchMore()) f->modell()->fetchMore();
    return f->raster()->model()->rowCount();
}

QStringList spalte(frmAbfrageprotokoll* f, const QString& name) {
    zeilenImRaster(f);
    const int s = f->spalteNamens(name);
    QStringList l;
    for (int r = 0; r < f->raster()->model()->rowCount(); ++r)
        l << f->raster()->model()->index(r, s).data().toString();
    return l;
}

QStringList namen(frmAbfrageprotokoll* f) {
    QStringList l = spalte(f, "name");
    l.removeDuplicates();
    l.sort();
    return l;
}

// What the operator sees of the grid's columns, whatever the filter: four
// captions with their widths, the user, login and id columns hidden, and
// never a row of a database user who is no customer.
void pruefeRaster(frmAbfrageprotokoll* f) {
    QTableView* r = f->raster();
    QCOMPARE(r->model()->columnCount(), 7);
    const QStringList titel{"Datum:", "Uhrzeit:", "Benutzer", "Objekt:"};
    const QList<int> breiten{1500, 1000, 2000, 8000};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(r->model()->headerData(i, Qt::Horizontal).toString(), titel.at(i));
        QVERIFY(!r->isColumnHidden(i));
        QCOMPARE(r->columnWidth(i), twips(breiten.at(i)));
    }
    for (const char* name : {"db_benutzer", "benutzername", "id"}) {
        const int s = f->spalteNamens(name);
        QVERIFY2(s >= 4, name);
        QVERIFY2(r->isColumnHidden(s), name);
    }
    QVERIFY(!spalte(f, "db_benutzer").contains("gast"));
}


QStringList pdfDateien(const QString& ordner) {
    return QDir(ordner).entryList({"*.pdf"}, QDir::Files, QDir::Name);
}

}  // namespace

class TstAbrechnungsformen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(g_deutscheZahlen); }
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    void protokollAnsicht_data() { backendZeilen(); }
    void protokollAnsicht() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(fuelleProtokoll(p.Verbindung));
        DialogAufzeichnung dlg;

        auto* f = formen::zeige<frmAbfrageprotokoll>();
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), QStringLiteral("Abfrageprotokoll"));
        QCOMPARE(f->Command1->text(), QStringLiteral("Benutzer"));
        QCOMPARE(f->cmdNurHeute->text(), QStringLiteral("Heute"));
        QCOMPARE(f->cmdAlle->text(), QStringLiteral("Alle"));
        QCOMPARE(zeilenImRaster(f), 4);
        pruefeRaster(f);
        QCOMPARE(spalte(f, "datum").first(), kTag.addDays(-4).toString("dd.MM.yyyy"));

        // No query today: an empty grid under the four captions.
        f->cmdNurHeute->click();
        QCOMPARE(zeilenImRaster(f), 0);
        pruefeRaster(f);

        // Rows of today, a guest's among them, appear on the next "Heute".
        const auto heute = [&] {
            Zeile z;
            z.benutzer = "becker";
            z.preis = 2.5;
            z.datum = QDate::currentDate();
            z.objekt = "Heute 1";
            zeile(p.Verbindung, z);
            z.benutzer = "gast";
            z.objekt = "Heute 2";
            zeile(p.Verbindung, z);
        };
        TALU_DB_OK(heute());
        f->cmdNurHeute->click();
        QCOMPARE(spalte(f, "objekt"), QStringList{"Heute 1"});
        pruefeRaster(f);

        // "Benutzer": the beginning of the name in any letter case.
        dlg.eingaben = QStringList{"Mü"};
        f->Command1->click();
        QCOMPARE(dlg.aufforderungen.size(), 1);
        QCOMPARE(dlg.aufforderungen.first(), abrechnung::ProtokollModell::namensFrage());
        QCOMPARE(namen(f), (QStringList{"MÜLLER & SÖHNE OHG", "Müller Immobilien GmbH"}));
        pruefeRaster(f);
        // An empty answer (Cancel) keeps the filter.
        f->Command1->click();
        QCOMPARE(namen(f).size(), 2);
        // A quote is an ordinary character.
        dlg.eingaben = QStringList{"o'b"};
        f->Command1->click();
        QCOMPARE(namen(f), QStringList{"O'Brien Grundbesitz KG"});
        pruefeRaster(f);
        dlg.eingaben = QStringList{"'"};
        f->Command1->click();
        QCOMPARE(zeilenImRaster(f), 0);
        pruefeRaster(f);

        f->cmdAlle->click();
        QCOMPARE(zeilenImRaster(f), 5);
        pruefeRaster(f);
        QVERIFY(dlg.meldungen.isEmpty());

        // A database that fails: one critical message under the busy pointer,
        // and the grid keeps its layout.
        const int sanduhren = dlg.sanduhren;
        TALU_DB_OK(p.Verbindung.ausfuehren("drop table rechnungs_kunden"));
        f->cmdAlle->click();
        QCOMPARE(dlg.meldungen.size(), 1);
        QCOMPARE(dlg.meldungen.first().symbol, Dialoge::Symbol::Kritisch);
        QVERIFY(dlg.meldungen.first().text.startsWith("Das Abfrageprotokoll konnte nicht gelesen werden."));
        QVERIFY(dlg.sanduhren > sanduhren);
        for (const char* name : {"db_benutzer", "benutzername", "id"})
            if (f->spalteNamens(name) >= 0) QVERIFY(f->raster()->isColumnHidden(f->spalteNamens(name)));

        // The viewer writes nothing.
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 8);
        f->cmdZurueck->click();
        QVERIFY(!formen::vorhanden<frmAbfrageprotokoll>());
    }

    void rechnungSuchen_data() { backendZeilen(); }
    void rechnungSuchen() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(rechnung(p.Verbindung, 2026001, "nein"));
        TALU_DB_OK(rechnung(p.Verbindung, 2026002, "ja"));
        DialogAufzeichnung dlg;

        // Cancel: nothing; letters; a number without invoice.
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        dlg.eingaben = QStringList{"abc", "2026009"};
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        QCOMPARE(dlg.aufforderungen, QStringList(3, "Geben Sie bitte die Rechnungs-Nummer ein!"));
        QCOMPARE(dlg.texte(), (QStringList{"Ihre Eingabe ist nicht numerisch!",
                                           "Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"}));
        QVERIFY(formen::geladene().isEmpty());

        // A closed invoice: "nein" and "Öffnen"; each click stores the opposite.
        dlg.leeren();
        dlg.eingaben = QStringList{"2026001"};
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        auto* f = formen::vorhanden<frmRechnungen>();
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QCOMPARE(f->lblKopf->text(), QStringLiteral("Rechnungsdaten"));
        QCOMPARE(f->label.size(), 8);
        QCOMPARE(f->label.at(2)->text(), QStringLiteral("Rechungs-Datum:"));
        QCOMPARE(f->text.at(0)->text(), QStringLiteral("2026001"));
        QCOMPARE(f->text.at(1)->text(), QStringLiteral("Müller Immobilien GmbH"));
        QCOMPARE(f->text.at(6)->text(), QStringLiteral("nein"));
        QCOMPARE(f->cmdSchliessen->text(), QStringLiteral("Öffnen"));
        const auto offen = [&](int nr) {
            return p.Verbindung.wert("select offen from rechnungen where rechnungsnummer = ?", {nr}).toString();
        };
        f->cmdSchliessen->click();
        QCOMPARE(offen(2026001), QStringLiteral("ja"));
        QCOMPARE(f->text.at(6)->text(), QStringLiteral("ja"));
        QCOMPARE(f->cmdSchliessen->text(), QStringLiteral("Schliessen"));
        f->cmdSchliessen->click();
        QCOMPARE(offen(2026001), QStringLiteral("nein"));
        QCOMPARE(f->text.at(6)->text(), QStringLiteral("nein"));
        QCOMPARE(f->cmdSchliessen->text(), QStringLiteral("Öffnen"));
        QCOMPARE(offen(2026002), QStringLiteral("ja"));  // only the invoice shown
        QVERIFY(dlg.meldungen.isEmpty());

        // The next search shows the other invoice in the same form.
        dlg.eingaben = QStringList{"2026002"};
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        f = formen::vorhanden<frmRechnungen>();
        QVERIFY(f);
        QCOMPARE(f->text.at(0)->text(), QStringLiteral("2026002"));
        QCOMPARE(f->text.at(6)->text(), QStringLiteral("ja"));
        QCOMPARE(f->cmdSchliessen->text(), QStringLiteral("&Schliessen"));

        // The invoice vanished meanwhile: the toggle says so rather than
        // pretending to store.
        TALU_DB_OK(p.Verbindung.ausfuehren("delete from rechnungen where rechnungsnummer = 2026002"));
        f->cmdSchliessen->click();
        QCOMPARE(dlg.meldungen.size(), 1);
        QCOMPARE(dlg.meldungen.first().symbol, Dialoge::Symbol::Kritisch);
        QCOMPARE(f->text.at(6)->text(), QStringLiteral("ja"));
        f->cmdZurueck->click();
        QVERIFY(!formen::vorhanden<frmRechnungen>());
    }

    // The menu commands with scripted answers; without a printer every
    // document goes to a PDF file in the program's "Ausdrucke" folder.
    void menueBefehle_data() { backendZeilen(); }
    void menueBefehle() {
        QFETCH(QString, backend);
        if (druck::DruckerZiel::druckerVorhanden()) QSKIP("Dieser Rechner hat einen Standarddrucker.");
        QTemporaryDir dir;
        programmVerzeichnisFuerTest(dir);
        const QString ordner = druck::standardAblage();
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        const auto fuelle = [&] {
            kunde(p.Verbindung, "mueller", QStringLiteral("Müller Immobilien GmbH"));
            kunde(p.Verbindung, "becker", QStringLiteral("Becker Wohnbau"));
            Zeile z;
            z.preisGutachter = 4.0;
            z.offenGutachter = QStringLiteral("ja");
            for (const char* b : {"mueller", "becker", "mueller", "gast"}) {
                z.benutzer = b;
                z.preis = 10.0;
                zeile(p.Verbindung, z);
            }
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dlg;

        // The run, answered No: invoices written, the rows stay open.
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QCOMPARE(dlg.fragen.size(), 1);
        QVERIFY2(dlg.fragen.first().contains(ordner), qPrintable(dlg.fragen.first()));
        QCOMPARE(pdfDateien(ordner).size(), 2);
        QCOMPARE(p.Verbindung.wert("select count(*) from rechnungen").toInt(), 2);
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 4);
        QVERIFY(dlg.meldungen.isEmpty());

        // The open-invoice list: its message names the file.
        QVERIFY(menue::fuehreAus("mnuOffeneRechnungenDrucken", nullptr));
        QCOMPARE(dlg.meldungen.size(), 1);
        const QString liste = dlg.meldungen.first().text;
        QVERIFY2(liste.startsWith("Die Liste der Rechnungen wurde als PDF-Datei gespeichert:"), qPrintable(liste));
        const QString listenPfad = liste.section('\n', 1).trimmed();
        QVERIFY2(QFileInfo(listenPfad).isFile() && QFileInfo(listenPfad).size() > 0, qPrintable(listenPfad));
        QVERIFY(listenPfad.startsWith(ordner));

        // The appraiser print-out, answered Yes: the shares are settled.
        dlg.leeren();
        dlg.jaAntworten = {true};
        QVERIFY(menue::fuehreAus("mnuGutachterKontrollAusdruck", nullptr));
        QCOMPARE(dlg.fragen.size(), 1);
        QVERIFY2(dlg.fragen.first().contains(ordner), qPrintable(dlg.fragen.first()));
        QCOMPARE(dlg.texte(), QStringList{"Die Merker der offenen Rechnungen wurden zurück gesetzt!"});
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen_gutachter = 'ja'").toInt(), 0);
        dlg.leeren();
        QVERIFY(menue::fuehreAus("mnuGutachterKontrollAusdruck", nullptr));
        QCOMPARE(dlg.texte(), QStringList{"Es sind keine offenen Gutachter-Überweisungen vorhanden!"});

        // The next run, answered Yes: the two invoices whose rows are still
        // open are written again under their numbers, into their own files,
        // and the rows are closed; no charge is billed twice.
        dlg.leeren();
        dlg.jaAntworten = {true};
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QCOMPARE(dlg.texte(), QStringList{"Die Merker der offenen Rechnungen wurden zurück gesetzt!"});
        QCOMPARE(p.Verbindung.wert("select count(*) from rechnungen").toInt(), 2);
        QCOMPARE(pdfDateien(ordner).size(), 4);  // the two invoices, the list, the appraiser print-out
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 0);
        dlg.leeren();
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QCOMPARE(dlg.fragen.size(), 0);
        QCOMPARE(dlg.meldungen.size(), 1);
    }

    // The invoice run from the menu under the real progress dialog and the
    // real boxes, answered with keys: when a box comes up, no progress
    // window is visible, and none comes up while the box waits (its timer
    // would show it after 0,3 s); the count shows the invoice being written
    // ("4 von 4"); the closing question has no icon; Alt+N, Alt+J and Enter
    // reach the boxes.
    void menueMitEchtenBoxen_data() { backendZeilen(); }
    void menueMitEchtenBoxen() {
        QFETCH(QString, backend);
        if (druck::DruckerZiel::druckerVorhanden()) QSKIP("Dieser Rechner hat einen Standarddrucker.");
        QTemporaryDir dir;
        programmVerzeichnisFuerTest(dir);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(for (const char* b : {"anton", "berta", "cesar", "dora"}) {
            kunde(p.Verbindung, b, QString::fromLatin1(b).toUpper() + " GmbH");
            for (int i = 0; i < 3; ++i) zeile(p.Verbindung, b, 10.0 + i);
        });

        struct Box {
            QString text;
            QMessageBox::Icon symbol;
            bool fortschrittSichtbar = false;
            QString fortschrittText;
        };
        QList<Box> boxen;
        QList<QKeyCombination> tasten;  // pressed on the boxes in turn
        bool fortschrittGezeigt = false;
        QElapsedTimer seitBox;
        QTimer takt;
        takt.setInterval(10);
        const auto fortschritt = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QProgressDialog*>(w)) return d;
            return static_cast<QProgressDialog*>(nullptr);
        };
        connect(&takt, &QTimer::timeout, this, [&] {
            QProgressDialog* d = fortschritt();
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) {
                // A slow machine shows the progress window while invoices are written.
                if (d && !d->isVisible()) d->show();
                fortschrittGezeigt = fortschrittGezeigt || (d && d->isVisible());
                return;
            }
            // A box is marked when first seen; a button pressed by its
            // shortcut closes it a moment later.
            if (!box->property("gesehen").toBool()) {
                box->setProperty("gesehen", true);
                seitBox.start();
                boxen << Box{box->text(), box->icon(), false, d ? d->labelText() : QString()};
            }
            boxen.last().fortschrittSichtbar = boxen.last().fortschrittSichtbar || (d && d->isVisible());
            if (box->property("gedrueckt").toBool() || seitBox.elapsed() < 500 || tasten.isEmpty()) return;
            const QKeyCombination t = tasten.takeFirst();
            box->setProperty("gedrueckt", true);
            QTest::keyClick(box, t.key(), t.keyboardModifiers());
        });
        takt.start();

        // Answered No with Alt+N.
        tasten = {QKeyCombination(Qt::AltModifier, Qt::Key_N)};
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QVERIFY(fortschrittGezeigt);
        QCOMPARE(boxen.size(), 1);
        QVERIFY2(boxen[0].text.endsWith("Sollen die Rechnungen als abgeschlossen markiert werden?"), qPrintable(boxen[0].text));
        QCOMPARE(boxen[0].symbol, QMessageBox::NoIcon);
        QVERIFY(!boxen[0].fortschrittSichtbar);
        QVERIFY2(boxen[0].fortschrittText.endsWith("4 von 4"), qPrintable(boxen[0].fortschrittText));
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 12);

        // Answered Yes with Alt+J, the message after it closed with Enter.
        boxen.clear();
        tasten = {QKeyCombination(Qt::AltModifier, Qt::Key_J), QKeyCombination(Qt::Key_Return)};
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QCOMPARE(boxen.size(), 2);
        QCOMPARE(boxen[1].text, QStringLiteral("Die Merker der offenen Rechnungen wurden zurück gesetzt!"));
        for (const Box& b : boxen) QVERIFY(!b.fortschrittSichtbar);
        QCOMPARE(p.Verbindung.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 0);
        QCOMPARE(p.Verbindung.wert("select count(*) from rechnungen").toInt(), 4);

        // Nothing open: the message alone, under no progress window.
        boxen.clear();
        fortschrittGezeigt = false;
        tasten = {QKeyCombination(Qt::Key_Return)};
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        QCOMPARE(boxen.size(), 1);
        QCOMPARE(boxen[0].text, QStringLiteral("Es wurden keine offenen Rechnungen gefunden!"));
        QVERIFY(!boxen[0].fortschrittSichtbar);
        takt.stop();
        QVERIFY(fortschritt() == nullptr);  // gone with the command

        // The appraiser print-out's closing question has no icon either.
        DialogAufzeichnung dlg;
        TALU_DB_OK(Zeile z; z.benutzer = "anton"; z.preis = 1.0; z.preisGutachter = 0.5; z.offenGutachter = "ja";
                   zeile(p.Verbindung, z));
        QVERIFY(menue::fuehreAus("mnuGutachterKontrollAusdruck", nullptr));
        QCOMPARE(dlg.fragenSymbole, QList<Dialoge::Symbol>{Dialoge::Symbol::Keins});
    }

    // A run stopped before its second customer says which invoice is done
    // and where it went; nothing is closed.
    void angehaltenNenntAblage() {
        QTemporaryDir dir;
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, "SQLite", false);
        const auto fuelle = [&] {
            kunde(db, "mueller", QStringLiteral("Müller Immobilien GmbH"));
            kunde(db, "becker", QStringLiteral("Becker Wohnbau"));
            zeile(db, "mueller", 10.0);
            zeile(db, "becker", 10.0);
        };
        TALU_DB_OK(fuelle());
        druck::PdfAblage ablage(dir.path());
        TestBediener b;
        b.anhaltenBei = 2;
        abrechnung::Rechnungslauf lauf(db, ablage, b);
        const abrechnung::LaufErgebnis e = lauf.fuehreAus();
        QVERIFY(e.abgebrochen);
        QCOMPARE(e.rechnungen.size(), 1);
        QCOMPARE(b.infos.size(), 1);
        QVERIFY2(b.infos.first().contains(QStringLiteral("die Rechnung %1 (als PDF-Dateien im Ordner \"%2\")")
                                               .arg(e.rechnungen.first().nummer)
                                               .arg(dir.path())),
                 qPrintable(b.infos.first()));
        QVERIFY(b.fragen.isEmpty());
        QCOMPARE(pdfDateien(dir.path()).size(), 1);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 2);
    }

    // Ctrl+End in the grid of a log far larger than the rows the model holds:
    // the last row is current and shows the last row of the statement, and
    // the grid never held more than its few pages.
    void strgEnde_data() { backendZeilen(); }
    void strgEnde() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        const int n = abrechnung::ProtokollModell::kSeite * (abrechnung::ProtokollModell::kSeitenGehalten + 4);
        TALU_DB_OK(fuelleViele(p.Verbindung, n));
        auto* f = formen::zeige<frmAbfrageprotokoll>();
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QCOMPARE(f->raster()->model()->rowCount(), n);
        f->raster()->setFocus();
        QTest::keyClick(f->raster(), Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        const QModelIndex aktuell = f->raster()->currentIndex();
        QCOMPARE(aktuell.row(), n - 1);
        QVERIFY(f->raster()->verticalScrollBar()->value() == f->raster()->verticalScrollBar()->maximum());
        Recordset alle;
        TALU_DB_OK(alle = p.Verbindung.abfrage(abrechnung::ProtokollModell::sql(abrechnung::ProtokollModell::Filter::Alle,
                                                                                  p.Verbindung.dialekt())));
        QCOMPARE(aktuell.siblingAtColumn(f->spalteNamens("id")).data().toLongLong(),
                 alle.zeilen().last().value("id").toLongLong());
        QCOMPARE(aktuell.siblingAtColumn(f->spalteNamens("objekt")).data().toString(),
                 alle.zeilen().last().value("objekt").toString());
        QVERIFY(f->modell()->gehalteneZeilen() <=
                qint64(abrechnung::ProtokollModell::kSeite) * abrechnung::ProtokollModell::kSeitenGehalten);
        // Ctrl+Home goes back to the first row.
        QTest::keyClick(f->raster(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(f->raster()->currentIndex().siblingAtColumn(f->spalteNamens("id")).data().toLongLong(),
                 alle.zeilen().first().value("id").toLongLong());
        const QString bilder = qEnvironmentVariable("TALU_BILDER");
        if (!bilder.isEmpty()) {
            QTest::keyClick(f->raster(), Qt::Key_End, Qt::ControlModifier);
            QVERIFY(f->grab().save(bilder + "/abfrageprotokoll_ende_" + backend + ".png"));
        }
    }

    // With TALU_BILDER=DIR: the viewer and frmRechnungen (open and closed) as PNG.
    void bilder() {
        const QString ziel = qEnvironmentVariable("TALU_BILDER");
        if (ziel.isEmpty()) QSKIP("TALU_BILDER nicht gesetzt");
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, "SQLite", false);
        TALU_DB_OK(fuelleProtokoll(p.Verbindung));
        TALU_DB_OK(rechnung(p.Verbindung, 2026001, "ja"));
        DialogAufzeichnung dlg;
        auto* f = formen::zeige<frmAbfrageprotokoll>();
        QVERIFY(f);
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QVERIFY(f->grab().save(ziel + "/abfrageprotokoll.png"));
        formen::schliesseAlleKinder();
        dlg.eingaben = QStringList{"2026001"};
        QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
        auto* r = formen::vorhanden<frmRechnungen>();
        QVERIFY(r);
        QVERIFY(QTest::qWaitForWindowExposed(r));
        QVERIFY(r->grab().save(ziel + "/rechnung_offen.png"));
        r->cmdSchliessen->click();
        QVERIFY(r->grab().save(ziel + "/rechnung_geschlossen.png"));
        // One invoice as PDF, for a look at the printed page.
        if (druck::DruckerZiel::druckerVorhanden()) return;
        QTemporaryDir dir;
        programmVerzeichnisFuerTest(dir);
        QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        const QStringList pdfs = pdfDateien(druck::standardAblage());
        QVERIFY(!pdfs.isEmpty());
        QFile::remove(ziel + "/rechnung.pdf");
        QVERIFY(QFile::copy(druck::standardAblage() + "/" + pdfs.first(), ziel + "/rechnung.pdf"));
    }
};

QTEST_MAIN(TstAbrechnungsformen)
#include "tst_abrechnungsformen.moc"
