// Sorting the grid's rows by a column's texts or by a comparison of the
// cells' user values.
#include "GridCtrl.h"

#include <utility>

namespace
{
// The partition sort of rows low..high by a key per row: rows are swapped
// only when their keys differ, so equal rows stay where they are.
template <typename Key, typename KeyOf, typename Compare, typename Swap>
void PartitionSort(int low, int high, BOOL bAscending, const KeyOf& keyOf, const Compare& compare,
                   const Swap& swapRows)
{
    int lo = low;
    int hi = high;
    const Key midItem = keyOf((lo + hi) / 2);
    const int nSign = bAscending ? 1 : -1;
    while (lo <= hi)
    {
        while (lo < high && nSign * compare(keyOf(lo), midItem) < 0)
            ++lo;
        while (hi > low && nSign * compare(keyOf(hi), midItem) > 0)
            --hi;
        if (lo <= hi)
        {
            if (compare(keyOf(lo), keyOf(hi)) != 0)
                swapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        PartitionSort<Key>(low, hi, bAscending, keyOf, compare, swapRows);
    if (lo < high)
        PartitionSort<Key>(lo, high, bAscending, keyOf, compare, swapRows);
}
} // namespace

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
    if (high <= low)
        return FALSE;
    PartitionSort<CString>(
        low, high, bAscending, [&](int row) { return GetItemText(row, nCol); },
        [](const CString& a, const CString& b) { return a.Compare(b); },
        [this](int a, int b) { SwapRows(a, b); });
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
    if (high <= low)
        return FALSE;
    PartitionSort<LPARAM>(
        low, high, bAscending, [&](int row) { return GetItemData(row, nCol); },
        [&](LPARAM a, LPARAM b) { return pfnCompare(a, b, data); },
        [this](int a, int b) { SwapRows(a, b); });
    return TRUE;
}
