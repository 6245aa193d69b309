#include "FileLog.h"

#include "ChildProcess.h"
#include "LogTestClock.h"
#include "WinFile.h"

#include <sys/stat.h>

namespace
{
class FileLogTest : public LogTest
{
protected:
    std::string GetLogPath() const { return m_folder.GetPath("module.log"); }
    std::string ReadLog() const { return m_folder.ReadFile("module.log"); }

    // Bytes of the log file on disk, whatever is still in stream buffers.
    long GetDiskSize() const
    {
        struct stat info
        {
        };
        return stat(GetLogPath().c_str(), &info) == 0 ? static_cast<long>(info.st_size) : -1;
    }
};

TEST_F(FileLogTest, OpeningWritesTheBannerExactly)
{
    CFileLog log;
    ASSERT_EQ(log.On(GetLogPath().c_str()), 1);
    EXPECT_EQ(CChronex::bLogOn, 1);
    EXPECT_EQ(log.IsLogOn(), 1);
    EXPECT_STREQ(log.GetPath(), GetLogPath().c_str());
    log.Flush();
    EXPECT_EQ(ReadLog(), GetExpectedBanner());
    EXPECT_EQ(log.GetFileSize(), static_cast<long>(GetExpectedBanner().size()));
}

TEST_F(FileLogTest, ClosingAppendsTheFooterAndClosesTheFile)
{
    CFileLog log;
    log.On(GetLogPath().c_str());
    m_clock.Advance(61000);
    log.Off();
    EXPECT_EQ(log.IsLogOn(), 0);
    EXPECT_EQ(log.GetFileSize(), -1);
    EXPECT_EQ(ReadLog(), GetExpectedBanner() + GetExpectedFooter("2024-03-05,09:06:08"));
}

TEST_F(FileLogTest, AnEntryIsTheTimeTwoBlanksAndTheText)
{
    CFileLog log;
    log.On(GetLogPath().c_str());
    log.Flush();
    const std::size_t before = ReadLog().size();
    {
        CChronex entry(log, "IOD", "debug");
        entry.AppendFormat("n=%d", 5);
        entry.EndLine();
        entry.Flush("\r\n", 2);
        EXPECT_TRUE(entry.GetText().IsEmpty());
        EXPECT_TRUE(entry.GetLevelWord().IsEmpty());
        EXPECT_EQ(entry.GetModule(), "IOD");
    }
    // The builder flushed its log as it went: the entry is on disk.
    EXPECT_EQ(ReadLog().substr(before), "09:05:07  n=5\r\n");
    CChronex empty(log);
    empty.EndLine();
    log.Flush();
    EXPECT_EQ(ReadLog().substr(before), "09:05:07  n=5\r\n\r\n");
}

TEST_F(FileLogTest, WritesAreFlushedInBatchesOfEighteen)
{
    CFileLog log;
    log.On(GetLogPath().c_str());
    log.Flush();
    const long start = GetDiskSize();
    CChronex& output = log;
    CFileLog::FlushCounter = 0;
    for (int write = 1; write <= 17; ++write)
    {
        output.Flush("x", 1);
    }
    EXPECT_EQ(GetDiskSize(), start) << "seventeen writes stay in the stream";
    EXPECT_EQ(CFileLog::FlushCounter, 17);
    output.Flush("x", 1);
    EXPECT_EQ(GetDiskSize(), start + 18);
    EXPECT_EQ(CFileLog::FlushCounter, 0);
}

TEST_F(FileLogTest, AFileAnotherProcessWritesCannotBeOpened)
{
    const std::string path = GetLogPath();
    CChildProcess child(
        [&path](CChildProcess& self)
        {
            CFileLog holder;
            self.Report(holder.On(path.c_str()) == 1 ? 'o' : 'f');
            self.WaitForParent();
        });
    ASSERT_EQ(child.ReadReport(), 'o');
    CFileLog log;
    EXPECT_EQ(log.On(path.c_str()), 0);
    EXPECT_EQ(log.IsLogOn(), 0);
    EXPECT_EQ(log.GetFileSize(), -1);
    child.LetGo();
    child.Wait();
    EXPECT_EQ(log.On(path.c_str()), 1);
}

TEST_F(FileLogTest, CopiesShareTheFileAndCloseItOnce)
{
    CFileLog original;
    original.On(GetLogPath().c_str());
    {
        CFileLog copy(original);
        EXPECT_EQ(copy.GetTarget(), nullptr);
        EXPECT_STREQ(copy.GetPath(), original.GetPath());
        CFileLog assigned;
        assigned = original;
        original.Off();
        EXPECT_EQ(original.IsLogOn(), 0);
        CChronex entry(copy);
        entry << "still" << 1;
        entry.EndLine();
        EXPECT_EQ(_fsopen(GetLogPath().c_str(), "rb", _SH_DENYRW), nullptr)
            << "the copies still hold the file";
    }
    FILE* alone = _fsopen(GetLogPath().c_str(), "rb", _SH_DENYRW);
    ASSERT_NE(alone, nullptr) << "the last copy closed the file";
    fclose(alone);
    const std::string text = ReadLog();
    const std::string afterOff =
        text.substr(GetExpectedBanner().size() + GetExpectedFooter().size());
    EXPECT_EQ(afterOff.substr(0, 17), "09:05:07   still1");
}

TEST_F(FileLogTest, AGivenStreamStaysAttachedAfterOff)
{
    FILE* stream = tmpfile();
    ASSERT_NE(stream, nullptr);
    CFileLog log;
    EXPECT_EQ(log.On(stream), 1);
    log.Off();
    EXPECT_EQ(log.IsLogOn(), 1);
    CChronex entry(log);
    entry.Puts("after");
    entry.EndLine();
    log.Flush();
    const long size = ftell(stream);
    EXPECT_EQ(size, static_cast<long>(GetExpectedBanner().size() + GetExpectedFooter().size() +
                                      std::string("09:05:07  after").size()));
    log.On(static_cast<const char*>(nullptr));
    EXPECT_EQ(log.IsLogOn(), 0) << "a null path leaves no stream";
    fclose(stream);
}

TEST_F(FileLogTest, StandardOutputKeepsThePath)
{
    CFileLog log;
    log.On(GetLogPath().c_str());
    testing::internal::CaptureStdout();
    EXPECT_EQ(log.On(), 1);
    EXPECT_EQ(log.IsLogOn(), 1);
    EXPECT_STREQ(log.GetPath(), GetLogPath().c_str());
    log.On(static_cast<const char*>(nullptr));
    fflush(stdout);
    const std::string written = testing::internal::GetCapturedStdout();
    EXPECT_EQ(written, GetExpectedBanner() + GetExpectedFooter());
    EXPECT_EQ(ReadLog(), GetExpectedBanner() + GetExpectedFooter());
}

TEST_F(FileLogTest, AnUnconvertibleTimePrintsMinusOne)
{
    m_clock.SetSystemTime(MakeTime(12000, 1, 1, 0, 0, 0));
    CFileLog log;
    log.On(GetLogPath().c_str());
    log.Flush();
    EXPECT_EQ(ReadLog(), GetExpectedBanner("-001--1--1,-1:-1:-1"));
}

TEST_F(FileLogTest, AnUnopenableFileLeavesTheLogSilent)
{
    CFileLog log;
    EXPECT_EQ(log.On(m_folder.GetPath("missing/folder/x.log").c_str()), 0);
    CChronex entry(log);
    entry.Puts("dropped");
    entry.EndLine();
    EXPECT_EQ(log.GetFileSize(), -1);
}
} // namespace
