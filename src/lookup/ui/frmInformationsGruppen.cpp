#include "lookup/ui/frmInformationsGruppen.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "lookup/InformationsGruppen.h"
#include "lookup/ui/frmSuchen.h"
#include "market/ui/frmMarktUebersichtenAuswahl.h"
#include "place/ui/frmStadtMaske.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmInformationsGruppen> reg;
}

frmInformationsGruppen::frmInformationsGruppen(QWidget* parent) : Formular(parent) {
    setWindowTitle(QStringLiteral("Informationsgruppen"));
    Label2 = new QLabel(QStringLiteral("Informationsgruppen wählen"), this);
    QFont kopf = Label2->font();
    kopf.setBold(true);
    kopf.setPointSizeF(kopf.pointSizeF() * 1.2);
    Label2->setFont(kopf);
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setWordWrap(true);

    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    const QString captions[3] = {QStringLiteral("&Ortsinformationen (2,50 €)"), QStringLiteral("&Bodenrichtwerte"),
                                 QStringLiteral("&Marktübersichten")};
    auto* gruppen = new QVBoxLayout(Frame1);
    for (int i = 0; i < 3; ++i) {
        cmdAuswahl[i] = new QPushButton(captions[i], Frame1);
        cmdAuswahl[i]->setObjectName(QString("cmdAuswahl_%1").arg(i));
        cmdAuswahl[i]->setMinimumHeight(twips(500));
        gruppen->addWidget(cmdAuswahl[i]);
        connect(cmdAuswahl[i], &QPushButton::clicked, this, [this, i] { cmdAuswahl_Click(i); });
    }
    cmdAbbrechen = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmInformationsGruppen::cmdAbbrechen_Click);
    connect(cmdAbbruch, &QPushButton::clicked, this, &frmInformationsGruppen::cmdAbbrechen_Click);
    escapeDrueckt(cmdAbbruch);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdAbbrechen);
    knoepfe->addStretch();
    knoepfe->addWidget(cmdAbbruch);
    auto* aussen = new QVBoxLayout(this);
    aussen->addWidget(Label2);
    aussen->addWidget(Frame1);
    aussen->addLayout(knoepfe);

    setMinimumWidth(twips(5600));
    resize(twips(5600), twips(3600));
    Form_Load();
}

void frmInformationsGruppen::Form_Load() {
    GruppeGewaehlt = false;
    for (bool& g : GewaehlteGruppe) g = false;
    InformationsGruppen g;
    const bool gelesen = mitDatenbank(QStringLiteral("Der Ort konnte nicht gelesen werden."),
                                      [&] { g = InformationsGruppen::lade(publics()); });
    Label2->setText(g.label2.isEmpty() ? QStringLiteral("Informationsgruppen wählen") : g.label2);
    cmdAuswahl[1]->setText(g.bodenrichtwerteCaption.isEmpty() ? QStringLiteral("&Bodenrichtwerte")
                                                              : g.bodenrichtwerteCaption);
    // Without the place row there is nothing to look up or to bill.
    for (QPushButton* b : cmdAuswahl) b->setEnabled(g.ortGefunden);
    if (gelesen && !g.ortGefunden)
        meldeKritisch(this, "Zum Gemeindeschlüssel '" + publics().AktGemeindeschluessel + "' ist kein Ort vorhanden!");
    setzeStartfeld(cmdAbbruch);
}

void frmInformationsGruppen::cmdAuswahl_Click(int index) {
    if (index < 0 || index > 2) return;
    GewaehlteGruppe[index] = true;
    GruppeGewaehlt = true;
    entlade();
}

void frmInformationsGruppen::cmdAbbrechen_Click() { entlade(); }

// Unload: on to the chosen group, or back to the place search.
void frmInformationsGruppen::beimEntladen() {
    if (schliesstAlle()) return;
    Sanduhr sanduhr;
    auto gruppe = InformationsGruppen::Keine;
    for (int i = 0; i < 3; ++i)
        if (GruppeGewaehlt && GewaehlteGruppe[i]) gruppe = InformationsGruppen::Gruppe(i);
    switch (InformationsGruppen::folge(publics(), gruppe)) {
        case InformationsGruppen::Folge::Suche: formen::zeige<frmSuchen>(); break;
        case InformationsGruppen::Folge::Ortsform: formen::zeige<frmStadtMaske>(); break;
        case InformationsGruppen::Folge::Marktauswahl: formen::zeige<frmMarktUebersichtenAuswahl>(); break;
    }
}

}  // namespace talu
