// Tests of the image handle: defaults, sharing and release of the image,
// deep copies, the image information, comparison, files from the sample
// corpus and copies made and dropped on several threads.
#include "Corvane.h"

#include "DICOMDataSet.h"
#include "DICOMImage.h"
#include "VeltaroLibrary.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace
{

constexpr unsigned short kSopGroup = 0x0008;
constexpr unsigned short kSopElement = 0x0018;
constexpr unsigned short kModalityElement = 0x0060;
constexpr unsigned short kImageGroup = 0x0028;
constexpr unsigned short kRowsElement = 0x0010;
constexpr unsigned short kPixelGroup = 0x7FE0;
constexpr unsigned short kPixelElement = 0x0010;

// Values of the sample read with an independent DICOM toolkit.
const char kMrSopInstance[] = "1.3.6.1.4.1.5962.1.1.4.1.1.20040826185059.5457";
constexpr unsigned short kMrRows = 64;

std::string MrSmallPath()
{
    return (std::filesystem::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / "MR_small.dcm")
        .string();
}

// An image that counts its destructions.
class CountedImage : public DICOMImage
{
public:
    explicit CountedImage(std::atomic<int>& deaths) : m_deaths(deaths) {}
    ~CountedImage() override { ++m_deaths; }

private:
    std::atomic<int>& m_deaths;
};

// An image with a SOP Instance UID (none for null) and a modality.
DICOMImage* MakeImage(const char* sopInstance, const char* modality = "CT")
{
    auto* image = new DICOMImage;
    if (sopInstance != nullptr)
        image->Add(kSopGroup, kSopElement, sopInstance);
    image->Add(kSopGroup, kModalityElement, modality);
    return image;
}

LONG CountOf(const Corvane& handle)
{
    return handle.m_pData->nRefs;
}

void SetAllFlags(Corvane& handle)
{
    handle.ShowImage(false);
    handle.FlipHorizontal();
    handle.FlipVertical();
    handle.Invert();
    handle.Rotate90();
    handle.Rotate180();
    handle.Rotate270();
    handle.SetToBeSorted(true);
    handle.SetGroup(Corvane::enGroupByStudy);
    handle.SetScope(Corvane::enScopeView);
    handle.SetTransactionID(17);
}

// True when every flag, group, scope and transaction ID has its default.
bool HasDefaultFields(const Corvane& handle)
{
    return handle.IsShowImage() && !handle.IsFlipHorizontal() && !handle.IsFlipVertical() &&
           !handle.IsInvert() && !handle.IsRotate90() && !handle.IsRotate180() &&
           !handle.IsRotate270() && !handle.IsToBeSorted() &&
           handle.GetGroup() == Corvane::enGroupBySeries &&
           handle.GetScope() == Corvane::enScopeImage && handle.GetTransactionID() == -1;
}

// True when every field holds what SetAllFlags stores.
bool HasAllFlags(const Corvane& handle)
{
    return !handle.IsShowImage() && handle.IsFlipHorizontal() && handle.IsFlipVertical() &&
           handle.IsInvert() && handle.IsRotate90() && handle.IsRotate180() &&
           handle.IsRotate270() && handle.IsToBeSorted() &&
           handle.GetGroup() == Corvane::enGroupByStudy &&
           handle.GetScope() == Corvane::enScopeView && handle.GetTransactionID() == 17;
}

class CorvaneTest : public ::testing::Test
{
protected:
    void SetUp() override { VeltaroInitialize(); }
    void TearDown() override { VeltaroUninitialize(); }

    std::atomic<int> m_deaths{0};
};

// Tests that read the sample file.
class CorvaneFileTest : public CorvaneTest
{
protected:
    void SetUp() override
    {
        CorvaneTest::SetUp();
        if (!std::filesystem::exists(MrSmallPath()))
            GTEST_SKIP() << "corpus sample not found: " << MrSmallPath();
    }
};

} // namespace

