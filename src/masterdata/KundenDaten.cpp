#include "masterdata/KundenDaten.h"

#include "kit/modPublics.h"
#include "billing/AbrechnungsDaten.h"
#include "db/Datenbank.h"
#include "db/Schema.h"
#include "masterdata/MaskenDaten.h"

namespace talu {

namespace {

const QString kTabelle = QStringLiteral("rechnungs_kunden");

int laengeVon(const char* spalte) {
    const Tabelle* t = findeTabelle(kTabelle);
    const Spalte* s = t ? t->spalte(QString::fromLatin1(spalte)) : nullptr;
    return s ? s->laenge : 0;
}

// A text longer than its column is cut, not refused, as in the other masks.
Bindung gekuerzt(int index, const char* spalte) {
    const int laenge = laengeVon(spalte);
    return Bindung{
        BoxPlatz{0, index}, QString::fromLatin1(spalte), nullAlsLeerText,
        [laenge](const QString& t) -> std::optional<QVariant> { return QVariant(laenge > 0 ? t.left(laenge) : t); }};
}

QString anzahlText(int n, const QString& eins, const QString& mehrere) {
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? eins : mehrere);
}

}  // namespace

const Bindungen& KundenDaten::bindungen() {
    static const Bindungen b{
        gekuerzt(0, "benutzername"), gekuerzt(1, "name"), gekuerzt(2, "zusatz"),
        gekuerzt(3, "strasse"),      gekuerzt(4, "plz"),  gekuerzt(5, "ort"),
    };
    return b;
}

const QStringList& KundenDaten::feldTexte() {
    static const QStringList t{
        QStringLiteral("Benutzername:"), QStringLiteral("Name:"),      QStringLiteral("Zusatz:"),
        QStringLiteral("Strasse:"),      QStringLiteral("PLZ / Ort:"), QString(),
    };
    return t;
}

Recordset KundenDaten::suche(const QString& teil) const {
    if (!Dialekt::suchbar(teil)) return {};
    const Dialekt& d = m_db.dialekt();
    const QString muster = Dialekt::enthaelt(teil);
    return m_db.abfrage("select id, name, benutzername, plz, ort from rechnungs_kunden where " +
                            d.likeOhneFall(QStringLiteral("name")) + " or " +
                            d.likeOhneFall(QStringLiteral("benutzername")) + " order by name, id",
                        {muster, muster});
}

QStringList KundenDaten::lade(double id, bool* gefunden) const {
    return MaskenDaten(m_db, kTabelle, bindungen(), kFelder).lade(id, gefunden);
}

double KundenDaten::speichere(double id, const QStringList& texte) const {
    const Bindung* b = bindungen().von(BoxPlatz{0, 0});
    const QString benutzer = b->speichern(texte.value(0))->toString();
    // Without a user name no log row is ever billed to the customer.
    if (benutzer.trimmed().isEmpty())
        throw Abgelehnt(
            QStringLiteral("Das Datenfeld 'Benutzername' ist ein Mussfeld! Ohne dass es ausgefuellt "
                           "ist, wird nicht gespeichert."));
    const Dialekt& d = m_db.dialekt();
    Transaktion t(m_db);
    // Two operators saving the same user name at once: the second waits and then sees the first.
    for (const QString& sql : d.schreibsperre(kTabelle, QStringLiteral("benutzername"))) m_db.ausfuehren(sql);
    const Recordset anderer =
        m_db.abfrage("select id, name from rechnungs_kunden" + d.sperrendesLesen() + " where " +
                         d.gleichOhneFall(QStringLiteral("benutzername")) + " and id <> ? order by id",
                     {benutzer, qint64(id)});
    if (!anderer.leer())
        throw Abgelehnt(QStringLiteral("Der Benutzername „%1“ gehört schon dem Kunden „%2“ (Kunden-Nummer %3). "
                                       "Ein Benutzername kann nur zu einem Kunden gehören; der Datensatz wurde "
                                       "nicht gespeichert.")
                            // One pass: a name holding "%3" stays as it is.
                            .arg(benutzer, anderer.text(QStringLiteral("name")),
                                 QString::number(qint64(anderer.zahl(QStringLiteral("id"))))));
    const double nr = MaskenDaten(m_db, kTabelle, bindungen(), kFelder).speichere(id, texte);
    t.bestaetige();
    return nr;
}

