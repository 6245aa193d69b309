// Window hooks: chained newest first over an MFC window, unhooked in any
// order, all gone before the window's own procedure sees WM_NCDESTROY, and
// a hook destroyed while hooked unhooks itself.
#include "SubclassWnd.h"
#include "ControlTestSupport.h"

#include <string>
#include <vector>

namespace
{
constexpr UINT WM_PROBE = WM_USER + 1;
constexpr UINT WM_ASK_DEFAULT = WM_USER + 2;

std::vector<std::string> g_log;

class CLoggingHook : public CSubclassWnd
{
public:
    explicit CLoggingHook(std::string name) : m_name(std::move(name)) {}

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_PROBE || msg == WM_DESTROY || msg == WM_NCDESTROY)
            g_log.push_back(m_name + " " + std::to_string(msg));
        // Answers through Default, which must pass on the message being
        // handled, not the one a nested send left behind.
        if (msg == WM_ASK_DEFAULT)
        {
            m_pWndHooked->SendMessage(WM_NULL);
            return Default() + 1;
        }
        return CSubclassWnd::WindowProc(msg, wp, lp);
    }

private:
    std::string m_name;
};

class CHookedWindow : public CTestParent
{
public:
    bool bHookedAtNcDestroy = true;
    CLoggingHook* pWatched[2] = {nullptr, nullptr};

protected:
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        g_log.push_back("window");
        return 42;
    }
    afx_msg LRESULT OnAskDefault(WPARAM wp, LPARAM) { return LRESULT(wp) * 10; }
    afx_msg void OnNcDestroy()
    {
        bHookedAtNcDestroy = false;
        for (CLoggingHook* pHook : pWatched)
            bHookedAtNcDestroy = bHookedAtNcDestroy || (pHook != nullptr && pHook->IsHooked());
        g_log.push_back("window ncdestroy");
        CTestParent::OnNcDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHookedWindow, CTestParent)
ON_MESSAGE(WM_PROBE, OnProbe)
ON_MESSAGE(WM_ASK_DEFAULT, OnAskDefault)
ON_WM_NCDESTROY()
END_MESSAGE_MAP()

class SubclassWndTest : public testing::Test
{
protected:
    SubclassWndTest() { g_log.clear(); }

    LONG_PTR Procedure() const { return ::GetWindowLongPtrA(m_window.m_hWnd, GWL_WNDPROC); }

    CFailOnBlockHarness m_harness;
    CHookedWindow m_window;
};

TEST_F(SubclassWndTest, NewestHookSeesEveryMessageFirst)
{
    const LONG_PTR original = Procedure();
    CLoggingHook older("older");
    CLoggingHook newer("newer");
    EXPECT_TRUE(older.HookWindow(&m_window));
    EXPECT_TRUE(newer.HookWindow(&m_window));
    EXPECT_NE(Procedure(), original);
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    const std::vector<std::string> expected = {"newer 1025", "older 1025", "window"};
    EXPECT_EQ(g_log, expected);

    g_log.clear();
    older.HookWindow(nullptr);
    EXPECT_FALSE(older.IsHooked());
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, (std::vector<std::string>{"newer 1025", "window"}));

    newer.HookWindow(nullptr);
    EXPECT_EQ(Procedure(), original) << "the window's own procedure is back";
    g_log.clear();
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, std::vector<std::string>{"window"});
}

TEST_F(SubclassWndTest, UnhookingTheNewestKeepsTheOlderAndDefaultPassesTheCurrentMessage)
{
    CLoggingHook older("older");
    CLoggingHook newer("newer");
    older.HookWindow(&m_window);
    newer.HookWindow(&m_window);
    // Each hook adds one to what passes on from below it.
    EXPECT_EQ(m_window.SendMessage(WM_ASK_DEFAULT, 4), 42);
    newer.HookWindow(nullptr);
    EXPECT_EQ(m_window.SendMessage(WM_ASK_DEFAULT, 4), 41);
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, (std::vector<std::string>{"older 1025", "window"}));
}

TEST_F(SubclassWndTest, DestroyingTheWindowUnhooksEveryHookBeforeItsProcedureSeesTheEnd)
{
    CLoggingHook older("older");
    CLoggingHook newer("newer");
    older.HookWindow(&m_window);
    newer.HookWindow(&m_window);
    m_window.pWatched[0] = &older;
    m_window.pWatched[1] = &newer;
    m_window.DestroyWindow();
    EXPECT_FALSE(older.IsHooked());
    EXPECT_FALSE(newer.IsHooked());
    EXPECT_FALSE(m_window.bHookedAtNcDestroy);
    const std::vector<std::string> expected = {"newer 2", "older 2", "window ncdestroy"};
    EXPECT_EQ(g_log, expected) << "the hooks never see WM_NCDESTROY";
}

TEST_F(SubclassWndTest, HookDestroyedWhileHookedUnhooksItself)
{
    const LONG_PTR original = Procedure();
    CLoggingHook older("older");
    older.HookWindow(&m_window);
    {
        CLoggingHook passing("passing");
        passing.HookWindow(&m_window);
    }
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, (std::vector<std::string>{"older 1025", "window"}));
    {
        CLoggingHook middle("middle");
        middle.HookWindow(&m_window);
        CLoggingHook newest("newest");
        newest.HookWindow(&m_window);
        // middle goes first from the middle of the chain, then newest.
    }
    g_log.clear();
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, (std::vector<std::string>{"older 1025", "window"}));
    older.HookWindow(nullptr);
    EXPECT_EQ(Procedure(), original);
}

TEST_F(SubclassWndTest, RehookingMovesTheHookToTheNewWindow)
{
    CHookedWindow other;
    CLoggingHook hook("hook");
    hook.HookWindow(&m_window);
    hook.HookWindow(&other);
    EXPECT_EQ(m_window.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(other.SendMessage(WM_PROBE), 42);
    EXPECT_EQ(g_log, (std::vector<std::string>{"window", "hook 1025", "window"}));
}
} // namespace
