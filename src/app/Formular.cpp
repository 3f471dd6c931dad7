#include "app/Formular.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

#include "app/Dialoge.h"
#include "app/Formen.h"
#include "app/Geometrie.h"
#include "db/Datenbank.h"

namespace talu {

namespace {
QMdiSubWindow* rahmenVon(QWidget* w) {
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p)) return s;
    return nullptr;
}
}  // namespace

Formular::Formular(QWidget* parent) : QWidget(parent) {}

void Formular::verstecke() {
    if (QMdiSubWindow* s = rahmenVon(this)) s->hide();
    else hide();
}

void Formular::entlade() { formen::entlade(this); }

void Formular::setzeStartfeld(QWidget* feld) {
    m_startfeld = feld;
    setFocusProxy(feld);
}

void Formular::escapeDrueckt(QAbstractButton* knopf) {
    taste(QKeySequence(Qt::Key_Escape), [knopf] {
        if (knopf->isEnabled() && knopf->isVisible()) knopf->click();
    });
}

void Formular::enterDrueckt(QAbstractButton* knopf) {
    for (int k : {Qt::Key_Return, Qt::Key_Enter})
        taste(QKeySequence(k), [knopf] {
            if (knopf->isEnabled() && knopf->isVisible()) knopf->click();
        });
}

void Formular::taste(const QKeySequence& k, std::function<void()> handlung) {
    auto* s = new QShortcut(k, this);
    s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(s, &QShortcut::activated, this, [h = std::move(handlung)] { h(); });
}

bool Formular::mitDatenbank(const QString& wasScheitert, const std::function<void()>& arbeit) {
    Sanduhr sanduhr;
    try {
        arbeit();
        return true;
    } catch (const DbFehler& f) {
        sanduhr.aus();
        zeige(this, datenbankMeldung(wasScheitert + "\n" + f.kurz(), f.serverText(), f.sql()));
        return false;
    }
}

bool Formular::schliesstAlle() { return formen::schliesstAlleKinder(); }

void Formular::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_platziert) {
        m_platziert = true;
        switch (m_platz) {
            case Platz::Mitte: ZentriereKind(formen::hauptfenster(), this, 0, 0); break;
            case Platz::ObenLinks:
                if (QMdiSubWindow* s = rahmenVon(this)) s->move(twips(300), twips(300));
                else if (!formen::hauptfenster()) move(twips(300), twips(300));
                break;
            case Platz::Selbst: break;
        }
        beimErstenZeigen();
    }
    if (m_startfeld) m_startfeld->setFocus();
}

void Formular::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    beimEntladen();
}

}  // namespace talu
