// Moves of the current cell from keys and clicks, stepped alongside a small model of the
// rules that knows nothing of the grid's code: where each key or click lands (edges,
// joined blocks stepped over or landed on, refused cells, pages), how far the view
// scrolls to show it, and which hooks learn of it, in their order. And the rows asked
// for at the bottom of the view, never while painting.

#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QtTest>
#include <random>

namespace {
constexpr int kColumns = 9;
constexpr int kRows = 60;
constexpr int kWidth = 75;  // every column
constexpr int kHeight = 20; // every row

bool Refused(int column, int row) {
    return (column * 7 + row * 3) % 13 == 0 && row > 0;
}

class NavGrid : public GridTest::MoveRecorder {
public:
    int OnCanMove(int, int, int column, int row) override { return Refused(column, row) ? 0 : 1; }
};

// The rules of the moves, for a grid of equal columns and rows.
struct Model {
    int viewWidth = 0;
    int viewHeight = 0;
    int column = 0, row = 0, left = 0, top = 0;
    std::vector<CGridBlock> blocks;

    int FitColumns() const { return std::max(1, viewWidth / kWidth); }
    int FitRows() const { return std::max(1, viewHeight / kHeight); }
    const CGridBlock* Block(int c, int r) const {
        for (const CGridBlock& b : blocks)
            if (c >= b.startColumn && c <= b.endColumn && r >= b.startRow && r <= b.endRow)
                return &b;
        return nullptr;
    }
    // The first slot shown after a move to index: unchanged while it shows; else the
    // slot becomes the first (moving back) or the last one that fits (moving on), never
    // past the furthest view.
    static int Show(int index, int first, int fit, int count) {
        if (index < first)
            return index;
        if ((index - first + 1) > fit)
            first = index - fit + 1;
        return std::min(first, std::max(0, count - fit));
    }
    // A key's move along one axis: clamped, stepped over a block in the key's direction
    // (or onto a block starting further on), refused by the owner.
    void Step(bool rows, int to) {
        int& at = rows ? row : column;
        const int count = rows ? kRows : kColumns;
        if (to == at)
            return;
        const int direction = to > at ? 1 : -1;
        if (to >= count) {
            if (at == count - 1)
                return;
            to = count - 1;
        }
        to = std::max(to, 0);
        if (const CGridBlock* b = rows ? Block(column, to) : Block(to, row)) {
            const int start = rows ? b->startRow : b->startColumn;
            const int end = rows ? b->endRow : b->endColumn;
            to = direction < 0 || start > at ? start : (end + 1 < count ? end + 1 : at);
        }
        if (to == at || Refused(rows ? column : to, rows ? to : row))
            return;
        at = to;
        if (rows)
            top = Show(row, top, FitRows(), kRows);
        else
            left = Show(column, left, FitColumns(), kColumns);
    }
    void Key(int key, bool ctrl) {
        switch (key) {
        case Qt::Key_Down:
            Step(true, row + 1);
            break;
        case Qt::Key_Up:
            Step(true, row - 1);
            break;
        case Qt::Key_Right:
            Step(false, column + 1);
            break;
        case Qt::Key_Left:
            Step(false, column - 1);
            break;
        case Qt::Key_Home:
            ctrl ? Step(true, 0) : Step(false, 0);
            break;
        case Qt::Key_End:
            ctrl ? Step(true, kRows - 1) : Step(false, kColumns - 1);
            break;
        case Qt::Key_PageDown:
            Step(true, row + FitRows());
            break;
        case Qt::Key_PageUp:
            Step(true, row - FitRows());
            break;
        default:
            break;
        }
    }
    // A click lands on the start of the block under it.
    void Click(int c, int r) {
        if (const CGridBlock* b = Block(c, r)) {
            c = b->startColumn;
            r = b->startRow;
        }
        if ((c == column && r == row) || Refused(c, r))
            return;
        column = c;
        row = r;
        left = Show(column, left, FitColumns(), kColumns);
        top = Show(row, top, FitRows(), kRows);
    }
    // What the hooks should have heard of a move from the old state to this one.
    QStringList Heard(const Model& o) const {
        QStringList calls;
        if (column != o.column)
            calls << QStringLiteral("col %1>%2").arg(o.column).arg(column);
        if (row != o.row)
            calls << QStringLiteral("row %1>%2").arg(o.row).arg(row);
        if (column != o.column || row != o.row)
            calls
                << QStringLiteral("cell %1,%2>%3,%4").arg(o.column).arg(o.row).arg(column).arg(row);
        if (left != o.left)
            calls << QStringLiteral("left %1>%2").arg(o.left).arg(left);
        if (top != o.top)
            calls << QStringLiteral("top %1>%2").arg(o.top).arg(top);
        return calls;
    }
};

// Supplies rows when the view reaches the last one, and notes whether it was asked while
// the cell area was being painted.
class BottomGrid : public CCellGrid {
public:
    int asked = 0;
    bool whilePainting = false;
    int supply = 0;
    void OnHitBottom(int, int rowsPast, int* rowsFound) override {
        ++asked;
        if (CellArea()->paintingActive())
            whilePainting = true;
        const int n = std::min(rowsPast, supply);
        for (int i = 0; i < n; ++i)
            AppendRow();
        supply -= n;
        *rowsFound = n;
    }
};
} // namespace

class GridNavigationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        CJoinBlocks::SetChecking(true);
    }

    void keysAndClicksFollowTheRules() {
        GridTest::Host<NavGrid> host(QSize(400, 200));
        NavGrid& g = *host.grid;
        g.SetColumnCount(kColumns, 1);
        g.SetRowCount(kRows, 1);
        g.SetUniformRowHeight(1);
        Model m;
        m.viewWidth = g.CellArea()->width();
        m.viewHeight = g.CellArea()->height();
        QVERIFY(m.FitColumns() < kColumns && m.FitRows() < kRows);
        m.blocks = {{2, 3, 3, 3},   {5, 10, 5, 14}, {0, 20, 1, 22}, {7, 30, 8, 30},
                    {3, 40, 6, 42}, {4, 57, 4, 59}, {0, 0, 0, 1}};
        for (const CGridBlock& b : m.blocks)
            QCOMPARE(g.JoinCells(b.startColumn, b.startRow, b.endColumn, b.endRow), 0);

        const int keys[] = {Qt::Key_Down,  Qt::Key_Down,     Qt::Key_Down,  Qt::Key_Up,
                            Qt::Key_Right, Qt::Key_Left,     Qt::Key_Right, Qt::Key_Home,
                            Qt::Key_End,   Qt::Key_PageDown, Qt::Key_PageUp};
        std::mt19937 random(5);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        for (int step = 0; step < 800; ++step) {
            const Model before = m;
            g.calls.clear();
            QString action;
            if (pick(0, 5) == 0) {
                // A cell wholly in view.
                const int c = m.left + pick(0, m.FitColumns() - 1);
                const int r = m.top + pick(0, m.FitRows() - 1);
                action = QStringLiteral("click %1,%2").arg(c).arg(r);
                m.Click(c, r);
                GridTest::Click(g.CellArea(), QPoint((c - before.left) * kWidth + 30,
                                                     (r - before.top) * kHeight + 10));
            } else {
                const int key = keys[pick(0, int(std::size(keys)) - 1)];
                const bool ctrl = (key == Qt::Key_Home || key == Qt::Key_End) && pick(0, 1);
                action = QStringLiteral("key %1%2").arg(key, 0, 16).arg(ctrl ? " ctrl" : "");
                m.Key(key, ctrl);
                QTest::keyClick(g.CellArea(), static_cast<Qt::Key>(key),
                                ctrl ? Qt::ControlModifier : Qt::NoModifier);
            }
            const QList<int> shown = {g.GetCurrentColumn(), g.GetCurrentRow(), g.GetLeftColumn(),
                                      g.GetTopRow()};
            const QList<int> expected = {m.column, m.row, m.left, m.top};
            if (shown != expected || g.calls != m.Heard(before))
                QFAIL(qPrintable(
                    QStringLiteral("step %1, %2 from %3,%4: at %5, hooks %6")
                        .arg(step)
                        .arg(action)
                        .arg(before.column)
                        .arg(before.row)
                        .arg(QStringList({QString::number(shown[0]), QString::number(shown[1]),
                                          QString::number(shown[2]), QString::number(shown[3])})
                                 .join(','))
                        .arg(g.calls.join(';'))));
        }
    }

    void rowsAreAskedForWhenTheViewSettles() {
        GridTest::Host<BottomGrid> host(QSize(300, 200));
        BottomGrid& g = *host.grid;
        g.SetColumnCount(3, 1);
        g.SetUniformRowHeight(1);
        g.SetRowCount(2, 1);
        g.supply = 100;
        QTRY_VERIFY(g.GetRowCount() * g.GetDefaultRowHeight() >= g.CellArea()->height());
        QVERIFY(g.GetRowCount() < 100); // only as many as the view shows
        QVERIFY(g.asked > 0);
        const int asked = g.asked;
        GridTest::Picture(g.CellArea());
        QCOMPARE(g.asked, asked); // painting asks nothing
        QVERIFY(!g.whilePainting);
        // Moving past the last row asks too, and stops there when nothing comes.
        g.supply = 0;
        QCOMPARE(g.GotoRow(g.GetRowCount() - 1), 0);
        QCOMPARE(g.GotoRow(g.GetRowCount()), 1);
        QVERIFY(g.asked > asked);
        QVERIFY(!g.whilePainting);
    }
};

QTEST_MAIN(GridNavigationTest)
#include "GridNavigationTest.moc"
