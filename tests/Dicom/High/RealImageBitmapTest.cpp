#include "FileTestSupport.h"
#include "RealImage.h"
#include "RealImageTestSupport.h"
#include "WinGdi.h"
#include "WinGlobalMemory.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

// 5 x 3 (rows padded by 3 bytes in a bitmap), values 0, 10, ..., 140.
const std::vector<int> Values = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140};

// Entry i = (i, 255 - i, i / 2): every entry differs from the grey ramp.
void PaintPalette(RealImage& image)
{
    for (int i = 0; i < 256; ++i)
    {
        image.GetPalette()[i] = RGBQUAD{BYTE(i / 2), BYTE(255 - i), BYTE(i), 0};
    }
}

int PaletteColour(int index)
{
    return index | (255 - index) << 8 | (index / 2) << 16;
}

template <class T> T ReadAt(const Bytes& bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// Header fields after the 14-byte file header (or at offset 0 of a DIB).
void ExpectInfoHeader(const std::uint8_t* header, int width, int height, int bitCount)
{
    BITMAPINFOHEADER info;
    std::memcpy(&info, header, sizeof info);
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, width);
    EXPECT_EQ(info.biHeight, height);
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, bitCount);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(info.biSizeImage, 0u);
    EXPECT_EQ(info.biXPelsPerMeter, 1);
    EXPECT_EQ(info.biYPelsPerMeter, 1);
    EXPECT_EQ(info.biClrUsed, 0u);
}

class RealImageBitmapTest : public FileFolderTest
{
};

