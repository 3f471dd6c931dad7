#pragma once
#include <QVector>

#include "kit/ui/Formular.h"
#include "place/OrtDaten.h"

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace talu {

class FeldArray;

// The place form: thirteen pages of everything known about one place. Opened
// by the lookup for the current place (Modus "aendern") or empty for a new
// place (Modus "erfassen"); the editing editions save the place data.
class frmStadtMaske : public Formular {
    Q_OBJECT
public:
    explicit frmStadtMaske(QWidget* parent = nullptr);

    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdSpeichern = nullptr;
    QPushButton* cmdGutachter = nullptr;
    QPushButton* cmdKreis = nullptr;
    QPushButton* cmdZurueck = nullptr;

    // text_<feld>(index), feld 1 to 13.
    QLineEdit* box(int feld, int index) const { return m_text[feld][index]; }
    OrtBoxen boxen() const;
    bool istNeuerOrt() const { return m_neu; }
    // The last load's statement count (for the benchmark and tests).
    int anweisungen() const { return m_anweisungen; }

public slots:
    // Called by the appraiser and district picks when they hand their choice back.
    void uebernimmGutachter();
    void uebernimmKreis();
    void cmdSpeichern_Click();
    void cmdGutachter_Click();
    void cmdKreis_Click();
    void cmdZurueck_Click();
    void SSTab1_Click(int seite);

protected:
    void beimErstenZeigen() override;
    void beimEntladen() override;

private:
    void baueSeiten();
    void Form_Load();
    void LadeOrt();
    void sperreBoxen();
    void text_LostFocus(int feld, int index);
    void versteckeFuerAuswahl();

    QVector<QVector<QLineEdit*>> m_text;
    QVector<FeldArray*> m_felder;
    QString m_schluessel;
    bool m_neu = false;
    int m_anweisungen = 0;
};

}  // namespace talu
