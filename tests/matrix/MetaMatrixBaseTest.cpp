// The shared block of the matrices: the empty sentinel, sizes, sharing and
// copy before write, Attach and Detach, deep copies and the min/max scans.
#include "MatrixTestSupport.h"

#include <climits>
#include <thread>

using namespace matrixtest;

namespace
{

TEST(MetaMatrixEmpty, DefaultMatrixPointsAtTheSentinel)
{
    MetaMatrix8 a;
    MetaMatrix16 b;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetWidth(), 0);
    EXPECT_EQ(a.GetHeight(), 0);
    EXPECT_NE(a.GetPixelData(), nullptr);
    EXPECT_EQ(a.GetData(), b.GetData());
    EXPECT_EQ(a.GetData()->nRefs, -1);
}

TEST(MetaMatrixEmpty, CopiesAndAssignmentsNeverTouchTheSentinel)
{
    MetaMatrix8 empty;
    MetaMatrix8 copy(empty);
    MetaMatrix8 filled = Make8(1, 2, {1, 2});
    filled = empty;
    copy.Empty();
    filled.CalcMinSetMaxSetPixelValue(0);
    EXPECT_TRUE(filled.IsEmpty());
    EXPECT_EQ(filled.GetData(), empty.GetData());
    EXPECT_EQ(empty.GetData()->nRefs, -1);
    EXPECT_EQ(empty.GetData()->nDataLength, 0);
    EXPECT_EQ(empty.GetData()->nMin, 0);
}

struct SizeCase
{
    int bitsAllocated;
    int rows;
    int columns;
    int samplesPerPixel;
    int expectedLength;
};

void PrintTo(const SizeCase& c, std::ostream* out)
{
    *out << c.bitsAllocated << " bits, " << c.rows << " x " << c.columns << " x "
         << c.samplesPerPixel;
}

