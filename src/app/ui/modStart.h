#pragma once
#include <QString>

namespace talu {

// Entry point: stores the edition, reads computer and user name, shows the
// login form modally and then the main window. Returns the exit code.
int Start(int argc, char** argv, int ausgabe);

// Installs Qt's own German texts (shortcut names such as "Strg+S", standard
// buttons, context menus) from qtbase_de.qm in Qt's translations directory.
// False when the file is missing: Qt's texts then stay English.
bool LadeQtUebersetzung();

// The host name, or "Nicht erkannt".
QString ErmittleComputername();
// The login user's name, keeping only characters with codes 65 to 122.
QString ErmittleBenutzername();
// The filter of ErmittleBenutzername on any raw name.
QString filtereBenutzername(const QString& roh);

}  // namespace talu
