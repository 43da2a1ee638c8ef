#include "GridPrinter.h"

#include "CellGrid.h"
#include "CellRecord.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {
// Screen pixels per millimetre used to turn the paper's room into screen pixels.
constexpr double kScreenPixelsPerMmX = 3.79;
constexpr double kScreenPixelsPerMmY = 3.78;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}
} // namespace

// --- Device measures ------------------------------------------------------------------------

CPrintDeviceMeasures CPrintDeviceMeasures::FromDevice(const QPaintDevice* device) {
    CPrintDeviceMeasures m;
    if (!device)
        return m;
    m.dpiX = device->logicalDpiX();
    m.dpiY = device->logicalDpiY();
    m.horzRes = device->width();
    m.vertRes = device->height();
    // Millimetres from the pixels, not the device's whole-millimetre figures, so the
    // paper size computed from them is exact.
    m.horzSizeMm = m.dpiX > 0 ? m.horzRes * 25.4 / m.dpiX : device->widthMM();
    m.vertSizeMm = m.dpiY > 0 ? m.vertRes * 25.4 / m.dpiY : device->heightMM();
    m.physWidth = m.horzRes;
    m.physHeight = m.vertRes;

    if (const auto* printer = dynamic_cast<const QPrinter*>(device)) {
        const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
        const QRectF page = printer->pageRect(QPrinter::DevicePixel);
        if (!paper.isEmpty()) {
            m.physWidth = Round(paper.width());
            m.physHeight = Round(paper.height());
        }
        // In full-page mode the painter's origin is the paper's corner.
        if (!printer->fullPage()) {
            m.offsetX = Round(page.left());
            m.offsetY = Round(page.top());
        }
    } else if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(device)) {
        const QPageLayout layout = paged->pageLayout();
        const int resolution = std::max(1, m.dpiX);
        const QRect full = layout.fullRectPixels(resolution);
        if (!full.isEmpty()) {
            m.physWidth = full.width();
            m.physHeight = full.height();
        }
        if (layout.mode() == QPageLayout::StandardMode) {
            const QRect paint = layout.paintRectPixels(resolution);
            m.offsetX = paint.left();
            m.offsetY = paint.top();
        }
    }
    return m;
}

// --- Layout ---------------------------------------------------------------------------------

CGridPrinter::CGridPrinter(CCellGrid& grid) : m_grid(grid) {}

int CGridPrinter::SetPrintOption(int option, int value) {
    m_grid.SetPrintOption(option, value);
    return 0;
}

int CGridPrinter::ScreenDpiX() const {
    const int dpi = m_grid.logicalDpiX();
    return dpi > 0 ? dpi : 96;
}

int CGridPrinter::ScreenDpiY() const {
    const int dpi = m_grid.logicalDpiY();
    return dpi > 0 ? dpi : 96;
}

double CGridPrinter::PrintedWidth(int column) const {
    if (m_fitted) {
        const long long index = static_cast<long long>(column) - m_fitFirstColumn;
        if (column >= 0 && index >= 0 && index < static_cast<long long>(m_fitWidths.size()))
            return m_fitWidths[static_cast<size_t>(index)];
        return m_grid.Sheet().ColumnWidth(column) * m_fitSideWidth;
    }
    return m_grid.Sheet().ColumnWidth(column) * m_grid.GetPrintOptions().horizontalScale;
}

double CGridPrinter::DeviceScaleX(int deviceDpi) const {
    return static_cast<double>(std::max(1, deviceDpi)) / ScreenDpiX() * m_textScale;
}

double CGridPrinter::DeviceScaleY(int deviceDpi) const {
    return static_cast<double>(std::max(1, deviceDpi)) / ScreenDpiY() * m_textScale;
}

double CGridPrinter::PrintedHeight(int row) const {
    return m_grid.Sheet().RowHeight(row) * m_grid.GetPrintOptions().verticalScale;
}

