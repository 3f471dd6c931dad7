// User and customer records: the write-permission field, the search with
// its blank and leading-blank terms, the list, and saving in both modes.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Fixture.h"
#include "LookupHilfe.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/BenutzerDaten.h"
#include "kit/ui/FeldArray.h"
#include "masterdata/ui/frmBenutzer.h"

using namespace talu;

namespace {

qint64 benutzer(const Datenbank& db, const QString& name, const QVariant& schreibmodus = QVariant(),
                const QString& ort = {}) {
    return db.einfuegen("benutzer", {{"name", name}, {"ort", ort}, {"schreibmodus", schreibmodus}});
}

}  // namespace

class TestBenutzer : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    // Field 11 is stored as its first letter in upper case and read back as Ja/Nein.
    void schreibmodus_data() { test::backendZeilen(); }
    void schreibmodus() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        DialogAufzeichnung dialoge;
        p.Modus = "erfassen";
        auto* m = formen::zeige<frmBenutzerMaske>();
        QVERIFY(m);
        QCOMPARE(m->lblKopf->text(), QString("Benutzer erfassen"));
        QCOMPARE(m->text.size(), 12);
        QCOMPARE(m->felder()->jaNeinFeld(), 11);
        const QList<QPair<QString, QString>> faelle = {
            {"Ja", "J"}, {"ja", "J"}, {"Nein", "N"}, {"x-beliebig", "X"}, {"", ""}, {"  ja", " "}};
        for (const auto& [eingabe, gespeichert] : faelle) {
            m->text[0]->setText("Schreibmodus " + eingabe);
            m->text[11]->setText(eingabe);
            m->cmdSpeichern->click();
            QCOMPARE(p.Verbindung.wert("select schreibmodus from benutzer where name = ?", {"Schreibmodus " + eingabe})
                         .toString(),
                     gespeichert);
        }
        // Every save in create mode adds a row.
        QCOMPARE(p.Verbindung.wert("select count(*) from benutzer").toInt(), faelle.size());
        QCOMPARE(dialoge.texte().count("Der Datensatz wurde gespeichert!"), faelle.size());

        const QList<QPair<QVariant, QString>> anzeige = {
            {"J", "Ja"}, {"j", "Ja"}, {"n", "Nein"}, {"N", "Nein"}, {"X", ""}, {"Ja", ""}, {QVariant(), ""}};
        p.Modus = "aendern";
        m->cmdZurueck->click();  // create mode: nothing opens
        QVERIFY(formen::geladene().isEmpty());
        for (const auto& [wert, text] : anzeige) {
            qint64 id = 0;
            TALU_DB_OK(id = benutzer(p.Verbindung, "Anzeige", wert));
            auto* a = formen::zeige<frmBenutzerMaske>();
            a->setzeDatensatzId(double(id));
            QCOMPARE(a->lblKopf->text(), QString("Benutzer anzeigen/aendern"));
            QCOMPARE(a->text[11]->text(), text);
            QCOMPARE(a->text[0]->text(), QString("Anzeige"));
            formen::entlade(a);
        }
    }

    // Typing "j" or "n" into field 11 and leaving it shows "Ja" or "Nein".
    void feld11Verlassen() {
        publics().Modus = "erfassen";
        auto* m = formen::zeige<frmBenutzerMaske>();
        QVERIFY(m);
        QApplication::setActiveWindow(m->window());
        QVERIFY(QTest::qWaitForWindowActive(m->window()));
        m->text[11]->setFocus();
        QTest::keyClick(m->text[11], Qt::Key_J);
        QTest::keyClick(m->text[11], Qt::Key_Return);  // to field 0, wrapping
        QCOMPARE(m->text[11]->text(), QString("Ja"));
        QTRY_VERIFY(m->text[0]->hasFocus());
        m->text[10]->setFocus();
        QTest::keyClick(m->text[10], Qt::Key_N);
        QTest::keyClick(m->text[10], Qt::Key_Down);
        QCOMPARE(m->text[10]->text(), QString("n"));  // only field 11 expands
    }

    // A blank term reaches no statement; a term with leading blanks is
    // searched with them; one hit opens the mask, several the list.
    void sucheListeMaske_data() { test::backendZeilen(); }
    void sucheListeMaske() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 a = 0, b = 0, c = 0;
        auto fuelle = [&] {
            a = benutzer(p.Verbindung, "Sparkasse Göttingen", "J", "Göttingen");
            b = benutzer(p.Verbindung, "Kreissparkasse", "n", "Northeim");
            c = benutzer(p.Verbindung, "D'Angelo 50%_Anteil", QVariant(), "Köln");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;

        auto* s = formen::zeige<frmBenutzerSuchen>();
        QVERIFY(s);
        QCOMPARE(s->lblKopf->text(), QString("Suche nach Benutzer"));
        s->text0->setText("  ");
        s->cmdSucheStarten->click();
        QCOMPARE(dialoge.texte(), QStringList{"Das Datenfeld 'Name des Benutzer' ist ein Mussfeld! Ohne dass es "
                                              "ausgefuellt ist, erfolgt keine Suche in der Datenbank."});
        QCOMPARE(dialoge.meldungen[0].titel, QString("Information"));
        QVERIFY(!p.RsBenutzer.istOffen());

        Suchergebnis e;
        // " sparkasse" needs a blank before it: only "Kreissparkasse" lacks one.
        TALU_DB_OK(e = sucheBenutzerDatensatz(" göttingen"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheBenutzerDatensatz(" sparkasse"));
        QCOMPARE(e.art, Suchergebnis::KeinTreffer);
        QCOMPARE(e.meldung, QString("Kein Treffer mit diesem Namen in der Datenbank!"));
        QVERIFY(!p.RsBenutzer.istOffen());
        TALU_DB_OK(e = sucheBenutzerDatensatz("d'angelo 50%_"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QCOMPARE(e.id, double(c));
        TALU_DB_OK(e = sucheBenutzerDatensatz("0%"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheBenutzerDatensatz("SPARKASSE"));
        QCOMPARE(e.art, Suchergebnis::MehrereTreffer);
        QCOMPARE(p.RsBenutzer.anzahl(), 2);
        p.RsBenutzer.schliessen();

        s->text0->setText("kreis");
        s->cmdSucheStarten->click();
        auto* m = formen::vorhanden<frmBenutzerMaske>();
        QVERIFY(m);
        QVERIFY(!formen::vorhanden<frmBenutzerAuswaehlen>());
        QCOMPARE(p.Modus, QString("aendern"));
        QCOMPARE(m->DatensatzId(), double(b));
        QCOMPARE(m->text[3]->text(), QString("Northeim"));
        QCOMPARE(m->text[11]->text(), QString("Nein"));
        // The change overwrites the user; the shown "Nein" is stored as "N".
        m->text[7]->setText("Frau Meyer");
        m->cmdSpeichern->click();
        QCOMPARE(p.Verbindung.wert("select ansprechpartner from benutzer where id = ?", {b}).toString(),
                 QString("Frau Meyer"));
        QCOMPARE(p.Verbindung.wert("select schreibmodus from benutzer where id = ?", {b}).toString(), QString("N"));
        QCOMPARE(p.Verbindung.wert("select count(*) from benutzer").toInt(), 3);
        m->cmdZurueck->click();
        s = formen::vorhanden<frmBenutzerSuchen>();
        QVERIFY(s);

        s->text0->setText("sparkasse");
        s->cmdSucheStarten->click();
        auto* l = formen::vorhanden<frmBenutzerAuswaehlen>();
        QVERIFY(l);
        QCOMPARE(l->ListenIds, (QVector<double>{double(b), double(a)}));
        QCOMPARE(l->Combo1->itemText(1), QString("Sparkasse Göttingen  " + QString(5, ' ') + " Göttingen" +
                                                 QString(11, ' ') + " " + QString(20, ' ')));
        l->Combo1->setCurrentIndex(1);
        l->cmdAuswaehlen->click();
        m = formen::vorhanden<frmBenutzerMaske>();
        QVERIFY(m);
        QCOMPARE(m->DatensatzId(), double(a));
        QCOMPARE(m->text[11]->text(), QString("Ja"));
        QVERIFY(!p.RsBenutzer.istOffen());
        m->cmdZurueck->click();
        QVERIFY(formen::vorhanden<frmBenutzerSuchen>());
    }

    // A user deleted while the mask shows it is not created anew by a save.
    void verschwundenerDatensatz_data() { test::backendZeilen(); }
    void verschwundenerDatensatz() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        TALU_DB_OK(id = benutzer(p.Verbindung, "Bald weg", "J"));
        DialogAufzeichnung dialoge;
        p.Modus = "aendern";
        auto* m = formen::zeige<frmBenutzerMaske>();
        m->setzeDatensatzId(double(id));
        TALU_DB_OK(p.Verbindung.ausfuehren("delete from benutzer"));
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Kritisch);
        QCOMPARE(p.Verbindung.wert("select count(*) from benutzer").toInt(), 0);
        dialoge.leeren();
        m->setzeDatensatzId(double(id));
        QCOMPARE(dialoge.texte(), QStringList{"Zu diesem Benutzer gibt es keinen Datensatz."});
        QCOMPARE(m->text[0]->text(), QString());
    }
};

QTEST_MAIN(TestBenutzer)
#include "tst_benutzer.moc"
