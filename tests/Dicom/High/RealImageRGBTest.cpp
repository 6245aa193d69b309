#include "FileTestSupport.h"
#include "RealImage.h"
#include "RealImageTestSupport.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

// Pixel values v become the colours ColourOf(v).
std::unique_ptr<RealImageRGB> MakeImageRGB(int width, int height, const std::vector<int>& values)
{
    auto* pixels = new std::uint8_t[values.size() * 3];
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        const int colour = ColourOf(values[i]);
        pixels[3 * i] = static_cast<std::uint8_t>(colour);
        pixels[3 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
        pixels[3 * i + 2] = static_cast<std::uint8_t>(colour >> 16);
    }
    return std::make_unique<RealImageRGB>(pixels, width, height, 8, 0, 255, 0, 255, 0.0f, 1.0f);
}

std::unique_ptr<RealImage> MakeColour(int width, int height, const std::vector<int>& values)
{
    return MakeImageRGB(width, height, values);
}

INSTANTIATE_TEST_SUITE_P(Colour, RealImageGeometryTest,
                         ::testing::Values(RealImageKind{"Colour", &MakeColour, true}));

// The palette colour of each pixel's index, as R | G << 8 | B << 16.
std::vector<int> ColoursOf(const std::uint8_t* indices, std::size_t count, const RGBQUAD* palette)
{
    std::vector<int> colours;
    for (std::size_t i = 0; i < count; ++i)
    {
        const RGBQUAD& entry = palette[indices[i]];
        colours.push_back(entry.rgbRed | entry.rgbGreen << 8 | entry.rgbBlue << 16);
    }
    return colours;
}

// A colour with each level cut to the quantiser's grid of 4.
int OnGrid(int colour)
{
    return colour & 0xFCFCFC;
}

TEST(RealImageRGBTest, PixmapsAreQuantisedIndicesIntoTheNewPalette)
{
    // Colours 40/41/42 and 200/201/202: the grid keeps 40/40/40 and 200/200/200.
    auto image = MakeImageRGB(3, 2, {40, 200, 40, 40, 200, 40});
    std::unique_ptr<std::uint8_t[]> indices(image->GetPixmap());
    ASSERT_NE(indices, nullptr);
    EXPECT_EQ(
        ColoursOf(indices.get(), 6, image->GetPalette()),
        (std::vector<int>{OnGrid(ColourOf(40)), OnGrid(ColourOf(200)), OnGrid(ColourOf(40)),
                          OnGrid(ColourOf(40)), OnGrid(ColourOf(200)), OnGrid(ColourOf(40))}));
    EXPECT_NE(indices[0], indices[1]);
    // The pixels themselves stay.
    EXPECT_EQ(PixelsOf(*image)[1], ColourOf(200));
}

TEST(RealImageRGBTest, TablesMapTheQuantisedIndices)
{
    auto image = MakeImageRGB(4, 1, {40, 200, 40, 200});
    std::unique_ptr<std::uint8_t[]> indices(image->GetPixmap());
    std::vector<std::uint8_t> table(256);
    for (int i = 0; i < 256; ++i)
    {
        table[std::size_t(i)] = static_cast<std::uint8_t>(255 - i);
    }
    std::unique_ptr<std::uint8_t[]> mapped(image->GetPixmapEx(table.data()));
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(mapped[0], 255 - indices[0]);
    EXPECT_EQ(mapped[1], 255 - indices[1]);
}

TEST(RealImageRGBTest, RemapGivesPaletteIndicesWithTheQuantisedPalette)
{
    // Every colour covers two pixels: colours of one pixel never enter the
    // palette.
    auto image = MakeImageRGB(2, 2, {10, 250, 250, 10});
    image->SetPhotometric("RGB");
    std::unique_ptr<RealImage8> remapped(image->Remap());
    ASSERT_NE(remapped, nullptr);
    EXPECT_STREQ(remapped->GetPhotometric(), "PALETTE COLOR");
    const std::vector<int> indices = PixelsOf(*remapped);
    std::vector<std::uint8_t> bytes(indices.begin(), indices.end());
    EXPECT_EQ(ColoursOf(bytes.data(), 4, remapped->GetPalette()),
              (std::vector<int>{OnGrid(ColourOf(10)), OnGrid(ColourOf(250)), OnGrid(ColourOf(250)),
                                OnGrid(ColourOf(10))}));
    // Palette indices are shown as they are.
    std::unique_ptr<std::uint8_t[]> pixmap(remapped->GetPixmap());
    EXPECT_EQ(std::vector<int>(pixmap.get(), pixmap.get() + 4), indices);
}

TEST(RealImageRGBTest, ColourImagesAreNotInverted)
{
    auto image = MakeImageRGB(2, 1, {1, 2});
    image->SetPhotometric("RGB");
    image->Invert();
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{ColourOf(1), ColourOf(2)}));
    EXPECT_STREQ(image->GetPhotometric(), "RGB");
}

