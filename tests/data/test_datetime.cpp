// The date-time value, the DATEPART intervals and the rewriting of the original
// dialect's literals.

#include "DateTime.h"
#include "JetSql.h"

#include <QTest>

class TestDateTime : public QObject {
    Q_OBJECT
private slots:
    void dayNumbersAndFields();
    void invalidDatesAreRejected();
    void parsesEveryStoredForm_data();
    void parsesEveryStoredForm();
    void rejectsUnreadableText_data();
    void rejectsUnreadableText();
    void negativeAndRoundedValuesKeepFieldsConsistent();
    void literalForms();
    void datePartIntervals_data();
    void datePartIntervals();
    void datePartWeekOptions();
    void translatesDateLiteralsAndDoubleQuotes_data();
    void translatesDateLiteralsAndDoubleQuotes();
};

void TestDateTime::dayNumbersAndFields() {
    QCOMPARE(CDateTime(1899, 12, 30).DayNumber(), 0);
    QCOMPARE(CDateTime(1900, 1, 1).DayNumber(), 2);
    QCOMPARE(CDateTime(2024, 1, 1).DayNumber(), 45292);
    QCOMPARE(CDateTime(2001, 4, 23).DayNumber(), 37004);

    const CDateTime t(2024, 2, 29, 22, 5, 9);
    QVERIFY(t.IsValid());
    QCOMPARE(t.GetYear(), 2024);
    QCOMPARE(t.GetMonth(), 2);
    QCOMPARE(t.GetDay(), 29);
    QCOMPARE(t.GetHour(), 22);
    QCOMPARE(t.GetMinute(), 5);
    QCOMPARE(t.GetSecond(), 9);
    QCOMPARE(t.DatePart(), CDateTime(2024, 2, 29));
    QCOMPARE(t.ToQDateTime(), QDateTime(QDate(2024, 2, 29), QTime(22, 5, 9)));
    QCOMPARE(CDateTime::FromQDate(QDate(2024, 2, 29)).DayNumber(), t.DayNumber());

    // 1 = Sunday ... 7 = Saturday; the zero date was a Saturday.
    QCOMPARE(CDateTime(1899, 12, 30).GetDayOfWeek(), 7);
    QCOMPARE(CDateTime(2024, 1, 1).GetDayOfWeek(), 2);
    QCOMPARE(CDateTime(2024, 3, 31).GetDayOfWeek(), 1);

    // A time alone lies on the zero date.
    CDateTime time;
    QVERIFY(time.SetTime(15, 30, 0));
    QCOMPARE(time.DayNumber(), 0);
    QCOMPARE(time.Days(), 15.5 / 24.0);
}

void TestDateTime::invalidDatesAreRejected() {
    CDateTime value(2024, 1, 1);
    QVERIFY(!value.SetDateTime(2023, 2, 29, 0, 0, 0));
    QCOMPARE(value.GetStatus(), CDateTime::Invalid);
    QVERIFY(!CDateTime(2024, 13, 1).IsValid());
    QVERIFY(!CDateTime(2024, 4, 31).IsValid());
    QVERIFY(!CDateTime(2024, 4, 30, 24, 0, 0).IsValid());
    QVERIFY(!CDateTime(2024, 4, 30, 0, 60, 0).IsValid());
    QVERIFY(CDateTime(2000, 2, 29).IsValid());
    QVERIFY(!CDateTime(1900, 2, 29).IsValid());
    QVERIFY(!CDateTime::FromQDate(QDate()).IsValid());
    QVERIFY(!CDateTime::FromDays(std::numeric_limits<double>::quiet_NaN()).IsValid());
}

