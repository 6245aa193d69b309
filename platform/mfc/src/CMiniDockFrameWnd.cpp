#include "AfxDocking.h"
#include "UserRawInput.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CFrameWnd)
ON_WM_CLOSE()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
ON_WM_SIZE()
ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

namespace
{
constexpr DWORD kMiniFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kMiniFrameExStyle = WS_EX_TOOLWINDOW;
} // namespace

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

DWORD CMiniDockFrameWnd::FrameStyleFor(DWORD dwBarStyle)
{
    // A bar that can take other shapes can be sized by its frame's edges.
    return kMiniFrameStyle | ((dwBarStyle & CBRS_SIZE_DYNAMIC) ? WS_THICKFRAME : 0);
}

CRect CMiniDockFrameWnd::CalcFrameRect(const CRect& rcBar, DWORD dwBarStyle)
{
    CRect rect(rcBar);
    ::AdjustWindowRectEx(&rect, FrameStyleFor(dwBarStyle), FALSE, kMiniFrameExStyle);
    return rect;
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    const DWORD dwStyle = FrameStyleFor(dwBarStyle);
    if (!CWnd::CreateEx(kMiniFrameExStyle,
                        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            ::GetSysColorBrush(COLOR_BTNFACE)),
                        "", dwStyle, CRect(0, 0, 0, 0), pParent, 0))
        return FALSE;
    // Its caption is what drags the bar: a display must leave it to us.
    UserSetSelfDrawnFrame(m_hWnd, TRUE);
    return m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | (dwBarStyle & CBRS_ALIGN_ANY),
                               AFX_IDW_DOCKBAR_FLOAT);
}

CControlBar* CMiniDockFrameWnd::GetBar() const
{
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    {
        if (CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i))
            return pBar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || m_wndDockBar.m_hWnd == nullptr)
        return;
    m_bInRecalcLayout = TRUE;
    const CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rect(0, 0, size.cx, size.cy);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (CControlBar* pBar = GetBar())
    {
        CString strTitle;
        pBar->GetWindowText(strTitle);
        SetWindowText(strTitle);
    }
    m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = GetActiveView();
    CFrameWnd::SetActiveView(pViewNew, FALSE);
    CControlBar* pBar = GetBar();
    CFrameWnd* pFrame = pBar != nullptr ? pBar->GetDockingFrame() : nullptr;
    if (pFrame == nullptr || pFrame == this)
        return;
    // A view going away here takes only itself out of the frame.
    if (pViewNew != nullptr || pFrame->GetActiveView() == pViewOld)
        pFrame->SetActiveView(pViewNew, bNotify);
}

void CMiniDockFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CControlBar* pBar = GetBar();
    if (m_bInRecalcLayout || nType == SIZE_MINIMIZED || pBar == nullptr ||
        !(pBar->m_dwStyle & CBRS_SIZE_DYNAMIC))
    {
        CFrameWnd::OnSize(nType, cx, cy);
        return;
    }
    // Sized from outside: the bar takes the shape nearest the new width,
    // or the new height when only that changed, and the frame fits it.
    CRect rcBar;
    m_wndDockBar.GetClientRect(&rcBar);
    if (cx != rcBar.Width())
        pBar->CalcDynamicLayout(cx, LM_HORZ | LM_COMMIT);
    else if (cy != rcBar.Height())
        pBar->CalcDynamicLayout(cy, LM_HORZ | LM_LENGTHY | LM_COMMIT);
    RecalcLayout();
}

void CMiniDockFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    // As small as its bar can be: the frame around one pixel.
    const CControlBar* pBar = GetBar();
    const CRect rect = CalcFrameRect(CRect(0, 0, 1, 1), pBar != nullptr ? pBar->m_dwStyle : 0);
    lpMMI->ptMinTrackSize = CPoint(rect.Width(), rect.Height());
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing puts the bar away, to be shown again where it was.
    CControlBar* pBar = GetBar();
    if (pBar == nullptr)
    {
        CFrameWnd::OnClose();
        return;
    }
    if (CFrameWnd* pFrame = pBar->GetDockingFrame())
        pFrame->ShowControlBar(pBar, FALSE, FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CControlBar* pBar = GetBar();
    if (nHitTest == HTCAPTION && pBar != nullptr && pBar->m_pDockContext != nullptr)
    {
        pBar->m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint)
{
    CControlBar* pBar = GetBar();
    if (nHitTest == HTCAPTION && pBar != nullptr && pBar->m_pDockContext != nullptr)
    {
        pBar->m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}
