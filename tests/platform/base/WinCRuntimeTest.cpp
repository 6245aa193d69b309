#include "WinCRuntime.h"

#include <gtest/gtest.h>

TEST(WinCRuntime, LstrlenCountsBytesAndAcceptsNull)
{
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA("\xC3\xA9"), 2);
    EXPECT_EQ(lstrlenA(nullptr), 0);
}

struct OrderCase
{
    const char* a;
    const char* b;
    int word;
    int noCase;
};

class WinCRuntimeOrder : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P(WinCRuntimeOrder, LstrcmpComparesWithoutCaseFirst)
{
    const OrderCase& c = GetParam();
    EXPECT_EQ(lstrcmpA(c.a, c.b), c.word);
    EXPECT_EQ(lstrcmpA(c.b, c.a), -c.word);
    EXPECT_EQ(lstrcmpiA(c.a, c.b), c.noCase);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinCRuntimeOrder,
    ::testing::Values(OrderCase{"abc", "abc", 0, 0}, OrderCase{"abc", "ABD", -1, -1},
                      OrderCase{"abc", "ABC", -1, 0}, OrderCase{"aBc", "abC", 1, 0},
                      OrderCase{"a", "ab", -1, -1}, OrderCase{"Zeta", "alpha", 1, 1},
                      OrderCase{"file2", "File10", 1, 1}, OrderCase{nullptr, "a", -1, -1}));

TEST(WinCRuntime, StricmpIgnoresAsciiCase)
{
    EXPECT_EQ(_stricmp("IMG.DCM", "img.dcm"), 0);
    EXPECT_LT(_stricmp("a", "B"), 0);
    EXPECT_GT(_stricmp("abc", "AB"), 0);
    EXPECT_EQ(_strnicmp("ABCx", "abcy", 3), 0);
    EXPECT_NE(_strnicmp("ABCx", "abcy", 4), 0);
    EXPECT_EQ(_strnicmp("ab", "AB", 10), 0);
}