void CGridPrinter::StartLayout(const CPrintDeviceMeasures& device, bool fitted) {
    m_pages.clear();
    m_columnPages = m_rowPages = 0;
    m_deviceDpiX = device.dpiX;
    m_deviceDpiY = device.dpiY;
    m_fitted = fitted;
    m_textScale = 1.0;
    m_fitWidths.clear();
}

int CGridPrinter::PrintPrepare(const QPaintDevice* device, const void* /*printInfo*/,
                               int firstColumn, int firstRow, int lastColumn, int lastRow) {
    return PrintPrepare(CPrintDeviceMeasures::FromDevice(device), firstColumn, firstRow, lastColumn,
                        lastRow);
}

int CGridPrinter::PrintPrepare(const CPrintDeviceMeasures& device, int firstColumn, int firstRow,
                               int lastColumn, int lastRow) {
    const CGridPrintOptions& o = m_grid.GetPrintOptions();
    const CGridSheet& s = m_grid.Sheet();
    StartLayout(device, false);

    // Page origin in logical units (screen pixels) from the margins and the printer's
    // pixels per millimetre.
    const double pxPerMmX = device.horzSizeMm > 0 ? device.horzRes / device.horzSizeMm : 0.0;
    const double pxPerMmY = device.vertSizeMm > 0 ? device.vertRes / device.vertSizeMm : 0.0;
    m_origin = QPoint(Round(o.leftMargin * pxPerMmX) / 8, Round(o.topMargin * pxPerMmY) / 3);

    // The room for a page's cells, in screen pixels: the paper less the margins, and
    // never more than is left of the printable area right of and below the origin, so
    // no page runs off the paper whatever the printer's resolution.
    int width =
        static_cast<int>((device.horzSizeMm - o.leftMargin - o.rightMargin) * kScreenPixelsPerMmX);
    int height =
        static_cast<int>((device.vertSizeMm - o.topMargin - o.bottomMargin) * kScreenPixelsPerMmY);
    if (device.dpiX > 0)
        width = std::min(width, static_cast<int>(static_cast<double>(device.horzRes) *
                                                 ScreenDpiX() / device.dpiX) -
                                    m_origin.x());
    if (device.dpiY > 0)
        height = std::min(height, static_cast<int>(static_cast<double>(device.vertRes) *
                                                   ScreenDpiY() / device.dpiY) -
                                      m_origin.y());
    m_printable = QSize(width, height);

    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, s.ColumnCount() - 1);
    lastRow = std::min(lastRow, s.RowCount() - 1);

    const double sideStart = o.printSideHeadings ? s.SideHeadingWidth() * o.horizontalScale : 0.0;
    const double topStart = o.printTopHeadings ? s.TopHeadingHeight() * o.verticalScale : 0.0;
    const std::vector<Span> columns = Paginate(firstColumn, lastColumn, sideStart, width, true);
    const std::vector<Span> rows = Paginate(firstRow, lastRow, topStart, height, false);
    m_columnPages = static_cast<int>(columns.size());
    m_rowPages = static_cast<int>(rows.size());

    // Across before down: page = column page + (row page - 1) * column pages.
    m_pages.reserve(columns.size() * rows.size());
    for (const Span& r : rows)
        for (const Span& c : columns)
            m_pages.push_back({c.first, c.last, r.first, r.last});
    return PageCount();
}

