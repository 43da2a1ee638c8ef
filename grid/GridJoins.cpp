#include "GridJoins.h"

#include <QtGlobal>
#include <algorithm>

namespace {
#ifdef NDEBUG
bool g_checking = false;
#else
bool g_checking = true;
#endif
} // namespace

void CJoinBlocks::SetChecking(bool on) {
    g_checking = on;
}

bool CJoinBlocks::Checking() {
    return g_checking;
}

void CJoinBlocks::Verify() const {
    if (g_checking && !IsConsistent())
        qFatal("joined blocks of the grid are inconsistent");
}

// --- Rows, spans and blocks ---------------------------------------------------------------

const CJoinBlocks::Row* CJoinBlocks::RowOf(int row) const {
    if (row < 0) {
        const size_t i = static_cast<size_t>(-row - 1);
        return i < m_headingRows.size() ? &m_headingRows[i] : nullptr;
    }
    return static_cast<size_t>(row) < m_rows.size() ? &m_rows[static_cast<size_t>(row)] : nullptr;
}

CJoinBlocks::Row* CJoinBlocks::RowOf(int row, bool create) {
    if (row < 0) {
        const size_t i = static_cast<size_t>(-row - 1);
        if (i >= m_headingRows.size() && create)
            m_headingRows.resize(i + 1);
        return i < m_headingRows.size() ? &m_headingRows[i] : nullptr;
    }
    const size_t i = static_cast<size_t>(row);
    if (i >= m_rows.size() && create)
        m_rows.resize(i + 1);
    return i < m_rows.size() ? &m_rows[i] : nullptr;
}

const CJoinBlocks::Span* CJoinBlocks::SpanAt(const Row& row, int column) {
    // The last span starting at or before the column, if it reaches it.
    auto it = std::upper_bound(row.begin(), row.end(), column,
                               [](int c, const Span& s) { return c < s.firstColumn; });
    if (it == row.begin())
        return nullptr;
    --it;
    return it->lastColumn >= column ? &*it : nullptr;
}

void CJoinBlocks::Insert(Row& row, const Span& span) {
    auto it = std::lower_bound(row.begin(), row.end(), span.firstColumn,
                               [](const Span& s, int c) { return s.firstColumn < c; });
    row.insert(it, span);
}

void CJoinBlocks::Erase(Row& row, int block) {
    row.erase(
        std::find_if(row.begin(), row.end(), [block](const Span& s) { return s.block == block; }));
}

int CJoinBlocks::StartRow(const Block& block) const {
    return block.heading ? block.start : block.start - m_base;
}

int CJoinBlocks::NewBlock(const Block& block) {
    if (m_free.empty()) {
        m_blocks.push_back(block);
        return static_cast<int>(m_blocks.size()) - 1;
    }
    const int id = m_free.back();
    m_free.pop_back();
    m_blocks[static_cast<size_t>(id)] = block;
    return id;
}

void CJoinBlocks::FreeBlock(int block) {
    m_blocks[static_cast<size_t>(block)].inUse = false;
    m_free.push_back(block);
}

bool CJoinBlocks::Find(int column, int row, CGridBlock* block) const {
    const Row* r = RowOf(row);
    const Span* span = r ? SpanAt(*r, column) : nullptr;
    if (!span)
        return false;
    if (block) {
        const Block& b = m_blocks[static_cast<size_t>(span->block)];
        block->startColumn = b.firstColumn;
        block->endColumn = b.lastColumn;
        block->startRow = StartRow(b);
        block->endRow = block->startRow + b.rowSpan;
    }
    return true;
}

bool CJoinBlocks::IsEmpty() const {
    return m_free.size() == m_blocks.size();
}

// --- Joining ------------------------------------------------------------------------------

int CJoinBlocks::Join(const CGridBlock& b) {
    if (b.endColumn < b.startColumn || b.endRow < b.startRow)
        return 1;
    if ((b.startRow < 0) != (b.endRow < 0) || (b.startColumn < 0) != (b.endColumn < 0))
        return 1;
    for (int r = b.startRow; r <= b.endRow; ++r) {
        if (const Row* row = RowOf(r)) {
            for (const Span& s : *row)
                if (s.firstColumn <= b.endColumn && s.lastColumn >= b.startColumn)
                    return 1;
        }
    }
    Block block;
    block.heading = b.startRow < 0;
    block.start = block.heading ? b.startRow : b.startRow + m_base;
    block.rowSpan = b.endRow - b.startRow;
    block.firstColumn = b.startColumn;
    block.lastColumn = b.endColumn;
    block.inUse = true;
    const int id = NewBlock(block);
    for (int r = b.startRow; r <= b.endRow; ++r)
        Insert(*RowOf(r, true), {b.startColumn, b.endColumn, id});
    Verify();
    return 0;
}

int CJoinBlocks::Unjoin(int column, int row) {
    const Row* r = RowOf(row);
    const Span* span = r ? SpanAt(*r, column) : nullptr;
    if (!span)
        return 1;
    const int id = span->block;
    const Block& b = m_blocks[static_cast<size_t>(id)];
    const int start = StartRow(b);
    for (int k = start; k <= start + b.rowSpan; ++k)
        Erase(*RowOf(k, false), id);
    FreeBlock(id);
    Verify();
    return 0;
}

void CJoinBlocks::Clear() {
    m_blocks.clear();
    m_free.clear();
    m_headingRows.clear();
    m_rows.clear();
    m_base = 0;
}

// --- Rows and columns inserted and deleted ------------------------------------------------

