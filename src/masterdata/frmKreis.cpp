#include "masterdata/frmKreis.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Dialoge.h"
#include "app/Formen.h"
#include "app/Geometrie.h"
#include "app/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/FeldArray.h"
#include "masterdata/KreisDaten.h"

namespace talu {

namespace {

static formen::Registrierung regSuchen("frmKreisSuchen", [] { return new frmKreisSuchen; });
static formen::Registrierung regAuswaehlen("frmKreisAuswaehlen", [] { return new frmKreisAuswaehlen; });
static formen::Registrierung regMaske("frmKreisMaske", [] { return new frmKreisMaske; });

// The district forms stand 300 twips from the main window's top left corner.
void platziere(QWidget* w) {
    QWidget* ziel = w;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p)) {
            ziel = s;
            break;
        }
    if (ziel != w || !formen::hauptfenster()) ziel->move(twips(300), twips(300));
}

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

// The search and the mask share one layout: heading, one named field, two buttons.
struct EinFeld {
    QLabel* kopf;
    QLineEdit* feld;
    QPushButton* links;
    QPushButton* rechts;
};

EinFeld baueEinFeld(QWidget* form, const QString& kopfText, const QString& feldText,
                    const QString& linksName, const QString& linksText,
                    const QString& rechtsName, const QString& rechtsText) {
    auto* v = new QVBoxLayout(form);
    EinFeld e{kopf(kopfText), new QLineEdit, knopf(linksName, linksText), knopf(rechtsName, rechtsText)};
    v->addWidget(e.kopf);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(feldText));
    e.feld->setObjectName("text(0)");
    e.feld->setMinimumWidth(twips(3500));
    zeile->addWidget(e.feld, 1);
    v->addLayout(zeile);
    auto* k = new QHBoxLayout;
    k->addStretch();
    k->addWidget(e.links);
    k->addWidget(e.rechts);
    v->addLayout(k);
    new FeldArray({e.feld}, form, FeldArray::KeinJaNeinFeld);
    return e;
}

}  // namespace

// ---------------------------------------------------------------- search

frmKreisSuchen::frmKreisSuchen(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Kreis suchen"));
    const EinFeld e = baueEinFeld(this, QStringLiteral("Suche nach Landkreis"), QStringLiteral("Name des Kreises:"),
                                  "cmdSucheStarten", QStringLiteral("&Suche starten"), "cmdAbbrechen",
                                  QStringLiteral("&Abbrechen"));
    lblKopf = e.kopf;
    text0 = e.feld;
    cmdSucheStarten = e.links;
    cmdAbbrechen = e.rechts;
    // Enter in the field is taken by the field array; the button starts the search.
    connect(cmdSucheStarten, &QPushButton::clicked, this, &frmKreisSuchen::cmdSucheStarten_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmKreisSuchen::cmdAbbrechen_Click);
    publics().RsKreise.schliessen();
}

void frmKreisSuchen::cmdSucheStarten_Click() {
    KreisSuchErgebnis e;
    try {
        e = sucheKreis(text0->text());
    } catch (const DbFehler& f) {
        meldeKritisch(this, "Die Suche ist fehlgeschlagen.\n" + f.kurz(), {}, f.serverText());
        return;
    }
    Publics& p = publics();
    switch (e.art) {
        case KreisSuchErgebnis::Leer:
        case KreisSuchErgebnis::KeinTreffer:
            meldeInfo(this, e.meldung, QStringLiteral("Information"));
            text0->setFocus();
            return;
        case KreisSuchErgebnis::EinTreffer: {
            p.Modus = QStringLiteral("aendern");
            m_weiter = true;
            formen::entlade(this);
            if (QWidget* m = formen::zeige(QStringLiteral("frmKreisMaske")))
                QMetaObject::invokeMethod(m, "setzeDatensatzId", Q_ARG(double, e.id));
            return;
        }
        case KreisSuchErgebnis::MehrereTreffer:
            // The place form's pick keeps the place form's own mode.
            if (!p.AuswahlFuerStadtMaske) p.Modus = QStringLiteral("aendern");
            m_weiter = true;
            formen::entlade(this);
            formen::zeige(QStringLiteral("frmKreisAuswaehlen"));
            return;
    }
}

void frmKreisSuchen::cmdAbbrechen_Click() { formen::entlade(this); }

void frmKreisSuchen::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_platziert) return;
    m_platziert = true;
    platziere(this);
    text0->setFocus();
}

// Leaving the pick without a choice returns to the place form.
void frmKreisSuchen::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    if (formen::schliesstAlleKinder() || m_weiter) return;
    Publics& p = publics();
    if (p.AuswahlFuerStadtMaske && formen::vorhanden(QStringLiteral("frmStadtMaske"))) {
        p.AuswahlFuerStadtMaske = false;
        formen::zeige(QStringLiteral("frmStadtMaske"));
    }
}

// ---------------------------------------------------------------- list

frmKreisAuswaehlen::frmKreisAuswaehlen(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Kreis auswählen"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(QStringLiteral("Wählen Sie bitte den Kreis aus")));
    Combo1 = new QComboBox;
    Combo1->setObjectName("Combo1");
    Combo1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Combo1->setMinimumWidth(twips(4500));
    v->addWidget(Combo1);
    auto* k = new QHBoxLayout;
    cmdAuswaehlen = knopf("cmdAuswaehlen", QStringLiteral("&Auswählen"));
    cmdAbbrechen = knopf("cmdAbbrechen", QStringLiteral("&Abbrechen"));
    cmdAuswaehlen->setDefault(true);
    k->addStretch();
    k->addWidget(cmdAuswaehlen);
    k->addWidget(cmdAbbrechen);
    v->addLayout(k);
    connect(cmdAuswaehlen, &QPushButton::clicked, this, &frmKreisAuswaehlen::cmdAuswaehlen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmKreisAuswaehlen::cmdAbbrechen_Click);

    Recordset& rs = publics().RsKreise;
    if (rs.istOffen()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            Combo1->addItem(rs.text("kreis"));
            ListenIds << rs.zahl("id");
        }
        rs.moveFirst();
    }
    if (Combo1->count() > 0) Combo1->setCurrentIndex(0);
}

