#include "MemoryCellSource.h"

#include <algorithm>
#include <cstdlib>

CMemoryCellSource::CMemoryCellSource() = default;

CMemoryCellSource::~CMemoryCellSource() {
    DeleteAll();
}

void CMemoryCellSource::ResetCursor() {
    m_curRow = m_firstRow;
    m_curRowIndex = m_firstRowIndex;
    m_curCell = nullptr;
    m_curCellIndex = 0;
}

void CMemoryCellSource::FreeCells(RowNode* rowNode) {
    CellNode* cell = rowNode->first;
    while (cell) {
        CellNode* next = cell->next;
        delete cell;
        cell = next;
    }
    rowNode->first = rowNode->last = nullptr;
    rowNode->cellCount = 0;
}

CMemoryCellSource::RowNode* CMemoryCellSource::FindRow(int row, bool create) {
    if (m_rowCount == 0) {
        if (!create)
            return nullptr;
        auto* node = new RowNode;
        m_firstRow = m_lastRow = node;
        m_firstRowIndex = row;
        m_rowCount = 1;
        m_curRow = node;
        m_curRowIndex = row;
        m_curCell = nullptr;
        return node;
    }
    const int lastIndex = m_firstRowIndex + m_rowCount - 1;
    if (row < m_firstRowIndex) {
        if (!create)
            return nullptr;
        while (m_firstRowIndex > row) {
            auto* node = new RowNode;
            node->next = m_firstRow;
            m_firstRow->prev = node;
            m_firstRow = node;
            --m_firstRowIndex;
            ++m_rowCount;
        }
        if (m_curRow != m_firstRow)
            m_curCell = nullptr;
        m_curRow = m_firstRow;
        m_curRowIndex = row;
        return m_firstRow;
    }
    if (row > lastIndex) {
        if (!create)
            return nullptr;
        for (int i = lastIndex; i < row; ++i) {
            auto* node = new RowNode;
            node->prev = m_lastRow;
            m_lastRow->next = node;
            m_lastRow = node;
            ++m_rowCount;
        }
        if (m_curRow != m_lastRow)
            m_curCell = nullptr;
        m_curRow = m_lastRow;
        m_curRowIndex = row;
        return m_lastRow;
    }

    // Walk from whichever known node is nearest: the cursor, the first or the last row.
    RowNode* node = m_firstRow;
    int index = m_firstRowIndex;
    int best = row - m_firstRowIndex;
    if (lastIndex - row < best) {
        node = m_lastRow;
        index = lastIndex;
        best = lastIndex - row;
    }
    if (m_curRow && std::abs(row - m_curRowIndex) < best) {
        node = m_curRow;
        index = m_curRowIndex;
    }
    while (index < row) {
        node = node->next;
        ++index;
    }
    while (index > row) {
        node = node->prev;
        --index;
    }
    if (node != m_curRow)
        m_curCell = nullptr;
    m_curRow = node;
    m_curRowIndex = row;
    return node;
}

CMemoryCellSource::CellNode* CMemoryCellSource::FindCell(RowNode* r, int row, int column,
                                                         bool create) {
    (void)row;
    const bool cursorHere = (r == m_curRow && m_curCell != nullptr);
    if (r->cellCount == 0) {
        if (!create)
            return nullptr;
        auto* cell = new CellNode;
        r->first = r->last = cell;
        r->firstColumn = column;
        r->cellCount = 1;
        if (r == m_curRow) {
            m_curCell = cell;
            m_curCellIndex = column;
        }
        return cell;
    }
    const int lastIndex = r->firstColumn + r->cellCount - 1;
    CellNode* cell = nullptr;
    if (column < r->firstColumn) {
        if (!create)
            return nullptr;
        while (r->firstColumn > column) {
            auto* node = new CellNode;
            node->next = r->first;
            r->first->prev = node;
            r->first = node;
            --r->firstColumn;
            ++r->cellCount;
        }
        cell = r->first;
    } else if (column > lastIndex) {
        if (!create)
            return nullptr;
        for (int i = lastIndex; i < column; ++i) {
            auto* node = new CellNode;
            node->prev = r->last;
            r->last->next = node;
            r->last = node;
            ++r->cellCount;
        }
        cell = r->last;
    } else {
        cell = r->first;
        int index = r->firstColumn;
        int best = column - r->firstColumn;
        if (lastIndex - column < best) {
            cell = r->last;
            index = lastIndex;
            best = lastIndex - column;
        }
        if (cursorHere && std::abs(column - m_curCellIndex) < best) {
            cell = m_curCell;
            index = m_curCellIndex;
        }
        while (index < column) {
            cell = cell->next;
            ++index;
        }
        while (index > column) {
            cell = cell->prev;
            --index;
        }
    }
    if (r == m_curRow) {
        m_curCell = cell;
        m_curCellIndex = column;
    }
    return cell;
}

