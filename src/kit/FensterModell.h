#pragma once
#include <QAbstractTableModel>
#include <QList>
#include <QSqlRecord>
#include <QVariant>
#include <memory>
#include <optional>

namespace talu {

// Where the rows of a windowed grid come from. The module that owns the data
// knows its statement, its order and its key; the grid only asks how many
// rows there are and for runs of rows beside rows it holds.
class FensterQuelle {
public:
    using Zeile = QList<QVariant>;
    struct Block {
        QSqlRecord spalten;  // the result's columns, also without rows
        QList<Zeile> zeilen;
    };
    virtual ~FensterQuelle() = default;

    // The number of rows now. Throws DbFehler.
    virtual qint64 zaehle() const = 0;
    // Up to n rows in the grid's order. vorwaerts: the rows after bezug (from
    // the first row when bezug is null); otherwise the rows before bezug (up to
    // the last row when bezug is null), still in the grid's order, the one
    // next to bezug last. The ueberspringen rows next to bezug (or to the
    // beginning or end) are passed over first. Throws DbFehler.
    virtual Block lies(const Zeile* bezug, bool vorwaerts, qint64 ueberspringen, int n) const = 0;

    // Places to jump to, in the order: the rows from position on are the
    // rows after bezug (read forwards). A source that can name them cheaply
    // (a count per value of its first sort column, say) spares the grid
    // passing over many rows for a jump; asked once, on the first long jump.
    // Throws DbFehler.
    struct Marke {
        qint64 position = 0;
        Zeile bezug;
    };
    virtual QList<Marke> marken() const { return {}; }
};

// A read-only grid model over a source of any size: it counts the rows once
// and reads only the pages that the grid shows, each by the key of a
// neighbouring page it holds (in either direction) or, for a jump, by
// position from the nearest page, the beginning, the end or a mark the source
// names. It holds a few pages at most, so its memory does not grow with the
// table.
//
// Rows that other programs write or delete in between never break it: a
// page that ends sooner or later than the count said makes it count again,
// and the rows are then read anew where they are shown.
class FensterModell : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows per page read.
    static constexpr int kSeite = 256;
    // Pages held at most.
    static constexpr int kSeitenGehalten = 8;

    explicit FensterModell(QObject* eltern = nullptr);
    ~FensterModell() override;

    // Counts the source's rows and reads its first page. Throws DbFehler and
    // keeps the former rows when that fails.
    void setzeQuelle(std::unique_ptr<FensterQuelle> quelle);

    // The result's columns (also without rows).
    const QSqlRecord& record() const { return m_record; }
    // Rows held in memory now (never more than kSeite * kSeitenGehalten).
    qint64 gehalteneZeilen() const;
    // Statements sent for pages since the last setzeQuelle().
    int seitenGelesen() const { return m_seitenGelesen; }

    // Counts again, for rows written by others: the grid grows or shrinks at
    // its end, and the rows shown are read anew. Throws DbFehler.
    void zaehleNeu();

    // Every row is counted at once: there is never more to fetch.
    bool canFetchMore(const QModelIndex& = {}) const override { return false; }
    void fetchMore(const QModelIndex& = {}) override {}

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    // Qt::DisplayRole and Qt::EditRole: the value, read with its page when
    // the page is not held. A page that cannot be read empties the grid and
    // is reported through leseFehler.
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    // Qt::UserRole of a column header: the column's name.
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

signals:
    void leseFehler(const QString& kurz, const QString& serverText);

protected:
    // The value of a cell, its page read if needed; null past the rows read.
    QVariant wert(int zeile, int spalte) const;

private:
    struct Seite {
        QList<FensterQuelle::Zeile> zeilen;
        quint64 benutzt = 0;  // for dropping the page used longest ago
    };
    const Seite* seite(qint64 nr) const;
    void merke(qint64 nr, QList<FensterQuelle::Zeile> zeilen) const;
    void pruefeSpaeter() const;
    void scheitere(const QString& kurz, const QString& serverText) const;

    std::unique_ptr<FensterQuelle> m_quelle;
    QSqlRecord m_record;
    qint64 m_anzahl = 0;
    mutable QHash<qint64, Seite> m_seiten;
    mutable std::optional<QList<FensterQuelle::Marke>> m_marken;
    mutable quint64 m_uhr = 0;
    mutable int m_seitenGelesen = 0;
    mutable bool m_pruefungGeplant = false;
    mutable bool m_gescheitert = false;
};

}  // namespace talu
