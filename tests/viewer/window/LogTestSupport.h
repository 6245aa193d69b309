// The viewer library's log open on a file of the test's own, with the clock
// standing at 2024-03-05 09:05:07 (the tests run with TZ=UTC).
#pragma once

#include "../../platform/base/TempFolder.h"
#include "FileLog.h"
#include "QuillonLog.h"
#include "WinClock.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

inline SYSTEMTIME MakeLogTestTime()
{
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDay = 5;
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 7;
    return time;
}

class QuillonLogTest : public testing::Test
{
protected:
    void TearDown() override { quillon::GetQuillonLog().Off(); }

    // Opens the library log on a file of the test's folder.
    void OpenLog(const std::string& name = "Brevant.LOG")
    {
        m_logName = name;
        ASSERT_TRUE(quillon::OpenQuillonLog(m_folder.GetPath(name).c_str()));
    }

    std::string ReadLog() const
    {
        quillon::GetQuillonLog().Flush();
        return m_folder.ReadFile(m_logName);
    }

    // The text one call appends to the library log.
    std::string Appended(const std::function<void()>& call) const
    {
        const std::size_t before = ReadLog().size();
        call();
        return ReadLog().substr(before);
    }

    CManualClock m_clock{MakeLogTestTime()};
    CScopedPlatformClock m_installed{m_clock};
    CTempFolder m_folder;
    std::string m_logName;
};
