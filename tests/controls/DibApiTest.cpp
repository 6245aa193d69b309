#include "DibTestHelpers.h"
#include "GdiRecorder.h"

#include <gtest/gtest.h>

namespace
{
struct Locked
{
    explicit Locked(HDIB h) : handle(h), dib(static_cast<char*>(GlobalLock(h))) {}
    ~Locked() { GlobalUnlock(handle); }
    HDIB handle;
    char* dib;
};
} // namespace

TEST(DibApi, ColourTableSizesFollowTheHeader)
{
    struct Case
    {
        DWORD headerSize;
        WORD bitCount;
        DWORD clrUsed;
        WORD colors;
        WORD paletteSize;
    };
    const Case cases[] = {
        {40, 1, 0, 2, 8},     {40, 4, 0, 16, 64},  {40, 8, 0, 256, 1024}, {40, 24, 0, 0, 0},
        {40, 24, 12, 12, 48}, {40, 8, 20, 20, 80}, {12, 1, 0, 2, 6},      {12, 4, 0, 16, 48},
        {12, 8, 0, 256, 768}, {12, 24, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        BYTE header[40] = {};
        if (c.headerSize == 40)
        {
            BITMAPINFOHEADER h{};
            h.biSize = 40;
            h.biWidth = 5;
            h.biHeight = 7;
            h.biBitCount = c.bitCount;
            h.biClrUsed = c.clrUsed;
            std::memcpy(header, &h, sizeof(h));
        }
        else
        {
            BITMAPCOREHEADER h{12, 5, 7, 1, c.bitCount};
            std::memcpy(header, &h, sizeof(h));
        }
        char* dib = reinterpret_cast<char*>(header);
        EXPECT_EQ(DIBNumColors(dib), c.colors) << c.headerSize << "/" << c.bitCount;
        EXPECT_EQ(PaletteSize(dib), c.paletteSize) << c.headerSize << "/" << c.bitCount;
        EXPECT_EQ(DIBWidth(dib), 5u);
        EXPECT_EQ(DIBHeight(dib), 7u);
        EXPECT_EQ(FindDIBBits(dib), dib + c.headerSize + c.paletteSize);
    }
}

TEST(DibApi, CreateDibNormalisesTheBitCount)
{
    const std::pair<WORD, WORD> cases[] = {{0, 1}, {1, 1},  {2, 4},   {4, 4}, {5, 8},
                                           {8, 8}, {9, 24}, {24, 24}, {32, 4}};
    for (const auto& [asked, expected] : cases)
    {
        HDIB hdib = CreateDIB(3, 2, asked);
        ASSERT_NE(hdib, nullptr);
        {
            Locked l(hdib);
            const auto* h = reinterpret_cast<BITMAPINFOHEADER*>(l.dib);
            EXPECT_EQ(h->biBitCount, expected) << asked;
            EXPECT_EQ(h->biSize, 40u);
            EXPECT_EQ(h->biPlanes, 1);
            const SIZE_T rowBytes = ((expected * 3 + 31) / 32) * 4;
            EXPECT_EQ(GlobalSize(hdib), 40 + PaletteSize(l.dib) + 2 * rowBytes);
            // Table and bits start out zero: every entry black.
            for (SIZE_T i = 40; i < GlobalSize(hdib); ++i)
                ASSERT_EQ(l.dib[i], 0);
        }
        EXPECT_EQ(DestroyDIB(hdib), 0);
    }
    EXPECT_EQ(DestroyDIB(nullptr), 0);
}

TEST(DibApi, CopyHandleCopiesTheBlock)
{
    HDIB hdib = MakeIndexedDib(4, 3);
    HANDLE copy = CopyHandle(hdib);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(GlobalSize(copy), GlobalSize(hdib));
    {
        Locked a(hdib);
        Locked b(copy);
        EXPECT_EQ(std::memcmp(a.dib, b.dib, GlobalSize(hdib)), 0);
    }
    EXPECT_EQ(CopyHandle(nullptr), nullptr);
    DestroyDIB(copy);
    DestroyDIB(hdib);
}

TEST(DibApi, PalettesComeFromTheColourTable)
{
    HDIB hdib = MakeIndexedDib(2, 2);
    HPALETTE palette = CreateDIBPalette(hdib);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY e{};
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    GetPaletteEntries(palette, 10, 1, &e);
    EXPECT_EQ(e.peRed, 10);
    EXPECT_EQ(e.peGreen, 245);
    EXPECT_EQ(e.peBlue, 5);
    EXPECT_EQ(e.peFlags, 0);
    DeleteObject(palette);

    CPalette wrapper;
    EXPECT_TRUE(CreateDIBPalette(hdib, &wrapper));
    EXPECT_EQ(wrapper.GetEntryCount(), 256);
    DestroyDIB(hdib);

    HDIB rgb = CreateDIB(2, 2, 24);
    EXPECT_EQ(CreateDIBPalette(rgb), nullptr);
    {
        Locked l(rgb);
        reinterpret_cast<BITMAPINFOHEADER*>(l.dib)->biClrUsed = 12;
    }
    // The header claims a table the block lacks: only the entries present count.
    HPALETTE claimed = CreateDIBPalette(rgb);
    ASSERT_NE(claimed, nullptr);
    EXPECT_LE(GetPaletteEntries(claimed, 0, 0, nullptr), 12u);
    DeleteObject(claimed);
    DestroyDIB(rgb);
    HDIB tabled = CreateDIB(16, 16, 24);
    {
        Locked l(tabled);
        reinterpret_cast<BITMAPINFOHEADER*>(l.dib)->biClrUsed = 12;
    }
    HPALETTE twelve = CreateDIBPalette(tabled);
    EXPECT_EQ(GetPaletteEntries(twelve, 0, 0, nullptr), 12u);
    DeleteObject(twelve);
    DestroyDIB(tabled);
    EXPECT_EQ(CreateDIBPalette(nullptr), nullptr);
}

TEST(DibApi, ScreenHasOnePaletteEntry)
{
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(screen), 1);
    ReleaseDC(nullptr, screen);
    HPALETTE system = GetSystemPalette();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(GetPaletteEntries(system, 0, 0, nullptr), 1u);
    DeleteObject(system);
}

