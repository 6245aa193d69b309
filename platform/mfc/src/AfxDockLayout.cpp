#include "AfxDockLayout.h"

#include <algorithm>

namespace
{
int Along(const SIZE& size, bool bHorz)
{
    return bHorz ? size.cx : size.cy;
}

int Across(const SIZE& size, bool bHorz)
{
    return bHorz ? size.cy : size.cx;
}

RECT MakeRect(bool bHorz, int nAlong, int nAcross, int cxAlong, int cyAcross)
{
    return bHorz ? RECT{nAlong, nAcross, nAlong + cxAlong, nAcross + cyAcross}
                 : RECT{nAcross, nAlong, nAcross + cyAcross, nAlong + cxAlong};
}

// Start of each slot along the row: wanted places kept in order, then
// pushed back from the far end while the row is too short.
std::vector<int> PlaceAlongRow(const std::vector<DockSlot>& row, bool bHorz, int nLength)
{
    std::vector<int> starts(row.size());
    std::vector<int> packed(row.size());
    int nPacked = 0;
    int nEnd = 0;
    for (size_t i = 0; i < row.size(); ++i)
    {
        const int cx = std::min(Along(row[i].size, bHorz), nLength);
        packed[i] = nPacked;
        starts[i] = std::max(i == 0 ? 0 : nEnd - kDockOverlap, row[i].nPos);
        nEnd = starts[i] + cx;
        nPacked += cx - kDockOverlap;
    }
    int nLimit = nLength;
    for (size_t i = row.size(); i-- > 0;)
    {
        const int cx = std::min(Along(row[i].size, bHorz), nLength);
        starts[i] = std::max(packed[i], std::min(starts[i], nLimit - cx));
        nLimit = starts[i] + kDockOverlap;
    }
    return starts;
}
} // namespace

DockRowsLayout CalcDockRows(const std::vector<std::vector<DockSlot>>& rows, bool bHorz, int nLength)
{
    DockRowsLayout layout;
    int nAcross = 0;
    bool bAnyRow = false;
    for (const auto& row : rows)
    {
        auto& rects = layout.rects.emplace_back();
        if (row.empty())
            continue;
        int nThickness = 0;
        for (const DockSlot& slot : row)
            nThickness = std::max(nThickness, Across(slot.size, bHorz));
        if (bAnyRow)
            nAcross -= kDockOverlap;
        const std::vector<int> starts = PlaceAlongRow(row, bHorz, nLength);
        for (size_t i = 0; i < row.size(); ++i)
            rects.push_back(MakeRect(bHorz, starts[i], nAcross,
                                     std::min(Along(row[i].size, bHorz), nLength),
                                     Across(row[i].size, bHorz)));
        nAcross += nThickness;
        bAnyRow = true;
    }
    layout.sizeTotal = bHorz ? SIZE{nLength, nAcross} : SIZE{nAcross, nLength};
    return layout;
}

int FindDockTarget(const std::vector<DockTarget>& sides, const RECT& rcHorz, const RECT& rcVert)
{
    for (size_t i = 0; i < sides.size(); ++i)
    {
        if (!sides[i].bAllowed)
            continue;
        RECT rcCommon{};
        if (IntersectRect(&rcCommon, &sides[i].rcSide, sides[i].bHorz ? &rcHorz : &rcVert))
            return static_cast<int>(i);
    }
    return -1;
}

DockDropRow FindDockDropRow(const std::vector<int>& rowThickness, int nAcross)
{
    int nStart = 0;
    for (size_t i = 0; i < rowThickness.size(); ++i)
    {
        const int nEnd = nStart + rowThickness[i];
        if (nAcross < nStart + 2 * kDockOverlap)
            return DockDropRow{static_cast<int>(i), true};
        if (nAcross < nEnd - 2 * kDockOverlap)
            return DockDropRow{static_cast<int>(i), false};
        nStart = nEnd - kDockOverlap;
    }
    return DockDropRow{static_cast<int>(rowThickness.size()), true};
}

int ClampEdgeDrag(int nFirst, int nFirstMin, int nSecond, int nSecondMin, int nDelta)
{
    const int nLowest = std::min(0, nFirstMin - nFirst);
    const int nHighest = std::max(0, nSecond - nSecondMin);
    return std::clamp(nDelta, nLowest, nHighest);
}

ToolbarWrap CalcToolbarWrap(const std::vector<ToolbarItem>& items, int cyButton, int nWidth)
{
    ToolbarWrap wrap;
    wrap.wraps.assign(items.size(), false);
    int x = 0;
    int nLast = -1; // the last item shown in the current row
    for (size_t i = 0; i < items.size(); ++i)
    {
        const ToolbarItem& item = items[i];
        if (item.bHidden)
            continue;
        if (x > 0 && x + item.cx > nWidth)
        {
            if (item.bSeparator)
            {
                wrap.wraps[i] = true;
                x = 0;
                nLast = -1;
                continue;
            }
            wrap.wraps[static_cast<size_t>(nLast)] = true;
            x = 0;
        }
        x += item.cx;
        nLast = static_cast<int>(i);
    }
    // The extent the toolbar control gives the items with these wraps.
    int y = 0;
    x = 0;
    for (size_t i = 0; i < items.size(); ++i)
    {
        const ToolbarItem& item = items[i];
        if (item.bHidden)
            continue;
        if (item.bSeparator && wrap.wraps[i])
        {
            y += (x > 0 ? cyButton : 0) + item.cx;
            x = 0;
            continue;
        }
        x += item.cx;
        wrap.size.cx = std::max<LONG>(wrap.size.cx, x);
        if (wrap.wraps[i])
        {
            y += cyButton;
            x = 0;
        }
    }
    wrap.size.cy = y + (x > 0 ? cyButton : 0);
    return wrap;
}
