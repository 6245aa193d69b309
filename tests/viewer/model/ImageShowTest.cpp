// ImageShow: its lifecycle and releases, the loading of pixel bytes into
// matrices, the lookup tables set up after loading (the automatic window
// through a fake of the outside library), and the chains.
#include "ImageShowConfig.h"
#include "ImageShowTestSupport.h"
#include "LogCapture.h"
#include "MetaMatrix16.h"
#include "MetaMatrixRGB.h"
#include "SigmoidVOILookupTable.h"
#include "TDWLookupTable.h"
#include "VOILookupTable.h"
#include "WinGlobalMemory.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace
{

std::unique_ptr<ImageShow> MakeShow(DICOMImage* image)
{
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(Corvane(image), 0);
    return show;
}

std::vector<std::uint8_t> Ramp(int count, int step = 1)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i)
    {
        bytes.push_back(static_cast<std::uint8_t>(i * step));
    }
    return bytes;
}

// A buffer LoadDicomFile takes over.
std::uint8_t* Buffer(std::size_t size, std::uint8_t fill = 0)
{
    auto* bytes = new std::uint8_t[size];
    std::fill(bytes, bytes + size, fill);
    return bytes;
}

DICOMVRSet Attributes(int rows, int columns, int bitsAllocated, const char* photometric,
                      int pixelRepresentation = 0)
{
    DICOMVRSet set;
    set.Add(0x0028, 0x0004, photometric);
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(rows));
    set.Add(0x0028, 0x0011, static_cast<unsigned short>(columns));
    set.Add(0x0028, 0x0100, static_cast<unsigned short>(bitsAllocated));
    set.Add(0x0028, 0x0101, static_cast<unsigned short>(bitsAllocated));
    set.Add(0x0028, 0x0102, static_cast<unsigned short>(bitsAllocated - 1));
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(pixelRepresentation));
    return set;
}

int s_nEstimates = 0;

int FakeEstimate16(float, float, float, const unsigned short*, int, int, int, int* width,
                   int* center)
{
    ++s_nEstimates;
    *width = 700;
    *center = 300;
    return 1;
}

} // namespace

TEST(ImageShowLifecycle, InstanceNumbersCountUp)
{
    ImageShow first;
    ImageShow second;
    std::unique_ptr<ImageShow> clone(second.Clone());
    EXPECT_EQ(second.GetInstanceNo(), first.GetInstanceNo() + 1);
    EXPECT_EQ(clone->GetInstanceNo(), second.GetInstanceNo() + 1);
    EXPECT_EQ(first.GetState(), 3u);
    EXPECT_EQ(first.GetZoom(), -1.0);
    EXPECT_TRUE(first.IsEmpty());
}

// An image deleted while it holds its full-view DIB, with and without
// pixels kept and with a second holder sharing the DIB, frees the DIB as
// the last holder goes: its block is no longer live.
TEST_F(ImageShowTest, TheFullViewDIBGoesWithItsImage)
{
    for (const std::uint32_t state : {0u, std::uint32_t(ImageShow::enKeepPixelData)})
    {
        auto show = MakeShow(MakeImage(2, 3, 8, "MONOCHROME2", Ramp(6, 40)));
        show->SetState(show->GetState() | state);
        show->BuildFullViewDIB();
        const HDIB dib = show->GetDIB().GetDIB();
        ASSERT_NE(dib, nullptr);
        DIBHolder pane(show->GetDIB());
        show.reset();
        EXPECT_NE(GlobalSize(dib), 0u) << "the sharing holder keeps it";
        pane.Release();
        EXPECT_EQ(GlobalSize(dib), 0u) << "freed with the last holder, state " << state;
    }
}

