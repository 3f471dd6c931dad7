#pragma once
#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

// The search form of the lookup road: a place by name, postcode or key, or a
// street of the current place. The work is done by SuchVorgang.
class frmSuchen : public QWidget {
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
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void Form_Load();
    void weiterZu(const QString& form);

    QString m_suchArt;
    bool m_weiter = false;  // a search led on to the next form
    bool m_entladen = false;
    bool m_zentriert = false;
};

}  // namespace talu