void KundenDaten::loesche(double id) const {
    const Dialekt& d = m_db.dialekt();
    Transaktion t(m_db);
    for (const QString& sql : d.schreibsperre(kTabelle, QStringLiteral("benutzername"))) m_db.ausfuehren(sql);
    const Recordset kunde = m_db.abfrage(
        "select name, benutzername from rechnungs_kunden" + d.sperrendesLesen() + " where id = ?", {qint64(id)});
    if (kunde.leer())
        throw Abgelehnt(QStringLiteral("Den Kunden mit der Nummer %1 gibt es nicht mehr.").arg(qint64(id)));
    const QString benutzer = kunde.text(QStringLiteral("benutzername"));

    // The spellings under which the log holds the user, matched as the
    // invoice run matches them; folded once per distinct user, not per row,
    // and then found through the log's index.
    QVariantList schreibweisen;
    const Recordset rs = m_db.abfrage("select db_benutzer from abfrageprotokoll group by db_benutzer having " +
                                          d.gleichOhneFall(QStringLiteral("db_benutzer")),
                                      {benutzer});
    for (const QSqlRecord& z : rs.zeilen()) schreibweisen << z.value(0);
    int rechnungen = 0, offene = 0;
    if (!schreibweisen.isEmpty()) {
        const QString in = " in (" + abrechnung::platzhalter(int(schreibweisen.size())) + ")";
        // Invoices reach their customer only through the log rows they billed.
        rechnungen = m_db.wert("select count(*) from rechnungen where rechnungsnummer in (select rechnungsnummer from "
                               "abfrageprotokoll where db_benutzer" + in + ")",
                               schreibweisen)
                         .toInt();
        offene = m_db.wert("select count(*) from abfrageprotokoll where " + abrechnung::istJa("offen") +
                               " and db_benutzer" + in,
                           schreibweisen)
                     .toInt();
    }
    if (rechnungen > 0 || offene > 0) {
        QStringList gruende;
        if (rechnungen > 0) gruende << anzahlText(rechnungen, QStringLiteral("Rechnung"), QStringLiteral("Rechnungen"));
        if (offene > 0)
            gruende << anzahlText(offene, QStringLiteral("offene Abfrage"), QStringLiteral("offene Abfragen"));
        throw Abgelehnt(QStringLiteral("Der Kunde „%1“ kann nicht gelöscht werden: Zu seinem Benutzernamen „%2“ "
                                       "gibt es noch %3.")
                            .arg(kunde.text(QStringLiteral("name")), benutzer, gruende.join(QStringLiteral(" und "))));
    }
    m_db.ausfuehren("delete from rechnungs_kunden where id = ?", {qint64(id)});
    t.bestaetige();
}

QString KundenDaten::listenZeile(const Recordset& rs) {
    return talu::listenZeile({rs.text(QStringLiteral("name")), rs.text(QStringLiteral("benutzername")),
                              rs.text(QStringLiteral("plz")), rs.text(QStringLiteral("ort"))},
                             {20, 15, 5, 20});
}

Suchergebnis sucheKundenDatensatz(const QString& text) {
    Publics& p = publics();
    return sucheDatensaetze(
        p.RsKunden, text,
        QStringLiteral("Das Datenfeld 'Name oder Benutzername' ist ein Mussfeld! Ohne dass es ausgefuellt ist, "
                       "erfolgt keine Suche in der Datenbank."),
        [&](const QString& t) { return KundenDaten(p.Verbindung).suche(t); });
}

}  // namespace talu