void frmKreisAuswaehlen::cmdAuswaehlen_Click() {
    const int i = Combo1->currentIndex();
    if (i < 0 || i >= ListenIds.size()) return;
    const double id = ListenIds[i];
    Publics& p = publics();
    try {
        p.RsKreise.schliessen();
        p.RsKreise = KreisDaten(p.Verbindung).kreiseZeile(id);
        if (p.RsKreise.eof()) {
            meldeInfo(this, QStringLiteral("Der Kreis ist nicht mehr in der Datenbank."), QStringLiteral("Information"));
            return;
        }
        p.GewaehlterKreis = p.RsKreise.text("kreis");
        p.GewaehlteKreisId = p.RsKreise.zahl("id");
    } catch (const DbFehler& f) {
        meldeKritisch(this, "Der Kreis konnte nicht gelesen werden.\n" + f.kurz(), {}, f.serverText());
        return;
    }
    m_weiter = true;
    if (!p.AuswahlFuerStadtMaske || !formen::vorhanden(QStringLiteral("frmStadtMaske"))) {
        p.Modus = QStringLiteral("aendern");
        formen::entlade(this);
        if (QWidget* m = formen::zeige(QStringLiteral("frmKreisMaske")))
            QMetaObject::invokeMethod(m, "setzeDatensatzId", Q_ARG(double, id));
        return;
    }
    p.RsKreise.schliessen();
    p.AuswahlFuerStadtMaske = false;
    formen::entlade(this);
    if (QWidget* s = formen::zeige(QStringLiteral("frmStadtMaske"))) QMetaObject::invokeMethod(s, "uebernimmKreis");
}

void frmKreisAuswaehlen::cmdAbbrechen_Click() { formen::entlade(this); }

void frmKreisAuswaehlen::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_platziert) return;
    m_platziert = true;
    platziere(this);
    Combo1->setFocus();
}

// Without a choice the list goes back to the search (the pick stays active).
void frmKreisAuswaehlen::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    if (formen::schliesstAlleKinder() || m_weiter) return;
    publics().RsKreise.schliessen();
    formen::zeige(QStringLiteral("frmKreisSuchen"));
}

// ---------------------------------------------------------------- mask

frmKreisMaske::frmKreisMaske(QWidget* parent) : QWidget(parent) {
    m_aendern = publics().Modus == QStringLiteral("aendern");
    const EinFeld e = baueEinFeld(
        this, m_aendern ? QStringLiteral("Kreis anzeigen/aendern") : QStringLiteral("Kreis erfassen"),
        QStringLiteral("Name des Kreis:"), "cmdSpeichern", QStringLiteral("&Speichern"), "cmdZurueck",
        QStringLiteral("&Zurück"));
    lblKopf = e.kopf;
    text0 = e.feld;
    cmdSpeichern = e.links;
    cmdZurueck = e.rechts;
    setWindowTitle(lblKopf->text());
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmKreisMaske::cmdSpeichern_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmKreisMaske::cmdZurueck_Click);
}

void frmKreisMaske::setzeDatensatzId(double id) {
    m_id = id;
    DatensatzLaden();
}

void frmKreisMaske::DatensatzLaden() {
    try {
        bool gefunden = false;
        const QString n = KreisDaten(publics().Verbindung).name(m_id, &gefunden);
        text0->setText(n);
        if (!gefunden)
            meldeInfo(this, QStringLiteral("Zu diesem Kreis gibt es keinen Datensatz."), QStringLiteral("Information"));
    } catch (const DbFehler& f) {
        meldeKritisch(this, "Der Kreis konnte nicht gelesen werden.\n" + f.kurz(), {}, f.serverText());
    }
}

// A failed save is reported; after the first save of a new district further
// saves change that district instead of adding another one.
void frmKreisMaske::cmdSpeichern_Click() {
    const QString fehlt = KreisDaten::nameFehlt(text0->text());
    if (!fehlt.isEmpty()) {
        meldeInfo(this, fehlt, QStringLiteral("Information"));
        text0->setFocus();
        return;
    }
    try {
        m_id = KreisDaten(publics().Verbindung).speichere(m_id, text0->text());
    } catch (const DbFehler& f) {
        meldeKritisch(this, "Der Datensatz wurde nicht gespeichert.\n" + f.kurz(), {}, f.serverText());
        return;
    }
    meldeInfo(this, QStringLiteral("Der Datensatz wurde gespeichert!"), QStringLiteral("Information"));
    text0->setFocus();
}

void frmKreisMaske::cmdZurueck_Click() { formen::entlade(this); }

void frmKreisMaske::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_platziert) return;
    m_platziert = true;
    platziere(this);
    text0->setFocus();
}

void frmKreisMaske::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (m_entladen) return;
    m_entladen = true;
    formen::entlade(this);
    if (formen::schliesstAlleKinder() || !m_aendern) return;
    publics().RsKreise.schliessen();
    formen::zeige(QStringLiteral("frmKreisSuchen"));
}

}  // namespace talu
