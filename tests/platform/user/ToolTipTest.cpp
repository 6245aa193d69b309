// The tip control: tools of a window's rectangles or of whole windows,
// their texts (own, string resource, asked by callback), and the relayed
// pointer that shows a tip after the delays, moves it on to a neighbour and
// hides it when the pointer leaves, a button is pressed or time runs out.
#include "UserTestSupport.h"

#include "ResourceRegistry.h"
#include "WinBars.h"
#include "WinModule.h"
#include "WinResource.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr UINT kAlpha = 1;
constexpr UINT kBeta = 2;
constexpr UINT kTipStringId = 2701;

class ToolTipTest : public UserTest
{
protected:
    ToolTipTest()
    {
        static const ResourceStringEntry kStrings[] = {{kTipStringId, "From the resources"}};
        static const bool bRegistered =
            (RegisterModuleResources(GetModuleHandleA(nullptr),
                                     ResourceTables{.strings = kStrings}),
             true);
        static_cast<void>(bRegistered);

        m_hOwner = CreateTopLevel(RECT{100, 100, 500, 300});
        m_hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hOwner, RECT{300, 100, 380, 180});
        m_hTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX,
                                 0, 0, 0, 0, m_hOwner, nullptr, nullptr, nullptr);
        const TestHandler relay = [this](HWND hWnd, UINT nMsg, WPARAM wParam,
                                         LPARAM lParam) -> std::optional<LRESULT>
        {
            if (nMsg >= WM_MOUSEFIRST && nMsg <= WM_MBUTTONDBLCLK)
            {
                MSG msg{hWnd, nMsg, wParam, lParam, 0, {}};
                SendMessageA(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
            }
            if (nMsg == WM_NOTIFY)
                return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
            return std::nullopt;
        };
        SetHandler(m_hOwner, relay);
        SetHandler(m_hChild, relay);
        // Two rectangles of the owner and the whole child, whose text is
        // asked of its parent.
        AddTool(m_hOwner, kAlpha, RECT{10, 10, 110, 60}, const_cast<LPSTR>("Alpha"), 0);
        AddTool(m_hOwner, kBeta, RECT{110, 10, 210, 60}, MAKEINTRESOURCE(kTipStringId), 0);
        AddTool(m_hOwner, reinterpret_cast<UINT_PTR>(m_hChild), RECT{}, LPSTR_TEXTCALLBACKA,
                TTF_IDISHWND);
        m_harness.PumpPending();
    }

    void AddTool(HWND hWnd, UINT_PTR uId, RECT rect, LPSTR lpszText, UINT uFlags)
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        info.uFlags = uFlags;
        info.hwnd = hWnd;
        info.uId = uId;
        info.rect = rect;
        info.hinst = GetModuleHandleA(nullptr);
        info.lpszText = lpszText;
        ASSERT_TRUE(SendMessageA(m_hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    }

    // The text of the first tool changed; the record naming that tool.
    TOOLINFOA NewAlphaText(LPCSTR lpszText)
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        info.hwnd = m_hOwner;
        info.uId = kAlpha;
        info.lpszText = const_cast<LPSTR>(lpszText);
        SendMessageA(m_hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }

    LRESULT OnNotify(NMHDR& hdr)
    {
        if (hdr.hwndFrom != m_hTip)
            return 0;
        m_notices.push_back(std::to_string(static_cast<int>(hdr.code - TTN_FIRST)) + " " +
                            (hdr.idFrom == reinterpret_cast<UINT_PTR>(m_hChild)
                                 ? std::string("child")
                                 : std::to_string(hdr.idFrom)));
        if (hdr.code == TTN_GETDISPINFOA)
        {
            auto& info = reinterpret_cast<NMTTDISPINFOA&>(hdr);
            std::snprintf(info.szText, sizeof(info.szText), "Asked %d", ++m_nAsked);
            info.uFlags |= m_nAnswerFlags;
        }
        return 0;
    }

    // The pointer to a point of the owner's client area (relayed there).
    void MoveTo(HWND hWnd, int x, int y)
    {
        m_harness.MouseMove(CUiHarness::ScreenPoint(hWnd, x, y));
        m_harness.PumpPending();
    }

    void Wait(DWORD dwMilliseconds)
    {
        m_harness.AdvanceClock(dwMilliseconds);
        m_harness.PumpPending();
    }

    // The tip's text while it shows, else empty.
    std::string Shown() const
    {
        if (!IsWindowVisible(m_hTip))
            return "";
        char szText[128] = {};
        GetWindowTextA(m_hTip, szText, sizeof(szText));
        return szText;
    }

    HWND m_hOwner = nullptr;
    HWND m_hChild = nullptr;
    HWND m_hTip = nullptr;
    std::vector<std::string> m_notices;
    int m_nAsked = 0;
    UINT m_nAnswerFlags = 0;
};

