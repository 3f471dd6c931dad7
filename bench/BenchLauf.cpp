#include "BenchLauf.h"

#include <sqlite3.h>
#include <sys/utsname.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSysInfo>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <thread>

#include "Mitschnitt.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"

namespace talu::bench {

const Datenbank& Kontext::db() const { return p.Verbindung; }

namespace {

QMap<int, std::function<QList<Messung>()>>& register_() {
    static QMap<int, std::function<QList<Messung>()>> r;
    return r;
}

QString zahl(double w, int stellen) {
    if (std::isnan(w)) return QStringLiteral("–");
    return QLocale(QLocale::German).toString(w, 'f', stellen);
}

// Milliseconds with sensible precision.
QString ms(double w) {
    if (std::isnan(w)) return QStringLiteral("–");
    if (w < 1) return zahl(w, 3) + " ms";
    if (w < 100) return zahl(w, 2) + " ms";
    return zahl(w, 0) + " ms";
}

QString wert(double w, const QString& einheit) { return einheit == "ms" ? ms(w) : std::isnan(w) ? "–" : zahl(w, 1) + " " + einheit; }

QString kurz(const QString& sql, int n = 160) {
    QString s = sql.simplified();
    return s.size() > n ? s.left(n - 1) + "…" : s;
}

}  // namespace

bool registriereMessungen(int reihenfolge, std::function<QList<Messung>()> erzeuger) {
    while (register_().contains(reihenfolge)) ++reihenfolge;
    register_().insert(reihenfolge, std::move(erzeuger));
    return true;
}

QList<Messung> alleMessungen() {
    QList<Messung> l;
    for (const auto& e : register_()) l += e();
    return l;
}

const QStringList& grosseTabellen() {
    static const QStringList t{"grundstuecke", "abfrageprotokoll", "geb111", "gebäude", "str111", "strassen",
                               "pogos", "mosaic", "aurich", "import_11062002_1", "import_11062002_2"};
    return t;
}

double perzentil(QList<double> werte, double p) {
    if (werte.isEmpty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(werte.begin(), werte.end());
    const qsizetype rang = qBound<qsizetype>(1, qsizetype(std::ceil(p / 100.0 * double(werte.size()))), werte.size());
    return werte[rang - 1];
}

double median(QList<double> werte) {
    if (werte.isEmpty()) return std::numeric_limits<double>::quiet_NaN();
    std::sort(werte.begin(), werte.end());
    const qsizetype n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

namespace {

// Ergebnis of one figure measured against the raw engine.
Ergebnis messeEine(Kontext& k, const Messung& m, QTextStream& log) {
    Ergebnis e;
    e.kennung = m.kennung;
    e.arbeit = m.arbeit;
    e.ziel = m.ziel;
    if (m.vorbereiten) m.vorbereiten(k);
    // A smoke run takes few inputs: it checks that everything runs, not how fast.
    const int eingaben = k.knapp ? qMin(4, m.eingaben) : m.eingaben;

    // What TALU sends, once per input, recorded on the second run: the first
    // fills the caches of the driver (Qt asks PostgreSQL's catalogue once for
    // the table of a result column), which the timed runs find filled too.
    QList<Aufrufe> aufrufe;
    bool mitschnitt = true;
    for (int i = 0; i < eingaben; ++i) {
        m.talu(k, i);
        std::unique_ptr<Mitschnitt> s = Mitschnitt::starte(k.db());
        if (!s) mitschnitt = false;
        m.talu(k, i);
        aufrufe << (s ? s->ergebnis() : Aufrufe());
    }
    bool mitKlein = false;
    for (const Aufrufe& a : aufrufe)
        for (const Aufruf& x : a) mitKlein = mitKlein || x.sql.contains("talu_klein(");

    QString fehler;
    std::unique_ptr<RohVerbindung> roh = mitschnitt ? RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::Registriert, &fehler) : nullptr;
    std::unique_ptr<RohVerbindung> einfach;
    if (roh && mitKlein && k.ziel.backend == Backend::SQLite)
        einfach = RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::EingebautesLower, &fehler);
    if (!mitschnitt) e.anmerkung = QStringLiteral("ohne Rohvergleich: Mitschnitt in diesem Build nicht möglich");
    else if (!roh) e.anmerkung = "ohne Rohvergleich: " + fehler;

    // Plans of the distinct reads.
    if (roh) {
        QStringList gesehen;
        for (const Aufrufe& a : aufrufe)
            for (const Aufruf& x : a) {
                if (!x.liest() || gesehen.contains(QString::fromUtf8(x.sql))) continue;
                gesehen << QString::fromUtf8(x.sql);
                Ergebnis::Plan p;
                p.sql = QString::fromUtf8(x.sql);
                try {
                    p.zeilen = roh->plan(x);
                } catch (const DbFehler& f) {
                    p.zeilen << "(kein Plan: " + f.serverText() + ")";
                }
                static const QRegularExpression limit("\\blimit\\b", QRegularExpression::CaseInsensitiveOption);
                p.ganzGelesen = ganzGelesen(p.zeilen, grosseTabellen(), limit.match(p.sql).hasMatch());
                e.plaene << p;
            }
    }

    const int runden = k.knapp ? 2 : (m.wiederholungen > 0 ? m.wiederholungen : k.wiederholungen);
    QList<double> taluMs, rohMs, einfachMs;
    auto rohLauf = [&](RohVerbindung& r, int i) {
        for (const Aufruf& x : aufrufe[i]) r.fuehreAus(x, x.liest() ? m.rohZeilen : -1);
    };
    // The raw side once over every input: it must read the rows TALU read.
    if (roh) {
        for (int i = 0; i < eingaben; ++i)
            for (const Aufruf& x : aufrufe[i]) {
                const int n = roh->fuehreAus(x, x.liest() ? m.rohZeilen : -1);
                if (x.liest() && m.rohZeilen < 0 && x.zeilen >= 0 && n != x.zeilen)
                    throw DbFehler("Rohseite weicht ab",
                                   QString("Die Rohseite las %1 Zeilen, TALU %2.").arg(n).arg(x.zeilen),
                                   QString::fromUtf8(x.sql));
            }
    }
    // Warm-up of both sides, then both side by side, alternating who goes first.
    for (int i = 0; i < qMin(3, eingaben); ++i) {
        m.talu(k, i);
        if (roh) rohLauf(*roh, i);
        if (einfach) rohLauf(*einfach, i);
    }
    QElapsedTimer uhr;
    for (int r = 0; r < runden; ++r) {
        const int i = r % eingaben;
        auto talu = [&] {
            uhr.start();
            m.talu(k, i);
            taluMs << uhr.nsecsElapsed() / 1e6;
        };
        auto rohSeite = [&] {
            if (roh) {
                uhr.start();
                rohLauf(*roh, i);
                rohMs << uhr.nsecsElapsed() / 1e6;
            }
            if (einfach) {
                uhr.start();
                rohLauf(*einfach, i);
                einfachMs << uhr.nsecsElapsed() / 1e6;
            }
        };
        if (r % 2) talu(), rohSeite();
        else rohSeite(), talu();
    }
    e.wiederholungen = runden;
    e.p50 = median(taluMs);
    e.p95 = perzentil(taluMs, 95);
    e.rohP50 = median(rohMs);
    e.rohP50Einfach = median(einfachMs);
    if (m.aufraeumen) m.aufraeumen(k);

    bool ok = true, bewertet = false;
    if (m.zielP50Ms > 0) {
        bewertet = true;
        ok = ok && e.p50 <= m.zielP50Ms;
    }
    bool offen = false;
    if (m.zielFaktor > 0) {
        bewertet = true;
        // Without the raw side the ratio is unknown: the target stays open, it is not met.
        if (std::isnan(e.rohP50)) offen = true;
        else ok = ok && e.verhaeltnis() <= m.zielFaktor;
    }
    e.stand = !bewertet || (offen && ok) ? Ergebnis::Stand::Offen
              : ok                      ? Ergebnis::Stand::Erfuellt
                                        : Ergebnis::Stand::Verfehlt;
    if (m.nachher) m.nachher(k, e);
    log << "  " << e.kennung << " " << e.arbeit << ": " << ms(e.p50) << " (roh " << ms(e.rohP50) << ")";
    if (!e.anmerkung.isEmpty()) log << " – " << e.anmerkung;
    log << "\n";
    log.flush();
    return e;
}

}  // namespace

QList<Ergebnis> messe(Kontext& k, QTextStream& log, const QStringList& nur) {
    QList<Ergebnis> alle;
    for (const Messung& m : alleMessungen()) {
        // A figure measured its own way gives several rows ("P8" gives P8a, P8b, P8c).
        const bool gewaehlt = nur.isEmpty() || nur.contains(m.kennung, Qt::CaseInsensitive) ||
                              (m.eigen && std::any_of(nur.begin(), nur.end(), [&](const QString& n) {
                                   return n.startsWith(m.kennung, Qt::CaseInsensitive);
                               }));
        if (!gewaehlt) continue;
        try {
            if (m.eigen) {
                const QList<Ergebnis> l = m.eigen(k);
                for (const Ergebnis& e : l) log << "  " << e.kennung << " " << e.arbeit << ": " << wert(e.p50, e.einheit) << "\n";
                alle += l;
            } else {
                alle << messeEine(k, m, log);
            }
        } catch (const DbFehler& f) {
            Ergebnis e;
            e.kennung = m.kennung;
            e.arbeit = m.arbeit;
            e.ziel = m.ziel;
            e.stand = Ergebnis::Stand::Verfehlt;
            e.anmerkung = "Fehler: " + f.kurz() + ": " + f.serverText();
            log << "  " << m.kennung << " FEHLER " << e.anmerkung << "\n";
            alle << e;
        }
        log.flush();
    }
    // Rows the figures wrote into the query log go again.
    try {
        k.db().ausfuehren("delete from abfrageprotokoll where db_benutzer = ?", {kBenchBenutzer});
    } catch (const DbFehler& f) {
        log << "Protokollzeilen der Messung nicht entfernt: " << f.serverText() << "\n";
    }
    return alle;
}

namespace {
QString tabellenKopf() {
    return QStringLiteral("| Messung | Arbeit | TALU p50 | TALU p95 | Roh p50 | TALU/Roh | Ziel | Ergebnis |\n"
                          "|---|---|---:|---:|---:|---:|---|---|\n");
}

QString tabellenZeile(const Ergebnis& e) {
    QString roh = wert(e.rohP50, e.einheit);
    QString faktor = std::isnan(e.rohP50) ? QStringLiteral("–") : zahl(e.verhaeltnis(), 2) + "×";
    if (!std::isnan(e.rohP50Einfach)) {
        roh += " (lower(): " + wert(e.rohP50Einfach, e.einheit) + ")";
        faktor += " (" + zahl(e.verhaeltnisEinfach(), 2) + "×)";
    }
    QString stand = e.stand == Ergebnis::Stand::Erfuellt ? "erfüllt" : e.stand == Ergebnis::Stand::Verfehlt ? "**verfehlt**" : "–";
    if (!e.anmerkung.isEmpty()) stand += " (" + e.anmerkung + ")";
    QStringList ganz;
    for (const Ergebnis::Plan& p : e.plaene) ganz += p.ganzGelesen;
    ganz.removeDuplicates();
    if (!ganz.isEmpty()) stand += "; liest ganz: " + ganz.join(", ");
    return QString("| %1 | %2 | %3 | %4 | %5 | %6 | %7 | %8 |")
        .arg(e.kennung, e.arbeit, wert(e.p50, e.einheit), wert(e.p95, e.einheit), roh, faktor, e.ziel, stand);
}
}  // namespace

QString tabelle(const QList<Ergebnis>& l) {
    QString t = tabellenKopf();
    for (const Ergebnis& e : l) t += tabellenZeile(e) + "\n";
    return t;
}

QString planText(const QList<Ergebnis>& l) {
    QString t;
    for (const Ergebnis& e : l) {
        if (e.plaene.isEmpty()) continue;
        t += e.kennung + " " + e.arbeit + "\n";
        for (const Ergebnis::Plan& p : e.plaene) {
            t += "  " + kurz(p.sql) + "\n";
            for (const QString& z : p.zeilen) t += "      " + z + "\n";
            for (const QString& g : p.ganzGelesen) t += "      !!! liest die große Tabelle " + g + " ganz\n";
        }
    }
    return t;
}

QString rechnerText(const Kontext& k) {
    QString cpu;
    QFile c("/proc/cpuinfo");
    if (c.open(QIODevice::ReadOnly))
        for (const QByteArray& z : c.readAll().split('\n'))
            if (z.startsWith("model name")) {
                cpu = QString::fromUtf8(z.mid(z.indexOf(':') + 1)).trimmed();
                break;
            }
    QString speicher;
    QFile m("/proc/meminfo");
    if (m.open(QIODevice::ReadOnly)) {
        const QByteArray z = m.readLine();
        speicher = zahl(z.simplified().split(' ').value(1).toDouble() / 1024 / 1024, 1) + " GB";
    }
    QString last;
    QFile a("/proc/loadavg");
    if (a.open(QIODevice::ReadOnly)) last = QString::fromLatin1(a.readAll()).section(' ', 0, 2);
    QString engine;
    if (auto r = RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::EingebautesLower)) engine = r->version();
    else engine = k.ziel.backend == Backend::SQLite ? "SQLite " + QString::fromLatin1(sqlite3_libversion()) : "PostgreSQL";
    return QString("%1, %2 Kerne (%3 für alle nutzbar), %4 RAM, Last beim Start %5; %6 %7; %8; Qt %9")
        .arg(cpu.isEmpty() ? QStringLiteral("unbekannte CPU") : cpu)
        .arg(std::thread::hardware_concurrency())
        .arg(QThread::idealThreadCount())
        .arg(speicher, last, QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), engine, QString::fromLatin1(qVersion()));
}

