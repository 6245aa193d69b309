// Pixel operations of the typed matrices: inversion, flips, rotations, image
// parts, joins, nearest-neighbour scaling, lookups, pixel access and the
// binary conversions.
#include "MatrixTestSupport.h"

#include <memory>

using namespace matrixtest;

namespace
{

// A matrix of each class whose pixels can hold distinct values from a
// function of the position (binary: a pattern of set and clear bits).
struct MatrixKind
{
    const char* name;
    std::function<std::unique_ptr<MetaMatrix>(int rows, int columns)> make;
    PixelFunction pattern;
};

int Distinct(int x, int y)
{
    return 10 * y + x + 1;
}

// GetPixelValue of a binary pixel is the bit's mask value.
int BinaryPattern(int x, int y)
{
    return (x + 2 * y) % 3 == 0 ? 1 : 0;
}

std::vector<MatrixKind> Kinds()
{
    return {
        {"Matrix8",
         [](int rows, int columns)
         { return std::make_unique<MetaMatrix8>(8, 8, 7, rows, columns, 0, 255, 0, 1); },
         Distinct},
        {"Matrix16",
         [](int rows, int columns)
         { return std::make_unique<MetaMatrix16>(16, 16, 15, rows, columns, 0, 65535, 0, 1); },
         [](int x, int y) { return 50 * Distinct(x, y); }},
        {"MatrixRGB",
         [](int rows, int columns)
         { return std::make_unique<MetaMatrixRGB>(8, 8, 7, rows, columns, 0, 255, 0, 3); },
         [](int x, int y) { return y << 8 | x; }},
        {"MatrixBinary",
         [](int rows, int columns)
         {
             MetaMatrix8 zeros(8, 8, 7, rows, columns, 0, 255, 0, 1);
             std::memset(zeros.GetPixelData(), 0, std::size_t(rows * columns));
             auto binary = std::make_unique<MetaMatrixBinary>();
             binary->FromMetaMatrix8(&zeros);
             return binary;
         },
         BinaryPattern},
    };
}

// Reads a binary pixel as 0 or 1.
int Normalised(const MetaMatrix& matrix, int x, int y)
{
    const int value = matrix.GetPixelValue(x, y);
    return matrix.GetData()->nBitsAllocated == 1 ? (value != 0 ? 1 : 0) : value;
}

struct GeometryCase
{
    const char* name;
    std::function<void(MetaMatrix&)> apply;
    bool swapsSize;
    // The source position whose pixel lands at (x, y) of the result, for a
    // source of rows x columns.
    std::function<std::pair<int, int>(int x, int y, int rows, int columns)> from;
};

std::vector<GeometryCase> GeometryCases()
{
    return {
        {"FlipHorizontal", [](MetaMatrix& m) { m.FlipHorizontal(); }, false,
         [](int x, int y, int, int columns) { return std::pair(columns - 1 - x, y); }},
        {"FlipVertical", [](MetaMatrix& m) { m.FlipVertical(); }, false,
         [](int x, int y, int rows, int) { return std::pair(x, rows - 1 - y); }},
        {"QuarterCounterClockwise",
         [](MetaMatrix& m) { m.Rotate(MetaMatrix::enRotateCounterClockwise); }, true,
         [](int x, int y, int, int columns) { return std::pair(columns - 1 - y, x); }},
        {"HalfTurn", [](MetaMatrix& m) { m.Rotate(MetaMatrix::enRotateHalfTurn); }, false,
         [](int x, int y, int rows, int columns)
         { return std::pair(columns - 1 - x, rows - 1 - y); }},
        {"QuarterClockwise", [](MetaMatrix& m) { m.Rotate(MetaMatrix::enRotateClockwise); }, true,
         [](int x, int y, int rows, int) { return std::pair(y, rows - 1 - x); }},
    };
}

void PrintTo(const MatrixKind& kind, std::ostream* out)
{
    *out << kind.name;
}

void PrintTo(const GeometryCase& geometry, std::ostream* out)
{
    *out << geometry.name;
}

class MatrixGeometry
    : public ::testing::TestWithParam<std::tuple<MatrixKind, GeometryCase, std::pair<int, int>>>
{
};

TEST_P(MatrixGeometry, MovesEveryPixelWhereItBelongs)
{
    const auto& [kind, geometry, size] = GetParam();
    const auto [rows, columns] = size;
    std::unique_ptr<MetaMatrix> matrix = kind.make(rows, columns);
    Fill(*matrix, kind.pattern);
    std::unique_ptr<MetaMatrix> sharer(matrix->Shadow());
    geometry.apply(*matrix);
    ASSERT_EQ(matrix->GetHeight(), geometry.swapsSize ? columns : rows);
    ASSERT_EQ(matrix->GetWidth(), geometry.swapsSize ? rows : columns);
    for (int y = 0; y < matrix->GetHeight(); ++y)
        for (int x = 0; x < matrix->GetWidth(); ++x)
        {
            const auto [sx, sy] = geometry.from(x, y, rows, columns);
            EXPECT_EQ(Normalised(*matrix, x, y), Normalised(*sharer, sx, sy))
                << "at " << x << ", " << y;
        }
    EXPECT_EQ(sharer->GetHeight(), rows);
}

std::string GeometryName(const MatrixGeometry::ParamType& param)
{
    const MatrixKind& kind = std::get<0>(param);
    const GeometryCase& geometry = std::get<1>(param);
    const std::pair<int, int>& size = std::get<2>(param);
    return std::string(kind.name) + "_" + geometry.name + "_" + std::to_string(size.first) + "x" +
           std::to_string(size.second);
}

INSTANTIATE_TEST_SUITE_P(
    AllClasses, MatrixGeometry,
    ::testing::Combine(::testing::ValuesIn(Kinds()), ::testing::ValuesIn(GeometryCases()),
                       ::testing::Values(std::pair(2, 3), std::pair(5, 4), std::pair(37, 70))),
    [](const ::testing::TestParamInfo<MatrixGeometry::ParamType>& info)
    { return GeometryName(info.param); });

TEST(MatrixRotate, QuarterTurnsOfTwoByThree)
{
    MetaMatrix8 matrix = Make8(2, 3, {1, 2, 3, 4, 5, 6});
    MetaMatrix8 left(matrix);
    left.Rotate(MetaMatrix::enRotateCounterClockwise);
    EXPECT_EQ(left.GetHeight(), 3);
    EXPECT_EQ(left.GetWidth(), 2);
    EXPECT_EQ(left.GetPixelValue(0, 0), 3); // top right went top left
    MetaMatrix8 right(matrix);
    right.Rotate(MetaMatrix::enRotateClockwise);
    EXPECT_EQ(right.GetPixelValue(1, 0), 1); // top left went top right
}

TEST(MatrixRotate, HalfTurnKeepsEachColour)
{
    MetaMatrixRGB matrix = MakeRgb(2, 2);
    matrix.Rotate(MetaMatrix::enRotateHalfTurn);
    const auto* pixel = reinterpret_cast<const std::uint8_t*>(matrix.GetPixelData());
    EXPECT_EQ(pixel[0], 1); // the pixel from (1, 1): bytes 1, 1, 2
    EXPECT_EQ(pixel[1], 1);
    EXPECT_EQ(pixel[2], 2);
}

TEST(MatrixRotate, UnknownAngleChangesNothing)
{
    MetaMatrix16 matrix = Make16(1, 2, {1, 2});
    matrix.Rotate(MetaMatrix::RotateAngle(4));
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 2}));
}

