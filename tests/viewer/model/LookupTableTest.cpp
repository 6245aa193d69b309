// The viewer's lookup tables on small fixtures: the display tables of each
// kind, their bounds on hostile data set values, Apply on 16-bit matrices,
// clones and the choice of the adjustable table.
#include "ColorLookupTable.h"
#include "DICOMVRSet.h"
#include "LUTList.h"
#include "LogCapture.h"
#include "MetaMatrix16.h"
#include "SigmoidVOILookupTable.h"
#include "TDWLookupTable.h"
#include "VOILookupTable.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace
{

// A VOI LUT item: descriptor words and entries.
std::unique_ptr<DICOMVRSet> MakeVOIItem(std::vector<unsigned short> descriptor,
                                        const std::vector<unsigned short>& entries,
                                        const char* explanation = nullptr)
{
    auto item = std::make_unique<DICOMVRSet>();
    item->Add(0x0028, 0x3002, descriptor.data(), static_cast<int>(descriptor.size()));
    if (!entries.empty())
    {
        item->Add(0x0028, 0x3006, entries.data(), static_cast<int>(entries.size()));
    }
    if (explanation != nullptr)
    {
        item->Add(0x0028, 0x3003, explanation);
    }
    return item;
}

std::vector<unsigned short> Ramp(int count, int step)
{
    std::vector<unsigned short> entries(count);
    for (int i = 0; i < count; ++i)
    {
        entries[i] = static_cast<unsigned short>(i * step);
    }
    return entries;
}

std::unique_ptr<MetaMatrix16> MakeMatrix16(const std::vector<int>& samples, bool isSigned)
{
    auto* pixels = new std::uint16_t[samples.size()];
    for (std::size_t i = 0; i < samples.size(); ++i)
    {
        pixels[i] = static_cast<std::uint16_t>(samples[i]);
    }
    auto matrix = std::make_unique<MetaMatrix16>();
    matrix->Attach(pixels, 16, 16, 15, 1, static_cast<int>(samples.size()), 0, 0, isSigned ? 1 : 0,
                   1);
    return matrix;
}

std::vector<int> SamplesOf(const MetaMatrix& matrix)
{
    std::vector<int> samples;
    for (int x = 0; x < matrix.GetWidth(); ++x)
    {
        samples.push_back(matrix.GetPixelValue(x, 0));
    }
    return samples;
}

// A palette data set with the given descriptors and channel data.
DICOMVRSet MakePalette(int bits, std::size_t dataWords, const char* photometric = "PALETTE COLOR")
{
    DICOMVRSet set;
    set.Add(0x0028, 0x0004, photometric);
    const unsigned short descriptor[3] = {256, 0, static_cast<unsigned short>(bits)};
    for (unsigned short element : {0x1101, 0x1102, 0x1103})
    {
        set.Add(0x0028, element, descriptor, 3);
    }
    for (int channel = 0; channel < 3; ++channel)
    {
        std::vector<unsigned short> words(dataWords);
        for (std::size_t i = 0; i < dataWords; ++i)
        {
            // high byte: the entry, low byte: channel marker + entry / 2
            words[i] =
                static_cast<unsigned short>((i & 0xFF) << 8 | ((channel * 64 + i / 2) & 0xFF));
        }
        set.Add(0x0028, static_cast<unsigned short>(0x1201 + channel), words.data(),
                static_cast<int>(words.size()));
    }
    return set;
}

} // namespace

TEST(SigmoidVOILookupTable, BuildsTheSigmoidAroundItsCenter)
{
    SigmoidVOILookupTable sigmoid;
    EXPECT_EQ(sigmoid.GetWindowWidth(), -1);
    EXPECT_EQ(sigmoid.GetType(), 0x203u);
    EXPECT_EQ(sigmoid.GetDescription(), Lettra("SIGMOID"));
    sigmoid.SetWindowLevel(1, 0);
    const std::uint8_t* table = sigmoid.BuildTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[-1], 4);
    EXPECT_EQ(table[0], 127);
    EXPECT_EQ(table[1], 250);
    for (int x : {-2, -3, -1000, -65535, -65536})
    {
        EXPECT_EQ(table[x], 0) << x;
    }
    for (int x : {2, 3, 1000, 65535})
    {
        EXPECT_EQ(table[x], 255) << x;
    }

    sigmoid.SetWindowLevel(0, 500);
    table = sigmoid.BuildTable();
    EXPECT_EQ(sigmoid.GetWindowWidth(), 1);
    EXPECT_EQ(table[500], 127);

    sigmoid.SetWindowLevel(400, 40);
    table = sigmoid.BuildTable();
    for (int x = -200; x <= 300; x += 25)
    {
        const double level = 255.0 / (1.0 + std::exp(-4.0 * (x - 40) / 400.0));
        EXPECT_EQ(table[x], static_cast<int>(level)) << x;
    }
}

