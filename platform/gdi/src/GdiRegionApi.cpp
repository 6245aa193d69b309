// Region objects and the DC clip.
#include "DeviceContext.h"
#include "GdiShapes.h"

namespace
{
GdiRegion* AsRegion(HRGN rgn)
{
    return GdiLookupAs<GdiRegion>(rgn);
}

HRGN NewRegion(Region region)
{
    return GdiRegister<HRGN>(new GdiRegion(std::move(region)));
}

RECT Ordered(int left, int top, int right, int bottom)
{
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

// Replaces the DC's clip with the combination of the current clip (or the
// whole device when there is none) and region.
int CombineClip(DeviceContext& dc, const Region* region, int mode)
{
    DcState& state = dc.State();
    if (mode == RGN_COPY)
    {
        if (region == nullptr)
            state.clip.reset();
        else
            state.clip = *region;
    }
    else
    {
        if (region == nullptr)
            return ERROR;
        const Region current = state.clip ? *state.clip : dc.GetVisibleRegion();
        state.clip = Region::Combine(current, *region, mode);
    }
    return dc.GetEffectiveClip().GetComplexity();
}

// Combines the clip with a rectangle given in logical units, in either order
// of its corners.
int CombineClipRect(HDC hdc, int left, int top, int right, int bottom, int mode)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return ERROR;
    const RECT device = dc->ToDevice(RECT{left, top, right, bottom});
    const Region region(Ordered(device.left, device.top, device.right, device.bottom));
    return CombineClip(*dc, &region, mode);
}
} // namespace

HRGN GdiCreateRegion(const Region& region)
{
    return NewRegion(region);
}

Region GdiGetRegion(HRGN hRgn)
{
    const GdiRegion* region = AsRegion(hRgn);
    return region != nullptr ? region->m_region : Region();
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return NewRegion(Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom)
{
    return NewRegion(EllipseCoverage(Ordered(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect)
{
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode)
{
    if (pts == nullptr || count < 2)
        return nullptr;
    return NewRegion(PolygonCoverage(std::vector<POINT>(pts, pts + count), fillMode));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    return NewRegion(RoundRectCoverage(Ordered(left, top, right, bottom), width, height));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    GdiRegion* d = AsRegion(dst);
    GdiRegion* a = AsRegion(src1);
    GdiRegion* b = mode == RGN_COPY ? a : AsRegion(src2);
    if (d == nullptr || a == nullptr || b == nullptr || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    d->m_region = Region::Combine(a->m_region, b->m_region, mode);
    return d->m_region.GetComplexity();
}

int OffsetRgn(HRGN rgn, int dx, int dy)
{
    GdiRegion* r = AsRegion(rgn);
    if (r == nullptr)
        return ERROR;
    r->m_region.Offset(dx, dy);
    return r->m_region.GetComplexity();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom)
{
    GdiRegion* r = AsRegion(rgn);
    if (r == nullptr)
        return FALSE;
    r->m_region = Region(Ordered(left, top, right, bottom));
    return TRUE;
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    GdiRegion* ra = AsRegion(a);
    GdiRegion* rb = AsRegion(b);
    if (ra == nullptr || rb == nullptr)
        return ERROR;
    return ra->m_region == rb->m_region;
}

int GetRgnBox(HRGN rgn, LPRECT rect)
{
    GdiRegion* r = AsRegion(rgn);
    if (r == nullptr || rect == nullptr)
        return ERROR;
    *rect = r->m_region.GetBounds();
    return r->m_region.GetComplexity();
}

BOOL PtInRegion(HRGN rgn, int x, int y)
{
    GdiRegion* r = AsRegion(rgn);
    return r != nullptr && r->m_region.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rect)
{
    GdiRegion* r = AsRegion(rgn);
    if (r == nullptr || rect == nullptr)
        return FALSE;
    return r->m_region.IntersectsRect(Ordered(rect->left, rect->top, rect->right, rect->bottom));
}

int SelectClipRgn(HDC hdc, HRGN rgn)
{
    return ExtSelectClipRgn(hdc, rgn, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || mode < RGN_AND || mode > RGN_COPY)
        return ERROR;
    GdiRegion* region = AsRegion(rgn);
    if (rgn != nullptr && region == nullptr)
        return ERROR;
    // The selected region is copied: later changes to it do not reach the DC.
    return CombineClip(*dc, region ? &region->m_region : nullptr, mode);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int dx, int dy)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return ERROR;
    if (dc->State().clip)
        dc->State().clip->Offset(dc->ScaleX(dx), dc->ScaleY(dy));
    return dc->GetEffectiveClip().GetComplexity();
}

int GetClipBox(HDC hdc, LPRECT rect)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr)
        return ERROR;
    const Region clip = dc->GetEffectiveClip();
    const RECT bounds = clip.GetBounds();
    const POINT a = dc->ToLogical(bounds.left, bounds.top);
    const POINT b = dc->ToLogical(bounds.right, bounds.bottom);
    *rect = Ordered(a.x, a.y, b.x, b.y);
    return clip.GetComplexity();
}

int GetClipRgn(HDC hdc, HRGN rgn)
{
    DeviceContext* dc = LookupDC(hdc);
    GdiRegion* region = AsRegion(rgn);
    if (dc == nullptr || region == nullptr)
        return -1;
    if (!dc->State().clip)
        return 0;
    region->m_region = *dc->State().clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const POINT d = dc->ToDevice(x, y);
    return dc->GetEffectiveClip().Contains(d.x, d.y);
}

BOOL RectVisible(HDC hdc, const RECT* rect)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr)
        return FALSE;
    const RECT d = dc->ToDevice(*rect);
    return dc->GetEffectiveClip().IntersectsRect(Ordered(d.left, d.top, d.right, d.bottom));
}
