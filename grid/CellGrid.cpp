// Set-up, the cell model operations and the default hooks of CCellGrid.

#include "CellGrid.h"

#include "ArrowCellType.h"
#include "CheckBoxCellType.h"
#include "DropListCellType.h"
#include "GridComponents.h"
#include "TextCellType.h"

#include <QApplication>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QVariant>
#include <cmath>
#include <new>

CCellGrid::CCellGrid(QWidget* parent)
    : QWidget(parent), m_whitePen(QColor(Qt::white), 1),
      m_shadowPen(ToQColor(GetGridSysColor(GridSysColor::ButtonShadow)), 1) {
    m_sheets.push_back(std::make_unique<CGridSheet>());
    m_sheet = m_sheets.front().get();

    // The four built-in cell types, in the order that fixes their indices.
    AddCellType(std::make_unique<CTextCellType>());
    AddCellType(std::make_unique<CDropListCellType>());
    AddCellType(std::make_unique<CCheckBoxCellType>());
    AddCellType(std::make_unique<CArrowCellType>());

    setContentsMargins(1, 1, 1, 1);
    setFocusPolicy(Qt::StrongFocus);
    CreateComponents();
}

CCellGrid::~CCellGrid() {
    // Teardown order matters: the component windows read the sheets, the source and the
    // cell types, and QWidget's own destructor would only take them down after those are
    // gone (and after clearFocus() has sent them a focus-out). So: no hook from here on,
    // let go of the keyboard focus while every part still exists, drop the cell types
    // (they may own child widgets of the cell area), then delete the component windows.
    // Only then are the data members freed.
    m_tearingDown = true;
    if (QWidget* focus = QApplication::focusWidget(); focus && (focus == this || isAncestorOf(focus)))
        focus->clearFocus();
    setFocusProxy(nullptr);
    m_types.clear();
    const QList<QWidget*> children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        delete child;
    m_cellArea = nullptr;
    m_topHeading = nullptr;
    m_sideHeading = nullptr;
    m_corner = nullptr;
    m_tabs = nullptr;
    m_vScroll = nullptr;
    m_hScroll = nullptr;
    m_hint = nullptr;
    m_trackingWindow = nullptr;
}

void CCellGrid::CreateComponents() {
    try {
        m_cellArea = new CGridCellArea(this, this);
        m_topHeading = new CGridTopHeading(this, this);
        m_sideHeading = new CGridSideHeading(this, this);
        m_corner = new CGridCorner(this, this);
        m_tabs = new CGridTabStrip(this);
        m_vScroll = new CGridScrollBar(this, Qt::Vertical, this);
        m_hScroll = new CGridScrollBar(this, Qt::Horizontal, this);
        m_hint = new CGridHintWnd(this);
    } catch (const std::bad_alloc&) {
        m_failed = true;
        return;
    }
    setFocusProxy(m_cellArea);
    m_tabs->hide();
    m_hint->hide();
}

void CCellGrid::FinishSetup() {
    show();
    AdjustComponentSizes();
    OnGridSetup();
    OnSheetSetup(0);
    AdjustComponentSizes();
}

int CCellGrid::AttachToDialogItem(QWidget* dialog, int id) {
    if (dialog == nullptr)
        return 1;
    QWidget* placeholder = nullptr;
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (w == this || isAncestorOf(w))
            continue;
        const QVariant v = w->property("dlgId");
        if (v.isValid() && v.toInt() == id) {
            placeholder = w;
            break;
        }
    }
    const QString name = QStringLiteral("id%1").arg(id);
    if (placeholder == nullptr) {
        for (QWidget* w : children) {
            if (w != this && !isAncestorOf(w) && w->objectName() == name) {
                placeholder = w;
                break;
            }
        }
    }
    if (placeholder == nullptr)
        return 1;
    if (m_failed)
        return 2;

    QWidget* parent = placeholder->parentWidget();
    const QRect geometry = placeholder->geometry();
    setParent(parent);
    setGeometry(geometry);
    if (parent && parent->layout()) {
        QLayoutItem* old = parent->layout()->replaceWidget(placeholder, this);
        delete old;
    }
    // Keep the place of the control in the tab order.
    if (placeholder->window() == window())
        QWidget::setTabOrder(placeholder, this);
    placeholder->hide();
    placeholder->setProperty("dlgId", QVariant());
    placeholder->setObjectName(QString());
    placeholder->deleteLater();

    setProperty("dlgId", id);
    setObjectName(name);
    FinishSetup();
    return 0;
}

