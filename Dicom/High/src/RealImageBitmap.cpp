#include "RealImageBitmap.h"

#include "GdiScreenDC.h"
#include "RealImagePixels.h"
#include "VeltaroLog.h"
#include "WinGlobalMemory.h"

#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace realimage
{
namespace
{

constexpr int PaletteEntries = 256;
constexpr WORD BitmapFileType = 0x4D42; // "BM"

std::uint64_t GetStride(const DibSource& source)
{
    return (std::uint64_t(source.width) * std::uint64_t(source.bitCount) + 31) / 32 * 4;
}

std::uint64_t GetTableBytes(const DibSource& source)
{
    return source.bitCount == 8 ? PaletteEntries * sizeof(RGBQUAD) : 0;
}

bool IsDrawable(const DibSource& source)
{
    return source.pixels != nullptr && source.width > 0 && source.height > 0 &&
           (source.bitCount == 24 || (source.bitCount == 8 && source.palette != nullptr));
}

// Header, table and rows; 0 when the image is empty or the DIB would not fit
// the 32-bit sizes of its headers.
std::uint64_t GetDibSize(const DibSource& source)
{
    if (!IsDrawable(source))
        return 0;
    const std::uint64_t size = sizeof(BITMAPINFOHEADER) + GetTableBytes(source) +
                               GetStride(source) * std::uint64_t(source.height);
    return size + sizeof(BITMAPFILEHEADER) <= std::uint64_t(UINT_MAX) ? size : 0;
}

void WriteRow(const DibSource& source, int row, std::uint8_t* target)
{
    const std::uint64_t unit = source.bitCount / 8;
    const std::uint8_t* from = source.pixels + std::uint64_t(row) * source.width * unit;
    if (unit == 1)
    {
        std::memcpy(target, from, std::size_t(source.width));
        return;
    }
    for (int column = 0; column < source.width; ++column, from += 3, target += 3)
    {
        target[0] = from[2];
        target[1] = from[1];
        target[2] = from[0];
    }
}

// The whole DIB into target, which holds GetDibSize bytes, zeroed.
void WriteDib(const DibSource& source, std::uint8_t* target)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = source.width;
    header.biHeight = source.height;
    header.biPlanes = 1;
    header.biBitCount = WORD(source.bitCount);
    header.biCompression = BI_RGB;
    header.biXPelsPerMeter = 1;
    header.biYPelsPerMeter = 1;
    std::memcpy(target, &header, sizeof header);
    if (GetTableBytes(source) != 0)
        std::memcpy(target + sizeof header, source.palette, std::size_t(GetTableBytes(source)));
    std::uint8_t* bits = target + sizeof header + GetTableBytes(source);
    const std::uint64_t stride = GetStride(source);
    for (int stored = 0; stored < source.height; ++stored)
        WriteRow(source, source.height - 1 - stored, bits + std::uint64_t(stored) * stride);
}

} // namespace

HGLOBAL BuildPackedDib(const DibSource& source)
{
    const std::uint64_t size = GetDibSize(source);
    if (size == 0)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size));
    if (block == nullptr)
    {
        _error("Enter RealImage::CreateDIB, cannot allocate %llu bytes",
               static_cast<unsigned long long>(size));
        return nullptr;
    }
    WriteDib(source, static_cast<std::uint8_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    return block;
}

HBITMAP BuildScreenBitmap(const DibSource& source)
{
    const std::uint64_t size = GetDibSize(source);
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
    WriteDib(source, dib.data());
    CGdiScreenDC screen;
    if (screen.Get() == nullptr)
        return nullptr;
    RealizePalette(screen.Get());
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    return CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT,
                          dib.data() + sizeof(BITMAPINFOHEADER) + GetTableBytes(source), info,
                          DIB_RGB_COLORS);
}

int SaveBitmapFile(const DibSource& source, const char* path)
{
    const std::uint64_t size = GetDibSize(source);
    if (size == 0)
    {
        _error("Enter RealImage::SaveAsWindowsBitmap, no pixels to save in %s",
               path != nullptr ? path : "");
        return 0;
    }
    std::vector<std::uint8_t> file;
    try
    {
        file.resize(std::size_t(sizeof(BITMAPFILEHEADER) + size));
    }
    catch (const std::bad_alloc&)
    {
        _error("Enter RealImage::SaveAsWindowsBitmap, cannot allocate %llu bytes",
               static_cast<unsigned long long>(size));
        return 0;
    }
    BITMAPFILEHEADER header{};
    header.bfType = BitmapFileType;
    header.bfSize = DWORD(file.size());
    header.bfOffBits =
        DWORD(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + GetTableBytes(source));
    std::memcpy(file.data(), &header, sizeof header);
    WriteDib(source, file.data() + sizeof header);
    return WriteWholeFile(path, file.data(), file.size()) ? 1 : 0;
}

} // namespace realimage
