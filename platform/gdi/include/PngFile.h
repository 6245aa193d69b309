// PNG pictures of packed DIBs, through libpng, for the images this process
// exchanges with other programs: DIBs go out as 8-bit RGB, and a PNG of any
// kind comes in as a 24-bit bottom-up DIB, transparency laid over white.
#pragma once

#include "PlatformGDIExport.h"

#include <cstdint>
#include <span>
#include <vector>

// Empty when the DIB cannot be read or the picture not written.
PLATFORMGDI_API std::vector<std::uint8_t> PngFileOfPackedDib(std::span<const std::uint8_t> dib);
// The pixels of a PNG as 0xAARRGGBB, top row first; false when the file is
// no sound PNG or its picture is too large.
PLATFORMGDI_API bool ReadPngPixels(std::span<const std::uint8_t> png, int& nWidth, int& nHeight,
                                   std::vector<std::uint32_t>& pixels);
// Empty when the file is no sound PNG or its picture is too large for a DIB.
PLATFORMGDI_API std::vector<std::uint8_t> PackedDibOfPngFile(std::span<const std::uint8_t> png);
