#include "LettraProbe.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

TEST(Lettra, EmptyStringsShareTheStaticText)
{
    const Lettra empty;
    EXPECT_TRUE(IsSharedEmpty(empty));
    EXPECT_EQ(Header(empty)->nRefs, -1);
    EXPECT_EQ(Header(empty)->nAllocLength, 0);
    EXPECT_STREQ(empty.constBuffer(), "");
    const Lettra copy(empty);
    EXPECT_EQ(copy.constBuffer(), empty.constBuffer())
        << "copying an empty string allocates nothing";
    EXPECT_EQ(Header(empty)->nRefs, -1) << "never counted";
    for (const Lettra& e : {Lettra(static_cast<const char*>(nullptr)), Lettra(""), Lettra("abc", 0),
                            Lettra('x', 0), Lettra('x', -2)})
        EXPECT_TRUE(IsSharedEmpty(e));
}

TEST(Lettra, HeaderHoldsCountLengthAndCapacity)
{
    const Lettra text("hello");
    EXPECT_EQ(sizeof(Lettra), sizeof(char*));
    EXPECT_EQ(Header(text)->nRefs, 1);
    EXPECT_EQ(Header(text)->nDataLength, 5);
    EXPECT_EQ(Header(text)->nAllocLength, 5);
    EXPECT_EQ(text.constBuffer()[5], '\0');
}

TEST(Lettra, ConstructorsCopyTheirBytes)
{
    EXPECT_EQ(std::string(Lettra("a\0b", 3).constBuffer(), 3), std::string("a\0b", 3));
    EXPECT_EQ(Lettra("a\0b", 3).GetLength(), 3);
    EXPECT_STREQ(Lettra('z', 3), "zzz");
    EXPECT_STREQ(Lettra(reinterpret_cast<const unsigned char*>("uc")), "uc");
}

TEST(Lettra, CopiesShareUntilOneWrites)
{
    Lettra a("shared");
    Lettra b(a);
    EXPECT_EQ(a.constBuffer(), b.constBuffer());
    EXPECT_EQ(Header(a)->nRefs, 2);
    b.SetAt(0, 'S');
    EXPECT_STREQ(a, "shared");
    EXPECT_STREQ(b, "Shared");
    EXPECT_EQ(Header(a)->nRefs, 1);
    EXPECT_EQ(Header(b)->nRefs, 1);
}

TEST(Lettra, AssignmentSharesAndReleases)
{
    Lettra a("one");
    Lettra b("two");
    b = a;
    EXPECT_EQ(a.constBuffer(), b.constBuffer());
    EXPECT_EQ(Header(a)->nRefs, 2);
    b = b;
    EXPECT_EQ(Header(a)->nRefs, 2);
    b = "three";
    EXPECT_EQ(Header(a)->nRefs, 1);
    EXPECT_STREQ(b, "three");
    b = static_cast<const char*>(nullptr);
    EXPECT_TRUE(b.IsEmpty());
    b = 'c';
    EXPECT_STREQ(b, "c");
}

TEST(Lettra, AssigningCTextReusesAPrivateBlockThatIsLargeEnough)
{
    Lettra text("long enough");
    const char* block = text.constBuffer();
    text = "short";
    EXPECT_EQ(text.constBuffer(), block);
    EXPECT_EQ(text.GetLength(), 5);
    EXPECT_EQ(text.GetAllocLength(), 11);
}

TEST(Lettra, AssigningFromItsOwnTextIsSafe)
{
    Lettra text("abcdef");
    text = text.constBuffer() + 2;
    EXPECT_STREQ(text, "cdef");
    Lettra shared(text);
    shared = shared.constBuffer() + 1;
    EXPECT_STREQ(shared, "def");
    EXPECT_STREQ(text, "cdef");
}

TEST(Lettra, MovingLeavesTheSourceEmpty)
{
    Lettra a("moved");
    const char* block = a.constBuffer();
    Lettra b(std::move(a));
    EXPECT_EQ(b.constBuffer(), block);
    EXPECT_TRUE(IsSharedEmpty(a));
    Lettra c;
    c = std::move(b);
    EXPECT_EQ(c.constBuffer(), block);
    EXPECT_EQ(Header(c)->nRefs, 1);
}

