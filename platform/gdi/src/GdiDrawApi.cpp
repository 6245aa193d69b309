// Lines, shapes and fills: the DC's pen, brush, mix mode and mapping turned
// into strokes, shapes and coverages for the painter.
#include "DeviceContext.h"
#include "GdiShapes.h"
#include "GdiStroke.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;

// The DC's pen as the painter strokes it: widths of geometric pens scale
// with the mapping, cosmetic ones are device pixels.
PenStroke MakePenStroke(const DeviceContext& dc, const GdiPen& pen)
{
    PenStroke stroke;
    stroke.nStyle = pen.m_nStyle;
    stroke.nWidth = pen.m_bGeometric ? std::abs(dc.ScaleX(pen.m_nWidth)) : pen.m_nWidth;
    stroke.bGeometric = pen.m_bGeometric;
    stroke.color = PixelFromColorRef(pen.m_color);
    stroke.bOpaqueGaps = dc.State().nBkMode == OPAQUE;
    stroke.gapColor = PixelFromColorRef(dc.State().bkColor);
    return stroke;
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
    session.GetPainter().StrokePath(MakePenStroke(*dc, *pen),
                                    ToDevicePoints(*dc, logical.data(), logical.size()), closed,
                                    dc->State().nRop2);
    return TRUE;
}

// Paints a shape: its outline (in device coordinates) with the pen and its
// coverage, minus the outline, with the brush.
BOOL DrawShape(DeviceContext& dc, ShapeFill fill)
{
    DrawSession session(dc);
    if (!session.IsValid())
        return TRUE;
    std::optional<PenStroke> pen;
    if (const GdiPen* selected = dc.GetPen())
        pen = MakePenStroke(dc, *selected);
    PaintSource brush;
    fill.pPen = pen ? &*pen : nullptr;
    fill.pBrush = dc.MakeBrushSource(dc.GetBrush(), brush) ? &brush : nullptr;
    fill.nRop2 = dc.State().nRop2;
    session.GetPainter().DrawShape(fill);
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
    session.GetPainter().FillCoverage(shape, source, R2_COPYPEN);
    return TRUE;
}

BOOL DrawArc(DeviceContext& dc, const RECT& box, double a0, double sweep)
{
    GdiPen* pen = dc.GetPen();
    DrawSession session(dc);
    if (!session.IsValid() || pen == nullptr)
        return TRUE;
    session.GetPainter().StrokeArc(MakePenStroke(dc, *pen), box, a0, sweep, dc.State().nRop2);
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
    ShapeFill fill;
    fill.outline = ToDevicePoints(*dc, pts, std::size_t(count));
    fill.shape = PolygonCoverage(fill.outline, dc->State().nPolyFillMode);
    return DrawShape(*dc, std::move(fill));
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
    ShapeFill fill;
    fill.shape = Region(r);
    fill.bOutlineIsBoundary = true;
    if (width > 1 && pen->m_nStyle != PS_NULL && (!pen->m_bGeometric || pen->m_nStyle == PS_SOLID))
    {
        // Wide solid frames lie inside the rectangle.
        RECT inner = r;
        InflateRect(&inner, -width, -width);
        fill.frame = Region::Combine(Region(r), Region(inner), RGN_DIFF);
    }
    else
    {
        fill.outline = RectOutline(r);
    }
    return DrawShape(*dc, std::move(fill));
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height)
{
    GdiRecord(hdc, "RoundRect", {left, top, right, bottom, width, height});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT r = NormalisedDeviceRect(*dc, left, top, right, bottom);
    ShapeFill fill;
    fill.shape = RoundRectCoverage(r, std::abs(dc->ScaleX(width)), std::abs(dc->ScaleY(height)));
    fill.bOutlineIsBoundary = true;
    return DrawShape(*dc, std::move(fill));
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    GdiRecord(hdc, "Ellipse", {left, top, right, bottom});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const RECT r = NormalisedDeviceRect(*dc, left, top, right, bottom);
    ShapeFill fill;
    fill.shape = EllipseCoverage(r);
    fill.outline = EllipsePoints(r, 0, 2 * kPi);
    fill.bOutlineIsBoundary = true;
    return DrawShape(*dc, std::move(fill));
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
    return FillWithBrush(hdc, InnerFrame(region->m_region, width, height), brush, true);
}

BOOL InvertRgn(HDC hdc, HRGN rgn)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiRegion* region = GdiLookupAs<GdiRegion>(rgn);
    if (dc == nullptr || region == nullptr)
        return FALSE;
    DrawSession session(*dc);
    if (session.IsValid())
        session.GetPainter().FillCoverage(region->m_region, PaintSource::Solid(0), R2_NOT);
    return TRUE;
}
