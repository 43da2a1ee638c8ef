#pragma once
// What the parts of one grid work with, handed to each of them when the grid is made:
// the grid itself (its hooks and cell operations), its sheet, the moves of the current
// cell and the view, the component windows and the painting. Nothing here outlives the
// grid.

#include "CellGrid.h"

class CGridNavigator;
class CGridWindows;
class CGridPainter;

struct CGridParts {
    CCellGrid& grid;
    CGridSheet& sheet;
    CGridNavigator& navigator;
    CGridWindows& windows;
    CGridPainter& painter;
};

// The cell type of a cell and its resolved record.
inline CCellTypeHandler* CellTypeAt(CCellGrid& grid, int column, int row, CCellRecord* record) {
    grid.GetResolvedCell(column, row, record);
    return grid.GetCellType(record->GetCellType());
}
