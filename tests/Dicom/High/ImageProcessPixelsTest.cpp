// The pixel values of ImageProcess: the real-valued image of a frame (its
// class, samples, modality LUT, colour conversion, rescale, windows and
// palette), the 8-bit reduction, the bitmap saver and the reduction before
// baseline JPEG encoding.
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "PixelTestSupport.h"
#include "RealImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int Rows = 6;
constexpr int Columns = 8;
constexpr int Pixels = Rows * Columns;
// The last pixel of the sparse grid the image range is taken from: every
// other row and column, short of the last ones.
constexpr int SparseLast = 4 * Columns + 6;

class ImageProcessPixelsTest : public FileFolderTest
{
};

void FillFrame(DICOMImage& image, int bitsAllocated, int samplesPerPixel, const char* photometric,
               const ImageBytes& raw, bool isSigned = false)
{
    FillImageAttributes(image, Rows, Columns, bitsAllocated, samplesPerPixel, photometric, 1);
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(isSigned ? 1 : 0));
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, raw);
}

// 16-bit samples 0, step, 2 x step, ...
ImageBytes MakeWideRamp(int step, int first = 0)
{
    return MakeRamp(Pixels, 2, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(step));
}

std::vector<int> ReadSamples16(const RealImage& image, bool isSigned)
{
    std::vector<int> samples;
    const auto* bytes = static_cast<const std::uint8_t*>(image.GetImage());
    for (std::uint32_t offset = 0; offset + 1 < image.GetImageLength(); offset += 2)
    {
        const auto value = static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
        samples.push_back(isSigned ? static_cast<std::int16_t>(value) : value);
    }
    return samples;
}

ImageBytes ImageBytesOf(const RealImage& image)
{
    const auto* bytes = static_cast<const std::uint8_t*>(image.GetImage());
    return ImageBytes(bytes, bytes + image.GetImageLength());
}

void AddUnsignedValues(DICOMVRSet& set, unsigned short element, std::vector<unsigned short> values)
{
    set.Add(0x0028, element, values.data(), static_cast<int>(values.size()));
}

void AddRescale(DICOMVRSet& set, const char* intercept, const char* slope)
{
    set.Add(0x0028, 0x1052, intercept);
    set.Add(0x0028, 0x1053, slope);
}

void AddWindow(DICOMVRSet& set, const char* center, const char* width)
{
    set.Add(0x0028, 0x1050, center);
    set.Add(0x0028, 0x1051, width);
}

// 16-bit samples 100, 180, 260, ... under the window 0 .. 4095; returns
// the samples.
ImageBytes FillWindowedFrame(DICOMImage& image, const char* photometric)
{
    const ImageBytes raw = MakeWideRamp(80, 100);
    FillFrame(image, 16, 1, photometric, raw);
    AddWindow(image, "2048", "4096");
    return raw;
}

// A Modality LUT Sequence of one item.
void AddModalityLut(DICOMImage& image, std::vector<unsigned short> descriptor,
                    std::vector<unsigned short> entries)
{
    DICOMDataSet item;
    AddUnsignedValues(item, 0x3002, descriptor);
    AddUnsignedValues(item, 0x3006, entries);
    image.Add(0x0028, 0x3000, item);
}

