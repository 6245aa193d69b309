// Automatic window and level of ImageProcess: the statics on known sample
// distributions (8-bit range, 16-bit histogram cuts, signed shift, samples
// above 32767, an empty border) and the member on a frame's samples.
#include "ImageProcess.h"
#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

struct Window
{
    int result;
    int width;
    int center;
};

bool operator==(const Window& a, const Window& b)
{
    return a.result == b.result && a.width == b.width && a.center == b.center;
}

void PrintTo(const Window& window, std::ostream* out)
{
    *out << "{result " << window.result << ", width " << window.width << ", center "
         << window.center << "}";
}

// 100 samples first + step x index, in a 10 x 10 frame.
std::vector<int> MakeSteps(int first, int step)
{
    std::vector<int> values;
    for (int index = 0; index < 100; ++index)
    {
        values.push_back(first + step * index);
    }
    return values;
}

struct HistogramCase
{
    const char* name;
    std::vector<int> values;
    int width;
    int height;
    float border;
    float fraction;
    bool isSigned;
    Window expected;
};

// With fractions of 0.1 of 100 pixels, each cut passes 10 samples and the
// edge is the 11th. Steps of 10 from 0: points 100 and 890; the lower edge
// counts from 179 (180 ... 280), the upper one from the top (890).
const HistogramCase HistogramCases[] = {
    {"AllEqualWithNoCut", std::vector<int>(16, 1000), 4, 4, 0.0f, 0.0f, false, {1, 0, 1000}},
    {"StepsOfTen", MakeSteps(0, 10), 10, 10, 0.0f, 0.1f, false, {1, 610, 585}},
    {"SignedStepsShiftBack", MakeSteps(-500, 10), 10, 10, 0.0f, 0.1f, true, {1, 610, 85}},
    // Points 6000 and 53400; edges 10800 + 6000 and 48600 - 6000. Counting
    // the upper edge down from the mirror of its start (16876) would end
    // below the lower edge.
    {"WideRangeAbove32767", MakeSteps(0, 600), 10, 10, 0.0f, 0.1f, false, {1, 25800, 29700}},
    // A border of 1 of 4 leaves rows and columns 1 and 2 (values 5, 6, 9, 10).
    {"BorderKeepsTheInside", MakeSteps(0, 1), 4, 4, 0.25f, 0.0f, false, {1, 5, 7}},
    {"BorderLeavesNothing", MakeSteps(0, 1), 2, 2, 0.5f, 0.01f, false, {0, 0, 0}},
};

template <typename Sample>
using AutoWindowLevelFunction = int (*)(float, float, float, const Sample*, int, int, int, int*,
                                        int*);

// The window the function gives for the case's values as its kind of
// samples.
template <typename Sample>
Window RunHistogram(AutoWindowLevelFunction<Sample> autoWindowLevel, const HistogramCase& c)
{
    const std::vector<Sample> samples(c.values.begin(), c.values.begin() + c.width * c.height);
    Window window{0, -1, -1};
    window.result = autoWindowLevel(c.border, c.fraction, c.fraction, samples.data(), c.width,
                                    c.height, 16, &window.width, &window.center);
    return window;
}

void PrintTo(const HistogramCase& c, std::ostream* out)
{
    *out << c.name;
}

class HistogramWindowTest : public ::testing::TestWithParam<HistogramCase>
{
};

TEST_P(HistogramWindowTest, GivesTheExpectedWindow)
{
    const HistogramCase& c = GetParam();
    const Window window =
        c.isSigned ? RunHistogram<std::int16_t>(ImageProcess::AutoWindowLevel_INT16, c)
                   : RunHistogram<std::uint16_t>(ImageProcess::AutoWindowLevel_UINT16, c);
    EXPECT_EQ(window, c.expected);
}

