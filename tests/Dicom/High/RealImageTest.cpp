#include "RealImage.h"
#include "DRect.h"
#include "RealImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

// A 3 x 2 image: 1 2 3 / 4 5 6.
const std::vector<int> SmallValues = {1, 2, 3, 4, 5, 6};

TEST(RealImageTest, ConstructionKeepsTheGivenGeometryAndStartsGrey)
{
    const auto image = MakeImage16(3, 2, SmallValues, 1, 6, 0, 7, -1024.0f, 2.0f);
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(image->GetHeight(), 2);
    EXPECT_EQ(image->GetDepth(), 16);
    EXPECT_EQ(image->GetMinImage(), 1);
    EXPECT_EQ(image->GetMaxImage(), 6);
    EXPECT_EQ(image->GetMinSet(), 0);
    EXPECT_EQ(image->GetMaxSet(), 7);
    EXPECT_FLOAT_EQ(image->GetIntercept(), -1024.0f);
    EXPECT_FLOAT_EQ(image->GetSlope(), 2.0f);
    EXPECT_EQ(image->GetNumberOfFrames(), 1);
    EXPECT_EQ(image->GetFrameIndex(), 0);
    EXPECT_EQ(image->IsSigned(), 0);
    EXPECT_EQ(image->GetImageLength(), 12u);
    EXPECT_EQ(image->GetPalette()[200].rgbRed, 200);
    EXPECT_EQ(image->GetPalette()[200].rgbBlue, 200);
}

TEST(RealImageTest, CopiesOwnTheirPixels)
{
    auto image = MakeImage8(3, 2, SmallValues);
    image->SetPhotometric("MONOCHROME1");
    image->SetFlag(7);
    image->GetPalette()[5].rgbGreen = 99;
    image->GetLookupTable().Init(0, 255, 0.0f, 1.0f, 100, 60);

    RealImage8 copy(*image);
    EXPECT_NE(copy.GetImage(), image->GetImage());
    EXPECT_EQ(PixelsOf(copy), SmallValues);
    EXPECT_STREQ(copy.GetPhotometric(), "MONOCHROME1");
    EXPECT_EQ(copy.GetFlag(), 7);
    EXPECT_EQ(copy.GetPalette()[5].rgbGreen, 99);
    EXPECT_EQ(copy.GetLookupTable().GetWindowCenter(), 60.0);

    auto other = MakeImage8(1, 1, {9});
    *other = *image;
    copy.SetInternalPixel(0, 0, 200);
    EXPECT_EQ(image->GetInternalPixel(0, 0), 1);
    EXPECT_EQ(other->GetWidth(), 3);
    EXPECT_EQ(PixelsOf(*other), SmallValues);
    EXPECT_NE(other->GetImage(), image->GetImage());
}

TEST(RealImageTest, PhotometricTextIsCutToItsField)
{
    auto image = MakeImage8(1, 1, {0});
    const std::string longText(100, 'A');
    image->SetPhotometric(longText.c_str());
    EXPECT_EQ(std::strlen(image->GetPhotometric()), 63u);
}

TEST(RealImageTest, PixelValuesAreCalibrated)
{
    auto image = MakeImage16(2, 1, {600, 0}, 0, 4095, 0, 4095, -1000.0f, 2.0f);
    EXPECT_EQ(image->GetPixelValue(0, 0), 200);
    EXPECT_EQ(image->GetPixelValue(1, 0), -1000);
    image->SetPixelValue(1, 0, -100);
    EXPECT_EQ(image->GetInternalPixel(1, 0), 450);
    // Below the unsigned sample range: the smallest sample.
    image->SetPixelValue(1, 0, -2000);
    EXPECT_EQ(image->GetInternalPixel(1, 0), 0);
    // Outside the image nothing is read or written.
    EXPECT_EQ(image->GetPixelValue(2, 0), 0);
    EXPECT_EQ(image->GetPixelValue(0, -1), 0);
    image->SetPixelValue(5, 5, 1);
    image->SetInternalPixel(-1, 0, 1);
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{600, 0}));
}

