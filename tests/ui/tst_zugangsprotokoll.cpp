// The access log viewer: its four filters on an empty and a filled table,
// the headings, and the grid's captions, widths and date display.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "Fixture.h"
#include "LookupHilfe.h"
#include "kit/Dialoge.h"
#include "kit/Formate.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "logs/ZugangsProtokollModell.h"
#include "logs/ui/frmZugangsProtokoll.h"

using namespace talu;

namespace {

void eintrag(const Datenbank& db, const QString& name, const QDate& datum, const QString& zeit,
             const QString& vorgang) {
    db.einfuegen("protokoll", {{"name", name}, {"datum", datum}, {"zeit", zeit}, {"vorgang", vorgang}});
}

QStringList spalte(const QAbstractItemModel* m, int s) {
    QStringList l;
    for (int r = 0; r < m->rowCount(); ++r) l << m->index(r, s).data().toString();
    return l;
}

}  // namespace

class TestZugangsProtokoll : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    void leereTabelle_data() { test::backendZeilen(); }
    void leereTabelle() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        DialogAufzeichnung dialoge;
        auto* f = formen::zeige<frmZugangsProtokoll>();
        QVERIFY(f);
        QCOMPARE(f->Label2->text(), QString("Zugangsprotokoll - Alle Daten"));
        QCOMPARE(f->modell()->rowCount(), 0);
        const QList<QPair<QPushButton*, QString>> knoepfe = {
            {f->cmdLogin, "Zugangsprotokoll - Nur Login-Daten"},
            {f->cmdLogout, "Zugangsprotokoll - Nur Logout-Daten"},
            {f->cmdNurHeute, "Zugangsprotokoll - Nur Daten von heute"},
            {f->cmdAlle, "Zugangsprotokoll - Alle Daten"}};
        for (const auto& [knopf, kopf] : knoepfe) {
            knopf->click();
            QCOMPARE(f->Label2->text(), kopf);
            QCOMPARE(f->modell()->rowCount(), 0);
            QCOMPARE(f->DataGrid1->horizontalHeader()->count(), 5);
        }
        QVERIFY(dialoge.meldungen.isEmpty());
    }

    void gefuellteTabelle_data() { test::backendZeilen(); }
    void gefuellteTabelle() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        const QDate heute = QDate::currentDate();
        auto fuelle = [&] {
            eintrag(p.Verbindung, "mueller", heute.addDays(-1), "23:50", "Login");
            eintrag(p.Verbindung, "mueller", heute, "00:10", "Logout");
            eintrag(p.Verbindung, "o'brien", heute, "08:00", "Login");
            eintrag(p.Verbindung, "schmidt", heute.addDays(1), "07:00", "Login");
            eintrag(p.Verbindung, "schmidt", heute.addDays(-30), "12:00", "Logout");
        };
        TALU_DB_OK(fuelle());
        DialogAufzeichnung dialoge;
        auto* f = formen::zeige<frmZugangsProtokoll>();
        QVERIFY(f);
        const QAbstractItemModel* m = f->DataGrid1->model();
        QCOMPARE(m->rowCount(), 5);
        QStringList titel;
        for (int i = 0; i < m->columnCount(); ++i) titel << m->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(titel, (QStringList{"ID", "Name", "Datum", "Zeit", "Vorgang"}));
        QCOMPARE(f->DataGrid1->columnWidth(0), twips(2000));
        QCOMPARE(f->DataGrid1->columnWidth(4), twips(2500));
        QCOMPARE(spalte(m, 1), (QStringList{"mueller", "mueller", "o'brien", "schmidt", "schmidt"}));
        QCOMPARE(spalte(m, 2)[1], datumText(heute));
        QCOMPARE(f->DataGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);

        f->cmdLogin->click();
        QCOMPARE(spalte(m, 4), (QStringList{"Login", "Login", "Login"}));
        QCOMPARE(spalte(m, 1), (QStringList{"mueller", "o'brien", "schmidt"}));
        f->cmdLogout->click();
        QCOMPARE(spalte(m, 3), (QStringList{"00:10", "12:00"}));
        // Today only: not yesterday's late login, not tomorrow's.
        f->cmdNurHeute->click();
        QCOMPARE(spalte(m, 1), (QStringList{"mueller", "o'brien"}));
        QCOMPARE(f->Label2->text(), QString("Zugangsprotokoll - Nur Daten von heute"));
        QCOMPARE(f->DataGrid1->columnWidth(4), twips(2500));
        f->cmdAlle->click();
        QCOMPARE(m->rowCount(), 5);
        QCOMPARE(spalte(m, 0).size(), 5);
        QVERIFY(spalte(m, 0)[0].toInt() < spalte(m, 0)[4].toInt());  // by id

        // A day without events: an empty grid under the heading.
        ZugangsProtokollModell modell(p.Verbindung);
        TALU_DB_OK(modell.zeige(zugangsprotokoll::Filter::Heute, heute.addDays(-2)));
        QCOMPARE(modell.rowCount(), 0);
        TALU_DB_OK(modell.zeige(zugangsprotokoll::Filter::Heute, heute.addDays(-30)));
        QCOMPARE(modell.rowCount(), 1);
        QVERIFY(dialoge.meldungen.isEmpty());

        f->cmdZurueck->click();
        QVERIFY(!formen::vorhanden<frmZugangsProtokoll>());
    }

    // A log whose dates carry a time of day (written by another program) still matches "Heute".
    void heuteMitUhrzeit() {
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, QString("sqlite"), false);
        const QDate heute = QDate::currentDate();
        TALU_DB_OK(p.Verbindung.ausfuehren(
            "insert into protokoll (name, datum, zeit, vorgang) values (?, ?, ?, ?)",
            {"fremd", heute.toString(Qt::ISODate) + " 14:30:00", "14:30", "Login"}));
        ZugangsProtokollModell modell(p.Verbindung);
        TALU_DB_OK(modell.zeige(zugangsprotokoll::Filter::Heute, heute));
        QCOMPARE(modell.rowCount(), 1);
        QCOMPARE(modell.index(0, 2).data().toString(), datumText(heute));
        TALU_DB_OK(modell.zeige(zugangsprotokoll::Filter::Heute, heute.addDays(1)));
        QCOMPARE(modell.rowCount(), 0);
    }

    // A table that cannot be read gives a message, not a crash, and keeps the heading.
    void fehlendeTabelle() {
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, QString("sqlite"), false);
        TALU_DB_OK(p.Verbindung.ausfuehren("drop table protokoll"));
        DialogAufzeichnung dialoge;
        auto* f = formen::zeige<frmZugangsProtokoll>();
        QVERIFY(f);
        QCOMPARE(dialoge.meldungen.size(), 1);
        QVERIFY(dialoge.meldungen[0].symbol == Dialoge::Symbol::Kritisch);
        f->cmdLogin->click();
        QCOMPARE(dialoge.meldungen.size(), 2);
        QCOMPARE(f->Label2->text(), QString("Zugangsprotokoll - Alle Daten"));
    }
};

QTEST_MAIN(TestZugangsProtokoll)
#include "tst_zugangsprotokoll.moc"
