#include "PixelSurface.h"

#include <algorithm>
#include <cstring>
#include <vector>

std::uint32_t ToMonochrome(std::uint32_t pixel)
{
    const unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return sum >= 383 ? 0xFFFFFF : 0;
}

PixelSurface PixelSurface::Rows32(std::uint8_t* top, int width, int height, std::ptrdiff_t stride,
                                  bool monochrome)
{
    PixelSurface surface;
    surface.m_pTop = top;
    surface.m_nWidth = width;
    surface.m_nHeight = height;
    surface.m_nStride = stride;
    surface.m_bMonochrome = monochrome;
    return surface;
}

PixelSurface PixelSurface::OfDib(std::uint8_t* bits, const DibLayout& layout, NearestColor* nearest)
{
    const auto rowBytes = std::ptrdiff_t(layout.nStride);
    PixelSurface surface;
    surface.m_pTop = layout.bTopDown ? bits : bits + (layout.nHeight - 1) * rowBytes;
    surface.m_nWidth = layout.nWidth;
    surface.m_nHeight = layout.nHeight;
    surface.m_nStride = layout.bTopDown ? rowBytes : -rowBytes;
    surface.m_pLayout = &layout;
    surface.m_pNearest = nearest;
    return surface;
}

bool PixelSurface::IsIndexed8() const
{
    return m_pLayout != nullptr && m_pLayout->nBitCount == 8 && m_pLayout->nCompression == BI_RGB;
}

void PixelSurface::Read(int y, int x0, int x1, std::uint32_t* out) const
{
    if (IsDirect())
    {
        const std::uint32_t* row = Row(y);
        for (int x = x0; x < x1; ++x)
            *out++ = row[x] & 0xFFFFFF;
        return;
    }
    DecodeDibSpan(*m_pLayout, DibRow(y), x0, x1, out);
}

void PixelSurface::Write(int y, int x0, int x1, const std::uint32_t* in) const
{
    if (IsDirect())
    {
        std::uint32_t* row = Row(y);
        for (int x = x0; x < x1; ++x, ++in)
            row[x] = (m_bMonochrome ? ToMonochrome(*in) : *in) & 0xFFFFFF;
        return;
    }
    EncodeDibSpan(*m_pLayout, in, x0, x1, DibRow(y), m_pNearest);
}

void PixelSurface::Fill(int y, int x0, int x1, std::uint32_t pixel) const
{
    if (x1 <= x0)
        return;
    if (IsDirect())
    {
        std::uint32_t* row = Row(y);
        std::fill(row + x0, row + x1, (m_bMonochrome ? ToMonochrome(pixel) : pixel) & 0xFFFFFF);
        return;
    }
    if (IsIndexed8())
    {
        std::memset(DibRow(y) + x0, int(m_pNearest->Find(pixel)), std::size_t(x1 - x0));
        return;
    }
    const std::vector<std::uint32_t> span(std::size_t(x1 - x0), pixel);
    Write(y, x0, x1, span.data());
}
