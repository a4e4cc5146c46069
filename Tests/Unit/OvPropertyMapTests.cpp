#include "OvPropertyMap.h"
#include "OvPropertyMapTestSupport.h"
#include "OvStringNumbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

// This program writes numbers with a decimal point whatever the user's locale: the string
// manager sets the user's locale when it is created, and the separator is fixed on first use.
const bool gPointLocale = [] {
    OvStringGlobals::Get();
    return setlocale(LC_NUMERIC, "C") != nullptr;
}();

// Stores each character of keys as a key of its own with an empty value.
void StoreCharacterKeys(OvPropertyMap& map, const wchar_t* keys)
{
    for (; *keys; ++keys) map.SetString(OvString(keys, 1), L"x");
}

// The keys in iteration order, one character each.
std::wstring KeyOrder(const OvPropertyMap& map)
{
    std::wstring order;
    if (!map.GetTable()) return order;
    OvString key, value;
    for (auto p = map.GetTable()->GetStartPosition(); p;) {
        map.GetTable()->GetNext(p, key, value);
        order += key.c_str();
    }
    return order;
}

// ---- Table layout -------------------------------------------------------------------------

TEST(OvStringMapLayout, HashFoldsCharactersAndBucketCountsAreOneBelowAPowerOfTwo)
{
    EXPECT_EQ(OvStringMap::HashKey(nullptr), 0u);
    EXPECT_EQ(OvStringMap::HashKey(L""), 0u);
    EXPECT_EQ(OvStringMap::HashKey(L"a"), 97u);
    EXPECT_EQ(OvStringMap::HashKey(L"ab"), 97u * 65599u + 98u);
    // Wraps around in 32 bits: Name = 773762347, Path = 2335395941.
    EXPECT_EQ(OvStringMap::HashKey(L"Name"), 773762347u);
    EXPECT_EQ(OvStringMap::HashKey(L"PATH"), 2335395941u);
    EXPECT_EQ(OvStringMap::HashKey(L"\u00C9t\u00C9"), OvStringMap::HashKey(L"\u00E9t\u00E9"));

    EXPECT_EQ(OvStringMap::BucketCountFor(0), 7);
    EXPECT_EQ(OvStringMap::BucketCountFor(1), 7);
    EXPECT_EQ(OvStringMap::BucketCountFor(7), 7);
    EXPECT_EQ(OvStringMap::BucketCountFor(8), 15);
    EXPECT_EQ(OvStringMap::BucketCountFor(17), 31);
    EXPECT_EQ(OvStringMap::BucketCountFor(65), 127);
}

TEST(OvPropertyMapTable, CreatedByTheFirstStoreAndDestroyedWhenEmptied)
{
    OvPropertyMap map;
    EXPECT_EQ(map.GetTable(), nullptr);
    EXPECT_EQ(Serialized(map), L"(1:0)");

    map.SetString(L"a", L"1");
    ASSERT_NE(map.GetTable(), nullptr);
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 7);
    map.SetString(L"b", L"2");
    map.Remove(L"a");
    EXPECT_NE(map.GetTable(), nullptr);
    map.Remove(L"missing");
    EXPECT_NE(map.GetTable(), nullptr);
    map.Remove(L"B");
    EXPECT_EQ(map.GetTable(), nullptr);

    map.SetString(L"c", L"3");
    map.Clear();
    EXPECT_EQ(map.GetTable(), nullptr);
    EXPECT_FALSE(map.Exists(L"c"));

    // Remove-if-empty of the only item destroys the table.
    map.SetString(L"only", L"value");
    map.SetString(L"ONLY", L"", true);
    EXPECT_EQ(map.GetTable(), nullptr);
    EXPECT_EQ(Serialized(map), L"(1:0)");
    // Remove-if-empty on a map without a table creates none.
    map.SetString(L"other", nullptr, true);
    EXPECT_EQ(map.GetTable(), nullptr);
}

