#include "billing/ui/frmRechnungen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "billing/Bediener.h"
#include "db/Datenbank.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmRechnungen> reg;
}  // namespace

frmRechnungen::frmRechnungen(QWidget* parent) : Formular(parent) {
    setObjectName(QStringLiteral("frmRechnungen"));
    setWindowTitle(QStringLiteral("Rechnungen"));

    lblKopf = new QLabel(QStringLiteral("Rechnungsdaten"), this);
    lblKopf->setObjectName(QStringLiteral("lblKopf"));
    QFont kopf(QStringLiteral("Arial"));
    kopf.setPointSize(14);
    kopf.setBold(true);
    lblKopf->setFont(kopf);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* g = new QGridLayout(frame);
    const QStringList beschriftungen = abrechnung::RechnungsAnzeige::beschriftungen();
    for (int i = 0; i < beschriftungen.size(); ++i) {
        auto* l = new QLabel(beschriftungen.at(i), frame);
        l->setObjectName(QStringLiteral("label_%1").arg(i));
        auto* t = new QLineEdit(frame);
        t->setObjectName(QStringLiteral("text_%1").arg(i));
        // The boxes show; only the button changes the invoice.
        t->setReadOnly(true);
        t->setMinimumWidth(twips(3600));
        l->setBuddy(t);
        g->addWidget(l, i, 0);
        g->addWidget(t, i, 1);
        label << l;
        text << t;
    }

    cmdSchliessen = new QPushButton(QStringLiteral("&Schliessen"), this);
    cmdSchliessen->setObjectName(QStringLiteral("cmdSchliessen"));
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdZurueck->setObjectName(QStringLiteral("cmdZurueck"));
    connect(cmdSchliessen, &QPushButton::clicked, this, &frmRechnungen::cmdSchliessen_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &Formular::entlade);
    escapeDrueckt(cmdZurueck);

    auto* linie = new QFrame(this);
    linie->setObjectName(QStringLiteral("Line1"));
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdSchliessen);
    knoepfe->addStretch(1);
    knoepfe->addWidget(cmdZurueck);

    auto* l = new QVBoxLayout(this);
    l->addWidget(lblKopf);
    l->addWidget(frame);
    l->addWidget(linie);
    l->addLayout(knoepfe);
    setzeStartfeld(cmdSchliessen);
    cmdSchliessen->setEnabled(false);
}

bool frmRechnungen::setzeRechnungsNr(double nummer) {
    m_nummer = nummer;
    bool da = false;
    const bool ok = mitDatenbank(QStringLiteral("Die Rechnung konnte nicht gelesen werden."), [&] {
        m_anzeige = {};
        da = m_anzeige.lade(publics().Verbindung, nummer);
    });
    if (ok && !da) meldeInfo(this, QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
    ZeigeRechnung();
    return ok && da;
}

void frmRechnungen::ZeigeRechnung() {
    const QStringList t = m_anzeige.geladen() ? m_anzeige.texte() : QStringList();
    for (int i = 0; i < text.size(); ++i) text[i]->setText(t.value(i));
    cmdSchliessen->setText(m_anzeige.geladen() ? m_anzeige.knopfText() : QStringLiteral("&Schliessen"));
    cmdSchliessen->setEnabled(m_anzeige.geladen());
}

void frmRechnungen::cmdSchliessen_Click() {
    if (!m_anzeige.geladen()) return;
    mitDatenbank(QStringLiteral("Der Zustand der Rechnung konnte nicht gespeichert werden."),
                 [&] { m_anzeige.schalteUm(publics().Verbindung); });
    ZeigeRechnung();
}

void RechnungenSuchen(QWidget* eltern) {
    abrechnung::DialogBediener b(eltern);
    std::optional<double> nummer;
    try {
        Sanduhr s;
        nummer = abrechnung::sucheRechnung(publics().Verbindung, b);
    } catch (const DbFehler& f) {
        zeige(eltern, datenbankMeldung(QStringLiteral("Die Rechnung konnte nicht gesucht werden.\n") + f.kurz(),
                                       f.serverText(), f.sql()));
        return;
    }
    if (!nummer) return;
    auto* f = qobject_cast<frmRechnungen*>(formen::instanz(formen::nameVon<frmRechnungen>()));
    if (!f) return;
    f->setzeRechnungsNr(*nummer);
    formen::zeige<frmRechnungen>();
}

}  // namespace talu
