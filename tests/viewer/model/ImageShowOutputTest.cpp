// The output forms of ImageShow: the secondary capture of the displayed
// image (checked by dciodvfy and read back by dcmtk and pydicom), the
// bitmap and JPEG files (read back by ImageMagick), and the failures that
// write nothing and leave an existing file as it was.
#include "../Dicom/High/BitmapReaderSupport.h"
#include "../Dicom/High/PeerToolSupport.h"
#include "ImageShowTestSupport.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

DICOMImage* MakePatientImage(int rows, int columns, int bits, const char* photometric,
                             const std::vector<std::uint8_t>& pixels, int samples = 1)
{
    DICOMImage* image = MakeImage(rows, columns, bits, photometric, pixels, samples);
    image->Add(0x0008, 0x0020, "20240102");
    image->Add(0x0008, 0x0060, "CT");
    image->Add(0x0010, 0x0010, "Doe^Jane");
    image->Add(0x0010, 0x0020, "P-27");
    image->Add(0x0020, 0x0011, "3");
    image->Add(0x0020, 0x0013, "7");
    image->Add(0x6001, 0x0010, "private measurements");
    return image;
}

std::unique_ptr<ImageShow> MakeShow(DICOMImage* image)
{
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(Corvane(image), 0);
    return show;
}

// The samples the image shows, top row first: one grey level or R, G, B
// per pixel.
DIBPixels Displayed(ImageShow& show)
{
    show.BuildFullViewDIB();
    return ReadDIB(show.GetDIB(), show.GetDIB().GetHeader().biBitCount == 8 &&
                                      show.GetMetaImage()->GetColorLUT() != nullptr);
}

std::vector<int> Numbers(const std::string& text)
{
    std::vector<int> numbers;
    std::istringstream words(text);
    for (std::string word; words >> word;)
    {
        if (word.find_first_not_of("0123456789") == std::string::npos)
        {
            numbers.push_back(std::stoi(word));
        }
    }
    return numbers;
}

std::vector<int> AsInts(const std::vector<std::uint8_t>& samples)
{
    return std::vector<int>(samples.begin(), samples.end());
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class ImageShowOutputTest : public ImageShowTest
{
protected:
    std::string PathOf(const std::string& name) const
    {
        return ::testing::TempDir() + "quillon_output_" + name;
    }

    // The secondary capture of the show saved, checked by the peers, and
    // its pixels equal to those the show displays.
    void ExpectSecondaryCaptureOf(ImageShow& show, const std::string& name)
    {
        const DIBPixels shown = Displayed(show);
        const std::string path = PathOf(name);
        ASSERT_TRUE(show.SaveAsDicomFile(path.c_str()));

        DICOMImage back;
        ASSERT_NE(back.ReadFile(path.c_str()), 0);
        EXPECT_EQ(back.GetUINT16(0x0028, 0x0010), shown.height);
        EXPECT_EQ(back.GetUINT16(0x0028, 0x0011), shown.width);
        EXPECT_EQ(back.GetLettra(0x0008, 0x0016).Trim(), Lettra("1.2.840.10008.5.1.4.1.1.7"));
        EXPECT_EQ(back.GetLettra(0x0010, 0x0010).Trim(), Lettra("Doe^Jane"));
        EXPECT_NE(back.GetLettra(0x0008, 0x0018).Trim(),
                  show.GetDicomImage()->GetLettra(0x0008, 0x0018).Trim());
        EXPECT_EQ(back.GetLettra(0x0020, 0x000E).Trim(),
                  show.GetDicomImage()->GetLettra(0x0020, 0x000E).Trim());
        EXPECT_EQ(back.IsExist(0x6001, 0x0010), 0);

        if (HasPeerTool("dciodvfy"))
        {
            const PeerOutput check = RunPeer("dciodvfy '" + path + "'");
            for (const std::string& line : check.lines)
            {
                EXPECT_EQ(line.rfind("Error", 0), std::string::npos) << line;
            }
        }
        if (HasPeerTool("dcm2pnm"))
        {
            const PeerOutput pnm = RunPeer("dcm2pnm +opb '" + path + "'");
            ASSERT_TRUE(pnm.succeeded);
            std::string text;
            for (const std::string& line : pnm.lines)
            {
                text += line + "\n";
            }
            std::vector<int> numbers = Numbers(text);
            ASSERT_GE(numbers.size(), 3u);
            EXPECT_EQ(numbers[0], shown.width);
            EXPECT_EQ(numbers[1], shown.height);
            EXPECT_EQ(std::vector<int>(numbers.begin() + 3, numbers.end()), AsInts(shown.samples))
                << "dcmtk";
        }
        const std::string python = GetPydicomPython();
        if (!python.empty())
        {
            const PeerOutput read = RunPeer(python +
                                            " -W ignore -c \"import sys, pydicom\n"
                                            "ds = pydicom.dcmread(sys.argv[1])\n"
                                            "count = ds.Rows * ds.Columns * ds.SamplesPerPixel\n"
                                            "print(ds.Columns, ds.Rows, ' '.join(str(v) for v in "
                                            "ds.PixelData[:count]))\" '" +
                                            path + "'");
            ASSERT_TRUE(read.succeeded) << (read.lines.empty() ? "" : read.lines.back());
            const std::vector<int> numbers = Numbers(read.lines.back());
            ASSERT_GE(numbers.size(), 2u);
            EXPECT_EQ(numbers[0], shown.width);
            EXPECT_EQ(numbers[1], shown.height);
            EXPECT_EQ(std::vector<int>(numbers.begin() + 2, numbers.end()), AsInts(shown.samples))
                << "pydicom";
        }
    }
};

} // namespace

