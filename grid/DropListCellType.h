#pragma once
// The drop-list cell type (index 1): the text plus a button on the right that opens a list
// of choices (the label string, each choice ending with a line feed).

#include "CellTypeHandler.h"

#include <QListWidget>
#include <QPointer>
#include <QStringList>

class CDropListBox;

class CDropListCellType : public CCellTypeHandler {
public:
    CDropListCellType();
    ~CDropListCellType() override;
    QString GetName() const override;
    GridTypeId GetTypeId() const override;
    int OnClick(int column, int row, int buttonDown, const QRect& rect,
                const QPoint& point) override;
    int OnDoubleClick(int column, int row, const QRect& rect, const QPoint& point) override;
    int OnKeyDown(int column, int row, int* key) override;
    int OnCharDown(int column, int row, int* key) override;
    int OnMouseMove(int column, int row, const QPoint& point, int keyFlags) override;
    void OnDraw(QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record,
                int selected, int current) override;
    void OnKillFocus(int column, int row, const CCellRecord& record) override;

    // Style bit: the button shows only on the current cell.
    enum : int { StyleButtonOnCurrent = 0x200 };

    // The choices of a label string: every piece that ends with a line feed.
    static QStringList SplitChoices(const QString& label);
    // The button inside a cell rectangle.
    static QRect ButtonRect(const QRect& cell);
    // The open list, or nullptr (for tests).
    QListWidget* ListBox() const;
    int OpenColumn() const { return m_openColumn; }
    int OpenRow() const { return m_openRow; }

private:
    friend class CDropListBox;
    void OpenList();
    void CloseList(bool lostFocus);
    void Choose(const QString& choice);

    QPointer<CDropListBox> m_list;
    // The cell whose list is open: -1 when none, -2 right after it closed by losing focus.
    int m_openColumn = -1;
    int m_openRow = -1;
    int m_closedColumn = -1;
    int m_closedRow = -1;
    bool m_pressed = false;
    int m_pressedColumn = -1;
    int m_pressedRow = -1;
    bool m_swallowChar = false;
    bool m_closing = false;
};
