#pragma once
// A scroll bar of a grid: its actions move the view (not the current cell), one row or
// column, a page, to either end, or to where the thumb is. Long grids map the bar's
// 1000 positions onto their rows or columns.

#include <QScrollBar>

struct CGridParts;

class CGridScrollBar : public QScrollBar {
    Q_OBJECT
public:
    CGridScrollBar(CGridParts& parts, Qt::Orientation orientation, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A bar action (QAbstractSlider::SliderAction, or -1 when the thumb is let go).
    void Action(int action, int position);
    // The first row or column a thumb position stands for.
    int FromThumb(int position) const;

    CGridParts& m_parts;
};
