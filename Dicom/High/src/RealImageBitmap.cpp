#include "RealImageBitmap.h"

#include "BitmapFile.h"
#include "RealImagePixels.h"
#include "VeltaroLog.h"

#include <cstring>

namespace realimage
{
namespace
{

constexpr int PaletteEntries = 256;

bool IsDrawable(const DibSource& source)
{
    return source.pixels != nullptr && source.width > 0 && source.height > 0 &&
           (source.bitCount == 24 || (source.bitCount == 8 && source.palette != nullptr));
}

// A real image's DIBs keep one pel per metre and the whole palette at 8 bits.
PackedDibFormat FormatOf(const DibSource& source)
{
    PackedDibFormat format;
    format.nWidth = source.width;
    format.nHeight = source.height;
    format.nBitCount = source.bitCount;
    format.pColors = source.bitCount == 8 ? source.palette : nullptr;
    format.nColors = source.bitCount == 8 ? PaletteEntries : 0;
    format.nPelsPerMeter = 1;
    return format;
}

// Rows from the top, R, G, B pixels written B, G, R.
DibRowWriter RowsOf(const DibSource& source)
{
    return [&source](int row, std::uint8_t* target)
    {
        const std::uint64_t unit = std::uint64_t(source.bitCount) / 8;
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
    };
}

} // namespace

HGLOBAL BuildPackedDib(const DibSource& source)
{
    if (!IsDrawable(source) || GetPackedDibSize(FormatOf(source)) == 0)
        return nullptr;
    HGLOBAL block = CreatePackedDib(FormatOf(source), RowsOf(source));
    if (block == nullptr)
        _error("Enter RealImage::CreateDIB, cannot allocate %llu bytes",
               static_cast<unsigned long long>(GetPackedDibSize(FormatOf(source))));
    return block;
}

HBITMAP BuildScreenBitmap(const DibSource& source)
{
    if (!IsDrawable(source))
        return nullptr;
    return CreateScreenBitmap(FormatOf(source), RowsOf(source));
}

int SaveBitmapFile(const DibSource& source, const char* path)
{
    if (!IsDrawable(source) || GetPackedDibSize(FormatOf(source)) == 0)
    {
        _error("Enter RealImage::SaveAsWindowsBitmap, no pixels to save in %s",
               path != nullptr ? path : "");
        return 0;
    }
    const std::vector<std::uint8_t> file = BuildBitmapFile(FormatOf(source), RowsOf(source));
    if (file.empty())
    {
        _error("Enter RealImage::SaveAsWindowsBitmap, cannot allocate %llu bytes",
               static_cast<unsigned long long>(GetPackedDibSize(FormatOf(source))));
        return 0;
    }
    return WriteWholeFile(path, file.data(), file.size()) ? 1 : 0;
}

} // namespace realimage