TEST_F(CorvaneTest, DefaultHandleIsEmptyWithDefaults)
{
    Corvane handle;
    EXPECT_TRUE(handle.IsEmpty());
    EXPECT_TRUE(HasDefaultFields(handle));
    EXPECT_EQ(handle.GetFileName(), nullptr);
    EXPECT_EQ(handle.GetNumberOfFrames(), 0);
    EXPECT_EQ(handle.GetDicomFile(), nullptr);
    EXPECT_EQ(handle.GetImageInfoDDS(), nullptr);
    EXPECT_EQ(handle.m_pData, &Corvane::DataNil);
    EXPECT_EQ(Corvane::DataNil.nRefs, -1);
    EXPECT_EQ(Corvane::GetVersion(), 0x20101);
}

TEST_F(CorvaneTest, FlagAccessorsToggleAndSet)
{
    struct Case
    {
        const char* name;
        std::function<void(Corvane&)> change;
        std::function<bool(const Corvane&)> read;
    };
    const std::vector<Case> cases = {
        {"FlipHorizontal", &Corvane::FlipHorizontal, &Corvane::IsFlipHorizontal},
        {"FlipVertical", &Corvane::FlipVertical, &Corvane::IsFlipVertical},
        {"Invert", &Corvane::Invert, &Corvane::IsInvert},
        {"Rotate90", &Corvane::Rotate90, &Corvane::IsRotate90},
        {"Rotate180", &Corvane::Rotate180, &Corvane::IsRotate180},
        {"Rotate270", &Corvane::Rotate270, &Corvane::IsRotate270},
    };
    for (const Case& flag : cases)
    {
        SCOPED_TRACE(flag.name);
        Corvane handle;
        flag.change(handle);
        EXPECT_TRUE(flag.read(handle));
        flag.change(handle);
        EXPECT_FALSE(flag.read(handle));
    }
    Corvane handle;
    SetAllFlags(handle);
    EXPECT_TRUE(HasAllFlags(handle));
    EXPECT_EQ(handle.m_nTransactionID, 17);
}

TEST_F(CorvaneTest, EmptyHandleOperationsDoNothing)
{
    Corvane handle;
    SetAllFlags(handle);
    handle.Reset();
    handle.Delete(kSopGroup, kSopElement);
    handle.ReleasePixelData();
    handle.ResetEx();
    handle.DeleteEx(kSopGroup, kSopElement);
    handle.ReleasePixelDataEx();
    DICOMDataSet info;
    info.Add(kSopGroup, kModalityElement, "MR");
    handle.SetImageInfoDDS(&info);
    handle.Release();
    EXPECT_TRUE(handle.IsEmpty());
    EXPECT_EQ(handle.GetImageInfoDDS(), nullptr);
    EXPECT_FALSE(handle.ReadFile());
    EXPECT_FALSE(handle.ReadFileNoImage());
    EXPECT_EQ(handle.Detach(), nullptr);
    EXPECT_TRUE(handle.GetLettra(kSopGroup, kModalityElement).IsEmpty());
    EXPECT_EQ(handle.GetUINT16(kImageGroup, kRowsElement), 0);
    EXPECT_TRUE(HasAllFlags(handle)) << "releasing an empty handle keeps its flags";
    EXPECT_EQ(Corvane::DataNil.nRefs, -1);
}

TEST_F(CorvaneTest, AssignmentSharesTheImageAndCopiesTheFlags)
{
    auto* image = new CountedImage(m_deaths);
    Corvane source(image);
    SetAllFlags(source);
    {
        Corvane target;
        target = source;
        EXPECT_EQ(target.GetDicomFile(), image);
        EXPECT_EQ(target.m_pData, source.m_pData);
        EXPECT_EQ(CountOf(source), 2);
        EXPECT_TRUE(HasAllFlags(target));
        Corvane copy(target);
        EXPECT_EQ(CountOf(source), 3);
        EXPECT_TRUE(HasAllFlags(copy));
    }
    EXPECT_EQ(m_deaths, 0) << "destroying the copies leaves the image alive";
    EXPECT_EQ(CountOf(source), 1);
    source.Release();
    EXPECT_EQ(m_deaths, 1);
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_TRUE(HasDefaultFields(source));
}

