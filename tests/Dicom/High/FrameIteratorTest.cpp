// FrameIterator: frames from memory and straight from the file, native and
// encapsulated, in every native byte order; one decoding per frame sought
// and read; the file's offsets and lengths checked before use; refusals of
// what it cannot serve.
#include "FrameIterator.h"
#include "FakeCodecLibrary.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr int Rows = 3;
constexpr int Columns = 5;

// Frames of distinct ramps.
std::vector<ImageBytes> MakeFrames(int count, int bytesPerSample, int samplesPerPixel = 1)
{
    std::vector<ImageBytes> frames;
    for (int frame = 0; frame < count; ++frame)
    {
        frames.push_back(MakeRamp(static_cast<std::size_t>(Rows * Columns * samplesPerPixel),
                                  bytesPerSample, 1000u * frame + 7, 3));
    }
    return frames;
}

ImageBytes Join(const std::vector<ImageBytes>& frames)
{
    ImageBytes joined;
    for (const ImageBytes& frame : frames)
    {
        joined.insert(joined.end(), frame.begin(), frame.end());
    }
    return joined;
}

// Seek and Next for each frame; a frame that fails is empty.
std::vector<ImageBytes> SeekEach(FrameIterator& iterator, int count)
{
    std::vector<ImageBytes> frames;
    for (int frame = 0; frame < count; ++frame)
    {
        ImageBytes bytes;
        if (iterator.Seek(frame) && iterator.Next())
        {
            bytes = TakeBuffer(iterator.Detach(), iterator.m_nFrameLength);
        }
        frames.push_back(bytes);
    }
    return frames;
}

std::vector<ImageBytes> NextAll(FrameIterator& iterator)
{
    std::vector<ImageBytes> frames;
    while (iterator.Next())
    {
        frames.push_back(TakeBuffer(iterator.Detach(), iterator.m_nFrameLength));
    }
    return frames;
}

// The frame the iterator serves from a one-frame grey image of the
// fragment under the syntax; empty when it serves none.
ImageBytes SeekOnlyFrame(int bitsAllocated, const UID& syntax, const ImageBytes& fragment)
{
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, bitsAllocated, 1, "MONOCHROME2", 1);
    SetCompressedFrames(image, syntax, {fragment});
    FrameIterator iterator(&image);
    return SeekEach(iterator, 1).front();
}

class FrameIteratorTest : public FileFolderTest
{
protected:
    void SetUp() override
    {
        FileFolderTest::SetUp();
        ResetFakes();
    }
    void TearDown() override
    {
        ResetFakes();
        FileFolderTest::TearDown();
    }

    // Writes an image and reads it back without its pixel data.
    std::string WriteImage(DICOMImage& image, const UID& syntax, const char* name = "image.dcm")
    {
        image.SetTransferSyntax(syntax);
        const std::string path = PathOf(name);
        EXPECT_NE(image.WriteFile(path.c_str(), 1), 0);
        return path;
    }

    static void ReadHeader(DICOMImage& image, const std::string& path)
    {
        ASSERT_NE(image.ReadFileNoImage(path.c_str()), 0);
        ASSERT_FALSE(image.IsExist(0x7FE0, 0x0010));
    }

    // The file offset at which the header read stopped.
    static std::uint32_t PixelOffset(const DICOMImage& header)
    {
        return header.GetUINT32(0x0007, 0x0605);
    }
};

