// Lossy encode entries: the stream has the structure of its process, and
// decoding it gives the picture back within a stated error.
#include "JpegStreamInfo.h"
#include "QuorexCaller.h"
#include "TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{
enum class enScans
{
    Sequential,        // one scan with every coefficient
    SpectralSelection, // several scans, each a band at full precision
    Successive         // bands refined bit by bit as well
};

struct LossyCase
{
    const char* pEncode;
    const char* pDecode;
    int nBits; // 8 or 12 for grey, 24 for RGB
    int nRows;
    int nColumns;
    int nQuality;
    int nFrameMarker;
    enScans enStructure;
    // Error bound of the round trip at this quality: largest and mean absolute
    // difference per sample, in units of the sample's own scale.
    int nMaxError;
    double dMeanError;
};

void PrintTo(const LossyCase& lossyCase, std::ostream* pStream)
{
    *pStream << lossyCase.pEncode << " at quality " << lossyCase.nQuality;
}

ByteVector MakeImage(const LossyCase& lossyCase)
{
    if (lossyCase.nBits == 24)
    {
        return MakeRgbImage(lossyCase.nRows, lossyCase.nColumns);
    }
    if (lossyCase.nBits == 8)
    {
        return MakeGreyImage8(lossyCase.nRows, lossyCase.nColumns);
    }
    return MakeGreyImage16(lossyCase.nRows, lossyCase.nColumns, lossyCase.nBits, false);
}

// 12-bit samples travel in two bytes each, all others in one.
ImageDifference CompareToImage(const LossyCase& lossyCase, const ByteVector& image,
                               const ByteVector& decoded)
{
    const int nBytesPerSample = lossyCase.nBits == 12 ? 2 : 1;
    return CompareImages(image.data(), decoded.data(), image.size() / nBytesPerSample,
                         nBytesPerSample);
}

bool HasScansOf(const JpegStreamInfo& info, enScans enExpected)
{
    bool bSuccessive = false;
    bool bBands = false;
    for (const JpegScanInfo& scan : info.scans)
    {
        bSuccessive = bSuccessive || scan.nAh != 0 || scan.nAl != 0;
        bBands = bBands || scan.nSs != 0 || scan.nSe != 63;
    }
    switch (enExpected)
    {
    case enScans::Sequential:
        return info.scans.size() == 1 && !bBands && !bSuccessive;
    case enScans::SpectralSelection:
        return info.scans.size() > 1 && bBands && !bSuccessive;
    case enScans::Successive:
        return info.scans.size() > 1 && bBands && bSuccessive;
    }
    return false;
}

class JpegLossyRoundTripTest : public ::testing::TestWithParam<LossyCase>
{
};

TEST_P(JpegLossyRoundTripTest, DecodesWithinTheBound)
{
    const LossyCase& lossyCase = GetParam();
    const QuorexCaller quorex;
    const ByteVector image = MakeImage(lossyCase);

    const auto stream = quorex.EncodeLossy(lossyCase.pEncode, image, lossyCase.nRows,
                                           lossyCase.nColumns, lossyCase.nQuality);
    ASSERT_TRUE(stream.has_value());
    const JpegStreamInfo info = ReadJpegStreamInfo(stream->data(), stream->size());
    EXPECT_EQ(info.nFrameMarker, lossyCase.nFrameMarker);
    EXPECT_EQ(info.nPrecision, lossyCase.nBits == 12 ? 12 : 8);
    EXPECT_TRUE(HasScansOf(info, lossyCase.enStructure));
    EXPECT_TRUE(info.bEndsWithEoi);

    const DecodeResult result = quorex.Decode(lossyCase.pDecode, *stream);
    ASSERT_TRUE(result.bReturned);
    ASSERT_EQ(result.nRows, lossyCase.nRows);
    ASSERT_EQ(result.nColumns, lossyCase.nColumns);
    ASSERT_EQ(result.pixels.size(), image.size());
    const ImageDifference difference = CompareToImage(lossyCase, image, result.pixels);
    EXPECT_LE(difference.nMax, lossyCase.nMaxError);
    EXPECT_LE(difference.dMean, lossyCase.dMeanError);
}

