#pragma once
// The heading windows of a grid. CGridHeadingBase holds what the two headings and the
// corner share: clicks on heading cells, arming a divider under the pointer and the
// sizing drag. The top and the side heading are one heading turned by a quarter: the top
// one runs along the columns and shows the top heading rows, the side one runs along the
// rows and shows the side heading columns.

#include <QPoint>
#include <QRect>
#include <QWidget>

struct CGridParts;
class CGridAxis;

// What a heading-window divider drag changes.
namespace GridSizing {
enum : int { None = 0, ColumnWidth = 1, RowHeight = 2, TopHeadingRow = 3, SideHeadingColumn = 4 };
}

class CGridHeadingBase : public QWidget {
    Q_OBJECT
public:
    CGridHeadingBase(CGridParts& parts, int section, QWidget* parent);
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
    // The grid's hook for a button pressed, let go or double-clicked on a heading cell.
    enum class Press { Down, Up, Double };
    virtual void CallHook(int column, int row, Press press, bool right, const QRect& rect,
                          const QPoint& point, int processed) = 0;

    CGridParts& m_parts;

private:
    // The axis a sizing kind changes, and whether it changes a heading slot of it.
    CGridAxis& SizedAxis() const;
    bool SizesHeading() const;
    // The pointer coordinate that counts for the sizing kind.
    int SizingCoord(const QPoint& point) const;
    void Arm(int kind, int index);
    void Disarm();
    void StartSizing(const QPoint& point);
    void SizeTo(const QPoint& point);
    void FinishSizing();
    // Stores a slot size the way the axis takes it (rows: 0 to 1024, uniform 1 to 1024).
    void ApplySlotSize(int size);
    // A click of the left or right button on a heading cell.
    void Click(QMouseEvent* event, int buttonDown);

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

// The top or the side heading.
class CGridAxisHeading : public CGridHeadingBase {
    Q_OBJECT
public:
    CGridAxisHeading(CGridParts& parts, bool top, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    int HitDivider(const QPoint& point, int* index) override;
    int HitCell(const QPoint& point, int* column, int* row, QRect* rect) override;
    void CallHook(int column, int row, Press press, bool right, const QRect& rect,
                  const QPoint& point, int processed) override;

private:
    bool m_top;
};

class CGridTopHeading : public CGridAxisHeading {
    Q_OBJECT
public:
    CGridTopHeading(CGridParts& parts, QWidget* parent) : CGridAxisHeading(parts, true, parent) {}
};

class CGridSideHeading : public CGridAxisHeading {
    Q_OBJECT
public:
    CGridSideHeading(CGridParts& parts, QWidget* parent) : CGridAxisHeading(parts, false, parent) {}
};
