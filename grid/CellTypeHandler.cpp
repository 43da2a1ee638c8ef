#include "CellTypeHandler.h"

#include "CellGrid.h"
#include "CellRecord.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

CCellTypeHandler::CCellTypeHandler() = default;
CCellTypeHandler::~CCellTypeHandler() = default;

void CCellTypeHandler::Attach(CCellGrid* grid, int index) {
    m_grid = grid;
    m_index = index;
}

QString CCellTypeHandler::GetName() const {
    return QString();
}

GridTypeId CCellTypeHandler::GetTypeId() const {
    return GridTypeId{};
}

int CCellTypeHandler::OnClick(int, int, int, const QRect&, const QPoint&) {
    return 0;
}
int CCellTypeHandler::OnRightClick(int, int, int, const QRect&, const QPoint&) {
    return 0;
}
int CCellTypeHandler::OnDoubleClick(int, int, const QRect&, const QPoint&) {
    return 0;
}
int CCellTypeHandler::OnKeyDown(int, int, int*) {
    return 0;
}
int CCellTypeHandler::OnCharDown(int, int, int*) {
    return 0;
}
int CCellTypeHandler::OnMouseMove(int, int, const QPoint&, int) {
    return 0;
}

void CCellTypeHandler::OnDraw(QPainter* dc, const QRect& rect, int, int, const CCellRecord& record,
                              int selected, int current) {
    QRect content = rect;
    DrawBorder(dc, &content, record);
    DrawTextContent(dc, content, 0, record, selected, current);
}

void CCellTypeHandler::OnPrint(QPainter* dc, const QRect& rect, int column, int row,
                               const CCellRecord& record) {
    OnDraw(dc, rect, column, row, record, 0, 0);
}

void CCellTypeHandler::OnSetFocus(int, int, const CCellRecord&) {}
void CCellTypeHandler::OnKillFocus(int, int, const CCellRecord&) {}

void CCellTypeHandler::GetBestSize(QPainter*, QSize* size, const CCellRecord& record) {
    if (!size)
        return;
    const QString& text = record.GetText();
    if (text.isEmpty()) {
        *size = QSize(9, 5);
        return;
    }
    const QFontMetrics fm(CellFont(record));
    *size = QSize(fm.horizontalAdvance(text) + 6, fm.height() + 2);
}

const QFont& CCellTypeHandler::CellFont(const CCellRecord& record) const {
    if (const QFont* font = record.GetFont())
        return *font;
    if (const QFont* font = m_grid->Sheet().Options().defaultFont)
        return *font;
    return m_grid->font();
}

void CCellTypeHandler::GetColors(const CCellRecord& record, int selected, int current,
                                 GridColor* text, GridColor* back) const {
    const bool highlight =
        current || (selected && (m_grid->Sheet().Options().selectionHighlight & 2));
    if (highlight) {
        *text = record.GetHTextColor();
        *back = record.GetHBackColor();
    } else {
        *text = record.GetTextColor();
        *back = record.GetBackColor();
    }
}

namespace {
// Line thickness of one edge from its thin, medium and thick bits.
int EdgeWidth(int style, int thin, int medium, int thick) {
    if (style & thick)
        return 3;
    if (style & medium)
        return 2;
    if (style & thin)
        return 1;
    return 0;
}

// A line of one pixel's width from one point to another, both included.
void Line(QPainter* dc, const QPen& pen, const QPoint& from, const QPoint& to) {
    if (pen.style() == Qt::SolidLine) {
        dc->fillRect(QRect(from, to), pen.color());
    } else {
        dc->setPen(pen);
        dc->drawLine(from, to);
    }
}
} // namespace

void CCellTypeHandler::DrawBorder(QPainter* dc, QRect* rect, const CCellRecord& record) const {
    const CGridOptions& sheet = m_grid->Sheet().Options();
    const int style = record.GetBorder();
    const QPen* ownPen = record.GetBorderPen();
    const QPen& pen = ownPen ? *ownPen : sheet.gridLinePen;
    const QPen& gridPen = sheet.gridLinePen;
    const QRect r = *rect;
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const bool frame3d = (style & (GridBorder::Recessed | GridBorder::Raised)) != 0;

    int left =
        EdgeWidth(style, GridBorder::ThinLeft, GridBorder::MediumLeft, GridBorder::ThickLeft);
    int top = EdgeWidth(style, GridBorder::ThinTop, GridBorder::MediumTop, GridBorder::ThickTop);
    int right =
        EdgeWidth(style, GridBorder::ThinRight, GridBorder::MediumRight, GridBorder::ThickRight);
    int bottom =
        EdgeWidth(style, GridBorder::ThinBottom, GridBorder::MediumBottom, GridBorder::ThickBottom);

    for (int i = 0; i < left; ++i)
        Line(dc, pen, {r.left() + i, r.top()}, {r.left() + i, r.bottom()});
    for (int i = 0; i < top; ++i)
        Line(dc, pen, {r.left(), r.top() + i}, {r.right(), r.top() + i});
    // Every plain cell shows a light grey line on its right and bottom edges.
    if (right > 0) {
        for (int i = 0; i < right; ++i)
            Line(dc, pen, {r.right() - i, r.top()}, {r.right() - i, r.bottom()});
    } else if (sheet.drawGridLines && !frame3d) {
        Line(dc, gridPen, {r.right(), r.top()}, {r.right(), r.bottom()});
        right = 1;
    }
    if (bottom > 0) {
        for (int i = 0; i < bottom; ++i)
            Line(dc, pen, {r.left(), r.bottom() - i}, {r.right(), r.bottom() - i});
    } else if (sheet.drawGridLines && !frame3d) {
        Line(dc, gridPen, {r.left(), r.bottom()}, {r.right(), r.bottom()});
        bottom = 1;
    }

    if (frame3d) {
        const bool recessed = (style & GridBorder::Recessed) != 0;
        const QPen& light = m_grid->WhitePen();
        const QPen& dark = m_grid->ShadowPen();
        const QPen& topLeft = recessed ? dark : light;
        const QPen& bottomRight = recessed ? light : dark;
        Line(dc, topLeft, {r.left(), r.top()}, {r.right(), r.top()});
        Line(dc, topLeft, {r.left(), r.top()}, {r.left(), r.bottom()});
        Line(dc, bottomRight, {r.left(), r.bottom()}, {r.right(), r.bottom()});
        Line(dc, bottomRight, {r.right(), r.top()}, {r.right(), r.bottom()});
        left = std::max(left, 1);
        top = std::max(top, 1);
        right = std::max(right, 1);
        bottom = std::max(bottom, 1);
    }
    rect->adjust(left, top, -right, -bottom);
}