TEST_F(ImageShowOutputTest, ASecondaryCaptureOfAWindowedTurnedGreyImage)
{
    DICOMImage* image =
        MakePatientImage(3, 4, 16, "MONOCHROME2",
                         Words({0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 1100}));
    image->Add(0x0028, 0x1050, "500");
    image->Add(0x0028, 0x1051, "800");
    auto show = MakeShow(image);
    show->Rotate(1);
    show->Invert();
    ExpectSecondaryCaptureOf(*show, "grey.dcm");
}

TEST_F(ImageShowOutputTest, ASecondaryCaptureOfAColourImage)
{
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 5 * 3; ++i)
    {
        rgb.insert(rgb.end(), {std::uint8_t(17 * i), std::uint8_t(255 - 9 * i), std::uint8_t(i)});
    }
    auto show = MakeShow(MakePatientImage(3, 5, 8, "RGB", rgb, 3));
    show->FlipHorizontal();
    ExpectSecondaryCaptureOf(*show, "colour.dcm");
}

TEST_F(ImageShowOutputTest, TheDataSetNeedsAnImageThatDecodes)
{
    LogCapture log;
    ImageShow empty;
    DICOMFile out;
    out.Add(0x0010, 0x0010, "stale");
    EXPECT_FALSE(empty.GetCurrentDicomImage(out));
    EXPECT_TRUE(log.Contains("Enter ImageShow::GetCurrentDicomImage, DICOM File is empty"));
    EXPECT_NE(out.IsEmpty(), 0);

    Corvane missing;
    missing.LoadDicomFile("/nonexistent/folder/missing.dcm");
    ImageShow undecodable;
    undecodable.AttachCorvane(missing, 0);
    EXPECT_FALSE(undecodable.GetCurrentDicomImage(out));
    EXPECT_TRUE(log.Contains("Enter ImageShow::GetCurrentDicomImage, m_MetaImage is empty"));
    EXPECT_FALSE(undecodable.SaveAsDicomFile(PathOf("never.dcm").c_str()));
    EXPECT_FALSE(fs::exists(PathOf("never.dcm")));
    EXPECT_FALSE(undecodable.SaveAsDicomFile(nullptr));
}

