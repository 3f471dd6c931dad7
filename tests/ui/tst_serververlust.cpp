// The server goes away in the middle of each writing action: the plot save,
// the place save, the copy to a street, the invoice run and a maintenance
// command, driven through the program's own forms and menu. The operator gets
// a German message, the program goes on, nothing is half-written, and once
// the server is back the same action works without a new login.
//
// "In the middle" is made exact by a trigger on the table the action writes:
// at its n-th row it either stops the whole server (pg_ctl stop -m immediate,
// as a crash) or ends its own session (pg_terminate_backend, as an operator
// killing it); the rows before it in the same action are then written but
// not committed.
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "AbrechnungHilfe.h"
#include "EigenerPgServer.h"
#include "LookupHilfe.h"
#include "billing/PdfAusgabe.h"
#include "billing/ui/DruckerAusgabe.h"
#include "kit/Formate.h"
#include "kit/ui/MenueAktionen.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {

const QString kSchluessel = QStringLiteral("07777001");
const QString kStrasse = QStringLiteral("Teststraße");

// Every row of the tables the actions write, as text, for all-or-nothing comparisons.
QStringList inhalt(const Datenbank& db) {
    QStringList l;
    for (const char* t : {"grundstuecke", "ortsnamen", "ortsdaten", "rechnungen", "abfrageprotokoll"}) {
        const Recordset rs = db.abfrage(QStringLiteral("select * from %1 order by id").arg(QLatin1String(t)));
        for (const QSqlRecord& z : rs.zeilen()) {
            QStringList werte;
            for (int i = 0; i < z.count(); ++i) werte << (z.isNull(i) ? QStringLiteral("<null>") : z.value(i).toString());
            l << QLatin1String(t) + QLatin1Char(':') + werte.join('|');
        }
    }
    return l;
}

qint64 plot(const Datenbank& db, const QString& nr, double wert) {
    return db.einfuegen("grundstuecke", {{"gemeindeschluessel", kSchluessel}, {"ortsteil", "Mitte"},
                                         {"strassen_name", kStrasse}, {"hausnummer", nr},
                                         {"hausnummer_numerisch", nr.toInt()}, {"flurstueck", "Flur " + nr},
                                         {"richtwert_minimal", wert}, {"richtwert_durchschnitt", wert + 1},
                                         {"richtwert_maximal", wert + 2}, {"bauliche_nutzung", "mi"},
                                         {"entwicklungszustand", "r"}, {"bauweise", "g"}, {"richtwerttyp", "l"},
                                         {"loeschen", "nein"}});
}

}  // namespace

class TestSerververlust : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // A case that failed before the server was started again leaves it stopped.
    void init() { QVERIFY(!m_pg || m_pg->laeuft() || m_pg->starte()); }
    void cleanup() { test::lookupAufraeumen(); }
    void schreibenOhneServer_data();
    void schreibenOhneServer();
    void neustartZwischenAktionen();

private:
    // The server is stopped (pg_ctl stop returned in the trigger) and started again.
    bool starteNeu();

    std::unique_ptr<test::EigenerPgServer> m_pg;
};

void TestSerververlust::initTestCase() {
    m_pg = std::make_unique<test::EigenerPgServer>();
    if (!m_pg->vorhanden()) QSKIP("Keine PostgreSQL-Programme gefunden");
    QVERIFY2(m_pg->legeAn(), qPrintable(m_pg->fehler()));
    QVERIFY2(m_pg->starte(), qPrintable(m_pg->fehler() + m_pg->protokoll()));
}

bool TestSerververlust::starteNeu() {
    // The stop runs beside the session it ends; the server is down once pg_ctl says so.
    for (int i = 0; i < 300 && m_pg->laeuft(); ++i) QThread::msleep(100);
    return m_pg->starte();
}

void TestSerververlust::schreibenOhneServer_data() {
    QTest::addColumn<QString>("aktion");
    QTest::addColumn<bool>("halt");  // the whole server stops; else only the session ends
    for (const char* a : {"grundstueck", "ort", "kopieren", "rechnungslauf", "pflege"}) {
        QTest::newRow(qPrintable(QString("%1 halt").arg(a))) << QString(a) << true;
        QTest::newRow(qPrintable(QString("%1 sitzung").arg(a))) << QString(a) << false;
    }
}

