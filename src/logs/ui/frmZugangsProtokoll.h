#pragma once
#include "kit/ui/RasterFormular.h"
#include "logs/ZugangsProtokoll.h"

class QLabel;
class QPushButton;
class QTableView;

namespace talu {

class ZugangsProtokollModell;

// Shows the access log in a read-only grid, all rows or filtered by kind or today.
class frmZugangsProtokoll : public RasterFormular {
    Q_OBJECT
public:
    explicit frmZugangsProtokoll(QWidget* parent = nullptr);
    QLabel* Label2;
    QTableView* DataGrid1;
    QPushButton* cmdAlle;
    QPushButton* cmdLogin;
    QPushButton* cmdLogout;
    QPushButton* cmdNurHeute;
    ZugangsProtokollModell* modell() const { return m_modell; }

private:
    QPushButton* filter(const char* name, const QString& text, zugangsprotokoll::Filter f);
    ZugangsProtokollModell* m_modell;
};

}  // namespace talu
