#include "GdiStroke.h"

#include "GdiShapes.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// Cosmetic dash patterns in pixels, on and off alternating.
const std::vector<int>& CosmeticPattern(int style)
{
    static const std::vector<int> solid;
    static const std::vector<int> dash{18, 6};
    static const std::vector<int> dot{3, 3};
    static const std::vector<int> dashDot{9, 6, 3, 6};
    static const std::vector<int> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style)
    {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return solid;
    }
}

// Geometric dash patterns in multiples of the pen width (on, off, ...); an
// "on" length of 0 is a round dot.
std::vector<double> GeometricPattern(int style, double width)
{
    switch (style)
    {
    case PS_DASH:
        return {2 * width, 2 * width};
    case PS_DOT:
        return {0, 2 * width};
    case PS_DASHDOT:
        return {2 * width, 2 * width, 0, 2 * width};
    case PS_DASHDOTDOT:
        return {2 * width, 2 * width, 0, 2 * width, 0, 2 * width};
    default:
        return {};
    }
}

// Bounds for stepping: the clip grown by the pen width.
RECT StepBounds(const Region& clip, int width)
{
    RECT bounds = clip.GetBounds();
    InflateRect(&bounds, width + 1, width + 1);
    return bounds;
}

// How near the start of an element of no length the pattern must stand for
// it to draw its dot, and how far drawing the dot moves on.
constexpr double DotTolerance = 1e-7;
constexpr double DotStep = 1e-6;

// A dot of the pattern begins at this phase of element k.
bool IsDotAt(const std::vector<double>& pattern, std::size_t k, double phase)
{
    return k % 2 == 0 && pattern[k] == 0 && phase < DotTolerance;
}

void StrokeGeometricDashes(const std::vector<POINT>& pts, double width,
                           const std::vector<double>& pattern, const RECT& bounds,
                           CoverageBuilder& out)
{
    double period = 0;
    for (double v : pattern)
        period += v;
    double position = 0; // along the pattern
    for (std::size_t i = 0; i + 1 < pts.size(); ++i)
    {
        const double ax = pts[i].x;
        const double ay = pts[i].y;
        const double dx = pts[i + 1].x - ax;
        const double dy = pts[i + 1].y - ay;
        const double length = std::sqrt(dx * dx + dy * dy);
        double t = 0;
        while (t < length)
        {
            double phase = std::fmod(position, period);
            std::size_t k = 0;
            while (phase >= pattern[k] && k + 1 < pattern.size() && !IsDotAt(pattern, k, phase))
            {
                phase -= pattern[k];
                ++k;
            }
            if (IsDotAt(pattern, k, phase))
            {
                // The round cap alone, then on past the dot's place.
                const double x = ax + dx * t / length;
                const double y = ay + dy * t / length;
                AddWideLine(x, y, x, y, width, bounds, out);
                t += DotStep;
                position += DotStep;
                continue;
            }
            const double remaining = pattern[k] - phase;
            const double step = std::max(std::min(remaining, length - t), 1e-9);
            if (k % 2 == 0)
            {
                const double t1 = t + std::min(remaining, length - t);
                AddWideLine(ax + dx * t / length, ay + dy * t / length, ax + dx * t1 / length,
                            ay + dy * t1 / length, width, bounds, out);
            }
            t += step;
            position += step;
        }
    }
}

// Pixels painted as they are stepped.
class PaintingSink : public PixelSink
{
public:
    PaintingSink(Painter& painter, std::uint32_t color, int rop2)
        : m_painter(painter), m_source(PaintSource::Solid(color)), m_nRop2(rop2)
    {
    }
    void AddPixel(int x, int y) override { m_painter.FillSpan(y, x, x + 1, m_source, m_nRop2); }

private:
    Painter& m_painter;
    PaintSource m_source;
    int m_nRop2;
};

class NoSink : public PixelSink
{
public:
    void AddPixel(int, int) override {}
};

// The outline pixels of the ellipse in box whose angle lies on the sweep.
Region ThinArcPixels(const RECT& box, double a0, double sweep)
{
    const Region outline = EllipseCoverage(box).Boundary();
    const double start = sweep >= 0 ? a0 : a0 + sweep;
    const double extent = std::fabs(sweep);
    CoverageBuilder out;
    for (const Region::Band& band : outline.GetBands())
    {
        for (int y = band.y0; y < band.y1; ++y)
        {
            for (const Span& s : band.spans)
            {
                for (int x = s.x0; x < s.x1; ++x)
                {
                    const double a = NormaliseAngle(ScreenAngle(box, x + 0.5, y + 0.5) - start);
                    if (extent >= 2 * kPi || a <= extent)
                        out.AddPixel(x, y);
                }
            }
        }
    }
    return out.Build();
}
} // namespace

bool PenStroke::IsSolidThin() const
{
    return nWidth <= 1 && CosmeticPattern(nStyle).empty();
}

