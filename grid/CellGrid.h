#pragma once
// CCellGrid: the spreadsheet-like grid control. It keeps a table of cells addressed by
// column and row (headings at -1, -2, ...), column widths and row heights, a current cell
// and a record of properties per cell, and paints them through its cell types in its
// component windows. Subclasses customise it only through the virtual On... hooks.
//
// Return codes: 0 success, 1 an argument out of range, 2 refused by a hook or the data
// source. Colours are 0x00BBGGRR. Fonts, pens and bitmaps referred to by cells belong to
// the grid's owner and must outlive the grid's use of them.

#include "CellRecord.h"
#include "CellSource.h"
#include "CellTypeHandler.h"
#include "GridPrintOptions.h"
#include "GridSheet.h"

#include <QPen>
#include <QWidget>
#include <memory>
#include <vector>

class CGridCellArea;
class CGridTopHeading;
class CGridSideHeading;
class CGridCorner;
class CGridScrollBar;
class CGridHintWnd;
class CGridWindows;
class CGridNavigator;
class CGridPainter;
struct CGridParts;
class QPainter;

// Sections: the component windows, as the hooks name them.
namespace GridSection {
// clang-format off
enum : int {
    CellArea = 1, TopHeading = 2, SideHeading = 3, Corner = 4,
    HScroll = 5, VScroll = 6, Tabs = 7, Hint = 8
};
// clang-format on
} // namespace GridSection

// Indices of the cell types every grid registers.
namespace GridCellType {
enum : int { Text = 0, DropList = 1, CheckBox = 2, Arrow = 3 };
}

class CCellGrid : public QWidget {
    Q_OBJECT

public:
    explicit CCellGrid(QWidget* parent = nullptr);
    ~CCellGrid() override;

    // --- Set-up -----------------------------------------------------------------------
    // Takes over the dialog's control with that id (dynamic property "dlgId", objectName
    // "id<N>"): same parent, geometry and id; the placeholder is removed. Then lays out
    // and runs OnGridSetup and OnSheetSetup(0). 1 when no such control exists.
    int AttachToDialogItem(QWidget* dialog, int id);
    // Places the grid as a child of parent at rect with the id, then as above.
    int CreateGrid(QWidget* parent, const QRect& rect, int id);
    // True when a component could not be made; such a grid does not finish its set-up.
    bool IsFailed() const { return m_failed; }
    // True once the destructor has started: component windows must not call hooks then.
    bool IsTearingDown() const { return m_tearingDown; }

    // --- Defaults ---------------------------------------------------------------------
    int GetGridDefault(CCellRecord* record) const;
    // Columns take a copy when they are created: set it before SetColumnCount.
    int SetGridDefault(const CCellRecord* record);
    int GetHeadingDefault(CCellRecord* record) const;
    int SetHeadingDefault(const CCellRecord* record);
    int GetColumnDefault(int column, CCellRecord* record) const;
    int SetColumnDefault(int column, const CCellRecord* record);

    // --- Columns and rows -------------------------------------------------------------
    int SetColumnCount(int count, int redraw = 1);
    int GetColumnCount() const { return m_sheet->ColumnCount(); }
    int SetRowCount(int count, int redraw = 1);
    int GetRowCount() const { return m_sheet->RowCount(); }
    int SetColumnWidth(int column, int width);
    // The width, or 1 for an invalid column.
    int GetColumnWidth(int column) const;
    int GetColumnWidth(int column, int* width) const;
    int SetDefaultColumnWidth(int width);
    int SetDefaultRowHeight(int height);
    int GetDefaultRowHeight() const { return m_sheet->Rows().DefaultSize(); }
    int SetUniformRowHeight(int flag);
    int GetUniformRowHeight() const { return m_sheet->Rows().Uniform() ? 1 : 0; }
    int SetRowHeight(int row, int height);
    // The height, 0 for an invalid row (heading rows are negative).
    int GetRowHeight(int row) const;
    int AppendRow();
    int InsertRow(int row);
    int DeleteRow(int row);
    int LockColumns(int count);
    int LockRows(int count);
    int GetLockedColumns() const { return m_sheet->Columns().Locked(); }
    int GetLockedRows() const { return m_sheet->Rows().Locked(); }
    int JoinCells(int startColumn, int startRow, int endColumn, int endRow);
    int UnjoinCells(int column, int row);
    // The block containing the cell; 1 when the cell is not joined.
    int GetJoinRange(int column, int row, int* startColumn, int* startRow, int* endColumn,
                     int* endRow);

