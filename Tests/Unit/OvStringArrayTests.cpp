#include "OvQSort.h"
#include "OvStringArray.h"
#include "OvStringSearch.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Items(const OvStringArray& array)
{
    std::vector<std::wstring> items;
    for (const OvString& item : array) items.emplace_back(item.c_str(), item.Length());
    return items;
}

struct SplitCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* separator;
    bool trim;
    std::vector<std::wstring> items;
};

// Test names and failure messages show the case name, not the bytes of the case.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

const SplitCase kSplitCases[] = {
    {"Plain", L"a/b/c", L"/", false, {L"a", L"b", L"c"}},
    {"EmptyItemInside", L"a//b", L"/", false, {L"a", L"", L"b"}},
    {"EmptyItemAtTheStart", L"/a", L"/", false, {L"", L"a"}},
    {"SeparatorAtTheEndAddsNoItem", L"a/b/", L"/", false, {L"a", L"b"}},
    {"SeparatorOnly", L"/", L"/", false, {L""}},
    {"TwoSeparatorsAtTheEnd", L"a//", L"/", false, {L"a", L""}},
    {"EmptyTextNoItems", L"", L",", false, {}},
    {"NullTextNoItems", nullptr, L",", false, {}},
    {"SeparatorNotFound", L"abc", L",", false, {L"abc"}},
    {"EmptySeparatorWholeText", L"a,b", L"", false, {L"a,b"}},
    {"NullSeparatorWholeText", L"a,b", nullptr, false, {L"a,b"}},
    {"LongerSeparator", L"one::two:three", L"::", false, {L"one", L"two:three"}},
    {"SeparatorsDoNotOverlap", L"a:::b", L"::", false, {L"a", L":b"}},
    {"TrimAroundSeparators", L"a, b ,c", L",", true, {L"a", L"b", L"c"}},
    {"NoTrimKeepsBlanks", L"a, b ,c", L",", false, {L"a", L" b ", L"c"}},
    {"TrimKeepsOuterBlanks", L" a , b ", L",", true, {L" a", L"b "}},
    {"TrimLeavesEmptyItems", L"a , ,b", L",", true, {L"a", L"", L"b"}},
    {"TrimTabsAndBreaks", L"a\t;\r\nb", L";", true, {L"a", L"b"}},
    {"TrimBlanksAfterTheLastSeparator", L"a, b,  ", L",", true, {L"a", L"b"}},
    {"NotFoundWithTrimKeepsText", L" abc ", L",", true, {L" abc "}},
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, Items)
{
    const SplitCase& c = GetParam();
    OvStringArray array{L"old", L"items"};
    EXPECT_EQ(array.Split(c.text, c.separator, c.trim), static_cast<int>(c.items.size()));
    EXPECT_EQ(Items(array), c.items);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitTest, testing::ValuesIn(kSplitCases),
                         [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(OvStringArraySplit, TextMayBeAnItemOfTheArray)
{
    OvStringArray array{L"x;y;z"};
    EXPECT_EQ(array.Split(array[0], L";"), 3);
    EXPECT_EQ(Items(array), (std::vector<std::wstring>{L"x", L"y", L"z"}));
}

TEST(OvStringArrayJoin, SeparatorBetweenItemsInEitherOrder)
{
    const OvStringArray array{L"a", L"", L"c"};
    EXPECT_STREQ(array.Join(L", ").c_str(), L"a, , c");
    EXPECT_STREQ(array.Join(L", ", true).c_str(), L"c, , a");
    EXPECT_STREQ(array.Join(nullptr).c_str(), L"ac");
    const OvStringArray path{L"C:", L"Program Files", L"Orvane"};
    EXPECT_STREQ(path.JoinWithBackslash().c_str(), L"C:\\Program Files\\Orvane");
    EXPECT_STREQ(path.JoinWithBackslash(true).c_str(), L"Orvane\\Program Files\\C:");
    EXPECT_STREQ(OvStringArray().Join(L",").c_str(), L"");
    EXPECT_EQ(OvStringArray().Join(L",").RefCount(), kOvStaticRefs);
    // One item gives that item, sharing its buffer.
    const OvStringArray one{L"only"};
    const OvString joined = one.Join(L",");
    EXPECT_EQ(joined.c_str(), one[0].c_str());
    // Split and Join undo each other.
    OvStringArray parts;
    parts.Split(L"x|y||z", L"|");
    EXPECT_STREQ(parts.Join(L"|").c_str(), L"x|y||z");
}

TEST(OvStringArrayCopy, CopiesShareTheItemsBuffers)
{
    OvStringArray a{L"first", L"second"};
    OvStringArray b(a);
    EXPECT_EQ(a[0].c_str(), b[0].c_str());
    EXPECT_EQ(a[0].RefCount(), 2);
    b[0] += L"!";
    EXPECT_STREQ(a[0].c_str(), L"first");
    EXPECT_STREQ(b[0].c_str(), L"first!");
}

struct FindCase {
    const char* name;
    const wchar_t* text;
    bool exact;
    bool whole;
    int index;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

const FindCase kFindCases[] = {
    {"WholeExact", L"Beta", true, true, 2},
    {"WholeExactCaseMatters", L"beta", true, true, 3},
    {"WholeIgnoringCase", L"BETA", false, true, 2},
    {"WholeMissing", L"bet", false, true, -1},
    {"PartExact", L"et", true, false, 2},
    {"PartExactCaseMatters", L"ET", true, false, -1},
    {"PartIgnoringCase", L"ALP", false, false, 0},
    {"PartInLaterItem", L"gam", false, false, 4},
    {"EmptyTextWholeFindsEmptyItem", L"", true, true, 1},
    {"EmptyTextNeverPartOfAnItem", L"", false, false, -1},
};

class FindInArrayTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindInArrayTest, Index)
{
    const OvStringArray array{L"alpha", L"", L"Beta", L"beta", L"gamma"};
    const FindCase& c = GetParam();
    EXPECT_EQ(array.FindInArray(c.text, c.exact, c.whole), c.index);
}

INSTANTIATE_TEST_SUITE_P(Table, FindInArrayTest, testing::ValuesIn(kFindCases),
                         [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(OvStringArrayRemove, RemoveAllExactlyOrIgnoringCase)
{
    OvStringArray array{L"a", L"A", L"b", L"a", L"c"};
    EXPECT_EQ(array.RemoveAll(L"a", true), 2);
    EXPECT_EQ(Items(array), (std::vector<std::wstring>{L"A", L"b", L"c"}));
    EXPECT_EQ(array.RemoveAll(L"B", false), 1);
    EXPECT_EQ(Items(array), (std::vector<std::wstring>{L"A", L"c"}));
    EXPECT_EQ(array.RemoveAll(L"x", false), 0);
    array.RemoveAll();
    EXPECT_TRUE(array.IsEmpty());
}

TEST(OvStringArrayRemove, RemoveDuplicatesKeepsTheFirstOfEachGroup)
{
    OvStringArray small{L"A", L"b", L"a"};
    EXPECT_EQ(small.RemoveDuplicates(), 1);
    EXPECT_EQ(Items(small), (std::vector<std::wstring>{L"A", L"b"}));

    // The same list below and above 16 items: pairwise comparison and the hash set agree.
    for (int extra : {0, 20}) {
        SCOPED_TRACE(extra);
        OvStringArray array{L"Path", L"x", L"PATH", L"y", L"path", L"X", L""};
        std::vector<std::wstring> expected{L"Path", L"x", L"y", L""};
        for (int i = 0; i < extra; ++i) {
            array.Add(OvString(std::to_wstring(i % 10).c_str()));
            if (i < 10) expected.push_back(std::to_wstring(i));
        }
        array.Add(L"");
        const int before = array.GetCount();
        EXPECT_EQ(array.RemoveDuplicates(), before - static_cast<int>(expected.size()));
        EXPECT_EQ(Items(array), expected);
    }
}

TEST(OvStringArrayRemove, AboveSixteenItemsEqualHashesCountAsDuplicates)
{
    // Two different 256-character texts (a Thue-Morse word and its complement) with the same hash.
    std::wstring first, second;
    for (int i = 0; i < 256; ++i) {
        const bool odd = __builtin_popcount(i) & 1;
        first += odd ? L'b' : L'a';
        second += odd ? L'a' : L'b';
    }
    ASSERT_NE(first, second);
    ASSERT_EQ(HashNoCase(first.c_str()), HashNoCase(second.c_str()));

    OvStringArray few{first.c_str(), second.c_str()};
    EXPECT_EQ(few.RemoveDuplicates(), 0);   // compared as texts

    OvStringArray many{first.c_str(), second.c_str()};
    for (int i = 0; i < 15; ++i) many.Add(OvString(std::to_wstring(i).c_str()));
    EXPECT_EQ(many.RemoveDuplicates(), 1);   // compared by hash
    EXPECT_EQ(many.GetCount(), 16);
    EXPECT_STREQ(many[0].c_str(), first.c_str());
}

TEST(OvStringArraySortTest, OrdersIgnoringCase)
{
    OvStringArray array{L"delta", L"Alpha", L"charlie", L"Bravo", L"alpha"};
    array.Sort(1);
    const std::vector<std::wstring> items = Items(array);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(CompareNoCase(items[0].c_str(), L"alpha"), 0);
    EXPECT_EQ(CompareNoCase(items[1].c_str(), L"alpha"), 0);
    EXPECT_EQ(items[2], L"Bravo");
    EXPECT_EQ(items[3], L"charlie");
    EXPECT_EQ(items[4], L"delta");

    OvStringArray exact{L"b", L"B", L"a", L"A"};
    exact.Sort(0);
    EXPECT_EQ(Items(exact), (std::vector<std::wstring>{L"A", L"B", L"a", L"b"}));

    OvStringArray one{L"x"};
    one.Sort();
    EXPECT_EQ(Items(one), (std::vector<std::wstring>{L"x"}));
}

TEST(OvStringArraySortTest, LargeArraysComeOutOrderedWithEveryItemKept)
{
    std::mt19937 random(7);
    for (int count : {17, 100, 2000}) {
        SCOPED_TRACE(count);
        OvStringArray array;
        std::vector<std::wstring> expected;
        for (int i = 0; i < count; ++i) {
            std::wstring item;
            const int length = 1 + static_cast<int>(random() % 6);
            for (int k = 0; k < length; ++k) item += static_cast<wchar_t>((random() % 2 ? L'a' : L'A') + random() % 4);
            array.Add(OvString(item.c_str()));
            expected.push_back(item);
        }
        array.Sort(1);
        const std::vector<std::wstring> items = Items(array);
        for (int i = 1; i < count; ++i) ASSERT_LE(CompareNoCase(items[i - 1].c_str(), items[i].c_str()), 0) << i;
        std::vector<std::wstring> sortedItems(items), sortedExpected(expected);
        std::sort(sortedItems.begin(), sortedItems.end());
        std::sort(sortedExpected.begin(), sortedExpected.end());
        EXPECT_EQ(sortedItems, sortedExpected);
    }
}

// Integers behind item pointers, counting comparisons.
struct IntCompare : IOvQSortCompare {
    int calls = 0;
    int Compare(void* a, void* b) override
    {
        ++calls;
        const int x = *static_cast<int*>(a), y = *static_cast<int*>(b);
        return (x > y) - (x < y);
    }
};

struct SortShape {
    const char* name;
    std::vector<int> (*make)(int n);
};

void PrintTo(const SortShape& c, std::ostream* os) { *os << c.name; }

const SortShape kShapes[] = {
    {"Random", [](int n) { std::vector<int> v(n); std::mt19937 r(n); for (int& x : v) x = static_cast<int>(r() % 1000); return v; }},
    {"Sorted", [](int n) { std::vector<int> v(n); for (int i = 0; i < n; ++i) v[i] = i; return v; }},
    {"Reversed", [](int n) { std::vector<int> v(n); for (int i = 0; i < n; ++i) v[i] = n - i; return v; }},
    {"AllEqual", [](int n) { return std::vector<int>(n, 5); }},
    {"OrganPipe", [](int n) { std::vector<int> v(n); for (int i = 0; i < n; ++i) v[i] = std::min(i, n - i); return v; }},
    {"FewValues", [](int n) { std::vector<int> v(n); for (int i = 0; i < n; ++i) v[i] = (i * 7) % 3; return v; }},
};

class QSortTest : public testing::TestWithParam<SortShape> {};

TEST_P(QSortTest, SortsEverySizeAndStaysNearNLogN)
{
    for (int n : {0, 1, 2, 3, 15, 16, 17, 18, 33, 100, 1000, 20000}) {
        SCOPED_TRACE(n);
        std::vector<int> values = GetParam().make(n);
        std::vector<void*> items;
        for (int& v : values) items.push_back(&v);
        IntCompare compare;
        OvQSort(items.data(), n, &compare).Sort();
        std::vector<int> sorted;
        for (void* p : items) sorted.push_back(*static_cast<int*>(p));
        std::vector<int> expected = values;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);
        // Quadratic behaviour on any of these shapes would take far more comparisons.
        if (n >= 1000) {
            EXPECT_LT(compare.calls, 3 * n * static_cast<int>(std::log2(n) + 1));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, QSortTest, testing::ValuesIn(kShapes),
                         [](const testing::TestParamInfo<SortShape>& info) { return std::string(info.param.name); });

TEST(OvStringArrayOffset, OffsetIntoTheConcatenatedItems)
{
    const OvStringArray array{L"abc", L"", L"de"};
    struct Case {
        int offset;
        bool found;
        int item, position;
    };
    const Case cases[] = {{0, true, 0, 0}, {2, true, 0, 2}, {3, true, 2, 0}, {4, true, 2, 1},
                          {5, true, 2, 2}, {6, false, -1, -1}, {-1, false, -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        int item = 9, position = 9;
        EXPECT_EQ(array.FindOffset(c.offset, item, position), c.found);
        EXPECT_EQ(item, c.item);
        EXPECT_EQ(position, c.position);
    }
}

}  // namespace
