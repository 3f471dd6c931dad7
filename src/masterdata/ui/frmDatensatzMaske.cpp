#include "masterdata/ui/frmDatensatzMaske.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "kit/Dialoge.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "masterdata/MaskenDaten.h"

namespace talu {

namespace {
bool istAendern() { return publics().Modus == QStringLiteral("aendern"); }
}  // namespace

frmDatensatzMaske::frmDatensatzMaske(const QString& erfassenKopf, const QString& aendernKopf,
                                     const QStringList& feldTexte, QWidget* parent)
    : MaskenFormular(istAendern() ? aendernKopf : erfassenKopf, feldTexte, parent), m_aendern(istAendern()) {
    setzePlatz(Platz::Mitte);
    // Boxes without a label of their own join the row of the labelled box
    // before them; a box alone in its row spans the row.
    QGridLayout* g = raster();
    QList<QList<int>> zeilen;
    for (int i = 0; i < text.size(); ++i) {
        if (i == 0 || !feldTexte.value(i).isEmpty()) zeilen << QList<int>{};
        zeilen.last() << i;
    }
    int spalten = 1;
    for (const QList<int>& z : zeilen) spalten = qMax(spalten, int(z.size()));
    for (int i = 0; i < text.size(); ++i) {
        g->removeWidget(text[i]);
        // The labels are laid out anew below, one per row.
        if (QLayoutItem* l = g->itemAtPosition(i, 0)) delete l->widget();
    }
    int zeile = 0;
    for (const QList<int>& z : zeilen) {
        auto* label = new QLabel(feldTexte.value(z.first()));
        label->setBuddy(text[z.first()]);
        g->addWidget(label, zeile, 0);
        for (int k = 0; k < z.size(); ++k) {
            QLineEdit* f = text[z[k]];
            if (z.size() > 1) f->setMinimumWidth(twips(1200));
            const bool letzte = k == z.size() - 1;
            g->addWidget(f, zeile, 1 + k, 1, letzte ? spalten - k : 1);
        }
        ++zeile;
    }
    for (int c = 1; c <= spalten; ++c) g->setColumnStretch(c, 1);
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmDatensatzMaske::cmdSpeichern_Click);
}

QStringList frmDatensatzMaske::texte() const {
    QStringList t;
    for (QLineEdit* f : text) t << f->text();
    return t;
}

void frmDatensatzMaske::setzeDatensatzId(double id) {
    m_id = id;
    bool gefunden = true;
    QStringList werte;
    if (!mitDatenbank(QStringLiteral("Der Datensatz konnte nicht gelesen werden."),
                      [&] { werte = lade(m_id, &gefunden); }))
        return;
    for (int i = 0; i < text.size(); ++i) text[i]->setText(werte.value(i));
    angezeigt(gefunden ? m_id : 0);
    if (!gefunden) meldeInfo(this, keinDatensatz(), QStringLiteral("Information"));
}

bool frmDatensatzMaske::mitRegeln(const QString& wasScheitert, const std::function<void()>& arbeit) {
    QString abgelehnt;
    if (!mitDatenbank(wasScheitert, [&] {
            try {
                arbeit();
            } catch (const Abgelehnt& a) {
                abgelehnt = a.text();
            }
        }))
        return false;
    if (abgelehnt.isEmpty()) return true;
    meldeInfo(this, abgelehnt, QStringLiteral("Information"));
    return false;
}

// In create mode every save adds a row, unless the mask keeps the record
// it added; the mask keeps its texts.
void frmDatensatzMaske::cmdSpeichern_Click() {
    const double id = m_aendern || m_behalten ? m_id : 0;
    double neu = 0;
    if (!mitRegeln(QStringLiteral("Der Datensatz wurde nicht gespeichert."), [&] { neu = speichere(id, texte()); }))
        return;
    if (m_behalten) m_id = neu;
    angezeigt(neu);
    meldeInfo(this, QStringLiteral("Der Datensatz wurde gespeichert!"), QStringLiteral("Information"));
}

void frmDatensatzMaske::beimEntladen() {
    if (schliesstAlle() || !m_aendern) return;
    zurueckZurSuche();
}

}  // namespace talu
