// Layout of the component windows, geometry, scrolling, moves of the current cell and the
// keyboard.

#include "CellGrid.h"

#include "GridComponents.h"

#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

// --- Geometry ----------------------------------------------------------------------------

int CCellGrid::ColumnLeft(int column) const {
    const CGridSheet& s = *m_sheet;
    if (column < 0)
        return SideHeadingColumnLeft(column) - s.sideHeadingWidth;
    if (column < s.lockedColumns) {
        int x = 0;
        for (int c = 0; c < column; ++c)
            x += s.ColumnWidth(c);
        return x;
    }
    int x = s.lockedWidth;
    if (column >= s.leftColumn) {
        for (int c = s.leftColumn; c < column; ++c)
            x += s.ColumnWidth(c);
    } else {
        for (int c = column; c < s.leftColumn; ++c)
            x -= s.ColumnWidth(c);
    }
    return x;
}

int CCellGrid::RowTop(int row) const {
    const CGridSheet& s = *m_sheet;
    if (row < 0)
        return TopHeadingRowTop(row) - s.topHeadingHeight;
    if (s.uniformRowHeight) {
        if (row < s.lockedRows)
            return row * s.defaultRowHeight;
        return s.lockedHeight + (row - s.topRow) * s.defaultRowHeight;
    }
    if (row < s.lockedRows) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += s.RowHeight(r);
        return y;
    }
    int y = s.lockedHeight;
    if (row >= s.topRow) {
        for (int r = s.topRow; r < row; ++r)
            y += s.RowHeight(r);
    } else {
        for (int r = row; r < s.topRow; ++r)
            y -= s.RowHeight(r);
    }
    return y;
}

int CCellGrid::TopHeadingRowTop(int row) const {
    // Heading rows sit against the cells: row -1 at the bottom of the top heading.
    const CGridSheet& s = *m_sheet;
    int y = s.topHeadingHeight;
    for (int r = -1; r >= row && -r <= s.TopHeadingRows(); --r)
        y -= s.RowHeight(r);
    return y;
}

int CCellGrid::SideHeadingColumnLeft(int column) const {
    const CGridSheet& s = *m_sheet;
    int x = s.sideHeadingWidth;
    for (int c = -1; c >= column && -c <= s.SideHeadingColumns(); --c)
        x -= s.ColumnWidth(c);
    return x;
}

bool CCellGrid::ColumnVisible(int column) const {
    const CGridSheet& s = *m_sheet;
    if (column < 0 || column >= s.columnCount)
        return false;
    if (column < s.lockedColumns)
        return true;
    if (column < s.leftColumn)
        return false;
    return ColumnLeft(column) < s.cellAreaWidth;
}

bool CCellGrid::RowVisible(int row) const {
    const CGridSheet& s = *m_sheet;
    if (row < 0 || row >= s.rowCount)
        return false;
    if (row < s.lockedRows)
        return true;
    if (row < s.topRow)
        return false;
    return RowTop(row) < s.cellAreaHeight;
}

QRect CCellGrid::BlockRect(int startColumn, int startRow, int columnSpan, int rowSpan) const {
    const CGridSheet& s = *m_sheet;
    const int x = ColumnLeft(startColumn);
    const int y = RowTop(startRow);
    int w = 0;
    for (int c = startColumn; c <= startColumn + columnSpan; ++c)
        w += s.ColumnWidth(c);
    int h = 0;
    for (int r = startRow; r <= startRow + rowSpan; ++r)
        h += s.RowHeight(r);
    return QRect(x, y, w, h);
}

int CCellGrid::GetCellRect(int column, int row, QRect* rect) {
    if (!rect)
        return 1;
    int sc = column, sr = row, ec = column, er = row;
    if (GetJoinRange(column, row, &sc, &sr, &ec, &er) != 0) {
        sc = ec = column;
        sr = er = row;
    }
    *rect = BlockRect(sc, sr, ec - sc, er - sr);
    const QRect area(0, 0, m_sheet->cellAreaWidth, m_sheet->cellAreaHeight);
    return rect->intersects(area) ? 0 : 1;
}

