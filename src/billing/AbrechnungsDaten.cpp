#include "billing/AbrechnungsDaten.h"

#include <QHash>
#include <QSqlRecord>

#include "db/Datenbank.h"

namespace talu::abrechnung {

namespace {
// Well below the bound-value limits of SQL Server (2100) and the others.
constexpr int kBlock = 500;

qint64 ganz(const QVariant& v) { return v.isNull() ? 0 : v.toLongLong(); }
double zahl(const QVariant& v) { return v.isNull() ? 0.0 : v.toDouble(); }
QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }
bool istJaText(const QString& t) { return t.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0; }
}  // namespace

QString platzhalter(int n) {
    QString s;
    s.reserve(n * 3);
    for (int i = 0; i < n; ++i) s += i ? QStringLiteral(", ?") : QStringLiteral("?");
    return s;
}

void inBloecken(const QList<qint64>& ids, const std::function<void(const QList<qint64>&)>& f) {
    for (qsizetype i = 0; i < ids.size(); i += kBlock) f(ids.mid(i, kBlock));
}

QString istJa(const QString& spalte) { return spalte + QStringLiteral(" in ('ja', 'Ja', 'jA', 'JA')"); }

QList<ProtokollGruppe> leseOffeneGruppen(const Datenbank& db) {
    const Dialekt& d = db.dialekt();
    QList<ProtokollGruppe> gruppen;
    // The customer of each distinct log user is found once (a handful of
    // users against the customer table), and the rows join that small table
    // by their exact user text; the log's index serves the join.
    const QString sql =
        "select a.id, a.db_benutzer, u.kunde_id, a.preis, r.rechnungsnummer, r.offen from abfrageprotokoll a "
        "left join (select b.db_benutzer, min(k.id) as kunde_id from (select distinct db_benutzer from "
        "abfrageprotokoll where " + istJa("offen") + ") b join rechnungs_kunden k on " +
        d.ohneFall("k.benutzername") + " = " + d.ohneFall("b.db_benutzer") +
        " group by b.db_benutzer) u on u.db_benutzer = a.db_benutzer "
        "left join rechnungen r on r.rechnungsnummer = a.rechnungsnummer "
        "where " + istJa("a.offen") + " order by " + d.ohneFall("a.db_benutzer") + ", a.id";
    db.durchlaufe(sql, {}, [&](const QSqlRecord& r) {
        OffeneZeile z;
        z.id = ganz(r.value(0));
        const QString benutzer = text(r.value(1));
        const qint64 kunde = ganz(r.value(2));
        z.bepreist = zahl(r.value(3)) != 0;
        z.rechnung = ganz(r.value(4));
        z.rechnungOffen = z.rechnung != 0 && istJaText(text(r.value(5)));
        if (gruppen.isEmpty() || gruppen.last().kundeId != kunde ||
            (kunde == 0 && gruppen.last().dbBenutzer != benutzer))
            gruppen.append(ProtokollGruppe{kunde, benutzer, {}});
        gruppen.last().zeilen.append(z);
        return true;
    });
    return gruppen;
}

Kunde ladeKunde(const Datenbank& db, qint64 kundeId) {
    const Recordset rs =
        db.abfrage("select id, benutzername, name, zusatz, strasse, plz, ort from rechnungs_kunden where id = ?",
                   {kundeId});
    Kunde k;
    if (rs.leer()) return k;
    k.id = ganz(rs.feld("id"));
    k.benutzername = rs.text("benutzername");
    k.name = rs.text("name");
    k.zusatz = rs.text("zusatz");
    k.strasse = rs.text("strasse");
    k.plz = rs.text("plz");
    k.ort = rs.text("ort");
    return k;
}

QList<Posten> ladePosten(const Datenbank& db, const QList<qint64>& ids) {
    QHash<qint64, Posten> gelesen;
    gelesen.reserve(ids.size());
    inBloecken(ids, [&](const QList<qint64>& block) {
        Parameter p;
        for (qint64 id : block) p << id;
        db.durchlaufe("select id, datum, uhrzeit, vorgang, gemeindeschluessel, objekt, preis from abfrageprotokoll "
                      "where " + istJa("offen") + " and id in (" + platzhalter(int(block.size())) + ")",
                      p, [&](const QSqlRecord& r) {
                          Posten x;
                          x.id = ganz(r.value(0));
                          x.datum = alsDatum(r.value(1));
                          x.uhrzeit = text(r.value(2));
                          x.vorgang = text(r.value(3));
                          x.gemeindeschluessel = text(r.value(4));
                          x.objekt = text(r.value(5));
                          x.preis = zahl(r.value(6));
                          gelesen.insert(x.id, x);
                          return true;
                      });
    });
    QList<Posten> posten;
    posten.reserve(gelesen.size());
    for (qint64 id : ids) {
        const auto it = gelesen.constFind(id);
        if (it != gelesen.constEnd()) posten.append(*it);
    }
    return posten;
}

