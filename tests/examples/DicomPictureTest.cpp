// The example's picture of a DICOM file: colour samples and palette indices
// come out as 24-bit colour, grey samples as 8-bit levels, whatever the
// photometric interpretation says or leaves out; every file of the sample
// corpus gives a picture of its size or a message.
#include "DicomPicture.h"
#include "DibPixels.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

class DicomPictureTest : public FileFolderTest
{
protected:
    // The pixels of the picture of the image written to a file, which is
    // expected of the bit count and size given; empty when there is none.
    WindowPicture PictureOf(DICOMImage& image, int bits, int width, int height)
    {
        const std::string path = PathOf("image.dcm");
        EXPECT_NE(image.WriteFile(path.c_str(), 1), 0);
        std::string error;
        const HDIB dib = MakeDicomPicture(path.c_str(), error);
        EXPECT_NE(dib, nullptr) << error;
        if (dib == nullptr)
            return {};
        EXPECT_EQ(BitCountOf(dib), bits);
        WindowPicture picture = PixelsOf(dib);
        GlobalFree(dib);
        EXPECT_EQ(picture.nWidth, width);
        EXPECT_EQ(picture.nHeight, height);
        return picture.nWidth == width && picture.nHeight == height ? picture : WindowPicture{};
    }
};

struct SizeCase
{
    const char* file;
    int width;
    int height;
    int bits;
};

TEST_F(DicomPictureTest, CorpusImagesGiveAPictureOfTheirSizeAndKind)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const SizeCase cases[] = {
        {"octave-dicom/CT-MONO2-16-ankle.dcm", 512, 512, 8},
        {"octave-dicom/US-PAL-8-10x-echo.dcm", 600, 430, 24},
        {"pydicom/test_files/SC_rgb_jpeg_dcmd.dcm", 256, 256, 24},
        {"pydicom/test_files/SC_rgb_rle.dcm", 100, 100, 24},
        {"pydicom/test_files/SC_rgb_jpeg_dcmtk.dcm", 100, 100, 24},
        {"pydicom/test_files/SC_rgb_dcmtk_+eb+cy+np.dcm", 100, 100, 24},
    };
    for (const SizeCase& c : cases)
    {
        SCOPED_TRACE(c.file);
        std::string error;
        const HDIB dib = MakeDicomPicture(CorpusPath(c.file).c_str(), error);
        ASSERT_NE(dib, nullptr) << error;
        EXPECT_EQ(BitCountOf(dib), c.bits);
        const WindowPicture picture = PixelsOf(dib);
        GlobalFree(dib);
        const std::string name = std::filesystem::path(c.file).stem().string();
        WritePictureFile(picture,
                         (std::string(SUITE_OUTPUT_DIR) + "/picture-" + name + ".bmp").c_str());
        EXPECT_EQ(picture.nWidth, c.width);
        EXPECT_EQ(picture.nHeight, c.height);
        const bool bColoured =
            std::any_of(picture.pixels.begin(), picture.pixels.end(),
                        [](std::uint32_t pixel) { return (pixel >> 16) != (pixel & 0xFF); });
        EXPECT_EQ(bColoured, c.bits == 24);
    }
}

TEST_F(DicomPictureTest, RgbSamplesShowAsStored)
{
    DICOMImage image;
    FillImageAttributes(image, 8, 6, 8, 3, "RGB", 1);
    image.Add(0x0028, 0x0006, static_cast<unsigned short>(0));
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const ImageBytes samples = MakeRamp(8 * 6 * 3, 1, 1, 5);
    SetNativePixels(image, samples);
    const WindowPicture picture = PictureOf(image, 24, 6, 8);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    {
        const std::uint32_t stored = (std::uint32_t(samples[3 * i]) << 16) |
                                     (std::uint32_t(samples[3 * i + 1]) << 8) | samples[3 * i + 2];
        EXPECT_EQ(picture.pixels[i], stored) << "pixel " << i;
    }
}