int CGridPrinter::PrintPrepareFit(const CPrintDeviceMeasures& device, int firstColumn, int firstRow,
                                  int lastColumn, int lastRow, const CGridFitLayout& layout) {
    const CGridPrintOptions& o = m_grid.GetPrintOptions();
    const CGridSheet& s = m_grid.Sheet();
    StartLayout(device, true);
    m_fitSideWidth = 1.0;

    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, s.ColumnCount() - 1);
    lastRow = std::min(lastRow, s.RowCount() - 1);
    m_fitFirstColumn = firstColumn;
    m_origin = QPoint();
    m_printable = QSize();
    if (layout.area.width() <= 0 || layout.area.height() <= 0 || lastColumn < firstColumn ||
        lastRow < firstRow)
        return 0;

    // Device pixels per logical unit at the screen's size.
    const double rx = static_cast<double>(std::max(1, device.dpiX)) / ScreenDpiX();
    const double ry = static_cast<double>(std::max(1, device.dpiY)) / ScreenDpiY();
    const double topStart = o.printTopHeadings ? s.TopHeadingHeight() * o.verticalScale : 0.0;
    double total = topStart;
    for (int r = firstRow; r <= lastRow; ++r)
        total += PrintedHeight(r);

    const double maxScale = layout.maxScale > 0 ? layout.maxScale : 1.0;
    const double areaHeight = layout.area.height();
    double scale = total > 0 ? std::min(maxScale, areaHeight / (total * ry)) : maxScale;
    std::vector<Span> rows;
    if (scale >= layout.minScale) {
        rows.push_back({firstRow, lastRow});
    } else {
        // Blocks of rows that stay together, from one row a page may start with to the
        // next.
        std::vector<int> starts{firstRow};
        for (int r : layout.breakRows)
            if (r > starts.back() && r <= lastRow)
                starts.push_back(r);
        if (layout.breakRows.empty())
            for (int r = firstRow + 1; r <= lastRow; ++r)
                starts.push_back(r);
        std::vector<double> heights;
        double tallest = 0.0;
        for (size_t i = 0; i < starts.size(); ++i) {
            const int end = i + 1 < starts.size() ? starts[i + 1] - 1 : lastRow;
            double h = 0.0;
            for (int r = starts[i]; r <= end; ++r)
                h += PrintedHeight(r);
            heights.push_back(h);
            tallest = std::max(tallest, h);
        }
        // The least legible size, smaller only when a single block needs it to fit.
        scale = std::min({maxScale, layout.minScale, areaHeight / ((topStart + tallest) * ry)});
        const double room = areaHeight / (scale * ry) - topStart;
        // Blocks a page takes one after another up to the given height.
        const auto pack = [&](double capacity, std::vector<Span>* spans) {
            int pageStart = firstRow;
            double sum = 0.0;
            int pages = 1;
            for (size_t i = 0; i < starts.size(); ++i) {
                if (sum > 0 && sum + heights[i] > capacity + 1e-6) {
                    if (spans)
                        spans->push_back({pageStart, starts[i] - 1});
                    pageStart = starts[i];
                    sum = 0.0;
                    ++pages;
                }
                sum += heights[i];
            }
            if (spans)
                spans->push_back({pageStart, lastRow});
            return pages;
        };
        // As few pages as that size needs, shared out evenly: the least page height that
        // still needs no more pages, and the text as large as that height lets it be.
        const int pages = pack(room, nullptr);
        double low = tallest, high = room;
        for (int step = 0; step < 60 && high - low > 1e-3; ++step) {
            const double middle = (low + high) / 2;
            if (pack(middle, nullptr) <= pages)
                high = middle;
            else
                low = middle;
        }
        pack(high, &rows);
        scale = std::min(maxScale, std::max(scale, areaHeight / ((topStart + high) * ry)));
    }
    m_textScale = scale;

    // The columns share the area's width, headings included.
    const double roomWidth = layout.area.width() / (scale * rx);
    const double sideScreen = o.printSideHeadings ? s.SideHeadingWidth() : 0.0;
    double screenWidth = sideScreen;
    for (int c = firstColumn; c <= lastColumn; ++c)
        screenWidth += s.ColumnWidth(c);
    const int count = lastColumn - firstColumn + 1;
    const bool weighted = static_cast<int>(layout.columnWeights.size()) >= count;
    double weights = 0.0;
    if (weighted)
        for (int i = 0; i < count; ++i)
            weights += std::max(0.0, layout.columnWeights[static_cast<size_t>(i)]);
    m_fitSideWidth = screenWidth > 0 ? roomWidth / screenWidth : 1.0;
    const double columnsRoom = roomWidth - sideScreen * m_fitSideWidth;
    for (int c = firstColumn; c <= lastColumn; ++c) {
        const size_t i = static_cast<size_t>(c - firstColumn);
        if (weighted && weights > 0)
            m_fitWidths.push_back(columnsRoom * std::max(0.0, layout.columnWeights[i]) / weights);
        else if (screenWidth - sideScreen > 0)
            m_fitWidths.push_back(columnsRoom * s.ColumnWidth(c) / (screenWidth - sideScreen));
        else
            m_fitWidths.push_back(columnsRoom / count);
    }

    m_origin =
        QPoint(Round(layout.area.left() / (scale * rx)), Round(layout.area.top() / (scale * ry)));
    m_printable = QSize(static_cast<int>(roomWidth), static_cast<int>(areaHeight / (scale * ry)));
    m_columnPages = 1;
    m_rowPages = static_cast<int>(rows.size());
    for (const Span& r : rows)
        m_pages.push_back({firstColumn, lastColumn, r.first, r.last});
    return PageCount();
}

