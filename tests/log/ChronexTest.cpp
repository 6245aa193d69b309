#include "Chronex.h"

#include "LogTestClock.h"

#include <string>
#include <vector>

namespace
{
// A target that records what reaches it.
class CRecordingLog : public CChronex
{
public:
    void Flush(const char* text, int length) override { m_writes.emplace_back(text, length); }
    void Flush() override { ++m_flushes; }

    std::vector<std::string> m_writes;
    int m_flushes = 0;
};

class ChronexTest : public LogTest
{
protected:
    CRecordingLog m_target;
};

TEST_F(ChronexTest, NamedConstructorsAttachAndSetModuleAndLevelWord)
{
    CChronex plain(m_target);
    EXPECT_EQ(plain.GetTarget(), &m_target);
    EXPECT_TRUE(plain.GetModule().IsEmpty());
    EXPECT_EQ(plain.GetSeverity(), CChronex::Information);
    CChronex named(m_target, Lettra("IOD"), "debug");
    EXPECT_EQ(named.GetModule(), "IOD");
    EXPECT_EQ(named.GetLevelWord(), "debug");
    named.Detach();
    EXPECT_EQ(named.GetTarget(), nullptr);
    named.Attach(m_target);
    EXPECT_EQ(named.GetTarget(), &m_target);
}

TEST_F(ChronexTest, DestroyingABuilderFlushesItsTarget)
{
    {
        CChronex entry(m_target, "IOD");
    }
    EXPECT_EQ(m_target.m_flushes, 1);
    {
        CChronex detached;
    }
    EXPECT_EQ(m_target.m_flushes, 1);
}

TEST_F(ChronexTest, StreamingPutsABlankBeforeTextButNotBeforeNumbers)
{
    CChronex entry(m_target);
    entry << "x";
    EXPECT_EQ(entry.GetText(), " x");
    entry << 5;
    EXPECT_EQ(entry.GetText(), " x5");
    entry << Lettra("y") << -2;
    EXPECT_EQ(entry.GetText(), " x5 y-2");
}

TEST_F(ChronexTest, NothingIsWrittenOrTakenWhileLoggingIsOff)
{
    CChronex entry(m_target);
    entry.Append(CChronex::Error, 12, "error", "kept?");
    EXPECT_TRUE(entry.GetText().IsEmpty()) << "Append gates on the switch";
    entry.AppendFormat("abc%d", 1);
    EXPECT_EQ(entry.Printf("%d", 2), 0);
    EXPECT_EQ(entry.Puts("z"), 0);
    entry.Banner("banner");
    entry.EndLine();
    EXPECT_TRUE(m_target.m_writes.empty());
    EXPECT_EQ(entry.GetText(), "abc1") << "formatting appends regardless; the text stays";
}

TEST_F(ChronexTest, AppendSetsTheEntryFields)
{
    CChronex::bLogOn = 1;
    CChronex entry(m_target, "IOD", "debug");
    entry.Append(CChronex::Warning, 532, "warning", "first");
    entry.Append(CChronex::Warning, 7, "warning", " second");
    EXPECT_EQ(entry.GetSeverity(), CChronex::Warning);
    EXPECT_EQ(entry.GetLineNumber(), "   7");
    EXPECT_EQ(entry.GetLevelWord(), "warning");
    EXPECT_EQ(entry.GetText(), "first second");
    EXPECT_EQ(entry.Printf("/%s/%d", "p", 3), 1);
    EXPECT_EQ(entry.Puts("!"), 1);
    entry.EndLine();
    ASSERT_EQ(m_target.m_writes.size(), 1u);
    EXPECT_EQ(m_target.m_writes[0], "09:05:07  first second/p/3!");
    EXPECT_TRUE(entry.GetLevelWord().IsEmpty());
    EXPECT_EQ(entry.GetModule(), "IOD");
}

TEST_F(ChronexTest, BannerWritesTheTextWithItsNulThenALineEnd)
{
    CChronex::bLogOn = 1;
    CChronex entry(m_target);
    entry.Banner("Veltaro Starting\r\n");
    ASSERT_EQ(m_target.m_writes.size(), 2u);
    EXPECT_EQ(m_target.m_writes[0], std::string("Veltaro Starting\r\n", 19));
    EXPECT_EQ(m_target.m_writes[1], "\r\n");
}

TEST_F(ChronexTest, OnSetsTheSwitchAndWritesTheBannerThroughTheTarget)
{
    CChronex entry(m_target);
    EXPECT_EQ(entry.On(), 1);
    EXPECT_EQ(CChronex::bLogOn, 1);
    std::string written;
    for (const std::string& write : m_target.m_writes)
    {
        written += write.c_str();
    }
    EXPECT_EQ(written, GetExpectedBanner());
    m_target.m_writes.clear();
    entry.Off();
    EXPECT_EQ(CChronex::bLogOn, 1) << "Off never clears the switch";
    EXPECT_EQ(m_target.m_writes.size(), 8u);
}

TEST_F(ChronexTest, AssignmentCopiesEveryFieldWithTheTarget)
{
    CChronex::bLogOn = 1;
    CChronex source(m_target, "MOD", "info");
    source.Append(CChronex::Debug, 3, "debug", "text");
    CChronex copy;
    copy = source;
    EXPECT_EQ(copy.GetTarget(), &m_target);
    EXPECT_EQ(copy.GetModule(), "MOD");
    EXPECT_EQ(copy.GetSeverity(), CChronex::Debug);
    EXPECT_EQ(copy.GetLineNumber(), "   3");
    EXPECT_EQ(copy.GetText(), "text");
}

TEST_F(ChronexTest, TheClassDataStartsAsDocumented)
{
    EXPECT_EQ(CChronex::Host, "127.0.0.1");
    EXPECT_EQ(CChronex::LineOfDelayFlush, 16);
}
} // namespace
