// Recoding whole images into another transfer syntax and writing processed
// frames and real-valued images back: real files recoded to every lossless
// syntax, written, read again and decoded keep the frames peer toolkits
// decode; a failed recoding or frame write leaves the image as it was.
#include "DICOMImage.h"
#include "ImageCorpusSupport.h"
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "RealImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace
{

// A small grey image of 8-bit samples 0, 3, 6, ... in explicit VR little
// endian.
void FillGreyImage(DICOMImage& image, int rows, int columns, int frames = 1)
{
    FillImageAttributes(image, rows, columns, 8, 1, "MONOCHROME2", frames);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, MakeRamp(static_cast<std::size_t>(rows * columns * frames), 1, 0, 3));
}

UID SyntaxOf(const DICOMImage& image)
{
    UID syntax;
    image.GetTransferSyntax(syntax);
    return syntax;
}

class DICOMImageRecodeTest : public FileFolderTest
{
};

TEST_F(DICOMImageRecodeTest, RealFilesRecodedToEveryLosslessSyntaxAndBackKeepTheirFrames)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const char* files[] = {
        "octave-dicom/CT-MONO2-16-ankle.dcm",       // 16-bit signed, implicit VR
        "octave-dicom/US-PAL-8-10x-echo.dcm",       // palette colour, RLE, ten frames
        "pydicom/test_files/MR_small_RLE.dcm",      // 16-bit signed, RLE
        "pydicom/test_files/SC_rgb_rle_2frame.dcm", // RGB, two frames
        "pydicom/test_files/SC_rgb_jpeg_gdcm.dcm",  // RGB, JPEG lossless
        "pydicom/test_files/MR_small_jp2klossless.dcm",
    };
    const UID* syntaxes[] = {&UidTransferLittleEndian,
                             &UidTransferLittleEndianExplicit,
                             &UidTransferBigEndianExplicit,
                             &UidTransferJpegLosslessProc14,
                             &UidTransferJpegLosslessProcFirstOrderPredict,
                             &UidTransferJpeg2000Lossless};
    for (const char* file : files)
    {
        const std::vector<const FrameReference*> frames = CorpusFramesOf(file);
        ASSERT_FALSE(frames.empty()) << file;
        for (const UID* syntax : syntaxes)
        {
            SCOPED_TRACE(std::string(file) + " as " + static_cast<const char*>(*syntax));
            DICOMImage image;
            ASSERT_NE(image.ReadFile(CorpusPath(file).c_str()), 0);
            ASSERT_EQ(image.ConvertTo(*syntax), 1);
            EXPECT_EQ(SyntaxOf(image), *syntax);
            EXPECT_EQ(image.GetNumberOfFrames(), frames.front()->frames);
            const std::string path = PathOf("recoded.dcm");
            ASSERT_NE(image.WriteFile(path.c_str(), 1), 0);

            DICOMImage back;
            ASSERT_NE(back.ReadFile(path.c_str()), 0);
            ASSERT_EQ(back.ConvertTo(UidTransferLittleEndianExplicit), 1);
            for (const FrameReference* reference : frames)
            {
                const ImageBytes bytes = FrameBytes(back, reference->frame);
                ASSERT_GE(bytes.size(), reference->length) << "frame " << reference->frame;
                EXPECT_EQ(Fnv1a64(bytes.data(), reference->length), reference->checksum)
                    << "frame " << reference->frame;
            }
        }
    }
}

