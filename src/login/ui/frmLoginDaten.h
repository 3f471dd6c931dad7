#pragma once
#include <QDialog>
#include <QVector>

#include "login/ZugangsDatei.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

// The login form: asks for server, database, user and password, remembers
// them in zugang.dat and opens the shared connection. Accepted means connected;
// any other way of leaving it ends the program (the caller decides).
class frmLoginDaten : public QDialog {
    Q_OBJECT
public:
    explicit frmLoginDaten(QWidget* eltern = nullptr);

    // The text array: 0 server, 1 database, 2 user, 3 password, 4 status line.
    QLineEdit* text(int index) const { return m_text.value(index); }
    int textAnzahl() const { return int(m_text.size()); }

    bool endeBeimSchliessen() const { return m_endeBeimSchliessen; }
    // The server's text of the last failed attempt (empty before).
    const QString& letzterFehler() const { return m_letzterFehler; }

    bool PruefeEingaben();
    void UebernehmeEingaben();
    void SpeichereAnmeldedaten();
    bool Verbinden(const QString& modus);

public slots:
    void cmdAnmelden_Click();
    void cmdAbbrechen_Click();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void done(int ergebnis) override;

private:
    void laden();
    Anmeldedaten eingaben() const;
    void text_KeyDown(int index, int taste);
    void zeigeDetails();

    QVector<QLineEdit*> m_text;
    QLabel* m_lblKopf = nullptr;
    QPushButton* m_cmdAnmelden = nullptr;
    QPushButton* m_cmdAbbrechen = nullptr;
    QPushButton* m_cmdDetails = nullptr;
    bool m_endeBeimSchliessen = false;
    QString m_letzterFehler;
};

}  // namespace talu
