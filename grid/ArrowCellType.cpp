#include "ArrowCellType.h"

#include "CellRecord.h"

#include <QPainter>

namespace {
// A triangle 7 pixels high and 4 wide, pointing right or left, its left edge at x.
void Triangle(QPainter* dc, int x, int centreY, bool right, const QColor& color) {
    for (int i = 0; i < 4; ++i) {
        const int column = right ? x + i : x + 3 - i;
        dc->fillRect(QRect(column, centreY - 3 + i, 1, 7 - 2 * i), color);
    }
}
} // namespace

CArrowCellType::CArrowCellType() = default;

GridTypeId CArrowCellType::GetTypeId() const {
    return {0x7d, 0x20, 0xb1, 0x4e, 0x93, 0x5c, 0x4a, 0x88,
            0x1f, 0xe2, 0x36, 0x0b, 0xc9, 0x74, 0x5d, 0xa3};
}

void CArrowCellType::OnDraw(QPainter* dc, const QRect& rect, int, int, const CCellRecord& record,
                            int selected, int current) {
    QRect content = rect;
    DrawBorder(dc, &content, record);
    GridColor textColor = 0;
    GridColor backColor = 0;
    GetColors(record, selected, current, &textColor, &backColor);
    dc->fillRect(content, ToQColor(backColor));
    if (rect.width() <= 3)
        return;
    const QColor color = ToQColor(textColor);
    const int cy = content.top() + content.height() / 2;
    const int cx = content.left() + content.width() / 2;
    switch (record.GetCellTypeStyle()) {
    case 0:
    case StyleRight:
        Triangle(dc, cx - 2, cy, true, color);
        break;
    case StyleLeft:
        Triangle(dc, cx - 2, cy, false, color);
        break;
    case StyleDoubleRight:
        Triangle(dc, cx - 4, cy, true, color);
        Triangle(dc, cx + 1, cy, true, color);
        break;
    case StyleDoubleLeft:
        Triangle(dc, cx - 4, cy, false, color);
        Triangle(dc, cx + 1, cy, false, color);
        break;
    default:
        break;
    }
}
