// The maintenance commands on the whole plot table: the four average levels
// against one grouped avg pass per level in the engine itself, and the
// clean-ups in rows per second against the plain set-based statement. Every
// run is rolled back, so the benchmark database stays as it was.
#include <QElapsedTimer>
#include <cmath>

#include "BenchLauf.h"
#include "Mitschnitt.h"
#include "db/Datenbank.h"
#include "tools/Bereinigung.h"
#include "tools/Durchschnittswerte.h"

namespace talu::bench {

namespace {

constexpr int kLaeufe = 3;

// One run of a command inside a transaction that is rolled back afterwards.
double taluMs(Kontext& k, stapel::Auftrag& a) {
    const Datenbank& db = k.db();
    Transaktion t(db);
    stapel::AnzeigeFunktion still({});
    QElapsedTimer uhr;
    uhr.start();
    const stapel::Ergebnis e = stapel::fuehreAus(a, db, still);
    const double ms = double(uhr.nsecsElapsed()) / 1e6;
    if (e.status != stapel::Ergebnis::Status::Fertig) throw DbFehler(a.titel(), e.meldung + " " + e.serverText);
    return ms;
}

// The raw statements, in a transaction of the raw connection that is rolled back.
double rohMs(RohVerbindung& roh, const QStringList& sql) {
    Aufruf beginn{"begin", {}, -1}, zurueck{"rollback", {}, -1};
    roh.fuehreAus(beginn);
    QElapsedTimer uhr;
    uhr.start();
    for (const QString& s : sql) roh.fuehreAus(Aufruf{s.toUtf8(), {}, -1});
    const double ms = double(uhr.nsecsElapsed()) / 1e6;
    roh.fuehreAus(zurueck);
    return ms;
}

QString gruppenPass(const Dialekt& d, int stellen) {
    const QString schluessel =
        stellen >= 8 ? QStringLiteral("gemeindeschluessel") : d.teilText("gemeindeschluessel", 1, stellen);
    const QString klasse = pflege::nutzungsklasse(d);
    return QString("select %1, avg(case when %2 = 'w' then richtwert_tatsaechlich end), "
                   "avg(case when %2 = 'm' then richtwert_tatsaechlich end), "
                   "avg(case when %2 = 'g' then richtwert_tatsaechlich end) from grundstuecke group by %1")
        .arg(schluessel, klasse);
}

Ergebnis zeile(const QString& kennung, const QString& arbeit, const QString& ziel, const QList<double>& t,
               const QList<double>& r) {
    Ergebnis e;
    e.kennung = kennung;
    e.arbeit = arbeit;
    e.ziel = ziel;
    e.p50 = median(t);
    e.p95 = perzentil(t, 95);
    e.rohP50 = median(r);
    e.wiederholungen = int(t.size());
    return e;
}

QList<Ergebnis> durchschnitte(Kontext& k) {
    const Dialekt& d = k.db().dialekt();
    std::unique_ptr<RohVerbindung> roh = RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::Registriert);
    const int laeufe = k.knapp ? 1 : kLaeufe;
    QList<Ergebnis> alle;
    QList<double> summeTalu, summeRoh;
    for (int i = 0; i < laeufe; ++i) summeTalu << 0, summeRoh << 0;
    const QList<pflege::Ebene> ebenen{pflege::Ebene::Orte, pflege::Ebene::Kreise, pflege::Ebene::Regierungsbezirke,
                                      pflege::Ebene::Bundeslaender};
    for (int n = 0; n < ebenen.size(); ++n) {
        const pflege::EbenenAngaben& a = pflege::angaben(ebenen[n]);
        QList<double> t, r;
        for (int i = 0; i < laeufe; ++i) {
            pflege::DurchschnittAuftrag auftrag(ebenen[n]);
            t << taluMs(k, auftrag);
            summeTalu[i] += t.last();
            if (roh) {
                r << rohMs(*roh, {gruppenPass(d, a.stellen)});
                summeRoh[i] += r.last();
            }
        }
        Ergebnis e = zeile(QString("P4.%1").arg(n + 1), a.menue, QStringLiteral("–"), t, r);
        alle << e;
    }
    Ergebnis gesamt = zeile("P4", "Durchschnittswerte: alle vier Ebenen", QString::fromUtf8("≤ 2× roh"), summeTalu,
                            roh ? summeRoh : QList<double>{});
    if (!std::isnan(gesamt.rohP50))
        gesamt.stand = gesamt.verhaeltnis() <= 2.0 ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
    alle.prepend(gesamt);
    return alle;
}

QList<Ergebnis> bereinigung(Kontext& k) {
    const Dialekt& d = k.db().dialekt();
    std::unique_ptr<RohVerbindung> roh = RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::Registriert);
    const int laeufe = k.knapp ? 1 : kLaeufe;
    const double plots = k.db().wert("select count(*) from grundstuecke").toDouble();
    const double orte = k.db().wert("select count(*) from ortsdaten").toDouble();
    const QString nullZ = d.nullZuerst("ortsdaten_p_id");
    // The plain set-based statement of each command, every row written.
    const QString hausnummer =
        d.backend() == Backend::SQLite
            ? QStringLiteral("cast(replace(replace(replace(hausnummer, ' ', ''), char(9), ''), char(10), '') as real)")
            : d.hausnummerZahl("hausnummer");
    struct Fall {
        QString kennung;
        std::function<std::unique_ptr<stapel::Auftrag>()> auftrag;
        QStringList roh;
        double zeilen;
    };
    const QList<Fall> faelle{
        {"P4b1", [] { return std::make_unique<pflege::AusgefuelltAuftrag>(); },
         {"update grundstuecke set ausgefuellt = case when richtwert_minimal > 0 or richtwert_durchschnitt > 0 or "
          "richtwert_tatsaechlich > 0 or richtwert_maximal > 0 or replace(bemerkung, ' ', '') <> '' then 'j' else 'n' "
          "end"},
         plots},
        {"P4b2", [] { return std::make_unique<pflege::HausnummernAuftrag>(); },
         {"update grundstuecke set hausnummer_numerisch = " + hausnummer}, plots},
        {"P4b3", [] { return std::make_unique<pflege::DoppelteAuftrag>(); },
         {"update grundstuecke set loeschen = 'nein' where gemeindeschluessel like '03%'"}, plots},
        {"P4b4", [] { return std::make_unique<pflege::DupesAuftrag>(); },
         {"delete from ortsdaten where id in (select id from (select id, gemeindeschluessel, lag(gemeindeschluessel) "
          "over (order by " + nullZ + ", id) as vorher from ortsdaten) n where gemeindeschluessel is null or "
          "gemeindeschluessel = vorher)"},
         orte},
    };
    QList<Ergebnis> alle;
    for (const Fall& f : faelle) {
        QList<double> t, r;
        QString titel;
        for (int i = 0; i < laeufe; ++i) {
            std::unique_ptr<stapel::Auftrag> a = f.auftrag();
            titel = a->titel();
            t << f.zeilen / (taluMs(k, *a) / 1000.0);
            if (roh) r << f.zeilen / (rohMs(*roh, f.roh) / 1000.0);
        }
        Ergebnis e = zeile(f.kennung, titel + QString(" (%1 Zeilen)").arg(qint64(f.zeilen)),
                           d.backend() == Backend::SQLite ? QString::fromUtf8("≥ 500.000 Zeilen/s") : QString("–"), t, r);
        e.einheit = QStringLiteral("Zeilen/s");
        // Rows per second: the higher the better, so the median is what counts.
        e.p95 = perzentil(t, 5);
        if (d.backend() == Backend::SQLite && f.kennung != "P4b4")
            e.stand = e.p50 >= 500000 ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
        alle << e;
    }
    return alle;
}

QList<Messung> pflege() {
    Messung m;
    m.kennung = "P4";
    m.arbeit = "Durchschnittswerte";
    m.eigen = durchschnitte;
    Messung b;
    b.kennung = "P4b";
    b.arbeit = "Bereinigung";
    b.eigen = bereinigung;
    return {m, b};
}

}  // namespace

const bool registriert = registriereMessungen(50, pflege);

}  // namespace talu::bench
