#pragma once
#include "kit/ui/SucheListeMaske.h"
#include "masterdata/ui/frmDatensatzMaske.h"

namespace talu {

// Finds invoice customers by a part of their name or user name.
class frmKundenSuchen : public SuchFormular {
    Q_OBJECT
public:
    explicit frmKundenSuchen(QWidget* parent = nullptr);

protected:
    Suchergebnis suche(const QString& begriff) override;
    void einTreffer(const Suchergebnis& e) override;
    void mehrereTreffer(const Suchergebnis& e) override;
};

// Lists the customers found; the choice opens the mask.
class frmKundenAuswaehlen : public ListenFormular {
    Q_OBJECT
public:
    explicit frmKundenAuswaehlen(QWidget* parent = nullptr);

protected:
    bool gewaehlt(double id) override;
    void ohneWahl() override;
};

// Creates a customer or shows, changes and deletes one. The customer number
// is shown, not edited: it is the row's id, printed on the invoice.
class frmKundenMaske : public frmDatensatzMaske {
    Q_OBJECT
public:
    explicit frmKundenMaske(QWidget* parent = nullptr);
    QLineEdit* txtKundenNummer;
    QPushButton* cmdLoeschen;

public slots:
    void cmdLoeschen_Click();

protected:
    QStringList lade(double id, bool* gefunden) override;
    double speichere(double id, const QStringList& texte) override;
    QString keinDatensatz() const override;
    void zurueckZurSuche() override;
    void angezeigt(double id) override;
};

}  // namespace talu
