#include "tools/Durchschnittswerte.h"

#include "db/Datenbank.h"

namespace talu::pflege {

const EbenenAngaben& angaben(Ebene e) {
    static const EbenenAngaben orte{QStringLiteral("Durchschnittswerte: Orte"), QStringLiteral("ortsnamen"),
                                    QStringLiteral("gemeindeschluessel"), 8};
    static const EbenenAngaben kreise{QStringLiteral("Durchschnittswerte: Kreise"), QStringLiteral("kreis"),
                                      QStringLiteral("kenn"), 5};
    static const EbenenAngaben regbez{QStringLiteral("Durchschnittswerte: Regierungsbezirke"),
                                      QStringLiteral("regbez"), QStringLiteral("kenn"), 3};
    static const EbenenAngaben laender{QString::fromUtf8("Durchschnittswerte: Bundesländer"),
                                       QStringLiteral("bundeslaender"), QStringLiteral("kenn"), 2};
    switch (e) {
        case Ebene::Orte: return orte;
        case Ebene::Kreise: return kreise;
        case Ebene::Regierungsbezirke: return regbez;
        case Ebene::Bundeslaender: return laender;
    }
    return orte;
}

QString nutzungsklasse(const Dialekt& d) {
    // "like 'w%'" alone would differ: SQLite's LIKE ignores the case of ASCII
    // letters and SQL Server's collation ignores case, so "W..." counts as
    // residential there, while PostgreSQL's LIKE compares case-sensitively.
    // The built-in lower() of the first letter gives every backend the rule
    // of the first two.
    return "lower(" + d.teilText("bauliche_nutzung", 1, 1) + ")";
}

QString durchschnittFertigText() { return QStringLiteral("Fertig!"); }

namespace {

// One grouped pass: the three averages per key of the given length.
QString gruppiert(const Dialekt& d, int stellen) {
    const QString schluessel =
        stellen >= 8 ? QStringLiteral("gemeindeschluessel") : d.teilText("gemeindeschluessel", 1, stellen);
    const QString k = nutzungsklasse(d);
    auto mittel = [&](const char* klasse) {
        return QString("avg(case when %1 = '%2' then richtwert_tatsaechlich end)").arg(k, QLatin1String(klasse));
    };
    return QString("select %1 as schluessel, %2 as w, %3 as m, %4 as g from grundstuecke group by %1")
        .arg(schluessel, mittel("w"), mittel("m"), mittel("g"));
}

}  // namespace

void DurchschnittAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Dialekt& d = db.dialekt();
    const EbenenAngaben& a = angaben(m_ebene);
    k.melde(0, 2, a.menue);
    if (m_ebene == Ebene::Orte) {
        // The first place of a key is its lowest id; the averages of a key are computed once.
        db.ausfuehren(
            "update ortsnamen set "
            "wohn = case when ortsnamen.id = a.erster then a.w when a.w > 0 then a.w end, "
            "misch = case when ortsnamen.id = a.erster then a.m when a.m > 0 then a.m end, "
            "gewerbe = case when ortsnamen.id = a.erster then a.g when a.g > 0 then a.g end "
            "from (select o.schluessel, o.erster, g.w, g.m, g.g from "
            "(select gemeindeschluessel as schluessel, min(id) as erster from ortsnamen "
            "where gemeindeschluessel is not null group by gemeindeschluessel) o "
            "left join (" + gruppiert(d, 8) + ") g on g.schluessel = o.schluessel) a "
            "where ortsnamen.gemeindeschluessel = a.schluessel");
        k.pruefeAbbruch();
        k.melde(1, 2, a.menue);
        // No plot can belong to a place without a key.
        db.ausfuehren("update ortsnamen set wohn = null, misch = null, gewerbe = null "
                      "where gemeindeschluessel is null");
    } else {
        const QString t = a.tabelle;
        db.ausfuehren(QString("update %1 set wohn = coalesce(a.w, %1.wohn), misch = coalesce(a.m, %1.misch), "
                              "gewerbe = coalesce(a.g, %1.gewerbe) from (%2) a where %1.%3 = a.schluessel")
                          .arg(t, gruppiert(d, a.stellen), a.schluessel));
        k.melde(1, 2, a.menue);
    }
    k.pruefeAbbruch();
    k.melde(2, 2, a.menue);
}

}  // namespace talu::pflege
