#include "lookup/frmSuchen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/Formen.h"
#include "app/Geometrie.h"
#include "app/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/Meldung.h"
#include "lookup/SuchVorgang.h"

namespace talu {

namespace {
formen::Registrierung reg("frmSuchen", [] { return new frmSuchen; });
}

frmSuchen::frmSuchen(QWidget* parent) : QWidget(parent) {
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

    // Enter presses "&Starten", Escape "&Zurück", as default and cancel buttons do.
    connect(Text1, &QLineEdit::returnPressed, this, &frmSuchen::cmdStarten_Click);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WidgetWithChildrenShortcut);
    connect(esc, &QShortcut::activated, this, &frmSuchen::cmdZurueck_Click);
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
    setFocusProxy(Text1);
    Text1->setFocus();
}

void frmSuchen::cmdHinweis_Click() { lookup::zeigeMeldung(this, {lookup::Meldung::Information, QString(), Hinweistext}); }

void frmSuchen::weiterZu(const QString& form) {
    m_weiter = true;
    formen::zeige(form);
}

void frmSuchen::cmdStarten_Click() {
    Publics& p = publics();
    // The mode is the one this form was opened in, whatever happened since.
    p.SuchArt = m_suchArt;
    using E = SuchVorgang::Ergebnis;
    E e;
    {
        lookup::Sanduhr sanduhr;
        try {
            e = SuchVorgang::starte(p, Text1->text());
        } catch (const DbFehler& f) {
            sanduhr.aus();
            lookup::zeigeMeldung(this, lookup::datenbankMeldung(f.kurz(), f.serverText()));
            return;
        }
    }
    switch (e) {
        case E::KeinBegriff:
        case E::ZuKurz:
        case E::KeinOrt:
        case E::KeineStrasse:
            lookup::zeigeMeldung(this, {lookup::Meldung::Information, QString(), SuchVorgang::meldung(e)});
            Text1->setFocus();
            Text1->selectAll();
            return;
        case E::EinOrt:
            weiterZu(QStringLiteral("frmInformationsGruppen"));
            break;
        case E::EinOrtFuerNeuesGrundstueck: {
            m_weiter = true;
            if (QWidget* maske = formen::zeige(QStringLiteral("frmGrundstueckMaske")))
                QMetaObject::invokeMethod(maske, "OrtUebernehmen");
            break;
        }
        case E::MehrereOrte:
        case E::Grundstuecke:
            weiterZu(QStringLiteral("frmAuswaehlen"));
            break;
        case E::Nichts:
            return;
    }
    formen::entlade(this);
}

void frmSuchen::cmdZurueck_Click() { formen::entlade(this); }

void frmSuchen::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_zentriert) return;
    m_zentriert = true;
    ZentriereKind(formen::hauptfenster(), this, 0, 0);
}

// Unload. Leaving the form without a result ("&Zurück" or the close box) walks
// back: a street search to the information groups of its place, the place
// search of a new plot to that plot.
void frmSuchen::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    if (formen::schliesstAlleKinder()) return;
    const Publics& p = publics();
    if (m_suchArt == QStringLiteral("Gutachter mit Ort verknüpfen")) {
        formen::zeige(QStringLiteral("frmStadtMaske"));
    } else if (m_weiter) {
        return;
    } else if (m_suchArt == QStringLiteral("suche nach grundstück")) {
        formen::zeige(QStringLiteral("frmInformationsGruppen"));
    } else if (p.OrtFuerNeuesGrundstueck && formen::vorhanden(QStringLiteral("frmGrundstueckMaske"))) {
        formen::zeige(QStringLiteral("frmGrundstueckMaske"));
    }
}

}  // namespace talu
