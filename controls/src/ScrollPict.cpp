#include "ScrollPict.h"

#include "AfxResource.h"
#include "AfxWinDC.h"
#include "DibLock.h"
#include "PicturePaint.h"
#include "WinResource.h"

IMPLEMENT_DYNAMIC(CScrollPict, CWnd)

BEGIN_MESSAGE_MAP(CScrollPict, CWnd)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace
{
constexpr UINT kDragCursor = 101;
} // namespace

CScrollPict::~CScrollPict()
{
    ReleaseImage();
}

void CScrollPict::ReleaseImage()
{
    if (m_hDib != nullptr && !m_bNotOwnDib)
        DestroyDIB(m_hDib);
    if (m_hPalette != nullptr && !m_bNotOwnPalette)
        DeleteObject(m_hPalette);
    m_hDib = nullptr;
    m_hPalette = nullptr;
}

BOOL CScrollPict::SetImage(HDIB hDib, HPALETTE hPalette)
{
    if (hDib != m_hDib || hPalette != m_hPalette)
        ReleaseImage();
    m_hDib = hDib;
    m_hPalette = hPalette;
    m_nPictureWidth = 0;
    m_nPictureHeight = 0;
    if (DibLock lock(hDib); lock)
    {
        m_nPictureWidth = int(DIBWidth(lock.Get()));
        m_nPictureHeight = int(DIBHeight(lock.Get()));
    }
    if (m_nPictureWidth <= 0 || m_nPictureHeight <= 0)
    {
        // A picture without pixels is dropped, and freed when it was handed over.
        ReleaseImage();
        m_nPictureWidth = 0;
        m_nPictureHeight = 0;
        if (m_hWnd != nullptr)
            Invalidate();
        return FALSE;
    }
    if (m_hWnd == nullptr)
        return TRUE;
    if (m_bScrollEnabled)
        SetScrollParam();
    Invalidate();
    UpdateWindow();
    return TRUE;
}

BOOL CScrollPict::GetImage(HDIB& hDib, HPALETTE& hPalette) const
{
    hDib = m_hDib;
    hPalette = m_hPalette;
    return TRUE;
}

void CScrollPict::SetFitWindow(BOOL bFit)
{
    m_bFitWindow = bFit;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CScrollPict::SetAlign(BOOL bLeft, BOOL bTop)
{
    m_bAlignLeft = bLeft;
    m_bAlignTop = bTop;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CScrollPict::EnableScroll(BOOL bEnable)
{
    m_bScrollEnabled = bEnable;
    if (m_hWnd != nullptr && m_hDib != nullptr && bEnable)
        SetScrollParam();
}

void CScrollPict::SetOwnership(BOOL bOwnDib, BOOL bOwnPalette)
{
    m_bNotOwnDib = !bOwnDib;
    m_bNotOwnPalette = !bOwnPalette;
}

void CScrollPict::SetPrompt(LPCSTR lpszPrompt)
{
    m_strPrompt = lpszPrompt;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CScrollPict::SetScrollParam()
{
    if (m_bFitWindow || m_bAlignLeft || m_bAlignTop)
        return;
    CRect client;
    GetClientRect(&client);
    // A bar that appears takes room from the other direction.
    int horz = m_nPictureWidth - client.Width();
    if (horz > 0)
        horz += GetSystemMetrics(SM_CXVSCROLL);
    int vert = m_nPictureHeight - client.Height();
    if (vert > 0)
        vert += GetSystemMetrics(SM_CYHSCROLL);
    SetScrollRange(SB_HORZ, 0, horz > 0 ? horz : 0, FALSE);
    SetScrollRange(SB_VERT, 0, vert > 0 ? vert : 0, FALSE);
    m_nHorzPos = 0;
    m_nVertPos = 0;
    m_nLastX = 0;
    m_nLastY = 0;
    SetScrollPos(SB_HORZ, 0);
    SetScrollPos(SB_VERT, 0);
}

void CScrollPict::ScrollBy(int nBar, UINT nSBCode, UINT nPos)
{
    int nMin = 0;
    int nMax = 0;
    GetScrollRange(nBar, &nMin, &nMax);
    const int span = nMax - nMin;
    int& position = nBar == SB_HORZ ? m_nHorzPos : m_nVertPos;
    int step = 0;
    switch (nSBCode)
    {
    case SB_LINEUP:
        step = -(span / 16 + 1);
        break;
    case SB_LINEDOWN:
        step = span / 16 + 1;
        break;
    case SB_PAGEUP:
        step = -(span / 4 + 1);
        break;
    case SB_PAGEDOWN:
        step = span / 4 + 1;
        break;
    case SB_THUMBTRACK:
        step = int(nPos) - position;
        break;
    default:
        break;
    }
    if (position + step < 0)
        step = -position;
    else if (position + step > nMax)
        step = nMax - position;
    if (step == 0)
        return;
    position += step;
    SetScrollPos(nBar, position);
    Invalidate(FALSE);
    // A drag that moves both ways repaints once, after the second bar.
    if (!(m_bBothScrolled && nBar == SB_HORZ))
        UpdateWindow();
}

void CScrollPict::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ScrollBy(SB_HORZ, nSBCode, nPos);
}

void CScrollPict::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ScrollBy(SB_VERT, nSBCode, nPos);
}

void CScrollPict::OnLButtonDown(UINT nFlags, CPoint point)
{
    const LPCSTR lpName = MAKEINTRESOURCE(kDragCursor);
    HCURSOR hCursor = LoadCursorA(AfxFindResourceHandle(lpName, RT_GROUP_CURSOR), lpName);
    if (hCursor == nullptr)
    {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    m_hSavedCursor = ::SetCursor(hCursor);
    m_bDragging = TRUE;
    m_nLastX = point.x;
    m_nLastY = point.y;
    SetCapture();
}

void CScrollPict::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bDragging)
    {
        CWnd::OnLButtonUp(nFlags, point);
        return;
    }
    m_bDragging = FALSE;
    ::SetCursor(m_hSavedCursor);
    ReleaseCapture();
}

