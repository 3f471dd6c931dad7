#include "kit/FensterModell.h"

#include <QMetaObject>
#include <algorithm>
#include <limits>

#include "db/Datenbank.h"

namespace talu {

namespace {
// From this many rows to pass over on, the source's marks are asked for.
constexpr qint64 kLangerSprung = 2 * FensterModell::kSeite;
}  // namespace

FensterModell::FensterModell(QObject* eltern) : QAbstractTableModel(eltern) {}

FensterModell::~FensterModell() = default;

void FensterModell::setzeQuelle(std::unique_ptr<FensterQuelle> quelle) {
    // Counted first: a row written between the two reads shows as a first
    // page longer than the count, which makes the model count again.
    const qint64 anzahl = quelle->zaehle();
    // Nothing counted: only the columns are read. A filter without a hit
    // would otherwise search the whole table for a page that stays empty.
    FensterQuelle::Block erste = quelle->lies(nullptr, true, 0, anzahl == 0 ? 0 : kSeite + 1);
    beginResetModel();
    m_quelle = std::move(quelle);
    m_record = erste.spalten;
    m_anzahl = anzahl;
    m_seiten.clear();
    m_marken.reset();
    m_gescheitert = false;
    m_pruefungGeplant = false;
    m_seitenGelesen = 1;
    const qint64 erwartet = qMin<qint64>(anzahl, kSeite) + (anzahl > kSeite ? 1 : 0);
    if (erste.zeilen.size() != erwartet) pruefeSpaeter();
    if (erste.zeilen.size() > kSeite) erste.zeilen.resize(kSeite);
    if (!erste.zeilen.isEmpty()) merke(0, std::move(erste.zeilen));
    endResetModel();
}

qint64 FensterModell::gehalteneZeilen() const {
    qint64 n = 0;
    for (const Seite& s : m_seiten) n += s.zeilen.size();
    return n;
}

void FensterModell::merke(qint64 nr, QList<FensterQuelle::Zeile> zeilen) const {
    m_seiten.insert(nr, Seite{std::move(zeilen), ++m_uhr});
    while (m_seiten.size() > kSeitenGehalten) {
        auto aeltste = m_seiten.begin();
        for (auto it = m_seiten.begin(); it != m_seiten.end(); ++it)
            if (it->benutzt < aeltste->benutzt) aeltste = it;
        m_seiten.erase(aeltste);
    }
}

const FensterModell::Seite* FensterModell::seite(qint64 nr) const {
    if (!m_quelle || m_gescheitert) return nullptr;
    const auto gehalten = m_seiten.find(nr);
    if (gehalten != m_seiten.end()) {
        gehalten->benutzt = ++m_uhr;
        return &*gehalten;
    }
    const qint64 anfang = nr * kSeite;
    const qint64 ende = qMin(anfang + kSeite, m_anzahl);
    if (anfang >= ende) return nullptr;
    const int n = int(ende - anfang);

    // Read from the nearest place known: the beginning, the end, or the
    // row next to a page held (then by its key, nothing passed over). At the
    // same distance a page held wins: its key joins the pages seamlessly even
    // when others have written rows in between.
    const FensterQuelle::Zeile* bezug = nullptr;
    bool vorwaerts = true;
    qint64 abstand = anfang;
    if (m_anzahl - ende < abstand) {
        abstand = m_anzahl - ende;
        vorwaerts = false;
    }
    for (auto it = m_seiten.cbegin(); it != m_seiten.cend(); ++it) {
        const QList<FensterQuelle::Zeile>& z = it->zeilen;
        if (z.isEmpty() || z.first().isEmpty() || z.last().isEmpty()) continue;
        if (it.key() < nr) {
            const qint64 d = anfang - (it.key() * kSeite + z.size());
            if (d >= 0 && d <= abstand) abstand = d, vorwaerts = true, bezug = &z.last();
        } else {
            const qint64 d = it.key() * kSeite - ende;
            if (d >= 0 && d <= abstand) abstand = d, vorwaerts = false, bezug = &z.first();
        }
    }

    // A long way from every place known: the source's marks may be nearer.
    if (abstand >= kLangerSprung) {
        if (!m_marken) {
            try {
                m_marken = m_quelle->marken();
            } catch (const DbFehler&) {
                m_marken = QList<FensterQuelle::Marke>{};  // then by position, as without marks
            }
        }
        const auto danach = std::upper_bound(m_marken->cbegin(), m_marken->cend(), anfang,
                                             [](qint64 p, const FensterQuelle::Marke& m) { return p < m.position; });
        if (danach != m_marken->cbegin()) {
            const FensterQuelle::Marke& m = *std::prev(danach);
            if (anfang - m.position < abstand) abstand = anfang - m.position, vorwaerts = true, bezug = &m.bezug;
        }
    }

    FensterQuelle::Block b;
    try {
        // One row more than the page: it tells whether the count still holds.
        b = m_quelle->lies(bezug, vorwaerts, abstand, n + 1);
    } catch (const DbFehler& f) {
        scheitere(f.kurz(), f.serverText());
        return nullptr;
    }
    ++m_seitenGelesen;
    QList<FensterQuelle::Zeile>& z = b.zeilen;
    // The row beyond the page: after it reading forward, before it backward.
    const bool weitereErwartet = vorwaerts ? ende < m_anzahl : anfang > 0;
    if (z.size() != n + (weitereErwartet ? 1 : 0)) pruefeSpaeter();
    if (vorwaerts) {
        if (z.size() > n) z.resize(n);
    } else {
        if (z.size() > n) z.remove(0, z.size() - n);
        // Fewer rows than the page: they are the ones next to bezug, so the
        // gap stays empty at the top until the rows are counted again.
        while (z.size() < n) z.prepend({});
    }
    merke(nr, std::move(z));
    return &m_seiten[nr];
}

void FensterModell::pruefeSpaeter() const {
    if (m_pruefungGeplant) return;
    m_pruefungGeplant = true;
    auto* selbst = const_cast<FensterModell*>(this);
    QMetaObject::invokeMethod(
        selbst,
        [selbst] {
            if (!selbst->m_pruefungGeplant) return;
            selbst->m_pruefungGeplant = false;
            try {
                selbst->zaehleNeu();
            } catch (const DbFehler& f) {
                selbst->scheitere(f.kurz(), f.serverText());
            }
        },
        Qt::QueuedConnection);
}

void FensterModell::zaehleNeu() {
    if (!m_quelle) return;
    const qint64 neu = m_quelle->zaehle();
    m_seiten.clear();
    m_marken.reset();
    if (neu > m_anzahl) {
        beginInsertRows({}, rowCount(), int(qMin<qint64>(neu, std::numeric_limits<int>::max()) - 1));
        m_anzahl = neu;
        endInsertRows();
    } else if (neu < m_anzahl) {
        beginRemoveRows({}, int(qMin<qint64>(neu, std::numeric_limits<int>::max())), rowCount() - 1);
        m_anzahl = neu;
        endRemoveRows();
    }
    if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void FensterModell::scheitere(const QString& kurz, const QString& serverText) const {
    if (m_gescheitert) return;
    m_gescheitert = true;
    // Not while the grid paints: the rows go and the report follows.
    auto* selbst = const_cast<FensterModell*>(this);
    QMetaObject::invokeMethod(
        selbst,
        [selbst, kurz, serverText] {
            if (!selbst->m_gescheitert) return;  // a new source came meanwhile
            selbst->beginResetModel();
            selbst->m_anzahl = 0;
            selbst->m_seiten.clear();
            selbst->endResetModel();
            emit selbst->leseFehler(kurz, serverText);
        },
        Qt::QueuedConnection);
}

int FensterModell::rowCount(const QModelIndex& eltern) const {
    if (eltern.isValid() || m_record.isEmpty()) return 0;
    return int(qMin<qint64>(m_anzahl, std::numeric_limits<int>::max()));
}

int FensterModell::columnCount(const QModelIndex& eltern) const { return eltern.isValid() ? 0 : m_record.count(); }

QVariant FensterModell::wert(int zeile, int spalte) const {
    if (zeile < 0 || zeile >= rowCount() || spalte < 0 || spalte >= columnCount()) return {};
    const qint64 nr = zeile / kSeite;
    const Seite* s = seite(nr);
    if (!s) return {};
    return s->zeilen.value(zeile - nr * kSeite).value(spalte);
}

QVariant FensterModell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid() || (rolle != Qt::DisplayRole && rolle != Qt::EditRole)) return {};
    return wert(index.row(), index.column());
}

QVariant FensterModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung == Qt::Horizontal && abschnitt >= 0 && abschnitt < m_record.count() &&
        (rolle == Qt::UserRole || rolle == Qt::DisplayRole))
        return m_record.fieldName(abschnitt);
    return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
}

}  // namespace talu
