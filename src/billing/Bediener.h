#pragma once
#include "tools/stapel/MitDialogen.h"
#include "tools/stapel/Stapelauftrag.h"

namespace talu::abrechnung {

// The billing work talks to the operator through the feedback type of every
// long command: message boxes in the program, lines on the console in the
// command-line tool, scripted answers in tests.
using Bediener = stapel::Anzeige;
// The program's boxes, with the invoice run's progress in the display given.
using DialogBediener = stapel::MitDialogen;

}  // namespace talu::abrechnung