TEST_F(ImageProcessPixelsTest, TheFrameMakesTheImageClassOfItsSamples)
{
    struct
    {
        const char* photometric;
        int bitsAllocated;
        int samplesPerPixel;
        const char* expected; // "16", "8", "RGB" or null
    } const cases[] = {
        {"MONOCHROME2", 16, 1, "16"},
        {"MONOCHROME1", 12, 1, "16"},
        {"RGB", 16, 3, "16"},
        {"MONOCHROME2", 8, 1, "8"},
        {"palette color", 8, 1, "8"},
        {"RGB", 8, 3, "RGB"},
        // 32-bit samples, an unknown interpretation, RGB of a third of the
        // bytes.
        {"MONOCHROME2", 32, 1, nullptr},
        {"HSV", 8, 3, nullptr},
        {"RGB", 8, 1, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.photometric) + " " + std::to_string(c.bitsAllocated));
        const int bytes = (c.bitsAllocated + 7) / 8;
        DICOMImage image;
        FillFrame(image, c.bitsAllocated, c.samplesPerPixel, c.photometric,
                  MakeRamp(Pixels * c.samplesPerPixel, bytes, 1));
        ImageProcess process(image, 0);
        const std::unique_ptr<RealImage> real(process.CreateRealImage());
        if (c.expected == nullptr)
        {
            EXPECT_EQ(real, nullptr);
            continue;
        }
        ASSERT_NE(real, nullptr);
        const std::string kind = c.expected;
        EXPECT_EQ(dynamic_cast<RealImage16*>(real.get()) != nullptr, kind == "16");
        EXPECT_EQ(dynamic_cast<RealImage8*>(real.get()) != nullptr, kind == "8");
        EXPECT_EQ(dynamic_cast<RealImageRGB*>(real.get()) != nullptr, kind == "RGB");
        EXPECT_EQ(real->GetWidth(), Columns);
        EXPECT_EQ(real->GetHeight(), Rows);
        EXPECT_EQ(real->GetDepth(), std::max(c.bitsAllocated, 8));
        EXPECT_STREQ(real->GetPhotometric(), c.photometric);
    }
}

