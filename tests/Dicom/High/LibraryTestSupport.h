// Tests of files and meta information run with the library started: the
// dictionary built and the default meta elements filled. The shut-down
// leaves the dictionary empty again, as other tests expect it.
#pragma once

#include "VeltaroLibrary.h"
#include "WinClock.h"

#include <gtest/gtest.h>

class LibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { VeltaroInitialize(); }
    void TearDown() override { VeltaroUninitialize(); }
};

inline SYSTEMTIME MakeSystemTime(WORD year, WORD month, WORD day, WORD hour, WORD minute,
                                 WORD second)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}
