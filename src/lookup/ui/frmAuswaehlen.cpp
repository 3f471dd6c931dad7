#include "lookup/ui/frmAuswaehlen.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "lookup/AuswahlListe.h"
#include "lookup/ui/frmInformationsGruppen.h"
#include "lookup/ui/frmSuchen.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/ui/frmGrundstueckMaske.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmAuswaehlen> reg;
}

QFont frmAuswaehlen::listenSchrift() {
    // Courier New's metrics where Liberation Mono is installed; otherwise
    // whatever fixed-pitch family the system offers.
    for (const char* familie : {"Liberation Mono", "Courier New", "DejaVu Sans Mono", "Nimbus Mono PS"}) {
        QFont f(QString::fromLatin1(familie), 10);
        f.setStyleHint(QFont::TypeWriter);
        if (QFontInfo(f).fixedPitch() && QFontInfo(f).family() == f.family()) return f;
    }
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPointSize(10);
    return f;
}

frmAuswaehlen::frmAuswaehlen(QWidget* parent) : Formular(parent) {
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(Frame1);
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName("Combo1");
    Combo1->setFont(listenSchrift());
    // A street may have thousands of plots: a model and a uniform-row view
    // keep the list quick, and the popup scrolls instead of filling the screen.
    m_modell = new QStringListModel(this);
    auto* ansicht = new QListView(Combo1);
    ansicht->setUniformItemSizes(true);
    ansicht->setFont(Combo1->font());
    Combo1->setView(ansicht);
    Combo1->setModel(m_modell);
    Combo1->setMaxVisibleItems(20);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(48);
    Label1->setBuddy(Combo1);

    cmdAuswaehlen = new QPushButton(QStringLiteral("&Auswählen"), this);
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdAuswaehlen->setDefault(true);
    // A focused button takes Enter itself, as in every dialog.
    cmdZurueck->setAutoDefault(true);

    auto* innen = new QVBoxLayout(Frame1);
    innen->addWidget(Label1);
    innen->addWidget(Combo1);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdAuswaehlen);
    knoepfe->addStretch();
    knoepfe->addWidget(cmdZurueck);
    auto* aussen = new QVBoxLayout(this);
    aussen->addWidget(Frame1);
    aussen->addLayout(knoepfe);

    connect(cmdAuswaehlen, &QPushButton::clicked, this, &frmAuswaehlen::cmdAuswaehlen_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmAuswaehlen::cmdZurueck_Click);
    // Enter presses "&Auswählen", Escape "&Zurück", as default and cancel
    // buttons do; the open drop-down list keeps its own Enter and Escape.
    enterDrueckt(cmdAuswaehlen);
    escapeDrueckt(cmdZurueck);

    resize(twips(8200), twips(2300));
    Form_Load();
}

void frmAuswaehlen::Form_Load() {
    Publics& p = publics();
    m_suchArt = p.SuchArt;
    const AuswahlListe liste = AuswahlListe::aus(p.RsSuche, m_suchArt);
    ListenIds = liste.ListenIds;
    m_modell->setStringList(liste.eintraege);
    Label1->setText(liste.label);
    setWindowTitle(liste.titel);
    Combo1->setCurrentIndex(liste.eintraege.isEmpty() ? -1 : 0);
    setzeStartfeld(Combo1);
}

void frmAuswaehlen::cmdAuswaehlen_Click() {
    const int index = Combo1->currentIndex();
    if (index < 0 || index >= ListenIds.size()) return;
    Publics& p = publics();
    p.SuchArt = m_suchArt;
    AuswahlFolge folge = AuswahlFolge::Nichts;
    if (!mitDatenbank(QStringLiteral("Der gewählte Eintrag konnte nicht gelesen werden."),
                      [&] { folge = waehleAus(p, m_suchArt, ListenIds.at(index)); }))
        return;
    switch (folge) {
        case AuswahlFolge::Nichts:
            meldeInfo(this, QStringLiteral("Der gewählte Eintrag ist nicht mehr vorhanden!"));
            return;
        case AuswahlFolge::Informationsgruppen:
            m_gewaehlt = true;
            formen::zeige<frmInformationsGruppen>();
            break;
        case AuswahlFolge::OrtFuerNeuesGrundstueck:
            m_gewaehlt = true;
            if (auto* maske = formen::zeige<frmGrundstueckMaske>()) maske->OrtUebernehmen();
            break;
        case AuswahlFolge::Grundstueck:
            m_gewaehlt = true;
            formen::zeige<frmGrundstueckMaske>();
            break;
    }
    entlade();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmAuswaehlen::cmdZurueck_Click() {
    m_zurueck = true;
    publics().SuchArt = m_suchArt;
    formen::zeige<frmSuchen>();
    entlade();
}

// Unload. Closed by its close box without a choice, the list walks back like
// "&Zurück" would, so that the road does not end in an empty main window.
void frmAuswaehlen::beimEntladen() {
    if (schliesstAlle()) return;
    if (m_suchArt == QStringLiteral("Gutachter mit Ort verknüpfen")) {
        formen::zeige<frmStadtMaske>();
        return;
    }
    if (!m_gewaehlt && !m_zurueck) {
        publics().SuchArt = m_suchArt;
        formen::zeige<frmSuchen>();
    }
}

}  // namespace talu
