#include "GridComponents.h"

#include "CellGrid.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cstdlib>

namespace {
// Button and key state of a mouse event as the cell types and hooks see it.
int MouseFlags(const QMouseEvent* event) {
    int flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= 1;
    if (event->buttons() & Qt::RightButton)
        flags |= 2;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= 4;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= 8;
    if (event->buttons() & Qt::MiddleButton)
        flags |= 0x10;
    return flags;
}

// Milliseconds between steps of the drag loop while the pointer is outside the cells.
constexpr int kDragStepMs = 40;
constexpr int kHintDelayMs = 600;
} // namespace

// --- Tracking line ---------------------------------------------------------------------

CGridTrackingLine::CGridTrackingLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CGridTrackingLine::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
}

// --- Cell area -------------------------------------------------------------------------

CGridCellArea::CGridCellArea(CCellGrid* grid, QWidget* parent) : QWidget(parent), m_grid(grid) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(grid->Sheet().arrowCursor);
    m_dragTimer.setInterval(kDragStepMs);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] { DragStep(); });
    m_hintTimer.setSingleShot(true);
    m_hintTimer.setInterval(kHintDelayMs);
    connect(&m_hintTimer, &QTimer::timeout, this, [this] {
        int column, row;
        if (m_grid->GetCellFromPoint(m_lastPoint, &column, &row) != 0)
            return;
        QString text;
        if (m_grid->OnHint(column, row, GridSection::CellArea, &text) && !text.isEmpty()) {
            m_grid->HintWindow()->SetText(text);
            m_grid->HintWindow()->ShowAt(mapToGlobal(m_lastPoint + QPoint(12, 18)));
        }
    });
    m_trackLine = new CGridTrackingLine(this);
}

void CGridCellArea::ShowTrackingLine(bool vertical, int position) {
    if (position < 0) {
        m_trackLine->hide();
        return;
    }
    if (vertical)
        m_trackLine->setGeometry(position - 1, 0, 2, height());
    else
        m_trackLine->setGeometry(0, position - 1, width(), 2);
    m_trackLine->show();
    m_trackLine->raise();
}

void CGridCellArea::paintEvent(QPaintEvent* event) {
    QPainter dc(this);
    m_grid->PaintCellArea(&dc, event->rect());
}

void CGridCellArea::ButtonDown(QMouseEvent* event, bool right) {
    CGridSheet& s = m_grid->Sheet();
    m_grid->m_modifiers = event->modifiers();
    m_grid->HintWindow()->hide();
    m_hintTimer.stop();
    const QPoint point = event->position().toPoint();
    s.inputKind = right ? GridInput::RightButton : GridInput::LeftButton;
    int column = -1, row = -1;
    QRect rect;
    int processed = 0;
    if (m_grid->GetCellFromPoint(point, &column, &row) == 0) {
        int sc, sr, ec, er;
        if (m_grid->GetJoinRange(column, row, &sc, &sr, &ec, &er) == 0) {
            column = sc;
            row = sr;
        }
        m_grid->GetCellRect(column, row, &rect);
        m_grid->GotoCell(column, row);
        CCellRecord record;
        m_grid->GetResolvedCell(column, row, &record);
        CCellTypeHandler* type = m_grid->GetCellType(record.GetCellType());
        processed = right ? type->OnRightClick(column, row, 1, rect, point)
                          : type->OnClick(column, row, 1, rect, point);
        if (!right && processed) {
            m_typeClaim = true;
            m_claimColumn = column;
            m_claimRow = row;
        }
    } else {
        column = row = -1;
    }
    if (right)
        m_grid->OnCellRightClick(column, row, 1, rect, point, processed);
    else
        m_grid->OnCellClick(column, row, 1, rect, point, processed);
    if (!right) {
        m_dragging = true;
        m_lastPoint = point;
    }
    s.inputKind = GridInput::Keyboard;
}