TEST(MatrixInvert, MirrorsSamplesInTheRange)
{
    MetaMatrix8 bytes = Make8(1, 3, {10, 20, 30});
    bytes.CalcMinMaxPixelValue(0);
    bytes.Invert();
    EXPECT_EQ(ReadAll(bytes), (std::vector<int>{30, 20, 10}));
    MetaMatrix16 samples = Make16(1, 2, {0xFF9C /* -100 */, 50}, true);
    samples.CalcMinMaxPixelValue(0);
    samples.Invert();
    EXPECT_EQ(ReadAll(samples), (std::vector<int>{50, -100}));
    MetaMatrixRGB colour = MakeRgb(1, 2);
    colour.Invert();
    EXPECT_EQ(Bytes(colour), Bytes(MakeRgb(1, 2)));
}

TEST(MatrixInvert, BinaryFlipsEveryBit)
{
    MetaMatrix8 source = Make8(1, 3, {0, 255, 0});
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    binary.Invert();
    EXPECT_NE(binary.GetPixelValue(0, 0), 0);
    EXPECT_EQ(binary.GetPixelValue(1, 0), 0);
    EXPECT_NE(binary.GetPixelValue(2, 0), 0);
}

struct PartCase
{
    CRect rect;
    bool found;
    CRect expected;
};

