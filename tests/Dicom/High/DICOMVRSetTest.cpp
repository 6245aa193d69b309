#include "DICOMVRSet.h"
#include "DICOMDataSet.h"
#include "ElementTestSupport.h"
#include "UID.h"
#include "VRCode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Tags = std::vector<unsigned int>;

Tags TagsOf(const DICOMVRSet& set)
{
    Tags tags;
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        tags.push_back(it.Current()->GetTag());
    }
    return tags;
}

// Reaches the push of an item onto the element pushed last, which the
// decoders use.
class ItemSet : public DICOMDataSet
{
public:
    using DICOMVRSet::Push;
};

// The explicit VR little-endian size of one element, the figure the running
// counts follow.
std::uint32_t ExplicitSize(std::uint32_t length, bool longForm)
{
    return 8 + length + (longForm ? 4 : 0);
}

class DICOMVRSetTest : public DictionaryTest
{
};

TEST_F(DICOMVRSetTest, KeepsGroupsAndElementsInTagOrder)
{
    DICOMDataSet set;
    set.Push(new VR(0x0028, 0x0010, (unsigned short)512));
    set.Push(new VR(0x0008, 0x0060, "MR"));
    set.Push(new VR(0x0028, 0x0002, (unsigned short)1));
    EXPECT_EQ(TagsOf(set), (Tags{0x00080000, 0x00080060, 0x00280000, 0x00280002, 0x00280010}));
    EXPECT_EQ(set.GetVRCount(), 5);
    EXPECT_EQ(set.GetSize(), 2);
    EXPECT_EQ(set.GetFirstVR()->GetTag(), 0x00080060u);
    EXPECT_EQ(set.GetLastVR()->GetTag(), 0x00280010u);
    EXPECT_EQ(set.GetVR(0x0008, 0x0060)->GetTypeCode(), VRCode::CS); // from the dictionary
    EXPECT_EQ(set.GetVR(0x0008, 0x0060)->GetOwner(), &set);
}

TEST_F(DICOMVRSetTest, GroupLengthElementsAreNeverStored)
{
    DICOMDataSet set;
    set.Push(new VR(0x0010, 0x0000, 40u));
    EXPECT_TRUE(set.IsEmpty());
    set.Push(new VR(0x0028, 0x0010, (unsigned short)512));
    EXPECT_TRUE(set.IsExist(0x0028, 0));
    EXPECT_TRUE(set.IsExist(0x00280010u));
    EXPECT_FALSE(set.IsExist(0x0028, 0x0011));
    EXPECT_EQ(set.GetVR(0x0028, 0), nullptr);
    // The group length element reads the live count.
    DICOMVRSet::Iterator it(set);
    EXPECT_EQ(static_cast<unsigned int>(*it.Current()), ExplicitSize(2, false));
}

TEST_F(DICOMVRSetTest, PushReplacesAnElementOfEqualTag)
{
    DICOMDataSet set;
    set.Push(new VR(0x0010, 0x0010, "A"));
    set.Push(new VR(0x0010, 0x0010, "LONGER"));
    EXPECT_EQ(set.GetVRCount(), 2);
    EXPECT_EQ(std::string(set.GetLettra(0x0010, 0x0010)), "LONGER");
    EXPECT_EQ(set.GetLength(), static_cast<int>(12 + ExplicitSize(6, false)));
}

TEST_F(DICOMVRSetTest, TakingOutTheLastElementRemovesTheGroup)
{
    DICOMDataSet set;
    set.Push(new VR(0x0010, 0x0020, "ID"));
    VR* taken = set.TakeOut(0x0010, 0x0020);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetOwner(), nullptr);
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_EQ(set.GetLength(), 0);
    delete taken;
    EXPECT_EQ(set.TakeOut(0x0010, 0x0020), nullptr);
    EXPECT_EQ(set.TakeOut(0x0010, 0x0000), nullptr);
    EXPECT_EQ(set.Delete(0x0010, 0x0020), 0);
}

TEST_F(DICOMVRSetTest, AssignmentMovesTheElements)
{
    DICOMDataSet source;
    source.Add(0x0010, 0x0020, "ID");
    DICOMDataSet target;
    target.Add(0x0008, 0x0060, "CT");
    target = source;
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_EQ(source.GetLength(), 0);
    EXPECT_EQ(TagsOf(target), (Tags{0x00100000, 0x00100020}));
    EXPECT_EQ(target.GetVR(0x0010, 0x0020)->GetOwner(), &target);
}

