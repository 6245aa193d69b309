// LookupTable on a real MONOCHROME2 CT (signed samples, rescale intercept
// -1024): every pixel mapped through the window tables equals the rendering
// a peer toolkit made with the linear VOI function of DICOM, also with a
// fractional rescale and with the inverted presentation of MONOCHROME1
// (references in tests/data/lut, made by tools/make_lut_references.py).
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "LookupTable.h"
#include "PixelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int SampleSize = 128;

// The renderings tools/make_lut_references.py made: the file's variant,
// its rescale, whether it is presented inverted, and the window.
struct Rendering
{
    const char* variant;
    float intercept;
    float slope;
    int inverted;
    int center;
    int width;
};

const Rendering Renderings[] = {
    {"", -1024.0f, 1.0f, 0, 40, 400},
    {"", -1024.0f, 1.0f, 0, -600, 1500},
    {"", -1024.0f, 1.0f, 0, 2000, 6000},
    {"", -1024.0f, 1.0f, 0, 35, 101},
    {"", -1024.0f, 1.0f, 0, 100, 1},
    {"_rescaled", -1024.3f, 0.7f, 0, -500, 800},
    {"_rescaled", -1024.3f, 0.7f, 0, -300, 201},
    {"_mono1", -1024.0f, 1.0f, 1, 40, 400},
    {"_mono1", -1024.0f, 1.0f, 1, 2000, 6000},
};

std::string ReferencePath(const Rendering& rendering)
{
    return std::string(SUITE_TEST_DATA_DIR) + "/lut/CT_small" + rendering.variant + "_" +
           std::to_string(rendering.center) + "_" + std::to_string(rendering.width) + ".pgm";
}

class LookupTableReferenceTest : public LibraryTest
{
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        if (!HasCorpus())
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        DICOMImage image;
        ASSERT_NE(image.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()), 0);
        ImageProcess process(image, 0);
        ASSERT_EQ(process.GetPixelRepresentation(), 1);
        ASSERT_EQ(process.GetBitsAllocated(), 16);
        ASSERT_EQ(process.GetRows(), SampleSize);
        ASSERT_EQ(process.GetColumns(), SampleSize);
        ASSERT_NE(process.ConvertToRaw(), 0);
        ASSERT_GE(process.m_nRawPixelLength, 2u * SampleSize * SampleSize);
        m_samples.resize(SampleSize * SampleSize);
        std::memcpy(m_samples.data(), process.m_pRawPixelData, m_samples.size() * 2);
        m_intercept = static_cast<float>(process.GetRescaleIntercept());
        m_slope = static_cast<float>(process.GetRescaleSlope());
    }

    LookupTable MakeWindow(const Rendering& rendering) const
    {
        const auto [lowest, highest] = std::minmax_element(m_samples.begin(), m_samples.end());
        LookupTable window(*lowest, *highest, rendering.intercept, rendering.slope, rendering.width,
                           rendering.center);
        window.SetInverted(rendering.inverted);
        return window;
    }

    std::vector<std::int16_t> m_samples;
    float m_intercept = 0.0f;
    float m_slope = 1.0f;
};

TEST_F(LookupTableReferenceTest, RescaleIsReadFromTheFile)
{
    EXPECT_EQ(m_intercept, -1024.0f);
    EXPECT_EQ(m_slope, 1.0f);
}

TEST_F(LookupTableReferenceTest, SignedTableRendersAsThePeerDoes)
{
    for (const Rendering& rendering : Renderings)
    {
        const std::string path = ReferencePath(rendering);
        const GreyPicture reference = ReadPgm(path);
        ASSERT_EQ(reference.width, SampleSize) << path;
        ASSERT_EQ(reference.height, SampleSize) << path;
        ASSERT_EQ(reference.levels.size(), m_samples.size()) << path;
        const std::unique_ptr<unsigned char[]> table(MakeWindow(rendering).CreateLookupTableEx(16));
        ASSERT_NE(table, nullptr);
        int differences = 0;
        for (std::size_t index = 0; index < m_samples.size(); ++index)
        {
            const int rendered = table[LookupTable::SignedTableOffset + m_samples[index]];
            if (rendered != reference.levels[index] && ++differences <= 3)
            {
                ADD_FAILURE() << path << ", sample " << m_samples[index] << ": " << rendered
                              << " instead of " << int{reference.levels[index]};
            }
        }
        EXPECT_EQ(differences, 0) << path;
    }
}

TEST_F(LookupTableReferenceTest, UnsignedTableRendersAsThePeerDoes)
{
    // The samples of this file are all positive, so both tables apply.
    ASSERT_GE(*std::min_element(m_samples.begin(), m_samples.end()), 0);
    for (const Rendering& rendering : Renderings)
    {
        const std::string path = ReferencePath(rendering);
        const GreyPicture reference = ReadPgm(path);
        ASSERT_EQ(reference.levels.size(), m_samples.size()) << path;
        const std::unique_ptr<unsigned char[]> table(MakeWindow(rendering).CreateLookupTable(16));
        ASSERT_NE(table, nullptr);
        std::vector<std::uint8_t> rendered(m_samples.size());
        std::transform(m_samples.begin(), m_samples.end(), rendered.begin(),
                       [&table](std::int16_t sample) { return table[sample]; });
        EXPECT_EQ(rendered, reference.levels) << path;
    }
}

} // namespace