void CGridCellArea::ButtonUp(QMouseEvent* event, bool right) {
    m_grid->m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    int column = -1, row = -1;
    QRect rect;
    bool hit = false;
    if (!right && m_typeClaim) {
        column = m_claimColumn;
        row = m_claimRow;
        hit = true;
    } else if (m_grid->GetCellFromPoint(point, &column, &row) == 0) {
        int sc, sr, ec, er;
        if (m_grid->GetJoinRange(column, row, &sc, &sr, &ec, &er) == 0) {
            column = sc;
            row = sr;
        }
        hit = true;
    }
    int processed = 0;
    if (hit) {
        m_grid->GetCellRect(column, row, &rect);
        CCellRecord record;
        m_grid->GetResolvedCell(column, row, &record);
        CCellTypeHandler* type = m_grid->GetCellType(record.GetCellType());
        processed = right ? type->OnRightClick(column, row, 0, rect, point)
                          : type->OnClick(column, row, 0, rect, point);
    } else {
        column = row = -1;
    }
    if (right) {
        m_grid->OnCellRightClick(column, row, 0, rect, point, processed);
    } else {
        m_grid->OnCellClick(column, row, 0, rect, point, processed);
        m_typeClaim = false;
        m_dragging = false;
        m_dragTimer.stop();
    }
}

void CGridCellArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ButtonDown(event, false);
    else if (event->button() == Qt::RightButton)
        ButtonDown(event, true);
    event->accept();
}

void CGridCellArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ButtonUp(event, false);
    else if (event->button() == Qt::RightButton)
        ButtonUp(event, true);
    event->accept();
}

void CGridCellArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        ButtonDown(event, true);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_grid->m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    m_dragging = true;
    m_lastPoint = point;
    int column, row;
    if (m_grid->GetCellFromPoint(point, &column, &row) != 0)
        return;
    int sc, sr, ec, er;
    if (m_grid->GetJoinRange(column, row, &sc, &sr, &ec, &er) == 0) {
        column = sc;
        row = sr;
    }
    QRect rect;
    m_grid->GetCellRect(column, row, &rect);
    CCellRecord record;
    m_grid->GetResolvedCell(column, row, &record);
    const int processed =
        m_grid->GetCellType(record.GetCellType())->OnDoubleClick(column, row, rect, point);
    m_grid->OnCellDoubleClick(column, row, rect, point, processed);
}

void CGridCellArea::mouseMoveEvent(QMouseEvent* event) {
    CGridSheet& s = m_grid->Sheet();
    m_grid->m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    const int flags = MouseFlags(event);
    if (m_typeClaim) {
        CCellRecord record;
        m_grid->GetResolvedCell(m_claimColumn, m_claimRow, &record);
        m_grid->GetCellType(record.GetCellType())
            ->OnMouseMove(m_claimColumn, m_claimRow, point, flags);
        m_grid->OnMouseMoveOverCell(m_claimColumn, m_claimRow, point, flags);
        return;
    }
    s.inputKind = GridInput::Drag;
    int column, row;
    if (m_grid->GetCellFromPoint(point, &column, &row) == 0) {
        CCellRecord record;
        m_grid->GetResolvedCell(column, row, &record);
        m_grid->GetCellType(record.GetCellType())->OnMouseMove(column, row, point, flags);
        m_grid->OnMouseMoveOverCell(column, row, point, flags);
        if (m_grid->m_useHints && !(event->buttons() & Qt::LeftButton)) {
            if (m_grid->HintWindow()->isVisible() && point != m_lastPoint)
                m_grid->HintWindow()->hide();
            m_lastPoint = point;
            m_hintTimer.start();
        }
    }
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        m_lastPoint = point;
        DragStep();
        const bool outside = !rect().contains(point);
        if (outside && !m_dragTimer.isActive())
            m_dragTimer.start();
        else if (!outside)
            m_dragTimer.stop();
    }
    s.inputKind = GridInput::Keyboard;
}

void CGridCellArea::DragStep() {
    if (!m_dragging) {
        m_dragTimer.stop();
        return;
    }
    CGridSheet& s = m_grid->Sheet();
    const int oldKind = s.inputKind;
    s.inputKind = GridInput::Drag;
    const QPoint p = m_lastPoint;
    const bool left = p.x() < 0;
    const bool right = p.x() >= width();
    const bool above = p.y() < 0;
    const bool below = p.y() >= height();
    if (left || right || above || below) {
        if (left)
            m_grid->GotoColumn(s.targetColumn - 1);
        else if (right)
            m_grid->GotoColumn(s.targetColumn + 1);
        if (above)
            m_grid->GotoRow(s.targetRow - 1);
        else if (below)
            m_grid->GotoRow(s.targetRow + 1);
    } else {
        int column, row;
        if (m_grid->GetCellFromPoint(p, &column, &row) == 0)
            m_grid->GotoCell(column, row);
    }
    s.inputKind = oldKind;
}

