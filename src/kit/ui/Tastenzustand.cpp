#include "kit/ui/Tastenzustand.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <dlfcn.h>

namespace talu {

#if QT_CONFIG(xcb)
namespace {

// libX11 is loaded at run time (the xcb platform plugin has it in the process
// already), so the program neither links nor needs it on other platforms.
using XAtom = unsigned long;
using InternAtomFn = XAtom (*)(Display*, const char*, int);
using GetNamedIndicatorFn = int (*)(Display*, XAtom, int*, int*, void*, int*);

struct X11 {
    bool geladen = false;
    InternAtomFn internAtom = nullptr;
    GetNamedIndicatorFn namedIndicator = nullptr;
    XAtom caps = 0, num = 0, rollen = 0;
    Display* anzeige = nullptr;
};

X11& x11() {
    static X11 x;
    if (x.geladen) return x;
    x.geladen = true;
    auto* nativ = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!nativ || !nativ->display()) return x;
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!lib) return x;
    x.internAtom = reinterpret_cast<InternAtomFn>(dlsym(lib, "XInternAtom"));
    x.namedIndicator = reinterpret_cast<GetNamedIndicatorFn>(dlsym(lib, "XkbGetNamedIndicator"));
    if (!x.internAtom || !x.namedIndicator) return x;
    x.anzeige = nativ->display();
    x.caps = x.internAtom(x.anzeige, "Caps Lock", 1);
    x.num = x.internAtom(x.anzeige, "Num Lock", 1);
    x.rollen = x.internAtom(x.anzeige, "Scroll Lock", 1);
    return x;
}

Sperrzustand frage(const X11& x, XAtom atom) {
    if (!x.anzeige || !atom) return Sperrzustand::Unbekannt;
    int index = 0, an = 0, echt = 0;
    if (!x.namedIndicator(x.anzeige, atom, &index, &an, nullptr, &echt)) return Sperrzustand::Unbekannt;
    return an ? Sperrzustand::Ein : Sperrzustand::Aus;
}

}  // namespace
#endif

Sperrtasten leseSperrtasten() {
    Sperrtasten s;
#if QT_CONFIG(xcb)
    const X11& x = x11();
    s.caps = frage(x, x.caps);
    s.num = frage(x, x.num);
    s.rollen = frage(x, x.rollen);
#endif
    return s;
}

}  // namespace talu
