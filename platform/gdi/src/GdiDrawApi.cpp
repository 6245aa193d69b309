// Lines, shapes and fills: outlines with the selected pen, insides with the
// selected brush, both through the DC's mix mode.
#include "DeviceContext.h"
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

struct Stroke
{
    Region on;
    Region gaps;
};

// Bounds for stepping: the clip grown by the pen width.
RECT StepBounds(const Region& clip, int width)
{
    RECT bounds = clip.GetBounds();
    InflateRect(&bounds, width + 1, width + 1);
    return bounds;
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
            while (phase >= pattern[k] && k + 1 < pattern.size())
            {
                phase -= pattern[k];
                ++k;
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

// The pixels of a pen path in device coordinates.
Stroke StrokePath(const DeviceContext& dc, const GdiPen& pen, std::vector<POINT> pts, bool closed,
                  const Region& clip)
{
    Stroke stroke;
    if (pen.m_nStyle == PS_NULL || pts.empty())
        return stroke;
    if (closed && pts.size() > 1)
        pts.push_back(pts.front());
    const int deviceWidth = pen.m_bGeometric ? std::abs(dc.ScaleX(pen.m_nWidth)) : pen.m_nWidth;
    const RECT bounds = StepBounds(clip, deviceWidth);
    if (deviceWidth <= 1)
    {
        CoverageBuilder on;
        CoverageBuilder off;
        const std::vector<int>& pattern = CosmeticPattern(pen.m_nStyle);
        int offset = 0;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            AddThinLine(pts[i], pts[i + 1], bounds, pattern, offset, on, off);
        stroke.on = on.Build();
        stroke.gaps = off.Build();
        return stroke;
    }
    CoverageBuilder on;
    const std::vector<double> pattern =
        pen.m_bGeometric ? GeometricPattern(pen.m_nStyle, deviceWidth) : std::vector<double>{};
    if (pattern.empty())
    {
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            AddWideLine(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, deviceWidth, bounds, on);
        if (pts.size() == 1)
            AddWideLine(pts[0].x, pts[0].y, pts[0].x, pts[0].y, deviceWidth, bounds, on);
    }
    else
    {
        StrokeGeometricDashes(pts, deviceWidth, pattern, bounds, on);
    }
    stroke.on = on.Build();
    return stroke;
}

void PaintStroke(DeviceContext& dc, Painter& painter, const GdiPen& pen, const Stroke& stroke)
{
    const int rop2 = dc.State().nRop2;
    painter.FillRegion(stroke.on, PaintSource::Solid(PixelFromColorRef(pen.m_color)), rop2);
    // Gaps of styled one-pixel pens take the background colour when opaque.
    if (dc.State().nBkMode == OPAQUE && !stroke.gaps.IsEmpty())
        painter.FillRegion(stroke.gaps, PaintSource::Solid(PixelFromColorRef(dc.State().bkColor)),
                           rop2);
}

std::vector<POINT> ToDevicePoints(const DeviceContext& dc, const POINT* pts, std::size_t count)
{
    std::vector<POINT> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(dc.ToDevice(pts[i].x, pts[i].y));
    return out;
}

BOOL DrawPolyline(HDC hdc, const std::vector<POINT>& logical, bool closed)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    GdiPen* pen = dc->GetPen();
    DrawSession session(*dc);
    if (!session.IsValid() || pen == nullptr)
        return TRUE;
    const Stroke stroke = StrokePath(*dc, *pen, ToDevicePoints(*dc, logical.data(), logical.size()),
                                     closed, session.GetClip());
    PaintStroke(*dc, session.GetPainter(), *pen, stroke);
    return TRUE;
}

// The band of a shape within width pixels of its edge.
Region InnerFrame(const Region& shape, int width)
{
    Region inner = shape;
    for (const POINT shift : {POINT{width, 0}, POINT{-width, 0}, POINT{0, width}, POINT{0, -width}})
    {
        Region moved = shape;
        moved.Offset(shift.x, shift.y);
        inner = Region::Combine(inner, moved, RGN_AND);
    }
    return Region::Combine(shape, inner, RGN_DIFF);
}

// Paints a shape: its outline (in device coordinates) with the pen and its
// coverage, minus the outline, with the brush.
BOOL DrawShape(DeviceContext& dc, const Region& shape, const std::vector<POINT>& outline,
               bool outlineIsBoundary)
{
    DrawSession session(dc);
    if (!session.IsValid())
        return TRUE;
    Painter& painter = session.GetPainter();
    GdiPen* pen = dc.GetPen();
    Stroke stroke;
    if (pen != nullptr && pen->m_nStyle != PS_NULL)
    {
        const int width = pen->m_bGeometric ? std::abs(dc.ScaleX(pen->m_nWidth)) : pen->m_nWidth;
        const bool solidThin = width <= 1 && CosmeticPattern(pen->m_nStyle).empty();
        if (outlineIsBoundary && solidThin)
            stroke.on = shape.Boundary();
        else if (outline.empty())
            stroke.on = InnerFrame(shape, std::max(width, 1));
        else
            stroke = StrokePath(dc, *pen, outline, true, session.GetClip());
    }
    PaintSource brush;
    if (dc.MakeBrushSource(dc.GetBrush(), brush))
    {
        Region inside = Region::Combine(shape, stroke.on, RGN_DIFF);
        inside = Region::Combine(inside, stroke.gaps, RGN_DIFF);
        painter.FillRegion(inside, brush, dc.State().nRop2);
    }
    if (pen != nullptr)
        PaintStroke(dc, painter, *pen, stroke);
    return TRUE;
}

RECT NormalisedDeviceRect(const DeviceContext& dc, int left, int top, int right, int bottom)
{
    const RECT d = dc.ToDevice(RECT{left, top, right, bottom});
    return RECT{std::min(d.left, d.right), std::min(d.top, d.bottom), std::max(d.left, d.right),
                std::max(d.top, d.bottom)};
}

// The frame of a rectangle for a pen: width w inside the rectangle.
std::vector<POINT> RectOutline(const RECT& r)
{
    return {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.right - 1, r.bottom - 1},
            POINT{r.left, r.bottom - 1}};
}