void CGridPrinter::PageAxes(const CGridPrintPage& range, std::vector<int>& columns,
                            std::vector<int>& rows, std::vector<double>& xs,
                            std::vector<double>& ys) const {
    const CGridPrintOptions& o = m_grid.GetPrintOptions();
    const CGridSheet& s = m_grid.Sheet();
    rows.clear();
    columns.clear();
    const int topCount = o.printTopHeadings ? s.TopHeadingRows() : 0;
    const int sideCount = o.printSideHeadings ? s.SideHeadingColumns() : 0;
    for (int r = -topCount; r <= -1; ++r)
        rows.push_back(r);
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        rows.push_back(r);
    for (int c = -sideCount; c <= -1; ++c)
        columns.push_back(c);
    for (int c = range.firstColumn; c <= range.lastColumn; ++c)
        columns.push_back(c);
    xs.assign(1, static_cast<double>(m_origin.x()));
    for (int c : columns)
        xs.push_back(xs.back() + PrintedWidth(c));
    ys.assign(1, static_cast<double>(m_origin.y()));
    for (int r : rows)
        ys.push_back(ys.back() + PrintedHeight(r));
}

std::vector<CGridPrintRowBand> CGridPrinter::RowBands(int page) const {
    std::vector<CGridPrintRowBand> bands;
    CGridPrintPage range;
    if (!GetPage(page, &range))
        return bands;
    std::vector<int> columns, rows;
    std::vector<double> xs, ys;
    PageAxes(range, columns, rows, xs, ys);
    const double k = DeviceScaleY(m_deviceDpiY);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i] >= 0)
            bands.push_back({rows[i], ys[i] * k, ys[i + 1] * k});
    return bands;
}

double CGridPrinter::BlockLeft() const {
    return m_origin.x() * DeviceScaleX(m_deviceDpiX);
}

std::vector<CGridPrinter::Span> CGridPrinter::Paginate(int first, int last, double start,
                                                       double room, bool columns) const {
    std::vector<Span> spans;
    double sum = start;
    int pageStart = first;
    for (int i = first; i <= last; ++i) {
        const double size = columns ? PrintedWidth(i) : PrintedHeight(i);
        if (sum + size <= room) {
            sum += size;
            continue;
        }
        if (size >= room || i == pageStart) {
            // Too big to share a page: the columns before it close their page and this
            // one gets a page of its own.
            if (i > pageStart)
                spans.push_back({pageStart, i - 1});
            spans.push_back({i, i});
            pageStart = i + 1;
            sum = start;
        } else {
            // The one that overflowed starts the next page.
            spans.push_back({pageStart, i - 1});
            pageStart = i;
            sum = start + size;
        }
    }
    if (pageStart <= last)
        spans.push_back({pageStart, last});
    return spans;
}