TEST(Lettra, LockedBuffersAreNeverShared)
{
    Lettra a("text");
    Lettra shared(a);
    char* locked = a.LockBuffer();
    EXPECT_NE(locked, shared.constBuffer()) << "locking a shared string makes it private first";
    EXPECT_EQ(Header(a)->nRefs, -1);
    Lettra copy(a);
    EXPECT_NE(copy.constBuffer(), a.constBuffer());
    copy.SetAt(0, 'T');
    EXPECT_STREQ(a, "text");
    Lettra assigned;
    assigned = a;
    EXPECT_NE(assigned.constBuffer(), a.constBuffer());
    a = Lettra("into");
    EXPECT_EQ(a.constBuffer(), locked) << "a locked string receives copies in its own block";
    EXPECT_EQ(Header(a)->nRefs, -1);
    a.UnlockBuffer();
    Lettra again(a);
    EXPECT_EQ(again.constBuffer(), a.constBuffer());
}

TEST(Lettra, LockedStringEmptiesInItsOwnBlock)
{
    Lettra text("abc");
    char* locked = text.LockBuffer();
    text.Empty();
    EXPECT_EQ(text.constBuffer(), locked);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(Header(text)->nRefs, -1);
    text.UnlockBuffer();
    Lettra empty;
    empty.LockBuffer();
    empty.UnlockBuffer();
    EXPECT_EQ(Header(empty)->nRefs, -1) << "the shared empty text is never written";
}

TEST(Lettra, EmptyReleasesThePrivateBlock)
{
    Lettra text("abc");
    text.Empty();
    EXPECT_TRUE(IsSharedEmpty(text));
}

TEST(Lettra, AppendGrowsExactlyUnlessCapacityWasReserved)
{
    Lettra text("ab");
    text += "cd";
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(text.GetAllocLength(), 4);
    text.GetBuffer(10);
    const char* block = text.constBuffer();
    text.Append('e').Append(Lettra("fg"));
    text += 'h';
    EXPECT_EQ(text.constBuffer(), block);
    EXPECT_STREQ(text, "abcdefgh");
    text.Append(text);
    EXPECT_STREQ(text, "abcdefghabcdefgh");
    text.Append(static_cast<const char*>(nullptr));
    EXPECT_EQ(text.GetLength(), 16);
}

TEST(Lettra, AppendToASharedStringLeavesTheOther)
{
    Lettra a("base");
    Lettra b(a);
    b += "+";
    EXPECT_STREQ(a, "base");
    EXPECT_STREQ(b, "base+");
}

TEST(Lettra, ConcatenationOperators)
{
    const Lettra a("ab");
    EXPECT_STREQ(a + Lettra("cd"), "abcd");
    EXPECT_STREQ(a + "cd", "abcd");
    EXPECT_STREQ("cd" + a, "cdab");
    EXPECT_STREQ(a + 'c', "abc");
    EXPECT_STREQ('c' + a, "cab");
    EXPECT_TRUE(IsSharedEmpty(Lettra() + ""));
    EXPECT_EQ((a + "cd").GetAllocLength(), 4);
}

TEST(Lettra, JoiningConstructorAndConcat)
{
    EXPECT_STREQ(Lettra(0, "a", "b", "c", nullptr), "abc");
    EXPECT_STREQ(Lettra(2, "a", "b", "c", nullptr), "ab");
    EXPECT_STREQ(Lettra(5, "a", nullptr, "c", nullptr), "a");
    EXPECT_TRUE(Lettra(-1, "a", "b", nullptr).IsEmpty());
    EXPECT_STREQ(Lettra::Concat("x", "y", "z", nullptr), "xyz");
    EXPECT_STREQ(Lettra::Concat(1, "x", "y", nullptr), "x");
    const std::string big(300, 'q');
    const Lettra joined = Lettra::Concat("s", big.c_str(), big.c_str(), nullptr);
    EXPECT_EQ(joined.GetLength(), 601);
    EXPECT_EQ(std::string(joined), "s" + big + big);
}

TEST(Lettra, RepeatAndDecrement)
{
    Lettra text("ab");
    text.Repeat('x', 3);
    EXPECT_STREQ(text, "xxx");
    text.Repeat('x', 0);
    EXPECT_TRUE(text.IsEmpty());
    Lettra c("c");
    c.Repeat("ab", 2);
    EXPECT_STREQ(c, "cabab");
    c.Repeat("zz", 0);
    EXPECT_STREQ(c, "cabab");
    Lettra d("abc");
    EXPECT_STREQ(d--, "abc");
    EXPECT_STREQ(d, "ab");
    EXPECT_STREQ(--d, "a");
    Lettra e;
    --e;
    e--;
    EXPECT_TRUE(e.IsEmpty());
}