    // --- Cells ------------------------------------------------------------------------
    // The cell as stored, no defaults. 1 when the column is beyond the count.
    int GetCell(int column, int row, CCellRecord* record);
    // OnSetCell, then the stored record is replaced by record.
    int SetCell(int column, int row, CCellRecord* record);
    // The cell as drawn: defaults, stored record, OnGetCell, adjuster and style record.
    int GetResolvedCell(int column, int row, CCellRecord* record);
    int DeleteCell(int column, int row);
    int SetCellText(int column, int row, const QString& text);
    int GetCellText(int column, int row, QString* text);
    int SetCellFont(int column, int row, const QFont* font);
    int SetCellBorder(int column, int row, int style);
    int SetCellTypeIndex(int column, int row, int index);
    int SetCellTypeStyle(int column, int row, int style);

    // --- Headings and component sizes -------------------------------------------------
    int SetTopHeadingHeight(int height);
    int GetTopHeadingHeight() const { return m_sheet->TopHeadingHeight(); }
    int SetSideHeadingWidth(int width);
    int GetSideHeadingWidth() const { return m_sheet->SideHeadingWidth(); }
    int SetTopHeadingRowCount(int count);
    int GetTopHeadingRowCount() const { return m_sheet->TopHeadingRows(); }
    int SetTopHeadingRowHeight(int row, int height);
    int SetSideHeadingColumnCount(int count);
    int GetSideHeadingColumnCount() const { return m_sheet->SideHeadingColumns(); }
    int SetVScrollWidth(int width);
    int SetHScrollHeight(int height);

    // --- Behaviour options ------------------------------------------------------------
    int SetSelectionHighlight(int mode);
    int GetSelectionHighlight() const { return m_sheet->Options().selectionHighlight; }
    int SetRowHighlight(int flag);
    int GetRowHighlight() const { return m_sheet->Options().rowHighlight; }
    int SetVScrollMode(int mode);
    int SetHScrollMode(int mode);
    int EnableRedraw(int flag);
    int IsRedrawEnabled() const { return m_redrawEnabled; }
    int SetDrawGridLines(int flag);
    int SetGridLinePen(const QPen& pen);
    int SetTextMargin(int margin);
    int SetDefaultFont(const QFont* font);
    int SetJoinFollow(int flag);
    int SetTextOverflow(int flag);
    // Optional hint window over cells (OnHint) and beside a dragged thumb (OnVScrollHint,
    // OnHScrollHint); off unless an owner turns it on.
    int UseHints(int flag);
    int UseScrollHints(int flag);
    // An optional floating window the grid keeps beside the current cell.
    void SetTrackingWindow(QWidget* window);

    // --- Current cell and view --------------------------------------------------------
    int GetCurrentColumn() const { return m_sheet->Columns().Current(); }
    int GetCurrentRow() const { return m_sheet->Rows().Current(); }
    int GetLeftColumn() const { return m_sheet->Columns().First(); }
    int GetTopRow() const { return m_sheet->Rows().First(); }
    int GotoCell(int column, int row);
    int GotoRow(int row);
    int GotoColumn(int column);
    // Moves the view (not the current cell).
    int SetTopRow(int row);
    int SetLeftColumn(int column);
    int GetLastTopRow() const { return m_sheet->Rows().Last(); }
    int GetLastLeftColumn() const { return m_sheet->Columns().Last(); }

    // --- Repainting -------------------------------------------------------------------
    void RedrawAll();
    void RedrawCell(int column, int row);
    void RedrawRow(int row);

