// Block transfers: BitBlt, StretchBlt, PatBlt, AlphaBlend and the DIB
// painters, all through one nearest-neighbour mapping of destination pixels
// to source pixels.
#include "DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace
{
// One axis of a transfer in device units. A negative extent covers
// [start + extent, start) and mirrors.
struct Axis
{
    int dstStart;
    int dstExtent;
    int srcStart;
    int srcExtent;
};

// Destination offset i (0 .. |dstExtent|) -> source coordinate:
// floor(i * |srcExtent| / |dstExtent|), mirrored when one extent is negative.
// Only offsets in [from, to) are mapped.
std::vector<int> MapAxis(const Axis& axis, int from, int to, int srcLimit)
{
    const std::int64_t de = std::abs(std::int64_t(axis.dstExtent));
    const std::int64_t se = std::abs(std::int64_t(axis.srcExtent));
    const bool mirror = (axis.dstExtent < 0) != (axis.srcExtent < 0);
    const std::int64_t srcLow =
        axis.srcExtent < 0 ? std::int64_t(axis.srcStart) + axis.srcExtent : axis.srcStart;
    std::vector<int> map(std::size_t(to - from), -1);
    for (std::int64_t i = from; i < to; ++i)
    {
        std::int64_t s = i * se / de;
        if (mirror)
            s = se - 1 - s;
        const std::int64_t coordinate = srcLow + s;
        if (coordinate >= 0 && coordinate < srcLimit)
            map[std::size_t(i - from)] = int(coordinate);
    }
    return map;
}

int LowEdge(int start, int extent)
{
    return extent < 0 ? start + extent : start;
}

bool NeedsSource(std::uint8_t code)
{
    return (((code >> 2) ^ code) & 0x33) != 0;
}

bool NeedsPattern(std::uint8_t code)
{
    return (((code >> 4) ^ code) & 0x0F) != 0;
}

// Converts source pixels between monochrome and colour as the DCs require.
struct ColorConversion
{
    enum class enMode
    {
        None,
        MonoToColor,
        ColorToMono,
    } mode = enMode::None;
    std::uint32_t zeroColor = 0; // monochrome 0 -> destination text colour
    std::uint32_t oneColor = 0;  // monochrome 1 -> destination background colour
    std::uint32_t srcBackground = 0;

    std::uint32_t operator()(std::uint32_t pixel) const
    {
        pixel &= 0xFFFFFF;
        switch (mode)
        {
        case enMode::MonoToColor:
            return pixel ? oneColor : zeroColor;
        case enMode::ColorToMono:
            return pixel == srcBackground ? 0xFFFFFF : 0;
        case enMode::None:
            break;
        }
        return pixel;
    }
};

// Writes the mapped source rows onto the destination span by span.
template <typename RowFn>
void TransferRows(Painter& painter, const RECT& dst, const std::vector<int>& xmap,
                  const std::vector<int>& ymap, RowFn sourceRow, std::uint8_t code,
                  const PaintSource& pattern, const ColorConversion& convert)
{
    const bool plainCopy =
        code == 0xCC && convert.mode == ColorConversion::enMode::None && !painter.IsMonochrome();
    // A one-to-one copy of a run of source pixels moves whole spans.
    bool contiguous = plainCopy && !xmap.empty() && xmap.front() >= 0;
    for (std::size_t i = 1; contiguous && i < xmap.size(); ++i)
        contiguous = xmap[i] == xmap[i - 1] + 1;
    for (int y = dst.top; y < dst.bottom; ++y)
    {
        const int sy = ymap[std::size_t(y - dst.top)];
        if (sy < 0)
            continue;
        const std::uint32_t* row = sourceRow(sy);
        if (row == nullptr)
            continue;
        painter.ForEachClippedSpan(
            y, dst.left, dst.right,
            [&](int a, int b)
            {
                std::uint32_t* out = painter.At(a, y);
                const int* sx = xmap.data() + (a - dst.left);
                if (contiguous)
                {
                    std::memcpy(out, row + *sx, std::size_t(b - a) * sizeof(std::uint32_t));
                    return;
                }
                if (plainCopy)
                {
                    for (int x = a; x < b; ++x, ++out, ++sx)
                    {
                        if (*sx >= 0)
                            *out = row[*sx] & 0xFFFFFF;
                    }
                    return;
                }
                for (int x = a; x < b; ++x, ++out, ++sx)
                {
                    if (*sx < 0)
                        continue;
                    std::uint32_t p = 0;
                    if (!pattern.PixelAt(x, y, p))
                        continue;
                    std::uint32_t r = ApplyRop3(code, p, convert(row[*sx]), *out) & 0xFFFFFF;
                    *out = painter.IsMonochrome() ? ToMonochrome(r) : r;
                }
            });
    }
}

RECT NormalisedRect(const Axis& h, const Axis& v)
{
    return RECT{LowEdge(h.dstStart, h.dstExtent), LowEdge(v.dstStart, v.dstExtent),
                LowEdge(h.dstStart, h.dstExtent) + std::abs(h.dstExtent),
                LowEdge(v.dstStart, v.dstExtent) + std::abs(v.dstExtent)};
}

// The part of the destination rectangle inside the clip's bounds, so that
// huge transfers map only pixels somebody can see.
bool VisiblePart(const Region& clip, const RECT& rect, RECT& visible)
{
    const RECT bounds = clip.GetBounds();
    return IntersectRect(&visible, &rect, &bounds) && clip.IntersectsRect(visible);
}

BOOL StretchFromDC(DeviceContext& dst, const Axis& h, const Axis& v, DeviceContext* src,
                   std::uint8_t code, bool blend, BYTE alpha)
{
    if (h.dstExtent == 0 || v.dstExtent == 0)
        return TRUE;
    DrawSession session(dst);
    if (!session.IsValid())
        return dst.GetKind() == enDcKind::Info ? FALSE : TRUE;
    Painter& painter = session.GetPainter();
    const RECT full = NormalisedRect(h, v);
    RECT rect;
    if (!VisiblePart(session.GetClip(), full, rect))
        return TRUE;

    PaintSource pattern = PaintSource::Solid(0);
    if (NeedsPattern(code) && !dst.MakeBrushSource(dst.GetBrush(), pattern))
        pattern = PaintSource::Solid(0);

    if (src == nullptr || !NeedsSource(code))
    {
        painter.Rop3Rect(rect, code, pattern, [](int, int) { return std::uint32_t(0); });
        return TRUE;
    }
    if (h.srcExtent == 0 || v.srcExtent == 0)
        return FALSE;
    std::optional<DrawSession> srcSession;
    Surface* srcSurface = &session.GetSurface();
    POINT srcOrigin = session.GetOrigin();
    Region srcArea = src->GetVisibleRegion();
    if (src != &dst)
    {
        srcSession.emplace(*src, false);
        if (!srcSession->IsValid())
            return FALSE;
        srcSurface = &srcSession->GetSurface();
        srcOrigin = srcSession->GetOrigin();
    }
    const RECT srcBounds = srcArea.GetBounds();
    std::vector<int> xmap =
        MapAxis(h, rect.left - full.left, rect.right - full.left, srcBounds.right);
    std::vector<int> ymap =
        MapAxis(v, rect.top - full.top, rect.bottom - full.top, srcBounds.bottom);
    for (int& sx : xmap)
        sx = sx < srcBounds.left ? -1 : sx;
    for (int& sy : ymap)
        sy = sy < srcBounds.top ? -1 : sy;

    ColorConversion convert;
    const bool srcMono = src->IsMonochrome();
    const bool dstMono = dst.IsMonochrome();
    if (srcMono && !dstMono)
    {
        convert.mode = ColorConversion::enMode::MonoToColor;
        convert.zeroColor = PixelFromColorRef(dst.State().textColor);
        convert.oneColor = PixelFromColorRef(dst.State().bkColor);
    }
    else if (!srcMono && dstMono)
    {
        convert.mode = ColorConversion::enMode::ColorToMono;
        convert.srcBackground = PixelFromColorRef(src->State().bkColor);
    }

    // Within one surface the source rows are copied first, so overlapping
    // transfers read the pixels as they were before the call.
    const bool sameSurface = srcSurface->pTop == session.GetSurface().pTop;
    std::vector<std::uint32_t> copy;
    int copyTop = 0;
    int copyWidth = 0;
    if (sameSurface)
    {
        int lo = INT32_MAX;
        int hi = INT32_MIN;
        for (int sy : ymap)
        {
            if (sy >= 0)
            {
                lo = std::min(lo, sy);
                hi = std::max(hi, sy);
            }
        }
        if (lo > hi)
            return TRUE;
        copyTop = lo;
        copyWidth = srcBounds.right;
        copy.resize(std::size_t(hi - lo + 1) * std::size_t(copyWidth));
        for (int y = lo; y <= hi; ++y)
            std::memcpy(&copy[std::size_t(y - lo) * std::size_t(copyWidth)],
                        srcSurface->Row(y + srcOrigin.y) + srcOrigin.x, std::size_t(copyWidth) * 4);
    }
    auto sourceRow = [&](int sy) -> const std::uint32_t*
    {
        if (sameSurface)
            return &copy[std::size_t(sy - copyTop) * std::size_t(copyWidth)];
        return srcSurface->Row(sy + srcOrigin.y) + srcOrigin.x;
    };
    if (!blend)
    {
        TransferRows(painter, rect, xmap, ymap, sourceRow, code, pattern, convert);
        return TRUE;
    }
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        const int sy = ymap[std::size_t(y - rect.top)];
        if (sy < 0)
            continue;
        const std::uint32_t* row = sourceRow(sy);
        painter.ForEachClippedSpan(
            y, rect.left, rect.right,
            [&](int a, int b)
            {
                std::uint32_t* out = painter.At(a, y);
                for (int x = a; x < b; ++x, ++out)
                {
                    const int sx = xmap[std::size_t(x - rect.left)];
                    if (sx < 0)
                        continue;
                    const std::uint32_t s = convert(row[sx]);
                    std::uint32_t r = 0;
                    for (int shift = 0; shift < 24; shift += 8)
                    {
                        const std::uint32_t cs = (s >> shift) & 0xFF;
                        const std::uint32_t cd = (*out >> shift) & 0xFF;
                        r |= ((cs * alpha + cd * (255u - alpha) + 127u) / 255u) << shift;
                    }
                    *out = painter.IsMonochrome() ? ToMonochrome(r) : r;
                }
            });
    }
    return TRUE;
}