TEST(OvPropertyMapTable, SeventeenthKeyRebuildsToThirtyOneBucketsAndIsLinkedAfterTheRebuild)
{
    // Single-character keys hash to their folded code: bucket = code % 7, and after the rebuild
    // code % 31. '0' (48) and 'n' (110) share bucket 17 of 31, '1' (49) and 'o' (111) bucket 18.
    OvPropertyMap map;
    StoreCharacterKeys(map, L"0123abcdefghijk");
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 7);
    map.SetString(L"n", L"x");   // 16th key: 7 * 2 + 2 = 16 is not less than 15 + 1
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 7);
    EXPECT_EQ(KeyOrder(map), L"1bi2cj3dkefgn0ah");

    map.SetString(L"O", L"x");   // 17th key
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 31);
    EXPECT_EQ(map.GetCount(), 17);
    // The rebuild walked 'n' (old bucket 5) before '0' (old bucket 6) and pushed each at the
    // head, so '0' now leads. 'O' came after the rebuild and went to the tail, after '1', though
    // '1' lay in an earlier old bucket.
    EXPECT_EQ(KeyOrder(map), L"abcdefghijk0n1O23");

    // The next rebuild comes with the 65th key: 31 * 2 + 2 < 64 + 1.
    for (int i = map.GetCount(); i < 64; ++i) map.SetInt(IntToText(1000 + i), i);
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 31);
    map.SetInt(L"last", 64);
    EXPECT_EQ(map.GetTable()->GetBucketCount(), 127);
    EXPECT_EQ(map.GetCount(), 65);
}

TEST(OvPropertyMapTable, IterationOrderAfterStoresAndRemovalsShowsInTheSerialisedText)
{
    // Buckets of 7: b (98) in 0; h (104), a (97) and o (111) in 6.
    OvPropertyMap map;
    map.SetString(L"h", L"1");
    map.SetString(L"a", L"2");
    map.SetString(L"b", L"3");
    map.SetString(L"o", L"4");
    EXPECT_EQ(Serialized(map), L"(1:4)(1:b)(1:3)(1:h)(1:1)(1:a)(1:2)(1:o)(1:4)");
    map.Remove(L"a");
    map.SetString(L"A", L"5");   // new again: to the tail
    map.SetString(L"H", L"6");   // present: keeps its place and its letter case
    EXPECT_EQ(Serialized(map), L"(1:4)(1:b)(1:3)(1:h)(1:6)(1:o)(1:4)(1:A)(1:5)");
    map.Remove(L"B");
    EXPECT_EQ(Serialized(map), L"(1:3)(1:h)(1:6)(1:o)(1:4)(1:A)(1:5)");
}

TEST(OvPropertyMapTable, CopyFromStoresInTheOtherMapsOrderAndMayLayOutDifferently)
{
    OvPropertyMap original;
    StoreCharacterKeys(original, L"0123abcdefghijknO");
    ASSERT_EQ(KeyOrder(original), L"abcdefghijk0n1O23");

    // The copy takes a, b, ... in that order: 'O' is now among the first sixteen, goes through
    // the rebuild and is pushed at the head of bucket 18, before '1'.
    OvPropertyMap copy;
    copy.SetString(L"stale", L"gone");
    EXPECT_TRUE(copy.CopyFrom(original));
    EXPECT_EQ(KeyOrder(copy), L"abcdefghijk0nO123");
    EXPECT_FALSE(copy.Exists(L"stale"));
    EXPECT_TRUE(copy.IsEqual(original));
    EXPECT_TRUE(original.IsEqual(copy));

    // Fewer than seventeen items keep their order exactly.
    OvPropertyMap small;
    small.SetString(L"h", L"1");
    small.SetString(L"a", L"2");
    small.SetString(L"b", L"3");
    OvPropertyMap smallCopy(small);
    EXPECT_EQ(Serialized(smallCopy), Serialized(small));

    EXPECT_TRUE(copy.CopyFrom(copy));
    EXPECT_EQ(copy.GetCount(), 17);
    copy.CopyFrom(OvPropertyMap());
    EXPECT_EQ(copy.GetTable(), nullptr);
}

// ---- Keys and values ----------------------------------------------------------------------

TEST(OvPropertyMapItems, KeysDifferingOnlyInCaseAreOneItemWithTheFirstLetterCase)
{
    OvPropertyMap map;
    map.SetString(L"Path", L"C:\\one");
    map.SetString(L"PATH", L"C:\\two");
    map.SetString(L"\u00C9t\u00E9", L"summer");
    map.SetString(L"\u00E9T\u00C9", L"ete");
    EXPECT_EQ(map.GetCount(), 2);
    EXPECT_TRUE(map.Exists(L"path"));
    EXPECT_EQ(map.GetString(L"pAtH"), L"C:\\two");
    EXPECT_EQ(map.GetString(L"\u00E9t\u00E9"), L"ete");
    OvString dump;
    map.Dump(dump, L"[", L"]\n");
    // Bucket 3 of 7 for the accented key, bucket 4 for Path.
    EXPECT_EQ(dump, L"[\u00C9t\u00E9: ete]\n[Path: C:\\two]\n");
    // A key is not a prefix match.
    EXPECT_FALSE(map.Exists(L"Pat"));
    EXPECT_FALSE(map.Exists(L"Paths"));
}

