#include "GdiPainter.h"

#include <algorithm>

namespace
{
// Eight-by-eight hatch masks, one byte per row, bit 7 the leftmost pixel.
const std::uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
};

int Wrap(int value, int size)
{
    const int m = value % size;
    return m < 0 ? m + size : m;
}
} // namespace

bool PaintSource::PixelAt(int x, int y, std::uint32_t& pixel) const
{
    switch (kind)
    {
    case enKind::Solid:
        pixel = color;
        return true;
    case enKind::Pattern:
    {
        const int px = Wrap(x - brushOrg.x, pBrush->m_nPatternWidth);
        const int py = Wrap(y - brushOrg.y, pBrush->m_nPatternHeight);
        const std::uint32_t v =
            pBrush->m_pattern[std::size_t(py) * std::size_t(pBrush->m_nPatternWidth) +
                              std::size_t(px)];
        pixel = pBrush->m_bPatternMonochrome ? (v ? background : foreground) : v;
        return true;
    }
    case enKind::Hatch:
    {
        const int hatch = std::clamp(pBrush->m_nHatch, 0, 5);
        const bool on =
            (kHatches[hatch][Wrap(y - brushOrg.y, 8)] >> (7 - Wrap(x - brushOrg.x, 8))) & 1;
        pixel = on ? foreground : background;
        return on || bOpaqueHatch;
    }
    }
    return false;
}

std::uint32_t ApplyRop2(int rop2, std::uint32_t p, std::uint32_t d)
{
    std::uint32_t r;
    switch (rop2)
    {
    case R2_BLACK:
        r = 0;
        break;
    case R2_NOTMERGEPEN:
        r = ~(p | d);
        break;
    case R2_MASKNOTPEN:
        r = ~p & d;
        break;
    case R2_NOTCOPYPEN:
        r = ~p;
        break;
    case R2_MASKPENNOT:
        r = p & ~d;
        break;
    case R2_NOT:
        r = ~d;
        break;
    case R2_XORPEN:
        r = p ^ d;
        break;
    case R2_NOTMASKPEN:
        r = ~(p & d);
        break;
    case R2_MASKPEN:
        r = p & d;
        break;
    case R2_NOTXORPEN:
        r = ~(p ^ d);
        break;
    case R2_NOP:
        r = d;
        break;
    case R2_MERGENOTPEN:
        r = ~p | d;
        break;
    case R2_MERGEPENNOT:
        r = p | ~d;
        break;
    case R2_MERGEPEN:
        r = p | d;
        break;
    case R2_WHITE:
        r = 0xFFFFFF;
        break;
    default:
        r = p;
        break;
    }
    return r & 0xFFFFFF;
}

