// The remembered search terms ("letzterort.txt", "letztesgrundstück.txt"):
// the term read is a trimmed piece of the file's first line that fits the
// search field and holds no control character; a term written is read back.
#include "FuzzHilfe.h"
#include "lookup/Merkdatei.h"

using namespace talu;

namespace {
QString rundreise(const QString& begriff) {
    const QString p = fuzz::pfad(QStringLiteral("letztesgrundstück.txt"));
    PRUEFE(lookup::schreibeMerkbegriff(p, begriff));
    return lookup::leseMerkbegriff(p);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QByteArray roh = fuzz::bytes(d, n);
    const QString t = lookup::leseMerkbegriff(fuzz::datei(QStringLiteral("letzterort.txt"), roh));
    PRUEFE(t.size() <= lookup::kHoechstZeichen);
    PRUEFE(t == t.trimmed());
    PRUEFE(!fuzz::hatSteuerzeichen(t));
    if (!t.isEmpty()) {
        PRUEFE(t.toUtf8().size() <= roh.size());
        const qsizetype ende = roh.indexOf('\n');
        PRUEFE(QString::fromUtf8(ende < 0 ? roh : roh.left(ende)).contains(t));
        PRUEFE(rundreise(t) == t);
    }
    // A term as the search writes it (trimmed): line breaks become blanks, and
    // one that fits the field and has no control character comes back trimmed.
    const QString begriff = fuzz::text(d, n).trimmed();
    const QString erwartet = QString(begriff).replace('\r', ' ').replace('\n', ' ').trimmed();
    const QString zurueck = rundreise(begriff);
    if (erwartet.size() <= lookup::kHoechstZeichen && !fuzz::hatSteuerzeichen(erwartet))
        PRUEFE(zurueck == erwartet);
    else
        PRUEFE(zurueck.isEmpty());
    return 0;
}
