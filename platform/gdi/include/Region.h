// A set of pixels as horizontal bands of disjoint spans: the one region
// algebra of the layer, behind region objects, clipping, shape coverage and
// the windowing layer's update and visible areas.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

#include <vector>

struct Span
{
    int x0; // inclusive
    int x1; // exclusive
};

class PLATFORMGDI_API Region
{
public:
    struct Band
    {
        int y0;
        int y1;
        std::vector<Span> spans;
    };

    Region() = default;
    explicit Region(const RECT& rect);
    // Rows of spans starting at row y0; each row's spans may overlap and come
    // in any order.
    static Region FromRows(int y0, std::vector<std::vector<Span>> rows);

    bool IsEmpty() const { return m_bands.empty(); }
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int GetComplexity() const;
    RECT GetBounds() const;
    bool Contains(int x, int y) const;
    bool Contains(POINT pt) const { return Contains(pt.x, pt.y); }
    bool IntersectsRect(const RECT& rect) const;
    const std::vector<Band>& GetBands() const { return m_bands; }
    // The spans of row y, or null when the row is empty.
    const std::vector<Span>* FindRow(int y) const;
    std::vector<RECT> GetRects() const;

    void Offset(int dx, int dy);
    static Region Combine(const Region& a, const Region& b, int mode);
    // The set operations in place.
    Region& Add(const Region& other);
    Region& Add(const RECT& rect) { return Add(Region(rect)); }
    Region& Subtract(const Region& other);
    Region& Subtract(const RECT& rect) { return Subtract(Region(rect)); }
    Region& Intersect(const Region& other);
    Region& Intersect(const RECT& rect);
    void Clear() { m_bands.clear(); }
    // The pixels of the region with a 4-neighbour outside it.
    Region Boundary() const;
    bool operator==(const Region& other) const;

private:
    void AppendBand(int y0, int y1, std::vector<Span> spans);

    std::vector<Band> m_bands;
};

// Sorts and merges overlapping or touching spans.
PLATFORMGDI_API void NormaliseSpans(std::vector<Span>& spans);

// A new region object holding the pixels of a region.
PLATFORMGDI_API HRGN GdiCreateRegion(const Region& region);
// The pixels of a region object; empty for a handle that is not one.
PLATFORMGDI_API Region GdiGetRegion(HRGN hRgn);
