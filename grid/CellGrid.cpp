// Set-up and teardown of CCellGrid, the counts, sizes and options of its sheet, the
// cell-type table and the data source, and the operations it hands to its parts: moves
// to the navigator, layout and repainting to the windows.

#include "CellGrid.h"

#include "ArrowCellType.h"
#include "CheckBoxCellType.h"
#include "DropListCellType.h"
#include "GridComponents.h"
#include "GridNavigator.h"
#include "GridPainter.h"
#include "GridParts.h"
#include "GridWindows.h"
#include "TextCellType.h"

#include <QApplication>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QVariant>

CCellGrid::CCellGrid(QWidget* parent)
    : QWidget(parent), m_sheet(std::make_unique<CGridSheet>()), m_whitePen(QColor(Qt::white), 1),
      m_shadowPen(ToQColor(GetGridSysColor(GridSysColor::ButtonShadow)), 1) {
    // The four built-in cell types, in the order that fixes their indices.
    AddCellType(std::make_unique<CTextCellType>());
    AddCellType(std::make_unique<CDropListCellType>());
    AddCellType(std::make_unique<CCheckBoxCellType>());
    AddCellType(std::make_unique<CArrowCellType>());

    m_windows = std::make_unique<CGridWindows>(*this, *m_sheet);
    m_navigator = std::make_unique<CGridNavigator>(*this, *m_sheet, *m_windows);
    m_painter = std::make_unique<CGridPainter>(*this, *m_sheet);
    m_parts.reset(new CGridParts{*this, *m_sheet, *m_navigator, *m_windows, *m_painter});

    setContentsMargins(1, 1, 1, 1);
    setFocusPolicy(Qt::StrongFocus);
    if (m_windows->Create(*m_parts))
        setFocusProxy(m_windows->CellArea());
    else
        m_failed = true;
}

