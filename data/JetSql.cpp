#include "JetSql.h"

#include "DateTime.h"

#include <QCollator>
#include <QVector>
#include <memory>
#include <sqlite3.h>

namespace {
// Reads the numbers of a date or time part: digits separated by one of seps.
bool SplitNumbers(const QString& text, const QString& seps, QVector<int>& numbers,
                  QVector<int>& widths) {
    numbers.clear();
    widths.clear();
    int value = 0;
    int width = 0;
    for (int i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i].isDigit()) {
            if (width >= 4)
                return false;
            value = value * 10 + text[i].digitValue();
            ++width;
            continue;
        }
        if (width == 0)
            return false;
        numbers.append(value);
        widths.append(width);
        value = 0;
        width = 0;
        if (i < text.size() && !seps.contains(text[i]))
            return false;
    }
    return true;
}

bool ParseTimePart(QString text, int& hour, int& minute, int& second) {
    text = text.trimmed().toUpper();
    bool pm = false;
    bool am = false;
    if (text.endsWith(QLatin1String("PM"))) {
        pm = true;
        text.chop(2);
    } else if (text.endsWith(QLatin1String("AM"))) {
        am = true;
        text.chop(2);
    }
    QVector<int> n, w;
    if (!SplitNumbers(text.trimmed(), QStringLiteral(":"), n, w) || n.size() < 2 || n.size() > 3)
        return false;
    hour = n[0];
    minute = n[1];
    second = n.size() == 3 ? n[2] : 0;
    if (pm || am) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    return hour < 24 && minute < 60 && second < 60;
}

// The contents between two '#' as a date-time, or an invalid value.
CDateTime ParseJetDate(const QString& content) {
    QString text = content.trimmed();
    QString datePart = text;
    QString timePart;
    const int blank = text.indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        datePart = text.left(blank);
        timePart = text.mid(blank + 1);
    } else if (text.contains(QLatin1Char(':'))) {
        datePart.clear();
        timePart = text;
    }
    int hour = 0, minute = 0, second = 0;
    if (!timePart.isEmpty() && !ParseTimePart(timePart, hour, minute, second))
        return CDateTime::MakeInvalid();
    if (datePart.isEmpty()) {
        CDateTime value;
        value.SetTime(hour, minute, second);
        return value;
    }
    QVector<int> n, w;
    if (!SplitNumbers(datePart, QStringLiteral("/-."), n, w) || n.size() != 3)
        return CDateTime::MakeInvalid();
    int year, month, day;
    if (w[0] > 2) {
        year = n[0];
        month = n[1];
        day = n[2];
    } else {
        year = w[2] <= 2 ? 2000 + n[2] : n[2];
        if (n[0] >= 1 && n[0] <= 12) {
            month = n[0];
            day = n[1];
        } else {
            day = n[0];
            month = n[1];
        }
    }
    CDateTime value;
    value.SetDateTime(year, month, day, hour, minute, second);
    return value;
}

// The day number of 1 January of a year.
int FirstOfYear(int year) {
    return CDateTime(year, 1, 1).DayNumber();
}

// Day of the week of a day number, 0 for firstDayOfWeek (1 = Sunday ... 7 = Saturday).
int WeekdayIndex(int dayNumber, int firstDayOfWeek) {
    CDateTime d = CDateTime::FromDays(dayNumber);
    return (d.GetDayOfWeek() - firstDayOfWeek + 7) % 7;
}

// The first day of week 1 of a year under the first-week rule: 1 the week holding
// 1 January, 2 the first week with four days of the year, 3 the first full week.
int FirstWeekStart(int year, int firstDayOfWeek, int firstWeekOfYear) {
    const int jan1 = FirstOfYear(year);
    const int wd = WeekdayIndex(jan1, firstDayOfWeek);
    switch (firstWeekOfYear) {
    case 2:
        return wd <= 3 ? jan1 - wd : jan1 + 7 - wd;
    case 3:
        return wd == 0 ? jan1 : jan1 + 7 - wd;
    default:
        return jan1 - wd;
    }
}

void DatePartFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc < 2 || argc > 4) {
        sqlite3_result_error(ctx, "wrong number of arguments to function DATEPART()", -1);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString interval =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    CDateTime value;
    switch (sqlite3_value_type(argv[1])) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        value = CDateTime::FromDays(sqlite3_value_double(argv[1]));
        break;
    case SQLITE_TEXT:
        value = CDateTime::Parse(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[1]))));
        break;
    default:
        value = CDateTime::MakeInvalid();
        break;
    }
    int firstDay = argc > 2 ? sqlite3_value_int(argv[2]) : 1;
    int firstWeek = argc > 3 ? sqlite3_value_int(argv[3]) : 1;
    if (firstDay == 0)
        firstDay = 1;
    if (firstWeek == 0)
        firstWeek = 1;
    if (firstDay < 1 || firstDay > 7 || firstWeek < 1 || firstWeek > 3) {
        sqlite3_result_error(ctx, "invalid argument to function DATEPART()", -1);
        return;
    }
    int result = 0;
    if (!DvJetSql::DatePart(interval, 0.0, firstDay, firstWeek, result)) {
        sqlite3_result_error(ctx, "invalid interval for function DATEPART()", -1);
        return;
    }
    if (!value.IsValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    DvJetSql::DatePart(interval, value.Days(), firstDay, firstWeek, result);
    sqlite3_result_int(ctx, result);
}
// Text order of the original engine: Spanish alphabetical order ("Álvarez" among the
// A, "ñ" after "n"), letter case ignored.
int CompareTexts(void* context, int length1, const void* text1, int length2, const void* text2) {
    const auto* collator = static_cast<const QCollator*>(context);
    const int result =
        collator->compare(QString::fromUtf8(static_cast<const char*>(text1), length1),
                          QString::fromUtf8(static_cast<const char*>(text2), length2));
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void DeleteCollator(void* context) {
    delete static_cast<QCollator*>(context);
}
} // namespace

namespace DvJetSql {
QString Translate(const QString& sql) {
    if (!sql.contains(QLatin1Char('"')) && !sql.contains(QLatin1Char('#')))
        return sql;
    QString out;
    out.reserve(sql.size() + 16);
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            // A quoted text, copied as it stands ('' is a quote inside it).
            int j = i + 1;
            while (j < n) {
                if (sql[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('\''))
                        j += 2;
                    else
                        break;
                } else {
                    ++j;
                }
            }
            const int end = j < n ? j + 1 : n;
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('[')) {
            const int close = sql.indexOf(QLatin1Char(']'), i + 1);
            const int end = close < 0 ? n : close + 1;
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('"')) {
            QString text;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql[j] == QLatin1Char('"')) {
                    if (j + 1 < n && sql[j + 1] == QLatin1Char('"')) {
                        text += QLatin1Char('"');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                text += sql[j];
                ++j;
            }
            if (!closed) {
                out += QStringView(sql).mid(i);
                break;
            }
            text.replace(QLatin1String("'"), QLatin1String("''"));
            out += QLatin1Char('\'') + text + QLatin1Char('\'');
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close > i + 1) {
                const CDateTime value = ParseJetDate(sql.mid(i + 1, close - i - 1));
                if (value.IsValid()) {
                    out += value.ToSqlLiteral();
                    i = close + 1;
                    continue;
                }
            }
            out += c;
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            // A comment runs to the end of the line and is copied unchanged.
            int end = sql.indexOf(QLatin1Char('\n'), i);
            end = end < 0 ? n : end;
            out += QStringView(sql).mid(i, end - i);
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

bool DatePart(const QString& intervalText, double days, int firstDayOfWeek, int firstWeekOfYear,
              int& result) {
    const QString interval = intervalText.trimmed().toLower();
    const CDateTime value = CDateTime::FromDays(days);
    if (interval == QLatin1String("yyyy"))
        result = value.GetYear();
    else if (interval == QLatin1String("q"))
        result = (value.GetMonth() - 1) / 3 + 1;
    else if (interval == QLatin1String("m"))
        result = value.GetMonth();
    else if (interval == QLatin1String("y"))
        result = value.DayNumber() - FirstOfYear(value.GetYear()) + 1;
    else if (interval == QLatin1String("d"))
        result = value.GetDay();
    else if (interval == QLatin1String("w"))
        result = WeekdayIndex(value.DayNumber(), firstDayOfWeek) + 1;
    else if (interval == QLatin1String("ww")) {
        const int day = value.DayNumber();
        int year = value.GetYear();
        int start = FirstWeekStart(year, firstDayOfWeek, firstWeekOfYear);
        if (day < start)
            start = FirstWeekStart(--year, firstDayOfWeek, firstWeekOfYear);
        result = (day - start) / 7 + 1;
    } else if (interval == QLatin1String("h"))
        result = value.GetHour();
    else if (interval == QLatin1String("n"))
        result = value.GetMinute();
    else if (interval == QLatin1String("s"))
        result = value.GetSecond();
    else
        return false;
    return true;
}

bool RegisterFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    const bool datePart =
        sqlite3_create_function_v2(db, "DATEPART", -1, flags, nullptr, DatePartFunction, nullptr,
                                   nullptr, nullptr) == SQLITE_OK;
    // The text columns of our files are declared COLLATE NOCASE: other tools read them
    // with SQLite's own NOCASE, this program with the Spanish order.
    auto collator = std::make_unique<QCollator>(QLocale(QLocale::Spanish, QLocale::Spain));
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    // On success the connection owns the collator and deletes it when it closes; on
    // failure it stays ours.
    const bool collation = sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, collator.get(),
                                                       CompareTexts, DeleteCollator) == SQLITE_OK;
    if (collation)
        collator.release();
    return datePart && collation;
}
} // namespace DvJetSql
