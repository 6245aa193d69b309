// Sorting the grid's rows by a column's texts or by a comparison of the
// cells' user values.
#include "GridCtrl.h"

#include <utility>

void CGridCtrl::SwapRows(int nRow1, int nRow2)
{
    std::swap(m_RowData[size_t(nRow1)], m_RowData[size_t(nRow2)]);
    std::swap(m_arRowHeights[size_t(nRow1)], m_arRowHeights[size_t(nRow2)]);
}

BOOL CGridCtrl::SortTextItems(int nCol, BOOL bAscending)
{
    if (nCol < 0 || nCol >= m_nCols || m_nFixedRows >= m_nRows - 1)
        return FALSE;
    // The selection map and the focus name cells by position; rows move.
    ResetSelectedRange();
    return SortTextItems(nCol, bAscending, m_nFixedRows, -1);
}

BOOL CGridCtrl::SortTextItems(int nCol, BOOL bAscending, int low, int high)
{
    if (nCol >= m_nCols)
        return FALSE;
    if (high == -1)
        high = m_nRows - 1;
    int lo = low;
    int hi = high;
    if (hi <= lo)
        return FALSE;

    const CString midItem = GetItemText((lo + hi) / 2, nCol);
    while (lo <= hi)
    {
        if (bAscending)
        {
            while (lo < high && GetItemText(lo, nCol).Compare(midItem) < 0)
                ++lo;
            while (hi > low && GetItemText(hi, nCol).Compare(midItem) > 0)
                --hi;
        }
        else
        {
            while (lo < high && GetItemText(lo, nCol).Compare(midItem) > 0)
                ++lo;
            while (hi > low && GetItemText(hi, nCol).Compare(midItem) < 0)
                --hi;
        }
        if (lo <= hi)
        {
            if (GetItemText(lo, nCol) != GetItemText(hi, nCol))
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortTextItems(nCol, bAscending, low, hi);
    if (lo < high)
        SortTextItems(nCol, bAscending, lo, high);
    return TRUE;
}

BOOL CGridCtrl::SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data)
{
    if (pfnCompare == nullptr || nCol < 0 || nCol >= m_nCols || m_nFixedRows >= m_nRows - 1)
        return FALSE;
    ResetSelectedRange();
    return SortItems(pfnCompare, nCol, bAscending, data, m_nFixedRows, -1);
}

BOOL CGridCtrl::SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low,
                          int high)
{
    if (nCol >= m_nCols)
        return FALSE;
    if (high == -1)
        high = m_nRows - 1;
    int lo = low;
    int hi = high;
    if (hi <= lo)
        return FALSE;

    const LPARAM midItem = GetItemData((lo + hi) / 2, nCol);
    while (lo <= hi)
    {
        if (bAscending)
        {
            while (lo < high && pfnCompare(GetItemData(lo, nCol), midItem, data) < 0)
                ++lo;
            while (hi > low && pfnCompare(GetItemData(hi, nCol), midItem, data) > 0)
                --hi;
        }
        else
        {
            while (lo < high && pfnCompare(GetItemData(lo, nCol), midItem, data) > 0)
                ++lo;
            while (hi > low && pfnCompare(GetItemData(hi, nCol), midItem, data) < 0)
                --hi;
        }
        if (lo <= hi)
        {
            if (pfnCompare(GetItemData(lo, nCol), GetItemData(hi, nCol), data) != 0)
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortItems(pfnCompare, nCol, bAscending, data, low, hi);
    if (lo < high)
        SortItems(pfnCompare, nCol, bAscending, data, lo, high);
    return TRUE;
}
