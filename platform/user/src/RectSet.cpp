#include "RectSet.h"

#include "GdiRegionData.h"
#include "WinGeometry.h"

#include <algorithm>
#include <cstring>

namespace
{
bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// The parts of a that lie outside b, as up to four rectangles.
void AppendDifference(const RECT& a, const RECT& b, std::vector<RECT>& out)
{
    RECT overlap;
    if (!IntersectRect(&overlap, &a, &b))
    {
        out.push_back(a);
        return;
    }
    if (a.top < overlap.top)
        out.push_back(RECT{a.left, a.top, a.right, overlap.top});
    if (overlap.bottom < a.bottom)
        out.push_back(RECT{a.left, overlap.bottom, a.right, a.bottom});
    if (a.left < overlap.left)
        out.push_back(RECT{a.left, overlap.top, overlap.left, overlap.bottom});
    if (overlap.right < a.right)
        out.push_back(RECT{overlap.right, overlap.top, a.right, overlap.bottom});
}
} // namespace

RectSet::RectSet(const RECT& rect)
{
    if (!IsEmptyRect(rect))
        m_rects.push_back(rect);
}

RECT RectSet::GetBounds() const
{
    RECT bounds{0, 0, 0, 0};
    for (const RECT& rect : m_rects)
        UnionRect(&bounds, &bounds, &rect);
    return bounds;
}

bool RectSet::Contains(POINT pt) const
{
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const RECT& rect) { return PtInRect(&rect, pt) != FALSE; });
}

void RectSet::Add(const RECT& rect)
{
    RectSet added(rect);
    added.Subtract(*this);
    m_rects.insert(m_rects.end(), added.m_rects.begin(), added.m_rects.end());
}

void RectSet::Add(const RectSet& other)
{
    for (const RECT& rect : other.m_rects)
        Add(rect);
}

void RectSet::Subtract(const RECT& rect)
{
    if (IsEmptyRect(rect))
        return;
    std::vector<RECT> result;
    for (const RECT& own : m_rects)
        AppendDifference(own, rect, result);
    m_rects = std::move(result);
}

void RectSet::Subtract(const RectSet& other)
{
    for (const RECT& rect : other.m_rects)
        Subtract(rect);
}

void RectSet::Intersect(const RECT& rect)
{
    std::vector<RECT> result;
    for (const RECT& own : m_rects)
    {
        RECT overlap;
        if (IntersectRect(&overlap, &own, &rect))
            result.push_back(overlap);
    }
    m_rects = std::move(result);
}

void RectSet::Intersect(const RectSet& other)
{
    RectSet result;
    for (const RECT& rect : other.m_rects)
    {
        RectSet part = *this;
        part.Intersect(rect);
        result.m_rects.insert(result.m_rects.end(), part.m_rects.begin(), part.m_rects.end());
    }
    *this = std::move(result);
}

void RectSet::Offset(int dx, int dy)
{
    for (RECT& rect : m_rects)
        OffsetRect(&rect, dx, dy);
}

HRGN RectSet::CreateRegion() const
{
    HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& rect : m_rects)
    {
        HRGN hPart = CreateRectRgnIndirect(&rect);
        CombineRgn(hRgn, hRgn, hPart, RGN_OR);
        DeleteObject(hPart);
    }
    return hRgn;
}

RectSet RectSet::FromRegion(HRGN hRgn)
{
    RectSet set;
    const DWORD size = GetRegionData(hRgn, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return set;
    std::vector<BYTE> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(hRgn, size, data) == 0)
        return set;
    set.m_rects.resize(data->rdh.nCount);
    std::memcpy(set.m_rects.data(), data->Buffer, data->rdh.nCount * sizeof(RECT));
    return set;
}
