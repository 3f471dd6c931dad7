#pragma once
#include <QString>

class QWidget;

namespace talu::stapel {
class Anzeige;
}

namespace talu::abrechnung {

// How the billing work talks to the operator: message boxes in the program,
// lines on the console in the command-line tool, scripted answers in tests.
class Bediener {
public:
    virtual ~Bediener() = default;
    // A plain message (OK, information icon, empty title).
    virtual void info(const QString& text) = 0;
    // A failure; details carry the server's or the printer's own text.
    virtual void fehler(const QString& text, const QString& details = {}) = 0;
    // The closing question: true for Yes.
    virtual bool frage(const QString& text) = 0;
    // The input box; the empty text when cancelled.
    virtual QString eingabe(const QString& aufforderung) = 0;
    // Before each invoice of the invoice run (nr counts from 1); was names
    // it ("Rechnung für „Anton AG“"). False stops the run before it.
    virtual bool fortschritt(int nr, int anzahl, const QString& was);
};

// Through talu::dialoge(): the real boxes, or the ones a test has set. The
// invoice run's progress goes to a batch display (a progress dialog) when
// one is given; its "Abbrechen" stops the run before the next invoice. The
// display steps aside before any box, so that the box is never covered.
class DialogBediener : public Bediener {
public:
    explicit DialogBediener(QWidget* eltern = nullptr, stapel::Anzeige* anzeige = nullptr)
        : m_eltern(eltern), m_anzeige(anzeige) {}
    void info(const QString& text) override;
    void fehler(const QString& text, const QString& details = {}) override;
    bool frage(const QString& text) override;
    QString eingabe(const QString& aufforderung) override;
    bool fortschritt(int nr, int anzahl, const QString& kunde) override;

protected:
    QWidget* eltern() const { return m_eltern; }
    // The progress display steps aside before every box.
    void beiseite();

private:
    QWidget* m_eltern;
    stapel::Anzeige* m_anzeige;
};

}  // namespace talu::abrechnung
