#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

namespace talu {

// Where a record form shows a value: box `index` of the box array `feld`
// (text_<feld>(index); 0 for a form's single array "text").
struct BoxPlatz {
    int feld = 0;
    int index = 0;
};

// One box bound to one column: how the stored value is shown, and what the
// save stores for the box's text (no value: the column is not written).
struct Bindung {
    BoxPlatz box;
    QString spalte;
    std::function<QString(const QVariant&)> anzeige;
    std::function<std::optional<QVariant>(const QString&)> speichern;
};

// The binding table of a form, read both ways.
class Bindungen {
public:
    Bindungen() = default;
    Bindungen(std::initializer_list<Bindung> l) : m_liste(l) {}
    void add(const Bindung& b) { m_liste << b; }
    const QList<Bindung>& liste() const { return m_liste; }

    // Fills every bound box from the column values.
    void zeige(const std::function<QVariant(const QString& spalte)>& wert,
               const std::function<QString&(BoxPlatz)>& box) const;
    // The columns to store with their values, in the order of the table.
    QList<QPair<QString, QVariant>> werte(const std::function<QString(BoxPlatz)>& box) const;
    // The binding of a box, or nullptr.
    const Bindung* von(BoxPlatz box) const;

private:
    QList<Bindung> m_liste;
};

}  // namespace talu
