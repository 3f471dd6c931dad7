#pragma once
#include <QVector>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

class FeldArray;

// Finds districts by a part of their name.
class frmKreisSuchen : public QWidget {
    Q_OBJECT
public:
    explicit frmKreisSuchen(QWidget* parent = nullptr);
    QLabel* lblKopf;
    QLineEdit* text0;
    QPushButton* cmdSucheStarten;
    QPushButton* cmdAbbrechen;
public slots:
    void cmdSucheStarten_Click();
    void cmdAbbrechen_Click();
protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
private:
    bool m_weiter = false, m_entladen = false, m_platziert = false;
};

// Lists the hits of the search; the choice opens the mask or, in the place
// form's pick, goes back to the place form.
class frmKreisAuswaehlen : public QWidget {
    Q_OBJECT
public:
    explicit frmKreisAuswaehlen(QWidget* parent = nullptr);
    QComboBox* Combo1;
    QPushButton* cmdAuswaehlen;
    QPushButton* cmdAbbrechen;
    QVector<double> ListenIds;
public slots:
    void cmdAuswaehlen_Click();
    void cmdAbbrechen_Click();
protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
private:
    bool m_weiter = false, m_entladen = false, m_platziert = false;
};

// Creates a district or shows and changes one.
class frmKreisMaske : public QWidget {
    Q_OBJECT
public:
    explicit frmKreisMaske(QWidget* parent = nullptr);
    QLabel* lblKopf;
    QLineEdit* text0;
    QPushButton* cmdSpeichern;
    QPushButton* cmdZurueck;
    double DatensatzId() const { return m_id; }
    Q_INVOKABLE void setzeDatensatzId(double id);
public slots:
    void cmdSpeichern_Click();
    void cmdZurueck_Click();
protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
private:
    void DatensatzLaden();
    double m_id = 0;
    bool m_aendern = false, m_entladen = false, m_platziert = false;
};

}  // namespace talu
