#include "AfxDateTime.h"

#include "WinClock.h"

#include <cmath>

namespace
{
constexpr double kSecondsPerDay = 86400.0;
constexpr double kHalfSecond = 0.5 / kSecondsPerDay;
// 0100-01-01 00:00:00 and 9999-12-31 23:59:59.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.999988426;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr LONGLONG kEpochDayNumber = 693899;

struct DateFields
{
    int nYear;
    int nMonth;
    int nDay;
    int nHour;
    int nMinute;
    int nSecond;
    int nDayOfWeek;
    int nDayOfYear;
};

bool IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(int nYear, int nMonth)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDays[nMonth - 1];
}

// Days from 1899-12-30 to a civil date (counted from March so that the leap
// day ends the year).
LONGLONG DaysFromCivil(int nYear, int nMonth, int nDay)
{
    const LONGLONG y = nMonth <= 2 ? nYear - 1 : nYear;
    const LONGLONG m = nMonth <= 2 ? nMonth + 9 : nMonth - 3;
    const LONGLONG dayNumber = 365 * y + y / 4 - y / 100 + y / 400 + (153 * m + 2) / 5 + nDay - 1;
    return dayNumber - kEpochDayNumber;
}

void CivilFromDays(LONGLONG days, DateFields& fields)
{
    const LONGLONG dayNumber = days + kEpochDayNumber;
    const LONGLONG era = dayNumber / 146097;
    const LONGLONG dayOfEra = dayNumber - era * 146097;
    const LONGLONG yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const LONGLONG dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const LONGLONG monthIndex = (5 * dayOfYear + 2) / 153;
    fields.nDay = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    fields.nMonth = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    fields.nYear = static_cast<int>(yearOfEra + era * 400 + (fields.nMonth <= 2 ? 1 : 0));
}

// Negative DATE values carry the time as a positive fraction; the linear
// scale runs in one direction throughout.
double DateToLinear(DATE dt)
{
    if (dt >= 0.0)
        return dt;
    const double whole = std::trunc(dt);
    return whole - (dt - whole);
}

DATE LinearToDate(double linear)
{
    if (linear >= 0.0)
        return linear;
    const double whole = std::floor(linear);
    return whole - (linear - whole);
}

bool IsInRange(DATE dt)
{
    return dt >= kMinDate && dt <= kMaxDate;
}

bool FieldsFromDate(DATE dt, DateFields& fields)
{
    if (!IsInRange(dt))
        return false;
    const double linear = DateToLinear(dt) + kHalfSecond;
    const double days = std::floor(linear);
    const int nSeconds = static_cast<int>((linear - days) * kSecondsPerDay);
    const LONGLONG dayNumber = static_cast<LONGLONG>(days);
    CivilFromDays(dayNumber, fields);
    fields.nHour = nSeconds / 3600;
    fields.nMinute = nSeconds / 60 % 60;
    fields.nSecond = nSeconds % 60;
    // 1899-12-30 was a Saturday.
    fields.nDayOfWeek = static_cast<int>(((dayNumber + 6) % 7 + 7) % 7) + 1;
    fields.nDayOfYear = static_cast<int>(dayNumber - DaysFromCivil(fields.nYear, 1, 1)) + 1;
    return true;
}

bool DateFromFields(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, DATE& dt)
{
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 ||
        nDay > DaysInMonth(nYear, nMonth) || nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 ||
        nSec < 0 || nSec > 59)
        return false;
    const double days = static_cast<double>(DaysFromCivil(nYear, nMonth, nDay));
    const double time = (nHour * 3600 + nMin * 60 + nSec) / kSecondsPerDay;
    dt = days >= 0.0 ? days + time : days - time;
    return true;
}

int FieldOrError(const COleDateTime& date, int DateFields::*pField)
{
    DateFields fields{};
    if (date.GetStatus() != COleDateTime::valid || !FieldsFromDate(date.m_dt, fields))
        return -1;
    return fields.*pField;
}

// Both enumerations number valid 0, invalid 1, null 2; null wins over
// invalid.
int CombinedStatus(int nLhs, int nRhs)
{
    if (nLhs == COleDateTime::null || nRhs == COleDateTime::null)
        return COleDateTime::null;
    if (nLhs == COleDateTime::invalid || nRhs == COleDateTime::invalid)
        return COleDateTime::invalid;
    return COleDateTime::valid;
}

