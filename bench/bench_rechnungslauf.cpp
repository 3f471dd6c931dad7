// Billing on a full-size query log: generates open log rows (default
// 500,000) of invoice customers (default 1,000) in a temporary SQLite
// database (or a PostgreSQL database when TALU_BENCH_PG=host:port names a
// server), then measures
//   - the query-log viewer: opening and each filter, against the engine
//     reading the whole joined log (what filtering fetched rows would need);
//   - the invoice run without output and to PDF files, with the closing
//     update, against the engine doing the same reads and updates in bulk
//     (one join, two set-wise updates, one commit);
// TALU_BENCH_NUR_ANSICHT=1 measures the viewer only, TALU_BENCH_NUR_LAUF=1 the run only.
// printing wall time, processor time (all threads) and peak memory
// (resident set) of every step.
// Goals: viewer open < 0.5 s, each filter < 0.3 s; run < 30 s, < 200 MB.
// Usage: bench_rechnungslauf [rows] [customers]
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <atomic>
#include <malloc.h>
#include <sys/resource.h>

#include "billing/Bediener.h"
#include "billing/PdfAusgabe.h"
#include "billing/ProtokollAnsicht.h"
#include "billing/Rechnungslauf.h"
#include "db/Datenbank.h"
#include "db/Schema.h"

using namespace talu;
using namespace talu::abrechnung;

namespace {
QTextStream out(stdout);

// Peak resident memory since the last reset, in MB (Linux).
void setzeSpitzeZurueck() {
    malloc_trim(0);  // freed memory of the step before goes back first
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}
double spitzeMb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& z : f.readAll().split('\n'))
        if (z.startsWith("VmHWM:")) return z.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

class Stumm : public Bediener {
public:
    explicit Stumm(bool ja) : m_ja(ja) {}
    void melde(qint64, qint64, const QString&) override {}
    void info(const QString&) override {}
    void fehler(const QString& t, const QString& d) override { out << "FEHLER: " << t << " " << d << "\n"; }
    bool frage(const QString&) override { return m_ja; }
    QString eingabe(const QString&) override { return {}; }

private:
    bool m_ja;
};

// Builds every document and throws it away: the run without output.
class Verwerfen : public druck::Druckziel {
public:
    druck::DruckErgebnis gibAus(const druck::Druckdokument& d) override {
        zeilen += d.zeilenAnzahl();
        return {true, {}};
    }
    bool druckt() const override { return false; }
    qint64 zeilen = 0;
};

// Times the PDF writing of another target (summed over its worker threads).
class Gemessen : public druck::Druckziel {
public:
    explicit Gemessen(druck::Druckziel& z) : m_z(z) {}
    druck::DruckErgebnis gibAus(const druck::Druckdokument& d) override {
        QElapsedTimer t;
        t.start();
        auto e = m_z.gibAus(d);
        ns += t.nsecsElapsed();
        return e;
    }
    bool druckt() const override { return m_z.druckt(); }
    bool imVoraus() const override { return m_z.imVoraus(); }
    void zurueckziehen(const druck::DruckErgebnis& e) override { m_z.zurueckziehen(e); }
    // The run writes ahead through these two steps: forwarded, so that the
    // writing stays in the worker threads as with the target alone.
    druck::Vorlaeufig vorbereite(const druck::Druckdokument& d) override {
        QElapsedTimer t;
        t.start();
        auto v = m_z.vorbereite(d);
        ns += t.nsecsElapsed();
        return v;
    }
    druck::DruckErgebnis uebernimm(const druck::Vorlaeufig& v) override { return m_z.uebernimm(v); }
    void verwirf(const druck::Vorlaeufig& v) override { m_z.verwirf(v); }
    void raeumeAuf() override { m_z.raeumeAuf(); }
    std::atomic<qint64> ns{0};

private:
    druck::Druckziel& m_z;
};

const char* const kVorgang[] = {"Grundstücksdaten", "Ortsdaten", "Marktübersichten"};

QString kundenLogin(int k) { return QString("kunde%1").arg(k, 4, 10, QChar('0')); }