Axis MakeAxis(int dstStart, int dstEnd, int srcStart, int srcEnd)
{
    return Axis{dstStart, dstEnd - dstStart, srcStart, srcEnd - srcStart};
}

BOOL Transfer(HDC hdcDest, int xDest, int yDest, int destWidth, int destHeight, HDC hdcSrc,
              int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop, bool blend, BYTE alpha)
{
    DeviceContext* dst = LookupDC(hdcDest);
    if (dst == nullptr)
        return FALSE;
    const std::uint8_t code = std::uint8_t((rop >> 16) & 0xFF);
    DeviceContext* src = nullptr;
    if (blend || NeedsSource(code))
    {
        src = LookupDC(hdcSrc);
        if (src == nullptr)
            return FALSE;
    }
    const POINT d0 = dst->ToDevice(xDest, yDest);
    const POINT d1 = dst->ToDevice(xDest + destWidth, yDest + destHeight);
    POINT s0{0, 0};
    POINT s1{0, 0};
    if (src != nullptr)
    {
        s0 = src->ToDevice(xSrc, ySrc);
        s1 = src->ToDevice(xSrc + srcWidth, ySrc + srcHeight);
    }
    return StretchFromDC(*dst, MakeAxis(d0.x, d1.x, s0.x, s1.x), MakeAxis(d0.y, d1.y, s0.y, s1.y),
                         src, code, blend, alpha);
}