int CCellGrid::RowFromY(int y) const {
    const CGridSheet& s = *m_sheet;
    if (y < 0 || y >= s.cellAreaHeight)
        return -1;
    if (s.uniformRowHeight && y >= s.lockedHeight) {
        const int r = s.topRow + (y - s.lockedHeight) / s.defaultRowHeight;
        return r < s.rowCount ? r : -1;
    }
    int top = 0;
    int r = s.lockedRows > 0 ? 0 : s.topRow;
    while (r < s.rowCount && top < s.cellAreaHeight) {
        const int h = s.RowHeight(r);
        if (h > 0 && y >= top && y < top + h)
            return r;
        top += h;
        ++r;
        if (r == s.lockedRows && r < s.topRow)
            r = s.topRow;
    }
    return -1;
}

int CCellGrid::ColumnFromX(int x) const {
    const CGridSheet& s = *m_sheet;
    if (x < 0 || x >= s.cellAreaWidth)
        return -1;
    int left = 0;
    int c = s.lockedColumns > 0 ? 0 : s.leftColumn;
    while (c < s.columnCount && left < s.cellAreaWidth) {
        const int w = s.ColumnWidth(c);
        if (w > 0 && x >= left && x < left + w)
            return c;
        left += w;
        ++c;
        if (c == s.lockedColumns && c < s.leftColumn)
            c = s.leftColumn;
    }
    return -1;
}

int CCellGrid::GetCellFromPoint(const QPoint& point, int* column, int* row) {
    const int r = RowFromY(point.y());
    const int c = r >= 0 ? ColumnFromX(point.x()) : -1;
    if (r < 0 || c < 0)
        return 1;
    if (column)
        *column = c;
    if (row)
        *row = r;
    return 0;
}

// --- Layout ------------------------------------------------------------------------------

void CCellGrid::AdjustComponentSizes() {
    if (m_failed || !m_cellArea || m_inLayout)
        return;
    m_inLayout = true;
    CGridSheet& s = *m_sheet;
    const QRect client = contentsRect();
    const int W = std::max(0, client.width());
    const int H = std::max(0, client.height());
    const int S = s.sideHeadingWidth;
    const int T = s.topHeadingHeight;
    int V = s.vScrollWidth;
    int B = s.hScrollHeight;

    long long columnSum = 0;
    for (int c = 0; c < s.columnCount; ++c) {
        columnSum += s.columns[static_cast<size_t>(c)].width;
        if (columnSum > W - S)
            break;
    }
    long long rowSum = 0;
    if (s.uniformRowHeight) {
        rowSum = static_cast<long long>(s.rowCount) * s.defaultRowHeight;
    } else {
        for (int r = 0; r < s.rowCount; ++r) {
            rowSum += s.rowHeights[static_cast<size_t>(r)];
            if (rowSum > H - T)
                break;
        }
    }
    const bool columnsFit = columnSum <= W - S;
    const bool rowsFit = rowSum <= H - T;
    const bool hasTabs = s.tabWidth > 0;
    if (rowsFit && (columnsFit || rowSum <= H - T - B))
        V = 0;
    if (columnsFit && !hasTabs && (rowsFit || columnSum <= W - S - V))
        B = 0;
    int tabWidth = 0;
    if (hasTabs) {
        tabWidth = s.tabWidth;
        if (tabWidth > W - S - 30)
            tabWidth = std::max(4, W - S - 30);
    }

    const QPoint o = client.topLeft();
    QRect corner(o.x(), o.y(), S, T);
    QRect top(o.x() + S, o.y(), std::max(0, W - V - S), T);
    QRect side(o.x(), o.y() + T, S, std::max(0, H - B - T));
    QRect cells(o.x() + S, o.y() + T, std::max(0, W - V - S), std::max(0, H - B - T));
    QRect vbar(o.x() + W - V, o.y(), V, std::max(0, H - B));
    QRect hbar(o.x() + tabWidth, o.y() + H - B, std::max(0, W - V - tabWidth), B);
    QRect tabs(o.x(), o.y() + H - B, tabWidth, B);
    OnComponentsLaidOut(&cells, &top, &side, &corner, &vbar, &hbar, &tabs);

    s.cellAreaRect = cells;
    s.topHeadingRect = top;
    s.sideHeadingRect = side;
    s.cornerRect = corner;
    s.vScrollRect = vbar;
    s.hScrollRect = hbar;
    s.tabRect = tabs;
    s.cellAreaWidth = cells.width();
    s.cellAreaHeight = cells.height();

    auto place = [](QWidget* w, const QRect& r) {
        if (r.width() <= 0 || r.height() <= 0) {
            if (!w->isHidden())
                w->hide();
            return;
        }
        if (w->geometry() != r)
            w->setGeometry(r);
        if (w->isHidden())
            w->show();
    };
    place(m_cellArea, cells);
    place(m_topHeading, top);
    place(m_sideHeading, side);
    place(m_corner, corner);
    place(m_vScroll, vbar);
    place(m_hScroll, hbar);
    place(m_tabs, tabs);

    CalcLastScrollPositions();
    UpdateScrollBars();
    m_inLayout = false;
}

