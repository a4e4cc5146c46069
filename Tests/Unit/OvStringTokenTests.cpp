#include "OvString.h"
#include "OvStringLeadingCharacters.h"
#include "OvStringTokens.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

TEST(OvStringTrim, RemovesWhiteSpaceOfTheClassTable)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* left;
        const wchar_t* right;
        const wchar_t* both;
    };
    const Case cases[] = {
        {L"  a b  ", L"a b  ", L"  a b", L"a b"},
        {L"\t\r\n x \r\n", L"x \r\n", L"\t\r\n x", L"x"},
        {L"   ", L"", L"", L""},
        {L"", L"", L"", L""},
        {L"none", L"none", L"none", L"none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text of length " << wcslen(c.text));
        OvString left(c.text), right(c.text), both(c.text);
        EXPECT_STREQ(left.TrimLeft().c_str(), c.left);
        EXPECT_STREQ(right.TrimRight().c_str(), c.right);
        EXPECT_STREQ(both.Trim().c_str(), c.both);
    }
    OvString original(L" shared ");
    OvString copy(original);
    copy.Trim();
    EXPECT_STREQ(original.c_str(), L" shared ");
}

TEST(OvStringLeadingCharacters, EachKindTestsTheTextAtThePoint)
{
    OvStringLeadingWhitespaceCharacters space;
    OvStringLeadingAlphaCharacters alpha;
    OvStringLeadingWordCharacters word;
    OvStringLeadingDigitCharacters digit;
    EXPECT_TRUE(space.StartsAt(L"\tx", true));
    EXPECT_FALSE(space.StartsAt(L"x ", true));
    EXPECT_TRUE(alpha.StartsAt(L"\u00E9", true));
    EXPECT_FALSE(alpha.StartsAt(L"1", true));
    EXPECT_TRUE(digit.StartsAt(L"7a", true));
    EXPECT_FALSE(digit.StartsAt(L"", true));
    // Word characters: an apostrophe only inside a word and before a letter; dashes before a letter.
    EXPECT_TRUE(word.StartsAt(L"'t", false));
    EXPECT_FALSE(word.StartsAt(L"'t", true));
    EXPECT_FALSE(word.StartsAt(L"' ", false));
    EXPECT_TRUE(word.StartsAt(L"-a", true));
    EXPECT_TRUE(word.StartsAt(L"\u2012a", true));
    EXPECT_FALSE(word.StartsAt(L"-1", false));
    EXPECT_FALSE(word.StartsAt(L"-", false));   // the terminator is no letter
}

struct TokenizeCase {
    const char* name;
    const wchar_t* text;
    std::vector<std::wstring> tokens;
    std::vector<int> kinds;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const TokenizeCase& c, std::ostream* os) { *os << c.name; }

const TokenizeCase kTokenizeCases[] = {
    {"WordsAndSpace", L"Hello  world", {L"Hello", L"  ", L"world"}, {2, 1, 2}},
    {"DigitsApart", L"abc123 4", {L"abc", L"123", L" ", L"4"}, {2, 3, 1, 3}},
    {"ApostropheInside", L"don't 'quoted'", {L"don't", L" ", L"'", L"quoted", L"'"}, {2, 1, 4, 2, 4}},
    {"DashesJoinWords", L"x-ray -fast a--b", {L"x-ray", L" ", L"-fast", L" ", L"a", L"-", L"-b"}, {2, 1, 2, 1, 2, 4, 2}},
    {"OtherCharactersOneEach", L"a,;b", {L"a", L",", L";", L"b"}, {2, 4, 4, 2}},
    {"TrailingDash", L"end-", {L"end", L"-"}, {2, 4}},
    {"Empty", L"", {}, {}},
};

class TokenizeTest : public testing::TestWithParam<TokenizeCase> {};

TEST_P(TokenizeTest, RunsAndKinds)
{
    const TokenizeCase& c = GetParam();
    OvStringArray tokens;
    OvNumberArray kinds;
    const int count = Tokenize(c.text, tokens, kinds);
    ASSERT_EQ(count, static_cast<int>(c.tokens.size()));
    ASSERT_EQ(tokens.GetCount(), count);
    ASSERT_EQ(kinds.GetCount(), count);
    for (int i = 0; i < count; ++i) {
        EXPECT_STREQ(tokens[i].c_str(), c.tokens[i].c_str()) << "token " << i;
        EXPECT_EQ(kinds[i], c.kinds[i]) << "token " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TokenizeTest, testing::ValuesIn(kTokenizeCases),
                         [](const testing::TestParamInfo<TokenizeCase>& info) { return std::string(info.param.name); });

TEST(OvStringTokens, NextWordOrNumberWalksFromAPosition)
{
    const OvString text(L"take 25 steps, now");
    OvString token;
    int position = 0;
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenWord);
    EXPECT_STREQ(token.c_str(), L"take");
    EXPECT_EQ(position, 4);
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenNone);   // a blank starts no word
    EXPECT_TRUE(token.IsEmpty());
    EXPECT_EQ(position, 4);
    position = 5;
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenDigits);
    EXPECT_STREQ(token.c_str(), L"25");
    EXPECT_EQ(position, 7);
    position = 13;
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenNone);
    position = text.Length();
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenNone);
    position = -1;
    EXPECT_EQ(NextWordOrNumber(text, position, token), kOvTokenNone);
    // The token may be the text itself.
    OvString self(L"word rest");
    position = 0;
    EXPECT_EQ(NextWordOrNumber(self, position, self), kOvTokenWord);
    EXPECT_STREQ(self.c_str(), L"word");
}

}  // namespace
