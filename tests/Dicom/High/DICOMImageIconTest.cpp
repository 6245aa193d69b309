// Icon images: the size rule by modality, real-valued images written into
// images, and icons made of real files, of their own Icon Image Sequence
// and of images that yield none.
#include "DICOMImageIcon.h"
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "RealImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

// Grey levels peer toolkits display for real files (dcm2pnm with the
// file's own window), made by tools/make_icon_references.py.
struct DisplayReference
{
    const char* file;
    int columns;
    int rows;
    std::vector<std::uint8_t> levels;
};

const DisplayReference DisplayReferences[] = {
#include "DICOMImageIconReferences.inc"
};

DICOMImage ReadCorpusImage(const char* name)
{
    DICOMImage image;
    EXPECT_NE(image.ReadFile(CorpusPath(name).c_str()), 0) << name;
    return image;
}

class DICOMImageIconTest : public FileFolderTest
{
};

TEST_F(DICOMImageIconTest, TheIconSizeFollowsTheModalityAndNeverEnlarges)
{
    struct Case
    {
        const char* modality;
        int columns;
        int rows;
        int width;
        int height;
    };
    const Case cases[] = {
        {"CT", 512, 512, 128, 128},   {"CR", 100, 60, 100, 60},   {"XX", 1000, 700, 512, 360},
        {"US", 640, 480, 64, 48},     {"MR", 256, 200, 128, 100}, {"DX", 3000, 2000, 256, 172},
        {"ct", 1024, 1024, 512, 512}, {"C", 2048, 16, 512, 4},    {"", 10, 5, 12, 8},
        {"OT", 0, 100, 0, 0},         {"PT", 101, 99, 104, 100},  {"RTDOSE", 300, 150, 128, 64},
    };
    for (const Case& c : cases)
    {
        int width = -1;
        int height = -1;
        DICOMImageIcon::GetIconSize(c.modality, c.columns, c.rows, width, height);
        EXPECT_EQ(width, c.width) << c.modality << " " << c.columns << "x" << c.rows;
        EXPECT_EQ(height, c.height) << c.modality << " " << c.columns << "x" << c.rows;
    }
    EXPECT_EQ(DICOMImageIcon::GetIconSide(nullptr), 512);
    EXPECT_EQ(DICOMImageIcon::GetIconSide("VF"), 128);
}

TEST_F(DICOMImageIconTest, AColourImageIsWrittenWithThreeSamples)
{
    const ImageBytes rgb = MakeRamp(12, 1, 0, 20);
    RealImageRGB colour(NewBuffer(rgb), 2, 2, 8, 0, 255, 0, 255, 0.0f, 1.0f);
    colour.SetPhotometric("RGB");
    DICOMImage image;
    ASSERT_EQ(image.FormatTo(&colour), 1);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0002), 3);
    EXPECT_EQ(FrameBytes(image, 0), rgb);
}

TEST_F(DICOMImageIconTest, AnImageWithoutPixelsGivesAnIconWithoutPixels)
{
    DICOMImage header;
    FillImageAttributes(header, 512, 512, 16, 1, "MONOCHROME2", 1);
    header.Add(0x0010, 0x0010, "Doe^Jane");
    header.Add(0x0018, 0x5100, "HFS"); // not kept by an icon
    const DICOMImageIcon icon(header);
    EXPECT_EQ(icon.IsExist(0x7FE0, 0x0010), 0);
    EXPECT_STREQ(icon.GetLettra(0x0010, 0x0010), "Doe^Jane");
    EXPECT_EQ(icon.IsExist(0x0018, 0x5100), 0);
    EXPECT_EQ(icon.GetAttachedImage(), nullptr);
}

TEST_F(DICOMImageIconTest, AnIconItemShorterThanItsGeometryIsNotUsed)
{
    DICOMImage image;
    FillImageAttributes(image, 4, 4, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, MakeRamp(16, 1));
    DICOMDataSet item;
    FillImageAttributes(item, 64, 64, 8, 1, "MONOCHROME2", 1);
    item.Add(0x7FE0, 0x0010);
    SetValue(*item.GetVR(0x7FE0, 0x0010), MakeRamp(100, 1));
    image.Add(0x0088, 0x0200, item);

    const DICOMImageIcon icon(image);
    EXPECT_EQ(icon.IsExist(0x7FE0, 0x0010), 0);
}