TEST(RealImageRGBTest, GreyAccessorsReadTheFirstBytes)
{
    auto image = MakeImageRGB(2, 1, {10, 20});
    // Bytes: 10 11 12 20 21 22; pixel (1, 0) reads byte 1.
    EXPECT_EQ(image->GetInternalPixel(1, 0), 11);
    EXPECT_EQ(image->GetPixelValue(0, 0), 10);
    std::unique_ptr<std::uint8_t[]> levels(image->GetPixmap(0));
    EXPECT_EQ(levels[1], 235 * 11 / 255 + 8);
}

TEST(RealImageRGBTest, PartsAreCopiedWhateverTheModeAndOnlyFromColourImages)
{
    auto target = MakeImageRGB(2, 1, {9, 9});
    const auto source = MakeImageRGB(1, 1, {0});
    std::memset(source->GetImage(), 0, 3);
    EXPECT_EQ(target->SetImagePart(1, 0, source.get(), 5), 1);
    EXPECT_EQ(PixelsOf(*target), (std::vector<int>{ColourOf(9), 0}));

    const auto grey = MakeImage8(1, 1, {7});
    EXPECT_EQ(target->SetImagePart(0, 0, grey.get(), 0), 0);
    auto greyTarget = MakeImage8(2, 2, {0, 0, 0, 0});
    EXPECT_EQ(greyTarget->SetImagePart(0, 0, source.get(), 0), 0);
}

TEST(RealImageRGBTest, ColourImagesAreNotResampled)
{
    auto image = MakeImageRGB(2, 1, {1, 2});
    EXPECT_EQ(image->Scale(2, 1), 1);
    EXPECT_EQ(image->Scale(4, 2), 0);
    EXPECT_EQ(image->GetWidth(), 2);
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{ColourOf(1), ColourOf(2)}));
}

TEST(RealImageRGBTest, CopiesOwnTheirPixels)
{
    const auto image = MakeImageRGB(2, 1, {1, 2});
    RealImageRGB copy(*image);
    EXPECT_NE(copy.GetImage(), image->GetImage());
    EXPECT_EQ(PixelsOf(copy), PixelsOf(*image));
    auto other = MakeImageRGB(1, 1, {5});
    *other = copy;
    EXPECT_EQ(PixelsOf(*other), PixelsOf(*image));
}

class RealImageRGBFileTest : public FileFolderTest
{
};

// 3 x 2 (rows of 9 bytes padded to 12 in a bitmap).
const std::vector<int> FileValues = {0, 40, 80, 120, 160, 200};

TEST_F(RealImageRGBFileTest, BitmapFilesHoldTwentyFourBitRowsInBlueGreenRedOrder)
{
    auto image = MakeImageRGB(3, 2, FileValues);
    const std::string path = PathOf("colour.bmp");
    ASSERT_EQ(image->SaveAsWindowsBitmap(path.c_str()), 1);
    const Bytes file = ReadBytes(path);
    ASSERT_EQ(file.size(), 54u + 12u * 2u);
    std::uint32_t offset = 0;
    std::memcpy(&offset, file.data() + 10, 4);
    EXPECT_EQ(offset, 54u);
    BITMAPINFOHEADER info;
    std::memcpy(&info, file.data() + 14, sizeof info);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biWidth, 3);
    EXPECT_EQ(info.biHeight, 2);
    // Bottom row first: pixel (0, 1) is 120/121/122, written B, G, R.
    EXPECT_EQ(std::vector<int>(file.begin() + 54, file.begin() + 57),
              (std::vector<int>{122, 121, 120}));
    // The image itself stays R, G, B.
    EXPECT_EQ(PixelsOf(*image)[3], ColourOf(120));

    ExpectBitmapReadsAs(path, 3, 2, FileValues, ColourOf);
}

TEST_F(RealImageRGBFileTest, RemappedImagesSaveTheirQuantisedColours)
{
    // Two pixels of each colour.
    auto image = MakeImageRGB(4, 2, {0, 40, 80, 120, 120, 80, 40, 0});
    std::unique_ptr<RealImage8> remapped(image->Remap());
    ASSERT_NE(remapped, nullptr);
    const std::string path = PathOf("remapped.bmp");
    ASSERT_EQ(remapped->SaveAsWindowsBitmap(path.c_str()), 1);
    ExpectBitmapReadsAs(path, 4, 2, {0, 40, 80, 120, 120, 80, 40, 0},
                        [](int value) { return OnGrid(ColourOf(value)); });
}

TEST(RealImageRGBDibTest, DibsHoldTwentyFourBitRowsInBlueGreenRedOrder)
{
    auto image = MakeImageRGB(3, 2, FileValues);
    HGLOBAL dib = image->CreateDIB();
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(GlobalSize(dib), 40u + 12u * 2u);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes, sizeof info);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biHeight, 2);
    // Top row last: pixel (2, 0) is 80/81/82.
    EXPECT_EQ(std::vector<int>(bytes + 40 + 12 + 6, bytes + 40 + 12 + 9),
              (std::vector<int>{82, 81, 80}));
    GlobalUnlock(dib);
    GlobalFree(dib);

    HBITMAP bitmap = image->CreateBitmap();
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    ASSERT_NE(GetObject(bitmap, sizeof description, &description), 0);
    EXPECT_EQ(description.bmWidth, 3);
    EXPECT_EQ(description.bmHeight, 2);
    DeleteObject(bitmap);
}

} // namespace