    // --- Geometry ---------------------------------------------------------------------
    // The cell's rectangle in cell-area coordinates (the whole block for a joined cell);
    // 1 when the cell is not shown.
    int GetCellRect(int column, int row, QRect* rect);
    // The cell under a point of the cell area; 1 when the point is outside all cells.
    int GetCellFromPoint(const QPoint& point, int* column, int* row);
    // Lays the component windows out again.
    void AdjustComponentSizes();

    // --- Printing ---------------------------------------------------------------------
    int SetPrintOption(int option, int value);
    int GetPrintOption(int option, int* value) const;
    const CGridPrintOptions& GetPrintOptions() const { return m_printOptions; }

    // --- Cell types, source, components -----------------------------------------------
    // Takes the type into the first free slot and returns its index.
    int AddCellType(std::unique_ptr<CCellTypeHandler> type);
    int RemoveCellType(int index);
    // The registered type at index; the text type for 0 or any unused index.
    CCellTypeHandler* GetCellType(int index) const;
    int SetDataSource(std::unique_ptr<CCellSource> source);
    CCellSource* GetDataSource() const { return m_sheet->Source(); }
    // The sheet, to read: only the grid's own parts change it.
    const CGridSheet& Sheet() const { return *m_sheet; }
    CGridCellArea* CellArea() const;
    CGridTopHeading* TopHeading() const;
    CGridSideHeading* SideHeading() const;
    CGridCorner* Corner() const;
    CGridScrollBar* VScrollBar() const;
    CGridScrollBar* HScrollBar() const;
    CGridHintWnd* HintWindow() const;
    const QPen& WhitePen() const { return m_whitePen; }
    const QPen& ShadowPen() const { return m_shadowPen; }
    // The key modifiers of the key or mouse event being handled.
    Qt::KeyboardModifiers CurrentModifiers() const;

