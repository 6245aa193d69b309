// The flat edit.
#include "FlatEdit.h"

namespace
{
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverInterval = 10;
constexpr int kStateHot = 1;
constexpr int kStateCold = 2;
} // namespace

bool CFlatEdit::s_bHover = false;

BEGIN_MESSAGE_MAP(CFlatEdit, CEdit)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_TIMER()
ON_WM_PAINT()
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CFlatEdit::CFlatEdit()
{
    ReadColours();
}

void CFlatEdit::ReadColours()
{
    m_clrHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrShadow = GetSysColor(COLOR_BTNSHADOW);
    m_clrDkShad = GetSysColor(COLOR_3DDKSHADOW);
    m_clrButton = GetSysColor(COLOR_BTNFACE);
}

void CFlatEdit::SetIndent(int nMargin)
{
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nMargin, 1));
}

void CFlatEdit::DrawEdit(int state, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!m_bFlatLook || GetSafeHwnd() == nullptr)
        return;
    // The frame and bars surround the edit: they are drawn on the parent,
    // at the edit's client rectangle.
    CWnd* pParent = GetParent();
    CWnd* pSurface = pParent != nullptr ? pParent : this;
    CRect rcItem;
    GetClientRect(&rcItem);
    MapWindowPoints(pSurface, &rcItem);
    CClientDC dc(pSurface);
    dc.Draw3dRect(&rcItem, clrTopLeft, clrBottomRight);
    rcItem.InflateRect(1, 1);
    const BOOL bEnabled = IsWindowEnabled();
    for (int i = 0; i < 3; ++i)
    {
        const COLORREF clr = (i == 0 && !bEnabled) ? m_clrHilite : m_clrButton;
        dc.Draw3dRect(&rcItem, clr, clr);
        rcItem.InflateRect(1, 1);
    }
    dc.Draw3dRect(&rcItem, m_clrButton, m_clrButton);
    rcItem.DeflateRect(4, 4);
    if (m_bDrawLeftBars)
    {
        dc.Draw3dRect(rcItem.left - 4, rcItem.top, 2, rcItem.Height(), m_clrHilite, m_clrShadow);
        dc.Draw3dRect(rcItem.left - 7, rcItem.top, 2, rcItem.Height(), m_clrHilite, m_clrShadow);
    }
    if (m_bDrawRightBar)
        dc.Draw3dRect(rcItem.right + 2, rcItem.top, 2, rcItem.Height(), m_clrShadow, m_clrHilite);
    if (!bEnabled || state != kStateHot)
        return;
    dc.Draw3dRect(&rcItem, m_clrButton, m_clrButton);
    rcItem.InflateRect(1, 1);
    dc.Draw3dRect(&rcItem, m_clrShadow, m_clrHilite);
}

void CFlatEdit::DrawFrame()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rcItem;
    GetWindowRect(&rcItem);
    if (GetFocus() == this || rcItem.PtInRect(pt))
        DrawEdit(kStateHot, m_clrShadow, m_clrHilite);
    else
        DrawEdit(kStateCold, m_clrButton, m_clrButton);
}

void CFlatEdit::OnMouseMove(UINT nFlags, CPoint point)
{
    SetTimer(kHoverTimer, kHoverInterval, nullptr);
    CEdit::OnMouseMove(nFlags, point);
}

void CFlatEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLBtnDown = true;
    CEdit::OnLButtonDown(nFlags, point);
}

void CFlatEdit::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bLBtnDown = false;
    CEdit::OnLButtonUp(nFlags, point);
}

void CFlatEdit::OnTimer(UINT_PTR nIDEvent)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rcItem;
    GetWindowRect(&rcItem);
    if (rcItem.PtInRect(pt))
    {
        if (!s_bHover)
            DrawEdit(kStateHot, m_clrShadow, m_clrHilite);
        s_bHover = true;
        CEdit::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kHoverTimer);
    DrawFrame();
    s_bHover = false;
}

void CFlatEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    DrawEdit(kStateHot, m_clrShadow, m_clrHilite);
}

void CFlatEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    DrawEdit(kStateCold, m_clrButton, m_clrButton);
}

void CFlatEdit::OnPaint()
{
    Default();
    DrawFrame();
}

void CFlatEdit::OnSysColorChange()
{
    CEdit::OnSysColorChange();
    ReadColours();
}