TEST_F(DICOMImageRecodeTest, RecodingToBaselineDropsTheLookupTablesAndMarksTheLoss)
{
    DICOMImage image;
    FillGreyImage(image, 16, 16);
    image.SetTransferSyntax(UidTransferLittleEndian);
    ASSERT_EQ(image.ConvertTo(UidTransferJpegLosslessProc14), 1);
    DICOMDataSet modality;
    modality.Add(0x0028, 0x3002, "256\\0\\8");
    image.Add(0x0028, 0x3000, modality);
    DICOMDataSet voi;
    voi.Add(0x0028, 0x3002, "256\\0\\8");
    image.Add(0x0028, 0x3010, voi);

    ASSERT_EQ(image.ConvertTo(UidTransferJpegBaselineProcess1), 1);
    EXPECT_EQ(SyntaxOf(image), UidTransferJpegBaselineProcess1);
    EXPECT_EQ(image.IsExist(0x0028, 0x3000), 0);
    EXPECT_EQ(image.IsExist(0x0028, 0x3010), 0);
    EXPECT_STREQ(image.GetLettra(0x0028, 0x2110), "01");
    EXPECT_NE(image.IsExist(0x0028, 0x2112), 0);
    EXPECT_EQ(image.GetVR(0x7FE0, 0x0010)->GetItemCount(), 2);

    ASSERT_EQ(image.ConvertTo(UidTransferLittleEndianExplicit), 1);
    const ImageBytes decoded = FrameBytes(image, 0);
    const ImageBytes ramp = MakeRamp(256, 1, 0, 3);
    ASSERT_EQ(decoded.size(), ramp.size());
    int totalError = 0;
    for (std::size_t index = 0; index < ramp.size(); ++index)
    {
        const int error = std::abs(decoded[index] - ramp[index]);
        EXPECT_LE(error, 32) << index;
        totalError += error;
    }
    EXPECT_LE(totalError, 4 * static_cast<int>(ramp.size()));
}

TEST_F(DICOMImageRecodeTest, ARequestedLossyRatioChoosesTheEncoderQuality)
{
    struct Case
    {
        const char* ratio;
        unsigned quality;
        int kept; // the request stays when it asks for nothing
    };
    const Case cases[] = {{"1", 100, 0}, {"2", 100, 0}, {"9", 75, 0},   {"0A", 75, 0},
                          {"50", 15, 0}, {"100", 2, 0}, {"101", 90, 0}, {"0", 90, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.ratio);
        DICOMImage expected;
        FillGreyImage(expected, 16, 16);
        ImageProcess process(expected, 0);
        process.SetQuality(c.quality);
        ASSERT_EQ(process.ConvertTo(UidTransferJpegBaselineProcess1), 1);
        const ImageBytes wanted(process.GetCompPixelData(),
                                process.GetCompPixelData() + process.GetCompPixelLength());

        DICOMImage image;
        FillGreyImage(image, 16, 16);
        image.Add(0x0007, 0x0611, c.ratio);
        ASSERT_EQ(image.ConvertTo(UidTransferJpegBaselineProcess1), 1);
        ImageBytes stored = FrameBytes(image, 0);
        stored.resize(wanted.size());
        EXPECT_EQ(stored, wanted);
        EXPECT_EQ(image.IsExist(0x0007, 0x0611), c.kept);
    }
}

TEST_F(DICOMImageRecodeTest, AFailedRecodingLeavesTheImageAsItWas)
{
    // Frame 1 of two RLE frames is cut short: the recoding fails there,
    // after frame 0 was recoded.
    DICOMImage image("broken.dcm");
    FillImageAttributes(image, 4, 4, 8, 1, "MONOCHROME2", 2);
    const ImageBytes good = MakeRleFrame(MakeRamp(16, 1), 1, 1);
    const ImageBytes cut(good.begin(), good.begin() + 64);
    SetCompressedFrames(image, UidTransferRleLossless, {good, cut});
    image.Add(0x0028, 0x1050, "40\\60");
    const DICOMImage before(image);

    const UID* targets[] = {&UidTransferLittleEndianExplicit, &UidTransferJpeg2000Lossless,
                            &UidTransferBigEndianExplicit};
    for (const UID* target : targets)
    {
        SCOPED_TRACE(static_cast<const char*>(*target));
        EXPECT_EQ(image.ConvertTo(*target), 0);
        EXPECT_EQ(SyntaxOf(image), UidTransferRleLossless);
        EXPECT_TRUE(image == before);
        EXPECT_EQ(FrameBytes(image, 0), good);
        EXPECT_EQ(FrameBytes(image, 1), cut);
    }

    // No encoder for the target: nothing changes either.
    DICOMImage grey;
    FillGreyImage(grey, 4, 4);
    const DICOMImage unchanged(grey);
    EXPECT_EQ(grey.ConvertTo(UidTransferRleLossless), 0);
    EXPECT_TRUE(grey == unchanged);
    EXPECT_EQ(SyntaxOf(grey), UidTransferLittleEndianExplicit);
}

