#pragma once
// Painting of a grid's cell area, headings and corner through the cell types. One pass
// serves them all: the visible rows by the visible columns, each joined block drawn once
// over its whole rectangle the first time one of its cells comes up.

#include "GridAxis.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

class CCellGrid;
class CGridSheet;
class QPainter;

class CGridPainter {
public:
    CGridPainter(CCellGrid& grid, const CGridSheet& sheet);

    // Each paints a window of the given size; dirty is the part asked for.
    void PaintCellArea(QPainter* dc, const QRect& dirty, const QSize& size, bool focused);
    // The top heading (top), or the side heading.
    void PaintHeading(QPainter* dc, const QRect& dirty, const QSize& size, bool top);
    void PaintCorner(QPainter* dc, const QSize& size);
    // The width that fits a column's contents (a double click on its divider).
    int BestFitWidth(int column);

private:
    // Draws the cells of rows x columns inside dirty; block rectangles (cell-area
    // coordinates) are moved by offset into the window's. With focus, the current cell
    // is drawn as current and its rectangle stored there.
    void PaintCells(QPainter* dc, const QRect& dirty, const std::vector<CGridSlot>& rows,
                    const CGridSlots& columns, const QPoint& offset, QRect* focus);
    void Prepare(QPainter* dc, int section);

    CCellGrid& m_grid;
    const CGridSheet& m_sheet;
};