bool fuelle(const Datenbank& db, int zeilen, int kunden) {
    {
        Transaktion t(db);
        for (int k = 0; k < kunden; ++k)
            db.einfuegen("rechnungs_kunden", {{"benutzername", kundenLogin(k)},
                                              {"name", k % 100 == 7 ? QString("Müller %1 GmbH").arg(k)
                                                                    : QString("Kunde %1 GmbH").arg(k)},
                                              {"zusatz", k % 2 ? QVariant("z. Hd. Buchhaltung") : QVariant()},
                                              {"strasse", "Hauptstraße 1"},
                                              {"plz", "60311"},
                                              {"ort", "Frankfurt am Main"}});
        t.bestaetige();
    }
    // Many rows per statement: the fast road on every backend.
    constexpr int kJe = 100;
    QString sql = "insert into abfrageprotokoll (datum, uhrzeit, vorgang, pc_benutzer, db_benutzer, objekt, "
                  "gemeindeschluessel, computername, offen, preis, preis_gutachter, offen_gutachter) values ";
    for (int i = 0; i < kJe; ++i) sql += QString(i ? ", " : "") + "(?, ?, ?, ?, ?, ?, ?, ?, 'ja', ?, ?, 'ja')";
    QSqlQuery q(db.qt());
    if (!q.prepare(sql)) return out << q.lastError().text() << "\n", false;
    auto* zufall = QRandomGenerator::global();
    const QDate heute = QDate::currentDate();
    for (int n = 0; n < zeilen;) {
        Transaktion t(db);
        for (int s = 0; s < 100 && n < zeilen; ++s, n += kJe) {
            for (int i = 0; i < kJe; ++i) {
                const int art = int(zufall->bounded(3));
                q.addBindValue(heute.addDays(-int(zufall->bounded(365))));
                q.addBindValue(QString("%1:%2").arg(8 + zufall->bounded(10), 2, 10, QChar('0')).arg(zufall->bounded(60), 2, 10, QChar('0')));
                q.addBindValue(QString::fromUtf8(kVorgang[art]));
                q.addBindValue("PC");
                q.addBindValue(kundenLogin(int(zufall->bounded(kunden))));
                q.addBindValue(QString("%1 Ort %2 - Straße %3").arg(10000 + zufall->bounded(90000)).arg(n % 977).arg(i));
                q.addBindValue(QString("%1").arg(3000000 + zufall->bounded(12000000), 8, 10, QChar('0')));
                q.addBindValue("PC-BENCH");
                q.addBindValue(zufall->bounded(10) == 0 ? 0.0 : (art == 1 ? 2.5 : 12.5));
                q.addBindValue(art == 0 ? QVariant(5.0) : QVariant());
            }
            if (!q.exec()) return out << q.lastError().text() << "\n", false;
        }
        t.bestaetige();
    }
    return true;
}

// Processor time of the whole process (all threads), in seconds: on a
// machine shared with other work it says more than the wall clock.
double cpuSekunden() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}
double g_cpu = 0;  // of the last step

template <class F>
double sekunden(F f) {
    QElapsedTimer t;
    const double cpu = cpuSekunden();
    t.start();
    f();
    g_cpu = cpuSekunden() - cpu;
    return t.nsecsElapsed() / 1e9;
}

void zeile(const QString& was, double s, double mb, const QString& rest = {}) {
    out << QString("%1 %2 s  CPU %3 s  %4 MB  %5\n")
               .arg(was, -44)
               .arg(s, 8, 'f', 3)
               .arg(g_cpu, 7, 'f', 2)
               .arg(mb, 5, 'f', 0)
               .arg(rest);
    out.flush();
}