TEST_P(JpegLossyRoundTripTest, HigherQualityGivesSmallerErrorAndLongerStream)
{
    const LossyCase& lossyCase = GetParam();
    const QuorexCaller quorex;
    const ByteVector image = MakeImage(lossyCase);
    double dLastError = 1e9;
    size_t nLastLength = 0;
    for (const int nQuality : {25, 75, 100})
    {
        const auto stream = quorex.EncodeLossy(lossyCase.pEncode, image, lossyCase.nRows,
                                               lossyCase.nColumns, nQuality);
        ASSERT_TRUE(stream.has_value());
        const DecodeResult result = quorex.Decode(lossyCase.pDecode, *stream);
        ASSERT_EQ(result.pixels.size(), image.size());
        const double dError = CompareToImage(lossyCase, image, result.pixels).dMean;
        EXPECT_LT(dError, dLastError) << "quality " << nQuality;
        EXPECT_GT(stream->size(), nLastLength) << "quality " << nQuality;
        dLastError = dError;
        nLastLength = stream->size();
    }
}

// Sizes that are not multiples of the 8x8 block (nor of the 16x16 colour MCU).
// At quality 90 no 8-bit sample is off by more than 20 and the mean error
// stays below 2; at 12 bits (units of 1/4096) by more than 24, mean below 4.
const LossyCase kLossyCases[] = {
    {"JPEGBaseline_8BitEncode", "JPEGBaseline_8BitDecode", 8, 75, 93, 90, 0xC0, enScans::Sequential,
     20, 2.0},
    {"JPEGBaseline_RGBEncode", "JPEGBaseline_RGBDecode", 24, 75, 93, 90, 0xC0, enScans::Sequential,
     20, 2.0},
    {"JPEGExtendedProc_8BitEncode", "JPEGExtendedProc_8BitDecode", 8, 75, 93, 90, 0xC1,
     enScans::Sequential, 20, 2.0},
    {"JPEGExtendedProc_RGBEncode", "JPEGExtendedProc_RGBDecode", 24, 75, 93, 90, 0xC1,
     enScans::Sequential, 20, 2.0},
    {"JPEGSpectralProc_8BitEncode", "JPEGSpectralProc_8BitDecode", 8, 75, 93, 90, 0xC2,
     enScans::SpectralSelection, 20, 2.0},
    {"JPEGSpectralProc_RGBEncode", "JPEGSpectralProc_RGBDecode", 24, 75, 93, 90, 0xC2,
     enScans::SpectralSelection, 20, 2.0},
    {"JPEGFullProgress_8BitEncode", "JPEGFullProgress_8BitDecode", 8, 75, 93, 90, 0xC2,
     enScans::Successive, 20, 2.0},
    {"JPEGFullProgress_RGBEncode", "JPEGFullProgress_RGBDecode", 24, 75, 93, 90, 0xC2,
     enScans::Successive, 20, 2.0},
    {"JPEGExtendedProc_12BitEncode", "JPEGExtendedProc_12BitDecode", 12, 75, 93, 90, 0xC1,
     enScans::Sequential, 24, 4.0},
    {"JPEGSpectralProc_12BitEncode", "JPEGSpectralProc_12BitDecode", 12, 75, 93, 90, 0xC2,
     enScans::SpectralSelection, 24, 4.0},
    {"JPEGFullProgress_12BitEncode", "JPEGFullProgress_12BitDecode", 12, 75, 93, 90, 0xC2,
     enScans::Successive, 24, 4.0},
};

INSTANTIATE_TEST_SUITE_P(Processes, JpegLossyRoundTripTest, ::testing::ValuesIn(kLossyCases),
                         [](const ::testing::TestParamInfo<LossyCase>& info)
                         { return std::string(info.param.pEncode); });
} // namespace
