#pragma once
// The cell area of a grid: paints the cells, and turns the mouse, the wheel and the keys
// into moves of the current cell and into the cell types' and the grid's input hooks.
// While a divider of a heading is dragged it shows the dotted tracking line.

#include <QPoint>
#include <QTimer>
#include <QWidget>

struct CGridParts;

class CGridCellArea : public QWidget {
    Q_OBJECT
public:
    CGridCellArea(CGridParts& parts, QWidget* parent);
    // The tracking line, shown at x (vertical) or y (horizontal); hidden with -1.
    void ShowTrackingLine(bool vertical, int position);
    bool HasFocusNoted() const { return m_hasFocus; }
    // One step of the drag loop: moves the current cell toward the pointer.
    void DragStep();
    bool IsDragging() const { return m_dragging; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The cell under a point, as the start of its joined block, with its rectangle;
    // false when the point is outside all cells.
    bool CellAt(const QPoint& point, int* column, int* row, QRect* rect) const;
    // A left or right button pressed or let go.
    void Button(QMouseEvent* event, bool down);
    void ButtonDown(QMouseEvent* event, bool right);
    void ButtonUp(QMouseEvent* event, bool right);
    void ShowHint();

    CGridParts& m_parts;
    bool m_hasFocus = false;
    // A cell type claimed the last button-down: mouse moves go to it.
    bool m_typeClaim = false;
    int m_claimColumn = -1;
    int m_claimRow = -1;
    bool m_dragging = false;
    QPoint m_lastPoint;
    QTimer m_dragTimer;
    QTimer m_hintTimer;
    int m_wheelRemainder = 0;
    // The dotted line that follows the pointer while a divider is dragged.
    QWidget* m_trackLine = nullptr;
};
