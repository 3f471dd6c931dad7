// The batch-job runner: its transaction promise on cancel and failure, the
// chunked writer, paged reads beside writes, and progress reporting.
#include <QThread>
#include <QtTest>

#include "Fixture.h"
#include "TestHilfe.h"
#include "db/Schema.h"
#include "market/MarktDaten.h"
#include "market/DmUmrechnung.h"
#include "tools/stapel/Stapelauftrag.h"

using namespace talu;
using namespace talu::stapel;

namespace {

const QString kZahlenAnzahl = QStringLiteral("select count(*) from t_zahlen");

void legeZahlenAn(const Datenbank& db) {
    const Tabelle t{"t_zahlen", {{"id", Typ::Id, 0, {}, {}}, {"wert", Typ::Ganzzahl, 0, {}, {}}}, {}};
    for (const QString& a : ddl(t, db.dialekt())) db.ausfuehren(a);
}


// Writes n rows; cancels before row abbruchBei, or fails at row fehlerBei.
class ZahlenAuftrag : public Auftrag {
public:
    Schreiben art = Schreiben::AllesOderNichts;
    int n = 0, abbruchBei = -1, fehlerBei = -1, stueck = 100;
    QString titel() const override { return "Zahlen schreiben"; }
    Schreiben schreiben() const override { return art; }
    void fuehreAus(Kontext& k) override {
        if (art == Schreiben::Stueckweise) {
            Stapelschreiber s(k, "insert into t_zahlen (wert) values (?)", stueck);
            for (int i = 0; i < n; ++i) {
                if (i == abbruchBei) throw Abgebrochen();
                s.schreibe({i == fehlerBei ? QVariant("keine Zahl, zu lang für nichts") : QVariant(i)});
                if (i == fehlerBei) k.db().ausfuehren("insert into gibt_es_nicht values (1)");
                k.melde(i + 1, n, titel());
            }
            s.beende();
        } else {
            for (int i = 0; i < n; ++i) {
                k.pruefeAbbruch();
                if (i == fehlerBei) k.db().ausfuehren("insert into gibt_es_nicht values (1)");
                k.db().ausfuehren("insert into t_zahlen (wert) values (?)", {i});
                k.melde(i + 1, n, titel());
            }
        }
    }
};
}  // namespace

class TestStapelauftrag : public QObject {
    Q_OBJECT
private slots:
    void allesOderNichts_data() { test::backendZeilen(); }
    void allesOderNichts();
    void stueckweise_data() { test::backendZeilen(); }
    void stueckweise();
    void seitenweiseNebenSchreiben_data() { test::backendZeilen(); }
    void seitenweiseNebenSchreiben();
    void dmUmrechnungAbgebrochen_data() { test::backendZeilen(); }
    void dmUmrechnungAbgebrochen();
    void nebenbeiMitFragenUndZaehlern_data() { test::backendZeilen(); }
    void nebenbeiMitFragenUndZaehlern();
};

void TestStapelauftrag::allesOderNichts() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeZahlenAn(db));

    // Cancelled by the operator after 30 rows: nothing stays.
    int gefragt = 0;
    AnzeigeFunktion abbrechen({}, [&] { return ++gefragt > 30; });
    ZahlenAuftrag a;
    a.n = 100;
    Ergebnis e = fuehreAus(a, db, abbrechen);
    QCOMPARE(e.status, Ergebnis::Status::Abgebrochen);
    QVERIFY(e.meldung.contains("unverändert"));
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 0);
    QVERIFY(!db.inTransaktion());

    // A failure halfway: nothing stays, the server's text is handed on.
    AnzeigeFunktion still({});
    a.fehlerBei = 50;
    e = fuehreAus(a, db, still);
    QCOMPARE(e.status, Ergebnis::Status::Fehler);
    QVERIFY(!e.serverText.isEmpty());
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 0);

    // Done: every row, and the last report names the total.
    QList<qint64> erledigt;
    AnzeigeFunktion zaehlen([&](qint64 n, qint64 gesamt, const QString& text) {
        QCOMPARE(gesamt, qint64(100));
        QCOMPARE(text, QString("Zahlen schreiben"));
        erledigt << n;
    });
    a.fehlerBei = -1;
    e = fuehreAus(a, db, zaehlen);
    QCOMPARE(e.status, Ergebnis::Status::Fertig);
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 100);
    QVERIFY(!erledigt.isEmpty());
    QCOMPARE(erledigt.last(), qint64(100));
    // Reports are thinned out, not one per row.
    QVERIFY(erledigt.size() < 100);
}

