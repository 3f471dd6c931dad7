#include "lookup/SuchVorgang.h"

#include <QHash>

#include "kit/modPublics.h"
#include "lookup/Merkdatei.h"
#include "lookup/SucheDaten.h"

namespace talu {

namespace {
const QString kOrt = QStringLiteral("suche nach ort");
const QString kGrundstueck = QStringLiteral("suche nach grundstück");

QHash<QString, SuchVorgang::Handler>& handler() {
    static QHash<QString, SuchVorgang::Handler> h;
    return h;
}

// Characters, not UTF-16 units: a character outside the BMP (an emoji) takes
// two units but is one character; a lone surrogate counts as one.
qsizetype zeichenAnzahl(const QString& text) { return text.toUcs4().size(); }
}  // namespace

SuchModus suchModus(const QString& suchArt) {
    if (suchArt == kOrt)
        return {QStringLiteral("Geben Sie bitte den Ortsnamen oder die PLZ ein:"),
                QStringLiteral("Sie können anstatt des vollständigen Ortsnamens auch einen Teil davon "
                               "eingeben. So findet bspw. die Eingabe 'frank' u. a. die Stadt "
                               "'Frankfurt am Main'."),
                QStringLiteral("letzterort.txt")};
    if (suchArt == kGrundstueck)
        return {QStringLiteral("Geben Sie bitte den Strassennamen ein:"),
                QStringLiteral("Sie können anstatt des vollständigen Strassennamens auch einen Teil "
                               "davon eingeben. So findet bspw. die Eingabe 'mainz' die Strasse "
                               "'Mainzer Landstrasse.'"),
                QStringLiteral("letztesgrundstück.txt")};
    return {QStringLiteral("Geben Sie bitte den Suchbegriff ein:"), QString(), QString()};
}

QString SuchVorgang::gemerkterBegriff(const QString& suchArt) {
    const SuchModus m = suchModus(suchArt);
    if (m.merkdatei.isEmpty()) return {};
    return lookup::leseMerkbegriff(programmDatei(m.merkdatei));
}

void SuchVorgang::registriere(const QString& suchArt, Handler h) { handler().insert(suchArt, std::move(h)); }

SuchVorgang::Ergebnis SuchVorgang::starte(Publics& p, const QString& eingabe) {
    const QString begriff = eingabe.trimmed().toLower();
    if (begriff.isEmpty()) return Ergebnis::KeinBegriff;
    if (zeichenAnzahl(begriff) < 3) return Ergebnis::ZuKurz;

    const SucheDaten daten(p.Verbindung);
    if (p.SuchArt == kOrt) {
        // The remembered term is a convenience; a write failure does not stop the search.
        lookup::schreibeMerkbegriff(programmDatei(suchModus(kOrt).merkdatei), begriff);
        p.RsSuche.schliessen();
        p.RsSuche = daten.sucheOrt(begriff);
        if (p.RsSuche.leer()) return Ergebnis::KeinOrt;
        if (p.RsSuche.anzahl() > 1) return Ergebnis::MehrereOrte;
        p.AktPlz = p.RsSuche.text("plzneu");
        p.AktOrt = p.RsSuche.text("ort");
        p.AktOrtId = p.RsSuche.zahl("id");
        p.AktGemeindeschluessel = p.RsSuche.text("gemeindeschluessel");
        if (p.OrtFuerNeuesGrundstueck) {
            p.OrtFuerNeuesGrundstueck = false;
            return Ergebnis::EinOrtFuerNeuesGrundstueck;
        }
        p.Modus = QStringLiteral("aendern");
        p.OrtAbgerechnet = false;
        return Ergebnis::EinOrt;
    }
    if (p.SuchArt == kGrundstueck) {
        lookup::schreibeMerkbegriff(programmDatei(suchModus(kGrundstueck).merkdatei), begriff);
        p.StrassenEintrag = false;
        p.RsSuche.schliessen();
        p.RsSuche = daten.sucheStrasse(p.AktGemeindeschluessel, eingabe.trimmed());
        return p.RsSuche.leer() ? Ergebnis::KeineStrasse : Ergebnis::Grundstuecke;
    }
    const auto h = handler().constFind(p.SuchArt);
    if (h != handler().constEnd() && *h) (*h)(eingabe.trimmed());
    return Ergebnis::Nichts;
}

QString SuchVorgang::meldung(Ergebnis e) {
    switch (e) {
        case Ergebnis::KeinBegriff: return QStringLiteral("Sie haben keinen Suchbegriff eingegeben!");
        case Ergebnis::ZuKurz: return QStringLiteral("Der Suchbegriff muss mindestens drei Zeichen lang sein!");
        case Ergebnis::KeinOrt: return QStringLiteral("Es wurde kein passender Ort gefunden!");
        case Ergebnis::KeineStrasse: return QStringLiteral("Mit dieser Bezeichnung ist keine Strasse vorhanden!");
        default: return {};
    }
}

}  // namespace talu
