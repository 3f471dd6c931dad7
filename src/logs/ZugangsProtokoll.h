#pragma once
#include <QDate>
#include <QList>
#include <QString>

#include "kit/RasterSpalte.h"
#include "db/Datenbank.h"

namespace talu {

// The access log (table protokoll, one row per login or logout, written by
// other programs) as this program reads it: every row, whole, by id, with
// four filters. The statements bind their values.
namespace zugangsprotokoll {

enum class Filter { Alle, Login, Logout, Heute };

// Captions and widths of the first five grid columns: ID, Name, Datum, Zeit, Vorgang.
const QList<RasterSpalte>& spalten();
// The heading of the form for a filter ("Zugangsprotokoll - Alle Daten", ...).
QString ueberschrift(Filter f);

struct Anweisung {
    QString sql;
    Parameter werte;
};
// The statement of a filter. "Heute" takes the day's whole range, so that a
// date column and a column holding a date with a time both match.
Anweisung anweisung(Filter f, const Dialekt& d, const QDate& heute = QDate::currentDate());

}  // namespace zugangsprotokoll
}  // namespace talu