void TestDateTime::parsesEveryStoredForm_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const QDate day(2024, 3, 28);
    QTest::newRow("program's own form") << "2024/03/28 14:05:09" << QDateTime(day, QTime(14, 5, 9));
    QTest::newRow("dashes with time") << "2024-03-28 14:05:09" << QDateTime(day, QTime(14, 5, 9));
    QTest::newRow("dashes") << "2024-03-28" << QDateTime(day, QTime(0, 0));
    QTest::newRow("slashes") << "2024/03/28" << QDateTime(day, QTime(0, 0));
    QTest::newRow("hours and minutes") << "2024/03/28 08:30" << QDateTime(day, QTime(8, 30));
    QTest::newRow("ISO with T and fraction")
        << "2024-03-28T08:30:15.250" << QDateTime(day, QTime(8, 30, 15));
    QTest::newRow("blanks around") << "  2024/03/28 08:00:00 " << QDateTime(day, QTime(8, 0));
    QTest::newRow("single digits") << "2024/3/8" << QDateTime(QDate(2024, 3, 8), QTime(0, 0));
    QTest::newRow("day count") << "45379" << QDateTime(day, QTime(0, 0));
    QTest::newRow("day count with time") << "45379.75" << QDateTime(day, QTime(18, 0));
    QTest::newRow("time alone") << "22:00:00" << QDateTime(QDate(1899, 12, 30), QTime(22, 0));
}

void TestDateTime::parsesEveryStoredForm() {
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const CDateTime value = CDateTime::Parse(text);
    QVERIFY2(value.IsValid(), qPrintable(text));
    QCOMPARE(value.ToQDateTime(), expected);
}

void TestDateTime::rejectsUnreadableText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("word") << "mañana";
    QTest::newRow("month 13") << "2024/13/01";
    QTest::newRow("30 February") << "2024-02-30";
    QTest::newRow("mixed separators") << "2024/03-28";
    QTest::newRow("hour 25") << "2024/03/28 25:00:00";
    QTest::newRow("trailing text") << "2024/03/28 08:00:00 x";
    QTest::newRow("day first") << "28/03/2024";
}

void TestDateTime::rejectsUnreadableText() {
    QFETCH(QString, text);
    QCOMPARE(CDateTime::Parse(text).GetStatus(), CDateTime::Invalid);
}

void TestDateTime::negativeAndRoundedValuesKeepFieldsConsistent() {
    // Six hours before the zero date: the previous day at 18:00.
    const CDateTime before = CDateTime::FromDays(-0.25);
    QCOMPARE(before.DayNumber(), -1);
    QCOMPARE(before.GetDay(), 29);
    QCOMPARE(before.GetHour(), 18);
    // A hair before midnight rounds to the next day, date and time together.
    const CDateTime almost = CDateTime::FromDays(45379.0 - 1e-9);
    QCOMPARE(almost.DayNumber(), 45379);
    QCOMPARE(almost.GetHour(), 0);
    QCOMPARE(almost.GetDay(), 28);
    QCOMPARE(almost, CDateTime(2024, 3, 28));
}

void TestDateTime::literalForms() {
    QCOMPARE(CDateTime(2024, 3, 8, 7, 5, 0).ToSqlLiteral(), QString("'2024/03/08 07:05:00'"));
    QCOMPARE(CDateTime(999, 1, 2).ToSqlLiteral(), QString("' 999/01/02 00:00:00'"));
    QCOMPARE(CDateTime::MakeNull().ToSqlLiteral(), QString("null"));
    QCOMPARE(CDateTime::MakeInvalid().ToSqlLiteral(), QString("null"));
    // What is written reads back the same.
    const CDateTime value(2031, 12, 31, 23, 59, 59);
    QString literal = value.ToSqlLiteral();
    QCOMPARE(CDateTime::Parse(literal.mid(1, literal.size() - 2)), value);
}

