// GetRegionData: a region object as a list of disjoint rectangles.
#include "GdiRegionData.h"

#include "GdiTools.h"

#include <cstring>

DWORD GetRegionData(HRGN hRgn, DWORD count, LPRGNDATA data)
{
    const GdiRegion* region = GdiLookupAs<GdiRegion>(hRgn);
    if (region == nullptr)
        return 0;
    const std::vector<RECT> rects = region->m_region.GetRects();
    const DWORD rectBytes = static_cast<DWORD>(rects.size() * sizeof(RECT));
    const DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER)) + rectBytes;
    if (data == nullptr || count < needed)
        return needed;
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = rectBytes;
    data->rdh.rcBound = region->m_region.GetBounds();
    if (!rects.empty())
        std::memcpy(data->Buffer, rects.data(), rectBytes);
    return needed;
}
