#pragma once
#include <QString>
#include <QVariant>

namespace talu {

// Translates a plot attribute code into its display text and a display text
// back into its code ("wa" <-> "Allgemeines Wohngebiet"). A non-Null value is
// replaced in the caller's variable by its trimmed lower-case form, as the
// forms rely on. Yes/no values ("j...", "n...") translate towards "Ja"/"Nein"
// only. Null or an unknown value gives "".
QString Uebersetze(QVariant& wert);

// The value as a number when it is one (locale-aware for text, "12,5" in
// German); Null, empty or non-numeric values give 0.
double ZahlOderNull(const QVariant& wert);

// Null becomes the empty text; anything else is returned unchanged.
QVariant NullAlsLeer(const QVariant& wert);

}  // namespace talu
