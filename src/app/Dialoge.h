#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace talu {

// Message boxes and the input box go through this interface, so that the
// program's dialogue with the operator can be answered without a screen.
class Dialoge {
public:
    enum class Symbol { Keins, Information, Kritisch, Warnung, Frage };

    virtual ~Dialoge() = default;
    // A message with OK; details (e.g. a server's error text) can be unfolded.
    virtual void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                         const QString& details = {}) = 0;
    // A Yes/No question; true for Yes.
    virtual bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text) = 0;
    // The input box: the typed text, or the empty text when it is cancelled.
    virtual QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                            const QString& vorgabe = {}) = 0;
};

// The boxes in use: the real ones unless a test has set its own.
Dialoge& dialoge();
// nullptr restores the real boxes. The caller keeps ownership.
void setzeDialoge(Dialoge* d);

// Convenience calls on dialoge().
void meldeInfo(QWidget* eltern, const QString& text, const QString& titel = {});
void meldeKritisch(QWidget* eltern, const QString& text, const QString& titel = {},
                   const QString& details = {});

// Answers the boxes from a script and records what was shown; installs itself
// for its lifetime. Used where the program runs without an operator.
class DialogAufzeichnung : public Dialoge {
public:
    struct Meldung {
        Symbol symbol;
        QString titel, text, details;
    };
    DialogAufzeichnung();
    ~DialogAufzeichnung() override;

    void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                 const QString& details) override;
    bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text) override;
    QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                    const QString& vorgabe) override;

    QList<Meldung> meldungen;
    QStringList fragen, aufforderungen;
    QList<bool> jaAntworten;    // next answers to frageJaNein, default No
    QStringList eingaben;       // next answers to eingabe, default "" (cancelled)

    QStringList texte() const;  // the texts of all messages, in order
    void leeren();

private:
    Dialoge* m_vorher;
};

}  // namespace talu