void CGridCellArea::wheelEvent(QWheelEvent* event) {
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    if (notches != 0) {
        const CGridSheet& s = m_grid->Sheet();
        m_grid->MoveView(s.leftColumn, s.topRow - 3 * notches);
    }
    event->accept();
}

void CGridCellArea::keyPressEvent(QKeyEvent* event) {
    m_grid->m_modifiers = event->modifiers();
    const CGridSheet& s = m_grid->Sheet();
    const int key = event->key();
    int handled = key;
    {
        // The grid sees the key after the current cell's type and the key hook.
        m_grid->HandleKey(key);
    }
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        handled = 0;
        break;
    default:
        break;
    }
    // Characters go to the current cell's type and then to the character hook.
    const QString text = event->text();
    bool charConsumed = false;
    for (const QChar ch : text) {
        int code = ch.unicode();
        int processed = 0;
        if (s.currentColumn >= 0 && s.currentRow >= 0) {
            CCellRecord record;
            m_grid->GetResolvedCell(s.currentColumn, s.currentRow, &record);
            processed = m_grid->GetCellType(record.GetCellType())
                            ->OnCharDown(s.currentColumn, s.currentRow, &code);
        }
        m_grid->OnCharTyped(&code, processed);
        if (code == 0)
            charConsumed = true;
    }
    if (handled == 0 || charConsumed || m_grid->m_lastKeyConsumed)
        event->accept();
    else
        event->ignore();
}

bool CGridCellArea::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            // Tab moves the focus on unless the cell type or the key hook takes it.
            keyPressEvent(key);
            if (!key->isAccepted()) {
                const bool back =
                    key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
                focusNextPrevChild(!back);
            }
            key->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CGridCellArea::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_grid->IsTearingDown())
        return;
    m_hasFocus = true;
    m_typeClaim = false;
    m_grid->OnSetFocus(GridSection::CellArea);
    m_grid->InvalidateCurrent(m_grid->GetCurrentColumn(), m_grid->GetCurrentRow());
}

void CGridCellArea::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_hasFocus = false;
    if (m_grid->IsTearingDown())
        return;
    m_grid->InvalidateCurrent(m_grid->GetCurrentColumn(), m_grid->GetCurrentRow());
    m_grid->OnKillFocus(GridSection::CellArea);
}

void CGridCellArea::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hintTimer.stop();
    m_grid->HintWindow()->hide();
}

// --- Headings ----------------------------------------------------------------------------

CGridHeadingBase::CGridHeadingBase(CCellGrid* grid, int section, QWidget* parent)
    : QWidget(parent), m_grid(grid), m_section(section) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(grid->Sheet().arrowCursor);
}

void CGridHeadingBase::Arm(int kind, int index) {
    const CGridSheet& s = m_grid->Sheet();
    m_armedKind = kind;
    m_armedIndex = index;
    const bool acrossX = kind == GridSizing::ColumnWidth || kind == GridSizing::SideHeadingColumn;
    setCursor(acrossX ? s.westEastCursor : s.northSouthCursor);
}

