// LookupTable on a real MONOCHROME2 CT (signed samples, rescale intercept
// -1024): every pixel mapped through the window tables equals the rendering
// a peer toolkit made with the linear VOI function of DICOM (references in
// tests/data/lut, made by tools/make_lut_references.py).
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "LookupTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int SampleSize = 128;

struct Window
{
    int center;
    int width;
};

// The windows tools/make_lut_references.py rendered.
const Window Windows[] = {{40, 400}, {-600, 1500}, {2000, 6000}, {35, 101}, {100, 1}};

struct Pgm
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// An 8-bit binary PGM whose header holds no comments, as dcm2pnm writes it.
Pgm ReadPgm(const std::string& path)
{
    Pgm pgm;
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    file >> magic >> pgm.width >> pgm.height >> maximum;
    file.get();
    if (!file || magic != "P5" || maximum != 255)
    {
        return {};
    }
    pgm.pixels.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return pgm;
}

std::string ReferencePath(const Window& window)
{
    return std::string(SUITE_TEST_DATA_DIR) + "/lut/CT_small_" + std::to_string(window.center) +
           "_" + std::to_string(window.width) + ".pgm";
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

    LookupTable MakeWindow(const Window& window) const
    {
        const auto [lowest, highest] = std::minmax_element(m_samples.begin(), m_samples.end());
        return LookupTable(*lowest, *highest, m_intercept, m_slope, window.width, window.center);
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
    for (const Window& window : Windows)
    {
        const Pgm reference = ReadPgm(ReferencePath(window));
        ASSERT_EQ(reference.width, SampleSize) << ReferencePath(window);
        ASSERT_EQ(reference.height, SampleSize);
        ASSERT_EQ(reference.pixels.size(), m_samples.size());
        const std::unique_ptr<unsigned char[]> table(MakeWindow(window).CreateLookupTableEx(16));
        ASSERT_NE(table, nullptr);
        int differences = 0;
        for (std::size_t index = 0; index < m_samples.size(); ++index)
        {
            const int rendered = table[LookupTable::SignedTableOffset + m_samples[index]];
            if (rendered != reference.pixels[index] && ++differences <= 3)
            {
                ADD_FAILURE() << "window " << window.center << "/" << window.width << ", sample "
                              << m_samples[index] << ": " << rendered << " instead of "
                              << int{reference.pixels[index]};
            }
        }
        EXPECT_EQ(differences, 0) << "window " << window.center << "/" << window.width;
    }
}

TEST_F(LookupTableReferenceTest, UnsignedTableRendersAsThePeerDoes)
{
    // The samples of this file are all positive, so both tables apply.
    ASSERT_GE(*std::min_element(m_samples.begin(), m_samples.end()), 0);
    for (const Window& window : Windows)
    {
        const Pgm reference = ReadPgm(ReferencePath(window));
        ASSERT_EQ(reference.pixels.size(), m_samples.size()) << ReferencePath(window);
        const std::unique_ptr<unsigned char[]> table(MakeWindow(window).CreateLookupTable(16));
        ASSERT_NE(table, nullptr);
        std::vector<std::uint8_t> rendered(m_samples.size());
        std::transform(m_samples.begin(), m_samples.end(), rendered.begin(),
                       [&table](std::int16_t sample) { return table[sample]; });
        EXPECT_EQ(rendered, reference.pixels) << "window " << window.center << "/" << window.width;
    }
}

} // namespace