int CMemoryCellSource::AppendRow() {
    return 0;
}

int CMemoryCellSource::InsertRow(int row) {
    Changed();
    if (m_rowCount == 0)
        return 0;
    const int lastIndex = m_firstRowIndex + m_rowCount - 1;
    if (row < m_firstRowIndex) {
        ++m_firstRowIndex;
        ResetCursor();
        return 0;
    }
    if (row > lastIndex)
        return 0;
    RowNode* at = FindRow(row, false);
    auto* node = new RowNode;
    node->next = at;
    node->prev = at->prev;
    if (at->prev)
        at->prev->next = node;
    else
        m_firstRow = node;
    at->prev = node;
    ++m_rowCount;
    ResetCursor();
    return 0;
}

int CMemoryCellSource::AppendColumn() {
    return 0;
}

int CMemoryCellSource::InsertColumn(int column) {
    Changed();
    for (RowNode* r = m_firstRow; r; r = r->next) {
        if (r->cellCount == 0)
            continue;
        const int lastIndex = r->firstColumn + r->cellCount - 1;
        if (column < r->firstColumn) {
            ++r->firstColumn;
            continue;
        }
        if (column > lastIndex)
            continue;
        CellNode* at = r->first;
        for (int i = r->firstColumn; i < column; ++i)
            at = at->next;
        auto* node = new CellNode;
        node->next = at;
        node->prev = at->prev;
        if (at->prev)
            at->prev->next = node;
        else
            r->first = node;
        at->prev = node;
        ++r->cellCount;
    }
    m_curCell = nullptr;
    return 0;
}

int CMemoryCellSource::DeleteRow(int row) {
    Changed();
    if (m_rowCount == 0)
        return 0;
    const int lastIndex = m_firstRowIndex + m_rowCount - 1;
    if (row < m_firstRowIndex) {
        // Every stored row lies below the deleted one and moves up.
        --m_firstRowIndex;
        ResetCursor();
        return 0;
    }
    if (row > lastIndex)
        return 0;
    RowNode* node = FindRow(row, false);
    if (node->prev)
        node->prev->next = node->next;
    else
        m_firstRow = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        m_lastRow = node->prev;
    FreeCells(node);
    delete node;
    --m_rowCount;
    if (m_rowCount == 0)
        m_firstRow = m_lastRow = nullptr;
    ResetCursor();
    return 0;
}

int CMemoryCellSource::DeleteColumn(int column) {
    Changed();
    for (RowNode* r = m_firstRow; r; r = r->next) {
        if (r->cellCount == 0)
            continue;
        const int lastIndex = r->firstColumn + r->cellCount - 1;
        if (column < r->firstColumn) {
            --r->firstColumn;
            continue;
        }
        if (column > lastIndex)
            continue;
        CellNode* at = r->first;
        for (int i = r->firstColumn; i < column; ++i)
            at = at->next;
        if (at->prev)
            at->prev->next = at->next;
        else
            r->first = at->next;
        if (at->next)
            at->next->prev = at->prev;
        else
            r->last = at->prev;
        delete at;
        --r->cellCount;
        if (r->cellCount == 0)
            r->first = r->last = nullptr;
    }
    m_curCell = nullptr;
    return 0;
}