TEST_F(DICOMImageRecodeTest, RecodingNeedsPixelDataAndAFrame)
{
    DICOMImage empty;
    empty.Add(0x0008, 0x0060, "OT");
    empty.SetTransferSyntax(UidTransferLittleEndianExplicit);
    EXPECT_EQ(empty.ConvertTo(UidTransferJpeg2000Lossless), 0);

    DICOMImage noFrames;
    FillGreyImage(noFrames, 4, 4);
    noFrames.Add(0x0028, 0x0008, "0");
    const DICOMImage before(noFrames);
    EXPECT_EQ(noFrames.ConvertTo(UidTransferJpeg2000Lossless), 0);
    EXPECT_TRUE(noFrames == before);
}

// Three 2 x 2 frames under claims of more: the frames present are recoded,
// and the recoded image claims them; the claim of 2^31 frames once built an
// item for each before a frame was coded.
TEST_F(DICOMImageRecodeTest, AClaimOfMoreFramesThanStoredRecodesTheFramesPresent)
{
    const char* claims[] = {"2147483648", "7"};
    const UID* syntaxes[] = {&UidTransferJpegLosslessProcFirstOrderPredict,
                             &UidTransferJpeg2000Lossless};
    const ImageBytes samples = MakeRamp(12, 1, 0, 7);
    for (const char* claim : claims)
    {
        for (const UID* syntax : syntaxes)
        {
            SCOPED_TRACE(std::string(claim) + " frames as " + static_cast<const char*>(*syntax));
            DICOMImage image;
            FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 3);
            image.Add(0x0028, 0x0008, claim);
            image.SetTransferSyntax(UidTransferLittleEndianExplicit);
            SetNativePixels(image, samples);
            ASSERT_EQ(image.ConvertTo(*syntax), 1);
            EXPECT_EQ(SyntaxOf(image), *syntax);
            EXPECT_EQ(image.GetNumberOfFrames(), 3);
            ASSERT_EQ(image.ConvertTo(UidTransferLittleEndianExplicit), 1);
            for (int frame = 0; frame < 3; ++frame)
            {
                EXPECT_EQ(FrameBytes(image, frame),
                          ImageBytes(samples.begin() + 4 * frame, samples.begin() + 4 * frame + 4))
                    << "frame " << frame;
            }
        }
    }
}

TEST_F(DICOMImageRecodeTest, FormatToWritesTheProcessedFrameWithItsAttributes)
{
    DICOMImage source;
    FillGreyImage(source, 8, 8);
    source.Add(0x0028, 0x1050, "100");
    source.Add(0x0028, 0x1051, "0");
    ImageProcess process(source, 0);
    ASSERT_EQ(process.ConvertTo(UidTransferJpegBaselineProcess1), 1);
    const ImageBytes compressed(process.GetCompPixelData(),
                                process.GetCompPixelData() + process.GetCompPixelLength());

    DICOMImage target;
    target.Add(0x0008, 0x0060, "OT");
    target.Add(0x0007, 0x0550, UidTransferJpegFullProgressProc10And12);
    ASSERT_EQ(target.FormatTo(&process), 1);
    EXPECT_EQ(process.GetCompPixelData(), nullptr);
    EXPECT_EQ(SyntaxOf(target), UidTransferJpegBaselineProcess1);
    EXPECT_STREQ(target.GetLettra(0x0028, 0x0004), "MONOCHROME2");
    EXPECT_EQ(target.GetUINT16(0x0028, 0x0002), 1);
    EXPECT_STREQ(target.GetLettra(0x0028, 0x1050), "100");
    EXPECT_TRUE(target.IsExist(0x0028, 0x1051) != 0);
    EXPECT_STREQ(target.GetLettra(0x0028, 0x1051), "");
    EXPECT_EQ(target.GetUINT16(0x0028, 0x0010), 8);
    EXPECT_EQ(target.GetUINT16(0x0028, 0x0011), 8);
    EXPECT_EQ(target.GetUINT16(0x0028, 0x0100), 8);
    EXPECT_STREQ(target.GetLettra(0x0028, 0x2110), "01");
    EXPECT_EQ(std::atoi(target.GetLettra(0x0028, 0x2112)),
              static_cast<int>(64 / compressed.size()));
    EXPECT_EQ(target.IsExist(0x0007, 0x0550), 0);
    ImageBytes stored = FrameBytes(target, 0);
    stored.resize(compressed.size());
    EXPECT_EQ(stored, compressed);

    EXPECT_EQ(target.FormatTo(static_cast<ImageProcess*>(nullptr)), 0);
}

