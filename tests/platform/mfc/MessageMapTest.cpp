// Message maps: handler signatures, commands and their updates,
// notifications and their reflection to the control that sent them.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
#define WM_APP_PING (WM_APP + 1)
#define ID_TOOL_FIRST 32800
#define ID_TOOL_LAST 32809
#define ID_CONTROL 1001
#define NM_TESTCLICK (0U - 2U)

const UINT kRegisteredPing = RegisterWindowMessageA("MessageMapTest.Ping");

class CRecordingWnd : public CWnd
{
public:
    std::vector<std::string> calls;
    CPoint lastPoint;
    short lastDelta = 0;
    UINT lastFlags = 0;
    int lastCx = 0;
    int lastCy = 0;
    UINT nHit = HTCLIENT;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        calls.push_back("size");
        lastCx = cx;
        lastCy = cy;
        CWnd::OnSize(nType, cx, cy);
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        calls.push_back("wheel");
        lastFlags = nFlags;
        lastDelta = zDelta;
        lastPoint = pt;
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT, UINT nFlags)
    {
        calls.push_back("key " + std::to_string(nChar));
        lastFlags = nFlags;
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        calls.push_back("down");
        lastFlags = nFlags;
        lastPoint = point;
    }
    afx_msg UINT OnNcHitTest(CPoint) { return nHit; }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        calls.push_back("timer " + std::to_string(nIDEvent));
    }
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM lParam) { return LRESULT(wParam + lParam); }
    afx_msg LRESULT OnRegisteredPing(WPARAM, LPARAM) { return 77; }
    afx_msg void OnToolOpen() { calls.push_back("open"); }
    afx_msg void OnToolRange(UINT nID) { calls.push_back("tool " + std::to_string(nID)); }
    afx_msg void OnUpdateToolOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    afx_msg void OnControlNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        calls.push_back("parent notify " + std::to_string(pNMHDR->idFrom));
        *pResult = 5;
    }
    afx_msg void OnControlClicked() { calls.push_back("parent clicked"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
ON_WM_SIZE()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_NCHITTEST()
ON_WM_TIMER()
ON_MESSAGE(WM_APP_PING, OnPing)
ON_REGISTERED_MESSAGE(kRegisteredPing, OnRegisteredPing)
ON_COMMAND(ID_TOOL_FIRST, OnToolOpen)
ON_COMMAND_RANGE(ID_TOOL_FIRST + 1, ID_TOOL_LAST, OnToolRange)
ON_UPDATE_COMMAND_UI(ID_TOOL_FIRST, OnUpdateToolOpen)
ON_NOTIFY(NM_TESTCLICK, ID_CONTROL, OnControlNotify)
ON_BN_CLICKED(ID_CONTROL, OnControlClicked)
END_MESSAGE_MAP()

// A control that takes some of its own notifications back.
class CReflectingControl : public CWnd
{
public:
    bool bTakeNotify = true;
    std::vector<std::string> calls;

protected:
    afx_msg void OnReflectedClick(NMHDR*, LRESULT* pResult)
    {
        calls.push_back("reflected notify");
        *pResult = 9;
    }
    afx_msg BOOL OnReflectedCommand()
    {
        calls.push_back("reflected command");
        return bTakeNotify;
    }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        calls.push_back("colour " + std::to_string(nCtlColor));
        pDC->SetTextColor(RGB(1, 2, 3));
        return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingControl, CWnd)
ON_NOTIFY_REFLECT(NM_TESTCLICK, OnReflectedClick)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnReflectedCommand)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class MessageMapTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "map", WS_POPUP | WS_VISIBLE,
                                   CRect(100, 100, 400, 300), nullptr, 0));
    }
    void TearDown() override { m_wnd.DestroyWindow(); }

    CFailOnBlockHarness m_harness;
    CRecordingWnd m_wnd;
};