class MetaMatrixConstructorSize : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(MetaMatrixConstructorSize, AllocatesWholeBytesPerSample)
{
    const SizeCase& c = GetParam();
    MetaMatrix16 matrix(c.bitsAllocated, c.bitsAllocated, c.bitsAllocated - 1, c.rows, c.columns, 0,
                        0, 0, c.samplesPerPixel);
    EXPECT_EQ(matrix.GetData()->nDataLength, c.expectedLength);
    EXPECT_EQ(matrix.GetData()->nAllocLength, c.expectedLength);
    EXPECT_EQ(matrix.IsEmpty(), c.expectedLength == 0);
    if (c.expectedLength > 0)
    {
        EXPECT_EQ(matrix.GetData()->nRefs, 1);
        EXPECT_EQ(matrix.GetHeight(), c.rows);
        EXPECT_EQ(matrix.GetWidth(), c.columns);
        EXPECT_EQ(matrix.GetDepth(), c.bitsAllocated);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, MetaMatrixConstructorSize,
                         ::testing::Values(SizeCase{8, 3, 4, 1, 12}, SizeCase{16, 3, 4, 1, 24},
                                           SizeCase{12, 3, 4, 1, 24}, SizeCase{8, 3, 4, 3, 36},
                                           SizeCase{1, 3, 4, 1, 0}, SizeCase{8, 0, 4, 1, 0},
                                           SizeCase{8, -3, 4, 1, 0},
                                           SizeCase{16, 65536, 65536, 1, 0}));

TEST(MetaMatrixAttach, TwelveBitsAllocatedTakeTwoBytesPerSample)
{
    auto* samples = new std::uint16_t[6]{1, 2, 3, 4, 5, 4095};
    MetaMatrix16 matrix;
    matrix.Attach(samples, 12, 12, 11, 2, 3, 0, 4095, 0, 1);
    EXPECT_EQ(matrix.GetData()->nDataLength, 12);
    // A copy, a rotation and a scale read and write all six samples.
    MetaMatrix16 copy;
    matrix.CopyTo(copy);
    copy.Rotate(MetaMatrix::enRotateClockwise);
    copy.Scale(4, 6);
    EXPECT_EQ(copy.GetPixelValue(0, 0), 4);
    EXPECT_EQ(copy.GetPixelValue(1, 5), 4095);
}

TEST(MetaMatrixAttach, OneBitAllocatedCountsBits)
{
    auto* bits = new char[2]{};
    MetaMatrixBinary matrix;
    matrix.Attach(bits, 1, 1, 1, 4, 4, 0, 0, 0, 1);
    EXPECT_EQ(matrix.GetData()->nDataLength, 2);
}

struct BitCountCase
{
    int rows;
    int columns;
    int expectedLength;
};

void PrintTo(const BitCountCase& c, std::ostream* out)
{
    *out << c.rows << " x " << c.columns << " bits";
}

class MetaMatrixAttachBits : public ::testing::TestWithParam<BitCountCase>
{
};

// A pixel count that is no multiple of 8 keeps its partial last byte, so
// the last pixel stays readable.
TEST_P(MetaMatrixAttachBits, KeepsThePartialLastByte)
{
    const BitCountCase& c = GetParam();
    auto* bits = new char[std::size_t(c.expectedLength)];
    std::memset(bits, 0xFF, std::size_t(c.expectedLength));
    MetaMatrixBinary matrix;
    matrix.Attach(bits, 1, 1, 1, c.rows, c.columns, 0, 0, 0, 1);
    ASSERT_FALSE(matrix.IsEmpty());
    EXPECT_EQ(matrix.GetData()->nDataLength, c.expectedLength);
    EXPECT_NE(matrix.GetPixelValue(0, 0), 0);
    EXPECT_NE(matrix.GetPixelValue(c.columns - 1, c.rows - 1), 0);
    matrix.SetPixelValue(c.columns - 1, c.rows - 1, 0);
    EXPECT_EQ(matrix.GetPixelValue(c.columns - 1, c.rows - 1), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MetaMatrixAttachBits,
                         ::testing::Values(BitCountCase{1, 1, 1}, BitCountCase{1, 7, 1},
                                           BitCountCase{3, 3, 2}, BitCountCase{2, 5, 2},
                                           BitCountCase{5, 13, 9}));

TEST(MetaMatrixAttach, EmptySizeFreesTheBufferAndLeavesTheMatrixEmpty)
{
    // The leak checker fails this test when the buffer is kept.
    MetaMatrix8 matrix = Make8(1, 1, {7});
    matrix.Attach(new char[16], 8, 8, 7, 0, 4, 0, 255, 0, 1);
    EXPECT_TRUE(matrix.IsEmpty());
    matrix.Attach(new char[16], 8, 8, 7, INT_MAX, INT_MAX, 0, 255, 0, 1);
    EXPECT_TRUE(matrix.IsEmpty());
}

TEST(MetaMatrixSharing, CopiesShareOneBlockUntilOneIsWritten)
{
    MetaMatrix8 a = Make8(2, 2, {1, 2, 3, 4});
    MetaMatrix8 b(a);
    EXPECT_EQ(a.GetPixelData(), b.GetPixelData());
    EXPECT_EQ(a.GetData()->nRefs, 2);
    {
        MetaMatrix8 c;
        c = a;
        EXPECT_EQ(a.GetData()->nRefs, 3);
    }
    EXPECT_EQ(a.GetData()->nRefs, 2);
    a.Invert();
    EXPECT_NE(a.GetPixelData(), b.GetPixelData());
    EXPECT_EQ(a.GetData()->nRefs, 1);
    EXPECT_EQ(b.GetData()->nRefs, 1);
    EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(Bytes(a), (std::vector<std::uint8_t>{254, 253, 252, 251}));
}

TEST(MetaMatrixSharing, AssigningToItselfOrToASharerChangesNothing)
{
    MetaMatrix8 a = Make8(1, 2, {5, 6});
    MetaMatrix8 b(a);
    const char* pixels = a.GetPixelData();
    a = a;
    a = b;
    EXPECT_EQ(a.GetPixelData(), pixels);
    EXPECT_EQ(a.GetData()->nRefs, 2);
}

TEST(MetaMatrixSharing, CountsStayRightAcrossThreads)
{
    MetaMatrix16 a = Make16(1, 1, {9});
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [&a]
            {
                for (int i = 0; i < 10000; ++i)
                {
                    MetaMatrix16 copy(a);
                    MetaMatrix16 other;
                    other = copy;
                }
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(a.GetData()->nRefs, 1);
}

// Every operation that writes pixels in place leaves a matrix that shares the
// block untouched.
struct WriteCase
{
    const char* name;
    std::function<void(MetaMatrix16&)> write;
};

void PrintTo(const WriteCase& c, std::ostream* out)
{
    *out << c.name;
}

class MetaMatrixCopyBeforeWrite : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(MetaMatrixCopyBeforeWrite, SharerKeepsItsPixelsAndDescription)
{
    MetaMatrix16 a = Make16(2, 3, {1, 2, 3, 4, 5, 6});
    const MetaMatrix16 b(a);
    GetParam().write(a);
    EXPECT_EQ(Bytes(b), Bytes(Make16(2, 3, {1, 2, 3, 4, 5, 6})));
    EXPECT_EQ(b.GetHeight(), 2);
    EXPECT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetData()->nRefs, 1);
    EXPECT_NE(Bytes(a), Bytes(b));
}

INSTANTIATE_TEST_SUITE_P(
    InPlace, MetaMatrixCopyBeforeWrite,
    ::testing::Values(
        WriteCase{"Invert", [](MetaMatrix16& m) { m.Invert(); }},
        WriteCase{"FlipVertical", [](MetaMatrix16& m) { m.FlipVertical(); }},
        WriteCase{"FlipHorizontal", [](MetaMatrix16& m) { m.FlipHorizontal(); }},
        WriteCase{"HalfTurn", [](MetaMatrix16& m) { m.Rotate(MetaMatrix::enRotateHalfTurn); }},
        WriteCase{"QuarterTurn",
                  [](MetaMatrix16& m) { m.Rotate(MetaMatrix::enRotateCounterClockwise); }},
        WriteCase{"SetPixelValue", [](MetaMatrix16& m) { m.SetPixelValue(1, 1, 77); }},
        WriteCase{"SetImagePart",
                  [](MetaMatrix16& m)
                  {
                      const MetaMatrix16 part = Make16(1, 1, {99});
                      const CRect rect(0, 0, 1, 1);
                      m.SetImagePart(&part, &rect);
                  }},
        WriteCase{"ApplyTo",
                  [](MetaMatrix16& m)
                  {
                      MetaMatrix16 mask = Make16(2, 3, {0, 0, 0, 0, 100, 0});
                      MetaMatrixBinary binary;
                      binary.FromMetaMatrix16(&mask);
                      binary.ApplyTo(&m);
                  }},
        WriteCase{"Scale", [](MetaMatrix16& m) { m.Scale(6, 4); }},
        WriteCase{"JoinAtBottom",
                  [](MetaMatrix16& m)
                  {
                      const MetaMatrix16 other = Make16(1, 3, {7, 8, 9});
                      m.JoinAtBottom(&other);
                  }}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(MetaMatrixDetach, SoleOwnerHandsOverItsBuffer)
{
    MetaMatrix8 a = Make8(1, 3, {1, 2, 3});
    const char* pixels = a.GetPixelData();
    char* detached = static_cast<char*>(a.Detach());
    EXPECT_EQ(detached, pixels);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(detached[2], 3);
    delete[] detached;
}

TEST(MetaMatrixDetach, SharedBufferIsCopiedForTheCaller)
{
    MetaMatrix8 a = Make8(1, 3, {1, 2, 3});
    MetaMatrix8 b(a);
    char* detached = static_cast<char*>(a.Detach());
    EXPECT_NE(detached, b.GetPixelData());
    EXPECT_EQ(detached[1], 2);
    EXPECT_EQ(b.GetData()->nRefs, 1);
    EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2, 3}));
    delete[] detached;
}

TEST(MetaMatrixDetach, EmptyMatrixGivesNull)
{
    MetaMatrix8 a;
    EXPECT_EQ(a.Detach(), nullptr);
}

TEST(MetaMatrixEmptying, EmptyGivesUpOnlyItsOwnShare)
{
    MetaMatrix8 a = Make8(1, 2, {4, 5});
    MetaMatrix8 b(a);
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(b.GetData()->nRefs, 1);
    EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{4, 5}));
}