TEST(RealImageTest, SignedSamplesAreReadSigned)
{
    auto image = MakeImage16(2, 1, {0xFFFF, 0x8000}, -32768, -1, -32768, 0, 0.0f, 1.0f);
    image->SetSigned(1);
    EXPECT_EQ(image->GetInternalPixel(0, 0), -1);
    EXPECT_EQ(image->GetPixelValue(1, 0), -32768);
    image->SetPixelValue(0, 0, -5);
    EXPECT_EQ(image->GetInternalPixel(0, 0), -5);
}

TEST(RealImageTest, ASlopeOfZeroIsSafe)
{
    auto image = MakeImage8(1, 1, {10}, 0, 255, 0, 255, 5.0f, 0.0f);
    EXPECT_EQ(image->GetPixelValue(0, 0), 5);
    image->SetPixelValue(0, 0, 25);
    EXPECT_EQ(image->GetInternalPixel(0, 0), 20);
}

TEST(RealImageTest, SettingASampleWidensTheRanges)
{
    auto image = MakeImage16(2, 1, {100, 200}, 100, 200, 64, 255);
    image->SetInternalPixel(0, 0, 5000);
    EXPECT_EQ(image->GetMaxImage(), 5000);
    EXPECT_EQ(image->GetMaxSet(), 8191);
    image->SetInternalPixel(1, 0, 3);
    EXPECT_EQ(image->GetMinImage(), 3);
    EXPECT_EQ(image->GetMinSet(), 2);
}

TEST(RealImageTest, AttachAndDetachHandBuffersOver)
{
    auto image = MakeImage8(3, 2, SmallValues);
    void* pixels = image->Detach();
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(image->GetImage(), nullptr);
    EXPECT_EQ(image->GetImageLength(), 0u);
    EXPECT_EQ(image->GetPixmap(1), nullptr);
    EXPECT_EQ(image->Attach(pixels), nullptr);
    EXPECT_EQ(PixelsOf(*image), SmallValues);
    auto* other = new std::uint8_t[6]();
    void* previous = image->Attach(other);
    EXPECT_EQ(previous, pixels);
    delete[] static_cast<std::uint8_t*>(previous);
    EXPECT_EQ(PixelsOf(*image), std::vector<int>(6, 0));
}

struct TurnCase
{
    int angle;
    int width;
    int height;
    std::vector<int> values;
};

TEST_P(RealImageGeometryTest, RotationsTurnThePixels)
{
    const TurnCase cases[] = {
        {RealImage::RotateCounterClockwise, 2, 3, {3, 6, 2, 5, 1, 4}},
        {RealImage::RotateHalf, 3, 2, {6, 5, 4, 3, 2, 1}},
        {RealImage::RotateClockwise, 2, 3, {4, 1, 5, 2, 6, 3}},
        {5, 3, 2, SmallValues},
        {0, 3, 2, SmallValues},
    };
    for (const TurnCase& turn : cases)
    {
        auto image = GetParam().make(3, 2, SmallValues);
        image->Rotate(static_cast<RealImage::RotateAngle>(turn.angle));
        EXPECT_EQ(image->GetWidth(), turn.width) << turn.angle;
        EXPECT_EQ(image->GetHeight(), turn.height) << turn.angle;
        EXPECT_EQ(PixelsOf(*image), ExpectedPixels(GetParam(), turn.values)) << turn.angle;
    }
}

TEST_P(RealImageGeometryTest, FlipsMirrorRowsAndColumns)
{
    auto image = GetParam().make(3, 2, SmallValues);
    image->FlipHorizontal();
    EXPECT_EQ(PixelsOf(*image), ExpectedPixels(GetParam(), {3, 2, 1, 6, 5, 4}));
    image->FlipVertical();
    EXPECT_EQ(PixelsOf(*image), ExpectedPixels(GetParam(), {6, 5, 4, 3, 2, 1}));
}

