// Amounts in the regional format: a typed amount that the box formats as
// currency reads back as the same amount (to the cent), is an amount itself
// and stays as it is when formatted again; a number in the regional format
// reads back exactly; any double shown as currency reads back to the cent.
#include <QLocale>
#include <cmath>
#include <cstring>

#include "FuzzHilfe.h"
#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"

using namespace talu;

namespace {
bool aufDenCent(double gelesen, double wert) {
    return std::fabs(gelesen - wert) <= 0.005 + std::fabs(wert) * 1e-15;
}

void pruefeWaehrung(double wert) {
    if (!std::isfinite(wert) || std::fabs(wert) >= 1e15) return;
    const QString w = waehrung(wert);
    PRUEFE(anzeige::istBetrag(w));
    PRUEFE(aufDenCent(anzeige::betrag(w), wert));
    PRUEFE(anzeige::formatiereBetrag(w) == w);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QString t = fuzz::text(d, n);
    const double wert = anzeige::betrag(t);
    bool ok = false;
    const double zahl = leseZahl(t, &ok);
    if (ok) {
        PRUEFE(zahl == wert || std::isnan(zahl));
        if (std::isfinite(zahl)) {
            const QLocale l = regionalLocale();
            bool ok2 = false;
            PRUEFE(leseZahl(l.toString(zahl, 'f', QLocale::FloatingPointShortest), &ok2) == zahl && ok2);
            QLocale ohne = l;
            ohne.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
            PRUEFE(leseZahl(ohne.toString(zahl, 'f', QLocale::FloatingPointShortest), &ok2) == zahl && ok2);
        }
    }
    if (!t.trimmed().isEmpty() && anzeige::istBetrag(t)) {
        const QVariant v = anzeige::zahlOderLeer(t);
        PRUEFE(!v.isNull() && (v.toDouble() == wert || std::isnan(wert)));
    }
    const QString f = anzeige::formatiereBetrag(t);
    if (f != t) {
        PRUEFE(f == waehrung(wert));
        pruefeWaehrung(wert);
    }
    if (n >= sizeof(double)) {
        double roh;
        std::memcpy(&roh, d, sizeof roh);
        pruefeWaehrung(roh);
    }
    return 0;
}
