// The grid's operations: counts and their ranges, the current cell they create, defaults,
// stored against resolved cells, joins, heading sizes, return codes, the cell-type table,
// the move completion and its hooks, and taking over a dialog's placeholder.

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QLabel>
#include <QPaintEvent>
#include <QtTest>

namespace {
// Records the hooks a move fires, in order.
class RecordingGrid : public GridTest::MoveRecorder {
public:
    bool refuse = false;

    void OnGridSetup() override { calls << QStringLiteral("setup"); }
    void OnSheetSetup(int sheet) override { calls << QStringLiteral("sheet %1").arg(sheet); }
    int OnCanMove(int, int, int, int) override { return refuse ? 0 : 1; }
};

// Counts paint events of one window.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A cell type that counts how often it drew.
class CountingType : public CCellTypeHandler {
public:
    int draws = 0;
    void OnDraw(QPainter* dc, const QRect& rect, int column, int row, const CCellRecord& record,
                int selected, int current) override {
        ++draws;
        CCellTypeHandler::OnDraw(dc, rect, column, row, record, selected, current);
    }
};
} // namespace

class GridModelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void columnCountRangeAndCurrentColumn() {
        CCellGrid g;
        QCOMPARE(g.SetColumnCount(32001, 0), 1);
        QCOMPARE(g.GetColumnCount(), 0);
        QCOMPARE(g.SetColumnCount(-1, 0), 1);
        QCOMPARE(g.GetCurrentColumn(), -1);
        QCOMPARE(g.SetColumnCount(3, 0), 0);
        QCOMPARE(g.GetCurrentColumn(), 0);
        QCOMPARE(g.GetCurrentRow(), -1); // no rows yet
        QCOMPARE(g.SetColumnCount(0, 0), 0);
        QCOMPARE(g.GetCurrentColumn(), -1);
        QCOMPARE(g.SetColumnCount(32000, 0), 0);
        QCOMPARE(g.GetColumnWidth(31999), 75);
    }

    void rowCountRangeAndUniformHeights() {
        CCellGrid g;
        g.SetColumnCount(2, 0);
        QCOMPARE(g.SetRowCount(-1, 0), 1);
        QCOMPARE(g.SetRowCount(5, 0), 0);
        QCOMPARE(g.GetCurrentRow(), 0);
        QCOMPARE(g.GetUniformRowHeight(), 0);
        QCOMPARE(g.SetRowHeight(2, 33), 0);
        QCOMPARE(g.GetRowHeight(2), 33);
        QCOMPARE(g.GetRowHeight(5), 0);
        QCOMPARE(g.SetRowCount(64001, 0), 0);
        QCOMPARE(g.GetUniformRowHeight(), 1);
        QCOMPARE(g.GetRowHeight(2), 20);
        QCOMPARE(g.SetDefaultRowHeight(0), 1);
        QCOMPARE(g.SetDefaultRowHeight(1025), 1);
        QCOMPARE(g.SetDefaultRowHeight(16), 0);
        QCOMPARE(g.GetRowHeight(64000), 16);
        QCOMPARE(g.GetRowHeight(-1), 20); // the top heading row
    }

    void gridDefaultReachesOnlyColumnsMadeAfterIt() {
        CCellGrid g;
        g.SetColumnCount(1, 0);
        g.SetRowCount(1, 0);
        CCellRecord def;
        g.GetGridDefault(&def);
        def.SetBackColor(kPaleYellow);
        def.SetAlignment(GridAlign::VCenter);
        g.SetGridDefault(&def);
        g.SetColumnCount(2, 0);
        CCellRecord r;
        g.GetResolvedCell(0, 0, &r);
        QVERIFY(!r.Has(CCellRecord::PropBackColor));
        g.GetResolvedCell(1, 0, &r);
        QCOMPARE(r.GetBackColor(), kPaleYellow);
        QCOMPARE(r.GetAlignment(), int(GridAlign::VCenter));
    }

    void storedAgainstResolvedCells() {
        CCellGrid g;
        QFont font;
        CCellRecord def;
        def.SetBackColor(kPaleYellow);
        def.SetFont(&font);
        g.SetGridDefault(&def);
        g.SetColumnCount(2, 0);
        g.SetRowCount(2, 0);
        CCellRecord r;
        QCOMPARE(g.GetCell(1, 1, &r), 0);
        QCOMPARE(r.GetMask(), 0u);
        QCOMPARE(r.GetText(), QString());
        QCOMPARE(r.GetDataType(), 1);
        g.GetResolvedCell(1, 1, &r);
        QCOMPARE(r.GetBackColor(), kPaleYellow);
        QCOMPARE(r.GetFont(), &font);
        // Headings start from the heading default: button face, raised frame, centred.
        g.GetResolvedCell(0, -1, &r);
        QCOMPARE(r.GetBorder(), int(GridBorder::Raised));
        QCOMPARE(r.GetAlignment(), 36);
        QCOMPARE(r.GetBackColor(), GetGridSysColor(GridSysColor::ButtonFace));
        QCOMPARE(g.GetCell(2, 0, &r), 1); // beyond the columns
    }

    void setCellReplacesTheStoredRecord() {
        CCellGrid g;
        g.SetColumnCount(1, 0);
        g.SetRowCount(1, 0);
        CCellRecord r;
        r.SetText(QStringLiteral("a"));
        r.SetItemData(9);
        g.SetCell(0, 0, &r);
        CCellRecord onlyText;
        onlyText.SetText(QStringLiteral("b"));
        g.SetCell(0, 0, &onlyText);
        g.GetCell(0, 0, &r);
        QCOMPARE(r.GetItemData(), 0);
        // The single-property operations keep the rest.
        g.SetCellBorder(0, 0, 0x20D);
        QString text;
        g.GetCellText(0, 0, &text);
        QCOMPARE(text, QStringLiteral("b"));
        g.GetCell(0, 0, &r);
        QCOMPARE(r.GetBorder(), 0x20D);
        QCOMPARE(g.SetCellText(1, 0, QStringLiteral("x")), 1);
    }

    void deletingRowsEmptiesTheList() {
        CCellGrid g;
        g.SetColumnCount(1, 0);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(g.AppendRow(), 0);
            g.SetCellText(0, i, QString::number(i));
        }
        QCOMPARE(g.DeleteRow(4), 1);
        g.SetCellBorder(0, 4, GridBorder::ThickTop); // ahead of a row not appended yet
        QCOMPARE(g.DeleteRow(1), 0);
        QString text;
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("2"));
        g.SetCellText(0, -1, QStringLiteral("heading"));
        while (g.GetRowCount() > 0)
            QCOMPARE(g.DeleteRow(0), 0);
        QCOMPARE(g.GetCurrentRow(), -1);
        // Nothing comes back when rows are appended again; headings stay.
        g.AppendRow();
        CCellRecord r;
        g.GetCell(0, 0, &r);
        QCOMPARE(r.GetMask(), 0u);
        g.GetCellText(0, -1, &text);
        QCOMPARE(text, QStringLiteral("heading"));
        g.DeleteRow(0);
        QCOMPARE(g.DeleteRow(0), 1);
    }

    void joinsInCellsAndHeadings() {
        CCellGrid g;
        g.SetColumnCount(4, 0);
        g.SetRowCount(3, 0);
        QCOMPARE(g.JoinCells(0, -1, 1, -1), 0);
        int sc, sr, ec, er;
        QCOMPARE(g.GetJoinRange(1, -1, &sc, &sr, &ec, &er), 0);
        QCOMPARE(QList<int>({sc, sr, ec, er}), QList<int>({0, -1, 1, -1}));
        QCOMPARE(g.JoinCells(1, 0, 0, 0), 1);
        QCOMPARE(g.JoinCells(0, 0, 4, 0), 1);
        QCOMPARE(g.JoinCells(0, 0, 0, 3), 1);
        QCOMPARE(g.JoinCells(0, -2, 0, -1), 1); // only one heading row
        g.SetCellText(1, 1, QStringLiteral("kept"));
        QCOMPARE(g.JoinCells(1, 1, 2, 2), 0);
        QString text;
        g.GetCellText(1, 1, &text);
        QCOMPARE(text, QStringLiteral("kept"));
        CCellRecord r;
        g.GetCell(2, 2, &r);
        int start, rowOffset, columnOffset;
        QCOMPARE(r.GetJoinInfo(&start, &rowOffset, &columnOffset), 0);
        QCOMPARE(QList<int>({start, rowOffset, columnOffset}), QList<int>({0, -1, -1}));
        // A move into the block lands on its start.
        QCOMPARE(g.GotoCell(2, 2), 0);
        QCOMPARE(g.GetCurrentColumn(), 1);
        QCOMPARE(g.GetCurrentRow(), 1);
        QCOMPARE(g.UnjoinCells(2, 2), 0);
        QCOMPARE(g.GetJoinRange(1, 1, &sc, &sr, &ec, &er), 1);
    }

    void headingSizes() {
        CCellGrid g;
        QCOMPARE(g.SetTopHeadingRowHeight(0, 10), 1);
        QCOMPARE(g.SetTopHeadingRowHeight(-1, 2000), 2);
        QCOMPARE(g.SetTopHeadingRowHeight(-2, 10), 1);
        QCOMPARE(g.SetTopHeadingRowCount(0), 1);
        QCOMPARE(g.SetTopHeadingRowCount(65), 1);
        QCOMPARE(g.SetTopHeadingRowCount(2), 0);
        QCOMPARE(g.GetRowHeight(-2), 20);
        g.SetTopHeadingRowHeight(-1, 10);
        g.SetTopHeadingRowHeight(-2, 30);
        // Heights keep their proportions, rounded half up: 12.5 -> 13, 37.5 -> 38.
        QCOMPARE(g.SetTopHeadingHeight(50), 0);
        QCOMPARE(g.GetRowHeight(-1), 13);
        QCOMPARE(g.GetRowHeight(-2), 38);
        QCOMPARE(g.GetTopHeadingHeight(), 50);
        QCOMPARE(g.SetTopHeadingHeight(1025), 1);

        // A single side heading column follows the side heading width.
        QCOMPARE(g.SetSideHeadingWidth(0), 0);
        QCOMPARE(g.GetColumnWidth(-1), 0);
        QCOMPARE(g.SetSideHeadingWidth(30), 0);
        QCOMPARE(g.GetColumnWidth(-1), 0); // a total of 0 stays 0
        QCOMPARE(g.SetColumnWidth(-1, 44), 1);
        QCOMPARE(g.GetColumnWidth(-1), 44);
        QCOMPARE(g.GetSideHeadingWidth(), 44);
        QCOMPARE(g.SetColumnWidth(-1, 2000), 1);
        QCOMPARE(g.GetColumnWidth(-1), 44);
        QCOMPARE(g.GetColumnWidth(7), 1); // an invalid column
        int width = 0;
        QCOMPARE(g.GetColumnWidth(7, &width), 1);
        QCOMPARE(g.SetVScrollWidth(-1), 1);
        QCOMPARE(g.SetHScrollHeight(0), 0);
    }

    void optionRanges() {
        CCellGrid g;
        QCOMPARE(g.GetSelectionHighlight(), 1);
        QCOMPARE(g.SetSelectionHighlight(4), 1);
        QCOMPARE(g.SetSelectionHighlight(2), 0);
        QCOMPARE(g.SetVScrollMode(2), 1);
        QCOMPARE(g.SetHScrollMode(1), 0);
        QCOMPARE(g.SetPrintOption(1, 1), 0);
        QCOMPARE(g.SetPrintOption(4, 10), 0);
        QCOMPARE(g.SetPrintOption(10, 7), 0);
        QCOMPARE(g.SetPrintOption(99, 7), 0); // ignored
        int value = -1;
        QCOMPARE(g.GetPrintOption(1, &value), 0);
        QCOMPARE(value, 1);
        g.GetPrintOption(4, &value);
        QCOMPARE(value, 10);
        g.GetPrintOption(6, &value);
        QCOMPARE(value, 25);
        g.GetPrintOption(10, &value);
        QCOMPARE(value, 1);
        QCOMPARE(g.GetPrintOption(99, &value), 1);
    }

    void cellTypeTable() {
        CCellGrid g;
        QCOMPARE(g.GetCellType(0)->GetName(), QStringLiteral("Normal Cell Type (default)"));
        QCOMPARE(g.GetCellType(1)->GetName(), QStringLiteral("Standard DropList"));
        QCOMPARE(g.GetCellType(2)->GetName(), QStringLiteral("Standard CheckBox Type"));
        QCOMPARE(g.GetCellType(3)->GetIndex(), 3);
        QCOMPARE(g.GetCellType(57), g.GetCellType(0));
        QCOMPARE(g.GetCellType(-1), g.GetCellType(0));
        QVERIFY(g.GetCellType(1)->GetTypeId() != g.GetCellType(2)->GetTypeId());
        int last = -1;
        for (int i = 0; i < 12; ++i)
            last = g.AddCellType(std::make_unique<CountingType>());
        QCOMPARE(last, 15); // the table grew by ten slots twice
        QCOMPARE(g.GetCellType(15)->GetGrid(), &g);
        QCOMPARE(g.RemoveCellType(5), 0);
        QCOMPARE(g.GetCellType(5), g.GetCellType(0));
        QCOMPARE(g.AddCellType(std::make_unique<CountingType>()), 5);
        QCOMPARE(g.RemoveCellType(1), 1); // built-in types stay
    }

    void defaultHooks() {
        CCellGrid g;
        QString hint;
        QCOMPARE(g.OnHint(2, 5, 1, &hint), 1);
        QCOMPARE(hint, QStringLiteral("Col:2 Row:5"));
        CCellRecord a, b;
        QVERIFY(g.OnSortCompare(nullptr, &a, 0) < 0);
        QVERIFY(g.OnSortCompare(&a, nullptr, 0) > 0);
        b.SetText(QStringLiteral("x"));
        QVERIFY(g.OnSortCompare(&a, &b, 0) < 0); // without text first
        a.SetText(QStringLiteral("10"));
        b.SetText(QStringLiteral("9"));
        QVERIFY(g.OnSortCompare(&a, &b, 0) < 0); // as strings
        a.SetDataType(2);
        b.SetDataType(2);
        QVERIFY(g.OnSortCompare(&a, &b, 0) > 0); // as numbers
        QVERIFY(g.OnSortCompare(&a, &b, 2) < 0); // swapped
        a.SetText(QStringLiteral("b"));
        b.SetText(QStringLiteral("B"));
        QVERIFY(g.OnSortCompare(&a, &b, 0) > 0); // case-sensitive
        QCOMPARE(g.OnGetDefaultBackColor(GridSection::CellArea),
                 GetGridSysColor(GridSysColor::Window));
        QCOMPARE(g.OnGetDefaultBackColor(GridSection::TopHeading),
                 GetGridSysColor(GridSysColor::ButtonFace));
        QCOMPARE(g.OnCellTypeNotify(0, 0, 0, 53, 1), 1);
    }

    void moveCompletionFiresHooksInOrder() {
        GridTest::Host<RecordingGrid> host(QSize(400, 120));
        RecordingGrid& g = *host.grid;
        g.SetColumnCount(10, 0);
        g.SetRowCount(40, 0);
        g.SetUniformRowHeight(1);
        g.calls.clear();
        QCOMPARE(g.GotoCell(5, 30), 0);
        QCOMPARE(g.calls, QStringList({"col 0>5", "row 0>30", "cell 0,0>5,30",
                                       QStringLiteral("left 0>%1").arg(g.GetLeftColumn()),
                                       QStringLiteral("top 0>%1").arg(g.GetTopRow())}));
        QVERIFY(g.GetLeftColumn() > 0);
        QVERIFY(g.GetTopRow() > 0);
        g.calls.clear();
        QCOMPARE(g.GotoCell(5, 30), 0); // already there: nothing fires
        QVERIFY(g.calls.isEmpty());
        const int left = g.GetLeftColumn();
        QCOMPARE(g.GotoCell(left, 30), 0); // already in view: the view stays
        QCOMPARE(g.calls, QStringList({QStringLiteral("col 5>%1").arg(left),
                                       QStringLiteral("cell 5,30>%1,30").arg(left)}));
        g.refuse = true;
        g.calls.clear();
        QCOMPARE(g.GotoCell(0, 0), 2);
        QVERIFY(g.calls.isEmpty());
        QCOMPARE(g.GetCurrentColumn(), left);
        QCOMPARE(g.GetCurrentRow(), 30);
        g.refuse = false;
        QCOMPARE(g.GotoCell(10, 0), 1);
        QCOMPARE(g.GotoCell(0, 40), 1);
    }

    void redrawOffStopsOnlyRedrawAll() {
        GridTest::Host<CCellGrid> host(QSize(200, 120));
        CCellGrid& g = *host.grid;
        g.SetColumnCount(2, 1);
        g.SetRowCount(3, 1);
        QApplication::processEvents();
        PaintCounter counter;
        g.CellArea()->installEventFilter(&counter);
        g.EnableRedraw(0);
        g.SetCellText(0, 0, QStringLiteral("x"));
        g.SetRowCount(3, 1);
        g.RedrawAll();
        QApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        g.RedrawCell(0, 0);
        QApplication::processEvents();
        QCOMPARE(counter.paints, 1);
        // A new window size brings redraw back.
        host.window->resize(260, 160);
        g.resize(260, 160);
        QApplication::processEvents();
        QCOMPARE(g.IsRedrawEnabled(), 1);
    }

    void attachTakesThePlaceholdersPlace() {
        QWidget dialog;
        dialog.resize(300, 200);
        auto* before = new QLabel(&dialog);
        before->setObjectName("before");
        auto* placeholder = new QLabel(&dialog);
        placeholder->setGeometry(7, 31, 130, 96);
        placeholder->setProperty("dlgId", 1015);
        placeholder->setObjectName("id1015");
        auto* grid = new RecordingGrid;
        QCOMPARE(grid->AttachToDialogItem(&dialog, 999), 1);
        QCOMPARE(grid->AttachToDialogItem(&dialog, 1015), 0);
        QCOMPARE(grid->parentWidget(), &dialog);
        QCOMPARE(grid->geometry(), QRect(7, 31, 130, 96));
        QCOMPARE(grid->property("dlgId").toInt(), 1015);
        QCOMPARE(dialog.findChild<QWidget*>("id1015"), grid);
        QVERIFY(placeholder->isHidden());
        QCOMPARE(grid->calls, QStringList({"setup", "sheet 0"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialog.findChildren<QLabel*>().size(), 1);
    }

    void joinedBlockIsDrawnOnce() {
        GridTest::Host<CCellGrid> host(QSize(300, 150));
        CCellGrid& g = *host.grid;
        auto owned = std::make_unique<CountingType>();
        CountingType* type = owned.get();
        const int index = g.AddCellType(std::move(owned));
        g.SetColumnCount(3, 0);
        g.SetRowCount(3, 0);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                g.SetCellTypeIndex(c, r, index);
        g.JoinCells(0, 0, 1, 1);
        type->draws = 0;
        GridTest::Picture(g.CellArea());
        QCOMPARE(type->draws, 9 - 4 + 1);
    }
};

QTEST_MAIN(GridModelTest)
#include "GridModelTest.moc"
