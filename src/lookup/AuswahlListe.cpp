#include "lookup/AuswahlListe.h"

#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "lookup/SucheDaten.h"

namespace talu {

namespace lookup {
bool istStrassenEintrag(const QString& hausnummer) { return hausnummer.trimmed() == kStrassenHausnummer; }
}  // namespace lookup

QString ortEintrag(const QString& plz, const QString& ort) { return plz + " " + ort.left(30) + " "; }

QString grundstueckEintrag(const QString& strasse, const QString& hausnummer, const QString& ortsteil) {
    QString a = strasse.trimmed() + " ";
    if (!lookup::istStrassenEintrag(hausnummer)) a += hausnummer;
    if (ortsteil.trimmed().isEmpty()) return a;
    return a.leftJustified(30, ' ', true) + " - " + ortsteil.left(14);
}

AuswahlListe AuswahlListe::aus(Recordset& rs, const QString& suchArt) {
    AuswahlListe l;
    l.ortsModus = suchArt == QStringLiteral("suche nach ort");
    const bool grundstuecke = suchArt == QStringLiteral("suche nach grundstück");
    for (; !rs.eof(); rs.moveNext()) {
        if (l.ortsModus)
            l.eintraege << ortEintrag(rs.text("plzneu"), rs.text("ort"));
        else if (grundstuecke)
            l.eintraege << grundstueckEintrag(rs.text("strassen_name"), rs.text("hausnummer"),
                                              rs.text("ortsteil"));
        else
            continue;
        l.ListenIds << rs.feld("id").toLongLong();
    }
    const QString anzahl = QString::number(l.eintraege.size());
    if (l.ortsModus) {
        l.titel = QStringLiteral("Auswahl der gefundenen Orte");
        l.label = "Ort auswählen - " + anzahl + " Treffer";
    } else if (grundstuecke) {
        l.titel = QStringLiteral("Auswahl der gefundenen Grundstücke");
        l.label = "Grundstück auswählen - " + anzahl + " Treffer";
    }
    return l;
}

AuswahlFolge waehleAus(Publics& p, const QString& suchArt, qint64 id) {
    const SucheDaten daten(p.Verbindung);
    p.RsSuche.schliessen();
    if (suchArt == QStringLiteral("suche nach ort")) {
        p.RsSuche = daten.ortNachId(id);
        if (p.RsSuche.eof()) return AuswahlFolge::Nichts;
        p.AktPlz = p.RsSuche.text("plzneu");
        p.AktOrt = p.RsSuche.text("ort");
        p.AktOrtId = p.RsSuche.zahl("id");
        p.AktGemeindeschluessel = p.RsSuche.text("gemeindeschluessel");
        if (!p.OrtFuerNeuesGrundstueck) {
            p.Modus = QStringLiteral("aendern");
            return AuswahlFolge::Informationsgruppen;
        }
        p.OrtFuerNeuesGrundstueck = false;
        return AuswahlFolge::OrtFuerNeuesGrundstueck;
    }
    if (suchArt == QStringLiteral("suche nach grundstück")) {
        // The plot form needs the place row too: both in one round trip.
        p.OrtVorabSchluessel = p.AktGemeindeschluessel;
        p.OrtVorabId = p.AktOrtId;
        p.RsSuche = daten.grundstueckMitOrt(id, p.AktGemeindeschluessel, qint64(p.AktOrtId), &p.RsOrtVorab);
        if (p.RsSuche.eof()) return AuswahlFolge::Nichts;
        p.Modus = QStringLiteral("aendern");
        p.StrassenEintrag = lookup::istStrassenEintrag(p.RsSuche.text("hausnummer"));
        return AuswahlFolge::Grundstueck;
    }
    return AuswahlFolge::Nichts;
}

}  // namespace talu