TEST(DibApi, PaintDibCopiesOneToOneFromAnOffsetSourceRectangle)
{
    HDIB hdib = MakeIndexedDib(10, 8);
    MemorySurface s(12, 12);
    RECT dst{1, 2, 5, 5};
    RECT src{3, 2, 7, 5};
    EXPECT_EQ(PaintDIB(s.Dc(), &dst, &src, hdib, nullptr), 3);
    EXPECT_EQ(GetStretchBltMode(s.Dc()), COLORONCOLOR);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.At(1 + x, 2 + y), IndexedColor(3 + x, 2 + y)) << x << "," << y;
    EXPECT_EQ(s.At(5, 2), RGB(255, 255, 255));
    EXPECT_EQ(s.At(1, 5), RGB(255, 255, 255));
    DestroyDIB(hdib);
}

TEST(DibApi, PaintDibChoosesTheOneToOneCallOnlyForEqualSizes)
{
    HDIB hdib = MakeIndexedDib(10, 8);
    MemorySurface s(12, 12);
    GdiRecordCalls(s.Dc(), true);
    RECT dst{1, 2, 5, 5};
    RECT src{3, 2, 7, 5};
    PaintDIB(s.Dc(), &dst, &src, hdib, nullptr);
    RECT wider{1, 2, 6, 5};
    PaintDIB(s.Dc(), &wider, &src, hdib, nullptr);
    RECT taller{1, 2, 5, 6};
    PaintDIB(s.Dc(), &taller, &src, hdib, nullptr);
    // The 1:1 call counts the source from the bottom: 8 - 5 = 3; the
    // stretched one passes the source top as it is.
    const std::vector<std::string> expected{
        "SetDIBitsToDevice(1,2,4,3,3,3,0,8)",
        "StretchDIBits(1,2,5,3,3,2,4,3," + std::to_string(SRCCOPY) + ")",
        "StretchDIBits(1,2,4,4,3,2,4,3," + std::to_string(SRCCOPY) + ")"};
    EXPECT_EQ(GdiGetRecordedCalls(s.Dc()), expected);
    DestroyDIB(hdib);
}

