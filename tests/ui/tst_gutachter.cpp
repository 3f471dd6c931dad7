// Appraiser records: the mask's stored lengths, the search-list-mask loop,
// and a record that vanished while its mask was open.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Bildvergleich.h"
#include "Fixture.h"
#include "LookupHilfe.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/GutachterDaten.h"
#include "masterdata/ui/frmGutachter.h"

using namespace talu;

namespace {

qint64 gutachter(const Datenbank& db, const QString& name, const QString& plz = {}, const QString& ort = {},
                 const QString& telefon = {}) {
    return db.einfuegen("gutachter", {{"name", name}, {"plz", plz}, {"ort", ort}, {"telefon", telefon}});
}

QStringList zehn(const QStringList& anfang) {
    QStringList t = anfang;
    while (t.size() < GutachterDaten::kFelder) t << QString();
    return t;
}

}  // namespace

class TestGutachter : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    // Every field keeps its leading characters up to the column's length;
    // each save in create mode adds a row.
    void gekuerztGespeichert_data() { test::backendZeilen(); }
    void gekuerztGespeichert() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        DialogAufzeichnung dialoge;
        p.Modus = "erfassen";
        auto* m = formen::zeige<frmGutachterMaske>();
        QVERIFY(m);
        QCOMPARE(m->lblKopf->text(), QString("Gutachter erfassen"));
        QCOMPARE(m->text.size(), 10);
        // One label per row: the heading and seven rows, the paired boxes share theirs.
        QStringList labels;
        for (QLabel* l : m->findChildren<QLabel*>()) labels << l->text();
        QCOMPARE(labels.size(), 8);
        QVERIFY(labels.contains("Abr.-Mod. / Bereich:"));
        const QString name60 = QString("Gutachterausschuss für Grundstückswerte im Landkreis ").leftJustified(60, 'X');
        const QStringList eingabe{name60,
                                  QString("Am Markt 1").leftJustified(35, '.'),
                                  "372991",
                                  "Göttingen",
                                  "0551 12345",
                                  "0551 12346",
                                  QString("info@") + QString(120, 'g'),
                                  "www.gutachter.de",
                                  "123456",
                                  QString("03159016").leftJustified(25, '9')};
        for (int i = 0; i < 10; ++i) m->text[i]->setText(eingabe[i]);
        m->cmdSpeichern->click();
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), (QStringList{"Der Datensatz wurde gespeichert!", "Der Datensatz wurde gespeichert!"}));
        QCOMPARE(dialoge.meldungen[0].titel, QString("Information"));
        QCOMPARE(p.Verbindung.wert("select count(*) from gutachter").toInt(), 2);
        // The mask keeps its texts and its mode.
        QCOMPARE(m->text[2]->text(), QString("372991"));
        QCOMPARE(m->DatensatzId(), 0.0);
        Recordset rs;
        TALU_DB_OK(rs = p.Verbindung.abfrage("select * from gutachter order by id"));
        const int laenge[] = {50, 30, 5, 30, 30, 30, 100, 100, 5, 20};
        const char* spalten[] = {"name", "strasse", "plz", "ort", "telefon", "telefax",
                                 "email", "internet", "abrechnungsmodus", "bereich"};
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            for (int i = 0; i < 10; ++i) QCOMPARE(rs.text(spalten[i]), eingabe[i].left(laenge[i]));
        rs.moveFirst();
        QCOMPARE(rs.text("plz"), QString("37299"));
        QCOMPARE(rs.text("name").size(), 50);
    }

    // Null columns show as empty boxes; saving them unchanged stores empty texts.
    void nullAlsLeer_data() { test::backendZeilen(); }
    void nullAlsLeer() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        TALU_DB_OK(id = p.Verbindung.einfuegen("gutachter", {{"name", "Nur Name"}}));
        QVERIFY(p.Verbindung.wert("select ort from gutachter where id = ?", {id}).isNull());
        DialogAufzeichnung dialoge;
        p.Modus = "aendern";
        auto* m = formen::zeige<frmGutachterMaske>();
        QVERIFY(m);
        m->setzeDatensatzId(double(id));
        QCOMPARE(m->lblKopf->text(), QString("Gutachter anzeigen/aendern"));
        QCOMPARE(m->texte(), zehn({"Nur Name"}));
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QCOMPARE(p.Verbindung.wert("select count(*) from gutachter").toInt(), 1);
        const QVariant ort = p.Verbindung.wert("select ort from gutachter where id = ?", {id});
        QVERIFY(!ort.isNull());
        QCOMPARE(ort.toString(), QString());
    }

    // "Gutachter suchen": blank term, no hit, one hit straight to the mask,
    // several to the list; the mask in change mode goes back to the search.
    void sucheListeMaske_data() { test::backendZeilen(); }
    void sucheListeMaske() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 a = 0, b = 0, c = 0, d = 0;
        auto fuelle = [&] {
            a = gutachter(p.Verbindung, "Gutachterausschuss Göttingen", "37073", "Göttingen", "0551 4000");
            b = gutachter(p.Verbindung, "Büro O'Neill & Partner", "10115", "Berlin");
            c = gutachter(p.Verbindung, "Gutachterausschuss im Landkreis Northeim", "37154",
                          "Northeim", "05551 708");
            d = gutachter(p.Verbindung, "Sachverständige 100% Wert_GmbH", "80331", "München");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;

        auto* s = formen::zeige<frmGutachterSuchen>();
        QVERIFY(s);
        QCOMPARE(s->lblKopf->text(), QString("Suche nach Gutachter"));
        s->text0->setText("   ");
        s->cmdSucheStarten->click();
        QCOMPARE(dialoge.texte(), QStringList{"Das Datenfeld 'Name des Gutachters' ist ein Mussfeld! Ohne dass es "
                                              "ausgefuellt ist, erfolgt keine Suche in der Datenbank."});
        s->text0->setText("Ausschuss Hannover");
        s->cmdSucheStarten->click();
        QCOMPARE(dialoge.texte().last(), QString("Kein Treffer mit diesem Namen in der Datenbank!"));
        QVERIFY(!p.RsGutachter.istOffen());
        QVERIFY(formen::vorhanden<frmGutachterSuchen>());

        // ' % and _ are ordinary characters; the case does not matter.
        Suchergebnis e;
        TALU_DB_OK(e = sucheGutachterDatensatz("o'neill"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QCOMPARE(e.id, double(b));
        TALU_DB_OK(e = sucheGutachterDatensatz("0% wert_"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QCOMPARE(e.id, double(d));
        TALU_DB_OK(e = sucheGutachterDatensatz("_"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheGutachterDatensatz("%"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheGutachterDatensatz("GÖTTINGEN"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QCOMPARE(e.id, double(a));
        p.RsGutachter.schliessen();

        s->text0->setText("o'neill");
        s->cmdSucheStarten->click();
        QVERIFY(!formen::vorhanden<frmGutachterSuchen>());
        auto* m = formen::vorhanden<frmGutachterMaske>();
        QVERIFY(m);
        QCOMPARE(p.Modus, QString("aendern"));
        QCOMPARE(m->DatensatzId(), double(b));
        QCOMPARE(m->text[0]->text(), QString("Büro O'Neill & Partner"));
        QCOMPARE(m->text[3]->text(), QString("Berlin"));
        // The change overwrites the appraiser found and adds no row.
        m->text[1]->setText("Unter den Linden 5");
        dialoge.leeren();
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QCOMPARE(p.Verbindung.wert("select strasse from gutachter where id = ?", {b}).toString(),
                 QString("Unter den Linden 5"));
        QCOMPARE(p.Verbindung.wert("select count(*) from gutachter").toInt(), 4);
        m->cmdZurueck->click();
        s = formen::vorhanden<frmGutachterSuchen>();
        QVERIFY(s);

        s->text0->setText("gutachterausschuss");
        s->cmdSucheStarten->click();
        auto* l = formen::vorhanden<frmGutachterAuswaehlen>();
        QVERIFY(l);
        QCOMPARE(l->Combo1->count(), 2);
        QCOMPARE(l->ListenIds, (QVector<double>{double(a), double(c)}));
        // Name, postcode, town, telephone padded or cut to 20, 5, 20, 20.
        QCOMPARE(l->Combo1->itemText(0), QString("Gutachterausschuss G 37073 Göttingen            0551 4000           "));
        QCOMPARE(l->Combo1->itemText(1), QString("Gutachterausschuss i 37154 Northeim             05551 708           "));
        l->Combo1->setCurrentIndex(1);
        l->cmdAuswaehlen->click();
        QVERIFY(!formen::vorhanden<frmGutachterAuswaehlen>());
        QVERIFY(!p.RsGutachter.istOffen());
        m = formen::vorhanden<frmGutachterMaske>();
        QVERIFY(m);
        QCOMPARE(m->DatensatzId(), double(c));
        QCOMPARE(m->text[3]->text(), QString("Northeim"));
        m->cmdZurueck->click();

        // "Abbrechen" in the list goes back to the search.
        s = formen::vorhanden<frmGutachterSuchen>();
        s->text0->setText("gutachterausschuss");
        s->cmdSucheStarten->click();
        formen::vorhanden<frmGutachterAuswaehlen>()->cmdAbbrechen->click();
        QVERIFY(!formen::vorhanden<frmGutachterAuswaehlen>());
        QVERIFY(formen::vorhanden<frmGutachterSuchen>());
        QVERIFY(!p.RsGutachter.istOffen());
        // The search's own "Abbrechen" just closes it; a mask in create mode opens nothing on closing.
        formen::vorhanden<frmGutachterSuchen>()->cmdAbbrechen->click();
        QVERIFY(formen::geladene().isEmpty());
        p.Modus = "erfassen";
        formen::zeige<frmGutachterMaske>()->cmdZurueck->click();
        QVERIFY(formen::geladene().isEmpty());
    }

    // Typing through the mask with Tab: only the box with the focus shows a
    // text cursor; a box entered by a click is selected whole, so that typing
    // replaces its text instead of adding to it.
    void nurDasFokusfeldZeigtDenCursor() {
        DialogAufzeichnung dialoge;
        publics().Modus = "erfassen";
        auto* m = formen::zeige<frmGutachterMaske>();
        QVERIFY(m);
        test::warteAufFenster(m);
        QTRY_COMPARE(QApplication::focusWidget(), m->text[0]);
        for (const char* eingabe : {"Name eins", "Strasse zwei", "12345"}) {
            QTest::keyClicks(QApplication::focusWidget(), eingabe);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), m->text[3]);
        QCOMPARE(m->text[2]->text(), QString("12345"));
        for (int i : {0, 1, 2}) QVERIFY2(test::siehtUnberuehrtAus(m->text[i]), qPrintable(m->text[i]->text()));
        // The check itself sees a caret: the focused box, typed into, is no untouched box.
        QTest::keyClicks(m->text[3], "Ort");
        QVERIFY(!test::siehtUnberuehrtAus(m->text[3]));

        // A click at the end of a filled box selects it whole.
        const QRect r = m->text[1]->rect();
        QTest::mouseClick(m->text[1], Qt::LeftButton, {}, QPoint(r.right() - 4, r.center().y()));
        QCOMPARE(QApplication::focusWidget(), m->text[1]);
        QCOMPARE(m->text[1]->selectedText(), QString("Strasse zwei"));
        QTest::keyClicks(m->text[1], "Weg 3");
        QCOMPARE(m->text[1]->text(), QString("Weg 3"));
        QVERIFY(test::siehtUnberuehrtAus(m->text[3]));
        // A second click in the box it already has places the cursor as usual.
        QTest::mouseClick(m->text[1], Qt::LeftButton, {}, QPoint(r.left() + 4, r.center().y()));
        QVERIFY(!m->text[1]->hasSelectedText());
        QVERIFY(dialoge.meldungen.isEmpty());
    }

    // A record deleted by someone else while its mask is open: the mask says
    // so, and a save neither fails silently nor creates the record again.
    void verschwundenerDatensatz_data() { test::backendZeilen(); }
    void verschwundenerDatensatz() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        TALU_DB_OK(id = gutachter(p.Verbindung, "Weg", "12345", "Irgendwo"));
        DialogAufzeichnung dialoge;
        p.Modus = "aendern";
        auto* m = formen::zeige<frmGutachterMaske>();
        m->setzeDatensatzId(double(id + 100));
        QCOMPARE(dialoge.texte(), QStringList{"Zu diesem Gutachter gibt es keinen Datensatz."});
        QCOMPARE(m->texte(), zehn({}));

        m->setzeDatensatzId(double(id));
        QCOMPARE(m->text[0]->text(), QString("Weg"));
        TALU_DB_OK(p.Verbindung.ausfuehren("delete from gutachter where id = ?", {id}));
        dialoge.leeren();
        m->text[0]->setText("Wieder da?");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Kritisch);
        QVERIFY(!dialoge.texte().contains("Der Datensatz wurde gespeichert!"));
        QCOMPARE(p.Verbindung.wert("select count(*) from gutachter").toInt(), 0);
        QVERIFY_THROWS_EXCEPTION(DbFehler, GutachterDaten(p.Verbindung).speichere(double(id), zehn({"x"})));
        QCOMPARE(p.Verbindung.wert("select count(*) from gutachter").toInt(), 0);
    }
};

QTEST_MAIN(TestGutachter)
#include "tst_gutachter.moc"
