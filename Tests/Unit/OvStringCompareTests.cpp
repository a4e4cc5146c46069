#include "OvString.h"
#include "OvStringSearch.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

struct CompareCase {
    const char* name;
    const wchar_t* a;
    const wchar_t* b;
    int sign;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

const CompareCase kCompareCases[] = {
    {"LetterCaseIgnored", L"ABC", L"abc", 0},
    {"LowerBeforeUpperIsByLetter", L"a", L"B", -1},
    {"LaterDifferenceDecides", L"abd", L"ABC", 1},
    {"PrefixComesFirst", L"ab", L"abc", -1},
    {"LongerComesAfter", L"abc", L"AB", 1},
    {"NullReadsAsEmpty", nullptr, L"", 0},
    {"LatinOneFoldsThroughTheTable", L"\u00C9T\u00C9", L"\u00E9t\u00E9", 0},
    {"AboveLatinOneFoldsToo", L"\u0416\u0414", L"\u0436\u0434", 0},
    {"PunctuationIsExact", L"a-b", L"a_b", -1},
};

class CompareNoCaseTest : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareNoCaseTest, SignOfTheFirstFoldedDifference)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(Sign(CompareNoCase(c.a, c.b)), c.sign);
    EXPECT_EQ(Sign(CompareNoCase(c.b, c.a)), -c.sign);
    EXPECT_EQ(OvString(c.a).EqualsNoCase(c.b), c.sign == 0);
}

