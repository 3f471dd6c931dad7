#include "place/OrtDaten.h"

#include <QRegularExpression>

#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/AbfrageProtokoll.h"
#include "db/Recordset.h"
#include "kit/Vokabular.h"
#include "kit/Bindung.h"
#include "place/OrtFormate.h"

namespace talu {

using namespace ort;

namespace {

const int kAnzahl[14] = {0, 18, 16, 16, 16, 8, 9, 8, 8, 7, 9, 4, 15, 12};

QVariant nullZahl() { return QVariant(QMetaType::fromType<double>()); }
QVariant nullGanz() { return QVariant(QMetaType::fromType<qlonglong>()); }

// A column of the current row, Null when the row or the column is missing.
QVariant spalte(const Recordset& rs, const QString& name) {
    if (rs.eof() || !rs.hatSpalte(name)) return {};
    return rs.feld(name);
}
QString t(const Recordset& rs, const QString& name) { return trimText(spalte(rs, name)); }

// "Stadt - 12 km"; the separator and unit stay when a part is missing.
QString entfernung(const Recordset& rs, const QString& name, const QString& km) {
    return t(rs, name) + " - " + t(rs, km) + " km";
}

// Columns the place's ortsnamen row speaks for even when ortsdaten has them too.
const QStringList kAusOrtsnamen{"id", "plzneu", "ort", "gemeindeschluessel", "typ", "wohn", "misch", "gewerbe"};

struct Buero {
    QString kuerzel, tabelle, nummer;
    QStringList spalten;
};

const QList<Buero>& bueros() {
    static const QList<Buero> l{
        {"ba", "bauamt", "nr_des_bauamtes", {"plz_und_ort", "strasse_und_hausnr", "telefon", "telefax", "bemerkung"}},
        {"ihk", "ihk", "nr_der_ihk", {"plz_und_ort", "strasse_und_hausnr", "telefon", "telefax"}},
        {"ka", "katasteramt", "nr_des_katasteramtes",
         {"plz_und_ort", "strasse_und_hausnr", "telefon", "telefax", "bemerkung"}},
        {"lra", "landratsamt", "nr_des_landratamtes",
         {"landratsamt", "plz_und_ort", "strasse_und_hausnr", "telefon", "telefax", "mail"}},
        {"lsa", "liegenschaftsamt", "nr_des_liegenschaftsamtes",
         {"plz_und_ort", "strasse_und_hausnr", "telefon", "telefax", "bemerkung"}},
    };
    return l;
}

// The boxes of the place form that show and store one column of ortsdaten
// each: page "Ortsdaten" and the three zone pages.
const Bindungen& ortsdatenBindungen() {
    static const Bindungen tabelle = [] {
        using V = std::optional<QVariant>;
        auto text = [](int laenge) {
            return [laenge](const QString& t) -> V { return QVariant(t.left(laenge)); };
        };
        auto getrimmt = [](int laenge) {
            return [laenge](const QString& t) -> V { return QVariant(t.trimmed().left(laenge)); };
        };
        auto roh = [](const QVariant& v) { return v.isNull() ? QString() : v.toString(); };
        auto geld = [](const QString& t) -> V { return QVariant(betrag(t)); };
        auto datum = [](const QString& t) -> V { return datumOderNull(t); };
        auto codeMax = [](int laenge) {
            return [laenge](const QString& t) -> V { return QVariant(code(t).left(laenge)); };
        };
        Bindungen b{
            {{1, 7}, "einwohnerzahl", [](const QVariant& v) { return muster(v); },
             [](const QString& t) -> V { return zahlOderLeer(t); }},
            {{1, 11}, "flaeche",
             [](const QVariant& v) {
                 const QString fl = muster(v);
                 return fl.isEmpty() ? QString() : fl + " km²";
             },
             // A box that does not end in "km²" leaves the stored area alone.
             [](const QString& t) -> V {
                 bool hat = false;
                 const QVariant fl = flaecheAusText(t, &hat);
                 return hat ? V(fl) : std::nullopt;
             }},
            {{1, 12}, "bemerkung", roh, text(100)},
            {{1, 13}, "gruenland", [](const QVariant& v) { return waehrungWennNichtNull(v); }, geld},
            {{1, 14}, "ackerland", [](const QVariant& v) { return waehrungWennNichtNull(v); }, geld},
            {{1, 15}, "forstland", [](const QVariant& v) { return waehrungWennNichtNull(v); }, geld},
            {{1, 17}, "est", [](const QVariant& v) { return datumsText(v); }, datum},
        };
        const QStringList worte{"wohn", "misch", "gewerbe"};
        for (int z = 1; z <= 3; ++z) {
            const QString s = QString::number(z);
            const QString wort = worte[z - 1];
            const int f = z + 1;
            auto codeAnzeige = [](const QVariant& v) { return codeText(v); };
            auto geldAnzeige = [](const QVariant& v) { return waehrungWennNichtNull(v); };
            b.add({{f, 0}, "bauliche_nutzung_" + s, codeAnzeige, codeMax(-1)});
            b.add({{f, 1}, "entwicklungszustand_" + s, codeAnzeige, codeMax(1)});
            b.add({{f, 2}, "bauweise_" + s, codeAnzeige, codeMax(-1)});
            b.add({{f, 3}, "geschossflaechenzahl_" + s, roh, getrimmt(20)});
            b.add({{f, 4}, "anzahl_der_geschosse_" + s, roh, getrimmt(20)});
            b.add({{f, 5}, "grundstueckstiefe_" + s, [](const QVariant& v) { return mitEinheit(v, " m"); },
                   [](const QString& t) -> V { return QVariant(ohneEinheit(t, "m").left(20)); }});
            b.add({{f, 6}, "grundstuecksflaeche_" + s, [](const QVariant& v) { return mitEinheit(v, " m²"); },
                   [](const QString& t) -> V { return QVariant(ohneEinheit(t, "m²").left(20)); }});
            b.add({{f, 7}, "beitragspflichtig_" + s, codeAnzeige,
                   [](const QString& t) -> V { return QVariant(t.trimmed().left(1).toLower()); }});
            b.add({{f, 8}, "brw_minimal_" + s, geldAnzeige, geld});
            b.add({{f, 9}, "brw_durchschnitt_" + s, geldAnzeige, geld});
            b.add({{f, 10}, "brw_maximal_" + s, geldAnzeige, geld});
            b.add({{f, 11}, "brw_tatsaechlich_" + s, geldAnzeige, geld});
            b.add({{f, 12}, "bemerkung_" + s, roh, text(100)});
            b.add({{f, 13}, "est" + wort, [](const QVariant& v) { return datumsText(v); }, datum});
            b.add({{f, 14}, "richtwerttyp" + wort, codeAnzeige, codeMax(2)});
            b.add({{f, 15}, "quellenangabe" + wort, roh, text(255)});
        }
        return b;
    }();
    return tabelle;
}

// Page "Durchschnittswerte": the three averages of a place, district, region
// or state, from its own table, beginning at box `erster`.
Bindungen durchschnitte(int erster) {
    auto geld = [](const QVariant& v) { return waehrungOderLeer(v); };
    return {{{13, erster}, "wohn", geld, {}}, {{13, erster + 1}, "misch", geld, {}},
            {{13, erster + 2}, "gewerbe", geld, {}}};
}

const QString kVierTeile =
    QStringLiteral(" where o.landsch = ? and o.rbsch = ? and o.kreissch = ? and o.gemeindesch = ?");

}  // namespace

OrtBoxen::OrtBoxen() : m_texte(14) {
    for (int f = 1; f <= 13; ++f)
        for (int i = 0; i < kAnzahl[f]; ++i) m_texte[f] << QString();
    m_texte[10][2] = QStringLiteral("2000");  // the commuters' year, a fixed caption
}

int OrtBoxen::anzahl(int feld) { return feld >= 1 && feld <= 13 ? kAnzahl[feld] : 0; }

namespace {
QString vorabSchluessel(const QString& sql, const QVariantList& p) {
    QString k = sql;
    for (const QVariant& v : p) k += QChar(0x1f) + QString::number(v.typeId()) + ':' + (v.isNull() ? QStringLiteral("\\N") : v.toString());
    return k;
}
}  // namespace

Recordset OrtDaten::lies(const QString& sql, const QVariantList& p, int& zaehler) const {
    ++zaehler;
    return liesVorab(sql, p);
}

Recordset OrtDaten::liesVorab(const QString& sql, const QVariantList& p) const {
    if (m_vorab) {
        const QString k = vorabSchluessel(sql, p);
        const auto it = m_vorab->constFind(k);
        if (it != m_vorab->constEnd()) {
            Recordset rs = *it;
            rs.moveFirst();
            return rs;
        }
        if (m_fehlt) {
            const QPair<QString, QVariantList> a{sql, p};
            if (!m_fehlt->contains(a)) m_fehlt->append(a);
            return Recordset();
        }
    }
    return m_db.abfrage(sql, p);
}

OrtAnzeige OrtDaten::lade(const QString& schluessel) const {
    // The place form's reads depend on few answers (the appraiser of the
    // place, the labour office's number): the first pass sends every
    // statement it can name at once, the second the few that depend on the
    // first answers, the last one only reads what came. Every box gets what
    // the one-by-one reading gave it.
    QHash<QString, Recordset> vorab;
    struct Zuruecksetzen {
        const OrtDaten* d;
        ~Zuruecksetzen() {
            d->m_vorab = nullptr;
            d->m_fehlt = nullptr;
        }
    } zurueck{this};
    m_vorab = &vorab;
    for (int runde = 0; runde < 4; ++runde) {
        QList<QPair<QString, QVariantList>> fehlt;
        m_fehlt = &fehlt;
        OrtAnzeige a = ladeEinmal(schluessel);
        m_fehlt = nullptr;
        if (fehlt.isEmpty()) return a;
        QList<Anfrage> anfragen;
        for (const auto& [sql, p] : std::as_const(fehlt)) anfragen.append({sql, p});
        const QList<Recordset> rs = m_db.abfragen(anfragen);
        for (int i = 0; i < anfragen.size(); ++i) vorab.insert(vorabSchluessel(anfragen[i].sql, anfragen[i].werte), rs[i]);
    }
    return ladeEinmal(schluessel);
}

OrtAnzeige OrtDaten::ladeEinmal(const QString& schluessel) const {
    OrtAnzeige a;
    OrtBoxen& b = a.boxen;
    int& n = a.anweisungen;
    const Dialekt& d = m_db.dialekt();

    const Recordset on = lies(
        d.begrenze("select * from ortsnamen where gemeindeschluessel = ? order by typ, ort", 1), {schluessel}, n);
    const Recordset od =
        lies(d.begrenze("select * from ortsdaten where gemeindeschluessel = ? order by id", 1), {schluessel}, n);
    a.ortGefunden = !on.eof();
    a.ortsdatenVorhanden = !od.eof();
    // While the first answers are still missing the pass goes on, to name
    // the statements that do not depend on them.
    if (!a.ortGefunden && !a.ortsdatenVorhanden && (!m_fehlt || m_fehlt->isEmpty())) return a;

    // The joined row: place columns from ortsnamen, place data from ortsdaten.
    auto w = [&](const QString& name) -> QVariant {
        const bool ortsnamenZuerst = kAusOrtsnamen.contains(name);
        const Recordset& erst = ortsnamenZuerst ? on : od;
        const Recordset& dann = ortsnamenZuerst ? od : on;
        if (!erst.eof() && erst.hatSpalte(name)) return erst.feld(name);
        return spalte(dann, name);
    };
    auto txt = [&](const QString& name) {
        const QVariant v = w(name);
        return v.isNull() ? QString() : v.toString();
    };

    a.plz = txt("plzneu");
    a.ort = txt("ort");
    a.ortId = w("id").toDouble();
    b(1, 0) = a.plz;
    b(1, 1) = a.ort;
    b(1, 5) = a.ortGefunden ? txt("gemeindeschluessel") : schluessel;
    const QVariant e1000 = w("einw1000");
    b(1, 6) = e1000.isNull() ? QString() : muster(QVariant(ZahlOderNull(e1000) * 1000));
    b(1, 8) = gradText(w("laenge"), w("breite"));
    b(1, 9) = utmText(w("utmrechts"), w("utmhoch"));
    b(1, 10) = ortstypText(w("typ"));
    auto box = [&](BoxPlatz p) -> QString& { return b(p.feld, p.index); };
    durchschnitte(0).zeige(w, box);
    ortsdatenBindungen().zeige(w, box);

    // Appraiser.
    b(1, 16) = QStringLiteral("Kein Gutachter eingetragen");
    const QVariant gid = w("id_gutachter");
    if (!gid.isNull() && gid.toDouble() != 0) {
        ++n;
        const GutachterZeile g = gutachter(gid.toDouble());
        if (g.gefunden) {
            for (int i = 0; i < 8; ++i) b(5, i) = g.boxen.value(i);
            b(1, 16) = g.anzeige();
        }
    }
    a.idGutachter = gid.isNull() ? 0 : gid.toDouble();

    // State, district and administrative region with their averages.
    const Recordset land = lies("select * from bundeslaender where kenn = ?", {schluessel.left(2)}, n);
    if (!land.eof()) {
        b(1, 4) = t(land, "bundesland");
        durchschnitte(9).zeige([&](const QString& s) { return spalte(land, s); }, box);
    }
    const Recordset kreis = lies("select * from kreis where kenn = ?", {schluessel.left(5)}, n);
    if (kreis.eof()) {
        b(1, 2) = QStringLiteral("Unbekannt");
    } else {
        b(1, 2) = t(kreis, "kreis");
        durchschnitte(3).zeige([&](const QString& s) { return spalte(kreis, s); }, box);
    }
    const Recordset rb = lies("select * from regbez where kenn = ?", {schluessel.left(3)}, n);
    if (rb.eof()) {
        b(1, 3) = QStringLiteral("Unbekannt");
    } else {
        b(1, 3) = t(rb, "regbez");
        durchschnitte(6).zeige([&](const QString& s) { return spalte(rb, s); }, box);
    }

    fuelleRegional(a, a.ortGefunden ? txt("gemeindeschluessel") : schluessel);
    return a;
}

void OrtDaten::fuelleRegional(OrtAnzeige& a, const QString& schluessel) const {
    OrtBoxen& b = a.boxen;
    int& n = a.anweisungen;
    const SchluesselTeile k = zerlegeSchluessel(schluessel);
    const QVariantList vier{k.land, k.regbez, k.kreis, k.gemeinde};

    // 1. Offices: the municipality's office numbers and the offices they name, in one look-up.
    {
        QStringList liste;
        QString joins;
        for (const Buero& bu : bueros()) {
            liste << bu.kuerzel + "." + bu.nummer + " as " + bu.kuerzel + "_nr";
            for (const QString& s : bu.spalten) liste << bu.kuerzel + "." + s + " as " + bu.kuerzel + "_" + s;
            joins += " left join " + bu.tabelle + " " + bu.kuerzel + " on " + bu.kuerzel + "." + bu.nummer +
                     " = o." + bu.nummer;
        }
        const Recordset rs = lies("select " + liste.join(", ") + " from stadt_und_gemeinde o" + joins + kVierTeile,
                                  vier, n);
        auto hat = [&](const QString& kz) { return !rs.eof() && !spalte(rs, kz + "_nr").isNull(); };
        auto s = [&](const QString& kz, const QString& sp) { return t(rs, kz + "_" + sp); };
        const struct { const char* kz; int erste; } aemter[] = {{"ba", 0}, {"lsa", 3}, {"ka", 6}};
        for (const auto& amt : aemter) {
            const QString kz = QString::fromLatin1(amt.kz);
            if (!hat(kz)) continue;
            b(6, amt.erste) = paar(s(kz, "plz_und_ort"), s(kz, "strasse_und_hausnr"));
            b(6, amt.erste + 1) = paar(s(kz, "telefon"), s(kz, "telefax"));
            b(6, amt.erste + 2) = s(kz, "bemerkung");
        }
        if (hat("ihk")) {
            b(9, 0) = paar(s("ihk", "plz_und_ort"), s("ihk", "strasse_und_hausnr"));
            b(9, 1) = paar(s("ihk", "telefon"), s("ihk", "telefax"));
        }
        if (hat("lra")) {
            b(7, 0) = s("lra", "landratsamt");
            b(7, 1) = paar(s("lra", "plz_und_ort"), s("lra", "strasse_und_hausnr"));
            b(7, 2) = paar(s("lra", "telefon"), s("lra", "telefax"));
            b(7, 3) = s("lra", "mail");
        }
    }

    // 2.-4. The courts of the municipality.
    auto gericht = [&](const QString& zuordnung, const QString& idOrt, const QString& tabelle,
                       const QString& idGericht, const QString& name, int box) {
        const Recordset rs = lies("select g." + idGericht + " as gid, g." + name + " as name, g.adresse as adresse from " +
                                      zuordnung + " o left join " + tabelle + " g on g." + idGericht + " = o." +
                                      idOrt + kVierTeile,
                                  vier, n);
        if (rs.eof() || spalte(rs, "gid").isNull()) return;
        b(8, box) = t(rs, "name");
        b(8, box + 1) = t(rs, "adresse");
    };
    gericht("amtsgerichte_orte", "id_amtsgericht", "amtsgerichte", "id_amtsgericht", "amtsgericht", 0);
    gericht("landgerichte_orte", "id_landgericht", "landgericht", "id_landgericht", "landgericht", 2);
    gericht("oberlandgerichte_orte", "id_oberlandgericht", "oberlandgerichte", "id_oberlandgericht",
            "oberlandgericht", 4);

    // 5. Labour office and its address ("12345" names the office "123.45").
    {
        const Recordset aa = lies("select * from arbeitsamt where gemschl = ?", {schluessel}, n);
        if (!aa.eof()) {
            b(9, 2) = paar(t(aa, "plz_arbeitsamt"), t(aa, "zust_arbeitsamt"), " ");
            b(9, 3) = t(aa, "geschaeftsstelle");
            const QString dst = t(aa, "dstnr");
            if (!dst.isEmpty()) {
                const Recordset ad = lies("select * from arbeitsamtadressen where dstnr = ?",
                                          {dienststellenNummer(dst)}, n);
                if (!ad.eof()) {
                    b(9, 4) = paar(t(ad, "plz_geb"), t(ad, "postfachadresse"), " ");
                    b(9, 5) = t(ad, "dienstgebäude");
                    b(9, 6) = t(ad, "vorwahl") + " " + t(ad, "tel") + " Fax: " + t(ad, "fax");
                }
            }
        }
    }

    // 6. Municipal administration.
    {
        const Recordset ga = lies("select * from gemeindeadressen where lsch = ? and rsch = ? and ksch = ? and gsch = ?",
                                  vier, n);
        if (!ga.eof()) {
            b(7, 4) = t(ga, "plz") + " " + t(ga, "stadt_gemeinde") + ", " + t(ga, "strasse_und_hausnr");
            b(7, 5) = paar(t(ga, "tel"), t(ga, "fax"), " ");
            b(7, 6) = t(ga, "mail");
            b(7, 7) = t(ga, "bemerkung");
        }
    }

    // 7. Tax rates.
    {
        const Recordset hs = lies("select * from hebesatz_gewerbe o" + kVierTeile, vier, n);
        if (!hs.eof()) {
            b(10, 6) = zahlText(spalte(hs, "jahr"), false);
            b(10, 3) = t(hs, "hebesatz_für_gewerbe");
            b(10, 4) = t(hs, "grundsteuer_a");
            b(10, 5) = t(hs, "grundsteuer_b");
            b(10, 7) = t(hs, "quellenangabe");
        }
    }

    // 8. Commuters; some rows hold region and district part exchanged.
    {
        const QString sql = "select * from pendler o" + kVierTeile;
        const Recordset p = lies(sql, vier, n);
        // The exchanged parts are asked for in the same round trip as the first.
        if (m_fehlt && !m_fehlt->isEmpty()) liesVorab(sql, {k.land, k.kreis, k.regbez, k.gemeinde});
        if (!p.eof()) {
            b(10, 0) = t(p, "einpendler_2000");
            b(10, 1) = t(p, "auspendler_2000");
            b(10, 8) = t(p, "quellenangabe");
        } else {
            const Recordset q = lies(sql, {k.land, k.kreis, k.regbez, k.gemeinde}, n);
            if (!q.eof()) {
                b(10, 0) = t(q, "einpendler_2000");
                b(10, 1) = t(q, "auspendler_2000");
            }
        }
    }

    // 9. Administrative court.
    {
        const Recordset rs = lies(
            "select g.id_verwaltungsgerichte as gid, g.verwaltungsgerichte as name, g.adresse as adresse, "
            "g.tel_nummer as tel_nummer from verwaltungsgerichte_orte o left join verwaltungsgerichte g on "
            "g.id_verwaltungsgerichte = o.id_verwaltungsgericht" + kVierTeile,
            vier, n);
        if (!rs.eof() && !spalte(rs, "gid").isNull()) {
            b(8, 6) = paar(t(rs, "name"), t(rs, "adresse"));
            b(8, 7) = t(rs, "tel_nummer");
        }
    }

    // 10. Unemployment.
    {
        const Recordset al = lies("select * from arbeitslose o" + kVierTeile, vier, n);
        if (!al.eof()) {
            b(11, 0) = t(al, "ueberschrift");
            b(11, 1) = t(al, "bemerkung");
            b(11, 2) = t(al, "arbeitslosenquote_10_2001") + " % ";
            b(11, 3) = t(al, "quellenangabe");
        }
    }

    // 11. Infrastructure.
    {
        const Recordset oi = lies("select * from ortsinfo where lsch = ? and rsch = ? and ksch = ? and gesch = ?",
                                  vier, n);
        if (!oi.eof()) {
            b(12, 0) = entfernung(oi, "naechste_stadt", "entf_km_n_stadt");
            b(12, 1) = entfernung(oi, "bundesstr", "km_bundes");
            b(12, 2) = entfernung(oi, "bab", "km_bab");
            b(12, 3) = entfernung(oi, "bahnh", "km_bahnh");
            b(12, 4) = entfernung(oi, "ice_bahnh", "km_ice");
            b(12, 5) = entfernung(oi, "flugh", "km_flugh");
            b(12, 6) = entfernung(oi, "naechste_krankenh", "km_entf_krankenh");
            b(12, 7) = entfernung(oi, "naechstes_altersheim", "entf_altersheim");
            b(12, 8) = entfernung(oi, "hallen_freibad", "entf_hallen_freib");
            b(12, 9) = entfernung(oi, "naechste_senior_gerechte_wohnanl", "entf_gerecht_wohna");
            b(12, 10) = t(oi, "kindergarten");
            b(12, 11) = t(oi, "schule");
            b(12, 12) = t(oi, "gewerbe_an");
            b(12, 13) = t(oi, "gewerbe_ab");
            b(12, 14) = t(oi, "waldfl_in_gemeinde");
        }
    }
}

GutachterZeile OrtDaten::gutachter(double id) const {
    GutachterZeile g;
    const Recordset rs = liesVorab("select * from gutachter where id = ?", {qint64(id)});
    if (rs.eof()) return g;
    g.gefunden = true;
    g.id = id;
    g.name = t(rs, "name");
    g.ort = t(rs, "ort");
    for (const char* s : {"name", "strasse", "plz", "ort", "telefon", "telefax", "email", "internet"})
        g.boxen << t(rs, QString::fromLatin1(s));
    return g;
}

GutachterZeile OrtDaten::gutachterDesOrts(const QString& gemeindeschluessel) const {
    const QVariant id = m_db.wert(
        m_db.dialekt().begrenze("select id_gutachter from ortsdaten where gemeindeschluessel = ? order by id", 1),
        {gemeindeschluessel});
    if (id.isNull() || id.toDouble() == 0) return {};
    return gutachter(id.toDouble());
}

QString OrtDaten::kreisKenn(const QString& kreisName) const {
    if (kreisName.trimmed().isEmpty()) return {};
    const QVariant v = m_db.wert(m_db.dialekt().begrenze(
                                     "select kenn from kreis where " + m_db.dialekt().gleichOhneFall("kreis") +
                                         " order by id",
                                     1),
                                 {kreisName.trimmed()});
    return v.isNull() ? QString() : v.toString().trimmed();
}

QStringList OrtDaten::regionNamen(const QString& s) const {
    const QVariant k = m_db.wert("select kreis from kreis where kenn = ?", {s.left(5)});
    const QVariant r = m_db.wert("select regbez from regbez where kenn = ?", {s.left(3)});
    const QVariant l = m_db.wert("select bundesland from bundeslaender where kenn = ?", {s.left(2)});
    return {k.isNull() ? QStringLiteral("Unbekannt") : k.toString().trimmed(),
            r.isNull() ? QStringLiteral("Unbekannt") : r.toString().trimmed(),
            l.isNull() ? QString() : l.toString().trimmed()};
}

Werte OrtDaten::spaltenwerte(const OrtBoxen& b, double gutachterId) {
    Werte w;
    // Text columns get the empty text, never Null, for an empty box.
    auto setze = [&](const QString& s, const QVariant& v) {
        if (v.typeId() == QMetaType::QString && v.toString().isNull()) w << qMakePair(s, QVariant(QStringLiteral("")));
        else w << qMakePair(s, v);
    };
    // No appraiser is stored as Null, which the fill tools look for.
    setze("id_gutachter", gutachterId > 0 ? QVariant(qint64(gutachterId)) : nullGanz());
    for (const auto& [spalte, wert] :
         ortsdatenBindungen().werte([&](BoxPlatz p) { return b(p.feld, p.index); }))
        setze(spalte, wert);
    return w;
}

OrtDaten::Gespeichert OrtDaten::speichere(const QString& schluessel, const OrtBoxen& boxen,
                                         double gutachterId) const {
    const Dialekt& d = m_db.dialekt();
    Werte werte = spaltenwerte(boxen, gutachterId);
    Transaktion tr(m_db);
    const QVariant id =
        m_db.wert(d.begrenze("select id from ortsdaten where gemeindeschluessel = ? order by id", 1), {schluessel});
    if (!id.isNull()) {
        m_db.aendern("ortsdaten", id.toLongLong(), werte);
        tr.bestaetige();
        return Gespeichert::Geaendert;
    }
    const QVariant ortId = m_db.wert(
        d.begrenze("select id from ortsnamen where gemeindeschluessel = ? order by typ, ort", 1), {schluessel});
    if (ortId.isNull())
        throw DbFehler("Ort nicht gefunden",
                       "Zum Gemeindeschlüssel \"" + schluessel + "\" gibt es keinen Ort; die Ortsdaten wurden nicht gespeichert.");
    werte.prepend(qMakePair(QStringLiteral("ortsdaten_p_id"), QVariant(ortId.toLongLong())));
    werte.prepend(qMakePair(QStringLiteral("gemeindeschluessel"), QVariant(schluessel)));
    m_db.einfuegen("ortsdaten", werte);
    tr.bestaetige();
    return Gespeichert::Angelegt;
}

QStringList OrtDaten::pruefeNeuenOrt(const NeuerOrt& o) const {
    QStringList f;
    static const QRegularExpression plz("^\\d{5}$"), gs("^\\d{8}$");
    if (!plz.match(o.plz.trimmed()).hasMatch()) f << QStringLiteral("Die PLZ muss aus fünf Ziffern bestehen.");
    if (o.ort.trimmed().isEmpty()) f << QStringLiteral("Der Name des Ortes fehlt.");
    if (!gs.match(o.gemeindeschluessel.trimmed()).hasMatch())
        f << QStringLiteral("Der Gemeindeschlüssel muss aus acht Ziffern bestehen.");
    if (o.typ < 0)
        f << QStringLiteral("Der Ortstyp muss \"Kreisfreie Stadt\", \"Stadt\", \"Gemeinde\" oder \"Eingemeindet\" "
                            "(oder 0 bis 3) sein.");
    if (!f.isEmpty()) return f;
    const QVariant ort = m_db.wert(
        "select count(*) from ortsnamen where gemeindeschluessel = ? and plzneu = ? and " +
            m_db.dialekt().gleichOhneFall("ort"),
        {o.gemeindeschluessel.trimmed(), o.plz.trimmed(), o.ort.trimmed()});
    if (ort.toInt() > 0) f << QStringLiteral("Diesen Ort gibt es bereits.");
    const QVariant od = m_db.wert("select count(*) from ortsdaten where gemeindeschluessel = ?",
                                  {o.gemeindeschluessel.trimmed()});
    if (od.toInt() > 0)
        f << QStringLiteral("Für diesen Gemeindeschlüssel gibt es bereits Ortsdaten. Ändern Sie sie über die "
                            "Ortssuche.");
    return f;
}

void OrtDaten::legeNeuenOrtAn(const NeuerOrt& o, const OrtBoxen& boxen, double gutachterId) const {
    Transaktion tr(m_db);
    const qint64 ortId = m_db.einfuegen("ortsnamen", {{"ort", o.ort.trimmed()},
                                                      {"plzneu", o.plz.trimmed()},
                                                      {"gemeindeschluessel", o.gemeindeschluessel.trimmed()},
                                                      {"typ", o.typ}});
    Werte werte = spaltenwerte(boxen, gutachterId);
    const QVariant e1980 = zahlOderLeer(boxen(1, 6));
    werte.prepend(qMakePair(QStringLiteral("einw1000"), e1980.isNull() ? nullZahl() : QVariant(e1980.toDouble() / 1000)));
    werte.prepend(qMakePair(QStringLiteral("ortsdaten_p_id"), QVariant(ortId)));
    werte.prepend(qMakePair(QStringLiteral("gemeindeschluessel"), QVariant(o.gemeindeschluessel.trimmed())));
    m_db.einfuegen("ortsdaten", werte);
    tr.bestaetige();
}

OrtAbrechnung ProtokolliereOrt(const Datenbank& db, Publics& p, const QString& objekt, QString* fehler) {
    if (p.Ausgabe != 3 || p.OrtAbgerechnet) return OrtAbrechnung::NichtNoetig;
    try {
        SchreibeAbfrageProtokoll(db, p, AbfrageArt::Ortsdaten, objekt, 2.5);
    } catch (const DbFehler& e) {
        if (fehler) *fehler = e.kurz() + "\n" + e.serverText();
        return OrtAbrechnung::Fehlgeschlagen;
    }
    p.OrtAbgerechnet = true;
    return OrtAbrechnung::Geschrieben;
}

}  // namespace talu
