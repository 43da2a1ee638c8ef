#pragma once
// The moves of a grid's current cell and of its view. Every move, whatever started it
// (a key, the mouse, a scroll bar, the owner), is vetted by the data source and the
// grid's hooks, clamped, followed through joined blocks, scrolled into view and then
// completed: the hooks learn of it in the order column, row, cell, left column, top row,
// the cell types of the old and the new current cell lose and get the focus, and the
// windows show what changed.

#include <Qt>

class CCellGrid;
class CGridSheet;
class CGridWindows;

class CGridNavigator {
public:
    CGridNavigator(CCellGrid& grid, CGridSheet& sheet, CGridWindows& windows);

    // Return codes: 0 moved (or nothing to do), 1 out of range or already at the edge,
    // 2 refused by the data source or OnCanMove.
    int GotoCell(int column, int row);
    int GotoRow(int row);
    int GotoColumn(int column);
    // Moves the view, clamped to where it may scroll; 2 when refused.
    int MoveView(int leftColumn, int topRow);
    // Ends a move: the hooks, the cell types' focus, the repaint.
    void CompleteMove();

    // A key in the cell area: offered to the current cell's type and the key hook, then
    // moves. True when either consumed it.
    bool KeyDown(int key);
    // The view reached the last row: asks the data source and the hook for more.
    void AskForRows(int rowsPast);

    // The key modifiers of the input being handled.
    Qt::KeyboardModifiers Modifiers() const { return m_modifiers; }
    void SetModifiers(Qt::KeyboardModifiers modifiers) { m_modifiers = modifiers; }

private:
    // GotoRow and GotoColumn: the same steps along either axis.
    int GotoSlot(bool rows, int index);

    CCellGrid& m_grid;
    CGridSheet& m_sheet;
    CGridWindows& m_windows;
    Qt::KeyboardModifiers m_modifiers;
};
