#include "LettraProbe.h"
#include "WinCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

std::string Bytes(const Lettra& text)
{
    return std::string(text.constBuffer(), static_cast<std::size_t>(text.GetLength()));
}

} // namespace

TEST(LettraParse, IntReadsDecimalThenHexadecimal)
{
    EXPECT_EQ(Lettra("0x1A").Int(), 26);
    EXPECT_EQ(Lettra("1A").Int(), 1);
    EXPECT_EQ(Lettra("A1").Int(), 161);
    EXPECT_EQ(Lettra("").Int(), 0);
    EXPECT_EQ(Lettra(" -42").Int(), -42);
    EXPECT_EQ(Lettra("99999999999").Int(), 2147483647) << "kept within 32 bits";
    EXPECT_EQ(Lettra("FFFFFFFFFF").Long(), 2147483647L);
    EXPECT_EQ(Lettra("12").Long(), 12L);
}

TEST(LettraParse, DoubleRefusesWhatTheWindowsRuntimeRefuses)
{
    EXPECT_DOUBLE_EQ(Lettra("2.5e1").Double(), 25.0);
    EXPECT_DOUBLE_EQ(Lettra(" -.5").Double(), -0.5);
    EXPECT_DOUBLE_EQ(Lettra("inf").Double(), 0.0);
    EXPECT_DOUBLE_EQ(Lettra("nan").Double(), 0.0);
    EXPECT_DOUBLE_EQ(Lettra("0x1p3").Double(), 0.0);
    EXPECT_DOUBLE_EQ(Lettra("abc").Double(), 0.0);
}

TEST(LettraParse, BoolReadsNumbersAndWords)
{
    EXPECT_TRUE(Lettra("Yes").Bool());
    EXPECT_TRUE(Lettra(" on ").Bool());
    EXPECT_TRUE(Lettra("TRUE").Bool());
    EXPECT_FALSE(Lettra("on1").Bool());
    EXPECT_TRUE(Lettra("0x10").Bool());
    EXPECT_FALSE(Lettra("maybe").Bool());
    EXPECT_FALSE(Lettra("0").Bool());
    EXPECT_FALSE(Lettra().Bool());
}

TEST(LettraClasses, SingleBytesAndWholeTexts)
{
    const Lettra text("a1 B\xC3\xA9");
    EXPECT_TRUE(text.IsAlpha(0));
    EXPECT_TRUE(text.IsDigit(1));
    EXPECT_TRUE(text.IsSpace(2));
    EXPECT_TRUE(text.IsUpper(3));
    EXPECT_TRUE(text.IsLower(0));
    EXPECT_TRUE(text.IsAlNum(1));
    EXPECT_FALSE(text.IsAlpha(4)) << "bytes from 0x80 have no class";
    EXPECT_FALSE(text.IsDigit(40));
    EXPECT_TRUE(Lettra("123").IsDigit());
    EXPECT_FALSE(Lettra("12a").IsDigit());
    EXPECT_TRUE(Lettra("ab1").IsAlNum());
    EXPECT_TRUE(Lettra("ab").IsAlpha());
    EXPECT_TRUE(Lettra("AB").IsUpper());
    EXPECT_TRUE(Lettra("ab").IsLower());
    EXPECT_TRUE(Lettra(" \t").IsSpace());
    EXPECT_TRUE(Lettra().IsDigit());
}

TEST(LettraConvert, UnicodeRoundTrip)
{
    CScopedAnsiPage page(65001);
    Lettra text("ab");
    ASSERT_TRUE(text.ToUnicode());
    EXPECT_EQ(text.GetLength(), 4);
    EXPECT_EQ(Bytes(text), std::string("a\0b\0", 4));
    ASSERT_TRUE(text.FromUnicode());
    EXPECT_STREQ(text, "ab");
    Lettra accent("\xC3\xA9");
    ASSERT_TRUE(accent.ToUnicode());
    EXPECT_EQ(Bytes(accent), std::string("\xE9\0", 2));
    Lettra empty;
    EXPECT_FALSE(empty.ToUnicode());
    EXPECT_FALSE(empty.FromUnicode());
}