void TestStapelauftrag::stueckweise() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeZahlenAn(db));
    AnzeigeFunktion still({});

    ZahlenAuftrag a;
    a.art = Schreiben::Stueckweise;
    a.n = 1000;
    a.abbruchBei = 250;
    Ergebnis e = fuehreAus(a, db, still);
    QCOMPARE(e.status, Ergebnis::Status::Abgebrochen);
    // The database stands at the last chunk boundary, and the result says which.
    QCOMPARE(e.gesichert, qint64(200));
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 200);
    QVERIFY(e.meldung.contains("200"));
    QVERIFY(!db.inTransaktion());

    TALU_DB_OK(db.ausfuehren("delete from t_zahlen"));
    a.abbruchBei = -1;
    a.fehlerBei = 333;
    e = fuehreAus(a, db, still);
    QCOMPARE(e.status, Ergebnis::Status::Fehler);
    QCOMPARE(e.gesichert, qint64(300));
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 300);

    TALU_DB_OK(db.ausfuehren("delete from t_zahlen"));
    a.fehlerBei = -1;
    a.n = 1001;
    e = fuehreAus(a, db, still);
    QCOMPARE(e.status, Ergebnis::Status::Fertig);
    QCOMPARE(e.gesichert, qint64(1001));
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 1001);
    QCOMPARE(db.wert("select sum(wert) from t_zahlen").toLongLong(), qint64(1000) * 1001 / 2);
}

void TestStapelauftrag::seitenweiseNebenSchreiben() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeZahlenAn(db));
    {
        Transaktion t(db);
        for (int i = 0; i < 250; ++i) db.ausfuehren("insert into t_zahlen (wert) values (?)", {i});
        t.bestaetige();
    }
    // Every row once, in id order, while the same connection changes them.
    QList<qint64> ids;
    try {
        Transaktion t(db);
        Anweisung verdopple = db.vorbereite("update t_zahlen set wert = wert * 2 where id = ?");
        seitenweise(db, "select id, wert from t_zahlen where wert >= ?", {0}, 64, [&](const QSqlRecord& r) {
            ids << r.value("id").toLongLong();
            verdopple.fuehreAus({r.value("id")});
        });
        t.bestaetige();
    } catch (const DbFehler& f) {
        QFAIL(qPrintable(f.kurz() + ": " + f.serverText()));
    }
    QCOMPARE(ids.size(), 250);
    QVERIFY(std::is_sorted(ids.begin(), ids.end()));
    QCOMPARE(db.wert("select sum(wert) from t_zahlen").toLongLong(), qint64(249) * 250);
    // A second connection with the same login sees the committed rows.
    QString fehler;
    auto zweite = db.zweiteVerbindung(&fehler);
    QVERIFY2(zweite, qPrintable(fehler));
    QCOMPARE(zweite->wert("select count(*) from t_zahlen").toInt(), 250);
}

void TestStapelauftrag::dmUmrechnungAbgebrochen() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, true);
    // The demo's house price table has a row with DM amounts only.
    const QString tabelle = "kaufpreise_fuer_freistehende_einfamilienhaeuser";
    QVERIFY(db.wert("select count(*) from " + tabelle + " where minimal is null and minimal_dm is not null").toInt() > 0);
    auto summe = [&] {
        return db.wert("select sum(coalesce(minimal, -1) + coalesce(durchschnitt, -1) + coalesce(maximal, -1)) from " +
                       tabelle)
            .toDouble();
    };
    const double summeVorher = summe();
    AnzeigeFunktion abbrechen({}, [] { return true; });
    markt::Umrechnung u;
    TALU_DB_OK(u = markt::rechneDmUm(db, tabelle, &abbrechen));
    QVERIFY(u.abgebrochen);
    QCOMPARE(u.geaendert, 0);
    QCOMPARE(summe(), summeVorher);
    TALU_DB_OK(u = markt::rechneDmUm(db, tabelle));
    QVERIFY(u.hatDmSpalten);
    QVERIFY(u.geaendert > 0);
    QVERIFY(summe() != summeVorher);
}