void CCellGrid::CalcLastScrollPositions() {
    CGridSheet& s = *m_sheet;
    const int visibleHeight = s.cellAreaHeight - s.lockedHeight;
    if (s.rowCount <= s.lockedRows) {
        s.lastTopRow = s.lockedRows;
    } else if (s.uniformRowHeight) {
        const int fit = std::max(1, visibleHeight / s.defaultRowHeight);
        s.lastTopRow = std::max(s.lockedRows, s.rowCount - fit);
    } else {
        int sum = 0;
        int r = s.rowCount - 1;
        for (; r >= s.lockedRows; --r) {
            sum += s.rowHeights[static_cast<size_t>(r)];
            if (sum > visibleHeight)
                break;
        }
        s.lastTopRow = std::min(std::max(r + 1, s.lockedRows), s.rowCount - 1);
    }
    const int visibleWidth = s.cellAreaWidth - s.lockedWidth;
    if (s.columnCount <= s.lockedColumns) {
        s.lastLeftColumn = s.lockedColumns;
    } else {
        int sum = 0;
        int c = s.columnCount - 1;
        for (; c >= s.lockedColumns; --c) {
            sum += s.columns[static_cast<size_t>(c)].width;
            if (sum > visibleWidth)
                break;
        }
        s.lastLeftColumn = std::min(std::max(c + 1, s.lockedColumns), s.columnCount - 1);
    }
    // The view never lies beyond where it may scroll.
    if (s.topRow > s.lastTopRow)
        s.topRow = s.previousTopRow = s.lastTopRow;
    if (s.topRow < s.lockedRows)
        s.topRow = s.previousTopRow = s.lockedRows;
    if (s.leftColumn > s.lastLeftColumn)
        s.leftColumn = s.previousLeftColumn = s.lastLeftColumn;
    if (s.leftColumn < s.lockedColumns)
        s.leftColumn = s.previousLeftColumn = s.lockedColumns;
}

namespace {
// Scroll bars show at most 1000 positions; beyond that positions are scaled.
constexpr int kMaxScrollPositions = 1000;
} // namespace