TEST_F(DICOMVRSetTest, AddKeepsTheCodeOfAnExistingElement)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, (short)5);
    EXPECT_EQ(set.GetVR(0x0028, 0x0010)->GetTypeCode(), VRCode::SS);
    set.Add(0x0028, 0x0010, (unsigned short)512);
    EXPECT_EQ(set.GetVR(0x0028, 0x0010)->GetTypeCode(), VRCode::SS);
    EXPECT_EQ(set.GetUINT16(0x0028, 0x0010), 512);

    const unsigned int values[] = {1, 2, 3};
    set.Add(0x0018, 0x1310, values, 3);
    EXPECT_EQ(set.GetVR(0x0018, 0x1310)->GetLength(), 12u);
    set.Add(0x0018, 0x1310, values, 1);
    EXPECT_EQ(set.GetVR(0x0018, 0x1310)->GetLength(), 4u);

    set.Add(0x0008, 0x0018, UID("1.2.3"));
    EXPECT_EQ(set.GetVR(0x0008, 0x0018)->GetTypeCode(), VRCode::UI);
    EXPECT_EQ(TextOf(*set.GetVR(0x0008, 0x0018)), std::string("1.2.3\0", 6));
    set.Add(0x0008, 0x0018, UID("1.2.4"));
    EXPECT_EQ(TextOf(*set.GetVR(0x0008, 0x0018)), "1.2.4 ");

    set.Add(0x0020, 0x0013);
    EXPECT_TRUE(set.IsExist(0x0020, 0x0013));
    EXPECT_EQ(set.GetVR(0x0020, 0x0013)->GetLength(), 0u);
}

TEST_F(DICOMVRSetTest, TypedGettersOfAbsentOrShortValues)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, (unsigned short)0xFFFF);
    set.Add(0x0018, 0x0050, 2.5);
    set.Add(0x0018, 0x0088, 1.5f);
    EXPECT_EQ(set.GetUINT32(0x0028, 0x0010), 0xFFFFu);
    EXPECT_EQ(set.GetFloat(0x0028, 0x0010), 0.0f);
    EXPECT_EQ(set.GetDouble(0x0018, 0x0050), 2.5);
    EXPECT_EQ(set.GetFloat(0x0018, 0x0088), 1.5f);
    EXPECT_EQ(set.GetUINT16(0x0028, 0x0011), 0);
    EXPECT_EQ(std::string(set.GetLettra(0x0028, 0x0011)), "");
}

TEST_F(DICOMVRSetTest, ProxyReadsAndWrites)
{
    DICOMDataSet set;
    set(0x0028, 0x0010) = (unsigned short)512;
    set[0x00280011u] = (unsigned short)0xFFFF;
    set(0x00100010u) = "DOE^JOHN";
    set(0x0008, 0x0018) = UID("1.2.3");
    set(0x0018, 0x0050) = 0.5;
    const unsigned short rows = set(0x0028, 0x0010);
    const int columns = set(0x0028, 0x0011);
    const Lettra name = set(0x0010, 0x0010);
    const double thickness = set(0x0018, 0x0050);
    EXPECT_EQ(rows, 512);
    EXPECT_EQ(columns, 65535); // a 2-byte value is zero-extended
    EXPECT_EQ(std::string(name), "DOE^JOHN");
    EXPECT_EQ(thickness, 0.5);
    EXPECT_EQ(set(0x0008, 0x0018).GetVR()->GetTypeCode(), VRCode::UI);

    const DICOMVRSet& constant = set;
    const unsigned short again = constant(0x0028, 0x0010);
    EXPECT_EQ(again, 512);
}

TEST_F(DICOMVRSetTest, ProxyCopiesAnotherProxysElement)
{
    DICOMDataSet set;
    set(0x0010, 0x0010) = "DOE";
    set(0x0010, 0x1001) = set(0x0010, 0x0010);
    EXPECT_EQ(std::string(set.GetLettra(0x0010, 0x1001)), "DOE");
    EXPECT_EQ(set.GetVR(0x0010, 0x1001)->GetTypeCode(), VRCode::PN);

    set(0x0010, 0x1001) = set(0x0010, 0x9999); // absent: nothing changes
    EXPECT_EQ(std::string(set.GetLettra(0x0010, 0x1001)), "DOE");
}

