// Bad arguments and damaged streams give null, never a crash or a read or write
// outside the buffers (the sanitizers watch the latter).
#include "JpegStreamInfo.h"
#include "Quorex.h"
#include "QuorexCaller.h"
#include "TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{
constexpr int kRows = 37;
constexpr int kColumns = 45;

// A stream made by one of our encoders, and the entry that decodes it.
struct StreamCase
{
    const char* pEncode;
    const char* pDecode;
    int nBits; // 8, 12 or 16 for grey, 24 for RGB
    bool bLossless;
};

void PrintTo(const StreamCase& streamCase, std::ostream* pStream)
{
    *pStream << streamCase.pEncode;
}

ByteVector MakeImage(const StreamCase& streamCase)
{
    if (streamCase.nBits == 24)
    {
        return MakeRgbImage(kRows, kColumns);
    }
    if (streamCase.nBits == 8)
    {
        return MakeGreyImage8(kRows, kColumns);
    }
    return MakeGreyImage16(kRows, kColumns, streamCase.nBits, false);
}

ByteVector MakeStream(const QuorexCaller& quorex, const StreamCase& streamCase)
{
    const ByteVector image = MakeImage(streamCase);
    const auto stream = streamCase.bLossless
                            ? quorex.EncodeLossless(streamCase.pEncode, image, kRows, kColumns)
                            : quorex.EncodeLossy(streamCase.pEncode, image, kRows, kColumns, 90);
    return stream.value_or(ByteVector());
}

// Position of the final EOI marker.
size_t FindEndOfImage(const ByteVector& stream)
{
    return stream.size() - 2;
}

class JpegDamagedStreamTest : public ::testing::TestWithParam<StreamCase>
{
protected:
    QuorexCaller m_quorex;
};

TEST_P(JpegDamagedStreamTest, EveryTruncationInsideTheDataGivesNull)
{
    const ByteVector stream = MakeStream(m_quorex, GetParam());
    ASSERT_FALSE(stream.empty());
    ASSERT_TRUE(m_quorex.Decode(GetParam().pDecode, stream).bReturned);
    for (size_t nLength = 0; nLength < FindEndOfImage(stream); ++nLength)
    {
        const DecodeResult result = m_quorex.Decode(GetParam().pDecode, stream.data(), nLength);
        ASSERT_FALSE(result.bReturned) << "length " << nLength;
        EXPECT_EQ(result.nRows, 0);
        EXPECT_EQ(result.nColumns, 0);
    }
}

TEST_P(JpegDamagedStreamTest, CorruptedBytesNeverBreakOut)
{
    const ByteVector stream = MakeStream(m_quorex, GetParam());
    ASSERT_FALSE(stream.empty());
    const int nBytesPerPixel = GetBytesPerPixelOfEntry(GetParam().pDecode);
    for (size_t nPos = 2; nPos < stream.size(); ++nPos)
    {
        for (const uint8_t nValue : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t(stream[nPos] ^ 0x10)})
        {
            ByteVector damaged = stream;
            damaged[nPos] = nValue;
            const DecodeResult result = m_quorex.Decode(GetParam().pDecode, damaged);
            if (result.bReturned)
            {
                // The helper has copied rows x columns pixels out of the buffer.
                EXPECT_EQ(result.pixels.size(),
                          size_t(result.nRows) * size_t(result.nColumns) * size_t(nBytesPerPixel));
            }
        }
    }
}

TEST_P(JpegDamagedStreamTest, ClaimedHugeFrameGivesNull)
{
    ByteVector stream = MakeStream(m_quorex, GetParam());
    ASSERT_FALSE(stream.empty());
    // The frame header's rows and columns follow its length and precision.
    for (size_t nPos = 2; nPos + 8 < stream.size(); ++nPos)
    {
        if (stream[nPos] == 0xFF && stream[nPos + 1] >= 0xC0 && stream[nPos + 1] <= 0xC3)
        {
            std::fill(stream.begin() + static_cast<ptrdiff_t>(nPos) + 5,
                      stream.begin() + static_cast<ptrdiff_t>(nPos) + 9, uint8_t{0xFF});
            break;
        }
    }
    EXPECT_EQ(ReadJpegStreamInfo(stream.data(), stream.size()).nRows, 65535);
    EXPECT_FALSE(m_quorex.Decode(GetParam().pDecode, stream).bReturned);
}

