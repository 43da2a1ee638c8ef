#include "GridNavigator.h"

#include "GridParts.h"
#include "GridWindows.h"

#include <algorithm>

CGridNavigator::CGridNavigator(CCellGrid& grid, CGridSheet& sheet, CGridWindows& windows)
    : m_grid(grid), m_sheet(sheet), m_windows(windows) {}

int CGridNavigator::GotoCell(int column, int row) {
    CGridAxis& columns = m_sheet.Columns();
    CGridAxis& rows = m_sheet.Rows();
    if (column == columns.Target() && row == rows.Target())
        return 0;
    if (column < 0 || column >= columns.Count() || row < 0 || row >= rows.Count())
        return 1;
    if (m_sheet.Options().joinFollow) {
        CGridBlock block;
        if (m_sheet.FindBlock(column, row, &block) && block.startColumn >= 0 &&
            block.startRow >= 0) {
            column = block.startColumn;
            row = block.startRow;
        }
        if (column == columns.Target() && row == rows.Target())
            return 0;
    }
    // The data source, then the owner, may refuse.
    const int fromColumn = columns.Current();
    const int fromRow = rows.Current();
    if (!m_sheet.Source()->OnCanMove(fromColumn, fromRow, column, row) ||
        !m_grid.OnCanMove(fromColumn, fromRow, column, row))
        return 2;
    for (CGridAxis* axis : {&columns, &rows}) {
        const int to = axis == &columns ? column : row;
        axis->SetTarget(to);
        axis->SetFirst(axis->FirstToShow(to));
    }
    CompleteMove();
    return 0;
}

int CGridNavigator::GotoRow(int row) {
    return GotoSlot(true, row);
}

int CGridNavigator::GotoColumn(int column) {
    return GotoSlot(false, column);
}

void CGridNavigator::AskForRows(int rowsPast) {
    const int count = m_sheet.RowCount();
    int found = 0;
    m_sheet.Source()->OnHitBottom(count, rowsPast, &found);
    m_grid.OnHitBottom(count, rowsPast, &found);
}

int CGridNavigator::GotoSlot(bool rows, int index) {
    CGridAxis& along = rows ? m_sheet.Rows() : m_sheet.Columns();
    const CGridAxis& across = rows ? m_sheet.Columns() : m_sheet.Rows();
    if (index == along.Target())
        return 0;
    if (along.Count() == 0)
        return 1;
    const int direction = index > along.Target() ? 1 : -1;
    if (index >= along.Count()) {
        // Past the last row the source and the hook may supply more.
        const int oldCount = along.Count();
        if (rows)
            AskForRows(index - oldCount + 1);
        if (along.Count() == oldCount && along.Target() == along.Count() - 1)
            return 1;
        index = std::min(index, along.Count() - 1);
    }
    index = std::max(index, 0);
    if (m_sheet.Options().joinFollow && across.Target() >= 0) {
        CGridBlock block;
        const bool joined = rows ? m_sheet.FindBlock(across.Target(), index, &block)
                                 : m_sheet.FindBlock(index, across.Target(), &block);
        const int start = rows ? block.startRow : block.startColumn;
        const int end = rows ? block.endRow : block.endColumn;
        if (joined && start >= 0) {
            // The mouse lands on the block's start; keys step over it in their direction.
            if (m_sheet.InputKind() != GridInput::Keyboard || direction < 0 ||
                start > along.Target())
                index = start;
            else
                index = end + 1 < along.Count() ? end + 1 : along.Target();
        }
    }
    if (index == along.Target())
        return 0;
    const int column = m_sheet.Columns().Target();
    const int row = m_sheet.Rows().Target();
    const int newColumn = rows ? column : index;
    const int newRow = rows ? index : row;
    // Only column moves ask the data source.
    if (!rows && !m_sheet.Source()->OnCanMove(column, row, newColumn, newRow))
        return 2;
    if (!m_grid.OnCanMove(column, row, newColumn, newRow))
        return 2;
    along.SetTarget(index);
    along.SetFirst(along.FirstToShow(index));
    CompleteMove();
    return 0;
}

