#include "AfxBars.h"

#include "AfxDocking.h"
#include "AfxWinDC.h"

#include <algorithm>
#include <vector>

namespace
{
// The gripper's room at the leading edge of a bar.
constexpr int kGripperRoom = 6;
constexpr int kEdgeRoom = 2;
constexpr int kUnbounded = 32767;

bool IsHorizontal(DWORD dwStyle)
{
    return (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0;
}

// A floating bar is dragged by its mini frame's caption instead.
bool ShowsGripper(DWORD dwStyle)
{
    return (dwStyle & CBRS_GRIPPER) && !(dwStyle & CBRS_FLOATING);
}

// Dock bars go last, top and bottom before left and right, so that the
// frame's own bars (a status bar) run along its whole width and the side
// dock bars fit between the top and bottom ones.
int DockBarRank(UINT nID)
{
    switch (nID)
    {
    case AFX_IDW_DOCKBAR_TOP:
        return 1;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return 2;
    case AFX_IDW_DOCKBAR_LEFT:
        return 3;
    case AFX_IDW_DOCKBAR_RIGHT:
        return 4;
    default:
        return 0;
    }
}

std::vector<HWND> BarsInLayoutOrder(HWND hParent, UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver)
{
    std::vector<HWND> bars;
    for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        const UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        if (nID >= nIDFirst && nID <= nIDLast && nID != nIDLeftOver)
            bars.push_back(hChild);
    }
    std::stable_sort(bars.begin(), bars.end(),
                     [](HWND a, HWND b)
                     {
                         return DockBarRank(static_cast<UINT>(::GetDlgCtrlID(a))) <
                                DockBarRank(static_cast<UINT>(::GetDlgCtrlID(b)));
                     });
    return bars;
}
} // namespace

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_NCHITTEST()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    delete m_pDockContext;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_pDockSite == nullptr && !m_bDockBar)
        m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (m_pDockSite != nullptr && !m_bDockBar)
        m_pDockSite->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_pDockBar != nullptr)
        m_pDockBar->RemoveControlBar(this);
    m_pDockBar = nullptr;
    if (m_pDockSite != nullptr && !m_bDockBar)
        m_pDockSite->RemoveControlBar(this);
    CWnd::OnDestroy();
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (m_pDockSite == nullptr)
        m_pDockSite = DYNAMIC_DOWNCAST(CFrameWnd, GetParent());
    if (m_dwDockStyle != 0 && m_pDockContext == nullptr)
        m_pDockContext = new CDockContext(this);
    if (m_pDockContext != nullptr)
        m_pDockContext->m_dwDockStyle = m_dwDockStyle;
}

BOOL CControlBar::IsFloating() const
{
    return m_pDockBar != nullptr && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    if (m_pDockSite != nullptr)
        return m_pDockSite;
    return GetParentFrame();
}

