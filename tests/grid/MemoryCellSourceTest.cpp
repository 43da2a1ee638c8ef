// The linked cell store: cells in both directions from 0, row and column shifts, the text
// overflow query, and a long random run checked against a plain map so the moving cursor
// can never hand back the wrong cell.

#include "MemoryCellSource.h"

#include <QtTest>
#include <map>
#include <random>

namespace {
CCellRecord Text(const QString& text) {
    CCellRecord r;
    r.SetText(text);
    return r;
}

QString Read(CMemoryCellSource& source, int column, int row) {
    CCellRecord r;
    if (source.GetCell(column, row, &r) != 0)
        return QStringLiteral("<none>");
    return r.GetText();
}
} // namespace

class MemoryCellSourceTest : public QObject {
    Q_OBJECT

private slots:
    void headingsAreStoredBeforeRowAndColumnZero() {
        CMemoryCellSource s;
        CCellRecord a = Text("cell");
        s.SetCell(3, 5, &a);
        CCellRecord b = Text("top heading");
        s.SetCell(2, -1, &b);
        CCellRecord c = Text("corner");
        s.SetCell(-1, -1, &c);
        QCOMPARE(Read(s, 3, 5), QStringLiteral("cell"));
        QCOMPARE(Read(s, 2, -1), QStringLiteral("top heading"));
        QCOMPARE(Read(s, -1, -1), QStringLiteral("corner"));
        QCOMPARE(s.GetFirstStoredRow(), -1);
        QCOMPARE(s.GetStoredRowCount(), 7);
        // Nodes made on the way hold no record.
        QCOMPARE(Read(s, 0, 0), QStringLiteral("<none>"));
        QCOMPARE(Read(s, 2, 5), QStringLiteral("<none>"));
        QCOMPARE(Read(s, 9, 9), QStringLiteral("<none>"));
    }

    void getMergesIntoTheCallersRecord() {
        CMemoryCellSource s;
        CCellRecord stored = Text("x");
        s.SetCell(0, 0, &stored);
        CCellRecord r;
        r.SetItemData(5);
        QCOMPARE(s.GetCell(0, 0, &r), 0);
        QCOMPARE(r.GetItemData(), 5);
        QCOMPARE(r.GetText(), QStringLiteral("x"));
        CCellRecord untouched;
        untouched.SetItemData(8);
        QCOMPARE(s.GetCell(1, 1, &untouched), 1);
        QCOMPARE(untouched.GetMask(), CCellRecord::PropItemData);
    }

    void deletingARowMovesTheRowsBelowUp() {
        CMemoryCellSource s;
        for (int r = -1; r < 4; ++r) {
            CCellRecord rec = Text(QString::number(r));
            s.SetCell(0, r, &rec);
        }
        QCOMPARE(s.DeleteRow(1), 0);
        QCOMPARE(Read(s, 0, -1), QStringLiteral("-1"));
        QCOMPARE(Read(s, 0, 0), QStringLiteral("0"));
        QCOMPARE(Read(s, 0, 1), QStringLiteral("2"));
        QCOMPARE(Read(s, 0, 2), QStringLiteral("3"));
        QCOMPARE(Read(s, 0, 3), QStringLiteral("<none>"));
        QCOMPARE(s.DeleteRow(50), 0); // never stored
        QCOMPARE(Read(s, 0, 2), QStringLiteral("3"));
        for (int i = 0; i < 3; ++i)
            s.DeleteRow(0);
        QCOMPARE(Read(s, 0, 0), QStringLiteral("<none>"));
        QCOMPARE(Read(s, 0, -1), QStringLiteral("-1"));
    }

    void deletingRowsFromARowKeepsTheRowsAbove() {
        CMemoryCellSource s;
        for (int r = -2; r < 6; ++r) {
            CCellRecord rec = Text(QString::number(r));
            s.SetCell(1, r, &rec);
        }
        QCOMPARE(s.DeleteRowsFrom(3), 0);
        QCOMPARE(Read(s, 1, 2), QStringLiteral("2"));
        QCOMPARE(Read(s, 1, 3), QStringLiteral("<none>"));
        QCOMPARE(s.GetStoredRowCount(), 5);
        CCellRecord rec = Text("again");
        s.SetCell(1, 7, &rec);
        QCOMPARE(Read(s, 1, 7), QStringLiteral("again"));
        s.DeleteRowsFrom(0);
        QCOMPARE(Read(s, 1, -1), QStringLiteral("-1"));
        QCOMPARE(s.GetStoredRowCount(), 2);
        s.DeleteRowsFrom(-5);
        QCOMPARE(s.GetStoredRowCount(), 0);
    }

    void deletingARowAboveTheStoredOnesShiftsThem() {
        CMemoryCellSource s;
        CCellRecord rec = Text("five");
        s.SetCell(0, 5, &rec);
        s.DeleteRow(2);
        QCOMPARE(Read(s, 0, 4), QStringLiteral("five"));
        s.InsertRow(0);
        QCOMPARE(Read(s, 0, 5), QStringLiteral("five"));
    }

