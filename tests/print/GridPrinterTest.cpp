// The grid printer: page layout figures for known papers, pages across before down,
// pages that never run off the paper, and what a page puts where on the device.

#include "GridPrinter.h"
#include "CellGrid.h"
#include "PrintTestGrid.h"
#include "TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QVector>

namespace {
// A paper of the given size in millimetres on a device of dpi pixels per inch, printable
// all over unless offsets (device pixels on each side) are given.
CPrintDeviceMeasures Paper(double widthMm, double heightMm, int dpi, int offsetX = 0,
                           int offsetY = 0) {
    CPrintDeviceMeasures m;
    m.dpiX = m.dpiY = dpi;
    m.horzSizeMm = widthMm;
    m.vertSizeMm = heightMm;
    m.horzRes = qRound(widthMm * dpi / 25.4);
    m.vertRes = qRound(heightMm * dpi / 25.4);
    m.physWidth = m.horzRes + 2 * offsetX;
    m.physHeight = m.vertRes + 2 * offsetY;
    m.offsetX = offsetX;
    m.offsetY = offsetY;
    return m;
}

// A plain grid in a window of its own.
struct PlainHost {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    CCellGrid* grid = nullptr;
    explicit PlainHost(const QVector<int>& widths, int rows = 1) {
        window->resize(800, 400);
        grid = new CCellGrid;
        grid->CreateGrid(window.get(), QRect(0, 0, 800, 400), 1015);
        grid->SetColumnCount(widths.size(), 0);
        for (int c = 0; c < widths.size(); ++c)
            grid->SetColumnWidth(c, widths[c]);
        grid->SetRowCount(rows, 0);
        grid->SetUniformRowHeight(1);
    }
};

using Spans = QVector<QPair<int, int>>;

Spans ColumnSpans(const CGridPrinter& printer) {
    Spans spans;
    CGridPrintPage page;
    for (int p = 1; p <= printer.ColumnPageCount() && printer.GetPage(p, &page); ++p)
        spans.append({page.firstColumn, page.lastColumn});
    return spans;
}

// An image standing for a printer page: white, dpi pixels per inch.
QImage Page(int width, int height, int dpi) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

GridColor At(const QImage& image, int x, int y) {
    const QRgb rgb = image.pixel(x, y);
    return GridRGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
} // namespace

class GridPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    // Fitted: the columns share the area's width (by weight, or as on screen), the text
    // keeps the screen's size while the block fits, shrinks to fit one page, and below
    // the least scale pages are broken only at the rows given.
    void fittedLayout() {
        PlainHost host({100, 300}, 40); // 40 rows of the default height
        const double rowHeight = host.grid->GetDefaultRowHeight();
        CGridPrinter printer(*host.grid);
        const int dpi = printer.ScreenDpiY(); // one device pixel per screen pixel at scale 1
        const CPrintDeviceMeasures paper = Paper(300.0, 300.0, dpi);
        CGridFitLayout layout;
        layout.area = QRect(50, 20, 800, qRound(40 * rowHeight) + 10);
        layout.minScale = 0.5;
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, 39, layout), 1);
        QVERIFY(printer.IsFitted());
        QCOMPARE(printer.TextScale(), 1.0);
        QCOMPARE(printer.PrintedWidth(0), 200.0); // 800 shared 1 : 3 as on screen
        QCOMPARE(printer.PrintedWidth(1), 600.0);
        QCOMPARE(printer.Origin(), QPoint(50, 20));
        QCOMPARE(printer.BlockLeft(), 50.0);
        const std::vector<CGridPrintRowBand> bands = printer.RowBands(1);
        QCOMPARE(static_cast<int>(bands.size()), 40);
        QCOMPARE(bands.front().top, 20.0);
        QCOMPARE(bands.back().bottom, 20.0 + 40 * rowHeight);

        // Weights instead of the screen widths; the area half as high: text at 0.5.
        layout.columnWeights = {1.0, 1.0};
        layout.area.setHeight(qRound(20 * rowHeight));
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, 39, layout), 1);
        QVERIFY(qAbs(printer.TextScale() - 0.5) < 1e-9);
        QCOMPARE(printer.PrintedWidth(0), 800.0); // logical units: 400 device pixels each
        QCOMPARE(printer.PrintedWidth(1), 800.0);
        QCOMPARE(printer.RowBands(1).back().bottom, 20.0 + 20 * rowHeight);

        // Smaller still would go under the least scale: pages start only at rows 0, 15
        // and 30, as few pages as that scale needs (15 + 15 + 10 rows on 20), and the
        // text as large as the tallest page lets it be.
        layout.area.setHeight(qRound(10 * rowHeight));
        layout.breakRows = {15, 30};
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, 39, layout), 3);
        QVERIFY(qAbs(printer.TextScale() - 10.0 / 15.0) < 1e-3);
        CGridPrintPage page;
        QVERIFY(printer.GetPage(1, &page));
        QCOMPARE(page.firstRow, 0);
        QCOMPARE(page.lastRow, 14);
        QVERIFY(printer.GetPage(3, &page));
        QCOMPARE(page.firstRow, 30);
        QCOMPARE(page.lastRow, 39);
        // Shared out evenly: four blocks of 10 rows on pages that take 30 at the least
        // scale need two pages; 20 + 20 rather than 30 + 10, the text at 15 / 20.
        layout.area.setHeight(qRound(15 * rowHeight));
        layout.breakRows = {10, 20, 30};
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, 39, layout), 2);
        QVERIFY(printer.GetPage(1, &page));
        QCOMPARE(page.lastRow, 19);
        QVERIFY(printer.GetPage(2, &page));
        QCOMPARE(page.firstRow, 20);
        QCOMPARE(page.lastRow, 39);
        QVERIFY(qAbs(printer.TextScale() - 0.75) < 1e-3);
        layout.area.setHeight(qRound(10 * rowHeight));
        // A block taller than a page at the least scale shrinks the text for it instead
        // of being cut.
        layout.breakRows = {30};
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, 39, layout), 2);
        QVERIFY(qAbs(printer.TextScale() - 1.0 / 3.0) < 1e-9);

        // The classic layout again after a fitted one.
        printer.PrintPrepare(paper, 0, 0, 1, 39);
        QVERIFY(!printer.IsFitted());
        QCOMPARE(printer.PrintedWidth(0), 118.0);
        QCOMPARE(printer.PrintPrepareFit(paper, 0, 0, 1, -1, layout), 0);
    }

    void options() {
        PlainHost host({100});
        CGridPrinter printer(*host.grid);
        QCOMPARE(printer.SetPrintOption(1, 1), 0);
        QCOMPARE(printer.SetPrintOption(4, 10), 0);
        QCOMPARE(printer.SetPrintOption(10, 7), 0);
        QCOMPARE(printer.SetPrintOption(9, 5), 0); // unknown: ignored, still 0
        const CGridPrintOptions& o = host.grid->GetPrintOptions();
        QCOMPARE(o.printTopHeadings, 1);
        QCOMPARE(o.topMargin, 10);
        QCOMPARE(o.outline, 1);
        QCOMPARE(o.leftMargin, 25);
        printer.SetPrintOption(10, 0);
        QCOMPARE(o.outline, 0);
    }

    // Printable width 700 screen pixels: (234.7 - 25 - 25) mm x 3.79. Columns print 1.18
    // times as wide as on screen, and are laid out at that width.
    void columnPagination_data() {
        QTest::addColumn<QVector<int>>("widths");
        QTest::addColumn<int>("sideHeadings");
        QTest::addColumn<Spans>("expected");
        QTest::newRow("300 px on 700") << QVector<int>{100, 100, 100} << 0 << Spans{{0, 2}};
        QTest::newRow("wide column alone")
            << QVector<int>{100, 800, 100} << 0 << Spans{{0, 0}, {1, 1}, {2, 2}};
        QTest::newRow("overflow starts next page")
            << QVector<int>{250, 250, 250} << 0 << Spans{{0, 1}, {2, 2}};
        QTest::newRow("printed width just fits") << QVector<int>{296, 297} << 0 << Spans{{0, 1}};
        QTest::newRow("printed width just passes")
            << QVector<int>{297, 297} << 0 << Spans{{0, 0}, {1, 1}};
        QTest::newRow("side heading on every page")
            << QVector<int>{300, 300} << 1 << Spans{{0, 0}, {1, 1}};
        QTest::newRow("zero-width columns") << QVector<int>{0, 500, 0, 0} << 0 << Spans{{0, 3}};
    }
    void columnPagination() {
        QFETCH(QVector<int>, widths);
        QFETCH(int, sideHeadings);
        QFETCH(Spans, expected);
        PlainHost host(widths);
        CGridPrinter printer(*host.grid);
        printer.SetPrintOption(2, sideHeadings);
        const int pages =
            printer.PrintPrepare(Paper(234.7, 300.0, 600), 0, 0, widths.size() - 1, 0);
        QCOMPARE(printer.PrintableSize().width(), 700);
        QCOMPARE(ColumnSpans(printer), expected);
        QCOMPARE(pages, expected.size());
    }

    // Rows of 20 under a printed heading of 20 on a printable height of 100: four rows a
    // page. Three columns of 250 make two column pages; pages run across before down.
    void pagesAcrossBeforeDown() {
        PlainHost host({250, 250, 250}, 10);
        host.grid->SetDefaultRowHeight(20);
        CGridPrinter printer(*host.grid);
        printer.SetPrintOption(1, 1);
        printer.SetPrintOption(4, 10);
        printer.SetPrintOption(6, 100);
        // (136.46 - 10 - 100) x 3.78 = 100.02.
        QCOMPARE(printer.PrintPrepare(Paper(234.7, 136.46, 600), 0, 0, 2, 9), 6);
        QCOMPARE(printer.PrintableSize(), QSize(700, 100));
        QCOMPARE(printer.ColumnPageCount(), 2);
        QCOMPARE(printer.RowPageCount(), 3);
        const struct {
            int page, c0, c1, r0, r1;
        } expected[] = {{1, 0, 1, 0, 3}, {2, 2, 2, 0, 3}, {3, 0, 1, 4, 7},
                        {4, 2, 2, 4, 7}, {5, 0, 1, 8, 9}, {6, 2, 2, 8, 9}};
        for (const auto& e : expected) {
            CGridPrintPage page;
            QVERIFY(printer.GetPage(e.page, &page));
            QCOMPARE(page.firstColumn, e.c0);
            QCOMPARE(page.lastColumn, e.c1);
            QCOMPARE(page.firstRow, e.r0);
            QCOMPARE(page.lastRow, e.r1);
        }
        QVERIFY(!printer.GetPage(0, nullptr));
        QVERIFY(!printer.GetPage(7, nullptr));

        // A new layout replaces the old one; an empty block has no pages.
        QCOMPARE(printer.PrintPrepare(Paper(234.7, 136.46, 600), 0, 0, 2, -1), 0);
        QCOMPARE(printer.PageCount(), 0);
    }

    // The origin: left margin x printer pixels per mm / 8, top margin x pixels per mm / 3.
    void origin() {
        PlainHost host({100});
        CGridPrinter printer(*host.grid);
        printer.SetPrintOption(4, 10);
        printer.PrintPrepare(Paper(234.7, 300.0, 600), 0, 0, 0, 0);
        QCOMPARE(printer.Origin(), QPoint(73, 78)); // 590.6 -> 591 / 8, 236.2 -> 236 / 3
        printer.PrintPrepare(Paper(234.7, 300.0, 300), 0, 0, 0, 0);
        QCOMPARE(printer.Origin(), QPoint(36, 39)); // 295.3 -> 295 / 8, 118.1 -> 118 / 3
        // The physical offsets do not move the origin: it is counted from the printable area.
        printer.PrintPrepare(Paper(234.7, 300.0, 600, 100, 120), 0, 0, 0, 0);
        QCOMPARE(printer.Origin(), QPoint(73, 78));
    }

    // Whatever the resolution and orientation, every page of a roster from a wide window
    // stays on the printable area: origin plus the printed columns and rows (headings
    // included) never pass its edge.
    void pagesStayOnThePaper_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("landscape");
        for (int dpi : {96, 300, 600, 1200})
            for (bool landscape : {false, true})
                QTest::addRow("%d dpi %s", dpi, landscape ? "landscape" : "portrait")
                    << dpi << landscape;
    }
    void pagesStayOnThePaper() {
        QFETCH(int, dpi);
        QFETCH(bool, landscape);
        PrintTest::RosterHost host(1000);
        host.grid->Fill(3, 31, 12);
        CGridPrinter printer(*host.grid);
        const CPrintDeviceMeasures m = landscape ? Paper(297, 210, dpi, dpi / 6, dpi / 6)
                                                 : Paper(210, 297, dpi, dpi / 6, dpi / 6);
        const int pages = printer.PrintPrepare(m, 0, 0, 13, host.grid->GetRowCount() - 1);
        QVERIFY(pages > 1);
        const double screenWidth = double(m.horzRes) * printer.ScreenDpiX() / dpi;
        const double screenHeight = double(m.vertRes) * printer.ScreenDpiY() / dpi;
        int rowsSeen = 0, columnsSeen = 0;
        for (int p = 1; p <= pages; ++p) {
            CGridPrintPage page;
            QVERIFY(printer.GetPage(p, &page));
            double right = printer.Origin().x();
            for (int c = page.firstColumn; c <= page.lastColumn; ++c)
                right += printer.PrintedWidth(c);
            double bottom = printer.Origin().y() + printer.PrintedHeight(-1);
            for (int r = page.firstRow; r <= page.lastRow; ++r)
                bottom += printer.PrintedHeight(r);
            QVERIFY2(
                right <= screenWidth,
                qPrintable(QString("page %1 right %2 > %3").arg(p).arg(right).arg(screenWidth)));
            QVERIFY2(
                bottom <= screenHeight,
                qPrintable(QString("page %1 bottom %2 > %3").arg(p).arg(bottom).arg(screenHeight)));
            if (page.firstColumn == 0)
                rowsSeen += page.lastRow - page.firstRow + 1;
            if (page.firstRow == 0)
                columnsSeen += page.lastColumn - page.firstColumn + 1;
        }
        // Every row and every column is printed exactly once.
        QCOMPARE(rowsSeen, host.grid->GetRowCount());
        QCOMPARE(columnsSeen, 14);
    }

    // What a page puts where: at 2 device pixels per screen pixel, the heading row, the
    // cells' colours at the scaled positions, the outline, and nothing for pages the
    // layout did not make.
    void pageDrawing() {
        PlainHost host({50, 50}, 3);
        CCellGrid& grid = *host.grid;
        grid.SetDefaultRowHeight(20);
        grid.SetCellText(0, -1, QStringLiteral("A"));
        CCellRecord rec;
        grid.GetCell(0, 0, &rec);
        rec.SetBackColor(GridRGB(255, 0, 0));
        grid.SetCell(0, 0, &rec);
        grid.GetCell(1, 0, &rec);
        rec.SetBackColor(GridRGB(0, 255, 0));
        grid.SetCell(1, 0, &rec);
        CGridPrinter printer(grid);
        printer.SetPrintOption(1, 1);
        printer.SetPrintOption(4, 10);
        printer.SetPrintOption(6, 10);

        const int dpi = 2 * printer.ScreenDpiX();
        QImage image = Page(1000, 1000, dpi);
        QCOMPARE(printer.PrintPrepare(&image, nullptr, 0, 0, 1, 2), 1);
        const QPoint o = printer.Origin();
        {
            QPainter painter(&image);
            QCOMPARE(printer.PrintPage(&painter, 0), 0);
            QCOMPARE(printer.PrintPage(&painter, 2), 0);
        }
        QCOMPARE(image, Page(1000, 1000, dpi)); // nothing printed

        {
            QPainter painter(&image);
            QCOMPARE(printer.PrintPage(&painter, 1), 0);
            // The painter is left as it was found.
            QVERIFY(painter.transform().isIdentity());
        }
        // Heading row: logical y o.y .. o.y + 20, in the button-face colour.
        QCOMPARE(At(image, 2 * (o.x() + 4), 2 * (o.y() + 10)),
                 GetGridSysColor(GridSysColor::ButtonFace));
        // Row 0 below it; column 0 is 59 logical units wide (50 x 1.18).
        QCOMPARE(At(image, 2 * (o.x() + 30), 2 * (o.y() + 30)), GridRGB(255, 0, 0));
        QCOMPARE(At(image, 2 * (o.x() + 59 + 30), 2 * (o.y() + 30)), GridRGB(0, 255, 0));
        // The outline along the top of row 0.
        QCOMPARE(At(image, 2 * (o.x() + 30), 2 * (o.y() + 20)), GridRGB(0, 0, 0));
        // Nothing right of the last column (118 logical units) or left of the origin.
        QCOMPARE(At(image, 2 * (o.x() + 118) + 4, 2 * (o.y() + 30)), GridRGB(255, 255, 255));
        QCOMPARE(At(image, 2 * o.x() - 4, 2 * (o.y() + 30)), GridRGB(255, 255, 255));

        // Without the outline the top of row 0 is the cell's own colour.
        printer.SetPrintOption(10, 0);
        QImage plain = Page(1000, 1000, dpi);
        {
            QPainter painter(&plain);
            printer.PrintPage(&painter, 1);
        }
        QCOMPARE(At(plain, 2 * (o.x() + 30), 2 * (o.y() + 20)), GridRGB(255, 0, 0));
    }

    // A joined block cut by a page boundary: the page where it starts prints it up to the
    // page's edge and not beyond; the next page prints the visible rest, with the block's
    // own contents. The grid's joins are left as they were.
    void joinedBlockAcrossPages() {
        PlainHost host({250, 250, 250}, 2);
        CCellGrid& grid = *host.grid;
        grid.JoinCells(1, 0, 2, 1);
        CCellRecord rec;
        grid.GetCell(1, 0, &rec);
        rec.SetBackColor(GridRGB(0, 0, 255));
        rec.SetText(QStringLiteral("Bloque"));
        grid.SetCell(1, 0, &rec);
        CGridPrinter printer(grid);
        printer.SetPrintOption(10, 0);
        const int dpi = printer.ScreenDpiX();
        QImage first = Page(1000, 1200, dpi);
        QCOMPARE(printer.PrintPrepare(&first, nullptr, 0, 0, 2, 1), 2);
        const QPoint o = printer.Origin();
        QImage second = first;
        {
            QPainter painter(&first);
            printer.PrintPage(&painter, 1);
        }
        {
            QPainter painter(&second);
            printer.PrintPage(&painter, 2);
        }
        // Page 1: columns 0 and 1 (295 each); the block fills column 1 and stops there.
        QCOMPARE(At(first, o.x() + 295 + 100, o.y() + 10), GridRGB(0, 0, 255));
        QCOMPARE(At(first, o.x() + 590 + 20, o.y() + 10), GridRGB(255, 255, 255));
        // Page 2: column 2 alone, covered by the rest of the block over both rows.
        QCOMPARE(At(second, o.x() + 100, o.y() + 10), GridRGB(0, 0, 255));
        QCOMPARE(At(second, o.x() + 100, o.y() + 30), GridRGB(0, 0, 255));
        int sc = 0, sr = 0, ec = 0, er = 0;
        QCOMPARE(grid.GetJoinRange(2, 1, &sc, &sr, &ec, &er), 0);
        QCOMPARE(QVector<int>({sc, sr, ec, er}), QVector<int>({1, 0, 2, 1}));
    }

    // Measures read from a device: a page with margins has its printable area inside the
    // paper, at the margins.
    void measuresFromDevice() {
        QImage image = Page(600, 300, 150);
        const CPrintDeviceMeasures m = CPrintDeviceMeasures::FromDevice(&image);
        QCOMPARE(m.horzRes, 600);
        QCOMPARE(m.physWidth, 600);
        QCOMPARE(m.offsetX, 0);
        QCOMPARE(m.dpiX, 150);
        QVERIFY(qAbs(m.horzSizeMm - 101.6) < 0.01);
    }
};

QTEST_MAIN(GridPrinterTest)
#include "GridPrinterTest.moc"