const StreamCase kStreamCases[] = {
    {"JPEGBaseline_8BitEncode", "JPEGBaseline_8BitDecode", 8, false},
    {"JPEGBaseline_RGBEncode", "JPEGBaseline_RGBDecode", 24, false},
    {"JPEGFullProgress_8BitEncode", "JPEGFullProgress_8BitDecode", 8, false},
    {"JPEGSpectralProc_RGBEncode", "JPEGSpectralProc_RGBDecode", 24, false},
    {"JPEGExtendedProc_12BitEncode", "JPEGExtendedProc_12BitDecode", 12, false},
    {"JPEGFullProgress_12BitEncode", "JPEGFullProgress_12BitDecode", 12, false},
    {"JPEGProc14_16BitEncode", "JPEGProc14_16BitDecode", 16, true},
    {"JPEGProc14SV1_RGBEncode", "JPEGProc14SV1_RGBDecode", 24, true},
    {"JPEGProc14_8BitEncode", "JPEGProc14_8BitDecode", 8, true},
};

INSTANTIATE_TEST_SUITE_P(Streams, JpegDamagedStreamTest, ::testing::ValuesIn(kStreamCases),
                         [](const ::testing::TestParamInfo<StreamCase>& info)
                         { return std::string(info.param.pEncode); });

class JpegBadArgumentTest : public ::testing::Test
{
protected:
    QuorexCaller m_quorex;
    ShimLibrary m_library{"Quorex"};
};

TEST_F(JpegBadArgumentTest, DecodeRejectsMissingDataAndPointers)
{
    const auto pDecode = m_library.GetEntry<PFN_JpegDecode>("JPEGBaseline_8BitDecode");
    ASSERT_NE(pDecode, nullptr);
    const ByteVector image = MakeGreyImage8(kRows, kColumns);
    const ByteVector stream =
        m_quorex.EncodeLossy("JPEGBaseline_8BitEncode", image, kRows, kColumns, 90).value();
    const int nLength = static_cast<int>(stream.size());
    int nRows = -1;
    int nColumns = -1;
    EXPECT_EQ(pDecode(nullptr, &nRows, &nColumns, nLength), nullptr);
    EXPECT_EQ(nRows, 0);
    EXPECT_EQ(nColumns, 0);
    EXPECT_EQ(pDecode(stream.data(), &nRows, &nColumns, 0), nullptr);
    EXPECT_EQ(pDecode(stream.data(), &nRows, &nColumns, -5), nullptr);
    EXPECT_EQ(pDecode(stream.data(), nullptr, &nColumns, nLength), nullptr);
    EXPECT_EQ(pDecode(stream.data(), &nRows, nullptr, nLength), nullptr);
}