BOOL FillWithBrush(HDC hdc, const Region& logicalShape, HBRUSH hBrush, bool deviceCoordinates)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiBrush* brush = GdiLookupAs<GdiBrush>(hBrush);
    if (dc == nullptr || brush == nullptr)
        return FALSE;
    DrawSession session(*dc);
    PaintSource source;
    if (!session.IsValid() || !dc->MakeBrushSource(brush, source))
        return TRUE;
    Region shape = logicalShape;
    if (!deviceCoordinates)
    {
        const POINT origin = dc->ToDevice(0, 0);
        shape.Offset(origin.x, origin.y);
    }
    session.GetPainter().FillRegion(shape, source, R2_COPYPEN);
    return TRUE;
}

Region ArcPixels(const DeviceContext& dc, const GdiPen& pen, const RECT& box, double a0,
                 double sweep, const Region& clip)
{
    const int width = pen.m_bGeometric ? std::abs(dc.ScaleX(pen.m_nWidth)) : pen.m_nWidth;
    if (width <= 1 && CosmeticPattern(pen.m_nStyle).empty())
    {
        // The outline pixels of the ellipse whose angle lies on the sweep.
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
    return StrokePath(dc, pen, EllipsePoints(box, a0, sweep), false, clip).on;
}

BOOL DrawArc(DeviceContext& dc, const RECT& box, double a0, double sweep)
{
    GdiPen* pen = dc.GetPen();
    DrawSession session(dc);
    if (!session.IsValid() || pen == nullptr || pen->m_nStyle == PS_NULL)
        return TRUE;
    Stroke stroke;
    stroke.on = ArcPixels(dc, *pen, box, a0, sweep, session.GetClip());
    PaintStroke(dc, session.GetPainter(), *pen, stroke);
    return TRUE;
}
} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    if (old != nullptr)
        *old = dc->State().current;
    dc->State().current = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || pt == nullptr)
        return FALSE;
    *pt = dc->State().current;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    GdiRecord(hdc, "LineTo", {x, y});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const POINT from = dc->State().current;
    dc->State().current = POINT{x, y};
    return DrawPolyline(hdc, {from, POINT{x, y}}, false);
}

BOOL Polyline(HDC hdc, const POINT* pts, int count)
{
    GdiRecord(hdc, "Polyline", {count});
    if (pts == nullptr || count < 2)
        return FALSE;
    return DrawPolyline(hdc, std::vector<POINT>(pts, pts + count), false);
}

BOOL PolylineTo(HDC hdc, const POINT* pts, DWORD count)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || pts == nullptr || count == 0)
        return FALSE;
    std::vector<POINT> path{dc->State().current};
    path.insert(path.end(), pts, pts + count);
    dc->State().current = pts[count - 1];
    return DrawPolyline(hdc, path, false);
}

