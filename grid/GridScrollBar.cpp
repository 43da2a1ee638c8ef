#include "GridScrollBar.h"

#include "GridCellArea.h"
#include "GridHintWnd.h"
#include "GridNavigator.h"
#include "GridParts.h"
#include "GridWindows.h"

#include <QCoreApplication>
#include <QWheelEvent>
#include <algorithm>

namespace {
constexpr int kMaxScrollPositions = 1000;
} // namespace

CGridScrollBar::CGridScrollBar(CGridParts& parts, Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent), m_parts(parts) {
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 0);
    connect(this, &QAbstractSlider::actionTriggered, this,
            [this](int action) { Action(action, sliderPosition()); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { Action(-1, sliderPosition()); });
}

int CGridScrollBar::FromThumb(int position) const {
    const bool vertical = orientation() == Qt::Vertical;
    const CGridAxis& axis = vertical ? m_parts.sheet.Rows() : m_parts.sheet.Columns();
    if (axis.Count() > kMaxScrollPositions)
        return static_cast<int>(position * static_cast<double>(axis.Count()) * 0.001);
    return vertical ? position : position + axis.Locked();
}

void CGridScrollBar::Action(int action, int position) {
    CGridSheet& sheet = m_parts.sheet;
    CGridWindows& windows = m_parts.windows;
    CGridCellArea* area = windows.CellArea();
    if (area && !area->hasFocus())
        area->setFocus(Qt::OtherFocusReason);
    const bool vertical = orientation() == Qt::Vertical;
    const CGridAxis& axis = vertical ? sheet.Rows() : sheet.Columns();
    const int current = axis.First();
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
        target = current + axis.SlotsInPage(current, 1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        target = current - axis.SlotsInPage(current - 1, -1);
        break;
    case QAbstractSlider::SliderToMinimum:
        target = axis.Locked();
        break;
    case QAbstractSlider::SliderToMaximum:
        target = axis.Last();
        break;
    case QAbstractSlider::SliderMove: {
        const int mode = vertical ? sheet.Options().vScrollMode : sheet.Options().hScrollMode;
        // Mode 0 moves the view only when the thumb is let go.
        if (mode == 0 && isSliderDown())
            move = false;
        target = FromThumb(position);
        if (sheet.Options().useScrollHints && isSliderDown()) {
            QString text;
            const int shown =
                std::clamp(target, axis.Locked(), std::max(axis.Locked(), axis.Last()));
            CCellGrid& grid = m_parts.grid;
            const int ok =
                vertical ? grid.OnVScrollHint(shown, &text) : grid.OnHScrollHint(shown, &text);
            if (ok && !text.isEmpty()) {
                CGridHintWnd* hint = windows.HintWindow();
                hint->SetText(text);
                hint->ShowAt(mapToGlobal(
                    QPoint(vertical ? -hint->width() - 4 : 0, vertical ? 0 : -hint->height() - 4)));
            }
        }
        break;
    }
    case -1: // the thumb let go
        windows.HintWindow()->hide();
        target = FromThumb(position);
        break;
    default:
        move = false;
        break;
    }
    if (move) {
        const int oldKind = sheet.InputKind();
        sheet.SetInputKind(GridInput::ScrollBar);
        if (vertical)
            m_parts.navigator.MoveView(sheet.Columns().First(), target);
        else
            m_parts.navigator.MoveView(target, sheet.Rows().First());
        sheet.SetInputKind(oldKind);
    }
    if (action != QAbstractSlider::SliderMove || move)
        windows.UpdateScrollBars();
}

void CGridScrollBar::mousePressEvent(QMouseEvent* event) {
    m_parts.windows.CellArea()->setFocus(Qt::MouseFocusReason);
    QScrollBar::mousePressEvent(event);
}

void CGridScrollBar::wheelEvent(QWheelEvent* event) {
    if (orientation() == Qt::Vertical) {
        QCoreApplication::sendEvent(m_parts.windows.CellArea(), event);
        return;
    }
    const int notches = event->angleDelta().y() / 120 + event->angleDelta().x() / 120;
    if (notches != 0) {
        const CGridSheet& sheet = m_parts.sheet;
        m_parts.navigator.MoveView(sheet.Columns().First() - notches, sheet.Rows().First());
    }
    event->accept();
}
