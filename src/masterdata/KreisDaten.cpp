#include "masterdata/KreisDaten.h"

#include "app/Formen.h"
#include "app/modPublics.h"
#include "db/Datenbank.h"

namespace talu {

Recordset KreisDaten::suche(const QString& teil) const {
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

double KreisDaten::speichere(double id, const QString& name) const {
    const QString fehlt = nameFehlt(name);
    if (!fehlt.isEmpty()) throw DbFehler("Kreis ohne Namen", fehlt);
    Transaktion t(m_db);
    qint64 neu = qint64(id);
    if (neu == 0) {
        neu = m_db.einfuegen("kreis", {{"kreis", name}});
    } else if (m_db.aendern("kreis", neu, {{"kreis", name}}) == 0) {
        throw DbFehler("Kreis nicht gefunden", "Den Kreis mit der Nummer " + QString::number(neu) +
                                                   " gibt es nicht mehr.");
    }
    // The search lists kreise; its row carries the same id.
    if (m_db.aendern("kreise", neu, {{"kreis", name}}) == 0)
        m_db.ausfuehren("insert into kreise (id, kreis) values (?, ?)", {neu, name});
    t.bestaetige();
    return double(neu);
}

KreisSuchErgebnis sucheKreis(const QString& text) {
    Publics& p = publics();
    // A pick whose place form is gone is no pick any more.
    if (p.AuswahlFuerStadtMaske && !formen::vorhanden(QStringLiteral("frmStadtMaske"))) p.AuswahlFuerStadtMaske = false;
    KreisSuchErgebnis e;
    if (text.trimmed().isEmpty()) {
        e.art = KreisSuchErgebnis::Leer;
        e.meldung = QStringLiteral(
            "Das Datenfeld 'Name des Kreises' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt keine "
            "Suche in der Datenbank.");
        return e;
    }
    p.RsKreise = KreisDaten(p.Verbindung).suche(text);
    if (p.RsKreise.leer()) {
        p.RsKreise.schliessen();
        e.art = KreisSuchErgebnis::KeinTreffer;
        e.meldung = QStringLiteral("Kein Treffer mit diesem Namen in der Datenbank!");
        return e;
    }
    p.RsKreise.moveFirst();
    if (p.RsKreise.anzahl() == 1 && !p.AuswahlFuerStadtMaske) {
        e.art = KreisSuchErgebnis::EinTreffer;
        e.id = p.RsKreise.zahl("id");
        return e;
    }
    e.art = KreisSuchErgebnis::MehrereTreffer;
    return e;
}

}  // namespace talu