BOOL Polygon(HDC hdc, const POINT* pts, int count)
{
    GdiRecord(hdc, "Polygon", {count});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || pts == nullptr || count < 2)
        return FALSE;
    const std::vector<POINT> device = ToDevicePoints(*dc, pts, std::size_t(count));
    return DrawShape(*dc, PolygonCoverage(device, dc->State().nPolyFillMode), device, false);
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    GdiRecord(hdc, "Rectangle", {left, top, right, bottom});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT r = NormalisedDeviceRect(*dc, left, top, right, bottom);
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    GdiPen* pen = dc->GetPen();
    const int width = pen == nullptr      ? 0
                      : pen->m_bGeometric ? std::abs(dc->ScaleX(pen->m_nWidth))
                                          : pen->m_nWidth;
    if (width > 1 && pen->m_nStyle != PS_NULL && (!pen->m_bGeometric || pen->m_nStyle == PS_SOLID))
    {
        // Wide solid frames lie inside the rectangle.
        DrawSession session(*dc);
        if (!session.IsValid())
            return TRUE;
        RECT inner = r;
        InflateRect(&inner, -width, -width);
        const Region frame = Region::Combine(Region(r), Region(inner), RGN_DIFF);
        PaintSource brush;
        if (dc->MakeBrushSource(dc->GetBrush(), brush))
            session.GetPainter().FillRegion(Region(inner), brush, dc->State().nRop2);
        Stroke stroke;
        stroke.on = frame;
        PaintStroke(*dc, session.GetPainter(), *pen, stroke);
        return TRUE;
    }
    return DrawShape(*dc, Region(r), RectOutline(r), true);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    GdiRecord(hdc, "RoundRect", {left, top, right, bottom, width, height});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT r = NormalisedDeviceRect(*dc, left, top, right, bottom);
    const Region shape =
        RoundRectCoverage(r, std::abs(dc->ScaleX(width)), std::abs(dc->ScaleY(height)));
    return DrawShape(*dc, shape, {}, true);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    GdiRecord(hdc, "Ellipse", {left, top, right, bottom});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT r = NormalisedDeviceRect(*dc, left, top, right, bottom);
    return DrawShape(*dc, EllipseCoverage(r), EllipsePoints(r, 0, 2 * kPi), true);
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
         int yEnd)
{
    GdiRecord(hdc, "Arc", {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT box = NormalisedDeviceRect(*dc, left, top, right, bottom);
    const POINT s = dc->ToDevice(xStart, yStart);
    const POINT e = dc->ToDevice(xEnd, yEnd);
    const double a0 = ScreenAngle(box, s.x, s.y);
    double sweep = NormaliseAngle(ScreenAngle(box, e.x, e.y) - a0);
    if (sweep == 0)
        sweep = 2 * kPi;
    return DrawArc(*dc, box, a0, sweep);
}

BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startAngle, FLOAT sweepAngle)
{
    GdiRecord(
        hdc, "AngleArc",
        {x, y, radius, static_cast<long long>(startAngle), static_cast<long long>(sweepAngle)});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || radius > 0x7FFFFFF)
        return FALSE;
    const double a0 = startAngle * kPi / 180.0;
    const double sweep = sweepAngle * kPi / 180.0;
    const double r = radius;
    const POINT start{LONG(std::lround(x + r * std::cos(a0))),
                      LONG(std::lround(y - r * std::sin(a0)))};
    const POINT end{LONG(std::lround(x + r * std::cos(a0 + sweep))),
                    LONG(std::lround(y - r * std::sin(a0 + sweep)))};
    DrawPolyline(hdc, {dc->State().current, start}, false);
    const RECT logicalBox{LONG(x - LONG(radius)), LONG(y - LONG(radius)), LONG(x + LONG(radius)),
                          LONG(y + LONG(radius))};
    const RECT box = NormalisedDeviceRect(*dc, logicalBox.left, logicalBox.top, logicalBox.right,
                                          logicalBox.bottom);
    if (radius > 0 && sweep != 0)
        DrawArc(*dc, box, a0, sweep);
    dc->State().current = end;
    return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    GdiRecord(hdc, "FillRect",
              {rect ? rect->left : 0, rect ? rect->top : 0, rect ? rect->right : 0,
               rect ? rect->bottom : 0});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr)
        return 0;
    const RECT r = NormalisedDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    return FillWithBrush(hdc, Region(r), brush, true);
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr)
        return 0;
    const RECT r = NormalisedDeviceRect(*dc, rect->left, rect->top, rect->right, rect->bottom);
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    return FillWithBrush(hdc, Region::Combine(Region(r), Region(inner), RGN_DIFF), brush, true);
}

BOOL InvertRect(HDC hdc, const RECT* rect)
{
    if (rect == nullptr)
        return FALSE;
    return PatBlt(hdc, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                  DSTINVERT);
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush)
{
    GdiRegion* region = GdiLookupAs<GdiRegion>(rgn);
    if (region == nullptr)
        return FALSE;
    return FillWithBrush(hdc, region->m_region, brush, true);
}

BOOL PaintRgn(HDC hdc, HRGN rgn)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    return FillRgn(hdc, rgn, static_cast<HBRUSH>(dc->State().hBrush));
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height)
{
    GdiRegion* region = GdiLookupAs<GdiRegion>(rgn);
    if (region == nullptr || width < 1 || height < 1)
        return FALSE;
    // The region minus the region shrunk by width and height.
    Region inner = region->m_region;
    for (const POINT shift :
         {POINT{width, 0}, POINT{-width, 0}, POINT{0, height}, POINT{0, -height}})
    {
        Region moved = region->m_region;
        moved.Offset(shift.x, shift.y);
        inner = Region::Combine(inner, moved, RGN_AND);
    }
    return FillWithBrush(hdc, Region::Combine(region->m_region, inner, RGN_DIFF), brush, true);
}

BOOL InvertRgn(HDC hdc, HRGN rgn)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiRegion* region = GdiLookupAs<GdiRegion>(rgn);
    if (dc == nullptr || region == nullptr)
        return FALSE;
    DrawSession session(*dc);
    if (session.IsValid())
        session.GetPainter().FillRegion(region->m_region, PaintSource::Solid(0), R2_NOT);
    return TRUE;
}