TEST(TDWLookupTable, FollowsTheLinearWindowOverRescaledValues)
{
    TDWLookupTable window;
    EXPECT_EQ(window.GetType(), 0x0C00u);
    window.Init(-1024.0f, 1.0f, 400, 40);
    EXPECT_EQ(window.GetDescription(), Lettra("W:400, L:40"));
    EXPECT_EQ(window.GetLow(), -160);
    EXPECT_EQ(window.GetHigh(), 240);
    EXPECT_EQ(window.GetWindowWidth(), 400);
    EXPECT_EQ(window.GetWindowCenter(), 40);
    const std::uint8_t* table = window.BuildTable();
    ASSERT_NE(table, nullptr);
    // Stored value s shows the rescaled value s - 1024.
    EXPECT_EQ(table[1024 - 160], 0);
    EXPECT_EQ(table[1024 - 161], 0);
    EXPECT_EQ(table[1024 + 239], 255);
    EXPECT_EQ(table[-65536], 0);
    EXPECT_EQ(table[65535], 255);
    for (int value = -159; value < 239; value += 7)
    {
        const int expected = static_cast<int>(std::floor((value + 160) * 255.0 / 399.0));
        EXPECT_EQ(table[value + 1024], expected) << value;
    }
    EXPECT_DOUBLE_EQ(window.RawToValue(100), -924.0);
    EXPECT_DOUBLE_EQ(window.ValueToRaw(-924.0), 100.0);
}

TEST(TDWLookupTable, ANarrowWindowIsAThreshold)
{
    TDWLookupTable window;
    window.Init(0.0f, 1.0f, 0, 100);
    const std::uint8_t* table = window.BuildTable();
    EXPECT_EQ(table[99], 0);
    EXPECT_EQ(table[100], 255);
    window.SetWindowLevel(1, 100);
    EXPECT_EQ(window.GetWindowWidth(), 2);
    EXPECT_EQ(window.GetDescription(), Lettra("W:2, L:100"));
}

TEST(TDWLookupTable, ReadsTheDataSetAndMendsItsRescale)
{
    struct Case
    {
        const char* intercept;
        const char* slope;
        float expectedIntercept;
        float expectedSlope;
        bool warned;
    };
    const Case cases[] = {
        {"-1024", "1", -1024.0f, 1.0f, false},   {nullptr, nullptr, 0.0f, 1.0f, false},
        {"200", "0.684", 200.0f, 0.684f, false}, {"5", "0", 5.0f, 1.0f, true},
        {"1e999", "-1e999", 0.0f, 1.0f, false},  {"1e300", "abc", 0.0f, 1.0f, true},
    };
    for (const Case& c : cases)
    {
        DICOMVRSet set;
        set.Add(0x0028, 0x1050, "40\\-600");
        set.Add(0x0028, 0x1051, "400.9\\1500");
        if (c.intercept != nullptr)
        {
            set.Add(0x0028, 0x1052, c.intercept);
            set.Add(0x0028, 0x1053, c.slope);
        }
        LogCapture log;
        TDWLookupTable window;
        EXPECT_TRUE(window.InitFromDataSet(set));
        EXPECT_FLOAT_EQ(window.GetIntercept(), c.expectedIntercept);
        EXPECT_FLOAT_EQ(window.GetSlope(), c.expectedSlope);
        EXPECT_EQ(window.GetWindowWidth(), 400);
        EXPECT_EQ(window.GetWindowCenter(), 40);
        EXPECT_EQ(log.Contains("RescaleSlope is 0, set it to 1 now !"), c.warned);
        EXPECT_NE(window.BuildTable(), nullptr);
    }
}

