#include "kit/Formate.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace talu {

QLocale regionalLocale() {
    const QLocale sys = QLocale::system();
    if (sys.language() == QLocale::C || sys.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::German, QLocale::Germany);
    return sys;
}

QString waehrung(double betrag) {
    // Less than half a cent below zero shows as "0,00 €", not as "-0,00 €".
    if (std::fabs(betrag) < 0.005) betrag = 0;
    return regionalLocale().toCurrencyString(betrag);
}

QString datumText(const QDate& d) { return d.isValid() ? d.toString("dd.MM.yyyy") : QString(); }

QString zeitText(const QTime& t) { return t.isValid() ? t.toString("HH:mm") : QString(); }

double leseZahl(const QString& text, bool* ok) {
    const QString t = text.trimmed();
    bool gut = false;
    double d = regionalLocale().toDouble(t, &gut);
    if (!gut) d = QLocale::c().toDouble(t, &gut);
    if (ok) *ok = gut;
    return gut ? d : 0;
}

}  // namespace talu
