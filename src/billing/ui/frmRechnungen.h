#pragma once
#include <QList>

#include "kit/ui/Formular.h"
#include "billing/RechnungSuche.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

// One invoice in eight boxes; "Schliessen"/"Öffnen" marks it paid or open
// again. The caller names the invoice before showing the form.
class frmRechnungen : public Formular {
    Q_OBJECT
public:
    explicit frmRechnungen(QWidget* parent = nullptr);

    // Reads the invoice of this number and fills the boxes; false (after a
    // message) when it cannot be read or no longer exists.
    bool setzeRechnungsNr(double nummer);
    double RechnungsNr() const { return m_nummer; }
    const abrechnung::RechnungsAnzeige& anzeige() const { return m_anzeige; }

    QLabel* lblKopf;
    QList<QLineEdit*> text;
    QList<QLabel*> label;
    QPushButton* cmdSchliessen;
    QPushButton* cmdZurueck;

private:
    void cmdSchliessen_Click();
    void ZeigeRechnung();

    double m_nummer = 0;
    abrechnung::RechnungsAnzeige m_anzeige;
};

// "Rechnungen suchen": asks for the number and shows the invoice found.
void RechnungenSuchen(QWidget* eltern);

}  // namespace talu
