#pragma once
// The text cell type (index 0): text with borders, colours, a bitmap, alignment, word
// wrapping or an ellipsis, running over empty neighbours on its right.

#include "CellTypeHandler.h"

class CTextCellType : public CCellTypeHandler {
public:
    CTextCellType();
    QString GetName() const override;
    GridTypeId GetTypeId() const override;
    void OnDraw(QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record,
                int selected, int current) override;
    // Draws as on screen with the font scaled to the printed row height.
    void OnPrint(QPainter* dc, const QRect& rect, int column, int row,
                 const CCellRecord& record) override;
};
