#pragma once
#include <QString>

#include "tools/Importe.h"

namespace talu::pflege {

// The fill tools that complete the links between places, streets, plots and
// appraisal committees after an import. Each is one transaction and stores
// what a pass row by row would store; where a look-up finds several rows, the
// one with the lowest id counts.

// The texts of the forms.
Zaehlerform gutachterForm();       // "Gutachter ausfüllen": Aktuell … GA-Gesamt
Zaehlerform ausfuellenForm();      // "Modul Ausfüllen"
Zaehlerform schluesselForm();      // "Gemeindeschlüssel importieren"

// "Gebäude": a plot per building whose municipality is a place and whose
// street key names a street. Counts the buildings in "Aktuell:" and the
// plots added in "Sekundär:".
class GebaeudeAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Gutachter ausfüllen: Gebäude"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Start": each place's data gets the committee of its district, a city
// committee of the district's name before the district committee of that name.
class GutachterNachKreis : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Gutachter ausfüllen: Start"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Start - 2": each place's data outside the keys beginning with 16 gets the
// committee whose area is the place's key, or none.
class GutachterNachBereich : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Gutachter ausfüllen: Start - 2"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Start - 4": place data without a committee (outside 16) gets the one whose
// area is the district key; an existing link is never changed.
class GutachterLueckenFuellen : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Gutachter ausfüllen: Start - 4"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Modul Ausfüllen": a plot's street name from the street of its street key and municipality.
class StrassennamenAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Modul Ausfüllen"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Gemeindeschlüssel importieren": a plot's municipality key from the data of
// its place (the first place data row of the place id_orte names).
class GemeindeschluesselAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Gemeindeschlüssel importieren"); }
    void fuehreAus(stapel::Kontext& k) override;
};

}  // namespace talu::pflege
