// The pixels of a packed DIB of 8 or 24 bits, as a window picture of
// 0xRRGGBB values, top row first.
#pragma once

#include "DibApi.h"
#include "UiHarness.h"

#include <cstddef>
#include <cstdint>

inline WindowPicture PixelsOf(HDIB dib)
{
    char* header = static_cast<char*>(GlobalLock(dib));
    WindowPicture picture;
    picture.nWidth = static_cast<int>(DIBWidth(header));
    picture.nHeight = static_cast<int>(DIBHeight(header));
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header);
    const int bits = info->bmiHeader.biBitCount;
    const auto* rows = reinterpret_cast<const BYTE*>(FindDIBBits(header));
    const std::size_t stride = ((std::size_t(picture.nWidth) * bits + 31) / 32) * 4;
    for (int y = 0; y < picture.nHeight; ++y)
    {
        const BYTE* row = rows + stride * std::size_t(picture.nHeight - 1 - y);
        for (int x = 0; x < picture.nWidth; ++x)
        {
            RGBQUAD c{};
            if (bits == 8)
                c = info->bmiColors[row[x]];
            else
                c = RGBQUAD{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0};
            picture.pixels.push_back((std::uint32_t(c.rgbRed) << 16) |
                                     (std::uint32_t(c.rgbGreen) << 8) | c.rgbBlue);
        }
    }
    GlobalUnlock(dib);
    return picture;
}

inline int BitCountOf(HDIB dib)
{
    const auto* info = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    const int bits = info->biBitCount;
    GlobalUnlock(dib);
    return bits;
}
