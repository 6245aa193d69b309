// CMemoryDC: an off-screen surface of a given size and depth whose colour
// table comes from a palette (grey by default), drawn into, read from its
// bits and blitted out again.
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

TEST(MemoryDCTest, AGreySurfaceStoresLevelsAsIndices)
{
    GreyPalette grey;
    ASSERT_NE(grey.GetSafeHandle(), nullptr);
    EXPECT_EQ(grey.GetEntryCount(), 256);
    CMemoryDC memory(nullptr, 10, 4, 8, &grey);
    ASSERT_TRUE(memory.IsValid());
    EXPECT_EQ(memory.GetRect(), CRect(0, 0, 10, 4));
    EXPECT_EQ(memory.GetStride(), 12);
    memory.FillSolidRect(0, 0, 10, 4, RGB(0, 0, 0));
    memory.SetPixel(2, 1, RGB(100, 100, 100));
    const auto* bits = static_cast<const std::uint8_t*>(memory.GetBits());
    EXPECT_EQ(bits[1 * 12 + 2], 100) << "top row first";
    EXPECT_EQ(bits[2], 0);

    PaneSurface target(10, 4, RGB(9, 9, 9));
    target.BitBlt(0, 0, 10, 4, &memory, 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(2, 1), RGB(100, 100, 100));
    EXPECT_EQ(target.At(3, 1), RGB(0, 0, 0));
    target.SetStretchBltMode(COLORONCOLOR);
    target.StretchBlt(0, 0, 10, 4, &memory, 2, 1, 1, 1, SRCCOPY);
    EXPECT_EQ(target.At(9, 3), RGB(100, 100, 100));
}

TEST(MemoryDCTest, APaletteGivesTheColourTable)
{
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(block.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = 2;
    logPalette->palPalEntry[0] = {255, 0, 0, 0};
    logPalette->palPalEntry[1] = {0, 0, 255, 0};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(logPalette));
    CMemoryDC memory(nullptr, 8, 2, 1, &palette);
    ASSERT_TRUE(memory.IsValid());
    memory.FillSolidRect(0, 0, 8, 2, RGB(255, 0, 0));
    memory.SetPixel(7, 1, RGB(0, 0, 255));
    const auto* bits = static_cast<const std::uint8_t*>(memory.GetBits());
    EXPECT_EQ(bits[0], 0x00);
    EXPECT_EQ(bits[memory.GetStride()], 0x01) << "the last pixel of the second row";
    PaneSurface target(8, 2);
    target.BitBlt(0, 0, 8, 2, &memory, 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(target.At(7, 1), RGB(0, 0, 255));
}

TEST(MemoryDCTest, TrueColourDepthsAndRefusedSizes)
{
    for (int depth : {16, 24, 32})
    {
        CMemoryDC memory(nullptr, 10, 3, depth);
        ASSERT_TRUE(memory.IsValid()) << depth;
        EXPECT_EQ(memory.GetStride(), (depth * 10 + 31) / 32 * 4);
        memory.FillSolidRect(0, 0, 10, 3, RGB(0, 255, 0));
        EXPECT_EQ(memory.GetPixel(4, 2), RGB(0, 255, 0)) << depth;
    }
    CMemoryDC odd(nullptr, 10, 3, 7);
    EXPECT_FALSE(odd.IsValid());
    CMemoryDC empty(nullptr, 0, 3, 8);
    EXPECT_FALSE(empty.IsValid());
    EXPECT_EQ(empty.GetBits(), nullptr);
    empty.FillSolidRect(0, 0, 4, 4, RGB(1, 2, 3));
}
