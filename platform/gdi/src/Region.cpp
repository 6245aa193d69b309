#include "Region.h"

#include <algorithm>
#include <climits>

namespace
{
bool SameSpans(const std::vector<Span>& a, const std::vector<Span>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (a[i].x0 != b[i].x0 || a[i].x1 != b[i].x1)
            return false;
    }
    return true;
}

bool Inside(const std::vector<Span>* spans, int x)
{
    if (spans == nullptr)
        return false;
    for (const Span& s : *spans)
    {
        if (x < s.x0)
            return false;
        if (x < s.x1)
            return true;
    }
    return false;
}

bool Apply(int mode, bool a, bool b)
{
    switch (mode)
    {
    case RGN_AND:
        return a && b;
    case RGN_OR:
        return a || b;
    case RGN_XOR:
        return a != b;
    case RGN_DIFF:
        return a && !b;
    default:
        return a;
    }
}

// Combines two sorted disjoint span lists by sweeping their edges.
std::vector<Span> CombineSpans(const std::vector<Span>* a, const std::vector<Span>* b, int mode)
{
    std::vector<int> edges;
    for (const auto* list : {a, b})
    {
        if (list == nullptr)
            continue;
        for (const Span& s : *list)
        {
            edges.push_back(s.x0);
            edges.push_back(s.x1);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<Span> result;
    for (size_t i = 0; i + 1 < edges.size(); ++i)
    {
        const int x = edges[i];
        if (!Apply(mode, Inside(a, x), Inside(b, x)))
            continue;
        if (!result.empty() && result.back().x1 == x)
            result.back().x1 = edges[i + 1];
        else
            result.push_back(Span{x, edges[i + 1]});
    }
    return result;
}

// The pixels of a row with a 4-neighbour outside the region, given the rows
// above and below (null when empty).
std::vector<Span> RowBoundary(const std::vector<Span>& row, const std::vector<Span>* above,
                              const std::vector<Span>* below)
{
    std::vector<Span> eroded;
    for (const Span& s : row)
    {
        if (s.x1 - s.x0 > 2)
            eroded.push_back(Span{s.x0 + 1, s.x1 - 1});
    }
    std::vector<Span> inner = CombineSpans(&eroded, above, RGN_AND);
    inner = CombineSpans(&inner, below, RGN_AND);
    return CombineSpans(&row, &inner, RGN_DIFF);
}
} // namespace

void NormaliseSpans(std::vector<Span>& spans)
{
    spans.erase(
        std::remove_if(spans.begin(), spans.end(), [](const Span& s) { return s.x1 <= s.x0; }),
        spans.end());
    if (spans.size() < 2)
        return;
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    size_t out = 0;
    for (size_t i = 1; i < spans.size(); ++i)
    {
        if (spans[i].x0 <= spans[out].x1)
            spans[out].x1 = std::max(spans[out].x1, spans[i].x1);
        else
            spans[++out] = spans[i];
    }
    spans.resize(out + 1);
}

Region::Region(const RECT& rect)
{
    if (rect.right > rect.left && rect.bottom > rect.top)
        m_bands.push_back(Band{rect.top, rect.bottom, {Span{rect.left, rect.right}}});
}

void Region::AppendBand(int y0, int y1, std::vector<Span> spans)
{
    if (spans.empty() || y1 <= y0)
        return;
    if (!m_bands.empty() && m_bands.back().y1 == y0 && SameSpans(m_bands.back().spans, spans))
    {
        m_bands.back().y1 = y1;
        return;
    }
    m_bands.push_back(Band{y0, y1, std::move(spans)});
}

Region Region::FromRows(int y0, std::vector<std::vector<Span>> rows)
{
    Region region;
    for (size_t i = 0; i < rows.size(); ++i)
    {
        NormaliseSpans(rows[i]);
        const int y = y0 + static_cast<int>(i);
        region.AppendBand(y, y + 1, std::move(rows[i]));
    }
    return region;
}

int Region::GetComplexity() const
{
    if (m_bands.empty())
        return NULLREGION;
    if (m_bands.size() == 1 && m_bands[0].spans.size() == 1)
        return SIMPLEREGION;
    return COMPLEXREGION;
}

RECT Region::GetBounds() const
{
    if (m_bands.empty())
        return RECT{0, 0, 0, 0};
    RECT bounds{INT_MAX, m_bands.front().y0, INT_MIN, m_bands.back().y1};
    for (const Band& band : m_bands)
    {
        bounds.left = std::min<LONG>(bounds.left, band.spans.front().x0);
        bounds.right = std::max<LONG>(bounds.right, band.spans.back().x1);
    }
    return bounds;
}

const std::vector<Span>* Region::FindRow(int y) const
{
    auto it = std::upper_bound(m_bands.begin(), m_bands.end(), y,
                               [](int value, const Band& band) { return value < band.y1; });
    if (it == m_bands.end() || y < it->y0)
        return nullptr;
    return &it->spans;
}

bool Region::Contains(int x, int y) const
{
    return Inside(FindRow(y), x);
}

bool Region::IntersectsRect(const RECT& rect) const
{
    for (const Band& band : m_bands)
    {
        if (band.y1 <= rect.top || band.y0 >= rect.bottom)
            continue;
        for (const Span& s : band.spans)
        {
            if (s.x1 > rect.left && s.x0 < rect.right)
                return true;
        }
    }
    return false;
}

std::vector<RECT> Region::GetRects() const
{
    std::vector<RECT> rects;
    for (const Band& band : m_bands)
    {
        for (const Span& s : band.spans)
            rects.push_back(RECT{s.x0, band.y0, s.x1, band.y1});
    }
    return rects;
}

void Region::Offset(int dx, int dy)
{
    for (Band& band : m_bands)
    {
        band.y0 += dy;
        band.y1 += dy;
        for (Span& s : band.spans)
        {
            s.x0 += dx;
            s.x1 += dx;
        }
    }
}

Region Region::Combine(const Region& a, const Region& b, int mode)
{
    if (mode == RGN_COPY)
        return a;
    std::vector<int> edges;
    for (const Region* r : {&a, &b})
    {
        for (const Band& band : r->m_bands)
        {
            edges.push_back(band.y0);
            edges.push_back(band.y1);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    Region result;
    for (size_t i = 0; i + 1 < edges.size(); ++i)
    {
        const int y = edges[i];
        result.AppendBand(y, edges[i + 1], CombineSpans(a.FindRow(y), b.FindRow(y), mode));
    }
    return result;
}

Region& Region::Add(const Region& other)
{
    if (IsEmpty())
        return *this = other;
    if (!other.IsEmpty())
        *this = Combine(*this, other, RGN_OR);
    return *this;
}

Region& Region::Subtract(const Region& other)
{
    if (!IsEmpty() && !other.IsEmpty())
        *this = Combine(*this, other, RGN_DIFF);
    return *this;
}

Region& Region::Intersect(const Region& other)
{
    return *this = Combine(*this, other, RGN_AND);
}

Region& Region::Intersect(const RECT& rect)
{
    if (GetComplexity() != SIMPLEREGION)
        return Intersect(Region(rect));
    const RECT bounds = GetBounds();
    RECT result;
    return *this = IntersectRect(&result, &bounds, &rect) ? Region(result) : Region();
}

bool Region::operator==(const Region& other) const
{
    if (m_bands.size() != other.m_bands.size())
        return false;
    for (size_t i = 0; i < m_bands.size(); ++i)
    {
        const Band& a = m_bands[i];
        const Band& b = other.m_bands[i];
        if (a.y0 != b.y0 || a.y1 != b.y1 || !SameSpans(a.spans, b.spans))
            return false;
    }
    return true;
}

// Band by band rather than row by row: the rows inside a band share both
// neighbours, so a band gives at most three distinct rows of boundary
// whatever its height.
Region Region::Boundary() const
{
    Region result;
    for (size_t i = 0; i < m_bands.size(); ++i)
    {
        const Band& band = m_bands[i];
        const std::vector<Span>* above =
            i > 0 && m_bands[i - 1].y1 == band.y0 ? &m_bands[i - 1].spans : nullptr;
        const std::vector<Span>* below = i + 1 < m_bands.size() && m_bands[i + 1].y0 == band.y1
                                             ? &m_bands[i + 1].spans
                                             : nullptr;
        const int last = band.y1 - 1;
        result.AppendBand(band.y0, band.y0 + 1,
                          RowBoundary(band.spans, above, last > band.y0 ? &band.spans : below));
        if (last - band.y0 > 1)
            result.AppendBand(band.y0 + 1, last, RowBoundary(band.spans, &band.spans, &band.spans));
        if (last > band.y0)
            result.AppendBand(last, band.y1, RowBoundary(band.spans, &band.spans, below));
    }
    return result;
}
