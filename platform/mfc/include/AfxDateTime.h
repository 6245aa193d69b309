// COleDateTime and COleDateTimeSpan: dates as OLE Automation DATE values
// (days since 1899-12-30, the fraction the time of day) with a status.
// Negative values hold the time as a positive fraction (-1.25 is
// 1899-12-29 06:00), so arithmetic and comparison go through a linear time
// scale where earlier dates are always lower.
#pragma once

#include "PlatformUIExport.h"
#include "WinOleAuto.h"
#include "WinTypes.h"

class PLATFORMUI_API COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24.0; }
    double GetTotalMinutes() const { return m_span * 1440.0; }
    double GetTotalSeconds() const { return m_span * 86400.0; }
    // Parts of the span rounded to the nearest second; negative spans give
    // negative parts.
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;

    operator double() const { return m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other);
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other);
    COleDateTimeSpan operator-() const;

    bool operator==(const COleDateTimeSpan& other) const;
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const;
    bool operator>(const COleDateTimeSpan& other) const { return other < *this; }
    bool operator<=(const COleDateTimeSpan& other) const { return !(other < *this); }
    bool operator>=(const COleDateTimeSpan& other) const { return !(*this < other); }

    double m_span = 0.0;
    DateTimeSpanStatus m_status = valid;
};

class PLATFORMUI_API COleDateTime
{
public:
    enum DateTimeStatus
    {
        valid = 0,
        invalid = 1,
        null = 2
    };

    // The local date and time from the process clock.
    static COleDateTime GetCurrentTime();

    COleDateTime() = default;
    COleDateTime(DATE dtSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    COleDateTime(const SYSTEMTIME& systimeSrc);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(const SYSTEMTIME& systimeSrc);

    // Years 100 to 9999; a rejected field leaves the value and sets the
    // status invalid. Return the new status (0 on success).
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    // -1 when the status is not valid or the value is out of range.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 Sunday to 7 Saturday
    int GetDayOfYear() const; // 1 for January 1st
    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;

    operator DATE() const { return m_dt; }

    COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
    COleDateTime& operator+=(const COleDateTimeSpan& dateSpan);
    COleDateTime& operator-=(const COleDateTimeSpan& dateSpan);
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const { return !(date < *this); }
    bool operator>=(const COleDateTime& date) const { return !(*this < date); }

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};
