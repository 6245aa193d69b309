// The bitmap forms of a real-valued image's pixels: packed DIBs, screen
// bitmaps and BMP files, at 8 bits with a 256-entry palette or at 24 bits
// from R, G, B pixels (written B, G, R). Rows go bottom-up, each padded to
// 4 bytes.
#pragma once

#include "WinGdi.h"

#include <cstdint>

namespace realimage
{

struct DibSource
{
    const std::uint8_t* pixels; // rows from the top, no padding
    int width;
    int height;
    int bitCount;           // 8 or 24
    const RGBQUAD* palette; // 256 entries for 8 bits
};

// A movable, zeroed global block holding the DIB, unlocked; null when the
// image is empty or too large, or out of memory.
HGLOBAL BuildPackedDib(const DibSource& source);
// A bitmap of the screen DC made from the DIB, or null.
HBITMAP BuildScreenBitmap(const DibSource& source);
// 1, or 0 with a log line when the file cannot be created or written.
int SaveBitmapFile(const DibSource& source, const char* path);

} // namespace realimage