TEST_F(ToolTipTest, TipShowsAfterTheInitialDelayBelowThePointerAndStaysOnTheTool)
{
    MoveTo(m_hOwner, 20, 20);
    Wait(450);
    EXPECT_EQ(Shown(), "");
    MoveTo(m_hOwner, 40, 30);
    Wait(100);
    EXPECT_EQ(Shown(), "Alpha");
    RECT rcTip{};
    GetWindowRect(m_hTip, &rcTip);
    const POINT pt = CUiHarness::ScreenPoint(m_hOwner, 40, 30);
    EXPECT_EQ(rcTip.left, pt.x);
    EXPECT_GT(rcTip.top, pt.y);
    EXPECT_EQ(m_notices, (std::vector<std::string>{"-1 1"}));
}

struct PathCase
{
    const char* pszName;
    // After the tip of Alpha shows: where the pointer goes (owner
    // coordinates), whether a button is pressed there, then how long the
    // test waits.
    POINT pt;
    bool bPress;
    DWORD dwWait;
    const char* pszShown;
};

class ToolTipPathTest : public ToolTipTest, public testing::WithParamInterface<PathCase>
{
};

TEST_P(ToolTipPathTest, TipFollowsThePointer)
{
    const PathCase& testCase = GetParam();
    MoveTo(m_hOwner, 20, 20);
    Wait(500);
    ASSERT_EQ(Shown(), "Alpha");
    MoveTo(m_hOwner, testCase.pt.x, testCase.pt.y);
    if (testCase.bPress)
    {
        m_harness.Click(enMouseButton::Left,
                        CUiHarness::ScreenPoint(m_hOwner, testCase.pt.x, testCase.pt.y));
        m_harness.PumpPending();
    }
    Wait(testCase.dwWait);
    EXPECT_EQ(Shown(), testCase.pszShown);
}

INSTANTIATE_TEST_SUITE_P(Paths, ToolTipPathTest,
                         testing::Values(
                             // The neighbour's tip follows after the short reshow delay.
                             PathCase{"Neighbour", {150, 20}, false, 100, "From the resources"},
                             PathCase{"NeighbourTooSoon", {150, 20}, false, 50, ""},
                             // A whole-window tool asks its text of the window's parent.
                             PathCase{"ChildWindow", {340, 140}, false, 100, "Asked 1"},
                             PathCase{"SameToolLater", {60, 40}, false, 1000, "Alpha"},
                             PathCase{"Pressed", {30, 20}, true, 1000, ""},
                             PathCase{"AwayFromTools", {250, 150}, false, 1000, ""},
                             PathCase{"OutlivedTheAutomaticPop", {30, 20}, false, 5000, ""}),
                         [](const testing::TestParamInfo<PathCase>& info)
                         { return std::string(info.param.pszName); });

TEST_F(ToolTipTest, PointerLeavingWithoutARelayedMoveHidesTheTipAtTheNextLook)
{
    MoveTo(m_hOwner, 20, 20);
    Wait(500);
    ASSERT_EQ(Shown(), "Alpha");
    m_notices.clear();
    // Off the owner: nothing is relayed, the tip looks for itself.
    m_harness.MouseMove(POINT{20, 20});
    Wait(100);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(m_notices, (std::vector<std::string>{"-2 1"}));
    EXPECT_FALSE(SendMessageA(m_hTip, TTM_GETCURRENTTOOLA, 0, 0));
}

TEST_F(ToolTipTest, InactiveControlShowsNothingUntilActivatedAgain)
{
    SendMessageA(m_hTip, TTM_ACTIVATE, FALSE, 0);
    MoveTo(m_hOwner, 20, 20);
    Wait(1000);
    EXPECT_EQ(Shown(), "");
    SendMessageA(m_hTip, TTM_ACTIVATE, TRUE, 0);
    MoveTo(m_hOwner, 30, 20);
    Wait(500);
    EXPECT_EQ(Shown(), "Alpha");
}