TEST_P(RealImageGeometryTest, PartsAreClippedToTheImage)
{
    const auto image = GetParam().make(3, 2, SmallValues);
    image->GetLookupTable().Init(0, 255, 0.0f, 1.0f, 40, 30);
    image->SetPhotometric("MONOCHROME2");

    const DRect reversed(2, 1, 0, 0);
    std::unique_ptr<RealImage> part(image->GetImagePart(&reversed));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(UnitOf(*part), UnitOf(*image));
    EXPECT_EQ(part->GetWidth(), 2);
    EXPECT_EQ(part->GetHeight(), 1);
    EXPECT_EQ(PixelsOf(*part), ExpectedPixels(GetParam(), {1, 2}));
    EXPECT_STREQ(part->GetPhotometric(), "MONOCHROME2");
    EXPECT_EQ(part->GetLookupTable().GetWindowCenter(), 30.0);
    EXPECT_EQ(part->GetLookupTable().GetWindowWidth(), 40.0);
    EXPECT_EQ(part->GetLookupTable().GetOwner(), part.get());

    const DRect beyond(-4, -4, 10, 10);
    part.reset(image->GetImagePart(&beyond));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(PixelsOf(*part), PixelsOf(*image));

    const DRect empty(1, 0, 1, 2);
    EXPECT_EQ(image->GetImagePart(&empty), nullptr);
    const DRect outside(5, 5, 8, 8);
    EXPECT_EQ(image->GetImagePart(&outside), nullptr);
    EXPECT_EQ(image->GetImagePart(nullptr), nullptr);
}

TEST_P(RealImageGeometryTest, APartThatDoesNotFitChangesNothing)
{
    auto target = GetParam().make(4, 3, std::vector<int>(12, 9));
    const auto source = GetParam().make(2, 2, {1, 2, 3, 4});
    const std::vector<int> before = PixelsOf(*target);
    EXPECT_EQ(target->SetImagePart(3, 0, source.get(), 0), 0);
    EXPECT_EQ(target->SetImagePart(0, 2, source.get(), 0), 0);
    EXPECT_EQ(target->SetImagePart(0, 0, nullptr, 0), 0);
    EXPECT_EQ(PixelsOf(*target), before);

    // Negative positions are moved to the edge.
    EXPECT_EQ(target->SetImagePart(-3, 1, source.get(), 0), 1);
    EXPECT_EQ(PixelsOf(*target), ExpectedPixels(GetParam(), {9, 9, 9, 9, 1, 2, 9, 9, 3, 4, 9, 9}));
}

std::unique_ptr<RealImage> MakeGrey16(int width, int height, const std::vector<int>& values)
{
    return MakeImage16(width, height, values);
}

std::unique_ptr<RealImage> MakeGrey8(int width, int height, const std::vector<int>& values)
{
    return MakeImage8(width, height, values);
}

INSTANTIATE_TEST_SUITE_P(Grey, RealImageGeometryTest,
                         ::testing::Values(RealImageKind{"Grey16", &MakeGrey16, false},
                                           RealImageKind{"Grey8", &MakeGrey8, false}));

