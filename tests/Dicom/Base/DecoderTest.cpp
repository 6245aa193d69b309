#include "CodingTestSupport.h"
#include "ElementTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace
{

class Decoders : public DictionaryTest, public ::testing::WithParamInterface<enSyntax>
{
};

INSTANTIATE_TEST_SUITE_P(Syntaxes, Decoders,
                         ::testing::Values(enSyntax::ImplicitLittle, enSyntax::ExplicitLittle,
                                           enSyntax::ExplicitBig),
                         [](const auto& info) { return std::string(NameOf(info.param)); });

// (0008,1140) holding two items of one element each, every length undefined.
Bytes UndefinedSequence(enSyntax syntax)
{
    StreamBuilder stream(syntax);
    stream.TextElement(0x0008, 0x0060, "CS", "MR")
        .Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF)
        .Item()
        .TextElement(0x0008, 0x1150, "UI", std::string("1.2\0", 4))
        .ItemEnd()
        .Item()
        .TextElement(0x0008, 0x1155, "UI", std::string("1.3\0", 4))
        .ItemEnd()
        .SequenceEnd()
        .TextElement(0x0010, 0x0010, "PN", "DOE ");
    return stream.GetBytes();
}

// The same with defined lengths.
Bytes DefinedSequence(enSyntax syntax)
{
    const std::uint32_t element = 12; // header and "1.2" with its pad
    StreamBuilder stream(syntax);
    stream.TextElement(0x0008, 0x0060, "CS", "MR")
        .Header(0x0008, 0x1140, "SQ", 2 * (8 + element))
        .Item(element)
        .TextElement(0x0008, 0x1150, "UI", std::string("1.2\0", 4))
        .Item(element)
        .TextElement(0x0008, 0x1155, "UI", std::string("1.3\0", 4))
        .TextElement(0x0010, 0x0010, "PN", "DOE ");
    return stream.GetBytes();
}

TEST_P(Decoders, SequencesOfUndefinedLength)
{
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(UndefinedSequence(GetParam()), GetParam(), &set), 1);
    const VR* sequence = set.GetVR(0x0008, 0x1140);
    ASSERT_NE(sequence, nullptr);
    EXPECT_EQ(sequence->GetLength(), 0u);
    ASSERT_EQ(sequence->GetItemCount(), 2);
    EXPECT_EQ(std::string(set.GetSequence(0x0008, 0x1140, 0)->GetLettra(0x0008, 0x1150)), "1.2");
    EXPECT_EQ(std::string(set.GetSequence(0x0008, 0x1140, 1)->GetLettra(0x0008, 0x1155)), "1.3");
    EXPECT_EQ(std::string(set.GetLettra(0x0010, 0x0010)), "DOE");
}

TEST_P(Decoders, DefinedAndUndefinedLengthsGiveTheSameSet)
{
    DICOMDataSet undefined;
    DICOMDataSet defined;
    ASSERT_EQ(DecodeBytes(UndefinedSequence(GetParam()), GetParam(), &undefined), 1);
    ASSERT_EQ(DecodeBytes(DefinedSequence(GetParam()), GetParam(), &defined), 1);
    EXPECT_EQ(defined.GetSequence(0x0008, 0x1140, 1)->GetVRCount(), 2);
    EXPECT_TRUE(defined == undefined);
}

TEST_P(Decoders, EncapsulatedPixelDataKeepsItsFragments)
{
    StreamBuilder stream(GetParam());
    stream.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF)
        .Item(0)
        .Item(1000)
        .Raw(Bytes(1000, 0x5A))
        .SequenceEnd();
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), GetParam(), &set), 1);
    const VR* pixels = set.GetVR(0x7FE0, 0x0010);
    ASSERT_NE(pixels, nullptr);
    ASSERT_EQ(pixels->GetItemCount(), 2);
    EXPECT_EQ(set.GetSequence(0x7FE0, 0x0010, 0)->GetVR(0xFFFE, 0xE000)->GetLength(), 0u);
    const VR* fragment = set.GetSequence(0x7FE0, 0x0010, 1)->GetVR(0xFFFE, 0xE000);
    EXPECT_EQ(BytesOf(*fragment), Bytes(1000, 0x5A));
}