TEST(DibApi, PaintedDibReadsBackAsItsPixels)
{
    HDIB hdib = MakeIndexedDib(16, 9);
    MemorySurface s(16, 9);
    RECT all{0, 0, 16, 9};
    CPalette palette;
    CreateDIBPalette(hdib, &palette);
    EXPECT_EQ(PaintDIB(s.Dc(), &all, hdib, &all, &palette), 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(s.At(x, y), IndexedColor(x, y));
    // The palette was selected out again.
    EXPECT_EQ(GetCurrentObject(s.Dc(), OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    DestroyDIB(hdib);
}

TEST(DibApi, PaintDibStretchesWhenTheSizesDiffer)
{
    HDIB hdib = MakeIndexedDib(4, 4);
    MemorySurface s(9, 9);
    RECT dst{0, 0, 9, 8};
    RECT src{0, 0, 4, 4};
    EXPECT_EQ(PaintDIB(s.Dc(), &dst, &src, hdib, nullptr), 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(s.At(x, y), IndexedColor(x * 4 / 9, y * 4 / 8));
    // Pixel by pixel never stretches: the four rows form the bottom of the
    // eight-row band placed at the destination's top.
    MemorySurface t(9, 9);
    PaintDIBPixelByPixel(t.Dc(), &dst, &src, hdib, nullptr);
    EXPECT_EQ(t.At(3, 7), IndexedColor(3, 3));
    EXPECT_EQ(t.At(0, 4), IndexedColor(0, 0));
    EXPECT_EQ(t.At(3, 3), RGB(255, 255, 255));
    EXPECT_EQ(t.At(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(PaintDIB(s.Dc(), &dst, &src, nullptr, nullptr), 0);
    DestroyDIB(hdib);
}

TEST(DibApi, PaintBitmapBlitsOrStretches)
{
    HDIB hdib = MakeIndexedDib(4, 4);
    HBITMAP bitmap = DIBToBitmap(hdib, nullptr);
    ASSERT_NE(bitmap, nullptr);
    MemorySurface s(8, 8);
    RECT dst{2, 2, 4, 4};
    RECT src{1, 1, 3, 3};
    EXPECT_TRUE(PaintBitmap(s.Dc(), &dst, bitmap, &src, nullptr));
    EXPECT_EQ(s.At(2, 2), IndexedColor(1, 1));
    EXPECT_EQ(s.At(3, 3), IndexedColor(2, 2));
    RECT big{0, 0, 8, 8};
    RECT whole{0, 0, 4, 4};
    EXPECT_TRUE(PaintBitmap(s.Dc(), &big, bitmap, &whole, nullptr));
    EXPECT_EQ(s.At(7, 7), IndexedColor(3, 3));
    DeleteObject(bitmap);
    DestroyDIB(hdib);
}

TEST(DibApi, BitmapRoundTripsAtEightAndTwentyFourBits)
{
    HDIB hdib = MakeIndexedDib(6, 5);
    HPALETTE palette = CreateDIBPalette(hdib);
    HBITMAP bitmap = DIBToBitmap(hdib, palette);
    ASSERT_NE(bitmap, nullptr);
    HDIB back = BitmapToDIB(bitmap, palette);
    ASSERT_NE(back, nullptr);
    {
        Locked l(back);
        const auto* h = reinterpret_cast<BITMAPINFOHEADER*>(l.dib);
        EXPECT_EQ(h->biBitCount, 24); // from a 32-bit bitmap
        EXPECT_EQ(h->biSizeImage, 5u * 20u);
        MemorySurface s(6, 5);
        RECT all{0, 0, 6, 5};
        PaintDIB(s.Dc(), &all, &all, back, nullptr);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(s.At(x, y), IndexedColor(x, y));
    }
    // Through ChangeDIBFormat to 8 bits and back through a bitmap.
    HDIB grey = CreateDIB(4, 2, 8);
    {
        Locked l(grey);
        auto* table = reinterpret_cast<RGBQUAD*>(l.dib + 40);
        table[0] = RGBQUAD{0, 0, 0, 0};
        table[1] = RGBQUAD{255, 255, 255, 0};
        table[2] = RGBQUAD{0, 0, 255, 0};
        BYTE* bits = reinterpret_cast<BYTE*>(FindDIBBits(l.dib));
        const BYTE values[8] = {0, 1, 2, 1, 2, 2, 0, 0};
        std::memcpy(bits, values, 8);
    }
    HDIB eight = ChangeDIBFormat(grey, 8, BI_RGB);
    ASSERT_NE(eight, nullptr);
    MemorySurface a(4, 2);
    MemorySurface b(4, 2);
    RECT r{0, 0, 4, 2};
    PaintDIB(a.Dc(), &r, &r, grey, nullptr);
    PaintDIB(b.Dc(), &r, &r, eight, nullptr);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(a.At(x, y), b.At(x, y));
    HDIB rle = ChangeDIBFormat(grey, 0, BI_RLE8);
    ASSERT_NE(rle, nullptr);
    {
        Locked l(rle);
        EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(l.dib)->biCompression, DWORD(BI_RLE8));
    }
    MemorySurface c(4, 2);
    PaintDIB(c.Dc(), &r, &r, rle, nullptr);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(c.At(x, y), a.At(x, y));
    EXPECT_EQ(ChangeDIBFormat(grey, 0, BI_RLE4), nullptr); // an 8-bit DIB cannot become RLE4
    EXPECT_EQ(ChangeDIBFormat(grey, 16, BI_RGB), nullptr);
    EXPECT_EQ(ChangeDIBFormat(back, 8, BI_RGB), nullptr); // no colour table
    HDIB mono = ChangeBitmapFormat(bitmap, 1, BI_RGB, nullptr);
    ASSERT_NE(mono, nullptr);
    {
        Locked l(mono);
        EXPECT_EQ(reinterpret_cast<BITMAPINFOHEADER*>(l.dib)->biBitCount, 1);
    }
    EXPECT_EQ(ChangeBitmapFormat(bitmap, 24, BI_RLE8, nullptr), nullptr);
    for (HDIB h : {hdib, back, grey, eight, rle, mono})
        DestroyDIB(h);
    DeleteObject(bitmap);
    DeleteObject(palette);
}
