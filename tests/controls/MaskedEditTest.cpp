// The masked edit driven with synthetic key events, and its conversions.

#include "MaskedEdit.h"
#include "ColorRef.h"

#include <QtTest>

namespace {
void TypeAt(CEditSpecial& edit, int caret, const QString& keys) {
    edit.setCursorPosition(caret);
    QTest::keyClicks(&edit, keys);
}
} // namespace

class EditSpecialTest : public QObject {
    Q_OBJECT
private slots:
    void maskShowsTemplateAndTypingFillsIt();
    void refusedCharacterKeepsTextAndCaret();
    void literalPositionKeepsSeparator();
    void backspaceRepairsAndStepsOverSeparator();
    void deleteRepairsAndMovesRight();
    void typingPastTheEndChangesNothing();
    void selectionAndPasteChangeOnlyOnePosition();
    void getDateReadsAndWidensYears_data();
    void getDateReadsAndWidensYears();
    void setDateShowsTwoDigitYearOrTemplate();
    void getTimeChecksRanges();
    void setTimeWithAndWithoutSeconds();
    void integerConversions();
    void readOnlyIgnoresTypingButShowsProgramText();
    void backgroundColourIsPainted();
    void digitsOnlyRefusesOtherCharacters();
    void withoutMaskItIsAPlainEdit();
};

void EditSpecialTest::maskShowsTemplateAndTypingFillsIt() {
    CEditSpecial edit;
    edit.SetMask("##:##", QLatin1Char('_'));
    QCOMPARE(edit.text(), QString("__:__"));
    QCOMPARE(edit.cursorPosition(), 0);

    QTest::keyClicks(&edit, "08");
    QCOMPARE(edit.text(), QString("08:__"));
    QCOMPARE(edit.cursorPosition(), 3); // stepped over the colon
    QTest::keyClicks(&edit, "30");
    QCOMPARE(edit.text(), QString("08:30"));
    QCOMPARE(edit.cursorPosition(), 5);

    CEditSpecial date;
    date.SetMask("##-##-##", QLatin1Char('*')); // the prompt argument is ignored
    QCOMPARE(date.text(), QString("__-__-__"));
    QTest::keyClicks(&date, "010307");
    QCOMPARE(date.text(), QString("01-03-07"));
}

void EditSpecialTest::refusedCharacterKeepsTextAndCaret() {
    CEditSpecial edit;
    edit.SetMask("##-##-##");
    QTest::keyClicks(&edit, "1");
    QTest::keyClicks(&edit, "a");
    QCOMPARE(edit.text(), QString("1_-__-__"));
    QCOMPARE(edit.cursorPosition(), 1);
    // A digit after the refusal lands where the letter was typed.
    QTest::keyClicks(&edit, "2");
    QCOMPARE(edit.text(), QString("12-__-__"));
    QCOMPARE(edit.cursorPosition(), 3);
}

void EditSpecialTest::literalPositionKeepsSeparator() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    QTest::keyClicks(&edit, "1");
    TypeAt(edit, 2, "x"); // caret just before the colon
    QCOMPARE(edit.text(), QString("1_:__"));
    QCOMPARE(edit.cursorPosition(), 3);
    TypeAt(edit, 2, "7");
    QCOMPARE(edit.text(), QString("1_:__"));
    QCOMPARE(edit.cursorPosition(), 3);
}

void EditSpecialTest::backspaceRepairsAndStepsOverSeparator() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    edit.SetDisplayText("12:34");
    edit.setCursorPosition(5);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("12:3_"));
    QCOMPARE(edit.cursorPosition(), 4);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("12:__"));
    QCOMPARE(edit.cursorPosition(), 2); // before the colon

    edit.SetDisplayText("12:34");
    edit.setCursorPosition(3); // just after the colon
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("12:34"));
    QCOMPARE(edit.cursorPosition(), 2);

    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_Backspace); // nothing before the caret
    QCOMPARE(edit.text(), QString("12:34"));
    QCOMPARE(edit.cursorPosition(), 0);
}

void EditSpecialTest::deleteRepairsAndMovesRight() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    edit.SetDisplayText("12:34");
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.text(), QString("_2:34"));
    QCOMPARE(edit.cursorPosition(), 1);

    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_Delete); // the caret then lands past the colon
    QCOMPARE(edit.text(), QString("__:34"));
    QCOMPARE(edit.cursorPosition(), 3);

    edit.setCursorPosition(2);
    QTest::keyClick(&edit, Qt::Key_Delete); // the colon cannot be deleted
    QCOMPARE(edit.text(), QString("__:34"));
    QCOMPARE(edit.cursorPosition(), 3);

    // After Delete, a typed digit is handled as typing again.
    TypeAt(edit, 0, "9");
    QCOMPARE(edit.text(), QString("9_:34"));
}