TEST_F(DICOMImageRecodeTest, FormatToCarriesTheAdaptiveSyntaxAndColour)
{
    DICOMImage source;
    FillImageAttributes(source, 4, 4, 8, 3, "RGB", 1);
    source.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(source, MakeRamp(48, 1, 0, 5));
    ImageProcess process(source, 0);
    ASSERT_EQ(process.ConvertTo(UidTransferJpegFullProgressAdaptive), 1);

    DICOMImage target;
    ASSERT_EQ(target.FormatTo(&process), 1);
    EXPECT_EQ(SyntaxOf(target), UidTransferJpegFullProgressAdaptive);
    EXPECT_EQ(target.GetUINT16(0x0028, 0x0002), 3);
    EXPECT_EQ(UID(target.GetLettra(0x0007, 0x0550)), UidTransferJpegFullProgressProc10And12);
}

TEST_F(DICOMImageRecodeTest, AFrameThatCannotBeWrittenLeavesTheImageAsItWas)
{
    DICOMImage target;
    FillGreyImage(target, 4, 4, 3);
    const DICOMImage before(target);

    // A process without a frame has nothing to give.
    DICOMImage hollow;
    FillImageAttributes(hollow, 4, 4, 8, 1, "MONOCHROME2", 1);
    ImageProcess empty(hollow, 0);
    EXPECT_EQ(target.FormatTo(&empty), 0);
    EXPECT_TRUE(target == before);

    // Frame 5 of an image of three frames does not exist.
    DICOMImage several;
    FillGreyImage(several, 4, 4, 6);
    ImageProcess sixth(several, 5);
    ASSERT_EQ(sixth.ConvertToRaw(), 1);
    EXPECT_EQ(target.FormatTo(&sixth), 0);
    EXPECT_TRUE(target == before);

    // A native frame shorter than the frame size.
    DICOMImage wide;
    FillGreyImage(wide, 4, 4);
    wide.Add(0x0028, 0x0011, static_cast<unsigned short>(8));
    ImageProcess shortFrame(wide, 0);
    EXPECT_EQ(target.FormatTo(&shortFrame), 0);
    EXPECT_TRUE(target == before);
}

TEST_F(DICOMImageRecodeTest, FormatToIntoTheProcessesOwnImageLeavesNoDanglingFrame)
{
    DICOMImage image;
    FillGreyImage(image, 4, 4);
    {
        ImageProcess process(image, 0);
        ASSERT_EQ(process.ConvertTo(UidTransferLittleEndian), 1);
        ASSERT_EQ(image.FormatTo(&process), 1);
        EXPECT_EQ(process.m_pRawPixelData, nullptr);
        EXPECT_EQ(process.ConvertToRaw(), 0);
    }
    EXPECT_EQ(SyntaxOf(image), UidTransferLittleEndian);
    EXPECT_EQ(FrameBytes(image, 0), MakeRamp(16, 1, 0, 3));
}

TEST_F(DICOMImageRecodeTest, APlainFileRecodesItsPixelDataThroughAnImage)
{
    DICOMFile file("plain.dcm");
    FillImageAttributes(file, 4, 4, 8, 1, "MONOCHROME2", 1);
    file.SetTransferSyntax(UidTransferRleLossless);
    DICOMImage frames;
    SetEncapsulatedPixels(frames, {MakeRleFrame(MakeRamp(16, 1, 0, 3), 1, 1)});
    file.Push(frames.TakeOut(0x7FE0, 0x0010));

    ASSERT_EQ(file.ConvertTo(UidTransferLittleEndianExplicit), 1);
    UID syntax;
    file.GetTransferSyntax(syntax);
    EXPECT_EQ(syntax, UidTransferLittleEndianExplicit);
    EXPECT_STREQ(file.GetFileName(), "plain.dcm");
    EXPECT_STREQ(file.GetLettra(0x0008, 0x0060), "OT");
    const VR* pixel = file.GetVR(0x7FE0, 0x0010);
    ASSERT_NE(pixel, nullptr);
    const auto* data = static_cast<const std::uint8_t*>(pixel->GetData());
    EXPECT_EQ(ImageBytes(data, data + pixel->GetLength()), MakeRamp(16, 1, 0, 3));

    // A failure leaves the file as it was.
    const DICOMFile before(file);
    EXPECT_EQ(file.ConvertTo(UidTransferRleLossless), 0);
    EXPECT_TRUE(file == before);
    file.GetTransferSyntax(syntax);
    EXPECT_EQ(syntax, UidTransferLittleEndianExplicit);
}

