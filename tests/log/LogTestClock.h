// Fixture of the log tests: a clock standing at a known local time (the
// process time zone is UTC) and logging switched off at the start.
#pragma once

#include "Chronex.h"
#include "FileLog.h"
#include "TempFolder.h"
#include "WinClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

inline SYSTEMTIME MakeTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

class LogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        CChronex::bLogOn = 0;
        CChronex::LineOfDelayFlush = 16;
    }

    CManualClock m_clock{MakeTime(2024, 3, 5, 9, 5, 7)};
    CScopedPlatformClock m_installed{m_clock};
    CTempFolder m_folder;
};

inline std::string Repeat(char c, std::size_t count)
{
    return std::string(count, c);
}

// What On() writes at 2024-03-05 09:05:07.
inline std::string GetExpectedBanner(const std::string& dateTime = "2024-03-05,09:05:07")
{
    return "\r\n\r\n" + Repeat('*', 51) + "3.0.0.3" + Repeat('*', 6) + "\r\n\r\n" + dateTime +
           "\r\n" + "\r\n\r\n\r\n";
}

// What Off() writes at that time.
inline std::string GetExpectedFooter(const std::string& dateTime = "2024-03-05,09:05:07")
{
    return "\r\n\r\n" + dateTime + "\r\n" + "\r\n\r\n\r\n" + "\r\n" + Repeat('-', 64) +
           "\r\n\r\n\r\n";
}
