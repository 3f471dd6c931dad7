#include "market/ui/frmMarktUebersichtenAuswahl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "market/MarktDaten.h"
#include "market/ui/frmMarktUebersichten.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmMarktUebersichtenAuswahl> reg;
}  // namespace

frmMarktUebersichtenAuswahl::frmMarktUebersichtenAuswahl(QWidget* parent) : Formular(parent) {
    Publics& p = publics();
    setWindowTitle(p.AktOrtAnzeige.isEmpty() ? QStringLiteral("Marktübersichten")
                                             : "Marktübersichten - " + p.AktOrtAnzeige);

    Frame1 = new QGroupBox(this);
    auto* raster = new QGridLayout(Frame1);
    const auto& kat = markt::kategorien();
    // The captions carry their prices once per load; returning from the grid
    // finds them unchanged because this form is only hidden meanwhile.
    QHash<QString, double> preise;
    mitDatenbank(QStringLiteral("Die Preise der Marktübersichten konnten nicht gelesen werden."),
                 [&] { preise = markt::preiseAusOrt(p.Verbindung, p.RsSuche, p.AktGemeindeschluessel); });
    const int zeilen = (int(kat.size()) + 1) / 2;
    for (int i = 0; i < kat.size(); ++i) {
        auto* b = new QPushButton(markt::knopfText(kat[i], preise.value(kat[i].preisSpalte)), Frame1);
        b->setObjectName(QString("Command%1").arg(i + 1));
        b->setMinimumHeight(twips(450));
        raster->addWidget(b, i % zeilen, i / zeilen);
        connect(b, &QPushButton::clicked, this, [this, i] { kategorieGewaehlt(i); });
        m_knoepfe << b;
    }
    auto* zurueck = new QPushButton(QStringLiteral("Zurück"), Frame1);
    zurueck->setObjectName("Command15");
    zurueck->setMinimumHeight(twips(450));
    raster->addWidget(zurueck, zeilen, 1);
    connect(zurueck, &QPushButton::clicked, this, &frmMarktUebersichtenAuswahl::Command15_Click);
    m_knoepfe << zurueck;
    // The focus is on "Zurück" when the form opens and when the grid brings it back.
    setzeStartfeld(zurueck);

    // Both columns as wide as the widest caption with its price, so that
    // they stay equally wide whatever the prices are.
    int breiteste = 0;
    for (QPushButton* b : m_knoepfe) breiteste = qMax(breiteste, b->sizeHint().width());
    for (int spalte : {0, 1}) {
        raster->setColumnStretch(spalte, 1);
        raster->setColumnMinimumWidth(spalte, breiteste);
    }

    auto* haupt = new QVBoxLayout(this);
    haupt->addWidget(Frame1);
    resize(qMax(twips(7800), sizeHint().width()), twips(5200));
}

void frmMarktUebersichtenAuswahl::showEvent(QShowEvent* e) {
    Formular::showEvent(e);
    // Back from the grid: the hourglass of the choice ends here.
    unsetCursor();
}

void frmMarktUebersichtenAuswahl::kategorieGewaehlt(int i) {
    const markt::Kategorie& k = markt::kategorien().at(i);
    setCursor(Qt::WaitCursor);
    // Hidden, not unloaded: the grid brings this form back when it closes.
    verstecke();
    publics().MarktTabelle = k.tabelle;
    publics().MarktTitel = k.titel;
    formen::zeige<frmMarktUebersichten>();
}

void frmMarktUebersichtenAuswahl::Command15_Click() { entlade(); }

// Unloading returns to the information groups, unless a menu action closes every form.
void frmMarktUebersichtenAuswahl::beimEntladen() {
    if (!schliesstAlle()) formen::zurueck("frmInformationsGruppen");
}

}  // namespace talu