StrokeCoverage Painter::GetStrokeCoverage(const PenStroke& pen, std::vector<POINT> pts,
                                          bool closed) const
{
    StrokeCoverage stroke;
    if (pen.IsNull() || pts.empty())
        return stroke;
    if (closed && pts.size() > 1)
        pts.push_back(pts.front());
    const RECT bounds = StepBounds(m_clip, pen.nWidth);
    if (pen.nWidth <= 1)
    {
        CoverageBuilder on;
        CoverageBuilder off;
        const std::vector<int>& pattern = CosmeticPattern(pen.nStyle);
        int offset = 0;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            AddThinLine(pts[i], pts[i + 1], bounds, pattern, offset, on, off);
        stroke.on = on.Build();
        stroke.gaps = off.Build();
        return stroke;
    }
    CoverageBuilder on;
    const std::vector<double> pattern =
        pen.bGeometric ? GeometricPattern(pen.nStyle, pen.nWidth) : std::vector<double>{};
    if (pattern.empty())
    {
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            AddWideLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pen.nWidth, bounds, on);
        if (pts.size() == 1)
            AddWideLine(pts[0].x, pts[0].y, pts[0].x, pts[0].y, pen.nWidth, bounds, on);
    }
    else
    {
        StrokeGeometricDashes(pts, pen.nWidth, pattern, bounds, on);
    }
    stroke.on = on.Build();
    return stroke;
}

void Painter::PaintStroke(const StrokeCoverage& stroke, const PenStroke& pen, int rop2)
{
    FillCoverage(stroke.on, PaintSource::Solid(pen.color), rop2);
    if (pen.bOpaqueGaps && !stroke.gaps.IsEmpty())
        FillCoverage(stroke.gaps, PaintSource::Solid(pen.gapColor), rop2);
}

void Painter::StrokePath(const PenStroke& pen, const std::vector<POINT>& pts, bool closed, int rop2)
{
    if (pen.IsNull())
        return;
    const bool bSegment = pts.size() == 2 && pen.nWidth <= 1;
    // Only the pen's colour copied (solid, or styled with transparent gaps).
    const bool bPenCopy = pts.size() > 2 && pen.nWidth <= 1 && rop2 == R2_COPYPEN &&
                          (pen.IsSolidThin() || !pen.bOpaqueGaps);
    if (bSegment || bPenCopy)
    {
        // One thin segment never meets itself, and where a path that only
        // copies the pen's colour meets itself a pixel painted twice is as
        // painted once: no coverage to gather, the pixels are painted as
        // they are stepped.
        PaintingSink on(*this, pen.color, rop2);
        PaintingSink gaps(*this, pen.gapColor, rop2);
        NoSink none;
        PixelSink& off = pen.bOpaqueGaps ? static_cast<PixelSink&>(gaps) : none;
        const RECT bounds = StepBounds(m_clip, pen.nWidth);
        const std::vector<int>& pattern = CosmeticPattern(pen.nStyle);
        int offset = 0;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            AddThinLine(pts[i], pts[i + 1], bounds, pattern, offset, on, off);
        if (bPenCopy && closed)
            AddThinLine(pts.back(), pts.front(), bounds, pattern, offset, on, off);
        return;
    }
    PaintStroke(GetStrokeCoverage(pen, pts, closed), pen, rop2);
}

void Painter::DrawShape(const ShapeFill& fill)
{
    StrokeCoverage stroke;
    const PenStroke* pen = fill.pPen;
    if (fill.frame)
        stroke.on = *fill.frame;
    else if (pen != nullptr && !pen->IsNull())
    {
        if (fill.bOutlineIsBoundary && pen->IsSolidThin())
            stroke.on = fill.shape.Boundary();
        else if (fill.outline.empty())
        {
            const int width = std::max(pen->nWidth, 1);
            stroke.on = InnerFrame(fill.shape, width, width);
        }
        else
            stroke = GetStrokeCoverage(*pen, fill.outline, true);
    }
    if (fill.pBrush != nullptr)
    {
        Region inside = Region::Combine(fill.shape, stroke.on, RGN_DIFF);
        inside = Region::Combine(inside, stroke.gaps, RGN_DIFF);
        FillCoverage(inside, *fill.pBrush, fill.nRop2);
    }
    if (pen != nullptr)
        PaintStroke(stroke, *pen, fill.nRop2);
}

void Painter::StrokeArc(const PenStroke& pen, const RECT& box, double a0, double sweep, int rop2)
{
    if (pen.IsNull())
        return;
    StrokeCoverage stroke;
    stroke.on = pen.IsSolidThin() ? ThinArcPixels(box, a0, sweep)
                                  : GetStrokeCoverage(pen, EllipsePoints(box, a0, sweep), false).on;
    PaintStroke(stroke, pen, rop2);
}
