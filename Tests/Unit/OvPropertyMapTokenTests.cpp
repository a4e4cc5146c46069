#include "OvPropertyMap.h"
#include "OvPropertyMapTestSupport.h"
#include "OvStringNumbers.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

TEST(OvPropertyMapTokens, SerializeAppendsTheCountAndEachKeyAndValue)
{
    OvPropertyMap map;
    map.SetString(L"Name", L"abc");
    EXPECT_EQ(Serialized(map), L"(1:1)(4:Name)(3:abc)");

    OvString text = L"prefix";
    map.Serialize(text, false);
    EXPECT_EQ(text, L"prefix(1:0)");

    map.SetString(L"Empty", L"");
    map.SetInt(L"Twelve", 12);
    text.Empty();
    map.Serialize(text);
    // Buckets of 7: Name 1, Empty 3, Twelve 6.
    EXPECT_EQ(text, L"(1:3)(4:Name)(3:abc)(5:Empty)(0:)(6:Twelve)(2:12)");

    // A value of ten or more units gets a two-digit length.
    map.Clear();
    map.SetString(L"k", L"0123456789(");
    EXPECT_EQ(Serialized(map), L"(1:1)(1:k)(11:0123456789()");
}

TEST(OvPropertyMapTokens, AwkwardTextsRoundTrip)
{
    OvPropertyMap map;
    map.SetString(L"(3:abc)", L"(1:x)");
    map.SetString(L"", L"empty key");
    map.SetString(L"empty value", L"");
    map.SetString(L"colon:", L":)(");
    map.SetString(L"\u00C9t\u00E9 \u4E2D", L"\r\n\t\u20AC");
    std::wstring longValue;
    for (int i = 0; i < 3000; ++i) longValue += static_cast<wchar_t>(L'0' + i % 10);
    map.SetString(L"long", longValue.c_str());
    for (int i = 0; i < 40; ++i) map.SetInt(IntToText(i), i * 37);

    const OvString text = Serialized(map);
    OvPropertyMap back;
    back.SetString(L"stale", L"x");
    back.Deserialize(text);
    EXPECT_TRUE(back.IsEqual(map));
    EXPECT_FALSE(back.Exists(L"stale"));
    EXPECT_EQ(back.GetString(L"long").Length(), 3000);
    EXPECT_EQ(Serialized(back), text);
}

TEST(OvPropertyMapTokens, DeserializeAtReadsFromThePositionAndMovesPastTheTokens)
{
    const OvString text = L"xx(1:2)(1:k)(1:v)(3:KEY)(0:)yy";
    int position = 2;
    OvPropertyMap map;
    map.DeserializeAt(text, position);
    EXPECT_EQ(position, 28);
    EXPECT_EQ(map.GetString(L"k"), L"v");
    EXPECT_TRUE(map.Exists(L"key"));
    EXPECT_EQ(map.GetCount(), 2);

    // Two maps one after the other in one text.
    OvPropertyMap a, b;
    a.SetString(L"first", L"1");
    b.SetString(L"second", L"2");
    OvString both;
    a.Serialize(both);
    b.Serialize(both);
    position = 0;
    OvPropertyMap readA, readB;
    readA.DeserializeAt(both, position);
    readB.DeserializeAt(both, position);
    EXPECT_TRUE(readA.IsEqual(a));
    EXPECT_TRUE(readB.IsEqual(b));
    EXPECT_EQ(position, both.Length());
}

