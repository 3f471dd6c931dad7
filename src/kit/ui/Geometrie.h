#pragma once

class QWidget;
class QMdiArea;

namespace talu {

// Window geometry is designed in twips (1440 per inch); this is the one place
// that turns it into pixels.
int twips(double twipsWert);

// Centres a child in the main window's client area; width or height 0 keeps
// the child's own size. A child larger than the area gets a negative offset.
void ZentriereKind(QMdiArea* hauptfenster, QWidget* kind, double breite, double hoehe);
// Pure arithmetic of the above, for a client area of the given size.
void zentriereRechnung(double flaecheB, double flaecheH, double breite, double hoehe, int& links,
                       int& oben);

// Width divided by the golden ratio.
float HoeheNachGoldenemSchnitt(float breite);

}  // namespace talu