int CGridNavigator::MoveView(int leftColumn, int topRow) {
    CGridAxis& columns = m_sheet.Columns();
    CGridAxis& rows = m_sheet.Rows();
    // Never before the locked slots nor past the furthest view.
    const auto within = [](const CGridAxis& a, int first) {
        return std::clamp(first, a.Locked(), std::max(a.Locked(), a.Last()));
    };
    leftColumn = within(columns, leftColumn);
    topRow = within(rows, topRow);
    if (leftColumn == columns.First() && topRow == rows.First())
        return 0;
    if (!m_sheet.Source()->OnCanViewMove(columns.First(), rows.First(), leftColumn, topRow) ||
        !m_grid.OnCanViewMove(columns.First(), rows.First(), leftColumn, topRow))
        return 2;
    columns.SetFirst(leftColumn);
    rows.SetFirst(topRow);
    CompleteMove();
    return 0;
}

void CGridNavigator::CompleteMove() {
    CGridAxis& columns = m_sheet.Columns();
    CGridAxis& rows = m_sheet.Rows();
    CCellSource* source = m_sheet.Source();
    columns.TakeTarget();
    rows.TakeTarget();
    const int oldColumn = columns.Previous();
    const int oldRow = rows.Previous();
    const int oldLeft = columns.PreviousFirst();
    const int oldTop = rows.PreviousFirst();
    const bool columnChanged = columns.Current() != oldColumn;
    const bool rowChanged = rows.Current() != oldRow;

    if (columnChanged) {
        source->OnColumnChange(oldColumn, columns.Current());
        m_grid.OnColumnChange(oldColumn, columns.Current());
    }
    if (rowChanged) {
        source->OnRowChange(oldRow, rows.Current());
        m_grid.OnRowChange(oldRow, rows.Current());
    }
    if (columnChanged || rowChanged)
        m_grid.OnCellChange(oldColumn, columns.Current(), oldRow, rows.Current());
    if (columns.First() != oldLeft)
        m_grid.OnLeftColumnChange(oldLeft, columns.First());
    if (rows.First() != oldTop)
        m_grid.OnTopRowChange(oldTop, rows.First());

    if (columnChanged || rowChanged) {
        CCellRecord record;
        if (oldColumn >= 0 && oldRow >= 0)
            CellTypeAt(m_grid, oldColumn, oldRow, &record)->OnKillFocus(oldColumn, oldRow, record);
        const int column = columns.Current();
        const int row = rows.Current();
        if (column >= 0 && row >= 0)
            CellTypeAt(m_grid, column, row, &record)->OnSetFocus(column, row, record);
    }
    m_windows.ShowMove(oldColumn, oldRow, oldLeft, oldTop, columnChanged || rowChanged);
    columns.Settle();
    rows.Settle();
}

bool CGridNavigator::KeyDown(int key) {
    m_sheet.SetInputKind(GridInput::Keyboard);
    const CGridAxis& columns = m_sheet.Columns();
    const CGridAxis& rows = m_sheet.Rows();
    int processed = 0;
    if (columns.Current() >= 0 && rows.Current() >= 0) {
        CCellRecord record;
        processed = CellTypeAt(m_grid, columns.Current(), rows.Current(), &record)
                        ->OnKeyDown(columns.Current(), rows.Current(), &key);
    }
    m_grid.OnKeyDown(&key, processed);
    const bool ctrl = m_modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_PageUp:
        GotoRow(rows.Target() - rows.SlotsInPage(rows.Target() - 1, -1));
        break;
    case Qt::Key_PageDown:
        GotoRow(rows.Target() + rows.SlotsInPage(rows.Target() + 1, 1));
        break;
    case Qt::Key_Home:
        if (ctrl)
            GotoRow(0);
        else
            GotoColumn(0);
        break;
    case Qt::Key_End:
        if (ctrl)
            GotoRow(rows.Count() - 1);
        else
            GotoColumn(columns.Count() - 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        GotoColumn(columns.Target() + (key == Qt::Key_Right ? 1 : -1));
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        GotoRow(rows.Target() + (key == Qt::Key_Down ? 1 : -1));
        break;
    default:
        break;
    }
    return key == 0;
}
