// The results of "Pemsola.dll" pinned against its output as first released:
// a table of scalings of every sample type in both modes, compared with the
// stored results within one level. Run with SUITE_WRITE_REFERENCES=1 to
// store the results anew (only when a change of results is intended).
#include "Pemsola.h"
#include "ShimLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace
{
struct PinnedCase
{
    const char* pName;
    const char* pEntry;
    int nChannels;
    int nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH;
    int nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH;
    int nMode;
};

// Enlargements by whole and odd factors, reductions, a stretch along one
// axis only and rectangles inside larger images.
const PinnedCase kCases[] = {
    {"u8_display_up2", "ResampleU8", 1, 40, 30, 0, 0, 40, 30, 80, 60, 0, 0, 80, 60, 1},
    {"u8_display_down", "ResampleU8", 1, 40, 30, 0, 0, 40, 30, 13, 11, 0, 0, 13, 11, 1},
    {"u8_bilinear_odd", "ResampleU8", 1, 40, 30, 0, 0, 40, 30, 57, 43, 0, 0, 57, 43, 0},
    {"u8_bilinear_down", "ResampleU8", 1, 40, 30, 0, 0, 40, 30, 17, 9, 0, 0, 17, 9, 0},
    {"s8_display_odd", "ResampleS8", 1, 40, 30, 0, 0, 40, 30, 71, 29, 0, 0, 71, 29, 1},
    {"u16_display_up2", "ResampleU16", 1, 40, 30, 0, 0, 40, 30, 80, 60, 0, 0, 80, 60, 1},
    {"u16_display_up3", "ResampleU16", 1, 40, 30, 0, 0, 40, 30, 120, 90, 0, 0, 120, 90, 1},
    {"u16_display_down", "ResampleU16", 1, 40, 30, 0, 0, 40, 30, 23, 7, 0, 0, 23, 7, 1},
    {"u16_display_part", "ResampleU16", 1, 40, 30, 5, 3, 21, 17, 70, 50, 4, 6, 61, 39, 1},
    {"u16_bilinear_up2", "ResampleU16", 1, 40, 30, 0, 0, 40, 30, 80, 60, 0, 0, 80, 60, 0},
    {"s16_display_odd", "ResampleS16", 1, 40, 30, 0, 0, 40, 30, 53, 67, 0, 0, 53, 67, 1},
    {"s16_bilinear_part", "ResampleS16", 1, 40, 30, 2, 1, 33, 25, 50, 40, 3, 2, 44, 37, 0},
    {"rgb_display_up2", "ResampleColor24", 3, 40, 30, 0, 0, 40, 30, 80, 60, 0, 0, 80, 60, 1},
    {"rgb_display_down", "ResampleColor24", 3, 40, 30, 0, 0, 40, 30, 19, 14, 0, 0, 19, 14, 1},
    {"rgb_bilinear_odd", "ResampleColor24", 3, 40, 30, 0, 0, 40, 30, 61, 23, 0, 0, 61, 23, 0},
};

// Smooth shading, hard edges between the ends of the range and fine noise:
// every filter rings, clamps and averages somewhere in it.
template <typename Sample> std::vector<Sample> MakeSource(int nWidth, int nHeight, int nChannels)
{
    const double dLow = std::numeric_limits<Sample>::min();
    const double dHigh = std::numeric_limits<Sample>::max();
    std::vector<Sample> samples;
    uint32_t nNoise = 2024;
    for (int y = 0; y < nHeight; ++y)
    {
        for (int x = 0; x < nWidth; ++x)
        {
            for (int c = 0; c < nChannels; ++c)
            {
                nNoise = nNoise * 1664525u + 1013904223u;
                double dLevel = 0.5 + 0.35 * std::sin(0.3 * x + c) * std::cos(0.21 * y);
                if ((x / 7 + y / 5) % 3 == 0)
                {
                    dLevel = (x + c) % 2 == 0 ? 0.0 : 1.0;
                }
                dLevel += ((nNoise >> 24) / 255.0 - 0.5) * 0.04;
                const double dValue = dLow + std::clamp(dLevel, 0.0, 1.0) * (dHigh - dLow);
                samples.push_back(static_cast<Sample>(std::lround(dValue)));
            }
        }
    }
    return samples;
}

std::string GetReferencePath(const PinnedCase& pinned)
{
    return std::string(SUITE_TEST_DATA_DIR) + "/resample/" + pinned.pName + ".raw";
}

class PemsolaPinned : public ::testing::TestWithParam<PinnedCase>
{
protected:
    template <typename Sample> void DoCheck()
    {
        const PinnedCase& c = GetParam();
        const auto pResample = m_library.GetEntry<PFN_Resample<Sample>>(c.pEntry);
        ASSERT_NE(pResample, nullptr);
        const std::vector<Sample> src = MakeSource<Sample>(c.nSrcWidth, c.nSrcHeight, c.nChannels);
        // The area outside the destination rectangle keeps its mid-range fill.
        std::vector<Sample> dst(size_t(c.nDstWidth) * size_t(c.nDstHeight) * size_t(c.nChannels),
                                static_cast<Sample>(std::numeric_limits<Sample>::max() / 2));
        ASSERT_EQ(pResample(src.data(), c.nSrcWidth, c.nSrcHeight, c.nSrcX, c.nSrcY, c.nSrcW,
                            c.nSrcH, dst.data(), c.nDstWidth, c.nDstHeight, c.nDstX, c.nDstY,
                            c.nDstW, c.nDstH, c.nMode),
                  1);
        const size_t nBytes = dst.size() * sizeof(Sample);
        if (std::getenv("SUITE_WRITE_REFERENCES") != nullptr)
        {
            std::ofstream(GetReferencePath(c), std::ios::binary)
                .write(reinterpret_cast<const char*>(dst.data()), std::streamsize(nBytes));
            return;
        }
        std::ifstream file(GetReferencePath(c), std::ios::binary);
        const std::vector<char> stored((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
        ASSERT_EQ(stored.size(), nBytes) << GetReferencePath(c);
        std::vector<Sample> expected(dst.size());
        std::copy(stored.begin(), stored.end(), reinterpret_cast<char*>(expected.data()));
        int nWorst = 0;
        size_t nWorstAt = 0;
        for (size_t i = 0; i < dst.size(); ++i)
        {
            const int nDifference = std::abs(int(dst[i]) - int(expected[i]));
            if (nDifference > nWorst)
            {
                nWorst = nDifference;
                nWorstAt = i;
            }
        }
        EXPECT_LE(nWorst, 1) << "at sample " << nWorstAt << ": " << int(dst[nWorstAt])
                             << " instead of " << int(expected[nWorstAt]);
    }

    ShimLibrary m_library{"Pemsola"};
};

TEST_P(PemsolaPinned, ResultsStayWithinOneLevel)
{
    ASSERT_TRUE(m_library.IsLoaded());
    const std::string entry = GetParam().pEntry;
    if (entry == "ResampleS8")
        DoCheck<int8_t>();
    else if (entry == "ResampleU16")
        DoCheck<uint16_t>();
    else if (entry == "ResampleS16")
        DoCheck<int16_t>();
    else
        DoCheck<uint8_t>();
}

INSTANTIATE_TEST_SUITE_P(Cases, PemsolaPinned, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PinnedCase>& info)
                         { return std::string(info.param.pName); });
} // namespace
