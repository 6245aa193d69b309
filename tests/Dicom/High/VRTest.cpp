#include "VR.h"
#include "DICOMDataSet.h"
#include "ElementTestSupport.h"
#include "UID.h"
#include "VRCode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

struct ConstructorCase
{
    const char* name;
    std::function<VR()> make;
    std::uint16_t typeCode;
    Bytes value;
};

class VRConstructors : public ::testing::TestWithParam<ConstructorCase>
{
};

const unsigned short Shorts[] = {1, 0x0203};
const short SignedShorts[] = {-1, 2};
const unsigned int Longs[] = {0x01020304, 5};
const int SignedLongs[] = {-2};

INSTANTIATE_TEST_SUITE_P(
    Values, VRConstructors,
    ::testing::Values(
        ConstructorCase{"UnsignedShort",
                        [] { return VR(0x28, 0x10, (unsigned short)512); },
                        VRCode::US,
                        {0x00, 0x02}},
        ConstructorCase{
            "Short", [] { return VR(0x28, 0x10, (short)-2); }, VRCode::SS, {0xFE, 0xFF}},
        ConstructorCase{
            "UnsignedInt", [] { return VR(0x28, 0x10, 0x01020304u); }, VRCode::UL, {4, 3, 2, 1}},
        ConstructorCase{
            "Int", [] { return VR(0x28, 0x10, -1); }, VRCode::SL, {0xFF, 0xFF, 0xFF, 0xFF}},
        ConstructorCase{
            "Float", [] { return VR(0x28, 0x10, 1.0f); }, VRCode::FL, {0, 0, 0x80, 0x3F}},
        ConstructorCase{
            "Double", [] { return VR(0x28, 0x10, 2.0); }, VRCode::FD, {0, 0, 0, 0, 0, 0, 0, 0x40}},
        ConstructorCase{
            "OddText", [] { return VR(0x10, 0x10, "ABC"); }, VRCode::Unknown, {'A', 'B', 'C', ' '}},
        ConstructorCase{"EmptyText", [] { return VR(0x10, 0x10, ""); }, VRCode::Unknown, {}},
        ConstructorCase{
            "NullText", [] { return VR(0x10, 0x10, (const char*)nullptr); }, VRCode::Unknown, {}},
        ConstructorCase{
            "LettraText", [] { return VR(0x10, 0x10, Lettra("AB")); }, VRCode::Unknown, {'A', 'B'}},
        ConstructorCase{"Uid",
                        [] { return VR(0x08, 0x18, UID("1.2.3 ")); },
                        VRCode::UI,
                        {'1', '.', '2', '.', '3', 0}},
        ConstructorCase{
            "UnsignedShorts", [] { return VR(0x28, 0x11, Shorts, 2); }, VRCode::US, {1, 0, 3, 2}},
        ConstructorCase{"Shorts",
                        [] { return VR(0x28, 0x11, SignedShorts, 2); },
                        VRCode::SS,
                        {0xFF, 0xFF, 2, 0}},
        ConstructorCase{"UnsignedInts",
                        [] { return VR(0x28, 0x11, Longs, 2); },
                        VRCode::UL,
                        {4, 3, 2, 1, 5, 0, 0, 0}},
        ConstructorCase{"Ints",
                        [] { return VR(0x28, 0x11, SignedLongs, 1); },
                        VRCode::SL,
                        {0xFE, 0xFF, 0xFF, 0xFF}},
        ConstructorCase{"NoValues", [] { return VR(0x28, 0x11, Shorts, 0); }, VRCode::US, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(VRConstructors, StoreValueLengthAndCode)
{
    const VR element = GetParam().make();
    EXPECT_EQ(element.GetTypeCode(), GetParam().typeCode);
    EXPECT_EQ(element.GetLength(), GetParam().value.size());
    EXPECT_EQ(BytesOf(element), GetParam().value);
    EXPECT_EQ(element.GetOwner(), nullptr);
    EXPECT_EQ(element.GetSQArray(), nullptr);
}

TEST(VR, TagForms)
{
    const VR byTag(0x00100020u);
    EXPECT_EQ(byTag.GetGroup(), 0x0010);
    EXPECT_EQ(byTag.GetElement(), 0x0020);
    EXPECT_EQ(byTag.GetTag(), 0x00100020u);
    EXPECT_TRUE(byTag == 0x00100020u);
    VR moved(0x0008, 0x0060);
    moved.SetTag(0x0018, 0x0050);
    EXPECT_EQ(moved.GetTag(), 0x00180050u);
}

TEST(VR, TextsUpTo64BytesStayInlineLongerOnesGoToTheHeap)
{
    const std::string text63(63, 'x');
    const VR inlineText(0x10, 0x10, text63.c_str());
    EXPECT_EQ(inlineText.GetLength(), 64u);
    EXPECT_EQ(TextOf(inlineText), text63 + " ");

    const std::string text65(65, 'y');
    const VR heapText(0x10, 0x10, text65.c_str());
    EXPECT_EQ(heapText.GetLength(), 66u);
    EXPECT_EQ(TextOf(heapText), text65 + " ");
}

TEST(VR, ExtractDropsOneFinalBlankOrNul)
{
    struct Case
    {
        Bytes value;
        std::string text;
    };
    const Case cases[] = {
        {{'A', 'B', 'C', ' '}, "ABC"},
        {{'A', 'B'}, "AB"},
        {{'1', '.', '2', 0}, "1.2"},
        {{}, ""},
    };
    for (const Case& c : cases)
    {
        VR element(0x10, 0x20);
        SetBytes(element, c.value);
        Lettra out("old");
        EXPECT_EQ(element.Extract(out), 1);
        EXPECT_EQ(std::string(out), c.text);
        EXPECT_EQ(std::string(static_cast<Lettra>(element)), c.text);
    }
}

TEST(VR, ExtractIntoABuffer)
{
    const VR six(0x10, 0x20, "ABCDEF");
    char small[4];
    EXPECT_EQ(six.Extract(small, sizeof(small)), 3u);
    EXPECT_STREQ(small, "ABC");

    const VR padded(0x10, 0x20, "ABC");
    char large[16];
    EXPECT_EQ(padded.Extract(large, sizeof(large)), 3u);
    EXPECT_STREQ(large, "ABC");

    const VR empty(0x10, 0x20);
    EXPECT_EQ(empty.Extract(large, sizeof(large)), 0u);
    EXPECT_STREQ(large, "");
    EXPECT_EQ(empty.Extract(nullptr, 8), 0u);
}

TEST(VR, GetDataSetLengthRoundsUpAndKeepsTheOldBytes)
{
    VR element(0x10, 0x20);
    std::uint8_t* small = static_cast<std::uint8_t*>(element.GetDataSetLength(5));
    EXPECT_EQ(element.GetLength(), 6u);
    for (int i = 0; i < 6; ++i)
    {
        small[i] = static_cast<std::uint8_t>(i + 1);
    }
    std::uint8_t* large = static_cast<std::uint8_t*>(element.GetDataSetLength(100));
    EXPECT_EQ(element.GetLength(), 100u);
    EXPECT_NE(large, small);
    EXPECT_EQ(Bytes(large, large + 6), (Bytes{1, 2, 3, 4, 5, 6}));
    // Shrinking keeps the heap buffer.
    EXPECT_EQ(element.GetDataSetLength(10), large);
    EXPECT_EQ(element.GetLength(), 10u);
    EXPECT_EQ(element.GetDataSetLength(80), large);
}

TEST(VR, NumberConversionsReadTheFirstValue)
{
    const VR word(0x28, 0x10, (unsigned short)0xFFFF);
    EXPECT_EQ(static_cast<int>(word), -1);
    EXPECT_EQ(static_cast<unsigned int>(word), 65535u);
    EXPECT_EQ(static_cast<short>(word), -1);
    EXPECT_EQ(static_cast<float>(word), 0.0f);

    const VR number(0x28, 0x10, 2.5);
    EXPECT_EQ(static_cast<double>(number), 2.5);
    EXPECT_EQ(static_cast<unsigned int>(number), 0u); // the low half of the double's bits
    const VR single(0x28, 0x10, 1.5f);
    EXPECT_EQ(static_cast<float>(single), 1.5f);
    EXPECT_EQ(static_cast<double>(single), 0.0);

    const VR empty(0x28, 0x10);
    EXPECT_EQ(static_cast<int>(empty), 0);
    EXPECT_EQ(static_cast<unsigned short>(empty), 0);
}

TEST(VR, AssignmentReplacesTheValueAndKeepsTheCode)
{
    VR element(0x28, 0x10, std::string(100, 'z').c_str());
    element.SetTypeCode(VRCode::SS);
    element = (unsigned short)7;
    EXPECT_EQ(element.GetTypeCode(), VRCode::SS);
    EXPECT_EQ(element.GetLength(), 2u);
    EXPECT_EQ(static_cast<unsigned short>(element), 7);
    element = "odd";
    EXPECT_EQ(TextOf(element), "odd ");
    element = 1.0;
    EXPECT_EQ(element.GetLength(), 8u);

    const VR other(0x10, 0x10, "OTHER ");
    element = other;
    EXPECT_EQ(element.GetTag(), 0x00280010u);
    EXPECT_EQ(element.GetTypeCode(), VRCode::SS);
    EXPECT_EQ(TextOf(element), "OTHER ");
}

TEST(VR, AttachAndDetachHandTheBufferOver)
{
    VR element(0x7FE0, 0x0010);
    auto* buffer = new std::uint8_t[200];
    buffer[0] = 9;
    element.Attach(buffer, 200);
    EXPECT_EQ(element.GetData(), buffer);
    EXPECT_EQ(element.GetLength(), 200u);
    void* taken = element.Detach();
    EXPECT_EQ(taken, buffer);
    EXPECT_EQ(element.GetLength(), 0u);
    delete[] static_cast<std::uint8_t*>(taken);

    element = 5u;
    auto* copy = static_cast<std::uint8_t*>(element.Detach());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy[0], 5);
    delete[] copy;
    element.Attach(nullptr, 0);
    EXPECT_EQ(element.GetLength(), 0u);
}

TEST(VR, CopyIsDeepAndPadsAnOddLength)
{
    VR sequence(0x0008, 0x1140);
    sequence.SetTypeCode(VRCode::SQ);
    DICOMDataSet item;
    item.Add(0x0008, 0x1150, "1.2");
    sequence = item;
    EXPECT_TRUE(item.IsEmpty());
    ASSERT_EQ(sequence.GetItemCount(), 1);

    VR copy(sequence);
    ASSERT_EQ(copy.GetItemCount(), 1);
    EXPECT_NE(copy.GetSQArray()->GetAt(0), sequence.GetSQArray()->GetAt(0));
    EXPECT_TRUE(copy == sequence);
    copy.GetSQArray()->GetAt(0)->Add(0x0008, 0x1155, "1.3");
    EXPECT_FALSE(copy == sequence);

    VR odd(0x0010, 0x0020);
    odd.Attach(new std::uint8_t[3]{'A', 'B', 'C'}, 3);
    const VR padded(odd);
    EXPECT_EQ(BytesOf(padded), (Bytes{'A', 'B', 'C', 0}));
}

TEST(VR, EqualityIgnoresTheCode)
{
    VR a(0x28, 0x10, (unsigned short)5);
    VR b(0x28, 0x10, (unsigned short)5);
    b.SetTypeCode(VRCode::SS);
    EXPECT_TRUE(a == b);
    b = (unsigned short)6;
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(VR(0x28, 0x10, "A") != VR(0x28, 0x11, "A"));
}

TEST(VR, ResetKeepsTagAndCode)
{
    VR element(0x28, 0x10, (unsigned short)5);
    element.AddSQArray();
    element.Reset();
    EXPECT_EQ(element.GetLength(), 0u);
    EXPECT_EQ(element.GetSQArray(), nullptr);
    EXPECT_EQ(element.GetTypeCode(), VRCode::US);
    EXPECT_EQ(element.GetTag(), 0x00280010u);
}

struct DisplayCase
{
    const char* name;
    std::uint16_t typeCode;
    Bytes value;
    const char* text;
};

class VRDisplay : public ::testing::TestWithParam<DisplayCase>
{
};

INSTANTIATE_TEST_SUITE_P(
    Codes, VRDisplay,
    ::testing::Values(
        DisplayCase{"CS", VRCode::CS, {'M', 'R'}, "MR"},
        DisplayCase{"UC", VRCode::UC, {'a', 'b'}, "ab"},
        DisplayCase{"UR", VRCode::UR, {'h', ':', '/', ' '}, "h:/ "},
        DisplayCase{"UI", VRCode::UI, {' ', '1', '.', '2', 0, 0}, "1.2"},
        DisplayCase{"AT", VRCode::AT, {0x10, 0, 0x20, 0}, " (0010, 0020) "},
        DisplayCase{"US", VRCode::US, {0, 2, 1, 0}, " 512   1"},
        DisplayCase{"SS", VRCode::SS, {0xFF, 0xFF}, "  -1"},
        DisplayCase{"SL", VRCode::SL, {0xFE, 0xFF, 0xFF, 0xFF}, "  -2"},
        DisplayCase{"UL", VRCode::UL, {0, 0, 0, 0x80}, "2147483648"},
        DisplayCase{"SV", VRCode::SV, {0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "  -3"},
        DisplayCase{"FL", VRCode::FL, {0, 0, 0x80, 0x3F}, "1.000000  "},
        DisplayCase{"OB", VRCode::OB, {1, 0xAB}, "01 ab "},
        DisplayCase{"OW", VRCode::OW, {1, 0xAB}, "ab01 "},
        DisplayCase{"SQ", VRCode::SQ, {}, "Sequence Item"},
        DisplayCase{"UNWord", VRCode::UN, {0x10, 0}, " (16|10)"},
        DisplayCase{"UNLong", VRCode::Unknown, {0x10, 0, 0, 0}, "[16|10]"},
        DisplayCase{"UNText", VRCode::UN, {'a', 'b', 'c', 0, 'd', 'e'}, "abc"},
        DisplayCase{"UNBytes", VRCode::UN, {1, 2, 3, 4, 5, 6}, "01 02 03 04 05 06 "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(VRDisplay, ToStringOfData)
{
    VR element(0x0009, 0x0010);
    element.SetTypeCode(GetParam().typeCode);
    SetBytes(element, GetParam().value);
    EXPECT_STREQ(element.ToStringOfData(), GetParam().text);
}

TEST(VR, DisplayLimitsTheNumberOfValues)
{
    const std::vector<unsigned short> values(20, 1);
    const VR many(0x28, 0x11, values.data(), 20);
    std::string expected;
    for (int i = 0; i < 11; ++i)
    {
        expected += "   1";
    }
    EXPECT_EQ(std::string(many.ToStringOfData()), expected);
}

class VRLine : public DictionaryTest
{
};

TEST_F(VRLine, NamesTheCommandField)
{
    VR command(0x0000, 0x0100, (unsigned short)0x8020);
    const std::string line(command.ToString());
    EXPECT_EQ(line.rfind("(0000, 0100),    2, US, "), 0u) << line;
    EXPECT_NE(line.find("32800 (0x8020)"), std::string::npos) << line;
    EXPECT_TRUE(line.ends_with(" (C-Find-RSP)")) << line;
    command = (unsigned short)7;
    EXPECT_TRUE(std::string(command.ToString()).ends_with("???"));
}

TEST_F(VRLine, TakesCodeAndDescriptionFromTheDictionary)
{
    const VR name(0x0010, 0x0010, "DOE^JOHN");
    const std::string line(name.ToString());
    EXPECT_EQ(line.rfind("(0010, 0010),    8, PN, PatientName"), 0u) << line;
    EXPECT_NE(line.find("PatientName                   , "), std::string::npos) << line;

    const VR unknown(0x0033, 0x0077, "AB");
    EXPECT_EQ(std::string(unknown.ToString()).rfind("(0033, 0077),    2, ?"), 0u);
}

TEST_F(VRLine, NamesKnownUids)
{
    VR syntax(0x0002, 0x0010, UID("1.2.840.10008.1.2"));
    const std::string line(syntax.ToString());
    EXPECT_NE(line.find("1.2.840.10008.1.2 ("), std::string::npos) << line;
}

} // namespace
