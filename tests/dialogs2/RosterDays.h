#pragma once
// Reading a month's roster as the planner reads it: the cell of a day's number and the
// names listed under it, down to the next week's day numbers.

#include "CellRecord.h"
#include "DateTime.h"

#include <QList>
#include <QStringList>

class CCuadroPlanilla;

namespace RosterDays {
// The cell that shows the day's number; false when the roster does not show the day.
bool DayCell(CCuadroPlanilla* grid, const CDateTime& day, int* column, int* row);
// The names under the day, top to bottom, with their text colours when asked;
// "(sin día)" when the day is not shown.
QStringList Names(CCuadroPlanilla* grid, const CDateTime& day, QList<GridColor>* colours = nullptr);
} // namespace RosterDays
