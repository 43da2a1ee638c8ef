// Mouse, keyboard, wheel and scroll-bar input: clamped and refused moves, moves through
// joined blocks, clicks outside the cells, the drag loop, divider sizing and its thresholds,
// best fit, the thumb mapping of long grids, and the check-box and drop-list cell types.

#include "DropListCellType.h"
#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
struct Click {
    int column, row, buttonDown, processed;
};

class InputGrid : public CCellGrid {
public:
    bool onlyText = false; // the date picker: moves only onto cells with text
    bool noSizing = false; // the date picker: no sizing at all
    int answer101 = 1;
    QList<Click> clicks;
    QList<QPair<int, int>> doubleClicks;
    QList<int> typed;
    QList<int> keys;
    bool takeTab = false;
    QList<QPair<int, qintptr>> notes;
    QStringList offered;

    int OnCanMove(int, int, int column, int row) override {
        if (!onlyText)
            return 1;
        QString text;
        GetCellText(column, row, &text);
        return text.isEmpty() ? 0 : 1;
    }
    int OnCanSizeColumn(int) override { return noSizing ? 0 : 1; }
    int OnCanSizeRow(int) override { return noSizing ? 0 : 1; }
    int OnCanSizeTopHeading() override { return noSizing ? 0 : 1; }
    int OnCanSizeSideHeading() override { return noSizing ? 0 : 1; }
    void OnCellClick(int c, int r, int down, const QRect&, const QPoint&, int p) override {
        clicks.append({c, r, down, p});
    }
    void OnCellDoubleClick(int c, int r, const QRect&, const QPoint&, int) override {
        doubleClicks.append({c, r});
    }
    void OnCharTyped(int* key, int) override { typed.append(*key); }
    void OnKeyDown(int* key, int) override {
        keys.append(*key);
        if (takeTab && *key == Qt::Key_Tab)
            *key = 0;
    }
    int OnCellTypeNotify(int, int, int, int message, qintptr param) override {
        notes.append({message, message == GridNotify::CheckBoxChanged ? param : 0});
        if (message == GridNotify::DropListOpening)
            offered = *reinterpret_cast<QStringList*>(param);
        if (message == GridNotify::DropListSelected)
            return answer101;
        return 1;
    }
};

using Host = GridTest::Host<InputGrid>;

void Key(CCellGrid& g, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(g.CellArea(), static_cast<Qt::Key>(key), modifiers);
}

QPoint Cell(const CCellGrid& g, int column, int row, const QPoint& inside = QPoint(10, 10)) {
    return QPoint(column * 75, row * g.GetDefaultRowHeight()) + inside;
}

void Rows(CCellGrid& g, int columns, int rows) {
    g.SetColumnCount(columns, 1);
    g.SetRowCount(rows, 1);
    g.SetUniformRowHeight(1);
}
} // namespace

class GridInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void keysMoveAndStopAtTheEdges() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 5);
        for (int i = 0; i < 6; ++i)
            Key(g, Qt::Key_Down);
        QCOMPARE(g.GetCurrentRow(), 4);
        QCOMPARE(g.GotoRow(5), 1); // already on the last row
        Key(g, Qt::Key_End);
        QCOMPARE(g.GetCurrentColumn(), 2);
        Key(g, Qt::Key_Right);
        QCOMPARE(g.GetCurrentColumn(), 2);
        Key(g, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(g.GetCurrentRow(), 0);
        QCOMPARE(g.GetCurrentColumn(), 2);
        Key(g, Qt::Key_Home);
        QCOMPARE(g.GetCurrentColumn(), 0);
        Key(g, Qt::Key_Up);
        Key(g, Qt::Key_Left);
        QCOMPARE(g.GetCurrentRow(), 0);
        QCOMPARE(g.GetCurrentColumn(), 0);
        Key(g, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(g.GetCurrentRow(), 4);

        Host empty(QSize(400, 200));
        Rows(*empty.grid, 3, 0);
        Key(*empty.grid, Qt::Key_End, Qt::ControlModifier);
        Key(*empty.grid, Qt::Key_Down);
        Key(*empty.grid, Qt::Key_Up);
        QCOMPARE(empty->GetCurrentRow(), -1);
    }

    void pageKeysMoveByAScreenful() {
        Host host(QSize(400, 200)); // 178 pixels of cells: 8 rows of 20
        InputGrid& g = *host.grid;
        Rows(g, 3, 30);
        Key(g, Qt::Key_PageDown);
        QCOMPARE(g.GetCurrentRow(), 8);
        QVERIFY(g.GetTopRow() >= 1);
        Key(g, Qt::Key_PageDown);
        Key(g, Qt::Key_PageDown);
        Key(g, Qt::Key_PageDown);
        QCOMPARE(g.GetCurrentRow(), 29);
        QCOMPARE(g.GetTopRow(), g.GetLastTopRow());
        Key(g, Qt::Key_PageUp);
        QCOMPARE(g.GetCurrentRow(), 21);
    }

    void keysStepOverJoinedBlocks() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 4, 4);
        g.JoinCells(1, 1, 2, 1);
        QCOMPARE(g.GotoCell(0, 1), 0);
        Key(g, Qt::Key_Right);
        QCOMPARE(g.GetCurrentColumn(), 1);
        Key(g, Qt::Key_Right);
        QCOMPARE(g.GetCurrentColumn(), 3);
        Key(g, Qt::Key_Left);
        QCOMPARE(g.GetCurrentColumn(), 1); // the start of the block, not the cell before it
        Key(g, Qt::Key_Left);
        QCOMPARE(g.GetCurrentColumn(), 0);
        // A block at the top: moving up into it lands on its first row, never above row 0.
        g.JoinCells(0, 0, 0, 1);
        QCOMPARE(g.GotoCell(0, 2), 0);
        Key(g, Qt::Key_Up);
        QCOMPARE(g.GetCurrentRow(), 0);
        Key(g, Qt::Key_Up);
        QCOMPARE(g.GetCurrentRow(), 0);
        Key(g, Qt::Key_Down);
        QCOMPARE(g.GetCurrentRow(), 2); // the row after the block
    }

    void refusedMovesLeaveTheCurrentCell() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 3);
        g.SetCellText(1, 1, QStringLiteral("14"));
        g.SetCellText(2, 1, QStringLiteral("15"));
        g.onlyText = true;
        QCOMPARE(g.GotoCell(1, 1), 0);
        GridTest::Click(g.CellArea(), Cell(g, 0, 0));
        QCOMPARE(g.GetCurrentColumn(), 1);
        QCOMPARE(g.GetCurrentRow(), 1);
        QCOMPARE(g.clicks.size(), 2); // the click is still reported
        QCOMPARE(g.GotoCell(0, 2), 2);
        Key(g, Qt::Key_Down);
        QCOMPARE(g.GetCurrentRow(), 1);
        GridTest::Click(g.CellArea(), Cell(g, 2, 1));
        QCOMPARE(g.GetCurrentColumn(), 2);
    }

    void clickOutsideTheCellsReportsNoCell() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 3);
        g.GotoCell(1, 1);
        GridTest::Click(g.CellArea(), QPoint(20, 150));
        QCOMPARE(g.clicks.size(), 2);
        QCOMPARE(g.clicks[0].column, -1);
        QCOMPARE(g.clicks[0].row, -1);
        QCOMPARE(g.clicks[0].buttonDown, 1);
        QCOMPARE(g.clicks[1].buttonDown, 0);
        QCOMPARE(g.GetCurrentColumn(), 1);
        QCOMPARE(g.GetCurrentRow(), 1);
        GridTest::Click(g.CellArea(), QPoint(300, 10)); // right of the columns
        QCOMPARE(g.clicks.last().column, -1);
    }

    void listClicksSelectTheWholeRow() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 5);
        g.SetRowHighlight(1);
        GridTest::Click(g.CellArea(), Cell(g, 2, 3));
        QCOMPARE(g.GetCurrentRow(), 3);
        QCOMPARE(g.clicks[0].column, 2);
        QCOMPARE(g.clicks[0].row, 3);
        GridTest::DoubleClick(g.CellArea(), Cell(g, 1, 2));
        QCOMPARE(g.GetCurrentRow(), 2);
        QCOMPARE(g.doubleClicks, (QList<QPair<int, int>>{{1, 2}}));
        // A right click makes the cell current too.
        GridTest::Click(g.CellArea(), Cell(g, 0, 4), Qt::RightButton);
        QCOMPARE(g.GetCurrentRow(), 4);
    }

    void wheelMovesThreeRowsANotch() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 100);
        QCOMPARE(g.SetTopRow(10), 0);
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), -120);
        QCOMPARE(g.GetTopRow(), 13);
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), 120);
        QCOMPARE(g.GetTopRow(), 10);
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), 60);
        QCOMPARE(g.GetTopRow(), 10);
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), 60);
        QCOMPARE(g.GetTopRow(), 7);
        GridTest::Wheel(g.CellArea(), QPoint(10, 10), 120 * 5);
        QCOMPARE(g.GetTopRow(), 0);
        QCOMPARE(g.GetCurrentRow(), 0); // the wheel moves the view, not the current cell
    }

    void dragBelowTheCellsKeepsMovingDown() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 100);
        QWidget* area = g.CellArea();
        GridTest::Press(area, Cell(g, 0, 0));
        QCOMPARE(g.GetCurrentRow(), 0);
        GridTest::Move(area, QPoint(10, area->height() + 20), Qt::LeftButton);
        QCOMPARE(g.GetCurrentRow(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(g.GetCurrentRow() >= 12, 5000);
        QVERIFY(g.GetTopRow() > 0);
        GridTest::Release(area, QPoint(10, area->height() + 20));
        const int stopped = g.GetCurrentRow();
        QTest::qWait(200);
        QCOMPARE(g.GetCurrentRow(), stopped);
        // Back inside, the pointer picks the cell under it.
        GridTest::Press(area, Cell(g, 1, 1));
        GridTest::Move(area, Cell(g, 2, 3), Qt::LeftButton);
        QCOMPARE(g.GetCurrentColumn(), 2);
        QCOMPARE(g.GetCurrentRow(), g.GetTopRow() + 3);
        GridTest::Release(area, Cell(g, 2, 3));
    }

    void dividerSizingArmsWithinTwoPixels() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 3);
        QWidget* top = g.TopHeading();
        GridTest::Move(top, QPoint(72, 5)); // exactly 3 pixels left of the edge at 75
        QCOMPARE(top->cursor().shape(), Qt::ArrowCursor);
        GridTest::Move(top, QPoint(73, 5));
        QCOMPARE(top->cursor().shape(), Qt::SizeHorCursor);
        GridTest::Move(top, QPoint(77, 5));
        QCOMPARE(top->cursor().shape(), Qt::SizeHorCursor);
        GridTest::Move(top, QPoint(78, 5));
        QCOMPARE(top->cursor().shape(), Qt::ArrowCursor);
        // The bottom edge of the heading row sizes the heading.
        GridTest::Move(top, QPoint(40, 18));
        QCOMPARE(top->cursor().shape(), Qt::SizeVerCursor);
        QWidget* side = g.SideHeading();
        GridTest::Move(side, QPoint(10, 18));
        QCOMPARE(side->cursor().shape(), Qt::SizeVerCursor);
        GridTest::Move(side, QPoint(10, 10));
        QCOMPARE(side->cursor().shape(), Qt::ArrowCursor);

        Host picker(QSize(400, 200));
        Rows(*picker.grid, 3, 3);
        picker->noSizing = true;
        for (const QPoint& p : {QPoint(74, 5), QPoint(75, 5), QPoint(40, 19)}) {
            GridTest::Move(picker->TopHeading(), p);
            QCOMPARE(picker->TopHeading()->cursor().shape(), Qt::ArrowCursor);
        }
        GridTest::Move(picker->SideHeading(), QPoint(10, 19));
        QCOMPARE(picker->SideHeading()->cursor().shape(), Qt::ArrowCursor);
    }

    void columnClosedByDraggingCanBeReopened() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 3);
        QWidget* top = g.TopHeading();
        GridTest::Move(top, QPoint(149, 5)); // the right edge of column 1
        GridTest::Press(top, QPoint(149, 5));
        GridTest::Move(top, QPoint(130, 5), Qt::LeftButton);
        QCOMPARE(g.GetColumnWidth(1), 56);
        GridTest::Move(top, QPoint(20, 5), Qt::LeftButton); // past the column's left edge
        QCOMPARE(g.GetColumnWidth(1), 0);
        GridTest::Release(top, QPoint(20, 5));
        QCOMPARE(g.GetColumnWidth(0), 75);
        // The shared edge at 75 now opens the hidden column, not column 0.
        GridTest::Move(top, QPoint(75, 5));
        GridTest::Press(top, QPoint(75, 5));
        GridTest::Move(top, QPoint(115, 5), Qt::LeftButton);
        GridTest::Release(top, QPoint(115, 5));
        QCOMPARE(g.GetColumnWidth(1), 40);
        QCOMPARE(g.GetColumnWidth(0), 75);
    }

    void doubleClickOnADividerFitsTheText() {
        Host host(QSize(600, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 3);
        const QString text = QStringLiteral("Una descripción bastante larga");
        g.SetCellText(0, 1, text);
        g.JoinCells(1, 2, 2, 2);
        g.SetCellText(1, 2, QStringLiteral("a joined text is left out of the fit, however long"));
        QWidget* top = g.TopHeading();
        GridTest::Move(top, QPoint(74, 5));
        GridTest::DoubleClick(top, QPoint(74, 5));
        QCOMPARE(g.GetColumnWidth(0), QFontMetrics(g.font()).horizontalAdvance(text) + 6);
        GridTest::Move(top, QPoint(g.GetColumnWidth(0) + 74, 5));
        GridTest::DoubleClick(top, QPoint(g.GetColumnWidth(0) + 74, 5));
        QCOMPARE(g.GetColumnWidth(1), 9); // only empty cells: 9 wide
    }

    void rowAndHeadingSizing() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        g.SetColumnCount(3, 1);
        g.SetRowCount(3, 1); // per-row heights
        QWidget* side = g.SideHeading();
        GridTest::Move(side, QPoint(10, 19));
        GridTest::Press(side, QPoint(10, 19));
        GridTest::Move(side, QPoint(10, 29), Qt::LeftButton);
        GridTest::Release(side, QPoint(10, 29));
        QCOMPARE(g.GetRowHeight(0), 30);
        QCOMPARE(g.GetRowHeight(1), 20);
        QWidget* top = g.TopHeading();
        GridTest::Move(top, QPoint(40, 19));
        GridTest::Press(top, QPoint(40, 19));
        GridTest::Move(top, QPoint(40, 31), Qt::LeftButton);
        GridTest::Release(top, QPoint(40, 31));
        QCOMPARE(g.GetTopHeadingHeight(), 32);
        QCOMPARE(g.GetRowHeight(-1), 32);
        QCOMPARE(g.CellArea()->geometry().top(), 1 + 32);
    }

    void thumbPositionsScaleInLongGrids() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 5000);
        QScrollBar* bar = g.VScrollBar();
        QCOMPARE(bar->maximum(), 1000);
        g.SetVScrollMode(1);
        bar->setSliderPosition(500);
        QCOMPARE(g.GetTopRow(), 2500);
        // Thumb mode 0: the view moves only when the thumb is let go.
        g.SetTopRow(0);
        g.SetVScrollMode(0);
        bar->setSliderDown(true);
        bar->setSliderPosition(300);
        QCOMPARE(g.GetTopRow(), 0);
        bar->setSliderDown(false);
        QCOMPARE(g.GetTopRow(), 1500);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(g.GetTopRow(), 1501);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(g.GetTopRow(), g.GetLastTopRow());
        QCOMPARE(g.GetLastTopRow(), 5000 - 8);

        // Short grids: one position per row.
        Host small(QSize(400, 200));
        Rows(*small.grid, 3, 30);
        QCOMPARE(small->VScrollBar()->maximum(), 22);
        QCOMPARE(small->VScrollBar()->pageStep(), 8);
        small->VScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(small->GetTopRow(), 8);
    }

    void checkBoxToggles() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 2, 3);
        g.SetCellTypeIndex(0, 1, GridCellType::CheckBox);
        QWidget* area = g.CellArea();
        GridTest::Click(area, QPoint(40, 30)); // beside the box: nothing
        QString text;
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QString());
        GridTest::Click(area, QPoint(8, 29));
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("1.000000"));
        QCOMPARE(g.notes.last(), (QPair<int, qintptr>(GridNotify::CheckBoxChanged, 1)));
        GridTest::Click(area, QPoint(8, 29));
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("0.000000"));
        // "t" shows no mark, yet the space bar reads it as ticked and clears it.
        g.SetCellText(0, 1, QStringLiteral("t"));
        Key(g, Qt::Key_Space);
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("0.000000"));
        Key(g, Qt::Key_Space);
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("1.000000"));
        // Read-only cells ignore toggles.
        CCellRecord r;
        g.GetCell(0, 1, &r);
        r.SetReadOnly(1);
        g.SetCell(0, 1, &r);
        GridTest::Click(area, QPoint(8, 29));
        Key(g, Qt::Key_Space);
        g.GetCellText(0, 1, &text);
        QCOMPARE(text, QStringLiteral("1.000000"));
        // A cell 10 pixels high has no box drawn, yet its 4-pixel area still toggles.
        g.SetUniformRowHeight(0);
        g.SetRowHeight(0, 10);
        g.SetCellTypeIndex(0, 0, GridCellType::CheckBox);
        GridTest::Click(area, QPoint(4, 4));
        g.GetCellText(0, 0, &text);
        QCOMPARE(text, QStringLiteral("1.000000"));
    }

    void dropListOffersItsChoices() {
        QCOMPARE(CDropListCellType::SplitChoices(QStringLiteral("A\nB")), QStringList({"A"}));
        QCOMPARE(CDropListCellType::SplitChoices(QStringLiteral("A\n\nB\n")),
                 QStringList({"A", "", "B"}));
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 2, 3);
        CCellRecord r;
        r.SetCellType(GridCellType::DropList);
        r.SetLabel(QStringLiteral("Mañana\nTarde\nNoche"));
        r.SetText(QStringLiteral("Mañana"));
        g.SetCell(1, 1, &r);
        g.GotoCell(1, 1);
        Key(g, Qt::Key_Return);
        QCOMPARE(g.offered, QStringList({"Mañana", "Tarde"}));
        auto* type = static_cast<CDropListCellType*>(g.GetCellType(GridCellType::DropList));
        QListWidget* list = type->ListBox();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->geometry().top(), 40); // below the cell
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QString text;
        g.GetCellText(1, 1, &text);
        QCOMPARE(text, QStringLiteral("Tarde"));
        // A refused choice changes nothing; Escape closes without a change.
        g.answer101 = 0;
        Key(g, Qt::Key_Return);
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        g.GetCellText(1, 1, &text);
        QCOMPARE(text, QStringLiteral("Tarde"));
        g.answer101 = 1;
        Key(g, Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        g.GetCellText(1, 1, &text);
        QCOMPARE(text, QStringLiteral("Tarde"));
        // The button opens it with the mouse.
        QRect cell;
        g.GetCellRect(1, 1, &cell);
        GridTest::Press(g.CellArea(), QPoint(cell.right() - 3, cell.center().y()));
        QVERIFY(list->isVisible());
        GridTest::Release(g.CellArea(), QPoint(cell.right() - 3, cell.center().y()));
        QTest::keyClick(list, Qt::Key_Escape);
    }

    void hintsAndTrackingWindowWhenAsked() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 3, 5);
        GridTest::Move(g.CellArea(), Cell(g, 1, 2));
        QTest::qWait(800);
        QVERIFY(!g.HintWindow()->isVisible()); // off unless an owner turns it on
        g.UseHints(1);
        GridTest::Move(g.CellArea(), Cell(g, 1, 2, QPoint(12, 10)));
        QTRY_VERIFY_WITH_TIMEOUT(g.HintWindow()->isVisible(), 3000);
        QCOMPARE(g.HintWindow()->Text(), QStringLiteral("Col:1 Row:2"));
        GridTest::Press(g.CellArea(), Cell(g, 1, 2));
        QVERIFY(!g.HintWindow()->isVisible());
        GridTest::Release(g.CellArea(), Cell(g, 1, 2));

        auto* tracker = new QWidget(host.window.get());
        tracker->resize(30, 10);
        g.SetTrackingWindow(tracker);
        g.GotoCell(0, 1);
        QRect cell;
        g.GetCellRect(0, 1, &cell);
        QCOMPARE(tracker->pos(),
                 g.CellArea()->mapTo(host.window.get(), cell.bottomRight() + QPoint(1, 1)));
    }

    void tabMovesTheFocusOnUnlessAHookTakesIt() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 2, 2);
        auto* next = new QLineEdit(host.window.get());
        next->setGeometry(0, 0, 10, 10);
        next->show();
        host.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(host.window.get()));
        g.CellArea()->setFocus();
        QTRY_VERIFY(g.CellArea()->hasFocus());
        g.takeTab = true;
        QTest::keyClick(g.CellArea(), Qt::Key_Tab);
        QVERIFY(g.CellArea()->hasFocus());
        g.takeTab = false;
        g.keys.clear();
        QTest::keyClick(g.CellArea(), Qt::Key_Tab);
        QTRY_VERIFY(next->hasFocus());
        QCOMPARE(g.keys, QList<int>({Qt::Key_Tab}));
    }

    // A grid destroyed while it holds the keyboard focus, alone or with its dialog, and a
    // dialog whose button is hidden so that the focus falls into the grid just before the
    // dialog goes: no hook of the grid may run, nothing freed may be read (the sanitizer
    // build turns a stray read into a failure).
    void destroyingAFocusedGridRunsNoHook() {
        struct FocusGrid : CCellGrid {
            int* afterTeardown = nullptr;
            bool gone = false;
            void OnKillFocus(int) override {
                if (gone)
                    ++*afterTeardown;
            }
            ~FocusGrid() override { gone = true; }
        };
        int late = 0;
        {
            QWidget window;
            window.resize(300, 200);
            auto* grid = new FocusGrid;
            grid->afterTeardown = &late;
            grid->CreateGrid(&window, QRect(0, 0, 300, 150), 1015);
            Rows(*grid, 3, 3);
            window.show();
            window.activateWindow();
            grid->setFocus();
            QTRY_VERIFY(grid->CellArea()->hasFocus());
            delete grid;
            QVERIFY(window.focusWidget() == nullptr || window.isAncestorOf(window.focusWidget()));
        }
        {
            auto window = std::make_unique<QWidget>();
            window->resize(300, 200);
            auto* button = new QPushButton(QStringLiteral("Aceptar"), window.get());
            auto* grid = new FocusGrid;
            grid->afterTeardown = &late;
            grid->CreateGrid(window.get(), QRect(0, 0, 300, 150), 1015);
            Rows(*grid, 3, 3);
            window->show();
            window->activateWindow();
            button->setFocus();
            QTRY_VERIFY(button->hasFocus());
            button->hide(); // the focus moves on, into the grid
            QTRY_VERIFY(grid->CellArea()->hasFocus());
            window.reset();
        }
        QCOMPARE(late, 0);
    }

    void charactersNeverChangeATextCell() {
        Host host(QSize(400, 200));
        InputGrid& g = *host.grid;
        Rows(g, 2, 2);
        g.SetCellText(0, 0, QStringLiteral("Ana"));
        QTest::keyClicks(g.CellArea(), QStringLiteral("xy"));
        QString text;
        g.GetCellText(0, 0, &text);
        QCOMPARE(text, QStringLiteral("Ana"));
        QCOMPARE(g.typed, QList<int>({'x', 'y'}));
    }
};

QTEST_MAIN(GridInputTest)
#include "GridInputTest.moc"