TEST_F(DICOMImageRecodeTest, ARealImageIsWrittenWithItsWindowAndDepth)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferJpeg2000Lossless);
    SetEncapsulatedPixels(image, {{1, 2, 3, 4}});

    const ImageBytes samples = MakeRamp(6, 2, 1000, 500);
    RealImage16 real(reinterpret_cast<std::uint16_t*>(NewBuffer(samples)), 3, 2, 12, 1000, 3500, 0,
                     4095, -1024.0f, 1.0f);
    real.SetPhotometric("MONOCHROME1");
    real.GetLookupTable().Init(1000, 3500, -1024.0f, 1.0f, 400, 40);
    const int low = real.GetLookupTable().GetMinForkCalib();
    const int high = real.GetLookupTable().GetMaxForkCalib();

    ASSERT_EQ(image.FormatTo(&real), 1);
    UID syntax;
    image.GetTransferSyntax(syntax);
    EXPECT_EQ(syntax, UidTransferLittleEndianExplicit);
    EXPECT_STREQ(image.GetLettra(0x0028, 0x0004), "MONOCHROME1");
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0002), 1);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0011), 3);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0010), 2);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0100), 16);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0101), 12);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0102), 11);
    EXPECT_EQ(std::string(image.GetLettra(0x0028, 0x1050)), std::to_string((low + high) / 2));
    EXPECT_EQ(std::string(image.GetLettra(0x0028, 0x1051)), std::to_string(high - low));
    EXPECT_EQ(image.GetVR(0x7FE0, 0x0010)->GetItemCount(), 0);
    EXPECT_EQ(FrameBytes(image, 0), samples);
    EXPECT_EQ(image.IsExist(0x0028, 0x1201), 0);
    EXPECT_EQ(real.GetImageLength(), samples.size()); // the real image keeps its pixels

    EXPECT_EQ(image.FormatTo(static_cast<RealImage*>(nullptr)), 0);
}

// Under a rescale slope of 2^31 the window's bounds lie near the ends of an
// int: their sum or their distance does not fit one, and is written whole.
TEST_F(DICOMImageRecodeTest, AWindowWiderThanAnIntIsWrittenWhole)
{
    const std::pair<int, int> windows[] = {
        {1500000000, 2100000000}, {-2100000000, -1500000000}, {-2000000000, 2000000000}};
    for (const auto& [min, max] : windows)
    {
        SCOPED_TRACE(std::to_string(min) + " .. " + std::to_string(max));
        DICOMImage image;
        FillGreyImage(image, 2, 3);
        const ImageBytes samples = MakeRamp(6, 2, 0, 500);
        RealImage16 real(reinterpret_cast<std::uint16_t*>(NewBuffer(samples)), 3, 2, 12, 0, 2500, 0,
                         4095, 0.0f, 2147483648.0f);
        real.SetPhotometric("MONOCHROME2");
        real.GetLookupTable().Init(-2048, 2047, 0.0f, 2147483648.0f, 0, 0);
        real.GetLookupTable().SetMinMaxFork(min, max);
        const long long low = real.GetLookupTable().GetMinForkCalib();
        const long long high = real.GetLookupTable().GetMaxForkCalib();
        ASSERT_TRUE(low + high > INT32_MAX || low + high < INT32_MIN || high - low > INT32_MAX)
            << low << " .. " << high;

        ASSERT_EQ(image.FormatTo(&real), 1);
        EXPECT_EQ(std::string(image.GetLettra(0x0028, 0x1050)), std::to_string((low + high) / 2));
        EXPECT_EQ(std::string(image.GetLettra(0x0028, 0x1051)), std::to_string(high - low));
    }
}

