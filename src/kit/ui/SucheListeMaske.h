#pragma once
#include <QList>
#include <QString>
#include <QVector>

#include "kit/ui/Formular.h"
#include "kit/Suchergebnis.h"

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talu {

class FeldArray;

// The record forms' loop: a search form finds records by a part of their
// name, a list offers several hits, the mask shows, creates and changes one.
// Each kind of record (district, user, appraiser) derives its three forms
// from these and supplies the search, the texts and where a choice leads.

// Heading, one labelled search field, "Suche starten" and "Abbrechen".
class SuchFormular : public Formular {
    Q_OBJECT
public:
    SuchFormular(const QString& titel, const QString& kopf, const QString& feldText, QWidget* parent = nullptr);
    QLabel* lblKopf;
    QLineEdit* text0;
    QPushButton* cmdSucheStarten;
    QPushButton* cmdAbbrechen;

public slots:
    void cmdSucheStarten_Click();
    void cmdAbbrechen_Click() { entlade(); }

protected:
    // The search itself; may throw DbFehler.
    virtual Suchergebnis suche(const QString& begriff) = 0;
    // Where one hit or several lead; the search form is already unloaded.
    virtual void einTreffer(const Suchergebnis& e) = 0;
    virtual void mehrereTreffer(const Suchergebnis& e) = 0;
    // Unloaded without going on to a hit.
    virtual void ohneTreffer() {}
    void beimEntladen() override;

private:
    bool m_weiter = false;
};

// "Wählen Sie bitte ... aus", the hits in a fixed-width list, "Auswählen" and "Abbrechen".
class ListenFormular : public Formular {
    Q_OBJECT
public:
    ListenFormular(const QString& titel, const QString& text, QWidget* parent = nullptr);
    QComboBox* Combo1;
    QPushButton* cmdAuswaehlen;
    QPushButton* cmdAbbrechen;
    QVector<double> ListenIds;
    // Fills the list; the first entry is chosen.
    void fuelle(const QList<Treffer>& treffer);

public slots:
    void cmdAuswaehlen_Click();
    void cmdAbbrechen_Click() { entlade(); }

protected:
    // The chosen id; returns false when the choice could not be taken (the list stays).
    virtual bool gewaehlt(double id) = 0;
    // Unloaded without a choice.
    virtual void ohneWahl() {}
    void beimEntladen() override;

private:
    bool m_weiter = false;
};

// Heading, labelled fields in a column (a field array with the shared field
// behaviour), "Speichern" and "Zurück".
class MaskenFormular : public Formular {
    Q_OBJECT
public:
    MaskenFormular(const QString& kopf, const QStringList& feldTexte, QWidget* parent = nullptr);
    QLabel* lblKopf;
    QVector<QLineEdit*> text;
    QPushButton* cmdSpeichern;
    QPushButton* cmdZurueck;
    FeldArray* felder() const { return m_felder; }

public slots:
    void cmdZurueck_Click() { entlade(); }

protected:
    QGridLayout* raster() const { return m_raster; }
    // The row of buttons, for a mask with more than the two.
    QHBoxLayout* knoepfe() const { return m_knoepfe; }

private:
    FeldArray* m_felder;
    QGridLayout* m_raster;
    QHBoxLayout* m_knoepfe;
};

}  // namespace talu
