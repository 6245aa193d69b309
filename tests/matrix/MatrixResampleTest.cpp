// ScaleOptimize through the resampling library: which entry is called with
// which arguments (fake modules), the fallback library, missing libraries
// and entries, a refused call, and the real "Pemsola.dll".
#include "MatrixTestSupport.h"

#include "WinModule.h"

#include <memory>

using namespace matrixtest;

namespace
{

struct RecordedCall
{
    std::string entry;
    std::vector<int> geometry;
    std::vector<int> firstSource;
};

std::vector<RecordedCall> g_calls;
int g_result = 1;

constexpr const char* kEntryNames[] = {"ResampleU8", "ResampleS8", "ResampleU16", "ResampleS16",
                                       "ResampleColor24"};

// Records the call and fills the target with the entry's number + 1.
template <class Sample, int Entry>
int FakeResample(const Sample* source, int sourceWidth, int sourceHeight, int sourceX, int sourceY,
                 int sourceW, int sourceH, Sample* target, int targetWidth, int targetHeight,
                 int targetX, int targetY, int targetW, int targetH, int mode)
{
    g_calls.push_back({kEntryNames[Entry],
                       {sourceWidth, sourceHeight, sourceX, sourceY, sourceW, sourceH, targetWidth,
                        targetHeight, targetX, targetY, targetW, targetH, mode},
                       {int(source[0])}});
    if (g_result != 0)
    {
        const int samples = targetWidth * targetHeight * (Entry == 4 ? 3 : 1);
        std::fill(target, target + samples, Sample(Entry + 1));
    }
    return g_result;
}

std::vector<FakeModuleEntry> AllEntries()
{
    return {MakeFakeModuleEntry("ResampleU8", &FakeResample<unsigned char, 0>),
            MakeFakeModuleEntry("ResampleS8", &FakeResample<signed char, 1>),
            MakeFakeModuleEntry("ResampleU16", &FakeResample<unsigned short, 2>),
            MakeFakeModuleEntry("ResampleS16", &FakeResample<short, 3>),
            MakeFakeModuleEntry("ResampleColor24", &FakeResample<unsigned char, 4>)};
}

class MatrixResample : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearFakeModules();
        g_calls.clear();
        g_result = 1;
    }
    void TearDown() override { ClearFakeModules(); }
};

struct EntryCase
{
    const char* name;
    std::function<std::unique_ptr<MetaMatrix>()> make;
    std::function<void(MetaMatrix&, unsigned, unsigned)> scale;
    const char* entry;
    int bytesPerPixel;
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << c.name;
}

void ScaleOptimize(MetaMatrix& matrix, unsigned width, unsigned height)
{
    matrix.ScaleOptimize(width, height);
}

class MatrixResampleEntry : public MatrixResample, public ::testing::WithParamInterface<EntryCase>
{
};

TEST_P(MatrixResampleEntry, CallsTheEntryOfTheSampleTypeWithWholeImages)
{
    const EntryCase& c = GetParam();
    const std::vector<FakeModuleEntry> entries = AllEntries();
    RegisterFakeModule("Pemsola.dll", entries);
    std::unique_ptr<MetaMatrix> matrix = c.make();
    std::memset(matrix->GetPixelData(), 9, std::size_t(matrix->GetData()->nDataLength));
    const int min = matrix->GetData()->nMin;
    std::unique_ptr<MetaMatrix> sharer(matrix->Shadow());
    c.scale(*matrix, 7, 5);
    ASSERT_EQ(g_calls.size(), 1U);
    EXPECT_EQ(g_calls[0].entry, c.entry);
    EXPECT_EQ(g_calls[0].geometry, (std::vector<int>{3, 2, 0, 0, 3, 2, 7, 5, 0, 0, 7, 5, 1}));
    EXPECT_NE(g_calls[0].firstSource[0], 0);
    EXPECT_EQ(matrix->GetWidth(), 7);
    EXPECT_EQ(matrix->GetHeight(), 5);
    EXPECT_EQ(matrix->GetData()->nDataLength, 35 * c.bytesPerPixel);
    EXPECT_EQ(matrix->GetData()->nMin, min);
    EXPECT_EQ(sharer->GetWidth(), 3);
    const std::size_t entryNumber = std::size_t(
        std::find(std::begin(kEntryNames), std::end(kEntryNames), std::string(c.entry)) -
        std::begin(kEntryNames));
    EXPECT_EQ(Bytes(*matrix)[0], entryNumber + 1); // the low byte of a 16-bit sample
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, MatrixResampleEntry,
    ::testing::Values(
        EntryCase{"Unsigned8",
                  [] { return std::make_unique<MetaMatrix8>(8, 8, 7, 2, 3, 3, 200, 0, 1); },
                  ScaleOptimize, "ResampleU8", 1},
        EntryCase{"Signed8",
                  [] { return std::make_unique<MetaMatrix8>(8, 8, 7, 2, 3, -3, 100, 1, 1); },
                  ScaleOptimize, "ResampleS8", 1},
        EntryCase{"Unsigned16",
                  [] { return std::make_unique<MetaMatrix16>(16, 12, 11, 2, 3, 4, 4095, 0, 1); },
                  ScaleOptimize, "ResampleU16", 2},
        EntryCase{"Signed16",
                  [] { return std::make_unique<MetaMatrix16>(16, 16, 15, 2, 3, -5, 5, 1, 1); },
                  ScaleOptimize, "ResampleS16", 2},
        EntryCase{"Colour",
                  [] { return std::make_unique<MetaMatrixRGB>(8, 8, 7, 2, 3, 0, 255, 0, 3); },
                  ScaleOptimize, "ResampleColor24", 3},
        EntryCase{"ColourScale",
                  [] { return std::make_unique<MetaMatrixRGB>(8, 8, 7, 2, 3, 0, 255, 0, 3); },
                  [](MetaMatrix& m, unsigned w, unsigned h) { m.Scale(w, h); }, "ResampleColor24",
                  3}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

TEST_F(MatrixResample, FallsBackToTheSecondLibrary)
{
    const std::vector<FakeModuleEntry> entries = AllEntries();
    RegisterAbsentModule("Pemsola.dll");
    RegisterFakeModule("Emsola.dll", entries);
    MetaMatrix16 matrix = Make16(1, 2, {1, 2});
    matrix.ScaleOptimize(4, 2);
    ASSERT_EQ(g_calls.size(), 1U);
    EXPECT_EQ(matrix.GetWidth(), 4);
    EXPECT_EQ(GetFakeModuleLoadCount("Emsola.dll"), 0);
}

TEST_F(MatrixResample, NoLibraryLeavesTheMatrix)
{
    // The second library does not exist on this system: the fallback fails
    // by itself.
    RegisterAbsentModule("Pemsola.dll");
    MetaMatrix8 matrix = Make8(1, 2, {1, 2});
    matrix.ScaleOptimize(4, 4);
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 2}));
}

