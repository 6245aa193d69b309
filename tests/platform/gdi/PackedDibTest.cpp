#include "BitmapFile.h"
#include "GdiTestDib.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A packed DIB block: header, masks or table, then the bits.
std::vector<std::uint8_t> Block(const TestDib& dib)
{
    std::vector<std::uint8_t> block = dib.info;
    block.insert(block.end(), dib.bits.begin(), dib.bits.end());
    return block;
}

template <typename T> void SetField(std::vector<std::uint8_t>& bytes, std::size_t at, T value)
{
    std::memcpy(bytes.data() + at, &value, sizeof(value));
}

// An 8-bit DIB whose header states its table's entries.
PackedDibFormat Indexed8(int width, int height, const RGBQUAD* table, std::uint32_t entries)
{
    PackedDibFormat format;
    format.nWidth = width;
    format.nHeight = height;
    format.nBitCount = 8;
    format.pColors = table;
    format.nColors = entries;
    format.nColorsUsed = entries;
    return format;
}

// A 5 x 3 4-bit DIB whose header leaves its 16-entry table implied.
TestDib ImpliedTable()
{
    TestDib dib(5, 3, 4, std::vector<COLORREF>(16, RGB(1, 2, 3)));
    dib.Header().biClrUsed = 0;
    return dib;
}

// A 3 x 2 8-bit DIB with a four-entry table, bottom row 0 1 2, top row 3 2 1.
TestDib SmallIndexed()
{
    TestDib dib(3, 2, 8, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)});
    const std::uint8_t rows[2][3] = {{0, 1, 2}, {3, 2, 1}};
    for (int stored = 0; stored < 2; ++stored)
        std::memcpy(dib.Row(stored), rows[stored], 3);
    return dib;
}
} // namespace

TEST(PackedDib, LayoutLocatesMasksTableAndRows)
{
    struct Case
    {
        const char* name;
        TestDib dib;
        std::uint64_t tableOffset;
        std::uint64_t bitsOffset;
        std::uint32_t colors;
    };
    const Case cases[] = {
        {"indexed", SmallIndexed(), 40, 40 + 16, 4},
        {"implied table", ImpliedTable(), 40, 40 + 64, 16},
        {"bit fields", TestDib(2, 2, 16, {}, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}), 52, 52, 0},
        {"true colour", TestDib(2, -2, 24), 40, 40, 0},
    };
    for (const Case& c : cases)
    {
        const std::vector<std::uint8_t> block = Block(c.dib);
        PackedDibLayout layout;
        ASSERT_TRUE(ParsePackedDib(block.data(), block.size(), layout)) << c.name;
        EXPECT_EQ(layout.nTableOffset, c.tableOffset) << c.name;
        EXPECT_EQ(layout.nBitsOffset, c.bitsOffset) << c.name;
        EXPECT_EQ(layout.nColors, c.colors) << c.name;
        EXPECT_EQ(layout.nBitsOffset + layout.nImageSize, block.size()) << c.name;
    }
    // A core header has a table of three-byte entries.
    std::vector<std::uint8_t> core(12 + 2 * 3 + 4);
    const BITMAPCOREHEADER header{12, 3, 1, 1, 1};
    std::memcpy(core.data(), &header, sizeof(header));
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(core.data(), core.size(), layout));
    EXPECT_EQ(layout.nBitsOffset, 18u);
    EXPECT_EQ(layout.nColorBytes, 3u);
}