void CCellTypeHandler::DrawTextContent(QPainter* dc, const QRect& rect, int offset,
                                       const CCellRecord& record, int selected, int current) const {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const CGridOptions& sheet = m_grid->Sheet().Options();
    const int style = record.GetCellTypeStyle();
    const QString& text = (m_useLabel || style == 8) ? record.GetLabel() : record.GetText();
    if (const QFont* font = record.GetFont())
        dc->setFont(*font);
    GridColor textColor = 0;
    GridColor backColor = 0;
    GetColors(record, selected, current, &textColor, &backColor);
    const QColor back = ToQColor(backColor);
    QRect r = rect;
    dc->fillRect(r, back);

    if (const QPixmap* bitmap = record.GetBitmap()) {
        if (!bitmap->isNull()) {
            const int by = r.top() + (r.height() - bitmap->height()) / 2;
            dc->save();
            dc->setClipRect(r, Qt::IntersectClip);
            dc->drawPixmap(r.left(), by, *bitmap);
            dc->restore();
            r.setLeft(r.left() + bitmap->width());
            if (r.width() <= 0)
                return;
        }
    }
    if (text.isEmpty())
        return;

    dc->setPen(ToQColor(textColor));
    const QFontMetrics fm = dc->fontMetrics();
    const int align = record.GetAlignment();
    const int margin = sheet.textMargin;
    const int right = r.left() + r.width(); // one past the last pixel

    if (style & 2) {
        // Word-wrapped text.
        int flags = Qt::TextWordWrap;
        QRect box = r;
        if (align & GridAlign::HCenter) {
            flags |= Qt::AlignHCenter;
        } else if (align & GridAlign::Right) {
            flags |= Qt::AlignRight;
            box.setRight(box.right() - 2);
        } else {
            flags |= Qt::AlignLeft;
            box.setLeft(box.left() + 2);
        }
        if (align & GridAlign::VCenter)
            flags |= Qt::AlignVCenter;
        else if (align & GridAlign::Bottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
        dc->drawText(box, flags, text);
        return;
    }

    const int textWidth = fm.horizontalAdvance(text);
    const int textHeight = fm.height();
    int y;
    if (align & GridAlign::VCenter)
        y = r.top() + (r.height() - textHeight) / 2;
    else if (align & GridAlign::Bottom)
        y = r.top() + r.height() - textHeight - 1;
    else
        y = r.top() + 1;

    if ((style & 4) && textWidth + 6 > r.width()) {
        // Too wide: the text is cut and "..." marks the cut.
        static const QString dots = QStringLiteral("...");
        const int dotsWidth = fm.horizontalAdvance(dots);
        const int cut = right - dotsWidth - 3;
        dc->save();
        dc->setClipRect(QRect(r.left(), r.top(), std::max(0, cut - r.left()), r.height()),
                        Qt::IntersectClip);
        dc->drawText(r.left() + 3, y + fm.ascent(), text);
        dc->restore();
        dc->save();
        dc->setClipRect(r, Qt::IntersectClip);
        dc->drawText(cut + 1, y + fm.ascent(), dots);
        dc->restore();
        return;
    }

    int x;
    if (align & GridAlign::HCenter)
        x = r.left() + (r.width() - textWidth) / 2;
    else if (align & GridAlign::Right)
        x = right - margin - textWidth;
    else
        x = r.left() + offset + margin;

    const bool inside = x >= r.left() && x + textWidth <= right && y >= r.top() &&
                        y + textHeight <= r.top() + r.height();
    if (inside) {
        dc->drawText(x, y + fm.ascent(), text);
    } else {
        dc->save();
        dc->setClipRect(r, Qt::IntersectClip);
        dc->drawText(x, y + fm.ascent(), text);
        dc->restore();
    }
}
