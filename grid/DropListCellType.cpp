#include "DropListCellType.h"

#include "CellGrid.h"
#include "CellRecord.h"
#include "GridComponents.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <algorithm>

// The list of choices: a choice is made by releasing the button on an item or by Enter;
// Escape, Enter without a selection or losing the focus close it unchanged.
class CDropListBox : public QListWidget {
public:
    CDropListBox(CDropListCellType* type, QWidget* parent) : QListWidget(parent), m_type(type) {
        setFrameShape(QFrame::Box);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (QListWidgetItem* item = itemAt(event->position().toPoint())) {
            m_type->Choose(item->text());
            return;
        }
        QListWidget::mouseReleaseEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            m_type->CloseList(false);
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            QListWidgetItem* item = currentItem();
            if (item && item->isSelected())
                m_type->Choose(item->text());
            else
                m_type->CloseList(false);
            return;
        }
        QListWidget::keyPressEvent(event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QListWidget::focusOutEvent(event);
        if (isVisible())
            m_type->CloseList(true);
    }

private:
    CDropListCellType* m_type;
};

namespace {
int ButtonWidth() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return 17;
}
} // namespace

CDropListCellType::CDropListCellType() = default;

CDropListCellType::~CDropListCellType() {
    // The list is a child of the cell area; it goes with this type.
    delete m_list.data();
}

QListWidget* CDropListCellType::ListBox() const {
    return m_list.data();
}

QString CDropListCellType::GetName() const {
    return QStringLiteral("Standard DropList");
}

GridTypeId CDropListCellType::GetTypeId() const {
    return {0x28, 0xf6, 0x93, 0x0d, 0x51, 0xaa, 0x47, 0x3e,
            0xb0, 0x6c, 0x12, 0xdd, 0x84, 0x39, 0xe7, 0x05};
}

QStringList CDropListCellType::SplitChoices(const QString& label) {
    QStringList choices;
    int start = 0;
    for (;;) {
        const int end = label.indexOf(u'\n', start);
        if (end < 0)
            break;
        choices.append(label.mid(start, end - start));
        start = end + 1;
    }
    return choices;
}

QRect CDropListCellType::ButtonRect(const QRect& cell) {
    const int width = std::min(ButtonWidth(), cell.width());
    return QRect(cell.left() + cell.width() - width, cell.top(), width, cell.height());
}

int CDropListCellType::OnClick(int column, int row, int buttonDown, const QRect& rect,
                               const QPoint& point) {
    if (!buttonDown) {
        if (m_pressed) {
            m_pressed = false;
            m_grid->RedrawCell(m_pressedColumn, m_pressedRow);
            return 1;
        }
        return 0;
    }
    if (!ButtonRect(rect).contains(point))
        return 0;
    if (m_openColumn == column && m_openRow == row) {
        CloseList(false);
        return 1;
    }
    if (m_openColumn == -2) {
        // The list has just closed because this click took the focus from it.
        m_openColumn = m_openRow = -1;
        if (m_closedColumn == column && m_closedRow == row)
            return 1;
    }
    m_pressed = true;
    m_pressedColumn = column;
    m_pressedRow = row;
    m_grid->RedrawCell(column, row);
    OpenList();
    return 1;
}

int CDropListCellType::OnDoubleClick(int column, int row, const QRect& rect, const QPoint& point) {
    if (!ButtonRect(rect).contains(point))
        return 0;
    return OnClick(column, row, 1, rect, point);
}

int CDropListCellType::OnMouseMove(int column, int row, const QPoint& point, int keyFlags) {
    if (!(keyFlags & 1) || m_pressedColumn != column || m_pressedRow != row)
        return 0;
    QRect rect;
    m_grid->GetCellRect(column, row, &rect);
    const bool inside = ButtonRect(rect).contains(point);
    if (inside != m_pressed) {
        m_pressed = inside;
        m_grid->RedrawCell(column, row);
    }
    return 1;
}

int CDropListCellType::OnKeyDown(int, int, int* key) {
    if (!key)
        return 0;
    const bool ctrl = m_grid->CurrentModifiers().testFlag(Qt::ControlModifier);
    if (*key == Qt::Key_Return || *key == Qt::Key_Enter || (*key == Qt::Key_Down && ctrl)) {
        m_swallowChar = *key != Qt::Key_Down;
        *key = 0;
        OpenList();
        return 1;
    }
    return 0;
}

int CDropListCellType::OnCharDown(int, int, int* key) {
    if (m_swallowChar && key) {
        m_swallowChar = false;
        *key = 0;
        return 1;
    }
    return 0;
}

void CDropListCellType::OnKillFocus(int, int, const CCellRecord&) {
    m_openColumn = m_openRow = -1;
}