TEST(RealImageTest, PartsOfAnotherKindOrDepthAreRefused)
{
    auto grey = MakeImage8(4, 4, std::vector<int>(16, 0));
    const auto wide = MakeImage16(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(grey->SetImagePart(0, 0, wide.get(), 0), 0);
    RealImage8 deeper(new std::uint8_t[4](), 2, 2, 7, 0, 127, 0, 127, 0.0f, 1.0f);
    EXPECT_EQ(grey->SetImagePart(0, 0, &deeper, 0), 0);
    EXPECT_EQ(PixelsOf(*grey), std::vector<int>(16, 0));
}

TEST(RealImageTest, PartModesSkipZerosAndExclusiveOr)
{
    struct ModeCase
    {
        int mode;
        std::vector<int> expected;
    };
    const ModeCase cases[] = {
        {0, {0, 5, 3, 4}},
        {1, {6, 5, 3, 4}},
        {4, {6 ^ 0, 5 ^ 6, 3 ^ 6, 4 ^ 6}},
        {5, {6, 5 ^ 6, 3 ^ 6, 4 ^ 6}},
        {2, {0, 5, 3, 4}},
    };
    for (const ModeCase& test : cases)
    {
        auto target = MakeImage16(2, 2, {6, 6, 6, 6});
        const auto source = MakeImage16(2, 2, {0, 5, 3, 4});
        EXPECT_EQ(target->SetImagePart(0, 0, source.get(), test.mode), 1);
        EXPECT_EQ(PixelsOf(*target), test.expected) << test.mode;
    }
}

TEST(RealImageTest, RangesComeFromEveryOtherSampleInsideTheBorder)
{
    // 10 x 10: rows and columns 0, 2, 4, 6, 8 are read.
    std::vector<int> samples(100, 50);
    samples[2 * 10 + 4] = 7;   // read
    samples[8 * 10 + 8] = 200; // read
    samples[1 * 10 + 1] = 1;   // odd row: skipped
    samples[9 * 10 + 9] = 250; // last row: skipped
    auto image = MakeImage8(10, 10, samples, 0, 0, 0, 0);
    image->CalcMinMaxPixelValue();
    EXPECT_EQ(image->GetMinImage(), 7);
    EXPECT_EQ(image->GetMaxImage(), 200);
    EXPECT_EQ(image->GetMinSet(), 4);
    EXPECT_EQ(image->GetMaxSet(), 255);

    // Ranges already known stay.
    auto known = MakeImage8(10, 10, samples, 3, 9, 2, 15);
    known->CalcMinMaxPixelValue();
    EXPECT_EQ(known->GetMinImage(), 3);
    EXPECT_EQ(known->GetMaxSet(), 15);
}

TEST(RealImageTest, ImagesTooSmallForTheGridAreReadWhole)
{
    auto single = MakeImage16(1, 1, {1234}, 0, 0, 0, 0);
    single->CalcMinMaxPixelValue();
    EXPECT_EQ(single->GetMinImage(), 1234);
    EXPECT_EQ(single->GetMaxImage(), 1234);
    EXPECT_EQ(single->GetMinSet(), 1024);
    EXPECT_EQ(single->GetMaxSet(), 2047);
}

TEST(RealImageTest, SignedRangesEncloseNegativeSamples)
{
    // 5 x 5: rows and columns 0 and 2 are read.
    std::vector<int> samples(25, 0);
    samples[0] = 0xFC18;
    samples[2 * 5 + 2] = 3000;
    auto image = MakeImage16(5, 5, samples, 0, 0, 0, 0);
    image->SetSigned(1);
    image->CalcMinMaxPixelValue();
    EXPECT_EQ(image->GetMinImage(), -1000);
    EXPECT_EQ(image->GetMaxImage(), 3000);
    EXPECT_EQ(image->GetMinSet(), -1024);
    EXPECT_EQ(image->GetMaxSet(), 4095);
}

TEST(RealImageTest, HistogramsCountBytesOrBinsOfTheImageRange)
{
    std::uint32_t counts[256];
    auto bytes = MakeImage8(2, 2, {0, 7, 7, 255});
    bytes->CalcHistogram(counts);
    EXPECT_EQ(counts[0], 1u);
    EXPECT_EQ(counts[7], 2u);
    EXPECT_EQ(counts[255], 1u);

    // Image range 0..1023: bins of 4 values; 2000 lies beyond the last bin.
    auto wide = MakeImage16(5, 1, {0, 3, 4, 1023, 2000}, 0, 1023, 0, 1023);
    wide->CalcHistogram(counts);
    EXPECT_EQ(counts[0], 2u);
    EXPECT_EQ(counts[1], 1u);
    EXPECT_EQ(counts[255], 1u);
    std::uint32_t total = 0;
    for (const std::uint32_t count : counts)
    {
        total += count;
    }
    EXPECT_EQ(total, 4u);
}

TEST(RealImageTest, DisplayLevelsRunFromEightTo243)
{
    auto image = MakeImage8(4, 1, {10, 110, 210, 255}, 10, 210, 0, 255);
    std::unique_ptr<std::uint8_t[]> levels(image->GetPixmap(1));
    ASSERT_NE(levels, nullptr);
    EXPECT_EQ(levels[0], 8);
    EXPECT_EQ(levels[1], 100 * 235 / 200 + 8);
    EXPECT_EQ(levels[2], 243);
    EXPECT_EQ(levels[3], 243);
    levels.reset(image->GetPixmap(0));
    EXPECT_EQ(levels[1], 235 * 110 / 255 + 8);
    EXPECT_EQ(levels[3], 243);

    // An empty range shows the lowest level instead of dividing by zero.
    auto flat = MakeImage16(2, 1, {5, 5}, 5, 5, 5, 5);
    levels.reset(flat->GetPixmap(1));
    EXPECT_EQ(levels[0], 8);
}

TEST(RealImageTest, SignedDisplayLevelsFollowTheSignedSamples)
{
    auto image = MakeImage16(3, 1, {0xFC00, 0, 1023}, -1024, 1023, -1024, 1023);
    image->SetSigned(1);
    std::unique_ptr<std::uint8_t[]> levels(image->GetPixmap(0));
    EXPECT_EQ(levels[0], 8);
    EXPECT_EQ(levels[1], 235 * 1024 / 2047 + 8);
    EXPECT_EQ(levels[2], 243);
}

TEST(RealImageTest, TablesAreIndexedBySample)
{
    std::vector<std::uint8_t> table(65536);
    for (std::size_t i = 0; i < table.size(); ++i)
    {
        table[i] = static_cast<std::uint8_t>(i * 7);
    }
    auto image = MakeImage16(3, 1, {0, 1000, 0xFFFF});
    std::unique_ptr<std::uint8_t[]> pixmap(image->GetPixmap(table.data()));
    EXPECT_EQ(pixmap[1], static_cast<std::uint8_t>(7000));
    EXPECT_EQ(pixmap[2], static_cast<std::uint8_t>(0xFFFF * 7));

    // The signed form addresses value 0 of the table.
    std::vector<std::uint8_t> signedTable(131072);
    signedTable[65536 - 1] = 11;
    signedTable[65536 + 1000] = 22;
    image->SetSigned(1);
    pixmap.reset(image->GetPixmapEx(signedTable.data() + 65536));
    EXPECT_EQ(pixmap[0], 0);
    EXPECT_EQ(pixmap[1], 22);
    EXPECT_EQ(pixmap[2], 11);
    EXPECT_EQ(image->GetPixmap(static_cast<const std::uint8_t*>(nullptr)), nullptr);
}

TEST(RealImageTest, RemapOfASixteenBitImageShowsItsWindow)
{
    const std::vector<int> samples = {0, 1, 100, 1000, 2047, 2048, 3000, 4094, 4095, 4000};
    auto image = MakeImage16(5, 2, samples);
    image->SetPhotometric("MONOCHROME2");
    image->SetFlag(3);
    image->GetLookupTable().Init(0, 4095, 0.0f, 1.0f, 4096, 2048);

    std::unique_ptr<RealImage8> remapped(image->Remap());
    ASSERT_NE(remapped, nullptr);
    EXPECT_EQ(remapped->GetWidth(), 5);
    EXPECT_EQ(remapped->GetHeight(), 2);
    EXPECT_EQ(remapped->GetDepth(), 8);
    EXPECT_EQ(remapped->GetMinImage(), 0);
    EXPECT_EQ(remapped->GetMaxImage(), 255);
    EXPECT_EQ(remapped->GetMinSet(), 0);
    EXPECT_EQ(remapped->GetMaxSet(), 255);
    EXPECT_STREQ(remapped->GetPhotometric(), "MONOCHROME2");
    EXPECT_EQ(remapped->GetFlag(), 3);
    const LookupTable& window = remapped->GetLookupTable();
    EXPECT_EQ(window.GetWindowCenter(), 127.0);
    EXPECT_EQ(window.GetWindowWidth(), 255.0);
    EXPECT_EQ(window.GetMinSpaceRaw(), 0);
    EXPECT_EQ(window.GetMaxSpaceRaw(), 255);
    EXPECT_EQ(window.GetMinForkCalib(), 0);
    const std::vector<int> pixels = PixelsOf(*remapped);
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        EXPECT_EQ(pixels[i], LinearDisplay(samples[i], 2048, 4096)) << samples[i];
    }
}

