#pragma once
// One cell's properties. A property counts only when its bit is set in the mask; every
// getter answers the property's default when the bit is clear. Records never own fonts,
// pens or bitmaps: they point at objects owned by the grid's owner.

#include "GridColors.h"

#include <QString>
#include <cstdint>
#include <memory>

class QFont;
class QPen;
class QPixmap;
class CCellRecord;

// Alignment bits of a cell.
namespace GridAlign {
enum : int { Left = 1, Right = 2, HCenter = 4, Bottom = 16, VCenter = 32 };
}

// Border style bits; every edge is drawn inside the cell rectangle.
namespace GridBorder {
// clang-format off
enum : int {
    ThinLeft = 0x1, ThinTop = 0x2, ThinRight = 0x4, ThinBottom = 0x8,             // 1 pixel
    MediumLeft = 0x10, MediumTop = 0x20, MediumRight = 0x40, MediumBottom = 0x80, // 2 pixels
    ThickLeft = 0x100, ThickTop = 0x200, ThickRight = 0x400, ThickBottom = 0x800, // 3 pixels
    Recessed = 0x1000, Raised = 0x2000                                            // 3-D frames
};
// clang-format on
} // namespace GridBorder

// Data type values of a cell.
namespace GridDataType {
enum : int { Text = 1, Number = 2 };
}

// An object whose Adjust is applied to a cell's resolved record before drawing.
class CStyleAdjuster {
public:
    virtual ~CStyleAdjuster() = default;
    virtual void Adjust(CCellRecord& record) = 0;
};

class CCellRecord {
public:
    // Property bits of the mask.
    enum Property : std::uint32_t {
        PropText = 0x1,
        PropString2 = 0x2,
        PropLabel = 0x4,
        PropDataType = 0x8,
        PropItemData = 0x10,
        PropCellType = 0x20,
        PropCellTypeStyle = 0x40,
        PropTextColor = 0x80,
        PropBackColor = 0x100,
        PropHTextColor = 0x200,
        PropHBackColor = 0x400,
        PropBorder = 0x800,
        PropBorderPen = 0x1000,
        PropFont = 0x2000,
        PropBitmap = 0x4000,
        PropAlignment = 0x8000,
        PropExtraData = 0x10000,
        PropJoin = 0x20000,
        PropStyleAdjuster = 0x200000,
        PropStyleRecord = 0x800000,
        PropReadOnly = 0x1000000,
        PropDecimals = 0x2000000,
    };

    CCellRecord();
    ~CCellRecord();
    // Copying is the "replace" rule: the copy gets the mask and every property set in it.
    CCellRecord(const CCellRecord& other);
    CCellRecord& operator=(const CCellRecord& other);
    CCellRecord(CCellRecord&& other) noexcept;
    CCellRecord& operator=(CCellRecord&& other) noexcept;

    // Empties the mask and the text and frees the extra data block.
    void Clear();
    std::uint32_t GetMask() const { return m_mask; }
    bool Has(std::uint32_t bits) const { return (m_mask & bits) != 0; }
    // Drops properties from the mask (their values no longer count).
    void ClearProperty(std::uint32_t bits);

    // Merge (this = other over this): every property set in other is copied here and the
    // masks are OR-ed; properties set only here stay.
    void MergeFrom(const CCellRecord& other);
    // Replace (this := other): the mask becomes other's and its set properties are copied.
    void ReplaceWith(const CCellRecord& other);

    int SetText(const QString& text);
    // 1 (and the string left alone) when no text is set, else copies it and returns 0.
    int GetText(QString* text) const;
    const QString& GetText() const;
    int SetNumber(double value);
    double GetNumber() const;
    int SetString2(const QString& text);
    const QString& GetString2() const;
    int SetLabel(const QString& text);
    const QString& GetLabel() const;
    int SetDataType(int type);
    int GetDataType() const { return Has(PropDataType) ? m_dataType : 1; }
    int SetItemData(int data);
    int GetItemData() const { return Has(PropItemData) ? m_itemData : 0; }
    int SetCellType(int index);
    int GetCellType() const { return Has(PropCellType) ? m_cellType : 0; }
    int SetCellTypeStyle(int style);
    int GetCellTypeStyle() const { return Has(PropCellTypeStyle) ? m_cellTypeStyle : 0; }

