// DICOMImage: frame counts and sizes, the frames inside native and
// encapsulated pixel data, storing frames back, relabelling between the
// native syntaxes, validation and repair, the reference count and the icon
// link.
#include "DICOMImage.h"
#include "DICOMImageIcon.h"
#include "ImageTestSupport.h"
#include "VRCode.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

class DICOMImageTest : public LibraryTest
{
};

TEST_F(DICOMImageTest, FramesAreCountedFromTheNumberOfFramesText)
{
    struct Case
    {
        const char* text; // null: no (0028,0008)
        int frames;
    };
    const Case cases[] = {{nullptr, 1}, {"10", 10}, {"0A", 10}, {"1A", 1}, {"0", 0}};
    for (const Case& c : cases)
    {
        DICOMImage image;
        image.Add(0x0028, 0x0010, static_cast<unsigned short>(4));
        if (c.text != nullptr)
        {
            image.Add(0x0028, 0x0008, c.text);
        }
        EXPECT_EQ(image.GetNumberOfFrames(), c.frames) << (c.text ? c.text : "absent");
    }
    EXPECT_EQ(DICOMImage().GetNumberOfFrames(), 0);
}

TEST_F(DICOMImageTest, AFrameTakesWholeBytesPerSampleOrPackedBits)
{
    struct Case
    {
        int bitsAllocated;
        int samples;
        std::uint32_t size;
    };
    const Case cases[] = {{8, 1, 12}, {16, 1, 24}, {32, 1, 48}, {8, 3, 36}, {16, 3, 72}, {1, 1, 2}};
    for (const Case& c : cases)
    {
        DICOMImage image;
        FillImageAttributes(image, 3, 4, c.bitsAllocated, c.samples, "MONOCHROME2", 1);
        EXPECT_EQ(image.GetFrameSize(), c.size) << c.bitsAllocated << " bits, " << c.samples;
    }
}

TEST_F(DICOMImageTest, ASingleNativeFrameIsTheWholeValue)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 1);
    SetNativePixels(image, {1, 2, 3, 4, 5, 6});
    ASSERT_NE(image.GetPixelAddress(0), nullptr);
    EXPECT_EQ(image.GetPixelAddress(0)[5], 6);
    EXPECT_EQ(image.GetPixelLength(0), 6u);
    EXPECT_EQ(image.GetPixelAddress(1), nullptr);
    EXPECT_EQ(image.GetPixelLength(1), 0u);
}

TEST_F(DICOMImageTest, NativeFramesFollowEachOtherAndMustLieInsideTheValue)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 16, 1, "MONOCHROME2", 3);
    // Two and a half frames of 8 bytes.
    SetNativePixels(image, MakeRamp(10, 2));
    for (int frame : {0, 1})
    {
        ASSERT_NE(image.GetPixelAddress(frame), nullptr);
        EXPECT_EQ(image.GetPixelAddress(frame)[0], 8 * frame / 2);
        EXPECT_EQ(image.GetPixelLength(frame), 8u);
    }
    for (int frame : {2, 3, -1})
    {
        EXPECT_EQ(image.GetPixelAddress(frame), nullptr) << frame;
        EXPECT_EQ(image.GetPixelLength(frame), 0u) << frame;
    }
}

TEST_F(DICOMImageTest, EncapsulatedFramesAreTheFragmentsAfterTheOffsetTable)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 2);
    SetEncapsulatedPixels(image, {{1, 2}, {3, 4, 5, 6}});
    ASSERT_NE(image.GetPixelAddress(1), nullptr);
    EXPECT_EQ(image.GetPixelAddress(1)[0], 3);
    EXPECT_EQ(image.GetPixelLength(0), 2u);
    EXPECT_EQ(image.GetPixelLength(1), 4u);
    EXPECT_EQ(image.GetPixelAddress(2), nullptr);

    SetEncapsulatedPixels(image, {});
    EXPECT_EQ(image.GetPixelAddress(0), nullptr);
    EXPECT_EQ(image.GetPixelLength(0), 0u);
}

