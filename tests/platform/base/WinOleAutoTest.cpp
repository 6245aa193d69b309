#include "WinOleAuto.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(WinOleAuto, SystemStringsCarryTheirByteLengthAndANul)
{
    BSTR text = SysAllocString(u"abc");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    DWORD byteLength = 0;
    std::memcpy(&byteLength, reinterpret_cast<const char*>(text) - sizeof(DWORD), sizeof(DWORD));
    EXPECT_EQ(byteLength, 6u);
    EXPECT_EQ(std::u16string(text), u"abc");
    SysFreeString(text);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(WinOleAuto, AllocatingWithoutTextGivesZeroedUnits)
{
    BSTR text = SysAllocStringLen(nullptr, 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    for (int i = 0; i <= 3; ++i)
        EXPECT_EQ(text[i], u'\0');
    SysFreeString(text);
}

TEST(WinOleAuto, LengthFormKeepsEmbeddedNuls)
{
    const char16_t units[] = {u'a', u'\0', u'b'};
    BSTR text = SysAllocStringLen(units, 3);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[2], u'b');
    SysFreeString(text);
}

TEST(WinOleAuto, ReallocationMayReadFromTheOldString)
{
    BSTR text = SysAllocString(u"hello world");
    ASSERT_TRUE(SysReAllocStringLen(&text, text + 6, 5));
    EXPECT_EQ(std::u16string(text), u"world");
    EXPECT_EQ(SysStringLen(text), 5u);
    SysFreeString(text);
    BSTR empty = nullptr;
    ASSERT_TRUE(SysReAllocStringLen(&empty, u"x", 1));
    EXPECT_EQ(std::u16string(empty), u"x");
    SysFreeString(empty);
}

TEST(WinOleAuto, NullIsAnEmptyString)
{
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

struct DateCase
{
    SYSTEMTIME time;
    DATE date;
};

class WinOleAutoDate : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(WinOleAutoDate, ConvertsBothWays)
{
    const DateCase& c = GetParam();
    DATE date = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&c.time, &date));
    EXPECT_DOUBLE_EQ(date, c.date);
    SYSTEMTIME back{};
    ASSERT_TRUE(VariantTimeToSystemTime(c.date, &back));
    EXPECT_EQ(back.wYear, c.time.wYear);
    EXPECT_EQ(back.wMonth, c.time.wMonth);
    EXPECT_EQ(back.wDay, c.time.wDay);
    EXPECT_EQ(back.wDayOfWeek, c.time.wDayOfWeek);
    EXPECT_EQ(back.wHour, c.time.wHour);
    EXPECT_EQ(back.wMinute, c.time.wMinute);
    EXPECT_EQ(back.wSecond, c.time.wSecond);
}

INSTANTIATE_TEST_SUITE_P(Dates, WinOleAutoDate,
                         ::testing::Values(DateCase{{1899, 12, 6, 30, 0, 0, 0, 0}, 0.0},
                                           DateCase{{1900, 1, 1, 1, 0, 0, 0, 0}, 2.0},
                                           DateCase{{2000, 1, 6, 1, 12, 0, 0, 0}, 36526.5},
                                           DateCase{{1899, 12, 5, 29, 6, 0, 0, 0}, -1.25},
                                           DateCase{{2024, 2, 4, 29, 18, 0, 0, 0}, 45351.75},
                                           DateCase{{100, 1, 5, 1, 0, 0, 0, 0}, -657434.0},
                                           DateCase{{9999, 12, 5, 31, 0, 0, 0, 0}, 2958465.0}));

TEST(WinOleAuto, VariantTimeRoundsToTheNearestSecond)
{
    SYSTEMTIME t{};
    ASSERT_TRUE(VariantTimeToSystemTime(36526.5 + 0.4 / 86400.0, &t));
    EXPECT_EQ(t.wSecond, 0);
    ASSERT_TRUE(VariantTimeToSystemTime(36526.5 + 0.6 / 86400.0, &t));
    EXPECT_EQ(t.wSecond, 1);
    ASSERT_TRUE(VariantTimeToSystemTime(36526.0 - 0.2 / 86400.0 + 1.0, &t));
    EXPECT_EQ(t.wDay, 2) << "rounding up past midnight moves to the next day";
    EXPECT_EQ(t.wHour, 0);
}

TEST(WinOleAuto, MillisecondsAreIgnored)
{
    const SYSTEMTIME t{2000, 1, 6, 1, 12, 0, 0, 999};
    DATE date = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&t, &date));
    EXPECT_DOUBLE_EQ(date, 36526.5);
}

TEST(WinOleAuto, InvalidDatesFail)
{
    DATE date = 0;
    const SYSTEMTIME bad[] = {{2023, 2, 0, 29, 0, 0, 0, 0},
                              {99, 1, 0, 1, 0, 0, 0, 0},
                              {2000, 13, 0, 1, 0, 0, 0, 0},
                              {2000, 1, 0, 1, 24, 0, 0, 0}};
    for (const SYSTEMTIME& t : bad)
        EXPECT_FALSE(SystemTimeToVariantTime(&t, &date));
    SYSTEMTIME t{};
    EXPECT_FALSE(VariantTimeToSystemTime(3000000.0, &t));
    EXPECT_FALSE(VariantTimeToSystemTime(-700000.0, &t));
}
