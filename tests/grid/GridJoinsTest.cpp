// Joined blocks: what JoinCells refuses, the blocks following inserted and deleted rows
// and columns (against a plain list of rectangles moved by hand), the structure checked
// after every change, and joins seen the same through every cell of a block.

#include "GridJoins.h"
#include "GridTestSupport.h"
#include "TestSupport.h"

#include <QtTest>
#include <random>

namespace {
// The blocks as a list of rectangles, moved the way the rows and columns move.
struct Model {
    std::vector<CGridBlock> blocks;

    const CGridBlock* At(int column, int row) const {
        for (const CGridBlock& b : blocks)
            if (column >= b.startColumn && column <= b.endColumn && row >= b.startRow &&
                row <= b.endRow)
                return &b;
        return nullptr;
    }
    bool Free(const CGridBlock& n) const {
        for (const CGridBlock& b : blocks)
            if (n.startColumn <= b.endColumn && n.endColumn >= b.startColumn &&
                n.startRow <= b.endRow && n.endRow >= b.startRow)
                return false;
        return true;
    }
    // A slot inserted before at (delta 1) or deleted (-1) along rows or columns: what lies
    // after it moves, what spans it grows or shrinks, what is left without slots goes.
    void Slot(bool rows, int at, int delta) {
        std::vector<CGridBlock> kept;
        for (CGridBlock b : blocks) {
            int& start = rows ? b.startRow : b.startColumn;
            int& end = rows ? b.endRow : b.endColumn;
            if (start < 0) {
                kept.push_back(b);
                continue;
            }
            if (delta > 0 ? start >= at : start > at) {
                start += delta;
                end += delta;
            } else if (end >= at) {
                end += delta;
            }
            if (end >= start)
                kept.push_back(b);
        }
        blocks = kept;
    }
    void RowsFrom(int at) {
        std::vector<CGridBlock> kept;
        for (CGridBlock b : blocks) {
            if (b.startRow >= 0 && b.startRow >= at)
                continue;
            if (b.startRow >= 0 && b.endRow >= at)
                b.endRow = at - 1;
            kept.push_back(b);
        }
        blocks = kept;
    }
};

constexpr int kColumns = 9;
constexpr int kRows = 24;

// Every cell from heading row -2 and column -1 finds the block the model has there.
QString Compare(const CJoinBlocks& joins, const Model& model) {
    if (!joins.IsConsistent())
        return QStringLiteral("inconsistent");
    for (int r = -2; r < kRows + 4; ++r)
        for (int c = -1; c < kColumns + 3; ++c) {
            CGridBlock found;
            const bool joined = joins.Find(c, r, &found);
            const CGridBlock* expected = model.At(c, r);
            if (joined != (expected != nullptr) || (expected && !(found == *expected)))
                return QStringLiteral("cell %1,%2").arg(c).arg(r);
        }
    return QString();
}
} // namespace

class GridJoinsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        DvTest::IsolateSettings();
        CJoinBlocks::SetChecking(true);
    }

    void refusals() {
        CJoinBlocks joins;
        QCOMPARE(joins.Join({1, 0, 0, 0}), 1); // reversed
        QCOMPARE(joins.Join({0, 1, 0, 0}), 1);
        QCOMPARE(joins.Join({0, -1, 1, 0}), 1);   // a heading row and a cell row
        QCOMPARE(joins.Join({-1, 2, 0, 2}), 1);   // a side heading column and a cell column
        QCOMPARE(joins.Join({-1, -1, 0, -1}), 1); // the corner and a top heading cell
        QCOMPARE(joins.Join({2, 2, 4, 5}), 0);
        for (const CGridBlock& b :
             {CGridBlock{2, 2, 4, 5}, CGridBlock{4, 5, 6, 6}, CGridBlock{0, 0, 8, 9},
              CGridBlock{3, 3, 3, 3}, CGridBlock{1, 4, 2, 4}})
            QCOMPARE(joins.Join(b), 1);          // the same, a corner, around, inside, an edge
        QCOMPARE(joins.Join({5, 2, 5, 5}), 0);   // side by side
        QCOMPARE(joins.Join({2, 6, 4, 6}), 0);   // just below
        QCOMPARE(joins.Join({0, -1, 1, -1}), 0); // headings have their own blocks
        QCOMPARE(joins.Join({7, 7, 7, 7}), 0);   // a block of one cell
        CGridBlock b;
        QVERIFY(joins.Find(3, 4, &b));
        QVERIFY(b == (CGridBlock{2, 2, 4, 5}));
        QVERIFY(!joins.Find(1, 3));
        QCOMPARE(joins.Unjoin(1, 3), 1);
        QCOMPARE(joins.Unjoin(4, 2), 0);
        QVERIFY(!joins.Find(2, 2));
        QCOMPARE(joins.Join({0, 0, 4, 4}), 0); // the room is free again
        QVERIFY(joins.IsConsistent());
    }

    void rowsAndColumnsMoveTheBlocks() {
        CJoinBlocks joins;
        Model model;
        for (const CGridBlock& b : {CGridBlock{0, 0, 1, 3}, CGridBlock{3, 2, 3, 2},
                                    CGridBlock{2, 5, 4, 7}, CGridBlock{0, -1, 1, -1}}) {
            QCOMPARE(joins.Join(b), 0);
            model.blocks.push_back(b);
        }
        const auto both = [&](auto change, bool rows, int at, int delta) {
            change();
            model.Slot(rows, at, delta);
            return Compare(joins, model);
        };
        QCOMPARE(both([&] { joins.InsertRow(2); }, true, 2, 1), QString());  // inside: grows
        QCOMPARE(both([&] { joins.InsertRow(0); }, true, 0, 1), QString());  // above all
        QCOMPARE(both([&] { joins.DeleteRow(1); }, true, 1, -1), QString()); // a start row
        QCOMPARE(both([&] { joins.DeleteRow(3); }, true, 3, -1), QString()); // a block of one row
        QCOMPARE(both([&] { joins.DeleteRow(7); }, true, 7, -1), QString()); // a last row
        QCOMPARE(both([&] { joins.InsertColumn(1); }, false, 1, 1), QString());
        QCOMPARE(both([&] { joins.DeleteColumn(0); }, false, 0, -1), QString());
        QCOMPARE(both([&] { joins.DeleteColumn(0); }, false, 0, -1), QString()); // gone
        joins.DeleteRowsFrom(4);
        model.RowsFrom(4);
        QCOMPARE(Compare(joins, model), QString());
        // Emptied from the top, row by row, as a grid is before a new roster.
        for (int i = 0; i < 4; ++i) {
            joins.DeleteRow(0);
            model.Slot(true, 0, -1);
            QCOMPARE(Compare(joins, model), QString());
        }
        QCOMPARE(model.blocks.size(), size_t(1));
        QVERIFY(joins.Find(0, -1)); // the heading's block stays
    }

    // A long random run of joins, unjoins, row and column changes; the blocks must match
    // the list of rectangles after each one.
    void randomChangesMatchTheRectangles() {
        std::mt19937 random(20240611);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        CJoinBlocks joins;
        Model model;
        for (int step = 0; step < 3000; ++step) {
            const int what = pick(0, 9);
            if (what <= 4) {
                const bool heading = pick(0, 5) == 0;
                CGridBlock b;
                b.startColumn = pick(0, kColumns - 1);
                b.endColumn = std::min(kColumns - 1, b.startColumn + pick(0, 3));
                b.startRow = heading ? -pick(1, 2) : pick(0, kRows - 1);
                b.endRow = heading ? std::min(-1, b.startRow + pick(0, 1))
                                   : std::min(kRows - 1, b.startRow + pick(0, 6));
                const int expected = model.Free(b) ? 0 : 1;
                QCOMPARE(joins.Join(b), expected);
                if (expected == 0)
                    model.blocks.push_back(b);
            } else if (what == 5) {
                const int c = pick(0, kColumns - 1);
                const int r = pick(-2, kRows - 1);
                const CGridBlock* b = model.At(c, r);
                QCOMPARE(joins.Unjoin(c, r), b ? 0 : 1);
                if (b)
                    model.blocks.erase(model.blocks.begin() + (b - model.blocks.data()));
            } else if (what == 6) {
                const int r = pick(0, kRows);
                joins.InsertRow(r);
                model.Slot(true, r, 1);
            } else if (what == 7) {
                const int r = pick(0, kRows);
                joins.DeleteRow(r);
                model.Slot(true, r, -1);
            } else if (what == 8) {
                const int c = pick(0, kColumns);
                joins.InsertColumn(c);
                model.Slot(false, c, 1);
            } else {
                const int c = pick(0, kColumns);
                joins.DeleteColumn(c);
                model.Slot(false, c, -1);
            }
            const QString fault = Compare(joins, model);
            if (!fault.isEmpty())
                QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(step).arg(fault)));
            if (step % 500 == 499) {
                const int r = pick(0, kRows / 2);
                joins.DeleteRowsFrom(r);
                model.RowsFrom(r);
            }
        }
    }

    // Through the grid: the refusals, the blocks after rows are inserted and deleted, and
    // records written over a joined cell.
    void theGridKeepsItsBlocksRight() {
        CCellGrid g;
        g.SetColumnCount(4, 0);
        g.SetRowCount(6, 0);
        QCOMPARE(g.JoinCells(0, 1, 1, 3), 0);
        QCOMPARE(g.JoinCells(1, 3, 2, 4), 1);  // over the block's corner
        QCOMPARE(g.JoinCells(0, -1, 0, 0), 1); // heading and cells
        QCOMPARE(g.JoinCells(0, -1, 1, -1), 0);
        g.SetCellText(0, 1, QStringLiteral("block"));
        QCOMPARE(g.InsertRow(2), 0); // inside the block: it grows
        int sc, sr, ec, er;
        QCOMPARE(g.GetJoinRange(1, 4, &sc, &sr, &ec, &er), 0);
        QCOMPARE(QList<int>({sc, sr, ec, er}), QList<int>({0, 1, 1, 4}));
        QCOMPARE(g.DeleteRow(0), 0); // above it: it moves up
        QCOMPARE(g.GetJoinRange(0, 0, &sc, &sr, &ec, &er), 0);
        QCOMPARE(QList<int>({sc, sr, ec, er}), QList<int>({0, 0, 1, 3}));
        QString text;
        g.GetCellText(0, 0, &text);
        QCOMPARE(text, QStringLiteral("block"));
        // Every cell reads the block through its record: the start its spans, the others
        // their distance to the start.
        CCellRecord r;
        int start, rows, columns;
        g.GetCell(0, 0, &r);
        QCOMPARE(r.GetJoinInfo(&start, &rows, &columns), 0);
        QCOMPARE(QList<int>({start, rows, columns}), QList<int>({1, 3, 1}));
        g.GetCell(1, 2, &r);
        r.GetJoinInfo(&start, &rows, &columns);
        QCOMPARE(QList<int>({start, rows, columns}), QList<int>({0, -2, -1}));
        // A record written over a joined cell changes its properties, not the block; a
        // record carrying join information of its own does not make one.
        CCellRecord plain;
        plain.SetText(QStringLiteral("x"));
        g.SetCell(1, 2, &plain);
        QCOMPARE(g.GetJoinRange(1, 2, &sc, &sr, &ec, &er), 0);
        QCOMPARE(QList<int>({sc, sr, ec, er}), QList<int>({0, 0, 1, 3}));
        QVERIFY(plain.GetJoinInfo(nullptr, nullptr, nullptr) != 0); // the caller's record stays
        g.GetCell(0, 0, &r);
        g.SetCell(3, 4, &r);
        QCOMPARE(g.GetJoinRange(3, 4, &sc, &sr, &ec, &er), 1);
        // The last row gone, no block of the cells is left; the heading's stays.
        while (g.GetRowCount() > 0)
            g.DeleteRow(0);
        g.SetRowCount(6, 0);
        QCOMPARE(g.GetJoinRange(0, 0, &sc, &sr, &ec, &er), 1);
        QCOMPARE(g.GetJoinRange(1, -1, &sc, &sr, &ec, &er), 0);
    }
};

QTEST_MAIN(GridJoinsTest)
#include "GridJoinsTest.moc"