TEST(TDWLookupTable, NonFiniteAndHugeWindowsStayInsideTheTable)
{
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::infinity()),
              std::numeric_limits<int>::max());
    EXPECT_EQ(TruncateToInt(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(TruncateToInt(-2.9), -2);
    TDWLookupTable window;
    window.Init(1e30f, 1e-30f, std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
    EXPECT_NE(window.BuildTable(), nullptr);
    auto matrix = MakeMatrix16({0, 1, 65535}, false);
    window.Apply(matrix.get());
}

TEST(DicomLookupTable, InvertTableComplementsEveryEntry)
{
    TDWLookupTable window;
    window.Init(0.0f, 1.0f, 256, 128);
    const std::uint8_t* built = window.BuildTable();
    std::vector<std::uint8_t> straight(built - DicomLookupTable::TableOffset,
                                       built + DicomLookupTable::TableOffset);
    const std::uint8_t* inverted = window.InvertTable();
    for (int x = -DicomLookupTable::TableOffset; x < DicomLookupTable::TableOffset; x += 97)
    {
        EXPECT_EQ(inverted[x], 255 - straight[x + DicomLookupTable::TableOffset]) << x;
    }
    EXPECT_EQ(window.InvertTable()[0], inverted[0]);
    EXPECT_EQ(window.BuildTable()[200], straight[DicomLookupTable::TableOffset + 200]);
}

TEST(DicomLookupTable, ATableIsKeptUntilItsWindowChanges)
{
    TDWLookupTable window;
    window.Init(0.0f, 1.0f, 100, 50);
    const std::uint8_t* first = window.BuildTable();
    EXPECT_EQ(window.BuildTable(), first);
    EXPECT_EQ(first[99], 255);
    window.SetWindowLevel(400, 200);
    EXPECT_LT(window.BuildTable()[99], 255);
    SigmoidVOILookupTable sigmoid;
    sigmoid.SetWindowLevel(10, 0);
    EXPECT_EQ(sigmoid.BuildTable()[20], 255);
    sigmoid.SetWindowLevel(10, 100);
    EXPECT_EQ(sigmoid.BuildTable()[20], 0);
}

TEST(DicomLookupTable, ApplyMapsSixteenBitMatricesAndRecordsTheirRange)
{
    TDWLookupTable window;
    window.Init(0.0f, 1.0f, 1001, 500);
    auto matrix = MakeMatrix16({-50, 0, 500, 1000, 2000}, true);
    std::unique_ptr<MetaMatrix> copy(window.ApplyToCopy(matrix.get()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(SamplesOf(*matrix), (std::vector<int>{-50, 0, 500, 1000, 2000}));
    // The window's lower edge is -0.5: 0 is half a step above it.
    EXPECT_EQ(SamplesOf(*copy), (std::vector<int>{0, 2, 2049, 4095, 4095}));
    EXPECT_EQ(copy->GetData()->nMin, 0);
    EXPECT_EQ(copy->GetData()->nMax, 4095);

    SigmoidVOILookupTable sigmoid;
    sigmoid.SetWindowLevel(1, 0);
    auto shared = MakeMatrix16({0, 2, 65535}, false);
    MetaMatrix16 sharer(*shared);
    sigmoid.Apply(shared.get());
    EXPECT_EQ(SamplesOf(*shared), (std::vector<int>{2047, 4093, 4095}));
    EXPECT_EQ(SamplesOf(sharer), (std::vector<int>{0, 2, 65535}));
    EXPECT_EQ(shared->GetData()->nMin, 2047);

    ColorLookupTable colour;
    EXPECT_EQ(colour.ApplyToCopy(matrix.get()), nullptr);
    quillon::VOILookupTable invalid;
    EXPECT_EQ(invalid.ApplyToCopy(matrix.get()), nullptr);
    EXPECT_EQ(window.ApplyToCopy(nullptr), nullptr);
}

TEST(VOILookupTable, ReadsItsItemAndScalesToTheDataMaximum)
{
    auto item = MakeVOIItem({4096, 0, 12}, Ramp(4096, 1), "  BONE  ");
    quillon::VOILookupTable voi(*item);
    ASSERT_TRUE(voi.IsValid());
    EXPECT_EQ(voi.GetDescription(), Lettra("BONE"));
    EXPECT_EQ(voi.GetType(), 0x8000u);
    EXPECT_EQ(voi.GetDataMin(), 0);
    EXPECT_EQ(voi.GetDataMax(), 4095);
    const std::uint8_t* table = voi.BuildTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(voi.BuildTable(), table);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[2048], 2048 * 255 / 4095);
    EXPECT_EQ(table[4095], 255);
    EXPECT_EQ(table[65535], 255);
    EXPECT_EQ(table[-100], 0);

    auto unnamed = MakeVOIItem({2, 0, 8}, {10, 20});
    EXPECT_EQ(quillon::VOILookupTable(*unnamed).GetDescription(), Lettra("VOI LUT"));
}

TEST(VOILookupTable, HostileItemsNeverReachOutsideTheTable)
{
    LogCapture log;
    // 0 entries means 65536: the first mapped value at the top of the
    // input range leaves every entry reachable and nothing beyond.
    auto full = MakeVOIItem({0, 65535, 16}, Ramp(65536, 1));
    quillon::VOILookupTable all(*full);
    ASSERT_TRUE(all.IsValid());
    EXPECT_EQ(all.GetEntryCount(), 65536);
    EXPECT_EQ(all.Lookup(65535), 0);
    EXPECT_EQ(all.Lookup(-65536), 0);
    EXPECT_NE(all.BuildTable(), nullptr);

    // Too little data, a wrong descriptor, no data: invalid.
    EXPECT_FALSE(quillon::VOILookupTable(*MakeVOIItem({0, 0, 16}, Ramp(100, 1))).IsValid());
    EXPECT_FALSE(quillon::VOILookupTable(*MakeVOIItem({4, 0}, Ramp(4, 1))).IsValid());
    EXPECT_FALSE(quillon::VOILookupTable(*MakeVOIItem({4, 0, 12, 0}, Ramp(4, 1))).IsValid());
    EXPECT_FALSE(quillon::VOILookupTable(*MakeVOIItem({4, 0, 12}, {})).IsValid());
    quillon::VOILookupTable invalid(*MakeVOIItem({4, 0, 12}, {}));
    EXPECT_EQ(invalid.BuildTable(), nullptr);

    // Equal first and last entries: dropped with an error line.
    log.Clear();
    EXPECT_FALSE(quillon::VOILookupTable(*MakeVOIItem({3, 0, 8}, {7, 200, 7})).IsValid());
    EXPECT_TRUE(log.Contains("Leave VOILookupTable::Init, m_valMin == m_valMax = 7"));

    // Entries above the last one clamp to 255 in the display table.
    quillon::VOILookupTable bumpy(*MakeVOIItem({3, 10, 16}, {0, 60000, 100}));
    const std::uint8_t* table = bumpy.BuildTable();
    EXPECT_EQ(table[11], 255);
    EXPECT_EQ(table[12], 255);
    EXPECT_EQ(table[9], 0);
}

TEST(VOILookupTable, FirstValueAboveTheLastIsSwappedAndSignedInputIsRead)
{
    quillon::VOILookupTable falling(*MakeVOIItem({3, 0, 8}, {255, 128, 0}));
    EXPECT_EQ(falling.GetDataMin(), 0);
    EXPECT_EQ(falling.GetDataMax(), 255);
    EXPECT_EQ(falling.BuildTable()[0], 255);
    EXPECT_EQ(falling.BuildTable()[2], 0);

    DICOMVRSet set;
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(1));
    set.Add(0x0028, 0x1052, "-1024");
    set.Add(0x0028, 0x1053, "1");
    set.Push(
        0x0028, 0x3010,
        MakeVOIItem({4, static_cast<unsigned short>(-2), 12}, {0, 1000, 3000, 4095}).release());
    quillon::VOILookupTable signedInput;
    ASSERT_TRUE(signedInput.InitFromDataSet(set));
    EXPECT_EQ(signedInput.GetFirstInput(), -2);
    EXPECT_EQ(signedInput.Lookup(-1), 1000);
    // Stored 1023 is the rescaled -1: through the rescale to the LUT.
    EXPECT_EQ(signedInput.BuildTable()[1023], 1000 * 255 / 4095);
    EXPECT_EQ(signedInput.BuildTable()[0], 0);
    EXPECT_EQ(signedInput.BuildTable()[2000], 255);
}

TEST(VOILookupTable, TrimmedWindowAndItsDataSetRoundTrip)
{
    quillon::VOILookupTable voi(*MakeVOIItem({1000, 100, 12}, Ramp(1000, 4)));
    // 12 % of 0 .. 3996 cut at either end: 479 .. 3516, crossed at
    // positions 120 and (walking down) 880 of the ramp.
    EXPECT_EQ(voi.GetWindowWidth(), 880 - 120);
    EXPECT_EQ(voi.GetWindowCenter(), 100 + (880 + 120) / 2);
    DICOMVRSet set;
    set.Push(0x0028, 0x3010, MakeVOIItem({2, 0, 8}, {1, 2}).release());
    ASSERT_TRUE(voi.ToDicomDataSet(set));
    quillon::VOILookupTable back;
    ASSERT_TRUE(back.InitFromDataSet(set));
    EXPECT_TRUE(back.IsEqual(&voi));
    EXPECT_EQ(back.GetEntryCount(), 1000);
    EXPECT_EQ(back.GetFirstInput(), 100);
    EXPECT_EQ(set.GetVR(0x0028, 0x3010)->GetItemCount(), 1);
}

TEST(ColorLookupTable, TakesTheHighByteOfSixteenBitAndTheLowByteOfEightBitEntries)
{
    ColorLookupTable wide;
    ASSERT_TRUE(wide.InitFromDataSet(MakePalette(16, 256)));
    EXPECT_TRUE(wide.IsValid());
    EXPECT_EQ(wide.GetPalette()[200].rgbRed, 200);
    EXPECT_EQ(wide.GetPalette()[200].rgbBlue, 200);
    EXPECT_EQ(wide.BuildTable(), nullptr);
    EXPECT_EQ(wide.GetWindowWidth(), -1);

    ColorLookupTable narrow;
    ASSERT_TRUE(narrow.InitFromDataSet(MakePalette(8, 256)));
    EXPECT_EQ(narrow.GetPalette()[200].rgbRed, 100);
    EXPECT_EQ(narrow.GetPalette()[200].rgbGreen, 164);
    EXPECT_EQ(narrow.GetPalette()[200].rgbBlue, (128 + 100) & 0xFF);

    std::unique_ptr<DicomLookupTable> clone(narrow.Clone());
    EXPECT_TRUE(clone->IsValid());
    EXPECT_EQ(static_cast<ColorLookupTable*>(clone.get())->GetPalette()[200].rgbRed, 100);
}

TEST(ColorLookupTable, StaysInvalidWithoutAUsablePalette)
{
    struct Case
    {
        int bits;
        std::size_t words;
        const char* photometric;
    };
    const Case cases[] = {
        {16, 128, "PALETTE COLOR"}, // 256 bytes a channel: too short
        {12, 256, "PALETTE COLOR"}, // neither 8 nor 16 bits
        {16, 256, "MONOCHROME2"},
    };
    for (const Case& c : cases)
    {
        ColorLookupTable colour;
        EXPECT_FALSE(colour.InitFromDataSet(MakePalette(c.bits, c.words, c.photometric)));
        EXPECT_FALSE(colour.IsValid());
    }
    DICOMVRSet mixed = MakePalette(16, 256);
    const unsigned short eight[3] = {256, 0, 8};
    mixed.Add(0x0028, 0x1102, eight, 3);
    ColorLookupTable colour;
    EXPECT_FALSE(colour.InitFromDataSet(mixed));
}

TEST(DicomLookupTable, ClonesCarryTheirKindsAndTheOwnersMark)
{
    SigmoidVOILookupTable sigmoid;
    sigmoid.SetWindowLevel(300, 50);
    std::unique_ptr<DicomLookupTable> sigmoidClone(sigmoid.Clone());
    EXPECT_EQ(sigmoidClone->GetType(), 0x820Bu);
    EXPECT_EQ(sigmoidClone->GetDescription(), Lettra("Copy Of SIGMOID"));
    EXPECT_TRUE(sigmoidClone->IsEqual(&sigmoid));
    sigmoid.AddType(DicomLookupTable::enOwnerMark);
    EXPECT_EQ(std::unique_ptr<DicomLookupTable>(sigmoid.Clone())->GetType(), 0x822Bu);

    TDWLookupTable window;
    window.Init(-1024.0f, 1.0f, 400, 40);
    std::unique_ptr<DicomLookupTable> windowClone(window.Clone());
    EXPECT_EQ(windowClone->GetType(), 0x0C0Bu);
    EXPECT_TRUE(windowClone->IsEqual(&window));
    EXPECT_FALSE(windowClone->IsEqual(&sigmoid));
    window.AddType(DicomLookupTable::enOwnerMark);
    EXPECT_EQ(std::unique_ptr<DicomLookupTable>(window.Clone())->GetType(), 0x0C2Bu);

    quillon::VOILookupTable voi(*MakeVOIItem({3, 0, 8}, {0, 100, 255}));
    EXPECT_EQ(std::unique_ptr<DicomLookupTable>(voi.Clone())->GetType(), 0x8001u);
    EXPECT_LT(sigmoid.GetInstanceNo(), window.GetInstanceNo());
}

TEST(DicomLookupTable, KindsAreCreatedByTheirRunTimeClasses)
{
    for (CRuntimeClass* kind :
         {RUNTIME_CLASS(SigmoidVOILookupTable), RUNTIME_CLASS(TDWLookupTable),
          RUNTIME_CLASS(quillon::VOILookupTable), RUNTIME_CLASS(ColorLookupTable)})
    {
        std::unique_ptr<CObject> object(kind->CreateObject());
        ASSERT_NE(object, nullptr) << kind->m_lpszClassName;
        EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(DicomLookupTable)));
    }
    EXPECT_STREQ(RUNTIME_CLASS(quillon::VOILookupTable)->m_lpszClassName, "VOILookupTable");
}

