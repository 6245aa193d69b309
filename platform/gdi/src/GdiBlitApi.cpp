// Block transfers: BitBlt, StretchBlt, PatBlt, AlphaBlend and the DIB
// painters. The DCs' mappings, clips and colours, and the DIBs' layouts,
// become block transfers for the painter.
#include "DeviceContext.h"
#include "GdiTransfer.h"

#include <algorithm>
#include <cstring>

namespace
{
// The part of the destination rectangle inside the clip's bounds, so that
// huge transfers map only pixels somebody can see.
bool VisiblePart(const Region& clip, const RECT& rect, RECT& visible)
{
    const RECT bounds = clip.GetBounds();
    return IntersectRect(&visible, &rect, &bounds) && clip.IntersectsRect(visible);
}

// The brush a ternary operation combines, when it reads one.
PaintSource PatternOf(const DeviceContext& dc, std::uint8_t code)
{
    PaintSource pattern = PaintSource::Solid(0);
    if (Rop3NeedsPattern(code) && !dc.MakeBrushSource(dc.GetBrush(), pattern))
        pattern = PaintSource::Solid(0);
    return pattern;
}

// Monochrome and colour meet through the DCs' text and background colours.
ColorConversion ConversionBetween(const DeviceContext& src, const DeviceContext& dst)
{
    ColorConversion convert;
    const bool srcMono = src.IsMonochrome();
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
        convert.srcBackground = PixelFromColorRef(src.State().bkColor);
    }
    return convert;
}

// The source pixels a transfer reads, in the source's device coordinates.
RECT SourceRect(const TransferAxis& h, const TransferAxis& v)
{
    return RECT{std::min(h.srcStart, h.srcStart + h.srcExtent),
                std::min(v.srcStart, v.srcStart + v.srcExtent),
                std::max(h.srcStart, h.srcStart + h.srcExtent),
                std::max(v.srcStart, v.srcStart + v.srcExtent)};
}

BOOL StretchFromDC(DeviceContext& dst, const TransferAxis& h, const TransferAxis& v,
                   DeviceContext* src, std::uint8_t code, bool blend, BYTE alpha)
{
    if (h.dstExtent == 0 || v.dstExtent == 0)
        return TRUE;
    DrawSession session(dst);
    if (!session.IsValid())
        return dst.GetKind() == enDcKind::Info ? FALSE : TRUE;
    const RECT full = TransferRect(h, v);
    BlockTransfer transfer;
    if (!VisiblePart(session.GetClip(), full, transfer.dst))
        return TRUE;
    transfer.code = code;
    transfer.pattern = PatternOf(dst, code);
    if (src == nullptr || !Rop3NeedsSource(code))
    {
        session.GetPainter().TransferBlock(transfer);
        return TRUE;
    }
    if (h.srcExtent == 0 || v.srcExtent == 0)
        return FALSE;
    if (src->GetKind() == enDcKind::Screen)
        ReadScreenInto(SourceRect(h, v));
    std::optional<DrawSession> srcSession;
    if (src != &dst)
    {
        srcSession.emplace(*src, false);
        if (!srcSession->IsValid())
            return FALSE;
    }
    const DrawSession& source = srcSession ? *srcSession : session;
    const RECT srcBounds = src->GetVisibleRegion().GetBounds();
    const RECT& rect = transfer.dst;
    transfer.xmap = MapAxis(h, rect.left - full.left, rect.right - full.left, srcBounds.right);
    transfer.ymap = MapAxis(v, rect.top - full.top, rect.bottom - full.top, srcBounds.bottom);
    for (int& sx : transfer.xmap)
        sx = sx < srcBounds.left ? -1 : sx;
    for (int& sy : transfer.ymap)
        sy = sy < srcBounds.top ? -1 : sy;
    transfer.pSource = &source.GetSurface();
    transfer.srcOrigin = source.GetOrigin();
    transfer.convert = ConversionBetween(*src, dst);
    transfer.bBlend = blend;
    transfer.alpha = alpha;
    session.GetPainter().TransferBlock(transfer);
    return TRUE;
}

TransferAxis MakeAxis(int dstStart, int dstEnd, int srcStart, int srcEnd)
{
    return TransferAxis{dstStart, dstEnd - dstStart, srcStart, srcEnd - srcStart};
}

