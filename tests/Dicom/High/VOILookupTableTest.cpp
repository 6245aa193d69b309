// VOILookupTable: reading the first item of the VOI LUT Sequence, refusing
// malformed descriptors and short data, and the 8-bit display table over
// stored values.
#include "../../../Dicom/High/src/VOILookupTable.h"
#include "DICOMDataSet.h"
#include "LibraryTestSupport.h"
#include "RealImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace
{

using Entries = std::vector<unsigned short>;
using Table = std::unique_ptr<std::uint8_t[]>;

class VOILookupTableTest : public LibraryTest
{
protected:
    // A data set whose VOI LUT Sequence holds one item with the descriptor
    // values and entries given.
    static void AddLut(DICOMDataSet& set, const Entries& descriptor, const Entries& entries,
                       const char* explanation = nullptr)
    {
        DICOMDataSet item;
        item.Add(0x0028, 0x3002, descriptor.data(), static_cast<int>(descriptor.size()));
        if (!entries.empty())
        {
            item.Add(0x0028, 0x3006, entries.data(), static_cast<int>(entries.size()));
        }
        if (explanation != nullptr)
        {
            item.Add(0x0028, 0x3003, explanation);
        }
        set.Add(0x0028, 0x3010, item);
    }

    static int DisplayLevel(const Table& table, int stored)
    {
        return table[VOILookupTable::DisplayTableOffset + stored];
    }
};

TEST_F(VOILookupTableTest, NoSequenceGivesNoTable)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0004, "MONOCHROME2");
    const VOILookupTable lut(set);
    EXPECT_FALSE(lut.IsValid());
    EXPECT_EQ(lut.CreateDisplayTable(0.0f, 1.0f), nullptr);
    EXPECT_EQ(lut.GetEntry(0), 0);
}

TEST_F(VOILookupTableTest, MalformedItemsGiveNoTable)
{
    struct Case
    {
        const char* name;
        Entries descriptor;
        Entries entries;
    };
    const Case cases[] = {
        {"descriptor of two values", {4, 0}, {1, 2, 3, 4}},
        {"descriptor of four values", {4, 0, 16, 0}, {1, 2, 3, 4}},
        {"no data", {4, 0, 16}, {}},
        {"data shorter than the count", {4, 0, 16}, {1, 2, 3}},
        {"count 0 with short data", {0, 0, 16}, {1, 2, 3, 4}},
        {"equal ends", {3, 0, 16}, {7, 100, 7}},
    };
    for (const Case& item : cases)
    {
        DICOMDataSet set;
        AddLut(set, item.descriptor, item.entries);
        const VOILookupTable lut(set);
        EXPECT_FALSE(lut.IsValid()) << item.name;
    }
}

TEST_F(VOILookupTableTest, ReadsTheEntriesFromTheFirstMappedValue)
{
    DICOMDataSet set;
    AddLut(set, {4, 10, 12}, {0, 1000, 2000, 4000}, "  SOFT TISSUE ");
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetEntryCount(), 4);
    EXPECT_EQ(lut.GetFirstMapped(), 10);
    EXPECT_EQ(lut.GetFirstInput(), 10);
    EXPECT_EQ(lut.GetBitsPerEntry(), 12);
    EXPECT_EQ(lut.GetMinValue(), 0);
    EXPECT_EQ(lut.GetMaxValue(), 4000);
    EXPECT_STREQ(lut.GetExplanation(), "SOFT TISSUE");
    EXPECT_EQ(lut.GetEntry(9), 0);
    EXPECT_EQ(lut.GetEntry(11), 1000);
    EXPECT_EQ(lut.GetEntry(13), 4000);
    EXPECT_EQ(lut.GetEntry(14), 4000);
    EXPECT_EQ(lut.GetEntry(65535), 4000);
    EXPECT_EQ(lut.GetEntry(65536), 0);
}

TEST_F(VOILookupTableTest, OnlyTheFirstItemCounts)
{
    DICOMDataSet set;
    AddLut(set, {2, 0, 16}, {10, 20});
    AddLut(set, {2, 0, 16}, {500, 600});
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetEntry(1), 20);
}

