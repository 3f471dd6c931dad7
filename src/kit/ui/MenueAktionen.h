#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace talu::menue {

// Menu entries that start work rather than open a form (invoice run, print-outs,
// maintenance tools) are registered by the module that owns the work, under the
// entry's name, e.g.
//   static talu::menue::Registrierung reg("mnuRechnungenDrucken", [](QWidget* haupt) { ... });
// The main window calls the registered action when the entry is chosen; the
// argument is the main window (parent for message boxes).
using Aktion = std::function<void(QWidget* hauptfenster)>;

struct Registrierung {
    Registrierung(const QString& menueName, Aktion aktion);
};

bool istRegistriert(const QString& menueName);
// Runs the action; false when none is registered under that name.
bool fuehreAus(const QString& menueName, QWidget* hauptfenster);
QStringList registrierte();

}  // namespace talu::menue
