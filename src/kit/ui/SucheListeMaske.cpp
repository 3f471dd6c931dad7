#include "kit/ui/SucheListeMaske.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Geometrie.h"
#include "db/Datenbank.h"
#include "kit/ui/FeldArray.h"

namespace talu {

namespace {

QLabel* kopf(const QString& text) {
    auto* l = new QLabel(text);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    f.setBold(true);
    l->setFont(f);
    l->setObjectName("lblKopf");
    return l;
}

QPushButton* knopf(const QString& name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumWidth(twips(1500));
    return b;
}

QHBoxLayout* knopfZeile(QPushButton* links, QPushButton* rechts) {
    auto* k = new QHBoxLayout;
    k->addStretch();
    k->addWidget(links);
    k->addWidget(rechts);
    return k;
}

}  // namespace

// ---------------------------------------------------------------- search

SuchFormular::SuchFormular(const QString& titel, const QString& kopfText, const QString& feldText, QWidget* parent)
    : Formular(parent) {
    setWindowTitle(titel);
    setzePlatz(Platz::ObenLinks);
    auto* v = new QVBoxLayout(this);
    lblKopf = kopf(kopfText);
    v->addWidget(lblKopf);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(feldText));
    text0 = new QLineEdit;
    text0->setObjectName("text(0)");
    text0->setMinimumWidth(twips(3500));
    zeile->addWidget(text0, 1);
    v->addLayout(zeile);
    cmdSucheStarten = knopf("cmdSucheStarten", QStringLiteral("&Suche starten"));
    cmdAbbrechen = knopf("cmdAbbrechen", QStringLiteral("&Abbrechen"));
    v->addLayout(knopfZeile(cmdSucheStarten, cmdAbbrechen));
    // Enter in the field is taken by the field array; the button starts the search.
    new FeldArray({text0}, this, FeldArray::KeinJaNeinFeld);
    connect(cmdSucheStarten, &QPushButton::clicked, this, &SuchFormular::cmdSucheStarten_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &SuchFormular::cmdAbbrechen_Click);
    setzeStartfeld(text0);
}

void SuchFormular::cmdSucheStarten_Click() {
    Suchergebnis e;
    if (!mitDatenbank(QStringLiteral("Die Suche ist fehlgeschlagen."), [&] { e = suche(text0->text()); })) return;
    switch (e.art) {
        case Suchergebnis::Leer:
        case Suchergebnis::KeinTreffer:
            meldeInfo(this, e.meldung, QStringLiteral("Information"));
            text0->setFocus();
            return;
        case Suchergebnis::EinTreffer:
            m_weiter = true;
            entlade();
            einTreffer(e);
            return;
        case Suchergebnis::MehrereTreffer:
            m_weiter = true;
            entlade();
            mehrereTreffer(e);
            return;
    }
}

void SuchFormular::beimEntladen() {
    if (schliesstAlle() || m_weiter) return;
    ohneTreffer();
}

// ---------------------------------------------------------------- list

ListenFormular::ListenFormular(const QString& titel, const QString& text, QWidget* parent) : Formular(parent) {
    setWindowTitle(titel);
    setzePlatz(Platz::ObenLinks);
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(text));
    Combo1 = new QComboBox;
    Combo1->setObjectName("Combo1");
    Combo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Combo1->setMinimumWidth(twips(4500));
    v->addWidget(Combo1);
    cmdAuswaehlen = knopf("cmdAuswaehlen", QStringLiteral("&Auswählen"));
    cmdAbbrechen = knopf("cmdAbbrechen", QStringLiteral("&Abbrechen"));
    cmdAuswaehlen->setDefault(true);
    v->addLayout(knopfZeile(cmdAuswaehlen, cmdAbbrechen));
    connect(cmdAuswaehlen, &QPushButton::clicked, this, &ListenFormular::cmdAuswaehlen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &ListenFormular::cmdAbbrechen_Click);
    setzeStartfeld(Combo1);
}

void ListenFormular::fuelle(const QList<Treffer>& treffer) {
    Combo1->clear();
    ListenIds.clear();
    for (const Treffer& t : treffer) {
        Combo1->addItem(t.text);
        ListenIds << t.id;
    }
    if (Combo1->count() > 0) Combo1->setCurrentIndex(0);
}

void ListenFormular::cmdAuswaehlen_Click() {
    const int i = Combo1->currentIndex();
    if (i < 0 || i >= ListenIds.size()) return;
    m_weiter = true;
    if (!gewaehlt(ListenIds[i])) m_weiter = false;
}

void ListenFormular::beimEntladen() {
    if (schliesstAlle() || m_weiter) return;
    ohneWahl();
}

// ---------------------------------------------------------------- mask

MaskenFormular::MaskenFormular(const QString& kopfText, const QStringList& feldTexte, QWidget* parent)
    : Formular(parent) {
    setWindowTitle(kopfText);
    setzePlatz(Platz::ObenLinks);
    auto* v = new QVBoxLayout(this);
    lblKopf = kopf(kopfText);
    v->addWidget(lblKopf);
    m_raster = new QGridLayout;
    for (int i = 0; i < feldTexte.size(); ++i) {
        auto* l = new QLabel(feldTexte[i]);
        auto* f = new QLineEdit;
        f->setObjectName(QStringLiteral("text(%1)").arg(i));
        f->setMinimumWidth(twips(3500));
        l->setBuddy(f);
        m_raster->addWidget(l, i, 0);
        m_raster->addWidget(f, i, 1);
        text << f;
    }
    m_raster->setColumnStretch(1, 1);
    v->addLayout(m_raster);
    cmdSpeichern = knopf("cmdSpeichern", QStringLiteral("&Speichern"));
    cmdZurueck = knopf("cmdZurueck", QStringLiteral("&Zurück"));
    m_knoepfe = knopfZeile(cmdSpeichern, cmdZurueck);
    v->addLayout(m_knoepfe);
    // A mask with a yes/no field names it through felder()->setzeJaNeinFeld().
    m_felder = new FeldArray(text, this, FeldArray::KeinJaNeinFeld);
    connect(cmdZurueck, &QPushButton::clicked, this, &MaskenFormular::cmdZurueck_Click);
    if (!text.isEmpty()) setzeStartfeld(text.first());
}

}  // namespace talu
