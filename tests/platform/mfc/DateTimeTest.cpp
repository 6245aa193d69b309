#include "AfxDateTime.h"
#include "WinClock.h"

#include <gtest/gtest.h>

namespace
{
TEST(COleDateTimeTest, BuildsDateValuesFromFields)
{
    struct Case
    {
        int nYear, nMonth, nDay, nHour, nMinute, nSecond;
        DATE dtExpected;
    };
    const Case kCases[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},      {2007, 3, 15, 0, 0, 0, 39156.0},
        {1900, 1, 1, 12, 0, 0, 2.5},       {1899, 12, 29, 6, 0, 0, -1.25},
        {2000, 2, 29, 18, 0, 0, 36585.75}, {100, 1, 1, 0, 0, 0, -657434.0},
    };
    for (const Case& c : kCases)
    {
        COleDateTime date(c.nYear, c.nMonth, c.nDay, c.nHour, c.nMinute, c.nSecond);
        EXPECT_EQ(date.GetStatus(), COleDateTime::valid);
        EXPECT_DOUBLE_EQ(date.m_dt, c.dtExpected) << c.nYear << "-" << c.nMonth << "-" << c.nDay;
        EXPECT_EQ(date.GetYear(), c.nYear);
        EXPECT_EQ(date.GetMonth(), c.nMonth);
        EXPECT_EQ(date.GetDay(), c.nDay);
        EXPECT_EQ(date.GetHour(), c.nHour);
        EXPECT_EQ(date.GetMinute(), c.nMinute);
        EXPECT_EQ(date.GetSecond(), c.nSecond);
    }
}

