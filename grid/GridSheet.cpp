#include "GridSheet.h"

#include "MemoryCellSource.h"

#include <QApplication>
#include <QStyle>

CGridSheet::CGridSheet() : m_source(std::make_unique<CMemoryCellSource>()) {
    m_options.gridLinePen = QPen(QColor(ToQColor(kGridLineColor)), 1, Qt::SolidLine);
    m_options.gridLinePen.setCosmetic(true);
    m_headingDefault.SetBackColor(GetGridSysColor(GridSysColor::ButtonFace));
    m_headingDefault.SetBorder(GridBorder::Raised);
    m_headingDefault.SetAlignment(GridAlign::HCenter | GridAlign::VCenter);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const int extent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (extent > 0)
            m_options.vScrollWidth = m_options.hScrollHeight = extent;
    }
}

CCellSource* CGridSheet::SourceOf(int column, int row, int* dataColumn) const {
    if (row >= 0 && column >= 0 && column < ColumnCount()) {
        const CGridColumn& entry = Column(column);
        *dataColumn = entry.dataColumn;
        return entry.source ? entry.source : m_source.get();
    }
    *dataColumn = column;
    return m_source.get();
}

bool CGridSheet::FindBlock(int column, int row, CGridBlock* block) const {
    return column < ColumnCount() && m_joins.Find(column, row, block);
}

CGridBlock CGridSheet::BlockOf(int column, int row) const {
    CGridBlock block{column, row, column, row};
    FindBlock(column, row, &block);
    return block;
}

QRect CGridSheet::BlockRect(const CGridBlock& b) const {
    return QRect(m_columns.Position(b.startColumn), m_rows.Position(b.startRow),
                 static_cast<int>(m_columns.SpanSize(b.startColumn, b.endColumn)),
                 static_cast<int>(m_rows.SpanSize(b.startRow, b.endRow)));
}

void CGridSheet::SetColumnCount(int count) {
    const int old = static_cast<int>(m_table.size());
    m_table.resize(static_cast<size_t>(count));
    for (int c = old; c < count; ++c) {
        CGridColumn& entry = m_table[static_cast<size_t>(c)];
        entry.source = m_source.get();
        entry.defaultCell.ReplaceWith(m_gridDefault);
        entry.dataColumn = c;
    }
    m_columns.SetCount(count);
}

void CGridSheet::SetRowCount(int count) {
    if (count > 64000 && !m_rows.Uniform())
        m_rows.SetUniform(true);
    m_rows.SetCount(count);
}

void CGridSheet::InsertRow(int row) {
    m_rows.InsertSize(row);
    SetRowCount(RowCount() + 1);
    m_joins.InsertRow(row);
}

void CGridSheet::DeleteRow(int row) {
    m_rows.EraseSize(row);
    m_joins.DeleteRow(row);
    // The last row gone, cells stored beyond the rows (written ahead of rows that were
    // never appended) go too, so they cannot reappear in the rows of the next fill.
    if (RowCount() == 1) {
        m_source->DeleteRowsFrom(0);
        m_joins.DeleteRowsFrom(0);
    }
    m_rows.SetCount(RowCount() - 1);
}

void CGridSheet::SetColumnDefault(int column, const CCellRecord& record) {
    m_table[static_cast<size_t>(column)].defaultCell.ReplaceWith(record);
}

void CGridSheet::SetSource(std::unique_ptr<CCellSource> source) {
    CCellSource* old = m_source.get();
    for (CGridColumn& entry : m_table) {
        if (entry.source == old || entry.source == nullptr)
            entry.source = source.get();
    }
    m_source = std::move(source);
}

void CGridSheet::SetLayout(const CGridLayout& layout) {
    m_layout = layout;
    m_columns.SetViewExtent(layout.cellArea.width());
    m_rows.SetViewExtent(layout.cellArea.height());
}
