#pragma once
#include <QString>
#include <QWidget>
#include <functional>

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
// The MDI area that hosts the child forms; without one, forms open as top-level windows.
void setzeHauptfenster(QMdiArea* mdi);
QMdiArea* hauptfenster();

// The form's instance, created on first use (not shown).
QWidget* instanz(const QString& name);
// The existing instance or nullptr.
QWidget* vorhanden(const QString& name);
// Creates if needed and shows the form as a child of the main window.
QWidget* zeige(const QString& name);
template <class T>
T* zeige(const QString& name) { return qobject_cast<T*>(zeige(name)); }
template <class T>
T* vorhanden(const QString& name) { return qobject_cast<T*>(vorhanden(name)); }

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
