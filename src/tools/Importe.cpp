#include "tools/Importe.h"

#include <QLocale>
#include <QSqlRecord>

#include "db/Datenbank.h"
#include "plot/GrundstueckDaten.h"

namespace talu::pflege {

// The statements that work on a range of ids join the other tables with left
// joins and keep the rows that found their match: so the engine walks the
// range and looks each row's match up, instead of walking the other table and
// searching the range for each of its rows.

namespace {

QString tausender(qint64 n) { return QLocale(QLocale::German, QLocale::Germany).toString(n); }

// The rows after the first n of an order (its first column with Null first,
// then id): the order's row n, and the condition on the rows after it.
struct NachUeberspringen {
    bool leer = false;  // nothing follows the skipped rows
    bool aktiv = false;
    QString spalte;
    QVariant grenze, grenzId;
    QString bedingung(const QString& praefix = {}) const {
        if (!aktiv) return {};
        const QString id = praefix + "id";
        if (spalte.isEmpty()) return id + " > ?";
        const QString s = praefix + spalte;
        if (grenze.isNull()) return "(" + s + " is not null or " + id + " > ?)";
        return "(" + s + " > ? or (" + s + " = ? and " + id + " > ?))";
    }
    Parameter werte() const {
        if (!aktiv) return {};
        if (spalte.isEmpty() || grenze.isNull()) return {grenzId};
        return {grenze, grenze, grenzId};
    }
};

NachUeberspringen nachUeberspringen(const Datenbank& db, const QString& tabelle, const QString& spalte, qint64 n) {
    NachUeberspringen u;
    u.spalte = spalte;
    if (n <= 0) return u;
    const Dialekt& d = db.dialekt();
    const QString ordnung = spalte.isEmpty() ? QStringLiteral("id") : d.nullZuerst(spalte) + ", id";
    const Recordset rs = db.abfrage(d.zeileNach(
        "select " + (spalte.isEmpty() ? QStringLiteral("null") : spalte) + ", id from " + tabelle + " order by " + ordnung,
        n - 1));
    if (rs.leer()) {
        u.leer = true;
        return u;
    }
    u.aktiv = true;
    u.grenze = rs.zeilen().first().value(0);
    u.grenzId = rs.zeilen().first().value(1);
    return u;
}

QString mitUnd(const QString& bedingung) { return bedingung.isEmpty() ? QString() : " and " + bedingung; }

}  // namespace

QString ohneRand(const QString& a) { return "ltrim(rtrim(" + a + "))"; }

QString ersteJe(const QString& tabelle, const QString& schluessel) {
    return "(select " + schluessel + " as schluessel, min(id) as erste from " + tabelle + " group by " + schluessel +
           ")";
}

void meldeImportFunktionenAn(const Datenbank& db) {
    if (db.backend() != Backend::SQLite) return;
    const bool ok =
        registriereSqliteFunktion(db, Dialekt::kHausnummerTextFunktion,
                                  [](const QVariant& v) -> QVariant {
                                      return v.isNull() ? QVariant() : QVariant(fuehrendeZahlText(v.toString()));
                                  }) &&
        registriereSqliteFunktion(db, Dialekt::kHausnummerFunktion, [](const QVariant& v) -> QVariant {
            return fuehrendeZahl(v.isNull() ? QString() : v.toString());
        });
    if (!ok)
        throw DbFehler(QStringLiteral("Die Hausnummern konnten nicht gelesen werden"),
                       QString::fromUtf8("Die Funktion für die Hausnummern ließ sich nicht anmelden."));
}

QString suchspalteListe(const Datenbank& db) {
    return db.dialekt().fuelltSuchspalten() ? QString() : QStringLiteral(", strassen_name_suche");
}

QString suchspalteWert(const Datenbank& db, const QString& name) {
    return db.dialekt().fuelltSuchspalten() ? QString() : ", " + db.dialekt().ohneFall(name);
}

QString gelesenText(qint64 gelesen) { return " " + QString::number(gelesen); }

QString nichtsGelesenText(const QString& tabelle, qint64 zeilen, qint64 ueberspringen) {
    return QString::fromUtf8("Die Tabelle \"%1\" hat nur %2 Zeilen: Nach den ersten %3, die übersprungen werden, "
                             "wurde keine Zeile gelesen.")
        .arg(tabelle, tausender(zeilen), tausender(ueberspringen));
}

// --- WQN and POGOS: straight from the menu, counted in the status panel ----

void WqnImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    meldeImportFunktionenAn(db);
    const QString name = d.teilText(QString::fromUtf8("s.straßenname"), 1, 46);
    // The number and its addition; a Null number gives the addition alone, nothing at all gives Null.
    const QString nummer =
        "nullif(" + d.teilText(d.verbinde(d.hausnummerText("g.hausnummer"), ohneRand("g.zusatz")), 1, 5) + ", '')";
    const QString sql = "insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, y_koordinate, "
                        "x_koordinate" + suchspalteListe(db) + ") select " + d.teilText("g.gs", 1, 8) + ", " + name +
                        ", " + nummer + ", " + d.teilText("g.hochwert", 1, 20) + ", " +
                        d.teilText("g.rechtswert", 1, 20) + suchspalteWert(db, name) +
                        " from geb111 g left join str111 s on g.ss = s.ss and g.gs = s.gs where g.id > ? and g.id <= ? and s.id is "
                        "not null "
                        "order by g.id, s.id";
    k.melde(0, -1, gelesenText(0));
    stapel::inIdBereichen(k, QStringLiteral("geb111"), {}, {}, kImportBereich, [&](qint64 nach, qint64 bis, qint64) {
        m_gelesen += db.ausfuehren(sql, {nach, bis});
        k.melde(m_gelesen, -1, gelesenText(m_gelesen));
    });
    k.melde(m_gelesen, m_gelesen, gelesenText(m_gelesen));
}

