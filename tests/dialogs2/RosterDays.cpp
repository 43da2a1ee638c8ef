#include "RosterDays.h"

#include "CuadroPlanilla.h"

namespace RosterDays {
namespace {
// A row that holds day numbers starts a week.
bool IsWeekStart(CCuadroPlanilla* grid, int row) {
    for (int c = 1; c < CCuadroPlanilla::Columnas; c += 2) {
        CCellRecord cell;
        grid->GetCell(c, row, &cell);
        if (!cell.GetText().isEmpty() && cell.GetItemData() > 0)
            return true;
    }
    return false;
}
} // namespace

bool DayCell(CCuadroPlanilla* grid, const CDateTime& day, int* column, int* row) {
    const int number = day.DayNumber();
    for (int r = 0; r < grid->GetRowCount(); ++r) {
        for (int c = 1; c < CCuadroPlanilla::Columnas; c += 2) {
            CCellRecord cell;
            grid->GetCell(c, r, &cell);
            if (cell.Has(CCellRecord::PropItemData) && cell.GetItemData() == number &&
                !cell.GetText().isEmpty()) {
                *column = c;
                *row = r;
                return true;
            }
        }
    }
    return false;
}

QStringList Names(CCuadroPlanilla* grid, const CDateTime& day, QList<GridColor>* colours) {
    int column = 0, row = 0;
    if (!DayCell(grid, day, &column, &row))
        return {QStringLiteral("(sin día)")};
    QStringList names;
    for (int r = row; r < grid->GetRowCount(); ++r) {
        if (r > row && IsWeekStart(grid, r))
            break;
        CCellRecord cell;
        grid->GetCell(column - 1, r, &cell);
        if (cell.GetText().isEmpty())
            continue;
        names << cell.GetText();
        if (colours)
            *colours << cell.GetTextColor();
    }
    return names;
}
} // namespace RosterDays
