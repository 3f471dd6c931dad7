#include "masterdata/KreisDaten.h"

#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "db/Dialekt.h"
#include "db/Schema.h"

namespace talu {

Recordset KreisDaten::suche(const QString& teil) const {
    if (!Dialekt::suchbar(teil)) return {};
    const Dialekt& d = m_db.dialekt();
    return m_db.abfrage("select id, kreis from kreise where " + d.likeOhneFall("kreis") + " order by kreis, id",
                        {Dialekt::enthaelt(teil)});
}

Recordset KreisDaten::kreiseZeile(double id) const {
    return m_db.abfrage("select id, kreis from kreise where id = ?", {qint64(id)});
}

QString KreisDaten::name(double id, bool* gefunden) const {
    const Recordset rs = m_db.abfrage("select kreis from kreis where id = ?", {qint64(id)});
    if (gefunden) *gefunden = !rs.eof();
    return rs.eof() ? QString() : rs.text("kreis");
}

QString KreisDaten::nameFehlt(const QString& name) {
    if (!name.trimmed().isEmpty()) return {};
    return QStringLiteral(
        "Das Datenfeld 'Name des Kreis' ist ein Mussfeld! Ohne dass es ausgefuellt ist, wird nicht gespeichert.");
}

void KreisDaten::kreiseZeileAnlegen(qint64 id, const QString& name) const {
    // A kreise row under this id belongs to another district: taking it over
    // would rename that district in the search.
    if (m_db.wert("select count(*) from kreise where id = ?", {id}).toInt() > 0)
        throw DbFehler("Kreis-Nummer belegt", "Die Kreisliste (Tabelle kreise) führt die Nummer " +
                                                  QString::number(id) +
                                                  " schon für einen anderen Kreis; der Kreis wurde nicht angelegt.");
    const EigeneId e = eigeneIdAnweisungen(m_db.dialekt(), QStringLiteral("kreise"));
    for (const QString& s : e.vorher) m_db.ausfuehren(s);
    try {
        m_db.einfuegen("kreise", {{"id", id}, {"kreis", name}});
    } catch (...) {
        // The insert's own failure is the one to report.
        for (const QString& s : e.immer) {
            try {
                m_db.ausfuehren(s);
            } catch (const DbFehler&) {
            }
        }
        throw;
    }
    for (const QString& s : e.immer) m_db.ausfuehren(s);
    for (const EigeneId::Anweisung& a : e.danach) m_db.ausfuehren(a.sql, a.werte);
}

double KreisDaten::speichere(double id, const QString& ganzerName) const {
    // Both tables hold the name in a column of stated length: a longer text
    // keeps its beginning, as in the other masks (a server would refuse it whole).
    const Tabelle* kreis = findeTabelle(QStringLiteral("kreis"));
    int laenge = 0;
    for (const Spalte& s : kreis ? kreis->spalten : QList<Spalte>())
        if (s.name == QLatin1String("kreis")) laenge = s.laenge;
    const QString name = laenge > 0 ? ganzerName.left(laenge) : ganzerName;
    const QString fehlt = nameFehlt(name);
    if (!fehlt.isEmpty()) throw DbFehler("Kreis ohne Namen", fehlt);
    Transaktion t(m_db);
    qint64 nr = qint64(id);
    if (nr == 0) {
        nr = m_db.einfuegen("kreis", {{"kreis", name}});
        // The search lists kreise and hands its id to the mask: same id in both tables.
        kreiseZeileAnlegen(nr, name);
    } else {
        if (m_db.aendern("kreis", nr, {{"kreis", name}}) == 0)
            throw DbFehler("Kreis nicht gefunden", "Den Kreis mit der Nummer " + QString::number(nr) +
                                                       " gibt es nicht mehr.");
        if (m_db.aendern("kreise", nr, {{"kreis", name}}) == 0) kreiseZeileAnlegen(nr, name);
    }
    t.bestaetige();
    return double(nr);
}

Suchergebnis sucheKreis(const QString& text, bool stadtMaskeOffen) {
    Publics& p = publics();
    // A pick whose place form is gone is no pick any more.
    if (p.AuswahlFuerStadtMaske && !stadtMaskeOffen) p.AuswahlFuerStadtMaske = false;
    Suchergebnis e;
    if (text.trimmed().isEmpty()) {
        e.art = Suchergebnis::Leer;
        e.meldung = QStringLiteral(
            "Das Datenfeld 'Name des Kreises' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt keine "
            "Suche in der Datenbank.");
        return e;
    }
    p.RsKreise = KreisDaten(p.Verbindung).suche(text);
    if (p.RsKreise.leer()) {
        p.RsKreise.schliessen();
        e.art = Suchergebnis::KeinTreffer;
        e.meldung = QStringLiteral("Kein Treffer mit diesem Namen in der Datenbank!");
        return e;
    }
    p.RsKreise.moveFirst();
    if (p.RsKreise.anzahl() == 1 && !p.AuswahlFuerStadtMaske) {
        e.art = Suchergebnis::EinTreffer;
        e.id = p.RsKreise.zahl("id");
        return e;
    }
    e.art = Suchergebnis::MehrereTreffer;
    return e;
}

}  // namespace talu