QString PogosImport::fertigText() {
    // The numbers are fixed: the message was written for one delivery.
    return QStringLiteral("Das Importieren der POGOS-Daten ist beendet (0 / 1000000)!");
}

void PogosImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    const QString name = d.teilText("p.strassenname", 1, 46);
    const QString sql = "insert into grundstuecke (gemeindeschluessel, strassen_name, ortsteil, hausnummer, pogos, "
                        "pogos_cstaotk" + suchspalteListe(db) + ") select " + d.teilText("p.gemeindeschluessel", 1, 8) +
                        ", " + name + ", p.stadtteil, ?, ?, p.cstaotk" + suchspalteWert(db, name) +
                        " from pogos p where p.id > ? and p.id <= ? and p.gemeindeschluessel not like ? order by p.id";
    const QString ohne03 = QStringLiteral("03%");
    k.melde(0, -1, gelesenText(0));
    stapel::inIdBereichen(k, QStringLiteral("pogos"), QStringLiteral("gemeindeschluessel not like ?"), {ohne03},
                          kImportBereich, [&](qint64 nach, qint64 bis, qint64) {
                              m_gelesen += db.ausfuehren(sql, {QStringLiteral("1"), QStringLiteral("ja"), nach, bis,
                                                               ohne03});
                              k.melde(m_gelesen, -1, gelesenText(m_gelesen));
                          });
    k.melde(m_gelesen, m_gelesen, gelesenText(m_gelesen));
}

// --- The imports of the progress forms ---------------------------------------

Zaehlerform MosaicImport::form() {
    return {QStringLiteral("Mosaic-Daten importieren"),
            {QStringLiteral("Aktueller Mosaic-Datensatz:"), QStringLiteral("Anzahl der gefundenen Orte:"),
             QStringLiteral("Anzahl der nicht gefundenen Orte:")},
            QStringLiteral("###.###")};
}

void MosaicImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    meldeImportFunktionenAn(db);
    const QString name = ohneRand("m.haus_strasse");
    const QString nummer = "nullif(" +
                           d.teilText(d.verbinde(d.hausnummerText("m.haus_hausnr"), ohneRand("m.haus_hausnr_zusatz")),
                                      1, 20) +
                           ", '')";
    const QString sql = "insert into grundstuecke (gemeindeschluessel, strassen_name, hausnummer, ortsteil, "
                        "mosaic_nummer" + suchspalteListe(db) + ") select o.gemeindeschluessel, " + name + ", " +
                        nummer + ", " + ohneRand("m.haus_otl_name") + ", " + ohneRand("m.haus_id") +
                        suchspalteWert(db, name) + " from mosaic m left join " +
                        ersteJe(QStringLiteral("ortsnamen"), QStringLiteral("gemeindeschluessel")) +
                        " e on e.schluessel = " + d.teilText("m.haus_id", 1, 8) +
                        " left join ortsnamen o on o.id = e.erste where m.id > ? and m.id <= ? and o.id is not null order by m.id";
    const QStringList z = form().zaehler;
    qint64 gelesen = 0, gefunden = 0;
    auto zeige = [&](bool letzte) {
        k.zaehle({{z[0], gelesen}, {z[1], gefunden}, {z[2], gelesen - gefunden}}, {}, letzte);
    };
    stapel::inIdBereichen(k, QStringLiteral("mosaic"), {}, {}, kImportBereich,
                          [&](qint64 nach, qint64 bis, qint64 anzahl) {
                              gefunden += db.ausfuehren(sql, {nach, bis});
                              gelesen += anzahl;
                              zeige(false);
                          });
    zeige(true);
}