int CCellGrid::CreateGrid(QWidget* parent, const QRect& rect, int id) {
    if (m_failed)
        return 2;
    setParent(parent);
    setGeometry(rect);
    setProperty("dlgId", id);
    setObjectName(QStringLiteral("id%1").arg(id));
    FinishSetup();
    return 0;
}

// --- Defaults ----------------------------------------------------------------------------

int CCellGrid::GetGridDefault(CCellRecord* record) const {
    if (!record)
        return 1;
    record->ReplaceWith(m_sheet->gridDefault);
    return 0;
}

int CCellGrid::SetGridDefault(const CCellRecord* record) {
    if (!record)
        return 1;
    m_sheet->gridDefault.ReplaceWith(*record);
    return 0;
}

int CCellGrid::GetHeadingDefault(CCellRecord* record) const {
    if (!record)
        return 1;
    record->ReplaceWith(m_sheet->headingDefault);
    return 0;
}

int CCellGrid::SetHeadingDefault(const CCellRecord* record) {
    if (!record)
        return 1;
    m_sheet->headingDefault.ReplaceWith(*record);
    return 0;
}

int CCellGrid::GetColumnDefault(int column, CCellRecord* record) const {
    if (!record || column < 0 || column >= m_sheet->columnCount)
        return 1;
    record->ReplaceWith(m_sheet->columns[static_cast<size_t>(column)].defaultCell);
    return 0;
}

int CCellGrid::SetColumnDefault(int column, const CCellRecord* record) {
    if (!record || column < 0 || column >= m_sheet->columnCount)
        return 1;
    m_sheet->columns[static_cast<size_t>(column)].defaultCell.ReplaceWith(*record);
    return 0;
}

// --- Columns and rows --------------------------------------------------------------------

int CCellGrid::SetColumnCount(int count, int redraw) {
    CGridSheet& s = *m_sheet;
    if (count < 0 || count > 32000)
        return 1;
    if (s.lockedColumns >= count)
        s.lockedColumns = count > 0 ? count - 1 : 0;
    const int old = s.columnCount;
    s.columns.resize(static_cast<size_t>(count));
    for (int c = old; c < count; ++c) {
        CGridColumn& col = s.columns[static_cast<size_t>(c)];
        col.width = s.defaultColumnWidth;
        col.source = s.source.get();
        col.defaultCell.ReplaceWith(s.gridDefault);
        col.dataColumn = c;
    }
    s.columnCount = count;
    s.RecalcLocked();
    if (s.currentColumn >= count) {
        s.currentColumn = s.previousColumn = count - 1;
        s.targetColumn = count - 1;
    }
    if (s.currentColumn < 0 && count > 0)
        s.currentColumn = s.previousColumn = s.targetColumn = 0;
    if (s.leftColumn < s.lockedColumns)
        s.leftColumn = s.previousLeftColumn = s.lockedColumns;
    AdjustComponentSizes();
    if (redraw)
        RedrawAll();
    return 0;
}

