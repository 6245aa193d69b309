// The library started, its log open on a file of the test's own, the clock
// standing at 00:00:00.
#pragma once

#include "../High/LibraryTestSupport.h"
#include "LogFileSupport.h"

class LoggedLibraryTest : public LibraryTest
{
protected:
    LoggedLibraryTest() : m_installed(m_clock) {}

    void SetUp() override
    {
        LibraryTest::SetUp();
        m_log.Open(UniqueLogPath("veltaro-log"));
    }
    void TearDown() override
    {
        m_log.Close(true);
        LibraryTest::TearDown();
    }

    CManualClock m_clock;
    CScopedPlatformClock m_installed;
    LibraryLogFile m_log;
};
