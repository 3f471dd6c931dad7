// The leading number of a house number: its plain text reads back as the
// same number and is its own plain text; a letter after the text changes
// nothing; the neighbouring house number is one step away.
#include <QRegularExpression>
#include <cmath>

#include "FuzzHilfe.h"
#include "plot/GrundstueckDaten.h"

using namespace talu;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QString t = fuzz::text(d, n);
    const double zahl = fuehrendeZahl(t);
    const QString text = fuehrendeZahlText(t);
    static const QRegularExpression kForm(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$"));
    PRUEFE(kForm.match(text).hasMatch());
    PRUEFE(text != QLatin1String("-0"));
    PRUEFE(fuehrendeZahlText(text) == text);
    PRUEFE(fuehrendeZahl(text) == zahl);
    PRUEFE(fuehrendeZahl(t + QStringLiteral("a7")) == zahl);
    PRUEFE(fuehrendeZahlText(t + QStringLiteral("b")) == text);
    if (!text.contains(QLatin1Char('.')) && text.size() < 16) {
        PRUEFE(zahl == text.toDouble());
        PRUEFE(nachbarHausnummer(t, 1).toDouble() == zahl + 1);
        PRUEFE(nachbarHausnummer(t, -1).toDouble() == zahl - 1);
    }
    return 0;
}
