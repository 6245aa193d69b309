#include "LettraProbe.h"
#include "WinCodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

TEST(LettraSearch, FindReturnsByteOffsets)
{
    CScopedAnsiPage page(65001);
    const Lettra text("a\xC3\xA9x-bx");
    EXPECT_EQ(text.Find('x'), 3);
    EXPECT_EQ(text.Find('x', 4), 6);
    EXPECT_EQ(text.Find('x', 7), -1);
    EXPECT_EQ(text.Find('x', -5), 3);
    EXPECT_EQ(Lettra().Find('x'), -1);
    EXPECT_EQ(text.Find("bx"), 5);
    EXPECT_EQ(text.Find("x", 4), 6);
    EXPECT_EQ(text.Find("", 7), 7);
    EXPECT_EQ(text.Find("x", 8), -1);
    EXPECT_EQ(text.Find("\xA9"), -1) << "never inside a character";
    EXPECT_EQ(text.FindOneOf("-b"), 4);
    EXPECT_EQ(text.ReverseFind('x'), 6);
    EXPECT_EQ(text.ReverseFind('q'), -1);
}

TEST(LettraSearch, CaseInsensitiveFind)
{
    const Lettra text("Hello World");
    EXPECT_EQ(text.NCFind("WORLD"), 6);
    EXPECT_EQ(text.NCFind('w'), 6);
    EXPECT_EQ(Lettra().NCFind('w'), -1);
    EXPECT_STREQ(text, "Hello World") << "the search works on copies";
}

TEST(LettraSearch, Count)
{
    EXPECT_EQ(Lettra("aaaa").Count("aa"), 2);
    EXPECT_EQ(Lettra("abcabc").Count('b'), 2);
    EXPECT_EQ(Lettra("abc").Count(""), 0);
}

TEST(LettraExtract, MidLeftRight)
{
    const Lettra text("abcdef");
    EXPECT_EQ(text.Mid(0, 6).constBuffer(), text.constBuffer())
        << "the whole text shares the block";
    EXPECT_EQ(text.Left(6).constBuffer(), text.constBuffer());
    EXPECT_EQ(text.Right(10).constBuffer(), text.constBuffer());
    EXPECT_TRUE(text.Mid(11, 3).IsEmpty());
    EXPECT_STREQ(text.Mid(-3, 2), "ab");
    EXPECT_STREQ(text.Mid(4, 10), "ef");
    EXPECT_STREQ(text.Mid(2), "cdef");
    EXPECT_TRUE(text.Mid(2, -1).IsEmpty());
    EXPECT_STREQ(text.Left(2), "ab");
    EXPECT_TRUE(text.Left(-1).IsEmpty());
    EXPECT_STREQ(text.Right(2), "ef");
    EXPECT_STREQ(Lettra("abc12").SpanIncluding("cba"), "abc");
    EXPECT_STREQ(Lettra("abc12").SpanExcluding("21"), "abc");
}

TEST(LettraTrim, TrimsWholeCharacters)
{
    Lettra text(" \t ab c \r\n");
    text.TrimRight();
    EXPECT_STREQ(text, " \t ab c");
    text.TrimLeft();
    EXPECT_STREQ(text, "ab c");
    Lettra marks("xxabxx");
    marks.TrimLeft('x');
    marks.TrimRight('x');
    EXPECT_STREQ(marks, "ab");
    Lettra set("-+ab+-");
    set.TrimRight("+-");
    set.TrimLeft("-+");
    EXPECT_STREQ(set, "ab");
    Lettra untouched("-a");
    untouched.TrimLeft("");
    EXPECT_STREQ(untouched, "-a");
    Lettra accents("\xC3\xA9"
                   "a\xC3\xA9");
    accents.TrimRight("\xC3\xA9");
    EXPECT_STREQ(accents, "\xC3\xA9"
                          "a");
    Lettra shared("  x  ");
    const Lettra copy(shared);
    EXPECT_STREQ(shared.Trim(), "x");
    shared.TrimLeft();
    EXPECT_STREQ(copy, "  x  ");
}

