#pragma once
#include <QList>
#include <QStringList>

#include "kit/ui/Formular.h"
#include "tools/stapel/Stapelauftrag.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;

namespace talu {

// The progress form of the maintenance commands: a title, a frame of
// labelled read-only counter boxes shown in the command's number format, a
// Start button and "&Zurück". The form is the command's display: "Start"
// runs the command beside the window, the counters follow its reports, its
// messages and questions appear in the program's boxes over the form, and
// "&Zurück" while it runs asks it to stop.
class ZaehlerFormular : public Formular, public stapel::Anzeige {
    Q_OBJECT
public:
    struct Aufbau {
        QString titel;
        QStringList zaehler;  // the captions of the counters, top to bottom
        QString muster = QStringLiteral("###,###");
        QStringList feldnamen = {};  // the boxes' object names where they are not text_0, text_1, …
    };
    explicit ZaehlerFormular(const Aufbau& aufbau, QWidget* parent = nullptr);

    QLabel* lblKopf;
    QGroupBox* Frame1;
    QList<QLabel*> label;
    QList<QLineEdit*> text;
    QPushButton* cmdStart;
    QPushButton* cmdZurueck;

    // A further button of the form (e.g. "Löschen"), after Start and the buttons added before.
    QPushButton* weitererKnopf(const QString& name, const QString& text);
    // Runs the command with this form as its display; the buttons are off meanwhile.
    stapel::Ergebnis starte(stapel::Auftrag& auftrag);
    // The button runs the maintenance command of that name and shows its end.
    void startetBefehl(QPushButton* knopf, const QString& befehl);
    bool laeuft() const { return m_laeuft; }

    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override;
    void zaehle(const QList<stapel::Zaehler>& zaehler, const QString& text) override;
    bool abbruchGewuenscht() override { return m_abbruch; }

signals:
    void startGeklickt();

private:
    void setzeZaehler(int i, qint64 wert, const QString& muster = {});
    QString m_muster;
    QList<QPushButton*> m_knoepfe;
    bool m_laeuft = false;
    bool m_abbruch = false;
};

}  // namespace talu