TEST_F(DICOMVRSetTest, FilterKeepsOnlyTheFilterTags)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x0010, 0x0010, "DOE");
    set.Add(0x0010, 0x0020, "ID");
    DICOMDataSet filter;
    filter.Add(0x0010, 0x0020);
    filter.Add(0x0020, 0x0013);
    set.Filter(filter);
    EXPECT_EQ(TagsOf(set), (Tags{0x00100000, 0x00100020}));

    set.Filter(DICOMDataSet());
    EXPECT_TRUE(set.IsEmpty());
}

TEST_F(DICOMVRSetTest, DeleteByAnotherSetAndByGroup)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x0010, 0x0010, "DOE");
    set.Add(0x0010, 0x0020, "ID");
    DICOMDataSet other;
    other.Add(0x0010, 0x0010, "X");
    set.Delete(other);
    EXPECT_EQ(TagsOf(set), (Tags{0x00080000, 0x00080060, 0x00100000, 0x00100020}));
    EXPECT_EQ(set.DeleteGroup(0x0010), 1);
    EXPECT_EQ(set.DeleteGroup(0x0010), 0);
    EXPECT_EQ(TagsOf(set), (Tags{0x00080000, 0x00080060}));
    EXPECT_EQ(set.GetLength(), static_cast<int>(12 + ExplicitSize(2, false)));
}

TEST_F(DICOMVRSetTest, PopHandsOutGroupLengthThenElements)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, (unsigned short)512);
    set.Add(0x0028, 0x0011, (unsigned short)256);
    set.Add(0x0030, 0x0001, "AB");
    std::vector<std::unique_ptr<VR>> popped;
    while (VR* element = set.Pop())
    {
        popped.emplace_back(element);
    }
    ASSERT_EQ(popped.size(), 5u);
    EXPECT_EQ(popped[0]->GetTag(), 0x00280000u);
    EXPECT_EQ(static_cast<unsigned int>(*popped[0]), 2 * ExplicitSize(2, false));
    EXPECT_EQ(popped[1]->GetTag(), 0x00280010u);
    EXPECT_EQ(popped[2]->GetTag(), 0x00280011u);
    EXPECT_EQ(popped[3]->GetTag(), 0x00300000u);
    EXPECT_EQ(popped[4]->GetTag(), 0x00300001u);
    EXPECT_EQ(popped[4]->GetOwner(), nullptr);
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_EQ(set.GetLength(), 0);
    EXPECT_EQ(set.Pop(), nullptr);
}

TEST_F(DICOMVRSetTest, CopiesAreDeepAndRangesInclusive)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x0010, 0x0010, "DOE");
    set.Add(0x0010, 0x0020, "ID");
    set.Add(0x0028, 0x0010, (unsigned short)5);
    DICOMDataSet copy(set);
    EXPECT_TRUE(copy == set);
    EXPECT_NE(copy.GetVR(0x0010, 0x0010), set.GetVR(0x0010, 0x0010));

    DICOMDataSet range;
    EXPECT_EQ(set.CopyTo(range, 0x00100000, 0x00100020), 1);
    EXPECT_EQ(TagsOf(range), (Tags{0x00100000, 0x00100010, 0x00100020}));
    EXPECT_EQ(set.CopyTo(set), 0);

    copy.Add(0x0010, 0x0020, "OTHER");
    EXPECT_TRUE(copy != set);
}

TEST_F(DICOMVRSetTest, AppendFromMovesEverything)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "OLD");
    DICOMDataSet other;
    other.Add(0x0010, 0x0010, "NEW");
    other.Add(0x0008, 0x0060, "MR");
    other.Add(0x0028, 0x0010, (unsigned short)5);
    set.AppendFrom(other);
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_EQ(std::string(set.GetLettra(0x0010, 0x0010)), "NEW");
    EXPECT_EQ(set.GetVRCount(), 6);
}

TEST_F(DICOMVRSetTest, ItemsAttachToTheirElement)
{
    DICOMDataSet set;
    DICOMDataSet first;
    first.Add(0x0008, 0x1150, "1.2");
    DICOMDataSet second;
    second.Add(0x0008, 0x1155, "1.3");
    set.Add(0x0008, 0x1140, first);
    set.Add(0x0008, 0x1140, second);
    EXPECT_TRUE(first.IsEmpty());
    const VR* sequence = set.GetVR(0x0008, 0x1140);
    ASSERT_NE(sequence, nullptr);
    EXPECT_EQ(sequence->GetTypeCode(), VRCode::SQ);
    EXPECT_EQ(sequence->GetItemCount(), 2);
    EXPECT_EQ(std::string(set.GetSequence(0x0008, 0x1140, 1)->GetLettra(0x0008, 0x1155)), "1.3");
    EXPECT_EQ(set.GetSequence(0x0008, 0x1140, 2), nullptr);
    EXPECT_EQ(set.GetSequence(0x0008, 0x1150, 0), nullptr);

    EXPECT_EQ(set.Push(0x0008, 0x0000, new DICOMDataSet), 0);
}

