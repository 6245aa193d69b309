#include "GdiTestDib.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{
// A grey level per pixel so each source position is recognisable.
COLORREF Marker(int x, int y)
{
    return RGB(x * 10, y * 10, 100);
}

void PaintMarkers(GdiTestSurface& s)
{
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            s.Set(x, y, Marker(x, y));
}
} // namespace

TEST(DeviceContext, NewMemoryDcHoldsOneByOneMonochromeBitmap)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
    GetObject(mono, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 8, 8);
    GetObject(colour, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1920);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 1080);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(WindowFromDC(dc), nullptr);
    ReleaseDC(nullptr, screen);
    DeleteObject(mono);
    DeleteObject(colour);
    DeleteDC(dc);
}

TEST(DeviceContext, SelectedObjectCannotBeDeletedAndStockObjectsSurvive)
{
    GdiTestSurface s(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(s.Dc(), pen);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    SelectObject(s.Dc(), old);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), DWORD(OBJ_BRUSH));
}

TEST(DeviceContext, BitmapLivesInOneMemoryDcAtATime)
{
    GdiTestSurface s(4, 4);
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, s.Bitmap()), nullptr);
    DeleteDC(other);
}

TEST(DeviceContext, RestoreDcBringsBackAttributesAndObjects)
{
    GdiTestSurface s(4, 4);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const int saved = SaveDC(s.Dc());
    SelectObject(s.Dc(), red);
    SetTextColor(s.Dc(), RGB(1, 1, 1));
    SetBkMode(s.Dc(), TRANSPARENT);
    SetWindowOrgEx(s.Dc(), 5, 5, nullptr);
    IntersectClipRect(s.Dc(), 6, 6, 7, 7);
    EXPECT_TRUE(RestoreDC(s.Dc(), saved));
    EXPECT_EQ(GetCurrentObject(s.Dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetTextColor(s.Dc()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(s.Dc()), OPAQUE);
    POINT org;
    GetWindowOrgEx(s.Dc(), &org);
    EXPECT_EQ(org.x, 0);
    RECT box;
    EXPECT_EQ(GetClipBox(s.Dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 4);
    EXPECT_TRUE(DeleteObject(red));
}

TEST(Blit, BitBltCopiesAndClipsToTheSource)
{
    GdiTestSurface src(4, 4);
    PaintMarkers(src);
    GdiTestSurface dst(8, 8, RGB(0, 0, 0));
    EXPECT_TRUE(BitBlt(dst.Dc(), 2, 3, 6, 6, src.Dc(), 1, 1, SRCCOPY));
    EXPECT_EQ(dst.At(2, 3), Marker(1, 1));
    EXPECT_EQ(dst.At(4, 5), Marker(3, 3));
    // Beyond the source's right and bottom edges nothing is copied.
    EXPECT_EQ(dst.At(5, 3), RGB(0, 0, 0));
    EXPECT_EQ(dst.At(2, 6), RGB(0, 0, 0));
    EXPECT_EQ(dst.At(1, 3), RGB(0, 0, 0));
}

TEST(Blit, OverlappingBlitWithinOneDcReadsTheOldPixels)
{
    GdiTestSurface s(6, 6);
    PaintMarkers(s);
    BitBlt(s.Dc(), 1, 1, 5, 5, s.Dc(), 0, 0, SRCCOPY);
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 6; ++x)
            EXPECT_EQ(s.At(x, y), Marker(x - 1, y - 1));
    // Back up-left again: pixel (x, y) takes the old (x + 1, y + 1).
    BitBlt(s.Dc(), 0, 0, 5, 5, s.Dc(), 1, 1, SRCCOPY);
    EXPECT_EQ(s.At(0, 0), Marker(0, 0));
    EXPECT_EQ(s.At(4, 4), Marker(4, 4));
}

TEST(Blit, StretchBltFollowsTheNearestRule)
{
    GdiTestSurface src(3, 2);
    PaintMarkers(src);
    GdiTestSurface dst(7, 5);
    SetStretchBltMode(dst.Dc(), COLORONCOLOR);
    StretchBlt(dst.Dc(), 0, 0, 7, 5, src.Dc(), 0, 0, 3, 2, SRCCOPY);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(dst.At(x, y), Marker(x * 3 / 7, y * 2 / 5)) << x << "," << y;
}

TEST(Blit, StretchBltWithMirroredExtentMirrors)
{
    GdiTestSurface src(4, 1);
    PaintMarkers(src);
    GdiTestSurface dst(4, 1);
    StretchBlt(dst.Dc(), 4, 0, -4, 1, src.Dc(), 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dst.At(x, 0), Marker(3 - x, 0));
}

struct RopCase
{
    DWORD rop;
    std::uint32_t (*expected)(std::uint32_t p, std::uint32_t s, std::uint32_t d);
};

class TernaryRop : public ::testing::TestWithParam<RopCase>
{
};

TEST_P(TernaryRop, FollowsItsBooleanFormula)
{
    const RopCase& c = GetParam();
    const COLORREF pat = RGB(0xF0, 0x0F, 0x35);
    const COLORREF src = RGB(0xCC, 0x33, 0x5A);
    const COLORREF dstColor = RGB(0xAA, 0x55, 0x96);
    GdiTestSurface source(2, 2, src);
    GdiTestSurface dst(2, 2, dstColor);
    HBRUSH brush = CreateSolidBrush(pat);
    HGDIOBJ old = SelectObject(dst.Dc(), brush);
    EXPECT_TRUE(BitBlt(dst.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, c.rop));
    SelectObject(dst.Dc(), old);
    DeleteObject(brush);
    const std::uint32_t expected = c.expected(pat, src, dstColor) & 0xFFFFFF;
    EXPECT_EQ(dst.At(1, 1), expected) << std::hex << c.rop;
}

INSTANTIATE_TEST_SUITE_P(
    Blit, TernaryRop,
    ::testing::Values(RopCase{SRCCOPY, [](auto, auto s, auto) { return s; }},
                      RopCase{SRCAND, [](auto, auto s, auto d) { return s & d; }},
                      RopCase{SRCPAINT, [](auto, auto s, auto d) { return s | d; }},
                      RopCase{PATCOPY, [](auto p, auto, auto) { return p; }},
                      RopCase{PATINVERT, [](auto p, auto, auto d) { return p ^ d; }},
                      RopCase{DSTINVERT, [](auto, auto, auto d) { return ~d; }},
                      RopCase{BLACKNESS, [](auto, auto, auto) { return 0u; }},
                      RopCase{0x00B8074A, [](auto p, auto s, auto d) { return p ^ (s & (d ^ p)); }},
                      RopCase{0x00A000C9, [](auto p, auto, auto d) { return d & p; }},
                      RopCase{0x00E20746,
                              [](auto p, auto s, auto d) { return d ^ (s & (p ^ d)); }}),
    [](const auto& info)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "Rop%06X", unsigned(info.param.rop));
        return std::string(name);
    });

