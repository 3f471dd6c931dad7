#include "tools/ui/ZaehlerFormular.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "tools/stapel/MitDialogen.h"
#include "tools/ui/PflegeMenue.h"
#include "tools/Zaehlerformat.h"

namespace talu {

ZaehlerFormular::ZaehlerFormular(const Aufbau& aufbau, QWidget* parent) : Formular(parent), m_muster(aufbau.muster) {
    setWindowTitle(aufbau.titel);
    auto* spalte = new QVBoxLayout(this);
    lblKopf = new QLabel(aufbau.titel);
    lblKopf->setObjectName(QStringLiteral("lblKopf"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(14);
    f.setBold(true);
    lblKopf->setFont(f);
    spalte->addWidget(lblKopf);

    Frame1 = new QGroupBox;
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* raster = new QGridLayout(Frame1);
    for (int i = 0; i < aufbau.zaehler.size(); ++i) {
        auto* l = new QLabel(aufbau.zaehler.at(i));
        l->setObjectName(QStringLiteral("label_%1").arg(i));
        auto* t = new QLineEdit;
        t->setObjectName(aufbau.feldnamen.value(i, QStringLiteral("text_%1").arg(i)));
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
        t->setAlignment(Qt::AlignRight);
        t->setMinimumWidth(twips(1800));
        l->setBuddy(t);
        raster->addWidget(l, i, 0);
        raster->addWidget(t, i, 1);
        label << l;
        text << t;
        setzeZaehler(i, 0);
    }
    spalte->addWidget(Frame1);

    auto* knoepfe = new QHBoxLayout;
    cmdStart = new QPushButton(QStringLiteral("&Start"));
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdZurueck = new QPushButton(QString::fromUtf8("&Zurück"));
    cmdZurueck->setObjectName(QStringLiteral("cmdZurueck"));
    knoepfe->addWidget(cmdStart);
    knoepfe->addStretch();
    knoepfe->addWidget(cmdZurueck);
    spalte->addLayout(knoepfe);
    m_knoepfe << cmdStart;

    connect(cmdStart, &QPushButton::clicked, this, [this] {
        if (!m_laeuft) emit startGeklickt();
    });
    connect(cmdZurueck, &QPushButton::clicked, this, [this] {
        // While the command runs, "Zurück" stops it first; the form stays until it has.
        if (m_laeuft) m_abbruch = true;
        else entlade();
    });
    escapeDrueckt(cmdZurueck);
    setzeStartfeld(cmdStart);
}

QPushButton* ZaehlerFormular::weitererKnopf(const QString& name, const QString& beschriftung) {
    auto* b = new QPushButton(beschriftung);
    b->setObjectName(name);
    auto* zeile = static_cast<QHBoxLayout*>(layout()->itemAt(layout()->count() - 1)->layout());
    // After the buttons added before it, so that they stand in the order they were added.
    zeile->insertWidget(int(m_knoepfe.size()), b);
    m_knoepfe << b;
    return b;
}

void ZaehlerFormular::setzeZaehler(int i, qint64 wert, const QString& muster) {
    if (i < 0 || i >= text.size()) return;
    text[i]->setText(stapel::zaehlerText(double(wert), muster.isEmpty() ? m_muster : muster));
}

void ZaehlerFormular::melde(qint64 erledigt, qint64, const QString&) { setzeZaehler(0, erledigt); }

void ZaehlerFormular::zaehle(const QList<stapel::Zaehler>& zaehler, const QString&) {
    // By caption where it names one of the form's, else in order.
    for (int i = 0; i < zaehler.size(); ++i) {
        int ziel = i;
        for (int j = 0; j < label.size(); ++j)
            if (label[j]->text() == zaehler[i].name) ziel = j;
        setzeZaehler(ziel, zaehler[i].wert, zaehler[i].muster);
    }
}

void ZaehlerFormular::startetBefehl(QPushButton* knopf, const QString& befehl) {
    connect(knopf, &QPushButton::clicked, this, [this, befehl] {
        const pflege::Pflegebefehl* b = pflege::findeBefehl(befehl);
        if (m_laeuft || !b) return;
        std::unique_ptr<stapel::Auftrag> auftrag = b->erzeuge();
        const stapel::Ergebnis e = starte(*auftrag);
        meldeEnde(this, *b, *auftrag, e);
    });
}

stapel::Ergebnis ZaehlerFormular::starte(stapel::Auftrag& auftrag) {
    m_laeuft = true;
    m_abbruch = false;
    for (QPushButton* b : m_knoepfe) b->setEnabled(false);
    stapel::MitDialogen bediener(this, this);
    const stapel::Ergebnis e = stapel::fuehreAusNebenbei(auftrag, publics().Verbindung, bediener);
    for (QPushButton* b : m_knoepfe) b->setEnabled(true);
    m_laeuft = false;
    return e;
}

}  // namespace talu
