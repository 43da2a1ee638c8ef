#pragma once
// Conditions that pick rows by date on a date column, for every form a date can be
// stored in ('YYYY/MM/DD[ HH:MM[:SS]]', 'YYYY-MM-DD[ ...]', month and day with or without
// a leading zero, or a number of days since 30/12/1899).
//
// Each condition is a range (or an OR of ranges) on the bare column, so an index on the
// column narrows the read to the rows asked for instead of the whole history. They may
// let through a few rows more than asked (a stored form's neighbours in text order);
// callers check each row's parsed date exactly afterwards.

#include "DbQuery.h"

#include <QString>
#include <QStringList>

namespace DvFechasSql {
// Rows whose date falls on one of the days desde..hasta (whole days since 30/12/1899).
QString DiasEntre(const QString& columna, int desde, int hasta);
// The same ranges one by one; no row is in two of them, so they can also be read as the
// arms of a UNION ALL (which reads each through the index without merging row IDs).
QStringList RangosEntre(const QString& columna, int desde, int hasta);
// Ranges as one condition: "(a OR b ...)".
QString CualquieraDe(const QStringList& rangos);
// The same for a few days (the days next to a month), range by range (no row is in two
// of them): just those days in each stored form, so the rest of their month is not read.
QStringList RangosSueltos(const QString& columna, int desde, int hasta);
// Rows whose date falls on day desde or later.
QString DesdeDia(const QString& columna, int desde);
// Rows whose date falls before 1 January of the year after `anio` (a superset of every
// date up to the end of that year).
QString HastaFinDeAnio(const QString& columna, int anio);

// Leave periods (INICIO to FINAL) that may touch the days desde..hasta: the arms of a
// UNION ALL, each a condition for one WHERE. A period is found through the index on its
// length class and its start (indexes.sql: IX_VACACIONES_DURACION, IX_BAJAS_DURACION),
// which every SQLite since 3.20 can keep up, as it uses only built-in functions. A
// period of a bounded class (up to 40, 400, 4000 or 40000 days) is looked for only
// among the starts that can reach the days; a longer one, or one whose dates the
// built-in functions cannot read (a month or day without its leading zero, say), is
// always read. Callers check the exact overlap on each row. The days are the
// parameters :juliano_desde and :juliano_hasta, whose values ValoresPeriodos gives.
QStringList PeriodosEntre();
CDbQuery::CValores ValoresPeriodos(int desde, int hasta);
// The expressions of those indexes, exactly as indexes.sql has them.
QString DiaJuliano(const QString& columna);
QString ClaseDuracion();
} // namespace DvFechasSql
