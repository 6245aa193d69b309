#include "MatrixDibLayout.h"

#include <climits>
#include <cstring>

namespace matrix
{
namespace
{

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Read32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* bytes)
{
    return std::uint16_t(bytes[0] | bytes[1] << 8);
}

bool IsKnownBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

bool Refuse(const char** why, const char* reason)
{
    if (why != nullptr)
        *why = reason;
    return false;
}

} // namespace

bool ParsePackedDib(const std::uint8_t* block, std::uint64_t blockSize, PackedDibLayout& layout,
                    const char** why)
{
    layout = PackedDibLayout{};
    if (block == nullptr || blockSize < 4)
        return Refuse(why, "the block is too small for a header");
    const std::uint32_t headerSize = Read32(block);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint64_t tableBytes = 0;
    if (headerSize == kCoreHeaderSize)
    {
        if (blockSize < kCoreHeaderSize)
            return Refuse(why, "the block is too small for its header");
        width = Read16(block + 4);
        height = Read16(block + 6);
        layout.nBitCount = Read16(block + 10);
        layout.nColors = layout.nBitCount <= 8 ? 1U << layout.nBitCount : 0;
        tableBytes = std::uint64_t(layout.nColors) * 3;
    }
    else if (headerSize >= kInfoHeaderSize)
    {
        if (blockSize < headerSize)
            return Refuse(why, "the block is too small for its header");
        width = std::int32_t(Read32(block + 4));
        height = std::int32_t(Read32(block + 8));
        layout.nBitCount = Read16(block + 14);
        const std::uint32_t compression = Read32(block + 16);
        const std::uint32_t colorsUsed = Read32(block + 32);
        const bool bitFields =
            compression == kBitFields && (layout.nBitCount == 16 || layout.nBitCount == 32);
        if (compression != kRgb && !bitFields)
            return Refuse(why, "the DIB is compressed");
        if (colorsUsed != 0)
            layout.nColors = colorsUsed;
        else
            layout.nColors = layout.nBitCount <= 8 ? 1U << layout.nBitCount : 0;
        tableBytes = std::uint64_t(layout.nColors) * 4;
        // Bit-field masks follow a plain information header.
        if (bitFields && headerSize == kInfoHeaderSize)
            tableBytes += 12;
    }
    else
    {
        return Refuse(why, "the header size is not one of a DIB");
    }
    if (!IsKnownBitCount(layout.nBitCount))
        return Refuse(why, "the bit count is not one of a DIB");
    if (width <= 0 || height == 0 || height == INT_MIN)
        return Refuse(why, "the DIB has no pixels");
    layout.bTopDown = height < 0;
    layout.nWidth = int(width);
    layout.nHeight = int(height < 0 ? -height : height);
    layout.nStride = (std::uint64_t(layout.nBitCount) * std::uint64_t(width) + 31) / 32 * 4;
    layout.nBitsOffset = headerSize + tableBytes;
    // Every product below stays far inside 64 bits: width and height are
    // below 2^31, the stride below 2^34.
    const std::uint64_t samples = std::uint64_t(width) * std::uint64_t(layout.nHeight) *
                                  std::uint64_t((layout.nBitCount + 7) / 8);
    if (samples > std::uint64_t(INT_MAX))
        return Refuse(why, "the DIB is too large for a matrix");
    if (layout.nBitsOffset > blockSize ||
        layout.nStride * std::uint64_t(layout.nHeight) > blockSize - layout.nBitsOffset)
        return Refuse(why, "the block is shorter than the DIB's rows");
    return true;
}

void CopyDibRowsTopDown(const std::uint8_t* block, const PackedDibLayout& layout,
                        std::size_t rowBytes, std::uint8_t* target)
{
    const std::uint8_t* bits = block + layout.nBitsOffset;
    for (int y = 0; y < layout.nHeight; ++y)
    {
        const int stored = layout.bTopDown ? y : layout.nHeight - 1 - y;
        std::memcpy(target + std::size_t(y) * rowBytes, bits + std::size_t(stored) * layout.nStride,
                    rowBytes);
    }
}

} // namespace matrix
