#include "db/Schema.h"

#include "db/Datenbank.h"
#include "db/Dialekt.h"

namespace talu {

const Spalte* Tabelle::spalte(const QString& n) const {
    for (const Spalte& s : spalten)
        if (s.name.compare(n, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

QList<Tabelle> schema() {
    QList<Tabelle> alle = tabellenBasis();
    alle += tabellenOrt();
    alle += tabellenMarkt();
    return alle;
}

const Tabelle* findeTabelle(const QString& name) {
    static const QList<Tabelle> alle = schema();
    for (const Tabelle& t : alle)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

QStringList ddl(const Tabelle& t, const Dialekt& d) {
    QStringList spalten;
    for (const Spalte& s : t.spalten) {
        QString typ;
        switch (s.typ) {
            case Typ::Id: typ = d.idSpalte(); break;
            case Typ::Text: typ = d.textTyp(s.laenge); break;
            case Typ::Ganzzahl: typ = d.ganzzahlTyp(); break;
            case Typ::Zahl: typ = d.zahlTyp(); break;
            case Typ::Datum: typ = d.datumTyp(); break;
            case Typ::Suchtext: typ = d.suchtextTyp(s.laenge, s.quelle); break;
        }
        QString zeile = s.name + " " + typ;
        if (!s.vorgabe.isEmpty()) zeile += " default " + s.vorgabe;
        spalten << zeile;
    }
    QStringList anweisungen;
    anweisungen << "create table " + t.name + " (" + spalten.join(", ") + ")";
    anweisungen += indexDdl(t, d);
    anweisungen += suchspaltenPflegeDdl(t, d);
    return anweisungen;
}

QStringList suchspaltenPflegeDdl(const Tabelle& t, const Dialekt& d) {
    QStringList anweisungen;
    for (const Spalte& s : t.spalten)
        if (s.typ == Typ::Suchtext) anweisungen += d.suchspaltenPflege(t.name, s.quelle, s.name);
    return anweisungen;
}

QStringList indexDdl(const Tabelle& t, const Dialekt& d) {
    QStringList anweisungen;
    for (const Index& i : t.indexe) {
        QStringList teile;
        for (const QString& a : i.ausdruecke) {
            const Spalte* s = t.spalte(a);
            teile << (s && s->typ == Typ::Suchtext ? d.suchIndexSpalte(a) : a);
        }
        anweisungen << QString("create %1index %2 on %3 (%4)")
                           .arg(i.eindeutig ? "unique " : "", i.name, t.name, teile.join(", "));
    }
    return anweisungen;
}

QStringList ddl(const Dialekt& d) {
    QStringList alle;
    for (const Tabelle& t : schema()) alle += ddl(t, d);
    return alle;
}

void legeSchemaAn(const Datenbank& db) {
    Transaktion t(db);
    for (const QString& a : ddl(db.dialekt())) db.ausfuehren(a);
    legePostgresIndexeAn(db);
    t.bestaetige();
}

bool legePostgresIndexeAn(const Datenbank& db) {
    if (db.backend() != Backend::PostgreSQL) return false;
    // Each in a savepoint of its own: one that cannot be made (no right to
    // create it, extension missing) undoes nothing else; the statements then
    // read the tables as before, with the same rows.
    // The customers by their folded login, for the query log's join (the
    // server's own lower(), so no other client computes it differently).
    try {
        Transaktion t(db);
        db.ausfuehren("create index if not exists ix_rechnungs_kunden_klein on rechnungs_kunden (lower(benutzername))");
        t.bestaetige();
    } catch (const DbFehler&) {
    }
    // The query log in the grid's order: a jump reads its page along this
    // index instead of sorting every row after the jump's date.
    try {
        Transaktion t(db);
        db.ausfuehren("create index if not exists ix_abfrageprotokoll_raster on abfrageprotokoll (datum, db_benutzer, id)");
        t.bestaetige();
    } catch (const DbFehler&) {
    }
    try {
        Transaktion t(db);
        if (db.wert("select count(*) from pg_extension where extname = ?", {QStringLiteral("pg_trgm")}).toInt() == 0) {
            if (db.wert("select count(*) from pg_available_extensions where name = ?", {QStringLiteral("pg_trgm")})
                    .toInt() == 0)
                return false;
            db.ausfuehren("create extension if not exists pg_trgm");
        }
        db.ausfuehren("create index if not exists ix_ortsnamen_ort_teil on ortsnamen using gin (ort_suche gin_trgm_ops)");
        t.bestaetige();
        return true;
    } catch (const DbFehler&) {
        return false;
    }
}

}  // namespace talu