// In a double-byte page the last byte may be the trail of a character:
// only single-byte spaces at the end are cut.
TEST(LettraTrim, TrimRightKeepsATrailingDoubleByteCharacter)
{
    CScopedAnsiPage japanese(932);
    const std::pair<const char*, const char*> cases[] = {
        {"ab\x83\x41", "ab\x83\x41"},
        {"ab\x83\x41 \t ", "ab\x83\x41"},
        {"\x83\x41\x83\x40  ", "\x83\x41\x83\x40"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [text, trimmed] : cases)
    {
        Lettra value(text);
        value.TrimRight();
        EXPECT_STREQ(value, trimmed) << text;
    }
}

// A buffer emptied in place and then shared (as a configuration value read
// with a NUL in it is) is given up for the empty string when either copy is
// written; the write never reaches the read-only empty string.
TEST(LettraTrim, AnEmptiedBufferSharedByTwoCanBeWritten)
{
    const std::pair<const char*, void (*)(Lettra&)> writes[] = {
        {"TrimRight", [](Lettra& t) { t.TrimRight(); }},
        {"TrimLeft", [](Lettra& t) { t.TrimLeft(); }},
        {"Trim", [](Lettra& t) { t = t.Trim(); }},
        {"MakeUpper", [](Lettra& t) { t.MakeUpper(); }},
        {"MakeReverse", [](Lettra& t) { t.MakeReverse(); }},
        {"ReleaseBuffer", [](Lettra& t) { t.ReleaseBuffer(); }},
    };
    for (const auto& [name, write] : writes)
    {
        Lettra emptied;
        emptied.GetBuffer(8);
        emptied.ReleaseBuffer(0);
        Lettra shared(emptied);
        write(shared);
        EXPECT_TRUE(shared.IsEmpty()) << name;
        EXPECT_TRUE(emptied.IsEmpty()) << name;
        shared += "x";
        EXPECT_STREQ(shared, "x") << name;
        EXPECT_STREQ(Lettra(), "") << name;
    }
}

TEST(LettraCase, UpperLowerReverse)
{
    CScopedAnsiPage page(65001);
    Lettra text("ab\xC3\xA9z");
    text.MakeUpper();
    EXPECT_STREQ(text, "AB\xC3\xA9Z");
    text.MakeLower();
    EXPECT_STREQ(text, "ab\xC3\xA9z");
    text.MakeReverse();
    EXPECT_STREQ(text, "z\xC3\xA9"
                       "ba");
    CScopedAnsiPage western1252(1252);
    Lettra western("a\xE9");
    western.MakeUpper();
    EXPECT_STREQ(western, "A\xC9");
}

TEST(LettraCase, OemConversionMayGrowTheText)
{
    CScopedAnsiPage page(65001);
    Lettra text("\xC3\xA9t\xC3\xA9");
    text.CharToOemA();
    EXPECT_STREQ(text, "\x82t\x82");
    text.OemToCharA();
    EXPECT_STREQ(text, "\xC3\xA9t\xC3\xA9");
}

TEST(LettraEdit, InsertAndDelete)
{
    Lettra text("ab");
    EXPECT_EQ(text.Insert(100, 'x'), 3);
    EXPECT_STREQ(text, "abx");
    EXPECT_EQ(text.Insert(-4, "12"), 5);
    EXPECT_STREQ(text, "12abx");
    EXPECT_EQ(text.Insert(2, ""), 5);
    EXPECT_EQ(text.Insert(2, text.constBuffer()), 10);
    EXPECT_STREQ(text, "1212abxabx");
    Lettra letters("abcdefg");
    EXPECT_EQ(letters.Delete(2, 3), 7);
    EXPECT_STREQ(letters, "abfg");
    EXPECT_EQ(letters.Delete(9, 1), 4);
    EXPECT_EQ(letters.Delete(1, 0), 4);
    EXPECT_EQ(letters.Delete(2, 50), 4);
    EXPECT_STREQ(letters, "ab") << "a count past the end stops at the end";
}

TEST(LettraEdit, ReplaceCharactersAndTexts)
{
    Lettra text("ababab");
    EXPECT_EQ(text.Replace("ab", "xyz"), 3);
    EXPECT_STREQ(text, "xyzxyzxyz");
    EXPECT_EQ(text.Replace("", "x"), 0);
    EXPECT_EQ(text.Replace("q", "x"), 0);
    EXPECT_EQ(text.Replace('y', 'Y'), 3);
    EXPECT_STREQ(text, "xYzxYzxYz");
    EXPECT_EQ(text.Replace('x', 'x'), 0);
    EXPECT_EQ(text.Remove("Y"), 3);
    EXPECT_STREQ(text, "xzxzxz");
    EXPECT_EQ(text.Remove('z'), 3);
    EXPECT_STREQ(text, "xxx");
}

TEST(LettraEdit, ReplaceSeesPastEmbeddedNuls)
{
    Lettra text("ab\0ab", 5);
    EXPECT_EQ(text.Replace("ab", "c"), 2);
    EXPECT_EQ(std::string(text.constBuffer(), static_cast<std::size_t>(text.GetLength())),
              std::string("c\0c", 3));
}

TEST(LettraEdit, ReplaceOnASharedStringLeavesTheOther)
{
    Lettra a("a-b");
    const Lettra b(a);
    a.Replace('-', '+');
    a.Replace("a", "A");
    EXPECT_STREQ(a, "A+b");
    EXPECT_STREQ(b, "a-b");
}

TEST(LettraEdit, RemoveClasses)
{
    Lettra text(" a,b\tc!\x01");
    EXPECT_EQ(text.RemoveSpace(), 2);
    EXPECT_EQ(text.RemovePunctuation(), 2);
    EXPECT_EQ(text.RemoveControl(), 1);
    EXPECT_STREQ(text, "abc");
}

TEST(LettraEdit, NCRemoveAndReplaceTabs)
{
    Lettra text("xabyAbz");
    EXPECT_EQ(text.NCRemove("AB"), 2);
    EXPECT_STREQ(text, "xyz");
    EXPECT_EQ(text.NCRemove('Y'), 1);
    EXPECT_STREQ(text, "xz");
    EXPECT_EQ(text.NCRemove(""), 0);
    Lettra tabs("a\tb");
    EXPECT_EQ(tabs.ReplaceTabs(4), 1);
    EXPECT_STREQ(tabs, "a   b");
    Lettra two("\tab\tc");
    EXPECT_EQ(two.ReplaceTabs(4), 2);
    EXPECT_STREQ(two, "    ab  c");
    EXPECT_EQ(two.ReplaceTabs(0), 0);
}
