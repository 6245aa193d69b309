// Toolbar-style bitmap resources shown in the system's button colours.
#include "AfxSysColorBitmap.h"
#include "BitmapFile.h"
#include "ResourceRegistry.h"
#include "WinGdi.h"
#include "WinModule.h"
#include "WinResource.h"
#include "WinSysColors.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace
{
constexpr UINT kStripId = 731;
constexpr UINT kAbsentId = 732;

// A bitmap file of one row of 24-bit pixels, given as COLORREFs.
std::vector<std::uint8_t> OneRowBitmapFile(const std::vector<COLORREF>& colours)
{
    PackedDibFormat format;
    format.nWidth = int(colours.size());
    format.nHeight = 1;
    format.nBitCount = 24;
    return BuildBitmapFile(format,
                           [&](int, std::uint8_t* row)
                           {
                               for (std::size_t i = 0; i < colours.size(); ++i)
                               {
                                   row[3 * i] = GetBValue(colours[i]);
                                   row[3 * i + 1] = GetGValue(colours[i]);
                                   row[3 * i + 2] = GetRValue(colours[i]);
                               }
                           });
}

const std::vector<COLORREF> kButtonColours = {RGB(0, 0, 0), RGB(128, 128, 128), RGB(192, 192, 192),
                                              RGB(255, 255, 255), RGB(200, 16, 16)};

void RegisterStrip()
{
    static const std::vector<std::uint8_t> file = OneRowBitmapFile(kButtonColours);
    static const ResourceDataEntry data[] = {
        {RT_BITMAP, MAKEINTRESOURCE(kStripId), file.data(), DWORD(file.size())}};
    static const bool bDone =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.data = data}), true);
    static_cast<void>(bDone);
}

std::vector<COLORREF> RowOf(HBITMAP hBitmap, int nWidth)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(std::size_t(nWidth), 0);
    const HDC hScreen = GetDC(nullptr);
    GetDIBits(hScreen, hBitmap, 0, 1, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hScreen);
    std::vector<COLORREF> colours;
    for (std::uint32_t pixel : pixels)
        colours.push_back(RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
    return colours;
}

TEST(SysColorBitmap, ButtonColoursBecomeTheSystemsAndOthersStay)
{
    RegisterStrip();
    const HBITMAP hBitmap =
        AfxLoadSysColorBitmap(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kStripId));
    ASSERT_NE(hBitmap, nullptr);
    const std::vector<COLORREF> expected = {
        GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE),
        GetSysColor(COLOR_BTNHIGHLIGHT), RGB(200, 16, 16)};
    ASSERT_NE(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192)) << "the face must show a change";
    EXPECT_EQ(RowOf(hBitmap, int(kButtonColours.size())), expected);
    DeleteObject(hBitmap);
}

TEST(SysColorBitmap, AbsentResourceIsNull)
{
    EXPECT_EQ(AfxLoadSysColorBitmap(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kAbsentId)),
              nullptr);
}
} // namespace