struct CompareCase
{
    const char* a;
    const char* b;
    int sign;
};

class LettraCompare : public ::testing::TestWithParam<CompareCase>
{
};

TEST_P(LettraCompare, OperatorsAgreeWithCompare)
{
    const CompareCase& c = GetParam();
    const Lettra a(c.a);
    const Lettra b(c.b);
    EXPECT_EQ((a.Compare(c.b) > 0) - (a.Compare(c.b) < 0), c.sign);
    EXPECT_EQ(a == b, c.sign == 0);
    EXPECT_EQ(a == c.b, c.sign == 0);
    EXPECT_EQ(c.a == b, c.sign == 0);
    EXPECT_EQ(a != b, c.sign != 0);
    EXPECT_EQ(a != c.b, c.sign != 0);
    EXPECT_EQ(c.a != b, c.sign != 0);
    EXPECT_EQ(a < b, c.sign < 0);
    EXPECT_EQ(a < c.b, c.sign < 0);
    EXPECT_EQ(c.a < b, c.sign < 0);
    EXPECT_EQ(a > b, c.sign > 0);
    EXPECT_EQ(a > c.b, c.sign > 0);
    EXPECT_EQ(c.a > b, c.sign > 0);
    EXPECT_EQ(a <= b, c.sign <= 0);
    EXPECT_EQ(a <= c.b, c.sign <= 0);
    EXPECT_EQ(c.a <= b, c.sign <= 0);
    EXPECT_EQ(a >= b, c.sign >= 0);
    EXPECT_EQ(a >= c.b, c.sign >= 0);
    EXPECT_EQ(c.a >= b, c.sign >= 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, LettraCompare,
                         ::testing::Values(CompareCase{"abc", "abd", -1}, CompareCase{"b", "a", 1},
                                           CompareCase{"same", "same", 0}, CompareCase{"", "a", -1},
                                           CompareCase{"\xC3\xA9", "z", 1}));

TEST(Lettra, CaseInsensitiveAndCollatingComparison)
{
    EXPECT_EQ(Lettra("Hello").CompareNoCase("hELLO"), 0);
    EXPECT_LT(Lettra("a").CompareNoCase("B"), 0);
    EXPECT_LT(Lettra("a").Collate("b"), 0);
    EXPECT_EQ(Lettra("ABC").CollateNoCase("abc"), 0);
    EXPECT_GT(Lettra("a").Compare(nullptr), 0);
}

TEST(Lettra, SharedBlocksSurviveCopiesOnOtherThreads)
{
    const Lettra original("shared across threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back(
            [&original]
            {
                for (int i = 0; i < 20000; ++i)
                {
                    Lettra copy(original);
                    Lettra other;
                    other = copy;
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(Header(original)->nRefs, 1);
    EXPECT_STREQ(original, "shared across threads");
}

TEST(Lettra, BufferAccess)
{
    Lettra text("abc");
    Lettra shared(text);
    char* buffer = text.GetBuffer(10);
    EXPECT_NE(buffer, shared.constBuffer());
    EXPECT_EQ(text.GetLength(), 3);
    EXPECT_EQ(text.GetAllocLength(), 10);
    std::strcpy(buffer, "abcdefgh");
    text.ReleaseBuffer();
    EXPECT_EQ(text.GetLength(), 8);
    text.ReleaseBuffer(2);
    EXPECT_STREQ(text, "ab");
    text.FreeExtra();
    EXPECT_EQ(text.GetAllocLength(), 2);
    char* set = text.GetBufferSetLength(4);
    set[2] = 'c';
    set[3] = 'd';
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(text.GetAt(1), 'b');
    EXPECT_EQ(text[3], 'd');
    EXPECT_EQ(text.Char(), 'a');
    EXPECT_EQ(Lettra().Char(), '\0');
    text.SetAt(10, 'x');
    EXPECT_STREQ(text, "abcd") << "a position outside the text changes nothing";
    EXPECT_STREQ(shared, "abc");
}

TEST(Lettra, ReleaseBufferNeverSetsALengthBeyondTheCapacity)
{
    Lettra text("abc");
    text.GetBuffer(4);
    text.ReleaseBuffer(100);
    EXPECT_EQ(text.GetLength(), 4);
}
