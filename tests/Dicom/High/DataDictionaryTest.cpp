#include "DataDictionary.h"
#include "DicomDictionary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace
{

constexpr std::uint16_t Code(const char (&vr)[3])
{
    return static_cast<std::uint16_t>(vr[0] << 8 | vr[1]);
}

constexpr DictionaryItem Record(std::uint16_t group, std::uint16_t element, const char (&vr)[3],
                                const char* keyword, const char* creator = nullptr)
{
    return {static_cast<std::uint32_t>(element) << 16 | group,
            Code(vr),
            1,
            creator,
            keyword,
            keyword,
            0};
}

constexpr DictionaryItem End = {0, 0, 0, nullptr, nullptr, nullptr, 0};

// Small tables that pin the build's rules.
const DictionaryItem TestPublic[] = {
    Record(0x0010, 0x0020, "LO", "PatientID"),
    Record(0x0002, 0x0000, "UL", "MetaElementGroupLength"),
    Record(0x0010, 0x0010, "PN", "PatientName"),
    Record(0x6000, 0x0010, "US", "OverlayRows"),
    Record(0x6000, 0xFFFF, "UN", "EndOfOverlay"),
    Record(0xFFFE, 0xE000, "NO", "Item"),
    Record(0x0002, 0x0010, "UI", "TransferSyntaxUID"),
    Record(0x0008, 0x0001, "UL", nullptr),
    End,
};

const DictionaryItem TestPrivate[] = {
    Record(0x6001, 0x1040, "LO", "OverlayType", "TAVUQELM"),
    Record(0x0009, 0x1010, "SH", "FirstCreatorsField", "FIRST"),
    Record(0x0009, 0x1010, "UL", "SecondCreatorsField", "SECOND"),
    End,
};

class TestDictionary : public ::testing::Test
{
protected:
    void SetUp() override { dictionary.Build(TestPublic, TestPrivate); }

    std::string KeywordOf(std::uint16_t group, std::uint16_t element)
    {
        char keyword[64];
        dictionary.Lookup(group, element, keyword, sizeof(keyword));
        return keyword;
    }

    DataDictionary dictionary;
};

class LibraryDictionary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DataDictionary::GetLibraryDictionary().Build();
        DataDictionary::GetLibraryDictionary().BuildCache();
    }
    void TearDown() override { DataDictionary::GetLibraryDictionary().Detach(); }
};

} // namespace

TEST_F(TestDictionary, CountsCollectedRecordsAndGroupLengths)
{
    // 5 plain public records, 128 overlay rows, 2 plain private records and
    // 127 overlay-type copies; groups 0010 0002 FFFE 0008, 6000..60FE, 0009
    // and 6001..60FD get their lengths.
    const int collected = 5 + 128 + 2 + 127;
    const int groups = 4 + 128 + 1 + 127;
    EXPECT_EQ(dictionary.GetCount(), collected + groups);
}

TEST_F(TestDictionary, KeysAscendAsUnsignedNumbers)
{
    for (int i = 1; i < dictionary.GetCount(); ++i)
    {
        ASSERT_LE(dictionary.GetKey(i - 1), dictionary.GetKey(i)) << "at " << i;
    }
    EXPECT_EQ(dictionary.GetKey(0), 0x00020000u);
    EXPECT_EQ(dictionary.GetKey(dictionary.GetCount() - 1), 0xFFFEE000u);
}

TEST_F(TestDictionary, LookupGivesTheVRAndKeyword)
{
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010), Code("PN"));
    EXPECT_EQ(KeywordOf(0x0010, 0x0010), "PatientName");
    EXPECT_EQ(dictionary.Lookup(0xFFFE, 0xE000), Code("NO"));
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x9999), 0);
    EXPECT_EQ(KeywordOf(0x0010, 0x9999), "");
}

TEST_F(TestDictionary, KeywordBufferIsEmptiedAndAlwaysTerminated)
{
    char keyword[6];
    std::memset(keyword, 'x', sizeof(keyword));
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010, keyword, sizeof(keyword)), Code("PN"));
    EXPECT_STREQ(keyword, "Patie");

    std::strcpy(keyword, "old");
    EXPECT_EQ(dictionary.Lookup(0x0008, 0x0001, keyword, sizeof(keyword)), Code("UL"));
    EXPECT_STREQ(keyword, ""); // the record has no keyword

    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010, keyword, 0), Code("PN"));
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010, nullptr, 10), Code("PN"));
}

