#include "TextCellType.h"

#include "CellGrid.h"
#include "CellRecord.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

CTextCellType::CTextCellType() {
    m_canOverflow = 1;
}

QString CTextCellType::GetName() const {
    return QStringLiteral("Normal Cell Type (default)");
}

GridTypeId CTextCellType::GetTypeId() const {
    return {0x5a, 0x1e, 0x0c, 0x71, 0x3b, 0x94, 0x4d, 0x02,
            0x8e, 0x61, 0xd7, 0x23, 0x90, 0x4f, 0xb5, 0x10};
}

void CTextCellType::OnDraw(QPainter* dc, const QRect& rect, int column, int row,
                           const CCellRecord& record, int selected, int current) {
    const CGridSheet& sheet = m_grid->Sheet();
    const int margin = sheet.Options().textMargin;
    // An empty cell shows the text of a cell further left that runs over it.
    if (sheet.Options().allowOverflow && column > 0 && row >= 0 && column < sheet.ColumnCount() &&
        !record.Has(CCellRecord::PropJoin) && record.GetCellTypeStyle() == 0 &&
        record.GetText().isEmpty()) {
        const int from = m_grid->GetDataSource()->GetPrevNonBlankColumn(column, row);
        CCellRecord source;
        if (from >= 0 && from < column)
            m_grid->GetResolvedCell(from, row, &source);
        const bool runs = from >= 0 && from < column &&
                          m_grid->GetCellType(source.GetCellType())->GetCanOverflow() &&
                          !source.Has(CCellRecord::PropJoin) && source.GetCellTypeStyle() == 0;
        const int textWidth =
            runs ? QFontMetrics(CellFont(source)).horizontalAdvance(source.GetText()) : 0;
        // The text reaches this cell when the columns from its own up to this one are
        // narrower than it.
        const long long before = runs ? sheet.Columns().SpanSize(from, column - 1) : 0;
        if (runs && textWidth > sheet.ColumnWidth(from) - margin && before < textWidth + margin) {
            QRect content = rect;
            DrawBorder(dc, &content, source);
            DrawTextContent(dc, content, -static_cast<int>(before), source, selected, current);
            return;
        }
    }
    QRect content = rect;
    DrawBorder(dc, &content, record);
    DrawTextContent(dc, content, 0, record, selected, current);
}

void CTextCellType::OnPrint(QPainter* dc, const QRect& rect, int column, int row,
                            const CCellRecord& record) {
    // The printed row height against the screen height of the rows the cell covers.
    int isStart = 0, rowSpan = 0, columnSpan = 0;
    int rows = 0;
    if (record.GetJoinInfo(&isStart, &rowSpan, &columnSpan) == 0 && isStart)
        rows = rowSpan;
    const long long screenHeight = m_grid->Sheet().Rows().SpanSize(row, row + rows);
    const double ratio = screenHeight > 0 ? static_cast<double>(rect.height()) / screenHeight : 1.0;

    CCellRecord grid;
    m_grid->GetGridDefault(&grid);
    QFont font = record.GetFont() ? *record.GetFont()
                 : grid.GetFont() ? *grid.GetFont()
                                  : m_grid->font();
    if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * ratio))));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * ratio);
    CCellRecord scaled(record);
    scaled.SetFont(&font);
    dc->save();
    dc->setFont(font);
    OnDraw(dc, rect, column, row, scaled, 0, 0);
    dc->restore();
}
