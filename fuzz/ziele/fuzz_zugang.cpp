// The stored login data: whatever the file holds, the reader either gives the
// file's first four lines (each fitting its field) or reports a fault and
// leaves the values alone; four values written are read back unchanged.
#include "FuzzHilfe.h"
#include "login/ZugangsDatei.h"

using namespace talu;

namespace {
const Anmeldedaten kUnberuehrt{"\x01", "\x01", "\x01", "\x01"};

void pruefeRundreise(const Anmeldedaten& a) {
    const ZugangsDatei datei(fuzz::pfad(QStringLiteral("zugang2.dat")));
    PRUEFE(datei.schreibe(a));
    QFile f(datei.pfad());
    PRUEFE(f.open(QIODevice::ReadOnly));
    PRUEFE(f.readAll() == (a.server + "\r\n" + a.datenbank + "\r\n" + a.benutzer + "\r\n" + a.passwort + "\r\n").toUtf8());
    Anmeldedaten b = kUnberuehrt;
    PRUEFE(datei.lese(b) == ZugangsDatei::Lesen::Gelesen);
    PRUEFE(b == a);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    const QByteArray roh = fuzz::bytes(d, n);
    const ZugangsDatei datei(fuzz::datei(QStringLiteral("zugang.dat"), roh));
    Anmeldedaten a = kUnberuehrt;
    QString grund;
    switch (datei.lese(a, &grund)) {
        case ZugangsDatei::Lesen::KeineDatei:
            PRUEFE(false);
            break;
        case ZugangsDatei::Lesen::Fehler:
            PRUEFE(a == kUnberuehrt);
            PRUEFE(!grund.isEmpty());
            break;
        case ZugangsDatei::Lesen::Gelesen: {
            PRUEFE(roh.size() <= ZugangsDatei::kHoechstBytes);
            const QStringList zeilen = QString::fromUtf8(roh).split(QLatin1Char('\n'));
            const QString werte[4] = {a.server, a.datenbank, a.benutzer, a.passwort};
            qsizetype summe = 0;
            for (int i = 0; i < 4; ++i) {
                PRUEFE(werte[i].size() <= ZugangsDatei::kHoechstZeichen);
                PRUEFE(!werte[i].contains(QLatin1Char('\n')));
                PRUEFE(i < zeilen.size() && (zeilen[i] == werte[i] || zeilen[i] == werte[i] + "\r"));
                summe += werte[i].toUtf8().size();
            }
            PRUEFE(summe <= roh.size());
            pruefeRundreise(a);
            break;
        }
    }
    // The writer's side: any four values that fit the fields come back as written.
    const QStringList teile = fuzz::text(d, n).split(QLatin1Char('\n'));
    if (teile.size() >= 4) {
        const Anmeldedaten w{teile[0], teile[1], teile[2], teile[3]};
        bool passt = true;
        for (const QString* t : {&w.server, &w.datenbank, &w.benutzer, &w.passwort})
            passt = passt && t->size() <= ZugangsDatei::kHoechstZeichen;
        if (passt) pruefeRundreise(w);
    }
    return 0;
}
