#include "GridHeading.h"

#include "GridCellArea.h"
#include "GridComponents.h"
#include "GridNavigator.h"
#include "GridPainter.h"
#include "GridParts.h"
#include "GridWindows.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {
// The hook that sees a size while it is dragged, or once the drag ends.
void SizingHook(CCellGrid& grid, int kind, int index, int* size, bool done) {
    switch (kind) {
    case GridSizing::ColumnWidth:
        done ? grid.OnColumnSized(index, size) : grid.OnColumnSizing(index, size);
        break;
    case GridSizing::RowHeight:
        done ? grid.OnRowSized(index, size) : grid.OnRowSizing(index, size);
        break;
    case GridSizing::TopHeadingRow:
        done ? grid.OnTopHeadingSized(size) : grid.OnTopHeadingSizing(size);
        break;
    case GridSizing::SideHeadingColumn:
        done ? grid.OnSideHeadingSized(size) : grid.OnSideHeadingSizing(size);
        break;
    default:
        break;
    }
}
} // namespace

CGridHeadingBase::CGridHeadingBase(CGridParts& parts, int section, QWidget* parent)
    : QWidget(parent), m_parts(parts), m_section(section) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(parts.sheet.ArrowCursor());
}

CGridAxis& CGridHeadingBase::SizedAxis() const {
    const bool rows =
        m_armedKind == GridSizing::RowHeight || m_armedKind == GridSizing::TopHeadingRow;
    return rows ? m_parts.sheet.Rows() : m_parts.sheet.Columns();
}

bool CGridHeadingBase::SizesHeading() const {
    return m_armedKind == GridSizing::TopHeadingRow || m_armedKind == GridSizing::SideHeadingColumn;
}

int CGridHeadingBase::SizingCoord(const QPoint& point) const {
    return &SizedAxis() == &m_parts.sheet.Rows() ? point.y() : point.x();
}

void CGridHeadingBase::Arm(int kind, int index) {
    m_armedKind = kind;
    m_armedIndex = index;
    const bool acrossX = kind == GridSizing::ColumnWidth || kind == GridSizing::SideHeadingColumn;
    setCursor(acrossX ? m_parts.sheet.WestEastCursor() : m_parts.sheet.NorthSouthCursor());
}

void CGridHeadingBase::Disarm() {
    if (m_armedKind != GridSizing::None) {
        m_armedKind = GridSizing::None;
        setCursor(m_parts.sheet.ArrowCursor());
    }
}

void CGridHeadingBase::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!m_sizing)
        Disarm();
}

void CGridHeadingBase::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (m_sizing) {
        SizeTo(point);
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        int index = 0;
        const int kind = HitDivider(point, &index);
        if (kind != GridSizing::None)
            Arm(kind, index);
        else
            Disarm();
    }
}

void CGridHeadingBase::mousePressEvent(QMouseEvent* event) {
    m_parts.navigator.SetModifiers(event->modifiers());
    if (event->button() == Qt::LeftButton && m_armedKind != GridSizing::None) {
        StartSizing(event->position().toPoint());
        return;
    }
    Click(event, 1);
}

void CGridHeadingBase::mouseReleaseEvent(QMouseEvent* event) {
    m_parts.navigator.SetModifiers(event->modifiers());
    if (m_sizing && event->button() == Qt::LeftButton) {
        FinishSizing();
        return;
    }
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    Click(event, 0);
}

void CGridHeadingBase::mouseDoubleClickEvent(QMouseEvent* event) {
    m_parts.navigator.SetModifiers(event->modifiers());
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        Click(event, 1);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (m_armedKind == GridSizing::ColumnWidth) {
        if (m_parts.sheet.Options().bestFit) {
            m_parts.sheet.Columns().SetSize(m_armedIndex,
                                            m_parts.painter.BestFitWidth(m_armedIndex));
            m_parts.windows.Layout();
            m_parts.windows.CellArea()->update();
            update();
        }
        m_swallowRelease = true;
        return;
    }
    if (m_armedKind != GridSizing::None) {
        m_swallowRelease = true;
        return;
    }
    int column, row;
    QRect rect;
    if (HitCell(point, &column, &row, &rect) != 0)
        return;
    CCellRecord record;
    const int processed =
        CellTypeAt(m_parts.grid, column, row, &record)->OnDoubleClick(column, row, rect, point);
    CallHook(column, row, Press::Double, false, rect, point, processed);
}

