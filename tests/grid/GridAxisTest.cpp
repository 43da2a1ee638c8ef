// The axis shared by columns and rows: positions, hit tests, the visible slots, the
// furthest view and the scroll into view, against sums walked slot by slot here, with
// hidden (zero-size) and locked slots; and uniform sizes answering as a table of the same
// sizes does.

#include "GridSheet.h"
#include "TestSupport.h"

#include <QtTest>
#include <random>

namespace {
// The slots shown from the locked ones, then from the first scrolled one.
std::vector<int> Shown(const CGridAxis& a) {
    std::vector<int> shown;
    for (int i = 0; i < a.Locked(); ++i)
        shown.push_back(i);
    for (int i = a.First(); i < a.Count(); ++i)
        shown.push_back(i);
    return shown;
}

// Position of every shown slot by walking; -1 for the others.
std::vector<int> Walked(const CGridAxis& a) {
    std::vector<int> pos(static_cast<size_t>(a.Count()), -1);
    int at = 0;
    for (int i : Shown(a)) {
        pos[static_cast<size_t>(i)] = at;
        at += a.Size(i);
    }
    return pos;
}

// Compares everything the axis answers against the walk; empty when all agree.
QString Check(const CGridAxis& a) {
    const std::vector<int> pos = Walked(a);
    for (int i = 0; i < a.Count(); ++i)
        if (pos[static_cast<size_t>(i)] >= 0 && a.Position(i) != pos[static_cast<size_t>(i)])
            return QStringLiteral("position of %1").arg(i);
    for (int y = -2; y < a.ViewExtent() + 2; ++y) {
        int expected = -1;
        for (int i : Shown(a)) {
            const int p = pos[static_cast<size_t>(i)];
            if (y >= 0 && y < a.ViewExtent() && a.Size(i) > 0 && y >= p && y < p + a.Size(i))
                expected = i;
        }
        if (a.SlotAt(y) != expected)
            return QStringLiteral("slot at %1: %2, not %3").arg(y).arg(a.SlotAt(y)).arg(expected);
    }
    const CGridSlots visible = a.VisibleSlots(a.ViewExtent());
    int end = 0;
    size_t k = 0;
    for (int i : Shown(a)) {
        if (end >= a.ViewExtent())
            break;
        if (a.Size(i) == 0)
            continue;
        if (k >= visible.items.size() || visible.items[k].index != i || visible.items[k].pos != end)
            return QStringLiteral("visible slot %1").arg(i);
        ++k;
        end += a.Size(i);
    }
    if (k != visible.items.size() || visible.end != end)
        return QStringLiteral("visible slots end");
    // The furthest first slot: the most slots from the end that fit beside the locked ones.
    const long long room = a.ViewExtent() - a.LockedSize();
    int last = a.Count() - 1;
    long long sum = 0;
    for (int i = a.Count() - 1; i >= a.Locked(); --i) {
        sum += a.Size(i);
        if (sum > room)
            break;
        last = i;
    }
    if (a.Count() > a.Locked() && a.Last() != std::max(last, a.Locked()))
        return QStringLiteral("last %1, not %2").arg(a.Last()).arg(last);
    return QString();
}
} // namespace

class GridAxisTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DvTest::IsolateSettings(); }

    void geometryAgreesWithAWalk() {
        std::mt19937 random(7);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        for (int round = 0; round < 200; ++round) {
            CGridSheet sheet;
            sheet.SetRowCount(pick(1, 40));
            CGridAxis& a = sheet.Rows();
            a.SetUniform(false);
            for (int i = 0; i < a.Count(); ++i)
                a.SetSize(i, pick(0, 4) == 0 ? 0 : pick(5, 40));
            a.SetLocked(pick(0, 2) == 0 ? std::min(pick(1, 3), a.Count() - 1) : 0);
            a.SetViewExtent(pick(0, 300));
            a.UpdateLast();
            a.SetFirst(pick(a.Locked(), std::max(a.Locked(), a.Last())));
            const QString fault = Check(a);
            if (!fault.isEmpty())
                QFAIL(qPrintable(QStringLiteral("round %1: %2").arg(round).arg(fault)));
            // Scrolled into view, a slot that fits the room shows whole.
            const int target = pick(a.Locked(), a.Count() - 1);
            a.SetFirst(a.FirstToShow(target));
            if (target >= a.Locked() && a.Size(target) <= a.ViewExtent() - a.LockedSize()) {
                QVERIFY(a.Position(target) >= a.LockedSize());
                QVERIFY(a.Position(target) + a.Size(target) <= a.ViewExtent());
            }
        }
    }

    void uniformSizesAnswerAsATableDoes() {
        for (int count : {0, 1, 7, 30}) {
            for (int extent : {0, 15, 161, 400}) {
                for (int locked : {0, 2}) {
                    if (locked >= count)
                        continue;
                    CGridSheet uniformSheet, tableSheet;
                    uniformSheet.SetRowCount(count);
                    tableSheet.SetRowCount(count);
                    CGridAxis& u = uniformSheet.Rows();
                    CGridAxis& t = tableSheet.Rows();
                    u.SetUniform(true);
                    t.SetUniform(false);
                    for (CGridAxis* a : {&u, &t}) {
                        a->SetLocked(locked);
                        a->SetViewExtent(extent);
                        a->UpdateLast();
                    }
                    QCOMPARE(u.Last(), t.Last());
                    QCOMPARE(Check(u), QString());
                    for (int i = locked; i < count; ++i) {
                        QCOMPARE(u.FirstToShow(i), t.FirstToShow(i));
                        QCOMPARE(u.ScrollDistance(locked, i), t.ScrollDistance(locked, i));
                    }
                    if (count > 0)
                        QCOMPARE(u.SpanSize(0, count - 1), t.SpanSize(0, count - 1));
                }
            }
        }
    }

    void headingSlotsLieAgainstTheCells() {
        CGridSheet sheet;
        CGridAxis& rows = sheet.Rows();
        rows.SetHeadingCount(3, 10);
        rows.SetHeadingSize(-1, 20);
        rows.SetHeadingExtent(45); // 5 pixels above the outermost heading row
        QCOMPARE(rows.HeadingPos(-1), 25);
        QCOMPARE(rows.HeadingPos(-3), 5);
        QCOMPARE(rows.Position(-1), -20);
        QCOMPARE(rows.HeadingSlotAt(4), 0);
        QCOMPARE(rows.HeadingSlotAt(5), -3);
        QCOMPARE(rows.HeadingSlotAt(44), -1);
        QCOMPARE(rows.HeadingDividerAt(27), -2);
        QCOMPARE(rows.HeadingDividerAt(43), -1);
        QCOMPARE(rows.HeadingDividerAt(42), 0); // exactly 3 pixels off
        QCOMPARE(rows.SpanSize(-3, -1), 40);
    }

    void dividersPreferAHiddenNeighbour() {
        CGridSheet sheet;
        sheet.SetColumnCount(4);
        CGridAxis& c = sheet.Columns();
        c.SetSize(1, 0);
        QCOMPARE(c.DividerAt(73, 300), 1); // the edge at 75 opens the hidden column
        QCOMPARE(c.DividerAt(72, 300), -1);
        QCOMPARE(c.DividerAt(152, 300), 2);
        QCOMPARE(c.DividerAt(227, 100), -1); // the walk stops past the window
    }
};

QTEST_MAIN(GridAxisTest)
#include "GridAxisTest.moc"
