// Docking in a frame: bars docked on each side, rows shared and stacked,
// the frame's own bars around the dock bars, bars hidden and shown, floated
// in mini frames and docked back, dragged by the mouse, and their idle
// updates and commands still going through the frame.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "ResourceRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace
{
constexpr UINT ID_BLOCK_A = 0xE820;
constexpr UINT ID_BLOCK_B = 0xE821;
constexpr UINT ID_BLOCK_C = 0xE822;
constexpr UINT ID_STRIP = 0xE823;
constexpr UINT ID_PRESS = 0x8101;
constexpr UINT ID_IDLE = 0x8110;
constexpr UINT kDialogBarId = 2702;

constexpr DialogItemTemplate kBarItems[] = {
    {"Button", "Press", static_cast<WORD>(ID_PRESS), WS_CHILD | WS_VISIBLE, 0, 4, 4, 40, 14},
    {"Button", "Idle", static_cast<WORD>(ID_IDLE), WS_CHILD | WS_VISIBLE, 0, 50, 4, 40, 14},
};
// A template written for a window of its own: the bar drops its frame.
constexpr DialogTemplate kBarTemplate{
    WS_POPUP | WS_CAPTION | DS_SETFONT, 0, 0, 0, 120, 22, "Bar", "MS Shell Dlg", 8, kBarItems};
const ResourceDialogEntry kBarDialogs[] = {{MAKEINTRESOURCE(kDialogBarId), &kBarTemplate}};
const ResourceRegistrar kRegistrar({.dialogs = kBarDialogs});

// A bar of one size lying along a horizontal side and another standing
// along a vertical one, painted in one colour.
class CBlockBar : public CControlBar
{
public:
    CBlockBar(CSize sizeHorz, CSize sizeVert, COLORREF color)
        : m_sizeHorz(sizeHorz), m_sizeVert(sizeVert), m_color(color)
    {
        m_bAutoDelete = TRUE;
        SetBorders(0, 0, 0, 0);
    }

    BOOL Create(CWnd* pParent, UINT nID, DWORD dwStyle)
    {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS), nullptr,
                            WS_CHILD | WS_VISIBLE | (dwStyle & ~CBRS_ALL), CRect(0, 0, 0, 0),
                            pParent, nID);
    }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        if (bStretch && (m_dwStyle & CBRS_SIZE_FIXED))
            return bHorz ? CSize(32767, m_sizeHorz.cy) : CSize(m_sizeVert.cx, 32767);
        return bHorz ? m_sizeHorz : m_sizeVert;
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++m_nUpdates; }

    int m_nUpdates = 0;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rect;
        GetClientRect(&rect);
        dc.FillSolidRect(&rect, m_color);
    }

    CSize m_sizeHorz;
    CSize m_sizeVert;
    COLORREF m_color;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBlockBar, CControlBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

class CDockTestFrame : public CFrameWnd
{
public:
    int m_nPressed = 0;

protected:
    afx_msg void OnPress() { ++m_nPressed; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDockTestFrame, CFrameWnd)
ON_COMMAND(ID_PRESS, OnPress)
END_MESSAGE_MAP()

class DockingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CDockTestFrame;
        ASSERT_TRUE(
            m_pFrame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW, CRect(100, 100, 740, 580)));
        m_pView = new CWnd;
        ASSERT_TRUE(m_pView->Create(
            AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), nullptr,
            WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), m_pFrame, AFX_IDW_PANE_FIRST));
        m_pFrame->ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
        delete m_pView;
    }

    CBlockBar* MakeBar(UINT nID, COLORREF color, DWORD dwDockStyle = CBRS_ALIGN_ANY)
    {
        auto* pBar = new CBlockBar(CSize(120, 24), CSize(30, 90), color);
        EXPECT_TRUE(pBar->Create(m_pFrame, nID, CBRS_TOP));
        pBar->EnableDocking(dwDockStyle);
        return pBar;
    }
    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(CWnd* pWnd) const
    {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        m_pFrame->ScreenToClient(&rect);
        return rect;
    }
    CRect FrameClient() const
    {
        CRect rect;
        m_pFrame->GetClientRect(&rect);
        return rect;
    }
    void KeepPicture(const char* pszName) const
    {
        m_pFrame->UpdateWindow();
        if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
            SaveWindowPicture(m_pFrame->m_hWnd, (testing::TempDir() + pszName).c_str());
    }

    CFailOnBlockHarness m_harness;
    CDockTestFrame* m_pFrame = nullptr;
    CWnd* m_pView = nullptr;
};

