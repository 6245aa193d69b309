#include "MatrixDib.h"

#include "MatrixLog.h"

#include <array>
#include <climits>
#include <cstring>

namespace matrix
{
namespace
{

constexpr int kPaletteEntries = 256;

PackedDibFormat MatrixFormat(int rows, int columns, int bitCount, const RGBQUAD* palette)
{
    PackedDibFormat format;
    format.nWidth = columns;
    format.nHeight = rows;
    format.nBitCount = bitCount;
    format.pColors = bitCount == 8 ? palette : nullptr;
    format.nColors = bitCount == 8 ? kPaletteEntries : 0;
    format.nPelsPerMeter = 1;
    return format;
}

// Matrices take uncompressed pixels, one byte per sample at most INT_MAX.
const char* RefusalForMatrices(const PackedDibLayout& layout)
{
    if (layout.IsRunLength())
        return "the DIB is compressed";
    const std::uint64_t samples = std::uint64_t(layout.nWidth) * std::uint64_t(layout.nHeight) *
                                  std::uint64_t((layout.nBitCount + 7) / 8);
    return samples > std::uint64_t(INT_MAX) ? "the DIB is too large for a matrix" : nullptr;
}

} // namespace

RowWriter CopyRowsOf(const char* pixels, std::size_t rowBytes)
{
    return [=](int row, std::uint8_t* target)
    { std::memcpy(target, pixels + std::size_t(row) * rowBytes, rowBytes); };
}

const RGBQUAD* GetGreyPalette()
{
    static const std::array<RGBQUAD, kPaletteEntries> palette = []
    {
        std::array<RGBQUAD, kPaletteEntries> entries{};
        for (int i = 0; i < kPaletteEntries; ++i)
            entries[std::size_t(i)] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
        return entries;
    }();
    return palette.data();
}

void* BuildPackedDib(int rows, int columns, int bitCount, const RGBQUAD* palette,
                     const RowWriter& writeRow)
{
    if (rows <= 0 || columns <= 0)
        return nullptr;
    return CreatePackedDib(MatrixFormat(rows, columns, bitCount, palette), writeRow);
}

HBITMAP BuildScreenBitmap(int rows, int columns, int bitCount, const RGBQUAD* palette,
                          const RowWriter& writeRow)
{
    if (rows <= 0 || columns <= 0)
        return nullptr;
    return CreateScreenBitmap(MatrixFormat(rows, columns, bitCount, palette), writeRow);
}

void* PackBitmap(HBITMAP bitmap)
{
    BITMAP description{};
    if (bitmap == nullptr || GetObject(bitmap, sizeof description, &description) == 0 ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return nullptr;
    const int depth = description.bmPlanes * description.bmBitsPixel;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = description.bmWidth;
    header.biHeight = description.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = WORD(depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : 24);
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    return ::PackBitmap(bitmap, header, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
}

CLockedDib::CLockedDib(void* dib, const char* operation)
    : m_hDib(dib), m_pBytes(nullptr), m_bParsed(false)
{
    if (dib == nullptr)
        return;
    m_pBytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    if (m_pBytes == nullptr)
        return;
    const char* why = nullptr;
    m_bParsed = ParsePackedDib(m_pBytes, GlobalSize(dib), m_layout, &why);
    if (m_bParsed && (why = RefusalForMatrices(m_layout)) != nullptr)
        m_bParsed = false;
    if (!m_bParsed)
        LogRefusal("%s: %s", operation, why);
}

CLockedDib::~CLockedDib()
{
    if (m_pBytes != nullptr)
        GlobalUnlock(m_hDib);
}

void CLockedDib::CopyRows(std::size_t rowBytes, std::uint8_t* target) const
{
    const std::uint8_t* bits = m_pBytes + m_layout.nBitsOffset;
    for (int y = 0; y < m_layout.nHeight; ++y)
        std::memcpy(target + std::size_t(y) * rowBytes,
                    bits + std::size_t(m_layout.StoredRow(y)) * m_layout.nStride, rowBytes);
}

} // namespace matrix