void CCellGrid::UpdateScrollBars() {
    if (!m_vScroll || !m_hScroll)
        return;
    const CGridSheet& s = *m_sheet;
    auto apply = [](QScrollBar* bar, int min, int max, int page, int value) {
        const bool blocked = bar->blockSignals(true);
        if (bar->minimum() != min || bar->maximum() != max)
            bar->setRange(min, std::max(min, max));
        if (bar->pageStep() != page)
            bar->setPageStep(std::max(1, page));
        if (bar->value() != value && !bar->isSliderDown())
            bar->setValue(value);
        bar->blockSignals(blocked);
    };
    if (s.rowCount <= kMaxScrollPositions) {
        const int page = std::max(1, s.cellAreaHeight / std::max(1, s.defaultRowHeight));
        apply(m_vScroll, s.lockedRows, s.lastTopRow, page, s.topRow);
    } else {
        const int value =
            static_cast<int>(static_cast<long long>(s.topRow) * kMaxScrollPositions / s.rowCount);
        apply(m_vScroll, 0, kMaxScrollPositions, 1, value);
    }
    if (s.columnCount <= kMaxScrollPositions) {
        const int page =
            std::max(1, (s.cellAreaWidth - s.lockedWidth) / std::max(1, s.defaultColumnWidth));
        apply(m_hScroll, 0, s.lastLeftColumn - s.lockedColumns, page,
              s.leftColumn - s.lockedColumns);
    } else {
        const int value = static_cast<int>(static_cast<long long>(s.leftColumn) *
                                           kMaxScrollPositions / s.columnCount);
        apply(m_hScroll, 0, kMaxScrollPositions, 1, value);
    }
}

int CCellGrid::RowsInPage(int fromRow, int direction) const {
    const CGridSheet& s = *m_sheet;
    const int visible = s.cellAreaHeight - s.lockedHeight;
    if (s.uniformRowHeight)
        return std::max(1, visible / s.defaultRowHeight);
    int sum = 0;
    int n = 0;
    for (int r = fromRow; r >= 0 && r < s.rowCount; r += direction) {
        sum += s.RowHeight(r);
        if (sum > visible)
            break;
        ++n;
    }
    return std::max(1, n);
}

int CCellGrid::ColumnsInPage(int fromColumn, int direction) const {
    const CGridSheet& s = *m_sheet;
    const int visible = s.cellAreaWidth - s.lockedWidth;
    int sum = 0;
    int n = 0;
    for (int c = fromColumn; c >= 0 && c < s.columnCount; c += direction) {
        sum += s.ColumnWidth(c);
        if (sum > visible)
            break;
        ++n;
    }
    return std::max(1, n);
}

void CCellGrid::ScrollBarAction(bool vertical, int action, int position) {
    CGridSheet& s = *m_sheet;
    if (m_cellArea && !m_cellArea->hasFocus())
        m_cellArea->setFocus(Qt::OtherFocusReason);
    const int count = vertical ? s.rowCount : s.columnCount;
    const int locked = vertical ? s.lockedRows : s.lockedColumns;
    const int current = vertical ? s.topRow : s.leftColumn;
    const int last = vertical ? s.lastTopRow : s.lastLeftColumn;
    // A thumb position back to a row or column.
    auto fromThumb = [&](int p) {
        if (count > kMaxScrollPositions)
            return static_cast<int>(p * static_cast<double>(count) * 0.001);
        return vertical ? p : p + locked;
    };
    int target = current;
    bool move = true;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        target = current + 1;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        target = current - 1;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        target = current + (vertical ? RowsInPage(current, 1) : ColumnsInPage(current, 1));
        break;
    case QAbstractSlider::SliderPageStepSub:
        target =
            current - (vertical ? RowsInPage(current - 1, -1) : ColumnsInPage(current - 1, -1));
        break;
    case QAbstractSlider::SliderToMinimum:
        target = locked;
        break;
    case QAbstractSlider::SliderToMaximum:
        target = last;
        break;
    case QAbstractSlider::SliderMove: {
        const int mode = vertical ? s.vScrollMode : s.hScrollMode;
        QScrollBar* bar = vertical ? static_cast<QScrollBar*>(m_vScroll) : m_hScroll;
        if (mode == 0 && bar->isSliderDown()) {
            move = false;
        }
        target = fromThumb(position);
        if (m_useScrollHints && bar->isSliderDown()) {
            QString text;
            const int shown = std::clamp(target, locked, std::max(locked, last));
            const int ok = vertical ? OnVScrollHint(shown, &text) : OnHScrollHint(shown, &text);
            if (ok && !text.isEmpty()) {
                m_hint->SetText(text);
                m_hint->ShowAt(bar->mapToGlobal(QPoint(vertical ? -m_hint->width() - 4 : 0,
                                                       vertical ? 0 : -m_hint->height() - 4)));
            }
        }
        break;
    }
    case -1: // thumb released
        m_hint->hide();
        target = fromThumb(position);
        break;
    default:
        move = false;
        break;
    }
    if (move) {
        const int oldKind = s.inputKind;
        s.inputKind = GridInput::ScrollBar;
        if (vertical)
            MoveView(s.leftColumn, target);
        else
            MoveView(target, s.topRow);
        s.inputKind = oldKind;
    }
    if (action != QAbstractSlider::SliderMove || move)
        UpdateScrollBars();
}