struct SideCase
{
    UINT nDockBarID;
    DWORD dwAlign;
};

class DockingSideTest : public DockingTest, public testing::WithParamInterface<SideCase>
{
};

TEST_P(DockingSideTest, ABarDocksAlongItsSideAndTheViewTakesTheRest)
{
    const SideCase& c = GetParam();
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    for (UINT nID :
         {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM})
        EXPECT_NE(DYNAMIC_DOWNCAST(CDockBar, m_pFrame->GetControlBar(nID)), nullptr) << nID;
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pBar, c.nDockBarID);

    EXPECT_EQ(pBar->GetParent()->GetDlgCtrlID(), static_cast<int>(c.nDockBarID));
    EXPECT_EQ(pBar->m_dwStyle & CBRS_ALIGN_ANY, c.dwAlign);
    EXPECT_FALSE(pBar->IsFloating());
    const CRect client = FrameClient();
    const CRect bar = InFrame(pBar);
    const CRect view = InFrame(m_pView);
    const bool bHorz = (c.dwAlign & CBRS_ORIENT_HORZ) != 0;
    EXPECT_EQ(bar.Size(), bHorz ? CSize(120, 24) : CSize(30, 90));
    CRect expectedView = client;
    switch (c.dwAlign)
    {
    case CBRS_ALIGN_TOP:
        EXPECT_EQ(bar.TopLeft(), CPoint(0, 0));
        expectedView.top = 24;
        break;
    case CBRS_ALIGN_BOTTOM:
        EXPECT_EQ(bar.TopLeft(), CPoint(0, client.bottom - 24));
        expectedView.bottom -= 24;
        break;
    case CBRS_ALIGN_LEFT:
        EXPECT_EQ(bar.TopLeft(), CPoint(0, 0));
        expectedView.left = 30;
        break;
    default:
        EXPECT_EQ(bar.TopLeft(), CPoint(client.right - 30, 0));
        expectedView.right -= 30;
        break;
    }
    EXPECT_EQ(view, expectedView);
}

INSTANTIATE_TEST_SUITE_P(Sides, DockingSideTest,
                         testing::Values(SideCase{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                                         SideCase{AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                                         SideCase{AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                                         SideCase{AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}));

TEST_F(DockingTest, ABarDocksAtTheFirstSideBothAllow)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    EXPECT_EQ(m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP), nullptr);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0), CBRS_ALIGN_TOP | CBRS_ALIGN_RIGHT);
    m_pFrame->DockControlBar(pBar);
    EXPECT_EQ(pBar->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_RIGHT);
}

TEST_F(DockingTest, BarsShareARowOrStackInRowsOverlappingByTwo)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    // Each bar docks as soon as it is made: a bar not yet docked takes its
    // own place along the frame's side.
    CBlockBar* pA = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pA, AFX_IDW_DOCKBAR_TOP);
    CBlockBar* pB = MakeBar(ID_BLOCK_B, RGB(0, 160, 0));
    CPoint ptRow(200, 5);
    m_pFrame->ClientToScreen(&ptRow);
    const CRect rcDrop(ptRow, CSize(120, 24));
    m_pFrame->DockControlBar(pB, AFX_IDW_DOCKBAR_TOP, &rcDrop);
    CBlockBar* pC = MakeBar(ID_BLOCK_C, RGB(0, 0, 200));
    m_pFrame->DockControlBar(pC, AFX_IDW_DOCKBAR_TOP);

    EXPECT_EQ(InFrame(pA), CRect(0, 0, 120, 24));
    EXPECT_EQ(InFrame(pB), CRect(200, 0, 320, 24));
    EXPECT_EQ(InFrame(pC), CRect(0, 22, 120, 46));
    EXPECT_EQ(InFrame(m_pView).top, 46);
    auto* pDockBar = DYNAMIC_DOWNCAST(CDockBar, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ASSERT_NE(pDockBar, nullptr);
    const auto rows = pDockBar->GetVisibleRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<CControlBar*>{pA, pB}));
    EXPECT_EQ(rows[1], (std::vector<CControlBar*>{pC}));
    // Row ends are null entries, and the array starts with one.
    EXPECT_EQ(pDockBar->m_arrBars.GetSize(), 6);
    EXPECT_EQ(pDockBar->GetDockedControlBar(0), nullptr);
    EXPECT_EQ(pDockBar->GetDockedControlBar(3), nullptr);
    EXPECT_EQ(pDockBar->GetDockedCount(), 3);

    // A bar leaving its row alone takes the row with it.
    m_pFrame->DockControlBar(pC, AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(pDockBar->m_arrBars.GetSize(), 4);
    EXPECT_EQ(InFrame(m_pView).top, 24);
}