Zaehlerform AurichImport::form() {
    return {QStringLiteral("Aurich importieren"),
            {QStringLiteral("Aktueller Mosaic-Datensatz:"), QStringLiteral("Anzahl der gefundenen Orte:"),
             QStringLiteral("Anzahl der nicht gefundenen Orte:")}};
}

void AurichImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    meldeImportFunktionenAn(db);
    const QStringList texte{
        "geschossflaechenzahl = " + ohneRand("a.haus_gfz"),
        "bauweise = " + ohneRand("a.haus_bauweise"),
        "beitragspflichtig = " + ohneRand("a.haus_beitragspflichtig"),
        "sanierungsgebiet = " + ohneRand("a.haus_sanierungsgeb"),
        "grundstueckstiefe = " + ohneRand("a.haus_grundst_tiefe"),
        "entwicklungszustand = " + ohneRand("a.haus_entwicklungszustand"),
        "grundstuecksflaeche = " + ohneRand(QString::fromUtf8("a.haus_grundst_fläche")),
        "anzahl_der_geschosse = " + ohneRand("a.haus_azdgeschosse"),
        "bauliche_nutzung = " + ohneRand("a.haus_bauliche_nutzung"),
        "bemerkung = " + ohneRand("a.haus_bemerkung"),
        "richtwerttyp = " + ohneRand("a.haus_wert"),
    };
    const QString san = "lower(" + ohneRand("a.haus_san_ae") + ")";
    // A Null value stays Null: the delivery did not name one.
    const QString sql = "update grundstuecke set richtwert_tatsaechlich = " + d.zahlAusText("a.haus_bodenwert") +
                        ", " + texte.join(", ") + ", sananfangende = case " + san + " when 'a' then 'aw' when 'e' "
                        "then 'ew' when 'k' then 'ka' else sananfangende end from (select p.id as pid, min(a.id) as aid "
                        "from grundstuecke p left join aurich a on a.haus_id = p.mosaic_nummer where "
                        "p.gemeindeschluessel = ? and p.id > ? and p.id <= ? and a.id is not null group by p.id) v "
                        "join aurich a on a.id "
                        "= v.aid where grundstuecke.id = v.pid";
    const QStringList z = form().zaehler;
    qint64 gelesen = 0, gefunden = 0;
    auto zeige = [&](bool letzte) {
        k.zaehle({{z[0], gelesen}, {z[1], gefunden}, {z[2], gelesen - gefunden}}, {}, letzte);
    };
    stapel::inIdBereichen(k, QStringLiteral("grundstuecke"), QStringLiteral("gemeindeschluessel = ?"), {gemeinde()},
                          kImportBereich, [&](qint64 nach, qint64 bis, qint64 anzahl) {
                              gefunden += db.ausfuehren(sql, {gemeinde(), nach, bis});
                              gelesen += anzahl;
                              zeige(false);
                          });
    zeige(true);
}

Zaehlerform NiedersachsenImport::form() {
    return {QStringLiteral("Niedersachsen importieren"),
            {QStringLiteral("Aktueller Datensatz:"), QStringLiteral("Treffer:")}};
}

void NiedersachsenImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    const QStringList z = form().zaehler;
    qint64 gelesen = 0, treffer = 0;
    auto zeige = [&](bool letzte) { k.zaehle({{z[0], gelesen}, {z[1], treffer}}, {}, letzte); };
    const QString tabelle = QString::fromUtf8("gebäude");
    const NachUeberspringen u = nachUeberspringen(db, tabelle, {}, m_ueberspringen);
    if (u.leer) {
        m_hinweis = nichtsGelesenText(tabelle, db.wert("select count(*) from " + tabelle).toLongLong(), m_ueberspringen);
        zeige(true);
        return;
    }
    const QString name = d.teilText(QString::fromUtf8("s.straßenname"), 1, 46);
    const QString sql = QString::fromUtf8(
                            "insert into grundstuecke (strassen_name, hausnummer, x_koordinate, y_koordinate, "
                            "gemeindeschluessel, strassenschluessel") +
                        suchspalteListe(db) + ") select " + name + ", " + d.teilText("g.hausnummer", 1, 5) + ", " +
                        d.teilText("g.hochwert", 1, 20) + ", " + d.teilText("g.rechtswert", 1, 20) + ", " +
                        d.teilText(QString::fromUtf8("g.gemeindeschlüssel"), 1, 8) + ", " +
                        d.teilText(QString::fromUtf8("g.strassenschlüssel"), 1, 5) + suchspalteWert(db, name) +
                        " from " + tabelle + " g left join " +
                        ersteJe(QStringLiteral("strassen"), QString::fromUtf8("strassenschlüssel")) +
                        QString::fromUtf8(" e on e.schluessel = g.strassenschlüssel left join strassen s on s.id = "
                                          "e.erste where g.id > ? and g.id <= ? and s.id is not null order by g.id");
    stapel::inIdBereichen(k, tabelle, u.bedingung(), u.werte(), kImportBereich,
                          [&](qint64 nach, qint64 bis, qint64 anzahl) {
                              treffer += db.ausfuehren(sql, {nach, bis});
                              gelesen += anzahl;
                              zeige(false);
                          });
    zeige(true);
}

QString GrundstueckeLoeschen::frageText(qint64 anzahl) {
    return QString::fromUtf8("Sollen wirklich alle %1 Grundstücke gelöscht werden?").arg(tausender(anzahl));
}

void GrundstueckeLoeschen::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const qint64 anzahl = db.wert(QStringLiteral("select count(*) from grundstuecke")).toLongLong();
    // The whole plot table in one key stroke: the operator confirms it first.
    if (anzahl > 0 && !k.anzeige().frage(frageText(anzahl))) throw stapel::Abgebrochen();
    k.melde(0, 1, titel());
    db.ausfuehren(QStringLiteral("delete from grundstuecke"));
    k.melde(1, 1, titel());
}

Zaehlerform ZonenImport::form() {
    return {QStringLiteral("Zonendaten importieren"),
            {QStringLiteral("Aktueller Datensatz:"), QStringLiteral("Nummer gefunden:"),
             QStringLiteral("Daten gefunden:"), QString::fromUtf8("Übersprungen:")}};
}