TEST(MetaMatrixCopyTo, CopiesPixelsAndDescriptionIntoAnUnsharedBuffer)
{
    MetaMatrix16 source = Make16(2, 2, {1, 2, 3, 400}, true);
    source.CalcMinMaxPixelValue(0);
    MetaMatrix16 target = Make16(3, 3, std::vector<std::uint16_t>(9, 0));
    MetaMatrix16 sharer(target);
    source.CopyTo(target);
    EXPECT_NE(target.GetPixelData(), source.GetPixelData());
    EXPECT_EQ(Bytes(target), Bytes(source));
    EXPECT_EQ(target.GetHeight(), 2);
    EXPECT_EQ(target.GetData()->nSigned, 1);
    EXPECT_EQ(target.GetData()->nMax, 400);
    EXPECT_EQ(sharer.GetHeight(), 3);
}

TEST(MetaMatrixCopyTo, KeepsTheByteOrderFlagWithTheBytes)
{
    MetaMatrixRGB source = MakeRgb(1, 2);
    source.RGB2BGR();
    MetaMatrixRGB target;
    source.CopyTo(target);
    EXPECT_TRUE(target.IsConvertedToBGR());
    MetaMatrixRGB sharer(source);
    sharer.FlipHorizontal();
    EXPECT_TRUE(sharer.IsConvertedToBGR());
}