TEST(COleDateTimeTest, RejectsImpossibleFieldsAndKeepsTheValue)
{
    COleDateTime date(2001, 5, 6, 7, 8, 9);
    const DATE dtBefore = date.m_dt;
    EXPECT_EQ(date.SetDateTime(1900, 2, 29, 0, 0, 0), COleDateTime::invalid);
    EXPECT_DOUBLE_EQ(date.m_dt, dtBefore);
    EXPECT_EQ(date.GetYear(), -1);
    EXPECT_EQ(date.SetDate(2001, 13, 1), COleDateTime::invalid);
    EXPECT_EQ(date.SetDate(99, 1, 1), COleDateTime::invalid);
    EXPECT_EQ(date.SetTime(24, 0, 0), COleDateTime::invalid);
    EXPECT_EQ(date.SetDate(2000, 2, 29), COleDateTime::valid);
    EXPECT_EQ(COleDateTime(3000000.0).GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTimeTest, WeekdaysAndDaysOfYear)
{
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).GetDayOfWeek(), 7);
    EXPECT_EQ(COleDateTime(2024, 1, 1, 0, 0, 0).GetDayOfWeek(), 2);
    EXPECT_EQ(COleDateTime(1800, 1, 5, 0, 0, 0).GetDayOfWeek(), 1);
    EXPECT_EQ(COleDateTime(2024, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
    EXPECT_EQ(COleDateTime(2023, 3, 1, 0, 0, 0).GetDayOfYear(), 60);
}

TEST(COleDateTimeTest, RoundsToTheNearestSecond)
{
    const double dOneSecond = 1.0 / 86400.0;
    COleDateTime date(39156.0 + 59 * dOneSecond + 0.6 * dOneSecond);
    EXPECT_EQ(date.GetMinute(), 1);
    EXPECT_EQ(date.GetSecond(), 0);
    COleDateTime lastSecond(39156.0 + 1.0 - 0.2 * dOneSecond);
    EXPECT_EQ(lastSecond.GetDay(), 16);
    EXPECT_EQ(lastSecond.GetHour(), 0);
}

TEST(COleDateTimeTest, ArithmeticCrossesTheNegativeBoundary)
{
    const COleDateTime epoch(1899, 12, 30, 0, 0, 0);
    const COleDateTime earlier = epoch - COleDateTimeSpan(0, 6, 0, 0);
    EXPECT_DOUBLE_EQ(earlier.m_dt, -1.75);
    EXPECT_EQ(earlier.GetDay(), 29);
    EXPECT_EQ(earlier.GetHour(), 18);

    const COleDateTime morning(-1.25);
    EXPECT_TRUE(morning < earlier);
    EXPECT_TRUE(earlier > morning);
    EXPECT_DOUBLE_EQ((earlier - morning).GetTotalHours(), 12.0);
    EXPECT_DOUBLE_EQ((morning + COleDateTimeSpan(1, 0, 0, 0)).m_dt, 0.25);

    COleDateTime date(2007, 3, 15, 0, 0, 0);
    date += COleDateTimeSpan(30, 12, 0, 0);
    EXPECT_EQ(date.GetMonth(), 4);
    EXPECT_EQ(date.GetDay(), 14);
    EXPECT_EQ(date.GetHour(), 12);
    date -= COleDateTimeSpan(365.5);
    EXPECT_EQ(date.GetYear(), 2006);
    EXPECT_EQ(date.GetDay(), 14);
}

TEST(COleDateTimeTest, NullAndInvalidStatusesPropagate)
{
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    COleDateTime invalidDate(2001, 2, 30, 0, 0, 0);
    const COleDateTimeSpan day(1, 0, 0, 0);
    EXPECT_EQ((nullDate + day).GetStatus(), COleDateTime::null);
    EXPECT_EQ((invalidDate + day).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((nullDate - invalidDate).GetStatus(), COleDateTimeSpan::null);
    COleDateTimeSpan invalidSpan;
    invalidSpan.SetStatus(COleDateTimeSpan::invalid);
    EXPECT_EQ((COleDateTime(2000, 1, 1, 0, 0, 0) + invalidSpan).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(2, 0, 0, 0),
              COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(2, 0, 0, 0));
    EXPECT_EQ((COleDateTime(9999, 12, 31, 0, 0, 0) + day).GetStatus(), COleDateTime::invalid);
}

TEST(COleDateTimeTest, SpanPartsKeepTheirSign)
{
    const COleDateTimeSpan span(1, 2, 30, 45);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 30);
    EXPECT_EQ(span.GetSeconds(), 45);
    const COleDateTimeSpan negative = -span;
    EXPECT_EQ(negative.GetDays(), -1);
    EXPECT_EQ(negative.GetHours(), -2);
    EXPECT_EQ(negative.GetSeconds(), -45);
    EXPECT_DOUBLE_EQ((span - span).GetTotalSeconds(), 0.0);
    EXPECT_TRUE(negative < span);
}

TEST(COleDateTimeTest, SystemTimeRoundTrip)
{
    const SYSTEMTIME source{2019, 7, 0, 21, 13, 45, 30, 0};
    const COleDateTime date(source);
    SYSTEMTIME back{};
    ASSERT_TRUE(date.GetAsSystemTime(back));
    EXPECT_EQ(back.wYear, 2019);
    EXPECT_EQ(back.wMonth, 7);
    EXPECT_EQ(back.wDay, 21);
    EXPECT_EQ(back.wDayOfWeek, 0); // a Sunday
    EXPECT_EQ(back.wHour, 13);
    EXPECT_EQ(back.wMinute, 45);
    EXPECT_EQ(back.wSecond, 30);
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    EXPECT_FALSE(nullDate.GetAsSystemTime(back));
}

TEST(COleDateTimeTest, CurrentTimeComesFromThePlatformClock)
{
    // The tests run with TZ=UTC, so local time is the clock's UTC time.
    CManualClock clock;
    CScopedPlatformClock scopedClock(clock);
    clock.Advance(90 * 60 * 1000);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    EXPECT_EQ(now, COleDateTime(2000, 1, 1, 1, 30, 0));
}
} // namespace
