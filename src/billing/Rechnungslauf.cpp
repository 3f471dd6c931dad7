#include "billing/Rechnungslauf.h"

#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <QThreadPool>
#include <deque>
#include <future>
#include <memory>
#include <optional>

#include "billing/AbrechnungsDaten.h"
#include "billing/Bediener.h"
#include "billing/Laufsperre.h"
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

// SQLite: room for 64 MB of pages while the run lasts, the connection's own
// size afterwards. A customer's rows lie scattered over the whole log; with
// SQLite's 2 MB the same pages are fetched from the system again and again.
class GrosserSeitenpuffer {
public:
    explicit GrosserSeitenpuffer(const Datenbank& db) : m_db(db) {
        if (db.backend() != Backend::SQLite) return;
        try {
            m_vorher = db.wert(QStringLiteral("pragma cache_size")).toLongLong();
            db.ausfuehren(QStringLiteral("pragma cache_size = -65536"));
            m_gesetzt = true;
        } catch (const DbFehler&) {
        }
    }
    ~GrosserSeitenpuffer() {
        if (!m_gesetzt) return;
        try {
            m_db.ausfuehren(QStringLiteral("pragma cache_size = %1").arg(m_vorher));
        } catch (const DbFehler&) {
        }
    }

private:
    const Datenbank& m_db;
    qint64 m_vorher = 0;
    bool m_gesetzt = false;
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

// One document of the run: a stored invoice put out again under its number,
// or a new invoice for the customer's rows that carry none.
struct Aufgabe {
    const ProtokollGruppe* gruppe = nullptr;
    bool erneut = false;
    qint64 nummer = 0;   // erneut: the stored number
    QList<qint64> ids;   // the open rows it covers
};

// What the document is made of, read when the invoice is due.
struct Vorlage {
    Kunde kunde;
    QList<Posten> posten;   // the priced rows; 0 or Null are passed over
    QList<qint64> alleIds;  // every row still open, passed-over ones included
    bool protokollEnde = false;
    double netto = 0;
    GespeicherteRechnung gespeichert;  // erneut: the stored row
};

// A document put out provisionally: to the target, and for paper to the archive.
struct Ausgabe {
    druck::Vorlaeufig ziel;
    std::optional<druck::Vorlaeufig> archiv;
};

// An invoice on its way, its document written ahead (a worker thread) under
// the number it is expected to get.
struct ImFlug {
    Aufgabe aufgabe;
    Vorlage vorlage;
    qint64 nummer = 0;
    std::shared_future<Ausgabe> ausgabe;
    bool offen = false;  // provisional documents that still have to be made final or taken back
};

QString naechsterLaufText() {
    return QStringLiteral(
        "Es wurde nichts als abgeschlossen markiert. Der nächste Rechnungslauf gibt jede gespeicherte Rechnung, "
        "deren Abfragen noch offen sind, unter ihrer Nummer noch einmal aus und erstellt neue Rechnungen nur für "
        "Abfragen, die noch keine Rechnungsnummer tragen.");
}

// The documents of the run, in the log's order: for each customer first
// the stored invoices still open, then the new one. A customer whose new
// rows are all passed over gets an invoice of 0,00 € only when none of its
// rows is on an invoice yet, so that it does not get another one each run.
QList<Aufgabe> plane(const QList<ProtokollGruppe>& gruppen) {
    QList<Aufgabe> aufgaben;
    for (const ProtokollGruppe& g : gruppen) {
        if (!g.kundeId) continue;  // users who are no customers are never invoiced
        QList<qint64> nummern;
        QHash<qint64, QList<qint64>> jeNummer;
        QList<qint64> neu;
        bool neuBepreist = false, nummeriert = false;
        for (const OffeneZeile& z : g.zeilen) {
            if (z.rechnung) {
                // A row of an invoice already settled stays as it is until it is closed.
                nummeriert = true;
                if (!z.rechnungOffen) continue;
                if (!jeNummer.contains(z.rechnung)) nummern << z.rechnung;
                jeNummer[z.rechnung] << z.id;
                continue;
            }
            neu << z.id;
            neuBepreist = neuBepreist || z.bepreist;
        }
        for (qint64 n : nummern) aufgaben << Aufgabe{&g, true, n, jeNummer.value(n)};
        if (neuBepreist || (!neu.isEmpty() && !nummeriert)) aufgaben << Aufgabe{&g, false, 0, neu};
    }
    return aufgaben;
}

}  // namespace

