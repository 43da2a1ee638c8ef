#include "GridPainter.h"

#include "CellGrid.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace {
std::uint64_t BlockKey(int column, int row) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(column)) << 32) |
           static_cast<std::uint32_t>(row);
}
} // namespace

CGridPainter::CGridPainter(CCellGrid& grid, const CGridSheet& sheet)
    : m_grid(grid), m_sheet(sheet) {}

void CGridPainter::Prepare(QPainter* dc, int section) {
    m_grid.OnSetupDevice(dc, nullptr, section);
    const QFont* font = m_sheet.Options().defaultFont;
    dc->setFont(font ? *font : m_grid.font());
}

void CGridPainter::PaintCells(QPainter* dc, const QRect& dirty, const std::vector<CGridSlot>& rows,
                              const CGridSlots& columns, const QPoint& offset, QRect* focus) {
    const bool rowHighlight = m_sheet.Options().rowHighlight != 0;
    const int currentColumn = m_sheet.Columns().Current();
    const int currentRow = m_sheet.Rows().Current();
    std::unordered_set<std::uint64_t> drawn;
    CCellRecord record;
    for (const CGridSlot& r : rows) {
        if (r.pos + r.size > dirty.top() && r.pos <= dirty.bottom()) {
            for (const CGridSlot& c : columns.items) {
                if (c.pos + c.size <= dirty.left() || c.pos > dirty.right())
                    continue;
                CGridBlock block{c.index, r.index, c.index, r.index};
                QRect rect(c.pos, r.pos, c.size, r.size);
                if (m_sheet.FindBlock(c.index, r.index, &block)) {
                    if (!drawn.insert(BlockKey(block.startColumn, block.startRow)).second)
                        continue;
                    rect = m_sheet.BlockRect(block).translated(offset);
                }
                m_grid.GetResolvedCell(block.startColumn, block.startRow, &record);
                const bool current =
                    focus && currentRow >= block.startRow && currentRow <= block.endRow &&
                    (rowHighlight ||
                     (currentColumn >= block.startColumn && currentColumn <= block.endColumn));
                CCellTypeHandler* type = m_grid.GetCellType(record.GetCellType());
                dc->save();
                type->OnDraw(dc, rect, block.startColumn, block.startRow, record, 0,
                             current ? 1 : 0);
                dc->restore();
                if (current && !rowHighlight)
                    *focus = rect;
            }
        }
        if (focus && rowHighlight && r.index == currentRow)
            *focus = QRect(0, r.pos, columns.end, r.size);
    }
}

void CGridPainter::PaintCellArea(QPainter* dc, const QRect& dirty, const QSize& size,
                                 bool focused) {
    Prepare(dc, GridSection::CellArea);
    const int W = size.width();
    const int H = size.height();
    const CGridSlots columns = m_sheet.Columns().VisibleSlots(W);
    const CGridSlots rows = m_sheet.Rows().VisibleSlots(H);
    QRect focus;
    PaintCells(dc, dirty, rows.items, columns, QPoint(), &focus);

    // The empty area right of the last column and below the last row.
    const QColor empty = ToQColor(m_grid.OnGetDefaultBackColor(GridSection::CellArea));
    const int rowsBottom = std::min(rows.end, H);
    if (columns.end < W && rowsBottom > 0)
        dc->fillRect(QRect(columns.end, 0, W - columns.end, rowsBottom), empty);
    if (rowsBottom < H)
        dc->fillRect(QRect(0, rowsBottom, W, H - rowsBottom), empty);

    if (focused && focus.isValid())
        m_grid.OnDrawFocusRect(dc, focus);
}

void CGridPainter::PaintHeading(QPainter* dc, const QRect& dirty, const QSize& size, bool top) {
    Prepare(dc, top ? GridSection::TopHeading : GridSection::SideHeading);
    // The top heading shows the heading rows along the columns; the side heading the
    // heading columns along the rows.
    const CGridAxis& headings = top ? m_sheet.Rows() : m_sheet.Columns();
    const CGridAxis& along = top ? m_sheet.Columns() : m_sheet.Rows();
    const int length = top ? size.width() : size.height();
    const int extent = headings.HeadingExtent();
    const auto strip = [top](int from, int to, int across) {
        return top ? QRect(from, 0, to - from, across) : QRect(0, from, across, to - from);
    };
    const QColor back = ToQColor(m_sheet.HeadingDefault().GetBackColor());
    const int outermost = headings.HeadingPos(-headings.HeadingCount());
    if (outermost > 0) // the room before the outermost heading slot
        dc->fillRect(top ? QRect(0, 0, length, outermost) : QRect(0, 0, outermost, length), back);
    const CGridSlots cells = along.VisibleSlots(length);
    CGridSlots headingSlots;
    headingSlots.items = headings.HeadingSlots();
    if (top)
        PaintCells(dc, dirty, headingSlots.items, cells, QPoint(0, extent), nullptr);
    else
        PaintCells(dc, dirty, cells.items, headingSlots, QPoint(extent, 0), nullptr);
    if (cells.end < length)
        dc->fillRect(strip(cells.end, length, extent), back);
}

void CGridPainter::PaintCorner(QPainter* dc, const QSize& size) {
    Prepare(dc, GridSection::Corner);
    CCellRecord record;
    m_grid.GetResolvedCell(-1, -1, &record);
    CCellTypeHandler* type = m_grid.GetCellType(record.GetCellType());
    dc->save();
    type->OnDraw(dc, QRect(QPoint(0, 0), size), -1, -1, record, 0, 0);
    dc->restore();
}

int CGridPainter::BestFitWidth(int column) {
    const CGridAxis& rowAxis = m_sheet.Rows();
    // Twenty rows: the heading rows from the outermost, the locked rows, then the rows
    // from the top of the view.
    std::vector<int> rows;
    for (int r = -rowAxis.HeadingCount(); r <= -1 && rows.size() < 20; ++r)
        rows.push_back(r);
    for (int r = 0; r < rowAxis.Locked() && rows.size() < 20; ++r)
        rows.push_back(r);
    for (int r = rowAxis.First(); r < rowAxis.Count() && rows.size() < 20; ++r)
        rows.push_back(r);
    int best = 3;
    CCellRecord record;
    for (int r : rows) {
        m_grid.GetResolvedCell(column, r, &record);
        if (record.Has(CCellRecord::PropJoin))
            continue;
        QSize size(0, 0);
        m_grid.GetCellType(record.GetCellType())->GetBestSize(nullptr, &size, record);
        best = std::max(best, size.width());
    }
    const int cap = m_sheet.Columns().ViewExtent() - m_sheet.Options().vScrollWidth;
    if (cap > 0 && best > cap)
        best = cap;
    return best;
}