TEST(LettraConvert, CharacterSets)
{
    CScopedAnsiPage page(65001);
    Lettra text("\xC3\xA9t\xC3\xA9");
    ASSERT_TRUE(text.ToCharacterSet(1252));
    EXPECT_STREQ(text, "\xE9t\xE9");
    ASSERT_TRUE(text.FromCharacterSet(1252));
    EXPECT_STREQ(text, "\xC3\xA9t\xC3\xA9");
    EXPECT_FALSE(text.ToCharacterSet(4242));
    EXPECT_STREQ(text, "\xC3\xA9t\xC3\xA9");
    Lettra empty;
    EXPECT_FALSE(empty.ToCharacterSet(1252));
    Lettra chinese("\xE4\xB8\xAD");
    ASSERT_TRUE(chinese.ToCharacterSet(936));
    EXPECT_STREQ(chinese, "\xD6\xD0");
}

TEST(LettraConvert, Utf16TextIsConvertedToTheAnsiPage)
{
    CScopedAnsiPage page(65001);
    EXPECT_STREQ(Lettra(u"h\u00E9"), "h\xC3\xA9");
    Lettra text("old");
    text = u"\u20AC";
    EXPECT_STREQ(text, "\xE2\x82\xAC");
    text = static_cast<const WCHAR*>(nullptr);
    EXPECT_TRUE(IsSharedEmpty(text));
    text = u"";
    EXPECT_TRUE(text.IsEmpty());
}

TEST(LettraConvert, SystemStrings)
{
    CScopedAnsiPage page(65001);
    const Lettra text("h\xC3\xA9");
    BSTR string = text.AllocSysString();
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(SysStringLen(string), 2u);
    EXPECT_EQ(std::u16string(string), u"h\u00E9");
    EXPECT_EQ(Lettra("xyz").SetSysString(&string), string);
    EXPECT_EQ(std::u16string(string), u"xyz");
    SysFreeString(string);
    BSTR empty = Lettra().AllocSysString();
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    SysFreeString(empty);
}

struct ElementsCase
{
    const char* text;
    int from;
    int to;
    const char* expected;
};

class LettraElements : public ::testing::TestWithParam<ElementsCase>
{
};

TEST_P(LettraElements, KeepsTheWantedNumberOfElements)
{
    const ElementsCase& c = GetParam();
    EXPECT_STREQ(Lettra(c.text).Elements(c.from, c.to, ','), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LettraElements,
    ::testing::Values(ElementsCase{"a,b", 1, 3, "b,,"}, ElementsCase{"a,b,", 0, -1, "a,b,"},
                      ElementsCase{"a,b,c", 0, 1, "a,b"}, ElementsCase{"a,b", 5, 5, ""},
                      ElementsCase{",x", 0, 0, ""}, ElementsCase{"a,b,c", 1, 1, "b"},
                      ElementsCase{"a,b,c", 2, 2, "c"}, ElementsCase{"a,", 1, 1, ""},
                      ElementsCase{"a,b", 2, 4, ",,"}, ElementsCase{"a,b", -1, 2, ""},
                      ElementsCase{"a,b", 1, 0, ""}, ElementsCase{"", 0, 0, ""}));

TEST(LettraElements, ElementAndIndexOf)
{
    const Lettra list("a,b,c");
    EXPECT_STREQ(list.Element(1, ','), "b");
    EXPECT_EQ(list.IndexOfElement("c", ','), 2);
    EXPECT_EQ(list.IndexOfElement("d", ','), -1);
    EXPECT_EQ(list.IndexOfElement('b', ','), 1);
    EXPECT_EQ(Lettra("1;0x7;7").IndexOfElement(7, ';'), 1);
    EXPECT_EQ(Lettra("1.5|2.5").IndexOfElement(2.5, '|'), 1);
    EXPECT_EQ(Lettra("no|yes").IndexOfElement(true, '|'), 1);
    EXPECT_EQ(Lettra("no|yes").IndexOfElement(false, '|'), 0);
}

TEST(LettraSimilar, LongestCommonSubsequenceOverOwnLength)
{
    EXPECT_FLOAT_EQ(Lettra("axbxc").Similar("abc"), 0.6f);
    EXPECT_FLOAT_EQ(Lettra().Similar("abc"), 0.0f);
    EXPECT_FLOAT_EQ(Lettra("abc").Similar(""), 0.0f);
    EXPECT_FLOAT_EQ(Lettra("abc").Similar(Lettra("abc")), 1.0f);
    EXPECT_FLOAT_EQ(Lettra("abcd").Similar("xyz"), 0.0f);
}