TEST_F(ImageShowOutputTest, BitmapAndJPEGShowTheDisplayedSizeAndColours)
{
    // Four flat quadrants of 8 x 8 pixels, so that the JPEG keeps them.
    const int colours[4][3] = {{250, 10, 10}, {10, 250, 10}, {10, 10, 250}, {240, 240, 240}};
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 24; ++x)
        {
            const int* c = colours[(y / 8) * 2 + (x / 12)];
            rgb.insert(rgb.end(), {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
        }
    }
    auto show = MakeShow(MakePatientImage(16, 24, 8, "RGB", rgb, 3));
    const DIBPixels shown = Displayed(*show);
    show->ReleaseImageData();
    const std::string bitmap = PathOf("quadrants.bmp");
    const std::string jpeg = PathOf("quadrants.jpg");
    ASSERT_TRUE(show->SaveAsBitmap(bitmap.c_str()));
    ASSERT_TRUE(show->SaveAsJPEG(jpeg.c_str()));
    if (!HasBitmapReader())
    {
        GTEST_SKIP() << "ImageMagick's identify is not installed";
    }
    EXPECT_EQ(Identify(bitmap, "%w %h"), "24 16");
    EXPECT_EQ(Identify(jpeg, "%w %h"), "24 16");
    const std::vector<int> bmpPixels = IdentifyPixels(bitmap, 24, 16);
    const std::vector<int> jpegPixels = IdentifyPixels(jpeg, 24, 16);
    ASSERT_EQ(bmpPixels.size(), 24u * 16u);
    ASSERT_EQ(jpegPixels.size(), 24u * 16u);
    for (int y = 0; y < 16; ++y)
    {
        for (int x = 0; x < 24; ++x)
        {
            const int at = y * 24 + x;
            const int expected =
                shown.At(x, y, 0) | shown.At(x, y, 1) << 8 | shown.At(x, y, 2) << 16;
            EXPECT_EQ(bmpPixels[std::size_t(at)], expected) << x << "," << y;
            // The middle of each quadrant, away from the JPEG's block edges.
            if (x % 12 >= 3 && x % 12 < 9 && y % 8 >= 2 && y % 8 < 6)
            {
                for (int channel = 0; channel < 3; ++channel)
                {
                    const int level = jpegPixels[std::size_t(at)] >> (8 * channel) & 0xFF;
                    EXPECT_NEAR(level, shown.At(x, y, channel), 12) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(ImageShowOutputTest, AFailedSaveWritesNothingAndKeepsTheFileThere)
{
    Corvane missing;
    missing.LoadDicomFile("/nonexistent/folder/missing.dcm");
    ImageShow undecodable;
    undecodable.AttachCorvane(missing, 0);
    for (const char* name : {"kept.bmp", "kept.jpg"})
    {
        const std::string path = PathOf(name);
        std::ofstream(path) << "an earlier picture";
        const bool saved = std::string(name).ends_with(".bmp")
                               ? undecodable.SaveAsBitmap(path.c_str())
                               : undecodable.SaveAsJPEG(path.c_str());
        EXPECT_FALSE(saved) << name;
        EXPECT_EQ(ReadText(path), "an earlier picture") << name;
    }
    // A decoded image whose file cannot take the place of the target.
    auto show = MakeShow(MakePatientImage(2, 2, 8, "MONOCHROME2", {1, 2, 3, 4}));
    const fs::path folder = PathOf("folder.bmp");
    fs::create_directories(folder / "inside");
    EXPECT_FALSE(show->SaveAsBitmap(folder.c_str()));
    EXPECT_TRUE(fs::exists(folder / "inside"));
    for (const auto& entry : fs::directory_iterator(::testing::TempDir()))
    {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name.starts_with("quillon_output_") && name.ends_with(".tmp"))
            << "a temporary file was left: " << name;
    }
    EXPECT_FALSE(show->SaveAsBitmap("/nonexistent/folder/picture.bmp"));
    EXPECT_FALSE(show->SaveAsJPEG(nullptr));
    fs::remove_all(folder);
}
