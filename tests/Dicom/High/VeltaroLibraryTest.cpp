#include "VeltaroLibrary.h"

#include "DataDictionary.h"
#include "DicomDictionary.h"
#include "LibraryTestSupport.h"
#include "VR.h"
#include "VRCode.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace
{

// Elements in iteration order, group length elements left out.
int CountElements(const DICOMVRSet& set)
{
    int count = 0;
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        count += it.Current()->GetElement() != 0 ? 1 : 0;
    }
    return count;
}

// The library started at a fixed moment, local time being UTC; shut down
// again afterwards.
class LibraryStart : public ::testing::Test
{
protected:
    LibraryStart() : m_clock(MakeSystemTime(2009, 11, 28, 23, 4, 5)), m_installed(m_clock)
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void SetUp() override { ASSERT_EQ(VeltaroInitialize(), 1); }
    void TearDown() override { VeltaroUninitialize(); }

    CManualClock m_clock;
    CScopedPlatformClock m_installed;
};

TEST_F(LibraryStart, FillsTheHeaderTemplate)
{
    EXPECT_EQ(CountElements(DCMHeader), 47);
    for (const std::uint16_t element : {0x0020, 0x0021, 0x0023})
    {
        EXPECT_STREQ(DCMHeader.GetLettra(0x0008, element), "20091128");
    }
    for (const std::uint16_t element : {0x0030, 0x0031, 0x0033})
    {
        EXPECT_STREQ(DCMHeader.GetLettra(0x0008, element), "230405.0");
    }
    EXPECT_STREQ(DCMHeader.GetLettra(0x0008, 0x0060), "OT");
    EXPECT_STREQ(DCMHeader.GetLettra(0x0008, 0x0008), "ORIGINAL\\PRIMARY");
    EXPECT_STREQ(DCMHeader.GetLettra(0x0008, 0x0018), "1.2.840.84658685.990809027.100");
    EXPECT_STREQ(DCMHeader.GetLettra(0x0020, 0x000E), "1.2.840.84658685.990809027.300");
    EXPECT_STREQ(DCMHeader.GetLettra(0x0028, 0x0004), "MONOCHROME2");
    EXPECT_STREQ(DCMHeader.GetLettra(0x0028, 0x1053), "1");
    EXPECT_EQ(DCMHeader.GetVR(0x0028, 0x0002)->GetTypeCode(), VRCode::US);
    EXPECT_EQ(DCMHeader.GetUINT16(0x0028, 0x0002), 1);
    EXPECT_EQ(DCMHeader.GetVR(0x0028, 0x0103)->GetLength(), 2u);
    EXPECT_EQ(DCMHeader.GetVR(0x0010, 0x0010)->GetLength(), 0u);
    EXPECT_TRUE(DCMDXTemplate.IsEmpty() != 0);
}

TEST_F(LibraryStart, FillsTheDefaultMetaElements)
{
    const DICOMVRSet& meta = GetDefaultMetaElements();
    EXPECT_EQ(CountElements(meta), 4);
    EXPECT_EQ(meta.GetVR(0x0002, 0x0001)->GetTypeCode(), VRCode::OB);
    EXPECT_EQ(static_cast<const std::uint8_t*>(meta.GetVR(0x0002, 0x0001)->GetData())[1], 0x01);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0012), "1.2.840.84658685.1.0");
    EXPECT_EQ(meta.GetVR(0x0002, 0x0013)->GetTypeCode(), VRCode::SH);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0013), "TQELM20001.0");
    const VR* title = meta.GetVR(0x0002, 0x0016);
    EXPECT_EQ(title->GetTypeCode(), VRCode::AE);
    EXPECT_EQ(std::string(static_cast<const char*>(title->GetData()), title->GetLength()),
              "TAVUQELM        ");
}

TEST_F(LibraryStart, FillsTheIconFilter)
{
    const DICOMVRSet& filter = GetIconElementFilter();
    EXPECT_EQ(CountElements(filter), 56);
    EXPECT_EQ(filter.IsExist(0x7FE0, 0x0010), 1);
    EXPECT_EQ(filter.IsExist(0x0028, 0x3010), 1);
    EXPECT_EQ(filter.IsExist(0x0010, 0x1030), 0);
}

TEST_F(LibraryStart, StartingTwiceKeepsOneCopyOfEverything)
{
    const int dictionary = DataDictionary::GetLibraryDictionary().GetCount();
    ASSERT_EQ(VeltaroInitialize(), 1);
    EXPECT_EQ(DataDictionary::GetLibraryDictionary().GetCount(), dictionary);
    EXPECT_EQ(CountElements(DCMHeader), 47);
    EXPECT_EQ(CountElements(GetDefaultMetaElements()), 4);
    EXPECT_EQ(CountElements(GetIconElementFilter()), 56);
}

TEST(LibraryShutDown, EmptiesTheDictionaryAndTheSets)
{
    VeltaroInitialize();
    EXPECT_NE(DicomDictionary::Lookup(0x0010, 0x0010), 0);
    VeltaroUninitialize();
    EXPECT_EQ(DicomDictionary::Lookup(0x0010, 0x0010), 0);
    EXPECT_TRUE(DCMHeader.IsEmpty() != 0);
    EXPECT_TRUE(GetDefaultMetaElements().IsEmpty() != 0);
    EXPECT_TRUE(GetIconElementFilter().IsEmpty() != 0);
}

} // namespace
