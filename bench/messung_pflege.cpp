// The maintenance commands on the whole plot table: the four average levels
// against one grouped avg pass per level in the engine itself, and the
// clean-ups in rows per second against the plain set-based statement. Every
// run is rolled back, so the benchmark database stays as it was.
#include <QElapsedTimer>
#include <cmath>

#include "BenchLauf.h"
#include "Mitschnitt.h"
#include "db/Datenbank.h"
#include "tools/Ausfuellen.h"
#include "tools/Bereinigung.h"
#include "tools/Durchschnittswerte.h"
#include "tools/Importe.h"

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

// A whole command in rows per second against its raw statements, each run rolled back.
Ergebnis zeilenJeSekunde(Kontext& k, RohVerbindung* roh, const QString& kennung,
                         const std::function<std::unique_ptr<stapel::Auftrag>()>& auftrag, const QStringList& rohSql,
                         double zeilen, const QString& ziel) {
    const int laeufe = k.knapp ? 1 : kLaeufe;
    QList<double> t, r;
    QString titel;
    for (int i = 0; i < laeufe; ++i) {
        std::unique_ptr<stapel::Auftrag> a = auftrag();
        titel = a->titel();
        t << zeilen / (taluMs(k, *a) / 1000.0);
        if (roh) r << zeilen / (rohMs(*roh, rohSql) / 1000.0);
    }
    Ergebnis e = zeile(kennung, titel + QString(" (%1 Zeilen)").arg(qint64(zeilen)), ziel, t, r);
    e.einheit = QStringLiteral("Zeilen/s");
    // Rows per second: the higher the better, so the median is what counts.
    e.p95 = perzentil(t, 5);
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
        Ergebnis e = zeilenJeSekunde(k, roh.get(), f.kennung, f.auftrag, f.roh, f.zeilen,
                                     d.backend() == Backend::SQLite ? QString::fromUtf8("≥ 500.000 Zeilen/s") : QString("–"));
        if (d.backend() == Backend::SQLite && f.kennung != "P4b4")
            e.stand = e.p50 >= 500000 ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
        alle << e;
    }
    return alle;
}

