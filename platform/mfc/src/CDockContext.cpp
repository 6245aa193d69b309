#include "AfxDockLayout.h"
#include "AfxDocking.h"
#include "AfxWinDC.h"

#include <algorithm>

namespace
{
constexpr int kOutline = 3;

// The size the bar takes in a form (mode of CalcDynamicLayout).
CSize FormSize(CControlBar* pBar, DWORD dwMode)
{
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
        return pBar->CalcDynamicLayout(-1, dwMode);
    return pBar->CalcFixedLayout(FALSE, (dwMode & LM_HORZ) != 0);
}

// A rectangle of a size around a point, keeping the point at the same
// offset as in the rectangle it came from (clamped inside).
CRect PlaceAround(CPoint pt, CPoint ptOffset, CSize size)
{
    const int dx = std::clamp<int>(ptOffset.x, 0, std::max<int>(0, size.cx - 1));
    const int dy = std::clamp<int>(ptOffset.y, 0, std::max<int>(0, size.cy - 1));
    return CRect(CPoint(pt.x - dx, pt.y - dy), size);
}

// The mini frame the bar would float in: the bar keeps the pointer where
// it holds it now (a press on a floating bar's caption stays on the
// caption).
CRect PlaceFloating(CPoint pt, CPoint ptOffset, CSize size, bool bFloating, DWORD dwBarStyle)
{
    const CRect rcBar = bFloating ? CRect(CPoint(pt.x - ptOffset.x, pt.y - ptOffset.y), size)
                                  : PlaceAround(pt, ptOffset, size);
    return CMiniDockFrameWnd::CalcFrameRect(rcBar, dwBarStyle);
}

UINT DockBarID(const CDockBar* pDockBar)
{
    return pDockBar != nullptr && pDockBar->m_hWnd != nullptr
               ? static_cast<UINT>(pDockBar->GetDlgCtrlID())
               : 0;
}
} // namespace

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {}

