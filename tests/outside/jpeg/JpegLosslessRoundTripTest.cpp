// Lossless encode entries give back exactly what they were given, at every
// precision, signed or unsigned, grey or colour.
#include "JpegStreamInfo.h"
#include "QuorexCaller.h"
#include "TestImages.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{
struct LosslessCase
{
    const char* pPrefix; // "JPEGProc14" or "JPEGProc14SV1"
    const char* pLayout; // "8Bit", "16Bit" or "RGB"
    int nBits;           // range of the samples
    bool bSigned;
    int nRows;
    int nColumns;
    int nPrecision; // what the stream's frame header must say
};

void PrintTo(const LosslessCase& lossless, std::ostream* pStream)
{
    *pStream << lossless.pPrefix << "_" << lossless.pLayout << " " << lossless.nBits << " bits"
             << (lossless.bSigned ? " signed " : " ") << lossless.nRows << "x" << lossless.nColumns;
}

ByteVector MakeImage(const LosslessCase& lossless)
{
    const std::string layout = lossless.pLayout;
    if (layout == "RGB")
    {
        return MakeRgbImage(lossless.nRows, lossless.nColumns);
    }
    if (layout == "8Bit")
    {
        return MakeGreyImage8(lossless.nRows, lossless.nColumns);
    }
    return MakeGreyImage16(lossless.nRows, lossless.nColumns, lossless.nBits, lossless.bSigned);
}

class JpegLosslessRoundTripTest : public ::testing::TestWithParam<LosslessCase>
{
};

TEST_P(JpegLosslessRoundTripTest, GivesTheSamplesBackExactly)
{
    const LosslessCase& lossless = GetParam();
    const std::string prefix = std::string(lossless.pPrefix) + "_" + lossless.pLayout;
    const QuorexCaller quorex;
    const ByteVector image = MakeImage(lossless);

    const auto stream =
        quorex.EncodeLossless(prefix + "Encode", image, lossless.nRows, lossless.nColumns);
    ASSERT_TRUE(stream.has_value());
    const JpegStreamInfo info = ReadJpegStreamInfo(stream->data(), stream->size());
    EXPECT_EQ(info.nFrameMarker, 0xC3);
    EXPECT_EQ(info.nPrecision, lossless.nPrecision);
    ASSERT_EQ(info.scans.size(), 1u);
    if (std::string(lossless.pPrefix) == "JPEGProc14SV1")
    {
        EXPECT_EQ(info.scans[0].nSs, 1);
    }
    EXPECT_GE(info.scans[0].nSs, 1);
    EXPECT_LE(info.scans[0].nSs, 7);
    EXPECT_EQ(info.scans[0].nAl, 0);

    const DecodeResult result = quorex.Decode(prefix + "Decode", *stream);
    ASSERT_TRUE(result.bReturned);
    EXPECT_EQ(result.nRows, lossless.nRows);
    EXPECT_EQ(result.nColumns, lossless.nColumns);
    EXPECT_EQ(result.pixels, image);
}

const LosslessCase kLosslessCases[] = {
    {"JPEGProc14", "8Bit", 8, false, 61, 47, 8},
    {"JPEGProc14SV1", "8Bit", 8, false, 61, 47, 8},
    {"JPEGProc14", "RGB", 8, false, 61, 47, 8},
    {"JPEGProc14SV1", "RGB", 8, false, 61, 47, 8},
    {"JPEGProc14", "16Bit", 12, false, 61, 47, 12},
    {"JPEGProc14SV1", "16Bit", 12, false, 61, 47, 12},
    {"JPEGProc14", "16Bit", 16, false, 61, 47, 16},
    {"JPEGProc14SV1", "16Bit", 16, false, 61, 47, 16},
    {"JPEGProc14", "16Bit", 15, false, 61, 47, 15},
    {"JPEGProc14", "16Bit", 8, false, 61, 47, 8},
    {"JPEGProc14", "16Bit", 2, false, 61, 47, 2},
    // Signed samples keep their bit patterns, which fill all 16 bits.
    {"JPEGProc14", "16Bit", 8, true, 61, 47, 16},
    {"JPEGProc14SV1", "16Bit", 12, true, 61, 47, 16},
    {"JPEGProc14", "16Bit", 16, true, 61, 47, 16},
    {"JPEGProc14SV1", "16Bit", 16, true, 61, 47, 16},
    // Degenerate shapes: a single pixel, a single row, a single column.
    {"JPEGProc14", "16Bit", 16, false, 1, 1, 2}, // its one sample is 0
    {"JPEGProc14", "8Bit", 8, false, 1, 97, 8},
    {"JPEGProc14SV1", "RGB", 8, false, 97, 1, 8},
};

INSTANTIATE_TEST_SUITE_P(Layouts, JpegLosslessRoundTripTest, ::testing::ValuesIn(kLosslessCases));
} // namespace