void CGridHeadingBase::Disarm() {
    if (m_armedKind != GridSizing::None) {
        m_armedKind = GridSizing::None;
        setCursor(m_grid->Sheet().arrowCursor);
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
    m_grid->m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && m_armedKind != GridSizing::None) {
        CGridSheet& s = m_grid->Sheet();
        m_sizing = 1;
        switch (m_armedKind) {
        case GridSizing::ColumnWidth:
            m_startPos = point.x();
            m_startSize = s.ColumnWidth(m_armedIndex);
            m_edgeMin = m_grid->ColumnLeft(m_armedIndex);
            break;
        case GridSizing::RowHeight:
            m_startPos = point.y();
            m_startSize = s.RowHeight(m_armedIndex);
            m_edgeMin = m_grid->RowTop(m_armedIndex);
            break;
        case GridSizing::TopHeadingRow:
            m_startPos = point.y();
            m_startSize = s.RowHeight(m_armedIndex);
            m_startHeadingSize = s.topHeadingHeight;
            break;
        case GridSizing::SideHeadingColumn:
            m_startPos = point.x();
            m_startSize = s.ColumnWidth(m_armedIndex);
            m_startHeadingSize = s.sideHeadingWidth;
            break;
        default:
            m_sizing = 0;
            break;
        }
        return;
    }
    if (event->button() == Qt::LeftButton)
        Click(event, 1, false);
    else if (event->button() == Qt::RightButton)
        Click(event, 1, true);
}

void CGridHeadingBase::mouseReleaseEvent(QMouseEvent* event) {
    m_grid->m_modifiers = event->modifiers();
    if (m_sizing && event->button() == Qt::LeftButton) {
        FinishSizing();
        return;
    }
    if (m_swallowRelease) {
        m_swallowRelease = false;
        return;
    }
    if (event->button() == Qt::LeftButton)
        Click(event, 0, false);
    else if (event->button() == Qt::RightButton)
        Click(event, 0, true);
}