int CCellGrid::SetRowCount(int count, int redraw) {
    CGridSheet& s = *m_sheet;
    if (count < 0)
        return 1;
    if (s.lockedRows >= count)
        s.lockedRows = count > 0 ? count - 1 : 0;
    if (count > 64000 && !s.uniformRowHeight) {
        s.uniformRowHeight = 1;
        s.rowHeights.clear();
        s.rowHeights.shrink_to_fit();
    }
    if (!s.uniformRowHeight)
        s.rowHeights.resize(static_cast<size_t>(count), s.defaultRowHeight);
    s.rowCount = count;
    s.RecalcLocked();
    if (s.currentRow >= count) {
        s.currentRow = s.previousRow = count - 1;
        s.targetRow = count - 1;
    }
    if (s.currentRow < 0 && count > 0)
        s.currentRow = s.previousRow = s.targetRow = 0;
    if (s.topRow < s.lockedRows)
        s.topRow = s.previousTopRow = s.lockedRows;
    AdjustComponentSizes();
    if (redraw)
        RedrawAll();
    return 0;
}

int CCellGrid::SetColumnWidth(int column, int width) {
    CGridSheet& s = *m_sheet;
    if (column >= 0 && column < s.columnCount) {
        s.columns[static_cast<size_t>(column)].width = width < 0 ? 0 : width;
        s.RecalcLocked();
        AdjustComponentSizes();
        RedrawAll();
        return 0;
    }
    if (column < 0 && -column <= s.SideHeadingColumns()) {
        if (width >= 0 && width <= 1024) {
            s.sideHeadingWidths[static_cast<size_t>(-column - 1)] = width;
            if (s.SideHeadingColumns() == 1) {
                s.sideHeadingWidth = width;
                AdjustComponentSizes();
            }
            if (m_sideHeading)
                m_sideHeading->update();
        }
        return 1;
    }
    return 1;
}

int CCellGrid::GetColumnWidth(int column) const {
    const CGridSheet& s = *m_sheet;
    if (column >= 0 && column < s.columnCount)
        return s.columns[static_cast<size_t>(column)].width;
    if (column < 0 && -column <= s.SideHeadingColumns())
        return s.sideHeadingWidths[static_cast<size_t>(-column - 1)];
    return 1;
}

int CCellGrid::GetColumnWidth(int column, int* width) const {
    const CGridSheet& s = *m_sheet;
    const bool valid = (column >= 0 && column < s.columnCount) ||
                       (column < 0 && -column <= s.SideHeadingColumns());
    if (!valid || !width)
        return 1;
    *width = GetColumnWidth(column);
    return 0;
}

int CCellGrid::SetDefaultColumnWidth(int width) {
    if (width < 0 || width > 1024)
        return 1;
    m_sheet->defaultColumnWidth = width;
    return 0;
}

int CCellGrid::SetDefaultRowHeight(int height) {
    if (height < 1 || height > 1024)
        return 1;
    m_sheet->defaultRowHeight = height;
    if (m_sheet->uniformRowHeight) {
        m_sheet->RecalcLocked();
        AdjustComponentSizes();
        RedrawAll();
    }
    return 0;
}

