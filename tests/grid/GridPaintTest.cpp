// What the grid paints, read back from pictures of its windows: grid lines, thin, medium
// and thick borders, 3-D heading frames, joined blocks, the empty area, highlighting of the
// current cell and row, text running over empty cells, fonts owned by the grid's owner,
// check boxes, arrows, and when the scroll bars show.

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QtTest>

namespace {
constexpr GridColor kBlack = 0x000000;
constexpr GridColor kRed = 0x0000FF;

// A grid set up like the program's lists and roster: pale yellow cells and empty area.
class PaleGrid : public CCellGrid {
public:
    QPen black{QColor(Qt::black), 1};
    bool blackPen = false;

    void OnGridSetup() override {
        CCellRecord def;
        GetGridDefault(&def);
        def.SetBackColor(kPaleYellow);
        def.SetAlignment(GridAlign::VCenter);
        if (blackPen)
            def.SetBorderPen(&black);
        SetGridDefault(&def);
    }
    GridColor OnGetDefaultBackColor(int section) override {
        return section == GridSection::CellArea ? kPaleYellow
                                                : GetGridSysColor(GridSysColor::ButtonFace);
    }
};

// Rows and columns of an image holding a colour other than the background.
QRect InkBox(const QImage& image, const QRect& area, GridColor background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (GridTest::ColorAt(image, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Columns and rows of the default size; the current cell (highlighted) is put in the last
// one, out of the way of the pixels the tests read.
void Fill(CCellGrid& g, int columns, int rows) {
    g.SetColumnCount(columns, 1);
    g.SetRowCount(rows, 1);
    g.SetUniformRowHeight(1);
    g.GotoCell(columns - 1, rows - 1);
}
} // namespace

class GridPaintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void plainCellsShowLightGreyLinesAndThePaleEmptyArea() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 3, 3);
        const QImage image = GridTest::Picture(g.CellArea());
        QCOMPARE(GridTest::ColorAt(image, 10, 5), kPaleYellow);
        QCOMPARE(GridTest::ColorAt(image, 74, 5), kGridLineColor);   // right line of column 0
        QCOMPARE(GridTest::ColorAt(image, 10, 19), kGridLineColor);  // bottom line of row 0
        QCOMPARE(GridTest::ColorAt(image, 75, 5), kPaleYellow);      // column 1 starts clean
        QCOMPARE(GridTest::ColorAt(image, 250, 5), kPaleYellow);     // right of the columns
        QCOMPARE(GridTest::ColorAt(image, 10, 100), kPaleYellow);    // below the rows
        QCOMPARE(GridTest::ColorAt(image, 224, 59), kGridLineColor); // last cell's corner
    }

    void emptyAreaComesFromTheHook() {
        GridTest::Host<CCellGrid> host(QSize(400, 200));
        Fill(*host.grid, 1, 1);
        const QImage image = GridTest::Picture(host->CellArea());
        QCOMPARE(GridTest::ColorAt(image, 300, 150), GetGridSysColor(GridSysColor::Window));
    }