TEST_F(DICOMImageTest, WithoutPixelDataThereIsNoFrame)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 1);
    EXPECT_EQ(image.GetPixelAddress(0), nullptr);
    EXPECT_EQ(image.GetPixelLength(0), 0u);
    EXPECT_EQ(image.ReleasePixelData(), 1);
}

TEST_F(DICOMImageTest, StoringAFrameOfOddLengthPadsItWithAZero)
{
    DICOMImage image;
    FillImageAttributes(image, 1, 1, 8, 3, "RGB", 1);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    ASSERT_EQ(image.CopyToPixelBuffer(NewBuffer({7, 8, 9}), 3, 0, 1, 1, 8, 8, 7), 1);
    EXPECT_EQ(image.GetPixelLength(0), 4u);
    const std::uint8_t* pixels = image.GetPixelAddress(0);
    EXPECT_EQ(ImageBytes(pixels, pixels + 4), (ImageBytes{7, 8, 9, 0}));
}

TEST_F(DICOMImageTest, StoringAFrameSetsTheGeometry)
{
    DICOMImage image;
    FillImageAttributes(image, 1, 1, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferLittleEndian);
    ASSERT_EQ(image.CopyToPixelBuffer(NewBuffer(MakeRamp(6, 2)), 12, 0, 3, 2, 16, 12, 11), 1);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0010), 2);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0011), 3);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0100), 16);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0101), 12);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0102), 11);
    EXPECT_EQ(image.GetVR(0x0028, 0x0010)->GetLength(), 2u);
}

TEST_F(DICOMImageTest, NativeFramesAreStoredAtTheirPlaceAndShortOnesRefused)
{
    DICOMImage image;
    FillImageAttributes(image, 1, 2, 8, 1, "MONOCHROME2", 3);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    ASSERT_EQ(image.CopyToPixelBuffer(NewBuffer({5, 6}), 2, 1, 2, 1, 8, 8, 7), 1);
    EXPECT_EQ(image.GetVR(0x7FE0, 0x0010)->GetLength(), 6u);
    EXPECT_EQ(image.GetPixelAddress(1)[0], 5);
    EXPECT_EQ(image.GetPixelAddress(1)[1], 6);
    EXPECT_EQ(image.CopyToPixelBuffer(NewBuffer({1, 2}), 2, 3, 2, 1, 8, 8, 7), 0);
    EXPECT_EQ(image.CopyToPixelBuffer(NewBuffer({1}), 1, 0, 4, 1, 8, 8, 7), 0);
}

TEST_F(DICOMImageTest, CompressedFramesBecomeFragments)
{
    DICOMImage image;
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 2);
    image.SetTransferSyntax(UidTransferRleLossless);
    ASSERT_EQ(image.CopyToPixelBuffer(NewBuffer({1, 2, 3, 4}), 4, 1, 2, 2, 8, 8, 7), 1);
    const VR* pixel = image.GetVR(0x7FE0, 0x0010);
    EXPECT_EQ(pixel->GetItemCount(), 3);
    EXPECT_EQ(pixel->GetTypeCode(), VRCode::OB);
    EXPECT_EQ(image.GetPixelLength(0), 0u);
    EXPECT_EQ(image.GetPixelLength(1), 4u);
    EXPECT_EQ(image.GetPixelAddress(1)[3], 4);
    EXPECT_EQ(image.CopyToPixelBuffer(NewBuffer({9, 9}), 2, 2, 2, 2, 8, 8, 7), 0);
}

