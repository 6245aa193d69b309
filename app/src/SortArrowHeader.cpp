#include "SortArrowHeader.h"

#include "AfxArchive.h"
#include "WinDrawing.h"

#include <vector>

void CSortArrowHeader::SetSortArrow(int nColumn, bool bAscending)
{
    m_nSortColumn = nColumn;
    m_bAscending = bAscending;
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (GetItem(nColumn, &item))
    {
        item.fmt |= HDF_OWNERDRAW;
        SetItem(nColumn, &item);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSortArrowHeader::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const HDC hDC = lpDrawItemStruct->hDC;
    const RECT rcItem = lpDrawItemStruct->rcItem;
    const int nSaved = ::SaveDC(hDC);
    ::IntersectClipRect(hDC, rcItem.left, rcItem.top, rcItem.right, rcItem.bottom);
    ::FillRect(hDC, &rcItem, ::GetSysColorBrush(COLOR_BTNFACE));

    char szText[256] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText) - 1;
    GetItem(static_cast<int>(lpDrawItemStruct->itemID), &item);

    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        nFormat |= DT_CENTER;
    else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
        nFormat |= DT_RIGHT;
    else
        nFormat |= DT_LEFT;

    RECT rcText = rcItem;
    if (lpDrawItemStruct->itemState & ODS_SELECTED)
        ::OffsetRect(&rcText, 1, 2);
    const int nOffset = (rcItem.bottom - rcItem.top) / 4;
    const bool bSorted = static_cast<int>(lpDrawItemStruct->itemID) == m_nSortColumn;
    if (bSorted)
        rcText.right -= 3 * nOffset;
    rcText.left += nOffset;
    rcText.right -= nOffset;
    if (rcText.left < rcText.right)
    {
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextA(hDC, szText, -1, &rcText, nFormat);
    }
    if (bSorted)
        DrawArrow(hDC, rcItem);
    ::RestoreDC(hDC, nSaved);
}

void CSortArrowHeader::DrawArrow(HDC hDC, const RECT& rcItem) const
{
    // Lit from the top left: the edges facing it take the highlight.
    const int nRight = rcItem.right;
    const int nHeight = rcItem.bottom - rcItem.top;
    const int o = nHeight / 4;
    const int nTop = rcItem.top;
    const HPEN hHighlight = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    const HPEN hShadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    const HGDIOBJ hOld = ::SelectObject(hDC, hHighlight);
    if (m_bAscending)
    {
        ::MoveToEx(hDC, nRight - 2 * o, nTop + o, nullptr);
        ::LineTo(hDC, nRight - o, nTop + nHeight - o - 1);
        ::LineTo(hDC, nRight - 3 * o - 2, nTop + nHeight - o - 1);
        ::SelectObject(hDC, hShadow);
        ::MoveToEx(hDC, nRight - 3 * o - 1, nTop + nHeight - o - 1, nullptr);
        ::LineTo(hDC, nRight - 2 * o, nTop + o - 1);
    }
    else
    {
        ::MoveToEx(hDC, nRight - o - 1, nTop + o, nullptr);
        ::LineTo(hDC, nRight - 2 * o - 1, nTop + nHeight - o);
        ::SelectObject(hDC, hShadow);
        ::MoveToEx(hDC, nRight - 2 * o - 2, nTop + nHeight - o, nullptr);
        ::LineTo(hDC, nRight - 3 * o - 1, nTop + o);
        ::LineTo(hDC, nRight - o - 1, nTop + o);
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hHighlight);
    ::DeleteObject(hShadow);
}

void CSortArrowHeader::Serialize(CArchive& ar)
{
    const int nCount = GetItemCount();
    if (ar.IsStoring())
    {
        ar << static_cast<LONG>(nCount);
        for (int i = 0; i < nCount; ++i)
        {
            RECT rc{};
            GetItemRect(i, &rc);
            ar << static_cast<LONG>(rc.right - rc.left);
        }
        return;
    }
    LONG nStored = 0;
    ar >> nStored;
    std::vector<LONG> widths(static_cast<std::size_t>(std::max<LONG>(nStored, 0)));
    for (LONG& nWidth : widths)
        ar >> nWidth;
    if (nStored != nCount)
        return;
    for (int i = 0; i < nCount; ++i)
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = static_cast<int>(widths[static_cast<std::size_t>(i)]);
        SetItem(i, &item);
    }
}
