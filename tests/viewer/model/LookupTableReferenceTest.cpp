// The viewer's lookup tables on real frames of the sample corpus, every pixel
// against the rendering dcmtk's dcm2pnm made with the same window, VOI LUT
// or palette, within one level: linear windows (references of
// tools/make_lut_references.py and tools/make_window_references.py),
// sigmoid windows, explicit VOI LUTs and palettes (references of
// tools/make_viewer_lut_references.py).
#include "ColorLookupTable.h"
#include "DICOMImage.h"
#include "ImageProcess.h"
#include "ReferenceImage.h"
#include "SigmoidVOILookupTable.h"
#include "TDWLookupTable.h"
#include "VOILookupTable.h"
#include "VR.h"
#include "VeltaroLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::string CorpusPath(const std::string& name)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + name;
}

std::string DataPath(const std::string& name)
{
    return std::string(SUITE_TEST_DATA_DIR) + "/" + name;
}

// One decoded frame of a corpus file with the file's data set.
struct CorpusFrame
{
    std::unique_ptr<DICOMImage> image = std::make_unique<DICOMImage>();
    std::vector<std::uint8_t> raw;
    int rows = 0;
    int columns = 0;
    bool isSigned = false;
    int bitsAllocated = 0;

    bool Load(const std::string& name)
    {
        if (image->ReadFile(CorpusPath(name).c_str()) == 0)
        {
            return false;
        }
        ImageProcess process(*image, 0);
        if (process.ConvertToRaw() == 0)
        {
            return false;
        }
        rows = process.GetRows();
        columns = process.GetColumns();
        isSigned = process.GetPixelRepresentation() == 1;
        bitsAllocated = process.GetBitsAllocated();
        raw.assign(process.m_pRawPixelData, process.m_pRawPixelData + process.m_nRawPixelLength);
        return true;
    }

    // The stored value of a pixel.
    int Sample(int x, int y) const
    {
        const std::size_t index = std::size_t(y) * columns + x;
        if (bitsAllocated == 8)
        {
            return raw[index];
        }
        std::uint16_t word = 0;
        std::memcpy(&word, raw.data() + 2 * index, 2);
        return isSigned ? static_cast<std::int16_t>(word) : word;
    }

    std::vector<std::uint8_t> Render(const std::uint8_t* table) const
    {
        std::vector<std::uint8_t> levels;
        for (int y = 0; y < rows; ++y)
        {
            for (int x = 0; x < columns; ++x)
            {
                levels.push_back(table[Sample(x, y)]);
            }
        }
        return levels;
    }
};

class LookupTableReferenceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::is_directory(CorpusPath("pydicom")))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        VeltaroInitialize();
    }
    void TearDown() override { VeltaroUninitialize(); }

    static void ExpectRendering(const CorpusFrame& frame, const std::uint8_t* table,
                                const std::string& reference)
    {
        ASSERT_NE(table, nullptr) << reference;
        const ReferenceImage expected = ReadReferenceImage(DataPath(reference));
        ASSERT_FALSE(expected.IsEmpty()) << reference;
        ASSERT_EQ(expected.width, frame.columns);
        ASSERT_EQ(expected.height, frame.rows);
        EXPECT_EQ(CompareWithReference(expected, frame.Render(table)), "") << reference;
    }
};

// An integer VOI LUT of 4096 entries, as tools/make_viewer_lut_references.py
// writes it into its copies.
DICOMVRSet* MakeVOIItem(int first, bool rising)
{
    std::vector<unsigned short> entries(4096);
    for (int i = 0; i < 4096; ++i)
    {
        entries[i] = static_cast<unsigned short>(rising ? i * i / 4095 : 4095 - i);
    }
    auto* item = new DICOMVRSet;
    const unsigned short descriptor[3] = {4096, static_cast<unsigned short>(first), 12};
    item->Add(0x0028, 0x3002, descriptor, 3);
    item->Add(0x0028, 0x3003, "TEST");
    item->Add(0x0028, 0x3006, entries.data(), 4096);
    return item;
}

} // namespace

TEST_F(LookupTableReferenceTest, LinearWindowsMatchThePeer)
{
    struct Case
    {
        const char* file;
        const char* reference;
        float intercept;
        float slope;
        int center;
        int width;
        bool inverted;
    };
    const Case cases[] = {
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_40_400.pgm", -1024, 1, 40, 400, false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_-600_1500.pgm", -1024, 1, -600, 1500,
         false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_2000_6000.pgm", -1024, 1, 2000, 6000,
         false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_35_101.pgm", -1024, 1, 35, 101, false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_100_1.pgm", -1024, 1, 100, 1, false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_rescaled_-500_800.pgm", -1024.3f, 0.7f,
         -500, 800, false},
        {"pydicom/test_files/CT_small.dcm", "lut/CT_small_mono1_40_400.pgm", -1024, 1, 40, 400,
         true},
        {"pydicom/test_files/MR_small.dcm", "pix/MR_small_600_1600.pgm", 0, 1, 600, 1600, false},
        {"pydicom/test_files/MR_small.dcm", "pix/MR_small_300_801.pgm", 0, 1, 300, 801, false},
        {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "pix/CR_6154_1600_2800.pgm", 200,
         0.684f, 1600, 2800, true},
        {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "pix/CR_6154_1000_501.pgm", 200,
         0.684f, 1000, 501, true},
    };
    for (const Case& c : cases)
    {
        CorpusFrame frame;
        ASSERT_TRUE(frame.Load(c.file)) << c.file;
        TDWLookupTable window;
        window.Init(c.intercept, c.slope, c.width, c.center);
        ExpectRendering(frame, c.inverted ? window.InvertTable() : window.BuildTable(),
                        c.reference);
    }
}