TEST(PackedDib, RefusesWhatTheBlockCannotHold)
{
    const std::vector<std::uint8_t> good = Block(SmallIndexed());
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    auto with = [&](std::size_t at, std::uint32_t value)
    {
        std::vector<std::uint8_t> bytes = good;
        SetField(bytes, at, value);
        return bytes;
    };
    const Case cases[] = {
        {"rows cut short", std::vector<std::uint8_t>(good.begin(), good.end() - 1)},
        {"table cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 50)},
        {"header cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 20)},
        {"odd header size", with(0, 20)},
        {"header larger than the block", with(0, 0x7FFFFFF0)},
        {"zero width", with(4, 0)},
        {"most negative height", with(8, 0x80000000)},
        {"bit count 7", with(14, 7)},
        {"bit fields at 8 bits", with(16, BI_BITFIELDS)},
        {"run length without its size", with(16, BI_RLE8)},
        {"huge table", with(32, 0xFFFFFFFF)},
        {"huge height", with(8, 0x7FFFFFFF)},
    };
    for (const Case& c : cases)
    {
        PackedDibLayout layout;
        const char* why = nullptr;
        EXPECT_FALSE(ParsePackedDib(c.bytes.data(), c.bytes.size(), layout, &why)) << c.name;
        EXPECT_NE(why, nullptr) << c.name;
    }
    PackedDibLayout layout;
    EXPECT_FALSE(ParsePackedDib(nullptr, 100, layout));
}

TEST(PackedDib, WrittenDibReadsBackBottomUpWithItsHeaderValues)
{
    const RGBQUAD table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    PackedDibFormat format = Indexed8(9, 3, table, 2);
    format.nPelsPerMeter = 3780;
    format.bStoreImageSize = true;
    const std::uint64_t size = GetPackedDibSize(format);
    ASSERT_EQ(size, 40u + 8u + 12u * 3u);
    std::vector<std::uint8_t> block(size);
    WritePackedDib(format, block.data(),
                   [](int row, std::uint8_t* target) { std::memset(target, row + 1, 9); });
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(block.data(), block.size(), layout));
    const auto& header = *reinterpret_cast<const BITMAPINFOHEADER*>(block.data());
    EXPECT_EQ(header.biXPelsPerMeter, 3780);
    EXPECT_EQ(header.biSizeImage, 36u);
    EXPECT_EQ(header.biClrUsed, 2u);
    // The first stored row is the bottom row of the image.
    EXPECT_EQ(block[layout.nBitsOffset], 3);
    EXPECT_EQ(block[layout.nBitsOffset + 2 * layout.nStride], 1);
    format.nWidth = -1;
    EXPECT_EQ(GetPackedDibSize(format), 0u);
    format.nWidth = 1 << 30;
    format.nHeight = 8;
    EXPECT_EQ(GetPackedDibSize(format), 0u) << "beyond the sizes of a bitmap file";
}

TEST(PackedDib, DecodesIndexedAndRunLengthRowsTopFirst)
{
    const std::vector<std::uint8_t> indexed = Block(SmallIndexed());
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(indexed.data(), indexed.size(), layout));
    std::vector<std::uint32_t> pixels(6);
    ASSERT_TRUE(DecodePackedDib(indexed.data(), layout, pixels.data()));
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0x0000FF, 0x00FF00, 0xFF0000, 0x000000, 0xFF0000,
                                                  0x00FF00}));
    // Two rows of three pixels as runs: bottom row index 1, top row index 2.
    TestDib rle(3, 2, 8, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0)}, BI_RLE8);
    rle.bits = {3, 1, 0, 0, 3, 2, 0, 1};
    rle.Header().biSizeImage = DWORD(rle.bits.size());
    const std::vector<std::uint8_t> runs = Block(rle);
    ASSERT_TRUE(ParsePackedDib(runs.data(), runs.size(), layout));
    ASSERT_TRUE(DecodePackedDib(runs.data(), layout, pixels.data()));
    EXPECT_EQ(pixels, (std::vector<std::uint32_t>{0x00FF00, 0x00FF00, 0x00FF00, 0xFF0000, 0xFF0000,
                                                  0xFF0000}));
}

TEST(PackedDib, BitmapsPackAndComeBackThroughTheScreen)
{
    GdiTestSurface source(4, 3);
    source.Set(1, 2, RGB(10, 200, 30));
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = 4;
    header.biHeight = 3;
    header.biPlanes = 1;
    header.biBitCount = 24;
    HGLOBAL dib = PackBitmap(source.Bitmap(), header, nullptr);
    ASSERT_NE(dib, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(bytes, GlobalSize(dib), layout));
    HBITMAP back = CreateScreenBitmap(reinterpret_cast<const BITMAPINFO*>(bytes),
                                      bytes + layout.nBitsOffset, nullptr);
    GlobalUnlock(dib);
    GlobalFree(dib);
    ASSERT_NE(back, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, back);
    EXPECT_EQ(GetPixel(dc, 1, 2), RGB(10, 200, 30));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(back);
}

TEST(BitmapFile, WrittenFileReadsBackAsTheSameDib)
{
    const RGBQUAD grey[4] = {{0, 0, 0, 0}, {85, 85, 85, 0}, {170, 170, 170, 0}, {255, 255, 255, 0}};
    const PackedDibFormat format = Indexed8(5, 2, grey, 4);
    const DibRowWriter rows = [](int row, std::uint8_t* target)
    {
        for (int x = 0; x < 5; ++x)
            target[x] = std::uint8_t((x + row) % 4);
    };
    const std::vector<std::uint8_t> file = BuildBitmapFile(format, rows);
    BITMAPFILEHEADER header;
    std::memcpy(&header, file.data(), sizeof(header));
    const WORD type = header.bfType;
    const DWORD size = header.bfSize;
    const DWORD offBits = header.bfOffBits;
    EXPECT_EQ(type, 0x4D42);
    EXPECT_EQ(size, file.size());
    EXPECT_EQ(offBits, 14u + 40u + 16u);
    CBitmapBytesSource source(file);
    BitmapFileContents contents;
    ASSERT_TRUE(ReadBitmapFile(source, contents));
    EXPECT_EQ(contents.nStoredHeaderSize, 40u);
    EXPECT_EQ(contents.layout.nColors, 4u) << "the table's entries are stated";
    EXPECT_EQ(std::vector<std::uint8_t>(contents.dib.begin() + 56, contents.dib.end()),
              std::vector<std::uint8_t>(file.begin() + 14 + 56, file.end()));
}

