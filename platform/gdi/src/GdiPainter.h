// Writes pixels onto a surface for one drawing call: spans and pixels in a
// DC's device coordinates, clipped to the DC's clip, combined with the
// destination through a binary (ROP2) or ternary raster operation.
#pragma once

#include "GdiBitmap.h"
#include "GdiTools.h"
#include "Region.h"

#include <cstdint>

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
    Painter(Surface& surface, POINT origin, const Region& clip);

    void FillSpan(int y, int x0, int x1, const PaintSource& source, int rop2);
    void FillRegion(const Region& coverage, const PaintSource& source, int rop2);
    void FillRect(const RECT& rect, const PaintSource& source, int rop2);
    // Ternary operation over a rectangle; source(x, y) gives the source
    // pixel of a device position (unused when the code ignores it).
    template <typename SourceFn>
    void Rop3Rect(const RECT& rect, std::uint8_t code, const PaintSource& pattern, SourceFn source);
    // Blends src over the destination through a visitor of clipped spans.
    template <typename SpanFn> void ForEachClippedSpan(int y, int x0, int x1, SpanFn fn);

    bool IsVisible(int x, int y) const;
    std::uint32_t GetPixel(int x, int y) const;
    void PutPixel(int x, int y, std::uint32_t pixel);
    const RECT& GetDirty() const { return m_dirty; }
    bool IsMonochrome() const { return m_surface.bMonochrome; }
    std::uint32_t* At(int x, int y) const { return m_surface.Row(y + m_origin.y) + x + m_origin.x; }

private:
    void MarkDirty(int y, int x0, int x1);

    Surface& m_surface;
    POINT m_origin;
    const Region& m_clip;
    RECT m_dirty{0, 0, 0, 0};
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

template <typename SourceFn>
void Painter::Rop3Rect(const RECT& rect, std::uint8_t code, const PaintSource& pattern,
                       SourceFn source)
{
    const std::uint32_t outMask = 0xFFFFFF;
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        ForEachClippedSpan(y, rect.left, rect.right,
                           [&](int a, int b)
                           {
                               std::uint32_t* dst = At(a, y);
                               for (int x = a; x < b; ++x, ++dst)
                               {
                                   std::uint32_t p = 0;
                                   if (!pattern.PixelAt(x, y, p))
                                       continue;
                                   std::uint32_t r =
                                       ApplyRop3(code, p, source(x, y), *dst) & outMask;
                                   *dst = m_surface.bMonochrome ? ToMonochrome(r) : r;
                               }
                           });
    }
}
