// The application object: Run with idle processing and the pre-translation
// walk, the wait cursor, and module states.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "HeadlessBackend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> gTrace;

class CTracingWnd : public CWnd
{
public:
    std::string name;
    bool bEatKeys = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN)
            return FALSE;
        gTrace.push_back("pretranslate " + name);
        return bEatKeys;
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { gTrace.push_back("keydown " + name); }
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        gTrace.push_back("idle update " + name);
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTracingWnd, CWnd)
ON_WM_KEYDOWN()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("TestApp") {}

    std::vector<LONG> idleCounts;

    BOOL OnIdle(LONG lCount) override
    {
        idleCounts.push_back(lCount);
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override { return 40 + CWinApp::ExitInstance(); }
};

class WinAppTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gTrace.clear();
        m_main.name = "main";
        m_pane.name = "pane";
        m_inner.name = "inner";
        ASSERT_TRUE(m_main.CreateEx(0, nullptr, "Main", WS_POPUP | WS_VISIBLE,
                                    CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_pane.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 100, 100), &m_main, 1));
        ASSERT_TRUE(m_inner.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 50, 50), &m_pane, 2));
        m_app.m_pMainWnd = &m_main;
    }

    CFailOnBlockHarness m_harness;
    CTestApp m_app;
    CTracingWnd m_main;
    CTracingWnd m_pane;
    CTracingWnd m_inner;
};

TEST_F(WinAppTest, RunWalksPreTranslateUpToTheMainWindowAndIdlesWhenTheQueueIsEmpty)
{
    EXPECT_EQ(AfxGetApp(), &m_app);
    EXPECT_EQ(AfxGetMainWnd(), &m_main);
    m_inner.SetFocus();
    m_harness.PumpPending();
    // Steps that queue nothing leave the queue empty: idle time runs.
    m_harness.Script().Wait(0).Wait(0).KeyPress('A').Do([&] { m_main.DestroyWindow(); });
    EXPECT_EQ(m_app.Run(), 40);
    const std::vector<std::string> expectedKeys{"pretranslate inner", "pretranslate pane",
                                                "pretranslate main", "keydown inner"};
    std::vector<std::string> keys;
    for (const std::string& entry : gTrace)
    {
        if (entry.find("idle") == std::string::npos)
            keys.push_back(entry);
    }
    EXPECT_EQ(keys, expectedKeys);
    ASSERT_GE(m_app.idleCounts.size(), 2u);
    EXPECT_EQ(m_app.idleCounts[0], 0);
    EXPECT_EQ(m_app.idleCounts[1], 1);
    const auto idleUpdates = std::count(gTrace.begin(), gTrace.end(), "idle update inner");
    EXPECT_GE(idleUpdates, 1);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr) << "destroying the main window quits";
}

TEST_F(WinAppTest, PreTranslateThatTakesTheMessageStopsItsDispatch)
{
    m_pane.bEatKeys = true;
    m_inner.SetFocus();
    m_harness.Script().KeyPress('B').PostQuit(0);
    m_app.Run();
    EXPECT_EQ(gTrace, (std::vector<std::string>{"pretranslate inner", "pretranslate pane"}));
}

TEST_F(WinAppTest, WaitCursorShowsUntilItsEndAndComesBackOnSetCursor)
{
    const HCURSOR hArrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR hWait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(hArrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(GetCursor(), hWait);
        SetCursor(hArrow);
        m_main.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_main.m_hWnd),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hWait);
        EXPECT_EQ(GetHeadlessBackend().GetShownCursor(), hWait);
    }
    EXPECT_EQ(GetCursor(), hArrow);
    EXPECT_EQ(m_app.m_nWaitCursorCount, 0);
}

TEST_F(WinAppTest, ManagedStateChoosesTheResourceModuleAndApplicationForAScope)
{
    const HINSTANCE hProgram = AfxGetResourceHandle();
    AFX_MODULE_STATE libraryState(reinterpret_cast<HINSTANCE>(0x7E570000));
    {
        AFX_MANAGE_STATE(&libraryState);
        EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x7E570000));
        EXPECT_EQ(AfxGetInstanceHandle(), reinterpret_cast<HINSTANCE>(0x7E570000));
        EXPECT_EQ(AfxGetApp(), nullptr);
        CWinApp libraryApp("LibraryApp");
        EXPECT_EQ(AfxGetApp(), &libraryApp);
        EXPECT_EQ(libraryApp.m_hInstance, reinterpret_cast<HINSTANCE>(0x7E570000));
    }
    EXPECT_EQ(AfxGetResourceHandle(), hProgram);
    EXPECT_EQ(AfxGetApp(), &m_app);
    AFX_MODULE_STATE* pStatic = AfxGetStaticModuleState();
    EXPECT_EQ(AfxGetStaticModuleState(), pStatic);
    EXPECT_EQ(pStatic->m_hCurrentInstanceHandle, AfxModuleOfAddress(&gTrace));
}
} // namespace
