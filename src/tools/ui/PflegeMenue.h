#pragma once
#include "tools/Pflegebefehle.h"

class QWidget;

namespace talu {

// The end of a maintenance command for the operator: its end message (OK
// only, no icon, empty title) after a run to its end, else why it stopped.
void meldeEnde(QWidget* ueber, const pflege::Pflegebefehl& b, const stapel::Auftrag& auftrag,
               const stapel::Ergebnis& e);

}  // namespace talu
