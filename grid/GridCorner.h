#pragma once
// The corner of a grid, where the top heading and the side heading meet: shows the cell
// (-1, -1), and its edges drag the heading sizes.

#include "GridHeading.h"

class CGridCorner : public CGridHeadingBase {
    Q_OBJECT
public:
    CGridCorner(CGridParts& parts, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    int HitDivider(const QPoint& point, int* index) override;
    int HitCell(const QPoint& point, int* column, int* row, QRect* rect) override;
    void CallHook(int column, int row, Press press, bool right, const QRect& rect,
                  const QPoint& point, int processed) override;
};
