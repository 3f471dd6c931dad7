#include "kit/Bindung.h"

namespace talu {

void Bindungen::zeige(const std::function<QVariant(const QString&)>& wert,
                      const std::function<QString&(BoxPlatz)>& box) const {
    for (const Bindung& b : m_liste)
        if (b.anzeige) box(b.box) = b.anzeige(wert(b.spalte));
}

QList<QPair<QString, QVariant>> Bindungen::werte(const std::function<QString(BoxPlatz)>& box) const {
    QList<QPair<QString, QVariant>> w;
    for (const Bindung& b : m_liste) {
        if (!b.speichern) continue;
        if (const std::optional<QVariant> v = b.speichern(box(b.box))) w << qMakePair(b.spalte, *v);
    }
    return w;
}

const Bindung* Bindungen::von(BoxPlatz box) const {
    for (const Bindung& b : m_liste)
        if (b.box.feld == box.feld && b.box.index == box.index) return &b;
    return nullptr;
}

}  // namespace talu
