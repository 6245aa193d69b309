// The painter of one drawing call: the drawing algorithms of the GDI core
// behind a small interface in device coordinates (fill a coverage, stroke a
// path with a pen, transfer a block through axis maps and a raster
// operation, draw a glyph run), clipped to the DC's clip and combined with
// the destination through a binary (ROP2) or ternary raster operation. The
// entry points of the interface only turn DC state and handles into calls
// of this one.
#pragma once

#include "GdiTools.h"
#include "PixelSurface.h"
#include "Region.h"

#include <cstdint>
#include <vector>

struct PenStroke;
struct StrokeCoverage;
struct ShapeFill;
struct BlockTransfer;
struct GlyphRun;

// What a span is filled with: a colour, or a brush whose pixel depends on
// the device position.
struct PaintSource
{
    enum class enKind
    {
        Solid,
        Pattern,
        Hatch,
    };
    enKind kind = enKind::Solid;
    std::uint32_t color = 0;
    const GdiBrush* pBrush = nullptr;
    std::uint32_t foreground = 0; // monochrome pattern 0 bits, hatch lines
    std::uint32_t background = 0; // monochrome pattern 1 bits, hatch gaps
    bool bOpaqueHatch = true;
    POINT brushOrg{0, 0};

    static PaintSource Solid(std::uint32_t pixel)
    {
        PaintSource s;
        s.color = pixel;
        return s;
    }
    // The pixel at device position (x, y); false where a transparent hatch
    // leaves the destination alone.
    bool PixelAt(int x, int y, std::uint32_t& pixel) const;
};

std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst);
std::uint32_t ApplyRop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d);

class Painter
{
public:
    // clip is in device coordinates; origin is where device (0, 0) lies on
    // the surface.
    Painter(const PixelSurface& surface, POINT origin, const Region& clip);

    // Fill a coverage: every pixel of it once, through the mix mode.
    void FillCoverage(const Region& coverage, const PaintSource& source, int rop2);
    void FillRect(const RECT& rect, const PaintSource& source, int rop2);
    void FillSpan(int y, int x0, int x1, const PaintSource& source, int rop2);

    // Stroke a path with a pen (GdiStroke.cpp).
    StrokeCoverage GetStrokeCoverage(const PenStroke& pen, std::vector<POINT> pts,
                                     bool closed) const;
    void PaintStroke(const StrokeCoverage& stroke, const PenStroke& pen, int rop2);
    void StrokePath(const PenStroke& pen, const std::vector<POINT>& pts, bool closed, int rop2);
    // A closed shape: its outline with the pen, the rest with the brush.
    void DrawShape(const ShapeFill& shape);
    // The part of an ellipse's outline from a0 sweeping by sweep radians.
    void StrokeArc(const PenStroke& pen, const RECT& box, double a0, double sweep, int rop2);

    // Transfer a block through axis maps and a raster operation
    // (GdiTransfer.cpp).
    void TransferBlock(const BlockTransfer& transfer);

    // Draw a glyph run (GdiGlyphRun.cpp).
    void DrawGlyphRun(const GlyphRun& run);

    bool IsVisible(int x, int y) const;
    std::uint32_t GetPixel(int x, int y) const;
    // Writes what the call drew on a DIB surface back into its bits.
    void Flush();
    void PutPixel(int x, int y, std::uint32_t pixel);
    const RECT& GetDirty() const { return m_dirty; }
    const Region& GetClip() const { return m_clip; }
    const PixelSurface& GetSurface() const { return m_surface; }
    POINT GetOrigin() const { return m_origin; }
    bool IsMonochrome() const { return m_surface.IsMonochrome(); }

    // Calls fn(a, b) for the parts [a, b) of row y's span [x0, x1) inside
    // the clip.
    template <typename SpanFn> void ForEachClippedSpan(int y, int x0, int x1, SpanFn fn);
    // Calls fn(pixels, a, b) for each clipped part of the span with the
    // destination's pixels [a, b) as 32-bit pixels, which fn may change: in
    // place on a 32-bit surface; on a DIB surface read before and written
    // back after, or kept in the call's copy of the rows once it keeps one.
    template <typename EditFn> void EditSpan(int y, int x0, int x1, EditFn fn);
    // From now on keeps the DIB pixels the call touches in a 32-bit copy
    // until Flush, for calls that combine a pixel more than once.
    void KeepRowCopies() { m_bKeepCopies = !m_surface.IsDirect(); }

private:
    // The 32-bit copy of the pixels a call touches on one row of a DIB
    // surface: decoded on first touch, encoded once when the call ends, so
    // that a pixel drawn twice in one call (text on its opaque cell,
    // overlapping glyphs) is combined at full precision.
    struct RowCopy
    {
        int x0 = 0; // decoded columns [x0, x0 + pixels.size())
        std::vector<std::uint32_t> pixels;
        int dirty0 = 0; // changed columns [dirty0, dirty1)
        int dirty1 = 0;
    };

    void MarkDirty(int y, int x0, int x1);
    // Surface pixels [x0, x1) of surface row y in the row copies.
    std::uint32_t* CopiedSpan(int y, int x0, int x1);
    // A plain copy from 8-bit table entries through one table lookup per
    // entry.
    void TransferIndexed(const BlockTransfer& transfer);

    const PixelSurface& m_surface;
    POINT m_origin;
    const Region& m_clip;
    RECT m_dirty{0, 0, 0, 0};
    bool m_bKeepCopies = false;
    std::vector<RowCopy> m_rows;       // by surface row, while copies are kept
    std::vector<std::uint32_t> m_span; // one span of a DIB surface
};

template <typename SpanFn> void Painter::ForEachClippedSpan(int y, int x0, int x1, SpanFn fn)
{
    const std::vector<Span>* row = m_clip.FindRow(y);
    if (row == nullptr)
        return;
    for (const Span& s : *row)
    {
        const int a = x0 > s.x0 ? x0 : s.x0;
        const int b = x1 < s.x1 ? x1 : s.x1;
        if (a < b)
        {
            MarkDirty(y, a, b);
            fn(a, b);
        }
    }
}

template <typename EditFn> void Painter::EditSpan(int y, int x0, int x1, EditFn fn)
{
    ForEachClippedSpan(y, x0, x1,
                       [&](int a, int b)
                       {
                           const int sy = y + m_origin.y;
                           const int sa = a + m_origin.x;
                           const int sb = b + m_origin.x;
                           if (m_surface.IsDirect())
                           {
                               std::uint32_t* pixels = m_surface.Row(sy) + sa;
                               fn(pixels, a, b);
                               if (m_surface.IsMonochrome())
                               {
                                   for (int i = 0; i < b - a; ++i)
                                       pixels[i] = ToMonochrome(pixels[i]);
                               }
                               return;
                           }
                           if (m_bKeepCopies)
                           {
                               fn(CopiedSpan(sy, sa, sb), a, b);
                               return;
                           }
                           m_span.resize(std::size_t(b - a));
                           m_surface.Read(sy, sa, sb, m_span.data());
                           fn(m_span.data(), a, b);
                           m_surface.Write(sy, sa, sb, m_span.data());
                       });
}
