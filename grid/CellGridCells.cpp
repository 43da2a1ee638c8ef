// The cells of CCellGrid: stored and resolved records, the single-property operations,
// joined blocks and the geometry of cells in the cell area.

#include "CellGrid.h"

// --- Records ------------------------------------------------------------------------------

void CCellGrid::ApplyJoin(int column, int row, CCellRecord* record) const {
    // The sheet's blocks are the only record of joins: whatever a source or a default
    // holds is replaced by them.
    record->ClearProperty(CCellRecord::PropJoin);
    CGridBlock b;
    if (!m_sheet->FindBlock(column, row, &b))
        return;
    if (column == b.startColumn && row == b.startRow)
        record->SetJoinInfo(1, b.endRow - b.startRow, b.endColumn - b.startColumn);
    else
        record->SetJoinInfo(0, b.startRow - row, b.startColumn - column);
}

int CCellGrid::GetCell(int column, int row, CCellRecord* record) {
    if (!record)
        return 1;
    record->Clear();
    if (column >= GetColumnCount())
        return 1;
    int dataColumn = column;
    m_sheet->SourceOf(column, row, &dataColumn)->GetCell(dataColumn, row, record);
    ApplyJoin(column, row, record);
    return 0;
}

int CCellGrid::SetCell(int column, int row, CCellRecord* record) {
    if (!record || column >= GetColumnCount())
        return 1;
    OnSetCell(column, row, record);
    int dataColumn = column;
    CCellSource* source = m_sheet->SourceOf(column, row, &dataColumn);
    // Joins are the sheet's (JoinCells): the source stores the rest of the record.
    int isStart = 0, rowOffset = 0, columnOffset = 0;
    const bool joined = record->GetJoinInfo(&isStart, &rowOffset, &columnOffset) == 0;
    if (joined)
        record->ClearProperty(CCellRecord::PropJoin);
    const int rc = source->SetCell(dataColumn, row, record);
    if (joined)
        record->SetJoinInfo(isStart, rowOffset, columnOffset);
    return rc < 0 ? 2 : rc;
}

int CCellGrid::GetResolvedCell(int column, int row, CCellRecord* record) {
    if (!record)
        return 1;
    const bool heading = column < 0 || row < 0 || column >= GetColumnCount();
    record->ReplaceWith(heading ? m_sheet->HeadingDefault() : m_sheet->Column(column).defaultCell);
    if (row >= GetRowCount())
        return 1;
    int dataColumn = column;
    m_sheet->SourceOf(column, row, &dataColumn)->GetCell(dataColumn, row, record);
    ApplyJoin(column, row, record);
    OnGetCell(dataColumn, row, record);
    if (CStyleAdjuster* adjuster = record->GetStyleAdjuster())
        adjuster->Adjust(*record);
    if (const CCellRecord* style = record->GetStyleRecord()) {
        if (style != record)
            record->MergeFrom(*style);
    }
    return 0;
}

int CCellGrid::DeleteCell(int column, int row) {
    if (column >= GetColumnCount())
        return 1;
    int dataColumn = column;
    return m_sheet->SourceOf(column, row, &dataColumn)->DeleteCell(dataColumn, row) < 0 ? 2 : 0;
}

// --- One property -------------------------------------------------------------------------

namespace {
// GetCell into the scratch record, one change, SetCell: the other properties stay.
template <class Change>
int ChangeCell(CCellGrid& grid, CCellRecord& scratch, int column, int row, Change change) {
    if (grid.GetCell(column, row, &scratch) != 0)
        return 1;
    change(scratch);
    return grid.SetCell(column, row, &scratch);
}
} // namespace

int CCellGrid::SetCellText(int column, int row, const QString& text) {
    return ChangeCell(*this, m_scratch, column, row, [&](CCellRecord& r) { r.SetText(text); });
}

int CCellGrid::GetCellText(int column, int row, QString* text) {
    if (!text)
        return 1;
    text->clear();
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.GetText(text);
    return 0;
}

int CCellGrid::SetCellFont(int column, int row, const QFont* font) {
    return ChangeCell(*this, m_scratch, column, row, [&](CCellRecord& r) { r.SetFont(font); });
}

int CCellGrid::SetCellBorder(int column, int row, int style) {
    return ChangeCell(*this, m_scratch, column, row, [&](CCellRecord& r) { r.SetBorder(style); });
}

int CCellGrid::SetCellTypeIndex(int column, int row, int index) {
    return ChangeCell(*this, m_scratch, column, row, [&](CCellRecord& r) { r.SetCellType(index); });
}

int CCellGrid::SetCellTypeStyle(int column, int row, int style) {
    return ChangeCell(*this, m_scratch, column, row,
                      [&](CCellRecord& r) { r.SetCellTypeStyle(style); });
}

// --- Joined blocks ------------------------------------------------------------------------

int CCellGrid::JoinCells(int startColumn, int startRow, int endColumn, int endRow) {
    if (endColumn < startColumn || endRow < startRow)
        return 1;
    if (endColumn >= GetColumnCount() || endRow >= GetRowCount())
        return 1;
    if (startColumn < -GetSideHeadingColumnCount() || startRow < -GetTopHeadingRowCount())
        return 1;
    // Refused as well: a block over another one, or over headings and cells at once.
    return m_sheet->Joins().Join({startColumn, startRow, endColumn, endRow});
}

int CCellGrid::UnjoinCells(int column, int row) {
    if (column >= GetColumnCount())
        return 1;
    return m_sheet->Joins().Unjoin(column, row);
}

int CCellGrid::GetJoinRange(int column, int row, int* startColumn, int* startRow, int* endColumn,
                            int* endRow) {
    CGridBlock b;
    if (!m_sheet->FindBlock(column, row, &b))
        return 1;
    if (startColumn)
        *startColumn = b.startColumn;
    if (startRow)
        *startRow = b.startRow;
    if (endColumn)
        *endColumn = b.endColumn;
    if (endRow)
        *endRow = b.endRow;
    return 0;
}

// --- Geometry -----------------------------------------------------------------------------

int CCellGrid::GetCellRect(int column, int row, QRect* rect) {
    if (!rect)
        return 1;
    *rect = m_sheet->BlockRect(m_sheet->BlockOf(column, row));
    const QRect area(0, 0, m_sheet->Columns().ViewExtent(), m_sheet->Rows().ViewExtent());
    return rect->intersects(area) ? 0 : 1;
}

int CCellGrid::GetCellFromPoint(const QPoint& point, int* column, int* row) {
    const int r = m_sheet->Rows().SlotAt(point.y());
    const int c = r >= 0 ? m_sheet->Columns().SlotAt(point.x()) : -1;
    if (r < 0 || c < 0)
        return 1;
    if (column)
        *column = c;
    if (row)
        *row = r;
    return 0;
}
