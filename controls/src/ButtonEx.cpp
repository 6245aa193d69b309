// The owner-drawn push button with icons, flat mode and colours.
#include "ButtonEx.h"

#include "MemDC.h"
#include "OwnerDrawStyle.h"

namespace
{
// A line through three points in one solid pen.
void Polyline3(CDC& dc, COLORREF colour, CPoint a, CPoint b, CPoint c)
{
    CPen pen(PS_SOLID, 0, colour);
    CPen* pOldPen = dc.SelectObject(&pen);
    dc.MoveTo(a);
    dc.LineTo(b);
    dc.LineTo(c);
    dc.SelectObject(pOldPen);
}

// The two lines of a sunken edge, or a raised one with the colours swapped.
void DrawFlatEdge(CDC& dc, const CRect& r, COLORREF crTopLeft, COLORREF crBottomRight)
{
    Polyline3(dc, crTopLeft, CPoint(r.left, r.bottom - 1), CPoint(r.left, r.top),
              CPoint(r.right, r.top));
    Polyline3(dc, crBottomRight, CPoint(r.left, r.bottom - 1), CPoint(r.right - 1, r.bottom - 1),
              CPoint(r.right - 1, r.top - 1));
}

HICON LoadIconResource(int nId)
{
    const LPCSTR lpszName = MAKEINTRESOURCE(nId);
    return static_cast<HICON>(::LoadImageA(AfxFindResourceHandle(lpszName, RT_GROUP_ICON), lpszName,
                                           IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}
} // namespace

BEGIN_MESSAGE_MAP(CButtonEx, CButton)
ON_WM_MOUSEMOVE()
ON_WM_KILLFOCUS()
ON_WM_CAPTURECHANGED()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CButtonEx::CButtonEx()
    : m_crInactiveBg(GetSysColor(COLOR_BTNFACE)), m_crInactiveFg(GetSysColor(COLOR_BTNTEXT)),
      m_crActiveBg(GetSysColor(COLOR_BTNFACE)), m_crActiveFg(GetSysColor(COLOR_BTNTEXT))
{
}

CButtonEx::~CButtonEx()
{
    FreeIcons();
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
}

void CButtonEx::FreeIcons()
{
    if (m_hIconOut != nullptr && m_hIconOut != m_hIconIn)
        ::DestroyIcon(m_hIconOut);
    if (m_hIconIn != nullptr)
        ::DestroyIcon(m_hIconIn);
    m_hIconIn = nullptr;
    m_hIconOut = nullptr;
}

void CButtonEx::SetIcon(int nIconInId, int nIconOutId, BYTE cx, BYTE cy)
{
    SetIcon(nIconInId != 0 ? LoadIconResource(nIconInId) : nullptr,
            nIconInId != 0 && nIconOutId != 0 ? LoadIconResource(nIconOutId) : nullptr, cx, cy);
}

void CButtonEx::SetIcon(HICON hIconIn, HICON hIconOut, BYTE cx, BYTE cy)
{
    FreeIcons();
    if (hIconIn != nullptr)
    {
        m_hIconIn = hIconIn;
        m_hIconOut = hIconOut != nullptr ? hIconOut : hIconIn;
        m_cxIcon = cx;
        m_cyIcon = cy;
    }
    else if (hIconOut != nullptr)
    {
        ::DestroyIcon(hIconOut);
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

BOOL CButtonEx::SetBtnCursor(int nCursorId)
{
    if (m_hCursor != nullptr)
        ::DestroyCursor(m_hCursor);
    m_hCursor = nullptr;
    if (nCursorId == -1)
        return TRUE;
    const LPCSTR lpszName = MAKEINTRESOURCE(nCursorId);
    m_hCursor = static_cast<HCURSOR>(::LoadImageA(AfxFindResourceHandle(lpszName, RT_GROUP_CURSOR),
                                                  lpszName, IMAGE_CURSOR, 0, 0, 0));
    return m_hCursor != nullptr;
}

void CButtonEx::SetFlat(BOOL bState)
{
    m_bIsFlat = bState;
    Invalidate();
}

void CButtonEx::SetAlign(int nAlign)
{
    if (nAlign == 0 || nAlign == 1)
        m_nAlign = nAlign;
    Invalidate();
}

void CButtonEx::SetShowText(BOOL bShow)
{
    m_bShowText = bShow;
    Invalidate();
}

void CButtonEx::DrawBorder(BOOL bEnable)
{
    m_bDrawBorder = bEnable;
}

void CButtonEx::SetFlatFocus(BOOL bDrawFlatFocus, int bRepaint)
{
    m_bDrawFlatFocus = bDrawFlatFocus;
    if (bRepaint == 1)
        Invalidate();
}

void CButtonEx::SetColor(COLORREF& crMember, COLORREF crNew, int bRepaint)
{
    crMember = crNew;
    if (bRepaint == 1)
        Invalidate();
}

void CButtonEx::SetInactiveBgColor(COLORREF crNew, int bRepaint)
{
    SetColor(m_crInactiveBg, crNew, bRepaint);
}

void CButtonEx::SetInactiveFgColor(COLORREF crNew, int bRepaint)
{
    SetColor(m_crInactiveFg, crNew, bRepaint);
}

void CButtonEx::SetActiveBgColor(COLORREF crNew, int bRepaint)
{
    SetColor(m_crActiveBg, crNew, bRepaint);
}

void CButtonEx::SetActiveFgColor(COLORREF crNew, int bRepaint)
{
    SetColor(m_crActiveFg, crNew, bRepaint);
}

void CButtonEx::SetDefaultInactiveBgColor(int bRepaint)
{
    SetColor(m_crInactiveBg, GetSysColor(COLOR_BTNFACE), bRepaint);
}

void CButtonEx::SetDefaultInactiveFgColor(int bRepaint)
{
    SetColor(m_crInactiveFg, GetSysColor(COLOR_BTNTEXT), bRepaint);
}

void CButtonEx::SetDefaultActiveBgColor(int bRepaint)
{
    SetColor(m_crActiveBg, GetSysColor(COLOR_BTNFACE), bRepaint);
}

void CButtonEx::SetDefaultActiveFgColor(int bRepaint)
{
    SetColor(m_crActiveFg, GetSysColor(COLOR_BTNTEXT), bRepaint);
}

void CButtonEx::PreSubclassWindow()
{
    MakeOwnerDrawn(*this);
    CButton::PreSubclassWindow();
}

// ---------------------------------------------------------------- hover

void CButtonEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    if ((nFlags & MK_LBUTTON) && !m_MouseOnButton)
        return;
    if (!m_bIsFlat)
        return;
    if (GetCapture() != this)
    {
        if (GetOwner() != nullptr)
        {
            m_MouseOnButton = 1;
            SetCapture();
            Invalidate();
        }
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point))
        return;
    if (m_MouseOnButton)
    {
        m_MouseOnButton = 0;
        Invalidate();
    }
    if (!(nFlags & MK_LBUTTON))
        ::ReleaseCapture();
}

void CButtonEx::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    if (m_bIsFlat && m_MouseOnButton)
    {
        m_MouseOnButton = 0;
        Invalidate();
    }
}

void CButtonEx::OnCaptureChanged(CWnd* pWnd)
{
    if (m_MouseOnButton)
    {
        // Only a capture this button still holds: never the new holder's.
        if (GetCapture() == this)
            ::ReleaseCapture();
        Invalidate();
    }
    CButton::OnCaptureChanged(pWnd);
}

BOOL CButtonEx::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hCursor != nullptr)
    {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

// ---------------------------------------------------------------- drawing

void CButtonEx::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CMemDC memDC(CDC::FromHandle(lpDIS->hDC));
    CDC& dc = memDC;
    const BOOL bPressed = (lpDIS->itemState & ODS_SELECTED) != 0;
    const BOOL bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    const BOOL bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;
    const BOOL bActive = m_MouseOnButton || bPressed;
    CRect itemRect = lpDIS->rcItem;
    if (!m_bIsFlat && bFocused)
    {
        CBrush brBlack(RGB(0, 0, 0));
        dc.FrameRect(&itemRect, &brBlack);
        itemRect.DeflateRect(1, 1);
    }
    CBrush brBackground(bActive ? m_crActiveBg : m_crInactiveBg);
    dc.FillRect(&itemRect, &brBackground);
    DrawEdges(dc, itemRect, bPressed);
    CString sTitle;
    if (m_bShowText)
        GetWindowText(sTitle);
    CRect rcText = lpDIS->rcItem;
    if (m_hIconIn != nullptr)
        DrawIcon(dc, lpDIS->rcItem, rcText, bPressed, bDisabled, !sTitle.IsEmpty());
    if (!sTitle.IsEmpty())
        DrawCaption(dc, rcText, sTitle, bPressed, bDisabled, bActive);
    if (bFocused && (!m_bIsFlat || m_bDrawFlatFocus))
    {
        CRect rcFocus = itemRect;
        rcFocus.DeflateRect(3, 3);
        ::DrawFocusRect(dc.m_hDC, &rcFocus);
    }
}