void EditSpecialTest::typingPastTheEndChangesNothing() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    QTest::keyClicks(&edit, "1234");
    QCOMPARE(edit.text(), QString("12:34"));
    QTest::keyClicks(&edit, "5");
    QCOMPARE(edit.text(), QString("12:34"));
    QCOMPARE(edit.cursorPosition(), 5);
    QCOMPARE(edit.text().size(), 5);
}

void EditSpecialTest::selectionAndPasteChangeOnlyOnePosition() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    edit.SetDisplayText("12:34");
    edit.selectAll();
    QTest::keyClicks(&edit, "9");
    QCOMPARE(edit.text(), QString("92:34"));
    QCOMPARE(edit.cursorPosition(), 1);

    edit.SetMask("##:##");
    edit.setCursorPosition(0);
    edit.insert("0830"); // as a paste does
    QCOMPARE(edit.text(), QString("__:0_"));
    QCOMPARE(edit.cursorPosition(), 4);
}

void EditSpecialTest::getDateReadsAndWidensYears_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QDate>("date");
    QTest::newRow("untouched template") << QString() << false << QDate();
    QTest::newRow("impossible date") << "31-02-07" << false << QDate();
    QTest::newRow("partly filled") << "01-03-0_" << false << QDate();
    QTest::newRow("2007") << "01-03-07" << true << QDate(2007, 3, 1);
    QTest::newRow("96 is 1996") << "01-03-96" << true << QDate(1996, 3, 1);
    QTest::newRow("99 is 1999") << "31-12-99" << true << QDate(1999, 12, 31);
    QTest::newRow("95 is 2095") << "01-03-95" << true << QDate(2095, 3, 1);
    QTest::newRow("00 is 2000") << "29-02-00" << true << QDate(2000, 2, 29);
    QTest::newRow("four-digit year kept") << "01-03-2007" << true << QDate(2007, 3, 1);
    QTest::newRow("month 13") << "01-13-07" << false << QDate();
    QTest::newRow("day 0") << "00-01-07" << false << QDate();
}

void EditSpecialTest::getDateReadsAndWidensYears() {
    QFETCH(QString, shown);
    QFETCH(bool, valid);
    QFETCH(QDate, date);
    CEditSpecial edit;
    edit.SetMask("##-##-##");
    edit.SetDisplayText(shown);
    CDateTime value(1980, 5, 5, 10, 0, 0);
    QCOMPARE(edit.GetDate(value), valid);
    if (valid) {
        QVERIFY(value.IsValid());
        QCOMPARE(value.ToQDate(), date);
        QCOMPARE(value.GetHour(), 0);
        QCOMPARE(value.GetMinute(), 0);
    } else {
        QCOMPARE(value.GetStatus(), CDateTime::Invalid);
    }
}

void EditSpecialTest::setDateShowsTwoDigitYearOrTemplate() {
    CEditSpecial edit;
    edit.SetMask("##-##-##");
    edit.SetDate(CDateTime(2007, 1, 5));
    QCOMPARE(edit.text(), QString("05-01-07"));
    edit.SetDate(CDateTime::MakeInvalid());
    QCOMPARE(edit.text(), QString("__-__-__"));
    edit.SetDate(CDateTime(1998, 11, 30));
    QCOMPARE(edit.text(), QString("30-11-98"));
    edit.SetDate(CDateTime::MakeNull());
    QCOMPARE(edit.text(), QString("__-__-__"));

    // What is shown reads back as the same date, also outside 1996..2095: the two
    // digits keep the century of the date shown while they are unchanged.
    const QDate dates[] = {QDate(2012, 2, 29), QDate(1950, 7, 1), QDate(2120, 3, 3),
                           QDate(1896, 4, 6)};
    for (const QDate& date : dates) {
        edit.SetDate(CDateTime(date.year(), date.month(), date.day()));
        CDateTime back;
        QVERIFY(edit.GetDate(back));
        QCOMPARE(back.ToQDate(), date);
    }
    // The day typed over, the century stays; other year digits are widened as usual.
    edit.SetDate(CDateTime(1950, 7, 1));
    TypeAt(edit, 0, "15");
    CDateTime back;
    QVERIFY(edit.GetDate(back));
    QCOMPARE(back.ToQDate(), QDate(1950, 7, 15));
    TypeAt(edit, 6, "51");
    QVERIFY(edit.GetDate(back));
    QCOMPARE(back.ToQDate(), QDate(2051, 7, 15));
    // A text the program writes is read as it stands.
    edit.SetDate(CDateTime(1950, 7, 1));
    edit.SetDisplayText("01-07-50");
    QVERIFY(edit.GetDate(back));
    QCOMPARE(back.ToQDate(), QDate(2050, 7, 1));
}