CCellGrid::~CCellGrid() {
    // Teardown order matters: the component windows read the sheet, the source and the
    // cell types, and QWidget's own destructor would only take them down after those are
    // gone (and after clearFocus() has sent them a focus-out). So: no hook from here on,
    // let go of the keyboard focus while every part still exists, drop the cell types
    // (they may own child widgets of the cell area), then delete the component windows.
    // Only then are the data members freed.
    m_tearingDown = true;
    if (QWidget* focus = QApplication::focusWidget();
        focus && (focus == this || isAncestorOf(focus)))
        focus->clearFocus();
    setFocusProxy(nullptr);
    m_types.clear();
    m_windows->Destroy();
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

// --- Defaults -----------------------------------------------------------------------------

int CCellGrid::GetGridDefault(CCellRecord* record) const {
    if (!record)
        return 1;
    record->ReplaceWith(m_sheet->GridDefault());
    return 0;
}

int CCellGrid::SetGridDefault(const CCellRecord* record) {
    if (!record)
        return 1;
    m_sheet->SetGridDefault(*record);
    return 0;
}

int CCellGrid::GetHeadingDefault(CCellRecord* record) const {
    if (!record)
        return 1;
    record->ReplaceWith(m_sheet->HeadingDefault());
    return 0;
}

int CCellGrid::SetHeadingDefault(const CCellRecord* record) {
    if (!record)
        return 1;
    m_sheet->SetHeadingDefault(*record);
    return 0;
}

int CCellGrid::GetColumnDefault(int column, CCellRecord* record) const {
    if (!record || column < 0 || column >= GetColumnCount())
        return 1;
    record->ReplaceWith(m_sheet->Column(column).defaultCell);
    return 0;
}

int CCellGrid::SetColumnDefault(int column, const CCellRecord* record) {
    if (!record || column < 0 || column >= GetColumnCount())
        return 1;
    m_sheet->SetColumnDefault(column, *record);
    return 0;
}

// --- Columns and rows ---------------------------------------------------------------------

int CCellGrid::SetColumnCount(int count, int redraw) {
    if (count < 0 || count > 32000)
        return 1;
    m_sheet->SetColumnCount(count);
    AdjustComponentSizes();
    if (redraw)
        RedrawAll();
    return 0;
}

int CCellGrid::SetRowCount(int count, int redraw) {
    if (count < 0)
        return 1;
    m_sheet->SetRowCount(count);
    AdjustComponentSizes();
    if (redraw)
        RedrawAll();
    return 0;
}

int CCellGrid::SetColumnWidth(int column, int width) {
    CGridAxis& columns = m_sheet->Columns();
    if (column >= 0 && column < columns.Count()) {
        columns.SetSize(column, width < 0 ? 0 : width);
        AdjustComponentSizes();
        RedrawAll();
        return 0;
    }
    // A side heading column: sized, yet answered 1, as the heading has its own width.
    if (column < 0 && -column <= columns.HeadingCount() && width >= 0 && width <= 1024) {
        columns.SetHeadingSize(column, width);
        if (columns.HeadingCount() == 1) {
            columns.SetHeadingExtent(width);
            AdjustComponentSizes();
        }
        if (SideHeading())
            SideHeading()->update();
    }
    return 1;
}

int CCellGrid::GetColumnWidth(int column) const {
    const CGridAxis& columns = m_sheet->Columns();
    const bool valid = column < columns.Count() && -column <= columns.HeadingCount();
    return valid ? columns.Size(column) : 1;
}

int CCellGrid::GetColumnWidth(int column, int* width) const {
    const CGridAxis& columns = m_sheet->Columns();
    if (!width || column >= columns.Count() || -column > columns.HeadingCount())
        return 1;
    *width = columns.Size(column);
    return 0;
}

int CCellGrid::SetDefaultColumnWidth(int width) {
    if (width < 0 || width > 1024)
        return 1;
    m_sheet->Columns().SetDefaultSize(width);
    return 0;
}

int CCellGrid::SetDefaultRowHeight(int height) {
    if (height < 1 || height > 1024)
        return 1;
    m_sheet->Rows().SetDefaultSize(height);
    if (m_sheet->Rows().Uniform()) {
        AdjustComponentSizes();
        RedrawAll();
    }
    return 0;
}

int CCellGrid::SetUniformRowHeight(int flag) {
    m_sheet->Rows().SetUniform(flag != 0);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetRowHeight(int row, int height) {
    CGridAxis& rows = m_sheet->Rows();
    if (row < 0)
        return SetTopHeadingRowHeight(row, height);
    if (row >= rows.Count())
        return 1;
    if (height < 0 || height > 1024 || (rows.Uniform() && height < 1))
        return 2;
    rows.SetSize(row, height);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::GetRowHeight(int row) const {
    const CGridAxis& rows = m_sheet->Rows();
    if (row >= rows.Count() || -row > rows.HeadingCount())
        return 0;
    return rows.Size(row);
}

int CCellGrid::AppendRow() {
    const int rc = m_sheet->Source()->AppendRow();
    if (rc == 0)
        SetRowCount(GetRowCount() + 1, 1);
    return rc;
}

int CCellGrid::InsertRow(int row) {
    if (row < 0 || row > GetRowCount())
        return 1;
    const int rc = m_sheet->Source()->InsertRow(row);
    if (rc == 0) {
        m_sheet->InsertRow(row);
        SetRowCount(GetRowCount(), 1);
    }
    return rc;
}

int CCellGrid::DeleteRow(int row) {
    if (row < 0 || row >= GetRowCount())
        return 1;
    const int rc = m_sheet->Source()->DeleteRow(row);
    if (rc == 0) {
        m_sheet->DeleteRow(row);
        SetRowCount(GetRowCount(), 1);
    }
    return rc;
}

namespace {
// Locks count slots of an axis: never all of them (0 unlocks).
bool Lock(CGridAxis& axis, int count) {
    if (count < 0 || (count > 0 && count >= axis.Count()))
        return false;
    axis.SetLocked(count);
    return true;
}
} // namespace

int CCellGrid::LockColumns(int count) {
    if (!Lock(m_sheet->Columns(), count))
        return 1;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::LockRows(int count) {
    if (!Lock(m_sheet->Rows(), count))
        return 1;
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

// --- Headings and component sizes ---------------------------------------------------------

int CCellGrid::SetTopHeadingHeight(int height) {
    if (height < 0 || height > 1024)
        return 1;
    m_sheet->Rows().RescaleHeadings(height);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetSideHeadingWidth(int width) {
    if (width < 0 || width > 1024)
        return 1;
    m_sheet->Columns().RescaleHeadings(width);
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetTopHeadingRowCount(int count) {
    if (count < 1 || count > 64)
        return 1;
    m_sheet->Rows().SetHeadingCount(count, m_sheet->Rows().DefaultSize());
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetTopHeadingRowHeight(int row, int height) {
    CGridAxis& rows = m_sheet->Rows();
    if (row >= 0 || -row > rows.HeadingCount())
        return 1;
    if (height < 0 || height > 1024)
        return 2;
    rows.SetHeadingSize(row, height);
    if (TopHeading())
        TopHeading()->update();
    return 0;
}

int CCellGrid::SetSideHeadingColumnCount(int count) {
    if (count < 1 || count > 64)
        return 1;
    m_sheet->Columns().SetHeadingCount(count, m_sheet->Columns().DefaultSize());
    AdjustComponentSizes();
    RedrawAll();
    return 0;
}

int CCellGrid::SetVScrollWidth(int width) {
    if (width < 0 || width > 1024)
        return 1;
    m_sheet->Options().vScrollWidth = width;
    AdjustComponentSizes();
    return 0;
}

int CCellGrid::SetHScrollHeight(int height) {
    if (height < 0 || height > 1024)
        return 1;
    m_sheet->Options().hScrollHeight = height;
    AdjustComponentSizes();
    return 0;
}

// --- Options ------------------------------------------------------------------------------

int CCellGrid::SetSelectionHighlight(int mode) {
    if (mode < 0 || mode > 3)
        return 1;
    m_sheet->Options().selectionHighlight = mode;
    return 0;
}

int CCellGrid::SetRowHighlight(int flag) {
    m_sheet->Options().rowHighlight = flag ? 1 : 0;
    if (CellArea())
        CellArea()->update();
    return 0;
}

int CCellGrid::SetVScrollMode(int mode) {
    if (mode < 0 || mode > 1)
        return 1;
    m_sheet->Options().vScrollMode = mode;
    return 0;
}

int CCellGrid::SetHScrollMode(int mode) {
    if (mode < 0 || mode > 1)
        return 1;
    m_sheet->Options().hScrollMode = mode;
    return 0;
}

int CCellGrid::EnableRedraw(int flag) {
    m_redrawEnabled = flag ? 1 : 0;
    return 0;
}

int CCellGrid::SetDrawGridLines(int flag) {
    m_sheet->Options().drawGridLines = flag ? 1 : 0;
    RedrawAll();
    return 0;
}

int CCellGrid::SetGridLinePen(const QPen& pen) {
    m_sheet->Options().gridLinePen = pen;
    RedrawAll();
    return 0;
}

int CCellGrid::SetTextMargin(int margin) {
    if (margin < 0 || margin > 1024)
        return 1;
    m_sheet->Options().textMargin = margin;
    return 0;
}

int CCellGrid::SetDefaultFont(const QFont* font) {
    m_sheet->Options().defaultFont = font;
    return 0;
}

int CCellGrid::SetJoinFollow(int flag) {
    m_sheet->Options().joinFollow = flag ? 1 : 0;
    return 0;
}

int CCellGrid::SetTextOverflow(int flag) {
    m_sheet->Options().allowOverflow = flag ? 1 : 0;
    return 0;
}

int CCellGrid::UseHints(int flag) {
    m_sheet->Options().useHints = flag ? 1 : 0;
    return 0;
}

int CCellGrid::UseScrollHints(int flag) {
    m_sheet->Options().useScrollHints = flag ? 1 : 0;
    return 0;
}

void CCellGrid::SetTrackingWindow(QWidget* window) {
    m_windows->SetTrackingWindow(window);
}

int CCellGrid::SetPrintOption(int option, int value) {
    m_printOptions.Set(option, value);
    return 0;
}

int CCellGrid::GetPrintOption(int option, int* value) const {
    return m_printOptions.Get(option, value);
}

// --- Current cell, view and repainting ----------------------------------------------------

int CCellGrid::GotoCell(int column, int row) {
    return m_navigator->GotoCell(column, row);
}

int CCellGrid::GotoRow(int row) {
    return m_navigator->GotoRow(row);
}

int CCellGrid::GotoColumn(int column) {
    return m_navigator->GotoColumn(column);
}

int CCellGrid::SetTopRow(int row) {
    return m_navigator->MoveView(GetLeftColumn(), row);
}

int CCellGrid::SetLeftColumn(int column) {
    return m_navigator->MoveView(column, GetTopRow());
}

void CCellGrid::RedrawAll() {
    m_windows->RedrawAll();
}

void CCellGrid::RedrawCell(int column, int row) {
    m_windows->RedrawCell(column, row);
}

void CCellGrid::RedrawRow(int row) {
    m_windows->RedrawRow(row);
}

void CCellGrid::AdjustComponentSizes() {
    m_windows->Layout();
}

Qt::KeyboardModifiers CCellGrid::CurrentModifiers() const {
    return m_navigator->Modifiers();
}

CGridCellArea* CCellGrid::CellArea() const {
    return m_windows->CellArea();
}
CGridTopHeading* CCellGrid::TopHeading() const {
    return m_windows->TopHeading();
}
CGridSideHeading* CCellGrid::SideHeading() const {
    return m_windows->SideHeading();
}
CGridCorner* CCellGrid::Corner() const {
    return m_windows->Corner();
}
CGridScrollBar* CCellGrid::VScrollBar() const {
    return m_windows->VScrollBar();
}
CGridScrollBar* CCellGrid::HScrollBar() const {
    return m_windows->HScrollBar();
}
CGridHintWnd* CCellGrid::HintWindow() const {
    return m_windows->HintWindow();
}

// --- Cell types and source ----------------------------------------------------------------

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
    m_sheet->SetSource(std::move(source));
    RedrawAll();
    return 0;
}

// --- Window events ------------------------------------------------------------------------

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