TEST_F(ImageShowTest, KeptPixelDataSurvivesTheReleases)
{
    auto show = MakeShow(MakeImage(2, 3, 8, "MONOCHROME2", Ramp(6, 40)));
    show->BuildFullViewDIB();
    ASSERT_FALSE(show->GetDIB().IsEmpty());
    show->SetState(show->GetState() | ImageShow::enKeepPixelData);
    show->ReleaseImageData();
    show->ReleasePixels();
    EXPECT_NE(show->GetMetaImage()->GetMatrix(), nullptr);
    EXPECT_FALSE(show->GetDIB().IsEmpty());
    show->SetState(ImageShow::enDeleteMatrixOnRelease);
    show->ReleaseImageData();
    EXPECT_EQ(show->GetMetaImage()->GetMatrix(), nullptr);
    EXPECT_TRUE(show->GetDIB().IsEmpty());
    // The tables stay: a window chosen by the user outlives a release.
    EXPECT_GT(show->GetMetaImage()->GetLUTs().GetCount(), 0);
}

TEST_F(ImageShowTest, LoadDicomFileChoosesTheMatrixByDepth)
{
    struct Case
    {
        int bitsAllocated;
        const char* photometric;
        int pixelRepresentation;
        std::size_t bytes;
        bool loads;
        MetaMatrix::enMatrixType type;
        int min;
        int max;
    };
    const Case cases[] = {
        {12, "MONOCHROME2", 0, 2 * 6, true, MetaMatrix::enMatrix16, 0, 65535},
        {12, "MONOCHROME2", 0, 6, false, MetaMatrix::enMatrix16, 0, 0},
        {16, "MONOCHROME2", 1, 2 * 6, true, MetaMatrix::enMatrix16, -32767, 32767},
        {8, "MONOCHROME1", 0, 6, true, MetaMatrix::enMatrix8, 0, 255},
        {8, "PALETTE COLOR", 0, 6, true, MetaMatrix::enMatrix8, 0, 255},
        {8, "RGB", 0, 3 * 6, true, MetaMatrix::enMatrixRGB, 0, 255},
        {8, "RGB", 0, 2 * 6, false, MetaMatrix::enMatrixRGB, 0, 0},
        {8, "YBR_FULL_422", 0, 3 * 6, true, MetaMatrix::enMatrixRGB, 0, 255},
        {8, "HSV", 0, 3 * 6, false, MetaMatrix::enMatrix8, 0, 0},
        {4, "MONOCHROME2", 0, 64, false, MetaMatrix::enMatrix8, 0, 0},
        {32, "MONOCHROME2", 0, 4 * 6, false, MetaMatrix::enMatrix16, 0, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.bitsAllocated) + " " + c.photometric);
        ImageShow show;
        DICOMVRSet set = Attributes(2, 3, c.bitsAllocated, c.photometric, c.pixelRepresentation);
        EXPECT_EQ(show.LoadDicomFile(set, Buffer(c.bytes), static_cast<std::uint32_t>(c.bytes)),
                  c.loads);
        const MetaMatrix* matrix = show.GetMetaImage()->GetMatrix();
        ASSERT_EQ(matrix != nullptr, c.loads);
        if (matrix == nullptr)
        {
            continue;
        }
        EXPECT_EQ(matrix->GetMatrixType(), c.type);
        EXPECT_EQ(matrix->GetData()->nMin, c.min);
        EXPECT_EQ(matrix->GetData()->nMax, c.max);
        if (c.type == MetaMatrix::enMatrix16)
        {
            // 16 bits allocated: the recorded length is the buffer's.
            EXPECT_EQ(matrix->GetDepth(), 16);
            EXPECT_EQ(matrix->GetData()->nDataLength, 12);
            EXPECT_EQ(matrix->GetData()->nBitsStored, c.bitsAllocated);
        }
    }
}