    void columnsShiftInEveryRow() {
        CMemoryCellSource s;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c) {
                CCellRecord rec = Text(QStringLiteral("%1,%2").arg(c).arg(r));
                s.SetCell(c, r, &rec);
            }
        s.DeleteColumn(1);
        QCOMPARE(Read(s, 1, 2), QStringLiteral("2,2"));
        QCOMPARE(Read(s, 3, 0), QStringLiteral("<none>"));
        s.InsertColumn(0);
        QCOMPARE(Read(s, 0, 1), QStringLiteral("<none>"));
        QCOMPARE(Read(s, 1, 1), QStringLiteral("0,1"));
        QCOMPARE(Read(s, 3, 1), QStringLiteral("3,1"));
    }

    void previousNonBlankSkipsEmptyTextAndHeadings() {
        CMemoryCellSource s;
        CCellRecord heading = Text("h");
        s.SetCell(-1, 0, &heading);
        CCellRecord a = Text("long text");
        s.SetCell(1, 0, &a);
        CCellRecord empty = Text("");
        s.SetCell(3, 0, &empty);
        QCOMPARE(s.GetPrevNonBlankColumn(5, 0), 1);
        QCOMPARE(s.GetPrevNonBlankColumn(2, 0), 1);
        QCOMPARE(s.GetPrevNonBlankColumn(1, 0), -1);
        QCOMPARE(s.GetPrevNonBlankColumn(4, 7), -1);
        QCOMPARE(s.GetNextNonBlankColumn(-1, 0), 1);
    }

    void randomUseMatchesAPlainMap() {
        CMemoryCellSource s;
        std::map<std::pair<int, int>, QString> model; // (row, column) -> text
        std::mt19937 rng(20240601);
        std::uniform_int_distribution<int> coord(-3, 40);
        std::uniform_int_distribution<int> op(0, 99);
        int serial = 0;
        for (int step = 0; step < 20000; ++step) {
            const int kind = op(rng);
            const int c = coord(rng);
            const int r = coord(rng);
            if (kind < 55) {
                const QString text = QString::number(++serial);
                CCellRecord rec = Text(text);
                s.SetCell(c, r, &rec);
                model[{r, c}] = text;
            } else if (kind < 93) {
                const auto it = model.find({r, c});
                QCOMPARE(Read(s, c, r), it == model.end() ? QStringLiteral("<none>") : it->second);
            } else if (kind < 96) {
                s.DeleteCell(c, r);
                model.erase({r, c});
            } else if (kind < 98 && r >= 0) {
                // Deleting a row: the stored rows below it move up by one.
                s.DeleteRow(r);
                std::map<std::pair<int, int>, QString> next;
                for (const auto& [key, value] : model) {
                    if (key.first == r)
                        continue;
                    next[{key.first > r ? key.first - 1 : key.first, key.second}] = value;
                }
                // Rows that were never stored hold nothing, so a row below the first stored
                // row shifts the stored rows too; the plain map shifts the same way.
                model.swap(next);
            } else if (c >= 0) {
                s.DeleteColumn(c);
                std::map<std::pair<int, int>, QString> next;
                for (const auto& [key, value] : model) {
                    if (key.second == c)
                        continue;
                    next[{key.first, key.second > c ? key.second - 1 : key.second}] = value;
                }
                model.swap(next);
            }
        }
        for (const auto& [key, value] : model)
            QCOMPARE(Read(s, key.second, key.first), value);
    }

    // Painting asks, cell by cell along a row, for the nearest text to the left; the
    // answers must stay right however the questions and the changes between them come.
    void textToTheLeftAsARowIsPainted() {
        CMemoryCellSource s;
        std::map<std::pair<int, int>, QString> model; // (row, column) -> text
        std::mt19937 rng(77);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(rng);
        };
        const auto expected = [&](int column, int row) {
            for (int c = column - 1; c >= 0; --c) {
                const auto it = model.find({row, c});
                if (it != model.end() && !it->second.isEmpty())
                    return c;
            }
            return -1;
        };
        // A row painted from some column on, left to right, with changes in between.
        int passRow = 0;
        int passColumn = 16;
        for (int step = 0; step < 6000; ++step) {
            if (passColumn >= 16) {
                passRow = pick(0, 6);
                passColumn = pick(0, 8);
            }
            const int what = pick(0, 9);
            if (what <= 2) {
                const int row = pick(0, 2) == 0 ? passRow : pick(0, 6);
                const int c = pick(-1, 14);
                const QString text = pick(0, 2) == 0 ? QString() : QString::number(step);
                CCellRecord rec = Text(text);
                s.SetCell(c, row, &rec);
                model[{row, c}] = text;
            } else if (what == 3) {
                const int c = pick(0, 14);
                s.DeleteCell(c, passRow);
                model.erase({passRow, c});
            } else if (what == 4 && pick(0, 5) == 0) {
                const int row = pick(0, 6);
                s.DeleteRow(row);
                std::map<std::pair<int, int>, QString> next;
                for (const auto& [key, value] : model)
                    if (key.first != row)
                        next[{key.first > row ? key.first - 1 : key.first, key.second}] = value;
                model.swap(next);
            } else {
                QCOMPARE(s.GetPrevNonBlankColumn(passColumn, passRow),
                         expected(passColumn, passRow));
                passColumn += pick(0, 2);
            }
        }
    }
};

QTEST_GUILESS_MAIN(MemoryCellSourceTest)
#include "MemoryCellSourceTest.moc"
