#include "masterdata/ui/frmGutachterAuswahl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmGutachterAuswahl> reg;
}

frmGutachterAuswahl::frmGutachterAuswahl(QWidget* parent) : Formular(parent) {
    setWindowTitle(QStringLiteral("Gutachter auswählen"));
    auto* v = new QVBoxLayout(this);
    auto* kopf = new QLabel(QStringLiteral("Gutachter für den Ort auswählen"));
    kopf->setObjectName("lblKopf");
    QFont f = kopf->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    kopf->setFont(f);
    v->addWidget(kopf);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(QStringLiteral("Name (oder Teil davon):")));
    text0 = new QLineEdit;
    text0->setObjectName("text(0)");
    zeile->addWidget(text0, 1);
    cmdSuchen = new QPushButton(QStringLiteral("&Suchen"));
    cmdSuchen->setObjectName("cmdSuchen");
    zeile->addWidget(cmdSuchen);
    v->addLayout(zeile);
    List1 = new QListWidget;
    List1->setObjectName("List1");
    List1->setMinimumSize(twips(6500), twips(2500));
    v->addWidget(List1, 1);
    auto* k = new QHBoxLayout;
    cmdAuswaehlen = new QPushButton(QStringLiteral("&Auswählen"));
    cmdAuswaehlen->setObjectName("cmdAuswaehlen");
    cmdAbbrechen = new QPushButton(QStringLiteral("&Abbrechen"));
    cmdAbbrechen->setObjectName("cmdAbbrechen");
    k->addStretch();
    k->addWidget(cmdAuswaehlen);
    k->addWidget(cmdAbbrechen);
    v->addLayout(k);

    connect(cmdSuchen, &QPushButton::clicked, this, &frmGutachterAuswahl::cmdSuchen_Click);
    connect(text0, &QLineEdit::returnPressed, this, &frmGutachterAuswahl::cmdSuchen_Click);
    connect(cmdAuswaehlen, &QPushButton::clicked, this, &frmGutachterAuswahl::cmdAuswaehlen_Click);
    connect(List1, &QListWidget::itemActivated, this, &frmGutachterAuswahl::cmdAuswaehlen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmGutachterAuswahl::cmdAbbrechen_Click);
    setzeStartfeld(text0);
    cmdSuchen_Click();  // start with every appraiser
}

void frmGutachterAuswahl::cmdSuchen_Click() {
    if (!mitDatenbank(QStringLiteral("Die Gutachter konnten nicht gelesen werden."),
                      [&] { m_treffer = sucheGutachter(publics().Verbindung, text0->text()); }))
        return;
    List1->clear();
    for (const GutachterTreffer& g : m_treffer) List1->addItem(g.anzeige());
    if (!m_treffer.isEmpty()) {
        List1->setCurrentRow(0);
    } else if (!text0->text().trimmed().isEmpty()) {
        meldeInfo(this, QStringLiteral("Kein Gutachter mit diesem Namen in der Datenbank!"),
                  QStringLiteral("Information"));
    }
}

void frmGutachterAuswahl::cmdAuswaehlen_Click() {
    const int i = List1->currentRow();
    if (i < 0 || i >= m_treffer.size()) {
        meldeInfo(this, QStringLiteral("Bitte wählen Sie einen Gutachter aus der Liste."), QStringLiteral("Information"));
        return;
    }
    waehleGutachterFuerOrt(publics(), m_treffer[i]);
    m_gewaehlt = true;
    entlade();
    formen::zurueck("frmStadtMaske", "uebernimmGutachter");
}

void frmGutachterAuswahl::beimEntladen() {
    if (schliesstAlle() || m_gewaehlt) return;
    publics().AuswahlFuerStadtMaske = false;
    if (formen::istGeladen("frmStadtMaske")) formen::zurueck("frmStadtMaske");
}

}  // namespace talu