TEST_P(Decoders, TillTagStopsBeforeTheTagAndLeavesTheStreamOnIt)
{
    StreamBuilder stream(GetParam());
    stream.TextElement(0x0008, 0x0060, "CS", "MR")
        .Element(0x0028, 0x0010, "US", {0, 2})
        .Element(0x7FE0, 0x0010, "OW", {1, 2, 3, 4});
    const Bytes& bytes = stream.GetBytes();
    MemInBuffer in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    DICOMDataSet set;
    const std::uint32_t stopped =
        GetParam() == enSyntax::ExplicitBig
            ? BigEndianDecoder(in).DecodeTillTag(&set, 0x7FE0000F)
            : FixDecoder(in).DecodeTillTag(&set, 0x7FE0000F,
                                           GetParam() == enSyntax::ImplicitLittle ? 1 : 0);
    EXPECT_EQ(stopped, 0x7FE00010u);
    EXPECT_EQ(set.GetVRCount(), 4);
    const std::uint32_t at = in.GetConsumed();
    EXPECT_EQ(at, bytes.size() - (GetParam() == enSyntax::ImplicitLittle ? 12 : 16));
    std::uint8_t next[4];
    in.Read(next, 4);
    EXPECT_EQ(Bytes(next, next + 4), Bytes(bytes.begin() + at, bytes.begin() + at + 4));
}

TEST_P(Decoders, TillTagReportsADelimiterAndTheEnd)
{
    StreamBuilder stream(GetParam());
    stream.TextElement(0x0008, 0x0060, "CS", "MR").SequenceEnd();
    MemInBuffer in(stream.GetBytes().data(), static_cast<std::uint32_t>(stream.GetSize()));
    DICOMDataSet set;
    const int implicit = GetParam() == enSyntax::ImplicitLittle ? 1 : 0;
    if (GetParam() == enSyntax::ExplicitBig)
    {
        EXPECT_EQ(BigEndianDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF), 0xFFFEE000u);
        EXPECT_EQ(BigEndianDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF), 0u);
    }
    else
    {
        EXPECT_EQ(FixDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF, implicit), 0xFFFEE000u);
        EXPECT_EQ(FixDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF, implicit), 0u);
    }
}

TEST_P(Decoders, ADelimiterEndsTheDataSet)
{
    StreamBuilder stream(GetParam());
    stream.TextElement(0x0008, 0x0060, "CS", "MR")
        .ItemEnd()
        .TextElement(0x0010, 0x0010, "PN", "DOE ");
    DICOMDataSet set;
    EXPECT_EQ(DecodeBytes(stream.GetBytes(), GetParam(), &set), 1);
    EXPECT_FALSE(set.IsExist(0x0010, 0x0010));
}

// Writers that drop elements from the last item without mending its
// length: the item ends with the data when that falls between two of its
// elements; a cut inside a value still fails.
TEST_P(Decoders, ALastItemLongerThanItsSequenceEndsWithIt)
{
    const auto build = [&](const Bytes& content)
    {
        StreamBuilder stream(GetParam());
        stream.TextElement(0x0008, 0x0060, "CS", "MR")
            .Header(0x0008, 0x1140, "SQ", static_cast<std::uint32_t>(content.size() + 8))
            .Item(static_cast<std::uint32_t>(content.size() + 24))
            .Raw(content);
        return stream.GetBytes();
    };
    StreamBuilder whole(GetParam());
    whole.TextElement(0x0008, 0x1150, "UI", "1.2 ");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(build(whole.GetBytes()), GetParam(), &set), 1);
    const DICOMVRSet* item = set.GetSequence(0x0008, 0x1140, 0);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::string(item->GetLettra(0x0008, 0x1150)), "1.2");

    // Implicit data then keeps the sequence's bytes as a value.
    StreamBuilder cut(GetParam());
    cut.Header(0x0008, 0x1150, "UI", 10).Text("1.2 ");
    DICOMDataSet broken;
    const int decoded = DecodeBytes(build(cut.GetBytes()), GetParam(), &broken);
    EXPECT_TRUE(decoded == 0 || broken.GetSequence(0x0008, 0x1140, 0) == nullptr);
}

