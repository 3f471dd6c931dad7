#include "billing/Rechnungslauf.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <deque>
#include <future>
#include <memory>
#include <optional>

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

namespace {

// One customer's invoice as read from the log, before it has a number.
struct Vorlage {
    Kunde kunde;
    QList<Posten> posten;  // the priced rows; 0 or Null are passed over
    bool protokollEnde = false;
    double netto = 0;
    QList<qint64> postenIds;
};

// An invoice being written ahead in a worker thread under the number that
// the customer's transaction is expected to hand out.
struct ImVoraus {
    Vorlage vorlage;
    qint64 nummer = 0;
    std::shared_future<druck::DruckErgebnis> ergebnis;
    bool uebernommen = false;  // withdrawn, or taken over by the customer's commit
};

}  // namespace

// The steps of one customer, shared by the paper road (one invoice after the
// other) and the file road (several written at once).
class Rechnungslauf::Schritte {
public:
    Schritte(const Datenbank& db, const QDate& heute) : m_db(db), m_heute(heute) {}

    Vorlage lies(const ProtokollGruppe& g, bool letzteGruppe) const {
        Vorlage v;
        v.kunde = ladeKunde(m_db, g.kundeId);
        for (const Posten& p : ladePosten(m_db, g.ids))
            if (p.preis != 0) v.posten << p;
        // More log rows follow the last item unless it is the log's last row.
        v.protokollEnde = letzteGruppe && !v.posten.isEmpty() && v.posten.last().id == g.ids.last();
        v.netto = nettoSumme(v.posten);
        for (const Posten& p : v.posten) v.postenIds << p.id;
        return v;
    }

    // Opens the customer's transaction, hands out the number, stores the
    // invoice row and numbers the log rows. Another run holding the table
    // makes it roll back and try again.
    qint64 beginne(std::optional<Transaktion>& t, const Vorlage& v) const {
        for (int versuch = 1;; ++versuch) {
            if (versuch > 1) QThread::msleep(100 * versuch);
            t.emplace(m_db);
            try {
                const qint64 nummer = legeRechnungAn(m_db, m_heute, v.kunde.name, v.netto);
                nummeriere(m_db, nummer, v.postenIds);
                return nummer;
            } catch (const DbFehler&) {
                t.reset();
                if (versuch >= kVersuche) throw;
            }
        }
    }

    druck::Druckdokument dokument(const Vorlage& v, qint64 nummer) const {
        return rechnungsDokument(v.kunde, nummer, m_heute, v.posten, v.protokollEnde);
    }

private:
    const Datenbank& m_db;
    QDate m_heute;
};