TEST_F(MessageMapTest, HandlersGetTheMessageTakenApartForTheirSignature)
{
    m_wnd.calls.clear();
    m_wnd.MoveWindow(100, 100, 250, 150);
    EXPECT_EQ(m_wnd.lastCx, 250);
    EXPECT_EQ(m_wnd.lastCy, 150);
    m_wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -240), MAKELPARAM(-5, 700));
    EXPECT_EQ(m_wnd.lastDelta, -240);
    EXPECT_EQ(m_wnd.lastFlags, UINT(MK_CONTROL));
    EXPECT_EQ(m_wnd.lastPoint, CPoint(-5, 700));
    m_wnd.SendMessage(WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_EQ(m_wnd.lastFlags, 0x000Fu);
    m_wnd.nHit = UINT(HTTRANSPARENT);
    EXPECT_EQ(m_wnd.SendMessage(WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(m_wnd.SendMessage(WM_APP_PING, 40, 2), 42);
    EXPECT_EQ(m_wnd.SendMessage(kRegisteredPing, 0, 0), 77);
    m_wnd.SetTimer(1000, 400, nullptr);
    m_harness.AdvanceClock(400);
    m_harness.PumpPending();
    EXPECT_EQ(m_wnd.calls.back(), "timer 1000");
    m_wnd.KillTimer(1000);
}

TEST_F(MessageMapTest, ScriptedPressReachesTheHandlerInClientCoordinates)
{
    m_wnd.calls.clear();
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(m_wnd.m_hWnd, 30, 40));
    m_harness.PumpPending();
    ASSERT_EQ(m_wnd.calls.back(), "down");
    EXPECT_EQ(m_wnd.lastPoint, CPoint(30, 40));
    EXPECT_EQ(m_wnd.lastFlags & MK_LBUTTON, UINT(MK_LBUTTON));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(m_wnd.m_hWnd, 30, 40));
    m_harness.PumpPending();
}

TEST_F(MessageMapTest, CommandsReachSingleAndRangeHandlersAndUnknownOnesFallThrough)
{
    m_wnd.calls.clear();
    EXPECT_EQ(m_wnd.SendMessage(WM_COMMAND, ID_TOOL_FIRST, 0), 1);
    m_wnd.SendMessage(WM_COMMAND, ID_TOOL_FIRST + 3, 0);
    EXPECT_EQ(m_wnd.SendMessage(WM_COMMAND, ID_TOOL_LAST + 1, 0), 0);
    EXPECT_EQ(m_wnd.calls, (std::vector<std::string>{"open", "tool 32803"}));
}

TEST_F(MessageMapTest, CommandUpdatesDisableItemsWithoutHandlers)
{
    struct CRecordingCmdUI : CCmdUI
    {
        int nEnabled = -1;
        void Enable(BOOL bOn) override
        {
            nEnabled = bOn;
            m_bEnableChanged = TRUE;
        }
    };
    for (const auto& [nID, nExpected] :
         {std::pair{ID_TOOL_FIRST, 1}, std::pair{ID_TOOL_FIRST + 2, -1}, std::pair{40000, 0}})
    {
        CRecordingCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(&m_wnd, TRUE);
        EXPECT_EQ(state.nEnabled, nExpected) << nID;
    }
}

class ReflectionTest : public MessageMapTest
{
protected:
    void SetUp() override
    {
        MessageMapTest::SetUp();
        ASSERT_TRUE(m_control.Create(nullptr, "control", WS_VISIBLE, CRect(0, 0, 50, 20), &m_wnd,
                                     ID_CONTROL));
        m_wnd.calls.clear();
    }
    void TearDown() override
    {
        m_control.DestroyWindow();
        MessageMapTest::TearDown();
    }

    LRESULT SendNotify()
    {
        NMHDR header{m_control.m_hWnd, ID_CONTROL, NM_TESTCLICK};
        return m_wnd.SendMessage(WM_NOTIFY, ID_CONTROL, reinterpret_cast<LPARAM>(&header));
    }

    CReflectingControl m_control;
};

TEST_F(ReflectionTest, ReflectedNotificationIsHiddenFromTheParent)
{
    EXPECT_EQ(SendNotify(), 9);
    EXPECT_EQ(m_control.calls, (std::vector<std::string>{"reflected notify"}));
    EXPECT_TRUE(m_wnd.calls.empty());
}

TEST_F(ReflectionTest, DeclinedReflectionLetsTheParentHandleTheCommand)
{
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CONTROL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(m_control.m_hWnd));
    EXPECT_TRUE(m_wnd.calls.empty());
    m_control.bTakeNotify = false;
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_CONTROL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(m_control.m_hWnd));
    EXPECT_EQ(m_wnd.calls, (std::vector<std::string>{"parent clicked"}));
}

TEST_F(ReflectionTest, ControlColourComesFromTheControlsReflectedHandler)
{
    CClientDC dc(&m_control);
    const LRESULT brush = m_wnd.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                            reinterpret_cast<LPARAM>(m_control.m_hWnd));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(dc.GetTextColor(), RGB(1, 2, 3));
    EXPECT_EQ(m_control.calls, (std::vector<std::string>{"colour 6"}));
}

TEST_F(ReflectionTest, NotificationWithoutReflectionReachesTheParentMap)
{
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, "", WS_VISIBLE, CRect(0, 30, 10, 40), &m_wnd, 7));
    NMHDR header{plain.m_hWnd, ID_CONTROL, NM_TESTCLICK};
    EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, ID_CONTROL, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_EQ(m_wnd.calls, (std::vector<std::string>{"parent notify 1001"}));
    plain.DestroyWindow();
}
} // namespace
