// The RLE decoder of "Vennet.dll": byte and plane order, round trips through a
// test encoder, and refusal of malformed frames.
#include "RleFrameBuilder.h"
#include "VennetFixture.h"

#include <functional>

namespace
{
// Pixels with long runs and noisy stretches, so both run kinds are used.
ByteVector MakePixels(size_t nBytes)
{
    ByteVector pixels(nBytes);
    uint32_t nState = 12345;
    for (size_t i = 0; i < nBytes; ++i)
    {
        nState = nState * 1103515245u + 12345u;
        pixels[i] = ((i / 300) % 2 == 0) ? static_cast<uint8_t>(i / 900) : nState >> 24;
    }
    return pixels;
}

ByteVector MakeSixteenBitGreyFrame()
{
    return EncodeRleFrame(MakePixels(2 * 500), 1, 2);
}

void WriteLittleEndian32(ByteVector& frame, size_t nPos, uint32_t nValue)
{
    for (size_t i = 0; i < 4; ++i)
    {
        frame[nPos + i] = static_cast<uint8_t>(nValue >> (8 * i));
    }
}
} // namespace

using VennetDecode = VennetFixture;

TEST_F(VennetDecode, SixteenBitSamplesComeOutLeastSignificantByteFirst)
{
    // Most significant bytes 0x12, 0x34 in the first segment, least 0x56, 0x78.
    const ByteVector frame = BuildRleFrame({{0x01, 0x12, 0x34}, {0x01, 0x56, 0x78}});
    EXPECT_EQ(Decode(frame), (ByteVector{0x56, 0x12, 0x78, 0x34}));
}

TEST_F(VennetDecode, ColourPlanesComeOutInterleaved)
{
    // Red as a replicate run, green and blue as literal runs.
    const ByteVector frame = BuildRleFrame({{0xFF, 9}, {0x01, 3, 4}, {0x01, 5, 6}});
    EXPECT_EQ(Decode(frame), (ByteVector{9, 3, 5, 9, 4, 6}));
}

TEST_F(VennetDecode, SixteenBitColourKeepsSamplesTogether)
{
    const ByteVector frame = BuildRleFrame(
        {{0x00, 0xA1}, {0x00, 0xA2}, {0x00, 0xB1}, {0x00, 0xB2}, {0x00, 0xC1}, {0x00, 0xC2}});
    EXPECT_EQ(Decode(frame), (ByteVector{0xA2, 0xA1, 0xB2, 0xB1, 0xC2, 0xC1}));
}

TEST_F(VennetDecode, NoOperationHeaderIsSkipped)
{
    const ByteVector frame = BuildRleFrame({{0x80, 0x00, 7, 0x80, 0xFE, 8}});
    EXPECT_EQ(Decode(frame), (ByteVector{7, 8, 8, 8}));
}

struct RoundTripCase
{
    size_t nSamples;
    size_t nBytesPerSample;
    size_t nPixels;
    int nPad;
};

class VennetRoundTrip : public VennetFixture, public ::testing::WithParamInterface<RoundTripCase>
{
};