TEST_F(DICOMImageIconTest, IconsOfSmallRealImagesShowTheirWindowAsPeersDisplayIt)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    for (const DisplayReference& reference : DisplayReferences)
    {
        SCOPED_TRACE(reference.file);
        const DICOMImage image = ReadCorpusImage(reference.file);
        const DICOMImageIcon icon(image);
        EXPECT_EQ(icon.GetUINT16(0x0028, 0x0011), reference.columns);
        EXPECT_EQ(icon.GetUINT16(0x0028, 0x0010), reference.rows);
        EXPECT_STREQ(icon.GetLettra(0x0028, 0x0004), "MONOCHROME2");
        EXPECT_EQ(icon.GetUINT16(0x0028, 0x0100), 8);
        EXPECT_EQ(icon.GetUINT16(0x0028, 0x0103), 0);
        EXPECT_STREQ(icon.GetLettra(0x0028, 0x1050), "127");
        EXPECT_STREQ(icon.GetLettra(0x0028, 0x1051), "255");
        EXPECT_STREQ(icon.GetLettra(0x0028, 0x1052), "0");
        EXPECT_STREQ(icon.GetLettra(0x0028, 0x1053), "1");
        EXPECT_STREQ(icon.GetLettra(0x0020, 0x4000), "Tavu ICON FILES");
        EXPECT_EQ(icon.GetLettra(0x0008, 0x0018), image.GetLettra(0x0008, 0x0018));
        EXPECT_EQ(FrameBytes(icon, 0), reference.levels);
    }
}

TEST_F(DICOMImageIconTest, ALargeImageIsReducedToTheSizeOfItsModality)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DICOMImage image = ReadCorpusImage("octave-dicom/CT-MONO2-16-ankle.dcm");
    DICOMDataSet emptyItem;
    image.Add(0x0028, 0x3010, emptyItem); // a VOI LUT item without a table
    const DICOMImageIcon icon(image);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0011), 128);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0010), 128);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0100), 8);
    EXPECT_EQ(icon.GetPixelLength(0), 128u * 128u);
    EXPECT_EQ(icon.IsExist(0x0028, 0x3010), 0);
    EXPECT_EQ(icon.IsExist(0x0008, 0x1160), 0);
    const ImageBytes levels = FrameBytes(icon, 0);
    ASSERT_EQ(levels.size(), 128u * 128u);

    // The icon is the full-size rendering reduced: close to the means of
    // its 4 x 4 blocks.
    ImageProcess process(image, 0);
    std::unique_ptr<RealImage> real(process.CreateRealImage());
    ASSERT_NE(real, nullptr);
    std::unique_ptr<RealImage8> full(real->Remap());
    ASSERT_NE(full, nullptr);
    const auto* pixels = static_cast<const std::uint8_t*>(full->GetImage());
    long totalError = 0;
    for (int y = 0; y < 128; ++y)
    {
        for (int x = 0; x < 128; ++x)
        {
            int sum = 0;
            for (int j = 0; j < 4; ++j)
            {
                for (int i = 0; i < 4; ++i)
                {
                    sum += pixels[(4 * y + j) * 512 + 4 * x + i];
                }
            }
            totalError += std::abs(levels[y * 128 + x] - sum / 16);
        }
    }
    EXPECT_LE(totalError / (128 * 128), 4);
}

TEST_F(DICOMImageIconTest, TheMiddleFrameOfSeveralMakesAPaletteIcon)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const DICOMImage image = ReadCorpusImage("octave-dicom/US-PAL-8-10x-echo.dcm");
    const DICOMImageIcon icon(image);
    EXPECT_STREQ(icon.GetLettra(0x0008, 0x1160), "5");
    EXPECT_EQ(icon.IsExist(0x0028, 0x0008), 0);
    EXPECT_EQ(icon.GetNumberOfFrames(), 1);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0011), 64);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0010), 48);
    EXPECT_EQ(icon.GetPixelLength(0), 64u * 48u);
    EXPECT_STREQ(icon.GetLettra(0x0028, 0x0004), "PALETTE COLOR");
    EXPECT_EQ(ReadWords(icon, 0x0028, 0x1101), (std::vector<unsigned short>{256, 0, 16}));
    EXPECT_EQ(ReadWords(icon, 0x0028, 0x1201).size(), 256u);
}

