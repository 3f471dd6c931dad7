#pragma once
#include <QString>

#include "tools/stapel/Stapelauftrag.h"

namespace talu::markt {

// Result of the DM conversion.
struct Umrechnung {
    bool hatDmSpalten = false;
    int geaendert = 0;
    bool abgebrochen = false;  // cancelled by the operator; nothing was changed
};

constexpr double DmJeEuro = 1.95583;

// Converts the former DM amounts of a market table into euro where the euro
// amounts are missing, and turns euro amounts of 0 into Null; all rows or
// none. A table without DM columns is left alone.
class DmUmrechnung : public stapel::Auftrag {
public:
    explicit DmUmrechnung(QString tabelle);
    QString titel() const override;
    void fuehreAus(stapel::Kontext& k) override;
    const Umrechnung& ergebnis() const { return m_ergebnis; }

private:
    QString m_tabelle;
    Umrechnung m_ergebnis;
};

// Runs the conversion; a failure throws DbFehler and changes nothing; a
// cancel (through the display) changes nothing and reports no rows.
Umrechnung rechneDmUm(const Datenbank& db, const QString& tabelle, stapel::Anzeige* anzeige = nullptr);

}  // namespace talu::markt
