#include "DDateTime.h"
#include "WinClock.h"

#include <gtest/gtest.h>

#include <ctime>

namespace
{

struct Fields
{
    int year, month, day, hour, minute, second;
};

::testing::AssertionResult Is(const DDateTime& date, const Fields& f)
{
    const Fields got = {date.GetYear(), date.GetMonth(),  date.GetDay(),
                        date.GetHour(), date.GetMinute(), date.GetSecond()};
    if (got.year == f.year && got.month == f.month && got.day == f.day && got.hour == f.hour &&
        got.minute == f.minute && got.second == f.second)
    {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << got.year << "-" << got.month << "-" << got.day << " "
                                         << got.hour << ":" << got.minute << ":" << got.second;
}

} // namespace

TEST(DDateTime, DefaultIsDayZeroAndValid)
{
    const DDateTime date;
    EXPECT_EQ(static_cast<double>(date), 0.0);
    EXPECT_EQ(date.GetStatus(), DDateTime::valid);
    EXPECT_TRUE(Is(date, {1899, 12, 30, 0, 0, 0}));
    EXPECT_EQ(date.GetDayOfWeek(), 7);
    EXPECT_TRUE(date.IsSaturday());
}

TEST(DDateTime, FieldsToValueAndBack)
{
    struct Case
    {
        Fields fields;
        double value;
        int dayOfWeek;
        int dayOfYear;
    };
    const Case cases[] = {
        {{2007, 3, 15, 0, 0, 0}, 39156.0, 5, 74},
        {{1900, 1, 1, 0, 0, 0}, 2.0, 2, 1},
        {{2000, 2, 29, 12, 0, 0}, 36585.5, 3, 60},
        {{2000, 12, 31, 0, 0, 0}, 36891.0, 1, 366},
        {{1899, 12, 29, 6, 0, 0}, -1.25, 6, 363},
        {{100, 1, 1, 0, 0, 0}, -657434.0, 6, 1},
        {{9999, 12, 31, 0, 0, 0}, 2958465.0, 6, 365},
        {{1970, 1, 1, 23, 59, 59}, 25569.0 + 86399.0 / 86400.0, 5, 1},
    };
    for (const Case& c : cases)
    {
        const Fields& f = c.fields;
        const DDateTime date(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_EQ(date.GetStatus(), DDateTime::valid);
        EXPECT_NEAR(static_cast<double>(date), c.value, 1e-9) << f.year;
        EXPECT_TRUE(Is(DDateTime(c.value), f)) << c.value;
        EXPECT_EQ(date.GetDayOfWeek(), c.dayOfWeek) << f.year;
        EXPECT_EQ(date.GetDayOfYear(), c.dayOfYear) << f.year;
    }
}

TEST(DDateTime, RejectedFieldsLeaveTheValue)
{
    struct Case
    {
        Fields fields;
    };
    const Case cases[] = {
        {{1900, 2, 29, 0, 0, 0}}, {{2001, 2, 29, 0, 0, 0}}, {{2000, 13, 1, 0, 0, 0}},
        {{2000, 0, 1, 0, 0, 0}},  {{2000, 4, 31, 0, 0, 0}}, {{2000, 1, 0, 0, 0, 0}},
        {{10000, 1, 1, 0, 0, 0}}, {{2000, 1, 1, 24, 0, 0}}, {{2000, 1, 1, 0, 60, 0}},
        {{2000, 1, 1, 0, 0, 60}}, {{2000, 1, 1, -1, 0, 0}},
    };
    for (const Case& c : cases)
    {
        DDateTime date(5.0);
        const Fields& f = c.fields;
        EXPECT_EQ(date.SetDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second), 1);
        EXPECT_EQ(static_cast<double>(date), 5.0);
        EXPECT_EQ(date.GetYear(), -1);
        EXPECT_TRUE(date.FormatDate().IsEmpty());
    }
    DDateTime date;
    EXPECT_EQ(date.SetDateTime(2000, 2, 29, 0, 0, 0), 0);
    EXPECT_EQ(date.SetTime(25, 0, 0), 1);
    EXPECT_EQ(static_cast<double>(date), 36585.0);
    EXPECT_EQ(date.SetTime(10, 30, 0), 0);
    EXPECT_TRUE(Is(date, {1899, 12, 30, 10, 30, 0}));
    EXPECT_EQ(date.SetDate(2001, 1, 2), 0);
    EXPECT_TRUE(Is(date, {2001, 1, 2, 0, 0, 0}));
}

TEST(DDateTime, ValuesOutOfRangeHaveNoFields)
{
    for (double value : {-657435.0, 2958466.0, 1e12})
    {
        const DDateTime date(value);
        EXPECT_EQ(date.GetStatus(), DDateTime::valid);
        EXPECT_EQ(date.GetYear(), -1);
        EXPECT_EQ(date.GetDayOfWeek(), -1);
        EXPECT_TRUE(date.Format("%Y").IsEmpty());
    }
}

TEST(DDateTime, DicomDateTexts)
{
    struct Case
    {
        const char* text;
        int status;
        Fields fields;
    };
    const Case cases[] = {
        {"20070315", 0, {2007, 3, 15, 0, 0, 0}},
        {"2007.03.15", 0, {2007, 3, 15, 0, 0, 0}},
        {"200703", 1, {}},
        {"2007", 1, {}},
        {"", 1, {}},
    };
    for (const Case& c : cases)
    {
        DDateTime date;
        EXPECT_EQ(date.SetDate(c.text), c.status) << c.text;
        if (c.status == 0)
        {
            EXPECT_TRUE(Is(date, c.fields)) << c.text;
            EXPECT_EQ(static_cast<double>(date), 39156.0);
            EXPECT_STREQ(date.FormatDate(), "20070315");
        }
    }
    DDateTime date;
    EXPECT_EQ(date.SetDate(nullptr), 1);
}

TEST(DDateTime, DicomTimeTextsKeepTheDate)
{
    struct Case
    {
        const char* text;
        int hour, minute, second;
    };
    const Case cases[] = {
        {"1230", 12, 30, 0},    {"12:30:45.123", 12, 30, 45},
        {"123045", 12, 30, 45}, {"123045.999", 12, 30, 45},
        {"07", 7, 0, 0},        {"12:30", 12, 30, 0},
    };
    for (const Case& c : cases)
    {
        DDateTime date;
        ASSERT_EQ(date.SetDate("20070315"), 0);
        EXPECT_EQ(date.SetTime(c.text), 0) << c.text;
        EXPECT_TRUE(Is(date, {2007, 3, 15, c.hour, c.minute, c.second})) << c.text;
    }
    DDateTime date;
    date.SetDate("20070315");
    date.SetTime("123045");
    EXPECT_STREQ(date.FormatTime(), "123045");
    EXPECT_EQ(date.SetTime("2530"), 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(date), 39156.0 + (12 * 3600 + 30 * 60 + 45) / 86400.0);
    // The failure marks the value invalid, and the next time has no date.
    EXPECT_EQ(date.SetTime("1000"), 1);
}

TEST(DDateTime, AnInvalidValueSpoilsTheOtherHalf)
{
    DDateTime date;
    date.SetStatus(DDateTime::invalid);
    EXPECT_EQ(date.SetTime("1230"), 1);
    EXPECT_EQ(date.SetDate("20070315"), 1);

    const DDateTime both("20070315", "123045");
    EXPECT_EQ(both.GetStatus(), DDateTime::valid);
    EXPECT_TRUE(Is(both, {2007, 3, 15, 12, 30, 45}));
    DDateTime again;
    EXPECT_EQ(again.SetDateTime("20070315", "99"), 1);
}

TEST(DDateTime, NegativeValuesCountTheTimeForward)
{
    const DDateTime earlier(-1.25);
    const DDateTime dayBefore(-1.0);
    EXPECT_EQ(earlier.GetHour(), 6);
    EXPECT_EQ(earlier.GetDay(), 29);
    EXPECT_TRUE(earlier > dayBefore);
    EXPECT_TRUE(dayBefore < earlier);
    EXPECT_TRUE(earlier >= dayBefore);
    EXPECT_FALSE(earlier <= dayBefore);
    EXPECT_NEAR(static_cast<double>(earlier - dayBefore), 0.25, 1e-12);
    EXPECT_NEAR(static_cast<double>(dayBefore + DDateTimeSpan(0.25)), -1.25, 1e-12);
    EXPECT_NEAR(static_cast<double>(DDateTime(0.25) - DDateTimeSpan(0.5)), -1.75, 1e-12);
}

TEST(DDateTime, EqualityComparesStatusAndValue)
{
    DDateTime a(10.0);
    DDateTime b(10.0);
    EXPECT_TRUE(a == b);
    b.SetStatus(DDateTime::invalid);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a < b); // ordering ignores the status
    EXPECT_TRUE(a <= b);
}

