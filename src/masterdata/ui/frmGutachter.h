#pragma once
#include "kit/ui/SucheListeMaske.h"
#include "masterdata/ui/frmDatensatzMaske.h"

namespace talu {

// Finds appraisers by a part of their name.
class frmGutachterSuchen : public SuchFormular {
    Q_OBJECT
public:
    explicit frmGutachterSuchen(QWidget* parent = nullptr);

protected:
    Suchergebnis suche(const QString& begriff) override;
    void einTreffer(const Suchergebnis& e) override;
    void mehrereTreffer(const Suchergebnis& e) override;
};

// Lists the appraisers found; the choice opens the mask.
class frmGutachterAuswaehlen : public ListenFormular {
    Q_OBJECT
public:
    explicit frmGutachterAuswaehlen(QWidget* parent = nullptr);

protected:
    bool gewaehlt(double id) override;
    void ohneWahl() override;
};

// Creates an appraiser or shows and changes one.
class frmGutachterMaske : public frmDatensatzMaske {
    Q_OBJECT
public:
    explicit frmGutachterMaske(QWidget* parent = nullptr);

protected:
    QStringList lade(double id, bool* gefunden) override;
    double speichere(double id, const QStringList& texte) override;
    QString keinDatensatz() const override;
    void zurueckZurSuche() override;
};

}  // namespace talu