void TestSerververlust::schreibenOhneServer() {
    QFETCH(QString, aktion);
    QFETCH(bool, halt);
    if (aktion == "rechnungslauf" && druck::DruckerZiel::druckerVorhanden())
        QSKIP("Dieser Rechner hat einen Standarddrucker.");
    formen::schliesseAlleKinder();
    Publics& p = publics();
    p.Verbindung.schliessen();
    p.zuruecksetzen();
    QTemporaryDir programmDir;
    setzeProgrammVerzeichnis(programmDir.path());
    test::FrischeDatenbank fx(test::TestBackend{"eigen", Backend::PostgreSQL, "127.0.0.1", m_pg->port()}, true);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    QString fehler;
    QVERIFY2(p.Verbindung.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
    p.DbBenutzer = fx.benutzer;
    p.PcName = QStringLiteral("PC-TEST");
    p.PcBenutzer = QStringLiteral("tester");
    // The test's own view of the tables, on a connection of its own.
    auto verwaltung = [&] {
        auto db = std::make_unique<Datenbank>();
        QString f;
        if (!db->oeffnen(fx.ziel, fx.benutzer, fx.passwort, &f)) qWarning("%s", qPrintable(f));
        return db;
    };
    const Datenbank& db = p.Verbindung;
    DialogAufzeichnung dlg;

    // What each action writes, the trigger that interrupts it at its n-th
    // row, and how it is started and checked.
    QString tabelle, ereignis;
    int nterZeile = 1;
    std::function<void()> starte;
    std::function<void()> pruefeErfolg;
    QString meldungsAnfang;
    frmGrundstueckMaske* grundstueck = nullptr;
    frmStadtMaske* ort = nullptr;
    QList<qint64> ids;
    if (aktion == "grundstueck" || aktion == "kopieren") {
        TALU_DB_OK({
            db.einfuegen("ortsnamen", {{"ort", "Testort"}, {"plzneu", "77701"}, {"gemeindeschluessel", kSchluessel}, {"typ", 1}});
            for (int i = 1; i <= 6; ++i) ids << plot(db, QString::number(i), 100 + i);
        });
        p.Ausgabe = 1;
        p.Modus = "aendern";
        p.AktGemeindeschluessel = kSchluessel;
        p.RsSuche = db.abfrage("select * from grundstuecke where id = ?", {ids[2]});
        grundstueck = formen::zeige<frmGrundstueckMaske>();
        test::warteAufFenster(grundstueck);
        QCOMPARE(grundstueck->text_1[4]->text(), QString("3"));
        tabelle = "grundstuecke";
        ereignis = "update";
        if (aktion == "grundstueck") {
            starte = [&] {
                grundstueck->text_1[6]->setText(waehrung(333));
                grundstueck->cmdSpeichern->click();
            };
            pruefeErfolg = [&] {
                QCOMPARE(dlg.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
                QCOMPARE(db.wert("select richtwert_minimal from grundstuecke where id = ?", {ids[2]}).toDouble(), 333.0);
            };
            meldungsAnfang = "Der Datensatz wurde nicht gespeichert.";
        } else {
            nterZeile = 4;  // three plots of the street are copied onto when it happens
            starte = [&] {
                dlg.jaAntworten = {true};
                QTest::keyClick(grundstueck->text_1[9], Qt::Key_F2);
            };
            pruefeErfolg = [&] {
                QCOMPARE(dlg.texte(), QStringList{"Der Kopiervorgang ist abgeschlossen, es wurden 6 Grundstücke ausgefüllt!"});
                QCOMPARE(db.wert("select count(*) from grundstuecke where richtwert_minimal = 103").toInt(), 6);
            };
            meldungsAnfang = "\"Werte kopieren\" ist fehlgeschlagen";
        }
    } else if (aktion == "ort") {
        TALU_DB_OK({
            db.einfuegen("kreis", {{"kenn", "06533"}, {"kreis", "Limburg-Weilburg"}});
            db.einfuegen("regbez", {{"kenn", "065"}, {"regbez", "Gießen"}});
            db.einfuegen("bundeslaender", {{"kenn", "06"}, {"bundesland", "Hessen"}});
        });
        p.Ausgabe = 1;
        p.Editiermodus = true;
        p.Modus = "erfassen";
        ort = formen::zeige<frmStadtMaske>();
        QVERIFY(ort && ort->istNeuerOrt());
        ort->box(1, 0)->setText("35781");
        ort->box(1, 1)->setText("Weilburg");
        ort->box(1, 5)->setText("06533013");
        ort->box(1, 10)->setText("Gemeinde");
        ort->box(1, 7)->setText("12800");
        // The place row goes in first; the trigger stops the place data after it.
        tabelle = "ortsdaten";
        ereignis = "insert";
        starte = [&] { ort->cmdSpeichern->click(); };
        pruefeErfolg = [&] {
            QCOMPARE(dlg.texte(), QStringList{"Der Datensatz wurde gespeichert!"});
            QVERIFY(!ort->istNeuerOrt());
            QCOMPARE(db.wert("select count(*) from ortsnamen where gemeindeschluessel = '06533013'").toInt(), 1);
            QCOMPARE(db.wert("select count(*) from ortsdaten where gemeindeschluessel = '06533013'").toInt(), 1);
        };
        meldungsAnfang = "Der Datensatz wurde nicht gespeichert.";
    } else if (aktion == "rechnungslauf") {
        int rechnungen = 0;
        TALU_DB_OK({
            rechnungen = db.wert("select count(*) from rechnungen").toInt();
            db.ausfuehren("delete from abfrageprotokoll");
            test::kunde(db, "anton", "Anton GmbH");
            test::kunde(db, "berta", "Berta KG");
            for (const char* b : {"anton", "berta", "anton", "berta"}) test::zeile(db, QString::fromLatin1(b), 10.0);
        });
        // The first invoice's rows get their number: the invoice row is written, not committed.
        tabelle = "abfrageprotokoll";
        ereignis = "update";
        nterZeile = 2;
        starte = [&] {
            dlg.jaAntworten = {true};
            QVERIFY(menue::fuehreAus("mnuRechnungenDrucken", nullptr));
        };
        pruefeErfolg = [&, rechnungen] {
            QCOMPARE(dlg.texte(), QStringList{"Die Merker der offenen Rechnungen wurden zurück gesetzt!"});
            QCOMPARE(db.wert("select count(*) from rechnungen").toInt(), rechnungen + 2);
            QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 0);
        };
        meldungsAnfang = "Der Rechnungslauf wurde beim Kunden";
    } else {
        TALU_DB_OK(db.ausfuehren("update ortsnamen set wohn = null, misch = null, gewerbe = null"));
        tabelle = "ortsnamen";
        ereignis = "update";
        nterZeile = 3;
        starte = [&] { QVERIFY(menue::fuehreAus("mnuDurchschnittswerteOrte", nullptr)); };
        pruefeErfolg = [&] {
            QCOMPARE(dlg.texte(), QStringList{"Fertig!"});
            QVERIFY(db.wert("select count(*) from ortsnamen where wohn > 0").toInt() > 0);
        };
        meldungsAnfang = "Durchschnittswerte: Orte";
    }

    {
        auto v = verwaltung();
        // The shell reads what COPY writes before it lets the stop go on beside the session.
        const QString stopp = QStringLiteral("cat >/dev/null; %1 -D %2 -m immediate stop >/dev/null 2>&1 &")
                                  .arg(m_pg->programm("pg_ctl"), m_pg->daten());
        TALU_DB_OK(v->ausfuehren("create sequence talu_zeilen"));
        TALU_DB_OK(v->ausfuehren(QStringLiteral(
            "create function talu_stoerung() returns trigger language plpgsql as $$ begin "
            "if nextval('talu_zeilen') <> %1 then return new; end if; "
            "if tg_argv[0] = 'halt' then execute 'copy (select 1) to program ' || quote_literal(tg_argv[1]); "
            "else perform pg_terminate_backend(pg_backend_pid()); end if; "
            "perform pg_sleep(60); return new; end $$").arg(nterZeile)));
        // Test DDL: the command is a trigger argument, quoted as a literal.
        QString arg = stopp;
        arg.replace("'", "''");
        TALU_DB_OK(v->ausfuehren(QStringLiteral("create trigger talu_stoerung before %1 on %2 for each row execute "
                                                "function talu_stoerung('%3', '%4')")
                                     .arg(ereignis, tabelle, halt ? "halt" : "sitzung", arg)));
    }
    QStringList vorher;
    TALU_DB_OK(vorher = inhalt(*verwaltung()));
    QVERIFY(!vorher.isEmpty());

    dlg.leeren();
    starte();
    // A German message that names the action and the lost connection; the program goes on.
    QVERIFY2(!dlg.meldungen.isEmpty(), qPrintable(m_pg->protokoll().right(2000)));
    const QString text = dlg.meldungen.last().text;
    QVERIFY2(text.contains(meldungsAnfang) && text.contains("Verbindung zur Datenbank"), qPrintable(text));
    QCOMPARE(dlg.meldungen.last().symbol, Dialoge::Symbol::Kritisch);
    if (grundstueck) QVERIFY(grundstueck->isVisible());
    if (ort) QVERIFY(ort->isVisible() && ort->istNeuerOrt());

    if (halt) QVERIFY2(starteNeu(), qPrintable(m_pg->fehler() + m_pg->protokoll().right(2000)));
    // All or nothing: what the action wrote before the loss is gone with it.
    {
        auto v = verwaltung();
        QStringList nachher;
        TALU_DB_OK(nachher = inhalt(*v));
        QCOMPARE(nachher, vorher);
        TALU_DB_OK(v->ausfuehren("drop trigger talu_stoerung on " + tabelle));
    }

    // The same action again, on the same program and its connection: it works.
    dlg.leeren();
    starte();
    pruefeErfolg();
}

// The server restarted while the program waited: an action whose first
// statement is inside a transaction finds the old connection dead. It is
// reported once as a lost connection (not as a failed statement with the
// library's English text), and the action repeated opens a new connection.
void TestSerververlust::neustartZwischenAktionen() {
    test::FrischeDatenbank fx(test::TestBackend{"eigen", Backend::PostgreSQL, "127.0.0.1", m_pg->port()}, false);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    Datenbank db;
    QString fehler;
    QVERIFY2(db.oeffnen(fx.ziel, fx.benutzer, fx.passwort, &fehler), qPrintable(fehler));
    auto aktion = [&] {
        Transaktion t(db);
        db.einfuegen("gutachter", {{"name", "GA Nord"}, {"ort", "Kiel"}});
        db.einfuegen("gutachter", {{"name", "GA Süd"}, {"ort", "Ulm"}});
        t.bestaetige();
    };
    TALU_DB_OK(aktion());
    QVERIFY(m_pg->stoppe(QStringLiteral("fast")));
    QVERIFY(m_pg->starte());
    try {
        aktion();
        QFAIL("Die alte Verbindung ist tot; die Aktion kann nicht gelungen sein.");
    } catch (const DbFehler& e) {
        QCOMPARE(e.kurz(), QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"));
        QVERIFY2(e.serverText().startsWith("Was dieser Schritt bis dahin geschrieben hatte, hat der Server verworfen."),
                 qPrintable(e.serverText()));
    }
    QVERIFY(!db.inTransaktion());
    TALU_DB_OK(aktion());
    TALU_DB_OK(QCOMPARE(db.wert("select count(*) from gutachter where ort in ('Kiel', 'Ulm')").toInt(), 4));

    // The server gone for good in the middle of a transaction: the outer
    // level, which swallowed nothing, can never commit as if all were well.
    QVERIFY(m_pg->stoppe(QStringLiteral("immediate")));
    bool gemeldet = false;
    try {
        Transaktion aussen(db);
        try {
            Transaktion innen(db);
            db.einfuegen("gutachter", {{"name", "GA West"}, {"ort", "Köln"}});
            innen.bestaetige();
        } catch (const DbFehler&) {
            // a caller that carries on after a failed inner step
        }
        aussen.bestaetige();
    } catch (const DbFehler& e) {
        gemeldet = true;
        QVERIFY2(e.kurz().startsWith("Transaktion nicht abgeschlossen"), qPrintable(e.kurz()));
    }
    QVERIFY(gemeldet);
    QVERIFY(!db.inTransaktion());
    QVERIFY(m_pg->starte());
    TALU_DB_OK(QCOMPARE(db.wert("select count(*) from gutachter where ort = 'Köln'").toInt(), 0));

    // The session ends during the commit itself (a deferred trigger runs
    // there): whether it was stored cannot be known, and the message says so
    // rather than claiming either.
    TALU_DB_OK(db.ausfuehren("create function talu_beim_abschluss() returns trigger language plpgsql as $$ begin "
                             "perform pg_terminate_backend(pg_backend_pid()); perform pg_sleep(60); return null; end $$"));
    TALU_DB_OK(db.ausfuehren("create constraint trigger talu_beim_abschluss after insert on gutachter deferrable "
                             "initially deferred for each row execute function talu_beim_abschluss()"));
    try {
        aktion();
        QFAIL("Der Abschluss kann nicht gelungen sein.");
    } catch (const DbFehler& e) {
        QCOMPARE(e.kurz(), QStringLiteral("Die Verbindung zur Datenbank ist beim Abschluss abgerissen"));
        QVERIFY2(e.serverText().startsWith("Ob der Server den Schritt noch gespeichert hat, ist nicht sicher"),
                 qPrintable(e.serverText()));
    }
    QVERIFY(!db.inTransaktion());
    TALU_DB_OK(db.ausfuehren("drop trigger talu_beim_abschluss on gutachter"));
    TALU_DB_OK(aktion());
    TALU_DB_OK(QCOMPARE(db.wert("select count(*) from gutachter where ort in ('Kiel', 'Ulm')").toInt(), 6));
}

QTEST_MAIN(TestSerververlust)
#include "tst_serververlust.moc"