INSTANTIATE_TEST_SUITE_P(Table, CompareNoCaseTest, testing::ValuesIn(kCompareCases),
                         [](const testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

TEST(OvStringCompare, ResultIsTheDifferenceOfTheFoldedUnits)
{
    EXPECT_EQ(CompareNoCase(L"a", L"B"), L'a' - L'b');
    EXPECT_EQ(CompareNoCase(L"ab", L"abc"), -L'c');
}

TEST(OvStringHash, FoldsAndMultipliesBy65599)
{
    EXPECT_EQ(HashNoCase(L""), 0u);
    EXPECT_EQ(HashNoCase(nullptr), 0u);
    EXPECT_EQ(HashNoCase(L"aB"), uint64_t(L'a') * 65599u + L'b');
    EXPECT_EQ(HashNoCase(L"Program Files"), HashNoCase(L"PROGRAM FILES"));
    EXPECT_NE(HashNoCase(L"ab"), HashNoCase(L"ba"));
    // Wraps around in 64 bits: computed the long way for a text long enough to overflow.
    const wchar_t* text = L"Kestrel Deck\\System\\Check Version";
    uint64_t h = 0;
    for (const wchar_t* p = text; *p; ++p) h = h * 65599u + static_cast<uint64_t>(towlower(*p));
    EXPECT_EQ(HashNoCase(text), h);
}

struct SearchCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* pattern;
    int from;
    int exact;
    int noCase;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

const SearchCase kSearchCases[] = {
    {"Start", L"Hello", L"he", 0, -1, 0},
    {"Middle", L"xxHeLLo", L"hello", 0, -1, 2},
    {"ExactHit", L"abcABC", L"ABC", 0, 3, 0},
    {"FromSkipsEarlierHits", L"abcabc", L"abc", 1, 3, 3},
    {"FromAtTheLastPossiblePlace", L"abcabc", L"bc", 4, 4, 4},
    {"FromPastTheEnd", L"abc", L"c", 9, -1, -1},
    {"NegativeFromStartsAtZero", L"abc", L"a", -5, 0, 0},
    {"PatternLongerThanText", L"ab", L"abc", 0, -1, -1},
    {"EmptyPatternIsNowhere", L"abc", L"", 0, -1, -1},
    {"PartialMatchAtTheEnd", L"abcab", L"abc", 1, -1, -1},
    {"RepeatedFirstCharacter", L"aaab", L"aab", 0, 1, 1},
};

class TextSearchTest : public testing::TestWithParam<SearchCase> {};

TEST_P(TextSearchTest, FindsTheFirstHitAtOrAfterThePosition)
{
    const SearchCase& c = GetParam();
    const int n = static_cast<int>(wcslen(c.text)), m = static_cast<int>(wcslen(c.pattern));
    EXPECT_EQ(FindExact(c.text, n, c.pattern, m, c.from), c.exact);
    EXPECT_EQ(FindFolded(c.text, n, c.pattern, m, c.from), c.noCase);
    EXPECT_EQ(OvString(c.text).FindNoCase(c.pattern, c.from), c.noCase);
    EXPECT_EQ(OvTextSearch(true).Find(c.text, n, c.pattern, m, c.from), c.exact);
}

INSTANTIATE_TEST_SUITE_P(Table, TextSearchTest, testing::ValuesIn(kSearchCases),
                         [](const testing::TestParamInfo<SearchCase>& info) { return std::string(info.param.name); });

TEST(OvStringSearch, MemberSearchesKeepTheirMeaning)
{
    OvString s(L"C:\\Program Files\\Orvane\\");
    EXPECT_EQ(s.Find(L"Program"), 3);
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(s.Find(L'\\', 3), 16);
    EXPECT_EQ(s.Find(L'\\', 100), -1);
    EXPECT_EQ(s.ReverseFind(L'\\'), s.Length() - 1);
    EXPECT_TRUE(s.EndsWithNoCase(L"ORVANE\\"));
    EXPECT_FALSE(s.EndsWith(L"ORVANE\\"));
    EXPECT_TRUE(s.StartsWithNoCase(L"c:\\program"));
    EXPECT_FALSE(s.StartsWithNoCase(L"c:\\program files\\orvane\\more"));
}

struct EnclosedCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* open;
    const wchar_t* close;
    int from;
    bool include, nested, unclosed;
    bool found;
    int start, end;
};

void PrintTo(const EnclosedCase& c, std::ostream* os) { *os << c.name; }

const EnclosedCase kEnclosedCases[] = {
    {"InsideDelimiters", L"a(bc)d", L"(", L")", 0, false, false, false, true, 2, 4},
    {"WithDelimiters", L"a(bc)d", L"(", L")", 0, true, false, false, true, 1, 5},
    {"OpenMatchedIgnoringCase", L"x<B>text</b>", L"<b>", L"</B>", 0, false, false, false, true, 4, 8},
    {"FromSkipsEarlierOpen", L"(a)(b)", L"(", L")", 1, true, false, false, true, 3, 6},
    {"NestedNeedsOneCloseEach", L"((a)b)c", L"(", L")", 0, true, true, false, true, 0, 6},
    {"UnnestedStopsAtFirstClose", L"((a)b)c", L"(", L")", 0, true, false, false, true, 0, 4},
    {"UnclosedAllowedRunsToTheEnd", L"ab(cd", L"(", L")", 0, false, false, true, true, 3, 5},
    {"UnclosedRefused", L"ab(cd", L"(", L")", 0, false, false, false, false, -1, -1},
    {"NoOpen", L"abc)", L"(", L")", 0, true, false, true, false, -1, -1},
    {"SameDelimitersPairUp", L"say \"hi\" now", L"\"", L"\"", 0, false, true, false, true, 5, 7},
    {"EmptyDelimiterFails", L"abc", L"", L")", 0, true, false, true, false, -1, -1},
};

class FindEnclosedTest : public testing::TestWithParam<EnclosedCase> {};

TEST_P(FindEnclosedTest, Range)
{
    const EnclosedCase& c = GetParam();
    int start = 99, end = 99;
    EXPECT_EQ(FindEnclosed(c.text, start, end, c.open, c.close, c.from, c.include, c.nested, c.unclosed), c.found);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
}

INSTANTIATE_TEST_SUITE_P(Table, FindEnclosedTest, testing::ValuesIn(kEnclosedCases),
                         [](const testing::TestParamInfo<EnclosedCase>& info) { return std::string(info.param.name); });

TEST(OvStringSearch, FindCommentsListsEachCommentAndStopsAtAnUnclosedOne)
{
    //                  0         1         2         3         4
    //                  0123456789012345678901234567890123456789012345
    const wchar_t* text = L"a<!--x-->b<!-- <!--in--> -->c<!--open";
    OvCoreArray<OvTextRange> ranges = FindComments(text);
    ASSERT_EQ(ranges.GetCount(), 3);
    EXPECT_EQ(ranges[0].start, 1);
    EXPECT_EQ(ranges[0].end, 9);
    // The nested comment counts its inner comment, then the inner one is found by itself.
    EXPECT_EQ(ranges[1].start, 10);
    EXPECT_EQ(ranges[1].end, 28);
    EXPECT_EQ(ranges[2].start, 15);
    EXPECT_EQ(ranges[2].end, 24);
    EXPECT_EQ(FindComments(L"no comments").GetCount(), 0);
}

}  // namespace
