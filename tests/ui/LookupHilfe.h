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

}  // namespace talu::test
