#include "X11ScreenReader.h"

#include "X11ErrorTrap.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace
{
// One colour channel of a pixel value, scaled to 8 bits.
std::uint32_t Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t value = std::uint32_t((pixel & mask) >> shift);
    return bits >= 8 ? value >> (bits - 8) : value * 255 / ((1u << bits) - 1);
}

bool IsBgrx(const XImage& image)
{
    return image.bits_per_pixel == 32 && image.byte_order == LSBFirst &&
           image.red_mask == 0xFF0000 && image.green_mask == 0xFF00 && image.blue_mask == 0xFF;
}

void CopyRows(XImage& image, int left, int top, const GdiSurfaceInfo& screen)
{
    for (int y = 0; y < image.height; ++y)
    {
        auto* to =
            reinterpret_cast<std::uint32_t*>(screen.pTop + (top + y) * screen.nStride) + left;
        if (IsBgrx(image))
        {
            const auto* from =
                reinterpret_cast<const std::uint32_t*>(image.data + y * image.bytes_per_line);
            for (int x = 0; x < image.width; ++x)
                to[x] = from[x] & 0x00FFFFFF;
            continue;
        }
        for (int x = 0; x < image.width; ++x)
        {
            const unsigned long pixel = XGetPixel(&image, x, y);
            to[x] = Channel(pixel, image.red_mask) << 16 | Channel(pixel, image.green_mask) << 8 |
                    Channel(pixel, image.blue_mask);
        }
    }
}
} // namespace

bool ReadX11Screen(Display* pDisplay, Window root, const RECT& rcScreen,
                   const GdiSurfaceInfo& screen)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(pDisplay, root, &attributes))
        return false;
    const int left = std::max<int>(rcScreen.left, 0);
    const int top = std::max<int>(rcScreen.top, 0);
    const int right = std::min<int>(rcScreen.right, attributes.width);
    const int bottom = std::min<int>(rcScreen.bottom, attributes.height);
    if (right <= left || bottom <= top)
        return true;
    CX11ErrorTrap trap(pDisplay);
    XImage* image = XGetImage(pDisplay, root, left, top, unsigned(right - left),
                              unsigned(bottom - top), AllPlanes, ZPixmap);
    if (trap.Check() || image == nullptr)
    {
        if (image != nullptr)
            XDestroyImage(image);
        return false;
    }
    CopyRows(*image, left, top, screen);
    XDestroyImage(image);
    return true;
}