TEST_F(ImageProcessPixelsTest, TheImagesOwnFrameIsCopiedAndADecodedOneTakenOver)
{
    const ImageBytes raw = MakeWideRamp(3, 100);
    DICOMImage native;
    FillFrame(native, 16, 1, "MONOCHROME2", raw);
    native.Add(0x0028, 0x0008, "1");
    AddRescale(native, "-10", "2");
    ImageProcess process(native, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    EXPECT_NE(real->GetImage(), native.GetPixelAddress(0));
    EXPECT_EQ(ImageBytesOf(*real), raw);
    EXPECT_EQ(process.m_pRawPixelData, native.GetPixelAddress(0));
    EXPECT_EQ(real->GetIntercept(), -10.0f);
    EXPECT_EQ(real->GetSlope(), 2.0f);
    EXPECT_EQ(real->GetMinImage(), 100);
    EXPECT_EQ(real->GetMaxImage(), 100 + 3 * SparseLast);
    EXPECT_EQ(real->GetNumberOfFrames(), 1);
    EXPECT_EQ(real->GetFrameIndex(), 0);

    DICOMImage compressed;
    FillImageAttributes(compressed, Rows, Columns, 16, 1, "MONOCHROME2", 1);
    SetCompressedFrames(compressed, UidTransferRleLossless, {MakeRleFrame(raw, 2, 1)});
    ImageProcess decoding(compressed, 0);
    const std::unique_ptr<RealImage> decoded(decoding.CreateRealImage());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(ImageBytesOf(*decoded), raw);
    EXPECT_EQ(decoding.m_pRawPixelData, nullptr);

    DICOMImage empty;
    FillImageAttributes(empty, Rows, Columns, 16, 1, "MONOCHROME2", 1);
    ImageProcess none(empty, 0);
    EXPECT_EQ(none.CreateRealImage(), nullptr);
}

TEST_F(ImageProcessPixelsTest, SignedSamplesAndTheStoredRangeAreKept)
{
    DICOMImage image;
    FillFrame(image, 16, 1, "MONOCHROME2", MakeWideRamp(5, 0x10000 - 40), true);
    ImageProcess process(image, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->IsSigned(), 1);
    const std::vector<int> samples = ReadSamples16(*real, true);
    EXPECT_EQ(samples.front(), -40);
    EXPECT_EQ(real->GetMinImage(), -40);
    EXPECT_EQ(real->GetMaxImage(), -40 + 5 * SparseLast);
}

TEST_F(ImageProcessPixelsTest, TheModalityLutMapsTheSamples)
{
    DICOMImage wide;
    // Samples 5, 6, ... 52 through four entries from value 10 on.
    FillFrame(wide, 16, 1, "MONOCHROME2", MakeWideRamp(1, 5));
    AddModalityLut(wide, {4, 10, 16}, {100, 200, 300, 400});
    ImageProcess process(wide, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    const std::vector<int> samples = ReadSamples16(*real, false);
    const std::vector<int> expected = {100, 100, 100, 100, 100, 100, 200, 300, 400, 400};
    EXPECT_EQ(std::vector<int>(samples.begin(), samples.begin() + 10), expected);

    DICOMImage narrow;
    // Bytes 0, 1, 2, ... through entries 0, 10, 20, 40 scaled to 255 / 40.
    FillFrame(narrow, 8, 1, "MONOCHROME2", MakeRamp(Pixels, 1));
    AddModalityLut(narrow, {4, 0, 8}, {0, 10, 20, 40});
    ImageProcess eight(narrow, 0);
    const std::unique_ptr<RealImage> mapped(eight.CreateRealImage());
    ASSERT_NE(mapped, nullptr);
    const ImageBytes bytes = ImageBytesOf(*mapped);
    EXPECT_EQ(ImageBytes(bytes.begin(), bytes.begin() + 5), (ImageBytes{0, 63, 127, 255, 255}));
}

TEST_F(ImageProcessPixelsTest, AnUnusableModalityLutIsIgnored)
{
    struct
    {
        const char* name;
        std::vector<unsigned short> descriptor;
        std::vector<unsigned short> entries;
        std::vector<int> expected; // the first three samples, 5, 6, 7
    } const cases[] = {
        {"short descriptor", {4, 10}, {100, 200, 300, 400}, {5, 6, 7}},
        {"short data", {4, 0, 16}, {100, 200, 300}, {5, 6, 7}},
        {"0 entries and short data", {0, 0, 16}, {1, 2}, {5, 6, 7}},
        {"top entry 0, 8 bits unscaled", {4, 0, 8}, {9, 8, 7, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const bool isEight = c.descriptor.size() == 3 && c.descriptor[2] == 8;
        DICOMImage image;
        FillFrame(image, isEight ? 8 : 16, 1, "MONOCHROME2", MakeRamp(Pixels, isEight ? 1 : 2, 5));
        AddModalityLut(image, c.descriptor, c.entries);
        ImageProcess process(image, 0);
        const std::unique_ptr<RealImage> real(process.CreateRealImage());
        ASSERT_NE(real, nullptr);
        const ImageBytes bytes = ImageBytesOf(*real);
        const std::vector<int> samples =
            isEight ? std::vector<int>(bytes.begin(), bytes.end()) : ReadSamples16(*real, false);
        EXPECT_EQ(std::vector<int>(samples.begin(), samples.begin() + 3), c.expected);
    }
}

TEST_F(ImageProcessPixelsTest, YbrFullBecomesRgb)
{
    // (Y, Cb, Cr) = (255, 0, 255) and (0, 0, 0) hold their levels at the
    // ends of 0..255 instead of wrapping.
    const ImageBytes pair = {255, 0, 255, 0, 0, 0};
    const ImageBytes expected = {255, 208, 28, 0, 135, 0};
    ImageBytes interleaved;
    for (int pixel = 0; pixel < Pixels / 2; ++pixel)
    {
        interleaved.insert(interleaved.end(), pair.begin(), pair.end());
    }
    DICOMImage image;
    FillFrame(image, 8, 3, "YBR_FULL", interleaved);
    ImageProcess process(image, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    EXPECT_STREQ(process.GetPhotometricInterpretation(), "RGB");
    EXPECT_STREQ(real->GetPhotometric(), "RGB");
    const ImageBytes rgb = ImageBytesOf(*real);
    EXPECT_EQ(ImageBytes(rgb.begin(), rgb.begin() + 6), expected);

    // The same pixels as three planes come out interleaved.
    ImageBytes planar(3 * Pixels);
    for (int pixel = 0; pixel < Pixels; ++pixel)
    {
        for (int plane = 0; plane < 3; ++plane)
        {
            planar[plane * Pixels + pixel] = interleaved[3 * pixel + plane];
        }
    }
    DICOMImage planes;
    FillFrame(planes, 8, 3, "YBR_FULL", planar);
    planes.Add(0x0028, 0x0006, static_cast<unsigned short>(1));
    ImageProcess planarProcess(planes, 0);
    const std::unique_ptr<RealImage> fromPlanes(planarProcess.CreateRealImage());
    ASSERT_NE(fromPlanes, nullptr);
    EXPECT_EQ(ImageBytesOf(*fromPlanes), rgb);
}

TEST_F(ImageProcessPixelsTest, ASlopeOf0IsTakenAs1)
{
    DICOMImage image;
    FillFrame(image, 16, 1, "MONOCHROME2", MakeWideRamp(10));
    AddRescale(image, "-1024", "0");
    AddWindow(image, "100", "200");
    ImageProcess process(image, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    EXPECT_EQ(real->GetSlope(), 1.0f);
    EXPECT_EQ(real->GetIntercept(), 0.0f);
    EXPECT_EQ(process.GetRescaleSlope(), 1.0);
    EXPECT_EQ(real->GetLookupTable().GetMinForkCalib(), 0);
    EXPECT_EQ(real->GetLookupTable().GetMaxForkCalib(), 200);
}

TEST_F(ImageProcessPixelsTest, AFrameWithoutAWindowGetsTheAutomaticOneInCalibratedUnits)
{
    const ImageBytes raw = MakeWideRamp(40, 1000);
    DICOMImage image;
    FillFrame(image, 16, 1, "MONOCHROME2", raw);
    AddRescale(image, "-100", "2");
    ImageProcess process(image, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);

    std::vector<std::uint16_t> samples(Pixels);
    std::memcpy(samples.data(), raw.data(), raw.size());
    int width = 0;
    int center = 0;
    ASSERT_EQ(
        ImageProcess::AutoWindowLevel_UINT16(samples.data(), Columns, Rows, 16, &width, &center),
        1);
    EXPECT_EQ(process.GetWindowWidth(), 2 * width);
    EXPECT_EQ(process.GetWindowCenter(), 2 * center - 100);
    EXPECT_EQ(real->GetLookupTable().GetWindowWidth(), 2 * width);
    EXPECT_EQ(real->GetLookupTable().GetWindowCenter(), 2 * center - 100);
}

TEST_F(ImageProcessPixelsTest, EveryWindowOfTheDataSetIsOffered)
{
    DICOMImage image;
    FillFrame(image, 16, 1, "MONOCHROME2", MakeWideRamp(80));
    AddWindow(image, "1000\\2000\\50", "400\\800");
    ImageProcess process(image, 0);
    const std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    const LookupTable& window = real->GetLookupTable();
    EXPECT_EQ(window.GetMinForks(), (std::vector<int>{800, 1600}));
    EXPECT_EQ(window.GetMaxForks(), (std::vector<int>{1200, 2400}));
    EXPECT_EQ(window.GetMinForkCalib(), 800);
    EXPECT_EQ(window.GetMaxForkCalib(), 1200);
}

TEST_F(ImageProcessPixelsTest, ThePaletteFollowsThePhotometricInterpretation)
{
    DICOMImage grey;
    FillFrame(grey, 8, 1, "MONOCHROME1", MakeRamp(Pixels, 1));
    ImageProcess greyProcess(grey, 0);
    const std::unique_ptr<RealImage> greyImage(greyProcess.CreateRealImage());
    ASSERT_NE(greyImage, nullptr);
    EXPECT_EQ(greyImage->GetPalette()[77].rgbRed, 77);
    EXPECT_EQ(greyImage->GetPalette()[77].rgbBlue, 77);

    DICOMImage rgb;
    FillFrame(rgb, 8, 3, "RGB", MakeRamp(3 * Pixels, 1));
    ImageProcess rgbProcess(rgb, 0);
    const std::unique_ptr<RealImage> rgbImage(rgbProcess.CreateRealImage());
    ASSERT_NE(rgbImage, nullptr);
    EXPECT_EQ(rgbImage->GetPalette()[0].rgbGreen, ImageProcess::LUT256To244[0]);
    EXPECT_EQ(rgbImage->GetPalette()[255].rgbRed, ImageProcess::LUT256To244[255]);
    EXPECT_EQ(ImageProcess::LUT256To244[255], 243);

    struct
    {
        int bits;
        int entries;
        std::uint8_t red; // of entry 3
    } const cases[] = {{16, 256, 0x12}, {8, 256, 0x34}, {16, 255, 3}, {8, 256, 0x34}};
    for (std::size_t index = 0; index < std::size(cases); ++index)
    {
        const auto& c = cases[index];
        SCOPED_TRACE(index);
        DICOMImage palette;
        FillFrame(palette, 8, 1, "PALETTE COLOR", MakeRamp(Pixels, 1));
        std::vector<unsigned short> red(256, 0x1234);
        std::vector<unsigned short> green(256, 0x5678);
        std::vector<unsigned short> blue(256, 0x9ABC);
        AddUnsignedValues(
            palette, 0x1101,
            {static_cast<unsigned short>(c.entries), 0, static_cast<unsigned short>(c.bits)});
        // The last case's green descriptor declares another depth.
        const unsigned short greenBits = index == 3 ? 16 : static_cast<unsigned short>(c.bits);
        AddUnsignedValues(palette, 0x1102, {static_cast<unsigned short>(c.entries), 0, greenBits});
        AddUnsignedValues(
            palette, 0x1103,
            {static_cast<unsigned short>(c.entries), 0, static_cast<unsigned short>(c.bits)});
        AddUnsignedValues(palette, 0x1201, red);
        AddUnsignedValues(palette, 0x1202, green);
        AddUnsignedValues(palette, 0x1203, blue);
        ImageProcess process(palette, 0);
        const std::unique_ptr<RealImage> image(process.CreateRealImage());
        ASSERT_NE(image, nullptr);
        const RGBQUAD entry = image->GetPalette()[3];
        const std::uint8_t expected = index == 3 ? 3 : c.red;
        EXPECT_EQ(entry.rgbRed, expected);
        if (c.entries == 256 && index != 3)
        {
            EXPECT_EQ(entry.rgbGreen, c.bits == 16 ? 0x56 : 0x78);
            EXPECT_EQ(entry.rgbBlue, c.bits == 16 ? 0x9A : 0xBC);
        }
    }
}

// The window 0 .. 4095 over 16-bit samples: each display level is the
// sample x 255 / 4095, floored; MONOCHROME1 levels are inverted before
// they are floored.
TEST_F(ImageProcessPixelsTest, RemapReplacesTheSamplesByDisplayLevels)
{
    for (const char* photometric : {"MONOCHROME2", "MONOCHROME1"})
    {
        SCOPED_TRACE(photometric);
        DICOMImage image;
        const ImageBytes raw = FillWindowedFrame(image, photometric);
        ImageProcess process(image, 0);
        ASSERT_EQ(process.Remap(), 1);
        ASSERT_EQ(process.m_nRawPixelLength, static_cast<std::uint32_t>(Pixels));
        EXPECT_EQ(process.GetRows(), Rows);
        EXPECT_EQ(process.GetColumns(), Columns);
        EXPECT_EQ(process.GetBitsAllocated(), 8);
        EXPECT_EQ(process.GetBitsStored(), 8);
        EXPECT_EQ(process.GetHighBit(), 7);
        EXPECT_EQ(process.GetWindowCenter(), 127);
        EXPECT_EQ(process.GetWindowWidth(), 255);
        EXPECT_STREQ(process.GetPhotometricInterpretation(), "MONOCHROME2");
        const bool isInverted = std::string(photometric) == "MONOCHROME1";
        for (int pixel = 0; pixel < Pixels; ++pixel)
        {
            const int sample = 100 + 80 * pixel;
            // ((x - 2047.5) / 4095 + 0.5) x 255, or 255 less that, floored
            const int level = (isInverted ? 4095 - sample : sample) * 255 / 4095;
            ASSERT_EQ(process.m_pRawPixelData[pixel], level) << pixel;
        }
        // The image keeps its frame.
        EXPECT_EQ(ImageBytes(image.GetPixelAddress(0), image.GetPixelAddress(0) + raw.size()), raw);
    }
}

TEST_F(ImageProcessPixelsTest, RemapFailsWithoutARealImage)
{
    DICOMImage image;
    FillFrame(image, 32, 1, "MONOCHROME2", MakeRamp(Pixels, 4));
    ImageProcess process(image, 0);
    EXPECT_EQ(process.Remap(), 0);
    EXPECT_EQ(process.GetBitsAllocated(), 32);
}

TEST_F(ImageProcessPixelsTest, TheBitmapHoldsTheDisplayLevels)
{
    DICOMImage image;
    FillWindowedFrame(image, "MONOCHROME1");
    ImageProcess saver(image, 0);
    ASSERT_EQ(saver.SaveAsWindowsBitmap(PathOf("frame.bmp").c_str()), 1);
    ImageProcess remapper(image, 0);
    ASSERT_EQ(remapper.Remap(), 1);
    const GreyPicture bitmap = ReadBitmapLevels(ReadBytes(PathOf("frame.bmp")));
    EXPECT_EQ(bitmap.width, Columns);
    EXPECT_EQ(bitmap.height, Rows);
    EXPECT_EQ(bitmap.levels,
              ImageBytes(remapper.m_pRawPixelData, remapper.m_pRawPixelData + Pixels));

    ImageProcess unwritable(image, 0);
    EXPECT_EQ(unwritable.SaveAsWindowsBitmap(PathOf("missing/frame.bmp").c_str()), 0);
    DICOMImage empty;
    FillImageAttributes(empty, Rows, Columns, 16, 1, "MONOCHROME2", 1);
    ImageProcess none(empty, 0);
    EXPECT_EQ(none.SaveAsWindowsBitmap(PathOf("none.bmp").c_str()), 0);
}

TEST_F(ImageProcessPixelsTest, DeepGreyFramesAreReducedBeforeBaselineEncoding)
{
    DICOMImage image;
    FillWindowedFrame(image, "MONOCHROME2");
    ImageProcess remapper(image, 0);
    ASSERT_EQ(remapper.Remap(), 1);
    const ImageBytes levels(remapper.m_pRawPixelData, remapper.m_pRawPixelData + Pixels);

    ImageProcess encoder(image, 0);
    ASSERT_EQ(encoder.ConvertTo(UidTransferJpegBaselineProcess1), 1);
    EXPECT_EQ(encoder.GetCompBitsAllocated(), 8);
    EXPECT_EQ(encoder.GetCompBitsStored(), 8);
    EXPECT_EQ(encoder.GetCompHighBit(), 7);
    ASSERT_EQ(encoder.SaveAsJPEGBaseline(PathOf("frame.jpg").c_str()), 1);

    DICOMImage baseline;
    FillImageAttributes(baseline, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    SetCompressedFrames(baseline, UidTransferJpegBaselineProcess1,
                        {ReadBytes(PathOf("frame.jpg"))});
    ImageProcess decoder(baseline, 0);
    ASSERT_EQ(decoder.ConvertToRaw(), 1);
    ASSERT_EQ(decoder.m_nRawPixelLength, static_cast<std::uint32_t>(Pixels));
    double total = 0;
    for (int pixel = 0; pixel < Pixels; ++pixel)
    {
        total += std::abs(decoder.m_pRawPixelData[pixel] - levels[pixel]);
    }
    EXPECT_LT(total / Pixels, 3.0);
}

} // namespace
