#include "lookup/ui/frmSuchen.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "lookup/SuchVorgang.h"
#include "lookup/ui/frmAuswaehlen.h"
#include "lookup/ui/frmInformationsGruppen.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/ui/frmGrundstueckMaske.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmSuchen> reg;
}

frmSuchen::frmSuchen(QWidget* parent) : Formular(parent) {
    setWindowTitle(QStringLiteral("Suchen"));
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(QStringLiteral("Geben Sie bitte den Suchbegriff ein:"), Frame1);
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName("Text1");
    // One term; anything longer than a name column holds cannot match anyway.
    Text1->setMaxLength(200);
    Label1->setBuddy(Text1);

    cmdStarten = new QPushButton(QStringLiteral("&Starten"), this);
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdHinweis = new QPushButton(QStringLiteral("&Hinweis"), this);
    cmdStarten->setDefault(true);
    cmdStarten->setAutoDefault(false);
    cmdZurueck->setAutoDefault(false);
    cmdHinweis->setAutoDefault(false);

    auto* innen = new QVBoxLayout(Frame1);
    innen->addWidget(Label1);
    innen->addWidget(Text1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdStarten);
    knoepfe->addWidget(cmdHinweis);
    knoepfe->addStretch();
    knoepfe->addWidget(cmdZurueck);
    auto* aussen = new QVBoxLayout(this);
    aussen->addWidget(Frame1);
    aussen->addLayout(knoepfe);

    // Enter in the term presses "&Starten", Escape "&Zurück", as default and cancel buttons do.
    connect(Text1, &QLineEdit::returnPressed, this, &frmSuchen::cmdStarten_Click);
    escapeDrueckt(cmdZurueck);
    connect(cmdStarten, &QPushButton::clicked, this, &frmSuchen::cmdStarten_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmSuchen::cmdZurueck_Click);
    connect(cmdHinweis, &QPushButton::clicked, this, &frmSuchen::cmdHinweis_Click);

    resize(twips(5700), twips(2300));
    Form_Load();
}

void frmSuchen::Form_Load() {
    m_suchArt = publics().SuchArt;
    const SuchModus m = suchModus(m_suchArt);
    Label1->setText(m.label);
    Hinweistext = m.hinweis;
    Text1->setText(SuchVorgang::gemerkterBegriff(m_suchArt));
    Text1->selectAll();
    setzeStartfeld(Text1);
}

void frmSuchen::cmdHinweis_Click() { meldeInfo(this, Hinweistext); }

void frmSuchen::cmdStarten_Click() {
    Publics& p = publics();
    // The mode is the one this form was opened in, whatever happened since.
    p.SuchArt = m_suchArt;
    using E = SuchVorgang::Ergebnis;
    E e = E::Nichts;
    if (!mitDatenbank(QStringLiteral("Die Suche ist fehlgeschlagen."), [&] { e = SuchVorgang::starte(p, Text1->text()); }))
        return;
    switch (e) {
        case E::KeinBegriff:
        case E::ZuKurz:
        case E::KeinOrt:
        case E::KeineStrasse:
            meldeInfo(this, SuchVorgang::meldung(e));
            Text1->setFocus();
            Text1->selectAll();
            return;
        case E::EinOrt:
            m_weiter = true;
            formen::zeige<frmInformationsGruppen>();
            break;
        case E::EinOrtFuerNeuesGrundstueck:
            m_weiter = true;
            if (auto* maske = formen::zeige<frmGrundstueckMaske>()) maske->OrtUebernehmen();
            break;
        case E::MehrereOrte:
        case E::Grundstuecke:
            m_weiter = true;
            formen::zeige<frmAuswaehlen>();
            break;
        case E::Nichts:
            return;
    }
    entlade();
}

void frmSuchen::cmdZurueck_Click() { entlade(); }

// Unload. Leaving the form without a result ("&Zurück" or the close box) walks
// back: a street search to the information groups of its place, the place
// search of a new plot to that plot.
void frmSuchen::beimEntladen() {
    if (schliesstAlle()) return;
    const Publics& p = publics();
    if (m_suchArt == QStringLiteral("Gutachter mit Ort verknüpfen")) {
        formen::zeige<frmStadtMaske>();
    } else if (m_weiter) {
        return;
    } else if (m_suchArt == QStringLiteral("suche nach grundstück")) {
        formen::zeige<frmInformationsGruppen>();
    } else if (p.OrtFuerNeuesGrundstueck && formen::vorhanden<frmGrundstueckMaske>()) {
        formen::zeige<frmGrundstueckMaske>();
    }
}

}  // namespace talu
