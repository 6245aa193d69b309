// Where the parts of a packed DIB lie, worked out from its header and checked
// against the size of the block that holds it. Reads bytes only, so that a
// fuzzer can drive it on its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace matrix
{

struct PackedDibLayout
{
    int nWidth = 0;
    int nHeight = 0; // rows, always positive
    bool bTopDown = false;
    int nBitCount = 0;
    std::uint32_t nColors = 0; // colour table entries
    std::uint64_t nBitsOffset = 0;
    std::uint64_t nStride = 0; // bytes of one stored row, padded to 4
};

// Accepts an information header (size 40 or more, uncompressed, or bit fields
// at 16 and 32 bits) or a 12-byte core header, 1 to 32 bits per pixel, a
// non-zero size, and a block large enough for header, colour table and every
// row. Pixel data of more than INT_MAX bytes at 8 bits per sample is refused.
// On refusal, why names the reason.
bool ParsePackedDib(const std::uint8_t* block, std::uint64_t blockSize, PackedDibLayout& layout,
                    const char** why);

// Copies rowBytes bytes (at most the stride) of every stored row into target,
// top row first.
void CopyDibRowsTopDown(const std::uint8_t* block, const PackedDibLayout& layout,
                        std::size_t rowBytes, std::uint8_t* target);

} // namespace matrix
