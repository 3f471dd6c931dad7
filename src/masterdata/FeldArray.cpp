#include "masterdata/FeldArray.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPalette>

namespace talu {

FeldArray::FeldArray(const QVector<QLineEdit*>& felder, QObject* parent, int jaNeinFeld)
    : QObject(parent), m_jaNein(jaNeinFeld), m_besitzerKlasse(parent ? parent->metaObject() : nullptr) {
    for (QLineEdit* f : felder) m_felder.append(f);
    for (QLineEdit* f : felder) {
        if (!f) continue;
        setzeFarben(f, f->hasFocus());
        f->installEventFilter(this);
    }
}

FeldArray::~FeldArray() {
    for (const QPointer<QLineEdit>& f : m_felder)
        if (f) f->removeEventFilter(this);
}

QLineEdit* FeldArray::feld(int index) const {
    return index >= 0 && index < m_felder.size() ? m_felder[index] : nullptr;
}

int FeldArray::indexVon(const QObject* o) const {
    for (int i = 0; i < m_felder.size(); ++i)
        if (m_felder[i].data() == o) return i;
    return -1;
}

bool FeldArray::besitzerZerfaellt() const {
    // Once a form's destructor has run, its object only answers as a plain
    // QWidget; its members (which the hooks use) are gone by then.
    return QCoreApplication::closingDown() ||
           (m_besitzerKlasse && parent() && !parent()->metaObject()->inherits(m_besitzerKlasse));
}

QColor FeldArray::qbColor(int nummer) {
    // The classic 16-colour palette; the fields use 1 (dark blue) and 15 (white).
    static const QColor farben[16] = {
        {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
        {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
        {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    return farben[qBound(0, nummer, 15)];
}

void FeldArray::setzeFarben(QLineEdit* feld, bool fokus) {
    QPalette p = feld->palette();
    const QPalette standard = QApplication::palette(feld);
    const QColor hinten = fokus ? qbColor(1) : qbColor(15);
    const QColor vorn = fokus ? qbColor(15) : qbColor(1);
    for (auto gruppe : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(gruppe, QPalette::Base, hinten);
        p.setColor(gruppe, QPalette::Text, vorn);
        // A field keeps its whole text selected when it is left, but only the
        // field with the focus shows a selection: the others draw it in their
        // own colours, so that one field at a time looks selected.
        p.setColor(gruppe, QPalette::Highlight, fokus ? standard.color(gruppe, QPalette::Highlight) : hinten);
        p.setColor(gruppe, QPalette::HighlightedText, fokus ? standard.color(gruppe, QPalette::HighlightedText) : vorn);
    }
    feld->setPalette(p);
}

QString FeldArray::jaNeinText(const QString& text) {
    const QString klein = text.toLower();
    if (klein == QLatin1String("j")) return QStringLiteral("Ja");
    if (klein == QLatin1String("n")) return QStringLiteral("Nein");
    return text;
}

void FeldArray::betreten(int index) {
    QLineEdit* f = m_felder[index];
    f->selectAll();
    setzeFarben(f, true);
    emit feldBetreten(index);
}

void FeldArray::verlassen(int index) {
    QLineEdit* f = m_felder[index];
    f->selectAll();
    setzeFarben(f, false);
    if (index == m_jaNein) {
        const QString neu = jaNeinText(f->text());
        if (neu != f->text()) f->setText(neu);
    }
    emit feldVerlassen(index);
}

void FeldArray::bewege(int vonIndex, int richtung) {
    const int n = anzahl();
    if (n == 0) return;
    // Fields that cannot take the focus (hidden, disabled) are stepped over.
    int ziel = vonIndex;
    for (int schritt = 0; schritt < n; ++schritt) {
        ziel = ((ziel + richtung) % n + n) % n;
        QLineEdit* f = m_felder[ziel];
        if (f && f->isEnabled() && f->isVisibleTo(f->window()) && f->focusPolicy() != Qt::NoFocus) {
            f->setFocus(Qt::OtherFocusReason);
            if (ziel == vonIndex) f->selectAll();  // a one-field form keeps its field, freshly selected
            return;
        }
    }
}

bool FeldArray::taste(int index, QKeyEvent* e) {
    if (m_tastenHook && m_tastenHook(index, e)) return true;
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            bewege(index, +1);
            return true;  // Enter must not reach the field or the form's default button
        case Qt::Key_Up:
            bewege(index, -1);
            return true;
        default:
            return false;
    }
}

bool FeldArray::eventFilter(QObject* objekt, QEvent* ereignis) {
    // qobject_cast fails on a field that is being destroyed; it is left alone.
    auto* le = qobject_cast<QLineEdit*>(objekt);
    const int index = le ? indexVon(le) : -1;
    if (index < 0 || besitzerZerfaellt()) return QObject::eventFilter(objekt, ereignis);
    switch (ereignis->type()) {
        case QEvent::FocusIn: {
            // Let the field take the focus first, then select and colour it:
            // QLineEdit's own focus handling would move the cursor afterwards.
            le->event(ereignis);
            betreten(index);
            return true;
        }
        case QEvent::FocusOut: {
            le->event(ereignis);
            verlassen(index);
            return true;
        }
        case QEvent::KeyPress:
            return taste(index, static_cast<QKeyEvent*>(ereignis));
        case QEvent::ShortcutOverride: {
            // Enter and the arrows belong to the field array, not to shortcuts.
            const int k = static_cast<QKeyEvent*>(ereignis)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Up || k == Qt::Key_Down) {
                ereignis->accept();
                return true;
            }
            return false;
        }
        default:
            return QObject::eventFilter(objekt, ereignis);
    }
}

}  // namespace talu
