// The window-free conversions of a DICOM file to a bitmap or JPEG file,
// checked against the rendering chain's own DIB of the same file; the JPEG
// is read back by ImageMagick.
#include "DicomFileConvert.h"
#include "../../platform/base/TempFolder.h"
#include "../model/ImageShowTestSupport.h"
#include "ImageViewTestSupport.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
namespace fs = std::filesystem;

struct Sample
{
    const char* name;
    // Largest mean difference of the JPEG's samples from the DIB's.
    double jpegTolerance;
};

class DicomFileConvertTest : public testing::TestWithParam<Sample>
{
protected:
    void SetUp() override { VeltaroInitialize(); }
    void TearDown() override { VeltaroUninitialize(); }

    // The chain's full-view DIB of the file, as a pane would show it.
    static DIBPixels ChainPixels(const std::string& path)
    {
        Corvane holder;
        EXPECT_TRUE(holder.LoadDicomFile(path.c_str()));
        ImageShow show;
        show.AttachCorvane(holder, 0);
        show.BuildFullViewDIB();
        return ReadDIB(show.GetDIB(), show.GetDIB().GetHeader().biBitCount == 8 &&
                                          show.GetMetaImage()->GetColorLUT() != nullptr);
    }

    // Red, green and blue of a picture pixel.
    static int Channel(const WindowPicture& picture, int x, int y, int channel)
    {
        return static_cast<int>(picture.GetPixel(x, y) >> (16 - 8 * channel) & 0xFF);
    }

    // The mean absolute difference over every sample; -1 when the sizes
    // differ.
    static double MeanDifference(const DIBPixels& expected, const WindowPicture& picture)
    {
        if (expected.width != picture.nWidth || expected.height != picture.nHeight)
        {
            return -1.0;
        }
        double sum = 0.0;
        for (int y = 0; y < expected.height; ++y)
        {
            for (int x = 0; x < expected.width; ++x)
            {
                for (int channel = 0; channel < 3; ++channel)
                {
                    const int level = expected.At(x, y, expected.channels == 3 ? channel : 0);
                    sum += std::abs(level - Channel(picture, x, y, channel));
                }
            }
        }
        return sum / (3.0 * expected.width * expected.height);
    }

    CTempFolder m_folder;
};

TEST_P(DicomFileConvertTest, TheBitmapIsTheChainsDIB)
{
    const std::string source = CorpusPath(GetParam().name);
    const std::string bitmap = m_folder.GetPath("out.bmp");
    ASSERT_TRUE(DicomFile2BitmapFile(source.c_str(), bitmap.c_str()));
    WindowPicture picture;
    ASSERT_TRUE(ReadPictureFile(bitmap.c_str(), picture));
    EXPECT_EQ(MeanDifference(ChainPixels(source), picture), 0.0);
}

TEST_P(DicomFileConvertTest, TheJPEGIsCloseToTheChainsDIB)
{
    if (std::system("command -v convert > /dev/null 2>&1") != 0)
    {
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    }
    const std::string source = CorpusPath(GetParam().name);
    const std::string jpeg = m_folder.GetPath("out.jpg");
    ASSERT_TRUE(DicomFile2JPEGFile(source.c_str(), jpeg.c_str()));
    const std::string readBack = m_folder.GetPath("back.bmp");
    const std::string command =
        "convert '" + jpeg + "' -type TrueColor 'BMP3:" + readBack + "' 2> /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    WindowPicture picture;
    ASSERT_TRUE(ReadPictureFile(readBack.c_str(), picture));
    const double difference = MeanDifference(ChainPixels(source), picture);
    EXPECT_GE(difference, 0.0);
    EXPECT_LE(difference, GetParam().jpegTolerance);
}

INSTANTIATE_TEST_SUITE_P(Corpus, DicomFileConvertTest,
                         testing::Values(Sample{"octave-dicom/CT-MONO2-16-ankle.dcm", 2.0},
                                         Sample{"octave-dicom/US-PAL-8-10x-echo.dcm", 3.0},
                                         Sample{"pydicom/test_files/CT_small.dcm", 2.0},
                                         Sample{"pydicom/test_files/SC_rgb_rle_2frame.dcm", 3.0}),
                         [](const testing::TestParamInfo<Sample>& info)
                         {
                             std::string name = fs::path(info.param.name).stem().string();
                             for (char& c : name)
                             {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

class DicomFileConvertFailureTest : public DicomFileConvertTest
{
};

TEST_F(DicomFileConvertFailureTest, APathThatIsNoDicomFileGivesFalseAndWritesNothing)
{
    const std::string text = m_folder.GetPath("notes.txt");
    std::ofstream(text) << "not a DICOM file\n";
    const std::string missing = m_folder.GetPath("missing.dcm");
    for (const std::string& source : {text, missing})
    {
        const std::string bitmap = m_folder.GetPath("never.bmp");
        const std::string jpeg = m_folder.GetPath("never.jpg");
        EXPECT_FALSE(DicomFile2BitmapFile(source.c_str(), bitmap.c_str())) << source;
        EXPECT_FALSE(DicomFile2JPEGFile(source.c_str(), jpeg.c_str())) << source;
        EXPECT_FALSE(fs::exists(bitmap));
        EXPECT_FALSE(fs::exists(jpeg));
    }
    EXPECT_FALSE(DicomFile2BitmapFile(nullptr, m_folder.GetPath("never.bmp").c_str()));
    EXPECT_FALSE(
        DicomFile2JPEGFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str(), nullptr));
}

TEST_F(DicomFileConvertFailureTest, AFailedConversionLeavesAnExistingFileAsItWas)
{
    const std::string bitmap = m_folder.GetPath("kept.bmp");
    std::ofstream(bitmap) << "earlier";
    EXPECT_FALSE(DicomFile2BitmapFile(m_folder.GetPath("missing.dcm").c_str(), bitmap.c_str()));
    std::ifstream kept(bitmap);
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "earlier");
}

} // namespace
