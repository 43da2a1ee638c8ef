#pragma once
// The arrow cell type (index 3): navigation buttons in heading cells. Style 0x10 (or none)
// one right-pointing triangle, 0x20 one left-pointing, 0x40 two right, 0x80 two left.

#include "CellTypeHandler.h"

class CArrowCellType : public CCellTypeHandler {
public:
    CArrowCellType();
    GridTypeId GetTypeId() const override;
    void OnDraw(QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record,
                int selected, int current) override;

    enum : int {
        StyleRight = 0x10,
        StyleLeft = 0x20,
        StyleDoubleRight = 0x40,
        StyleDoubleLeft = 0x80
    };
};
