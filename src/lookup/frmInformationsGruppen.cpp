#include "lookup/frmInformationsGruppen.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/Formen.h"
#include "app/Geometrie.h"
#include "app/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/InformationsGruppen.h"
#include "lookup/Meldung.h"

namespace talu {

namespace {
formen::Registrierung reg("frmInformationsGruppen", [] { return new frmInformationsGruppen; });
}

frmInformationsGruppen::frmInformationsGruppen(QWidget* parent) : QWidget(parent) {
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
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(esc, &QShortcut::activated, this, &frmInformationsGruppen::cmdAbbrechen_Click);

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
    try {
        lookup::Sanduhr sanduhr;
        g = InformationsGruppen::lade(publics());
    } catch (const DbFehler& f) {
        lookup::zeigeMeldung(this, lookup::datenbankMeldung(f.kurz(), f.serverText()));
    }
    Label2->setText(g.label2.isEmpty() ? QStringLiteral("Informationsgruppen wählen") : g.label2);
    cmdAuswahl[1]->setText(g.bodenrichtwerteCaption.isEmpty() ? QStringLiteral("&Bodenrichtwerte")
                                                              : g.bodenrichtwerteCaption);
    // Without the place row there is nothing to look up or to bill.
    for (QPushButton* b : cmdAuswahl) b->setEnabled(g.ortGefunden);
    if (!g.ortGefunden)
        lookup::zeigeMeldung(this, {lookup::Meldung::Kritisch, QString(),
                                    "Zum Gemeindeschlüssel '" + publics().AktGemeindeschluessel +
                                        "' ist kein Ort vorhanden!"});
    setFocusProxy(cmdAbbruch);
    cmdAbbruch->setFocus();
}

void frmInformationsGruppen::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_zentriert) return;
    m_zentriert = true;
    ZentriereKind(formen::hauptfenster(), this, 0, 0);
}

void frmInformationsGruppen::cmdAuswahl_Click(int index) {
    if (index < 0 || index > 2) return;
    GewaehlteGruppe[index] = true;
    GruppeGewaehlt = true;
    formen::entlade(this);
}

void frmInformationsGruppen::cmdAbbrechen_Click() { formen::entlade(this); }

// Unload: on to the chosen group, or back to the place search.
void frmInformationsGruppen::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    if (formen::schliesstAlleKinder()) return;
    lookup::Sanduhr sanduhr;
    auto gruppe = InformationsGruppen::Keine;
    for (int i = 0; i < 3; ++i)
        if (GruppeGewaehlt && GewaehlteGruppe[i]) gruppe = InformationsGruppen::Gruppe(i);
    formen::zeige(InformationsGruppen::folgeForm(publics(), gruppe));
}

}  // namespace talu
