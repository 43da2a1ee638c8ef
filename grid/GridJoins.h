#pragma once
// The joined blocks of a grid: rectangles of cells drawn, hit and moved to as one cell.
// A block lies wholly in one area: the cells, the top heading rows, the side heading
// columns, or the corner; blocks never overlap. Every cell of a block finds it in a
// step: the blocks are kept row by row, each row holding the column spans of the blocks
// that cross it, sorted, and a table holds each block's rows. Inserting or deleting a row
// or a column moves, grows or shrinks the blocks it touches; a row taken off the top, as a
// grid is emptied, costs only the blocks in that row.
//
// After every change the whole structure is checked when checking is on (debug builds,
// the tests); a broken invariant stops the program there, where it broke.

#include <deque>
#include <vector>

// A block: its start (top left) and end (bottom right) cells, both included.
struct CGridBlock {
    int startColumn = 0;
    int startRow = 0;
    int endColumn = 0;
    int endRow = 0;
    bool operator==(const CGridBlock& o) const {
        return startColumn == o.startColumn && startRow == o.startRow && endColumn == o.endColumn &&
               endRow == o.endRow;
    }
};

class CJoinBlocks {
public:
    // The block holding the cell; false when the cell is not joined.
    bool Find(int column, int row, CGridBlock* block = nullptr) const;
    // Adds a block; 1 (and nothing changes) when it is reversed, overlaps a block or
    // spreads over two areas.
    int Join(const CGridBlock& block);
    // Removes the block holding the cell; 1 when there is none.
    int Unjoin(int column, int row);
    void Clear();
    bool IsEmpty() const;

    // A cell row (row >= 0) inserted before row or deleted: blocks below move, blocks
    // across it grow or shrink; a block left without rows is gone.
    void InsertRow(int row);
    void DeleteRow(int row);
    // Every block of the cell rows from row on goes.
    void DeleteRowsFrom(int row);
    // The same for a cell column (column >= 0).
    void InsertColumn(int column);
    void DeleteColumn(int column);

    // Every invariant: spans sorted and apart, each block whole over its rows and in one
    // area.
    bool IsConsistent() const;
    // Whether changes check the structure (on in debug builds).
    static void SetChecking(bool on);
    static bool Checking();

private:
    // A block's rows: its start (for cell blocks counted from m_base, so that a row taken
    // off the top moves every block at once) and how many rows it has below the start.
    struct Block {
        int start = 0;
        int rowSpan = 0;
        int firstColumn = 0;
        int lastColumn = 0;
        bool heading = false; // lies in the heading rows
        bool inUse = false;
    };
    // The part of a block in one row: its columns and the block.
    struct Span {
        int firstColumn;
        int lastColumn;
        int block;
    };
    using Row = std::vector<Span>;

    const Row* RowOf(int row) const;
    Row* RowOf(int row, bool create);
    static const Span* SpanAt(const Row& row, int column);
    static void Insert(Row& row, const Span& span);
    static void Erase(Row& row, int block);
    int StartRow(const Block& block) const;
    int NewBlock(const Block& block);
    void FreeBlock(int block);
    void Verify() const;

    std::vector<Block> m_blocks;
    std::vector<int> m_free;
    std::vector<Row> m_headingRows; // index 0 is row -1
    std::deque<Row> m_rows;         // cell rows from 0
    int m_base = 0;                 // stored start of a cell block = its row + m_base
};