TEST_F(FrameIteratorTest, NativeFramesComeFromMemoryBySeekAndInOrder)
{
    const std::vector<ImageBytes> frames = MakeFrames(4, 2);
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 16, 1, "MONOCHROME2", 4);
    image.SetTransferSyntax(UidTransferLittleEndian);
    SetNativePixels(image, Join(frames));
    FrameIterator iterator(&image);
    ASSERT_TRUE(iterator.IsReady());
    EXPECT_TRUE(iterator.IsInMemory());
    EXPECT_EQ(iterator.GetFrameCount(), 4);
    EXPECT_EQ(iterator.m_nFrameSize, static_cast<std::uint32_t>(Rows * Columns * 2));
    EXPECT_EQ(iterator.GetPixelKind(), FrameIterator::enPixelGrey16);
    EXPECT_EQ(iterator.GetCoding(), FrameIterator::enCodingImplicitLittle);
    EXPECT_EQ(SeekEach(iterator, 4), frames);
    EXPECT_FALSE(iterator.Seek(4));

    FrameIterator ordered(&image);
    EXPECT_EQ(NextAll(ordered), frames);
    EXPECT_TRUE(ordered.IsReady());
}

TEST_F(FrameIteratorTest, NativeFramesComeStraightFromTheFileInEveryByteOrder)
{
    struct Case
    {
        const UID* syntax;
        int bitsAllocated;
        int samples;
        const char* photometric;
    };
    const Case cases[] = {
        {&UidTransferLittleEndian, 16, 1, "MONOCHROME2"},
        {&UidTransferLittleEndianExplicit, 8, 3, "RGB"},
        {&UidTransferBigEndianExplicit, 16, 1, "MONOCHROME1"},
        {&UidTransferBigEndianExplicit, 8, 1, "PALETTE COLOR"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(static_cast<const char*>(*c.syntax));
        const std::vector<ImageBytes> frames = MakeFrames(3, c.bitsAllocated / 8, c.samples);
        DICOMImage image;
        FillImageAttributes(image, Rows, Columns, c.bitsAllocated, c.samples, c.photometric, 3);
        SetNativePixels(image, Join(frames));
        const std::string path = WriteImage(image, *c.syntax);
        DICOMImage header;
        ReadHeader(header, path);
        FrameIterator iterator(&header);
        ASSERT_TRUE(iterator.IsReady());
        EXPECT_FALSE(iterator.IsInMemory());
        EXPECT_EQ(SeekEach(iterator, 3), frames);
        FrameIterator ordered(&header);
        EXPECT_EQ(NextAll(ordered), frames);
    }
}

// A single frame is the whole value, with the padding of an odd length.
TEST_F(FrameIteratorTest, AnImageHoldingItsPixelDataIteratesFromMemory)
{
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    ImageBytes frame = MakeFrames(1, 1)[0];
    frame.push_back(0);
    SetNativePixels(image, frame);
    const std::string path = WriteImage(image, UidTransferLittleEndianExplicit);
    DICOMImage whole;
    ASSERT_NE(whole.ReadFile(path.c_str()), 0);
    FrameIterator iterator(&whole);
    EXPECT_TRUE(iterator.IsInMemory());
    EXPECT_EQ(SeekEach(iterator, 1), std::vector<ImageBytes>{frame});
}

TEST_F(FrameIteratorTest, RleFramesDecodeFromMemoryAndFromTheFile)
{
    struct Case
    {
        int bitsAllocated;
        int samples;
        const char* photometric;
    };
    const Case cases[] = {
        {8, 1, "MONOCHROME2"}, {16, 1, "MONOCHROME2"}, {8, 3, "RGB"}, {16, 3, "RGB"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.bitsAllocated) + " bits, " + c.photometric);
        const int bytes = c.bitsAllocated / 8;
        const std::vector<ImageBytes> frames = MakeFrames(3, bytes, c.samples);
        std::vector<ImageBytes> coded;
        for (const ImageBytes& frame : frames)
        {
            coded.push_back(MakeRleFrame(frame, bytes, c.samples));
        }
        DICOMImage image;
        FillImageAttributes(image, Rows, Columns, c.bitsAllocated, c.samples, c.photometric, 3);
        SetEncapsulatedPixels(image, coded);
        image.SetTransferSyntax(UidTransferRleLossless);
        FrameIterator fromMemory(&image);
        EXPECT_EQ(SeekEach(fromMemory, 3), frames);

        const std::string path = WriteImage(image, UidTransferRleLossless);
        DICOMImage header;
        ReadHeader(header, path);
        FrameIterator fromFile(&header);
        EXPECT_EQ(fromFile.GetCoding(), FrameIterator::enCodingEncapsulated);
        EXPECT_EQ(SeekEach(fromFile, 3), frames);
        FrameIterator ordered(&header);
        EXPECT_EQ(NextAll(ordered), frames);
        // The sequence delimiter after the last frame ends the iteration.
        EXPECT_FALSE(ordered.IsReady());
        EXPECT_TRUE(ordered.Seek(1));
        EXPECT_TRUE(ordered.IsReady());
    }
}

