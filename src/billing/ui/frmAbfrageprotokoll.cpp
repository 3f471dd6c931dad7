#include "billing/ui/frmAbfrageprotokoll.h"

#include <QPushButton>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "billing/Bediener.h"
#include "billing/ProtokollAnsicht.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmAbfrageprotokoll> reg;

const QString kLesefehler = QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden.");

}  // namespace

frmAbfrageprotokoll::frmAbfrageprotokoll(QWidget* parent)
    : RasterFormular(QStringLiteral("Abfrageprotokoll"), parent),
      m_modell(new abrechnung::ProtokollModell(publics().Verbindung, this)) {
    setObjectName(QStringLiteral("frmAbfrageprotokoll"));
    // The four shown columns side by side, the objects wide.
    resize(twips(13200), twips(6600));
    Command1 = filterKnopf(QStringLiteral("Command1"), QStringLiteral("Benutzer"), kLesefehler, [this] {
        abrechnung::DialogBediener b(this);
        m_modell->frageNachName(b);
    });
    cmdNurHeute = filterKnopf(QStringLiteral("cmdNurHeute"), QStringLiteral("Heute"), kLesefehler,
                              [this] { m_modell->zeigeHeute(); });
    cmdAlle = filterKnopf(QStringLiteral("cmdAlle"), QStringLiteral("Alle"), kLesefehler,
                          [this] { m_modell->zeigeAlle(); });
    connect(m_modell, &abrechnung::ProtokollModell::leseFehler, this,
            [this](const QString& kurz, const QString& serverText) {
                zeige(this, datenbankMeldung(kLesefehler + "\n" + kurz, serverText));
            });
    setzeSpalten(abrechnung::protokollSpalten());
    setzeModell(m_modell);
    filtere(kLesefehler, [this] { m_modell->zeigeAlle(); });
}

}  // namespace talu
