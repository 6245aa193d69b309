// A set of pixels as horizontal bands of disjoint spans: the algebra behind
// region objects, clipping and shape coverage.
#pragma once

#include "WinGdi.h"

#include <vector>

struct Span
{
    int x0; // inclusive
    int x1; // exclusive
};

class Region
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
    bool IntersectsRect(const RECT& rect) const;
    const std::vector<Band>& GetBands() const { return m_bands; }
    // The spans of row y, or null when the row is empty.
    const std::vector<Span>* FindRow(int y) const;
    std::vector<RECT> GetRects() const;

    void Offset(int dx, int dy);
    static Region Combine(const Region& a, const Region& b, int mode);
    Region Intersect(const RECT& rect) const;
    // The pixels of the region with a 4-neighbour outside it.
    Region Boundary() const;
    bool operator==(const Region& other) const;

private:
    void AppendBand(int y0, int y1, std::vector<Span> spans);

    std::vector<Band> m_bands;
};

// Sorts and merges overlapping or touching spans.
void NormaliseSpans(std::vector<Span>& spans);