// The invoice run without output and to PDF files, then the engine's raw work.
void rechnungslauf(const Datenbank& db, const QTemporaryDir& dir) {
    out << "\nRechnungslauf\n";
    double laufPdf = 0;
    // Without output: reading, numbering, invoices and layout; answered No.
    {
        Verwerfen v;
        Stumm nein(false);
        Rechnungslauf lauf(db, v, nein);
        setzeSpitzeZurueck();
        LaufErgebnis e;
        const double s = sekunden([&] { e = lauf.fuehreAus(); });
        zeile("Lauf ohne Ausgabe (Dokumente gebaut)", s, spitzeMb(),
              QString("%1 Rechnungen, %2 Druckzeilen").arg(e.rechnungen.size()).arg(v.zeilen));
    }
    // To PDF files, answered Yes.
    {
        druck::PdfAblage pdf(dir.filePath("pdf"));
        Gemessen g(pdf);
        Stumm ja(true);
        Rechnungslauf lauf(db, g, ja);
        setzeSpitzeZurueck();
        LaufErgebnis e;
        const double s = sekunden([&] { e = lauf.fuehreAus(); });
        qint64 bytes = 0;
        for (const QFileInfo& f : QDir(pdf.ordner()).entryInfoList(QDir::Files)) bytes += f.size();
        zeile("Lauf in PDF-Dateien mit Abschluss", s, spitzeMb(),
              QString("%1 Rechnungen, %2 geschlossen, %3 MB PDF").arg(e.rechnungen.size()).arg(e.geschlossen).arg(bytes / 1e6, 0, 'f', 0));
        g_cpu = 0;
        zeile("  PDF schreiben (Summe über die Arbeitsfäden)", g.ns / 1e9, 0,
              QString("%1 Fäden").arg(QThread::idealThreadCount()));
        laufPdf = s;
    }
    // --- the engine's raw work of the same run, on the rows opened again ---
    db.ausfuehren("update abfrageprotokoll set offen = 'ja', rechnungsnummer = null");
    setzeSpitzeZurueck();
    const double roh = sekunden([&] {
        qint64 n = 0;
        db.durchlaufe("select a.*, k.* from abfrageprotokoll a join rechnungs_kunden k on k.benutzername = "
                      "a.db_benutzer where a.offen = 'ja' order by a.db_benutzer, a.id",
                      {}, [&](const QSqlRecord&) { return ++n, true; });
        Transaktion t(db);
        db.ausfuehren("update abfrageprotokoll set rechnungsnummer = 1 where offen = 'ja' and preis <> 0");
        db.ausfuehren("update abfrageprotokoll set offen = 'nein' where offen = 'ja'");
        t.bestaetige();
    });
    zeile("Datenbank roh: lesen, nummerieren, schliessen", roh, spitzeMb(),
          QString("Lauf in PDF zu roh: Verhältnis %1").arg(laufPdf / roh, 0, 'f', 1));
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("LC_ALL")) qputenv("LC_ALL", "de_DE.UTF-8");
    QGuiApplication app(argc, argv);
    const int zeilen = argc > 1 ? QString(argv[1]).toInt() : 500000;
    const int kunden = argc > 2 ? QString(argv[2]).toInt() : 1000;

    QTemporaryDir dir;
    Datenbank db;
    Verbindungsziel z;
    QString fehler;
    const QString pg = qEnvironmentVariable("TALU_BENCH_PG");
    const QString pgName = QString("talu_bench_%1").arg(QCoreApplication::applicationPid());
    if (pg.isEmpty()) {
        z.backend = Backend::SQLite;
        z.datenbank = dir.filePath("bench.talu");
        z.anlegen = true;
        if (!db.oeffnen(z, {}, {}, &fehler)) return out << fehler << "\n", 1;
    } else {
        Datenbank verwaltung;
        if (!verwaltung.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, "postgres", {}), "postgres", {}, &fehler))
            return out << fehler << "\n", 1;
        verwaltung.ausfuehren("create database " + pgName + " template template0 encoding 'UTF8' "
                              "lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'");
        if (!db.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, pgName, {}), "postgres", {}, &fehler))
            return out << fehler << "\n", 1;
    }
    out << "Backend: " << backendName(db.backend()) << ", offene Abfragen: " << zeilen << ", Kunden: " << kunden << "\n";
    try {
        const double erzeugt = sekunden([&] {
            legeSchemaAn(db);
            if (!fuelle(db, zeilen, kunden)) throw DbFehler("Erzeugen", "fehlgeschlagen");
            db.ausfuehren("analyze");
        });
        out << "Erzeugt in " << erzeugt << " s\n\n";

        // --- the query-log viewer ---------------------------------------
        if (!qEnvironmentVariableIsSet("TALU_BENCH_NUR_LAUF")) {
        out << "Abfrageprotokoll-Ansicht (je Schritt: Anweisung und erste Zeilen des Rasters)\n";
        double roh = 0;
        qint64 alleZeilen = 0;
        setzeSpitzeZurueck();
        roh = sekunden([&] {
            db.durchlaufe(ProtokollModell::sql(ProtokollModell::Filter::Alle, db.dialekt()), {},
                          [&](const QSqlRecord&) { return ++alleZeilen, true; });
        });
        zeile("Datenbank: ganze Ansicht lesen", roh, spitzeMb(), QString("%1 Zeilen").arg(alleZeilen));
        {
            ProtokollModell m(db);
            setzeSpitzeZurueck();
            double s = sekunden([&] { m.zeigeAlle(); });
            zeile("Öffnen (Alle)", s, spitzeMb(), QString("%1 Zeilen geholt, Verhältnis %2").arg(m.rowCount()).arg(s / roh, 0, 'f', 3));
            s = sekunden([&] { m.zeigeHeute(); });
            zeile("Filter Heute", s, spitzeMb(), QString("%1 Zeilen geholt").arg(m.rowCount()));
            s = sekunden([&] { m.zeigeNamensAnfang(QString::fromUtf8("mü")); });
            zeile("Filter Name \"mü\" (10 Kunden)", s, spitzeMb(), QString("%1 Zeilen geholt").arg(m.rowCount()));
            s = sekunden([&] { m.zeigeNamensAnfang("Kunde 5"); });
            zeile("Filter Name \"Kunde 5\" (rund 100 Kunden)", s, spitzeMb(), QString("%1 Zeilen geholt").arg(m.rowCount()));
            s = sekunden([&] { m.zeigeNamensAnfang("kunde"); });
            zeile("Filter Name \"kunde\" (fast alle Kunden)", s, spitzeMb(), QString("%1 Zeilen geholt").arg(m.rowCount()));
            s = sekunden([&] { m.zeigeNamensAnfang("Xaver"); });
            zeile("Filter Name ohne Treffer", s, spitzeMb(), QString("%1 Zeilen").arg(m.rowCount()));
            s = sekunden([&] { m.zeigeAlle(); });
            zeile("Filter Alle", s, spitzeMb(), QString("%1 Zeilen geholt").arg(m.rowCount()));
            // The grid at any position: a screen of 30 rows read where the
            // scroll bar puts it.
            const auto bildschirm = [&](int ab) {
                for (int r = ab; r < qMin(ab + 30, m.rowCount()); ++r)
                    for (int c = 0; c < m.columnCount(); ++c) m.data(m.index(r, c));
            };
            const int alle = m.rowCount();
            setzeSpitzeZurueck();
            s = sekunden([&] { bildschirm(qMax(0, alle - 30)); });
            zeile("Raster: Strg+Ende (letzter Bildschirm)", s, spitzeMb(), QString("%1 Zeilen gezählt").arg(alle));
            s = sekunden([&] { bildschirm(alle / 2); });
            zeile("Raster: Mitte", s, spitzeMb(), QString("Zeile %1").arg(alle / 2));
            double langsamste = 0, summe = 0;
            for (int i = 0; i < 20; ++i) {
                const double t = sekunden([&] { bildschirm(int(QRandomGenerator::global()->bounded(qMax(1, alle)))); });
                langsamste = qMax(langsamste, t);
                summe += t;
            }
            g_cpu = 0;
            zeile("Raster: 20 zufällige Stellen (langsamste)", langsamste, spitzeMb(),
                  QString("Mittel %1 s").arg(summe / 20, 0, 'f', 3));
            s = sekunden([&] {
                for (int r = alle - 1; r >= 0; r -= 30) m.data(m.index(r, 0));
            });
            zeile("Raster ganz durchblättern (rückwärts, jeder Bildschirm)", s, spitzeMb(),
                  QString("%1 Zeilen, gehalten %2, %3 Seiten gelesen").arg(alle).arg(m.gehalteneZeilen()).arg(m.seitenGelesen()));
        }

        }
        if (!qEnvironmentVariableIsSet("TALU_BENCH_NUR_ANSICHT")) rechnungslauf(db, dir);
    } catch (const DbFehler& e) {
        out << e.kurz() << ": " << e.serverText() << "\n" << e.sql() << "\n";
        return 1;
    }
    if (!pg.isEmpty()) {
        db.schliessen();
        Datenbank verwaltung;
        verwaltung.oeffnen(Verbindungsziel::ausEingabe("postgres:" + pg, "postgres", {}), "postgres", {}, &fehler);
        verwaltung.ausfuehren("drop database if exists " + pgName + " with (force)");
    }
    return 0;
}
