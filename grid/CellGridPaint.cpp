// Painting of the cell area, the headings and the corner, and the best-fit width.

#include "CellGrid.h"

#include "GridComponents.h"

#include <QPainter>
#include <algorithm>

namespace {
// One visible column or row of a paint pass: its index, position and size.
struct Slot {
    int index;
    int pos;
    int size;
};

// A joined block already drawn in this pass.
struct DrawnBlock {
    int column;
    int row;
};

bool AlreadyDrawn(std::vector<DrawnBlock>& drawn, int column, int row) {
    for (const DrawnBlock& b : drawn)
        if (b.column == column && b.row == row)
            return true;
    drawn.push_back({column, row});
    return false;
}
} // namespace

void CCellGrid::DrawOneCell(QPainter* dc, CCellRecord* record, int column, int row,
                            const QRect& rect, int current) {
    CCellTypeHandler* type = GetCellType(record->GetCellType());
    dc->save();
    type->OnDraw(dc, rect, column, row, *record, 0, current);
    dc->restore();
}

void CCellGrid::PaintCellArea(QPainter* dc, const QRect& dirty) {
    CGridSheet& s = *m_sheet;
    OnSetupDevice(dc, nullptr, GridSection::CellArea);
    dc->setFont(s.defaultFont ? *s.defaultFont : font());
    const int W = m_cellArea->width();
    const int H = m_cellArea->height();

    // The visible columns: the locked ones, then from the left column.
    std::vector<Slot> columns;
    int x = 0;
    for (int c = s.lockedColumns > 0 ? 0 : s.leftColumn; c < s.columnCount && x < W;) {
        const int w = s.columns[static_cast<size_t>(c)].width;
        if (w > 0) {
            columns.push_back({c, x, w});
            x += w;
        }
        ++c;
        if (c == s.lockedColumns && c < s.leftColumn)
            c = s.leftColumn;
    }
    const int columnsRight = x;

    std::vector<DrawnBlock> drawn;
    QRect focusRect;
    const int curColumn = s.currentColumn;
    const int curRow = s.currentRow;
    CCellRecord record;
    int y = 0;
    int r = s.lockedRows > 0 ? 0 : s.topRow;
    while (y < H) {
        if (r >= s.rowCount) {
            // The last row is on screen: ask whether more rows can be supplied.
            const int oldCount = s.rowCount;
            int found = 0;
            const int past = (H - y) / std::max(1, s.defaultRowHeight) + 1;
            s.source->OnHitBottom(oldCount, past, &found);
            OnHitBottom(oldCount, past, &found);
            if (s.rowCount <= oldCount || r >= s.rowCount)
                break;
        }
        const int h = s.RowHeight(r);
        if (h > 0) {
            if (y + h > dirty.top() && y <= dirty.bottom()) {
                for (const Slot& col : columns) {
                    if (col.pos + col.size <= dirty.left() || col.pos > dirty.right())
                        continue;
                    const int c = col.index;
                    GetResolvedCell(c, r, &record);
                    int isStart = 0, rowOffset = 0, columnOffset = 0;
                    if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) == 0) {
                        const int sc = isStart ? c : c + columnOffset;
                        const int sr = isStart ? r : r + rowOffset;
                        if (AlreadyDrawn(drawn, sc, sr))
                            continue;
                        if (!isStart) {
                            GetResolvedCell(sc, sr, &record);
                            if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) != 0 ||
                                !isStart)
                                rowOffset = columnOffset = 0;
                        }
                        const int ec = sc + columnOffset;
                        const int er = sr + rowOffset;
                        const QRect block = BlockRect(sc, sr, columnOffset, rowOffset);
                        const bool inRows = curRow >= sr && curRow <= er;
                        const int current =
                            inRows && (s.rowHighlight || (curColumn >= sc && curColumn <= ec));
                        DrawOneCell(dc, &record, sc, sr, block, current);
                        if (current && !s.rowHighlight)
                            focusRect = block;
                    } else {
                        const QRect cell(col.pos, y, col.size, h);
                        const int current = r == curRow && (c == curColumn || s.rowHighlight);
                        DrawOneCell(dc, &record, c, r, cell, current);
                        if (current && !s.rowHighlight)
                            focusRect = cell;
                    }
                }
            }
            if (r == curRow && s.rowHighlight)
                focusRect = QRect(0, y, columnsRight, h);
            y += h;
        }
        ++r;
        if (r == s.lockedRows && r < s.topRow)
            r = s.topRow;
    }

    // The empty area right of the last column and below the last row.
    const QColor empty = ToQColor(OnGetDefaultBackColor(GridSection::CellArea));
    const int rowsBottom = std::min(y, H);
    if (columnsRight < W && rowsBottom > 0)
        dc->fillRect(QRect(columnsRight, 0, W - columnsRight, rowsBottom), empty);
    if (rowsBottom < H)
        dc->fillRect(QRect(0, rowsBottom, W, H - rowsBottom), empty);

    if (m_cellArea->HasFocusNoted() && focusRect.isValid())
        OnDrawFocusRect(dc, focusRect);
}

