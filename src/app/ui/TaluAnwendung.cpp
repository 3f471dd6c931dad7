#include "app/ui/TaluAnwendung.h"

#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QtGlobal>

#include "kit/Dialoge.h"
#include "db/Datenbank.h"

namespace talu {

namespace {
// The program's symbol for the windows and the MDI children: a white "T" on the dark blue of the fields.
QIcon programmSymbol() {
    QIcon symbol;
    for (int groesse : {16, 32, 64}) {
        QPixmap bild(groesse, groesse);
        bild.fill(Qt::transparent);
        QPainter p(&bild);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 128));
        p.drawRoundedRect(QRectF(0, 0, groesse, groesse), groesse / 6.0, groesse / 6.0);
        QFont f(QStringLiteral("Arial"));
        f.setBold(true);
        f.setPixelSize(groesse * 3 / 4);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, groesse, groesse), Qt::AlignCenter, QStringLiteral("T"));
        p.end();
        symbol.addPixmap(bild);
    }
    return symbol;
}
}  // namespace

TaluAnwendung::TaluAnwendung(int& argc, char** argv) : QApplication(argc, argv) {
    setWindowIcon(programmSymbol());
}

QString TaluAnwendung::meldungstext(const DbFehler& f) {
    return QStringLiteral("Bei der Arbeit mit der Datenbank ist ein Fehler aufgetreten:\n\n%1\n\n"
                          "Meldung des Servers:\n%2")
        .arg(f.kurz(), f.serverText());
}

QString TaluAnwendung::meldungstext(const std::exception& f) {
    return QStringLiteral("Es ist ein unerwarteter Fehler aufgetreten:\n\n%1").arg(QString::fromLocal8Bit(f.what()));
}

QString TaluAnwendung::meldungsdetails(const DbFehler& f) { return f.sql(); }

bool TaluAnwendung::altTasteOhneZiel(const QObject* empfaenger, const QEvent* ereignis) {
    if (ereignis->type() != QEvent::KeyPress || !empfaenger->isWidgetType()) return false;
    const auto* taste = static_cast<const QKeyEvent*>(ereignis);
    // AltGr arrives as Ctrl+Alt on some systems and types "@" or "€": it stays.
    const Qt::KeyboardModifiers m = taste->modifiers();
    if (!(m & Qt::AltModifier) || (m & (Qt::ControlModifier | Qt::MetaModifier))) return false;
    const QString text = taste->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    // An open menu picks its entry by Alt plus the underlined letter.
    return !qobject_cast<const QMenu*>(empfaenger) && !qobject_cast<const QMenuBar*>(empfaenger);
}

bool TaluAnwendung::notify(QObject* empfaenger, QEvent* ereignis) {
    // Alt plus a letter is a mnemonic; one that no control uses (the shortcut
    // map has had its turn by now) does nothing, instead of typing the letter.
    if (altTasteOhneZiel(empfaenger, ereignis)) return true;
    try {
        return QApplication::notify(empfaenger, ereignis);
    } catch (const DbFehler& f) {
        melde(meldungstext(f), meldungsdetails(f));
    } catch (const std::exception& f) {
        melde(meldungstext(f), {});
    } catch (...) {
        melde(QStringLiteral("Es ist ein unbekannter Fehler aufgetreten."), {});
    }
    return false;
}

void TaluAnwendung::melde(const QString& text, const QString& details) {
    qWarning("%s", qPrintable(text));
    // The box is shown once control is back in the event loop, not inside the
    // failed delivery (which might be a paint event); errors raised while a box
    // is open are only logged, so one fault cannot pile up boxes.
    if (m_meldet) return;
    m_meldet = true;
    QTimer::singleShot(0, this, [this, text, details] {
        dialoge().meldung(activeWindow(), Dialoge::Symbol::Kritisch, QStringLiteral("Fehler"), text, details);
        m_meldet = false;
    });
}

}  // namespace talu
