#include "AfxString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
TEST(CStringTest, ConstructsFromTextCharactersAndNull)
{
    EXPECT_STREQ(CString("abc"), "abc");
    EXPECT_STREQ(CString("abcdef", 3), "abc");
    EXPECT_STREQ(CString('x', 3), "xxx");
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString("abc").GetLength(), 3);
}

TEST(CStringTest, ExtractsByBytePositionWithClamping)
{
    const CString str("Hello, world");
    EXPECT_STREQ(str.Mid(7), "world");
    EXPECT_STREQ(str.Mid(7, 3), "wor");
    EXPECT_STREQ(str.Mid(20), "");
    EXPECT_STREQ(str.Mid(-3, 2), "He");
    EXPECT_STREQ(str.Left(5), "Hello");
    EXPECT_STREQ(str.Left(50), "Hello, world");
    EXPECT_STREQ(str.Right(5), "world");
    EXPECT_STREQ(str.Right(-1), "");
    EXPECT_EQ(str.GetAt(4), 'o');
    EXPECT_EQ(str.GetAt(40), '\0');
}

TEST(CStringTest, FindsCharactersAndSubstrings)
{
    const CString str("a.b.c");
    EXPECT_EQ(str.Find('.'), 1);
    EXPECT_EQ(str.Find('.', 2), 3);
    EXPECT_EQ(str.Find('x'), -1);
    EXPECT_EQ(str.Find("b.c"), 2);
    EXPECT_EQ(str.Find("", 5), 5);
    EXPECT_EQ(str.Find("a", 9), -1);
    EXPECT_EQ(str.ReverseFind('.'), 3);
    EXPECT_EQ(str.FindOneOf("cb"), 2);
    EXPECT_STREQ(CString("123abc").SpanIncluding("0123456789"), "123");
    EXPECT_STREQ(CString("key=value").SpanExcluding("="), "key");
}

TEST(CStringTest, ComparesBytewiseAndWithoutCase)
{
    EXPECT_EQ(CString("abc").Compare("abd"), -1);
    EXPECT_EQ(CString("abc").Compare("abc"), 0);
    EXPECT_EQ(CString("b").Compare("B"), 1);
    EXPECT_EQ(CString("Image").CompareNoCase("IMAGE"), 0);
    EXPECT_LT(CString("alpha").CompareNoCase("BETA"), 0);
    EXPECT_TRUE(CString("x") == "x");
    EXPECT_TRUE("x" == CString("x"));
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_TRUE(CString("a") != "b");
}

TEST(CStringTest, ChangesCaseAndOrder)
{
    CString str("MixEd 1");
    EXPECT_STREQ(str.MakeUpper(), "MIXED 1");
    EXPECT_STREQ(str.MakeLower(), "mixed 1");
    EXPECT_STREQ(str.MakeReverse(), "1 dexim");
}

TEST(CStringTest, TrimsWhitespaceAndChosenCharacters)
{
    struct Case
    {
        LPCSTR pszInput;
        LPCSTR pszTargets;
        LPCSTR pszLeft;
        LPCSTR pszRight;
        LPCSTR pszBoth;
    };
    const Case kCases[] = {
        {"  a b \t\r\n", nullptr, "a b \t\r\n", "  a b", "a b"},
        {"xxaxx", "x", "axx", "xxa", "a"},
        {"-=a=-", "=-", "a=-", "-=a", "a"},
        {"   ", nullptr, "", "", ""},
    };
    for (const Case& c : kCases)
    {
        CString strLeft(c.pszInput), strRight(c.pszInput), strBoth(c.pszInput);
        if (c.pszTargets == nullptr)
        {
            strLeft.TrimLeft();
            strRight.TrimRight();
            strBoth.Trim();
        }
        else
        {
            strLeft.TrimLeft(c.pszTargets);
            strRight.TrimRight(c.pszTargets);
            strBoth.Trim(c.pszTargets);
        }
        EXPECT_STREQ(strLeft, c.pszLeft) << c.pszInput;
        EXPECT_STREQ(strRight, c.pszRight) << c.pszInput;
        EXPECT_STREQ(strBoth, c.pszBoth) << c.pszInput;
    }
}

TEST(CStringTest, TrimsWholeMultibyteCharactersOnly)
{
    // "é" is C3 A9 in UTF-8: trimming "\xA9" must not cut its trail byte.
    CString str("caf\xC3\xA9");
    str.TrimRight("\xA9");
    EXPECT_STREQ(str, "caf\xC3\xA9");
    str.TrimRight("\xC3\xA9");
    EXPECT_STREQ(str, "caf");
}

TEST(CStringTest, EditsInPlace)
{
    CString str("a-b-c");
    EXPECT_EQ(str.Replace('-', '+'), 2);
    EXPECT_STREQ(str, "a+b+c");
    EXPECT_EQ(str.Replace("+", "--"), 2);
    EXPECT_STREQ(str, "a--b--c");
    EXPECT_EQ(str.Replace("", "x"), 0);
    EXPECT_EQ(str.Remove('-'), 4);
    EXPECT_STREQ(str, "abc");
    EXPECT_EQ(str.Insert(1, '_'), 4);
    EXPECT_EQ(str.Insert(99, "!"), 5);
    EXPECT_STREQ(str, "a_bc!");
    EXPECT_EQ(str.Delete(1, 2), 3);
    EXPECT_STREQ(str, "ac!");
    str.SetAt(0, 'A');
    EXPECT_STREQ(str, "Ac!");
    EXPECT_STREQ(CString("ab") + 'c' + "d" + CString("e"), "abcde");
}

TEST(CStringTest, FormatsWithWindowsConventions)
{
    CString str;
    str.Format("%d-%s-%05.1f", 42, "x", 3.14159);
    EXPECT_STREQ(str, "42-x-003.1");
    str.AppendFormat("[%ld]", 7L);
    EXPECT_STREQ(str, "42-x-003.1[7]");
    str.Format("%I64d", static_cast<LONGLONG>(1) << 40);
    EXPECT_STREQ(str, "1099511627776");
    str.Format("%s", std::string(5000, 'z').c_str());
    EXPECT_EQ(str.GetLength(), 5000);
    const CString strName("pane");
    str.Format("%s:%d:%s", strName, 3, static_cast<LPCSTR>(strName));
    EXPECT_STREQ(str, "pane:3:pane");
    str.Format("no arguments");
    EXPECT_STREQ(str, "no arguments");
}

TEST(CStringTest, BufferRoundTrip)
{
    CString str("abc");
    char* pBuffer = str.GetBuffer(10);
    std::strcpy(pBuffer, "longer text");
    str.ReleaseBuffer();
    EXPECT_STREQ(str, "longer text");

    pBuffer = str.GetBuffer(0);
    pBuffer[3] = '\0';
    str.ReleaseBuffer();
    EXPECT_STREQ(str, "lon");

    pBuffer = str.GetBufferSetLength(2);
    EXPECT_EQ(str.GetLength(), 2);
    str.ReleaseBuffer(1);
    EXPECT_STREQ(str, "l");
}

TEST(CStringTest, TokenizesAcrossRunsOfDelimiters)
{
    const CString str(",a,,b c,");
    int nPosition = 0;
    EXPECT_STREQ(str.Tokenize(", ", nPosition), "a");
    EXPECT_STREQ(str.Tokenize(", ", nPosition), "b");
    EXPECT_STREQ(str.Tokenize(", ", nPosition), "c");
    EXPECT_STREQ(str.Tokenize(", ", nPosition), "");
    EXPECT_EQ(nPosition, -1);
}
} // namespace
