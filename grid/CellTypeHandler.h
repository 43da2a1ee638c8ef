#pragma once
// Base of every cell type: draws a cell and reacts to input on it. A grid registers its
// types in a table; a cell chooses one by its cell-type index.

#include "GridColors.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>

class CCellGrid;
class CCellRecord;
class QPainter;
class QFont;
class QPen;

using GridTypeId = std::array<std::uint8_t, 16>;

// Messages the cell types send to the grid's OnCellTypeNotify.
namespace GridNotify {
enum : int {
    CheckBoxChanged = 53,  // parameter: the new value, 0 or 1
    DropListOpening = 100, // parameter: QStringList* of the choices (the hook may change it)
    DropListSelected = 101 // parameter: const QString* of the choice; answering 0 refuses it
};
}

class CCellTypeHandler {
public:
    CCellTypeHandler();
    virtual ~CCellTypeHandler();
    CCellTypeHandler(const CCellTypeHandler&) = delete;
    CCellTypeHandler& operator=(const CCellTypeHandler&) = delete;

    // Called by the grid when the type takes a slot in its table.
    void Attach(CCellGrid* grid, int index);
    CCellGrid* GetGrid() const { return m_grid; }
    int GetIndex() const { return m_index; }
    int GetUseLabel() const { return m_useLabel; }
    int GetCanOverflow() const { return m_canOverflow; }

    virtual QString GetName() const;
    virtual GridTypeId GetTypeId() const;
    // 1 when the type handled the click.
    virtual int OnClick(int column, int row, int buttonDown, const QRect& rect,
                        const QPoint& point);
    virtual int OnRightClick(int column, int row, int buttonDown, const QRect& rect,
                             const QPoint& point);
    virtual int OnDoubleClick(int column, int row, const QRect& rect, const QPoint& point);
    // May consume the key by setting it to 0. Keys are Qt key codes.
    virtual int OnKeyDown(int column, int row, int* key);
    // Characters are Unicode code points.
    virtual int OnCharDown(int column, int row, int* key);
    virtual int OnMouseMove(int column, int row, const QPoint& point, int keyFlags);
    virtual void OnDraw(QPainter* dc, const QRect& rect, int column, int row,
                        const CCellRecord& record, int selected, int current);
    virtual void OnPrint(QPainter* dc, const QRect& rect, int column, int row,
                         const CCellRecord& record);
    virtual void OnSetFocus(int column, int row, const CCellRecord& record);
    virtual void OnKillFocus(int column, int row, const CCellRecord& record);
    // The size the content needs.
    virtual void GetBestSize(QPainter* dc, QSize* size, const CCellRecord& record);

protected:
    // Draws the borders and grid lines of a cell and shrinks rect by the width used on
    // each side.
    void DrawBorder(QPainter* dc, QRect* rect, const CCellRecord& record) const;
    // Draws the content of a text cell (colours, bitmap, alignment, styles) in rect, the
    // text shifted left by -offset when it continues from a cell further left.
    void DrawTextContent(QPainter* dc, const QRect& rect, int offset, const CCellRecord& record,
                         int selected, int current) const;
    // The colours a cell is painted in, after the current and selected states.
    void GetColors(const CCellRecord& record, int selected, int current, GridColor* text,
                   GridColor* back) const;
    // The font a cell is drawn in: its own, the sheet's default, else the grid window's.
    const QFont& CellFont(const CCellRecord& record) const;

    CCellGrid* m_grid = nullptr;
    int m_index = 0;
    int m_useLabel = 0;
    int m_canOverflow = 0;
};