void EditSpecialTest::getTimeChecksRanges() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    CDateTime value;
    edit.SetDisplayText("24:00");
    QVERIFY(!edit.GetTime(value));
    QCOMPARE(value.GetStatus(), CDateTime::Invalid);
    edit.SetDisplayText("23:59");
    QVERIFY(edit.GetTime(value));
    QCOMPARE(value.GetHour(), 23);
    QCOMPARE(value.GetMinute(), 59);
    QCOMPARE(value.GetSecond(), 0);
    QCOMPARE(value.ToQDate(), QDate(1899, 12, 30)); // a time alone lies on the zero date
    edit.SetDisplayText("12:60");
    QVERIFY(!edit.GetTime(value));
    edit.SetMask("##:##");
    QVERIFY(!edit.GetTime(value)); // untouched template

    CEditSpecial seconds;
    seconds.SetMask("##:##:##");
    seconds.SetDisplayText("07:05:09");
    QVERIFY(seconds.GetTime(value));
    QCOMPARE(value.GetSecond(), 9);
    seconds.SetDisplayText("07:05:__");
    QVERIFY(!seconds.GetTime(value));
}

void EditSpecialTest::setTimeWithAndWithoutSeconds() {
    CEditSpecial edit;
    edit.SetMask("##:##");
    CDateTime time;
    QVERIFY(time.SetTime(7, 5, 9));
    edit.SetTime(time, false);
    QCOMPARE(edit.text(), QString("07:05"));
    edit.SetMask("##:##:##");
    edit.SetTime(time, true);
    QCOMPARE(edit.text(), QString("07:05:09"));
    edit.SetTime(CDateTime::MakeInvalid());
    QCOMPARE(edit.text(), QString("__:__:__"));
}

void EditSpecialTest::integerConversions() {
    CEditSpecial edit;
    edit.SetValue(42);
    QCOMPARE(edit.text(), QString("42"));
    edit.SetValue(-7);
    QCOMPARE(edit.GetValue(), -7);
    edit.SetDisplayText(QString());
    QCOMPARE(edit.GetValue(), 0);
    edit.SetDisplayText("  -12abc");
    QCOMPARE(edit.GetValue(), -12);
    edit.SetDisplayText("abc12");
    QCOMPARE(edit.GetValue(), 0);
    edit.SetDisplayText("99999999999999");
    QCOMPARE(edit.GetValue(), std::numeric_limits<int>::max());

    CEditSpecial masked;
    masked.SetMask("####");
    masked.SetValue(42);
    QCOMPARE(masked.text(), QString("0042"));
    QCOMPARE(masked.GetValue(), 42);
}

void EditSpecialTest::readOnlyIgnoresTypingButShowsProgramText() {
    CEditSpecial edit;
    edit.SetDisplayText("Urgencias");
    edit.SetReadOnly(true, DvColor::ReadOnlyField);
    edit.setCursorPosition(9);
    QTest::keyClicks(&edit, "xyz");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("Urgencias"));
    edit.SetDisplayText("Cirugía");
    QCOMPARE(edit.text(), QString("Cirugía"));
    QVERIFY(edit.IsReadOnly());
    QCOMPARE(edit.GetBackgroundColor(), DvColor::Rgb(204, 236, 255));

    // Enter and Escape go on to the dialog.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&edit, &escape);
    QVERIFY(!escape.isAccepted());

    edit.SetReadOnly(false, DvColor::Rgb(255, 255, 255));
    edit.setCursorPosition(7);
    QTest::keyClicks(&edit, "!");
    QCOMPARE(edit.text(), QString("Cirugía!"));
}

void EditSpecialTest::backgroundColourIsPainted() {
    CEditSpecial edit;
    QVERIFY(!edit.HasCustomColors());
    edit.resize(120, 24);
    edit.SetBackgroundColor(DvColor::Rgb(204, 236, 255));
    QVERIFY(edit.HasCustomColors());
    QCOMPARE(edit.palette().color(QPalette::Base), QColor(204, 236, 255));
    edit.show();
    const QImage image = edit.grab().toImage();
    QCOMPARE(QColor(image.pixel(image.width() - 8, image.height() / 2)), QColor(204, 236, 255));
}

void EditSpecialTest::digitsOnlyRefusesOtherCharacters() {
    CEditSpecial edit;
    edit.SetDigitsOnly(true);
    QTest::keyClicks(&edit, "2a0-0 7");
    QCOMPARE(edit.text(), QString("2007"));
    QCOMPARE(edit.GetValue(), 2007);
}

void EditSpecialTest::withoutMaskItIsAPlainEdit() {
    CEditSpecial edit;
    QTest::keyClicks(&edit, "Ana Maria");
    QCOMPARE(edit.text(), QString("Ana Maria"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("Ana Mari"));
    QCOMPARE(edit.GetMask(), QString());
}

QTEST_MAIN(EditSpecialTest)
#include "MaskedEditTest.moc"
