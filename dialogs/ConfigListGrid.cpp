#include "ConfigListGrid.h"

#include "DbQuery.h"

namespace {
constexpr GridColor kListBack = GridRGB(255, 255, 225);
} // namespace

CConfigListGrid::CConfigListGrid(std::vector<Column> columns, QWidget* parent)
    : CCellGrid(parent), m_columns(std::move(columns)) {
    // Out of sight until it takes its placeholder's place.
    hide();
}

int CConfigListGrid::Attach(QWidget* dialog, int id) {
    if (dialog)
        m_font = dialog->font();
    return AttachToDialogItem(dialog, id);
}

void CConfigListGrid::OnGridSetup() {
    CCellRecord def;
    GetGridDefault(&def);
    def.SetAlignment(GridAlign::VCenter);
    def.SetFont(&m_font);
    def.SetBackColor(kListBack);
    SetGridDefault(&def);

    const int count = static_cast<int>(m_columns.size());
    SetColumnCount(count, 1);
    SetRowCount(0, 1);
    SetSideHeadingWidth(0);
    SetRowHighlight(1);
    SetSelectionHighlight(2);
    SetVScrollMode(1);
    SetHScrollMode(1);

    const int width = contentsRect().width();
    for (int c = 0; c < count; ++c) {
        const Column& column = m_columns[static_cast<size_t>(c)];
        SetCellText(c, -1, column.heading);
        SetColumnWidth(c, static_cast<int>(width * column.fraction));
        CCellRecord heading;
        GetCell(c, -1, &heading);
        heading.SetAlignment(GridAlign::HCenter);
        heading.SetFont(&m_font);
        SetCell(c, -1, &heading);
    }
    SetUniformRowHeight(1);
}

GridColor CConfigListGrid::OnGetDefaultBackColor(int section) {
    if (section == GridSection::CellArea)
        return kListBack;
    return CCellGrid::OnGetDefaultBackColor(section);
}

void CConfigListGrid::Clear() {
    for (int rows = GetRowCount(); rows > 0; --rows)
        DeleteRow(0);
}

void CConfigListGrid::Fill(const QString& sql, const RowReader& read) {
    EnableRedraw(0);
    Clear();
    {
        CDbQuery query;
        CDbRecordset record = query.Open(sql);
        while (record.IsOpen() && !record.IsEOF()) {
            int key = 0;
            QStringList texts;
            read(record, key, texts);
            if (AppendRow() == 0)
                SetRow(GetRowCount() - 1, key, texts);
            if (!record.MoveNext())
                break;
        }
    }
    EnableRedraw(1);
    RedrawAll();
}

void CConfigListGrid::SetRow(int row, int key, const QStringList& texts) {
    for (int c = 0; c < GetColumnCount(); ++c)
        SetCellText(c, row, c < texts.size() ? texts.at(c) : QString());
    CCellRecord first;
    GetCell(0, row, &first);
    first.SetItemData(key);
    SetCell(0, row, &first);
}

int CConfigListGrid::AddRecordRow(int key, const QStringList& texts) {
    if (AppendRow() != 0)
        return -1;
    const int row = GetRowCount() - 1;
    SetRow(row, key, texts);
    RedrawRow(row);
    return row;
}

void CConfigListGrid::WriteRow(int row, int key, const QStringList& texts) {
    if (row < 0 || row >= GetRowCount())
        return;
    SetRow(row, key, texts);
    RedrawRow(row);
}

void CConfigListGrid::RemoveCurrentRow() {
    const int row = GetCurrentRow();
    if (row >= 0 && row < GetRowCount())
        DeleteRow(row);
}

int CConfigListGrid::RowKey(int row) {
    if (row < 0 || row >= GetRowCount())
        return 0;
    CCellRecord record;
    GetCell(0, row, &record);
    return record.GetItemData();
}

int CConfigListGrid::CurrentKey() {
    return RowKey(GetCurrentRow());
}

QString CConfigListGrid::RowText(int row, int column) {
    QString text;
    if (row >= 0 && row < GetRowCount())
        GetCellText(column, row, &text);
    return text;
}

int CConfigListGrid::FindText(const QString& text, int column) {
    for (int row = 0; row < GetRowCount(); ++row) {
        if (RowText(row, column).compare(text, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}