void TestDateTime::datePartIntervals_data() {
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<int>("expected");
    const QDateTime d(QDate(2024, 12, 31), QTime(21, 45, 30));
    QTest::newRow("yyyy") << "yyyy" << d << 2024;
    QTest::newRow("q") << "q" << d << 4;
    QTest::newRow("m") << "m" << d << 12;
    QTest::newRow("y (day of a leap year)") << "y" << d << 366;
    QTest::newRow("d") << "d" << d << 31;
    QTest::newRow("w (Tuesday, week from Sunday)") << "w" << d << 3;
    QTest::newRow("ww (last week)") << "ww" << d << 53;
    QTest::newRow("ww (1 January)") << "ww" << QDateTime(QDate(2024, 1, 1), QTime()) << 1;
    QTest::newRow("ww (first Sunday)") << "ww" << QDateTime(QDate(2024, 1, 7), QTime()) << 2;
    QTest::newRow("h") << "h" << d << 21;
    QTest::newRow("n") << "n" << d << 45;
    QTest::newRow("s") << "s" << d << 30;
    QTest::newRow("upper case") << "YYYY" << d << 2024;
    QTest::newRow("q of February") << "q" << QDateTime(QDate(2024, 2, 1), QTime()) << 1;
}

void TestDateTime::datePartIntervals() {
    QFETCH(QString, interval);
    QFETCH(QDateTime, when);
    QFETCH(int, expected);
    int result = -1;
    QVERIFY(DvJetSql::DatePart(interval, CDateTime::FromQDateTime(when).Days(), 1, 1, result));
    QCOMPARE(result, expected);
}

void TestDateTime::datePartWeekOptions() {
    int result = 0;
    QVERIFY(!DvJetSql::DatePart("x", 45000, 1, 1, result));
    // Monday as first day: Monday 1 January 2024 is weekday 1.
    QVERIFY(DvJetSql::DatePart("w", CDateTime(2024, 1, 1).Days(), 2, 1, result));
    QCOMPARE(result, 1);
    // First week of four days, Monday first (as the ISO weeks): 1 January 2021 (a
    // Friday) still belongs to the last week of 2020.
    QVERIFY(DvJetSql::DatePart("ww", CDateTime(2021, 1, 1).Days(), 2, 2, result));
    QCOMPARE(result, 53);
    QVERIFY(DvJetSql::DatePart("ww", CDateTime(2021, 1, 4).Days(), 2, 2, result));
    QCOMPARE(result, 1);
    // First full week: 2024 starts on a Monday, so with Sunday first the first full
    // week begins on the 7th.
    QVERIFY(DvJetSql::DatePart("ww", CDateTime(2024, 1, 7).Days(), 1, 3, result));
    QCOMPARE(result, 1);
}

void TestDateTime::translatesDateLiteralsAndDoubleQuotes_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::newRow("day first when it cannot be a month")
        << "SELECT * FROM A WHERE DIA_REF < #28/03/24#"
        << "SELECT * FROM A WHERE DIA_REF < '2024/03/28 00:00:00'";
    QTest::newRow("month first otherwise") << "X = #3/28/2024#"
                                           << "X = '2024/03/28 00:00:00'";
    QTest::newRow("year first with time") << "X = #2024-03-28 10:30#"
                                          << "X = '2024/03/28 10:30:00'";
    QTest::newRow("twelve-hour time") << "X = #1/2/2024 3:05 PM#"
                                      << "X = '2024/01/02 15:05:00'";
    QTest::newRow("double quotes become a text") << "DATEPART(\"d\",DIA)=05"
                                                 << "DATEPART('d',DIA)=05";
    QTest::newRow("quotes inside double quotes") << "X = \"a \"\"b\"\" 'c'\""
                                                 << "X = 'a \"b\" ''c'''";
    QTest::newRow("nothing inside a text changes") << "X = '#28/03/24# \"d\" it''s'"
                                                   << "X = '#28/03/24# \"d\" it''s'";
    QTest::newRow("bracketed names kept") << "SELECT [A\"B] FROM T"
                                          << "SELECT [A\"B] FROM T";
    QTest::newRow("unreadable date left as it is") << "X = #hoy#"
                                                   << "X = #hoy#";
    QTest::newRow("impossible date left as it is") << "X = #31/31/24#"
                                                   << "X = #31/31/24#";
}

void TestDateTime::translatesDateLiteralsAndDoubleQuotes() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QCOMPARE(DvJetSql::Translate(sql), expected);
}

QTEST_GUILESS_MAIN(TestDateTime)
#include "test_datetime.moc"