TEST_F(DICOMVRSetTest, RunningCountsMatchPackage)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x7FE0, 0x0010, std::string(100, 'x').c_str());
    DICOMDataSet item;
    item.Add(0x0008, 0x1150, "1.2.840");
    set.Add(0x0008, 0x1140, item);
    DICOMDataSet nested;
    nested.Add(0x0010, 0x0020, "ID");
    set.Add(0x0008, 0x1140, nested);
    set.Add(0x0033, 0x0077, "ODD"); // unknown to the dictionary: coded UN
    const int running = set.GetLength();
    EXPECT_EQ(set.Package(), 1);
    EXPECT_EQ(set.GetLength(), running);
    const std::uint32_t item1 = 12 + ExplicitSize(8, false);
    const std::uint32_t item2 = 12 + ExplicitSize(2, false);
    const std::uint32_t group8 =
        ExplicitSize(2, false) + ExplicitSize(0, true) + 8 + (16 + item1) + (16 + item2);
    EXPECT_EQ(set.GetLength(), static_cast<int>(12 + group8 + 12 + ExplicitSize(4, true) + 12 +
                                                ExplicitSize(100, true)));

    // An item changed after it was attached is counted again by Package.
    set.GetSequence(0x0008, 0x1140, 0)->Add(0x0008, 0x1155, "1.3");
    EXPECT_EQ(set.Package(), 0);
    EXPECT_EQ(set.GetLength(), running + static_cast<int>(ExplicitSize(4, false)));
}

TEST_F(DICOMVRSetTest, OddLengthsArePaddedAndTheLastElementStaysValid)
{
    ItemSet set;
    VR* odd = new VR(0x0009, 0x1001);
    odd->Attach(new std::uint8_t[3]{'a', 'b', 'c'}, 3);
    set.Push(odd);
    EXPECT_EQ(BytesOf(*set.GetVR(0x0009, 0x1001)), (std::vector<std::uint8_t>{'a', 'b', 'c', 0}));
    EXPECT_EQ(set.Push(new DICOMDataSet), 1);
    EXPECT_EQ(set.GetVR(0x0009, 0x1001)->GetItemCount(), 1);

    VR* replacement = new VR(0x0009, 0x1001);
    replacement->Attach(new std::uint8_t[1]{'z'}, 1);
    set.Push(replacement);
    EXPECT_EQ(set.GetVR(0x0009, 0x1001)->GetLength(), 2u);
    EXPECT_EQ(set.Push(new DICOMDataSet), 1);
    EXPECT_EQ(set.GetVR(0x0009, 0x1001)->GetItemCount(), 1);

    set.Delete(0x0009, 0x1001);
    EXPECT_EQ(set.Push(new DICOMDataSet), 0); // no last element any more
}

TEST_F(DICOMVRSetTest, IteratorsWalkEveryElement)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, (unsigned short)512);
    set.Add(0x0008, 0x0060, "MR");
    DICOMVRSet::Iterator it(set);
    std::vector<int> indexes;
    for (; it; it++)
    {
        indexes.push_back(it.Index());
    }
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(it.Index(), -1);
    EXPECT_EQ(it.Current(), nullptr);
    it.Restart();
    it.Next();
    EXPECT_EQ(std::string(static_cast<Lettra>(it)), "MR");
    it.Next();
    it.Next();
    EXPECT_EQ(static_cast<unsigned short>(it), 512);

    VRSetIterator walk(set);
    Tags tags;
    while (VR* element = walk())
    {
        tags.push_back(element->GetTag());
    }
    EXPECT_EQ(tags, TagsOf(set));
}

TEST_F(DICOMVRSetTest, EqualityComparesElementsAndItems)
{
    DICOMDataSet a;
    a.Add(0x0010, 0x0010, "DOE");
    DICOMDataSet b;
    b.Add(0x0010, 0x0010, "DOE");
    EXPECT_TRUE(a == b);
    b.Add(0x0010, 0x0020, "ID");
    EXPECT_TRUE(a != b);
    a.Add(0x0010, 0x0020, "ID");
    DICOMDataSet item;
    item.Add(0x0008, 0x1150, "1");
    a.Add(0x0008, 0x1140, item);
    EXPECT_TRUE(a != b);
}

} // namespace
