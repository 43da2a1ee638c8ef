#pragma once
// The component windows of a grid as a whole: making and deleting them, laying them out
// in the grid's client area, keeping the scroll bars in step with the view, and asking
// them to repaint what changed: everything, a cell, a row, the current cell, or the
// picture after a move (scrolled when the view moved less than a window).
//
// When the rows end above the bottom of the cell area, the data source and the hook are
// asked for more (OnHitBottom) once the event loop is idle again, never while painting.

#include "GridComponents.h"

#include <QTimer>

class CCellGrid;
class CGridSheet;
struct CGridParts;

class CGridWindows {
public:
    CGridWindows(CCellGrid& grid, CGridSheet& sheet);

    // Makes the component windows as children of the grid; false when one could not
    // be made.
    bool Create(CGridParts& parts);
    // Deletes every child window of the grid (its teardown, while all they read exists).
    void Destroy();

    CGridCellArea* CellArea() const { return m_cellArea; }
    CGridTopHeading* TopHeading() const { return m_topHeading; }
    CGridSideHeading* SideHeading() const { return m_sideHeading; }
    CGridCorner* Corner() const { return m_corner; }
    CGridScrollBar* VScrollBar() const { return m_vScroll; }
    CGridScrollBar* HScrollBar() const { return m_hScroll; }
    CGridHintWnd* HintWindow() const { return m_hint; }

    // Lays the windows out, then the furthest the view may scroll and the scroll bars.
    void Layout();
    void UpdateScrollBars();

    // Repaints (RedrawAll only while the grid's redraw is on).
    void RedrawAll();
    void RedrawCell(int column, int row);
    void RedrawRow(int row);
    // The current cell's rectangle, or its row's under row highlighting.
    void InvalidateCurrent(int column, int row);
    // After a move from the old current cell and view.
    void ShowMove(int oldColumn, int oldRow, int oldLeft, int oldTop, bool cellChanged);

    void SetTrackingWindow(QWidget* window);
    void MoveTrackingWindow();

private:
    void ScheduleBottomCheck();
    void CheckBottom();

    CCellGrid& m_grid;
    CGridSheet& m_sheet;
    CGridParts* m_parts = nullptr;
    CGridCellArea* m_cellArea = nullptr;
    CGridTopHeading* m_topHeading = nullptr;
    CGridSideHeading* m_sideHeading = nullptr;
    CGridCorner* m_corner = nullptr;
    CGridScrollBar* m_vScroll = nullptr;
    CGridScrollBar* m_hScroll = nullptr;
    QWidget* m_tabs = nullptr;
    CGridHintWnd* m_hint = nullptr;
    QWidget* m_trackingWindow = nullptr;
    bool m_inLayout = false;
    QTimer m_bottomCheck;
};
