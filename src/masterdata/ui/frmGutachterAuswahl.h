#pragma once
#include <QList>

#include "kit/ui/Formular.h"
#include "masterdata/GutachterAuswahl.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace talu {

// The appraiser pick of the place form: search by a part of the name, choose from the list.
class frmGutachterAuswahl : public Formular {
    Q_OBJECT
public:
    explicit frmGutachterAuswahl(QWidget* parent = nullptr);
    QLineEdit* text0;
    QPushButton* cmdSuchen;
    QListWidget* List1;
    QPushButton* cmdAuswaehlen;
    QPushButton* cmdAbbrechen;
    const QList<GutachterTreffer>& treffer() const { return m_treffer; }
public slots:
    void cmdSuchen_Click();
    void cmdAuswaehlen_Click();
    void cmdAbbrechen_Click() { entlade(); }
protected:
    // Without a choice the place form comes back unchanged.
    void beimEntladen() override;
private:
    QList<GutachterTreffer> m_treffer;
    bool m_gewaehlt = false;
};

}  // namespace talu
