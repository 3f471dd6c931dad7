#include "kit/ui/Formen.h"

#include <QApplication>
#include <QHash>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <stdexcept>

namespace talu::formen {

namespace {
struct Register {
    QHash<QString, Fabrik> fabriken;
    QList<QPair<QString, QPointer<QWidget>>> geladen;
    QPointer<QMdiArea> mdi;
    std::function<QLabel*(int)> statusfelder;
};
Register& reg() {
    static Register r;
    return r;
}
void aufraeumen() {
    auto& g = reg().geladen;
    for (int i = int(g.size()) - 1; i >= 0; --i)
        if (g[i].second.isNull()) g.removeAt(i);
}
QMdiSubWindow* rahmenVon(QWidget* w) {
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p)) return s;
    return nullptr;
}
}  // namespace

Registrierung::Registrierung(const QString& name, Fabrik fabrik) { reg().fabriken.insert(name, std::move(fabrik)); }

bool istRegistriert(const QString& name) { return reg().fabriken.contains(name); }

QStringList registrierte() {
    QStringList l = reg().fabriken.keys();
    l.sort();
    return l;
}

void setzeHauptfenster(QMdiArea* mdi) { reg().mdi = mdi; }
QMdiArea* hauptfenster() { return reg().mdi; }

void setzeStatusfelder(std::function<QLabel*(int)> felder) { reg().statusfelder = std::move(felder); }
QLabel* statusfeld(int nummer) { return reg().statusfelder ? reg().statusfelder(nummer) : nullptr; }

namespace {
QString gepruefterName(const char* name) {
    const QString n = QString::fromLatin1(name);
    if (!istRegistriert(n)) throw std::logic_error("Formular nicht registriert: " + n.toStdString());
    return n;
}
}  // namespace

QWidget* zurueck(const char* name, const char* methode) {
    QWidget* w = zeige(gepruefterName(name));
    if (w && methode && !QMetaObject::invokeMethod(w, methode, Qt::DirectConnection))
        throw std::logic_error(std::string("Methode fehlt: ") + name + "::" + methode);
    return w;
}

bool istGeladen(const char* name) { return vorhanden(gepruefterName(name)) != nullptr; }

QWidget* vorhanden(const QString& name) {
    aufraeumen();
    for (const auto& [n, w] : reg().geladen)
        if (n == name) return w;
    return nullptr;
}

QWidget* instanz(const QString& name) {
    if (QWidget* w = vorhanden(name)) return w;
    const auto it = reg().fabriken.constFind(name);
    if (it == reg().fabriken.constEnd()) return nullptr;
    QWidget* w = (*it)();
    if (!w) return nullptr;
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    if (QMdiArea* mdi = reg().mdi) {
        QMdiSubWindow* sub = mdi->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
    }
    reg().geladen.append({name, QPointer<QWidget>(w)});
    return w;
}

QWidget* zeige(const QString& name) {
    QWidget* w = instanz(name);
    if (!w) return nullptr;
    if (QMdiSubWindow* sub = rahmenVon(w)) {
        sub->show();
        sub->raise();
        if (reg().mdi) reg().mdi->setActiveSubWindow(sub);
    } else {
        w->show();
        w->raise();
    }
    w->activateWindow();
    // A form usually shows its successor and then unloads itself, which
    // leaves the focus nowhere; the new form takes it once that is done.
    fokusSpaeter(w);
    return w;
}

void entlade(QWidget* form) {
    if (!form) return;
    for (auto& e : reg().geladen)
        if (e.second == form) e.second = nullptr;
    aufraeumen();
    if (QMdiSubWindow* sub = rahmenVon(form)) {
        sub->close();
    } else {
        form->close();
    }
}

void fokusSpaeter(QWidget* ziel) {
    if (!ziel) return;
    QTimer::singleShot(0, ziel, [ziel] {
        if (!ziel->isVisible() || !ziel->isEnabled()) return;
        if (QMdiSubWindow* sub = rahmenVon(ziel); sub && sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
        ziel->activateWindow();
        // Focus already inside stays where it is: passing it through the form
        // would make its box "left" and run that box's work unasked.
        const QWidget* jetzt = QApplication::focusWidget();
        if (jetzt && (jetzt == ziel || ziel->isAncestorOf(jetzt))) return;
        ziel->setFocus(Qt::OtherFocusReason);
    });
}

namespace {
int g_schliesstAlle = 0;
}

bool schliesstAlleKinder() { return g_schliesstAlle > 0; }

void schliesseAlleKinder() {
    ++g_schliesstAlle;
    struct Ende {
        ~Ende() { --g_schliesstAlle; }
    } ende;
    aufraeumen();
    const auto kopie = reg().geladen;
    for (int i = int(kopie.size()) - 1; i >= 0; --i)
        if (!kopie[i].second.isNull()) entlade(kopie[i].second);
}

QStringList geladene() {
    aufraeumen();
    QStringList l;
    for (const auto& e : reg().geladen) l << e.first;
    return l;
}

}  // namespace talu::formen
