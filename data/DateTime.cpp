#include "DateTime.h"

#include <cmath>
#include <cstdint>

namespace {
constexpr int64_t SecondsPerDay = 86400;

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar), valid for every
// year the program can meet.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

// 30 December 1899, the zero of the day count, counted from 1970-01-01.
const int64_t ZeroDay = DaysFromCivil(1899, 12, 30);

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// The value in whole seconds since the zero date; every field is derived from it so
// that 23:59:59.9999 rounds the same way everywhere.
int64_t TotalSeconds(double days) {
    return std::llround(days * SecondsPerDay);
}

// Reads an unsigned decimal number of 1..maxDigits digits at pos.
bool ReadNumber(const QString& s, int& pos, int maxDigits, int& value) {
    int digits = 0;
    value = 0;
    while (pos < s.size() && s[pos].isDigit() && digits < maxDigits) {
        value = value * 10 + s[pos].digitValue();
        ++pos;
        ++digits;
    }
    return digits > 0;
}

// "HH:MM", "HH:MM:SS" or "HH:MM:SS.fff" starting at pos, up to the end of the text.
bool ParseTime(const QString& s, int pos, int& hour, int& minute, int& second) {
    second = 0;
    if (!ReadNumber(s, pos, 2, hour) || pos >= s.size() || s[pos] != ':')
        return false;
    ++pos;
    if (!ReadNumber(s, pos, 2, minute))
        return false;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (!ReadNumber(s, pos, 2, second))
            return false;
        if (pos < s.size() && s[pos] == '.') {
            ++pos;
            int fraction = 0;
            if (!ReadNumber(s, pos, 9, fraction))
                return false;
        }
    }
    return pos == s.size();
}
} // namespace

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second) {
    SetDateTime(year, month, day, hour, minute, second);
}

CDateTime CDateTime::FromDays(double days) {
    CDateTime value;
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6) {
        value.m_status = Invalid;
        return value;
    }
    value.m_days = days;
    return value;
}

CDateTime CDateTime::FromQDate(const QDate& date) {
    if (!date.isValid())
        return MakeInvalid();
    return CDateTime(date.year(), date.month(), date.day());
}

CDateTime CDateTime::FromQDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid())
        return MakeInvalid();
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    return CDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

CDateTime CDateTime::MakeNull() {
    CDateTime value;
    value.m_status = Null;
    return value;
}

CDateTime CDateTime::MakeInvalid() {
    CDateTime value;
    value.m_status = Invalid;
    return value;
}

namespace {
bool Digits(const char* t, int from, int count) {
    for (int i = from; i < from + count; ++i)
        if (t[i] < '0' || t[i] > '9')
            return false;
    return true;
}

int Number(const char* t, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i)
        value = value * 10 + (t[i] - '0');
    return value;
}
} // namespace

CDateTime CDateTime::ParseUtf8(const char* t, int n) {
    if (!t)
        return MakeInvalid();
    if ((n == 10 || (n == 19 && t[10] == ' ' && t[13] == ':' && t[16] == ':' && Digits(t, 11, 2) &&
                     Digits(t, 14, 2) && Digits(t, 17, 2))) &&
        t[4] == '/' && t[7] == '/' && Digits(t, 0, 4) && Digits(t, 5, 2) && Digits(t, 8, 2)) {
        CDateTime value;
        value.SetDateTime(Number(t, 0, 4), Number(t, 5, 2), Number(t, 8, 2),
                          n == 19 ? Number(t, 11, 2) : 0, n == 19 ? Number(t, 14, 2) : 0,
                          n == 19 ? Number(t, 17, 2) : 0);
        return value;
    }
    return Parse(QString::fromUtf8(t, n));
}

