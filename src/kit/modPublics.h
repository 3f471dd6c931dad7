#pragma once
#include <QString>

#include "db/Datenbank.h"
#include "db/Recordset.h"

namespace talu {

// The program-wide state that the forms hand to each other. One instance,
// reached through publics(); only the user-interface thread touches it.
struct Publics {
    QString ServerName, DatenbankName, DbBenutzer, DbPasswort;
    Datenbank Verbindung;

    Recordset RsSuche, RsGutachter, RsBenutzer, RsKreise, RsOrtsdaten;
    Recordset RsKunden;  // the invoice customers found by "Kunden suchen"

    QString Modus;    // "erfassen" or "aendern"
    QString SuchArt;  // "suche nach ort", "suche nach grundstück", ...

    QString AktPlz, AktOrt, AktGemeindeschluessel, AktOrtAnzeige;
    double AktOrtId = 0;
    QString OrtsAbfrage;
    // The place row read in the same round trip as the plot chosen from the
    // list (for the place AktGemeindeschluessel/AktOrtId named then); the plot
    // form takes it instead of reading it again.
    Recordset RsOrtVorab;
    QString OrtVorabSchluessel;
    double OrtVorabId = 0;

    bool OrtFuerNeuesGrundstueck = false;
    bool StrassenEintrag = false;
    bool OrtAbgerechnet = false;
    double PreisBodenrichtwert = 0;
    double PreisGutachter = 0;

    bool AuswahlFuerStadtMaske = false;
    QString GewaehlterKreis;
    double GewaehlteKreisId = 0;
    QString GewaehlterGutachter;
    double GewaehlteGutachterId = 0;

    QString StrassenPlz, StrassenStadt, StrassenStadtteil;
    double StrassenOrtId = 0;

    QString MarktTabelle, MarktTitel;
    bool Editiermodus = false;

    QString PcName, PcBenutzer;
    short Ausgabe = 3;

    // Resets everything but the connection (tests start each case afresh).
    void zuruecksetzen();
};

Publics& publics();

// Status bar panel 7 of the main window: server / DATENBANK / PCBENUTZER.
QString verbindungsText(const Publics& p);

// "1.079": major "." minor and revision without separator.
QString versionsText();

// The four text files live here: the executable's directory when it is
// writable, otherwise the per-user data directory.
QString programmVerzeichnis();
// Tests point the program directory elsewhere.
void setzeProgrammVerzeichnis(const QString& pfad);
QString programmDatei(const QString& name);

}  // namespace talu
