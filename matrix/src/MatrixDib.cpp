#include "MatrixDib.h"

#include "GdiScreenDC.h"
#include "MatrixLog.h"
#include "WinGlobalMemory.h"

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace matrix
{
namespace
{

constexpr int kPaletteEntries = 256;

std::uint64_t PaddedStride(int columns, int bitCount)
{
    return (std::uint64_t(columns) * std::uint64_t(bitCount) + 31) / 32 * 4;
}

void FillHeader(BITMAPINFOHEADER& header, int rows, int columns, int bitCount)
{
    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = columns;
    header.biHeight = rows;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitCount);
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
}

std::size_t TableBytes(int bitCount)
{
    return bitCount == 8 ? kPaletteEntries * sizeof(RGBQUAD) : 0;
}

// Header, table and bottom-up rows into one buffer of the full DIB size.
void WriteDib(std::uint8_t* target, int rows, int columns, int bitCount, const RGBQUAD* palette,
              const RowWriter& writeRow)
{
    BITMAPINFOHEADER header;
    FillHeader(header, rows, columns, bitCount);
    std::memcpy(target, &header, sizeof header);
    if (TableBytes(bitCount) != 0)
        std::memcpy(target + sizeof header, palette, TableBytes(bitCount));
    std::uint8_t* bits = target + sizeof header + TableBytes(bitCount);
    const std::uint64_t stride = PaddedStride(columns, bitCount);
    for (int stored = 0; stored < rows; ++stored)
        writeRow(rows - 1 - stored, bits + stored * stride);
}

// Size of the whole DIB, or 0 when it would not fit a block.
std::uint64_t DibSize(int rows, int columns, int bitCount)
{
    if (rows <= 0 || columns <= 0)
        return 0;
    const std::uint64_t size = sizeof(BITMAPINFOHEADER) + TableBytes(bitCount) +
                               PaddedStride(columns, bitCount) * std::uint64_t(rows);
    return size <= std::uint64_t(UINT_MAX) ? size : 0;
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
    const std::uint64_t size = DibSize(rows, columns, bitCount);
    if (size == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size));
    if (block == nullptr)
        return nullptr;
    auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
    WriteDib(bytes, rows, columns, bitCount, palette, writeRow);
    GlobalUnlock(block);
    return block;
}

HBITMAP BuildScreenBitmap(int rows, int columns, int bitCount, const RGBQUAD* palette,
                          const RowWriter& writeRow)
{
    const std::uint64_t size = DibSize(rows, columns, bitCount);
    if (size == 0)
        return nullptr;
    CGdiScreenDC screen;
    if (screen.Get() == nullptr)
        return nullptr;
    std::vector<std::uint8_t> dib(size);
    WriteDib(dib.data(), rows, columns, bitCount, palette, writeRow);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    RealizePalette(screen.Get());
    return CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT,
                          dib.data() + sizeof(BITMAPINFOHEADER) + TableBytes(bitCount), info,
                          DIB_RGB_COLORS);
}

void* PackBitmap(HBITMAP bitmap)
{
    BITMAP description{};
    if (bitmap == nullptr || GetObject(bitmap, sizeof description, &description) == 0 ||
        description.bmWidth <= 0 || description.bmHeight <= 0)
        return nullptr;
    const int depth = description.bmPlanes * description.bmBitsPixel;
    const int bitCount = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : 24;
    const std::uint64_t tableBytes = bitCount <= 8 ? (std::uint64_t(1) << bitCount) * 4 : 0;
    const std::uint64_t size =
        sizeof(BITMAPINFOHEADER) + tableBytes +
        PaddedStride(description.bmWidth, bitCount) * std::uint64_t(description.bmHeight);
    if (size > std::uint64_t(UINT_MAX))
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size));
    if (block == nullptr)
        return nullptr;
    auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
    auto* info = reinterpret_cast<BITMAPINFO*>(bytes);
    FillHeader(info->bmiHeader, description.bmHeight, description.bmWidth, bitCount);
    int lines = 0;
    CGdiScreenDC screen;
    if (screen.Get() != nullptr)
    {
        const HPALETTE previous = SelectPalette(
            screen.Get(), static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        RealizePalette(screen.Get());
        lines = GetDIBits(screen.Get(), bitmap, 0, UINT(description.bmHeight),
                          bytes + sizeof(BITMAPINFOHEADER) + tableBytes, info, DIB_RGB_COLORS);
        SelectPalette(screen.Get(), previous, TRUE);
    }
    GlobalUnlock(block);
    if (lines == 0)
    {
        GlobalFree(block);
        return nullptr;
    }
    return block;
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
    CopyDibRowsTopDown(m_pBytes, m_layout, rowBytes, target);
}

} // namespace matrix