TEST_F(DockingTest, TheFramesOwnBarsRunAlongItsWholeWidthOutsideTheDockBars)
{
    auto* pStrip = new CBlockBar(CSize(100, 20), CSize(100, 20), RGB(90, 90, 90));
    ASSERT_TRUE(pStrip->Create(m_pFrame, ID_STRIP, CBRS_BOTTOM | CBRS_SIZE_FIXED));
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pTop = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pTop, AFX_IDW_DOCKBAR_TOP);
    CBlockBar* pLeft = MakeBar(ID_BLOCK_B, RGB(0, 160, 0));
    m_pFrame->DockControlBar(pLeft, AFX_IDW_DOCKBAR_LEFT);
    const CRect client = FrameClient();

    EXPECT_EQ(InFrame(pStrip), CRect(0, client.bottom - 20, client.right, client.bottom));
    EXPECT_EQ(InFrame(pLeft).TopLeft(), CPoint(0, 24));
    EXPECT_EQ(InFrame(m_pView), CRect(30, 24, client.right, client.bottom - 20));
    KeepPicture("docking-top-left.bmp");
}

TEST_F(DockingTest, HidingABarGivesItsRoomBackAndShowingRestoresIt)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_LEFT);
    const CRect rcDocked = InFrame(pBar);
    m_pFrame->ShowControlBar(pBar, FALSE, FALSE);
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(InFrame(m_pView), FrameClient());
    m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
    EXPECT_EQ(InFrame(pBar), rcDocked);
    EXPECT_EQ(InFrame(m_pView).left, 30);
    // The frame finds the bar by id through its menu command.
    EXPECT_EQ(m_pFrame->GetControlBar(ID_BLOCK_A), pBar);
}

TEST_F(DockingTest, AFloatingBarLivesInAMiniFrameUntilDockedBack)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(pBar, CPoint(300, 320));

    EXPECT_TRUE(pBar->IsFloating());
    EXPECT_EQ(pBar->m_dwStyle & CBRS_FLOATING, static_cast<DWORD>(CBRS_FLOATING));
    auto* pMiniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pBar->GetParent()->GetParent());
    ASSERT_NE(pMiniFrame, nullptr);
    EXPECT_NE(pMiniFrame->GetStyle() & WS_POPUP, 0u);
    EXPECT_EQ(::GetWindow(pMiniFrame->m_hWnd, GW_OWNER), m_pFrame->m_hWnd);
    CRect rcMini;
    pMiniFrame->GetWindowRect(&rcMini);
    EXPECT_EQ(rcMini.TopLeft(), CPoint(300, 320));
    CRect rcClient;
    pMiniFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), CSize(120, 24));
    EXPECT_TRUE(pMiniFrame->IsWindowVisible());
    EXPECT_EQ(InFrame(m_pView), FrameClient());
    EXPECT_EQ(m_pFrame->GetControlBar(ID_BLOCK_A), pBar);

    // Closing the mini frame hides the bar; showing brings both back.
    pMiniFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pMiniFrame->IsWindowVisible());
    EXPECT_FALSE(pBar->IsVisible());
    m_pFrame->ShowControlBar(pBar, TRUE, FALSE);
    EXPECT_TRUE(pMiniFrame->IsWindowVisible());

    const HWND hMini = pMiniFrame->m_hWnd;
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_FALSE(::IsWindow(hMini));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(InFrame(pBar).right, FrameClient().right);
}

