#pragma once
#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace talu {

class Datenbank;
struct Publics;

struct GutachterTreffer {
    double id = 0;
    QString name, ort;
    // "Name, Ort" as the place form shows its appraiser.
    QString anzeige() const { return name.trimmed() + ", " + ort.trimmed(); }
};

// Appraisers whose name contains the term (any case); an empty term lists all, by name.
QList<GutachterTreffer> sucheGutachter(const Datenbank& db, const QString& teil);
// Hands the choice to the place form through the shared state.
void waehleGutachterFuerOrt(Publics& p, const GutachterTreffer& g);

// The appraiser pick of the place form: search by a part of the name, choose from the list.
class frmGutachterAuswahl : public QWidget {
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
    void cmdAbbrechen_Click();
protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
private:
    QList<GutachterTreffer> m_treffer;
    bool m_entladen = false, m_zentriert = false;
};

}  // namespace talu