// --- Moves -------------------------------------------------------------------------------

int CCellGrid::MoveView(int leftColumn, int topRow) {
    CGridSheet& s = *m_sheet;
    leftColumn =
        std::clamp(leftColumn, s.lockedColumns, std::max(s.lockedColumns, s.lastLeftColumn));
    topRow = std::clamp(topRow, s.lockedRows, std::max(s.lockedRows, s.lastTopRow));
    if (leftColumn == s.leftColumn && topRow == s.topRow)
        return 0;
    if (!s.source->OnCanViewMove(s.leftColumn, s.topRow, leftColumn, topRow))
        return 2;
    if (!OnCanViewMove(s.leftColumn, s.topRow, leftColumn, topRow))
        return 2;
    s.leftColumn = leftColumn;
    s.topRow = topRow;
    CompleteMove();
    return 0;
}

int CCellGrid::SetTopRow(int row) {
    return MoveView(m_sheet->leftColumn, row);
}

int CCellGrid::SetLeftColumn(int column) {
    return MoveView(column, m_sheet->topRow);
}

void CCellGrid::ScrollRowIntoView(int row) {
    CGridSheet& s = *m_sheet;
    if (row < s.lockedRows || row >= s.rowCount)
        return;
    if (row < s.topRow) {
        s.topRow = std::max(row, s.lockedRows);
        return;
    }
    const int visible = s.cellAreaHeight - s.lockedHeight;
    if (s.uniformRowHeight) {
        const long long bottom = static_cast<long long>(row - s.topRow + 1) * s.defaultRowHeight;
        if (bottom > visible) {
            const int fit = std::max(1, visible / s.defaultRowHeight);
            s.topRow = std::max(s.lockedRows, row - fit + 1);
        }
    } else {
        long long bottom = 0;
        for (int r = s.topRow; r <= row; ++r) {
            bottom += s.RowHeight(r);
            if (bottom > visible)
                break;
        }
        if (bottom > visible) {
            int sum = 0;
            int r = row;
            for (; r >= s.lockedRows; --r) {
                sum += s.RowHeight(r);
                if (sum > visible)
                    break;
            }
            s.topRow = std::max(s.lockedRows, std::min(r + 1, row));
        }
    }
    s.topRow = std::min(s.topRow, std::max(s.lockedRows, s.lastTopRow));
}

void CCellGrid::ScrollColumnIntoView(int column) {
    CGridSheet& s = *m_sheet;
    if (column < s.lockedColumns || column >= s.columnCount)
        return;
    if (column < s.leftColumn) {
        s.leftColumn = std::max(column, s.lockedColumns);
        return;
    }
    const int visible = s.cellAreaWidth - s.lockedWidth;
    long long right = 0;
    for (int c = s.leftColumn; c <= column; ++c) {
        right += s.ColumnWidth(c);
        if (right > visible)
            break;
    }
    if (right > visible) {
        int sum = 0;
        int c = column;
        for (; c >= s.lockedColumns; --c) {
            sum += s.ColumnWidth(c);
            if (sum > visible)
                break;
        }
        s.leftColumn = std::max(s.lockedColumns, std::min(c + 1, column));
    }
    s.leftColumn = std::min(s.leftColumn, std::max(s.lockedColumns, s.lastLeftColumn));
}