std::uint32_t ApplyRop3(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    switch (code)
    {
    case 0xCC:
        return s;
    case 0xF0:
        return p;
    case 0x00:
        return 0;
    case 0xFF:
        return 0xFFFFFF;
    case 0x55:
        return ~d;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    case 0x66:
        return s ^ d;
    case 0x5A:
        return p ^ d;
    default:
        break;
    }
    // Bit i of the code is the result for pattern = bit 2 of i, source =
    // bit 1 and destination = bit 0.
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i)
    {
        if ((code >> i) & 1)
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

Painter::Painter(const PixelSurface& surface, POINT origin, const Region& clip)
    : m_surface(surface), m_origin(origin), m_clip(clip)
{
}

void Painter::MarkDirty(int y, int x0, int x1)
{
    if (m_dirty.right <= m_dirty.left)
    {
        m_dirty = RECT{x0, y, x1, y + 1};
        return;
    }
    m_dirty.left = std::min<LONG>(m_dirty.left, x0);
    m_dirty.right = std::max<LONG>(m_dirty.right, x1);
    m_dirty.top = std::min<LONG>(m_dirty.top, y);
    m_dirty.bottom = std::max<LONG>(m_dirty.bottom, y + 1);
}

std::uint32_t* Painter::CopiedSpan(int y, int x0, int x1)
{
    if (m_rows.empty())
        m_rows.resize(std::size_t(m_surface.GetHeight()));
    RowCopy& row = m_rows[std::size_t(y)];
    if (row.pixels.empty())
    {
        row.x0 = x0;
        row.pixels.resize(std::size_t(x1 - x0));
        m_surface.Read(y, x0, x1, row.pixels.data());
        row.dirty0 = x0;
        row.dirty1 = x1;
        return row.pixels.data();
    }
    const int have0 = row.x0;
    const int have1 = row.x0 + int(row.pixels.size());
    if (x0 < have0)
    {
        row.pixels.insert(row.pixels.begin(), std::size_t(have0 - x0), 0);
        m_surface.Read(y, x0, have0, row.pixels.data());
        row.x0 = x0;
    }
    if (x1 > have1)
    {
        row.pixels.resize(std::size_t(x1 - row.x0));
        m_surface.Read(y, have1, x1, row.pixels.data() + (have1 - row.x0));
    }
    row.dirty0 = std::min(row.dirty0, x0);
    row.dirty1 = std::max(row.dirty1, x1);
    return row.pixels.data() + (x0 - row.x0);
}

void Painter::Flush()
{
    for (std::size_t y = 0; y < m_rows.size(); ++y)
    {
        RowCopy& row = m_rows[y];
        if (row.dirty1 > row.dirty0)
            m_surface.Write(int(y), row.dirty0, row.dirty1,
                            row.pixels.data() + (row.dirty0 - row.x0));
        row = RowCopy{};
    }
}

void Painter::FillSpan(int y, int x0, int x1, const PaintSource& source, int rop2)
{
    const bool mono = m_surface.IsMonochrome();
    if (source.kind == PaintSource::enKind::Solid && rop2 == R2_COPYPEN)
    {
        if (m_bKeepCopies)
        {
            EditSpan(y, x0, x1,
                     [&](std::uint32_t* dst, int a, int b)
                     { std::fill(dst, dst + (b - a), source.color & 0xFFFFFF); });
            return;
        }
        ForEachClippedSpan(
            y, x0, x1,
            [&](int a, int b)
            { m_surface.Fill(y + m_origin.y, a + m_origin.x, b + m_origin.x, source.color); });
        return;
    }
    if (source.kind == PaintSource::enKind::Solid)
    {
        const std::uint32_t pen = mono ? ToMonochrome(source.color) : source.color;
        EditSpan(y, x0, x1,
                 [&](std::uint32_t* dst, int a, int b)
                 {
                     for (int x = a; x < b; ++x, ++dst)
                         *dst = ApplyRop2(rop2, pen, *dst);
                 });
        return;
    }
    EditSpan(y, x0, x1,
             [&](std::uint32_t* dst, int a, int b)
             {
                 for (int x = a; x < b; ++x, ++dst)
                 {
                     std::uint32_t pen;
                     if (!source.PixelAt(x, y, pen))
                         continue;
                     *dst = ApplyRop2(rop2, mono ? ToMonochrome(pen) : pen, *dst);
                 }
             });
}

void Painter::FillCoverage(const Region& coverage, const PaintSource& source, int rop2)
{
    for (const Region::Band& band : coverage.GetBands())
    {
        for (int y = band.y0; y < band.y1; ++y)
        {
            for (const Span& s : band.spans)
                FillSpan(y, s.x0, s.x1, source, rop2);
        }
    }
}

void Painter::FillRect(const RECT& rect, const PaintSource& source, int rop2)
{
    const RECT bounds = m_clip.GetBounds();
    const int top = std::max<int>(rect.top, bounds.top);
    const int bottom = std::min<int>(rect.bottom, bounds.bottom);
    for (int y = top; y < bottom; ++y)
        FillSpan(y, rect.left, rect.right, source, rop2);
}

bool Painter::IsVisible(int x, int y) const
{
    return m_clip.Contains(x, y);
}

std::uint32_t Painter::GetPixel(int x, int y) const
{
    const int sx = x + m_origin.x;
    const int sy = y + m_origin.y;
    if (!m_rows.empty())
    {
        const RowCopy& row = m_rows[std::size_t(sy)];
        if (sx >= row.x0 && sx < row.x0 + int(row.pixels.size()))
            return row.pixels[std::size_t(sx - row.x0)] & 0xFFFFFF;
    }
    std::uint32_t pixel = 0;
    m_surface.Read(sy, sx, sx + 1, &pixel);
    return pixel;
}

void Painter::PutPixel(int x, int y, std::uint32_t pixel)
{
    EditSpan(y, x, x + 1, [&](std::uint32_t* dst, int, int) { *dst = pixel & 0xFFFFFF; });
}