TEST(OvPropertyMapItems, MissingKeysReadTheDefaultAndEmptyValuesStay)
{
    OvPropertyMap map;
    EXPECT_EQ(map.GetString(L"none"), L"");
    EXPECT_EQ(map.GetString(L"none", L"fallback"), L"fallback");
    EXPECT_FALSE(map.Exists(L"none"));

    map.SetString(L"empty", L"");
    EXPECT_TRUE(map.Exists(L"empty"));
    EXPECT_EQ(map.GetString(L"empty", L"fallback"), L"");
    EXPECT_EQ(map.GetInt(L"empty", 5), 0);

    map.SetString(L"kept", L"v");
    map.SetString(L"empty", L"", true);
    EXPECT_FALSE(map.Exists(L"empty"));
    EXPECT_EQ(map.GetCount(), 1);
    map.SetString(L"kept", L"w", true);
    EXPECT_EQ(map.GetString(L"kept"), L"w");

    // A null key reads as the empty key.
    map.SetString(nullptr, L"nothing");
    EXPECT_EQ(map.GetString(L""), L"nothing");
}

TEST(OvPropertyMapItems, IsEqualComparesValuesExactlyAndKeysIgnoringCase)
{
    OvPropertyMap upper, lower;
    upper.SetString(L"a", L"X");
    lower.SetString(L"a", L"x");
    EXPECT_FALSE(upper.IsEqual(lower));
    EXPECT_TRUE(upper.IsEqual(upper));

    OvPropertyMap other;
    other.SetString(L"A", L"X");
    EXPECT_TRUE(upper.IsEqual(other));
    other.SetString(L"b", L"Y");
    EXPECT_FALSE(upper.IsEqual(other));
    EXPECT_FALSE(other.IsEqual(upper));

    // Order does not matter, only the items.
    OvPropertyMap first, second;
    first.SetString(L"h", L"1");
    first.SetString(L"a", L"2");
    second.SetString(L"a", L"2");
    second.SetString(L"h", L"1");
    EXPECT_NE(Serialized(first), Serialized(second));
    EXPECT_TRUE(first.IsEqual(second));

    // A key with an empty value must be present in the other map, not merely read as empty.
    OvPropertyMap emptyA, emptyB;
    emptyA.SetString(L"a", L"");
    emptyB.SetString(L"b", L"");
    EXPECT_FALSE(emptyA.IsEqual(emptyB));

    EXPECT_TRUE(OvPropertyMap().IsEqual(OvPropertyMap()));
}

TEST(OvPropertyMapItems, DumpFormatsEveryItemInIterationOrder)
{
    OvPropertyMap map;
    OvString dump = L"old";
    map.Dump(dump, L"  ", L"\r\n");
    EXPECT_EQ(dump, L"");
    map.SetString(L"h", L"one");
    map.SetString(L"b", L"");
    map.Dump(dump, L"  ", L"\r\n");
    EXPECT_EQ(dump, L"  b: \r\n  h: one\r\n");
}

// ---- Number texts -------------------------------------------------------------------------

struct IntCase {
    const char* name;
    const wchar_t* stored;   // null: the key is missing
    int defaultValue;
    int expected;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }

class OvPropertyMapGetInt : public testing::TestWithParam<IntCase> {};

