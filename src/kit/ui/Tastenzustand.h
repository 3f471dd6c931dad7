#pragma once

namespace talu {

// The lock-key states for the status bar. Caps, Num and Scroll Lock are read
// from the X server's keyboard indicators when the program runs on X11; other
// platforms (and the offscreen one) cannot tell them, so they are Unbekannt.
enum class Sperrzustand { Aus, Ein, Unbekannt };

struct Sperrtasten {
    Sperrzustand caps = Sperrzustand::Unbekannt;
    Sperrzustand num = Sperrzustand::Unbekannt;
    Sperrzustand rollen = Sperrzustand::Unbekannt;
};

Sperrtasten leseSperrtasten();

}  // namespace talu
