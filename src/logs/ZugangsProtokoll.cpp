#include "logs/ZugangsProtokoll.h"

namespace talu::zugangsprotokoll {

const QList<RasterSpalte>& spalten() {
    static const QList<RasterSpalte> s{
        {QStringLiteral("id"), QStringLiteral("ID"), 2000},
        {QStringLiteral("name"), QStringLiteral("Name"), 2000},
        {QStringLiteral("datum"), QStringLiteral("Datum"), 2000},
        {QStringLiteral("zeit"), QStringLiteral("Zeit"), 2000},
        {QStringLiteral("vorgang"), QStringLiteral("Vorgang"), 2500},
    };
    return s;
}

QString ueberschrift(Filter f) {
    switch (f) {
        case Filter::Alle: return QStringLiteral("Zugangsprotokoll - Alle Daten");
        case Filter::Login: return QStringLiteral("Zugangsprotokoll - Nur Login-Daten");
        case Filter::Logout: return QStringLiteral("Zugangsprotokoll - Nur Logout-Daten");
        case Filter::Heute: return QStringLiteral("Zugangsprotokoll - Nur Daten von heute");
    }
    return {};
}

Anweisung anweisung(Filter f, const Dialekt& d, const QDate& heute) {
    const QString vorne = QStringLiteral("select * from protokoll where ");
    const QString hinten = QStringLiteral(" order by id");
    switch (f) {
        case Filter::Alle: return {vorne + QStringLiteral("id <> ?") + hinten, {0}};
        case Filter::Login: return {vorne + d.gleichOhneFall(QStringLiteral("vorgang")) + hinten, {QStringLiteral("Login")}};
        case Filter::Logout:
            return {vorne + d.gleichOhneFall(QStringLiteral("vorgang")) + hinten, {QStringLiteral("Logout")}};
        case Filter::Heute:
            return {vorne + QStringLiteral("datum >= ? and datum < ?") + hinten, {heute, heute.addDays(1)}};
    }
    return {};
}

}  // namespace talu::zugangsprotokoll
