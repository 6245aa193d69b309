// The set's own entry points to its memory image, XML and text forms.
#include "DICOMDataSet.h"
#include "DICOMVRSet.h"
#include "LibraryTestSupport.h"
#include "VR.h"
#include "VRCode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

std::string Str(const Lettra& text)
{
    return std::string(text.constBuffer(), text.GetLength());
}

class DICOMVRSetFormsTest : public LibraryTest
{
protected:
    static Bytes Image(DICOMVRSet& set)
    {
        Bytes bytes(static_cast<std::size_t>(set.Serialize(nullptr, 0)));
        EXPECT_EQ(set.Serialize(bytes.data(), static_cast<int>(bytes.size())),
                  static_cast<int>(bytes.size()));
        return bytes;
    }

    // A set with texts, numbers, a float and a sequence of two items.
    static void Fill(DICOMVRSet& set)
    {
        set.Add(0x0008, 0x0060, "MR");
        set.Add(0x0010, 0x0010, "ABCD^EFG");
        set.Add(0x0028, 0x0010, static_cast<unsigned short>(512));
        set.Add(0x0018, 0x0050, 1.5f);
        for (const char* code : {"T1", "T2"})
        {
            DICOMDataSet item;
            item.Add(0x0008, 0x0100, code);
            set.Add(0x0008, 0x1140, item);
        }
    }
};

// One CS element of two characters: 12 bytes of group length element and 8
// of element header plus its value.
TEST_F(DICOMVRSetFormsTest, ImageSizeOfOneShortElement)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "CT");
    EXPECT_EQ(set.Serialize(nullptr, 0), 22);
    const Bytes image = Image(set);
    const Bytes expected = {0x08, 0x00, 0x00, 0x00, 'U',  'L', 4,   0, 10, 0,   0,
                            0,    0x08, 0x00, 0x60, 0x00, 'C', 'S', 2, 0,  'C', 'T'};
    EXPECT_EQ(image, expected);
}

TEST_F(DICOMVRSetFormsTest, SequencesAreCodedWithUndefinedLengthsAndDelimiters)
{
    DICOMDataSet set;
    DICOMDataSet item;
    item.Add(0x0008, 0x0100, "T1");
    set.Add(0x0008, 0x1140, item);
    const Bytes image = Image(set);
    // Group length (12), sequence header (12), item tag (8), the item's own
    // group length (12) and element (10), item and sequence delimiters (16).
    ASSERT_EQ(image.size(), 70u);
    const Bytes sequenceHeader = {0x08, 0x00, 0x40, 0x11, 'S', 'Q', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Bytes(image.begin() + 12, image.begin() + 24), sequenceHeader);
    const Bytes end = {0xFE, 0xFF, 0x0D, 0xE0, 0, 0, 0, 0, 0xFE, 0xFF, 0xDD, 0xE0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(image.end() - 16, image.end()), end);
}

TEST_F(DICOMVRSetFormsTest, ImageRoundTrip)
{
    DICOMDataSet set;
    Fill(set);
    const Bytes image = Image(set);
    DICOMDataSet back;
    EXPECT_EQ(back.Deserialize(image.data(), static_cast<int>(image.size())),
              static_cast<int>(image.size()));
    EXPECT_TRUE(back == set);
    EXPECT_EQ(Image(back), image);
}

TEST_F(DICOMVRSetFormsTest, DeserializeAddsAndReplaces)
{
    DICOMDataSet source;
    source.Add(0x0010, 0x0010, "NEW^NAME");
    const Bytes image = Image(source);
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "OLD^NAME");
    set.Add(0x0010, 0x0020, "ID42");
    EXPECT_GT(set.Deserialize(image.data(), static_cast<int>(image.size())), 0);
    EXPECT_EQ(Str(set.GetLettra(0x0010, 0x0010)), "NEW^NAME");
    EXPECT_EQ(Str(set.GetLettra(0x0010, 0x0020)), "ID42");
}

TEST_F(DICOMVRSetFormsTest, BufferTooSmallGetsTheStartAndAsksForMore)
{
    DICOMDataSet set;
    Fill(set);
    const Bytes image = Image(set);
    const int needed = static_cast<int>(image.size());
    Bytes small(image.size() - 1, 0xAA);
    EXPECT_EQ(set.Serialize(small.data(), needed - 1), needed);
    EXPECT_EQ(small, Bytes(image.begin(), image.end() - 1));
}

