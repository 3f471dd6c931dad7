#pragma once
#include <QList>
#include <QString>
#include <functional>

#include "kit/ui/Formular.h"
#include "kit/RasterSpalte.h"

class QAbstractItemModel;
class QHBoxLayout;
class QVBoxLayout;
class QPushButton;
class QTableView;

namespace talu {

// A form that shows rows in a grid with a row of filter buttons under it and
// "&Zurück" at the end of that row. The grid rebuilds its columns whenever the
// model is reset (every filter does that), so the column layout is applied
// again after each filter. The model stays the deriving form's.
class RasterFormular : public Formular {
    Q_OBJECT
public:
    explicit RasterFormular(const QString& titel, QWidget* parent = nullptr);

    QTableView* raster() const { return m_raster; }
    QPushButton* cmdZurueck;

    // The column named (case does not matter) or -1.
    int spalteNamens(const QString& name) const;
    // The column's name in the model's result: the header's Qt::UserRole,
    // else the field name of an SQL model, else the caption.
    QString spaltenName(int spalte) const;

protected:
    // Binds the grid to the model; the layout follows each reset.
    void setzeModell(QAbstractItemModel* modell);
    void setzeSpalten(const QList<RasterSpalte>& spalten);
    // Applies the column layout to the grid now.
    void spaltenEinrichten();
    // A button of the filter row; its work runs under the busy pointer, a
    // database failure becomes the message "wasScheitert" with the server's
    // text. The column layout is applied again afterwards.
    QPushButton* filterKnopf(const QString& objektName, const QString& text, const QString& wasScheitert,
                             std::function<void()> arbeit);
    // Runs a filter as the buttons do (for work started elsewhere, e.g. at load).
    bool filtere(const QString& wasScheitert, const std::function<void()>& arbeit);
    // A widget above the grid (a heading).
    void setzeKopf(QWidget* kopf);

private:
    class Titel;
    QTableView* m_raster = nullptr;
    QHBoxLayout* m_knoepfe = nullptr;
    QVBoxLayout* m_layout = nullptr;
    Titel* m_titel = nullptr;
    QList<RasterSpalte> m_spalten;
};

}  // namespace talu
