#include "billing/Rechnungslauf.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "billing/AbrechnungsDaten.h"
#include "billing/Bediener.h"
#include "billing/PdfAusgabe.h"
#include "db/Datenbank.h"

namespace talu::abrechnung {

namespace {

// Attempts at a number when another connection holds the invoice table.
constexpr int kVersuche = 5;

// Why a customer's invoice could not be completed.
struct Abbruch {
    QString grund;
    QString details;
};

QString ordnerVon(const QList<ErstellteRechnung>& l) {
    for (const ErstellteRechnung& r : l)
        if (!r.pdfPfad.isEmpty() && !r.gedruckt) return QFileInfo(r.pdfPfad).absolutePath();
    return {};
}

}  // namespace

QString nummernListe(const QList<qint64>& nummern) {
    QStringList teile;
    for (int i = 0; i < nummern.size();) {
        int j = i;
        while (j + 1 < nummern.size() && nummern.at(j + 1) == nummern.at(j) + 1) ++j;
        if (j == i) teile << QString::number(nummern.at(i));
        else if (j == i + 1) teile << QString::number(nummern.at(i)) << QString::number(nummern.at(j));
        else teile << QString::number(nummern.at(i)) + QStringLiteral(" bis ") + QString::number(nummern.at(j));
        i = j + 1;
    }
    return teile.join(QStringLiteral(", "));
}

Rechnungslauf::Rechnungslauf(const Datenbank& db, druck::Druckziel& ziel, Bediener& bediener)
    : m_db(db), m_ziel(ziel), m_bediener(bediener) {}

QString Rechnungslauf::frageGedruckt() {
    return QStringLiteral(
        "Die Rechnungen wurde an den Drucker geschickt! Sollen die Rechnungen als abgeschlossen markiert werden?");
}

QString Rechnungslauf::keineOffenenText() { return QStringLiteral("Es wurden keine offenen Rechnungen gefunden!"); }

QString Rechnungslauf::zurueckgesetztText() {
    return QStringLiteral("Die Merker der offenen Rechnungen wurden zurück gesetzt!");
}

LaufErgebnis Rechnungslauf::fuehreAus() {
    LaufErgebnis e;
    QList<ProtokollGruppe> gruppen;
    try {
        gruppen = leseOffeneGruppen(m_db);
    } catch (const DbFehler& f) {
        e.abgebrochen = true;
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden. Es wurde keine Rechnung erstellt."),
                          f.serverText());
        return e;
    }
    int kunden = 0;
    for (const ProtokollGruppe& g : gruppen) {
        e.gelesen += int(g.ids.size());
        if (g.kundeId) ++kunden;
    }
    if (e.gelesen == 0) {
        e.keineOffenen = true;
        m_bediener.info(keineOffenenText());
        return e;
    }

    auto fertigText = [&]() {
        if (e.rechnungen.isEmpty()) return QStringLiteral("Es wurde keine Rechnung erstellt.");
        QList<qint64> nummern;
        for (const ErstellteRechnung& r : e.rechnungen) nummern << r.nummer;
        return (nummern.size() == 1 ? QStringLiteral("Vollständig erstellt und gespeichert ist die Rechnung ")
                                    : QStringLiteral("Vollständig erstellt und gespeichert sind die Rechnungen ")) +
               nummernListe(nummern) + QLatin1Char('.');
    };

