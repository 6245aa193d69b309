#include "CodingTestSupport.h"
#include "ElementTestSupport.h"
#include "UID.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

class Encoders : public DictionaryTest
{
};

Bytes Uint32Bytes(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

TEST_F(Encoders, ImplicitWritesOnlyTheMetaGroupLength)
{
    DICOMDataSet set;
    set.Add(0x0002, 0x0010, UID("1.2.840.10008.1.2"));
    set.Add(0x0008, 0x0060, "MR");
    StreamBuilder expected(enSyntax::ImplicitLittle);
    expected.Element(0x0002, 0x0000, "UL", Uint32Bytes(8 + 18))
        .TextElement(0x0002, 0x0010, "UI", std::string("1.2.840.10008.1.2\0", 18))
        .TextElement(0x0008, 0x0060, "CS", "MR");
    EXPECT_EQ(EncodeSet(set, enSyntax::ImplicitLittle), expected.GetBytes());
}

// Group lengths carry the exact count of the bytes after them, sequences
// included, whatever the running counts of the set say.
TEST_F(Encoders, ExplicitGroupLengthsAreExact)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "MR");
    DICOMDataSet item;
    item.Add(0x0008, 0x1150, "1.2");
    set.Add(0x0008, 0x1140, item);
    set.GetSequence(0x0008, 0x1140, 0)->Add(0x0008, 0x1155, "1.3"); // after attaching
    set.Add(0x0010, 0x0010, "DOE");
    for (const enSyntax syntax : {enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder itemBody(syntax);
        itemBody.TextElement(0x0008, 0x1150, "UI", std::string("1.2\0", 4))
            .TextElement(0x0008, 0x1155, "UI", std::string("1.3\0", 4));
        StreamBuilder group8(syntax);
        group8.TextElement(0x0008, 0x0060, "CS", "MR")
            .Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF)
            .Item()
            .Raw(WithGroupLength(syntax, 0x0008, itemBody.GetBytes()))
            .ItemEnd()
            .SequenceEnd();
        StreamBuilder group10(syntax);
        group10.TextElement(0x0010, 0x0010, "PN", "DOE ");
        Bytes expected = WithGroupLength(syntax, 0x0008, group8.GetBytes());
        const Bytes tail = WithGroupLength(syntax, 0x0010, group10.GetBytes());
        expected.insert(expected.end(), tail.begin(), tail.end());
        EXPECT_EQ(EncodeSet(set, syntax), expected) << NameOf(syntax);
    }
}

TEST_F(Encoders, UidBlanksBecomeNul)
{
    for (const enSyntax syntax :
         {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        DICOMDataSet set;
        set.Add(0x0008, 0x0016, "1.2.3 ");
        const Bytes bytes = EncodeSet(set, syntax);
        const std::string text(bytes.end() - 6, bytes.end());
        EXPECT_EQ(text, std::string("1.2.3\0", 6)) << NameOf(syntax);
    }
}

struct LongValueCase
{
    const char* name;
    std::uint16_t typeCode;
    std::uint16_t littleEndianCode;
    std::uint16_t bigEndianCode;
};

class LongValues : public DictionaryTest, public ::testing::WithParamInterface<LongValueCase>
{
};

INSTANTIATE_TEST_SUITE_P(Codes, LongValues,
                         ::testing::Values(LongValueCase{"US", VRCode::US, VRCode::OW, VRCode::OW},
                                           LongValueCase{"UL", VRCode::UL, VRCode::OW, VRCode::OL},
                                           LongValueCase{"FL", VRCode::FL, VRCode::OW, VRCode::OF},
                                           LongValueCase{"FD", VRCode::FD, VRCode::OW, VRCode::OD},
                                           LongValueCase{"SV", VRCode::SV, VRCode::SV, VRCode::SV},
                                           LongValueCase{"LO", VRCode::LO, VRCode::OW, VRCode::UN}),
                         [](const auto& info) { return std::string(info.param.name); });

// A value longer than a 2-byte length can state is written with a long-form
// VR of the same unit, never with a cut length.
TEST_P(LongValues, TakeALongFormVR)
{
    for (const enSyntax syntax : {enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        Bytes value(70000);
        for (std::size_t i = 0; i < value.size(); ++i)
        {
            value[i] = static_cast<std::uint8_t>(i % 253);
        }
        DICOMDataSet set;
        VR* element = new VR(0x0033, 0x1001);
        element->SetTypeCode(GetParam().typeCode);
        SetBytes(*element, value);
        set.Push(element);
        set.Add(0x0033, 0x1002, "NEXT");
        const Bytes bytes = EncodeSet(set, syntax);
        const std::uint16_t expected = syntax == enSyntax::ExplicitBig
                                           ? GetParam().bigEndianCode
                                           : GetParam().littleEndianCode;
        EXPECT_EQ(VRCode::Make(static_cast<char>(bytes[12 + 4]), static_cast<char>(bytes[12 + 5])),
                  expected)
            << NameOf(syntax);
        DICOMDataSet back;
        ASSERT_EQ(DecodeBytes(bytes, syntax, &back), 1) << NameOf(syntax);
        EXPECT_EQ(BytesOf(*back.GetVR(0x0033, 0x1001)), value) << NameOf(syntax);
        EXPECT_EQ(std::string(back.GetLettra(0x0033, 0x1002)), "NEXT");
    }
}

TEST_F(Encoders, UnknownVRsAreResolved)
{
    DICOMDataSet set;
    VR* known = new VR(0x0028, 0x0010, (unsigned short)512);
    set.Push(known);
    known->SetTypeCode(VRCode::UN);
    set.Add(0x0033, 0x1001, "AB");
    DICOMDataSet item;
    item.Add(0x0033, 0x1003, "CD");
    set.Add(0x0033, 0x1002, item);
    const Bytes bytes = EncodeSet(set, enSyntax::ExplicitLittle);
    DICOMDataSet back;
    ASSERT_EQ(DecodeBytes(bytes, enSyntax::ExplicitLittle, &back), 1);
    EXPECT_EQ(back.GetVR(0x0028, 0x0010)->GetTypeCode(), VRCode::US);
    EXPECT_EQ(back.GetVR(0x0033, 0x1001)->GetTypeCode(), VRCode::UN);
    EXPECT_EQ(back.GetVR(0x0033, 0x1002)->GetTypeCode(), VRCode::SQ);
    EXPECT_EQ(set.GetVR(0x0033, 0x1002)->GetTypeCode(), VRCode::SQ); // kept by the element
    EXPECT_TRUE(back == set);
}

TEST_F(Encoders, PixelDataTakesThePixelVRAndItsFragments)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, (unsigned short)2);
    set.Add(0x7FE0, 0x0010);
    for (const Bytes& fragment : {Bytes{}, Bytes{1, 2, 3, 4}})
    {
        auto* item = new DICOMDataSet;
        VR* element = new VR(0xFFFE, 0xE000);
        SetBytes(*element, fragment);
        item->Push(element);
        set.Push(0x7FE0, 0x0010, item);
    }
    set.Push(0x7FE0, 0x0010, new DICOMDataSet); // no fragment: left out
    MemOutBuffer out;
    FixEncoder encoder(out);
    encoder.SetPixelVR(VRCode::OB);
    encoder.EncodeExplicit(&set);
    EXPECT_EQ(out.GetTotal(), encoder.ExplicitSize(&set));
    Bytes bytes(out.GetTotal());
    out.CopyOut(bytes.data());
    StreamBuilder pixels(enSyntax::ExplicitLittle);
    pixels.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Item(0).Item(4).Raw({1, 2, 3, 4}).SequenceEnd();
    const Bytes tail = WithGroupLength(enSyntax::ExplicitLittle, 0x7FE0, pixels.GetBytes());
    EXPECT_EQ(Bytes(bytes.end() - tail.size(), bytes.end()), tail);
}

