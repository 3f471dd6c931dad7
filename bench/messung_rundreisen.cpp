// P9: round trips per user action on PostgreSQL, counted from the protocol
// (libpq's trace of TALU's connection: every Sync and every simple Query is
// one wait for the server), and the times of the same actions. Measured
// through a relay that adds latency (../shared/tools/latenz-proxy.py LISTEN
// TARGET 5, talu-bench --server postgres:127.0.0.1:LISTEN), they show what a
// round trip costs; the raw side sends the same statements one by one through
// libpq (one round trip each).
#include <QSqlRecord>
#include <memory>

#include "BenchLauf.h"
#include "BenchZufall.h"
#include "Mitschnitt.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/AbfrageProtokoll.h"
#include "lookup/AuswahlListe.h"
#include "lookup/SucheDaten.h"
#include "market/MarktDaten.h"
#include "place/OrtDaten.h"
#include "plot/GrundstueckDaten.h"
#include "plot/GrundstueckMaskeLogik.h"

namespace talu::bench {

namespace {

QList<QSqlRecord> zufall(const Datenbank& db, const QString& tabelle, const QString& sql, int anzahl, std::uint64_t saat,
                         const std::function<bool(const QSqlRecord&)>& passt = {}) {
    const qint64 hoechste = db.wert("select max(id) from " + tabelle).toLongLong();
    Zufall z(saat);
    QList<QSqlRecord> l;
    for (int versuch = 0; l.size() < anzahl && versuch < anzahl * 300; ++versuch) {
        const Recordset rs = db.abfrage(sql, {qint64(1 + z.bis(std::uint64_t(hoechste)))});
        if (rs.leer() || (passt && !passt(rs.zeilen().first()))) continue;
        l << rs.zeilen().first();
    }
    if (l.isEmpty()) throw DbFehler("Keine Eingaben", "Die Datenbank hat keine passenden Zeilen.", sql);
    return l;
}

void kunde(Publics& p) {
    p.Ausgabe = 3;
    p.DbBenutzer = kBenchBenutzer;
    p.PcBenutzer = QStringLiteral("bench");
    p.PcName = QStringLiteral("talu-bench");
}

// Round trips of one action: the most over the inputs, each run warm (its
// statements prepared), counted from the protocol; the raw side's are its
// statements (one round trip each).
struct Zaehlung {
    int talu = -1, roh = -1;
};

Messung figur(const QString& kennung, const QString& arbeit, int grenze, int eingaben,
              std::function<void(Kontext&)> vorbereiten, std::function<void(Kontext&, int)> aktion) {
    auto z = std::make_shared<Zaehlung>();
    Messung m;
    m.kennung = kennung;
    m.arbeit = arbeit;
    m.ziel = QStringLiteral("≤ %1 Rundreise%2").arg(grenze).arg(grenze == 1 ? "" : "n");
    m.eingaben = eingaben;
    m.vorbereiten = [z, vorbereiten, aktion, eingaben](Kontext& k) {
        vorbereiten(k);
        *z = Zaehlung();
        if (k.db().backend() != Backend::PostgreSQL) return;
        for (int i = 0; i < qMin(eingaben, k.knapp ? 4 : eingaben); ++i) {
            aktion(k, i);
            std::unique_ptr<Mitschnitt> s = Mitschnitt::starte(k.db());
            if (!s) return;
            aktion(k, i);
            const int roh = int(s->ergebnis().size());
            z->talu = qMax(z->talu, s->rundreisen());
            z->roh = qMax(z->roh, roh);
        }
    };
    m.talu = aktion;
    m.nachher = [z, grenze](Kontext&, Ergebnis& e) {
        if (z->talu < 0) {
            e.anmerkung = QStringLiteral("Rundreisen nur auf PostgreSQL gezählt");
            return;
        }
        e.anmerkung = QStringLiteral("Rundreisen: TALU %1, roh %2").arg(z->talu).arg(z->roh);
        e.stand = z->talu <= grenze ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
    };
    return m;
}

QList<Messung> rundreisen() {
    struct Daten {
        QList<QPair<QString, QString>> strassen;  // key, term
        QStringList name, anfang, teil;
        QList<QSqlRecord> plots;                  // id, key, place id
        QList<Recordset> nachbarn;                // plots whose next house number exists
        QStringList orte;                         // keys of places
        QStringList markt;                        // keys of places with a market table
        QList<Recordset> marktOrte;               // their place rows, as the information groups left them
    };
    auto d = std::make_shared<Daten>();
    auto einmal = [d](Kontext& k) {
        if (!d->orte.isEmpty()) return;
        const Datenbank& db = k.db();
        int i = 0;
        for (const QSqlRecord& r : zufall(db, "grundstuecke", "select gemeindeschluessel, strassen_name from grundstuecke where id = ?", 16, 91)) {
            const QString term = r.value(1).toString().left(3 + i++ % 4).toLower();
            d->strassen << qMakePair(r.value(0).toString(), term);
        }
        auto anzahl = [&](const QString& bedingung, const QString& wert) {
            return db.wert("select count(*) from ortsnamen where " + bedingung + " and typ < 3", {wert}).toLongLong();
        };
        for (const QSqlRecord& r : zufall(db, "ortsnamen", "select ort, gemeindeschluessel from ortsnamen where id = ? and typ < 3", 200, 92)) {
            const QString ort = r.value(0).toString().toLower();
            if (d->name.size() < 16) d->name << ort;
            if (d->orte.size() < 16) d->orte << r.value(1).toString();
            if (d->anfang.size() < 16 && ort.size() >= 8 && anzahl("ort_suche = ?", ort.left(5)) == 0) d->anfang << ort.left(5);
            const QString t = ort.mid(3, 5);
            if (d->teil.size() < 16 && ort.size() >= 9 && !t.contains(' ') && anzahl("ort_suche = ?", t) == 0 &&
                anzahl("ort_suche like ?", t + "%") == 0)
                d->teil << t;
        }
        d->plots = zufall(db, "grundstuecke",
                          "select g.id, g.gemeindeschluessel, o.id from grundstuecke g join ortsnamen o on "
                          "o.gemeindeschluessel = g.gemeindeschluessel where g.id = ? and g.loeschen = 'nein'",
                          16, 93);
        const GrundstueckDaten daten(db);
        for (const QSqlRecord& r : zufall(db, "grundstuecke",
                                          "select id, gemeindeschluessel, strassen_name, hausnummer from grundstuecke "
                                          "where id = ? and loeschen = 'nein'",
                                          16, 94, [&](const QSqlRecord& r) {
                                              bool zahl = false;
                                              r.value(3).toString().toInt(&zahl);
                                              return zahl && !daten.nachHausnummer(r.value(1).toString(), r.value(2).toString(),
                                                                                   nachbarHausnummer(r.value(3).toString(), 1))
                                                                 .leer();
                                          }))
            d->nachbarn << SucheDaten(db).grundstueckNachId(r.value(0).toLongLong());
        const Recordset m = db.abfrage(
            "select distinct o.gemeindeschluessel from ortsnamen o join kaufpreise_fuer_freistehende_einfamilienhaeuser k "
            "on k.landsch = substring(o.gemeindeschluessel, 1, 2) and k.rbsch = substring(o.gemeindeschluessel, 3, 1) "
            "and k.kreissch = substring(o.gemeindeschluessel, 4, 2) and k.gemeindesch = substring(o.gemeindeschluessel, 6, 3) "
            "order by 1");
        for (const QSqlRecord& r : m.zeilen()) {
            if (d->markt.size() >= 16) break;
            d->markt << r.value(0).toString();
            d->marktOrte << db.abfrage("select * from ortsnamen where gemeindeschluessel = ?", {d->markt.last()});
        }
    };

    QList<Messung> l;
    l << figur("P9.1", "Straßensuche (Rundreisen)", 1, 16, einmal, [d](Kontext& k, int i) {
        const auto& [s, t] = d->strassen[i % d->strassen.size()];
        SucheDaten(k.db()).sucheStrasse(s, t);
    });
    auto stufe = [d, einmal](const QString& kennung, const QString& arbeit, int grenze, QStringList Daten::*liste) {
        return figur(kennung, arbeit, grenze, 16, einmal, [d, liste](Kontext& k, int i) {
            const QStringList& l = (*d).*liste;
            if (l.isEmpty()) throw DbFehler("P9", "Keine passenden Suchbegriffe in dieser Datenbank.");
            SucheDaten(k.db()).sucheOrt(l[i % l.size()]);
        });
    };
    // Each stage one round trip: the second stage runs after the first found nothing.
    l << stufe("P9.2a", "Ortssuche Stufe 1 (Name)", 1, &Daten::name);
    l << stufe("P9.2b", "Ortssuche bis Stufe 2 (Anfang)", 2, &Daten::anfang);
    l << stufe("P9.2c", "Ortssuche bis Stufe 3 (Teil)", 3, &Daten::teil);
    l << figur("P9.3", "Grundstück anzeigen (Auswahl, Ort, Protokollzeile)", 2, 16, einmal, [d](Kontext& k, int i) {
        Publics& p = k.p;
        kunde(p);
        const QSqlRecord& r = d->plots[i % d->plots.size()];
        p.AktGemeindeschluessel = r.value(1).toString();
        p.AktOrtId = r.value(2).toDouble();
        p.AktOrtAnzeige = QStringLiteral("12345 Bench");
        p.PreisBodenrichtwert = 12.5;
        p.PreisGutachter = 5;
        if (waehleAus(p, QStringLiteral("suche nach grundstück"), r.value(0).toLongLong()) != AuswahlFolge::Grundstueck)
            throw DbFehler("P9.3", "Das Grundstück wurde nicht gefunden.");
        GrundstueckMaskeLogik g;
        g.LadeGrundstueck(p);
        if (!g.angezeigt) throw DbFehler("P9.3", "Das Grundstück wurde nicht angezeigt.");
    });
    l << figur("P9.4", "Nachbar-Hausnummer (Schritt vor, Protokollzeile)", 2, 16, einmal, [d](Kontext& k, int i) {
        Publics& p = k.p;
        kunde(p);
        p.RsSuche = d->nachbarn[i % d->nachbarn.size()];
        p.AktGemeindeschluessel = p.RsSuche.text("gemeindeschluessel");
        p.AktOrtAnzeige = QStringLiteral("12345 Bench");
        GrundstueckMaskeLogik g;
        g.SchrittVor = true;
        if (!g.LadeGrundstueck(p).isEmpty() || !g.angezeigt) throw DbFehler("P9.4", "Der Nachbar wurde nicht angezeigt.");
    });
    l << figur("P9.5", "Ortsinformationen, alle Seiten, mit Protokollzeile", 3, 16, einmal, [d](Kontext& k, int i) {
        Publics& p = k.p;
        kunde(p);
        p.AktGemeindeschluessel = d->orte[i % d->orte.size()];
        p.OrtAbgerechnet = false;
        const OrtAnzeige a = OrtDaten(k.db()).lade(p.AktGemeindeschluessel);
        if (ProtokolliereOrt(k.db(), p, a.boxen(1, 0) + " " + a.boxen(1, 1)) != OrtAbrechnung::Geschrieben)
            throw DbFehler("P9.5", "Die Protokollzeile wurde nicht geschrieben.");
    });
    l << figur("P9.6", "Marktübersicht mit Protokollzeile", 3, 16, einmal, [d](Kontext& k, int i) {
        if (d->markt.isEmpty()) throw DbFehler("P9.6", "Keine Marktübersicht in dieser Datenbank.");
        const QString schluessel = d->markt[i % d->markt.size()];
        Publics& p = k.p;
        kunde(p);
        p.AktGemeindeschluessel = schluessel;
        p.RsSuche = d->marktOrte[i % d->markt.size()];
        p.RsSuche.moveFirst();
        p.AktOrtAnzeige = p.RsSuche.text("plzneu") + " " + p.RsSuche.text("ort");
        const QString tabelle = QStringLiteral("kaufpreise_fuer_freistehende_einfamilienhaeuser");
        const markt::Kategorie* kat = markt::kategorie(tabelle);
        markt::MarktUebersicht u;
        if (!u.lade(k.db(), schluessel, tabelle)) throw DbFehler("P9.6", "Keine Marktübersicht zu " + schluessel);
        u.bucheAbfrage(k.db(), k.p, kat->titel, markt::preisAusOrt(k.db(), k.p.RsSuche, kat->preisSpalte, schluessel));
    });
    return l;
}

const bool r9 = registriereMessungen(90, rundreisen);

}  // namespace

}  // namespace talu::bench
