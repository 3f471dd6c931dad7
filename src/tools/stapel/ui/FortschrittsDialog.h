#pragma once
#include <QPointer>
#include <QProgressDialog>

#include "tools/stapel/Stapelauftrag.h"

class QWidget;

namespace talu {

// A batch command's progress in a modal progress dialog; "Abbrechen" asks
// the command to stop between rows. Window events are processed while it
// reports, so the screen stays alive on the one thread.
class FortschrittsDialog : public stapel::Anzeige {
public:
    FortschrittsDialog(QWidget* eltern, const QString& titel, bool abbrechbar);
    ~FortschrittsDialog() override;
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override;
    bool abbruchGewuenscht() override;
    // Hidden, and kept from showing itself by its timer, until the next
    // report: a box shown now gets the keys and is not covered.
    void beiseite() override;

private:
    QPointer<QProgressDialog> m_dialog;
    bool m_pfeil = false;
    bool m_abbruch = false;
};

}  // namespace talu
