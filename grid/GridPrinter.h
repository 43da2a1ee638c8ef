#pragma once
// CGridPrinter: prints a block of a grid's cells over as many pages as it needs.
//
//   CGridPrinter printer(grid);
//   const int pages = printer.PrintPrepare(&device, nullptr, 0, 0, columns - 1, rows - 1);
//   for (int page = 1; page <= pages; ++page) { ...; printer.PrintPage(&painter, page); }
//
// PrintPrepare measures the paper and splits the block into pages of columns and rows
// (pages run across before down); PrintPage prints one page through the cell types'
// OnPrint, with the headings the grid's print options ask for, at the grid window's
// screen size: one logical unit of the page is one screen pixel at its physical size.
// The options themselves (headings, margins, outline) are kept by the grid
// (CCellGrid::SetPrintOption), so whoever sets them on the grid sets them here too.
//
// PrintPrepareFit lays the block out in a rectangle of the page instead: the columns
// stretched or narrowed to the rectangle's width, whatever their width on screen, the
// text at the screen's size or smaller so that the rows fit one page, and, when that
// would make the text smaller than the least scale given, pages broken only at the
// rows given (with the headings repeated on each).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class CCellGrid;
class CCellRecord;
class QFont;
class QPaintDevice;
class QPainter;

// The measures of a printing device that the page layout and the title need, as a
// printer reports them: the printable area in device pixels and millimetres, the
// whole paper in device pixels, the distance from the paper's edge to the printable
// area, and the device's pixels per inch.
struct CPrintDeviceMeasures {
    int horzRes = 0; // printable width, device pixels
    int vertRes = 0; // printable height, device pixels
    double horzSizeMm = 0.0;
    double vertSizeMm = 0.0;
    int physWidth = 0; // whole paper, device pixels
    int physHeight = 0;
    int offsetX = 0; // paper edge to printable area, device pixels
    int offsetY = 0;
    int dpiX = 0;
    int dpiY = 0;

    // Reads the measures of a printer, a PDF writer or any other paint device (a device
    // without a paper has no offsets and its paper is its own size).
    static CPrintDeviceMeasures FromDevice(const QPaintDevice* device);
};

// One page of the layout: the ranges of grid columns and rows it prints.
struct CGridPrintPage {
    int firstColumn = 0;
    int lastColumn = -1;
    int firstRow = 0;
    int lastRow = -1;
};

// How PrintPrepareFit lays a block out.
struct CGridFitLayout {
    // Where the block goes on every page, in device pixels from the painter's origin.
    QRect area;
    // The rows a page may start with, ascending (the first row of the block always
    // may); empty: any row.
    std::vector<int> breakRows;
    // The text's size on paper against its size on screen: never above maxScale, and
    // pages are broken rather than going below minScale.
    double minScale = 0.0;
    double maxScale = 1.0;
    // Share of the width of each column of the block (from its first column); empty or
    // too short: the screen widths.
    std::vector<double> columnWeights;
};

// The edges of one printed row on a page, in device pixels from the painter's origin.
struct CGridPrintRowBand {
    int row = 0;
    double top = 0.0;
    double bottom = 0.0;
};

class CGridPrinter {
public:
    // Called for every printed cell: before its cell type prints it (the record and its
    // font may be changed for the paper), and after, to draw over it. The painter is
    // in the page's logical units.
    using CellHook = std::function<void(QPainter* dc, const QRect& rect, int column, int row,
                                        CCellRecord& record, QFont& font)>;
    using CellAfterHook = std::function<void(QPainter* dc, const QRect& rect, int column, int row,
                                             const CCellRecord& record)>;

    explicit CGridPrinter(CCellGrid& grid);

    // Stores options 1 to 6 and 10 in the grid (GridPrintOption); always 0.
    int SetPrintOption(int option, int value);

    // Lays the block (first column, first row) to (last column, last row) out on the
    // device's pages and returns the number of pages. The print information is not
    // used by the layout.
    int PrintPrepare(const QPaintDevice* device, const void* printInfo, int firstColumn,
                     int firstRow, int lastColumn, int lastRow);
    // The same from measures already read (and the screen resolution of the grid window).
    int PrintPrepare(const CPrintDeviceMeasures& device, int firstColumn, int firstRow,
                     int lastColumn, int lastRow);

