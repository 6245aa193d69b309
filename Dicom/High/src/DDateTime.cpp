#include "DDateTime.h"

#include "WinClock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace
{

constexpr double HalfSecond = 1.0 / (2.0 * 86400.0);
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double OneMinute = 1.0 / 1440.0;
constexpr double OneHour = 1.0 / 24.0;
// Day number (from 0000-01-01 of the proleptic Gregorian calendar) of
// 1899-12-30, the day 0 of a date value.
constexpr long DayZero = 693959;
constexpr int FormatBufferSize = 128;

constexpr int DaysBeforeMonth[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeapYear(long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(long year, int month)
{
    static constexpr int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month];
}

struct DateFields
{
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
    int dayOfWeek; // 1 Sunday
    int dayOfYear; // 1 for January 1st
};

// Value to fields, rounded to the nearest second; false out of range.
bool SplitValue(double value, DateFields& fields)
{
    if (!(value >= DDateTime::MinValue && value <= DDateTime::MaxValue))
    {
        return false;
    }
    value += value > 0 ? HalfSecond : -HalfSecond;
    const long dayNumber = static_cast<long>(std::trunc(value)) + DayZero;
    fields.dayOfWeek = static_cast<int>((dayNumber - 1) % 7) + 1;

    // Civil date from a day count that starts on 0000-03-01, so that the
    // leap day ends each 400-, 100- and 4-year period.
    const long fromMarch = dayNumber - 60;
    const long era = fromMarch / 146097;
    const long dayOfEra = fromMarch - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfMarchYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthFromMarch = (5 * dayOfMarchYear + 2) / 153;
    fields.day = static_cast<int>(dayOfMarchYear - (153 * monthFromMarch + 2) / 5 + 1);
    fields.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    fields.year = static_cast<int>(yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0));
    fields.dayOfYear = DaysBeforeMonth[fields.month] + fields.day +
                       (fields.month > 2 && IsLeapYear(fields.year) ? 1 : 0);

    double whole = 0.0;
    const long seconds = static_cast<long>(std::modf(std::fabs(value), &whole) * 86400.0);
    fields.hour = static_cast<int>(seconds / 3600);
    fields.minute = static_cast<int>((seconds / 60) % 60);
    fields.second = static_cast<int>(seconds % 60);
    return true;
}

// Fields to value; false when a field is out of its range. Every field is
// taken as an unsigned 16-bit number, so negative ones are refused too.
bool MakeValue(int yearIn, int monthIn, int dayIn, int hourIn, int minuteIn, int secondIn,
               double& value)
{
    const long year = static_cast<unsigned short>(yearIn);
    const int month = static_cast<unsigned short>(monthIn);
    const int day = static_cast<unsigned short>(dayIn);
    const int hour = static_cast<unsigned short>(hourIn);
    const int minute = static_cast<unsigned short>(minuteIn);
    const int second = static_cast<unsigned short>(secondIn);
    if (year > 9999 || month == 0 || month > 12 || day == 0 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59)
    {
        return false;
    }
    long days = year * 365 + year / 4 - year / 100 + year / 400 + DaysBeforeMonth[month] + day;
    if (IsLeapYear(year) && month <= 2)
    {
        --days;
    }
    days -= DayZero;
    const double time = (hour * 3600 + minute * 60 + second) * OneSecond;
    value = days >= 0 ? days + time : days - time;
    return true;
}

// Dates before day 0 count their time of day forward, so ordering and
// arithmetic go through a linear form of the value.
double ToLinear(double value)
{
    if (value >= 0)
    {
        return value;
    }
    const double ceiling = std::ceil(value);
    return ceiling - (value - ceiling);
}

double FromLinear(double linear)
{
    if (linear >= 0)
    {
        return linear;
    }
    const double floor = std::floor(linear);
    return floor + (floor - linear);
}

std::tm ToTm(const DateFields& fields)
{
    std::tm tm = {};
    tm.tm_year = fields.year - 1900;
    tm.tm_mon = fields.month - 1;
    tm.tm_mday = fields.day;
    tm.tm_hour = fields.hour;
    tm.tm_min = fields.minute;
    tm.tm_sec = fields.second;
    tm.tm_wday = fields.dayOfWeek - 1;
    tm.tm_yday = fields.dayOfYear - 1;
    return tm;
}

Lettra FormatFields(const DateFields& fields, const char* format)
{
    const std::tm tm = ToTm(fields);
    char buffer[FormatBufferSize];
    const std::size_t length = std::strftime(buffer, sizeof(buffer), format, &tm);
    return length > 0 ? Lettra(buffer, static_cast<int>(length)) : Lettra();
}

// atoi of count characters from first, 0 when the text is shorter than
// first + count.
int ReadNumber(const char* text, std::size_t length, std::size_t first, std::size_t count)
{
    if (length < first + count)
    {
        return 0;
    }
    const std::string part(text + first, count);
    return std::atoi(part.c_str());
}

} // namespace

