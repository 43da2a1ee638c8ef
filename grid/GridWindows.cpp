#include "GridWindows.h"

#include "GridComponents.h"
#include "GridNavigator.h"
#include "GridParts.h"

#include <QScrollBar>
#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
// Scroll bars show at most this many positions; beyond that positions are scaled.
constexpr int kMaxScrollPositions = 1000;
} // namespace

CGridWindows::CGridWindows(CCellGrid& grid, CGridSheet& sheet) : m_grid(grid), m_sheet(sheet) {
    m_bottomCheck.setSingleShot(true);
    m_bottomCheck.setInterval(0);
    QObject::connect(&m_bottomCheck, &QTimer::timeout, &m_bottomCheck, [this] { CheckBottom(); });
}

bool CGridWindows::Create(CGridParts& parts) {
    m_parts = &parts;
    try {
        m_cellArea = new CGridCellArea(parts, &m_grid);
        m_topHeading = new CGridTopHeading(parts, &m_grid);
        m_sideHeading = new CGridSideHeading(parts, &m_grid);
        m_corner = new CGridCorner(parts, &m_grid);
        m_tabs = new QWidget(&m_grid); // the sheet-tab strip: never given a width
        m_tabs->setAutoFillBackground(true);
        QPalette face = m_tabs->palette();
        face.setColor(QPalette::Window, ToQColor(GetGridSysColor(GridSysColor::ButtonFace)));
        m_tabs->setPalette(face);
        m_vScroll = new CGridScrollBar(parts, Qt::Vertical, &m_grid);
        m_hScroll = new CGridScrollBar(parts, Qt::Horizontal, &m_grid);
        m_hint = new CGridHintWnd(&m_grid);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_tabs->hide();
    m_hint->hide();
    return true;
}

void CGridWindows::Destroy() {
    m_bottomCheck.stop();
    const QList<QWidget*> children =
        m_grid.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        delete child;
    m_cellArea = nullptr;
    m_topHeading = nullptr;
    m_sideHeading = nullptr;
    m_corner = nullptr;
    m_tabs = nullptr;
    m_vScroll = nullptr;
    m_hScroll = nullptr;
    m_hint = nullptr;
    m_trackingWindow = nullptr;
}

// --- Layout -------------------------------------------------------------------------------

void CGridWindows::Layout() {
    if (m_grid.IsFailed() || !m_cellArea || m_inLayout)
        return;
    m_inLayout = true;
    const CGridOptions& o = m_sheet.Options();
    const QRect client = m_grid.contentsRect();
    const int W = std::max(0, client.width());
    const int H = std::max(0, client.height());
    const int S = m_sheet.SideHeadingWidth();
    const int T = m_sheet.TopHeadingHeight();
    int V = o.vScrollWidth;
    int B = o.hScrollHeight;

    // A bar is left out when what it scrolls fits, also beside the other bar if that one
    // shows.
    const long long columnSum = m_sheet.Columns().SumCapped(W - S);
    const long long rowSum = m_sheet.Rows().SumCapped(H - T);
    const bool columnsFit = columnSum <= W - S;
    const bool rowsFit = rowSum <= H - T;
    const bool hasTabs = o.tabWidth > 0;
    if (rowsFit && (columnsFit || rowSum <= H - T - B))
        V = 0;
    if (columnsFit && !hasTabs && (rowsFit || columnSum <= W - S - V))
        B = 0;
    int tabWidth = 0;
    if (hasTabs) {
        tabWidth = o.tabWidth;
        if (tabWidth > W - S - 30)
            tabWidth = std::max(4, W - S - 30);
    }

    const QPoint at = client.topLeft();
    CGridLayout l;
    l.corner = QRect(at.x(), at.y(), S, T);
    l.topHeading = QRect(at.x() + S, at.y(), std::max(0, W - V - S), T);
    l.sideHeading = QRect(at.x(), at.y() + T, S, std::max(0, H - B - T));
    l.cellArea = QRect(at.x() + S, at.y() + T, std::max(0, W - V - S), std::max(0, H - B - T));
    l.vScroll = QRect(at.x() + W - V, at.y(), V, std::max(0, H - B));
    l.hScroll = QRect(at.x() + tabWidth, at.y() + H - B, std::max(0, W - V - tabWidth), B);
    l.tabs = QRect(at.x(), at.y() + H - B, tabWidth, B);
    m_grid.OnComponentsLaidOut(&l.cellArea, &l.topHeading, &l.sideHeading, &l.corner, &l.vScroll,
                               &l.hScroll, &l.tabs);
    m_sheet.SetLayout(l);

    const auto place = [](QWidget* w, const QRect& r) {
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
    place(m_cellArea, l.cellArea);
    place(m_topHeading, l.topHeading);
    place(m_sideHeading, l.sideHeading);
    place(m_corner, l.corner);
    place(m_vScroll, l.vScroll);
    place(m_hScroll, l.hScroll);
    place(m_tabs, l.tabs);

    m_sheet.Rows().UpdateLast();
    m_sheet.Columns().UpdateLast();
    UpdateScrollBars();
    ScheduleBottomCheck();
    m_inLayout = false;
}

void CGridWindows::UpdateScrollBars() {
    if (!m_vScroll || !m_hScroll)
        return;
    const auto apply = [](QScrollBar* bar, int min, int max, int page, int value) {
        const bool blocked = bar->blockSignals(true);
        if (bar->minimum() != min || bar->maximum() != max)
            bar->setRange(min, std::max(min, max));
        if (bar->pageStep() != page)
            bar->setPageStep(std::max(1, page));
        if (bar->value() != value && !bar->isSliderDown())
            bar->setValue(value);
        bar->blockSignals(blocked);
    };
    // Beyond the bar's positions the thumb shows the view's share of the slots.
    const auto scaled = [](const CGridAxis& a) {
        return static_cast<int>(static_cast<long long>(a.First()) * kMaxScrollPositions /
                                a.Count());
    };
    const CGridAxis& rows = m_sheet.Rows();
    const CGridAxis& columns = m_sheet.Columns();
    if (rows.Count() <= kMaxScrollPositions) {
        const int page = std::max(1, rows.ViewExtent() / std::max(1, rows.DefaultSize()));
        apply(m_vScroll, rows.Locked(), rows.Last(), page, rows.First());
    } else {
        apply(m_vScroll, 0, kMaxScrollPositions, 1, scaled(rows));
    }
    if (columns.Count() <= kMaxScrollPositions) {
        const int room = columns.ViewExtent() - static_cast<int>(columns.LockedSize());
        const int page = std::max(1, room / std::max(1, columns.DefaultSize()));
        apply(m_hScroll, 0, columns.Last() - columns.Locked(), page,
              columns.First() - columns.Locked());
    } else {
        apply(m_hScroll, 0, kMaxScrollPositions, 1, scaled(columns));
    }
}

// --- Repainting ---------------------------------------------------------------------------

void CGridWindows::RedrawAll() {
    if (!m_grid.IsRedrawEnabled() || m_grid.IsFailed() || !m_cellArea)
        return;
    m_cellArea->update();
    m_topHeading->update();
    m_sideHeading->update();
    m_corner->update();
    m_tabs->update();
    UpdateScrollBars();
    ScheduleBottomCheck();
}

void CGridWindows::RedrawCell(int column, int row) {
    if (m_grid.IsFailed() || !m_cellArea)
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
    if (m_grid.GetCellRect(column, row, &rect) == 0)
        m_cellArea->update(rect);
}

void CGridWindows::RedrawRow(int row) {
    if (m_grid.IsFailed() || !m_cellArea || row < 0)
        return;
    const int y = m_sheet.Rows().Position(row);
    const int h = m_sheet.RowHeight(row);
    if (y + h <= 0 || y >= m_sheet.Rows().ViewExtent())
        return;
    m_cellArea->update(QRect(0, y, m_sheet.Columns().ViewExtent(), h));
    m_sideHeading->update(QRect(0, y, m_sideHeading->width(), h));
}

void CGridWindows::InvalidateCurrent(int column, int row) {
    if (!m_cellArea || row < 0)
        return;
    if (m_sheet.Options().rowHighlight) {
        const CGridBlock block =
            column < 0 ? CGridBlock{column, row, column, row} : m_sheet.BlockOf(column, row);
        const int y = m_sheet.Rows().Position(block.startRow);
        const int h = static_cast<int>(m_sheet.Rows().SpanSize(block.startRow, block.endRow));
        m_cellArea->update(QRect(0, y, m_sheet.Columns().ViewExtent(), h));
        return;
    }
    if (column < 0)
        return;
    QRect rect;
    m_grid.GetCellRect(column, row, &rect);
    m_cellArea->update(rect);
}

void CGridWindows::ShowMove(int oldColumn, int oldRow, int oldLeft, int oldTop, bool cellChanged) {
    const CGridAxis& columns = m_sheet.Columns();
    const CGridAxis& rows = m_sheet.Rows();
    if (m_cellArea) {
        const int dx = columns.ScrollDistance(oldLeft, columns.First());
        const int dy = rows.ScrollDistance(oldTop, rows.First());
        if (dx != 0 || dy != 0) {
            // A view moved by less than its size keeps the picture: only the cells
            // uncovered are drawn.
            const bool small =
                std::abs(dx) < columns.ViewExtent() && std::abs(dy) < rows.ViewExtent();
            if (small && columns.Locked() == 0 && rows.Locked() == 0 && m_cellArea->isVisible()) {
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
        if (cellChanged || dx != 0 || dy != 0) {
            InvalidateCurrent(oldColumn, oldRow);
            InvalidateCurrent(columns.Current(), rows.Current());
        }
        m_corner->update();
    }
    UpdateScrollBars();
    MoveTrackingWindow();
    ScheduleBottomCheck();
}

void CGridWindows::SetTrackingWindow(QWidget* window) {
    m_trackingWindow = window;
    MoveTrackingWindow();
}

void CGridWindows::MoveTrackingWindow() {
    if (!m_trackingWindow || !m_cellArea)
        return;
    const int column = m_sheet.Columns().Current();
    const int row = m_sheet.Rows().Current();
    if (column < 0 || row < 0)
        return;
    QRect cell;
    m_grid.GetCellRect(column, row, &cell);
    QWidget* parent = m_trackingWindow->parentWidget();
    QPoint topLeft = m_cellArea->mapToGlobal(QPoint(cell.right() + 1, cell.bottom() + 1));
    if (parent && !m_trackingWindow->isWindow())
        topLeft = parent->mapFromGlobal(topLeft);
    const QRect old = m_trackingWindow->geometry();
    QRect next(topLeft, old.size());
    m_grid.OnTrackingWindowMove(old, &next);
    m_trackingWindow->setGeometry(next);
}

// --- More rows at the bottom --------------------------------------------------------------

void CGridWindows::ScheduleBottomCheck() {
    if (!m_bottomCheck.isActive() && !m_grid.IsTearingDown())
        m_bottomCheck.start();
}

void CGridWindows::CheckBottom() {
    if (m_grid.IsTearingDown() || !m_cellArea || !m_cellArea->isVisible())
        return;
    const CGridAxis& rows = m_sheet.Rows();
    for (;;) {
        // Where the last row ends, against the height of the cell area.
        const int height = m_cellArea->height();
        const int end = rows.Position(rows.Count());
        if (end >= height)
            return;
        const int count = rows.Count();
        m_parts->navigator.AskForRows((height - end) / std::max(1, rows.DefaultSize()) + 1);
        if (rows.Count() <= count || !m_cellArea)
            return;
    }
}
