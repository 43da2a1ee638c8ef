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

namespace {
// The node at index in a doubly linked run numbered from firstIndex (the rows of the
// store, or the cells of a row). With create, missing nodes are made on the way, in either
// direction; else nullptr when there is none. The walk starts from whichever is nearest:
// the first node, the last one, or a node known (the cursor, when not nullptr).
template <class Node>
Node* Locate(Node*& first, Node*& last, int& firstIndex, int& count, int index, bool create,
             Node* known, int knownIndex) {
    if (count == 0) {
        if (!create)
            return nullptr;
        first = last = new Node;
        firstIndex = index;
        count = 1;
        return first;
    }
    const int lastIndex = firstIndex + count - 1;
    if (index < firstIndex || index > lastIndex) {
        if (!create)
            return nullptr;
        for (; index < firstIndex; --firstIndex, ++count) {
            auto* node = new Node;
            node->next = first;
            first->prev = node;
            first = node;
        }
        for (int i = lastIndex; i < index; ++i, ++count) {
            auto* node = new Node;
            node->prev = last;
            last->next = node;
            last = node;
        }
        return index == firstIndex ? first : last;
    }
    Node* node = first;
    int at = firstIndex;
    int best = index - firstIndex;
    if (lastIndex - index < best) {
        node = last;
        at = lastIndex;
        best = lastIndex - index;
    }
    if (known && std::abs(index - knownIndex) < best) {
        node = known;
        at = knownIndex;
    }
    for (; at < index; ++at)
        node = node->next;
    for (; at > index; --at)
        node = node->prev;
    return node;
}

// A node inserted before index (delta 1), or the node at index unlinked (-1): a run lying
// wholly after index is only renumbered. Returns the node unlinked, for the caller to free.
template <class Node>
Node* Splice(Node*& first, Node*& last, int& firstIndex, int& count, int index, int delta,
             Node* known, int knownIndex) {
    if (count == 0 || index > firstIndex + count - 1)
        return nullptr;
    if (index < firstIndex) {
        firstIndex += delta;
        return nullptr;
    }
    Node* at = Locate(first, last, firstIndex, count, index, false, known, knownIndex);
    if (delta > 0) {
        auto* node = new Node;
        node->next = at;
        node->prev = at->prev;
        (at->prev ? at->prev->next : first) = node;
        at->prev = node;
        ++count;
        return nullptr;
    }
    (at->prev ? at->prev->next : first) = at->next;
    (at->next ? at->next->prev : last) = at->prev;
    if (--count == 0)
        first = last = nullptr;
    return at;
}
} // namespace

CMemoryCellSource::RowNode* CMemoryCellSource::FindRow(int row, bool create) {
    RowNode* node = Locate(m_firstRow, m_lastRow, m_firstRowIndex, m_rowCount, row, create,
                           m_curRow, m_curRowIndex);
    if (!node)
        return nullptr;
    if (node != m_curRow)
        m_curCell = nullptr;
    m_curRow = node;
    m_curRowIndex = row;
    return node;
}

CMemoryCellSource::CellNode* CMemoryCellSource::FindCell(RowNode* r, int row, int column,
                                                         bool create) {
    (void)row;
    CellNode* known = r == m_curRow ? m_curCell : nullptr;
    CellNode* cell = Locate(r->first, r->last, r->firstColumn, r->cellCount, column, create, known,
                            m_curCellIndex);
    if (cell && r == m_curRow) {
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
    Splice(m_firstRow, m_lastRow, m_firstRowIndex, m_rowCount, row, 1, m_curRow, m_curRowIndex);
    ResetCursor();
    return 0;
}

int CMemoryCellSource::AppendColumn() {
    return 0;
}

int CMemoryCellSource::InsertColumn(int column) {
    Changed();
    for (RowNode* r = m_firstRow; r; r = r->next)
        Splice(r->first, r->last, r->firstColumn, r->cellCount, column, 1,
               static_cast<CellNode*>(nullptr), 0);
    m_curCell = nullptr;
    return 0;
}

int CMemoryCellSource::DeleteRow(int row) {
    Changed();
    // Stored rows below the deleted one move up, also when it was never stored.
    if (RowNode* node = Splice(m_firstRow, m_lastRow, m_firstRowIndex, m_rowCount, row, -1,
                               m_curRow, m_curRowIndex)) {
        FreeCells(node);
        delete node;
    }
    ResetCursor();
    return 0;
}

int CMemoryCellSource::DeleteColumn(int column) {
    Changed();
    for (RowNode* r = m_firstRow; r; r = r->next)
        delete Splice(r->first, r->last, r->firstColumn, r->cellCount, column, -1,
                      static_cast<CellNode*>(nullptr), 0);
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
