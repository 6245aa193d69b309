#include "LogEntry.h"

#include "LogTestClock.h"

#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

constexpr SLogEntryMark Mark = {"MOD", "debug", 532};

class LogEntryTest : public LogTest
{
protected:
    void TearDown() override { m_log.Off(); }

    std::string GetLogPath() const { return m_folder.GetPath("module.log"); }
    std::string ReadLog()
    {
        m_log.Flush();
        return m_folder.ReadFile("module.log");
    }

    void WriteFormatted(CChronex::Severity severity, const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        WriteLogEntryV(m_log, Mark, severity, format, args);
        va_end(args);
    }

    CFileLog m_log;
};

TEST_F(LogEntryTest, AnEntryIsTheTimeTheTextAndOneLineEnd)
{
    ASSERT_EQ(m_log.On(GetLogPath().c_str()), 1);
    const std::size_t start = ReadLog().size();
    WriteFormatted(CChronex::Error, "n=%d %s", 5, "x");
    WriteLogEntryText(m_log, Mark, CChronex::Debug, "100%d %s");
    WriteFormatted(CChronex::Debug, "");
    EXPECT_EQ(ReadLog().substr(start), "09:05:07  n=5 x\r\n"
                                       "09:05:07  100%d %s\r\n"
                                       "\r\n\r\n");
}

// The size the file had before the banner decides: exactly the limit is
// appended to, one byte more starts a new file and replaces the backup.
TEST_F(LogEntryTest, RotationByTheSizeBeforeTheBanner)
{
    struct Case
    {
        std::uintmax_t size;
        bool rotated;
    };
    const Case cases[] = {{1000, false}, {1001, true}};
    const fs::path path = GetLogPath();
    const fs::path backup = GetLogPath() + ".bak";
    for (const Case& c : cases)
    {
        std::ofstream(backup, std::ios::binary) << "older backup";
        {
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file << "first line\r\n";
        }
        fs::resize_file(path, c.size);
        ASSERT_EQ(OpenRotatedLog(m_log, path.c_str(), 1000), 1);
        const std::string text = ReadLog();
        const std::string saved = m_folder.ReadFile("module.log.bak");
        if (c.rotated)
        {
            EXPECT_EQ(saved.rfind("first line\r\n", 0), 0u) << c.size;
            EXPECT_EQ(text, GetExpectedBanner()) << c.size;
        }
        else
        {
            EXPECT_EQ(saved, "older backup") << c.size;
            EXPECT_EQ(text.size(), c.size + GetExpectedBanner().size()) << c.size;
        }
        m_log.Off();
    }
}

TEST_F(LogEntryTest, AFileThatCannotBeOpenedIsNeitherRotatedNorOpened)
{
    EXPECT_EQ(OpenRotatedLog(m_log, nullptr, 10), 0);
    EXPECT_EQ(OpenRotatedLog(m_log, m_folder.GetPath("missing/x.log").c_str(), 10), 0);
    EXPECT_EQ(m_log.IsLogOn(), 0);
}
} // namespace