// The steps of one invoice, shared by the paper road (one invoice after the
// other) and the file road (several written at once).
class Rechnungslauf::Schritte {
public:
    Schritte(const Datenbank& db, const QDate& heute, qint64 letzteId, const Laufsperre& sperre)
        : m_db(db), m_heute(heute), m_letzteId(letzteId), m_sperre(sperre) {}

    Vorlage lies(const Aufgabe& a) const {
        Vorlage v;
        v.kunde = ladeKunde(m_db, a.gruppe->kundeId);
        for (const Posten& p : ladePosten(m_db, a.ids)) {
            v.alleIds << p.id;
            if (p.preis != 0) v.posten << p;
        }
        // More log rows follow the last item unless it is the log's last row.
        v.protokollEnde = !v.posten.isEmpty() && v.posten.last().id == m_letzteId;
        v.netto = nettoSumme(v.posten);
        if (a.erneut) {
            v.gespeichert = ladeRechnung(m_db, a.nummer);
            // Printed again as it was stored.
            v.kunde.name = v.gespeichert.kundenName;
            if (!v.gespeichert.gefunden || qAbs(v.gespeichert.netto - v.netto) > 1e-6)
                throw Abbruch{QStringLiteral("Die gespeicherte Rechnung %1 (netto %2) stimmt nicht mit ihren offenen "
                                             "Abfragen (zusammen %3) überein; sie wurde nicht noch einmal ausgegeben. "
                                             "Bitte lassen Sie die Rechnung und ihre Abfragen prüfen.")
                                  .arg(a.nummer)
                                  .arg(druck::Money(v.gespeichert.netto), druck::Money(v.netto)),
                              {}};
        }
        return v;
    }

    // Opens the invoice's transaction, hands out the number, stores the
    // invoice row and numbers its log rows. Another writer holding the table
    // makes it roll back and try again.
    qint64 beginne(std::optional<Transaktion>& t, const Vorlage& v) const {
        for (int versuch = 1;; ++versuch) {
            if (versuch > 1) QThread::msleep(100 * versuch);
            t.emplace(m_db);
            try {
                const qint64 nummer = legeRechnungAn(m_db, m_heute, v.kunde.name, v.netto);
                // A connection that was lost and opened again has lost the run's lock too.
                if (!m_sperre.haeltNoch()) {
                    t.reset();
                    throw Abbruch{QStringLiteral("Die Verbindung zur Datenbank war unterbrochen; damit endet die "
                                                 "Sperre gegen einen zweiten Rechnungslauf."),
                                  {}};
                }
                if (nummeriere(m_db, nummer, v.alleIds) != v.alleIds.size()) {
                    t.reset();
                    throw Abbruch{QStringLiteral("Abfragen des Kunden wurden inzwischen anderweitig berechnet oder "
                                                 "abgeschlossen; seine Rechnung wurde nicht gespeichert."),
                                  {}};
                }
                return nummer;
            } catch (const DbFehler&) {
                t.reset();
                if (versuch >= kVersuche) throw;
            }
        }
    }

    druck::Druckdokument dokument(const Aufgabe& a, const Vorlage& v, qint64 nummer) const {
        if (a.erneut)
            return rechnungsDokument(v.kunde, nummer, v.gespeichert.datum, v.gespeichert.zahlungsziel, v.posten,
                                     v.protokollEnde);
        return rechnungsDokument(v.kunde, nummer, m_heute, v.posten, v.protokollEnde);
    }

private:
    const Datenbank& m_db;
    QDate m_heute;
    qint64 m_letzteId;
    const Laufsperre& m_sperre;
};