TEST_F(ImageShowTest, GreyYBRTurnsGreyAndColoursGoToTheDIB)
{
    ImageShow show;
    DICOMVRSet set = Attributes(1, 2, 8, "YBR_FULL");
    set.Add(0x0028, 0x0002, static_cast<unsigned short>(3));
    ASSERT_TRUE(show.LoadDicomFile(set, Buffer(6, 128), 6));
    auto* matrix = dynamic_cast<MetaMatrixRGB*>(show.GetMetaImage()->GetMatrix());
    ASSERT_NE(matrix, nullptr);
    EXPECT_EQ(matrix->GetPixelValue(1, 0), 128 | 128 << 8 | 128 << 16);

    auto rgb = MakeShow(MakeImage(1, 2, 8, "RGB", {255, 0, 0, 0, 0, 255}, 3));
    rgb->BuildFullViewDIB();
    const DIBPixels pixels = ReadDIB(rgb->GetDIB());
    EXPECT_EQ(pixels.samples, (std::vector<std::uint8_t>{255, 0, 0, 0, 0, 255}));
}

TEST_F(ImageShowTest, ThePresentationShapeAndMonochrome1DecideTheInverse)
{
    struct Case
    {
        const char* photometric;
        const char* shape;
        bool inverse;
    };
    const Case cases[] = {{"MONOCHROME2", "INVERSE", true},
                          {"MONOCHROME1", "", true},
                          {"MONOCHROME1", "IDENTITY", false},
                          {"MONOCHROME2", "", false}};
    for (const Case& c : cases)
    {
        ImageShow show;
        DICOMVRSet set = Attributes(1, 2, 8, c.photometric);
        if (c.shape[0] != 0)
        {
            set.Add(0x2050, 0x0020, c.shape);
        }
        ASSERT_TRUE(show.LoadDicomFile(set, Buffer(2), 2));
        EXPECT_EQ(show.IsInverse(), c.inverse) << c.photometric << " " << c.shape;
    }
}

// An image whose one table is a VOI LUT (no window in the data set, a
// modality without an automatic window) is windowed through a window table
// made from the VOI LUT's range, which then renders the window set.
TEST_F(ImageShowTest, AnImageWithOnlyAVOILUTCanBeWindowed)
{
    DICOMVRSet set = Attributes(1, 256, 8, "MONOCHROME2");
    set.Add(0x0008, 0x0060, "OT");
    auto* item = new DICOMVRSet;
    const unsigned short descriptor[3] = {256, 0, 8};
    std::vector<unsigned short> entries(256);
    for (int i = 0; i < 256; ++i)
    {
        entries[i] = static_cast<unsigned short>(255 - i);
    }
    item->Add(0x0028, 0x3002, descriptor, 3);
    item->Add(0x0028, 0x3006, entries.data(), 256);
    set.Push(0x0028, 0x3010, item);
    std::uint8_t* ramp = Buffer(256);
    for (int i = 0; i < 256; ++i)
    {
        ramp[i] = static_cast<std::uint8_t>(i);
    }
    ImageShow show;
    ASSERT_TRUE(show.LoadDicomFile(set, ramp, 256));
    const LUTList& tables = show.GetMetaImage()->GetLUTs();
    ASSERT_EQ(tables.GetCount(), 1);
    ASSERT_NE(dynamic_cast<quillon::VOILookupTable*>(tables.GetCurrent()), nullptr);

    show.SetWindowLevel(100, 150);
    const DicomLookupTable* window = tables.GetCurrent();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->HasType(DicomLookupTable::enAdjustable));
    EXPECT_EQ(window->GetWindowWidth(), 100);
    EXPECT_EQ(window->GetWindowCenter(), 150);
    show.BuildFullViewDIB();
    const DIBPixels shown = ReadDIB(show.GetDIB());
    ASSERT_EQ(shown.width, 256);
    EXPECT_EQ(shown.At(90, 0), 0) << "below the window";
    EXPECT_NEAR(shown.At(150, 0), 128, 3) << "at its centre";
    EXPECT_EQ(shown.At(210, 0), 255) << "above the window";

    show.SetWindowLevel(40, 20);
    EXPECT_EQ(tables.GetCurrent(), window) << "the same table follows";
    EXPECT_EQ(tables.GetCount(), 2);
}