QString fuegeInReadmeEin(const QString& readme, const QString& abschnitt, const QString& kopf, const QList<Ergebnis>& e,
                         const QString& fuss) {
    const QString anfang = "<!-- talu-bench " + abschnitt + ": anfang -->";
    const QString ende = "<!-- talu-bench " + abschnitt + ": ende -->";
    // The old rows, by figure id, in their order.
    QList<QPair<QString, QString>> zeilen;
    const qsizetype a = readme.indexOf(anfang);
    const qsizetype b = a >= 0 ? readme.indexOf(ende, a) : -1;
    if (a >= 0 && b > a) {
        static const QRegularExpression zeile("^\\|\\s*([^|]+?)\\s*\\|");
        for (const QString& z : readme.mid(a, b - a).split('\n')) {
            const auto mt = zeile.match(z);
            if (!mt.hasMatch()) continue;
            const QString kennung = mt.captured(1);
            if (kennung == "Messung" || kennung.startsWith("---")) continue;
            zeilen << qMakePair(kennung, z);
        }
    }
    // A measured row replaces its old one in place; a new one goes after the
    // row measured before it. Rows of other figures (added by hand or by other
    // commands) stay where they are.
    auto stelle = [&](const QString& kennung) {
        for (qsizetype i = 0; i < zeilen.size(); ++i)
            if (zeilen[i].first == kennung) return i;
        return qsizetype(-1);
    };
    for (qsizetype i = 0; i < e.size(); ++i) {
        const QString text = tabellenZeile(e[i]);
        const qsizetype alt = stelle(e[i].kennung);
        if (alt >= 0) {
            zeilen[alt].second = text;
            continue;
        }
        const qsizetype vorher = i > 0 ? stelle(e[i - 1].kennung) : -1;
        zeilen.insert(vorher >= 0 ? vorher + 1 : (i == 0 ? 0 : zeilen.size()), qMakePair(e[i].kennung, text));
    }
    QString tab = tabellenKopf();
    for (const auto& z : zeilen) tab += z.second + "\n";
    const QString block = anfang + "\n" + kopf + "\n\n" + tab + (fuss.isEmpty() ? QString() : "\n" + fuss + "\n") + ende;
    if (a >= 0 && b > a) {
        QString neu = readme;
        neu.replace(a, b + ende.size() - a, block);
        return neu;
    }
    QString neu = readme;
    if (!neu.isEmpty() && !neu.endsWith('\n')) neu += '\n';
    return neu + "\n" + block + "\n";
}

bool schreibeReadme(const QString& pfad, const QString& abschnitt, const QString& kopf, const QList<Ergebnis>& e,
                    const QString& fuss, QString* fehler) {
    QString alt;
    QFile f(pfad);
    if (f.open(QIODevice::ReadOnly)) alt = QString::fromUtf8(f.readAll());
    f.close();
    if (alt.isEmpty())
        alt = QStringLiteral(
            "# Leistungsmessungen\n\n"
            "`talu-bench` erzeugt eine Datenbank in der Größe Deutschlands und misst jede Zahl gegen die "
            "Datenbank selbst (siehe README.md im Hauptverzeichnis, Abschnitt „Leistungsmessung“). "
            "Die Tabellen unten schreibt der Befehl bei jedem Lauf neu; Zeilen anderer Messungen in einer "
            "Tabelle bleiben stehen.\n");
    QSaveFile s(pfad);
    if (!s.open(QIODevice::WriteOnly) || s.write(fuegeInReadmeEin(alt, abschnitt, kopf, e, fuss).toUtf8()) < 0 || !s.commit()) {
        if (fehler) *fehler = s.errorString();
        return false;
    }
    return true;
}

}  // namespace talu::bench
