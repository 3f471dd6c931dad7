#pragma once
#include <QList>

#include "kit/ui/Formular.h"

class QGroupBox;
class QPushButton;

namespace talu {

// The choice of a market overview category for the current place, each
// button with the price a look at it costs.
class frmMarktUebersichtenAuswahl : public Formular {
    Q_OBJECT
public:
    explicit frmMarktUebersichtenAuswahl(QWidget* parent = nullptr);

    // Command1 .. Command15 (1-based, as the buttons are named).
    QPushButton* command(int nr) const { return m_knoepfe.value(nr - 1); }

protected:
    void showEvent(QShowEvent* e) override;
    void beimEntladen() override;

private:
    void kategorieGewaehlt(int i);
    void Command15_Click();

    QGroupBox* Frame1 = nullptr;
    QList<QPushButton*> m_knoepfe;
};

}  // namespace talu
