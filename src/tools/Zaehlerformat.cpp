#include "tools/Zaehlerformat.h"

#include <QLocale>
#include <cmath>

namespace talu::stapel {

QString zaehlerText(double wert, const QString& muster) {
    if (muster == QLatin1String("0")) return QString::number(std::llround(wert));
    const QLocale de(QLocale::German, QLocale::Germany);
    const bool negativ = wert < 0;
    const double betrag = std::fabs(wert);
    QString t;
    if (muster.contains('.')) {
        // The decimal point of the pattern; its "#" after it show up to three decimals.
        const qint64 ganz = qint64(std::floor(betrag + 0.0005));
        QString nachkomma = QString::number(betrag - double(ganz), 'f', 3).mid(2);
        if (betrag - double(ganz) < 0.0005) nachkomma.clear();
        while (nachkomma.endsWith('0')) nachkomma.chop(1);
        t = (ganz == 0 ? QString() : QString::number(ganz)) + de.decimalPoint() + nachkomma;
    } else {
        const qint64 ganz = qint64(std::llround(betrag));
        if (ganz != 0) t = muster.contains(',') ? de.toString(ganz) : QString::number(ganz);
    }
    return negativ && !t.isEmpty() ? "-" + t : t;
}

}  // namespace talu::stapel