TEST_F(CorvaneTest, AssigningAHandleOfTheSameImageKeepsTheFlags)
{
    Corvane source(MakeImage("1.2.3"));
    Corvane target(source);
    SetAllFlags(target);
    target = source;
    EXPECT_TRUE(HasAllFlags(target));
    EXPECT_EQ(CountOf(source), 2);
}

TEST_F(CorvaneTest, SelfAssignmentKeepsTheImage)
{
    Corvane handle(new CountedImage(m_deaths));
    SetAllFlags(handle);
    Corvane& self = handle;
    handle = self;
    handle.ShadowCopyTo(handle);
    handle.CopyTo(handle);
    EXPECT_EQ(m_deaths, 0);
    EXPECT_NE(handle.GetDicomFile(), nullptr);
    EXPECT_EQ(CountOf(handle), 1);
    EXPECT_TRUE(HasAllFlags(handle));
}

TEST_F(CorvaneTest, AssigningAnEmptyHandleReleasesTheImage)
{
    Corvane holder(new CountedImage(m_deaths));
    Corvane other(holder);
    SetAllFlags(holder);
    holder = Corvane();
    EXPECT_TRUE(holder.IsEmpty());
    EXPECT_TRUE(HasDefaultFields(holder));
    EXPECT_EQ(CountOf(other), 1);
    EXPECT_EQ(m_deaths, 0);
    other = Corvane();
    EXPECT_EQ(m_deaths, 1);
}

TEST_F(CorvaneTest, CopyOfAnEmptyHandleIsEmpty)
{
    const Corvane empty;
    const Corvane copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(Corvane::DataNil.nRefs, -1);
}

TEST_F(CorvaneTest, AttachReleasesWhatWasHeld)
{
    Corvane handle;
    SetAllFlags(handle);
    handle.Attach(new CountedImage(m_deaths));
    EXPECT_TRUE(HasAllFlags(handle)) << "an empty handle keeps its flags";
    EXPECT_EQ(CountOf(handle), 1);
    auto* second = new CountedImage(m_deaths);
    handle = second;
    EXPECT_EQ(m_deaths, 1);
    EXPECT_EQ(handle.GetDicomFile(), second);
    EXPECT_TRUE(HasDefaultFields(handle)) << "a holding handle gets default flags";
}

TEST_F(CorvaneTest, AttachOfTheHeldImageKeepsIt)
{
    auto* image = new CountedImage(m_deaths);
    Corvane handle(image);
    Corvane sharer(handle);
    handle.Attach(image);
    EXPECT_EQ(m_deaths, 0);
    EXPECT_EQ(handle.GetDicomFile(), image);
    EXPECT_EQ(CountOf(handle), 2);
    EXPECT_EQ(handle.m_pData, sharer.m_pData);
}

TEST_F(CorvaneTest, AttachOfNullGivesAHandleWithoutImage)
{
    Corvane handle;
    handle.Attach(nullptr);
    EXPECT_FALSE(handle.IsEmpty());
    EXPECT_EQ(handle.GetDicomFile(), nullptr);
    EXPECT_EQ(handle.GetNumberOfFrames(), 0);
    EXPECT_FALSE(handle.ReadFile());
}

TEST_F(CorvaneTest, DetachOfTheLastHandleHandsTheImageOver)
{
    auto* image = new CountedImage(m_deaths);
    Corvane handle(image);
    DICOMDataSet info;
    info.Add(kSopGroup, kModalityElement, "MR");
    handle.SetImageInfoDDS(&info);
    DICOMFile* detached = handle.Detach();
    EXPECT_EQ(detached, image);
    EXPECT_TRUE(handle.IsEmpty());
    EXPECT_EQ(m_deaths, 0);
    delete detached;
    EXPECT_EQ(m_deaths, 1);
}

