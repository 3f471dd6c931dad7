#pragma once
#include <QPointer>
#include <QProgressDialog>

#include "tools/Stapelauftrag.h"

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

private:
    QPointer<QProgressDialog> m_dialog;
    bool m_pfeil = false;
};

}  // namespace talu
