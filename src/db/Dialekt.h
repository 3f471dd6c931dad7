#pragma once
#include <QString>
#include <QStringList>

#include "db/Backend.h"

namespace talu {

// The only place where the SQL of the three backends differs.
class Dialekt {
public:
    explicit Dialekt(Backend b = Backend::SQLite) : m_backend(b) {}
    Backend backend() const { return m_backend; }

    // "select ..." limited to its first n rows.
    QString begrenze(const QString& select, int n) const;
    // Case-insensitive comparison for every letter, umlauts included: both
    // sides go through lower(), which the SQLite connection replaces with a
    // Unicode-aware version, and which PostgreSQL folds by its locale.
    QString ohneFall(const QString& ausdruck) const { return "lower(" + ausdruck + ")"; }
    QString gleichOhneFall(const QString& spalte) const;   // "lower(x) = lower(?)"
    QString likeOhneFall(const QString& spalte) const;     // "lower(x) like lower(?) escape '\'"
    QString teilText(const QString& ausdruck, int start, int laenge) const;
    QString heute() const;
    // Insert statement that hands back the generated id as its only row.
    QString einfuegenMitId(const QString& tabelle, const QStringList& spalten,
                           const QString& idSpalte = "id") const;

    // Typed column and index DDL.
    QString idSpalte() const;
    QString textTyp(int laenge) const;
    QString ganzzahlTyp() const;
    QString zahlTyp() const;
    QString datumTyp() const;
    QString indexAusdruck(const QString& ausdruck) const;

    // LIKE patterns: the operator's characters are data, so % _ and \ are escaped.
    static QString escapeLike(const QString& text);
    static QString beginntMit(const QString& text) { return escapeLike(text) + "%"; }
    static QString enthaelt(const QString& text) { return "%" + escapeLike(text) + "%"; }

private:
    Backend m_backend;
};

}  // namespace talu