TEST_F(DICOMImageIconTest, AnIconImageSequenceStandsInForTheImage)
{
    DICOMImage image;
    FillImageAttributes(image, 8, 8, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferJpegLosslessProc14);
    image.Add(0x0028, 0x1050, "1000");
    image.Add(0x0028, 0x1051, "10");
    SetEncapsulatedPixels(image, {{1, 2, 3}}); // never decoded
    DICOMDataSet item;
    FillImageAttributes(item, 4, 4, 8, 1, "MONOCHROME2", 1);
    item.Add(0x7FE0, 0x0010);
    SetValue(*item.GetVR(0x7FE0, 0x0010), MakeRamp(16, 1, 0, 16));
    image.Add(0x0088, 0x0200, item);

    const DICOMImageIcon icon(image);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0011), 4);
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0010), 4);
    const ImageBytes levels = FrameBytes(icon, 0);
    ASSERT_EQ(levels.size(), 16u);
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    EXPECT_LT(levels.front(), levels.back());
    EXPECT_EQ(icon.IsExist(0x0088, 0x0200), 0);
}

TEST_F(DICOMImageIconTest, AColourImageGivesAPaletteIconOfItsColours)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DICOMImage image = ReadCorpusImage("pydicom/test_files/SC_rgb_rle.dcm");
    const DICOMImageIcon icon(image);
    EXPECT_STREQ(icon.GetLettra(0x0028, 0x0004), "PALETTE COLOR");
    EXPECT_EQ(icon.GetUINT16(0x0028, 0x0002), 1);
    ASSERT_EQ(icon.GetUINT16(0x0028, 0x0011), 100);
    ASSERT_EQ(icon.GetUINT16(0x0028, 0x0010), 100);
    const ImageBytes indices = FrameBytes(icon, 0);
    ASSERT_EQ(indices.size(), 10000u);
    const std::vector<unsigned short> red = ReadWords(icon, 0x0028, 0x1201);
    const std::vector<unsigned short> green = ReadWords(icon, 0x0028, 0x1202);
    const std::vector<unsigned short> blue = ReadWords(icon, 0x0028, 0x1203);
    ASSERT_EQ(red.size(), 256u);
    ASSERT_EQ(green.size(), 256u);
    ASSERT_EQ(blue.size(), 256u);

    // Each index names a palette colour near the pixel's own.
    ImageProcess process(image, 0);
    ASSERT_EQ(process.ConvertToRaw(), 1);
    ASSERT_GE(process.m_nRawPixelLength, 30000u);
    const std::uint8_t* rgb = process.m_pRawPixelData;
    long totalError = 0;
    for (std::size_t pixel = 0; pixel < indices.size(); ++pixel)
    {
        const int index = indices[pixel];
        totalError += std::abs((red[index] >> 8) - rgb[3 * pixel]) +
                      std::abs((green[index] >> 8) - rgb[3 * pixel + 1]) +
                      std::abs((blue[index] >> 8) - rgb[3 * pixel + 2]);
    }
    EXPECT_LE(totalError / (3 * 10000), 8);
}

TEST_F(DICOMImageIconTest, AVOILookupTableOfTheImageRendersTheIcon)
{
    DICOMImage image;
    FillImageAttributes(image, 4, 4, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, MakeRamp(16, 1, 0, 16));
    image.Add(0x0028, 0x1050, "10");
    image.Add(0x0028, 0x1051, "2");
    // A reversing table: value v shows as 255 - v.
    DICOMDataSet voi;
    const unsigned short descriptor[3] = {256, 0, 8};
    voi.Add(0x0028, 0x3002, descriptor, 3);
    std::vector<unsigned short> table(256);
    for (int value = 0; value < 256; ++value)
    {
        table[value] = static_cast<unsigned short>(255 - value);
    }
    voi.Add(0x0028, 0x3006, table.data(), 256);
    image.Add(0x0028, 0x3010, voi);

    const DICOMImageIcon icon(image);
    ImageBytes expected;
    for (int value = 0; value < 256; value += 16)
    {
        expected.push_back(static_cast<std::uint8_t>(255 - value));
    }
    EXPECT_EQ(FrameBytes(icon, 0), expected);
    EXPECT_EQ(icon.IsExist(0x0028, 0x3010), 0);
}