TEST_F(RealImageBitmapTest, EightBitFilesHoldThePaletteAndBottomUpPaddedRows)
{
    auto image = MakeImage8(5, 3, Values);
    PaintPalette(*image);
    const std::string path = PathOf("grey8.bmp");
    ASSERT_EQ(image->SaveAsWindowsBitmap(path.c_str()), 1);

    const Bytes file = ReadBytes(path);
    ASSERT_EQ(file.size(), 1078u + 8u * 3u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(ReadAt<std::uint32_t>(file, 2), file.size());
    EXPECT_EQ(ReadAt<std::uint32_t>(file, 6), 0u);
    EXPECT_EQ(ReadAt<std::uint32_t>(file, 10), 1078u);
    ExpectInfoHeader(file.data() + 14, 5, 3, 8);
    EXPECT_EQ(std::memcmp(file.data() + 54, image->GetPalette(), 1024), 0);
    // The bottom row comes first.
    EXPECT_EQ(file[1078], 100);
    EXPECT_EQ(file[1078 + 8 + 4], 90);

    ExpectBitmapReadsAs(path, 5, 3, Values, PaletteColour);
}

TEST_F(RealImageBitmapTest, SixteenBitFilesShowTheWindowedSamples)
{
    const std::vector<int> samples = {0, 500, 900, 1000, 1100, 1500, 4095, 1050};
    auto image = MakeImage16(4, 2, samples);
    image->GetLookupTable().Init(0, 4095, 0.0f, 1.0f, 400, 1000);
    const std::string path = PathOf("grey16.bmp");
    ASSERT_EQ(image->SaveAsWindowsBitmap(path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path).size(), 1078u + 4u * 2u);

    ExpectBitmapReadsAs(path, 4, 2, samples,
                        [](int sample)
                        {
                            const int level = LinearDisplay(sample, 1000, 400);
                            return level | level << 8 | level << 16;
                        });
}

TEST_F(RealImageBitmapTest, RawFilesHoldTheBufferAsItStands)
{
    auto image = MakeImage16(2, 1, {0x1234, 0xABCD});
    const std::string path = PathOf("frame.raw");
    ASSERT_EQ(image->SaveAsRaw(path.c_str()), 1);
    EXPECT_EQ(ReadBytes(path), (Bytes{0x34, 0x12, 0xCD, 0xAB}));
}

TEST_F(RealImageBitmapTest, FilesThatCannotBeCreatedFail)
{
    auto image = MakeImage8(5, 3, Values);
    const std::string path = PathOf("missing/folder/image.bmp");
    EXPECT_EQ(image->SaveAsWindowsBitmap(path.c_str()), 0);
    EXPECT_EQ(image->SaveAsRaw(path.c_str()), 0);
    EXPECT_EQ(image->SaveAsRaw(nullptr), 0);

    delete[] static_cast<std::uint8_t*>(image->Detach());
    const std::string empty = PathOf("empty.bmp");
    EXPECT_EQ(image->SaveAsWindowsBitmap(empty.c_str()), 0);
    EXPECT_EQ(image->SaveAsRaw(empty.c_str()), 0);
    EXPECT_EQ(image->CreateDIB(), nullptr);
    EXPECT_EQ(image->CreateBitmap(), nullptr);
}

TEST(RealImageDibTest, EightBitDibsHoldThePaletteAndBottomUpPaddedRows)
{
    auto image = MakeImage8(5, 3, Values);
    PaintPalette(*image);
    HGLOBAL dib = image->CreateDIB();
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(GlobalSize(dib), 40u + 1024u + 8u * 3u);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    ExpectInfoHeader(bytes, 5, 3, 8);
    EXPECT_EQ(std::memcmp(bytes + 40, image->GetPalette(), 1024), 0);
    const std::uint8_t* rows = bytes + 40 + 1024;
    EXPECT_EQ(std::vector<int>(rows, rows + 8),
              (std::vector<int>{100, 110, 120, 130, 140, 0, 0, 0}));
    EXPECT_EQ(std::vector<int>(rows + 16, rows + 21), (std::vector<int>{0, 10, 20, 30, 40}));
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST(RealImageDibTest, SixteenBitDibsShowTheWindowedSamples)
{
    auto image = MakeImage16(2, 1, {0, 1000});
    image->GetLookupTable().Init(0, 4095, 0.0f, 1.0f, 400, 1000);
    HGLOBAL dib = image->CreateDIB();
    ASSERT_NE(dib, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
    ExpectInfoHeader(bytes, 2, 1, 8);
    EXPECT_EQ(bytes[40 + 1024], 0);
    EXPECT_EQ(bytes[40 + 1024 + 1], LinearDisplay(1000, 1000, 400));
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST(RealImageDibTest, BitmapsOfTheScreenHoldThePaletteColours)
{
    auto image = MakeImage8(5, 3, Values);
    PaintPalette(*image);
    HBITMAP bitmap = image->CreateBitmap();
    ASSERT_NE(bitmap, nullptr);
    BITMAP description{};
    ASSERT_NE(GetObject(bitmap, sizeof description, &description), 0);
    EXPECT_EQ(description.bmWidth, 5);
    EXPECT_EQ(description.bmHeight, 3);

    // Read back as 32-bit top-down rows of B, G, R, X.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 5;
    info.bmiHeader.biHeight = -3;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(5 * 3 * 4);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, bitmap, 0, 3, pixels.data(), &info, DIB_RGB_COLORS), 3);
    ReleaseDC(nullptr, screen);
    for (std::size_t i = 0; i < Values.size(); ++i)
    {
        const int colour = pixels[4 * i + 2] | pixels[4 * i + 1] << 8 | pixels[4 * i] << 16;
        EXPECT_EQ(colour, PaletteColour(Values[i])) << i;
    }
    DeleteObject(bitmap);
}

class RealImageScaleTest : public ::testing::Test
{
protected:
    void TearDown() override { ClearFakeModules(); }
};

TEST_F(RealImageScaleTest, TheResamplingLibraryScalesGreyImages)
{
    auto wide = MakeImage16(4, 4, std::vector<int>(16, 1000));
    ASSERT_EQ(wide->Scale(2, 3), 1);
    EXPECT_EQ(wide->GetWidth(), 2);
    EXPECT_EQ(wide->GetHeight(), 3);
    EXPECT_EQ(PixelsOf(*wide), std::vector<int>(6, 1000));

    auto narrow = MakeImage8(2, 2, {77, 77, 77, 77});
    ASSERT_EQ(narrow->Scale(3, 1), 1);
    EXPECT_EQ(PixelsOf(*narrow), std::vector<int>(3, 77));

    auto negative = MakeImage16(2, 2, std::vector<int>(4, 0xFF00));
    negative->SetSigned(1);
    ASSERT_EQ(negative->Scale(1, 1), 1);
    EXPECT_EQ(negative->GetInternalPixel(0, 0), -256);
}

TEST_F(RealImageScaleTest, WithoutTheLibraryTheImageStaysAsItWas)
{
    RegisterAbsentModule("Pemsola.dll");
    RegisterAbsentModule("Emsola.dll");
    auto image = MakeImage16(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(image->Scale(4, 4), 0);
    EXPECT_EQ(image->GetWidth(), 2);
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{1, 2, 3, 4}));
    // The same size needs no library.
    EXPECT_EQ(image->Scale(2, 2), 1);
}

TEST_F(RealImageScaleTest, SizesTheLibraryRefusesChangeNothing)
{
    auto image = MakeImage8(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(image->Scale(0, 4), 0);
    EXPECT_EQ(image->Scale(-1, -1), 0);
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{1, 2, 3, 4}));
}

} // namespace