    // --- Hooks, in their fixed order --------------------------------------------------
    // Subclasses override what they need; the defaults allow (1) or do nothing. Sections
    // are GridSection values; rectangles and points are in the coordinates of the window
    // that received the input; "processed" is what the cell type answered.
    virtual void OnSetFocus(int section);
    virtual void OnGridSetup();
    virtual void OnSheetSetup(int sheet);
    virtual int OnCanMove(int oldColumn, int oldRow, int newColumn, int newRow);
    virtual int OnCanViewMove(int oldColumn, int oldRow, int newColumn, int newRow);
    virtual void OnHitBottom(int rowCount, int rowsPast, int* rowsFound);
    virtual void OnReserved1();
    virtual int OnCanSizeColumn(int column);
    virtual void OnColumnSizing(int column, int* width);
    virtual void OnColumnSized(int column, int* width);
    virtual int OnCanSizeRow(int row);
    virtual void OnRowSizing(int row, int* height);
    virtual void OnRowSized(int row, int* height);
    virtual int OnCanSizeTopHeading();
    virtual int OnCanSizeSideHeading();
    virtual void OnTopHeadingSizing(int* height);
    virtual void OnSideHeadingSizing(int* width);
    virtual void OnTopHeadingSized(int* height);
    virtual void OnSideHeadingSized(int* width);
    virtual void OnColumnChange(int oldColumn, int newColumn);
    virtual void OnRowChange(int oldRow, int newRow);
    virtual void OnCellChange(int oldColumn, int newColumn, int oldRow, int newRow);
    virtual void OnLeftColumnChange(int oldColumn, int newColumn);
    virtual void OnTopRowChange(int oldRow, int newRow);
    virtual void OnCellClick(int column, int row, int buttonDown, const QRect& rect,
                             const QPoint& point, int processed);
    virtual void OnCellRightClick(int column, int row, int buttonDown, const QRect& rect,
                                  const QPoint& point, int processed);
    virtual void OnCellDoubleClick(int column, int row, const QRect& rect, const QPoint& point,
                                   int processed);
    virtual void OnMouseMoveOverCell(int column, int row, const QPoint& point, int flags);
    virtual void OnTopHeadingClick(int column, int row, int buttonDown, const QRect& rect,
                                   const QPoint& point, int processed);
    virtual void OnTopHeadingRightClick(int column, int row, int buttonDown, const QRect& rect,
                                        const QPoint& point, int processed);
    virtual void OnTopHeadingDoubleClick(int column, int row, const QRect& rect,
                                         const QPoint& point, int processed);
    virtual void OnSideHeadingClick(int column, int row, int buttonDown, const QRect& rect,
                                    const QPoint& point, int processed);
    virtual void OnSideHeadingRightClick(int column, int row, int buttonDown, const QRect& rect,
                                         const QPoint& point, int processed);
    virtual void OnSideHeadingDoubleClick(int column, int row, const QRect& rect,
                                          const QPoint& point, int processed);
    virtual void OnCornerClick(int buttonDown, const QRect& rect, const QPoint& point,
                               int processed);
    virtual void OnCornerRightClick(int buttonDown, const QRect& rect, const QPoint& point,
                                    int processed);
    virtual void OnCornerDoubleClick(const QRect& rect, const QPoint& point, int processed);
    // Keys are Qt key codes; setting *key to 0 consumes it.
    virtual void OnKeyDown(int* key, int processed);
    // Characters are Unicode code points.
    virtual void OnCharTyped(int* key, int processed);
    virtual void OnGetCell(int column, int row, CCellRecord* record);
    virtual void OnSetCell(int column, int row, CCellRecord* record);
    virtual void OnReserved2();
    // Messages of GridNotify; param as documented there.
    virtual int OnCellTypeNotify(int typeIndex, int column, int row, int message, qintptr param);
    virtual int OnEditStart(int column, int row, QWidget** editor);
    virtual int OnEditVerify(int column, int row, QWidget* editor, int* key);
    virtual int OnEditFinish(int column, int row, QWidget* editor, const QString& text,
                             int cancelled);
    virtual int OnEditContinue(int oldColumn, int oldRow, int* newColumn, int* newRow);
    virtual void OnMenuCommand(int column, int row, int section, int item);
    virtual int OnMenuStart(int column, int row, int section);
    virtual int OnHint(int column, int row, int section, QString* text);
    virtual int OnVScrollHint(int row, QString* text);
    virtual int OnHScrollHint(int column, QString* text);
    // Negative when a sorts before b; flag 2 swaps them.
    virtual int OnSortCompare(const CCellRecord* a, const CCellRecord* b, int flags);
    virtual void OnSetupDevice(QPainter* dc, QPainter* secondDc, int section);
    virtual void OnComponentsLaidOut(QRect* cellArea, QRect* topHeading, QRect* sideHeading,
                                     QRect* corner, QRect* vScroll, QRect* hScroll, QRect* tabs);
    virtual void OnTabSelected(int tab);
    virtual GridColor OnGetDefaultBackColor(int section);
    virtual void OnDrawFocusRect(QPainter* dc, const QRect& rect);
    virtual void OnKillFocus(int section);
    virtual int OnCanDragColumn(int column);
    virtual int OnCanDropColumn(int fromColumn, int toColumn);
    virtual void OnTrackingWindowMove(const QRect& rect, QRect* newRect);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct TypeSlot {
        bool inUse = false;
        std::unique_ptr<CCellTypeHandler> type;
        int data = 0;
    };

    void FinishSetup();
    // Lays a cell's joined block over its record (the blocks are kept by the sheet).
    void ApplyJoin(int column, int row, CCellRecord* record) const;

    std::unique_ptr<CGridSheet> m_sheet;
    std::vector<TypeSlot> m_types;
    std::unique_ptr<CGridWindows> m_windows;
    std::unique_ptr<CGridNavigator> m_navigator;
    std::unique_ptr<CGridPainter> m_painter;
    std::unique_ptr<CGridParts> m_parts;
    int m_redrawEnabled = 1;
    bool m_failed = false;
    bool m_tearingDown = false;
    CCellRecord m_scratch;
    QPen m_whitePen;
    QPen m_shadowPen;
    CGridPrintOptions m_printOptions;
};
