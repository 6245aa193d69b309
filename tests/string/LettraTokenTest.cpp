#include "Lettra.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::vector<std::string> Words(const char* text, bool skipPunctuation = false)
{
    const Lettra source(text);
    Lettra::Token token(source, skipPunctuation);
    std::vector<std::string> words;
    for (bool more = token.IsValid() || static_cast<bool>(token); more; more = token.Next())
        words.emplace_back(token.Current().constBuffer());
    return words;
}

using Strings = std::vector<std::string>;

} // namespace

struct TokenCase
{
    const char* text;
    bool skipPunctuation;
    Strings words;
};

class LettraToken : public ::testing::TestWithParam<TokenCase>
{
};

TEST_P(LettraToken, SplitsWords)
{
    EXPECT_EQ(Words(GetParam().text, GetParam().skipPunctuation), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LettraToken,
    ::testing::Values(
        TokenCase{"alpha beta", false, {"alpha", "beta"}}, TokenCase{"a,b", false, {"a", "b"}},
        TokenCase{"a , b", false, {"a", ",", "b"}}, TokenCase{"(x)", false, {"(", ")"}},
        TokenCase{"one \"two three\" four", false, {"one", "two three", "four"}},
        TokenCase{"it's 'q'", false, {"it", "s", "q"}}, TokenCase{"- a", true, {"a"}},
        TokenCase{"my_name x", false, {"my_name", "x"}}, TokenCase{"  lead", false, {"lead"}},
        TokenCase{"a\xC3\xA9z", false, {"a", "\xA9"}}));

TEST(LettraToken, EmptyTextHasNoToken)
{
    const Lettra source("   ");
    Lettra::Token token(source);
    EXPECT_FALSE(static_cast<bool>(token));
    EXPECT_FALSE(token.IsValid());
    EXPECT_TRUE(token.Current().IsEmpty());
    EXPECT_FALSE(token.Next());
}

TEST(LettraToken, UnclosedQuoteGivesAnEmptyTokenThenEnds)
{
    const Lettra source("word \"open");
    Lettra::Token token(source);
    EXPECT_STREQ(token.Current(), "word");
    EXPECT_TRUE(token.Next());
    EXPECT_TRUE(token.Current().IsEmpty());
    EXPECT_FALSE(token.Next());
    EXPECT_FALSE(static_cast<bool>(token));
}

TEST(LettraToken, SeparatorScanAndClear)
{
    const Lettra source("k=v;w");
    Lettra::Token token(source);
    EXPECT_STREQ(token(), "k");
    EXPECT_TRUE(token.Next(';'));
    EXPECT_STREQ(token(), "v");
    EXPECT_TRUE(token.Next(';'));
    EXPECT_STREQ(token(), "w");
    EXPECT_FALSE(token.Next(';'));
    token.Clear();
    EXPECT_TRUE(token.Next(';'));
    EXPECT_STREQ(Lettra(token), "k=v");
    EXPECT_TRUE(token.Next(';'));
    EXPECT_STREQ(token(), "w");
}

TEST(LettraToken, NextLineTakesTheRestOfTheLine)
{
    const Lettra source("ab cd\r\nef");
    Lettra::Token token(source);
    EXPECT_TRUE(token.NextLine());
    EXPECT_STREQ(token(), "ab cd");
    EXPECT_TRUE(token.NextLine());
    EXPECT_STREQ(token(), "ef");
    EXPECT_FALSE(static_cast<bool>(token));
    EXPECT_FALSE(token.NextLine());
}

TEST(LettraToken, RestartReadsTheCurrentText)
{
    Lettra source("first");
    Lettra::Token token(source);
    source = "second word";
    token.Restart();
    EXPECT_STREQ(token(), "second");
    EXPECT_TRUE(++token);
    EXPECT_STREQ(token(), "word");
    EXPECT_FALSE(token++);
}

TEST(LettraToken, SkipPunctuationSwitch)
{
    const Lettra source("a ; b");
    Lettra::Token token(source);
    EXPECT_FALSE(token.SkipPunctuation(true));
    EXPECT_TRUE(token.Next());
    EXPECT_STREQ(token(), "b");
    EXPECT_TRUE(token.SkipPunctuation(false));
}
