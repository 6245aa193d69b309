#include "InstanceChecker.h"

#include "../platform/FailOnBlockHarness.h"
#include "../platform/base/ChildProgram.h"
#include "AfxModuleState.h"
#include "AfxWinApp.h"
#include "OutsideClient.h"
#include "WinUser.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

namespace
{
// Each test runs as an application of its own name: a first instance keeps
// its block for the rest of the process, so names are never used twice.
class InstanceChecker : public testing::Test
{
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        m_name = "ZentiqTest-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        m_app = std::make_unique<CWinApp>(m_name.c_str());
    }
    void TearDown() override
    {
        m_app.reset();
        m_pModuleState->m_lpszCurrentAppName = m_pSavedName;
    }

    HWND CreateMainWindow(int nCmdShow)
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "InstanceCheckerTestMain";
        RegisterClassA(&wc);
        const HWND hWnd = CreateWindowExA(0, wc.lpszClassName, "main", WS_OVERLAPPEDWINDOW, 10, 10,
                                          300, 200, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(hWnd, nCmdShow);
        m_app->m_pMainWnd = CWnd::FromHandle(hWnd);
        return hWnd;
    }

    // What the probe found: its first line that is no activation.
    std::string StartProbe(const std::string& name, bool bWindow)
    {
        m_probe = StartProbeOn(std::vector<std::string>{name, bWindow ? "window" : "none"},
                               {"PELIVO_DISPLAY=headless"});
        std::optional<std::string> line;
        do
            line = m_probe->ReadLine();
        while (line && line->rfind("active", 0) == 0);
        return line.value_or("(nothing)");
    }

    static std::unique_ptr<CChildProgram> StartProbeOn(const std::vector<std::string>& args,
                                                       const std::vector<std::string>& environment)
    {
        return std::make_unique<CChildProgram>(
            std::string(SUITE_OUTPUT_DIR) + "/InstanceCheckerProbe", args, environment);
    }

    CFailOnBlockHarness m_harness;
    AFX_MODULE_STATE* m_pModuleState = AfxGetModuleState();
    LPCSTR m_pSavedName = m_pModuleState->m_lpszCurrentAppName;
    std::string m_name;
    std::unique_ptr<CWinApp> m_app;
    std::unique_ptr<CChildProgram> m_probe;
};

TEST_F(InstanceChecker, TheFirstInstanceIsFoundByItsApplicationNameOnly)
{
    CInstanceChecker first;
    EXPECT_FALSE(first.PreviousInstanceRunning());
    CInstanceChecker second;
    EXPECT_TRUE(second.PreviousInstanceRunning());

    const std::string original = m_name;
    for (const std::string& other : {original + "x", "zentiqtest" + original.substr(10)})
    {
        m_pModuleState->m_lpszCurrentAppName = other.c_str();
        CInstanceChecker checker;
        EXPECT_FALSE(checker.PreviousInstanceRunning()) << other;
    }
}

TEST_F(InstanceChecker, ActivationRestoresTheMinimisedMainWindowAndBringsItForward)
{
    const HWND hMain = CreateMainWindow(SW_SHOWMINIMIZED);
    CInstanceChecker first;
    ASSERT_FALSE(first.PreviousInstanceRunning());
    const HWND hOther = CreateMainWindow(SW_SHOW);
    SetActiveWindow(hOther);
    ASSERT_TRUE(IsIconic(hMain));

    CInstanceChecker second;
    ASSERT_TRUE(second.PreviousInstanceRunning());
    second.ActivatePreviousInstance();
    EXPECT_FALSE(IsIconic(hMain));
    EXPECT_EQ(GetActiveWindow(), hMain);
}

TEST_F(InstanceChecker, AnInstanceWithoutAMainWindowBringsNothingForward)
{
    CInstanceChecker first;
    ASSERT_FALSE(first.PreviousInstanceRunning());
    const HWND hOther = CreateMainWindow(SW_SHOW);
    SetActiveWindow(hOther);

    CInstanceChecker second;
    ASSERT_TRUE(second.PreviousInstanceRunning());
    second.ActivatePreviousInstance();
    EXPECT_EQ(GetActiveWindow(), hOther);
    second.ActivatePreviousInstance(); // the block was let go: nothing more happens
    EXPECT_EQ(GetActiveWindow(), hOther);
}

TEST_F(InstanceChecker, AnotherProcessFindsTheFirstInstanceWhileItRuns)
{
    CInstanceChecker first;
    ASSERT_FALSE(first.PreviousInstanceRunning());
    EXPECT_EQ(StartProbe(m_name, false), "previous");
    EXPECT_EQ(m_probe->Wait(), 0);
}

TEST_F(InstanceChecker, AFirstInstanceInAnotherProcessIsSeenUntilItEnds)
{
    const std::string started = StartProbe(m_name, true);
    ASSERT_EQ(started.rfind("first ", 0), 0U) << started;
    EXPECT_NE(started, "first 0");
    {
        CInstanceChecker second;
        EXPECT_TRUE(second.PreviousInstanceRunning());
    }
    m_probe->CloseInput();
    EXPECT_EQ(m_probe->Wait(), 0);
    CInstanceChecker afterwards;
    EXPECT_FALSE(afterwards.PreviousInstanceRunning());
}

TEST_F(InstanceChecker, AFirstInstanceThatCrashedNeverBlocksANewStart)
{
    ASSERT_EQ(StartProbe(m_name, false), "first 0");
    m_probe->WriteLine("crash");
    EXPECT_EQ(m_probe->Wait(), 128 + SIGKILL);

    CInstanceChecker checker;
    EXPECT_FALSE(checker.PreviousInstanceRunning()) << "this process is the first one now";
    EXPECT_EQ(StartProbe(m_name, false), "previous");
}
TEST_F(InstanceChecker, OnADisplayASecondProcessBringsTheFirstInstanceForward)
{
    CXvfbServer server(640, 480);
    ASSERT_TRUE(server.IsRunning()) << server.GetError();
    COutsideClient outside(server.GetDisplayName());
    const std::vector<std::string> display = {"DISPLAY=" + server.GetDisplayName(),
                                              "PELIVO_DISPLAY=x11"};
    const std::unique_ptr<CChildProgram> first = StartProbeOn({m_name, "window"}, display);
    const Window main = WindowInLine(first->WaitForLine("first"));
    ASSERT_NE(main, 0U);
    outside.CoverScreen();
    first->WriteLine("minimize");
    outside.Watch(main);

    const std::unique_ptr<CChildProgram> second = StartProbeOn({m_name, "activate"}, display);
    EXPECT_EQ(second->WaitForLine("previous"), "previous");
    EXPECT_EQ(second->Wait(), 0);
    EXPECT_EQ(first->WaitForLine("active"), "active main");
    ASSERT_TRUE(outside.WaitForFocusIn(main));
    EXPECT_EQ(outside.GetTopWindow(), main);
    first->CloseInput();
    EXPECT_EQ(first->Wait(), 0);
}
} // namespace
