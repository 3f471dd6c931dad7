#include "tools/stapel/ui/FortschrittsDialog.h"

#include <QApplication>
#include <QPushButton>

#include "kit/Dialoge.h"

namespace talu {

FortschrittsDialog::FortschrittsDialog(QWidget* eltern, const QString& titel, bool abbrechbar)
    : m_dialog(new QProgressDialog(eltern)) {
    m_dialog->setWindowTitle(titel);
    m_dialog->setLabelText(titel);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(300);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    if (abbrechbar) m_dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
    else m_dialog->setCancelButton(nullptr);
    m_dialog->setRange(0, 0);
    // Under a busy pointer the dialog still takes the mouse, for "Abbrechen".
    if (Sanduhr::laeuft()) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        m_pfeil = true;
    }
}

FortschrittsDialog::~FortschrittsDialog() {
    if (m_pfeil) QApplication::restoreOverrideCursor();
    if (m_dialog) {
        m_dialog->close();
        delete m_dialog;
    }
}

void FortschrittsDialog::melde(qint64 erledigt, qint64 gesamt, const QString& text) {
    if (!m_dialog) return;
    if (gesamt > 0) {
        // QProgressDialog counts in int; large totals are scaled to thousandths.
        m_dialog->setRange(0, 1000);
        m_dialog->setValue(int(qBound(qint64(0), erledigt * 1000 / gesamt, qint64(1000))));
        m_dialog->setLabelText(QStringLiteral("%1\n%2 von %3").arg(text).arg(erledigt).arg(gesamt));
    } else {
        m_dialog->setRange(0, 0);
        m_dialog->setLabelText(QStringLiteral("%1\n%2").arg(text).arg(erledigt));
    }
    QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void FortschrittsDialog::beiseite() {
    if (!m_dialog) return;
    // A cancel request already made stays answered.
    const bool abbruch = m_dialog->wasCanceled();
    // reset() also stops the timer that would show the dialog after its
    // minimum duration, over the box that follows.
    m_dialog->reset();
    m_dialog->hide();
    m_abbruch = m_abbruch || abbruch;
    if (m_pfeil) {
        QApplication::restoreOverrideCursor();
        m_pfeil = false;
    }
}

bool FortschrittsDialog::abbruchGewuenscht() {
    if (!m_dialog) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    return m_abbruch || m_dialog->wasCanceled();
}

}  // namespace talu
