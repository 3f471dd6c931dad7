// The whole lookup road in the main window's MDI area: place search, list,
// information groups, street search, plot form and the way back; the query-log
// rows it writes; and the query plans of its plot statements.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "LookupHilfe.h"
#include "kit/Formate.h"
#include "lookup/SucheDaten.h"
#include "lookup/ui/frmAuswaehlen.h"
#include "lookup/ui/frmInformationsGruppen.h"
#include "lookup/ui/frmSuchen.h"
#include "plot/GrundstueckDaten.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {
template <class T>
T* form(const char* name) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return qobject_cast<T*>(formen::vorhanden(name));
}

void suche(frmSuchen* f, const QString& begriff) {
    // keyClicks types ASCII only; the text goes in as a paste would put it.
    f->Text1->setText(begriff);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Screenshots of the road when TALU_BILDER names a directory.
void bild(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("TALU_BILDER");
    if (dir.isEmpty() || !w) return;
    QApplication::processEvents();
    QWidget* rahmen = w->parentWidget() ? w->parentWidget() : w;
    rahmen->grab().save(QDir(dir).filePath(name + ".png"));
}

// Test-only: puts constant values into a statement, for EXPLAIN (which
// PostgreSQL cannot prepare).
QString mitWerten(QString sql, const QStringList& werte) {
    for (const QString& w : werte) sql.replace(sql.indexOf('?'), 1, "'" + w + "'");
    return sql;
}
}  // namespace

class TestLookupStrasse : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { test::lookupAufraeumen(); }

    void ganzeStrasse_data() { test::backendZeilen(); }
    void ganzeStrasse();
    void ortsListeUndFluchtwege_data() { test::backendZeilen(); }
    void ortsListeUndFluchtwege();
    void abfragePlaene_data() { test::backendZeilen(); }
    void abfragePlaene();
};

