#include "WinCodePage.h"
#include "ScopedCodePage.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace
{

std::u16string ToWide(UINT codePage, const std::string& bytes, DWORD flags = 0)
{
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    if (length > 0)
    {
        EXPECT_EQ(MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                                      wide.data(), length),
                  length);
    }
    return wide;
}

std::string ToBytes(UINT codePage, const std::u16string& wide, LPCSTR defaultChar = nullptr,
                    BOOL* usedDefault = nullptr)
{
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, defaultChar, usedDefault);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    if (length > 0)
    {
        EXPECT_EQ(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                      bytes.data(), length, defaultChar, usedDefault),
                  length);
    }
    return bytes;
}

} // namespace

TEST(WinCodePage, AnsiPageIsUtf8UnlessTheEnvironmentNamesAnother)
{
    if (std::getenv("PLATFORM_ACP") != nullptr)
        GTEST_SKIP() << "PLATFORM_ACP is set";
    EXPECT_EQ(GetACP(), 65001u);
    EXPECT_EQ(GetOEMCP(), 437u);
}

TEST(WinCodePage, SwitchingPagesRefusesUnknownPages)
{
    const UINT before = GetACP();
    EXPECT_FALSE(PlatformSetACP(12345));
    EXPECT_EQ(GetACP(), before);
    CScopedCodePage page(936);
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(GetOEMCP(), 936u) << "a double-byte ANSI page is its own OEM page";
}

struct DecodeCase
{
    UINT codePage;
    std::string bytes;
    std::u16string wide;
};

class WinCodePageDecode : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(WinCodePageDecode, ConvertsBothWays)
{
    const DecodeCase& c = GetParam();
    EXPECT_EQ(ToWide(c.codePage, c.bytes), c.wide);
    EXPECT_EQ(ToBytes(c.codePage, c.wide), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WinCodePageDecode,
    ::testing::Values(DecodeCase{65001, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
                                 u"a\u00E9\u20AC\U0001F600"},
                      DecodeCase{1252, "a\x80\xE9\x81", u"a\u20AC\u00E9\u0081"},
                      DecodeCase{437, "\x82\xE1", u"\u00E9\u00DF"},
                      DecodeCase{936, "a\xD6\xD0\xCE\xC4", u"a\u4E2D\u6587"},
                      DecodeCase{932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"}));

TEST(WinCodePage, EverySingleByteRoundTrips)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToBytes(1252, ToWide(1252, all)), all);
}

TEST(WinCodePage, AnsiAliasesFollowTheProcessPage)
{
    CScopedCodePage page(1252);
    EXPECT_EQ(ToWide(CP_ACP, "\xE9"), u"\u00E9");
    EXPECT_EQ(ToWide(CP_THREAD_ACP, "\xE9"), u"\u00E9");
    EXPECT_EQ(ToWide(CP_OEMCP, "\x82"), u"\u00E9");
}

TEST(WinCodePage, MinusOneLengthIncludesTheNul)
{
    WCHAR wide[8] = {};
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 8), 3);
    EXPECT_EQ(wide[2], u'\0');
    char bytes[8] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"ab", -1, bytes, 8, nullptr, nullptr), 3);
    EXPECT_STREQ(bytes, "ab");
}

TEST(WinCodePage, TooSmallBufferFailsWithoutWriting)
{
    WCHAR wide[2] = {u'z', u'z'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(wide[0], u'z');
    char bytes[2];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E9", 1, bytes, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WinCodePage, BadArgumentsFail)
{
    WCHAR wide[4];
    struct Case
    {
        UINT codePage;
        const char* source;
        int length;
        DWORD flags;
        DWORD error;
    };
    const Case cases[] = {{CP_UTF8, "a", 0, 0, ERROR_INVALID_PARAMETER},
                          {CP_UTF8, nullptr, 1, 0, ERROR_INVALID_PARAMETER},
                          {CP_UTF8, "a", -2, 0, ERROR_INVALID_PARAMETER},
                          {4242, "a", 1, 0, ERROR_INVALID_PARAMETER},
                          {CP_UTF8, "a", 1, MB_PRECOMPOSED, ERROR_INVALID_FLAGS}};
    for (const Case& c : cases)
    {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(c.codePage, c.flags, c.source, c.length, wide, 4), 0);
        EXPECT_EQ(GetLastError(), c.error);
    }
    char byte = 0;
    BOOL used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, &byte, 1, "?", nullptr), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, &byte, 1, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WinCodePage, InvalidUtf8BecomesReplacementOrFailsWhenAsked)
{
    EXPECT_EQ(ToWide(CP_UTF8, "\xC3("), u"\uFFFD(");
    EXPECT_EQ(ToWide(CP_UTF8, "\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD") << "overlong form";
    EXPECT_EQ(ToWide(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogate";
    WCHAR wide[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3(", 2, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(WinCodePage, LoneSurrogateBecomesReplacementOrFailsWhenAsked)
{
    const char16_t lone[] = {0xD800, u'a'};
    EXPECT_EQ(ToBytes(CP_UTF8, std::u16string(lone, 2)), "\xEF\xBF\xBD"
                                                         "a");
    char bytes[8];
    EXPECT_EQ(
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 2, bytes, 8, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(WinCodePage, UnmappableCharactersUseTheDefaultCharacter)
{
    BOOL used = FALSE;
    EXPECT_EQ(ToBytes(1252, u"a\u4E2D", nullptr, &used), "a?");
    EXPECT_TRUE(used);
    EXPECT_EQ(ToBytes(1252, u"a\u4E2D", "*", &used), "a*");
    EXPECT_EQ(ToBytes(1252, u"ab", "*", &used), "ab");
    EXPECT_FALSE(used);
    EXPECT_EQ(ToBytes(936, u"\U0001F600"), "?");
}

TEST(WinCodePage, OemConversionInPlaceStaysWithinTheSource)
{
    CScopedCodePage page(65001);
    char text[] = "\xC3\xA9t\xC3\xA9";
    ASSERT_TRUE(CharToOemA(text, text));
    EXPECT_STREQ(text, "\x82t\x82");
    char grown[16] = {};
    ASSERT_TRUE(OemToCharA("\x82t\x82", grown));
    EXPECT_STREQ(grown, "\xC3\xA9t\xC3\xA9");
    char inPlace[] = "a\x82";
    ASSERT_TRUE(OemToCharA(inPlace, inPlace));
    EXPECT_STREQ(inPlace, "a") << "the two-byte result of the second character does not fit";
    EXPECT_FALSE(CharToOemA(nullptr, grown));
}

TEST(WinCodePage, BufferFormsConvertTheGivenLength)
{
    CScopedCodePage page(65001);
    char out[16] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    ASSERT_TRUE(OemToCharBuffA("\x82\x82", out, 1));
    EXPECT_EQ(std::string(out, 3), "\xC3\xA9x") << "no NUL is added";
    ASSERT_TRUE(CharToOemBuffA("\xC3\xA9", out, 3));
    EXPECT_STREQ(out, "\x82");
}
