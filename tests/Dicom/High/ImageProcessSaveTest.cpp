// The raw and baseline JPEG savers of ImageProcess: the frame written as
// stored, the baseline stream that decodes back to the frame, and the
// failures (no frame, a file that cannot be created).
#include "ImageProcess.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

constexpr int Rows = 12;
constexpr int Columns = 20;

class ImageProcessSaveTest : public FileFolderTest
{
protected:
    // What the saver gives for an 8-bit grey image without pixel data.
    int SaveWithoutAFrame(int (ImageProcess::*save)(const char*), const char* name)
    {
        DICOMImage empty;
        FillImageAttributes(empty, Rows, Columns, 8, 1, "MONOCHROME2", 1);
        ImageProcess process(empty, 0);
        return (process.*save)(PathOf(name).c_str());
    }
};

// A smooth pattern, so that lossy coding stays close.
ImageBytes MakeSmooth(int samplesPerPixel)
{
    ImageBytes bytes;
    for (int row = 0; row < Rows; ++row)
    {
        for (int column = 0; column < Columns; ++column)
        {
            for (int sample = 0; sample < samplesPerPixel; ++sample)
            {
                bytes.push_back(static_cast<std::uint8_t>(40 + 6 * row + 4 * column + 30 * sample));
            }
        }
    }
    return bytes;
}

void FillNative(DICOMImage& image, int bitsAllocated, const char* photometric,
                const ImageBytes& raw, int frames = 1)
{
    FillImageAttributes(image, Rows, Columns, bitsAllocated,
                        std::string(photometric) == "RGB" ? 3 : 1, photometric, frames);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, raw);
}

double MeanDifference(const ImageBytes& a, const ImageBytes& b)
{
    double total = 0;
    for (std::size_t index = 0; index < a.size() && index < b.size(); ++index)
    {
        total += std::abs(a[index] - b[index]);
    }
    return a.empty() ? 0 : total / static_cast<double>(a.size());
}

// The stream decoded as the one frame of a baseline image of the geometry.
ImageBytes DecodeBaseline(const ImageBytes& stream, int bitsAllocated, const char* photometric)
{
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, bitsAllocated,
                        std::string(photometric) == "RGB" ? 3 : 1, photometric, 1);
    SetCompressedFrames(image, UidTransferJpegBaselineProcess1, {stream});
    ImageProcess process(image, 0);
    if (process.ConvertToRaw() == 0)
    {
        return {};
    }
    return TakeBuffer(process.Detach(), process.m_nRawPixelLength);
}

TEST_F(ImageProcessSaveTest, RawWritesTheFrameAsStored)
{
    const ImageBytes both = MakeRamp(2 * Rows * Columns, 2);
    DICOMImage native;
    FillNative(native, 16, "MONOCHROME2", both, 2);
    ImageProcess second(native, 1);
    ASSERT_EQ(second.SaveAsRaw(PathOf("native.raw").c_str()), 1);
    EXPECT_EQ(ReadBytes(PathOf("native.raw")),
              ImageBytes(both.begin() + Rows * Columns * 2, both.end()));

    const ImageBytes fragment = MakeRleFrame(MakeRamp(Rows * Columns, 2), 2, 1);
    DICOMImage compressed;
    FillImageAttributes(compressed, Rows, Columns, 16, 1, "MONOCHROME2", 1);
    SetCompressedFrames(compressed, UidTransferRleLossless, {fragment});
    ImageProcess process(compressed, 0);
    ASSERT_EQ(process.SaveAsRaw(PathOf("rle.raw").c_str()), 1);
    EXPECT_EQ(ReadBytes(PathOf("rle.raw")), fragment);
}

TEST_F(ImageProcessSaveTest, RawFailsWithoutAFrameOrAFile)
{
    EXPECT_EQ(SaveWithoutAFrame(&ImageProcess::SaveAsRaw, "none.raw"), 0);
    EXPECT_TRUE(FolderEntries().empty());

    DICOMImage image;
    FillNative(image, 8, "MONOCHROME2", MakeSmooth(1));
    ImageProcess process(image, 0);
    EXPECT_EQ(process.SaveAsRaw(PathOf("missing/folder.raw").c_str()), 0);
    EXPECT_EQ(process.SaveAsRaw(nullptr), 0);
}

TEST_F(ImageProcessSaveTest, BaselineWritesAStreamThatDecodesToTheFrame)
{
    struct
    {
        const char* photometric;
        int samplesPerPixel;
    } const cases[] = {{"MONOCHROME2", 1}, {"RGB", 3}};
    for (const auto& c : cases)
    {
        const ImageBytes raw = MakeSmooth(c.samplesPerPixel);
        DICOMImage image;
        FillNative(image, 8, c.photometric, raw);
        ImageProcess process(image, 0);
        const std::string path = PathOf((std::string(c.photometric) + ".jpg").c_str());
        ASSERT_EQ(process.SaveAsJPEGBaseline(path.c_str()), 1) << c.photometric;
        const ImageBytes stream = ReadBytes(path);
        ASSERT_GT(stream.size(), 4u);
        EXPECT_EQ(stream[0], 0xFF);
        EXPECT_EQ(stream[1], 0xD8);
        EXPECT_EQ(stream, ImageBytes(process.GetCompPixelData(),
                                     process.GetCompPixelData() + process.GetCompPixelLength()));
        const ImageBytes decoded = DecodeBaseline(stream, 8, c.photometric);
        ASSERT_EQ(decoded.size(), raw.size()) << c.photometric;
        EXPECT_LT(MeanDifference(decoded, raw), 2.0) << c.photometric;
    }
}

TEST_F(ImageProcessSaveTest, BaselineFailsWithoutAFrame)
{
    EXPECT_EQ(SaveWithoutAFrame(&ImageProcess::SaveAsJPEGBaseline, "none.jpg"), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

} // namespace
