#include "WinClock.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace
{

// Sets TZ for one test and restores it.
class CScopedTimeZone
{
public:
    explicit CScopedTimeZone(const char* zone)
    {
        const char* previous = std::getenv("TZ");
        m_hadPrevious = previous != nullptr;
        if (m_hadPrevious)
            m_previous = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~CScopedTimeZone()
    {
        if (m_hadPrevious)
            setenv("TZ", m_previous.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool m_hadPrevious = false;
    std::string m_previous;
};

void ExpectTime(const SYSTEMTIME& t, int year, int month, int day, int hour, int minute, int second,
                int ms)
{
    EXPECT_EQ(t.wYear, year);
    EXPECT_EQ(t.wMonth, month);
    EXPECT_EQ(t.wDay, day);
    EXPECT_EQ(t.wHour, hour);
    EXPECT_EQ(t.wMinute, minute);
    EXPECT_EQ(t.wSecond, second);
    EXPECT_EQ(t.wMilliseconds, ms);
}

const SYSTEMTIME kStart = {2024, 1, 1, 15, 10, 30, 0, 0};

} // namespace

TEST(WinClock, ManualClockStandsStillUntilAdvanced)
{
    CManualClock clock(kStart, 1000);
    CScopedPlatformClock installed(clock);
    SYSTEMTIME now{};
    GetSystemTime(&now);
    ExpectTime(now, 2024, 1, 15, 10, 30, 0, 0);
    EXPECT_EQ(now.wDayOfWeek, 1);
    EXPECT_EQ(GetTickCount(), 1000u);
    LARGE_INTEGER before{};
    QueryPerformanceCounter(&before);

    clock.Advance(1500);
    GetSystemTime(&now);
    ExpectTime(now, 2024, 1, 15, 10, 30, 1, 500);
    EXPECT_EQ(GetTickCount(), 2500u);
    LARGE_INTEGER after{};
    QueryPerformanceCounter(&after);
    EXPECT_EQ(after.QuadPart - before.QuadPart, 15000000);
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(frequency.QuadPart, 10000000);
}

TEST(WinClock, SleepAdvancesTheManualClock)
{
    CManualClock clock(kStart, 0);
    CScopedPlatformClock installed(clock);
    Sleep(250);
    EXPECT_EQ(GetTickCount(), 250u);
    FILETIME fileTime{};
    GetSystemTimeAsFileTime(&fileTime);
    SYSTEMTIME now{};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &now));
    ExpectTime(now, 2024, 1, 15, 10, 30, 0, 250);
}

TEST(WinClock, TickCountWrapsAtThirtyTwoBits)
{
    CManualClock clock(kStart, 0xFFFFFF00u);
    CScopedPlatformClock installed(clock);
    clock.Advance(0x200);
    EXPECT_EQ(GetTickCount(), 0x100u);
}

TEST(WinClock, SettingTheWallClockLeavesTheTickCount)
{
    CManualClock clock(kStart, 7);
    CScopedPlatformClock installed(clock);
    clock.SetSystemTime({1999, 12, 5, 31, 23, 59, 59, 0});
    SYSTEMTIME now{};
    GetSystemTime(&now);
    ExpectTime(now, 1999, 12, 31, 23, 59, 59, 0);
    EXPECT_EQ(GetTickCount(), 7u);
}

TEST(WinClock, LocalTimeFollowsTheProcessTimeZone)
{
    CManualClock clock(kStart);
    CScopedPlatformClock installed(clock);
    SYSTEMTIME local{};
    {
        CScopedTimeZone zone("UTC0");
        GetLocalTime(&local);
        ExpectTime(local, 2024, 1, 15, 10, 30, 0, 0);
    }
    CScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    GetLocalTime(&local);
    ExpectTime(local, 2024, 1, 15, 11, 30, 0, 0);
    clock.SetSystemTime({2024, 7, 1, 15, 10, 30, 0, 0});
    GetLocalTime(&local);
    ExpectTime(local, 2024, 7, 15, 12, 30, 0, 0);

    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    FILETIME localFile{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &localFile));
    ASSERT_TRUE(FileTimeToSystemTime(&localFile, &local));
    ExpectTime(local, 2024, 7, 15, 12, 30, 0, 0);
}

TEST(WinClock, ScopedClockPutsTheSystemClockBack)
{
    {
        CManualClock clock;
        CScopedPlatformClock installed(clock);
        EXPECT_EQ(&GetPlatformClock(), &clock);
    }
    EXPECT_NE(dynamic_cast<CSystemClock*>(&GetPlatformClock()), nullptr);
    SYSTEMTIME now{};
    GetSystemTime(&now);
    EXPECT_GE(now.wYear, 2024);
}

struct FileTimeCase
{
    SYSTEMTIME time;
    ULONGLONG value;
};

class WinClockFileTime : public ::testing::TestWithParam<FileTimeCase>
{
};

TEST_P(WinClockFileTime, ConvertsBothWays)
{
    const FileTimeCase& c = GetParam();
    FILETIME fileTime{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &fileTime));
    EXPECT_EQ((static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime,
              c.value);
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&fileTime, &back));
    ExpectTime(back, c.time.wYear, c.time.wMonth, c.time.wDay, c.time.wHour, c.time.wMinute,
               c.time.wSecond, c.time.wMilliseconds);
    EXPECT_EQ(back.wDayOfWeek, c.time.wDayOfWeek);
}

INSTANTIATE_TEST_SUITE_P(
    Times, WinClockFileTime,
    ::testing::Values(FileTimeCase{{1601, 1, 1, 1, 0, 0, 0, 0}, 0},
                      FileTimeCase{{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ULL},
                      FileTimeCase{{2000, 2, 2, 29, 13, 14, 15, 16}, 125963036550160000ULL}));

TEST(WinClock, InvalidTimesFail)
{
    FILETIME fileTime{};
    const SYSTEMTIME bad[] = {{1600, 12, 0, 31, 0, 0, 0, 0},
                              {2001, 2, 0, 29, 0, 0, 0, 0},
                              {2000, 1, 0, 1, 0, 60, 0, 0},
                              {2000, 1, 0, 1, 0, 0, 0, 1000}};
    for (const SYSTEMTIME& t : bad)
    {
        SetLastError(0);
        EXPECT_FALSE(SystemTimeToFileTime(&t, &fileTime));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    const FILETIME tooLarge{0, 0x80000000u};
    SYSTEMTIME t{};
    EXPECT_FALSE(FileTimeToSystemTime(&tooLarge, &t));
}