void CCellGrid::PaintTopHeading(QPainter* dc, const QRect& dirty) {
    CGridSheet& s = *m_sheet;
    OnSetupDevice(dc, nullptr, GridSection::TopHeading);
    dc->setFont(s.defaultFont ? *s.defaultFont : font());
    const int W = m_topHeading->width();
    const int T = s.topHeadingHeight;
    const QColor headingBack = ToQColor(s.headingDefault.GetBackColor());

    std::vector<Slot> columns;
    int x = 0;
    for (int c = s.lockedColumns > 0 ? 0 : s.leftColumn; c < s.columnCount && x < W;) {
        const int w = s.columns[static_cast<size_t>(c)].width;
        if (w > 0) {
            columns.push_back({c, x, w});
            x += w;
        }
        ++c;
        if (c == s.lockedColumns && c < s.leftColumn)
            c = s.leftColumn;
    }
    const int columnsRight = x;

    std::vector<DrawnBlock> drawn;
    CCellRecord record;
    const int firstTop = TopHeadingRowTop(-s.TopHeadingRows());
    if (firstTop > 0)
        dc->fillRect(QRect(0, 0, W, firstTop), headingBack);
    for (int r = -s.TopHeadingRows(); r <= -1; ++r) {
        const int y = TopHeadingRowTop(r);
        const int h = s.RowHeight(r);
        if (h <= 0 || y + h <= dirty.top() || y > dirty.bottom())
            continue;
        for (const Slot& col : columns) {
            if (col.pos + col.size <= dirty.left() || col.pos > dirty.right())
                continue;
            const int c = col.index;
            GetResolvedCell(c, r, &record);
            int isStart = 0, rowOffset = 0, columnOffset = 0;
            if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) == 0) {
                const int sc = isStart ? c : c + columnOffset;
                const int sr = isStart ? r : r + rowOffset;
                if (AlreadyDrawn(drawn, sc, sr))
                    continue;
                if (!isStart) {
                    GetResolvedCell(sc, sr, &record);
                    if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) != 0 || !isStart)
                        rowOffset = columnOffset = 0;
                }
                QRect block = BlockRect(sc, sr, columnOffset, rowOffset);
                block.translate(0, T);
                DrawOneCell(dc, &record, sc, sr, block, 0);
            } else {
                DrawOneCell(dc, &record, c, r, QRect(col.pos, y, col.size, h), 0);
            }
        }
    }
    if (columnsRight < W)
        dc->fillRect(QRect(columnsRight, 0, W - columnsRight, T), headingBack);
}

void CCellGrid::PaintSideHeading(QPainter* dc, const QRect& dirty) {
    CGridSheet& s = *m_sheet;
    OnSetupDevice(dc, nullptr, GridSection::SideHeading);
    dc->setFont(s.defaultFont ? *s.defaultFont : font());
    const int H = m_sideHeading->height();
    const int S = s.sideHeadingWidth;
    const QColor headingBack = ToQColor(s.headingDefault.GetBackColor());

    std::vector<DrawnBlock> drawn;
    CCellRecord record;
    const int firstLeft = SideHeadingColumnLeft(-s.SideHeadingColumns());
    if (firstLeft > 0)
        dc->fillRect(QRect(0, 0, firstLeft, H), headingBack);
    int y = 0;
    int r = s.lockedRows > 0 ? 0 : s.topRow;
    while (r < s.rowCount && y < H) {
        const int h = s.RowHeight(r);
        if (h > 0) {
            if (y + h > dirty.top() && y <= dirty.bottom()) {
                for (int c = -s.SideHeadingColumns(); c <= -1; ++c) {
                    const int x = SideHeadingColumnLeft(c);
                    const int w = s.ColumnWidth(c);
                    if (w <= 0)
                        continue;
                    GetResolvedCell(c, r, &record);
                    int isStart = 0, rowOffset = 0, columnOffset = 0;
                    if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) == 0) {
                        const int sc = isStart ? c : c + columnOffset;
                        const int sr = isStart ? r : r + rowOffset;
                        if (AlreadyDrawn(drawn, sc, sr))
                            continue;
                        if (!isStart) {
                            GetResolvedCell(sc, sr, &record);
                            if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) != 0 ||
                                !isStart)
                                rowOffset = columnOffset = 0;
                        }
                        QRect block = BlockRect(sc, sr, columnOffset, rowOffset);
                        block.translate(S, 0);
                        DrawOneCell(dc, &record, sc, sr, block, 0);
                    } else {
                        DrawOneCell(dc, &record, c, r, QRect(x, y, w, h), 0);
                    }
                }
            }
            y += h;
        }
        ++r;
        if (r == s.lockedRows && r < s.topRow)
            r = s.topRow;
    }
    if (y < H)
        dc->fillRect(QRect(0, y, S, H - y), headingBack);
}

void CCellGrid::PaintCorner(QPainter* dc) {
    OnSetupDevice(dc, nullptr, GridSection::Corner);
    dc->setFont(m_sheet->defaultFont ? *m_sheet->defaultFont : font());
    CCellRecord record;
    GetResolvedCell(-1, -1, &record);
    DrawOneCell(dc, &record, -1, -1, QRect(0, 0, m_corner->width(), m_corner->height()), 0);
}

int CCellGrid::BestFitWidth(int column) {
    const CGridSheet& s = *m_sheet;
    // Twenty rows: the heading rows from the outermost, the locked rows, then the rows
    // from the top of the view.
    std::vector<int> rows;
    for (int r = -s.TopHeadingRows(); r <= -1 && rows.size() < 20; ++r)
        rows.push_back(r);
    for (int r = 0; r < s.lockedRows && rows.size() < 20; ++r)
        rows.push_back(r);
    for (int r = s.topRow; r < s.rowCount && rows.size() < 20; ++r)
        rows.push_back(r);
    int best = 3;
    CCellRecord record;
    for (int r : rows) {
        GetResolvedCell(column, r, &record);
        if (record.Has(CCellRecord::PropJoin))
            continue;
        QSize size(0, 0);
        GetCellType(record.GetCellType())->GetBestSize(nullptr, &size, record);
        best = std::max(best, size.width());
    }
    const int cap = s.cellAreaWidth - s.vScrollWidth;
    if (cap > 0 && best > cap)
        best = cap;
    return best;
}