// Palette entries of 16 bits: red rises with the index, green falls, blue
// steps by 7.
void AddPalette(DICOMImage& image)
{
    ImageBytes descriptor = MakeRamp(3, 2, 0, 0);
    descriptor[0] = 0;
    descriptor[1] = 1; // 256 entries
    descriptor[4] = 16;
    for (unsigned short element : {0x1101, 0x1102, 0x1103})
    {
        image.Add(0x0028, element);
        SetValue(*image.GetVR(0x0028, element), descriptor);
    }
    const ImageBytes red = MakeRamp(256, 2, 0, 0x100);
    const ImageBytes green = MakeRamp(256, 2, 0xFF00, 0xFFFFFF00u);
    ImageBytes blue;
    for (int entry = 0; entry < 256; ++entry)
    {
        blue.push_back(0);
        blue.push_back(static_cast<std::uint8_t>(entry * 7));
    }
    const std::pair<unsigned short, const ImageBytes*> tables[] = {
        {0x1201, &red}, {0x1202, &green}, {0x1203, &blue}};
    for (const auto& [element, table] : tables)
    {
        image.Add(0x0028, element);
        SetValue(*image.GetVR(0x0028, element), *table);
    }
}

TEST_F(DicomPictureTest, PaletteIndicesShowTheirPaletteColours)
{
    DICOMImage image;
    FillImageAttributes(image, 4, 5, 8, 1, "PALETTE COLOR", 1);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    AddPalette(image);
    const ImageBytes indices = MakeRamp(4 * 5, 1, 3, 13);
    SetNativePixels(image, indices);
    const WindowPicture picture = PictureOf(image, 24, 5, 4);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    {
        const std::uint32_t index = indices[i];
        const std::uint32_t colour = (index << 16) | ((255 - index) << 8) | ((index * 7) & 0xFF);
        EXPECT_EQ(picture.pixels[i], colour) << "pixel " << i;
    }
}

struct GreyCase
{
    const char* photometric;
    int bits;
};

// Without MONOCHROME1 or MONOCHROME2 the samples are still grey ones, one
// level a pixel, spread over the whole range by the automatic window.
TEST_F(DicomPictureTest, GreySamplesUnderAnyOtherPhotometricShowAsGreyLevels)
{
    const GreyCase cases[] = {{"", 16}, {"UNKNOWN", 16}, {"MONOCHROME2", 16}, {"MONOCHROME1", 8}};
    for (const GreyCase& c : cases)
    {
        SCOPED_TRACE(std::string("'") + c.photometric + "', " + std::to_string(c.bits) + " bits");
        DICOMImage image;
        FillImageAttributes(image, 8, 12, c.bits, 1, c.photometric, 1);
        if (*c.photometric == '\0')
        {
            image.Delete(0x0028, 0x0004);
        }
        image.SetTransferSyntax(UidTransferLittleEndianExplicit);
        SetNativePixels(image, MakeRamp(8 * 12, c.bits / 8, 0, 2));
        const WindowPicture picture = PictureOf(image, 8, 12, 8);
        ASSERT_FALSE(picture.pixels.empty());
        std::vector<std::uint32_t> levels;
        for (const std::uint32_t pixel : picture.pixels)
        {
            EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101u);
            levels.push_back(pixel & 0xFF);
        }
        // The ramp rises along the rows; MONOCHROME1 shows it falling.
        const bool bInverse = std::string(c.photometric) == "MONOCHROME1";
        EXPECT_EQ(bInverse ? levels.front() > levels.back() : levels.front() < levels.back(), true);
    }
}

TEST_F(DicomPictureTest, EveryCorpusFileGivesAPictureOfItsSizeOrAMessage)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    int pictures = 0;
    for (const std::vector<std::string>& fields : CorpusManifestRows())
    {
        SCOPED_TRACE(fields[0]);
        std::string error;
        const HDIB dib = MakeDicomPicture(CorpusPath(fields[0]).c_str(), error);
        if (dib == nullptr)
        {
            EXPECT_FALSE(error.empty());
            continue;
        }
        ++pictures;
        const int bits = BitCountOf(dib);
        EXPECT_TRUE(bits == 8 || bits == 24) << bits;
        const WindowPicture picture = PixelsOf(dib);
        GlobalFree(dib);
        if (fields.size() > 7 && !fields[7].empty())
        {
            EXPECT_EQ(std::to_string(picture.nHeight) + "x" + std::to_string(picture.nWidth),
                      fields[7]);
        }
    }
    EXPECT_GT(pictures, 75);
}

} // namespace