TEST_F(VOILookupTableTest, EmptyExplanationIsNamedVoiLut)
{
    DICOMDataSet set;
    AddLut(set, {2, 0, 16}, {0, 255}, "   ");
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_STREQ(lut.GetExplanation(), "VOI LUT");
}

TEST_F(VOILookupTableTest, DescendingEntriesExchangeMinAndMax)
{
    DICOMDataSet set;
    AddLut(set, {3, 0, 16}, {900, 500, 100});
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetMinValue(), 100);
    EXPECT_EQ(lut.GetMaxValue(), 900);
}

TEST_F(VOILookupTableTest, CountZeroIsReadAs65535Entries)
{
    Entries entries(65535);
    for (std::size_t index = 0; index < entries.size(); ++index)
    {
        entries[index] = static_cast<unsigned short>(index);
    }
    DICOMDataSet set;
    AddLut(set, {0, 0, 16}, entries);
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetEntryCount(), 65535);
    EXPECT_EQ(lut.GetMaxValue(), 65534);
    EXPECT_EQ(lut.GetEntry(65534), 65534);
    EXPECT_EQ(lut.GetEntry(65535), 65534);
}

TEST_F(VOILookupTableTest, EntriesReachingPastTheTableAreCut)
{
    DICOMDataSet set;
    AddLut(set, {4, 65534, 16}, {1, 2, 3, 4});
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetEntryCount(), 2);
    EXPECT_EQ(lut.GetEntry(65534), 1);
    EXPECT_EQ(lut.GetEntry(65535), 2);
    EXPECT_EQ(lut.GetMaxValue(), 2);
}

TEST_F(VOILookupTableTest, DisplayTableScalesByTheMaxValue)
{
    DICOMDataSet set;
    AddLut(set, {4, 10, 12}, {0, 1000, 2000, 4000});
    const VOILookupTable lut(set);
    const Table table(lut.CreateDisplayTable(0.0f, 1.0f));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(DisplayLevel(table, -65536), 0);
    EXPECT_EQ(DisplayLevel(table, -5), 0);
    EXPECT_EQ(DisplayLevel(table, 9), 0);
    EXPECT_EQ(DisplayLevel(table, 10), 0);
    EXPECT_EQ(DisplayLevel(table, 11), 63);
    EXPECT_EQ(DisplayLevel(table, 12), 127);
    EXPECT_EQ(DisplayLevel(table, 13), 255);
    EXPECT_EQ(DisplayLevel(table, 14), 255);
    EXPECT_EQ(DisplayLevel(table, 65535), 255);
}

TEST_F(VOILookupTableTest, DisplayTableMapsStoredValuesThroughTheRescale)
{
    DICOMDataSet set;
    AddLut(set, {4, 10, 12}, {0, 1000, 2000, 4000});
    const VOILookupTable lut(set);
    const Table shifted(lut.CreateDisplayTable(-1024.0f, 1.0f));
    ASSERT_NE(shifted, nullptr);
    EXPECT_EQ(DisplayLevel(shifted, 1034), 0);
    EXPECT_EQ(DisplayLevel(shifted, 1035), 63);
    EXPECT_EQ(DisplayLevel(shifted, 1037), 255);
    const Table doubled(lut.CreateDisplayTable(0.0f, 2.0f));
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(DisplayLevel(doubled, 6), 127);
    const Table unusable(lut.CreateDisplayTable(0.0f, std::nanf("")));
    ASSERT_NE(unusable, nullptr);
    EXPECT_EQ(DisplayLevel(unusable, 11), 63);
}

TEST_F(VOILookupTableTest, SignedPixelsReadTheFirstMappedValueAsSigned)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(1));
    AddLut(set, {3, 0xFFF6, 16}, {0, 100, 200});
    const VOILookupTable lut(set);
    ASSERT_TRUE(lut.IsValid());
    EXPECT_EQ(lut.GetFirstInput(), -10);
    const Table table(lut.CreateDisplayTable(0.0f, 1.0f));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(DisplayLevel(table, -11), 0);
    EXPECT_EQ(DisplayLevel(table, -9), 127);
    EXPECT_EQ(DisplayLevel(table, -8), 255);
    EXPECT_EQ(DisplayLevel(table, 1000), 255);
}

