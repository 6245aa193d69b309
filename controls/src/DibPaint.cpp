#include "DibPaint.h"

#include <vector>

PaletteScope::PaletteScope(HDC hdc, HPALETTE palette, BOOL background, bool realise) : m_hdc(hdc)
{
    if (palette != nullptr)
        m_old = SelectPalette(hdc, palette, background);
    if (realise)
        RealizePalette(hdc);
}

PaletteScope::~PaletteScope()
{
    if (m_old != nullptr)
        SelectPalette(m_hdc, m_old, TRUE);
}

int PaintDibRows(HDC hdc, const RECT& dst, const RECT& src, const BITMAPINFO* info,
                 const void* bits, int height, bool allowStretch)
{
    SetStretchBltMode(hdc, COLORONCOLOR);
    const int dstWidth = dst.right - dst.left;
    const int dstHeight = dst.bottom - dst.top;
    const int srcWidth = src.right - src.left;
    const int srcHeight = src.bottom - src.top;
    // The 1:1 transfer counts its source rows from the bottom.
    if (!allowStretch || (dstWidth == srcWidth && dstHeight == srcHeight))
        return SetDIBitsToDevice(hdc, dst.left, dst.top, DWORD(dstWidth), DWORD(dstHeight),
                                 src.left, height - src.bottom, 0, UINT(height), bits, info,
                                 DIB_RGB_COLORS);
    return StretchDIBits(hdc, dst.left, dst.top, dstWidth, dstHeight, src.left, src.top, srcWidth,
                         srcHeight, bits, info, DIB_RGB_COLORS, SRCCOPY);
}

HPALETTE CreateTablePalette(const void* table, unsigned count, std::size_t entrySize)
{
    if (count == 0)
        return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(count);
    const auto* entries = static_cast<const BYTE*>(table);
    for (unsigned i = 0; i < count; ++i)
    {
        const BYTE* entry = entries + i * entrySize;
        palette->palPalEntry[i] = PALETTEENTRY{entry[2], entry[1], entry[0], 0};
    }
    return CreatePalette(palette);
}
