#pragma once
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QMdiArea;

namespace talu::formen {

// Every form exists at most once: a global instance created on first use and
// released when the form unloads. Modules register their forms by name
// (static Registrierung objects), so forms open each other without knowing
// each other's classes.
using Fabrik = std::function<QWidget*()>;

struct Registrierung {
    Registrierung(const QString& name, Fabrik fabrik);
};

bool istRegistriert(const QString& name);
QStringList registrierte();

// A form's registered name is its class name: forms open each other by type,
// so a typo is a compile error, not a form that silently never opens.
template <class T>
QString nameVon() {
    const QString n = QString::fromLatin1(T::staticMetaObject.className());
    return n.mid(n.lastIndexOf(QLatin1Char(':')) + 1);
}
template <class T>
struct RegistrierungVon : Registrierung {
    RegistrierungVon() : Registrierung(nameVon<T>(), [] { return new T; }) {}
};
// The MDI area that hosts the child forms; without one, forms open as top-level windows.
void setzeHauptfenster(QMdiArea* mdi);
QMdiArea* hauptfenster();

// The main window's status bar panels 1..7, handed over by the main window, so
// that a form's long command can show its count there without knowing it.
// nullptr without a main window.
void setzeStatusfelder(std::function<QLabel*(int)> felder);
QLabel* statusfeld(int nummer);

// The form's instance, created on first use (not shown).
QWidget* instanz(const QString& name);
// The existing instance or nullptr.
QWidget* vorhanden(const QString& name);
// Creates if needed and shows the form as a child of the main window.
QWidget* zeige(const QString& name);
template <class T>
T* zeige(const QString& name) { return qobject_cast<T*>(zeige(name)); }
// Forms open the forms below them by type. The way back up (to the form that
// opened them) goes by the registered name, so that no folder includes the
// forms that include it; an unregistered name is a programming error and
// throws. `methode` is a slot of that form without arguments, called after it
// is shown.
QWidget* zurueck(const char* name, const char* methode = nullptr);
bool istGeladen(const char* name);
template <class T>
T* vorhanden(const QString& name) { return qobject_cast<T*>(vorhanden(name)); }
template <class T>
T* zeige() { return zeige<T>(nameVon<T>()); }
template <class T>
T* vorhanden() { return vorhanden<T>(nameVon<T>()); }

// Gives ziel the keyboard focus (through its focus proxy) once pending events
// have run, and makes its form the active child window.
void fokusSpaeter(QWidget* ziel);
// Unloads a form: closes its window and releases the instance.
void entlade(QWidget* form);
// KindfensterSchliessen: unloads every open child form, newest first.
void schliesseAlleKinder();
// True while schliesseAlleKinder runs: a form's Unload must not open the next
// form of its road then, or the menu action would find stray forms.
bool schliesstAlleKinder();
// Names of the loaded forms in the order they were created.
QStringList geladene();

}  // namespace talu::formen
