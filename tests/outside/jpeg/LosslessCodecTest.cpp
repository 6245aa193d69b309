// The lossless encoder and decoder of the core, below the entries: every
// predictor, the choice among them, and the limits a decoder puts on a stream.
#include "JpegMarkers.h"
#include "LosslessDecoder.h"
#include "LosslessEncoder.h"
#include "SampleLayout.h"
#include "TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using quorex::LosslessDecoder;
using quorex::LosslessEncoder;
using quorex::SampleImage;

SampleImage MakeSampleImage(int nRows, int nColumns, int nBits)
{
    const ByteVector raw = MakeGreyImage16(nRows, nColumns, nBits, false);
    return quorex::FromLayout(raw.data(), nRows, nColumns, quorex::enSampleLayout::Grey16);
}

class LosslessPredictorTest : public ::testing::TestWithParam<int>
{
};

TEST_P(LosslessPredictorTest, RoundTripsEveryPrecision)
{
    for (const int nBits : {2, 5, 8, 11, 12, 15, 16})
    {
        const SampleImage image = MakeSampleImage(29, 31, nBits);
        const std::vector<uint8_t> stream = LosslessEncoder::DoEncode(image, GetParam());
        const SampleImage decoded = LosslessDecoder::DoDecode(quorex::ByteSpan(stream));
        EXPECT_EQ(decoded.nPrecision, nBits);
        EXPECT_EQ(decoded.samples, image.samples) << nBits << " bits";
    }
}

INSTANTIATE_TEST_SUITE_P(SelectionValues, LosslessPredictorTest, ::testing::Range(1, 8));

TEST(LosslessCodecTest, ChosenPredictorCodesNoLargerThanAnyOther)
{
    const SampleImage image = MakeSampleImage(64, 64, 12);
    const size_t nChosen = LosslessEncoder::DoEncode(image, 0).size();
    for (int nPredictor = 1; nPredictor <= 7; ++nPredictor)
    {
        EXPECT_LE(nChosen, LosslessEncoder::DoEncode(image, nPredictor).size())
            << "predictor " << nPredictor;
    }
}

TEST(LosslessCodecTest, FlatImageCodesInAboutOneBitPerSample)
{
    SampleImage image = MakeSampleImage(64, 64, 16);
    std::fill(image.samples.begin(), image.samples.end(), uint16_t{7});
    const std::vector<uint8_t> stream = LosslessEncoder::DoEncode(image, 0);
    EXPECT_LT(stream.size(), 64u * 64u / 8u + 100u);
    EXPECT_EQ(LosslessDecoder::DoDecode(quorex::ByteSpan(stream)).samples, image.samples);
}

TEST(LosslessCodecTest, FrameLargerThanItsStreamCanHoldIsRejected)
{
    std::vector<uint8_t> stream = LosslessEncoder::DoEncode(MakeSampleImage(8, 8, 12), 1);
    // Claim 4096 x 4096 samples: at one bit each they need 2 MB of data.
    const size_t nFrame = 2; // right after SOI
    ASSERT_EQ(stream[nFrame + 1], quorex::marker::kSof3);
    stream[nFrame + 5] = 0x10;
    stream[nFrame + 6] = 0x00;
    stream[nFrame + 7] = 0x10;
    stream[nFrame + 8] = 0x00;
    EXPECT_THROW(LosslessDecoder::DoDecode(quorex::ByteSpan(stream)), quorex::JpegFormatError);
}

TEST(LosslessCodecTest, PointTransformBeyondThePrecisionIsRejected)
{
    std::vector<uint8_t> stream = LosslessEncoder::DoEncode(MakeSampleImage(8, 8, 4), 1);
    // The last byte of the scan header holds Ah and Al.
    const uint8_t kScanMarker[] = {0xFF, quorex::marker::kSos};
    const auto sos =
        std::search(stream.begin(), stream.end(), std::begin(kScanMarker), std::end(kScanMarker));
    ASSERT_NE(sos, stream.end());
    const size_t nScanHeaderEnd = static_cast<size_t>(sos - stream.begin()) + 2 + 8;
    stream[nScanHeaderEnd - 1] = 0x04;
    EXPECT_THROW(LosslessDecoder::DoDecode(quorex::ByteSpan(stream)), quorex::JpegFormatError);
}
} // namespace