TEST(MetaMatrixMinMax, SkipsTheBorderAndReadsBySampleKind)
{
    // 4 x 4 with a border of one pixel: only the centre 2 x 2 counts.
    std::vector<std::uint16_t> samples(16, 50000);
    samples[5] = 10;
    samples[6] = 20;
    samples[9] = 30;
    samples[10] = 0xFFF6; // -10 when signed
    MetaMatrix16 unsignedMatrix = Make16(4, 4, samples);
    unsignedMatrix.CalcMinMaxPixelValue(0.25F);
    EXPECT_EQ(unsignedMatrix.GetData()->nMin, 10);
    EXPECT_EQ(unsignedMatrix.GetData()->nMax, 0xFFF6);
    MetaMatrix16 signedMatrix = Make16(4, 4, samples, true);
    signedMatrix.CalcMinMaxPixelValue(0.25F);
    EXPECT_EQ(signedMatrix.GetData()->nMin, -10);
    EXPECT_EQ(signedMatrix.GetData()->nMax, 30);
    unsignedMatrix.CalcMinMaxPixelValue(0);
    EXPECT_EQ(unsignedMatrix.GetData()->nMax, 0xFFF6);
    unsignedMatrix.CalcMinMaxPixelValue(0.5F);
    EXPECT_EQ(unsignedMatrix.GetData()->nMin, 65535);
    EXPECT_EQ(unsignedMatrix.GetData()->nMax, 0);
}

TEST(MetaMatrixMinMax, EightBitSamplesAndTwelveBitsAllocated)
{
    MetaMatrix8 bytes = Make8(1, 3, {7, 200, 9});
    bytes.CalcMinMaxPixelValue(0);
    EXPECT_EQ(bytes.GetData()->nMin, 7);
    EXPECT_EQ(bytes.GetData()->nMax, 200);
    auto* samples = new std::uint16_t[3]{300, 4000, 5};
    MetaMatrix16 twelve;
    twelve.Attach(samples, 12, 12, 11, 1, 3, 0, 0, 0, 1);
    twelve.CalcMinMaxPixelValue(0);
    EXPECT_EQ(twelve.GetData()->nMin, 5);
    EXPECT_EQ(twelve.GetData()->nMax, 4000);
}

TEST(MetaMatrixMinMax, BinaryMatrixIsLeftAlone)
{
    MetaMatrix8 source = Make8(3, 3, std::vector<std::uint8_t>(9, 200));
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    binary.CalcMinMaxPixelValue(0);
    EXPECT_EQ(binary.GetData()->nMin, 0);
    EXPECT_EQ(binary.GetData()->nMax, 0);
}

struct PowerCase
{
    std::uint16_t low;
    std::uint16_t high;
    bool isSigned;
    int expectedMin;
    int expectedMax;
};

void PrintTo(const PowerCase& c, std::ostream* out)
{
    *out << c.low << ".." << c.high << (c.isSigned ? " signed" : "");
}

class MetaMatrixPowerRange : public ::testing::TestWithParam<PowerCase>
{
};

TEST_P(MetaMatrixPowerRange, WidensToPowersOfTwo)
{
    const PowerCase& c = GetParam();
    MetaMatrix16 matrix = Make16(1, 2, {c.low, c.high}, c.isSigned);
    matrix.CalcMinSetMaxSetPixelValue(0);
    EXPECT_EQ(matrix.GetData()->nMin, c.expectedMin);
    EXPECT_EQ(matrix.GetData()->nMax, c.expectedMax);
}

INSTANTIATE_TEST_SUITE_P(Ranges, MetaMatrixPowerRange,
                         ::testing::Values(PowerCase{5, 300, false, 4, 511},
                                           PowerCase{300, 3000, false, 256, 4095},
                                           PowerCase{0, 0, false, 0, 0},
                                           PowerCase{0xFF9C /* -100 */, 1000, true, -128, 1023},
                                           PowerCase{0xFF9C, 0xFFFE /* -2 */, true, -128, -5}));

} // namespace