TEST_F(DICOMImageIconTest, AnIconIsSavedAsABitmapOfItsSize)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DICOMImageIcon icon(ReadCorpusImage("octave-dicom/CT-MONO2-16-ankle.dcm"));
    const std::string path = PathOf("icon.bmp");
    ASSERT_EQ(icon.SaveAsWindowsBitmap(path.c_str()), 1);
    const Bytes file = ReadBytes(path);
    ASSERT_EQ(file.size(), 1078u + 128u * 128u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::memcpy(&width, file.data() + 18, sizeof width);
    std::memcpy(&height, file.data() + 22, sizeof height);
    EXPECT_EQ(width, 128);
    EXPECT_EQ(height, 128);

    DICOMImageIcon empty;
    EXPECT_EQ(empty.SaveAsWindowsBitmap(PathOf("none.bmp").c_str()), 0);
}

TEST_F(DICOMImageIconTest, WithoutARenderingOnlyAnIconSizedEightBitFrameIsKept)
{
    // No real-valued image is made of 8 bits under an unknown photometric
    // interpretation, nor of 32 bits; the copied frame serves when it
    // could be an icon.
    struct Case
    {
        int bits;
        int columns;
        int frames;
        bool kept;
    };
    const Case cases[] = {{8, 4, 1, true}, {32, 4, 1, false}, {8, 600, 1, false}, {8, 4, 3, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.columns) + " columns, " +
                     std::to_string(c.frames) + " frames");
        DICOMImage image;
        FillImageAttributes(image, 4, c.columns, c.bits, 1, "HSV", c.frames);
        image.SetTransferSyntax(UidTransferLittleEndianExplicit);
        const ImageBytes pixels =
            MakeRamp(static_cast<std::size_t>(4 * c.columns * c.frames), c.bits / 8);
        SetNativePixels(image, pixels);
        const DICOMImageIcon icon(image);
        EXPECT_EQ(icon.IsExist(0x7FE0, 0x0010) != 0, c.kept);
        EXPECT_EQ(icon.IsExist(0x0028, 0x0008), 0);
        if (c.kept)
        {
            EXPECT_EQ(FrameBytes(icon, 0), pixels);
        }
    }
}

// Broken files, every photometric interpretation, bit depth and syntax of
// the sample corpus: an icon is an 8-bit frame of at most its modality's
// side, or there is none.
TEST_F(DICOMImageIconTest, EveryCorpusImageGivesAnIconOrNone)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    int icons = 0;
    int files = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(SUITE_CORPUS_DIR)))
    {
        DICOMImage image;
        if (!entry.is_regular_file() || image.ReadFile(entry.path().string().c_str()) == 0 ||
            image.IsExist(0x7FE0, 0x0010) == 0)
        {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        ++files;
        const DICOMImageIcon icon(image);
        if (icon.IsExist(0x7FE0, 0x0010) == 0)
        {
            continue;
        }
        const int side = DICOMImageIcon::GetIconSide(icon.GetLettra(0x0008, 0x0060));
        EXPECT_EQ(icon.GetUINT16(0x0028, 0x0100), 8);
        EXPECT_LE(icon.GetUINT16(0x0028, 0x0011), side);
        EXPECT_LE(icon.GetUINT16(0x0028, 0x0010), side);
        EXPECT_EQ(icon.GetNumberOfFrames(), 1);
        EXPECT_GE(icon.GetPixelLength(0), icon.GetFrameSize());
        ++icons;
    }
    EXPECT_GT(icons, files / 2);
}

} // namespace
