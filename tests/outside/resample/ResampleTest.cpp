// The resampling entries of "Pemsola.dll": exact values of bilinear
// interpolation, the display filter's averaging, sample ranges, rectangles
// and refused arguments.
#include "Pemsola.h"
#include "ShimLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

namespace
{
constexpr int kBilinear = 0;
constexpr int kDisplay = 1;

// A whole-image call, as the suite's callers make it.
template <typename Sample>
int ResampleWhole(PFN_Resample<Sample> pResample, const std::vector<Sample>& src, int nSrcWidth,
                  int nSrcHeight, std::vector<Sample>& dst, int nDstWidth, int nDstHeight,
                  int nMode)
{
    return pResample(src.data(), nSrcWidth, nSrcHeight, 0, 0, nSrcWidth, nSrcHeight, dst.data(),
                     nDstWidth, nDstHeight, 0, 0, nDstWidth, nDstHeight, nMode);
}
} // namespace

class Pemsola : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_library.IsLoaded()); }

    template <typename Sample> PFN_Resample<Sample> GetEntry(const char* pName) const
    {
        const auto pEntry = m_library.GetEntry<PFN_Resample<Sample>>(pName);
        EXPECT_NE(pEntry, nullptr) << pName;
        return pEntry;
    }

    ShimLibrary m_library{"Pemsola"};
};

TEST_F(Pemsola, BilinearAlignsPixelCentres)
{
    const auto pResample = GetEntry<uint8_t>("ResampleU8");
    const std::vector<uint8_t> src = {0, 100};
    std::vector<uint8_t> dst(4);
    ASSERT_EQ(ResampleWhole(pResample, src, 2, 1, dst, 4, 1, kBilinear), 1);
    EXPECT_EQ(dst, (std::vector<uint8_t>{0, 25, 75, 100}));
}

TEST_F(Pemsola, BilinearWorksInBothDirections)
{
    const auto pResample = GetEntry<uint16_t>("ResampleU16");
    // 2 x 2 corners, scaled to 4 x 4: each axis as in the one-row case.
    const std::vector<uint16_t> src = {0, 400, 800, 1200};
    std::vector<uint16_t> dst(16);
    ASSERT_EQ(ResampleWhole(pResample, src, 2, 2, dst, 4, 4, kBilinear), 1);
    EXPECT_EQ(dst[0], 0);
    EXPECT_EQ(dst[1], 100);
    EXPECT_EQ(dst[4], 200);
    EXPECT_EQ(dst[5], 300);
    EXPECT_EQ(dst[15], 1200);
}

TEST_F(Pemsola, SignedSamplesKeepTheirSign)
{
    const auto pS8 = GetEntry<int8_t>("ResampleS8");
    const std::vector<int8_t> src8 = {-100, 100};
    std::vector<int8_t> dst8(4);
    ASSERT_EQ(ResampleWhole(pS8, src8, 2, 1, dst8, 4, 1, kBilinear), 1);
    EXPECT_EQ(dst8, (std::vector<int8_t>{-100, -50, 50, 100}));

    const auto pS16 = GetEntry<int16_t>("ResampleS16");
    const std::vector<int16_t> src16 = {-32768, 32767};
    std::vector<int16_t> dst16(4);
    ASSERT_EQ(ResampleWhole(pS16, src16, 2, 1, dst16, 4, 1, kBilinear), 1);
    EXPECT_EQ(dst16, (std::vector<int16_t>{-32768, -16384, 16383, 32767}));
}

TEST_F(Pemsola, ColourChannelsAreFilteredApart)
{
    const auto pResample = GetEntry<uint8_t>("ResampleColor24");
    const std::vector<uint8_t> src = {0, 100, 200, 100, 200, 0};
    std::vector<uint8_t> dst(4 * 3);
    ASSERT_EQ(ResampleWhole(pResample, src, 2, 1, dst, 4, 1, kBilinear), 1);
    EXPECT_EQ(dst, (std::vector<uint8_t>{0, 100, 200, 25, 125, 150, 75, 175, 50, 100, 200, 0}));
}

struct ModeCase
{
    int nMode;
    const char* pName;
};

class PemsolaMode : public Pemsola, public ::testing::WithParamInterface<ModeCase>
{
};

TEST_P(PemsolaMode, SameSizeCopiesExactly)
{
    const auto pResample = GetEntry<int16_t>("ResampleS16");
    std::vector<int16_t> src(37 * 23);
    std::iota(src.begin(), src.end(), int16_t{-400});
    src[5] = std::numeric_limits<int16_t>::min();
    src[6] = std::numeric_limits<int16_t>::max();
    std::vector<int16_t> dst(src.size());
    ASSERT_EQ(ResampleWhole(pResample, src, 37, 23, dst, 37, 23, GetParam().nMode), 1);
    EXPECT_EQ(dst, src);
}

TEST_P(PemsolaMode, FlatImagesStayFlatAtTheTopOfTheRange)
{
    const auto pResample = GetEntry<uint16_t>("ResampleU16");
    const std::vector<uint16_t> src(30 * 20, 65535);
    for (const auto& [nWidth, nHeight] : {std::pair{7, 5}, std::pair{95, 61}, std::pair{30, 1}})
    {
        std::vector<uint16_t> dst(static_cast<size_t>(nWidth * nHeight));
        ASSERT_EQ(ResampleWhole(pResample, src, 30, 20, dst, nWidth, nHeight, GetParam().nMode), 1);
        EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](uint16_t v) { return v == 65535; }))
            << nWidth << "x" << nHeight;
    }
}

