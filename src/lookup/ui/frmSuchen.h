#pragma once
#include "kit/ui/Formular.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

// The search form of the lookup road: a place by name, postcode or key, or a
// street of the current place. The work is done by SuchVorgang.
class frmSuchen : public Formular {
    Q_OBJECT
public:
    explicit frmSuchen(QWidget* parent = nullptr);

    QFrame* Frame1;
    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* cmdStarten;
    QPushButton* cmdZurueck;
    QPushButton* cmdHinweis;
    QString Hinweistext;

public slots:
    void cmdStarten_Click();
    void cmdZurueck_Click();
    void cmdHinweis_Click();

protected:
    void beimEntladen() override;

private:
    void Form_Load();

    QString m_suchArt;
    bool m_weiter = false;  // a search led on to the next form
};

}  // namespace talu