// A fake codec library with one decode entry and its free function.
template <enFakeLibrary Library>
void RegisterFakeDecoder(const char* file, const char* entry, const char* freeName)
{
    const FakeModuleEntry entries[] = {MakeFakeModuleEntry(entry, &FakeDecode<Library>),
                                       MakeFakeModuleEntry(freeName, &FakeFree<Library>)};
    RegisterFakeModule(file, entries);
}

void RegisterFakeVennet()
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("RLE_Dec", &FakeRleDecode<enFakeLibrary::Vennet>),
        MakeFakeModuleEntry("Vennet_DEL", &FakeFree<enFakeLibrary::Vennet>)};
    RegisterFakeModule("Vennet.dll", entries);
}

TEST_F(FrameIteratorTest, AFrameSoughtInMemoryIsDecodedOnceWhenReadAfterwards)
{
    RegisterFakeVennet();
    GetFakeState().reportedLength = Rows * Columns;
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 2);
    SetCompressedFrames(image, UidTransferRleLossless, {ImageBytes(66, 1), ImageBytes(66, 2)});
    FrameIterator iterator(&image);
    ASSERT_TRUE(iterator.Seek(1));
    ASSERT_TRUE(iterator.Next());
    EXPECT_EQ(GetFakeState().calls.size(), 1u);
    EXPECT_EQ(iterator.m_nFrameLength, static_cast<std::uint32_t>(Rows * Columns));
    EXPECT_EQ(GetFakeState().input, ImageBytes(66, 2));
    // Past the last frame nothing is decoded; a frame read without a seek is.
    EXPECT_FALSE(iterator.Next());
    ASSERT_TRUE(iterator.Seek(0));
    delete[] static_cast<std::uint8_t*>(iterator.Detach());
    ASSERT_TRUE(iterator.Next());
    EXPECT_EQ(GetFakeState().calls.size(), 3u);
}

TEST_F(FrameIteratorTest, AShortCodecResultIsPaddedToTheFrameWithZeros)
{
    RegisterFakeDecoder<enFakeLibrary::Quoral2K>("Quoral2K.dll", "JP2_8BitDecode", "JPGDEL");
    const ImageBytes frame = SeekOnlyFrame(8, UidTransferJpeg2000Lossless, ImageBytes(10, 0x55));
    ASSERT_EQ(frame.size(), static_cast<std::size_t>(Rows * Columns));
    const auto marker = GetFakeMarker(enFakeLibrary::Quoral2K);
    EXPECT_TRUE(std::all_of(frame.begin(), frame.begin() + 6, [&](auto b) { return b == marker; }));
    EXPECT_TRUE(std::all_of(frame.begin() + 6, frame.end(), [](auto b) { return b == 0; }));
}

TEST_F(FrameIteratorTest, PrivateFullProgressionFramesAreShiftedBack)
{
    RegisterFakeDecoder<enFakeLibrary::Quorex>("Quorex.dll", "JPEGFullProgress_12BitDecode",
                                               "jpgdel");
    GetFakeState().reportedRows = Rows;
    GetFakeState().reportedColumns = Columns;
    const ImageBytes frame = SeekOnlyFrame(16, UidTransferJpegFullProgress14Bit, ImageBytes(10, 1));
    ASSERT_EQ(frame.size(), static_cast<std::size_t>(Rows * Columns * 2));
    const std::uint16_t marker = GetFakeMarker(enFakeLibrary::Quorex) * 0x101;
    const std::uint16_t expected = static_cast<std::uint16_t>(marker << 2);
    for (std::size_t offset = 0; offset < frame.size(); offset += 2)
    {
        EXPECT_EQ(frame[offset] | frame[offset + 1] << 8, expected) << offset;
    }
}

