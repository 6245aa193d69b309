#include "PackedDib.h"

#include "DibFormat.h"
#include "GdiScreenDC.h"

#include <climits>
#include <cstring>
#include <vector>

namespace
{
constexpr std::uint32_t kCoreHeaderSize = sizeof(BITMAPCOREHEADER);
constexpr std::uint32_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr std::uint32_t kMaskBytes = 12;

std::uint32_t Read32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* bytes)
{
    return std::uint16_t(bytes[0] | bytes[1] << 8);
}

bool Refuse(const char** why, const char* reason)
{
    if (why != nullptr)
        *why = reason;
    return false;
}

// Bytes from the start of a header to the end of its masks and table.
std::uint64_t TableEnd(const BITMAPINFOHEADER& header)
{
    std::uint64_t colors = header.biClrUsed;
    if (colors == 0 && header.biBitCount <= 8)
        colors = std::uint64_t(1) << header.biBitCount;
    const bool masks = header.biCompression == BI_BITFIELDS && header.biSize == kInfoHeaderSize;
    return header.biSize + (masks ? kMaskBytes : 0) + colors * sizeof(RGBQUAD);
}

bool IsKnownBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

bool SuitsBitCount(DWORD compression, int bitCount)
{
    switch (compression)
    {
    case BI_RGB:
        return true;
    case BI_RLE8:
        return bitCount == 8;
    case BI_RLE4:
        return bitCount == 4;
    case BI_BITFIELDS:
        return bitCount == 16 || bitCount == 32;
    default:
        return false;
    }
}

// Header fields of either header form; false for a header of neither size.
bool ReadHeader(const std::uint8_t* bytes, std::uint64_t blockSize, PackedDibLayout& layout,
                std::int64_t& height, DWORD& colorsUsed, const char** why)
{
    const std::uint32_t headerSize = Read32(bytes);
    layout.nHeaderSize = headerSize;
    if (headerSize == kCoreHeaderSize)
    {
        if (blockSize < kCoreHeaderSize)
            return Refuse(why, "the block is too small for its header");
        layout.nWidth = Read16(bytes + 4);
        height = Read16(bytes + 6);
        layout.nBitCount = Read16(bytes + 10);
        layout.nColorBytes = 3;
        colorsUsed = 0;
        return true;
    }
    if (headerSize < kInfoHeaderSize)
        return Refuse(why, "the header size is not one of a DIB");
    if (blockSize < headerSize)
        return Refuse(why, "the block is too small for its header");
    const std::int32_t width = std::int32_t(Read32(bytes + 4));
    if (width <= 0)
        return Refuse(why, "the DIB has no pixels");
    layout.nWidth = width;
    height = std::int32_t(Read32(bytes + 8));
    layout.nBitCount = Read16(bytes + 14);
    layout.nCompression = Read32(bytes + 16);
    layout.nImageSize = Read32(bytes + 20);
    colorsUsed = Read32(bytes + 32);
    return true;
}
} // namespace

std::uint64_t GetDibStride(std::uint64_t width, unsigned bitCount)
{
    return ((bitCount * width + 31) / 32) * 4;
}

