#pragma once
#include "app/Dialoge.h"

// The lookup forms' names for the shared message pieces.
namespace talu::lookup {
using talu::datenbankMeldung;
using talu::Meldung;
using talu::Sanduhr;
inline void zeigeMeldung(QWidget* eltern, const Meldung& m) { zeige(eltern, m); }
}  // namespace talu::lookup