TEST(DDateTime, ArithmeticStatusRules)
{
    const DDateTime date(100.0);
    DDateTime nullDate(5.0);
    nullDate.SetStatus(DDateTime::null);
    DDateTime invalidDate(5.0);
    invalidDate.SetStatus(DDateTime::invalid);
    DDateTimeSpan nullSpan(1.0);
    nullSpan.SetStatus(DDateTimeSpan::null);
    DDateTimeSpan invalidSpan(1.0);
    invalidSpan.SetStatus(DDateTimeSpan::invalid);

    EXPECT_EQ((date + nullSpan).GetStatus(), DDateTime::null);
    EXPECT_EQ(static_cast<double>(date + nullSpan), 0.0);
    EXPECT_EQ((invalidDate + nullSpan).GetStatus(), DDateTime::null);
    EXPECT_EQ((date + invalidSpan).GetStatus(), DDateTime::invalid);
    EXPECT_EQ((date - invalidSpan).GetStatus(), DDateTime::invalid);
    EXPECT_EQ((date - nullSpan).GetStatus(), DDateTime::null);
    EXPECT_EQ((date - nullDate).GetStatus(), DDateTimeSpan::null);
    EXPECT_EQ((date - invalidDate).GetStatus(), DDateTimeSpan::invalid);

    EXPECT_EQ((date + DDateTimeSpan(1e7)).GetStatus(), DDateTime::invalid);
    DDateTime moved = date;
    moved += DDateTimeSpan(1, 12, 0, 0);
    EXPECT_NEAR(static_cast<double>(moved), 101.5, 1e-12);
    moved -= DDateTimeSpan(0.5);
    EXPECT_NEAR(static_cast<double>(moved), 101.0, 1e-12);
    EXPECT_EQ((moved - date).GetStatus(), DDateTimeSpan::valid);
    EXPECT_NEAR((moved - date).GetTotalDays(), 1.0, 1e-12);
}