TEST_F(CorvaneTest, DetachOfASharedImageIsRefused)
{
    auto* image = new CountedImage(m_deaths);
    Corvane handle(image);
    {
        Corvane sharer(handle);
        EXPECT_EQ(sharer.Detach(), nullptr);
        EXPECT_EQ(sharer.GetDicomFile(), image);
        EXPECT_EQ(CountOf(handle), 2);
    }
    EXPECT_EQ(m_deaths, 0);
    handle.Release();
    EXPECT_EQ(m_deaths, 1);
}

TEST_F(CorvaneTest, SoleOwnerOperationsActOnlyWithoutSharers)
{
    struct Case
    {
        const char* name;
        std::function<void(Corvane&)> operation;
        std::function<bool(const DICOMImage&)> unchanged;
    };
    const std::vector<Case> cases = {
        {"ResetEx", [](Corvane& h) { h.ResetEx(); },
         [](const DICOMImage& i) { return i.IsEmpty() == 0; }},
        {"DeleteEx", [](Corvane& h) { h.DeleteEx(kSopGroup, kSopElement); },
         [](const DICOMImage& i) { return i.IsExist(kSopGroup, kSopElement) != 0; }},
        {"ReleasePixelDataEx", [](Corvane& h) { h.ReleasePixelDataEx(); },
         [](const DICOMImage& i) { return i.IsExist(kPixelGroup, kPixelElement) != 0; }},
    };
    for (const Case& step : cases)
    {
        SCOPED_TRACE(step.name);
        auto* image = MakeImage("1.2.3");
        image->Add(kPixelGroup, kPixelElement, static_cast<unsigned short>(7));
        Corvane handle(image);
        {
            Corvane sharer(handle);
            step.operation(handle);
            EXPECT_TRUE(step.unchanged(*image)) << "shared by two handles";
        }
        step.operation(handle);
        EXPECT_FALSE(step.unchanged(*image)) << "sole owner";
    }
}

TEST_F(CorvaneTest, ImageOperationsActOnTheSharedImage)
{
    auto* image = MakeImage("1.2.3");
    image->Add(kPixelGroup, kPixelElement, static_cast<unsigned short>(7));
    Corvane handle(image);
    Corvane sharer(handle);
    sharer.Delete(kSopGroup, kSopElement);
    EXPECT_TRUE(handle.GetLettra(kSopGroup, kSopElement).IsEmpty());
    sharer.ReleasePixelData();
    EXPECT_EQ(image->IsExist(kPixelGroup, kPixelElement), 0);
    sharer.Reset();
    EXPECT_NE(image->IsEmpty(), 0);
}

TEST_F(CorvaneTest, ImageInformationIsTheOnlySourceOnceSet)
{
    Corvane handle(MakeImage("1.2.3", "CT"));
    handle.m_pImage->Add(kImageGroup, kRowsElement, static_cast<unsigned short>(512));
    EXPECT_EQ(handle.GetLettra(kSopGroup, kModalityElement), "CT");
    EXPECT_EQ(handle.GetUINT16(kImageGroup, kRowsElement), 512);
    Corvane sharer(handle);

    DICOMDataSet info;
    info.Add(kSopGroup, kModalityElement, "MR");
    info.Add(kImageGroup, kRowsElement, static_cast<unsigned int>(70000));
    handle.SetImageInfoDDS(&info);
    ASSERT_NE(handle.GetImageInfoDDS(), nullptr);
    EXPECT_EQ(sharer.GetImageInfoDDS(), handle.GetImageInfoDDS());
    EXPECT_EQ(sharer.GetLettra(kSopGroup, kModalityElement), "MR");
    EXPECT_TRUE(sharer.GetLettra(kSopGroup, kSopElement).IsEmpty())
        << "only in the image, not asked there";
    EXPECT_EQ(sharer.GetUINT32(kImageGroup, kRowsElement), 70000u);
    EXPECT_EQ(Lettra(sharer(kSopGroup, kModalityElement)), "MR");
    EXPECT_EQ(static_cast<unsigned int>(sharer(kImageGroup, kRowsElement)), 70000u);
    EXPECT_EQ(static_cast<unsigned short>(sharer(kImageGroup, kRowsElement)),
              sharer.GetUINT16(kImageGroup, kRowsElement));

    DICOMDataSet more;
    more.Add(kSopGroup, kSopElement, "9.8.7");
    handle.SetImageInfoDDS(&more);
    EXPECT_EQ(handle.GetLettra(kSopGroup, kSopElement), "9.8.7");
    EXPECT_EQ(handle.GetLettra(kSopGroup, kModalityElement), "MR") << "elements are added";
    handle.SetImageInfoDDS(nullptr);
    EXPECT_EQ(handle.GetLettra(kSopGroup, kSopElement), "9.8.7");
}

