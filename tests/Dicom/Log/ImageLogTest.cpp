// What the image classes write to the library log: the attribute a check
// misses, refused photometric interpretations and transfer syntaxes,
// geometry the codec disagrees with, failed decodings and encodings, and
// the encoders' summaries.
#include "../Base/FakeCodecLibrary.h"
#include "../High/ImageTestSupport.h"
#include "FrameIterator.h"
#include "ImageProcess.h"
#include "LoggedTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

// The library started, its log open and the fake codecs reset.
class ImageLog : public LoggedLibraryTest
{
protected:
    void SetUp() override
    {
        LoggedLibraryTest::SetUp();
        ResetFakes();
    }

    void TearDown() override
    {
        ResetFakes();
        LoggedLibraryTest::TearDown();
    }
};

void FillGrey(DICOMImage& image, const UID& syntax)
{
    FillImageAttributes(image, 3, 5, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(syntax);
}

TEST_F(ImageLog, ValidationNamesTheFirstMissingAttribute)
{
    DICOMImage image("image.dcm");
    FillImageAttributes(image, 3, 5, 8, 1, "MONOCHROME2", 1);
    ExpectLines([&] { EXPECT_EQ(image.IsValid(), 0); },
                {"Enter DICOMImage::IsValid, FileLocation : image.dcm",
                 "DICOMImage::IsValid: (0x0010, 0x0020) Patient ID"});
    ExpectLines([&] { EXPECT_EQ(image.FixMe(), 0); },
                {"Enter DICOMImage::FixMe, FileLocation : image.dcm",
                 "DICOMImage::FixMe: (0x0010, 0x0010) Patient Name"});
}

TEST_F(ImageLog, RelabellingLogsWhatItCannotDo)
{
    DICOMImage image;
    image.SetTransferSyntax(UidTransferBigEndianExplicit);
    ExpectLines([&] { EXPECT_EQ(image.ConvertTo(UID()), 0); },
                {"Enter DICOMImage::ConvertTo, it's NOT a regular DICOM Image!",
                 "Enter DICOMImage::ConvertTo, Empty UID!"});
    ExpectLines([&] { EXPECT_EQ(image.ConvertTo(UidTransferRleLossless), 0); },
                {"Enter DICOMImage::ConvertTo, from <1.2.840.10008.1.2.2> to "
                 "<1.2.840.10008.1.2.5>"});
}

TEST_F(ImageLog, TheIteratorLogsWhatItRefuses)
{
    DICOMImage colour;
    FillImageAttributes(colour, 3, 5, 8, 3, "YBR_PARTIAL_420", 1);
    SetNativePixels(colour, ImageBytes(45, 0));
    ExpectLines([&] { FrameIterator iterator(&colour); },
                {"Enter FrameIterator::Init, get an unknown format image : YBR_PARTIAL_420"});

    DICOMImage lossless;
    FillGrey(lossless, UidTransferJpegLsLossless);
    SetEncapsulatedPixels(lossless, {ImageBytes(8, 0)});
    ExpectLines(
        [&]
        {
            FrameIterator iterator(&lossless);
            EXPECT_FALSE(iterator.Seek(0));
        },
        {"Enter FrameIterator::Decompress, invalid TransferSyntax : 1.2.840.10008.1.2.4.80"});
}

TEST_F(ImageLog, GeometryTheCodecDisagreesWithIsLogged)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("JP2_8BitDecode", &FakeDecode<enFakeLibrary::Quoral2K>),
        MakeFakeModuleEntry("JPGDEL", &FakeFree<enFakeLibrary::Quoral2K>)};
    RegisterFakeModule("Quoral2K.dll", entries);
    DICOMImage image;
    FillGrey(image, UidTransferJpeg2000Lossless);
    SetEncapsulatedPixels(image, {ImageBytes(8, 0)});
    ExpectLines(
        [&]
        {
            FrameIterator iterator(&image);
            EXPECT_TRUE(iterator.Seek(0));
        },
        {"FrameIterator::JP2KLosslessDecode, Row = 2 / Rows = 3",
         "FrameIterator::JP2KLosslessDecode, Column = 3 / Columns = 5",
         "FrameIterator::JP2KLosslessDecode,OSBuffer.GetSize () is:6, Rows (3)*Columns "
         "(5)*RawBitsAllocated (8)/8= 15"});
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).ConvertToRaw(), 1); },
                {"ImageProcess::JP2KLosslessDecode, Row = 2 / Rows = 3"});
}

