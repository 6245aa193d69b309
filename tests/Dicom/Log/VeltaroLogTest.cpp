#include "../High/LibraryTestSupport.h"
#include "DataDictionary.h"
#include "LogFileSupport.h"
#include "UID.h"
#include "WinBeep.h"
#include "WinClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// A log file in a folder of its own, the clock standing at 12:00:01 (the
// tests run with TZ=UTC).
class VeltaroLog : public ::testing::Test
{
protected:
    VeltaroLog() : m_clock(MakeSystemTime(2007, 3, 15, 12, 0, 1)), m_installed(m_clock) {}

    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("veltaro-log-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = m_folder / "Veltaro.log";
    }

    void TearDown() override
    {
        m_log.Close(false);
        fs::remove_all(m_folder);
    }

    void Open() { m_log.Open(m_path); }
    std::string ReadFile(const fs::path& path) const
    {
        GetVeltaroLog().Flush();
        return ReadLogFile(path);
    }
    // The text one call appends to the open log.
    std::string Appended(const std::function<void()>& call) const { return m_log.Appended(call); }

    CManualClock m_clock;
    CScopedPlatformClock m_installed;
    fs::path m_folder;
    fs::path m_path;
    LibraryLogFile m_log;
};

} // namespace

TEST_F(VeltaroLog, NothingIsWrittenBeforeALogIsSwitchedOn)
{
    if (CChronex::bLogOn != 0)
    {
        GTEST_SKIP() << "another test of this process switched logging on";
    }
    _info("not written");
    EXPECT_EQ(GetVeltaroLog().IsLogOn(), 0);
    EXPECT_FALSE(fs::exists(m_path));
}

TEST_F(VeltaroLog, OpeningWritesTheBannerAndTheStartingLine)
{
    Open();
    const std::string text = ReadFile(m_path);
    EXPECT_EQ(text.rfind("\r\n\r\n" + std::string(51, '*') + "3.0.0.3", 0), 0u);
    EXPECT_NE(text.find("2007-03-15,12:00:01\r\n"), std::string::npos);
    EXPECT_TRUE(EndsWith(text, "Veltaro Starting\r\n\r\n"));
}

TEST_F(VeltaroLog, EntryLayoutOfEveryFrontEnd)
{
    Open();
    struct Case
    {
        const char* name;
        std::function<void()> call;
        const char* expected;
    };
    const Case cases[] = {
        {"_info", [] { _info("n=%d", 5); }, "12:00:01  n=5\r\n"},
        {"_debug", [] { _debug("%s|%04x", "a", 0x1f); }, "12:00:01  a|001f\r\n"},
        {"_warning", [] { _warning("w"); }, "12:00:01  w\r\n"},
        {"_error", [] { _error("e %ld", 7); }, "12:00:01  e 7\r\n"},
        {"_tinfo", [] { _tinfo("t"); }, "12:00:01  t\r\n"},
        {"_Veltarodebug", [] { _Veltarodebug("v"); }, "12:00:01  v\r\n"},
        {"_syserror", [] { _syserror(5, "s=%s", "x"); }, "12:00:01  s=x\r\n"},
        {"_fdebug", [] { _fdebug("x"); }, "12:00:01   x\r\n"},
        {"_fdebug with %", [] { _fdebug("100%"); }, "12:00:01   100%\r\n"},
        {"empty", [] { _debug(""); }, "\r\n\r\n"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Appended(c.call), c.expected) << c.name;
    }
}