// Commits the customer's transaction; when that fails the document stands
// without its number, so its file is withdrawn and the operator told.
static void bestaetige(std::optional<Transaktion>& t, druck::Druckziel& ziel, const ErstellteRechnung& r,
                       const druck::DruckErgebnis& aus) {
    try {
        t->bestaetige();
    } catch (const DbFehler& f) {
        ziel.zurueckziehen(aus);
        if (!aus.pdfPfad.isEmpty()) QFile::remove(aus.pdfPfad);
        throw Abbruch{QStringLiteral("Die Rechnung %1 wurde ausgegeben, konnte aber nicht gespeichert werden und ist "
                                     "ungültig.%2")
                          .arg(r.nummer)
                          .arg(r.gedruckt ? QStringLiteral(" Bitte vernichten Sie den Ausdruck.") : QString()),
                      f.serverText()};
    }
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
    QList<int> kundenGruppen;  // the groups that get an invoice, in order
    for (int gi = 0; gi < gruppen.size(); ++gi) {
        e.gelesen += int(gruppen.at(gi).ids.size());
        if (gruppen.at(gi).kundeId) kundenGruppen << gi;  // others are never invoiced
    }
    if (e.gelesen == 0) {
        e.keineOffenen = true;
        m_bediener.info(keineOffenenText());
        return e;
    }

    // Where the invoices done went: paper, PDF files, or both.
    auto wohin = [&]() {
        bool papier = false;
        for (const ErstellteRechnung& r : e.rechnungen) papier = papier || r.gedruckt;
        const QString ordner = ordnerVon(e.rechnungen);
        if (papier && !ordner.isEmpty())
            return QStringLiteral(" (an den Drucker geschickt bzw. als PDF-Dateien im Ordner \"%1\")").arg(ordner);
        if (papier) return QStringLiteral(" (an den Drucker geschickt)");
        return QStringLiteral(" (als PDF-Dateien im Ordner \"%1\")").arg(ordner);
    };
    auto fertigText = [&]() {
        if (e.rechnungen.isEmpty()) return QStringLiteral("Es wurde keine Rechnung erstellt.");
        QList<qint64> nummern;
        for (const ErstellteRechnung& r : e.rechnungen) nummern << r.nummer;
        return (nummern.size() == 1 ? QStringLiteral("Vollständig erstellt und gespeichert ist die Rechnung ")
                                    : QStringLiteral("Vollständig erstellt und gespeichert sind die Rechnungen ")) +
               nummernListe(nummern) + wohin() + QLatin1Char('.');
    };
    const QString nichtsGeschlossen = QStringLiteral(
        "\nDie Abfragen dieses und der folgenden Kunden sind nicht nummeriert; es wurde nichts als abgeschlossen "
        "markiert.");
    const Schritte schritte(m_db, m_heute);
    const int anzahl = int(kundenGruppen.size());
    auto letzte = [&](int k) { return kundenGruppen.at(k) == gruppen.size() - 1; };

    // Documents written ahead that are not to stand: waited for and withdrawn.
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
    std::deque<ImVoraus> voraus;
    std::optional<ImVoraus> aktuell;
    auto zurueck = [&](ImVoraus& x) {
        if (x.uebernommen) return;
        x.uebernommen = true;
        try {
            m_ziel.zurueckziehen(x.ergebnis.get());
        } catch (...) {
            // A document that failed left nothing behind.
        }
    };
    auto verwirfVoraus = [&] {
        pool.waitForDone();
        for (ImVoraus& x : voraus) zurueck(x);
        voraus.clear();
    };

    QString kundenName;
    try {
        if (m_ziel.imVoraus()) {
            // Files can be written ahead and withdrawn: while one customer's
            // transaction runs, the next invoices are written in worker
            // threads under the numbers that should follow. Each customer's
            // transaction confirms its number under the lock; if another run
            // took numbers meanwhile, the invoices ahead are written anew.
            qint64 naechste = naechsteRechnungsnummer(m_db, m_heute);
            const int tiefe = pool.maxThreadCount() + 1;
            int geplant = 0;
            auto starte = [&](ImVoraus& x) {
                auto auftrag = std::make_shared<std::packaged_task<druck::DruckErgebnis()>>(
                    [ziel = &m_ziel, s = &schritte, v = x.vorlage, nr = x.nummer] {
                        return ziel->gibAus(s->dokument(v, nr));
                    });
                x.ergebnis = auftrag->get_future().share();
                pool.start([auftrag] { (*auftrag)(); });
            };
            auto plane = [&] {
                while (int(voraus.size()) < tiefe && geplant < anzahl) {
                    ImVoraus x;
                    kundenName = gruppen.at(kundenGruppen.at(geplant)).dbBenutzer;
                    x.vorlage = schritte.lies(gruppen.at(kundenGruppen.at(geplant)), letzte(geplant));
                    ++geplant;
                    x.nummer = naechste++;
                    starte(x);
                    voraus.push_back(std::move(x));
                }
            };
            plane();
            for (int k = 0; k < anzahl; ++k) {
                aktuell = std::move(voraus.front());
                voraus.pop_front();
                const Vorlage& v = aktuell->vorlage;
                kundenName = v.kunde.name;
                if (!m_bediener.fortschritt(k + 1, anzahl, kundenName)) throw Abbruch{QStringLiteral("angehalten"), {}};
                std::optional<Transaktion> t;
                const qint64 nummer = schritte.beginne(t, v);
                druck::DruckErgebnis aus;
                if (nummer == aktuell->nummer) {
                    aktuell->uebernommen = true;  // from here the commit answers for the file
                    aus = aktuell->ergebnis.get();
                } else {
                    // Everything written ahead is withdrawn before the
                    // numbers are used again.
                    zurueck(*aktuell);
                    pool.waitForDone();
                    for (ImVoraus& x : voraus) zurueck(x);
                    aus = m_ziel.gibAus(schritte.dokument(v, nummer));
                    naechste = nummer + 1;
                    for (ImVoraus& x : voraus) {
                        x.nummer = naechste++;
                        x.uebernommen = false;
                        starte(x);
                    }
                }
                const ErstellteRechnung r{nummer, v.kunde.name, int(v.posten.size()), v.netto, aus.gedruckt, aus.pdfPfad};
                bestaetige(t, m_ziel, r, aus);
                aktuell.reset();
                e.rechnungen << r;
                plane();
            }
        } else {
            // Paper cannot be taken back: one invoice after the other, each
            // printed inside its customer's transaction.
            for (int k = 0; k < anzahl; ++k) {
                kundenName = gruppen.at(kundenGruppen.at(k)).dbBenutzer;
                const Vorlage v = schritte.lies(gruppen.at(kundenGruppen.at(k)), letzte(k));
                kundenName = v.kunde.name;
                if (!m_bediener.fortschritt(k + 1, anzahl, kundenName)) throw Abbruch{QStringLiteral("angehalten"), {}};
                std::optional<Transaktion> t;
                const qint64 nummer = schritte.beginne(t, v);
                const druck::Druckdokument dok = schritte.dokument(v, nummer);
                QString archivPfad;
                if (m_archiv && m_ziel.druckt()) archivPfad = m_archiv->gibAus(dok).pdfPfad;
                druck::DruckErgebnis aus;
                try {
                    aus = m_ziel.gibAus(dok);
                } catch (...) {
                    if (!archivPfad.isEmpty()) QFile::remove(archivPfad);
                    throw;
                }
                if (aus.pdfPfad.isEmpty()) aus.pdfPfad = archivPfad;
                const ErstellteRechnung r{nummer, v.kunde.name, int(v.posten.size()), v.netto, aus.gedruckt, aus.pdfPfad};
                bestaetige(t, m_ziel, r, aus);
                e.rechnungen << r;
            }
        }
    } catch (const Abbruch& a) {
        if (aktuell) zurueck(*aktuell);
        verwirfVoraus();
        e.abgebrochen = true;
        e.fehler = a.grund;
        if (a.grund == QLatin1String("angehalten")) {
            m_bediener.info(QStringLiteral("Der Rechnungslauf wurde vor dem Kunden „%1“ angehalten.\n").arg(kundenName) +
                            fertigText() + QStringLiteral("\nEs wurde nichts als abgeschlossen markiert."));
        } else {
            m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen:\n%2\n\n")
                                      .arg(kundenName, a.grund) +
                                  fertigText() + nichtsGeschlossen,
                              a.details);
        }
        return e;
    } catch (const druck::DruckFehler& f) {
        if (aktuell) zurueck(*aktuell);
        verwirfVoraus();
        e.abgebrochen = true;
        e.fehler = f.text();
        m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, der Ausdruck ist "
                                         "fehlgeschlagen:\n%2\n\n")
                                  .arg(kundenName, f.text()) +
                              fertigText() + nichtsGeschlossen);
        return e;
    } catch (const DbFehler& f) {
        if (aktuell) zurueck(*aktuell);
        verwirfVoraus();
        e.abgebrochen = true;
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, die Datenbank meldet "
                                         "einen Fehler:\n%2\n\n")
                                  .arg(kundenName, f.kurz()) +
                              fertigText() + nichtsGeschlossen,
                          f.serverText());
        return e;
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
