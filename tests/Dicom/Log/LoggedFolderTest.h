// The library started, a folder for the test's files, and the library log
// on "Veltaro.log" in that folder.
#pragma once

#include "../High/FileTestSupport.h"
#include "LogFileSupport.h"

#include <functional>
#include <string>

class LoggedFolderTest : public FileFolderTest
{
protected:
    void SetUp() override
    {
        FileFolderTest::SetUp();
        OpenLog();
    }
    void TearDown() override
    {
        m_log.Close(false);
        FileFolderTest::TearDown();
    }

    void OpenLog() { m_log.Open(PathOf("Veltaro.log")); }
    std::string LogText() const { return m_log.GetText(); }
    // The text one call appends to the log.
    std::string Appended(const std::function<void()>& call) const { return m_log.Appended(call); }

    LibraryLogFile m_log;
};
