#include "tools/Stapelauftrag.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QTextStream>
#include <atomic>

namespace talu::stapel {

namespace {
// A progress line more often than this only costs time.
constexpr qint64 kMeldeAbstandMs = 200;
}  // namespace

void AnzeigeStderr::melde(qint64 erledigt, qint64 gesamt, const QString& text) {
    QTextStream err(stderr);
    err << "\r" << text;
    if (gesamt >= 0) err << " " << erledigt << " / " << gesamt;
    else err << " " << erledigt;
    err << "    " << Qt::flush;
    m_zeile = true;
}

AnzeigeStderr::~AnzeigeStderr() {
    if (m_zeile) QTextStream(stderr) << "\n";
}

Kontext::Kontext(const Datenbank& db, Anzeige& anzeige, bool abbrechbar)
    : m_db(db), m_anzeige(anzeige), m_abbrechbar(abbrechbar) {
    m_uhr.start();
}

void Kontext::melde(qint64 erledigt, qint64 gesamt, const QString& text) {
    const qint64 jetzt = m_uhr.elapsed();
    const bool letzte = gesamt >= 0 && erledigt >= gesamt;
    if (m_letzteMeldung >= 0 && jetzt - m_letzteMeldung < kMeldeAbstandMs && !letzte && erledigt != 0) return;
    m_letzteMeldung = jetzt;
    m_anzeige.melde(erledigt, gesamt, text);
}

void Kontext::pruefeAbbruch() {
    if (m_abbrechbar && m_anzeige.abbruchGewuenscht()) throw Abgebrochen();
}

Stapelschreiber::Stapelschreiber(Kontext& k, const QString& sql, int stueck)
    : m_k(k), m_stueck(qMax(1, stueck)) {
    beginneStueck();
    // Prepared inside the transaction: on SQLite a statement prepared before
    // would be re-prepared anyway, and on the servers it does not matter.
    m_anweisung = m_k.db().vorbereite(sql);
}

Stapelschreiber::~Stapelschreiber() = default;  // the open Transaktion rolls back

void Stapelschreiber::beginneStueck() {
    m_transaktion = std::make_unique<Transaktion>(m_k.db());
    m_imStueck = 0;
}

int Stapelschreiber::schreibe(const Parameter& werte) {
    const int n = m_anweisung.fuehreAus(werte);
    if (++m_imStueck >= m_stueck) {
        m_transaktion->bestaetige();
        m_k.zaehleGesichert(m_imStueck);
        beginneStueck();
    }
    return n;
}

void Stapelschreiber::beende() {
    if (!m_transaktion) return;
    m_transaktion->bestaetige();
    m_k.zaehleGesichert(m_imStueck);
    m_imStueck = 0;
    m_transaktion.reset();
}

void seitenweise(const Datenbank& db, const QString& select, const Parameter& p, int seite,
                 const std::function<void(const QSqlRecord&)>& zeile) {
    const bool mitWhere = select.contains(QLatin1String(" where "), Qt::CaseInsensitive);
    const QString sql = db.dialekt().begrenze(select + (mitWhere ? " and id > ?" : " where id > ?") + " order by id",
                                              qMax(1, seite));
    qint64 abId = -1;
    for (;;) {
        Parameter werte = p;
        werte << abId;
        const Recordset rs = db.abfrage(sql, werte);
        for (const QSqlRecord& r : rs.zeilen()) {
            abId = r.value(QStringLiteral("id")).toLongLong();
            zeile(r);
        }
        if (rs.anzahl() < seite) break;
    }
}

Ergebnis fuehreAus(Auftrag& auftrag, const Datenbank& db, Anzeige& anzeige) {
    Ergebnis e;
    Kontext k(db, anzeige, auftrag.abbrechbar());
    const bool ganz = auftrag.schreiben() == Schreiben::AllesOderNichts;
    try {
        std::unique_ptr<Transaktion> t;
        if (ganz) t = std::make_unique<Transaktion>(db);
        auftrag.fuehreAus(k);
        if (t) t->bestaetige();
        e.gesichert = k.gesichert();
    } catch (const Abgebrochen&) {
        e.status = Ergebnis::Status::Abgebrochen;
        e.gesichert = ganz ? 0 : k.gesichert();
        e.meldung = ganz ? QStringLiteral("\"%1\" wurde abgebrochen; die Datenbank ist unverändert.").arg(auftrag.titel())
                         : QStringLiteral("\"%1\" wurde abgebrochen; %2 Zeilen waren bereits gespeichert.")
                               .arg(auftrag.titel())
                               .arg(k.gesichert());
    } catch (const DbFehler& f) {
        e.status = Ergebnis::Status::Fehler;
        e.gesichert = ganz ? 0 : k.gesichert();
        e.serverText = f.serverText();
        e.meldung = ganz ? QStringLiteral("\"%1\" ist fehlgeschlagen (%2); die Datenbank ist unverändert.")
                               .arg(auftrag.titel(), f.kurz())
                         : QStringLiteral("\"%1\" ist fehlgeschlagen (%2); %3 Zeilen waren bereits gespeichert.")
                               .arg(auftrag.titel(), f.kurz())
                               .arg(k.gesichert());
    } catch (const std::exception& f) {
        e.status = Ergebnis::Status::Fehler;
        e.gesichert = ganz ? 0 : k.gesichert();
        e.serverText = QString::fromLocal8Bit(f.what());
        e.meldung = QStringLiteral("\"%1\" ist fehlgeschlagen.").arg(auftrag.titel());
    }
    return e;
}

namespace {
// Between the worker and the window's thread: the latest report and the cancel wish.
class Vermittler : public Anzeige {
public:
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override {
        QMutexLocker l(&m_sperre);
        m_erledigt = erledigt;
        m_gesamt = gesamt;
        m_text = text;
        m_neu = true;
    }
    bool abbruchGewuenscht() override { return m_abbruch.load(); }
    void wuenscheAbbruch() { m_abbruch = true; }
    // Hands a new report to the display in the window's thread.
    void reicheWeiter(Anzeige& ziel) {
        qint64 e, g;
        QString t;
        {
            QMutexLocker l(&m_sperre);
            if (!m_neu) return;
            m_neu = false;
            e = m_erledigt, g = m_gesamt, t = m_text;
        }
        ziel.melde(e, g, t);
    }

private:
    QMutex m_sperre;
    qint64 m_erledigt = 0, m_gesamt = -1;
    QString m_text;
    bool m_neu = false;
    std::atomic<bool> m_abbruch{false};
};
}  // namespace

Ergebnis fuehreAusNebenbei(Auftrag& auftrag, const Datenbank& db, Anzeige& anzeige) {
    if (!QCoreApplication::instance()) return fuehreAus(auftrag, db, anzeige);
    Vermittler vermittler;
    Ergebnis e;
    std::atomic<bool> ohneVerbindung{false};
    std::unique_ptr<QThread> arbeiter(QThread::create([&] {
        // The connection belongs to the thread that opens it.
        std::unique_ptr<Datenbank> eigene = db.zweiteVerbindung();
        if (!eigene) {
            ohneVerbindung = true;
            return;
        }
        e = fuehreAus(auftrag, *eigene, vermittler);
    }));
    arbeiter->start();
    while (!arbeiter->wait(QDeadlineTimer(25))) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
        vermittler.reicheWeiter(anzeige);
        if (auftrag.abbrechbar() && anzeige.abbruchGewuenscht()) vermittler.wuenscheAbbruch();
    }
    vermittler.reicheWeiter(anzeige);
    if (ohneVerbindung) return fuehreAus(auftrag, db, anzeige);
    return e;
}

}  // namespace talu::stapel