TEST(BitmapFile, CoreAndLaterHeadersBecomeInformationHeaders)
{
    // A 2 x 1 core-header file at 1 bit: white, black.
    std::vector<std::uint8_t> core(14 + 12 + 6 + 4);
    SetField<WORD>(core, 0, 0x4D42);
    SetField<DWORD>(core, 10, 14 + 12 + 6);
    const BITMAPCOREHEADER coreHeader{12, 2, 1, 1, 1};
    std::memcpy(core.data() + 14, &coreHeader, sizeof(coreHeader));
    const std::uint8_t table[6] = {0, 0, 0, 255, 255, 255};
    std::memcpy(core.data() + 26, table, 6);
    core[32] = 0x80;
    // A 2 x 1 version-5 file at 16 bits 5-6-5 with its masks in the header.
    std::vector<std::uint8_t> v5(14 + 124 + 4);
    SetField<WORD>(v5, 0, 0x4D42);
    SetField<DWORD>(v5, 10, 14 + 124);
    SetField<DWORD>(v5, 14, 124);
    SetField<LONG>(v5, 18, 2);
    SetField<LONG>(v5, 22, 1);
    SetField<WORD>(v5, 28, 16);
    SetField<DWORD>(v5, 30, BI_BITFIELDS);
    SetField<DWORD>(v5, 54, 0xF800);
    SetField<DWORD>(v5, 58, 0x07E0);
    SetField<DWORD>(v5, 62, 0x001F);
    SetField<WORD>(v5, 138, 0xF800);
    SetField<WORD>(v5, 140, 0x001F);
    struct Case
    {
        const char* name;
        const std::vector<std::uint8_t>& bytes;
        std::uint32_t storedHeader;
        std::vector<std::uint32_t> pixels;
    };
    const Case cases[] = {{"core", core, 12, {0xFFFFFF, 0x000000}},
                          {"version 5", v5, 124, {0xFF0000, 0x0000FF}}};
    for (const Case& c : cases)
    {
        CBitmapBytesSource source(c.bytes);
        BitmapFileContents contents;
        ASSERT_TRUE(ReadBitmapFile(source, contents)) << c.name;
        EXPECT_EQ(contents.nStoredHeaderSize, c.storedHeader) << c.name;
        EXPECT_EQ(contents.layout.nHeaderSize, 40u) << c.name;
        std::vector<std::uint32_t> pixels(2);
        ASSERT_TRUE(DecodePackedDib(contents.dib.data(), contents.layout, pixels.data()));
        EXPECT_EQ(pixels, c.pixels) << c.name;
    }
}

TEST(BitmapFile, RefusesFilesThatStateWhatTheyDoNotHold)
{
    const RGBQUAD table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    const std::vector<std::uint8_t> good = BuildBitmapFile(Indexed8(7, 3, table, 2), {});
    struct Case
    {
        const char* name;
        void (*spoil)(std::vector<std::uint8_t>&);
    };
    const Case cases[] = {
        {"empty", [](std::vector<std::uint8_t>& f) { f.clear(); }},
        {"not BM", [](std::vector<std::uint8_t>& f) { f[0] = 'X'; }},
        {"header size 20", [](std::vector<std::uint8_t>& f) { SetField<DWORD>(f, 14, 20); }},
        {"truncated rows", [](std::vector<std::uint8_t>& f) { f.pop_back(); }},
        {"huge width", [](std::vector<std::uint8_t>& f) { SetField<LONG>(f, 18, 0x7FFFFFFF); }},
        {"more colours than 8 bits index",
         [](std::vector<std::uint8_t>& f) { SetField<DWORD>(f, 46, 257); }},
        {"image size below the rows",
         [](std::vector<std::uint8_t>& f) { SetField<DWORD>(f, 34, 3); }},
        {"rows inside the table", [](std::vector<std::uint8_t>& f) { SetField<DWORD>(f, 10, 58); }},
        {"rows past the end",
         [](std::vector<std::uint8_t>& f) { SetField<DWORD>(f, 10, 0xFFFFFF00); }},
        {"top-down runs",
         [](std::vector<std::uint8_t>& f)
         {
             SetField<DWORD>(f, 30, BI_RLE8);
             SetField<LONG>(f, 22, -3);
         }},
    };
    for (const Case& c : cases)
    {
        std::vector<std::uint8_t> bytes = good;
        c.spoil(bytes);
        CBitmapBytesSource source(bytes);
        BitmapFileContents contents;
        const char* why = nullptr;
        EXPECT_FALSE(ReadBitmapFile(source, contents, &why)) << c.name;
        EXPECT_NE(why, nullptr) << c.name;
    }
}
