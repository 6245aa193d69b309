// A program that lets one instance of itself run, started twice on a
// private X server: the second start brings the first instance's window
// forward through the display and ends.
#include "../base/ChildProgram.h"
#include "../base/TempFolder.h"
#include "OutsideClient.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

namespace
{
class SingleInstanceTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_pServer = new CXvfbServer(800, 600); }
    static void TearDownTestSuite()
    {
        delete s_pServer;
        s_pServer = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_pServer->IsRunning()) << s_pServer->GetError();
        m_pOutside = std::make_unique<COutsideClient>(s_pServer->GetDisplayName());
        ASSERT_TRUE(m_pOutside->IsOpen());
    }

    // A start of the program on the display (the suite's own unless
    // given); its lock files go to the test's own folder.
    CChildProgram& Start(const std::vector<std::string>& args = {},
                         const CXvfbServer* pServer = nullptr)
    {
        const std::string display = (pServer != nullptr ? pServer : s_pServer)->GetDisplayName();
        m_probes.push_back(std::make_unique<CChildProgram>(
            std::string(SUITE_OUTPUT_DIR) + "/SingleInstanceProbe", args,
            std::vector<std::string>{"DISPLAY=" + display, "XDG_RUNTIME_DIR=" + m_folder.GetPath(),
                                     "PELIVO_DISPLAY=x11"}));
        return *m_probes.back();
    }

    static CXvfbServer* s_pServer;
    CTempFolder m_folder;
    std::unique_ptr<COutsideClient> m_pOutside;
    std::vector<std::unique_ptr<CChildProgram>> m_probes;
};

CXvfbServer* SingleInstanceTest::s_pServer = nullptr;

TEST_F(SingleInstanceTest, ASecondStartRaisesTheFirstWindowAndEnds)
{
    CChildProgram& first = Start({"first.dcm"});
    EXPECT_EQ(first.WaitForLine("opened"), "opened first.dcm");
    const Window main = WindowInLine(first.WaitForLine("first"));
    m_pOutside->CoverScreen();
    first.WriteLine("minimize");
    m_pOutside->Watch(main);
    ASSERT_NE(m_pOutside->GetTopWindow(), main);

    CChildProgram& second = Start({"second.dcm"});
    EXPECT_EQ(second.WaitForLine("second"), "second found");
    EXPECT_EQ(second.Wait(), 0);

    EXPECT_EQ(first.WaitForLine("active"), "active main");
    ASSERT_TRUE(m_pOutside->WaitForFocusIn(main));
    EXPECT_EQ(m_pOutside->GetFocus(), main);
    EXPECT_EQ(m_pOutside->GetTopWindow(), main);
    first.WriteLine("state");
    EXPECT_EQ(first.WaitForLine("state"), "state iconic=0");
    first.CloseInput();
    EXPECT_EQ(first.WaitForLine("opened"), "(nothing)") << "the second file is opened nowhere";
    EXPECT_EQ(first.Wait(), 0);
}

TEST_F(SingleInstanceTest, TheFirstInstancesLastActivePopupComesForward)
{
    CChildProgram& first = Start();
    first.WaitForLine("first");
    first.WriteLine("popup");
    const Window popup = WindowInLine(first.WaitForLine("popup"));
    EXPECT_EQ(first.WaitForLine("active"), "active popup");
    m_pOutside->CoverScreen();
    m_pOutside->Watch(popup);

    CChildProgram& second = Start();
    EXPECT_EQ(second.WaitForLine("second"), "second found");
    EXPECT_EQ(first.WaitForLine("active"), "active popup");
    ASSERT_TRUE(m_pOutside->WaitForFocusIn(popup));
    EXPECT_EQ(m_pOutside->GetTopWindow(), popup);
}

TEST_F(SingleInstanceTest, AnInstanceStillStartingIsNotFound)
{
    CChildProgram& first = Start({"--hold"});
    first.WaitForLine("started");
    CChildProgram& early = Start();
    EXPECT_EQ(early.WaitForLine("second"), "second none");
    EXPECT_EQ(early.Wait(), 0);
    first.WriteLine("mark");
    first.WaitForLine("first");
    CChildProgram& late = Start();
    EXPECT_EQ(late.WaitForLine("second"), "second found");
}

// The same user on a second display gets an instance of his own there; a
// second start on either display still hands over to that display's one.
TEST_F(SingleInstanceTest, EachDisplayRunsAnInstanceOfItsOwn)
{
    CXvfbServer other(640, 480);
    ASSERT_TRUE(other.IsRunning()) << other.GetError();
    CChildProgram& first = Start();
    EXPECT_EQ(first.WaitForLine("first").substr(0, 6), "first ");
    CChildProgram& elsewhere = Start({}, &other);
    EXPECT_EQ(elsewhere.WaitForLine("first").substr(0, 6), "first ")
        << "a start on another display ended as a second instance";
    CChildProgram& second = Start({}, &other);
    EXPECT_EQ(second.WaitForLine("second"), "second found");
    EXPECT_EQ(second.Wait(), 0);
    elsewhere.CloseInput();
    EXPECT_EQ(elsewhere.Wait(), 0);
}

TEST_F(SingleInstanceTest, AFirstInstanceThatCrashedNeverBlocksANewStart)
{
    CChildProgram& first = Start();
    first.WaitForLine("first");
    first.WriteLine("crash");
    EXPECT_EQ(first.Wait(), 128 + SIGKILL);
    CChildProgram& next = Start();
    EXPECT_EQ(next.WaitForLine("first").substr(0, 6), "first ");
    CChildProgram& another = Start();
    EXPECT_EQ(another.WaitForLine("second"), "second found");
}
} // namespace
