#pragma once
// The grid's own cell store: a doubly linked list of rows, each a doubly linked list of
// cells, with a cursor that moves step by step from the last cell touched, so reading or
// filling a grid row by row, column by column costs one step per cell. Rows and cells are
// created on the way when a cell is written, in either direction, so heading rows and
// columns (negative numbers) are stored before row 0 and column 0.

#include "CellRecord.h"
#include "CellSource.h"

class CMemoryCellSource : public CCellSource {
public:
    CMemoryCellSource();
    ~CMemoryCellSource() override;
    CMemoryCellSource(const CMemoryCellSource&) = delete;
    CMemoryCellSource& operator=(const CMemoryCellSource&) = delete;

    int AppendRow() override;
    int InsertRow(int row) override;
    int AppendColumn() override;
    int InsertColumn(int column) override;
    int DeleteRow(int row) override;
    int DeleteColumn(int column) override;
    int DeleteCell(int column, int row) override;
    int DeleteAll() override;
    int DeleteRowsFrom(int row) override;
    int GetCell(int column, int row, CCellRecord* record) override;
    int SetCell(int column, int row, const CCellRecord* record) override;
    int GetPrevNonBlankColumn(int column, int row) override;
    int GetNextNonBlankColumn(int column, int row) override;

    // Rows stored (from the first to the last one written), for tests and diagnostics.
    int GetStoredRowCount() const { return m_rowCount; }
    int GetFirstStoredRow() const { return m_firstRowIndex; }

private:
    struct CellNode {
        CellNode* prev = nullptr;
        CellNode* next = nullptr;
        bool hasRecord = false;
        CCellRecord record;
    };
    struct RowNode {
        RowNode* prev = nullptr;
        RowNode* next = nullptr;
        CellNode* first = nullptr;
        CellNode* last = nullptr;
        int firstColumn = 0;
        int cellCount = 0;
    };

    // The row node of row, or nullptr; with create, missing nodes are made on the way.
    RowNode* FindRow(int row, bool create);
    CellNode* FindCell(RowNode* rowNode, int row, int column, bool create);
    static void FreeCells(RowNode* rowNode);
    void ResetCursor();
    // Any change of the cells: the last answer about text to the left no longer holds.
    void Changed() { m_prevText.valid = false; }

    RowNode* m_firstRow = nullptr;
    RowNode* m_lastRow = nullptr;
    int m_firstRowIndex = 0;
    int m_rowCount = 0;
    // Cursor: the last row and cell touched.
    RowNode* m_curRow = nullptr;
    int m_curRowIndex = 0;
    CellNode* m_curCell = nullptr;
    int m_curCellIndex = 0;
    // The last GetPrevNonBlankColumn: in row, the nearest cell with text left of column
    // is answer. Asked again further right in the row, only the cells between are read,
    // so painting a row from left to right reads each of its cells once.
    struct PrevText {
        bool valid = false;
        int row = 0;
        int column = 0;
        int answer = -1;
    } m_prevText;
};
