#include "kit/ui/Geometrie.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <cmath>

namespace talu {

int twips(double twipsWert) { return int(std::lround(twipsWert / 15.0)); }  // 96 dpi: 15 twips a pixel

void zentriereRechnung(double flaecheB, double flaecheH, double breite, double hoehe, int& links,
                       int& oben) {
    links = int(std::lround(flaecheB - breite)) / 2;
    oben = int(std::lround(flaecheH - hoehe)) / 2;
}

void ZentriereKind(QMdiArea* hauptfenster, QWidget* kind, double breite, double hoehe) {
    if (!hauptfenster || !kind) return;
    QWidget* rahmen = kind;
    for (QWidget* w = kind; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            rahmen = sub;
            break;
        }
    const double w = breite > 0 ? breite : rahmen->width();
    const double h = hoehe > 0 ? hoehe : rahmen->height();
    int links = 0, oben = 0;
    const QSize flaeche = hauptfenster->viewport()->size();
    zentriereRechnung(flaeche.width(), flaeche.height(), w, h, links, oben);
    rahmen->setGeometry(links, oben, int(w), int(h));
}

float HoeheNachGoldenemSchnitt(float breite) { return 2.0f * breite / (std::sqrt(5.0f) + 1.0f); }

}  // namespace talu
