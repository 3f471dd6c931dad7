#pragma once
#include "kit/ui/SucheListeMaske.h"
#include "masterdata/ui/frmDatensatzMaske.h"

namespace talu {

// Finds users by a part of their name.
class frmBenutzerSuchen : public SuchFormular {
    Q_OBJECT
public:
    explicit frmBenutzerSuchen(QWidget* parent = nullptr);

protected:
    Suchergebnis suche(const QString& begriff) override;
    void einTreffer(const Suchergebnis& e) override;
    void mehrereTreffer(const Suchergebnis& e) override;
};

// Lists the users found; the choice opens the mask.
class frmBenutzerAuswaehlen : public ListenFormular {
    Q_OBJECT
public:
    explicit frmBenutzerAuswaehlen(QWidget* parent = nullptr);

protected:
    bool gewaehlt(double id) override;
    void ohneWahl() override;
};

// Creates a user or shows and changes one.
class frmBenutzerMaske : public frmDatensatzMaske {
    Q_OBJECT
public:
    explicit frmBenutzerMaske(QWidget* parent = nullptr);

protected:
    QStringList lade(double id, bool* gefunden) override;
    double speichere(double id, const QStringList& texte) override;
    QString keinDatensatz() const override;
    void zurueckZurSuche() override;
};

}  // namespace talu
