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

#include <QPoint>
#include <QRect>
#include <QSize>
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

class CGridPrinter {
public:
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
};
