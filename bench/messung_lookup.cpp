// Figures of the lookup road: street search, place search in its three
// stages, the place form's load and the plot display with its neighbour
// step, each with the query-log row it writes.
#include <QSqlRecord>
#include <memory>

#include "BenchLauf.h"
#include "BenchZufall.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/SucheDaten.h"
#include "place/OrtDaten.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"

namespace talu::bench {

namespace {

// Rows picked evenly at random by id: large towns are met as often as a user meets them.
QList<QSqlRecord> zufallsZeilen(const Datenbank& db, const QString& sql, qint64 hoechsteId, int anzahl,
                                std::uint64_t saat, const std::function<bool(const QSqlRecord&)>& passt = {}) {
    Zufall z(saat);
    QList<QSqlRecord> l;
    for (int versuch = 0; l.size() < anzahl && versuch < anzahl * 200; ++versuch) {
        const Recordset rs = db.abfrage(sql, {qint64(1 + z.bis(std::uint64_t(hoechsteId)))});
        if (rs.leer()) continue;
        if (passt && !passt(rs.zeilen().first())) continue;
        l << rs.zeilen().first();
    }
    if (l.isEmpty()) throw DbFehler("Keine Eingaben", "Die Datenbank hat keine passenden Zeilen.", sql);
    return l;
}

qint64 hoechsteId(const Datenbank& db, const QString& tabelle) {
    return db.wert("select max(id) from " + tabelle).toLongLong();
}

// The customer edition billing every display, under the benchmark's own user.
void alsKunde(Publics& p) {
    p.Ausgabe = 3;
    p.DbBenutzer = kBenchBenutzer;
    p.PcBenutzer = QStringLiteral("bench");
    p.PcName = QStringLiteral("talu-bench");
}

// --- P1: street search ---

QList<Messung> strassensuche() {
    struct Daten {
        QList<QPair<QString, QString>> eingaben;  // key, term
    };
    auto d = std::make_shared<Daten>();
    Messung m;
    m.kennung = "P1";
    m.arbeit = "Straßensuche (Anfang, ohne Groß/Klein, Umlaute)";
    m.ziel = "≤ 1,5× roh, p50 < 2 ms";
    m.zielP50Ms = 2;
    m.zielFaktor = 1.5;
    m.vorbereiten = [d](Kontext& k) {
        d->eingaben.clear();
        const QList<QSqlRecord> z = zufallsZeilen(k.db(), "select gemeindeschluessel, strassen_name from grundstuecke where id = ?",
                                                  hoechsteId(k.db(), "grundstuecke"), 32, 11);
        int i = 0;
        for (const QSqlRecord& r : z) {
            // The beginning of the street as typed: 3 to 6 characters, now lower, now upper case.
            const QString name = r.value(1).toString();
            QString term = name.left(3 + i % 4);
            term = i % 2 ? term.toUpper() : term.toLower();
            d->eingaben << qMakePair(r.value(0).toString(), term);
            ++i;
        }
    };
    m.talu = [d](Kontext& k, int i) {
        const auto& [schluessel, term] = d->eingaben[i % d->eingaben.size()];
        const Recordset rs = SucheDaten(k.db()).sucheStrasse(schluessel, term);
        if (rs.leer()) throw DbFehler("P1", "Die Straßensuche fand nichts für " + term);
    };
    return {m};
}

// --- P2: place search, each stage ---

QList<Messung> ortssuche() {
    struct Daten {
        QStringList name, plz, schluessel, anfang, teil;
    };
    auto d = std::make_shared<Daten>();
    auto vorbereiten = [d](Kontext& k) {
        *d = Daten();
        const Datenbank& db = k.db();
        const QList<QSqlRecord> z = zufallsZeilen(db, "select ort, plzneu, gemeindeschluessel from ortsnamen where id = ? and typ < 3",
                                                  hoechsteId(db, "ortsnamen"), 400, 22);
        auto anzahl = [&](const QString& bedingung, const QString& wert) {
            return db.wert("select count(*) from ortsnamen where " + bedingung + " and typ < 3", {wert}).toLongLong();
        };
        for (const QSqlRecord& r : z) {
            const QString ort = r.value(0).toString().toLower();
            if (d->name.size() < 32) d->name << ort;
            if (d->plz.size() < 32) d->plz << r.value(1).toString();
            if (d->schluessel.size() < 32) d->schluessel << r.value(2).toString();
            // Stage 2: a beginning that is no whole name; stage 3: a part that begins no name.
            if (d->anfang.size() < 32 && ort.size() >= 8) {
                const QString a = ort.left(5);
                if (anzahl("ort_suche = ?", a) == 0) d->anfang << a;
            }
            if (d->teil.size() < 32 && ort.size() >= 9) {
                const QString t = ort.mid(3, 5);
                if (!t.contains(' ') && anzahl("ort_suche = ?", t) == 0 && anzahl("ort_suche like ?", t + "%") == 0)
                    d->teil << t;
            }
        }
    };
    // Each stage can run alone (--nur); the terms are picked once.
    auto einmal = [d, vorbereiten](Kontext& k) {
        if (d->name.isEmpty()) vorbereiten(k);
    };
    auto stufe = [d, einmal](const QString& kennung, const QString& arbeit, QStringList Daten::*liste,
                             SucheDaten::Stufe erwartet) {
        Messung m;
        m.kennung = kennung;
        m.arbeit = arbeit;
        m.ziel = "≤ 1,5× roh, p50 < 5 ms";
        m.zielP50Ms = 5;
        m.zielFaktor = 1.5;
        m.vorbereiten = einmal;
        m.talu = [d, liste, erwartet, kennung](Kontext& k, int i) {
            const QStringList& l = (*d).*liste;
            if (l.isEmpty()) throw DbFehler(kennung, "Keine passenden Suchbegriffe in dieser Datenbank.");
            SucheDaten::Stufe s;
            SucheDaten(k.db()).sucheOrt(l[i % l.size()], &s);
            if (s != erwartet) throw DbFehler(kennung, "Die Suche nach " + l[i % l.size()] + " endete in einer anderen Stufe.");
        };
        return m;
    };
    return {stufe("P2a", "Ortssuche nach Name (Stufe 1)", &Daten::name, SucheDaten::Stufe::Genau),
            stufe("P2b", "Ortssuche nach PLZ (Stufe 1)", &Daten::plz, SucheDaten::Stufe::Genau),
            stufe("P2c", "Ortssuche nach Gemeindeschlüssel (Stufe 1)", &Daten::schluessel, SucheDaten::Stufe::Genau),
            stufe("P2d", "Ortssuche, Namensanfang (Stufe 2)", &Daten::anfang, SucheDaten::Stufe::Anfang),
            stufe("P2e", "Ortssuche, Namensteil (Stufe 3)", &Daten::teil, SucheDaten::Stufe::Teil)};
}

// --- P3: the place form's load with its query-log row ---

QList<Messung> ortsform() {
    auto schluessel = std::make_shared<QStringList>();
    Messung m;
    m.kennung = "P3";
    m.arbeit = "Ortsinformationen laden (alle Anweisungen, mit Protokollzeile)";
    m.ziel = "p50 < 20 ms";
    m.zielP50Ms = 20;
    m.vorbereiten = [schluessel](Kontext& k) {
        schluessel->clear();
        for (const QSqlRecord& r : zufallsZeilen(k.db(), "select gemeindeschluessel from ortsnamen where id = ? and typ < 3",
                                                 hoechsteId(k.db(), "ortsnamen"), 32, 33))
            *schluessel << r.value(0).toString();
    };
    m.talu = [schluessel](Kontext& k, int i) {
        Publics& p = k.p;
        alsKunde(p);
        p.AktGemeindeschluessel = (*schluessel)[i % schluessel->size()];
        p.OrtAbgerechnet = false;
        const OrtAnzeige a = OrtDaten(k.db()).lade(p.AktGemeindeschluessel);
        if (!a.ortGefunden) throw DbFehler("P3", "Kein Ort zu " + p.AktGemeindeschluessel);
        QString fehler;
        if (ProtokolliereOrt(k.db(), p, a.boxen(1, 0) + " " + a.boxen(1, 1), &fehler) != OrtAbrechnung::Geschrieben)
            throw DbFehler("P3", "Die Protokollzeile wurde nicht geschrieben: " + fehler);
    };
    // The same load without the query-log row: what the reading costs apart
    // from the durable commit of the row.
    Messung lesen = m;
    lesen.kennung = "P3-L";
    lesen.arbeit = "davon: nur lesen (ohne Protokollzeile)";
    lesen.ziel = "–";
    lesen.zielP50Ms = 0;
    lesen.talu = [schluessel](Kontext& k, int i) {
        const OrtAnzeige a = OrtDaten(k.db()).lade((*schluessel)[i % schluessel->size()]);
        if (!a.ortGefunden) throw DbFehler("P3-L", "Kein Ort gefunden.");
    };
    return {m, lesen};
}

// --- P3b: plot display (the chosen row, its place, the log row) and the neighbour step ---

QList<Messung> grundstuecksanzeige() {
    struct Daten {
        QList<qint64> ids;             // plots to show
        QList<Recordset> ausgangsZeilen;  // plots to step forward from
    };
    auto d = std::make_shared<Daten>();
    auto ortVon = [](Kontext& k, const Recordset& plot) {
        Publics& p = k.p;
        alsKunde(p);
        p.AktGemeindeschluessel = plot.text("gemeindeschluessel");
        p.AktOrtId = 0;
        p.AktOrtAnzeige = QStringLiteral("12345 Bench");
        p.PreisBodenrichtwert = 12.5;
        p.PreisGutachter = 5;
    };

    Messung anzeige;
    anzeige.kennung = "P3b";
    anzeige.arbeit = "Grundstück anzeigen (gewählte Zeile, Ort, Protokollzeile)";
    anzeige.ziel = "≤ 1,5× roh";
    anzeige.zielFaktor = 1.5;
    auto vorbereiten = [d](Kontext& k) {
        if (!d->ids.isEmpty()) return;  // both figures share the inputs
        const Datenbank& db = k.db();
        const qint64 max = hoechsteId(db, "grundstuecke");
        for (const QSqlRecord& r : zufallsZeilen(db, "select id from grundstuecke where id = ? and loeschen = 'nein'", max, 32, 44))
            d->ids << r.value(0).toLongLong();
        // Steps forward that land on a plot: a plain number whose successor exists.
        const GrundstueckDaten daten(db);
        const QList<QSqlRecord> z = zufallsZeilen(
            db, "select id, gemeindeschluessel, strassen_name, hausnummer from grundstuecke where id = ? and loeschen = 'nein'",
            max, 32, 45, [&](const QSqlRecord& r) {
                const QString nr = r.value(3).toString();
                bool zahl = false;
                nr.toInt(&zahl);
                return zahl && nr != "9999" &&
                       !daten.nachHausnummer(r.value(1).toString(), r.value(2).toString(), nachbarHausnummer(nr, 1)).leer();
            });
        for (const QSqlRecord& r : z) d->ausgangsZeilen << SucheDaten(db).grundstueckNachId(r.value(0).toLongLong());
    };
    anzeige.vorbereiten = vorbereiten;
    anzeige.talu = [d, ortVon](Kontext& k, int i) {
        Publics& p = k.p;
        p.RsSuche = SucheDaten(k.db()).grundstueckNachId(d->ids[i % d->ids.size()]);
        ortVon(k, p.RsSuche);
        GrundstueckMaskeLogik l;
        l.LadeGrundstueck(p);
        if (!l.angezeigt) throw DbFehler("P3b", "Das Grundstück wurde nicht angezeigt.");
    };

    Messung nachbar;
    nachbar.kennung = "P3b-N";
    nachbar.arbeit = "Nachbar-Hausnummer anzeigen (Schritt vor, Protokollzeile)";
    nachbar.ziel = "≤ 1,5× roh";
    nachbar.zielFaktor = 1.5;
    nachbar.vorbereiten = vorbereiten;
    nachbar.talu = [d, ortVon](Kontext& k, int i) {
        Publics& p = k.p;
        p.RsSuche = d->ausgangsZeilen[i % d->ausgangsZeilen.size()];
        ortVon(k, p.RsSuche);
        GrundstueckMaskeLogik l;
        l.SchrittVor = true;
        const auto meldungen = l.LadeGrundstueck(p);
        if (!l.angezeigt || !meldungen.isEmpty()) throw DbFehler("P3b-N", "Der Nachbar wurde nicht angezeigt.");
    };
    return {anzeige, nachbar};
}

const bool r1 = registriereMessungen(10, strassensuche);
const bool r2 = registriereMessungen(20, ortssuche);
const bool r3 = registriereMessungen(30, ortsform);
const bool r4 = registriereMessungen(35, grundstuecksanzeige);

}  // namespace

}  // namespace talu::bench
