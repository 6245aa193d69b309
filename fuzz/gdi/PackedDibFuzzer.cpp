// Feeds arbitrary bytes to the packed-DIB, bitmap-file and PNG readers of the
// GDI: when they start with "BM" as a bitmap file, with the PNG signature as
// a PNG file, else as a packed DIB block. An accepted DIB must let every row
// be decoded out of its block.
#include "BitmapFile.h"
#include "PngFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{
void Decode(const std::uint8_t* dib, const PackedDibLayout& layout)
{
    // Only sizes a call would draw are decoded.
    if (std::uint64_t(layout.nWidth) * std::uint64_t(layout.nHeight) > (1u << 22))
        return;
    std::vector<std::uint32_t> pixels(std::size_t(layout.nWidth) * std::size_t(layout.nHeight));
    DecodePackedDib(dib, layout, pixels.data());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 2 && data[0] == 'B' && data[1] == 'M')
    {
        CBitmapBytesSource source(std::span<const std::uint8_t>(data, size));
        BitmapFileContents contents;
        if (ReadBitmapFile(source, contents))
            Decode(contents.dib.data(), contents.layout);
        return 0;
    }
    if (size >= 4 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
    {
        const std::vector<std::uint8_t> dib = PackedDibOfPngFile(std::span(data, size));
        PackedDibLayout layout;
        if (!dib.empty() && ParsePackedDib(dib.data(), dib.size(), layout))
            Decode(dib.data(), layout);
        return 0;
    }
    // The block is a copy of exactly its own size, so that reading past it is
    // caught.
    const std::vector<std::uint8_t> block(data, data + size);
    PackedDibLayout layout;
    if (ParsePackedDib(block.data(), block.size(), layout))
        Decode(block.data(), layout);
    return 0;
}