void CScrollPict::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!m_bDragging || (client.Width() >= m_nPictureWidth && client.Height() >= m_nPictureHeight))
    {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    int nMin = 0;
    int hMax = 0;
    int vMax = 0;
    GetScrollRange(SB_HORZ, &nMin, &hMax);
    GetScrollRange(SB_VERT, &nMin, &vMax);
    auto moved = [](int position, int delta, int nMax) {
        return position - delta < 0 ? 0 : position - delta > nMax ? nMax : position - delta;
    };
    const bool bHorz = hMax >= 2 && point.x != m_nLastX;
    const bool bVert = vMax > 1 && point.y != m_nLastY;
    m_bBothScrolled = bHorz && bVert;
    if (bHorz)
        SendMessage(WM_HSCROLL,
                    MAKEWPARAM(SB_THUMBTRACK, moved(m_nHorzPos, point.x - m_nLastX, hMax)));
    if (bVert)
        SendMessage(WM_VSCROLL,
                    MAKEWPARAM(SB_THUMBTRACK, moved(m_nVertPos, point.y - m_nLastY, vMax)));
    m_bBothScrolled = FALSE;
    m_nLastX = point.x;
    m_nLastY = point.y;
}

void CScrollPict::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_bScrollEnabled && m_hDib != nullptr)
        SetScrollParam();
}

CRect CScrollPict::GetPicturePlace() const
{
    CRect target;
    GetClientRect(&target);
    target.DeflateRect(1, 1);
    if (!m_bScrollEnabled || m_bFitWindow || m_bAlignLeft || m_bAlignTop)
        return GetPictureRect(target, m_nPictureWidth, m_nPictureHeight, m_bFitWindow, m_bAlignLeft,
                              m_bAlignTop);
    // Scrolling shows the picture at its own size, centred while it is
    // smaller than the window.
    const int left =
        target.left +
        (target.Width() > m_nPictureWidth ? (target.Width() - m_nPictureWidth) / 2 : -m_nHorzPos);
    const int top =
        target.top + (target.Height() > m_nPictureHeight ? (target.Height() - m_nPictureHeight) / 2
                                                         : -m_nVertPos);
    return CRect(left, top, left + m_nPictureWidth, top + m_nPictureHeight);
}

void CScrollPict::OnPaint()
{
    CPaintDC dc(this);
    if (m_hDib == nullptr)
    {
        PaintEmbossedPrompt(*this, dc, m_strPrompt, m_nPromptFontHeight, m_nPromptFontWidth);
        return;
    }
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    CRect place = GetPicturePlace();
    CRect source(0, 0, m_nPictureWidth, m_nPictureHeight);
    PaintDIB(dc.GetSafeHdc(), &place, &source, m_hDib, m_hPalette);
}
