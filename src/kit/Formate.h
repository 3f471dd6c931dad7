#pragma once
#include <QLocale>
#include <QString>

namespace talu {

// The system's regional settings, or German ones where the system has none
// (the C locale), so that amounts always read like "12,50 €".
QLocale regionalLocale();
QString waehrung(double betrag);                 // "12,50 €"
QString datumText(const QDate& d);               // "dd.mm.yyyy"
QString zeitText(const QTime& t);                // "hh:mm", 24 hours
// A number as the locale reads it ("12,5", "1.234"); ok = false if it is none.
double leseZahl(const QString& text, bool* ok = nullptr);

}  // namespace talu