int CCellGrid::GotoCell(int column, int row) {
    CGridSheet& s = *m_sheet;
    if (column == s.targetColumn && row == s.targetRow)
        return 0;
    if (column < 0 || column >= s.columnCount || row < 0 || row >= s.rowCount)
        return 1;
    if (s.joinFollow) {
        int sc, sr, ec, er;
        if (GetJoinRange(column, row, &sc, &sr, &ec, &er) == 0 && sc >= 0 && sr >= 0) {
            column = sc;
            row = sr;
        }
        if (column == s.targetColumn && row == s.targetRow)
            return 0;
    }
    if (!s.source->OnCanMove(s.currentColumn, s.currentRow, column, row))
        return 2;
    if (!OnCanMove(s.currentColumn, s.currentRow, column, row))
        return 2;
    s.targetColumn = column;
    s.targetRow = row;
    ScrollColumnIntoView(column);
    ScrollRowIntoView(row);
    CompleteMove();
    return 0;
}

int CCellGrid::GotoRow(int row) {
    CGridSheet& s = *m_sheet;
    if (row == s.targetRow)
        return 0;
    if (s.rowCount == 0)
        return 1;
    const int direction = row > s.targetRow ? 1 : -1;
    if (row >= s.rowCount) {
        const int oldCount = s.rowCount;
        int found = 0;
        const int past = row - s.rowCount + 1;
        s.source->OnHitBottom(oldCount, past, &found);
        OnHitBottom(oldCount, past, &found);
        if (s.rowCount == oldCount && s.targetRow == s.rowCount - 1)
            return 1;
        if (row >= s.rowCount)
            row = s.rowCount - 1;
    }
    if (row < 0)
        row = 0;
    if (s.joinFollow && s.targetColumn >= 0) {
        int sc, sr, ec, er;
        if (GetJoinRange(s.targetColumn, row, &sc, &sr, &ec, &er) == 0 && sr >= 0) {
            if (s.inputKind != GridInput::Keyboard || direction < 0 || sr > s.targetRow)
                row = sr;
            else
                row = er + 1 < s.rowCount ? er + 1 : s.targetRow;
        }
    }
    if (row == s.targetRow)
        return 0;
    if (!OnCanMove(s.targetColumn, s.targetRow, s.targetColumn, row))
        return 2;
    s.targetRow = row;
    ScrollRowIntoView(row);
    CompleteMove();
    return 0;
}

int CCellGrid::GotoColumn(int column) {
    CGridSheet& s = *m_sheet;
    if (column == s.targetColumn)
        return 0;
    if (s.columnCount == 0)
        return 1;
    const int direction = column > s.targetColumn ? 1 : -1;
    if (column >= s.columnCount) {
        if (s.targetColumn == s.columnCount - 1)
            return 1;
        column = s.columnCount - 1;
    }
    if (column < 0)
        column = 0;
    if (s.joinFollow && s.targetRow >= 0) {
        int sc, sr, ec, er;
        if (GetJoinRange(column, s.targetRow, &sc, &sr, &ec, &er) == 0 && sc >= 0) {
            if (s.inputKind != GridInput::Keyboard || direction < 0 || sc > s.targetColumn)
                column = sc;
            else
                column = ec + 1 < s.columnCount ? ec + 1 : s.targetColumn;
        }
    }
    if (column == s.targetColumn)
        return 0;
    if (!s.source->OnCanMove(s.targetColumn, s.targetRow, column, s.targetRow))
        return 2;
    if (!OnCanMove(s.targetColumn, s.targetRow, column, s.targetRow))
        return 2;
    s.targetColumn = column;
    ScrollColumnIntoView(column);
    CompleteMove();
    return 0;
}

