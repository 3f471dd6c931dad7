#include "kit/ui/MenueAktionen.h"

#include <QHash>

namespace talu::menue {

namespace {
QHash<QString, Aktion>& aktionen() {
    static QHash<QString, Aktion> a;
    return a;
}
}  // namespace

Registrierung::Registrierung(const QString& menueName, Aktion aktion) {
    aktionen().insert(menueName, std::move(aktion));
}

bool istRegistriert(const QString& menueName) { return aktionen().contains(menueName); }

bool fuehreAus(const QString& menueName, QWidget* hauptfenster) {
    const auto it = aktionen().constFind(menueName);
    if (it == aktionen().constEnd() || !*it) return false;
    (*it)(hauptfenster);
    return true;
}

QStringList registrierte() { return aktionen().keys(); }

}  // namespace talu::menue
