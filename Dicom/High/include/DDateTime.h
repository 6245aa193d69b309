// Date, time and time-span values of the DICOM library. A date is an OLE
// Automation date: days since 1899-12-30 in a double, the fraction being the
// time of day counted forward from midnight also for negative values (-1.25
// is 1899-12-29 06:00). Both classes carry a status: valid, invalid or null.
#pragma once

#include "Lettra.h"
#include "VeltaroExport.h"

class DDateTimeSpan;

class VELTARO_API DDateTime
{
public:
    enum DateTimeStatus
    {
        valid = 0,
        invalid = 1,
        null = 2,
    };

    // The valid range of a date value: 0100-01-01 to 9999-12-31.
    static constexpr double MinValue = -657434.0;
    static constexpr double MaxValue = 2958465.0;

    DDateTime() = default;
    DDateTime(const DDateTime& other) = default;
    DDateTime(double value);
    DDateTime(int year, int month, int day, int hour, int minute, int second);
    DDateTime(long time);
    DDateTime(unsigned short dosDate, unsigned short dosTime, int dst);
    DDateTime(const char* date, const char* time);

    DDateTime& operator=(const DDateTime& other) = default;
    DDateTime& operator=(double value);
    DDateTime& operator=(const long& time);

    // The current local time, to the second.
    static DDateTime GetTickCount();

    // Each returns the new status; on failure the value is left as it was.
    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day);
    int SetTime(int hour, int minute, int second);
    // DICOM DA ("YYYYMMDD" or "YYYY.MM.DD") and TM ("HHMMSS", "HH:MM:SS",
    // fractions ignored); each keeps the other half of the current value.
    int SetDate(const char* date);
    int SetTime(const char* time);
    int SetDateTime(const char* date, const char* time);

    // -1 when the status is not valid or the value is out of range.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 Sunday to 7 Saturday
    int GetDayOfYear() const; // 1 for January 1st

    bool IsSunday() const { return GetDayOfWeek() == 1; }
    bool IsMonday() const { return GetDayOfWeek() == 2; }
    bool IsTuesday() const { return GetDayOfWeek() == 3; }
    bool IsWednesday() const { return GetDayOfWeek() == 4; }
    bool IsThursday() const { return GetDayOfWeek() == 5; }
    bool IsFriday() const { return GetDayOfWeek() == 6; }
    bool IsSaturday() const { return GetDayOfWeek() == 7; }

    // strftime of the value; empty when not valid or out of range.
    Lettra Format(const char* format) const;
    Lettra ToString(const char* format) const { return Format(format); }
    Lettra FormatDate() const { return Format("%Y%m%d"); }
    Lettra FormatTime() const { return Format("%H%M%S"); }

    operator double() const { return m_value; }
    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }

    bool operator==(const DDateTime& other) const;
    bool operator!=(const DDateTime& other) const;
    bool operator<(const DDateTime& other) const;
    bool operator>(const DDateTime& other) const;
    bool operator<=(const DDateTime& other) const;
    bool operator>=(const DDateTime& other) const;

    DDateTime operator+(const DDateTimeSpan& span) const;
    DDateTime operator-(const DDateTimeSpan& span) const;
    DDateTime& operator+=(const DDateTimeSpan& span);
    DDateTime& operator-=(const DDateTimeSpan& span);
    DDateTimeSpan operator-(const DDateTime& other) const;

protected:
    void CheckRange();

private:
    double m_value = 0.0;
    DateTimeStatus m_status = valid;
};

class VELTARO_API DDateTimeSpan
{
public:
    enum DateTimeSpanStatus
    {
        valid = 0,
        invalid = 1,
        null = 2,
    };

    static constexpr double MaxDays = 3615897.0;

    DDateTimeSpan() = default;
    DDateTimeSpan(const DDateTimeSpan& other) = default;
    DDateTimeSpan(double days);
    DDateTimeSpan(long days, int hours, int minutes, int seconds);
    // "DDDDHHMMSS": four digits of days, then two each of hours, minutes and
    // seconds; a text of 9 characters or fewer gives 0.
    explicit DDateTimeSpan(const char* text);

    DDateTimeSpan& operator=(const DDateTimeSpan& other) = default;
    DDateTimeSpan& operator=(double days);

    void SetDateTimeSpan(long days, int hours, int minutes, int seconds);

    double GetTotalDays() const { return m_value; }
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    // "%D" stands for the whole days ("%04ld"); the rest goes through
    // strftime with the span's time of day. Empty when not valid.
    Lettra Format(const char* format) const;
    Lettra ToString(const char* format) const { return Format(format); }

    operator double() const { return m_value; }
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    bool operator==(const DDateTimeSpan& other) const;
    bool operator!=(const DDateTimeSpan& other) const;
    bool operator<(const DDateTimeSpan& other) const;
    bool operator>(const DDateTimeSpan& other) const;
    bool operator<=(const DDateTimeSpan& other) const;
    bool operator>=(const DDateTimeSpan& other) const;

    DDateTimeSpan operator+(const DDateTimeSpan& other) const;
    DDateTimeSpan operator-(const DDateTimeSpan& other) const;
    DDateTimeSpan& operator+=(const DDateTimeSpan& other);
    DDateTimeSpan& operator-=(const DDateTimeSpan& other);
    DDateTimeSpan operator-() const;

    void CheckRange();

private:
    double m_value = 0.0;
    DateTimeSpanStatus m_status = valid;
};
