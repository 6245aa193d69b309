#include "GdiTestDib.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

namespace
{
// A 4 x 3 8-bit bottom-up DIB whose pixel (x, row from top) has index
// 10 * row + x and a table mapping index i to RGB(i, 2 i, 3 i).
TestDib MakeIndexed(bool topDown = false)
{
    std::vector<COLORREF> table;
    for (int i = 0; i < 64; ++i)
        table.push_back(RGB(i, 2 * i, 3 * i));
    TestDib dib(4, topDown ? -3 : 3, 8, table);
    for (int row = 0; row < 3; ++row)
        for (int x = 0; x < 4; ++x)
            dib.SetIndex8(x, topDown ? row : 2 - row, std::uint8_t(10 * row + x));
    return dib;
}

COLORREF IndexColor(int row, int x)
{
    const int i = 10 * row + x;
    return RGB(i, 2 * i, 3 * i);
}
} // namespace

TEST(Dib, SetDIBitsToDeviceCountsTheSourceFromTheLowerLeft)
{
    TestDib dib = MakeIndexed();
    GdiTestSurface s(6, 6, RGB(255, 255, 255));
    // Source rectangle: columns 1..2, rows 0..1 counted from the bottom, i.e.
    // image rows 1 and 2 from the top.
    const int rows = SetDIBitsToDevice(s.Dc(), 3, 2, 2, 2, 1, 0, 0, 3, dib.bits.data(), dib.Info(),
                                       DIB_RGB_COLORS);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(s.At(3, 2), IndexColor(1, 1));
    EXPECT_EQ(s.At(4, 2), IndexColor(1, 2));
    EXPECT_EQ(s.At(3, 3), IndexColor(2, 1));
    EXPECT_EQ(s.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(s.At(3, 4), RGB(255, 255, 255));
}

TEST(Dib, SetDIBitsToDeviceTopDownCountsFromTheUpperLeft)
{
    TestDib dib = MakeIndexed(true);
    GdiTestSurface s(4, 4);
    SetDIBitsToDevice(s.Dc(), 0, 0, 2, 2, 1, 0, 0, 3, dib.bits.data(), dib.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(s.At(0, 0), IndexColor(0, 1));
    EXPECT_EQ(s.At(1, 1), IndexColor(1, 2));
}

TEST(Dib, SetDIBitsToDeviceDrawsOnlyTheSuppliedScanLines)
{
    TestDib dib = MakeIndexed();
    GdiTestSurface s(4, 3, RGB(255, 255, 255));
    // Only the bottom stored row (image row 2) is supplied.
    const int rows =
        SetDIBitsToDevice(s.Dc(), 0, 0, 4, 3, 0, 0, 0, 1, dib.Row(0), dib.Info(), DIB_RGB_COLORS);
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(s.At(0, 2), IndexColor(2, 0));
    EXPECT_EQ(s.At(0, 1), RGB(255, 255, 255));
}

TEST(Dib, StretchDIBitsMapsByTheNearestRuleFromTheLowerLeft)
{
    TestDib dib = MakeIndexed();
    GdiTestSurface s(9, 5);
    SetStretchBltMode(s.Dc(), COLORONCOLOR);
    const int rows = StretchDIBits(s.Dc(), 0, 0, 9, 5, 0, 0, 4, 3, dib.bits.data(), dib.Info(),
                                   DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(rows, 3);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(s.At(x, y), IndexColor(y * 3 / 5, x * 4 / 9)) << x << "," << y;
    // A one-to-one stretch is an exact copy; ySrc 1 from the bottom takes
    // image rows 0 and 1.
    GdiTestSurface t(4, 2);
    StretchDIBits(t.Dc(), 0, 0, 4, 2, 0, 1, 4, 2, dib.bits.data(), dib.Info(), DIB_RGB_COLORS,
                  SRCCOPY);
    EXPECT_EQ(t.At(3, 0), IndexColor(0, 3));
    EXPECT_EQ(t.At(0, 1), IndexColor(1, 0));
}

TEST(Dib, StretchDIBitsNegativeSourceHeightMirrors)
{
    TestDib dib = MakeIndexed();
    GdiTestSurface s(4, 3);
    StretchDIBits(s.Dc(), 0, 0, 4, 3, 0, 3, 4, -3, dib.bits.data(), dib.Info(), DIB_RGB_COLORS,
                  SRCCOPY);
    EXPECT_EQ(s.At(0, 0), IndexColor(2, 0));
    EXPECT_EQ(s.At(0, 2), IndexColor(0, 0));
}

struct FormatCase
{
    const char* name;
    int bitCount;
    DWORD compression;
    std::vector<DWORD> masks;
};

class DibFormats : public ::testing::TestWithParam<FormatCase>
{
};

// Every format is written through GetDIBits and read back through
// SetDIBitsToDevice, bottom-up and top-down.
TEST_P(DibFormats, RoundTripThroughBitmap)
{
    const FormatCase& c = GetParam();
    const COLORREF colours[4] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255)};
    GdiTestSurface src(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            src.Set(x, y, colours[(x + y) % (c.bitCount == 1 ? 2 : 4)]);
    for (int sign : {1, -1})
    {
        TestDib dib(5, 3 * sign, c.bitCount, {}, c.compression, c.masks);
        dib.info.resize(dib.info.size() + 256 * 4 + 12);
        ASSERT_EQ(GetDIBits(src.Dc(), src.Bitmap(), 0, 3, dib.bits.data(),
                            reinterpret_cast<BITMAPINFO*>(dib.info.data()), DIB_RGB_COLORS),
                  3)
            << c.name;
        GdiTestSurface out(5, 3, RGB(1, 2, 3));
        EXPECT_EQ(SetDIBitsToDevice(out.Dc(), 0, 0, 5, 3, 0, 0, 0, 3, dib.bits.data(), dib.Info(),
                                    DIB_RGB_COLORS),
                  3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(out.At(x, y), src.At(x, y))
                    << c.name << " " << sign << " " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dib, DibFormats,
    ::testing::Values(FormatCase{"1", 1, BI_RGB, {}}, FormatCase{"4", 4, BI_RGB, {}},
                      FormatCase{"8", 8, BI_RGB, {}}, FormatCase{"16", 16, BI_RGB, {}},
                      FormatCase{"16-565", 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
                      FormatCase{"24", 24, BI_RGB, {}}, FormatCase{"32", 32, BI_RGB, {}},
                      FormatCase{"32-masks", 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}}),
    [](const auto& info)
    {
        std::string n = info.param.name;
        for (char& ch : n)
            ch = ch == '-' ? '_' : ch;
        return "Bits" + n;
    });

TEST(Dib, CreateDIBitmapReadsTheFirstStoredRowAsTheBottomRow)
{
    TestDib dib = MakeIndexed();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(screen, &dib.Header(), CBM_INIT, dib.bits.data(), dib.Info(),
                                    DIB_RGB_COLORS);
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 2), IndexColor(2, 0));
    EXPECT_EQ(GetPixel(dc, 3, 0), IndexColor(0, 3));
    SelectObject(dc, old);
    DeleteDC(dc);

    // GetDIBits without bits completes the header.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biBitCount = 24;
    EXPECT_NE(GetDIBits(screen, bitmap, 0, 3, nullptr, &info, DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.bmiHeader.biWidth, 4);
    EXPECT_EQ(info.bmiHeader.biHeight, 3);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 3u * 12u);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
}

TEST(Dib, EightBitOutputUsesTheFixedTableWithNearestColours)
{
    GdiTestSurface src(2, 1);
    src.Set(0, 0, RGB(255, 0, 0));
    src.Set(1, 0, RGB(250, 5, 3));
    TestDib dib(2, 1, 8);
    dib.info.resize(dib.info.size() + 256 * 4);
    auto* info = reinterpret_cast<BITMAPINFO*>(dib.info.data());
    GetDIBits(src.Dc(), src.Bitmap(), 0, 1, dib.bits.data(), info, DIB_RGB_COLORS);
    const RGBQUAD q = info->bmiColors[dib.bits[0]];
    EXPECT_EQ(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), RGB(255, 0, 0));
    EXPECT_EQ(dib.bits[0], dib.bits[1]);
}

TEST(Dib, EightBitOutputUsesTheSelectedPalette)
{
    GdiTestSurface src(2, 1);
    src.Set(0, 0, RGB(10, 20, 30));
    src.Set(1, 0, RGB(200, 100, 50));
    LOGPALETTE pal{0x300, 1, {{200, 100, 50, 0}}};
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY));
    auto* two = reinterpret_cast<LOGPALETTE*>(block.data());
    *two = pal;
    two->palNumEntries = 2;
    two->palPalEntry[1] = PALETTEENTRY{10, 20, 30, 0};
    HPALETTE palette = CreatePalette(two);
    HDC screen = GetDC(nullptr);
    HPALETTE old = SelectPalette(screen, palette, FALSE);
    TestDib dib(2, 1, 8);
    dib.info.resize(dib.info.size() + 256 * 4);
    auto* info = reinterpret_cast<BITMAPINFO*>(dib.info.data());
    GetDIBits(screen, src.Bitmap(), 0, 1, dib.bits.data(), info, DIB_RGB_COLORS);
    EXPECT_EQ(dib.bits[0], 1);
    EXPECT_EQ(dib.bits[1], 0);
    EXPECT_EQ(info->bmiColors[0].rgbRed, 200);
    SelectPalette(screen, old, FALSE);
    ReleaseDC(nullptr, screen);
    DeleteObject(palette);
}