DDateTime::DDateTime(double value) : m_value(value) {}

DDateTime::DDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

DDateTime::DDateTime(long time)
{
    *this = time;
}

DDateTime::DDateTime(unsigned short dosDate, unsigned short dosTime, int dst)
{
    std::tm tm = {};
    tm.tm_sec = 2 * (dosTime & 31);
    tm.tm_min = (dosTime >> 5) & 63;
    tm.tm_hour = dosTime >> 11;
    tm.tm_mday = dosDate & 31;
    tm.tm_mon = ((dosDate >> 5) & 15) - 1;
    tm.tm_year = 1980 + (dosDate >> 9) - 1900;
    tm.tm_isdst = dst;
    const std::time_t time = std::mktime(&tm);
    if (time == static_cast<std::time_t>(-1))
    {
        m_status = invalid;
        return;
    }
    *this = static_cast<long>(time);
}

DDateTime::DDateTime(const char* date, const char* time)
{
    SetDate(date);
    SetTime(time);
}

DDateTime& DDateTime::operator=(double value)
{
    m_value = value;
    m_status = valid;
    return *this;
}

DDateTime& DDateTime::operator=(const long& time)
{
    const std::time_t seconds = time;
    std::tm local = {};
    if (localtime_r(&seconds, &local) == nullptr ||
        SetDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec) != valid)
    {
        m_status = invalid;
    }
    return *this;
}

// Read from the platform clock, so that tests can set the time.
DDateTime DDateTime::GetTickCount()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return DDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

int DDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    double value = 0.0;
    if (MakeValue(year, month, day, hour, minute, second, value))
    {
        m_value = value;
        m_status = valid;
    }
    else
    {
        m_status = invalid;
    }
    return m_status;
}

int DDateTime::SetDate(int year, int month, int day)
{
    return SetDateTime(year, month, day, 0, 0, 0);
}

int DDateTime::SetTime(int hour, int minute, int second)
{
    return SetDateTime(1899, 12, 30, hour, minute, second);
}

int DDateTime::SetDate(const char* date)
{
    const std::size_t length = date != nullptr ? std::strlen(date) : 0;
    const int year = ReadNumber(date, length, 0, 4);
    const bool dotted = length > 4 && date[4] == '.';
    const int month = ReadNumber(date, length, dotted ? 5 : 4, 2);
    const int day = ReadNumber(date, length, dotted ? 8 : 6, 2);

    DateFields now = {};
    if (m_status != valid || !SplitValue(m_value, now))
    {
        now.hour = now.minute = now.second = -1;
    }
    return SetDateTime(year, month, day, now.hour, now.minute, now.second);
}

int DDateTime::SetTime(const char* time)
{
    const std::size_t length = time != nullptr ? std::strlen(time) : 0;
    const int hour = ReadNumber(time, length, 0, 2);
    const bool colons = length > 2 && time[2] == ':';
    const int minute = ReadNumber(time, length, colons ? 3 : 2, 2);
    const int second = ReadNumber(time, length, colons ? 6 : 4, 2);

    DateFields now = {};
    if (m_status != valid || !SplitValue(m_value, now))
    {
        now.year = now.month = now.day = -1;
    }
    return SetDateTime(now.year, now.month, now.day, hour, minute, second);
}

