#pragma once
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "kit/Bindung.h"
#include "kit/Dialoge.h"
#include "billing/AuskunftLayout.h"
#include "db/Datenbank.h"

namespace talu {

namespace druck {
class Druckziel;
struct DruckErgebnis;
}  // namespace druck

class Recordset;
struct Publics;

// What frmGrundstueckMaske shows and computes, without its widgets: the texts
// of the two box arrays, loading a plot (with its query-log row), stepping to
// the neighbouring house number and finding the place of a new plot.
class GrundstueckMaskeLogik {
public:
    static constexpr int kText1 = 16;  // page "Grunddaten"
    static constexpr int kText2 = 11;  // page "Zusatzdaten"

    GrundstueckMaskeLogik();

    QStringList text_1, text_2;
    double GrundstueckId = 0;
    bool SchrittVor = false, SchrittZurueck = false;
    // True when the boxes show a plot (and, in the customer edition, it was billed).
    bool angezeigt = false;

    // Empties text_1(2) to text_1(15) and every text_2 box; postcode and place stay.
    void FelderLeeren();

    // The rows of the two pages, top to bottom: the caption's index in the
    // form's label array, the caption, the box array (1: text_1, 2: text_2)
    // and its boxes left to right. The form and the extract both follow it.
    struct Zeile {
        int label = 0;
        QString caption;
        int feld = 1;
        QList<int> boxen;
    };
    static const QList<Zeile>& zeilen();
    static QString caption(int label);
    static QString seitenTitel(int feld);  // the tab of array 1 or 2
    // The street row's caption; a street record has no house number.
    static QString strassenCaption(bool strassenEintrag);

    // The display of a stored plot that the extract documents: the texts as
    // loaded from the database, not as edited since. Set by a load that
    // shows a plot and by a save; empty while no stored plot is shown.
    struct Anzeige {
        QStringList text_1, text_2;
        QString gemeindeschluessel;
        QDateTime zeitpunkt;
        qint64 protokollId = 0;  // the customer edition's query-log row
    };
    std::optional<Anzeige> gezeigt;

    // Loads the current RsSuche row (after a navigation step, its neighbour)
    // into the boxes and writes the query-log row in the customer edition.
    // Returns the messages for the operator. When the log row cannot be
    // written the boxes are emptied again: nothing chargeable is shown unbilled.
    // Other database errors propagate as DbFehler.
    QList<Meldung> LadeGrundstueck(Publics& p);

    // The boxes bound to the columns of grundstuecke: feld 1 is text_1, 2 is text_2.
    static const Bindungen& bindungen();
    // The display texts of one plot row into the two arrays (indices 2-15 and 0-10).
    static void fuelleAusZeile(const Recordset& rs, QStringList& t1, QStringList& t2);
    // The query-log object: place, street and, but for a street record, house number.
    static QString protokollObjekt(const QString& aktOrtAnzeige, const QString& strasse,
                                   const QString& hausnummer);

    // "Stadt suchen": the place of a new plot by postcode or, without one, by name.
    enum class OrtSuche { KeineEingabe, KeinTreffer, EinTreffer, MehrereTreffer };
    OrtSuche OrtFuerNeuesGrundstueckSuchen(Publics& p, Meldung* meldung);
    // Puts the current place (AktPlz, AktOrt) into the postcode and place boxes.
    void OrtUebernehmen(const Publics& p);

    // True when the trimmed text has neither 5 nor 0 characters.
    static bool PlzUngueltig(const QString& text);

    // The most characters a box takes: the designed limits of postcode,
    // remark and source, else the width of the column the box is stored in;
    // 0 for no limit.
    static int hoechstLaenge(int arrayNr, int index);

    // --- Saving (editing editions) ---

    // The refusal of a land-value box (text_1 6-9) whose text is no amount,
    // shown when the box is left and when saving; empty for any other box or text.
    static QString betragFehler(int arrayNr, int index, const QString& text);

    // The first check a save fails: its message and the text_1 box that gets the focus.
    struct Pruefung {
        Meldung meldung;
        int fokus = 0;
    };
    std::optional<Pruefung> pruefeSpeichern(const Publics& p) const;
    // The columns of grundstuecke for the boxes and the chosen place.
    Werte spaltenwerte(const Publics& p) const;
    // Checks, then adds the plot (Modus "erfassen") or changes it; afterwards
    // the form shows the stored row in change mode and the bookmark holds its
    // values. Returns the messages in order; *gespeichert tells whether it was
    // stored and *fokus which text_1 box gets the focus. A changed plot that
    // no longer exists is not added again: DbFehler, as for any database error.
    QList<Meldung> Speichern(Publics& p, const QString& merkerPfad, bool* gespeichert, int* fokus);

    // The bookmark: written after every save, read by "Werte k." and for a new plot.
    std::optional<Meldung> SchreibeMerker(const QString& pfad) const;
    std::optional<Meldung> WerteKopieren(const QString& pfad, bool neuesGrundstueck);

    // --- The land-value extract ("Auskunft drucken", F8; every edition) ---

    // The extract of the plot displayed, with the appraisal committee of its
    // place read now; nullopt while no stored plot is shown.
    std::optional<auskunft::Auskunft> auskunftDaten(const Datenbank& db) const;
    // Prints the extract to the target; costs nothing and writes no log row.
    // Returns the closing message: the printer or the file, or why not.
    // Database errors propagate as DbFehler.
    Meldung AuskunftDrucken(const Datenbank& db, druck::Druckziel& ziel, druck::DruckErgebnis* ergebnis = nullptr) const;

    // The text a box gets when it is left in the editing editions (currency,
    // code texts, units); arrayNr 1 is text_1, 2 is text_2.
    static QString textNachVerlassen(int arrayNr, int index, const QString& text);
};

}  // namespace talu
