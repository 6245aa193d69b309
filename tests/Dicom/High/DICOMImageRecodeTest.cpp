// Recoding whole images into another transfer syntax and writing processed
// frames back: real files recoded to every lossless syntax, written, read
// again and decoded keep the frames peer toolkits decode; a failed
// recoding or frame write leaves the image as it was.
#include "DICOMImage.h"
#include "ImageProcess.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace
{

struct FrameReference
{
    const char* file;
    int frames;
    int frame;
    std::uint32_t length;
    std::uint64_t checksum;
};

const FrameReference References[] = {
#include "ImageCorpusReferences.inc"
};

std::vector<const FrameReference*> FramesOf(const std::string& file)
{
    std::vector<const FrameReference*> frames;
    for (const FrameReference& reference : References)
    {
        if (file == reference.file)
        {
            frames.push_back(&reference);
        }
    }
    return frames;
}

ImageBytes FrameBytes(const DICOMImage& image, int frame)
{
    const std::uint8_t* address = image.GetPixelAddress(frame);
    return address != nullptr ? ImageBytes(address, address + image.GetPixelLength(frame))
                              : ImageBytes{};
}

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
        const std::vector<const FrameReference*> frames = FramesOf(file);
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

    EXPECT_EQ(target.FormatTo(nullptr), 0);
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

} // namespace