int DDateTime::SetDateTime(const char* date, const char* time)
{
    SetDate(date);
    return SetTime(time);
}

#define DDATETIME_FIELD_GETTER(name, field)                                                        \
    int DDateTime::name() const                                                                    \
    {                                                                                              \
        DateFields fields = {};                                                                    \
        return m_status == valid && SplitValue(m_value, fields) ? fields.field : -1;               \
    }

DDATETIME_FIELD_GETTER(GetYear, year)
DDATETIME_FIELD_GETTER(GetMonth, month)
DDATETIME_FIELD_GETTER(GetDay, day)
DDATETIME_FIELD_GETTER(GetHour, hour)
DDATETIME_FIELD_GETTER(GetMinute, minute)
DDATETIME_FIELD_GETTER(GetSecond, second)
DDATETIME_FIELD_GETTER(GetDayOfWeek, dayOfWeek)
DDATETIME_FIELD_GETTER(GetDayOfYear, dayOfYear)

#undef DDATETIME_FIELD_GETTER

Lettra DDateTime::Format(const char* format) const
{
    DateFields fields = {};
    if (format == nullptr || m_status != valid || !SplitValue(m_value, fields))
    {
        return Lettra();
    }
    return FormatFields(fields, format);
}

bool DDateTime::operator==(const DDateTime& other) const
{
    return m_status == other.m_status && m_value == other.m_value;
}

bool DDateTime::operator!=(const DDateTime& other) const
{
    return !(*this == other);
}

bool DDateTime::operator<(const DDateTime& other) const
{
    return ToLinear(m_value) < ToLinear(other.m_value);
}

bool DDateTime::operator>(const DDateTime& other) const
{
    return ToLinear(m_value) > ToLinear(other.m_value);
}

bool DDateTime::operator<=(const DDateTime& other) const
{
    return ToLinear(m_value) <= ToLinear(other.m_value);
}

bool DDateTime::operator>=(const DDateTime& other) const
{
    return ToLinear(m_value) >= ToLinear(other.m_value);
}

DDateTime DDateTime::operator+(const DDateTimeSpan& span) const
{
    DDateTime result;
    if (m_status == null || span.GetStatus() == DDateTimeSpan::null)
    {
        result.m_status = null;
        return result;
    }
    if (m_status == invalid || span.GetStatus() == DDateTimeSpan::invalid)
    {
        result.m_status = invalid;
        return result;
    }
    result.m_value = FromLinear(ToLinear(m_value) + span.GetTotalDays());
    result.CheckRange();
    return result;
}

DDateTime DDateTime::operator-(const DDateTimeSpan& span) const
{
    DDateTimeSpan negated = -span;
    negated.SetStatus(span.GetStatus());
    return *this + negated;
}

DDateTime& DDateTime::operator+=(const DDateTimeSpan& span)
{
    return *this = *this + span;
}

DDateTime& DDateTime::operator-=(const DDateTimeSpan& span)
{
    return *this = *this - span;
}

DDateTimeSpan DDateTime::operator-(const DDateTime& other) const
{
    DDateTimeSpan span;
    if (m_status == null || other.m_status == null)
    {
        span.SetStatus(DDateTimeSpan::null);
        return span;
    }
    if (m_status == invalid || other.m_status == invalid)
    {
        span.SetStatus(DDateTimeSpan::invalid);
        return span;
    }
    return DDateTimeSpan(ToLinear(m_value) - ToLinear(other.m_value));
}

void DDateTime::CheckRange()
{
    if (!(m_value >= MinValue && m_value <= MaxValue))
    {
        m_status = invalid;
    }
}

DDateTimeSpan::DDateTimeSpan(double days) : m_value(days) {}

DDateTimeSpan::DDateTimeSpan(long days, int hours, int minutes, int seconds)
{
    SetDateTimeSpan(days, hours, minutes, seconds);
}

DDateTimeSpan::DDateTimeSpan(const char* text)
{
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    if (length > 9)
    {
        SetDateTimeSpan(ReadNumber(text, length, 0, 4), ReadNumber(text, length, 4, 2),
                        ReadNumber(text, length, 6, 2), ReadNumber(text, length, 8, 2));
    }
}

