#pragma once
#include <QVector>

#include "kit/ui/Formular.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QStringListModel;

namespace talu {

// The selection list of the lookup road: the places or plots a search found,
// one entry per row in a fixed-pitch font.
class frmAuswaehlen : public Formular {
    Q_OBJECT
public:
    explicit frmAuswaehlen(QWidget* parent = nullptr);

    QFrame* Frame1;
    QComboBox* Combo1;
    QLabel* Label1;
    QPushButton* cmdAuswaehlen;
    QPushButton* cmdZurueck;
    QVector<qint64> ListenIds;

    // A fixed-pitch font that is installed: the entries line up in columns.
    static QFont listenSchrift();

public slots:
    void cmdAuswaehlen_Click();
    void cmdZurueck_Click();

protected:
    void beimEntladen() override;

private:
    void Form_Load();

    QStringListModel* m_modell;
    QString m_suchArt;
    bool m_gewaehlt = false;
    bool m_zurueck = false;
};

}  // namespace talu