TEST(RealImageTest, RemapOfAnEightBitImageUsesItsWindowUnlessItHoldsPaletteIndices)
{
    auto image = MakeImage8(4, 1, {0, 50, 100, 200}, 0, 255, 0, 255, 10.0f, 1.0f);
    image->GetLookupTable().Init(0, 255, 10.0f, 1.0f, 101, 110);
    std::unique_ptr<RealImage8> remapped(image->Remap());
    ASSERT_NE(remapped, nullptr);
    EXPECT_EQ(PixelsOf(*remapped),
              (std::vector<int>{LinearDisplay(10, 110, 101), LinearDisplay(60, 110, 101),
                                LinearDisplay(110, 110, 101), LinearDisplay(210, 110, 101)}));

    image->SetPhotometric("palette color");
    remapped.reset(image->Remap());
    EXPECT_EQ(PixelsOf(*remapped), (std::vector<int>{0, 50, 100, 200}));
}

TEST(RealImageTest, InvertShowsTheNegativeAndASecondInvertRestores)
{
    std::vector<int> samples;
    for (int value = 100; value <= 3000; value += 100)
    {
        samples.push_back(value);
    }
    auto image = MakeImage16(6, 5, samples, 100, 3000, 64, 4095);
    image->SetPhotometric("MONOCHROME2");
    image->GetLookupTable().Init(100, 3000, 0.0f, 1.0f, 400, 1000);
    image->GetLookupTable().SetInverted(1);
    std::unique_ptr<std::uint8_t[]> before(image->GetPixmap());

    image->Invert();
    EXPECT_STREQ(image->GetPhotometric(), "MONOCHROME1");
    EXPECT_EQ(image->GetInternalPixel(0, 0), 64 + 4095 - 100);
    EXPECT_EQ(image->GetMinImage(), 64 + 4095 - 3000);
    EXPECT_EQ(image->GetMaxImage(), 64 + 4095 - 100);
    std::unique_ptr<std::uint8_t[]> after(image->GetPixmap());
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        EXPECT_LE(std::abs(before[i] + after[i] - 255), 1) << samples[i];
    }

    image->Invert();
    EXPECT_STREQ(image->GetPhotometric(), "MONOCHROME2");
    EXPECT_EQ(PixelsOf(*image), samples);
    EXPECT_EQ(image->GetMinImage(), 100);
    EXPECT_EQ(image->GetMaxImage(), 3000);
    const LookupTable& window = image->GetLookupTable();
    EXPECT_EQ(window.GetWindowCenter(), 1000.0);
    EXPECT_EQ(window.GetWindowWidth(), 400.0);
    EXPECT_EQ(window.GetMinSpaceRaw(), 100);
    EXPECT_EQ(window.GetMaxSpaceRaw(), 3000);
    EXPECT_EQ(window.GetMinForkCalib(), 800);
    EXPECT_EQ(window.GetMaxForkCalib(), 1200);
    EXPECT_EQ(window.GetInverted(), 1);
}