TEST_F(FrameIteratorTest, AFailedDecodingLeavesTheCompressedFrame)
{
    RegisterAbsentModule("Vennet.dll");
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    SetCompressedFrames(image, UidTransferRleLossless, {ImageBytes(66, 9)});
    FrameIterator iterator(&image);
    EXPECT_FALSE(iterator.Seek(0));
    EXPECT_EQ(iterator.m_nFrameLength, 66u);
    ASSERT_NE(iterator.m_pFrameBuffer, nullptr);
    EXPECT_EQ(iterator.m_pFrameBuffer[65], 9);

    image.SetTransferSyntax(UidTransferJpegLsLossless);
    FrameIterator unknown(&image);
    EXPECT_FALSE(unknown.Seek(0));
    EXPECT_FALSE(unknown.Next());
}

TEST_F(FrameIteratorTest, PhotometricInterpretationsItCannotServeLeaveItNotReady)
{
    for (const char* photometric : {"YBR_PARTIAL_422", "YBR_PARTIAL_420", "monochrome2", ""})
    {
        DICOMImage image;
        FillImageAttributes(image, Rows, Columns, 8, 3, photometric, 1);
        SetNativePixels(image, ImageBytes(Rows * Columns * 3, 1));
        FrameIterator iterator(&image);
        EXPECT_FALSE(iterator.IsReady()) << photometric;
        EXPECT_FALSE(iterator.Seek(0)) << photometric;
        EXPECT_FALSE(iterator.Next()) << photometric;
    }
    for (const char* photometric : {"YBR_ICT", "YBR_RCT", "RGB", "YBR_FULL", "YBR_FULL_422"})
    {
        DICOMImage image;
        FillImageAttributes(image, Rows, Columns, 8, 3, photometric, 1);
        SetNativePixels(image, ImageBytes(Rows * Columns * 3, 1));
        FrameIterator iterator(&image);
        EXPECT_EQ(iterator.GetPixelKind(), FrameIterator::enPixelColour) << photometric;
    }
}

TEST_F(FrameIteratorTest, FullYbrFramesComeAsYCbCrOfEveryPixelInBothModes)
{
    // Two frames of 2 x 4 pixels. At 4:2:2 each two pixels of a row are
    // stored as Y1, Y2, Cb, Cr; a frame holds 16 bytes.
    constexpr int Pixels = 8;
    ImageBytes stored;
    std::vector<ImageBytes> expected(2);
    for (int frame = 0; frame < 2; ++frame)
    {
        for (int pair = 0; pair < Pixels / 2; ++pair)
        {
            const auto base = static_cast<std::uint8_t>(40 * frame + 4 * pair);
            const std::uint8_t group[4] = {base, std::uint8_t(base + 1), std::uint8_t(base + 2),
                                           std::uint8_t(base + 3)};
            stored.insert(stored.end(), group, group + 4);
            for (int half = 0; half < 2; ++half)
            {
                expected[frame].insert(expected[frame].end(), {group[half], group[2], group[3]});
            }
        }
    }
    DICOMImage image;
    FillImageAttributes(image, 2, 4, 8, 3, "YBR_FULL_422", 2);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(image, stored);
    EXPECT_EQ(image.GetFrameSize(), 16u);
    FrameIterator memory(&image);
    ASSERT_TRUE(memory.IsInMemory());
    EXPECT_EQ(SeekEach(memory, 2), expected);
    FrameIterator ordered(&image);
    EXPECT_EQ(NextAll(ordered), expected);

    DICOMImage header;
    ReadHeader(header, WriteImage(image, UidTransferLittleEndianExplicit));
    FrameIterator file(&header);
    ASSERT_TRUE(file.IsReady());
    ASSERT_FALSE(file.IsInMemory());
    EXPECT_EQ(SeekEach(file, 2), expected);
    FrameIterator fileInOrder(&header);
    EXPECT_EQ(NextAll(fileInOrder), expected);

    // YBR_FULL frames hold every pixel's samples already.
    DICOMImage full;
    FillImageAttributes(full, 2, 4, 8, 3, "YBR_FULL", 2);
    full.SetTransferSyntax(UidTransferLittleEndianExplicit);
    SetNativePixels(full, Join(expected));
    EXPECT_EQ(full.GetFrameSize(), 24u);
    FrameIterator asStored(&full);
    EXPECT_EQ(SeekEach(asStored, 2), expected);
}