TEST_F(ToolTipTest, DelaysFollowTheAutomaticOneUnlessSetEachAndReturnToTheirDefaults)
{
    const auto delays = [this]
    {
        std::vector<LRESULT> values;
        for (WPARAM nWhich : {TTDT_INITIAL, TTDT_RESHOW, TTDT_AUTOPOP})
            values.push_back(SendMessageA(m_hTip, TTM_GETDELAYTIME, nWhich, 0));
        return values;
    };
    EXPECT_EQ(delays(), (std::vector<LRESULT>{500, 100, 5000}));
    SendMessageA(m_hTip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 200);
    EXPECT_EQ(delays(), (std::vector<LRESULT>{200, 40, 2000}));
    SendMessageA(m_hTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 700);
    EXPECT_EQ(delays(), (std::vector<LRESULT>{200, 40, 700}));
    SendMessageA(m_hTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(static_cast<WORD>(-1), 0));
    EXPECT_EQ(delays(), (std::vector<LRESULT>{200, 40, 5000}));

    MoveTo(m_hOwner, 20, 20);
    Wait(200);
    EXPECT_EQ(Shown(), "Alpha");
}

TEST_F(ToolTipTest, ToolsAreFoundCountedChangedAndDeleted)
{
    EXPECT_EQ(SendMessageA(m_hTip, TTM_GETTOOLCOUNT, 0, 0), 3);
    TTHITTESTINFOA hit{};
    hit.hwnd = m_hOwner;
    hit.pt = POINT{150, 30};
    ASSERT_TRUE(SendMessageA(m_hTip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(hit.ti.uId, kBeta);
    hit.pt = POINT{250, 30};
    EXPECT_FALSE(SendMessageA(m_hTip, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit)));

    char szText[80] = {};
    TOOLINFOA info = NewAlphaText("Alpha again");
    info.rect = RECT{0, 100, 50, 150};
    SendMessageA(m_hTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
    info.lpszText = szText;
    SendMessageA(m_hTip, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(szText, "Alpha again");
    info.rect = RECT{};
    ASSERT_TRUE(SendMessageA(m_hTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect.top, 100);

    // The moved tool shows where it went, with its new text.
    MoveTo(m_hOwner, 20, 120);
    Wait(500);
    EXPECT_EQ(Shown(), "Alpha again");
    ASSERT_TRUE(SendMessageA(m_hTip, TTM_GETCURRENTTOOLA, 0, 0));

    // Deleting the tool that shows hides its tip.
    SendMessageA(m_hTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(SendMessageA(m_hTip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_FALSE(SendMessageA(m_hTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    info.lpszText = nullptr;
    ASSERT_TRUE(SendMessageA(m_hTip, TTM_ENUMTOOLSA, 1, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.uFlags & TTF_IDISHWND, UINT(TTF_IDISHWND));
    EXPECT_FALSE(SendMessageA(m_hTip, TTM_ENUMTOOLSA, 2, reinterpret_cast<LPARAM>(&info)));
}

TEST_F(ToolTipTest, CallbackTextIsAskedEachTimeUnlessTheAnswerAsksToKeepIt)
{
    const auto showChildTip = [this]
    {
        MoveTo(m_hChild, 10, 10);
        Wait(500);
        const std::string shown = Shown();
        MoveTo(m_hOwner, 250, 150);
        return shown;
    };
    EXPECT_EQ(showChildTip(), "Asked 1");
    EXPECT_EQ(showChildTip(), "Asked 2");
    m_nAnswerFlags = TTF_DI_SETITEM;
    EXPECT_EQ(showChildTip(), "Asked 3");
    EXPECT_EQ(showChildTip(), "Asked 3");
    EXPECT_EQ(m_nAsked, 3);
}

TEST_F(ToolTipTest, MaximumWidthWrapsTheTipIntoLines)
{
    NewAlphaText("a tip long enough to need more than one line of text");
    const auto tipSize = [this]
    {
        MoveTo(m_hOwner, 20, 20);
        Wait(500);
        RECT rc{};
        GetWindowRect(m_hTip, &rc);
        if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
            SaveWindowPicture(m_hTip, (testing::TempDir() + "tool-tip-" +
                                       std::to_string(rc.right - rc.left) + ".bmp")
                                          .c_str());
        SendMessageA(m_hTip, TTM_POP, 0, 0);
        MoveTo(m_hOwner, 250, 150);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    };
    const SIZE oneLine = tipSize();
    EXPECT_EQ(SendMessageA(m_hTip, TTM_SETMAXTIPWIDTH, 0, 120), -1);
    EXPECT_EQ(SendMessageA(m_hTip, TTM_GETMAXTIPWIDTH, 0, 0), 120);
    const SIZE wrapped = tipSize();
    EXPECT_GT(oneLine.cx, 120);
    EXPECT_LE(wrapped.cx, 120 + 10);
    EXPECT_GE(wrapped.cy, 2 * (oneLine.cy - 10));
}
} // namespace