void CGridHeadingBase::mouseDoubleClickEvent(QMouseEvent* event) {
    m_grid->m_modifiers = event->modifiers();
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        Click(event, 1, true);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    CGridSheet& s = m_grid->Sheet();
    if (m_armedKind == GridSizing::ColumnWidth) {
        if (s.bestFit) {
            const int width = m_grid->BestFitWidth(m_armedIndex);
            s.columns[static_cast<size_t>(m_armedIndex)].width = width;
            s.RecalcLocked();
            m_grid->AdjustComponentSizes();
            m_grid->m_cellArea->update();
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
    m_grid->GetResolvedCell(column, row, &record);
    const int processed =
        m_grid->GetCellType(record.GetCellType())->OnDoubleClick(column, row, rect, point);
    DoubleClickHook(column, row, rect, point, processed);
}

void CGridHeadingBase::Click(QMouseEvent* event, int buttonDown, bool right) {
    const QPoint point = event->position().toPoint();
    if (buttonDown)
        m_grid->m_cellArea->setFocus(Qt::MouseFocusReason);
    int column, row;
    QRect rect;
    if (HitCell(point, &column, &row, &rect) != 0)
        return;
    CCellRecord record;
    m_grid->GetResolvedCell(column, row, &record);
    CCellTypeHandler* type = m_grid->GetCellType(record.GetCellType());
    const int processed = right ? type->OnRightClick(column, row, buttonDown, rect, point)
                                : type->OnClick(column, row, buttonDown, rect, point);
    ClickHook(column, row, buttonDown, right, rect, point, processed);
}

void CGridHeadingBase::SizeTo(const QPoint& point) {
    CGridSheet& s = m_grid->Sheet();
    switch (m_armedKind) {
    case GridSizing::ColumnWidth: {
        const int x = std::max(point.x(), m_edgeMin);
        // At or past the column's left edge the column closes completely.
        int width = x == m_edgeMin ? 0 : m_startSize + (x - m_startPos);
        m_grid->OnColumnSizing(m_armedIndex, &width);
        if (width < 0)
            width = 0;
        s.columns[static_cast<size_t>(m_armedIndex)].width = width;
        s.RecalcLocked();
        update();
        m_grid->m_cellArea->ShowTrackingLine(true, x);
        break;
    }
    case GridSizing::RowHeight: {
        const int y = std::max(point.y(), m_edgeMin);
        int height = y == m_edgeMin ? 0 : m_startSize + (y - m_startPos);
        m_grid->OnRowSizing(m_armedIndex, &height);
        if (height < 0)
            height = 0;
        if (s.uniformRowHeight)
            s.defaultRowHeight = std::clamp(height, 1, 1024);
        else
            s.rowHeights[static_cast<size_t>(m_armedIndex)] = std::min(height, 1024);
        s.RecalcLocked();
        update();
        m_grid->m_cellArea->ShowTrackingLine(false, y);
        break;
    }
    case GridSizing::TopHeadingRow: {
        const int dy = point.y() - m_startPos;
        const int rowHeight = std::max(0, m_startSize + dy);
        int headingHeight = std::max(0, m_startHeadingSize + dy);
        m_grid->OnTopHeadingSizing(&headingHeight);
        s.topHeadingHeights[static_cast<size_t>(-m_armedIndex - 1)] = std::min(rowHeight, 1024);
        s.topHeadingHeight = std::clamp(headingHeight, 0, 1024);
        m_grid->AdjustComponentSizes();
        m_grid->m_topHeading->update();
        m_grid->m_corner->update();
        break;
    }
    case GridSizing::SideHeadingColumn: {
        const int dx = point.x() - m_startPos;
        const int columnWidth = std::max(0, m_startSize + dx);
        int headingWidth = std::max(0, m_startHeadingSize + dx);
        m_grid->OnSideHeadingSizing(&headingWidth);
        s.sideHeadingWidths[static_cast<size_t>(-m_armedIndex - 1)] = std::min(columnWidth, 1024);
        s.sideHeadingWidth = std::clamp(headingWidth, 0, 1024);
        m_grid->AdjustComponentSizes();
        m_grid->m_sideHeading->update();
        m_grid->m_corner->update();
        break;
    }
    default:
        break;
    }
}

void CGridHeadingBase::FinishSizing() {
    CGridSheet& s = m_grid->Sheet();
    m_sizing = 0;
    switch (m_armedKind) {
    case GridSizing::ColumnWidth: {
        int width = s.ColumnWidth(m_armedIndex);
        m_grid->OnColumnSized(m_armedIndex, &width);
        s.columns[static_cast<size_t>(m_armedIndex)].width = std::max(0, width);
        s.RecalcLocked();
        m_grid->m_cellArea->ShowTrackingLine(true, -1);
        break;
    }
    case GridSizing::RowHeight: {
        int height = s.RowHeight(m_armedIndex);
        m_grid->OnRowSized(m_armedIndex, &height);
        if (s.uniformRowHeight)
            s.defaultRowHeight = std::clamp(height, 1, 1024);
        else
            s.rowHeights[static_cast<size_t>(m_armedIndex)] = std::clamp(height, 0, 1024);
        s.RecalcLocked();
        m_grid->m_cellArea->ShowTrackingLine(false, -1);
        break;
    }
    case GridSizing::TopHeadingRow: {
        int height = s.topHeadingHeight;
        m_grid->OnTopHeadingSized(&height);
        s.topHeadingHeight = std::clamp(height, 0, 1024);
        break;
    }
    case GridSizing::SideHeadingColumn: {
        int width = s.sideHeadingWidth;
        m_grid->OnSideHeadingSized(&width);
        s.sideHeadingWidth = std::clamp(width, 0, 1024);
        break;
    }
    default:
        break;
    }
    m_grid->AdjustComponentSizes();
    m_grid->m_cellArea->update();
    m_grid->m_topHeading->update();
    m_grid->m_sideHeading->update();
    m_grid->m_corner->update();
}

CGridTopHeading::CGridTopHeading(CCellGrid* grid, QWidget* parent)
    : CGridHeadingBase(grid, GridSection::TopHeading, parent) {}

void CGridTopHeading::paintEvent(QPaintEvent* event) {
    QPainter dc(this);
    m_grid->PaintTopHeading(&dc, event->rect());
}

int CGridTopHeading::HitDivider(const QPoint& point, int* index) {
    const CGridSheet& s = m_grid->Sheet();
    if (s.columnSizing) {
        int x = 0;
        int c = s.lockedColumns > 0 ? 0 : s.leftColumn;
        while (c < s.columnCount && x <= width() + 3) {
            x += s.ColumnWidth(c);
            if (std::abs(point.x() - x) < 3) {
                int candidate = c;
                if (c + 1 < s.columnCount && s.ColumnWidth(c + 1) == 0)
                    candidate = c + 1;
                if (m_grid->OnCanSizeColumn(candidate) && s.source->OnCanSizeColumn(candidate)) {
                    *index = candidate;
                    return GridSizing::ColumnWidth;
                }
                break;
            }
            ++c;
            if (c == s.lockedColumns && c < s.leftColumn)
                c = s.leftColumn;
        }
    }
    for (int r = -s.TopHeadingRows(); r <= -1; ++r) {
        const int bottom = m_grid->TopHeadingRowTop(r) + s.RowHeight(r);
        if (std::abs(point.y() - bottom) < 3 && m_grid->OnCanSizeTopHeading()) {
            *index = r;
            return GridSizing::TopHeadingRow;
        }
    }
    return GridSizing::None;
}

int CGridTopHeading::HitCell(const QPoint& point, int* column, int* row, QRect* rect) {
    const CGridSheet& s = m_grid->Sheet();
    int hitRow = 0;
    for (int r = -s.TopHeadingRows(); r <= -1; ++r) {
        const int y = m_grid->TopHeadingRowTop(r);
        if (point.y() >= y && point.y() < y + s.RowHeight(r)) {
            hitRow = r;
            break;
        }
    }
    const int hitColumn = m_grid->ColumnFromX(point.x());
    if (hitRow == 0 || hitColumn < 0)
        return 1;
    int sc = hitColumn, sr = hitRow, ec = hitColumn, er = hitRow;
    if (m_grid->GetJoinRange(hitColumn, hitRow, &sc, &sr, &ec, &er) != 0) {
        sc = ec = hitColumn;
        sr = er = hitRow;
    }
    *column = sc;
    *row = sr;
    *rect = m_grid->BlockRect(sc, sr, ec - sc, er - sr).translated(0, s.topHeadingHeight);
    return 0;
}

void CGridTopHeading::ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                                const QPoint& point, int processed) {
    if (right)
        m_grid->OnTopHeadingRightClick(column, row, buttonDown, rect, point, processed);
    else
        m_grid->OnTopHeadingClick(column, row, buttonDown, rect, point, processed);
}

void CGridTopHeading::DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                                      int processed) {
    m_grid->OnTopHeadingDoubleClick(column, row, rect, point, processed);
}

