#include "GdiShapes.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;

int CeilHalf(double v)
{
    return static_cast<int>(std::ceil(v - 0.5));
}

// Pixels whose centres lie in [lo, hi].
void AddInterval(CoverageBuilder& out, int y, double lo, double hi)
{
    const int x0 = static_cast<int>(std::ceil(lo - 0.5));
    const int x1 = static_cast<int>(std::floor(hi - 0.5)) + 1;
    if (x1 > x0)
        out.AddSpan(y, x0, x1);
}
} // namespace

void CoverageBuilder::AddPixel(int x, int y)
{
    AddSpan(y, x, x + 1);
}

void CoverageBuilder::AddSpan(int y, int x0, int x1)
{
    if (x1 <= x0)
        return;
    if (m_rows.empty())
        m_y0 = y;
    if (y < m_y0)
    {
        m_rows.insert(m_rows.begin(), std::size_t(m_y0 - y), {});
        m_y0 = y;
    }
    if (std::size_t(y - m_y0) >= m_rows.size())
        m_rows.resize(std::size_t(y - m_y0) + 1);
    // A stepped line comes pixel by pixel: its run along a row grows one
    // span rather than one span a pixel for Build to sort and merge.
    std::vector<Span>& row = m_rows[std::size_t(y - m_y0)];
    if (!row.empty() && row.back().x1 == x0)
        row.back().x1 = x1;
    else if (!row.empty() && row.back().x0 == x1)
        row.back().x0 = x0;
    else
        row.push_back(Span{x0, x1});
}

Region CoverageBuilder::Build()
{
    Region region = Region::FromRows(m_y0, std::move(m_rows));
    m_rows.clear();
    return region;
}

void AddThinLine(POINT a, POINT b, const RECT& bounds, const std::vector<int>& pattern,
                 int& styleOffset, PixelSink& on, PixelSink& off)
{
    const std::int64_t dx = std::int64_t(b.x) - a.x;
    const std::int64_t dy = std::int64_t(b.y) - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    const std::int64_t major = std::max(adx, ady);
    if (major == 0)
        return;
    const bool xMajor = adx >= ady;
    const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t minorExtent = xMajor ? ady : adx;
    const std::int64_t start = xMajor ? a.x : a.y;
    const std::int64_t lo = xMajor ? bounds.left : bounds.top;
    const std::int64_t hi = xMajor ? bounds.right : bounds.bottom;
    // Steps whose major coordinate falls inside the bounds.
    std::int64_t iFrom = 0;
    std::int64_t iTo = major;
    if (sMajor > 0)
    {
        iFrom = std::max<std::int64_t>(iFrom, lo - start);
        iTo = std::min<std::int64_t>(iTo, hi - start);
    }
    else
    {
        iFrom = std::max<std::int64_t>(iFrom, start - hi + 1);
        iTo = std::min<std::int64_t>(iTo, start - lo + 1);
    }
    std::int64_t period = 0;
    for (int length : pattern)
        period += length;
    for (std::int64_t i = iFrom; i < iTo; ++i)
    {
        const std::int64_t minor = (2 * i * minorExtent + major) / (2 * major);
        const std::int64_t x = xMajor ? a.x + sMajor * i : a.x + sMinor * minor;
        const std::int64_t y = xMajor ? a.y + sMinor * minor : a.y + sMajor * i;
        if (x < bounds.left || x >= bounds.right || y < bounds.top || y >= bounds.bottom)
            continue;
        bool isOn = true;
        if (period > 0)
        {
            std::int64_t position = (styleOffset + i) % period;
            std::size_t k = 0;
            while (position >= pattern[k])
            {
                position -= pattern[k];
                ++k;
            }
            isOn = (k % 2) == 0;
        }
        (isOn ? on : off).AddPixel(int(x), int(y));
    }
    if (period > 0)
        styleOffset = int((styleOffset + major) % period);
}