TEST_F(TestDictionary, GroupLengthsAreMadeAfreshForEveryGroup)
{
    EXPECT_EQ(dictionary.Lookup(0x0002, 0x0000), Code("UL"));
    EXPECT_EQ(KeywordOf(0x0002, 0x0000), "Group0002GroupLength");
    EXPECT_EQ(KeywordOf(0x6024, 0x0000), "Group6024GroupLength");
    EXPECT_EQ(KeywordOf(0x6001, 0x0000), "Group6001GroupLength");
    EXPECT_EQ(KeywordOf(0xFFFE, 0x0000), "GroupfffeGroupLength");
    const DictionaryItem* length = dictionary.Find(0x0008, 0x0000);
    ASSERT_NE(length, nullptr);
    EXPECT_STREQ(length->Name, "Group 0008 Group Length");
    EXPECT_EQ(length->VM, 1);
    EXPECT_EQ(length->PrivateCreator, nullptr);
    EXPECT_EQ(dictionary.Lookup(0x0004, 0x0000), 0); // no record of that group
}

TEST_F(TestDictionary, OverlayGroupsRepeatOverEveryEvenOrOddGroup)
{
    for (std::uint32_t group = 0x6000; group < 0x60FF; group += 2)
    {
        EXPECT_EQ(dictionary.Lookup(static_cast<std::uint16_t>(group), 0x0010), Code("US"));
        EXPECT_EQ(dictionary.Lookup(static_cast<std::uint16_t>(group + 1), 0x1040),
                  group + 1 < 0x60FF ? Code("LO") : 0);
    }
    EXPECT_EQ(dictionary.Lookup(0x60FF, 0x0010), 0);
    EXPECT_EQ(dictionary.Lookup(0x6100, 0x0010), 0);
    EXPECT_EQ(dictionary.Lookup(0x6000, 0xFFFF), 0);
    EXPECT_EQ(dictionary.Lookup(0x6002, 0xFFFF), 0);
}

TEST_F(TestDictionary, ATagOfSeveralCreatorsAnswersWithTheFirstListed)
{
    EXPECT_EQ(dictionary.Lookup(0x0009, 0x1010), Code("SH"));
    const DictionaryItem* item = dictionary.Find(0x0009, 0x1010);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->PrivateCreator, "FIRST");
}

TEST_F(TestDictionary, KeywordSearchIsACaseBlindPrefixMatchInKeyOrder)
{
    struct Case
    {
        const char* text;
        std::uint32_t key;
    };
    const Case cases[] = {
        {"patientname", 0x00100010},
        {"PATIENTNAME", 0x00100010},
        {"PatientN", 0x00100010},
        {"Patient", 0x00100010}, // PatientName sorts before PatientID
        {"PatientI", 0x00100020},
        {"", 0x00020000},
        {"OverlayRows", 0x60000010},
        {"OverlayType", 0x60011040},
        {"PatientNameX", DataDictionary::NotFound},
        {"Nothing", DataDictionary::NotFound},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(dictionary.Lookup(c.text), c.key) << c.text;
    }
    EXPECT_EQ(dictionary.Lookup(static_cast<const char*>(nullptr)), 0u);
}

TEST_F(TestDictionary, CountsLookupsAndUsage)
{
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Lookup(0x0010, 0x9999);
    dictionary.Lookup("PatientName");
    EXPECT_EQ(dictionary.GetCheckCount(), 3u);
    EXPECT_EQ(dictionary.GetCacheHittedCount(), 0u);
    const DictionaryItem* item = dictionary.Find(0x0010, 0x0010);
    EXPECT_EQ(item->UsageCount, 3u); // the two look-ups and this one
    EXPECT_EQ(dictionary.GetCheckCount(), 4u);
}

