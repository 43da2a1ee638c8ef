#include "CheckBoxCellType.h"

#include "CellGrid.h"
#include "CellRecord.h"

#include <QPainter>
#include <algorithm>

namespace {
// Reads the leading integer of a text as a C runtime's atoi does.
int LeadingInteger(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9' && value < 0x7fffffffLL) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        ++i;
    }
    return static_cast<int>(negative ? -value : value);
}
} // namespace

CCheckBoxCellType::CCheckBoxCellType()
    : m_lightPen(ToQColor(0xE1E1E1), 1),
      m_shadowPen(ToQColor(GetGridSysColor(GridSysColor::ButtonShadow)), 1),
      m_facePen(ToQColor(GetGridSysColor(GridSysColor::ButtonFace)), 1) {}

QString CCheckBoxCellType::GetName() const {
    return QStringLiteral("Standard CheckBox Type");
}

GridTypeId CCheckBoxCellType::GetTypeId() const {
    return {0xc3, 0x47, 0x2a, 0x19, 0x6e, 0x08, 0x41, 0xd9,
            0xa4, 0x3b, 0x7f, 0x55, 0x02, 0xe8, 0x91, 0x6c};
}

QRect CCheckBoxCellType::BoxRect(const QRect& cell) {
    const int side = std::min(cell.height() - 6, 12);
    if (side <= 0)
        return QRect();
    return QRect(cell.left() + 3, cell.top() + (cell.height() - side) / 2, side, side);
}

void CCheckBoxCellType::Store(int column, int row, CCellRecord& record, int value) {
    record.SetNumber(value);
    m_grid->SetCell(column, row, &record);
    m_grid->RedrawCell(column, row);
    m_grid->OnCellTypeNotify(m_index, column, row, GridNotify::CheckBoxChanged, value);
}

int CCheckBoxCellType::OnClick(int column, int row, int buttonDown, const QRect& rect,
                               const QPoint& point) {
    const QRect box = BoxRect(rect);
    if (!box.contains(point))
        return 0;
    if (buttonDown)
        return 1; // the toggle happens when the button is released inside the box
    CCellRecord record;
    m_grid->GetResolvedCell(column, row, &record);
    if (record.GetReadOnly() != 0)
        return 1;
    Store(column, row, record, record.GetNumber() == 0.0 ? 1 : 0);
    return 1;
}

int CCheckBoxCellType::OnDoubleClick(int column, int row, const QRect& rect, const QPoint& point) {
    return OnClick(column, row, 1, rect, point);
}

int CCheckBoxCellType::OnCharDown(int column, int row, int* key) {
    if (!key || *key != ' ')
        return 0;
    CCellRecord resolved;
    m_grid->GetResolvedCell(column, row, &resolved);
    if (resolved.GetReadOnly() != 0)
        return 1;
    CCellRecord record;
    m_grid->GetCell(column, row, &record);
    const QString& text = record.GetText();
    const bool ticked = !text.isEmpty() && (text.startsWith(u'T') || text.startsWith(u't') ||
                                            LeadingInteger(text) != 0);
    Store(column, row, record, ticked ? 0 : 1);
    *key = 0;
    return 1;
}

void CCheckBoxCellType::OnDraw(QPainter* dc, const QRect& rect, int, int, const CCellRecord& record,
                               int selected, int current) {
    QRect content = rect;
    DrawBorder(dc, &content, record);
    GridColor textColor = 0;
    GridColor backColor = 0;
    GetColors(record, selected, current, &textColor, &backColor);
    dc->fillRect(content, ToQColor(backColor));

    const QRect box = BoxRect(rect);
    if (box.isValid() && box.width() > 5) {
        const int style = record.GetCellTypeStyle();
        dc->fillRect(box, ToQColor(GetGridSysColor(GridSysColor::Window)));
        auto frame = [&](const QPen& topLeft, const QPen& bottomRight) {
            dc->fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft.color());
            dc->fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft.color());
            dc->fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight.color());
            dc->fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight.color());
        };
        if (style & StyleRecessed) {
            frame(m_shadowPen, QPen(Qt::white));
            const QRect inner = box.adjusted(1, 1, -1, -1);
            dc->fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), QColor(Qt::black));
            dc->fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), QColor(Qt::black));
            dc->fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), m_lightPen.color());
            dc->fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), m_lightPen.color());
        } else if (style & StyleRaised) {
            frame(QPen(Qt::white), m_shadowPen);
            const QRect inner = box.adjusted(1, 1, -1, -1);
            dc->fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), m_lightPen.color());
            dc->fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), m_lightPen.color());
            dc->fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), m_facePen.color());
            dc->fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), m_facePen.color());
        } else {
            const QColor edge = ToQColor(textColor);
            frame(QPen(edge), QPen(edge));
        }
        if (record.GetNumber() > 0) {
            QPen mark(ToQColor(textColor), box.width() > 9 ? 2 : 1);
            mark.setCapStyle(Qt::FlatCap);
            dc->save();
            dc->setPen(mark);
            dc->setRenderHint(QPainter::Antialiasing, false);
            const QRect in = box.adjusted(3, 3, -3, -3);
            if (style & StyleTick) {
                const QPoint a(in.left(), in.top() + in.height() / 2);
                const QPoint b(in.left() + in.width() / 3, in.bottom());
                const QPoint c(in.right(), in.top());
                dc->drawLine(a, b);
                dc->drawLine(b, c);
            } else {
                dc->drawLine(in.topLeft(), in.bottomRight());
                dc->drawLine(in.bottomLeft(), in.topRight());
            }
            dc->restore();
        }
    }

    // The caption (label string) to the right of the box.
    const int side = std::max(0, std::min(rect.height() - 6, 12));
    QRect caption = content;
    caption.setLeft(rect.left() + side + 6);
    if (caption.width() > 0 && !record.GetLabel().isEmpty()) {
        m_useLabel = 1;
        DrawTextContent(dc, caption, 0, record, selected, current);
        m_useLabel = 0;
    }
}