// Span parts round the magnitude to the nearest second and keep the sign.
LONG SpanPart(double span, double unitsPerDay, LONG modulus)
{
    const double magnitude = std::fabs(span) + kHalfSecond;
    const LONG part = static_cast<LONG>(std::fmod(std::floor(magnitude * unitsPerDay), modulus));
    return span < 0.0 ? -part : part;
}
} // namespace

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc) {}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + nHours / 24.0 + nMins / 1440.0 + nSecs / kSecondsPerDay;
    m_status = valid;
}

LONG COleDateTimeSpan::GetDays() const
{
    const double magnitude = std::floor(std::fabs(m_span) + kHalfSecond);
    return static_cast<LONG>(m_span < 0.0 ? -magnitude : magnitude);
}

LONG COleDateTimeSpan::GetHours() const
{
    return SpanPart(m_span, 24.0, 24);
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return SpanPart(m_span, 1440.0, 60);
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return SpanPart(m_span, kSecondsPerDay, 60);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    COleDateTimeSpan result;
    result.m_status = static_cast<DateTimeSpanStatus>(CombinedStatus(m_status, other.m_status));
    if (result.m_status == valid)
        result.m_span = m_span + other.m_span;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    return *this + -other;
}

COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan& other)
{
    return *this = *this + other;
}

COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan& other)
{
    return *this = *this - other;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(*this);
    result.m_span = -m_span;
    return result;
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const
{
    return m_status == other.m_status && m_span == other.m_span;
}

bool COleDateTimeSpan::operator<(const COleDateTimeSpan& other) const
{
    return m_span < other.m_span;
}

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return COleDateTime(now);
}

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(IsInRange(dtSrc) ? valid : invalid)
{
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    *this = systimeSrc;
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = IsInRange(dtSrc) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour,
                systimeSrc.wMinute, systimeSrc.wSecond);
    return *this;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    m_status = DateFromFields(nYear, nMonth, nDay, nHour, nMin, nSec, m_dt) ? valid : invalid;
    return m_status;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay)
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec)
{
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

int COleDateTime::GetYear() const
{
    return FieldOrError(*this, &DateFields::nYear);
}

int COleDateTime::GetMonth() const
{
    return FieldOrError(*this, &DateFields::nMonth);
}

int COleDateTime::GetDay() const
{
    return FieldOrError(*this, &DateFields::nDay);
}

int COleDateTime::GetHour() const
{
    return FieldOrError(*this, &DateFields::nHour);
}

int COleDateTime::GetMinute() const
{
    return FieldOrError(*this, &DateFields::nMinute);
}

int COleDateTime::GetSecond() const
{
    return FieldOrError(*this, &DateFields::nSecond);
}

int COleDateTime::GetDayOfWeek() const
{
    return FieldOrError(*this, &DateFields::nDayOfWeek);
}

int COleDateTime::GetDayOfYear() const
{
    return FieldOrError(*this, &DateFields::nDayOfYear);
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    DateFields fields{};
    if (m_status != valid || !FieldsFromDate(m_dt, fields))
        return false;
    sysTime.wYear = static_cast<WORD>(fields.nYear);
    sysTime.wMonth = static_cast<WORD>(fields.nMonth);
    sysTime.wDayOfWeek = static_cast<WORD>(fields.nDayOfWeek - 1);
    sysTime.wDay = static_cast<WORD>(fields.nDay);
    sysTime.wHour = static_cast<WORD>(fields.nHour);
    sysTime.wMinute = static_cast<WORD>(fields.nMinute);
    sysTime.wSecond = static_cast<WORD>(fields.nSecond);
    sysTime.wMilliseconds = 0;
    return true;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTime result;
    result.m_status = static_cast<DateTimeStatus>(CombinedStatus(m_status, dateSpan.m_status));
    if (result.m_status == valid)
        result = LinearToDate(DateToLinear(m_dt) + dateSpan.m_span);
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const
{
    return *this + -dateSpan;
}

COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& dateSpan)
{
    return *this = *this + dateSpan;
}

COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& dateSpan)
{
    return *this = *this - dateSpan;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan result;
    result.m_status =
        static_cast<COleDateTimeSpan::DateTimeSpanStatus>(CombinedStatus(m_status, date.m_status));
    if (result.m_status == COleDateTimeSpan::valid)
        result.m_span = DateToLinear(m_dt) - DateToLinear(date.m_dt);
    return result;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && m_dt == date.m_dt;
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return DateToLinear(m_dt) < DateToLinear(date.m_dt);
}