bool CGridPrinter::GetPage(int page, CGridPrintPage* range) const {
    if (page < 1 || page > PageCount())
        return false;
    if (range)
        *range = m_pages[static_cast<size_t>(page - 1)];
    return true;
}

// --- Printing -------------------------------------------------------------------------------

QFont CGridPrinter::PrintFont(const CCellRecord& record) const {
    const QFont* source = record.GetFont();
    CCellRecord gridDefault;
    if (!source) {
        m_grid.GetGridDefault(&gridDefault);
        source = gridDefault.GetFont();
    }
    if (!source)
        source = m_grid.Sheet().Options().defaultFont;
    QFont font = source ? *source : m_grid.font();
    if (font.pixelSize() <= 0) {
        const double points = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
        font.setPixelSize(std::max(1, Round(points * ScreenDpiY() / 72.0)));
    }
    return font;
}

void CGridPrinter::PrintCell(QPainter* dc, CCellRecord* record, int column, int row,
                             const QRect& rect) {
    QFont font = PrintFont(*record);
    if (m_before)
        m_before(dc, rect, column, row, *record, font);
    record->SetFont(&font);
    CCellTypeHandler* type = m_grid.GetCellType(record->GetCellType());
    dc->save();
    dc->setFont(font);
    type->OnPrint(dc, rect, column, row, *record);
    dc->restore();
    if (m_after) {
        dc->save();
        m_after(dc, rect, column, row, *record);
        dc->restore();
    }
}

void CGridPrinter::PrintBlock(QPainter* dc, int column, int row, const CGridPrintPage& page,
                              const std::vector<int>& columns, const std::vector<int>& rows,
                              const std::vector<double>& xs, const std::vector<double>& ys) {
    int sc = 0, sr = 0, ec = 0, er = 0;
    CCellRecord record;
    if (m_grid.GetJoinRange(column, row, &sc, &sr, &ec, &er) != 0) {
        // A broken join prints as a plain cell.
        m_grid.GetResolvedCell(column, row, &record);
        record.ClearProperty(CCellRecord::PropJoin);
        const size_t i =
            static_cast<size_t>(std::find(rows.begin(), rows.end(), row) - rows.begin());
        const size_t j = static_cast<size_t>(std::find(columns.begin(), columns.end(), column) -
                                             columns.begin());
        const QRect rect(QPoint(Round(xs[j]), Round(ys[i])),
                         QPoint(Round(xs[j + 1]) - 1, Round(ys[i + 1]) - 1));
        if (rect.width() > 0 && rect.height() > 0)
            PrintCell(dc, &record, column, row, rect);
        return;
    }

    // The part of the block on this page, within the area the cell belongs to (the
    // headings or the page's own cells).
    const int sideCount = m_grid.Sheet().SideHeadingColumns();
    const int topCount = m_grid.Sheet().TopHeadingRows();
    const int columnLow = column < 0 ? -sideCount : page.firstColumn;
    const int columnHigh = column < 0 ? -1 : page.lastColumn;
    const int rowLow = row < 0 ? -topCount : page.firstRow;
    const int rowHigh = row < 0 ? -1 : page.lastRow;
    const int vc0 = std::max(sc, columnLow);
    const int vc1 = std::min(ec, columnHigh);
    const int vr0 = std::max(sr, rowLow);
    const int vr1 = std::min(er, rowHigh);
    // Printed once, when its first visible cell comes up.
    if (column != vc0 || row != vr0 || vc1 < vc0 || vr1 < vr0)
        return;

    const auto columnIndex = [&](int c) {
        return static_cast<size_t>(std::find(columns.begin(), columns.end(), c) - columns.begin());
    };
    const auto rowIndex = [&](int r) {
        return static_cast<size_t>(std::find(rows.begin(), rows.end(), r) - rows.begin());
    };
    const double left = xs[columnIndex(vc0)];
    const double top = ys[rowIndex(vr0)];
    double right = 0.0, bottom = 0.0;
    m_grid.GetResolvedCell(sc, sr, &record);
    int printColumn = sc, printRow = sr;
    if (sc == vc0 && sr == vr0) {
        // The block starts on this page: its full size, cut at the page's edge.
        right = left;
        for (int c = sc; c <= ec; ++c)
            right += PrintedWidth(c);
        bottom = top;
        for (int r = sr; r <= er; ++r)
            bottom += PrintedHeight(r);
    } else {
        // The page starts inside the block: the block is narrowed to what the page shows.
        right = xs[columnIndex(vc1) + 1];
        bottom = ys[rowIndex(vr1) + 1];
        record.SetJoinInfo(1, vr1 - vr0, vc1 - vc0);
        printColumn = vc0;
        printRow = vr0;
    }
    const QRect rect(QPoint(Round(left), Round(top)), QPoint(Round(right) - 1, Round(bottom) - 1));
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const QRect pageArea(QPoint(Round(xs.front()), Round(ys.front())),
                         QPoint(Round(xs.back()) - 1, Round(ys.back()) - 1));
    dc->save();
    dc->setClipRect(pageArea, Qt::IntersectClip);
    PrintCell(dc, &record, printColumn, printRow, rect);
    dc->restore();
}

