#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace talu {

// A message for the operator. Logic classes return them instead of opening
// boxes, so that they can be checked without a screen.
struct Meldung {
    enum Art { Information, Kritisch };
    Art art = Information;
    QString titel;  // empty or "Information", as the forms use them
    QString text;
    QString details = {};  // e.g. the statement that failed; unfolded on request
};

// Message boxes, the input box and the busy pointer go through this
// interface, so that the program's dialogue with the operator can be answered
// without a screen, and so that code without widgets can talk to the operator.
class Dialoge {
public:
    enum class Symbol { Keins, Information, Kritisch, Warnung, Frage };

    virtual ~Dialoge() = default;
    // A message with OK; details (e.g. a server's error text) can be unfolded.
    virtual void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                         const QString& details = {}) = 0;
    // A Yes/No question, with the question mark unless told otherwise; true for Yes.
    virtual bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text,
                             Symbol symbol = Symbol::Frage) = 0;
    // The input box: the typed text, or the empty text when it is cancelled.
    virtual QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                            const QString& vorgabe = {}) = 0;
    // The busy pointer on or off; calls nest.
    virtual void sanduhr(bool an) { (void)an; }
};

// The boxes in use: those a test (or a tool) has set, else the screen's boxes
// when the user interface is linked, else messages on standard error with
// every question answered No.
Dialoge& dialoge();
// nullptr restores the standard boxes. The caller keeps ownership.
void setzeDialoge(Dialoge* d);
// The user interface installs its boxes here once.
void setzeStandardDialoge(Dialoge* d);

// Shows a message; the busy pointer is lifted while the operator reads it.
void zeige(QWidget* eltern, const Meldung& m);
// The message for a failed database operation: what failed and the server's own text.
Meldung datenbankMeldung(const QString& kurz, const QString& serverText, const QString& details = {});

// The busy pointer for the scope of an operation.
class Sanduhr {
public:
    Sanduhr();
    ~Sanduhr();
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;
    void aus();
    // True while any busy pointer is on.
    static bool laeuft();

private:
    bool m_an = false;
};

// Convenience calls on dialoge().
void meldeInfo(QWidget* eltern, const QString& text, const QString& titel = {});
void meldeKritisch(QWidget* eltern, const QString& text, const QString& titel = {},
                   const QString& details = {});

// Answers the boxes from a script and records what was shown; installs itself
// for its lifetime. Used where the program runs without an operator.
class DialogAufzeichnung : public Dialoge {
public:
    struct Gezeigt {
        Symbol symbol;
        QString titel, text, details;
    };
    DialogAufzeichnung();
    ~DialogAufzeichnung() override;

    void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                 const QString& details) override;
    bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text, Symbol symbol) override;
    QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                    const QString& vorgabe) override;
    void sanduhr(bool an) override;

    QList<Gezeigt> meldungen;
    int sanduhren = 0;          // busy pointers switched on so far
    QStringList fragen, aufforderungen;
    QList<Symbol> fragenSymbole;
    QList<bool> jaAntworten;    // next answers to frageJaNein, default No
    QStringList eingaben;       // next answers to eingabe, default "" (cancelled)

    QStringList texte() const;  // the texts of all messages, in order
    void leeren();

private:
    Dialoge* m_vorher;
};

}  // namespace talu
