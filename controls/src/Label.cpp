// The label.
#include "Label.h"

#include "WinShellExecute.h"

#include <cstdio>

namespace
{
constexpr UINT_PTR kFlashTimer = 1;
constexpr UINT kFlashInterval = 500;
constexpr int kMaxFaceName = 31;
} // namespace

BEGIN_MESSAGE_MAP(CLabel, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CLabel::CLabel()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)),
      m_hBrush(::CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      m_hwndBrush(::CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
{
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_lf), &m_lf);
    m_font.CreateFontIndirect(&m_lf);
}

CLabel::~CLabel()
{
    ::DeleteObject(m_hBrush);
    ::DeleteObject(m_hwndBrush);
}

CLabel& CLabel::SetText(const CString& strText)
{
    SetWindowText(strText);
    return *this;
}

CLabel& CLabel::SetTextColor(COLORREF crText)
{
    m_crText = crText;
    RedrawWindow();
    return *this;
}

CLabel& CLabel::SetBkColor(COLORREF crBkgnd)
{
    ::DeleteObject(m_hBrush);
    m_hBrush = ::CreateSolidBrush(crBkgnd);
    return *this;
}

CLabel& CLabel::SetFontBold(BOOL bBold)
{
    m_lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    ReconstructFont();
    RedrawWindow();
    return *this;
}

CLabel& CLabel::SetFontUnderline(BOOL bSet)
{
    m_lf.lfUnderline = BYTE(bSet);
    ReconstructFont();
    RedrawWindow();
    return *this;
}

CLabel& CLabel::SetFontItalic(BOOL bSet)
{
    m_lf.lfItalic = BYTE(bSet);
    ReconstructFont();
    RedrawWindow();
    return *this;
}

CLabel& CLabel::SetFontSize(int nSize)
{
    m_lf.lfHeight = -nSize;
    ReconstructFont();
    RedrawWindow();
    return *this;
}

CLabel& CLabel::SetFontName(const CString& strFont)
{
    std::snprintf(m_lf.lfFaceName, kMaxFaceName + 1, "%s", static_cast<LPCSTR>(strFont));
    ReconstructFont();
    RedrawWindow();
    return *this;
}

void CLabel::ReconstructFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_lf);
}

CLabel& CLabel::SetSunken(BOOL bSet)
{
    if (bSet)
        ModifyStyleEx(0, WS_EX_STATICEDGE, SWP_FRAMECHANGED);
    else
        ModifyStyleEx(WS_EX_STATICEDGE, 0, SWP_FRAMECHANGED);
    return *this;
}

CLabel& CLabel::SetBorder(BOOL bSet)
{
    if (bSet)
        ModifyStyle(0, WS_BORDER, SWP_FRAMECHANGED);
    else
        ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
    return *this;
}

CLabel& CLabel::SetLink(BOOL bLink)
{
    m_bLink = bLink;
    if (bLink)
        ModifyStyle(0, SS_NOTIFY);
    else
        ModifyStyle(SS_NOTIFY, 0);
    return *this;
}

CLabel& CLabel::SetLinkCursor(HCURSOR hCursor)
{
    m_hCursor = hCursor;
    return *this;
}

// ---------------------------------------------------------------- flashing

void CLabel::StopFlashing()
{
    if (!m_bTimer)
        return;
    KillTimer(kFlashTimer);
    // The text is the label's own: it stays whichever flashing stops.
    if (m_Type == enText)
        SetWindowText(m_strText);
    m_bTimer = FALSE;
    m_Type = enNone;
}

CLabel& CLabel::FlashText(BOOL bActivate)
{
    StopFlashing();
    if (bActivate)
    {
        GetWindowText(m_strText);
        m_Type = enText;
        m_bState = FALSE;
        m_bTimer = TRUE;
        SetTimer(kFlashTimer, kFlashInterval, nullptr);
    }
    return *this;
}

CLabel& CLabel::FlashBackground(BOOL bActivate)
{
    StopFlashing();
    if (bActivate)
    {
        m_bState = FALSE;
        m_bTimer = TRUE;
        SetTimer(kFlashTimer, kFlashInterval, nullptr);
        m_Type = enBackground;
    }
    return *this;
}

void CLabel::OnTimer(UINT_PTR nIDEvent)
{
    m_bState = !m_bState;
    switch (m_Type)
    {
    case enText:
        SetWindowText(m_bState ? "" : LPCSTR(m_strText));
        break;
    case enBackground:
        InvalidateRect(nullptr, FALSE);
        UpdateWindow();
        break;
    default:
        break;
    }
    CStatic::OnTimer(nIDEvent);
}

// ---------------------------------------------------------------- colours, links

HBRUSH CLabel::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC)
    {
        pDC->SelectObject(&m_font);
        pDC->SetTextColor(m_crText);
        pDC->SetBkMode(TRANSPARENT);
    }
    if (m_Type == enBackground && !m_bState)
        return m_hwndBrush;
    return m_hBrush;
}

void CLabel::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A failure is told on stderr by the opener's call.
    if (m_bLink)
    {
        CString strLink;
        GetWindowText(strLink);
        ::ShellExecuteA(nullptr, "open", strLink, nullptr, nullptr, SW_SHOWNORMAL);
    }
    CStatic::OnLButtonDown(nFlags, point);
}

BOOL CLabel::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hCursor != nullptr)
    {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(pWnd, nHitTest, message);
}