TEST_F(DockingTest, DraggingABarDocksItWhereItIsLetGoOrFloatsIt)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    const CPoint ptPress = CUiHarness::ScreenPoint(pBar->m_hWnd, 10, 10);
    CPoint ptLeft(5, 200);
    m_pFrame->ClientToScreen(&ptLeft);
    m_harness.MouseDown(enMouseButton::Left, ptPress);
    m_harness.MouseMove(CPoint(ptPress.x + 5, ptPress.y + 40));
    m_harness.MouseMove(ptLeft);
    m_harness.MouseUp(enMouseButton::Left, ptLeft);
    m_harness.PumpPending();
    EXPECT_EQ(pBar->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
    EXPECT_EQ(InFrame(pBar).left, 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    // Let go over the view: the bar floats there.
    const CPoint ptFrom = CUiHarness::ScreenPoint(pBar->m_hWnd, 10, 10);
    CPoint ptMiddle(320, 240);
    m_pFrame->ClientToScreen(&ptMiddle);
    m_harness.MouseDown(enMouseButton::Left, ptFrom);
    m_harness.MouseMove(CPoint(ptFrom.x + 40, ptFrom.y));
    m_harness.MouseMove(ptMiddle);
    m_harness.MouseUp(enMouseButton::Left, ptMiddle);
    m_harness.PumpPending();
    ASSERT_TRUE(pBar->IsFloating());
    CRect rcBar;
    pBar->GetWindowRect(&rcBar);
    EXPECT_TRUE(rcBar.PtInRect(ptMiddle));
    EXPECT_EQ(rcBar.Size(), CSize(120, 24));

    // A double click on the mini frame's caption docks it back where it was.
    CWnd* pMiniFrame = pBar->GetParent()->GetParent();
    CRect rcMini;
    pMiniFrame->GetWindowRect(&rcMini);
    pMiniFrame->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION,
                            MAKELPARAM(rcMini.left + 20, rcMini.top + 5));
    EXPECT_FALSE(pBar->IsFloating());
    EXPECT_EQ(pBar->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_LEFT);
}

TEST_F(DockingTest, EscapeLeavesTheBarWhereItWas)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    const CPoint ptPress = CUiHarness::ScreenPoint(pBar->m_hWnd, 10, 10);
    CPoint ptLeft(5, 200);
    m_pFrame->ClientToScreen(&ptLeft);
    m_harness.MouseDown(enMouseButton::Left, ptPress);
    m_harness.MouseMove(ptLeft);
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.MouseUp(enMouseButton::Left, ptLeft);
    m_harness.PumpPending();
    EXPECT_EQ(pBar->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DockingTest, DockedAndFloatingBarsHearTheIdleUpdateAndSendCommandsToTheFrame)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pDocked = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    m_pFrame->DockControlBar(pDocked, AFX_IDW_DOCKBAR_TOP);
    CBlockBar* pFloating = MakeBar(ID_BLOCK_B, RGB(0, 160, 0));
    m_pFrame->FloatControlBar(pFloating, CPoint(400, 400));
    AfxCallWndProc(m_pFrame, m_pFrame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_EQ(pDocked->m_nUpdates, 1);
    EXPECT_EQ(pFloating->m_nUpdates, 1);

    for (CBlockBar* pBar : {pDocked, pFloating})
    {
        CButton button;
        ASSERT_TRUE(
            button.Create("Press", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), pBar, ID_PRESS));
        button.SendMessage(BM_CLICK);
    }
    EXPECT_EQ(m_pFrame->m_nPressed, 2);
}

// A bar that shares the length of its row with the other bars of its kind
// there, each in proportion to the length it wants, none below its minimum.
class CShareBar : public CBlockBar
{
public:
    CShareBar(int nWanted, int nMinimum, COLORREF color)
        : CBlockBar(CSize(nWanted, 40), CSize(60, nWanted), color), m_nWanted(nWanted),
          m_nMinimum(nMinimum)
    {
    }

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        const bool bHorz = (dwMode & LM_HORZDOCK) != 0;
        const CSize sizeOwn = CalcFixedLayout(FALSE, bHorz);
        if (nLength < 0 || m_pDockBar == nullptr)
            return sizeOwn;
        int nWantedInRow = 0;
        int nMatesInRow = 0;
        for (const auto& row : m_pDockBar->GetVisibleRows())
        {
            if (std::find(row.begin(), row.end(), this) == row.end())
                continue;
            for (CControlBar* pMate : row)
            {
                if (auto* pShare = dynamic_cast<CShareBar*>(pMate))
                {
                    nWantedInRow += pShare->m_nWanted;
                    ++nMatesInRow;
                }
            }
        }
        // Neighbours overlap by two pixels.
        const int nRoom = nLength + 2 * (nMatesInRow - 1);
        const int nShare = std::max(m_nMinimum, nRoom * m_nWanted / std::max(1, nWantedInRow));
        return bHorz ? CSize(nShare, sizeOwn.cy) : CSize(sizeOwn.cx, nShare);
    }

    int m_nWanted;
    int m_nMinimum;
};