qint64 naechsteRechnungsnummer(const Datenbank& db, const QDate& heute) {
    const QVariant letzte = db.wert("select max(rechnungsnummer) from rechnungen" +
                                    db.dialekt().sperrendesLesen());
    if (letzte.isNull()) return qint64(heute.year()) * 1000 + 1;
    return letzte.toLongLong() + 1;
}

qint64 legeRechnungAn(const Datenbank& db, const QDate& heute, const QString& kundenName, double netto) {
    // A second run waits here until the first has committed its invoice.
    for (const QString& sql : db.dialekt().schreibsperre("rechnungen", "offen")) db.ausfuehren(sql);
    const qint64 nummer = naechsteRechnungsnummer(db, heute);
    db.einfuegen("rechnungen", {{"rechnungsnummer", nummer},
                                {"rechnungsdatum", heute},
                                {"kundenname", kundenName},
                                {"nettobetrag", netto},
                                {"steuer", netto * kSteuersatz},
                                {"bruttobetrag", netto * kBruttoFaktor},
                                {"offen", QStringLiteral("ja")},
                                {"zahlungsziel", heute.addDays(14)}});
    return nummer;
}

int nummeriere(const Datenbank& db, qint64 nummer, const QList<qint64>& ids) {
    int geschrieben = 0;
    inBloecken(ids, [&](const QList<qint64>& block) {
        Parameter p{nummer};
        for (qint64 id : block) p << id;
        geschrieben += db.ausfuehren(
            "update abfrageprotokoll set rechnungsnummer = ? where id in (" + platzhalter(int(block.size())) +
                ") and " + istJa("offen") +
                " and (rechnungsnummer is null or not exists (select 1 from rechnungen r where r.rechnungsnummer "
                "= abfrageprotokoll.rechnungsnummer))",
            p);
    });
    return geschrieben;
}

GespeicherteRechnung ladeRechnung(const Datenbank& db, qint64 nummer) {
    const Recordset rs = db.abfrage(
        "select rechnungsnummer, rechnungsdatum, zahlungsziel, kundenname, nettobetrag, offen from rechnungen "
        "where rechnungsnummer = ?",
        {nummer});
    GespeicherteRechnung r;
    if (rs.leer()) return r;
    r.gefunden = true;
    r.nummer = ganz(rs.feld("rechnungsnummer"));
    r.datum = alsDatum(rs.feld("rechnungsdatum"));
    r.zahlungsziel = alsDatum(rs.feld("zahlungsziel"));
    r.kundenName = rs.text("kundenname");
    r.netto = zahl(rs.feld("nettobetrag"));
    r.offen = istJaText(rs.text("offen"));
    return r;
}

int schliesseZeilen(const Datenbank& db, const QString& flagSpalte, const QList<qint64>& ids) {
    // The column name is one of two fixed names, never operator input.
    if (flagSpalte != QLatin1String("offen") && flagSpalte != QLatin1String("offen_gutachter"))
        throw DbFehler(QStringLiteral("Unbekannte Spalte"), flagSpalte);
    int geaendert = 0;
    Transaktion t(db);
    inBloecken(ids, [&](const QList<qint64>& block) {
        Parameter p;
        for (qint64 id : block) p << id;
        geaendert += db.ausfuehren("update abfrageprotokoll set " + flagSpalte + " = 'nein' where " + istJa(flagSpalte) +
                                       " and id in (" + platzhalter(int(block.size())) + ")",
                                   p);
    });
    t.bestaetige();
    return geaendert;
}

QList<OffeneRechnung> leseOffeneRechnungen(const Datenbank& db) {
    QList<OffeneRechnung> l;
    db.durchlaufe("select rechnungsnummer, rechnungsdatum, kundenname, bruttobetrag from rechnungen "
                  "where " + istJa("offen") + " order by rechnungsnummer",
                  {}, [&](const QSqlRecord& r) {
                      l.append({ganz(r.value(0)), alsDatum(r.value(1)), text(r.value(2)), zahl(r.value(3))});
                      return true;
                  });
    return l;
}

QList<GutachterAnteil> leseGutachterAnteile(const Datenbank& db) {
    QList<GutachterAnteil> l;
    db.durchlaufe("select id, datum, gemeindeschluessel, preis_gutachter from abfrageprotokoll "
                  "where " + istJa("offen_gutachter") + " order by gemeindeschluessel, id",
                  {}, [&](const QSqlRecord& r) {
                      l.append({ganz(r.value(0)), alsDatum(r.value(1)), text(r.value(2)), zahl(r.value(3))});
                      return true;
                  });
    return l;
}

}  // namespace talu::abrechnung