TEST_F(FrameIteratorTest, WithoutAnImageOrPixelDataThereIsNothingToIterate)
{
    FrameIterator empty;
    EXPECT_FALSE(empty.IsReady());
    EXPECT_FALSE(empty.Seek(0));
    EXPECT_FALSE(empty.Next());
    EXPECT_EQ(empty.Detach(), nullptr);

    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    EXPECT_TRUE(empty.SetDicomImage(&image));
    EXPECT_FALSE(empty.IsReady());
    EXPECT_FALSE(empty.Next());
}

TEST_F(FrameIteratorTest, NativeFramesBeyondThePixelDataAreRefusedInBothModes)
{
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 4);
    const std::vector<ImageBytes> frames = MakeFrames(2, 1);
    ImageBytes pixels = Join(frames);
    pixels.push_back(1); // a part of a frame more
    SetNativePixels(image, pixels);
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    FrameIterator fromMemory(&image);
    std::vector<ImageBytes> expected = {frames[0], frames[1], {}, {}};
    EXPECT_EQ(SeekEach(fromMemory, 4), expected);

    const std::string path = WriteImage(image, UidTransferLittleEndianExplicit);
    DICOMImage header;
    ReadHeader(header, path);
    FrameIterator fromFile(&header);
    ASSERT_TRUE(fromFile.IsReady());
    EXPECT_EQ(SeekEach(fromFile, 4), expected);
}

// Damages the written file at the offset and checks that the iterator on
// its header refuses it without reading outside the file.
class FrameIteratorHostileFileTest : public FrameIteratorTest
{
protected:
    std::string WriteRleImage(int frames)
    {
        DICOMImage image;
        FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", frames);
        std::vector<ImageBytes> coded;
        for (const ImageBytes& frame : MakeFrames(frames, 1))
        {
            coded.push_back(MakeRleFrame(frame, 1, 1));
        }
        SetEncapsulatedPixels(image, coded);
        return WriteImage(image, UidTransferRleLossless);
    }

    static void Patch(const std::string& path, std::uint32_t offset, std::uint32_t value)
    {
        ImageBytes bytes = ReadBytes(path);
        ASSERT_LE(offset + 4, bytes.size());
        std::memcpy(bytes.data() + offset, &value, sizeof value);
        WriteBytes(path, bytes);
    }
};

