#include "masterdata/ui/frmKreis.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/KreisDaten.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmKreisSuchen> regSuchen;
formen::RegistrierungVon<frmKreisAuswaehlen> regAuswaehlen;
formen::RegistrierungVon<frmKreisMaske> regMaske;
}  // namespace

// ---------------------------------------------------------------- search

frmKreisSuchen::frmKreisSuchen(QWidget* parent)
    : SuchFormular(QStringLiteral("Kreis suchen"), QStringLiteral("Suche nach Landkreis"),
                   QStringLiteral("Name des Kreises:"), parent) {
    publics().RsKreise.schliessen();
}

Suchergebnis frmKreisSuchen::suche(const QString& begriff) {
    return sucheKreis(begriff, formen::istGeladen("frmStadtMaske"));
}

void frmKreisSuchen::einTreffer(const Suchergebnis& e) {
    publics().Modus = QStringLiteral("aendern");
    if (auto* m = formen::zeige<frmKreisMaske>()) m->setzeDatensatzId(e.id);
}

void frmKreisSuchen::mehrereTreffer(const Suchergebnis&) {
    Publics& p = publics();
    // The place form's pick keeps the place form's own mode.
    if (!p.AuswahlFuerStadtMaske) p.Modus = QStringLiteral("aendern");
    formen::zeige<frmKreisAuswaehlen>();
}

void frmKreisSuchen::ohneTreffer() {
    Publics& p = publics();
    if (p.AuswahlFuerStadtMaske && formen::istGeladen("frmStadtMaske")) {
        p.AuswahlFuerStadtMaske = false;
        formen::zurueck("frmStadtMaske");
    }
}

// ---------------------------------------------------------------- list

frmKreisAuswaehlen::frmKreisAuswaehlen(QWidget* parent)
    : ListenFormular(QStringLiteral("Kreis auswählen"), QStringLiteral("Wählen Sie bitte den Kreis aus"), parent) {
    QList<Treffer> l;
    Recordset& rs = publics().RsKreise;
    if (rs.istOffen()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) l << Treffer{rs.text("kreis"), rs.zahl("id")};
        rs.moveFirst();
    }
    fuelle(l);
}

bool frmKreisAuswaehlen::gewaehlt(double id) {
    Publics& p = publics();
    bool da = false;
    const bool ok = mitDatenbank(QStringLiteral("Der Kreis konnte nicht gelesen werden."), [&] {
        p.RsKreise.schliessen();
        p.RsKreise = KreisDaten(p.Verbindung).kreiseZeile(id);
        da = !p.RsKreise.eof();
        if (!da) return;
        p.GewaehlterKreis = p.RsKreise.text("kreis");
        p.GewaehlteKreisId = p.RsKreise.zahl("id");
    });
    if (!ok) return false;
    if (!da) {
        meldeInfo(this, QStringLiteral("Der Kreis ist nicht mehr in der Datenbank."), QStringLiteral("Information"));
        return false;
    }
    if (!p.AuswahlFuerStadtMaske || !formen::istGeladen("frmStadtMaske")) {
        p.Modus = QStringLiteral("aendern");
        entlade();
        if (auto* m = formen::zeige<frmKreisMaske>()) m->setzeDatensatzId(id);
        return true;
    }
    p.RsKreise.schliessen();
    p.AuswahlFuerStadtMaske = false;
    entlade();
    formen::zurueck("frmStadtMaske", "uebernimmKreis");
    return true;
}

void frmKreisAuswaehlen::ohneWahl() {
    publics().RsKreise.schliessen();
    formen::zeige<frmKreisSuchen>();
}

// ---------------------------------------------------------------- mask

frmKreisMaske::frmKreisMaske(QWidget* parent)
    : MaskenFormular(publics().Modus == QStringLiteral("aendern") ? QStringLiteral("Kreis anzeigen/aendern")
                                                                  : QStringLiteral("Kreis erfassen"),
                     {QStringLiteral("Name des Kreis:")}, parent) {
    m_aendern = publics().Modus == QStringLiteral("aendern");
    text0 = text[0];
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmKreisMaske::cmdSpeichern_Click);
}

void frmKreisMaske::setzeDatensatzId(double id) {
    m_id = id;
    bool gefunden = true;
    QString n;
    if (!mitDatenbank(QStringLiteral("Der Kreis konnte nicht gelesen werden."),
                      [&] { n = KreisDaten(publics().Verbindung).name(m_id, &gefunden); }))
        return;
    text0->setText(n);
    if (!gefunden)
        meldeInfo(this, QStringLiteral("Zu diesem Kreis gibt es keinen Datensatz."), QStringLiteral("Information"));
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
    if (!mitDatenbank(QStringLiteral("Der Datensatz wurde nicht gespeichert."),
                      [&] { m_id = KreisDaten(publics().Verbindung).speichere(m_id, text0->text()); }))
        return;
    meldeInfo(this, QStringLiteral("Der Datensatz wurde gespeichert!"), QStringLiteral("Information"));
    text0->setFocus();
}

void frmKreisMaske::beimEntladen() {
    if (schliesstAlle() || !m_aendern) return;
    publics().RsKreise.schliessen();
    formen::zeige<frmKreisSuchen>();
}

}  // namespace talu