TEST_F(TestDictionary, TheCacheAnswersFirstWhenItHoldsRecords)
{
    const DictionaryItem cache[] = {Record(0x0010, 0x0010, "LO", "CachedName"), End};
    dictionary.BuildCache(cache);
    EXPECT_TRUE(dictionary.HasCache());
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010), Code("LO"));
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0020), Code("LO"));
    EXPECT_EQ(dictionary.GetCheckCount(), 2u);
    EXPECT_EQ(dictionary.GetCacheHittedCount(), 1u);

    dictionary.BuildCache();
    EXPECT_FALSE(dictionary.HasCache());
}

TEST_F(TestDictionary, DetachEmptiesTheTablesAndCounters)
{
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Detach();
    EXPECT_TRUE(dictionary.IsEmpty());
    EXPECT_EQ(dictionary.GetCheckCount(), 0u);
    EXPECT_EQ(dictionary.Lookup(0x0010, 0x0010), 0);
    EXPECT_EQ(dictionary.Lookup("PatientName"), DataDictionary::NotFound);
    EXPECT_EQ(dictionary.Lookup(""), DataDictionary::NotFound);
}

TEST_F(TestDictionary, BuildingAgainReplacesTheTables)
{
    const int count = dictionary.GetCount();
    dictionary.Build(TestPublic, TestPrivate);
    EXPECT_EQ(dictionary.GetCount(), count);
    dictionary.Build(TestPublic, nullptr);
    EXPECT_EQ(dictionary.Lookup(0x6001, 0x1040), 0);
}

TEST(DicomDictionary, FindsNothingBeforeTheLibraryBuildsIt)
{
    EXPECT_EQ(DicomDictionary::Lookup(0x0010, 0x0010), 0);
    EXPECT_EQ(DicomDictionary::Lookup("PatientName"), 0xFFFFFFFFu);
    EXPECT_TRUE(DicomDictionary::GetDescription(0x0010, 0x0010).IsEmpty());
}

TEST_F(LibraryDictionary, PublicElements)
{
    struct Case
    {
        std::uint16_t group;
        std::uint16_t element;
        std::uint16_t code;
        const char* keyword;
    };
    const Case cases[] = {
        {0x0010, 0x0010, Code("PN"), "PatientName"},
        {0x0008, 0x0016, Code("UI"), "SOPClassUID"},
        {0x0028, 0x0010, Code("US"), "Rows"},
        {0x7FE0, 0x0010, Code("OW"), "PixelData"},
        {0xFFFE, 0xE000, Code("NO"), "Item"},
        {0xFFFE, 0xE0DD, Code("NO"), "SequenceDelimitationItem"},
        {0x0008, 0x0000, Code("UL"), "Group0008GroupLength"},
        {0x0002, 0x0000, Code("UL"), "Group0002GroupLength"},
        {0x6024, 0x0000, Code("UL"), "Group6024GroupLength"},
        {0x6002, 0x3000, Code("OW"), "OverlayData"},
        {0x6046, 0x0010, Code("US"), "OverlayRows"},
        {0x60FE, 0x0010, Code("US"), "OverlayRows"},
        // Value representations the coders handle by their codes.
        {0x0066, 0x0022, Code("OD"), "DoublePointCoordinatesData"},
        {0x0066, 0x0040, Code("OL"), "LongPrimitivePointIndexList"},
        {0x0072, 0x0081, Code("OV"), "SelectorOVValue"},
        {0x0072, 0x0082, Code("SV"), "SelectorSVValue"},
        {0x0072, 0x0083, Code("UV"), "SelectorUVValue"},
        {0x0008, 0x0119, Code("UC"), "LongCodeValue"},
        {0x0008, 0x0120, Code("UR"), "URNCodeValue"},
    };
    for (const Case& c : cases)
    {
        char keyword[64];
        EXPECT_EQ(DicomDictionary::Lookup(c.group, c.element, keyword, sizeof(keyword)), c.code)
            << std::hex << c.group << "," << c.element;
        EXPECT_STREQ(keyword, c.keyword);
    }
    EXPECT_EQ(DicomDictionary::Lookup(0x0010, 0x0010), Code("PN"));
    EXPECT_STREQ(DicomDictionary::GetDescription(0x0010, 0x0010), "PatientName");
}