void AddWideLine(double ax, double ay, double bx, double by, double width, const RECT& bounds,
                 CoverageBuilder& out)
{
    const double r = width / 2.0;
    // Work with pixel centres: the line runs between the centres of its end
    // pixels.
    ax += 0.5;
    ay += 0.5;
    bx += 0.5;
    by += 0.5;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::sqrt(dx * dx + dy * dy);
    const int yTop = std::max<int>(bounds.top, int(std::floor(std::min(ay, by) - r)) - 1);
    const int yBottom = std::min<int>(bounds.bottom, int(std::ceil(std::max(ay, by) + r)) + 1);
    for (int y = yTop; y < yBottom; ++y)
    {
        const double yc = y + 0.5;
        double lo = 1e300;
        double hi = -1e300;
        for (const auto& [cx, cy] : {std::pair{ax, ay}, std::pair{bx, by}})
        {
            const double ddy = yc - cy;
            if (std::fabs(ddy) <= r)
            {
                const double h = std::sqrt(r * r - ddy * ddy);
                lo = std::min(lo, cx - h);
                hi = std::max(hi, cx + h);
            }
        }
        if (length > 0)
        {
            // The rectangle swept by the segment: corners a +- n r, b +- n r.
            const double nx = -dy / length * r;
            const double ny = dx / length * r;
            const double px[4] = {ax + nx, bx + nx, bx - nx, ax - nx};
            const double py[4] = {ay + ny, by + ny, by - ny, ay - ny};
            for (int k = 0; k < 4; ++k)
            {
                const double x0 = px[k];
                const double y0 = py[k];
                const double x1 = px[(k + 1) % 4];
                const double y1 = py[(k + 1) % 4];
                if ((yc < std::min(y0, y1)) || (yc > std::max(y0, y1)) || y0 == y1)
                    continue;
                const double x = x0 + (yc - y0) * (x1 - x0) / (y1 - y0);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        if (lo > hi)
            continue;
        lo = std::max(lo, double(bounds.left) - 1);
        hi = std::min(hi, double(bounds.right) + 1);
        AddInterval(out, y, lo, hi);
    }
}

Region EllipseCoverage(const RECT& rect)
{
    CoverageBuilder out;
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    const double rx = (rect.right - rect.left) / 2.0;
    const double ry = (rect.bottom - rect.top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return Region();
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        const double t = (y + 0.5 - cy) / ry;
        if (std::fabs(t) > 1)
            continue;
        const double hw = rx * std::sqrt(1 - t * t);
        AddInterval(out, y, cx - hw, cx + hw);
    }
    return out.Build();
}

Region InnerFrame(const Region& shape, int width, int height)
{
    Region inner = shape;
    for (const POINT shift :
         {POINT{width, 0}, POINT{-width, 0}, POINT{0, height}, POINT{0, -height}})
    {
        Region moved = shape;
        moved.Offset(shift.x, shift.y);
        inner = Region::Combine(inner, moved, RGN_AND);
    }
    return Region::Combine(shape, inner, RGN_DIFF);
}

Region RoundRectCoverage(const RECT& rect, int cornerWidth, int cornerHeight)
{
    const int w = std::clamp(cornerWidth, 0, int(rect.right - rect.left));
    const int h = std::clamp(cornerHeight, 0, int(rect.bottom - rect.top));
    if (w < 2 || h < 2)
        return Region(rect);
    Region result(RECT{rect.left + w / 2, rect.top, rect.right - w / 2, rect.bottom});
    result = Region::Combine(
        result, Region(RECT{rect.left, rect.top + h / 2, rect.right, rect.bottom - h / 2}), RGN_OR);
    const RECT corners[4] = {
        {rect.left, rect.top, rect.left + w, rect.top + h},
        {rect.right - w, rect.top, rect.right, rect.top + h},
        {rect.left, rect.bottom - h, rect.left + w, rect.bottom},
        {rect.right - w, rect.bottom - h, rect.right, rect.bottom},
    };
    for (const RECT& corner : corners)
        result = Region::Combine(result, EllipseCoverage(corner), RGN_OR);
    return result;
}

Region PolygonCoverage(const std::vector<POINT>& pts, int fillMode)
{
    if (pts.size() < 3)
        return Region();
    int top = pts[0].y;
    int bottom = pts[0].y;
    for (const POINT& p : pts)
    {
        top = std::min<int>(top, p.y);
        bottom = std::max<int>(bottom, p.y);
    }
    CoverageBuilder out;
    struct Crossing
    {
        double x;
        int direction;
    };
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y)
    {
        const double yc = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < pts.size(); ++i)
        {
            const POINT& p0 = pts[i];
            const POINT& p1 = pts[(i + 1) % pts.size()];
            if (p0.y == p1.y)
                continue;
            const bool down = p1.y > p0.y;
            const double ylo = down ? p0.y : p1.y;
            const double yhi = down ? p1.y : p0.y;
            if (yc < ylo || yc >= yhi)
                continue;
            const double x = p0.x + (yc - p0.y) * double(p1.x - p0.x) / double(p1.y - p0.y);
            crossings.push_back(Crossing{x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i)
        {
            winding += crossings[i].direction;
            const bool inside = fillMode == 2 ? winding != 0 : (i % 2) == 0;
            if (!inside)
                continue;
            const int x0 = CeilHalf(crossings[i].x);
            const int x1 = CeilHalf(crossings[i + 1].x);
            out.AddSpan(y, x0, x1);
        }
    }
    return out.Build();
}

double ScreenAngle(const RECT& rect, double x, double y)
{
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    return std::atan2(-(y - cy), x - cx);
}

std::vector<POINT> EllipsePoints(const RECT& rect, double a0, double sweep)
{
    const double cx = (rect.left + rect.right) / 2.0;
    const double cy = (rect.top + rect.bottom) / 2.0;
    const double rx = (rect.right - rect.left) / 2.0;
    const double ry = (rect.bottom - rect.top) / 2.0;
    const double radius = std::max({rx, ry, 1.0});
    const int steps = std::max(8, int(std::ceil(std::fabs(sweep) * radius)));
    std::vector<POINT> pts;
    for (int i = 0; i <= steps; ++i)
    {
        const double a = a0 + sweep * i / steps;
        const POINT p{LONG(std::lround(cx + rx * std::cos(a) - 0.5)),
                      LONG(std::lround(cy - ry * std::sin(a) - 0.5))};
        if (pts.empty() || pts.back().x != p.x || pts.back().y != p.y)
            pts.push_back(p);
    }
    return pts;
}

double NormaliseAngle(double a)
{
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}