// Any window set through SetWindowLevelEx marks the image modified, with
// or without flags for its table.
TEST_F(ImageShowTest, SetWindowLevelExMarksTheImageModified)
{
    for (const std::uint32_t flags : {0U, 0x20U})
    {
        DICOMVRSet set = Attributes(1, 2, 8, "MONOCHROME2");
        ImageShow show;
        ASSERT_TRUE(show.LoadDicomFile(set, Buffer(2, 7), 2));
        show.SetModified(false);
        show.SetWindowLevelEx(30, 10, flags);
        EXPECT_TRUE(show.IsModified()) << flags;
        EXPECT_EQ(show.GetMetaImage()->GetWindowWidth(), 30);
    }
}

TEST_F(ImageShowTest, TheModalityLUTBecomesTheVOILUTOnlyWhereNoneIsThere)
{
    ASSERT_TRUE(ImageShowConfig::Get().bModalityLUT2VOILUT);
    auto lutItem = [](unsigned short last)
    {
        auto* item = new DICOMVRSet;
        const unsigned short descriptor[3] = {2, 0, 8};
        const unsigned short entries[2] = {0, last};
        item->Add(0x0028, 0x3002, descriptor, 3);
        item->Add(0x0028, 0x3006, entries, 2);
        return item;
    };
    {
        ImageShow show;
        DICOMVRSet set = Attributes(1, 2, 8, "MONOCHROME2");
        set.Push(0x0028, 0x3000, lutItem(200));
        ASSERT_TRUE(show.LoadDicomFile(set, Buffer(2, 1), 2));
        EXPECT_FALSE(set.IsExist(0x0028, 0x3000));
        ASSERT_NE(set.GetSequence(0x0028, 0x3010, 0), nullptr);
        EXPECT_NE(dynamic_cast<quillon::VOILookupTable*>(show.GetMetaImage()->GetCurrentLUT()),
                  nullptr);
        // Loading again finds nothing more to move.
        ImageShow again;
        ASSERT_TRUE(again.LoadDicomFile(set, Buffer(2, 1), 2));
        EXPECT_EQ(set.GetVR(0x0028, 0x3010)->GetItemCount(), 1);
    }
    {
        ImageShow show;
        DICOMVRSet set = Attributes(1, 2, 8, "MONOCHROME2");
        set.Push(0x0028, 0x3000, lutItem(200));
        set.Push(0x0028, 0x3010, lutItem(90));
        ASSERT_TRUE(show.LoadDicomFile(set, Buffer(2, 1), 2));
        const DICOMVRSet* voi = set.GetSequence(0x0028, 0x3010, 0);
        ASSERT_NE(voi, nullptr);
        EXPECT_EQ(set.GetVR(0x0028, 0x3010)->GetItemCount(), 1);
        const VR* entries = voi->GetVR(0x0028, 0x3006);
        EXPECT_EQ(static_cast<const unsigned short*>(entries->GetData())[1], 90);
        // The modality LUT went into the pixels instead: 1 became the top
        // level.
        EXPECT_NEAR(show.GetMetaImage()->GetMatrix()->GetPixelValue(0, 0), 255, 1);
    }
}