void CGridHeadingBase::Click(QMouseEvent* event, int buttonDown) {
    const bool right = event->button() == Qt::RightButton;
    if (!right && event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (buttonDown)
        m_parts.windows.CellArea()->setFocus(Qt::MouseFocusReason);
    int column, row;
    QRect rect;
    if (HitCell(point, &column, &row, &rect) != 0)
        return;
    CCellRecord record;
    CCellTypeHandler* type = CellTypeAt(m_parts.grid, column, row, &record);
    const int processed = right ? type->OnRightClick(column, row, buttonDown, rect, point)
                                : type->OnClick(column, row, buttonDown, rect, point);
    CallHook(column, row, buttonDown ? Press::Down : Press::Up, right, rect, point, processed);
}

// --- Sizing -------------------------------------------------------------------------------

void CGridHeadingBase::StartSizing(const QPoint& point) {
    const CGridAxis& axis = SizedAxis();
    m_sizing = 1;
    m_startPos = SizingCoord(point);
    m_startSize = axis.Size(m_armedIndex);
    if (SizesHeading())
        m_startHeadingSize = axis.HeadingExtent();
    else
        m_edgeMin = axis.Position(m_armedIndex);
}

void CGridHeadingBase::ApplySlotSize(int size) {
    CGridAxis& axis = SizedAxis();
    if (m_armedKind == GridSizing::RowHeight)
        size = std::clamp(size, axis.Uniform() ? 1 : 0, 1024);
    axis.SetSize(m_armedIndex, std::max(0, size));
}

void CGridHeadingBase::SizeTo(const QPoint& point) {
    CGridAxis& axis = SizedAxis();
    const int coord = SizingCoord(point);
    if (!SizesHeading()) {
        // At or past the slot's near edge the slot closes completely.
        const int at = std::max(coord, m_edgeMin);
        int size = at == m_edgeMin ? 0 : m_startSize + (at - m_startPos);
        SizingHook(m_parts.grid, m_armedKind, m_armedIndex, &size, false);
        ApplySlotSize(std::max(0, size));
        update();
        m_parts.windows.CellArea()->ShowTrackingLine(m_armedKind == GridSizing::ColumnWidth, at);
        return;
    }
    const int delta = coord - m_startPos;
    const int slotSize = std::max(0, m_startSize + delta);
    int headingSize = std::max(0, m_startHeadingSize + delta);
    SizingHook(m_parts.grid, m_armedKind, m_armedIndex, &headingSize, false);
    axis.SetHeadingSize(m_armedIndex, std::min(slotSize, 1024));
    axis.SetHeadingExtent(std::clamp(headingSize, 0, 1024));
    CGridWindows& windows = m_parts.windows;
    windows.Layout();
    if (m_armedKind == GridSizing::TopHeadingRow)
        windows.TopHeading()->update();
    else
        windows.SideHeading()->update();
    windows.Corner()->update();
}

void CGridHeadingBase::FinishSizing() {
    CGridAxis& axis = SizedAxis();
    CGridWindows& windows = m_parts.windows;
    m_sizing = 0;
    if (!SizesHeading()) {
        int size = axis.Size(m_armedIndex);
        SizingHook(m_parts.grid, m_armedKind, m_armedIndex, &size, true);
        ApplySlotSize(size);
        windows.CellArea()->ShowTrackingLine(m_armedKind == GridSizing::ColumnWidth, -1);
    } else {
        int size = axis.HeadingExtent();
        SizingHook(m_parts.grid, m_armedKind, m_armedIndex, &size, true);
        axis.SetHeadingExtent(std::clamp(size, 0, 1024));
    }
    windows.Layout();
    windows.CellArea()->update();
    windows.TopHeading()->update();
    windows.SideHeading()->update();
    windows.Corner()->update();
}

// --- Top and side heading -----------------------------------------------------------------

CGridAxisHeading::CGridAxisHeading(CGridParts& parts, bool top, QWidget* parent)
    : CGridHeadingBase(parts, top ? GridSection::TopHeading : GridSection::SideHeading, parent),
      m_top(top) {}

void CGridAxisHeading::paintEvent(QPaintEvent* event) {
    QPainter dc(this);
    m_parts.painter.PaintHeading(&dc, event->rect(), size(), m_top);
}

int CGridAxisHeading::HitDivider(const QPoint& point, int* index) {
    const CGridSheet& sheet = m_parts.sheet;
    CCellGrid& grid = m_parts.grid;
    CCellSource* source = sheet.Source();
    const CGridAxis& along = m_top ? sheet.Columns() : sheet.Rows();
    const CGridAxis& across = m_top ? sheet.Rows() : sheet.Columns();
    const int alongCoord = m_top ? point.x() : point.y();
    const int acrossCoord = m_top ? point.y() : point.x();
    // The far edge of a slot sizes it; the option of column sizing covers columns only.
    if (!m_top || sheet.Options().columnSizing) {
        const int slot = along.DividerAt(alongCoord, m_top ? width() : height());
        const bool may =
            slot >= 0 && (m_top ? grid.OnCanSizeColumn(slot) && source->OnCanSizeColumn(slot)
                                : grid.OnCanSizeRow(slot) && source->OnCanSizeRow(slot));
        if (may) {
            *index = slot;
            return m_top ? GridSizing::ColumnWidth : GridSizing::RowHeight;
        }
    }
    // The far edge of a heading slot sizes the heading.
    const int heading = across.HeadingDividerAt(acrossCoord);
    if (heading != 0 && (m_top ? grid.OnCanSizeTopHeading() : grid.OnCanSizeSideHeading())) {
        *index = heading;
        return m_top ? GridSizing::TopHeadingRow : GridSizing::SideHeadingColumn;
    }
    return GridSizing::None;
}

int CGridAxisHeading::HitCell(const QPoint& point, int* column, int* row, QRect* rect) {
    const CGridSheet& sheet = m_parts.sheet;
    const CGridAxis& along = m_top ? sheet.Columns() : sheet.Rows();
    const CGridAxis& across = m_top ? sheet.Rows() : sheet.Columns();
    const int slot = along.SlotAt(m_top ? point.x() : point.y());
    const int heading = across.HeadingSlotAt(m_top ? point.y() : point.x());
    if (heading == 0 || slot < 0)
        return 1;
    const CGridBlock block = m_top ? sheet.BlockOf(slot, heading) : sheet.BlockOf(heading, slot);
    *column = block.startColumn;
    *row = block.startRow;
    const int extent = across.HeadingExtent();
    *rect = sheet.BlockRect(block).translated(m_top ? QPoint(0, extent) : QPoint(extent, 0));
    return 0;
}

void CGridAxisHeading::CallHook(int column, int row, Press press, bool right, const QRect& rect,
                                const QPoint& point, int processed) {
    CCellGrid& grid = m_parts.grid;
    const int down = press == Press::Down ? 1 : 0;
    if (press == Press::Double && m_top)
        grid.OnTopHeadingDoubleClick(column, row, rect, point, processed);
    else if (press == Press::Double)
        grid.OnSideHeadingDoubleClick(column, row, rect, point, processed);
    else if (m_top && right)
        grid.OnTopHeadingRightClick(column, row, down, rect, point, processed);
    else if (m_top)
        grid.OnTopHeadingClick(column, row, down, rect, point, processed);
    else if (right)
        grid.OnSideHeadingRightClick(column, row, down, rect, point, processed);
    else
        grid.OnSideHeadingClick(column, row, down, rect, point, processed);
}
