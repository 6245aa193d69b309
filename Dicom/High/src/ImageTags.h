// The tags and codes the image classes look for inside the pixel data and
// beside it.
#pragma once

#include <cstdint>

namespace ImageTags
{

inline constexpr std::uint16_t PixelGroup = 0x7FE0;
inline constexpr std::uint16_t PixelElement = 0x0010;
inline constexpr std::uint16_t ItemGroup = 0xFFFE;
inline constexpr std::uint16_t ItemElement = 0xE000;
// The item and sequence delimitation tags as a little-endian 32-bit read
// of their four bytes gives them.
inline constexpr std::uint32_t ItemTagValue = 0xE000FFFE;
inline constexpr std::uint32_t SequenceDelimiterValue = 0xE0DDFFFE;
inline constexpr std::uint32_t PixelTagValue = 0x00107FE0;
// (0007,0605): where a partial read stopped; (0007,0550): the syntax used
// inside a frame stored under the adaptive syntax.
inline constexpr std::uint16_t WorkingGroup = 0x0007;
inline constexpr std::uint16_t StopOffsetElement = 0x0605;
inline constexpr std::uint16_t AdaptiveSyntaxElement = 0x0550;

} // namespace ImageTags