TEST_F(MatrixResample, MissingEntryLeavesTheMatrixAndFreesTheLibrary)
{
    RegisterFakeModule("Pemsola.dll", {});
    MetaMatrix16 matrix = Make16(1, 2, {1, 2});
    matrix.ScaleOptimize(4, 4);
    EXPECT_EQ(matrix.GetWidth(), 2);
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 0);
}

TEST_F(MatrixResample, RefusedCallLeavesTheMatrix)
{
    const std::vector<FakeModuleEntry> entries = AllEntries();
    RegisterFakeModule("Pemsola.dll", entries);
    g_result = 0;
    MetaMatrixRGB matrix = MakeRgb(2, 2);
    matrix.ScaleOptimize(4, 4);
    EXPECT_EQ(g_calls.size(), 1U);
    EXPECT_EQ(Bytes(matrix), Bytes(MakeRgb(2, 2)));
}

TEST_F(MatrixResample, NothingToDoCallsNothing)
{
    const std::vector<FakeModuleEntry> entries = AllEntries();
    RegisterFakeModule("Pemsola.dll", entries);
    MetaMatrix8 matrix = Make8(2, 2, {1, 2, 3, 4});
    matrix.ScaleOptimize(2, 2);
    matrix.ScaleOptimize(0, 3);
    matrix.ScaleOptimize(3, 0);
    MetaMatrix8().ScaleOptimize(3, 3);
    matrix.ScaleOptimize(0x10000, 0x10000); // more than an int of bytes
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MatrixResample, BinaryScalesWithoutTheLibrary)
{
    const std::vector<FakeModuleEntry> entries = AllEntries();
    RegisterFakeModule("Pemsola.dll", entries);
    MetaMatrix8 source = Make8(1, 2, {255, 0});
    MetaMatrixBinary binary;
    binary.FromMetaMatrix8(&source);
    binary.ScaleOptimize(4, 2);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(binary.GetWidth(), 4);
}

TEST_F(MatrixResample, RealLibraryKeepsAFlatImageFlat)
{
    MetaMatrix16 samples = Make16(4, 4, std::vector<std::uint16_t>(16, 3000));
    samples.ScaleOptimize(8, 6);
    ASSERT_EQ(samples.GetWidth(), 8);
    EXPECT_EQ(ReadAll(samples), std::vector<int>(48, 3000));
    MetaMatrix16 negative = Make16(2, 2, std::vector<std::uint16_t>(4, 0xFE0C), true);
    negative.ScaleOptimize(5, 5);
    EXPECT_EQ(ReadAll(negative), std::vector<int>(25, -500));
    MetaMatrixRGB colour = MakeRgb(1, 1);
    colour.SetPixelValue(0, 0, 0x1420);
    colour.ScaleOptimize(3, 3);
    EXPECT_EQ(ReadAll(colour), std::vector<int>(9, 0x1420));
}

TEST_F(MatrixResample, RealLibraryInterpolatesBetweenPixels)
{
    MetaMatrix8 bytes = Make8(1, 2, {0, 200});
    bytes.ScaleOptimize(8, 1);
    const std::vector<int> values = ReadAll(bytes);
    ASSERT_EQ(values.size(), 8U);
    EXPECT_LT(values.front(), values.back());
    EXPECT_TRUE(std::any_of(values.begin(), values.end(), [](int v) { return v > 20 && v < 180; }));
}

} // namespace