TEST(DDateTime, FormatThroughStrftime)
{
    const DDateTime date(2007, 3, 15, 8, 5, 9);
    EXPECT_STREQ(date.Format("%Y-%m-%d %H:%M:%S"), "2007-03-15 08:05:09");
    EXPECT_STREQ(date.ToString("%A %j"), "Thursday 074");
    EXPECT_TRUE(date.Format(nullptr).IsEmpty());
    DDateTime nullDate(date);
    nullDate.SetStatus(DDateTime::null);
    EXPECT_TRUE(nullDate.FormatDate().IsEmpty());
}

TEST(DDateTime, FromCalendarTimeAndDosTime)
{
    // TZ is UTC in the tests.
    const DDateTime epoch(static_cast<long>(0));
    EXPECT_TRUE(Is(epoch, {1970, 1, 1, 0, 0, 0}));
    DDateTime assigned;
    const long noon = 86400L * 365 + 43200;
    assigned = noon;
    EXPECT_TRUE(Is(assigned, {1971, 1, 1, 12, 0, 0}));

    // 2007-03-15 12:30:46 as an MS-DOS date and time.
    const unsigned short dosDate = static_cast<unsigned short>((27 << 9) | (3 << 5) | 15);
    const unsigned short dosTime = static_cast<unsigned short>((12 << 11) | (30 << 5) | 23);
    EXPECT_TRUE(Is(DDateTime(dosDate, dosTime, 0), {2007, 3, 15, 12, 30, 46}));
}

