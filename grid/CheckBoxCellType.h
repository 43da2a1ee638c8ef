#pragma once
// The check box cell type (index 2): the value in the text (a number, ticked when > 0),
// the caption in the label string.

#include "CellTypeHandler.h"

#include <QPen>

class CCheckBoxCellType : public CCellTypeHandler {
public:
    CCheckBoxCellType();
    QString GetName() const override;
    GridTypeId GetTypeId() const override;
    int OnClick(int column, int row, int buttonDown, const QRect& rect,
                const QPoint& point) override;
    int OnDoubleClick(int column, int row, const QRect& rect, const QPoint& point) override;
    int OnCharDown(int column, int row, int* key) override;
    void OnDraw(QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record,
                int selected, int current) override;

    // Style bits of the type.
    enum : int { StyleRecessed = 0x100, StyleRaised = 0x200, StyleTick = 0x1000 };

    // The box inside a cell rectangle: side min(height - 6, 12), 3 pixels from the left,
    // centred vertically.
    static QRect BoxRect(const QRect& cell);

private:
    // Stores the new value, repaints and tells the grid (message 53).
    void Store(int column, int row, CCellRecord& record, int value);

    QPen m_lightPen;
    QPen m_shadowPen;
    QPen m_facePen;
};