TEST_P(PemsolaMode, OvershootIsClampedToTheSampleRange)
{
    // A hard edge from the bottom to the top of the range, enlarged: ringing
    // past either end must stop at the end, not wrap round to the other.
    const auto pResample = GetEntry<uint8_t>("ResampleU8");
    const std::vector<uint8_t> src = {0, 0, 0, 0, 255, 255, 255, 255};
    std::vector<uint8_t> dst(64);
    ASSERT_EQ(ResampleWhole(pResample, src, 8, 1, dst, 64, 1, GetParam().nMode), 1);
    EXPECT_EQ(dst.front(), 0);
    EXPECT_EQ(dst.back(), 255);
    EXPECT_LT(*std::max_element(dst.begin(), dst.begin() + 28), 64);
    EXPECT_GT(*std::min_element(dst.begin() + 36, dst.end()), 191);
}

INSTANTIATE_TEST_SUITE_P(Modes, PemsolaMode,
                         ::testing::Values(ModeCase{kBilinear, "Bilinear"},
                                           ModeCase{kDisplay, "Display"}),
                         [](const ::testing::TestParamInfo<ModeCase>& info)
                         { return std::string(info.param.pName); });

TEST_F(Pemsola, DisplayModeAveragesDetailWhenShrinking)
{
    // A one-pixel checkerboard shrunk three times: the display filter gives its
    // mean grey, bilinear interpolation keeps picking black and white.
    const auto pResample = GetEntry<uint8_t>("ResampleU8");
    std::vector<uint8_t> src(63 * 63);
    for (size_t i = 0; i < src.size(); ++i)
    {
        src[i] = ((i % 63 + i / 63) % 2 == 0) ? 0 : 255;
    }
    std::vector<uint8_t> display(21 * 21);
    std::vector<uint8_t> bilinear(21 * 21);
    ASSERT_EQ(ResampleWhole(pResample, src, 63, 63, display, 21, 21, kDisplay), 1);
    ASSERT_EQ(ResampleWhole(pResample, src, 63, 63, bilinear, 21, 21, kBilinear), 1);
    const auto [displayLow, displayHigh] = std::minmax_element(display.begin(), display.end());
    EXPECT_GE(*displayLow, 118);
    EXPECT_LE(*displayHigh, 137);
    const auto [bilinearLow, bilinearHigh] = std::minmax_element(bilinear.begin(), bilinear.end());
    EXPECT_EQ(*bilinearHigh - *bilinearLow, 255);
}

TEST_F(Pemsola, OnlyTheDestinationRectangleIsWritten)
{
    const auto pResample = GetEntry<uint8_t>("ResampleU8");
    // Source 4 x 2; its right half (x = 2, 3) holds 10 and 30 on both rows.
    const std::vector<uint8_t> src = {99, 99, 10, 30, 99, 99, 10, 30};
    std::vector<uint8_t> dst(6 * 3, 7);
    ASSERT_EQ(pResample(src.data(), 4, 2, 2, 0, 2, 2, dst.data(), 6, 3, 1, 1, 4, 1, kBilinear), 1);
    const std::vector<uint8_t> expected = {7, 7,  7,  7,  7,  7, //
                                           7, 10, 15, 25, 30, 7, //
                                           7, 7,  7,  7,  7,  7};
    EXPECT_EQ(dst, expected);
}

TEST_F(Pemsola, RefusesBadArgumentsWithoutWriting)
{
    const auto pResample = GetEntry<uint8_t>("ResampleU8");
    const std::vector<uint8_t> src(16, 50);
    std::vector<uint8_t> dst(16, 7);
    struct Call
    {
        int nSrcX, nSrcY, nSrcW, nSrcH, nDstX, nDstY, nDstW, nDstH;
    };
    const Call calls[] = {
        {0, 0, 0, 4, 0, 0, 4, 4},  {0, 0, 4, 4, 0, 0, 4, -1}, {1, 0, 4, 4, 0, 0, 4, 4},
        {0, -1, 4, 4, 0, 0, 4, 4}, {0, 0, 4, 4, 3, 3, 2, 2},  {0, 0, 5, 4, 0, 0, 4, 4},
    };
    for (const Call& c : calls)
    {
        EXPECT_EQ(pResample(src.data(), 4, 4, c.nSrcX, c.nSrcY, c.nSrcW, c.nSrcH, dst.data(), 4, 4,
                            c.nDstX, c.nDstY, c.nDstW, c.nDstH, kDisplay),
                  0);
    }
    EXPECT_EQ(pResample(nullptr, 4, 4, 0, 0, 4, 4, dst.data(), 4, 4, 0, 0, 4, 4, kBilinear), 0);
    EXPECT_EQ(pResample(src.data(), 4, 4, 0, 0, 4, 4, nullptr, 4, 4, 0, 0, 4, 4, kBilinear), 0);
    EXPECT_EQ(pResample(src.data(), 0, 4, 0, 0, 0, 4, dst.data(), 4, 4, 0, 0, 4, 4, kBilinear), 0);
    EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](uint8_t v) { return v == 7; }));
}

TEST_F(Pemsola, ExportsOnlyItsEntries)
{
    for (const char* pName :
         {"ResampleU8", "ResampleS8", "ResampleU16", "ResampleS16", "ResampleColor24"})
    {
        EXPECT_NE(m_library.GetEntry<void*>(pName), nullptr) << pName;
    }
    EXPECT_EQ(m_library.GetEntry<void*>("_ZNK16ResampleGeometry7IsValidEv"), nullptr);
}