// Sizes are what the encoders write, for a set with sequences, pixel
// fragments, unknown VRs and long values.
TEST_F(Encoders, SizesMatchTheBytesWritten)
{
    DICOMDataSet set;
    set.Add(0x0002, 0x0010, UID("1.2.840.10008.1.2.1"));
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x0033, 0x1001, "UNKNOWN");
    DICOMDataSet item;
    item.Add(0x0040, 0xA160, "TEXT");
    DICOMDataSet nested;
    nested.Add(0x0010, 0x0020, "ID");
    item.Add(0x0040, 0xA730, nested);
    set.Add(0x0040, 0xA730, item);
    const std::vector<unsigned short> words(40000, 7);
    set.Add(0x0028, 0x1201, words.data(), 40000);
    auto* fragment = new DICOMDataSet;
    fragment->Add(0xFFFE, 0xE000, "FRAG");
    set.Push(0x7FE0, 0x0010, fragment);
    for (const enSyntax syntax : {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle})
    {
        MemOutBuffer sink;
        FixEncoder encoder(sink);
        const std::uint32_t size = syntax == enSyntax::ImplicitLittle ? encoder.ImplicitSize(&set)
                                                                      : encoder.ExplicitSize(&set);
        EXPECT_EQ(size, EncodeSet(set, syntax).size()) << NameOf(syntax);
    }
    MemOutBuffer sink;
    EXPECT_EQ(FixEncoder(sink).ExplicitSize(&set), EncodeSet(set, enSyntax::ExplicitBig).size());
}

// An empty sequence of undefined length stays one; a value that items were
// attached to gives way to the items.
TEST_F(Encoders, ItemListsDecideTheLengthForm)
{
    for (const enSyntax syntax :
         {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder stream(syntax);
        stream.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).SequenceEnd();
        DICOMDataSet set;
        ASSERT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 1);
        const Bytes expected = syntax == enSyntax::ImplicitLittle
                                   ? stream.GetBytes()
                                   : WithGroupLength(syntax, 0x0008, stream.GetBytes());
        EXPECT_EQ(EncodeSet(set, syntax), expected) << NameOf(syntax);

        StreamBuilder valueThenItem(syntax);
        valueThenItem.TextElement(0x0008, 0x0060, "CS", "MR").Item(0);
        DICOMDataSet odd;
        ASSERT_EQ(DecodeBytes(valueThenItem.GetBytes(), syntax, &odd), 1);
        const Bytes bytes = EncodeSet(odd, syntax);
        DICOMDataSet back;
        ASSERT_EQ(DecodeBytes(bytes, syntax, &back), 1) << NameOf(syntax);
        EXPECT_EQ(back.GetVR(0x0008, 0x0060)->GetItemCount(), 1);
        EXPECT_EQ(back.GetVR(0x0008, 0x0060)->GetLength(), 0u);
        EXPECT_EQ(EncodeSet(back, syntax), bytes);
    }
}

TEST_F(Encoders, ANullSetWritesNothing)
{
    MemOutBuffer out;
    FixEncoder encoder(out);
    EXPECT_EQ(encoder.EncodeImplicit(nullptr), 1);
    EXPECT_EQ(encoder.EncodeExplicit(nullptr), 1);
    EXPECT_EQ(BigEndianEncoder(out).Encode(nullptr), 1);
    EXPECT_EQ(encoder.ImplicitSize(nullptr), 0u);
    EXPECT_EQ(encoder.ExplicitSize(nullptr), 0u);
    EXPECT_EQ(out.GetTotal(), 0u);
}

} // namespace
