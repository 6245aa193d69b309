#include "WinPrintf.h"
#include "ScopedCodePage.h"
#include "WinTypes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace
{

// Formats into a large buffer; the result is checked against the exact
// length the formatter reports.
std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = _vsnprintf(buffer, sizeof(buffer), format, args);
    const int counted = _vscprintf(format, copy);
    va_end(copy);
    va_end(args);
    EXPECT_EQ(length, counted);
    return length < 0 ? "<overflow>" : std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

TEST(WinPrintf, LongIsThirtyTwoBits)
{
    EXPECT_EQ(Format("%ld %d", static_cast<LONG>(-1), 7), "-1 7");
    EXPECT_EQ(Format("%lu", static_cast<DWORD>(4000000000u)), "4000000000");
    EXPECT_EQ(Format("%lx|%lX", static_cast<DWORD>(0xDEADBEEF), static_cast<DWORD>(255)),
              "deadbeef|FF");
    EXPECT_EQ(Format("%I32d", -42), "-42");
}

TEST(WinPrintf, SixtyFourBitPrefixesReadSixtyFourBits)
{
    EXPECT_EQ(Format("%I64d", static_cast<LONGLONG>(LLONG_MIN)), "-9223372036854775808");
    EXPECT_EQ(Format("%I64u %d", static_cast<ULONGLONG>(1) << 40, 3), "1099511627776 3");
    EXPECT_EQ(Format("%I64X", static_cast<ULONGLONG>(0xABCDEF0123ULL)), "ABCDEF0123");
    EXPECT_EQ(Format("%lld", -5LL), "-5");
    EXPECT_EQ(Format("%Iu", static_cast<std::size_t>(1) << 33), "8589934592");
}

TEST(WinPrintf, WideTextIsSixteenBitsInTheAnsiPage)
{
    CScopedCodePage page(65001);
    EXPECT_EQ(Format("%ls|%S|%ws", u"h\u00E9", u"ab", u"\u20AC"), "h\xC3\xA9|ab|\xE2\x82\xAC");
    EXPECT_EQ(Format("%hs|%s", "n", "m"), "n|m");
    EXPECT_EQ(Format("[%-5ls]", u"ab"), "[ab   ]");
    EXPECT_EQ(Format("[%.2ls]", u"abc"), "[ab]");
    EXPECT_EQ(Format("%lc%C%c", u'\u00E9', u'x', 'y'), "\xC3\xA9xy");
    EXPECT_EQ(Format("%ls", static_cast<const char16_t*>(nullptr)), "(null)");
}

TEST(WinPrintf, WideTextFollowsASingleBytePage)
{
    CScopedCodePage page(1252);
    EXPECT_EQ(Format("%ls", u"\u00E9\u4E2D"), "\xE9?");
}

TEST(WinPrintf, PrecisionNeverCutsAMultibyteCharacter)
{
    CScopedCodePage page(65001);
    EXPECT_EQ(Format("[%.2ls]", u"\u00E9\u00E9"), "[\xC3\xA9]");
}

struct FormatCase
{
    const char* format;
    int value;
    const char* expected;
};

class WinPrintfInteger : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(WinPrintfInteger, MatchesPrintf)
{
    EXPECT_EQ(Format(GetParam().format, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, WinPrintfInteger,
    ::testing::Values(FormatCase{"%5d|", 42, "   42|"}, FormatCase{"%-5d|", 42, "42   |"},
                      FormatCase{"%05d", -42, "-0042"}, FormatCase{"%+d", 42, "+42"},
                      FormatCase{"% d", 42, " 42"}, FormatCase{"%#x", 255, "0xff"},
                      FormatCase{"%#010x", 255, "0x000000ff"}, FormatCase{"%#o", 8, "010"},
                      FormatCase{"%.3d", 7, "007"}, FormatCase{"%08.3d", 7, "     007"},
                      FormatCase{"%hd", 65537, "1"}, FormatCase{"%hhu", 257, "1"},
                      FormatCase{"%i", -3, "-3"}, FormatCase{"%u", -1, "4294967295"},
                      FormatCase{"%0x", 0x1F, "1f"}));

TEST(WinPrintf, FloatsStringsAndOthers)
{
    EXPECT_EQ(Format("%08.3f", -3.14159), "-003.142");
    EXPECT_EQ(Format("%e", 12345.678), "1.234568e+04");
    EXPECT_EQ(Format("%g|%G", 0.0001, 1e-10), "0.0001|1E-10");
    EXPECT_EQ(Format("%Lf", 1.5), "1.500000");
    EXPECT_EQ(Format("%5.1f|%-6.2f|", 2.25, 1.0), "  2.2|1.00  |");
    EXPECT_EQ(Format("%s|%6s|%-6s|%.2s", "ab", "ab", "ab", "abc"), "ab|    ab|ab    |ab");
    EXPECT_EQ(Format("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(Format("%c%c", 'o', 'k'), "ok");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%*d|%-*d|", 4, 1, 3, 2), "   1|2  |");
    EXPECT_EQ(Format("%*d|", -3, 1), "1  |");
    EXPECT_EQ(Format("%.*f", 2, 3.14159), "3.14");
    EXPECT_EQ(Format("%p", reinterpret_cast<void*>(0x1234)), "0000000000001234");
    EXPECT_EQ(Format("end%"), "end");
    EXPECT_EQ(Format("%y%d", 5), "y5");
}

TEST(WinPrintf, PercentNConsumesItsPointerAndWritesNothing)
{
    int count = -1;
    EXPECT_EQ(Format("ab%n%d", &count, 5), "ab5");
    EXPECT_EQ(count, -1);
}

TEST(WinPrintf, OverflowFollowsTheWindowsRuntime)
{
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 4, "%s", "abc"), 3);
    EXPECT_STREQ(buffer, "abc");
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 4, "%s", "abcd"), 4);
    EXPECT_EQ(std::string(buffer, 5), "abcd#") << "an exact fit has no NUL";
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 4, "%d", 123456), -1);
    EXPECT_EQ(std::string(buffer, 5), "1234#");
}

TEST(WinPrintf, HugeWidthsAreCountedWithoutBeingBuilt)
{
    EXPECT_EQ(_scprintf("%100000000d", 1), 100000000);
    char buffer[4];
    EXPECT_EQ(_snprintf(buffer, sizeof(buffer), "%100000000d", 1), -1);
    EXPECT_EQ(std::string(buffer, 4), "    ");
}
