// District records: the search, the list, the mask, and the district pick
// for the place form.
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
#include "masterdata/KreisDaten.h"
#include "masterdata/ui/frmKreis.h"
#include "place/ui/frmStadtMaske.h"

using namespace talu;

namespace {

// A district in both tables under one id, as the search and the mask expect.
qint64 kreis(const Datenbank& db, const QString& name, const QString& kenn = {}) {
    const qint64 id = db.einfuegen("kreis", {{"kreis", name}, {"kenn", kenn}});
    db.ausfuehren("insert into kreise (id, kreis, kenn) values (?, ?, ?)", {id, name, kenn});
    return id;
}

}  // namespace

class TestKreis : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    void suche_data() { test::backendZeilen(); }
    void suche() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        auto fuelle = [&] {
            kreis(p.Verbindung, "Lahn-Dill-Kreis", "06532");
            kreis(p.Verbindung, "Landkreis Gießen", "06531");
            kreis(p.Verbindung, "Kreis O'Brien");
            kreis(p.Verbindung, "Überlingen 100%");
        };
        TALU_DB_OK(fuelle());

        Suchergebnis e = sucheKreis("   ");
        QCOMPARE(e.art, Suchergebnis::Leer);
        QVERIFY(e.meldung.startsWith("Das Datenfeld 'Name des Kreises' ist ein Mussfeld!"));
        TALU_DB_OK(e = sucheKreis("Vogelsberg"));
        QCOMPARE(e.art, Suchergebnis::KeinTreffer);
        QCOMPARE(e.meldung, QString("Kein Treffer mit diesem Namen in der Datenbank!"));
        QVERIFY(!p.RsKreise.istOffen());
        TALU_DB_OK(e = sucheKreis("KREIS"));
        QCOMPARE(e.art, Suchergebnis::MehrereTreffer);
        QCOMPARE(p.RsKreise.anzahl(), 3);
        TALU_DB_OK(e = sucheKreis("o'brien"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheKreis("gießen"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheKreis("überlingen"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        TALU_DB_OK(e = sucheKreis("0%"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);  // % is a character
        TALU_DB_OK(e = sucheKreis("_"));
        QCOMPARE(e.art, Suchergebnis::KeinTreffer);
        // A pick flag left over without a place form is dropped.
        p.AuswahlFuerStadtMaske = true;
        TALU_DB_OK(e = sucheKreis("o'brien"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QVERIFY(!p.AuswahlFuerStadtMaske);
        // In the place form's pick one hit still goes to the list for confirmation.
        p.AuswahlFuerStadtMaske = true;
        TALU_DB_OK(e = sucheKreis("o'brien", true));
        QCOMPARE(e.art, Suchergebnis::MehrereTreffer);
        QVERIFY(p.AuswahlFuerStadtMaske);
    }

    // One hit opens the mask; several fill the list, identical names apart by id.
    void sucheListeMaske_data() { test::backendZeilen(); }
    void sucheListeMaske() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 a = 0, b = 0, c = 0;
        auto fuelle = [&] {
            a = kreis(p.Verbindung, "Main-Kinzig-Kreis");
            b = kreis(p.Verbindung, "Neustadt");
            c = kreis(p.Verbindung, "Neustadt");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;

        auto* s = formen::zeige<frmKreisSuchen>("frmKreisSuchen");
        QVERIFY(s);
        QCOMPARE(s->lblKopf->text(), QString("Suche nach Landkreis"));
        s->cmdSucheStarten->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QCOMPARE(dialoge.meldungen[0].titel, QString("Information"));
        QVERIFY(formen::vorhanden("frmKreisSuchen"));

        s->text0->setText("kinzig");
        s->cmdSucheStarten->click();
        QVERIFY(!formen::vorhanden("frmKreisSuchen"));
        auto* m = formen::vorhanden<frmKreisMaske>("frmKreisMaske");
        QVERIFY(m);
        QCOMPARE(p.Modus, QString("aendern"));
        QCOMPARE(m->DatensatzId(), double(a));
        QCOMPARE(m->text0->text(), QString("Main-Kinzig-Kreis"));
        QCOMPARE(m->lblKopf->text(), QString("Kreis anzeigen/aendern"));
        // Closing the mask of a found district returns to the search.
        m->cmdZurueck->click();
        s = formen::vorhanden<frmKreisSuchen>("frmKreisSuchen");
        QVERIFY(s);

        s->text0->setText("neustadt");
        s->cmdSucheStarten->click();
        auto* l = formen::vorhanden<frmKreisAuswaehlen>("frmKreisAuswaehlen");
        QVERIFY(l);
        QCOMPARE(l->Combo1->count(), 2);
        QCOMPARE(l->Combo1->itemText(0), QString("Neustadt"));
        QCOMPARE(l->Combo1->itemText(1), QString("Neustadt"));
        QCOMPARE(l->ListenIds, (QVector<double>{double(b), double(c)}));
        l->Combo1->setCurrentIndex(1);
        l->cmdAuswaehlen->click();
        m = formen::vorhanden<frmKreisMaske>("frmKreisMaske");
        QVERIFY(m);
        QCOMPARE(m->DatensatzId(), double(c));
        QCOMPARE(p.GewaehlterKreis, QString("Neustadt"));
        QCOMPARE(p.GewaehlteKreisId, double(c));

        // Changing the name changes this district in both tables.
        m->text0->setText("Neustadt an der Weinstraße");
        dialoge.leeren();
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QCOMPARE(p.Verbindung.wert("select kreis from kreis where id = ?", {c}).toString(),
                 QString("Neustadt an der Weinstraße"));
        QCOMPARE(p.Verbindung.wert("select kreis from kreise where id = ?", {c}).toString(),
                 QString("Neustadt an der Weinstraße"));
        QCOMPARE(p.Verbindung.wert("select kreis from kreis where id = ?", {b}).toString(), QString("Neustadt"));

        // "Abbrechen" in the list goes back to the search.
        m->cmdZurueck->click();
        s = formen::vorhanden<frmKreisSuchen>("frmKreisSuchen");
        s->text0->setText("neustadt");
        s->cmdSucheStarten->click();
        formen::vorhanden<frmKreisAuswaehlen>("frmKreisAuswaehlen")->cmdAbbrechen->click();
        QVERIFY(!formen::vorhanden("frmKreisAuswaehlen"));
        QVERIFY(formen::vorhanden("frmKreisSuchen"));
        QVERIFY(!p.RsKreise.istOffen());
    }

    void maskeErfassen_data() { test::backendZeilen(); }
    void maskeErfassen() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(kreis(p.Verbindung, "Alt"));
        DialogAufzeichnung dialoge;
        p.Modus = "erfassen";
        auto* m = formen::zeige<frmKreisMaske>("frmKreisMaske");
        QVERIFY(m);
        QCOMPARE(m->lblKopf->text(), QString("Kreis erfassen"));
        // An empty name is not stored.
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QCOMPARE(p.Verbindung.wert("select count(*) from kreis").toInt(), 1);
        dialoge.leeren();
        m->text0->setText("Kreis d'Artagnan");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        const double id = m->DatensatzId();
        QVERIFY(id > 0);
        // A second save changes the new district; it does not add a copy.
        m->text0->setText("Kreis d'Artagnan-Süd");
        m->cmdSpeichern->click();
        QCOMPARE(p.Verbindung.wert("select count(*) from kreis").toInt(), 2);
        QCOMPARE(p.Verbindung.wert("select count(*) from kreise").toInt(), 2);
        Suchergebnis e;
        TALU_DB_OK(e = sucheKreis("d'artagnan-süd"));
        QCOMPARE(e.art, Suchergebnis::EinTreffer);
        QCOMPARE(e.id, id);
        // A mask in create mode closes without opening the search.
        m->cmdZurueck->click();
        QVERIFY(formen::geladene().isEmpty());

        // A failing save is reported and does not claim success.
        p.Modus = "erfassen";
        m = formen::zeige<frmKreisMaske>("frmKreisMaske");
        TALU_DB_OK(p.Verbindung.ausfuehren("drop table kreise"));
        dialoge.leeren();
        m->text0->setText("Neu");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Kritisch);
        QCOMPARE(p.Verbindung.wert("select count(*) from kreis").toInt(), 2);  // rolled back
    }

    // A district without a name could never be found again: neither the mask
    // nor the data layer stores one, in either mode.
    void ohneNamen_data() { test::backendZeilen(); }
    void ohneNamen() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        TALU_DB_OK(id = kreis(p.Verbindung, "Vogelsbergkreis"));
        const KreisDaten d(p.Verbindung);
        for (const QString& leer : {QString(), QString("   ")}) {
            QVERIFY_THROWS_EXCEPTION(DbFehler, d.speichere(0, leer));
            QVERIFY_THROWS_EXCEPTION(DbFehler, d.speichere(double(id), leer));
        }
        QCOMPARE(p.Verbindung.wert("select count(*) from kreis").toInt(), 1);
        QCOMPARE(p.Verbindung.wert("select count(*) from kreise").toInt(), 1);
        QCOMPARE(p.Verbindung.wert("select kreis from kreis where id = ?", {id}).toString(), QString("Vogelsbergkreis"));
        QCOMPARE(p.Verbindung.wert("select kreis from kreise where id = ?", {id}).toString(), QString("Vogelsbergkreis"));

        // The mask tells why and keeps the focus in the field.
        DialogAufzeichnung dialoge;
        p.Modus = "aendern";
        auto* m = formen::zeige<frmKreisMaske>("frmKreisMaske");
        QVERIFY(m);
        m->setzeDatensatzId(double(id));
        m->text0->setText(" ");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Das Datenfeld 'Name des Kreis' ist ein Mussfeld! Ohne dass es "
                                              "ausgefuellt ist, wird nicht gespeichert."});
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Information);
        QCOMPARE(p.Verbindung.wert("select kreis from kreis where id = ?", {id}).toString(), QString("Vogelsbergkreis"));
        // A name with blanks around it is a name and is stored whole.
        dialoge.leeren();
        m->text0->setText(" Vogelsberg ");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
        QCOMPARE(p.Verbindung.wert("select kreis from kreise where id = ?", {id}).toString(), QString(" Vogelsberg "));
    }

    // kreise.id is numbered by the server; the new district's row there takes
    // the id of its kreis row, which SQL Server accepts only with
    // IDENTITY_INSERT and after which PostgreSQL's sequence must move on.
    void eigeneIdTexte() {
        const EigeneId ms = eigeneIdAnweisungen(Dialekt(Backend::SQLServer), "kreise");
        QCOMPARE(ms.vorher, QStringList{"set identity_insert kreise on"});
        QCOMPARE(ms.immer, QStringList{"set identity_insert kreise off"});
        QVERIFY(ms.danach.isEmpty());
        QVERIFY(Dialekt(Backend::SQLServer).einfuegenMitId("kreise", {"id", "kreis"}).startsWith(
            "insert into kreise (id, kreis) "));
        const EigeneId pg = eigeneIdAnweisungen(Dialekt(Backend::PostgreSQL), "kreise");
        QVERIFY(pg.vorher.isEmpty() && pg.immer.isEmpty());
        QCOMPARE(pg.danach.size(), 1);
        QCOMPARE(pg.danach[0].sql,
                 QString("select setval(pg_get_serial_sequence(?, ?), (select max(id) from kreise))"));
        QCOMPARE(pg.danach[0].werte, (Parameter{"kreise", "id"}));
        // SQLite moves its counter past an id given explicitly by itself.
        const EigeneId lite = eigeneIdAnweisungen(Dialekt(Backend::SQLite), "kreise");
        QVERIFY(lite.vorher.isEmpty() && lite.immer.isEmpty() && lite.danach.isEmpty());
    }

    // After a district was created, the server can still number kreise rows
    // itself; an id that kreise already gives another district is not taken over.
    void neuerKreisNummern_data() { test::backendZeilen(); }
    void neuerKreisNummern() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        const KreisDaten d(p.Verbindung);
        qint64 fremd = 0;
        TALU_DB_OK(fremd = p.Verbindung.einfuegen("kreise", {{"kreis", "Nur in der Liste"}}));
        // kreis is empty and numbers its first row like kreise's only row.
        QVERIFY_THROWS_EXCEPTION(DbFehler, d.speichere(0, "Rheingau-Taunus-Kreis"));
        QCOMPARE(p.Verbindung.wert("select kreis from kreise where id = ?", {fremd}).toString(),
                 QString("Nur in der Liste"));
        QCOMPARE(p.Verbindung.wert("select count(*) from kreis").toInt(), 0);  // rolled back

        TALU_DB_OK(p.Verbindung.ausfuehren("delete from kreise"));
        double a = 0, b = 0;
        TALU_DB_OK(a = d.speichere(0, "Rheingau-Taunus-Kreis"));
        TALU_DB_OK(b = d.speichere(0, "Hochtaunuskreis"));
        QVERIFY(b > a);
        QCOMPARE(p.Verbindung.wert("select kreis from kreise where id = ?", {qint64(b)}).toString(),
                 QString("Hochtaunuskreis"));
        qint64 neu = 0;
        TALU_DB_OK(neu = p.Verbindung.einfuegen("kreise", {{"kreis", "Von anderer Stelle"}}));
        QVERIFY(neu > qint64(b));
        QCOMPARE(p.Verbindung.wert("select count(*) from kreise").toInt(), 3);
    }

    // The district pick of the place form: the choice fills the new place and opens no mask.
    void auswahlFuerStadtMaske_data() { test::backendZeilen(); }
    void auswahlFuerStadtMaske() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 id = 0;
        auto fuelle = [&] {
            id = kreis(p.Verbindung, "Limburg-Weilburg", "06533");
            kreis(p.Verbindung, "Limburg (Lahn)", "06999");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "erfassen";
        auto* f = formen::zeige<frmStadtMaske>("frmStadtMaske");
        QVERIFY(f);
        f->cmdKreis->click();
        QVERIFY(p.AuswahlFuerStadtMaske);
        QVERIFY(!f->isVisible());
        auto* s = formen::vorhanden<frmKreisSuchen>("frmKreisSuchen");
        QVERIFY(s);
        s->text0->setText("weilburg");
        s->cmdSucheStarten->click();
        auto* l = formen::vorhanden<frmKreisAuswaehlen>("frmKreisAuswaehlen");
        QVERIFY(l);  // one hit, still listed for the choice
        QCOMPARE(p.Modus, QString("erfassen"));
        l->cmdAuswaehlen->click();
        QVERIFY(!formen::vorhanden("frmKreisMaske"));
        QVERIFY(f->isVisible());
        QVERIFY(!p.AuswahlFuerStadtMaske);
        QCOMPARE(p.GewaehlterKreis, QString("Limburg-Weilburg"));
        QCOMPARE(p.GewaehlteKreisId, double(id));
        QCOMPARE(f->box(1, 2)->text(), QString("Limburg-Weilburg"));
        QCOMPARE(f->box(1, 5)->text(), QString("06533"));  // the key starts with the district's
        QCOMPARE(f->box(1, 7)->text(), QString());          // inhabitants untouched
        QCOMPARE(p.Modus, QString("erfassen"));

        // Cancelling the search of the pick returns to the place form.
        f->cmdKreis->click();
        formen::vorhanden<frmKreisSuchen>("frmKreisSuchen")->cmdAbbrechen->click();
        QVERIFY(f->isVisible());
        QVERIFY(!p.AuswahlFuerStadtMaske);
        QCOMPARE(f->box(1, 2)->text(), QString("Limburg-Weilburg"));
    }
};

QTEST_MAIN(TestKreis)
#include "tst_kreis.moc"
