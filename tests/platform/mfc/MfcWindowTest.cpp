// CWnd: the handle map, creation through PreCreateWindow, self-deleting
// windows, the current-message record, subclassing over MFC windows and
// the window, client and paint DCs.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{
class MfcWindowTest : public testing::Test
{
protected:
    CFailOnBlockHarness m_harness;
};

// Adds scroll bars both ways: through PreCreateWindow (which counts) and
// through the CREATESTRUCT of WM_CREATE (which does not).
class CPaneWnd : public CWnd
{
public:
    bool bScrollInPreCreate = false;
    std::vector<UINT> nested;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        if (bScrollInPreCreate)
            cs.style |= WS_VSCROLL;
        return CWnd::PreCreateWindow(cs);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        lpCreateStruct->style |= WS_HSCROLL | WS_VSCROLL;
        return CWnd::OnCreate(lpCreateStruct);
    }
    afx_msg LRESULT OnOuter(WPARAM, LPARAM)
    {
        nested.push_back(GetCurrentMessage()->message);
        SendMessage(WM_APP + 2, 0, 0);
        nested.push_back(GetCurrentMessage()->message);
        // Default still passes the outer message on.
        return Default();
    }
    afx_msg LRESULT OnInner(WPARAM, LPARAM)
    {
        nested.push_back(GetCurrentMessage()->message);
        return 0;
    }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaneWnd, CWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_APP + 1, OnOuter)
ON_MESSAGE(WM_APP + 2, OnInner)
ON_MESSAGE(WM_APP + 3, OnThrow)
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, OnlyPreCreateWindowChangesTheCreatedStyle)
{
    CPaneWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    EXPECT_EQ(pane.GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
    CRect client;
    pane.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200);
    CPaneWnd scrolled;
    scrolled.bScrollInPreCreate = true;
    ASSERT_TRUE(scrolled.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    EXPECT_EQ(scrolled.GetStyle() & (WS_HSCROLL | WS_VSCROLL), DWORD(WS_VSCROLL));
}

TEST_F(MfcWindowTest, HandleMapGivesThePermanentObjectOrATemporaryWrapper)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandle(wnd.m_hWnd), &wnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    const HWND hPlain = CreateWindowExA(0, "Afx:plain", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                        nullptr, nullptr);
    EXPECT_EQ(hPlain, nullptr) << "no such class";
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "PlainWindow";
    RegisterClassA(&wc);
    const HWND hOther = CreateWindowExA(0, "PlainWindow", "", WS_POPUP, 0, 0, 5, 5, nullptr,
                                        nullptr, nullptr, nullptr);
    CWnd* pTemporary = CWnd::FromHandle(hOther);
    ASSERT_NE(pTemporary, nullptr);
    EXPECT_EQ(pTemporary->m_hWnd, hOther);
    EXPECT_EQ(CWnd::FromHandle(hOther), pTemporary);
    EXPECT_EQ(CWnd::FromHandlePermanent(hOther), nullptr);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hOther)) << "a temporary wrapper does not own its window";
    DestroyWindow(hOther);
}

TEST_F(MfcWindowTest, WindowsMayDeleteThemselvesInPostNcDestroy)
{
    static int sDeleted = 0;
    struct CSelfDeleting : CWnd
    {
        ~CSelfDeleting() override { ++sDeleted; }
        void PostNcDestroy() override { delete this; }
    };
    sDeleted = 0;
    auto* pWnd = new CSelfDeleting;
    ASSERT_TRUE(pWnd->CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    const HWND hWnd = pWnd->m_hWnd;
    DestroyWindow(hWnd);
    EXPECT_EQ(sDeleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(MfcWindowTest, CurrentMessageIsSavedAndRestoredAroundNestedSends)
{
    CPaneWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    pane.SendMessage(WM_APP + 1, 0, 0);
    EXPECT_EQ(pane.nested, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 1}));
}

TEST_F(MfcWindowTest, ExceptionsNeverLeaveTheWindowProcedure)
{
    CPaneWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    EXPECT_EQ(pane.SendMessage(WM_APP + 3, 0, 0), 0);
    EXPECT_TRUE(IsWindow(pane.m_hWnd));
}

// A hook over an MFC window, as CSubclassWnd makes them: newest first, each
// passing on to the procedure it replaced.
struct HookChain
{
    static inline std::vector<std::string> calls;
    static inline WNDPROC first = nullptr;
    static inline WNDPROC second = nullptr;

    static LRESULT First(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_SETTEXT)
            calls.push_back("first");
        return CallWindowProcA(first, hWnd, nMsg, wParam, lParam);
    }
    static LRESULT Second(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_SETTEXT)
            calls.push_back("second");
        return CallWindowProcA(second, hWnd, nMsg, wParam, lParam);
    }
};