CGridSideHeading::CGridSideHeading(CCellGrid* grid, QWidget* parent)
    : CGridHeadingBase(grid, GridSection::SideHeading, parent) {}

void CGridSideHeading::paintEvent(QPaintEvent* event) {
    QPainter dc(this);
    m_grid->PaintSideHeading(&dc, event->rect());
}

int CGridSideHeading::HitDivider(const QPoint& point, int* index) {
    const CGridSheet& s = m_grid->Sheet();
    int y = 0;
    int r = s.lockedRows > 0 ? 0 : s.topRow;
    while (r < s.rowCount && y <= height() + 3) {
        y += s.RowHeight(r);
        if (std::abs(point.y() - y) < 3) {
            int candidate = r;
            if (r + 1 < s.rowCount && s.RowHeight(r + 1) == 0)
                candidate = r + 1;
            if (m_grid->OnCanSizeRow(candidate) && s.source->OnCanSizeRow(candidate)) {
                *index = candidate;
                return GridSizing::RowHeight;
            }
            break;
        }
        ++r;
        if (r == s.lockedRows && r < s.topRow)
            r = s.topRow;
    }
    for (int c = -s.SideHeadingColumns(); c <= -1; ++c) {
        const int right = m_grid->SideHeadingColumnLeft(c) + s.ColumnWidth(c);
        if (std::abs(point.x() - right) < 3 && m_grid->OnCanSizeSideHeading()) {
            *index = c;
            return GridSizing::SideHeadingColumn;
        }
    }
    return GridSizing::None;
}

int CGridSideHeading::HitCell(const QPoint& point, int* column, int* row, QRect* rect) {
    const CGridSheet& s = m_grid->Sheet();
    const int hitRow = m_grid->RowFromY(point.y());
    int hitColumn = 0;
    for (int c = -s.SideHeadingColumns(); c <= -1; ++c) {
        const int x = m_grid->SideHeadingColumnLeft(c);
        if (point.x() >= x && point.x() < x + s.ColumnWidth(c)) {
            hitColumn = c;
            break;
        }
    }
    if (hitRow < 0 || hitColumn == 0)
        return 1;
    int sc = hitColumn, sr = hitRow, ec = hitColumn, er = hitRow;
    if (m_grid->GetJoinRange(hitColumn, hitRow, &sc, &sr, &ec, &er) != 0) {
        sc = ec = hitColumn;
        sr = er = hitRow;
    }
    *column = sc;
    *row = sr;
    *rect = m_grid->BlockRect(sc, sr, ec - sc, er - sr).translated(s.sideHeadingWidth, 0);
    return 0;
}