void TestLookupStrasse::ganzeStrasse() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    QMdiArea mdi;
    mdi.resize(1100, 700);
    formen::setzeHauptfenster(&mdi);
    mdi.show();
    Publics& p = publics();
    const int vorher = test::zaehle("select count(*) from abfrageprotokoll");

    // 1. "Ort suchen".
    p.SuchArt = "suche nach ort";
    auto* s = formen::zeige<frmSuchen>();
    bild(s, "1_suchen");
    suche(s, QString::fromUtf8("ÜBERLINGEN"));
    // 2. One place: straight to the information groups.
    auto* g = form<frmInformationsGruppen>("frmInformationsGruppen");
    QVERIFY(g);
    QCOMPARE(form<frmSuchen>("frmSuchen"), nullptr);
    // The keyboard focus follows to the new form, though the old one had it when it closed.
    QTRY_COMPARE(QApplication::focusWidget(), g->cmdAbbruch);
    QCOMPARE(g->cmdAuswahl[1]->text(), "&Bodenrichtwerte (" + waehrung(12.5) + ")");
    QCOMPARE(p.AktOrtAnzeige, QString::fromUtf8("88662 Überlingen"));
    bild(g, "3_informationsgruppen");

    // 4. Land values: the street search of Überlingen.
    g->cmdAuswahl[1]->click();
    s = form<frmSuchen>("frmSuchen");
    QVERIFY(s);
    QCOMPARE(s->Label1->text(), "Geben Sie bitte den Strassennamen ein:");
    suche(s, QString::fromUtf8("münster"));
    auto* a = form<frmAuswaehlen>("frmAuswaehlen");
    QVERIFY(a);
    const int treffer = test::zaehle("select count(*) from grundstuecke where gemeindeschluessel = '08435059' "
                                     "and strassen_name = ? and loeschen = 'nein'",
                                     {QString::fromUtf8("Münsterstraße")});
    QCOMPARE(a->Combo1->count(), treffer);
    QCOMPARE(a->Label1->text(), QString::fromUtf8("Grundstück auswählen - %1 Treffer").arg(treffer));
    bild(a, "4_grundstuecksliste");
    const int nr = a->Combo1->findText(QString::fromUtf8("Münsterstraße 5"));
    QVERIFY(nr >= 0);
    a->Combo1->setCurrentIndex(nr);
    a->cmdAuswaehlen->click();

    auto* m = form<frmGrundstueckMaske>("frmGrundstueckMaske");
    QVERIFY(m);
    QCOMPARE(formen::geladene(), QStringList{"frmGrundstueckMaske"});
    QCOMPARE(m->text_1[0]->text(), "88662");
    QCOMPARE(m->text_1[1]->text(), QString::fromUtf8("Überlingen"));
    QCOMPARE(m->text_1[3]->text(), QString::fromUtf8("Münsterstraße"));
    QCOMPARE(m->text_1[4]->text(), "5");
    QTRY_COMPARE(QApplication::focusWidget(), m->cmdZurueck);
    bild(m, "5_grundstueck");
    m->SSTab1->setCurrentIndex(1);
    QCOMPARE(m->text_2[3]->text().right(3), QString::fromUtf8(" m²"));
    bild(m, "5_zusatzdaten");
    m->SSTab1->setCurrentIndex(0);
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll"), vorher + 1);
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll where objekt = ? and preis = 12.5 "
                          "and preis_gutachter = 5 and vorgang = ?",
                          {QString::fromUtf8("88662 Überlingen - Münsterstraße 5"), QString::fromUtf8("Grundstücksdaten")}),
             1);

    // 7. Closing the plot returns to the information groups; again to the street,
    // the remembered street term is offered; the street record this time.
    m->cmdZurueck->click();
    g = form<frmInformationsGruppen>("frmInformationsGruppen");
    QVERIFY(g);
    g->cmdAuswahl[1]->click();
    s = form<frmSuchen>("frmSuchen");
    QCOMPARE(s->Text1->text(), QString::fromUtf8("münster"));
    s->cmdStarten->click();
    a = form<frmAuswaehlen>("frmAuswaehlen");
    a->Combo1->setCurrentIndex(a->Combo1->findText(QString::fromUtf8("Münsterstraße ")));
    QVERIFY(a->Combo1->currentIndex() >= 0);
    a->cmdAuswaehlen->click();
    m = form<frmGrundstueckMaske>("frmGrundstueckMaske");
    QVERIFY(p.StrassenEintrag);
    QCOMPARE(m->label[2]->text(), "Strasse:");
    bild(m, "6_strasseneintrag");
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll"), vorher + 2);
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll where objekt = ?",
                          {QString::fromUtf8("88662 Überlingen - Münsterstraße")}),
             1);

    // Back along the road: plot -> groups -> place search, which offers the last place.
    m->cmdZurueck->click();
    g = form<frmInformationsGruppen>("frmInformationsGruppen");
    g->cmdAbbrechen->click();
    s = form<frmSuchen>("frmSuchen");
    QVERIFY(s);
    QCOMPARE(p.SuchArt, "suche nach ort");
    QCOMPARE(s->Text1->text(), QString::fromUtf8("überlingen"));
    s->cmdZurueck->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(formen::geladene().isEmpty());
    QCOMPARE(test::zaehle("select count(*) from abfrageprotokoll"), vorher + 2);
    QVERIFY(boxen.meldungen.isEmpty());
    formen::setzeHauptfenster(nullptr);
}

