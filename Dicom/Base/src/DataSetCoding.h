// What the decoders and encoders of the three native codings share: the
// coding itself, the tags they treat apart, and byte-order helpers.
#pragma once

#include <cstdint>

enum class enCoding
{
    Implicit,       // implicit VR little endian
    ExplicitLittle, // explicit VR little endian
    ExplicitBig     // explicit VR big endian
};

namespace DataSetCoding
{

inline constexpr std::uint16_t ItemGroup = 0xFFFE;
inline constexpr std::uint16_t ItemTag = 0xE000;
inline constexpr std::uint16_t ItemDelimiter = 0xE00D;
inline constexpr std::uint16_t SequenceDelimiter = 0xE0DD;
inline constexpr std::uint16_t PixelGroup = 0x7FE0;
inline constexpr std::uint16_t PixelElement = 0x0010;
inline constexpr std::uint32_t UndefinedLength = 0xFFFFFFFF;
// A defined value length at or above this is refused for every element but
// the pixel data.
inline constexpr std::uint32_t LengthLimit = 0x8000000;
// Items and sequences of undefined length nest no deeper than this.
inline constexpr int MaxNestingDepth = 128;

inline bool IsPixelData(std::uint16_t group, std::uint16_t element)
{
    return group == PixelGroup && element == PixelElement;
}

inline std::uint16_t Read16(const std::uint8_t* bytes, bool bigEndian)
{
    return bigEndian ? static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1])
                     : static_cast<std::uint16_t>(bytes[1] << 8 | bytes[0]);
}

inline std::uint32_t Read32(const std::uint8_t* bytes, bool bigEndian)
{
    return bigEndian
               ? static_cast<std::uint32_t>(Read16(bytes, true)) << 16 | Read16(bytes + 2, true)
               : static_cast<std::uint32_t>(Read16(bytes + 2, false)) << 16 | Read16(bytes, false);
}

// Reverses the bytes of every whole unit of the value in place.
void SwapUnits(std::uint8_t* data, std::uint32_t length, int unit);

} // namespace DataSetCoding
