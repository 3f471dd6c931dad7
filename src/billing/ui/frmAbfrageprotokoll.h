#pragma once
#include "kit/ui/RasterFormular.h"

class QPushButton;

namespace talu::abrechnung {
class ProtokollModell;
}

namespace talu {

// "Abfrageprotokoll zeigen": the log rows of the invoice customers with the
// customer's name; "Alle", "Heute" and "Benutzer" (beginning of the name)
// filter them. The form writes nothing.
class frmAbfrageprotokoll : public RasterFormular {
    Q_OBJECT
public:
    explicit frmAbfrageprotokoll(QWidget* parent = nullptr);

    abrechnung::ProtokollModell* modell() const { return m_modell; }
    QPushButton* Command1;
    QPushButton* cmdNurHeute;
    QPushButton* cmdAlle;

private:
    abrechnung::ProtokollModell* m_modell;
};

}  // namespace talu