INSTANTIATE_TEST_SUITE_P(AutoWindowLevel, HistogramWindowTest, ::testing::ValuesIn(HistogramCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AutoWindowLevelTest, EightBitsTakeTheWholeRange)
{
    std::vector<std::uint8_t> samples(12, 100);
    samples[3] = 10;
    samples[11] = 250;
    Window window{0, 0, 0};
    window.result =
        ImageProcess::AutoWindowLevel_UINT8(samples.data(), 4, 3, 8, &window.width, &window.center);
    EXPECT_EQ(window, (Window{1, 240, 130}));
}

TEST(AutoWindowLevelTest, TheShortFormsCutOnePercent)
{
    // 200 x 200 samples of value column + row (0 .. 398).
    std::vector<std::uint16_t> samples;
    for (int row = 0; row < 200; ++row)
    {
        for (int column = 0; column < 200; ++column)
        {
            samples.push_back(static_cast<std::uint16_t>(row + column));
        }
    }
    Window full{0, 0, 0};
    full.result = ImageProcess::AutoWindowLevel_UINT16(0.01f, 0.01f, 0.01f, samples.data(), 200,
                                                       200, 16, &full.width, &full.center);
    Window shortForm{0, 0, 0};
    shortForm.result = ImageProcess::AutoWindowLevel_UINT16(samples.data(), 200, 200, 16,
                                                            &shortForm.width, &shortForm.center);
    EXPECT_EQ(shortForm, full);
    EXPECT_EQ(full.result, 1);
    Window uncut{0, 0, 0};
    uncut.result = ImageProcess::AutoWindowLevel_UINT16(0.0f, 0.0f, 0.0f, samples.data(), 200, 200,
                                                        16, &uncut.width, &uncut.center);
    EXPECT_EQ(uncut, (Window{1, 398, 199}));
    EXPECT_LT(full.width, uncut.width);
}

TEST(AutoWindowLevelTest, MissingSamplesFail)
{
    int width = 7;
    int center = 7;
    const std::uint16_t sample = 5;
    EXPECT_EQ(ImageProcess::AutoWindowLevel_UINT16(nullptr, 4, 4, 16, &width, &center), 0);
    EXPECT_EQ(ImageProcess::AutoWindowLevel_UINT16(&sample, 0, 1, 16, &width, &center), 0);
    EXPECT_EQ(ImageProcess::AutoWindowLevel_UINT16(&sample, 1, 1, 16, nullptr, &center), 0);
    EXPECT_EQ(ImageProcess::AutoWindowLevel_INT16(nullptr, 4, 4, 16, &width, &center), 0);
    EXPECT_EQ(ImageProcess::AutoWindowLevel_UINT8(nullptr, 4, 4, 8, &width, &center), 0);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(center, 7);
}

class AutoWindowLevelMemberTest : public LibraryTest
{
};

// A 10 x 10 frame of steps of 10 from first, with the given kind of samples.
void FillStepImage(DICOMImage& image, int bitsAllocated, bool isSigned, int first)
{
    FillImageAttributes(image, 10, 10, bitsAllocated, 1, "MONOCHROME2", 1);
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(isSigned ? 1 : 0));
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    ImageBytes bytes;
    for (int value : MakeSteps(first, bitsAllocated > 8 ? 10 : 2))
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        if (bitsAllocated > 8)
        {
            bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
    }
    SetNativePixels(image, bytes);
}

TEST_F(AutoWindowLevelMemberTest, PicksTheFunctionByTheSamples)
{
    struct
    {
        int bitsAllocated;
        bool isSigned;
        int first;
        Window expected;
    } const cases[] = {
        // 1 % of 10 rows is no border; each cut passes 1 of 100 pixels.
        {16, false, 0, {1, 950, 505}},
        {16, true, -500, {1, 950, 5}},
        {8, false, 10, {1, 198, 109}},
    };
    for (const auto& c : cases)
    {
        DICOMImage image;
        FillStepImage(image, c.bitsAllocated, c.isSigned, c.first);
        ImageProcess process(image, 0);
        Window window{process.AutoWindowLevel(), 0, 0};
        window.width = process.GetWindowWidth();
        window.center = process.GetWindowCenter();
        EXPECT_EQ(window, c.expected) << c.bitsAllocated << " bits, first " << c.first;
    }
}

TEST_F(AutoWindowLevelMemberTest, AShortFrameKeepsTheWindow)
{
    DICOMImage image;
    FillStepImage(image, 16, false, 0);
    image.Add(0x0028, 0x0010, static_cast<unsigned short>(20));
    image.Add(0x0028, 0x1050, "40");
    image.Add(0x0028, 0x1051, "400");
    ImageProcess process(image, 0);
    EXPECT_EQ(process.AutoWindowLevel(), 0);
    EXPECT_EQ(process.GetWindowCenter(), 40);
    EXPECT_EQ(process.GetWindowWidth(), 400);
}

} // namespace