TEST_F(FrameIteratorHostileFileTest, BadItemsAndLengthsLeaveTheIteratorNotReady)
{
    struct Case
    {
        const char* name;
        std::uint32_t offset; // from the pixel data tag
        std::uint32_t value;
    };
    // Pixel tag 4, VR and reserved 4, length 4; offset-table item at 12
    // (tag, length 0); the first frame's item at 20.
    const Case cases[] = {
        {"first item not an item", 12, 0x00100008},
        {"offset table longer than the file", 16, 0x7FFFFFF0},
        {"frame item not an item", 20, 0x12345678},
        {"frame longer than the file", 24, 0xFFFFFFF0},
        {"pixel tag elsewhere", 0, 0x00107FE2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string path = WriteRleImage(2);
        DICOMImage header;
        ReadHeader(header, path);
        Patch(path, PixelOffset(header) + c.offset, c.value);
        FrameIterator iterator(&header);
        EXPECT_FALSE(iterator.IsReady());
        EXPECT_FALSE(iterator.Seek(0));
        EXPECT_FALSE(iterator.Next());
    }
}

TEST_F(FrameIteratorHostileFileTest, MoreFramesThanItemsLeaveTheIteratorNotReady)
{
    const std::string path = WriteRleImage(2);
    DICOMImage header;
    ReadHeader(header, path);
    header.Add(0x0028, 0x0008, "3");
    FrameIterator iterator(&header);
    EXPECT_FALSE(iterator.IsReady());
    EXPECT_FALSE(iterator.Seek(2));
}

// A data set may claim more frames than its pixel data holds: present are
// the whole frames of a native value, in memory and in the file, and the
// items of encapsulated data in memory; never more than the claim.
TEST_F(FrameIteratorHostileFileTest, FramesPresentAreTheFramesThePixelDataHolds)
{
    DICOMImage native;
    native.SetTransferSyntax(UidTransferLittleEndianExplicit);
    FillImageAttributes(native, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    ImageBytes pixels = Join(MakeFrames(3, 1));
    pixels.resize(pixels.size() + Rows * Columns / 2);
    SetNativePixels(native, pixels);
    DICOMImage encapsulated;
    FillImageAttributes(encapsulated, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    std::vector<ImageBytes> coded;
    for (const ImageBytes& frame : MakeFrames(2, 1))
    {
        coded.push_back(MakeRleFrame(frame, 1, 1));
    }
    SetCompressedFrames(encapsulated, UidTransferRleLossless, coded);
    struct Case
    {
        const char* claim;
        int native;
        int encapsulated;
    };
    for (const Case& c : {Case{"2147483647", 3, 2}, Case{"3", 3, 2}, Case{"2", 2, 2},
                          Case{"1", 1, 1}, Case{"0", 0, 0}})
    {
        native.Add(0x0028, 0x0008, c.claim);
        encapsulated.Add(0x0028, 0x0008, c.claim);
        FrameIterator inMemory(&native);
        EXPECT_EQ(inMemory.GetFramesPresent(), c.native) << c.claim;
        DICOMImage header;
        ReadHeader(header, WriteImage(native, UidTransferLittleEndianExplicit));
        FrameIterator fromFile(&header);
        EXPECT_EQ(fromFile.GetFramesPresent(), c.native) << c.claim;
        FrameIterator items(&encapsulated);
        EXPECT_EQ(items.GetFramesPresent(), c.encapsulated) << c.claim;
    }
    native.Add(0x0028, 0x0004, "NONE");
    EXPECT_EQ(FrameIterator(&native).GetFramesPresent(), 0) << "not ready";
}

TEST_F(FrameIteratorHostileFileTest, NativePixelDataLongerThanTheFileIsRefused)
{
    DICOMImage image;
    FillImageAttributes(image, Rows, Columns, 8, 1, "MONOCHROME2", 1);
    SetNativePixels(image, MakeFrames(1, 1)[0]);
    const std::string path = WriteImage(image, UidTransferLittleEndianExplicit);
    DICOMImage header;
    ReadHeader(header, path);
    for (std::uint32_t length :
         {0xFFFFFFFFu, 0x10000u, static_cast<std::uint32_t>(Rows * Columns + 2)})
    {
        Patch(path, PixelOffset(header) + 8, length);
        FrameIterator iterator(&header);
        EXPECT_FALSE(iterator.IsReady()) << length;
        EXPECT_FALSE(iterator.Next()) << length;
    }
}

TEST_F(FrameIteratorHostileFileTest, AMissingFileLeavesTheIteratorNotReady)
{
    const std::string path = WriteRleImage(1);
    DICOMImage header;
    ReadHeader(header, path);
    std::filesystem::remove(path);
    FrameIterator iterator(&header);
    EXPECT_FALSE(iterator.IsReady());
    EXPECT_FALSE(iterator.Next());
}

} // namespace