int CMemoryCellSource::DeleteCell(int column, int row) {
    Changed();
    RowNode* r = FindRow(row, false);
    if (!r)
        return 0;
    CellNode* cell = FindCell(r, row, column, false);
    if (cell) {
        cell->hasRecord = false;
        cell->record.Clear();
    }
    return 0;
}

int CMemoryCellSource::DeleteAll() {
    Changed();
    RowNode* r = m_firstRow;
    while (r) {
        RowNode* next = r->next;
        FreeCells(r);
        delete r;
        r = next;
    }
    m_firstRow = m_lastRow = nullptr;
    m_rowCount = 0;
    m_firstRowIndex = 0;
    ResetCursor();
    return 0;
}

int CMemoryCellSource::DeleteRowsFrom(int row) {
    Changed();
    if (m_rowCount == 0)
        return 0;
    if (row <= m_firstRowIndex)
        return DeleteAll();
    const int lastIndex = m_firstRowIndex + m_rowCount - 1;
    if (row > lastIndex)
        return 0;
    RowNode* node = FindRow(row, false);
    m_lastRow = node->prev;
    m_lastRow->next = nullptr;
    while (node) {
        RowNode* next = node->next;
        FreeCells(node);
        delete node;
        node = next;
        --m_rowCount;
    }
    ResetCursor();
    return 0;
}

int CMemoryCellSource::GetCell(int column, int row, CCellRecord* record) {
    RowNode* r = FindRow(row, false);
    if (!r)
        return 1;
    CellNode* cell = FindCell(r, row, column, false);
    if (!cell || !cell->hasRecord)
        return 1;
    if (record)
        record->MergeFrom(cell->record);
    return 0;
}

int CMemoryCellSource::SetCell(int column, int row, const CCellRecord* record) {
    Changed();
    RowNode* r = FindRow(row, true);
    CellNode* cell = FindCell(r, row, column, true);
    if (record) {
        cell->record.ReplaceWith(*record);
        cell->hasRecord = true;
    } else {
        cell->record.Clear();
        cell->hasRecord = false;
    }
    return 0;
}

int CMemoryCellSource::GetPrevNonBlankColumn(int column, int row) {
    RowNode* r = FindRow(row, false);
    if (!r || r->cellCount == 0 || column <= 0)
        return -1;
    const int lastIndex = r->firstColumn + r->cellCount - 1;
    int start = column - 1;
    if (start < r->firstColumn)
        return -1;
    if (start > lastIndex)
        start = lastIndex;
    // Left of the last column asked about in this row the answer is known already.
    const bool known = m_prevText.valid && m_prevText.row == row && m_prevText.column <= column;
    const int stop = std::max(known ? m_prevText.column : 0, 0);
    int answer = known ? m_prevText.answer : -1;
    CellNode* cell = FindCell(r, row, start, false);
    for (int index = start; cell && index >= stop; --index, cell = cell->prev) {
        if (cell->hasRecord && !cell->record.GetText().isEmpty()) {
            answer = index;
            break;
        }
    }
    m_prevText = {true, row, column, answer};
    return answer;
}

int CMemoryCellSource::GetNextNonBlankColumn(int column, int row) {
    RowNode* r = FindRow(row, false);
    if (!r || r->cellCount == 0)
        return -1;
    const int lastIndex = r->firstColumn + r->cellCount - 1;
    int start = column + 1;
    if (start < r->firstColumn)
        start = r->firstColumn;
    if (start > lastIndex)
        return -1;
    CellNode* cell = FindCell(r, row, start, false);
    for (int index = start; cell; ++index, cell = cell->next) {
        if (index >= 0 && cell->hasRecord && !cell->record.GetText().isEmpty())
            return index;
    }
    return -1;
}