LaufErgebnis Rechnungslauf::fuehreAus() {
    LaufErgebnis e;
    const GrosserSeitenpuffer puffer(m_db);
    Laufsperre sperre(m_db);
    QList<ProtokollGruppe> gruppen;
    try {
        if (!sperre.nimm()) {
            e.belegt = true;
            e.abgebrochen = true;
            e.fehler = QStringLiteral("belegt");
            m_bediener.info(Laufsperre::belegtText());
            return e;
        }
        gruppen = leseOffeneGruppen(m_db);
    } catch (const DbFehler& f) {
        e.abgebrochen = true;
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden. Es wurde keine Rechnung erstellt."),
                          f.serverText());
        return e;
    }
    qint64 letzteId = 0;
    for (const ProtokollGruppe& g : gruppen) {
        e.gelesen += int(g.zeilen.size());
        if (!g.zeilen.isEmpty()) letzteId = g.zeilen.last().id;
    }
    if (e.gelesen == 0) {
        e.keineOffenen = true;
        m_bediener.info(keineOffenenText());
        return e;
    }
    // Provisional files of an interrupted run stand for nothing stored.
    m_ziel.raeumeAuf();
    druck::Druckziel* archiv = m_archiv && m_ziel.druckt() ? m_archiv : nullptr;
    if (archiv) archiv->raeumeAuf();

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
        QList<qint64> neu, erneut;
        for (const ErstellteRechnung& r : e.rechnungen) (r.erneut ? erneut : neu) << r.nummer;
        if (neu.isEmpty() && erneut.isEmpty()) return QStringLiteral("Es wurde keine Rechnung erstellt.");
        QString t;
        if (!neu.isEmpty())
            t = (neu.size() == 1 ? QStringLiteral("Vollständig erstellt und gespeichert ist die Rechnung ")
                                 : QStringLiteral("Vollständig erstellt und gespeichert sind die Rechnungen ")) +
                nummernListe(neu) + wohin() + QLatin1Char('.');
        if (!erneut.isEmpty())
            t += (t.isEmpty() ? QString() : QStringLiteral(" ")) +
                 QStringLiteral("Noch einmal ausgegeben (gespeichert, ihre Abfragen noch offen): ") +
                 nummernListe(erneut) + (neu.isEmpty() ? wohin() : QString()) + QLatin1Char('.');
        return t;
    };

    const QList<Aufgabe> aufgaben = plane(gruppen);
    const int anzahl = int(aufgaben.size());
    const Schritte schritte(m_db, m_heute, letzteId, sperre);
    const bool imVoraus = m_ziel.imVoraus();

    // Puts a document out provisionally; in a worker thread on the file road.
    auto bereite = [ziel = &m_ziel, archiv](const druck::Druckdokument& d) {
        Ausgabe a;
        if (archiv) a.archiv = archiv->vorbereite(d);
        try {
            a.ziel = ziel->vorbereite(d);
        } catch (...) {
            if (a.archiv) archiv->verwirf(*a.archiv);
            throw;
        }
        return a;
    };
    QThreadPool pool;
    pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
    auto starte = [&](ImFlug& x) {
        const druck::Druckdokument d = schritte.dokument(x.aufgabe, x.vorlage, x.nummer);
        x.offen = true;
        if (!imVoraus) {
            std::promise<Ausgabe> sofort;
            try {
                sofort.set_value(bereite(d));
            } catch (...) {
                sofort.set_exception(std::current_exception());
            }
            x.ausgabe = sofort.get_future().share();
            return;
        }
        auto auftrag = std::make_shared<std::packaged_task<Ausgabe()>>([bereite, d] { return bereite(d); });
        x.ausgabe = auftrag->get_future().share();
        pool.start([auftrag] { (*auftrag)(); });
    };
    // Takes provisional documents back; one that failed left nothing behind.
    auto verwirf = [&](ImFlug& x) {
        if (!x.offen) return;
        x.offen = false;
        try {
            const Ausgabe a = x.ausgabe.get();
            m_ziel.verwirf(a.ziel);
            if (a.archiv) archiv->verwirf(*a.archiv);
        } catch (...) {
        }
    };
    std::deque<ImFlug> voraus;
    std::optional<ImFlug> aktuell;
    auto verwirfAlle = [&] {
        pool.waitForDone();
        if (aktuell) verwirf(*aktuell);
        for (ImFlug& x : voraus) verwirf(x);
        voraus.clear();
    };

    QString kundenName;
    try {
        // On the file road the next invoices are written ahead in worker
        // threads, under the numbers they should get, while one invoice's
        // transaction runs; paper waits for its commit.
        qint64 naechste = naechsteRechnungsnummer(m_db, m_heute);
        const int tiefe = imVoraus ? 4 * pool.maxThreadCount() : 1;
        int geplant = 0;
        auto fuelle = [&] {
            while (int(voraus.size()) < tiefe && geplant < anzahl) {
                ImFlug x;
                x.aufgabe = aufgaben.at(geplant++);
                kundenName = x.aufgabe.gruppe->dbBenutzer;
                x.vorlage = schritte.lies(x.aufgabe);
                x.nummer = x.aufgabe.erneut ? x.aufgabe.nummer : naechste++;
                starte(x);
                voraus.push_back(std::move(x));
            }
        };
        for (int k = 0; k < anzahl; ++k) {
            fuelle();
            aktuell = std::move(voraus.front());
            voraus.pop_front();
            const Aufgabe& a = aktuell->aufgabe;
            const Vorlage& v = aktuell->vorlage;
            kundenName = v.kunde.name;
            const QString was = a.erneut ? QStringLiteral("Rechnung %1 für „%2“ (noch einmal)").arg(a.nummer).arg(kundenName)
                                         : QStringLiteral("Rechnung für „%1“").arg(kundenName);
            if (!m_bediener.fortschritt(k + 1, anzahl, was)) throw Abbruch{QStringLiteral("angehalten"), {}};
            if (!a.erneut && v.alleIds.isEmpty()) {
                // Its rows were closed meanwhile: nothing to bill.
                verwirf(*aktuell);
                aktuell.reset();
                continue;
            }
            std::optional<Transaktion> t;
            qint64 nummer = aktuell->nummer;
            if (!a.erneut) {
                nummer = schritte.beginne(t, v);
                if (nummer != aktuell->nummer) {
                    // Another writer took numbers: everything written ahead
                    // is taken back and written again under the numbers now free.
                    pool.waitForDone();
                    verwirf(*aktuell);
                    for (ImFlug& x : voraus) verwirf(x);
                    aktuell->nummer = nummer;
                    naechste = nummer + 1;
                    for (ImFlug& x : voraus)
                        if (!x.aufgabe.erneut) x.nummer = naechste++;
                    starte(*aktuell);
                    for (ImFlug& x : voraus) starte(x);
                }
            }
            // A document that could not be written leaves nothing stored.
            const Ausgabe aus = aktuell->ausgabe.get();
            if (t) {
                try {
                    t->bestaetige();
                } catch (const DbFehler& f) {
                    throw Abbruch{QStringLiteral("Die Rechnung %1 konnte nicht sicher gespeichert werden. Ist sie "
                                                 "gespeichert, gibt der nächste Rechnungslauf sie unter dieser Nummer "
                                                 "aus, sonst erstellt er sie neu.")
                                      .arg(nummer),
                                  f.serverText()};
                }
            }
            // Committed: from here the documents are made final.
            aktuell->offen = false;
            ErstellteRechnung r{nummer, v.kunde.name, int(v.posten.size()), v.netto, false, {}, a.erneut};
            try {
                if (aus.archiv) r.pdfPfad = archiv->uebernimm(*aus.archiv).pdfPfad;
                const druck::DruckErgebnis ergebnis = m_ziel.uebernimm(aus.ziel);
                r.gedruckt = ergebnis.gedruckt;
                if (!ergebnis.pdfPfad.isEmpty()) r.pdfPfad = ergebnis.pdfPfad;
            } catch (const druck::DruckFehler& f) {
                m_ziel.verwirf(aus.ziel);
                throw Abbruch{QStringLiteral("Die Rechnung %1 ist gespeichert, konnte aber nicht ausgegeben werden:\n%2")
                                  .arg(nummer)
                                  .arg(f.text()),
                              {}};
            }
            e.rechnungen << r;
            aktuell.reset();
        }
    } catch (const Abbruch& a) {
        verwirfAlle();
        e.abgebrochen = true;
        e.fehler = a.grund;
        if (a.grund == QLatin1String("angehalten")) {
            m_bediener.info(QStringLiteral("Der Rechnungslauf wurde vor dem Kunden „%1“ angehalten.\n").arg(kundenName) +
                            fertigText() + QLatin1Char('\n') + naechsterLaufText());
        } else {
            m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen:\n%2\n\n")
                                      .arg(kundenName, a.grund) +
                                  fertigText() + QLatin1Char('\n') + naechsterLaufText(),
                              a.details);
        }
        return e;
    } catch (const druck::DruckFehler& f) {
        verwirfAlle();
        e.abgebrochen = true;
        e.fehler = f.text();
        m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, der Ausdruck ist "
                                         "fehlgeschlagen:\n%2\n\n")
                                  .arg(kundenName, f.text()) +
                              fertigText() + QLatin1Char('\n') + naechsterLaufText());
        return e;
    } catch (const DbFehler& f) {
        verwirfAlle();
        e.abgebrochen = true;
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Der Rechnungslauf wurde beim Kunden „%1“ abgebrochen, die Datenbank meldet "
                                         "einen Fehler:\n%2\n\n")
                                  .arg(kundenName, f.kurz()) +
                              fertigText() + QLatin1Char('\n') + naechsterLaufText(),
                          f.serverText());
        return e;
    }

    // Asked whenever open rows were read, also when none was to be billed.
    bool alleGedruckt = !e.rechnungen.isEmpty();
    for (const ErstellteRechnung& r : e.rechnungen) alleGedruckt = alleGedruckt && r.gedruckt;
    QString frage;
    if (e.rechnungen.isEmpty())
        frage = QStringLiteral("Es wurde keine Rechnung erstellt: keine der offenen Abfragen gehört zu einem "
                               "Rechnungskunden und ist noch zu berechnen. Sollen die Rechnungen als abgeschlossen "
                               "markiert werden?");
    else if (alleGedruckt)
        frage = frageGedruckt();
    else
        frage = QStringLiteral("Die Rechnungen wurden als PDF-Dateien im Ordner \"%1\" gespeichert! "
                               "Sollen die Rechnungen als abgeschlossen markiert werden?")
                    .arg(ordnerVon(e.rechnungen));
    e.gefragt = true;
    // No: the rows stay open, and the next run puts these invoices out again
    // under their numbers.
    if (!m_bediener.frage(frage)) return e;

    // Exactly the rows read as open: passed-over rows and those of users who
    // are no customers included, rows logged since then not.
    QList<qint64> gelesen;
    gelesen.reserve(e.gelesen);
    for (const ProtokollGruppe& g : gruppen)
        for (const OffeneZeile& z : g.zeilen) gelesen << z.id;
    try {
        e.geschlossen = schliesseZeilen(m_db, QStringLiteral("offen"), gelesen);
    } catch (const DbFehler& f) {
        e.fehler = f.kurz();
        m_bediener.fehler(QStringLiteral("Die Merker der offenen Rechnungen konnten nicht zurück gesetzt werden; "
                                         "die Abfragen bleiben offen. Der nächste Rechnungslauf gibt ihre Rechnungen "
                                         "unter ihren Nummern noch einmal aus."),
                          f.serverText());
        return e;
    }
    m_bediener.info(zurueckgesetztText());
    return e;
}

}  // namespace talu::abrechnung
