// The billing entries of the "&Rechnungswesen" menu that start work rather
// than open a form: the invoice run, the print-outs and the invoice search.
#include <QWidget>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "tools/stapel/ui/FortschrittsDialog.h"
#include "kit/ui/MenueAktionen.h"
#include "kit/modPublics.h"
#include "billing/Ausdrucke.h"
#include "billing/Bediener.h"
#include "billing/ui/DruckerAusgabe.h"
#include "billing/PdfAusgabe.h"
#include "billing/Rechnungslauf.h"
#include "billing/ui/frmRechnungen.h"
#include "billing/RechnungslaufAuftrag.h"

namespace talu {

namespace {

void rechnungenDrucken(QWidget* haupt) {
    formen::schliesseAlleKinder();
    const QString ordner = druck::standardAblage();
    // Paper when the system has a default printer, else PDF files; invoices
    // on paper are also kept as PDF in the same folder.
    druck::DruckerZiel ziel(ordner);
    druck::PdfAblage archiv(ordner);
    abrechnung::RechnungslaufAuftrag lauf(ziel, ziel.druckt() ? &archiv : nullptr);
    FortschrittsDialog fortschritt(haupt, lauf.titel(), true);
    abrechnung::DialogBediener bediener(haupt, &fortschritt);
    // The run reports its own stops and failures to the operator.
    stapel::fuehreAus(lauf, publics().Verbindung, bediener);
}

void offeneRechnungenDrucken(QWidget* haupt) {
    formen::schliesseAlleKinder();
    druck::DruckerZiel ziel(druck::standardAblage());
    abrechnung::DialogBediener bediener(haupt);
    Sanduhr s;
    abrechnung::druckeRechnungsliste(publics().Verbindung, ziel, bediener);
}

void gutachterKontrollAusdruck(QWidget* haupt) {
    formen::schliesseAlleKinder();
    druck::DruckerZiel ziel(druck::standardAblage());
    abrechnung::DialogBediener bediener(haupt);
    Sanduhr s;
    abrechnung::gutachterKontrollAusdruck(publics().Verbindung, ziel, bediener);
}

void rechnungenSuchen(QWidget* haupt) {
    formen::schliesseAlleKinder();
    RechnungenSuchen(haupt);
}

menue::Registrierung regDrucken(QStringLiteral("mnuRechnungenDrucken"), rechnungenDrucken);
menue::Registrierung regOffene(QStringLiteral("mnuOffeneRechnungenDrucken"), offeneRechnungenDrucken);
menue::Registrierung regGutachter(QStringLiteral("mnuGutachterKontrollAusdruck"), gutachterKontrollAusdruck);
menue::Registrierung regSuchen(QStringLiteral("mnuRechnungenSuchen"), rechnungenSuchen);

}  // namespace

}  // namespace talu
