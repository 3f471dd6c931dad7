// Dates typed into a box: a text read as a date gives a valid date that
// shows as "dd.mm.yyyy" and reads back as itself; two-digit years fall in
// 1930-2029; a stored date column reads the same as its ISO text.
#include <QDate>
#include <cstring>

#include "FuzzHilfe.h"
#include "db/Recordset.h"
#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"

using namespace talu;

namespace {
void pruefeRundreise(const QDate& datum) {
    if (!datum.isValid() || datum.year() < 1 || datum.year() > 9999) return;
    const QString text = datumText(datum);
    PRUEFE(text.size() == 10);
    PRUEFE(anzeige::datumOderNull(text).toDate() == datum);
    PRUEFE(anzeige::datumsText(QVariant(datum)) == text);
    PRUEFE(alsDatum(QVariant(datum.toString(Qt::ISODate))) == datum);
    PRUEFE(alsDatum(QVariant(text)) == datum);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QString t = fuzz::text(d, n);
    const QVariant v = anzeige::datumOderNull(t);
    PRUEFE(v.metaType().id() == QMetaType::QDate);
    if (!v.isNull()) {
        const QDate datum = v.toDate();
        PRUEFE(datum.isValid());
        const QString s = t.trimmed();
        // Two digits of year after the last dot.
        if (s.size() >= 3 && s[s.size() - 3] == QLatin1Char('.'))
            PRUEFE(datum.year() >= 1930 && datum.year() <= 2029);
        pruefeRundreise(datum);
    }
    const QDate gelesen = alsDatum(QVariant(t));
    PRUEFE(gelesen.isNull() || gelesen.isValid());
    if (n >= sizeof(qint32)) {
        qint32 tag;
        std::memcpy(&tag, d, sizeof tag);
        pruefeRundreise(QDate::fromJulianDay(tag));
    }
    return 0;
}
