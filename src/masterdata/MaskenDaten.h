#pragma once
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "kit/Bindung.h"

namespace talu {

class Datenbank;

// Reads and writes one row of a record mask's table through its binding
// table (box text(i) of the mask <-> column). The row is addressed by the
// id the server assigned; id 0 means a new row.
class MaskenDaten {
public:
    MaskenDaten(const Datenbank& db, const QString& tabelle, const Bindungen& bindungen, int felder)
        : m_db(db), m_tabelle(tabelle), m_bindungen(bindungen), m_felder(felder) {}

    // The texts of the boxes for the row (Null shows as empty text); empty
    // texts and gefunden = false when the id has no row.
    QStringList lade(double id, bool* gefunden = nullptr) const;
    // Stores the boxes' texts by the binding table: id 0 adds a row and
    // returns its id; otherwise the row is overwritten and its id returned.
    // A row that is gone is not recreated: DbFehler, nothing written.
    double speichere(double id, const QStringList& texte) const;

    // The folded-down message text for a row that no longer exists.
    QString fehltText(double id) const;

private:
    const Datenbank& m_db;
    QString m_tabelle;
    const Bindungen& m_bindungen;
    int m_felder;
};

// A save or delete that a record's own rules refuse (not a database
// failure); the text tells the operator why. Thrown inside the write's
// transaction, so nothing is written.
class Abgelehnt : public std::runtime_error {
public:
    explicit Abgelehnt(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Display rule shared by the masks: a Null column shows as empty text.
QString nullAlsLeerText(const QVariant& v);

}  // namespace talu