    void bordersAreDrawnInsideTheCell() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.blackPen = true;
        g.OnGridSetup();
        Fill(g, 3, 3);
        g.SetCellBorder(1, 1, GridBorder::ThickTop);
        g.SetCellBorder(0, 1, GridBorder::MediumLeft);
        g.SetCellBorder(2, 1, 0x20D);
        g.RedrawAll();
        const QImage image = GridTest::Picture(g.CellArea());
        // Thick top of (1,1): three black rows, then the background.
        for (int y = 20; y < 23; ++y)
            QCOMPARE(GridTest::ColorAt(image, 100, y), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 100, 23), kPaleYellow);
        // Medium left of (0,1): two black columns.
        QCOMPARE(GridTest::ColorAt(image, 0, 30), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 1, 30), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 2, 30), kPaleYellow);
        // 0x20D: thick top, thin left, right and bottom in the cell's own pen.
        QCOMPARE(GridTest::ColorAt(image, 180, 22), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 180, 23), kPaleYellow);
        QCOMPARE(GridTest::ColorAt(image, 150, 30), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 224, 30), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 180, 39), kBlack);
        QCOMPARE(GridTest::ColorAt(image, 151, 30), kPaleYellow);
        // A cell whose border asks for nothing keeps the light grey lines, even with a
        // black border pen.
        QCOMPARE(GridTest::ColorAt(image, 74, 5), kGridLineColor);
        QCOMPARE(GridTest::ColorAt(image, 10, 19), kGridLineColor);
    }

    void headingsHaveARaisedFrame() {
        GridTest::Host<CCellGrid> host(QSize(400, 200));
        Fill(*host.grid, 2, 2);
        host->SetCellText(0, -1, QStringLiteral("Servicios"));
        const QImage image = GridTest::Picture(host->TopHeading());
        QCOMPARE(GridTest::ColorAt(image, 0, 0), kWhite);
        QCOMPARE(GridTest::ColorAt(image, 74, 19), GetGridSysColor(GridSysColor::ButtonShadow));
        QCOMPARE(GridTest::ColorAt(image, 3, 3), GetGridSysColor(GridSysColor::ButtonFace));
        // The text is centred: ink in the middle of the cell, none near its edges.
        const QRect ink =
            InkBox(image, QRect(2, 2, 71, 16), GetGridSysColor(GridSysColor::ButtonFace));
        QVERIFY(ink.isValid());
        QVERIFY(qAbs(ink.center().x() - 37) <= 2);
        // The strip right of the last column has the heading background.
        QCOMPARE(GridTest::ColorAt(image, 300, 10), GetGridSysColor(GridSysColor::ButtonFace));
    }

    void joinedBlockIsOneCell() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 3, 3);
        g.JoinCells(0, 0, 1, 1);
        CCellRecord r;
        g.GetCell(0, 0, &r);
        r.SetBackColor(kRed);
        g.SetCell(0, 0, &r);
        g.GetCell(1, 1, &r);
        r.SetBackColor(kBlack); // not the start: never shown
        g.SetCell(1, 1, &r);
        g.RedrawAll();
        const QImage image = GridTest::Picture(g.CellArea());
        QCOMPARE(GridTest::ColorAt(image, 74, 5), kRed);  // no line inside the block
        QCOMPARE(GridTest::ColorAt(image, 10, 19), kRed); // nor between its rows
        QCOMPARE(GridTest::ColorAt(image, 120, 30), kRed);
        QCOMPARE(GridTest::ColorAt(image, 149, 30), kGridLineColor);
        QCOMPARE(GridTest::ColorAt(image, 120, 39), kGridLineColor);
        QCOMPARE(GridTest::ColorAt(image, 180, 30), kPaleYellow);
    }

    void currentCellAndRowAreHighlighted() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 3, 3);
        const GridColor highlight = GetGridSysColor(GridSysColor::Highlight);
        QCOMPARE(g.GotoCell(1, 1), 0);
        QImage image = GridTest::Picture(g.CellArea());
        QCOMPARE(GridTest::ColorAt(image, 100, 25), highlight);
        QCOMPARE(GridTest::ColorAt(image, 10, 25), kPaleYellow);
        g.SetRowHighlight(1);
        image = GridTest::Picture(g.CellArea());
        for (int x : {10, 100, 180})
            QCOMPARE(GridTest::ColorAt(image, x, 25), highlight);
        QCOMPARE(GridTest::ColorAt(image, 10, 5), kPaleYellow);
        QCOMPARE(GridTest::ColorAt(image, 10, 45), kPaleYellow);
        // Headings never show the current cell.
        const QImage heading = GridTest::Picture(g.TopHeading());
        QCOMPARE(GridTest::ColorAt(heading, 100, 10), GetGridSysColor(GridSysColor::ButtonFace));
    }

    void focusRectangleLiesInsideTheRightAndBottomEdges() {
        CCellGrid g;
        QImage image(12, 12, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter dc(&image);
            g.OnDrawFocusRect(&dc, QRect(0, 0, 10, 10));
        }
        QCOMPARE(InkBox(image, QRect(0, 0, 12, 12), kWhite), QRect(0, 0, 9, 9));
        // Dotted: every other pixel of an edge.
        int dots = 0;
        for (int x = 1; x < 8; ++x) {
            const bool dot = GridTest::ColorAt(image, x, 0) == kBlack;
            dots += dot ? 1 : 0;
            if (dot)
                QCOMPARE(GridTest::ColorAt(image, x + 1, 0), kWhite);
        }
        QVERIFY(dots >= 3);
    }

    void focusedCellAreaShowsTheFocusRectangle() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 3, 3);
        g.GotoCell(1, 1);
        const GridColor highlight = GetGridSysColor(GridSysColor::Highlight);
        host.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.window.get()));
        g.CellArea()->setFocus();
        QTRY_VERIFY(g.CellArea()->HasFocusNoted());
        QImage image = GridTest::Picture(g.CellArea());
        // Dots along the cell's edges, none on its last column and row of pixels (the grid
        // lines there stay light grey).
        QVERIFY(InkBox(image, QRect(75, 20, 74, 19), highlight).isValid());
        QCOMPARE(GridTest::ColorAt(image, 149, 30), kGridLineColor);
        QCOMPARE(GridTest::ColorAt(image, 100, 39), kGridLineColor);
        g.SetRowHighlight(1);
        image = GridTest::Picture(g.CellArea());
        QVERIFY(InkBox(image, QRect(0, 20, 74, 19), highlight).isValid());
        QVERIFY(InkBox(image, QRect(1, 20, 70, 1), highlight).isValid());
        // Without the focus the current row is plain highlight up to its grid lines.
        g.CellArea()->clearFocus();
        QTRY_VERIFY(!g.CellArea()->HasFocusNoted());
        image = GridTest::Picture(g.CellArea());
        QCOMPARE(InkBox(image, QRect(0, 20, 224, 19), highlight), QRect(74, 20, 76, 19));
    }

    void textRunsOverEmptyCells() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 3, 2);
        g.SetCellText(0, 0, QStringLiteral("Una descripción bastante larga del turno"));
        g.SetCellText(0, 1, QStringLiteral("Corta"));
        g.RedrawAll();
        QImage image = GridTest::Picture(g.CellArea());
        QVERIFY(InkBox(image, QRect(76, 1, 72, 17), kPaleYellow).isValid());
        QVERIFY(!InkBox(image, QRect(76, 21, 72, 17), kPaleYellow).isValid());
        g.SetTextOverflow(0);
        image = GridTest::Picture(g.CellArea());
        QVERIFY(!InkBox(image, QRect(76, 1, 72, 17), kPaleYellow).isValid());
        // A neighbour with text of its own stops the run.
        g.SetTextOverflow(1);
        g.SetCellText(1, 0, QStringLiteral(" "));
        image = GridTest::Picture(g.CellArea());
        QVERIFY(!InkBox(image, QRect(76, 1, 72, 17), kPaleYellow).isValid());
    }

    void cellsFollowTheFontObjectTheyReferTo() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 1, 2);
        g.SetDefaultRowHeight(60);
        g.SetColumnWidth(0, 300);
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(10);
        g.SetCellText(0, 0, QStringLiteral("HHHH"));
        g.SetCellFont(0, 0, &font);
        const QRect area(1, 1, 290, 57);
        const int small = InkBox(GridTest::Picture(g.CellArea()), area, kPaleYellow).height();
        // The owner replaces the contents of its font object; the cell follows.
        font = QFont(QStringLiteral("Sans Serif"));
        font.setPixelSize(30);
        g.RedrawAll();
        const int large = InkBox(GridTest::Picture(g.CellArea()), area, kPaleYellow).height();
        QVERIFY2(large > small * 2, qPrintable(QStringLiteral("%1 vs %2").arg(large).arg(small)));
    }

    void checkBoxNeedsRoomForItsBox() {
        GridTest::Host<PaleGrid> host(QSize(400, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 2, 2);
        g.SetUniformRowHeight(0);
        g.SetRowHeight(0, 10);
        g.SetRowHeight(1, 20);
        for (int r = 0; r < 2; ++r) {
            CCellRecord rec;
            rec.SetCellType(GridCellType::CheckBox);
            rec.SetNumber(1);
            g.SetCell(0, r, &rec);
        }
        const QImage image = GridTest::Picture(g.CellArea());
        // 10 pixels high: side 4, no box at all.
        QVERIFY(!InkBox(image, QRect(0, 0, 20, 9), kPaleYellow).isValid());
        // 20 pixels high: a 12-pixel box 3 pixels from the left, with its mark.
        const QRect box = InkBox(image, QRect(0, 10, 20, 9), kPaleYellow);
        QVERIFY(box.isValid());
        QCOMPARE(box.left(), 3);
        QCOMPARE(box.width(), 12);
    }

    void arrowsInHeadingCells() {
        GridTest::Host<CCellGrid> host(QSize(400, 200));
        CCellGrid& g = *host.grid;
        Fill(g, 4, 1);
        const int styles[] = {0x80, 0x20, 0, 0x40};
        for (int c = 0; c < 4; ++c) {
            g.SetCellTypeIndex(c, -1, GridCellType::Arrow);
            g.SetCellTypeStyle(c, -1, styles[c]);
        }
        const QImage image = GridTest::Picture(g.TopHeading());
        const GridColor face = GetGridSysColor(GridSysColor::ButtonFace);
        const QRect twoLeft = InkBox(image, QRect(2, 2, 71, 16), face);
        const QRect oneLeft = InkBox(image, QRect(77, 2, 71, 16), face);
        QCOMPARE(oneLeft.height(), 7);
        QCOMPARE(oneLeft.width(), 4);
        QCOMPARE(twoLeft.width(), 9);
        // A left-pointing triangle has its tip (one pixel) on the left.
        QCOMPARE(GridTest::ColorAt(image, oneLeft.left(), oneLeft.top()), face);
        QCOMPARE(GridTest::ColorAt(image, oneLeft.right(), oneLeft.top()),
                 GetGridSysColor(GridSysColor::WindowText));
    }

    void lockedColumnsAndRowsStayWhileTheRestScrolls() {
        GridTest::Host<PaleGrid> host(QSize(300, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 10, 30);
        g.GotoCell(9, 29); // out of the way
        // Every cell's background tells its column and row.
        auto colour = [](int c, int r) { return GridRGB(10 + c * 20, 10 + r * 5, 100); };
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 10; ++c) {
                CCellRecord rec;
                rec.SetBackColor(colour(c, r));
                g.SetCell(c, r, &rec);
            }
        QCOMPARE(g.LockColumns(1), 0);
        QCOMPARE(g.LockRows(2), 0);
        QCOMPARE(g.LockColumns(10), 1);
        QCOMPARE(g.SetLeftColumn(4), 0);
        QCOMPARE(g.SetTopRow(10), 0);
        QCOMPARE(g.SetTopRow(1), 0); // not above the locked rows
        QCOMPARE(g.GetTopRow(), 2);
        g.SetTopRow(10);
        const QImage image = GridTest::Picture(g.CellArea());
        QCOMPARE(GridTest::ColorAt(image, 30, 50), colour(0, 10));  // locked column
        QCOMPARE(GridTest::ColorAt(image, 100, 50), colour(4, 10)); // then the left column
        QCOMPARE(GridTest::ColorAt(image, 100, 10), colour(4, 0));  // locked row
        QCOMPARE(GridTest::ColorAt(image, 100, 30), colour(4, 1));
        QCOMPARE(GridTest::ColorAt(image, 30, 10), colour(0, 0));
        // Clicks find the cells where they are drawn.
        int column = -1, row = -1;
        QCOMPARE(g.GetCellFromPoint(QPoint(100, 50), &column, &row), 0);
        QCOMPARE(column, 4);
        QCOMPARE(row, 10);
        // Moving to a scrolled-away cell brings it back next to the locked ones.
        QCOMPARE(g.GotoCell(2, 5), 0);
        QCOMPARE(g.GetLeftColumn(), 2);
        QCOMPARE(g.GetTopRow(), 5);
    }

    void scrolledPictureMatchesAFreshOne() {
        // What the window shows after moves that scroll the existing picture must equal a
        // full repaint of the same state.
        GridTest::Host<PaleGrid> host(QSize(300, 200));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        Fill(g, 10, 60);
        for (int r = 0; r < 60; ++r)
            for (int c = 0; c < 10; ++c)
                g.SetCellText(c, r, QStringLiteral("%1-%2").arg(c).arg(r));
        g.GotoCell(0, 0);
        g.RedrawAll();
        QApplication::processEvents();
        QWidget* window = host.window.get();
        auto shown = [&] {
            QApplication::processEvents();
            return window->screen()
                ->grabWindow(window->winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        const QImage first = shown();
        if (first.size() != window->size())
            QSKIP("this platform cannot read back the window");
        QCOMPARE(first, GridTest::Picture(window));
        const QList<QPoint> moves = {{0, 1}, {0, 5}, {1, 5}, {1, 20}, {3, 22}, {0, 0}};
        for (const QPoint& to : moves) {
            QCOMPARE(g.GotoCell(to.x(), to.y()), 0);
            QCOMPARE(shown(), GridTest::Picture(window));
        }
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), -120);
        QCOMPARE(shown(), GridTest::Picture(window));
        g.HScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(shown(), GridTest::Picture(window));
        g.SetRowHighlight(1);
        for (const QPoint& to : {QPoint(2, 30), QPoint(2, 31), QPoint(0, 3)}) {
            QCOMPARE(g.GotoCell(to.x(), to.y()), 0);
            QCOMPARE(shown(), GridTest::Picture(window));
        }
        // A divider drag: the tracking line goes and the cells are repainted at the end.
        QWidget* top = g.TopHeading();
        const int edge = g.GetColumnWidth(g.GetLeftColumn()) - 1;
        GridTest::Move(top, QPoint(edge, 5));
        GridTest::Press(top, QPoint(edge, 5));
        GridTest::Move(top, QPoint(edge + 30, 5), Qt::LeftButton);
        QApplication::processEvents();
        GridTest::Release(top, QPoint(edge + 30, 5));
        QCOMPARE(shown(), GridTest::Picture(window));
    }

    void perRowHeightsAreDrawnAndHit() {
        GridTest::Host<PaleGrid> host(QSize(300, 300));
        PaleGrid& g = *host.grid;
        g.OnGridSetup();
        g.SetColumnCount(2, 1);
        g.SetRowCount(4, 1);
        g.SetRowHeight(1, 45);
        g.SetRowHeight(2, 0); // hidden
        g.GotoCell(1, 3);
        const QImage image = GridTest::Picture(g.CellArea());
        QCOMPARE(GridTest::ColorAt(image, 10, 19), kGridLineColor);
        QCOMPARE(GridTest::ColorAt(image, 10, 40), kPaleYellow);
        QCOMPARE(GridTest::ColorAt(image, 10, 64), kGridLineColor);
        int column = -1, row = -1;
        g.GetCellFromPoint(QPoint(10, 70), &column, &row);
        QCOMPARE(row, 3); // row 2 has no height
        g.GetCellFromPoint(QPoint(10, 60), &column, &row);
        QCOMPARE(row, 1);
    }

    void scrollBarsShowOnlyWhenNeeded() {
        // Client 298 x 198: cells get 258 across (side heading 40) and 178 down.
        GridTest::Host<CCellGrid> host(QSize(300, 200));
        CCellGrid& g = *host.grid;
        g.SetColumnCount(3, 1);
        for (int c = 0; c < 3; ++c)
            g.SetColumnWidth(c, 70);
        g.SetUniformRowHeight(1);
        g.SetRowCount(8, 1);
        QVERIFY(g.VScrollBar()->isHidden());
        QVERIFY(g.HScrollBar()->isHidden());
        g.SetRowCount(9, 1);
        QVERIFY(!g.VScrollBar()->isHidden());
        QVERIFY(g.HScrollBar()->isHidden());
        // Columns that fit alone but not beside the vertical bar bring the other bar.
        for (int c = 0; c < 3; ++c)
            g.SetColumnWidth(c, 85);
        QVERIFY(!g.VScrollBar()->isHidden());
        QVERIFY(!g.HScrollBar()->isHidden());
        g.SetRowCount(1, 1);
        QVERIFY(g.VScrollBar()->isHidden());
        QVERIFY(g.HScrollBar()->isHidden());
        // Bars of width 0 never show (the date picker).
        g.SetVScrollWidth(0);
        g.SetRowCount(30, 1);
        QVERIFY(g.VScrollBar()->isHidden());
    }
};

QTEST_MAIN(GridPaintTest)
#include "GridPaintTest.moc"