int CGridPrinter::PrintPage(QPainter* dc, int page) {
    CGridPrintPage range;
    if (!dc || !GetPage(page, &range))
        return 0;
    const CGridPrintOptions& o = m_grid.GetPrintOptions();
    const CGridSheet& s = m_grid.Sheet();

    // One logical unit is one screen pixel at its physical size.
    const QPaintDevice* device = dc->device();
    const int deviceDpiX =
        device && device->logicalDpiX() > 0 ? device->logicalDpiX() : std::max(1, m_deviceDpiX);
    const int deviceDpiY =
        device && device->logicalDpiY() > 0 ? device->logicalDpiY() : std::max(1, m_deviceDpiY);
    dc->save();
    dc->scale(DeviceScaleX(deviceDpiX), DeviceScaleY(deviceDpiY));

    // The rows and columns of the page, headings first, with their printed edges.
    std::vector<int> rows;
    std::vector<int> columns;
    std::vector<double> xs, ys;
    PageAxes(range, columns, rows, xs, ys);
    const int topCount = o.printTopHeadings ? s.TopHeadingRows() : 0;
    const int sideCount = o.printSideHeadings ? s.SideHeadingColumns() : 0;

    dc->setFont(PrintFont(CCellRecord()));
    CCellRecord record;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = rows[i];
        for (size_t j = 0; j < columns.size(); ++j) {
            const int c = columns[j];
            m_grid.GetResolvedCell(c, r, &record);
            if (record.Has(CCellRecord::PropJoin)) {
                PrintBlock(dc, c, r, range, columns, rows, xs, ys);
                continue;
            }
            const QRect rect(QPoint(Round(xs[j]), Round(ys[i])),
                             QPoint(Round(xs[j + 1]) - 1, Round(ys[i + 1]) - 1));
            if (rect.width() > 0 && rect.height() > 0)
                PrintCell(dc, &record, c, r, rect);
        }
    }

    // The outline around the page's own cells.
    if (o.outline && range.lastRow >= range.firstRow && range.lastColumn >= range.firstColumn) {
        const int left = Round(xs[static_cast<size_t>(sideCount)]);
        const int right = Round(xs.back());
        const int top = Round(ys[static_cast<size_t>(topCount)]);
        const int bottom = Round(ys.back());
        const QColor black(Qt::black);
        dc->fillRect(QRect(left, top, right - left, 1), black);
        dc->fillRect(QRect(left, bottom - 1, right - left, 1), black);
        dc->fillRect(QRect(left, top, 1, bottom - top), black);
        dc->fillRect(QRect(right - 1, top, 1, bottom - top), black);
    }
    dc->restore();
    return 0;
}