TEST_P(VennetRoundTrip, DecodesWhatWasEncoded)
{
    const RoundTripCase& c = GetParam();
    const ByteVector pixels = MakePixels(c.nPixels * c.nSamples * c.nBytesPerSample);
    const ByteVector frame = EncodeRleFrame(pixels, c.nSamples, c.nBytesPerSample, c.nPad);
    EXPECT_EQ(Decode(frame), pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, VennetRoundTrip,
    ::testing::Values(RoundTripCase{1, 1, 1, -1}, RoundTripCase{1, 1, 4097, -1},
                      RoundTripCase{1, 1, 4097, 0x00}, RoundTripCase{1, 2, 333, 0x80},
                      RoundTripCase{1, 2, 512 * 512, -1}, RoundTripCase{3, 1, 100 * 100, 0x00},
                      RoundTripCase{3, 2, 257, -1}, RoundTripCase{1, 4, 99, 0x00},
                      RoundTripCase{3, 4, 10, -1}));

struct MalformedCase
{
    const char* pName;
    std::function<void(ByteVector&)> mutate;
};

class VennetMalformed : public VennetFixture, public ::testing::WithParamInterface<MalformedCase>
{
};

TEST_P(VennetMalformed, ReturnsNull)
{
    ByteVector frame = MakeSixteenBitGreyFrame();
    ASSERT_TRUE(Decode(frame).has_value());
    GetParam().mutate(frame);
    EXPECT_EQ(Decode(frame), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, VennetMalformed,
    ::testing::Values(
        MalformedCase{"ShorterThanHeader", [](ByteVector& f) { f.resize(63); }},
        MalformedCase{"NoSegment", [](ByteVector& f) { WriteLittleEndian32(f, 0, 0); }},
        MalformedCase{"FiveSegments", [](ByteVector& f) { WriteLittleEndian32(f, 0, 5); }},
        MalformedCase{"SixteenSegments", [](ByteVector& f) { WriteLittleEndian32(f, 0, 16); }},
        MalformedCase{"HugeSegmentCount",
                      [](ByteVector& f) { WriteLittleEndian32(f, 0, 0xFFFFFFFF); }},
        MalformedCase{"OffsetInsideHeader", [](ByteVector& f) { WriteLittleEndian32(f, 4, 60); }},
        MalformedCase{"OffsetsGoingBack", [](ByteVector& f) { WriteLittleEndian32(f, 8, 63); }},
        MalformedCase{"OffsetBeyondEnd", [](ByteVector& f)
                      { WriteLittleEndian32(f, 8, static_cast<uint32_t>(f.size() + 1)); }},
        MalformedCase{"EmptySegment", [](ByteVector& f) { WriteLittleEndian32(f, 8, 64); }},
        MalformedCase{"SegmentsOfDifferentLengths",
                      [](ByteVector& f) {
                          f = BuildRleFrame({{0x01, 1, 2}, {0x02, 1, 2, 3}});
                      }},
        MalformedCase{"LiteralRunCutShort",
                      [](ByteVector& f) {
                          f = BuildRleFrame({{0x05, 1, 2}});
                      }},
        MalformedCase{"LiteralRunCutInFirstSegment",
                      [](ByteVector& f) {
                          f = BuildRleFrame({{0x03, 1, 2}, {0x01, 1, 2}});
                      }}),
    [](const ::testing::TestParamInfo<MalformedCase>& info)
    { return std::string(info.param.pName); });

TEST_F(VennetDecode, EveryTruncationOfAColourFrameFails)
{
    const ByteVector frame = EncodeRleFrame(MakePixels(3 * 2 * 700), 3, 2);
    for (size_t nLength = 0; nLength < frame.size(); ++nLength)
    {
        ASSERT_EQ(Decode(frame.data(), static_cast<int>(nLength)), std::nullopt) << nLength;
    }
}

TEST_F(VennetDecode, ExpansionBeyondTheFrameLimitFails)
{
    // 2^23 + 1 replicate runs of 128 bytes ask for just over 1 GiB.
    ByteVector segment(2 * ((size_t{1} << 23) + 1), 0x00);
    for (size_t i = 0; i < segment.size(); i += 2)
    {
        segment[i] = 0x81;
    }
    EXPECT_EQ(Decode(BuildRleFrame({segment})), std::nullopt);
}

TEST_F(VennetDecode, RefusesMissingArguments)
{
    const ByteVector frame = MakeSixteenBitGreyFrame();
    int nOutLength = -1;
    EXPECT_EQ(m_pDecode(frame.data(), static_cast<int>(frame.size()), nullptr), nullptr);
    EXPECT_EQ(m_pDecode(nullptr, static_cast<int>(frame.size()), &nOutLength), nullptr);
    EXPECT_EQ(nOutLength, 0);
    EXPECT_EQ(Decode(frame.data(), 0), std::nullopt);
    EXPECT_EQ(Decode(frame.data(), -1), std::nullopt);
    m_pDelete(nullptr);
}

TEST_F(VennetDecode, ExportsOnlyItsEntries)
{
    EXPECT_EQ(m_library.GetEntry<void*>("RLE_Enc"), nullptr);
    EXPECT_EQ(m_library.GetEntry<void*>("_ZN15RleFrameDecoder7DoParseEv"), nullptr);
}