    int SetTextColor(GridColor color);
    GridColor GetTextColor() const;
    int SetBackColor(GridColor color);
    GridColor GetBackColor() const;
    int SetHTextColor(GridColor color);
    GridColor GetHTextColor() const;
    int SetHBackColor(GridColor color);
    GridColor GetHBackColor() const;

    int SetBorder(int style);
    int GetBorder() const { return Has(PropBorder) ? m_border : 0; }
    int SetBorderPen(const QPen* pen);
    // nullptr when unset: the sheet's grid-line pen is used.
    const QPen* GetBorderPen() const { return Has(PropBorderPen) ? m_pen : nullptr; }
    int SetFont(const QFont* font);
    // nullptr when unset: the window's current font is used.
    const QFont* GetFont() const { return Has(PropFont) ? m_font : nullptr; }
    int SetBitmap(const QPixmap* bitmap);
    const QPixmap* GetBitmap() const;
    int SetAlignment(int alignment);
    int GetAlignment() const { return Has(PropAlignment) ? m_alignment : 0; }

    // The extra data block is copied into a buffer owned by the record. When the copy
    // cannot be allocated the record is left without a block and 1 is returned.
    int SetExtraData(const void* data, int length);
    const unsigned char* GetExtraData() const;
    int GetExtraDataLength() const;

    // Join information: the start cell holds isStart = 1 and the spans (rows down,
    // columns across); every other cell of the block holds isStart = 0 and its negative
    // offsets from the start cell.
    int SetJoinInfo(int isStart, int rowOffset, int columnOffset);
    // 1 when the cell is not joined.
    int GetJoinInfo(int* isStart, int* rowOffset, int* columnOffset) const;

    int SetStyleAdjuster(CStyleAdjuster* adjuster);
    CStyleAdjuster* GetStyleAdjuster() const;
    int SetStyleRecord(const CCellRecord* record);
    const CCellRecord* GetStyleRecord() const;
    int SetReadOnly(int flag);
    int GetReadOnly() const;
    int SetDecimals(int decimals);
    // -1 when unset.
    int GetDecimals() const;

private:
    // Properties rarely used by the program's grids live in a block of their own, so the
    // records of large grids stay small.
    struct Rare {
        QString string2;
        QString label;
        GridColor hTextColor = 0;
        GridColor hBackColor = 0;
        const QPixmap* bitmap = nullptr;
        CStyleAdjuster* adjuster = nullptr;
        const CCellRecord* styleRecord = nullptr;
        std::unique_ptr<unsigned char[]> extra;
        int extraLength = 0;
        int readOnly = 0;
        short decimals = 0;
    };
    static constexpr std::uint32_t kRareMask =
        PropString2 | PropLabel | PropHTextColor | PropHBackColor | PropBitmap | PropExtraData |
        PropStyleAdjuster | PropStyleRecord | PropReadOnly | PropDecimals;

    Rare& EnsureRare();
    void CopyProperties(const CCellRecord& other, std::uint32_t bits);
    void CopyExtra(const Rare& from);

    std::uint32_t m_mask = 0;
    short m_dataType = 1;
    short m_border = 0;
    short m_alignment = 0;
    short m_joinStart = 0;
    int m_itemData = 0;
    int m_cellType = 0;
    int m_cellTypeStyle = 0;
    GridColor m_textColor = 0;
    GridColor m_backColor = 0;
    int m_joinRow = 0;
    int m_joinColumn = 0;
    const QPen* m_pen = nullptr;
    const QFont* m_font = nullptr;
    QString m_text;
    std::unique_ptr<Rare> m_rare;
};
