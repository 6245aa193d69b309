// "Wexalo.dll" loaded by name: the sigmoid window of frames with a known
// distribution of values, the border and the trimmed ends, and the refusals.
#include "Wexalo.h"
#include "ShimLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

namespace
{

struct Window
{
    int result = -1;
    int width = -7;
    int centre = -7;
};

// A frame of width x height samples whose values follow the logistic
// distribution of the given centre and width: the values at which its
// cumulative share is (i + 0.5) / n, rounded and kept within the type.
template <typename Sample>
std::vector<Sample> MakeLogisticFrame(int width, int height, double centre, double windowWidth)
{
    const int count = width * height;
    std::vector<Sample> frame(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const double share = (i + 0.5) / count;
        const double value = centre + windowWidth / 4.0 * std::log(share / (1.0 - share));
        frame[static_cast<std::size_t>(i)] = static_cast<Sample>(
            std::clamp(std::round(value), static_cast<double>(std::numeric_limits<Sample>::min()),
                       static_cast<double>(std::numeric_limits<Sample>::max())));
    }
    return frame;
}

class WexaloTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_library.IsLoaded()); }

    template <typename Sample> PFN_AutoWindowLevel<Sample> GetEntry() const
    {
        const char* name = std::is_same_v<Sample, std::uint8_t>   ? "AutoWindowLevel_UINT8"
                           : std::is_same_v<Sample, std::int16_t> ? "AutoWindowLevel_INT16"
                                                                  : "AutoWindowLevel_UINT16";
        return m_library.GetEntry<PFN_AutoWindowLevel<Sample>>(name);
    }

    template <typename Sample>
    Window Call(const std::vector<Sample>& frame, int width, int height, float border = 0.01f,
                float low = 0.01f, float high = 0.01f) const
    {
        const PFN_AutoWindowLevel<Sample> entry = GetEntry<Sample>();
        EXPECT_NE(entry, nullptr);
        Window window;
        if (entry != nullptr)
        {
            window.result = entry(border, low, high, frame.data(), width, height, 16, &window.width,
                                  &window.centre);
        }
        return window;
    }

    ShimLibrary m_library{"Wexalo"};
};

// The frames are counted whole: their values run in order, so a border
// would take away the extremes first.
TEST_F(WexaloTest, RecoversTheWindowOfALogisticFrame)
{
    const Window bytes = Call(MakeLogisticFrame<std::uint8_t>(64, 64, 100, 40), 64, 64, 0.0f);
    EXPECT_EQ(bytes.result, 1);
    EXPECT_NEAR(bytes.centre, 100, 1);
    EXPECT_NEAR(bytes.width, 40, 1);

    const Window words =
        Call(MakeLogisticFrame<std::uint16_t>(128, 128, 2000, 600), 128, 128, 0.0f);
    EXPECT_EQ(words.result, 1);
    EXPECT_NEAR(words.centre, 2000, 1);
    EXPECT_NEAR(words.width, 600, 1);

    const Window signedWords =
        Call(MakeLogisticFrame<std::int16_t>(128, 128, -1000, 600), 128, 128, 0.0f);
    EXPECT_EQ(signedWords.result, 1);
    EXPECT_NEAR(signedWords.centre, -1000, 1);
    EXPECT_NEAR(signedWords.width, 600, 1);
}

TEST_F(WexaloTest, ShiftingEverySampleMovesOnlyTheCentre)
{
    std::vector<std::uint16_t> frame = MakeLogisticFrame<std::uint16_t>(96, 80, 3000, 900);
    const Window before = Call(frame, 96, 80);
    for (std::uint16_t& sample : frame)
    {
        sample = static_cast<std::uint16_t>(sample + 40000);
    }
    const Window after = Call(frame, 96, 80);
    EXPECT_NEAR(after.centre - before.centre, 40000, 1);
    EXPECT_NEAR(after.width, before.width, 1);
}

TEST_F(WexaloTest, SignedSamplesAgreeWithUnsignedOnesHalfTheRangeHigher)
{
    const std::vector<std::int16_t> frame = MakeLogisticFrame<std::int16_t>(90, 70, -200, 2500);
    std::vector<std::uint16_t> raised(frame.size());
    std::transform(frame.begin(), frame.end(), raised.begin(),
                   [](std::int16_t sample) { return static_cast<std::uint16_t>(sample + 32768); });
    const Window signedWindow = Call(frame, 90, 70);
    const Window unsignedWindow = Call(raised, 90, 70);
    EXPECT_NEAR(unsignedWindow.centre - signedWindow.centre, 32768, 1);
    EXPECT_NEAR(unsignedWindow.width, signedWindow.width, 1);
}

