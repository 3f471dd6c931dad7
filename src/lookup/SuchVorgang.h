#pragma once
#include <QString>
#include <functional>

namespace talu {

struct Publics;

// Prompt, help text and remembered-term file of a search mode (SuchArt).
struct SuchModus {
    QString label;
    QString hinweis;
    QString merkdatei;  // file name in the program directory; empty = none
};
SuchModus suchModus(const QString& suchArt);

// The search of frmSuchen without its widgets.
class SuchVorgang {
public:
    enum class Ergebnis {
        KeinBegriff,               // nothing typed
        ZuKurz,                    // fewer than three characters
        KeinOrt,                   // place search without hits
        EinOrt,                    // one place: on to the information groups
        EinOrtFuerNeuesGrundstueck,  // one place for the plot being entered
        MehrereOrte,               // to the selection list
        KeineStrasse,              // street search without plots
        Grundstuecke,              // to the selection list
        Nichts,                    // a mode without a search of its own
    };

    // Runs the search for the typed text in mode p.SuchArt, leaves the rows in
    // p.RsSuche and sets the current place on a single hit. Database errors
    // propagate as DbFehler.
    static Ergebnis starte(Publics& p, const QString& eingabe);

    // The operator's message for an outcome that stops at the search form.
    static QString meldung(Ergebnis e);

    // The term of the remembered-term file of a mode, for the form's Load.
    static QString gemerkterBegriff(const QString& suchArt);

    // Other modules may give a search mode of their own a search (for
    // example the appraiser search); the handler receives the trimmed term.
    using Handler = std::function<void(const QString& begriff)>;
    static void registriere(const QString& suchArt, Handler h);
};

}  // namespace talu
