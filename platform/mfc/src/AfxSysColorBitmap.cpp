// Button-colour bitmaps recoloured to the system's button colours.
#include "AfxSysColorBitmap.h"

#include "WinCursor.h"
#include "WinGdi.h"
#include "WinSysColors.h"

#include <cstdint>
#include <vector>

namespace
{
// A pixel of a 32-bit DIB (0x00RRGGBB) from a COLORREF (0x00BBGGRR).
std::uint32_t PixelOf(COLORREF colour)
{
    return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

void MapButtonColours(std::vector<std::uint32_t>& pixels)
{
    const struct
    {
        std::uint32_t from;
        int nSysColor;
    } map[] = {{0x000000, COLOR_BTNTEXT},
               {0x808080, COLOR_BTNSHADOW},
               {0xC0C0C0, COLOR_BTNFACE},
               {0xFFFFFF, COLOR_BTNHIGHLIGHT}};
    for (std::uint32_t& pixel : pixels)
    {
        for (const auto& entry : map)
        {
            if ((pixel & 0xFFFFFF) == entry.from)
            {
                pixel = PixelOf(GetSysColor(entry.nSysColor));
                break;
            }
        }
    }
}
} // namespace

HBITMAP AfxLoadSysColorBitmap(HINSTANCE hInstance, LPCSTR lpszResourceName)
{
    const HBITMAP hBitmap = LoadBitmapA(hInstance, lpszResourceName);
    BITMAP bm{};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return hBitmap;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight));
    const HDC hScreen = GetDC(nullptr);
    const UINT nRows = UINT(bm.bmHeight);
    if (GetDIBits(hScreen, hBitmap, 0, nRows, pixels.data(), &info, DIB_RGB_COLORS) != 0)
    {
        MapButtonColours(pixels);
        SetDIBits(hScreen, hBitmap, 0, nRows, pixels.data(), &info, DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, hScreen);
    return hBitmap;
}
