// A set of pixels as disjoint rectangles: the update regions, visible
// regions and exposed areas of the windowing layer.
#pragma once

#include "WinGdi.h"

#include <vector>

class RectSet
{
public:
    RectSet() = default;
    explicit RectSet(const RECT& rect);

    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<RECT>& GetRects() const { return m_rects; }
    RECT GetBounds() const;
    bool Contains(POINT pt) const;

    void Add(const RECT& rect);
    void Add(const RectSet& other);
    void Subtract(const RECT& rect);
    void Subtract(const RectSet& other);
    void Intersect(const RECT& rect);
    void Intersect(const RectSet& other);
    void Offset(int dx, int dy);
    void Clear() { m_rects.clear(); }

    // Region objects of the GDI: a new region, and the pixels of one.
    HRGN CreateRegion() const;
    static RectSet FromRegion(HRGN hRgn);

private:
    std::vector<RECT> m_rects;
};