void TestLookupStrasse::ortsListeUndFluchtwege() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    DialogAufzeichnung boxen;
    QMdiArea mdi;
    mdi.resize(1100, 700);
    formen::setzeHauptfenster(&mdi);
    mdi.show();
    Publics& p = publics();

    p.SuchArt = "suche nach ort";
    auto* s = formen::zeige<frmSuchen>();
    suche(s, "frankfurt");
    auto* a = form<frmAuswaehlen>("frmAuswaehlen");
    QVERIFY(a);
    QCOMPARE(a->Label1->text(), QString::fromUtf8("Ort auswählen - 3 Treffer"));
    bild(a, "2_ortsliste");
    // A place chosen from the list does not reset the place-information flag.
    p.OrtAbgerechnet = true;
    a->Combo1->setCurrentIndex(2);
    a->cmdAuswaehlen->click();
    auto* g = form<frmInformationsGruppen>("frmInformationsGruppen");
    QVERIFY(g);
    QVERIFY(p.OrtAbgerechnet);
    QCOMPARE(p.AktOrtAnzeige, "60594 Frankfurt am Main");
    QCOMPARE(g->Label2->text(), "Informationsgruppen von Frankfurt am Main");

    // Escape in the street search walks back to the groups of the same place.
    g->cmdAuswahl[1]->click();
    s = form<frmSuchen>("frmSuchen");
    QTest::keyClick(s->Text1, Qt::Key_Escape);
    g = form<frmInformationsGruppen>("frmInformationsGruppen");
    QVERIFY(g);
    QCOMPARE(formen::geladene(), QStringList{"frmInformationsGruppen"});
    QCOMPARE(p.AktOrtAnzeige, "60594 Frankfurt am Main");

    // A street without plots: the message, the search stays.
    g->cmdAuswahl[1]->click();
    s = form<frmSuchen>("frmSuchen");
    suche(s, "gibtsnicht");
    QCOMPARE(boxen.texte(), QStringList{"Mit dieser Bezeichnung ist keine Strasse vorhanden!"});
    QCOMPARE(form<frmSuchen>("frmSuchen"), s);
    // The close box of the street list walks back to the search.
    suche(s, "zeil");
    a = form<frmAuswaehlen>("frmAuswaehlen");
    QVERIFY(a);
    a->close();
    s = form<frmSuchen>("frmSuchen");
    QVERIFY(s);
    QCOMPARE(p.SuchArt, QString::fromUtf8("suche nach grundstück"));
    QCOMPARE(formen::geladene(), QStringList{"frmSuchen"});
    formen::setzeHauptfenster(nullptr);
}

void TestLookupStrasse::abfragePlaene() {
    QFETCH(QString, backend);
    TALU_LOOKUP_DB(fx, backend, true);
    const Datenbank& db = publics().Verbindung;
    const bool pg = db.backend() == Backend::PostgreSQL;
    const QList<QPair<QString, QStringList>> anweisungen = {
        {SucheDaten::strassenSql(db.dialekt()), {"06412000", "mainzer%", "nein"}},
        {GrundstueckDaten::nachbarSql(), {"06412000", "Mainzer Landstraße", "13", "nein"}},
        {"select * from grundstuecke where id = ?", {"5"}},
    };
    // Whether an index can serve each statement; on the demo's few rows
    // PostgreSQL would otherwise rightly prefer reading the table.
    if (pg) TALU_DB_OK(db.ausfuehren("set enable_seqscan = off"));
    for (const auto& [sql, werte] : anweisungen) {
        const QString explain = (pg ? "explain " : "explain query plan ") + mitWerten(sql, werte);
        Recordset plan;
        TALU_DB_OK(plan = db.abfrage(explain));
        QStringList zeilen;
        for (plan.moveFirst(); !plan.eof(); plan.moveNext())
            zeilen << plan.text(pg ? "QUERY PLAN" : "detail");
        const QString text = zeilen.join('\n');
        const QRegularExpression ganz(pg ? "Seq Scan on grundstuecke" : "SCAN grundstuecke(?! USING)");
        QVERIFY2(!ganz.match(text).hasMatch(), qPrintable(sql + "\n" + text));
        QVERIFY2(text.contains(QRegularExpression("(?i)index|primary key|INTEGER PRIMARY")), qPrintable(text));
    }
    if (pg) TALU_DB_OK(db.ausfuehren("set enable_seqscan = on"));
}

QTEST_MAIN(TestLookupStrasse)
#include "tst_lookupstrasse.moc"
