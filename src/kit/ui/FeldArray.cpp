#include "kit/ui/FeldArray.h"

#include <QValidator>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QProxyStyle>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>
#include <QValidator>

#include "kit/Dialoge.h"

namespace talu {

namespace {

// Qt draws the text cursor of a box whose text is selected even after the box
// lost the focus. The fields keep their whole text selected when they are
// left, so only the field with the focus may show it.
class NurMitFokusCursor : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hinweis, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* antwort) const override {
        if (hinweis == SH_BlinkCursorWhenTextSelected && widget && !widget->hasFocus()) return 0;
        return QProxyStyle::styleHint(hinweis, option, widget, antwort);
    }
};

QStyle* feldStil() {
    static QPointer<QStyle> stil;
    if (!stil) {
        // The application's own style underneath, so that the fields look as before.
        stil = new NurMitFokusCursor(QStyleFactory::create(QApplication::style()->name()));
        stil->setParent(qApp);
    }
    return stil;
}

// True while a field takes the focus back after a refused text: the focus
// passes other fields on its way without entering or leaving them.
bool g_weistZurueck = false;

bool fensterGewechselt(Qt::FocusReason grund) {
    return grund == Qt::ActiveWindowFocusReason || grund == Qt::PopupFocusReason;
}

// A field on a page of a tab control that is not shown: shows that page.
void zeigeSeiteVon(QWidget* feld) {
    for (QWidget* w = feld; w && !w->isWindow(); w = w->parentWidget()) {
        auto* stapel = qobject_cast<QStackedWidget*>(w->parentWidget());
        auto* seiten = stapel ? qobject_cast<QTabWidget*>(stapel->parentWidget()) : nullptr;
        if (seiten && seiten->currentWidget() != w) seiten->setCurrentWidget(w);
    }
}

// A NUL in a pasted text: invisible in the field, cut off or refused by the
// servers' text columns and the end of a LIKE pattern. The field drops it,
// so that what it shows is what is stored.
class OhneNullzeichen : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int& pos) const override {
        for (qsizetype i = text.indexOf(QChar(0)); i >= 0; i = text.indexOf(QChar(0), i)) {
            text.remove(i, 1);
            if (pos > i) --pos;
        }
        return Acceptable;
    }
};

}  // namespace

FeldArray::FeldArray(const QVector<QLineEdit*>& felder, QObject* parent, int jaNeinFeld)
    : QObject(parent), m_jaNein(jaNeinFeld), m_besitzerKlasse(parent ? parent->metaObject() : nullptr) {
    for (QLineEdit* f : felder) m_felder.append(f);
    for (QLineEdit* f : felder) {
        if (!f) continue;
        setzeFarben(f, f->hasFocus());
        f->setStyle(feldStil());
        f->installEventFilter(this);
        if (!f->validator()) f->setValidator(new OhneNullzeichen(f));
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

void FeldArray::fokusHinein(int index, QFocusEvent* e) {
    QLineEdit* f = m_felder[index];
    // Back from a message box or another window: the field was never left.
    if (g_weistZurueck || (fensterGewechselt(e->reason()) && m_betreten == index)) {
        setzeFarben(f, true);
        if (g_weistZurueck) f->selectAll();
        return;
    }
    m_betreten = index;
    m_perMaus = e->reason() == Qt::MouseFocusReason ? index : -1;
    betreten(index);
}

void FeldArray::fokusHinaus(int index, QFocusEvent* e) {
    QLineEdit* f = m_felder[index];
    if (m_perMaus == index) m_perMaus = -1;
    if (g_weistZurueck) {
        if (m_betreten == index && index != m_abgewiesen) m_betreten = -1;
        setzeFarben(f, false);
        return;
    }
    // The window was left, not the field.
    if (fensterGewechselt(e->reason()) && f->isVisible()) return;
    // Qt also takes the focus from a box it was only passing through (another
    // box's work moved it on first): that box was never entered, so not left.
    if (m_betreten != index) {
        setzeFarben(f, false);
        return;
    }
    m_betreten = -1;
    // The form closes or steps aside: none of its work runs for the field.
    auto* form = qobject_cast<QWidget*>(parent());
    if (form ? !form->isVisible() : !f->isVisible()) {
        setzeFarben(f, false);
        return;
    }
    QWidget* neu = QApplication::focusWidget();
    const bool ohnePruefung = neu && m_ohnePruefung.contains(QPointer<QWidget>(neu));
    if (m_pruefung && !ohnePruefung) {
        const QString meldung = m_pruefung(index, f->text());
        if (!meldung.isEmpty()) {
            if (f->isVisible() && neu) {
                weise(index, meldung);
            } else {
                // Its page is being switched away (the focus is cleared first,
                // the page hidden next): the field takes the focus back once
                // the switch is done.
                QTimer::singleShot(0, this, [this, index, meldung, f = QPointer<QLineEdit>(f)] {
                    auto* besitzer = qobject_cast<QWidget*>(parent());
                    if (f && (!besitzer || besitzer->isVisible())) weise(index, meldung);
                });
            }
            return;
        }
    }
    if (m_abgewiesen == index) m_abgewiesen = -1;
    verlassen(index);
}

void FeldArray::weise(int index, const QString& meldung) {
    const QPointer<QLineEdit> f = m_felder[index];
    m_betreten = index;
    m_abgewiesen = index;
    auto zurueck = [&] {
        g_weistZurueck = true;
        zeigeSeiteVon(f);
        f->setFocus(Qt::OtherFocusReason);
        g_weistZurueck = false;
    };
    // The focus goes back before the message, so that no other field is
    // entered (and runs its work) on the way.
    zurueck();
    meldeInfo(f->window(), meldung, QStringLiteral("Information"));
    if (!f) return;
    if (!f->hasFocus()) zurueck();
    m_betreten = index;
    f->selectAll();
    setzeFarben(f, true);
}

bool FeldArray::maus(int index, QEvent* e) {
    if (m_perMaus != index || static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton) return false;
    // The click that entered the field selects its whole text, as Tab does:
    // typing replaces it instead of landing somewhere inside it.
    if (e->type() == QEvent::MouseButtonRelease) m_perMaus = -1;
    m_felder[index]->selectAll();
    return true;
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
            fokusHinein(index, static_cast<QFocusEvent*>(ereignis));
            return true;
        }
        case QEvent::FocusOut: {
            le->event(ereignis);
            fokusHinaus(index, static_cast<QFocusEvent*>(ereignis));
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            return maus(index, ereignis);
        case QEvent::KeyPress:
            m_perMaus = -1;
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