CDateTime CDateTime::Parse(const QString& input) {
    const QString s = input.trimmed();
    if (s.isEmpty())
        return MakeInvalid();

    // A date: four-digit year, then month and day separated by '/' or '-'.
    int pos = 0;
    int year = 0, month = 0, day = 0;
    const bool dateLike = s.size() >= 8 && s[0].isDigit() && s[1].isDigit() && s[2].isDigit() &&
                          s[3].isDigit() && (s[4] == '/' || s[4] == '-');
    if (dateLike) {
        const QChar sep = s[4];
        ReadNumber(s, pos, 4, year);
        ++pos;
        if (!ReadNumber(s, pos, 2, month) || pos >= s.size() || s[pos] != sep)
            return MakeInvalid();
        ++pos;
        if (!ReadNumber(s, pos, 2, day))
            return MakeInvalid();
        int hour = 0, minute = 0, second = 0;
        if (pos < s.size()) {
            if (s[pos] != ' ' && s[pos] != 'T')
                return MakeInvalid();
            while (pos < s.size() && (s[pos] == ' ' || s[pos] == 'T'))
                ++pos;
            if (!ParseTime(s, pos, hour, minute, second))
                return MakeInvalid();
        }
        CDateTime value;
        value.SetDateTime(year, month, day, hour, minute, second);
        return value;
    }

    // A time of day alone lies on the zero date.
    int hour = 0, minute = 0, second = 0;
    if (s.contains(':')) {
        CDateTime value;
        if (!ParseTime(s, 0, hour, minute, second))
            return MakeInvalid();
        value.SetTime(hour, minute, second);
        return value;
    }

    // A number of days since 30/12/1899, as other tools may have stored it.
    bool ok = false;
    const double days = s.toDouble(&ok);
    if (!ok)
        return MakeInvalid();
    return FromDays(days);
}

bool CDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        m_days = 0.0;
        m_status = Invalid;
        return false;
    }
    const int64_t dayNumber = DaysFromCivil(year, month, day) - ZeroDay;
    const int seconds = hour * 3600 + minute * 60 + second;
    m_days = static_cast<double>(dayNumber) + static_cast<double>(seconds) / SecondsPerDay;
    m_status = Valid;
    return true;
}

int CDateTime::DayNumber() const {
    return static_cast<int>(FloorDiv(TotalSeconds(m_days), SecondsPerDay));
}

int CDateTime::GetYear() const {
    int y, m, d;
    CivilFromDays(DayNumber() + ZeroDay, y, m, d);
    return y;
}

int CDateTime::GetMonth() const {
    int y, m, d;
    CivilFromDays(DayNumber() + ZeroDay, y, m, d);
    return m;
}

int CDateTime::GetDay() const {
    int y, m, d;
    CivilFromDays(DayNumber() + ZeroDay, y, m, d);
    return d;
}

int CDateTime::GetHour() const {
    const int64_t total = TotalSeconds(m_days);
    return static_cast<int>((total - FloorDiv(total, SecondsPerDay) * SecondsPerDay) / 3600);
}

int CDateTime::GetMinute() const {
    const int64_t total = TotalSeconds(m_days);
    return static_cast<int>((total - FloorDiv(total, SecondsPerDay) * SecondsPerDay) % 3600 / 60);
}

int CDateTime::GetSecond() const {
    const int64_t total = TotalSeconds(m_days);
    return static_cast<int>((total - FloorDiv(total, SecondsPerDay) * SecondsPerDay) % 60);
}

int CDateTime::GetDayOfWeek() const {
    // The zero date was a Saturday (7).
    const int64_t n = DayNumber();
    return static_cast<int>(((n + 6) % 7 + 7) % 7) + 1;
}

CDateTime CDateTime::DatePart() const {
    CDateTime value;
    value.m_days = DayNumber();
    value.m_status = m_status;
    return value;
}

QDate CDateTime::ToQDate() const {
    if (!IsValid())
        return {};
    int y, m, d;
    CivilFromDays(DayNumber() + ZeroDay, y, m, d);
    return QDate(y, m, d);
}

QDateTime CDateTime::ToQDateTime() const {
    if (!IsValid())
        return {};
    return QDateTime(ToQDate(), QTime(GetHour(), GetMinute(), GetSecond()));
}

QString CDateTime::ToSqlLiteral() const {
    if (!IsValid())
        return QStringLiteral("null");
    int y, m, d;
    CivilFromDays(DayNumber() + ZeroDay, y, m, d);
    return QString::asprintf("'%4d/%02d/%02d %02d:%02d:%02d'", y, m, d, GetHour(), GetMinute(),
                             GetSecond());
}

bool operator==(const CDateTime& a, const CDateTime& b) {
    if (a.m_status != b.m_status)
        return false;
    if (a.m_status != CDateTime::Valid)
        return true;
    return TotalSeconds(a.m_days) == TotalSeconds(b.m_days);
}
