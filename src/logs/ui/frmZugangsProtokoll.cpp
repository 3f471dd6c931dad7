#include "logs/ui/frmZugangsProtokoll.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "logs/ZugangsProtokollModell.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmZugangsProtokoll> reg;
}  // namespace

frmZugangsProtokoll::frmZugangsProtokoll(QWidget* parent)
    : RasterFormular(QStringLiteral("Zugangsprotokoll"), parent) {
    setzePlatz(Platz::ObenLinks);
    Label2 = new QLabel;
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont f = Label2->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    f.setBold(true);
    Label2->setFont(f);
    setzeKopf(Label2);

    m_modell = new ZugangsProtokollModell(publics().Verbindung, this);
    DataGrid1 = raster();
    DataGrid1->setMinimumSize(twips(11500), twips(4500));
    setzeSpalten(zugangsprotokoll::spalten());
    setzeModell(m_modell);

    cmdAlle = filter("cmdAlle", QStringLiteral("Alle"), zugangsprotokoll::Filter::Alle);
    cmdLogin = filter("cmdLogin", QStringLiteral("Login"), zugangsprotokoll::Filter::Login);
    cmdLogout = filter("cmdLogout", QStringLiteral("Logout"), zugangsprotokoll::Filter::Logout);
    cmdNurHeute = filter("cmdNurHeute", QStringLiteral("Heute"), zugangsprotokoll::Filter::Heute);

    Label2->setText(zugangsprotokoll::ueberschrift(zugangsprotokoll::Filter::Alle));
    cmdAlle->click();
}

QPushButton* frmZugangsProtokoll::filter(const char* name, const QString& text, zugangsprotokoll::Filter f) {
    QPushButton* b = filterKnopf(QString::fromLatin1(name), text,
                                 QStringLiteral("Das Zugangsprotokoll konnte nicht gelesen werden."), [this, f] {
                                     m_modell->zeige(f);
                                     Label2->setText(zugangsprotokoll::ueberschrift(f));
                                 });
    b->setMinimumWidth(twips(1200));
    return b;
}

}  // namespace talu