class CTitledWnd : public CWnd
{
public:
    std::vector<std::string>* pCalls = nullptr;

protected:
    afx_msg LRESULT OnSetText(WPARAM, LPARAM)
    {
        pCalls->push_back("map");
        return Default();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTitledWnd, CWnd)
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, SubclassingOverAnMfcWindowChainsNewestFirstIntoTheMessageMap)
{
    HookChain::calls.clear();
    CTitledWnd wnd;
    wnd.pCalls = &HookChain::calls;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    HookChain::first = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd.m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&HookChain::First)));
    EXPECT_EQ(HookChain::first, &AfxWndProc);
    HookChain::second = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd.m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&HookChain::Second)));
    wnd.SetWindowText("Splitter");
    EXPECT_EQ(HookChain::calls, (std::vector<std::string>{"second", "first", "map"}));
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(text, "Splitter");
    SetWindowLongPtrA(wnd.m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
}

TEST_F(MfcWindowTest, SubclassingAPlainWindowKeepsItsProcedureForDefault)
{
    static int sPlainCalls = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT
    {
        if (nMsg == WM_APP + 5)
            return ++sPlainCalls;
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    };
    wc.lpszClassName = "SubclassedPlain";
    RegisterClassA(&wc);
    const HWND hWnd = CreateWindowExA(0, "SubclassedPlain", "", WS_POPUP, 0, 0, 5, 5, nullptr,
                                      nullptr, nullptr, nullptr);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(wnd.SendMessage(WM_APP + 5), 1);
    EXPECT_EQ(wnd.UnsubclassWindow(), hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(SendMessageA(hWnd, WM_APP + 5, 0, 0), 2);
    DestroyWindow(hWnd);
}

TEST_F(MfcWindowTest, OwnerFallsBackToTheParentAndRelationsWrapHandles)
{
    CWnd top;
    ASSERT_TRUE(
        top.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 10, 10), &top, 12));
    EXPECT_EQ(child.GetParent(), &top);
    EXPECT_EQ(child.GetOwner(), &top);
    EXPECT_EQ(top.GetDlgItem(12), &child);
    EXPECT_EQ(top.GetDescendantWindow(12, TRUE), &child);
    EXPECT_EQ(child.GetTopLevelParent(), &top);
    EXPECT_EQ(child.GetParentFrame(), nullptr);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 5, 5), nullptr, 0));
    child.SetOwner(&owner);
    EXPECT_EQ(child.GetOwner(), &owner);
    EXPECT_TRUE(child.ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED));
    EXPECT_FALSE(child.ModifyStyle(0, WS_BORDER));
    CRect client;
    child.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 8);
}

class CPaintingWnd : public CWnd
{
public:
    COLORREF color = RGB(0, 128, 0);
    int nPaints = 0;

protected:
    afx_msg void OnPaint()
    {
        ++nPaints;
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, color);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(MfcWindowTest, PaintClientAndWindowDCsDrawIntoTheWindow)
{
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE | WS_BORDER,
                             CRect(10, 10, 110, 60), nullptr, 0));
    m_harness.PumpPending();
    EXPECT_EQ(wnd.nPaints, 1);
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(wnd.m_hWnd, false, picture));
    EXPECT_EQ(picture.GetPixel(50, 25), 0x008000u);
    {
        CClientDC dc(&wnd);
        EXPECT_EQ(WindowFromDC(dc.m_hDC), wnd.m_hWnd);
        dc.SetPixel(0, 0, RGB(255, 0, 0));
    }
    {
        CWindowDC dc(&wnd);
        dc.SetPixel(0, 0, RGB(0, 0, 255));
    }
    UserGetWindowPicture(wnd.m_hWnd, false, picture);
    EXPECT_EQ(picture.GetPixel(1, 1), 0xFF0000u);
    EXPECT_EQ(picture.GetPixel(0, 0), 0x0000FFu);
    wnd.color = RGB(255, 255, 0);
    wnd.Invalidate(FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.nPaints, 2);
    UserGetWindowPicture(wnd.m_hWnd, false, picture);
    EXPECT_EQ(picture.GetPixel(1, 1), 0xFFFF00u);
}

TEST_F(MfcWindowTest, RegisteredClassNamesAreStableAndCarryTheStyle)
{
    const HCURSOR hArrow = LoadCursorA(nullptr, IDC_ARROW);
    LPCSTR first = AfxRegisterWndClass(CS_DBLCLKS, hArrow);
    LPCSTR second = AfxRegisterWndClass(CS_DBLCLKS, hArrow);
    EXPECT_EQ(first, second);
    EXPECT_STRNE(first, AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW, hArrow));
    WNDCLASSA wc{};
    ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), first, &wc));
    EXPECT_EQ(wc.style, UINT(CS_DBLCLKS));
    EXPECT_EQ(wc.hCursor, hArrow);
}
} // namespace
