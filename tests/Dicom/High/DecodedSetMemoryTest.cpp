// Decoded data sets take their elements from memory shared by the whole set:
// elements and items taken out of such a set, edited, moved to other sets,
// or freed on another thread must behave as those of a set built by hand.
// The sanitizers of the test build catch a block freed too early or twice.
#include "DICOMDataSet.h"
#include "ElementTestSupport.h"
#include "UID.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Bytes = std::vector<unsigned char>;

const std::string LongText(100, 'x'); // longer than an element holds in itself

// A set with short and long values in three groups and a sequence of two
// items, one of them with a nested sequence. The values have even lengths,
// so that no padding tells a decoded set from a built one.
void FillSample(DICOMVRSet& set)
{
    set.Add(0x0008, 0x0060, "CT");
    set.Add(0x0008, 0x1030, LongText.c_str());
    set.Add(0x0010, 0x0010, "Doe^Jane");
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(512));
    DICOMDataSet first;
    first.Add(0x0008, 0x1150, "1.2.34");
    DICOMDataSet nested;
    nested.Add(0x0008, 0x0100, "CODE");
    first.Add(0x0040, 0xA043, nested);
    DICOMDataSet second;
    second.Add(0x0008, 0x1155, "1.2.3.45");
    set.Add(0x0008, 0x1140, first);
    set.Add(0x0008, 0x1140, second);
}

Bytes SerializeOf(DICOMVRSet& set)
{
    Bytes bytes(static_cast<std::size_t>(set.Serialize(nullptr, 0)));
    set.Serialize(bytes.data(), static_cast<int>(bytes.size()));
    return bytes;
}

std::unique_ptr<DICOMDataSet> Decode(const Bytes& image)
{
    auto set = std::make_unique<DICOMDataSet>();
    EXPECT_EQ(set->Deserialize(image.data(), static_cast<int>(image.size())),
              static_cast<int>(image.size()));
    return set;
}

class DecodedSetMemory : public DictionaryTest
{
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        DICOMDataSet sample;
        FillSample(sample);
        m_image = SerializeOf(sample);
    }

    Bytes m_image;
};

TEST_F(DecodedSetMemory, ElementsTakenOutOutliveTheirSetAndStayEditable)
{
    auto set = Decode(m_image);
    std::unique_ptr<VR> shortValue(set->TakeOut(0x0008, 0x0060));
    std::unique_ptr<VR> longValue(set->TakeOut(0x0008, 0x1030));
    std::unique_ptr<VR> sequence(set->TakeOut(0x0008, 0x1140));
    set.reset();

    EXPECT_EQ(TextOf(*shortValue), "CT");
    *shortValue = LongText.c_str(); // the value moves to a block of its own
    EXPECT_EQ(TextOf(*shortValue), LongText);
    EXPECT_EQ(TextOf(*longValue), LongText);
    std::unique_ptr<unsigned char[]> detached(static_cast<unsigned char*>(longValue->Detach()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(detached.get()), LongText.size()),
              LongText);
    ASSERT_EQ(sequence->GetItemCount(), 2);
    DICOMVRSet* item = sequence->GetSQArray()->GetAt(0);
    EXPECT_EQ(item->GetLettra(0x0008, 0x1150), Lettra("1.2.34"));
    ASSERT_NE(item->GetSequence(0x0040, 0xA043, 0), nullptr);
    EXPECT_EQ(item->GetSequence(0x0040, 0xA043, 0)->GetLettra(0x0008, 0x0100), Lettra("CODE"));
    item->Add(0x0008, 0x1150, "9.8.7");
    item->Delete(0x0040, 0xA043);
    EXPECT_EQ(item->GetLettra(0x0008, 0x1150), Lettra("9.8.7"));
    EXPECT_EQ(item->GetVRCount(), 2);
}

// The same edits on a decoded set and on the set it was coded from leave
// equal sets with equal memory images.
TEST_F(DecodedSetMemory, EditsOfADecodedSetMatchThoseOfABuiltSet)
{
    DICOMDataSet built;
    FillSample(built);
    auto decoded = Decode(m_image);
    for (DICOMVRSet* set :
         {static_cast<DICOMVRSet*>(&built), static_cast<DICOMVRSet*>(decoded.get())})
    {
        set->Add(0x0010, 0x0010, "Roe^Richard");
        set->Push(new VR(0x0008, 0x0060, "MR"));
        set->Delete(0x0008, 0x1030);
        set->DeleteGroup(0x0028);
        set->Add(0x0020, 0x000D, "1.2.840.1");
        delete set->TakeOut(0x0008, 0x1140);
        set->Add(0x0008, 0x1140, *Decode(m_image));
    }
    EXPECT_TRUE(built == *decoded);
    EXPECT_EQ(SerializeOf(built), SerializeOf(*decoded));
}

TEST_F(DecodedSetMemory, ElementsMovedToOtherSetsOutliveTheSetTheyCameFrom)
{
    DICOMDataSet target;
    DICOMDataSet copy;
    {
        auto decoded = Decode(m_image);
        decoded->CopyTo(copy);
        auto other = Decode(m_image);
        target.AppendFrom(*other);
        other->TransferTo(*decoded); // an empty set moved over a full one
        EXPECT_TRUE(decoded->IsEmpty());
    }
    DICOMDataSet expected;
    FillSample(expected);
    EXPECT_TRUE(target == expected);
    EXPECT_TRUE(copy == expected);
    target.Add(0x0008, 0x0060, "US");
    EXPECT_EQ(target.GetLettra(0x0008, 0x0060), Lettra("US"));
}

// Sets decoded and destroyed on one thread while elements taken out of
// them are freed on another.
TEST_F(DecodedSetMemory, TakenOutElementsMayBeFreedOnAnotherThread)
{
    constexpr int Rounds = 200;
    std::vector<std::unique_ptr<DICOMDataSet>> sets;
    std::vector<VR*> taken;
    for (int i = 0; i < Rounds; ++i)
    {
        sets.push_back(Decode(m_image));
        taken.push_back(sets.back()->TakeOut(0x0010, 0x0010));
        taken.push_back(sets.back()->TakeOut(0x0008, 0x1140));
    }
    int wrong = 0;
    std::thread freeing(
        [&taken, &wrong]
        {
            for (std::size_t i = 0; i < taken.size(); ++i)
            {
                const bool right =
                    i % 2 == 0 ? TextOf(*taken[i]) == "Doe^Jane" : taken[i]->GetItemCount() == 2;
                wrong += right ? 0 : 1;
                delete taken[i];
            }
        });
    sets.clear();
    freeing.join();
    EXPECT_EQ(wrong, 0);
}

TEST_F(DecodedSetMemory, ASetDecodedAgainDropsItsFormerElements)
{
    auto set = Decode(m_image);
    std::unique_ptr<VR> kept(set->TakeOut(0x0010, 0x0010));
    EXPECT_EQ(set->Deserialize(m_image.data(), static_cast<int>(m_image.size())),
              static_cast<int>(m_image.size()));
    set->Reset();
    EXPECT_EQ(set->Deserialize(m_image.data(), static_cast<int>(m_image.size())),
              static_cast<int>(m_image.size()));
    DICOMDataSet expected;
    FillSample(expected);
    EXPECT_TRUE(*set == expected);
    EXPECT_EQ(TextOf(*kept), "Doe^Jane");
}

} // namespace