bool ParsePackedDib(const void* block, std::uint64_t blockSize, PackedDibLayout& layout,
                    const char** why)
{
    layout = PackedDibLayout{};
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    if (bytes == nullptr || blockSize < 4)
        return Refuse(why, "the block is too small for a header");
    std::int64_t height = 0;
    DWORD colorsUsed = 0;
    if (!ReadHeader(bytes, blockSize, layout, height, colorsUsed, why))
        return false;
    if (!IsKnownBitCount(layout.nBitCount))
        return Refuse(why, "the bit count is not one of a DIB");
    if (!SuitsBitCount(layout.nCompression, layout.nBitCount))
        return Refuse(why, "the compression does not suit the bit count");
    if (layout.nWidth <= 0 || height == 0 || height == INT_MIN)
        return Refuse(why, "the DIB has no pixels");
    layout.bTopDown = height < 0;
    layout.nHeight = int(height < 0 ? -height : height);
    if (layout.IsRunLength() && layout.bTopDown)
        return Refuse(why, "a compressed DIB cannot be stored top-down");
    if (layout.IsRunLength() && layout.nImageSize == 0)
        return Refuse(why, "a compressed DIB without its image size");
    if (colorsUsed != 0)
        layout.nColors = colorsUsed;
    else
        layout.nColors = layout.nBitCount <= 8 ? 1U << layout.nBitCount : 0;
    // Bit-field masks follow a plain information header; later headers hold
    // them.
    layout.nTableOffset = layout.nHeaderSize;
    if (layout.nCompression == BI_BITFIELDS && layout.nHeaderSize == kInfoHeaderSize)
        layout.nTableOffset += kMaskBytes;
    layout.nBitsOffset = layout.nTableOffset + std::uint64_t(layout.nColors) * layout.nColorBytes;
    layout.nStride = GetDibStride(std::uint64_t(layout.nWidth), unsigned(layout.nBitCount));
    if (!layout.IsRunLength())
    {
        if (layout.nStride > UINT64_MAX / std::uint64_t(layout.nHeight))
            return Refuse(why, "the DIB is too large");
        layout.nImageSize = layout.nStride * std::uint64_t(layout.nHeight);
    }
    if (blockSize == kDibBlockSizeUnknown)
        return true;
    if (layout.nBitsOffset > blockSize)
        return Refuse(why, "the colour table runs past the end of the block");
    if (layout.nImageSize > blockSize - layout.nBitsOffset)
        return Refuse(why, "the block is shorter than the DIB's rows");
    return true;
}

std::uint64_t GetPackedDibSize(const PackedDibFormat& format)
{
    if (format.nWidth < 0 || format.nHeight < 0)
        return 0;
    const std::uint64_t size =
        kInfoHeaderSize + std::uint64_t(format.nColors) * sizeof(RGBQUAD) +
        GetDibStride(std::uint64_t(format.nWidth), unsigned(format.nBitCount)) *
            std::uint64_t(format.nHeight);
    return size + sizeof(BITMAPFILEHEADER) <= std::uint64_t(UINT32_MAX) ? size : 0;
}

void WritePackedDib(const PackedDibFormat& format, void* block, const DibRowWriter& writeRow)
{
    auto* bytes = static_cast<std::uint8_t*>(block);
    const std::uint64_t stride =
        GetDibStride(std::uint64_t(format.nWidth), unsigned(format.nBitCount));
    BITMAPINFOHEADER header{};
    header.biSize = kInfoHeaderSize;
    header.biWidth = format.nWidth;
    header.biHeight = format.nHeight;
    header.biPlanes = 1;
    header.biBitCount = WORD(format.nBitCount);
    header.biCompression = format.nCompression;
    if (format.bStoreImageSize)
        header.biSizeImage = DWORD(stride * std::uint64_t(format.nHeight));
    header.biXPelsPerMeter = format.nPelsPerMeter;
    header.biYPelsPerMeter = format.nPelsPerMeter;
    header.biClrUsed = format.nColorsUsed;
    std::memcpy(bytes, &header, sizeof header);
    const std::size_t tableBytes = std::size_t(format.nColors) * sizeof(RGBQUAD);
    if (format.pColors != nullptr)
        std::memcpy(bytes + sizeof header, format.pColors, tableBytes);
    if (!writeRow)
        return;
    std::uint8_t* rows = bytes + sizeof header + tableBytes;
    for (int stored = 0; stored < format.nHeight; ++stored)
        writeRow(format.nHeight - 1 - stored, rows + std::uint64_t(stored) * stride);
}

HGLOBAL CreatePackedDib(const PackedDibFormat& format, const DibRowWriter& writeRow)
{
    const std::uint64_t size = GetPackedDibSize(format);
    if (size == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size));
    if (block == nullptr)
        return nullptr;
    WritePackedDib(format, GlobalLock(block), writeRow);
    GlobalUnlock(block);
    return block;
}