void CDropListCellType::OnDraw(QPainter* dc, const QRect& rect, int column, int row,
                               const CCellRecord& record, int selected, int current) {
    QRect content = rect;
    DrawBorder(dc, &content, record);
    const bool showButton = !(record.GetCellTypeStyle() & StyleButtonOnCurrent) || current;
    QRect textRect = content;
    if (showButton) {
        const QRect button = ButtonRect(content);
        textRect.setRight(button.left() - 1);
        const bool sunken =
            m_pressed && current && column == m_pressedColumn && row == m_pressedRow;
        dc->fillRect(button, ToQColor(GetGridSysColor(GridSysColor::ButtonFace)));
        const QColor light(Qt::white);
        const QColor dark = ToQColor(GetGridSysColor(GridSysColor::ButtonShadow));
        const QColor& topLeft = sunken ? dark : light;
        const QColor& bottomRight = sunken ? light : dark;
        dc->fillRect(QRect(button.left(), button.top(), button.width(), 1), topLeft);
        dc->fillRect(QRect(button.left(), button.top(), 1, button.height()), topLeft);
        dc->fillRect(QRect(button.left(), button.bottom(), button.width(), 1), bottomRight);
        dc->fillRect(QRect(button.right(), button.top(), 1, button.height()), bottomRight);
        // A black triangle of 5, 3 and 1 pixels pointing down.
        const int cx = button.left() + button.width() / 2 + (sunken ? 1 : 0);
        const int cy = button.top() + button.height() / 2 - 1 + (sunken ? 1 : 0);
        for (int i = 0; i < 3; ++i)
            dc->fillRect(QRect(cx - 2 + i, cy + i, 5 - 2 * i, 1), QColor(Qt::black));
    }
    if (textRect.width() > 0)
        DrawTextContent(dc, textRect, 0, record, selected, current);
}

void CDropListCellType::OpenList() {
    const int column = m_grid->GetCurrentColumn();
    const int row = m_grid->GetCurrentRow();
    if (column < 0 || row < 0)
        return;
    CCellRecord record;
    m_grid->GetResolvedCell(column, row, &record);
    QStringList choices = SplitChoices(record.GetLabel());
    m_grid->OnCellTypeNotify(m_index, column, row, GridNotify::DropListOpening,
                             reinterpret_cast<qintptr>(&choices));

    QWidget* area = m_grid->CellArea();
    if (!m_list) {
        m_list = new CDropListBox(this, area);
    }
    const QFont* cellFont = record.GetFont();
    const QFont* font = cellFont ? cellFont : m_grid->Sheet().Options().defaultFont;
    int lineHeight = 12;
    if (font) {
        m_list->setFont(*font);
        lineHeight = QFontMetrics(*font).height();
    } else {
        m_list->setFont(m_grid->font());
    }
    m_list->clear();
    m_list->addItems(choices);

    QRect cell;
    m_grid->GetCellRect(column, row, &cell);
    const int left = cell.left() + 5;
    const int width = std::max(10, cell.right() + 10 - left);
    const int height = std::min(static_cast<int>(choices.size()) + 1, 16) * lineHeight + 2;
    int x = left;
    int y = cell.bottom() + 1;
    if (y + height > area->height())
        y = std::max(0, area->height() - height);
    if (x + width > area->width())
        x = std::max(0, area->width() - width);
    m_list->setGeometry(x, y, width, height);
    m_openColumn = column;
    m_openRow = row;
    m_list->show();
    m_list->raise();
    m_list->setFocus(Qt::PopupFocusReason);
}

void CDropListCellType::CloseList(bool lostFocus) {
    if (!m_list || m_closing)
        return;
    m_closing = true;
    m_closedColumn = m_openColumn;
    m_closedRow = m_openRow;
    m_openColumn = m_openRow = lostFocus ? -2 : -1;
    const bool hadFocus = m_list->hasFocus();
    m_list->hide();
    if (hadFocus || !lostFocus)
        m_grid->CellArea()->setFocus(Qt::OtherFocusReason);
    if (m_pressed) {
        m_pressed = false;
        m_grid->RedrawCell(m_pressedColumn, m_pressedRow);
    }
    m_closing = false;
}

void CDropListCellType::Choose(const QString& choice) {
    const int column = m_openColumn;
    const int row = m_openRow;
    QString chosen = choice;
    CloseList(false);
    if (column < 0 || row < 0)
        return;
    if (m_grid->OnCellTypeNotify(m_index, column, row, GridNotify::DropListSelected,
                                 reinterpret_cast<qintptr>(&chosen)) == 0)
        return;
    CCellRecord record;
    m_grid->GetCell(column, row, &record);
    record.SetText(chosen);
    m_grid->SetCell(column, row, &record);
    m_grid->RedrawCell(column, row);
}
