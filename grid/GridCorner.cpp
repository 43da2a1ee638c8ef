#include "GridCorner.h"

#include "GridPainter.h"
#include "GridParts.h"

#include <QPainter>
#include <cstdlib>

CGridCorner::CGridCorner(CGridParts& parts, QWidget* parent)
    : CGridHeadingBase(parts, GridSection::Corner, parent) {}

void CGridCorner::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    m_parts.painter.PaintCorner(&dc, size());
}

int CGridCorner::HitDivider(const QPoint& point, int* index) {
    const CGridSheet& sheet = m_parts.sheet;
    CCellGrid& grid = m_parts.grid;
    if (std::abs(point.x() - sheet.SideHeadingWidth()) < 3 && grid.OnCanSizeSideHeading()) {
        *index = -1;
        return GridSizing::SideHeadingColumn;
    }
    if (std::abs(point.y() - sheet.TopHeadingHeight()) < 3 && grid.OnCanSizeTopHeading()) {
        *index = -1;
        return GridSizing::TopHeadingRow;
    }
    return GridSizing::None;
}

int CGridCorner::HitCell(const QPoint&, int* column, int* row, QRect* rect) {
    *column = -1;
    *row = -1;
    *rect = QRect(0, 0, width(), height());
    return 0;
}

void CGridCorner::CallHook(int, int, Press press, bool right, const QRect& rect,
                           const QPoint& point, int processed) {
    CCellGrid& grid = m_parts.grid;
    const int down = press == Press::Down ? 1 : 0;
    if (press == Press::Double)
        grid.OnCornerDoubleClick(rect, point, processed);
    else if (right)
        grid.OnCornerRightClick(down, rect, point, processed);
    else
        grid.OnCornerClick(down, rect, point, processed);
}
