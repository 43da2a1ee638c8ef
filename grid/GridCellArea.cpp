#include "GridCellArea.h"

#include "GridHintWnd.h"
#include "GridNavigator.h"
#include "GridPainter.h"
#include "GridParts.h"
#include "GridWindows.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

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

// --- Cell area ----------------------------------------------------------------------------

CGridCellArea::CGridCellArea(CGridParts& parts, QWidget* parent) : QWidget(parent), m_parts(parts) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(parts.sheet.ArrowCursor());
    m_dragTimer.setInterval(kDragStepMs);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] { DragStep(); });
    m_hintTimer.setSingleShot(true);
    m_hintTimer.setInterval(kHintDelayMs);
    connect(&m_hintTimer, &QTimer::timeout, this, [this] { ShowHint(); });
    m_trackLine = new QWidget(this);
    m_trackLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette dots = m_trackLine->palette();
    dots.setBrush(QPalette::Window, QBrush(Qt::black, Qt::Dense4Pattern));
    m_trackLine->setPalette(dots);
    m_trackLine->setAutoFillBackground(true);
    m_trackLine->hide();
}

void CGridCellArea::ShowHint() {
    int column, row;
    if (m_parts.grid.GetCellFromPoint(m_lastPoint, &column, &row) != 0)
        return;
    QString text;
    if (m_parts.grid.OnHint(column, row, GridSection::CellArea, &text) && !text.isEmpty()) {
        CGridHintWnd* hint = m_parts.windows.HintWindow();
        hint->SetText(text);
        hint->ShowAt(mapToGlobal(m_lastPoint + QPoint(12, 18)));
    }
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
    m_parts.painter.PaintCellArea(&dc, event->rect(), size(), m_hasFocus);
}

bool CGridCellArea::CellAt(const QPoint& point, int* column, int* row, QRect* rect) const {
    int c = -1, r = -1;
    if (m_parts.grid.GetCellFromPoint(point, &c, &r) != 0)
        return false;
    const CGridBlock block = m_parts.sheet.BlockOf(c, r);
    *column = block.startColumn;
    *row = block.startRow;
    m_parts.grid.GetCellRect(*column, *row, rect);
    return true;
}

void CGridCellArea::ButtonDown(QMouseEvent* event, bool right) {
    CCellGrid& grid = m_parts.grid;
    m_parts.navigator.SetModifiers(event->modifiers());
    m_parts.windows.HintWindow()->hide();
    m_hintTimer.stop();
    const QPoint point = event->position().toPoint();
    m_parts.sheet.SetInputKind(right ? GridInput::RightButton : GridInput::LeftButton);
    int column = -1, row = -1;
    QRect rect;
    int processed = 0;
    if (CellAt(point, &column, &row, &rect)) {
        grid.GotoCell(column, row);
        CCellRecord record;
        CCellTypeHandler* type = CellTypeAt(grid, column, row, &record);
        processed = right ? type->OnRightClick(column, row, 1, rect, point)
                          : type->OnClick(column, row, 1, rect, point);
        if (!right && processed) {
            m_typeClaim = true;
            m_claimColumn = column;
            m_claimRow = row;
        }
    }
    if (right)
        grid.OnCellRightClick(column, row, 1, rect, point, processed);
    else
        grid.OnCellClick(column, row, 1, rect, point, processed);
    if (!right) {
        m_dragging = true;
        m_lastPoint = point;
    }
    m_parts.sheet.SetInputKind(GridInput::Keyboard);
}

void CGridCellArea::ButtonUp(QMouseEvent* event, bool right) {
    CCellGrid& grid = m_parts.grid;
    m_parts.navigator.SetModifiers(event->modifiers());
    const QPoint point = event->position().toPoint();
    int column = -1, row = -1;
    QRect rect;
    bool hit = false;
    if (!right && m_typeClaim) {
        column = m_claimColumn;
        row = m_claimRow;
        grid.GetCellRect(column, row, &rect);
        hit = true;
    } else {
        hit = CellAt(point, &column, &row, &rect);
    }
    int processed = 0;
    if (hit) {
        CCellRecord record;
        CCellTypeHandler* type = CellTypeAt(grid, column, row, &record);
        processed = right ? type->OnRightClick(column, row, 0, rect, point)
                          : type->OnClick(column, row, 0, rect, point);
    }
    if (right) {
        grid.OnCellRightClick(column, row, 0, rect, point, processed);
    } else {
        grid.OnCellClick(column, row, 0, rect, point, processed);
        m_typeClaim = false;
        m_dragging = false;
        m_dragTimer.stop();
    }
}

void CGridCellArea::mousePressEvent(QMouseEvent* event) {
    Button(event, true);
}

void CGridCellArea::mouseReleaseEvent(QMouseEvent* event) {
    Button(event, false);
}

void CGridCellArea::Button(QMouseEvent* event, bool down) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        const bool right = button == Qt::RightButton;
        if (down)
            ButtonDown(event, right);
        else
            ButtonUp(event, right);
    }
    event->accept();
}

