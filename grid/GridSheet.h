#pragma once
// The state of one sheet of a grid: its columns and rows (each a CGridAxis), the column
// table, the default cells, the options, the data source, the joined blocks and the
// rectangles of the last layout.
//
// Everyone reads it through a const reference (CCellGrid::Sheet()); only the grid's own
// parts change it, through the operations below, which keep its tables in step: the
// column table with the column count, the columns' sources with the sheet's source, the
// axes' room with the layout.

#include "CellRecord.h"
#include "CellSource.h"
#include "GridAxis.h"
#include "GridJoins.h"

#include <QCursor>
#include <QPen>
#include <QRect>
#include <memory>
#include <vector>

class QFont;

// One entry of the column table (its width is kept by the column axis).
struct CGridColumn {
    CCellSource* source = nullptr; // the sheet's source unless replaced
    CCellRecord defaultCell;       // copied from the grid default when the column is made
    int dataColumn = 0;            // the column number used with the data source
};

// What started the move in progress.
namespace GridInput {
enum : int { Keyboard = 0, LeftButton = 1, RightButton = 2, Drag = 3, ScrollBar = 4 };
}

// Plain options of a sheet; the grid's setters check their ranges.
struct CGridOptions {
    // The current row drawn as current, and the highlight mode the cell types consult.
    int rowHighlight = 0, selectionHighlight = 1;
    // Thumb dragging: 0 the view moves when the thumb is let go, 1 it follows the thumb.
    int vScrollMode = 0, hScrollMode = 0;
    // Moves land on a joined block's start; grid lines; text running over empty cells.
    int joinFollow = 1, drawGridLines = 1, allowOverflow = 1;
    // Divider dragging of columns, and the best fit on a divider's double click.
    int columnSizing = 1, bestFit = 1;
    // Pixels between a cell's edge and left- or right-aligned text.
    int textMargin = 4;
    // The hint window over cells and beside a dragged thumb.
    int useHints = 0, useScrollHints = 0;
    QPen gridLinePen;
    const QFont* defaultFont = nullptr;
    // Sizes asked for the scroll bars and the sheet-tab strip.
    int vScrollWidth = 17, hScrollHeight = 17, tabWidth = 0;
};

// The rectangles of the last layout, in grid client coordinates.
struct CGridLayout {
    QRect cellArea;
    QRect topHeading;
    QRect sideHeading;
    QRect corner;
    QRect vScroll;
    QRect hScroll;
    QRect tabs;
};

class CGridSheet {
public:
    CGridSheet();

    // --- Reading ---------------------------------------------------------------------
    const CGridAxis& Columns() const { return m_columns; }
    const CGridAxis& Rows() const { return m_rows; }
    int ColumnCount() const { return m_columns.Count(); }
    int RowCount() const { return m_rows.Count(); }
    // Width of any column and height of any row; heading columns and rows are negative.
    int ColumnWidth(int column) const { return m_columns.Size(column); }
    int RowHeight(int row) const { return m_rows.Size(row); }
    int TopHeadingRows() const { return m_rows.HeadingCount(); }
    int SideHeadingColumns() const { return m_columns.HeadingCount(); }
    int TopHeadingHeight() const { return m_rows.HeadingExtent(); }
    int SideHeadingWidth() const { return m_columns.HeadingExtent(); }
    const CCellRecord& GridDefault() const { return m_gridDefault; }
    const CCellRecord& HeadingDefault() const { return m_headingDefault; }
    // The entry of column 0 <= column < ColumnCount().
    const CGridColumn& Column(int column) const { return m_table[static_cast<size_t>(column)]; }
    const CGridOptions& Options() const { return m_options; }
    const CGridLayout& Layout() const { return m_layout; }
    CCellSource* Source() const { return m_source.get(); }
    const CJoinBlocks& Joins() const { return m_joins; }
    int InputKind() const { return m_inputKind; }
    const QCursor& ArrowCursor() const { return m_arrowCursor; }
    const QCursor& WestEastCursor() const { return m_westEastCursor; }
    const QCursor& NorthSouthCursor() const { return m_northSouthCursor; }

    // The source holding a cell and the column number it knows the cell by (heading
    // cells and columns beyond the count: the sheet's source, the same number).
    CCellSource* SourceOf(int column, int row, int* dataColumn) const;
    // The joined block holding the cell (of the columns counted); false when it has none.
    bool FindBlock(int column, int row, CGridBlock* block) const;
    // The joined block holding the cell, or the cell alone.
    CGridBlock BlockOf(int column, int row) const;
    // A block's rectangle in cell-area coordinates (heading cells lie before the origin).
    QRect BlockRect(const CGridBlock& block) const;

    // --- Changing (the grid's own parts) ---------------------------------------------
    CGridAxis& Columns() { return m_columns; }
    CGridAxis& Rows() { return m_rows; }
    CJoinBlocks& Joins() { return m_joins; }
    CGridOptions& Options() { return m_options; }
    // New columns get the default width, the sheet's source, a copy of the grid default
    // and their own number as data column.
    void SetColumnCount(int count);
    // Above 64000 rows the heights become uniform.
    void SetRowCount(int count);
    // A row inserted before row, or row deleted: heights, count and joins follow (the
    // source has been told by the grid).
    void InsertRow(int row);
    void DeleteRow(int row);
    void SetGridDefault(const CCellRecord& record) { m_gridDefault.ReplaceWith(record); }
    void SetHeadingDefault(const CCellRecord& record) { m_headingDefault.ReplaceWith(record); }
    void SetColumnDefault(int column, const CCellRecord& record);
    // Columns reading the old source read the new one.
    void SetSource(std::unique_ptr<CCellSource> source);
    // Stores the rectangles and gives the axes the cell area's room.
    void SetLayout(const CGridLayout& layout);
    void SetInputKind(int kind) { m_inputKind = kind; }

private:
    CGridAxis m_columns{75, 25, 40, false};
    CGridAxis m_rows{20, 20, 20, true};
    std::vector<CGridColumn> m_table;
    CCellRecord m_gridDefault;
    CCellRecord m_headingDefault;
    CGridOptions m_options;
    CGridLayout m_layout;
    std::unique_ptr<CCellSource> m_source;
    CJoinBlocks m_joins;
    int m_inputKind = GridInput::Keyboard;
    QCursor m_arrowCursor{Qt::ArrowCursor};
    QCursor m_westEastCursor{Qt::SizeHorCursor};
    QCursor m_northSouthCursor{Qt::SizeVerCursor};
};