TEST_P(Decoders, ANullSetReadsAndDrops)
{
    EXPECT_EQ(DecodeBytes(UndefinedSequence(GetParam()), GetParam(), nullptr), 1);
}

TEST_P(Decoders, OddValuesArePaddedWithNul)
{
    StreamBuilder stream(GetParam());
    stream.TextElement(0x0009, 0x1001, "OB", "abc").TextElement(0x0010, 0x0010, "PN", "DOE ");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), GetParam(), &set), 1);
    EXPECT_EQ(BytesOf(*set.GetVR(0x0009, 0x1001)), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_TRUE(set.IsExist(0x0010, 0x0010));
}

TEST_P(Decoders, GroupLengthsAreDropped)
{
    StreamBuilder stream(GetParam());
    stream.Element(0x0008, 0x0000, "UL", {99, 0, 0, 0}).TextElement(0x0008, 0x0060, "CS", "MR");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), GetParam(), &set), 1);
    DICOMVRSet::Iterator it(set);
    EXPECT_EQ(static_cast<unsigned int>(*it.Current()), 10u); // the set's own count
}

TEST_F(DictionaryTest, ImplicitVRsComeFromTheDictionary)
{
    StreamBuilder stream(enSyntax::ImplicitLittle);
    stream.Element(0x0028, 0x0010, "", {0, 2}).TextElement(0x0033, 0x0077, "", "AB");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), enSyntax::ImplicitLittle, &set), 1);
    EXPECT_EQ(set.GetVR(0x0028, 0x0010)->GetTypeCode(), VRCode::US);
    EXPECT_EQ(set.GetUINT16(0x0028, 0x0010), 512);
    EXPECT_EQ(set.GetVR(0x0033, 0x0077)->GetTypeCode(), VRCode::Unknown);
}

TEST_F(DictionaryTest, ExplicitZeroVRBytesTakeTheDictionarysVROrUN)
{
    StreamBuilder stream(enSyntax::ExplicitLittle);
    stream.U16(0x0028).U16(0x0010).U16(0).U16(2).U16(512);
    stream.U16(0x0033).U16(0x0077).U16(0).U16(2).Text("AB");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), enSyntax::ExplicitLittle, &set), 1);
    EXPECT_EQ(set.GetVR(0x0028, 0x0010)->GetTypeCode(), VRCode::US);
    EXPECT_EQ(set.GetUINT16(0x0028, 0x0010), 512);
    EXPECT_EQ(set.GetVR(0x0033, 0x0077)->GetTypeCode(), VRCode::UN);
    EXPECT_EQ(TextOf(*set.GetVR(0x0033, 0x0077)), "AB");
}

// An undefined-length UN holds its items in implicit VR little endian,
// whatever the syntax around it.
TEST_F(DictionaryTest, UndefinedLengthUNHoldsImplicitItems)
{
    StreamBuilder implicitItems(enSyntax::ImplicitLittle);
    implicitItems.Item().TextElement(0x0033, 0x1001, "", "ITEM").ItemEnd().SequenceEnd();
    for (const enSyntax syntax : {enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder stream(syntax);
        stream.Header(0x0033, 0x0010, "UN", 0xFFFFFFFF)
            .Raw(implicitItems.GetBytes())
            .TextElement(0x0040, 0x0001, "AE", "STATION1");
        DICOMDataSet set;
        ASSERT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 1) << NameOf(syntax);
        ASSERT_EQ(set.GetVR(0x0033, 0x0010)->GetItemCount(), 1);
        EXPECT_EQ(std::string(set.GetSequence(0x0033, 0x0010, 0)->GetLettra(0x0033, 0x1001)),
                  "ITEM");
        EXPECT_EQ(std::string(set.GetLettra(0x0040, 0x0001)), "STATION1");
    }
}

struct GuessCase
{
    const char* name;
    enSyntax syntax;
    std::uint16_t group;
    std::uint16_t element;
    const char* vr;
    Bytes body;
    int items; // -1: kept as a UN value
};

class GuessedSequences : public DictionaryTest, public ::testing::WithParamInterface<GuessCase>
{
};

