#include "billing/RechnungSuche.h"

#include <cmath>

#include "kit/Formate.h"
#include "billing/Bediener.h"
#include "db/Datenbank.h"

namespace talu::abrechnung {

std::optional<double> sucheRechnung(const Datenbank& db, Bediener& bediener) {
    const QString antwort = bediener.eingabe(QStringLiteral("Geben Sie bitte die Rechnungs-Nummer ein!")).trimmed();
    if (antwort.isEmpty()) return std::nullopt;
    bool ok = false;
    const double nummer = leseZahl(antwort, &ok);
    if (!ok) {
        bediener.info(QStringLiteral("Ihre Eingabe ist nicht numerisch!"));
        return std::nullopt;
    }
    // Invoice numbers are whole: a fraction names none (and is never rounded to one).
    if (nummer != std::trunc(nummer)) {
        bediener.info(QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
        return std::nullopt;
    }
    try {
        if (db.abfrage("select rechnungsnummer from rechnungen where rechnungsnummer = ?", {nummer}).leer()) {
            bediener.info(QStringLiteral("Mit dieser Rechnungs-Nummer wurde keine Rechnung gefunden!"));
            return std::nullopt;
        }
    } catch (const DbFehler& f) {
        bediener.fehler(QStringLiteral("Die Rechnung konnte nicht gesucht werden."), f.serverText());
        return std::nullopt;
    }
    return nummer;
}

bool RechnungsAnzeige::lade(const Datenbank& db, double nummer) {
    *this = RechnungsAnzeige();
    const Recordset rs = db.abfrage(
        "select id, rechnungsnummer, rechnungsdatum, kundenname, nettobetrag, steuer, bruttobetrag, offen, "
        "zahlungsziel from rechnungen where rechnungsnummer = ?",
        {nummer});
    if (rs.leer()) return false;
    m_id = rs.feld("id").toLongLong();
    m_nummer = rs.feld("rechnungsnummer").toLongLong();
    m_datum = rs.datum("rechnungsdatum");
    m_kunde = rs.text("kundenname");
    m_netto = rs.zahl("nettobetrag");
    m_steuer = rs.zahl("steuer");
    m_brutto = rs.zahl("bruttobetrag");
    m_offen = rs.text("offen");
    m_ziel = rs.datum("zahlungsziel");
    return true;
}

QStringList RechnungsAnzeige::beschriftungen() {
    return {QStringLiteral("Rechnungs-Nummer:"), QStringLiteral("Kunden-Name:"),   QStringLiteral("Rechungs-Datum:"),
            QStringLiteral("Netto-Betrag:"),     QStringLiteral("Steuer-Betrag:"), QStringLiteral("Brutto-Betrag:"),
            QStringLiteral("Offen:"),            QStringLiteral("Zahlungsziel:")};
}

QStringList RechnungsAnzeige::texte() const {
    if (!geladen()) return QStringList(8, QString());
    return {QString::number(m_nummer), m_kunde,           datumText(m_datum),
            waehrung(m_netto),         waehrung(m_steuer), waehrung(m_brutto),
            m_offen,                   datumText(m_ziel)};
}

QString RechnungsAnzeige::knopfText() const {
    if (m_offen == QLatin1String("nein")) return QStringLiteral("Öffnen");
    return m_umgeschaltet ? QStringLiteral("Schliessen") : QStringLiteral("&Schliessen");
}

QString RechnungsAnzeige::schalteUm(const Datenbank& db) {
    if (!geladen()) throw DbFehler(QStringLiteral("Keine Rechnung"), QStringLiteral("Es ist keine Rechnung geladen."));
    const QString neu = m_offen == QLatin1String("ja") ? QStringLiteral("nein") : QStringLiteral("ja");
    // A row deleted meanwhile must not look stored.
    if (db.aendern(QStringLiteral("rechnungen"), m_id, {{QStringLiteral("offen"), neu}}) == 0)
        throw DbFehler(QStringLiteral("Die Rechnung ist nicht mehr in der Datenbank"),
                       QStringLiteral("Rechnungs-Nummer %1").arg(m_nummer));
    m_offen = neu;
    m_umgeschaltet = true;
    return neu;
}

}  // namespace talu::abrechnung
