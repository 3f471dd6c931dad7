#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>

#include <QAbstractButton>
class QKeySequence;

namespace talu {

// The base of every child form: where it stands when first shown, which field
// then has the focus, its Unload (run once, however the form closes), hiding
// it with its window frame, the standard keys, and database work under the
// busy pointer with a German message when it fails.
class Formular : public QWidget {
    Q_OBJECT
public:
    enum class Platz {
        Mitte,      // centred in the main window
        ObenLinks,  // 300 twips from the main window's top left corner
        Selbst,     // the form places itself (beimErstenZeigen)
    };
    explicit Formular(QWidget* parent = nullptr);

    // Hides the form together with its frame in the main window.
    void verstecke();
    // Unloads the form: closes it and releases the instance.
    void entlade();

protected:
    void setzePlatz(Platz p) { m_platz = p; }
    // The field that takes the focus whenever the form is shown or given the focus.
    void setzeStartfeld(QWidget* feld);
    // Escape or Enter in the form presses the button, once no control took the
    // key: an open drop-down list closes or takes its entry first.
    void escapeDrueckt(QAbstractButton* knopf) { m_escape = knopf; }
    void enterDrueckt(QAbstractButton* knopf) { m_enter = knopf; }
    // Any other key of the form.
    void taste(const QKeySequence& k, std::function<void()> handlung);
    // Runs database work under the busy pointer; a DbFehler becomes a critical
    // message "wasScheitert" with the server's text, and false.
    bool mitDatenbank(const QString& wasScheitert, const std::function<void()>& arbeit);
    // True while the main window closes all children: an Unload must not open
    // the next form of its road then.
    static bool schliesstAlle();

    // Once, after the form was placed on its first show.
    virtual void beimErstenZeigen() {}
    // The form's Unload: once, after the form left the registry.
    virtual void beimEntladen() {}

    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Gives the child window the form's designed size, capped by the main window.
    void nimmEntwurfsgroesse();

    QPointer<QAbstractButton> m_escape, m_enter;
    // The size the form gave itself before it went into its child window;
    // the child window would otherwise open at its own default size.
    QSize m_entwurf;
    Platz m_platz = Platz::Mitte;
    QPointer<QWidget> m_startfeld;
    bool m_platziert = false;
    bool m_entladen = false;
};

}  // namespace talu