void PrintTo(const PartCase& c, std::ostream* out)
{
    *out << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
}

class MatrixImagePart : public ::testing::TestWithParam<PartCase>
{
};

TEST_P(MatrixImagePart, ClipsTheRectangleToTheMatrix)
{
    MetaMatrix16 matrix(16, 16, 15, 10, 10, 0, 65535, 0, 1);
    Fill(matrix, Distinct);
    const PartCase& c = GetParam();
    std::unique_ptr<MetaMatrix> part(matrix.GetImagePart(&c.rect));
    ASSERT_EQ(part != nullptr, c.found);
    if (!c.found)
        return;
    EXPECT_EQ(part->GetWidth(), c.expected.Width());
    EXPECT_EQ(part->GetHeight(), c.expected.Height());
    EXPECT_EQ(part->GetData()->nBitsAllocated, 16);
    EXPECT_EQ(ReadAll(*part), Expected(c.expected.Width(), c.expected.Height(),
                                       [&](int x, int y) {
                                           return Distinct(x + c.expected.left, y + c.expected.top);
                                       }));
}

INSTANTIATE_TEST_SUITE_P(Rectangles, MatrixImagePart,
                         ::testing::Values(PartCase{CRect(5, 5, -3, 2), true, CRect(0, 2, 5, 5)},
                                           PartCase{CRect(2, 3, 4, 8), true, CRect(2, 3, 4, 8)},
                                           PartCase{CRect(8, 8, 20, 30), true, CRect(8, 8, 10, 10)},
                                           PartCase{CRect(12, 0, 20, 5), false, CRect()},
                                           PartCase{CRect(3, 3, 3, 6), false, CRect()},
                                           PartCase{CRect(-5, -5, -1, -1), false, CRect()}));

TEST(MatrixImagePart, RgbPartKeepsTheByteOrderFlag)
{
    MetaMatrixRGB matrix = MakeRgb(4, 4);
    matrix.RGB2BGR();
    const CRect rect(1, 1, 3, 3);
    std::unique_ptr<MetaMatrix> part(matrix.GetImagePart(&rect));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->GetData()->nConvertedToBGR, 1);
    EXPECT_EQ(part->GetPixelValue(0, 0), matrix.GetPixelValue(1, 1));
    EXPECT_EQ(MetaMatrixBinary().GetImagePart(&rect), nullptr);
    EXPECT_EQ(matrix.GetImagePart(nullptr), nullptr);
}

TEST(MatrixImagePart, SetImagePartCopiesOnlyAMatchingSource)
{
    MetaMatrix8 matrix = Make8(3, 3, std::vector<std::uint8_t>(9, 0));
    const MetaMatrix8 part = Make8(2, 1, {7, 8});
    const CRect rect(1, 1, 2, 3);
    matrix.SetImagePart(&part, &rect);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{0, 0, 0, 0, 7, 0, 0, 8, 0}));
    const CRect tooWide(0, 0, 2, 2);
    matrix.SetImagePart(&part, &tooWide);
    const MetaMatrixRGB colour = MakeRgb(2, 1);
    matrix.SetImagePart(&colour, &rect);
    const MetaMatrix16 wide = Make16(2, 1, {1, 1});
    matrix.SetImagePart(&wide, &rect);
    matrix.SetImagePart(nullptr, &rect);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{0, 0, 0, 0, 7, 0, 0, 8, 0}));
}