struct TokenCase {
    const char* name;
    const wchar_t* text;
    int position;
    bool ok;
    const wchar_t* token;
    int positionAfter;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class OvReadTokenCases : public testing::TestWithParam<TokenCase> {};

TEST_P(OvReadTokenCases, ReadsOrStopsWhereTheScanStopped)
{
    const TokenCase& c = GetParam();
    const int length = static_cast<int>(wcslen(c.text));
    int position = c.position;
    OvString token = L"stale";
    EXPECT_EQ(OvReadToken(c.text, length, position, token), c.ok);
    EXPECT_EQ(token, c.token);
    EXPECT_EQ(position, c.positionAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, OvReadTokenCases,
    testing::Values(TokenCase{"Plain", L"(3:abc)", 0, true, L"abc", 7},
                    TokenCase{"Empty", L"(0:)(1:x)", 0, true, L"", 4},
                    TokenCase{"AtPosition", L"(0:)(1:x)", 4, true, L"x", 9},
                    TokenCase{"TextHoldsDelimiters", L"(5:(1:)))", 0, true, L"(1:))", 9},
                    TokenCase{"LeadingZeros", L"(003:abc)", 0, true, L"abc", 9},
                    TokenCase{"NoLengthDigits", L"(:)", 0, true, L"", 3},
                    TokenCase{"NoParenthesis", L"3:abc)", 0, false, L"", 0},
                    TokenCase{"BlankFirst", L" (3:abc)", 0, false, L"", 0},
                    TokenCase{"LetterInLength", L"(3a:abc)", 0, false, L"", 2},
                    TokenCase{"NoColon", L"(33", 0, false, L"", 3},
                    TokenCase{"TooShort", L"(4:abc)", 0, false, L"", 3},
                    TokenCase{"NoClosingParenthesis", L"(2:abc)", 0, false, L"", 3},
                    TokenCase{"HugeLength", L"(99999999999999999999:a)", 0, false, L"", 22},
                    TokenCase{"LengthWrapsTo32Bits", L"(4294967298:ab)", 0, false, L"", 12},
                    TokenCase{"AtEnd", L"(0:)", 4, false, L"", 4},
                    TokenCase{"PastEnd", L"(0:)", 9, false, L"", 9},
                    TokenCase{"Negative", L"(0:)", -1, false, L"", -1}),
    [](const testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* result;   // the map read, serialised again
    int positionAfter;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class OvPropertyMapMalformed : public testing::TestWithParam<MalformedCase> {};

TEST_P(OvPropertyMapMalformed, CollapsesIntoOneItemWithTheEmptyKey)
{
    const MalformedCase& c = GetParam();
    OvPropertyMap map;
    map.SetString(L"stale", L"x");
    int position = 0;
    map.DeserializeAt(c.text, position);
    EXPECT_EQ(Serialized(map), c.result);
    EXPECT_EQ(position, c.positionAfter);
}

// The empty key lies in bucket 0, "a" in bucket 6.
INSTANTIATE_TEST_SUITE_P(
    Streams, OvPropertyMapMalformed,
    testing::Values(
        MalformedCase{"KeyTooLong", L"(1:2)(1:a)(1:x)(9:bb)(1:y)", L"(1:2)(0:)(0:)(1:a)(1:x)", 18},
        // The scan stops at the second '(' of "(1(1:b)", but no later read starts there.
        MalformedCase{"NoResynchronising", L"(1:2)(1:a)(1:x)(1(1:b)(1:y)", L"(1:2)(0:)(0:)(1:a)(1:x)", 17},
        MalformedCase{"FewerItemsThanCounted", L"(1:3)(1:a)(1:x)", L"(1:2)(0:)(0:)(1:a)(1:x)", 15},
        MalformedCase{"ValueCutShort", L"(1:2)(1:a)(3:x", L"(1:2)(0:)(0:)(1:a)(0:)", 13},
        MalformedCase{"LastValueCutShort", L"(1:1)(1:a)(3:x", L"(1:1)(1:a)(0:)", 13},
        MalformedCase{"HugeCount", L"(10:2147483647)(1:a)(1:b)", L"(1:2)(0:)(0:)(1:a)(1:b)", 25},
        MalformedCase{"CountNotANumber", L"(3:abc)(1:a)(1:b)", L"(1:0)", 7},
        MalformedCase{"NegativeCount", L"(2:-1)(1:a)(1:b)", L"(1:0)", 6},
        MalformedCase{"CountTokenMalformed", L"(1:1(1:a)(1:b)", L"(1:0)", 3},
        MalformedCase{"EmptyText", L"", L"(1:0)", 0},
        MalformedCase{"LaterDuplicateReplaces", L"(1:2)(1:k)(1:1)(1:K)(1:2)", L"(1:1)(1:k)(1:2)", 25}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

TEST(OvPropertyMapTokens, PositionOutsideTheTextReadsNothing)
{
    const OvString text = L"(1:1)(1:a)(1:b)";
    for (int start : {-5, -1, 16, 100}) {
        OvPropertyMap map;
        map.SetString(L"stale", L"x");
        int position = start;
        map.DeserializeAt(text, position);
        EXPECT_EQ(map.GetTable(), nullptr) << start;
        EXPECT_EQ(position, start);
    }
    OvPropertyMap map;
    int position = 0;
    map.DeserializeAt(nullptr, position);
    EXPECT_EQ(map.GetTable(), nullptr);
    EXPECT_EQ(position, 0);
}

}  // namespace