void CCellGrid::InvalidateCurrent(int column, int row) {
    if (!m_cellArea || row < 0)
        return;
    const CGridSheet& s = *m_sheet;
    if (s.rowHighlight) {
        int sc, sr, ec, er;
        if (column < 0 || GetJoinRange(column, row, &sc, &sr, &ec, &er) != 0) {
            sr = er = row;
        }
        const int y = RowTop(sr);
        int h = 0;
        for (int r = sr; r <= er; ++r)
            h += s.RowHeight(r);
        m_cellArea->update(QRect(0, y, s.cellAreaWidth, h));
        return;
    }
    if (column < 0)
        return;
    QRect rect;
    GetCellRect(column, row, &rect);
    m_cellArea->update(rect);
}

void CCellGrid::CompleteMove() {
    CGridSheet& s = *m_sheet;
    s.currentColumn = s.targetColumn;
    s.currentRow = s.targetRow;
    const int oldColumn = s.previousColumn;
    const int oldRow = s.previousRow;
    const int oldLeft = s.previousLeftColumn;
    const int oldTop = s.previousTopRow;
    const bool columnChanged = s.currentColumn != oldColumn;
    const bool rowChanged = s.currentRow != oldRow;

    if (columnChanged) {
        s.source->OnColumnChange(oldColumn, s.currentColumn);
        OnColumnChange(oldColumn, s.currentColumn);
    }
    if (rowChanged) {
        s.source->OnRowChange(oldRow, s.currentRow);
        OnRowChange(oldRow, s.currentRow);
    }
    if (columnChanged || rowChanged)
        OnCellChange(oldColumn, s.currentColumn, oldRow, s.currentRow);
    if (s.leftColumn != oldLeft)
        OnLeftColumnChange(oldLeft, s.leftColumn);
    if (s.topRow != oldTop)
        OnTopRowChange(oldTop, s.topRow);

    if (columnChanged || rowChanged) {
        CCellRecord record;
        if (oldColumn >= 0 && oldRow >= 0) {
            GetResolvedCell(oldColumn, oldRow, &record);
            GetCellType(record.GetCellType())->OnKillFocus(oldColumn, oldRow, record);
        }
        if (s.currentColumn >= 0 && s.currentRow >= 0) {
            GetResolvedCell(s.currentColumn, s.currentRow, &record);
            GetCellType(record.GetCellType())->OnSetFocus(s.currentColumn, s.currentRow, record);
        }
    }

    // Repaint what changed: a moved view is scrolled when the move is smaller than the
    // window, so only the uncovered cells are drawn.
    if (m_cellArea) {
        int dx = 0;
        int dy = 0;
        if (s.leftColumn != oldLeft) {
            if (s.leftColumn > oldLeft)
                for (int c = oldLeft; c < s.leftColumn; ++c)
                    dx -= s.ColumnWidth(c);
            else
                for (int c = s.leftColumn; c < oldLeft; ++c)
                    dx += s.ColumnWidth(c);
        }
        if (s.topRow != oldTop) {
            if (s.uniformRowHeight) {
                dy = (oldTop - s.topRow) * s.defaultRowHeight;
            } else if (s.topRow > oldTop) {
                for (int r = oldTop; r < s.topRow; ++r)
                    dy -= s.RowHeight(r);
            } else {
                for (int r = s.topRow; r < oldTop; ++r)
                    dy += s.RowHeight(r);
            }
        }
        if (dx != 0 || dy != 0) {
            const bool small = std::abs(dx) < s.cellAreaWidth && std::abs(dy) < s.cellAreaHeight;
            if (small && s.lockedColumns == 0 && s.lockedRows == 0 && m_cellArea->isVisible()) {
                m_cellArea->scroll(dx, dy);
                if (dx != 0)
                    m_topHeading->scroll(dx, 0);
                if (dy != 0)
                    m_sideHeading->scroll(0, dy);
            } else {
                m_cellArea->update();
                if (dx != 0)
                    m_topHeading->update();
                if (dy != 0)
                    m_sideHeading->update();
            }
        }
        if (columnChanged || rowChanged || dx != 0 || dy != 0) {
            InvalidateCurrent(oldColumn, oldRow);
            InvalidateCurrent(s.currentColumn, s.currentRow);
        }
        m_corner->update();
    }
    UpdateScrollBars();
    MoveTrackingWindow();

    s.previousColumn = s.currentColumn;
    s.previousRow = s.currentRow;
    s.previousLeftColumn = s.leftColumn;
    s.previousTopRow = s.topRow;
}