TEST(Blit, MonochromeSourceTakesTheDestinationColours)
{
    const BYTE pattern[2] = {0x80, 0x00}; // one row: first pixel white
    HBITMAP mono = CreateBitmap(2, 1, 1, 1, pattern);
    HDC monoDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDc, mono);
    GdiTestSurface dst(2, 1);
    SetTextColor(dst.Dc(), RGB(10, 20, 30));
    SetBkColor(dst.Dc(), RGB(200, 210, 220));
    BitBlt(dst.Dc(), 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(200, 210, 220)); // 1 bit: background colour
    EXPECT_EQ(dst.At(1, 0), RGB(10, 20, 30));    // 0 bit: text colour

    // Colour to monochrome: the source's background colour becomes white.
    GdiTestSurface colour(2, 1, RGB(5, 5, 5));
    colour.Set(1, 0, RGB(250, 250, 250));
    SetBkColor(colour.Dc(), RGB(5, 5, 5));
    BitBlt(monoDc, 0, 0, 2, 1, colour.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(monoDc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(monoDc, 1, 0), RGB(0, 0, 0));
    SelectObject(monoDc, old);
    DeleteDC(monoDc);
    DeleteObject(mono);
}

TEST(Blit, PatBltUsesThePatternBrushAlignedToTheDeviceOrigin)
{
    const BYTE rows[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bits);
    GdiTestSurface s(8, 2);
    SetTextColor(s.Dc(), RGB(0, 0, 0));
    SetBkColor(s.Dc(), RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(s.Dc(), brush);
    PatBlt(s.Dc(), 1, 0, 7, 2, PATCOPY);
    // The pattern's first row 10101010: pixel 1 is a 0 bit wherever drawing starts.
    EXPECT_EQ(s.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(s.At(2, 0), RGB(255, 255, 255));
    EXPECT_EQ(s.At(1, 1), RGB(255, 255, 255));
    SelectObject(s.Dc(), old);
    DeleteObject(brush);
    DeleteObject(bits);
}

TEST(Blit, AlphaBlendUsesTheConstantAlphaFormula)
{
    GdiTestSurface src(2, 2, RGB(200, 100, 0));
    GdiTestSurface dst(2, 2, RGB(0, 50, 255));
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 77, 0};
    EXPECT_TRUE(AlphaBlend(dst.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, 2, 2, blend));
    auto mix = [](int s, int d) { return (s * 77 + d * (255 - 77) + 127) / 255; };
    EXPECT_EQ(dst.At(0, 0), RGB(mix(200, 0), mix(100, 50), mix(0, 255)));
    BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 77, AC_SRC_ALPHA};
    EXPECT_FALSE(AlphaBlend(dst.Dc(), 0, 0, 2, 2, src.Dc(), 0, 0, 2, 2, perPixel));
}

