// Demo content of the market overview tables, written by hand:
//  - Frankfurt am Main (06412000): overviews of its own in every category,
//    one headline published under two table numbers;
//  - München (09162000): flats and rents, older tables kept in DM only, a
//    headline with an apostrophe, a zero amount;
//  - Gießen (06531005) and Hannover (03241001): some categories only at
//    district level (municipality part "000");
//  - Stuttgart (08111000): turnover tables with DM and euro rows.
// Places without any rows (e.g. Darmstadt) show the no-overview message.
#include <QVariant>
#include <tuple>

#include "db/Datenbank.h"
#include "db/demo/DemoDaten.h"

namespace talu {

namespace {

const QVariant kNull;

// One published table: where it belongs and what it is.
struct Veroeffentlichung {
    QString tabelle;
    QString schluessel;  // 8 digits; "000" as municipality part for a district table
    int nr;
    QString ueberschrift;
    QString region;
    QString quelle;
    QString copyright;
    QVariant bemerkung;  // remark on the whole table (not in the turnover tables)
};

bool hatTabellenBemerkung(const QString& tabelle) {
    return tabelle != "flaechenumsatz" && tabelle != "geldumsatz" && tabelle != "anzahl_der_vertraege";
}

void zeile(const Datenbank& db, const Veroeffentlichung& v, int datensatznr, const Werte& eigene) {
    Werte w{{"landsch", v.schluessel.mid(0, 2)},
            {"rbsch", v.schluessel.mid(2, 1)},
            {"kreissch", v.schluessel.mid(3, 2)},
            {"gemeindesch", v.schluessel.mid(5, 3)},
            {"ueberschrift", v.ueberschrift},
            {"tabellennr", v.nr},
            {"datensatznr", datensatznr},
            {"stadt_oder_landkreis", v.region},
            {"quellenangabe", v.quelle},
            {"copyright", v.copyright}};
    if (hatTabellenBemerkung(v.tabelle)) w << qMakePair(QStringLiteral("bemerkung_tabelle"), v.bemerkung);
    w += eigene;
    db.einfuegen(v.tabelle, w);
}

// Euro amounts and the former DM amounts of a price row.
Werte betraege(QVariant min, QVariant mit, QVariant max, QVariant minDm = kNull, QVariant mitDm = kNull,
               QVariant maxDm = kNull) {
    return {{"minimal", min},       {"durchschnitt", mit},       {"maximal", max},
            {"minimal_dm", minDm}, {"durchschnitt_dm", mitDm}, {"maximal_dm", maxDm}};
}

Werte haus(const QString& jahr, const Werte& b, const QString& stadtteil, const QString& baujahr,
           const QString& groesse, const QString& wohnflaeche, const QVariant& bemerkung = kNull) {
    Werte w{{"kaufjahr", jahr}};
    w += b;
    w << qMakePair(QStringLiteral("stadtteil"), QVariant(stadtteil))
      << qMakePair(QStringLiteral("baujahr"), QVariant(baujahr))
      << qMakePair(QStringLiteral("grundstuecksgroesse"), QVariant(groesse))
      << qMakePair(QStringLiteral("wohnflaeche"), QVariant(wohnflaeche))
      << qMakePair(QStringLiteral("bemerkung_datensatz"), bemerkung);
    return w;
}

Werte miete(const QString& jahr, const Werte& b, const QString& baujahr, const QString& flaeche,
            const QVariant& bemerkung, const QString& ausstattung, const QVariant& lage, bool mitLage = true) {
    Werte w{{"jahr", jahr}};
    w += b;
    w << qMakePair(QStringLiteral("baujahr"), QVariant(baujahr))
      << qMakePair(QStringLiteral("flaeche"), QVariant(flaeche))
      << qMakePair(QStringLiteral("bemerkung_datensatz"), bemerkung)
      << qMakePair(QStringLiteral("ausstattung"), QVariant(ausstattung));
    if (mitLage) w << qMakePair(QStringLiteral("lage"), lage);
    return w;
}

Werte umsatz(const QString& jahr, const QString& wertSpalte, const QVariant& wert, const QString& teilmarkt,
             const QVariant& bemerkung = kNull) {
    return {{"jahr", jahr}, {wertSpalte, wert}, {"teilmarkt_oder_insgesamt", teilmarkt}, {"bemerkung", bemerkung}};
}

const QString kFfm = QStringLiteral("06412000");
const QString kMuc = QStringLiteral("09162000");
const QString kKreisGiessen = QStringLiteral("06531000");
const QString kRegionHannover = QStringLiteral("03241000");
const QString kStr = QStringLiteral("08111000");

const QString kQuelleFfm = QStringLiteral("Immobilienmarktbericht Frankfurt am Main 2003");
const QString kGaFfm = QStringLiteral("Gutachterausschuss für Immobilienwerte Frankfurt am Main");
const QString kQuelleMuc = QStringLiteral("Jahresbericht des Gutachterausschusses München 2002");
const QString kGaMuc = QStringLiteral("Gutachterausschuss im Bereich der Landeshauptstadt München");

void frankfurt(const Datenbank& db) {
    // One headline under two table numbers: the same survey continued in a
    // second table.
    const QString efhUeb = QStringLiteral("Freistehende Einfamilienhäuser - Weiterverkäufe");
    Veroeffentlichung efh1{"kaufpreise_fuer_freistehende_einfamilienhaeuser", kFfm, 1, efhUeb,
                           "Frankfurt am Main", kQuelleFfm, kGaFfm,
                           "Preise in Euro je Objekt einschließlich Grundstück."};
    zeile(db, efh1, 1, haus("2002", betraege(285000, 365000, 520000), "Nordend", "1950-1970", "400-600 m²", "120-150 m²"));
    zeile(db, efh1, 2, haus("2002", betraege(310000, 410000, 640000), "Sachsenhausen", "1970-1990", "500-700 m²", "140-180 m²"));
    zeile(db, efh1, 3, haus("2002", betraege(260000, 330000, 450000), "Bergen-Enkheim", "1950-1970", "500-800 m²", "110-140 m²", "wenige Verkäufe"));
    Veroeffentlichung efh2 = efh1;
    efh2.nr = 2;
    zeile(db, efh2, 1, haus("2003", betraege(295000, 372000, 535000), "Nordend", "1950-1970", "400-600 m²", "120-150 m²"));
    zeile(db, efh2, 2, haus("2003", betraege(320000, 425000, 655000), "Sachsenhausen", "1970-1990", "500-700 m²", "140-180 m²"));
    Veroeffentlichung efh3{"kaufpreise_fuer_freistehende_einfamilienhaeuser", kFfm, 3,
                           "Freistehende Einfamilienhäuser - Neubau (Erstverkauf)", "Frankfurt am Main", kQuelleFfm,
                           kGaFfm, kNull};
    zeile(db, efh3, 1, haus("2003", betraege(390000, 455000, 610000), "Riedberg", "ab 2000", "350-500 m²", "130-160 m²"));

    Veroeffentlichung dhh{"kaufpreise_fuer_doppelhaushaelften", kFfm, 1, "Doppelhaushälften - Weiterverkäufe",
                          "Frankfurt am Main", kQuelleFfm, kGaFfm, "Nur Objekte mit eigenem Grundstück."};
    zeile(db, dhh, 1, haus("2003", betraege(235000, 298000, 380000), "Bornheim", "1950-1970", "250-400 m²", "100-130 m²"));
    zeile(db, dhh, 2, haus("2003", betraege(255000, 318000, 405000), "Eschersheim", "1970-1990", "250-400 m²", "110-140 m²"));

    Veroeffentlichung rh{"kaufpreise_fuer_reihenhaeuser", kFfm, 1, "Reihenhäuser (Mittel- und Endhäuser)",
                         "Frankfurt am Main", kQuelleFfm, kGaFfm, "Endhäuser liegen etwa 5 % über dem Mittel."};
    zeile(db, rh, 1, haus("2003", betraege(198000, 246000, 310000), "Preungesheim", "1960-1980", "150-250 m²", "100-120 m²"));
    zeile(db, rh, 2, haus("2003", betraege(215000, 262000, 335000), "Nieder-Eschbach", "1980-2000", "180-280 m²", "110-130 m²"));

    Veroeffentlichung mfh{"kaufpreise_fuer_mehrfamilienhaeuser", kFfm, 1, "Mehrfamilienhäuser (Renditeobjekte)",
                          "Frankfurt am Main", kQuelleFfm, kGaFfm, "Kaufpreise je Objekt."};
    {
        Werte w{{"kaufjahr", "2003"}};
        w += betraege(620000, 980000, 1650000);
        w << qMakePair(QStringLiteral("stadtteil"), QVariant("Bockenheim"))
          << qMakePair(QStringLiteral("baujahr"), QVariant("vor 1949"))
          << qMakePair(QStringLiteral("anzahl_der_wohneinheiten"), QVariant("6-10"))
          << qMakePair(QStringLiteral("wohnflaeche"), QVariant("450-700 m²"))
          << qMakePair(QStringLiteral("bemerkung_datensatz"), kNull);
        zeile(db, mfh, 1, w);
        w[0].second = "2003";
        w[7].second = "Gallus";
        w[8].second = "1950-1970";
        w[9].second = "8-12";
        zeile(db, mfh, 2, w);
    }

    Veroeffentlichung etw{"kaufpreise_fuer_eigentumswohnungen", kFfm, 1, "Eigentumswohnungen - Weiterverkäufe",
                          "Frankfurt am Main", kQuelleFfm, kGaFfm, "Preise in Euro je m² Wohnfläche."};
    for (const auto& [nr, teil, bj, min, mit, max] :
         QList<std::tuple<int, QString, QString, double, double, double>>{
             {1, "Westend", "vor 1949", 2600, 3350, 4400},
             {2, "Nordend", "1950-1970", 1750, 2150, 2700},
             {3, "Höchst", "1970-1990", 1250, 1550, 1900}}) {
        Werte w{{"kaufjahr", "2003"}};
        w += betraege(min, mit, max);
        w << qMakePair(QStringLiteral("stadtteil"), QVariant(teil))
          << qMakePair(QStringLiteral("baujahr"), QVariant(bj))
          << qMakePair(QStringLiteral("wohnflaeche"), QVariant("60-100 m²"))
          << qMakePair(QStringLiteral("bemerkung_datensatz"), kNull);
        zeile(db, etw, nr, w);
    }

    Veroeffentlichung wohn{"mietwerte_fuer_wohnraum", kFfm, 1, "Nettokaltmieten für Wohnraum", "Frankfurt am Main",
                           "Mietspiegel Frankfurt am Main 2002", "Stadt Frankfurt am Main",
                           "Euro je m² Wohnfläche und Monat."};
    zeile(db, wohn, 1, miete("2002", betraege(6.20, 7.45, 8.90), "vor 1949", "40-60 m²", kNull, "einfach", "mittlere Lage"));
    zeile(db, wohn, 2, miete("2002", betraege(7.10, 8.35, 9.80), "1950-1977", "60-90 m²", kNull, "mittel", "gute Lage"));
    zeile(db, wohn, 3, miete("2002", betraege(8.60, 9.90, 11.75), "ab 1978", "60-90 m²", "mit Balkon", "gehoben", "gute Lage"));

    Veroeffentlichung gewerbe{"mietwerte_fuer_gewerbe", kFfm, 1, "Büromieten", "Frankfurt am Main", kQuelleFfm,
                              kGaFfm, "Euro je m² Nutzfläche und Monat, ohne Nebenkosten."};
    zeile(db, gewerbe, 1, miete("2003", betraege(11.00, 17.50, 26.00), "1970-1990", "200-500 m²", "Innenstadt", "mittel", kNull, false));
    zeile(db, gewerbe, 2, miete("2003", betraege(18.00, 28.50, 42.00), "ab 1990", "über 500 m²", "Bankenviertel", "gehoben", kNull, false));

    Veroeffentlichung si{"sonstige_indizes", kFfm, 1, "Preisindex für Eigentumswohnungen", "Frankfurt am Main",
                         kQuelleFfm, kGaFfm, "Basis 1995 = 100."};
    zeile(db, si, 1, {{"jahr", "2001"}, {"indexwert", 104.2}, {"basisjahr", "1995"}});
    zeile(db, si, 2, {{"jahr", "2002"}, {"indexwert", 106.8}, {"basisjahr", "1995"}});
    zeile(db, si, 3, {{"jahr", "2003"}, {"indexwert", 108.1}, {"basisjahr", "1995"}});

    Veroeffentlichung bpi{"baupreisindex", kFfm, 1, "Baupreisindex für Wohngebäude", "Hessen",
                          "Hessisches Statistisches Landesamt", "Hessisches Statistisches Landesamt",
                          "Basis 2000 = 100, Jahresdurchschnitte."};
    zeile(db, bpi, 1, {{"jahr", "2001"}, {"indexwert", 100.3}, {"basisjahr", "2000"}, {"bauwerksart", "Wohngebäude"}, {"bemerkung_datensatz", kNull}});
    zeile(db, bpi, 2, {{"jahr", "2002"}, {"indexwert", 100.5}, {"basisjahr", "2000"}, {"bauwerksart", "Wohngebäude"}, {"bemerkung_datensatz", kNull}});
    zeile(db, bpi, 3, {{"jahr", "2003"}, {"indexwert", 101.4}, {"basisjahr", "2000"}, {"bauwerksart", "Wohngebäude"}, {"bemerkung_datensatz", "vorläufig"}});

    Veroeffentlichung uk{"umrechnungskoeffizienten", kFfm, 1, "Umrechnungskoeffizienten für die GFZ",
                         "Frankfurt am Main", kQuelleFfm, kGaFfm, "Bezogen auf eine GFZ von 1,0."};
    zeile(db, uk, 1, {{"koeffizient", "GFZ 0,6"}, {"umrechnungsfaktor", 0.78}, {"art_des_koeffizients", "Geschossflächenzahl, Wohnbauland"}});
    zeile(db, uk, 2, {{"koeffizient", "GFZ 1,0"}, {"umrechnungsfaktor", 1.0}, {"art_des_koeffizients", "Geschossflächenzahl, Wohnbauland"}});
    zeile(db, uk, 3, {{"koeffizient", "GFZ 1,4"}, {"umrechnungsfaktor", 1.18}, {"art_des_koeffizients", "Geschossflächenzahl, Wohnbauland"}});

    Veroeffentlichung fu{"flaechenumsatz", kFfm, 1, "Flächenumsatz nach Teilmärkten", "Frankfurt am Main",
                         kQuelleFfm, kGaFfm, kNull};
    zeile(db, fu, 1, umsatz("2003", "flaechenumsatz_in_ha", 48.6, "unbebaute Grundstücke"));
    zeile(db, fu, 2, umsatz("2003", "flaechenumsatz_in_ha", 112.3, "bebaute Grundstücke"));
    zeile(db, fu, 3, umsatz("2003", "flaechenumsatz_in_ha", 160.9, "insgesamt"));

    Veroeffentlichung gu{"geldumsatz", kFfm, 1, "Geldumsatz nach Teilmärkten", "Frankfurt am Main", kQuelleFfm,
                         kGaFfm, kNull};
    zeile(db, gu, 1, umsatz("2003", "geldumsatz_in_mio_euro", 412.5, "unbebaute Grundstücke"));
    zeile(db, gu, 2, umsatz("2003", "geldumsatz_in_mio_euro", 2870.0, "bebaute Grundstücke", "ohne Paketverkäufe"));

    Veroeffentlichung adv{"anzahl_der_vertraege", kFfm, 1, "Anzahl der Kaufverträge", "Frankfurt am Main",
                          kQuelleFfm, kGaFfm, kNull};
    zeile(db, adv, 1, umsatz("2002", "vertraege", 5480, "insgesamt"));
    zeile(db, adv, 2, umsatz("2003", "vertraege", 5712, "insgesamt"));

    Veroeffentlichung lz{"liegenschaftszins", kFfm, 1, "Liegenschaftszinssätze", "Frankfurt am Main", kQuelleFfm,
                         kGaFfm, "Mittelwerte der Jahre 2001 bis 2003."};
    zeile(db, lz, 1, {{"jahr", "2003"}, {"lgz_fuer", "Mietwohnhäuser"}, {"baujahr", "vor 1949"}, {"lage", "mittlere Lage"}, {"zins_in_prozent", 4.5}, {"bemerkung_datensatz", kNull}});
    zeile(db, lz, 2, {{"jahr", "2003"}, {"lgz_fuer", "Büro- und Geschäftshäuser"}, {"baujahr", "ab 1970"}, {"lage", "Innenstadt"}, {"zins_in_prozent", 5.75}, {"bemerkung_datensatz", "geringe Stichprobe"}});
}

void muenchen(const Datenbank& db) {
    // Flats: a current table in euro, and an older one still kept in DM only.
    Veroeffentlichung neu{"kaufpreise_fuer_eigentumswohnungen", kMuc, 1,
                          "Eigentumswohnungen im Erstverkauf ('Neubau')", "Landeshauptstadt München", kQuelleMuc,
                          kGaMuc, "  Preise in Euro je m² Wohnfläche ohne Stellplatz.  "};
    for (const auto& [nr, teil, min, mit, max] : QList<std::tuple<int, QString, double, double, double>>{
             {1, "Altstadt-Lehel", 4800, 5650, 7200}, {2, "Schwabing", 3900, 4550, 5600}, {3, "Pasing", 2950, 3400, 3900}}) {
        Werte w{{"kaufjahr", "2002"}};
        w += betraege(min, mit, max);
        w << qMakePair(QStringLiteral("stadtteil"), QVariant(teil))
          << qMakePair(QStringLiteral("baujahr"), QVariant("2001-2002"))
          << qMakePair(QStringLiteral("wohnflaeche"), QVariant("60-100 m²"))
          << qMakePair(QStringLiteral("bemerkung_datensatz"), kNull);
        zeile(db, neu, nr, w);
    }
    Veroeffentlichung alt{"kaufpreise_fuer_eigentumswohnungen", kMuc, 2, "Eigentumswohnungen im Weiterverkauf 1999",
                          "Landeshauptstadt München", "Jahresbericht des Gutachterausschusses München 1999", kGaMuc,
                          "Die Beträge wurden in DM veröffentlicht."};
    for (const auto& [nr, teil, min, mit, max] : QList<std::tuple<int, QString, double, double, double>>{
             {1, "Schwabing", 5400, 6300, 7900}, {2, "Pasing", 4100, 4700, 5350}}) {
        Werte w{{"kaufjahr", "1999"}};
        w += betraege(kNull, kNull, kNull, min, mit, max);
        w << qMakePair(QStringLiteral("stadtteil"), QVariant(teil))
          << qMakePair(QStringLiteral("baujahr"), QVariant("1970-1990"))
          << qMakePair(QStringLiteral("wohnflaeche"), QVariant("60-100 m²"))
          << qMakePair(QStringLiteral("bemerkung_datensatz"), kNull);
        zeile(db, alt, nr, w);
    }

    Veroeffentlichung miete1{"mietwerte_fuer_wohnraum", kMuc, 1, "Mietspiegel für München 2003",
                             "Landeshauptstadt München", "Mietspiegel für München 2003", "Landeshauptstadt München",
                             "Nettomieten in Euro je m² und Monat."};
    zeile(db, miete1, 1, miete("2003", betraege(8.10, 9.60, 11.40), "vor 1949", "40-60 m²", kNull, "normal", "durchschnittliche Lage"));
    // An unknown maximum published as 0.
    zeile(db, miete1, 2, miete("2003", betraege(9.40, 11.20, 0), "ab 1990", "60-90 m²", "Höchstwert nicht ermittelt", "gut", "gute Lage"));
    Veroeffentlichung miete2{"mietwerte_fuer_wohnraum", kMuc, 2, "Mietspiegel für München 1998 (DM)",
                             "Landeshauptstadt München", "Mietspiegel für München 1998", "Landeshauptstadt München",
                             kNull};
    zeile(db, miete2, 1, miete("1998", betraege(kNull, kNull, kNull, 14.50, 17.20, 20.80), "vor 1949", "40-60 m²", kNull, "normal", "durchschnittliche Lage"));
    zeile(db, miete2, 2, miete("1998", betraege(0, 0, 0, 16.90, 19.40, kNull), "ab 1978", "60-90 m²", kNull, "gut", "gute Lage"));

    Veroeffentlichung lz{"liegenschaftszins", kMuc, 1, "Liegenschaftszinssätze", "Landeshauptstadt München",
                         kQuelleMuc, kGaMuc, kNull};
    zeile(db, lz, 1, {{"jahr", "2002"}, {"lgz_fuer", "Mietwohnhäuser"}, {"baujahr", "vor 1949"}, {"lage", "gute Lage"}, {"zins_in_prozent", 3.5}, {"bemerkung_datensatz", kNull}});
}

void kreise(const Datenbank& db) {
    // Landkreis Gießen: published for the whole district, not per municipality.
    const QString quelle = QStringLiteral("Grundstücksmarktbericht Landkreis Gießen 2003");
    const QString ga = QStringLiteral("Gutachterausschuss für den Bereich des Landkreises Gießen");
    Veroeffentlichung efh{"kaufpreise_fuer_freistehende_einfamilienhaeuser", kKreisGiessen, 1,
                          "Einfamilienhäuser im Landkreis", "Landkreis Gießen", quelle, ga,
                          "Kreisweite Mittelwerte; einzelne Gemeinden weichen ab."};
    zeile(db, efh, 1, haus("2003", betraege(145000, 198000, 265000), "Kernstädte", "1960-1980", "600-900 m²", "120-150 m²"));
    zeile(db, efh, 2, haus("2003", betraege(110000, 152000, 205000), "übrige Gemeinden", "1960-1980", "600-1000 m²", "110-140 m²"));
    Veroeffentlichung efhAlt{"kaufpreise_fuer_freistehende_einfamilienhaeuser", kKreisGiessen, 2,
                             "Einfamilienhäuser im Landkreis 2000 (DM)", "Landkreis Gießen",
                             "Grundstücksmarktbericht Landkreis Gießen 2000", ga, kNull};
    zeile(db, efhAlt, 1, haus("2000", betraege(kNull, kNull, kNull, 290000, 385000, 510000), "Kernstädte", "1960-1980", "600-900 m²", "120-150 m²"));

    Veroeffentlichung lz{"liegenschaftszins", kKreisGiessen, 1, "Liegenschaftszinssätze im Landkreis",
                         "Landkreis Gießen", quelle, ga, "Spanne der Jahre 2001 bis 2003."};
    zeile(db, lz, 1, {{"jahr", "2003"}, {"lgz_fuer", "Einfamilienhäuser"}, {"baujahr", "alle"}, {"lage", "alle Lagen"}, {"zins_in_prozent", 3.0}, {"bemerkung_datensatz", kNull}});
    zeile(db, lz, 2, {{"jahr", "2003"}, {"lgz_fuer", "Mietwohnhäuser"}, {"baujahr", "alle"}, {"lage", "alle Lagen"}, {"zins_in_prozent", 5.0}, {"bemerkung_datensatz", kNull}});

    // Region Hannover: turnover for the whole region, partly still in DM.
    const QString quelleH = QStringLiteral("Grundstücksmarktbericht Region Hannover 2002");
    const QString gaH = QStringLiteral("Gutachterausschuss für Grundstückswerte Hannover");
    Veroeffentlichung gu{"geldumsatz", kRegionHannover, 1, "Geldumsatz in der Region Hannover", "Region Hannover",
                         quelleH, gaH, kNull};
    zeile(db, gu, 1, {{"jahr", "2000"}, {"geldumsatz_in_mio_euro", kNull}, {"geldumsatz_in_mio_dm", 4210.0}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", "in DM erhoben"}});
    zeile(db, gu, 2, {{"jahr", "2001"}, {"geldumsatz_in_mio_euro", 2075.3}, {"geldumsatz_in_mio_dm", 4059.0}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", kNull}});
    zeile(db, gu, 3, {{"jahr", "2002"}, {"geldumsatz_in_mio_euro", 2140.8}, {"geldumsatz_in_mio_dm", kNull}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", kNull}});
    Veroeffentlichung adv{"anzahl_der_vertraege", kRegionHannover, 1, "Kaufverträge in der Region Hannover",
                          "Region Hannover", quelleH, gaH, kNull};
    zeile(db, adv, 1, umsatz("2001", "vertraege", 9850, "insgesamt"));
    zeile(db, adv, 2, umsatz("2002", "vertraege", 10120, "insgesamt"));
}

void stuttgart(const Datenbank& db) {
    const QString quelle = QStringLiteral("Grundstücksmarktbericht Stuttgart 2002");
    const QString ga = QStringLiteral("Gutachterausschuss für die Ermittlung von Grundstückswerten in Stuttgart");
    Veroeffentlichung gu{"geldumsatz", kStr, 1, "Geldumsatz", "Stadt Stuttgart", quelle, ga, kNull};
    zeile(db, gu, 1, {{"jahr", "1999"}, {"geldumsatz_in_mio_euro", 0.0}, {"geldumsatz_in_mio_dm", 5320.0}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", kNull}});
    zeile(db, gu, 2, {{"jahr", "2000"}, {"geldumsatz_in_mio_euro", kNull}, {"geldumsatz_in_mio_dm", 5480.0}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", kNull}});
    zeile(db, gu, 3, {{"jahr", "2002"}, {"geldumsatz_in_mio_euro", 2915.0}, {"geldumsatz_in_mio_dm", kNull}, {"teilmarkt_oder_insgesamt", "insgesamt"}, {"bemerkung", kNull}});
    Veroeffentlichung fu{"flaechenumsatz", kStr, 1, "Flächenumsatz", "Stadt Stuttgart", quelle, ga, kNull};
    zeile(db, fu, 1, umsatz("2002", "flaechenumsatz_in_ha", 95.4, "insgesamt"));
    Veroeffentlichung rh{"kaufpreise_fuer_reihenhaeuser", kStr, 1, "Reihenhäuser", "Stadt Stuttgart", quelle, ga,
                         "Mittelwerte aus mindestens fünf Verkäufen."};
    zeile(db, rh, 1, haus("2002", betraege(255000, 305000, 365000), "Degerloch", "1960-1980", "180-250 m²", "110-130 m²"));
    zeile(db, rh, 2, haus("2002", betraege(228000, 271000, 318000), "Feuerbach", "1960-1980", "150-220 m²", "100-120 m²"));
}

}  // namespace

void demoDatenMarkt(const Datenbank& db) {
    frankfurt(db);
    muenchen(db);
    kreise(db);
    stuttgart(db);
}

}  // namespace talu