TEST(LUTList, KeepsOneOfEqualTablesAndFindsByType)
{
    LUTList list;
    auto* window = new TDWLookupTable;
    window->Init(0.0f, 1.0f, 400, 40);
    EXPECT_TRUE(list.Add(window));
    auto* same = new TDWLookupTable;
    same->Init(0.0f, 1.0f, 400, 40);
    EXPECT_FALSE(list.Add(same));
    auto* sigmoid = new SigmoidVOILookupTable;
    EXPECT_TRUE(list.Add(sigmoid));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetCurrent(), window);
    EXPECT_EQ(list.FindByType(DicomLookupTable::enWindowKind), sigmoid);
    EXPECT_EQ(list.FindByType(0x0C00), window);
    EXPECT_EQ(list.FindByType(0x8000), nullptr);
    EXPECT_TRUE(list.SelectByType(0x0200));
    EXPECT_EQ(list.GetCurrent(), sigmoid);
    EXPECT_FALSE(list.SelectByType(0x8000));

    LUTList copy;
    copy.CopyFrom(list);
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_NE(copy.GetAt(1), sigmoid);
    EXPECT_EQ(copy.GetCurrent(), copy.GetAt(1));
}

TEST(LUTList, TheAdjustableTableIsTheCurrentOneWhenItFollowsTheWindow)
{
    LUTList list;
    EXPECT_EQ(list.GetAdjustableLUT(), nullptr);
    auto* sigmoid = new SigmoidVOILookupTable;
    list.Add(sigmoid);
    EXPECT_EQ(list.GetAdjustableLUT(), sigmoid);
}