// Paints a DIB: rowsFromTop maps a destination row to the image row
// (counted from the top) and stored-row availability is checked by rowOf.
template <typename RowFn>
int PaintDib(DeviceContext& dc, const Axis& h, const Axis& v, const DibLayout& layout,
             RowFn sourceRow, std::uint8_t code)
{
    if (h.dstExtent == 0 || v.dstExtent == 0)
        return 0;
    DrawSession session(dc);
    if (!session.IsValid())
        return 0;
    const RECT full = NormalisedRect(h, v);
    RECT rect;
    if (!VisiblePart(session.GetClip(), full, rect))
        return std::abs(v.srcExtent);
    PaintSource pattern = PaintSource::Solid(0);
    if (NeedsPattern(code) && !dc.MakeBrushSource(dc.GetBrush(), pattern))
        pattern = PaintSource::Solid(0);
    const std::vector<int> xmap =
        MapAxis(h, rect.left - full.left, rect.right - full.left, layout.nWidth);
    const std::vector<int> ymap =
        MapAxis(v, rect.top - full.top, rect.bottom - full.top, layout.nHeight);
    ColorConversion none;
    TransferRows(session.GetPainter(), rect, xmap, ymap, sourceRow, code, pattern, none);
    return std::abs(v.srcExtent);
}
} // namespace

BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
            DWORD rop)
{
    GdiRecord(hdcDest, "BitBlt", {x, y, width, height, xSrc, ySrc, rop});
    return Transfer(hdcDest, x, y, width, height, hdcSrc, xSrc, ySrc, width, height, rop, false,
                    255);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int destWidth, int destHeight, HDC hdcSrc,
                int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop)
{
    GdiRecord(hdcDest, "StretchBlt",
              {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, rop});
    return Transfer(hdcDest, xDest, yDest, destWidth, destHeight, hdcSrc, xSrc, ySrc, srcWidth,
                    srcHeight, rop, false, 255);
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop)
{
    GdiRecord(hdc, "PatBlt", {x, y, width, height, rop});
    const std::uint8_t code = std::uint8_t((rop >> 16) & 0xFF);
    if (NeedsSource(code))
        return FALSE;
    return Transfer(hdc, x, y, width, height, nullptr, 0, 0, 0, 0, rop, false, 255);
}

BOOL AlphaBlend(HDC hdcDest, int xDest, int yDest, int destWidth, int destHeight, HDC hdcSrc,
                int xSrc, int ySrc, int srcWidth, int srcHeight, BLENDFUNCTION blend)
{
    GdiRecord(hdcDest, "AlphaBlend",
              {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
               blend.SourceConstantAlpha});
    if (blend.BlendOp != AC_SRC_OVER || blend.AlphaFormat != 0 || destWidth < 0 || destHeight < 0 ||
        srcWidth < 0 || srcHeight < 0)
        return FALSE;
    return Transfer(hdcDest, xDest, yDest, destWidth, destHeight, hdcSrc, xSrc, ySrc, srcWidth,
                    srcHeight, SRCCOPY, true, blend.SourceConstantAlpha);
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
                      UINT usage)
{
    GdiRecord(hdc, "SetDIBitsToDevice",
              {xDest, yDest, width, height, xSrc, ySrc, startScan, scanLines});
    DeviceContext* dc = LookupDC(hdc);
    DibLayout layout;
    if (dc == nullptr || bits == nullptr || !ParseDibLayout(info, usage, layout) ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return 0;
    DibReader reader(layout, bits);
    if (reader.IsRle() && startScan != 0)
        return 0;
    const int w = int(width);
    const int h = int(height);
    // The band's top row counted from the image's top: bottom-up DIBs count
    // ySrc from the lower-left corner.
    const std::int64_t bandTop =
        layout.bTopDown ? std::int64_t(ySrc) : std::int64_t(layout.nHeight) - ySrc - h;
    auto available = [&](int rowFromTop)
    {
        if (rowFromTop < 0 || rowFromTop >= layout.nHeight)
            return false;
        if (reader.IsRle())
            return true;
        const int stored = layout.StoredRow(rowFromTop);
        return stored >= int(startScan) &&
               std::uint64_t(stored) < std::uint64_t(startScan) + scanLines;
    };
    int rowsSet = 0;
    for (int i = 0; i < h; ++i)
    {
        const std::int64_t t = bandTop + i;
        if (t >= 0 && t < layout.nHeight && available(int(t)))
            ++rowsSet;
    }
    if (rowsSet == 0)
        return 0;
    std::vector<std::uint32_t> row(std::size_t(layout.nWidth));
    auto sourceRow = [&](int rowFromTop) -> const std::uint32_t*
    {
        if (!available(rowFromTop))
            return nullptr;
        if (reader.IsRle())
            return reader.GetRow(rowFromTop);
        const int stored = layout.StoredRow(rowFromTop);
        reader.DecodeRow(static_cast<const std::uint8_t*>(bits) +
                             std::uint64_t(stored - int(startScan)) * layout.nRowBytes,
                         row.data());
        return row.data();
    };
    const POINT d = dc->ToDevice(xDest, yDest);
    const Axis ax{d.x, w, xSrc, w};
    const Axis ay{d.y, h, int(std::clamp<std::int64_t>(bandTop, INT32_MIN / 2, INT32_MAX / 2)), h};
    if (PaintDib(*dc, ax, ay, layout, sourceRow, 0xCC) == 0)
        return 0;
    return rowsSet;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop)
{
    GdiRecord(hdc, "StretchDIBits",
              {xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight, rop});
    DeviceContext* dc = LookupDC(hdc);
    DibLayout layout;
    if (dc == nullptr || bits == nullptr || !ParseDibLayout(info, usage, layout) || srcWidth == 0 ||
        srcHeight == 0)
        return 0;
    DibReader reader(layout, bits);
    // Bottom-up DIBs count ySrc from the lower-left corner.
    const std::int64_t top =
        layout.bTopDown ? std::int64_t(ySrc) : std::int64_t(layout.nHeight) - ySrc - srcHeight;
    const POINT d0 = dc->ToDevice(xDest, yDest);
    const POINT d1 = dc->ToDevice(xDest + destWidth, yDest + destHeight);
    const Axis ax{d0.x, d1.x - d0.x, xSrc, srcWidth};
    const Axis ay{d0.y, d1.y - d0.y,
                  int(std::clamp<std::int64_t>(top, INT32_MIN / 2, INT32_MAX / 2)), srcHeight};
    auto sourceRow = [&](int rowFromTop) { return reader.GetRow(rowFromTop); };
    return PaintDib(*dc, ax, ay, layout, sourceRow, std::uint8_t((rop >> 16) & 0xFF));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return CLR_INVALID;
    DrawSession session(*dc);
    const POINT d = dc->ToDevice(x, y);
    if (!session.IsValid() || !session.GetPainter().IsVisible(d.x, d.y))
        return CLR_INVALID;
    session.GetPainter().PutPixel(d.x, d.y, PixelFromColorRef(color));
    return ColorRefFromPixel(session.GetPainter().GetPixel(d.x, d.y));
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return CLR_INVALID;
    DrawSession session(*dc, false);
    const POINT d = dc->ToDevice(x, y);
    if (!session.IsValid() || !session.GetPainter().IsVisible(d.x, d.y))
        return CLR_INVALID;
    return ColorRefFromPixel(session.GetPainter().GetPixel(d.x, d.y));
}

BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
              LPRECT updateRect)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    RECT source;
    if (scroll != nullptr)
        source = *scroll;
    else
        GetClipBox(hdc, &source);
    RECT limit = clip != nullptr ? *clip : source;
    if (clip == nullptr && scroll == nullptr)
        GetClipBox(hdc, &limit);
    RECT area;
    IntersectRect(&area, &source, &limit);

    // The move itself: a blit within the DC, its destination kept inside
    // the clip rectangle.
    DcState& state = dc->State();
    const std::optional<Region> savedClip = state.clip;
    const Region limitRegion(dc->ToDevice(limit));
    state.clip = state.clip ? Region::Combine(*state.clip, limitRegion, RGN_AND) : limitRegion;
    BitBlt(hdc, source.left + dx, source.top + dy, source.right - source.left,
           source.bottom - source.top, hdc, source.left, source.top, SRCCOPY);
    state.clip = savedClip;

    // What the move uncovered: the area minus where its pixels went.
    RECT moved = source;
    OffsetRect(&moved, dx, dy);
    RECT covered;
    IntersectRect(&covered, &moved, &limit);
    const Region uncovered =
        Region::Combine(Region(dc->ToDevice(area)), Region(dc->ToDevice(covered)), RGN_DIFF);
    if (GdiRegion* region = GdiLookupAs<GdiRegion>(update))
        region->m_region = uncovered;
    if (updateRect != nullptr)
    {
        const RECT bounds = uncovered.GetBounds();
        const POINT a = dc->ToLogical(bounds.left, bounds.top);
        const POINT b = dc->ToLogical(bounds.right, bounds.bottom);
        *updateRect = uncovered.IsEmpty() ? RECT{0, 0, 0, 0} : RECT{a.x, a.y, b.x, b.y};
    }
    return TRUE;
}
