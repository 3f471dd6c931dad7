#include "masterdata/ui/frmKunden.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "masterdata/KundenDaten.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmKundenSuchen> regSuchen;
formen::RegistrierungVon<frmKundenAuswaehlen> regAuswaehlen;
formen::RegistrierungVon<frmKundenMaske> regMaske;

void zeigeMaske(double id) {
    publics().Modus = QStringLiteral("aendern");
    if (auto* m = formen::zeige<frmKundenMaske>()) m->setzeDatensatzId(id);
}
}  // namespace

frmKundenSuchen::frmKundenSuchen(QWidget* parent)
    : SuchFormular(QStringLiteral("Kunden suchen"), QStringLiteral("Suche nach Kunde"),
                   QStringLiteral("Name oder Benutzername:"), parent) {
    publics().RsKunden.schliessen();
}

Suchergebnis frmKundenSuchen::suche(const QString& begriff) { return sucheKundenDatensatz(begriff); }

void frmKundenSuchen::einTreffer(const Suchergebnis& e) { zeigeMaske(e.id); }

void frmKundenSuchen::mehrereTreffer(const Suchergebnis&) {
    publics().Modus = QStringLiteral("aendern");
    formen::zeige<frmKundenAuswaehlen>();
}

frmKundenAuswaehlen::frmKundenAuswaehlen(QWidget* parent)
    : ListenFormular(QStringLiteral("Kunde auswählen"), QStringLiteral("Wählen Sie bitte den Kunden aus:"), parent) {
    QList<Treffer> l;
    Recordset& rs = publics().RsKunden;
    if (rs.istOffen()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) l << Treffer{KundenDaten::listenZeile(rs), rs.zahl("id")};
        rs.moveFirst();
    }
    fuelle(l);
}

bool frmKundenAuswaehlen::gewaehlt(double id) {
    publics().RsKunden.schliessen();
    entlade();
    zeigeMaske(id);
    return true;
}

void frmKundenAuswaehlen::ohneWahl() {
    publics().RsKunden.schliessen();
    formen::zeige<frmKundenSuchen>();
}

frmKundenMaske::frmKundenMaske(QWidget* parent)
    : frmDatensatzMaske(QStringLiteral("Kunde erfassen"), QStringLiteral("Kunde anzeigen/aendern"),
                        KundenDaten::feldTexte(), parent) {
    setWindowTitle(QStringLiteral("Kunde"));
    // The user name is the customer's key: a second save changes the customer just added.
    behalteErfassten();
    // Below the boxes and outside the field array: Enter and the arrows pass it by.
    txtKundenNummer = new QLineEdit;
    txtKundenNummer->setObjectName(QStringLiteral("txtKundenNummer"));
    txtKundenNummer->setReadOnly(true);
    txtKundenNummer->setFocusPolicy(Qt::ClickFocus);
    txtKundenNummer->setMaximumWidth(twips(1200));
    auto* label = new QLabel(QStringLiteral("Kunden-Nummer:"));
    label->setBuddy(txtKundenNummer);
    const int zeile = raster()->rowCount();
    raster()->addWidget(label, zeile, 0);
    raster()->addWidget(txtKundenNummer, zeile, 1);
    cmdLoeschen = new QPushButton(QStringLiteral("&Löschen"));
    cmdLoeschen->setObjectName(QStringLiteral("cmdLoeschen"));
    cmdLoeschen->setMinimumWidth(cmdSpeichern->minimumWidth());
    cmdLoeschen->setEnabled(false);
    knoepfe()->insertWidget(knoepfe()->indexOf(cmdZurueck), cmdLoeschen);
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmKundenMaske::cmdLoeschen_Click);
}

QStringList frmKundenMaske::lade(double id, bool* gefunden) {
    return KundenDaten(publics().Verbindung).lade(id, gefunden);
}

double frmKundenMaske::speichere(double id, const QStringList& texte) {
    return KundenDaten(publics().Verbindung).speichere(id, texte);
}

QString frmKundenMaske::keinDatensatz() const { return QStringLiteral("Zu diesem Kunden gibt es keinen Datensatz."); }

void frmKundenMaske::zurueckZurSuche() {
    publics().RsKunden.schliessen();
    formen::zeige<frmKundenSuchen>();
}

void frmKundenMaske::angezeigt(double id) {
    txtKundenNummer->setText(id > 0 ? QString::number(qint64(id)) : QString());
    cmdLoeschen->setEnabled(id > 0);
}

// A deleted customer's mask closes; in change mode the search comes back.
void frmKundenMaske::cmdLoeschen_Click() {
    const double id = DatensatzId();
    if (id <= 0) return;
    if (!dialoge().frageJaNein(this, {},
                               QStringLiteral("Sind Sie sicher, dass der Kunde mit der Kunden-Nummer %1 gelöscht "
                                              "werden soll?")
                                   .arg(qint64(id))))
        return;
    if (!mitRegeln(QStringLiteral("Der Kunde wurde nicht gelöscht."),
                   [&] { KundenDaten(publics().Verbindung).loesche(id); }))
        return;
    meldeInfo(this, QStringLiteral("Der Datensatz wurde gelöscht!"), QStringLiteral("Information"));
    entlade();
}

}  // namespace talu