TEST_F(ImageShowTest, WindowsOfTheDataSetAreTheTablesAndTheFirstIsCurrent)
{
    DICOMImage* image = MakeImage(1, 4, 16, "MONOCHROME2", Words({0, 1000, 2000, 4000}));
    image->Add(0x0028, 0x1050, "1040\\500");
    image->Add(0x0028, 0x1051, "400\\0\\1000");
    image->Add(0x0028, 0x1052, "-1024");
    image->Add(0x0028, 0x1053, "0");
    LogCapture log;
    auto show = MakeShow(image);
    show->EnsureLoaded();
    const LUTList& tables = show->GetMetaImage()->GetLUTs();
    ASSERT_EQ(tables.GetCount(), 1); // a width of 0 makes no window
    const auto* window = dynamic_cast<const TDWLookupTable*>(tables.GetCurrent());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetWindowWidth(), 400);
    EXPECT_EQ(window->GetWindowCenter(), 1040);
    EXPECT_FLOAT_EQ(window->GetSlope(), 1.0f);
    EXPECT_TRUE(window->HasType(DicomLookupTable::enAdjustable));
    EXPECT_TRUE(log.Contains("RescaleSlope is 0, set it to 1 now !"));

    show->SetWindowLevel(2000, 976);
    EXPECT_EQ(tables.GetCurrent()->GetWindowWidth(), 2000);
    show->BuildFullViewDIB();
    const DIBPixels pixels = ReadDIB(show->GetDIB());
    // Rescaled -1024, -24, 976, 2976 under the window 2000 at 976.
    EXPECT_EQ(pixels.At(0, 0), 0);
    EXPECT_EQ(pixels.At(3, 0), 255);
    EXPECT_NEAR(pixels.At(2, 0), 127, 1);
}

// A window over the samples: a rescale slope as large as a file may give
// makes the widest window there is, never an overflow.
TEST_F(ImageShowTest, AWindowOverTheSamplesOfAHugeSlopeIsTheWidestThereIs)
{
    for (const char* slope : {"2147483648", "-2147483649", "1e9"})
    {
        DICOMImage* image = MakeImage(1, 4, 16, "MONOCHROME2", Words({0, 1000, 2000, 4000}));
        image->Add(0x0028, 0x1053, slope);
        auto show = MakeShow(image);
        show->EnsureLoaded();
        const DicomLookupTable* window = show->GetMetaImage()->GetCurrentLUT();
        ASSERT_NE(window, nullptr) << slope;
        EXPECT_EQ(window->GetWindowWidth(), INT_MAX) << slope;
        show->BuildFullViewDIB();
        EXPECT_FALSE(show->GetDIB().IsEmpty()) << slope;
    }
}

TEST_F(ImageShowTest, ASigmoidFunctionTakesTheDataSetsWindowInStoredValues)
{
    DICOMImage* image = MakeImage(1, 4, 16, "MONOCHROME2", Words({0, 1000, 2000, 4000}));
    image->Add(0x0028, 0x1050, "40");
    image->Add(0x0028, 0x1051, "400");
    image->Add(0x0028, 0x1052, "-1024");
    image->Add(0x0028, 0x1053, "2");
    image->Add(0x0028, 0x1056, "SIGMOID");
    auto show = MakeShow(image);
    show->EnsureLoaded();
    const auto* sigmoid =
        dynamic_cast<const SigmoidVOILookupTable*>(show->GetMetaImage()->GetCurrentLUT());
    ASSERT_NE(sigmoid, nullptr);
    EXPECT_EQ(sigmoid->GetWindowWidth(), 200);
    EXPECT_EQ(sigmoid->GetWindowCenter(), 532);
}

