#include "kit/ui/Formular.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QEvent>
#include <QShortcut>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/ui/Seitenwechsel.h"
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
    // No focus proxy: a proxy on the last control of the Tab order would keep Tab there.
    if (!m_startfeld) setzeFokusziel(this, [this]() -> QWidget* { return m_startfeld; });
    m_startfeld = feld;
}

void Formular::keyPressEvent(QKeyEvent* e) {
    if (!(e->modifiers() & ~Qt::KeypadModifier)) {
        QAbstractButton* knopf = nullptr;
        if (e->key() == Qt::Key_Escape) knopf = m_escape;
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) knopf = m_enter;
        if (knopf && knopf->isEnabled() && knopf->isVisible()) {
            knopf->click();
            return;
        }
    }
    QWidget::keyPressEvent(e);
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

bool Formular::event(QEvent* e) {
    // Going into its child window the form still has the size it gave itself.
    if (e->type() == QEvent::ParentChange && !m_platziert && testAttribute(Qt::WA_Resized) &&
        qobject_cast<QMdiSubWindow*>(parentWidget()))
        m_entwurf = size();
    return QWidget::event(e);
}

void Formular::nimmEntwurfsgroesse() {
    QMdiSubWindow* s = rahmenVon(this);
    QMdiArea* mdi = formen::hauptfenster();
    if (!s || !mdi) return;
    // Never below what the layout needs; a form without a size of its own
    // opens at the size its layout asks for.
    const QSize inhalt = (m_entwurf.isValid() ? m_entwurf : sizeHint()).expandedTo(minimumSizeHint());
    const QSize rahmen = s->size() - size();
    // A form placed near the top left corner keeps that distance inside the area too.
    const int abstand = m_platz == Platz::ObenLinks ? twips(300) : 0;
    const QSize platz = mdi->viewport()->size() - QSize(abstand, abstand);
    s->resize((inhalt + rahmen).boundedTo(platz));
}

void Formular::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_platziert) {
        m_platziert = true;
        nimmEntwurfsgroesse();
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