TEST_F(JpegBadArgumentTest, DecodeRejectsWhatIsNoJpegStream)
{
    const ByteVector empty = {0xFF, 0xD8, 0xFF, 0xD9, 0x00, 0x12};
    const ByteVector text = {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'};
    // A hierarchical frame (SOF5) and an arithmetic-coded one (SOF9).
    const ByteVector hierarchical = {0xFF, 0xD8, 0xFF, 0xC5, 0x00, 0x0B, 0x08, 0x00,
                                     0x10, 0x00, 0x10, 0x01, 0x01, 0x11, 0x00};
    const ByteVector arithmetic = {0xFF, 0xD8, 0xFF, 0xC9, 0x00, 0x0B, 0x0C, 0x00,
                                   0x10, 0x00, 0x10, 0x01, 0x01, 0x11, 0x00};
    for (const ByteVector& stream : {empty, text, hierarchical, arithmetic})
    {
        for (const char* pEntry : {"JPEGBaseline_8BitDecode", "JPEGBaseline_RGBDecode",
                                   "JPEGFullProgress_12BitDecode", "JPEGProc14_16BitDecode"})
        {
            EXPECT_FALSE(m_quorex.Decode(pEntry, stream).bReturned) << pEntry;
        }
    }
}

TEST_F(JpegBadArgumentTest, EncodeRejectsBadGeometry)
{
    const auto pEncode = m_library.GetEntry<PFN_JpegLossyEncode>("JPEGBaseline_8BitEncode");
    ASSERT_NE(pEncode, nullptr);
    const ByteVector image = MakeGreyImage8(kRows, kColumns);
    int nLength = -1;
    EXPECT_EQ(pEncode(nullptr, kRows, kColumns, 90, &nLength), nullptr);
    EXPECT_EQ(nLength, 0);
    EXPECT_EQ(pEncode(image.data(), 0, kColumns, 90, &nLength), nullptr);
    EXPECT_EQ(pEncode(image.data(), kRows, -1, 90, &nLength), nullptr);
    EXPECT_EQ(pEncode(image.data(), 1, 70000, 90, &nLength), nullptr);
    EXPECT_EQ(pEncode(image.data(), kRows, kColumns, 90, nullptr), nullptr);
}

TEST_F(JpegBadArgumentTest, LayoutThatDoesNotFitTheStreamGivesNull)
{
    const ByteVector grey = m_quorex
                                .EncodeLossy("JPEGBaseline_8BitEncode",
                                             MakeGreyImage8(kRows, kColumns), kRows, kColumns, 90)
                                .value();
    const ByteVector colour = m_quorex
                                  .EncodeLossy("JPEGBaseline_RGBEncode",
                                               MakeRgbImage(kRows, kColumns), kRows, kColumns, 90)
                                  .value();
    EXPECT_FALSE(m_quorex.Decode("JPEGBaseline_RGBDecode", grey).bReturned);
    EXPECT_FALSE(m_quorex.Decode("JPEGBaseline_8BitDecode", colour).bReturned);
}

TEST_F(JpegBadArgumentTest, EightBitStreamThroughTwelveBitEntryIsWidened)
{
    const ByteVector stream = m_quorex
                                  .EncodeLossy("JPEGExtendedProc_8BitEncode",
                                               MakeGreyImage8(kRows, kColumns), kRows, kColumns, 90)
                                  .value();
    const DecodeResult narrow = m_quorex.Decode("JPEGExtendedProc_8BitDecode", stream);
    const DecodeResult wide = m_quorex.Decode("JPEGExtendedProc_12BitDecode", stream);
    ASSERT_TRUE(narrow.bReturned && wide.bReturned);
    ASSERT_EQ(wide.pixels.size(), 2 * narrow.pixels.size());
    for (size_t i = 0; i < narrow.pixels.size(); ++i)
    {
        ASSERT_EQ(wide.pixels[2 * i], narrow.pixels[i]);
        ASSERT_EQ(wide.pixels[2 * i + 1], 0);
    }
}

TEST_F(JpegBadArgumentTest, TwelveBitSamplesAboveTheRangeAreClipped)
{
    const ByteVector image = MakeGreyImage16(kRows, kColumns, 16, false);
    ByteVector clipped = image;
    for (size_t i = 0; i < clipped.size(); i += 2)
    {
        if ((clipped[i] | clipped[i + 1] << 8) > 4095)
        {
            clipped[i] = 0xFF;
            clipped[i + 1] = 0x0F;
        }
    }
    EXPECT_EQ(m_quorex.EncodeLossy("JPEGExtendedProc_12BitEncode", image, kRows, kColumns, 90),
              m_quorex.EncodeLossy("JPEGExtendedProc_12BitEncode", clipped, kRows, kColumns, 90));
}

TEST_F(JpegBadArgumentTest, OutOfRangeQualityIsClamped)
{
    const ByteVector image = MakeGreyImage8(kRows, kColumns);
    const auto lowest = m_quorex.EncodeLossy("JPEGBaseline_8BitEncode", image, kRows, kColumns, 1);
    const auto below = m_quorex.EncodeLossy("JPEGBaseline_8BitEncode", image, kRows, kColumns, -7);
    const auto highest =
        m_quorex.EncodeLossy("JPEGBaseline_8BitEncode", image, kRows, kColumns, 100);
    const auto above =
        m_quorex.EncodeLossy("JPEGBaseline_8BitEncode", image, kRows, kColumns, 1000);
    ASSERT_TRUE(lowest && below && highest && above);
    EXPECT_EQ(*lowest, *below);
    EXPECT_EQ(*highest, *above);
}
} // namespace