TEST(RealImageTest, InvertOfARemappedImageMirrorsItsLevels)
{
    auto image = MakeImage8(3, 1, {0, 100, 255});
    image->GetLookupTable().Init(0, 255, 0.0f, 1.0f, 255, 127);
    image->SetPhotometric("monochrome1");
    image->Invert();
    EXPECT_EQ(PixelsOf(*image), (std::vector<int>{255, 155, 0}));
    EXPECT_STREQ(image->GetPhotometric(), "MONOCHROME2");
    EXPECT_EQ(image->GetLookupTable().GetMinForkCalib(), 1);
    EXPECT_EQ(image->GetLookupTable().GetMaxForkCalib(), 255);
}

TEST(RealImageTest, ImagesWithoutPixelsOrWithANegativeSizeAnswerSafely)
{
    std::vector<std::unique_ptr<RealImage>> images;
    images.push_back(std::make_unique<RealImage16>(nullptr, 4, 4, 16, 0, 0, 0, 0, 0.0f, 1.0f));
    images.push_back(std::make_unique<RealImage8>(nullptr, 4, 4, 8, 0, 0, 0, 0, 0.0f, 0.0f));
    images.push_back(
        std::make_unique<RealImage8>(new std::uint8_t[4](), -2, 2, 8, 0, 0, 0, 0, 0.0f, 1.0f));
    const DRect whole(0, 0, 4, 4);
    const std::uint8_t table[256] = {};
    std::uint32_t counts[256];
    for (const auto& image : images)
    {
        EXPECT_EQ(image->GetPixmap(), nullptr);
        EXPECT_EQ(image->GetPixmap(table), nullptr);
        EXPECT_EQ(image->GetPixmap(1), nullptr);
        EXPECT_EQ(image->Remap(), nullptr);
        EXPECT_EQ(image->GetImagePart(&whole), nullptr);
        EXPECT_EQ(image->GetPixelValue(0, 0), 0);
        image->SetPixelValue(0, 0, 1);
        image->SetInternalPixel(0, 0, 1);
        image->Invert();
        image->FlipVertical();
        image->FlipHorizontal();
        image->Rotate(RealImage::RotateClockwise);
        image->CalcMinMaxPixelValue();
        image->CalcHistogram(counts);
        EXPECT_EQ(counts[0], 0u);
        EXPECT_EQ(image->CreateDIB(), nullptr);
    }
}

} // namespace
