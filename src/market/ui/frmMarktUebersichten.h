#pragma once
#include "kit/ui/Formular.h"
#include "market/MarktDaten.h"
#include "market/DmUmrechnung.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace talu {

namespace markt {
class MarktModell;
}

// The market overviews of one category for the current place: the headlines
// found, a read-only grid of the chosen headline's rows, region and source,
// and the table remark. Opening it with data books one query.
class frmMarktUebersichten : public Formular {
    Q_OBJECT
public:
    explicit frmMarktUebersichten(QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QPushButton* cmdAktualisieren = nullptr;
    QTableView* DataGrid1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPushButton* cmdZurueck = nullptr;
    QTimer* Timer1 = nullptr;
    QLabel* label[3] = {nullptr, nullptr, nullptr};  // "Tabelle:", "Hinweis:", "Bereich:"

    markt::MarktModell* modell() const { return m_modell; }
    const markt::MarktUebersicht& daten() const { return m_daten; }
    bool hatDaten() const { return m_hatDaten; }
    double preis() const { return m_preis; }
    // The DM conversion of this category's table (internal edition only),
    // with its progress in a dialog that can cancel it; returns the number
    // of rows changed (0 when cancelled), -1 when it did not run or failed.
    int rechneDmUm();

protected:
    void beimErstenZeigen() override;
    void beimEntladen() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void formLoad();
    void zeigeUeberschrift();
    void spaltenEinrichten();
    // The width that shows every visible column and the region line whole.
    int breiteFuerInhalt() const;
    void zurueck();

    markt::MarktUebersicht m_daten;
    markt::MarktModell* m_modell = nullptr;
    double m_preis = 0;
    bool m_hatDaten = false;
};

}  // namespace talu
