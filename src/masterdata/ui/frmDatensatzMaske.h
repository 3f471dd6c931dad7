#pragma once
#include <QStringList>
#include <functional>

#include "kit/ui/SucheListeMaske.h"

namespace talu {

// The mask of a record kept by search, list and mask (users, appraisers):
// create mode ("erfassen") adds a row with every save; change mode
// ("aendern") shows the record DatensatzId and overwrites it, and closing
// the mask returns to the search. A record that is gone is reported and
// never silently created anew.
class frmDatensatzMaske : public MaskenFormular {
    Q_OBJECT
public:
    // feldTexte: the label of each box; an empty label puts the box beside
    // the one before it ("PLZ / Ort:" with two boxes).
    frmDatensatzMaske(const QString& erfassenKopf, const QString& aendernKopf, const QStringList& feldTexte,
                      QWidget* parent = nullptr);
    double DatensatzId() const { return m_id; }
    // Sets the id and fills the boxes from the record.
    void setzeDatensatzId(double id);
    bool aendern() const { return m_aendern; }
    QStringList texte() const;

public slots:
    void cmdSpeichern_Click();

protected:
    virtual QStringList lade(double id, bool* gefunden) = 0;
    virtual double speichere(double id, const QStringList& texte) = 0;
    // "Zu diesem ... gibt es keinen Datensatz."
    virtual QString keinDatensatz() const = 0;
    // Change mode ends: close the search's recordset and show the search again.
    virtual void zurueckZurSuche() = 0;
    void beimEntladen() override;
    // The boxes now show the record with this id (0: none), after it was read or saved.
    virtual void angezeigt(double id) { (void)id; }
    // For records with a key of their own: after the first save in create
    // mode further saves change the record just added instead of adding another.
    void behalteErfassten() { m_behalten = true; }
    // Database work that the record's rules may refuse: a refusal is shown as
    // information, a failure as the database's message; false in both cases.
    bool mitRegeln(const QString& wasScheitert, const std::function<void()>& arbeit);

private:
    double m_id = 0;
    bool m_aendern = false;
    bool m_behalten = false;
};

}  // namespace talu