TEST_F(CorvaneTest, IsEqualComparesImagesThenSopInstanceUids)
{
    struct Case
    {
        const char* name;
        const char* first;  // "-" for an empty handle
        const char* second; // "=" for a handle sharing the first one's image
        bool equal;
    };
    const Case cases[] = {
        {"both empty", "-", "-", true},
        {"one empty", "1.2", "-", false},
        {"the same image", "1.2", "=", true},
        {"equal UIDs", "1.2", "1.2", true},
        {"other UIDs", "1.2", "1.3", false},
        {"both without UID", nullptr, nullptr, true},
        {"one without UID", "1.2", nullptr, false},
    };
    for (const Case& pair : cases)
    {
        SCOPED_TRACE(pair.name);
        const auto make = [](const char* uid)
        { return uid != nullptr && uid[0] == '-' ? Corvane() : Corvane(MakeImage(uid)); };
        const Corvane first = make(pair.first);
        const Corvane second =
            pair.second != nullptr && pair.second[0] == '=' ? Corvane(first) : make(pair.second);
        EXPECT_EQ(first.IsEqual(second), pair.equal);
        EXPECT_EQ(second.IsEqual(first), pair.equal);
        EXPECT_EQ(first == second, pair.equal ? 1 : 0);
        EXPECT_EQ(first != second, pair.equal ? 0 : 1);
    }
}

TEST_F(CorvaneFileTest, LoadDicomFileReadsTheHeaderWithoutPixels)
{
    Corvane handle;
    SetAllFlags(handle);
    ASSERT_TRUE(handle.LoadDicomFile(MrSmallPath().c_str()));
    EXPECT_TRUE(HasAllFlags(handle)) << "an empty handle keeps its flags";
    EXPECT_EQ(CountOf(handle), 1);
    EXPECT_EQ(std::string(handle.GetFileName()), MrSmallPath());
    EXPECT_EQ(handle.GetLettra(kSopGroup, kSopElement), kMrSopInstance);
    EXPECT_EQ(handle.GetUINT16(kImageGroup, kRowsElement), kMrRows);
    EXPECT_EQ(handle.GetNumberOfFrames(), 1);
    EXPECT_EQ(handle.GetDicomFile()->IsExist(kPixelGroup, kPixelElement), 0);

    EXPECT_TRUE(handle.ReadFile());
    EXPECT_EQ(handle.GetDicomFile()->GetVR(kPixelGroup, kPixelElement)->GetLength(),
              64u * 64u * 2u);
}

TEST_F(CorvaneTest, LoadDicomFileKeepsTheImageOfAMissingFile)
{
    Corvane handle(MakeImage("1.2"));
    SetAllFlags(handle);
    const std::string missing = std::string(SUITE_OUTPUT_DIR) + "/no-such-file.dcm";
    EXPECT_FALSE(handle.LoadDicomFile(missing.c_str()));
    EXPECT_FALSE(handle.IsEmpty());
    ASSERT_NE(handle.GetDicomFile(), nullptr);
    EXPECT_TRUE(HasDefaultFields(handle)) << "the held image was released first";
    EXPECT_EQ(std::string(handle.GetFileName()), missing);
    EXPECT_TRUE(handle.GetLettra(kSopGroup, kSopElement).IsEmpty());
    EXPECT_FALSE(handle.ReadFileNoImage());
    EXPECT_TRUE(handle.GetNotEmptyString(kSopGroup, kSopElement).IsEmpty());
}