TEST(MatrixJoin, LeftAndRightJoinRowByRow)
{
    const MetaMatrix16 other = Make16(2, 1, {9, 8});
    MetaMatrix16 left = Make16(2, 2, {1, 2, 3, 4});
    MetaMatrix16 right(left);
    left.JoinAtLeft(&other);
    right.JoinAtRight(&other);
    EXPECT_EQ(left.GetWidth(), 3);
    EXPECT_EQ(ReadAll(left), (std::vector<int>{9, 1, 2, 8, 3, 4}));
    EXPECT_EQ(ReadAll(right), (std::vector<int>{1, 2, 9, 3, 4, 8}));
    const MetaMatrix16 tall = Make16(3, 1, {1, 1, 1});
    right.JoinAtRight(&tall);
    EXPECT_EQ(right.GetWidth(), 3);
    const MetaMatrix8 bytes = Make8(2, 1, {1, 1});
    right.JoinAtRight(&bytes); // one byte per pixel cannot be read as 16-bit samples
    EXPECT_EQ(right.GetWidth(), 3);
}

TEST(MatrixJoin, BottomPadsTheNarrowerMatrixWithZeros)
{
    MetaMatrix16 matrix = Make16(1, 4, {1, 2, 3, 4}, true);
    const MetaMatrix16 other = Make16(2, 2, {5, 6, 7, 8});
    matrix.JoinAtBottom(&other);
    EXPECT_EQ(matrix.GetHeight(), 3);
    EXPECT_EQ(matrix.GetWidth(), 4);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 0, 0}));
    EXPECT_EQ(matrix.GetData()->nSigned, 0);
    EXPECT_EQ(matrix.GetData()->nMax, 65535);
}

TEST(MatrixJoin, BottomOfAnEmptyMatrixCopiesTheOther)
{
    MetaMatrix16 matrix;
    const MetaMatrix16 other = Make16(1, 2, {5, 6});
    matrix.JoinAtBottom(&other);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{5, 6}));
    EXPECT_NE(matrix.GetPixelData(), other.GetPixelData());
    const MetaMatrix8 bytes = Make8(1, 2, {1, 1});
    matrix.JoinAtBottom(&bytes);
    EXPECT_EQ(matrix.GetHeight(), 1);
}

TEST(MatrixJoin, OtherClassesDoNotJoin)
{
    MetaMatrix8 bytes = Make8(1, 1, {1});
    const MetaMatrix8 other = Make8(1, 1, {2});
    bytes.JoinAtLeft(&other);
    bytes.JoinAtBottom(&other);
    MetaMatrix16 samples = Make16(1, 1, {1});
    const MetaMatrix16 more = Make16(1, 1, {2});
    samples.JoinAtTop(&more);
    EXPECT_EQ(bytes.GetWidth(), 1);
    EXPECT_EQ(bytes.GetHeight(), 1);
    EXPECT_EQ(samples.GetHeight(), 1);
}

TEST(MatrixScale, NearestNeighbourTakesEveryOtherPixelWhenHalving)
{
    MetaMatrix16 matrix(16, 16, 15, 4, 4, 0, 65535, 0, 1);
    Fill(matrix, Distinct);
    matrix.Scale(2, 2);
    EXPECT_EQ(ReadAll(matrix),
              (std::vector<int>{Distinct(0, 0), Distinct(2, 0), Distinct(0, 2), Distinct(2, 2)}));
}

TEST(MatrixScale, EnlargingRepeatsPixels)
{
    MetaMatrix8 matrix = Make8(1, 2, {1, 2});
    matrix.Scale(4, 2);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 1, 2, 2, 1, 1, 2, 2}));
    const char* pixels = matrix.GetPixelData();
    matrix.Scale(4, 2);
    matrix.Scale(0, 2);
    EXPECT_EQ(matrix.GetPixelData(), pixels);
}