// The imports and fill tools at full size, with the Part's skip counts: source
// rows per second against one plain statement of the engine over the same
// rows (built-in functions only, no ranges, no first match by id).
QList<Ergebnis> importe(Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    std::unique_ptr<RohVerbindung> roh = RohVerbindung::oeffne(k.ziel, RohVerbindung::Klein::EingebautesLower);
    auto anzahl = [&](const QString& sql) { return db.wert(sql).toDouble(); };
    auto teil = [&](const QString& a, int n) { return d.teilText(a, 1, n); };
    const double plots = anzahl("select count(*) from grundstuecke");
    const double orte = anzahl("select count(*) from ortsnamen");
    const double gebaeude = anzahl(QString::fromUtf8("select count(*) from gebäude"));
    // The skip counts where the tables are longer (Germany-sized), else none: a
    // smaller database would have nothing left to import.
    const qint64 sprungNds = gebaeude > double(pflege::NiedersachsenImport::kUeberspringen)
                                 ? pflege::NiedersachsenImport::kUeberspringen
                                 : 0;
    const qint64 sprungZonen = plots > double(pflege::ZonenImport::kUeberspringen) ? pflege::ZonenImport::kUeberspringen : 0;
    const QString wqnQuelle = "from geb111 g join str111 s on g.ss = s.ss and g.gs = s.gs";
    struct Fall {
        QString kennung;
        std::function<std::unique_ptr<stapel::Auftrag>()> auftrag;
        QString roh;
        double zeilen;
        bool fuegtHinzu;
    };
    const QList<Fall> faelle{
        {"P5.1", [] { return std::make_unique<pflege::WqnImport>(); },
         "insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, y_koordinate, x_koordinate) select " +
             teil("g.gs", 8) + ", " + teil(QString::fromUtf8("s.straßenname"), 46) + ", " +
             teil("coalesce(g.hausnummer, '') || coalesce(trim(g.zusatz), '')", 5) + ", " + teil("g.hochwert", 20) +
             ", " + teil("g.rechtswert", 20) + " " + wqnQuelle,
         anzahl("select count(*) " + wqnQuelle), true},
        {"P5.2", [] { return std::make_unique<pflege::PogosImport>(); },
         "insert into grundstuecke (gemeindeschluessel, strassen_name, ortsteil, hausnummer, pogos, pogos_cstaotk) "
         "select " + teil("gemeindeschluessel", 8) + ", " + teil("strassenname", 46) +
             ", stadtteil, '1', 'ja', cstaotk from pogos where gemeindeschluessel not like '03%'",
         anzahl("select count(*) from pogos where gemeindeschluessel not like '03%'"), true},
        {"P5.3", [] { return std::make_unique<pflege::MosaicImport>(); },
         "insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, ortsteil, mosaic_nummer) select " +
             teil("m.haus_id", 8) + ", trim(m.haus_strasse), coalesce(m.haus_hausnr, '') || "
             "coalesce(trim(m.haus_hausnr_zusatz), ''), trim(m.haus_otl_name), trim(m.haus_id) from mosaic m where " +
             teil("m.haus_id", 8) + " in (select gemeindeschluessel from ortsnamen)",
         anzahl("select count(*) from mosaic"), true},
        {"P5.4", [=] { return std::make_unique<pflege::NiedersachsenImport>(sprungNds); },
         QString::fromUtf8("insert into grundstuecke (strassen_name, hausnummer, x_koordinate, y_koordinate, "
                           "gemeindeschluessel, strassenschluessel) select s.straßenname, g.hausnummer, g.hochwert, "
                           "g.rechtswert, g.gemeindeschlüssel, g.strassenschlüssel from gebäude g join strassen s on "
                           "s.strassenschlüssel = g.strassenschlüssel where g.id > ") +
             QString::number(sprungNds),
         gebaeude - double(sprungNds), true},
        {"P5.5", [] { return std::make_unique<pflege::AurichImport>(); },
         "update grundstuecke set richtwert_tatsaechlich = cast(a.haus_bodenwert as real), bemerkung = "
         "trim(a.haus_bemerkung) from aurich a where a.haus_id = grundstuecke.mosaic_nummer and "
         "grundstuecke.gemeindeschluessel = '03452001'",
         anzahl("select count(*) from grundstuecke where gemeindeschluessel = '03452001'"), false},
        {"P5.6", [=] { return std::make_unique<pflege::ZonenImport>(sprungZonen); },
         "update grundstuecke set richtwert_tatsaechlich = z.brw_tatsaechlich, bemerkung = z.bemerkung from "
         "import_11062002_1 i, import_11062002_2 z where trim(i.schlüssel) = grundstuecke.gemeindeschluessel and "
         "lower(trim(i.strasse)) = lower(trim(grundstuecke.strassen_name)) and z.gemeindesch = "
         "grundstuecke.gemeindeschluessel and z.zonen_nr = i.zonen_nr",
         plots - double(sprungZonen), false},
        {"P5.7", [] { return std::make_unique<pflege::GebaeudeAuftrag>(); },
         QString::fromUtf8("insert into grundstuecke (id_orte, strassen_name, hausnummer, x_koordinate, y_koordinate) "
                           "select o.id, s.straßenname, g.hausnummer, g.hochwert, g.rechtswert from gebäude g join "
                           "ortsnamen o on o.gemeindeschluessel = g.gemeindeschlüssel join strassen s on "
                           "s.strassenschlüssel = g.strassenschlüssel"),
         gebaeude, true},
        {"P5.8", [] { return std::make_unique<pflege::GutachterNachKreis>(); },
         "update ortsdaten set id_gutachter = (select min(g.id) from gutachter g, kreis k, ortsnamen o where "
         "o.id = ortsdaten.ortsdaten_p_id and k.gemeindeschluessel = " + teil("o.gemeindeschluessel", 5) +
             " and g.name like '%' || k.kreis || '%')",
         orte, false},
        {"P5.9", [] { return std::make_unique<pflege::GutachterNachBereich>(); },
         "update ortsdaten set id_gutachter = (select min(g.id) from gutachter g, ortsnamen o where o.id = "
         "ortsdaten.ortsdaten_p_id and g.bereich = o.gemeindeschluessel)",
         orte, false},
        {"P5.10", [] { return std::make_unique<pflege::StrassennamenAuftrag>(); },
         QString::fromUtf8("update grundstuecke set strassen_name = s.straßenname from strassen s where "
                           "s.strassenschlüssel = grundstuecke.strassenschluessel and s.gemeindeschlüssel = "
                           "grundstuecke.gemeindeschluessel"),
         plots, false},
        {"P5.11", [] { return std::make_unique<pflege::GemeindeschluesselAuftrag>(); },
         "update grundstuecke set gemeindeschluessel = d.gemeindeschluessel from ortsdaten d where "
         "d.ortsdaten_p_id = grundstuecke.id_orte",
         plots, false},
    };
    QList<Ergebnis> alle;
    for (const Fall& f : faelle) {
        // A small database may have no rows for a command (no plots of Aurich): no figure then.
        if (f.zeilen <= 0) continue;
        const bool ziel = f.fuegtHinzu && d.backend() == Backend::SQLite;
        Ergebnis e = zeilenJeSekunde(k, roh.get(), f.kennung, f.auftrag, {f.roh}, f.zeilen,
                                     ziel ? QString::fromUtf8("≥ 200.000 Zeilen/s, ≥ 0,5× roh") : QString("–"));
        if (ziel)
            e.stand = e.p50 >= 200000 && (std::isnan(e.rohP50) || e.p50 >= 0.5 * e.rohP50) ? Ergebnis::Stand::Erfuellt
                                                                                             : Ergebnis::Stand::Verfehlt;
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
    Messung i;
    i.kennung = "P5";
    i.arbeit = "Importe und Ausfüllen";
    i.eigen = importe;
    return {m, b, i};
}

}  // namespace

const bool registriert = registriereMessungen(50, pflege);

}  // namespace talu::bench
