// The call layer against the real outside libraries of the build, each
// loaded by its "Name.dll" file name from the folder of the DICOM library.
#include "CodecOutputSupport.h"
#include "J2kCodecCall.h"
#include "JpegCodecCall.h"
#include "ResampleCall.h"
#include "RleCodecCall.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

// rows x columns 16-bit samples, little endian, running up to largest.
Bytes MakeRamp16(int rows, int columns, std::uint16_t largest)
{
    Bytes raw;
    const int count = rows * columns;
    for (int i = 0; i < count; ++i)
    {
        const auto value =
            static_cast<std::uint16_t>(static_cast<std::int64_t>(largest) * i / (count - 1));
        raw.push_back(static_cast<std::uint8_t>(value & 0xFF));
        raw.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    return raw;
}

class CodecShimLoad : public ::testing::Test
{
protected:
    void SetUp() override { ClearFakeModules(); }
};

TEST_F(CodecShimLoad, QuorexCodesAndDecodesLosslessly)
{
    Bytes raw(16 * 12);
    for (std::size_t i = 0; i < raw.size(); ++i)
    {
        raw[i] = static_cast<std::uint8_t>(i * 7 % 251);
    }
    CollectedOutput stream;
    ASSERT_TRUE(JpegCodecCall::Encode(enJpegProcess::Proc14SV1, enCodecLayout::Bits8, raw,
                                      stream.GetSink(), 12, 16, 0));
    ASSERT_GT(stream.bytes.size(), 2u);
    EXPECT_EQ(stream.bytes[0], 0xFF);
    EXPECT_EQ(stream.bytes[1], 0xD8);
    const DecodedFrame frame =
        DecodeFrame<JpegCodecCall>(enJpegProcess::Proc14SV1, enCodecLayout::Bits8, stream.bytes);
    ASSERT_TRUE(frame.isDecoded);
    EXPECT_EQ(frame.rows, 12);
    EXPECT_EQ(frame.columns, 16);
    EXPECT_EQ(frame.output.bytes, raw);
}

TEST_F(CodecShimLoad, QuorexBaselineKeepsTheImageCloseAndItsSize)
{
    Bytes raw(32 * 24 * 3);
    for (std::size_t i = 0; i < raw.size(); ++i)
    {
        raw[i] = static_cast<std::uint8_t>(64 + (i / 3) % 32 * 4);
    }
    CollectedOutput stream;
    ASSERT_TRUE(JpegCodecCall::Encode(enJpegProcess::Baseline, enCodecLayout::RGB, raw,
                                      stream.GetSink(), 24, 32, 95));
    const DecodedFrame frame =
        DecodeFrame<JpegCodecCall>(enJpegProcess::Baseline, enCodecLayout::RGB, stream.bytes);
    ASSERT_TRUE(frame.isDecoded);
    ASSERT_EQ(frame.output.bytes.size(), raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i)
    {
        ASSERT_LE(std::abs(frame.output.bytes[i] - raw[i]), 12) << i;
    }
}

// Lossless 16-bit frames of 15 bits go through "Quoral.dll", the others
// through "Quorex.dll"; both give the samples back.
TEST_F(CodecShimLoad, Lossless16BitFramesDecodeThroughEitherLibrary)
{
    struct Case
    {
        std::uint16_t largest;
        const char* library;
    };
    for (const Case& c : {Case{20000, "Quoral.dll"}, Case{60000, "Quorex.dll"}})
    {
        const Bytes raw = MakeRamp16(20, 30, c.largest);
        CollectedOutput stream;
        ASSERT_TRUE(JpegCodecCall::Encode(enJpegProcess::Proc14, enCodecLayout::Bits16, raw,
                                          stream.GetSink(), 20, 30, 0));
        EXPECT_STREQ(JpegCodecCall::SelectLossless16Library(stream.bytes), c.library);
        const DecodedFrame frame =
            DecodeFrame<JpegCodecCall>(enJpegProcess::Proc14, enCodecLayout::Bits16, stream.bytes);
        ASSERT_TRUE(frame.isDecoded) << c.library;
        EXPECT_EQ(frame.rows, 20);
        EXPECT_EQ(frame.columns, 30);
        EXPECT_EQ(frame.output.bytes, raw) << c.library;
    }
}

TEST_F(CodecShimLoad, Quoral2KCodesSignedSamplesLosslessly)
{
    Bytes raw = MakeRamp16(17, 23, 0xFFFF); // read as signed: -32768 .. 32767 in two runs
    CollectedOutput stream;
    ASSERT_TRUE(J2kCodecCall::Encode(enJ2kCoding::Lossless, enCodecLayout::Bits16, raw,
                                     stream.GetSink(), 17, 23, true));
    const DecodedFrame frame =
        DecodeFrame<J2kCodecCall>(enJ2kCoding::Lossless, enCodecLayout::Bits16, stream.bytes);
    ASSERT_TRUE(frame.isDecoded);
    EXPECT_EQ(frame.rows, 17);
    EXPECT_EQ(frame.columns, 23);
    EXPECT_EQ(frame.output.bytes, raw);
}

TEST_F(CodecShimLoad, Quoral2KRefusesAStreamThatIsNotJpeg2000)
{
    const DecodedFrame frame =
        DecodeFrame<J2kCodecCall>(enJ2kCoding::Lossy, enCodecLayout::Bits8, Bytes(100, 0x55));
    EXPECT_FALSE(frame.isDecoded);
    EXPECT_TRUE(frame.output.bytes.empty());
}

TEST_F(CodecShimLoad, VennetDecodesAWholeSixteenBitFrame)
{
    // 2 x 2 samples 0x0102, 0x0304, 0x0506, 0x0708: the high bytes in the
    // first segment, the low bytes in the second, each one literal run.
    Bytes frame(64, 0);
    frame[0] = 2;
    frame[4] = 64;
    frame[8] = 64 + 5;
    frame.insert(frame.end(), {3, 0x01, 0x03, 0x05, 0x07, 3, 0x02, 0x04, 0x06, 0x08});
    CollectedOutput pixels;
    ASSERT_TRUE(RleCodecCall::Decode(frame, pixels.GetSink()));
    EXPECT_EQ(pixels.bytes, (Bytes{0x02, 0x01, 0x04, 0x03, 0x06, 0x05, 0x08, 0x07}));
    EXPECT_FALSE(RleCodecCall::Decode(Bytes(frame.begin(), frame.begin() + 66), pixels.GetSink()));
}

// Pixel centres aligned: the new pixels sit at 0, 1/4, 3/4 and 1 of the way.
TEST_F(CodecShimLoad, PemsolaScalesBilinearly)
{
    const std::uint8_t source[] = {0, 80};
    std::unique_ptr<std::uint8_t[]> scaled;
    ASSERT_EQ(ResampleCall::ResampleU8(source, 2, 1, 4, 1, 0, scaled), enResampleOutcome::Done);
    EXPECT_EQ((Bytes{scaled[0], scaled[1], scaled[2], scaled[3]}), (Bytes{0, 20, 60, 80}));
}

} // namespace
