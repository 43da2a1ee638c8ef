#pragma once
// A calendar date and time of day held as a number of days since 30 December 1899,
// with the time of day as the fractional part, and a validity status. A time of day
// alone lies on that zero date. This is the value every date-time column reads into.

#include <QDate>
#include <QDateTime>
#include <QString>

class CDateTime {
public:
    enum Status { Valid = 0, Invalid = 1, Null = 2 };

    CDateTime() = default; // valid, zero date (30/12/1899 00:00)
    CDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    static CDateTime FromDays(double days);
    static CDateTime FromQDate(const QDate& date);
    static CDateTime FromQDateTime(const QDateTime& dateTime);
    static CDateTime MakeNull();
    static CDateTime MakeInvalid();

    // Reads every stored form the program accepts: 'YYYY/MM/DD HH:MM:SS',
    // 'YYYY-MM-DD HH:MM:SS', 'YYYY-MM-DD', 'YYYY/MM/DD' (optionally with 'HH:MM'),
    // and a number of days since 30/12/1899. Anything else yields an invalid value.
    static CDateTime Parse(const QString& text);
    // The same for stored UTF-8 bytes; the program's own forms 'YYYY/MM/DD HH:MM:SS' and
    // 'YYYY/MM/DD' are read straight from the bytes.
    static CDateTime ParseUtf8(const char* text, int size);

    bool SetDateTime(int year, int month, int day, int hour, int minute, int second);
    bool SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    bool SetTime(int hour, int minute, int second) {
        return SetDateTime(1899, 12, 30, hour, minute, second);
    }

    Status GetStatus() const { return m_status; }
    void SetStatus(Status status) { m_status = status; }
    bool IsValid() const { return m_status == Valid; }

    double Days() const { return m_days; }
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    // 1 = Sunday ... 7 = Saturday, as the platform's date type numbers them.
    int GetDayOfWeek() const;

    // The same day at 00:00.
    CDateTime DatePart() const;
    // Whole days since 30/12/1899 of the date part (floor, also for negative values).
    int DayNumber() const;

    QDate ToQDate() const;
    QDateTime ToQDateTime() const;

    // "'%4d/%02d/%02d %02d:%02d:%02d'"
    QString ToSqlLiteral() const;

    friend bool operator==(const CDateTime& a, const CDateTime& b);
    friend bool operator!=(const CDateTime& a, const CDateTime& b) { return !(a == b); }
    friend bool operator<(const CDateTime& a, const CDateTime& b) { return a.m_days < b.m_days; }
    friend bool operator<=(const CDateTime& a, const CDateTime& b) { return a.m_days <= b.m_days; }
    friend bool operator>(const CDateTime& a, const CDateTime& b) { return a.m_days > b.m_days; }
    friend bool operator>=(const CDateTime& a, const CDateTime& b) { return a.m_days >= b.m_days; }

private:
    double m_days = 0.0;
    Status m_status = Valid;
};
