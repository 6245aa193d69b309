#include "WinMbString.h"
#include "ScopedCodePage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

const unsigned char* U(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

// Offset of a result pointer, -1 for null.
long Offset(const char* text, const unsigned char* found)
{
    return found == nullptr ? -1 : static_cast<long>(found - U(text));
}

std::string Apply(const char* text, unsigned char* (*function)(unsigned char*))
{
    std::string copy(text);
    function(reinterpret_cast<unsigned char*>(copy.data()));
    return copy;
}

} // namespace

struct LengthCase
{
    UINT codePage;
    const char* text;
    std::size_t length;
};

class WinMbStringLength : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(WinMbStringLength, StepsOverWholeCharacters)
{
    const LengthCase& c = GetParam();
    CScopedCodePage page(c.codePage);
    EXPECT_EQ(_mbclen(U(c.text)), c.length);
    EXPECT_EQ(_mbsinc(U(c.text)), U(c.text) + c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WinMbStringLength,
    ::testing::Values(LengthCase{65001, "a", 1}, LengthCase{65001, "\xC3\xA9", 2},
                      LengthCase{65001, "\xE2\x82\xAC", 3},
                      LengthCase{65001, "\xF0\x9F\x98\x80", 4}, LengthCase{65001, "\xC3", 1},
                      LengthCase{65001, "\xC3(", 1}, LengthCase{65001, "\xE0\x80\x80", 1},
                      LengthCase{65001, "\xF4\x90\x80\x80", 1}, LengthCase{65001, "\xA9", 1},
                      LengthCase{1252, "\xC3\xA9", 1}, LengthCase{936, "\xD6\xD0", 2},
                      LengthCase{936, "\xD6", 1}, LengthCase{936, "\x80", 1},
                      LengthCase{936, "\x81\x5C", 2}));

TEST(WinMbString, LeadBytesFollowThePage)
{
    {
        CScopedCodePage page(65001);
        EXPECT_TRUE(_ismbblead(0xC3));
        EXPECT_FALSE(_ismbblead(0x80));
        EXPECT_FALSE(_ismbblead('a'));
    }
    {
        CScopedCodePage page(1252);
        EXPECT_FALSE(_ismbblead(0xC3));
    }
    CScopedCodePage page(936);
    EXPECT_TRUE(_ismbblead(0x81));
    EXPECT_FALSE(_ismbblead(0x80));
    EXPECT_FALSE(_ismbblead(0x1234));
}

TEST(WinMbString, SearchSkipsTrailBytesOfDoubleByteCharacters)
{
    CScopedCodePage page(936);
    const char* text = "\x81\x5C\\x\x81\x5C";
    EXPECT_EQ(Offset(text, _mbschr(U(text), '\\')), 2);
    EXPECT_EQ(Offset(text, _mbsrchr(U(text), '\\')), 2);
    EXPECT_EQ(Offset(text, _mbschr(U(text), 0x815C)), 0);
    EXPECT_EQ(Offset(text, _mbsrchr(U(text), 0x815C)), 4);
    EXPECT_EQ(Offset(text, _mbsstr(U(text), U("\\"))), 2);
    EXPECT_EQ(Offset(text, _mbspbrk(U(text), U("x\\"))), 2);
    EXPECT_EQ(_mbscspn(U(text), U("\\")), 2u);
    EXPECT_EQ(_mbsspn(U(text), U("\x81\x5C")), 2u);
}

TEST(WinMbString, SearchInUtf8MatchesOnlyAtCharacterStarts)
{
    CScopedCodePage page(65001);
    const char* text = "a\xC3\xA9x\xC3\xA9";
    EXPECT_EQ(Offset(text, _mbschr(U(text), 'x')), 3);
    EXPECT_EQ(Offset(text, _mbschr(U(text), 0xC3A9)), 1);
    EXPECT_EQ(Offset(text, _mbsrchr(U(text), 0xC3A9)), 4);
    EXPECT_EQ(Offset(text, _mbschr(U(text), 0)), 6);
    EXPECT_EQ(Offset(text, _mbsstr(U(text), U("\xA9"))), -1)
        << "a continuation byte inside a character";
    EXPECT_EQ(Offset(text, _mbsstr(U(text), U("x\xC3"))), 3);
    EXPECT_EQ(Offset(text, _mbsstr(U(text), U(""))), 0);
    EXPECT_EQ(Offset(text, _mbspbrk(U(text), U("\xC3\xA9"))), 1);
    EXPECT_EQ(Offset(text, _mbspbrk(U(text), U("\xA9"))), -1);
    EXPECT_EQ(_mbsspn(U(text), U("a\xC3\xA9")), 3u);
    EXPECT_EQ(_mbscspn(U(text), U("x")), 3u);
}

TEST(WinMbString, CaseMappingCoversThePageLetters)
{
    {
        CScopedCodePage page(65001);
        EXPECT_EQ(Apply("a\xC3\xA9z", _mbsupr), "A\xC3\xA9Z") << "UTF-8: ASCII letters only";
        EXPECT_EQ(Apply("A\xC3\x89Z", _mbslwr), "a\xC3\x89z");
        EXPECT_NE(_mbsicmp(U("\xC3\xA9"), U("\xC3\x89")), 0);
    }
    CScopedCodePage page(1252);
    EXPECT_EQ(Apply("a\xE9z", _mbsupr), "A\xC9Z");
    EXPECT_EQ(Apply("A\xC9Z", _mbslwr), "a\xE9z");
    EXPECT_EQ(_mbsicmp(U("ab\xE9"), U("AB\xC9")), 0);
}

TEST(WinMbString, DoubleByteTrailsAreNotCaseMapped)
{
    CScopedCodePage page(936);
    EXPECT_EQ(Apply("a\x81\x61", _mbsupr), "A\x81\x61");
}

TEST(WinMbString, ComparisonOrdersByBytesAndIgnoresCaseWhenAsked)
{
    CScopedCodePage page(65001);
    EXPECT_LT(_mbscmp(U("abc"), U("abd")), 0);
    EXPECT_GT(_mbscmp(U("\xC3\xA9"), U("z")), 0);
    EXPECT_EQ(_mbscmp(U("abc"), U("abc")), 0);
    EXPECT_EQ(_mbsicmp(U("Hello"), U("hELLO")), 0);
    EXPECT_LT(_mbsicmp(U("abc"), U("ABCD")), 0);
    EXPECT_GT(_mbsicmp(U("b"), U("A")), 0);
    EXPECT_LT(_mbscoll(U("a"), U("b")), 0);
    EXPECT_EQ(_mbsicoll(U("ABC"), U("abc")), 0);
}

TEST(WinMbString, ReverseKeepsCharactersWhole)
{
    {
        CScopedCodePage page(65001);
        EXPECT_EQ(Apply("a\xC3\xA9\xE2\x82\xAC", _mbsrev), "\xE2\x82\xAC\xC3\xA9"
                                                           "a");
    }
    CScopedCodePage page(936);
    EXPECT_EQ(Apply("x\xD6\xD0y", _mbsrev), "y\xD6\xD0x");
}

TEST(WinMbString, SpaceIsAsciiWhiteSpace)
{
    for (unsigned ch : {0x20u, 0x09u, 0x0Au, 0x0Bu, 0x0Cu, 0x0Du})
        EXPECT_TRUE(_ismbcspace(ch)) << ch;
    for (unsigned ch : {0x61u, 0u, 0xA0u, 0x3000u})
        EXPECT_FALSE(_ismbcspace(ch)) << ch;
}