BOOL CControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || pOwner == this)
        return FALSE;
    pOwner->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    if (m_dwStyle == dwStyle)
        return;
    m_dwStyle = dwStyle;
    if (m_hWnd != nullptr)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CControlBar::IsVisible() const
{
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

CRect CControlBar::GetBorders() const
{
    return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

CSize CControlBar::CalcInsideSize() const
{
    CSize size(m_cxLeftBorder + m_cxRightBorder, m_cyTopBorder + m_cyBottomBorder);
    if (ShowsGripper(m_dwStyle))
        (IsHorizontal(m_dwStyle) ? size.cx : size.cy) += kGripperRoom;
    size.cx += ((m_dwStyle & CBRS_BORDER_LEFT) ? kEdgeRoom : 0) +
               ((m_dwStyle & CBRS_BORDER_RIGHT) ? kEdgeRoom : 0);
    size.cy += ((m_dwStyle & CBRS_BORDER_TOP) ? kEdgeRoom : 0) +
               ((m_dwStyle & CBRS_BORDER_BOTTOM) ? kEdgeRoom : 0);
    return size;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CalcInsideSize();
    if (bStretch)
        (bHorz ? size.cx : size.cy) = kUnbounded;
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode)
{
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pLayout == nullptr || !IsVisible() || !(m_dwStyle & CBRS_ALIGN_ANY))
        return 0;
    TakeRoomAlongSide(pLayout, CalcFixedLayout(pLayout->bStretch, IsHorizontal(m_dwStyle)));
    return 0;
}

void CControlBar::TakeRoomAlongSide(AFX_SIZEPARENTPARAMS* pLayout, CSize size)
{
    CRect rect(pLayout->rect);
    const int cx = std::min<int>(size.cx, rect.Width());
    const int cy = std::min<int>(size.cy, rect.Height());
    if (m_dwStyle & CBRS_ALIGN_TOP)
    {
        rect.bottom = rect.top + cy;
        pLayout->rect.top += cy;
    }
    else if (m_dwStyle & CBRS_ALIGN_BOTTOM)
    {
        rect.top = rect.bottom - cy;
        pLayout->rect.bottom -= cy;
    }
    else if (m_dwStyle & CBRS_ALIGN_LEFT)
    {
        rect.right = rect.left + cx;
        pLayout->rect.left += cx;
    }
    else
    {
        rect.left = rect.right - cx;
        pLayout->rect.right -= cx;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsVisible())
        return 0;
    CFrameWnd* pTarget = DYNAMIC_DOWNCAST(CFrameWnd, GetOwner());
    if (pTarget == nullptr)
        pTarget = GetParentFrame();
    if (pTarget != nullptr)
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    return 0;
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    RECT& rect = lpncsp->rgrc[0];
    rect.left += m_cxLeftBorder + ((m_dwStyle & CBRS_BORDER_LEFT) ? kEdgeRoom : 0);
    rect.top += m_cyTopBorder + ((m_dwStyle & CBRS_BORDER_TOP) ? kEdgeRoom : 0);
    rect.right -= m_cxRightBorder + ((m_dwStyle & CBRS_BORDER_RIGHT) ? kEdgeRoom : 0);
    rect.bottom -= m_cyBottomBorder + ((m_dwStyle & CBRS_BORDER_BOTTOM) ? kEdgeRoom : 0);
    if (ShowsGripper(m_dwStyle))
        (IsHorizontal(m_dwStyle) ? rect.left : rect.top) += kGripperRoom;
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
}

void CControlBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcClient;
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    // The client area is the bar's items': only the frame around it.
    dc.ExcludeClipRect(&rcClient);
    dc.FillSolidRect(&rcWindow, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, rcWindow);
    if (ShowsGripper(m_dwStyle))
        DrawGripper(&dc, rcWindow);
}

UINT CControlBar::OnNcHitTest(CPoint point)
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    return rcWindow.PtInRect(point) ? HTCLIENT : HTNOWHERE;
}

BOOL CControlBar::IsOnItem(CPoint) const
{
    return FALSE;
}

void CControlBar::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDockContext == nullptr || IsOnItem(point))
    {
        Default();
        return;
    }
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
}

void CControlBar::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_pDockContext == nullptr || IsOnItem(point))
    {
        Default();
        return;
    }
    m_pDockContext->ToggleDocking();
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    UINT nEdges = 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_LEFT) ? BF_LEFT : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_TOP) ? BF_TOP : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_RIGHT) ? BF_RIGHT : 0;
    nEdges |= (m_dwStyle & CBRS_BORDER_BOTTOM) ? BF_BOTTOM : 0;
    if (nEdges != 0)
        ::DrawEdge(pDC->m_hDC, &rect, EDGE_ETCHED, nEdges | BF_ADJUST);
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    // A raised ridge along the leading edge, inside the borders.
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (IsHorizontal(m_dwStyle))
        pDC->Draw3dRect(rect.left + m_cxLeftBorder + 1, rect.top + m_cyTopBorder + 1, 3,
                        rect.Height() - m_cyTopBorder - m_cyBottomBorder - 2, light, shadow);
    else
        pDC->Draw3dRect(rect.left + m_cxLeftBorder + 1, rect.top + m_cyTopBorder + 1,
                        rect.Width() - m_cxLeftBorder - m_cxRightBorder - 2, 3, light, shadow);
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags,
                          LPRECT lpRectParam, LPCRECT lpRectClient, BOOL bStretch)
{
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = bStretch;
    if (lpRectClient != nullptr)
        layout.rect = *lpRectClient;
    else
        GetClientRect(&layout.rect);
    for (HWND hChild : BarsInLayoutOrder(m_hWnd, nIDFirst, nIDLast, nIDLeftOver))
        ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    if (nFlags == reposQuery)
    {
        if (lpRectParam != nullptr)
            *lpRectParam = layout.rect;
        return;
    }
    if (lpRectParam != nullptr)
    {
        // The caller's margins around what is left.
        layout.rect.left += lpRectParam->left;
        layout.rect.top += lpRectParam->top;
        layout.rect.right -= lpRectParam->right;
        layout.rect.bottom -= lpRectParam->bottom;
    }
    if (HWND hLeftOver = ::GetDlgItem(m_hWnd, static_cast<int>(nIDLeftOver)))
    {
        CRect rect(layout.rect);
        ::MoveWindow(hLeftOver, rect.left, rect.top, std::max(0, rect.Width()),
                     std::max(0, rect.Height()), TRUE);
    }
}
