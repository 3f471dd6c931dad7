// The operator's boxes on the screen: message boxes, Yes/No questions, the
// input box and the busy pointer.
#include <QApplication>
#include <QInputDialog>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"

namespace talu {

namespace {

// A box whose form is hidden or already unloading would open parentless in a
// screen corner; it belongs over the main window then.
QWidget* elternFuer(QWidget* eltern) {
    if (eltern && eltern->isVisible()) return eltern;
    if (QMdiArea* mdi = formen::hauptfenster()) return mdi->window();
    return eltern;
}

// The normal pointer while the operator answers a box under the busy pointer.
struct Pfeil {
    bool an = Sanduhr::laeuft() && QApplication::overrideCursor();
    Pfeil() {
        if (an) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~Pfeil() {
        if (an) QApplication::restoreOverrideCursor();
    }
};

class EchteDialoge : public Dialoge {
    static QMessageBox::Icon bild(Symbol symbol) {
        switch (symbol) {
            case Symbol::Keins: return QMessageBox::NoIcon;
            case Symbol::Information: return QMessageBox::Information;
            case Symbol::Kritisch: return QMessageBox::Critical;
            case Symbol::Warnung: return QMessageBox::Warning;
            case Symbol::Frage: return QMessageBox::Question;
        }
        return QMessageBox::NoIcon;
    }

public:
    void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                 const QString& details) override {
        const Pfeil pfeil;
        QMessageBox box(elternFuer(eltern));
        box.setIcon(bild(symbol));
        // An empty title must stay empty rather than fall back to the program name.
        box.setWindowTitle(titel.isEmpty() ? QStringLiteral(" ") : titel);
        box.setText(text);
        if (!details.isEmpty()) box.setDetailedText(details);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text, Symbol symbol) override {
        const Pfeil pfeil;
        QMessageBox box(bild(symbol), titel.isEmpty() ? QStringLiteral(" ") : titel, text,
                        QMessageBox::Yes | QMessageBox::No, elternFuer(eltern));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        return box.exec() == QMessageBox::Yes;
    }
    void sanduhr(bool an) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
        if (an) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
    QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                    const QString& vorgabe) override {
        const Pfeil pfeil;
        QInputDialog d(elternFuer(eltern));
        d.setWindowTitle(titel.isEmpty() ? QStringLiteral(" ") : titel);
        d.setLabelText(aufforderung);
        d.setTextValue(vorgabe);
        d.setOkButtonText(QStringLiteral("OK"));
        d.setCancelButtonText(QStringLiteral("Abbrechen"));
        if (d.exec() != QDialog::Accepted) return {};
        return d.textValue();
    }
};

EchteDialoge g_echte;
// The screen's boxes become the standard as soon as the user interface is linked.
const bool g_angemeldet = [] {
    setzeStandardDialoge(&g_echte);
    return true;
}();

}  // namespace

}  // namespace talu