TEST_P(OvPropertyMapGetInt, ReadsTheStoredTextAsADecimal)
{
    const IntCase& c = GetParam();
    OvPropertyMap map;
    if (c.stored) map.SetString(L"n", c.stored);
    EXPECT_EQ(map.GetInt(L"n", c.defaultValue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OvPropertyMapGetInt,
    testing::Values(IntCase{"Missing", nullptr, -7, -7}, IntCase{"Empty", L"", 5, 0},
                    IntCase{"NoDigits", L"abc", 5, 0}, IntCase{"Plain", L"1234", 5, 1234},
                    IntCase{"SpacesAndPlus", L" \t\r\n+42abc", 5, 42}, IntCase{"Minus", L"-17", 5, -17},
                    IntCase{"Largest", L"2147483647", 5, 2147483647},
                    IntCase{"Overflow", L"2147483648", 5, 2147483647},
                    IntCase{"FarOverflow", L"99999999999999", 5, 2147483647},
                    IntCase{"NegativeOverflow", L"-99999999999", 5, -2147483647},
                    IntCase{"DecimalStopsAtPoint", L"12.9", 5, 12}),
    [](const testing::TestParamInfo<IntCase>& info) { return std::string(info.param.name); });

TEST(OvPropertyMapNumbers, SetIntWritesPlainDecimal)
{
    OvPropertyMap map;
    map.SetInt(L"a", -2147483647 - 1);
    map.SetInt(L"b", 0);
    map.SetInt(L"c", 42);
    EXPECT_EQ(map.GetString(L"a"), L"-2147483648");
    EXPECT_EQ(map.GetString(L"b"), L"0");
    EXPECT_EQ(map.GetString(L"c"), L"42");
    // The parse counts the digits in 32 bits: the magnitude of the smallest int overflows.
    EXPECT_EQ(map.GetInt(L"a"), -2147483647);
}

struct PointerCase {
    const char* name;
    const wchar_t* stored;
    uintptr_t expected;
};

void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.name; }

class OvPropertyMapGetPointer : public testing::TestWithParam<PointerCase> {};

TEST_P(OvPropertyMapGetPointer, ReadsHexadecimalInEitherCaseWithOrWithoutPrefix)
{
    const PointerCase& c = GetParam();
    OvPropertyMap map;
    map.SetString(L"p", c.stored);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(map.GetPointer(L"p", reinterpret_cast<void*>(0x55))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OvPropertyMapGetPointer,
    testing::Values(PointerCase{"Upper", L"00001A2B", 6699}, PointerCase{"Lower", L"00001a2b", 6699},
                    PointerCase{"Prefixed", L"0x00001A2B", 6699}, PointerCase{"PrefixedUpperX", L"0X1a2b", 6699},
                    PointerCase{"Short", L"1A2B", 6699}, PointerCase{"Empty", L"", 0},
                    PointerCase{"LowThirtyTwoBits", L"123456789ABCDEF0", 0x9ABCDEF0},
                    PointerCase{"OverflowIsAllOnes", L"1FFFFFFFFFFFFFFFF", 0xFFFFFFFF}),
    [](const testing::TestParamInfo<PointerCase>& info) { return std::string(info.param.name); });

TEST(OvPropertyMapNumbers, SetPointerWritesEightUpperCaseDigits)
{
    OvPropertyMap map;
    map.SetPointer(L"p", reinterpret_cast<void*>(6699));
    EXPECT_EQ(map.GetString(L"p"), L"00001A2B");
    map.SetPointer(L"p", reinterpret_cast<void*>(0xDEADBEEF));
    EXPECT_EQ(map.GetString(L"p"), L"DEADBEEF");
    EXPECT_EQ(map.GetPointer(L"p"), reinterpret_cast<void*>(0xDEADBEEF));
    EXPECT_EQ(map.GetPointer(L"missing", reinterpret_cast<void*>(0xFEDCBA98)), reinterpret_cast<void*>(0xFEDCBA98));
}

TEST(OvPropertyMapNumbers, DoublesReadEitherSeparatorAndDefaultsSurviveTheirText)
{
    OvPropertyMap map;
    map.SetString(L"comma", L"2,5");
    map.SetString(L"point", L"2.5");
    map.SetString(L"signed", L" +-1,25e2x");
    map.SetString(L"empty", L"");
    EXPECT_EQ(map.GetDouble(L"comma", 9), 2.5);
    EXPECT_EQ(map.GetDouble(L"point", 9), 2.5);
    EXPECT_EQ(map.GetDouble(L"signed", 9), -125.0);
    EXPECT_EQ(map.GetDouble(L"empty", 9), 0.0);
    EXPECT_EQ(map.GetDouble(L"missing", 0.1), 0.1);
    EXPECT_EQ(map.GetDouble(L"missing", -1234.0625), -1234.0625);

    map.SetDouble(L"d", 3);
    EXPECT_EQ(map.GetString(L"d"), L"3");
    ASSERT_TRUE(gPointLocale);
    map.SetDouble(L"d", -0.125);
    EXPECT_EQ(map.GetString(L"d"), L"-0.125");
    map.SetDouble(L"d", 0.1);
    EXPECT_EQ(map.GetDouble(L"d"), 0.1);
}

}  // namespace