TEST_F(VeltaroLog, FatalEntriesBeepTwice)
{
    Open();
    ResetBeepCount();
    EXPECT_EQ(Appended([] { _fatal("f=%d", 1); }), "12:00:01  f=1\r\n");
    EXPECT_EQ(GetBeepCount(), 2);
    int result = 0;
    EXPECT_EQ(Appended([&] { result = _assert("p", "f", 7); }),
              "12:00:01  Assertion 'p' failed in file f in line: 7.\r\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(GetBeepCount(), 4);
}

TEST_F(VeltaroLog, ExceptionFilterNamesKnownCodes)
{
    Open();
    const std::string head = "\r\n\r\n12:00:01  Enter ExceptionFilter.\r\n";
    int result = 0;
    EXPECT_EQ(Appended([&] { result = ExceptionFilter(0xC0000005); }),
              head + "12:00:01  exception_access_violation\t\t\r\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Appended([&] { result = ExceptionFilter(0xC0000025); }),
              head + "12:00:01  exception_noncontinuable_exception\r\n");
    EXPECT_EQ(Appended([&] { result = ExceptionFilter(0x12345678); }), head);
    EXPECT_EQ(result, 1);
}

TEST_F(VeltaroLog, CloseDebugWritesTheClosingBanner)
{
    Open();
    EXPECT_EQ(Appended([] { CloseDebug(); }), "\nVeltaro Closing\r\n\r\n");
    EXPECT_EQ(GetVeltaroLog().IsLogOn(), 1);
}

TEST_F(VeltaroLog, QueryPerformanceMeasuresBetweenCalls)
{
    Open();
    double elapsed = -1.0;
    EXPECT_EQ(Appended([&] { elapsed = QueryPerformance(1); }),
              "12:00:01  Tag = 1, QueryPerformance: Set StartTime Done.\r\n");
    EXPECT_EQ(elapsed, 0.0);
    m_clock.Advance(1000);
    EXPECT_EQ(Appended([&] { elapsed = QueryPerformance(2); }),
              "12:00:02  Tag = 2, Elapsed time = 1.000000 (seconds)\r\n");
    EXPECT_DOUBLE_EQ(elapsed, 1.0);
    m_clock.Advance(250);
    EXPECT_DOUBLE_EQ(QueryPerformance(3), 0.25);
}

TEST_F(VeltaroLog, ALogThatCannotOpenDropsEntries)
{
    EXPECT_EQ(VeltaroSetLogFileName(nullptr), 1);
    EXPECT_EQ(VeltaroSetLogFileName((m_folder / "missing" / "x.log").c_str()), 1);
    EXPECT_EQ(GetVeltaroLog().IsLogOn(), 0);
    _info("dropped");
    Open();
    EXPECT_EQ(ReadFile(m_path).find("dropped"), std::string::npos);
}

TEST_F(VeltaroLog, LargeFilesMoveToTheBackup)
{
    struct Case
    {
        std::uintmax_t size;
        bool rotated;
    };
    const Case cases[] = {{0xA00001, true}, {0xA00000, false}};
    const fs::path backup = m_path.string() + ".bak";
    for (const Case& c : cases)
    {
        fs::remove(backup);
        {
            std::ofstream(backup, std::ios::binary) << "older backup";
            std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
            file << "first line\r\n";
        }
        fs::resize_file(m_path, c.size);
        Open();
        const std::string text = ReadFile(m_path);
        EXPECT_TRUE(EndsWith(text, "Veltaro Starting\r\n\r\n")) << c.size;
        if (c.rotated)
        {
            EXPECT_GT(fs::file_size(backup), c.size); // with the banner and footer
            EXPECT_EQ(ReadFile(backup).rfind("first line\r\n", 0), 0u);
            EXPECT_EQ(text.rfind("\r\n\r\n*", 0), 0u);
            EXPECT_LT(text.size(), 1000u);
        }
        else
        {
            EXPECT_EQ(ReadFile(backup), "older backup");
            EXPECT_GT(text.size(), c.size);
            EXPECT_EQ(text.rfind("first line\r\n", 0), 0u);
        }
        GetVeltaroLog().Off();
    }
}

TEST_F(VeltaroLog, DictionaryDetachLogsItsCounters)
{
    Open();
    const DictionaryItem table[] = {
        {0x00100010, 0x504E, 1, nullptr, "PatientName", "Patient's Name", 0},
        {0, 0, 0, nullptr, nullptr, nullptr, 0},
    };
    DataDictionary dictionary;
    EXPECT_EQ(Appended([&] { dictionary.Build(table, nullptr); }),
              "12:00:01  Building the DICOM Data Dictionary, please wait\r\n"
              "12:00:01  CheckCount : 0, CacheHittedCount : 0\r\n");
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Lookup(0x0010, 0x0011);
    dictionary.Lookup(0x0010, 0x0010);
    EXPECT_EQ(Appended([&] { dictionary.Detach(); }),
              "12:00:01  CheckCount : 3, CacheHittedCount : 0\r\n");

    dictionary.Build(table, nullptr);
    EXPECT_EQ(Appended([&] { dictionary.BuildCache(table); }),
              "12:00:01  Building the DICOM Data Dictionary Cache, please wait\r\n");
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Lookup(0x0010, 0x0011);
    EXPECT_EQ(Appended([&] { dictionary.Detach(); }),
              "12:00:01  CheckCount : 2, CacheHittedCount : 1\r\n"
              "12:00:01  Dictionary Cache Hit Ratio = 0.500000\r\n");
}

TEST_F(VeltaroLog, IsLosslessWarnsAtEveryCall)
{
    Open();
    EXPECT_EQ(Appended([] { IsLossless("1.2.840.10008.1.2.4.57"); }),
              "12:00:01  Should change EndianType\r\n");
    EXPECT_EQ(Appended([] { IsLosslessSyntax("1.2.840.10008.1.2.4.57"); }), "");
}