void ZonenImport::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    const QStringList z = form().zaehler;
    qint64 gelesen = 0, nummer = 0, daten = 0, uebersprungen = 0;
    auto zeige = [&](bool letzte) {
        k.zaehle({{z[0], gelesen}, {z[1], nummer}, {z[2], daten}, {z[3], uebersprungen}}, {}, letzte);
    };
    const NachUeberspringen u =
        nachUeberspringen(db, QStringLiteral("grundstuecke"), QStringLiteral("gemeindeschluessel"), m_ueberspringen);
    if (u.leer) {
        m_hinweis = nichtsGelesenText(QStringLiteral("grundstuecke"),
                                      db.wert(QStringLiteral("select count(*) from grundstuecke")).toLongLong(),
                                      m_ueberspringen);
        zeige(true);
        return;
    }
    // The zone's street: the first row of the municipality and the street name,
    // both without surrounding blanks and in either case; a name with an
    // apostrophe is passed over.
    const QString strasse = d.ohneFall(ohneRand(QString::fromUtf8("strasse")));
    const QString zonenStrasse =
        "(select " + ohneRand(QString::fromUtf8("schlüssel")) + " as schluessel, " + strasse +
        " as strasse, min(id) as erste from import_11062002_1 group by " + ohneRand(QString::fromUtf8("schlüssel")) +
        ", " + strasse + ")";
    const QString zonen = "(select gemeindesch, zonen_nr, min(id) as erste from import_11062002_2 group by "
                          "gemeindesch, zonen_nr)";
    // Left joins from the plots of the range: the engine then walks the range
    // and looks each plot's zone up, instead of walking every zone street
    // through all plots of its municipality.
    auto verbindung = [&](const QString& art) {
        return " " + art + " " + zonenStrasse + " e1 on e1.schluessel = p.gemeindeschluessel and e1.strasse = " +
               d.ohneFall(ohneRand("p.strassen_name")) + " and p.strassen_name not like ? " + art +
               " import_11062002_1 i1 on i1.id = e1.erste " + art + " " + zonen +
               " e2 on e2.gemeindesch = p.gemeindeschluessel and e2.zonen_nr = i1.zonen_nr " + art +
               " import_11062002_2 i2 on i2.id = e2.erste";
    };
    // HatSchonWerte: a land value other than 0 or a remark of more than blanks.
    const QString hatWerte = "(coalesce(p.richtwert_minimal, 0) <> 0 or coalesce(p.richtwert_maximal, 0) <> 0 or "
                             "coalesce(p.richtwert_durchschnitt, 0) <> 0 or coalesce(p.richtwert_tatsaechlich, 0) <> 0 "
                             "or replace(coalesce(p.bemerkung, ''), ' ', '') <> '')";
    const QString bereich = " where p.id > ? and p.id <= ?" + mitUnd(u.bedingung("p."));
    const QString zaehlen = "select count(*), count(e1.erste), count(e2.erste), sum(case when e2.erste is not null "
                            "and " + hatWerte + " then 1 else 0 end) from grundstuecke p" +
                            verbindung(QStringLiteral("left join")) + bereich;
    auto teil = [&](const QString& spalte, int n) { return d.teilText("z." + spalte, 1, n); };
    const QString setzen =
        "update grundstuecke set richtwert_minimal = z.brw_minimal, richtwert_maximal = z.brw_maximal, "
        "richtwert_durchschnitt = z.brw_durchschnittlich, richtwert_tatsaechlich = z.brw_tatsaechlich, "
        "bauliche_nutzung = " + teil("bauliche_nutzung", 3) + ", entwicklungszustand = " +
        teil("entwicklungszustand", 1) + ", bauweise = " + teil("bauweise", 1) + ", geschossflaechenzahl = " +
        teil("gfz", 10) + ", anzahl_der_geschosse = " + teil("anzahl_der_geschosse", 10) +
        ", grundstueckstiefe = " + teil("grundstueckstiefe", 10) + ", grundstuecksflaeche = " +
        teil("grundstuecksflaeche", 10) + ", beitragspflichtig = " + teil("beitragspflichtig", 4) +
        ", sanierungsgebiet = " + teil("sanierungsgebiet", 4) + ", sananfangende = " +
        teil("anfangs_oder_endwert", 2) + ", richtwerttyp = " + teil("richtwerttyp", 1) + ", bemerkung = " +
        teil("bemerkung", 50) +
        " from (select p.id as pid, i2.brw_minimal, i2.brw_maximal, i2.brw_durchschnittlich, i2.brw_tatsaechlich, "
        "i2.bauliche_nutzung, i2.entwicklungszustand, i2.bauweise, i2.gfz, i2.anzahl_der_geschosse, "
        "i2.grundstueckstiefe, i2.grundstuecksflaeche, i2.beitragspflichtig, i2.sanierungsgebiet, "
        "i2.anfangs_oder_endwert, i2.richtwerttyp, i2.bemerkung from grundstuecke p" + verbindung(QStringLiteral("left join")) +
        bereich + " and i2.id is not null and not " + hatWerte + ") z where grundstuecke.id = z.pid";
    const QString apostroph = QStringLiteral("%'%");
    stapel::inIdBereichen(k, QStringLiteral("grundstuecke"), u.bedingung(), u.werte(), kImportBereich,
                          [&](qint64 nach, qint64 bis, qint64) {
                              Parameter p{apostroph, nach, bis};
                              p << u.werte();
                              const Recordset rs = db.abfrage(zaehlen, p);
                              const QSqlRecord r = rs.zeilen().value(0);
                              gelesen += r.value(0).toLongLong();
                              nummer += r.value(1).toLongLong();
                              daten += r.value(2).toLongLong();
                              uebersprungen += r.value(3).toLongLong();
                              db.ausfuehren(setzen, p);
                              zeige(false);
                          });
    zeige(true);
}

}  // namespace talu::pflege
