#include "tools/ui/frmPflegeFormen.h"

#include <QPushButton>

#include "kit/ui/Formen.h"
#include "tools/Ausfuellen.h"
#include "tools/Importe.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmMosaicDatenImportieren> regMosaic;
formen::RegistrierungVon<frmAurichImportieren> regAurich;
formen::RegistrierungVon<frmNiedersachsenImportieren> regNiedersachsen;
formen::RegistrierungVon<frmZonenDatenImportieren> regZonen;
formen::RegistrierungVon<frmGutachterAusfuellen> regGutachter;
formen::RegistrierungVon<frmAusfuellen> regAusfuellen;
formen::RegistrierungVon<frmGemeindeSchluesselAusfuellen> regSchluessel;

ZaehlerFormular::Aufbau aufbau(const pflege::Zaehlerform& f, const QStringList& feldnamen = {}) {
    return {f.titel, f.zaehler, f.muster, feldnamen};
}

// The fill tools' boxes are Text1, Text2, …
QStringList textFelder(int anzahl) {
    QStringList l;
    for (int i = 1; i <= anzahl; ++i) l << QStringLiteral("Text%1").arg(i);
    return l;
}
}  // namespace

frmMosaicDatenImportieren::frmMosaicDatenImportieren(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::MosaicImport::form()), parent) {
    setObjectName(QStringLiteral("frmMosaicDatenImportieren"));
    startetBefehl(cmdStart, QStringLiteral("mosaic-import"));
}

frmAurichImportieren::frmAurichImportieren(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::AurichImport::form()), parent) {
    setObjectName(QStringLiteral("frmAurichImportieren"));
    startetBefehl(cmdStart, QStringLiteral("aurich-import"));
}

frmNiedersachsenImportieren::frmNiedersachsenImportieren(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::NiedersachsenImport::form()), parent) {
    setObjectName(QStringLiteral("frmNiedersachsenImportieren"));
    cmdLoeschen = weitererKnopf(QStringLiteral("cmdLoeschen"), QString::fromUtf8("Löschen"));
    startetBefehl(cmdStart, QStringLiteral("niedersachsen-import"));
    startetBefehl(cmdLoeschen, QStringLiteral("grundstuecke-loeschen"));
}

frmZonenDatenImportieren::frmZonenDatenImportieren(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::ZonenImport::form()), parent) {
    setObjectName(QStringLiteral("frmZonenDatenImportieren"));
    startetBefehl(cmdStart, QStringLiteral("zonen-import"));
}

frmGutachterAusfuellen::frmGutachterAusfuellen(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::gutachterForm(), textFelder(6)), parent) {
    setObjectName(QStringLiteral("frmGutachterAusfuellen"));
    cmdStart2 = weitererKnopf(QStringLiteral("cmdStart2"), QStringLiteral("Start - 2"));
    cmdStart3 = weitererKnopf(QStringLiteral("cmdStart3"), QStringLiteral("Start - 3"));
    cmdStart4 = weitererKnopf(QStringLiteral("cmdStart4"), QStringLiteral("Start - 4"));
    cmdGebaeude = weitererKnopf(QStringLiteral("cmdGebaeude"), QString::fromUtf8("Gebäude"));
    startetBefehl(cmdStart, QStringLiteral("gutachter-kreis"));
    startetBefehl(cmdStart2, QStringLiteral("gutachter-bereich"));
    // "Start - 3" has no command.
    startetBefehl(cmdStart4, QStringLiteral("gutachter-luecken"));
    startetBefehl(cmdGebaeude, QStringLiteral("gutachter-gebaeude"));
}

frmAusfuellen::frmAusfuellen(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::ausfuellenForm(), textFelder(1)), parent) {
    setObjectName(QStringLiteral("frmAusfuellen"));
    startetBefehl(cmdStart, QStringLiteral("strassennamen"));
}

frmGemeindeSchluesselAusfuellen::frmGemeindeSchluesselAusfuellen(QWidget* parent)
    : ZaehlerFormular(aufbau(pflege::schluesselForm()), parent) {
    setObjectName(QStringLiteral("frmGemeindeSchluesselAusfuellen"));
    startetBefehl(cmdStart, QStringLiteral("gemeindeschluessel"));
}

}  // namespace talu
