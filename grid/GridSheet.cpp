#include "GridSheet.h"

#include "MemoryCellSource.h"

#include <QApplication>
#include <QStyle>

CGridSheet::CGridSheet()
    : gridLinePen(QColor(ToQColor(kGridLineColor)), 1, Qt::SolidLine),
      source(std::make_unique<CMemoryCellSource>()) {
    gridLinePen.setCosmetic(true);
    headingDefault.SetBackColor(GetGridSysColor(GridSysColor::ButtonFace));
    headingDefault.SetBorder(GridBorder::Raised);
    headingDefault.SetAlignment(GridAlign::HCenter | GridAlign::VCenter);
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const int extent = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (extent > 0)
            vScrollWidth = hScrollHeight = extent;
    }
}

int CGridSheet::RowHeight(int row) const {
    if (row < 0) {
        const int index = -row - 1;
        return index < TopHeadingRows() ? topHeadingHeights[static_cast<size_t>(index)] : 0;
    }
    if (uniformRowHeight || row >= static_cast<int>(rowHeights.size()))
        return defaultRowHeight;
    return rowHeights[static_cast<size_t>(row)];
}

int CGridSheet::ColumnWidth(int column) const {
    if (column < 0) {
        const int index = -column - 1;
        return index < SideHeadingColumns() ? sideHeadingWidths[static_cast<size_t>(index)] : 0;
    }
    if (column >= columnCount)
        return 0;
    return columns[static_cast<size_t>(column)].width;
}

void CGridSheet::RecalcLocked() {
    lockedWidth = 0;
    for (int c = 0; c < lockedColumns && c < columnCount; ++c)
        lockedWidth += columns[static_cast<size_t>(c)].width;
    lockedHeight = 0;
    for (int r = 0; r < lockedRows && r < rowCount; ++r)
        lockedHeight += RowHeight(r);
}
