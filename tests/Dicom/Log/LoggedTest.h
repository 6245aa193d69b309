// Tests of what the library writes to its log: on top of the fixture Base,
// the log open on a file of the test's own and the clock standing at
// 00:00:00.
#pragma once

#include "../High/LibraryTestSupport.h"
#include "LogFileSupport.h"
#include "WinClock.h"

#include <functional>
#include <string>
#include <vector>

template <typename Base> class LoggedTest : public Base
{
protected:
    LoggedTest() : m_installed(m_clock) {}

    void SetUp() override
    {
        Base::SetUp();
        m_log.Open(UniqueLogPath("veltaro-log"));
    }
    void TearDown() override
    {
        m_log.Close(true);
        Base::TearDown();
    }

    // The text one call appends to the log.
    std::string Appended(const std::function<void()>& call) const { return m_log.Appended(call); }
    // Every text stands as a whole entry in what the call appends, in order.
    void ExpectLines(const std::function<void()>& call, const std::vector<std::string>& texts) const
    {
        m_log.ExpectLines(call, texts);
    }

    CManualClock m_clock;
    CScopedPlatformClock m_installed;
    LibraryLogFile m_log;
};

// The library started as well.
using LoggedLibraryTest = LoggedTest<LibraryTest>;