TEST_F(LibraryDictionary, UnknownTags)
{
    const std::uint16_t tags[][2] = {
        {0x0010, 0x9999}, {0x60FF, 0x0010}, {0x6100, 0x0010}, {0x6000, 0xFFFF}, {0x000B, 0x0000},
    };
    for (const auto& tag : tags)
    {
        EXPECT_EQ(DicomDictionary::Lookup(tag[0], tag[1]), 0) << std::hex << tag[0] << tag[1];
        EXPECT_TRUE(DicomDictionary::GetDescription(tag[0], tag[1]).IsEmpty());
    }
}

TEST_F(LibraryDictionary, OwnMeasurementElementsDecodeWithTheirVRs)
{
    EXPECT_EQ(DicomDictionary::Lookup(0x6001, 0x10C0), Code("SQ"));
    EXPECT_EQ(DicomDictionary::Lookup(0x6001, 0x1040), Code("LO"));
    EXPECT_EQ(DicomDictionary::Lookup(0x6001, 0x10B0), Code("LO"));
    EXPECT_EQ(DicomDictionary::Lookup(0x6001, 0x10A2), Code("UT"));
    EXPECT_EQ(DicomDictionary::Lookup(0x6001, 0x0010), Code("LO"));
    EXPECT_EQ(DicomDictionary::Lookup(0x6003, 0x10C0), Code("SQ"));
    EXPECT_EQ(DicomDictionary::Lookup(0x0007, 0x0605), Code("UL"));
    EXPECT_EQ(DicomDictionary::Lookup(0x7FF1, 0x1010), Code("SQ"));
    const DictionaryItem* item = DataDictionary::GetLibraryDictionary().Find(0x6001, 0x10A2);
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(item->PrivateCreator, "TAVUQELM");
    EXPECT_STREQ(item->Keyword, "PostItText");
}

TEST_F(LibraryDictionary, EveryGroupHasItsGroupLength)
{
    const DataDictionary& dictionary = DataDictionary::GetLibraryDictionary();
    std::set<std::uint16_t> groups;
    std::set<std::uint16_t> lengths;
    for (int i = 0; i < dictionary.GetCount(); ++i)
    {
        const std::uint32_t key = dictionary.GetKey(i);
        groups.insert(static_cast<std::uint16_t>(key >> 16));
        if ((key & 0xFFFF) == 0)
        {
            lengths.insert(static_cast<std::uint16_t>(key >> 16));
            EXPECT_EQ(dictionary.GetItem(i).TypeCode, Code("UL"));
        }
        if (i > 0)
        {
            ASSERT_LE(dictionary.GetKey(i - 1), key);
        }
    }
    EXPECT_EQ(groups, lengths);
}

TEST_F(LibraryDictionary, KeywordSearch)
{
    EXPECT_EQ(DicomDictionary::Lookup("patientname"), 0x00100010u);
    EXPECT_EQ(DicomDictionary::Lookup("PATIENTNAME"), 0x00100010u);
    EXPECT_EQ(DicomDictionary::Lookup("PatientN"), 0x00100010u);
    EXPECT_EQ(DicomDictionary::Lookup(""), 0u);
    EXPECT_EQ(DicomDictionary::Lookup("NoKeywordBeginsLikeThis"), 0xFFFFFFFFu);
    EXPECT_EQ(DicomDictionary::Lookup(static_cast<const char*>(nullptr)), 0u);
}

TEST_F(LibraryDictionary, APrivateTagOfSeveralCreatorsGivesOneOfTheirVRs)
{
    const DataDictionary& dictionary = DataDictionary::GetLibraryDictionary();
    for (int i = 1; i < dictionary.GetCount(); ++i)
    {
        if (dictionary.GetKey(i) == dictionary.GetKey(i - 1))
        {
            const std::uint32_t key = dictionary.GetKey(i);
            const std::uint16_t code = DicomDictionary::Lookup(
                static_cast<std::uint16_t>(key >> 16), static_cast<std::uint16_t>(key));
            bool isOneOfThem = false;
            for (int j = i - 1; j < dictionary.GetCount() && dictionary.GetKey(j) == key; ++j)
            {
                isOneOfThem = isOneOfThem || dictionary.GetItem(j).TypeCode == code;
            }
            EXPECT_TRUE(isOneOfThem) << std::hex << key;
            return;
        }
    }
    FAIL() << "no tag defined by several creators";
}
