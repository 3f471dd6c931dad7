// The size-capped reader under the small files: it returns the file's bytes
// exactly when they fit under the cap, and nothing at all otherwise.
#include "FuzzHilfe.h"
#include "kit/KleineDatei.h"

using namespace talu;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    if (n < 1) return 0;
    const qint64 hoechstens = qint64(d[0]) * 4;  // the first byte picks the cap
    const QByteArray inhalt = fuzz::bytes(d + 1, n - 1);
    const QString pfad = fuzz::datei(QStringLiteral("klein.bin"), inhalt);
    QByteArray gelesen("\x01unberuehrt");
    QString grund;
    const KleineDateiLesen r = leseKleineDatei(pfad, hoechstens, gelesen, &grund);
    if (inhalt.size() <= hoechstens) {
        PRUEFE(r == KleineDateiLesen::Gelesen);
        PRUEFE(gelesen == inhalt);
    } else {
        PRUEFE(r == KleineDateiLesen::Fehler);
        PRUEFE(gelesen == QByteArray("\x01unberuehrt"));
        PRUEFE(!grund.isEmpty());
    }
    return 0;
}