TEST_F(LookupTableReferenceTest, TheFilesOwnWindowMatchesThePeer)
{
    struct Case
    {
        const char* file;
        const char* reference;
        bool inverted;
    };
    const Case cases[] = {
        {"pydicom/test_files/dicomdirtests/77654033/CR1/6154", "pix/CR_6154_1600_2800.pgm", true},
        {"pydicom/test_files/dicomdirtests/77654033/CT2/17106", "viewer_lut/CT2_17106_window1.pgm",
         false},
        {"pydicom/test_files/dicomdirtests/98892003/MR700/4467",
         "viewer_lut/MR700_4467_window1.pgm", false},
    };
    for (const Case& c : cases)
    {
        CorpusFrame frame;
        ASSERT_TRUE(frame.Load(c.file)) << c.file;
        TDWLookupTable window;
        ASSERT_TRUE(window.InitFromDataSet(*frame.image));
        ExpectRendering(frame, c.inverted ? window.InvertTable() : window.BuildTable(),
                        c.reference);
    }
}

TEST_F(LookupTableReferenceTest, SigmoidWindowsMatchThePeer)
{
    struct Case
    {
        const char* file;
        const char* reference;
        int intercept; // the sigmoid works on stored values
        int center;
        int width;
    };
    const Case cases[] = {
        {"pydicom/test_files/CT_small.dcm", "viewer_lut/CT_small_sigmoid_40_400.pgm", -1024, 40,
         400},
        {"pydicom/test_files/CT_small.dcm", "viewer_lut/CT_small_sigmoid_-600_1500.pgm", -1024,
         -600, 1500},
        {"pydicom/test_files/CT_small.dcm", "viewer_lut/CT_small_sigmoid_0_60.pgm", -1024, 0, 60},
        {"pydicom/test_files/MR_small.dcm", "viewer_lut/MR_small_sigmoid_600_1600.pgm", 0, 600,
         1600},
        {"pydicom/test_files/MR_small.dcm", "viewer_lut/MR_small_sigmoid_300_200.pgm", 0, 300, 200},
    };
    for (const Case& c : cases)
    {
        CorpusFrame frame;
        ASSERT_TRUE(frame.Load(c.file)) << c.file;
        SigmoidVOILookupTable sigmoid;
        sigmoid.SetWindowLevel(c.width, c.center - c.intercept);
        ExpectRendering(frame, sigmoid.BuildTable(), c.reference);
    }
}

TEST_F(LookupTableReferenceTest, ExplicitVOILUTsMatchThePeer)
{
    struct Case
    {
        const char* file;
        const char* reference;
        int first;
        bool rising;
    };
    const Case cases[] = {
        {"pydicom/test_files/CT_small.dcm", "viewer_lut/CT_small_voi.pgm", -1024, true},
        {"pydicom/test_files/MR_small.dcm", "viewer_lut/MR_small_voi.pgm", 0, false},
    };
    for (const Case& c : cases)
    {
        CorpusFrame frame;
        ASSERT_TRUE(frame.Load(c.file)) << c.file;
        frame.image->Push(0x0028, 0x3010, MakeVOIItem(c.first, c.rising));
        quillon::VOILookupTable voi;
        ASSERT_TRUE(voi.InitFromDataSet(*frame.image)) << c.file;
        EXPECT_EQ(voi.GetFirstInput(), c.first);
        ExpectRendering(frame, voi.BuildTable(), c.reference);
    }
}

TEST_F(LookupTableReferenceTest, PalettesMatchThePeer)
{
    CorpusFrame frame;
    ASSERT_TRUE(frame.Load("octave-dicom/US-PAL-8-10x-echo.dcm"));
    ASSERT_EQ(frame.bitsAllocated, 8);
    // The part tools/make_viewer_lut_references.py cut out.
    const int left = 150;
    const int top = 250;
    const int size = 128;
    for (const char* variant : {"16bit", "8bit"})
    {
        if (std::string(variant) == "8bit")
        {
            // Each entry moved to the low byte of its word, as in the copy.
            const unsigned short descriptor[3] = {256, 0, 8};
            for (unsigned short channel = 0; channel < 3; ++channel)
            {
                frame.image->Add(0x0028, static_cast<unsigned short>(0x1101 + channel), descriptor,
                                 3);
                VR* data =
                    frame.image->GetVR(0x0028, static_cast<unsigned short>(0x1201 + channel));
                ASSERT_NE(data, nullptr);
                auto* words = static_cast<std::uint16_t*>(data->GetData());
                for (unsigned i = 0; i < data->GetLength() / 2; ++i)
                {
                    words[i] = static_cast<std::uint16_t>(words[i] >> 8);
                }
            }
        }
        ColorLookupTable palette;
        ASSERT_TRUE(palette.InitFromDataSet(*frame.image)) << variant;
        std::vector<std::uint8_t> rendering;
        for (int y = top; y < top + size; ++y)
        {
            for (int x = left; x < left + size; ++x)
            {
                const RGBQUAD& colour = palette.GetPalette()[frame.Sample(x, y)];
                rendering.insert(rendering.end(), {colour.rgbRed, colour.rgbGreen, colour.rgbBlue});
            }
        }
        const std::string reference = std::string("viewer_lut/US_PAL_") + variant + ".ppm";
        const ReferenceImage expected = ReadReferenceImage(DataPath(reference));
        ASSERT_EQ(expected.channels, 3) << reference;
        EXPECT_EQ(CompareWithReference(expected, rendering), "") << reference;
    }
}
