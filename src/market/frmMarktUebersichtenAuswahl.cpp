#include "market/frmMarktUebersichtenAuswahl.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialoge.h"
#include "app/Formen.h"
#include "app/Geometrie.h"
#include "app/Seitenwechsel.h"
#include "app/modPublics.h"
#include "market/MarktDaten.h"

namespace talu {

namespace {
const QString kName = QStringLiteral("frmMarktUebersichtenAuswahl");
formen::Registrierung reg(kName, [] { return new frmMarktUebersichtenAuswahl; });
}  // namespace

frmMarktUebersichtenAuswahl::frmMarktUebersichtenAuswahl(QWidget* parent) : QWidget(parent) {
    Publics& p = publics();
    setWindowTitle(p.AktOrtAnzeige.isEmpty() ? QStringLiteral("Marktübersichten")
                                             : "Marktübersichten - " + p.AktOrtAnzeige);

    Frame1 = new QGroupBox(this);
    auto* raster = new QGridLayout(Frame1);
    const auto& kat = markt::kategorien();
    // The captions carry their prices once per load; returning from the grid
    // finds them unchanged because this form is only hidden meanwhile.
    QHash<QString, double> preise;
    try {
        preise = markt::preiseAusOrt(p.Verbindung, p.RsSuche, p.AktGemeindeschluessel);
    } catch (const DbFehler& e) {
        meldeKritisch(this, QStringLiteral("Die Preise der Marktübersichten konnten nicht gelesen werden."), QString(),
                      e.kurz() + "\n" + e.serverText());
    }
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
    // The focus is on "Zurück" when the form opens and when the grid brings
    // it back, also when the form registry hands the focus to the form.
    setzeFokusziel(this, [zurueck] { return zurueck; });

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
    QWidget::showEvent(e);
    if (!m_zentriert) {
        m_zentriert = true;
        ZentriereKind(formen::hauptfenster(), this, 0, 0);
    }
    // Back from the grid: the hourglass of the choice ends here.
    unsetCursor();
    m_knoepfe.last()->setFocus();
}

void frmMarktUebersichtenAuswahl::kategorieGewaehlt(int i) {
    const markt::Kategorie& k = markt::kategorien().at(i);
    setCursor(Qt::WaitCursor);
    // Hidden, not unloaded: the grid brings this form back when it closes.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->hide();
    else hide();
    publics().MarktTabelle = k.tabelle;
    publics().MarktTitel = k.titel;
    formen::zeige("frmMarktUebersichten");
}

void frmMarktUebersichtenAuswahl::Command15_Click() {
    formen::entlade(this);
}

void frmMarktUebersichtenAuswahl::closeEvent(QCloseEvent* e) {
    // Unloading returns to the information groups, unless a menu action
    // closes every form.
    if (!formen::schliesstAlleKinder()) formen::zeige("frmInformationsGruppen");
    QWidget::closeEvent(e);
}

}  // namespace talu