// A big-endian image keeps native pixel data: its byte order is applied
// only when the file is written.
TEST_F(DICOMImageTest, BigEndianFramesStayNative)
{
    DICOMImage image;
    FillImageAttributes(image, 1, 2, 8, 1, "MONOCHROME2", 1);
    image.SetTransferSyntax(UidTransferBigEndianExplicit);
    ASSERT_EQ(image.CopyToPixelBuffer(NewBuffer({1, 2}), 2, 0, 2, 1, 8, 8, 7), 1);
    EXPECT_EQ(image.GetVR(0x7FE0, 0x0010)->GetItemCount(), 0);
    EXPECT_EQ(image.GetPixelLength(0), 2u);
}

TEST_F(DICOMImageTest, RelabellingWorksBetweenTheNativeSyntaxesOnly)
{
    struct Case
    {
        const UID* from; // null: no syntax yet
        const UID* to;
        int result;
    };
    const Case cases[] = {
        {&UidTransferBigEndianExplicit, &UidTransferLittleEndianExplicit, 1},
        {&UidTransferLittleEndian, &UidTransferBigEndianExplicit, 1},
        {&UidTransferRleLossless, &UidTransferRleLossless, 1},
        {nullptr, &UidTransferJpeg2000, 1},
        {&UidTransferLittleEndianExplicit, &UidTransferJpegBaselineProcess1, 0},
        {&UidTransferRleLossless, &UidTransferLittleEndianExplicit, 0},
    };
    for (const Case& c : cases)
    {
        DICOMImage image("unused.dcm");
        SetNativePixels(image, {1, 2});
        if (c.from != nullptr)
        {
            image.SetTransferSyntax(*c.from);
        }
        EXPECT_EQ(image.ConvertTo(*c.to), c.result) << static_cast<const char*>(*c.to);
        UID syntax;
        image.GetTransferSyntax(syntax);
        EXPECT_EQ(syntax, c.result != 0 ? *c.to : *c.from);
    }
}

TEST_F(DICOMImageTest, ConvertToRawRelabelsAsExplicitLittleEndianAndAnEmptyTargetFails)
{
    DICOMImage image;
    image.SetTransferSyntax(UidTransferBigEndianExplicit);
    EXPECT_EQ(image.ConvertTo(UID()), 0);
    EXPECT_EQ(image.ConvertToRaw(), 1);
    UID syntax;
    image.GetTransferSyntax(syntax);
    EXPECT_EQ(syntax, UidTransferLittleEndianExplicit);
}

void FillRequiredAttributes(DICOMImage& image)
{
    FillImageAttributes(image, 2, 2, 8, 1, "MONOCHROME2", 1);
    image.Add(0x0008, 0x0020, "20240101");
    image.Add(0x0008, 0x0030, "120000");
    image.Add(0x0008, 0x0050, "A1");
    image.Add(0x0008, 0x0090, "Doe^John");
    image.Add(0x0010, 0x0010, "Doe^Jane");
    image.Add(0x0010, 0x0020, "P1");
    image.Add(0x0010, 0x0030, "19700101");
    image.Add(0x0010, 0x0040, "F");
    image.Add(0x0020, 0x000D, UID("1.2.3"));
    image.Add(0x0020, 0x000E, UID("1.2.3.4"));
    image.Add(0x0020, 0x0010, "7");
    image.Add(0x0020, 0x0011, "1");
    image.Add(0x0020, 0x0013, "1");
    SetNativePixels(image, {0, 0, 0, 0});
}

TEST_F(DICOMImageTest, AnImageIsValidWithEveryRequiredAttribute)
{
    DICOMImage image;
    FillRequiredAttributes(image);
    EXPECT_EQ(image.IsValid(), 1);
    for (const auto& tag : {std::pair<int, int>{0x0008, 0x0016},
                            {0x0010, 0x0040},
                            {0x0020, 0x0010},
                            {0x0028, 0x0103},
                            {0x7FE0, 0x0010}})
    {
        DICOMImage lacking;
        FillRequiredAttributes(lacking);
        lacking.Delete(static_cast<unsigned short>(tag.first),
                       static_cast<unsigned short>(tag.second));
        EXPECT_EQ(lacking.IsValid(), 0) << std::hex << tag.first << "," << tag.second;
    }
}

