// Cell records: defaults of unset properties, the merge and replace rules, numbers and the
// owned extra data block.

#include "CellRecord.h"

#include <QFont>
#include <QPen>
#include <QtTest>

class CellRecordTest : public QObject {
    Q_OBJECT

private slots:
    void unsetPropertiesGiveTheirDefaults() {
        CCellRecord r;
        QCOMPARE(r.GetMask(), 0u);
        QString text = QStringLiteral("untouched");
        QCOMPARE(r.GetText(&text), 1);
        QCOMPARE(text, QStringLiteral("untouched"));
        QCOMPARE(r.GetDataType(), 1);
        QCOMPARE(r.GetItemData(), 0);
        QCOMPARE(r.GetBorder(), 0);
        QCOMPARE(r.GetAlignment(), 0);
        QCOMPARE(r.GetCellType(), 0);
        QVERIFY(r.GetFont() == nullptr);
        QVERIFY(r.GetBorderPen() == nullptr);
        QCOMPARE(r.GetDecimals(), -1);
        QCOMPARE(r.GetJoinInfo(nullptr, nullptr, nullptr), 1);
        // A value left in a field does not count once its bit is gone.
        r.SetItemData(7);
        r.ClearProperty(CCellRecord::PropItemData);
        QCOMPARE(r.GetItemData(), 0);
    }

    void textAndNumbersSetTheirDataType() {
        CCellRecord r;
        QCOMPARE(r.SetText(QStringLiteral("abc")), 0);
        QCOMPARE(r.GetMask(), CCellRecord::PropText | CCellRecord::PropDataType);
        QCOMPARE(r.GetDataType(), 1);
        r.SetNumber(1);
        QCOMPARE(r.GetText(), QStringLiteral("1.000000"));
        QCOMPARE(r.GetDataType(), 2);
        r.SetDecimals(2);
        r.SetNumber(-3.14159);
        QCOMPARE(r.GetText(), QStringLiteral("-3.14"));
        r.SetDecimals(0);
        r.SetNumber(2.6);
        QCOMPARE(r.GetText(), QStringLiteral("3"));
    }

    void numbersReadLikeTheRuntimeDoes() {
        CCellRecord r;
        const struct {
            const char* text;
            double value;
        } cases[] = {{"12abc", 12},   {"abc", 0},      {"t", 0}, {"  -3.5e2x", -350},
                     {".5", 0.5},     {"1e", 1},       {"", 0},  {"+7", 7},
                     {"1.000000", 1}, {"0.000000", 0}, {"-", 0}};
        for (const auto& c : cases) {
            r.SetText(QString::fromLatin1(c.text));
            QCOMPARE(r.GetNumber(), c.value);
        }
    }

    void mergeKeepsWhatOnlyTheTargetHas() {
        QFont font;
        CCellRecord a;
        a.SetText(QStringLiteral("over"));
        a.SetBackColor(0x123456);
        CCellRecord b;
        b.SetText(QStringLiteral("under"));
        b.SetFont(&font);
        b.SetItemData(42);
        b.MergeFrom(a);
        QCOMPARE(b.GetText(), QStringLiteral("over"));
        QCOMPARE(b.GetBackColor(), GridColor(0x123456));
        QCOMPARE(b.GetFont(), &font);
        QCOMPARE(b.GetItemData(), 42);
        QCOMPARE(b.GetMask(), a.GetMask() | CCellRecord::PropFont | CCellRecord::PropItemData |
                                  CCellRecord::PropText | CCellRecord::PropDataType);
    }

    void replaceDropsWhatTheSourceLacks() {
        CCellRecord a;
        a.SetBorder(0x20D);
        CCellRecord b;
        b.SetText(QStringLiteral("gone"));
        b.SetLabel(QStringLiteral("also gone"));
        b = a;
        QCOMPARE(b.GetMask(), CCellRecord::PropBorder);
        QCOMPARE(b.GetText(), QString());
        QCOMPARE(b.GetLabel(), QString());
        QCOMPARE(b.GetBorder(), 0x20D);
    }

    void extraDataIsCopiedIntoItsOwnBuffer() {
        const char bytes[] = {1, 2, 3, 4, 5};
        CCellRecord a;
        QCOMPARE(a.SetExtraData(bytes, 5), 0);
        CCellRecord b;
        b.MergeFrom(a);
        QCOMPARE(b.GetExtraDataLength(), 5);
        QVERIFY(b.GetExtraData() != a.GetExtraData());
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(b.GetExtraData()), 5),
                 QByteArray(bytes, 5));
        a.Clear();
        QCOMPARE(a.GetMask(), 0u);
        QVERIFY(a.GetExtraData() == nullptr);
        // The copy outlives the original.
        QCOMPARE(b.GetExtraData()[4], static_cast<unsigned char>(5));
        b = CCellRecord();
        QVERIFY(b.GetExtraData() == nullptr);
        QCOMPARE(a.SetExtraData(nullptr, 3), 1);
        QVERIFY(!a.Has(CCellRecord::PropExtraData));
    }

    // A moved-from record names no property: its rare block went with the move, and
    // copying or reading it must not reach for that block.
    void movedFromRecordIsEmpty() {
        const char bytes[] = {7, 8, 9};
        CCellRecord a;
        a.SetText(QStringLiteral("Ana"));
        a.SetLabel(QStringLiteral("etiqueta"));
        a.SetExtraData(bytes, 3);
        CCellRecord b(std::move(a));
        QCOMPARE(b.GetLabel(), QStringLiteral("etiqueta"));
        QCOMPARE(b.GetExtraDataLength(), 3);
        QCOMPARE(a.GetMask(), 0u);
        CCellRecord copy(a);
        QVERIFY(copy.GetExtraData() == nullptr);
        QCOMPARE(copy.GetLabel(), QString());
        CCellRecord c;
        c = std::move(b);
        QCOMPARE(b.GetMask(), 0u);
        QCOMPARE(c.GetExtraData()[2], static_cast<unsigned char>(9));
        b.MergeFrom(c);
        QCOMPARE(b.GetLabel(), QStringLiteral("etiqueta"));
    }

    void colourSettersKeepTwentyFourBits() {
        CCellRecord r;
        r.SetTextColor(0xFF960000);
        QCOMPARE(r.GetTextColor(), GridColor(0x960000));
        r.SetHBackColor(0xE1FFFF);
        QCOMPARE(r.GetHBackColor(), GridColor(0xE1FFFF));
    }

    void joinInformationRoundTrips() {
        CCellRecord r;
        r.SetJoinInfo(0, -2, -1);
        int start = 9, rows = 9, columns = 9;
        QCOMPARE(r.GetJoinInfo(&start, &rows, &columns), 0);
        QCOMPARE(start, 0);
        QCOMPARE(rows, -2);
        QCOMPARE(columns, -1);
    }
};

QTEST_GUILESS_MAIN(CellRecordTest)
#include "CellRecordTest.moc"
