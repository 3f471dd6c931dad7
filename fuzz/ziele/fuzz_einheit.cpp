// Depth and area with their units: a typed number becomes the whole number
// and the unit, as a stored value shows, and nearest to what was typed; the
// save takes that number back; formatting a formatted box changes nothing.
// A place's area is read only before "km²".
#include <cmath>
#include <cstring>

#include "FuzzHilfe.h"
#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"

using namespace talu;

namespace {
void pruefeEinheit(const QString& t, const QString& einheit) {
    const QString kurz = einheit.trimmed();
    const QString b = anzeige::formatiereGanzzahl(t, einheit);
    if (b == t) return;  // no number: the box keeps what was typed
    PRUEFE(b.endsWith(einheit));
    PRUEFE(anzeige::formatiereGanzzahl(b, einheit) == b);
    const QString gespeichert = anzeige::ohneEinheit(b, kurz);
    bool ok = false;
    const double wert = leseZahl(gespeichert, &ok);
    PRUEFE(ok && wert == std::floor(wert));
    PRUEFE(gespeichert.size() <= 20);  // the column's width
    PRUEFE(anzeige::mitEinheit(QVariant(wert), einheit) == (wert == 0 ? QString() : b));
    const QVariant getippt = anzeige::zahlOderLeer(anzeige::ohneEinheit(t, kurz));
    if (!getippt.isNull()) PRUEFE(std::fabs(getippt.toDouble() - wert) <= 0.5);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QString t = fuzz::text(d, n);
    pruefeEinheit(t, QStringLiteral(" m"));
    pruefeEinheit(t, QStringLiteral(" m²"));
    // The save of a box: the text before the unit, a bare number, or nothing.
    for (const QString e : {QStringLiteral("m"), QStringLiteral("m²")}) {
        const QString o = anzeige::ohneEinheit(t, e);
        PRUEFE(o == o.trimmed());
        PRUEFE(o.isEmpty() || t.contains(o));
    }
    bool hat = false;
    const QVariant flaeche = anzeige::flaecheAusText(t, &hat);
    PRUEFE(hat == t.trimmed().endsWith(QStringLiteral("km²"), Qt::CaseInsensitive));
    PRUEFE(hat || !flaeche.isValid());
    // A stored whole number shows with its unit and is saved back as itself.
    if (n >= sizeof(qint32)) {
        qint32 ganz;
        std::memcpy(&ganz, d, sizeof ganz);
        for (const QString e : {QStringLiteral(" m"), QStringLiteral(" m²")}) {
            const QString box = anzeige::mitEinheit(QVariant(ganz), e);
            PRUEFE(box.isEmpty() == (ganz == 0));
            if (ganz != 0) PRUEFE(anzeige::ohneEinheit(box, e.trimmed()) == QString::number(ganz));
        }
    }
    return 0;
}