TEST(Dib, RleOutputDecodesToTheSamePixels)
{
    for (int bitCount : {8, 4})
    {
        GdiTestSurface src(13, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 13; ++x)
                src.Set(x, y, (x < 6 || (x + y) % 3 == 0) ? RGB(255, 0, 0) : RGB(0, 0, 255));
        std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * 4);
        auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
        bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi->bmiHeader.biBitCount = WORD(bitCount);
        bmi->bmiHeader.biCompression = bitCount == 8 ? BI_RLE8 : BI_RLE4;
        ASSERT_NE(GetDIBits(src.Dc(), src.Bitmap(), 0, 4, nullptr, bmi, DIB_RGB_COLORS), 0);
        ASSERT_GT(bmi->bmiHeader.biSizeImage, 0u);
        std::vector<std::uint8_t> bits(bmi->bmiHeader.biSizeImage);
        ASSERT_NE(GetDIBits(src.Dc(), src.Bitmap(), 0, 4, bits.data(), bmi, DIB_RGB_COLORS), 0);
        GdiTestSurface out(13, 4, RGB(0, 0, 0));
        SetDIBitsToDevice(out.Dc(), 0, 0, 13, 4, 0, 0, 0, 4, bits.data(), bmi, DIB_RGB_COLORS);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 13; ++x)
                EXPECT_EQ(out.At(x, y), src.At(x, y)) << bitCount << " " << x << "," << y;
    }
}

