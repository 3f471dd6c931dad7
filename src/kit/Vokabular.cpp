#include "kit/Vokabular.h"

#include <QDate>
#include <QDateTime>

#include "kit/Formate.h"

namespace talu {

namespace {

struct Eintrag {
    const char* code;
    const char* text;
};

// The groups in the order in which they are compared; a later match would
// replace an earlier one, but codes and lower-case texts are all distinct.
const Eintrag kNutzung[] = {
    {"wa", "Allgemeines Wohngebiet"},
    {"wr", "Reines Wohngebiet"},
    {"w", "Wohnbauflächen"},
    {"ws", "Kleinsiedlungsgebiet"},
    {"wb", "Besonderes Wohngebiet"},
    {"md", "Dorfgebiet"},
    {"mi", "Mischgebiet"},
    {"mk", "Kerngebiet"},
    {"gg", "Gewerbliche Baufläche"},
    {"ge 1", "Gewerbegebiet (prod. Gewerbe)"},
    {"ge 2", "Gewerbegebiet (Dienstleistungen)"},
    {"gi", "Industriegebiet"},
    {"gei", "Gewerbegebiet / Industriegebiet"},
    {"s", "Sonderbauflächen"},
    {"soe", "Sondergebiet (Erholung)"},
    {"sol", "Sondergebiet (Landwirtschaft)"},
    {"geb", "Gewerbegebiet"},
};
const Eintrag kBauweise[] = {
    {"o", "Offene Bauweise"},
    {"g", "Geschlossene Bauweise"},
    {"a", "Abweichende Bauweise"},
};
const Eintrag kEntwicklung[] = {
    {"b", "Baureifes Land"},
    {"r", "Rohbauland"},
    {"e", "Bauerwartungsland"},
};
const Eintrag kAnfangEnd[] = {
    {"aw", "Anfangswert"},
    {"ew", "Endwert"},
    {"ka", "Keine Angabe"},
};
const Eintrag kRichtwertArt[] = {
    {"z", "Zonenrichtwert"},
    {"h", "Herangezogener Richtwert"},
    {"l", "Listenrichtwert"},
};

template <size_t N>
void vergleiche(const QString& wert, const Eintrag (&gruppe)[N], QString& ergebnis) {
    for (const Eintrag& e : gruppe)
        if (wert == QString::fromUtf8(e.code)) ergebnis = QString::fromUtf8(e.text);
    for (const Eintrag& e : gruppe)
        if (wert == QString::fromUtf8(e.text).toLower()) ergebnis = QString::fromUtf8(e.code);
}

// A database Null or an empty QVariant.
bool istNull(const QVariant& wert) { return !wert.isValid() || wert.isNull(); }

}  // namespace

QString Uebersetze(QVariant& wert) {
    QString ergebnis;
    if (istNull(wert)) return ergebnis;
    const QString w = wert.toString().trimmed().toLower();
    wert = w;
    vergleiche(w, kNutzung, ergebnis);
    vergleiche(w, kBauweise, ergebnis);
    if (w.startsWith(QLatin1Char('j'))) ergebnis = QStringLiteral("Ja");
    if (w.startsWith(QLatin1Char('n'))) ergebnis = QStringLiteral("Nein");
    vergleiche(w, kEntwicklung, ergebnis);
    vergleiche(w, kAnfangEnd, ergebnis);
    vergleiche(w, kRichtwertArt, ergebnis);
    return ergebnis;
}

double ZahlOderNull(const QVariant& wert) {
    if (istNull(wert)) return 0;
    switch (wert.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Double:
        case QMetaType::Float:
            return wert.toDouble();
        case QMetaType::Bool:
            return wert.toBool() ? -1 : 0;  // a true flag reads as -1
        case QMetaType::QDate:
        case QMetaType::QDateTime:
        case QMetaType::QTime:
            return 0;
        default:
            break;
    }
    const QString text = wert.toString().trimmed();
    if (text.isEmpty()) return 0;
    bool ok = false;
    const double d = leseZahl(text, &ok);
    return ok ? d : 0;
}

QVariant NullAlsLeer(const QVariant& wert) {
    if (istNull(wert)) return QVariant(QStringLiteral(""));
    return wert;
}

}  // namespace talu
