// Feeds arbitrary bytes to the packed-DIB reader of the matrices, as a packed
// DIB block or, when they start with "BM", as a bitmap file whose bytes after
// the 14-byte file header form the block. An accepted layout must let every
// row be copied out of the block.
#include "MatrixDibLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t kFileHeader = 14;
    if (size >= kFileHeader && data[0] == 'B' && data[1] == 'M')
    {
        data += kFileHeader;
        size -= kFileHeader;
    }
    // The block is a copy of exactly its own size, so that reading past it is
    // caught.
    const std::vector<std::uint8_t> block(data, data + size);
    matrix::PackedDibLayout layout;
    const char* why = nullptr;
    if (!matrix::ParsePackedDib(block.data(), block.size(), layout, &why))
        return 0;
    // The row bytes the matrices take: one byte per pixel at 8 bits, three at
    // 24, and the whole stored row otherwise.
    std::size_t rowBytes = std::size_t(layout.nStride);
    if (layout.nBitCount == 8)
        rowBytes = std::size_t(layout.nWidth);
    else if (layout.nBitCount == 24)
        rowBytes = std::size_t(layout.nWidth) * 3;
    std::vector<std::uint8_t> pixels(rowBytes * std::size_t(layout.nHeight));
    matrix::CopyDibRowsTopDown(block.data(), layout, rowBytes, pixels.data());
    return 0;
}