TEST(Dib, DibSectionBitsAreLive)
{
    TestDib dib(4, 2, 8);
    std::vector<std::uint8_t> info = dib.info;
    info.resize(sizeof(BITMAPINFOHEADER) + 256 * 4);
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    for (int i = 0; i < 256; ++i)
        bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    auto* p = static_cast<std::uint8_t*>(bits);
    p[0] = 77; // bottom-left pixel
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(77, 77, 77));
    SetPixel(dc, 3, 0, RGB(200, 200, 200));
    EXPECT_EQ(p[4 + 3], 200); // top row is stored second
    RGBQUAD table[2];
    EXPECT_EQ(GetDIBColorTable(dc, 76, 2, table), 2u);
    EXPECT_EQ(table[1].rgbRed, 77);
    DIBSECTION ds{};
    EXPECT_EQ(GetObject(section, sizeof(ds), &ds), int(sizeof(DIBSECTION)));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biBitCount, 8);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(Dib, MalformedHeadersAreRefused)
{
    TestDib dib(4, 4, 7);
    GdiTestSurface s(4, 4);
    EXPECT_EQ(SetDIBitsToDevice(s.Dc(), 0, 0, 4, 4, 0, 0, 0, 4, dib.bits.data(), dib.Info(),
                                DIB_RGB_COLORS),
              0);
    TestDib rleWithoutSize(4, 4, 8, {}, BI_RLE8);
    EXPECT_EQ(StretchDIBits(s.Dc(), 0, 0, 4, 4, 0, 0, 4, 4, rleWithoutSize.bits.data(),
                            rleWithoutSize.Info(), DIB_RGB_COLORS, SRCCOPY),
              0);
}
