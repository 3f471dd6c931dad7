#include "kit/ui/RasterFormular.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "kit/ui/Geometrie.h"

namespace talu {

// Puts the captions of the column layout over the model's columns, by name.
class RasterFormular::Titel : public QIdentityProxyModel {
public:
    Titel(const RasterFormular& form, QObject* eltern) : QIdentityProxyModel(eltern), m_form(form) {}
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle) const override {
        if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole) {
            const QString name = m_form.spaltenName(abschnitt);
            for (const RasterSpalte& s : m_form.m_spalten)
                if (!s.titel.isEmpty() && s.name.compare(name, Qt::CaseInsensitive) == 0) return s.titel;
        }
        return QIdentityProxyModel::headerData(abschnitt, richtung, rolle);
    }

private:
    const RasterFormular& m_form;
};

RasterFormular::RasterFormular(const QString& titel, QWidget* parent) : Formular(parent) {
    setWindowTitle(titel);
    m_raster = new QTableView(this);
    m_raster->setObjectName(QStringLiteral("DataGrid1"));
    // The grid only shows: nothing typed into it could be saved.
    m_raster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_raster->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_raster->verticalHeader()->setDefaultSectionSize(m_raster->fontMetrics().height() + 6);
    m_titel = new Titel(*this, this);
    m_raster->setModel(m_titel);
    connect(m_titel, &QAbstractItemModel::modelReset, this, &RasterFormular::spaltenEinrichten);
    connect(m_titel, &QAbstractItemModel::layoutChanged, this, &RasterFormular::spaltenEinrichten);

    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdZurueck->setObjectName(QStringLiteral("cmdZurueck"));
    connect(cmdZurueck, &QPushButton::clicked, this, &Formular::entlade);
    escapeDrueckt(cmdZurueck);

    auto* linie = new QFrame(this);
    linie->setObjectName(QStringLiteral("Line1"));
    linie->setFrameShape(QFrame::HLine);
    linie->setFrameShadow(QFrame::Sunken);

    m_knoepfe = new QHBoxLayout;
    m_knoepfe->addStretch(1);
    m_knoepfe->addWidget(cmdZurueck);

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(m_raster, 1);
    m_layout->addWidget(linie);
    m_layout->addLayout(m_knoepfe);
    setzeStartfeld(m_raster);
}

void RasterFormular::setzeKopf(QWidget* kopf) { m_layout->insertWidget(0, kopf); }

void RasterFormular::setzeModell(QAbstractItemModel* modell) {
    m_titel->setSourceModel(modell);
    spaltenEinrichten();
}

void RasterFormular::setzeSpalten(const QList<RasterSpalte>& spalten) {
    m_spalten = spalten;
    spaltenEinrichten();
}

QString RasterFormular::spaltenName(int spalte) const {
    const QAbstractItemModel* m = m_titel->sourceModel();
    if (!m || spalte < 0 || spalte >= m->columnCount()) return {};
    // A model names its columns in Qt::UserRole of the header, or by its SQL result.
    const QVariant name = m->headerData(spalte, Qt::Horizontal, Qt::UserRole);
    if (name.typeId() == QMetaType::QString) return name.toString();
    if (const auto* sql = qobject_cast<const QSqlQueryModel*>(m)) return sql->record().fieldName(spalte);
    return m->headerData(spalte, Qt::Horizontal, Qt::DisplayRole).toString();
}

int RasterFormular::spalteNamens(const QString& name) const {
    const QAbstractItemModel* m = m_titel->sourceModel();
    if (!m) return -1;
    for (int i = 0; i < m->columnCount(); ++i)
        if (spaltenName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void RasterFormular::spaltenEinrichten() {
    for (const RasterSpalte& s : m_spalten) {
        const int i = spalteNamens(s.name);
        if (i < 0) continue;
        m_raster->setColumnHidden(i, !s.sichtbar);
        if (s.sichtbar && s.breiteTwips > 0) m_raster->setColumnWidth(i, twips(s.breiteTwips));
    }
}

bool RasterFormular::filtere(const QString& wasScheitert, const std::function<void()>& arbeit) {
    const bool ok = mitDatenbank(wasScheitert, arbeit);
    spaltenEinrichten();
    return ok;
}

QPushButton* RasterFormular::filterKnopf(const QString& objektName, const QString& text, const QString& wasScheitert,
                                         std::function<void()> arbeit) {
    auto* k = new QPushButton(text, this);
    k->setObjectName(objektName);
    // In the order added, before the stretch that keeps "Zurück" at the right.
    m_knoepfe->insertWidget(m_knoepfe->count() - 2, k);
    connect(k, &QPushButton::clicked, this, [this, wasScheitert, arbeit = std::move(arbeit)] { filtere(wasScheitert, arbeit); });
    return k;
}

}  // namespace talu
