#include "LettraProbe.h"
#include "WinCodePage.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(LettraFormat, EstimateFollowsTheConversionTable)
{
    EXPECT_EQ(CLettraProbe::Estimate("%5.2f", 1.0), 314);
    EXPECT_EQ(CLettraProbe::Estimate("%d", 1), 32);
    EXPECT_EQ(CLettraProbe::Estimate("%-40s", "abc"), 40);
    EXPECT_EQ(CLettraProbe::Estimate("%c%c", 'a', 'b'), 4);
    EXPECT_EQ(CLettraProbe::Estimate("%%"), 1);
    EXPECT_EQ(CLettraProbe::Estimate("%s", static_cast<const char*>(nullptr)), 6);
    EXPECT_EQ(CLettraProbe::Estimate("%s", ""), 1);
    EXPECT_EQ(CLettraProbe::Estimate("ab%#x", 1), 2 + 2 + 32);
    EXPECT_EQ(CLettraProbe::Estimate("%.2s", "abcdef"), 2);
    EXPECT_EQ(CLettraProbe::Estimate("%*s", 10, "ab"), 10);
    EXPECT_EQ(CLettraProbe::Estimate("%e", 1.0), 128);
    EXPECT_EQ(CLettraProbe::Estimate("%ls", u"abcd"), 4);
    EXPECT_EQ(CLettraProbe::Estimate("\xC3\xA9"), 2);
    EXPECT_EQ(CLettraProbe::Estimate("x%"), 1);
}

TEST(LettraFormat, EstimateWalksTheArgumentsByType)
{
    // A 64-bit value before a string: reading it as 32 bits would take the
    // string's pointer from the wrong place.
    EXPECT_EQ(CLettraProbe::Estimate("%I64d%s", static_cast<LONGLONG>(1) << 40,
                                     "abcdefghijklmnopqrstuvwxyz0123456789ABCD"),
              32 + 40);
    EXPECT_EQ(CLettraProbe::Estimate("%lld%s", 5LL, "abcdefghijklmnopqrstuvwxyz0123456789ABCD"),
              32 + 40);
    EXPECT_EQ(CLettraProbe::Estimate("%f%s", 1.0, "abcdefghijklmnopqrstuvwxyz0123456789ABCD"),
              312 + 40);
    EXPECT_EQ(CLettraProbe::Estimate("%p%s", static_cast<void*>(nullptr),
                                     "abcdefghijklmnopqrstuvwxyz0123456789ABCD"),
              32 + 40);
}

TEST(LettraFormat, FormatsWithThePlatformConventions)
{
    CScopedAnsiPage page(65001);
    Lettra text;
    text.Format("%ld|%I64d|%ls|%s", static_cast<LONG>(-7), static_cast<LONGLONG>(LLONG_MIN),
                u"w\u00E9", "n");
    EXPECT_STREQ(text, "-7|-9223372036854775808|w\xC3\xA9|n");
    text.Format("%s", static_cast<const char*>(nullptr));
    EXPECT_STREQ(text, "(null)");
    text.Format("%5.2f", 3.14159);
    EXPECT_STREQ(text, " 3.14");
    EXPECT_EQ(text.GetAllocLength(), 314) << "the buffer is reserved from the estimate";
}

TEST(LettraFormat, OutputBeyondTheEstimateIsNeverWrittenPastTheBuffer)
{
    CScopedAnsiPage page(65001);
    const std::string longText(5000, 'x');
    Lettra text;
    text.Format("%.3000s%s", longText.c_str(), "!");
    EXPECT_EQ(text.GetLength(), 3001);
    text.Format("%ls", u"\u4E2D\u4E2D\u4E2D");
    EXPECT_EQ(text.GetLength(), 9) << "three UTF-16 units become nine UTF-8 bytes";
    text.Format("%*s|", -50, "a");
    EXPECT_EQ(text.GetLength(), 51);
    text.Format("%E", 1e300);
    EXPECT_STREQ(text, "1.000000E+300");
}

TEST(LettraFormat, ArgumentsMayBeTheStringItself)
{
    Lettra text("abc");
    text.Format("%s-%s-%s-%s-%s-%s-%s-%s-%s", text.constBuffer(), text.constBuffer(),
                text.constBuffer(), text.constBuffer(), text.constBuffer(), text.constBuffer(),
                text.constBuffer(), text.constBuffer(), text.constBuffer());
    EXPECT_STREQ(text, "abc-abc-abc-abc-abc-abc-abc-abc-abc");
    text.AppendFormat("%s", text.constBuffer());
    EXPECT_EQ(text.GetLength(), 70);
}

TEST(LettraFormat, EmptyResultsLeaveTheSharedEmptyTextAlone)
{
    Lettra text("was here");
    text.Format("");
    EXPECT_TRUE(text.IsEmpty());
    text.Format("%s", "");
    EXPECT_TRUE(text.IsEmpty());
    Lettra other;
    other.AppendFormat("");
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_STREQ(Lettra(), "");
}

TEST(LettraFormat, AppendFormatAddsAtTheEnd)
{
    Lettra text("n=");
    text.AppendFormat("%d", 42);
    text.AppendFormat(", %s", "done");
    EXPECT_STREQ(text, "n=42, done");
    Lettra shared(text);
    shared.AppendFormat("!");
    EXPECT_STREQ(text, "n=42, done");
    EXPECT_STREQ(shared, "n=42, done!");
}

TEST(LettraFormat, NumberConstructors)
{
    EXPECT_STREQ(Lettra(-12), "-12");
    EXPECT_STREQ(Lettra(5000000000L), "5000000000");
    EXPECT_STREQ(Lettra(7u), "7");
    EXPECT_STREQ(Lettra(18000000000000000000UL), "18000000000000000000");
    EXPECT_STREQ(Lettra(0.5), "0.5");
    EXPECT_STREQ(Lettra(7, "%03d"), "007");
    EXPECT_STREQ(Lettra(-1L, "%ld"), "-1");
    EXPECT_STREQ(Lettra(255u, "%X"), "FF");
    EXPECT_STREQ(Lettra(4000000000UL, "%lu"), "4000000000");
    EXPECT_STREQ(Lettra(2.5, "%.2f"), "2.50");
}

TEST(LettraFormat, FormatMessageAddsTheCodeAndTheSystemText)
{
    Lettra text;
    text.FormatMessageA(5, "open %s", "f");
    EXPECT_STREQ(text, "open f <Error Code=5 (0x5)>, Access is denied.\r\n");
    SetLastError(ERROR_FILE_NOT_FOUND);
    text.FormatMessageA(0, "read");
    EXPECT_STREQ(text, "read <Error Code=2 (0x2)>, The file cannot be found.\r\n");
    text.FormatMessageA(99999, "x");
    EXPECT_STREQ(text, "x <Error Code=99999 (0x1869f)>, ") << "no system text for an unknown code";
    const std::string longText(2100, 'y');
    text.FormatMessageA(5, "%s", longText.c_str());
    EXPECT_EQ(std::string(text), longText + " <Error Code=5 (0x5)>, ")
        << "no room left for the system text";
}

TEST(LettraFormat, DigitFormatRepeatsTheNumber)
{
    EXPECT_STREQ(Lettra("12").DigitFormat("%d-%d"), "12-12");
    EXPECT_STREQ(Lettra("0x1A").DigitFormat("%d"), "26");
    EXPECT_STREQ(Lettra("0.5").DigitFormat("%.2f|%.1f"), "0.50|0.5");
    EXPECT_TRUE(Lettra("zero").DigitFormat("%d").IsEmpty());
}