void CGridCellArea::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        ButtonDown(event, true);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_parts.navigator.SetModifiers(event->modifiers());
    const QPoint point = event->position().toPoint();
    m_dragging = true;
    m_lastPoint = point;
    int column, row;
    QRect rect;
    if (!CellAt(point, &column, &row, &rect))
        return;
    CCellRecord record;
    const int processed =
        CellTypeAt(m_parts.grid, column, row, &record)->OnDoubleClick(column, row, rect, point);
    m_parts.grid.OnCellDoubleClick(column, row, rect, point, processed);
}

void CGridCellArea::mouseMoveEvent(QMouseEvent* event) {
    CCellGrid& grid = m_parts.grid;
    m_parts.navigator.SetModifiers(event->modifiers());
    const QPoint point = event->position().toPoint();
    const int flags = MouseFlags(event);
    CCellRecord record;
    if (m_typeClaim) {
        CellTypeAt(grid, m_claimColumn, m_claimRow, &record)
            ->OnMouseMove(m_claimColumn, m_claimRow, point, flags);
        grid.OnMouseMoveOverCell(m_claimColumn, m_claimRow, point, flags);
        return;
    }
    m_parts.sheet.SetInputKind(GridInput::Drag);
    int column, row;
    if (grid.GetCellFromPoint(point, &column, &row) == 0) {
        CellTypeAt(grid, column, row, &record)->OnMouseMove(column, row, point, flags);
        grid.OnMouseMoveOverCell(column, row, point, flags);
        if (m_parts.sheet.Options().useHints && !(event->buttons() & Qt::LeftButton)) {
            CGridHintWnd* hint = m_parts.windows.HintWindow();
            if (hint->isVisible() && point != m_lastPoint)
                hint->hide();
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
    m_parts.sheet.SetInputKind(GridInput::Keyboard);
}

void CGridCellArea::DragStep() {
    if (!m_dragging) {
        m_dragTimer.stop();
        return;
    }
    CGridSheet& sheet = m_parts.sheet;
    CGridNavigator& navigator = m_parts.navigator;
    const int oldKind = sheet.InputKind();
    sheet.SetInputKind(GridInput::Drag);
    const QPoint p = m_lastPoint;
    const bool left = p.x() < 0;
    const bool right = p.x() >= width();
    const bool above = p.y() < 0;
    const bool below = p.y() >= height();
    if (left || right || above || below) {
        // Outside the cells: one column or row further each step.
        if (left)
            navigator.GotoColumn(sheet.Columns().Target() - 1);
        else if (right)
            navigator.GotoColumn(sheet.Columns().Target() + 1);
        if (above)
            navigator.GotoRow(sheet.Rows().Target() - 1);
        else if (below)
            navigator.GotoRow(sheet.Rows().Target() + 1);
    } else {
        int column, row;
        if (m_parts.grid.GetCellFromPoint(p, &column, &row) == 0)
            navigator.GotoCell(column, row);
    }
    sheet.SetInputKind(oldKind);
}

void CGridCellArea::wheelEvent(QWheelEvent* event) {
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    if (notches != 0) {
        const CGridSheet& sheet = m_parts.sheet;
        m_parts.navigator.MoveView(sheet.Columns().First(), sheet.Rows().First() - 3 * notches);
    }
    event->accept();
}

void CGridCellArea::keyPressEvent(QKeyEvent* event) {
    CCellGrid& grid = m_parts.grid;
    m_parts.navigator.SetModifiers(event->modifiers());
    const int key = event->key();
    // The grid sees the key after the current cell's type and the key hook.
    const bool keyConsumed = m_parts.navigator.KeyDown(key);
    bool handled = false;
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        handled = true;
        break;
    default:
        break;
    }
    // Characters go to the current cell's type and then to the character hook.
    const CGridSheet& sheet = m_parts.sheet;
    bool charConsumed = false;
    for (const QChar ch : event->text()) {
        int code = ch.unicode();
        int processed = 0;
        const int column = sheet.Columns().Current();
        const int row = sheet.Rows().Current();
        if (column >= 0 && row >= 0) {
            CCellRecord record;
            processed = CellTypeAt(grid, column, row, &record)->OnCharDown(column, row, &code);
        }
        grid.OnCharTyped(&code, processed);
        if (code == 0)
            charConsumed = true;
    }
    if (handled || charConsumed || keyConsumed)
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
    CCellGrid& grid = m_parts.grid;
    if (grid.IsTearingDown())
        return;
    m_hasFocus = true;
    m_typeClaim = false;
    grid.OnSetFocus(GridSection::CellArea);
    m_parts.windows.InvalidateCurrent(grid.GetCurrentColumn(), grid.GetCurrentRow());
}

void CGridCellArea::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    m_hasFocus = false;
    CCellGrid& grid = m_parts.grid;
    if (grid.IsTearingDown())
        return;
    m_parts.windows.InvalidateCurrent(grid.GetCurrentColumn(), grid.GetCurrentRow());
    grid.OnKillFocus(GridSection::CellArea);
}

void CGridCellArea::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_hintTimer.stop();
    m_parts.windows.HintWindow()->hide();
}