TEST(DDateTime, GetTickCountReadsThePlatformClock)
{
    SYSTEMTIME start = {};
    start.wYear = 2007;
    start.wMonth = 3;
    start.wDay = 15;
    start.wHour = 12;
    start.wMinute = 30;
    start.wSecond = 45;
    start.wMilliseconds = 400;
    CManualClock clock(start);
    CScopedPlatformClock installed(clock);
    EXPECT_TRUE(Is(DDateTime::GetTickCount(), {2007, 3, 15, 12, 30, 45}));
    clock.Advance(86400 * 1000);
    EXPECT_TRUE(Is(DDateTime::GetTickCount(), {2007, 3, 16, 12, 30, 45}));
}

TEST(DDateTimeSpan, PartsOfASpan)
{
    const DDateTimeSpan span("0001023045");
    EXPECT_EQ(span.GetStatus(), DDateTimeSpan::valid);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 30);
    EXPECT_EQ(span.GetSeconds(), 45);
    EXPECT_EQ(span.GetTotalHours(), 26.0);
    EXPECT_EQ(span.GetTotalMinutes(), 1590.0);
    EXPECT_EQ(span.GetTotalSeconds(), 95445.0);
    EXPECT_STREQ(span.Format("%D days"), "0001 days");
    EXPECT_STREQ(span.ToString("%D %H:%M:%S"), "0001 02:30:45");

    EXPECT_EQ(DDateTimeSpan("000102304").GetTotalDays(), 0.0);
    EXPECT_EQ(DDateTimeSpan(static_cast<const char*>(nullptr)).GetTotalDays(), 0.0);
    EXPECT_NEAR(DDateTimeSpan(2, 12, 0, 0).GetTotalDays(), 2.5, 1e-12);
}

TEST(DDateTimeSpan, ClockFieldsRoundToTheNearestSecond)
{
    const DDateTimeSpan almostAnHour(0, 0, 59, 59);
    EXPECT_EQ(almostAnHour.GetHours(), 0);
    EXPECT_EQ(almostAnHour.GetMinutes(), 59);
    EXPECT_EQ(almostAnHour.GetSeconds(), 59);
    const DDateTimeSpan day(1.0 - 1e-9);
    EXPECT_EQ(day.GetHours(), 0);
    EXPECT_EQ(day.GetMinutes(), 0);
    EXPECT_EQ(day.GetSeconds(), 0);
}

TEST(DDateTimeSpan, ArithmeticAndRange)
{
    DDateTimeSpan a(1.5);
    const DDateTimeSpan b(0.5);
    EXPECT_EQ((a + b).GetTotalDays(), 2.0);
    EXPECT_EQ((a - b).GetTotalDays(), 1.0);
    EXPECT_EQ((-a).GetTotalDays(), -1.5);
    a += b;
    EXPECT_EQ(a.GetTotalDays(), 2.0);
    a -= b;
    EXPECT_EQ(a.GetTotalDays(), 1.5);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a > b);
    EXPECT_TRUE(a == DDateTimeSpan(1.5));
    EXPECT_TRUE(a != b);

    const DDateTimeSpan big(3615897.0);
    EXPECT_EQ((big + DDateTimeSpan(0.0)).GetStatus(), DDateTimeSpan::valid);
    EXPECT_EQ((big + DDateTimeSpan(1.0)).GetStatus(), DDateTimeSpan::invalid);
    EXPECT_EQ((-big - DDateTimeSpan(1.0)).GetStatus(), DDateTimeSpan::invalid);

    DDateTimeSpan nullSpan;
    nullSpan.SetStatus(DDateTimeSpan::null);
    DDateTimeSpan invalidSpan;
    invalidSpan.SetStatus(DDateTimeSpan::invalid);
    EXPECT_EQ((invalidSpan + nullSpan).GetStatus(), DDateTimeSpan::null);
    EXPECT_EQ((b - invalidSpan).GetStatus(), DDateTimeSpan::invalid);
    EXPECT_TRUE(nullSpan.Format("%D").IsEmpty());
    EXPECT_TRUE(invalidSpan.Format("%D").IsEmpty());
}
