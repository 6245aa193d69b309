// The tags and codes the image classes look for inside the pixel data and
// beside it: those the coders also use, and the image classes' own.
#pragma once

#include "DataSetCoding.h"

#include <cstdint>

namespace ImageTags
{

using DataSetCoding::ItemGroup;
using DataSetCoding::ItemTag;
using DataSetCoding::PixelElement;
using DataSetCoding::PixelGroup;

// The item and sequence delimitation tags as a little-endian 32-bit read
// of their four bytes gives them.
inline constexpr std::uint32_t ItemTagValue = 0xE000FFFE;
inline constexpr std::uint32_t SequenceDelimiterValue = 0xE0DDFFFE;
// (0007,0605): where a partial read stopped; (0007,0550): the syntax used
// inside a frame stored under the adaptive syntax.
inline constexpr std::uint16_t WorkingGroup = 0x0007;
inline constexpr std::uint16_t StopOffsetElement = 0x0605;
inline constexpr std::uint16_t AdaptiveSyntaxElement = 0x0550;

} // namespace ImageTags
