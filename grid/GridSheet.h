#pragma once
// The state of one sheet of a grid: counts, sizes, the current cell and the view, the
// default cells, options, the data source and the rectangles of the last layout.

#include "CellRecord.h"
#include "CellSource.h"

#include <QCursor>
#include <QPen>
#include <QRect>
#include <memory>
#include <vector>

// One entry of the column table.
struct CGridColumn {
    int width = 75;
    CCellSource* source = nullptr; // the sheet's source unless replaced
    CCellRecord defaultCell;       // copied from the grid default when the column is made
    int dataColumn = 0;            // the column number used with the data source
};

// What started the move in progress.
namespace GridInput {
enum : int { Keyboard = 0, LeftButton = 1, RightButton = 2, Drag = 3, ScrollBar = 4 };
}

class CGridSheet {
public:
    CGridSheet();

    // Columns.
    int columnCount = 0;
    int currentColumn = -1;
    int previousColumn = -1;
    int leftColumn = 0;
    int previousLeftColumn = 0;
    int targetColumn = -1;
    std::vector<CGridColumn> columns;
    int defaultColumnWidth = 75;

    // Rows.
    int rowCount = 0;
    int currentRow = -1;
    int previousRow = -1;
    int topRow = 0;
    int previousTopRow = 0;
    int targetRow = -1;
    std::vector<int> rowHeights; // per-row heights when uniformRowHeight is 0
    int uniformRowHeight = 0;
    int defaultRowHeight = 20;

    // Headings: index 0 is heading row -1 (next to the cells), index 1 row -2, and so on;
    // the same for the side heading columns.
    std::vector<int> topHeadingHeights{20};
    std::vector<int> sideHeadingWidths{25};
    CCellRecord gridDefault;
    CCellRecord headingDefault;
    int topHeadingHeight = 20;
    int sideHeadingWidth = 40;
    int vScrollWidth = 17;
    int hScrollHeight = 17;
    int tabWidth = 0;

    // Frozen columns and rows at the left and top.
    int lockedColumns = 0;
    int lockedRows = 0;
    int lockedWidth = 0;
    int lockedHeight = 0;

    // Behaviour options.
    int rowHighlight = 0;
    int selectionHighlight = 1;
    int vScrollMode = 0;
    int hScrollMode = 0;
    int joinFollow = 1;
    int drawGridLines = 1;
    int allowOverflow = 1;
    int columnSizing = 1;
    int bestFit = 1;
    int textMargin = 4;
    QPen gridLinePen;
    const QFont* defaultFont = nullptr;

    // The data source.
    std::unique_ptr<CCellSource> source;

    // Cursors.
    QCursor arrowCursor{Qt::ArrowCursor};
    QCursor westEastCursor{Qt::SizeHorCursor};
    QCursor northSouthCursor{Qt::SizeVerCursor};

    // Move in progress.
    int inputKind = GridInput::Keyboard;

    // Rectangles of the last layout (grid client coordinates) and the cell area size.
    QRect cellAreaRect;
    QRect topHeadingRect;
    QRect sideHeadingRect;
    QRect cornerRect;
    QRect vScrollRect;
    QRect hScrollRect;
    QRect tabRect;
    int cellAreaWidth = 0;
    int cellAreaHeight = 0;
    // The furthest the view may scroll.
    int lastLeftColumn = 0;
    int lastTopRow = 0;

    // Height of row (any row, also beyond the count), width of a column; heading rows
    // and columns are negative.
    int RowHeight(int row) const;
    int ColumnWidth(int column) const;
    int TopHeadingRows() const { return static_cast<int>(topHeadingHeights.size()); }
    int SideHeadingColumns() const { return static_cast<int>(sideHeadingWidths.size()); }
    void RecalcLocked();
};
