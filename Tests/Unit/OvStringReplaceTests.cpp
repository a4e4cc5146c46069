#include "OvString.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

struct ReplaceCase {
    const char* name;
    const wchar_t* text;
    std::vector<const wchar_t*> patterns;
    std::vector<const wchar_t*> replacements;   // empty: no list
    bool exact;
    bool keep;
    const wchar_t* prefix;
    const wchar_t* suffix;
    int hits;
    const wchar_t* result;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

const ReplaceCase kReplaceCases[] = {
    {"IgnoringCaseBothPatternsHit", L"aXbxc", {L"x", L"X"}, {L"1", L"2"}, false, false, nullptr, nullptr, 2, L"a1b1c"},
    {"ExactCaseEachPatternItsOwn", L"aXbxc", {L"x", L"X"}, {L"1", L"2"}, true, false, nullptr, nullptr, 2, L"a2b1c"},
    {"EmptyPatternChangesNothing", L"aXbxc", {L"x", L""}, {L"1", L"2"}, false, false, nullptr, nullptr, 0, L"aXbxc"},
    {"SamePositionFirstListedWins", L"abcd", {L"bc", L"b"}, {L"[bc]", L"[b]"}, true, false, nullptr, nullptr, 1,
     L"a[bc]d"},
    {"SamePositionShorterListedFirst", L"abcd", {L"b", L"bc"}, {L"[b]", L"[bc]"}, true, false, nullptr, nullptr, 1,
     L"a[b]cd"},
    {"EarliestHitWinsOverListOrder", L"abcd", {L"cd", L"bc"}, {L"1", L"2"}, true, false, nullptr, nullptr, 1, L"a2d"},
    {"HitsDoNotOverlap", L"aaaa", {L"aa"}, {L"b"}, true, false, nullptr, nullptr, 2, L"bb"},
    {"OverlapAcrossPatterns", L"abcbc", {L"abc", L"cb"}, {L"X", L"Y"}, true, false, nullptr, nullptr, 1, L"Xbc"},
    {"ReplacementMayContainThePattern", L"a.b", {L"."}, {L".."}, true, false, nullptr, nullptr, 1, L"a..b"},
    {"NoListRemovesTheHits", L"a-b-c", {L"-"}, {}, true, false, nullptr, nullptr, 2, L"abc"},
    {"NullEntryRemovesItsHits", L"a-b+c", {L"-", L"+"}, {L"=", nullptr}, true, false, nullptr, nullptr, 2, L"a=bc"},
    {"KeepMatchHighlights", L"Some SOME some", {L"some"}, {}, false, true, L"<b>", L"</b>", 3,
     L"<b>Some</b> <b>SOME</b> <b>some</b>"},
    {"PrefixAndSuffixWrapReplacements", L"x1x", {L"1"}, {L"one"}, true, false, L"(", L")", 1, L"x(one)x"},
    {"NoHitNoChange", L"abc", {L"z"}, {L"y"}, true, false, nullptr, nullptr, 0, L"abc"},
    {"EmptyText", L"", {L"z"}, {L"y"}, true, false, nullptr, nullptr, 0, L""},
    {"WholeTextReplaced", L"abc", {L"ABC"}, {L""}, false, false, nullptr, nullptr, 1, L""},
    {"FoldedLatinOne", L"caf\u00C9 caf\u00E9", {L"\u00E9"}, {L"e"}, false, false, nullptr, nullptr, 2, L"cafe cafe"},
};

class ReplaceTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTest, HitsAndResult)
{
    const ReplaceCase& c = GetParam();
    OvString text(c.text);
    const int hits = text.Replace(c.patterns.data(), c.replacements.empty() ? nullptr : c.replacements.data(),
                                  static_cast<int>(c.patterns.size()), c.exact, c.keep, c.prefix, c.suffix);
    EXPECT_EQ(hits, c.hits);
    EXPECT_STREQ(text.c_str(), c.result);
    EXPECT_EQ(text.Length(), static_cast<int>(wcslen(c.result)));
}

INSTANTIATE_TEST_SUITE_P(Table, ReplaceTest, testing::ValuesIn(kReplaceCases),
                         [](const testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

TEST(OvStringReplace, NoPatternsChangeNothing)
{
    OvString text(L"abc");
    const wchar_t* patterns[] = {L"a"};
    EXPECT_EQ(text.Replace(patterns, nullptr, 0), 0);
    EXPECT_EQ(text.Replace(nullptr, nullptr, 1), 0);
    EXPECT_STREQ(text.c_str(), L"abc");
}

TEST(OvStringReplace, ReplacementTakenFromTheTextItself)
{
    OvString text(L"a-b");
    OvString copy(text);
    const wchar_t* pattern = L"-";
    const wchar_t* replacement = text.c_str();   // the text's own buffer, read before it changes
    EXPECT_EQ(text.Replace(&pattern, &replacement, 1), 1);
    EXPECT_STREQ(text.c_str(), L"aa-bb");
    EXPECT_STREQ(copy.c_str(), L"a-b");
}

TEST(OvStringReplace, RareAndFrequentPatternsTogether)
{
    // One pattern occurs only at the end, the other everywhere: every hit is still found in order.
    std::wstring source;
    for (int i = 0; i < 5000; ++i) source += L"ab";
    source += L"END";
    OvString text(source.c_str());
    const wchar_t* patterns[] = {L"END", L"b"};
    const wchar_t* replacements[] = {L"!", L"c"};
    EXPECT_EQ(text.Replace(patterns, replacements, 2), 5001);
    std::wstring expected;
    for (int i = 0; i < 5000; ++i) expected += L"ac";
    expected += L"!";
    EXPECT_STREQ(text.c_str(), expected.c_str());
}

TEST(OvStringReplace, ReplaceCharCountsAndLeavesCopiesAlone)
{
    OvString path(L"C:/Program Files/Orvane/");
    OvString copy(path);
    EXPECT_EQ(path.ReplaceChar(L'/', L'\\'), 3);
    EXPECT_STREQ(path.c_str(), L"C:\\Program Files\\Orvane\\");
    EXPECT_STREQ(copy.c_str(), L"C:/Program Files/Orvane/");
    EXPECT_EQ(path.ReplaceChar(L'x', L'y'), 0);
    EXPECT_EQ(path.ReplaceChar(L'\\', L'\\'), 0);
    OvString empty;
    EXPECT_EQ(empty.ReplaceChar(L'a', L'b'), 0);
    EXPECT_EQ(empty.RefCount(), kOvStaticRefs);
}

}  // namespace
