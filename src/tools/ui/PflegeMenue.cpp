// The maintenance commands of the "Sonstiges" menu: each runs on the one job
// layer beside the window, with the progress dialog and its cancel, or in the
// status panel where the command reports there; then its end message.
#include <QLabel>

#include "kit/Dialoge.h"
#include "tools/stapel/ui/FortschrittsDialog.h"
#include "kit/ui/Formen.h"
#include "kit/ui/MenueAktionen.h"
#include "kit/modPublics.h"
#include "tools/ui/PflegeMenue.h"

namespace talu {

void meldeEnde(QWidget* ueber, const pflege::Pflegebefehl& b, const stapel::Auftrag& auftrag,
               const stapel::Ergebnis& e) {
    switch (e.status) {
        case stapel::Ergebnis::Status::Fertig: {
            const QString text = pflege::endText(b, auftrag);
            if (!text.isEmpty()) dialoge().meldung(ueber, Dialoge::Symbol::Keins, QString(), text);
            break;
        }
        case stapel::Ergebnis::Status::Abgebrochen: meldeInfo(ueber, e.meldung); break;
        case stapel::Ergebnis::Status::Fehler: meldeKritisch(ueber, e.meldung, QString(), e.serverText); break;
    }
}

namespace {

void starte(const pflege::Pflegebefehl& b, QWidget* haupt) {
    std::unique_ptr<stapel::Auftrag> auftrag = b.erzeuge();
    stapel::Ergebnis e;
    QLabel* panel = b.statusText ? formen::statusfeld(7) : nullptr;
    if (panel) {
        stapel::AnzeigeFunktion status([panel](qint64, qint64, const QString& text) {
            panel->setText(text);
            panel->repaint();
        });
        e = stapel::fuehreAusNebenbei(*auftrag, publics().Verbindung, status);
    } else {
        FortschrittsDialog fortschritt(haupt, auftrag->titel(), auftrag->abbrechbar());
        e = stapel::fuehreAusNebenbei(*auftrag, publics().Verbindung, fortschritt);
        fortschritt.beiseite();
    }
    if (panel && e.status == stapel::Ergebnis::Status::Fertig) panel->setText(b.statusText(*auftrag));
    meldeEnde(haupt, b, *auftrag, e);
}

// One menu action per command, under the entry's name.
const bool angemeldet = [] {
    for (const pflege::Pflegebefehl& b : pflege::pflegebefehle()) {
        if (b.menue.isEmpty()) continue;
        const pflege::Pflegebefehl* befehl = &b;
        menue::Registrierung(b.menue, [befehl](QWidget* haupt) { starte(*befehl, haupt); });
    }
    return true;
}();

}  // namespace

}  // namespace talu