TEST_F(DICOMVRSetFormsTest, DamagedImagesGiveZero)
{
    DICOMDataSet set;
    Fill(set);
    const Bytes image = Image(set);
    DICOMDataSet back;
    EXPECT_EQ(back.Deserialize(nullptr, 10), 0);
    EXPECT_EQ(back.Deserialize(image.data(), 0), 0);
    // Cut inside the value of the first element after the group length.
    EXPECT_EQ(back.Deserialize(image.data(), 20), 0);
    // A length running far past the end.
    Bytes hostile = {0x10, 0x00, 0x10, 0x00, 'P', 'N', 0xFF, 0x7F, 'A', 'B'};
    EXPECT_EQ(back.Deserialize(hostile.data(), static_cast<int>(hostile.size())), 0);
}

TEST_F(DICOMVRSetFormsTest, XmlSlotsRoundTrip)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "ABCD^EFG");
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(512));
    const Lettra xml = set.XmlSerialize();
    DICOMDataSet fromLettra;
    EXPECT_EQ(fromLettra.XmlDeserialize(xml), 1);
    DICOMDataSet fromText;
    EXPECT_EQ(fromText.XmlDeserialize(xml.constBuffer()), 1);
    for (DICOMDataSet* back : {&fromLettra, &fromText})
    {
        EXPECT_EQ(Str(back->GetLettra(0x0010, 0x0010)), "ABCD^EFG");
        EXPECT_EQ(back->GetUINT16(0x0028, 0x0010), 512);
    }
    DICOMDataSet none;
    EXPECT_EQ(none.XmlDeserialize("<DataSet><Other/></DataSet>"), 0);
    EXPECT_TRUE(none.IsEmpty() != 0);
}

TEST_F(DICOMVRSetFormsTest, ArrayFormThroughTheSet)
{
    DICOMDataSet first;
    first.Add(0x0010, 0x0020, "ONE");
    DICOMDataSet second;
    second.Add(0x0010, 0x0020, "TWO");
    Array<DICOMDataSet*> sets;
    sets.AddTail(&first);
    sets.AddTail(&second);
    Lettra xml;
    EXPECT_EQ(DICOMVRSet::ADDSToXML(&sets, &xml), 1);
    Array<DICOMVRSet*> back;
    EXPECT_EQ(DICOMVRSet::XMLToVRSetArray(&xml, &back), 1);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(Str(back.GetHead()->item->GetLettra(0x0010, 0x0020)), "ONE");
    EXPECT_EQ(Str(back.GetHead()->next->item->GetLettra(0x0010, 0x0020)), "TWO");
    for (auto* node = back.GetHead(); node; node = node->next)
        delete node->item;
}

// A set whose whole dump is its own, to see which slot ToString(0) takes.
class NamedSet : public DICOMDataSet
{
public:
    Lettra ToString() override { return "named"; }
    using DICOMDataSet::ToString;
};

TEST_F(DICOMVRSetFormsTest, ToStringLeavesOutShortElementsButKeepsSequences)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");           // 2 bytes
    set.Add(0x0010, 0x0010, "ABCD^EFGH^IJ"); // 12 bytes
    DICOMDataSet item;
    item.Add(0x0008, 0x0100, "T1");
    set.Add(0x0008, 0x1140, item);
    const std::string all = Str(set.ToString());
    const std::string some = Str(set.ToString(8));
    EXPECT_EQ(all, Str(set.ToString(0)));
    EXPECT_EQ(all.substr(0, 2), "\r\n");
    EXPECT_NE(all.find("MR"), std::string::npos);
    EXPECT_EQ(some.find("MR"), std::string::npos);
    EXPECT_NE(some.find("ABCD^EFGH^IJ"), std::string::npos);
    EXPECT_NE(some.find("\r\nSQ <<< 1 of 1 Items\r\n"), std::string::npos);
    EXPECT_EQ(some.find("T1"), std::string::npos);

    NamedSet named;
    named.Add(0x0008, 0x0060, "MR");
    DICOMVRSet& base = named;
    EXPECT_EQ(Str(base.ToString(0)), "named");
    EXPECT_NE(Str(base.ToString(1)), "named");
}

} // namespace
