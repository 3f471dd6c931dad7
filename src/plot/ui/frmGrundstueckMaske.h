#pragma once
#include <QVector>

#include "kit/ui/Formular.h"
#include "plot/GrundstueckMaskeLogik.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace talu {

class FeldArray;
class frmGrundstueckMaske;

// One plot of grundstuecke: a read-only, billed display in the customer
// edition; in the editing editions also the entry, change and deletion of
// plots, the bookmark of the last saved plot, copying a plot's values to its
// street or place and stepping to the neighbouring house numbers.
class frmGrundstueckMaske : public Formular {
    Q_OBJECT
public:
    explicit frmGrundstueckMaske(QWidget* parent = nullptr);

    QTabWidget* SSTab1;
    QVector<QLineEdit*> text_1;  // page "Grunddaten", 0-15
    QVector<QLineEdit*> text_2;  // page "Zusatzdaten", 0-10
    QVector<QLabel*> label;      // row captions; label[2] is the street row
    QPushButton* cmdRueckwaerts;
    QPushButton* cmdVorwaerts;
    QPushButton* cmdOrte;
    QPushButton* cmdWerteKopieren;
    QPushButton* cmdLoeschen;
    QPushButton* cmdSpeichern;
    QPushButton* cmdAuskunftDrucken;  // "Auskunft &drucken", F8: every edition
    QPushButton* cmdZurueck;

    double GrundstueckId() const { return m_logik.GrundstueckId; }
    void setzeGrundstueckId(double id) { m_logik.GrundstueckId = id; }

    // Clears the boxes but postcode and place / resets the colours of all boxes.
    void FelderLeeren();
    void FarbenZuruecksetzen();

    // The place chosen for a new plot (AktPlz, AktOrt) into postcode and
    // place; the focus goes to the town district. Called by the search and
    // the selection list when they found the place.
    void OrtUebernehmen();

public slots:
    void cmdVorwaerts_Click();
    void cmdRueckwaerts_Click();
    void cmdOrte_Click();
    void cmdZurueck_Click();
    void SSTab1_Click(int seite);
    void cmdSpeichern_Click();
    void cmdWerteKopieren_Click();
    void cmdLoeschen_Click();
    void cmdAuskunftDrucken_Click();
    void WerteAufStrasseKopieren();  // F2
    void WerteAufOrtKopieren();      // F10
    void StrasseLoeschen();          // F12

protected:
    void beimEntladen() override;

private:
    void Form_Load();
    void LadeGrundstueck();
    void zeigeTexte();
    void holeTexte();
    void text_1_LostFocus(int index);
    void text_2_LostFocus(int index);
    bool text_1_KeyDown(int index, QKeyEvent* taste);
    void strassenEintragZeigen(bool ja);
    void zeigeVersteckt(const Meldung& m);
    void kopiereWerte(bool ganzerOrt);
    // The stored plot the copy and delete functions act on; 0 before a new plot is saved.
    qint64 gespeicherteId() const;

    GrundstueckMaskeLogik m_logik;
    FeldArray* m_felder1 = nullptr;
    FeldArray* m_felder2 = nullptr;
    QLineEdit* m_erstesFeld = nullptr;  // the box the editing editions open with
    bool m_bearbeitung = false;  // editions 1 and 2
    bool m_inOrtSuche = false;
    // A place found by leaving the postcode or place box locks both boxes.
    bool m_ortSperren = false;
};

}  // namespace talu
