#include "AfxBars.h"

#include "AfxFrame.h"
#include "AfxWinDC.h"

#include <algorithm>

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
} // namespace

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
END_MESSAGE_MAP()

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
    if (m_dwStyle & CBRS_GRIPPER)
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
    CRect rect(pLayout->rect);
    const CSize size = CalcFixedLayout(pLayout->bStretch, IsHorizontal(m_dwStyle));
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
    return 0;
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
    if (m_dwStyle & CBRS_GRIPPER)
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
    if (m_dwStyle & CBRS_GRIPPER)
        DrawGripper(&dc, rcWindow);
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
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
    {
        const UINT nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        if (nID >= nIDFirst && nID <= nIDLast && nID != nIDLeftOver)
            ::SendMessageA(hChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
    }
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
