#pragma once
#include "kit/ui/Formular.h"

class QFrame;
class QLabel;
class QPushButton;

namespace talu {

// The choice of information group for the current place: place information,
// standard land values (with their price) and market overviews.
class frmInformationsGruppen : public Formular {
    Q_OBJECT
public:
    explicit frmInformationsGruppen(QWidget* parent = nullptr);

    QLabel* Label2;
    QFrame* Frame1;
    QPushButton* cmdAuswahl[3];
    QPushButton* cmdAbbrechen;  // "&Zurück"
    QPushButton* cmdAbbruch;    // "Abbrechen"

    bool GruppeGewaehlt = false;
    bool GewaehlteGruppe[3] = {false, false, false};

public slots:
    void cmdAuswahl_Click(int index);
    void cmdAbbrechen_Click();

protected:
    void beimEntladen() override;

private:
    void Form_Load();
};

}  // namespace talu