// A 100 x 100 frame leaves a border of one pixel out; its inside alone,
// counted without a border, gives the same window.
TEST_F(WexaloTest, TheBorderStaysOutOfTheCount)
{
    const std::vector<std::uint16_t> inside = MakeLogisticFrame<std::uint16_t>(98, 98, 1500, 400);
    std::vector<std::uint16_t> frame(100 * 100);
    for (int row = 0; row < 100; ++row)
    {
        for (int column = 0; column < 100; ++column)
        {
            const bool isEdge = row == 0 || row == 99 || column == 0 || column == 99;
            frame[static_cast<std::size_t>(row * 100 + column)] =
                isEdge ? static_cast<std::uint16_t>((row + column) % 2 == 0 ? 0 : 65535)
                       : inside[static_cast<std::size_t>((row - 1) * 98 + column - 1)];
        }
    }
    const Window withBorder = Call(frame, 100, 100, 0.01f);
    const Window insideOnly = Call(inside, 98, 98, 0.0f);
    EXPECT_EQ(withBorder.result, 1);
    EXPECT_EQ(withBorder.width, insideOnly.width);
    EXPECT_EQ(withBorder.centre, insideOnly.centre);
}

TEST_F(WexaloTest, ExtremeSamplesSetAsideDoNotStretchTheWindow)
{
    std::vector<std::uint16_t> frame = MakeLogisticFrame<std::uint16_t>(100, 100, 2000, 500);
    const Window clean = Call(frame, 100, 100, 0.0f);
    for (std::size_t i = 0; i < frame.size(); i += 200) // one sample in 200
    {
        frame[i] = 65535;
    }
    const Window trimmed = Call(frame, 100, 100, 0.0f, 0.01f, 0.01f);
    const Window untrimmed = Call(frame, 100, 100, 0.0f, 0.01f, 0.0f);
    EXPECT_NEAR(trimmed.width, clean.width, clean.width / 20);
    EXPECT_NEAR(trimmed.centre, clean.centre, clean.width / 20);
    EXPECT_GT(untrimmed.width, 4 * clean.width);
}

// Half the samples 10, half 250: shares 1/4 and 3/4 lie on the line
// through (10, -ln 3) and (250, ln 3), so the centre is 130 and the width
// 4 x 240 / (2 ln 3) = 436.9.
TEST_F(WexaloTest, TwoValuesGiveTheCurveThroughBoth)
{
    std::vector<std::uint8_t> frame(16, 10);
    std::fill(frame.begin() + 8, frame.end(), 250);
    const Window window = Call(frame, 4, 4, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(window.result, 1);
    EXPECT_EQ(window.centre, 130);
    EXPECT_EQ(window.width, 437);
}

TEST_F(WexaloTest, AFrameOfOneValueGivesWidthOne)
{
    const Window words = Call(std::vector<std::uint16_t>(50 * 40, 1000), 50, 40);
    EXPECT_EQ(words.result, 1);
    EXPECT_EQ(words.width, 1);
    EXPECT_EQ(words.centre, 1000);
    const Window signedWords = Call(std::vector<std::int16_t>(9, -5), 3, 3, 0.4f);
    EXPECT_EQ(signedWords.width, 1);
    EXPECT_EQ(signedWords.centre, -5);
}

TEST_F(WexaloTest, BadArgumentsLeaveTheResultsUntouched)
{
    const std::vector<std::uint16_t> frame(16, 7);
    const PFN_AutoWindowLevel<std::uint16_t> entry = GetEntry<std::uint16_t>();
    ASSERT_NE(entry, nullptr);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char* name;
        float border, low, high;
        const std::uint16_t* pixels;
        int width, height;
        bool hasResults;
    };
    const Case cases[] = {
        {"null pixels", 0.01f, 0.01f, 0.01f, nullptr, 4, 4, true},
        {"null results", 0.01f, 0.01f, 0.01f, frame.data(), 4, 4, false},
        {"no columns", 0.01f, 0.01f, 0.01f, frame.data(), 0, 4, true},
        {"negative rows", 0.01f, 0.01f, 0.01f, frame.data(), 4, -1, true},
        {"border of half", 0.5f, 0.01f, 0.01f, frame.data(), 4, 4, true},
        {"negative border", -0.1f, 0.01f, 0.01f, frame.data(), 4, 4, true},
        {"negative low", 0.0f, -0.01f, 0.01f, frame.data(), 4, 4, true},
        {"ends meet", 0.0f, 0.5f, 0.5f, frame.data(), 4, 4, true},
        {"not a number", 0.0f, nan, 0.01f, frame.data(), 4, 4, true},
    };
    for (const Case& c : cases)
    {
        int width = -7;
        int centre = -7;
        EXPECT_EQ(entry(c.border, c.low, c.high, c.pixels, c.width, c.height, 16,
                        c.hasResults ? &width : nullptr, c.hasResults ? &centre : nullptr),
                  0)
            << c.name;
        EXPECT_EQ(width, -7) << c.name;
        EXPECT_EQ(centre, -7) << c.name;
    }
}

} // namespace
