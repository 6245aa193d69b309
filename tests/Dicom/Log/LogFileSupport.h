// The library log open on a file of the test's own, read back by the tests
// of what the library writes there.
#pragma once

#include "FileLog.h"
#include "VeltaroLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// The whole text of a file; empty when it cannot be read.
inline std::string ReadLogFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A name in the temporary folder that no other test or process uses.
inline std::filesystem::path UniqueLogPath(const std::string& prefix)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::filesystem::temp_directory_path() /
           (prefix + "-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" +
            test->name() + ".log");
}

class LibraryLogFile
{
public:
    // Opens the library log on the file (with its rotation and banner).
    void Open(const std::filesystem::path& path)
    {
        m_path = path;
        ASSERT_EQ(VeltaroSetLogFileName(m_path.c_str()), 1);
    }
    // Closes the log; the file is removed when removeFile is set.
    void Close(bool removeFile)
    {
        GetVeltaroLog().Off();
        if (removeFile)
            std::filesystem::remove(m_path);
    }

    const std::filesystem::path& GetPath() const { return m_path; }

    std::string GetText() const
    {
        GetVeltaroLog().Flush();
        return ReadLogFile(m_path);
    }

    // The text one call appends to the log.
    std::string Appended(const std::function<void()>& call) const
    {
        const std::size_t before = GetText().size();
        call();
        return GetText().substr(before);
    }

    // Every text stands as a whole entry in what the call appends, in this
    // order.
    void ExpectLines(const std::function<void()>& call, const std::vector<std::string>& texts) const
    {
        const std::string appended = Appended(call);
        std::size_t position = 0;
        for (const std::string& text : texts)
        {
            const std::size_t found = appended.find("  " + text + "\r\n", position);
            ASSERT_NE(found, std::string::npos) << "missing: " << text << "\nin:\n" << appended;
            position = found + text.size();
        }
    }

private:
    std::filesystem::path m_path;
};