BOOL Transfer(HDC hdcDest, int xDest, int yDest, int destWidth, int destHeight, HDC hdcSrc,
              int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop, bool blend, BYTE alpha)
{
    DeviceContext* dst = LookupDC(hdcDest);
    if (dst == nullptr)
        return FALSE;
    const std::uint8_t code = std::uint8_t((rop >> 16) & 0xFF);
    DeviceContext* src = nullptr;
    if (blend || Rop3NeedsSource(code))
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

// Paints rows of a DIB: source image rows count from the top; rowOf turns
// an image row into a row of source (-1 when the caller gave no such row).
template <typename RowFn>
int PaintDib(DeviceContext& dc, const TransferAxis& h, const TransferAxis& v,
             const DibLayout& layout, const PixelSurface& source, RowFn rowOf, std::uint8_t code)
{
    if (h.dstExtent == 0 || v.dstExtent == 0)
        return 0;
    DrawSession session(dc);
    if (!session.IsValid())
        return 0;
    const RECT full = TransferRect(h, v);
    BlockTransfer transfer;
    if (!VisiblePart(session.GetClip(), full, transfer.dst))
        return std::abs(v.srcExtent);
    const RECT& rect = transfer.dst;
    transfer.code = code;
    transfer.pattern = PatternOf(dc, code);
    transfer.xmap = MapAxis(h, rect.left - full.left, rect.right - full.left, layout.nWidth);
    transfer.ymap = MapAxis(v, rect.top - full.top, rect.bottom - full.top, layout.nHeight);
    for (int& sy : transfer.ymap)
        sy = sy >= 0 ? rowOf(sy) : -1;
    transfer.pSource = &source;
    session.GetPainter().TransferBlock(transfer);
    return std::abs(v.srcExtent);
}

// The pixels of a DIB given to a call: its own rows, or the decoded image
// of a run-length encoded one.
struct DibSource
{
    DibSource(const DibLayout& layout, const void* bits) : reader(layout, bits)
    {
        if (reader.IsRle())
            surface = PixelSurface::Rows32(
                reinterpret_cast<std::uint8_t*>(const_cast<std::uint32_t*>(reader.GetRow(0))),
                layout.nWidth, layout.nHeight, std::ptrdiff_t(layout.nWidth) * 4, false);
        else
            surface = PixelSurface::OfDib(static_cast<std::uint8_t*>(const_cast<void*>(bits)),
                                          layout, nullptr);
    }
    DibReader reader;
    PixelSurface surface;
};
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
    if (Rop3NeedsSource(code))
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
    const bool rle = layout.nCompression == BI_RLE8 || layout.nCompression == BI_RLE4;
    if (rle && startScan != 0)
        return 0;
    const int w = int(width);
    const int h = int(height);
    // The band's top row counted from the image's top: bottom-up DIBs count
    // ySrc from the lower-left corner.
    const std::int64_t bandTop =
        layout.bTopDown ? std::int64_t(ySrc) : std::int64_t(layout.nHeight) - ySrc - h;
    // The caller's bits hold the stored rows [startScan, startScan + lines):
    // an image of their own, whose top row is image row offset.
    DibLayout given = layout;
    std::int64_t offset = 0;
    if (!rle)
    {
        const std::int64_t lines =
            std::min<std::int64_t>(scanLines, std::int64_t(layout.nHeight) - startScan);
        given.nHeight = int(std::max<std::int64_t>(lines, 0));
        offset = layout.bTopDown ? std::int64_t(startScan)
                                 : std::int64_t(layout.nHeight) - startScan - lines;
    }
    auto rowOf = [&](int rowFromTop)
    {
        const std::int64_t row = rowFromTop - offset;
        return row >= 0 && row < given.nHeight ? int(row) : -1;
    };
    int rowsSet = 0;
    for (int i = 0; i < h; ++i)
    {
        const std::int64_t t = bandTop + i;
        if (t >= 0 && t < layout.nHeight && rowOf(int(t)) >= 0)
            ++rowsSet;
    }
    if (rowsSet == 0)
        return 0;
    const DibSource source(given, bits);
    const POINT d = dc->ToDevice(xDest, yDest);
    const TransferAxis ax{d.x, w, xSrc, w};
    const TransferAxis ay{d.y, h,
                          int(std::clamp<std::int64_t>(bandTop, INT32_MIN / 2, INT32_MAX / 2)), h};
    if (PaintDib(*dc, ax, ay, layout, source.surface, rowOf, 0xCC) == 0)
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
    const DibSource source(layout, bits);
    // Bottom-up DIBs count ySrc from the lower-left corner.
    const std::int64_t top =
        layout.bTopDown ? std::int64_t(ySrc) : std::int64_t(layout.nHeight) - ySrc - srcHeight;
    const POINT d0 = dc->ToDevice(xDest, yDest);
    const POINT d1 = dc->ToDevice(xDest + destWidth, yDest + destHeight);
    const TransferAxis ax{d0.x, d1.x - d0.x, xSrc, srcWidth};
    const TransferAxis ay{d0.y, d1.y - d0.y,
                          int(std::clamp<std::int64_t>(top, INT32_MIN / 2, INT32_MAX / 2)),
                          srcHeight};
    return PaintDib(
        *dc, ax, ay, layout, source.surface, [](int rowFromTop) { return rowFromTop; },
        std::uint8_t((rop >> 16) & 0xFF));
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
    const POINT d = dc->ToDevice(x, y);
    if (dc->GetKind() == enDcKind::Screen)
        ReadScreenInto(RECT{d.x, d.y, d.x + 1, d.y + 1});
    DrawSession session(*dc, false);
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