TEST_F(DICOMImageRecodeTest, APaletteImageIsWrittenWithItsPaletteAsSixteenBitTables)
{
    const ImageBytes indices = {0, 1, 2, 255};
    RealImage8 real(NewBuffer(indices), 2, 2, 8, 0, 255, 0, 255, 0.0f, 1.0f);
    real.SetPhotometric("PALETTE COLOR");
    for (int index = 0; index < 256; ++index)
    {
        real.GetPalette()[index] = RGBQUAD{static_cast<BYTE>(255 - index), // blue
                                           static_cast<BYTE>(index / 2),   // green
                                           static_cast<BYTE>(index), 0};   // red
    }
    DICOMImage image;
    ASSERT_EQ(image.FormatTo(&real), 1);
    EXPECT_STREQ(image.GetLettra(0x0028, 0x0004), "PALETTE COLOR");
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0100), 8);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0101), 8);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0102), 7);
    EXPECT_EQ(FrameBytes(image, 0), indices);
    for (std::uint16_t element : {0x1101, 0x1102, 0x1103})
    {
        EXPECT_EQ(ReadWords(image, 0x0028, element), (std::vector<unsigned short>{256, 0, 16}));
    }
    const std::vector<unsigned short> red = ReadWords(image, 0x0028, 0x1201);
    const std::vector<unsigned short> green = ReadWords(image, 0x0028, 0x1202);
    const std::vector<unsigned short> blue = ReadWords(image, 0x0028, 0x1203);
    ASSERT_EQ(red.size(), 256u);
    ASSERT_EQ(green.size(), 256u);
    ASSERT_EQ(blue.size(), 256u);
    for (int index = 0; index < 256; ++index)
    {
        EXPECT_EQ(red[index], index * 0x0101);
        EXPECT_EQ(green[index], index / 2 * 0x0101);
        EXPECT_EQ(blue[index], (255 - index) * 0x0101);
    }
}

TEST_F(DICOMImageRecodeTest, ARealImageWithoutPixelsWritesNothing)
{
    DICOMImage image;
    FillGreyImage(image, 2, 2);
    const DICOMImage before(image);
    RealImage8 hollow(nullptr, 2, 2, 8, 0, 255, 0, 255, 0.0f, 1.0f);
    EXPECT_EQ(image.FormatTo(&hollow), 0);
    EXPECT_TRUE(image == before);
}

TEST_F(DICOMImageRecodeTest, GreySamplesAboveEightBitsReachBaselineAsDisplayLevels)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DICOMImage image;
    ASSERT_NE(image.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()), 0);
    ASSERT_NE(image.GetUINT16(0x0028, 0x0103), 0);
    ASSERT_EQ(image.ConvertTo(UidTransferJpegBaselineProcess1), 1);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0100), 8);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0101), 8);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0103), 0);
    EXPECT_STREQ(image.GetLettra(0x0028, 0x1052), "0");
    EXPECT_STREQ(image.GetLettra(0x0028, 0x1053), "1");
    EXPECT_STREQ(image.GetLettra(0x0028, 0x2110), "01");

    ASSERT_EQ(image.ConvertTo(UidTransferLittleEndianExplicit), 1);
    EXPECT_EQ(FrameBytes(image, 0).size(), 128u * 128u);
}

// Frames of other widths (1, 32 bits; 16-bit colour), broken files and
// syntaxes without a decoder fail and leave the image as it was.
TEST_F(DICOMImageRecodeTest, EveryCorpusImageRecodesLosslesslyOrStaysAsItWas)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    std::vector<std::string> files;
    for (const FrameReference& reference : CorpusFrameReferences)
    {
        if (files.empty() || files.back() != reference.file)
        {
            files.emplace_back(reference.file);
        }
    }
    int recoded = 0;
    for (const std::string& file : files)
    {
        SCOPED_TRACE(file);
        DICOMImage image;
        if (image.ReadFile(CorpusPath(file).c_str()) == 0)
        {
            continue;
        }
        const DICOMImage before(image);
        UID syntax;
        image.GetTransferSyntax(syntax);
        if (image.ConvertTo(UidTransferJpegLosslessProcFirstOrderPredict) == 0)
        {
            EXPECT_TRUE(image == before);
            EXPECT_EQ(SyntaxOf(image), syntax);
            continue;
        }
        ASSERT_EQ(image.ConvertTo(UidTransferLittleEndianExplicit), 1);
        for (const FrameReference* reference : CorpusFramesOf(file))
        {
            const ImageBytes bytes = FrameBytes(image, reference->frame);
            ASSERT_GE(bytes.size(), reference->length) << "frame " << reference->frame;
            EXPECT_EQ(Fnv1a64(bytes.data(), reference->length), reference->checksum)
                << "frame " << reference->frame;
        }
        ++recoded;
    }
    // Most of them are 8- or 16-bit frames the codecs take.
    EXPECT_GT(recoded, static_cast<int>(files.size()) / 2);
}

} // namespace
