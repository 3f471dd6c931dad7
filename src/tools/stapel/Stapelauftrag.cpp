#include "tools/stapel/Stapelauftrag.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <QTextStream>
#include <atomic>

namespace talu::stapel {

namespace {
// A progress line more often than this only costs time.
constexpr qint64 kMeldeAbstandMs = 200;
}  // namespace

void Anzeige::zaehle(const QList<Zaehler>& zaehler, const QString& text) {
    melde(zaehler.isEmpty() ? 0 : zaehler.first().wert, -1, text);
}

void Anzeige::info(const QString&) {}
void Anzeige::fehler(const QString&, const QString&) {}
bool Anzeige::frage(const QString&) { return false; }
QString Anzeige::eingabe(const QString&) { return {}; }

bool Anzeige::fortschritt(int nr, int anzahl, const QString& was) {
    melde(nr, anzahl, was);
    return !abbruchGewuenscht();
}

void AnzeigeStderr::zeile(const QString& text) {
    if (m_leise) return;
    QTextStream(stderr) << "\r" << text << "    " << Qt::flush;
    m_zeile = true;
}

void AnzeigeStderr::zeileBeenden() {
    if (!m_zeile) return;
    QTextStream(stderr) << "\n" << Qt::flush;
    m_zeile = false;
}

void AnzeigeStderr::melde(qint64 erledigt, qint64 gesamt, const QString& text) {
    zeile(gesamt >= 0 ? QStringLiteral("%1 %2 / %3").arg(text).arg(erledigt).arg(gesamt)
                      : QStringLiteral("%1 %2").arg(text).arg(erledigt));
}

void AnzeigeStderr::zaehle(const QList<Zaehler>& zaehler, const QString& text) {
    QStringList teile, stand;
    if (!text.isEmpty()) teile << text;
    for (const Zaehler& z : zaehler) stand << z.name + " " + QString::number(z.wert);
    m_zaehlerstand = stand.join(QStringLiteral(", "));
    zeile((teile + stand).join(QStringLiteral("  ")));
}

void AnzeigeStderr::info(const QString& text) {
    zeileBeenden();
    QTextStream(stdout) << text << "\n" << Qt::flush;
}

void AnzeigeStderr::fehler(const QString& text, const QString& details) {
    zeileBeenden();
    QTextStream err(stderr);
    err << text << "\n";
    if (!details.isEmpty()) err << details << "\n";
    err << Qt::flush;
    ++m_fehler;
}

bool AnzeigeStderr::frage(const QString& text) {
    zeileBeenden();
    QTextStream out(stdout);
    out << text << "\n";
    if (!m_begruendung.isEmpty()) out << m_begruendung << "\n";
    out << Qt::flush;
    return m_ja;
}

AnzeigeStderr::~AnzeigeStderr() { zeileBeenden(); }

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

void Kontext::zaehle(const QList<Zaehler>& zaehler, const QString& text, bool letzte) {
    const qint64 jetzt = m_uhr.elapsed();
    if (!letzte && m_letzteMeldung >= 0 && jetzt - m_letzteMeldung < kMeldeAbstandMs) return;
    m_letzteMeldung = jetzt;
    m_anzeige.zaehle(zaehler, text);
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

void inIdBereichen(Kontext& k, const QString& tabelle, const QString& bedingung, const Parameter& p, int stueck,
                   const std::function<void(qint64, qint64, qint64)>& bereich) {
    const Datenbank& db = k.db();
    const QString wo = bedingung.isEmpty() ? QString() : " and (" + bedingung + ")";
    const QVariant erste = db.wert("select min(id) from " + tabelle + " where 1 = 1" + wo, p);
    if (erste.isNull()) return;
    stueck = qMax(1, stueck);
    const QString sql = "select count(*), max(id) from (" +
                        db.dialekt().begrenze("select id from " + tabelle + " where id > ?" + wo + " order by id", stueck) +
                        ") bereich";
    qint64 nach = erste.toLongLong() - 1;
    for (;;) {
        Parameter werte{nach};
        werte << p;
        const Recordset rs = db.abfrage(sql, werte);
        const qint64 anzahl = rs.zeilen().value(0).value(0).toLongLong();
        if (anzahl == 0) break;
        const qint64 bis = rs.zeilen().value(0).value(1).toLongLong();
        bereich(nach, bis, anzahl);
        k.pruefeAbbruch();
        if (anzahl < stueck) break;
        nach = bis;
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
// Between the worker and the window's thread: the latest report, the cancel
// wish, and the operator's messages and questions, which the window's thread
// shows while the worker waits for the answer.
class Vermittler : public Anzeige {
public:
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override {
        QMutexLocker l(&m_sperre);
        m_erledigt = erledigt;
        m_gesamt = gesamt;
        m_text = text;
        m_zaehler.clear();
        m_neu = true;
    }
    void zaehle(const QList<Zaehler>& zaehler, const QString& text) override {
        QMutexLocker l(&m_sperre);
        m_zaehler = zaehler;
        m_text = text;
        m_neu = true;
    }
    bool abbruchGewuenscht() override { return m_abbruch.load(); }
    void info(const QString& text) override { frageAn(Art::Info, text); }
    void fehler(const QString& text, const QString& details) override { frageAn(Art::Fehler, text, details); }
    bool frage(const QString& text) override { return frageAn(Art::Frage, text).ja; }
    QString eingabe(const QString& aufforderung) override { return frageAn(Art::Eingabe, aufforderung).antwort; }

    void wuenscheAbbruch() { m_abbruch = true; }
    // In the window's thread: hands a new report on, and shows a waiting question.
    void reicheWeiter(Anzeige& ziel) {
        qint64 e = 0, g = -1;
        QString t;
        QList<Zaehler> z;
        bool neu = false, offen = false;
        Art art = Art::Info;
        QString text, details;
        {
            QMutexLocker l(&m_sperre);
            neu = m_neu;
            m_neu = false;
            e = m_erledigt, g = m_gesamt, t = m_text, z = m_zaehler;
            offen = m_offen && !m_beantwortet;
            art = m_art, text = m_frageText, details = m_details;
        }
        if (neu) {
            if (z.isEmpty()) ziel.melde(e, g, t);
            else ziel.zaehle(z, t);
        }
        if (!offen) return;
        Antwort a;
        switch (art) {
            case Art::Info: ziel.info(text); break;
            case Art::Fehler: ziel.fehler(text, details); break;
            case Art::Frage: a.ja = ziel.frage(text); break;
            case Art::Eingabe: a.antwort = ziel.eingabe(text); break;
        }
        QMutexLocker l(&m_sperre);
        m_antwort = a;
        m_beantwortet = true;
        m_bedingung.wakeAll();
    }

private:
    enum class Art { Info, Fehler, Frage, Eingabe };
    struct Antwort {
        bool ja = false;
        QString antwort;
    };
    Antwort frageAn(Art art, const QString& text, const QString& details = {}) {
        QMutexLocker l(&m_sperre);
        m_art = art;
        m_frageText = text;
        m_details = details;
        m_offen = true;
        m_beantwortet = false;
        while (!m_beantwortet) m_bedingung.wait(&m_sperre);
        m_offen = false;
        return m_antwort;
    }

    QMutex m_sperre;
    QWaitCondition m_bedingung;
    qint64 m_erledigt = 0, m_gesamt = -1;
    QString m_text;
    QList<Zaehler> m_zaehler;
    bool m_neu = false;
    std::atomic<bool> m_abbruch{false};
    Art m_art = Art::Info;
    QString m_frageText, m_details;
    bool m_offen = false, m_beantwortet = false;
    Antwort m_antwort;
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