// (0008,1140) is a sequence in the dictionary; (0027,1050) is one under one
// private creator and a float under another.
INSTANTIATE_TEST_SUITE_P(Cases, GuessedSequences,
                         ::testing::Values(GuessCase{"UNWithItems",
                                                     enSyntax::ExplicitLittle,
                                                     0x0008,
                                                     0x1140,
                                                     "UN",
                                                     {0xFE, 0xFF, 0x00, 0xE0, 0, 0, 0, 0},
                                                     1},
                                           GuessCase{"UNWithItemsBigEndian",
                                                     enSyntax::ExplicitBig,
                                                     0x0008,
                                                     0x1140,
                                                     "UN",
                                                     {0xFE, 0xFF, 0x00, 0xE0, 0, 0, 0, 0},
                                                     1},
                                           GuessCase{"UNLikeAnItem",
                                                     enSyntax::ExplicitLittle,
                                                     0x0008,
                                                     0x1140,
                                                     "UN",
                                                     {0xFE, 0xFF, 0x00, 0xE0, 0xFF, 0x31, 0x31},
                                                     -1},
                                           GuessCase{"OddUNJudgedWithItsPad",
                                                     enSyntax::ExplicitLittle,
                                                     0x0008,
                                                     0x1140,
                                                     "UN",
                                                     {0xFE, 0xFF, 0x00, 0xE0, 0, 0, 0},
                                                     1},
                                           GuessCase{"ImplicitFloat",
                                                     enSyntax::ImplicitLittle,
                                                     0x0027,
                                                     0x1050,
                                                     "",
                                                     {0x00, 0x00, 0x80, 0x3F},
                                                     -1},
                                           GuessCase{"ImplicitItemsAndMore",
                                                     enSyntax::ImplicitLittle,
                                                     0x0008,
                                                     0x1140,
                                                     "",
                                                     {0xFE, 0xFF, 0x00, 0xE0, 0, 0, 0, 0, 0x08, 0,
                                                      0x60, 0, 2, 0, 0, 0, 'M', 'R'},
                                                     -1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A sequence the stream does not name is one only when its body holds items
// and nothing else; either way, what is encoded decodes to the same again.
TEST_P(GuessedSequences, AreJudgedByTheirBody)
{
    const GuessCase& c = GetParam();
    StreamBuilder stream(c.syntax);
    stream.Element(c.group, c.element, c.vr, c.body).TextElement(0x0040, 0x0001, "AE", "NEXT");
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), c.syntax, &set), 1);
    const VR* element = set.GetVR(c.group, c.element);
    ASSERT_NE(element, nullptr);
    if (c.items < 0)
    {
        EXPECT_EQ(element->GetTypeCode(), VRCode::UN);
        EXPECT_EQ(element->GetSQArray(), nullptr);
        const Bytes value = BytesOf(*element);
        EXPECT_EQ(Bytes(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(c.body.size())),
                  c.body);
    }
    else
    {
        EXPECT_EQ(element->GetTypeCode(), VRCode::SQ);
        EXPECT_EQ(element->GetItemCount(), c.items);
    }
    EXPECT_EQ(std::string(set.GetLettra(0x0040, 0x0001)), "NEXT");
    const Bytes first = EncodeSet(set, c.syntax);
    DICOMDataSet again;
    ASSERT_EQ(DecodeBytes(first, c.syntax, &again), 1);
    EXPECT_EQ(EncodeSet(again, c.syntax), first);
}

struct ModernCase
{
    const char* vr;
    Bytes value;
};

class ModernVRs : public DictionaryTest, public ::testing::WithParamInterface<ModernCase>
{
};

