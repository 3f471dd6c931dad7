#pragma once
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

#include "db/Datenbank.h"

namespace talu::stapel {

// One counter of a report: its label, as the progress form shows it, and its value.
struct Zaehler {
    QString name;
    qint64 wert = 0;
    // The number format of its box where it differs from the form's ("0": plain decimal).
    QString muster = {};
};

// How a long command talks to the operator, the one feedback type of every
// long command: its progress (a number with its total, or several named
// counters, and a status text), the cancel wish between rows, and the
// operator's messages and questions. A progress form's counter boxes, the
// status panel, a progress dialog and standard error each implement it once;
// the boxes of the program answer its questions (MitDialogen).
class Anzeige {
public:
    virtual ~Anzeige() = default;
    // gesamt < 0: the total is unknown.
    virtual void melde(qint64 erledigt, qint64 gesamt, const QString& text) = 0;
    // Several counters in one report; a display without a box per counter shows the first.
    virtual void zaehle(const QList<Zaehler>& zaehler, const QString& text);
    // Asked between rows; only jobs that allow it are cancelled.
    virtual bool abbruchGewuenscht() { return false; }
    // A message or question is about to be shown: a display in a window gets
    // out of its way until the next report.
    virtual void beiseite() {}

    // The operator's messages and questions. Where nobody answers, a message
    // goes nowhere, a question is answered No and an input is empty.
    virtual void info(const QString& text);
    virtual void fehler(const QString& text, const QString& details = {});
    virtual bool frage(const QString& text);
    virtual QString eingabe(const QString& aufforderung);
    // Before step nr of anzahl ("Rechnung für „Anton AG“"): reports it; false
    // when the operator wants to stop before it.
    virtual bool fortschritt(int nr, int anzahl, const QString& was);
};

// Standard error for the progress, one line rewritten per report; standard
// output for the messages; questions answered as the command line said.
class AnzeigeStderr : public Anzeige {
public:
    explicit AnzeigeStderr(bool leise = false) : m_leise(leise) {}
    ~AnzeigeStderr() override;
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override;
    void zaehle(const QList<Zaehler>& zaehler, const QString& text) override;
    void info(const QString& text) override;
    void fehler(const QString& text, const QString& details = {}) override;
    bool frage(const QString& text) override;
    // The answer to every question and the line that explains it.
    void setzeAntwort(bool ja, const QString& begruendung) {
        m_ja = ja;
        m_begruendung = begruendung;
    }
    int fehlerAnzahl() const { return m_fehler; }
    // The counters of the last report, "Treffer: 12, …"; empty without one.
    QString zaehlerstand() const { return m_zaehlerstand; }

private:
    void zeile(const QString& text);
    void zeileBeenden();
    bool m_leise;
    bool m_zeile = false;
    bool m_ja = false;
    QString m_begruendung;
    QString m_zaehlerstand;
    int m_fehler = 0;
};

// Progress handed to a function (counter boxes, a status panel, tests).
class AnzeigeFunktion : public Anzeige {
public:
    using Melden = std::function<void(qint64, qint64, const QString&)>;
    using Abbruch = std::function<bool()>;
    explicit AnzeigeFunktion(Melden m, Abbruch a = {}) : m_melden(std::move(m)), m_abbruch(std::move(a)) {}
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override {
        if (m_melden) m_melden(erledigt, gesamt, text);
    }
    bool abbruchGewuenscht() override { return m_abbruch && m_abbruch(); }

private:
    Melden m_melden;
    Abbruch m_abbruch;
};

// Thrown inside a job when the operator cancelled it.
struct Abgebrochen : std::exception {
    const char* what() const noexcept override { return "abgebrochen"; }
};

// What a command promises about its writes.
enum class Schreiben {
    // One transaction for the whole command: cancelled or failed, the
    // database is as it was before.
    AllesOderNichts,
    // Transactions of a chunk each (Stapelschreiber): cancelled or failed,
    // the database stands at the last chunk boundary, which the result names.
    Stueckweise,
};

class Kontext;

// A long command: an import, an average, a clean-up, a conversion.
class Auftrag {
public:
    virtual ~Auftrag() = default;
    virtual QString titel() const = 0;
    virtual Schreiben schreiben() const { return Schreiben::AllesOderNichts; }
    virtual bool abbrechbar() const { return true; }
    // Does the work; reports through k and checks k.pruefeAbbruch() between rows.
    virtual void fuehreAus(Kontext& k) = 0;
    // After a run to its end: what the operator should know beyond the end
    // message (e.g. that a skip count passed over the whole table); empty: nothing.
    virtual QString hinweis() const { return {}; }
};

// What the job sees while it runs.
class Kontext {
public:
    Kontext(const Datenbank& db, Anzeige& anzeige, bool abbrechbar);
    const Datenbank& db() const { return m_db; }
    // Shows the progress; called per row, it passes on at most a few times a second.
    void melde(qint64 erledigt, qint64 gesamt, const QString& text = {});
    void zaehle(const QList<Zaehler>& zaehler, const QString& text = {}, bool letzte = false);
    // The operator, for the job's messages and questions.
    Anzeige& anzeige() const { return m_anzeige; }
    // Throws Abgebrochen when the operator cancelled and the job allows it.
    void pruefeAbbruch();
    // Rows written and committed so far (counted by the Stapelschreiber).
    qint64 gesichert() const { return m_gesichert; }
    void zaehleGesichert(qint64 n) { m_gesichert += n; }

private:
    const Datenbank& m_db;
    Anzeige& m_anzeige;
    bool m_abbrechbar;
    QElapsedTimer m_uhr;
    qint64 m_letzteMeldung = -1;
    qint64 m_gesichert = 0;
};

// Writes rows through one prepared statement, reused for every row, in
// transactions of a chunk of rows each.
class Stapelschreiber {
public:
    Stapelschreiber(Kontext& k, const QString& sql, int stueck = 5000);
    ~Stapelschreiber();  // an unfinished chunk is rolled back
    // Adds one row; commits the chunk when it is full. Returns the rows affected.
    int schreibe(const Parameter& werte);
    // Commits the last chunk.
    void beende();

private:
    void beginneStueck();
    Kontext& m_k;
    Anweisung m_anweisung;
    int m_stueck;
    int m_imStueck = 0;
    std::unique_ptr<Transaktion> m_transaktion;
};

// Reads a table's rows in pages of increasing id, so that a long read never
// stays open while the same connection writes. select is "select id, ... from
// t [where ...]" without order; the page is appended as "and/where id > ?".
void seitenweise(const Datenbank& db, const QString& select, const Parameter& p, int seite,
                 const std::function<void(const QSqlRecord&)>& zeile);

// Walks the rows of a table that meet the condition (with its parameters) in
// ascending id, in ranges of up to stueck rows: for each the id before it, its
// last id and its number of rows. A job that works on a range with one
// statement reports and checks the cancel between ranges.
void inIdBereichen(Kontext& k, const QString& tabelle, const QString& bedingung, const Parameter& p, int stueck,
                   const std::function<void(qint64 nach, qint64 bis, qint64 anzahl)>& bereich);

struct Ergebnis {
    enum class Status { Fertig, Abgebrochen, Fehler };
    Status status = Status::Fertig;
    qint64 gesichert = 0;  // rows committed (chunked commands)
    QString meldung;       // German text for the operator on Abgebrochen and Fehler
    QString serverText;
};

// Runs a job with its transaction promise; never throws.
Ergebnis fuehreAus(Auftrag& auftrag, const Datenbank& db, Anzeige& anzeige);

// The same on a connection of its own (same login) in a worker thread, while
// the calling thread keeps its windows alive: it processes their events and
// passes the job's progress and the operator's cancel on. A single long
// statement then never freezes the window. Where no second connection can be
// opened the job runs in the calling thread.
Ergebnis fuehreAusNebenbei(Auftrag& auftrag, const Datenbank& db, Anzeige& anzeige);

}  // namespace talu::stapel
