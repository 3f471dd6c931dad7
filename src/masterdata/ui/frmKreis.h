#pragma once
#include "kit/ui/SucheListeMaske.h"

namespace talu {

// Finds districts by a part of their name.
class frmKreisSuchen : public SuchFormular {
    Q_OBJECT
public:
    explicit frmKreisSuchen(QWidget* parent = nullptr);

protected:
    Suchergebnis suche(const QString& begriff) override;
    void einTreffer(const Suchergebnis& e) override;
    void mehrereTreffer(const Suchergebnis& e) override;
    // Leaving the place form's pick without a choice returns to the place form.
    void ohneTreffer() override;
};

// Lists the hits of the search; the choice opens the mask or, in the place
// form's pick, goes back to the place form.
class frmKreisAuswaehlen : public ListenFormular {
    Q_OBJECT
public:
    explicit frmKreisAuswaehlen(QWidget* parent = nullptr);

protected:
    bool gewaehlt(double id) override;
    // Without a choice the list goes back to the search (the pick stays active).
    void ohneWahl() override;
};

// Creates a district or shows and changes one.
class frmKreisMaske : public MaskenFormular {
    Q_OBJECT
public:
    explicit frmKreisMaske(QWidget* parent = nullptr);
    QLineEdit* text0;
    double DatensatzId() const { return m_id; }
    void setzeDatensatzId(double id);

public slots:
    void cmdSpeichern_Click();

protected:
    void beimEntladen() override;

private:
    double m_id = 0;
    bool m_aendern = false;
};

}  // namespace talu
