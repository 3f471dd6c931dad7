#include "kit/ui/Seitenwechsel.h"

#include <QFocusEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

namespace talu {

void blaettere(QTabWidget* seiten, int schritt) {
    const int n = seiten->count();
    if (n < 2 || schritt == 0) return;
    const int richtung = schritt > 0 ? 1 : -1;
    int ziel = seiten->currentIndex();
    for (int versuch = 0; versuch < n; ++versuch) {
        ziel = ((ziel + richtung) % n + n) % n;
        if (seiten->isTabEnabled(ziel) && seiten->isTabVisible(ziel)) {
            seiten->setCurrentIndex(ziel);
            return;
        }
    }
}

void richteSeitenwechselEin(QTabWidget* seiten, QWidget* form) {
    const struct {
        QKeySequence taste;
        int schritt;
    } tasten[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), +1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1},
        // Shift+Tab arrives as Backtab; X11 matches it as Ctrl+Shift+Tab.
        // (Ctrl+Backtab as well would make the key ambiguous there.)
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& t : tasten) {
        auto* kuerzel = new QShortcut(t.taste, form);
        kuerzel->setContext(Qt::WidgetWithChildrenShortcut);
        const int schritt = t.schritt;
        QObject::connect(kuerzel, &QShortcut::activated, seiten, [seiten, schritt] { blaettere(seiten, schritt); });
    }
}

namespace {
class Fokusziel : public QObject {
public:
    Fokusziel(QWidget* form, std::function<QWidget*()> ziel) : QObject(form), m_ziel(std::move(ziel)) {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::FocusIn && objekt == parent()) {
            QWidget* z = m_ziel ? m_ziel() : nullptr;
            if (z && z != objekt && z->isVisible() && z->isEnabled())
                z->setFocus(static_cast<QFocusEvent*>(ereignis)->reason());
        }
        return QObject::eventFilter(objekt, ereignis);
    }

private:
    std::function<QWidget*()> m_ziel;
};
}  // namespace

void setzeFokusziel(QWidget* form, std::function<QWidget*()> ziel) { new Fokusziel(form, std::move(ziel)); }

}  // namespace talu
