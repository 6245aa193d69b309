#include "GdiBitmap.h"

#include <cstring>

GdiBitmap::GdiBitmap(int width, int height, bool monochrome) : GdiObject(kKind)
{
    m_pixels.assign(std::size_t(width) * std::size_t(height), 0);
    m_surface = PixelSurface::Rows32(reinterpret_cast<std::uint8_t*>(m_pixels.data()), width,
                                     height, std::ptrdiff_t(width) * 4, monochrome);
}

GdiBitmap::GdiBitmap(const DibLayout& layout) : GdiObject(kKind), m_layout(layout)
{
    const std::size_t bytes = std::size_t(layout.nStride) * std::size_t(layout.nHeight);
    m_bits = std::make_unique<std::uint8_t[]>(bytes);
    std::memset(m_bits.get(), 0, bytes);
    m_layout.nCompression = layout.nCompression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
    m_layout.nImageSize = static_cast<std::uint32_t>(bytes);
    if (m_layout.nBitCount == 32 && m_layout.nCompression == BI_RGB)
    {
        const auto rowBytes = std::ptrdiff_t(layout.nStride);
        std::uint8_t* top =
            layout.bTopDown ? m_bits.get() : m_bits.get() + (layout.nHeight - 1) * rowBytes;
        m_surface = PixelSurface::Rows32(top, layout.nWidth, layout.nHeight,
                                         layout.bTopDown ? rowBytes : -rowBytes, false);
        return;
    }
    if (m_layout.nBitCount <= 8)
        m_nearest.emplace(m_layout.colors);
    m_surface = PixelSurface::OfDib(m_bits.get(), m_layout, m_nearest ? &*m_nearest : nullptr);
}

unsigned GdiBitmap::GetBitsPixel() const
{
    if (m_bits)
        return m_layout.nBitCount;
    return IsMonochrome() ? 1 : 32;
}

void GdiBitmap::SetColors(unsigned start, unsigned count, const RGBQUAD* colors)
{
    for (unsigned i = 0; i < count; ++i)
        m_layout.colors[start + i] = PixelFromQuad(colors[i]);
    if (m_nearest)
    {
        m_nearest.emplace(m_layout.colors);
        m_surface = PixelSurface::OfDib(m_bits.get(), m_layout, &*m_nearest);
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
        bm.bmWidthBytes = static_cast<LONG>(m_layout.nStride);
        bm.bmBits = m_bits.get();
    }
    else
    {
        // Device-dependent rows are padded to 16 bits.
        bm.bmWidthBytes =
            static_cast<LONG>(((std::uint64_t(GetWidth()) * bm.bmBitsPixel + 15) / 16) * 2);
    }
}
