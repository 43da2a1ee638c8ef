#pragma once
// Conditions that pick rows by date on a date column, for every form a date can be
// stored in ('YYYY/MM/DD[ HH:MM[:SS]]', 'YYYY-MM-DD[ ...]', month and day with or without
// a leading zero, or a number of days since 30/12/1899).
//
// Each condition is a range (or an OR of ranges) on the bare column, so an index on the
// column narrows the read to the rows asked for instead of the whole history. They may
// let through a few rows more than asked (a stored form's neighbours in text order);
// callers check each row's parsed date exactly afterwards.

#include <QString>

namespace DvFechasSql {
// Rows whose date falls on one of the days desde..hasta (whole days since 30/12/1899).
QString DiasEntre(const QString& columna, int desde, int hasta);
// Rows whose date falls on day desde or later.
QString DesdeDia(const QString& columna, int desde);
// Rows whose date falls before 1 January of the year after `anio` (a superset of every
// date up to the end of that year).
QString HastaFinDeAnio(const QString& columna, int anio);
} // namespace DvFechasSql
