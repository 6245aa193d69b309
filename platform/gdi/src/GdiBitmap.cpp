#include "GdiBitmap.h"

#include <cstring>

std::uint32_t ToMonochrome(std::uint32_t pixel)
{
    const unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return sum >= 383 ? 0xFFFFFF : 0;
}

GdiBitmap::GdiBitmap(int width, int height, bool monochrome) : GdiObject(kKind)
{
    m_pixels.assign(std::size_t(width) * std::size_t(height), 0);
    m_surface.pTop = reinterpret_cast<std::uint8_t*>(m_pixels.data());
    m_surface.nWidth = width;
    m_surface.nHeight = height;
    m_surface.nStride = std::ptrdiff_t(width) * 4;
    m_surface.bMonochrome = monochrome;
}

GdiBitmap::GdiBitmap(const DibLayout& layout) : GdiObject(kKind), m_layout(layout)
{
    const std::size_t bytes = std::size_t(layout.nRowBytes) * std::size_t(layout.nHeight);
    m_bits = std::make_unique<std::uint8_t[]>(bytes);
    std::memset(m_bits.get(), 0, bytes);
    m_layout.nCompression = layout.nCompression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
    m_layout.nImageSize = static_cast<std::uint32_t>(bytes);
    m_surface.nWidth = layout.nWidth;
    m_surface.nHeight = layout.nHeight;
    m_bDirect = layout.nBitCount == 32 && m_layout.nCompression == BI_RGB;
    if (m_bDirect)
    {
        const auto rowBytes = std::ptrdiff_t(layout.nRowBytes);
        m_surface.pTop =
            layout.bTopDown ? m_bits.get() : m_bits.get() + (layout.nHeight - 1) * rowBytes;
        m_surface.nStride = layout.bTopDown ? rowBytes : -rowBytes;
        return;
    }
    m_pixels.assign(std::size_t(layout.nWidth) * std::size_t(layout.nHeight), 0);
    m_surface.pTop = reinterpret_cast<std::uint8_t*>(m_pixels.data());
    m_surface.nStride = std::ptrdiff_t(layout.nWidth) * 4;
}

unsigned GdiBitmap::GetBitsPixel() const
{
    if (m_bits)
        return m_layout.nBitCount;
    return m_surface.bMonochrome ? 1 : 32;
}

Surface& GdiBitmap::BeginAccess()
{
    if (m_bits && !m_bDirect)
    {
        DibReader reader(m_layout, m_bits.get());
        for (int y = 0; y < m_surface.nHeight; ++y)
            std::memcpy(m_surface.Row(y), reader.GetRow(y), std::size_t(m_surface.nWidth) * 4);
    }
    return m_surface;
}

void GdiBitmap::EndWrite(int top, int bottom)
{
    if (!m_bits || m_bDirect)
        return;
    NearestColor nearest(m_layout.colors);
    const int first = top < 0 ? 0 : top;
    const int last = bottom > m_surface.nHeight ? m_surface.nHeight : bottom;
    for (int y = first; y < last; ++y)
    {
        std::uint8_t* dst =
            m_bits.get() + std::uint64_t(m_layout.StoredRow(y)) * m_layout.nRowBytes;
        EncodeDibRow(m_layout, m_surface.Row(y), dst, &nearest);
    }
}

void GdiBitmap::FillBitmapInfo(BITMAP& bm)
{
    bm = BITMAP{};
    bm.bmWidth = GetWidth();
    bm.bmHeight = GetHeight();
    bm.bmPlanes = 1;
    bm.bmBitsPixel = static_cast<WORD>(GetBitsPixel());
    if (m_bits)
    {
        bm.bmWidthBytes = static_cast<LONG>(m_layout.nRowBytes);
        bm.bmBits = m_bits.get();
    }
    else
    {
        // Device-dependent rows are padded to 16 bits.
        bm.bmWidthBytes =
            static_cast<LONG>(((std::uint64_t(GetWidth()) * bm.bmBitsPixel + 15) / 16) * 2);
    }
}