INSTANTIATE_TEST_SUITE_P(
    Codes, ModernVRs,
    ::testing::Values(ModernCase{"OD", {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
                      ModernCase{"OL", {1, 0, 0, 0, 2, 0, 0, 0}},
                      ModernCase{"OV", {1, 0, 0, 0, 0, 0, 0, 0}},
                      ModernCase{"SV", {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
                      ModernCase{"UV", {7, 0, 0, 0, 0, 0, 0, 0x80}},
                      ModernCase{"UC", {'L', 'O', 'N', 'G'}},
                      ModernCase{"UR", {'h', 't', 't', 'p', ':', '/', '/', 'x'}}),
    [](const auto& info) { return std::string(info.param.vr); });

// Each takes two reserved bytes and a 4-byte length; a reader taking a
// 2-byte length would lose the element after it.
TEST_P(ModernVRs, HaveTheLongFormInBothExplicitSyntaxes)
{
    for (const enSyntax syntax : {enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        Bytes value = GetParam().value;
        const int unit = VRCode::GetSwapUnit(VRCode::Make(GetParam().vr[0], GetParam().vr[1]));
        if (syntax == enSyntax::ExplicitBig)
        {
            for (std::size_t start = 0; start + unit <= value.size(); start += unit)
            {
                std::reverse(value.begin() + start, value.begin() + start + unit);
            }
        }
        StreamBuilder stream(syntax);
        stream.Element(0x0033, 0x1001, GetParam().vr, value)
            .TextElement(0x0033, 0x1002, "LO", "NEXT");
        EXPECT_EQ(stream.GetBytes()[6], 0u); // the reserved bytes
        EXPECT_EQ(stream.GetBytes()[7], 0u);
        DICOMDataSet set;
        ASSERT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 1) << NameOf(syntax);
        const VR* element = set.GetVR(0x0033, 0x1001);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->GetTypeCode(), VRCode::Make(GetParam().vr[0], GetParam().vr[1]));
        EXPECT_EQ(BytesOf(*element), GetParam().value) << NameOf(syntax);
        EXPECT_EQ(std::string(set.GetLettra(0x0033, 0x1002)), "NEXT");
        EXPECT_EQ(EncodeSet(set, syntax), WithGroupLength(syntax, 0x0033, stream.GetBytes()))
            << NameOf(syntax);
    }
}

struct SwapCase
{
    const char* vr;
    int unit;
};

class BigEndianValues : public DictionaryTest, public ::testing::WithParamInterface<SwapCase>
{
};

INSTANTIATE_TEST_SUITE_P(Codes, BigEndianValues,
                         ::testing::Values(SwapCase{"AT", 2}, SwapCase{"OW", 2}, SwapCase{"SS", 2},
                                           SwapCase{"US", 2}, SwapCase{"FL", 4}, SwapCase{"OF", 4},
                                           SwapCase{"OL", 4}, SwapCase{"SL", 4}, SwapCase{"UL", 4},
                                           SwapCase{"FD", 8}, SwapCase{"OD", 8}, SwapCase{"OV", 8},
                                           SwapCase{"SV", 8}, SwapCase{"UV", 8}, SwapCase{"OB", 1},
                                           SwapCase{"UN", 1}, SwapCase{"LO", 1}),
                         [](const auto& info) { return std::string(info.param.vr); });

// The stream holds every value big endian; the set holds host order; the
// encoder writes the stream's bytes again.
TEST_P(BigEndianValues, AreSwappedInTheirUnitBothWays)
{
    Bytes host(16);
    for (std::size_t i = 0; i < host.size(); ++i)
    {
        host[i] = static_cast<std::uint8_t>(0x10 + i);
    }
    Bytes wire = host;
    for (std::size_t start = 0; start + GetParam().unit <= wire.size(); start += GetParam().unit)
    {
        std::reverse(wire.begin() + start, wire.begin() + start + GetParam().unit);
    }
    StreamBuilder stream(enSyntax::ExplicitBig);
    stream.Element(0x0033, 0x1001, GetParam().vr, wire);
    DICOMDataSet set;
    ASSERT_EQ(DecodeBytes(stream.GetBytes(), enSyntax::ExplicitBig, &set), 1);
    EXPECT_EQ(BytesOf(*set.GetVR(0x0033, 0x1001)), host);
    EXPECT_EQ(EncodeSet(set, enSyntax::ExplicitBig),
              WithGroupLength(enSyntax::ExplicitBig, 0x0033, stream.GetBytes()));
    EXPECT_EQ(BytesOf(*set.GetVR(0x0033, 0x1001)), host); // encoding swapped a copy
}

} // namespace