DDateTimeSpan& DDateTimeSpan::operator=(double days)
{
    m_value = days;
    m_status = valid;
    return *this;
}

void DDateTimeSpan::SetDateTimeSpan(long days, int hours, int minutes, int seconds)
{
    m_value = days + hours * OneHour + minutes * OneMinute + seconds * OneSecond;
    m_status = valid;
}

double DDateTimeSpan::GetTotalHours() const
{
    return std::trunc(m_value * 24 + HalfSecond);
}

double DDateTimeSpan::GetTotalMinutes() const
{
    return std::trunc(m_value * 1440 + HalfSecond);
}

double DDateTimeSpan::GetTotalSeconds() const
{
    return std::trunc(m_value * 86400 + HalfSecond);
}

long DDateTimeSpan::GetDays() const
{
    return static_cast<long>(std::trunc(m_value));
}

namespace
{

// (fractional part of value, sign kept, + half a second) x unit, truncated
// and folded back below unit.
long ClockField(double value, double unit)
{
    double whole = 0.0;
    long field = static_cast<long>((std::modf(value, &whole) + HalfSecond) * unit);
    if (field >= unit)
    {
        field -= static_cast<long>(unit);
    }
    return field;
}

} // namespace

long DDateTimeSpan::GetHours() const
{
    return ClockField(m_value, 24);
}

long DDateTimeSpan::GetMinutes() const
{
    return ClockField(m_value * 24, 60);
}

long DDateTimeSpan::GetSeconds() const
{
    return ClockField(m_value * 1440, 60);
}

Lettra DDateTimeSpan::Format(const char* format) const
{
    DateFields fields = {};
    if (format == nullptr || m_status != valid || !SplitValue(m_value, fields))
    {
        return Lettra();
    }
    char days[32];
    std::snprintf(days, sizeof(days), "%04ld", GetDays());
    std::string expanded;
    for (const char* p = format; *p != '\0'; ++p)
    {
        if (p[0] == '%' && p[1] == 'D')
        {
            expanded += days;
            ++p;
        }
        else
        {
            expanded += *p;
        }
    }
    return FormatFields(fields, expanded.c_str());
}

bool DDateTimeSpan::operator==(const DDateTimeSpan& other) const
{
    return m_status == other.m_status && m_value == other.m_value;
}

bool DDateTimeSpan::operator!=(const DDateTimeSpan& other) const
{
    return !(*this == other);
}

bool DDateTimeSpan::operator<(const DDateTimeSpan& other) const
{
    return m_value < other.m_value;
}

bool DDateTimeSpan::operator>(const DDateTimeSpan& other) const
{
    return m_value > other.m_value;
}

bool DDateTimeSpan::operator<=(const DDateTimeSpan& other) const
{
    return m_value <= other.m_value;
}

bool DDateTimeSpan::operator>=(const DDateTimeSpan& other) const
{
    return m_value >= other.m_value;
}

DDateTimeSpan DDateTimeSpan::operator+(const DDateTimeSpan& other) const
{
    DDateTimeSpan result;
    if (m_status == null || other.m_status == null)
    {
        result.m_status = null;
        return result;
    }
    if (m_status == invalid || other.m_status == invalid)
    {
        result.m_status = invalid;
        return result;
    }
    result.m_value = m_value + other.m_value;
    result.CheckRange();
    return result;
}

DDateTimeSpan DDateTimeSpan::operator-(const DDateTimeSpan& other) const
{
    DDateTimeSpan negated = -other;
    negated.m_status = other.m_status;
    return *this + negated;
}

DDateTimeSpan& DDateTimeSpan::operator+=(const DDateTimeSpan& other)
{
    return *this = *this + other;
}

DDateTimeSpan& DDateTimeSpan::operator-=(const DDateTimeSpan& other)
{
    return *this = *this - other;
}

DDateTimeSpan DDateTimeSpan::operator-() const
{
    return DDateTimeSpan(-m_value);
}

void DDateTimeSpan::CheckRange()
{
    if (!(m_value >= -MaxDays && m_value <= MaxDays))
    {
        m_status = invalid;
    }
}