TEST_F(ImageLog, FailedDecodingsAreLogged)
{
    RegisterAbsentModule("Vennet.dll");
    DICOMImage image;
    FillGrey(image, UidTransferRleLossless);
    SetEncapsulatedPixels(image, {ImageBytes(70, 0)});
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).ConvertToRaw(), 0); },
                {"Invoke RLEDecode failed"});
    ExpectLines(
        [&]
        {
            FrameIterator iterator(&image);
            EXPECT_FALSE(iterator.Seek(0));
        },
        {"Invoke RLEDecode failed"});

    DICOMImage adaptive;
    FillGrey(adaptive, UidTransferJpegFullProgressAdaptive);
    SetEncapsulatedPixels(adaptive, {ImageBytes(8, 0)});
    RegisterAbsentModule("Quorex.dll");
    ExpectLines([&] { EXPECT_EQ(ImageProcess(adaptive, 0).ConvertToRaw(), 0); },
                {"ImageProcess::JPEGFullProgressDecode_Adaptive, cannot find proper Transfer "
                 "SyntaxUID in DICOM file !!!",
                 "Invoke JPEGFullProgressDecode failed"});
}

TEST_F(ImageLog, ConversionsLogWhyTheyFail)
{
    DICOMImage image;
    FillGrey(image, UidTransferLittleEndian);
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).ConvertTo(UidTransferLittleEndian), 0); },
                {"Enter ImageProcess::ConvertToRaw, bad Attached DicomImage",
                 "Invoke ConvertToRaw () failed"});
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).ConvertTo(UID()), 0); },
                {"Enter ImageProcess::ConvertTo (), TrnsynUID is empty!"});
    SetNativePixels(image, ImageBytes(16, 1));
    ExpectLines(
        [&] { EXPECT_EQ(ImageProcess(image, 0).ConvertTo(UidTransferBigEndianExplicit), 0); },
        {"Enter ImageProcess::ConvertTo, Rows: 3, Columns: 5, BitsAllocated: 8",
         "Enter ImageProcess::ConvertToCompress, invalid TransferSyntax : 1.2.840.10008.1.2.2"});
}

TEST_F(ImageLog, EncodersSummariseOrNameTheirFailure)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("JP2_8BitEncode", &FakeJ2kEncode<enFakeLibrary::Quoral2K>),
        MakeFakeModuleEntry("JPGDEL", &FakeFree<enFakeLibrary::Quoral2K>)};
    RegisterFakeModule("Quoral2K.dll", entries);
    GetFakeState().reportedLength = 4;
    DICOMImage image;
    FillGrey(image, UidTransferLittleEndianExplicit);
    SetNativePixels(image, ImageBytes(16, 1));
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).JP2KLosslessEncode(), 1); },
                {"Leave JP2KLosslessEncode, Quality : 90, CompPixelLength : 4, Rate : 4"});
    GetFakeState().answer = enFakeAnswer::Null;
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).JP2KLosslessEncode(), 0); },
                {"Invoke JP2KLosslessEncode failed"});
    RegisterAbsentModule("Quorex.dll");
    ExpectLines([&] { EXPECT_EQ(ImageProcess(image, 0).JPEGFullProgressEncode_13Bit(), 0); },
                {"Invoke JPEGFullProgress_12BitEncode failed"});
}

} // namespace