TEST_F(DockingTest, BarsSharingARowAreToldItsLengthAndKeepTheirMinimum)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    auto* pUpper = new CShareBar(300, 32, RGB(200, 120, 0));
    ASSERT_TRUE(pUpper->Create(m_pFrame, ID_BLOCK_A, CBRS_LEFT | CBRS_SIZE_DYNAMIC));
    pUpper->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(pUpper, AFX_IDW_DOCKBAR_LEFT);
    auto* pLower = new CShareBar(100, 32, RGB(0, 120, 200));
    ASSERT_TRUE(pLower->Create(m_pFrame, ID_BLOCK_B, CBRS_LEFT | CBRS_SIZE_DYNAMIC));
    pLower->EnableDocking(CBRS_ALIGN_ANY);
    CPoint ptRow(10, 300);
    m_pFrame->ClientToScreen(&ptRow);
    const CRect rcDrop(ptRow, CSize(60, 100));
    m_pFrame->DockControlBar(pLower, AFX_IDW_DOCKBAR_LEFT, &rcDrop);

    const int cy = FrameClient().Height();
    const CRect upper = InFrame(pUpper);
    const CRect lower = InFrame(pLower);
    EXPECT_EQ(upper.top, 0);
    EXPECT_EQ(lower.top, upper.bottom - 2);
    EXPECT_NEAR(lower.bottom, cy, 1); // shares rounded down
    EXPECT_EQ(upper.Height(), (cy + 2) * 3 / 4);
    EXPECT_EQ(InFrame(m_pView).left, 60);
    KeepPicture("docking-shared-row.bmp");

    // A frame too short for both shares leaves each at its minimum at least.
    m_pFrame->SetWindowPos(nullptr, 0, 0, 640, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GE(InFrame(pUpper).Height(), 32);
    EXPECT_GE(InFrame(pLower).Height(), 32);
    EXPECT_EQ(InFrame(pLower).top, InFrame(pUpper).bottom - 2);
}

TEST_F(DockingTest, ADialogBarDocksWithItsTemplatesSizeAndItsControlsGoThroughTheFrame)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    auto* pBar = new CDialogBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(m_pFrame, kDialogBarId, WS_VISIBLE | CBRS_BOTTOM, ID_BLOCK_C));
    EXPECT_EQ(pBar->GetStyle() & (WS_CAPTION | WS_POPUP), 0u);
    EXPECT_NE(pBar->GetStyle() & WS_CHILD, 0u);
    EXPECT_GT(pBar->m_sizeDefault.cx, 120);
    // Stretched along its side when not docked.
    EXPECT_EQ(pBar->CalcFixedLayout(TRUE, TRUE).cx, 32767);
    EXPECT_EQ(pBar->CalcFixedLayout(FALSE, TRUE), pBar->m_sizeDefault);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_BOTTOM);
    EXPECT_EQ(InFrame(pBar).Size(), pBar->m_sizeDefault);
    EXPECT_EQ(InFrame(pBar).bottom, FrameClient().bottom);

    pBar->GetDlgItem(static_cast<int>(ID_PRESS))->SendMessage(BM_CLICK);
    EXPECT_EQ(m_pFrame->m_nPressed, 1);
    // At idle time the frame's handlers enable the controls; one without a
    // handler is disabled.
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_TRUE(pBar->GetDlgItem(static_cast<int>(ID_PRESS))->IsWindowEnabled());
    EXPECT_FALSE(pBar->GetDlgItem(static_cast<int>(ID_IDLE))->IsWindowEnabled());
}

class CBarView : public CView
{
public:
    void OnDraw(CDC*) override {}
};