void CDockContext::StartDrag(CPoint ptScreen)
{
    m_pDockSite = m_pBar->GetDockingFrame();
    if (m_pDockSite == nullptr)
        return;
    CRect rcBar;
    m_pBar->GetWindowRect(&rcBar);
    const CPoint ptOffset(ptScreen.x - rcBar.left, ptScreen.y - rcBar.top);
    m_rectDragHorz = PlaceAround(ptScreen, ptOffset, FormSize(m_pBar, LM_HORZ | LM_HORZDOCK));
    m_rectDragVert = PlaceAround(ptScreen, ptOffset, FormSize(m_pBar, LM_VERTDOCK));
    m_rectFrameDragHorz = PlaceFloating(ptScreen, ptOffset, FormSize(m_pBar, LM_HORZ | LM_MRUWIDTH),
                                        m_pBar->IsFloating() != FALSE, m_pBar->m_dwStyle);
    m_ptLast = ptScreen;
    m_ptOffset = ptOffset;
    m_rectShown.SetRectEmpty();
    m_bDragging = FALSE;

    const HWND hBar = m_pBar->m_hWnd;
    ::SetCapture(hBar);
    while (::GetCapture() == hBar)
    {
        MSG msg{};
        if (!::GetMessageA(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message)
        {
        case WM_MOUSEMOVE:
        {
            CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            ::ClientToScreen(msg.hwnd, &pt);
            Move(pt);
            break;
        }
        case WM_LBUTTONUP:
            EndDrag(true);
            return;
        case WM_RBUTTONDOWN:
            EndDrag(false);
            return;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
            {
                EndDrag(false);
                return;
            }
            break;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    EndDrag(false);
}

void CDockContext::Move(CPoint ptScreen)
{
    const CSize delta = ptScreen - m_ptLast;
    if (!m_bDragging && std::abs(delta.cx) < ::GetSystemMetrics(SM_CXDRAG) &&
        std::abs(delta.cy) < ::GetSystemMetrics(SM_CYDRAG))
        return;
    m_bDragging = TRUE;
    m_ptLast = ptScreen;
    m_rectDragHorz.OffsetRect(delta);
    m_rectDragVert.OffsetRect(delta);
    m_rectFrameDragHorz.OffsetRect(delta);
    CRect rcDock;
    FindDockBar(rcDock);
    DrawOutline(rcDock);
}

CDockBar* CDockContext::FindDockBar(CRect& rcDock) const
{
    // Each side is tried with the outline of its own form.
    CDockBar* pFound = nullptr;
    for (const bool bHorz : {true, false})
    {
        CDockBar* pDockBar = nullptr;
        m_pDockSite->CanDock(bHorz ? m_rectDragHorz : m_rectDragVert,
                             m_dwDockStyle & (bHorz ? CBRS_ORIENT_HORZ : CBRS_ORIENT_VERT),
                             &pDockBar);
        if (pDockBar != nullptr)
        {
            pFound = pDockBar;
            rcDock = bHorz ? m_rectDragHorz : m_rectDragVert;
            break;
        }
    }
    if (pFound == nullptr)
        rcDock = m_rectFrameDragHorz;
    return pFound;
}

void CDockContext::DrawOutline(const CRect& rect)
{
    // An inverted frame on the dock site's window: drawn twice it is gone.
    CWindowDC dc(m_pDockSite);
    CRect rcFrame;
    m_pDockSite->GetWindowRect(&rcFrame);
    CBrush* pOld = dc.SelectObject(CDC::GetHalftoneBrush());
    for (const CRect* pRect : {static_cast<const CRect*>(&m_rectShown), &rect})
    {
        if (pRect->IsRectEmpty())
            continue;
        CRect rc(*pRect);
        rc.OffsetRect(-rcFrame.left, -rcFrame.top);
        dc.PatBlt(rc.left, rc.top, rc.Width(), kOutline, PATINVERT);
        dc.PatBlt(rc.left, rc.bottom - kOutline, rc.Width(), kOutline, PATINVERT);
        dc.PatBlt(rc.left, rc.top + kOutline, kOutline, rc.Height() - 2 * kOutline, PATINVERT);
        dc.PatBlt(rc.right - kOutline, rc.top + kOutline, kOutline, rc.Height() - 2 * kOutline,
                  PATINVERT);
    }
    dc.SelectObject(pOld);
    m_rectShown = rect;
}

void CDockContext::EndDrag(bool bDrop)
{
    // Drawing the last outline again takes it away.
    if (!m_rectShown.IsRectEmpty())
        DrawOutline(CRect(0, 0, 0, 0));
    if (::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    if (!bDrop || !m_bDragging)
        return;
    m_bDragging = FALSE;
    CRect rcDock;
    CDockBar* pDockBar = FindDockBar(rcDock);
    if (pDockBar != nullptr)
    {
        m_uMRUDockID = DockBarID(pDockBar);
        m_rectMRUDockPos = rcDock;
        m_pDockSite->DockControlBar(m_pBar, pDockBar, &rcDock);
    }
    else
    {
        if (!m_pBar->IsFloating())
            RememberDockedPlace();
        m_pDockSite->FloatControlBar(m_pBar, rcDock.TopLeft(), CBRS_ALIGN_TOP);
    }
}

void CDockContext::RememberDockedPlace()
{
    m_uMRUDockID = DockBarID(m_pBar->m_pDockBar);
    m_pBar->GetWindowRect(&m_rectMRUDockPos);
}

void CDockContext::ToggleDocking()
{
    m_pDockSite = m_pBar->GetDockingFrame();
    if (m_pDockSite == nullptr)
        return;
    if (m_pBar->IsFloating())
    {
        m_pDockSite->DockControlBar(m_pBar, m_uMRUDockID,
                                    m_uMRUDockID != 0 ? &m_rectMRUDockPos : nullptr);
        return;
    }
    RememberDockedPlace();
    CRect rcBar;
    m_pBar->GetWindowRect(&rcBar);
    m_pDockSite->FloatControlBar(m_pBar, rcBar.TopLeft(), CBRS_ALIGN_TOP);
}