TEST(LUTList, AVOITableHandsItsWindowToTheFirstWindowTable)
{
    LUTList list;
    auto* voi = new quillon::VOILookupTable(*MakeVOIItem({1000, 100, 12}, Ramp(1000, 4)));
    auto* sigmoid = new SigmoidVOILookupTable;
    list.Add(voi);
    list.Add(sigmoid);
    EXPECT_EQ(list.GetAdjustableLUT(), sigmoid);
    EXPECT_EQ(list.GetCurrent(), sigmoid);
    EXPECT_EQ(sigmoid->GetWindowWidth(), voi->GetWindowWidth());
    EXPECT_EQ(sigmoid->GetWindowCenter(), voi->GetWindowCenter());
}

TEST(LUTList, AnAppendedCloneIsTheChosenTable)
{
    // A palette table is current, no window table exists and the sigmoid
    // is the first cloneable table: its clone is appended with the
    // sigmoid's window, and it is the clone (not the sigmoid) that becomes
    // the current, adjustable table.
    LUTList list;
    auto* colour = new ColorLookupTable;
    auto* sigmoid = new SigmoidVOILookupTable;
    sigmoid->SetWindowLevel(300, 60);
    list.Add(colour);
    list.Add(sigmoid);
    DicomLookupTable* chosen = list.GetAdjustableLUT();
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(chosen, list.GetAt(2));
    EXPECT_EQ(list.GetCurrent(), chosen);
    EXPECT_EQ(chosen->GetType(), 0x820Bu);
    EXPECT_EQ(chosen->GetWindowWidth(), 300);
    EXPECT_EQ(chosen->GetWindowCenter(), 60);
    // Asked again, the clone is current and adjustable: no second clone.
    EXPECT_EQ(list.GetAdjustableLUT(), chosen);
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(LUTList, AWindowTableIsReusedAndANonAdjustableChoiceFallsBack)
{
    LUTList list;
    auto* plain = new TDWLookupTable;
    plain->Init(0.0f, 1.0f, 500, 250);
    list.Add(plain);
    auto* reusable = static_cast<TDWLookupTable*>(plain->Clone());
    reusable->SetWindowLevel(10, 10);
    list.Add(reusable);
    EXPECT_EQ(list.GetAdjustableLUT(), reusable);
    EXPECT_EQ(reusable->GetWindowWidth(), 500);
    EXPECT_EQ(reusable->GetWindowCenter(), 250);

    // Only VOI tables: the clone of a cloneable VOI table cannot follow the
    // window, no table can, and the current table stays.
    LUTList voiOnly;
    auto* voi = new quillon::VOILookupTable(*MakeVOIItem({3, 0, 8}, {0, 100, 255}));
    voiOnly.Add(voi);
    voiOnly.Add(voi->Clone());
    EXPECT_EQ(voiOnly.GetAdjustableLUT(), nullptr);
    EXPECT_EQ(voiOnly.GetCurrent(), voi);
}

TEST(SigmoidVOILookupTable, WritesItselfAsAnExplicitLUT)
{
    DICOMVRSet set;
    SigmoidVOILookupTable unset;
    LogCapture log;
    EXPECT_FALSE(unset.ToDicomDataSet(set));
    EXPECT_TRUE(
        log.Contains("Leave SigmoidVOILookupTable::ToDicomDataSet, invalid WW/WL : -1, -1"));
    EXPECT_FALSE(set.IsExist(0x0028, 0x3010));

    set.Add(0x0028, 0x1050, "40");
    SigmoidVOILookupTable sigmoid;
    sigmoid.SetWindowLevel(200, 1000);
    sigmoid.SetDataRange(800, 1199);
    ASSERT_TRUE(sigmoid.ToDicomDataSet(set));
    EXPECT_EQ(set.GetLettra(0x0028, 0x1056), Lettra("SIGMOID"));
    EXPECT_EQ(set.GetLettra(0x0028, 0x1051), Lettra("200"));
    EXPECT_EQ(set.GetLettra(0x0028, 0x1050), Lettra("1000\\40"));
    const DICOMVRSet* item = set.GetSequence(0x0028, 0x3010, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetLettra(0x0028, 0x3003), Lettra("SIGMOID 1000,200 of 400"));
    quillon::VOILookupTable back(*item);
    ASSERT_TRUE(back.IsValid());
    EXPECT_EQ(back.GetFirstInput(), 800);
    EXPECT_EQ(back.GetBits(), 12);
    for (int x = 800; x < 1200; x += 9)
    {
        const double level = 4095.0 / (1.0 + std::exp(-4.0 * (x - 1000) / 200.0));
        EXPECT_EQ(back.Lookup(x), static_cast<int>(level)) << x;
    }
}
