// PNG pictures of packed DIBs: a DIB goes out and comes back with its
// pixels, and files that are no sound PNG give nothing.
#include "PngFile.h"
#include "PackedDib.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

namespace
{
std::vector<std::uint8_t> DibOf(int nWidth, int nHeight, const std::vector<std::uint32_t>& pixels)
{
    PackedDibFormat format;
    format.nWidth = nWidth;
    format.nHeight = nHeight;
    format.nBitCount = 32;
    std::vector<std::uint8_t> dib(GetPackedDibSize(format));
    WritePackedDib(format, dib.data(),
                   [&](int row, std::uint8_t* pRow)
                   { std::memcpy(pRow, &pixels[std::size_t(row) * nWidth], nWidth * 4); });
    return dib;
}

std::vector<std::uint32_t> PixelsOf(const std::vector<std::uint8_t>& dib)
{
    PackedDibLayout layout;
    if (!ParsePackedDib(dib.data(), dib.size(), layout))
        return {};
    std::vector<std::uint32_t> pixels(std::size_t(layout.nWidth) * layout.nHeight);
    DecodePackedDib(dib.data(), layout, pixels.data());
    return pixels;
}

TEST(PngFileTest, ADibComesBackWithItsPixelsAsA24BitDib)
{
    // Three columns, so that the 24-bit rows need padding.
    const std::vector<std::uint32_t> pixels{0xFF0000, 0x00FF00, 0x0000FF,
                                            0x123456, 0xFFFFFF, 0x000000};
    const std::vector<std::uint8_t> png = PngFileOfPackedDib(DibOf(3, 2, pixels));
    ASSERT_GT(png.size(), 8U);
    EXPECT_EQ(png[1], 'P');
    const std::vector<std::uint8_t> dib = PackedDibOfPngFile(png);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(dib.data(), dib.size(), layout));
    EXPECT_EQ(layout.nBitCount, 24);
    EXPECT_FALSE(layout.bTopDown);
    EXPECT_EQ(PixelsOf(dib), pixels);
}

TEST(PngFileTest, BrokenInputGivesNothing)
{
    const std::vector<std::uint8_t> png =
        PngFileOfPackedDib(DibOf(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    ASSERT_GT(png.size(), 40U);
    std::vector<std::uint8_t> cut(png.begin(), png.begin() + png.size() / 2);
    std::vector<std::uint8_t> damaged = png;
    damaged[40] ^= 0xFF;
    for (const auto& bytes :
         {std::vector<std::uint8_t>{}, cut, damaged, std::vector<std::uint8_t>{'B', 'M', 0, 0}})
        EXPECT_TRUE(PackedDibOfPngFile(bytes).empty());
    EXPECT_TRUE(PngFileOfPackedDib(std::vector<std::uint8_t>(10, 0)).empty());
}
} // namespace