    // Lays the block out to fit the layout's area (see above); returns the page count.
    int PrintPrepareFit(const CPrintDeviceMeasures& device, int firstColumn, int firstRow,
                        int lastColumn, int lastRow, const CGridFitLayout& layout);
    // True after PrintPrepareFit, false after PrintPrepare.
    bool IsFitted() const { return m_fitted; }
    // The text's size on paper against the screen (1 after PrintPrepare).
    double TextScale() const { return m_textScale; }
    // The rows of page 1 .. PageCount() without the headings, with their printed edges;
    // empty for any other number.
    std::vector<CGridPrintRowBand> RowBands(int page) const;
    // The left edge of a page's block (headings included) in device pixels.
    double BlockLeft() const;

    void SetCellHooks(CellHook before, CellAfterHook after) {
        m_before = std::move(before);
        m_after = std::move(after);
    }

    // Prints page 1 .. PageCount() on the painter, whose device is the printer (its
    // coordinates: device pixels from the printable area's corner). A page the layout
    // did not produce prints nothing. Always 0. The painter's state is left as found.
    int PrintPage(QPainter* dc, int page);

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // The ranges of page 1 .. PageCount(); false for any other number.
    bool GetPage(int page, CGridPrintPage* range) const;
    int ColumnPageCount() const { return m_columnPages; }
    int RowPageCount() const { return m_rowPages; }
    // Page origin (left, top) in logical units, as PrintPrepare computed it.
    QPoint Origin() const { return m_origin; }
    // The room for one page's columns and rows, in screen pixels.
    QSize PrintableSize() const { return m_printable; }

    // Screen pixels per inch of the grid window (the logical unit of the printed page).
    int ScreenDpiX() const;
    int ScreenDpiY() const;

    // Printed size of a column or row (headings negative), in logical units.
    double PrintedWidth(int column) const;
    double PrintedHeight(int row) const;

private:
    // Forgets the last layout and takes the device's resolution for the next one.
    void StartLayout(const CPrintDeviceMeasures& device, bool fitted);
    // Device pixels per logical unit.
    double DeviceScaleX(int deviceDpi) const;
    double DeviceScaleY(int deviceDpi) const;
    // The rows and columns of a page, headings first, and their printed edges.
    void PageAxes(const CGridPrintPage& range, std::vector<int>& columns, std::vector<int>& rows,
                  std::vector<double>& xs, std::vector<double>& ys) const;
    struct Span {
        int first;
        int last;
    };
    // Splits first..last into pages: the printed sizes are added from the start size
    // (the headings printed beside every page) until they pass the room.
    std::vector<Span> Paginate(int first, int last, double start, double room, bool columns) const;
    void PrintBlock(QPainter* dc, int column, int row, const CGridPrintPage& page,
                    const std::vector<int>& columns, const std::vector<int>& rows,
                    const std::vector<double>& xs, const std::vector<double>& ys);
    void PrintCell(QPainter* dc, CCellRecord* record, int column, int row, const QRect& rect);
    // The font a printed cell is drawn in, in screen pixels (point sizes are turned into
    // pixels at the grid window's resolution, so the page's scaling sizes them).
    QFont PrintFont(const CCellRecord& record) const;

    CCellGrid& m_grid;
    QPoint m_origin;
    QSize m_printable;
    std::vector<CGridPrintPage> m_pages;
    int m_columnPages = 0;
    int m_rowPages = 0;
    int m_deviceDpiX = 0;
    int m_deviceDpiY = 0;
    // Fitted layout: the text scale and the width of each column in logical units.
    bool m_fitted = false;
    double m_textScale = 1.0;
    std::vector<double> m_fitWidths; // by column from m_fitFirstColumn
    int m_fitFirstColumn = 0;
    double m_fitSideWidth = 0.0;
    CellHook m_before;
    CellAfterHook m_after;
};