int CCellGrid::SetUniformRowHeight(int flag) {
    CGridSheet& s = *m_sheet;
    if (flag) {
        s.uniformRowHeight = 1;
        s.rowHeights.clear();
        s.rowHeights.shrink_to_fit();
    } else {
        if (s.uniformRowHeight || s.rowHeights.size() != static_cast<size_t>(s.rowCount))
            s.rowHeights.assign(static_cast<size_t>(s.rowCount), s.defaultRowHeight);
        s.uniformRowHeight = 0;
    }
    s.RecalcLocked();
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetRowHeight(int row, int height) {
    CGridSheet& s = *m_sheet;
    if (row < 0)
        return SetTopHeadingRowHeight(row, height);
    if (row >= s.rowCount)
        return 1;
    if (height < 0 || height > 1024)
        return 2;
    if (s.uniformRowHeight) {
        if (height < 1)
            return 2;
        s.defaultRowHeight = height;
    } else {
        s.rowHeights[static_cast<size_t>(row)] = height;
    }
    s.RecalcLocked();
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::GetRowHeight(int row) const {
    const CGridSheet& s = *m_sheet;
    if (row >= s.rowCount)
        return 0;
    if (row < 0 && -row > s.TopHeadingRows())
        return 0;
    return s.RowHeight(row);
}

int CCellGrid::AppendRow() {
    const int rc = m_sheet->source->AppendRow();
    if (rc == 0)
        SetRowCount(m_sheet->rowCount + 1, 1);
    return rc;
}

int CCellGrid::InsertRow(int row) {
    CGridSheet& s = *m_sheet;
    if (row < 0 || row > s.rowCount)
        return 1;
    const int rc = s.source->InsertRow(row);
    if (rc == 0) {
        if (!s.uniformRowHeight && row <= static_cast<int>(s.rowHeights.size()))
            s.rowHeights.insert(s.rowHeights.begin() + row, s.defaultRowHeight);
        SetRowCount(s.rowCount + 1, 1);
    }
    return rc;
}

int CCellGrid::DeleteRow(int row) {
    CGridSheet& s = *m_sheet;
    if (row < 0 || row >= s.rowCount)
        return 1;
    const int rc = s.source->DeleteRow(row);
    if (rc == 0) {
        if (!s.uniformRowHeight && row < static_cast<int>(s.rowHeights.size()))
            s.rowHeights.erase(s.rowHeights.begin() + row);
        // The last row gone, cells stored beyond the rows (written ahead of rows that were
        // never appended) go too, so they cannot reappear in the rows of the next fill.
        if (s.rowCount == 1)
            s.source->DeleteRowsFrom(0);
        SetRowCount(s.rowCount - 1, 1);
    }
    return rc;
}

int CCellGrid::LockColumns(int count) {
    CGridSheet& s = *m_sheet;
    if (count < 0 || (count > 0 && count >= s.columnCount))
        return 1;
    s.lockedColumns = count;
    s.RecalcLocked();
    if (s.leftColumn < count)
        s.leftColumn = s.previousLeftColumn = count;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::LockRows(int count) {
    CGridSheet& s = *m_sheet;
    if (count < 0 || (count > 0 && count >= s.rowCount))
        return 1;
    s.lockedRows = count;
    s.RecalcLocked();
    if (s.topRow < count)
        s.topRow = s.previousTopRow = count;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::JoinCells(int startColumn, int startRow, int endColumn, int endRow) {
    const CGridSheet& s = *m_sheet;
    if (endColumn < startColumn || endRow < startRow)
        return 1;
    if (endColumn >= s.columnCount || endRow >= s.rowCount)
        return 1;
    if (startColumn < -s.SideHeadingColumns() || startRow < -s.TopHeadingRows())
        return 1;
    CCellRecord record;
    for (int r = startRow; r <= endRow; ++r) {
        for (int c = startColumn; c <= endColumn; ++c) {
            GetCell(c, r, &record);
            record.SetJoinInfo(0, startRow - r, startColumn - c);
            SetCell(c, r, &record);
        }
    }
    GetCell(startColumn, startRow, &record);
    record.SetJoinInfo(1, endRow - startRow, endColumn - startColumn);
    SetCell(startColumn, startRow, &record);
    return 0;
}

int CCellGrid::GetJoinRange(int column, int row, int* startColumn, int* startRow, int* endColumn,
                            int* endRow) {
    CCellRecord record;
    GetCell(column, row, &record);
    int isStart = 0, rowOffset = 0, columnOffset = 0;
    if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) != 0)
        return 1;
    int sc = column, sr = row;
    if (!isStart) {
        sc = column + columnOffset;
        sr = row + rowOffset;
        GetCell(sc, sr, &record);
        if (record.GetJoinInfo(&isStart, &rowOffset, &columnOffset) != 0 || !isStart)
            return 1;
    }
    if (startColumn)
        *startColumn = sc;
    if (startRow)
        *startRow = sr;
    if (endColumn)
        *endColumn = sc + columnOffset;
    if (endRow)
        *endRow = sr + rowOffset;
    return 0;
}

int CCellGrid::UnjoinCells(int column, int row) {
    int sc, sr, ec, er;
    if (GetJoinRange(column, row, &sc, &sr, &ec, &er) != 0)
        return 1;
    CCellRecord record;
    for (int r = sr; r <= er; ++r) {
        for (int c = sc; c <= ec; ++c) {
            GetCell(c, r, &record);
            record.ClearProperty(CCellRecord::PropJoin);
            SetCell(c, r, &record);
        }
    }
    return 0;
}

// --- Cells -------------------------------------------------------------------------------

CCellSource* CCellGrid::SourceOf(int column, int* dataColumn) const {
    const CGridSheet& s = *m_sheet;
    if (column >= 0 && column < s.columnCount) {
        const CGridColumn& col = s.columns[static_cast<size_t>(column)];
        *dataColumn = col.dataColumn;
        return col.source ? col.source : s.source.get();
    }
    *dataColumn = column;
    return s.source.get();
}

int CCellGrid::GetCell(int column, int row, CCellRecord* record) {
    if (!record)
        return 1;
    record->Clear();
    if (column >= m_sheet->columnCount)
        return 1;
    int dataColumn = column;
    CCellSource* source = row < 0 ? m_sheet->source.get() : SourceOf(column, &dataColumn);
    source->GetCell(dataColumn, row, record);
    return 0;
}

int CCellGrid::SetCell(int column, int row, CCellRecord* record) {
    if (!record || column >= m_sheet->columnCount)
        return 1;
    OnSetCell(column, row, record);
    int dataColumn = column;
    CCellSource* source = row < 0 ? m_sheet->source.get() : SourceOf(column, &dataColumn);
    const int rc = source->SetCell(dataColumn, row, record);
    return rc < 0 ? 2 : rc;
}

int CCellGrid::GetResolvedCell(int column, int row, CCellRecord* record) {
    if (!record)
        return 1;
    const CGridSheet& s = *m_sheet;
    const bool heading = column < 0 || row < 0 || column >= s.columnCount;
    if (heading)
        record->ReplaceWith(s.headingDefault);
    else
        record->ReplaceWith(s.columns[static_cast<size_t>(column)].defaultCell);
    if (row >= s.rowCount)
        return 1;
    int dataColumn = column;
    CCellSource* source = heading ? s.source.get() : SourceOf(column, &dataColumn);
    source->GetCell(dataColumn, row, record);
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
    if (column >= m_sheet->columnCount)
        return 1;
    int dataColumn = column;
    CCellSource* source = row < 0 ? m_sheet->source.get() : SourceOf(column, &dataColumn);
    return source->DeleteCell(dataColumn, row) < 0 ? 2 : 0;
}

int CCellGrid::SetCellText(int column, int row, const QString& text) {
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.SetText(text);
    return SetCell(column, row, &m_scratch);
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
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.SetFont(font);
    return SetCell(column, row, &m_scratch);
}

int CCellGrid::SetCellBorder(int column, int row, int style) {
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.SetBorder(style);
    return SetCell(column, row, &m_scratch);
}

int CCellGrid::SetCellTypeIndex(int column, int row, int index) {
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.SetCellType(index);
    return SetCell(column, row, &m_scratch);
}

int CCellGrid::SetCellTypeStyle(int column, int row, int style) {
    if (GetCell(column, row, &m_scratch) != 0)
        return 1;
    m_scratch.SetCellTypeStyle(style);
    return SetCell(column, row, &m_scratch);
}

// --- Headings and component sizes --------------------------------------------------------

void CCellGrid::RescaleHeadings(std::vector<int>& sizes, int oldTotal, int newTotal) {
    for (int& size : sizes) {
        if (oldTotal <= 0)
            size = 0;
        else
            size =
                static_cast<int>(std::floor(static_cast<double>(newTotal) / oldTotal * size + 0.5));
    }
}

int CCellGrid::SetTopHeadingHeight(int height) {
    CGridSheet& s = *m_sheet;
    if (height < 0 || height > 1024)
        return 1;
    int total = 0;
    for (int h : s.topHeadingHeights)
        total += h;
    RescaleHeadings(s.topHeadingHeights, total, height);
    s.topHeadingHeight = height;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetSideHeadingWidth(int width) {
    CGridSheet& s = *m_sheet;
    if (width < 0 || width > 1024)
        return 1;
    int total = 0;
    for (int w : s.sideHeadingWidths)
        total += w;
    RescaleHeadings(s.sideHeadingWidths, total, width);
    s.sideHeadingWidth = width;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetTopHeadingRowCount(int count) {
    CGridSheet& s = *m_sheet;
    if (count < 1 || count > 64)
        return 1;
    s.topHeadingHeights.resize(static_cast<size_t>(count), s.defaultRowHeight);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetTopHeadingRowHeight(int row, int height) {
    CGridSheet& s = *m_sheet;
    if (row >= 0 || -row > s.TopHeadingRows())
        return 1;
    if (height < 0 || height > 1024)
        return 2;
    s.topHeadingHeights[static_cast<size_t>(-row - 1)] = height;
    if (m_topHeading)
        m_topHeading->update();
    return 0;
}

int CCellGrid::SetSideHeadingColumnCount(int count) {
    CGridSheet& s = *m_sheet;
    if (count < 1 || count > 64)
        return 1;
    s.sideHeadingWidths.resize(static_cast<size_t>(count), s.defaultColumnWidth);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetVScrollWidth(int width) {
    if (width < 0 || width > 1024)
        return 1;
    m_sheet->vScrollWidth = width;
    AdjustComponentSizes();
    return 0;
}

int CCellGrid::SetHScrollHeight(int height) {
    if (height < 0 || height > 1024)
        return 1;
    m_sheet->hScrollHeight = height;
    AdjustComponentSizes();
    return 0;
}

// --- Options -----------------------------------------------------------------------------

int CCellGrid::SetSelectionHighlight(int mode) {
    if (mode < 0 || mode > 3)
        return 1;
    m_sheet->selectionHighlight = mode;
    return 0;
}

int CCellGrid::SetRowHighlight(int flag) {
    m_sheet->rowHighlight = flag ? 1 : 0;
    if (m_cellArea)
        m_cellArea->update();
    return 0;
}

int CCellGrid::SetVScrollMode(int mode) {
    if (mode < 0 || mode > 1)
        return 1;
    m_sheet->vScrollMode = mode;
    return 0;
}

int CCellGrid::SetHScrollMode(int mode) {
    if (mode < 0 || mode > 1)
        return 1;
    m_sheet->hScrollMode = mode;
    return 0;
}

int CCellGrid::EnableRedraw(int flag) {
    m_redrawEnabled = flag ? 1 : 0;
    return 0;
}

int CCellGrid::SetDrawGridLines(int flag) {
    m_sheet->drawGridLines = flag ? 1 : 0;
    RedrawAll();
    return 0;
}

int CCellGrid::SetGridLinePen(const QPen& pen) {
    m_sheet->gridLinePen = pen;
    RedrawAll();
    return 0;
}

int CCellGrid::SetTextMargin(int margin) {
    if (margin < 0 || margin > 1024)
        return 1;
    m_sheet->textMargin = margin;
    return 0;
}

int CCellGrid::SetDefaultFont(const QFont* font) {
    m_sheet->defaultFont = font;
    return 0;
}

int CCellGrid::SetJoinFollow(int flag) {
    m_sheet->joinFollow = flag ? 1 : 0;
    return 0;
}

int CCellGrid::SetTextOverflow(int flag) {
    m_sheet->allowOverflow = flag ? 1 : 0;
    return 0;
}

int CCellGrid::UseHints(int flag) {
    m_useHints = flag ? 1 : 0;
    return 0;
}

int CCellGrid::UseScrollHints(int flag) {
    m_useScrollHints = flag ? 1 : 0;
    return 0;
}

void CCellGrid::SetTrackingWindow(QWidget* window) {
    m_trackingWindow = window;
    MoveTrackingWindow();
}

// --- Printing options --------------------------------------------------------------------

int CCellGrid::SetPrintOption(int option, int value) {
    m_printOptions.Set(option, value);
    return 0;
}

int CCellGrid::GetPrintOption(int option, int* value) const {
    return m_printOptions.Get(option, value);
}

// --- Cell types and source ---------------------------------------------------------------

int CCellGrid::AddCellType(std::unique_ptr<CCellTypeHandler> type) {
    if (!type)
        return -1;
    size_t slot = 0;
    while (slot < m_types.size() && m_types[slot].inUse)
        ++slot;
    if (slot == m_types.size())
        m_types.resize(m_types.size() + 10);
    TypeSlot& entry = m_types[slot];
    entry.inUse = true;
    entry.type = std::move(type);
    entry.data = 0;
    entry.type->Attach(this, static_cast<int>(slot));
    return static_cast<int>(slot);
}

int CCellGrid::RemoveCellType(int index) {
    // The built-in types stay: cells refer to them by index.
    if (index < 4 || index >= static_cast<int>(m_types.size()) ||
        !m_types[static_cast<size_t>(index)].inUse)
        return 1;
    TypeSlot& entry = m_types[static_cast<size_t>(index)];
    entry.inUse = false;
    entry.type.reset();
    return 0;
}

CCellTypeHandler* CCellGrid::GetCellType(int index) const {
    if (index > 0 && index < static_cast<int>(m_types.size()) &&
        m_types[static_cast<size_t>(index)].inUse)
        return m_types[static_cast<size_t>(index)].type.get();
    return m_types.front().type.get();
}

int CCellGrid::SetDataSource(std::unique_ptr<CCellSource> source) {
    if (!source)
        return 1;
    CGridSheet& s = *m_sheet;
    CCellSource* old = s.source.get();
    for (CGridColumn& col : s.columns) {
        if (col.source == old || col.source == nullptr)
            col.source = source.get();
    }
    s.source = std::move(source);
    RedrawAll();
    return 0;
}

// --- Window events -----------------------------------------------------------------------

void CCellGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A new window size always repaints: redraw comes back on by itself.
    m_redrawEnabled = 1;
    AdjustComponentSizes();
}

void CCellGrid::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    // What the components leave uncovered (the square between the two scroll bars).
    dc.fillRect(contentsRect(), ToQColor(GetGridSysColor(GridSysColor::ButtonFace)));
    dc.setPen(ToQColor(GetGridSysColor(GridSysColor::ButtonShadow)));
    dc.setBrush(Qt::NoBrush);
    dc.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- Default hooks -----------------------------------------------------------------------

void CCellGrid::OnSetFocus(int) {}
void CCellGrid::OnGridSetup() {}
void CCellGrid::OnSheetSetup(int) {}
int CCellGrid::OnCanMove(int, int, int, int) {
    return 1;
}
int CCellGrid::OnCanViewMove(int, int, int, int) {
    return 1;
}
void CCellGrid::OnHitBottom(int, int, int*) {}
void CCellGrid::OnReserved1() {}
int CCellGrid::OnCanSizeColumn(int) {
    return 1;
}
void CCellGrid::OnColumnSizing(int, int*) {}
void CCellGrid::OnColumnSized(int, int*) {}
int CCellGrid::OnCanSizeRow(int) {
    return 1;
}
void CCellGrid::OnRowSizing(int, int*) {}
void CCellGrid::OnRowSized(int, int*) {}
int CCellGrid::OnCanSizeTopHeading() {
    return 1;
}
int CCellGrid::OnCanSizeSideHeading() {
    return 1;
}
void CCellGrid::OnTopHeadingSizing(int*) {}
void CCellGrid::OnSideHeadingSizing(int*) {}
void CCellGrid::OnTopHeadingSized(int*) {}
void CCellGrid::OnSideHeadingSized(int*) {}
void CCellGrid::OnColumnChange(int, int) {}
void CCellGrid::OnRowChange(int, int) {}
void CCellGrid::OnCellChange(int, int, int, int) {}
void CCellGrid::OnLeftColumnChange(int, int) {}
void CCellGrid::OnTopRowChange(int, int) {}
void CCellGrid::OnCellClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCellRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCellDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnMouseMoveOverCell(int, int, const QPoint&, int) {}
void CCellGrid::OnTopHeadingClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnTopHeadingRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnTopHeadingDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingRightClick(int, int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnSideHeadingDoubleClick(int, int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerClick(int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerRightClick(int, const QRect&, const QPoint&, int) {}
void CCellGrid::OnCornerDoubleClick(const QRect&, const QPoint&, int) {}
void CCellGrid::OnKeyDown(int*, int) {}
void CCellGrid::OnCharTyped(int*, int) {}
void CCellGrid::OnGetCell(int, int, CCellRecord*) {}
void CCellGrid::OnSetCell(int, int, CCellRecord*) {}
void CCellGrid::OnReserved2() {}
int CCellGrid::OnCellTypeNotify(int, int, int, int, qintptr) {
    return 1;
}
int CCellGrid::OnEditStart(int, int, QWidget**) {
    return 1;
}
int CCellGrid::OnEditVerify(int, int, QWidget*, int*) {
    return 1;
}
int CCellGrid::OnEditFinish(int, int, QWidget*, const QString&, int) {
    return 1;
}
int CCellGrid::OnEditContinue(int, int, int*, int*) {
    return 1;
}
void CCellGrid::OnMenuCommand(int, int, int, int) {}
int CCellGrid::OnMenuStart(int, int, int) {
    return 1;
}

int CCellGrid::OnHint(int column, int row, int, QString* text) {
    if (text)
        *text = QString::asprintf("Col:%d Row:%ld", column, static_cast<long>(row));
    return 1;
}

int CCellGrid::OnVScrollHint(int, QString*) {
    return 1;
}
int CCellGrid::OnHScrollHint(int, QString*) {
    return 1;
}

int CCellGrid::OnSortCompare(const CCellRecord* a, const CCellRecord* b, int flags) {
    if (flags & 2)
        std::swap(a, b);
    if (!a && !b)
        return 0;
    if (!a)
        return -1;
    if (!b)
        return 1;
    const bool textA = a->Has(CCellRecord::PropText);
    const bool textB = b->Has(CCellRecord::PropText);
    if (!textA || !textB)
        return textA == textB ? 0 : (textA ? 1 : -1);
    const int type = a->GetDataType();
    if (type == 2 || type == 3 || type == 5) {
        const double x = a->GetNumber();
        const double y = b->GetNumber();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a->GetText(), b->GetText(), Qt::CaseSensitive);
}

void CCellGrid::OnSetupDevice(QPainter*, QPainter*, int) {}
void CCellGrid::OnComponentsLaidOut(QRect*, QRect*, QRect*, QRect*, QRect*, QRect*, QRect*) {}
void CCellGrid::OnTabSelected(int) {}

GridColor CCellGrid::OnGetDefaultBackColor(int section) {
    return section == GridSection::CellArea ? GetGridSysColor(GridSysColor::Window)
                                            : GetGridSysColor(GridSysColor::ButtonFace);
}

void CCellGrid::OnDrawFocusRect(QPainter* dc, const QRect& rect) {
    // A dotted rectangle, one pixel inside the right and bottom edges.
    QPen pen(QColor(Qt::black), 1, Qt::CustomDashLine);
    pen.setDashPattern({1.0, 1.0});
    pen.setCosmetic(true);
    dc->save();
    dc->setPen(pen);
    dc->setBrush(Qt::NoBrush);
    dc->drawRect(QRect(rect.left(), rect.top(), rect.width() - 2, rect.height() - 2));
    dc->restore();
}

void CCellGrid::OnKillFocus(int) {}
int CCellGrid::OnCanDragColumn(int) {
    return 1;
}
int CCellGrid::OnCanDropColumn(int, int) {
    return 1;
}
void CCellGrid::OnTrackingWindowMove(const QRect&, QRect*) {}
