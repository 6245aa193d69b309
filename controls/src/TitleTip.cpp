// The title tip: shown over a cut-off text, it takes the mouse and hands
// moves, clicks and keys on to the control it belongs to.
#include "TitleTip.h"

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
END_MESSAGE_MAP()

CTitleTip::CTitleTip()
{
    WNDCLASS wndcls{};
    const HINSTANCE hInst = AfxGetInstanceHandle();
    if (::GetClassInfo(hInst, TITLETIP_CLASSNAME, &wndcls))
        return;
    wndcls.style = CS_SAVEBITS | CS_DBLCLKS;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1);
    wndcls.lpszClassName = TITLETIP_CLASSNAME;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
}

CTitleTip::~CTitleTip()
{
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CTitleTip::Create(CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TITLETIP_CLASSNAME, nullptr,
                    WS_BORDER | WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr);
}

void CTitleTip::Show(CRect rectTitle, CString sTitleText, int xoffset)
{
    Show(rectTitle, LPCSTR(sTitleText), xoffset, nullptr, nullptr);
}

void CTitleTip::Show(CRect rectTitle, LPCSTR lpszTitleText, int xoffset, LPRECT /*lpHoverRect*/,
                     LOGFONT* lpLogFont)
{
    if (GetSafeHwnd() == nullptr || rectTitle.IsRectEmpty() || IsWindowVisible() ||
        ::GetFocus() == nullptr)
        return;

    m_sText = CString(" ") + lpszTitleText + " ";
    m_bHasFont = lpLogFont != nullptr;
    if (m_bHasFont)
        m_lf = *lpLogFont;

    m_pParentWnd->ClientToScreen(rectTitle);
    CClientDC dc(this);
    CFont font;
    CFont* pOldFont = SelectTipFont(dc, font);
    const CSize size = dc.GetTextExtent(m_sText);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOldFont);

    CRect rectDisplay(rectTitle.left + xoffset, rectTitle.top + xoffset, 0, 0);
    rectDisplay.right = rectDisplay.left + size.cx + tm.tmOverhang + 2;
    rectDisplay.bottom = rectDisplay.top + size.cy + 2;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, rectDisplay.left, rectDisplay.top, rectDisplay.Width(),
                   rectDisplay.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    // The text is drawn on every paint as well, so the tip keeps it when
    // uncovered.
    RedrawWindow();
    SetCapture();
}

CFont* CTitleTip::SelectTipFont(CDC& dc, CFont& font)
{
    if (!m_bHasFont)
        return static_cast<CFont*>(dc.SelectStockObject(SYSTEM_FONT));
    font.CreateFontIndirect(&m_lf);
    return dc.SelectObject(&font);
}

void CTitleTip::OnPaint()
{
    CPaintDC dc(this);
    CFont font;
    CFont* pOldFont = SelectTipFont(dc, font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(0, 0, m_sText);
    dc.SelectObject(pOldFont);
}

void CTitleTip::Hide()
{
    if (GetSafeHwnd() == nullptr)
        return;
    if (GetCapture() != nullptr && GetCapture()->GetSafeHwnd() == GetSafeHwnd())
        ::ReleaseCapture();
    ShowWindow(SW_HIDE);
}

void CTitleTip::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rectParent;
    m_pParentWnd->GetWindowRect(rectParent);
    ClientToScreen(&point);
    if (rectParent.PtInRect(point))
    {
        m_pParentWnd->ScreenToClient(&point);
        m_pParentWnd->PostMessage(WM_MOUSEMOVE, nFlags, MAKELONG(point.x, point.y));
        return;
    }
    Hide();
    const UINT nHitTest =
        UINT(m_pParentWnd->SendMessage(WM_NCHITTEST, 0, MAKELONG(point.x, point.y)));
    if (nHitTest == HTCLIENT)
    {
        m_pParentWnd->ScreenToClient(&point);
        m_pParentWnd->PostMessage(WM_MOUSEMOVE, nFlags, MAKELONG(point.x, point.y));
    }
    else
        m_pParentWnd->PostMessage(WM_NCMOUSEMOVE, nHitTest, MAKELONG(point.x, point.y));
}

void CTitleTip::ForwardButton(const MSG& msg)
{
    POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ::ClientToScreen(msg.hwnd, &pt);
    CWnd* pWnd = WindowFromPoint(pt);
    if (pWnd == nullptr || pWnd->GetSafeHwnd() == GetSafeHwnd())
        pWnd = m_pParentWnd;
    const UINT nHitTest = UINT(pWnd->SendMessage(WM_NCHITTEST, 0, MAKELONG(pt.x, pt.y)));
    if (nHitTest == HTCLIENT)
    {
        pWnd->ScreenToClient(&pt);
        pWnd->SendMessage(msg.message, msg.wParam, MAKELONG(pt.x, pt.y));
        return;
    }
    UINT nMessage = msg.message;
    switch (msg.message)
    {
    case WM_LBUTTONDOWN:
        nMessage = WM_NCLBUTTONDOWN;
        break;
    case WM_RBUTTONDOWN:
        nMessage = WM_NCRBUTTONDOWN;
        break;
    case WM_MBUTTONDOWN:
        nMessage = WM_NCMBUTTONDOWN;
        break;
    default:
        break;
    }
    Hide();
    pWnd->SendMessage(nMessage, nHitTest, MAKELONG(pt.x, pt.y));
}

// Routes what the tip receives while it shows; the same routing serves
// the thread's message loop and messages delivered without it.
BOOL CTitleTip::RouteWhileShown(const MSG& msg)
{
    switch (msg.message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        ForwardButton(msg);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        m_pParentWnd->PostMessage(msg.message, msg.wParam, msg.lParam);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTitleTip::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == GetSafeHwnd() && RouteWhileShown(*pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CTitleTip::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_CAPTURECHANGED)
    {
        if (IsWindowVisible())
            ShowWindow(SW_HIDE);
        return CWnd::OnWndMsg(message, wParam, lParam, pResult);
    }
    if (m_pParentWnd != nullptr && IsWindowVisible())
    {
        const MSG msg{m_hWnd, message, wParam, lParam, 0, {0, 0}};
        if (RouteWhileShown(msg))
            return TRUE;
    }
    if (::GetFocus() == nullptr)
    {
        switch (message)
        {
        case WM_CREATE:
        case WM_DESTROY:
        case WM_MOVE:
        case WM_SIZE:
        case WM_PAINT:
        case WM_ERASEBKGND:
        case WM_WINDOWPOSCHANGING:
        case WM_NCCREATE:
        case WM_NCDESTROY:
        case WM_NCCALCSIZE:
        case WM_NCHITTEST:
        case WM_NCPAINT:
            break;
        default:
            Hide();
            return TRUE;
        }
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}