TEST_F(CorvaneFileTest, CopyToOfALoadedImageNamesTheFileOnly)
{
    Corvane source;
    ASSERT_TRUE(source.LoadDicomFile(MrSmallPath().c_str()));
    DICOMDataSet info;
    info.Add(kSopGroup, kModalityElement, "XX");
    source.SetImageInfoDDS(&info);
    SetAllFlags(source);

    Corvane copy(MakeImage("1.2"));
    source.CopyTo(copy);
    ASSERT_NE(copy.GetDicomFile(), nullptr);
    EXPECT_NE(copy.GetDicomFile(), source.GetDicomFile());
    EXPECT_EQ(CountOf(copy), 1);
    EXPECT_EQ(CountOf(source), 1);
    EXPECT_TRUE(HasDefaultFields(copy));
    EXPECT_EQ(copy.GetImageInfoDDS(), nullptr);
    EXPECT_EQ(std::string(copy.GetFileName()), MrSmallPath());
    EXPECT_NE(copy.GetDicomFile()->IsEmpty(), 0);

    EXPECT_TRUE(copy.ReadFileNoImage());
    EXPECT_EQ(copy.GetLettra(kSopGroup, kSopElement), kMrSopInstance);
    EXPECT_EQ(copy.GetLettra(kSopGroup, kModalityElement), "MR");
    EXPECT_EQ(copy.GetDicomFile()->IsExist(kPixelGroup, kPixelElement), 0);
    EXPECT_TRUE(copy == source);
}

TEST_F(CorvaneTest, CopyToOfAnImageWithoutFileCopiesTheDataSet)
{
    const Corvane source(MakeImage("4.5.6", "US"));
    Corvane copy;
    SetAllFlags(copy);
    source.CopyTo(copy);
    EXPECT_TRUE(HasAllFlags(copy)) << "an empty target keeps its flags";
    ASSERT_NE(copy.GetDicomFile(), nullptr);
    EXPECT_NE(copy.GetDicomFile(), source.GetDicomFile());
    EXPECT_EQ(copy.GetLettra(kSopGroup, kModalityElement), "US");
    EXPECT_EQ(copy.GetLettra(kSopGroup, kSopElement), "4.5.6");

    Corvane fromEmpty(MakeImage("1"));
    Corvane().CopyTo(fromEmpty);
    EXPECT_TRUE(fromEmpty.IsEmpty());
}

TEST_F(CorvaneFileTest, GetNotEmptyStringReadsTheHeaderOfAnUnreadImage)
{
    auto* image = new DICOMImage;
    ASSERT_NE(image->ValidateFileName(MrSmallPath().c_str()), 0);
    Corvane handle(image);
    EXPECT_TRUE(handle.GetLettra(kSopGroup, kModalityElement).IsEmpty());
    EXPECT_EQ(handle.GetNotEmptyString(kSopGroup, kModalityElement), "MR");
    EXPECT_EQ(handle.GetLettra(kSopGroup, kSopElement), kMrSopInstance);

    Corvane absent(MakeImage("1.2"));
    EXPECT_TRUE(absent.GetNotEmptyString(kImageGroup, kRowsElement).IsEmpty());
}

TEST_F(CorvaneTest, CopiesOnSeveralThreadsDeleteTheImageOnce)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 2000;
    auto* image = new CountedImage(m_deaths);
    std::vector<Corvane> seeds;
    {
        Corvane origin(image);
        seeds.assign(kThreads, origin);
        EXPECT_EQ(CountOf(origin), kThreads + 1);
    }
    std::atomic<bool> start{false};
    std::vector<std::thread> threads;
    for (Corvane& seed : seeds)
    {
        threads.emplace_back(
            [&seed, &start]
            {
                while (!start)
                    std::this_thread::yield();
                for (int round = 0; round < kRounds; ++round)
                {
                    Corvane copy(seed);
                    Corvane other;
                    other = copy;
                }
                seed.Release();
            });
    }
    start = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(m_deaths, 1);
}