void CJoinBlocks::InsertRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    m_rows.insert(m_rows.begin() + row, Row());
    if (row == 0) {
        --m_base; // every cell block moves down one row
        Verify();
        return;
    }
    // The blocks running on from the row above grow by the new row; those below move.
    for (Block& b : m_blocks)
        if (b.inUse && !b.heading && StartRow(b) >= row)
            ++b.start;
    for (const Span& s : m_rows[static_cast<size_t>(row) - 1]) {
        Block& b = m_blocks[static_cast<size_t>(s.block)];
        if (StartRow(b) + b.rowSpan >= row) {
            ++b.rowSpan;
            m_rows[static_cast<size_t>(row)].push_back(s);
        }
    }
    Verify();
}

void CJoinBlocks::DeleteRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return;
    // The blocks across the row lose it (and keep their start); those of this row alone go
    // with it.
    const Row doomed = m_rows[static_cast<size_t>(row)];
    m_rows.erase(m_rows.begin() + row);
    if (row > 0) {
        for (Block& b : m_blocks)
            if (b.inUse && !b.heading && StartRow(b) > row)
                --b.start;
    } else {
        ++m_base; // every cell block moves up one row, but those of row 0 stay at 0
    }
    for (const Span& s : doomed) {
        Block& b = m_blocks[static_cast<size_t>(s.block)];
        if (b.rowSpan == 0) {
            FreeBlock(s.block);
            continue;
        }
        --b.rowSpan;
        if (row == 0)
            ++b.start;
    }
    Verify();
}

void CJoinBlocks::DeleteRowsFrom(int row) {
    row = std::max(row, 0);
    if (static_cast<size_t>(row) >= m_rows.size())
        return;
    for (size_t r = static_cast<size_t>(row); r < m_rows.size(); ++r) {
        for (const Span& s : m_rows[r]) {
            Block& b = m_blocks[static_cast<size_t>(s.block)];
            if (!b.inUse)
                continue;
            if (StartRow(b) >= row)
                FreeBlock(s.block);
            else
                b.rowSpan = row - 1 - StartRow(b); // keeps its rows above the cut
        }
    }
    m_rows.resize(static_cast<size_t>(row));
    if (m_rows.empty())
        m_base = 0;
    Verify();
}

namespace {
// The columns of a span or a block after a column is inserted (delta 1) or deleted (-1);
// false when none is left.
template <class T> bool MoveColumns(T& t, int column, int delta) {
    if (delta > 0 ? column <= t.firstColumn : column < t.firstColumn) {
        t.firstColumn += delta;
        t.lastColumn += delta;
    } else if (column <= t.lastColumn) {
        t.lastColumn += delta;
    }
    return t.lastColumn >= t.firstColumn;
}
} // namespace

void CJoinBlocks::InsertColumn(int column) {
    if (column < 0)
        return;
    for (Block& b : m_blocks)
        if (b.inUse)
            MoveColumns(b, column, 1);
    for (Row& row : m_headingRows)
        for (Span& s : row)
            MoveColumns(s, column, 1);
    for (Row& row : m_rows)
        for (Span& s : row)
            MoveColumns(s, column, 1);
    Verify();
}

void CJoinBlocks::DeleteColumn(int column) {
    if (column < 0)
        return;
    for (size_t i = 0; i < m_blocks.size(); ++i)
        if (m_blocks[i].inUse && !MoveColumns(m_blocks[i], column, -1))
            FreeBlock(static_cast<int>(i));
    const auto shrink = [column](Row& row) {
        Row kept;
        for (Span s : row)
            if (MoveColumns(s, column, -1))
                kept.push_back(s);
        row.swap(kept);
    };
    for (Row& row : m_headingRows)
        shrink(row);
    for (Row& row : m_rows)
        shrink(row);
    Verify();
}

// --- Consistency --------------------------------------------------------------------------

bool CJoinBlocks::IsConsistent() const {
    std::vector<int> spans(m_blocks.size(), 0);
    const auto rowOk = [&](int r, const Row& row) {
        for (size_t i = 0; i < row.size(); ++i) {
            const Span& s = row[i];
            if (i > 0 && row[i - 1].lastColumn >= s.firstColumn)
                return false;
            if (s.block < 0 || static_cast<size_t>(s.block) >= m_blocks.size())
                return false;
            const Block& b = m_blocks[static_cast<size_t>(s.block)];
            const int start = StartRow(b);
            if (!b.inUse || b.heading != (r < 0) || r < start || r > start + b.rowSpan ||
                s.firstColumn != b.firstColumn || s.lastColumn != b.lastColumn)
                return false;
            ++spans[static_cast<size_t>(s.block)];
        }
        return true;
    };
    for (size_t i = 0; i < m_headingRows.size(); ++i)
        if (!rowOk(-static_cast<int>(i) - 1, m_headingRows[i]))
            return false;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!rowOk(static_cast<int>(i), m_rows[i]))
            return false;
    // Every block whole: one span in each of its rows, within one area.
    size_t unused = 0;
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        const Block& b = m_blocks[i];
        if (!b.inUse) {
            ++unused;
            continue;
        }
        const int start = StartRow(b);
        const int end = start + b.rowSpan;
        if (b.rowSpan < 0 || spans[i] != b.rowSpan + 1 || b.lastColumn < b.firstColumn ||
            (b.firstColumn < 0) != (b.lastColumn < 0) || (b.heading ? end >= 0 : start < 0))
            return false;
    }
    return unused == m_free.size();
}