HBITMAP CreateScreenBitmap(const BITMAPINFO* info, const void* bits, HPALETTE palette)
{
    CGdiScreenDC screen;
    if (info == nullptr || screen.Get() == nullptr)
        return nullptr;
    const HPALETTE previous = palette ? SelectPalette(screen.Get(), palette, FALSE) : nullptr;
    RealizePalette(screen.Get());
    HBITMAP bitmap =
        CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
    if (previous != nullptr)
        SelectPalette(screen.Get(), previous, FALSE);
    return bitmap;
}

HBITMAP CreateScreenBitmap(const PackedDibFormat& format, const DibRowWriter& writeRow)
{
    const std::uint64_t size = GetPackedDibSize(format);
    if (size == 0)
        return nullptr;
    std::vector<std::uint8_t> dib;
    try
    {
        dib.resize(std::size_t(size));
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    WritePackedDib(format, dib.data(), writeRow);
    return CreateScreenBitmap(
        reinterpret_cast<const BITMAPINFO*>(dib.data()),
        dib.data() + size -
            GetDibStride(std::uint64_t(format.nWidth), unsigned(format.nBitCount)) *
                std::uint64_t(format.nHeight),
        nullptr);
}

HGLOBAL AllocPackedDibFor(BITMAPINFOHEADER header, HBITMAP bitmap)
{
    const std::uint64_t start = TableEnd(header);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(start));
    if (block == nullptr)
        return nullptr;
    {
        auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
        CGdiScreenDC screen;
        std::memcpy(info, &header, sizeof(header));
        GetDIBits(screen.Get(), bitmap, 0, UINT(header.biHeight), nullptr, info, DIB_RGB_COLORS);
        header = info->bmiHeader;
        if (header.biSizeImage == 0)
        {
            header.biSizeImage = DWORD(GetDibStride(DWORD(header.biWidth), header.biBitCount) *
                                       DWORD(header.biHeight));
            info->bmiHeader.biSizeImage = header.biSizeImage;
        }
        GlobalUnlock(block);
    }
    const std::uint64_t size = start + header.biSizeImage;
    HGLOBAL grown = size <= 0xFFFFFFFFull ? GlobalReAlloc(block, SIZE_T(size), 0) : nullptr;
    if (grown == nullptr)
        GlobalFree(block);
    return grown;
}

HGLOBAL PackBitmap(HBITMAP bitmap, const BITMAPINFOHEADER& header, HPALETTE palette)
{
    HGLOBAL block = AllocPackedDibFor(header, bitmap);
    if (block == nullptr)
        return nullptr;
    CGdiScreenDC screen;
    int rows = 0;
    if (screen.Get() != nullptr)
    {
        auto* dib = static_cast<std::uint8_t*>(GlobalLock(block));
        const std::uint64_t bitsOffset = TableEnd(*reinterpret_cast<BITMAPINFOHEADER*>(dib));
        const HPALETTE previous = palette ? SelectPalette(screen.Get(), palette, FALSE) : nullptr;
        RealizePalette(screen.Get());
        rows = GetDIBits(screen.Get(), bitmap, 0, UINT(header.biHeight), dib + bitsOffset,
                         reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS);
        if (previous != nullptr)
            SelectPalette(screen.Get(), previous, TRUE);
        GlobalUnlock(block);
    }
    if (rows == 0)
    {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

bool DecodePackedDib(const void* dib, const PackedDibLayout& layout, std::uint32_t* pixels)
{
    DibLayout full;
    if (!ParseDibLayout(static_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS, full))
        return false;
    const auto* bits = static_cast<const std::uint8_t*>(dib) + layout.nBitsOffset;
    DibReader reader(full, bits);
    const std::size_t width = std::size_t(full.nWidth);
    for (int y = 0; y < full.nHeight; ++y)
        std::memcpy(pixels + std::size_t(y) * width, reader.GetRow(y), width * 4);
    return true;
}
