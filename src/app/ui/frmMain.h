#pragma once
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;

namespace talu {

struct Publics;

// The main window's texts and rules that need no window.
namespace hauptfenster {

inline const QString kPasswort = QStringLiteral("wolke ruz");
inline const QString kHinweisKostenlos = QStringLiteral("Hinweis: Alle Abfragen bis zum 20.09.2002 kostenlos!");
inline const QString kCopyright = QStringLiteral("Copyright \u00A9 2002 WQN");

// "WQN-TALU 1.079", with the edition's suffix.
QString titel(int ausgabe);

enum class Passwort { Leer, Falsch, Richtig };
// Blanks only (or a cancelled box) count as no answer; otherwise the exact,
// case-sensitive, untrimmed comparison.
Passwort pruefePasswort(const QString& antwort);

// The keys of the two password switches. Their menus stay hidden as
// designed, so the keys work on the window itself, in every edition; the
// password is asked all the same.
inline const QKeySequence kKuerzelIntern{Qt::CTRL | Qt::SHIFT | Qt::Key_I};
inline const QKeySequence kKuerzelEditiermodus{Qt::CTRL | Qt::SHIFT | Qt::Key_E};

// What Alt plus a letter does in a child form: presses the button, focuses
// the box of the label, or shows the page whose text names that letter;
// empty when no visible, enabled control of the form has it.
std::function<void()> mnemonik(QWidget* form, const QKeySequence& taste);

// Menus that the edition opens at start.
QStringList sichtbareMenuesNachAusgabe(int ausgabe);
// Menus that "Interne Funktionen aktivieren" shows, in order.
QStringList interneMenues();

}  // namespace hauptfenster

// The MDI main window with the menu that starts every function.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* eltern = nullptr);
    ~frmMain() override;

    // The window's Load: size, caption, status bar, edition menus, then shows
    // itself and (edition 3) the notice.
    void laden();

    // The one instance while it exists.
    static frmMain* instanz();

    QMdiArea* mdi() const { return m_mdi; }
    // A menu entry or menu by its name ("mnuOrtSuchen", "mnuErfassen", ...).
    QAction* eintrag(const QString& name) const;
    QMenu* menue(const QString& name) const;
    // Status bar panel 1..7.
    QLabel* panel(int nummer) const;
    bool einfuegemodus() const { return m_einfuegen; }

    void KindfensterSchliessen();
    void aktualisiereStatus();

    // Menu handlers with more than "show a form".
    void mnuProgrammBeenden_Click();
    void mnuInternAktivieren_Click();
    void mnuEditiermodusAktivieren_Click();
    void mnuZugangsDatenLoeschen_Click();
    void mnuMahnendeRechnungenDrucken_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void baueMenue();
    void baueStatusleiste();
    QMenu* neuesMenue(QMenu* ueber, const QString& name, const QString& text, bool sichtbar);
    QAction* neuerEintrag(QMenu* menue, const QString& name, const QString& text, bool sichtbar = true,
                          const QKeySequence& kurz = {});
    // Entries that open a form: close the children first (unless told not to), run the
    // preparation, then show the form if a module has registered it.
    QAction* formEintrag(QMenu* menue, const QString& name, const QString& text, const QString& form,
                         std::function<void()> vorher = {}, bool sichtbar = true,
                         const QKeySequence& kurz = {}, bool kinderSchliessen = true);
    // Entries whose work belongs to another module (talu::menue registry).
    QAction* aktionsEintrag(QMenu* menue, const QString& name, const QString& text);
    void passwortSchalter(const std::function<void()>& beiErfolg);
    // The password switches' keys, independent of their hidden menus.
    void bauePasswortKuerzel();
    // A shortcut works only while its entry can be reached in the menu bar.
    void pflegeKuerzel();
    // A key that a shortcut of this window (an entry or a password switch) answers now.
    bool istKuerzel(const QKeySequence& taste) const;
    // Alt plus the letter of a visible menu.
    bool istMenueTaste(const QKeySequence& taste) const;
    // Decides before the shortcuts who gets a key from a control of this window.
    bool tastenVorrang(QWidget* fokus, QKeyEvent* e);
    void pflegeLeiste();
    QList<QAction*> m_leiste;  // the top-level menus in their designed order
    void zeigeMenues(const QStringList& namen);

    QMdiArea* m_mdi = nullptr;
    QLabel* m_panels[7] = {};
    QTimer* m_uhr = nullptr;
    bool m_einfuegen = false;
};

}  // namespace talu
