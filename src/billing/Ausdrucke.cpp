#include "billing/Ausdrucke.h"

#include "billing/AbrechnungsDaten.h"
#include "billing/Bediener.h"
#include "billing/PdfAusgabe.h"
#include "billing/Rechnungslauf.h"
#include "db/Datenbank.h"

namespace talu::abrechnung {

namespace {

// Puts the document out; false after telling the operator why not.
bool gibAus(druck::Druckziel& ziel, Bediener& bediener, const druck::Druckdokument& dok, AusdruckErgebnis& e,
            const QString& was) {
    try {
        const druck::DruckErgebnis aus = ziel.gibAus(dok);
        e.ausgegeben = true;
        e.gedruckt = aus.gedruckt;
        e.pdfPfad = aus.pdfPfad;
        return true;
    } catch (const druck::DruckFehler& f) {
        e.fehler = f.text();
        bediener.fehler(was + QStringLiteral(" konnte nicht ausgegeben werden:\n") + f.text());
        return false;
    }
}

}  // namespace

AusdruckErgebnis druckeRechnungsliste(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener,
                                      const QDate& heute) {
    AusdruckErgebnis e;
    QList<OffeneRechnung> offene;
    try {
        offene = leseOffeneRechnungen(db);
    } catch (const DbFehler& f) {
        e.fehler = f.kurz();
        bediener.fehler(QStringLiteral("Die offenen Rechnungen konnten nicht gelesen werden."), f.serverText());
        return e;
    }
    if (offene.isEmpty()) {
        e.leer = true;
        bediener.info(QStringLiteral("Es sind keine offenen Rechnungen vorhanden!"));
        return e;
    }
    e.zeilen = int(offene.size());
    // The sum is that of the listed rows, so the list always adds up.
    if (!gibAus(ziel, bediener, rechnungslisteDokument(offene, heute), e, QStringLiteral("Die Liste der Rechnungen")))
        return e;
    if (e.gedruckt)
        bediener.info(QStringLiteral("Die Liste der Rechnungen wurde gedruckt!"));
    else
        bediener.info(QStringLiteral("Die Liste der Rechnungen wurde als PDF-Datei gespeichert:\n") + e.pdfPfad);
    return e;
}

AusdruckErgebnis gutachterKontrollAusdruck(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener,
                                           const QDate& heute) {
    AusdruckErgebnis e;
    QList<GutachterAnteil> anteile;
    try {
        anteile = leseGutachterAnteile(db);
    } catch (const DbFehler& f) {
        e.fehler = f.kurz();
        bediener.fehler(QStringLiteral("Die offenen Gutachter-Anteile konnten nicht gelesen werden."), f.serverText());
        return e;
    }
    if (anteile.isEmpty()) {
        e.leer = true;
        bediener.info(QStringLiteral("Es sind keine offenen Gutachter-Überweisungen vorhanden!"));
        return e;
    }
    e.zeilen = int(anteile.size());
    // Total and subtotals are those of the listed rows.
    if (!gibAus(ziel, bediener, gutachterDokument(anteile, heute), e, QStringLiteral("Der Gutachter-Kontroll-Ausdruck")))
        return e;
    e.gefragt = true;
    const QString frage =
        e.gedruckt ? Rechnungslauf::frageGedruckt()
                   : QStringLiteral("Der Gutachter-Kontroll-Ausdruck wurde als PDF-Datei gespeichert:\n%1\n"
                                    "Sollen die Rechnungen als abgeschlossen markiert werden?")
                         .arg(e.pdfPfad);
    if (!bediener.frage(frage)) return e;
    QList<qint64> ids;
    ids.reserve(anteile.size());
    for (const GutachterAnteil& a : anteile) ids << a.id;
    try {
        e.geschlossen = schliesseZeilen(db, QStringLiteral("offen_gutachter"), ids);
    } catch (const DbFehler& f) {
        e.fehler = f.kurz();
        bediener.fehler(QStringLiteral("Die Merker der offenen Rechnungen konnten nicht zurück gesetzt werden; "
                                       "die Anteile bleiben offen."),
                        f.serverText());
        return e;
    }
    bediener.info(Rechnungslauf::zurueckgesetztText());
    return e;
}

QString nochNichtRealisiertText() { return QStringLiteral("Diese Funktion ist noch nicht realisiert!"); }

void mahnendeRechnungenDrucken(Bediener& bediener) { bediener.info(nochNichtRealisiertText()); }

}  // namespace talu::abrechnung