void CButtonEx::DrawEdges(CDC& dc, const CRect& r, BOOL bPressed)
{
    if (bPressed)
    {
        if (!m_bIsFlat)
        {
            CBrush brShadow(GetSysColor(COLOR_BTNSHADOW));
            dc.FrameRect(&r, &brShadow);
        }
        else if (m_bDrawBorder)
        {
            DrawFlatEdge(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }
    if (!m_bIsFlat)
    {
        Polyline3(dc, GetSysColor(COLOR_BTNHIGHLIGHT), CPoint(r.left, r.bottom - 1),
                  CPoint(r.left, r.top), CPoint(r.right, r.top));
        Polyline3(dc, GetSysColor(COLOR_3DLIGHT), CPoint(r.left + 1, r.bottom - 1),
                  CPoint(r.left + 1, r.top + 1), CPoint(r.right, r.top + 1));
        Polyline3(dc, GetSysColor(COLOR_3DDKSHADOW), CPoint(r.left, r.bottom - 1),
                  CPoint(r.right - 1, r.bottom - 1), CPoint(r.right - 1, r.top - 1));
        Polyline3(dc, GetSysColor(COLOR_BTNSHADOW), CPoint(r.left + 1, r.bottom - 2),
                  CPoint(r.right - 2, r.bottom - 2), CPoint(r.right - 2, r.top));
    }
    else if (m_MouseOnButton && m_bDrawBorder)
    {
        DrawFlatEdge(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
}

void CButtonEx::DrawIcon(CDC& dc, const CRect& rcItem, CRect& rcText, BOOL bPressed, BOOL bDisabled,
                         bool bHasText)
{
    CRect rcImage = rcItem;
    if (m_nAlign == 0)
    {
        if (!bHasText)
        {
            rcImage.left += (rcItem.Width() - m_cxIcon) / 2;
        }
        else
        {
            rcImage.left += m_nSpacing;
            rcText.left += m_nSpacing + m_cxIcon;
        }
        rcImage.top += (rcItem.Height() - m_cyIcon) / 2;
    }
    else
    {
        rcImage.left += (rcItem.Width() - m_cxIcon) / 2;
        if (!bHasText)
        {
            rcImage.top += (rcItem.Height() - m_cyIcon) / 2;
        }
        else
        {
            rcImage.top += m_nSpacing;
            rcText.top += m_cyIcon;
        }
    }
    if (bPressed)
        rcImage.OffsetRect(1, 1);
    const HICON hIcon = m_MouseOnButton || bPressed ? m_hIconIn : m_hIconOut;
    ::DrawStateA(dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, rcImage.left,
                 rcImage.top, m_cxIcon, m_cyIcon,
                 DST_ICON | (bDisabled ? DSS_DISABLED : DSS_NORMAL));
}

void CButtonEx::DrawCaption(CDC& dc, CRect rcText, const CString& text, BOOL bPressed,
                            BOOL bDisabled, BOOL bActive)
{
    dc.SetBkMode(TRANSPARENT);
    if (bPressed)
        rcText.OffsetRect(1, 1);
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetTextColor(bActive ? m_crActiveFg : m_crInactiveFg);
    dc.SetBkColor(bActive ? m_crActiveBg : m_crInactiveBg);
    const DWORD dwStyle = GetStyle();
    UINT nFormat = DT_CENTER | DT_VCENTER;
    if (!(dwStyle & BS_MULTILINE))
        nFormat |= DT_SINGLELINE;
    if (dwStyle & BS_RIGHT)
        nFormat |= DT_RIGHT;
    if (!bDisabled)
    {
        dc.DrawText(text, -1, &rcText, nFormat);
    }
    else
    {
        // Measured, centred where the text would stand, then embossed.
        const CRect rcCentre = rcText;
        dc.DrawText(text, -1, &rcText, DT_CALCRECT | (nFormat & DT_SINGLELINE));
        rcText.OffsetRect((rcCentre.Width() - rcText.Width()) / 2,
                          (rcCentre.Height() - rcText.Height()) / 2);
        ::DrawStateA(dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(LPCSTR(text)),
                     WPARAM(text.GetLength()), rcText.left, rcText.top, rcText.Width(),
                     rcText.Height(), DST_TEXT | DSS_DISABLED);
    }
    dc.SelectObject(pOldFont);
}