TEST(MatrixScale, BinaryScalesThroughBytes)
{
    MetaMatrix8 source = Make8(1, 2, {255, 0});
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    binary.ScaleOptimize(4, 1);
    EXPECT_EQ(binary.GetWidth(), 4);
    EXPECT_NE(binary.GetPixelValue(1, 0), 0);
    EXPECT_EQ(binary.GetPixelValue(2, 0), 0);
}

TEST(MatrixPixmap, MapsSamplesThroughTheTable)
{
    std::vector<unsigned char> table(256);
    for (int i = 0; i < 256; ++i)
        table[std::size_t(i)] = std::uint8_t(255 - i);
    MetaMatrix8 bytes = Make8(1, 2, {0, 200});
    std::unique_ptr<MetaMatrix> map(bytes.GetPixmap(table.data()));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(ReadAll(*map), (std::vector<int>{255, 55}));
    EXPECT_EQ(bytes.GetPixmap(nullptr), nullptr);
    EXPECT_EQ(MetaMatrix8().GetPixmap(table.data()), nullptr);
}

TEST(MatrixPixmap, SignedSamplesIndexBeforeTheZeroEntry)
{
    std::vector<unsigned char> table(65536);
    for (int i = 0; i < 65536; ++i)
        table[std::size_t(i)] = std::uint8_t(i >> 8);
    unsigned char* zero = table.data() + 32768;
    MetaMatrix16 samples = Make16(1, 3, {0xFFFF /* -1 */, 0, 0x7FFF}, true);
    std::unique_ptr<MetaMatrix> map(samples.GetPixmap(zero));
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(ReadAll(*map), (std::vector<int>{127, 128, 255}));
    EXPECT_EQ(map->GetData()->nMax, 255);
    MetaMatrix16 unsignedSamples = Make16(1, 2, {0x100, 0xFFFF});
    std::unique_ptr<MetaMatrix> plain(unsignedSamples.GetPixmap(table.data()));
    EXPECT_EQ(ReadAll(*plain), (std::vector<int>{1, 255}));
}

TEST(MatrixPixmap, ColourGivesAShadowAndBinaryNothing)
{
    unsigned char table[256] = {};
    MetaMatrixRGB colour = MakeRgb(1, 1);
    std::unique_ptr<MetaMatrix> shadow(colour.GetPixmap(table));
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->GetPixelData(), colour.GetPixelData());
    EXPECT_EQ(MetaMatrixBinary().GetPixmap(table), nullptr);
}

TEST(MatrixPixelAccess, ClampsAndWidensTheRange)
{
    MetaMatrix8 bytes = Make8(2, 2, {1, 2, 3, 4});
    bytes.CalcMinMaxPixelValue(0);
    EXPECT_EQ(bytes.GetPixelValue(-5, -5), 1);
    EXPECT_EQ(bytes.GetPixelValue(9, 9), 4);
    bytes.SetPixelValue(9, 0, 200);
    EXPECT_EQ(bytes.GetPixelValue(1, 0), 200);
    EXPECT_EQ(bytes.GetData()->nMax, 200);
    MetaMatrix16 samples = Make16(1, 1, {0}, true);
    samples.SetPixelValue(0, 0, -300);
    EXPECT_EQ(samples.GetPixelValue(0, 0), -300);
    EXPECT_EQ(samples.GetData()->nMin, -300);
    EXPECT_EQ(MetaMatrix8().GetPixelValue(0, 0), 0);
}

TEST(MatrixPixelAccess, ColourPixelsPackThreeBytes)
{
    MetaMatrixRGB colour = MakeRgb(2, 2);
    EXPECT_EQ(colour.GetPixelValue(1, 1), 1 | 1 << 8 | 2 << 16);
    colour.SetPixelValue(0, 1, 0x1234);
    EXPECT_EQ(colour.GetPixelValue(0, 1), 0x1234);
}