TEST_F(ImageShowTest, ProjectionRadiographsGetTheAutomaticWindow)
{
    const std::vector<int> samples = {100, 200, 300, 400, 500, 600, 700, 800, 900};
    auto radiograph = [&](const char* modality)
    {
        DICOMImage* image = MakeImage(3, 3, 16, "MONOCHROME2", Words(samples));
        image->Delete(0x0008, 0x0060);
        image->Add(0x0008, 0x0060, modality);
        return MakeShow(image);
    };
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("AutoWindowLevel_UINT16", &FakeEstimate16)};
    RegisterFakeModule("Wexalo.dll", entries);
    s_nEstimates = 0;
    for (const char* modality : {"CR", "DX", "MG", "RF"})
    {
        auto show = radiograph(modality);
        show->EnsureLoaded();
        const DicomLookupTable* current = show->GetMetaImage()->GetCurrentLUT();
        ASSERT_NE(current, nullptr) << modality;
        EXPECT_EQ(current->GetDescription(), Lettra("Auto, Sigmoid")) << modality;
        EXPECT_EQ(current->GetWindowWidth(), 700);
        EXPECT_EQ(current->GetWindowCenter(), 300);
        EXPECT_TRUE(current->HasType(DicomLookupTable::enOwnerMark));
        EXPECT_TRUE(current->HasType(DicomLookupTable::enAutoWindow)) << "the pane finds it";
    }
    EXPECT_EQ(s_nEstimates, 4);
    EXPECT_EQ(GetFakeModuleLoadCount("Wexalo.dll"), 0);
    auto computed = radiograph("CT");
    computed->EnsureLoaded();
    EXPECT_EQ(s_nEstimates, 4);

    // Without the library the built-in estimate labels its window.
    RegisterAbsentModule("Wexalo.dll");
    auto builtIn = radiograph("CR");
    builtIn->EnsureLoaded();
    const DicomLookupTable* current = builtIn->GetMetaImage()->GetCurrentLUT();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->GetDescription().Left(8), Lettra("Auto, W:"));
    EXPECT_NE(dynamic_cast<const TDWLookupTable*>(current), nullptr);
    UnregisterFakeModule("Wexalo.dll");
}

