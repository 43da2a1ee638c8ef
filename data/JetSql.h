#pragma once
// The statements of the program are written in the dialect of its original database
// engine. Most of it is understood by SQLite as it stands; this file bridges the rest:
// the DATEPART function, and two literal forms rewritten before a statement is prepared.

#include <QString>

struct sqlite3;

namespace DvJetSql {
// Rewrites, outside quoted texts and bracketed names:
//  - "text" (a double-quoted text is a string in that dialect) into 'text';
//  - #date# literals (#28/03/24#, #3/28/2024#, #2024-03-28 10:00#) into the stored
//    form '2024/03/28 00:00:00'. With a first number that cannot be a month the order
//    is day/month/year, otherwise month/day/year; a two-digit year is 2000 + the year.
// A '#' that does not start a readable date is left as it is (SQLite then reports it).
QString Translate(const QString& sql);

// DATEPART(interval, date [, first day of week [, first week of year]]) with the
// intervals "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s" (any letter case) on
// every stored date form. A value that is not a date gives NULL.
// Also replaces the NOCASE collation with the Spanish alphabetical order, letter case
// ignored, as the original engine compared and sorted texts.
bool RegisterFunctions(sqlite3* db);

// The part of DATEPART that works on a day count (tests use it directly). Returns
// false for an unknown interval.
bool DatePart(const QString& interval, double days, int firstDayOfWeek, int firstWeekOfYear,
              int& result);
} // namespace DvJetSql