TEST(MatrixPixelAccess, BinaryBitsLieInPixelOrder)
{
    MetaMatrix8 zeros = Make8(3, 3, std::vector<std::uint8_t>(9, 0));
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&zeros);
    binary.SetPixelValue(0, 1, 1);
    EXPECT_EQ(Bytes(binary)[0], 0x08);
    binary.SetPixelValue(2, 2, 0x100);
    EXPECT_EQ(Bytes(binary)[1], 0x01);
    EXPECT_EQ(binary.GetPixelValue(2, 2), 1);
    EXPECT_EQ(binary.GetPixelValue(0, 1), 8);
    binary.SetPixelValue(0, 1, 0);
    EXPECT_EQ(Bytes(binary)[0], 0x00);
    EXPECT_EQ(Bytes(binary)[1], 0x01);
}

TEST(MatrixBinary, FromBytesSetsTheBitsAboveTheThreshold)
{
    MetaMatrixBinary binary;
    MetaMatrix8 bright = Make8(3, 5, std::vector<std::uint8_t>(15, 200));
    ASSERT_TRUE(binary.FromMetaMatrix8(&bright));
    EXPECT_EQ(Bytes(binary)[0], 0xFF);
    EXPECT_EQ(Bytes(binary)[1], 0x7F);
    EXPECT_EQ(binary.GetData()->nBitsAllocated, 1);
    EXPECT_EQ(binary.GetHeight(), 3);
    MetaMatrix8 edge = Make8(1, 2, {128, 129});
    ASSERT_TRUE(binary.FromMetaMatrix8(&edge));
    EXPECT_EQ(binary.GetPixelValue(0, 0), 0);
    EXPECT_NE(binary.GetPixelValue(1, 0), 0);
    EXPECT_FALSE(binary.FromMetaMatrix8(nullptr));
}

TEST(MatrixBinary, FromSamplesUsesThresholdEight)
{
    MetaMatrix16 samples = Make16(1, 3, {8, 9, 40000});
    MetaMatrixBinary binary;
    ASSERT_TRUE(binary.FromMetaMatrix16(&samples));
    EXPECT_EQ(Bytes(binary)[0], 0x06);
    ASSERT_TRUE(binary.FromMetaMatrix16(&samples, 10000));
    EXPECT_EQ(Bytes(binary)[0], 0x04);
}

TEST(MatrixBinary, ToBytesAndApplyTo)
{
    MetaMatrix8 source = Make8(1, 3, {0, 200, 0});
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    MetaMatrix8 bytes;
    ASSERT_TRUE(binary.ToMetaMatrix8(&bytes));
    EXPECT_EQ(ReadAll(bytes), (std::vector<int>{0, 255, 0}));
    MetaMatrix16 samples = Make16(1, 3, {5, 6, 7});
    ASSERT_TRUE(binary.ApplyTo(&samples));
    EXPECT_EQ(ReadAll(samples), (std::vector<int>{5, 65535, 7}));
    MetaMatrix16 wrongSize = Make16(1, 2, {5, 6});
    EXPECT_FALSE(binary.ApplyTo(&wrongSize));
    EXPECT_FALSE(binary.ToMetaMatrix8(nullptr));
    EXPECT_FALSE(MetaMatrixBinary().ToMetaMatrix8(&bytes));
}

TEST(MatrixConversions, WidenBytesAndAverageColours)
{
    MetaMatrix8 bytes = Make8(1, 2, {3, 255});
    std::unique_ptr<MetaMatrix16> wide(bytes.ToMatrix16(16));
    EXPECT_EQ(ReadAll(*wide), (std::vector<int>{48, 4080}));
    EXPECT_EQ(wide->GetData()->nMax, 65535);
    MetaMatrixRGB colour = MakeRgb(1, 3);
    std::unique_ptr<MetaMatrix8> grey(colour.ToGrayScale());
    EXPECT_EQ(ReadAll(*grey), (std::vector<int>{0, 0, 1})); // (x + 0 + x) / 3
}

} // namespace