TEST_F(DockingTest, AViewInABarBecomesTheFramesActiveViewDockedOrFloating)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CBlockBar* pBar = MakeBar(ID_BLOCK_A, RGB(200, 0, 0));
    auto* pView = new CBarView;
    ASSERT_TRUE(
        pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(2, 2, 60, 20), pBar, 1));
    m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(pView->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(m_pFrame->GetActiveView(), pView);

    m_pFrame->SetActiveView(nullptr);
    m_pFrame->FloatControlBar(pBar, CPoint(300, 300));
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(pView->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(m_pFrame->GetActiveView(), pView);
    pView->DestroyWindow();
    EXPECT_EQ(m_pFrame->GetActiveView(), nullptr);
}

class DockingToolBarTest : public DockingTest
{
protected:
    CToolBar* MakeToolBar()
    {
        auto* pToolBar = new CToolBar;
        pToolBar->m_bAutoDelete = TRUE;
        EXPECT_TRUE(pToolBar->CreateEx(m_pFrame, TBSTYLE_FLAT,
                                       WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC));
        const UINT ids[] = {ID_PRESS, ID_PRESS + 1, ID_SEPARATOR, ID_PRESS + 2};
        EXPECT_TRUE(pToolBar->SetButtons(ids, 4));
        pToolBar->SetSizes(CSize(23, 22), CSize(16, 15));
        pToolBar->EnableDocking(CBRS_ALIGN_ANY);
        return pToolBar;
    }
};

TEST_F(DockingToolBarTest, DockedAtASideItStandsOneButtonARowAndItsButtonsStillCommand)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar* pToolBar = MakeToolBar();
    m_pFrame->DockControlBar(pToolBar, AFX_IDW_DOCKBAR_LEFT);
    // The border faces the view: two pixels at the right.
    EXPECT_EQ(InFrame(pToolBar), CRect(0, 0, 25, 22 * 3 + 8));
    const CRect expected[] = {{0, 0, 23, 22}, {0, 22, 23, 44}, {0, 44, 23, 52}, {0, 52, 23, 74}};
    for (int i = 0; i < 4; ++i)
    {
        CRect rect;
        pToolBar->GetItemRect(i, &rect);
        EXPECT_EQ(rect, expected[i]) << i;
    }
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(pToolBar->m_hWnd, 10, 60));
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(pToolBar->m_hWnd, 10, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_pFrame->m_nPressed, 1);

    // Back at the top it lies in one row again.
    m_pFrame->DockControlBar(pToolBar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(InFrame(pToolBar), CRect(0, 0, 23 * 3 + 8, 24));
    KeepPicture("docking-toolbar-top.bmp");

    // A drag given up over the left side leaves its rows as they were.
    // The separator is no button: a press there holds the bar.
    const CPoint ptSeparator = CUiHarness::ScreenPoint(pToolBar->m_hWnd, 50, 10);
    CPoint ptLeft(5, 200);
    m_pFrame->ClientToScreen(&ptLeft);
    m_harness.MouseDown(enMouseButton::Left, ptSeparator);
    m_harness.MouseMove(ptLeft);
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.MouseUp(enMouseButton::Left, ptLeft);
    m_harness.PumpPending();
    CRect rcLast;
    pToolBar->GetItemRect(3, &rcLast);
    EXPECT_EQ(rcLast, CRect(54, 0, 77, 22));
    EXPECT_EQ(pToolBar->GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
}

TEST_F(DockingToolBarTest, FloatingItWrapsToTheWidthItWasLastGiven)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar* pToolBar = MakeToolBar();
    m_pFrame->DockControlBar(pToolBar, AFX_IDW_DOCKBAR_RIGHT);
    m_pFrame->FloatControlBar(pToolBar, CPoint(500, 300));
    auto* pMiniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, pToolBar->GetParent()->GetParent());
    ASSERT_NE(pMiniFrame, nullptr);
    CRect rcClient;
    pMiniFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), CSize(23 * 3 + 8, 22));

    EXPECT_EQ(pToolBar->CalcDynamicLayout(60, LM_HORZ | LM_COMMIT), CSize(46, 22 + 8 + 22));
    pMiniFrame->RecalcLayout();
    pMiniFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), CSize(46, 52));
    CRect rcLast;
    pToolBar->GetItemRect(3, &rcLast);
    EXPECT_EQ(rcLast, CRect(0, 30, 23, 52));
    // Its frame's edge reshapes it: one row again when widened.
    CRect rcMini;
    pMiniFrame->GetWindowRect(&rcMini);
    const CPoint ptEdge(rcMini.right - 1, rcMini.CenterPoint().y);
    m_harness.MouseDown(enMouseButton::Left, ptEdge);
    m_harness.MouseMove(CPoint(ptEdge.x + 20, ptEdge.y));
    m_harness.MouseMove(CPoint(ptEdge.x + 40, ptEdge.y));
    m_harness.MouseUp(enMouseButton::Left, CPoint(ptEdge.x + 40, ptEdge.y));
    m_harness.PumpPending();
    pMiniFrame->GetClientRect(&rcClient);
    EXPECT_EQ(rcClient.Size(), CSize(77, 22));
    pToolBar->GetItemRect(3, &rcLast);
    EXPECT_EQ(rcLast, CRect(54, 0, 77, 22));

    // Asked for a height, it takes the narrowest width that fits.
    EXPECT_EQ(pToolBar->CalcDynamicLayout(22, LM_HORZ | LM_LENGTHY), CSize(77, 22));
    EXPECT_EQ(pToolBar->CalcDynamicLayout(60, LM_HORZ | LM_LENGTHY), CSize(46, 52));
}
} // namespace