namespace {
// Asks the operator, then writes rows with two counters, on whatever thread it runs.
class FragenderAuftrag : public Auftrag {
public:
    QString titel() const override { return "Fragen und zählen"; }
    void fuehreAus(Kontext& k) override {
        thread = QThread::currentThread();
        if (!k.anzeige().frage("Wirklich?")) return;
        k.anzeige().info("Los geht's");
        const QString name = k.anzeige().eingabe("Name?");
        for (int i = 1; i <= 200; ++i) {
            k.pruefeAbbruch();
            if (langsam) QThread::msleep(2);
            k.db().ausfuehren("insert into t_zahlen (wert) values (?)", {i});
            k.zaehle({{"Gelesen:", i}, {"Treffer:", i / 2}}, name, i == 200);
        }
    }
    QThread* thread = nullptr;
    bool langsam = false;
};

// Records in the calling thread what the job showed and asked.
class Protokoll : public Anzeige {
public:
    void melde(qint64, qint64, const QString&) override {}
    void zaehle(const QList<Zaehler>& z, const QString& text) override {
        anderswo = anderswo || QThread::currentThread() != QCoreApplication::instance()->thread();
        zaehler = z;
        texte << text;
    }
    bool frage(const QString& text) override {
        anderswo = anderswo || QThread::currentThread() != QCoreApplication::instance()->thread();
        fragen << text;
        return true;
    }
    void info(const QString& text) override { infos << text; }
    QString eingabe(const QString& a) override {
        fragen << a;
        return "Anton";
    }
    bool abbruchGewuenscht() override { return abbrechen && !zaehler.isEmpty(); }
    QList<Zaehler> zaehler;
    QStringList texte, fragen, infos;
    bool abbrechen = false;
    bool anderswo = false;  // shown outside the calling thread
};
}  // namespace

void TestStapelauftrag::nebenbeiMitFragenUndZaehlern() {
    QFETCH(QString, backend);
    Datenbank db;
    TALU_FRISCHE_DB(fx, db, backend, false);
    TALU_DB_OK(legeZahlenAn(db));
    // The job runs on a worker thread with a connection of its own; the
    // questions and the counters reach the operator in the calling thread.
    FragenderAuftrag a;
    Protokoll p;
    const Ergebnis e = fuehreAusNebenbei(a, db, p);
    QCOMPARE(e.status, Ergebnis::Status::Fertig);
    QVERIFY(a.thread != QThread::currentThread());
    QVERIFY(!p.anderswo);
    QCOMPARE(p.fragen, (QStringList{"Wirklich?", "Name?"}));
    QCOMPARE(p.infos, QStringList{"Los geht's"});
    QCOMPARE(p.zaehler.size(), 2);
    QCOMPARE(p.zaehler[0].name, QString("Gelesen:"));
    QCOMPARE(p.zaehler[0].wert, qint64(200));
    QCOMPARE(p.zaehler[1].wert, qint64(100));
    QCOMPARE(p.texte.last(), QString("Anton"));
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 200);  // committed by the worker's connection, seen on this one

    // Cancelled from the calling thread after the first counters: nothing stays.
    Protokoll abbruch;
    abbruch.abbrechen = true;
    a.langsam = true;
    const Ergebnis c = fuehreAusNebenbei(a, db, abbruch);
    QCOMPARE(c.status, Ergebnis::Status::Abgebrochen);
    QCOMPARE(test::anzahl(db, kZahlenAnzahl), 200);
}

QTEST_GUILESS_MAIN(TestStapelauftrag)
#include "tst_stapelauftrag.moc"