void CCellGrid::MoveTrackingWindow() {
    if (!m_trackingWindow || !m_cellArea)
        return;
    const CGridSheet& s = *m_sheet;
    if (s.currentColumn < 0 || s.currentRow < 0)
        return;
    QRect cell;
    GetCellRect(s.currentColumn, s.currentRow, &cell);
    QWidget* parent = m_trackingWindow->parentWidget();
    QPoint topLeft = m_cellArea->mapToGlobal(QPoint(cell.right() + 1, cell.bottom() + 1));
    if (parent && !m_trackingWindow->isWindow())
        topLeft = parent->mapFromGlobal(topLeft);
    const QRect old = m_trackingWindow->geometry();
    QRect next(topLeft, old.size());
    OnTrackingWindowMove(old, &next);
    m_trackingWindow->setGeometry(next);
}

// --- Keyboard ----------------------------------------------------------------------------

void CCellGrid::HandleKey(int key) {
    CGridSheet& s = *m_sheet;
    s.inputKind = GridInput::Keyboard;
    int processed = 0;
    if (s.currentColumn >= 0 && s.currentRow >= 0) {
        CCellRecord record;
        GetResolvedCell(s.currentColumn, s.currentRow, &record);
        processed =
            GetCellType(record.GetCellType())->OnKeyDown(s.currentColumn, s.currentRow, &key);
    }
    OnKeyDown(&key, processed);
    m_lastKeyConsumed = key == 0;
    const bool ctrl = m_modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_PageUp:
        GotoRow(s.targetRow - RowsInPage(s.targetRow - 1, -1));
        break;
    case Qt::Key_PageDown:
        GotoRow(s.targetRow + RowsInPage(s.targetRow + 1, 1));
        break;
    case Qt::Key_Home:
        if (ctrl)
            GotoRow(0);
        else
            GotoColumn(0);
        break;
    case Qt::Key_End:
        if (ctrl)
            GotoRow(s.rowCount - 1);
        else
            GotoColumn(s.columnCount - 1);
        break;
    case Qt::Key_Left:
        GotoColumn(s.targetColumn - 1);
        break;
    case Qt::Key_Right:
        GotoColumn(s.targetColumn + 1);
        break;
    case Qt::Key_Up:
        GotoRow(s.targetRow - 1);
        break;
    case Qt::Key_Down:
        GotoRow(s.targetRow + 1);
        break;
    default:
        break;
    }
}

// --- Repainting --------------------------------------------------------------------------

void CCellGrid::RedrawAll() {
    if (!m_redrawEnabled || m_failed || !m_cellArea)
        return;
    m_cellArea->update();
    m_topHeading->update();
    m_sideHeading->update();
    m_corner->update();
    m_tabs->update();
    UpdateScrollBars();
}

void CCellGrid::RedrawCell(int column, int row) {
    if (m_failed || !m_cellArea)
        return;
    if (column < 0) {
        m_sideHeading->update();
        if (row < 0)
            m_corner->update();
        return;
    }
    if (row < 0) {
        m_topHeading->update();
        return;
    }
    QRect rect;
    if (GetCellRect(column, row, &rect) == 0)
        m_cellArea->update(rect);
}

void CCellGrid::RedrawRow(int row) {
    if (m_failed || !m_cellArea || row < 0)
        return;
    const int y = RowTop(row);
    const int h = m_sheet->RowHeight(row);
    if (y + h <= 0 || y >= m_sheet->cellAreaHeight)
        return;
    m_cellArea->update(QRect(0, y, m_sheet->cellAreaWidth, h));
    m_sideHeading->update(QRect(0, y, m_sideHeading->width(), h));
}
