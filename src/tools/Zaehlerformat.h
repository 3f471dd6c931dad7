#pragma once
#include <QString>

namespace talu::stapel {

// A counter as a progress form shows it, by its format pattern in the
// regional settings (German: "." groups thousands, "," is the decimal point):
// "###,###" a whole number with thousands grouping, "###.###" the number with
// a decimal point and up to three decimals. "#" shows no insignificant zero,
// so 0 is shown as nothing ("###.###": only the decimal point). "0" is the
// plain decimal text, 0 included.
QString zaehlerText(double wert, const QString& muster);

}  // namespace talu::stapel
