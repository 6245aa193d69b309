// Window and level end to end on real images: the 8-bit rendering of a
// MONOCHROME2 MR (signed samples) and of a MONOCHROME1 CR (rescale slope
// 0.684, intercept 200), by Remap and by the bitmap saver, equals pixel for
// pixel the rendering a peer toolkit made with the linear VOI function of
// DICOM (references in tests/data/pix, made by
// tools/make_window_references.py); the baseline JPEG file of each frame
// decodes close to it.
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "PixelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

namespace
{

struct WindowCase
{
    const char* path; // in the corpus
    const char* stem; // of the reference files
    const char* photometric;
    int size;
    double center;
    double width;
};

// The windows tools/make_window_references.py rendered; the first of each
// file is the file's own.
const WindowCase Cases[] = {
    {"pydicom/test_files/MR_small.dcm", "MR_small", "MONOCHROME2", 64, 600, 1600},
    {"pydicom/test_files/MR_small.dcm", "MR_small", "MONOCHROME2", 64, 300, 801},
    {"pydicom/test_files/MR_small.dcm", "MR_small", "MONOCHROME2", 64, 2000, 10000},
    {"pydicom/test_files/MR_small.dcm", "MR_small", "MONOCHROME2", 64, 450.5, 900.5},
    {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "CR_6154", "MONOCHROME1", 16, 1600,
     2800},
    {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "CR_6154", "MONOCHROME1", 16, 1000, 501},
    {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "CR_6154", "MONOCHROME1", 16, 3000,
     8000},
};

void PrintTo(const WindowCase& c, std::ostream* out)
{
    *out << c.stem << " " << c.center << "/" << c.width;
}

// A number as the data set and the reference names write it: "600",
// "450.5".
std::string NumberText(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string ReferencePath(const WindowCase& c)
{
    return std::string(SUITE_TEST_DATA_DIR) + "/pix/" + c.stem + "_" + NumberText(c.center) + "_" +
           NumberText(c.width) + ".pgm";
}

// The number of levels that differ; the first few are reported.
int CountDifferences(const Bytes& rendered, const Bytes& reference)
{
    int differences = 0;
    for (std::size_t index = 0; index < rendered.size() && index < reference.size(); ++index)
    {
        if (rendered[index] != reference[index] && ++differences <= 3)
        {
            ADD_FAILURE() << "pixel " << index << ": " << int{rendered[index]} << " instead of "
                          << int{reference[index]};
        }
    }
    return differences;
}

class WindowReferenceTest : public FileFolderTest, public ::testing::WithParamInterface<WindowCase>
{
protected:
    void SetUp() override
    {
        FileFolderTest::SetUp();
        if (!HasCorpus())
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        const WindowCase& c = GetParam();
        m_reference = ReadPgm(ReferencePath(c));
        ASSERT_EQ(m_reference.width, c.size) << ReferencePath(c);
        ASSERT_EQ(m_reference.height, c.size);
        ASSERT_EQ(m_reference.levels.size(), static_cast<std::size_t>(c.size * c.size));
        ASSERT_NE(m_image.ReadFile(CorpusPath(c.path).c_str()), 0);
        ASSERT_STREQ(m_image.GetLettra(0x0028, 0x0004), c.photometric);
        m_image.Add(0x0028, 0x1050, NumberText(c.center).c_str());
        m_image.Add(0x0028, 0x1051, NumberText(c.width).c_str());
    }

    DICOMImage m_image;
    GreyPicture m_reference;
};

TEST_P(WindowReferenceTest, RemapRendersAsThePeerDoes)
{
    ImageProcess process(m_image, 0);
    ASSERT_EQ(process.Remap(), 1);
    ASSERT_EQ(process.m_nRawPixelLength, m_reference.levels.size());
    const Bytes rendered(process.m_pRawPixelData,
                         process.m_pRawPixelData + process.m_nRawPixelLength);
    EXPECT_EQ(CountDifferences(rendered, m_reference.levels), 0);
}

TEST_P(WindowReferenceTest, TheBitmapRendersAsThePeerDoes)
{
    ImageProcess process(m_image, 0);
    ASSERT_EQ(process.SaveAsWindowsBitmap(PathOf("window.bmp").c_str()), 1);
    const GreyPicture bitmap = ReadBitmapLevels(ReadBytes(PathOf("window.bmp")));
    ASSERT_EQ(bitmap.width, m_reference.width);
    ASSERT_EQ(bitmap.height, m_reference.height);
    EXPECT_EQ(CountDifferences(bitmap.levels, m_reference.levels), 0);
}

// The baseline JPEG file of a deeper grey frame holds its display rendering.
TEST_P(WindowReferenceTest, TheBaselineJpegHoldsTheRendering)
{
    ImageProcess process(m_image, 0);
    ASSERT_EQ(process.SaveAsJPEGBaseline(PathOf("window.jpg").c_str()), 1);
    DICOMImage baseline;
    FillImageAttributes(baseline, m_reference.height, m_reference.width, 8, 1, "MONOCHROME2", 1);
    SetCompressedFrames(baseline, UidTransferJpegBaselineProcess1,
                        {ReadBytes(PathOf("window.jpg"))});
    ImageProcess decoder(baseline, 0);
    ASSERT_EQ(decoder.ConvertToRaw(), 1);
    ASSERT_EQ(decoder.m_nRawPixelLength, m_reference.levels.size());
    double total = 0;
    for (std::size_t pixel = 0; pixel < m_reference.levels.size(); ++pixel)
    {
        total += std::abs(decoder.m_pRawPixelData[pixel] - m_reference.levels[pixel]);
    }
    EXPECT_LT(total / static_cast<double>(m_reference.levels.size()), 3.0);
}

INSTANTIATE_TEST_SUITE_P(ImageProcess, WindowReferenceTest, ::testing::ValuesIn(Cases),
                         [](const auto& info)
                         {
                             std::string name = std::string(info.param.stem) + "_" +
                                                NumberText(info.param.center) + "_" +
                                                NumberText(info.param.width);
                             std::replace(name.begin(), name.end(), '.', 'p');
                             return name;
                         });

// Frame 0 of a palette colour echo (RLE) through its 16-bit palette: the
// checksum of the R, G, B bytes dcm2pnm wrote for it (+F 1, PPM).
TEST_F(FileFolderTest, APaletteFrameKeepsThePeersColours)
{
    constexpr std::uint64_t PeerColours = 0x4C97CCCB45FF1433ull;
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    DICOMImage image;
    ASSERT_NE(image.ReadFile(CorpusPath("octave-dicom/US-PAL-8-10x-echo.dcm").c_str()), 0);
    ImageProcess process(image, 0);
    ASSERT_EQ(process.SaveAsWindowsBitmap(PathOf("palette.bmp").c_str()), 1);
    const GreyPicture colours = ReadBitmapColours(ReadBytes(PathOf("palette.bmp")));
    ASSERT_EQ(colours.width, 600);
    ASSERT_EQ(colours.height, 430);
    EXPECT_EQ(Fnv1a64(colours.levels.data(), colours.levels.size()), PeerColours);
}

} // namespace