TEST_F(VOILookupTableTest, EntriesAboveTheLastAreHeldAtFullLevel)
{
    DICOMDataSet set;
    AddLut(set, {3, 0, 16}, {0, 8000, 4000});
    const VOILookupTable lut(set);
    const Table table(lut.CreateDisplayTable(0.0f, 1.0f));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(DisplayLevel(table, 1), 255);
    EXPECT_EQ(DisplayLevel(table, 2), 255);
}

// A 16-bit image of the samples given, in one row.
std::unique_ptr<RealImage16> MakeImage16(const std::vector<std::uint16_t>& samples)
{
    auto* pixels = new std::uint16_t[samples.size()];
    std::memcpy(pixels, samples.data(), samples.size() * 2);
    return std::make_unique<RealImage16>(pixels, static_cast<int>(samples.size()), 1, 16, 0, 0, 0,
                                         0, 0.0f, 1.0f);
}

std::vector<std::uint8_t> PixelsOf(const RealImage& image)
{
    const auto* pixels = static_cast<const std::uint8_t*>(image.GetImage());
    return {pixels, pixels + image.GetImageLength()};
}

TEST_F(VOILookupTableTest, ApplyMakesAnEightBitImageWithTheSourcesLook)
{
    DICOMDataSet set;
    AddLut(set, {4, 10, 12}, {0, 1000, 2000, 4000});
    const VOILookupTable lut(set);
    const auto source = MakeImage16({9, 10, 11, 12, 13, 60000});
    source->SetPhotometric("MONOCHROME2");
    source->SetFlag(3);
    source->GetPalette()[17] = RGBQUAD{1, 2, 3, 0};

    const std::unique_ptr<RealImage8> result(lut.Apply(*source));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PixelsOf(*result), (std::vector<std::uint8_t>{0, 0, 63, 127, 255, 255}));
    EXPECT_EQ(result->GetWidth(), 6);
    EXPECT_EQ(result->GetHeight(), 1);
    EXPECT_EQ(result->GetDepth(), 8);
    EXPECT_EQ(result->GetMinImage(), 0);
    EXPECT_EQ(result->GetMaxImage(), 255);
    EXPECT_EQ(result->GetMinSet(), 0);
    EXPECT_EQ(result->GetMaxSet(), 255);
    EXPECT_EQ(result->GetIntercept(), 0.0f);
    EXPECT_EQ(result->GetSlope(), 1.0f);
    EXPECT_EQ(result->GetLookupTable().GetMaxSpaceRaw(), 255);
    EXPECT_EQ(result->GetLookupTable().GetWindowCenter(), 127.0);
    EXPECT_EQ(result->GetLookupTable().GetWindowWidth(), 255.0);
    EXPECT_STREQ(result->GetPhotometric(), "MONOCHROME2");
    EXPECT_EQ(result->GetFlag(), 3);
    EXPECT_EQ(result->GetPalette()[17].rgbRed, 3);
    EXPECT_EQ(result->GetPalette()[17].rgbBlue, 1);
}

TEST_F(VOILookupTableTest, ApplyReadsSignedSamplesThroughTheRescale)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(1));
    AddLut(set, {3, 0xFFF6, 16}, {0, 100, 200});
    const VOILookupTable lut(set);
    const auto source = MakeImage16({0xFFF5, 0xFFF7, 0x0001, 0x0002});
    source->SetSigned(1);
    source->SetRescale(-10.0f, 1.0f);
    const std::unique_ptr<RealImage8> result(lut.Apply(*source));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(PixelsOf(*result), (std::vector<std::uint8_t>{0, 0, 127, 255}));
}

TEST_F(VOILookupTableTest, ApplyWithoutATableOrPixelsGivesNothing)
{
    DICOMDataSet empty;
    const VOILookupTable none(empty);
    const auto source = MakeImage16({1, 2});
    EXPECT_EQ(none.Apply(*source), nullptr);

    DICOMDataSet set;
    AddLut(set, {2, 0, 16}, {0, 255});
    const VOILookupTable lut(set);
    delete[] static_cast<std::uint16_t*>(source->Detach());
    EXPECT_EQ(lut.Apply(*source), nullptr);
}

} // namespace
