#pragma once
// Helpers shared by the grid tests: a shown host window with a grid in it, synthetic mouse
// and wheel events sent straight to a component window, and pixel reading.

#include "CellGrid.h"
#include "GridComponents.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

namespace GridTest {

// A top-level window holding one grid of the given subclass at (0, 0) with the size given.
template <class Grid> struct Host {
    std::unique_ptr<QWidget> window;
    Grid* grid = nullptr;

    explicit Host(const QSize& size) : window(std::make_unique<QWidget>()) {
        window->resize(size);
        grid = new Grid;
        grid->CreateGrid(window.get(), QRect(QPoint(0, 0), size), 1015);
        window->show();
        QApplication::processEvents();
    }
    Grid* operator->() const { return grid; }
};

// A grid that records, in order, the hooks a completed move fires.
class MoveRecorder : public CCellGrid {
public:
    QStringList calls;
    void OnColumnChange(int o, int n) override {
        calls << QStringLiteral("col %1>%2").arg(o).arg(n);
    }
    void OnRowChange(int o, int n) override { calls << QStringLiteral("row %1>%2").arg(o).arg(n); }
    void OnCellChange(int oc, int nc, int orow, int nrow) override {
        calls << QStringLiteral("cell %1,%2>%3,%4").arg(oc).arg(orow).arg(nc).arg(nrow);
    }
    void OnLeftColumnChange(int o, int n) override {
        calls << QStringLiteral("left %1>%2").arg(o).arg(n);
    }
    void OnTopRowChange(int o, int n) override {
        calls << QStringLiteral("top %1>%2").arg(o).arg(n);
    }
};

inline void Send(QWidget* target, QEvent::Type type, const QPoint& pos, Qt::MouseButton button,
                 Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons,
                      modifiers);
    QApplication::sendEvent(target, &event);
}

inline void Press(QWidget* w, const QPoint& p, Qt::MouseButton b = Qt::LeftButton) {
    Send(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Release(QWidget* w, const QPoint& p, Qt::MouseButton b = Qt::LeftButton) {
    Send(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Click(QWidget* w, const QPoint& p, Qt::MouseButton b = Qt::LeftButton) {
    Press(w, p, b);
    Release(w, p, b);
}
inline void DoubleClick(QWidget* w, const QPoint& p) {
    Click(w, p);
    Send(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    Release(w, p);
}
inline void Move(QWidget* w, const QPoint& p, Qt::MouseButtons held = Qt::NoButton) {
    Send(w, QEvent::MouseMove, p, Qt::NoButton, held);
}
inline void Wheel(QWidget* w, const QPoint& p, int delta) {
    QWheelEvent event(QPointF(p), QPointF(w->mapToGlobal(p)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

inline QImage Picture(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour at a point as a 0x00BBGGRR value.
inline GridColor ColorAt(const QImage& image, int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return GridRGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

} // namespace GridTest