void CGridSideHeading::ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                                 const QPoint& point, int processed) {
    if (right)
        m_grid->OnSideHeadingRightClick(column, row, buttonDown, rect, point, processed);
    else
        m_grid->OnSideHeadingClick(column, row, buttonDown, rect, point, processed);
}

void CGridSideHeading::DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                                       int processed) {
    m_grid->OnSideHeadingDoubleClick(column, row, rect, point, processed);
}

CGridCorner::CGridCorner(CCellGrid* grid, QWidget* parent)
    : CGridHeadingBase(grid, GridSection::Corner, parent) {}

void CGridCorner::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    m_grid->PaintCorner(&dc);
}

int CGridCorner::HitDivider(const QPoint& point, int* index) {
    const CGridSheet& s = m_grid->Sheet();
    if (std::abs(point.x() - s.sideHeadingWidth) < 3 && m_grid->OnCanSizeSideHeading()) {
        *index = -1;
        return GridSizing::SideHeadingColumn;
    }
    if (std::abs(point.y() - s.topHeadingHeight) < 3 && m_grid->OnCanSizeTopHeading()) {
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

void CGridCorner::ClickHook(int, int, int buttonDown, bool right, const QRect& rect,
                            const QPoint& point, int processed) {
    if (right)
        m_grid->OnCornerRightClick(buttonDown, rect, point, processed);
    else
        m_grid->OnCornerClick(buttonDown, rect, point, processed);
}

void CGridCorner::DoubleClickHook(int, int, const QRect& rect, const QPoint& point, int processed) {
    m_grid->OnCornerDoubleClick(rect, point, processed);
}

// --- Scroll bars -------------------------------------------------------------------------

CGridScrollBar::CGridScrollBar(CCellGrid* grid, Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent), m_grid(grid) {
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 0);
    const bool vertical = orientation == Qt::Vertical;
    connect(this, &QAbstractSlider::actionTriggered, this, [this, vertical](int action) {
        m_grid->ScrollBarAction(vertical, action, sliderPosition());
    });
    connect(this, &QAbstractSlider::sliderReleased, this,
            [this, vertical] { m_grid->ScrollBarAction(vertical, -1, sliderPosition()); });
}

void CGridScrollBar::mousePressEvent(QMouseEvent* event) {
    m_grid->m_cellArea->setFocus(Qt::MouseFocusReason);
    QScrollBar::mousePressEvent(event);
}

void CGridScrollBar::wheelEvent(QWheelEvent* event) {
    if (orientation() == Qt::Vertical) {
        QCoreApplication::sendEvent(m_grid->m_cellArea, event);
        return;
    }
    const int notches = event->angleDelta().y() / 120 + event->angleDelta().x() / 120;
    if (notches != 0) {
        const CGridSheet& s = m_grid->Sheet();
        m_grid->MoveView(s.leftColumn - notches, s.topRow);
    }
    event->accept();
}

// --- Tab strip and hint window -----------------------------------------------------------

CGridTabStrip::CGridTabStrip(QWidget* parent) : QWidget(parent) {}

void CGridTabStrip::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), ToQColor(GetGridSysColor(GridSysColor::ButtonFace)));
}

CGridHintWnd::CGridHintWnd(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void CGridHintWnd::SetText(const QString& text) {
    m_text = text;
    const QFontMetrics fm(font());
    resize(fm.horizontalAdvance(text) + 8, fm.height() + 4);
    update();
}

void CGridHintWnd::ShowAt(const QPoint& globalPoint) {
    move(globalPoint);
    show();
    raise();
}

void CGridHintWnd::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.fillRect(rect(), ToQColor(kPaleYellow));
    dc.setPen(QColor(Qt::black));
    dc.drawRect(rect().adjusted(0, 0, -1, -1));
    dc.drawText(rect(), Qt::AlignCenter, m_text);
}