TEST(Blit, WindowOriginAppliesToBlitsAndFills)
{
    GdiTestSurface src(2, 2);
    PaintMarkers(src);
    GdiTestSurface dst(8, 8, RGB(0, 0, 0));
    SetWindowOrgEx(dst.Dc(), 10, 20, nullptr);
    BitBlt(dst.Dc(), 12, 23, 2, 2, src.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(2, 3), Marker(0, 0));
    EXPECT_EQ(dst.At(3, 4), Marker(1, 1));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{15, 25, 16, 26};
    FillRect(dst.Dc(), &r, red);
    EXPECT_EQ(dst.At(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dst.Dc(), 15, 25), RGB(255, 0, 0));
    DeleteObject(red);
}

TEST(Blit, FillIsClippedToTheClipRectangle)
{
    GdiTestSurface s(10, 10);
    IntersectClipRect(s.Dc(), 2, 2, 5, 5);
    RECT r{0, 0, 10, 10};
    FillRect(s.Dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.Count(RGB(0, 0, 0)), 9);
    EXPECT_EQ(s.At(2, 2), RGB(0, 0, 0));
    EXPECT_EQ(s.At(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(s.Dc(), 7, 7), CLR_INVALID);
}

TEST(Blit, ScrollDcMovesPixelsAndReportsTheUncoveredStrip)
{
    GdiTestSurface s(10, 10);
    PaintMarkers(s);
    const RECT scroll{0, 0, 10, 10};
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    RECT updateRect{};
    EXPECT_TRUE(ScrollDC(s.Dc(), 0, -3, &scroll, &scroll, update, &updateRect));
    // Rows move up by three and keep their values.
    EXPECT_EQ(s.At(4, 0), Marker(4, 3));
    EXPECT_EQ(s.At(9, 6), Marker(9, 9));
    EXPECT_EQ(updateRect.top, 7);
    EXPECT_EQ(updateRect.bottom, 10);
    EXPECT_EQ(updateRect.left, 0);
    EXPECT_EQ(updateRect.right, 10);
    EXPECT_TRUE(PtInRegion(update, 5, 8));
    EXPECT_FALSE(PtInRegion(update, 5, 6));
    // A clip rectangle keeps the moved pixels inside it.
    PaintMarkers(s);
    const RECT clip{0, 0, 10, 5};
    ScrollDC(s.Dc(), 0, 3, &scroll, &clip, nullptr, &updateRect);
    EXPECT_EQ(s.At(2, 4), Marker(2, 1));
    EXPECT_EQ(s.At(2, 7), Marker(2, 7)); // outside the clip: untouched
    EXPECT_EQ(updateRect.top, 0);
    EXPECT_EQ(updateRect.bottom, 3);
    DeleteObject(update);
}