    int nr = 0;
    for (int gi = 0; gi < gruppen.size(); ++gi) {
        const ProtokollGruppe& g = gruppen.at(gi);
        if (!g.kundeId) continue;  // not an invoice customer: never invoiced
        QString kundenName = g.dbBenutzer;
        try {
            const Kunde k = ladeKunde(m_db, g.kundeId);
            kundenName = k.name;
            if (!m_bediener.fortschritt(++nr, kunden, k.name)) {
                e.abgebrochen = true;
                e.fehler = QStringLiteral("angehalten");
                m_bediener.info(QStringLiteral("Der Rechnungslauf wurde vor dem Kunden „%1“ angehalten.\n").arg(k.name) +
                                fertigText() +
                                QStringLiteral("\nEs wurde nichts als abgeschlossen markiert."));
                return e;
            }
            QList<Posten> posten;
            for (const Posten& p : ladePosten(m_db, g.ids))
                if (p.preis != 0) posten << p;  // 0 or Null: passed over
            // More log rows follow the last item unless it is the log's last row.
            const bool protokollEnde =
                gi == gruppen.size() - 1 && !posten.isEmpty() && posten.last().id == g.ids.last();
            const double netto = nettoSumme(posten);
            QList<qint64> postenIds;
            for (const Posten& p : posten) postenIds << p.id;

            for (int versuch = 1;; ++versuch) {
                if (versuch > 1) QThread::msleep(100 * versuch);
                Transaktion t(m_db);
                qint64 nummer = 0;
                try {
                    nummer = legeRechnungAn(m_db, m_heute, k.name, netto);
                } catch (const DbFehler&) {
                    if (versuch >= kVersuche) throw;
                    continue;  // another run holds the table: roll back and try again
                }
                nummeriere(m_db, nummer, postenIds);
                const druck::Druckdokument dok = rechnungsDokument(k, nummer, m_heute, posten, protokollEnde);

                ErstellteRechnung r{nummer, k.name, int(posten.size()), netto, false, {}};
                QString archivPfad;
                if (m_archiv && m_ziel.druckt()) archivPfad = m_archiv->gibAus(dok).pdfPfad;
                try {
                    const druck::DruckErgebnis aus = m_ziel.gibAus(dok);
                    r.gedruckt = aus.gedruckt;
                    r.pdfPfad = aus.pdfPfad.isEmpty() ? archivPfad : aus.pdfPfad;
                } catch (...) {
                    if (!archivPfad.isEmpty()) QFile::remove(archivPfad);
                    throw;
                }
                try {
                    t.bestaetige();
                } catch (const DbFehler& f) {
                    // The document exists, its number does not: withdraw the files.
                    if (!r.pdfPfad.isEmpty()) QFile::remove(r.pdfPfad);
                    throw Abbruch{QStringLiteral("Die Rechnung %1 wurde ausgegeben, konnte aber nicht gespeichert werden "
                                                 "und ist ungültig.%2")
                                      .arg(nummer)
                                      .arg(r.gedruckt ? QStringLiteral(" Bitte vernichten Sie den Ausdruck.") : QString()),
                                  f.serverText()};
                }
                e.rechnungen << r;
                break;
            }
        } catch (const Abbruch& a) {
            e.abgebrochen = true;
            e.fehler = a.grund;
            m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen:\n%2\n\n")
                                      .arg(kundenName, a.grund) +
                                  fertigText() +
                                  QStringLiteral("\nDie Abfragen dieses und der folgenden Kunden sind nicht nummeriert; "
                                                 "es wurde nichts als abgeschlossen markiert."),
                              a.details);
            return e;
        } catch (const druck::DruckFehler& f) {
            e.abgebrochen = true;
            e.fehler = f.text();
            m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, der Ausdruck ist "
                                             "fehlgeschlagen:\n%2\n\n")
                                      .arg(kundenName, f.text()) +
                                  fertigText() +
                                  QStringLiteral("\nDie Abfragen dieses und der folgenden Kunden sind nicht nummeriert; "
                                                 "es wurde nichts als abgeschlossen markiert."));
            return e;
        } catch (const DbFehler& f) {
            e.abgebrochen = true;
            e.fehler = f.kurz();
            m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, die Datenbank meldet "
                                             "einen Fehler:\n%2\n\n")
                                      .arg(kundenName, f.kurz()) +
                                  fertigText() +
                                  QStringLiteral("\nDie Abfragen dieses und der folgenden Kunden sind nicht nummeriert; "
                                                 "es wurde nichts als abgeschlossen markiert."),
                              f.serverText());
            return e;
        }
    }

    // Asked whenever open rows were read, also when none belonged to a customer.
    bool alleGedruckt = !e.rechnungen.isEmpty();
    for (const ErstellteRechnung& r : e.rechnungen) alleGedruckt = alleGedruckt && r.gedruckt;
    QString frage;
    if (e.rechnungen.isEmpty())
        frage = QStringLiteral("Es wurde keine Rechnung erstellt: keine der offenen Abfragen gehört zu einem "
                               "Rechnungskunden. Sollen die Rechnungen als abgeschlossen markiert werden?");
    else if (alleGedruckt)
        frage = frageGedruckt();
    else
        frage = QStringLiteral("Die Rechnungen wurden als PDF-Dateien im Ordner \"%1\" gespeichert! "
                               "Sollen die Rechnungen als abgeschlossen markiert werden?")
                    .arg(ordnerVon(e.rechnungen));
    e.gefragt = true;
    if (!m_bediener.frage(frage)) return e;  // No: the rows stay open for the next run

    // Exactly the rows read as open: passed-over rows and those of users who
    // are no customers included, rows logged since then not.
    QList<qint64> gelesen;
    gelesen.reserve(e.gelesen);
    for (const ProtokollGruppe& g : gruppen) gelesen += g.ids;
    try {
        e.geschlossen = schliesseZeilen(m_db, QStringLiteral("offen"), gelesen);
    } catch (const DbFehler& f) {
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Die Merker der offenen Rechnungen konnten nicht zurück gesetzt werden; "
                                         "die Abfragen bleiben offen."),
                          f.serverText());
        return e;
    }
    m_bediener.info(zurueckgesetztText());
    return e;
}

}  // namespace talu::abrechnung
