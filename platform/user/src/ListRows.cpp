#include "ListRows.h"

#include "WinMessages.h"
#include "WinPaint.h"
#include "WinScrollBar.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
// The first row shown after the scroll-bar request nCode, kept within the
// rows; -1 for a request that moves nothing.
int ScrolledTopRow(HWND hWnd, WORD nCode, int nTop, int nPage, int nCount)
{
    switch (nCode)
    {
    case SB_LINEUP:
        --nTop;
        break;
    case SB_LINEDOWN:
        ++nTop;
        break;
    case SB_PAGEUP:
        nTop -= nPage;
        break;
    case SB_PAGEDOWN:
        nTop += nPage;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
    {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hWnd, SB_VERT, &info);
        nTop = info.nTrackPos;
        break;
    }
    case SB_TOP:
        nTop = 0;
        break;
    case SB_BOTTOM:
        nTop = nCount;
        break;
    default:
        return -1;
    }
    return std::clamp(nTop, 0, std::max(0, nCount - nPage));
}
} // namespace

void ListRows::OnVScroll(WORD nCode)
{
    const int nTop = ScrolledTopRow(m_hWnd, nCode, m_nTop, VisibleCount(), Count());
    if (nTop < 0 || nTop == m_nTop)
        return;
    m_nTop = nTop;
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void ListRows::OnMouseWheel(WPARAM wParam)
{
    OnVScroll(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void ListRows::ShowRowsOnScrollBar()
{
    const int nPage = VisibleCount();
    m_nTop = std::clamp(m_nTop, 0, std::max(0, Count() - nPage));
    SCROLLINFO info{sizeof(SCROLLINFO),
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, Count() - 1),
                    static_cast<UINT>(nPage),
                    m_nTop,
                    0};
    SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
    ShowScrollBar(m_hWnd, SB_VERT, Count() > nPage);
}

void ListRows::EnsureVisible(int nItem)
{
    if (nItem < 0 || nItem >= Count())
        return;
    const int nPage = VisibleCount();
    int nTop = m_nTop;
    if (nItem < m_nTop)
        nTop = nItem;
    else if (nItem >= m_nTop + nPage)
        nTop = nItem - nPage + 1;
    if (nTop == m_nTop)
        return;
    m_nTop = nTop;
    UpdateScrollBar();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

int ListRows::RowAfterKey(WPARAM nKey, int nFrom) const
{
    const int nCount = Count();
    if (nCount == 0)
        return -1;
    // A page less one row, so that a row of the page before stays in sight.
    const int nPage = std::max(1, VisibleCount() - 1);
    switch (nKey)
    {
    case VK_UP:
        return std::max(0, nFrom - 1);
    case VK_DOWN:
        return std::min(nCount - 1, nFrom + 1);
    case VK_PRIOR:
        return std::max(0, nFrom - nPage);
    case VK_NEXT:
        return std::min(nCount - 1, nFrom + nPage);
    case VK_HOME:
        return 0;
    case VK_END:
        return nCount - 1;
    default:
        return -1;
    }
}

int ListRows::EndOfPaintedRows() const
{
    return std::min(Count(), m_nTop + VisibleCount() + 1);
}