TEST_F(ImageShowTest, AFrameThatFailsToDecodeIsTriedOnceAndLoggedOnce)
{
    Corvane holder;
    holder.LoadDicomFile("/nonexistent/folder/missing.dcm");
    ImageShow show;
    show.AttachCorvane(holder, 0);
    LogCapture log;
    for (int paint = 0; paint < 3; ++paint)
    {
        show.BuildChain();
        show.InvokeChain();
    }
    int failures = 0;
    for (const std::string& line : log.Lines())
    {
        failures += line.find("failed to loading") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(show.GetDIB().IsEmpty());
    EXPECT_EQ(show.GetChain().GetCount(), 0);
}

TEST_F(ImageShowTest, ABuiltChainRunsOnce)
{
    auto show = MakeShow(MakeImage(2, 3, 8, "MONOCHROME2", Ramp(6, 40)));
    show->SetViewRect({0, 0, 3, 2});
    show->BuildChain();
    EXPECT_GT(show->GetChain().GetCount(), 0);
    show->InvokeChain();
    EXPECT_EQ(show->GetChain().GetCount(), 0);
    const DIBPixels pixels = ReadDIB(show->GetDIB());
    EXPECT_EQ(pixels.width, 3); // the fit zoom keeps the full resolution
    show->ReleaseMapAndDIB();
    show->InvokeChain();
    EXPECT_TRUE(show->GetDIB().IsEmpty());
    // A zoom scales the field of view.
    show->SetZoom(2.0);
    show->ClearViewRect();
    show->SetViewRect({1, 0, 3, 2});
    show->BuildChain();
    show->InvokeChain();
    EXPECT_EQ(ReadDIB(show->GetDIB()).width, 4);
    EXPECT_EQ(ReadDIB(show->GetDIB()).height, 4);
}

TEST_F(ImageShowTest, IconsKeepTheAspectAndNeverDivideByZero)
{
    struct Case
    {
        int columns;
        int rows;
        int width;
        int height;
        int expectedWidth;
        int expectedHeight;
    };
    const Case cases[] = {
        {512, 256, 64, 64, 64, 32}, {256, 512, 64, 64, 32, 64}, {4, 2, 64, 64, 64, 32},
        {4, 2, 0, 64, 4, 2},        {4, 2, 64, -3, 4, 2},
    };
    for (const Case& c : cases)
    {
        auto show = MakeShow(MakeImage(c.rows, c.columns, 8, "MONOCHROME2",
                                       std::vector<std::uint8_t>(c.rows * c.columns, 9)));
        show->BuildChainForIcon(c.width, c.height);
        const DIBPixels pixels = ReadDIB(show->GetDIB());
        EXPECT_EQ(pixels.width, c.expectedWidth) << c.columns << "x" << c.rows;
        EXPECT_EQ(pixels.height, c.expectedHeight) << c.columns << "x" << c.rows;
        EXPECT_EQ(show->GetZoom(), -1.0);
    }
    ImageShow empty;
    empty.BuildChainForIcon(64, 64);
    EXPECT_TRUE(empty.GetDIB().IsEmpty());
}

TEST_F(ImageShowTest, BriefImagesFitTheLimit)
{
    struct Case
    {
        int columns;
        int rows;
        int width;
        int height;
        double factor;
    };
    const Case cases[] = {
        {300, 200, 300, 200, 1.0}, {1024, 2048, 256, 512, 4.0}, {2048, 2048, 512, 512, 4.0}};
    for (const Case& c : cases)
    {
        auto show = MakeShow(MakeImage(c.rows, c.columns, 8, "MONOCHROME2",
                                       std::vector<std::uint8_t>(c.rows * c.columns, 7)));
        EXPECT_DOUBLE_EQ(show->BuildBriefImage(), c.factor);
        EXPECT_EQ(show->GetDIB().GetWidth(), c.width);
        EXPECT_EQ(show->GetDIB().GetHeight(), c.height);
    }
}

TEST_F(ImageShowTest, ABriefImageMadeBeforeTheFrameIsFilledOnceItIsThere)
{
    Corvane holder;
    holder.LoadDicomFile("/nonexistent/brief.dcm");
    ImageShow show;
    show.AttachCorvane(holder, 0);
    EXPECT_DOUBLE_EQ(show.BuildBriefImage(), 1.0);
    EXPECT_TRUE(show.GetDIB().IsEmpty());
    show.AttachCorvane(Corvane(MakeImage(2, 3, 8, "MONOCHROME2", Ramp(6, 40))), 0);
    show.BuildBriefImage();
    EXPECT_EQ(show.GetDIB().GetWidth(), 3);
}

TEST_F(ImageShowTest, ResetDecodesAgainWithFreshTables)
{
    const std::string path = std::string(SUITE_CORPUS_DIR) + "/pydicom/test_files/CT_small.dcm";
    Corvane holder;
    if (!holder.LoadDicomFile(path.c_str()))
    {
        GTEST_SKIP() << "corpus file not found: " << path;
    }
    ImageShow show;
    show.AttachCorvane(holder, 0);
    show.EnsureLoaded();
    show.SetWindowLevel(20, 60);
    show.Reset();
    EXPECT_EQ(show.GetMetaImage()->GetMatrix(), nullptr);
    EXPECT_EQ(show.GetMetaImage()->GetLUTs().GetCount(), 0);
    show.EnsureLoaded();
    ASSERT_NE(show.GetMetaImage()->GetCurrentLUT(), nullptr);
    EXPECT_NE(show.GetMetaImage()->GetCurrentLUT()->GetWindowWidth(), 20);
}

TEST_F(ImageShowTest, SavesTheFullViewAsBitmapAndJPEG)
{
    auto show = MakeShow(MakeImage(2, 3, 8, "MONOCHROME2", Ramp(6, 40)));
    const std::string folder = ::testing::TempDir();
    EXPECT_FALSE(show->SaveAsBitmap(nullptr));
    EXPECT_TRUE(show->SaveAsBitmap((folder + "quillon_show.bmp").c_str()));
    EXPECT_TRUE(show->SaveAsJPEG((folder + "quillon_show.jpg").c_str()));
    // No DIB was held before: the image data is released again.
    EXPECT_EQ(show->GetMetaImage()->GetMatrix(), nullptr);
    EXPECT_TRUE(show->GetDIB().IsEmpty());
}
