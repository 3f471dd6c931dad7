#pragma once
// Shared set-up of the lookup-road tests: the shared state reset, the program
// directory in a temporary folder, the shared connection on a fresh database
// and the message boxes recorded instead of shown.
#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <QTest>

#include "Fixture.h"
#include "TestHilfe.h"
#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/modPublics.h"

#define TALU_LOOKUP_DB(fx, backendName, demo)                        \
    talu::formen::schliesseAlleKinder();                              \
    talu::publics().Verbindung.schliessen();                          \
    talu::publics().zuruecksetzen();                                  \
    QTemporaryDir programmDir_;                                       \
    QVERIFY(programmDir_.isValid());                                  \
    talu::setzeProgrammVerzeichnis(programmDir_.path());              \
    TALU_FRISCHE_DB(fx, talu::publics().Verbindung, backendName, demo) \
    talu::publics().DbBenutzer = fx.benutzer;                         \
    talu::publics().PcName = QStringLiteral("PC-TEST");               \
    talu::publics().PcBenutzer = QStringLiteral("tester");

namespace talu::test {

// The shared state as at start, with no form open, before each test.
inline void formenZuruecksetzen() {
    publics().zuruecksetzen();
    formen::schliesseAlleKinder();
}

// Closes the forms and the shared connection after each test.
inline void lookupAufraeumen() {
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    publics().RsSuche.schliessen();
    publics().Verbindung.schliessen();
}

// Shows a form and waits until its window is active, so that focus checks hold.
inline void warteAufFenster(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w->window());
    [[maybe_unused]] const bool aktiv = QTest::qWaitForWindowActive(w->window());
}

// The current place and plot as the lookup road leaves them for the plot
// form: the place of the key, the prices of the customer edition, the plot
// with the house number (a street record for "9999").
inline void waehleGrundstueck(const QString& schluessel, const QString& hausnummer) {
    Publics& p = publics();
    const Recordset ort = p.Verbindung.abfrage("select * from ortsnamen where gemeindeschluessel = ?", {schluessel});
    p.AktGemeindeschluessel = schluessel;
    p.AktOrtId = ort.zahl("id");
    p.AktOrtAnzeige = ort.text("plzneu") + " " + ort.text("ort");
    p.PreisBodenrichtwert = 12.5;
    p.PreisGutachter = 5;
    p.RsSuche = p.Verbindung.abfrage("select * from grundstuecke where gemeindeschluessel = ? and hausnummer = ?",
                                     {schluessel, hausnummer});
    p.StrassenEintrag = hausnummer == "9999";
    p.Modus = "aendern";
}

}  // namespace talu::test
