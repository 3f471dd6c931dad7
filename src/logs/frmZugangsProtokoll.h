#pragma once
#include "app/Formular.h"
#include "logs/ZugangsProtokoll.h"

class QLabel;
class QPushButton;
class QTableView;

namespace talu {

class ZugangsProtokollModell;

// Shows the access log in a read-only grid, all rows or filtered by kind or today.
class frmZugangsProtokoll : public Formular {
    Q_OBJECT
public:
    explicit frmZugangsProtokoll(QWidget* parent = nullptr);
    QLabel* Label2;
    QTableView* DataGrid1;
    QPushButton* cmdAlle;
    QPushButton* cmdLogin;
    QPushButton* cmdLogout;
    QPushButton* cmdNurHeute;
    QPushButton* cmdZurueck;
    ZugangsProtokollModell* modell() const { return m_modell; }

public slots:
    void cmdAlle_Click() { zeige(zugangsprotokoll::Filter::Alle); }
    void cmdLogin_Click() { zeige(zugangsprotokoll::Filter::Login); }
    void cmdLogout_Click() { zeige(zugangsprotokoll::Filter::Logout); }
    void cmdNurHeute_Click() { zeige(zugangsprotokoll::Filter::Heute); }
    void cmdZurueck_Click() { entlade(); }

private:
    void zeige(zugangsprotokoll::Filter f);
    void spaltenAnwenden();
    ZugangsProtokollModell* m_modell;
};

}  // namespace talu
