#include "masterdata/ui/frmGutachter.h"

#include <QComboBox>
#include <QLineEdit>

#include "kit/ui/Formen.h"
#include "kit/modPublics.h"
#include "masterdata/GutachterDaten.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmGutachterSuchen> regSuchen;
formen::RegistrierungVon<frmGutachterAuswaehlen> regAuswaehlen;
formen::RegistrierungVon<frmGutachterMaske> regMaske;

void zeigeMaske(double id) {
    publics().Modus = QStringLiteral("aendern");
    if (auto* m = formen::zeige<frmGutachterMaske>()) m->setzeDatensatzId(id);
}
}  // namespace

frmGutachterSuchen::frmGutachterSuchen(QWidget* parent)
    : SuchFormular(QStringLiteral("Gutachter suchen"), QStringLiteral("Suche nach Gutachter"),
                   QStringLiteral("Name des Gutachters:"), parent) {
    publics().RsGutachter.schliessen();
}

Suchergebnis frmGutachterSuchen::suche(const QString& begriff) {
    return sucheGutachterDatensatz(begriff);
}

void frmGutachterSuchen::einTreffer(const Suchergebnis& e) { zeigeMaske(e.id); }

void frmGutachterSuchen::mehrereTreffer(const Suchergebnis&) {
    publics().Modus = QStringLiteral("aendern");
    formen::zeige<frmGutachterAuswaehlen>();
}

frmGutachterAuswaehlen::frmGutachterAuswaehlen(QWidget* parent)
    : ListenFormular(QStringLiteral("Gutachter auswählen"), QStringLiteral("Wählen Sie bitte den Gutachter aus:"),
                     parent) {
    QList<Treffer> l;
    Recordset& rs = publics().RsGutachter;
    if (rs.istOffen()) {
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) l << Treffer{GutachterDaten::listenZeile(rs), rs.zahl("id")};
        rs.moveFirst();
    }
    fuelle(l);
}

bool frmGutachterAuswaehlen::gewaehlt(double id) {
    publics().RsGutachter.schliessen();
    entlade();
    zeigeMaske(id);
    return true;
}

void frmGutachterAuswaehlen::ohneWahl() {
    publics().RsGutachter.schliessen();
    formen::zeige<frmGutachterSuchen>();
}

frmGutachterMaske::frmGutachterMaske(QWidget* parent)
    : frmDatensatzMaske(QStringLiteral("Gutachter erfassen"), QStringLiteral("Gutachter anzeigen/aendern"),
                        GutachterDaten::feldTexte(), parent) {
    setWindowTitle(QStringLiteral("Gutachter"));
}

QStringList frmGutachterMaske::lade(double id, bool* gefunden) {
    return GutachterDaten(publics().Verbindung).lade(id, gefunden);
}

double frmGutachterMaske::speichere(double id, const QStringList& texte) {
    return GutachterDaten(publics().Verbindung).speichere(id, texte);
}

QString frmGutachterMaske::keinDatensatz() const {
    return QStringLiteral("Zu diesem Gutachter gibt es keinen Datensatz.");
}

void frmGutachterMaske::zurueckZurSuche() {
    publics().RsGutachter.schliessen();
    formen::zeige<frmGutachterSuchen>();
}

}  // namespace talu
