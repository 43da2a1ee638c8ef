#pragma once
// The component windows of a grid: the cell area, the two headings, the corner, the scroll
// bars, the (empty) sheet-tab strip, the hint window and the dotted tracking line shown
// while a column or row is being sized. They paint and take input for their grid.

#include <QPoint>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

class CCellGrid;

// The dotted line that follows the pointer across the cell area while a divider is dragged.
class CGridTrackingLine : public QWidget {
    Q_OBJECT
public:
    explicit CGridTrackingLine(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CGridCellArea : public QWidget {
    Q_OBJECT
public:
    CGridCellArea(CCellGrid* grid, QWidget* parent);
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
    friend class CCellGrid;
    void ButtonDown(QMouseEvent* event, bool right);
    void ButtonUp(QMouseEvent* event, bool right);
    void ShowHintLater(const QPoint& point);

    CCellGrid* m_grid;
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
    CGridTrackingLine* m_trackLine = nullptr;
};

// What a heading-window divider drag changes.
namespace GridSizing {
enum : int { None = 0, ColumnWidth = 1, RowHeight = 2, TopHeadingRow = 3, SideHeadingColumn = 4 };
}

// Common part of the top heading, the side heading and the corner: clicks, divider
// arming and the sizing drag.
class CGridHeadingBase : public QWidget {
    Q_OBJECT
public:
    CGridHeadingBase(CCellGrid* grid, int section, QWidget* parent);
    int IsArmed() const { return m_armedKind; }
    int IsSizing() const { return m_sizing; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // Finds the divider under the point: the kind and index to size, or None.
    virtual int HitDivider(const QPoint& point, int* index) = 0;
    // The heading cell under the point (1 when none) and its rectangle.
    virtual int HitCell(const QPoint& point, int* column, int* row, QRect* rect) = 0;
    virtual void ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                           const QPoint& point, int processed) = 0;
    virtual void DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                                 int processed) = 0;

    void Arm(int kind, int index);
    void Disarm();
    void SizeTo(const QPoint& point);
    void FinishSizing();
    void Click(QMouseEvent* event, int buttonDown, bool right);

    CCellGrid* m_grid;
    int m_section;
    int m_armedKind = GridSizing::None;
    int m_armedIndex = 0;
    int m_sizing = 0;
    int m_startSize = 0;
    int m_startPos = 0;
    int m_startHeadingSize = 0;
    int m_edgeMin = 0; // the pointer may not pass this coordinate while sizing
    bool m_swallowRelease = false;
};

class CGridTopHeading : public CGridHeadingBase {
    Q_OBJECT
public:
    CGridTopHeading(CCellGrid* grid, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    int HitDivider(const QPoint& point, int* index) override;
    int HitCell(const QPoint& point, int* column, int* row, QRect* rect) override;
    void ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                   const QPoint& point, int processed) override;
    void DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                         int processed) override;
};

class CGridSideHeading : public CGridHeadingBase {
    Q_OBJECT
public:
    CGridSideHeading(CCellGrid* grid, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    int HitDivider(const QPoint& point, int* index) override;
    int HitCell(const QPoint& point, int* column, int* row, QRect* rect) override;
    void ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                   const QPoint& point, int processed) override;
    void DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                         int processed) override;
};

class CGridCorner : public CGridHeadingBase {
    Q_OBJECT
public:
    CGridCorner(CCellGrid* grid, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    int HitDivider(const QPoint& point, int* index) override;
    int HitCell(const QPoint& point, int* column, int* row, QRect* rect) override;
    void ClickHook(int column, int row, int buttonDown, bool right, const QRect& rect,
                   const QPoint& point, int processed) override;
    void DoubleClickHook(int column, int row, const QRect& rect, const QPoint& point,
                         int processed) override;
};

class CGridScrollBar : public QScrollBar {
    Q_OBJECT
public:
    CGridScrollBar(CCellGrid* grid, Qt::Orientation orientation, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CCellGrid* m_grid;
};

// The sheet-tab strip; the program's grids never give it a width.
class CGridTabStrip : public QWidget {
    Q_OBJECT
public:
    explicit CGridTabStrip(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A small floating window showing a hint text.
class CGridHintWnd : public QWidget {
    Q_OBJECT
public:
    explicit CGridHintWnd(QWidget* parent);
    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    // Shows the hint with its top-left at a global point.
    void ShowAt(const QPoint& globalPoint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
