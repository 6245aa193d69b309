#include "MemoryDC.h"

#include <vector>

namespace
{

constexpr int PaletteSize = 256;

// A BITMAPINFO with room for a full colour table.
struct BitmapInfo256
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[PaletteSize];
};

bool IsSupportedDepth(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

void FillColorTable(BitmapInfo256& info, int bitCount, CPalette* palette)
{
    const int count = bitCount <= 8 ? 1 << bitCount : 0;
    std::vector<PALETTEENTRY> entries(static_cast<std::size_t>(count));
    const UINT taken = palette != nullptr && palette->GetSafeHandle() != nullptr
                           ? palette->GetPaletteEntries(0, UINT(count), entries.data())
                           : 0;
    for (int index = 0; index < count; ++index)
    {
        const BYTE grey = BYTE(count > 1 ? index * 255 / (count - 1) : 0);
        const PALETTEENTRY entry =
            UINT(index) < taken ? entries[std::size_t(index)] : PALETTEENTRY{grey, grey, grey, 0};
        info.colors[index] = {entry.peBlue, entry.peGreen, entry.peRed, 0};
    }
    info.header.biClrUsed = DWORD(count);
}

} // namespace

GreyPalette::GreyPalette()
{
    std::vector<BYTE> block(sizeof(LOGPALETTE) + (PaletteSize - 1) * sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = PaletteSize;
    for (int level = 0; level < PaletteSize; ++level)
    {
        logPalette->palPalEntry[level] = {BYTE(level), BYTE(level), BYTE(level), 0};
    }
    CreatePalette(logPalette);
}

CMemoryDC::CMemoryDC(CDC* pDC, int width, int height, int bitCount, CPalette* palette)
    : m_nWidth(width > 0 ? width : 0), m_nHeight(height > 0 ? height : 0), m_nBitCount(bitCount)
{
    if (!CreateCompatibleDC(pDC) || m_nWidth == 0 || m_nHeight == 0 || !IsSupportedDepth(bitCount))
    {
        return;
    }
    BitmapInfo256 info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = m_nWidth;
    info.header.biHeight = -m_nHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bitCount);
    info.header.biCompression = BI_RGB;
    FillColorTable(info, bitCount, palette);
    m_hBitmap = CreateDIBSection(m_hDC, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                 &m_pBits, nullptr, 0);
    if (m_hBitmap != nullptr)
    {
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    }
}

CMemoryDC::~CMemoryDC()
{
    if (m_hBitmap != nullptr)
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteObject(m_hBitmap);
    }
}

int CMemoryDC::GetStride() const
{
    return (m_nBitCount * m_nWidth + 31) / 32 * 4;
}
