#include "lookup/AbfrageProtokoll.h"

#include "kit/Formate.h"
#include "kit/modPublics.h"
#include "db/Datenbank.h"

namespace talu {

QString vorgangText(AbfrageArt art) {
    switch (art) {
        case AbfrageArt::Grundstuecksdaten: return QStringLiteral("Grundstücksdaten");
        case AbfrageArt::Ortsdaten: return QStringLiteral("Ortsdaten");
        case AbfrageArt::Marktuebersichten: return QStringLiteral("Marktübersichten");
    }
    return {};
}

qint64 SchreibeAbfrageProtokoll(const Datenbank& db, const Publics& p, AbfrageArt art, const QString& objekt,
                                double preis, double preisGutachter, const QDateTime& zeitpunkt) {
    if (p.Ausgabe != 3) return 0;
    // The date is stored as a date so that the log sorts chronologically;
    // the viewer shows it as "dd.mm.yyyy".
    Werte w{{"datum", zeitpunkt.date()},
            {"uhrzeit", zeitText(zeitpunkt.time())},
            {"vorgang", vorgangText(art)},
            {"pc_benutzer", p.PcBenutzer},
            {"db_benutzer", p.DbBenutzer},
            {"objekt", objekt},
            {"gemeindeschluessel", p.AktGemeindeschluessel},
            {"computername", p.PcName.left(50)},
            {"offen", QStringLiteral("ja")},
            {"preis", preis}};
    switch (art) {
        case AbfrageArt::Grundstuecksdaten:
            w << qMakePair(QStringLiteral("preis_gutachter"), QVariant(preisGutachter));
            w << qMakePair(QStringLiteral("offen_gutachter"), QVariant(QStringLiteral("ja")));
            break;
        case AbfrageArt::Ortsdaten:
            w << qMakePair(QStringLiteral("version"), QVariant(versionsText()));
            break;
        case AbfrageArt::Marktuebersichten:
            w << qMakePair(QStringLiteral("offen_gutachter"), QVariant(QStringLiteral("ja")));
            break;
    }
    return db.einfuegen("abfrageprotokoll", w);
}

Meldung nichtProtokolliert(AbfrageArt art, const QString& fehler) {
    QString was;
    switch (art) {
        case AbfrageArt::Grundstuecksdaten: was = QStringLiteral("Die Grundstücksdaten werden"); break;
        case AbfrageArt::Ortsdaten: was = QStringLiteral("Die Ortsdaten werden"); break;
        case AbfrageArt::Marktuebersichten: was = QStringLiteral("Die Marktübersicht wird"); break;
    }
    return {Meldung::Kritisch, QString(),
            "Die Abfrage konnte nicht im Abfrageprotokoll vermerkt werden. " + was +
                " deshalb nicht angezeigt.\n\n" + fehler};
}

Meldung nichtProtokolliert(AbfrageArt art, const DbFehler& e) {
    Meldung m = nichtProtokolliert(art, e.kurz() + "\n" + e.serverText());
    m.details = e.sql();
    return m;
}

}  // namespace talu