TEST_F(DICOMImageTest, RepairFillsStudyIdHighBitAndPixelRepresentation)
{
    DICOMImage image;
    FillRequiredAttributes(image);
    image.Delete(0x0020, 0x0010);
    image.Delete(0x0028, 0x0102);
    image.Delete(0x0028, 0x0103);
    EXPECT_EQ(image.FixMe(), 1);
    EXPECT_STREQ(image.GetLettra(0x0020, 0x0010), "99");
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0102), 7);
    EXPECT_EQ(image.GetUINT16(0x0028, 0x0103), 0);
    EXPECT_EQ(image.IsValid(), 1);

    image.Delete(0x0008, 0x0060);
    EXPECT_EQ(image.FixMe(), 0);
}

TEST_F(DICOMImageTest, RepairRewritesTheIdentifiersAsCleanUids)
{
    DICOMImage image;
    FillRequiredAttributes(image);
    image.Add(0x0020, 0x000D, "1.2.840.5   ");
    image.Add(0x0010, 0x0020, "");
    EXPECT_EQ(image.FixMe(), 1);
    const VR* study = image.GetVR(0x0020, 0x000D);
    EXPECT_EQ(study->GetTypeCode(), VRCode::UI);
    EXPECT_EQ(study->GetLength(), 10u);
    EXPECT_STREQ(image.GetLettra(0x0020, 0x000D), "1.2.840.5");
    EXPECT_EQ(image.GetVR(0x0010, 0x0020)->GetLength(), 0u);
}

TEST_F(DICOMImageTest, TheReferenceCountNeverFallsBelowZero)
{
    DICOMImage image;
    image.IncReferenceCount();
    image.IncReferenceCount();
    EXPECT_EQ(image.GetReferenceCount(), 2);
    image.DecReferenceCount();
    image.DecReferenceCount();
    image.DecReferenceCount();
    EXPECT_EQ(image.GetReferenceCount(), 0);
}

TEST_F(DICOMImageTest, ACopyHasNoIconAndNoReferences)
{
    DICOMImageIcon icon;
    DICOMImage image;
    FillRequiredAttributes(image);
    image.AttachIcon(&icon);
    icon.AttachImage(&image);
    image.IncReferenceCount();
    const DICOMImage copy(image);
    EXPECT_EQ(copy.GetAttachedIcon(), nullptr);
    EXPECT_EQ(copy.GetReferenceCount(), 0);
    EXPECT_EQ(copy.GetNumberOfFrames(), 1);
    EXPECT_EQ(copy.GetPixelLength(0), 4u);
}

TEST_F(DICOMImageTest, TheIconLinkIsClearedFromEitherSide)
{
    auto image = std::make_unique<DICOMImage>();
    auto icon = std::make_unique<DICOMImageIcon>();
    image->AttachIcon(icon.get());
    icon->AttachImage(image.get());
    image.reset();
    EXPECT_EQ(icon->GetAttachedImage(), nullptr);

    DICOMImage other;
    other.AttachIcon(icon.get());
    icon->AttachImage(&other);
    icon.reset();
    EXPECT_EQ(other.GetAttachedIcon(), nullptr);
}

TEST_F(DICOMImageTest, AttachingAnotherIconReleasesTheOldOne)
{
    DICOMImage image;
    DICOMImageIcon first;
    DICOMImageIcon second;
    image.AttachIcon(&first);
    first.AttachImage(&image);
    image.AttachIcon(&second);
    second.AttachImage(&image);
    EXPECT_EQ(first.GetAttachedImage(), nullptr);
    EXPECT_EQ(image.GetAttachedIcon(), &second);

    // An icon attached elsewhere no longer holds the image it left.
    DICOMImage other;
    other.AttachIcon(&second);
    second.AttachImage(&other);
    EXPECT_EQ(image.GetAttachedIcon(), nullptr);
}

} // namespace
