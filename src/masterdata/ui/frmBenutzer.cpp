#include "masterdata/ui/frmBenutzer.h"

#include <QComboBox>
#include <QLineEdit>

#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "masterdata/BenutzerDaten.h"
#include "kit/ui/FeldArray.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmBenutzerSuchen> regSuchen;
formen::RegistrierungVon<frmBenutzerAuswaehlen> regAuswaehlen;
formen::RegistrierungVon<frmBenutzerMaske> regMaske;

void zeigeMaske(double id) {
    publics().Modus = QStringLiteral("aendern");
    if (auto* m = formen::zeige<frmBenutzerMaske>()) m->setzeDatensatzId(id);
}
}  // namespace

frmBenutzerSuchen::frmBenutzerSuchen(QWidget* parent)
    : SuchFormular(QStringLiteral("Benutzer suchen"), QStringLiteral("Suche nach Benutzer"),
                   QStringLiteral("Name des Benutzers:"), parent) {
    publics().RsBenutzer.schliessen();
}

Suchergebnis frmBenutzerSuchen::suche(const QString& begriff) {
    return sucheBenutzerDatensatz(begriff);
}

void frmBenutzerSuchen::einTreffer(const Suchergebnis& e) { zeigeMaske(e.id); }

void frmBenutzerSuchen::mehrereTreffer(const Suchergebnis&) {
    publics().Modus = QStringLiteral("aendern");
    formen::zeige<frmBenutzerAuswaehlen>();
}

frmBenutzerAuswaehlen::frmBenutzerAuswaehlen(QWidget* parent)
    : ListenFormular(QStringLiteral("Benutzer auswählen"), QStringLiteral("Wählen Sie bitte den Benutzer aus:"),
                     parent) {
    QList<Treffer> l;
    Recordset& rs = publics().RsBenutzer;
    if (rs.istOffen()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) l << Treffer{BenutzerDaten::listenZeile(rs), rs.zahl("id")};
        rs.moveFirst();
    }
    fuelle(l);
}

bool frmBenutzerAuswaehlen::gewaehlt(double id) {
    publics().RsBenutzer.schliessen();
    entlade();
    zeigeMaske(id);
    return true;
}

void frmBenutzerAuswaehlen::ohneWahl() {
    publics().RsBenutzer.schliessen();
    formen::zeige<frmBenutzerSuchen>();
}

frmBenutzerMaske::frmBenutzerMaske(QWidget* parent)
    : frmDatensatzMaske(QStringLiteral("Benutzer erfassen"), QStringLiteral("Benutzer anzeigen/aendern"),
                        BenutzerDaten::feldTexte(), parent) {
    setWindowTitle(QStringLiteral("Benutzer"));
    // The write permission: a typed "j" or "n" becomes "Ja" or "Nein".
    felder()->setzeJaNeinFeld(11);
}

QStringList frmBenutzerMaske::lade(double id, bool* gefunden) {
    return BenutzerDaten(publics().Verbindung).lade(id, gefunden);
}

double frmBenutzerMaske::speichere(double id, const QStringList& texte) {
    return BenutzerDaten(publics().Verbindung).speichere(id, texte);
}

QString frmBenutzerMaske::keinDatensatz() const {
    return QStringLiteral("Zu diesem Benutzer gibt es keinen Datensatz.");
}

void frmBenutzerMaske::zurueckZurSuche() {
    publics().RsBenutzer.schliessen();
    formen::zeige<frmBenutzerSuchen>();
}

}  // namespace talu
